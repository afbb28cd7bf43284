// Vector pictures of the drawing: SVG and PDF files of the page as it
// prints, placeable Windows metafiles of the shapes, and the selection on
// the clipboard as a metafile, SVG and PNG. All draw through the canvas's
// render entry point, so they show what the screen shows.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "platform/Types.h"

#include <cstdint>
#include <vector>

namespace mycad {

/// The page at zoom 1 (its real size) as printed: page elements and the
/// shapes of visible layers, text as text. False when the file cannot be
/// written.
bool SaveToSvg(TMyCAD& cad, const String& fileName);
bool SaveToPdf(TMyCAD& cad, const String& fileName);

/// The shapes of visible layers as a placeable metafile of the page's size
/// at zoom 1, without page elements. False when the file cannot be written.
bool SaveToWmf(TMyCAD& cad, const String& fileName);

/// The metafile of the selection at the canvas's zoom: as large as the
/// selection's zoomed bounding box, with its top-left corner at the
/// picture's origin. Empty for an empty selection.
std::vector<uint8_t> SelectionAsWmf(TMyCAD& cad);

/// Puts the selection on the clipboard as that metafile, as SVG and as a
/// bitmap; nothing happens (false) when the selection is empty.
bool CopyToClipBoardAsWmf(TMyCAD& cad);

} // namespace mycad
