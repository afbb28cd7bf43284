#include "platform/Types.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace mycad;

TEST(Types, RoundingIsTiesToEvenAndColoursResolve)
{
    // Positions far beyond any page stay at a bound whose sums still fit.
    for (const auto& [value, rounded] : {std::pair{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-0.5, 0}, {-4.5e35, -(1 << 29)},
                                         {3e9, 1 << 29}, {536870911.6, 1 << 29}, {std::nan(""), 0}}) {
        EXPECT_EQ(RoundToInt(value), rounded) << value;
    }
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clBtnFace), TColor(0xF0F0F0));
    EXPECT_EQ(ColorToRGB(0x12345678u), TColor(0x345678));
    TRect r;
    EXPECT_FALSE(IntersectRect(r, Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)));
    EXPECT_TRUE(IntersectRect(r, Rect(0, 0, 10, 10), Rect(5, 5, 20, 20)));
    EXPECT_EQ(r, Rect(5, 5, 10, 10));
    EXPECT_TRUE(PtInRect(Rect(0, 0, 10, 10), Point(0, 9)));
    EXPECT_FALSE(PtInRect(Rect(0, 0, 10, 10), Point(10, 5)));
}
