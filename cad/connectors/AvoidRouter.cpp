#include "cad/connectors/AvoidRouter.h"

#include "cad/connectors/ChannelSeparation.h"
#include "cad/connectors/RouteStats.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace mycad {

namespace {

float F(double v) { return static_cast<float>(v); }

THeading HeadingOf(const TMyPoint& a, const TMyPoint& b)
{
    if (a.Y == b.Y) return b.X > a.X ? THeading::hRight : b.X < a.X ? THeading::hLeft : THeading::hAny;
    if (a.X == b.X) return b.Y > a.Y ? THeading::hDown : THeading::hUp;
    return THeading::hAny;
}

/// Drops repeated points and middle points that lie on the way between
/// their neighbours; a route that doubles back keeps its turning point.
void Simplify(TArrMyPoint& pts)
{
    TArrMyPoint out;
    for (const TMyPoint& p : pts) {
        if (!out.empty() && out.back() == p) continue;
        if (out.size() >= 2) {
            const TMyPoint& a = out[out.size() - 2];
            const TMyPoint& b = out.back();
            const bool onX = a.Y == b.Y && b.Y == p.Y && (b.X - a.X) * (p.X - b.X) > 0;
            const bool onY = a.X == b.X && b.X == p.X && (b.Y - a.Y) * (p.Y - b.Y) > 0;
            if (onX || onY) out.pop_back();
        }
        out.push_back(p);
    }
    pts = std::move(out);
}

} // namespace

// ---- The scene.

void TAvoidRouter::SetObstacle(int32_t key, const TMyRect& box)
{
    FObstacles[key] = {std::min(box.Left, box.Right), std::min(box.Top, box.Bottom), std::max(box.Left, box.Right),
                       std::max(box.Top, box.Bottom)};
}

void TAvoidRouter::RemoveObstacle(int32_t key) { FObstacles.erase(key); }

void TAvoidRouter::SetConnector(int32_t key, const TRouterEnd& start, const TRouterEnd& end)
{
    TConnector& c = FConnectors[key];
    c.Start = start;
    c.End = end;
}

void TAvoidRouter::RemoveConnector(int32_t key) { FConnectors.erase(key); }

void TAvoidRouter::AdoptRoute(int32_t key, const TArrMyPoint& route, bool unroutable)
{
    const auto it = FConnectors.find(key);
    if (it == FConnectors.end()) return;
    it->second.Route = route;
    it->second.Unroutable = unroutable;
}

void TAvoidRouter::SetFixed(int32_t key, bool fixed)
{
    const auto it = FConnectors.find(key);
    if (it != FConnectors.end()) it->second.Fixed = fixed;
}

void TAvoidRouter::SetPin(int32_t key, const std::optional<TRoutePin>& pin)
{
    const auto it = FConnectors.find(key);
    if (it != FConnectors.end()) it->second.Pin = pin;
}

void TAvoidRouter::Clear()
{
    FObstacles.clear();
    FConnectors.clear();
}

// ---- Ports and the grid.

TGridBox TAvoidRouter::Grown(const TMyRect& box) const
{
    // Rounded to float like every point of a route, so a port on a grown
    // edge lies exactly on it.
    const double m = FOptions.Margin;
    return {F(double(box.Left) - m), F(double(box.Top) - m), F(double(box.Right) + m), F(double(box.Bottom) + m)};
}

TAvoidRouter::TPort TAvoidRouter::PortOf(const TRouterEnd& end) const
{
    TPort port{end.Point, end.Point, THeading::hAny, -1};
    auto box = FObstacles.find(end.Shape);
    if (box == FObstacles.end()) {
        // A free end dropped on a shape belongs to that shape: the route
        // leaves it as it would leave a link point there.
        box = std::find_if(FObstacles.begin(), FObstacles.end(),
                           [&](const auto& o) { return Grown(o.second).Holds(end.Point.X, end.Point.Y); });
        if (box == FObstacles.end()) return port;
    }
    port.Shape = box->first;
    const TMyRect& r = box->second;
    const TMyPoint& p = end.Point;
    // The side nearest the point; the route leaves at right angles to it.
    const double d[4] = {std::fabs(double(p.X) - r.Left), std::fabs(double(p.Y) - r.Top), std::fabs(double(r.Right) - p.X),
                         std::fabs(double(r.Bottom) - p.Y)};
    const auto side = static_cast<int32_t>(std::min_element(d, d + 4) - d);
    // The stub out of the box is the margin long, or half the gap to a shape
    // standing closer than two margins in front of the side, so that it ends
    // between the two.
    double stub = FOptions.Margin;
    const bool horizontal = side == 0 || side == 2;
    const double sign = side < 2 ? -1.0 : 1.0;
    for (const auto& [key, other] : FObstacles) {
        if (key == box->first) continue;
        const bool across = horizontal ? (p.Y > other.Top && p.Y < other.Bottom) : (p.X > other.Left && p.X < other.Right);
        if (!across) continue;
        const double near = horizontal ? (sign < 0 ? double(p.X) - other.Right : double(other.Left) - p.X)
                                       : (sign < 0 ? double(p.Y) - other.Bottom : double(other.Top) - p.Y);
        if (near > 0 && near < 2 * FOptions.Margin) stub = std::min(stub, near / 2);
    }
    const TGridBox g{double(r.Left) - stub, double(r.Top) - stub, double(r.Right) + stub, double(r.Bottom) + stub};
    switch (side) {
    case 0: port.Port = {F(std::min(double(p.X), g.L)), p.Y}; port.Out = THeading::hLeft; break;
    case 1: port.Port = {p.X, F(std::min(double(p.Y), g.T))}; port.Out = THeading::hUp; break;
    case 2: port.Port = {F(std::max(double(p.X), g.R)), p.Y}; port.Out = THeading::hRight; break;
    default: port.Port = {p.X, F(std::max(double(p.Y), g.B))}; port.Out = THeading::hDown; break;
    }
    return port;
}

void TAvoidRouter::BuildGrid()
{
    FGrownBoxes.clear();
    FGrownKeys.clear();
    for (const auto& [key, box] : FObstacles) {
        FGrownBoxes.push_back(Grown(box));
        FGrownKeys.push_back(key);
    }
    std::vector<TMyPoint> points;
    std::vector<std::pair<TMyPoint, THeading>> rays;
    for (const auto& [key, c] : FConnectors) {
        for (const TPort& port : {PortOf(c.Start), PortOf(c.End)}) {
            points.push_back(port.Port);
            rays.emplace_back(port.Port, port.Out);
        }
        if (c.Pin) {
            const TRoutePin& pin = *c.Pin;
            points.push_back(pin.Horizontal ? TMyPoint{pin.From, pin.At} : TMyPoint{pin.At, pin.From});
            points.push_back(pin.Horizontal ? TMyPoint{pin.To, pin.At} : TMyPoint{pin.At, pin.To});
        }
    }
    FGrid.Build(FGrownBoxes, points);
    FGrid.MarkRays(rays);
}

// ---- Routing.

void TAvoidRouter::RouteOne(TConnector& c)
{
    const TPort s = PortOf(c.Start);
    const TPort e = PortOf(c.End);
    const THeading in = Opposite(e.Out);
    const double penalty = FOptions.BendPenalty;
    std::vector<std::pair<TGridBox, TGridBox>> relaxed;
    auto search = [&](const TMyPoint& from, THeading fromHeading, const TMyPoint& to, THeading toHeading) {
        TRouteGrid::TQuery q{from, fromHeading, to, toHeading, FOptions.RayCost, relaxed};
        return FGrid.Search(q, penalty);
    };
    auto routeBetween = [&]() {
        TArrMyPoint middle;
        if (c.Pin && c.Pin->From != c.Pin->To) {
            const TRoutePin& pin = *c.Pin;
            const TMyPoint a = pin.Horizontal ? TMyPoint{pin.From, pin.At} : TMyPoint{pin.At, pin.From};
            const TMyPoint b = pin.Horizontal ? TMyPoint{pin.To, pin.At} : TMyPoint{pin.At, pin.To};
            const THeading along = HeadingOf(a, b);
            const TArrMyPoint first = search(s.Port, s.Out, a, along);
            const TArrMyPoint pinned = first.empty() ? TArrMyPoint{} : search(a, along, b, along);
            const TArrMyPoint last = pinned.empty() ? TArrMyPoint{} : search(b, along, e.Port, in);
            if (!last.empty()) {
                middle = first;
                middle.insert(middle.end(), pinned.begin(), pinned.end());
                middle.insert(middle.end(), last.begin(), last.end());
            }
        }
        // A pin the shapes now cover gives way: the route is automatic again.
        if (middle.empty()) middle = search(s.Port, s.Out, e.Port, in);
        return middle;
    };
    TArrMyPoint middle = routeBetween();
    if (middle.empty()) {
        // Shapes closer together than twice the margin leave no route that
        // keeps the margin to its own ends; it may come as close to them as
        // their real edges.
        for (const int32_t shape : {s.Shape, e.Shape}) {
            const auto box = FObstacles.find(shape);
            if (box == FObstacles.end()) continue;
            const TMyRect& r = box->second;
            relaxed.push_back({Grown(r), {r.Left, r.Top, r.Right, r.Bottom}});
        }
        if (!relaxed.empty()) middle = routeBetween();
        // Ends on shapes that overlap each other: the route may cross them,
        // as it may cross nothing else.
        if (middle.empty() && !relaxed.empty()) {
            for (auto& [grown, real] : relaxed) real = {};
            middle = routeBetween();
        }
    }
    c.Unroutable = middle.empty();
    TArrMyPoint route{s.Point};
    if (c.Unroutable) {
        route.insert(route.end(), {s.Port, {e.Port.X, s.Port.Y}, e.Port});
    } else {
        route.insert(route.end(), middle.begin(), middle.end());
    }
    route.push_back(e.Point);
    Simplify(route);
    c.Route = std::move(route);
    if (!c.Unroutable && !IsClear(c)) c.Unroutable = true;
}

bool TAvoidRouter::IsClear(const TConnector& c) const
{
    const int32_t s = PortOf(c.Start).Shape;
    const int32_t e = PortOf(c.End).Shape;
    for (size_t b = 0; b < FGrownBoxes.size(); ++b) {
        if (FGrownKeys[b] == s || FGrownKeys[b] == e) continue;
        for (size_t k = 0; k + 1 < c.Route.size(); ++k) {
            if (SegmentEntersBox(c.Route[k], c.Route[k + 1], FGrownBoxes[b])) return false;
        }
    }
    return true;
}

void TAvoidRouter::Separate(const std::vector<int32_t>& movable, bool full)
{
    TSeparationRoutes routes;
    std::vector<const TConnector*> order;
    const std::set<int32_t> moving(movable.begin(), movable.end());
    for (auto& [key, c] : FConnectors) {
        routes.Routes.push_back(&c.Route);
        routes.Movable.push_back(!c.Unroutable && !c.Fixed && (full || moving.count(key) != 0));
        order.push_back(&c);
    }
    routes.Pinned = [&order](size_t r, size_t k) {
        const TConnector& c = *order[r];
        if (!c.Pin) return false;
        const TMyPoint& a = c.Route[k];
        const TMyPoint& b = c.Route[k + 1];
        return c.Pin->Horizontal ? (a.Y == c.Pin->At && b.Y == c.Pin->At) : (a.X == c.Pin->At && b.X == c.Pin->At);
    };
    if (full) {
        SeparateChannels(routes, FGrownBoxes, FOptions.Spacing);
    } else {
        SeparateMoved(routes, FGrownBoxes, FOptions.Spacing);
    }
}

void TAvoidRouter::RouteAll()
{
    BuildGrid();
    for (auto& [key, c] : FConnectors) {
        if (!c.Fixed) RouteOne(c);
    }
    Separate({}, true);
}

void TAvoidRouter::Reroute(const std::vector<int32_t>& keys)
{
    BuildGrid();
    std::vector<int32_t> routed;
    for (const int32_t key : keys) {
        const auto it = FConnectors.find(key);
        if (it == FConnectors.end() || it->second.Fixed) continue;
        RouteOne(it->second);
        routed.push_back(key);
    }
    Separate(routed, false);
}

std::vector<int32_t> TAvoidRouter::MoveObstacle(int32_t key, const TMyRect& box)
{
    SetObstacle(key, box);
    const TGridBox g = Grown(FObstacles[key]);
    std::vector<int32_t> affected;
    for (const auto& [k, c] : FConnectors) {
        if (c.Fixed) continue;
        bool touched = c.Unroutable || c.Start.Shape == key || c.End.Shape == key;
        for (size_t i = 0; !touched && i + 1 < c.Route.size(); ++i) touched = SegmentEntersBox(c.Route[i], c.Route[i + 1], g);
        if (touched) affected.push_back(k);
    }
    Reroute(affected);
    return affected;
}

double TAvoidRouter::RouteCost(const TRouterEnd& start, const TRouterEnd& end)
{
    TConnector probe;
    probe.Start = start;
    probe.End = end;
    RouteOne(probe);
    if (probe.Unroutable) return -1;
    double cost = 0;
    for (size_t k = 0; k + 1 < probe.Route.size(); ++k) {
        const TMyPoint& a = probe.Route[k];
        const TMyPoint& b = probe.Route[k + 1];
        cost += std::fabs(double(b.X) - a.X) + std::fabs(double(b.Y) - a.Y);
        if (k > 0) cost += FOptions.BendPenalty;
    }
    return cost;
}

// ---- Results.

const TArrMyPoint* TAvoidRouter::RouteOf(int32_t key) const
{
    const auto it = FConnectors.find(key);
    return it == FConnectors.end() ? nullptr : &it->second.Route;
}

bool TAvoidRouter::IsUnroutable(int32_t key) const
{
    const auto it = FConnectors.find(key);
    return it != FConnectors.end() && it->second.Unroutable;
}

std::vector<int32_t> TAvoidRouter::Unroutable() const
{
    std::vector<int32_t> keys;
    for (const auto& [key, c] : FConnectors) {
        if (c.Unroutable) keys.push_back(key);
    }
    return keys;
}

std::vector<int32_t> TAvoidRouter::Keys() const
{
    std::vector<int32_t> keys;
    for (const auto& [key, c] : FConnectors) keys.push_back(key);
    return keys;
}

std::vector<int32_t> TAvoidRouter::ObstacleKeys() const
{
    std::vector<int32_t> keys;
    for (const auto& [key, box] : FObstacles) keys.push_back(key);
    return keys;
}

const TRouterEnd* TAvoidRouter::StartOf(int32_t key) const
{
    const auto it = FConnectors.find(key);
    return it == FConnectors.end() ? nullptr : &it->second.Start;
}

const TRouterEnd* TAvoidRouter::EndOf(int32_t key) const
{
    const auto it = FConnectors.find(key);
    return it == FConnectors.end() ? nullptr : &it->second.End;
}

std::optional<TMyRect> TAvoidRouter::BoxOf(int32_t key) const
{
    const auto it = FObstacles.find(key);
    if (it == FObstacles.end()) return std::nullopt;
    return it->second;
}

std::optional<TGridBox> TAvoidRouter::GrownBoxOf(int32_t key) const
{
    const auto it = FObstacles.find(key);
    if (it == FObstacles.end()) return std::nullopt;
    return Grown(it->second);
}

} // namespace mycad
