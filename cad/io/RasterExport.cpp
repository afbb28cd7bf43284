#include "cad/io/RasterExport.h"

#include <algorithm>

namespace mycad {

namespace {

/// The lower-case extension of a file name, without the dot.
String ExtensionOf(const String& fileName)
{
    const auto slash = std::max(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'));
    const auto dot = fileName.lastIndexOf(u'.');
    if (dot <= slash) return {};
    return fileName.mid(dot + 1).toLower();
}

bool WriteRendered(TMyCAD& cad, const String& fileName, bool fillBackground, int32_t quality)
{
    TBitmap bitmap;
    RenderAtPageSize(cad, bitmap, fillBackground);
    if (bitmap.Empty()) return false;
    return bitmap.SaveToFile(fileName, std::clamp(quality, 0, 100));
}

} // namespace

void SaveToBmp(TMyCAD& cad, TBitmap& bitmap, int32_t width, int32_t height, bool fillBackground)
{
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetSize(std::max(width, 0), std::max(height, 0));
    if (bitmap.Empty()) return;
    // Unpainted pixels must not keep an earlier picture.
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect(Rect(0, 0, width, height));

    const TSize page = cad.PagePixels(1.0);
    if (page.cx <= 0 || page.cy <= 0) return;
    const double rx = static_cast<double>(width) / page.cx;
    const double ry = static_cast<double>(height) / page.cy;
    const double zoom = rx > ry ? ry : rx;
    cad.RenderAtZoom(zoom, [&] {
        // The drawing covers the page at the new zoom; shapes are chosen
        // against that whole area, which the bitmap holds.
        const TSize area = cad.PagePixels(zoom);
        const TRect all = Rect(0, 0, area.cx, area.cy);
        if (fillBackground) cad.FillBackground(bitmap, all);
        cad.DrawBkBitmap(bitmap, 0, 0, false);
        cad.DrawAllShape(canvas, all);
    });
}

void RenderAtPageSize(TMyCAD& cad, TBitmap& bitmap, bool fillBackground)
{
    const TSize page = cad.PagePixels(1.0);
    SaveToBmp(cad, bitmap, page.cx, page.cy, fillBackground);
}

bool SaveToBmp(TMyCAD& cad, const String& fileName, bool fillBackground)
{
    if (ExtensionOf(fileName) != u"bmp"_s) return false;
    return WriteRendered(cad, fileName, fillBackground, 100);
}

bool SaveToPng(TMyCAD& cad, const String& fileName, bool fillBackground)
{
    if (ExtensionOf(fileName) != u"png"_s) return false;
    return WriteRendered(cad, fileName, fillBackground, 100);
}

bool SaveToJpg(TMyCAD& cad, const String& fileName, int32_t quality, bool fillBackground)
{
    const String ext = ExtensionOf(fileName);
    if (ext != u"jpg"_s && ext != u"jpeg"_s) return false;
    return WriteRendered(cad, fileName, fillBackground, quality);
}

} // namespace mycad
