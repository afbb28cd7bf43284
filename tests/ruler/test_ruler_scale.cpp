// The ruler's arithmetic: label spacing by unit and scale, label texts,
// offsets carried across units, pixel positions back to values, and turning.
#include "ruler/Ruler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

using namespace mycad;

namespace {

constexpr double kMillimetre = 96 / 25.4; // pixels at 96 pixels per inch
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

TEST(RulerScale, AdvanceByUnitAndScale)
{
    ASSERT_EQ(TScreen::PixelsPerInch(), 96);
    TRsRuler r;
    EXPECT_EQ(r.VersionInfo(), QStringLiteral("rule component "));
    EXPECT_EQ(r.Advance(), 1.0) << "computed by the first paint";
    r.CalcAdvance();
    EXPECT_NEAR(r.Advance(), 3.7795, 1e-4) << "one millimetre";
    for (const auto& [unit, advance] :
         {std::pair{TRulerUnit::ruPixel, 5.0}, {TRulerUnit::ruInch, 9.6}, {TRulerUnit::ruNone, kMillimetre}}) {
        r.SetUnit(unit);
        r.CalcAdvance();
        EXPECT_DOUBLE_EQ(r.Advance(), advance) << int(unit);
    }

    // The step factor at both ends of each band of scales.
    const struct {
        int32_t from, to;
        double factor;
    } bands[] = {{1, 1, 100},  {2, 2, 50},      {3, 5, 25},      {6, 8, 20},       {9, 12, 10},
                 {13, 25, 5},  {26, 35, 4},     {36, 50, 2},     {51, 125, 1},     {126, 300, 0.5},
                 {301, 400, 0.25}, {401, 500, 0.2}, {501, 1000, 0.1}, {1001, INT32_MAX, 0.1}};
    r.SetUnit(TRulerUnit::ruCenti);
    for (const auto& b : bands) {
        for (int32_t s : {b.from, b.to}) {
            r.SetScale(s);
            r.CalcAdvance();
            EXPECT_EQ(r.ScaleFactor(), b.factor) << "scale " << s;
            EXPECT_DOUBLE_EQ(r.Advance(), kMillimetre * s / 100 * b.factor) << "scale " << s;
        }
    }
    // Beyond 1000 % the finest step holds whatever scale came before.
    r.SetScale(1);
    r.CalcAdvance();
    r.SetScale(5000);
    r.CalcAdvance();
    EXPECT_EQ(r.ScaleFactor(), 0.1);

    // Scales below 1 % are refused.
    for (int32_t bad : {0, -100, INT32_MIN}) {
        r.SetScale(bad);
        EXPECT_EQ(r.Scale(), 5000);
    }
}

TEST(RulerScale, LabelTexts)
{
    TRsRuler r;
    auto labels = [&](int n) {
        r.CalcAdvance();
        QStringList out;
        for (int k = 1; k <= n; ++k) out << r.LabelText(10 * k); // ten advances apart
        return out.join(QLatin1Char(' '));
    };
    EXPECT_EQ(labels(3), QStringLiteral("1 2 3"));
    r.SetScale(200);
    EXPECT_EQ(labels(3), QStringLiteral("0.5 1 1.5"));
    r.SetScale(600);
    EXPECT_EQ(labels(3), QStringLiteral("0.1 0.2 0.3")) << "no binary noise";
    r.SetScale(100);
    const struct {
        TRulerUnit unit;
        const char* text;
    } units[] = {{TRulerUnit::ruPixel, "50 100 150"}, {TRulerUnit::ruMilli, "10 20 30"},
                 {TRulerUnit::ruMeter, "0.01 0.02 0.03"}, {TRulerUnit::ruKilo, "0 0 0"},
                 {TRulerUnit::ruInch, "1 2 3"}, {TRulerUnit::ruNone, "1 2 3"}};
    for (const auto& u : units) {
        r.SetUnit(u.unit);
        EXPECT_EQ(labels(3), QString::fromLatin1(u.text)) << int(u.unit);
    }

    // Offsets move every label; ShowMinus decides the sign.
    r.SetUnit(TRulerUnit::ruCenti);
    r.SetOffset(-3);
    EXPECT_EQ(labels(5), QStringLiteral("-2 -1 0 1 2"));
    r.SetShowMinus(false);
    EXPECT_EQ(labels(5), QStringLiteral("2 1 0 1 2"));
    r.SetShowMinus(true);
    r.SetOffset(-1.004);
    EXPECT_EQ(r.LabelText(10), QStringLiteral("0")) << "never \"-0\"";

    // Inches go to hundredths and pixels to whole pixels, ties to even,
    // before the text rounds its decimals half up.
    r.SetOffset(0.125);
    EXPECT_EQ(r.LabelText(10), QStringLiteral("1.13"));
    r.SetUnit(TRulerUnit::ruInch);
    r.SetOffset(0.125);
    EXPECT_EQ(r.LabelText(10), QStringLiteral("1.12"));
    r.SetUnit(TRulerUnit::ruPixel);
    r.SetOffset(0.5);
    EXPECT_EQ(labels(2), QStringLiteral("50 100"));
    r.SetOffset(1.5);
    EXPECT_EQ(labels(2), QStringLiteral("52 102"));

    // Offsets no number can show still give a text.
    r.SetOffset(kNaN);
    EXPECT_EQ(r.LabelText(10), QStringLiteral("NAN"));
    r.SetOffset(-std::numeric_limits<double>::infinity());
    EXPECT_EQ(r.LabelText(10), QStringLiteral("-INF"));
    r.SetOffset(1e300);
    EXPECT_EQ(r.LabelText(10).size(), 301);
}

TEST(RulerScale, OffsetFollowsTheUnit)
{
    TRsRuler r;
    r.SetOffset(10);
    EXPECT_NEAR(r.ConvertOffset(TRulerUnit::ruKilo), 1e-4, 1e-15);
    EXPECT_DOUBLE_EQ(r.ConvertOffset(TRulerUnit::ruMeter), 0.1);
    EXPECT_DOUBLE_EQ(r.ConvertOffset(TRulerUnit::ruNone), 100) << "counted like millimetres";
    EXPECT_EQ(r.Offset(), 10) << "only asked";

    r.SetUnit(TRulerUnit::ruMilli);
    EXPECT_DOUBLE_EQ(r.Offset(), 100);
    r.SetUnit(TRulerUnit::ruMilli);
    EXPECT_DOUBLE_EQ(r.Offset(), 100) << "the same unit again";
    r.SetUnit(TRulerUnit::ruInch);
    EXPECT_NEAR(r.Offset(), 3.937, 1e-3);
    r.SetUnit(TRulerUnit::ruPixel);
    EXPECT_NEAR(r.Offset(), 100 * kMillimetre, 1e-9);
    r.SetUnit(TRulerUnit::ruCenti);
    EXPECT_NEAR(r.Offset(), 10, 1e-12) << "and back";
}

TEST(RulerScale, PixelPositionToValue)
{
    TRsRuler r;
    const struct {
        TRulerUnit unit;
        double value;
    } at96[] = {{TRulerUnit::ruInch, 1},       {TRulerUnit::ruCenti, 2.54}, {TRulerUnit::ruMilli, 25.4},
                {TRulerUnit::ruMeter, 0.0254}, {TRulerUnit::ruKilo, 2.54e-5}};
    for (const auto& c : at96) {
        r.SetUnit(c.unit);
        r.SetOffset(0);
        EXPECT_NEAR(r.Pos2Unit(96), c.value, c.value * 1e-12) << int(c.unit);
        r.SetOffset(5);
        EXPECT_NEAR(r.Pos2Unit(96), 5 + c.value, 1e-12) << int(c.unit);
    }
    r.SetUnit(TRulerUnit::ruCenti);
    r.SetOffset(0);
    r.SetScale(200);
    EXPECT_NEAR(r.Pos2Unit(96), 1.27, 1e-12) << "twice the zoom";
    r.SetScale(100);

    // Reversed: counted from the far end, along the height of a vertical ruler.
    r.SetScaleDir(TRulerScaleDir::rsdReverse);
    EXPECT_NEAR(r.Pos2Unit(104), 2.54, 1e-12);
    r.SetDirection(TRulerDir::rdLeft);
    r.SetHeight(300);
    EXPECT_NEAR(r.Pos2Unit(204), 2.54, 1e-12);
    r.SetScaleDir(TRulerScaleDir::rsdNormal);

    // Pixels are whole: the whole parts of the offset and of the distance.
    r.SetUnit(TRulerUnit::ruPixel);
    r.SetOffset(10.7);
    EXPECT_EQ(r.Pos2Unit(96), 106);
    r.SetScale(300);
    EXPECT_EQ(r.Pos2Unit(100), 10 + 33);
    r.SetOffset(-10.7);
    EXPECT_EQ(r.Pos2Unit(-100), -10 - 33);
    r.SetOffset(1e300);
    EXPECT_EQ(r.Pos2Unit(5), 1e300) << "beyond any integer";
    r.SetOffset(kNaN);
    EXPECT_TRUE(std::isnan(r.Pos2Unit(5)));

    r.SetUnit(TRulerUnit::ruNone);
    r.SetOffset(7.5);
    EXPECT_EQ(r.Pos2Unit(96), 7.5) << "no unit: the offset alone";
}

TEST(RulerScale, TurningAndReversing)
{
    TRsRuler r;
    r.SetDirection(TRulerDir::rdLeft);
    EXPECT_EQ(Rect(0, 0, r.Width(), r.Height()), Rect(0, 0, 33, 200));
    EXPECT_EQ(r.ScaleLength(), 200);
    r.SetDirection(TRulerDir::rdRight);
    EXPECT_EQ(r.Width(), 33) << "still vertical";
    r.SetDirection(TRulerDir::rdBottom);
    EXPECT_EQ(Rect(0, 0, r.Width(), r.Height()), Rect(0, 0, 200, 33));
    // Settings being restored keep the size they come with.
    r.SetIsLoading(true);
    r.SetDirection(TRulerDir::rdLeft);
    EXPECT_EQ(Rect(0, 0, r.Width(), r.Height()), Rect(0, 0, 200, 33));
    EXPECT_EQ(r.ScaleLength(), 33);
    r.SetDirection(TRulerDir::rdTop);
    r.SetIsLoading(false);

    EXPECT_EQ(r.ScalePos(37.795), 37);
    r.SetScaleDir(TRulerScaleDir::rsdReverse);
    EXPECT_EQ(r.ScalePos(37.795), 163);
    EXPECT_EQ(r.ScalePos(0), 200) << "the scale starts beyond the last pixel";
    EXPECT_EQ(r.ScalePos(1e30), 200 - INT32_MAX) << "no overflow";
    EXPECT_EQ(r.ScalePos(kNaN), 200);
}
