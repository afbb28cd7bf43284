#include "cad/shapes/ShapeDraw.h"
#include "cad/shapes/TextOut.h"
#include "shapes/FakeOwner.h"
#include "shapes/Surface.h"

#include <gtest/gtest.h>

using namespace mycad;
using namespace mycad::test;

// What the pixel tests cannot see: drawing on a black-and-white printer's
// canvas, and pens that grow with the zoom there only.
TEST(ShapeDraw, PrinterCanvasGreysAndWidens)
{
    FakeOwner owner;
    Surface surface;
    TCanvas& c = surface.Canvas();
    TMyShape s(&owner);
    s.Pen().SetColor(RGB(30, 60, 90));
    s.Pen().SetWidth(3);
    s.Brush().SetColor(RGB(200, 100, 0));
    s.Brush().SetStyle(TBrushStyle::bsClear);
    c.SetNumColors(2);
    SetDrawShapeMode(s, c);
    EXPECT_EQ(c.Pen().Color(), RGB(30, 60, 90)); // not the printer's canvas
    owner.printerCanvas = &c;
    SetDrawShapeMode(s, c);
    EXPECT_EQ(c.Pen().Color(), RGB(60, 60, 60));
    EXPECT_EQ(c.Brush().Color(), RGB(100, 100, 100));
    EXPECT_EQ(c.Brush().Style(), TBrushStyle::bsClear);
    c.SetNumColors(-1);
    SetDrawShapeMode(s, c);
    EXPECT_EQ(c.Pen().Color(), RGB(30, 60, 90)); // a colour printer prints colours

    owner.zoom = 2.5;
    TPen created;
    TPen previous;
    s.SetPS(c, TPenStyle::psSolid, clRed, 3, created, previous);
    EXPECT_EQ(c.Pen().Width(), 8); // round(7.5) ties to even
    EXPECT_EQ(previous.Width(), 3);
    TMyShape::ReleasePS(c, previous);
    EXPECT_EQ(c.Pen().Width(), 3);
    s.SetPS(c, TPenStyle::psSolid, clRed, 0, created, previous);
    EXPECT_EQ(c.Pen().Width(), 1);
    owner.printerCanvas = nullptr;
    s.SetPS(c, TPenStyle::psDot, clRed, 3, created, previous);
    EXPECT_EQ(c.Pen().Width(), 3);
    EXPECT_EQ(c.Pen().Style(), TPenStyle::psDot);
}

// A link point answers within [-5, +4] pixels of it and is framed while
// the mouse is there; every frame is erased again where it was drawn.
TEST(ShapeDraw, HitAreasAndTheHoverHighlightThatErasesItself)
{
    FakeOwner owner;
    Surface surface;
    owner.controlCanvas = &surface.Canvas();
    TMyShape a(&owner);
    TMyShape b(&owner);
    a.LinkPoints = {{50, 50}, {120, 50}};
    b.LinkPoints = {{50, 150}};
    const std::vector<TColor> blank = surface.Snapshot();

    EXPECT_EQ(a.InWhichLinkHot({45, 45}), 0);
    EXPECT_EQ(owner.hotLinkShape, &a);
    EXPECT_EQ(owner.hotLinkId, 0);
    const int32_t ink = surface.CountNot(clWhite);
    const TRect frame = surface.InkBox({0, 0, 200, 200});
    EXPECT_NEAR(frame.Left, 45, 1);
    EXPECT_NEAR(frame.Top, 45, 1);
    EXPECT_NEAR(frame.Right, 55, 1);
    EXPECT_NEAR(frame.Bottom, 55, 1);
    EXPECT_EQ(surface.At(50, 50), clWhite); // only the frame is drawn

    // The same point again: nothing changes on the surface.
    EXPECT_EQ(a.InWhichLinkHot({54, 54}), 0);
    EXPECT_EQ(surface.CountNot(clWhite), ink);

    // Another link point of the same shape: the old frame is erased.
    EXPECT_EQ(a.InWhichLinkHot({120, 50}), 1);
    EXPECT_EQ(surface.InkBox({0, 0, 100, 200}), TRect{});
    EXPECT_EQ(surface.CountNot(clWhite), ink);

    // The same index on another shape moves the highlight there; leaving
    // every point erases it: the surface is as it was.
    a.InWhichLinkHot({50, 50});
    EXPECT_EQ(b.InWhichLinkHot({50, 150}), 0);
    EXPECT_EQ(owner.hotLinkShape, &b);
    EXPECT_EQ(b.InWhichLinkHot({50, 144}), -1);
    EXPECT_EQ(owner.hotLinkShape, nullptr);
    EXPECT_EQ(owner.hotLinkId, -1);
    EXPECT_EQ(surface.Snapshot(), blank);

    // An end point (never a middle one), then a link point: each erased
    // where it was drawn.
    TMyShape line(&owner);
    line.ThePoints = {{150, 150}, {165, 165}, {180, 180}};
    EXPECT_EQ(line.InWhichPointHot({166, 166}), -1);
    EXPECT_EQ(line.InWhichPointHot({146, 146}), 0);
    EXPECT_EQ(line.InWhichPointHot({182, 181}), 2);
    EXPECT_EQ(owner.hotLinkShape, &line);
    EXPECT_EQ(owner.hotLinkId, 2);
    EXPECT_EQ(a.InWhichLinkHot({120, 50}), 1);
    EXPECT_EQ(a.InWhichLinkHot({125, 50}), -1);
    EXPECT_EQ(surface.Snapshot(), blank);

    // A locked shape shows no highlight.
    a.SetLocked(true);
    a.InWhichLinkHot({50, 50});
    EXPECT_EQ(surface.Snapshot(), blank);

    // The caption's anchor answers within four pixels in the zoomed view.
    a.TextOutPoint = {100, 100};
    EXPECT_TRUE(a.InTextPointHot({96, 96}));
    EXPECT_TRUE(a.InTextPointHot({103, 103}));
    EXPECT_FALSE(a.InTextPointHot({104, 100}));
    owner.zoom = 2.0;
    EXPECT_TRUE(a.InTextPointHot({200, 200}));
    EXPECT_FALSE(a.InTextPointHot({100, 100}));
}

TEST(ShapeDraw, LengthTexts)
{
    FakeOwner owner;
    TMyShape s(&owner);
    const struct {
        TUnits unit;
        TPoint to;
        const char* text;
    } cases[] = {
        {TUnits::mm, {96, 0}, "    25.40 mm"},   {TUnits::pixel, {96, 0}, "       96 pixel(s)"},
        {TUnits::cm, {96, 0}, "     2.54 cm"},    {TUnits::dm, {96, 0}, "     0.25 dm"},
        {TUnits::m, {0, 960}, "     0.25 m"},     {TUnits::inch, {96, 0}, "     1.00 in"},
    };
    for (const auto& c : cases) {
        owner.unit = c.unit;
        EXPECT_EQ(s.GetLengthByUnit({0, 0}, c.to), QString::fromLatin1(c.text));
    }
    owner.unit = TUnits::mm;
    owner.zoom = 2.0;
    EXPECT_EQ(s.GetLengthByUnit({0, 0}, {96, 0}), QStringLiteral("    12.70 mm"));
    owner.ratio = 0.0;
    EXPECT_EQ(s.GetLengthByUnit({0, 0}, {96, 0}), QStringLiteral("     0.00 mm"));
    owner.ratio = 10.0;
    owner.zoom = 1.0;
    EXPECT_EQ(s.GetLengthByUnit({0, 0}, {30, 40}), QStringLiteral("   132.29 mm"));
}

TEST(ShapeDraw, InfoTexts)
{
    FakeOwner owner;
    owner.font.SetSize(10);
    owner.font.SetColor(clBlack);
    Surface surface(300, 200);
    TMyShape s(&owner);
    s.TextOutPoint = {150, 100};

    s.Draw(surface.Canvas()); // no text at all
    EXPECT_EQ(surface.CountNot(clWhite), 0);

    s.SetInfo(QStringLiteral("Info"));
    TStringList lines;
    lines.Add(QStringLiteral("WWWWWWWW"));
    lines.Add(QStringLiteral("WW"));
    s.SetMultiInfo(lines);
    s.SetCaptionShow(false);
    s.Draw(surface.Canvas());
    EXPECT_EQ(surface.CountNot(clWhite), 0);

    // The info text is centred on the anchor.
    s.SetCaptionShow(true);
    s.Draw(surface.Canvas());
    const TRect info = surface.InkBox({0, 0, 300, 200});
    EXPECT_NEAR((info.Left + info.Right) / 2.0, 150, 4);
    EXPECT_NEAR((info.Top + info.Bottom) / 2.0, 100, 6);

    // Without an info text the lines are shown, aligned among themselves.
    s.SetInfo(String());
    const TSize size = s.GetTextWidthHeight(surface.Canvas(), lines[0], s.Font(), 0.0, 1.0);
    auto lineBoxes = [&](TAlignment alignment) {
        s.SetMultiInfoAlignment(alignment);
        surface.Redraw(s);
        const int32_t split = 100; // the two lines meet at the anchor's row
        return std::pair{surface.InkBox({0, 0, 300, split}), surface.InkBox({0, split, 300, 200})};
    };
    const auto [left1, left2] = lineBoxes(TAlignment::taLeftJustify);
    EXPECT_NEAR(left1.Left, 150 - size.cx / 2, 3);
    EXPECT_NEAR(left2.Left, left1.Left, 2);
    EXPECT_LT(left2.Right, left1.Right - 10);
    const auto [right1, right2] = lineBoxes(TAlignment::taRightJustify);
    EXPECT_NEAR(right2.Right, right1.Right, 2);
    EXPECT_GT(right2.Left, right1.Left + 10);
    const auto [centre1, centre2] = lineBoxes(TAlignment::taCenter);
    EXPECT_NEAR(centre2.Left + centre2.Right, centre1.Left + centre1.Right, 3);
}
