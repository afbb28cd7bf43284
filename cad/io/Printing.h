// Pages: a page head, a page foot, a border, the background colour and the
// background picture around the shapes, rendered into preview bitmaps or
// onto a printer. All distances of head, foot and border are pixels at
// zoom 1 and grow with the zoom of the output.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "platform/Graphics.h"
#include "platform/Printer.h"

#include <cstdint>
#include <vector>

namespace mycad {

using TLayerIds = std::vector<int32_t>;

// ---- page elements on a bitmap, at the canvas's zoom

/// Fills the bitmap with the background colour when PrintBackground is on,
/// else with white.
void DrawBackground(TMyCAD& cad, TBitmap& bitmap);
/// The border rectangle, when PrintABorder is on.
void DrawBorder(TMyCAD& cad, TBitmap& bitmap);
/// The page head and foot, each aligned by its alignment.
void DrawHeadFoot(TMyCAD& cad, TBitmap& bitmap);

// ---- page elements on any canvas of a given page size

/// What DrawBackground, DrawBorder and DrawHeadFoot draw on a bitmap, on a
/// canvas whose page is width x height pixels, at the canvas's zoom.
/// measureAtZoomOne measures text at zoom 1 and scales the size by the zoom,
/// as a printer page does.
void DrawPageBackground(TMyCAD& cad, TCanvas& canvas, int32_t width, int32_t height);
void DrawPageBorder(TMyCAD& cad, TCanvas& canvas, int32_t width, int32_t height);
void DrawPageHeadFoot(TMyCAD& cad, TCanvas& canvas, int32_t width, int32_t height, bool measureAtZoomOne);
/// The background picture over a page of width x height pixels: copied
/// whole into tiles, the centre, the top-left corner or the whole page, at
/// the given zoom. Nothing without a picture, or in Tiled mode when a tile
/// would be 0 pixels wide or high.
void DrawPageBkBitmap(TMyCAD& cad, TCanvas& canvas, int32_t width, int32_t height, double zoom);

// ---- previews

/// The page at zoom as a bitmap of the page's size: background, background
/// picture, border, head and foot, then the top-level visible shapes of the
/// listed layers (all when the list is empty) with their members, whatever
/// the layers' visibility. The canvas's zoom is unchanged afterwards.
void PrintPreview(TMyCAD& cad, const TLayerIds& layerIds, TBitmap& bitmap, double zoom);
/// As PrintPreview, in a bitmap no larger than maxWidth x maxHeight (the
/// page's top-left part), drawing every visible shape of the listed layers
/// by itself, members included.
void PrintPreviewLowMem(TMyCAD& cad, const TLayerIds& layerIds, TBitmap& bitmap, int32_t maxWidth,
                        int32_t maxHeight, double zoom);
/// The page at zoom with only the selected shapes that are visible and
/// belong to no group (with their members).
void PreviewSelectedShapes(TMyCAD& cad, TBitmap& bitmap, double zoom);

// ---- the printer; its page width and height are the printer's

void PrintBkBitmap(TMyCAD& cad, TPrinter& printer, double zoom);
void PrintBorder(TMyCAD& cad, TPrinter& printer);
void PrintHeadFoot(TMyCAD& cad, TPrinter& printer);

/// Prints one page: the page elements and the visible shapes of the listed
/// layers (all when empty), at zoom times the page's real size, so zoom 1
/// prints an A4 drawing as A4 whatever the printer's resolution. The
/// printer's paper is the drawing's page unless the job is already running
/// (a host that set up the printer starts it itself). On a printer of two
/// colours shapes print in grey. False when the job cannot start.
bool Print(TMyCAD& cad, const TLayerIds& layerIds, double zoom, TPrinter& printer = Printer());
/// As Print, with the selected shapes only.
bool PrintSelectedShapes(TMyCAD& cad, double zoom, TPrinter& printer = Printer());

/// The drawing's page as paper for a printer or a PDF.
TPaperSize PaperOf(const TMyCAD& cad);

} // namespace mycad
