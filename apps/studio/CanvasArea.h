// The drawing area of Studio: the canvas on a grey desk inside a scroll area,
// framed by a ruler along the top and one along the left with a corner where
// they meet. The rulers follow the zoom and the scrolling, count from the
// page's top-left corner, and their hair lines follow the mouse.
#pragma once

#include "cad/canvas/MyCAD.h"
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

    TMyCAD& Cad() { return *cad_; }
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

signals:
    void ZoomChanged(int percent);
    /// The mouse over the canvas, in its device pixels.
    void PointerMoved(int32_t x, int32_t y);
    /// The corner between the rulers was clicked (to change the unit).
    void CornerClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayoutDesk();
    /// Places a ruler in its strip so that one of its labels falls on the
    /// page's edge: it then counts in round numbers from the page's corner.
    void PlaceRuler(TRsRuler& ruler, QWidget& strip, int originInView, bool horizontal);

    QScrollArea* scroll_ = nullptr;
    TDesk* desk_ = nullptr;
    TMyCAD* cad_ = nullptr;
    QWidget* topStrip_ = nullptr;
    QWidget* leftStrip_ = nullptr;
    TRsRuler* top_ = nullptr;
    TRsRuler* left_ = nullptr;
    TRsRulerCorner* corner_ = nullptr;
    bool layingOut_ = false;
    int32_t pointerX_ = -1;
    int32_t pointerY_ = -1;
};

} // namespace mycad::studio
