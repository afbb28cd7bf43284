// TMyCAD: the setters of published settings that do more than store.
#include "cad/canvas/MyCAD.h"

#include "cad/shapes/ShapeDraw.h"

namespace mycad {

void TMyCAD::SetArrowAngle(int32_t value)
{
    if (value >= 0 && value <= 359) FArrowAngle = value;
}

void TMyCAD::SetArrowLength(uint8_t value)
{
    if (value >= 10 && value <= 80) FArrowLength = value;
}

void TMyCAD::SetBkBitmap(const TBitmap& value)
{
    // The background is drawn as 24-bit pixels; the caller's bitmap is left as it is.
    FBkBitmap.Assign(value);
    FBkBitmap.SetPixelFormat(TPixelFormat::pf24bit);
    Invalidate();
}

void TMyCAD::SetBkBitmapMode(TBkBitmapMode value)
{
    FBkBitmapMode = value;
    Invalidate();
}

void TMyCAD::SetColorOfBackGround(TColor value)
{
    if (value == FColorOfBackGround) return;
    FColorOfBackGround = value;
    Invalidate();
}

void TMyCAD::SetColorOfHot(TColor value)
{
    FColorOfHot = value;
    SetHotColor(value);
}

void TMyCAD::SetGridOperation(const TGridObject& value)
{
    FGridOperation.SetGridColor(value.GridColor());
    FGridOperation.SetGridHeight(value.GridHeight());
    FGridOperation.SetGridWidth(value.GridWidth());
    FGridOperation.SetGridPenSize(value.GridPenSize());
    FGridOperation.SetGridShow(value.GridShow());
    FGridOperation.SetGridType(value.GridType());
}

void TMyCAD::SetOperateAllLayer(bool value)
{
    if (value == FOperateAllLayer) return;
    FOperateAllLayer = value;
    ClearWorkingShapes();
}

void TMyCAD::SetRatio(double value)
{
    FRatio = value;
    Invalidate();
}

void TMyCAD::SetRotateConstraintDegree(int32_t value)
{
    if (value >= 0) FRotateConstraintDegree = value;
}

void TMyCAD::SetShapeTool(TDrawTool value)
{
    // A shape left half drawn is abandoned with the tool.
    if (FDrawnShape && WorkingShape == FDrawnShape.get()) WorkingShape = nullptr;
    FDrawnShape.reset();
    FShapeTool = value;
    switch (value) {
    case TDrawTool::SpLinkLine:
    case TDrawTool::SpLine:
    case TDrawTool::SpRuleLine:
    case TDrawTool::SpPolyLine:
    case TDrawTool::SpRectangle:
    case TDrawTool::SpLinkPoint:
    case TDrawTool::SpLineLinkLine:
    case TDrawTool::SpEllipse:
    case TDrawTool::SpText:
    case TDrawTool::SpImage:
    case TDrawTool::SpPolygon:
    case TDrawTool::SpPolyBezier:
    case TDrawTool::SpElliArc:
    case TDrawTool::SpFreeLine:
    case TDrawTool::SpBLine:
        FActionTool = TActionTools::dtDrawing;
        WorkingShape = nullptr;
        ClearAllLinkHot();
        break;
    case TDrawTool::SpSelecting: FActionTool = TActionTools::dtSelecting; break;
    case TDrawTool::SpRotateSelecting: FActionTool = TActionTools::dtRotateSelecting; break;
    case TDrawTool::SpPolylinePolygonPointRemoving: FActionTool = TActionTools::dtPolylinePolygonPointRemoving; break;
    case TDrawTool::SpPolylinePolygonPointAdding: FActionTool = TActionTools::dtPolylinePolygonPointAdding; break;
    case TDrawTool::SpDragWhole: FActionTool = TActionTools::dtDragWhole; break;
    case TDrawTool::SpClose: FActionTool = TActionTools::dtClose; break;
    case TDrawTool::SpBrowse: FActionTool = TActionTools::dtBrowse; break;
    }
    Invalidate();
}

void TMyCAD::SetSnapPixels(uint8_t value)
{
    if (value < FGridOperation.GridWidth() && value < FGridOperation.GridHeight()) FSnapPixels = value;
}

void TMyCAD::SetTheUNIT(TUnits value)
{
    FTheUNIT = value;
    Invalidate();
}

} // namespace mycad
