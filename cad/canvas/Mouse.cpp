// TMyCAD: the mouse state machine and drawing new shapes with the mouse.
//
// Every press, move and release runs a few common steps (the host's own
// mouse events, the left-button rule, the gesture's reference points, the
// cursor confinement while the button is held) and then the work of the
// current state. Drawing lives here; the selecting side (handles, dragging,
// sizing, rotating, rubber band) is in MouseSelect.cpp.
#include "cad/canvas/MyCAD.h"
#include "cad/canvas/ShapeCatalogue.h"
#include "cad/canvas/TextEntry.h"

#include "cad/connectors/LinkLine.h"
#include "cad/shapes/BLine.h"
#include "cad/shapes/Line.h"
#include "cad/shapes/ShapeDraw.h"
#include "cad/shapes/Text.h"

#include <algorithm>
#include <cstdlib>

namespace mycad {

namespace {

/// Shapes drawn vertex by vertex (also from mouse moves): their Shift
/// constraint and rubber band start from the last vertex.
bool DrawsFromLastVertex(TDrawGesture g) { return g == TDrawGesture::VertexByVertex || g == TDrawGesture::PerMove; }

int32_t Sign(int32_t v) { return v < 0 ? -1 : 1; }

} // namespace

// ---- The common steps.

void TMyCAD::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
    if (FActionTool == TActionTools::dtClose) return;
    if (FActionTool != TActionTools::dtDrawing && shift.Contains(TShiftStateItem::ssDouble)) return;
    if (button != TMouseButton::mbLeft) return;
    msOrgPt = msMovPt = {x, y};
    bMouseDown = true;
    ChildWorkingShape = nullptr;
    SmallShape = nullptr;
    switch (FActionTool) {
    case TActionTools::dtDrawing: DrawingDown(shift); break;
    case TActionTools::dtSelecting:
    case TActionTools::dtRotateSelecting:
    case TActionTools::dtBrowse: SelectingDown(shift); break;
    default: break;
    }
}

void TMyCAD::MouseMove(TShiftState shift, int32_t x, int32_t y)
{
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
    if (FActionTool == TActionTools::dtClose) return;
    if (FActionTool == TActionTools::dtDrawing) {
        DrawingMove(shift, x, y);
    } else if (!bMouseDown &&
               (FActionTool == TActionTools::dtSelecting || FActionTool == TActionTools::dtRotateSelecting)) {
        SelectingMoveFree(x, y);
    }
    UpdateLabelXY(x, y);
    if (!bMouseDown) return;
    SetCursorClipArea(ControlScreenArea(), 0, 0, false);
    if (FActionTool == TActionTools::dtDrawing) {
        // A freehand line takes one point per move while the button is held.
        if (DrawGestureOf(WorkingShape) == TDrawGesture::PerMove) {
            TCanvas& c = Canvas();
            SetDragResizeRotateShapeMode(c);
            WorkingShape->Drawing(c, msOrgPt, msMovPt);
            msMovPt = {x, y};
            WorkingShape->Drawing(c, msOrgPt, msMovPt);
            WorkingShape->AddPointByMouse(msMovPt);
            msOrgPt = msMovPt;
        }
        return;
    }
    SelectingMoveHeld(shift, x, y);
}

void TMyCAD::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    if (bMouseDown) {
        switch (FActionTool) {
        case TActionTools::dtDrawing:
            if (button == TMouseButton::mbLeft) DrawingUp(button, shift);
            break;
        case TActionTools::dtPolylinePolygonPointRemoving: RemoveVertexUp(); break;
        case TActionTools::dtPolylinePolygonPointAdding: AddVertexUp(); break;
        case TActionTools::dtClose: break;
        default:
            if (SelectingClickUp()) {
                if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
                return;
            }
            SelectingUp(shift);
            break;
        }
        bMouseDown = false;
        ReleaseCursorClipArea();
    }
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

// ---- Cursor.

TRect TMyCAD::ControlScreenArea() const
{
    const TPoint origin = ClientToScreen({0, 0});
    return {origin.X, origin.Y, Width(), Height()};
}

void TMyCAD::SetCursorClipArea(const TRect& rect, int32_t dx, int32_t dy, bool hideCursor)
{
    if (hideCursor) SetCursor(TCursor::crNone);
    const TRect area{rect.Left, rect.Top, rect.Left + (rect.Right - dx), rect.Top + (rect.Bottom - dy)};
    ClipCursor(&area);
}

void TMyCAD::ReleaseCursorClipArea()
{
    ClipCursor(nullptr);
    if (FMouseEffect) SetCursor(TCursor::crCross);
}

void TMyCAD::SetSelectShapeMode()
{
    TCanvas& c = Canvas();
    c.Pen().SetWidth(1);
    c.Pen().SetStyle(TPenStyle::psDot);
    c.Pen().SetMode(TPenMode::pmXor);
    // Half of the colour's complement, so the band shows on light and dark.
    const auto colour = static_cast<int32_t>((static_cast<int64_t>(FPen.Color()) + 0xFFFFFF) / 2);
    c.Pen().SetColor(static_cast<TColor>(colour));
    c.Brush().SetStyle(TBrushStyle::bsClear);
}

// ---- Shift constraints.

void TMyCAD::DrawMakeSquareorHV(TShiftState shift, TMyShape* shape, const TPoint& anchor, TPoint& point) const
{
    if (!shift.Contains(TShiftStateItem::ssShift) || !shape) return;
    const TShiftConstraint constraint = shape->ShiftConstraint(false);
    if (constraint == TShiftConstraint::HorzVert) {
        const int64_t dx = int64_t(point.X) - anchor.X;
        const int64_t dy = int64_t(point.Y) - anchor.Y;
        if (std::llabs(dx) >= std::llabs(dy)) {
            point.Y = anchor.Y;
        } else {
            point.X = anchor.X;
        }
        return;
    }
    if (constraint != TShiftConstraint::Square) return;
    // Neither difference may be zero, or the square would have no size.
    if (point.X == anchor.X) point.X = anchor.X + 1;
    if (point.Y == anchor.Y) point.Y = anchor.Y + 1;
    const int32_t dx = point.X - anchor.X;
    const int32_t dy = point.Y - anchor.Y;
    const int32_t ax = std::abs(dx);
    const int32_t ay = std::abs(dy);
    if (ax <= ay) {
        point.Y = anchor.Y + ax * Sign(dy);
    } else {
        point.X = anchor.X + ay * Sign(dx);
    }
}

void TMyCAD::ResizeMakeSquareorHV(TShiftState shift, TMyShape* shape, const TPoint& anchor, TPoint& point) const
{
    (void)anchor;
    if (!shift.Contains(TShiftStateItem::ssShift) || !shape) return;
    const int32_t h = shape->SelectedHotId;
    const TShiftConstraint constraint = shape->ShiftConstraint(true);
    if (constraint == TShiftConstraint::Square) {
        if (h < 0 || h > 3) return;
        static constexpr int32_t kOpposite[4] = {2, 3, 0, 1};
        const float theta = shape->Angle();
        const TMyPoint centre = shape->GetCenterPointInZoom();
        const TMyPoint p = RotateAPoint(shape->GetPointInZoom(kOpposite[h]), centre, -theta);
        TMyPoint q = RotateAPoint(PtToMyPt(point), centre, -theta);
        const double s = (h == 0 || h == 2) ? 1.0 : -1.0;
        const double dX = double(q.X) - p.X;
        const double dY = double(q.Y) - p.Y;
        if (std::fabs(dX) > std::fabs(dY)) {
            q.X = static_cast<float>(RoundToInt(p.X + s * dY));
        } else {
            q.Y = static_cast<float>(RoundToInt(p.Y + s * dX));
        }
        point = MyPtToPt(RotateAPoint(q, centre, theta));
        return;
    }
    const bool twoPointLine = constraint == TShiftConstraint::HorzVert && shape->GetPointsCount() == 2;
    if (!twoPointLine || (h != 0 && h != 1)) return;
    const TMyPoint e = shape->GetPointInZoom(h == 1 ? 0 : 1);
    if (std::fabs(double(point.Y) - e.Y) > std::fabs(double(point.X) - e.X)) {
        point.X = RoundToInt(e.X);
    } else {
        point.Y = RoundToInt(e.Y);
    }
}

// ---- Drawing.

void TMyCAD::DrawingDown(TShiftState shift)
{
    TCanvas& c = Canvas();
    SetDragResizeRotateShapeMode(c);
    RemoveAllWorkingShapes();
    FLastActionTool = FReturnToSelecting ? TActionTools::dtSelecting : TActionTools::dtDrawing;
    const TPoint pressed = msMovPt;
    int32_t x = msMovPt.X;
    int32_t y = msMovPt.Y;
    SnapXY(x, y);
    msOrgPt = msMovPt = {x, y};

    // WorkingShape may name a listed shape (the last one added by code); only
    // the shape this canvas is drawing takes points.
    if (!WorkingShape || WorkingShape != FDrawnShape.get()) {
        FDrawnShape = CreateShapeBySpTool(FShapeTool, this);
        WorkingShape = nullptr;
        if (!FDrawnShape) return;
        WorkingShape = FDrawnShape.get();
        WorkingShape->ShapeNo = GetShapesCount();
        if (WorkingShape->JoinsLines()) GetMergeShape(*WorkingShape, true, msMovPt);
        // A connector pressed on a link point starts there; the link point is
        // looked for where the mouse is, not where the grid would put it.
        if (auto* line = dynamic_cast<TMyLinkLine*>(WorkingShape)) GetMainShape(*line, TLinkLineEndPoint::llStart, pressed);
    }
    const TDrawGesture gesture = DrawGestureOf(WorkingShape);
    if (WorkingShape->GetPointsCount() > 0) {
        const int32_t anchorNo = DrawsFromLastVertex(gesture) ? WorkingShape->GetPointsCount() - 1 : 0;
        DrawMakeSquareorHV(shift, WorkingShape, MyPtToPt(WorkingShape->GetPointInZoom(anchorNo)), msMovPt);
    }
    WorkingShape->AddPointByMouse(msMovPt);
    msMovPt = {x, y};
    if (WorkingShape->GetPointsCount() > 0) msOrgPt = MyPtToPt(WorkingShape->GetPointInZoom(WorkingShape->GetPointsCount() - 1));
    if (DrawsFromLastVertex(gesture)) WorkingShape->Drawing(c, msOrgPt, msMovPt);
    // The press took down a B-spline's rubber band through the new point;
    // from the second point on one had been drawn.
    if (auto* spline = dynamic_cast<TMyBLine*>(WorkingShape); spline && spline->GetPointsCount() > 1) {
        spline->IsPath = true;
        spline->Drawing(c, msOrgPt, msMovPt);
        spline->IsPath = false;
    }
}

void TMyCAD::DrawingMove(TShiftState shift, int32_t x, int32_t y)
{
    if (DrawGestureOf(WorkingShape) == TDrawGesture::PerMove) return;
    TCanvas& c = Canvas();
    SetDragResizeRotateShapeMode(c);
    if (FShapeTool == TDrawTool::SpLine) InWhichShapeWhichPointNo(LastHotShapeNo, LastHotLinkID, {x, y});
    if (FShapeTool == TDrawTool::SpLinkLine) {
        ShowLinkPointsUnder({x, y});
        if (FMouseEffect) {
            // Over the middle of a connector, a release would join it there.
            TMyPoint at{static_cast<float>(x / FZoom), static_cast<float>(y / FZoom)};
            TMyLinkLine* other = nullptr;
            const bool joins = IsBreakLineByAPoint(at, other, FDrawnShape.get()) >= 0;
            SetCursor(joins ? crBreakLine : TCursor::crCross);
        }
        InWhichShapeWhichHotLinkId(LastHotShapeNo, LastHotLinkID, {x, y});
        // The end snaps to the link point under the mouse while it is drawn.
        auto* line = WorkingShape == FDrawnShape.get() ? dynamic_cast<TMyLinkLine*>(WorkingShape) : nullptr;
        if (line && GetShapeByNo(LastHotShapeNo) != line) {
            line->SetEndSpNo(LastHotShapeNo);
            line->SetEndSpPtId(LastHotLinkID);
        }
    } else {
        SnapXY(x, y);
    }
    // Nothing is shown before the first press placed a point.
    if (!WorkingShape || WorkingShape != FDrawnShape.get() || WorkingShape->GetPointsCount() == 0) return;
    WorkingShape->Drawing(c, msOrgPt, msMovPt);
    msMovPt = {x, y};
    DrawMakeSquareorHV(shift, WorkingShape, msOrgPt, msMovPt);
    WorkingShape->Drawing(c, msOrgPt, msMovPt);
    UpdateLabelValue(WorkingShape->GetLengthByUnit(msOrgPt, msMovPt));
}

void TMyCAD::DrawingUp(TMouseButton button, TShiftState shift)
{
    if (!WorkingShape || WorkingShape != FDrawnShape.get()) return;
    // Any release of a drawing press changes the drawing, finished or not.
    TEditScope(*this).MarkChanged();
    if (FShapeTool != TDrawTool::SpLinkLine) SnapXY(msMovPt.X, msMovPt.Y);
    DrawMakeSquareorHV(shift, WorkingShape, msOrgPt, msMovPt);
    // A drag ends the shapes drawn in one gesture at the release point; a
    // click without movement leaves them waiting for the next press.
    if (DrawGestureOf(WorkingShape) == TDrawGesture::OneGesture && msMovPt != msOrgPt) {
        WorkingShape->AddPointByMouse(msMovPt);
    }
    if (!WorkingShape->IsDrawingFinished(button, msMovPt)) return;

    AllocateShapeNoIdName(*WorkingShape, true);
    ReleaseCursorClipArea();
    if (auto* text = dynamic_cast<TMyText*>(WorkingShape)) TakeDrawnText(*this, *text);
    std::unique_ptr<TMyShape> shape = std::move(FDrawnShape);
    TMyShape* added = WorkingShape;
    if (!shape || !AddShape(shape, false, false)) {
        // Refused (no layer): the shape is dropped and drawing starts over.
        WorkingShape = nullptr;
        Invalidate();
        return;
    }
    RemoveAllWorkingShapes();
    WorkingShapes.push_back(added);
    FDrawnLineBeingFinished = added;
    added->Drawed(msOrgPt, msMovPt);
    FDrawnLineBeingFinished = nullptr;
    if (OnShapeAdded) OnShapeAdded(WorkingShape, GetShapesCount());

    auto* line = added->JoinsLines() ? dynamic_cast<TMyLine*>(added) : nullptr;
    const bool merge = line && line->startMergeShapeId != -1 && line->endMergeShapeId != -1 &&
                       line->startMergeShapeId != line->endMergeShapeId;
    if (merge) {
        CreateAndDelete(*added);
    } else {
        PushtoUndoRedoShapeList({added}, ACT_ADD);
    }
    WorkingShape = nullptr;
    if (FReturnToSelecting) {
        if (OnActionToolToSelecting) OnActionToolToSelecting();
        FActionTool = FLastActionTool;
        FShapeTool = TDrawTool::SpSelecting;
    }
    Invalidate();
}

void TMyCAD::ClosePolygon()
{
    if (!WorkingShape || WorkingShape->VertexEditing() != TVertexEditing::ClosedChain ||
        WorkingShape->GetPointsCount() <= 2) {
        return;
    }
    const TPoint first = MyPtToPt(WorkingShape->GetPointInZoom(0));
    MouseDown(TMouseButton::mbLeft, TShiftState{}, msMovPt.X, msMovPt.Y);
    bMouseDown = true;
    MouseUp(TMouseButton::mbLeft, TShiftState{}, first.X, first.Y);
}

// ---- Link points, end points and merging lines.

bool TMyCAD::InWhichShapeWhichHotLinkId(int32_t& shapeNo, int32_t& linkId, const TPoint& p)
{
    shapeNo = -1;
    linkId = -1;
    for (const auto& s : MyShapes) {
        if (!s) continue;
        const bool selected = IsInWorkingShape(s.get()) >= 0;
        if (selected && WorkingShapes.size() != 1) continue;
        if (s->GetLinkPointsCount() == 0) continue;
        const int32_t hit = s->InWhichLinkHot(PtToMyPt(p));
        if (hit >= 0) {
            shapeNo = s->ShapeNo;
            linkId = hit;
            return true;
        }
    }
    return false;
}

bool TMyCAD::InWhichShapeWhichPointNo(int32_t& shapeId, int32_t& pointNo, const TPoint& p)
{
    shapeId = -1;
    pointNo = -1;
    for (const auto& s : MyShapes) {
        if (!s || s.get() == WorkingShape) continue;
        if (!s->OffersLineEnds()) continue;
        const int32_t hit = s->InWhichPointHot(PtToMyPt(p));
        if (hit >= 0) {
            shapeId = s->ShapeId;
            pointNo = hit;
            return true;
        }
    }
    return false;
}

void TMyCAD::GetMergeShape(TMyShape& shape, bool atStart, const TPoint& p)
{
    auto* line = dynamic_cast<TMyLine*>(&shape);
    if (!line) return;
    int32_t id = -1;
    int32_t no = -1;
    InWhichShapeWhichPointNo(id, no, p);
    if (atStart) {
        line->startMergeShapeId = id;
        line->startMergeShapePointNo = no;
    } else {
        line->endMergeShapeId = id;
        line->endMergeShapePointNo = no;
    }
}

void TMyCAD::CreateAndDelete(TMyShape& shape)
{
    auto* line = dynamic_cast<TMyLine*>(&shape);
    if (!line) return;
    TMyShape* a = GetShapeByID(line->startMergeShapeId);
    TMyShape* b = GetShapeByID(line->endMergeShapeId);
    if (!a || !b || a == b) return;
    // From A's far end through the two joined end points to B's far end,
    // in device pixels.
    TArrMyPoint points;
    auto append = [&points](const TMyShape& s, bool reversed) {
        const int32_t n = s.GetPointsCount();
        for (int32_t i = 0; i < n; ++i) points.push_back(s.GetPointInZoom(reversed ? n - 1 - i : i));
    };
    append(*a, line->startMergeShapePointNo == 0);
    append(*b, line->endMergeShapePointNo != 0);
    // The points are the control's; AddShapeByCode reads the host's system,
    // which is the control's mirrored, and mirroring twice changes nothing.
    for (TMyPoint& p : points) p = GetMyPointByMode(p);
    const int32_t aId = a->ShapeId;
    const int32_t bId = b->ShapeId;
    const int32_t lineId = line->ShapeId;
    const int32_t merged =
        AddShapeByCode(this, TDrawTool::SpPolyLine, u"Shape"_s + String::number(GetShapesCount()), points,
                       static_cast<int32_t>(points.size()) - 1, 0.0, String());
    // Without the joined polyline the two lines stay, and so does the one
    // just drawn between them, recorded like any other new shape.
    if (merged < 0) {
        PushtoUndoRedoShapeList({&shape}, ACT_ADD);
        return;
    }
    DeleteShapeById(aId, true);
    DeleteShapeById(bId, true);
    DeleteShapeById(lineId, false);
}

// ---- Editing vertices.

void TMyCAD::RemoveVertexUp()
{
    if (WorkingShapes.size() != 1) return;
    TMyShape* shape = WorkingShapes.front();
    const TVertexEditing editing = shape->VertexEditing();
    if (editing == TVertexEditing::None) return;
    const bool open = editing == TVertexEditing::OpenChain;
    const int32_t k = shape->InWhichHot(msOrgPt);
    if (k < 0) return;
    const int32_t count = shape->GetPointsCount();
    int32_t result = k;
    if (open) {
        if (count < 3) {
            result = -8;
        } else {
            PushtoUndoRedoShapeList({shape}, ACT_CHANGE);
            RemovePoint(k, shape->ThePoints);
        }
    } else if (count < 5) {
        result = -8;
    } else if (k == count - 1) {
        result = -7;
    } else {
        PushtoUndoRedoShapeList({shape}, ACT_CHANGE);
        RemovePoint(k, shape->ThePoints);
        // The closing point follows the new first point.
        if (k == 0) shape->ThePoints.back() = shape->ThePoints.front();
    }
    Invalidate();
    if (OnNodeDeleted) OnNodeDeleted(shape, result);
}

void TMyCAD::AddVertexUp()
{
    const TArrMyShapeRef selection = WorkingShapes;
    for (TMyShape* shape : selection) {
        if (shape->VertexEditing() == TVertexEditing::None) continue;
        int32_t k = -1;
        if (!shape->IsClickedMeBeforeWhichPoint(k, msMovPt) || k < 0) continue;
        PushtoUndoRedoShapeList({shape}, ACT_CHANGE);
        InsertAPointBeforeId({static_cast<float>(msMovPt.X / FZoom), static_cast<float>(msMovPt.Y / FZoom)}, k,
                             shape->ThePoints);
        Invalidate();
        if (OnNodeAdded) OnNodeAdded(shape, k);
    }
}

} // namespace mycad
