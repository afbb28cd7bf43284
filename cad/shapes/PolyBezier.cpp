#include "cad/shapes/PolyBezier.h"

#include "cad/shapes/ShapeDraw.h"
#include "cad/shapes/ShapeOwner.h"

#include <algorithm>

namespace mycad {

namespace {

// A click hits a curve within this many device pixels.
constexpr double kCurveReach = 10.0;
// The tangent lines through the joints are drawn in this grey.
constexpr TColor kTangentColor = 8421504;

TArrPoint Rounded(const TArrMyPoint& zoomed, int32_t dx = 0, int32_t dy = 0)
{
    TArrPoint points;
    points.reserve(zoomed.size());
    for (const TMyPoint& p : zoomed) {
        points.push_back(MyPtToPt({static_cast<float>(double(p.X) + dx), static_cast<float>(double(p.Y) + dy)}));
    }
    return points;
}

/// Whether the point count n just completed a segment: P3, then every third point after it.
bool CompletesSegment(int32_t n) { return n == 4 || (n >= 5 && (n - 4) % 3 == 0); }

} // namespace

String TMyPolyBezier::ClassName() const { return u"TMyPolyBezier"_s; }

TMyPoint TMyPolyBezier::LineCenterPoint(const TMyPoint& a, const TMyPoint& b)
{
    return {static_cast<float>(a.X + (double(b.X) - a.X) / 2.0), static_cast<float>(a.Y + (double(b.Y) - a.Y) / 2.0)};
}

// ---- Drawing with the mouse.

void TMyPolyBezier::AddPointByMouse(const TPoint& p)
{
    AddPoint(PtToMyPt(p));
    const int32_t n = GetPointsCount();
    if (!CompletesSegment(n)) return;
    TCanvas* canvas = FOwner ? FOwner->ControlCanvas() : nullptr;
    // The rubber band on the control ran through the clicked point; it is
    // taken down before the points change and put up again after.
    if (canvas) Drawing(*canvas, p, p);
    ThePoints.push_back(ThePoints.back());
    ThePoints[static_cast<size_t>(n - 1)] = LineCenterPoint(ThePoints[static_cast<size_t>(n - 2)], ThePoints.back());
    if (canvas) Drawing(*canvas, p, p);
}

void TMyPolyBezier::Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    (void)from;
    const int32_t n = GetPointsCount();
    if (n == 0) return;
    // Through the end of the segment the mouse is shaping.
    const int32_t total = 3 * ((n - 4) / 3 + 1) + 4;
    TArrPoint points = Rounded(ZoomedPointsOf(*this));
    points.resize(static_cast<size_t>(std::max(total, n)), to);
    SetDragResizeRotateShapeMode(canvas);
    canvas.PolyBezier(points);
}

bool TMyPolyBezier::IsDrawingFinished(TMouseButton button, const TPoint& p)
{
    (void)button;
    if (!DropDoubleClickCopy(*this, 3)) return false;
    if (GetPointsCount() == 4) return true;
    if (GetPointsCount() < 5) return false;
    while ((GetPointsCount() - 1) % 3 != 0) AddPoint(PtToMyPt(p));
    return true;
}

// ---- Painting and handles.

void TMyPolyBezier::Draw(TCanvas& canvas)
{
    const TArrPoint points = Rounded(ZoomedPointsOf(*this));
    SetDrawShapeMode(*this, canvas);
    canvas.BeginPath();
    TPen newPen;
    TPen previousPen;
    SetPS(canvas, FPen.Style(), FPen.Color(), FPen.Width(), newPen, previousPen);
    canvas.PolyBezier(points);
    canvas.EndPath();
    if (FBrush.Style() != TBrushStyle::bsClear) {
        canvas.StrokeAndFillPath();
    } else {
        canvas.StrokePath();
    }
    ReleasePS(canvas, previousPen);
    DrawInfo(canvas);
}

void TMyPolyBezier::DrawHot(TCanvas& canvas)
{
    if (FOwner && !FOwner->HotShow()) return;
    const int32_t count = GetPointsCount();
    for (int32_t i = 0; i < count; ++i) DrawSquare(*this, canvas, GetPointInZoom(i));
    if (count > 4) {
        canvas.Pen().SetColor(kTangentColor);
        canvas.Pen().SetStyle(TPenStyle::psSolid);
        canvas.Pen().SetWidth(1);
        canvas.Pen().SetMode(TPenMode::pmCopy);
        // From the control point before each inner joint to the one after it.
        for (int32_t i = 2; i < count - 2; i += 3) LineDraw(*this, canvas, GetPointInZoom(i), GetPointInZoom(i + 2));
    }
    SetDrawHotMode(canvas);
    DrawDiamond(*this, canvas, ZoomedValuePt(TextOutPoint), 65535);
}

int32_t TMyPolyBezier::InWhichHot(const TPoint& p) { return PointHandleAt(*this, p); }

bool TMyPolyBezier::IsClickedMe(TCanvas& canvas, const TPoint& p)
{
    if (ThePoints.empty()) return false;
    canvas.BeginPath();
    canvas.PolyBezier(Rounded(ZoomedPointsOf(*this)));
    const TArrPoint flat = TakeFlattenedPath(canvas);
    // Within reach of the flattened segments, not only of their ends: a
    // nearly straight segment flattens to its two ends however long it is.
    return FirstSegmentWithin(flat, p, kCurveReach) >= 0;
}

bool TMyPolyBezier::IsClickedMeforNET(TCanvas& canvas, const TPoint& p)
{
    (void)canvas;
    if (ThePoints.size() < 4) return false;
    const TArrPoint points = Rounded(ZoomedPointsOf(*this));
    TRect box{points[0].X, points[0].Y, points[0].X + 1, points[0].Y + 1};
    for (const TPoint& q : points) {
        box.Left = std::min(box.Left, q.X);
        box.Top = std::min(box.Top, q.Y);
        box.Right = std::max(box.Right, q.X + 1);
        box.Bottom = std::max(box.Bottom, q.Y + 1);
    }
    // Only the pixels near the click can decide, so only the part of the
    // box around it is rendered: the memory stays small at any zoom.
    const auto reach = static_cast<int32_t>(kCurveReach);
    const TRect window{std::max(box.Left, p.X - reach), std::max(box.Top, p.Y - reach),
                       std::min(box.Right, p.X + reach + 1), std::min(box.Bottom, p.Y + reach + 1)};
    if (window.IsEmpty()) return false;
    TBitmap raster(window.Width(), window.Height(), TPixelFormat::pf24bit);
    TCanvas& c = raster.Canvas();
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(clWhite);
    c.FillRect({0, 0, window.Width(), window.Height()});
    c.Pen().SetColor(clBlack);
    c.Pen().SetStyle(TPenStyle::psSolid);
    c.Pen().SetWidth(1);
    c.Pen().SetMode(TPenMode::pmCopy);
    c.PolyBezier(Rounded(ZoomedPointsOf(*this), -window.Left, -window.Top));
    for (int32_t y = 0; y < window.Height(); ++y) {
        for (int32_t x = 0; x < window.Width(); ++x) {
            if (c.Pixel(x, y) != clBlack) continue;
            const double dx = double(x) + window.Left - p.X;
            const double dy = double(y) + window.Top - p.Y;
            if (dx * dx + dy * dy < kCurveReach * kCurveReach) return true;
        }
    }
    return false;
}

// ---- Moving, sizing and turning.

TArrMyPoint TMyPolyBezier::SizedPoints(const TMyPoint& from, const TMyPoint& to) const
{
    TArrMyPoint z = ZoomedPointsOf(*this);
    const int32_t count = GetPointsCount();
    const int32_t h = SelectedHotId;
    if (h < 0 || h >= count) return z;
    const double dx = double(to.X) - double(from.X);
    const double dy = double(to.Y) - double(from.Y);
    auto move = [&z, dx, dy](int32_t i) {
        TMyPoint& q = z[static_cast<size_t>(i)];
        q = {static_cast<float>(q.X + dx), static_cast<float>(q.Y + dy)};
    };
    // The ends and their control points have no partner on a far side.
    if (h < 2 || h >= count - 2) {
        move(h);
    } else if (h % 3 == 0) {
        move(h - 1);
        move(h);
        move(h + 1);
    } else {
        // h % 3 == 2: the control point before joint h + 1, partnered by
        // h + 2; h % 3 == 1: the one after joint h - 1, partnered by h - 2.
        const int32_t joint = h % 3 == 2 ? h + 1 : h - 1;
        const int32_t partner = h % 3 == 2 ? h + 2 : h - 2;
        const TMyPoint pivot = z[static_cast<size_t>(joint)];
        const double turn = GetRotatedAngle(from, to, pivot, false);
        move(h);
        z[static_cast<size_t>(partner)] = RotateAPoint(z[static_cast<size_t>(partner)], pivot, static_cast<float>(turn));
    }
    return z;
}

void TMyPolyBezier::SizeChangeValue(const TMyPoint& from, const TMyPoint& to)
{
    const TArrMyPoint before = ZoomedPointsOf(*this);
    const TArrMyPoint after = SizedPoints(from, to);
    // Only the moved points are stored back, so the others keep their exact
    // document values at any zoom.
    for (size_t i = 0; i < after.size(); ++i) {
        if (after[i] != before[i]) SetPointInZoom(static_cast<int32_t>(i), after[i]);
    }
    GetInfo();
    CenterPoint = ComputeCenterPoint(4);
}

void TMyPolyBezier::Sizing(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    canvas.PolyBezier(Rounded(SizedPoints(PtToMyPt(from), PtToMyPt(to))));
}

void TMyPolyBezier::Draging(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    canvas.PolyBezier(Rounded(ZoomedPointsOf(*this), to.X - from.X, to.Y - from.Y));
}

void TMyPolyBezier::Rotating(TCanvas& canvas, const TMyPoint& centre, double angle)
{
    TArrMyPoint z = ZoomedPointsOf(*this);
    for (TMyPoint& q : z) q = RotateAPoint(q, centre, static_cast<float>(angle));
    canvas.PolyBezier(Rounded(z));
}

TPaintArea TMyPolyBezier::PaintArea(double penWidth, double zoom) const
{
    (void)zoom;
    return {true, true, 2.0 * penWidth + 2.0};
}

} // namespace mycad
