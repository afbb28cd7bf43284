// The orthogonal visibility graph of the avoiding router, kept as a sparse
// grid: its columns and rows are the x and y values where something happens
// (the edges of every obstacle grown by the margin, the ports of the
// connectors, the points a user pinned), and a node or a grid edge is closed
// where it lies inside an obstacle. Every shortest orthogonal route with the
// fewest bends between two nodes runs along these lines, so the search never
// needs the plane in between.
//
// The search is A* over (node, heading) states: a step costs its length and
// a turn costs the bend penalty, so among routes of equal length the one with
// fewer bends wins and a bend is worth a detour of up to the penalty.
#pragma once

#include "cad/geometry/Geometry.h"

#include <cstdint>
#include <vector>

namespace mycad {

/// Headings of a route: the ordinals index the step tables of the grid.
enum class THeading : uint8_t { hLeft = 0, hUp = 1, hRight = 2, hDown = 3, hAny = 4 };

/// The heading opposite h (hAny stays).
THeading Opposite(THeading h);

/// A box the routes must not enter, in router units, already grown by the
/// margin.
struct TGridBox {
    double L = 0;
    double T = 0;
    double R = 0;
    double B = 0;
    /// p lies strictly inside.
    bool Holds(double x, double y) const { return x > L && x < R && y > T && y < B; }
};

class TRouteGrid {
public:
    /// Lays the grid over the boxes and the extra points (ports, pins). The
    /// nodes on a box's edge stay open: routes run along grown edges.
    void Build(const std::vector<TGridBox>& boxes, const std::vector<TMyPoint>& points);
    /// Marks the rays from ports outward (each from its point along its
    /// heading to the first obstacle). A connector always runs along its own
    /// rays, whose first stretch no route can leave; a route that runs
    /// along another's ray would lie on top of it where neither can move
    /// aside, so such stretches cost extra.
    void MarkRays(const std::vector<std::pair<TMyPoint, THeading>>& rays);
    /// Nodes that Build made (columns x rows).
    size_t NodeCount() const { return FXs.size() * FYs.size(); }

    /// What a search asks for: from a point with a heading (hAny: free), to
    /// a point arriving with a heading (hAny: any); a different arrival costs
    /// a bend. Both points must be grid points.
    struct TQuery {
        TMyPoint From;
        THeading FromHeading = THeading::hAny;
        TMyPoint To;
        THeading ToHeading = THeading::hAny;
        /// Extra cost per unit of length along another connector's port
        /// ray (see MarkRays); the route's own two rays are free.
        double RayCost = 0;
        /// Boxes whose margin this route may enter, given grown and as they
        /// are: the shapes at its own ends, when they stand so close to
        /// something that no route keeps the full margin. Only their real
        /// inside stays closed.
        std::vector<std::pair<TGridBox, TGridBox>> Relaxed;
    };
    /// The corner points of the cheapest route, From and To included; empty
    /// when there is none (an end inside a box, or walled in). Never more
    /// work than every state once per cost improvement.
    TArrMyPoint Search(const TQuery& q, double bendPenalty);

private:
    int32_t Column(double x) const;
    int32_t Row(double y) const;
    size_t Node(int32_t i, int32_t j) const { return size_t(j) * FXs.size() + size_t(i); }
    /// Neighbour of node (i, j) one grid step along h, false when closed.
    bool Step(int32_t i, int32_t j, THeading h, int32_t& ni, int32_t& nj) const;
    bool NodeClosed(int32_t i, int32_t j) const;
    /// The edge from (i, j) to the next column (horizontal) or row.
    bool EdgeClosed(int32_t i, int32_t j, bool horizontal) const;

    /// How many grown boxes close a node and its edges to the next column
    /// and the next row.
    struct TCell {
        uint16_t Node = 0;
        uint16_t Right = 0;
        uint16_t Down = 0;
    };

    std::vector<double> FXs;
    std::vector<double> FYs;
    std::vector<TCell> FCells;
    /// The relaxed boxes of the search under way.
    const std::vector<std::pair<TGridBox, TGridBox>>* FRelaxed = nullptr;
    /// Per node: how many port rays run along its edge to the next column
    /// and to the next row (saturating).
    std::vector<uint8_t> FRaysRight;
    std::vector<uint8_t> FRaysDown;

    // Search scratch, reused by every search: stamped instead of cleared.
    std::vector<double> FCost;
    std::vector<uint32_t> FStamp;
    std::vector<uint32_t> FParent;
    uint32_t FRun = 0;
};

/// Turns a heading h into the step (dx, dy) of unit length.
void HeadingStep(THeading h, int32_t& dx, int32_t& dy);

} // namespace mycad
