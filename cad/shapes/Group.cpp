// Containers: everything but drawing is the rectangle's (see Group.h).
#include "cad/shapes/Group.h"

#include "cad/shapes/ShapeDraw.h"

namespace mycad {

TMyGroup::TMyGroup(TShapeOwner* owner) : TMyRectangle(owner) {}

String TMyGroup::ClassName() const { return u"TMyGroup"_s; }

TPaintArea TMyGroup::PaintArea(double penWidth, double zoom) const
{
    (void)penWidth;
    (void)zoom;
    return {};
}

bool TMyGroup::IsContainer() const { return true; }

void TMyGroup::Draw(TCanvas& canvas)
{
    SetDrawShapeMode(*this, canvas);
    DrawInfo(canvas);
}

TMyCombine::TMyCombine(TShapeOwner* owner) : TMyGroup(owner) {}

String TMyCombine::ClassName() const { return u"TMyCombine"_s; }

} // namespace mycad
