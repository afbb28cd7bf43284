// TMyCAD: making and dissolving groups. A group is a TMyGroup entry appended
// on top of the drawing whose frame is its members' bounding box; the members
// keep their list places and layers and point at the group by ParentShapeNo.
#include "cad/canvas/MyCAD.h"

#include "cad/canvas/ProcessingScope.h"
#include "cad/shapes/Group.h"

#include <algorithm>
#include <unordered_set>

namespace mycad {

int32_t TMyCAD::GroupShapes(const TArrMyShapeRef& shapes, bool pushUndo)
{
    if (shapes.empty() || !shapes.front()) return -1;
    const int32_t layer = shapes.front()->LayerId;
    TArrMyShapeRef members;
    std::unordered_set<const TMyShape*> seen;
    for (TMyShape* s : shapes) {
        if (!s || s->LayerId != layer || !s->Visible()) return -1;
        // A shape that is already a member, or not in this drawing, would
        // end up listed by two groups or by none.
        if (s->HasParentShape() || ListedNo(s) < 0) return -1;
        if (seen.insert(s).second) members.push_back(s);
    }

    const TMyRect box = GetShapesLTRBinZoom(members);
    std::unique_ptr<TMyShape> group = std::make_unique<TMyGroup>(this);
    group->AddPoint({box.Left, box.Top});
    group->AddPoint({box.Right, box.Top});
    group->AddPoint({box.Right, box.Bottom});
    group->AddPoint({box.Left, box.Bottom});
    AllocateShapeNoIdName(*group, true);
    for (const TMyShape* m : members) group->ChildShapesNo.push_back(static_cast<uint32_t>(m->ShapeNo));
    std::sort(group->ChildShapesNo.begin(), group->ChildShapesNo.end());
    group->CenterPoint = group->ComputeCenterPoint(4);
    group->TextOutPoint = {group->CenterPoint.X, group->GetRightBottom().Y + 10.0f};
    group->ParentShapeNo = -1;

    TMyShape* added = group.get();
    if (!AddShape(group, false, false)) return -1;
    for (TMyShape* m : members) m->ParentShapeNo = added->ShapeNo;
    if (pushUndo) PushtoUndoRedoShapeList({added}, ACT_GROUP);
    RemoveAllWorkingShapes();
    WorkingShapes.push_back(added);
    WorkingShape = added;
    Invalidate();
    return added->ShapeId;
}

void TMyCAD::UnGroupShape(TMyShape* shape, bool pushUndo)
{
    if (!shape || !shape->HasChildShapes() || shape->HasParentShape() || ListedNo(shape) < 0) return;
    TProcessingScope processing(Processing);
    RemoveAllWorkingShapes();
    if (pushUndo) PushtoUndoRedoShapeList({shape}, ACT_UNGROUP);
    for (uint32_t no : shape->ChildShapesNo) {
        TMyShape* member = no <= static_cast<uint32_t>(INT32_MAX) ? GetShapeByNo(static_cast<int32_t>(no)) : nullptr;
        if (member && member->ParentShapeNo == shape->ShapeNo) member->ParentShapeNo = -1;
    }
    shape->ChildShapesNo.clear();
    DeleteShapeById(shape->ShapeId, false);
    Invalidate();
}

} // namespace mycad
