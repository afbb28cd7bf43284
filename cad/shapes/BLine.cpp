#include "cad/shapes/BLine.h"

#include "cad/shapes/ShapeDraw.h"
#include "cad/shapes/ShapeOwner.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace mycad {

namespace {

// A click hits the curve within this many device pixels.
constexpr double kCurveReach = 10.0;
// Samples of the curve between its first and last point.
constexpr int32_t kSteps = 600;
// Vertices this close on both axes count as one place.
constexpr double kCoincident = 1e-5;
// A pivot this small means the system cannot be solved.
constexpr double kVanishingPivot = 1e-6;

bool Coincide(const TMyPoint& a, const TMyPoint& b)
{
    return std::fabs(double(a.X) - b.X) <= kCoincident && std::fabs(double(a.Y) - b.Y) <= kCoincident;
}

/// The index of the flattened point nearest to v, preferring the first one
/// within reach: the curve passes through every vertex, but its samples may
/// lie further apart than the reach on a long curve.
int32_t FirstPointNear(const TArrPoint& flat, const TMyPoint& v)
{
    int32_t nearest = -1;
    double best = std::numeric_limits<double>::infinity();
    for (size_t j = 0; j < flat.size(); ++j) {
        const double d = std::hypot(double(flat[j].X) - v.X, double(flat[j].Y) - v.Y);
        if (d < kCurveReach) return static_cast<int32_t>(j);
        if (d < best) {
            best = d;
            nearest = static_cast<int32_t>(j);
        }
    }
    return nearest;
}

} // namespace

String TMyBLine::ClassName() const { return u"TMyBLine"_s; }

// ---- The spline.

void TMyBLine::AddVertex(const TMyPoint& p)
{
    if (NoPoints >= kMaxBLinePoints) return;
    ++NoPoints;
    VertexList[static_cast<size_t>(NoPoints)] = p;
    PhantomPoints();
}

void TMyBLine::PhantomPoints()
{
    const auto n = static_cast<size_t>(NoPoints);
    if (n == 1) {
        // A lone vertex is the whole curve: its neighbours coincide with it.
        VertexList[0] = VertexList[2] = VertexList[1];
        return;
    }
    if (n < 2) return;
    auto beyond = [](const TMyPoint& end, const TMyPoint& inner) {
        return TMyPoint{static_cast<float>(2.0 * end.X - inner.X), static_cast<float>(2.0 * end.Y - inner.Y)};
    };
    VertexList[0] = beyond(VertexList[1], VertexList[2]);
    VertexList[n + 1] = beyond(VertexList[n], VertexList[n - 1]);
}

void TMyBLine::Interpolate()
{
    const int32_t n = NoPoints;
    if (n < 1) return;
    // The system is tridiagonal, so eliminating column k below the diagonal
    // touches row k + 1 only: the three diagonals are all that is stored.
    std::array<float, kMaxBLinePoints + 2> sub{};
    std::array<float, kMaxBLinePoints + 2> diag{};
    std::array<float, kMaxBLinePoints + 2> super{};
    diag[1] = 1.0f;
    diag[static_cast<size_t>(n)] = 1.0f;
    for (int32_t i = 2; i < n; ++i) {
        sub[static_cast<size_t>(i)] = 1.0f / 6.0f;
        diag[static_cast<size_t>(i)] = 2.0f / 3.0f;
        super[static_cast<size_t>(i)] = 1.0f / 6.0f;
    }
    const TSplineRow& q = VertexList;
    for (int32_t i = 2; i < n; ++i) {
        const auto u = static_cast<size_t>(i);
        if (!Coincide(q[u], q[u - 1]) || !Coincide(q[u], q[u + 1])) continue;
        // A run of coincident points stays where it is.
        for (size_t r = u - 1; r <= u + 1; ++r) {
            sub[r] = 0.0f;
            diag[r] = 1.0f;
            super[r] = 0.0f;
        }
    }
    std::array<double, kMaxBLinePoints + 2> x{};
    std::array<double, kMaxBLinePoints + 2> y{};
    for (int32_t i = 1; i <= n; ++i) {
        x[static_cast<size_t>(i)] = q[static_cast<size_t>(i)].X;
        y[static_cast<size_t>(i)] = q[static_cast<size_t>(i)].Y;
    }
    // Forward elimination without pivoting, row k + 1 -= m * row k.
    for (size_t k = 1; k < static_cast<size_t>(n); ++k) {
        if (std::fabs(diag[k]) < kVanishingPivot) return;
        const double m = double(sub[k + 1]) / diag[k];
        diag[k + 1] = static_cast<float>(diag[k + 1] - m * super[k]);
        sub[k + 1] = 0.0f;
        x[k + 1] -= m * x[k];
        y[k + 1] -= m * y[k];
    }
    if (std::fabs(diag[static_cast<size_t>(n)]) < kVanishingPivot) return;
    // Back substitution.
    std::array<double, kMaxBLinePoints + 2> cx{};
    std::array<double, kMaxBLinePoints + 2> cy{};
    for (auto i = static_cast<size_t>(n); i >= 1; --i) {
        const double nextX = i < static_cast<size_t>(n) ? cx[i + 1] : 0.0;
        const double nextY = i < static_cast<size_t>(n) ? cy[i + 1] : 0.0;
        cx[i] = (x[i] - super[i] * nextX) / diag[i];
        cy[i] = (y[i] - super[i] * nextY) / diag[i];
    }
    for (size_t i = 1; i <= static_cast<size_t>(n); ++i) {
        VertexList[i] = {static_cast<float>(cx[i]), static_cast<float>(cy[i])};
    }
    PhantomPoints();
}

TMyPoint TMyBLine::GetVPoint(float t) const
{
    if (NoPoints < 1) return {};
    const double s = (NoPoints - 1) * double(t);
    const auto i0 = static_cast<int32_t>(std::trunc(s));
    double x = 0.0;
    double y = 0.0;
    for (int32_t k = i0 - 2; k <= i0 + 3; ++k) {
        // Slot k governs the parameter k - 1; only slots 0..NoPoints + 1
        // come within reach of an s in [0, NoPoints - 1].
        if (k < 0 || k > NoPoints + 1) continue;
        const double d = std::fabs(s - (k - 1));
        if (d >= 2.0) continue;
        const double w = d < 1.0 ? 2.0 / 3.0 - d * d + d * d * d / 2.0 : (2.0 - d) * (2.0 - d) * (2.0 - d) / 6.0;
        x += w * VertexList[static_cast<size_t>(k)].X;
        y += w * VertexList[static_cast<size_t>(k)].Y;
    }
    return {static_cast<float>(x), static_cast<float>(y)};
}

void TMyBLine::DrawBLine(TCanvas& canvas)
{
    if (NoPoints < 1) return;
    const TPoint start = MyPtToPt(GetVPoint(0.0f));
    canvas.MoveTo(start.X, start.Y);
    for (int32_t i = 1; i <= kSteps; ++i) {
        const TPoint p = MyPtToPt(GetVPoint(static_cast<float>(i) / kSteps));
        canvas.LineTo(p.X, p.Y);
    }
}

void TMyBLine::LoadVertices(const TArrMyPoint& zoomed)
{
    NoPoints = 0;
    for (const TMyPoint& p : zoomed) AddVertex(p);
    Interpolate();
}

void TMyBLine::DrawThrough(TCanvas& canvas, const TArrMyPoint& zoomed)
{
    LoadVertices(zoomed);
    DrawBLine(canvas);
}

// ---- Drawing with the mouse.

void TMyBLine::AddPointByMouse(const TPoint& p)
{
    if (GetPointsCount() >= kMaxBLinePoints) {
        FFull = true;
        return;
    }
    AddPoint(PtToMyPt(p));
}

bool TMyBLine::IsDrawingFinished(TMouseButton button, const TPoint& p)
{
    (void)button;
    (void)p;
    if (FFull) {
        FFull = false;
        return true;
    }
    return DropDoubleClickCopy(*this, 3);
}

void TMyBLine::Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    (void)from;
    TArrMyPoint copy = ZoomedPointsOf(*this);
    if (!IsPath) {
        copy.push_back(PtToMyPt(to));
    } else if (!copy.empty()) {
        copy.back() = PtToMyPt(to);
    }
    if (copy.empty()) return;
    if (copy.size() == 1) {
        DrawSquare(*this, canvas, copy[0]);
        return;
    }
    if (copy[0] == copy[1]) copy[1] = {static_cast<float>(copy[0].X + 1.0), static_cast<float>(copy[0].Y + 1.0)};
    const TMyPoint mouse = copy.back();
    const TMyPoint fixed = copy[copy.size() - 2];
    if (mouse.X == fixed.X || mouse.Y == fixed.Y) return;
    // Handles go on the clicked points only: they are drawn over, not
    // exclusive-or'ed, so one at the moving mouse point would leave a trail.
    const size_t clicked = IsPath ? copy.size() : copy.size() - 1;
    for (size_t i = 0; i < clicked; ++i) DrawSquare(*this, canvas, copy[i]);
    SetDragResizeRotateShapeMode(canvas);
    DrawThrough(canvas, copy);
}

// ---- Painting and handles.

void TMyBLine::Draw(TCanvas& canvas)
{
    SetDrawShapeMode(*this, canvas);
    canvas.BeginPath();
    TPen newPen;
    TPen previousPen;
    SetPS(canvas, FPen.Style(), FPen.Color(), FPen.Width(), newPen, previousPen);
    const TArrMyPoint zoomed = ZoomedPointsOf(*this);
    if (zoomed != FSampledThrough || FSamples.empty()) {
        FSampledThrough = zoomed;
        FSamples.clear();
        LoadVertices(zoomed);
        // A line to where the walk already is draws nothing; leaving the
        // repeats out keeps the samples to the curve's length in pixels.
        for (int32_t i = 0; NoPoints >= 1 && i <= kSteps; ++i) {
            const TPoint p = MyPtToPt(GetVPoint(static_cast<float>(i) / kSteps));
            if (FSamples.empty() || p != FSamples.back()) FSamples.push_back(p);
        }
    }
    if (!FSamples.empty()) {
        canvas.MoveTo(FSamples.front().X, FSamples.front().Y);
        for (size_t i = 1; i < FSamples.size(); ++i) canvas.LineTo(FSamples[i].X, FSamples[i].Y);
    }
    canvas.EndPath();
    canvas.StrokePath();
    ReleasePS(canvas, previousPen);
    DrawInfo(canvas);
}

void TMyBLine::DrawHot(TCanvas& canvas) { DrawPointHandles(*this, canvas); }

int32_t TMyBLine::InWhichHot(const TPoint& p) { return PointHandleAt(*this, p); }

TArrPoint TMyBLine::FlattenedCurve(TCanvas& canvas)
{
    canvas.BeginPath();
    DrawThrough(canvas, ZoomedPointsOf(*this));
    return TakeFlattenedPath(canvas);
}

bool TMyBLine::IsClickedMe(TCanvas& canvas, const TPoint& p)
{
    if (ThePoints.empty()) return false;
    // Within reach of the joining lines, not only of the samples, which lie
    // far apart on a long curve.
    return FirstSegmentWithin(FlattenedCurve(canvas), p, kCurveReach) >= 0;
}

TVertexEditing TMyBLine::VertexEditing() const { return TVertexEditing::OpenChain; }

bool TMyBLine::IsClickedMeBeforeWhichPoint(int32_t& index, const TPoint& p) const
{
    index = -1;
    TCanvas* canvas = FOwner ? FOwner->ControlCanvas() : nullptr;
    if (!canvas || ThePoints.empty()) return false;
    // The work area is scratch space that the curve refills from its points.
    const TArrPoint flat = const_cast<TMyBLine*>(this)->FlattenedCurve(*canvas);
    if (flat.empty()) return false;
    const int32_t clicked = FirstSegmentWithin(flat, p, kCurveReach);
    if (clicked < 0) return true;
    for (int32_t i = 0; i < GetPointsCount(); ++i) {
        if (clicked < FirstPointNear(flat, GetPointInZoom(i))) {
            index = i;
            break;
        }
    }
    return true;
}

// ---- Moving, sizing and turning.

void TMyBLine::SizeChangeValue(const TMyPoint& from, const TMyPoint& to)
{
    TMyShape::SizeChangeValue(from, to);
    const int32_t h = SelectedHotId;
    if (h >= 0 && h < GetPointsCount()) PointAddXY(h, double(to.X) - double(from.X), double(to.Y) - double(from.Y));
    CenterPoint = ComputeCenterPoint(4);
}

void TMyBLine::Sizing(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    TArrMyPoint z = ZoomedPointsOf(*this);
    const int32_t h = SelectedHotId;
    if (h < 0 || h >= GetPointsCount()) return;
    TMyPoint& q = z[static_cast<size_t>(h)];
    q = {static_cast<float>(double(q.X) + to.X - from.X), static_cast<float>(double(q.Y) + to.Y - from.Y)};
    DrawThrough(canvas, z);
}

void TMyBLine::Draging(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    TArrMyPoint z = ZoomedPointsOf(*this);
    for (TMyPoint& q : z) {
        q = {static_cast<float>(double(q.X) + to.X - from.X), static_cast<float>(double(q.Y) + to.Y - from.Y)};
    }
    DrawThrough(canvas, z);
}

void TMyBLine::Rotating(TCanvas& canvas, const TMyPoint& centre, double angle)
{
    TArrMyPoint z = ZoomedPointsOf(*this);
    for (TMyPoint& q : z) q = RotateAPoint(q, centre, static_cast<float>(angle));
    DrawThrough(canvas, z);
}

} // namespace mycad
