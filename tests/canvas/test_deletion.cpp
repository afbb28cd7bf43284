#include "canvas/CanvasDrawing.h"

#include <gtest/gtest.h>

using namespace mycad;
using namespace mycad::test;

namespace {

// The drawing every deletion scenario starts from (list number: shape):
//   0 A               connector C1 ends here
//   1 M1  member of G, connector C2 starts here
//   2 M2  member of G, connector C3 ends here
//   3 G   group of 1 and 2
//   4 B               C1 starts here, C2 ends here
//   5 C1  4 -> 0
//   6 C2  1 -> 4
//   7 D               C3 starts here
//   8 C3  7 -> 2
// Ids equal the list numbers and names are "Shape" + id.
void BuildDrawing(TMyCAD& cad)
{
    for (int k = 0; k < 5; ++k) ASSERT_NE(AddRect(cad), nullptr);
    MakeGroup(cad, 3, {1, 2});
    ASSERT_NE(AddConnector(cad, 4, 0), nullptr);
    ASSERT_NE(AddConnector(cad, 1, 4), nullptr);
    ASSERT_NE(AddRect(cad), nullptr);
    ASSERT_NE(AddConnector(cad, 7, 2), nullptr);
    ASSERT_EQ(Ids(cad), (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    ASSERT_EQ(cad.GetShapeByNo(4)->LinkShapesNo, (TMyShapeNo{5, 6}));
}

struct DeletedEvent {
    int32_t Id;
    int32_t ShapeNo;
    int32_t Count;
    bool Listed;
    bool operator==(const DeletedEvent&) const = default;
};

std::ostream& operator<<(std::ostream& os, const DeletedEvent& e)
{
    return os << "id " << e.Id << " at " << e.ShapeNo << " of " << e.Count << (e.Listed ? " listed" : " unlisted");
}

void RecordDeletions(TMyCAD& cad, std::vector<DeletedEvent>& events)
{
    cad.OnShapeDeleted = [&cad, &events](TMyShape* s) {
        events.push_back({s->ShapeId, s->ShapeNo, cad.GetShapesCount(), cad.GetShapeNoInMyShapes(s) >= 0});
    };
}

} // namespace

TEST(CanvasDeletion, TheUndoStepHoldsCopiesOfTheShapeAndItsMembers)
{
    TMyCAD cad;
    BuildDrawing(cad);
    ASSERT_TRUE(cad.DeleteShapeById(4, true));
    EXPECT_EQ(NewestStepIds(cad), (std::vector<int32_t>{4}));
    EXPECT_EQ(cad.UndoRedoShapes.back().SavedShapeName, QStringLiteral("Shape4"));
    // The snapshot is a copy that keeps its number, not a listed shape.
    const TMyShape* saved = cad.UndoRedoShapes.back().SavedShape.get();
    EXPECT_EQ(saved->ShapeNo, 4);
    EXPECT_TRUE(saved->LinkShapesNo.empty());
    EXPECT_EQ(cad.GetShapeNoInMyShapes(saved), -1);

    // A group's step holds the group followed by all its members, locked or not.
    TMyCAD grouped;
    BuildDrawing(grouped);
    grouped.GetShapeByNo(2)->SetLocked(true);
    ASSERT_TRUE(grouped.DeleteShapeById(3, true));
    EXPECT_EQ(NewestStepIds(grouped), (std::vector<int32_t>{3, 1, 2}));
    EXPECT_EQ(grouped.GetRootParentShape(grouped.GetShapeByID(2)), grouped.GetShapeByID(2));
}

TEST(CanvasDeletion, LockedAndUnknownShapesAreRefusedWithoutAnyChange)
{
    TMyCAD cad;
    BuildDrawing(cad);
    cad.GetShapeByNo(0)->SetLocked(true);
    cad.GetShapeByNo(3)->SetLocked(true); // the group and its members
    std::vector<DeletedEvent> events;
    RecordDeletions(cad, events);
    cad.WorkingShapes = {cad.GetShapeByNo(4)};
    const std::vector<ShapeRelations> before = Relations(cad);

    EXPECT_FALSE(cad.DeleteShapeById(0, true));
    EXPECT_FALSE(cad.DeleteShapeById(3, true));
    EXPECT_FALSE(cad.DeleteShapeById(1, true));
    EXPECT_FALSE(cad.DeleteShapeById(9, true));
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(cad.GetUndoStepsCount(), 0);
    EXPECT_EQ(Relations(cad), before);
    EXPECT_EQ(cad.GetWorkingShapesCount(), 1);

    // A selection that holds a locked shape deletes nothing either.
    cad.WorkingShapes = {cad.GetShapeByNo(4), cad.GetShapeByNo(0)};
    EXPECT_FALSE(cad.DeleteSelectedShapes());
    EXPECT_EQ(cad.GetUndoStepsCount(), 0);
    EXPECT_EQ(Relations(cad), before);
}

TEST(CanvasDeletion, DeletingTheSelectionEqualsDeletingOneByOne)
{
    // Selections by id, in selection order: a group, the shape both
    // connectors join and the bottom shape; connectors with shapes around
    // them; a connector before the shapes it joins.
    const std::vector<std::vector<int32_t>> selections{{3, 4, 0}, {5, 7, 3}, {8, 0, 6, 4}, {6, 1}};
    for (bool withHandler : {false, true}) {
        for (const std::vector<int32_t>& selection : selections) {
            SCOPED_TRACE(::testing::Message() << (withHandler ? "with" : "without") << " a handler, selection of "
                                              << selection.size() << " starting with " << selection.front());
            std::vector<DeletedEvent> selectionEvents;
            std::vector<DeletedEvent> singleEvents;
            TMyCAD bySelection;
            TMyCAD oneByOne;
            BuildDrawing(bySelection);
            BuildDrawing(oneByOne);
            if (withHandler) {
                RecordDeletions(bySelection, selectionEvents);
                RecordDeletions(oneByOne, singleEvents);
            }
            for (int32_t id : selection) bySelection.WorkingShapes.push_back(bySelection.GetShapeByID(id));
            bySelection.WorkingShape = bySelection.WorkingShapes.back();
            RepaintRequested(bySelection);
            ASSERT_TRUE(bySelection.DeleteSelectedShapes());
            EXPECT_TRUE(RepaintRequested(bySelection));
            for (int32_t id : selection) EXPECT_TRUE(oneByOne.DeleteShapeById(id, false)) << id;

            EXPECT_EQ(Relations(bySelection), Relations(oneByOne));
            // Each handler sees the drawing as the deletions before it left it.
            EXPECT_EQ(selectionEvents, singleEvents);
            EXPECT_EQ(bySelection.GetWorkingShapesCount(), 0);
            EXPECT_EQ(bySelection.WorkingShape, nullptr);
            EXPECT_EQ(UndoActions(bySelection), (std::vector<String>{ACT_DELETE}));
            EXPECT_EQ(oneByOne.GetUndoStepsCount(), 0);
            if (selection != selections.front()) continue;

            EXPECT_EQ(Relations(bySelection), (std::vector<ShapeRelations>{

                Rel(5, -1, {}, {}, {-1, -1}), Rel(6, -1, {}, {}, {-1, -1}), Rel(7, -1, {}, {3}),

                Rel(8, -1, {}, {}, {2, -1})}));
            if (withHandler) {
                EXPECT_EQ(selectionEvents,
                          (std::vector<DeletedEvent>{{3, 3, 9, true}, {4, 1, 6, true}, {0, 0, 5, true}}));
            }
            // One step for the whole selection: last selected first, each
            // shape followed by its members.
            EXPECT_EQ(NewestStepIds(bySelection), (std::vector<int32_t>{0, 4, 3, 1, 2}));
        }
    }
}

TEST(CanvasDeletion, TheListCannotChangeFromInsideTheDeletedEvent)
{
    TMyCAD cad;
    BuildDrawing(cad);
    bool nestedDelete = true;
    bool nestedAdd = true;
    int32_t calls = 0;
    cad.OnShapeDeleted = [&](TMyShape* s) {
        ++calls;
        // The shape being deleted, and others, are out of reach here.
        nestedDelete = cad.DeleteShapeById(s->ShapeId, false) || cad.DeleteShapeById(7, false);
        nestedAdd = AddRect(cad) != nullptr;
        cad.DeleteAllShapes();
        cad.BringToFront(cad.GetShapeByNo(0), false);
    };
    ASSERT_TRUE(cad.DeleteShapeById(4, false));
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(nestedDelete);
    EXPECT_FALSE(nestedAdd);
    EXPECT_EQ(Ids(cad), (std::vector<int32_t>{0, 1, 2, 3, 5, 6, 7, 8}));
    EXPECT_EQ(cad.NextShapeId, 9);
    // Afterwards the list changes again.
    cad.OnShapeDeleted = nullptr;
    EXPECT_TRUE(cad.DeleteShapeById(7, false));
}
