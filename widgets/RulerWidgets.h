// TRsRulerWidget and TRsRulerCornerWidget: the rulers with their published
// settings as Qt properties, for Qt Designer's property editor and .ui
// files. Enumerations repeat the rulers' values so Designer offers them in a
// drop-down list; everything else is the TRsRuler and TRsRulerCorner
// interface these classes inherit.
#pragma once

#include "ruler/Ruler.h"
#include "ruler/RulerCorner.h"

#include <QColor>

namespace mycad {

/// The settings both rulers share, as Qt accessors. A template over the
/// ruler class, because moc classes cannot share a QObject base here: each
/// derives from its own control.
template <typename Ruler>
class TRulerProperties : public Ruler {
public:
    using Ruler::Ruler;
    void setFlat(bool value) { this->SetFlat(value); }
    QColor color() const;
    void setColor(const QColor& value);
    QColor scaleColor() const;
    void setScaleColor(const QColor& value);
    QColor tickColor() const;
    void setTickColor(const QColor& value);
};

class TRsRulerWidget : public TRulerProperties<TRsRuler> {
    Q_OBJECT
    Q_PROPERTY(TRulerDir Direction READ direction WRITE setDirection)
    Q_PROPERTY(TRulerUnit Units READ units WRITE setUnits)
    Q_PROPERTY(int Scale READ Scale WRITE setScale)
    Q_PROPERTY(double Offset READ Offset WRITE setOffset)
    Q_PROPERTY(TRulerScaleDir ScaleDir READ scaleDir WRITE setScaleDir)
    Q_PROPERTY(bool ShowMinus READ ShowMinus WRITE setShowMinus)
    Q_PROPERTY(bool HairLine READ HairLine WRITE setHairLine)
    Q_PROPERTY(THairLineStyle HairLineStyle READ hairLineStyle WRITE setHairLineStyle)
    Q_PROPERTY(int MyLongTick READ MyLongTick WRITE setMyLongTick)
    Q_PROPERTY(int MyShortTick READ MyShortTick WRITE setMyShortTick)
    Q_PROPERTY(bool Flat READ Flat WRITE setFlat)
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(QColor ScaleColor READ scaleColor WRITE setScaleColor)
    Q_PROPERTY(QColor TickColor READ tickColor WRITE setTickColor)

public:
    // The rulers' enumerations, value for value.
    enum TRulerDir { rdTop, rdLeft, rdRight, rdBottom };
    Q_ENUM(TRulerDir)
    enum TRulerUnit { ruKilo, ruMeter, ruCenti, ruMilli, ruInch, ruPixel, ruNone };
    Q_ENUM(TRulerUnit)
    enum TRulerScaleDir { rsdNormal, rsdReverse };
    Q_ENUM(TRulerScaleDir)
    enum THairLineStyle { hlsLine, hlsRect };
    Q_ENUM(THairLineStyle)

    explicit TRsRulerWidget(QWidget* parent = nullptr);

    TRulerDir direction() const;
    void setDirection(TRulerDir value);
    TRulerUnit units() const;
    void setUnits(TRulerUnit value);
    void setScale(int value) { SetScale(value); }
    void setOffset(double value) { SetOffset(value); }
    TRulerScaleDir scaleDir() const;
    void setScaleDir(TRulerScaleDir value);
    void setShowMinus(bool value) { SetShowMinus(value); }
    void setHairLine(bool value) { SetHairLine(value); }
    THairLineStyle hairLineStyle() const;
    void setHairLineStyle(THairLineStyle value);
    void setMyLongTick(int value) { SetMyLongTick(value); }
    void setMyShortTick(int value) { SetMyShortTick(value); }
};

class TRsRulerCornerWidget : public TRulerProperties<TRsRulerCorner> {
    Q_OBJECT
    Q_PROPERTY(TCornerPos Position READ position WRITE setPosition)
    Q_PROPERTY(mycad::TRsRulerWidget::TRulerUnit Units READ units WRITE setUnits)
    Q_PROPERTY(bool Flat READ Flat WRITE setFlat)
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(QColor ScaleColor READ scaleColor WRITE setScaleColor)
    Q_PROPERTY(QColor TickColor READ tickColor WRITE setTickColor)

public:
    enum TCornerPos { cpLeftTop, cpRightTop, cpLeftBottom, cpRightBottom };
    Q_ENUM(TCornerPos)
    using TRulerUnit = TRsRulerWidget::TRulerUnit;

    explicit TRsRulerCornerWidget(QWidget* parent = nullptr);

    TCornerPos position() const;
    void setPosition(TCornerPos value);
    TRulerUnit units() const;
    void setUnits(TRulerUnit value);
};

} // namespace mycad
