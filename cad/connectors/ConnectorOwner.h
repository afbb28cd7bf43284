// What connectors need from the canvas that owns them beyond what every
// shape needs (TShapeOwner): the connector settings, the crossings of a
// paint, and the canvas operations that attach ends and split connectors,
// which change other shapes and the undo list. The canvas implements it;
// connectors find it on their owner.
#pragma once

#include "cad/connectors/AvoidRouter.h"
#include "cad/connectors/Routing.h"
#include "cad/geometry/Geometry.h"
#include "platform/Types.h"

#include <cstdint>
#include <vector>

namespace mycad {

class TMyShape;
class TMyLinkLine;
class TShapeOwner;

class TConnectorOwner {
public:
    virtual ~TConnectorOwner() = default;

    /// Draw hops where connectors cross.
    virtual bool CrossLine() const = 0;
    /// Routes go round combined shapes in their way.
    virtual bool LinklineAroundShape() const = 0;
    /// Which router re-computes orthogonal connectors.
    virtual TLinkRouter LinkRouter() const { return TLinkRouter::lrClassic; }
    /// Routes the line between the zoomed points with the avoiding router,
    /// among the drawing's shapes and other connectors; false (changing
    /// nothing) where that router is not on.
    virtual bool RouteAvoiding(TMyLinkLine& line, TMyShape* startShape, const TMyPoint& start, TMyShape* endShape,
                               const TMyPoint& end)
    {
        (void)line, (void)startShape, (void)start, (void)endShape, (void)end;
        return false;
    }
    virtual int32_t GetSelectedShapesCount() const = 0;
    /// The x of every vertical connector segment of the drawing being painted
    /// that the zoomed horizontal segment a-b crosses.
    virtual void LinkLineCrossings(const TMyPoint& a, const TMyPoint& b, std::vector<float>& xs) = 0;
    /// Attaches one end of the line to the link point under the device point,
    /// or frees it when there is none.
    virtual void GetMainShape(TMyLinkLine& line, TLinkLineEndPoint end, const TPoint& p) = 0;
    /// The segment of a connector (other than skip) that the document point p
    /// breaks, with p snapped onto it; -1 and line nullptr when none.
    virtual int32_t IsBreakLineByAPoint(TMyPoint& p, TMyLinkLine*& line, const TMyShape* skip) = 0;
    /// Joins line's end onto segment j of other at the device point p.
    virtual bool BreakLine(TMyLinkLine& line, const TPoint& p, TMyLinkLine& other, int32_t j) = 0;
    /// Splits other at the document point p onto the junction being placed.
    virtual bool BreakLineByAPoint(const TMyPoint& p, TMyLinkLine& other, int32_t j, TMyShape& junction) = 0;
};

/// The connector side of a shape's owner, or nullptr.
TConnectorOwner* ConnectorOwnerOf(TShapeOwner* owner);

} // namespace mycad
