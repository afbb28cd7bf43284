#include "widgets/RulerWidgets.h"

#include "widgets/PropertySupport.h"

namespace mycad {

namespace {

using R = TRsRulerWidget;
using C = TRsRulerCornerWidget;

MYCAD_SAME_ORDINAL(R, TRulerDir, rdTop);
MYCAD_SAME_ORDINAL(R, TRulerDir, rdLeft);
MYCAD_SAME_ORDINAL(R, TRulerDir, rdRight);
MYCAD_SAME_ORDINAL(R, TRulerDir, rdBottom);
MYCAD_SAME_ORDINAL(R, TRulerUnit, ruKilo);
MYCAD_SAME_ORDINAL(R, TRulerUnit, ruMeter);
MYCAD_SAME_ORDINAL(R, TRulerUnit, ruCenti);
MYCAD_SAME_ORDINAL(R, TRulerUnit, ruMilli);
MYCAD_SAME_ORDINAL(R, TRulerUnit, ruInch);
MYCAD_SAME_ORDINAL(R, TRulerUnit, ruPixel);
MYCAD_SAME_ORDINAL(R, TRulerUnit, ruNone);
MYCAD_SAME_ORDINAL(R, TRulerScaleDir, rsdNormal);
MYCAD_SAME_ORDINAL(R, TRulerScaleDir, rsdReverse);
MYCAD_SAME_ORDINAL(R, THairLineStyle, hlsLine);
MYCAD_SAME_ORDINAL(R, THairLineStyle, hlsRect);
MYCAD_SAME_ORDINAL(C, TCornerPos, cpLeftTop);
MYCAD_SAME_ORDINAL(C, TCornerPos, cpRightTop);
MYCAD_SAME_ORDINAL(C, TCornerPos, cpLeftBottom);
MYCAD_SAME_ORDINAL(C, TCornerPos, cpRightBottom);

} // namespace

template <typename Ruler>
QColor TRulerProperties<Ruler>::color() const
{
    return ToQColor(this->Color());
}
template <typename Ruler>
void TRulerProperties<Ruler>::setColor(const QColor& value)
{
    this->SetColor(FromQColor(value));
}
template <typename Ruler>
QColor TRulerProperties<Ruler>::scaleColor() const
{
    return ToQColor(this->ScaleColor());
}
template <typename Ruler>
void TRulerProperties<Ruler>::setScaleColor(const QColor& value)
{
    this->SetScaleColor(FromQColor(value));
}
template <typename Ruler>
QColor TRulerProperties<Ruler>::tickColor() const
{
    return ToQColor(this->TickColor());
}
template <typename Ruler>
void TRulerProperties<Ruler>::setTickColor(const QColor& value)
{
    this->SetTickColor(FromQColor(value));
}

template class TRulerProperties<TRsRuler>;
template class TRulerProperties<TRsRulerCorner>;

TRsRulerWidget::TRsRulerWidget(QWidget* parent) : TRulerProperties<TRsRuler>(parent) {}

R::TRulerDir TRsRulerWidget::direction() const { return EnumAs<TRulerDir>(Direction()); }
void TRsRulerWidget::setDirection(TRulerDir value) { SetDirection(EnumAs<mycad::TRulerDir>(value)); }
R::TRulerUnit TRsRulerWidget::units() const { return EnumAs<TRulerUnit>(Units()); }
void TRsRulerWidget::setUnits(TRulerUnit value) { SetUnit(EnumAs<mycad::TRulerUnit>(value)); }
R::TRulerScaleDir TRsRulerWidget::scaleDir() const { return EnumAs<TRulerScaleDir>(ScaleDir()); }
void TRsRulerWidget::setScaleDir(TRulerScaleDir value) { SetScaleDir(EnumAs<mycad::TRulerScaleDir>(value)); }
R::THairLineStyle TRsRulerWidget::hairLineStyle() const { return EnumAs<THairLineStyle>(HairLineStyle()); }
void TRsRulerWidget::setHairLineStyle(THairLineStyle value)
{
    SetHairLineStyle(EnumAs<mycad::THairLineStyle>(value));
}

TRsRulerCornerWidget::TRsRulerCornerWidget(QWidget* parent) : TRulerProperties<TRsRulerCorner>(parent) {}

C::TCornerPos TRsRulerCornerWidget::position() const { return EnumAs<TCornerPos>(Position()); }
void TRsRulerCornerWidget::setPosition(TCornerPos value) { SetPosition(EnumAs<mycad::TCornerPos>(value)); }
C::TRulerUnit TRsRulerCornerWidget::units() const { return EnumAs<TRulerUnit>(Units()); }
void TRsRulerCornerWidget::setUnits(TRulerUnit value) { SetUnit(EnumAs<mycad::TRulerUnit>(value)); }

} // namespace mycad
