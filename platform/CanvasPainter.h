// Internal to the platform's graphics: a QPainter set up for one drawing
// operation of a TCanvas (device origin, clipping, world transform, map mode,
// raster operation), and the conversions from pens, brushes and fonts to Qt.
#pragma once

#include "platform/Graphics.h"

#include <QBrush>
#include <QFont>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace mycad {

/// The screen's pixels per inch (96 when no screen is known).
int32_t ScreenPixelsPerInch();

QColor ToQColor(TColor c);
/// ToQColor(c).rgb() without making the colour: opaque 0xAARRGGBB.
inline QRgb ToOpaqueRgb(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}
/// The pixels whose centres a filled area with these bounds can cover.
TRect PixelBounds(const QRectF& bounds);
TColor FromQRgb(QRgb rgb);

/// The dash pattern of a 1-pixel pen of the style; empty for solid lines.
QList<qreal> CosmeticDashes(TPenStyle style);
/// Qt's pen for a canvas pen; wide pens are geometric, 1-pixel pens cosmetic.
QPen ToQPen(const TPen& pen);
/// Qt's brush for a canvas brush (a pattern bitmap wins over the style).
QBrush ToQBrush(const TBrush& brush);
QPainter::CompositionMode ToCompositionMode(TPenMode mode);

/// Qt's font for a logical font description; sizes are in logical units.
QFont ToQFont(const TLogFont& lf);
/// The description of a canvas font (no escapement).
TLogFont ToLogFont(const TFont& font);

// One-pixel lines light the pixels a DDA walk from each start point names,
// stopping one step before the end point, as the drawing model this canvas
// follows does: a 45-degree line from (8, 8) to (12, 12) lights exactly
// (8, 8) to (11, 11), joined segments meet without a gap or a double pixel
// (so XOR outlines erase cleanly), and a dash pattern runs on along a figure.
// Qt's own cosmetic rasteriser places diagonal pixels by a different rule,
// so straight figures are walked here and only their pixels handed on.
//
/// Walks figures of straight segments pixel by pixel, carrying the dash
/// pattern (empty: solid) along each figure; plot(x, y) gets each pixel.
template <typename Plot>
class TCosmeticWalker {
public:
    TCosmeticWalker(const QList<qreal>& dashes, Plot plot) : plot_(plot)
    {
        // The pattern as one bit per pixel: ink where a dash is.
        for (qsizetype k = 0; k < dashes.size(); ++k) {
            const auto len = static_cast<int64_t>(dashes[k]);
            for (int64_t i = 0; i < len && period_ < 64; ++i, ++period_) {
                if (k % 2 == 0) ink_ |= uint64_t(1) << period_;
            }
        }
    }
    /// Starts a new figure at p: the pattern starts again.
    void MoveTo(QPoint p)
    {
        at_ = 0;
        pen_ = p;
    }
    /// The segment from the current point to b, without b itself. Pixel k
    /// lies k steps along the major axis and round(k * minor / major) along
    /// the minor one, halves rounded away from the start, so a line and its
    /// reverse are mirror images of each other; the rounding is carried as
    /// a remainder instead of dividing for every pixel.
    void LineTo(QPoint b)
    {
        const QPoint a = pen_;
        const int64_t dx = int64_t(b.x()) - a.x();
        const int64_t dy = int64_t(b.y()) - a.y();
        const int64_t adx = std::llabs(dx);
        const int64_t ady = std::llabs(dy);
        const int64_t n = std::max(adx, ady);
        const bool xMajor = adx >= ady;
        const int64_t minor = xMajor ? ady : adx;
        const int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
        const int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
        const int64_t major = xMajor ? a.x() : a.y();
        const int64_t across = xMajor ? a.y() : a.x();
        // The loop is instantiated four times so that the per-pixel work
        // holds no test that is the same for the whole segment.
        if (period_ == 0) {
            if (xMajor) {
                Walk<true, false>(major, across, n, minor, majorStep, minorStep);
            } else {
                Walk<false, false>(major, across, n, minor, majorStep, minorStep);
            }
        } else if (xMajor) {
            Walk<true, true>(major, across, n, minor, majorStep, minorStep);
        } else {
            Walk<false, true>(major, across, n, minor, majorStep, minorStep);
        }
        pen_ = b;
    }
    QPoint Current() const { return pen_; }

private:
    template <bool XMajor, bool Dashed>
    void Walk(int64_t major, int64_t across, int64_t n, int64_t minor, int64_t majorStep, int64_t minorStep)
    {
        // A plot may take a whole solid segment at once, walking it by the
        // same rule.
        if constexpr (!Dashed && requires(Plot& p) { p.Run(major, across, n, minor, majorStep, minorStep, true); }) {
            if (plot_.Run(major, across, n, minor, majorStep, minorStep, XMajor)) return;
        }
        int64_t rem = n; // (2 k minor + n) mod 2n
        for (int64_t k = 0; k < n; ++k) {
            if (!Dashed || Ink()) {
                if constexpr (XMajor) {
                    plot_(static_cast<int>(major), static_cast<int>(across));
                } else {
                    plot_(static_cast<int>(across), static_cast<int>(major));
                }
            }
            major += majorStep;
            rem += 2 * minor;
            if (rem >= 2 * n) {
                rem -= 2 * n;
                across += minorStep;
            }
        }
    }
    /// Whether the pattern inks the next pixel; moves the pattern on.
    bool Ink()
    {
        const bool ink = (ink_ >> at_) & 1u;
        if (++at_ == period_) at_ = 0;
        return ink;
    }
    Plot plot_;
    uint64_t ink_ = 0;
    // 64-bit, so that pixels written as 32-bit words cannot alias them and
    // the compiler keeps them in registers.
    int64_t period_ = 0;
    int64_t at_ = 0; // position in the pattern along the current figure
    QPoint pen_;
};

/// A coordinate of a path rounded to its pixel, halves away from zero;
/// whole numbers, the usual case, without a library call.
inline int WalkCoordinate(double v)
{
    if (v > -1e9 && v < 1e9) {
        const auto whole = static_cast<int>(v);
        if (double(whole) == v) return whole;
    }
    return static_cast<int>(std::lround(v));
}

/// A point of a path on the pixel the walk starts from.
inline QPoint WalkPoint(double x, double y)
{
    return QPoint(WalkCoordinate(x), WalkCoordinate(y));
}

inline bool HasCurves(const QPainterPath& path)
{
    for (int i = 0; i < path.elementCount(); ++i) {
        if (path.elementAt(i).isCurveTo()) return true;
    }
    return false;
}

/// Feeds the figures of a path of straight segments to a walker.
template <typename Walker>
void WalkPath(Walker& walker, const QPainterPath& path)
{
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            walker.MoveTo(WalkPoint(e.x, e.y));
        } else {
            walker.LineTo(WalkPoint(e.x, e.y));
        }
    }
}

// Calls plot(x, y) for each pixel, in the path's coordinates, of the
// straight figures of path with the dash pattern (empty: solid); false,
// plotting nothing, when the path has curves.
template <typename Plot>
bool WalkCosmetic(const QPainterPath& path, const QList<qreal>& dashes, Plot plot)
{
    if (HasCurves(path)) return false;
    TCosmeticWalker<Plot> walker(dashes, plot);
    WalkPath(walker, path);
    return true;
}

/// Drawing straight into 32-bit images where that sets exactly the pixels
/// the painter would, without the cost of a painter: one-pixel straight
/// strokes, solid fills of upright rectangles and of polygons, opaque, with
/// no clip region and no transform beyond whole-pixel shifts. Each call returns false,
/// drawing nothing, when its case does not apply; the caller then paints.
class TCanvasDirect {
public:
    /// The outline of path (logical coordinates) with the canvas's pen.
    static bool StrokeStraight(TCanvas& canvas, const QPainterPath& path);
    /// The canvas's own path (what BeginPath..EndPath collected), stroked.
    static bool StrokeCanvasPath(TCanvas& canvas);
    /// A line from a to b (logical coordinates), without b.
    static bool StrokeLine(TCanvas& canvas, const TPoint& a, const TPoint& b);
    /// TCanvas::Rectangle's box (logical coordinates), filled and outlined.
    static bool Box(TCanvas& canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    /// Fills r with colour; r is in logical coordinates when logical is
    /// true, else in device pixels.
    static bool Fill(TCanvas& canvas, const TRect& r, QRgb colour, bool logical);
    /// Fills the closed polygon through points (device pixels) with colour,
    /// by the winding rule or else the alternate one: the pixels the
    /// painter's aliased fill of the same figure sets.
    static bool FillPolygon(TCanvas& canvas, const TPoint* points, size_t count, bool winding, QRgb colour);
    /// FillPolygon of the polygon a region was made from.
    static bool FillRegion(TCanvas& canvas, const TRegion& region, QRgb colour);

private:
    /// Strokes with the canvas's pen what walk(walker) walks; false when
    /// the pen or the canvas does not allow it. walk may refuse too.
    template <typename Walk>
    static bool Stroke(TCanvas& canvas, Walk walk);
    /// The image, the shift from the given coordinates to image pixels and
    /// the image pixels drawing may reach; false when direct drawing cannot
    /// be used on this canvas now.
    static bool Prepare(TCanvas& canvas, bool logical, QPoint& shift, QRect& clip);
};

/// A painter on a canvas's target for the life of one operation. Targets that
/// QPainter cannot draw on (1-bit and indexed images) are painted through a
/// 32-bit copy that is converted back at the end.
class TCanvasPainter {
public:
    /// Shape outlines and fills combine with the pixels by the pen mode; text
    /// and images are copied.
    enum class Use : uint8_t { Shape, Copy };

    TCanvasPainter(TCanvas& canvas, Use use);
    ~TCanvasPainter();
    TCanvasPainter(const TCanvasPainter&) = delete;
    TCanvasPainter& operator=(const TCanvasPainter&) = delete;

    /// False when there is nothing to draw on (no target, empty image, pmNop).
    bool Active() const { return painter_ != nullptr; }
    QPainter& P() { return *painter_; }
    /// True on a paint device other than an image (no raster operations,
    /// strokes by the pen rather than pixel by pixel).
    bool OnDevice() const { return onDevice_; }

    /// Logical coordinates to device pixels (world transform and map mode),
    /// without the device origin.
    static QTransform LogicalToDevice(const TCanvas& canvas);
    /// Whether logical coordinates are device pixels (no world transform in
    /// effect and the pixel map mode).
    static bool LogicalIsDevice(const TCanvas& canvas);
    /// Device pixels (control coordinates) to the target image's pixels.
    static QTransform DeviceToImage(const TCanvas& canvas);

    /// Switches the painter to draw in device pixels, ignoring the world
    /// transform and map mode (regions live in device pixels).
    void UseDeviceCoordinates();
    /// Draws the outline of a figure given in logical coordinates with the
    /// canvas's pen. Wide pens are centred on the pixels the figure's points
    /// name, as 1-pixel pens are.
    void StrokeFigure(const QPainterPath& path);
    /// Fills a figure given in logical coordinates with the canvas's brush.
    void FillFigure(const QPainterPath& path);

    /// Draws an image into dest (logical coordinates); transparent images
    /// blend, others replace the pixels.
    static void DrawImage(TCanvas& canvas, const QRectF& dest, const QImage& image, bool blend);

private:
    /// Strokes a figure of straight segments with a one-pixel pen pixel by
    /// pixel; false when the figure has curves or the transform turns or scales.
    bool StrokeStraightCosmetic(const QPainterPath& path, const QPen& pen);

    TCanvas& canvas_;
    QImage* image_ = nullptr;
    QImage scratch_;
    bool useScratch_ = false;
    bool onDevice_ = false;
    std::optional<QPainter> ownPainter_;
    // The painter of this operation: its own on images, the canvas's
    // lasting one (its state saved and restored) on other devices.
    QPainter* painter_ = nullptr;
};

} // namespace mycad
