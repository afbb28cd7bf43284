// TMyCAD: taking steps back and forth. Undo takes the newest step of the undo
// list back; before (or, where the live shapes only exist afterwards, after)
// it does, it records the state it replaces as a step of the same kind in the
// redo list, so that Redo is the same taking-back applied to that list:
//
//   step taken back     what it does                 what it records
//   "ACT_ADD"           deletes the shapes           "ACT_DELETE" of them
//   "ACT_DELETE"        restores the copies          "ACT_ADD" of the restored shapes
//   "ACT_CHANGE"        puts the copies' state back  "ACT_CHANGE" of the changed state
//   "ACT_GROUP"         dissolves the group          "ACT_UNGROUP" of group and members
//   "ACT_UNGROUP"       groups the members again     "ACT_GROUP" of the new group
//   z-order moves       the opposite move            the opposite action
//                       (to the front or the back: back to the list number
//                       the move started from)
#include "cad/canvas/MyCAD.h"

#include "cad/canvas/ProcessingScope.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace mycad {

namespace {

const String& OppositeZOrder(const String& action)
{
    if (action == ACT_BRINGTOFRONT) return ACT_SENDTOBACK;
    if (action == ACT_SENDTOBACK) return ACT_BRINGTOFRONT;
    if (action == ACT_BRINGTOFRONTBYSTEP) return ACT_SENDTOBACKBYSTEP;
    return ACT_BRINGTOFRONTBYSTEP;
}

// The moves all the way up or down, whose steps remember where they started.
bool IsFrontOrBack(const String& action) { return action == ACT_BRINGTOFRONT || action == ACT_SENDTOBACK; }

bool IsZOrder(const String& action)
{
    return action == ACT_BRINGTOFRONT || action == ACT_SENDTOBACK || action == ACT_BRINGTOFRONTBYSTEP ||
           action == ACT_SENDTOBACKBYSTEP;
}

} // namespace

int32_t TMyCAD::PopFromUndoRedoShapeList()
{
    if (FUndoRedoSize == 0 || UndoRedoShapes.empty()) return -1;
    const int32_t top = UndoRedoShapes.back().SavedUndoRedoId;
    ApplyInverse(UndoRedoShapes, FRedoShapes);
    return top - 1;
}

bool TMyCAD::Redo()
{
    if (!CanRedo()) return false;
    ApplyInverse(FRedoShapes, UndoRedoShapes);
    return true;
}

void TMyCAD::ApplyInverse(TArrSavedShape& list, TArrSavedShape& counterList)
{
    TFlagScope replaying(FReplaying);
    RemoveAllWorkingShapes();
    const int32_t top = list.back().SavedUndoRedoId;
    size_t first = list.size();
    while (first > 0 && list[first - 1].SavedUndoRedoId == top) --first;
    // The step leaves the list before anything happens, so that the changes
    // below, which renumber the list's copies, do not touch it.
    TArrSavedShape step(std::make_move_iterator(list.begin() + static_cast<std::ptrdiff_t>(first)),
                        std::make_move_iterator(list.end()));
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(first), list.end());
    if (step.empty()) return;
    const String action = step.back().SavedAction;

    // The live shapes of the step, newest entry first as they are taken back.
    auto live = [this](const TSavedShape& e) { return e.SavedShape ? GetShapeByID(e.SavedShape->ShapeId) : nullptr; };

    // What the counter step records before the step is taken back.
    if (action == ACT_ADD || action == ACT_CHANGE || IsZOrder(action) || action == ACT_GROUP) {
        TArrMyShapeRef shapes;
        // Entries were recorded last shape first; the counter step is given
        // the shapes in their first order so it records them the same way.
        for (const TSavedShape& e : step) {
            if (TMyShape* l = live(e)) shapes.push_back(l);
        }
        if (action == ACT_CHANGE) {
            // The step already lists every member; record exactly its shapes.
            const int32_t id = BeginStep(counterList);
            for (auto it = step.rbegin(); it != step.rend(); ++it) {
                if (TMyShape* l = live(*it)) AppendSnapshot(counterList, *l, id, ACT_CHANGE);
            }
        } else if (action == ACT_ADD) {
            std::reverse(shapes.begin(), shapes.end());
            // A member is recorded with its container; listed again on its
            // own it would come back twice.
            const std::unordered_set<const TMyShape*> listed(shapes.begin(), shapes.end());
            TArrMyShapeRef roots;
            for (TMyShape* s : shapes) {
                bool inListedContainer = false;
                for (TMyShape* up = GetShapeByNo(s->ParentShapeNo); up && up != s && !inListedContainer;
                     up = up->ParentShapeNo == up->ShapeNo ? nullptr : GetShapeByNo(up->ParentShapeNo))
                    inListedContainer = listed.count(up) > 0;
                if (!inListedContainer) roots.push_back(s);
            }
            RecordStep(counterList, roots, ACT_DELETE);
        } else if (action == ACT_GROUP) {
            RecordStep(counterList, shapes, ACT_UNGROUP);
        } else {
            RecordStep(counterList, shapes, OppositeZOrder(action));
            // Taking the counter step back returns the shape where it is now.
            if (IsFrontOrBack(action) && !shapes.empty() && !counterList.empty()) counterList.back().SavedListNo = ListedNo(shapes.front());
        }
    }

    // Connectors follow the shapes taken back once the whole step is back.
    TEditScope edit(*this);
    TArrSavedShape restore;
    TArrMyShapeRef regroup;
    const TMyShape* oldGroup = nullptr;
    for (auto it = step.rbegin(); it != step.rend(); ++it) {
        TSavedShape& e = *it;
        if (!e.SavedShape) continue;
        TMyShape& saved = *e.SavedShape;
        TMyShape* l = GetShapeByID(saved.ShapeId);
        if (e.SavedAction == ACT_ADD) {
            DeleteShapeById(saved.ShapeId, false);
        } else if (e.SavedAction == ACT_DELETE) {
            restore.push_back(std::move(e));
        } else if (e.SavedAction == ACT_CHANGE) {
            if (l) {
                l->AssignWithoutRelation(saved);
                RestoreLinkLineEnds(*l, saved);
                edit.Moved(l);
            }
        } else if (e.SavedAction == ACT_GROUP) {
            if (l) UnGroupShape(l, false);
        } else if (e.SavedAction == ACT_UNGROUP) {
            if (saved.ParentShapeNo == -1 && saved.HasChildShapes()) {
                oldGroup = &saved;
            } else if (l) {
                // A member that no longer exists cannot join the new group.
                regroup.push_back(l);
            }
        } else if (IsFrontOrBack(e.SavedAction) && e.SavedListNo >= 0) {
            MoveAmongRoots(l, e.SavedListNo);
        } else if (e.SavedAction == ACT_BRINGTOFRONT) {
            SendToBack(l, false);
        } else if (e.SavedAction == ACT_SENDTOBACK) {
            BringToFront(l, false);
        } else if (e.SavedAction == ACT_BRINGTOFRONTBYSTEP) {
            SendToBackByStep(l, false);
        } else if (e.SavedAction == ACT_SENDTOBACKBYSTEP) {
            BringToFrontByStep(l, false);
        }
    }

    if (!regroup.empty()) {
        const int32_t groupId = GroupShapes(regroup, false);
        TMyShape* group = GetShapeByID(groupId);
        if (group && oldGroup) {
            group->UserData().Assign(oldGroup->UserData());
            group->SetName(oldGroup->Name());
        }
        if (group && oldGroup) {
            // Other steps name the dissolved group by its id; they now mean
            // the new one. Matching the id, not a list number that another
            // shape may have had when its copy was taken, keeps unrelated
            // steps apart.
            const int32_t oldId = oldGroup->ShapeId;
            for (TArrSavedShape* other : {&list, &counterList}) {
                for (TSavedShape& o : *other) {
                    if (o.SavedShape && o.SavedShape->ShapeId == oldId) o.SavedShape->ShapeId = groupId;
                }
            }
        }
        if (group) RecordStep(counterList, {group}, ACT_GROUP);
        RemoveAllWorkingShapes();
    }

    if (!restore.empty()) {
        TArrMyShapeRef restored = RestoreDeleted(restore);
        RecordStep(counterList, restored, ACT_ADD);
    }
    edit.Repaint();
}

TArrMyShapeRef TMyCAD::RestoreDeleted(TArrSavedShape& entries)
{
    // A locked member survives the deletion of its group, so its copy is not
    // restored: the live shape rejoins the restored group instead.
    std::unordered_map<int32_t, int32_t> newNo;
    std::vector<std::pair<TMyShape*, int32_t>> survivors; // live shape, saved parent number
    std::vector<TSavedShape*> toRestore;
    int32_t next = GetShapesCount();
    for (TSavedShape& e : entries) {
        TMyShape& saved = *e.SavedShape;
        if (TMyShape* live = GetShapeByID(saved.ShapeId)) {
            newNo.emplace(saved.ShapeNo, live->ShapeNo);
            survivors.emplace_back(live, saved.ParentShapeNo);
            continue;
        }
        // The k-th restored copy goes to the end of the list, k places up.
        newNo.emplace(saved.ShapeNo, next++);
        toRestore.push_back(&e);
    }
    auto mapped = [&newNo](int64_t no) {
        const auto it = no >= 0 && no <= INT32_MAX ? newNo.find(static_cast<int32_t>(no)) : newNo.end();
        return it == newNo.end() ? -1 : it->second;
    };

    TArrMyShapeRef restored;
    for (TSavedShape* e : toRestore) {
        TMyShape& saved = *e->SavedShape;
        std::unique_ptr<TMyShape> shape = CreateShapeByName(saved.ClassName(), this);
        if (!shape) continue;
        shape->Assign(saved);
        shape->SetName(e->SavedShapeName);
        // Relations to shapes that were not deleted with it are gone: a
        // number that is not remapped would name an unrelated shape.
        shape->ParentShapeNo = mapped(shape->ParentShapeNo);
        TMyShapeNo children;
        for (uint32_t child : shape->ChildShapesNo) {
            const int32_t no = mapped(child);
            if (no >= 0) children.push_back(static_cast<uint32_t>(no));
        }
        shape->ChildShapesNo = std::move(children);
        shape->LinkShapesNo.clear();
        DetachConnectorEnd(*shape, true);
        DetachConnectorEnd(*shape, false);
        shape->ShapeNo = GetShapesCount();
        // Back on its own layer while that layer exists.
        const bool layerExists = GetLayerNoById(shape->LayerId) >= 0;
        TMyShape* added = shape.get();
        if (AddShape(shape, layerExists, true)) restored.push_back(added);
    }
    for (const auto& [live, savedParent] : survivors) {
        const int32_t parent = mapped(savedParent);
        if (live->ParentShapeNo == -1 && parent >= GetShapesCount() - static_cast<int32_t>(restored.size()))
            live->ParentShapeNo = parent;
    }
    return restored;
}

} // namespace mycad
