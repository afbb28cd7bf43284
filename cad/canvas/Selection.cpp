// TMyCAD: the selection. It holds top-level shapes only, each once, in the
// order they were chosen; choosing a member of a group chooses the group.
#include "cad/canvas/MyCAD.h"

#include <algorithm>

namespace mycad {

void TMyCAD::AddWorkingShapes(TMyShape* shape)
{
    if (!shape) return;
    TMyShape* root = GetRootParentShape(shape);
    if (!root || IsInWorkingShape(root) >= 0) return;
    WorkingShapes.push_back(root);
}

void TMyCAD::RemoveWorkingShape(TMyShape* shape)
{
    const int32_t at = IsInWorkingShape(shape);
    if (at < 0) return;
    if (WorkingShape == shape) WorkingShape = nullptr;
    if (ChildWorkingShape == shape) ChildWorkingShape = nullptr;
    WorkingShapes.erase(WorkingShapes.begin() + at);
}

void TMyCAD::RemoveAllWorkingShapes()
{
    // The same as removing the first selected shape until none is left, in
    // one pass rather than one shift of the list per shape.
    ClearWorkingShapes();
}

int32_t TMyCAD::IsInWorkingShape(const TMyShape* shape) const
{
    if (!shape) return -1;
    const auto it = std::find(WorkingShapes.begin(), WorkingShapes.end(), shape);
    return it == WorkingShapes.end() ? -1 : static_cast<int32_t>(it - WorkingShapes.begin());
}

TMyShape* TMyCAD::GetSelectedShape() const
{
    return WorkingShapes.size() == 1 ? WorkingShapes.front() : nullptr;
}

void TMyCAD::SelectAllShapes()
{
    for (const auto& s : MyShapes) {
        if (s && !s->HasParentShape() && IsVisibleLayerByID(s->LayerId) && IsInWorkingShape(s.get()) < 0)
            WorkingShapes.push_back(s.get());
    }
    SelectAllWorkingShapes();
}

void TMyCAD::SelectAllShapesByLayerId(int32_t layerId)
{
    if (FCurrentLayerId == -1) return;
    for (const auto& s : MyShapes) {
        if (s && !s->HasParentShape() && s->LayerId == layerId && IsInWorkingShape(s.get()) < 0)
            WorkingShapes.push_back(s.get());
    }
    SelectAllWorkingShapes();
}

bool TMyCAD::SelectShapeByCode(int32_t id, bool clearFirst)
{
    TMyShape* shape = GetShapeByID(id);
    if (!shape) return false;
    if (clearFirst) RemoveAllWorkingShapes();
    AddWorkingShapes(shape);
    if (OnShapeSelected) OnShapeSelected(WorkingShapes.empty() ? nullptr : WorkingShapes.front(), shape);
    Invalidate();
    return true;
}

void TMyCAD::DeSelectedAllShapesByCode()
{
    RemoveAllWorkingShapes();
    Invalidate();
}

TMyRect TMyCAD::GetShapesLTRBinZoom(const TArrMyShapeRef& shapes) const
{
    const TMyRect box = GetShapesLTRB(shapes);
    auto zoomed = [this](float v) { return static_cast<float>(double(v) * FZoom); };
    return {zoomed(box.Left), zoomed(box.Top), zoomed(box.Right), zoomed(box.Bottom)};
}

} // namespace mycad
