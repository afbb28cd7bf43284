// What a loaded drawing must satisfy before the canvas takes it over.
#pragma once

#include "cad/canvas/MyCAD.h"

namespace mycad {

/// Raises EReadError unless every parent, member, attached-connector and
/// connector-end number names a shape of the list (or is -1 where "none" is
/// allowed), no shape is listed as a member twice (by one group or by two),
/// and neither the member lists nor the parent numbers run in a loop. So
/// every walk down the groups and up to a root ends, and visits each shape
/// once. Lists that merely disagree, such as a member whose parent number
/// names another group, are left as they are.
void CheckDocumentRelations(const TArrMyShape& shapes);

} // namespace mycad
