// Reading a ruler's rendered surface: pixel colours and where label text
// landed.
#pragma once

#include "platform/Control.h"
#include "platform/Types.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>

namespace mycad::test {

// Colours the pixel tests paint with, so every pixel tells what drew it.
inline constexpr TColor kBack = clGreen;   // the control's Color
inline constexpr TColor kBand = clYellow;  // ScaleColor
inline constexpr TColor kTick = clRed;     // TickColor
inline constexpr TColor kText = clBlue;    // Font colour

/// The surface pixel at control coordinates (x, y), as 0x00BBGGRR;
/// CLR_INVALID off the surface.
inline TColor At(const TGraphicControl& c, int32_t x, int32_t y)
{
    const TRect s = c.SurfaceRect();
    if (!PtInRect(s, {x, y})) return 0xFFFFFFFF;
    const QRgb p = c.Surface().pixel(x - s.Left, y - s.Top);
    return RGB(static_cast<uint8_t>(qRed(p)), static_cast<uint8_t>(qGreen(p)), static_cast<uint8_t>(qBlue(p)));
}

struct PixelIs {
    int32_t x;
    int32_t y;
    TColor colour;
};

inline void ExpectPixels(const TGraphicControl& c, std::initializer_list<PixelIs> pixels)
{
    for (const PixelIs& p : pixels) EXPECT_EQ(At(c, p.x, p.y), p.colour) << "pixel " << p.x << "," << p.y;
}

/// Blue label text, anti-aliased over the yellow band or the green
/// background: mostly covered pixels lean clearly to blue.
inline bool IsInk(TColor c)
{
    return int(GetBValue(c)) - int(GetRValue(c)) > 100 && int(GetBValue(c)) - int(GetGValue(c)) > 60;
}

/// The bounding box of ink pixels inside area; empty when there are none.
inline TRect InkBox(const TGraphicControl& c, const TRect& area)
{
    TRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int32_t y = area.Top; y < area.Bottom; ++y)
        for (int32_t x = area.Left; x < area.Right; ++x)
            if (IsInk(At(c, x, y))) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box.Left == INT32_MAX ? TRect{} : box;
}

/// How many pixels of column x, rows y0 to y1 - 1, have colour col.
inline int32_t CountColumn(const TGraphicControl& c, int32_t x, int32_t y0, int32_t y1, TColor col)
{
    int32_t n = 0;
    for (int32_t y = y0; y < y1; ++y) n += At(c, x, y) == col;
    return n;
}

/// The first and last band pixel on column x (down) or on row x (across);
/// -1 when there is none.
struct Span {
    int32_t first = -1;
    int32_t last = -1;
    friend bool operator==(const Span&, const Span&) = default;
};
inline Span BandSpan(const TGraphicControl& c, int32_t x, bool down)
{
    Span s;
    const int32_t n = down ? c.Height() : c.Width();
    for (int32_t k = 0; k < n; ++k) {
        if ((down ? At(c, x, k) : At(c, k, x)) != kBand) continue;
        if (s.first < 0) s.first = k;
        s.last = k;
    }
    return s;
}

/// Ruler or corner in the test colours (a corner has no ticks), painted.
template <typename Control>
void PaintInTestColours(Control& c)
{
    c.SetColor(kBack);
    c.SetScaleColor(kBand);
    c.Font().SetColor(kText);
    if constexpr (requires { c.SetTickColor(kTick); }) c.SetTickColor(kTick);
    c.Repaint();
}

} // namespace mycad::test
