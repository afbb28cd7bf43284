// TMyCAD: the grid behind the shapes and the snapping of mouse positions to
// the grid or to the edges of other shapes. Both work on device pixels; the
// grid is drawn at the zoomed spacing only when GridInZoom asks for it,
// while snapping always uses the spacing as set.
#include "cad/canvas/MyCAD.h"
#include "cad/canvas/ProcessingScope.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace mycad {

namespace {

// nearest(v): to the nearest integer, ties to even, in double.
double Nearest(double v)
{
    return std::nearbyint(v);
}

// A spacing that can be divided by and stepped with.
bool UsableSpacing(double s)
{
    return std::isfinite(s) && s > 0.0;
}

// One axis of the grid snap: v moves onto the nearest multiple of the
// spacing when it lies closer than snap pixels.
bool SnapToSpacing(int32_t& v, double spacing, double snap)
{
    if (!UsableSpacing(spacing)) return false;
    const double line = Nearest(double(v) / spacing) * spacing;
    if (!(std::abs(double(v) - line) < snap)) return false;
    v = RoundToInt(Nearest(line));
    return true;
}

// Of two candidate offsets, the non-zero one with the smaller magnitude,
// the first on a tie; false when both are zero.
bool SmallerOffset(int32_t first, int32_t second, int32_t& result)
{
    if (first == 0 && second == 0) return false;
    if (first == 0) {
        result = second;
    } else if (second == 0 || std::abs(first) <= std::abs(second)) {
        result = first;
    } else {
        result = second;
    }
    return true;
}

} // namespace

void TMyCAD::DrawGrid(TBitmap& bitmap, const TRect& r)
{
    const TGridObject& g = FGridOperation;
    if (g.GridType() == TGridType::gNone) return;
    double gw = g.GridWidth();
    double gh = g.GridHeight();
    if (g.GridInZoom()) {
        gw *= FZoom;
        gh *= FZoom;
    }
    if (!UsableSpacing(gw) || !UsableSpacing(gh)) return;
    // Buffer positions -ox + i*gw are the device positions that are
    // multiples of gw, so a partial repaint continues the lines of its
    // neighbours.
    const double ox = double(r.Left) - Nearest(double(r.Left) / gw) * gw;
    const double oy = double(r.Top) - Nearest(double(r.Top) / gh) * gh;
    if (!g.GridShow()) return;
    // A grid finer than a pixel would cover the drawing in grid colour, one
    // figure per pixel; it is not drawn.
    if (gw < 1.0 || gh < 1.0) return;

    TProcessingScope scope(Processing);
    TCanvas& c = bitmap.Canvas();
    const TPoint o = c.DeviceOrigin();
    const int32_t w = bitmap.Width();
    const int32_t h = bitmap.Height();
    TPen& pen = c.Pen();
    pen.SetColor(g.GridColor());
    pen.SetStyle(TPenStyle::psSolid);
    pen.SetWidth(g.GridPenSize());
    pen.SetMode(TPenMode::pmCopy);
    // Positions are taken from the index each time rather than summed, so a
    // fractional spacing does not drift across a wide buffer.
    auto xAt = [&](int64_t i) { return -ox + double(i) * gw; };
    auto yAt = [&](int64_t j) { return -oy + double(j) * gh; };

    if (g.GridType() == TGridType::gPixel) {
        c.Brush().SetStyle(TBrushStyle::bsSolid);
        c.Brush().SetColor(g.GridColor());
        const double p = g.GridPenSize();
        for (int64_t i = 0; xAt(i) <= w; ++i) {
            const double x = xAt(i);
            for (int64_t j = 0; yAt(j) <= h; ++j) {
                const double y = yAt(j);
                c.Rectangle(o.X + RoundToInt(x - p), o.Y + RoundToInt(y - p), o.X + RoundToInt(x + p),
                            o.Y + RoundToInt(y + p));
            }
        }
        return;
    }
    for (int64_t i = 0; xAt(i) <= w; ++i) {
        const int32_t x = o.X + RoundToInt(xAt(i));
        c.MoveTo(x, o.Y);
        c.LineTo(x, o.Y + h);
    }
    for (int64_t j = 0; yAt(j) <= h; ++j) {
        const int32_t y = o.Y + RoundToInt(yAt(j));
        c.MoveTo(o.X, y);
        c.LineTo(o.X + w, y);
    }
}

bool TMyCAD::SnapXY(int32_t& x, int32_t& y)
{
    const double snap = FSnapPixels;
    if (FSnap) {
        // Snapping follows the spacing as set, whether or not the grid is
        // shown or drawn zoomed.
        const bool sx = SnapToSpacing(x, FGridOperation.GridWidth(), snap);
        const bool sy = SnapToSpacing(y, FGridOperation.GridHeight(), snap);
        if (sx || sy) return true;
    }
    if (!FSnapShape) return false;

    int32_t left = 0;
    int32_t right = 0;
    int32_t top = 0;
    int32_t bottom = 0;
    bool xHit = false;
    bool yHit = false;
    const double px = x;
    const double py = y;
    for (const std::unique_ptr<TMyShape>& owned : MyShapes) {
        TMyShape* s = owned.get();
        if (!s || s->HasParentShape() || s == WorkingShape) continue;
        const TMyRect b = GetShapesLTRBinZoom(s);
        const double bl = b.Left;
        const double bt = b.Top;
        const double br = b.Right;
        const double bb = b.Bottom;
        // Edges are caught a little beyond the box's other extent too.
        const bool besideY = 0.8 * bt < py && py < 1.2 * bb;
        const bool besideX = 0.8 * bl < px && px < 1.2 * br;
        if (bl - snap < px && px < bl + snap && besideY) {
            left = RoundToInt(px - bl);
            xHit = true;
        }
        if (br - snap < px && px < br + snap && besideY) {
            right = RoundToInt(px - br);
            xHit = true;
        }
        if (bt - snap < py && py < bt + snap && besideX) {
            top = RoundToInt(py - bt);
            yHit = true;
        }
        if (bb - snap < py && py < bb + snap && besideX) {
            bottom = RoundToInt(py - bb);
            yHit = true;
        }
    }
    int32_t d = 0;
    if (xHit && SmallerOffset(left, right, d)) x -= d;
    if (yHit && SmallerOffset(top, bottom, d)) y -= d;
    return xHit || yHit;
}

void TMyCAD::SnapRect(const TRect& r, int32_t& x, int32_t& y)
{
    const std::array<TPoint, 4> corners{{{r.Left, r.Top}, {r.Left, r.Bottom}, {r.Right, r.Top}, {r.Right, r.Bottom}}};
    bool haveDx = false;
    bool haveDy = false;
    int32_t dx = 0;
    int32_t dy = 0;
    for (const TPoint& corner : corners) {
        TPoint snapped = corner;
        if (!SnapXY(snapped.X, snapped.Y)) continue;
        const int32_t ox = corner.X - snapped.X;
        const int32_t oy = corner.Y - snapped.Y;
        if (ox != 0 && (!haveDx || std::abs(ox) < std::abs(dx))) {
            dx = ox;
            haveDx = true;
        }
        if (oy != 0 && (!haveDy || std::abs(oy) < std::abs(dy))) {
            dy = oy;
            haveDy = true;
        }
    }
    if (haveDx) x -= dx;
    if (haveDy) y -= dy;
}

} // namespace mycad
