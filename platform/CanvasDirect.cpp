// Direct pixel access for the commonest figures: one-pixel outlines, solid
// upright boxes and solid polygon fills on 32-bit images. The pixels are
// those the painter sets for the same call (the stroke walks the same
// pixels, a box covers the pixels whose centres it contains, a polygon is
// scanned with the painter's own fixed-point arithmetic); only the
// painter's set-up is saved.
#include "platform/CanvasPainter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mycad {

bool TCanvasDirect::Prepare(TCanvas& canvas, bool logical, QPoint& shift, QRect& clip)
{
    QImage* image = canvas.target_;
    if (image == nullptr || image->isNull() || canvas.pathOpen_ || canvas.hasClipRegion_) return false;
    // Pixel by pixel only where a device pixel is an image pixel.
    if (image->format() != QImage::Format_RGB32 || image->devicePixelRatio() != 1.0) return false;
    const bool plainLogical = canvas.graphicsMode_ != GM_ADVANCED && canvas.mapMode_ != MM_LOENGLISH;
    if (!logical || plainLogical) {
        // Logical coordinates are device pixels: the shift is the origin's,
        // found without building transforms.
        const int64_t dx = -int64_t(canvas.origin_.X);
        const int64_t dy = -int64_t(canvas.origin_.Y);
        if (std::abs(dx) > 1000000000 || std::abs(dy) > 1000000000) return false;
        shift = QPoint(static_cast<int>(dx), static_cast<int>(dy));
    } else {
        QTransform t = TCanvasPainter::LogicalToDevice(canvas) * TCanvasPainter::DeviceToImage(canvas);
        if (t.type() > QTransform::TxTranslate) return false;
        if (t.dx() != std::round(t.dx()) || t.dy() != std::round(t.dy())) return false;
        if (std::abs(t.dx()) > 1e9 || std::abs(t.dy()) > 1e9) return false;
        shift = QPoint(static_cast<int>(t.dx()), static_cast<int>(t.dy()));
    }
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

/// The dash pattern of each pen style, made once.
const QList<qreal>& DashesOf(TPenStyle style)
{
    static const std::array<QList<qreal>, 9> patterns = [] {
        std::array<QList<qreal>, 9> p;
        for (size_t i = 0; i < p.size(); ++i) p[i] = CosmeticDashes(static_cast<TPenStyle>(i));
        return p;
    }();
    const auto i = static_cast<size_t>(style);
    return i < patterns.size() ? patterns[i] : patterns[0];
}

/// Sets count pixels from p to colour, four pixels a store where the
/// processor has 16-byte stores.
void FillRun(QRgb* p, int64_t count, QRgb colour)
{
#if defined(__SSE2__)
    if (count >= 4) {
        const __m128i four = _mm_set1_epi32(static_cast<int>(colour));
        int64_t i = 0;
        for (; i + 8 <= count; i += 8) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), four);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 4), four);
        }
        if (i + 4 <= count) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), four);
            i += 4;
        }
        // The last few by one more store that ends with the run.
        if (i < count) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + count - 4), four);
        return;
    }
#endif
    for (int64_t i = 0; i < count; ++i) p[i] = colour;
}

/// Sets the box of pixels [l, r) x [t, b) of image to colour: the first row
/// run by run, the others copied from it.
void FillBox(QImage& image, int64_t l, int64_t t, int64_t r, int64_t b, QRgb colour)
{
    if (l >= r || t >= b) return;
    uchar* const bits = image.bits();
    const int64_t stride = image.bytesPerLine();
    QRgb* const first = reinterpret_cast<QRgb*>(bits + t * stride) + l;
    FillRun(first, r - l, colour);
    if (r - l < 256) {
        for (int64_t y = t + 1; y < b; ++y) FillRun(reinterpret_cast<QRgb*>(bits + y * stride) + l, r - l, colour);
        return;
    }
    // Wide rows are copied from the first, at the speed of a block copy.
    const size_t bytes = size_t(r - l) * sizeof(QRgb);
    for (int64_t y = t + 1; y < b; ++y) std::memcpy(reinterpret_cast<QRgb*>(bits + y * stride) + l, first, bytes);
}

/// Writes the pixels of a stroke into a 32-bit image, inside a clip box,
/// combining them with the image by the pen mode.
struct TPixelWriter {
    uchar* Origin;   // the clip's top-left pixel
    int64_t Stride;
    uint64_t Width;  // the clip's last column and row, from Origin
    uint64_t Height;
    int64_t Sx;      // from the walk's coordinates to columns and rows from Origin
    int64_t Sy;
    QRgb Ink;
    TPenMode Mode;
    bool Copy;
    bool Nothing;

    bool Inside(int64_t x, int64_t y) const
    {
        // Pixels before the clip wrap round to large unsigned values.
        return uint64_t(x + Sx) <= Width && uint64_t(y + Sy) <= Height;
    }
    void operator()(int x, int y) const
    {
        if (Nothing || !Inside(x, y)) return;
        QRgb& pixel = reinterpret_cast<QRgb*>(Origin + (int64_t(y) + Sy) * Stride)[int64_t(x) + Sx];
        pixel = Copy ? Ink : Combine(Mode, Ink, pixel);
    }
    /// A solid segment that lies wholly inside the clip, walked by the
    /// walker's rule along a pointer; false, writing nothing, for any other.
    bool Run(int64_t major, int64_t across, int64_t n, int64_t minor, int64_t majorStep, int64_t minorStep,
             bool xMajor) const
    {
        if (Nothing) return true;
        // The first pixel and the end point bound every pixel of the walk.
        const int64_t endMajor = major + majorStep * n;
        const int64_t endAcross = across + minorStep * minor;
        const int64_t x0 = xMajor ? major : across;
        const int64_t y0 = xMajor ? across : major;
        if (!Inside(x0, y0) || !Inside(xMajor ? endMajor : endAcross, xMajor ? endAcross : endMajor)) return false;
        uchar* at = Origin + (y0 + Sy) * Stride + (x0 + Sx) * int64_t(sizeof(QRgb));
        const int64_t majorDelta = xMajor ? majorStep * int64_t(sizeof(QRgb)) : majorStep * Stride;
        const int64_t minorDelta = xMajor ? minorStep * Stride : minorStep * int64_t(sizeof(QRgb));
        const QRgb ink = Ink;
        int64_t rem = n; // (2 k minor + n) mod 2n, as the walker carries it
        if (Copy) {
            for (int64_t k = 0; k < n; ++k) {
                *reinterpret_cast<QRgb*>(at) = ink;
                at += majorDelta;
                rem += 2 * minor;
                if (rem >= 2 * n) {
                    rem -= 2 * n;
                    at += minorDelta;
                }
            }
        } else {
            const TPenMode mode = Mode;
            for (int64_t k = 0; k < n; ++k) {
                QRgb& pixel = *reinterpret_cast<QRgb*>(at);
                pixel = Combine(mode, ink, pixel);
                at += majorDelta;
                rem += 2 * minor;
                if (rem >= 2 * n) {
                    rem -= 2 * n;
                    at += minorDelta;
                }
            }
        }
        return true;
    }
};

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
    const bool clear = pen.Style() == TPenStyle::psClear;
    const QList<qreal>& dashes = clear ? DashesOf(TPenStyle::psSolid) : DashesOf(pen.Style());
    const QRgb ink = ToOpaqueRgb(pen.Color()) | 0xFF000000u;
    QImage& image = *canvas.target_;
    uchar* const bits = image.bits();
    // Copied into the plot as 64-bit values: stores of 32-bit pixels cannot
    // alias them, so they stay in registers along the walk.
    const int64_t stride = image.bytesPerLine();
    const int64_t left = clip.left();
    const int64_t top = clip.top();
    const uint64_t width = uint64_t(int64_t(clip.right()) - left);
    const uint64_t height = uint64_t(int64_t(clip.bottom()) - top);
    const int64_t sx = int64_t(shift.x()) - left;
    const int64_t sy = int64_t(shift.y()) - top;
    uchar* const origin = bits + top * stride + left * int64_t(sizeof(QRgb));
    const TPenMode mode = pen.Mode();
    const TPixelWriter plot{origin, stride, width, height, sx, sy, ink, mode, mode == TPenMode::pmCopy,
                            clear || clip.isEmpty()};
    TCosmeticWalker<TPixelWriter> walker(dashes, plot);
    return walk(walker);
}

bool TCanvasDirect::StrokeStraight(TCanvas& canvas, const QPainterPath& path)
{
    if (HasCurves(path)) return false;
    return Stroke(canvas, [&path](auto& walker) {
        WalkPath(walker, path);
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
    // The path holds device positions; the walk below takes logical ones.
    if (!TCanvasPainter::LogicalIsDevice(canvas)) return false;
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
    const QRgb ink = ToOpaqueRgb(brush.Color()) | 0xFF000000u;
    const TPenMode mode = pen.Mode();
    if (mode == TPenMode::pmCopy) {
        FillBox(image, l, t, r, b, ink);
    } else {
        uchar* const bits = image.bits();
        const int64_t stride = image.bytesPerLine();
        for (int64_t y = t; y < b; ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(bits + y * stride);
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

namespace {

// The painter fills an aliased polygon row by row through the centres of
// the pixels. On a row an edge stands at its x there plus half a pixel, in
// 16.16 fixed point; a pixel column belongs to the span between two edges
// from the first edge's whole part up to, not including, the second one's,
// and spans are filled where the winding count says inside. An edge's x
// starts at its upper end and then steps by its slope cut to the fixed
// point, so this walk repeats the painter's rounding exactly; edges that run
// beyond the clip's sides stand on the side they passed.
struct TScanEdge {
    int64_t X;       // on row Top
    int64_t Step;    // per row
    int32_t Top;
    int32_t Bottom;  // the last row, included
    int32_t Winding;
};

struct TScanCrossing {
    int64_t Column;
    int32_t Winding;
};

// Coordinates the painter takes straight to its scan converter: beyond them
// it clips the figure first, by other arithmetic.
constexpr int64_t kScanReach = 16000;

/// Scratch space on the stack for the common small case.
template <typename T, size_t N>
class TScratch {
public:
    explicit TScratch(size_t n)
    {
        if (n > N) heap_.resize(n);
        data_ = n > N ? heap_.data() : local_.data();
    }
    T* Data() { return data_; }

private:
    std::array<T, N> local_;
    std::vector<T> heap_;
    T* data_ = nullptr;
};

} // namespace

bool TCanvasDirect::FillPolygon(TCanvas& canvas, const TPoint* points, size_t count, bool winding, QRgb colour)
{
    QPoint shift;
    QRect clip;
    if (!Prepare(canvas, false, shift, clip)) return false;
    if (count < 3) return true; // no area: a polygon region needs three points
    int64_t minY = 0;
    int64_t maxY = 0;
    for (size_t i = 0; i < count; ++i) {
        const int64_t x = int64_t(points[i].X) + shift.x();
        const int64_t y = int64_t(points[i].Y) + shift.y();
        if (x < -kScanReach || x > kScanReach || y < -kScanReach || y > kScanReach) return false;
        minY = i == 0 ? y : std::min(minY, y);
        maxY = i == 0 ? y : std::max(maxY, y);
    }
    if (clip.isEmpty()) return true;
    const int64_t top = std::max<int64_t>(clip.top(), minY);
    const int64_t bottom = std::min<int64_t>(clip.bottom(), maxY - 1);
    if (top > bottom) return true;
    const int64_t leftFP = int64_t(clip.left()) << 16;
    const int64_t rightFP = (int64_t(clip.right()) + 1) << 16;

    TScratch<TScanEdge, 16> edgeSpace(count);
    TScanEdge* const edges = edgeSpace.Data();
    size_t edgeCount = 0;
    for (size_t i = 0; i < count; ++i) {
        // Each point to the next, and the last back to the first.
        const TPoint& p = points[i];
        const TPoint& q = points[i + 1 < count ? i + 1 : 0];
        int64_t ax = int64_t(p.X) + shift.x();
        int64_t ay = int64_t(p.Y) + shift.y();
        int64_t bx = int64_t(q.X) + shift.x();
        int64_t by = int64_t(q.Y) + shift.y();
        int32_t w = 1;
        if (ay > by) {
            std::swap(ax, bx);
            std::swap(ay, by);
            w = -1;
        }
        // Rows whose centres the edge passes: from its upper end's row to
        // the row before its lower end.
        const int64_t first = std::max(top, ay);
        const int64_t last = std::min(bottom, by - 1);
        if (first > last) continue;
        TScanEdge& e = edges[edgeCount++];
        e.Top = static_cast<int32_t>(first);
        e.Bottom = static_cast<int32_t>(last);
        e.Winding = w;
        e.Step = 0;
        e.X = (ax << 16) + 32768;
        if (bx != ax) {
            const double slope = double(bx - ax) / double(by - ay);
            e.Step = static_cast<int64_t>(slope * 65536.0);
            // Half a row down to the first centre, in the same fixed point.
            e.X += (e.Step * (((first - ay) << 16) + 32768)) >> 16;
        }
    }
    if (edgeCount == 0) return true;
    std::sort(edges, edges + edgeCount, [](const TScanEdge& a, const TScanEdge& b) { return a.Top < b.Top; });

    TScratch<TScanEdge*, 16> activeSpace(edgeCount);
    TScanEdge** const active = activeSpace.Data();
    TScratch<TScanCrossing, 16> crossingSpace(edgeCount);
    TScanCrossing* const crossings = crossingSpace.Data();
    const int32_t mask = winding ? ~0 : 1;
    QImage& image = *canvas.target_;
    uchar* const bits = image.bits();
    const int64_t stride = image.bytesPerLine();
    const QRgb ink = colour | 0xFF000000u;
    size_t next = 0;
    size_t activeCount = 0;
    for (int64_t y = edges[0].Top; y <= bottom; ++y) {
        while (next < edgeCount && edges[next].Top == y) active[activeCount++] = &edges[next++];
        if (activeCount == 0) {
            if (next == edgeCount) break;
            y = edges[next].Top - 1; // a gap between parts of the figure
            continue;
        }
        if (activeCount == 2) {
            // The common row of a simple figure: one span at most.
            TScanEdge* a = active[0];
            TScanEdge* b = active[1];
            int64_t from = std::clamp(a->X, leftFP, rightFP) >> 16;
            int64_t to = std::clamp(b->X, leftFP, rightFP) >> 16;
            int32_t inside = a->Winding;
            if (to < from) {
                std::swap(from, to);
                inside = b->Winding;
            }
            if ((inside & mask) != 0 && from < to) FillRun(reinterpret_cast<QRgb*>(bits + y * stride) + from, to - from, ink);
            activeCount = 0;
            if (a->Bottom != y) {
                a->X += a->Step;
                active[activeCount++] = a;
            }
            if (b->Bottom != y) {
                b->X += b->Step;
                active[activeCount++] = b;
            }
            continue;
        }
        size_t n = 0;
        size_t kept = 0;
        for (size_t i = 0; i < activeCount; ++i) {
            TScanEdge* e = active[i];
            const int64_t x = std::clamp(e->X, leftFP, rightFP);
            // Sorted as they come; the list is short and mostly in order.
            size_t j = n++;
            const int64_t column = x >> 16;
            while (j > 0 && crossings[j - 1].Column > column) {
                crossings[j] = crossings[j - 1];
                --j;
            }
            crossings[j] = {column, e->Winding};
            if (e->Bottom != y) {
                e->X += e->Step;
                active[kept++] = e;
            }
        }
        activeCount = kept;
        QRgb* const row = reinterpret_cast<QRgb*>(bits + y * stride);
        int32_t inside = 0;
        for (size_t i = 0; i + 1 < n; ++i) {
            inside += crossings[i].Winding;
            if ((inside & mask) != 0) {
                FillRun(row + crossings[i].Column, crossings[i + 1].Column - crossings[i].Column, ink);
            }
        }
    }
    return true;
}

bool TCanvasDirect::FillRegion(TCanvas& canvas, const TRegion& region, QRgb colour)
{
    const QPainterPath& path = region.Path();
    const int n = path.elementCount();
    if (n == 0) return true; // an empty region fills nothing
    TScratch<TPoint, 16> pointSpace(static_cast<size_t>(n));
    TPoint* const points = pointSpace.Data();
    for (int i = 0; i < n; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        // One figure of straight segments between whole pixels.
        if ((i == 0) != e.isMoveTo() || e.isCurveTo()) return false;
        if (!(std::abs(e.x) <= double(kScanReach) && std::abs(e.y) <= double(kScanReach))) return false;
        if (e.x != std::trunc(e.x) || e.y != std::trunc(e.y)) return false;
        points[i] = {static_cast<int32_t>(e.x), static_cast<int32_t>(e.y)};
    }
    return FillPolygon(canvas, points, static_cast<size_t>(n), path.fillRule() == Qt::WindingFill, colour);
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
    FillBox(*canvas.target_, l, t, rt, b, colour | 0xFF000000u);
    return true;
}

} // namespace mycad
