// TMyCAD: placing a library entry. The entry comes in at its nominal size,
// its box at the origin; the placement frames it on the requested point and
// adds it as one new shape: the copy of a lone shape, or a combined shape
// that carries the entry's link points and user data, followed in the list
// by its members.
#include "cad/canvas/ShapeLibrary.h"

#include "cad/canvas/EditScope.h"
#include "cad/connectors/LinkLine.h"
#include "cad/shapes/Group.h"

namespace mycad {

namespace {

// The relations of an entry shape name shapes of the entry, not of this
// drawing. Its own link points are kept in the coordinates of the drawing
// the entry was made from (reading scales only the points and the caption
// anchor), so they would sit anywhere: the placed shape's link points are
// the entry's.
void ForgetEntryRelations(TMyShape& shape)
{
    shape.ParentShapeNo = -1;
    shape.ChildShapesNo.clear();
    shape.LinkShapesNo.clear();
    const std::vector<int32_t*> ends = shape.ConnectorEndRefs();
    for (size_t e = 0; e < ends.size(); ++e) {
        if (ends[e] && *ends[e] >= 0) FreeConnectorEnd(shape, e == 0);
    }
    shape.LinkPoints.clear();
}

TMyPoint Pt(double x, double y) { return {static_cast<float>(x), static_cast<float>(y)}; }

} // namespace

int32_t TMyCAD::AddUserDefineShapefromLib(TShapeLibrary* lib, const String& name, int32_t x, int32_t y,
                                          TShapeOwner* owner)
{
    if (!lib || ListChangesRefused()) return -1;
    TArrMyPoint linkPoints;
    TUserData userData;
    TArrMyShape entry;
    int32_t width = 0;
    int32_t height = 0;
    if (!lib->GetCmbShape(name, linkPoints, userData, entry, width, height, true)) return -1;
    if (entry.empty() && linkPoints.empty()) return -1;

    // The frame: the entry's box at this zoom, centred on (x, y).
    TArrMyShapeRef refs;
    for (const auto& s : entry) refs.push_back(s.get());
    const TMyRect box = GetShapesLTRB(refs);
    const double w = (double(box.Right) - box.Left) * FZoom;
    const double h = (double(box.Bottom) - box.Top) * FZoom;
    const double left = x - w / 2;
    const double top = y - h / 2;
    // An entry read back has its box at the origin; measuring from the box
    // itself places any other entry the same way.
    for (const auto& s : entry) OffsetAllPoints(*s, left / FZoom - box.Left, top / FZoom - box.Top);

    const bool combined = entry.size() != 1 || !linkPoints.empty();
    std::unique_ptr<TMyShape> shape;
    if (combined) {
        shape = std::make_unique<TMyCombine>(this);
        shape->AddPoint(Pt(left, top));
        shape->AddPoint(Pt(left + w, top));
        shape->AddPoint(Pt(left + w, top + h));
        shape->AddPoint(Pt(left, top + h));
        for (const TMyPoint& p : linkPoints) {
            shape->AddLinkPoint(Pt((double(p.X) - box.Left) * FZoom + left,
                                          (double(p.Y) - box.Top) * FZoom + top));
        }
    } else {
        shape = CreateShapeByName(entry.front()->ClassName(), owner);
        if (!shape) return -1;
        shape->Assign(*entry.front());
        ForgetEntryRelations(*shape);
    }
    AllocateShapeNoIdName(*shape, true);
    shape->CenterPoint = shape->ComputeCenterPoint(4);
    shape->TextOutPoint = {shape->CenterPoint.X, shape->GetRightBottom().Y + 10.0f};
    shape->UserData().Assign(userData);

    TEditScope edit(*this);
    TMyShape* placed = shape.get();
    if (!AddShape(shape, false, false)) return -1;
    edit.Repaint();
    if (combined) {
        // Groups of the entry are left out; their members become direct
        // members of the combined shape.
        for (const auto& s : entry) {
            if (dynamic_cast<const TMyGroup*>(s.get())) continue;
            std::unique_ptr<TMyShape> member = CreateShapeByName(s->ClassName(), owner);
            if (!member) continue;
            member->Assign(*s);
            ForgetEntryRelations(*member);
            AllocateShapeNoIdName(*member, true);
            member->ParentShapeNo = placed->ShapeNo;
            member->SetInfo(s->Info());
            member->CenterPoint = member->ComputeCenterPoint(4);
            const auto no = static_cast<uint32_t>(member->ShapeNo);
            if (AddShape(member, false, false)) placed->ChildShapesNo.push_back(no);
        }
    }

    const int32_t id = placed->ShapeId;
    if (OnShapeAdded) {
        TMyShape* reported = placed;
        OnShapeAdded(reported, GetShapesCount());
    }
    edit.Record({placed}, ACT_ADD);
    RemoveAllWorkingShapes();
    WorkingShapes.push_back(placed);
    WorkingShape = nullptr;
    return id;
}

} // namespace mycad
