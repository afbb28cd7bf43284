#include "apps/studio/CanvasArea.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace mycad::studio {

namespace {

constexpr int kDeskMargin = 32;
constexpr int kRulerThickness = 28;
constexpr int kMinZoom = 10;
constexpr int kMaxZoom = 800;

/// Ruler units per document pixel.
double UnitsPerPixel(TRulerUnit unit)
{
    const double inches = 1.0 / TScreen::PixelsPerInch();
    switch (unit) {
    case TRulerUnit::ruKilo: return inches * 2.54e-5;
    case TRulerUnit::ruMeter: return inches * 0.0254;
    case TRulerUnit::ruCenti: return inches * 2.54;
    case TRulerUnit::ruMilli: return inches * 25.4;
    case TRulerUnit::ruInch: return inches;
    case TRulerUnit::ruPixel: return 1.0;
    case TRulerUnit::ruNone: return 0.0;
    }
    return 0.0;
}

TUnits MeasurementUnitOf(TRulerUnit unit)
{
    switch (unit) {
    case TRulerUnit::ruPixel: return TUnits::pixel;
    case TRulerUnit::ruMilli: return TUnits::mm;
    case TRulerUnit::ruCenti: return TUnits::cm;
    case TRulerUnit::ruMeter:
    case TRulerUnit::ruKilo: return TUnits::m;
    case TRulerUnit::ruInch: return TUnits::inch;
    case TRulerUnit::ruNone: return TUnits::pixel;
    }
    return TUnits::mm;
}

/// Where a typed Space belongs to the widget (text fields), not to panning.
bool TakesText(const QWidget* w)
{
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w);
}

/// Passes the application's key presses and releases to a handler first.
class TKeyWatch : public QObject {
public:
    TKeyWatch(std::function<bool(QEvent*)> handler, QObject* parent) : QObject(parent), handler_(std::move(handler))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && handler_(event)) return true;
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool(QEvent*)> handler_;
};

} // namespace

/// The grey surface the page lies on, with the page's shadow. The canvas is
/// its only child; the desk is at least the view's size and centres the
/// page while it is smaller than the view.
class TDesk : public QWidget {
public:
    explicit TDesk(QWidget* parent) : QWidget(parent) { setAutoFillBackground(false); }
    QWidget* page = nullptr;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(0xD5, 0xDA, 0xDF));
        if (!page) return;
        const QRect r = page->geometry();
        // A soft shadow: a few widening, fading frames below and right.
        for (int i = 1; i <= 6; ++i) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 0, 0, 26 - i * 4));
            p.drawRoundedRect(r.adjusted(-i + 2, -i + 3, i + 1, i + 3), i, i);
        }
        p.setPen(QColor(0xA0, 0xA8, 0xB0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(-1, -1, 0, 0));
    }
};

TCanvasArea::TCanvasArea(QWidget* parent) : QWidget(parent)
{
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(false);
    desk_ = new TDesk(nullptr);
    cad_ = new TStudioCanvas(desk_);
    // The canvas takes the keyboard when clicked, so that the arrow keys
    // nudge and tool keys never type into a panel's field.
    cad_->setFocusPolicy(Qt::ClickFocus);
    desk_->page = cad_;
    scroll_->setWidget(desk_);

    topStrip_ = new QWidget(this);
    topStrip_->setFixedHeight(kRulerThickness);
    leftStrip_ = new QWidget(this);
    leftStrip_->setFixedWidth(kRulerThickness);
    top_ = new TRsRuler(topStrip_);
    top_->SetHeight(kRulerThickness);
    top_->SetFlat(true);
    top_->SetHairLine(true);
    left_ = new TRsRuler(leftStrip_);
    left_->SetDirection(TRulerDir::rdLeft);
    left_->SetWidth(kRulerThickness);
    left_->SetFlat(true);
    left_->SetHairLine(true);
    corner_ = new TRsRulerCorner(this);
    corner_->SetFlat(true);
    corner_->setFixedSize(kRulerThickness, kRulerThickness);
    corner_->SetShowHint(true);
    for (TRsBaseRuler* r : {static_cast<TRsBaseRuler*>(top_), static_cast<TRsBaseRuler*>(left_),
                            static_cast<TRsBaseRuler*>(corner_)}) {
        r->SetColor(RGB(0xEC, 0xEF, 0xF1));
        r->SetScaleColor(RGB(0xFA, 0xFB, 0xFC));
        r->SetTickColor(RGB(0x60, 0x6B, 0x75));
        r->Font().SetColor(RGB(0x37, 0x47, 0x4F));
        r->Font().SetSize(7);
    }

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(corner_, 0, 0);
    grid->addWidget(topStrip_, 0, 1);
    grid->addWidget(leftStrip_, 1, 0);
    grid->addWidget(scroll_, 1, 1);

    corner_->installEventFilter(this);
    cad_->installEventFilter(this);
    desk_->installEventFilter(this);
    new TKeyWatch([this](QEvent* event) { return SpaceKeyEvent(event); }, this);
    scroll_->viewport()->installEventFilter(this);
    topStrip_->installEventFilter(this);
    leftStrip_->installEventFilter(this);
    connect(scroll_->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { SyncRulers(); });
    connect(scroll_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { SyncRulers(); });

    cad_->OnMouseMove = [this](TMyCAD*, TShiftState, int32_t x, int32_t y) {
        ShowPointer(x, y);
        emit PointerMoved(x, y);
    };
    cad_->OnMouseLeave = [this](TMyCAD*) { ShowPointer(-1, -1); };

    SetRulerUnit(TRulerUnit::ruMilli);
    LayoutDesk();
}

TCanvasArea::~TCanvasArea()
{
    // The canvas outlives nothing that its hooks point into.
    cad_->OnMouseMove = nullptr;
    cad_->OnMouseLeave = nullptr;
}

const std::vector<int>& TCanvasArea::ZoomSteps()
{
    static const std::vector<int> steps{10, 25, 33, 50, 67, 75, 100, 125, 150, 200, 300, 400, 600, 800};
    return steps;
}

int TCanvasArea::ZoomPercent() const { return RoundToInt(cad_->Zoom() * 100.0); }

void TCanvasArea::SetZoomPercent(int percent)
{
    percent = std::clamp(percent, kMinZoom, kMaxZoom);
    if (percent == ZoomPercent()) return;
    const double oldZoom = cad_->Zoom();
    const QSize view = scroll_->viewport()->size();
    // The document point in the middle of the view stays there.
    const QPoint origin = cad_->pos();
    const double docX = (scroll_->horizontalScrollBar()->value() + view.width() / 2.0 - origin.x()) / oldZoom;
    const double docY = (scroll_->verticalScrollBar()->value() + view.height() / 2.0 - origin.y()) / oldZoom;
    cad_->SetZoom(percent / 100.0);
    LayoutDesk();
    const double zoom = cad_->Zoom();
    const QPoint moved = cad_->pos();
    scroll_->horizontalScrollBar()->setValue(RoundToInt(docX * zoom + moved.x() - view.width() / 2.0));
    scroll_->verticalScrollBar()->setValue(RoundToInt(docY * zoom + moved.y() - view.height() / 2.0));
    cad_->Invalidate();
    SyncRulers();
    emit ZoomChanged(ZoomPercent());
}

void TCanvasArea::ZoomIn()
{
    const int now = ZoomPercent();
    for (const int step : ZoomSteps()) {
        if (step > now) {
            SetZoomPercent(step);
            return;
        }
    }
}

void TCanvasArea::ZoomOut()
{
    const int now = ZoomPercent();
    const auto& steps = ZoomSteps();
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
        if (*it < now) {
            SetZoomPercent(*it);
            return;
        }
    }
}

void TCanvasArea::ZoomToFit()
{
    const double zoom = cad_->Zoom();
    const double pageW = cad_->Width() / zoom;
    const double pageH = cad_->Height() / zoom;
    if (pageW <= 0 || pageH <= 0) return;
    const QSize view = scroll_->maximumViewportSize();
    const double fit = std::min((view.width() - 2.0 * kDeskMargin) / pageW, (view.height() - 2.0 * kDeskMargin) / pageH);
    SetZoomPercent(static_cast<int>(std::floor(fit * 100.0)));
}

void TCanvasArea::AtZoomOne(const std::function<void()>& work)
{
    const double zoom = cad_->Zoom();
    if (zoom == 1.0) {
        work();
        return;
    }
    const double preZoom = cad_->PreZoom();
    const int h = scroll_->horizontalScrollBar()->value();
    const int v = scroll_->verticalScrollBar()->value();
    cad_->SetZoom(1.0);
    work();
    cad_->SetZoom(zoom);
    cad_->SetPreZoom(preZoom);
    LayoutDesk();
    scroll_->horizontalScrollBar()->setValue(h);
    scroll_->verticalScrollBar()->setValue(v);
}

void TCanvasArea::SetRulerUnit(TRulerUnit unit, bool measure)
{
    top_->SetUnit(unit);
    left_->SetUnit(unit);
    corner_->SetUnit(unit);
    if (measure) cad_->SetTheUNIT(MeasurementUnitOf(unit));
    SyncRulers();
}

void TCanvasArea::SetRulersVisible(bool visible)
{
    corner_->setVisible(visible);
    topStrip_->setVisible(visible);
    leftStrip_->setVisible(visible);
}

bool TCanvasArea::RulersVisible() const { return !corner_->isHidden(); }

QPoint TCanvasArea::CanvasOriginInView() const { return cad_->mapTo(scroll_->viewport(), QPoint(0, 0)); }

double TCanvasArea::UnitsPerDocumentPixel() const { return UnitsPerPixel(top_->Units()); }

QString TCanvasArea::PositionText(int32_t x, int32_t y) const
{
    const TRulerUnit unit = top_->Units();
    const double k = UnitsPerPixel(unit) / cad_->Zoom();
    const int decimals = unit == TRulerUnit::ruPixel ? 0 : unit == TRulerUnit::ruMilli ? 1 : 2;
    return QStringLiteral("X %1  Y %2 %3")
        .arg(x * k, 0, 'f', decimals)
        .arg(y * k, 0, 'f', decimals)
        .arg(corner_->UnitText());
}

void TCanvasArea::PanBy(QPoint delta)
{
    scroll_->horizontalScrollBar()->setValue(scroll_->horizontalScrollBar()->value() - delta.x());
    scroll_->verticalScrollBar()->setValue(scroll_->verticalScrollBar()->value() - delta.y());
}

void TCanvasArea::SetHandTool(bool hand)
{
    handTool_ = hand;
    ShowPanCursor();
}

void TCanvasArea::ShowPanCursor()
{
    if (panButton_ != Qt::NoButton) {
        cad_->setCursor(Qt::ClosedHandCursor);
    } else if (handTool_ || spaceHeld_) {
        cad_->setCursor(Qt::OpenHandCursor);
    } else {
        cad_->SetCursor(cad_->Cursor()); // the canvas's own again
    }
}

bool TCanvasArea::PanEvent(QEvent* event)
{
    const auto* mouse = static_cast<QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        if (panButton_ != Qt::NoButton) return true;
        const bool left = mouse->button() == Qt::LeftButton;
        if (!(mouse->button() == Qt::MiddleButton || (left && (handTool_ || spaceHeld_)))) return false;
        panButton_ = mouse->button();
        panFrom_ = mouse->globalPosition().toPoint();
        panPressedAt_ = mouse->position().toPoint();
        panMoved_ = false;
        ShowPanCursor();
        return true;
    }
    case QEvent::MouseMove: {
        if (panButton_ == Qt::NoButton) return false;
        const QPoint now = mouse->globalPosition().toPoint();
        if (now != panFrom_) panMoved_ = true;
        PanBy(now - panFrom_);
        panFrom_ = now;
        ShowPointer(-1, -1);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (panButton_ == Qt::NoButton || mouse->button() != panButton_) return panButton_ != Qt::NoButton;
        panButton_ = Qt::NoButton;
        ShowPanCursor();
        // A click of the hand tool without a drag still picks a shape, as
        // looking at a drawing does.
        if (handTool_ && !panMoved_ && mouse->button() == Qt::LeftButton) {
            const TShiftState none;
            cad_->MouseDown(TMouseButton::mbLeft, none, panPressedAt_.x(), panPressedAt_.y());
            cad_->MouseUp(TMouseButton::mbLeft, none, panPressedAt_.x(), panPressedAt_.y());
        }
        return true;
    }
    default: return false;
    }
}

bool TCanvasArea::WheelEvent(QWheelEvent* wheel)
{
    const QPoint delta = wheel->angleDelta();
    if (wheel->modifiers().testFlag(Qt::ControlModifier)) {
        // Ctrl with the wheel zooms, as in every editor.
        if (delta.y() > 0) ZoomIn();
        if (delta.y() < 0) ZoomOut();
        return true;
    }
    // The wheel scrolls down the page, Shift with it (or a sideways wheel)
    // across; one notch is three lines of about 20 pixels.
    const bool across = wheel->modifiers().testFlag(Qt::ShiftModifier) || (delta.y() == 0 && delta.x() != 0);
    const int notches = delta.y() != 0 ? delta.y() : delta.x();
    QScrollBar* bar = across ? scroll_->horizontalScrollBar() : scroll_->verticalScrollBar();
    bar->setValue(bar->value() - notches * 60 / 120);
    return true;
}

bool TCanvasArea::SpaceKeyEvent(QEvent* event)
{
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Space || TakesText(QApplication::focusWidget())) return false;
    if (!isVisible() || !window()->isActiveWindow()) return false;
    if (!key->isAutoRepeat()) {
        spaceHeld_ = event->type() == QEvent::KeyPress;
        ShowPanCursor();
    }
    return true;
}

void TCanvasArea::PlaceRuler(TRsRuler& ruler, QWidget& strip, int originInView, bool horizontal)
{
    ruler.SetScale(ZoomPercent());
    ruler.CalcAdvance();
    const double step = 10.0 * ruler.Advance(); // pixels between two labels
    const double k = std::ceil(originInView / step);
    const int start = RoundToInt(originInView - k * step);
    const double offsetPixels = -k * step / cad_->Zoom();
    double offset = offsetPixels * UnitsPerPixel(ruler.Units());
    // The ruler truncates pixel values; whole numbers must arrive whole.
    if (ruler.Units() == TRulerUnit::ruPixel) offset = std::round(offset);
    ruler.SetOffset(offset);
    const int length = (horizontal ? strip.width() : strip.height()) - start;
    if (horizontal) {
        ruler.SetBounds(start, 0, length, kRulerThickness);
    } else {
        ruler.SetBounds(0, start, kRulerThickness, length);
    }
}

void TCanvasArea::SyncRulers()
{
    const QPoint origin = CanvasOriginInView();
    // The strips begin where the view begins.
    PlaceRuler(*top_, *topStrip_, origin.x(), true);
    PlaceRuler(*left_, *leftStrip_, origin.y(), false);
    if (pointerX_ >= 0) ShowPointer(pointerX_, pointerY_);
}

void TCanvasArea::ShowPointer(int32_t x, int32_t y)
{
    pointerX_ = x;
    pointerY_ = y;
    if (x < 0) {
        top_->SetHairLinePos(-1);
        left_->SetHairLinePos(-1);
        return;
    }
    const QPoint origin = CanvasOriginInView();
    top_->SetHairLinePos(origin.x() + x - top_->x());
    left_->SetHairLinePos(origin.y() + y - left_->y());
}

void TCanvasArea::LayoutDesk()
{
    if (layingOut_) return;
    layingOut_ = true;
    const QSize view = scroll_->viewport()->size();
    const QSize page = cad_->size();
    const QSize needed(page.width() + 2 * kDeskMargin, page.height() + 2 * kDeskMargin);
    desk_->resize(std::max(view.width(), needed.width()), std::max(view.height(), needed.height()));
    // The view may have lost or gained scroll bars.
    const QSize after = scroll_->viewport()->size();
    if (after != view) {
        desk_->resize(std::max(after.width(), needed.width()), std::max(after.height(), needed.height()));
    }
    const int x = std::max(kDeskMargin, (desk_->width() - page.width()) / 2);
    const int y = std::max(kDeskMargin, (desk_->height() - page.height()) / 2);
    if (cad_->pos() != QPoint(x, y)) cad_->move(x, y);
    desk_->update();
    layingOut_ = false;
    SyncRulers();
}

bool TCanvasArea::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == cad_ && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
                            type == QEvent::MouseMove || type == QEvent::MouseButtonRelease)) {
        if (PanEvent(event)) return true;
    }
    if (watched == desk_ && type == QEvent::MouseButtonPress) {
        // Presses the canvas did not take arrive here too; only those beside
        // the page count.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!cad_->geometry().contains(mouse->position().toPoint())) {
            emit DeskPressed(mouse->globalPosition().toPoint(), mouse->button());
            return true;
        }
    }
    if (type == QEvent::Wheel && (watched == cad_ || watched == scroll_->viewport())) {
        return WheelEvent(static_cast<QWheelEvent*>(event));
    }
    if (watched == corner_ && event->type() == QEvent::MouseButtonRelease) {
        emit CornerClicked();
        return true;
    }
    if (event->type() == QEvent::Resize) {
        if (watched == cad_ || watched == scroll_->viewport()) {
            LayoutDesk();
        } else if (watched == topStrip_ || watched == leftStrip_) {
            SyncRulers();
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace mycad::studio
