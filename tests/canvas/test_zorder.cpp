#include "canvas/CanvasDrawing.h"

#include <gtest/gtest.h>

using namespace mycad;
using namespace mycad::test;

namespace {

// The drawing of the z-order scenarios (list number: shape):
//   0 A           connector C starts here
//   1 M1  member of G
//   2 M2  member of G
//   3 G   group of 1 and 2
//   4 B           C ends here
//   5 C   0 -> 4
//   6 D
// Ids equal the list numbers.
void BuildDrawing(TMyCAD& cad)
{
    for (int k = 0; k < 5; ++k) ASSERT_NE(AddRect(cad), nullptr);
    MakeGroup(cad, 3, {1, 2});
    ASSERT_NE(AddConnector(cad, 0, 4), nullptr);
    ASSERT_NE(AddRect(cad), nullptr);
    ASSERT_EQ(Ids(cad), (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6}));
}

// Moving to the front as a walk of single swaps with the next shape
// without parent, on a second canvas, to compare with.
void BringToFrontBySwaps(TMyCAD& cad, TMyShape* shape)
{
    int32_t guard = cad.GetShapesCount();
    while (TMyShape* next = cad.GetNextSingleorRootShape(shape->ShapeNo)) {
        ASSERT_EQ(cad.SwapShape(shape, next), next);
        ASSERT_GE(--guard, 0);
    }
}

void SendToBackBySwaps(TMyCAD& cad, TMyShape* shape)
{
    int32_t guard = cad.GetShapesCount();
    while (TMyShape* prev = cad.GetPrevSingleorRootShape(shape->ShapeNo)) {
        ASSERT_EQ(cad.SwapShape(shape, prev), prev);
        ASSERT_GE(--guard, 0);
    }
}

} // namespace

TEST(CanvasZOrder, BringingToFrontPassesOnlyShapesWithoutParent)
{
    TMyCAD cad;
    TMyCAD bySwaps;
    BuildDrawing(cad);
    BuildDrawing(bySwaps);
    const std::vector<ShapeRelations> original = Relations(cad);
    RepaintRequested(cad);

    cad.BringToFront(cad.GetShapeByID(0), true);
    BringToFrontBySwaps(bySwaps, bySwaps.GetShapeByID(0));
    EXPECT_TRUE(RepaintRequested(cad));
    // A passes G, B, C and D; the members stay where they are, now naming G
    // at 0, and C still joins A and B at their new places.
    EXPECT_EQ(Relations(cad), (std::vector<ShapeRelations>{
        Rel(3, -1, {1, 2}, {}), Rel(1, 0, {}, {}), Rel(2, 0, {}, {}), Rel(4, -1, {}, {4}), Rel(5, -1, {}, {}, {6, 3}),
        Rel(6, -1, {}, {}), Rel(0, -1, {}, {4})}));
    EXPECT_EQ(Relations(cad), Relations(bySwaps));
    EXPECT_EQ(UndoActions(cad), (std::vector<String>{ACT_BRINGTOFRONT}));
    EXPECT_EQ(NewestStepIds(cad), (std::vector<int32_t>{0}));

    // One step up from the top neither moves, repaints nor records.
    cad.BringToFrontByStep(cad.GetShapeByID(0), true);
    EXPECT_FALSE(RepaintRequested(cad));
    EXPECT_EQ(cad.GetUndoStepsCount(), 1);

    // Sending it back passes the same shapes the other way: the drawing is
    // as it was.
    cad.SendToBack(cad.GetShapeByID(0), true);
    SendToBackBySwaps(bySwaps, bySwaps.GetShapeByID(0));
    EXPECT_TRUE(RepaintRequested(cad));
    EXPECT_EQ(Relations(cad), original);
    EXPECT_EQ(Relations(bySwaps), original);
    EXPECT_EQ(UndoActions(cad).back(), ACT_SENDTOBACK);
}

TEST(CanvasZOrder, StepsSwapWithTheNeighbourWithoutParent)
{
    TMyCAD cad;
    BuildDrawing(cad);
    RepaintRequested(cad);

    // One step up from A passes the whole group G at once (its members are
    // not neighbours of A in drawing order).
    cad.BringToFrontByStep(cad.GetShapeByID(0), true);
    EXPECT_TRUE(RepaintRequested(cad));
    EXPECT_EQ(Relations(cad), (std::vector<ShapeRelations>{
        Rel(3, -1, {1, 2}, {}), Rel(1, 0, {}, {}), Rel(2, 0, {}, {}), Rel(0, -1, {}, {5}), Rel(4, -1, {}, {5}),
        Rel(5, -1, {}, {}, {3, 4}), Rel(6, -1, {}, {})}));
    EXPECT_EQ(UndoActions(cad), (std::vector<String>{ACT_BRINGTOFRONTBYSTEP}));

    // One step down from D passes the connector.
    cad.SendToBackByStep(cad.GetShapeByID(6), true);
    EXPECT_TRUE(RepaintRequested(cad));
    EXPECT_EQ(Ids(cad), (std::vector<int32_t>{3, 1, 2, 0, 4, 6, 5}));
    EXPECT_EQ(ConnectorAt(cad, 6)->FStartSpNo, 3);
    EXPECT_EQ(ConnectorAt(cad, 6)->FEndSpNo, 4);
    EXPECT_EQ(cad.GetShapeByID(0)->LinkShapesNo, (TMyShapeNo{6}));
    EXPECT_EQ(cad.GetShapeByID(4)->LinkShapesNo, (TMyShapeNo{6}));
    EXPECT_EQ(UndoActions(cad), (std::vector<String>{ACT_BRINGTOFRONTBYSTEP, ACT_SENDTOBACKBYSTEP}));
    EXPECT_EQ(NewestStepIds(cad), (std::vector<int32_t>{6}));

    // The bottom shape has nothing below it.
    cad.SendToBackByStep(cad.GetShapeByID(3), true);
    EXPECT_FALSE(RepaintRequested(cad));
    EXPECT_EQ(cad.GetUndoStepsCount(), 2);
    EXPECT_EQ(Ids(cad), (std::vector<int32_t>{3, 1, 2, 0, 4, 6, 5}));

    // No shape: nothing at all.
    cad.BringToFront(nullptr, true);
    cad.SendToBack(nullptr, true);
    cad.BringToFrontByStep(nullptr, true);
    cad.SendToBackByStep(nullptr, true);
    EXPECT_FALSE(RepaintRequested(cad));
    EXPECT_EQ(cad.GetUndoStepsCount(), 2);
}
