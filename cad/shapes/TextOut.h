// Text at a zoomed font size and an angle. Captions, text boxes, rule lines
// and page heads all measure and draw through these two functions, so text
// is laid out alike everywhere.
#pragma once

#include "platform/Graphics.h"
#include "platform/Types.h"

#include <cstdint>

namespace mycad {

/// Writes text with (x, y) as the top-left corner of the unrotated text,
/// turned by angle radians (clockwise on the screen for a positive angle)
/// about that corner. The character height is the font's size times zoom
/// in pixels. The background stays transparent; the canvas keeps the font's
/// colour.
void MyLogTextOut(TCanvas& canvas, int32_t x, int32_t y, const String& text, const TFont& font, double angle,
                  double zoom);

/// The unrotated width and height in pixels of text written as MyLogTextOut
/// writes it.
TSize GetTextWidthHeight(TCanvas& canvas, const String& text, const TFont& font, double angle, double zoom);

} // namespace mycad
