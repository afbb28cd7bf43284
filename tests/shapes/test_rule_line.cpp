#include "cad/shapes/RuleLine.h"
#include "cad/shapes/ShapeDraw.h"
#include "shapes/FakeOwner.h"
#include "shapes/Surface.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace mycad;
using namespace mycad::test;

namespace {

constexpr double kPi = std::numbers::pi;

/// Whether a part of the surface holds no ink.
bool Blank(Surface& s, const TRect& area) { return s.InkBox(area).IsEmpty(); }

} // namespace

TEST(RuleLine, ShowsItsLengthWithTicksAndUprightTextInEveryDirectionOrAUserText)
{
    FakeOwner owner;
    owner.unit = TUnits::mm;
    Surface forward(300, 300);
    TMyRuleLine rule(&owner);
    rule.ThePoints = {{50, 150}, {250, 150}};
    rule.CenterPoint = rule.ComputeCenterPoint(4);
    rule.Draw(forward.Canvas());
    EXPECT_EQ(rule.Angle(), 0.0f);
    // Ticks 20 pixels across each end, the heads' wings inside them.
    for (const int32_t x : {50, 250}) {
        EXPECT_EQ(forward.At(x, 141), clBlack) << x;
        EXPECT_EQ(forward.At(x, 159), clBlack) << x;
        EXPECT_EQ(forward.At(x, 138), clWhite) << x;
    }
    // The text is centred above the line, 3 pixels clear of it.
    const TRect text = forward.InkBox({75, 100, 225, 147});
    EXPECT_NEAR((text.Left + text.Right) / 2.0, 150.0, 12.0); // the leading blanks shift it right
    EXPECT_GT(text.Left, 110);
    EXPECT_LE(text.Bottom, 147);
    EXPECT_TRUE(Blank(forward, {75, 151, 225, 300}));

    // Drawn the other way round the line points at pi, and its text is
    // turned a whole turn further: the picture is the same.
    Surface backward(300, 300);
    rule.ThePoints = {{250, 150}, {50, 150}};
    rule.Draw(backward.Canvas());
    EXPECT_FLOAT_EQ(rule.Angle(), float(kPi));
    EXPECT_EQ(backward.Snapshot(), forward.Snapshot());

    // Upright, the text runs down the line on its right-hand side.
    Surface down(300, 300);
    rule.ThePoints = {{150, 50}, {150, 250}};
    rule.CenterPoint = rule.ComputeCenterPoint(4);
    rule.Draw(down.Canvas());
    EXPECT_FLOAT_EQ(rule.Angle(), float(kPi / 2));
    const TRect along = down.InkBox({154, 75, 300, 225});
    EXPECT_GT(along.Height(), 2 * along.Width());
    EXPECT_TRUE(Blank(down, {0, 75, 146, 225}));
    EXPECT_EQ(down.At(141, 50), clBlack); // the tick across the top end

    // A user text in place of the length, and no ticks.
    rule.ThePoints = {{50, 100}, {250, 100}};
    rule.CenterPoint = rule.ComputeCenterPoint(4);
    rule.SetInfo(QStringLiteral("before"));
    rule.SetShowUserInfo(true);
    rule.SetTickStyle(TTickStyle::tsNone);
    Surface user(300, 200);
    rule.Draw(user.Canvas());
    EXPECT_EQ(rule.Info(), QStringLiteral("before"));
    EXPECT_TRUE(Blank(user, {75, 40, 225, 97})); // no text
    user.Expect({{50, 91, clWhite}, // no tick
                 {150, 100, clBlack}});
    rule.SetUserInfo(QStringLiteral("Gap"));
    rule.Draw(user.Canvas());
    EXPECT_FALSE(Blank(user, {75, 40, 225, 97}));
    EXPECT_EQ(rule.Info(), QStringLiteral("before"));
}

TEST(RuleLine, MovingAnEndRefreshesAngleAndLength)
{
    FakeOwner owner;
    owner.zoom = 2.0;
    TMyRuleLine rule(&owner);
    rule.ThePoints = {{0, 0}, {100, 0}};
    rule.SelectedHotId = 1;
    rule.SizeChangeValue({200, 0}, {200, 200}); // zoomed: the end moves to (100, 100)
    EXPECT_EQ(rule.ThePoints[1], (TMyPoint{100, 100}));
    EXPECT_FLOAT_EQ(rule.Angle(), float(kPi / 4));
    // The length of the document segment, whatever the zoom.
    EXPECT_EQ(rule.Info(), QStringLiteral("141 pixel(s)"));
    rule.SelectedHotId = 0;
    rule.SizeChangeValue({0, 0}, {200, 0});
    EXPECT_FLOAT_EQ(rule.Angle(), float(kPi / 2));
    EXPECT_EQ(rule.Info(), QStringLiteral("100 pixel(s)"));
}
