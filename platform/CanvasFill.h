// Filling a polygon straight from its points, for callers that fill many
// small polygons: no region is made where the fill can do without one.
#pragma once

#include "platform/Graphics.h"
#include "platform/Types.h"

#include <cstddef>
#include <cstdint>

namespace mycad {

/// Sets the pixels canvas.FillRgn(TRegion::CreatePolygonRgn(points,
/// fillMode), brush) sets, for the first count points (at most
/// points.size()).
void FillPolygonRgn(TCanvas& canvas, const TArrPoint& points, size_t count, int32_t fillMode, const TBrush& brush);

} // namespace mycad
