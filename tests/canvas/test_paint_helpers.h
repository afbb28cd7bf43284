// Helpers for the painting, grid and zoom tests: shapes placed by their
// document coordinates, and the pixels of the control's surface and of the
// back buffer as 0x00BBGGRR colours.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "cad/shapes/Line.h"
#include "cad/shapes/Rectangle.h"

#include "support/PixelProbes.h"

#include <QImage>

#include <cstdint>

namespace mycad::test {

/// A rectangle (or another class drawn in a box) with the box (l, t)-(r, b)
/// in document units, a solid fill and a one-pixel pen.
inline TMyShape* AddBox(TMyCAD& cad, float l, float t, float r, float b, TColor fill, TColor pen = clBlack,
                        const char* className = "TMyRectangle")
{
    TMyShape* s = cad.CreateAddShapeByName(QString::fromLatin1(className));
    if (!s) return nullptr;
    s->ThePoints = {{l, t}, {r, t}, {r, b}, {l, b}};
    s->CenterPoint = s->ComputeCenterPoint(4);
    s->TextOutPoint = s->CenterPoint;
    s->Brush().SetStyle(TBrushStyle::bsSolid);
    s->Brush().SetColor(fill);
    s->Pen().SetColor(pen);
    s->Pen().SetWidth(1);
    return s;
}

/// A line from (x1, y1) to (x2, y2) in document units.
inline TMyLine* AddSegment(TMyCAD& cad, float x1, float y1, float x2, float y2, TColor pen, int32_t width = 1)
{
    auto* s = dynamic_cast<TMyLine*>(cad.CreateAddShapeByName(QStringLiteral("TMyLine")));
    if (!s) return nullptr;
    s->ThePoints = {{x1, y1}, {x2, y2}};
    s->CenterPoint = s->ComputeCenterPoint(4);
    s->TextOutPoint = s->CenterPoint;
    s->Pen().SetColor(pen);
    s->Pen().SetWidth(width);
    return s;
}

inline TColor ColorOf(QRgb p)
{
    return RGB(static_cast<uint8_t>(qRed(p)), static_cast<uint8_t>(qGreen(p)), static_cast<uint8_t>(qBlue(p)));
}

/// The control's surface at control pixel (x, y); CLR_INVALID where the
/// surface does not reach.
inline TColor SurfacePixel(const TGraphicControl& c, int32_t x, int32_t y)
{
    const TRect s = c.SurfaceRect();
    if (x < s.Left || y < s.Top || x >= s.Right || y >= s.Bottom) return CLR_INVALID;
    return ColorOf(c.Surface().pixel(x - s.Left, y - s.Top));
}

/// The back buffer at buffer pixel (x, y).
inline TColor BufferPixel(const TMyCAD& cad, int32_t x, int32_t y)
{
    const QImage& img = cad.BackBuffer().Image();
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return CLR_INVALID;
    return ColorOf(img.pixel(x, y));
}

/// Every probe's pixel of the back buffer, or of the control's surface,
/// has the probe's colour.
inline void ExpectBuffer(const TMyCAD& cad, std::initializer_list<Probe> probes)
{
    ExpectPixels([&cad](int32_t x, int32_t y) { return BufferPixel(cad, x, y); }, probes);
}

inline void ExpectSurface(const TGraphicControl& c, std::initializer_list<Probe> probes)
{
    ExpectPixels([&c](int32_t x, int32_t y) { return SurfacePixel(c, x, y); }, probes);
}

/// A copy of the back buffer in one fixed format, for whole-image comparisons.
inline QImage BufferImage(const TMyCAD& cad)
{
    return cad.BackBuffer().Image().convertToFormat(QImage::Format_RGB32);
}

/// Counts the pixels of a colour in a part of the back buffer.
inline int32_t CountInBuffer(const TMyCAD& cad, const TRect& area, TColor c)
{
    int32_t n = 0;
    for (int32_t y = area.Top; y < area.Bottom; ++y)
        for (int32_t x = area.Left; x < area.Right; ++x) n += BufferPixel(cad, x, y) == c ? 1 : 0;
    return n;
}

/// A canvas of a given size that shows nothing of the grid, so shape pixels
/// stand alone on white.
inline void PlainCanvas(TMyCAD& cad, int32_t w, int32_t h)
{
    cad.GridOperation().SetGridType(TGridType::gNone);
    cad.SetBounds(0, 0, w, h);
}

} // namespace mycad::test
