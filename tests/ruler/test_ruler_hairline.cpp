// The hair line: inverted over the label band, moved without a repaint,
// erased by a repaint that covers it and kept whole across partial ones.
#include "ruler/Ruler.h"
#include "ruler/RulerSurface.h"

#include <gtest/gtest.h>

using namespace mycad;
using namespace mycad::test;

namespace {

// Yellow with every bit inverted.
constexpr TColor kInverted = clBlue;

// A flat ruler in the test colours, painted, with the hair line on.
void Prepare(TRsRuler& r, TRulerDir dir = TRulerDir::rdTop)
{
    r.SetDirection(dir);
    r.SetFlat(true);
    PaintInTestColours(r);
    r.SetHairLine(true);
    r.Repaint();
}

bool Horizontal(const TRsRuler& r)
{
    return r.Direction() == TRulerDir::rdTop || r.Direction() == TRulerDir::rdBottom;
}

// The colour at `along` on the scale and `across` it.
TColor AtScale(const TRsRuler& r, int32_t along, int32_t across)
{
    return Horizontal(r) ? At(r, along, across) : At(r, across, along);
}

/// The colours at points along row `across` of a horizontal ruler.
void ExpectAlong(const TRsRuler& r, int32_t across, std::initializer_list<std::pair<int32_t, TColor>> pixels)
{
    for (const auto& [along, colour] : pixels) ExpectPixels(r, {{along, across, colour}});
}

// A row across the ruler in the middle of the band, away from the ticks.
int32_t BandRow(const TRsRuler& r)
{
    const int32_t n = Horizontal(r) ? r.Height() : r.Width();
    for (int32_t k = 0; k < n; ++k)
        if (AtScale(r, 20, k) == kBand) return k + 2;
    return -1;
}

} // namespace

TEST(RulerHairLine, CoversTheBandAcrossOnEverySide)
{
    for (TRulerDir dir : {TRulerDir::rdTop, TRulerDir::rdBottom, TRulerDir::rdLeft, TRulerDir::rdRight}) {
        SCOPED_TRACE(int(dir));
        TRsRuler r;
        Prepare(r, dir);
        const int32_t n = Horizontal(r) ? r.Height() : r.Width();
        std::vector<TColor> before;
        for (int32_t k = 0; k < n; ++k) before.push_back(AtScale(r, 49, k));

        r.SetHairLinePos(50);
        EXPECT_TRUE(r.InvalidRect().IsEmpty()) << "no repaint";
        int32_t inverted = 0;
        for (int32_t k = 0; k < n; ++k) {
            const TColor now = AtScale(r, 49, k);
            // Exactly the band's pixels are inverted; ticks and background stay.
            EXPECT_EQ(now, before[k] == kBand ? kInverted : before[k]) << "pixel " << k << " across";
            inverted += now == kInverted;
            EXPECT_EQ(AtScale(r, 50, k), AtScale(r, 51, k)) << "one pixel wide";
        }
        EXPECT_GE(inverted, 8);
    }
}

TEST(RulerHairLine, MovesAndErasesItselfWithoutARepaint)
{
    TRsRuler r;
    Prepare(r);
    const int32_t row = BandRow(r);
    ASSERT_GE(row, 0);

    r.SetHairLinePos(60);
    r.SetHairLinePos(60); // the same position does not toggle it
    ExpectAlong(r, row, {{59, kInverted}});
    r.SetHairLinePos(-1);
    ExpectAlong(r, row, {{59, kBand}});
    // Positions at the ends of the range lie off the ruler and draw nothing on it.
    r.SetHairLinePos(INT32_MIN);
    r.SetHairLinePos(INT32_MAX);
    r.SetHairLinePos(-1);
    EXPECT_EQ(BandSpan(r, 1, true), BandSpan(r, 198, true));

    // A band from the start of the scale (one pixel in), or from its far end
    // when reversed (the far edge itself, which it inverts).
    r.SetHairLineStyle(THairLineStyle::hlsRect);
    r.Update();
    r.SetHairLinePos(60);
    r.SetHairLinePos(80);
    ExpectAlong(r, row, {{0, kBack}, {1, kInverted}, {79, kInverted}, {80, kBand}});
    r.SetScaleDir(TRulerScaleDir::rsdReverse);
    r.Update();
    r.SetHairLinePos(150);
    ExpectAlong(r, row, {{149, kBand}, {150, kInverted}, {198, kInverted}, {199, kBack ^ 0xFFFFFF}});
}

TEST(RulerHairLine, RepaintsEraseItOrKeepItWhole)
{
    TRsRuler r;
    Prepare(r);
    const int32_t row = BandRow(r);

    // Switched off, a position is stored but nothing drawn; switching on
    // repaints.
    r.SetHairLine(false);
    r.Update();
    r.SetHairLinePos(50);
    EXPECT_EQ(r.HairLinePos(), 50);
    EXPECT_EQ(At(r, 49, row), kBand);
    r.SetHairLine(true);
    r.Update();
    EXPECT_EQ(r.HairLinePos(), -1);

    // A full repaint wipes the line out and forgets it.
    r.SetHairLinePos(50);
    r.Repaint();
    EXPECT_EQ(r.HairLinePos(), -1);
    EXPECT_EQ(At(r, 49, row), kBand);
    r.SetHairLinePos(50);

    // A repaint of a part elsewhere leaves it alone...
    r.InvalidateRect(Rect(100, 0, 150, 33));
    r.Update();
    EXPECT_EQ(At(r, 49, row), kInverted);
    // ...and one through the line but not all of it draws it again there,
    // so the next move erases every pixel of it.
    r.InvalidateRect(Rect(40, row - 1, 60, row + 1));
    r.Update();
    EXPECT_EQ(At(r, 49, row), kInverted);
    EXPECT_EQ(At(r, 49, row + 1), kInverted);
    r.SetHairLinePos(70);
    for (int32_t y = 0; y < 33; ++y) EXPECT_NE(At(r, 49, y), kInverted) << y;
    EXPECT_EQ(At(r, 69, row), kInverted);

    // The same for a band cut through by the repaint, from either end of
    // the scale: the band from the far end is marked from its end first.
    r.SetHairLineStyle(THairLineStyle::hlsRect);
    const struct {
        TRulerScaleDir dir;
        int32_t pos, next, cleared, marked;
    } bands[] = {{TRulerScaleDir::rsdNormal, 120, 90, 110, 50}, {TRulerScaleDir::rsdReverse, 80, 110, 90, 150}};
    for (const auto& b : bands) {
        SCOPED_TRACE(int(b.dir));
        r.SetScaleDir(b.dir);
        r.Update();
        r.SetHairLinePos(b.pos);
        r.InvalidateRect(Rect(100, 0, 150, 33));
        r.Update();
        EXPECT_EQ(At(r, 110, row), kInverted);
        r.SetHairLinePos(b.next);
        EXPECT_EQ(At(r, b.cleared, row), kBand);
        EXPECT_EQ(At(r, b.marked, row), kInverted);
        r.SetHairLinePos(-1);
    }
}
