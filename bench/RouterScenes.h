// The drawings the avoiding router is measured and tested on, built straight
// into a router scene with fixed seeds: a grid of boxes with random
// connections, a corridor of parallel connectors, pockets no route can
// reach, and the drag of the grid's centre box. Shared by bench_router and
// the connector tests, so both look at the same drawings.
#pragma once

#include "cad/connectors/AvoidRouter.h"

#include <cmath>
#include <random>
#include <set>

namespace mycad::scenes {

/// Boxes of 60 x 40 at a pitch of 120 x 100, link points at the middles of
/// their sides: 0 left, 1 top, 2 right, 3 bottom.
inline constexpr float kBoxW = 60;
inline constexpr float kBoxH = 40;
inline constexpr float kPitchX = 120;
inline constexpr float kPitchY = 100;

inline TMyRect GridBox(int32_t row, int32_t col)
{
    const float l = float(col) * kPitchX;
    const float t = float(row) * kPitchY;
    return {l, t, l + kBoxW, t + kBoxH};
}

inline TMyPoint SidePoint(const TMyRect& b, int32_t side)
{
    const float cx = (b.Left + b.Right) / 2;
    const float cy = (b.Top + b.Bottom) / 2;
    switch (side) {
    case 0: return {b.Left, cy};
    case 1: return {cx, b.Top};
    case 2: return {b.Right, cy};
    default: return {cx, b.Bottom};
    }
}

struct TScene {
    TAvoidRouter Router;
    std::map<int32_t, TMyRect> Boxes;
    /// Connectors no route can reach: the router must report exactly these.
    std::set<int32_t> Unreachable;
    int32_t NextConnector = 0;

    void Box(int32_t key, const TMyRect& r)
    {
        Boxes[key] = r;
        Router.SetObstacle(key, r);
    }
    /// Joins the sides of a and b that face each other.
    int32_t Join(int32_t a, int32_t b)
    {
        const TMyRect& ra = Boxes.at(a);
        const TMyRect& rb = Boxes.at(b);
        const double dx = (double(rb.Left) + rb.Right - ra.Left - ra.Right) / 2;
        const double dy = (double(rb.Top) + rb.Bottom - ra.Top - ra.Bottom) / 2;
        int32_t sa = 0;
        if (std::abs(dx) >= std::abs(dy)) {
            sa = dx >= 0 ? 2 : 0;
        } else {
            sa = dy >= 0 ? 3 : 1;
        }
        const int32_t sb = (sa + 2) % 4;
        const int32_t key = NextConnector++;
        Router.SetConnector(key, {SidePoint(ra, sa), a}, {SidePoint(rb, sb), b});
        return key;
    }
};

/// How the link points of a connection are chosen: the sides that face
/// each other, or the pair with the cheapest route through the empty
/// drawing (what a user drawing the connection picks by eye).
enum class TSides { Facing, Cheapest };

/// S1: rows x cols boxes, m random connections between distinct boxes.
inline void Grid(TScene& s, int32_t rows, int32_t cols, int32_t m, uint32_t seed, TSides sides = TSides::Cheapest)
{
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < cols; ++c) s.Box(r * cols + c, GridBox(r, c));
    }
    // The probe knows every link point, so every candidate port is on its grid.
    TAvoidRouter probe(s.Router.Options());
    if (sides == TSides::Cheapest) {
        for (const auto& [key, box] : s.Boxes) {
            probe.SetObstacle(key, box);
            for (int32_t side = 0; side < 4; side += 2) probe.SetConnector(-1 - key * 2 - side, {SidePoint(box, side), key}, {SidePoint(box, side + 1), key});
        }
        probe.Reroute({});
    }
    std::mt19937 rng(seed);
    const auto n = static_cast<uint32_t>(rows * cols);
    for (int32_t i = 0; i < m; ++i) {
        const auto a = static_cast<int32_t>(rng() % n);
        auto b = static_cast<int32_t>(rng() % (n - 1));
        if (b >= a) ++b;
        if (sides == TSides::Facing) {
            s.Join(a, b);
            continue;
        }
        const TMyRect& ra = s.Boxes.at(a);
        const TMyRect& rb = s.Boxes.at(b);
        double best = -1;
        TRouterEnd bs;
        TRouterEnd be;
        for (int32_t sa = 0; sa < 4; ++sa) {
            for (int32_t sb = 0; sb < 4; ++sb) {
                const TRouterEnd es{SidePoint(ra, sa), a};
                const TRouterEnd ee{SidePoint(rb, sb), b};
                const double cost = probe.RouteCost(es, ee);
                if (cost >= 0 && (best < 0 || cost < best)) {
                    best = cost;
                    bs = es;
                    be = ee;
                }
            }
        }
        s.Router.SetConnector(s.NextConnector++, bs, be);
    }
}

/// S2: two columns of 40 boxes, 400 apart, the right one three rows lower,
/// and 40 parallel connectors across the corridor between them, each left
/// box to the right box of its own number.
inline void Corridor(TScene& s)
{
    for (int32_t i = 0; i < 40; ++i) {
        s.Box(i, GridBox(i, 0));
        const float t = float(i + 3) * kPitchY;
        s.Box(100 + i, {400, t, 400 + kBoxW, t + kBoxH});
    }
    for (int32_t k = 0; k < 40; ++k) {
        const TMyRect& a = s.Boxes.at(k);
        const TMyRect& b = s.Boxes.at(100 + k);
        s.Router.SetConnector(s.NextConnector++, {SidePoint(a, 2), k}, {SidePoint(b, 0), 100 + k});
    }
}

/// S3: a 5 x 5 grid with random connections, and three boxes walled in by
/// four overlapping walls each; every connection to them is unreachable.
inline void Pockets(TScene& s, uint32_t seed)
{
    Grid(s, 5, 5, 20, seed);
    for (int32_t p = 0; p < 3; ++p) {
        const float l = 800 + float(p) * 300;
        const float t = 100;
        const int32_t target = 1000 + p * 10;
        s.Box(target, {l, t, l + 60, t + 40});
        // Walls 20 wide, 40 clear of the target, overlapping at the corners.
        s.Box(target + 1, {l - 60, t - 60, l + 120, t - 40});
        s.Box(target + 2, {l - 60, t + 80, l + 120, t + 100});
        s.Box(target + 3, {l - 60, t - 60, l - 40, t + 100});
        s.Box(target + 4, {l + 100, t - 60, l + 120, t + 100});
        for (int32_t k = 0; k < 2; ++k) {
            const int32_t from = (p * 7 + k * 3) % 25;
            s.Unreachable.insert(s.Join(from, target));
        }
    }
}

/// The centre box of a rows x cols grid.
inline int32_t CentreBox(int32_t rows, int32_t cols) { return (rows / 2) * cols + cols / 2; }

/// S4: one drag step of box `key` by (dx, dy); returns the share of the
/// connectors not attached to it whose route changed.
inline double DragStep(TScene& s, int32_t key, float dx, float dy)
{
    std::map<int32_t, TArrMyPoint> before;
    int32_t others = 0;
    for (const int32_t c : s.Router.Keys()) {
        if (s.Router.StartOf(c)->Shape == key || s.Router.EndOf(c)->Shape == key) continue;
        before[c] = *s.Router.RouteOf(c);
        ++others;
    }
    TMyRect& r = s.Boxes.at(key);
    r = {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
    s.Router.MoveObstacle(key, r);
    int32_t changed = 0;
    for (const auto& [c, route] : before) {
        if (*s.Router.RouteOf(c) != route) ++changed;
    }
    return others ? double(changed) / others : 0.0;
}

} // namespace mycad::scenes
