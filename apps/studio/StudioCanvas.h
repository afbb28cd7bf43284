// The canvas as Studio uses it: the live measurement of the gesture in
// progress, labelled and in the drawing's unit, and a way to call a gesture
// off (Escape) without changing the drawing.
#pragma once

#include "cad/canvas/MyCAD.h"

#include <QByteArray>

#include <functional>

namespace mycad::studio {

class TStudioCanvas : public TMyCAD {
public:
    explicit TStudioCanvas(QWidget* parent = nullptr);

    /// True while a mouse gesture holds the button.
    bool GestureActive() const { return bMouseDown; }
    /// Ends the gesture in progress as if the mouse had not moved since the
    /// press: nothing changes and no undo step is recorded. A shape being
    /// drawn is dropped. False when there was nothing to cancel.
    bool CancelGesture();

    /// What the current gesture measures ("W 40.00 mm × H 20.00 mm" while a
    /// box is drawn or sized, "ΔX … ΔY …" while shapes move, "Length …" for
    /// lines); empty when nothing is measured.
    QString Measurement() const { return measurement_; }
    /// Called after each mouse move with the new measurement.
    std::function<void(const QString& text)> OnMeasurement;

    void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;

    /// Places what a stencil dragged from the Shapes panel carries at the
    /// device point; the new shape's id or -1. Drops of other data are refused.
    std::function<int32_t(const QByteArray& data, int32_t x, int32_t y)> OnStencilDropped;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QString Measure();
    /// The size the sized shape would have if the mouse were released now.
    QString SizingMeasure();
    QString Length(double devicePixels) const;
    void Publish(const QString& text);

    QString measurement_;
};

} // namespace mycad::studio
