#include "cad/geometry/Gradient.h"
#include "geometry/PixelAccess.h"

#include <gtest/gtest.h>

#include <string>

using namespace mycad;
using namespace mycad::test;

namespace {

// From blue to red every entry can be read back from its pixel: red is the
// entry and blue 255 minus it.
int32_t EntryAt(const TBitmap& bmp, int32_t x, int32_t y)
{
    const Bgr p = PixelAt(bmp, x, y);
    EXPECT_EQ(p.g, 0);
    EXPECT_EQ(p.b, 255 - p.r) << x << "," << y;
    return p.r;
}

TBitmap Build(TGradientStyle style)
{
    TBitmap bmp;
    BuildGradient(RGB(0, 0, 255), RGB(255, 0, 0), style, bmp);
    return bmp;
}

} // namespace

TEST(Gradient, ColourTableRunsFromBeginToEnd)
{
    TGradientColors t = BuildGradientColors(clWhite, clBlack);
    EXPECT_EQ(t[0], (TRGBTriple{255, 255, 255}));
    EXPECT_EQ(t[255], (TRGBTriple{0, 0, 0}));
    EXPECT_EQ(t[128], (TRGBTriple{127, 127, 127}));  // 128 * -255 div 255 = -128

    t = BuildGradientColors(RGB(0, 0, 0), RGB(255, 0, 10));
    EXPECT_EQ(t[100].rgbtRed, 100);
    EXPECT_EQ(t[100].rgbtGreen, 0);
    EXPECT_EQ(t[100].rgbtBlue, 3);  // 1000 div 255
    EXPECT_EQ(t[255], (TRGBTriple{10, 0, 255}));

    // A falling channel truncates toward zero: 10 + (100 * -10) div 255 = 10 - 3.
    t = BuildGradientColors(RGB(0, 0, 10), RGB(0, 0, 0));
    EXPECT_EQ(t[100].rgbtBlue, 7);

    // System colours are resolved first.
    const TColor window = ColorToRGB(clWindow);
    t = BuildGradientColors(clWindow, clBtnText);
    EXPECT_EQ(t[0], (TRGBTriple{GetBValue(window), GetGValue(window), GetRValue(window)}));
    const TColor text = ColorToRGB(clBtnText);
    EXPECT_EQ(t[255], (TRGBTriple{GetBValue(text), GetGValue(text), GetRValue(text)}));
}

TEST(Gradient, EveryPatternHasItsSizeCornersAndCentre)
{
    struct Expect {
        TGradientStyle style;
        int32_t w, h;
        int32_t topLeft, topRight, bottomLeft, bottomRight, centre;
    };
    using S = TGradientStyle;
    const Expect table[] = {
        {S::gsRadialC, 362, 362, 255, 255, 255, 255, 1},
        {S::gsRadialT, 362, 181, 180, 180, 255, 255, 90},
        {S::gsRadialB, 362, 181, 255, 255, 180, 180, 90},
        {S::gsRadialL, 181, 362, 180, 255, 180, 255, 90},
        {S::gsRadialR, 181, 362, 255, 180, 255, 180, 90},
        {S::gsRadialTL, 181, 181, 0, 180, 180, 255, 127},
        {S::gsRadialTR, 181, 181, 180, 0, 255, 180, 127},
        {S::gsRadialBL, 181, 181, 180, 255, 0, 180, 127},
        {S::gsRadialBR, 181, 181, 255, 180, 180, 0, 127},
        {S::gsLinearH, 1, 256, 0, 0, 255, 255, 128},
        {S::gsLinearV, 256, 1, 0, 255, 0, 255, 128},
        {S::gsReflectedH, 1, 512, 255, 255, 255, 255, 0},
        {S::gsReflectedV, 512, 1, 255, 255, 255, 255, 0},
        {S::gsDiagonalLF, 128, 129, 127, 0, 255, 128, 127},
        {S::gsDiagonalLB, 128, 129, 0, 127, 128, 255, 128},
        {S::gsDiagonalRF, 256, 256, 0, 255, 255, 0, 0},
        {S::gsDiagonalRB, 256, 256, 255, 0, 0, 255, 1},
        {S::gsArrowL, 129, 256, 255, 127, 255, 127, 64},
        {S::gsArrowR, 129, 256, 127, 255, 127, 255, 64},
        {S::gsArrowU, 256, 129, 255, 255, 127, 127, 64},
        {S::gsArrowD, 256, 129, 127, 127, 255, 255, 64},
        {S::gsDiamond, 256, 256, 255, 255, 255, 255, 1},
        {S::gsButterfly, 256, 256, 128, 128, 127, 128, 128},
    };
    static_assert(std::size(table) == 23);
    for (const Expect& e : table) {
        const TBitmap bmp = Build(e.style);
        const std::string name = "style " + std::to_string(int(e.style));
        ASSERT_EQ(bmp.Width(), e.w) << name;
        ASSERT_EQ(bmp.Height(), e.h) << name;
        EXPECT_EQ(EntryAt(bmp, 0, 0), e.topLeft) << name;
        EXPECT_EQ(EntryAt(bmp, e.w - 1, 0), e.topRight) << name;
        EXPECT_EQ(EntryAt(bmp, 0, e.h - 1), e.bottomLeft) << name;
        EXPECT_EQ(EntryAt(bmp, e.w - 1, e.h - 1), e.bottomRight) << name;
        EXPECT_EQ(EntryAt(bmp, e.w / 2, e.h / 2), e.centre) << name;
    }
}
