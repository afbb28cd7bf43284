// The events of the canvas: what a host can hear about. They live in their
// own struct so the control's header can tell its operations without a page
// of handler slots in between, and so a host (or a test) can see every event
// in one place. TMyCAD inherits TCanvasEvents publicly: a host writes
// canvas.OnShapeAdded = ... as before.
#pragma once

#include "platform/Types.h"

#include <cstdint>
#include <functional>

namespace mycad {

class TMyCAD;
class TMyShape;

// Event types; parameter names are those the host sees.
using TNotifyEvent = std::function<void(TMyCAD* Sender)>;
using TShapeAddedEvent = std::function<void(TMyShape*& AShape, int32_t ShapeCount)>;
using TShapeEvent = std::function<void(TMyShape* AShape)>;
using TLayerEvent = std::function<void(int32_t LayerId, const String& LayerName, bool Visible)>;
using TShapeSelectedEvent = std::function<void(TMyShape* LastSelectedShape, TMyShape* SelectedShape)>;
using TChildShapeSelectedEvent = std::function<void(TMyShape* SelectedChildShape, bool& AcceptSelect)>;
using TNodeEvent = std::function<void(TMyShape*& AShape, int32_t PointIndex)>;
using TShapeCodeDraggingEvent = std::function<void(TMyShape* AShape, float dx, float dy)>;
using TShapeCodeRotatingEvent = std::function<void(TMyShape* AShape, float AAngle)>;
/// FromPoint and ToPoint in the host's coordinate system (XYMode); the
/// handler may change ToPoint.
using TShapeMouseEvent = std::function<void(TMyShape* AShape, const TPoint& FromPoint, TPoint& ToPoint)>;
using TSimpleEvent = std::function<void()>;
using TMouseButtonEvent =
    std::function<void(TMyCAD* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y)>;
using TMouseMoveEvent = std::function<void(TMyCAD* Sender, TShiftState Shift, int32_t X, int32_t Y)>;

/// Every event of the canvas. Handlers are optional: an empty one is skipped.
struct TCanvasEvents {
    /// A shape finished with the mouse, added by code, placed, pasted or
    /// linked; ShapeCount is the count after the addition. Not by AddShape.
    TShapeAddedEvent OnShapeAdded;
    /// Once per deleted top shape, before it is removed.
    TShapeEvent OnShapeDeleted;
    /// A connector the avoiding router could not route clear of the shapes
    /// (once each time it becomes so).
    TShapeEvent OnLinkUnroutable;
    /// After a layer record is added.
    TLayerEvent OnNewLayer;
    /// After a layer record is removed.
    TLayerEvent OnDeleteLayer;
    TShapeSelectedEvent OnShapeSelected;
    TChildShapeSelectedEvent OnChildShapeSelected;
    TShapeEvent OnMouseEnterShape;
    TShapeEvent OnMouseLeaveShape;
    /// The mouse entering and leaving the control.
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNodeEvent OnNodeAdded;
    TNodeEvent OnNodeDeleted;
    /// At the end of each paint.
    TNotifyEvent OnPaint;
    TShapeCodeDraggingEvent OnShapeCodeDragging;
    TShapeCodeRotatingEvent OnShapeCodeRotating;
    TShapeMouseEvent OnShapeMouseDragging;
    TShapeMouseEvent OnShapeMouseResizing;
    TShapeMouseEvent OnShapeMouseRotating;
    TShapeMouseEvent OnShapeMouseDragged;
    TShapeMouseEvent OnShapeMouseResized;
    /// With device points.
    TShapeMouseEvent OnShapeMouseResizeFinished;
    TShapeMouseEvent OnShapeMouseRotated;
    TSimpleEvent OnWholeDragged;
    TSimpleEvent OnActionToolToSelecting;
    // The control's own mouse events.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseButtonEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseButtonEvent OnMouseUp;

    /// Called after "Error!There is no Layer!" to ask the host application to
    /// end. The canvas never ends the process itself; without a handler
    /// nothing more happens and the add just fails.
    TSimpleEvent OnTerminateRequest;
};

} // namespace mycad
