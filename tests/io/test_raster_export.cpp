// Rendering the drawing into bitmaps and image files: what lands where, at
// which scale, over which background, and that the canvas is left as it was.
#include "io/IoTestSupport.h"

#include "cad/io/RasterExport.h"
#include "cad/canvas/MyCAD.h"
#include "platform/Graphics.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <tuple>

namespace mycad {
namespace {

TColor PixelOf(TBitmap& bmp, int32_t x, int32_t y) { return bmp.Canvas().Pixel(x, y); }

TEST(RasterExport, ScalesToFitKeepingProportionsAndWritesFilesInTheFormatOfTheOperation)
{
    // A 480 x 480 pixel page (127 mm at 96 pixels per inch) holding one red
    // filled rectangle from (100, 50) to (300, 150) with a black outline.
    TMyCAD cad;
    iotest::Use480PixelPage(cad);
    iotest::AddFilled(cad, "TMyRectangle", iotest::Box(100, 50, 300, 150), clRed);
    // Drawn at zoom 1 over the background colour, whatever the canvas's own
    // zoom, which it keeps.
    cad.SetColorOfBackGround(clYellow);
    cad.SetZoom(1.5);
    struct Case {
        int32_t w, h;
        double zoom;
    };
    // Width-bound, height-bound, and larger than the page.
    for (const Case c : {Case{240, 480, 0.5}, Case{480, 240, 0.5}, Case{960, 960, 2.0}, Case{960, 480, 1.0}}) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        TBitmap bmp;
        SaveToBmp(cad, bmp, c.w, c.h, true);
        ASSERT_EQ(bmp.Width(), c.w);
        ASSERT_EQ(bmp.Height(), c.h);
        EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::pf24bit);
        const auto at = [&](double x, double y) {
            return PixelOf(bmp, static_cast<int32_t>(x * c.zoom), static_cast<int32_t>(y * c.zoom));
        };
        for (const auto& [x, y, colour] : {std::tuple{200, 100, clRed}, {104, 54, clRed}, {296, 146, clRed},
                                           {90, 100, clYellow}, {310, 100, clYellow}, {200, 160, clYellow}}) {
            EXPECT_EQ(at(x, y), colour) << x << "," << y;
        }
        EXPECT_EQ(PixelOf(bmp, c.w - 1, c.h - 1), clYellow);
        EXPECT_DOUBLE_EQ(cad.Zoom(), 1.5);
        EXPECT_DOUBLE_EQ(cad.PreZoom(), 1.0);
        EXPECT_EQ(cad.Width(), 720);
    }
    // Without the fill the background colour stays out: the picture stands
    // on white, even in a bitmap that held another picture before.
    TBitmap reused(480, 480);
    reused.Canvas().Brush().SetColor(clBlue);
    reused.Canvas().FillRect(Rect(0, 0, 480, 480));
    SaveToBmp(cad, reused, 480, 480, false);
    EXPECT_EQ(PixelOf(reused, 200, 100), clRed);
    EXPECT_EQ(PixelOf(reused, 100, 100), clBlack); // the outline
    EXPECT_EQ(PixelOf(reused, 50, 100), clWhite);
    EXPECT_EQ(PixelOf(reused, 479, 479), clWhite);

    // Shapes far from the origin still come out when the bitmap is larger
    // than the control.
    TMyShape* far = cad.CreateAddShapeByName(QStringLiteral("TMyRectangle"));
    far->ThePoints = {{400, 400}, {470, 400}, {470, 470}, {400, 470}};
    far->Brush().SetColor(clGreen);
    far->SetCaptionShow(false);
    TBitmap big;
    SaveToBmp(cad, big, 960, 960, true);
    EXPECT_EQ(PixelOf(big, 870, 870), clGreen);

    TBitmap none(10, 10);
    SaveToBmp(cad, none, 0, 50, true);
    EXPECT_TRUE(none.Empty());

    // Files: the page at zoom 1 over the background, whatever the zoom.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const String png = dir.filePath(QStringLiteral("box.png"));
    const String bmp = dir.filePath(QStringLiteral("box.BMP"));
    const String jpg = dir.filePath(QStringLiteral("box.jpeg"));
    cad.SetZoom(0.5);

    ASSERT_TRUE(SaveToPng(cad, png, true));
    ASSERT_TRUE(SaveToBmp(cad, bmp, true));
    ASSERT_TRUE(SaveToJpg(cad, jpg, 95, true));
    EXPECT_DOUBLE_EQ(cad.Zoom(), 0.5);

    const auto startsWith = [](const String& name, const QByteArray& magic) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) && f.read(magic.size()) == magic;
    };
    EXPECT_TRUE(startsWith(png, "\x89PNG"));
    EXPECT_TRUE(startsWith(bmp, "BM"));
    EXPECT_TRUE(startsWith(jpg, "\xFF\xD8"));

    for (const String& name : {png, bmp}) {
        TBitmap back;
        ASSERT_TRUE(back.LoadFromFile(name));
        EXPECT_EQ(back.Width(), 480);
        EXPECT_EQ(back.Height(), 480);
        EXPECT_EQ(PixelOf(back, 200, 100), clRed);
        EXPECT_EQ(PixelOf(back, 50, 100), clYellow);
    }
    // (The JPEG's colours and its quality are the render command's checks.)

    // The name must carry the format's extension; nothing is written otherwise.
    const String wrong = dir.filePath(QStringLiteral("box.png.bmp"));
    EXPECT_FALSE(SaveToPng(cad, wrong, true));
    EXPECT_FALSE(SaveToJpg(cad, dir.filePath(QStringLiteral("noext")), 90, true));
    EXPECT_FALSE(QFile::exists(wrong));
    EXPECT_FALSE(SaveToPng(cad, dir.filePath(QStringLiteral("missing/dir/box.png")), true));
}

} // namespace
} // namespace mycad
