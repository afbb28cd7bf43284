// TMyCAD: the canvas side of connectors. Attaching ends at the mouse,
// connectors by code, the hops of a paint, and joining a connector onto the
// middle of another at a junction dot, which splits the other in two.
#include "cad/canvas/MyCAD.h"

#include "cad/connectors/LinkBook.h"
#include "cad/connectors/LinkLine.h"
#include "cad/connectors/LinkPoint.h"
#include "cad/shapes/ShapeDraw.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace mycad {

namespace {

TMyPoint Zoomed(const TMyPoint& p, double zoom)
{
    return {static_cast<float>(double(p.X) * zoom), static_cast<float>(double(p.Y) * zoom)};
}

} // namespace

// ---- Attaching.

int32_t TMyCAD::CreateLink(const String& name, TMyShape* src, int32_t i, TMyShape* dst, int32_t j)
{
    if (!src || !dst || ListChangesRefused()) return -1;
    if (i < 0 || i >= src->GetLinkPointsCount() || j < 0 || j >= dst->GetLinkPointsCount()) return -1;
    if (GetShapeByNo(src->ShapeNo) != src || GetShapeByNo(dst->ShapeNo) != dst) return -1;
    auto line = std::make_unique<TMyLinkLine>(this);
    TMyLinkLine* raw = line.get();
    raw->SetStartSpNo(src->ShapeNo);
    raw->SetStartSpPtId(i);
    raw->SetEndSpNo(dst->ShapeNo);
    raw->SetEndSpPtId(j);
    raw->Route(src, src->GetLinkPointInZoom(i), dst, dst->GetLinkPointInZoom(j), Tdirections::dNone, nullptr);
    raw->SetName(name);
    AllocateShapeNoIdName(*raw, false);
    std::unique_ptr<TMyShape> shape = std::move(line);
    // The shapes list the connector only once it is in the drawing, so a
    // refused add leaves no number behind that names nothing.
    if (!AddShape(shape, false, false)) return -1;
    RegisterLinkLineEnds(*raw);
    TMyShape* added = raw;
    if (OnShapeAdded) OnShapeAdded(added, GetShapesCount());
    PushtoUndoRedoShapeList({raw}, ACT_ADD);
    const int32_t id = raw->ShapeId;
    RemoveAllWorkingShapes();
    AddWorkingShapes(raw);
    Invalidate();
    WorkingShape = nullptr;
    return id;
}

void TMyCAD::GetMainShape(TMyLinkLine& line, TLinkLineEndPoint end, const TPoint& p)
{
    int32_t no = -1;
    int32_t id = -1;
    InWhichShapeWhichHotLinkId(no, id, p);
    if (GetShapeByNo(no) == &line) no = id = -1;
    SetLinkLineEnd(line, end, no, id);
}

int32_t TMyCAD::IsinHotLink(TMyShape* shape, const TPoint& p) const { return shape ? mycad::IsinHotLink(*shape, p) : -1; }

int32_t TMyCAD::IsLinked(TMyShape* a, TMyShape* b) const { return a && b ? mycad::IsLinked(*this, *a, *b) : -1; }

void TMyCAD::ClearAllLinkHot()
{
    mcHotLinkId = -1;
    mcHotLinkShape = nullptr;
}

void TMyCAD::ChangeLinkShapes(TMyShape* shape)
{
    if (!shape) return;
    if (FLinkRouter == TLinkRouter::lrAvoiding) {
        SyncAvoidRouter(nullptr);
        TMyShape* root = GetRootParentShape(shape);
        const int32_t key = AvoidObstacleKey(root);
        if (key >= 0) {
            // The scene already holds the shape where it now is; the step
            // finds what it touches there.
            FAvoidRouted = FAvoidRouter.MoveObstacle(key, *FAvoidRouter.BoxOf(key));
            TakeAvoidRoutes(FAvoidRouted);
        }
    }
    // Connectors the user shaped keep their middle; those just routed stay.
    RerouteLinkLines(*this, *shape, [this](const TMyLinkLine& line) {
        return std::find(FAvoidRouted.begin(), FAvoidRouted.end(), line.ShapeId) != FAvoidRouted.end();
    });
    FAvoidRouted.clear();
}

void TMyCAD::RestoreLinkLineEnds(TMyShape& live, const TMyShape& saved)
{
    auto* line = dynamic_cast<TMyLinkLine*>(&live);
    const auto* copy = dynamic_cast<const TMyLinkLine*>(&saved);
    if (!line || !copy) return;
    auto valid = [this](int32_t no, int32_t id) {
        const TMyShape* s = GetShapeByNo(no);
        return s && id >= 0 && id < s->GetLinkPointsCount();
    };
    auto restore = [&](TLinkLineEndPoint end, int32_t no, int32_t id) {
        if (!valid(no, id)) no = id = -1;
        SetLinkLineEnd(*line, end, no, id);
    };
    restore(TLinkLineEndPoint::llStart, copy->StartSpNo(), copy->StartSpPtId());
    restore(TLinkLineEndPoint::llEnd, copy->EndSpNo(), copy->EndSpPtId());
}

// ---- Link points under the mouse.

void TMyCAD::DrawHoverLinkMarks(int32_t shapeId)
{
    TMyShape* s = shapeId >= 0 ? GetShapeByID(shapeId) : nullptr;
    if (!s) return;
    TCanvas& c = Canvas();
    c.Pen().SetWidth(1);
    c.Pen().SetStyle(TPenStyle::psSolid);
    c.Pen().SetMode(TPenMode::pmXor);
    // Blue on a white page, like the marks painted with the drawing.
    c.Pen().SetColor(0x00FFFF);
    for (int32_t i = 0; i < s->GetLinkPointsCount(); ++i) {
        const TMyPoint p = s->GetLinkPointInZoom(i);
        const double x = p.X;
        const double y = p.Y;
        c.MoveTo(RoundToInt(x - 2.5), RoundToInt(y - 2.5));
        c.LineTo(RoundToInt(x + 2.5), RoundToInt(y + 2.5));
        c.MoveTo(RoundToInt(x + 2.5), RoundToInt(y - 2.5));
        c.LineTo(RoundToInt(x - 2.5), RoundToInt(y + 2.5));
    }
}

void TMyCAD::ShowLinkPointsUnder(const TPoint& p)
{
    if (FShowHotLink || !FHotShow) return;
    int32_t under = -1;
    // The topmost shape with link points whose box, widened by the reach of
    // a link point, holds the mouse.
    for (auto it = MyShapes.rbegin(); it != MyShapes.rend() && under < 0; ++it) {
        TMyShape* s = it->get();
        if (!s || s->LinkPoints.empty() || s == FDrawnShape.get() || !s->Visible()) continue;
        if (!IsVisibleLayerByID(GetRootParentShape(s)->LayerId)) continue;
        const TRect box = ExpandRect(myRecttoRect(GetShapesLTRBinZoom(s)), 6);
        TRect marks = box;
        for (int32_t i = 0; i < s->GetLinkPointsCount(); ++i) {
            const TPoint l = MyPtToPt(s->GetLinkPointInZoom(i));
            marks = {std::min(marks.Left, l.X - 6), std::min(marks.Top, l.Y - 6), std::max(marks.Right, l.X + 6),
                     std::max(marks.Bottom, l.Y + 6)};
        }
        if (PtInRect(marks, p)) under = s->ShapeId;
    }
    if (under == FHoverMarksShapeId) return;
    DrawHoverLinkMarks(FHoverMarksShapeId);
    FHoverMarksShapeId = under;
    DrawHoverLinkMarks(under);
}

// ---- Routing.

void TMyCAD::GetPath(TCanvas* canvas, TMyLinkLine& line, TMyShape* startShape, const TMyPoint& start,
                     TMyShape* endShape, const TMyPoint& end, Tdirections dir)
{
    line.Route(startShape, start, endShape, end, dir, canvas);
}

void TMyCAD::DrawNiceLine_SAV(TCanvas& canvas, TMyLinkLine& line, TMyShape* startShape, TPoint start,
                              TMyShape* endShape, TPoint end, TLinkLineStyle style)
{
    if (start == end) return;
    if (line.LinkLineDrawStyle() == TLinkLineDrawStyle::lldsFree) {
        line.AddPoint(PtToMyPt(start));
        line.AddPoint(PtToMyPt(end));
        return;
    }
    const TPoint wanted = end;
    if (style == TLinkLineStyle::llsFree) {
        if (startShape) {
            line.AddPoint(PtToMyPt(start));
            start = MyPtToPt(line.GetMagicPoint(startShape, PtToMyPt(start)));
        }
        if (endShape) end = MyPtToPt(line.GetMagicPoint(endShape, PtToMyPt(end)));
    }
    int32_t dx = 0;
    int32_t dy = 0;
    auto towardX = [&]() { dx = end.X > start.X ? 1 : -1; dy = 0; };
    auto towardY = [&]() { dy = end.Y > start.Y ? 1 : -1; dx = 0; };
    const int64_t ax = std::llabs(int64_t(start.X) - end.X);
    const int64_t ay = std::llabs(int64_t(start.Y) - end.Y);
    if (style == TLinkLineStyle::llsHorz && start.X != end.X) {
        towardX();
    } else if (style == TLinkLineStyle::llsVert && start.Y != end.Y) {
        towardY();
    } else if (ax >= ay && start.Y != end.Y) {
        towardY();
    } else if (ax < ay && start.X != end.X) {
        towardX();
    } else if (start.X != end.X) {
        towardX();
    } else if (start.Y != end.Y) {
        towardY();
    }
    TArrPoint walked{start};
    TPoint c = start;
    // One pixel a step, turning once each coordinate is reached; the walk is
    // bounded by the distance, so it always ends.
    for (int64_t n = 0; n <= ax + ay + 2 && c != end && (dx != 0 || dy != 0); ++n) {
        c.X += dx;
        c.Y += dy;
        if (dx != 0 && c.X == end.X) {
            if (c.Y != end.Y) {
                towardY();
                walked.push_back(c);
            } else {
                dx = 0;
            }
        } else if (dy != 0 && c.Y == end.Y) {
            if (c.X != end.X) {
                towardX();
                walked.push_back(c);
            } else {
                dy = 0;
            }
        }
    }
    if (c != end) return;
    line.AddPoint(PtToMyPt(start));
    for (size_t k = 1; k < walked.size(); ++k) line.AddPoint(PtToMyPt(walked[k]));
    SetDragResizeRotateShapeMode(canvas);
    walked.push_back(end);
    canvas.Polyline(walked);
    line.AddPoint(PtToMyPt(end));
    if (style == TLinkLineStyle::llsFree && endShape) line.AddPoint(PtToMyPt(wanted));
}

// ---- Hops.

void TMyCAD::PrepareConnectorsForPaint()
{
    FCrossings.Clear();
    bool changed = false;
    for (const uint32_t no : WillDrawShapesNo) {
        auto* line = dynamic_cast<TMyLinkLine*>(MyShapes[no].get());
        if (!line) continue;
        const TArrMyPoint before = line->ThePoints;
        line->MergePoints();
        changed = changed || line->ThePoints != before;
        if (!FCrossLine) continue;
        TArrMyPoint zoomed;
        zoomed.reserve(line->ThePoints.size());
        for (const TMyPoint& p : line->ThePoints) zoomed.push_back(Zoomed(p, FZoom));
        FCrossings.AddRoute(zoomed);
    }
    FCrossings.Build();
    FCrossingsValid = true;
    // A route tidied here may reach outside what the paint index knew of it.
    if (changed) FDrawExtentsValid = false;
}

void TMyCAD::LinkLineCrossings(const TMyPoint& a, const TMyPoint& b, std::vector<float>& xs)
{
    if (FCrossingsValid) {
        FCrossings.Crossings(a, b, xs);
        return;
    }
    // Drawn outside a paint: the connectors the last paint chose.
    std::vector<TArrMyPoint> routes;
    for (const uint32_t no : WillDrawShapesNo) {
        const auto* line = no < MyShapes.size() ? dynamic_cast<const TMyLinkLine*>(MyShapes[no].get()) : nullptr;
        if (!line) continue;
        TArrMyPoint zoomed;
        for (const TMyPoint& p : line->ThePoints) zoomed.push_back(Zoomed(p, FZoom));
        routes.push_back(std::move(zoomed));
    }
    std::vector<const TArrMyPoint*> refs;
    for (const TArrMyPoint& r : routes) refs.push_back(&r);
    CollectCrossings(refs, a, b, xs);
}

// ---- Junctions.

int32_t TMyCAD::IsBreakLineByAPoint(TMyPoint& p, TMyLinkLine*& line, const TMyShape* skip)
{
    line = nullptr;
    for (const auto& s : MyShapes) {
        auto* candidate = dynamic_cast<TMyLinkLine*>(s.get());
        if (!candidate || candidate == skip) continue;
        TMyPoint q = p;
        const int32_t j = BreakableSegment(candidate->ThePoints, q, FHotSize);
        if (j < 0) continue;
        p = q;
        line = candidate;
        return j;
    }
    return -1;
}

TMyLinkLine* TMyCAD::SplitOffSecondHalf(TMyLinkLine& other, const TMyPoint& zoomedAt, int32_t j)
{
    auto half = std::make_unique<TMyLinkLine>(this);
    TMyLinkLine* raw = half.get();
    raw->AddPoint(zoomedAt);
    for (int32_t i = j + 1; i < other.GetPointsCount(); ++i) raw->AddPoint(other.GetPointInZoom(i));
    raw->CenterPoint = raw->ComputeCenterPoint(4);
    raw->TextOutPoint = {raw->CenterPoint.X, static_cast<float>(double(raw->GetRightBottom().Y) + 10.0)};
    AllocateShapeNoIdName(*raw, true);
    std::unique_ptr<TMyShape> shape = std::move(half);
    if (!AddShape(shape, false, false)) return nullptr;
    // The second half takes over where the connector ended.
    const int32_t endNo = other.IsEndAttached() ? other.EndSpNo() : -1;
    const int32_t endId = other.IsEndAttached() ? other.EndSpPtId() : -1;
    SetLinkLineEnd(other, TLinkLineEndPoint::llEnd, -1, -1);
    SetLinkLineEnd(*raw, TLinkLineEndPoint::llEnd, endNo, endId);
    PushtoUndoRedoShapeList({raw}, ACT_ADD);
    return raw;
}

void TMyCAD::CutOntoJunction(TMyLinkLine& other, const TMyPoint& zoomedAt, int32_t j, TMyShape& junction)
{
    other.ThePoints.resize(static_cast<size_t>(j) + 1);
    other.AddPoint(zoomedAt);
    other.CenterPoint = other.ComputeCenterPoint(4);
    SetLinkLineEnd(other, TLinkLineEndPoint::llEnd, junction.ShapeNo, 0);
}

bool TMyCAD::BreakLine(TMyLinkLine& line, const TPoint& p, TMyLinkLine& other, int32_t j)
{
    if (j < 0 || j + 1 >= other.GetPointsCount() || &line == &other || ListChangesRefused()) return false;
    if (GetShapeByNo(other.ShapeNo) != &other) return false;
    PushtoUndoRedoShapeList({&other}, ACT_CHANGE);
    const TMyPoint at = PtToMyPt(p);
    TMyLinkLine* second = SplitOffSecondHalf(other, at, j);
    if (!second) return false;

    auto dot = std::make_unique<TMyLineLinkLine>(this);
    TMyLineLinkLine* junction = dot.get();
    junction->AddPointByMouse(p);
    junction->CenterPoint = junction->ComputeCenterPoint(4);
    junction->TextOutPoint = {junction->CenterPoint.X, static_cast<float>(double(junction->GetLeftBottom().Y) + 10.0)};
    AllocateShapeNoIdName(*junction, true);
    std::unique_ptr<TMyShape> shape = std::move(dot);
    if (!AddShape(shape, false, false)) return false;
    SetLinkLineEnd(line, TLinkLineEndPoint::llEnd, junction->ShapeNo, 0);
    PushtoUndoRedoShapeList({junction}, ACT_ADD);
    SetLinkLineEnd(*second, TLinkLineEndPoint::llStart, junction->ShapeNo, 0);
    CutOntoJunction(other, at, j, *junction);
    // The joining connector ends on the dot itself.
    if (line.LinkLineDrawStyle() == TLinkLineDrawStyle::lldsHV && line.IsAutoMode) {
        line.RouteBetweenEnds();
    } else if (line.GetPointsCount() > 0) {
        line.SetPointInZoom(line.GetPointsCount() - 1, line.GetEndPoint());
    }
    // A connector being drawn is recorded by the drawing itself.
    if (&line != FDrawnLineBeingFinished) PushtoUndoRedoShapeList({&line}, ACT_ADD);
    Invalidate();
    return true;
}

bool TMyCAD::BreakLineByAPoint(const TMyPoint& p, TMyLinkLine& other, int32_t j, TMyShape& junction)
{
    if (j < 0 || j + 1 >= other.GetPointsCount() || ListChangesRefused()) return false;
    if (GetShapeByNo(other.ShapeNo) != &other || GetShapeByNo(junction.ShapeNo) != &junction) return false;
    if (junction.GetLinkPointsCount() < 1) return false;
    PushtoUndoRedoShapeList({&other}, ACT_CHANGE);
    const TMyPoint q = Zoomed(p, FZoom);
    TMyLinkLine* second = SplitOffSecondHalf(other, q, j);
    if (!second) return false;
    SetLinkLineEnd(*second, TLinkLineEndPoint::llStart, junction.ShapeNo, 0);
    CutOntoJunction(other, q, j, junction);
    Invalidate();
    return true;
}

} // namespace mycad
