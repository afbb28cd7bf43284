// TMyCAD: the control is as large as its page at the current zoom. The page
// is held in millimetres; the control's pixels follow the screen's PPI.
#include "cad/canvas/MyCAD.h"
#include "cad/canvas/ProcessingScope.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace mycad {

namespace {

struct TPageSize {
    TPageStyle Style;
    uint32_t Width;
    uint32_t Height;
};

// Portrait sizes in millimetres.
constexpr std::array<TPageSize, 9> kPages{{
    {TPageStyle::A0, 841, 1189},
    {TPageStyle::A1, 594, 841},
    {TPageStyle::A2, 420, 594},
    {TPageStyle::A3, 297, 420},
    {TPageStyle::A4, 210, 297},
    {TPageStyle::A5, 148, 210},
    {TPageStyle::B3, 353, 500},
    {TPageStyle::B4, 257, 364},
    {TPageStyle::B5, 182, 257},
}};

} // namespace

int32_t TMyCAD::PixelsForMillimetres(uint32_t mm) const
{
    // No control can be larger than the windowing system's limit; clamping
    // first also keeps the conversion to an integer defined.
    constexpr double kLargestControl = 16777215.0;
    const double pixels = FZoom * double(mm) * double(TScreen::PixelsPerInch()) / 25.4;
    return RoundToInt(std::clamp(pixels, 0.0, kLargestControl));
}

void TMyCAD::SetPageStyle(TPageStyle value)
{
    TProcessingScope scope(Processing);
    FPageStyle = value;
    for (const TPageSize& page : kPages) {
        if (page.Style == value) {
            FPageWidth = page.Width;
            FPageHeight = page.Height;
        }
    }
    const bool landscape = FPageOrientation == TPageOrientation::poLandscape;
    if ((landscape && FPageWidth < FPageHeight) || (!landscape && FPageWidth > FPageHeight)) {
        std::swap(FPageWidth, FPageHeight);
    }
    if (value != TPageStyle::CustomerPage) {
        SetWidth(PixelsForMillimetres(FPageWidth));
        SetHeight(PixelsForMillimetres(FPageHeight));
    }
}

void TMyCAD::SetPageOrientation(TPageOrientation value)
{
    if (value == FPageOrientation) return;
    FPageOrientation = value;
    SetPageStyle(FPageStyle);
}

void TMyCAD::SetPageWidth(uint32_t value)
{
    TProcessingScope scope(Processing);
    FPageWidth = value;
    FPageStyle = GetPageStyleByWH(FPageWidth, FPageHeight);
    if (FPageStyle != TPageStyle::CustomerPage) SetWidth(PixelsForMillimetres(FPageWidth));
}

void TMyCAD::SetPageHeight(uint32_t value)
{
    TProcessingScope scope(Processing);
    FPageHeight = value;
    FPageStyle = GetPageStyleByWH(FPageWidth, FPageHeight);
    if (FPageStyle != TPageStyle::CustomerPage) SetHeight(PixelsForMillimetres(FPageHeight));
}

TPageStyle TMyCAD::GetPageStyleByWH(uint32_t width, uint32_t height) const
{
    const bool landscape = FPageOrientation == TPageOrientation::poLandscape;
    for (const TPageSize& page : kPages) {
        const uint32_t w = landscape ? page.Height : page.Width;
        const uint32_t h = landscape ? page.Width : page.Height;
        if (w == width && h == height) return page.Style;
    }
    return TPageStyle::CustomerPage;
}

void TMyCAD::SetZoom(double value)
{
    // Shapes divide by the zoom; a zoom that is not a positive number would
    // turn every coordinate taken from the mouse into infinity.
    if (value == FZoom || !(value > 0.0) || !std::isfinite(value)) return;
    TProcessingScope scope(Processing);
    SetPreZoom(FZoom);
    FZoom = value;
    SetHeight(PixelsForMillimetres(FPageHeight));
    SetWidth(PixelsForMillimetres(FPageWidth));
    // Shapes keep their document coordinates, so every pixel changes scale;
    // a control that shrank would otherwise expose nothing new to repaint.
    Invalidate();
}

void TMyCAD::SetPreZoom(double value)
{
    if (value != FPreZoom) FPreZoom = value;
}

void TMyCAD::Resize()
{
    if (Processing || FZoom <= 0.0) return;
    const double pixelsPerMillimetre = double(TScreen::PixelsPerInch()) * FZoom / 25.4;
    auto millimetres = [pixelsPerMillimetre](int32_t pixels) {
        const int32_t mm = RoundToInt(double(pixels) / pixelsPerMillimetre);
        return static_cast<uint32_t>(mm < 0 ? 0 : mm);
    };
    SetPageHeight(millimetres(Height()));
    SetPageWidth(millimetres(Width()));
    FPageStyle = GetPageStyleByWH(FPageWidth, FPageHeight);
}

} // namespace mycad
