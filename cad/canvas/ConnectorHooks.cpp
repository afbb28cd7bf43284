// TMyCAD: the points where the document bookkeeping meets connectors.
//
// A connector reports the list numbers of the shapes at its ends through
// TMyShape::ConnectorEndRefs (start first, then end), so renumbering,
// swapping and freeing ends work for every connector class; what only the
// connector classes know is asked of them here.
#include "cad/canvas/MyCAD.h"

#include "cad/connectors/LinkLine.h"
#include "cad/connectors/LinkPoint.h"

namespace mycad {

void TMyCAD::DetachConnectorEnd(TMyShape& connector, bool startEnd) { FreeConnectorEnd(connector, startEnd); }

bool TMyCAD::DeletesAttachedConnectors(const TMyShape& shape) const
{
    // A junction dot is part of the connectors that meet at it.
    return dynamic_cast<const TMyLineLinkLine*>(&shape) != nullptr;
}

} // namespace mycad
