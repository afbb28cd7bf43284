#include "cad/shapes/PolyLine.h"
#include "shapes/FakeOwner.h"

#include <gtest/gtest.h>

#include <numbers>
#include <utility>

using namespace mycad;
using namespace mycad::test;

namespace {

constexpr double kPi = std::numbers::pi;

void AddDocPoints(TMyShape& s, std::initializer_list<TMyPoint> pts)
{
    for (const TMyPoint& p : pts) s.ThePoints.push_back(p);
}

} // namespace

TEST(ShapeGeometry, ZoomedPointsAreStoredAsDocumentValuesAndMappedForTheHost)
{
    FakeOwner owner;
    owner.zoom = 2.0;
    TMyShape s(&owner);
    s.AddPointByMouse({100, 50});
    ASSERT_EQ(s.GetPointsCount(), 1);
    EXPECT_EQ(s.ThePoints[0], (TMyPoint{50, 25}));
    EXPECT_EQ(s.GetPointInZoom(0), (TMyPoint{100, 50}));

    s.AddLinkPoint({30, 10});
    EXPECT_EQ(s.GetLinkPoint(0), (TMyPoint{15, 5}));
    s.SetPointInZoom(0, {8, 6});
    EXPECT_EQ(s.GetPoint(0), (TMyPoint{4, 3}));
    s.PointAddXY(0, 2, -2);
    EXPECT_EQ(s.GetPoint(0), (TMyPoint{5, 2}));
    s.LinkPointAddXY(0, 4, 4);
    EXPECT_EQ(s.GetLinkPointInZoom(0), (TMyPoint{34, 14}));

    // Outside the list: reads give the origin, writes change nothing.
    EXPECT_EQ(s.GetPoint(1), (TMyPoint{}));
    EXPECT_EQ(s.GetPoint(-1), (TMyPoint{}));
    EXPECT_EQ(s.GetLinkPoint(7), (TMyPoint{}));
    s.SetPoint(3, {9, 9});
    s.SetPointX(-1, 9);
    s.PointAddXY(5, 1, 1);
    s.SetLinkPoint(2, {9, 9});
    s.LinkPointAddXY(-3, 1, 1);
    EXPECT_EQ(s.GetPointsCount(), 1);
    EXPECT_EQ(s.GetPoint(0), (TMyPoint{5, 2}));
    EXPECT_EQ(s.GetLinkPointsCount(), 1);

    // Points as the host reads and gives them, on a 400 x 300 control.
    TMyShape h(&owner);
    AddDocPoints(h, {{10.5f, 20.5f}});
    TMyPolyLine line(&owner);
    const std::pair<TXYMode, TPoint> cases[] = {
        {TXYMode::Mode0, {10, 20}}, // ties to even
        {TXYMode::Mode1, {10, 280}},
        {TXYMode::Mode2, {390, 280}},
        {TXYMode::Mode3, {390, 20}},
    };
    for (const auto& [mode, expected] : cases) {
        owner.xyMode = mode;
        owner.zoom = 1.0;
        EXPECT_EQ(h.GetPointInZoomWithMode(0), expected) << static_cast<int>(mode);
        // A point the host appends is the inverse of that mapping, at any zoom.
        owner.zoom = 2.0;
        line.ThePoints.clear();
        line.AppendPoint({30, 40});
        EXPECT_EQ(line.GetPointInZoomWithMode(0), (TPoint{30, 40})) << static_cast<int>(mode);
    }
    EXPECT_EQ(line.ThePoints.front(), (TMyPoint{185, 20})); // Mode3: (400 - 30) / 2, 40 / 2
    EXPECT_EQ(h.GetPointInZoomWithMode(1), (TPoint{}));
    EXPECT_EQ(h.GetPointInZoomWithMode(-1), (TPoint{}));
}

TEST(ShapeGeometry, BoxQueriesCentreAndDragging)
{
    FakeOwner owner;
    TMyShape s(&owner);
    EXPECT_EQ(s.ComputeCenterPoint(4), (TMyPoint{})); // no points: the origin
    AddDocPoints(s, {{0, 0}, {10, 0}, {10, 20}});
    EXPECT_EQ(s.ComputeCenterPoint(4), (TMyPoint{5, 10}));
    for (const int corner : {0, 1, 2}) EXPECT_EQ(s.ComputeCenterPoint(corner), s.ThePoints[size_t(corner)]);
    EXPECT_EQ(s.ComputeCenterPoint(3), (TMyPoint{0, 20}));
    EXPECT_EQ(s.GetWidth(), 10.0f);
    EXPECT_EQ(s.GetHeight(), 20.0f);

    TPoint from{3, 4};
    TPoint to{3, 4};
    s.Drawed(from, to);
    EXPECT_EQ(s.CenterPoint, (TMyPoint{5, 10}));
    EXPECT_EQ(s.TextOutPoint, (TMyPoint{5, 30}));

    // Dragging moves everything by the device distance over the zoom.
    owner.zoom = 2.0;
    s.ThePoints = {{0, 0}, {10, 10}};
    s.LinkPoints.push_back({5, 5});
    s.CenterPoint = {7, 7};
    s.TextOutPoint = {1, 2};

    s.DragChangeValue({10, 10}, {10, 10});
    EXPECT_EQ(s.CenterPoint, (TMyPoint{7, 7}));
    EXPECT_EQ(s.ThePoints[1], (TMyPoint{10, 10}));

    s.DragChangeValue({10, 10}, {30, 4});
    EXPECT_EQ(s.ThePoints[0], (TMyPoint{10, -3}));
    EXPECT_EQ(s.ThePoints[1], (TMyPoint{20, 7}));
    EXPECT_EQ(s.LinkPoints[0], (TMyPoint{15, 2}));
    EXPECT_EQ(s.CenterPoint, (TMyPoint{17, 4}));
    EXPECT_EQ(s.TextOutPoint, (TMyPoint{11, -1}));
}

TEST(ShapeGeometry, RotationTurnsPointsFoldsTheAngleAndFramesGroupMembers)
{
    FakeOwner owner;
    TMyShape s(&owner);
    s.RotateChangeValueByAngle({0, 0}, 1.0); // no points: nothing at all
    EXPECT_EQ(s.Angle(), 0.0f);

    AddDocPoints(s, {{10, 0}});
    s.LinkPoints.push_back({0, 10});
    s.TextOutPoint = {20, 0};
    s.CenterPoint = {10, 0};
    s.RotateChangeValueByAngle({0, 0}, kPi / 2);
    EXPECT_NEAR(s.ThePoints[0].X, 0.0, 1e-5);
    EXPECT_NEAR(s.ThePoints[0].Y, 10.0, 1e-5); // clockwise on the screen
    EXPECT_NEAR(s.LinkPoints[0].X, -10.0, 1e-5);
    EXPECT_NEAR(s.TextOutPoint.Y, 20.0, 1e-5);
    EXPECT_NEAR(s.CenterPoint.Y, 10.0, 1e-5);

    TMyShape t(&owner);
    AddDocPoints(t, {{1, 1}, {5, 1}});
    t.SetAngle(0.3f);          // turns by 0.3 through the owner
    t.RotateChangeValueByAngle(t.GetCenterPoint(), 6.1);
    EXPECT_NEAR(t.Angle(), 6.4 - 2 * kPi, 1e-5);

    // Without points the written angle is stored and nothing turns.
    TMyShape u(&owner);
    u.SetAngle(1.25f);
    EXPECT_EQ(u.Angle(), 1.25f);

    // Members of a turned group scale in the group's frame.
    TMyShape group(&owner);
    TMyShape member(&owner);
    owner.Add(group);
    owner.Add(member);
    member.ParentShapeNo = 0;
    group.ChildShapesNo = {1};
    AddDocPoints(member, {{0, 0}, {10, 0}});
    AddDocPoints(group, {{0, 0}, {10, 0}});
    group.RotateChangeValueByAngle({0, 0}, 0.25);
    member.RotateChangeValueByAngle({0, 0}, 0.5); // its own angle differs from the group's
    const TMyPoint before = member.ThePoints[1];
    member.SizeChangeValueByScale(2.0, 1.0, {0, 0}, {0, 0}, {});
    // Scaled along the group's axis (0.25), not the member's (0.75).
    const TMyPoint q = RotateAPoint(before, {0, 0}, -0.25f);
    const TMyPoint expected = RotateAPoint({q.X * 2, q.Y}, {0, 0}, 0.25f);
    EXPECT_NEAR(member.ThePoints[1].X, expected.X, 1e-4);
    EXPECT_NEAR(member.ThePoints[1].Y, expected.Y, 1e-4);
}

TEST(ShapeGeometry, OffsettingAndRemovingAllPointsAndLinkShapeNumbers)
{
    FakeOwner owner;
    owner.zoom = 2.0; // offsets are document units, whatever the zoom
    TMyShape s(&owner);
    AddDocPoints(s, {{1, 2}, {-3, 4.5f}});
    s.LinkPoints = {{10, 10}};
    s.TextOutPoint = {5, 6};
    s.CenterPoint = {7, 8};
    OffsetAllPoints(s, 0.5, -2);
    EXPECT_EQ(s.ThePoints, (TArrMyPoint{{1.5f, 0}, {-2.5f, 2.5f}}));
    EXPECT_EQ(s.LinkPoints, (TArrMyPoint{{10.5f, 8}}));
    EXPECT_EQ(s.TextOutPoint, (TMyPoint{5.5f, 4}));
    EXPECT_EQ(s.CenterPoint, (TMyPoint{7, 8}));
    RemoveAllPoints(s);
    EXPECT_TRUE(s.ThePoints.empty());
    EXPECT_EQ(s.LinkPoints.size(), 1u);

    // Connector numbers are listed once each when added.
    EXPECT_EQ(AddLinklineShape(s, 7), 0);
    EXPECT_EQ(AddLinklineShape(s, 3), 1);
    EXPECT_EQ(AddLinklineShape(s, 7), 0);
    EXPECT_EQ(s.LinkShapesNo, (TMyShapeNo{7, 3}));
    EXPECT_TRUE(s.HasLinkShapes());
    s.LinkShapesNo = {7, 3, 7, 5};
    RemoveLinklineShape(s, 7);
    EXPECT_EQ(s.LinkShapesNo, (TMyShapeNo{7, 3, 5}));
}
