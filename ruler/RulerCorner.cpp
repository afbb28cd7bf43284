#include "ruler/RulerCorner.h"

namespace mycad {

TRsRulerCorner::TRsRulerCorner(QWidget* parent) : TRsBaseRuler(parent)
{
    SetWidth(24);
    SetHeight(24);
    fUStr = UnitAbbreviation(fUnits);
    SetHint(UnitName(fUnits));
}

String TRsRulerCorner::UnitAbbreviation(TRulerUnit unit)
{
    switch (unit) {
    case TRulerUnit::ruKilo: return QStringLiteral("km");
    case TRulerUnit::ruMeter: return QStringLiteral("m");
    case TRulerUnit::ruCenti: return QStringLiteral("cm");
    case TRulerUnit::ruMilli: return QStringLiteral("mm");
    case TRulerUnit::ruInch: return QStringLiteral("in");
    case TRulerUnit::ruPixel: return QStringLiteral("px");
    case TRulerUnit::ruNone: return {};
    }
    return {};
}

String TRsRulerCorner::UnitName(TRulerUnit unit)
{
    switch (unit) {
    case TRulerUnit::ruKilo: return QStringLiteral("kilometer");
    case TRulerUnit::ruMeter: return QStringLiteral("meter");
    case TRulerUnit::ruCenti: return QStringLiteral("centimeter");
    case TRulerUnit::ruMilli: return QStringLiteral("millimeter");
    case TRulerUnit::ruInch: return QStringLiteral("inch");
    case TRulerUnit::ruPixel: return QStringLiteral("pixel");
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
    const int32_t t = c.TextHeight(QStringLiteral("0")) + 6;
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
