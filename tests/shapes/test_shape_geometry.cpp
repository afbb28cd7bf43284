#include "cad/shapes/PolyLine.h"
#include "shapes/FakeOwner.h"

#include <gtest/gtest.h>

#include <numbers>
#include <utility>

using namespace mycad;
using mycad::test::FakeOwner;

namespace {

constexpr double kPi = std::numbers::pi;

void AddDocPoints(TMyShape& s, std::initializer_list<TMyPoint> pts)
{
    for (const TMyPoint& p : pts) s.ThePoints.push_back(p);
}

} // namespace

TEST(ShapeGeometry, ZoomedPointsAreStoredAsDocumentValues)
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
}

TEST(ShapeGeometry, PointsAsTheHostReadsAndGivesThem)
{
    FakeOwner owner; // 400 x 300
    TMyShape s(&owner);
    AddDocPoints(s, {{10.5f, 20.5f}});
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
        EXPECT_EQ(s.GetPointInZoomWithMode(0), expected) << static_cast<int>(mode);
        // A point the host appends is the inverse of that mapping, at any zoom.
        owner.zoom = 2.0;
        line.ThePoints.clear();
        line.AppendPoint({30, 40});
        EXPECT_EQ(line.GetPointInZoomWithMode(0), (TPoint{30, 40})) << static_cast<int>(mode);
    }
    EXPECT_EQ(line.ThePoints.front(), (TMyPoint{185, 20})); // Mode3: (400 - 30) / 2, 40 / 2
    EXPECT_EQ(s.GetPointInZoomWithMode(1), (TPoint{}));
    EXPECT_EQ(s.GetPointInZoomWithMode(-1), (TPoint{}));
}

TEST(ShapeGeometry, BoxQueriesAndCentre)
{
    FakeOwner owner;
    TMyShape s(&owner);
    EXPECT_EQ(s.ComputeCenterPoint(4), (TMyPoint{})); // no points: the origin
    AddDocPoints(s, {{0, 0}, {10, 0}, {10, 20}});
    EXPECT_EQ(s.ComputeCenterPoint(4), (TMyPoint{5, 10}));
    EXPECT_EQ(s.ComputeCenterPoint(0), (TMyPoint{0, 0}));
    EXPECT_EQ(s.ComputeCenterPoint(1), (TMyPoint{10, 0}));
    EXPECT_EQ(s.ComputeCenterPoint(2), (TMyPoint{10, 20}));
    EXPECT_EQ(s.ComputeCenterPoint(3), (TMyPoint{0, 20}));
    EXPECT_EQ(s.GetWidth(), 10.0f);
    EXPECT_EQ(s.GetHeight(), 20.0f);

    TPoint from{3, 4};
    TPoint to{3, 4};
    s.Drawed(from, to);
    EXPECT_EQ(s.CenterPoint, (TMyPoint{5, 10}));
    EXPECT_EQ(s.TextOutPoint, (TMyPoint{5, 30}));
}

TEST(ShapeGeometry, DraggingMovesEverythingByTheDeviceDistanceOverZoom)
{
    FakeOwner owner;
    owner.zoom = 2.0;
    TMyShape s(&owner);
    AddDocPoints(s, {{0, 0}, {10, 10}});
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

TEST(ShapeGeometry, RotationTurnsPointsAndFoldsTheAngle)
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
    EXPECT_NEAR(t.Angle(), 0.117, 1e-3);

    // Without points the written angle is stored and nothing turns.
    TMyShape u(&owner);
    u.SetAngle(1.25f);
    EXPECT_EQ(u.Angle(), 1.25f);
}

TEST(ShapeGeometry, WritingTheAngleTurnsByTheValueAboutTheRootCentre)
{
    FakeOwner owner;
    TMyShape group(&owner);
    TMyShape member(&owner);
    owner.Add(group);
    owner.Add(member);
    AddDocPoints(group, {{0, 0}, {20, 20}});
    group.CenterPoint = {10, 10};
    AddDocPoints(member, {{20, 10}});
    member.ParentShapeNo = group.ShapeNo;
    group.ChildShapesNo = {static_cast<uint32_t>(member.ShapeNo)};

    member.SetAngle(static_cast<float>(kPi / 2));
    EXPECT_NEAR(member.ThePoints[0].X, 10.0, 1e-5);
    EXPECT_NEAR(member.ThePoints[0].Y, 20.0, 1e-5);
    member.SetAngle(static_cast<float>(kPi / 2)); // by, not to: turns again
    EXPECT_NEAR(member.ThePoints[0].X, 0.0, 1e-5);
    EXPECT_NEAR(member.Angle(), kPi, 1e-5);
}

TEST(ShapeGeometry, FlippingMirrorsAboutTheRootCentre)
{
    FakeOwner owner;
    TMyShape s(&owner);
    owner.Add(s);
    AddDocPoints(s, {{0, 0}, {10, 4}});
    s.CenterPoint = {6, 2};
    s.TextOutPoint = {1, 8};

    s.FlipHoriz();
    EXPECT_EQ(s.Angle(), 0.0f);
    EXPECT_EQ(s.ThePoints[0], (TMyPoint{12, 0}));
    EXPECT_EQ(s.ThePoints[1], (TMyPoint{2, 4}));
    EXPECT_EQ(s.TextOutPoint, (TMyPoint{11, 8}));
    EXPECT_TRUE(s.IsFlipHorz());

    s.RotateChangeValueByAngle(s.CenterPoint, 0.5);
    s.FlipHoriz();
    EXPECT_NEAR(s.Angle(), kPi - 0.5, 1e-6);
    EXPECT_FALSE(s.IsFlipHorz());

    s.FlipVert();
    EXPECT_NEAR(s.Angle(), -(kPi - 0.5), 1e-6);
    EXPECT_TRUE(s.IsFlipVert());

    // The property mirrors on every write, whatever the value written.
    TMyShape t(&owner);
    AddDocPoints(t, {{0, 0}, {10, 4}});
    t.CenterPoint = {3, 2};
    const int32_t flipsBefore = owner.flipsHoriz;
    t.SetIsFlipHorz(true);
    EXPECT_TRUE(t.IsFlipHorz());
    t.SetIsFlipHorz(true);
    EXPECT_FALSE(t.IsFlipHorz());
    EXPECT_EQ(owner.flipsHoriz - flipsBefore, 2);
    EXPECT_EQ(t.ThePoints[0], (TMyPoint{0, 0}));
    EXPECT_EQ(t.ThePoints[1], (TMyPoint{10, 4}));
}

TEST(ShapeGeometry, RotatedAngleBetweenTwoRays)
{
    FakeOwner owner;
    TMyShape s(&owner);
    const TMyPoint c{0, 0};
    EXPECT_NEAR(s.GetRotatedAngle({10, 0}, {0, 10}, c, false), kPi / 2, 1e-12);
    EXPECT_NEAR(s.GetRotatedAngle({0, 10}, {10, 0}, c, false), -kPi / 2, 1e-12);
    EXPECT_NEAR(s.GetRotatedAngle({10, 0}, {-10, 10}, c, false), 3 * kPi / 4, 1e-12);
    EXPECT_NEAR(s.GetRotatedAngle({10, 0}, {-10, -10}, c, false), 5 * kPi / 4, 1e-12);
    EXPECT_NEAR(s.GetRotatedAngle({10, 0}, {10, -10}, c, false), 7 * kPi / 4, 1e-12);
    EXPECT_NEAR(s.GetRotatedAngle({10, 0}, {0, -10}, c, false), 3 * kPi / 2, 1e-12);
    EXPECT_NEAR(s.GetRotatedAngle({10, 0}, {-10, 0}, c, false), kPi, 1e-12);
    // A point on the centre has the direction 0.
    EXPECT_NEAR(s.GetRotatedAngle({0, 10}, {0, 0}, c, false), -kPi / 2, 1e-12);
    EXPECT_NEAR(s.GetRotatedAngle({0, 0}, {0, 10}, c, false), kPi / 2, 1e-12);

    owner.rotateConstraintDegree = 15;
    EXPECT_NEAR(s.GetRotatedAngle({10, 0}, {10, 2}, c, true), 15 * kPi / 180, 1e-12);
    EXPECT_EQ(s.GetRotatedAngle({10, 0}, {10, 1}, c, true), 0.0);
    EXPECT_NEAR(s.GetRotatedAngle({10, 0}, {10, 2}, c, false), std::atan(0.2), 1e-12);
    owner.rotateConstraintDegree = 0; // no constraint: snap does nothing
    EXPECT_NEAR(s.GetRotatedAngle({10, 0}, {10, 2}, c, true), std::atan(0.2), 1e-12);
}

TEST(ShapeGeometry, MagicPointLeavesByTheNearestSide)
{
    FakeOwner owner;
    owner.zoom = 2.0;
    TMyShape target(&owner);
    AddDocPoints(target, {{0, 0}, {50, 25}}); // zoomed box 0,0 - 100,50
    TMyShape s(&owner);
    EXPECT_EQ(s.GetMagicPoint(&target, {10, 25}), (TMyPoint{-50, 25}));
    EXPECT_EQ(s.GetMagicPoint(&target, {95, 25}), (TMyPoint{150, 25}));
    EXPECT_EQ(s.GetMagicPoint(&target, {50, 3}), (TMyPoint{50, -50}));
    EXPECT_EQ(s.GetMagicPoint(&target, {50, 45}), (TMyPoint{50, 100}));
    // Ties: bottom over top over right over left.
    EXPECT_EQ(s.GetMagicPoint(&target, {50, 25}), (TMyPoint{50, 100}));
    EXPECT_EQ(s.GetMagicPoint(&target, {5, 5}), (TMyPoint{5, -50}));
    EXPECT_EQ(s.GetMagicPoint(&target, {95, 5}), (TMyPoint{95, -50}));
    EXPECT_EQ(s.GetMagicPoint(&target, {95, 45}), (TMyPoint{95, 100}));
}

TEST(ShapeGeometry, UnrotatedSizeAndScaling)
{
    FakeOwner owner;
    TMyShape s(&owner);
    AddDocPoints(s, {{0, 0}, {40, 0}, {40, 20}, {0, 20}});
    s.CenterPoint = s.ComputeCenterPoint(4);
    s.TextOutPoint = {20, 30};
    s.RotateChangeValueByAngle(s.CenterPoint, kPi / 6);
    EXPECT_NEAR(s.GetMyWidth(), 40.0, 1e-4);
    EXPECT_NEAR(s.GetMyHeight(), 20.0, 1e-4);
    EXPECT_GT(s.GetWidth(), 40.0f);

    // Doubling the width in the shape's own frame, about its first corner.
    const TMyPoint c = s.CenterPoint;
    const TMyPoint o = RotateAPoint(s.ThePoints[0], c, -s.Angle());
    s.SizeChangeValueByScale(2.0, 1.0, o, c, {});
    EXPECT_NEAR(s.GetMyWidth(), 80.0, 1e-3);
    EXPECT_NEAR(s.GetMyHeight(), 20.0, 1e-3);
    EXPECT_NEAR(s.ThePoints[0].X, RotateAPoint(o, c, s.Angle()).X, 1e-4); // the origin stays
    EXPECT_EQ(s.CenterPoint, s.ComputeCenterPoint(4));
    const TMyPoint text = RotateAPoint(s.TextOutPoint, c, -s.Angle());
    EXPECT_NEAR(text.X, o.X + (20.0 - 0.0) * 2.0, 1e-3); // the anchor scales with the shape
}

TEST(ShapeGeometry, MembersOfATurnedGroupScaleInTheGroupFrame)
{
    FakeOwner owner;
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

TEST(ShapeGeometry, LinkShapeNumbers)
{
    FakeOwner owner;
    TMyShape s(&owner);
    EXPECT_EQ(AddLinklineShape(s, 7), 0);
    EXPECT_EQ(AddLinklineShape(s, 3), 1);
    EXPECT_EQ(AddLinklineShape(s, 7), 0);
    EXPECT_EQ(s.LinkShapesNo, (TMyShapeNo{7, 3}));
    EXPECT_TRUE(s.HasLinkShapes());
    s.LinkShapesNo = {7, 3, 7, 5};
    RemoveLinklineShape(s, 7);
    EXPECT_EQ(s.LinkShapesNo, (TMyShapeNo{7, 3, 5}));
    RemoveLinklineShape(s, 42);
    EXPECT_EQ(s.LinkShapesNo, (TMyShapeNo{7, 3, 5}));
    EXPECT_TRUE(s.ConnectorEndRefs().empty());
}

TEST(ShapeGeometry, OffsettingAndRemovingAllPoints)
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
    // Computed in double, stored as float: a tiny offset of a large value is lost.
    s.ThePoints = {{16777216.0f, 0}};
    OffsetAllPoints(s, 1.0, 0);
    EXPECT_EQ(s.ThePoints[0].X, 16777216.0f);
    RemoveAllPoints(s);
    EXPECT_TRUE(s.ThePoints.empty());
    EXPECT_EQ(s.LinkPoints.size(), 1u);
}
