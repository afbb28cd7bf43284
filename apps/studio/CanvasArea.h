// The drawing area of Studio: the canvas on a grey desk inside a scroll area,
// framed by a ruler along the top and one along the left with a corner where
// they meet. The rulers follow the zoom and the scrolling, count from the
// page's top-left corner, and their hair lines follow the mouse. The view
// pans with the hand tool, the middle button, Space with a drag and the
// wheel (Shift: across).
#pragma once

#include "apps/studio/StudioCanvas.h"
#include "ruler/Ruler.h"
#include "ruler/RulerCorner.h"

#include <QScrollArea>
#include <QWidget>

#include <functional>

namespace mycad::studio {

class TDesk;

class TCanvasArea : public QWidget {
    Q_OBJECT

public:
    explicit TCanvasArea(QWidget* parent = nullptr);
    ~TCanvasArea() override;

    TStudioCanvas& Cad() { return *cad_; }
    TRsRuler& TopRuler() { return *top_; }
    TRsRuler& LeftRuler() { return *left_; }
    TRsRulerCorner& Corner() { return *corner_; }
    QScrollArea& ScrollArea() { return *scroll_; }

    /// Zoom steps of the zoom-in and zoom-out commands, in percent; the
    /// rulers count in whole percents, so every zoom Studio sets is one.
    static const std::vector<int>& ZoomSteps();
    /// Sets the zoom (clamped to 10 .. 800 %), keeping the document point in
    /// the middle of the view where it is.
    void SetZoomPercent(int percent);
    int ZoomPercent() const;
    void ZoomIn();
    void ZoomOut();
    /// The largest whole percent at which the whole page fits the view.
    void ZoomToFit();

    /// Runs work with the canvas at zoom 1 and then puts the zoom and the
    /// view back as they were. Documents store the page's size at zoom 1,
    /// which a save at another zoom would only approach by rounding.
    void AtZoomOne(const std::function<void()>& work);

    /// The unit the rulers count in; the canvas measures in the matching unit.
    TRulerUnit RulerUnit() const { return top_->Units(); }
    /// Ruler units per document pixel.
    double UnitsPerDocumentPixel() const;
    /// With measure, the canvas's measurements change to the unit too.
    void SetRulerUnit(TRulerUnit unit, bool measure = true);
    void SetRulersVisible(bool visible);
    bool RulersVisible() const;

    /// Puts the rulers' scale and start value right for the canvas's
    /// current zoom and place in the view.
    void SyncRulers();
    /// Moves both hair lines to the device point (x, y) of the canvas; a
    /// negative x hides them.
    void ShowPointer(int32_t x, int32_t y);
    /// Where the page's top-left corner is in the view.
    QPoint CanvasOriginInView() const;
    /// The device point (x, y) of the canvas as a position on the page in
    /// the rulers' unit, e.g. "X 52.92  Y 25.14 mm".
    QString PositionText(int32_t x, int32_t y) const;
    /// Moves the view so that the drawing follows the mouse by delta.
    void PanBy(QPoint delta);
    /// True while the left button pans instead of editing (the hand tool).
    void SetHandTool(bool hand);

signals:
    void ZoomChanged(int percent);
    /// The mouse over the canvas, in its device pixels.
    void PointerMoved(int32_t x, int32_t y);
    /// The corner between the rulers was clicked (to change the unit).
    void CornerClicked();
    /// A press on the grey desk around the page.
    void DeskPressed(QPoint globalPos, Qt::MouseButton button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayoutDesk();
    /// Pan gestures on the canvas; true when the event was used.
    bool PanEvent(QEvent* event);
    bool WheelEvent(QWheelEvent* wheel);
    /// Space held down: the left button pans while it is.
    bool SpaceKeyEvent(QEvent* event);
    void ShowPanCursor();
    /// Places a ruler in its strip so that one of its labels falls on the
    /// page's edge: it then counts in round numbers from the page's corner.
    void PlaceRuler(TRsRuler& ruler, QWidget& strip, int originInView, bool horizontal);

    QScrollArea* scroll_ = nullptr;
    TDesk* desk_ = nullptr;
    TStudioCanvas* cad_ = nullptr;
    QWidget* topStrip_ = nullptr;
    QWidget* leftStrip_ = nullptr;
    TRsRuler* top_ = nullptr;
    TRsRuler* left_ = nullptr;
    TRsRulerCorner* corner_ = nullptr;
    bool layingOut_ = false;
    int32_t pointerX_ = -1;
    int32_t pointerY_ = -1;
    bool handTool_ = false;
    bool spaceHeld_ = false;
    /// The button that pans now (Qt::NoButton when none).
    Qt::MouseButton panButton_ = Qt::NoButton;
    QPoint panFrom_;
    QPoint panPressedAt_;
    bool panMoved_ = false;
};

} // namespace mycad::studio
