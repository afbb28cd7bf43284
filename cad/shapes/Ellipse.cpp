#include "cad/shapes/Ellipse.h"

#include "cad/shapes/ShapeDraw.h"
#include "cad/shapes/ShapeOwner.h"
#include "platform/CanvasFill.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace mycad {

namespace {

constexpr double kPi = std::numbers::pi;
// A full turn and a quarter turn as the arc routines have always counted them.
constexpr double kTurn = 6.28319;
constexpr double kQuarterTurn = 1.570795;
// A bound on the vertices of one arc, so that a huge or damaged shape costs
// a bounded amount of memory; arcs up to a radius of about 12 000 device
// pixels never reach it.
constexpr double kMaxArcVertices = 100000.0;
// Reverse passes end as soon as one passes the through point; their growing
// tolerance makes the first one succeed, this only bounds a damaged input.
constexpr int32_t kMaxReversePasses = 4;

// Rounds to whole pixels, mapping values no pixel can hold into range.
int32_t SafeRound(double v)
{
    if (std::isnan(v)) return 0;
    return RoundToInt(std::clamp(v, -2.0e9, 2.0e9));
}

TPoint Rounded(double x, double y) { return {SafeRound(x), SafeRound(y)}; }

// The centre of the circle through three points; false when they lie on one line.
bool CircleCentre(double x0, double y0, double x1, double y1, double x2, double y2, double& cx, double& cy)
{
    const double d = (x0 - x1) * (y2 - y1) - (x1 - x2) * (y1 - y0);
    if (d == 0.0 || !std::isfinite(d)) return false;
    const double a = x0 * x0 - x1 * x1 + y0 * y0 - y1 * y1;
    const double b = x2 * x2 - x1 * x1 + y2 * y2 - y1 * y1;
    cx = (a * (y2 - y1) + b * (y1 - y0)) / (2.0 * d);
    cy = (a * (x1 - x2) + b * (x0 - x1)) / (2.0 * d);
    return std::isfinite(cx) && std::isfinite(cy);
}

void IssuePolyline(TCanvas& canvas, const TArrPoint& pts)
{
    if (pts.empty()) return;
    canvas.MoveTo(pts[0].X, pts[0].Y);
    for (size_t i = 1; i < pts.size(); ++i) canvas.LineTo(pts[i].X, pts[i].Y);
}

} // namespace

// ---------------------------------------------------------------- ellipse

TMyEllipse::TMyEllipse(TShapeOwner* owner) : TMyRectangle(owner) {}

String TMyEllipse::ClassName() const { return u"TMyEllipse"_s; }

TArrPoint TMyEllipse::Outline(int32_t dx, int32_t dy) const
{
    const TMyPoint c = GetCenterPointInZoom();
    const double a = FAngle;
    const double rx = double(GetMyWidth()) * Zoom() / 2.0;
    const double ry = double(GetMyHeight()) * Zoom() / 2.0;
    TArrPoint pts;
    pts.reserve(73);
    for (int32_t k = 0; k <= 72; ++k) {
        const double t = k * kPi / 36.0;
        const double x = rx * std::sin(t) * std::cos(a) - ry * std::cos(t) * std::sin(a) + double(c.X);
        const double y = rx * std::sin(t) * std::sin(a) + ry * std::cos(t) * std::cos(a) + double(c.Y);
        pts.push_back({SafeRound(x) + dx, SafeRound(y) + dy});
    }
    return pts;
}

void TMyEllipse::Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    SetDragResizeRotateShapeMode(canvas);
    canvas.Ellipse(from.X, from.Y, to.X, to.Y);
}

void TMyEllipse::Draging(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    if (ThePoints.size() < 4) return;
    canvas.BeginPath();
    IssuePolyline(canvas, Outline(to.X - from.X, to.Y - from.Y));
    canvas.EndPath();
    canvas.StrokeAndFillPath();
}

void TMyEllipse::Draw(TCanvas& canvas)
{
    if (ThePoints.size() < 4) return;
    SetDrawShapeMode(*this, canvas);
    const TArrPoint outline = Outline();
    PowerDrawShape(canvas, outline, static_cast<int32_t>(outline.size()), true);
    DrawInfo(canvas);
}

String TMyEllipse::GetInfo()
{
    return AreaInfo(kPi * (double(GetMyWidth()) / 2.0) * (double(GetMyHeight()) / 2.0));
}

// ---------------------------------------------------------------- arc

TMyElliArc::TMyElliArc(TShapeOwner* owner) : TMyShape(owner)
{
    if (FOwner) FArcMode = FOwner->ArcMode();
}

String TMyElliArc::ClassName() const { return u"TMyElliArc"_s; }

TPaintArea TMyElliArc::PaintArea(double penWidth, double zoom) const
{
    (void)penWidth;
    (void)zoom;
    return {};
}

void TMyElliArc::Assign(const TMyShape& source)
{
    TMyShape::Assign(source);
    if (&source == this) return;
    if (const auto* arc = dynamic_cast<const TMyElliArc*>(&source)) {
        FArcStyle = arc->FArcStyle;
        FArcMode = arc->FArcMode;
    }
}

bool TMyElliArc::IsDrawingFinished(TMouseButton button, const TPoint& p)
{
    (void)button;
    (void)p;
    const int32_t count = GetPointsCount();
    if (count == 2) {
        if (ThePoints[1] == ThePoints[0]) ThePoints.pop_back();
        return false;
    }
    if (count == 3) {
        if (ThePoints[2].X != ThePoints[1].X || ThePoints[2].Y != ThePoints[1].Y) return true;
        ThePoints.pop_back();
        return false;
    }
    return count > 3;
}

TMyPoint TMyElliArc::GetCenterPoint() const
{
    if (FArcMode == TArcMode::amEllipse) return CenterPoint;
    if (ThePoints.size() >= 3) {
        double cx = 0.0;
        double cy = 0.0;
        if (CircleCentre(ThePoints[0].X, ThePoints[0].Y, ThePoints[1].X, ThePoints[1].Y, ThePoints[2].X,
                         ThePoints[2].Y, cx, cy)) {
            return {static_cast<float>(cx), static_cast<float>(cy)};
        }
    }
    // Points on one line are drawn as a segment; its middle is the natural
    // centre for turning and mirroring it.
    return ComputeCenterPoint(4);
}

TArrPoint TMyElliArc::Centi(const TArrMyPoint& zoomed)
{
    TArrPoint pts;
    if (zoomed.empty()) return pts;
    for (size_t i = 0; i < 3; ++i) {
        const TMyPoint& p = zoomed[std::min(i, zoomed.size() - 1)];
        pts.push_back(Rounded(double(p.X) * 100.0, double(p.Y) * 100.0));
    }
    return pts;
}

TArrPoint TMyElliArc::CircleArcPoints(const TArrPoint& centi, TArcStyle style, bool& closed)
{
    closed = false;
    TArrPoint pts;
    if (centi.size() < 3) return pts;
    const double x0 = centi[0].X / 100.0;
    const double y0 = centi[0].Y / 100.0;
    const double x1 = centi[1].X / 100.0;
    const double y1 = centi[1].Y / 100.0;
    const double x2 = centi[2].X / 100.0;
    const double y2 = centi[2].Y / 100.0;

    // Points on (or within 3 pixels of) one line make a segment, not a
    // circle of enormous radius.
    bool straight = (x0 == x1 && x1 == x2) || (y0 == y1 && y1 == y2);
    if (!straight) {
        const double dx = x1 - x0;
        const double dy = y1 - y0;
        if (std::fabs(dx) > std::fabs(dy)) {
            straight = std::fabs(y2 - (y0 + dy / dx * (x2 - x0))) <= 3.0;
        } else if (dy != 0.0) {
            straight = std::fabs(x2 - (x0 + dx / dy * (y2 - y0))) <= 3.0;
        } else {
            straight = true; // the first two points coincide: no circle passes "through" them
        }
    }
    if (straight) return {Rounded(x0, y0), Rounded(x2, y2)};

    double cx = 0.0;
    double cy = 0.0;
    if (!CircleCentre(x0, y0, x1, y1, x2, y2, cx, cy)) return pts;
    const double r = std::hypot(x0 - cx, y0 - cy);
    if (!(r > 0.0) || !std::isfinite(r)) return pts;
    auto angleOf = [cx, cy](double x, double y) {
        if (x - cx == 0.0) return y > cy ? kQuarterTurn : -kQuarterTurn;
        return std::atan2(y - cy, x - cx);
    };
    const double a0 = angleOf(x0, y0);
    const double a2 = angleOf(x2, y2);
    // Finer steps on small circles, so that they stay round.
    const double b = r < 5.08 ? 0.015 : r < 7.62 ? 0.06 : r < 25.4 ? 0.075 : 0.15;
    const double s = b * 5.08 / r;
    const TPoint through = Rounded(x1, y1);

    double k = 1.0;
    auto pass = [&](double start, double end, bool growing) {
        if (start > end) end += kTurn;
        double n = std::nearbyint((end - start) / s + 0.5);
        double span = end - start;
        if (n == 0.0) {
            n = std::nearbyint(kTurn / s + 0.5);
            span = kTurn;
        }
        double step = s;
        if (n > kMaxArcVertices) {
            n = kMaxArcVertices;
            step = span / n;
        }
        pts.clear();
        bool hit = false;
        const auto count = static_cast<int32_t>(n);
        for (int32_t i = 0; i < count; ++i) {
            const double a = start + i * step;
            const double x = cx + r * std::cos(a);
            const double y = cy + r * std::sin(a);
            pts.push_back(Rounded(x, y));
            if (i > 0) {
                if (std::fabs(x - x1) < k && std::fabs(y - y1) < k) hit = true;
                if (growing) k += 1.0;
            }
        }
        if (!hit && pts.size() >= 3) hit = TRegion::CreatePolygonRgn(pts, ALTERNATE).PtInRegion(through.X, through.Y);
        return hit;
    };

    if (pass(a0, a2, false)) {
        pts.push_back(Rounded(x2, y2));
    } else {
        for (int32_t i = 0; i < kMaxReversePasses && !pass(a2, a0, true); ++i) {
        }
        pts.push_back(Rounded(x0, y0));
    }
    if (style == TArcStyle::asChord) {
        pts.push_back(pts.front());
        closed = true;
    } else if (style == TArcStyle::asSector) {
        pts.push_back(Rounded(cx, cy));
        pts.push_back(pts.front());
        closed = true;
    }
    return pts;
}

TArrPoint TMyElliArc::ConicArcPoints(const TArrPoint& centi)
{
    TArrPoint pts;
    if (centi.size() < 3) return pts;
    const TPoint p0 = Rounded(centi[0].X / 100.0, centi[0].Y / 100.0);
    const TPoint p1 = Rounded(centi[1].X / 100.0, centi[1].Y / 100.0);
    const TPoint p2 = Rounded(centi[2].X / 100.0, centi[2].Y / 100.0);
    // A rational quadratic whose weights make p1 the corner of the box a
    // quarter ellipse from p0 to p2 is inscribed in.
    const double ax = 3.414 * p2.X - 4.828 * p1.X + 2.414 * p0.X;
    const double ay = 3.414 * p2.Y - 4.828 * p1.Y + 2.414 * p0.Y;
    const double bx = -1.414 * p2.X + 4.828 * p1.X - 3.414 * p0.X;
    const double by = -1.414 * p2.Y + 4.828 * p1.Y - 3.414 * p0.Y;
    const double n = std::min(std::nearbyint(std::sqrt(std::hypot(ax, ay) * 100.0)), kMaxArcVertices);
    pts.push_back(p0);
    const auto count = static_cast<int32_t>(n);
    for (int32_t i = 1; i <= count; ++i) {
        const double t = double(i) / n;
        const double w = t * t + 1.0;
        pts.push_back(Rounded((ax * t * t + bx * t + p0.X) / w, (ay * t * t + by * t + p0.Y) / w));
    }
    pts.push_back(p2);
    return pts;
}

void TMyElliArc::DrawArc(TCanvas& canvas, const TArrPoint& centi, bool fill)
{
    bool closed = false;
    const TArrPoint pts = CircleArcPoints(centi, FArcStyle, closed);
    if (closed && fill) FillPolygonRgn(canvas, pts, pts.size(), ALTERNATE, FBrush);
    IssuePolyline(canvas, pts);
}

void TMyElliArc::DrawElliArc(TCanvas& canvas, const TArrPoint& centi) { IssuePolyline(canvas, ConicArcPoints(centi)); }

void TMyElliArc::DrawOutline(TCanvas& canvas, const TArrMyPoint& zoomed)
{
    const TArrPoint centi = Centi(zoomed);
    if (FArcMode == TArcMode::amCircle) {
        DrawArc(canvas, centi, false);
    } else {
        DrawElliArc(canvas, centi);
    }
}

void TMyElliArc::Draw(TCanvas& canvas)
{
    if (ThePoints.empty()) return;
    SetDrawShapeMode(*this, canvas);
    canvas.BeginPath();
    TPen newPen;
    TPen previousPen;
    SetPS(canvas, FPen.Style(), FPen.Color(), FPen.Width(), newPen, previousPen);
    const TArrPoint centi = Centi(ZoomedPointsOf(*this));
    if (FArcMode == TArcMode::amCircle) {
        DrawArc(canvas, centi, true);
    } else {
        DrawElliArc(canvas, centi);
    }
    canvas.EndPath();
    canvas.StrokePath();
    ReleasePS(canvas, previousPen);
    DrawInfo(canvas);
}

void TMyElliArc::Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    (void)from;
    const int32_t count = GetPointsCount();
    if (count < 1) return;
    const TMyPoint p0 = GetPointInZoom(0);
    if (count == 1) {
        DrawSquare(*this, canvas, p0);
        return;
    }
    const TMyPoint p1 = GetPointInZoom(1);
    if (FArcMode == TArcMode::amEllipse) {
        // A conic whose end shares the control point's row or column has no corner to follow.
        const TPoint q = MyPtToPt(p1);
        if (to.X == q.X || to.Y == q.Y) return;
    }
    DrawSquare(*this, canvas, p0);
    DrawSquare(*this, canvas, p1);
    SetDragResizeRotateShapeMode(canvas);
    DrawOutline(canvas, {p0, p1, PtToMyPt(to)});
}

void TMyElliArc::Draging(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    TArrMyPoint pts = ZoomedPointsOf(*this);
    const double dx = double(to.X) - from.X;
    const double dy = double(to.Y) - from.Y;
    for (TMyPoint& p : pts) p = {static_cast<float>(p.X + dx), static_cast<float>(p.Y + dy)};
    DrawOutline(canvas, pts);
}

void TMyElliArc::Rotating(TCanvas& canvas, const TMyPoint& centre, double angle)
{
    TArrMyPoint pts = ZoomedPointsOf(*this);
    for (TMyPoint& p : pts) p = RotateAPoint(p, centre, static_cast<float>(angle));
    DrawOutline(canvas, pts);
}

void TMyElliArc::Sizing(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    (void)from;
    TArrMyPoint pts = ZoomedPointsOf(*this);
    if (SelectedHotId < 0 || SelectedHotId >= static_cast<int32_t>(pts.size())) return;
    pts[static_cast<size_t>(SelectedHotId)] = PtToMyPt(to);
    DrawOutline(canvas, pts);
}

void TMyElliArc::SizeChangeValue(const TMyPoint& from, const TMyPoint& to)
{
    PointAddXY(SelectedHotId, double(to.X) - double(from.X), double(to.Y) - double(from.Y));
    CenterPoint = ComputeCenterPoint(4);
}

void TMyElliArc::FlipHoriz()
{
    TMyShape::FlipHoriz();
    if (ThePoints.size() >= 3) std::swap(ThePoints[0], ThePoints[2]);
}

void TMyElliArc::FlipVert()
{
    TMyShape::FlipVert();
    if (ThePoints.size() >= 3) std::swap(ThePoints[0], ThePoints[2]);
}

void TMyElliArc::DrawHot(TCanvas& canvas) { DrawPointHandles(*this, canvas); }

int32_t TMyElliArc::InWhichHot(const TPoint& p) { return PointHandleAt(*this, p); }

bool TMyElliArc::IsClickedMe(TCanvas& canvas, const TPoint& p)
{
    (void)canvas;
    if (ThePoints.empty()) return false;
    const TArrMyPoint zoomed = ZoomedPointsOf(*this);
    const TArrPoint centi = Centi(zoomed);
    TArrPoint triangle;
    for (const TPoint& c : centi) triangle.push_back(Rounded(c.X / 100.0, c.Y / 100.0));
    if (TRegion::CreatePolygonRgn(triangle, ALTERNATE).PtInRegion(p.X, p.Y)) return true;
    bool closed = false;
    const TArrPoint outline =
        FArcMode == TArcMode::amCircle ? CircleArcPoints(centi, FArcStyle, closed) : ConicArcPoints(centi);
    for (const TPoint& v : outline) {
        const double dx = double(v.X) - p.X;
        const double dy = double(v.Y) - p.Y;
        if (dx * dx + dy * dy < 100.0) return true;
    }
    return false;
}

} // namespace mycad
