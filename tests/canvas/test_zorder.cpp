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

} // namespace

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

// Undone, a move to the front or the back puts the shape back in its place,
// and every shape it passed in theirs; redone, it moves again.
TEST(CanvasZOrder, FrontAndBackMovesUndoToWhereTheShapesWere)
{
    for (const bool front : {true, false}) {
        for (const int32_t id : {0, 3, 4, 6}) {
            SCOPED_TRACE(testing::Message() << (front ? "front " : "back ") << id);
            TMyCAD cad;
            BuildDrawing(cad);
            const std::vector<ShapeRelations> original = Relations(cad);
            front ? cad.BringToFront(cad.GetShapeByID(id), true) : cad.SendToBack(cad.GetShapeByID(id), true);
            const std::vector<ShapeRelations> moved = Relations(cad);
            cad.PopFromUndoRedoShapeList();
            EXPECT_EQ(Relations(cad), original);
            ASSERT_TRUE(cad.Redo());
            EXPECT_EQ(Relations(cad), moved);
            cad.PopFromUndoRedoShapeList();
            EXPECT_EQ(Relations(cad), original);
        }
    }
}
