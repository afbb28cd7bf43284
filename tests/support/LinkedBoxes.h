// A box added by code with a link point in the middle of each side, the
// usual end of a connector in tests.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "cad/connectors/LinkLine.h"
#include "cad/connectors/RouteStats.h"

namespace mycad::test {

/// Link points: 0 top, 1 right, 2 bottom, 3 left.
inline TMyShape* LinkedBox(TMyCAD& cad, float l, float t, float r, float b)
{
    const int32_t id = cad.AddShapeByCode(&cad, TDrawTool::SpRectangle, String(), {{l, t}, {r, t}, {r, b}, {l, b}}, 3,
                                          0.0, String());
    TMyShape* s = cad.GetShapeByID(id);
    s->LinkPoints = {{(l + r) / 2, t}, {r, (t + b) / 2}, {(l + r) / 2, b}, {l, (t + b) / 2}};
    return s;
}

/// A connector from link point i of a to link point j of b, made by the
/// canvas; nullptr when refused.
inline TMyLinkLine* LinkBoxes(TMyCAD& cad, TMyShape* a, int32_t i, TMyShape* b, int32_t j)
{
    return dynamic_cast<TMyLinkLine*>(cad.GetShapeByID(cad.CreateLink(QStringLiteral("L"), a, i, b, j)));
}

/// Segments of the route through the box grown by the router's margin (10).
inline int32_t RouteHits(const TMyLinkLine& line, const TMyShape& box)
{
    const TArrMyPoint& b = box.ThePoints;
    const TGridBox grown{double(b[0].X) - 10, double(b[0].Y) - 10, double(b[2].X) + 10, double(b[2].Y) + 10};
    int32_t hits = 0;
    for (size_t k = 0; k + 1 < line.ThePoints.size(); ++k) {
        hits += SegmentEntersBox(line.ThePoints[k], line.ThePoints[k + 1], grown);
    }
    return hits;
}

} // namespace mycad::test
