// The link points the programs give boxes: one in the middle of each side,
// so that connectors drawn in the editor and in the sample have somewhere
// to attach. They follow the box when it is sized by a handle.
#pragma once

#include "cad/shapes/Shape.h"

namespace mycad::app {

/// Box-like shapes (rectangles, ellipses, texts, images) that are neither
/// containers nor link points themselves.
bool TakesSideLinkPoints(const TMyShape& shape);
/// Link points 0..3 in the middle of the sides p0-p1, p1-p2, p2-p3, p3-p0
/// (top, right, bottom, left of an unturned box).
void SetSideLinkPoints(TMyShape& shape);
/// The link points a shape new to the editor gets when it has none: a box
/// one on each side, a link point marker one at its centre.
void SetDefaultLinkPoints(TMyShape& shape);

} // namespace mycad::app
