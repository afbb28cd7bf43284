// What a shape needs from the canvas that owns it. The canvas (TMyCAD) lives
// in a higher layer and implements this interface, so shapes never include it.
#pragma once

#include "cad/geometry/Geometry.h"
#include "cad/shapes/ShapeTypes.h"
#include "platform/Types.h"

#include <cstdint>

namespace mycad {

class TMyShape;
class TPen;
class TBrush;
class TFont;
class TCanvas;

class TShapeOwner {
public:
    virtual ~TShapeOwner() = default;

    // Coordinates and view.
    virtual double Zoom() const = 0;
    virtual TXYMode XYMode() const = 0;
    /// Width and height of the control in device pixels.
    virtual int32_t ControlWidth() const = 0;
    virtual int32_t ControlHeight() const = 0;

    // Handles and measurement.
    virtual uint8_t HotSize() const = 0;
    virtual bool HotShow() const = 0;
    virtual bool ShowHotLink() const = 0;
    virtual TActionTools ActionTool() const = 0;
    virtual double Ratio() const = 0;
    virtual TUnits TheUNIT() const = 0;
    virtual int32_t RotateConstraintDegree() const = 0;
    /// The link point (or end point) highlighted under the mouse: -1 and nullptr when none.
    virtual int32_t HotLinkId() const = 0;
    virtual TMyShape* HotLinkShape() const = 0;
    virtual void SetHotLink(TMyShape* shape, int32_t id) = 0;

    /// True while a document is being read; shapes then pass no settings on to their members.
    virtual bool IsLoading() const = 0;

    // The shape list, by list number; nullptr outside the list.
    virtual int32_t GetShapesCount() const = 0;
    virtual TMyShape* GetShapeByNo(int32_t no) const = 0;

    /// Zoomed bounding box of a shape and its members.
    virtual TMyRect GetShapesLTRBinZoom(TMyShape* shape) const = 0;

    // Operations that shapes start but the canvas carries out (undo, members).
    virtual void FlipHoriz(TMyShape* shape) = 0;
    virtual void FlipVert(TMyShape* shape) = 0;
    /// Turns a shape and all its members by angle radians about the centre of its root shape.
    virtual void RotateShapeWithMembers(TMyShape* shape, double angle) = 0;
    virtual void Invalidate() = 0;

    // Defaults that new shapes copy.
    virtual const TPen& DefaultPen() const = 0;
    virtual const TBrush& DefaultBrush() const = 0;
    virtual const TFont& DefaultFont() const = 0;
    virtual bool DragEnable() const = 0;
    virtual bool ResizeEnable() const = 0;
    virtual bool RotateEnable() const = 0;
    virtual TPenStyleJoinType PenStyleJoinType() const = 0;
    virtual TPenStyleEndCapType PenStyleEndCapType() const = 0;
    virtual TArrowStyle ArrowStyle() const = 0;
    virtual int32_t ArrowAngle() const = 0;
    virtual uint8_t ArrowLength() const = 0;
    virtual uint8_t ArrowOffset() const = 0;
    virtual TArcMode ArcMode() const = 0;
    virtual TLinkLineDrawStyle LinkLineDrawStyle() const = 0;

    /// Whether a line finished on the end point of another line or polyline
    /// records that point (its merge fields).
    virtual bool MergeLineShape() const { return false; }
    /// True for the printer's canvas: shapes then scale pen widths by the zoom
    /// and print grey on black-and-white printers.
    virtual bool IsPrinterCanvas(const TCanvas& canvas) const
    {
        (void)canvas;
        return false;
    }
    /// The canvas of the control, on which hover highlights are drawn and
    /// erased directly; nullptr when there is none (nothing is drawn then).
    virtual TCanvas* ControlCanvas() { return nullptr; }
};

} // namespace mycad
