#include "cad/shapes/Rectangle.h"
#include "cad/shapes/ShapeDraw.h"
#include "shapes/FakeOwner.h"
#include "shapes/Surface.h"
#include "support/ShapeGestures.h"

#include <gtest/gtest.h>

#include <numbers>
#include <tuple>

using namespace mycad;
using namespace mycad::test;

constexpr double kPi = std::numbers::pi;

TEST(Rectangle, WhichHandleIsHit)
{
    FakeOwner owner;
    TMyRectangle r(&owner);
    DrawWithMouse(r, {10, 10}, {50, 30});
    ExpectHandles(r, {{{10, 10}, 0}, {{53, 33}, 2}, {{54, 30}, -1}, {{30, 10}, 4}});
    EXPECT_EQ(r.SelectedHotId, 4);
    ExpectHandles(r, {{{10, 20}, 7}, {{30, 20}, -1}});
    EXPECT_EQ(r.SelectedHotId, -1);

    r.SetShowVerticalSideHot(false);
    ExpectHandles(r, {{{30, 10}, -1}, {{50, 20}, 5}});
    r.SetShowVerticalSideHot(true);
    r.SetShowHorizontalSideHot(false);
    ExpectHandles(r, {{{50, 20}, -1}, {{30, 30}, 6}});
    r.SetShowHorizontalSideHot(true);
    r.SetShowSideHot(false);
    ExpectHandles(r, {{{30, 10}, -1}, {{50, 10}, 1}});
    r.SetShowSideHot(true);
    owner.actionTool = TActionTools::dtRotateSelecting; // no side handles while rotating
    EXPECT_EQ(r.InWhichHot({30, 10}), -1);
    owner.actionTool = TActionTools::dtSelecting;

    // Handles that overlap: the highest number wins.
    TMyRectangle tiny(&owner);
    DrawWithMouse(tiny, {100, 100}, {104, 102});
    EXPECT_EQ(tiny.InWhichHot({102, 101}), 7);
    tiny.SetShowSideHot(false);
    EXPECT_EQ(tiny.InWhichHot({102, 101}), 3);

    using enum TCursor;
    for (const auto& [x, y, cursor] : {std::tuple{30, 20, crCross}, {30, 10, crSizeNS}, {30, 30, crSizeNS},
                                       {50, 20, crSizeWE}, {10, 10, crSizeNWSE}, {50, 30, crSizeNWSE},
                                       {50, 10, crSizeNESW}, {10, 30, crSizeNESW}})
        EXPECT_EQ(r.GetMouseCursor(x, y), cursor) << x << "," << y;
}

TEST(Rectangle, AreaAndSizeTexts)
{
    FakeOwner owner;
    TMyRectangle r(&owner);
    DrawWithMouse(r, {0, 0}, {100, 50});
    const struct {
        TUnits unit;
        double ratio;
        const char* text;
    } areas[] = {
        {TUnits::pixel, 1.0, "Area=  5000.00pixel(s)2"},
        {TUnits::inch, 2.0, "Area=     2.17inch2"}, // 4 * 5000 / 9216
        {TUnits::mm, 1.0, "Area=   350.02mm2"},
        {TUnits::cm, 1.0, "Area=     3.50cm2"},
        {TUnits::m, 1.0, "Area=     0.00m2"},
    };
    for (const auto& a : areas) {
        owner.unit = a.unit;
        owner.ratio = a.ratio;
        EXPECT_EQ(r.GetInfo(), QString::fromLatin1(a.text));
    }
    EXPECT_EQ(r.Info(), QStringLiteral("Area=     0.00m2"));
    // The area is that of the unrotated box, at any zoom.
    r.RotateChangeValueByAngle(r.GetCenterPoint(), 0.4);
    owner.zoom = 3.0;
    owner.unit = TUnits::pixel;
    EXPECT_EQ(r.GetInfo(), QStringLiteral("Area=  5000.00pixel(s)2"));

    owner.zoom = 1.0;
    owner.unit = TUnits::mm;
    EXPECT_EQ(r.GetLengthByUnit({0, 0}, {96, 48}), QStringLiteral("m=25.40 mm\rn=12.70mm"));
    owner.unit = TUnits::pixel;
    EXPECT_EQ(r.GetLengthByUnit({10, 10}, {-20, 50}), QStringLiteral("m=30.00 pixel(s)\rn=40.00pixel(s)"));
    owner.zoom = 2.0;
    owner.unit = TUnits::inch;
    EXPECT_EQ(r.GetLengthByUnit({0, 0}, {192, 96}), QStringLiteral("m=1.00 in\rn=0.50in"));
}

TEST(Rectangle, PaintsBorderAndAGradientThatTurnsWithIt)
{
    FakeOwner owner;
    Surface surface;
    TMyRectangle r(&owner);
    DrawWithMouse(r, {20, 20}, {120, 80});
    r.SetCaptionShow(false);
    r.Pen().SetColor(clRed);
    // A vertical ramp under a clear brush shows through, inside the outline only.
    r.Brush().SetStyle(TBrushStyle::bsClear);
    r.SetColorBegin(clBlack);
    r.SetColorEnd(clWhite);
    r.SetGradientStyle(TGradientStyle::gsLinearH);
    r.Draw(surface.Canvas());
    const TColor top = surface.At(70, 23);
    const TColor bottom = surface.At(70, 77);
    EXPECT_LT(GetRValue(top), 40);
    EXPECT_GT(GetRValue(bottom), 215);
    EXPECT_LT(GetRValue(surface.At(70, 50)), GetRValue(bottom));
    EXPECT_GT(GetRValue(surface.At(70, 50)), GetRValue(top));
    surface.Expect({{70, 10, clWhite}, {10, 50, clWhite}, {130, 50, clWhite}, {20, 50, clRed}, {70, 20, clRed},
                    {120, 50, clRed}, {70, 80, clRed}});

    // The pattern turns with the shape: after a quarter turn it runs across.
    r.RotateChangeValueByAngle(r.GetCenterPoint(), kPi / 2);
    surface.Redraw(r);
    const TColor right = surface.At(98, 50);
    const TColor left = surface.At(42, 50);
    EXPECT_NE(GetRValue(right), GetRValue(left));
    EXPECT_NEAR(GetRValue(surface.At(70, 30)), GetRValue(surface.At(70, 70)), 12);
    EXPECT_EQ(surface.At(30, 50), clWhite); // outside the turned outline
}
