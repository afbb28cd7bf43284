// What a ruler draws: the band, ticks at their pixels, labels where they
// belong on each of the four sides, the edge, reversed scales and fonts.
#include "ruler/Ruler.h"
#include "ruler/RulerSurface.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace mycad;
using namespace mycad::test;

namespace {

// Two millimetres at 96 pixels per inch: the distance between ticks in
// centimetres at scale 100.
constexpr double kTickStep = 96 / 25.4 * 2;

} // namespace

TEST(RulerPaint, EverySideTicksTowardTheDrawingAndTurnsItsLabels)
{
    for (const TRulerDir dir : {TRulerDir::rdTop, TRulerDir::rdBottom, TRulerDir::rdLeft, TRulerDir::rdRight}) {
        SCOPED_TRACE(int(dir));
        TRsRuler r;
        r.SetDirection(dir);
        const bool horizontal = dir == TRulerDir::rdTop || dir == TRulerDir::rdBottom;
        if (horizontal)
            r.SetWidth(300);
        else
            r.SetHeight(300);
        r.SetFlat(true);
        r.SetScale(200); // labels "0.5", "1", "1.5" ...: a decimal point shows which way text runs
        PaintInTestColours(r);
        const int32_t w = r.Width();
        const int32_t h = r.Height();
        const int32_t across = horizontal ? h : w;
        ASSERT_EQ(across, 33);

        // The tick at 1 cm (pixel 75 at scale 200): seven pixels from the
        // drawing's edge, and nothing on the far edge.
        const int32_t p = 75;
        auto tick = [&](int32_t k) { return horizontal ? At(r, p, k) : At(r, k, p); };
        const bool nearEdgeIsHigh = dir == TRulerDir::rdTop || dir == TRulerDir::rdLeft;
        for (int32_t k = 0; k < across; ++k) {
            const bool onTick = nearEdgeIsHigh ? k >= across - 7 : k < 7;
            EXPECT_EQ(tick(k) == kTick, onTick) << "pixel " << k << " across";
        }

        // The band lies on the far side of the ticks, eight pixels clear of the edge.
        const Span band = BandSpan(r, 20, horizontal);
        if (nearEdgeIsHigh) {
            EXPECT_EQ(band.last, across - 9);
        } else {
            EXPECT_EQ(band.first, 8);
        }

        // The label "0.5" at pixel 37.
        const int32_t at = 37;
        const TRect area = horizontal ? Rect(at - 14, 0, at + 15, h) : Rect(0, at - 14, w, at + 15);
        const TRect ink = InkBox(r, area);
        ASSERT_FALSE(ink.IsEmpty());
        EXPECT_NEAR(horizontal ? (ink.Left + ink.Right) / 2 : (ink.Top + ink.Bottom) / 2, at, 2) << "centred on its tick";
        const TRect clearOfTicks = nearEdgeIsHigh ? Rect(0, 0, across - 7, across) : Rect(8, 0, across, across);
        if (horizontal) {
            EXPECT_GT(ink.Width(), ink.Height()) << "upright text";
            EXPECT_GE(ink.Top, clearOfTicks.Left);
            EXPECT_LE(ink.Bottom, clearOfTicks.Right);
        } else {
            EXPECT_GT(ink.Height(), ink.Width()) << "turned text";
            EXPECT_GE(ink.Left, clearOfTicks.Left);
            EXPECT_LE(ink.Right, clearOfTicks.Right);
        }

        // The decimal point sits on the baseline, midway along the text:
        // below its middle on a horizontal ruler, toward the drawing's side
        // (right) for text reading upward, left for text reading downward.
        if (!horizontal) {
            const int32_t mid = (ink.Top + ink.Bottom) / 2;
            const TRect dot = InkBox(r, Rect(ink.Left, mid, ink.Right, mid + 1));
            ASSERT_FALSE(dot.IsEmpty());
            if (dir == TRulerDir::rdLeft)
                EXPECT_GT(dot.Left + dot.Right, ink.Left + ink.Right) << "reads upward";
            else
                EXPECT_LT(dot.Left + dot.Right, ink.Left + ink.Right) << "reads downward";
        }
    }
}

TEST(RulerPaint, TickPeriodsOfZeroDrawNoSuchTicks)
{
    TRsRuler r;
    r.SetFlat(true);
    PaintInTestColours(r);
    const int32_t h = r.Height();
    const auto x1 = static_cast<int32_t>(kTickStep);      // a short tick
    const auto x5 = static_cast<int32_t>(5 * kTickStep);  // a long one
    const auto x10 = static_cast<int32_t>(10 * kTickStep);
    // No short ticks: no dot where one would be. No long ticks: no labels
    // either. Periods far beyond the ruler: only the tick at the start
    // counts as one. A label every second long tick.
    const struct {
        int32_t longTick, shortTick;
        std::vector<std::pair<int32_t, int32_t>> tickPixels; // column, pixels of tick colour
        bool labelAt5, labelAt10, anyLabel;
    } cases[] = {{5, 0, {{x1, 0}, {x5, 7}}, true, true, true},
                 {0, 1, {{x1, 5}, {x5, 5}}, false, false, false},
                 {INT32_MIN, INT32_MAX, {{0, 7}, {x5, 0}}, false, false, false},
                 {10, 1, {{x5, 5}, {x10, 7}}, false, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "long " << c.longTick << ", short " << c.shortTick);
        r.SetMyLongTick(c.longTick);
        r.SetMyShortTick(c.shortTick);
        r.Repaint();
        for (const auto& [x, n] : c.tickPixels) EXPECT_EQ(CountColumn(r, x, 0, h, kTick), n) << "column " << x;
        EXPECT_EQ(!InkBox(r, Rect(x5 - 8, 0, x5 + 9, h)).IsEmpty(), c.labelAt5);
        EXPECT_EQ(!InkBox(r, Rect(x10 - 8, 0, x10 + 9, h)).IsEmpty(), c.labelAt10);
        EXPECT_EQ(!InkBox(r, r.ClientRect()).IsEmpty(), c.anyLabel);
    }
}

TEST(RulerPaint, RaisedEdgeUnlessFlat)
{
    TRsRuler r;
    PaintInTestColours(r);
    const int32_t w = r.Width();
    const int32_t h = r.Height();
    // The dark side owns the corner; ticks run over the edge.
    ExpectPixels(r, {{5, 0, ColorToRGB(cl3DLight)},
                     {5, 1, ColorToRGB(clBtnHighlight)},
                     {w - 1, 0, ColorToRGB(cl3DDkShadow)},
                     {w - 2, 20, ColorToRGB(clBtnShadow)},
                     {static_cast<int32_t>(kTickStep), h - 1, kTick}});
    // The band keeps two pixels clear of the sides, or one when flat.
    const int32_t row = BandSpan(r, 20, true).first;
    ASSERT_GE(row, 0);
    ExpectPixels(r, {{1, row, ColorToRGB(clBtnHighlight)}, {2, row, kBand}, {w - 3, row, kBand}});
    r.SetFlat(true);
    r.Repaint();
    ExpectPixels(r, {{5, 0, kBack}, {0, row, kBack}, {1, row, kBand}});
}

TEST(RulerPaint, FontChangesRedrawLabelsInTheNewFont)
{
    TRsRuler r;
    r.SetFlat(true);
    r.SetHeight(45);
    PaintInTestColours(r);
    const Span small = BandSpan(r, 20, true);
    const TRect smallInk = InkBox(r, Rect(20, 0, 60, 45));

    r.Font().SetHeight(-20);
    EXPECT_FALSE(r.InvalidRect().IsEmpty()) << "a font change repaints";
    r.Update();
    const Span big = BandSpan(r, 20, true);
    const TRect bigInk = InkBox(r, Rect(20, 0, 60, 45));
    EXPECT_EQ(big.last, small.last);
    EXPECT_LT(big.first, small.first - 4) << "the band grows with the text";
    EXPECT_GT(bigInk.Height(), smallInk.Height() + 4);
    EXPECT_LE(bigInk.Bottom, 45 - 8);
}

TEST(RulerPaint, LabelsCutOffByTheParentAreLeftOut)
{
    // A host scrolls a ruler by letting it start under its left neighbour
    // (the corner): a label half under the neighbour would read as part of
    // the neighbour's text.
    TRsRuler alone;
    alone.SetFlat(true);
    PaintInTestColours(alone);
    alone.SetWidth(400);
    alone.Repaint();
    const int32_t h = alone.Height();
    // The first run of inked columns past the scale's start: the first
    // glyph of the first label.
    const auto inked = [&](int32_t x) { return !InkBox(alone, Rect(x, 0, x + 1, h)).IsEmpty(); };
    int32_t left = 4;
    while (left < 400 && !inked(left)) ++left;
    int32_t right = left;
    while (right < 400 && inked(right)) ++right;
    ASSERT_LT(right, 400);
    ASSERT_GT(right - left, 1);
    const TRect label = Rect(left, 0, right, h);
    const int32_t cut = (label.Left + label.Right) / 2;

    QWidget strip;
    strip.resize(300, h);
    TRsRuler r(&strip);
    r.SetFlat(true);
    PaintInTestColours(r);
    r.SetBounds(-cut, 0, 400, h);
    r.Repaint();
    ASSERT_EQ(r.SurfaceRect().Left, cut);
    EXPECT_TRUE(InkBox(r, Rect(cut, 0, label.Right, h)).IsEmpty());
    // The labels that are whole are drawn as before.
    EXPECT_FALSE(InkBox(r, Rect(label.Right, 0, cut + 300, h)).IsEmpty());
}
