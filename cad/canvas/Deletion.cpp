// TMyCAD: deleting shapes with the bookkeeping of groups and connectors.
//
// Deleting is done in two halves. Collecting walks each deleted shape's tree
// (members before their group, locked members kept), fires the event, records
// undo and frees connector ends, with every list number still as it was.
// Removing then takes all collected shapes out in one pass and renumbers what
// stays. Numbers fall by the count of removed places below them, which is
// exactly what removing the shapes one at a time gives, so a selection of
// thousands costs one pass instead of one per shape (unless a handler of
// OnShapeDeleted has to see each deletion finished before the next).
#include "cad/canvas/MyCAD.h"

#include "cad/canvas/Renumbering.h"

#include <algorithm>
#include <unordered_set>

namespace mycad {

namespace {

constexpr int32_t kKept = -1;
constexpr int32_t kVisiting = -2;
constexpr int32_t kLockedSeen = -3;

/// Counts the handlers of OnShapeDeleted that are running.
class TDeletingScope {
public:
    explicit TDeletingScope(int32_t& depth) : FDepth(depth) { ++FDepth; }
    ~TDeletingScope() { --FDepth; }
    TDeletingScope(const TDeletingScope&) = delete;
    TDeletingScope& operator=(const TDeletingScope&) = delete;

private:
    int32_t& FDepth;
};

} // namespace

struct TMyCAD::TDeletionBatch {
    explicit TDeletionBatch(size_t count) : Order(count, kKept) {}
    /// Per list number: the place in Removal, or kKept / kVisiting / kLockedSeen.
    std::vector<int32_t> Order;
    /// Collected list numbers in the order they are removed.
    std::vector<int32_t> Removal;

    bool IsCollected(size_t no) const { return no < Order.size() && Order[no] >= 0; }
};

int32_t TMyCAD::FindUncollected(int32_t id, const TDeletionBatch& batch)
{
    const int32_t first = FIdIndex.Find(MyShapes, id);
    if (first < 0 || !batch.IsCollected(static_cast<size_t>(first))) return first;
    // Once the first shape with the id is gone, the next one with the same id
    // (a loaded drawing may hold an id twice) is the first match.
    for (size_t i = static_cast<size_t>(first) + 1; i < MyShapes.size(); ++i) {
        if (MyShapes[i] && MyShapes[i]->ShapeId == id && !batch.IsCollected(i)) return static_cast<int32_t>(i);
    }
    return -1;
}

bool TMyCAD::CollectForDeletion(int32_t id, bool pushUndo, TDeletionBatch& batch)
{
    const int32_t no = FindUncollected(id, batch);
    if (no < 0) return false;
    TMyShape* shape = MyShapes[static_cast<size_t>(no)].get();
    if (shape->Locked()) return false;
    if (OnShapeDeleted) {
        TDeletingScope scope(FDeletingDepth);
        OnShapeDeleted(shape);
    }
    if (pushUndo) PushtoUndoRedoShapeList({shape}, ACT_DELETE);
    CollectTree(no, batch);
    return true;
}

void TMyCAD::CollectTree(int32_t no, TDeletionBatch& batch)
{
    // Members first, then the shape; an explicit stack, because a damaged
    // document may nest groups deeper than the call stack allows, and the
    // marks keep member lists that loop from looping here.
    struct Frame {
        size_t No;
        size_t NextChild;
    };
    std::vector<Frame> stack;
    const size_t count = MyShapes.size();
    if (static_cast<size_t>(no) >= count || batch.Order[static_cast<size_t>(no)] != kKept) return;
    batch.Order[static_cast<size_t>(no)] = kVisiting;
    stack.push_back({static_cast<size_t>(no), 0});
    while (!stack.empty()) {
        Frame& top = stack.back();
        TMyShape& shape = *MyShapes[top.No];
        if (top.NextChild < shape.ChildShapesNo.size()) {
            const size_t child = shape.ChildShapesNo[top.NextChild++];
            if (child < count && MyShapes[child] && batch.Order[child] == kKept) {
                batch.Order[child] = kVisiting;
                stack.push_back({child, 0});
            }
            continue;
        }
        const size_t done = top.No;
        stack.pop_back();
        if (shape.Locked()) {
            batch.Order[done] = kLockedSeen;
            continue;
        }
        // Connector ends are freed while every number still names the shape it named.
        const auto k = static_cast<int32_t>(done);
        for (uint32_t linked : shape.LinkShapesNo) {
            if (linked >= count || !MyShapes[linked] || batch.IsCollected(linked)) continue;
            TMyShape& connector = *MyShapes[linked];
            const std::vector<int32_t*> ends = connector.ConnectorEndRefs();
            if (ends.size() > 0 && ends[0] && *ends[0] == k) DetachConnectorEnd(connector, true);
            if (ends.size() > 1 && ends[1] && *ends[1] == k) DetachConnectorEnd(connector, false);
        }
        for (int32_t* end : shape.ConnectorEndRefs()) {
            if (!end || *end < 0 || static_cast<size_t>(*end) >= count) continue;
            if (TMyShape* attached = MyShapes[static_cast<size_t>(*end)].get()) {
                RemoveLinklineShape(*attached, static_cast<uint32_t>(k));
            }
        }
        batch.Order[done] = static_cast<int32_t>(batch.Removal.size());
        batch.Removal.push_back(k);
    }
}

void TMyCAD::RemoveCollected(TDeletionBatch& batch)
{
    if (batch.Removal.empty()) return;
    const size_t count = MyShapes.size();

    // Each removed member leaves its group's member list, unless the group
    // itself went first (the member then has no parent any more).
    for (int32_t removed : batch.Removal) {
        const int32_t parent = MyShapes[static_cast<size_t>(removed)]->ParentShapeNo;
        if (parent < 0 || static_cast<size_t>(parent) >= count || parent == removed) continue;
        TMyShape* group = MyShapes[static_cast<size_t>(parent)].get();
        if (!group) continue;
        const int32_t groupOrder = batch.Order[static_cast<size_t>(parent)];
        if (groupOrder >= 0 && groupOrder < batch.Order[static_cast<size_t>(removed)]) continue;
        TMyShapeNo& members = group->ChildShapesNo;
        const auto it = std::find(members.begin(), members.end(), static_cast<uint32_t>(removed));
        if (it != members.end()) members.erase(it);
    }

    renumber::TRemoval removal;
    removal.Before.assign(count + 1, 0);
    removal.Removed.assign(count, false);
    for (size_t i = 0; i < count; ++i) {
        const bool gone = batch.Order[i] >= 0;
        removal.Removed[i] = gone;
        removal.Before[i + 1] = removal.Before[i] + (gone ? 1 : 0);
    }
    for (size_t i = 0; i < count; ++i) {
        if (!removal.Removed[i] && MyShapes[i]) renumber::RenumberRelations(*MyShapes[i], removal);
    }
    // Undo snapshots keep the numbers of the connectors they were attached
    // to, and a connector's copy the shapes at its ends (none once removed).
    for (TArrSavedShape* list : {&UndoRedoShapes, &FRedoShapes}) {
        for (TSavedShape& entry : *list) {
            if (!entry.SavedShape) continue;
            if (list == &UndoRedoShapes) {
                for (uint32_t& no : entry.SavedShape->LinkShapesNo) no = removal.No(no);
            }
            for (int32_t* end : entry.SavedShape->ConnectorEndRefs()) {
                if (end) *end = removal.Parent(*end);
            }
        }
    }

    auto forget = [&](TMyShape*& pointer) {
        const int32_t no = ListedNo(pointer);
        if (no >= 0 && removal.Removed[static_cast<size_t>(no)]) pointer = nullptr;
    };
    forget(mcHotLinkShape);
    forget(mAShape);
    forget(SmallShape);
    forget(WorkingShape);
    forget(ChildWorkingShape);
    if (!mcHotLinkShape) mcHotLinkId = -1;

    std::vector<std::unique_ptr<TMyShape>> freed(batch.Removal.size());
    size_t kept = 0;
    for (size_t i = 0; i < count; ++i) {
        if (removal.Removed[i]) {
            freed[static_cast<size_t>(batch.Order[i])] = std::move(MyShapes[i]);
            continue;
        }
        if (kept != i) MyShapes[kept] = std::move(MyShapes[i]);
        if (MyShapes[kept]) MyShapes[kept]->ShapeNo = static_cast<int32_t>(kept);
        ++kept;
    }
    MyShapes.resize(kept);
    FIdIndex.Invalidate();
    // Freed in the order they were removed.
    for (auto& shape : freed) shape.reset();
}

void TMyCAD::ClearSelectionAfterDeletion()
{
    ClearWorkingShapes();
    WorkingShape = nullptr;
    ChildWorkingShape = nullptr;
}

bool TMyCAD::DeleteShapeById(int32_t id, bool pushUndo)
{
    if (ListChangesRefused()) return false;
    TDeletionBatch batch(MyShapes.size());
    if (!CollectForDeletion(id, pushUndo, batch)) return false;
    RemoveCollected(batch);
    ClearSelectionAfterDeletion();
    return true;
}

bool TMyCAD::DeleteSelectedShapes()
{
    if (ListChangesRefused()) return false;
    TArrMyShapeRef selected;
    for (TMyShape* s : WorkingShapes) {
        if (!s) continue;
        if (s->Locked()) return false;
        selected.push_back(s);
    }
    const std::unordered_set<const TMyShape*> isSelected(selected.begin(), selected.end());
    TArrMyShapeRef extra;
    std::unordered_set<const TMyShape*> isExtra;
    for (TMyShape* s : selected) {
        if (!DeletesAttachedConnectors(*s)) continue;
        for (uint32_t no : s->LinkShapesNo) {
            TMyShape* connector = no <= static_cast<uint32_t>(INT32_MAX) ? GetShapeByNo(static_cast<int32_t>(no)) : nullptr;
            if (connector && !isSelected.count(connector) && isExtra.insert(connector).second) extra.push_back(connector);
        }
    }
    std::vector<int32_t> ids;
    ids.reserve(selected.size() + extra.size());
    for (const TMyShape* s : selected) ids.push_back(s->ShapeId);
    for (const TMyShape* s : extra) ids.push_back(s->ShapeId);
    TArrMyShapeRef recorded = selected;
    recorded.insert(recorded.end(), extra.begin(), extra.end());
    PushtoUndoRedoShapeList(recorded, ACT_DELETE);

    TDeletionBatch batch(MyShapes.size());
    for (int32_t id : ids) {
        // A handler of OnShapeDeleted must find the drawing as deleting the
        // shapes one at a time leaves it: the shapes before gone, numbers
        // renumbered. So with a handler the removals are made shape by
        // shape; without one they share a single pass.
        if (OnShapeDeleted && !batch.Removal.empty()) {
            RemoveCollected(batch);
            batch = TDeletionBatch(MyShapes.size());
        }
        if (CollectForDeletion(id, false, batch)) ClearSelectionAfterDeletion();
    }
    RemoveCollected(batch);
    ClearSelectionAfterDeletion();
    Invalidate();
    return true;
}

void TMyCAD::DeleteAllShapes()
{
    if (ListChangesRefused()) return;
    WorkingShapes.clear();
    WorkingShape = nullptr;
    ChildWorkingShape = nullptr;
    mcHotLinkShape = nullptr;
    mcHotLinkId = -1;
    mAShape = nullptr;
    SmallShape = nullptr;
    MyShapes.clear();
    FIdIndex.Invalidate();
    NextShapeId = 0;
    Invalidate();
}

} // namespace mycad
