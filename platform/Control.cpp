#include "platform/Control.h"

#include "platform/Cursor.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace mycad {

namespace {

// Invalidation posts one of these; however many requests come before it is
// delivered, they are merged into one Paint.
const QEvent::Type kPaintRequest = static_cast<QEvent::Type>(QEvent::registerEventType());

QRect ToQRect(const TRect& r)
{
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

TRect ToTRect(const QRect& r)
{
    if (r.isEmpty()) return {};
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

std::optional<TMouseButton> ButtonOf(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return TMouseButton::mbLeft;
    case Qt::RightButton: return TMouseButton::mbRight;
    case Qt::MiddleButton: return TMouseButton::mbMiddle;
    default: return std::nullopt;
    }
}

TShiftState ShiftOf(Qt::KeyboardModifiers keys, Qt::MouseButtons buttons)
{
    using S = TShiftStateItem;
    TShiftState s;
    if (keys & Qt::ShiftModifier) s.Include(S::ssShift);
    if (keys & Qt::ControlModifier) s.Include(S::ssCtrl);
    if (keys & Qt::AltModifier) s.Include(S::ssAlt);
    if (buttons & Qt::LeftButton) s.Include(S::ssLeft);
    if (buttons & Qt::RightButton) s.Include(S::ssRight);
    if (buttons & Qt::MiddleButton) s.Include(S::ssMiddle);
    return s;
}

// The parts of `now` that `before` did not cover, as one bounding rectangle.
TRect NewlyCovered(const TRect& now, const TRect& before)
{
    TRect kept;
    if (!IntersectRect(kept, now, before)) return now;
    TRect exposed;
    exposed = UnionRect(exposed, Rect(now.Left, now.Top, now.Right, kept.Top));
    exposed = UnionRect(exposed, Rect(now.Left, kept.Bottom, now.Right, now.Bottom));
    exposed = UnionRect(exposed, Rect(now.Left, kept.Top, kept.Left, kept.Bottom));
    exposed = UnionRect(exposed, Rect(kept.Right, kept.Top, now.Right, kept.Bottom));
    return exposed;
}

// The desktop's size, but at least 4096 pixels each way so that headless
// screens do not cut off controls that are drawn without being shown.
QSize WindowExtentCap()
{
    constexpr int kMinimum = 4096;
    QSize desktop;
    if (qGuiApp)
        if (const QScreen* screen = QGuiApplication::primaryScreen()) desktop = screen->virtualSize();
    return desktop.expandedTo(QSize(kMinimum, kMinimum));
}

} // namespace

TGraphicControl::TGraphicControl(QWidget* parent) : QWidget(parent)
{
    // Every visible pixel comes from the surface, so Qt need not erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button held reach MouseMove too.
    setMouseTracking(true);
    WatchAncestors();
    SyncSurface();
}

TGraphicControl::~TGraphicControl()
{
    UnwatchAncestors();
    canvas_.SetTarget(nullptr);
}

TCanvas& TGraphicControl::Canvas()
{
    // Drawing outside Paint changes the surface behind Qt's back; make sure
    // the next paint event shows it.
    if (!painting_) update();
    return canvas_;
}

// ------------------------------------------------------------- geometry

void TGraphicControl::SetWidth(int32_t w)
{
    SetBounds(x(), y(), w, height());
}

void TGraphicControl::SetHeight(int32_t h)
{
    SetBounds(x(), y(), width(), h);
}

void TGraphicControl::SetBounds(int32_t left, int32_t top, int32_t w, int32_t h)
{
    setGeometry(left, top, std::max(w, 0), std::max(h, 0));
    // A hidden widget hears of its new geometry only when shown; the surface
    // and Resize follow now, so code can draw right after sizing.
    SyncSurface();
    NotifyResize();
}

TRect TGraphicControl::ClientRect() const
{
    return Rect(0, 0, width(), height());
}

TRect TGraphicControl::VisibleRect() const
{
    // Every ancestor clips its children; inside a scroll area this leaves the
    // part under the viewport. Being hidden does not matter: a control that is
    // drawn before it is shown keeps what it drew.
    QRect r = rect();
    const QWidget* top = this;
    for (; !top->isWindow() && top->parentWidget(); top = top->parentWidget()) {
        const QWidget* p = top->parentWidget();
        r &= QRect(mapFrom(p, QPoint(0, 0)), p->size());
        if (r.isEmpty()) return {};
    }
    // No window shows more than a screen. Capping the window's extent keeps a
    // page-sized control that is created on its own, before it goes into a
    // scroll area, from allocating the whole page.
    const QPoint windowOrigin = top == this ? QPoint(0, 0) : mapFrom(top, QPoint(0, 0));
    r &= QRect(windowOrigin, WindowExtentCap());
    return ToTRect(r);
}

TPoint TGraphicControl::ClientToScreen(const TPoint& p) const
{
    const QPoint g = mapToGlobal(QPoint(p.X, p.Y));
    return {g.x(), g.y()};
}

TPoint TGraphicControl::ScreenToClient(const TPoint& p) const
{
    const QPoint l = mapFromGlobal(QPoint(p.X, p.Y));
    return {l.x(), l.y()};
}

// -------------------------------------------------------------- surface

void TGraphicControl::SyncSurface()
{
    // Paint may resize the control; the surface it draws on must stay put
    // until it returns.
    if (painting_) {
        syncAfterPaint_ = true;
        return;
    }
    TRect visible = VisibleRect();
    // The surface has the screen's pixel density, so that a high-density
    // screen shows the drawing as sharp as the rest of the window.
    const double dpr = devicePixelRatioF();
    const QSize pixels(static_cast<int>(std::ceil(visible.Width() * dpr)),
                       static_cast<int>(std::ceil(visible.Height() * dpr)));
    if (visible == surfaceRect_ && surface_.size() == pixels && surface_.devicePixelRatio() == dpr) return;

    QImage next;
    if (!visible.IsEmpty()) {
        // 32-bit pixels: the raster operations work on whole pixels.
        next = QImage(pixels, QImage::Format_RGB32);
        if (next.isNull()) visible = {};
    }
    // Pixels are kept across a resize or scroll only one for one; a finer
    // surface is painted again whole.
    const TRect before = surface_.isNull() || dpr != 1.0 || surface_.devicePixelRatio() != 1.0 ? TRect{} : surfaceRect_;
    if (!next.isNull()) {
        next.setDevicePixelRatio(dpr);
        next.fill(Qt::white);
        // Pixels that stay on screen keep what was drawn on them.
        TRect kept;
        if (IntersectRect(kept, visible, before)) {
            const size_t rowBytes = static_cast<size_t>(kept.Width()) * 4;
            for (int32_t y = kept.Top; y < kept.Bottom; ++y) {
                const uchar* from = surface_.constScanLine(y - before.Top) + (kept.Left - before.Left) * 4;
                uchar* to = next.scanLine(y - visible.Top) + (kept.Left - visible.Left) * 4;
                std::memcpy(to, from, rowBytes);
            }
        }
    }
    surface_ = std::move(next);
    surfaceRect_ = visible;
    canvas_.SetTarget(surface_.isNull() ? nullptr : &surface_);
    canvas_.SetDeviceOrigin({visible.Left, visible.Top});
    if (!visible.IsEmpty()) SchedulePaint(NewlyCovered(visible, before));
}

void TGraphicControl::UnwatchAncestors()
{
    for (const QPointer<QWidget>& w : watched_)
        if (w) w->removeEventFilter(this);
    watched_.clear();
}

void TGraphicControl::WatchAncestors()
{
    UnwatchAncestors();
    for (QWidget* p = parentWidget(); p; p = p->isWindow() ? nullptr : p->parentWidget()) {
        p->installEventFilter(this);
        watched_.emplace_back(p);
    }
}

bool TGraphicControl::eventFilter(QObject* watched, QEvent* e)
{
    // A viewport that grows or an ancestor that moves changes what is visible
    // without touching the control itself.
    switch (e->type()) {
    case QEvent::ParentChange: WatchAncestors(); SyncSurface(); break;
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::Show: SyncSurface(); break;
    default: break;
    }
    return QWidget::eventFilter(watched, e);
}

// ------------------------------------------------------------- painting

void TGraphicControl::SchedulePaint(const TRect& area)
{
    if (area.IsEmpty()) return;
    pending_ = UnionRect(pending_, area);
    if (!paintQueued_) {
        paintQueued_ = true;
        QCoreApplication::postEvent(this, new QEvent(kPaintRequest));
    }
}

void TGraphicControl::Invalidate()
{
    ++wholeInvalidations_;
    InvalidateRect(ClientRect());
}

void TGraphicControl::InvalidateRect(const TRect& r)
{
    SyncSurface();
    TRect area;
    if (IntersectRect(area, r, surfaceRect_)) SchedulePaint(area);
}

TRect TGraphicControl::RunPaint(const TRect& area)
{
    // area may be pending_ itself: take the clip before clearing it.
    TRect clip;
    const bool visible = IntersectRect(clip, area, surfaceRect_);
    pending_ = {};
    if (painting_ || !visible) return {};
    painting_ = true;
    canvas_.SetClipRect(clip);
    Paint();
    canvas_.SetClipRect({});
    painting_ = false;
    if (syncAfterPaint_) {
        syncAfterPaint_ = false;
        SyncSurface();
    }
    return clip;
}

void TGraphicControl::Update()
{
    if (painting_) return;
    SyncSurface();
    if (pending_.IsEmpty()) return;
    const TRect done = RunPaint(pending_);
    if (!done.IsEmpty()) update(ToQRect(done));
}

void TGraphicControl::Repaint()
{
    Invalidate();
    Update();
}

void TGraphicControl::paintEvent(QPaintEvent* e)
{
    SyncSurface();
    // Render what is waiting first, so the blit below never shows stale pixels.
    if (!pending_.IsEmpty() && !painting_) {
        const TRect done = RunPaint(pending_);
        if (!e->rect().contains(ToQRect(done))) update(ToQRect(done));
    }
    if (surface_.isNull()) return;
    const QRect target = e->rect() & ToQRect(surfaceRect_);
    if (target.isEmpty()) return;
    QPainter painter(this);
    const QRect source = target.translated(-surfaceRect_.Left, -surfaceRect_.Top);
    const double dpr = surface_.devicePixelRatio();
    painter.drawImage(QRectF(target), surface_,
                      QRectF(source.x() * dpr, source.y() * dpr, source.width() * dpr, source.height() * dpr));
}

// ----------------------------------------------------- resize and events

void TGraphicControl::NotifyResize()
{
    if (size() == notifiedSize_) return;
    notifiedSize_ = size();
    Resize();
}

void TGraphicControl::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    SyncSurface();
    NotifyResize();
}

void TGraphicControl::moveEvent(QMoveEvent* e)
{
    // Scroll areas scroll by moving their widget.
    QWidget::moveEvent(e);
    SyncSurface();
}

bool TGraphicControl::event(QEvent* e)
{
    if (e->type() == kPaintRequest) {
        paintQueued_ = false;
        Update();
        return true;
    }
    switch (e->type()) {
    case QEvent::ToolTip: {
        const auto* help = static_cast<QHelpEvent*>(e);
        if (showHint_ && !hint_.isEmpty())
            QToolTip::showText(help->globalPos(), hint_, this);
        else
            QToolTip::hideText();
        return true;
    }
    case QEvent::ParentChange:
        WatchAncestors();
        SyncSurface();
        break;
    case QEvent::Show:
        SyncSurface();
        break;
    default: break;
    }
    return QWidget::event(e);
}

// ---------------------------------------------------------------- mouse

TPoint TGraphicControl::DeliveredPos(const QPointF& local) const
{
    const TPoint p{static_cast<int32_t>(std::floor(local.x())), static_cast<int32_t>(std::floor(local.y()))};
    TRect clip;
    if (!GetClipCursor(clip)) return p;
    return ScreenToClient(ConfineToClip(ClientToScreen(p)));
}

void TGraphicControl::MouseDown(TMouseButton, TShiftState, int32_t, int32_t) {}
void TGraphicControl::MouseMove(TShiftState, int32_t, int32_t) {}
void TGraphicControl::MouseUp(TMouseButton, TShiftState, int32_t, int32_t) {}

void TGraphicControl::DeliverButton(QMouseEvent* e, ButtonAction action)
{
    const auto button = ButtonOf(e->button());
    if (!button) {
        e->ignore();
        return;
    }
    const TPoint p = DeliveredPos(e->position());
    TShiftState shift = ShiftOf(e->modifiers(), e->buttons());
    if (action == ButtonAction::Release) {
        MouseUp(*button, shift, p.X, p.Y);
    } else if (action == ButtonAction::DoublePress) {
        // Qt sends the double click instead of the second press.
        MouseDown(*button, shift.Include(TShiftStateItem::ssDouble), p.X, p.Y);
        DblClick();
    } else {
        MouseDown(*button, shift, p.X, p.Y);
    }
    e->accept();
}

void TGraphicControl::mousePressEvent(QMouseEvent* e)
{
    DeliverButton(e, ButtonAction::Press);
}

void TGraphicControl::mouseDoubleClickEvent(QMouseEvent* e)
{
    DeliverButton(e, ButtonAction::DoublePress);
}

void TGraphicControl::mouseReleaseEvent(QMouseEvent* e)
{
    DeliverButton(e, ButtonAction::Release);
}

void TGraphicControl::mouseMoveEvent(QMouseEvent* e)
{
    TRect clip;
    if (GetClipCursor(clip) && CanMovePointer()) {
        const QPoint global = e->globalPosition().toPoint();
        const TPoint inside = ConfineToClip({global.x(), global.y()});
        if (inside.X != global.x() || inside.Y != global.y()) QCursor::setPos(inside.X, inside.Y);
    }
    const TPoint p = DeliveredPos(e->position());
    MouseMove(ShiftOf(e->modifiers(), e->buttons()), p.X, p.Y);
    e->accept();
}

void TGraphicControl::enterEvent(QEnterEvent* e)
{
    QWidget::enterEvent(e);
    MouseEnter();
}

void TGraphicControl::leaveEvent(QEvent* e)
{
    QWidget::leaveEvent(e);
    MouseLeave();
}

// ------------------------------------------------------- cursor and hint

void TGraphicControl::SetCursor(TCursor c)
{
    cursor_ = c;
    if (c == TCursor::crDefault)
        unsetCursor();
    else
        setCursor(QCursor(CursorShapeOf(c)));
}

void TGraphicControl::ActivateHint(const String& text)
{
    if (text.isEmpty()) {
        CancelHint();
        return;
    }
    // The tip window is shown and left; it never waits for the user.
    const TPoint at = GetCursorPos();
    QToolTip::showText(QPoint(at.X, at.Y), text, this);
}

void TGraphicControl::CancelHint()
{
    QToolTip::hideText();
}

} // namespace mycad
