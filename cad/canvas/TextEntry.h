// The text of a text box the user has just drawn with the mouse.
#pragma once

#include "cad/canvas/MyCAD.h"

namespace mycad {

class TMyText;

/// Asks the host's text entry for the box's lines (unless the canvas's
/// DisableTextInput is set) and puts the box's corners in the order
/// left-top, right-top, right-bottom, left-bottom, however it was drawn.
void TakeDrawnText(const TMyCAD& cad, TMyText& text);

} // namespace mycad
