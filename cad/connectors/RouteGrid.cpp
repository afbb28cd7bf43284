#include "cad/connectors/RouteGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>

namespace mycad {

namespace {

constexpr uint32_t kNoParent = std::numeric_limits<uint32_t>::max();

void SortUnique(std::vector<double>& v)
{
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
}

int32_t IndexOf(const std::vector<double>& v, double x)
{
    const auto it = std::lower_bound(v.begin(), v.end(), x);
    if (it == v.end() || *it != x) return -1;
    return static_cast<int32_t>(it - v.begin());
}

/// The fewest turns any route from heading h needs to cover (dx, dy); the
/// arrival heading is not counted, so the estimate never overshoots.
int32_t MinBends(THeading h, double dx, double dy)
{
    if (dx == 0.0 && dy == 0.0) return 0;
    if (h == THeading::hAny) return (dx != 0.0 && dy != 0.0) ? 1 : 0;
    int32_t sx = 0;
    int32_t sy = 0;
    HeadingStep(h, sx, sy);
    const bool horizontal = sx != 0;
    const double along = horizontal ? dx * sx : dy * sy;
    const double across = horizontal ? dy : dx;
    if (across == 0.0) return along > 0.0 ? 0 : 2;
    return along >= 0.0 ? 1 : 2;
}

} // namespace

THeading Opposite(THeading h)
{
    switch (h) {
    case THeading::hLeft: return THeading::hRight;
    case THeading::hRight: return THeading::hLeft;
    case THeading::hUp: return THeading::hDown;
    case THeading::hDown: return THeading::hUp;
    case THeading::hAny: break;
    }
    return THeading::hAny;
}

void HeadingStep(THeading h, int32_t& dx, int32_t& dy)
{
    dx = h == THeading::hLeft ? -1 : h == THeading::hRight ? 1 : 0;
    dy = h == THeading::hUp ? -1 : h == THeading::hDown ? 1 : 0;
}

void TRouteGrid::Build(const std::vector<TGridBox>& boxes, const std::vector<TMyPoint>& points)
{
    FXs.clear();
    FYs.clear();
    for (const TGridBox& b : boxes) {
        FXs.push_back(b.L);
        FXs.push_back(b.R);
        FYs.push_back(b.T);
        FYs.push_back(b.B);
    }
    for (const TMyPoint& p : points) {
        FXs.push_back(p.X);
        FYs.push_back(p.Y);
    }
    SortUnique(FXs);
    SortUnique(FYs);
    FCells.assign(NodeCount(), {});
    FRaysRight.assign(NodeCount(), 0);
    FRaysDown.assign(NodeCount(), 0);
    for (const TGridBox& b : boxes) {
        const int32_t il = IndexOf(FXs, b.L);
        const int32_t ir = IndexOf(FXs, b.R);
        const int32_t jt = IndexOf(FYs, b.T);
        const int32_t jb = IndexOf(FYs, b.B);
        if (il < 0 || ir <= il || jt < 0 || jb <= jt) continue;
        for (int32_t j = jt; j <= jb; ++j) {
            for (int32_t i = il; i <= ir; ++i) {
                TCell& c = FCells[Node(i, j)];
                const bool innerRow = j > jt && j < jb;
                const bool innerColumn = i > il && i < ir;
                auto add = [](uint16_t& n) { n = n == UINT16_MAX ? n : uint16_t(n + 1); };
                if (innerRow && innerColumn) add(c.Node);
                if (innerRow && i < ir) add(c.Right);
                if (innerColumn && j < jb) add(c.Down);
            }
        }
    }
}

void TRouteGrid::MarkRays(const std::vector<std::pair<TMyPoint, THeading>>& rays)
{
    for (const auto& [p, h] : rays) {
        int32_t i = Column(p.X);
        int32_t j = Row(p.Y);
        if (i < 0 || j < 0 || h == THeading::hAny || NodeClosed(i, j)) continue;
        int32_t ni = 0;
        int32_t nj = 0;
        while (Step(i, j, h, ni, nj)) {
            uint8_t& count = (nj == j ? FRaysRight : FRaysDown)[Node(std::min(i, ni), std::min(j, nj))];
            if (count < 255) ++count;
            i = ni;
            j = nj;
        }
    }
}

int32_t TRouteGrid::Column(double x) const { return IndexOf(FXs, x); }

int32_t TRouteGrid::Row(double y) const { return IndexOf(FYs, y); }

bool TRouteGrid::Step(int32_t i, int32_t j, THeading h, int32_t& ni, int32_t& nj) const
{
    const auto nx = static_cast<int32_t>(FXs.size());
    const auto ny = static_cast<int32_t>(FYs.size());
    ni = i;
    nj = j;
    switch (h) {
    case THeading::hLeft:
        if (i == 0 || EdgeClosed(i - 1, j, true)) return false;
        --ni;
        break;
    case THeading::hRight:
        if (i + 1 >= nx || EdgeClosed(i, j, true)) return false;
        ++ni;
        break;
    case THeading::hUp:
        if (j == 0 || EdgeClosed(i, j - 1, false)) return false;
        --nj;
        break;
    case THeading::hDown:
        if (j + 1 >= ny || EdgeClosed(i, j, false)) return false;
        ++nj;
        break;
    case THeading::hAny: return false;
    }
    return !NodeClosed(ni, nj);
}

bool TRouteGrid::NodeClosed(int32_t i, int32_t j) const
{
    int32_t count = FCells[Node(i, j)].Node;
    if (count == 0 || !FRelaxed || FRelaxed->empty()) return count > 0;
    const double x = FXs[size_t(i)];
    const double y = FYs[size_t(j)];
    for (const auto& [grown, real] : *FRelaxed) {
        if (real.Holds(x, y)) return true;
        if (grown.Holds(x, y)) --count;
    }
    return count > 0;
}

bool TRouteGrid::EdgeClosed(int32_t i, int32_t j, bool horizontal) const
{
    const TCell& c = FCells[Node(i, j)];
    int32_t count = horizontal ? c.Right : c.Down;
    if (!FRelaxed || FRelaxed->empty()) return count > 0;
    const double x0 = FXs[size_t(i)];
    const double y0 = FYs[size_t(j)];
    const double x1 = horizontal ? FXs[size_t(i) + 1] : x0;
    const double y1 = horizontal ? y0 : FYs[size_t(j) + 1];
    for (const auto& [grown, real] : *FRelaxed) {
        const bool inReal = horizontal ? (y0 > real.T && y0 < real.B && x1 > real.L && x0 < real.R)
                                       : (x0 > real.L && x0 < real.R && y1 > real.T && y0 < real.B);
        if (inReal) return true;
        const bool inGrown = horizontal ? (y0 > grown.T && y0 < grown.B && x0 >= grown.L && x1 <= grown.R)
                                        : (x0 > grown.L && x0 < grown.R && y0 >= grown.T && y1 <= grown.B);
        if (inGrown && count > 0) --count;
    }
    return count > 0;
}

TArrMyPoint TRouteGrid::Search(const TQuery& q, double bendPenalty)
{
    const int32_t si = Column(q.From.X);
    const int32_t sj = Row(q.From.Y);
    const int32_t gi = Column(q.To.X);
    const int32_t gj = Row(q.To.Y);
    if (si < 0 || sj < 0 || gi < 0 || gj < 0) return {};
    FRelaxed = &q.Relaxed;
    struct TForget {
        const std::vector<std::pair<TGridBox, TGridBox>>*& Relaxed;
        ~TForget() { Relaxed = nullptr; }
    } forget{FRelaxed};
    if (NodeClosed(si, sj) || NodeClosed(gi, gj)) return {};

    const size_t states = NodeCount() * 4 + 1;
    const auto target = static_cast<uint32_t>(states - 1);
    if (FCost.size() < states) {
        FCost.resize(states);
        FStamp.assign(states, 0);
        FParent.resize(states);
    }
    if (++FRun == 0) {
        std::fill(FStamp.begin(), FStamp.end(), 0);
        FRun = 1;
    }
    const double gx = FXs[size_t(gi)];
    const double gy = FYs[size_t(gj)];
    const size_t goalNode = Node(gi, gj);

    struct TOpen {
        double F;
        double G;
        uint32_t State;
        // Cheapest estimate first; among equals the one further along, which
        // keeps A* from fanning out over the many equally short routes.
        bool operator<(const TOpen& o) const { return F != o.F ? F > o.F : G < o.G; }
    };
    std::priority_queue<TOpen> open;
    auto relax = [&](uint32_t s, double g, uint32_t parent, double h) {
        if (FStamp[s] == FRun && FCost[s] <= g) return;
        FStamp[s] = FRun;
        FCost[s] = g;
        FParent[s] = parent;
        open.push({g + h, g, s});
    };
    auto estimate = [&](size_t node, THeading h) {
        const double x = FXs[node % FXs.size()];
        const double y = FYs[node / FXs.size()];
        const double dx = gx - x;
        const double dy = gy - y;
        return std::fabs(dx) + std::fabs(dy) + bendPenalty * MinBends(h, dx, dy);
    };
    // The route's own rays: along the start's heading from the start, and
    // back out of the goal against the arrival heading.
    auto onRay = [](int32_t i, int32_t j, int32_t ni, int32_t nj, int32_t ri, int32_t rj, THeading out) {
        int32_t dx = 0;
        int32_t dy = 0;
        HeadingStep(out, dx, dy);
        if (dx != 0) return nj == j && j == rj && (dx > 0 ? std::min(i, ni) >= ri : std::max(i, ni) <= ri);
        if (dy != 0) return ni == i && i == ri && (dy > 0 ? std::min(j, nj) >= rj : std::max(j, nj) <= rj);
        return false;
    };
    const THeading goalOut = Opposite(q.ToHeading);
    auto OnForeignRay = [&](int32_t i, int32_t j, int32_t ni, int32_t nj) {
        int32_t count = (nj == j ? FRaysRight : FRaysDown)[Node(std::min(i, ni), std::min(j, nj))];
        if (onRay(i, j, ni, nj, si, sj, q.FromHeading)) --count;
        if (onRay(i, j, ni, nj, gi, gj, goalOut)) --count;
        return count > 0;
    };
    const size_t startNode = Node(si, sj);
    for (int32_t h = 0; h < 4; ++h) {
        const auto heading = static_cast<THeading>(h);
        if (q.FromHeading != THeading::hAny && heading != q.FromHeading) continue;
        relax(static_cast<uint32_t>(startNode * 4 + size_t(h)), 0.0, kNoParent, estimate(startNode, heading));
    }
    bool found = false;
    while (!open.empty()) {
        const TOpen top = open.top();
        open.pop();
        if (FStamp[top.State] != FRun || top.G > FCost[top.State]) continue;
        if (top.State == target) {
            found = true;
            break;
        }
        const size_t node = top.State / 4;
        const auto h = static_cast<THeading>(top.State % 4);
        if (node == goalNode) {
            double arrive = 0.0;
            if (q.ToHeading != THeading::hAny && h != q.ToHeading) arrive = h == Opposite(q.ToHeading) ? 2 * bendPenalty : bendPenalty;
            relax(target, top.G + arrive, top.State, 0.0);
        }
        const auto i = static_cast<int32_t>(node % FXs.size());
        const auto j = static_cast<int32_t>(node / FXs.size());
        for (int32_t d = 0; d < 4; ++d) {
            const auto heading = static_cast<THeading>(d);
            if (heading == Opposite(h)) continue;
            int32_t ni = 0;
            int32_t nj = 0;
            if (!Step(i, j, heading, ni, nj)) continue;
            double len = std::fabs(FXs[size_t(ni)] - FXs[size_t(i)]) + std::fabs(FYs[size_t(nj)] - FYs[size_t(j)]);
            if (q.RayCost > 0 && OnForeignRay(i, j, ni, nj)) len *= 1.0 + q.RayCost;
            const size_t next = Node(ni, nj);
            relax(static_cast<uint32_t>(next * 4 + size_t(d)), top.G + len + (heading != h ? bendPenalty : 0.0), top.State,
                  estimate(next, heading));
        }
    }
    if (!found) return {};
    TArrMyPoint route;
    for (uint32_t s = FParent[target]; s != kNoParent; s = FParent[s]) {
        const size_t node = s / 4;
        const TMyPoint p{static_cast<float>(FXs[node % FXs.size()]), static_cast<float>(FYs[node / FXs.size()])};
        // Keep corners only: a point in line with both neighbours adds nothing.
        if (route.size() >= 2) {
            const TMyPoint& a = route[route.size() - 2];
            const TMyPoint& b = route.back();
            if ((a.X == b.X && b.X == p.X) || (a.Y == b.Y && b.Y == p.Y)) route.pop_back();
        }
        if (route.empty() || route.back() != p) route.push_back(p);
    }
    std::reverse(route.begin(), route.end());
    return route;
}

} // namespace mycad
