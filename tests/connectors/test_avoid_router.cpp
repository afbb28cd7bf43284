// The avoiding router: the hard rules (clear of every shape but a route's
// own two, horizontal and vertical only, unroutable connectors reported and
// only those) on every benchmark drawing and on random ones, drag steps that
// leave unrelated routes alone, and pinned segments that survive moves.
#include "bench/RouterScenes.h"
#include "cad/connectors/RouteStats.h"

#include <gtest/gtest.h>

#include <functional>

using namespace mycad;

namespace {

void ExpectHardRules(const scenes::TScene& s, const std::string& what)
{
    const TRouteStats st = MeasureRoutes(s.Router);
    EXPECT_EQ(st.ShapeHits, 0) << what;
    EXPECT_EQ(st.NonOrthogonal, 0) << what;
    const std::vector<int32_t> reported = s.Router.Unroutable();
    EXPECT_EQ(std::set<int32_t>(reported.begin(), reported.end()), s.Unreachable) << what;
    for (const int32_t key : s.Router.Keys()) {
        const TArrMyPoint& r = *s.Router.RouteOf(key);
        ASSERT_GE(r.size(), 2u) << what;
        // Every route runs from link point to link point, the fallback too.
        EXPECT_EQ(r.front(), s.Router.StartOf(key)->Point) << what;
        EXPECT_EQ(r.back(), s.Router.EndOf(key)->Point) << what;
    }
}

/// The first leg leaves the box at right angles to the side of its link point.
void ExpectRightAngleExits(const scenes::TScene& s)
{
    for (const int32_t key : s.Router.Keys()) {
        const TArrMyPoint& r = *s.Router.RouteOf(key);
        for (const auto& [end, next] : {std::pair{s.Router.StartOf(key), r[1]}, std::pair{s.Router.EndOf(key), r[r.size() - 2]}}) {
            const TMyRect& b = s.Boxes.at(end->Shape);
            const TMyPoint p = end->Point;
            bool out = false;
            if (p.X == b.Left) out = next.Y == p.Y && next.X < p.X;
            if (p.X == b.Right) out = next.Y == p.Y && next.X > p.X;
            if (p.Y == b.Top) out = next.X == p.X && next.Y < p.Y;
            if (p.Y == b.Bottom) out = next.X == p.X && next.Y > p.Y;
            EXPECT_TRUE(out) << key;
        }
    }
}

} // namespace

TEST(AvoidRouter, HardRulesHoldOnEveryScenarioAndSeed)
{
    struct TCase {
        std::string Name;
        std::function<void(scenes::TScene&)> Build;
        bool Straight;
    };
    std::vector<TCase> cases;
    for (const uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
        cases.push_back({"grid 5x5 seed " + std::to_string(seed), [seed](scenes::TScene& s) { scenes::Grid(s, 5, 5, 30, seed); }, false});
        cases.push_back({"facing 6x6 seed " + std::to_string(seed),
                         [seed](scenes::TScene& s) { scenes::Grid(s, 6, 6, 50, seed, scenes::TSides::Facing); }, false});
        cases.push_back({"pockets seed " + std::to_string(seed), [seed](scenes::TScene& s) { scenes::Pockets(s, seed); }, false});
    }
    cases.push_back({"grid 10x10", [](scenes::TScene& s) { scenes::Grid(s, 10, 10, 150, 7); }, false});
    cases.push_back({"corridor", [](scenes::TScene& s) { scenes::Corridor(s); }, true});
    for (const TCase& c : cases) {
        scenes::TScene s;
        c.Build(s);
        s.Router.RouteAll();
        ExpectHardRules(s, c.Name);
        ExpectRightAngleExits(s);
        // No two connectors lie on top of each other, except where they
        // leave one link point together.
        const TRouteStats st = MeasureRoutes(s.Router);
        EXPECT_EQ(st.Overlaps, 0) << c.Name;
        if (c.Straight) {
            EXPECT_EQ(st.Crossings, 0) << c.Name;
            // Parallel connectors run straight across: two bends each.
            EXPECT_EQ(st.Bends, 2 * st.Connectors) << c.Name;
        }
    }
}

TEST(AvoidRouter, RandomBoxesThatOverlapAndTouchAreRoutedOrReported)
{
    // Boxes anywhere, overlapping or touching, connections between random
    // sides: each route is clear of the other shapes or reported, and the
    // fallback of a reported one still runs from link point to link point.
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        scenes::TScene s;
        std::mt19937 rng(seed);
        auto coord = [&](uint32_t range) { return float(rng() % range); };
        for (int32_t k = 0; k < 40; ++k) {
            const float l = coord(1400);
            const float t = coord(1000);
            s.Box(k, {l, t, l + 10 + coord(80), t + 10 + coord(60)});
        }
        for (int32_t c = 0; c < 60; ++c) {
            const auto a = static_cast<int32_t>(rng() % 40);
            const auto b = static_cast<int32_t>(rng() % 40);
            const auto sa = static_cast<int32_t>(rng() % 4);
            const auto sb = static_cast<int32_t>(rng() % 4);
            s.Router.SetConnector(c, {scenes::SidePoint(s.Boxes[a], sa), a}, {scenes::SidePoint(s.Boxes[b], sb), b});
        }
        s.Router.RouteAll();
        const TRouteStats st = MeasureRoutes(s.Router);
        EXPECT_EQ(st.ShapeHits, 0) << seed;
        EXPECT_EQ(st.NonOrthogonal, 0) << seed;
        // A reported connector has an end on or next to a third shape: its
        // link point or the first stretch out of its box lies within that
        // shape's margin.
        auto crowded = [&](const TRouterEnd& end, int32_t other) {
            const TMyRect& own = s.Boxes[end.Shape];
            const TMyPoint p = end.Point;
            const float m = float(s.Router.Options().Margin);
            const TMyPoint q = p.X == own.Left ? TMyPoint{p.X - m, p.Y} : p.X == own.Right ? TMyPoint{p.X + m, p.Y}
                             : p.Y == own.Top  ? TMyPoint{p.X, p.Y - m} : TMyPoint{p.X, p.Y + m};
            for (const auto& [key, box] : s.Boxes) {
                if (key == end.Shape || key == other) continue;
                const TGridBox g = *s.Router.GrownBoxOf(key);
                if (g.Holds(p.X, p.Y) || g.Holds(q.X, q.Y) || SegmentEntersBox(p, q, g)) return true;
            }
            return false;
        };
        for (const int32_t key : s.Router.Unroutable()) {
            const TRouterEnd& a = *s.Router.StartOf(key);
            const TRouterEnd& b = *s.Router.EndOf(key);
            EXPECT_TRUE(crowded(a, b.Shape) || crowded(b, a.Shape)) << "seed " << seed << " connector " << key;
            const TArrMyPoint& r = *s.Router.RouteOf(key);
            EXPECT_EQ(r.front(), a.Point);
            EXPECT_EQ(r.back(), b.Point);
            for (size_t k = 0; k + 1 < r.size(); ++k) EXPECT_TRUE(r[k].X == r[k + 1].X || r[k].Y == r[k + 1].Y);
        }
    }
}

TEST(AvoidRouter, APinnedSegmentStaysWhenItsShapesMoveAndGivesWayWhenCovered)
{
    scenes::TScene s;
    s.Box(0, {0, 0, 60, 40});
    s.Box(1, {300, 200, 360, 240});
    s.Box(2, {150, 300, 210, 340});
    s.Router.SetConnector(0, {{60, 20}, 0}, {{300, 220}, 1});
    // The user dragged the route's vertical leg to x = 250.
    const TRoutePin pin{false, 250, 20, 220};
    s.Router.SetPin(0, pin);
    s.Router.RouteAll();
    auto holdsPin = [&](const TRoutePin& p) {
        const TArrMyPoint& r = *s.Router.RouteOf(0);
        for (size_t k = 0; k + 1 < r.size(); ++k) {
            if (r[k].X == p.At && r[k + 1].X == p.At && std::min(r[k].Y, r[k + 1].Y) <= std::min(p.From, p.To) &&
                std::max(r[k].Y, r[k + 1].Y) >= std::max(p.From, p.To))
                return true;
        }
        return false;
    };
    EXPECT_TRUE(holdsPin(pin));
    // Both ends move, as a drag moves them: each move routes the connector
    // again, the pinned leg keeps its line and the legs to it follow.
    s.Boxes[0] = {0, 60, 60, 100};
    s.Router.SetConnector(0, {{60, 80}, 0}, {{300, 220}, 1});
    s.Router.MoveObstacle(0, s.Boxes[0]);
    s.Boxes[1] = {320, 100, 380, 140};
    s.Router.SetConnector(0, {{60, 80}, 0}, {{320, 120}, 1});
    s.Router.MoveObstacle(1, s.Boxes[1]);
    EXPECT_TRUE(holdsPin(pin));
    ExpectHardRules(s, "pinned");
    // A box dropped on the pinned line: the route goes round it instead.
    s.Boxes[2] = {230, 90, 270, 130};
    s.Router.MoveObstacle(2, s.Boxes[2]);
    EXPECT_FALSE(holdsPin(pin));
    ExpectHardRules(s, "pin covered");
}
