// Picture shapes: the adjustments and their limits, the transparency rules,
// the conversion to 24 bits, a turned picture clipped to its box and the kept
// turned copy.
#include "cad/shapes/Image.h"
#include "shapes/FakeOwner.h"
#include "shapes/Surface.h"
#include "support/ShapeState.h"

#include <gtest/gtest.h>


using namespace mycad;
using namespace mycad::test;

namespace {

TBitmap Filled(int32_t w, int32_t h, TColor colour, TPixelFormat pf = TPixelFormat::pf24bit)
{
    TBitmap b(w, h, TPixelFormat::pf24bit);
    b.Canvas().Brush().SetColor(colour);
    b.Canvas().FillRect({0, 0, w, h});
    b.SetPixelFormat(pf);
    return b;
}

void Place(TMyImage& image, TBitmap& picture, float x, float y)
{
    image.ThePoints = {{x, y}};
    image.SetBitmap(&picture);
    image.CenterPoint = image.ComputeCenterPoint(4);
    image.SetCaptionShow(false);
}

} // namespace

TEST(Image, SettingsKeepTheirLimitsAndTransparencyRulesAndPicturesBecome24Bits)
{
    FakeOwner owner;
    TMyImage image(&owner);
    for (int32_t v : {300, -300, 256}) {
        image.SetBrightness(v);
        image.SetContrast(v);
    }
    EXPECT_EQ(image.Brightness(), 0);
    EXPECT_EQ(image.Contrast(), 0);
    image.SetBrightness(255);
    image.SetContrast(-255);
    EXPECT_EQ(image.Brightness(), 255);
    EXPECT_EQ(image.Contrast(), -255);

    image.SetTransparentColor(clBlue);
    EXPECT_EQ(image.TransparentMode(), TTransparentMode::tmFixed);
    EXPECT_EQ(image.GetTransparentColor(), clBlue);
    image.SetTransparentColor(clDefault);
    EXPECT_EQ(image.TransparentMode(), TTransparentMode::tmAuto);

    // Fixing the mode on a picture takes its bottom-left pixel.
    TBitmap picture = Filled(10, 10, clWhite);
    picture.Canvas().SetPixel(0, 9, clLime);
    image.ThePoints = {{0, 0}};
    image.SetBitmap(&picture);
    EXPECT_EQ(image.GetTransparentColor(), clLime);
    image.SetTransparentMode(TTransparentMode::tmFixed);
    EXPECT_EQ(image.StoredTransparentColor(), clLime);
    image.SetTransparentMode(TTransparentMode::tmAuto);
    EXPECT_EQ(image.StoredTransparentColor(), clDefault);

    // A system colour is reported as the colour it stands for.
    image.SetTransparentColor(clWindowText);
    EXPECT_EQ(image.GetTransparentColor(), ColorToRGB(clWindowText));

    // A palette picture is turned into 24 bits, the caller's bitmap too, and
    // gives the box its size in pixels at the zoom it is placed at.
    owner.zoom = 2;
    TBitmap palette = Filled(100, 50, clRed, TPixelFormat::pf8bit);
    ASSERT_EQ(palette.PixelFormat(), TPixelFormat::pf8bit);
    Place(image, palette, 10, 20);
    EXPECT_EQ(palette.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(image.Bitmap().PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(image.ThePoints, (TArrMyPoint{{10, 20}, {60, 20}, {60, 45}, {10, 45}}));
}

TEST(Image, TheTurnedCopyIsKeptUntilSomethingItShowsChanges)
{
    FakeOwner owner;
    Surface surface;
    TMyImage image(&owner);
    TBitmap picture = Filled(40, 40, clGreen);
    picture.Canvas().Brush().SetColor(clBlue);
    picture.Canvas().FillRect({0, 0, 40, 10});
    Place(image, picture, 10, 10);
    image.Draw(surface.Canvas());
    // A vertical flip shows the picture upside down at once.
    image.FlipVert();
    image.Draw(surface.Canvas());
    surface.Expect({{30, 15, clGreen}, {30, 45, clBlue}});
    image.RotateChangeValueByAngle(image.CenterPoint, 0.3);
    // Drawn inside its turned box only, on a yellow ground, although the
    // turned copy covers the whole bounding box.
    surface.Canvas().Brush().SetColor(clYellow);
    surface.Canvas().FillRect({0, 0, 200, 200});
    image.Draw(surface.Canvas());
    const TMyPoint lt = image.GetLeftTop();
    const TMyPoint rb = image.GetRightBottom();
    surface.Expect({{int(lt.X) + 2, int(lt.Y) + 2, clYellow}, {int(rb.X) - 2, int(rb.Y) - 2, clYellow},
                    {30, 30, clGreen}});
    const int64_t kept = image.KeptCopyBytes();
    EXPECT_GT(kept, 40 * 40 * 3);
    image.Draw(surface.Canvas());
    EXPECT_EQ(image.KeptCopyBytes(), kept);

    // Each change is seen: a setting, a turn, the zoom, a flip.
    image.SetGrayScale(true);
    EXPECT_EQ(image.KeptCopyBytes(), 0);
    image.Draw(surface.Canvas());
    const uint8_t grey = (0 + 128 + 0) / 3; // green, drawn in greys
    surface.Expect({{30, 30, RGB(grey, grey, grey)}});
    image.RotateChangeValueByAngle(image.CenterPoint, 0.5);
    image.Draw(surface.Canvas());
    EXPECT_GT(image.KeptCopyBytes(), kept);
    const int64_t turned = image.KeptCopyBytes();
    owner.zoom = 2;
    image.Draw(surface.Canvas());
    EXPECT_GT(image.KeptCopyBytes(), 3 * turned);

    // Copies carry the picture and every setting, and make their own copy.
    TMyImage copy(&owner);
    image.SetBorder(true);
    image.SetTransparent(true);
    image.SetTransparentColor(clYellow);
    image.SetContrast(-20);
    copy.Assign(image);
    EXPECT_EQ(copy.KeptCopyBytes(), 0);
    copy.SetCaptionShow(false); // the one setting a copy leaves as it was
    EXPECT_EQ(ShapeState(copy), ShapeState(image));
}
