#include "cad/shapes/Line.h"
#include "cad/shapes/PolyLine.h"
#include "cad/shapes/ShapeDraw.h"
#include "shapes/FakeOwner.h"
#include "shapes/Surface.h"
#include "support/ShapeGestures.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

using namespace mycad;
using namespace mycad::test;

namespace {

// A subclass drawn like a two-point line that, as a polyline, joins no lines.
class PolyLineLike : public TMyLine {
public:
    using TMyLine::TMyLine;
    String ClassName() const override { return QStringLiteral("TMyPolyLine"); }
    bool JoinsLines() const override { return false; }
};

} // namespace

TEST(Line, SegmentHitTestAndLengthInfo)
{
    FakeOwner owner;
    Surface surface;
    TCanvas& c = surface.Canvas();
    TMyLine level(&owner);
    level.ThePoints = {{0, 0}, {100, 0}};
    ExpectHits(level, c, {{{50, -8}, true}, {{50, 7}, true}, {{50, 8}, false}, {{101, 0}, false}, {{0, 0}, true}});

    TMyLine upright(&owner);
    upright.ThePoints = {{20, 0}, {20, 100}};
    ExpectHits(upright, c, {{{12, 50}, true}, {{28, 50}, false}, {{20, 100}, false}});

    TMyLine slope(&owner);
    slope.ThePoints = {{0, 0}, {100, 50}};
    ExpectHits(slope, c, {{{50, 33}, true}, {{50, 34}, false}, {{50, 17}, true}, {{50, 16}, false},
                          {{-1, 0}, false}}); // outside the segment's box

    TMyLine steep(&owner);
    steep.ThePoints = {{0, 0}, {50, 100}};
    ExpectHits(steep, c, {{{33, 50}, true}, {{34, 50}, false}});

    // The tolerance is in device pixels at every zoom.
    owner.zoom = 4.0;
    ExpectHits(level, c, {{{200, 7}, true}, {{200, 8}, false}});
    owner.zoom = 1.0;

    TMyLine chain(&owner);
    chain.ThePoints = {{0, 0}, {100, 0}, {100, 100}};
    int32_t index = 0;
    EXPECT_TRUE(chain.IsClickedMeBeforeWhichPoint(index, {102, 50}));
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(chain.IsClickedMeBeforeWhichPoint(index, {50, 3}));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(chain.IsClickedMeBeforeWhichPoint(index, {50, 50}));
    EXPECT_EQ(index, -1);

    // A line's info is its length; a polyline keeps the info it was given.
    owner.unit = TUnits::inch;
    level.ThePoints = {{0, 0}, {96, 0}};
    EXPECT_EQ(level.GetInfo(), QStringLiteral("     1.00 in"));
    EXPECT_TRUE(level.Info().endsWith(QStringLiteral(" in")));
    TMyPolyLine poly(&owner);
    poly.ThePoints = {{0, 0}, {96, 0}};
    poly.SetInfo(QStringLiteral("kept"));
    EXPECT_TRUE(poly.GetInfo().isEmpty());
    EXPECT_EQ(poly.Info(), QStringLiteral("kept"));
}

// Finishing on another line's end point records it while merging is on.
TEST(Line, DrawingRecordsTheLineEndItFinishesOn)
{
    FakeOwner owner;
    TMyLine first(&owner);
    first.ShapeId = 5;
    first.ThePoints = {{0, 0}, {100, 50}};
    PolyLineLike poly(&owner);
    poly.ShapeId = 6;
    poly.ThePoints = {{200, 0}, {210, 10}, {220, 20}};
    TMyShape other(&owner);
    other.ThePoints = {{300, 300}};
    owner.Add(other);
    owner.Add(first);
    owner.Add(poly);

    // A new line on the owner: the shape and the point its end merged with.
    std::vector<std::unique_ptr<TMyLine>> lines;
    const auto endOf = [&](TPoint from, TPoint to) {
        lines.push_back(std::make_unique<TMyLine>(&owner));
        owner.Add(*lines.back());
        DrawWithMouse(*lines.back(), from, to);
        return std::pair{lines.back()->endMergeShapeId, lines.back()->endMergeShapePointNo};
    };
    EXPECT_EQ(endOf({300, 300}, {103, 48}).first, -1); // merging is off
    owner.mergeLineShape = true;
    EXPECT_EQ(endOf({300, 300}, {103, 48}), std::pair(5, 1));
    EXPECT_EQ(endOf({0, 0}, {221, 19}), std::pair(6, 2));
    EXPECT_EQ(endOf({0, 0}, {210, 10}), std::pair(-1, -1)); // a middle point does not count
    // Only a plain line records its end.
    PolyLineLike polyDrawn(&owner);
    DrawWithMouse(polyDrawn, {0, 0}, {103, 48});
    EXPECT_EQ(polyDrawn.endMergeShapeId, -1);
    int32_t id = 0;
    int32_t no = 0;
    polyDrawn.FindMergePoint({1, 1}, id, no); // the canvas asks the same for a start point
    EXPECT_EQ(id, 5);
    EXPECT_EQ(no, 0);
}

TEST(Line, ArrowHeads)
{
    FakeOwner owner;
    owner.arrowStyle = TArrowStyle::ALeft;
    owner.arrowAngle = 30;
    owner.arrowLength = 10;
    Surface surface;
    TMyLine line(&owner);
    line.SetCaptionShow(false);
    line.ThePoints = {{20, 50}, {120, 50}};
    line.Draw(surface.Canvas());
    // Wings end near (111.34, 45) and (111.34, 55).
    surface.Expect({{112, 53, clBlack}, {112, 47, clBlack}, {111, 55, clBlack}, {111, 45, clBlack},
                    {110, 57, clWhite}});
    EXPECT_EQ(surface.At(28, 53), clWhite); // no head at the first point
    EXPECT_EQ(surface.InkBox({0, 0, 200, 200}).Top, 45);

    // Set back by 20 pixels: the head ends at (100, 50), the line still reaches 120.
    line.SetArrowOffset(20);
    surface.Redraw(line);
    surface.Expect({{92, 53, clBlack}, {112, 53, clWhite}, {118, 50, clBlack}});

    // Both ends, in the pen colour, scaled by the zoom.
    line.SetArrowOffset(0);
    line.SetArrowStyle(TArrowStyle::ADouble);
    line.Pen().SetColor(clRed);
    owner.zoom = 0.5;
    line.ThePoints = {{40, 100}, {240, 100}};
    surface.Redraw(line);
    surface.Expect({{116, 52, clRed}, // wing length 5 at zoom 0.5
                    {24, 52, clRed}, {116, 55, clWhite}, {112, 53, clWhite}});

    // Wings too long for a byte are drawn at the longest length.
    line.SetArrowLength(200);
    line.SetArrowStyle(TArrowStyle::ARight);
    owner.zoom = 2.0;
    line.ThePoints = {{10, 50}, {90, 50}};
    surface.Redraw(line);
    // Past the reach of a wrapped-around wing (144 pixels), inside a 255-pixel one.
    EXPECT_EQ(surface.At(170, 140), clRed);

    // The angle a paint stores comes from the drawing's points, so painting
    // at another zoom leaves it, and the saved file, bit for bit the same.
    line.ThePoints = {{0, 100}, {96, 148}};
    std::vector<float> angles;
    for (const double zoom : {1.0, 0.54, 1.5, 0.8}) {
        owner.zoom = zoom;
        surface.Redraw(line);
        angles.push_back(line.Angle());
    }
    EXPECT_EQ(angles, std::vector<float>(4, angles.front()));
}
