#include "ruler/RulerCorner.h"

namespace mycad {

TRsRulerCorner::TRsRulerCorner(TWinControl* parent) : TRsBaseRuler(parent)
{
    SetWidth(24);
    SetHeight(24);
    fUStr = UnitAbbreviation(fUnits);
    SetHint(UnitName(fUnits));
}

String TRsRulerCorner::UnitAbbreviation(TRulerUnit unit)
{
    switch (unit) {
    case TRulerUnit::ruKilo: return u"km"_s;
    case TRulerUnit::ruMeter: return u"m"_s;
    case TRulerUnit::ruCenti: return u"cm"_s;
    case TRulerUnit::ruMilli: return u"mm"_s;
    case TRulerUnit::ruInch: return u"in"_s;
    case TRulerUnit::ruPixel: return u"px"_s;
    case TRulerUnit::ruNone: return {};
    }
    return {};
}

String TRsRulerCorner::UnitName(TRulerUnit unit)
{
    switch (unit) {
    case TRulerUnit::ruKilo: return u"kilometer"_s;
    case TRulerUnit::ruMeter: return u"meter"_s;
    case TRulerUnit::ruCenti: return u"centimeter"_s;
    case TRulerUnit::ruMilli: return u"millimeter"_s;
    case TRulerUnit::ruInch: return u"inch"_s;
    case TRulerUnit::ruPixel: return u"pixel"_s;
    case TRulerUnit::ruNone: return {};
    }
    return {};
}

void TRsRulerCorner::SetPosition(TCornerPos value)
{
    if (value == fPosition) return;
    fPosition = value;
    Invalidate();
}

void TRsRulerCorner::SetUnit(TRulerUnit value)
{
    if (value == fUnits) return;
    fUStr = UnitAbbreviation(value);
    SetHint(UnitName(value));
    TRsBaseRuler::SetUnit(value);
}

void TRsRulerCorner::Paint()
{
    TRsBaseRuler::Paint();
    TCanvas& c = Canvas();
    SelectNormFont();
    if (!fFlat) DrawRaisedEdge();
    const int32_t b = BorderWidth();
    const int32_t w = Width();
    const int32_t h = Height();
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(fScaleColor);
    const int32_t t = c.TextHeight(u"0"_s) + 6;
    const int32_t tw = c.TextWidth(fUStr);
    c.SetBkMode(TRANSPARENT);
    // The first rectangle continues the band of the horizontal ruler, the
    // second that of the vertical one; the text sits where they cross.
    switch (fPosition) {
    case TCornerPos::cpLeftTop:
        c.FillRect(Rect(w - t, h - t - 1, w - b, h - 8));
        c.FillRect(Rect(w - t, h - t, w - 8, h - b));
        c.TextOut(w - t + (t - tw - 2) / 2 + 1, h - t - 1, fUStr);
        break;
    case TCornerPos::cpRightTop:
        c.FillRect(Rect(b, h - t - 1, t, h - 8));
        c.FillRect(Rect(8, h - t, t, h - b));
        c.TextOut((t - tw) / 2 + 2, h - t, fUStr);
        break;
    case TCornerPos::cpLeftBottom:
        c.FillRect(Rect(w - t, 8, w - b, t + 1));
        c.FillRect(Rect(w - t, b, w - 8, t));
        c.TextOut(w - t + (t - tw - 2) / 2 + 1, 8, fUStr);
        break;
    case TCornerPos::cpRightBottom:
        c.FillRect(Rect(b, 8, t, t + 1));
        c.FillRect(Rect(8, b, t, t));
        c.TextOut((t - tw) / 2 + 2, 8, fUStr);
        break;
    }
    c.SetBkMode(OPAQUE);
    RestoreOldFont();
}

} // namespace mycad
