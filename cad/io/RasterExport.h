// Raster export: the whole drawing rendered into a bitmap of any size, and
// written as a BMP, PNG or JPEG file.
//
// Rendering goes through the canvas's own painting steps (background colour,
// background picture, shapes) at the export's zoom (TMyCAD::RenderAtZoom), so
// an exported picture is what the control shows, without selection handles;
// the control itself is neither zoomed, resized nor repainted.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "platform/Graphics.h"
#include "platform/Types.h"

#include <cstdint>

namespace mycad {

/// Renders the whole drawing into bitmap, which becomes width x height
/// pixels (24 bits). The drawing is scaled to fit, keeping its proportions:
/// the zoom is the smaller of width and height over the control's size at
/// zoom 1. With fillBackground the canvas's background colour is painted
/// first; without it the picture stands on white. The background picture
/// and the shapes follow. Nothing is drawn for a zero or negative size (the
/// bitmap is then empty).
void SaveToBmp(TMyCAD& cad, TBitmap& bitmap, int32_t width, int32_t height, bool fillBackground);

/// The picture a file export writes: the drawing at zoom 1, the size of the
/// control at zoom 1 (the page).
void RenderAtPageSize(TMyCAD& cad, TBitmap& bitmap, bool fillBackground);

/// Write the drawing at zoom 1 (see RenderAtPageSize) to a file in the
/// format of the operation; the file name must carry that format's extension
/// (".bmp", ".png", ".jpg" or ".jpeg", in any case). False for another
/// extension, a page without pixels or a failed write.
bool SaveToBmp(TMyCAD& cad, const String& fileName, bool fillBackground);
bool SaveToPng(TMyCAD& cad, const String& fileName, bool fillBackground);
/// quality runs from 0 (smallest file) to 100 (best picture); values outside
/// are clamped.
bool SaveToJpg(TMyCAD& cad, const String& fileName, int32_t quality, bool fillBackground);

} // namespace mycad
