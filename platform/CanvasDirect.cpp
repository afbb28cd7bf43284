// Direct pixel access for the commonest figures: one-pixel outlines and solid
// upright boxes on 32-bit images. The pixels are those the painter sets for
// the same call (the stroke walks the same pixels, a box covers the pixels
// whose centres it contains); only the painter's set-up is saved.
#include "platform/CanvasPainter.h"

#include <algorithm>
#include <cmath>

namespace mycad {

bool TCanvasDirect::Prepare(TCanvas& canvas, bool logical, QPoint& shift, QRect& clip)
{
    QImage* image = canvas.target_;
    if (image == nullptr || image->isNull() || canvas.pathOpen_ || canvas.hasClipRegion_) return false;
    if (image->format() != QImage::Format_RGB32) return false;
    QTransform t = TCanvasPainter::DeviceToImage(canvas);
    if (logical) t = TCanvasPainter::LogicalToDevice(canvas) * t;
    if (t.type() > QTransform::TxTranslate) return false;
    if (t.dx() != std::round(t.dx()) || t.dy() != std::round(t.dy())) return false;
    if (std::abs(t.dx()) > 1e9 || std::abs(t.dy()) > 1e9) return false;
    shift = QPoint(static_cast<int>(t.dx()), static_cast<int>(t.dy()));
    clip = image->rect();
    const TRect& c = canvas.clipRect_;
    if (!c.IsEmpty()) {
        clip &= QRect(c.Left - canvas.origin_.X, c.Top - canvas.origin_.Y, c.Width(), c.Height());
    }
    return true;
}

namespace {

/// The pen's raster operation on one pixel, on the colour bits; the pixel
/// stays opaque as the painter's raster operations leave it.
QRgb Combine(TPenMode mode, QRgb pen, QRgb pixel)
{
    const QRgb s = pen & 0xFFFFFFu;
    const QRgb d = pixel & 0xFFFFFFu;
    QRgb r = s;
    switch (mode) {
    case TPenMode::pmBlack: r = 0; break;
    case TPenMode::pmWhite: r = 0xFFFFFFu; break;
    case TPenMode::pmNop: r = d; break;
    case TPenMode::pmNot: r = ~d; break;
    case TPenMode::pmCopy: r = s; break;
    case TPenMode::pmNotCopy: r = ~s; break;
    case TPenMode::pmMergePenNot: r = s | ~d; break;
    case TPenMode::pmMaskPenNot: r = s & ~d; break;
    case TPenMode::pmMergeNotPen: r = ~s | d; break;
    case TPenMode::pmMaskNotPen: r = ~s & d; break;
    case TPenMode::pmMerge: r = s | d; break;
    case TPenMode::pmNotMerge: r = ~(s | d); break;
    case TPenMode::pmMask: r = s & d; break;
    case TPenMode::pmNotMask: r = ~(s & d); break;
    case TPenMode::pmXor: r = s ^ d; break;
    case TPenMode::pmNotXor: r = ~(s ^ d); break;
    }
    return (r & 0xFFFFFFu) | 0xFF000000u;
}

} // namespace

template <typename Walk>
bool TCanvasDirect::Stroke(TCanvas& canvas, Walk walk)
{
    const TPen& pen = canvas.pen_;
    if (pen.Width() > 1) return false;
    // Nothing at all is drawn, as with the painter.
    if (pen.Mode() == TPenMode::pmNop) return true;
    QPoint shift;
    QRect clip;
    if (!Prepare(canvas, true, shift, clip)) return false;
    const QList<qreal> dashes = pen.Style() == TPenStyle::psClear ? QList<qreal>() : CosmeticDashes(pen.Style());
    const QRgb ink = ToQColor(pen.Color()).rgb() | 0xFF000000u;
    QImage& image = *canvas.target_;
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const int left = clip.left();
    const int top = clip.top();
    const int right = clip.right();
    const int bottom = clip.bottom();
    const int sx = shift.x();
    const int sy = shift.y();
    const bool clear = pen.Style() == TPenStyle::psClear;
    const TPenMode mode = pen.Mode();
    const bool copy = mode == TPenMode::pmCopy;
    auto plot = [&](int x, int y) {
        if (clear) return;
        const int64_t ix = int64_t(x) + sx;
        const int64_t iy = int64_t(y) + sy;
        if (ix < left || ix > right || iy < top || iy > bottom) return;
        QRgb& pixel = reinterpret_cast<QRgb*>(bits + iy * stride)[ix];
        pixel = copy ? ink : Combine(mode, ink, pixel);
    };
    TCosmeticWalker<decltype(plot)> walker(dashes, plot);
    return walk(walker);
}

bool TCanvasDirect::StrokeStraight(TCanvas& canvas, const QPainterPath& path)
{
    for (int i = 0; i < path.elementCount(); ++i) {
        if (path.elementAt(i).isCurveTo()) return false;
    }
    return Stroke(canvas, [&path](auto& walker) {
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            if (e.isMoveTo()) {
                walker.MoveTo(WalkPoint(e.x, e.y));
            } else {
                walker.LineTo(WalkPoint(e.x, e.y));
            }
        }
        return true;
    });
}

bool TCanvasDirect::StrokeLine(TCanvas& canvas, const TPoint& a, const TPoint& b)
{
    return Stroke(canvas, [&](auto& walker) {
        walker.MoveTo(QPoint(a.X, a.Y));
        walker.LineTo(QPoint(b.X, b.Y));
        return true;
    });
}

bool TCanvasDirect::StrokeCanvasPath(TCanvas& canvas)
{
    // The figures as the painter path made of them would run: a figure
    // closes with a line back to its start unless it is there already, and
    // a line that follows a closed figure starts a new one where it ended.
    const std::vector<TCanvas::PathPoint>& pts = canvas.path_;
    if (pts.empty()) return true;
    if ((pts.front().Type & ~PT_CLOSEFIGURE) != PT_MOVETO) return false;
    for (const TCanvas::PathPoint& p : pts) {
        if ((p.Type & ~PT_CLOSEFIGURE) == PT_BEZIERTO) return false;
    }
    return Stroke(canvas, [&pts](auto& walker) {
        QPoint start;
        bool newFigure = false;
        for (const TCanvas::PathPoint& p : pts) {
            const QPoint at = WalkPoint(p.X, p.Y);
            if ((p.Type & ~PT_CLOSEFIGURE) == PT_MOVETO) {
                walker.MoveTo(at);
                start = at;
            } else {
                if (newFigure) {
                    walker.MoveTo(walker.Current());
                    start = walker.Current();
                }
                walker.LineTo(at);
            }
            newFigure = false;
            if ((p.Type & PT_CLOSEFIGURE) != 0) {
                if (walker.Current() != start) walker.LineTo(start);
                newFigure = true;
            }
        }
        return true;
    });
}

bool TCanvasDirect::Box(TCanvas& canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    // An upright box with a solid brush and a one-pixel (or no) pen: the
    // brush covers the pixels inside the outline's top-left corner and up to
    // the column and row before its far side, the pen walks the outline, and
    // both combine with the pixels by the pen mode, as the painter does.
    const TPen& pen = canvas.pen_;
    const TBrush& brush = canvas.brush_;
    if (pen.Width() > 1 || brush.Style() != TBrushStyle::bsSolid || brush.Bitmap()) return false;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    // Boxes of one pixel or less fold their outline back over itself; the
    // painter's way with them is kept.
    if (int64_t(x2) - x1 < 2 || int64_t(y2) - y1 < 2) return false;
    QPoint shift;
    QRect clip;
    if (!Prepare(canvas, true, shift, clip)) return false;
    if (pen.Mode() == TPenMode::pmNop) return true;
    const int64_t l = std::max<int64_t>(int64_t(x1) + shift.x(), clip.left());
    const int64_t t = std::max<int64_t>(int64_t(y1) + shift.y(), clip.top());
    const int64_t r = std::min<int64_t>(int64_t(x2) - 1 + shift.x(), int64_t(clip.right()) + 1);
    const int64_t b = std::min<int64_t>(int64_t(y2) - 1 + shift.y(), int64_t(clip.bottom()) + 1);
    QImage& image = *canvas.target_;
    const QRgb ink = ToQColor(brush.Color()).rgb() | 0xFF000000u;
    const TPenMode mode = pen.Mode();
    for (int64_t y = t; y < b; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
        if (mode == TPenMode::pmCopy) {
            std::fill(row + l, row + std::max(l, r), ink);
        } else {
            for (int64_t x = l; x < r; ++x) row[x] = Combine(mode, ink, row[x]);
        }
    }
    const int32_t right = x2 - 1;
    const int32_t bottom = y2 - 1;
    return Stroke(canvas, [&](auto& walker) {
        walker.MoveTo(QPoint(x1, y1));
        walker.LineTo(QPoint(right, y1));
        walker.LineTo(QPoint(right, bottom));
        walker.LineTo(QPoint(x1, bottom));
        walker.LineTo(QPoint(x1, y1));
        return true;
    });
}

bool TCanvasDirect::Fill(TCanvas& canvas, const TRect& r, QRgb colour, bool logical)
{
    QPoint shift;
    QRect clip;
    if (!Prepare(canvas, logical, shift, clip)) return false;
    if (r.IsEmpty()) return true;
    // In 64 bits: a rectangle far outside the image must not wrap around.
    const int64_t l = std::max<int64_t>(int64_t(r.Left) + shift.x(), clip.left());
    const int64_t t = std::max<int64_t>(int64_t(r.Top) + shift.y(), clip.top());
    const int64_t rt = std::min<int64_t>(int64_t(r.Right) + shift.x(), int64_t(clip.right()) + 1);
    const int64_t b = std::min<int64_t>(int64_t(r.Bottom) + shift.y(), int64_t(clip.bottom()) + 1);
    if (l >= rt || t >= b) return true;
    const QRect box(int(l), int(t), int(rt - l), int(b - t));
    QImage& image = *canvas.target_;
    const QRgb ink = colour | 0xFF000000u;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(row + box.left(), row + box.left() + box.width(), ink);
    }
    return true;
}

} // namespace mycad
