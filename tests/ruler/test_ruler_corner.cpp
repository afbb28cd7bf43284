// The ruler corner: its unit's abbreviation and name, and bands that carry
// on those of the two rulers beside it in each of the four corners.
#include "ruler/Ruler.h"
#include "ruler/RulerCorner.h"
#include "ruler/RulerSurface.h"

#include <gtest/gtest.h>

using namespace mycad;
using namespace mycad::test;

TEST(RulerCorner, UnitAbbreviationAndName)
{
    TRsRulerCorner c;

    const struct {
        TRulerUnit unit;
        const char* text;
        const char* name;
    } table[] = {{TRulerUnit::ruKilo, "km", "kilometer"}, {TRulerUnit::ruMeter, "m", "meter"},
                 {TRulerUnit::ruMilli, "mm", "millimeter"}, {TRulerUnit::ruInch, "in", "inch"},
                 {TRulerUnit::ruPixel, "px", "pixel"},      {TRulerUnit::ruNone, "", ""},
                 {TRulerUnit::ruCenti, "cm", "centimeter"}};
    c.Repaint();
    for (const auto& row : table) {
        c.SetUnit(row.unit);
        EXPECT_EQ(c.UnitText(), QString::fromLatin1(row.text));
        EXPECT_EQ(c.Hint(), QString::fromLatin1(row.name));
        EXPECT_FALSE(c.InvalidRect().IsEmpty()) << "repaints";
        c.Update();
    }
    c.SetUnit(TRulerUnit::ruCenti);
    EXPECT_TRUE(c.InvalidRect().IsEmpty()) << "the same unit changes nothing";
}

TEST(RulerCorner, BandsCarryOnThoseOfBothRulers)
{
    struct Case {
        TCornerPos pos;
        TRulerDir horizontal, vertical;
        bool rulerRightOfCorner; // the horizontal ruler continues at the corner's right edge
        bool rulerBelowCorner;   // the vertical ruler continues at its bottom edge
    };
    const Case cases[] = {
        {TCornerPos::cpLeftTop, TRulerDir::rdTop, TRulerDir::rdLeft, true, true},
        {TCornerPos::cpRightTop, TRulerDir::rdTop, TRulerDir::rdRight, false, true},
        {TCornerPos::cpLeftBottom, TRulerDir::rdBottom, TRulerDir::rdLeft, true, false},
        {TCornerPos::cpRightBottom, TRulerDir::rdBottom, TRulerDir::rdRight, false, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(int(k.pos));
        TRsRulerCorner corner;
        corner.SetBounds(0, 0, 33, 33);
        corner.SetPosition(k.pos);
        PaintInTestColours(corner);
        TRsRuler h;
        h.SetDirection(k.horizontal);
        PaintInTestColours(h);
        TRsRuler v;
        v.SetDirection(k.vertical);
        PaintInTestColours(v);

        // Next to the horizontal ruler the corner's band takes the same rows,
        // next to the vertical one the same columns.
        const Span rows = BandSpan(h, 20, true);
        ASSERT_GE(rows.first, 0);
        EXPECT_EQ(BandSpan(corner, k.rulerRightOfCorner ? 30 : 2, true), rows);
        const Span columns = BandSpan(v, 20, false);
        ASSERT_GE(columns.first, 0);
        EXPECT_EQ(BandSpan(corner, k.rulerBelowCorner ? 30 : 2, false), columns);

        // The abbreviation sits where the bands cross, clear of the edge.
        const TRect ink = InkBox(corner, corner.ClientRect());
        ASSERT_FALSE(ink.IsEmpty());
        EXPECT_GE(ink.Width(), 8) << "two letters";
        const int32_t cx = (ink.Left + ink.Right) / 2;
        const int32_t cy = (ink.Top + ink.Bottom) / 2;
        EXPECT_GE(cx, columns.first - 1);
        EXPECT_LE(cx, columns.last + 1);
        EXPECT_GE(cy, rows.first - 1);
        EXPECT_LE(cy, rows.last + 2);
        EXPECT_GE(ink.Left, 2);
        EXPECT_LE(ink.Right, 31);
        EXPECT_GE(ink.Top, 2);
        EXPECT_LE(ink.Bottom, 31);

        // Away from the bands the corner shows the control's colour.
        const int32_t farX = k.rulerRightOfCorner ? 4 : 28;
        const int32_t farY = k.rulerBelowCorner ? 4 : 28;
        EXPECT_EQ(At(corner, farX, farY), kBack);
    }
}
