#include "cad/shapes/PolyLine.h"

#include "cad/shapes/ShapeDraw.h"
#include "cad/shapes/ShapeOwner.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace mycad {

namespace {

// Rasters larger than this would cost more memory than an area readout is
// worth; such polygons are measured exactly from their corners instead.
constexpr int64_t kMaxAreaRasterPixels = int64_t(4096) * 4096;

bool Within(const TPoint& a, const TPoint& b, int32_t reach)
{
    return std::abs(int64_t(a.X) - b.X) < reach && std::abs(int64_t(a.Y) - b.Y) < reach;
}

TArrPoint ZoomedRoundedPoints(const TMyShape& shape)
{
    TArrPoint points;
    points.reserve(shape.ThePoints.size());
    for (int32_t i = 0; i < shape.GetPointsCount(); ++i) points.push_back(MyPtToPt(shape.GetPointInZoom(i)));
    return points;
}

void OutlineRect(TCanvas& canvas, const TRect& r)
{
    canvas.MoveTo(r.Left, r.Top);
    canvas.LineTo(r.Right, r.Top);
    canvas.LineTo(r.Right, r.Bottom);
    canvas.LineTo(r.Left, r.Bottom);
    canvas.LineTo(r.Left, r.Top);
}

} // namespace

// ---- TMyPolyLine

TMyPolyLine::TMyPolyLine(TShapeOwner* owner) : TMyLine(owner) { FArrowStyle = TArrowStyle::ANone; }

String TMyPolyLine::ClassName() const { return u"TMyPolyLine"_s; }

bool TMyPolyLine::IsDrawingFinished(TMouseButton button, const TPoint& p)
{
    (void)button;
    (void)p;
    return DropDoubleClickCopy(*this, 2);
}

TShiftConstraint TMyPolyLine::ShiftConstraint(bool sizing) const
{
    return sizing ? TShiftConstraint::None : TShiftConstraint::HorzVert;
}

TVertexEditing TMyPolyLine::VertexEditing() const { return TVertexEditing::OpenChain; }
bool TMyPolyLine::JoinsLines() const { return false; }
String TMyPolyLine::GetInfo() { return String(); }

void TMyPolyLine::AppendPoint(const TPoint& p)
{
    TPoint q = p;
    if (FOwner) {
        const int32_t w = FOwner->ControlWidth();
        const int32_t h = FOwner->ControlHeight();
        switch (FOwner->XYMode()) {
        case TXYMode::Mode0: break;
        case TXYMode::Mode1: q.Y = h - q.Y; break;
        case TXYMode::Mode2:
            q.X = w - q.X;
            q.Y = h - q.Y;
            break;
        case TXYMode::Mode3: q.X = w - q.X; break;
        }
    }
    AddPoint(PtToMyPt(q));
}

// ---- TMyPolygon

String TMyPolygon::ClassName() const { return u"TMyPolygon"_s; }

bool TMyPolygon::IsDrawingFinished(TMouseButton button, const TPoint& p)
{
    (void)button;
    const int32_t count = GetPointsCount();
    if (count <= 3) return false;
    const int32_t hot = FOwner ? FOwner->HotSize() : 4;
    const bool closes = Within(p, MyPtToPt(GetPointInZoom(0)), hot) ||
                        Within(p, MyPtToPt(GetPointInZoom(count - 2)), hot);
    if (closes) ThePoints.back() = ThePoints.front();
    return closes;
}

TPaintArea TMyPolygon::PaintArea(double penWidth, double zoom) const
{
    (void)penWidth;
    (void)zoom;
    return {};
}

TVertexEditing TMyPolygon::VertexEditing() const { return TVertexEditing::ClosedChain; }
bool TMyPolygon::OffersLineEnds() const { return false; }

TMyPoint TMyPolygon::GradientOrigin() const
{
    // The pattern covers the polygon's own unrotated box, whose corners
    // turned back give where it starts.
    TArrMyPoint unturned;
    for (const TMyPoint& p : ThePoints) unturned.push_back(RotateAPoint(p, CenterPoint, -FAngle));
    const TMyRect box = GetPointsLTRB(unturned);
    const TArrMyPoint corners{
        RotateAPoint({box.Left, box.Top}, CenterPoint, FAngle),
        RotateAPoint({box.Right, box.Top}, CenterPoint, FAngle),
        RotateAPoint({box.Right, box.Bottom}, CenterPoint, FAngle),
        RotateAPoint({box.Left, box.Bottom}, CenterPoint, FAngle),
    };
    const TMyRect turnedBox = GetPointsLTRB(corners);
    return {turnedBox.Left, turnedBox.Top};
}

void TMyPolygon::TakePointsByCode(const TArrMyPoint& zoomed, const String& info)
{
    TMyPolyLine::TakePointsByCode(zoomed, info);
    if (!zoomed.empty()) AddPoint(zoomed.front());
}

void TMyPolygon::Draw(TCanvas& canvas)
{
    SetDrawShapeMode(*this, canvas);
    const TArrPoint points = ZoomedRoundedPoints(*this);
    PowerDrawShape(canvas, points, static_cast<int32_t>(points.size()), true);
    DrawInfo(canvas);
}

void TMyPolygon::DrawHot(TCanvas& canvas)
{
    if (FOwner && !FOwner->HotShow()) return;
    for (int32_t i = 0; i + 1 < GetPointsCount(); ++i) DrawSquare(*this, canvas, GetPointInZoom(i));
    DrawDiamond(*this, canvas, ZoomedValuePt(TextOutPoint), GetHotColor());
}

bool TMyPolygon::IsClickedMe(TCanvas& canvas, const TPoint& p)
{
    (void)canvas;
    if (GetPointsCount() < 3) return false;
    return TRegion::CreatePolygonRgn(ZoomedRoundedPoints(*this), ALTERNATE).PtInRegion(p.X, p.Y);
}

void TMyPolygon::SizeChangeValue(const TMyPoint& from, const TMyPoint& to)
{
    const int32_t h = SelectedHotId;
    const int32_t last = GetPointsCount() - 1;
    const double dx = double(to.X) - double(from.X);
    const double dy = double(to.Y) - double(from.Y);
    PointAddXY(h, dx, dy);
    if (last > 0 && h == 0) PointAddXY(last, dx, dy);
    if (last > 0 && h == last) PointAddXY(0, dx, dy);
    CenterPoint = ComputeCenterPoint(4);
}

void TMyPolygon::Sizing(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    TMyLine::Sizing(canvas, from, to);
    const int32_t h = SelectedHotId;
    const int32_t last = GetPointsCount() - 1;
    if (last < 2 || (h != 0 && h != last)) return;
    // The moved point's twin at the other end of the chain drags its own
    // neighbouring edge along.
    const int32_t twin = h == 0 ? last : 0;
    const int32_t neighbour = h == 0 ? last - 1 : 1;
    const TMyPoint at = GetPointInZoom(twin);
    const TPoint moved = MyPtToPt({static_cast<float>(double(at.X) + to.X - from.X),
                                   static_cast<float>(double(at.Y) + to.Y - from.Y)});
    const TPoint other = MyPtToPt(GetPointInZoom(neighbour));
    canvas.MoveTo(moved.X, moved.Y);
    canvas.LineTo(other.X, other.Y);
}

double TMyPolygon::MeasureArea() const
{
    if (GetPointsCount() < 3) return 0.0;
    const TMyPoint origin = GetLeftTop();
    const int32_t w = RoundToInt(GetWidth());
    const int32_t h = RoundToInt(GetHeight());
    if (w <= 0 || h <= 0) return 0.0;
    TArrPoint points;
    points.reserve(ThePoints.size());
    for (const TMyPoint& p : ThePoints) {
        points.push_back({RoundToInt(double(p.X) - origin.X), RoundToInt(double(p.Y) - origin.Y)});
    }
    if (int64_t(w) * h > kMaxAreaRasterPixels) {
        double twice = 0.0;
        for (size_t i = 0; i < points.size(); ++i) {
            const TPoint& a = points[i];
            const TPoint& b = points[(i + 1) % points.size()];
            twice += double(a.X) * b.Y - double(b.X) * a.Y;
        }
        return std::fabs(twice) / 2.0;
    }
    // Painted once on a white raster: every pixel that is no longer white is
    // covered by the fill or the outline.
    TBitmap raster(w, h, TPixelFormat::pf24bit);
    TCanvas& c = raster.Canvas();
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(clWhite);
    c.FillRect({0, 0, w, h});
    c.Pen().SetMode(TPenMode::pmCopy);
    c.Pen().SetStyle(TPenStyle::psSolid);
    c.Pen().SetWidth(1);
    c.Pen().SetColor(clBlack);
    c.Brush().SetColor(clBlack);
    c.Polygon(points);
    int64_t covered = 0;
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* line = raster.ScanLine(y);
        for (int32_t x = 0; x < w; ++x) {
            const uint8_t* px = line + size_t(x) * 3;
            if (px[0] != 0xFF || px[1] != 0xFF || px[2] != 0xFF) ++covered;
        }
    }
    return double(covered);
}

String TMyPolygon::GetInfo()
{
    FInfo = AreaText(*this, MeasureArea());
    return FInfo;
}

// ---- TMyFreeLine

String TMyFreeLine::ClassName() const { return u"TMyFreeLine"_s; }

bool TMyFreeLine::IsDrawingFinished(TMouseButton button, const TPoint& p)
{
    (void)button;
    (void)p;
    return GetPointsCount() >= 2;
}

void TMyFreeLine::Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    canvas.Pen().Assign(FPen);
    canvas.MoveTo(from.X, from.Y);
    canvas.LineTo(to.X, to.Y);
}

TRect TMyFreeLine::ZoomedBox() const
{
    TMyRect box;
    if (FOwner) {
        box = FOwner->GetShapesLTRBinZoom(const_cast<TMyFreeLine*>(this));
    } else {
        box = GetPointsLTRB(ThePoints);
        const double z = Zoom();
        box = {static_cast<float>(box.Left * z), static_cast<float>(box.Top * z), static_cast<float>(box.Right * z),
               static_cast<float>(box.Bottom * z)};
    }
    return {RoundToInt(box.Left), RoundToInt(box.Top), RoundToInt(box.Right), RoundToInt(box.Bottom)};
}

bool TMyFreeLine::OffersLineEnds() const { return false; }
bool TMyFreeLine::OffersHandles() const { return false; }

void TMyFreeLine::DrawHot(TCanvas& canvas)
{
    if (FOwner && !FOwner->HotShow()) return;
    canvas.Pen().SetColor(clRed);
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetMode(TPenMode::pmCopy);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Rectangle(ZoomedBox());
}

bool TMyFreeLine::IsClickedMe(TCanvas& canvas, const TPoint& p)
{
    (void)canvas;
    if (GetPointsCount() == 0) return false;
    const TRect box = ZoomedBox();
    // Both edges of the box belong to it: the stroke runs along them.
    return p.X >= box.Left && p.X <= box.Right && p.Y >= box.Top && p.Y <= box.Bottom;
}

void TMyFreeLine::Draging(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    TRect box = ZoomedBox();
    const int32_t dx = to.X - from.X;
    const int32_t dy = to.Y - from.Y;
    box = {box.Left + dx, box.Top + dy, box.Right + dx, box.Bottom + dy};
    OutlineRect(canvas, box);
}

} // namespace mycad
