// TMyCAD and the avoiding router: the router's scene is filled from the
// drawing before each use (shapes at the top of their trees are the
// obstacles, connectors bring their current routes), so it never holds a
// shape that is gone or a box that is stale; routes come back as the
// connectors' points in document units, which is all a document stores.
#include "cad/canvas/MyCAD.h"

#include "cad/connectors/LinkLine.h"
#include "cad/connectors/LinkPoint.h"

#include <algorithm>

namespace mycad {

namespace {

/// The key under which a connector not yet in the drawing is routed.
constexpr int32_t kDrawnKey = INT32_MIN;

/// Shapes routes go round: not connectors, lines or link markers, which are
/// drawn over and between shapes.
bool BlocksRoutes(const TMyShape& s)
{
    return s.Visible() && !s.HasParentShape() && !dynamic_cast<const TMyLine*>(&s) && !dynamic_cast<const TMyLinkPoint*>(&s);
}

TMyPoint Unzoomed(const TMyPoint& p, double zoom)
{
    return {static_cast<float>(double(p.X) / zoom), static_cast<float>(double(p.Y) / zoom)};
}

} // namespace

void TMyCAD::SetLinkRouter(TLinkRouter value)
{
    if (value == FLinkRouter) return;
    FLinkRouter = value;
    if (value != TLinkRouter::lrAvoiding) return;
    SyncAvoidRouter(nullptr);
    FAvoidRouter.RouteAll();
    TakeAvoidRoutes(FAvoidRouter.Keys());
    Invalidate();
}

int32_t TMyCAD::AvoidObstacleKey(TMyShape* shape) const
{
    TMyShape* root = GetRootParentShape(shape);
    return root && BlocksRoutes(*root) ? root->ShapeId : -1;
}

void TMyCAD::SyncAvoidRouter(const TMyLinkLine* skip)
{
    FAvoidRouter.Clear();
    for (const auto& s : MyShapes) {
        if (!s || !BlocksRoutes(*s)) continue;
        const TMyRect z = GetShapesLTRBinZoom(s.get());
        FAvoidRouter.SetObstacle(s->ShapeId, {Unzoomed({z.Left, z.Top}, FZoom).X, Unzoomed({z.Left, z.Top}, FZoom).Y,
                                              Unzoomed({z.Right, z.Bottom}, FZoom).X, Unzoomed({z.Right, z.Bottom}, FZoom).Y});
    }
    for (const auto& s : MyShapes) {
        auto* line = dynamic_cast<TMyLinkLine*>(s.get());
        if (!line || line == skip || line->GetPointsCount() < 2) continue;
        auto endOf = [&](bool start) {
            const bool attached = start ? line->IsStartAttached() : line->IsEndAttached();
            TMyShape* shape = attached ? (start ? line->GetStartShape() : line->GetEndShape()) : nullptr;
            return TRouterEnd{Unzoomed(start ? line->GetStartPoint() : line->GetEndPoint(), FZoom), AvoidObstacleKey(shape)};
        };
        FAvoidRouter.SetConnector(line->ShapeId, endOf(true), endOf(false));
        FAvoidRouter.AdoptRoute(line->ShapeId, line->ThePoints, line->Unroutable);
        FAvoidRouter.SetPin(line->ShapeId, line->Pin);
        // Straight connectors and routes the user shaped stay as they are;
        // the others keep off them.
        const bool shaped = !line->IsAutoMode && !line->Pin;
        FAvoidRouter.SetFixed(line->ShapeId, shaped || line->LinkLineDrawStyle() != TLinkLineDrawStyle::lldsHV);
    }
}

void TMyCAD::TakeAvoidRoute(TMyLinkLine& line, int32_t key)
{
    const TArrMyPoint* route = FAvoidRouter.RouteOf(key);
    if (!route || route->size() < 2) return;
    line.ThePoints = *route;
    line.CenterPoint = line.ComputeCenterPoint(4);
    line.TextOutPoint = {line.CenterPoint.X, static_cast<float>(double(line.GetRightBottom().Y) + 10.0)};
    const bool was = line.Unroutable;
    line.Unroutable = FAvoidRouter.IsUnroutable(key);
    if (line.Unroutable && !was && OnLinkUnroutable) OnLinkUnroutable(&line);
}

void TMyCAD::TakeAvoidRoutes(const std::vector<int32_t>& keys)
{
    for (const int32_t key : keys) {
        auto* line = dynamic_cast<TMyLinkLine*>(GetShapeByID(key));
        if (line && line->LinkLineDrawStyle() == TLinkLineDrawStyle::lldsHV) TakeAvoidRoute(*line, key);
    }
    // Routes may now reach where the paint index never saw them.
    FDrawExtentsValid = false;
}

bool TMyCAD::RouteAvoiding(TMyLinkLine& line, TMyShape* startShape, const TMyPoint& start, TMyShape* endShape,
                           const TMyPoint& end)
{
    if (FLinkRouter != TLinkRouter::lrAvoiding || line.LinkLineDrawStyle() != TLinkLineDrawStyle::lldsHV) return false;
    if (!line.IsAutoMode && !line.Pin) return false;
    const bool listed = GetShapeByNo(line.ShapeNo) == &line;
    const int32_t key = listed ? line.ShapeId : kDrawnKey;
    SyncAvoidRouter(&line);
    FAvoidRouter.SetConnector(key, {Unzoomed(start, FZoom), AvoidObstacleKey(startShape)},
                              {Unzoomed(end, FZoom), AvoidObstacleKey(endShape)});
    FAvoidRouter.SetPin(key, line.Pin);
    FAvoidRouter.Reroute({key});
    TakeAvoidRoute(line, key);
    FDrawExtentsValid = false;
    return true;
}

void TMyCAD::TidyLinkRoutes()
{
    if (FLinkRouter != TLinkRouter::lrAvoiding || ListChangesRefused()) return;
    SyncAvoidRouter(nullptr);
    FAvoidRouter.RouteAll();
    TArrMyShapeRef changed;
    for (const int32_t key : FAvoidRouter.Keys()) {
        auto* line = dynamic_cast<TMyLinkLine*>(GetShapeByID(key));
        if (line && line->ThePoints != *FAvoidRouter.RouteOf(key)) changed.push_back(line);
    }
    if (changed.empty()) return;
    TEditScope edit(*this);
    edit.Record(changed, ACT_CHANGE);
    edit.MarkChanged();
    edit.Repaint();
    std::vector<int32_t> keys;
    for (TMyShape* s : changed) keys.push_back(s->ShapeId);
    TakeAvoidRoutes(keys);
}

void TMyCAD::ResetLinkRoute(TMyShape* shape)
{
    auto* line = dynamic_cast<TMyLinkLine*>(shape);
    if (!line || GetShapeByNo(line->ShapeNo) != line || ListChangesRefused()) return;
    TEditScope edit(*this);
    edit.Record({line}, ACT_CHANGE);
    edit.MarkChanged();
    edit.Repaint();
    line->ResetRoute();
}

std::vector<int32_t> TMyCAD::UnroutableLinks() const
{
    std::vector<int32_t> ids;
    for (const auto& s : MyShapes) {
        const auto* line = dynamic_cast<const TMyLinkLine*>(s.get());
        if (line && line->Unroutable) ids.push_back(line->ShapeId);
    }
    return ids;
}

} // namespace mycad
