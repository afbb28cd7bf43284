// TMyCAD: z-order. Moving a shape to the front swaps it, one by one, with
// every later shape that has no parent; members of groups keep their places.
// The walk's end result is a rotation along the chain of those places, so it
// is applied directly, with one renumbering pass for all relations.
#include "cad/canvas/MyCAD.h"

#include "cad/canvas/Renumbering.h"

#include <numeric>

namespace mycad {

std::vector<int32_t> TMyCAD::RootsAfter(int32_t n) const
{
    std::vector<int32_t> roots;
    for (int32_t i = n + 1; i < GetShapesCount(); ++i) {
        const TMyShape* s = MyShapes[static_cast<size_t>(i)].get();
        if (s && !s->HasParentShape()) roots.push_back(i);
    }
    return roots;
}

std::vector<int32_t> TMyCAD::RootsBefore(int32_t n) const
{
    std::vector<int32_t> roots;
    for (int32_t i = n - 1; i >= 0; --i) {
        const TMyShape* s = MyShapes[static_cast<size_t>(i)].get();
        if (s && !s->HasParentShape()) roots.push_back(i);
    }
    return roots;
}

void TMyCAD::MoveAlongChain(const std::vector<int32_t>& chain)
{
    if (chain.size() < 2) return;
    const size_t count = MyShapes.size();
    renumber::TPermutation permutation;
    permutation.NewPlace.resize(count);
    std::iota(permutation.NewPlace.begin(), permutation.NewPlace.end(), 0);
    for (size_t k = 1; k < chain.size(); ++k) permutation.NewPlace[static_cast<size_t>(chain[k])] = chain[k - 1];
    permutation.NewPlace[static_cast<size_t>(chain.front())] = chain.back();

    for (auto& s : MyShapes) {
        if (s) renumber::RenumberRelations(*s, permutation);
    }
    // A connector's copy in the undo lists names its ends by number too.
    for (TArrSavedShape* list : {&UndoRedoShapes, &FRedoShapes}) {
        for (TSavedShape& entry : *list) {
            if (!entry.SavedShape) continue;
            for (int32_t* end : entry.SavedShape->ConnectorEndRefs()) {
                if (end) *end = permutation.End(*end);
            }
        }
    }
    std::unique_ptr<TMyShape> moving = std::move(MyShapes[static_cast<size_t>(chain.front())]);
    for (size_t k = 1; k < chain.size(); ++k) {
        auto& to = MyShapes[static_cast<size_t>(chain[k - 1])];
        to = std::move(MyShapes[static_cast<size_t>(chain[k])]);
        if (to) to->ShapeNo = chain[k - 1];
    }
    auto& last = MyShapes[static_cast<size_t>(chain.back())];
    last = std::move(moving);
    if (last) last->ShapeNo = chain.back();
    FIdIndex.Invalidate();
}

TMyShape* TMyCAD::SwapShape(TMyShape* a, TMyShape* b)
{
    if (a == b || ListChangesRefused()) return b;
    const int32_t i = ListedNo(a);
    const int32_t j = ListedNo(b);
    if (i < 0 || j < 0) return b;
    MoveAlongChain({i, j});
    return b;
}

void TMyCAD::BringToFront(TMyShape* shape, bool pushUndo)
{
    if (!shape || ListChangesRefused()) return;
    const int32_t no = ListedNo(shape);
    MoveAmongRoots(shape, GetShapesCount() - 1);
    Invalidate();
    if (pushUndo) PushZOrderStep(shape, ACT_BRINGTOFRONT, no);
}

void TMyCAD::SendToBack(TMyShape* shape, bool pushUndo)
{
    if (!shape || ListChangesRefused()) return;
    const int32_t no = ListedNo(shape);
    MoveAmongRoots(shape, 0);
    Invalidate();
    if (pushUndo) PushZOrderStep(shape, ACT_SENDTOBACK, no);
}

void TMyCAD::PushZOrderStep(TMyShape* shape, const String& action, int32_t before)
{
    PushtoUndoRedoShapeList({shape}, action);
    if (UndoRedoShapes.empty()) return;
    TSavedShape& pushed = UndoRedoShapes.back();
    if (pushed.SavedAction == action && pushed.SavedShape && pushed.SavedShape->ShapeId == shape->ShapeId)
        pushed.SavedListNo = before;
}

// The shape passes every shape without parent between its place and list
// number no (inclusive), each of which moves one such place back toward
// where the shape was. Taking a move to the front or the back is the same
// rotation along the same places in the other direction, so it puts every
// shape it passed back in its own place.
void TMyCAD::MoveAmongRoots(TMyShape* shape, int32_t no)
{
    const int32_t at = ListedNo(shape);
    if (at < 0 || ListChangesRefused()) return;
    std::vector<int32_t> chain{at};
    for (const int32_t r : at < no ? RootsAfter(at) : RootsBefore(at)) {
        if (at < no ? r > no : r < no) break;
        chain.push_back(r);
    }
    MoveAlongChain(chain);
}

void TMyCAD::BringToFrontByStep(TMyShape* shape, bool pushUndo)
{
    if (!shape || ListChangesRefused()) return;
    const int32_t no = ListedNo(shape);
    TMyShape* next = no >= 0 ? GetNextSingleorRootShape(no) : nullptr;
    if (!next) return;
    SwapShape(shape, next);
    Invalidate();
    if (pushUndo) PushtoUndoRedoShapeList({shape}, ACT_BRINGTOFRONTBYSTEP);
}

void TMyCAD::SendToBackByStep(TMyShape* shape, bool pushUndo)
{
    if (!shape || ListChangesRefused()) return;
    const int32_t no = ListedNo(shape);
    TMyShape* prev = no >= 0 ? GetPrevSingleorRootShape(no) : nullptr;
    if (!prev) return;
    SwapShape(shape, prev);
    Invalidate();
    if (pushUndo) PushtoUndoRedoShapeList({shape}, ACT_SENDTOBACKBYSTEP);
}

} // namespace mycad
