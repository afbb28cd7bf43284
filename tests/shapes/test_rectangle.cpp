#include "cad/shapes/Rectangle.h"
#include "cad/shapes/ShapeDraw.h"
#include "shapes/FakeOwner.h"
#include "shapes/Surface.h"
#include "support/ShapeGestures.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace mycad;
using mycad::test::FakeOwner;
using mycad::test::ExpectHandles;
using mycad::test::ExpectHits;
using mycad::test::Surface;
using mycad::test::DrawWithMouse;
using mycad::test::ExpectNear;

namespace {

constexpr double kPi = std::numbers::pi;

// Grabs handle h and drops it on the zoomed target, as the canvas does.
void DragHandle(TMyRectangle& r, int32_t h, TMyPoint target)
{
    r.SelectedHotId = h;
    r.SizeChangeValue(r.GetPointInZoom(h), target);
}

} // namespace

TEST(Rectangle, DrawnCornersAndHandles)
{
    FakeOwner owner;
    TMyRectangle r(&owner);
    r.AddPointByMouse({10, 10});
    EXPECT_FALSE(r.IsDrawingFinished(TMouseButton::mbLeft, {10, 10}));
    r.AddPointByMouse({10, 40}); // same column: ignored
    EXPECT_EQ(r.GetPointsCount(), 1);
    r.AddPointByMouse({60, 10}); // same row: ignored
    EXPECT_FALSE(r.IsDrawingFinished(TMouseButton::mbLeft, {}));
    r.AddPointByMouse({50, 30});
    EXPECT_TRUE(r.IsDrawingFinished(TMouseButton::mbLeft, {}));
    r.AddPointByMouse({90, 90}); // a finished rectangle takes no more points
    ASSERT_EQ(r.GetPointsCount(), 4);
    EXPECT_EQ(r.ThePoints, (TArrMyPoint{{10, 10}, {50, 10}, {50, 30}, {10, 30}}));
    // The side handles (4 to 7) are the middles of the sides; the mouse
    // tests press on each of them.
    EXPECT_EQ(r.GetPoint(4), (TMyPoint{30, 10}));
    EXPECT_EQ(r.GetPoint(8), (TMyPoint{}));
    EXPECT_EQ(r.GetCenterPoint(), (TMyPoint{30, 20}));
    r.CenterPoint = {0, 0}; // the rectangle's centre is always recomputed
    EXPECT_EQ(r.GetCenterPoint(), (TMyPoint{30, 20}));

    // Drawn the other way round: p0 is the press point, handle 4 the bottom edge.
    TMyRectangle back(&owner);
    DrawWithMouse(back, {50, 30}, {10, 10});
    EXPECT_EQ(back.ThePoints, (TArrMyPoint{{50, 30}, {10, 30}, {10, 10}, {50, 10}}));
    EXPECT_EQ(back.GetPoint(4), (TMyPoint{30, 30}));
    EXPECT_EQ(back.TextOutPoint, (TMyPoint{30, 40}));

    // At a zoom that does not divide evenly the corners still share rows and columns.
    owner.zoom = 3.0;
    TMyRectangle z(&owner);
    DrawWithMouse(z, {100, 100}, {200, 170});
    ASSERT_EQ(z.GetPointsCount(), 4);
    EXPECT_EQ(z.ThePoints[1].Y, z.ThePoints[0].Y);
    EXPECT_EQ(z.ThePoints[3].X, z.ThePoints[0].X);
    EXPECT_EQ(z.ThePoints[2].X, z.ThePoints[1].X);
    TMyRectangle same(&owner);
    same.AddPointByMouse({100, 100});
    same.AddPointByMouse({100, 170}); // the same device column after the zoom
    EXPECT_EQ(same.GetPointsCount(), 1);

    // A turned rectangle's handles turn with it.
    owner.zoom = 1.0;
    r.RotateChangeValueByAngle(r.GetCenterPoint(), kPi / 2);
    ExpectNear(r.GetPoint(4), 40, 20);
    ExpectNear(r.GetPoint(5), 30, 40);
    ExpectNear(r.GetPoint(0), 40, 0);
}

TEST(Rectangle, SizingByCornersAndEdges)
{
    FakeOwner owner;
    // Each handle pulled on the canvas is the mouse tests' table; here the
    // centre follows, and targets are divided by the zoom.
    TMyRectangle r(&owner);
    DrawWithMouse(r, {10, 10}, {50, 30});
    DragHandle(r, 2, {70, 60});
    EXPECT_EQ(r.CenterPoint, (TMyPoint{40, 35}));

    owner.zoom = 2.0;
    TMyRectangle zoomed(&owner);
    DrawWithMouse(zoomed, {20, 20}, {100, 60});
    DragHandle(zoomed, 2, {140, 120});
    EXPECT_EQ(zoomed.ThePoints[2], (TMyPoint{70, 60}));
    owner.zoom = 1.0;

    // A turned rectangle sizes in its own frame: the corner follows the
    // mouse, the opposite corner stays, and it keeps its angle.
    TMyRectangle turned(&owner);
    DrawWithMouse(turned, {0, 0}, {40, 20});
    turned.RotateChangeValueByAngle(turned.GetCenterPoint(), kPi / 6);
    const TMyPoint opposite = turned.ThePoints[0];
    const TMyPoint c = turned.GetCenterPoint();
    const TMyPoint target = RotateAPoint({60, 30}, c, static_cast<float>(kPi / 6));
    turned.SelectedHotId = 2;
    turned.SizeChangeValue({}, target);
    ExpectNear(turned.ThePoints[2], target.X, target.Y);
    ExpectNear(turned.ThePoints[0], opposite.X, opposite.Y);
    EXPECT_NEAR(turned.Angle(), kPi / 6, 1e-6);
    EXPECT_NEAR(turned.GetMyWidth(), 60, 1e-3);
    EXPECT_NEAR(turned.GetMyHeight(), 30, 1e-3);

    // Scaling a turned rectangle in its own frame keeps it a rectangle.
    const TMyPoint o = RotateAPoint(turned.ThePoints[0], turned.CenterPoint, -turned.Angle());
    turned.SizeChangeValueByScale(0.5, 2.0, o, turned.CenterPoint, {});
    EXPECT_NEAR(turned.GetMyWidth(), 30, 1e-3);
    EXPECT_NEAR(turned.GetMyHeight(), 60, 1e-3);
    EXPECT_NEAR(turned.Angle(), kPi / 6, 1e-6);
    ExpectNear(turned.ThePoints[0], opposite.X, opposite.Y, 1e-3);
}

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

    // Cursors.
    EXPECT_EQ(r.GetMouseCursor(30, 20), TCursor::crCross);
    EXPECT_EQ(r.GetMouseCursor(30, 10), TCursor::crSizeNS);
    EXPECT_EQ(r.GetMouseCursor(30, 30), TCursor::crSizeNS);
    EXPECT_EQ(r.GetMouseCursor(50, 20), TCursor::crSizeWE);
    EXPECT_EQ(r.GetMouseCursor(10, 10), TCursor::crSizeNWSE);
    EXPECT_EQ(r.GetMouseCursor(50, 30), TCursor::crSizeNWSE);
    EXPECT_EQ(r.GetMouseCursor(50, 10), TCursor::crSizeNESW);
    EXPECT_EQ(r.GetMouseCursor(10, 30), TCursor::crSizeNESW);
}

TEST(Rectangle, ClickInsideTheOutline)
{
    FakeOwner owner;
    Surface surface;
    TMyRectangle r(&owner);
    DrawWithMouse(r, {20, 20}, {100, 60});
    r.Brush().SetStyle(TBrushStyle::bsClear);
    ExpectHits(r, surface.Canvas(), {{{60, 40}, true}, {{21, 21}, true}, {{10, 40}, false}, {{60, 70}, false}});
    // Turned by a quarter: the old corner region is outside, the new one inside.
    r.RotateChangeValueByAngle(r.GetCenterPoint(), kPi / 2);
    ExpectHits(r, surface.Canvas(), {{{25, 40}, false}, {{60, 75}, true}});
    owner.zoom = 2.0;
    EXPECT_TRUE(r.IsClickedMe(surface.Canvas(), {120, 150}));
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

TEST(Rectangle, PaintsBorderFillAndGradient)
{
    FakeOwner owner;
    Surface surface;
    TMyRectangle r(&owner);
    DrawWithMouse(r, {20, 20}, {120, 80});
    r.SetCaptionShow(false);
    r.Pen().SetColor(clRed);
    r.Brush().SetColor(clBlue);
    r.Draw(surface.Canvas());
    surface.Expect({{20, 50, clRed}, {70, 20, clRed}, {120, 50, clRed}, {70, 80, clRed}, {70, 50, clBlue},
                    {22, 22, clBlue}, {18, 50, clWhite}, {70, 83, clWhite}});

    // A vertical ramp under a clear brush shows through, inside the outline only.
    surface.Clear();
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
    surface.Expect({{70, 10, clWhite}, {10, 50, clWhite}, {130, 50, clWhite}, {20, 50, clRed}});

    // A solid white brush covers the pattern.
    surface.Clear();
    r.Brush().SetStyle(TBrushStyle::bsSolid);
    r.Brush().SetColor(clWhite);
    r.Draw(surface.Canvas());
    surface.Expect({{70, 23, clWhite}, {70, 50, clWhite}});
    EXPECT_EQ(surface.Count(clRed) + surface.Count(clWhite), 200 * 200);

    // The pattern turns with the shape: after a quarter turn it runs across.
    surface.Clear();
    r.Brush().SetStyle(TBrushStyle::bsClear);
    r.RotateChangeValueByAngle(r.GetCenterPoint(), kPi / 2);
    r.Draw(surface.Canvas());
    const TColor right = surface.At(98, 50);
    const TColor left = surface.At(42, 50);
    EXPECT_NE(GetRValue(right), GetRValue(left));
    EXPECT_NEAR(GetRValue(surface.At(70, 30)), GetRValue(surface.At(70, 70)), 12);
    EXPECT_EQ(surface.At(30, 50), clWhite); // outside the turned outline

    // Back to no gradient: the brush alone.
    surface.Clear();
    r.SetGradientStyle(TGradientStyle::gsNone);
    r.Draw(surface.Canvas());
    EXPECT_EQ(surface.At(70, 50), clWhite);
}

TEST(Rectangle, HandlesOnTheSurface)
{
    FakeOwner owner;
    Surface surface;
    TMyRectangle r(&owner);
    DrawWithMouse(r, {40, 40}, {140, 100});
    r.DrawHot(surface.Canvas());
    for (int32_t h = 0; h < 8; ++h) {
        const TPoint p = MyPtToPt(r.GetPointInZoom(h));
        EXPECT_EQ(surface.At(p.X, p.Y), clLime) << h;
        EXPECT_EQ(surface.At(p.X - 4, p.Y), clBlack) << h;
        EXPECT_EQ(surface.At(p.X - 5, p.Y), clWhite) << h;
    }
    EXPECT_EQ(surface.Count(clLime), 8 * 36);

    surface.Clear();
    r.SetShowSideHot(false);
    r.SetLocked(true);
    r.DrawHot(surface.Canvas());
    EXPECT_EQ(surface.Count(TColor(0x808080)), 4 * 36);
    EXPECT_EQ(surface.Count(clLime), 0);
}

TEST(Rectangle, ARefusedSizingTargetDrawsNoRubberBand)
{
    FakeOwner owner;
    Surface surface;
    TMyRectangle r(&owner);
    DrawWithMouse(r, {40, 40}, {140, 100});
    TCanvas& c = surface.Canvas();
    SetDragResizeRotateShapeMode(c);
    r.SelectedHotId = 2;
    EXPECT_GT(surface.DrawnAndErased([&] { r.Sizing(c, {140, 100}, {170, 130}); }), 50);
    EXPECT_EQ(surface.DrawnAndErased([&] { r.Sizing(c, {140, 100}, {20, 130}); }), 0);
}
