#include "cad/connectors/Routing.h"

#include <algorithm>
#include <cmath>

namespace mycad {

namespace {

// The walk moves 15 pixels a step, counts a leg's target as reached within
// 20 pixels in both directions, and looks for obstacles only during the
// first 10 steps of a call: far legs are taken as planned, which keeps a
// re-route of many connectors cheap.
constexpr double kStep = 15.0;
constexpr double kReached = 20.0;
constexpr int32_t kMaxSteps = 10;
constexpr int32_t kObstacleMargin = 10;
constexpr double kDetourMargin = 20.0;
// Middle points this close (document units) to the line through their
// neighbours are noise left by editing and re-routing.
constexpr double kNear = 10.0;

float F(double v) { return static_cast<float>(v); }

TMyPoint Offset(const TMyPoint& p, Tdirections d)
{
    switch (d) {
    case Tdirections::dLeft: return {F(double(p.X) - kStep), p.Y};
    case Tdirections::dbottom: return {p.X, F(double(p.Y) + kStep)};
    case Tdirections::dRight: return {F(double(p.X) + kStep), p.Y};
    case Tdirections::dTop: return {p.X, F(double(p.Y) - kStep)};
    case Tdirections::dNone: break;
    }
    return p;
}

bool Near(float a, float b) { return std::fabs(double(a) - double(b)) <= kNear; }

/// Pushes the legs so that the first one ends on top of the stack.
void PushLegs(TArrDirAndPoints& stack, const TArrDirAndPoints& legs)
{
    for (auto it = legs.rbegin(); it != legs.rend(); ++it) stack.push_back(*it);
}

} // namespace

int32_t IsLineHV(const TMyPoint& a, const TMyPoint& b)
{
    return std::fabs(double(b.Y) - a.Y) > std::fabs(double(b.X) - a.X) ? 2 : 1;
}

int32_t SplitALine(const TMyPoint& a, const TMyPoint& b, TMyPoint& mid)
{
    const int32_t hv = IsLineHV(a, b);
    if (hv == 1) {
        mid = {F(double(a.X) + (double(b.X) - a.X) / 2.0), a.Y};
    } else {
        mid = {a.X, F(double(a.Y) + (double(b.Y) - a.Y) / 2.0)};
    }
    return hv;
}

void GetDirSteps(const TMyPoint& a, const TMyPoint& b, Tdirections dir, TArrDirAndPoints& steps)
{
    steps.clear();
    const Tdirections h = b.X > a.X ? Tdirections::dRight : Tdirections::dLeft;
    const Tdirections v = b.Y > a.Y ? Tdirections::dbottom : Tdirections::dTop;
    if (dir == Tdirections::dLeft || dir == Tdirections::dRight) {
        if (b.Y != a.Y) steps.push_back({v, {a.X, b.Y}});
        if (b.X != a.X) steps.push_back({h, b});
        return;
    }
    if (b.X != a.X) steps.push_back({h, {b.X, a.Y}});
    if (b.Y != a.Y) steps.push_back({v, b});
}

int32_t TRouteObstacles::At(const TMyPoint& p) const
{
    const TPoint q = MyPtToPt(p);
    for (size_t i = 0; i < Boxes.size(); ++i) {
        const TRect r = ExpandRect(myRecttoRect(Boxes[i]), kObstacleMargin);
        if (PtInRect(r, q)) return static_cast<int32_t>(i);
    }
    return -1;
}

TArrMyPoint RouteOrthogonal(const TRouteEnd& start, const TRouteEnd& end, Tdirections dir,
                            const TRouteObstacles& obstacles, bool aroundShapes)
{
    TArrMyPoint route{start.Point, end.Point};
    TMyPoint cur = start.Point;
    TMyPoint goal = end.Point;
    if (start.OnShape) {
        route.insert(route.begin() + 1, start.Junction ? start.Point : start.Exit);
        if (!start.Junction) cur = start.Exit;
    }
    if (end.OnShape) {
        route.insert(route.end() - 1, end.Junction ? end.Point : end.Exit);
        if (!end.Junction) goal = end.Exit;
    }
    // Corners go before the end's exit point (and the end).
    auto insertCorner = [&](const TMyPoint& p) { route.insert(route.end() - (end.OnShape ? 2 : 1), p); };

    TArrDirAndPoints stack;
    TArrDirAndPoints legs;
    GetDirSteps(cur, goal, dir, legs);
    PushLegs(stack, legs);
    int32_t steps = 0;
    while (!stack.empty()) {
        TDirAndPoint leg = stack.back();
        stack.pop_back();
        TMyPoint p = cur;
        TMyPoint c = cur;
        while (std::fabs(double(c.X) - leg.Apoint.X) > kReached || std::fabs(double(c.Y) - leg.Apoint.Y) > kReached) {
            c = Offset(p, leg.Dir);
            if (++steps > kMaxSteps) break;
            const int32_t a = obstacles.At(c);
            if (a < 0 || a == obstacles.At(leg.Apoint)) {
                p = c;
                continue;
            }
            // The step would enter a combined shape that does not hold the
            // target: turn here, round the shape on the side nearer the target.
            insertCorner(p);
            TDirAndPoint detour{leg.Dir, p};
            if (aroundShapes) {
                const TMyRect& b = obstacles.Boxes[static_cast<size_t>(a)];
                const double left = double(b.Left) - kDetourMargin;
                const double right = double(b.Right) + kDetourMargin;
                const double top = double(b.Top) - kDetourMargin;
                const double bottom = double(b.Bottom) + kDetourMargin;
                const double tx = leg.Apoint.X;
                const double ty = leg.Apoint.Y;
                if (leg.Dir == Tdirections::dTop || leg.Dir == Tdirections::dbottom) {
                    detour = std::fabs(tx - right) <= std::fabs(tx - left) ? TDirAndPoint{Tdirections::dRight, {F(right), p.Y}}
                                                                            : TDirAndPoint{Tdirections::dLeft, {F(left), p.Y}};
                } else {
                    detour = std::fabs(ty - bottom) > std::fabs(ty - top) ? TDirAndPoint{Tdirections::dTop, {p.X, F(top)}}
                                                                           : TDirAndPoint{Tdirections::dbottom, {p.X, F(bottom)}};
                }
            }
            if (!stack.empty()) stack.pop_back();
            GetDirSteps(detour.Apoint, goal, detour.Dir, legs);
            PushLegs(stack, legs);
            leg = detour;
        }
        insertCorner(leg.Apoint);
        cur = leg.Apoint;
    }
    return route;
}

TArrMyPoint ZRoute(const TMyPoint& s, const TMyPoint& e)
{
    if (std::fabs(double(s.X) - e.X) > std::fabs(double(s.Y) - e.Y)) {
        const float mx = F(std::min(double(s.X), double(e.X)) + std::fabs(double(e.X) - s.X) / 2.0);
        return {s, {mx, s.Y}, {mx, e.Y}, e};
    }
    const float my = F(std::min(double(s.Y), double(e.Y)) + std::fabs(double(e.Y) - s.Y) / 2.0);
    return {s, {s.X, my}, {e.X, my}, e};
}

bool MergeRoutePoints(TArrMyPoint& pts, bool startAttached, bool endAttached, const TMyPoint& s,
                      const TMyPoint& e)
{
    if (pts.size() < 2) return false;
    bool changed = false;
    const auto dup = std::unique(pts.begin(), pts.end());
    if (dup != pts.end()) {
        pts.erase(dup, pts.end());
        changed = true;
    }
    const bool both = startAttached && endAttached;
    // A short route between two attached ends is kept point for point; only
    // a longer one, or one with a free end, loses its near-collinear points.
    for (bool again = !(pts.size() <= 4 && both); again;) {
        again = false;
        for (size_t i = 1; i + 1 < pts.size(); ++i) {
            TMyPoint& before = pts[i - 1];
            TMyPoint& after = pts[i + 1];
            // The moved coordinate keeps the end that is attached.
            const bool keepAfter = endAttached && i + 1 == pts.size() - 1;
            if (Near(pts[i].X, before.X) && Near(pts[i].X, after.X)) {
                (keepAfter ? before.X : after.X) = keepAfter ? after.X : before.X;
            } else if (Near(pts[i].Y, before.Y) && Near(pts[i].Y, after.Y)) {
                (keepAfter ? before.Y : after.Y) = keepAfter ? after.Y : before.Y;
            } else {
                continue;
            }
            pts.erase(pts.begin() + static_cast<std::ptrdiff_t>(i));
            changed = again = true;
            break;
        }
    }
    if (pts.size() > 2 || !both) return changed;
    if (pts.front() == s && pts.back() == e) return changed;
    pts = ZRoute(s, e);
    return true;
}

THopPlan PlanHops(const TMyPoint& a, const TMyPoint& b, std::vector<float> crossings, int32_t r)
{
    THopPlan plan;
    const TMyPoint start = a.X > b.X ? b : a;
    const TMyPoint end = a.X > b.X ? a : b;
    TMyPoint current = start;
    std::stable_sort(crossings.begin(), crossings.end());
    for (const float x : crossings) {
        const TMyPoint left{F(double(x) - r), current.Y};
        const TMyPoint right{F(double(x) + r), current.Y};
        if (!(end.X > right.X && left.X > current.X)) continue;
        plan.Pieces.emplace_back(current, left);
        plan.Hops.push_back({x, current.Y});
        current = right;
    }
    plan.Pieces.emplace_back(current, end);
    return plan;
}

void EditRouteByHandle(TArrMyPoint& pts, int32_t h, double dx, double dy, bool startAttached, bool endAttached)
{
    const auto count = static_cast<int32_t>(pts.size());
    if (h < 0 || count < 2) return;
    auto at = [&pts](int32_t i) -> TMyPoint& { return pts[static_cast<size_t>(i)]; };
    auto insertTwice = [&pts](int32_t before, const TMyPoint& p) {
        pts.insert(pts.begin() + before, 2, p);
    };
    auto last = [&pts]() { return static_cast<int32_t>(pts.size()) - 1; };
    if (h >= count) {
        int32_t s = h - count;
        if (s >= count - 1) return;
        TMyPoint mid;
        TMyPoint q;
        if (startAttached && s == 0) {
            SplitALine(at(0), at(1), mid);
            SplitALine(at(0), mid, q);
            insertTwice(1, q);
            s = 2;
        }
        if (endAttached && s == last() - 1) {
            SplitALine(at(s), at(s + 1), mid);
            SplitALine(at(s + 1), mid, q);
            insertTwice(s + 1, q);
        }
        if (IsLineHV(at(s), at(s + 1)) == 1) {
            at(s).Y = F(double(at(s).Y) + dy);
            at(s + 1).Y = F(double(at(s + 1).Y) + dy);
        }
        if (IsLineHV(at(s), at(s + 1)) == 2) {
            at(s).X = F(double(at(s).X) + dx);
            at(s + 1).X = F(double(at(s + 1).X) + dx);
        }
        return;
    }
    int32_t v = h;
    TMyPoint mid;
    if (startAttached && v == 1) {
        SplitALine(at(0), at(1), mid);
        insertTwice(1, mid);
        v = 3;
    }
    if (endAttached && v == last() - 1) {
        SplitALine(at(v), at(v + 1), mid);
        insertTwice(v + 1, mid);
    }
    auto follow = [&](int32_t n) {
        if (n < 0 || n > last()) return;
        if (IsLineHV(at(v), at(n)) == 1) {
            at(n).Y = F(double(at(n).Y) + dy);
        } else {
            at(n).X = F(double(at(n).X) + dx);
        }
    };
    follow(v + 1);
    follow(v - 1);
    at(v) = {F(double(at(v).X) + dx), F(double(at(v).Y) + dy)};
}

int32_t BreakableSegment(const TArrMyPoint& points, TMyPoint& p, double tolerance)
{
    for (size_t j = 0; j + 1 < points.size(); ++j) {
        const TMyPoint& a = points[j];
        const TMyPoint& b = points[j + 1];
        if (IsLineHV(a, b) == 1) {
            const bool inside = (p.X > a.X && p.X < b.X) || (p.X > b.X && p.X < a.X);
            if (inside && double(p.Y) >= double(a.Y) - tolerance && double(p.Y) <= double(a.Y) + tolerance) {
                p.Y = a.Y;
                return static_cast<int32_t>(j);
            }
        } else {
            const bool inside = (p.Y > a.Y && p.Y < b.Y) || (p.Y > b.Y && p.Y < a.Y);
            if (inside && double(p.X) >= double(a.X) - tolerance && double(p.X) <= double(a.X) + tolerance) {
                p.X = a.X;
                return static_cast<int32_t>(j);
            }
        }
    }
    return -1;
}

} // namespace mycad
