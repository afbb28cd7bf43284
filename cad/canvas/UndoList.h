// The records of the canvas's undo list: snapshot copies of shapes grouped
// into numbered steps, each step tagged with the action it records.
#pragma once

#include "cad/shapes/Shape.h"
#include "platform/Types.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace mycad {

// Action names of undo steps. Documents and hosts see them as they are.
inline const String ACT_ADD = u"ACT_ADD"_s;
inline const String ACT_DELETE = u"ACT_DELETE"_s;
inline const String ACT_CHANGE = u"ACT_CHANGE"_s;
inline const String ACT_GROUP = u"ACT_GROUP"_s;
inline const String ACT_UNGROUP = u"ACT_UNGROUP"_s;
inline const String ACT_BRINGTOFRONT = u"ACT_BRINGTOFRONT"_s;
inline const String ACT_SENDTOBACK = u"ACT_SENDTOBACK"_s;
inline const String ACT_BRINGTOFRONTBYSTEP = u"ACT_BRINGTOFRONTBYSTEP"_s;
inline const String ACT_SENDTOBACKBYSTEP = u"ACT_SENDTOBACKBYSTEP"_s;

/// True for the nine action names above.
bool IsUndoActionName(const String& action);

/// The longest component name a record keeps.
inline constexpr int64_t kSavedShapeNameLength = 255;

/// One entry of the undo list. The entry owns its snapshot: a copy made with
/// the shape's Assign (the canvas as owner, not in the shape list, never
/// drawn) whose LinkShapesNo is emptied. The copy keeps the live shape's
/// ShapeId, ShapeNo, ParentShapeNo and ChildShapesNo, by which undo finds the
/// live shapes again.
struct TSavedShape {
    /// The step the entry belongs to: steps run from 0 (oldest) without gaps.
    int32_t SavedUndoRedoId = 0;
    /// The shape's component name when it was saved, at most 255 characters.
    String SavedShapeName;
    std::unique_ptr<TMyShape> SavedShape;
    String SavedAction;
    /// For a move to the front or the back made by the canvas: the shape's
    /// list number before the move, where taking the step back returns it;
    /// -1 when unknown (a step a host recorded itself).
    int32_t SavedListNo = -1;
};

/// Oldest entry first; the entries of one step are consecutive.
using TArrSavedShape = std::vector<TSavedShape>;

} // namespace mycad
