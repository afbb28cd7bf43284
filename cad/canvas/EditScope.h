// The edit scope: the one way an editing operation of the canvas ends.
//
// An operation opens a scope before its first change and lets it close at
// its end. Scopes nest (an alignment moves shapes through the same movers a
// drag uses, undo replays changes), and only the outermost close ends the
// edit. While it is open the scope records the undo step when asked (at
// once, since the step copies the state the edit is about to change) and
// collects the shapes the edit moved, sized, turned or flipped: the movers
// of Transforms.cpp report them. Its close then, in this order:
//   1. re-routes the connectors attached to each collected shape, once per
//      shape, in the order they were first reported, skipping shapes the
//      edit deleted meanwhile;
//   2. marks the document changed, when a gesture of the user made the edit;
//   3. invalidates the control once, when the edit asked for a repaint.
// Events that report a finished edit (OnShapeMouseDragged, ...) fire after
// the scope that made it has closed, so a handler sees re-routed
// connectors; a handler's own correction is a new edit with its own scope.
#pragma once

#include "cad/shapes/Shape.h"
#include "platform/Types.h"

#include <cstdint>
#include <unordered_set>
#include <vector>

namespace mycad {

class TMyCAD;

/// What an open edit has collected so far; kept by the canvas.
struct TEditState {
    int32_t Depth = 0;
    /// Ids of the shapes whose connectors follow them at the close, in the
    /// order first reported, and the same ids for the look-up.
    std::vector<int32_t> MovedIds;
    std::unordered_set<int32_t> MovedSet;
    bool Changed = false;
    bool Repaint = false;
};

class TEditScope {
public:
    explicit TEditScope(TMyCAD& cad);
    /// Closes the scope; the outermost close ends the edit (see above).
    ~TEditScope();
    TEditScope(const TEditScope&) = delete;
    TEditScope& operator=(const TEditScope&) = delete;

    /// Records the undo step of action holding copies of shapes, now.
    void Record(const std::vector<TMyShape*>& shapes, const String& action);
    /// The shape was moved, sized, turned or flipped: its connectors follow
    /// it at the close. nullptr is ignored.
    void Moved(TMyShape* shape);
    /// The user changed the drawing (Global_Changed).
    void MarkChanged();
    /// The control is invalidated once at the close.
    void Repaint();

private:
    TMyCAD& FCad;
};

} // namespace mycad
