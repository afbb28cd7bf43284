#include "cad/shapes/PolyLine.h"
#include "cad/shapes/ShapeDraw.h"
#include "shapes/FakeOwner.h"
#include "shapes/Surface.h"
#include "support/ShapeGestures.h"

#include <gtest/gtest.h>

using namespace mycad;
using namespace mycad::test;


namespace {

TArrMyPoint Square() { return {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}; }

} // namespace

TEST(Polygon, ClosesOnItsFirstPointOrOnADoubleClickAndMeasuresItsArea)
{
    FakeOwner owner; // HotSize 4
    TMyPolygon polygon(&owner);
    polygon.ThePoints = {{0, 0}, {100, 0}};
    EXPECT_FALSE(Click(polygon, {1, 1})); // three points are too few to close
    polygon.ThePoints = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
    // (4, 0) is HotSize away from the first point, which is not closer than HotSize.
    EXPECT_FALSE(Click(polygon, {4, 0}));
    EXPECT_EQ(polygon.GetPointsCount(), 5);
    polygon.ThePoints.pop_back();
    EXPECT_TRUE(Click(polygon, {2, 2}));
    EXPECT_EQ(polygon.ThePoints, Square());

    // A double click on the last corner: the duplicate becomes the closing point.
    TMyPolygon clicked(&owner);
    for (const TPoint p : {TPoint{0, 0}, TPoint{60, 0}}) EXPECT_FALSE(Click(clicked, p));
    EXPECT_FALSE(Click(clicked, {60, 60}));
    EXPECT_TRUE(Click(clicked, {61, 59}));
    EXPECT_EQ(clicked.ThePoints, (TArrMyPoint{{0, 0}, {60, 0}, {60, 60}, {0, 0}}));

    // The area is measured from its pixels.
    TMyPolygon square(&owner);
    square.ThePoints = Square();
    for (TMyPoint& p : square.ThePoints) p = {p.X + 30.0f, p.Y + 20.0f}; // the place does not matter
    const TArrMyPoint before = square.ThePoints;
    EXPECT_NEAR(square.MeasureArea(), 10000.0, 100.0);
    const String info = square.GetInfo();
    EXPECT_EQ(info, QStringLiteral("Area=") + FormatMeasure(square.MeasureArea(), 2) + QStringLiteral("pixel(s)2"));
    EXPECT_EQ(square.Info(), info);
    EXPECT_EQ(square.ThePoints, before);

    // A right triangle covers half the square plus its outline along the slant.
    TMyPolygon triangle(&owner);
    triangle.ThePoints = {{0, 0}, {100, 0}, {0, 100}, {0, 0}};
    const double half = triangle.MeasureArea();
    EXPECT_GT(half, 5000.0);
    EXPECT_LT(half, 5250.0);

    // Degenerate polygons cover nothing measurable.
    TMyPolygon flat(&owner);
    flat.ThePoints = {{0, 5}, {50, 5}, {80, 5}, {0, 5}};
    EXPECT_EQ(flat.MeasureArea(), 0.0);
}

// Drawn and hit at zoom 1 in the mouse tests.
TEST(Polygon, DrawsFilledWithHandlesAtEveryCornerAndIsHitOnlyInside)
{
    FakeOwner owner;
    Surface surface(160, 160);
    TCanvas& c = surface.Canvas();
    TMyPolygon polygon(&owner);
    polygon.ThePoints = {{20, 20}, {120, 20}, {120, 120}, {20, 120}, {20, 20}};
    polygon.Brush().SetStyle(TBrushStyle::bsSolid);
    polygon.Brush().SetColor(clRed);
    polygon.Pen().SetColor(clBlack);
    polygon.Draw(c);
    surface.Expect({{70, 70, clRed}, {70, 20, clBlack}, {10, 10, clWhite}});

    surface.Clear();
    polygon.TextOutPoint = {70, 140};
    polygon.DrawHot(c);
    // A square handle at each of the four corners, none of them doubled.
    for (const TPoint p : {TPoint{20, 20}, TPoint{120, 20}, TPoint{120, 120}, TPoint{20, 120}})
        EXPECT_EQ(surface.At(p.X, p.Y), GetHotColor()) << p.X << "," << p.Y;
    EXPECT_EQ(surface.At(70, 70), clWhite);

    owner.hotShow = false;
    surface.Clear();
    polygon.DrawHot(c);
    EXPECT_EQ(surface.At(20, 20), clWhite);

    // Hit only inside its outline.
    TMyPolygon triangle(&owner);
    triangle.ThePoints = {{0, 0}, {100, 0}, {0, 100}, {0, 0}};
    ExpectHits(triangle, c, {{{20, 20}, true}, {{48, 48}, true}});
    // Just beyond the slanted edge, where a line's tolerance band would still hit.
    ExpectHits(triangle, c, {{{53, 53}, false}, {{50, -2}, false}});
    owner.zoom = 2.0;
    ExpectHits(triangle, c, {{{150, 40}, true}, {{150, 60}, false}});
}

TEST(FreeLine, IsHitMarkedAndDraggedAsABox)
{
    FakeOwner owner;
    TMyFreeLine line(&owner);
    line.ThePoints = {{10, 10}, {60, 20}, {90, 80}};
    Surface surface(120, 120);
    TCanvas& c = surface.Canvas();
    owner.zoom = 2.0;
    EXPECT_TRUE(line.IsClickedMe(c, {170, 150}));
    EXPECT_FALSE(line.IsClickedMe(c, {100, 18}));
    owner.zoom = 1.0;

    // Each piece is drawn with the shape's own pen, in copy mode.
    line.Pen().SetColor(clBlue);
    c.Pen().SetMode(TPenMode::pmXor);
    line.Drawing(c, {10, 100}, {100, 100});
    EXPECT_EQ(surface.At(50, 100), clBlue);
    line.Drawing(c, {10, 100}, {100, 100});
    EXPECT_EQ(surface.At(50, 100), clBlue); // drawn again, not erased

    surface.Clear();
    line.DrawHot(c);
    surface.Expect({{50, 10, clRed}, // the box's top edge
                    {10, 50, clRed}, // its left edge
                    {60, 20, clWhite}, // no point handle
                    {40, 40, clWhite}}); // clear inside

    surface.Clear();
    c.Pen().SetColor(clBlack);
    c.Pen().SetMode(TPenMode::pmCopy);
    line.Draging(c, {0, 0}, {5, 5});
    surface.Expect({{50, 15, clBlack}, {95, 50, clBlack}, {50, 10, clWhite}});
}
