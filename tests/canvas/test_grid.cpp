#include "canvas/test_paint_helpers.h"

#include <gtest/gtest.h>

using namespace mycad;
using namespace mycad::test;

namespace {

// Columns of the back buffer that hold a grid pixel on the given row.
std::vector<int32_t> SilverColumns(const TMyCAD& cad, int32_t row)
{
    std::vector<int32_t> xs;
    for (int32_t x = 0; x < cad.BackBuffer().Width(); ++x)
        if (BufferPixel(cad, x, row) == clSilver) xs.push_back(x);
    return xs;
}

// x and y through SnapXY, with its answer.
struct Snapped {
    int32_t X;
    int32_t Y;
    bool Hit;
    bool operator==(const Snapped&) const = default;
};

Snapped Snap(TMyCAD& cad, int32_t x, int32_t y)
{
    const bool hit = cad.SnapXY(x, y);
    return {x, y, hit};
}

/// A point given to SnapXY and what it should come back as.
struct SnapCase {
    int32_t X;
    int32_t Y;
    Snapped To;
};

void ExpectSnaps(TMyCAD& cad, std::initializer_list<SnapCase> cases)
{
    for (const SnapCase& c : cases) {
        const Snapped got = Snap(cad, c.X, c.Y);
        EXPECT_EQ(got, c.To) << c.X << "," << c.Y << " came back as " << got.X << "," << got.Y
                             << (got.Hit ? " hit" : "");
    }
}

} // namespace

TEST(Grid, DotsAndTheKindsThatDrawNothing)
{
    TMyCAD cad;
    cad.SetBounds(0, 0, 100, 100);
    cad.GridOperation().SetGridType(TGridType::gPixel);
    cad.DrawAll(Rect(10, 10, 70, 70));
    // Pen size 1: a box from (x - 1, y - 1) to (x + 1, y + 1) around each
    // multiple of 20, i.e. device 19..20, buffer 9..10.
    EXPECT_EQ(SilverColumns(cad, 9), (std::vector<int32_t>{9, 10, 29, 30, 49, 50}));
    EXPECT_EQ(SilverColumns(cad, 11), std::vector<int32_t>{});
    EXPECT_EQ(CountInBuffer(cad, Rect(0, 0, 60, 60), clSilver), 9 * 4);

    for (const auto off : {+[](TGridObject& g) { g.SetGridType(TGridType::gNone); },
                           +[](TGridObject& g) { g.SetGridShow(false); },
                           +[](TGridObject& g) { g.SetGridWidth(0); },
                           +[](TGridObject& g) { g.SetGridHeight(-5); },
                           +[](TGridObject& g) { g.SetGridWidth(0.25); }}) {
        TMyCAD plain;
        plain.SetBounds(0, 0, 100, 100);
        off(plain.GridOperation());
        plain.DrawAll(plain.ClientRect());
        EXPECT_EQ(CountInBuffer(plain, plain.ClientRect(), clWhite), 100 * 100);
    }
}

TEST(Grid, InZoomSpacingFollowsTheZoomButSnappingDoesNot)
{
    TMyCAD cad;
    cad.SetZoom(2.0);
    cad.DrawAll(Rect(0, 0, 100, 10));
    EXPECT_EQ(SilverColumns(cad, 5), (std::vector<int32_t>{0, 20, 40, 60, 80}));
    cad.GridOperation().SetGridInZoom(true);
    cad.DrawAll(Rect(0, 0, 100, 10));
    EXPECT_EQ(SilverColumns(cad, 5), (std::vector<int32_t>{0, 40, 80}));
    cad.DrawAll(Rect(50, 50, 150, 60));
    EXPECT_EQ(SilverColumns(cad, 5), (std::vector<int32_t>{30, 70}));

    EXPECT_EQ(Snap(cad, 62, 38), (Snapped{60, 40, true}));
}

TEST(Grid, SnapToTheGrid)
{
    TMyCAD cad;
    ASSERT_TRUE(cad.Snap());
    ASSERT_EQ(cad.SnapPixels(), 4);
    // Closer than SnapPixels snaps; exactly SnapPixels away does not; a
    // point midway between lines has its nearest line 10 away.
    ExpectSnaps(cad, {{103, 50, {100, 50, true}}, {97, 50, {100, 50, true}}, {96, 50, {96, 50, false}},
                      {104, 50, {104, 50, false}}, {110, 50, {110, 50, false}}, {50, 118, {50, 120, true}},
                      {2, -3, {0, 0, true}}, {-41, 7, {-40, 7, true}}});

    // The grid is snapped to whether it is shown or not.
    cad.GridOperation().SetGridType(TGridType::gNone);
    cad.GridOperation().SetGridShow(false);
    EXPECT_EQ(Snap(cad, 103, 50), (Snapped{100, 50, true}));

    // A spacing that is not whole rounds the snapped position.
    cad.GridOperation().SetGridWidth(12.5);
    EXPECT_EQ(Snap(cad, 36, 50), (Snapped{38, 50, true})); // 37.5 rounds to even
    // Zero spacing snaps nothing on that axis.
    cad.GridOperation().SetGridWidth(0);
    EXPECT_EQ(Snap(cad, 1, 41), (Snapped{1, 40, true}));

    cad.SetSnap(false);
    EXPECT_EQ(Snap(cad, 103, 41), (Snapped{103, 41, false}));
}

TEST(Grid, SnapPixelsMustStayBelowBothSpacings)
{
    TMyCAD cad;
    cad.SetSnapPixels(20);
    EXPECT_EQ(cad.SnapPixels(), 4);
    cad.SetSnapPixels(19);
    EXPECT_EQ(cad.SnapPixels(), 19);
    cad.GridOperation().SetGridHeight(10);
    cad.SetSnapPixels(12);
    EXPECT_EQ(cad.SnapPixels(), 19);
    cad.SetSnapPixels(9);
    EXPECT_EQ(cad.SnapPixels(), 9);
    EXPECT_EQ(Snap(cad, 108, 50), (Snapped{100, 50, true}));
}

TEST(Grid, SnapToTheEdgesOfOtherShapes)
{
    TMyCAD cad;
    cad.SetSnap(false);
    cad.SetSnapShape(true);
    TMyShape* box = AddBox(cad, 100, 100, 200, 150, clWhite);
    // Near the left edge, between 0.8 x top (80) and 1.2 x bottom (180).
    ExpectSnaps(cad, {{102, 120, {100, 120, true}}, {97, 81, {100, 81, true}}, {102, 80, {102, 80, false}},
                      {102, 179, {100, 179, true}}, {104, 120, {104, 120, false}}});
    // Right and bottom edges; both axes at a corner.
    ExpectSnaps(cad, {{198, 120, {200, 120, true}}, {150, 153, {150, 150, true}}, {203, 97, {200, 100, true}}});
    // On the edge: a hit without a move.
    EXPECT_EQ(Snap(cad, 100, 120), (Snapped{100, 120, true}));

    // A narrow shape: both its edges are in reach, the nearer one wins, the
    // left one on a tie.
    TMyShape* thin = AddBox(cad, 300, 100, 304, 150, clWhite);
    ExpectSnaps(cad, {{301, 120, {300, 120, true}}, {303, 120, {304, 120, true}}, {302, 120, {300, 120, true}}});

    // Edges are found at the zoom.
    cad.SetZoom(2.0);
    EXPECT_EQ(Snap(cad, 203, 250), (Snapped{200, 250, true}));
    cad.SetZoom(1.0);

    // The shape being worked on and members of groups are not snapped to.
    cad.WorkingShape = box;
    EXPECT_EQ(Snap(cad, 102, 120), (Snapped{102, 120, false}));
    cad.WorkingShape = nullptr;
    box->ParentShapeNo = thin->ShapeNo;
    EXPECT_EQ(Snap(cad, 102, 120), (Snapped{102, 120, false}));
    box->ParentShapeNo = -1;

    // Grid snapping comes first; shapes only when the grid did not snap.
    cad.SetSnap(true);
    ExpectSnaps(cad, {{102, 123, {100, 120, true}}, {306, 130, {304, 130, true}}});
    cad.SetSnapShape(false);
    EXPECT_EQ(Snap(cad, 306, 130), (Snapped{306, 130, false}));
}

TEST(Grid, SnapRectMovesTheBoxByTheSmallestCornerDistance)
{
    TMyCAD cad;
    // Where the point (60, 20) goes with each box: the nearest corner in
    // each direction decides, independently.
    const struct {
        TRect Box;
        int32_t X;
        int32_t Y;
    } cases[] = {
        {Rect(45, 10, 97, 30), 63, 20}, // right edge 3 left of a line, left 5 off; top and bottom 10 off
        {Rect(42, 57, 97, 82), 58, 18}, // left 2 off beats right 3 off, bottom 2 off beats top 3 off
        {Rect(43, 43, 57, 57), 57, 17}, // +3 and -3 each way: the earlier corner (left, top) wins
        {Rect(50, 50, 70, 70), 60, 20}, // nothing in reach: the point stays
    };
    for (const auto& c : cases) {
        int32_t x = 60;
        int32_t y = 20;
        cad.SnapRect(c.Box, x, y);
        EXPECT_EQ(x, c.X) << "box from " << c.Box.Left << "," << c.Box.Top;
        EXPECT_EQ(y, c.Y) << "box from " << c.Box.Left << "," << c.Box.Top;
    }
}
