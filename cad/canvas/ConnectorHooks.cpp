// TMyCAD: the points where the document bookkeeping meets connectors.
//
// A connector reports the list numbers of the shapes at its ends through
// TMyShape::ConnectorEndRefs (start first, then end), so renumbering, swapping
// and freeing ends already work for every connector class. What only a
// connector class knows (its link point ids, its routing, which classes drag
// their connectors along when deleted) is completed here when it exists.
#include "cad/canvas/MyCAD.h"

namespace mycad {

void TMyCAD::DetachConnectorEnd(TMyShape& connector, bool startEnd)
{
    const std::vector<int32_t*> ends = connector.ConnectorEndRefs();
    const size_t which = startEnd ? 0 : 1;
    if (which < ends.size() && ends[which]) *ends[which] = -1;
}

bool TMyCAD::DeletesAttachedConnectors(const TMyShape& shape) const
{
    // A link point that is part of a line takes its unselected connectors
    // with it; no such class exists yet.
    (void)shape;
    return false;
}

void TMyCAD::ChangeLinkShapes(TMyShape* shape)
{
    // Connectors are re-routed once routing exists; until then they keep
    // their points.
    (void)shape;
}

} // namespace mycad
