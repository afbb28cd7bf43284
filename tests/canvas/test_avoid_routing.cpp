// The canvas with the avoiding router on: connectors go round every shape,
// a moved shape re-routes only the connectors it touches, a segment the user
// placed stays on its line until the route is reset, a connector that
// cannot be routed is reported, on a fallback route, and hops are drawn
// over true crossings only, whatever order the connectors are stacked in.
#include "support/LinkedBoxes.h"
#include "canvas/MouseDriver.h"

#include "cad/connectors/LinkLine.h"
#include "cad/connectors/RouteStats.h"

#include <gtest/gtest.h>

using namespace mycad;

namespace {

constexpr auto Box = &test::LinkedBox;

constexpr auto Link = &test::LinkBoxes;

bool Orthogonal(const TMyLinkLine& line)
{
    const TArrMyPoint& p = line.ThePoints;
    for (size_t k = 0; k + 1 < p.size(); ++k) {
        if (p[k].X != p[k + 1].X && p[k].Y != p[k + 1].Y) return false;
    }
    return p.size() >= 2;
}

} // namespace

TEST(AvoidRouting, SwitchingOnRoutesAgainAndAMoveLeavesUntouchedConnectorsAlone)
{
    TMyCAD cad;
    TMyShape* a = Box(cad, 0, 0, 60, 40);
    TMyShape* b = Box(cad, 400, 0, 460, 40);
    TMyShape* c = Box(cad, 0, 300, 60, 340);
    TMyShape* d = Box(cad, 400, 300, 460, 340);
    TMyShape* wall = Box(cad, 200, -100, 240, 140);
    TMyLinkLine* top = Link(cad, a, 1, b, 3);
    TMyLinkLine* bottom = Link(cad, c, 1, d, 3);
    ASSERT_GT(test::RouteHits(*top, *wall), 0);
    cad.SetLinkRouter(TLinkRouter::lrAvoiding);
    EXPECT_EQ(test::RouteHits(*top, *wall), 0) << "switching on routes every automatic connector again";
    const TArrMyPoint before = bottom->ThePoints;

    // The wall moves a little but stays clear of the bottom route: that
    // route keeps every point.
    cad.Move(wall, 10, 0);
    EXPECT_EQ(bottom->ThePoints, before);
    EXPECT_EQ(test::RouteHits(*top, *wall), 0);
    // Down onto the bottom route: it goes round.
    // (recorded, as a drag by the mouse records it)
    cad.PushtoUndoRedoShapeList({wall}, ACT_CHANGE);
    cad.Move(wall, 0, 200);
    EXPECT_NE(bottom->ThePoints, before);
    EXPECT_EQ(test::RouteHits(*bottom, *wall), 0);
    EXPECT_TRUE(Orthogonal(*bottom));
    // Undo puts the wall back; no route runs through it.
    cad.PopFromUndoRedoShapeList();
    EXPECT_EQ(wall->ThePoints[0], (TMyPoint{210, -100}));
    EXPECT_EQ(test::RouteHits(*bottom, *wall), 0);
    EXPECT_EQ(test::RouteHits(*top, *wall), 0);
}

TEST(AvoidRouting, APlacedSegmentStaysOnItsLineUntilTheRouteIsReset)
{
    TMyCAD cad;
    cad.SetLinkRouter(TLinkRouter::lrAvoiding);
    TMyShape* a = Box(cad, 0, 0, 60, 40);
    TMyShape* b = Box(cad, 400, 200, 460, 240);
    TMyLinkLine* line = Link(cad, a, 1, b, 3);
    ASSERT_EQ(line->ThePoints.size(), 4u) << "right, down, right";
    const TMyPoint v0 = line->ThePoints[1];
    // Drag the vertical segment 100 to the left.
    line->SelectedHotId = line->GetPointsCount() + 1;
    line->SizeChangeValue({0, 0}, {-100, 0});
    ASSERT_TRUE(line->Pin.has_value());
    const float x = v0.X - 100;
    auto onPin = [&] {
        for (size_t k = 0; k + 1 < line->ThePoints.size(); ++k) {
            if (line->ThePoints[k].X == x && line->ThePoints[k + 1].X == x) return true;
        }
        return false;
    };
    EXPECT_TRUE(onPin());
    // Both shapes move: the placed segment keeps its line.
    cad.Move(b, 0, 60);
    cad.Move(a, 0, 30);
    EXPECT_TRUE(onPin());
    EXPECT_TRUE(Orthogonal(*line));
    EXPECT_EQ(line->ThePoints.front(), (TMyPoint{60, 50}));
    EXPECT_EQ(line->ThePoints.back(), (TMyPoint{400, 280}));
    // Reset: automatic again, the segment back in the middle.
    cad.ResetLinkRoute(line);
    EXPECT_FALSE(line->Pin.has_value());
    EXPECT_TRUE(line->IsAutoMode);
    EXPECT_FALSE(onPin());
    cad.PopFromUndoRedoShapeList();
    EXPECT_TRUE(onPin()) << "undo brings the placed segment back";
}

TEST(AvoidRouting, AWalledInTargetIsReportedUntilTheWallOpens)
{
    TMyCAD cad;
    cad.SetLinkRouter(TLinkRouter::lrAvoiding);
    std::vector<TMyShape*> reported;
    cad.OnLinkUnroutable = [&](TMyShape* s) { reported.push_back(s); };
    TMyShape* a = Box(cad, 0, 0, 60, 40);
    TMyShape* b = Box(cad, 400, 100, 460, 140);
    Box(cad, 340, 40, 520, 60);
    Box(cad, 340, 180, 520, 200);
    TMyShape* left = Box(cad, 340, 40, 360, 200);
    Box(cad, 500, 40, 520, 200);
    TMyLinkLine* line = Link(cad, a, 1, b, 3);
    EXPECT_TRUE(line->Unroutable);
    EXPECT_EQ(cad.UnroutableLinks(), std::vector<int32_t>{line->ShapeId});
    EXPECT_EQ(reported, std::vector<TMyShape*>{line});
    EXPECT_EQ(line->ThePoints.front(), (TMyPoint{60, 20}));
    EXPECT_EQ(line->ThePoints.back(), (TMyPoint{400, 120}));
    EXPECT_TRUE(Orthogonal(*line));
    // The wall opens: the next move routes it and the report is gone.
    cad.Move(left, 0, 400);
    EXPECT_FALSE(line->Unroutable);
    EXPECT_TRUE(cad.UnroutableLinks().empty());
    EXPECT_EQ(reported.size(), 1u);
}

TEST(AvoidRouting, HopsOnlyOverTrueCrossingsWhateverTheDrawingOrder)
{
    test::MouseDriver m;
    TMyCAD& cad = m.cad;
    cad.SetHotShow(false);
    cad.GridOperation().SetGridShow(false);
    cad.SetLinkRouter(TLinkRouter::lrAvoiding);
    TMyShape* a = Box(cad, 20, 120, 60, 160);
    TMyShape* b = Box(cad, 300, 30, 340, 60);
    TMyShape* c = Box(cad, 300, 220, 340, 250);
    TMyShape* d = Box(cad, 130, 10, 170, 30);
    TMyShape* e = Box(cad, 130, 260, 170, 290);
    Box(cad, 240, 270, 280, 290);
    // Two routes the user shaped share a trunk out of a's right side; one
    // leaves it at x 200, the other at 240. A vertical connector crosses the
    // shared trunk at x 150.
    auto shaped = [](TMyLinkLine* l, TArrMyPoint pts) {
        l->ThePoints = std::move(pts);
        l->IsAutoMode = false;
    };
    shaped(Link(cad, a, 1, b, 3), {{60, 140}, {240, 140}, {240, 45}, {300, 45}});
    shaped(Link(cad, a, 1, c, 3), {{60, 140}, {200, 140}, {200, 235}, {300, 235}});
    Link(cad, d, 2, e, 0);
    // A connector drawn from the bottom box up onto the lower route ends on
    // it: a T-junction at (260, 235).
    cad.DeSelectedAllShapesByCode();
    cad.SetShapeTool(TDrawTool::SpLinkLine);
    m.Drag({260, 270}, {260, 236});
    cad.SetShapeTool(TDrawTool::SpSelecting);
    cad.DeSelectedAllShapesByCode();
    std::vector<TMyShape*> lines;
    for (const auto& s : cad.MyShapes) {
        if (dynamic_cast<TMyLinkLine*>(s.get())) lines.push_back(s.get());
    }
    ASSERT_EQ(lines.size(), 5u) << "the junction split the lower route in two";
    const int32_t r = dynamic_cast<TMyLinkLine*>(lines[0])->R;
    auto paint = [&] {
        cad.Invalidate();
        m.Settle();
        return cad.BackBuffer().Image().convertToFormat(QImage::Format_RGB32);
    };
    const QImage first = paint();
    auto inked = [&](int32_t x, int32_t y) { return m.Pixel(x, y) != clWhite; };
    // A hop leaves the line open on either side of the crossing and arcs
    // over it; elsewhere the line runs on unbroken.
    auto hopAt = [&](int32_t x, int32_t y) {
        bool arc = false;
        for (int32_t k = y - r; k < y; ++k) arc = arc || inked(x - r / 2, k);
        return arc && !inked(x - r / 2, y) && !inked(x + r / 2, y);
    };
    auto unbroken = [&](int32_t x, int32_t y) {
        for (int32_t k = x - r; k <= x + r; ++k) {
            if (!inked(k, y)) return false;
        }
        return true;
    };
    EXPECT_TRUE(hopAt(150, 140)) << "the crossing of the shared trunk";
    EXPECT_TRUE(unbroken(200, 140)) << "no hop where a route leaves the trunk";
    EXPECT_TRUE(unbroken(260, 235)) << "no hop at the junction";

    // The same drawing with the connectors stacked the other way round
    // paints the same pixels.
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) cad.BringToFront(*it, false);
    std::vector<TMyShape*> after;
    for (const auto& s : cad.MyShapes) {
        if (dynamic_cast<TMyLinkLine*>(s.get())) after.push_back(s.get());
    }
    ASSERT_EQ(after, std::vector<TMyShape*>(lines.rbegin(), lines.rend()));
    EXPECT_TRUE(paint() == first);

    // Asked for no hops, the trunk runs on unbroken over the crossing.
    cad.SetCrossLine(false);
    paint();
    EXPECT_TRUE(unbroken(150, 140));
}
