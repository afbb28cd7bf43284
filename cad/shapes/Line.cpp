#include "cad/shapes/Line.h"

#include "cad/shapes/ShapeDraw.h"
#include "cad/shapes/ShapeOwner.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace mycad {

namespace {

constexpr int32_t kSegmentTolerance = 8;

TPoint Shifted(const TMyPoint& p, int32_t dx, int32_t dy)
{
    return MyPtToPt({static_cast<float>(double(p.X) + dx), static_cast<float>(double(p.Y) + dy)});
}

} // namespace

TMyLine::TMyLine(TShapeOwner* owner) : TMyShape(owner)
{
    if (FOwner) {
        FArrowOffset = FOwner->ArrowOffset();
        FArrowLength = FOwner->ArrowLength();
        FArrowAngle = FOwner->ArrowAngle();
        FArrowStyle = FOwner->ArrowStyle();
    }
}

String TMyLine::ClassName() const { return u"TMyLine"_s; }

void TMyLine::Assign(const TMyShape& source)
{
    TMyShape::Assign(source);
    if (&source == this) return;
    if (const auto* line = dynamic_cast<const TMyLine*>(&source)) {
        FArrowLength = line->FArrowLength;
        FArrowAngle = line->FArrowAngle;
        FArrowStyle = line->FArrowStyle;
    }
}

bool TMyLine::IsDrawingFinished(TMouseButton button, const TPoint& p)
{
    (void)button;
    (void)p;
    return GetPointsCount() == 2;
}

void TMyLine::Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    SetDragResizeRotateShapeMode(canvas);
    canvas.MoveTo(from.X, from.Y);
    canvas.LineTo(to.X, to.Y);
}

void TMyLine::FindMergePoint(const TPoint& p, int32_t& shapeId, int32_t& pointNo) const
{
    shapeId = -1;
    pointNo = -1;
    if (!FOwner) return;
    const int32_t hot = FOwner->HotSize();
    for (int32_t no = 0; no < FOwner->GetShapesCount(); ++no) {
        const TMyShape* s = FOwner->GetShapeByNo(no);
        if (!s || s == this || s->GetPointsCount() == 0) continue;
        if (!s->OffersLineEnds()) continue;
        for (const int32_t i : {0, s->GetPointsCount() - 1}) {
            const TPoint at = MyPtToPt(s->GetPointInZoom(i));
            if (PtInRect({at.X - hot, at.Y - hot, at.X + hot, at.Y + hot}, p)) {
                shapeId = s->ShapeId;
                pointNo = i;
                return;
            }
        }
    }
}

void TMyLine::Drawed(const TPoint& from, TPoint& to)
{
    TMyShape::Drawed(from, to);
    if (!JoinsLines() || !FOwner || !FOwner->MergeLineShape()) return;
    FindMergePoint(to, endMergeShapeId, endMergeShapePointNo);
}

void TMyLine::Draw(TCanvas& canvas)
{
    SetDrawShapeMode(*this, canvas);
    TPen newPen;
    TPen previousPen;
    SetPS(canvas, FPen.Style(), FPen.Color(), FPen.Width(), newPen, previousPen);
    const int32_t count = GetPointsCount();
    for (int32_t i = 0; i + 1 < count; ++i) LineDraw(*this, canvas, GetPointInZoom(i), GetPointInZoom(i + 1));
    // From the drawing's own points: the zoomed ones are rounded to floats
    // differently at each zoom, and the angle is stored with the line.
    if (count >= 2) FAngle = static_cast<float>(GetSlopeAngle(ThePoints[1], ThePoints[0]));
    SetDrawTriangleMode(*this, canvas);
    DrawArrowHeads(canvas);
    SetDrawShapeMode(*this, canvas);
    DrawInfo(canvas);
    ReleasePS(canvas, previousPen);
}

void TMyLine::DrawArrowHeads(TCanvas& canvas)
{
    const int32_t count = GetPointsCount();
    if (count < 2) return;
    const bool atLast = FArrowStyle == TArrowStyle::ALeft || FArrowStyle == TArrowStyle::ADouble;
    const bool atFirst = FArrowStyle == TArrowStyle::ARight || FArrowStyle == TArrowStyle::ADouble;
    if (atLast) DrawTriangle(canvas, GetPointInZoom(count - 1), GetPointInZoom(count - 2));
    if (atFirst) DrawTriangle(canvas, GetPointInZoom(0), GetPointInZoom(1));
}

void TMyLine::DrawTriangle(TCanvas& canvas, const TMyPoint& tip, const TMyPoint& next)
{
    const TMyPoint t = SplitLine(tip, next, FArrowOffset).m;
    // Wings longer than a byte are drawn at the longest length a byte holds
    // rather than wrapping around to a tiny head.
    const int32_t wing = std::clamp(RoundToInt(double(FArrowLength) * Zoom()), 0, 255);
    const TwoPoint wings =
        GetTriangle(t, next, static_cast<float>(FArrowAngle * std::numbers::pi / 180.0), static_cast<uint8_t>(wing));
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    canvas.Polygon({MyPtToPt(t), MyPtToPt(wings.m), MyPtToPt(wings.n)});
}

void TMyLine::DrawHot(TCanvas& canvas) { DrawPointHandles(*this, canvas); }

int32_t TMyLine::InWhichHot(const TPoint& p) { return PointHandleAt(*this, p); }

bool TMyLine::SegmentHit(const TPoint& a, const TPoint& b, const TPoint& p)
{
    const int32_t tol = kSegmentTolerance;
    const int32_t minX = std::min(a.X, b.X);
    const int32_t maxX = std::max(a.X, b.X);
    const int32_t minY = std::min(a.Y, b.Y);
    const int32_t maxY = std::max(a.Y, b.Y);
    if (a.X == b.X) return PtInRect({a.X - tol, minY, a.X + tol, maxY}, p);
    if (a.Y == b.Y) return PtInRect({minX, a.Y - tol, maxX, a.Y + tol}, p);
    if (!PtInRect({minX, minY, maxX, maxY}, p)) return false;
    const double dx = double(b.X) - a.X;
    const double dy = double(b.Y) - a.Y;
    if (std::fabs(dx) > std::fabs(dy)) {
        const double yl = dy / dx * (double(p.X) - a.X) + a.Y;
        return yl - tol <= p.Y && p.Y <= yl + tol;
    }
    const double xl = dx / dy * (double(p.Y) - a.Y) + a.X;
    return xl - tol <= p.X && p.X <= xl + tol;
}

TPaintArea TMyLine::PaintArea(double penWidth, double zoom) const
{
    // Points are rounded to pixels; a wide pen spreads half its width each
    // way and a mitred corner up to twice its width.
    double reach = 2.0 * penWidth + 2.0;
    if (FArrowStyle != TArrowStyle::ANone) {
        // The head's wings, at most 255 pixels, from a tip set back by the offset.
        reach += std::min(255.0, std::abs(double(FArrowLength) * zoom)) + double(FArrowOffset);
    }
    return {true, true, reach};
}

TShiftConstraint TMyLine::ShiftConstraint(bool sizing) const
{
    (void)sizing;
    return TShiftConstraint::HorzVert;
}

bool TMyLine::JoinsLines() const { return true; }
bool TMyLine::OffersLineEnds() const { return true; }

bool TMyLine::IsClickedMeBeforeWhichPoint(int32_t& index, const TPoint& p) const
{
    index = -1;
    for (int32_t i = 0; i + 1 < GetPointsCount(); ++i) {
        if (SegmentHit(MyPtToPt(GetPointInZoom(i)), MyPtToPt(GetPointInZoom(i + 1)), p)) {
            index = i + 1;
            return true;
        }
    }
    return false;
}

bool TMyLine::IsClickedMe(TCanvas& canvas, const TPoint& p)
{
    (void)canvas;
    int32_t index = -1;
    return IsClickedMeBeforeWhichPoint(index, p);
}

void TMyLine::Draging(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    const int32_t dx = to.X - from.X;
    const int32_t dy = to.Y - from.Y;
    for (int32_t i = 0; i + 1 < GetPointsCount(); ++i) {
        const TPoint a = Shifted(GetPointInZoom(i), dx, dy);
        const TPoint b = Shifted(GetPointInZoom(i + 1), dx, dy);
        canvas.MoveTo(a.X, a.Y);
        canvas.LineTo(b.X, b.Y);
    }
}

void TMyLine::Rotating(TCanvas& canvas, const TMyPoint& centre, double angle)
{
    for (int32_t i = 0; i < GetPointsCount(); ++i) {
        const TPoint p = MyPtToPt(RotateAPoint(GetPointInZoom(i), centre, static_cast<float>(angle)));
        if (i == 0) {
            canvas.MoveTo(p.X, p.Y);
        } else {
            canvas.LineTo(p.X, p.Y);
        }
    }
}

void TMyLine::Sizing(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    const int32_t h = SelectedHotId;
    if (h < 0 || h >= GetPointsCount()) return;
    const TPoint moved = Shifted(GetPointInZoom(h), to.X - from.X, to.Y - from.Y);
    if (h >= 1) {
        const TPoint other = MyPtToPt(GetPointInZoom(h - 1));
        canvas.MoveTo(moved.X, moved.Y);
        canvas.LineTo(other.X, other.Y);
    }
    if (h + 1 < GetPointsCount()) {
        const TPoint other = MyPtToPt(GetPointInZoom(h + 1));
        canvas.MoveTo(moved.X, moved.Y);
        canvas.LineTo(other.X, other.Y);
    }
}

void TMyLine::SizeChangeValue(const TMyPoint& from, const TMyPoint& to)
{
    PointAddXY(SelectedHotId, double(to.X) - double(from.X), double(to.Y) - double(from.Y));
    CenterPoint = ComputeCenterPoint(4);
}

String TMyLine::GetInfo()
{
    FInfo = GetLengthByUnit(MyPtToPt(GetPointInZoom(0)), MyPtToPt(GetPointInZoom(1)));
    return FInfo;
}

} // namespace mycad
