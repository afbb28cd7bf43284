#include "cad/shapes/RuleLine.h"

#include "cad/shapes/ShapeDraw.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace mycad {

namespace {

// Half the length of a tick, in device pixels.
constexpr double kTickHalf = 10.0;
// The gap between the line and the bottom of its text, in device pixels.
constexpr double kTextGap = 3.0;

} // namespace

TMyRuleLine::TMyRuleLine(TShapeOwner* owner) : TMyLine(owner)
{
    FFont.SetSize(8);
    FArrowAngle = 10;
    FArrowLength = 20;
    FArrowStyle = TArrowStyle::ADouble;
}

String TMyRuleLine::ClassName() const { return u"TMyRuleLine"_s; }

void TMyRuleLine::Assign(const TMyShape& source)
{
    TMyLine::Assign(source);
    if (&source == this) return;
    if (const auto* rule = dynamic_cast<const TMyRuleLine*>(&source)) {
        FUserInfo = rule->FUserInfo;
        // Copies (undo steps, pasted shapes) would otherwise come back with
        // the length shown and ticks drawn whatever the original showed.
        FShowUserInfo = rule->FShowUserInfo;
        FTickStyle = rule->FTickStyle;
    }
}

void TMyRuleLine::SizeChangeValue(const TMyPoint& from, const TMyPoint& to)
{
    TMyLine::SizeChangeValue(from, to);
    if (GetPointsCount() < 2) return;
    // Measured between the zoomed ends, as Draw measures: the length text
    // divides by the zoom, so document points would read short at zoom > 1.
    const TPoint a = MyPtToPt(GetPointInZoom(0));
    const TPoint b = MyPtToPt(GetPointInZoom(1));
    const double dx = double(b.X) - a.X;
    const double dy = double(b.Y) - a.Y;
    FAngle = static_cast<float>(dx == 0.0 ? std::numbers::pi / 2.0 : std::atan(dy / dx));
    FInfo = GetLengthByUnit(a, b).trimmed();
}

void TMyRuleLine::Draw(TCanvas& canvas)
{
    SetDrawShapeMode(*this, canvas);
    TPen newPen;
    TPen previousPen;
    SetPS(canvas, FPen.Style(), FPen.Color(), FPen.Width(), newPen, previousPen);
    for (int32_t i = 0; i + 1 < GetPointsCount(); ++i) LineDraw(*this, canvas, GetPointInZoom(i), GetPointInZoom(i + 1));
    SetDrawTriangleMode(*this, canvas);
    DrawArrowHeads(canvas);
    if (GetPointsCount() >= 2) DrawMeasure(canvas);
    ReleasePS(canvas, previousPen);
}

void TMyRuleLine::DrawMeasure(TCanvas& canvas)
{
    const TMyPoint p0 = GetPointInZoom(0);
    const TMyPoint p1 = GetPointInZoom(1);
    const double t = GetSlopeAngle(p1, p0);
    FAngle = static_cast<float>(t);
    // Text pointing left would stand on its head: it is turned half a turn.
    const double pi = std::numbers::pi;
    const auto upright = static_cast<float>(t > pi / 2.0 && t < 3.0 * pi / 2.0 ? t + pi : t);
    const TMyPoint c = GetCenterPointInZoom();
    // The line laid horizontally about the centre.
    const TMyPoint q0 = RotateAPoint(p0, c, -upright);
    const TMyPoint q1 = RotateAPoint(p1, c, -upright);
    auto turnedBack = [&c, upright](double x, double y) {
        const TPoint flat = MyPtToPt({static_cast<float>(x), static_cast<float>(y)});
        return MyPtToPt(RotateAPoint(PtToMyPt(flat), c, upright));
    };
    if (FTickStyle == TTickStyle::tsLine) {
        for (const TMyPoint& q : {q0, q1}) {
            const TPoint a = turnedBack(q.X, q.Y - kTickHalf);
            const TPoint b = turnedBack(q.X, q.Y + kTickHalf);
            canvas.MoveTo(a.X, a.Y);
            canvas.LineTo(b.X, b.Y);
        }
    }
    if (!FShowUserInfo) FInfo = GetLengthByUnit(MyPtToPt(q0), MyPtToPt(q1));
    const String text = FShowUserInfo ? FUserInfo : FInfo;
    if (text.isEmpty()) return;
    const double zoom = Zoom();
    const double length = GetLengthinPixel(q0, q1);
    const TSize size = GetTextWidthHeight(canvas, text, FFont, 0.0, zoom);
    const TMyPoint flatAnchor{static_cast<float>(std::min(q0.X, q1.X) + (length - size.cx) / 2.0),
                              static_cast<float>(q0.Y - size.cy - kTextGap)};
    const TPoint anchor = MyPtToPt(RotateAPoint(flatAnchor, c, upright));
    MyLogTextOut(canvas, anchor.X, anchor.Y, text, FFont, upright, zoom);
}

TPaintArea TMyRuleLine::PaintArea(double penWidth, double zoom) const
{
    (void)penWidth;
    (void)zoom;
    return {};
}

bool TMyRuleLine::JoinsLines() const { return false; }
bool TMyRuleLine::OffersLineEnds() const { return false; }

} // namespace mycad
