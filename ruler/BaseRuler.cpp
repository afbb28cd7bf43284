#include "ruler/BaseRuler.h"

#include <algorithm>
#include <cstdint>

namespace mycad {

TRsBaseRuler::TRsBaseRuler(TWinControl* parent)
    : TGraphicControl(parent), fVersionInfo(u"rule component "_s)
{
    fFont.OnChange = [this] { FontChange(); };
}

TRsBaseRuler::~TRsBaseRuler()
{
    fFont.OnChange = nullptr;
    DeleteFonts();
}

void TRsBaseRuler::SetColor(TColor value)
{
    if (value == fColor) return;
    fColor = value;
    Invalidate();
}

void TRsBaseRuler::SetFlat(bool value)
{
    if (value == fFlat) return;
    fFlat = value;
    Invalidate();
}

void TRsBaseRuler::SetScaleColor(TColor value)
{
    if (value == fScaleColor) return;
    fScaleColor = value;
    Invalidate();
}

void TRsBaseRuler::SetTickColor(TColor value)
{
    if (value == fTickColor) return;
    fTickColor = value;
    Invalidate();
}

void TRsBaseRuler::SetUnit(TRulerUnit value)
{
    if (value == fUnits) return;
    fUnits = value;
    Invalidate();
}

void TRsBaseRuler::SetVersionInfo(const String& value)
{
    if (value == fVersionInfo) return;
    fVersionInfo = value;
    Invalidate();
}

// ---------------------------------------------------------------- fonts

void TRsBaseRuler::ChangeFonts()
{
    DeleteFonts();
    TLogFont lf;
    lf.lfFaceName = fFont.Name();
    // The font's height is negative for a character height; its negation asks
    // for a cell of that many pixels, which keeps labels inside the band.
    const int64_t height = -static_cast<int64_t>(fFont.Height());
    lf.lfHeight = static_cast<int32_t>(std::clamp<int64_t>(height, INT32_MIN + 1, INT32_MAX));
    lf.lfWeight = fFont.Style().Contains(TFontStyle::fsBold) ? 700 : 0;
    lf.lfItalic = fFont.Style().Contains(TFontStyle::fsItalic) ? 1 : 0;
    lf.lfCharSet = fFont.Charset();

    LeftSideLF = lf;
    LeftSideLF.lfEscapement = 900;
    LeftSideLF.lfOrientation = 900;
    RightSideLF = lf;
    RightSideLF.lfEscapement = 2700;
    RightSideLF.lfOrientation = 2700;
    NormLF = lf;

    Canvas().Font().SetColor(fFont.Color());
    NormFont = NormLF;
    LeftSideFont = LeftSideLF;
    RightSideFont = RightSideLF;
}

void TRsBaseRuler::DeleteFonts()
{
    NormFont.reset();
    LeftSideFont.reset();
    RightSideFont.reset();
}

void TRsBaseRuler::FontChange()
{
    ChangeFonts();
    Invalidate();
}

void TRsBaseRuler::SelectFont(const std::optional<TLogFont>& font)
{
    if (!font) ChangeFonts();
    Canvas().SelectLogFont(*font);
}

void TRsBaseRuler::RestoreOldFont()
{
    // The canvas belongs to this control alone, so the font in use before the
    // labels is always the canvas's own.
    Canvas().DeselectLogFont();
}

int32_t TRsBaseRuler::NormTextHeight()
{
    SelectNormFont();
    const int32_t h = Canvas().TextHeight(u"0"_s);
    RestoreOldFont();
    return h;
}

// ------------------------------------------------------------- painting

void TRsBaseRuler::Paint()
{
    TCanvas& c = Canvas();
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(fColor);
    c.FillRect(ClientRect());
    if (FirstTime) {
        FirstTime = false;
        ChangeFonts();
    }
}

void TRsBaseRuler::Resize()
{
    Invalidate();
}

void TRsBaseRuler::DrawRaisedEdge()
{
    TCanvas& c = Canvas();
    const TBrush saved = c.Brush();
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    // Each ring: light along the top and left, dark along the bottom and
    // right, the dark sides drawn last so they own the corners.
    auto ring = [&](TRect r, TColor light, TColor dark) {
        if (r.IsEmpty()) return;
        c.Brush().SetColor(light);
        c.FillRect(Rect(r.Left, r.Top, r.Right - 1, r.Top + 1));
        c.FillRect(Rect(r.Left, r.Top, r.Left + 1, r.Bottom - 1));
        c.Brush().SetColor(dark);
        c.FillRect(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
        c.FillRect(Rect(r.Right - 1, r.Top, r.Right, r.Bottom));
    };
    TRect r = ClientRect();
    ring(r, cl3DLight, cl3DDkShadow);
    InflateRect(r, -1, -1);
    ring(r, clBtnHighlight, clBtnShadow);
    c.Brush() = saved;
}

void TRsBaseRuler::InvertRect(const TRect& r)
{
    const TRect box = Rect(std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
                           std::max(r.Top, r.Bottom));
    if (box.IsEmpty()) return;
    TCanvas& c = Canvas();
    const TPen savedPen = c.Pen();
    const TBrush savedBrush = c.Brush();
    // Without an outline a rectangle fills up to one pixel short of its
    // corner, so the box is widened by one each way to cover it exactly once.
    c.Pen().SetStyle(TPenStyle::psClear);
    c.Pen().SetMode(TPenMode::pmNot);
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Rectangle(box.Left, box.Top, static_cast<int32_t>(std::min<int64_t>(int64_t(box.Right) + 1, INT32_MAX)),
                static_cast<int32_t>(std::min<int64_t>(int64_t(box.Bottom) + 1, INT32_MAX)));
    c.Pen() = savedPen;
    c.Brush() = savedBrush;
}

} // namespace mycad
