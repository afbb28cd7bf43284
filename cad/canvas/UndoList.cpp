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

int32_t TMyCAD::GetUndoStepsCount() const
{
    return UndoRedoShapes.empty() ? 0 : UndoRedoShapes.back().SavedUndoRedoId + 1;
}

void TMyCAD::ClearAllUndoStuff() { UndoRedoShapes.clear(); }

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
    while (GetUndoStepsCount() > value) DropOldestUndoStep();
}

void TMyCAD::DropOldestUndoStep()
{
    if (UndoRedoShapes.empty()) return;
    const int32_t oldest = UndoRedoShapes.front().SavedUndoRedoId;
    const auto end = std::find_if(UndoRedoShapes.begin(), UndoRedoShapes.end(),
                                  [oldest](const TSavedShape& e) { return e.SavedUndoRedoId != oldest; });
    UndoRedoShapes.erase(UndoRedoShapes.begin(), end);
    for (TSavedShape& entry : UndoRedoShapes) --entry.SavedUndoRedoId;
}

void TMyCAD::AppendSnapshot(TMyShape& shape, int32_t stepId, const String& action)
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
    UndoRedoShapes.push_back(std::move(entry));
}

void TMyCAD::AppendWithDescendants(TMyShape& shape, int32_t stepId, const String& action)
{
    WalkShapeTree(*this, shape, TTreeOrder::ShapeFirst,
                  [&](TMyShape& s) { AppendSnapshot(s, stepId, action); });
}

void TMyCAD::AppendUngroupEntries(TMyShape& shape, int32_t stepId, const String& action)
{
    // Only a top-level group brings its members along; members are not
    // top-level, so the step holds the group and its direct members.
    WalkShapeTree(
        *this, shape, TTreeOrder::ShapeFirst, [&](TMyShape& s) { AppendSnapshot(s, stepId, action); },
        [](const TMyShape& s) { return s.HasChildShapes() && s.ParentShapeNo == -1; });
}

void TMyCAD::PushtoUndoRedoShapeList(const TArrMyShapeRef& shapes, const String& action)
{
    if (FUndoRedoSize == 0) return;
    if (GetUndoStepsCount() >= FUndoRedoSize) DropOldestUndoStep();
    const int32_t stepId = GetUndoStepsCount();
    if (action == ACT_ADD) {
        for (auto it = shapes.rbegin(); it != shapes.rend(); ++it) {
            if (*it) AppendSnapshot(**it, stepId, action);
        }
    } else if (action == ACT_DELETE || action == ACT_CHANGE) {
        for (auto it = shapes.rbegin(); it != shapes.rend(); ++it) {
            if (*it) AppendWithDescendants(**it, stepId, action);
        }
    } else if (action == ACT_UNGROUP) {
        if (!shapes.empty() && shapes.front()) AppendUngroupEntries(*shapes.front(), stepId, action);
    } else if (IsUndoActionName(action)) {
        if (!shapes.empty() && shapes.front()) AppendSnapshot(*shapes.front(), stepId, action);
    }
}

} // namespace mycad
