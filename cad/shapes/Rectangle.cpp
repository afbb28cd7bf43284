#include "cad/shapes/Rectangle.h"

#include "cad/shapes/ShapeDraw.h"
#include "cad/shapes/ShapeOwner.h"

#include <array>

namespace mycad {

namespace {

// For each handle: the point it grabs (a), the point sharing a's row (b)
// and the point sharing a's column (k). A side handle names its edge's first
// corner as a and b.
struct HandleMove {
    int32_t a;
    int32_t b;
    int32_t k;
};

constexpr std::array<HandleMove, 8> kHandleMoves{{
    {0, 1, 3},
    {1, 0, 2},
    {2, 3, 1},
    {3, 2, 0},
    {0, 0, 1},
    {1, 1, 2},
    {2, 2, 3},
    {3, 3, 0},
}};

TMyPoint Midway(double from, double to, double fixed, bool horizontal)
{
    const double m = from + (to - from) / 2.0;
    return horizontal ? TMyPoint{static_cast<float>(m), static_cast<float>(fixed)}
                      : TMyPoint{static_cast<float>(fixed), static_cast<float>(m)};
}

} // namespace

TMyRectangle::TMyRectangle(TShapeOwner* owner) : TMyShape(owner) {}

String TMyRectangle::ClassName() const { return u"TMyRectangle"_s; }

TPaintArea TMyRectangle::PaintArea(double penWidth, double zoom) const
{
    (void)zoom;
    // The outline and its fill stay inside the four points; a wide pen
    // spreads half its width each way and a mitred corner up to twice it.
    return {true, true, 2.0 * penWidth + 2.0};
}

TShiftConstraint TMyRectangle::ShiftConstraint(bool sizing) const
{
    (void)sizing;
    return TShiftConstraint::Square;
}

int32_t TMyRectangle::HandlePointNo(int32_t hotId) const { return hotId >= 4 ? hotId - 4 : hotId; }
bool TMyRectangle::HandleSizesOneSide(int32_t hotId) const { return hotId > 3 && !FAssociateSideResizing; }
bool TMyRectangle::ResizesToHandlerPoint() const { return true; }

TMyPoint TMyRectangle::GetCenterPoint() const { return ComputeCenterPoint(4); }

TMyPoint TMyRectangle::GetPoint(int32_t index) const
{
    if (GetPointsCount() < 4 || index < 0 || index > 7) return TMyShape::GetPoint(index);
    const TMyPoint c = GetCenterPoint();
    TMyPoint q[4];
    for (size_t i = 0; i < 4; ++i) q[i] = RotateAPoint(ThePoints[i], c, -FAngle);
    TMyPoint unturned;
    switch (index) {
    case 4: unturned = Midway(q[0].X, q[1].X, q[0].Y, true); break;
    case 5: unturned = Midway(q[1].Y, q[2].Y, q[1].X, false); break;
    case 6: unturned = Midway(q[3].X, q[2].X, q[2].Y, true); break;
    case 7: unturned = Midway(q[1].Y, q[2].Y, q[0].X, false); break;
    default: unturned = q[index]; break;
    }
    return RotateAPoint(unturned, c, FAngle);
}

void TMyRectangle::AddPointByMouse(const TPoint& p)
{
    if (ThePoints.empty()) {
        AddPoint(PtToMyPt(p));
        return;
    }
    if (ThePoints.size() != 1) return;
    // Compared in device pixels, so a press point that went through the zoom
    // still counts as the same row or column.
    const TPoint p0 = ZoomedRounded(ThePoints[0]);
    if (p.X == p0.X || p.Y == p0.Y) return;
    const TMyPoint first = ThePoints[0];
    const float x = static_cast<float>(p.X / Zoom());
    const float y = static_cast<float>(p.Y / Zoom());
    ThePoints.push_back({x, first.Y});
    ThePoints.push_back({x, y});
    ThePoints.push_back({first.X, y});
}

bool TMyRectangle::IsDrawingFinished(TMouseButton button, const TPoint& p)
{
    (void)button;
    (void)p;
    return GetPointsCount() == 4;
}

TArrPoint TMyRectangle::ZoomedCorners(bool closed) const
{
    TArrPoint pts;
    pts.reserve(5);
    for (size_t i = 0; i < 4 && i < ThePoints.size(); ++i) pts.push_back(ZoomedRounded(ThePoints[i]));
    if (closed && !pts.empty()) pts.push_back(pts.front());
    return pts;
}

void TMyRectangle::DrawRectangle(TCanvas& canvas, const TArrPoint& pts)
{
    if (pts.size() < 4) return;
    canvas.MoveTo(pts[0].X, pts[0].Y);
    for (size_t i : {1, 2, 3, 0}) canvas.LineTo(pts[i].X, pts[i].Y);
}

void TMyRectangle::Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    SetDragResizeRotateShapeMode(canvas);
    canvas.Rectangle(from.X, from.Y, to.X, to.Y);
}

void TMyRectangle::Draging(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    TArrPoint pts = ZoomedCorners(false);
    for (TPoint& p : pts) {
        p.X += to.X - from.X;
        p.Y += to.Y - from.Y;
    }
    DrawRectangle(canvas, pts);
}

void TMyRectangle::Rotating(TCanvas& canvas, const TMyPoint& centre, double angle)
{
    TArrPoint pts;
    for (size_t i = 0; i < 4 && i < ThePoints.size(); ++i) {
        pts.push_back(MyPtToPt(RotateAPoint(ZoomedValuePt(ThePoints[i]), centre, static_cast<float>(angle))));
    }
    DrawRectangle(canvas, pts);
}

bool TMyRectangle::SizedPoints(int32_t hot, const TMyPoint& target, TArrMyPoint& result) const
{
    if (hot < 0 || hot > 7 || ThePoints.size() < 4) return false;
    const HandleMove move = kHandleMoves[static_cast<size_t>(hot)];
    const TMyPoint c = GetCenterPoint();
    const float a = FAngle;
    // The box in the unrotated frame, turned arithmetically about the centre
    // rather than by turning the shape and back, so no point drifts.
    TArrMyPoint unturned;
    for (size_t i = 0; i < 4; ++i) unturned.push_back(RotateAPoint(ThePoints[i], c, -a));
    const TMyRect box = GetPointsLTRB(unturned);
    const TMyPoint lt{box.Left, box.Top};
    const TMyPoint rb{box.Right, box.Bottom};
    const TMyPoint rt{box.Right, box.Top};
    const TMyPoint lb{box.Left, box.Bottom};
    const TMyPoint pa = unturned[static_cast<size_t>(move.a)];
    const TMyPoint t = RotateAPoint(target, c, -a);
    const bool accepted = (IsAtLeftTop(c, pa) && IsAtLeftTop(rb, t)) ||
                          (IsAtRightBottom(c, pa) && IsAtRightBottom(lt, t)) ||
                          (IsAtRightTop(c, pa) && IsAtRightTop(lb, t)) ||
                          (IsAtLeftBottom(c, pa) && IsAtLeftBottom(rt, t));
    if (!accepted) return false;
    double dx = double(t.X) - double(pa.X);
    double dy = double(t.Y) - double(pa.Y);
    const bool side = hot >= 4;
    if (side) {
        // An edge moves only across itself.
        if (move.a == 0 || move.a == 2) dx = 0.0;
        if (move.a == 1 || move.a == 3) dy = 0.0;
    }
    result = ThePoints;
    result.resize(4);
    if (!side) result[static_cast<size_t>(move.a)] = RotateAPoint(t, c, a);
    TMyPoint b = unturned[static_cast<size_t>(move.b)];
    b.Y = static_cast<float>(double(b.Y) + dy);
    if (side) b.X = static_cast<float>(double(b.X) + dx);
    result[static_cast<size_t>(move.b)] = RotateAPoint(b, c, a);
    TMyPoint k = unturned[static_cast<size_t>(move.k)];
    k.X = static_cast<float>(double(k.X) + dx);
    if (side) k.Y = static_cast<float>(double(k.Y) + dy);
    result[static_cast<size_t>(move.k)] = RotateAPoint(k, c, a);
    return true;
}

void TMyRectangle::SizeChangeValue(const TMyPoint& from, const TMyPoint& to)
{
    (void)from;
    const TMyPoint target{static_cast<float>(to.X / Zoom()), static_cast<float>(to.Y / Zoom())};
    TArrMyPoint sized;
    if (SizedPoints(SelectedHotId, target, sized)) {
        for (size_t i = 0; i < 4; ++i) ThePoints[i] = sized[i];
    }
    CenterPoint = ComputeCenterPoint(4);
}

void TMyRectangle::Sizing(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    (void)from;
    const TMyPoint target{static_cast<float>(to.X / Zoom()), static_cast<float>(to.Y / Zoom())};
    TArrMyPoint sized;
    if (!SizedPoints(SelectedHotId, target, sized)) return;
    TArrPoint pts;
    for (const TMyPoint& p : sized) pts.push_back(ZoomedRounded(p));
    DrawRectangle(canvas, pts);
}

void TMyRectangle::Draw(TCanvas& canvas)
{
    if (ThePoints.size() < 4) return;
    SetDrawShapeMode(*this, canvas);
    // The closed outline in one buffer that every rectangle drawn on the
    // thread reuses, so that drawing thousands allocates nothing; drawing
    // one rectangle never draws another.
    thread_local TArrPoint outline;
    outline.clear();
    for (size_t i = 0; i < 4; ++i) outline.push_back(ZoomedRounded(ThePoints[i]));
    outline.push_back(outline.front());
    PowerDrawShape(canvas, outline, static_cast<int32_t>(outline.size()), true);
    if (ShowsInfoCaption()) DrawInfo(canvas);
}

std::vector<int32_t> TMyRectangle::ExistingHandles() const
{
    std::vector<int32_t> handles{0, 1, 2, 3};
    const TActionTools tool = FOwner ? FOwner->ActionTool() : TActionTools::dtSelecting;
    const bool rotating = tool == TActionTools::dtRotating || tool == TActionTools::dtRotateSelecting;
    if (!FShowSideHot || rotating) return handles;
    for (int32_t h = 4; h <= 7; ++h) {
        const bool vertical = h == 4 || h == 6;
        if (vertical ? FShowVerticalSideHot : FShowHorizontalSideHot) handles.push_back(h);
    }
    return handles;
}

void TMyRectangle::DrawHot(TCanvas& canvas)
{
    if (ThePoints.size() < 4 || (FOwner && !FOwner->HotShow())) return;
    for (int32_t h : ExistingHandles()) DrawSquare(*this, canvas, GetPointInZoom(h));
    DrawDiamond(*this, canvas, ZoomedValuePt(TextOutPoint), GetHotColor());
}

int32_t TMyRectangle::InWhichHot(const TPoint& p)
{
    SelectedHotId = -1;
    if (ThePoints.size() < 4) return SelectedHotId;
    const int32_t hot = FOwner ? FOwner->HotSize() : 4;
    for (int32_t h : ExistingHandles()) {
        const TPoint at = MyPtToPt(GetPointInZoom(h));
        if (PtInRect({at.X - hot, at.Y - hot, at.X + hot, at.Y + hot}, p)) SelectedHotId = h;
    }
    return SelectedHotId;
}

bool TMyRectangle::IsClickedMe(TCanvas& canvas, const TPoint& p)
{
    (void)canvas;
    if (ThePoints.size() < 4) return false;
    return TRegion::CreatePolygonRgn(ZoomedCorners(false), ALTERNATE).PtInRegion(p.X, p.Y);
}

TCursor TMyRectangle::GetMouseCursor(int32_t x, int32_t y)
{
    const int32_t h = InWhichHot({x, y});
    if (h < 0) return TCursor::crCross;
    if (h == 4 || h == 6) return TCursor::crSizeNS;
    if (h == 5 || h == 7) return TCursor::crSizeWE;
    const TMyPoint p{static_cast<float>(x / Zoom()), static_cast<float>(y / Zoom())};
    const TMyPoint c = CenterPoint;
    TCursor cursor = TCursor::crCross;
    if (IsAtLeftTop(c, p)) cursor = TCursor::crSizeNWSE;
    if (IsAtLeftBottom(c, p)) cursor = TCursor::crSizeNESW;
    if (IsAtRightTop(c, p)) cursor = TCursor::crSizeNESW;
    if (IsAtRightBottom(c, p)) cursor = TCursor::crSizeNWSE;
    return cursor;
}

String TMyRectangle::GetInfo() { return AreaInfo(double(GetMyWidth()) * double(GetMyHeight())); }

String TMyRectangle::AreaInfo(double area)
{
    FInfo = AreaText(*this, area);
    return FInfo;
}

String TMyRectangle::GetLengthByUnit(const TPoint& from, const TPoint& to)
{
    const double ratio = FOwner ? FOwner->Ratio() : 1.0;
    const TUnits unit = FOwner ? FOwner->TheUNIT() : TUnits::pixel;
    const TMyPoint corner{static_cast<float>(to.X), static_cast<float>(from.Y)};
    const double w = GetLengthinPixel(PtToMyPt(from), corner);
    const double h = GetLengthinPixel(PtToMyPt(to), corner);
    const String unit1 = UnitSuffix(unit);
    const String unit2 = unit1.trimmed();
    return u"m="_s + FormatMeasure(DeviceLengthInUnit(w, unit, ratio, Zoom()), 2).trimmed() + unit1 +
           u"\r"_s + u"n="_s +
           FormatMeasure(DeviceLengthInUnit(h, unit, ratio, Zoom()), 2).trimmed() + unit2;
}

} // namespace mycad
