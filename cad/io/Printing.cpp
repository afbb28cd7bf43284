// Page elements, previews and printing. Every page, whether a preview
// bitmap or a printer page, is drawn by the same steps through the canvas's
// render entry point, so a preview shows what prints.
#include "cad/io/Printing.h"

#include "cad/shapes/TextOut.h"

#include <algorithm>
#include <cmath>

namespace mycad {

namespace {

// The page elements in their order, on a page of width x height pixels: a
// preview bitmap takes the background picture as the control shows it, a
// printer page scaled by the zoom.
void DrawPage(TMyCAD& cad, TCanvas& canvas, int32_t width, int32_t height, TBitmap* preview)
{
    DrawPageBackground(cad, canvas, width, height);
    if (preview) {
        cad.DrawBkBitmap(*preview, 0, 0, true);
    } else {
        DrawPageBkBitmap(cad, canvas, width, height, cad.Zoom());
    }
    DrawPageBorder(cad, canvas, width, height);
    DrawPageHeadFoot(cad, canvas, width, height, preview == nullptr);
}

// Renders a page into bitmap, sized width x height, at zoom.
void PreviewPage(TMyCAD& cad, TBitmap& bitmap, double zoom, TRenderRequest request, bool pageSize,
                 int32_t maxWidth = 0, int32_t maxHeight = 0)
{
    cad.RenderAtZoom(zoom, [&] {
        const TSize page = cad.PagePixels(zoom);
        const int32_t w = pageSize ? page.cx : std::min(page.cx, std::max(maxWidth, 0));
        const int32_t h = pageSize ? page.cy : std::min(page.cy, std::max(maxHeight, 0));
        // 32-bit pixels: the raster engine's own format, drawn without conversions.
        bitmap.SetPixelFormat(TPixelFormat::pf32bit);
        bitmap.SetSize(w, h);
        if (bitmap.Empty()) return;
        TCanvas& canvas = bitmap.Canvas();
        // Page elements stand where the full page has them; a smaller
        // bitmap shows the page's top-left part.
        DrawPage(cad, canvas, page.cx, page.cy, &bitmap);
        request.Zoom = zoom;
        cad.RenderShapes(canvas, request);
    });
}

// Prints a page of the shapes the request picks.
bool PrintPage(TMyCAD& cad, TPrinter& printer, double zoom, TRenderRequest request)
{
    if (!(zoom > 0.0) || !std::isfinite(zoom)) return false;
    const bool ownJob = !printer.Printing();
    if (ownJob) {
        printer.SetPaper(PaperOf(cad));
        if (!printer.BeginDoc()) return false;
    }
    TCanvas& canvas = printer.Canvas();
    cad.RenderAtZoom(zoom, [&] {
        DrawPage(cad, canvas, printer.PageWidth(), printer.PageHeight(), nullptr);
        request.Zoom = zoom;
        request.Printer = true;
        cad.RenderShapes(canvas, request);
    });
    if (ownJob) printer.EndDoc();
    return true;
}

TRenderRequest LayersRequest(const TLayerIds& ids, TRenderPick pick)
{
    TRenderRequest r;
    r.Pick = pick;
    r.LayerIds = ids;
    return r;
}

TRenderRequest SelectionRequest(TMyCAD& cad)
{
    TRenderRequest r;
    r.Pick = TRenderPick::Shapes;
    r.Shapes = cad.GetSelectedShapes();
    return r;
}

} // namespace

// ---------------------------------------------------------------- page elements

void DrawPageBackground(TMyCAD& cad, TCanvas& canvas, int32_t width, int32_t height)
{
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(cad.PrintBackground() ? cad.ColorOfBackGround() : clWhite);
    canvas.FillRect(Rect(0, 0, width, height));
}

void DrawPageBorder(TMyCAD& cad, TCanvas& canvas, int32_t width, int32_t height)
{
    if (!cad.PrintABorder()) return;
    const double z = cad.Zoom();
    canvas.Pen().SetColor(clBlack);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    canvas.Pen().SetMode(TPenMode::pmCopy);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Rectangle(RoundToInt(cad.PrintABordertoLeft() * z), RoundToInt(cad.PrintABordertoTop() * z),
                     RoundToInt(width - cad.PrintABordertoRight() * z),
                     RoundToInt(height - cad.PrintABordertoBottom() * z));
}

void DrawPageHeadFoot(TMyCAD& cad, TCanvas& canvas, int32_t width, int32_t height, bool measureAtZoomOne)
{
    const double z = cad.Zoom();
    auto measure = [&](const String& text, const TFont& font) {
        if (!measureAtZoomOne) return GetTextWidthHeight(canvas, text, font, 0.0, z);
        const TSize one = GetTextWidthHeight(canvas, text, font, 0.0, 1.0);
        return TSize{RoundToInt(one.cx * z), RoundToInt(one.cy * z)};
    };
    auto xOf = [&](TAlignment alignment, int32_t textWidth) {
        switch (alignment) {
        case TAlignment::taLeftJustify: return RoundToInt(cad.PrintABordertoLeft() * z);
        case TAlignment::taRightJustify:
            return RoundToInt(width - textWidth - cad.PrintABordertoRight() * z);
        case TAlignment::taCenter: break;
        }
        return RoundToInt((width - textWidth) / 2.0);
    };
    if (!cad.PageHead().isEmpty()) {
        const TSize size = measure(cad.PageHead(), cad.PageHeadFont());
        MyLogTextOut(canvas, xOf(cad.PageHeadAlignment(), size.cx), RoundToInt(cad.PageHeadToTop() * z),
                     cad.PageHead(), cad.PageHeadFont(), 0.0, z);
    }
    if (!cad.PageFoot().isEmpty()) {
        const TSize size = measure(cad.PageFoot(), cad.PageFootFont());
        MyLogTextOut(canvas, xOf(cad.PageFootAlignment(), size.cx),
                     RoundToInt(height - (cad.PageFootToBottom() * z + size.cy)), cad.PageFoot(), cad.PageFootFont(),
                     0.0, z);
    }
}

void DrawPageBkBitmap(TMyCAD& cad, TCanvas& canvas, int32_t width, int32_t height, double zoom)
{
    const TBitmap& picture = cad.BkBitmap();
    if (picture.Width() <= 0 || picture.Height() <= 0) return;
    const int32_t tw = RoundToInt(picture.Width() * zoom);
    const int32_t th = RoundToInt(picture.Height() * zoom);
    switch (cad.BkBitmapMode()) {
    case TBkBitmapMode::LeftTop:
        canvas.StretchDraw(Rect(0, 0, tw, th), picture);
        break;
    case TBkBitmapMode::Center: {
        const int32_t x0 = (width - tw) / 2;
        const int32_t y0 = (height - th) / 2;
        canvas.StretchDraw(Rect(x0, y0, x0 + tw, y0 + th), picture);
        break;
    }
    case TBkBitmapMode::Stretch:
        canvas.StretchDraw(Rect(0, 0, width, height), picture);
        break;
    case TBkBitmapMode::Tiled:
        if (tw <= 0 || th <= 0) return;
        for (int64_t i = 0; i <= width / tw + 1; ++i) {
            for (int64_t j = 0; j <= height / th + 1; ++j) {
                const auto x = static_cast<int32_t>(i * tw);
                const auto y = static_cast<int32_t>(j * th);
                canvas.StretchDraw(Rect(x, y, x + tw, y + th), picture);
            }
        }
        break;
    }
}

void DrawBackground(TMyCAD& cad, TBitmap& bitmap)
{
    DrawPageBackground(cad, bitmap.Canvas(), bitmap.Width(), bitmap.Height());
}

void DrawBorder(TMyCAD& cad, TBitmap& bitmap)
{
    DrawPageBorder(cad, bitmap.Canvas(), bitmap.Width(), bitmap.Height());
}

void DrawHeadFoot(TMyCAD& cad, TBitmap& bitmap)
{
    DrawPageHeadFoot(cad, bitmap.Canvas(), bitmap.Width(), bitmap.Height(), false);
}

// ---------------------------------------------------------------- previews

void PrintPreview(TMyCAD& cad, const TLayerIds& layerIds, TBitmap& bitmap, double zoom)
{
    PreviewPage(cad, bitmap, zoom, LayersRequest(layerIds, TRenderPick::Layers), true);
}

void PrintPreviewLowMem(TMyCAD& cad, const TLayerIds& layerIds, TBitmap& bitmap, int32_t maxWidth,
                        int32_t maxHeight, double zoom)
{
    PreviewPage(cad, bitmap, zoom, LayersRequest(layerIds, TRenderPick::LayersFlat), false, maxWidth, maxHeight);
}

void PreviewSelectedShapes(TMyCAD& cad, TBitmap& bitmap, double zoom)
{
    PreviewPage(cad, bitmap, zoom, SelectionRequest(cad), true);
}

// ---------------------------------------------------------------- printer

void PrintBkBitmap(TMyCAD& cad, TPrinter& printer, double zoom)
{
    DrawPageBkBitmap(cad, printer.Canvas(), printer.PageWidth(), printer.PageHeight(), zoom);
}

void PrintBorder(TMyCAD& cad, TPrinter& printer)
{
    DrawPageBorder(cad, printer.Canvas(), printer.PageWidth(), printer.PageHeight());
}

void PrintHeadFoot(TMyCAD& cad, TPrinter& printer)
{
    DrawPageHeadFoot(cad, printer.Canvas(), printer.PageWidth(), printer.PageHeight(), true);
}

bool Print(TMyCAD& cad, const TLayerIds& layerIds, double zoom, TPrinter& printer)
{
    return PrintPage(cad, printer, zoom, LayersRequest(layerIds, TRenderPick::Layers));
}

bool PrintSelectedShapes(TMyCAD& cad, double zoom, TPrinter& printer)
{
    return PrintPage(cad, printer, zoom, SelectionRequest(cad));
}

TPaperSize PaperOf(const TMyCAD& cad)
{
    return {double(cad.PageWidth()), double(cad.PageHeight())};
}

} // namespace mycad
