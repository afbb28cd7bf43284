// TRsRuler: a scale along one edge of a drawing area, with ticks, numbers in
// a chosen unit and an optional hair line that marks a position. The host sets
// the unit, scale, offset and hair-line position; the ruler does not talk to
// the drawing itself.
//
// Labels sit Advance pixels apart (one millimetre, one tenth of an inch or
// five pixels at scale 100, coarser or finer as the scale calls for), ticks
// two advances apart; every MyLongTick-th tick is long and every long tick
// but the first carries a number.
#pragma once

#include "ruler/BaseRuler.h"

namespace mycad {

class TRsRuler : public TRsBaseRuler {
public:
    /// A top ruler, 200 x 33 pixels, in centimetres at scale 100.
    explicit TRsRuler(TWinControl* parent = nullptr);

    /// The side of the drawing the ruler sits at. Turning a horizontal ruler
    /// into a vertical one or back exchanges its width and height.
    TRulerDir Direction() const { return fDirection; }
    void SetDirection(TRulerDir value);
    /// The zoom of the scale in percent; values below 1 are refused.
    int32_t Scale() const { return fScale; }
    void SetScale(int32_t value);
    /// Shows the hair line at HairLinePos.
    bool HairLine() const { return fHairLine; }
    void SetHairLine(bool value);
    /// The hair line's pixel position along the ruler; -1: none. Moving it
    /// redraws only the line, without a repaint; a repaint that covers it
    /// erases it and resets the position to -1.
    int32_t HairLinePos() const { return fHairLinePos; }
    void SetHairLinePos(int32_t value);
    THairLineStyle HairLineStyle() const { return fHairLineStyle; }
    void SetHairLineStyle(THairLineStyle value);
    /// The value, in the unit, shown at the start of the scale.
    double Offset() const { return fOffset; }
    void SetOffset(double value);
    /// Negative values keep their sign; otherwise their magnitude is shown.
    bool ShowMinus() const { return fShowMinus; }
    void SetShowMinus(bool value);
    TRulerScaleDir ScaleDir() const { return fScaleDir; }
    void SetScaleDir(TRulerScaleDir value);
    /// Every MyLongTick-th tick is long, every MyShortTick-th short; a period
    /// of 0 means no tick of that kind (and without long ticks no numbers).
    int32_t MyLongTick() const { return FMyLongTick; }
    void SetMyLongTick(int32_t value);
    int32_t MyShortTick() const { return FMyShortTick; }
    void SetMyShortTick(int32_t value);

    /// Converts Offset to the new unit, stores the unit and repaints.
    void SetUnit(TRulerUnit value) override;
    /// The value, in the unit, at a pixel position along the ruler.
    double Pos2Unit(int32_t pos) const;
    /// Offset expressed in another unit.
    double ConvertOffset(TRulerUnit newUnit) const;

    /// Computes ScaleFactor and Advance for the unit and scale; painting does
    /// it first.
    void CalcAdvance();
    /// The value one label step of ten advances stands for, in the unit's
    /// base (centimetres for metric units, inches, fifty pixels).
    double ScaleFactor() const { return fScaleFactor; }
    /// Pixels between two label positions.
    double Advance() const { return fAdvance; }

    /// The length of the scale in pixels: the width of a horizontal ruler,
    /// the height of a vertical one.
    int32_t ScaleLength() const;
    /// The pixel at which a distance of p pixels from the start of the scale
    /// lies, counting from the far end when reversed.
    int32_t ScalePos(double p) const;
    /// The text of the label at label step i, as the last CalcAdvance sees it.
    String LabelText(int64_t i) const;

protected:
    void Paint() override;
    void PaintScaleTics();
    void PaintScaleLabels();
    /// Inverts the hair line at HairLinePos; drawing it twice erases it.
    void DrawHairLine();

private:
    bool IsHorizontal() const { return fDirection == TRulerDir::rdTop || fDirection == TRulerDir::rdBottom; }
    /// The rectangle the hair line at pos inverts.
    TRect HairLineRect(int32_t pos);

    TRulerDir fDirection = TRulerDir::rdTop;
    int32_t fScale = 100;
    double fScaleFactor = 1.0;
    double fAdvance = 1.0;
    bool fHairLine = false;
    int32_t fHairLinePos = -1;
    THairLineStyle fHairLineStyle = THairLineStyle::hlsLine;
    double fOffset = 0;
    bool fShowMinus = true;
    TRulerScaleDir fScaleDir = TRulerScaleDir::rsdNormal;
    int32_t FMyLongTick = 5;
    int32_t FMyShortTick = 1;
};

} // namespace mycad
