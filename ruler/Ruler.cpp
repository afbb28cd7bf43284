#include "ruler/Ruler.h"

#include "ruler/RulerNumbers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace mycad {

namespace {

// Ticks and labels repeat every `period` steps; a period of 0 never comes round.
bool IsMultiple(int64_t i, int64_t period)
{
    return period != 0 && i % period == 0;
}

int32_t ClampToInt32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// How many tenths of the unit one label step of ten advances stands for, so
// that labels stay a readable distance apart at every scale. Beyond 1000 %
// the finest step stays.
double FactorForScale(int32_t scale)
{
    if (scale <= 1) return 100;
    if (scale <= 2) return 50;
    if (scale <= 5) return 25;
    if (scale <= 8) return 20;
    if (scale <= 12) return 10;
    if (scale <= 25) return 5;
    if (scale <= 35) return 4;
    if (scale <= 50) return 2;
    if (scale <= 125) return 1;
    if (scale <= 300) return 0.5;
    if (scale <= 400) return 0.25;
    if (scale <= 500) return 0.2;
    return 0.1;
}

} // namespace

TRsRuler::TRsRuler(TWinControl* parent) : TRsBaseRuler(parent)
{
    SetWidth(200);
    SetHeight(33);
}

// ----------------------------------------------------------- properties

void TRsRuler::SetDirection(TRulerDir value)
{
    if (value == fDirection) return;
    const bool wasHorizontal = IsHorizontal();
    fDirection = value;
    if (wasHorizontal != IsHorizontal() && !IsLoading()) {
        const int32_t w = Width();
        const int32_t h = Height();
        SetWidth(h);
        SetHeight(w);
    }
    Invalidate();
}

void TRsRuler::SetScale(int32_t value)
{
    if (value < 1 || value == fScale) return;
    fScale = value;
    Invalidate();
}

void TRsRuler::SetHairLine(bool value)
{
    if (value == fHairLine) return;
    fHairLine = value;
    Invalidate();
}

void TRsRuler::SetHairLinePos(int32_t value)
{
    if (value == fHairLinePos) return;
    DrawHairLine();
    fHairLinePos = value;
    DrawHairLine();
}

void TRsRuler::SetHairLineStyle(THairLineStyle value)
{
    if (value == fHairLineStyle) return;
    fHairLineStyle = value;
    Invalidate();
}

void TRsRuler::SetOffset(double value)
{
    if (value == fOffset) return;
    fOffset = value;
    Invalidate();
}

void TRsRuler::SetShowMinus(bool value)
{
    if (value == fShowMinus) return;
    fShowMinus = value;
    Invalidate();
}

void TRsRuler::SetScaleDir(TRulerScaleDir value)
{
    if (value == fScaleDir) return;
    fScaleDir = value;
    Invalidate();
}

void TRsRuler::SetMyLongTick(int32_t value)
{
    FMyLongTick = value;
    Invalidate();
}

void TRsRuler::SetMyShortTick(int32_t value)
{
    FMyShortTick = value;
    Invalidate();
}

void TRsRuler::SetUnit(TRulerUnit value)
{
    if (value == fUnits) return;
    fOffset = ConvertOffset(value);
    TRsBaseRuler::SetUnit(value);
}

// ---------------------------------------------------------------- units

double TRsRuler::ConvertOffset(TRulerUnit newUnit) const
{
    const int32_t ppi = TScreen::PixelsPerInch();
    return fOffset / UnitsPerMillimetre(fUnits, ppi) * UnitsPerMillimetre(newUnit, ppi);
}

double TRsRuler::Pos2Unit(int32_t pos) const
{
    const double q = fScaleDir == TRulerScaleDir::rsdReverse ? static_cast<double>(ScaleLength()) - pos
                                                             : static_cast<double>(pos);
    const double d = q / fScale * 100 / TScreen::PixelsPerInch(); // inches on the scale
    switch (fUnits) {
    case TRulerUnit::ruInch: return fOffset + d;
    case TRulerUnit::ruCenti: return fOffset + d * 2.54;
    case TRulerUnit::ruMilli: return fOffset + d * 25.4;
    case TRulerUnit::ruMeter: return fOffset + d * 0.0254;
    case TRulerUnit::ruKilo: return fOffset + d * 2.54e-5;
    case TRulerUnit::ruPixel: return std::trunc(fOffset) + std::trunc(q / fScale * 100);
    case TRulerUnit::ruNone: return fOffset;
    }
    return fOffset;
}

void TRsRuler::CalcAdvance()
{
    double a = TScreen::PixelsPerInch() / 10.0 * fScale / 100.0; // a tenth of an inch
    if (fUnits != TRulerUnit::ruInch) a /= 2.54;                  // a millimetre
    if (fUnits == TRulerUnit::ruPixel) a = fScale * 5.0 / 100.0;  // five pixels
    fScaleFactor = FactorForScale(fScale);
    fAdvance = a * fScaleFactor;
}

int32_t TRsRuler::ScaleLength() const
{
    return IsHorizontal() ? Width() : Height();
}

int32_t TRsRuler::ScalePos(double p) const
{
    // Whole pixels within reach of 32 bits; a distance that is no number counts as none.
    const double clamped = std::isnan(p) ? 0.0 : std::clamp(std::trunc(p), double(INT32_MIN), double(INT32_MAX));
    const auto along = static_cast<int64_t>(clamped);
    if (fScaleDir == TRulerScaleDir::rsdReverse) return ClampToInt32(int64_t(ScaleLength()) - along);
    return static_cast<int32_t>(along);
}

String TRsRuler::LabelText(int64_t i) const
{
    double v = fScaleFactor * static_cast<double>(i) / 10; // centimetres, inches or fifties of pixels
    switch (fUnits) {
    case TRulerUnit::ruMilli: v *= 10; break;
    case TRulerUnit::ruMeter: v /= 100; break;
    case TRulerUnit::ruKilo: v /= 100000; break;
    case TRulerUnit::ruPixel: v *= 50; break;
    default: break;
    }
    v += fOffset;
    // Whole pixels and hundredths of an inch, ties to even.
    if (fUnits == TRulerUnit::ruPixel) v = std::nearbyint(v);
    if (fUnits == TRulerUnit::ruInch) v = std::nearbyint(v * 100) / 100;
    if (!fShowMinus) v = std::fabs(v);
    return FormatHundredths(v);
}

// ------------------------------------------------------------- painting

void TRsRuler::Paint()
{
    TCanvas& c = Canvas();
    // The repaint wipes out the hair line where it paints. Usually that is
    // all of it and the line is gone; when a part stays on screen the line is
    // drawn again over the painted part, so it stays whole and a later move
    // erases it cleanly.
    bool keepHairLine = false;
    if (fHairLine && fHairLinePos != -1) {
        TRect onScreen;
        if (IntersectRect(onScreen, HairLineRect(fHairLinePos), SurfaceRect())) {
            TRect painted;
            IntersectRect(painted, onScreen, c.ClipRect());
            keepHairLine = !(painted == onScreen);
        }
    }

    TRsBaseRuler::Paint();
    if (!keepHairLine) fHairLinePos = -1;
    if (!fFlat) DrawRaisedEdge();
    const int32_t b = BorderWidth();
    const int32_t w = Width();
    const int32_t h = Height();

    SelectNormFont();
    const int32_t t = c.TextHeight(u"0"_s);
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(fScaleColor);
    switch (fDirection) {
    case TRulerDir::rdTop: c.FillRect(Rect(b, h - t - 7, w - b, h - 8)); break;
    case TRulerDir::rdBottom: c.FillRect(Rect(b, 8, w - b, t + 7)); break;
    case TRulerDir::rdLeft:
        c.FillRect(Rect(w - t - 6, b, w - 8, h - b));
        SelectLeftSideFont();
        break;
    case TRulerDir::rdRight:
        c.FillRect(Rect(8, b, t + 6, h - b));
        SelectRightSideFont();
        break;
    }

    CalcAdvance();
    c.SetBkMode(TRANSPARENT);
    PaintScaleTics();
    PaintScaleLabels();
    c.SetBkMode(OPAQUE);
    RestoreOldFont();
    if (keepHairLine) DrawHairLine();
}

void TRsRuler::PaintScaleTics()
{
    TCanvas& c = Canvas();
    c.Pen().SetColor(fTickColor);
    c.Pen().SetStyle(TPenStyle::psSolid);
    c.Pen().SetMode(TPenMode::pmCopy);
    c.Pen().SetWidth(1);
    if (!(fAdvance > 0)) return;

    const int32_t length = ScaleLength();
    const int32_t w = Width();
    const int32_t h = Height();
    const TRect clip = c.ClipRect();
    const int32_t first = IsHorizontal() ? clip.Left : clip.Top;
    const int32_t last = IsHorizontal() ? clip.Right : clip.Bottom;
    for (int64_t i = 0;; ++i) {
        const double p = static_cast<double>(i) * 2 * fAdvance;
        if (!(p < length)) break;
        // A tick that is neither long nor short is not drawn at all.
        const int32_t len = IsMultiple(i, FMyLongTick) ? 8 : IsMultiple(i, FMyShortTick) ? 6 : 0;
        if (len == 0) continue;
        const int32_t x = ScalePos(p);
        if (x < first || x >= last) continue;
        switch (fDirection) {
        case TRulerDir::rdTop:
            c.MoveTo(x, h - 1);
            c.LineTo(x, h - len);
            break;
        case TRulerDir::rdBottom:
            c.MoveTo(x, 0);
            c.LineTo(x, len - 1);
            break;
        case TRulerDir::rdLeft:
            c.MoveTo(w - 1, x);
            c.LineTo(w - len, x);
            break;
        case TRulerDir::rdRight:
            c.MoveTo(0, x);
            c.LineTo(len - 1, x);
            break;
        }
    }
}

void TRsRuler::PaintScaleLabels()
{
    if (!(fAdvance > 0)) return;
    TCanvas& c = Canvas();
    const int32_t length = ScaleLength();
    const int32_t w = Width();
    const int32_t h = Height();
    const TRect clip = c.ClipRect();
    // A label cut off where the ruler leaves the screen (under the corner
    // beside it, or past its end) would read as part of its neighbour's
    // text: only labels shown whole are drawn.
    const TRect shown = VisibleRect();
    const bool across = fDirection == TRulerDir::rdTop || fDirection == TRulerDir::rdBottom;
    // Every long tick but the first: ticks are two label steps apart.
    const int64_t period = 2 * static_cast<int64_t>(FMyLongTick);
    for (int64_t i = 0;; ++i) {
        const double p = static_cast<double>(i) * fAdvance;
        if (!(p < length)) break;
        if (i == 0 || !IsMultiple(i, period)) continue;
        const int32_t x = ScalePos(p);
        const String text = LabelText(i);
        const TSize extent = c.TextExtent(text);
        const int32_t tw = extent.cx;
        const int32_t th = extent.cy;
        TPoint at;
        TRect box; // what the text covers, to leave out labels the paint does not reach
        switch (fDirection) {
        case TRulerDir::rdTop:
            at = Point(x - tw / 2, h - th - 8);
            box = Bounds(at.X, at.Y, tw, th);
            break;
        case TRulerDir::rdBottom:
            at = Point(x - tw / 2, 8);
            box = Bounds(at.X, at.Y, tw, th);
            break;
        case TRulerDir::rdLeft: // reads upward from its bottom end
            at = Point(w - th - 7, x + tw / 2);
            box = Rect(at.X, at.Y - tw, at.X + th, at.Y);
            break;
        case TRulerDir::rdRight: // reads downward, its top edge to the right
            at = Point(th + 7, x - tw / 2);
            box = Rect(at.X - th, at.Y, at.X, at.Y + tw);
            break;
        }
        if (across ? (box.Left < shown.Left || box.Right > shown.Right)
                   : (box.Top < shown.Top || box.Bottom > shown.Bottom)) {
            continue;
        }
        InflateRect(box, 1, 1);
        TRect reached;
        if (!IntersectRect(reached, box, clip)) continue;
        c.TextOut(at.X, at.Y, text);
    }
}

TRect TRsRuler::HairLineRect(int32_t pos)
{
    const int32_t t = NormTextHeight() + 6;
    const int32_t w = Width();
    const int32_t h = Height();
    const bool reverse = fScaleDir == TRulerScaleDir::rsdReverse;
    const bool line = fHairLineStyle == THairLineStyle::hlsLine;
    // The span along the ruler: the pixel before pos, or from the start of
    // the scale up to pos.
    int32_t from = ClampToInt32(int64_t(pos) - 1);
    int32_t to = pos;
    if (!line) {
        from = reverse ? ScaleLength() : 1;
        if (from > to) std::swap(from, to);
    }
    // Across the ruler the line covers the label band exactly, on every side.
    switch (fDirection) {
    case TRulerDir::rdTop: return Rect(from, h - t - 1, to, h - 8);
    case TRulerDir::rdBottom: return Rect(from, 8, to, t + 1);
    case TRulerDir::rdLeft: return Rect(w - t, from, w - 8, to);
    case TRulerDir::rdRight: return Rect(8, from, t, to);
    }
    return {};
}

void TRsRuler::DrawHairLine()
{
    if (!fHairLine || fHairLinePos == -1) return;
    InvertRect(HairLineRect(fHairLinePos));
}

} // namespace mycad
