#include "canvas/test_paint_helpers.h"

#include <gtest/gtest.h>

#include <limits>

using namespace mycad;
using namespace mycad::test;

TEST(Zoom, ControlSizeFollowsPageOrientationAndZoom)
{
    ASSERT_EQ(TScreen::PixelsPerInch(), 96);
    TMyCAD cad;
    EXPECT_EQ(cad.PageStyle(), TPageStyle::A4);
    EXPECT_EQ(cad.Width(), 794);
    EXPECT_EQ(cad.Height(), 1123);

    cad.SetZoom(2.0);
    EXPECT_EQ(cad.Width(), 1587);
    EXPECT_EQ(cad.Height(), 2245);
    EXPECT_EQ(cad.PreZoom(), 1.0);
    EXPECT_FALSE(cad.Processing);
    // A new zoom changes every pixel: the whole control is repainted.
    EXPECT_FALSE(cad.InvalidRect().IsEmpty());

    cad.SetPageOrientation(TPageOrientation::poLandscape);
    EXPECT_EQ(cad.Width(), 2245);
    EXPECT_EQ(cad.Height(), 1587);
    EXPECT_EQ(cad.PageWidth(), 297u);
    EXPECT_EQ(cad.PageHeight(), 210u);
    EXPECT_EQ(cad.PageStyle(), TPageStyle::A4);

    cad.SetPageStyle(TPageStyle::A3);
    EXPECT_EQ(cad.Width(), 3175); // 2 x 420 mm
    EXPECT_EQ(cad.Height(), 2245);

    // The same zoom again does nothing at all.
    cad.Update();
    cad.SetZoom(2.0);
    EXPECT_EQ(cad.PreZoom(), 1.0);
    EXPECT_TRUE(cad.InvalidRect().IsEmpty());
    cad.SetZoom(0.5);
    EXPECT_EQ(cad.PreZoom(), 2.0);
    EXPECT_EQ(cad.Width(), 794);
    EXPECT_EQ(cad.Height(), 561);

    // Zooms by which no coordinate can be divided are refused.
    for (const double bad : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity()}) {
        cad.SetZoom(bad);
        EXPECT_EQ(cad.Zoom(), 0.5);
    }
}

TEST(Zoom, CustomPageSizesKeepTheControl)
{
    TMyCAD cad;
    cad.SetPageWidth(200);
    EXPECT_EQ(cad.PageStyle(), TPageStyle::CustomerPage);
    EXPECT_EQ(cad.PageWidth(), 200u);
    EXPECT_EQ(cad.Width(), 794);
    // A zoom sizes the control from the page whatever its style.
    cad.SetZoom(2.0);
    EXPECT_EQ(cad.Width(), 1512);
    EXPECT_EQ(cad.Height(), 2245);
    // Back to A4: the style returns and the width follows.
    cad.SetPageWidth(210);
    EXPECT_EQ(cad.PageStyle(), TPageStyle::A4);
    EXPECT_EQ(cad.Width(), 1587);
    cad.SetPageHeight(300);
    EXPECT_EQ(cad.PageStyle(), TPageStyle::CustomerPage);
    EXPECT_EQ(cad.Height(), 2245);
    // A custom style keeps the page size and the control's size.
    cad.SetPageStyle(TPageStyle::CustomerPage);
    EXPECT_EQ(cad.PageWidth(), 210u);
    EXPECT_EQ(cad.PageHeight(), 300u);
    EXPECT_EQ(cad.Width(), 1587);

    EXPECT_EQ(cad.GetPageStyleByWH(257, 364), TPageStyle::B4);
    EXPECT_EQ(cad.GetPageStyleByWH(364, 257), TPageStyle::CustomerPage);
    cad.SetPageOrientation(TPageOrientation::poLandscape);
    EXPECT_EQ(cad.GetPageStyleByWH(364, 257), TPageStyle::B4);
    EXPECT_EQ(cad.GetPageStyleByWH(257, 364), TPageStyle::CustomerPage);
}

TEST(Zoom, SizingTheControlSetsThePage)
{
    TMyCAD cad;
    // An A5 page at zoom 1 is 559 x 794 pixels.
    cad.SetBounds(0, 0, 559, 794);
    EXPECT_EQ(cad.PageWidth(), 148u);
    EXPECT_EQ(cad.PageHeight(), 210u);
    EXPECT_EQ(cad.PageStyle(), TPageStyle::A5);
    // Any other size is a custom page, and the control keeps that size.
    cad.SetBounds(0, 0, 500, 300);
    EXPECT_EQ(cad.PageStyle(), TPageStyle::CustomerPage);
    EXPECT_EQ(cad.PageWidth(), 132u);
    EXPECT_EQ(cad.PageHeight(), 79u);
    EXPECT_EQ(cad.Width(), 500);
    EXPECT_EQ(cad.Height(), 300);
    // At zoom 2 the same pixels are half the millimetres.
    cad.SetZoom(2.0);
    cad.SetBounds(0, 0, 500, 300);
    EXPECT_EQ(cad.PageWidth(), 66u);
    EXPECT_EQ(cad.PageHeight(), 40u);
    // While the canvas sizes itself it does not listen to its own resize.
    cad.Processing = true;
    cad.SetBounds(0, 0, 800, 800);
    cad.Processing = false;
    EXPECT_EQ(cad.PageWidth(), 66u);
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

    // A label the host frees is forgotten; an insertion changes nothing.
    cad.Notification(&value, TOperation::opInsert);
    EXPECT_EQ(cad.LabelValue(), &value);
    cad.Notification(&xy, TOperation::opRemove);
    EXPECT_EQ(cad.LabelXY(), nullptr);
    EXPECT_EQ(cad.LabelValue(), &value);
    cad.UpdateLabelXY(1, 1);
    EXPECT_EQ(xy.Caption(), QStringLiteral("(-3,-100)"));
    cad.Notification(&value, TOperation::opRemove);
    EXPECT_EQ(cad.LabelValue(), nullptr);
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
    cad.ShowHintEnterLeaveShape(nullptr, true, {50, 50});
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
