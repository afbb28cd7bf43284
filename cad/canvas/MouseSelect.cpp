// TMyCAD: the selecting side of the mouse state machine. A press picks a
// handle, a text anchor, a selected shape or another shape; the following
// moves show outlines (XOR, each drawn twice: once to show, once to erase)
// and the release changes the drawing in one undoable step.
#include "cad/canvas/MyCAD.h"

#include "cad/shapes/ShapeDraw.h"

#include <cmath>

namespace mycad {

namespace {


bool CarriesInfo(const TMyShape& s) { return !s.Info().isEmpty() || s.MultiInfo().Count() > 0; }

TRect RoundedBox(const TMyRect& r)
{
    return {RoundToInt(r.Left), RoundToInt(r.Top), RoundToInt(r.Right), RoundToInt(r.Bottom)};
}

} // namespace

// ---- Hit tests.

bool TMyCAD::IsClickedMeforShape(TCanvas& canvas, TMyShape* shape, const TPoint& p)
{
    if (!shape || !shape->Visible()) return false;
    if (shape->IsClickedMe(canvas, p)) return true;
    for (uint32_t no : shape->ChildShapesNo) {
        TMyShape* member = no <= static_cast<uint32_t>(INT32_MAX) ? GetShapeByNo(static_cast<int32_t>(no)) : nullptr;
        if (member && member != shape && member->IsClickedMe(canvas, p)) return true;
    }
    return false;
}

bool TMyCAD::IsInRegion(const TPoint& p1, const TPoint& p2, TMyShape* shape) const
{
    TMyShape* root = GetRootParentShape(shape);
    if (!root) return false;
    const TMyPoint lt = root->ZoomedValuePt(root->GetLeftTop());
    const TMyPoint rb = root->ZoomedValuePt(root->GetRightBottom());
    const double left = std::min(p1.X, p2.X);
    const double top = std::min(p1.Y, p2.Y);
    const double right = std::max(p1.X, p2.X);
    const double bottom = std::max(p1.Y, p2.Y);
    return lt.X >= left && lt.Y >= top && rb.X <= right && rb.Y <= bottom;
}

void TMyCAD::GetMousePointbyDragMode(const TPoint& origin, TPoint& point) const
{
    if (FDragMode == TDragMode::dgHorz) point.Y = origin.Y;
    if (FDragMode == TDragMode::dgVert) point.X = origin.X;
}

TMyPoint TMyCAD::HandleAnchor(const TMyShape& shape) const
{
    return shape.GetPointInZoom(shape.HandlePointNo(shape.SelectedHotId));
}

TArrMyShapeRef TMyCAD::DragWholeShapes() const
{
    if (!FOperateAllLayer) return GetShapesByLayerId(FCurrentLayerId);
    TArrMyShapeRef all;
    for (const auto& s : MyShapes) {
        if (s && !s->HasParentShape()) all.push_back(s.get());
    }
    return all;
}

// ---- Press.

void TMyCAD::SelectingDown(TShiftState shift)
{
    TCanvas& c = Canvas();
    SetSelectShapeMode();
    FLastActionTool = FActionTool;
    const bool browsing = FActionTool == TActionTools::dtBrowse;

    // Handles and text anchors of the selection. Freehand lines offer no
    // handles, and the scan ends at the first one.
    for (TMyShape* s : WorkingShapes) {
        if (!s->OffersHandles()) break;
        WorkingShape = s;
        for (uint32_t no : s->ChildShapesNo) {
            TMyShape* m = no <= static_cast<uint32_t>(INT32_MAX) ? GetShapeByNo(static_cast<int32_t>(no)) : nullptr;
            if (m && m->IsClickedMe(c, msOrgPt)) ChildWorkingShape = m;
        }
        if (s->InWhichHot(msOrgPt) >= 0) {
            if (!IsConnector(*s) && s->SelectedHotId < 4) msOrgPt = MyPtToPt(s->GetPointInZoom(s->SelectedHotId));
            // Until the mouse moves the handle stays where it is: a click on
            // a handle changes nothing.
            msMovPt = msOrgPt;
            if (FActionTool == TActionTools::dtSelecting && s->ResizeEnable()) {
                FActionTool = TActionTools::dtResizing;
            } else if (FActionTool == TActionTools::dtRotateSelecting && FRotateEnable && s->RotateEnable()) {
                FActionTool = TActionTools::dtRotating;
            }
            return;
        }
        if (CarriesInfo(*s) && !s->Locked() && s->InTextPointHot(msOrgPt)) {
            msOrgPt = MyPtToPt(s->ZoomedValuePt(s->TextOutPoint));
            if (FActionTool == TActionTools::dtSelecting) FActionTool = TActionTools::dtDraggingTextoutPoint;
            return;
        }
    }

    // A selected shape under the press point.
    for (TMyShape* s : WorkingShapes) {
        if (!IsClickedMeforShape(c, s, msOrgPt)) continue;
        if (shift.Contains(TShiftStateItem::ssShift)) {
            RemoveWorkingShape(s);
            return;
        }
        WorkingShape = s;
        SmallShape = nullptr;
        // A smaller shape lying on the pressed one: a click without movement
        // selects it instead (see the release).
        const TRect box = RoundedBox(GetShapesLTRBinZoom(TArrMyShapeRef{s}));
        for (const auto& k : MyShapes) {
            if (!k || k.get() == s || k->ParentShapeNo == s->ShapeNo) continue;
            if (!FOperateAllLayer && k->LayerId != FCurrentLayerId) continue;
            if (!IsClickedMeforShape(c, k.get(), msOrgPt)) continue;
            if (!IsInRegion({box.Left, box.Top}, {box.Right, box.Bottom}, k.get())) continue;
            SmallShape = k->HasParentShape() ? GetShapeByNo(k->ParentShapeNo) : k.get();
            break;
        }
        if (!browsing) FActionTool = TActionTools::dtDragging;
        if (OnShapeSelected) OnShapeSelected(s, s);
        if (s->OnClick) s->OnClick(this);
        return;
    }

    // Another shape: the topmost hit one, connectors that start on lines first.
    TMyShape* previousFirst = WorkingShapes.empty() ? nullptr : WorkingShapes.front();
    if (previousFirst && OnShapeSelected) OnShapeSelected(previousFirst, nullptr);
    TMyShape* taken = nullptr;
    TMyShape* firstOther = nullptr;
    for (auto it = MyShapes.rbegin(); it != MyShapes.rend(); ++it) {
        TMyShape* k = it->get();
        if (!k || IsInWorkingShape(k) >= 0 || k->HasParentShape()) continue;
        if (!IsVisibleLayerByID(k->LayerId)) continue;
        if (!FOperateAllLayer && k->LayerId != FCurrentLayerId) continue;
        if (!IsClickedMeforShape(c, k, msOrgPt)) continue;
        if (k->PickedFirst()) {
            taken = k;
            break;
        }
        if (!firstOther) firstOther = k;
    }
    if (!taken) taken = firstOther;
    if (!taken) {
        RemoveAllWorkingShapes();
        return;
    }
    WorkingShape = taken;
    const bool lineLink = taken->PickedFirst();
    if (shift.Contains(TShiftStateItem::ssShift)) {
        AddWorkingShapes(taken);
        if (OnShapeSelected) OnShapeSelected(nullptr, taken);
        return;
    }
    RemoveAllWorkingShapes();
    AddWorkingShapes(taken);
    WorkingShape = taken;
    if (lineLink) {
        if (OnShapeSelected) OnShapeSelected(previousFirst, taken);
        if (taken->OnClick) taken->OnClick(this);
    } else {
        if (taken->OnClick) taken->OnClick(this);
        if (OnShapeSelected) OnShapeSelected(previousFirst, taken);
        Repaint();
    }
    if (!browsing) FActionTool = TActionTools::dtDragging;
}

// ---- Moves.

void TMyCAD::SelectingMoveFree(int32_t x, int32_t y)
{
    if (FMouseEffect) {
        for (TMyShape* s : WorkingShapes) {
            const TCursor cursor = s->GetMouseCursor(x, y);
            SetCursor(cursor);
            if (cursor != TCursor::crCross) break;
        }
    }
    TCanvas& c = Canvas();
    for (auto it = MyShapes.rbegin(); it != MyShapes.rend(); ++it) {
        TMyShape* k = it->get();
        if (k && !k->HasParentShape() && k->IsClickedMe(c, {x, y})) {
            ShowHintEnterLeaveShape(k, true, {x, y});
            return;
        }
    }
    ShowHintEnterLeaveShape(nullptr, false, {x, y});
}

void TMyCAD::SelectingMoveHeld(TShiftState shift, int32_t x, int32_t y)
{
    TCanvas& c = Canvas();
    switch (FActionTool) {
    case TActionTools::dtSelecting:
    case TActionTools::dtRotateSelecting:
        SetSelectShapeMode();
        c.Rectangle(msOrgPt.X, msOrgPt.Y, msMovPt.X, msMovPt.Y);
        msMovPt = {x, y};
        c.Rectangle(msOrgPt.X, msOrgPt.Y, msMovPt.X, msMovPt.Y);
        break;

    case TActionTools::dtDragging: {
        if (!WorkingShape || WorkingShape->Locked() || !WorkingShape->DragEnable()) break;
        const TPoint prev = msMovPt;
        if ((FSnap || FSnapShape) && TPoint{x, y} != msOrgPt) {
            TRect r = RoundedBox(GetShapesLTRBinZoom(WorkingShapes));
            r = {r.Left + x - msOrgPt.X, r.Top + y - msOrgPt.Y, r.Right + x - msOrgPt.X, r.Bottom + y - msOrgPt.Y};
            SnapRect(r, x, y);
        }
        if (FLockBound) {
            msMovPt = {x, y};
            if (!WorkingShapes.empty() && WorkingShape->SelectedHotId == -1) {
                // The box may go as far as the control's edges and no further.
                const TMyRect b = GetShapesLTRBinZoom(WorkingShapes);
                const int32_t a = RoundToInt(double(msOrgPt.X) - b.Left);
                const int32_t bb = RoundToInt(double(msOrgPt.Y) - b.Top);
                const int32_t cc = RoundToInt(double(b.Right) - msOrgPt.X);
                const int32_t d = RoundToInt(double(b.Bottom) - msOrgPt.Y);
                const TPoint origin = ClientToScreen({0, 0});
                SetCursorClipArea({origin.X + a, origin.Y + bb, Width() - a - cc, Height() - bb - d}, 0, 0, false);
            }
        }
        SetDragResizeRotateShapeMode(c);
        for (TMyShape* s : WorkingShapes) {
            if (FDragTrace) DraggingforShapes(c, s, msOrgPt, prev);
            msMovPt = {x, y};
            GetMousePointbyDragMode(msOrgPt, msMovPt);
            if (OnShapeMouseDragging) {
                msMovPt = GetPointByMode(msMovPt);
                OnShapeMouseDragging(s, GetPointByMode(msOrgPt), msMovPt);
            }
            if (FDragTrace) {
                msMovPt = {x, y};
                GetMousePointbyDragMode(msOrgPt, msMovPt);
                DraggingforShapes(c, s, msOrgPt, msMovPt);
            }
        }
        // Without a trace the handler's point stays in the host's system;
        // the release works in device pixels, so it is taken back.
        if (!FDragTrace && OnShapeMouseDragging) msMovPt = GetPointByMode(msMovPt);
        break;
    }

    case TActionTools::dtResizing: {
        if (!WorkingShape || WorkingShape->Locked() || !WorkingShape->ResizeEnable()) break;
        SetDragResizeRotateShapeMode(c);
        WorkingShape->Sizing(c, msOrgPt, msMovPt);
        msMovPt = {x, y};
        if (!IsConnector(*WorkingShape)) SnapXY(msMovPt.X, msMovPt.Y);
        ResizeMakeSquareorHV(shift, WorkingShape, msOrgPt, msMovPt);
        if (OnShapeMouseResizing) {
            msMovPt = GetPointByMode(msMovPt);
            const TPoint offered = msMovPt;
            OnShapeMouseResizing(WorkingShape, GetPointByMode(msOrgPt), msMovPt);
            if (WorkingShape->HandleSizesOneSide(WorkingShape->SelectedHotId)) msMovPt = offered;
            msMovPt = GetPointByMode(msMovPt);
        }
        WorkingShape->Sizing(c, msOrgPt, msMovPt);
        if (IsConnector(*WorkingShape)) InWhichShapeWhichHotLinkId(LastHotShapeNo, LastHotLinkID, msMovPt);
        UpdateLabelValue(WorkingShape->GetLengthByUnit(msOrgPt, msMovPt));
        break;
    }

    case TActionTools::dtDraggingTextoutPoint: {
        if (!WorkingShape) break;
        auto marker = [&]() {
            const TMyPoint anchor = WorkingShape->ZoomedValuePt(WorkingShape->TextOutPoint);
            DrawDiamond(*WorkingShape, c,
                        {static_cast<float>(anchor.X + msMovPt.X - msOrgPt.X),
                         static_cast<float>(anchor.Y + msMovPt.Y - msOrgPt.Y)},
                        FColorOfHot);
        };
        SetDragResizeRotateShapeMode(c);
        marker();
        msMovPt = {x, y};
        SetDragResizeRotateShapeMode(c);
        marker();
        break;
    }

    case TActionTools::dtRotating: {
        if (!WorkingShape) break;
        SetDragResizeRotateShapeMode(c);
        const TMyShape* pivot = WorkingShape->HasParentShape() ? GetRootParentShape(WorkingShape) : WorkingShape;
        const TMyPoint centre = pivot->GetCenterPointInZoom();
        double angle = WorkingShape->GetRotatedAngle(PtToMyPt(msOrgPt), PtToMyPt(msMovPt), centre, true);
        RotatingforShapes(c, WorkingShape, centre, angle);
        msMovPt = {x, y};
        if (OnShapeMouseRotating) {
            TPoint to = GetPointByMode(msMovPt);
            OnShapeMouseRotating(WorkingShape, GetPointByMode(msOrgPt), to);
            msMovPt = {x, y};
        }
        angle = WorkingShape->GetRotatedAngle(PtToMyPt(msOrgPt), PtToMyPt(msMovPt), centre, true);
        RotatingforShapes(c, WorkingShape, centre, angle);
        break;
    }

    case TActionTools::dtDragWhole: {
        const TPoint prev = msMovPt;
        SetDragResizeRotateShapeMode(c);
        for (TMyShape* s : DragWholeShapes()) {
            if (s->HasParentShape()) continue;
            DraggingforShapes(c, s, msOrgPt, prev);
            msMovPt = {x, y};
            GetMousePointbyDragMode(msOrgPt, msMovPt);
            DraggingforShapes(c, s, msOrgPt, msMovPt);
        }
        msMovPt = {x, y};
        GetMousePointbyDragMode(msOrgPt, msMovPt);
        break;
    }

    default: break;
    }
}

// ---- Release.

bool TMyCAD::SelectingClickUp()
{
    const bool still = msOrgPt == msMovPt;
    if (ChildWorkingShape) {
        if (!still) {
            ChildWorkingShape = nullptr;
        } else {
            bool accept = true;
            if (OnChildShapeSelected) OnChildShapeSelected(ChildWorkingShape, accept);
            if (accept) {
                TMyShape* member = ChildWorkingShape;
                RemoveAllWorkingShapes();
                AddWorkingShapes(member);
                WorkingShape = member;
                ChildWorkingShape = member;
            } else {
                ChildWorkingShape = nullptr;
            }
            bMouseDown = false;
            ReleaseCursorClipArea();
            SelectAllWorkingShapes();
            FActionTool = FLastActionTool;
            Invalidate();
            return true;
        }
    }
    if (SmallShape && still) {
        TMyShape* previous = WorkingShape;
        TMyShape* small = SmallShape;
        RemoveAllWorkingShapes();
        AddWorkingShapes(small);
        bMouseDown = false;
        ReleaseCursorClipArea();
        FActionTool = TActionTools::dtSelecting;
        SelectAllWorkingShapes();
        Invalidate();
        if (OnShapeSelected) OnShapeSelected(previous, small);
        if (small->OnClick) small->OnClick(this);
        return true;
    }
    return false;
}

void TMyCAD::SelectingUp(TShiftState shift)
{
    switch (FActionTool) {
    case TActionTools::dtSelecting:
    case TActionTools::dtRotateSelecting:
        for (const auto& s : MyShapes) {
            if (!s || s->HasParentShape() || !s->Visible()) continue;
            if (!FOperateAllLayer && s->LayerId != FCurrentLayerId) continue;
            if (IsInRegion(msOrgPt, msMovPt, s.get())) AddWorkingShapes(s.get());
        }
        SelectAllWorkingShapes();
        Invalidate();
        break;

    case TActionTools::dtDragging: {
        GetMousePointbyDragMode(msOrgPt, msMovPt);
        double dx = double(msMovPt.X) - msOrgPt.X;
        double dy = double(msMovPt.Y) - msOrgPt.Y;
        // A click that selects is no change of the drawing.
        if (dx != 0.0 || dy != 0.0) {
            if (FSnap || FSnapShape) {
                TRect r = RoundedBox(GetShapesLTRBinZoom(WorkingShapes));
                r = {r.Left + RoundToInt(dx), r.Top + RoundToInt(dy), r.Right + RoundToInt(dx), r.Bottom + RoundToInt(dy)};
                SnapRect(r, msMovPt.X, msMovPt.Y);
                dx = double(msMovPt.X) - msOrgPt.X;
                dy = double(msMovPt.Y) - msOrgPt.Y;
            }
            const TArrMyShapeRef selection = WorkingShapes;
            {
                TEditScope edit(*this);
                edit.Record(selection, ACT_CHANGE);
                edit.MarkChanged();
                for (TMyShape* s : selection) DragChangeValueDxDyforShapes(s, dx, dy);
            }
            if (OnShapeMouseDragged && WorkingShape) {
                const TPoint drop = msMovPt;
                TPoint to = GetPointByMode(msMovPt);
                const TPoint offered = to;
                OnShapeMouseDragged(WorkingShape, GetPointByMode(msOrgPt), to);
                if (to != offered) {
                    msMovPt = GetPointByMode(to);
                    const double ex = double(msMovPt.X) - drop.X;
                    const double ey = double(msMovPt.Y) - drop.Y;
                    TEditScope edit(*this);
                    for (TMyShape* s : selection) DragChangeValueDxDyforShapes(s, ex, ey);
                }
            }
        }
        FActionTool = FLastActionTool;
        Invalidate();
        break;
    }

    case TActionTools::dtResizing: {
        if (!WorkingShape || msMovPt == msOrgPt) {
            FActionTool = FLastActionTool;
            break;
        }
        if (FShapeTool != TDrawTool::SpLinkLine) SnapXY(msMovPt.X, msMovPt.Y);
        {
            TEditScope edit(*this);
            edit.Record({WorkingShape}, ACT_CHANGE);
            edit.MarkChanged();
            const bool connector = IsConnector(*WorkingShape);
            const TMyPoint from = connector ? PtToMyPt(msOrgPt) : HandleAnchor(*WorkingShape);
            ResizeMakeSquareorHV(shift, WorkingShape, msOrgPt, msMovPt);
            const bool redo = WorkingShape->ResizesToHandlerPoint();
            TArrSavedShape before;
            if (OnShapeMouseResized && redo) before = SnapshotTree(*WorkingShape);
            SizeChangeValueforShapes(WorkingShape, from, PtToMyPt(msMovPt));
            if (OnShapeMouseResized) {
                TPoint to = GetPointByMode(msMovPt);
                const TPoint offered = to;
                OnShapeMouseResized(WorkingShape, GetPointByMode(msOrgPt), to);
                if (redo) {
                    // Take the first sizing back from copies (sizing backwards
                    // could differ where a corner was refused), then size again,
                    // from the same handle point, to where the handler settled.
                    // The copies carry no handle; the second sizing needs the
                    // one the press picked.
                    const int32_t handle = WorkingShape->SelectedHotId;
                    RestoreSnapshots(before);
                    WorkingShape->SelectedHotId = handle;
                    if (WorkingShape->HandleSizesOneSide(WorkingShape->SelectedHotId)) to = offered;
                    msMovPt = GetPointByMode(to);
                    SizeChangeValueforShapes(WorkingShape, from, PtToMyPt(msMovPt));
                }
            }
        }
        if (OnShapeMouseResizeFinished) {
            TPoint to = msMovPt;
            OnShapeMouseResizeFinished(WorkingShape, msOrgPt, to);
        }
        FActionTool = FLastActionTool;
        Invalidate();
        break;
    }

    case TActionTools::dtDraggingTextoutPoint:
        if (!WorkingShape) break;
        TEditScope(*this).MarkChanged();
        WorkingShape->TextOutPoint = {static_cast<float>(msMovPt.X / FZoom), static_cast<float>(msMovPt.Y / FZoom)};
        FActionTool = FLastActionTool;
        Invalidate();
        break;

    case TActionTools::dtRotating: {
        if (!WorkingShape || msMovPt == msOrgPt) {
            FActionTool = FLastActionTool;
            break;
        }
        {
            TEditScope edit(*this);
            edit.Record({WorkingShape}, ACT_CHANGE);
            edit.MarkChanged();
            const TMyShape* pivot = WorkingShape->HasParentShape() ? GetRootParentShape(WorkingShape) : WorkingShape;
            const TMyPoint centre = pivot->GetCenterPoint();
            const double angle = WorkingShape->GetRotatedAngle(PtToMyPt(msOrgPt), PtToMyPt(msMovPt),
                                                               WorkingShape->ZoomedValuePt(centre), true);
            RotateChangeValueforShapes(WorkingShape, centre, angle);
        }
        if (OnShapeMouseRotated) {
            TPoint to = GetPointByMode(msMovPt);
            OnShapeMouseRotated(WorkingShape, GetPointByMode(msOrgPt), to);
        }
        FActionTool = FLastActionTool;
        Invalidate();
        break;
    }

    case TActionTools::dtDragWhole: {
        GetMousePointbyDragMode(msOrgPt, msMovPt);
        const double dx = double(msMovPt.X) - msOrgPt.X;
        const double dy = double(msMovPt.Y) - msOrgPt.Y;
        if (dx != 0.0 || dy != 0.0) {
            TArrMyShapeRef shapes = DragWholeShapes();
            std::erase_if(shapes, [](const TMyShape* s) { return s->HasParentShape(); });
            {
                // The whole move is one step, as any other move.
                TEditScope edit(*this);
                edit.Record(shapes, ACT_CHANGE);
                edit.MarkChanged();
                for (TMyShape* s : shapes) DragChangeValueDxDyforShapes(s, dx, dy);
            }
            if (OnWholeDragged) OnWholeDragged();
        }
        Invalidate();
        break;
    }

    default: break;
    }
}

} // namespace mycad
