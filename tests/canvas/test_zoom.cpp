#include "canvas/test_paint_helpers.h"

#include <gtest/gtest.h>

#include <limits>

using namespace mycad;
using namespace mycad::test;

TEST(Zoom, ControlSizeFollowsPageOrientationAndZoom)
{
    ASSERT_EQ(TScreen::PixelsPerInch(), 96);
    TMyCAD cad;
    EXPECT_EQ(cad.Width(), 794);
    EXPECT_EQ(cad.Height(), 1123);

    // A custom page keeps the control until a zoom sizes it from the page.
    cad.SetPageWidth(200);
    EXPECT_EQ(cad.PageStyle(), TPageStyle::CustomerPage);
    EXPECT_EQ(cad.Width(), 794);
    cad.SetZoom(2.0);
    EXPECT_EQ(cad.Width(), 1512);
    EXPECT_EQ(cad.Height(), 2245);
    EXPECT_EQ(cad.PreZoom(), 1.0);
    EXPECT_FALSE(cad.Processing);
    // A new zoom changes every pixel: the whole control is repainted.
    EXPECT_FALSE(cad.InvalidRect().IsEmpty());
    // A4's millimetres make it A4 again, sized at once.
    cad.SetPageWidth(210);
    EXPECT_EQ(cad.Width(), 1587);

    cad.SetPageOrientation(TPageOrientation::poLandscape);
    EXPECT_EQ(cad.Width(), 2245);
    EXPECT_EQ(cad.Height(), 1587);
    EXPECT_EQ(cad.PageWidth(), 297u);
    EXPECT_EQ(cad.PageStyle(), TPageStyle::A4);
    EXPECT_EQ(cad.GetPageStyleByWH(364, 257), TPageStyle::B4);

    // The same zoom again does nothing at all.
    cad.Update();
    cad.SetZoom(2.0);
    EXPECT_TRUE(cad.InvalidRect().IsEmpty());
    cad.SetZoom(0.5);
    EXPECT_EQ(cad.PreZoom(), 2.0);
    EXPECT_EQ(cad.Height(), 397);

    // Zooms by which no coordinate can be divided are refused.
    for (const double bad : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity()}) {
        cad.SetZoom(bad);
        EXPECT_EQ(cad.Zoom(), 0.5);
    }
}

TEST(Zoom, PointsInTheHostsCoordinateSystem)
{
    TMyCAD cad;
    cad.SetBounds(0, 0, 300, 500);
    TLabel xy;
    TLabel value;
    cad.UpdateLabelXY(10, 20); // no label yet: nothing happens
    cad.SetLabelXY(&xy);
    cad.SetLabelValue(&value);

    const std::pair<TXYMode, TPoint> cases[] = {
        {TXYMode::Mode0, {10, 20}},
        {TXYMode::Mode1, {10, 480}},
        {TXYMode::Mode2, {290, 480}},
        {TXYMode::Mode3, {290, 20}},
    };
    for (const auto& [mode, expected] : cases) {
        cad.SetXYMode(mode);
        EXPECT_EQ(cad.GetPointByMode({10, 20}), expected);
        const TMyPoint f = cad.GetMyPointByMode({10.5f, 20.25f});
        EXPECT_FLOAT_EQ(f.X, expected.X == 10 ? 10.5f : 289.5f);
        EXPECT_FLOAT_EQ(f.Y, expected.Y == 20 ? 20.25f : 479.75f);
    }
    cad.SetXYMode(TXYMode::Mode1);
    cad.UpdateLabelXY(10, 20);
    EXPECT_EQ(xy.Caption(), QStringLiteral("(10,480)"));
    cad.UpdateLabelXY(-3, 600);
    EXPECT_EQ(xy.Caption(), QStringLiteral("(-3,-100)"));
    cad.UpdateLabelValue(QStringLiteral("Area=12"));
    EXPECT_EQ(value.Caption(), QStringLiteral("Area=12"));

    // A label the host frees is forgotten, and only that one.
    cad.Notification(&xy, TOperation::opRemove);
    EXPECT_EQ(cad.LabelXY(), nullptr);
    EXPECT_EQ(cad.LabelValue(), &value);
    cad.UpdateLabelXY(1, 1);
    EXPECT_EQ(xy.Caption(), QStringLiteral("(-3,-100)"));
}

TEST(Zoom, EnterLeaveEventsAndTheCaptionHint)
{
    TMyCAD cad;
    TMyShape* a = AddBox(cad, 0, 0, 10, 10, clWhite);
    TMyShape* b = AddBox(cad, 20, 0, 30, 10, clWhite);
    a->SetCaption(QStringLiteral("first"));
    b->SetCaption(QStringLiteral("second"));
    std::vector<std::pair<char, TMyShape*>> events;
    cad.OnMouseEnterShape = [&](TMyShape* s) { events.push_back({'E', s}); };
    cad.OnMouseLeaveShape = [&](TMyShape* s) { events.push_back({'L', s}); };

    cad.ShowHintEnterLeaveShape(a, true, {5, 5});
    cad.ShowHintEnterLeaveShape(a, true, {6, 5}); // still over a: nothing
    cad.ShowHintEnterLeaveShape(b, true, {25, 5});
    cad.ShowHintEnterLeaveShape(nullptr, false, {50, 50});
    cad.ShowHintEnterLeaveShape(a, false, {5, 5}); // not entering: no enter event
    cad.ShowHintEnterLeaveShape(nullptr, true, {50, 50});
    const std::vector<std::pair<char, TMyShape*>> expected{{'E', a}, {'E', b}, {'L', a}, {'L', b}, {'L', a}};
    EXPECT_EQ(events, expected);
    // Hints only while the control shows them.
    EXPECT_TRUE(cad.Hint().isEmpty());
    cad.SetShowHint(true);
    cad.ShowHintEnterLeaveShape(b, true, {25, 5});
    EXPECT_EQ(cad.Hint(), QStringLiteral("second"));
}

TEST(Zoom, DebugValuesAreWrittenOnTheControl)
{
    TMyCAD cad;
    PlainCanvas(cad, 200, 100);
    cad.Repaint();
    cad.DebugVar(10, 10, 42);
    cad.DebugVarf(10, 50, 2.5);
    ExpectSurface(cad, {{10, 10, clGray}, {10, 50, clGray}, {9, 10, clWhite}, {150, 10, clWhite}});
}
