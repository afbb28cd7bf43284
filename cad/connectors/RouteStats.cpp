#include "cad/connectors/RouteStats.h"

#include <algorithm>
#include <cmath>

namespace mycad {

namespace {

struct TLine {
    size_t Route = 0;
    double At = 0;
    double Lo = 0;
    double Hi = 0;
    /// The segment holds its route's start or end point.
    bool AtStart = false;
    bool AtEnd = false;
};

} // namespace

bool SegmentEntersBox(const TMyPoint& a, const TMyPoint& b, const TGridBox& box)
{
    const double x0 = std::min(a.X, b.X);
    const double x1 = std::max(a.X, b.X);
    const double y0 = std::min(a.Y, b.Y);
    const double y1 = std::max(a.Y, b.Y);
    if (x0 == x1) return x0 > box.L && x0 < box.R && y1 > box.T && y0 < box.B;
    if (y0 == y1) return y0 > box.T && y0 < box.B && x1 > box.L && x0 < box.R;
    return x1 > box.L && x0 < box.R && y1 > box.T && y0 < box.B;
}

TRouteStats MeasureRoutes(const TAvoidRouter& router)
{
    TRouteStats st;
    const std::vector<int32_t> keys = router.Keys();
    const std::vector<int32_t> obstacles = router.ObstacleKeys();
    std::vector<const TArrMyPoint*> routes;
    std::vector<TLine> horizontal;
    std::vector<TLine> vertical;
    for (const int32_t key : keys) {
        // A connector reported unroutable has a fallback that is allowed to
        // break the rules; the report is what counts for it.
        if (router.IsUnroutable(key)) continue;
        const TArrMyPoint& pts = *router.RouteOf(key);
        const size_t r = routes.size();
        routes.push_back(&pts);
        ++st.Connectors;
        const int32_t s = router.ShapeOfEnd(*router.StartOf(key));
        const int32_t e = router.ShapeOfEnd(*router.EndOf(key));
        if (pts.empty()) continue;
        st.ManhattanBound += std::fabs(double(pts.back().X) - pts.front().X) + std::fabs(double(pts.back().Y) - pts.front().Y);
        for (size_t k = 0; k + 1 < pts.size(); ++k) {
            const TMyPoint& a = pts[k];
            const TMyPoint& b = pts[k + 1];
            st.Length += std::fabs(double(b.X) - a.X) + std::fabs(double(b.Y) - a.Y);
            if (a.X != b.X && a.Y != b.Y) ++st.NonOrthogonal;
            if (k > 0) {
                const TMyPoint& p = pts[k - 1];
                const bool straight = (p.X == a.X && a.X == b.X) || (p.Y == a.Y && a.Y == b.Y);
                if (!straight) ++st.Bends;
            }
            for (const int32_t o : obstacles) {
                if (o == s || o == e) continue;
                if (SegmentEntersBox(a, b, *router.GrownBoxOf(o))) ++st.ShapeHits;
            }
            const TLine line{r, a.Y == b.Y ? double(a.Y) : double(a.X),
                             a.Y == b.Y ? std::min<double>(a.X, b.X) : std::min<double>(a.Y, b.Y),
                             a.Y == b.Y ? std::max<double>(a.X, b.X) : std::max<double>(a.Y, b.Y), k == 0,
                             k + 2 == pts.size()};
            if (a == b) continue;
            if (a.Y == b.Y) {
                horizontal.push_back(line);
            } else if (a.X == b.X) {
                vertical.push_back(line);
            }
        }
    }
    for (const TLine& h : horizontal) {
        for (const TLine& v : vertical) {
            if (h.Route != v.Route && v.At > h.Lo && v.At < h.Hi && h.At > v.Lo && h.At < v.Hi) ++st.Crossings;
        }
    }
    auto sharedLinkPoint = [&](const TLine& a, const TLine& b) {
        const TArrMyPoint& ra = *routes[a.Route];
        const TArrMyPoint& rb = *routes[b.Route];
        for (const auto& [ea, pa] : {std::pair{a.AtStart, ra.front()}, std::pair{a.AtEnd, ra.back()}}) {
            for (const auto& [eb, pb] : {std::pair{b.AtStart, rb.front()}, std::pair{b.AtEnd, rb.back()}}) {
                if (ea && eb && pa == pb) return true;
            }
        }
        return false;
    };
    for (std::vector<TLine>* lines : {&horizontal, &vertical}) {
        std::sort(lines->begin(), lines->end(), [](const TLine& a, const TLine& b) {
            return a.At != b.At ? a.At < b.At : a.Lo < b.Lo;
        });
        for (size_t i = 0; i < lines->size(); ++i) {
            const TLine& a = (*lines)[i];
            for (size_t j = i + 1; j < lines->size() && (*lines)[j].At == a.At && (*lines)[j].Lo < a.Hi; ++j) {
                const TLine& b = (*lines)[j];
                if (a.Route != b.Route && !sharedLinkPoint(a, b)) ++st.Overlaps;
            }
        }
    }
    return st;
}

} // namespace mycad
