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

#include <QWidget>

#include <cstdint>

class QLabel;

namespace mycad {

class TGraphicControl : public QWidget {
public:
    explicit TGraphicControl(QWidget* parent = nullptr);
    ~TGraphicControl() override;

    /// The surface canvas. During Paint its clip rectangle is the invalid area.
    TCanvas& Canvas() { return canvas_; }

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

private:
    void SyncSurface();
    void RunPaint(const TRect& area);

    QImage surface_;
    TCanvas canvas_;
    TRect surfaceRect_;
    TRect pending_;
    bool paintQueued_ = false;
    TCursor cursor_ = TCursor::crDefault;
    String hint_;
    bool showHint_ = false;
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

/// A text label for read-outs such as the pointer position.
class TLabel {
public:
    explicit TLabel(QWidget* parent = nullptr);
    ~TLabel();
    String Caption() const;
    void SetCaption(const String& text);
    QLabel* Widget() const { return label_; }

private:
    QLabel* label_;
    bool owned_;
};

/// Screen facts: pixels per inch (96 unless the screen reports otherwise).
struct TScreen {
    static int32_t PixelsPerInch();
};

} // namespace mycad
