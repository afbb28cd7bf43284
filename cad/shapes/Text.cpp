#include "cad/shapes/Text.h"

#include "cad/shapes/ShapeDraw.h"
#include "cad/shapes/TextOut.h"

#include <numbers>
#include <utility>

namespace mycad {

namespace {

constexpr double kPi = std::numbers::pi;

TMyPoint Turned(double x, double y, const TMyPoint& centre, float angle)
{
    return RotateAPoint({static_cast<float>(x), static_cast<float>(y)}, centre, angle);
}

} // namespace

TMyText::TMyText(TShapeOwner* owner) : TMyRectangle(owner) {}

String TMyText::ClassName() const { return u"TMyText"_s; }

void TMyText::Assign(const TMyShape& source)
{
    TMyRectangle::Assign(source);
    CopyTextFields(source);
}

void TMyText::CopyTextFields(const TMyShape& source)
{
    if (&source == this) return;
    if (const auto* text = dynamic_cast<const TMyText*>(&source)) {
        FIsBorder = text->FIsBorder;
        FIsSolid = text->FIsSolid;
        FLines.Assign(text->FLines);
        FHAlignment = text->FHAlignment;
        FVAlignment = text->FVAlignment;
        // Not stored in files, but a copy that dropped them would change the
        // look of an undone or pasted box.
        FCharacterSpace = text->FCharacterSpace;
        FWordWrap = text->FWordWrap;
    }
}

String TMyText::GetInfo() { return FInfo; }

TStringList TMyText::ShownLines(TCanvas& canvas, int32_t width, double zoom) const
{
    if (!FWordWrap) return FLines;
    const auto wider = [&](const String& s) {
        return GetTextWidthHeight(canvas, s, FFont, FAngle, zoom).cx > width;
    };
    TStringList shown;
    for (int32_t i = 0; i < FLines.Count(); ++i) {
        const String line = FLines[i];
        if (!wider(line)) {
            shown.Add(line);
            continue;
        }
        // Grow a head one character at a time; when it no longer fits, all
        // but its last character make a line and the rest starts over. A
        // single character that does not fit leaves an empty line and is
        // then taken on its own, so every round shortens the rest or grows
        // the head: the walk ends.
        String rest = line;
        String head;
        int64_t k = 1;
        while (k <= rest.size()) {
            head = rest.left(k);
            if (wider(head)) {
                shown.Add(rest.left(k - 1));
                rest = rest.mid(k - 1);
                k = head.size() > 1 ? 1 : k + 1;
            } else {
                ++k;
            }
        }
        shown.Add(head);
    }
    return shown;
}

void TMyText::OutputText(TCanvas& canvas, bool plain)
{
    const double zoom = Zoom();
    // A member of a group turns about its group's centre, as the group does.
    const TMyPoint centre = (HasParentShape() ? GetRootShape() : this)->GetCenterPointInZoom();
    // The top-left corner of the box as it lies before turning.
    const TMyPoint origin = RotateAPoint(ZoomedValuePt(ThePoints[0]), centre, -FAngle);
    const int32_t W = RoundToInt(double(GetMyWidth()) * zoom);
    const int32_t H = RoundToInt(double(GetMyHeight()) * zoom);

    if (FLines.Count() > 0) {
        const TStringList shown = ShownLines(canvas, W, zoom);
        const int32_t n = shown.Count();
        for (int32_t i = 0; i < n; ++i) {
            const String line = shown[i];
            const TSize size = GetTextWidthHeight(canvas, line, FFont, FAngle, zoom);
            double x = origin.X;
            if (FHAlignment == TAlignment::taRightJustify) x = double(origin.X) + W - size.cx;
            if (FHAlignment == TAlignment::taCenter) x = double(origin.X) + (W - size.cx) / 2.0;
            // Each line is placed by its own height.
            double y = double(origin.Y) + double(size.cy) * i;
            if (FVAlignment == TVAlignment::vaMiddle) y = double(origin.Y) + (H - double(size.cy) * n) / 2.0 + double(size.cy) * i;
            if (FVAlignment == TVAlignment::vaBottom) y = double(origin.Y) + H - double(size.cy) * (n - i);
            const TMyPoint p = Turned(x, y, centre, FAngle);
            MyLogTextOut(canvas, RoundToInt(p.X), RoundToInt(p.Y), line, FFont, FAngle, zoom);
        }
        return;
    }

    const int32_t extra = canvas.TextCharacterExtra();
    if (!plain) canvas.SetTextCharacterExtra(FCharacterSpace);
    const TSize size = GetTextWidthHeight(canvas, FInfo, FFont, FAngle, zoom);
    const TMyPoint p = Turned(double(origin.X) + (W - size.cx) / 2.0, double(origin.Y) + (H - size.cy) / 2.0, centre,
                              FAngle);
    if (plain || (!FIsFlipHorz && !FIsFlipVert)) {
        MyLogTextOut(canvas, RoundToInt(p.X), RoundToInt(p.Y), FInfo, FFont, FAngle, zoom);
    } else {
        OutputMirroredInfo(canvas, p, size);
    }
    canvas.SetTextCharacterExtra(extra);
}

void TMyText::OutputMirroredInfo(TCanvas& canvas, const TMyPoint& p, const TSize& size)
{
    const TXForm saved = canvas.GetWorldTransform();
    const int32_t graphicsMode = canvas.GraphicsMode();
    canvas.SetGraphicsMode(GM_ADVANCED);
    // In the map mode with y upward the text's glyphs stand on logical +y,
    // so the transforms below mirror the glyphs in place: a vertical flip
    // of them for a horizontally flipped box, a horizontal one otherwise.
    // The map mode also counts hundredths of an inch; the transform is
    // scaled back so that a logical unit stays one device pixel and the text
    // stays inside its box on any device.
    canvas.SetMapMode(MM_LOENGLISH);
    const float k = static_cast<float>(100.0 / canvas.PixelsPerInch());
    int32_t x = RoundToInt(p.X);
    int32_t y = RoundToInt(p.Y);
    TXForm xf;
    if (FIsFlipHorz) {
        xf = {k, 0, 0, -k, 0, -k * static_cast<float>(size.cy)};
    } else {
        xf = {-k, 0, 0, k, k * static_cast<float>(2.0 * p.X + size.cx), 0};
        y = -y;
    }
    canvas.SetWorldTransform(xf);
    MyLogTextOut(canvas, x, y, FInfo, FFont, FAngle, Zoom());
    canvas.SetWorldTransform(saved);
    canvas.SetMapMode(MM_TEXT);
    canvas.SetGraphicsMode(graphicsMode);
}

void TMyText::Draw(TCanvas& canvas)
{
    if (ThePoints.size() < 4) return;
    // The rectangle's box, without an info text: a text box's Info is its text.
    if (FIsBorder) TMyRectangle::Draw(canvas);
    SetDrawShapeMode(*this, canvas);
    if (!FIsSolid) canvas.BeginPath();
    OutputText(canvas, false);
    if (!FIsSolid) {
        // The glyph outlines with the shape's pen: hollow letters.
        canvas.EndPath();
        canvas.StrokePath();
    }
}

void TMyText::GetPathPoints(TCanvas& canvas, TArrPoint& points, TArrByte& types)
{
    points.clear();
    types.clear();
    if (ThePoints.size() < 4) return;
    canvas.BeginPath();
    OutputText(canvas, true);
    canvas.EndPath();
    canvas.FlattenPath();
    canvas.GetPath(points, types);
    canvas.AbortPath();
}

void TMyText::FlipHoriz()
{
    TMyRectangle::FlipHoriz();
    if (ThePoints.size() >= 4) {
        std::swap(ThePoints[0], ThePoints[1]);
        std::swap(ThePoints[2], ThePoints[3]);
    }
    if (FAngle != 0.0f) {
        FAngle = static_cast<float>(double(FAngle) + kPi);
        RecaclinRad(FAngle);
    }
}

void TMyText::FlipVert()
{
    TMyRectangle::FlipVert();
    if (ThePoints.size() >= 4) {
        std::swap(ThePoints[0], ThePoints[3]);
        std::swap(ThePoints[1], ThePoints[2]);
    }
    if (FAngle != 0.0f) {
        FAngle = static_cast<float>(double(FAngle) + 2.0 * kPi);
        RecaclinRad(FAngle);
    }
}

void TMyText::reCaclpoints(TCanvas& canvas) { ResizeToInfo(canvas, FAngle); }

void TMyText::reCaclpoints3(TCanvas& canvas, double angle) { ResizeToInfo(canvas, angle); }

void TMyText::ResizeToInfo(TCanvas& canvas, double angle)
{
    if (ThePoints.empty()) return;
    ThePoints.resize(4, ThePoints[0]);
    if (angle != 0.0) RotateChangeValueByAngle(GetCenterPoint(), -angle);
    const TSize size = GetTextWidthHeight(canvas, FInfo, FFont, angle, 1.0);
    const TMyPoint p0 = ThePoints[0];
    ThePoints[1] = {static_cast<float>(double(p0.X) + size.cx), p0.Y};
    ThePoints[2] = {ThePoints[1].X, static_cast<float>(double(ThePoints[1].Y) + size.cy)};
    ThePoints[3] = {p0.X, ThePoints[2].Y};
    if (angle != 0.0) RotateChangeValueByAngle(GetCenterPoint(), angle);
    CenterPoint = ComputeCenterPoint(4);
}

TPaintArea TMyText::PaintArea(double penWidth, double zoom) const
{
    (void)penWidth;
    (void)zoom;
    return {};
}

bool TMyText::ShowsInfoCaption() const { return false; }

void TMyText::TakePointsByCode(const TArrMyPoint& zoomed, const String& info)
{
    SetInfo(info);
    TMyRectangle::TakePointsByCode(zoomed, info);
}

} // namespace mycad
