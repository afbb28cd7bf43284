// TMyCAD: what the host reads off the canvas while the mouse moves: points in
// its own coordinate system, the coordinate and value labels, the shape
// under the mouse (enter and leave events, its caption as the hint), and
// diagnostic numbers written on the control.
#include "cad/canvas/MyCAD.h"

namespace mycad {

TPoint TMyCAD::GetPointByMode(const TPoint& p) const
{
    const int32_t w = Width();
    const int32_t h = Height();
    switch (FXYMode) {
    case TXYMode::Mode0: return p;
    case TXYMode::Mode1: return {p.X, h - p.Y};
    case TXYMode::Mode2: return {w - p.X, h - p.Y};
    case TXYMode::Mode3: return {w - p.X, p.Y};
    }
    return p;
}

TMyPoint TMyCAD::GetMyPointByMode(const TMyPoint& p) const
{
    const double w = Width();
    const double h = Height();
    auto f = [](double v) { return static_cast<float>(v); };
    switch (FXYMode) {
    case TXYMode::Mode0: return p;
    case TXYMode::Mode1: return {p.X, f(h - double(p.Y))};
    case TXYMode::Mode2: return {f(w - double(p.X)), f(h - double(p.Y))};
    case TXYMode::Mode3: return {f(w - double(p.X)), p.Y};
    }
    return p;
}

void TMyCAD::UpdateLabelXY(int32_t x, int32_t y)
{
    if (!FLabelXY) return;
    const TPoint p = GetPointByMode({x, y});
    FLabelXY->SetCaption(u"("_s + String::number(p.X) + u","_s + String::number(p.Y) +
                         u")"_s);
}

void TMyCAD::UpdateLabelValue(const String& text)
{
    if (FLabelValue) FLabelValue->SetCaption(text);
}

void TMyCAD::ShowHintEnterLeaveShape(TMyShape* shape, bool entering, const TPoint& p)
{
    (void)p;
    // The previous shape is read before either handler runs, so a handler
    // that moves the mouse state cannot change which shape is left.
    TMyShape* previous = mAShape;
    if (entering && shape && shape != previous && OnMouseEnterShape) OnMouseEnterShape(shape);
    if (previous && previous != shape && OnMouseLeaveShape) OnMouseLeaveShape(previous);
    mAShape = shape;
    if (shape && ShowHint() && Hint() != shape->Caption()) {
        SetHint(shape->Caption());
        ActivateHint(shape->Caption());
    }
}

void TMyCAD::DebugVar(int32_t x, int32_t y, int32_t value)
{
    TCanvas& c = Canvas();
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(clGray);
    c.Pen().SetColor(clRed);
    c.TextOut(x, y, u"["_s + String::number(value) + u"]"_s);
}

void TMyCAD::DebugVarf(int32_t x, int32_t y, double value)
{
    TCanvas& c = Canvas();
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(clGray);
    c.Pen().SetColor(clRed);
    c.TextOut(x, y, u"["_s + String::number(value, 'g', 15) + u"]"_s);
}

} // namespace mycad
