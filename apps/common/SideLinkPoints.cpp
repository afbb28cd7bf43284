#include "apps/common/SideLinkPoints.h"

#include "cad/connectors/LinkPoint.h"
#include "cad/shapes/Group.h"
#include "cad/shapes/Rectangle.h"

namespace mycad::app {

bool TakesSideLinkPoints(const TMyShape& shape)
{
    return dynamic_cast<const TMyRectangle*>(&shape) && !dynamic_cast<const TMyGroup*>(&shape) &&
           !dynamic_cast<const TMyLinkPoint*>(&shape) && shape.GetPointsCount() == 4;
}

void SetSideLinkPoints(TMyShape& shape)
{
    if (!TakesSideLinkPoints(shape)) return;
    // A box's points 4..7 are the middles of its sides, turned with it.
    shape.LinkPoints = {shape.GetPoint(4), shape.GetPoint(5), shape.GetPoint(6), shape.GetPoint(7)};
}

void SetDefaultLinkPoints(TMyShape& shape)
{
    if (!shape.LinkPoints.empty()) return;
    const bool marker = dynamic_cast<const TMyLinkPoint*>(&shape) && !dynamic_cast<const TMyLineLinkLine*>(&shape);
    if (marker && shape.GetPointsCount() == 4) {
        shape.LinkPoints = {shape.GetCenterPoint()};
        return;
    }
    SetSideLinkPoints(shape);
}

} // namespace mycad::app
