#include "cad/canvas/EditScope.h"

#include "cad/canvas/MyCAD.h"

namespace mycad {

TEditScope::TEditScope(TMyCAD& cad) : FCad(cad) { ++FCad.FEdit.Depth; }

TEditScope::~TEditScope()
{
    TEditState& edit = FCad.FEdit;
    if (edit.Depth > 1) {
        --edit.Depth;
        return;
    }
    // The edit stays open while it finishes, so that shapes the routing
    // itself moves join the list being walked instead of ending edits of
    // their own. The list may grow: walk it by index.
    for (size_t i = 0; i < edit.MovedIds.size(); ++i) {
        if (TMyShape* shape = FCad.GetShapeByID(edit.MovedIds[i])) FCad.ChangeLinkShapes(shape);
    }
    edit.Depth = 0;
    edit.MovedIds.clear();
    edit.MovedSet.clear();
    if (edit.Changed) FCad.Global_Changed = true;
    edit.Changed = false;
    if (edit.Repaint) {
        edit.Repaint = false;
        FCad.Invalidate();
    }
}

void TEditScope::Record(const std::vector<TMyShape*>& shapes, const String& action)
{
    FCad.PushtoUndoRedoShapeList(shapes, action);
}

void TEditScope::Moved(TMyShape* shape)
{
    if (!shape) return;
    TEditState& edit = FCad.FEdit;
    if (edit.MovedSet.insert(shape->ShapeId).second) edit.MovedIds.push_back(shape->ShapeId);
}

void TEditScope::MarkChanged() { FCad.FEdit.Changed = true; }

void TEditScope::Repaint() { FCad.FEdit.Repaint = true; }

} // namespace mycad
