// Routing as plain geometry: legs, the walk round combined shapes, tidying,
// the crossing search, route editing and the segments a point breaks.
#include "cad/connectors/CrossingIndex.h"
#include "cad/connectors/Routing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace mycad;

namespace {

TArrMyPoint Tidy(TArrMyPoint pts, bool s, bool e, TMyPoint sp = {}, TMyPoint ep = {})
{
    MergeRoutePoints(pts, s, e, sp, ep);
    return pts;
}

TArrMyPoint Dedup(TArrMyPoint pts)
{
    pts.erase(std::unique(pts.begin(), pts.end()), pts.end());
    return pts;
}

TRouteEnd Free(TMyPoint p)
{
    TRouteEnd e;
    e.Point = p;
    return e;
}

bool Contains(const TArrMyPoint& pts, TMyPoint p) { return std::find(pts.begin(), pts.end(), p) != pts.end(); }

} // namespace

TEST(Routing, LegsAreHorizontalFirstAfterAVerticalMoveOrNone)
{
    TArrDirAndPoints legs;
    GetDirSteps({0, 0}, {10, 20}, Tdirections::dNone, legs);
    EXPECT_EQ(legs, (TArrDirAndPoints{{Tdirections::dRight, {10, 0}}, {Tdirections::dbottom, {10, 20}}}));
    GetDirSteps({0, 0}, {-10, -20}, Tdirections::dLeft, legs);
    EXPECT_EQ(legs, (TArrDirAndPoints{{Tdirections::dTop, {0, -20}}, {Tdirections::dLeft, {-10, -20}}}));
    GetDirSteps({0, 0}, {0, 5}, Tdirections::dRight, legs);
    EXPECT_EQ(legs.size(), 1u);
    GetDirSteps({3, 3}, {3, 3}, Tdirections::dNone, legs);
    EXPECT_TRUE(legs.empty());
    EXPECT_EQ(IsLineHV({0, 0}, {5, 5}), 1) << "a tie is horizontal";
    EXPECT_EQ(IsLineHV({0, 0}, {4, 5}), 2);
}

TEST(Routing, MergeKeepsShortAttachedRoutesAndMakesZRoutes)
{
    // Both ends attached: 2, 3 or 4 points stay as they are (duplicates aside).
    const TArrMyPoint four{{0, 0}, {5, 1}, {6, 2}, {7, 3}};
    EXPECT_EQ(Tidy(four, true, true, {0, 0}, {7, 3}), four);
    EXPECT_EQ(Tidy({{0, 0}, {0, 0}, {3, 1}}, true, true, {0, 0}, {3, 1}), (TArrMyPoint{{0, 0}, {3, 1}}));
    // Five points: middle points within 10 of their neighbours' line go.
    const TArrMyPoint five{{0, 0}, {50, 0}, {50, 4}, {100, 8}, {100, 100}};
    EXPECT_EQ(Tidy(five, true, true, {0, 0}, {100, 100}).size(), 3u);
    // A straight line between attached ends that are not on their link
    // points becomes a Z: across first when wider, down first otherwise and
    // on a tie.
    EXPECT_EQ(Tidy({{1, 1}, {2, 2}}, true, true, {0, 0}, {100, 40}),
              (TArrMyPoint{{0, 0}, {50, 0}, {50, 40}, {100, 40}}));
    EXPECT_EQ(Tidy({{1, 1}, {2, 2}}, true, true, {0, 0}, {40, 100}),
              (TArrMyPoint{{0, 0}, {0, 50}, {40, 50}, {40, 100}}));
    EXPECT_EQ(Tidy({{1, 1}, {2, 2}}, true, true, {0, 0}, {60, 60}),
              (TArrMyPoint{{0, 0}, {0, 30}, {60, 30}, {60, 60}}));
    // On the link points, or with a free end, it stays straight.
    EXPECT_EQ(Tidy({{0, 0}, {60, 60}}, true, true, {0, 0}, {60, 60}).size(), 2u);
    EXPECT_EQ(Tidy({{1, 1}, {2, 2}}, true, false, {0, 0}, {60, 60}).size(), 2u);
}

TEST(Routing, WalkLeavesShapesByTheirExitPointsAndGoesRoundCombinedShapes)
{
    const TRouteObstacles none;
    TRouteEnd a{{100, 25}, true, false, {125, 25}};
    TRouteEnd b{{200, 40}, true, false, {175, 40}};
    TArrMyPoint r = Dedup(RouteOrthogonal(a, b, Tdirections::dNone, none, true));
    EXPECT_EQ(r, (TArrMyPoint{{100, 25}, {125, 25}, {175, 25}, {175, 40}, {200, 40}})) << "first leg horizontal";
    b = {{200, 25}, true, false, {175, 25}};
    r = Dedup(RouteOrthogonal(a, b, Tdirections::dNone, none, true));
    EXPECT_EQ(r, (TArrMyPoint{{100, 25}, {125, 25}, {175, 25}, {200, 25}})) << "one leg on one line";

    TRouteObstacles box;
    box.Boxes = {{100, -50, 200, 50}};
    const TRouteEnd from = Free({0, 0});
    // Round the box, on the side nearer the target (bottom on a tie).
    r = RouteOrthogonal(from, Free({300, 0}), Tdirections::dNone, box, true);
    EXPECT_TRUE(Contains(r, {75, 0}) && Contains(r, {75, 70}) && Contains(r, {300, 70})) << ::testing::PrintToString(r);
    TRouteObstacles low;
    low.Boxes = {{100, -30, 200, 90}};
    r = RouteOrthogonal(from, Free({300, 0}), Tdirections::dNone, low, true);
    EXPECT_TRUE(Contains(r, {75, -50})) << "the top side is nearer: over the top";
    // Without going round, the route turns where it met the box.
    r = RouteOrthogonal(from, Free({300, 100}), Tdirections::dNone, box, false);
    EXPECT_TRUE(Contains(r, {75, 100})) << ::testing::PrintToString(r);
    EXPECT_FALSE(Contains(r, {300, 0}));
    // A box that holds the target is walked into.
    r = RouteOrthogonal(from, Free({150, 0}), Tdirections::dNone, box, true);
    EXPECT_EQ(Dedup(r), (TArrMyPoint{{0, 0}, {150, 0}}));
}

TEST(Routing, CrossingIndexFindsWhatComparingEverySegmentFinds)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> coord(-200, 1200);
    std::vector<TArrMyPoint> routes;
    for (int i = 0; i < 300; ++i) {
        const float x = coord(rng);
        const float y = coord(rng);
        routes.push_back({{x, y}, {x + coord(rng) / 4, y}, {x + coord(rng) / 4, y + coord(rng) / 3}});
    }
    // Touching the line with an end is no crossing.
    routes.push_back({{50, 100}, {50, 300}});
    TCrossingIndex index;
    std::vector<const TArrMyPoint*> refs;
    for (const TArrMyPoint& r : routes) {
        index.AddRoute(r);
        refs.push_back(&r);
    }
    index.Build();
    size_t total = 0;
    for (const TArrMyPoint& r : routes) {
        for (size_t k = 0; k + 1 < r.size(); ++k) {
            if (IsLineHV(r[k], r[k + 1]) != 1) continue;
            std::vector<float> fast;
            std::vector<float> slow;
            index.Crossings(r[k], r[k + 1], fast);
            CollectCrossings(refs, r[k], r[k + 1], slow);
            std::sort(fast.begin(), fast.end());
            std::sort(slow.begin(), slow.end());
            EXPECT_EQ(fast, slow);
            total += fast.size();
        }
    }
    EXPECT_GT(total, 50u);
    std::vector<float> xs;
    index.Crossings({0, 100}, {100, 100}, xs);
    EXPECT_EQ(std::count(xs.begin(), xs.end(), 50.0f), 0);
}

TEST(Routing, EditingKeepsTheSegmentNextToAnAttachedEnd)
{
    // A Z route from an attached start: dragging its first segment down
    // leaves the start's quarter in place and opens a jog after it.
    TArrMyPoint pts{{0, 0}, {40, 0}, {40, 50}, {80, 50}};
    EditRouteByHandle(pts, 4 + 0, 0, 20, true, true);
    EXPECT_EQ(pts, (TArrMyPoint{{0, 0}, {10, 0}, {10, 20}, {40, 20}, {40, 50}, {80, 50}}));
    // Dragging the corner next to an attached end inserts the jog there.
    pts = {{0, 0}, {40, 0}, {40, 50}, {80, 50}};
    EditRouteByHandle(pts, 1, 10, 0, true, false);
    EXPECT_EQ(pts.front(), (TMyPoint{0, 0}));
    EXPECT_EQ(pts[1], (TMyPoint{20, 0})) << "the segment at the start keeps running right";
    EXPECT_EQ(pts[3], (TMyPoint{50, 0}));
    EXPECT_EQ(pts[4], (TMyPoint{50, 50}));
    // Free ends: the segment itself moves.
    pts = {{0, 0}, {40, 0}, {40, 50}};
    EditRouteByHandle(pts, 3 + 1, 7, 3, false, false);
    EXPECT_EQ(pts, (TArrMyPoint{{0, 0}, {47, 0}, {47, 50}}));
}

TEST(Routing, OnlyTheInsideOfASegmentBreaks)
{
    const TArrMyPoint route{{0, 0}, {100, 0}, {100, 80}};
    TMyPoint p{50, 3};
    EXPECT_EQ(BreakableSegment(route, p, 4), 0);
    EXPECT_EQ(p, (TMyPoint{50, 0}));
    p = {98, 40};
    EXPECT_EQ(BreakableSegment(route, p, 4), 1);
    EXPECT_EQ(p, (TMyPoint{100, 40}));
    for (TMyPoint corner : {TMyPoint{100, 0}, TMyPoint{0, 0}, TMyPoint{100, 80}, TMyPoint{105, 40}, TMyPoint{50, 5}}) {
        EXPECT_EQ(BreakableSegment(route, corner, 4), -1) << corner.X << "," << corner.Y;
    }
}
