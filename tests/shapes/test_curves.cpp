#include "cad/shapes/BLine.h"
#include "cad/shapes/PolyBezier.h"
#include "cad/shapes/ShapeDraw.h"
#include "shapes/FakeOwner.h"
#include "shapes/Surface.h"
#include "support/ShapeGestures.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace mycad;
using namespace mycad::test;

namespace {

double Cross(TMyPoint joint, TMyPoint a, TMyPoint b)
{
    return (double(a.X) - joint.X) * (double(b.Y) - joint.Y) - (double(a.Y) - joint.Y) * (double(b.X) - joint.X);
}

double Distance(TMyPoint a, TMyPoint b) { return std::hypot(double(a.X) - b.X, double(a.Y) - b.Y); }

} // namespace

TEST(PolyBezier, EditingAControlPointKeepsTheJointSmooth)
{
    FakeOwner owner;
    owner.zoom = 2.0;
    // Two segments joined smoothly at P3 = (50, 0).
    const TArrMyPoint smooth{{0, 0}, {10, 30}, {30, 0}, {50, 0}, {70, 0}, {90, 30}, {100, 0}};
    auto dragged = [&](int32_t hot, TMyPoint by) {
        TMyPolyBezier chain(&owner);
        chain.ThePoints = smooth;
        chain.SelectedHotId = hot;
        const TMyPoint from = chain.GetPointInZoom(hot < 0 || hot > 6 ? 0 : hot);
        chain.SizeChangeValue(from, {from.X + by.X, from.Y + by.Y});
        return chain.ThePoints;
    };
    // The control point before the joint, dragged up: the one after it turns
    // about the joint and stays on the tangent at its distance.
    TArrMyPoint p = dragged(2, {0, -40}); // 20 document units at zoom 2
    EXPECT_EQ(p[2], (TMyPoint{30, -20}));
    EXPECT_NEAR(Cross(p[3], p[2], p[4]), 0.0, 1e-3);
    EXPECT_NEAR(Distance(p[3], p[4]), 20.0, 1e-4);
    EXPECT_LT(p[4].Y, 20.0f);
    EXPECT_GT(p[4].Y, 0.0f);
    EXPECT_EQ(p[0], smooth[0]);
    EXPECT_EQ(p[5], smooth[5]);
    // The control point after the joint turns the one before it.
    p = dragged(4, {0, 40});
    EXPECT_NEAR(Cross(p[3], p[2], p[4]), 0.0, 1e-3);
    EXPECT_LT(p[2].Y, 0.0f);
    // A joint carries both its control points.
    p = dragged(3, {10, 20});
    EXPECT_EQ(p[2], (TMyPoint{35, 10}));
    EXPECT_EQ(p[3], (TMyPoint{55, 10}));
    EXPECT_EQ(p[4], (TMyPoint{75, 10}));
    // The first and last two points have no partner to turn; a handle
    // number outside the chain changes nothing.
    for (const int32_t hot : {0, 1, 5, 6}) {
        p = dragged(hot, {10, 10});
        for (int32_t i = 0; i < 7; ++i) {
            EXPECT_EQ(p[size_t(i)] == smooth[size_t(i)], i != hot) << hot << " " << i;
        }
    }
    EXPECT_EQ(dragged(-1, {10, 10}), smooth);
    EXPECT_EQ(dragged(7, {10, 10}), smooth);
}

TEST(PolyBezier, DrawsHandlesAndIsHitAlongTheCurve)
{
    FakeOwner owner;
    TMyPolyBezier chain(&owner);
    // A straight first segment, a bent second one.
    chain.ThePoints = {{10, 100}, {60, 100}, {110, 100}, {160, 100}, {170, 140}, {190, 40}, {195, 100}};
    Surface surface(220, 200);
    chain.Draw(surface.Canvas());
    surface.Expect({{85, 100, clBlack}, // halfway along the straight segment
                    {85, 90, clWhite}});

    surface.Clear();
    chain.DrawHot(surface.Canvas());
    surface.Expect({{60, 100, GetHotColor()}, // a handle square
                    {140, 120, TColor(8421504)}}); // the tangent from P2 to P4 through the joint
    ExpectHandles(chain, {{{112, 97}, 2}, {{135, 100}, -1}});

    // Half way along the straight segment its flattened form has no point,
    // only the segment's two ends.
    for (const bool net : {false, true}) {
        auto hit = [&](TPoint p) { return net ? chain.IsClickedMeforNET(surface.Canvas(), p) : chain.IsClickedMe(surface.Canvas(), p); };
        EXPECT_TRUE(hit({85, 108})) << net;
        EXPECT_FALSE(hit({85, 111})) << net;
        EXPECT_TRUE(hit({186, 80})) << net;
        EXPECT_FALSE(hit({120, 160})) << net;
    }
}

TEST(BLine, CoincidentPointsStayAndNothingBreaks)
{
    FakeOwner owner;
    TMyBLine spline(&owner);
    // All points equal: every row is held, the vertices are the points.
    spline.ThePoints = TArrMyPoint(5, TMyPoint{40, 40});
    spline.LoadVertices(spline.ThePoints);
    for (int32_t i = 0; i <= spline.NoPoints + 1; ++i) EXPECT_EQ(spline.VertexList[size_t(i)], (TMyPoint{40, 40}));
    EXPECT_EQ(spline.GetVPoint(0.37f), (TMyPoint{40, 40}));
    Surface surface(80, 80);
    spline.Draw(surface.Canvas());
    TCanvas& c = surface.Canvas();
    ExpectHits(spline, c, {{{45, 45}, true}, {{60, 60}, false}});

    // A lone point, and no point at all, are drawn without reading beyond the vertices.
    spline.LoadVertices({{10, 20}});
    EXPECT_EQ(spline.GetVPoint(1.0f), (TMyPoint{10, 20}));
    spline.ThePoints.clear();
    spline.Draw(c);
    EXPECT_FALSE(spline.IsClickedMe(c, {10, 20}));
}

TEST(BLine, RepaintsFollowThePointsAndTheZoom)
{
    // The curve is sampled once and its samples walked again on repaints;
    // what is drawn must always be the 601 samples through the current
    // points at the current zoom, joined by lines.
    FakeOwner owner;
    TMyBLine spline(&owner);
    TMyBLine reference(&owner);
    const auto drawnAlone = [](TMyBLine& s) {
        Surface surface(260, 200);
        s.Draw(surface.Canvas());
        return surface.Snapshot();
    };
    const auto samplesJoined = [&reference](const TArrMyPoint& points, double zoom) {
        Surface surface(260, 200);
        TCanvas& c = surface.Canvas();
        TArrMyPoint zoomed;
        for (const TMyPoint& p : points) zoomed.push_back({float(p.X * zoom), float(p.Y * zoom)});
        reference.LoadVertices(zoomed);
        c.Pen().SetColor(clBlack);
        c.BeginPath();
        const TPoint start = MyPtToPt(reference.GetVPoint(0.0f));
        c.MoveTo(start.X, start.Y);
        for (int32_t i = 1; i <= 600; ++i) {
            const TPoint p = MyPtToPt(reference.GetVPoint(static_cast<float>(i) / 600));
            c.LineTo(p.X, p.Y);
        }
        c.EndPath();
        c.StrokePath();
        return surface.Snapshot();
    };
    spline.Pen().SetColor(clBlack);
    spline.ThePoints = {{10, 20}, {60, 90}, {110, 15}, {120, 60}};
    EXPECT_EQ(drawnAlone(spline), samplesJoined(spline.ThePoints, 1.0));
    spline.ThePoints[1] = {40, 70};
    EXPECT_EQ(drawnAlone(spline), samplesJoined(spline.ThePoints, 1.0));
    owner.zoom = 2.0;
    EXPECT_EQ(drawnAlone(spline), samplesJoined(spline.ThePoints, 2.0));
}
