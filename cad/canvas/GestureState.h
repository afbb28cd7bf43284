// What the mouse is doing right now: the tool in hand, the press and the
// last move, and the shapes and link points the pointer is over. Painting
// reads it (handles, highlighted link points) and the mouse state machine
// (Mouse.cpp, MouseSelect.cpp) writes it; nothing of it is stored in files
// or survives the gesture except the tool.
#pragma once

#include "cad/shapes/ShapeTypes.h"
#include "platform/Types.h"

#include <cstdint>

namespace mycad {

class TMyShape;

struct TGestureState {
    /// The tool in hand (ShapeTool), the interaction it puts the mouse in,
    /// and the interaction before the last change.
    TActionTools FActionTool = TActionTools::dtClose;
    TActionTools FLastActionTool = TActionTools::dtClose;
    TDrawTool FShapeTool = TDrawTool::SpSelecting;
    /// A button is held: the gesture runs from msOrgPt (the press, device
    /// pixels) to msMovPt (the last move).
    bool bMouseDown = false;
    TPoint msOrgPt;
    TPoint msMovPt;
    /// The shape and link point highlighted last, to take the mark away.
    int32_t LastHotShapeNo = -1;
    int32_t LastHotLinkID = -1;
    /// The link point under the mouse that a connector end would attach to.
    TMyShape* mcHotLinkShape = nullptr;
    int32_t mcHotLinkId = -1;
    /// The small shape that stands for a tiny selection while dragging.
    TMyShape* SmallShape = nullptr;
    /// The shape under the mouse, for the enter and leave events.
    TMyShape* mAShape = nullptr;
};

} // namespace mycad
