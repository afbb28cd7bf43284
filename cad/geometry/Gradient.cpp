#include "cad/geometry/Gradient.h"

#include <cassert>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace mycad {

namespace {

// Sizes the bitmap as a 24-bit w x h pattern and gives pixel (x, y) the table
// entry entry(x, y). Every formula stays within 0..255 over its pattern.
template <typename Entry>
void FillPattern(const TGradientColors& colors, TBitmap& bmp, int32_t w, int32_t h, Entry entry)
{
    bmp.SetPixelFormat(TPixelFormat::pf24bit);
    bmp.SetSize(w, h);
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* p = bmp.ScanLine(y);
        for (int32_t x = 0; x < w; ++x, p += 3) {
            const int32_t i = entry(x, y);
            assert(i >= 0 && i <= 255);
            const TRGBTriple& c = colors[static_cast<size_t>(i)];
            p[0] = c.rgbtBlue;
            p[1] = c.rgbtGreen;
            p[2] = c.rgbtRed;
        }
    }
}

// The largest distance in any radial pattern, sqrt(180^2 + 181^2), rounds to
// 255, the last table entry.
int32_t Distance(int32_t dx, int32_t dy) { return RoundToInt(std::sqrt(double(dx * dx + dy * dy))); }

// Distance from the middle of a 362-pixel span: the two middle pixels 180 and
// 181 both lie at 0, so the pattern is symmetric.
int32_t FromMiddle(int32_t v) { return v < 181 ? 180 - v : v - 181; }

uint8_t Blend(uint8_t from, uint8_t to, int32_t i)
{
    return static_cast<uint8_t>(from + (i * (int32_t(to) - int32_t(from))) / 255);
}

} // namespace

TGradientColors BuildGradientColors(TColor colorBegin, TColor colorEnd)
{
    const TColor b = ColorToRGB(colorBegin);
    const TColor e = ColorToRGB(colorEnd);
    TGradientColors table;
    for (int32_t i = 0; i < 256; ++i) {
        table[i].rgbtRed = Blend(GetRValue(b), GetRValue(e), i);
        table[i].rgbtGreen = Blend(GetGValue(b), GetGValue(e), i);
        table[i].rgbtBlue = Blend(GetBValue(b), GetBValue(e), i);
    }
    return table;
}

void PatternRadialC(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 362, 362, [](int32_t x, int32_t y) { return Distance(FromMiddle(x), 180 - y); });
}

void PatternRadialT(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 362, 181, [](int32_t x, int32_t y) { return Distance(FromMiddle(x), y); });
}

void PatternRadialB(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 362, 181, [](int32_t x, int32_t y) { return Distance(FromMiddle(x), 180 - y); });
}

void PatternRadialL(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 181, 362, [](int32_t x, int32_t y) { return Distance(x, FromMiddle(y)); });
}

void PatternRadialR(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 181, 362, [](int32_t x, int32_t y) { return Distance(180 - x, FromMiddle(y)); });
}

void PatternRadialTL(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 181, 181, [](int32_t x, int32_t y) { return Distance(x, y); });
}

void PatternRadialTR(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 181, 181, [](int32_t x, int32_t y) { return Distance(180 - x, y); });
}

void PatternRadialBL(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 181, 181, [](int32_t x, int32_t y) { return Distance(x, 180 - y); });
}

void PatternRadialBR(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 181, 181, [](int32_t x, int32_t y) { return Distance(180 - x, 180 - y); });
}

void PatternLinearH(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 1, 256, [](int32_t, int32_t y) { return y; });
}

void PatternLinearV(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 256, 1, [](int32_t x, int32_t) { return x; });
}

void PatternReflectedH(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 1, 512, [](int32_t, int32_t y) { return y < 256 ? 255 - y : y - 256; });
}

void PatternReflectedV(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 512, 1, [](int32_t x, int32_t) { return x < 256 ? 255 - x : x - 256; });
}

void PatternDiagonalLF(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 128, 129, [](int32_t x, int32_t y) { return y - x + 127; });
}

void PatternDiagonalLB(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 128, 129, [](int32_t x, int32_t y) { return x + y; });
}

void PatternDiagonalRF(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 256, 256, [](int32_t x, int32_t y) { return std::abs(x - y); });
}

void PatternDiagonalRB(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 256, 256, [](int32_t x, int32_t y) { return x + y < 255 ? 255 - (x + y) : x + y - 255; });
}

void PatternArrowL(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 129, 256, [](int32_t x, int32_t y) { return y < 128 ? 255 - (x + y) : y - x; });
}

void PatternArrowR(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 129, 256, [](int32_t x, int32_t y) { return y < 128 ? x - y + 127 : x + y - 128; });
}

void PatternArrowU(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 256, 129, [](int32_t x, int32_t y) { return x < 128 ? 255 - (x + y) : x - y; });
}

void PatternArrowD(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 256, 129, [](int32_t x, int32_t y) { return x < 128 ? y - x + 127 : x + y - 128; });
}

void PatternDiamond(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 256, 256, [](int32_t x, int32_t y) {
        if (y < 128) return x < 128 ? 255 - (x + y) : x - y;
        return x < 128 ? y - x : x + y - 255;
    });
}

void PatternButterfly(const TGradientColors& colors, TBitmap& bmp)
{
    FillPattern(colors, bmp, 256, 256, [](int32_t x, int32_t y) {
        if (y < 128) return x < 128 ? x - y + 128 : 383 - (x + y);
        return x < 128 ? x + y - 128 : y - x + 128;
    });
}

void PatternNone(const TGradientColors&, TBitmap&) {}

TPatternBuilder PatternBuilderOf(TGradientStyle style)
{
    // Indexed by the style's ordinal.
    static constexpr TPatternBuilder builders[] = {
        PatternRadialC,    PatternRadialT,    PatternRadialB,    PatternRadialL,    PatternRadialR,
        PatternRadialTL,   PatternRadialTR,   PatternRadialBL,   PatternRadialBR,   PatternLinearH,
        PatternLinearV,    PatternReflectedH, PatternReflectedV, PatternDiagonalLF, PatternDiagonalLB,
        PatternDiagonalRF, PatternDiagonalRB, PatternArrowL,     PatternArrowR,     PatternArrowU,
        PatternArrowD,     PatternDiamond,    PatternButterfly,  PatternNone,
    };
    static_assert(std::size(builders) == size_t(TGradientStyle::gsNone) + 1);
    const size_t i = static_cast<size_t>(style);
    return i < std::size(builders) ? builders[i] : PatternNone;
}

void BuildGradient(TColor colorBegin, TColor colorEnd, TGradientStyle style, TBitmap& bmp)
{
    const TGradientColors colors = BuildGradientColors(colorBegin, colorEnd);
    bmp.SetSize(0, 0);
    bmp.SetPixelFormat(TPixelFormat::pf24bit);
    PatternBuilderOf(style)(colors, bmp);
}

} // namespace mycad
