// Paths, regions, arcs and text on the canvas: what callers read back
// (flattened points, region hits, extents) against the pixels drawn.
#include "platform/CanvasPainter.h"
#include "platform/Graphics.h"
#include "platform/SurfaceImage.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace mycad;
using mycad::test::Ink;
using mycad::test::WhiteSurface;

namespace {

/// Whether each listed pixel is drawn.
void ExpectInk(const QImage& img, std::initializer_list<std::tuple<int, int, bool>> pixels)
{
    for (const auto& [x, y, drawn] : pixels) EXPECT_EQ(Ink(img, x, y), drawn) << x << "," << y;
}

QRect InkBounds(const QImage& img)
{
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (Ink(img, x, y)) r |= QRect(x, y, 1, 1);
    return r;
}

TArrPoint Star(int cx, int cy, int radius)
{
    // Every second tip of a pentagon, so the edges cross and enclose the middle twice.
    TArrPoint pts;
    for (int i = 0; i < 5; ++i) {
        const double a = -std::numbers::pi / 2 + i * 4 * std::numbers::pi / 5;
        pts.push_back(Point(RoundToInt(cx + radius * std::cos(a)), RoundToInt(cy + radius * std::sin(a))));
    }
    return pts;
}

} // namespace

TEST(Regions, FillModesDecideTheMiddleOfAStar)
{
    const TArrPoint star = Star(50, 50, 40);
    const TRegion alternate = TRegion::CreatePolygonRgn(star, ALTERNATE);
    const TRegion winding = TRegion::CreatePolygonRgn(star, WINDING);
    // The middle belongs to the winding star only, a tip to both, the outside to neither.
    for (const auto& [x, y, inAlternate, inWinding] : {std::tuple{50, 50, false, true}, {50, 20, true, true}, {5, 5, false, false}}) {
        EXPECT_EQ(alternate.PtInRegion(x, y), inAlternate) << x << "," << y;
        EXPECT_EQ(winding.PtInRegion(x, y), inWinding) << x << "," << y;
    }
    EXPECT_EQ(winding.BoundingRect(), Rect(12, 10, 88, 82));
    EXPECT_TRUE(TRegion::CreatePolygonRgn({Point(0, 0), Point(5, 5)}, WINDING).IsEmpty());
    EXPECT_FALSE(TRegion::CreatePolygonRgn({Point(0, 0), Point(4, 0), Point(0, 4)}, WINDING).PtInRegion(4, 0));

    // Filling and clipping agree with the point test, pixel for pixel.
    QImage img = WhiteSurface(100, 100);
    TCanvas c(&img);
    TBrush black;
    black.SetColor(clBlack);
    c.FillRgn(alternate, black);
    for (int y = 0; y < 100; y += 3)
        for (int x = 0; x < 100; x += 3) EXPECT_EQ(Ink(img, x, y), alternate.PtInRegion(x, y)) << x << "," << y;

    img.fill(Qt::white);
    c.SelectClipRgn(&winding);
    EXPECT_EQ(c.ClipRect(), Rect(12, 10, 88, 82));
    c.Brush().SetColor(clBlack);
    c.FillRect(Rect(0, 0, 100, 100));
    ExpectInk(img, {{50, 50, true}, {5, 5, false}});
    c.SelectClipRgn(nullptr);
    c.FillRect(Rect(0, 0, 100, 100));
    EXPECT_TRUE(Ink(img, 5, 5));
}

TEST(Paths, FiguresReadBackWithTheirPointTypes)
{
    QImage img = WhiteSurface(40, 40);
    TCanvas c(&img);
    c.BeginPath();
    c.MoveTo(2, 2);
    c.LineTo(20, 2);
    c.LineTo(20, 20);
    c.CloseFigure();
    c.PolyBezier({Point(0, 30), Point(10, 20), Point(20, 40), Point(30, 30)});
    c.EndPath();
    // Nothing was drawn while the path was open.
    EXPECT_TRUE(InkBounds(img).isEmpty());

    TArrPoint pts;
    TArrByte types;
    ASSERT_EQ(c.GetPath(pts, types), 7);
    EXPECT_EQ(types, (TArrByte{PT_MOVETO, PT_LINETO, PT_LINETO | PT_CLOSEFIGURE, PT_MOVETO, PT_BEZIERTO, PT_BEZIERTO,
                               PT_BEZIERTO}));
    EXPECT_EQ(pts[2], Point(20, 20));
    EXPECT_EQ(pts[6], Point(30, 30));

    // Filling closes the open figure too; the path is used up.
    c.Brush().SetColor(clBlack);
    c.Pen().SetStyle(TPenStyle::psClear);
    c.StrokeAndFillPath();
    ExpectInk(img, {{15, 5, true}, {5, 15, false}});
    EXPECT_EQ(c.GetPath(pts, types), 0);

    // Closed figures of the shape primitives.
    c.BeginPath();
    c.Rectangle(1, 1, 11, 6);
    c.Ellipse(0, 0, 10, 10);
    c.EndPath();
    ASSERT_GE(c.GetPath(pts, types), 8);
    EXPECT_EQ(pts[0], Point(1, 1));
    EXPECT_EQ(pts[2], Point(10, 5));
    EXPECT_EQ(types[3], PT_LINETO | PT_CLOSEFIGURE);
    EXPECT_EQ(types[4], PT_MOVETO);
    EXPECT_EQ(types.back() & PT_CLOSEFIGURE, PT_CLOSEFIGURE);
    c.AbortPath();
    EXPECT_EQ(c.GetPath(pts, types), 0);

    // A figure stays where it was drawn when the transform changes; it reads
    // back in the coordinates of the transform in effect.
    img.fill(Qt::white);
    c.Pen().SetStyle(TPenStyle::psSolid);
    c.SetGraphicsMode(GM_ADVANCED);
    ASSERT_TRUE(c.SetWorldTransform(TXForm{1, 0, 0, 1, 30, 20}));
    c.BeginPath();
    c.MoveTo(0, 0);
    c.LineTo(10, 0);
    c.EndPath();
    ASSERT_EQ(c.GetPath(pts, types), 2);
    EXPECT_EQ(pts[1], Point(10, 0));
    ASSERT_TRUE(c.SetWorldTransform(TXForm{}));
    c.GetPath(pts, types);
    EXPECT_EQ(pts[1], Point(40, 20));
    c.SetGraphicsMode(GM_COMPATIBLE);
    c.StrokePath();
    ExpectInk(img, {{35, 20, true}, {5, 0, false}});
}

TEST(Arcs, RunCounterClockwiseBetweenTheRays)
{
    QImage img = WhiteSurface(220, 120);
    TCanvas c(&img);
    // From the ray toward the east to the ray toward the north-east corner.
    c.BeginPath();
    c.Arc(0, 0, 201, 101, 200, 50, 200, 0);
    c.EndPath();
    c.FlattenPath();
    TArrPoint pts;
    TArrByte types;
    const int32_t n = c.GetPath(pts, types);
    ASSERT_GT(n, 2);
    EXPECT_EQ(pts.front(), Point(200, 50));
    // The end lies on the ray from the centre (100, 50) through (200, 0).
    EXPECT_NEAR(double(pts.back().Y - 50) / (pts.back().X - 100), -0.5, 0.03);
    for (const TPoint& p : pts) EXPECT_LE(p.Y, 50);
    EXPECT_EQ(types.back() & PT_CLOSEFIGURE, 0);

    // A pie from north to east the long way round leaves the north-east quarter empty.
    c.Brush().SetColor(clBlack);
    c.Pie(0, 0, 201, 101, 100, 0, 200, 50);
    ExpectInk(img, {{150, 30, false}, {50, 30, true}, {150, 70, true}, {50, 70, true}});

    // A chord fills only the segment cut off by the line between the points.
    img.fill(Qt::white);
    c.Chord(0, 0, 201, 101, 200, 50, 100, 0);
    ExpectInk(img, {{170, 25, true}, {120, 40, false}, {50, 50, false}});
}

TEST(Text, ExtentsSpacingAndBackground)
{
    QImage img = WhiteSurface(300, 100);
    TCanvas c(&img);
    const String s = QStringLiteral("Sample text");
    c.Font().SetSize(12);
    const TSize plain = c.TextExtent(s);
    EXPECT_EQ(c.TextHeight(s), plain.cy);
    EXPECT_EQ(c.TextExtent(QString()).cx, 0);
    c.SetTextCharacterExtra(3);
    const TSize spaced = c.TextExtent(s);
    EXPECT_EQ(spaced.cx, plain.cx + 3 * s.size());

    // Opaque text paints its box in the brush colour; transparent text only its glyphs.
    const auto redPixels = [&] {
        const auto* px = reinterpret_cast<const QRgb*>(img.constBits());
        return std::count(px, px + img.width() * img.height(), qRgb(255, 0, 0));
    };
    c.SetTextCharacterExtra(0);
    c.Brush().SetColor(clRed);
    c.SetBkMode(TRANSPARENT);
    c.TextOut(5, 5, s);
    EXPECT_GT(InkBounds(img).width(), 0);
    EXPECT_EQ(redPixels(), 0);
    c.SetBkMode(OPAQUE);
    c.Font().SetColor(clBlue);
    c.TextOut(5, 40, s);
    EXPECT_GT(redPixels(), plain.cx * plain.cy / 2);
    EXPECT_EQ(img.pixel(5, 40) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(img.pixel(5 + plain.cx, 40) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(Text, RepeatedLinesDrawAsThePainterDrawsThem)
{
    // Lines are laid out once and drawn again from the layout; every drawing
    // of a line, wherever it lands and in whichever of the fonts in use,
    // must match the painter's own drawing of it.
    QImage ours = WhiteSurface(240, 120);
    QImage theirs = WhiteSurface(240, 120);
    TCanvas c(&ours);
    c.SetBkMode(TRANSPARENT);
    QPainter p(&theirs);
    const QString lines[] = {QStringLiteral("Pump P-101"), QStringLiteral("Valve é"), QStringLiteral("Pump P-101")};
    int y = 4;
    for (int size : {9, 14, 9}) {
        c.Font().SetSize(size);
        p.setFont(ToQFont(c.GetLogFont()));
        p.setPen(Qt::black);
        for (const QString& line : lines) {
            c.TextOut(3 + size, y, line);
            p.drawText(QPointF(3 + size, y + QFontMetrics(p.font()).ascent()), line);
            y += 12;
        }
    }
    p.end();
    EXPECT_EQ(ours, theirs);
}

TEST(Text, MapModesAndWorldTransformsPlaceAndTurnText)
{
    // Text turned by its font's escapement is checked where rulers turn
    // their labels.
    QImage img = WhiteSurface(200, 200);
    TCanvas c(&img);
    c.SetBkMode(TRANSPARENT);
    TLogFont lf = c.GetLogFont();

    // Hundredths of an inch with y upward: (100, -100) is the device pixel (96, 96).
    EXPECT_FALSE(c.SetWorldTransform(TXForm{}));
    c.SetMapMode(MM_LOENGLISH);
    lf.lfHeight = -50;
    c.SelectLogFont(lf);
    c.TextOut(100, -100, QStringLiteral("Map"));
    QRect mapped = InkBounds(img);
    EXPECT_NEAR(mapped.left(), 96, 4);
    EXPECT_NEAR(mapped.top(), 96, 12);
    EXPECT_LT(mapped.height(), 50);
    EXPECT_GT(mapped.width(), mapped.height()); // upright, not mirrored or turned

    // A world transform that turns by 90 degrees turns the text with it.
    img.fill(Qt::white);
    c.SetGraphicsMode(GM_ADVANCED);
    c.SetMapMode(MM_TEXT);
    lf.lfHeight = -20;
    c.SelectLogFont(lf);
    EXPECT_TRUE(c.SetWorldTransform(TXForm{0, 1, -1, 0, 100, 20}));
    c.TextOut(0, 0, QStringLiteral("Turned text"));
    const QRect turned = InkBounds(img);
    EXPECT_GT(turned.height(), 2 * turned.width());
    EXPECT_LE(turned.right(), 101);
    EXPECT_GE(turned.top(), 19);
    EXPECT_EQ(c.GetDeviceCaps(LOGPIXELSY), 96);
    EXPECT_EQ(c.GetDeviceCaps(HORZRES), 200);
}
