#include "cad/io/VectorExport.h"

#include "cad/io/Printing.h"
#include "platform/ClipboardPictures.h"
#include "platform/Metafile.h"
#include "platform/Printer.h"

#include <algorithm>

namespace mycad {

namespace {

// The page at zoom 1 with its page elements, as a printer page.
void DrawPrintedPage(TMyCAD& cad, TCanvas& canvas, int32_t width, int32_t height)
{
    cad.RenderAtZoom(1.0, [&] {
        DrawPageBackground(cad, canvas, width, height);
        DrawPageBkBitmap(cad, canvas, width, height, 1.0);
        DrawPageBorder(cad, canvas, width, height);
        DrawPageHeadFoot(cad, canvas, width, height, true);
        cad.RenderShapes(canvas, TRenderRequest{});
    });
}

String TitleOf(const String& fileName)
{
    const auto slash = std::max(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'));
    return fileName.mid(slash + 1);
}

// What the selection covers at the canvas's zoom, in whole pixels.
struct TSelectionBox {
    TRect Box;
    bool Any = false;
};

TSelectionBox SelectionBox(TMyCAD& cad)
{
    const TArrMyShapeRef& shapes = cad.GetSelectedShapes();
    if (shapes.empty()) return {};
    const TMyRect r = cad.GetShapesLTRBinZoom(shapes);
    const int32_t left = RoundToInt(r.Left);
    const int32_t top = RoundToInt(r.Top);
    // The size is the box's rounded width and height; a line along an axis
    // still gets a pixel.
    const int32_t w = std::max(1, RoundToInt(double(r.Right) - r.Left));
    const int32_t h = std::max(1, RoundToInt(double(r.Bottom) - r.Top));
    return {Bounds(left, top, w, h), true};
}

// Draws the selection with the box's corner at the canvas's origin.
void DrawSelection(TMyCAD& cad, TCanvas& canvas, const TRect& box)
{
    TRenderRequest request;
    request.Zoom = cad.Zoom();
    request.Pick = TRenderPick::Shapes;
    request.Shapes = cad.GetSelectedShapes();
    request.Offset = {-box.Left, -box.Top};
    cad.RenderShapes(canvas, request);
}

} // namespace

bool SaveToSvg(TMyCAD& cad, const String& fileName)
{
    const TSize page = cad.PagePixels(1.0);
    TSvgDocument svg(fileName, page.cx, page.cy, TitleOf(fileName));
    if (!svg.BeginDoc()) return false;
    DrawPrintedPage(cad, svg.Canvas(), page.cx, page.cy);
    return svg.EndDoc();
}

bool SaveToPdf(TMyCAD& cad, const String& fileName)
{
    const TSize page = cad.PagePixels(1.0);
    TPdfDocument pdf(fileName, PaperOf(cad), TitleOf(fileName));
    if (!pdf.BeginDoc()) return false;
    DrawPrintedPage(cad, pdf.Canvas(), page.cx, page.cy);
    return pdf.EndDoc();
}

bool SaveToWmf(TMyCAD& cad, const String& fileName)
{
    const TSize page = cad.PagePixels(1.0);
    TMetafile wmf(page.cx, page.cy);
    TCanvas canvas;
    if (!canvas.SetDevice(&wmf)) return false;
    TRenderRequest request;
    cad.RenderShapes(canvas, request);
    canvas.SetDevice(nullptr);
    return wmf.SaveToFile(fileName);
}

std::vector<uint8_t> SelectionAsWmf(TMyCAD& cad)
{
    const TSelectionBox s = SelectionBox(cad);
    if (!s.Any) return {};
    TMetafile wmf(s.Box.Width(), s.Box.Height());
    TCanvas canvas;
    if (!canvas.SetDevice(&wmf)) return {};
    DrawSelection(cad, canvas, s.Box);
    canvas.SetDevice(nullptr);
    return wmf.Bytes();
}

bool CopyToClipBoardAsWmf(TMyCAD& cad)
{
    const TSelectionBox s = SelectionBox(cad);
    if (!s.Any) return false;
    const std::vector<uint8_t> wmf = SelectionAsWmf(cad);
    TSvgDocument svg(String(), s.Box.Width(), s.Box.Height(), String());
    if (svg.BeginDoc()) {
        DrawSelection(cad, svg.Canvas(), s.Box);
        svg.EndDoc();
    }
    // The bitmap on white, as the shapes stand on the page.
    TBitmap bitmap(s.Box.Width(), s.Box.Height(), TPixelFormat::pf32bit);
    bitmap.Canvas().Brush().SetStyle(TBrushStyle::bsSolid);
    bitmap.Canvas().Brush().SetColor(clWhite);
    bitmap.Canvas().FillRect(Rect(0, 0, bitmap.Width(), bitmap.Height()));
    DrawSelection(cad, bitmap.Canvas(), s.Box);
    return SetClipboardPictures(wmf, svg.Bytes(), bitmap);
}

} // namespace mycad
