// The canvas: binding to a device, lines, curves, closed figures, pixels and
// bitmaps. Every figure is built as a path in logical coordinates; while a
// path is open it is added to that path, otherwise filled and stroked.
#include "platform/CanvasFill.h"
#include "platform/CanvasPainter.h"
#include "platform/CanvasPath.h"

#include <QPagedPaintDevice>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace mycad {

namespace {

QPointF ToQPointF(const TPoint& p)
{
    return QPointF(p.X, p.Y);
}

// The box of a closed figure in pixel indexes (right column and bottom row
// excluded), shrunk for psInsideFrame so that a wide pen stays inside it.
QRectF FigureBox(const TPen& pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    QRectF box(x1, y1, static_cast<double>(x2) - x1 - 1, static_cast<double>(y2) - y1 - 1);
    if (pen.Style() == TPenStyle::psInsideFrame && pen.Width() > 1) {
        const double d = std::min((pen.Width() - 1) / 2.0, std::min(box.width(), box.height()) / 2.0);
        box.adjust(d, d, -d, -d);
    }
    return box;
}

// The parametric angle, in degrees counter-clockwise on the screen, at which
// the ray from the centre of box toward p meets the ellipse in box.
double RayAngle(const QRectF& box, int32_t x, int32_t y)
{
    const QPointF c = box.center();
    const double rx = std::max(box.width() / 2.0, 1e-9);
    const double ry = std::max(box.height() / 2.0, 1e-9);
    return qRadiansToDegrees(std::atan2(-(y - c.y()) / ry, (x - c.x()) / rx));
}

// Counter-clockwise sweep from start to end in (0, 360]; equal rays make a full turn.
double Sweep(double start, double end)
{
    double s = std::fmod(end - start, 360.0);
    if (s <= 1e-9) s += 360.0;
    return s;
}

enum class ArcKind : uint8_t { Arc, Chord, Pie };

QPainterPath ArcPath(const QRectF& box, ArcKind kind, int32_t x3, int32_t y3, int32_t x4, int32_t y4)
{
    const double start = RayAngle(box, x3, y3);
    const double sweep = Sweep(start, RayAngle(box, x4, y4));
    QPainterPath path;
    if (kind == ArcKind::Pie) {
        path.moveTo(box.center());
        path.arcTo(box, start, sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(box, start);
        path.arcTo(box, start, sweep);
        if (kind == ArcKind::Chord) path.closeSubpath();
    }
    return path;
}

QPainterPath Polypath(const TArrPoint& points, bool closed)
{
    QPainterPath path;
    path.moveTo(ToQPointF(points[0]));
    for (size_t i = 1; i < points.size(); ++i) path.lineTo(ToQPointF(points[i]));
    if (closed) path.closeSubpath();
    return path;
}

// Draws a figure, or adds it to the open path.
void Figure(TCanvas& c, const QPainterPath& path, bool closed, bool fill)
{
    if (c.IsPathOpen()) {
        TCanvasPath::AddPainterPath(c, path, closed);
        return;
    }
    const bool paintsFill = fill && c.Brush().Style() != TBrushStyle::bsClear;
    if (!paintsFill && TCanvasDirect::StrokeStraight(c, path)) return;
    TCanvasPainter p(c, TCanvasPainter::Use::Shape);
    if (!p.Active()) return;
    if (fill) p.FillFigure(path);
    p.StrokeFigure(path);
}

QImage WithTransparency(const TBitmap& bitmap)
{
    const QImage& src = bitmap.Image();
    if (!bitmap.Transparent()) return src;
    const QRgb key = ToQColor(bitmap.TransparentColor()).rgb() & 0xFFFFFF;
    QImage out = src.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((row[x] & 0xFFFFFF) == key) row[x] = 0;
        }
    }
    return out;
}

// GDI-style mirroring: a negative width or height in either rectangle flips the picture.
void DrawMirrored(TCanvas& c, const TRect& dest, const QImage& image, bool flipX, bool flipY, bool blend)
{
    flipX = flipX != (dest.Width() < 0);
    flipY = flipY != (dest.Height() < 0);
    const QRectF box = QRectF(dest.Left, dest.Top, dest.Width(), dest.Height()).normalized();
    TCanvasPainter::DrawImage(c, box, flipX || flipY ? image.mirrored(flipX, flipY) : image, blend);
}

} // namespace

TCanvas::TCanvas() = default;

TCanvas::TCanvas(QImage* target) : target_(target) {}

TCanvas::~TCanvas()
{
    SetDevice(nullptr);
}

void TCanvas::SetTarget(QImage* target)
{
    SetDevice(nullptr);
    target_ = target;
}

bool TCanvas::SetDevice(QPaintDevice* device)
{
    if (devicePainter_) {
        devicePainter_->end();
        devicePainter_.reset();
    }
    device_ = nullptr;
    deviceScale_ = 1.0;
    if (device == nullptr) return true;
    target_ = nullptr;
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(device)) return false;
    device_ = device;
    devicePainter_ = std::move(painter);
    const int dpi = device->logicalDpiX();
    deviceScale_ = dpi > 0 ? double(dpi) / PixelsPerInch() : 1.0;
    return true;
}

bool TCanvas::NewPage()
{
    auto* paged = dynamic_cast<QPagedPaintDevice*>(device_);
    return paged != nullptr && paged->newPage();
}

void TCanvas::SetDeviceOrigin(const TPoint& origin)
{
    origin_ = origin;
}

void TCanvas::ShiftCoordinates(int32_t dx, int32_t dy)
{
    origin_ = {origin_.X + dx, origin_.Y + dy};
    if (!clipRect_.IsEmpty()) OffsetRect(clipRect_, dx, dy);
    if (hasClipRegion_) clipRegion_.translate(dx, dy);
}

int32_t TCanvas::PixelsPerInch() const
{
    return ppi_ > 0 ? ppi_ : ScreenPixelsPerInch();
}

void TCanvas::MoveTo(int32_t x, int32_t y)
{
    if (pathOpen_) TCanvasPath::EndFigure(*this);
    penPos_ = {x, y};
}

void TCanvas::LineTo(int32_t x, int32_t y)
{
    if (pathOpen_) {
        TCanvasPath::LineTo(*this, QPointF(x, y));
    } else if (!TCanvasDirect::StrokeLine(*this, penPos_, {x, y})) {
        QPainterPath path;
        path.moveTo(ToQPointF(penPos_));
        path.lineTo(x, y);
        Figure(*this, path, false, false);
    }
    penPos_ = {x, y};
}

void TCanvas::Polyline(const TArrPoint& points)
{
    if (points.size() < 2) return;
    Figure(*this, Polypath(points, false), false, false);
}

void TCanvas::Polygon(const TArrPoint& points)
{
    if (points.size() < 2) return;
    if (pathOpen_) {
        TCanvasPath::AddPolygon(*this, points);
        return;
    }
    QPainterPath path = Polypath(points, true);
    path.setFillRule(polyFillMode_ == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    Figure(*this, path, true, true);
}

void TCanvas::PolyBezier(const TArrPoint& points)
{
    if (points.size() < 4) return;
    QPainterPath path;
    path.moveTo(ToQPointF(points[0]));
    for (size_t i = 1; i + 2 < points.size(); i += 3) {
        path.cubicTo(ToQPointF(points[i]), ToQPointF(points[i + 1]), ToQPointF(points[i + 2]));
    }
    Figure(*this, path, false, false);
}

void TCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (!pathOpen_ && TCanvasDirect::Box(*this, x1, y1, x2, y2)) return;
    const QRectF box = FigureBox(pen_, x1, y1, x2, y2);
    QPainterPath path;
    path.moveTo(box.topLeft());
    path.lineTo(box.topRight());
    path.lineTo(box.bottomRight());
    path.lineTo(box.bottomLeft());
    path.closeSubpath();
    Figure(*this, path, true, true);
}

void TCanvas::RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t w, int32_t h)
{
    const QRectF box = FigureBox(pen_, x1, y1, x2, y2);
    QPainterPath path;
    path.addRoundedRect(box, std::abs(w) / 2.0, std::abs(h) / 2.0);
    Figure(*this, path, true, true);
}

void TCanvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    QPainterPath path;
    path.addEllipse(FigureBox(pen_, x1, y1, x2, y2));
    Figure(*this, path, true, true);
}

void TCanvas::Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4)
{
    Figure(*this, ArcPath(FigureBox(pen_, x1, y1, x2, y2), ArcKind::Arc, x3, y3, x4, y4), false, false);
}

void TCanvas::Chord(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4)
{
    Figure(*this, ArcPath(FigureBox(pen_, x1, y1, x2, y2), ArcKind::Chord, x3, y3, x4, y4), true, true);
}

void TCanvas::Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4)
{
    Figure(*this, ArcPath(FigureBox(pen_, x1, y1, x2, y2), ArcKind::Pie, x3, y3, x4, y4), true, true);
}

void TCanvas::FillRect(const TRect& r)
{
    if (r.IsEmpty() || brush_.Style() == TBrushStyle::bsClear) return;
    if (brush_.Style() == TBrushStyle::bsSolid && !brush_.Bitmap() &&
        TCanvasDirect::Fill(*this, r, ToOpaqueRgb(brush_.Color()), true)) {
        return;
    }
    const QBrush brush = ToQBrush(brush_);
    if (brush.style() == Qt::NoBrush) return;
    TCanvasPainter p(*this, TCanvasPainter::Use::Copy);
    if (!p.Active()) return;
    p.P().fillRect(QRectF(r.Left, r.Top, r.Width(), r.Height()), brush);
}

void TCanvas::FrameRect(const TRect& r)
{
    if (r.IsEmpty()) return;
    TCanvasPainter p(*this, TCanvasPainter::Use::Copy);
    if (!p.Active()) return;
    // Four bands that do not overlap, one pixel wide, in the brush colour.
    const QColor c = ToQColor(brush_.Color());
    const double w = r.Width();
    const double h = r.Height();
    p.P().fillRect(QRectF(r.Left, r.Top, w, 1), c);
    if (h > 1) p.P().fillRect(QRectF(r.Left, r.Bottom - 1, w, 1), c);
    if (h > 2) {
        p.P().fillRect(QRectF(r.Left, r.Top + 1, 1, h - 2), c);
        if (w > 1) p.P().fillRect(QRectF(r.Right - 1, r.Top + 1, 1, h - 2), c);
    }
}

TColor TCanvas::Pixel(int32_t x, int32_t y) const
{
    if (target_ == nullptr) return CLR_INVALID;
    const double dpr = target_->devicePixelRatio();
    const auto ix = static_cast<int64_t>((static_cast<int64_t>(x) - origin_.X) * dpr);
    const auto iy = static_cast<int64_t>((static_cast<int64_t>(y) - origin_.Y) * dpr);
    if (x < origin_.X || y < origin_.Y || ix >= target_->width() || iy >= target_->height()) return CLR_INVALID;
    return FromQRgb(target_->pixel(static_cast<int>(ix), static_cast<int>(iy)));
}

void TCanvas::SetPixel(int32_t x, int32_t y, TColor c)
{
    if (device_ != nullptr) {
        TCanvasPainter p(*this, TCanvasPainter::Use::Copy);
        if (p.Active()) p.P().fillRect(QRectF(x, y, 1, 1), ToQColor(c));
        return;
    }
    if (target_ == nullptr || !PtInRect(ClipRect(), {x, y})) return;
    if (hasClipRegion_ && !clipRegion_.contains(QPointF(x + 0.5, y + 0.5))) return;
    const int ix = x - origin_.X;
    const int iy = y - origin_.Y;
    const QColor color = ToQColor(c);
    if (target_->format() == QImage::Format_Indexed8 || target_->format() == QImage::Format_Mono
        || target_->format() == QImage::Format_MonoLSB) {
        // The nearest entry of the colour table.
        const QList<QRgb> table = target_->colorTable();
        int best = 0;
        int bestDistance = INT32_MAX;
        for (int i = 0; i < table.size(); ++i) {
            const int dr = qRed(table[i]) - color.red();
            const int dg = qGreen(table[i]) - color.green();
            const int db = qBlue(table[i]) - color.blue();
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) { bestDistance = d; best = i; }
        }
        target_->setPixel(ix, iy, static_cast<uint>(best));
    } else if (const double dpr = target_->devicePixelRatio(); dpr != 1.0) {
        // One device pixel is a block of image pixels.
        const QRect block(static_cast<int>(ix * dpr), static_cast<int>(iy * dpr),
                          static_cast<int>(std::ceil(dpr)), static_cast<int>(std::ceil(dpr)));
        for (int by = block.top(); by <= block.bottom(); ++by)
            for (int bx = block.left(); bx <= block.right(); ++bx)
                if (target_->valid(bx, by)) target_->setPixelColor(bx, by, color);
    } else {
        target_->setPixelColor(ix, iy, color);
    }
}

void TCanvas::Draw(int32_t x, int32_t y, const TBitmap& bitmap)
{
    if (bitmap.Empty()) return;
    TCanvasPainter::DrawImage(*this, QRectF(x, y, bitmap.Width(), bitmap.Height()), WithTransparency(bitmap),
                              bitmap.Transparent());
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& bitmap)
{
    if (bitmap.Empty()) return;
    DrawMirrored(*this, dest, WithTransparency(bitmap), false, false, bitmap.Transparent());
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect)
{
    if (source.target_ == nullptr || source.target_->isNull()) return;
    QRect part = QRect(sourceRect.Left - source.origin_.X, sourceRect.Top - source.origin_.Y, sourceRect.Width(),
                       sourceRect.Height())
                     .normalized();
    if (const double dpr = source.target_->devicePixelRatio(); dpr != 1.0) {
        part = QRectF(part.x() * dpr, part.y() * dpr, part.width() * dpr, part.height() * dpr).toAlignedRect();
    }
    if (part.isEmpty()) return;
    // Copied first, so a canvas may copy from itself.
    const QImage pixels = source.target_->copy(part);
    DrawMirrored(*this, dest, pixels, sourceRect.Width() < 0, sourceRect.Height() < 0, false);
}

TRect TCanvas::ClipRect() const
{
    TRect r;
    if (device_ != nullptr) {
        r = Bounds(origin_.X, origin_.Y, GetDeviceCaps(HORZRES), GetDeviceCaps(VERTRES));
    } else {
        if (target_ == nullptr || target_->isNull()) return {};
        const double dpr = target_->devicePixelRatio();
        r = Bounds(origin_.X, origin_.Y, static_cast<int32_t>(target_->width() / dpr),
                   static_cast<int32_t>(target_->height() / dpr));
    }
    if (!clipRect_.IsEmpty() && !IntersectRect(r, r, clipRect_)) return {};
    if (hasClipRegion_) {
        if (!IntersectRect(r, r, PixelBounds(clipRegion_.boundingRect()))) return {};
    }
    return r;
}

void TCanvas::SetClipRect(const TRect& r)
{
    clipRect_ = r.IsEmpty() ? TRect{} : r;
}

void TCanvas::SelectClipRgn(const TRegion* region)
{
    if (region == nullptr && !hasClipRegion_) return; // no region to drop; shapes drop it after every fill
    hasClipRegion_ = region != nullptr;
    clipRegion_ = region != nullptr ? region->Path() : QPainterPath();
}

void TCanvas::FillRgn(const TRegion& region, const TBrush& brush)
{
    if (brush.Style() == TBrushStyle::bsSolid && !brush.Bitmap()) {
        const QRgb colour = ToOpaqueRgb(brush.Color());
        TRect box;
        if (region.IsRectangle(box) ? TCanvasDirect::Fill(*this, box, colour, false)
                                    : TCanvasDirect::FillRegion(*this, region, colour)) {
            return;
        }
    }
    const QBrush b = ToQBrush(brush);
    if (b.style() == Qt::NoBrush || region.Path().isEmpty()) return;
    TCanvasPainter p(*this, TCanvasPainter::Use::Copy);
    if (!p.Active()) return;
    p.UseDeviceCoordinates();
    p.P().fillPath(region.Path(), b);
}

void FillPolygonRgn(TCanvas& canvas, const TArrPoint& points, size_t count, int32_t fillMode, const TBrush& brush)
{
    count = std::min(count, points.size());
    if (count < 3) return; // the region would be empty
    if (brush.Style() == TBrushStyle::bsSolid && !brush.Bitmap()) {
        // As FillRgn does with the region, without making it.
        const QRgb colour = ToOpaqueRgb(brush.Color());
        TRect box;
        if (UprightBoxPixels(points.data(), count, box) ? TCanvasDirect::Fill(canvas, box, colour, false)
                                                        : TCanvasDirect::FillPolygon(canvas, points.data(), count,
                                                                                     fillMode == WINDING, colour)) {
            return;
        }
    }
    const TArrPoint outline(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(count));
    canvas.FillRgn(TRegion::CreatePolygonRgn(outline, fillMode), brush);
}

bool TCanvas::SetWorldTransform(const TXForm& xf)
{
    if (graphicsMode_ != GM_ADVANCED) return false;
    xform_ = xf;
    return true;
}

int32_t TCanvas::GetDeviceCaps(int32_t index) const
{
    switch (index) {
    case HORZRES:
        if (device_ != nullptr) return RoundToInt(device_->width() / deviceScale_);
        return target_ != nullptr ? target_->width() : 0;
    case VERTRES:
        if (device_ != nullptr) return RoundToInt(device_->height() / deviceScale_);
        return target_ != nullptr ? target_->height() : 0;
    case NUMCOLORS: return numColors_;
    case LOGPIXELSX:
    case LOGPIXELSY: return PixelsPerInch();
    default: return 0;
    }
}

} // namespace mycad
