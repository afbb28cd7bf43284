// Where the horizontal segments of connectors cross the vertical ones, for
// the hops drawn over crossings. The vertical segments of the connectors of
// one paint are filed by rows of the device plane, sorted by x, so a
// horizontal segment looks at the vertical segments of its own row and x
// range only: a drawing of thousands of connectors costs about what its
// crossings cost, not every segment against every other.
#pragma once

#include "cad/geometry/Geometry.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace mycad {

class TCrossingIndex {
public:
    /// Forgets every segment.
    void Clear();
    /// Files the vertical segments (by IsLineHV) of a route in device pixels.
    void AddRoute(const TArrMyPoint& zoomedPoints);
    /// Sorts what was filed; call once after the last AddRoute.
    void Build();
    bool Empty() const { return FCount == 0; }
    /// The x of every filed vertical segment c-d that the horizontal segment
    /// a-b crosses: c.Y and d.Y strictly on either side of a.Y, c.X strictly
    /// between a.X and b.X. Appended to xs in no particular order.
    void Crossings(const TMyPoint& a, const TMyPoint& b, std::vector<float>& xs) const;

private:
    struct TEntry {
        float X;
        float Low;
        float High;
    };
    static void Collect(const std::vector<TEntry>& row, double x0, double x1, double y, std::vector<float>& xs);

    std::unordered_map<int64_t, std::vector<TEntry>> FRows;
    /// Segments too tall to file by rows (absurd coordinates), looked at always.
    std::vector<TEntry> FTall;
    size_t FCount = 0;
};

/// Every crossing of a-b with the vertical segments of the routes, the plain
/// way; for a few connectors drawn outside a paint.
void CollectCrossings(const std::vector<const TArrMyPoint*>& zoomedRoutes, const TMyPoint& a, const TMyPoint& b,
                      std::vector<float>& xs);

} // namespace mycad
