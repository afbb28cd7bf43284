// Measures of routes: what the hard rules forbid (a segment through a shape,
// a slanted segment) and what the quality of a set of routes is judged by
// (length against the Manhattan distance, bends, crossings, overlapping
// segments). The router checks its own routes with the first; tests and the
// benchmark count the rest.
#pragma once

#include "cad/connectors/AvoidRouter.h"

namespace mycad {

/// The orthogonal segment a-b passes through the inside of the box (running
/// along its edge does not count). A slanted segment counts when its
/// bounding box does.
bool SegmentEntersBox(const TMyPoint& a, const TMyPoint& b, const TGridBox& box);

struct TRouteStats {
    int32_t Connectors = 0;
    /// Segments through a grown box other than those of their route's ends.
    int32_t ShapeHits = 0;
    /// Segments neither horizontal nor vertical.
    int32_t NonOrthogonal = 0;
    /// Crossings of segments of different connectors.
    int32_t Crossings = 0;
    /// Pairs of collinear overlapping segments of different connectors,
    /// except two that leave one shared link point.
    int32_t Overlaps = 0;
    int32_t Bends = 0;
    double Length = 0;
    /// Sum of the Manhattan distances between each connector's link points.
    double ManhattanBound = 0;
};

/// Counts over every connector of the router that has a route (those
/// reported unroutable are left out).
TRouteStats MeasureRoutes(const TAvoidRouter& router);

} // namespace mycad
