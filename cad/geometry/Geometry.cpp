#include "cad/geometry/Geometry.h"

#include "platform/Messages.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <numbers>

namespace mycad {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

float ToFloat(double v) { return static_cast<float>(v); }

template <typename Array>
bool IsIndexOf(int32_t id, const Array& points)
{
    return id >= 0 && static_cast<size_t>(id) < points.size();
}

template <typename Array, typename Point>
bool InsertBefore(const Point& p, int32_t id, Array& points)
{
    if (!IsIndexOf(id, points)) return false;
    try {
        points.insert(points.begin() + id, p);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

// One whole turn toward zero, in double and stored back to float. When the
// angle is so large that a turn no longer changes its float value, the
// remainder is taken instead so the folding always ends.
float TurnTowardZero(float angle, double turn)
{
    const float next = ToFloat(double(angle) - turn);
    if (next != angle) return next;
    return ToFloat(std::fmod(double(angle), kTwoPi));
}

// The unsigned angle between the segment p-q and the vertical; a level
// segment (or one whose slope cannot be computed) gives pi/2.
double AngleFromVertical(const TMyPoint& p, const TMyPoint& q)
{
    if (p.Y == q.Y) return kPi / 2.0;
    const double t = std::atan((double(p.X) - double(q.X)) / (double(p.Y) - double(q.Y)));
    return std::isfinite(t) ? std::fabs(t) : kPi / 2.0;
}

} // namespace

TMyPoint MyPoint(float x, float y) { return {x, y}; }

TMyPoint PtToMyPt(const TPoint& p) { return {static_cast<float>(p.X), static_cast<float>(p.Y)}; }

TPoint MyPtToPt(const TMyPoint& p) { return {RoundToInt(p.X), RoundToInt(p.Y)}; }

TRect myRecttoRect(const TMyRect& r)
{
    return {RoundToInt(r.Left), RoundToInt(r.Top), RoundToInt(r.Right), RoundToInt(r.Bottom)};
}

TRect PtToARect(const TPoint& a, const TPoint& b)
{
    return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
}

TRect ExpandRect(const TRect& r, int32_t n)
{
    // Wraps like 32-bit machine arithmetic, as GetDxDy does, instead of
    // overflowing for rectangles at the ends of the range.
    auto add = [](int32_t v, int64_t d) { return static_cast<int32_t>(v + d); };
    return {add(r.Left, -int64_t(n)), add(r.Top, -int64_t(n)), add(r.Right, n), add(r.Bottom, n)};
}

void OffsetMyRect(TMyRect& r, double dx, double dy)
{
    r.Left = ToFloat(r.Left + dx);
    r.Right = ToFloat(r.Right + dx);
    r.Top = ToFloat(r.Top + dy);
    r.Bottom = ToFloat(r.Bottom + dy);
}

TMyRect GetPointsLTRB(const TArrMyPoint& points)
{
    if (points.empty()) return {};
    TMyRect r{points[0].X, points[0].Y, points[0].X, points[0].Y};
    for (const TMyPoint& p : points) {
        r.Left = std::min(r.Left, p.X);
        r.Top = std::min(r.Top, p.Y);
        r.Right = std::max(r.Right, p.X);
        r.Bottom = std::max(r.Bottom, p.Y);
    }
    return r;
}

void GetDxDy(const TMyPoint& a, const TMyPoint& b, float& dx, float& dy)
{
    dx = ToFloat(double(b.X) - double(a.X));
    dy = ToFloat(double(b.Y) - double(a.Y));
}

void GetDxDy(const TPoint& a, const TPoint& b, int32_t& dx, int32_t& dy)
{
    // Wraps like the 32-bit machine arithmetic the callers expect instead of
    // overflowing for points at opposite ends of the range.
    dx = static_cast<int32_t>(static_cast<int64_t>(b.X) - a.X);
    dy = static_cast<int32_t>(static_cast<int64_t>(b.Y) - a.Y);
}

String AppendSpace(const String& s, int32_t n)
{
    if (s.size() >= n) return s;
    return s.leftJustified(n, u' ');
}

float GetLengthinPixel(const TMyPoint& a, const TMyPoint& b)
{
    const double dx = double(a.X) - double(b.X);
    const double dy = double(a.Y) - double(b.Y);
    return ToFloat(std::sqrt(dx * dx + dy * dy));
}

double DistanceToSegment(const TPoint& p, const TPoint& a, const TPoint& b)
{
    const double vx = double(b.X) - a.X;
    const double vy = double(b.Y) - a.Y;
    const double wx = double(p.X) - a.X;
    const double wy = double(p.Y) - a.Y;
    const double length2 = vx * vx + vy * vy;
    const double t = length2 > 0.0 ? std::clamp((wx * vx + wy * vy) / length2, 0.0, 1.0) : 0.0;
    return std::hypot(wx - t * vx, wy - t * vy);
}

int32_t FirstSegmentWithin(const TArrPoint& points, const TPoint& p, double reach)
{
    if (points.size() == 1) return DistanceToSegment(p, points[0], points[0]) < reach ? 0 : -1;
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        if (DistanceToSegment(p, points[i], points[i + 1]) < reach) return static_cast<int32_t>(i);
    }
    return -1;
}

double GetSlopeAngle(const TMyPoint& a, const TMyPoint& b)
{
    const double dx = double(a.X) - double(b.X);
    double t = dx == 0.0 ? kPi / 2.0 : std::atan((double(a.Y) - double(b.Y)) / dx);
    const int32_t qx = PointInQuadrantX(a, b);
    const int32_t qy = PointInQuadrantY(a, b);
    if (qx > 0 && qy < 0)
        t = t + kPi;
    else if (qx > 0 && qy > 0)
        t = std::fabs(t) + kPi;
    else if (qx < 0 && qy > 0)
        t = kTwoPi - std::fabs(t);
    return t;
}

int32_t PointInQuadrantX(const TMyPoint& a, const TMyPoint& b) { return b.X > a.X ? 1 : -1; }
int32_t PointInQuadrantY(const TMyPoint& a, const TMyPoint& b) { return b.Y > a.Y ? 1 : -1; }

bool IsAtLeftTop(const TMyPoint& a, const TMyPoint& b) { return a.X >= b.X && a.Y >= b.Y; }
bool IsAtRightTop(const TMyPoint& a, const TMyPoint& b) { return b.X >= a.X && a.Y >= b.Y; }
bool IsAtLeftBottom(const TMyPoint& a, const TMyPoint& b) { return a.X >= b.X && b.Y >= a.Y; }
bool IsAtRightBottom(const TMyPoint& a, const TMyPoint& b) { return b.X >= a.X && b.Y >= a.Y; }

TMyPoint RotateAPoint(const TMyPoint& p, const TMyPoint& c, float angle)
{
    const double dx = double(p.X) - double(c.X);
    const double dy = double(p.Y) - double(c.Y);
    const double cs = std::cos(double(angle));
    const double sn = std::sin(double(angle));
    return {ToFloat(c.X + dx * cs - dy * sn), ToFloat(c.Y + dx * sn + dy * cs)};
}

void RecaclinRad(float& angle)
{
    if (std::isinf(angle)) {
        angle = 0.0f;
        return;
    }
    // The comparisons are made in double against the double 2*pi, so the
    // float nearest 2*pi (slightly above it) still folds to a tiny angle.
    if (angle > kTwoPi) {
        while (angle >= kTwoPi) angle = TurnTowardZero(angle, kTwoPi);
    }
    if (angle < -kTwoPi) {
        while (angle <= -kTwoPi) angle = TurnTowardZero(angle, -kTwoPi);
    }
}

void RecaclinDeg(int32_t& angle)
{
    // Repeated subtraction of whole turns is the truncating remainder; the
    // remainder also keeps the largest angles from looping for millions of turns.
    if (angle > 360) angle %= 360;
    if (angle < -360) angle %= 360;
}

TMyPoint Getintersection(const TMyPoint& a, const TMyPoint& b, const TMyPoint& c, const TMyPoint& d)
{
    const bool vertical1 = a.X == c.X;
    const bool vertical2 = b.X == d.X;
    double x = 0.0;
    double y = 0.0;
    if (vertical1 && vertical2) {
        x = a.X;
        y = (double(c.Y) - double(a.Y)) / 2.0;
    } else if (vertical1) {
        x = a.X;
        y = (double(d.Y) - double(b.Y)) / (double(d.X) - double(b.X)) * (x - b.X) + b.Y;
    } else if (vertical2) {
        x = b.X;
        y = (double(c.Y) - double(a.Y)) / (double(c.X) - double(a.X)) * (x - a.X) + a.Y;
    } else {
        const double k1 = (double(c.Y) - double(a.Y)) / (double(c.X) - double(a.X));
        const double k2 = (double(d.Y) - double(b.Y)) / (double(d.X) - double(b.X));
        if (c.Y == a.Y && d.Y == b.Y) {
            x = (double(c.X) - double(a.X)) / 2.0;
            y = a.Y;
        } else if (k1 == k2) {
            ShowMessage(String("error"));
            x = (double(a.X) + double(b.X)) / 2.0;
            y = (double(a.Y) + double(b.Y)) / 2.0;
        } else {
            x = (k2 * b.X - b.Y - k1 * a.X + a.Y) / (k2 - k1);
            y = k1 * (x - a.X) + a.Y;
        }
    }
    return {ToFloat(x), ToFloat(y)};
}

TwoPoint GetTriangle(const TMyPoint& tip, const TMyPoint& tail, float angle, uint8_t len)
{
    const double a = angle;
    const float b = ToFloat(AngleFromVertical(tip, tail) - a);
    const double sideB = b;
    const double sideN = sideB + 2.0 * a;
    const double length = len;
    // The wings lie behind the tip: toward the tail on each axis.
    const double sx = tip.X > tail.X ? -length : length;
    const double sy = tip.Y > tail.Y ? -length : length;
    TwoPoint r;
    r.m = {ToFloat(tip.X + std::sin(sideB) * sx), ToFloat(tip.Y + std::cos(sideB) * sy)};
    r.n = {ToFloat(tip.X + std::sin(sideN) * sx), ToFloat(tip.Y + std::cos(sideN) * sy)};
    return r;
}

TwoPoint SplitLine(const TMyPoint& a, const TMyPoint& b, int32_t d)
{
    const float phi = ToFloat(AngleFromVertical(a, b));
    const double dist = d;
    const double sx = std::sin(double(phi)) * dist;
    const double sy = std::cos(double(phi)) * dist;
    const TMyPoint p{ToFloat(a.X > b.X ? a.X - sx : a.X + sx), ToFloat(a.Y > b.Y ? a.Y - sy : a.Y + sy)};
    return {p, p};
}

bool AppendAPoint(const TMyPoint& p, TArrMyPoint& points)
{
    try {
        points.push_back(p);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

bool InsertAPointBeforeId(const TMyPoint& p, int32_t id, TArrMyPoint& points) { return InsertBefore(p, id, points); }

bool InsertAPointBeforeId1(const TPoint& p, int32_t id, TArrPoint& points) { return InsertBefore(p, id, points); }

void RemovePoint(int32_t id, TArrMyPoint& points)
{
    if (IsIndexOf(id, points)) points.erase(points.begin() + id);
}

bool IsExistPt(int32_t id, const TArrMyPoint& points) { return IsIndexOf(id, points); }

bool IsExistPt1(int32_t id, const TArrPoint& points) { return IsIndexOf(id, points); }

} // namespace mycad
