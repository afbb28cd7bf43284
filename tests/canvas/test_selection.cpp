// Selection by code, alignment, equal spacing and the single-shape transforms.
#include "canvas/CanvasDrawing.h"
#include "support/ShapeState.h"

#include <gtest/gtest.h>

using namespace mycad;

namespace {

using test::BoxByCode;

TMyRect BoxOf(TMyCAD& cad, int32_t id) { return cad.GetShapesLTRB({cad.GetShapeByID(id)}); }

} // namespace

TEST(Selection, MembersSelectTheirRootOnceAndCodeSelectionReports)
{
    TMyCAD cad;
    const int32_t a = BoxByCode(cad, 0, 0, 10, 10);
    const int32_t b = BoxByCode(cad, 20, 0, 10, 10);
    const int32_t c = BoxByCode(cad, 40, 0, 10, 10);
    const int32_t g = cad.GroupShapes({cad.GetShapeByID(a), cad.GetShapeByID(b)}, false);
    ASSERT_GE(g, 0);

    cad.DeSelectedAllShapesByCode();
    cad.AddWorkingShapes(cad.GetShapeByID(a));
    cad.AddWorkingShapes(cad.GetShapeByID(b));
    ASSERT_EQ(cad.GetSelectedShapesCount(), 1);
    EXPECT_EQ(cad.GetSelectedShape(), cad.GetShapeByID(g));
    EXPECT_EQ(cad.IsInWorkingShape(cad.GetShapeByID(a)), -1); // the member itself is never listed

    std::vector<std::pair<TMyShape*, TMyShape*>> events;
    cad.OnShapeSelected = [&](TMyShape* first, TMyShape* chosen) { events.emplace_back(first, chosen); };
    EXPECT_FALSE(cad.SelectShapeByCode(999, true));
    EXPECT_EQ(cad.GetSelectedShapesCount(), 1);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(cad.SelectShapeByCode(c, false));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].first, cad.GetShapeByID(g));
    EXPECT_EQ(events[0].second, cad.GetShapeByID(c));
    EXPECT_EQ(cad.GetSelectedShape(), nullptr); // two are selected

    cad.WorkingShape = cad.GetShapeByID(g);
    cad.RemoveWorkingShape(cad.GetShapeByID(g));
    EXPECT_EQ(cad.WorkingShape, nullptr);
    EXPECT_EQ(cad.IsInWorkingShape(cad.GetShapeByID(c)), 0);

    // Every top-level shape of a visible layer, on every layer.
    const int32_t other = cad.NewLayer(QStringLiteral("Hidden"), true);
    const int32_t d = BoxByCode(cad, 60, 0, 10, 10);
    cad.InVisibleLayerByID(other);
    cad.DeSelectedAllShapesByCode();
    cad.SelectAllShapes();
    EXPECT_EQ(cad.GetSelectedShapesCount(), 2);
    EXPECT_EQ(cad.IsInWorkingShape(cad.GetShapeByID(d)), -1);
    cad.DeSelectedAllShapesByCode();
    cad.SelectAllShapesByLayerId(other);
    ASSERT_EQ(cad.GetSelectedShapesCount(), 1);
    EXPECT_EQ(cad.GetSelectedShape(), cad.GetShapeByID(d));
}

TEST(Selection, AlignmentMovesByDocumentDistancesInOneStep)
{
    for (double zoom : {1.0, 2.0}) {
        TMyCAD cad;
        cad.SetZoom(zoom);
        const int32_t a = BoxByCode(cad, 10, 0, 20, 10);
        const int32_t b = BoxByCode(cad, 40, 30, 30, 10);
        const int32_t c = BoxByCode(cad, 25, 60, 10, 20);
        cad.ClearAllUndoStuff();

        cad.SelectShapeByCode(a, true);
        cad.AlignLeft();
        EXPECT_EQ(BoxOf(cad, a).Left, 10.0f);
        EXPECT_EQ(cad.GetUndoStepsCount(), 0) << "one selected shape: nothing at all";

        cad.SelectShapeByCode(b, false);
        cad.SelectShapeByCode(c, false);
        cad.AlignLeft();
        for (int32_t id : {a, b, c}) EXPECT_EQ(BoxOf(cad, id).Left, 10.0f) << zoom;
        EXPECT_EQ(BoxOf(cad, b).Right, 40.0f);
        ASSERT_EQ(cad.GetUndoStepsCount(), 1);
        EXPECT_EQ(cad.UndoRedoShapes.size(), 3u);
        for (const TSavedShape& e : cad.UndoRedoShapes) EXPECT_EQ(e.SavedAction, ACT_CHANGE);

        cad.AlignRight();
        for (int32_t id : {a, b, c}) EXPECT_EQ(BoxOf(cad, id).Right, 40.0f);
        cad.AlignBottom();
        for (int32_t id : {a, b, c}) EXPECT_EQ(BoxOf(cad, id).Bottom, 80.0f);
        cad.AlignTop(); // the tallest shape reaches up to 60
        for (int32_t id : {a, b, c}) EXPECT_EQ(BoxOf(cad, id).Top, 60.0f);
        // Centres on one vertical line through the middle of the common box.
        cad.AlignHorizontalCenter();
        for (int32_t id : {a, b, c}) EXPECT_FLOAT_EQ(cad.GetShapeByID(id)->GetCenterPoint().X, 25.0f);
        cad.AlignVerticalCenter();
        for (int32_t id : {a, b, c}) EXPECT_FLOAT_EQ(cad.GetShapeByID(id)->GetCenterPoint().Y, 70.0f);
        EXPECT_EQ(cad.GetUndoStepsCount(), 6);
    }
}

TEST(Selection, EqualSpacingBetweenTheOutermostShapes)
{
    TMyCAD cad;
    const int32_t left = BoxByCode(cad, 0, 0, 10, 10);
    const int32_t right = BoxByCode(cad, 100, 0, 10, 10);
    const int32_t middle = BoxByCode(cad, 40, 0, 10, 10);
    auto shapes = [&](std::initializer_list<int32_t> ids) {
        TArrMyShapeRef r;
        for (int32_t id : ids) r.push_back(cad.GetShapeByID(id));
        return r;
    };
    cad.ClearAllUndoStuff();
    cad.AverageWidth(shapes({left, right}));
    EXPECT_EQ(BoxOf(cad, middle).Left, 40.0f);
    // Gap (100 - 10 - 10) / 2 = 40 on each side of the middle one.
    cad.AverageWidth(shapes({right, middle, left}));
    EXPECT_EQ(BoxOf(cad, middle).Left, 50.0f);
    EXPECT_EQ(BoxOf(cad, left).Left, 0.0f);
    EXPECT_EQ(BoxOf(cad, right).Left, 100.0f);
    EXPECT_EQ(cad.GetUndoStepsCount(), 0);

    // Four shapes along y: the two in between are ordered by position, not
    // by their place in the list, and land on whole units.
    TMyCAD tall;
    const int32_t top = BoxByCode(tall, 0, 0, 10, 10);
    const int32_t low = BoxByCode(tall, 0, 61, 10, 20);
    const int32_t bottom = BoxByCode(tall, 0, 100, 10, 10);
    const int32_t high = BoxByCode(tall, 0, 15, 10, 10);
    TArrMyShapeRef four{tall.GetShapeByID(top), tall.GetShapeByID(low), tall.GetShapeByID(bottom),
                        tall.GetShapeByID(high)};
    tall.AverageHeight(four);
    // gap = (100 - 10 - 30) / 3 = 20: high to 30..40, low to 60..80.
    EXPECT_EQ(BoxOf(tall, high).Top, 30.0f);
    EXPECT_EQ(BoxOf(tall, low).Top, 60.0f);
}

TEST(Selection, MovingTurningTiltingAndLockingByCode)
{
    TMyCAD cad;
    cad.SetZoom(2.0);
    const int32_t a = BoxByCode(cad, 0, 0, 10, 10);
    const int32_t b = BoxByCode(cad, 20, 0, 10, 10);
    const int32_t g = cad.GroupShapes({cad.GetShapeByID(a), cad.GetShapeByID(b)}, false);
    TMyShape* group = cad.GetShapeByID(g);

    std::vector<float> moved;
    cad.OnShapeCodeDragging = [&](TMyShape*, float dx, float dy) { moved = {dx, dy}; };
    cad.Move(group, 10.0, 4.0); // device pixels: 5 and 2 document units
    EXPECT_EQ(moved, (std::vector<float>{10.0f, 4.0f}));
    EXPECT_EQ(BoxOf(cad, a).Left, 5.0f);
    EXPECT_EQ(BoxOf(cad, b).Top, 2.0f);
    EXPECT_EQ(BoxOf(cad, g).Left, 5.0f);

    // A locked member stays while its group moves; a locked group's frame
    // stays while its members move.
    cad.GetShapeByID(a)->SetLocked(true);
    cad.Move(group, 2.0, 0.0);
    EXPECT_EQ(BoxOf(cad, a).Left, 5.0f);
    EXPECT_EQ(BoxOf(cad, b).Left, 26.0f);
    cad.LockUnLockforShapes(group, true);
    EXPECT_TRUE(group->Locked());
    EXPECT_TRUE(cad.GetShapeByID(b)->Locked());
    cad.LockUnLockforShapes(group, false);
    EXPECT_FALSE(cad.GetShapeByID(a)->Locked());

    // A quarter turn of the group turns its members about the group's centre.
    float seen = 0.0f;
    cad.OnShapeCodeRotating = [&](TMyShape*, float angle) { seen = angle; };
    const TMyPoint centre = group->GetCenterPoint();
    const TMyPoint before = cad.GetShapeByID(b)->GetCenterPoint();
    ASSERT_NEAR(before.Y, centre.Y, 1e-3);
    cad.Rotate(group, static_cast<float>(std::numbers::pi / 2));
    EXPECT_FLOAT_EQ(seen, static_cast<float>(std::numbers::pi / 2));
    const TMyPoint memberCentre = cad.GetShapeByID(b)->GetCenterPoint();
    EXPECT_NEAR(memberCentre.X, centre.X, 1e-3);
    // What lay to the right of the centre now lies as far below it.
    EXPECT_NEAR(memberCentre.Y - centre.Y, before.X - centre.X, 1e-3);
    EXPECT_GT(before.X - centre.X, 5.0f);

    // Tilt turns by the angle between the two rays and says so.
    TMyCAD plain;
    const int32_t r = BoxByCode(plain, 0, 0, 10, 10);
    const float tilt = plain.Tilt(plain.GetShapeByID(r), {5, 5}, {15, 5}, {5, 15}, false);
    EXPECT_NEAR(tilt, std::numbers::pi / 2, 1e-6);
    EXPECT_EQ(plain.Tilt(nullptr, {0, 0}, {1, 0}, {0, 1}, false), 0.0f);
}

TEST(Selection, SizingKeepsTheOppositeSideAndScalesGroupMembers)
{
    // A plain rectangle pulled by its right-bottom corner keeps its left-top
    // corner; the text anchor keeps its place relative to the fixed corner.
    TMyCAD cad;
    const int32_t id = BoxByCode(cad, 10, 10, 20, 10);
    TMyShape* box = cad.GetShapeByID(id);
    box->TextOutPoint = {20, 30};
    cad.SizeShape(box, 2, {50, 30});
    EXPECT_EQ(BoxOf(cad, id).Left, 10.0f);
    EXPECT_EQ(BoxOf(cad, id).Right, 50.0f);
    EXPECT_EQ(BoxOf(cad, id).Bottom, 30.0f);
    EXPECT_FLOAT_EQ(box->TextOutPoint.X, 30.0f); // 10 + (20 - 10) * 40 / 20
    EXPECT_FLOAT_EQ(box->TextOutPoint.Y, 50.0f); // 10 + (30 - 10) * 20 / 10

    // A group pulled by handle 0 keeps handle 2 and scales every member.
    TMyCAD grouped;
    const int32_t a = BoxByCode(grouped, 0, 0, 10, 10);
    const int32_t b = BoxByCode(grouped, 30, 30, 10, 10);
    const int32_t g = grouped.GroupShapes({grouped.GetShapeByID(a), grouped.GetShapeByID(b)}, false);
    TMyShape* group = grouped.GetShapeByID(g);
    grouped.SizeShape(group, 0, {-40, -40}); // the frame doubles: 40 x 40 to 80 x 80
    EXPECT_EQ(BoxOf(grouped, g).Right, 40.0f);
    EXPECT_EQ(BoxOf(grouped, g).Bottom, 40.0f);
    EXPECT_EQ(BoxOf(grouped, g).Left, -40.0f);
    EXPECT_EQ(BoxOf(grouped, a).Left, -40.0f);
    EXPECT_EQ(BoxOf(grouped, a).Right, -20.0f);
    EXPECT_EQ(BoxOf(grouped, b).Left, 20.0f);
    EXPECT_EQ(BoxOf(grouped, b).Bottom, 40.0f);

    // Nothing for a locked shape or one that may not be sized.
    group->SetLocked(true);
    const auto before = test::DocumentState(grouped);
    grouped.SizeShape(group, 0, {-100, -100});
    EXPECT_EQ(test::DocumentState(grouped), before);
}

TEST(Selection, FlippingMirrorsTreesButNeverConnectors)
{
    TMyCAD cad;
    const int32_t a = BoxByCode(cad, 0, 0, 10, 10);
    const int32_t b = BoxByCode(cad, 30, 0, 10, 10);
    const int32_t g = cad.GroupShapes({cad.GetShapeByID(a), cad.GetShapeByID(b)}, false);
    test::TestConnector* link = test::AddConnector(cad, cad.GetShapeNoById(a), cad.GetShapeNoById(b));
    ASSERT_NE(link, nullptr);
    link->ThePoints = {{10, 5}, {30, 5}};
    cad.ClearAllUndoStuff();

    const auto before = test::DocumentState(cad);
    cad.FlipHoriz(link);
    cad.FlipVert(link);
    cad.FlipHoriz(nullptr);
    EXPECT_EQ(test::DocumentState(cad), before);
    EXPECT_EQ(cad.GetUndoStepsCount(), 0);

    // A group mirrors about its own centre: the members swap sides, and a
    // locked member stays where it is.
    cad.GetShapeByID(b)->SetLocked(true);
    cad.FlipHoriz(cad.GetShapeByID(g));
    EXPECT_EQ(BoxOf(cad, a).Left, 30.0f);
    EXPECT_EQ(BoxOf(cad, b).Left, 30.0f);
    EXPECT_EQ(cad.GetUndoStepsCount(), 1);
    EXPECT_EQ(cad.UndoRedoShapes.size(), 3u); // the group and both members
    cad.PopFromUndoRedoShapeList();
    EXPECT_EQ(BoxOf(cad, a).Left, 0.0f);
}
