// TMyCAD: the transforms that shapes start and the canvas carries out,
// because they concern a whole tree of shapes (a group and its members).
#include "cad/canvas/MyCAD.h"

#include "cad/canvas/TreeWalk.h"

#include <algorithm>

namespace mycad {

TMyRect TMyCAD::GetShapesLTRB(const TArrMyShapeRef& shapes) const
{
    bool any = false;
    TMyRect box;
    for (const TMyShape* s : shapes) {
        if (!s) continue;
        for (const TMyPoint& p : s->ThePoints) {
            if (!any) {
                box = {p.X, p.Y, p.X, p.Y};
                any = true;
                continue;
            }
            box.Left = std::min(box.Left, p.X);
            box.Top = std::min(box.Top, p.Y);
            box.Right = std::max(box.Right, p.X);
            box.Bottom = std::max(box.Bottom, p.Y);
        }
    }
    return box;
}

TMyRect TMyCAD::GetShapesLTRBinZoom(TMyShape* shape) const
{
    const TMyRect box = GetShapesLTRB({shape});
    auto zoomed = [this](float v) { return static_cast<float>(double(v) * FZoom); };
    return {zoomed(box.Left), zoomed(box.Top), zoomed(box.Right), zoomed(box.Bottom)};
}

void TMyCAD::FlipHoriz(TMyShape* shape)
{
    if (!shape || IsConnector(*shape)) return;
    TEditScope edit(*this);
    edit.Record({shape}, ACT_CHANGE);
    WalkShapeTree(*this, *shape, TTreeOrder::MembersFirst, [&edit](TMyShape& s) {
        if (s.Locked()) return;
        s.FlipHoriz();
        edit.Moved(&s);
    });
}

void TMyCAD::FlipVert(TMyShape* shape)
{
    if (!shape || IsConnector(*shape)) return;
    TEditScope edit(*this);
    edit.Record({shape}, ACT_CHANGE);
    WalkShapeTree(*this, *shape, TTreeOrder::MembersFirst, [&edit](TMyShape& s) {
        if (s.Locked()) return;
        s.FlipVert();
        edit.Moved(&s);
    });
}

void TMyCAD::RotateChangeValueforShapes(TMyShape* shape, const TMyPoint& centre, double angle)
{
    if (!shape) return;
    TEditScope edit(*this);
    edit.Moved(shape);
    WalkShapeTree(*this, *shape, TTreeOrder::ShapeFirst, [&](TMyShape& s) {
        if (!s.Locked()) s.RotateChangeValueByAngle(centre, angle);
    });
}

void TMyCAD::RotateShapeWithMembers(TMyShape* shape, double angle)
{
    if (!shape) return;
    RotateChangeValueforShapes(shape, shape->GetRootShape()->GetCenterPoint(), angle);
}

} // namespace mycad
