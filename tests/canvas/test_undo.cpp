// Undo and redo: the depth limit, each action taken back, and whole editing
// sessions that must end in exactly the document they started from.
#include "canvas/CanvasDrawing.h"
#include "support/ShapeState.h"

#include <gtest/gtest.h>

using namespace mycad;
using test::DocumentState;
using test::BoxByCode;

namespace {

std::vector<int32_t> StepIds(const TMyCAD& cad)
{
    std::vector<int32_t> ids;
    for (const TSavedShape& e : cad.UndoRedoShapes) ids.push_back(e.SavedUndoRedoId);
    return ids;
}

} // namespace

TEST(Undo, DepthLimitDropsTheOldestStep)
{
    TMyCAD cad;
    const int32_t a = BoxByCode(cad, 0, 0);
    cad.ClearAllUndoStuff();
    TMyShape* s = cad.GetShapeByID(a);
    for (int i = 0; i < 11; ++i) {
        s->SetTag(i);
        cad.PushtoUndoRedoShapeList({s}, ACT_CHANGE);
    }
    EXPECT_EQ(StepIds(cad), (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(cad.UndoRedoShapes.front().SavedShape->Tag(), 1) << "the first push's copy is gone";

    // An unknown action records nothing but still makes room.
    cad.PushtoUndoRedoShapeList({s}, QStringLiteral("ACT_NOTHING"));
    EXPECT_EQ(cad.GetUndoStepsCount(), 9);

    // Lowering the size drops the oldest steps beyond it; 0 switches undo off.
    cad.SetUndoRedoSize(4);
    EXPECT_EQ(cad.GetUndoStepsCount(), 4);
    EXPECT_EQ(cad.UndoRedoShapes.front().SavedShape->Tag(), 7);
    cad.SetUndoRedoSize(0);
    EXPECT_TRUE(cad.UndoRedoShapes.empty());
    cad.PushtoUndoRedoShapeList({s}, ACT_CHANGE);
    cad.SendToBack(s, true);
    EXPECT_TRUE(cad.UndoRedoShapes.empty());
    EXPECT_EQ(cad.PopFromUndoRedoShapeList(), -1);
    EXPECT_FALSE(cad.CanUndo());
    // Switched on again, an edit records its step.
    cad.SetUndoRedoSize(2);
    ASSERT_TRUE(cad.DeleteShapeById(a, true));
    EXPECT_EQ(test::UndoActions(cad), (std::vector<String>{ACT_DELETE}));
}

TEST(Undo, EachActionIsTakenBack)
{
    TMyCAD cad;
    const int32_t keep = BoxByCode(cad, 0, 0);
    const int32_t a = BoxByCode(cad, 20, 0);
    const int32_t b = BoxByCode(cad, 40, 0);
    const int32_t c = BoxByCode(cad, 60, 0);
    // One step adding three shapes: undone, all three are gone and the
    // result names the step before.
    cad.ClearAllUndoStuff();
    cad.PushtoUndoRedoShapeList({cad.GetShapeByID(keep)}, ACT_CHANGE);
    cad.PushtoUndoRedoShapeList({cad.GetShapeByID(a), cad.GetShapeByID(b), cad.GetShapeByID(c)}, ACT_ADD);
    EXPECT_EQ(cad.PopFromUndoRedoShapeList(), 0);
    EXPECT_EQ(test::Ids(cad), (std::vector<int32_t>{keep}));
    EXPECT_EQ(cad.PopFromUndoRedoShapeList(), -1);
    EXPECT_EQ(cad.PopFromUndoRedoShapeList(), -1) << "nothing left";
    EXPECT_EQ(test::Ids(cad), (std::vector<int32_t>{keep}));
}

TEST(Undo, LockedMemberRejoinsTheRestoredGroup)
{
    TMyCAD cad;
    const int32_t a = BoxByCode(cad, 0, 0);
    const int32_t b = BoxByCode(cad, 20, 0);
    const int32_t g = cad.GroupShapes({cad.GetShapeByID(a), cad.GetShapeByID(b)}, false);
    cad.GetShapeByID(b)->SetLocked(true);
    ASSERT_TRUE(cad.DeleteShapeById(g, true));
    ASSERT_EQ(test::Ids(cad), (std::vector<int32_t>{b}));
    EXPECT_EQ(cad.GetShapeByID(b)->ParentShapeNo, -1);

    cad.PopFromUndoRedoShapeList();
    // The locked member was never gone: one copy of it, back in the group.
    EXPECT_EQ(test::Ids(cad), (std::vector<int32_t>{b, a, g}));
    TMyShape* group = cad.GetShapeByID(g);
    EXPECT_EQ(group->ChildShapesNo, (TMyShapeNo{1, 0}));
    EXPECT_EQ(cad.GetShapeByID(b)->ParentShapeNo, 2);
    EXPECT_EQ(cad.GetShapeByID(a)->ParentShapeNo, 2);
    EXPECT_TRUE(cad.GetShapeByID(b)->Locked());
}

TEST(Undo, EditingSessionsEndInTheDocumentTheyStartedFrom)
{
    TMyCAD cad;
    const int32_t a = BoxByCode(cad, 10, 10, 20, 10);
    const int32_t b = BoxByCode(cad, 45, 30, 30, 15);
    const int32_t c = BoxByCode(cad, 25, 70, 10, 20);
    cad.GetShapeByID(b)->UserData().AddKeyandValue(QStringLiteral("k"), QStringLiteral("v"));
    const auto added = DocumentState(cad);

    // Align, flip, then take both back.
    cad.SelectShapeByCode(a, true);
    cad.SelectShapeByCode(b, false);
    cad.SelectShapeByCode(c, false);
    cad.AlignRight();
    cad.FlipHoriz(cad.GetShapeByID(b));
    const auto changed = DocumentState(cad);
    EXPECT_NE(changed, added);
    cad.PopFromUndoRedoShapeList();
    cad.PopFromUndoRedoShapeList();
    EXPECT_EQ(DocumentState(cad), added);

    // Redo walks forward again to exactly the changed document.
    EXPECT_TRUE(cad.CanRedo());
    EXPECT_TRUE(cad.Redo());
    EXPECT_TRUE(cad.Redo());
    EXPECT_FALSE(cad.Redo());
    EXPECT_EQ(DocumentState(cad), changed);
    cad.PopFromUndoRedoShapeList();
    cad.PopFromUndoRedoShapeList();
    EXPECT_EQ(DocumentState(cad), added);

    // Group, ungroup, undo, undo: back to the three loose shapes.
    const int32_t g = cad.GroupShapes({cad.GetShapeByID(a), cad.GetShapeByID(c)}, true);
    EXPECT_FALSE(cad.CanRedo()) << "a new change clears what was undone";
    cad.GetShapeByID(g)->UserData().AddKeyandValue(QStringLiteral("group"), QStringLiteral("data"));
    cad.UnGroupShape(cad.GetShapeByID(g), true);
    cad.PopFromUndoRedoShapeList(); // grouped again, with the group's data and name
    ASSERT_EQ(cad.GetShapesCount(), 4);
    TMyShape* regrouped = cad.GetShapeByNo(3);
    EXPECT_EQ(regrouped->UserData().GetValueByKey(QStringLiteral("group")), QStringLiteral("data"));
    EXPECT_EQ(regrouped->Name(), QStringLiteral("Shape") + QString::number(g));
    EXPECT_EQ(regrouped->ChildShapesNo, (TMyShapeNo{0, 2}));
    cad.PopFromUndoRedoShapeList(); // the older group step finds the new group
    EXPECT_EQ(DocumentState(cad), added);

    // ... and forward again: grouped, then loose.
    EXPECT_TRUE(cad.Redo());
    ASSERT_EQ(cad.GetShapesCount(), 4);
    EXPECT_EQ(cad.GetShapeByNo(0)->ParentShapeNo, 3);
    EXPECT_TRUE(cad.Redo());
    EXPECT_EQ(DocumentState(cad), added);

    // Delete two, undo, redo, undo: the same shapes with the same ids, at
    // the end of the list, in the order undo meets them.
    cad.SelectShapeByCode(a, true);
    cad.SelectShapeByCode(c, false);
    ASSERT_TRUE(cad.DeleteSelectedShapes());
    cad.PopFromUndoRedoShapeList();
    EXPECT_EQ(test::Ids(cad), (std::vector<int32_t>{b, a, c}));
    cad.Redo();
    EXPECT_EQ(test::Ids(cad), (std::vector<int32_t>{b}));
    cad.PopFromUndoRedoShapeList();
    EXPECT_EQ(test::Ids(cad).size(), 3u);
    EXPECT_EQ(cad.GetShapeByID(a)->ThePoints, (TArrMyPoint{{10, 10}, {30, 10}, {30, 20}, {10, 20}}));

    // Undoing everything leaves an empty drawing; redoing everything walks
    // forward through every step, the deletion undone last included.
    while (cad.CanUndo()) cad.PopFromUndoRedoShapeList();
    EXPECT_EQ(cad.GetShapesCount(), 0);
    EXPECT_EQ(cad.GetRedoStepsCount(), 6);
    for (int step = 0; step < 3; ++step) cad.Redo();
    EXPECT_EQ(DocumentState(cad), added);
    while (cad.CanRedo()) cad.Redo();
    EXPECT_EQ(test::Ids(cad), (std::vector<int32_t>{b}));
}
