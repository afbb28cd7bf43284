// The windowless control base of the canvas and the rulers, on a QWidget.
//
// Canvas() draws on a persistent surface image, so drawing outside Paint
// persists and XOR outlines erase themselves when drawn twice. The surface
// covers only the part of the control that is visible (inside a scroll area
// the viewport), so memory follows the screen, not the control's size;
// drawing outside it is clipped and exposing more of the control requests a
// Paint of the new part. Canvas coordinates are always control coordinates.
#pragma once

#include "platform/Graphics.h"
#include "platform/Types.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <vector>

class QLabel;

namespace mycad {

/// What a control is placed on: any widget of the host application.
using TWinControl = QWidget;

class TGraphicControl : public QWidget {
public:
    explicit TGraphicControl(QWidget* parent = nullptr);
    ~TGraphicControl() override;

    /// The surface canvas. During Paint its clip rectangle is the invalid area.
    TCanvas& Canvas();

    int32_t Width() const { return width(); }
    int32_t Height() const { return height(); }
    void SetWidth(int32_t w);
    void SetHeight(int32_t h);
    void SetBounds(int32_t left, int32_t top, int32_t w, int32_t h);
    /// The client rectangle: (0, 0, Width, Height).
    TRect ClientRect() const;
    /// The part of the control that is on screen, in control coordinates.
    TRect VisibleRect() const;

    /// Schedules a Paint of the whole visible surface.
    void Invalidate();
    /// How many times the whole control was invalidated: a control that
    /// keeps facts about what it draws knows them stale when this changes.
    uint64_t WholeInvalidations() const { return wholeInvalidations_; }
    /// Schedules a Paint of r (control coordinates) as far as it is visible;
    /// requests made before the paint are merged.
    void InvalidateRect(const TRect& r);
    /// Paints what is invalid now instead of waiting for the event loop.
    void Update();
    /// Invalidates everything and paints it now.
    void Repaint();

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c);
    String Hint() const { return hint_; }
    void SetHint(const String& h) { hint_ = h; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool s) { showHint_ = s; }
    /// Shows text in a hint window near the mouse; an empty text hides it.
    void ActivateHint(const String& text);
    void CancelHint();

    TPoint ClientToScreen(const TPoint& p) const;
    TPoint ScreenToClient(const TPoint& p) const;

    /// The surface image and the part of the control it covers (control
    /// coordinates); empty while nothing of the control is visible.
    const QImage& Surface() const { return surface_; }
    TRect SurfaceRect() const { return surfaceRect_; }
    /// The area waiting for the next Paint; empty when none is scheduled.
    TRect InvalidRect() const { return pending_; }

protected:
    /// Renders the invalid area; Canvas().ClipRect() tells which.
    virtual void Paint() {}
    virtual void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    virtual void MouseMove(TShiftState shift, int32_t x, int32_t y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    virtual void DblClick() {}
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void Resize() {}

    // QWidget
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void SyncSurface();
    TRect RunPaint(const TRect& area);
    void SchedulePaint(const TRect& area);
    void NotifyResize();
    void WatchAncestors();
    void UnwatchAncestors();
    TPoint DeliveredPos(const QPointF& local) const;
    enum class ButtonAction : uint8_t { Press, DoublePress, Release };
    void DeliverButton(QMouseEvent* e, ButtonAction action);

    QImage surface_;
    TCanvas canvas_;
    TRect surfaceRect_;
    TRect pending_;
    bool paintQueued_ = false;
    bool painting_ = false;
    bool syncAfterPaint_ = false;
    QSize notifiedSize_{-1, -1};
    std::vector<QPointer<QWidget>> watched_;
    TCursor cursor_ = TCursor::crDefault;
    String hint_;
    bool showHint_ = false;
    uint64_t wholeInvalidations_ = 0;
};

/// The mouse pointer in screen coordinates.
TPoint GetCursorPos();
void SetCursorPos(const TPoint& p);
/// Confines the pointer to a screen rectangle; nullptr releases it. Where the
/// platform cannot confine the real pointer, positions delivered to controls
/// are clamped to the rectangle while it is set.
void ClipCursor(const TRect* screenRect);
/// The current confinement; false when the pointer is free.
bool GetClipCursor(TRect& screenRect);

/// A text label for read-outs such as the pointer position. The QLabel lives
/// as long as this object, with or without a parent; when the parent is
/// destroyed first it takes the label along, and Widget() then returns nullptr
/// and the other calls do nothing.
class TLabel {
public:
    explicit TLabel(QWidget* parent = nullptr);
    ~TLabel();
    TLabel(const TLabel&) = delete;
    TLabel& operator=(const TLabel&) = delete;
    String Caption() const;
    void SetCaption(const String& text);
    QLabel* Widget() const;

private:
    QPointer<QLabel> label_;
};

/// Screen facts: pixels per inch (96 unless the screen reports otherwise).
struct TScreen {
    static int32_t PixelsPerInch();
};

} // namespace mycad
