// The sample drawing that ships in examples/: a small process diagram on a
// landscape page, with coloured boxes joined by arrows, a gradient title, a
// grouped legend, turned and patterned shapes, and sticky notes on a second
// layer.
#pragma once

#include "cad/canvas/MyCAD.h"

namespace mycad::app {

/// Replaces the canvas's drawing by the sample. Afterwards nothing is
/// selected, the undo list is empty and the drawing counts as unchanged.
void BuildSampleDrawing(TMyCAD& cad);

} // namespace mycad::app
