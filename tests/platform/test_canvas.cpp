// The canvas: pixel-exact shapes, raster operations, clipping, origin.
#include "platform/Graphics.h"
#include "platform/SurfaceImage.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace mycad;
using mycad::test::Ink;
using mycad::test::WhiteSurface;

namespace {

// The image as text rows: '#' pen colour black, 'r' red, '.' white, '?' other.
std::string Rows(const QImage& img, int x0, int y0, int w, int h)
{
    std::string s;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            const QRgb p = img.pixel(x, y) & 0xFFFFFF;
            s += p == 0 ? '#' : p == 0xFF0000 ? 'r' : p == 0xFFFFFF ? '.' : '?';
        }
        s += '\n';
    }
    return s;
}

} // namespace

TEST(Canvas, RectanglesAndPolygonsOutlineInsideAndFillWithinTheOutline)
{
    QImage img = WhiteSurface(12, 8);
    TCanvas c(&img);
    c.Brush().SetColor(clRed);
    // A polygon through the same corners draws the same pixels.
    const std::string box = "........\n"
                            ".######.\n"
                            ".#rrrr#.\n"
                            ".#rrrr#.\n"
                            ".#rrrr#.\n"
                            ".######.\n"
                            "........\n";
    c.Rectangle(1, 1, 7, 6);
    EXPECT_EQ(Rows(img, 0, 0, 8, 7), box);
    img.fill(Qt::white);
    c.Polygon({Point(1, 1), Point(6, 1), Point(6, 5), Point(1, 5)});
    EXPECT_EQ(Rows(img, 0, 0, 8, 7), box);

    // Without a pen the fill ends where the outline would have ended.
    img.fill(Qt::white);
    c.Pen().SetStyle(TPenStyle::psClear);
    c.Rectangle(Rect(1, 1, 5, 4));
    EXPECT_EQ(Rows(img, 0, 0, 6, 5),
              "......\n"
              ".rrr..\n"
              ".rrr..\n"
              "......\n"
              "......\n");

    // A wide inside-frame pen stays inside the box; a clear brush leaves the inside.
    img.fill(Qt::white);
    c.Pen().SetStyle(TPenStyle::psInsideFrame);
    c.Pen().SetWidth(2);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.Rectangle(1, 1, 8, 7);
    EXPECT_EQ(Rows(img, 0, 0, 9, 8),
              ".........\n"
              ".#######.\n"
              ".#######.\n"
              ".##...##.\n"
              ".##...##.\n"
              ".#######.\n"
              ".#######.\n"
              ".........\n");

    // FillRect and FrameRect cover exactly the rectangle.
    img.fill(Qt::white);
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(clBlack);
    c.FrameRect(Rect(0, 0, 4, 3));
    c.Brush().SetColor(clRed);
    c.FillRect(Rect(5, 0, 7, 2));
    EXPECT_EQ(Rows(img, 0, 0, 8, 4),
              "####.rr.\n"
              "#..#.rr.\n"
              "####....\n"
              "........\n");
}

TEST(Canvas, LinesLeaveOutTheirEndPixel)
{
    QImage img = WhiteSurface(10, 8);
    TCanvas c(&img);
    c.MoveTo(1, 1);
    c.LineTo(6, 1);
    EXPECT_EQ(c.PenPos(), Point(6, 1));
    EXPECT_EQ(Rows(img, 0, 0, 8, 2), "........\n.#####..\n");
    c.LineTo(6, 4); // the next line sets the pixel the first one left out
    c.MoveTo(1, 3);
    c.LineTo(4, 6);
    EXPECT_EQ(Rows(img, 0, 0, 8, 7),
              "........\n"
              ".######.\n"
              "......#.\n"
              ".#....#.\n"
              "..#.....\n"
              "...#....\n"
              "........\n");

    img.fill(Qt::white);
    c.Polyline({Point(0, 0), Point(3, 0), Point(3, 2)});
    EXPECT_EQ(Rows(img, 0, 0, 5, 3),
              "####.\n"
              "...#.\n"
              ".....\n");

    // Drawing the same chain again in XOR mode removes every pixel: none was set twice.
    c.Pen().SetMode(TPenMode::pmXor);
    c.Pen().SetColor(clWhite);
    c.Polyline({Point(0, 0), Point(3, 0), Point(3, 2)});
    EXPECT_EQ(Rows(img, 0, 0, 5, 3), ".....\n.....\n.....\n");

    // Diagonals light one pixel per step up to, not including, the end, in
    // either direction; a shallow line steps at the half-way point.
    img.fill(Qt::white);
    c.Pen().SetMode(TPenMode::pmCopy);
    c.Pen().SetColor(clBlack);
    c.MoveTo(0, 0);
    c.LineTo(4, 4);
    c.MoveTo(4, 0);
    c.LineTo(0, 4);
    EXPECT_EQ(Rows(img, 0, 0, 5, 5),
              "#...#\n"
              ".#.#.\n"
              "..#..\n"
              ".#.#.\n"
              ".....\n");
    img.fill(Qt::white);
    c.MoveTo(0, 0);
    c.LineTo(6, 2);
    EXPECT_EQ(Rows(img, 0, 0, 7, 3),
              "##.....\n"
              "..###..\n"
              ".....#.\n");

    // A dotted pen's pattern runs on around a closed figure: three on, three off.
    img.fill(Qt::white);
    c.Pen().SetStyle(TPenStyle::psDot);
    c.Polygon({Point(0, 0), Point(4, 0), Point(4, 4)});
    EXPECT_EQ(Rows(img, 0, 0, 5, 5),
              "###..\n"
              ".....\n"
              "....#\n"
              "....#\n"
              "....#\n");
}

TEST(Canvas, ToolsNotifyChanges)
{
    TPen pen;
    int changes = 0;
    pen.OnChange = [&] { ++changes; };
    pen.SetColor(clRed);
    pen.SetColor(clRed); // no change, no notification
    pen.SetWidth(3);
    TPen other;
    other.SetStyle(TPenStyle::psDot);
    pen.Assign(other);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(pen.Style(), TPenStyle::psDot);
    EXPECT_EQ(pen.Width(), 1);

    TFont font;
    font.OnChange = [&] { ++changes; };
    font.SetSize(12);
    EXPECT_EQ(font.Height(), -16);
    EXPECT_EQ(changes, 4);
    TFont copy(font);
    copy.SetSize(20); // the copy does not notify the original's owner
    EXPECT_EQ(changes, 4);

    TBrush brush;
    brush.OnChange = [&] { ++changes; };
    TBitmap pattern(2, 2);
    brush.SetBitmap(&pattern);
    ASSERT_NE(brush.Bitmap(), nullptr);
    EXPECT_NE(brush.Bitmap(), &pattern);
    TBrush second(brush);
    EXPECT_EQ(second.Bitmap()->Width(), 2);
    EXPECT_EQ(changes, 5);
}

TEST(Canvas, BrushPatternsHatchesAndCopyRect)
{
    // A 2 x 2 checker pattern tiles from device pixel (0, 0), whatever the surface shows.
    TBitmap checker(2, 2);
    checker.Canvas().SetPixel(0, 0, clBlack);
    checker.Canvas().SetPixel(1, 1, clBlack);
    QImage img = WhiteSurface(6, 6);
    TCanvas c(&img);
    c.Brush().SetBitmap(&checker);
    c.FillRect(Rect(0, 0, 6, 6));
    EXPECT_EQ(Rows(img, 0, 0, 4, 2), "#.#.\n.#.#\n");
    c.SetDeviceOrigin(Point(1, 0));
    c.FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(Rows(img, 0, 0, 4, 2), ".#.#\n#.#.\n");
    c.SetDeviceOrigin(Point(0, 0));

    // A hatch draws its lines in the brush colour and leaves the rest.
    img.fill(Qt::white);
    c.Brush().SetBitmap(nullptr);
    c.Brush().SetStyle(TBrushStyle::bsHorizontal);
    c.Brush().SetColor(clRed);
    c.FillRect(Rect(0, 0, 6, 6));
    int redRows = 0;
    for (int y = 0; y < 6; ++y) {
        const std::string row = Rows(img, 0, y, 6, 1);
        EXPECT_TRUE(row == "rrrrrr\n" || row == "......\n") << row;
        redRows += row == "rrrrrr\n" ? 1 : 0;
    }
    EXPECT_GE(redRows, 1);
    EXPECT_LE(redRows, 2);

    // CopyRect takes source pixels in the source's device coordinates, stretches and mirrors.
    QImage srcImg = WhiteSurface(4, 4);
    TCanvas src(&srcImg);
    src.SetDeviceOrigin(Point(10, 10));
    src.SetPixel(12, 11, clBlack);
    QImage dstImg = WhiteSurface(8, 8);
    TCanvas dst(&dstImg);
    dst.CopyRect(Rect(0, 0, 4, 4), src, Rect(10, 10, 14, 14));
    EXPECT_EQ(Rows(dstImg, 0, 0, 4, 2), "....\n..#.\n");
    dstImg.fill(Qt::white);
    dst.CopyRect(Rect(0, 0, 8, 8), src, Rect(10, 10, 14, 14));
    EXPECT_EQ(Rows(dstImg, 0, 2, 8, 2), "....##..\n....##..\n");
    dstImg.fill(Qt::white);
    dst.CopyRect(Rect(4, 0, 0, 4), src, Rect(10, 10, 14, 14)); // negative width: mirrored
    EXPECT_EQ(Rows(dstImg, 0, 1, 4, 1), ".#..\n");
    // A canvas may copy from itself.
    dst.CopyRect(Rect(2, 2, 6, 6), dst, Rect(0, 0, 4, 4));
    EXPECT_EQ(Rows(dstImg, 0, 3, 4, 1), "...#\n");
}
