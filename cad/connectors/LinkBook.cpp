#include "cad/connectors/LinkBook.h"

#include "cad/connectors/LinkLine.h"
#include "cad/shapes/ShapeOwner.h"

#include <algorithm>
#include <unordered_set>

namespace mycad {

namespace {

constexpr int32_t kLinkHitHalf = 5;

bool Listed(const TMyLinkLine& line)
{
    const TShapeOwner* owner = line.Owner();
    return owner && owner->GetShapeByNo(line.ShapeNo) == &line;
}

TMyLinkLine* LinkLineAt(const TShapeOwner& owner, uint32_t no)
{
    if (no > static_cast<uint32_t>(INT32_MAX)) return nullptr;
    return dynamic_cast<TMyLinkLine*>(owner.GetShapeByNo(static_cast<int32_t>(no)));
}

void RerouteOne(TMyLinkLine& line, const TMyShape& moved)
{
    if (line.GetPointsCount() < 4) line.IsAutoMode = true;
    if (line.IsAutoMode) {
        line.RouteBetweenEnds();
        return;
    }
    // A route the user shaped keeps its middle: only the legs between the
    // moved shape and the route's fourth point (counted from that end) are
    // computed again.
    if (line.IsStartAttached() && line.GetStartShape() == &moved && line.GetPointsCount() >= 4) {
        const TMyPoint s = line.GetStartPoint();
        const TMyPoint t = line.GetPointInZoom(3);
        const TArrMyPoint keep(line.ThePoints.begin() + 3, line.ThePoints.end());
        TArrDirAndPoints steps;
        GetDirSteps(line.GetPointInZoom(2), t, Tdirections::dNone, steps);
        line.Route(line.GetStartShape(), s, nullptr, t, steps.size() == 1 ? steps[0].Dir : Tdirections::dNone, nullptr);
        line.ThePoints.insert(line.ThePoints.end(), keep.begin(), keep.end());
    }
    if (line.IsEndAttached() && line.GetEndShape() == &moved && line.GetPointsCount() >= 4) {
        const int32_t count = line.GetPointsCount();
        const TMyPoint s = line.GetEndPoint();
        const TMyPoint t = line.GetPointInZoom(count - 4);
        const TArrMyPoint keep(line.ThePoints.begin(), line.ThePoints.begin() + (count - 3));
        line.Route(line.GetEndShape(), s, nullptr, t, Tdirections::dNone, nullptr);
        TArrMyPoint joined = keep;
        joined.insert(joined.end(), line.ThePoints.rbegin(), line.ThePoints.rend());
        line.ThePoints = std::move(joined);
    }
    line.CenterPoint = line.ComputeCenterPoint(4);
    line.TextOutPoint = {line.CenterPoint.X, static_cast<float>(double(line.GetRightBottom().Y) + 10.0)};
}

} // namespace

void SetLinkLineEnd(TMyLinkLine& line, TLinkLineEndPoint end, int32_t shapeNo, int32_t linkId)
{
    const bool start = end == TLinkLineEndPoint::llStart;
    TMyShape* old = start ? line.GetStartShape() : line.GetEndShape();
    if (start) {
        line.SetStartSpNo(shapeNo);
        line.SetStartSpPtId(shapeNo < 0 ? -1 : linkId);
    } else {
        line.SetEndSpNo(shapeNo);
        line.SetEndSpPtId(shapeNo < 0 ? -1 : linkId);
    }
    if (!Listed(line)) return;
    const auto no = static_cast<uint32_t>(line.ShapeNo);
    TMyShape* other = start ? line.GetEndShape() : line.GetStartShape();
    // A connector with both ends on one shape stays listed while one end is there.
    if (old && old != other) RemoveLinklineShape(*old, no);
    if (TMyShape* now = start ? line.GetStartShape() : line.GetEndShape()) AddLinklineShape(*now, no);
}

void RegisterLinkLineEnds(TMyLinkLine& line)
{
    if (!Listed(line)) return;
    const auto no = static_cast<uint32_t>(line.ShapeNo);
    if (TMyShape* s = line.GetStartShape()) AddLinklineShape(*s, no);
    if (TMyShape* e = line.GetEndShape()) AddLinklineShape(*e, no);
}

int32_t IsinHotLink(const TMyShape& shape, const TPoint& p)
{
    int32_t found = -1;
    for (int32_t i = 0; i < shape.GetLinkPointsCount(); ++i) {
        const TPoint at = MyPtToPt(shape.GetLinkPointInZoom(i));
        const TRect area{at.X - kLinkHitHalf, at.Y - kLinkHitHalf, at.X + kLinkHitHalf, at.Y + kLinkHitHalf};
        if (PtInRect(area, p)) found = i;
    }
    return found;
}

int32_t IsLinked(const TShapeOwner& owner, const TMyShape& a, const TMyShape& b)
{
    for (uint32_t no : a.LinkShapesNo) {
        if (std::find(b.LinkShapesNo.begin(), b.LinkShapesNo.end(), no) == b.LinkShapesNo.end()) continue;
        if (const TMyShape* line = no <= static_cast<uint32_t>(INT32_MAX) ? owner.GetShapeByNo(static_cast<int32_t>(no)) : nullptr)
            return line->ShapeId;
    }
    return -1;
}

void RerouteLinkLines(TShapeOwner& owner, TMyShape& shape, const std::function<bool(const TMyLinkLine&)>& skip)
{
    // Members first, then the shape itself; each shape once, whatever its
    // member lists hold.
    std::vector<TMyShape*> pending{&shape};
    std::vector<TMyShape*> order;
    std::unordered_set<const TMyShape*> seen{&shape};
    while (!pending.empty()) {
        TMyShape* s = pending.back();
        pending.pop_back();
        order.push_back(s);
        for (uint32_t no : s->ChildShapesNo) {
            TMyShape* m = no <= static_cast<uint32_t>(INT32_MAX) ? owner.GetShapeByNo(static_cast<int32_t>(no)) : nullptr;
            if (m && seen.insert(m).second) pending.push_back(m);
        }
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        TMyShape* s = *it;
        // The list is copied: re-routing never changes it, but a damaged
        // entry must not be followed twice.
        const TMyShapeNo lines = s->LinkShapesNo;
        for (uint32_t no : lines) {
            TMyLinkLine* line = LinkLineAt(owner, no);
            if (line && line != s && !(skip && skip(*line))) RerouteOne(*line, *s);
        }
    }
}

int32_t RepairLinks(TShapeOwner& owner)
{
    int32_t repairs = 0;
    const int32_t count = owner.GetShapesCount();
    for (int32_t no = 0; no < count; ++no) {
        auto* line = dynamic_cast<TMyLinkLine*>(owner.GetShapeByNo(no));
        if (!line) continue;
        if (line->StartSpNo() != -1 && !line->IsStartAttached()) {
            line->RemoveSrcLink();
            ++repairs;
        }
        if (line->EndSpNo() != -1 && !line->IsEndAttached()) {
            line->RemoveDestLink();
            ++repairs;
        }
    }
    for (int32_t no = 0; no < count; ++no) {
        TMyShape* shape = owner.GetShapeByNo(no);
        if (!shape) continue;
        TMyShapeNo kept;
        for (uint32_t entry : shape->LinkShapesNo) {
            const TMyLinkLine* line = LinkLineAt(owner, entry);
            const bool named = line && (line->GetStartShape() == shape || line->GetEndShape() == shape);
            if (named && std::find(kept.begin(), kept.end(), entry) == kept.end()) {
                kept.push_back(entry);
            } else {
                ++repairs;
            }
        }
        shape->LinkShapesNo = std::move(kept);
    }
    for (int32_t no = 0; no < count; ++no) {
        auto* line = dynamic_cast<TMyLinkLine*>(owner.GetShapeByNo(no));
        if (!line) continue;
        for (TMyShape* end : {line->GetStartShape(), line->GetEndShape()}) {
            if (!end) continue;
            const auto before = end->LinkShapesNo.size();
            AddLinklineShape(*end, static_cast<uint32_t>(no));
            if (end->LinkShapesNo.size() != before) ++repairs;
        }
    }
    return repairs;
}

} // namespace mycad
