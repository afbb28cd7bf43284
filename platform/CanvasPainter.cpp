// A QPainter set up for one drawing operation of a canvas.
#include "platform/CanvasPainter.h"

#include <cmath>
#include <cstdlib>

namespace mycad {

namespace {

// QPainter draws only on images of 15 bits and more.
bool Paintable(QImage::Format f)
{
    switch (f) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
    case QImage::Format_Alpha8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
        return false;
    default:
        return true;
    }
}

QRect ToQRect(const TRect& r)
{
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

} // namespace

TCanvasPainter::TCanvasPainter(TCanvas& canvas, Use use) : canvas_(canvas), image_(canvas.target_)
{
    if (use == Use::Shape && canvas.pen_.Mode() == TPenMode::pmNop) return;
    if (canvas.devicePainter_) {
        onDevice_ = true;
        painter_ = canvas.devicePainter_.get();
        painter_->save();
    } else {
        if (image_ == nullptr || image_->isNull()) return;
        if (Paintable(image_->format())) {
            ownPainter_.emplace(image_);
        } else {
            useScratch_ = true;
            scratch_ = image_->convertToFormat(QImage::Format_RGB32);
            ownPainter_.emplace(&scratch_);
        }
        painter_ = &*ownPainter_;
    }
    QPainter& p = *painter_;
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setTransform(DeviceToImage(canvas));
    // Clips live in device pixels, whatever the world transform.
    const bool hasRect = !canvas.clipRect_.IsEmpty();
    if (hasRect) p.setClipRect(ToQRect(canvas.clipRect_));
    if (canvas.hasClipRegion_) p.setClipPath(canvas.clipRegion_, hasRect ? Qt::IntersectClip : Qt::ReplaceClip);
    p.setWorldTransform(LogicalToDevice(canvas) * DeviceToImage(canvas));
    if (use == Use::Shape && !onDevice_) p.setCompositionMode(ToCompositionMode(canvas.pen_.Mode()));
}

TCanvasPainter::~TCanvasPainter()
{
    if (onDevice_) painter_->restore();
    painter_ = nullptr;
    ownPainter_.reset();
    if (useScratch_) {
        // Indexed targets keep their colour table; each pixel takes the nearest entry.
        const int dpmX = image_->dotsPerMeterX();
        const int dpmY = image_->dotsPerMeterY();
        *image_ = scratch_.convertToFormat(image_->format(), image_->colorTable(),
                                           Qt::ThresholdDither | Qt::AvoidDither);
        image_->setDotsPerMeterX(dpmX);
        image_->setDotsPerMeterY(dpmY);
    }
}

QTransform TCanvasPainter::LogicalToDevice(const TCanvas& canvas)
{
    QTransform t;
    if (canvas.graphicsMode_ == GM_ADVANCED) {
        const TXForm& x = canvas.xform_;
        t = QTransform(x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy);
    }
    if (canvas.mapMode_ == MM_LOENGLISH) {
        const double s = canvas.PixelsPerInch() / 100.0;
        t = t * QTransform(s, 0, 0, -s, 0, 0);
    }
    return t;
}

bool TCanvasPainter::LogicalIsDevice(const TCanvas& canvas)
{
    return canvas.graphicsMode_ != GM_ADVANCED && canvas.mapMode_ != MM_LOENGLISH;
}

QTransform TCanvasPainter::DeviceToImage(const TCanvas& canvas)
{
    const QTransform shift = QTransform::fromTranslate(-canvas.origin_.X, -canvas.origin_.Y);
    if (canvas.deviceScale_ == 1.0) return shift;
    return shift * QTransform::fromScale(canvas.deviceScale_, canvas.deviceScale_);
}

void TCanvasPainter::UseDeviceCoordinates()
{
    painter_->setWorldTransform(DeviceToImage(canvas_));
}

void TCanvasPainter::StrokeFigure(const QPainterPath& path)
{
    QPen pen = ToQPen(canvas_.pen_);
    if (pen.style() == Qt::NoPen) return;
    QPainter& p = *painter_;
    if (onDevice_) {
        // A one-pixel pen is one canvas pixel wide, so that it scales with
        // the page instead of becoming the device's thinnest line.
        if (pen.widthF() < 1) pen.setWidthF(1);
        pen.setCosmetic(false);
    } else if (pen.isCosmetic() && StrokeStraightCosmetic(path, pen)) {
        return;
    }
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    if (pen.width() > 1 || onDevice_) {
        // A cosmetic pen lights pixel (x, y) for the point (x, y); a filled
        // stroke lights the pixels whose centres it covers, so it is moved by
        // half a pixel to sit on the same pixels.
        const QTransform saved = p.worldTransform();
        p.setWorldTransform(saved * QTransform::fromTranslate(0.5, 0.5));
        p.drawPath(path);
        p.setWorldTransform(saved);
    } else {
        p.drawPath(path);
    }
}

bool TCanvasPainter::StrokeStraightCosmetic(const QPainterPath& path, const QPen& pen)
{
    QPainter& p = *painter_;
    const QTransform toDevice = p.worldTransform();
    // On a finer image a dot per device pixel would leave gaps.
    if (toDevice.type() > QTransform::TxTranslate || p.device()->devicePixelRatio() != 1.0) return false;
    const QPointF shift(toDevice.dx(), toDevice.dy());
    if (shift.x() != std::round(shift.x()) || shift.y() != std::round(shift.y())) return false;
    // The walk visits every pixel of a figure, on the image or not: one that
    // reaches far beyond the image (a damaged file's coordinates) would cost
    // memory by its length, so the painter, which clips, draws it instead.
    constexpr qreal kWalkMargin = 1 << 20;
    const QRectF reach(-kWalkMargin, -kWalkMargin, p.device()->width() + 2 * kWalkMargin,
                       p.device()->height() + 2 * kWalkMargin);
    if (!reach.contains(path.boundingRect().translated(shift))) return false;
    const QList<qreal> dashes = pen.style() == Qt::SolidLine ? QList<qreal>() : pen.dashPattern();
    QPolygon pixels;
    if (!WalkCosmetic(path, dashes, [&pixels](int x, int y) { pixels.append(QPoint(x, y)); })) return false;
    if (pixels.isEmpty()) return true;
    QPen dotPen(pen.color());
    dotPen.setWidth(0);
    dotPen.setCosmetic(true);
    p.setPen(dotPen);
    p.setBrush(Qt::NoBrush);
    p.drawPoints(pixels);
    return true;
}

void TCanvasPainter::FillFigure(const QPainterPath& path)
{
    const QBrush brush = ToQBrush(canvas_.brush_);
    if (brush.style() == Qt::NoBrush) return;
    QPainter& p = *painter_;
    p.setPen(Qt::NoPen);
    p.setBrush(brush);
    p.drawPath(path);
}

void TCanvasPainter::DrawImage(TCanvas& canvas, const QRectF& dest, const QImage& image, bool blend)
{
    if (image.isNull() || dest.isEmpty()) return;
    TCanvasPainter painter(canvas, Use::Copy);
    if (!painter.Active()) return;
    QPainter& p = painter.P();
    if (!painter.OnDevice()) {
        p.setCompositionMode(blend ? QPainter::CompositionMode_SourceOver : QPainter::CompositionMode_Source);
    }
    p.drawImage(dest, image);
}

} // namespace mycad
