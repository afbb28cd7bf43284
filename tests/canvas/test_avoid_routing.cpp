// The canvas with the avoiding router on: connectors go round every shape,
// a moved shape re-routes only the connectors it touches, a segment the user
// placed stays on its line until the route is reset, and a connector that
// cannot be routed is reported, on a fallback route.
#include "support/LinkedBoxes.h"

#include "cad/connectors/LinkLine.h"
#include "cad/connectors/RouteStats.h"

#include <gtest/gtest.h>

using namespace mycad;

namespace {

constexpr auto Box = &test::LinkedBox;

constexpr auto Link = &test::LinkBoxes;

/// Segments of the route through the box grown by the router's margin (10).
int32_t Hits(const TMyLinkLine& line, const TMyShape& box)
{
    const TArrMyPoint& b = box.ThePoints;
    const TGridBox grown{double(b[0].X) - 10, double(b[0].Y) - 10, double(b[2].X) + 10, double(b[2].Y) + 10};
    int32_t hits = 0;
    for (size_t k = 0; k + 1 < line.ThePoints.size(); ++k) hits += SegmentEntersBox(line.ThePoints[k], line.ThePoints[k + 1], grown);
    return hits;
}

bool Orthogonal(const TMyLinkLine& line)
{
    const TArrMyPoint& p = line.ThePoints;
    for (size_t k = 0; k + 1 < p.size(); ++k) {
        if (p[k].X != p[k + 1].X && p[k].Y != p[k + 1].Y) return false;
    }
    return p.size() >= 2;
}

} // namespace

TEST(AvoidRouting, ConnectorsGoRoundEveryShapeOnlyWithTheAvoidingRouter)
{
    for (const TLinkRouter mode : {TLinkRouter::lrClassic, TLinkRouter::lrAvoiding}) {
        TMyCAD cad;
        cad.SetLinkRouter(mode);
        TMyShape* a = Box(cad, 0, 0, 60, 40);
        TMyShape* b = Box(cad, 400, 0, 460, 40);
        TMyShape* wall = Box(cad, 200, -100, 240, 140);
        TMyLinkLine* line = Link(cad, a, 1, b, 3);
        ASSERT_NE(line, nullptr);
        EXPECT_TRUE(Orthogonal(*line));
        EXPECT_EQ(line->ThePoints.front(), (TMyPoint{60, 20}));
        EXPECT_EQ(line->ThePoints.back(), (TMyPoint{400, 20}));
        if (mode == TLinkRouter::lrClassic) {
            EXPECT_GT(Hits(*line, *wall), 0) << "the classic walk goes round combined shapes only";
        } else {
            EXPECT_EQ(Hits(*line, *wall), 0);
            EXPECT_FALSE(line->Unroutable);
        }
    }
}

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
    ASSERT_GT(Hits(*top, *wall), 0);
    cad.SetLinkRouter(TLinkRouter::lrAvoiding);
    EXPECT_EQ(Hits(*top, *wall), 0) << "switching on routes every automatic connector again";
    const TArrMyPoint before = bottom->ThePoints;

    // The wall moves a little but stays clear of the bottom route: that
    // route keeps every point.
    cad.Move(wall, 10, 0);
    EXPECT_EQ(bottom->ThePoints, before);
    EXPECT_EQ(Hits(*top, *wall), 0);
    // Down onto the bottom route: it goes round.
    // (recorded, as a drag by the mouse records it)
    cad.PushtoUndoRedoShapeList({wall}, ACT_CHANGE);
    cad.Move(wall, 0, 200);
    EXPECT_NE(bottom->ThePoints, before);
    EXPECT_EQ(Hits(*bottom, *wall), 0);
    EXPECT_TRUE(Orthogonal(*bottom));
    // Undo puts the wall back; no route runs through it.
    cad.PopFromUndoRedoShapeList();
    EXPECT_EQ(wall->ThePoints[0], (TMyPoint{210, -100}));
    EXPECT_EQ(Hits(*bottom, *wall), 0);
    EXPECT_EQ(Hits(*top, *wall), 0);
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
