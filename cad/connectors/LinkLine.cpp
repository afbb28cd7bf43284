#include "cad/connectors/LinkLine.h"

#include "cad/connectors/ConnectorOwner.h"
#include "cad/connectors/LinkBook.h"
#include "cad/connectors/LinkPoint.h"
#include "cad/shapes/Group.h"
#include "cad/shapes/ShapeDraw.h"
#include "cad/shapes/ShapeOwner.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace mycad {

namespace {

TMyPoint Mid(const TMyPoint& a, const TMyPoint& b)
{
    return {static_cast<float>((double(a.X) + b.X) / 2.0), static_cast<float>((double(a.Y) + b.Y) / 2.0)};
}

TPoint Rounded(const TMyPoint& p) { return MyPtToPt(p); }

} // namespace

TConnectorOwner* ConnectorOwnerOf(TShapeOwner* owner) { return dynamic_cast<TConnectorOwner*>(owner); }

TMyLinkLine::TMyLinkLine(TShapeOwner* owner) : TMyLine(owner)
{
    if (FOwner) FLinkLineDrawStyle = FOwner->LinkLineDrawStyle();
}

String TMyLinkLine::ClassName() const { return u"TMyLinkLine"_s; }

std::vector<int32_t*> TMyLinkLine::ConnectorEndRefs() { return {&FStartSpNo, &FEndSpNo}; }

void TMyLinkLine::Assign(const TMyShape& source)
{
    TMyLine::Assign(source);
    if (&source == this) return;
    if (const auto* line = dynamic_cast<const TMyLinkLine*>(&source)) {
        FStartSpNo = line->FStartSpNo;
        FStartSpPtId = line->FStartSpPtId;
        FEndSpNo = line->FEndSpNo;
        FEndSpPtId = line->FEndSpPtId;
        FLinkLineDrawStyle = line->FLinkLineDrawStyle;
        Pin = line->Pin;
        Unroutable = line->Unroutable;
    }
}

// ---- Ends.

TMyShape* TMyLinkLine::GetStartShape() const
{
    if (FStartSpNo < 0 || !FOwner) return nullptr;
    TMyShape* s = FOwner->GetShapeByNo(FStartSpNo);
    return s == this ? nullptr : s;
}

TMyShape* TMyLinkLine::GetEndShape() const
{
    if (FEndSpNo < 0 || !FOwner) return nullptr;
    TMyShape* s = FOwner->GetShapeByNo(FEndSpNo);
    return s == this ? nullptr : s;
}

bool TMyLinkLine::IsStartAttached() const
{
    const TMyShape* s = GetStartShape();
    return s && FStartSpPtId >= 0 && FStartSpPtId < s->GetLinkPointsCount();
}

bool TMyLinkLine::IsEndAttached() const
{
    const TMyShape* s = GetEndShape();
    return s && FEndSpPtId >= 0 && FEndSpPtId < s->GetLinkPointsCount();
}

TMyPoint TMyLinkLine::GetStartPoint() const
{
    if (IsStartAttached()) return GetStartShape()->GetLinkPointInZoom(FStartSpPtId);
    return GetPointInZoom(0);
}

TMyPoint TMyLinkLine::GetEndPoint() const
{
    if (IsEndAttached()) return GetEndShape()->GetLinkPointInZoom(FEndSpPtId);
    return GetPointInZoom(GetPointsCount() - 1);
}

bool TMyLinkLine::CreateLinkAt(bool start, int32_t shapeId, int32_t k)
{
    if (!FOwner) return false;
    TMyShape* target = nullptr;
    for (int32_t no = 0; no < FOwner->GetShapesCount() && !target; ++no) {
        TMyShape* s = FOwner->GetShapeByNo(no);
        if (s && s->ShapeId == shapeId) target = s;
    }
    if (!target || target == this || k < 0 || k > target->GetLinkPointsCount() - 1) return false;
    SetLinkLineEnd(*this, start ? TLinkLineEndPoint::llStart : TLinkLineEndPoint::llEnd, target->ShapeNo, k);
    RouteBetweenEnds();
    FOwner->Invalidate();
    return true;
}

bool TMyLinkLine::CreateSrcLink(int32_t shapeId, int32_t k) { return CreateLinkAt(true, shapeId, k); }

bool TMyLinkLine::CreateDestLink(int32_t shapeId, int32_t k) { return CreateLinkAt(false, shapeId, k); }

void TMyLinkLine::RemoveSrcLink()
{
    FStartSpNo = -1;
    FStartSpPtId = -1;
}

void TMyLinkLine::RemoveDestLink()
{
    FEndSpNo = -1;
    FEndSpPtId = -1;
}

void TMyLinkLine::RemoveAllLink()
{
    RemoveSrcLink();
    RemoveDestLink();
}

// ---- Routing.

void TMyLinkLine::Route(TMyShape* startShape, const TMyPoint& start, TMyShape* endShape, const TMyPoint& end,
                        Tdirections dir, TCanvas* preview)
{
    if (FLinkLineDrawStyle == TLinkLineDrawStyle::lldsFree) {
        ThePoints.clear();
        AddPoint(start);
        AddPoint(end);
        return;
    }
    TConnectorOwner* avoiding = ConnectorOwnerOf(FOwner);
    if (!preview && avoiding && avoiding->RouteAvoiding(*this, startShape, start, endShape, end)) {
        CenterPoint = ComputeCenterPoint(4);
        TextOutPoint = {CenterPoint.X, static_cast<float>(double(GetRightBottom().Y) + 10.0)};
        return;
    }
    auto drawZoomed = [this](TCanvas& canvas) {
        TArrPoint pts;
        for (int32_t i = 0; i < GetPointsCount(); ++i) pts.push_back(Rounded(GetPointInZoom(i)));
        canvas.Polyline(pts);
    };
    if (preview) {
        SetDragResizeRotateShapeMode(*preview);
        if (GetPointsCount() > 2) drawZoomed(*preview);
    }
    auto endOf = [this](TMyShape* shape, const TMyPoint& p) {
        TRouteEnd e{p, shape != nullptr, dynamic_cast<TMyLineLinkLine*>(shape) != nullptr, p};
        if (e.OnShape && !e.Junction) e.Exit = GetMagicPoint(shape, p);
        return e;
    };
    TRouteObstacles obstacles;
    if (FOwner) {
        for (int32_t no = 0; no < FOwner->GetShapesCount(); ++no) {
            TMyShape* s = FOwner->GetShapeByNo(no);
            if (dynamic_cast<TMyCombine*>(s)) obstacles.Boxes.push_back(FOwner->GetShapesLTRBinZoom(s));
        }
    }
    const TConnectorOwner* connectors = ConnectorOwnerOf(FOwner);
    const bool around = connectors ? connectors->LinklineAroundShape() : true;
    const TArrMyPoint route = RouteOrthogonal(endOf(startShape, start), endOf(endShape, end), dir, obstacles, around);
    if (route.size() > 1) {
        ThePoints.clear();
        for (const TMyPoint& p : route) AddPoint(p);
        if (preview) drawZoomed(*preview);
    }
    CenterPoint = ComputeCenterPoint(4);
    TextOutPoint = {CenterPoint.X, static_cast<float>(double(GetRightBottom().Y) + 10.0)};
}

void TMyLinkLine::RouteBetweenEnds(TCanvas* preview)
{
    if (GetPointsCount() < 1 && !IsStartAttached() && !IsEndAttached()) return;
    TMyShape* s = IsStartAttached() ? GetStartShape() : nullptr;
    TMyShape* e = IsEndAttached() ? GetEndShape() : nullptr;
    Route(s, GetStartPoint(), e, GetEndPoint(), Tdirections::dNone, preview);
}

void TMyLinkLine::ResetRoute()
{
    Pin.reset();
    IsAutoMode = true;
    if (FLinkLineDrawStyle == TLinkLineDrawStyle::lldsHV && GetPointsCount() >= 2) RouteBetweenEnds();
}

void TMyLinkLine::SetLinkLineDrawStyle(TLinkLineDrawStyle value)
{
    if (value == FLinkLineDrawStyle) return;
    if (value == TLinkLineDrawStyle::lldsFree) {
        FLinkLineDrawStyle = value;
        if (GetPointsCount() > 2) ThePoints = {ThePoints.front(), ThePoints.back()};
        CenterPoint = ComputeCenterPoint(4);
        return;
    }
    IsAutoMode = true;
    FLinkLineDrawStyle = value;
    if (GetPointsCount() >= 2) RouteBetweenEnds();
}

void TMyLinkLine::MergePoints()
{
    // A straight connector's points are where the user put them: only exact
    // repeats go; squaring them up is for routes in legs.
    // So are the points of a route the avoiding router owns: it keeps its
    // routes square itself, and spaces their segments apart on purpose,
    // some closer than the squaring up would take for a slip of the hand.
    const TConnectorOwner* connectors = ConnectorOwnerOf(FOwner);
    const bool routed = connectors && connectors->LinkRouter() == TLinkRouter::lrAvoiding && (IsAutoMode || Pin);
    if (FLinkLineDrawStyle == TLinkLineDrawStyle::lldsFree || routed) {
        ThePoints.erase(std::unique(ThePoints.begin(), ThePoints.end()), ThePoints.end());
        return;
    }
    const TMyPoint s = IsStartAttached() ? GetStartShape()->GetLinkPoint(FStartSpPtId) : TMyPoint{};
    const TMyPoint e = IsEndAttached() ? GetEndShape()->GetLinkPoint(FEndSpPtId) : TMyPoint{};
    MergeRoutePoints(ThePoints, IsStartAttached(), IsEndAttached(), s, e);
}

// ---- Drawing.

namespace {

// The upper half circle of radius r about the origin, from the right end
// over the top to the left end, as integer offsets; chords at most about
// four pixels long stay within a quarter pixel of the circle. A drawing with
// ten thousand hops asks for the same few radii over and over, so each is
// computed once.
const TArrPoint& HopOffsets(int32_t r)
{
    thread_local std::vector<std::pair<int32_t, TArrPoint>> cache;
    for (const auto& [radius, offsets] : cache) {
        if (radius == r) return offsets;
    }
    const int32_t n = std::max(4, static_cast<int32_t>(std::ceil(std::numbers::pi * r / 4.0)));
    TArrPoint offsets;
    offsets.reserve(static_cast<size_t>(n) + 1);
    for (int32_t k = 0; k <= n; ++k) {
        const double t = std::numbers::pi * k / n;
        offsets.push_back({RoundToInt(r * std::cos(t)), -RoundToInt(r * std::sin(t))});
    }
    if (cache.size() >= 8) cache.erase(cache.begin());
    cache.emplace_back(r, std::move(offsets));
    return cache.back().second;
}

} // namespace

void TMyLinkLine::DrawHalfCircle(TCanvas& canvas, const TMyPoint& p)
{
    // A polyline rather than an arc: the canvas draws thin straight strokes
    // straight into the pixels, while every arc goes through a painter, and
    // hops are the bulk of a crowded diagram's strokes.
    const int32_t r = RoundToInt(double(R) * Zoom());
    const TPoint c = Rounded(p);
    TArrPoint points = HopOffsets(r);
    for (TPoint& q : points) q = {q.X + c.X, q.Y + c.Y};
    canvas.Polyline(points);
}

void TMyLinkLine::Draw(TCanvas& canvas)
{
    SetDrawShapeMode(*this, canvas);
    TPen newPen;
    TPen previousPen;
    // A fallback route the router could not clear of the shapes is dashed,
    // so it is not taken for a real one.
    SetPS(canvas, Unroutable ? TPenStyle::psDash : FPen.Style(), FPen.Color(), FPen.Width(), newPen, previousPen);
    MergePoints();
    const int32_t count = GetPointsCount();
    TConnectorOwner* connectors = ConnectorOwnerOf(FOwner);
    const bool hops = connectors && connectors->CrossLine();
    const int32_t r = RoundToInt(double(R) * Zoom());
    std::vector<float> crossings;
    for (int32_t i = 0; i + 1 < count; ++i) {
        const TMyPoint a = GetPointInZoom(i);
        const TMyPoint b = GetPointInZoom(i + 1);
        crossings.clear();
        if (hops && IsLineHV(a, b) == 1) connectors->LinkLineCrossings(a, b, crossings);
        if (crossings.empty()) {
            LineDraw(*this, canvas, a, b);
            continue;
        }
        const THopPlan plan = PlanHops(a, b, crossings, r);
        for (const auto& [from, to] : plan.Pieces) LineDraw(*this, canvas, from, to);
        for (const TMyPoint& hop : plan.Hops) DrawHalfCircle(canvas, hop);
    }
    SetDrawTriangleMode(*this, canvas);
    DrawArrowHeads(canvas);
    SetDrawShapeMode(*this, canvas);
    DrawInfo(canvas);
    ReleasePS(canvas, previousPen);
}

void TMyLinkLine::HandleMode(TCanvas& canvas) const
{
    if (FLocked) {
        SetDrawLockedHotMode(canvas);
    } else {
        SetDrawHotMode(canvas);
    }
}

void TMyLinkLine::DrawStartEnd(TCanvas& canvas, const TMyPoint& p)
{
    const int32_t hs = FOwner ? FOwner->HotSize() : 4;
    HandleMode(canvas);
    const TPoint c = Rounded(p);
    canvas.Rectangle(c.X - hs, c.Y - hs, c.X + hs, c.Y + hs);
}

void TMyLinkLine::DrawCorner(TCanvas& canvas, const TMyPoint& p)
{
    const int32_t hs = FOwner ? FOwner->HotSize() : 4;
    HandleMode(canvas);
    canvas.Pen().SetStyle(TPenStyle::psClear);
    const TPoint c = Rounded(p);
    canvas.Polygon({{c.X - hs, c.Y}, {c.X, c.Y - hs}, {c.X + hs, c.Y}, {c.X, c.Y + hs}});
}

void TMyLinkLine::DrawCenter(TCanvas& canvas, const TMyPoint& p)
{
    const int32_t hs = FOwner ? FOwner->HotSize() : 4;
    HandleMode(canvas);
    canvas.Pen().SetStyle(TPenStyle::psClear);
    const TPoint c = Rounded(p);
    canvas.Rectangle(c.X - hs, c.Y - hs, c.X + hs, c.Y + hs);
}

void TMyLinkLine::DrawHot(TCanvas& canvas)
{
    if (!FHotShow || (FOwner && !FOwner->HotShow())) return;
    const int32_t count = GetPointsCount();
    for (int32_t i = 0; i < count; ++i) {
        const TMyPoint p = GetPointInZoom(i);
        if (FLinkLineDrawStyle == TLinkLineDrawStyle::lldsFree || i == 0 || i == count - 1) {
            DrawStartEnd(canvas, p);
        } else {
            DrawCorner(canvas, p);
        }
        if (FLinkLineDrawStyle == TLinkLineDrawStyle::lldsHV && i + 1 < count)
            DrawCenter(canvas, Mid(p, GetPointInZoom(i + 1)));
    }
    HandleMode(canvas);
    DrawDiamond(*this, canvas, ZoomedValuePt(TextOutPoint), GetHotColor());
}

// ---- Handles and cursors.

int32_t TMyLinkLine::InWhichHot(const TPoint& p)
{
    const TActionTools tool = FOwner ? FOwner->ActionTool() : TActionTools::dtSelecting;
    if (tool == TActionTools::dtRotateSelecting) return -1;
    SelectedHotId = -1;
    const int32_t hs = FOwner ? FOwner->HotSize() : 4;
    const int32_t count = GetPointsCount();
    auto hit = [&](const TMyPoint& at) {
        const TPoint c = Rounded(at);
        return PtInRect({c.X - hs, c.Y - hs, c.X + hs, c.Y + hs}, p);
    };
    for (int32_t i = 0; i < count; ++i) {
        if (hit(GetPointInZoom(i))) SelectedHotId = i;
    }
    for (int32_t i = 0; i + 1 < count; ++i) {
        if (hit(Mid(GetPointInZoom(i), GetPointInZoom(i + 1)))) SelectedHotId = count + i;
    }
    return SelectedHotId;
}

TCursor TMyLinkLine::GetMouseCursor(int32_t x, int32_t y)
{
    const int32_t h = InWhichHot({x, y});
    const int32_t count = GetPointsCount();
    if (h >= 0 && h < count) return TCursor::crSizeAll;
    if (h >= count) {
        const int32_t s = h - count;
        return IsLineHV(GetPointInZoom(s), GetPointInZoom(s + 1)) == 2 ? TCursor::crSizeWE : TCursor::crSizeNS;
    }
    const TActionTools tool = FOwner ? FOwner->ActionTool() : TActionTools::dtSelecting;
    if (tool == TActionTools::dtDrawing || tool == TActionTools::dtResizing) {
        if (TConnectorOwner* connectors = ConnectorOwnerOf(FOwner)) {
            TMyPoint p{static_cast<float>(x / Zoom()), static_cast<float>(y / Zoom())};
            TMyLinkLine* other = nullptr;
            if (connectors->IsBreakLineByAPoint(p, other, nullptr) >= 0) return crBreakLine;
        }
    }
    return TCursor::crCross;
}

// ---- Drawing with the mouse.

bool TMyLinkLine::IsDrawingFinished(TMouseButton button, const TPoint& p)
{
    (void)button;
    (void)p;
    return GetPointsCount() >= 2;
}

void TMyLinkLine::Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    const TMyPoint start = IsStartAttached() ? GetStartPoint() : PtToMyPt(from);
    if (FLinkLineDrawStyle == TLinkLineDrawStyle::lldsFree) {
        SetDragResizeRotateShapeMode(canvas);
        const TPoint a = Rounded(start);
        canvas.MoveTo(a.X, a.Y);
        canvas.LineTo(to.X, to.Y);
        return;
    }
    TMyShape* startShape = IsStartAttached() ? GetStartShape() : nullptr;
    TMyShape* endShape = IsEndAttached() ? GetEndShape() : nullptr;
    Route(startShape, start, endShape, PtToMyPt(to), Tdirections::dNone, &canvas);
}

void TMyLinkLine::Drawed(const TPoint& from, TPoint& to)
{
    TMyLine::Drawed(from, to);
    TConnectorOwner* connectors = ConnectorOwnerOf(FOwner);
    if (connectors) connectors->GetMainShape(*this, TLinkLineEndPoint::llEnd, to);
    RegisterLinkLineEnds(*this);
    // Between attached ends the route is made again from the link points
    // themselves, not from where the mouse was while it was drawn.
    if (IsStartAttached() || IsEndAttached()) {
        if (FLinkLineDrawStyle == TLinkLineDrawStyle::lldsHV) {
            RouteBetweenEnds();
        } else {
            if (IsStartAttached()) SetPointInZoom(0, GetStartPoint());
            if (IsEndAttached()) SetPointInZoom(GetPointsCount() - 1, GetEndPoint());
        }
    }
    if (IsEndAttached() || !connectors) return;
    TMyPoint p{static_cast<float>(to.X / Zoom()), static_cast<float>(to.Y / Zoom())};
    TMyLinkLine* other = nullptr;
    const int32_t j = connectors->IsBreakLineByAPoint(p, other, this);
    if (j >= 0 && other) connectors->BreakLine(*this, Rounded(ZoomedValuePt(p)), *other, j);
}

// ---- Moving and route editing.

void TMyLinkLine::DragChangeValuedxdy(double dx, double dy)
{
    TMyShape::DragChangeValuedxdy(dx, dy);
    // Moved with other shapes (or as a member of a group, whose members move
    // one after another), the ends stay on their shapes and are re-routed.
    TConnectorOwner* connectors = ConnectorOwnerOf(FOwner);
    if (!connectors || connectors->GetSelectedShapesCount() >= 2 || HasParentShape() || GetPointsCount() == 0) return;
    connectors->GetMainShape(*this, TLinkLineEndPoint::llStart, Rounded(GetPointInZoom(0)));
    connectors->GetMainShape(*this, TLinkLineEndPoint::llEnd, Rounded(GetPointInZoom(GetPointsCount() - 1)));
}

TArrMyPoint TMyLinkLine::EditedRoute(int32_t h, double dx, double dy) const
{
    TArrMyPoint pts;
    for (int32_t i = 0; i < GetPointsCount(); ++i) pts.push_back(GetPointInZoom(i));
    if (FLinkLineDrawStyle == TLinkLineDrawStyle::lldsFree) {
        if (h >= 0 && h < GetPointsCount()) {
            TMyPoint& v = pts[static_cast<size_t>(h)];
            v = {static_cast<float>(double(v.X) + dx), static_cast<float>(double(v.Y) + dy)};
        }
        return pts;
    }
    EditRouteByHandle(pts, h, dx, dy, IsStartAttached(), IsEndAttached());
    return pts;
}

void TMyLinkLine::SetZoomedPoints(const TArrMyPoint& pts)
{
    ThePoints.resize(pts.size());
    for (size_t i = 0; i < pts.size(); ++i) SetPointInZoom(static_cast<int32_t>(i), pts[i]);
}

void TMyLinkLine::SizeChangeValue(const TMyPoint& from, const TMyPoint& to)
{
    const int32_t h = SelectedHotId;
    const int32_t count = GetPointsCount();
    if (h < 0 || count < 2) return;
    const double dx = double(to.X) - from.X;
    const double dy = double(to.Y) - from.Y;
    TConnectorOwner* connectors = ConnectorOwnerOf(FOwner);
    auto moved = [&](int32_t i) {
        const TMyPoint p = GetPointInZoom(i);
        return Rounded({static_cast<float>(double(p.X) + dx), static_cast<float>(double(p.Y) + dy)});
    };
    const bool startHandle = h == 0;
    const bool endHandle = h == count - 1;
    if (connectors && startHandle) connectors->GetMainShape(*this, TLinkLineEndPoint::llStart, moved(0));
    if (connectors && endHandle) connectors->GetMainShape(*this, TLinkLineEndPoint::llEnd, moved(count - 1));
    // Any drag of a middle handle reshapes the route, in whichever direction.
    const bool middle = !startHandle && !endHandle;
    if (FLinkLineDrawStyle == TLinkLineDrawStyle::lldsHV && middle && (dx != 0.0 || dy != 0.0)) IsAutoMode = false;
    const TMyPoint segA = h >= count && h < 2 * count - 1 ? GetPointInZoom(h - count) : TMyPoint{};
    const TMyPoint segB = h >= count && h < 2 * count - 1 ? GetPointInZoom(h - count + 1) : TMyPoint{};
    SetZoomedPoints(EditedRoute(h, dx, dy));
    // With the avoiding router a dragged segment becomes a pin on its line;
    // the router routes the rest of the connector to it and away from it.
    if (connectors && connectors->LinkRouter() == TLinkRouter::lrAvoiding && h >= count && h < 2 * count - 1 &&
        FLinkLineDrawStyle == TLinkLineDrawStyle::lldsHV && (dx != 0.0 || dy != 0.0)) {
        const TMyPoint& a = segA;
        const TMyPoint& b = segB;
        const double z = Zoom();
        const bool horizontal = IsLineHV(a, b) == 1;
        const auto doc = [z](double v) { return static_cast<float>(v / z); };
        TRoutePin pin;
        pin.Horizontal = horizontal;
        pin.At = horizontal ? doc(double(a.Y) + dy) : doc(double(a.X) + dx);
        pin.From = horizontal ? doc(a.X) : doc(a.Y);
        pin.To = horizontal ? doc(b.X) : doc(b.Y);
        Pin = pin;
        RouteBetweenEnds();
        CenterPoint = ComputeCenterPoint(4);
        return;
    }
    // An end released on a link point sits on it exactly; in automatic mode
    // the whole route follows.
    if ((startHandle && IsStartAttached()) || (endHandle && IsEndAttached())) {
        if (FLinkLineDrawStyle == TLinkLineDrawStyle::lldsHV && IsAutoMode) {
            RouteBetweenEnds();
        } else if (startHandle) {
            SetPointInZoom(0, GetStartPoint());
        } else {
            SetPointInZoom(GetPointsCount() - 1, GetEndPoint());
        }
    }
    CenterPoint = ComputeCenterPoint(4);
}

void TMyLinkLine::Sizing(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    if (FLinkLineDrawStyle == TLinkLineDrawStyle::lldsFree) {
        if (SelectedHotId < GetPointsCount()) TMyLine::Sizing(canvas, from, to);
        return;
    }
    const TArrMyPoint pts = EditedRoute(SelectedHotId, double(to.X) - from.X, double(to.Y) - from.Y);
    TArrPoint outline;
    for (const TMyPoint& p : pts) outline.push_back(Rounded(p));
    canvas.Polyline(outline);
}

TPaintArea TMyLinkLine::PaintArea(double penWidth, double zoom) const
{
    TPaintArea area = TMyLine::PaintArea(penWidth, zoom);
    area.Reach += std::abs(double(R) * zoom) + 2.0;
    return area;
}

TShiftConstraint TMyLinkLine::ShiftConstraint(bool sizing) const
{
    return sizing ? TShiftConstraint::None : TShiftConstraint::HorzVert;
}

bool TMyLinkLine::JoinsLines() const { return false; }
bool TMyLinkLine::OffersLineEnds() const { return false; }
String TMyLinkLine::GetInfo() { return String(); }

void FreeConnectorEnd(TMyShape& connector, bool startEnd)
{
    if (auto* line = dynamic_cast<TMyLinkLine*>(&connector)) {
        if (startEnd) {
            line->RemoveSrcLink();
        } else {
            line->RemoveDestLink();
        }
        return;
    }
    const std::vector<int32_t*> ends = connector.ConnectorEndRefs();
    const size_t which = startEnd ? 0 : 1;
    if (which < ends.size() && ends[which]) *ends[which] = -1;
}

} // namespace mycad
