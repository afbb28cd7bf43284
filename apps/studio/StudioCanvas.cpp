#include "apps/studio/StudioCanvas.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

#include "cad/shapes/Line.h"
#include "cad/shapes/Rectangle.h"
#include "cad/shapes/ShapeDraw.h"

#include <cmath>

namespace mycad::studio {

TStudioCanvas::TStudioCanvas(QWidget* parent) : TMyCAD(parent) { setAcceptDrops(true); }

namespace {

const QString kStencilType = QStringLiteral("application/x-mycad-stencil");

} // namespace

void TStudioCanvas::dragEnterEvent(QDragEnterEvent* event)
{
    if (OnStencilDropped && event->mimeData()->hasFormat(kStencilType)) event->acceptProposedAction();
}

void TStudioCanvas::dragMoveEvent(QDragMoveEvent* event)
{
    if (OnStencilDropped && event->mimeData()->hasFormat(kStencilType)) event->acceptProposedAction();
}

void TStudioCanvas::dropEvent(QDropEvent* event)
{
    if (!OnStencilDropped || !event->mimeData()->hasFormat(kStencilType)) return;
    // The control has no scroll offset of its own: its pixels are device pixels.
    const QPoint at = event->position().toPoint();
    if (OnStencilDropped(event->mimeData()->data(kStencilType), at.x(), at.y()) >= 0) event->acceptProposedAction();
}

bool TStudioCanvas::CancelGesture()
{
    if (FActionTool == TActionTools::dtDrawing && WorkingShape) {
        // The half-drawn shape goes with its tool.
        SetShapeTool(ShapeTool());
        bMouseDown = false;
        ReleaseCursorClipArea();
        Invalidate();
        Publish({});
        return true;
    }
    if (!bMouseDown) return false;
    // A release where the press was changes nothing in any gesture.
    ChildWorkingShape = nullptr;
    SmallShape = nullptr;
    msMovPt = msOrgPt;
    TMyCAD::MouseUp(TMouseButton::mbLeft, {}, msOrgPt.X, msOrgPt.Y);
    Invalidate();
    Publish({});
    return true;
}

void TStudioCanvas::MouseMove(TShiftState shift, int32_t x, int32_t y)
{
    TMyCAD::MouseMove(shift, x, y);
    Publish(Measure());
}

void TStudioCanvas::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    TMyCAD::MouseUp(button, shift, x, y);
    if (!bMouseDown && FActionTool != TActionTools::dtDrawing) Publish({});
}

void TStudioCanvas::Publish(const QString& text)
{
    if (text == measurement_) return;
    measurement_ = text;
    if (OnMeasurement) OnMeasurement(text);
}

QString TStudioCanvas::Length(double devicePixels) const
{
    const TUnits unit = TheUNIT();
    const double value = DeviceLengthInUnit(devicePixels, unit, Ratio(), Zoom());
    return FormatMeasure(value, unit == TUnits::pixel ? 0 : 2).trimmed() + UnitSuffix(unit);
}

QString TStudioCanvas::Measure()
{
    switch (FActionTool) {
    case TActionTools::dtDrawing: {
        if (!WorkingShape || WorkingShape->ThePoints.empty()) return {};
        if (dynamic_cast<const TMyRectangle*>(WorkingShape)) {
            return QStringLiteral("W %1 \u00d7 H %2")
                .arg(Length(std::abs(msMovPt.X - msOrgPt.X)), Length(std::abs(msMovPt.Y - msOrgPt.Y)));
        }
        return QStringLiteral("Length %1").arg(Length(std::hypot(msMovPt.X - msOrgPt.X, msMovPt.Y - msOrgPt.Y)));
    }
    case TActionTools::dtDragging:
    case TActionTools::dtDragWhole:
        if (!bMouseDown) return {};
        return QStringLiteral("\u0394X %1  \u0394Y %2").arg(Length(msMovPt.X - msOrgPt.X), Length(msMovPt.Y - msOrgPt.Y));
    case TActionTools::dtResizing: return bMouseDown ? SizingMeasure() : QString();
    default: return {};
    }
}

QString TStudioCanvas::SizingMeasure()
{
    if (!WorkingShape || !WorkingShape->ConnectorEndRefs().empty()) return {};
    const int32_t h = WorkingShape->SelectedHotId;
    if (h < 0) return {};
    // Size a copy as the release will size the shape: from the handle's own
    // point (a side handle's is the corner before it) to the mouse.
    std::unique_ptr<TMyShape> copy = CreateShapeByName(WorkingShape->ClassName(), this);
    if (!copy) return {};
    copy->Assign(*WorkingShape);
    copy->SelectedHotId = h;
    const bool box = dynamic_cast<const TMyRectangle*>(WorkingShape) != nullptr;
    const TMyPoint anchor = WorkingShape->GetPointInZoom(box && h >= 4 ? h - 4 : h);
    copy->SizeChangeValue(anchor, PtToMyPt(msMovPt));
    if (!box && copy->ThePoints.size() == 2) {
        const TMyPoint a = copy->GetPointInZoom(0);
        const TMyPoint b = copy->GetPointInZoom(1);
        return QStringLiteral("Length %1").arg(Length(std::hypot(double(b.X) - a.X, double(b.Y) - a.Y)));
    }
    return QStringLiteral("W %1 \u00d7 H %2")
        .arg(Length(copy->GetMyWidth() * Zoom()), Length(copy->GetMyHeight() * Zoom()));
}

} // namespace mycad::studio
