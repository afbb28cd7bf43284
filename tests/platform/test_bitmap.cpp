// Bitmaps: scan lines, sizes and formats, copies, transparency, drawing
// bitmaps on canvases, and the image files they load and save.
#include "platform/Graphics.h"
#include "platform/Streams.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mycad;

namespace {

TColor At(TBitmap& b, int x, int y)
{
    return b.Canvas().Pixel(x, y);
}

} // namespace

TEST(Bitmap, ScanLinesAreBlueGreenRedAndWriteThrough)
{
    TBitmap bmp(4, 3);
    EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(bmp.Width(), 4);
    EXPECT_EQ(bmp.Height(), 3);
    // New pixels are white.
    EXPECT_EQ(At(bmp, 3, 2), clWhite);

    bmp.Canvas().Brush().SetColor(RGB(30, 20, 10));
    bmp.Canvas().FillRect(Rect(1, 1, 2, 2));
    const uint8_t* row = bmp.ScanLine(1);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row[3], 10); // blue
    EXPECT_EQ(row[4], 20); // green
    EXPECT_EQ(row[5], 30); // red
    EXPECT_EQ(row[0], 255);

    uint8_t* line = bmp.ScanLine(2);
    line[6] = 1;
    line[7] = 2;
    line[8] = 3;
    EXPECT_EQ(At(bmp, 2, 2), RGB(3, 2, 1));

    EXPECT_EQ(bmp.ScanLine(-1), nullptr);
    EXPECT_EQ(bmp.ScanLine(3), nullptr);
    EXPECT_EQ(TBitmap().ScanLine(0), nullptr);

    // 32-bit rows hold blue, green, red, unused.
    bmp.SetPixelFormat(TPixelFormat::pf32bit);
    const uint8_t* wide = bmp.ScanLine(1);
    EXPECT_EQ(wide[4], 10);
    EXPECT_EQ(wide[5], 20);
    EXPECT_EQ(wide[6], 30);
    bmp.SetPixelFormat(TPixelFormat::pf24bit);
    EXPECT_EQ(bmp.ScanLine(1)[3], 10);
}

TEST(Bitmap, SizeKeepsPixelsAndCopiesAreIndependent)
{
    TBitmap bmp;
    EXPECT_TRUE(bmp.Empty());
    // Width and height may be set one after the other.
    bmp.SetWidth(5);
    EXPECT_EQ(bmp.Width(), 5);
    EXPECT_TRUE(bmp.Empty());
    bmp.SetHeight(4);
    EXPECT_FALSE(bmp.Empty());
    bmp.Canvas().Brush().SetColor(clBlue);
    bmp.Canvas().FillRect(Rect(0, 0, 5, 4));
    bmp.SetSize(7, 2);
    EXPECT_EQ(At(bmp, 4, 1), clBlue);
    EXPECT_EQ(At(bmp, 5, 1), clWhite);
    EXPECT_EQ(At(bmp, 0, 3), CLR_INVALID);

    TBitmap copy(bmp);
    copy.ScanLine(0)[0] = 0x11;
    EXPECT_EQ(bmp.ScanLine(0)[0], 0xFF); // blue byte of clBlue
    TBitmap other;
    other.Assign(bmp);
    other.Canvas().Brush().SetColor(clRed);
    other.Canvas().FillRect(Rect(0, 0, 7, 2));
    EXPECT_EQ(At(bmp, 0, 0), clBlue);
    EXPECT_EQ(At(other, 0, 0), clRed);
    EXPECT_EQ(other.Width(), 7);
}

TEST(Bitmap, TransparencyAndDrawing)
{
    TBitmap sprite(3, 3);
    sprite.Canvas().Brush().SetColor(clLime);
    sprite.Canvas().FillRect(Rect(0, 0, 3, 3));
    sprite.Canvas().SetPixel(1, 1, clRed);
    EXPECT_EQ(sprite.TransparentMode(), TTransparentMode::tmAuto);
    EXPECT_EQ(sprite.TransparentColor(), clLime); // bottom-left pixel
    sprite.SetTransparentColor(clRed);
    EXPECT_EQ(sprite.TransparentMode(), TTransparentMode::tmFixed);
    EXPECT_EQ(sprite.TransparentColor(), clRed);
    sprite.SetTransparentColor(clLime);
    sprite.SetTransparent(true);

    TBitmap dest(10, 10);
    dest.Canvas().Draw(2, 3, sprite);
    EXPECT_EQ(At(dest, 3, 4), clRed);
    EXPECT_EQ(At(dest, 2, 3), clWhite); // the transparent colour leaves the pixel
    EXPECT_EQ(At(dest, 5, 3), clWhite);

    sprite.SetTransparent(false);
    dest.Canvas().Draw(6, 6, sprite);
    EXPECT_EQ(At(dest, 6, 6), clLime);

    // Stretching a 2 x 1 bitmap to 4 x 2 doubles each pixel.
    TBitmap two(2, 1);
    two.Canvas().SetPixel(0, 0, clBlack);
    TBitmap big(6, 4);
    big.Canvas().StretchDraw(Rect(1, 1, 5, 3), two);
    EXPECT_EQ(At(big, 1, 1), clBlack);
    EXPECT_EQ(At(big, 2, 2), clBlack);
    EXPECT_EQ(At(big, 3, 1), clWhite);
    EXPECT_EQ(At(big, 0, 0), clWhite);
    EXPECT_EQ(At(big, 5, 1), clWhite);
}
