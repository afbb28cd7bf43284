#include "cad/shapes/Ellipse.h"
#include "cad/shapes/ShapeDraw.h"
#include "shapes/FakeOwner.h"
#include "shapes/Surface.h"
#include "support/ShapeGestures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>

using namespace mycad;
using namespace mycad::test;

namespace {

// An arc placed with three presses, finished as the canvas finishes it.
void PlaceArc(TMyElliArc& arc, TMyPoint p0, TMyPoint p1, TMyPoint p2)
{
    arc.ThePoints = {p0, p1, p2};
    TPoint last = MyPtToPt(p2);
    arc.Drawed(MyPtToPt(p0), last);
}

TArrPoint Centi(std::initializer_list<TPoint> pts)
{
    TArrPoint out;
    for (const TPoint& p : pts) out.push_back({p.X * 100, p.Y * 100});
    return out;
}

// The quarter of the circle about c of radius 80 between angle 0 and -90
// degrees (the upper right), with the through point at -45 degrees.
constexpr TMyPoint kQuarterStart{180.0f, 100.0f};
const TMyPoint kQuarterMiddle{static_cast<float>(100.0 + 80.0 * std::cos(std::numbers::pi / 4)),
                              static_cast<float>(100.0 - 80.0 * std::sin(std::numbers::pi / 4))};
constexpr TMyPoint kQuarterEnd{100.0f, 20.0f};

} // namespace

TEST(Ellipse, OutlineFillAreaAndHits)
{
    FakeOwner owner;
    Surface surface;
    TMyEllipse e(&owner);
    DrawWithMouse(e, {20, 20}, {120, 70});

    // 73 points, closed, starting at the lower end of the vertical axis.
    const TArrPoint outline = e.Outline();
    ASSERT_EQ(outline.size(), 73u);
    EXPECT_EQ(outline.front(), (TPoint{70, 70}));
    EXPECT_EQ(outline.back(), outline.front());
    EXPECT_EQ(outline[18], (TPoint{120, 45})); // a quarter turn on: the right end
    for (const TPoint& p : outline) {
        const double u = (p.X - 70.0) / 50.0;
        const double v = (p.Y - 45.0) / 25.0;
        EXPECT_NEAR(u * u + v * v, 1.0, 0.05);
    }

    e.SetCaptionShow(false);
    e.Pen().SetColor(clRed);
    e.Brush().SetStyle(TBrushStyle::bsSolid);
    e.Brush().SetColor(clBlue);
    e.Draw(surface.Canvas());
    surface.Expect({{70, 45, clBlue}, {70, 70, clRed}, {120, 45, clRed},
                    {22, 22, clWhite}}); // a corner of the box lies outside the ellipse
    // Nothing is drawn outside the box of the corners.
    EXPECT_EQ(surface.InkBox({0, 0, 200, 200}), surface.InkBox({20, 20, 121, 71}));

    // The hit test is the box's, whatever the brush.
    e.Brush().SetStyle(TBrushStyle::bsClear);
    ExpectHits(e, surface.Canvas(), {{{70, 45}, true}, {{22, 22}, true}, {{10, 45}, false}});

    EXPECT_EQ(e.GetInfo(), QStringLiteral("Area=  3926.99pixel(s)2"));

    // A turned ellipse turns its outline with it: the vertical axis now lies across.
    TMyEllipse turned(&owner);
    DrawWithMouse(turned, {20, 20}, {120, 70});
    turned.RotateChangeValueByAngle(turned.GetCenterPoint(), std::numbers::pi / 2);
    EXPECT_EQ(turned.Outline().front(), (TPoint{45, 45}));
}

TEST(ElliArc, PointsOnALineMakeOneSegment)
{
    bool closed = true;
    // The last: one point (a press not yet followed) draws a dot, not a crash.
    for (const auto& [pts, style, segment] :
         {std::tuple{Centi({{0, 0}, {50, 50}, {100, 100}}), TArcStyle::asSector, TArrPoint{{0, 0}, {100, 100}}},
          {Centi({{0, 0}, {50, 1}, {100, 4}}), TArcStyle::asArc, TArrPoint{{0, 0}, {100, 4}}},
          {Centi({{10, 0}, {10, 50}, {10, 30}}), TArcStyle::asArc, TArrPoint{{10, 0}, {10, 30}}},
          {Centi({{7, 8}, {7, 8}, {7, 8}}), TArcStyle::asArc, TArrPoint{{7, 8}, {7, 8}}}})
        EXPECT_EQ(TMyElliArc::CircleArcPoints(pts, style, closed), segment);
    // Four pixels off the line is a circle again.
    EXPECT_GT(TMyElliArc::CircleArcPoints(Centi({{0, 0}, {50, 1}, {100, 6}}), TArcStyle::asArc, closed).size(), 2u);

    FakeOwner owner;
    Surface surface;
    TMyElliArc arc(&owner);
    PlaceArc(arc, {0, 0}, {50, 50}, {100, 100});
    EXPECT_EQ(arc.GetCenterPoint(), (TMyPoint{50, 50}));
    arc.SetCaptionShow(false);
    arc.Draw(surface.Canvas());
    surface.Expect({{50, 50, clBlack}, {99, 99, clBlack}, {60, 40, clWhite}});
}

TEST(ElliArc, EllipseModeFollowsTheCornerOfItsBoxAndItsRubberBand)
{
    FakeOwner owner;
    Surface surface;
    const TArrPoint pts = TMyElliArc::ConicArcPoints(Centi({{0, 0}, {100, 0}, {100, 100}}));
    ASSERT_GT(pts.size(), 10u);
    EXPECT_EQ(pts.front(), (TPoint{0, 0}));
    EXPECT_EQ(pts.back(), (TPoint{100, 100}));
    // The conic passes the control point a little before half way (at t = sqrt(2) - 1).
    const auto nearest = std::min_element(pts.begin(), pts.end(), [](TPoint a, TPoint b) {
        return std::hypot(a.X - 100.0, double(a.Y)) < std::hypot(b.X - 100.0, double(b.Y));
    });
    EXPECT_LE(std::hypot(nearest->X - 100.0, double(nearest->Y)), 1.5);
    EXPECT_NEAR(double(nearest - pts.begin()) / double(pts.size() - 2), std::sqrt(2.0) - 1.0, 0.01);
    // Consecutive vertices are at most a few pixels apart.
    for (size_t i = 1; i < pts.size(); ++i) {
        EXPECT_LE(std::hypot(double(pts[i].X - pts[i - 1].X), double(pts[i].Y - pts[i - 1].Y)), 3.0);
    }

    TMyElliArc arc(&owner);
    arc.SetArcMode(TArcMode::amEllipse);
    PlaceArc(arc, {20, 20}, {120, 20}, {120, 120});
    arc.SetCaptionShow(false);
    arc.Draw(surface.Canvas());
    surface.Expect({{20, 20, clBlack}, {120, 20, clBlack}, {20, 120, clWhite}, {70, 70, clWhite}});
    // The centre for turning is the stored one.
    arc.CenterPoint = {3, 4};
    EXPECT_EQ(arc.GetCenterPoint(), (TMyPoint{3, 4}));

    // Presses that place the points, and the circle's band, are the canvas
    // gesture tests'. In ellipse mode nothing is drawn while the mouse
    // shares the control point's row.
    surface.Clear();
    TMyElliArc placing(&owner);
    placing.SetArcMode(TArcMode::amEllipse);
    placing.AddPointByMouse({20, 100});
    placing.AddPointByMouse({100, 20});
    placing.Drawing(surface.Canvas(), {100, 20}, {180, 20});
    EXPECT_EQ(surface.CountNot(clWhite), 0);
    placing.Drawing(surface.Canvas(), {100, 20}, {180, 100});
    EXPECT_GT(surface.CountNot(clWhite), 0);
}

TEST(ElliArc, HandlesHitsSizingFlipsAndClosedStyles)
{
    FakeOwner owner;
    Surface surface;
    TMyElliArc arc(&owner);
    PlaceArc(arc, kQuarterStart, kQuarterMiddle, kQuarterEnd);

    ExpectHandles(arc, {{{181, 99}, 0}, {{100, 22}, 2}, {{140, 140}, -1}});
    EXPECT_EQ(arc.SelectedHotId, -1);

    ExpectHits(arc, surface.Canvas(), {{{160, 60}, true}, // inside the triangle
                                       {{172, 60}, true}, // beside the arc, outside the triangle
                                       {{120, 80}, false}, // inside the circle, far from the arc
                                       {{30, 100}, false}});

    // Sizing moves the grabbed point only.
    arc.SelectedHotId = 2;
    arc.SizeChangeValue({100, 20}, {90, 25});
    EXPECT_EQ(arc.ThePoints[2], (TMyPoint{90, 25}));
    EXPECT_EQ(arc.ThePoints[0], kQuarterStart);
    owner.zoom = 2.0;
    arc.SizeChangeValue({0, 0}, {20, -10});
    EXPECT_EQ(arc.ThePoints[2], (TMyPoint{100, 20}));
    owner.zoom = 1.0;

    // Mirroring keeps the sense: the first point is the mirrored last one.
    TMyElliArc flipped(&owner);
    PlaceArc(flipped, kQuarterStart, kQuarterMiddle, kQuarterEnd);
    flipped.FlipHoriz();
    ExpectNear(flipped.ThePoints[0], 100, 20);
    ExpectNear(flipped.ThePoints[2], 20, 100);
    EXPECT_TRUE(flipped.IsFlipHorz());
    flipped.FlipVert();
    ExpectNear(flipped.ThePoints[0], 20, 100);
    ExpectNear(flipped.ThePoints[2], 100, 180);

    // Handles at the three points.
    surface.Clear();
    arc.DrawHot(surface.Canvas());
    surface.Expect({{180, 100, GetHotColor()}, {100, 20, GetHotColor()}});

    // Chords and sectors close and fill; the sizing above put the arc back.
    surface.Clear();
    arc.SetCaptionShow(false);
    arc.Brush().SetStyle(TBrushStyle::bsSolid);
    arc.Brush().SetColor(clBlue);

    // (150, 50) lies between the chord and the arc; (120, 80) between the
    // chord and the centre.
    arc.Draw(surface.Canvas());
    EXPECT_EQ(surface.At(150, 50), clWhite);
    EXPECT_FALSE(surface.InkBox({155, 41, 160, 46}).IsEmpty()); // on the arc
    EXPECT_EQ(surface.At(140, 60), clWhite);            // an open arc has no chord

    arc.SetArcStyle(TArcStyle::asChord);
    surface.Redraw(arc);
    surface.Expect({{150, 50, clBlue}, {120, 80, clWhite}, {140, 60, clBlack}});

    arc.SetArcStyle(TArcStyle::asSector);
    surface.Redraw(arc);
    surface.Expect({{150, 50, clBlue}, {120, 80, clBlue}, {140, 100, clBlack}, // the radius back to the start
                    {100, 60, clBlack}, // the radius out to the arc
                    {80, 80, clWhite}});

    bool closed = false;
    TArrPoint centi;
    for (const TMyPoint& p : arc.ThePoints) centi.push_back(MyPtToPt({p.X * 100, p.Y * 100}));
    const TArrPoint sector = TMyElliArc::CircleArcPoints(centi, TArcStyle::asSector, closed);
    EXPECT_TRUE(closed);
    ASSERT_GE(sector.size(), 3u);
    EXPECT_EQ(sector[sector.size() - 2], (TPoint{100, 100}));
    EXPECT_EQ(sector.back(), sector.front());

    // A clear brush leaves the sector unfilled.
    arc.Brush().SetStyle(TBrushStyle::bsClear);
    surface.Redraw(arc);
    EXPECT_EQ(surface.At(150, 50), clWhite);
}
