// Spreading apart the segments of different connectors that share a
// channel. The shortest routes of many connectors run along the same grid
// lines, one on top of the other, which reads as one line; here each group
// of overlapping collinear segments is fanned out across the free space of
// its channel by a set spacing, ordered so that the legs leaving the group
// do not cross its members needlessly. A segment moves only across its own
// run, so its neighbours stay horizontal or vertical and only change length,
// and only as far as the nearest obstacle on either side over its run.
#pragma once

#include "cad/connectors/RouteGrid.h"

#include <functional>

namespace mycad {

struct TSeparationRoutes {
    /// The routes (corner points), changed in place.
    std::vector<TArrMyPoint*> Routes;
    /// Routes whose segments may move; the others stay where they are.
    std::vector<bool> Movable;
    /// Segment k (points k, k+1) of route r must stay (a pinned segment).
    /// A segment that holds an end of its route always stays.
    std::function<bool(size_t r, size_t k)> Pinned;
};

/// The whole tidy-up: every group of overlapping segments on a line is
/// ordered and fanned out; then any overlap that remains is resolved by
/// moving a movable segment to the nearest free line of its channel.
void SeparateChannels(TSeparationRoutes& routes, const std::vector<TGridBox>& boxes, double spacing);

/// The gentle version for a few re-routed connectors among settled ones:
/// only movable segments that overlap another connector's move, each to the
/// nearest free line of its channel; nothing else changes.
void SeparateMoved(TSeparationRoutes& routes, const std::vector<TGridBox>& boxes, double spacing);

} // namespace mycad
