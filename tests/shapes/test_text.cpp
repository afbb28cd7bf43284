// Text boxes: where lines and the Info text land in the box, wrapping,
// mirroring, hollow glyphs, zoom, flips and sizing to the text.
#include "cad/shapes/ShapeDraw.h"
#include "cad/shapes/Text.h"
#include "cad/shapes/TextOut.h"
#include "shapes/FakeOwner.h"
#include "shapes/Surface.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace mycad;
using namespace mycad::test;

namespace {

constexpr double kPi = std::numbers::pi;

void SetBox(TMyShape& s, float l, float t, float r, float b)
{
    s.ThePoints = {{l, t}, {r, t}, {r, b}, {l, b}};
    s.CenterPoint = s.ComputeCenterPoint(4);
}

TStringList LinesOf(std::initializer_list<const char*> lines)
{
    TStringList list;
    for (const char* l : lines) list.Add(QString::fromLatin1(l));
    return list;
}

// A text box on the owner with a 20-pixel black font and no caption anchor.
void MakeText(TMyText& t, float l, float top, float r, float b)
{
    SetBox(t, l, top, r, b);
    t.Font().SetSize(20);
    t.Font().SetColor(clBlack);
}

// The ink of a drawn text box, with the pixels in each row and column.
struct Ink {
    TRect Box;
    std::vector<int32_t> Rows;
    std::vector<int32_t> Columns;
};

Ink InkOf(Surface& s, const TRect& area)
{
    const TRect box = s.InkBox(area);
    Ink ink{box, std::vector<int32_t>(size_t(box.Height())), std::vector<int32_t>(size_t(box.Width()))};
    for (int32_t y = box.Top; y < box.Bottom; ++y)
        for (int32_t x = box.Left; x < box.Right; ++x)
            if (s.At(x, y) != clWhite) {
                ++ink.Rows[size_t(y - box.Top)];
                ++ink.Columns[size_t(x - box.Left)];
            }
    return ink;
}

// Where along a profile its largest value is, as a fraction of its length.
double PeakAt(const std::vector<int32_t>& profile)
{
    const auto peak = std::max_element(profile.begin(), profile.end());
    return profile.empty() ? -1 : double(peak - profile.begin()) / double(profile.size());
}

} // namespace

TEST(Text, LinesSitWhereTheirAlignmentsPutThemAndTurnWithTheBox)
{
    FakeOwner owner;
    Surface surface(400, 300);
    TMyText t(&owner);
    MakeText(t, 50, 50, 350, 250);
    t.SetLines(LinesOf({"Top", "Middle", "Last line"}));
    const TSize last = GetTextWidthHeight(surface.Canvas(), QStringLiteral("Last line"), t.Font(), 0, 1);
    const TSize first = GetTextWidthHeight(surface.Canvas(), QStringLiteral("Top"), t.Font(), 0, 1);

    struct Case {
        TAlignment H;
        TVAlignment V;
        int32_t left, top, right, bottom; // where the text box of the lines lies
    };
    const int32_t h = last.cy;
    const Case cases[] = {
        {TAlignment::taLeftJustify, TVAlignment::vaTop, 50, 50, 50 + last.cx, 50 + 3 * h},
        {TAlignment::taRightJustify, TVAlignment::vaBottom, 350 - last.cx, 250 - 3 * h, 350, 250},
        {TAlignment::taCenter, TVAlignment::vaMiddle, 200 - last.cx / 2, 150 - 3 * h / 2, 200 + last.cx / 2,
         150 + 3 * h / 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.H) * 10 + int(c.V));
        t.SetHAlignment(c.H);
        t.SetVAlignment(c.V);
        surface.Redraw(t);
        const TRect ink = surface.InkBox({0, 0, 400, 300});
        // Glyphs sit inside their advance and line boxes, a pixel or two in.
        EXPECT_NEAR(ink.Left, c.left, 4);
        EXPECT_NEAR(ink.Right, c.right, 4);
        EXPECT_GE(ink.Top, c.top);
        EXPECT_LE(ink.Top, c.top + h / 3);
        EXPECT_LE(ink.Bottom, c.bottom);
        // The last line's descenders reach its bottom: with vaBottom the box's edge.
        EXPECT_GE(ink.Bottom, c.bottom - h / 3);
    }

    // Turned by 90 degrees (clockwise on the screen) about the box centre.
    TMyText turned(&owner);
    MakeText(turned, 100, 100, 300, 200);
    turned.SetLines(LinesOf({"Top"}));
    turned.SetHAlignment(TAlignment::taLeftJustify);
    turned.SetVAlignment(TVAlignment::vaTop);
    turned.RotateChangeValueByAngle(turned.CenterPoint, kPi / 2);
    surface.Redraw(turned);
    // Text leaves what lies between its glyphs as it was.
    EXPECT_EQ(surface.Canvas().BkMode(), TRANSPARENT);
    const TRect ink = surface.InkBox({0, 0, 400, 300});
    // The unturned start (100, 100) turns to (250, 50): the text runs down
    // from there with its top toward +x.
    EXPECT_GT(ink.Height(), ink.Width());
    EXPECT_NEAR(ink.Top, 50, 4);
    EXPECT_NEAR(ink.Bottom, 50 + first.cx, 4);
    EXPECT_LE(ink.Right, 251);
    EXPECT_GE(ink.Left, 250 - first.cy);
}

TEST(Text, WordWrapBreaksBetweenCharactersFlipsKeepTheCornersAndTheBoxFitsTheInfo)
{
    FakeOwner owner;
    Surface surface;
    TMyText t(&owner);
    MakeText(t, 0, 0, 100, 100);
    TCanvas& c = surface.Canvas();
    const auto width = [&](const char* s) { return GetTextWidthHeight(c, QString::fromLatin1(s), t.Font(), 0, 1).cx; };
    t.SetLines(LinesOf({"abcdefgh", "ab", ""}));
    EXPECT_EQ(t.ShownLines(c, width("abcd"), 1).Count(), 3); // wrapping is off

    t.SetWordWrap(true);
    struct Case {
        int32_t Width;
        std::vector<const char*> Lines;
    };
    // Widths chosen between the widths of whole prefixes so that no glyph
    // pair straddles the limit.
    const Case cases[] = {
        {width("abcd"), {"abcd", "efgh", "ab", ""}},
        {width("abcdefgh"), {"abcdefgh", "ab", ""}},
        // Every character wider than the box gets an empty line before it.
        {1, {"", "a", "", "b", "", "c", "", "d", "", "e", "", "f", "", "g", "", "h", "", "a", "", "b", ""}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Width);
        const TStringList shown = t.ShownLines(c, k.Width, 1);
        ASSERT_EQ(shown.Count(), int32_t(k.Lines.size()));
        for (int32_t i = 0; i < shown.Count(); ++i) EXPECT_EQ(shown[i], QString::fromLatin1(k.Lines[size_t(i)]));
    }

    // Drawn: a word wider than the box breaks inside the box.
    t.SetLines(LinesOf({"abcdefghabcdefgh"}));
    SetBox(t, 10, 10, 10 + width("abcdefgh") + 1, 190);
    t.Draw(c);
    const TRect ink = surface.InkBox({0, 0, 200, 200});
    EXPECT_LE(ink.Right, 10 + width("abcdefgh") + 1);
    EXPECT_GT(ink.Height(), GetTextWidthHeight(c, QStringLiteral("a"), t.Font(), 0, 1).cy);

    // Flips keep the corner order; the box fits the Info text.
    TMyText f(&owner);
    MakeText(f, 10, 20, 110, 70);
    f.FlipHoriz();
    EXPECT_EQ(f.ThePoints, (TArrMyPoint{{10, 20}, {110, 20}, {110, 70}, {10, 70}}));
    EXPECT_EQ(f.Angle(), 0.0f);
    EXPECT_TRUE(f.IsFlipHorz());
    f.FlipVert();
    EXPECT_EQ(f.ThePoints, (TArrMyPoint{{10, 20}, {110, 20}, {110, 70}, {10, 70}}));
    // A turned box: the base mirror gives pi - a, the half turn makes it -a.
    TMyText turned(&owner);
    MakeText(turned, 10, 20, 110, 70);
    turned.SetStoredAngle(0.5f);
    turned.FlipHoriz();
    EXPECT_NEAR(turned.Angle(), 2 * kPi - 0.5, 1e-5);
    turned.SetStoredAngle(-0.5f);
    turned.FlipHoriz();
    EXPECT_NEAR(turned.Angle(), 0.5, 1e-5); // kept within a turn

    // Sized to the Info text at zoom 1, at any zoom, keeping point 0.
    owner.zoom = 3;
    f.SetInfo(QStringLiteral("Sized"));
    f.reCaclpoints(surface.Canvas());
    const TSize size = GetTextWidthHeight(surface.Canvas(), QStringLiteral("Sized"), f.Font(), 0, 1);
    EXPECT_EQ(f.ThePoints, (TArrMyPoint{{10, 20},
                                        {10.0f + size.cx, 20},
                                        {10.0f + size.cx, 20.0f + size.cy},
                                        {10, 20.0f + size.cy}}));
    EXPECT_EQ(f.CenterPoint, f.ComputeCenterPoint(4));
}

TEST(Text, InfoIsCentredSpacedAndMirroredInPlace)
{
    FakeOwner owner;
    Surface surface(300, 200);
    TMyText t(&owner);
    MakeText(t, 50, 50, 250, 150);
    t.Font().SetSize(40);
    t.SetInfo(QStringLiteral("TLT"));
    const auto drawn = [&] {
        surface.Redraw(t);
        return InkOf(surface, {0, 0, 300, 200});
    };

    const Ink plain = drawn();
    EXPECT_NEAR((plain.Box.Left + plain.Box.Right) / 2.0, 150, 3);
    EXPECT_NEAR((plain.Box.Top + plain.Box.Bottom) / 2.0, 100, 8);
    EXPECT_LT(PeakAt(plain.Rows), 0.3); // the bars of the T at the top

    t.SetCharacterSpace(10);
    const Ink spaced = drawn();
    EXPECT_NEAR(spaced.Box.Width() - plain.Box.Width(), 20, 2); // two gaps between three letters
    // Centred with the gap after the last letter counted: half a gap to the left.
    EXPECT_NEAR((spaced.Box.Left + spaced.Box.Right) / 2.0, (plain.Box.Left + plain.Box.Right) / 2.0 - 5, 2);
    EXPECT_EQ(surface.Canvas().TextCharacterExtra(), 0);

    // Flipped horizontally the letters stand on their heads in the same place.
    t.SetCharacterSpace(0);
    t.SetStoredFlips(true, false);
    const Ink upsideDown = drawn();
    EXPECT_NEAR(upsideDown.Box.Left, plain.Box.Left, 2);
    EXPECT_NEAR(upsideDown.Box.Width(), plain.Box.Width(), 2);
    // Mirrored about the middle row of the box, y = 100.
    EXPECT_NEAR(upsideDown.Box.Top + upsideDown.Box.Bottom, 400 - (plain.Box.Top + plain.Box.Bottom), 4);
    EXPECT_GT(PeakAt(upsideDown.Rows), 0.7);
    // The canvas is left as it was found.
    EXPECT_EQ(surface.Canvas().GraphicsMode(), GM_COMPATIBLE);
    EXPECT_EQ(surface.Canvas().MapMode(), MM_TEXT);

    // Flipped vertically only, the text reads backwards: the L's stem on its right.
    t.SetInfo(QStringLiteral("L"));
    t.SetStoredFlips(false, false);
    const Ink l = drawn();
    t.SetStoredFlips(false, true);
    const Ink mirrored = drawn();
    EXPECT_LT(PeakAt(l.Columns), 0.4);
    EXPECT_GT(PeakAt(mirrored.Columns), 0.6);
    // Mirrored about the middle of its advance, the box's middle column.
    EXPECT_NEAR(mirrored.Box.Left + mirrored.Box.Right, 300 - (l.Box.Left + l.Box.Right - 300), 3);
    EXPECT_NEAR(mirrored.Box.Top, l.Box.Top, 1);
}

TEST(Text, HollowGlyphsBordersAndZoom)
{
    FakeOwner owner;
    Surface surface(300, 200);
    TMyText t(&owner);
    MakeText(t, 20, 20, 280, 180);
    t.Font().SetSize(100);
    t.SetInfo(QStringLiteral("I"));
    t.Pen().SetColor(clRed);
    t.Draw(surface.Canvas());
    const TRect solid = surface.InkBox({0, 0, 300, 200});
    const TPoint middle{(solid.Left + solid.Right) / 2, (solid.Top + solid.Bottom) / 2};
    EXPECT_EQ(surface.At(middle.X, middle.Y), clBlack);

    t.SetIsSolid(false);
    surface.Redraw(t);
    EXPECT_EQ(surface.At(middle.X, middle.Y), clWhite); // the stem's inside stays empty
    EXPECT_GT(surface.Count(clRed), 100);
    EXPECT_EQ(surface.Count(clBlack), 0);
    const TRect hollow = surface.InkBox({0, 0, 300, 200});
    EXPECT_NEAR(hollow.Left, solid.Left, 1);
    EXPECT_NEAR(hollow.Bottom, solid.Bottom, 1);

    // The border draws the box with its fill behind the text.
    t.SetIsSolid(true);
    t.SetIsBorder(true);
    t.Brush().SetColor(clYellow);
    surface.Redraw(t);
    surface.Expect({{20, 100, clRed}, {30, 30, clYellow}, {middle.X, middle.Y, clBlack}});

    // At zoom 2 a size-10 font is drawn 20 pixels high: as size 20 at zoom 1.
    TMyText small(&owner);
    MakeText(small, 10, 10, 140, 90);
    small.Font().SetSize(10);
    small.SetInfo(QStringLiteral("Zoomed"));
    owner.zoom = 2;
    surface.Redraw(small);
    const std::vector<TColor> atZoom2 = surface.Snapshot();
    owner.zoom = 1;
    MakeText(small, 20, 20, 280, 180);
    small.Font().SetSize(20);
    surface.Redraw(small);
    EXPECT_EQ(surface.Snapshot(), atZoom2);
}
