// The bookkeeping of attachments on both sides: a connector names the shape
// at each end, the shape lists the connector in its LinkShapesNo. Every
// change of an end goes through here so the two sides stay in step, and the
// re-routing of the connectors of shapes that moved lives here too.
#pragma once

#include "cad/connectors/Routing.h"
#include "cad/geometry/Geometry.h"
#include "platform/Types.h"

#include <cstdint>
#include <functional>

namespace mycad {

class TMyShape;
class TMyLinkLine;
class TShapeOwner;

/// Sets one end of the line to (shapeNo, linkId), -1 and -1 freeing it. The
/// shape it leaves and the shape it joins update their LinkShapesNo, while
/// the line is in its owner's list (a line being drawn is listed when it is
/// finished, see RegisterLinkLineEnds).
void SetLinkLineEnd(TMyLinkLine& line, TLinkLineEndPoint end, int32_t shapeNo, int32_t linkId);
/// Lists the line with the shapes at its attached ends.
void RegisterLinkLineEnds(TMyLinkLine& line);

/// The link point of the shape within 5 pixels of the device point (the
/// last such), or -1.
int32_t IsinHotLink(const TMyShape& shape, const TPoint& p);
/// The ShapeId of a connector attached to both shapes (the first of a's
/// list that b lists too), or -1.
int32_t IsLinked(const TShapeOwner& owner, const TMyShape& a, const TMyShape& b);

/// Re-routes the connectors attached to the shape and to its members: the
/// whole route in automatic mode, only the part next to the shape for a
/// route the user reshaped. Connectors skip names (routed already) stay.
void RerouteLinkLines(TShapeOwner& owner, TMyShape& shape, const std::function<bool(const TMyLinkLine&)>& skip = {});

/// Makes the attachments of a whole drawing consistent: a LinkShapesNo entry
/// that names no connector, or a connector none of whose ends is on the
/// shape, goes; an end that names no shape or no link point of it is freed;
/// an attached end missing from its shape's list is added. Returns the
/// number of repairs.
int32_t RepairLinks(TShapeOwner& owner);

} // namespace mycad
