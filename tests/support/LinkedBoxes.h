// A box added by code with a link point in the middle of each side, the
// usual end of a connector in tests.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "cad/connectors/LinkLine.h"

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

} // namespace mycad::test
