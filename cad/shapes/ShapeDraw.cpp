#include "cad/shapes/ShapeDraw.h"

#include "cad/geometry/BitmapUtils.h"
#include "cad/geometry/Gradient.h"
#include "cad/shapes/Shape.h"
#include "cad/shapes/ShapeOwner.h"
#include "cad/shapes/TextOut.h"
#include "platform/CanvasFill.h"
#include "platform/Control.h"

#include <algorithm>
#include <cstdio>

namespace mycad {

namespace {

TColor gHotColor = clLime;

constexpr TColor kLockedHotColor = 0x808080;
constexpr TColor kLinkMarkColor = 0xFF0000;
constexpr TColor kHoverColor = 0x0000FF;
constexpr int32_t kLinkHitHalf = 5;

bool IsRotatingTool(TActionTools tool)
{
    return tool == TActionTools::dtRotating || tool == TActionTools::dtRotateSelecting;
}

// The grey a black-and-white printer prints for a colour.
TColor PrinterGrey(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    const auto g = static_cast<uint8_t>((GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb)) / 3);
    return RGB(g, g, g);
}

// The colour a shape's pen or brush colour prints in on canvas: grey on the
// canvas of a black-and-white printer, else the colour itself.
TColor DrawnColour(const TMyShape& shape, const TCanvas& canvas, TColor colour)
{
    const bool grey = shape.Owner() && shape.Owner()->IsPrinterCanvas(canvas) && canvas.GetDeviceCaps(NUMCOLORS) == 2;
    return grey ? PrinterGrey(colour) : colour;
}

void SetCanvasPen(TCanvas& canvas, TColor color, TPenStyle style, int32_t width, TPenMode mode)
{
    TPen& pen = canvas.Pen();
    pen.SetColor(color);
    pen.SetStyle(style);
    pen.SetWidth(width);
    pen.SetMode(mode);
}

void SetHandlePen(TCanvas& canvas) { SetCanvasPen(canvas, clBlack, TPenStyle::psSolid, 1, TPenMode::pmCopy); }

// A box of half side d around p, each edge rounded.
void BoxAround(TCanvas& canvas, const TMyPoint& p, double d, bool round)
{
    const int32_t l = RoundToInt(double(p.X) - d);
    const int32_t t = RoundToInt(double(p.Y) - d);
    const int32_t r = RoundToInt(double(p.X) + d);
    const int32_t b = RoundToInt(double(p.Y) + d);
    if (round) {
        canvas.Ellipse(l, t, r, b);
    } else {
        canvas.Rectangle(l, t, r, b);
    }
}

uint8_t OwnerHotSize(const TMyShape& shape) { return shape.Owner() ? shape.Owner()->HotSize() : 4; }

TRect HitArea(const TPoint& centre, int32_t half)
{
    return {centre.X - half, centre.Y - half, centre.X + half, centre.Y + half};
}

} // namespace

TColor GetHotColor() { return gHotColor; }

void SetHotColor(TColor color) { gHotColor = color; }

void SetDrawHotMode(TCanvas& canvas)
{
    SetHandlePen(canvas);
    canvas.Brush().SetColor(gHotColor);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
}

void SetDrawLockedHotMode(TCanvas& canvas)
{
    SetHandlePen(canvas);
    canvas.Brush().SetColor(kLockedHotColor);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
}

void SetDragResizeRotateShapeMode(TCanvas& canvas)
{
    SetCanvasPen(canvas, clWhite, TPenStyle::psDot, 1, TPenMode::pmXor);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
}

void SetDrawShapeMode(const TMyShape& shape, TCanvas& canvas)
{
    const TPen& shapePen = shape.Pen();
    const TBrush& shapeBrush = shape.Brush();
    // Style first and clear again after the colours, so a brush whose colour
    // is set cannot lose its clear style on any backend.
    canvas.Brush().SetStyle(shapeBrush.Style());
    canvas.Pen().SetColor(DrawnColour(shape, canvas, shapePen.Color()));
    canvas.Brush().SetColor(DrawnColour(shape, canvas, shapeBrush.Color()));
    if (shapeBrush.Style() == TBrushStyle::bsClear) canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Pen().SetStyle(shapePen.Style());
    canvas.Pen().SetWidth(shapePen.Width());
    canvas.Pen().SetMode(TPenMode::pmCopy);
}

void SetDrawTriangleMode(const TMyShape& shape, TCanvas& canvas)
{
    const TPen& shapePen = shape.Pen();
    SetCanvasPen(canvas, shapePen.Color(), shapePen.Style(), shapePen.Width(), TPenMode::pmCopy);
    canvas.Font().Assign(shape.Font());
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(shapePen.Color());
}

void DrawSquare(const TMyShape& shape, TCanvas& canvas, const TMyPoint& p)
{
    if (!shape.HotShow()) return;
    const int32_t hot = OwnerHotSize(shape);
    const double d = shape.HasParentShape() ? hot / 2 : hot;
    if (shape.Locked()) {
        SetDrawLockedHotMode(canvas);
        BoxAround(canvas, p, d, false);
        return;
    }
    SetDrawHotMode(canvas);
    const TActionTools tool = shape.Owner() ? shape.Owner()->ActionTool() : TActionTools::dtSelecting;
    if (!IsRotatingTool(tool)) {
        BoxAround(canvas, p, d, false);
        return;
    }
    if (!shape.RotateEnable()) return;
    if (shape.HasParentShape()) {
        BoxAround(canvas, p, d, false);
    } else {
        BoxAround(canvas, p, hot, true);
    }
}

void DrawDiamond(const TMyShape& shape, TCanvas& canvas, const TMyPoint& p, TColor color)
{
    (void)color;
    if (!shape.ShowsInfoCaption()) return;
    if (shape.Info().isEmpty() && shape.MultiInfo().Count() < 1) return;
    const double h = OwnerHotSize(shape);
    const TArrPoint diamond{
        {RoundToInt(double(p.X) - h), RoundToInt(p.Y)},
        {RoundToInt(p.X), RoundToInt(double(p.Y) - h)},
        {RoundToInt(double(p.X) + h), RoundToInt(p.Y)},
        {RoundToInt(p.X), RoundToInt(double(p.Y) + h)},
    };
    canvas.Polygon(diamond);
}

void DrawLinkSquare(TCanvas& canvas, const TMyPoint& p)
{
    SetDrawHotMode(canvas);
    canvas.Pen().SetMode(TPenMode::pmCopy);
    canvas.Pen().SetColor(kLinkMarkColor);
    const double x = p.X;
    const double y = p.Y;
    canvas.MoveTo(RoundToInt(x - 2.5), RoundToInt(y - 2.5));
    canvas.LineTo(RoundToInt(x + 2.5), RoundToInt(y + 2.5));
    canvas.MoveTo(RoundToInt(x + 2.5), RoundToInt(y - 2.5));
    canvas.LineTo(RoundToInt(x - 2.5), RoundToInt(y + 2.5));
}

void DrawLinkHot(const TMyShape& shape, TCanvas& canvas)
{
    const TShapeOwner* owner = shape.Owner();
    if (!owner || !owner->HotShow() || !owner->ShowHotLink()) return;
    for (int32_t i = 0; i < shape.GetLinkPointsCount(); ++i) DrawLinkSquare(canvas, shape.GetLinkPointInZoom(i));
}

void LineDraw(const TMyShape& shape, TCanvas& canvas, const TMyPoint& a, const TMyPoint& b)
{
    (void)shape;
    canvas.MoveTo(RoundToInt(a.X), RoundToInt(a.Y));
    canvas.LineTo(RoundToInt(b.X), RoundToInt(b.Y));
}

int32_t MeasurePixelsPerInch() { return TScreen::PixelsPerInch(); }

String AreaText(const TMyShape& shape, double area)
{
    const TShapeOwner* owner = shape.Owner();
    const double r = owner ? owner->Ratio() : 1.0;
    const TUnits unit = owner ? owner->TheUNIT() : TUnits::pixel;
    const double ppi = MeasurePixelsPerInch();
    const double squareInches = r * r / (ppi * ppi) * area;
    const double squareMm = squareInches * 645.16;
    double value = 0.0;
    String suffix;
    switch (unit) {
    case TUnits::pixel: value = r * r * area; suffix = u"pixel(s)2"_s; break;
    case TUnits::mm: value = squareMm; suffix = u"mm2"_s; break;
    case TUnits::cm: value = squareMm / 100.0; suffix = u"cm2"_s; break;
    case TUnits::dm: value = squareMm / 10000.0; suffix = u"dm2"_s; break;
    case TUnits::m: value = squareMm / 1000000.0; suffix = u"m2"_s; break;
    case TUnits::inch: value = squareInches; suffix = u"inch2"_s; break;
    }
    return u"Area="_s + FormatMeasure(value, 2) + suffix;
}

void DrawPointHandles(TMyShape& shape, TCanvas& canvas)
{
    if (shape.Owner() && !shape.Owner()->HotShow()) return;
    for (int32_t i = 0; i < shape.GetPointsCount(); ++i) DrawSquare(shape, canvas, shape.GetPointInZoom(i));
    DrawDiamond(shape, canvas, shape.ZoomedValuePt(shape.TextOutPoint), GetHotColor());
}

bool DropDoubleClickCopy(TMyShape& shape, int32_t fewest)
{
    const int32_t count = shape.GetPointsCount();
    if (count <= fewest) return false;
    const TMyPoint last = shape.GetPointInZoom(count - 1);
    const TMyPoint before = shape.GetPointInZoom(count - 2);
    if (last.X != before.X || last.Y != before.Y) return false;
    shape.ThePoints.pop_back();
    return true;
}

TArrMyPoint ZoomedPointsOf(const TMyShape& shape)
{
    TArrMyPoint zoomed;
    zoomed.reserve(shape.ThePoints.size());
    for (int32_t i = 0; i < shape.GetPointsCount(); ++i) zoomed.push_back(shape.GetPointInZoom(i));
    return zoomed;
}

TArrPoint TakeFlattenedPath(TCanvas& canvas)
{
    canvas.EndPath();
    canvas.FlattenPath();
    TArrPoint points;
    TArrByte types;
    canvas.GetPath(points, types);
    canvas.AbortPath();
    return points;
}

int32_t PointHandleAt(TMyShape& shape, const TPoint& p)
{
    shape.SelectedHotId = -1;
    const int32_t hot = shape.Owner() ? shape.Owner()->HotSize() : 4;
    for (int32_t i = 0; i < shape.GetPointsCount(); ++i) {
        const TPoint at = MyPtToPt(shape.GetPointInZoom(i));
        if (PtInRect({at.X - hot, at.Y - hot, at.X + hot, at.Y + hot}, p)) shape.SelectedHotId = i;
    }
    return shape.SelectedHotId;
}

double DeviceLengthInUnit(double pixels, TUnits unit, double ratio, double zoom)
{
    const double r = ratio / zoom;
    const double inches = pixels / MeasurePixelsPerInch();
    switch (unit) {
    case TUnits::pixel: return r * inches * MeasurePixelsPerInch();
    case TUnits::mm: return r * inches * 25.4;
    case TUnits::cm: return r * inches * 25.4 / 10.0;
    case TUnits::dm: return r * inches * 25.4 / 100.0;
    case TUnits::m: return r * inches * 25.4 / 1000.0;
    case TUnits::inch: return r * inches;
    }
    return 0.0;
}

String UnitSuffix(TUnits unit)
{
    switch (unit) {
    case TUnits::pixel: return u" pixel(s)"_s;
    case TUnits::mm: return u" mm"_s;
    case TUnits::cm: return u" cm"_s;
    case TUnits::dm: return u" dm"_s;
    case TUnits::m: return u" m"_s;
    case TUnits::inch: return u" in"_s;
    }
    return String();
}

String FormatMeasure(double value, int32_t decimals)
{
    // The C library formats with the user's decimal separator (the
    // application runs under the user's numeric locale).
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%9.*f", static_cast<int>(decimals), value);
    return String::fromLocal8Bit(buffer);
}

// ---- TMyShape: the base versions of the drawing operations.

void TMyShape::Draging(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    (void)canvas;
    (void)from;
    (void)to;
}

void TMyShape::DrawHot(TCanvas& canvas) { (void)canvas; }

void TMyShape::Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    (void)canvas;
    (void)from;
    (void)to;
}

void TMyShape::Rotating(TCanvas& canvas, const TMyPoint& centre, double angle)
{
    (void)canvas;
    (void)centre;
    (void)angle;
}

void TMyShape::Sizing(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    (void)canvas;
    (void)from;
    (void)to;
}

void TMyShape::Draw(TCanvas& canvas) { DrawInfo(canvas); }

TCursor TMyShape::GetMouseCursor(int32_t x, int32_t y)
{
    (void)x;
    (void)y;
    return TCursor::crCross;
}

int32_t TMyShape::InWhichHot(const TPoint& p)
{
    (void)p;
    return -1;
}

bool TMyShape::IsClickedMe(TCanvas& canvas, const TPoint& p)
{
    (void)canvas;
    (void)p;
    return false;
}

String TMyShape::GetLengthByUnit(const TPoint& from, const TPoint& to)
{
    const double ratio = FOwner ? FOwner->Ratio() : 1.0;
    const TUnits unit = FOwner ? FOwner->TheUNIT() : TUnits::pixel;
    const double length = GetLengthinPixel(PtToMyPt(from), PtToMyPt(to));
    const double value = DeviceLengthInUnit(length, unit, ratio, Zoom());
    return FormatMeasure(value, unit == TUnits::pixel ? 0 : 2) + UnitSuffix(unit);
}

// ---- Filling and outlines.

void TMyShape::SetPS(TCanvas& canvas, TPenStyle style, TColor color, int32_t width, TPen& newPen,
                     TPen& previousPen) const
{
    previousPen.Assign(canvas.Pen());
    newPen.Assign(canvas.Pen());
    newPen.SetStyle(style);
    newPen.SetColor(DrawnColour(*this, canvas, color));
    // A printer has far more dots per document unit than the screen, so the
    // pen grows with the zoom the page is printed at.
    if (FOwner && FOwner->IsPrinterCanvas(canvas)) width = std::max(1, RoundToInt(double(width) * Zoom()));
    newPen.SetWidth(width);
    canvas.Pen().Assign(newPen);
}

void TMyShape::ReleasePS(TCanvas& canvas, const TPen& previousPen) { canvas.Pen().Assign(previousPen); }

void TMyShape::DrawGradient() { BuildGradient(FColorBegin, FColorEnd, FGradientStyle, GradBmp); }

void TMyShape::PowerDrawShape(TCanvas& canvas, const TArrPoint& points, int32_t n, bool fill)
{
    n = std::clamp<int32_t>(n, 0, static_cast<int32_t>(points.size()));
    // The shape's own brush, in grey on a black-and-white printer.
    const TBrush* brush = &FBrush;
    TBrush greyBrush;
    if (fill && DrawnColour(*this, canvas, FBrush.Color()) != FBrush.Color()) {
        greyBrush.Assign(FBrush);
        greyBrush.SetColor(DrawnColour(*this, canvas, FBrush.Color()));
        brush = &greyBrush;
    }
    if (fill && n > 0) {
        if (FGradientStyle == TGradientStyle::gsNone || GradBmp.Empty()) {
            // The region's pixels without making the region.
            FillPolygonRgn(canvas, points, static_cast<size_t>(n), WINDING, *brush);
        } else {
            const TArrPoint outline(points.begin(), points.begin() + n);
            const TRegion region = TRegion::CreatePolygonRgn(outline, WINDING);
            const int32_t w = RoundToInt(double(GetMyWidth()) * Zoom());
            const int32_t h = RoundToInt(double(GetMyHeight()) * Zoom());
            if (w > 0 && h > 0) {
                std::unique_ptr<TBitmap> turned = RotateBitmap(GradBmp, -double(FAngle), w, h, 0, 0);
                const TPoint at = ZoomedRounded(GradientOrigin());
                canvas.SelectClipRgn(&region);
                if (turned) canvas.Draw(at.X, at.Y, *turned);
            }
            canvas.FillRgn(region, *brush);
        }
        // A filled shape leaves the canvas without a clip region.
        canvas.SelectClipRgn(nullptr);
    }
    TPen newPen;
    TPen previousPen;
    SetPS(canvas, FPen.Style(), FPen.Color(), FPen.Width(), newPen, previousPen);
    canvas.BeginPath();
    canvas.Polygon(points);
    canvas.EndPath();
    canvas.StrokePath();
    ReleasePS(canvas, previousPen);
}

// ---- Info texts.

void TMyShape::DrawInfo(TCanvas& canvas)
{
    if (!FCaptionShow) return;
    const double z = Zoom();
    const double tx = RoundToInt(double(TextOutPoint.X) * z);
    const double ty = RoundToInt(double(TextOutPoint.Y) * z);
    if (!FInfo.isEmpty()) {
        const TSize size = GetTextWidthHeight(canvas, FInfo, FFont, 0.0, z);
        ::mycad::MyLogTextOut(canvas, RoundToInt(tx - size.cx / 2.0), RoundToInt(ty - size.cy / 2.0), FInfo, FFont,
                              0.0, z);
        return;
    }
    const int32_t count = FMultiInfo.Count();
    if (count < 1) return;
    std::vector<TSize> sizes;
    int32_t widest = 0;
    int32_t total = 0;
    for (int32_t i = 0; i < count; ++i) {
        sizes.push_back(GetTextWidthHeight(canvas, FMultiInfo[i], FFont, 0.0, z));
        widest = std::max(widest, sizes.back().cx);
        total += sizes.back().cy;
    }
    // Every line advances by the height of the last one.
    const int32_t step = sizes.back().cy;
    const int32_t x0 = RoundToInt(tx - widest / 2.0);
    int32_t y = RoundToInt(ty - total / 2.0);
    for (int32_t i = 0; i < count; ++i) {
        const int32_t w = sizes[static_cast<size_t>(i)].cx;
        int32_t x = x0;
        if (FMultiInfoAlignment == TAlignment::taRightJustify) x = x0 + (widest - w);
        if (FMultiInfoAlignment == TAlignment::taCenter) x = x0 + RoundToInt((widest - w) / 2.0);
        ::mycad::MyLogTextOut(canvas, x, y, FMultiInfo[i], FFont, 0.0, z);
        y += step;
    }
}

void TMyShape::MyLogTextOut(TCanvas& canvas, int32_t x, int32_t y, const String& text, const TFont& font,
                            double angle, double zoom) const
{
    ::mycad::MyLogTextOut(canvas, x, y, text, font, angle, zoom);
}

TSize TMyShape::GetTextWidthHeight(TCanvas& canvas, const String& text, const TFont& font, double angle,
                                   double zoom) const
{
    return ::mycad::GetTextWidthHeight(canvas, text, font, angle, zoom);
}

// ---- Hit tests and the hover highlight.

bool TMyShape::InTextPointHot(const TPoint& p) const
{
    return PtInRect(HitArea(ZoomedRounded(TextOutPoint), OwnerHotSize(*this)), p);
}

void TMyShape::DrawHotLinkSquare(TCanvas& canvas, const TMyPoint& p)
{
    if (FLocked) return;
    SetDrawHotMode(canvas);
    canvas.Pen().SetWidth(2);
    canvas.Pen().SetColor(kHoverColor);
    canvas.Pen().SetMode(TPenMode::pmNotXor);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    BoxAround(canvas, p, kLinkHitHalf, false);
}

TMyPoint TMyShape::HoverPosition(int32_t id) const
{
    return FHoverOnLinkPoints ? GetLinkPointInZoom(id) : GetPointInZoom(id);
}

// The owner remembers one highlighted shape and index. The highlight moves
// only when the shape, the index or the kind of point changes, and the old
// one is erased at the place where it was drawn (a link point or a point).
int32_t TMyShape::UpdateHover(int32_t found, bool onLinkPoints)
{
    if (!FOwner) return found;
    TMyShape* oldShape = FOwner->HotLinkShape();
    const int32_t oldId = FOwner->HotLinkId();
    const bool same = found > -1 ? (oldShape == this && oldId == found && FHoverOnLinkPoints == onLinkPoints)
                                 : oldId == -1;
    if (same) return found;
    TCanvas* canvas = FOwner->ControlCanvas();
    if (found > -1 && canvas) {
        const TMyPoint p = onLinkPoints ? GetLinkPointInZoom(found) : GetPointInZoom(found);
        DrawHotLinkSquare(*canvas, p);
    }
    if (oldId > -1 && oldShape && canvas) oldShape->DrawHotLinkSquare(*canvas, oldShape->HoverPosition(oldId));
    if (found > -1) {
        FHoverOnLinkPoints = onLinkPoints;
        FOwner->SetHotLink(this, found);
    } else {
        FOwner->SetHotLink(nullptr, -1);
    }
    return found;
}

int32_t TMyShape::InWhichLinkHot(const TMyPoint& p)
{
    const TPoint at = MyPtToPt(p);
    int32_t found = -1;
    for (int32_t i = 0; i < GetLinkPointsCount() && found < 0; ++i) {
        if (PtInRect(HitArea(ZoomedRounded(LinkPoints[static_cast<size_t>(i)]), kLinkHitHalf), at)) found = i;
    }
    return UpdateHover(found, true);
}

int32_t TMyShape::InWhichPointHot(const TMyPoint& p)
{
    const TPoint at = MyPtToPt(p);
    const int32_t hot = OwnerHotSize(*this);
    const int32_t last = GetPointsCount() - 1;
    int32_t found = -1;
    if (last >= 0 && PtInRect(HitArea(ZoomedRounded(ThePoints.front()), hot), at)) {
        found = 0;
    } else if (last >= 0 && PtInRect(HitArea(ZoomedRounded(ThePoints.back()), hot), at)) {
        found = last;
    }
    return UpdateHover(found, false);
}

} // namespace mycad
