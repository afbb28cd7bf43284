#include "cad/shapes/TextOut.h"

#include <numbers>

namespace mycad {

namespace {

constexpr uint8_t kAntialiasedQuality = 4;

// The logical font for text at an angle and a zoom, built on the canvas's
// current description so fields the font does not set keep their values.
TLogFont RotatedLogFont(const TCanvas& canvas, const TFont& font, double angle, double zoom)
{
    TLogFont lf = canvas.GetLogFont();
    const TFontStyles style = font.Style();
    lf.lfWeight = style.Contains(TFontStyle::fsBold) ? 700 : 400;
    lf.lfItalic = style.Contains(TFontStyle::fsItalic) ? 1 : 0;
    lf.lfUnderline = style.Contains(TFontStyle::fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = style.Contains(TFontStyle::fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = font.Charset();
    // Escapement counts tenths of a degree counter-clockwise, our angles turn
    // clockwise on the screen: hence the sign.
    lf.lfEscapement = RoundToInt(angle * 180.0 / std::numbers::pi * -10.0);
    lf.lfOrientation = lf.lfEscapement;
    // The size is taken as the character height in pixels at zoom 1.
    lf.lfHeight = -RoundToInt(double(font.Size()) * zoom);
    lf.lfFaceName = font.Name();
    return lf;
}

} // namespace

void MyLogTextOut(TCanvas& canvas, int32_t x, int32_t y, const String& text, const TFont& font, double angle,
                  double zoom)
{
    TLogFont lf = RotatedLogFont(canvas, font, angle, zoom);
    lf.lfQuality = kAntialiasedQuality;
    canvas.SelectLogFont(lf);
    canvas.Font().SetColor(font.Color());
    canvas.SetBkMode(TRANSPARENT);
    canvas.TextOut(x, y, text);
    // The turned font is dropped again so later text on this canvas is not
    // turned by accident.
    canvas.DeselectLogFont();
}

TSize GetTextWidthHeight(TCanvas& canvas, const String& text, const TFont& font, double angle, double zoom)
{
    canvas.SelectLogFont(RotatedLogFont(canvas, font, angle, zoom));
    const TSize size = canvas.TextExtent(text);
    canvas.DeselectLogFont();
    return size;
}

} // namespace mycad
