// Two-colour gradient fills: the 256-entry colour table between two colours
// and the small pattern bitmap of each gradient style. A shape renders its
// pattern once when its colours or style change and stretches it over its
// outline when it paints.
#pragma once

#include "platform/Graphics.h"

#include <array>
#include <cstdint>

namespace mycad {

/// One colour in the byte order of a 24-bit scan line.
struct TRGBTriple {
    uint8_t rgbtBlue = 0;
    uint8_t rgbtGreen = 0;
    uint8_t rgbtRed = 0;
    friend bool operator==(const TRGBTriple&, const TRGBTriple&) = default;
};

/// Entry 0 is the begin colour, entry 255 the end colour.
using TGradientColors = std::array<TRGBTriple, 256>;
static_assert(sizeof(TGradientColors) == 768, "the table is laid out as 256 scan-line pixels");

/// Ordinals are stored in shape records and must not change.
enum class TGradientStyle : uint8_t {
    gsRadialC = 0,
    gsRadialT = 1,
    gsRadialB = 2,
    gsRadialL = 3,
    gsRadialR = 4,
    gsRadialTL = 5,
    gsRadialTR = 6,
    gsRadialBL = 7,
    gsRadialBR = 8,
    gsLinearH = 9,
    gsLinearV = 10,
    gsReflectedH = 11,
    gsReflectedV = 12,
    gsDiagonalLF = 13,
    gsDiagonalLB = 14,
    gsDiagonalRF = 15,
    gsDiagonalRB = 16,
    gsArrowL = 17,
    gsArrowR = 18,
    gsArrowU = 19,
    gsArrowD = 20,
    gsDiamond = 21,
    gsButterfly = 22,
    gsNone = 23,
};

/// Fills bmp with a pattern of table entries; it sets the bitmap's size
/// itself and makes it 24 bits.
using TPatternBuilder = void (*)(const TGradientColors& colors, TBitmap& bmp);

/// The table between two colours, system colours resolved: channel k of entry
/// i is begin_k + (i * (end_k - begin_k)) div 255, truncated toward zero.
TGradientColors BuildGradientColors(TColor colorBegin, TColor colorEnd);

// The builders. d is the distance sqrt(dx^2 + dy^2) rounded ties to even.

/// 362 x 362: d from the centre (columns 180 and 181 are both dx 0).
void PatternRadialC(const TGradientColors& colors, TBitmap& bmp);
/// 362 x 181: d from the middle of the top edge.
void PatternRadialT(const TGradientColors& colors, TBitmap& bmp);
/// 362 x 181: d from the middle of the bottom edge.
void PatternRadialB(const TGradientColors& colors, TBitmap& bmp);
/// 181 x 362: d from the middle of the left edge.
void PatternRadialL(const TGradientColors& colors, TBitmap& bmp);
/// 181 x 362: d from the middle of the right edge.
void PatternRadialR(const TGradientColors& colors, TBitmap& bmp);
/// 181 x 181: d from the top-left corner.
void PatternRadialTL(const TGradientColors& colors, TBitmap& bmp);
/// 181 x 181: d from the top-right corner.
void PatternRadialTR(const TGradientColors& colors, TBitmap& bmp);
/// 181 x 181: d from the bottom-left corner.
void PatternRadialBL(const TGradientColors& colors, TBitmap& bmp);
/// 181 x 181: d from the bottom-right corner.
void PatternRadialBR(const TGradientColors& colors, TBitmap& bmp);
/// 1 x 256: entry y, the table as one column.
void PatternLinearH(const TGradientColors& colors, TBitmap& bmp);
/// 256 x 1: entry x, the table as one row.
void PatternLinearV(const TGradientColors& colors, TBitmap& bmp);
/// 1 x 512: the table upward then downward; row y equals row 511 - y.
void PatternReflectedH(const TGradientColors& colors, TBitmap& bmp);
/// 512 x 1: the table backward then forward; column x equals column 511 - x.
void PatternReflectedV(const TGradientColors& colors, TBitmap& bmp);
/// 128 x 129: entry y - x + 127.
void PatternDiagonalLF(const TGradientColors& colors, TBitmap& bmp);
/// 128 x 129: entry x + y.
void PatternDiagonalLB(const TGradientColors& colors, TBitmap& bmp);
/// 256 x 256: entry |x - y|, 0 along the main diagonal.
void PatternDiagonalRF(const TGradientColors& colors, TBitmap& bmp);
/// 256 x 256: entry |x + y - 255|, 0 along the other diagonal.
void PatternDiagonalRB(const TGradientColors& colors, TBitmap& bmp);
/// 129 x 256: entry 255 - (x + y) in rows 0..127, y - x below.
void PatternArrowL(const TGradientColors& colors, TBitmap& bmp);
/// 129 x 256: entry x - y + 127 in rows 0..127, x + y - 128 below.
void PatternArrowR(const TGradientColors& colors, TBitmap& bmp);
/// 256 x 129: entry 255 - (x + y) in columns 0..127, x - y right of them.
void PatternArrowU(const TGradientColors& colors, TBitmap& bmp);
/// 256 x 129: entry y - x + 127 in columns 0..127, x + y - 128 right of them.
void PatternArrowD(const TGradientColors& colors, TBitmap& bmp);
/// 256 x 256: in each 128 x 128 quadrant a diagonal ramp falling toward the centre.
void PatternDiamond(const TGradientColors& colors, TBitmap& bmp);
/// 256 x 256: in each 128 x 128 quadrant a diagonal ramp: x - y + 128 top left,
/// 383 - (x + y) top right, x + y - 128 bottom left, y - x + 128 bottom right.
void PatternButterfly(const TGradientColors& colors, TBitmap& bmp);
/// Leaves the bitmap as it is.
void PatternNone(const TGradientColors& colors, TBitmap& bmp);

/// The builder of a style; gsNone, and any ordinal past it (a damaged record),
/// give PatternNone.
TPatternBuilder PatternBuilderOf(TGradientStyle style);

/// Renders the pattern of style between two colours into bmp: builds the
/// table, empties the bitmap and runs the style's builder. With gsNone the
/// bitmap is left empty.
void BuildGradient(TColor colorBegin, TColor colorEnd, TGradientStyle style, TBitmap& bmp);

} // namespace mycad
