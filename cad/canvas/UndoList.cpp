// TMyCAD: recording undo steps. A step holds complete copies of the shapes
// it concerns; the list keeps at most UndoRedoSize steps and drops the oldest.
#include "cad/canvas/MyCAD.h"

#include "cad/canvas/TreeWalk.h"

#include <algorithm>

namespace mycad {

bool IsUndoActionName(const String& action)
{
    for (const String* name : {&ACT_ADD, &ACT_DELETE, &ACT_CHANGE, &ACT_GROUP, &ACT_UNGROUP, &ACT_BRINGTOFRONT,
                               &ACT_SENDTOBACK, &ACT_BRINGTOFRONTBYSTEP, &ACT_SENDTOBACKBYSTEP}) {
        if (*name == action) return true;
    }
    return false;
}

namespace {

int32_t StepsIn(const TArrSavedShape& list) { return list.empty() ? 0 : list.back().SavedUndoRedoId + 1; }

} // namespace

int32_t TMyCAD::GetUndoStepsCount() const { return StepsIn(UndoRedoShapes); }

int32_t TMyCAD::GetRedoStepsCount() const { return StepsIn(FRedoShapes); }

void TMyCAD::ClearAllUndoStuff()
{
    UndoRedoShapes.clear();
    FRedoShapes.clear();
}

void TMyCAD::SetUndoRedoSize(uint8_t value)
{
    if (value == FUndoRedoSize) return;
    FUndoRedoSize = value;
    if (value == 0) {
        ClearAllUndoStuff();
        return;
    }
    // A list longer than the new size would never again reach the size at
    // which it drops old steps, and would grow without bound.
    while (StepsIn(UndoRedoShapes) > value) DropOldestStep(UndoRedoShapes);
    while (StepsIn(FRedoShapes) > value) DropOldestStep(FRedoShapes);
}

void TMyCAD::DropOldestStep(TArrSavedShape& list)
{
    if (list.empty()) return;
    const int32_t oldest = list.front().SavedUndoRedoId;
    const auto end = std::find_if(list.begin(), list.end(),
                                  [oldest](const TSavedShape& e) { return e.SavedUndoRedoId != oldest; });
    list.erase(list.begin(), end);
    for (TSavedShape& entry : list) --entry.SavedUndoRedoId;
}

int32_t TMyCAD::BeginStep(TArrSavedShape& list)
{
    if (StepsIn(list) >= FUndoRedoSize) DropOldestStep(list);
    return StepsIn(list);
}

void TMyCAD::AppendSnapshot(TArrSavedShape& list, TMyShape& shape, int32_t stepId, const String& action)
{
    std::unique_ptr<TMyShape> copy = CreateShapeByName(shape.ClassName(), this);
    if (!copy) return;
    copy->Assign(shape);
    copy->LinkShapesNo.clear();
    TSavedShape entry;
    entry.SavedUndoRedoId = stepId;
    entry.SavedShapeName = shape.Name().left(kSavedShapeNameLength);
    entry.SavedShape = std::move(copy);
    entry.SavedAction = action;
    list.push_back(std::move(entry));
}

void TMyCAD::RecordStep(TArrSavedShape& list, const TArrMyShapeRef& shapes, const String& action)
{
    if (FUndoRedoSize == 0) return;
    const int32_t stepId = BeginStep(list);
    auto appendTree = [&](TMyShape& root, auto descend) {
        WalkShapeTree(
            *this, root, TTreeOrder::ShapeFirst, [&](TMyShape& s) { AppendSnapshot(list, s, stepId, action); },
            descend);
    };
    if (action == ACT_ADD) {
        for (auto it = shapes.rbegin(); it != shapes.rend(); ++it) {
            if (*it) AppendSnapshot(list, **it, stepId, action);
        }
    } else if (action == ACT_DELETE || action == ACT_CHANGE) {
        for (auto it = shapes.rbegin(); it != shapes.rend(); ++it) {
            if (*it) appendTree(**it, [](const TMyShape&) { return true; });
        }
    } else if (action == ACT_UNGROUP) {
        // Only a top-level group brings its members along; members are not
        // top-level, so the step holds the group and its direct members.
        if (!shapes.empty() && shapes.front())
            appendTree(*shapes.front(), [](const TMyShape& s) { return s.HasChildShapes() && s.ParentShapeNo == -1; });
    } else if (IsUndoActionName(action)) {
        if (!shapes.empty() && shapes.front()) AppendSnapshot(list, *shapes.front(), stepId, action);
    }
}

TArrSavedShape TMyCAD::SnapshotTree(TMyShape& shape)
{
    TArrSavedShape copies;
    WalkShapeTree(*this, shape, TTreeOrder::ShapeFirst,
                  [&](TMyShape& s) { AppendSnapshot(copies, s, 0, ACT_CHANGE); });
    return copies;
}

void TMyCAD::RestoreSnapshots(const TArrSavedShape& copies)
{
    for (const TSavedShape& e : copies) {
        if (!e.SavedShape) continue;
        if (TMyShape* live = GetShapeByID(e.SavedShape->ShapeId)) live->AssignWithoutRelation(*e.SavedShape);
    }
}

void TMyCAD::PushtoUndoRedoShapeList(const TArrMyShapeRef& shapes, const String& action)
{
    if (FUndoRedoSize == 0) return;
    // A new change makes the undone steps meaningless.
    if (!FReplaying) FRedoShapes.clear();
    RecordStep(UndoRedoShapes, shapes, action);
}

} // namespace mycad
