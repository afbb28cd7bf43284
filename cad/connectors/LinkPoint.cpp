#include "cad/connectors/LinkPoint.h"

#include "cad/connectors/ConnectorOwner.h"
#include "cad/connectors/LinkLine.h"
#include "cad/shapes/ShapeDraw.h"
#include "cad/shapes/ShapeOwner.h"

namespace mycad {

namespace {

constexpr TColor kJunctionHotColor = 65280; // lime

} // namespace

TMyLinkPoint::TMyLinkPoint(TShapeOwner* owner) : TMyRectangle(owner) {}

String TMyLinkPoint::ClassName() const { return u"TMyLinkPoint"_s; }

void TMyLinkPoint::Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to)
{
    (void)to;
    SetDragResizeRotateShapeMode(canvas);
    canvas.Ellipse(from.X, from.Y, from.X + FSize, from.Y + FSize);
}

void TMyLinkPoint::AddPointByMouse(const TPoint& p)
{
    if (!ThePoints.empty()) return;
    const double half = FSize * Zoom() / 2.0;
    const double x = p.X;
    const double y = p.Y;
    AddPoint({static_cast<float>(x - half), static_cast<float>(y - half)});
    AddPoint({static_cast<float>(x + half), static_cast<float>(y - half)});
    AddPoint({static_cast<float>(x + half), static_cast<float>(y + half)});
    AddPoint({static_cast<float>(x - half), static_cast<float>(y + half)});
}

void TMyLinkPoint::Draw(TCanvas& canvas)
{
    if (ThePoints.size() < 4) return;
    SetDrawShapeMode(*this, canvas);
    canvas.Brush().SetColor(FPen.Color());
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    LineDraw(*this, canvas, GetPointInZoom(0), GetPointInZoom(2));
    LineDraw(*this, canvas, GetPointInZoom(1), GetPointInZoom(3));
}

int32_t TMyLinkPoint::InWhichHot(const TPoint& p)
{
    (void)p;
    SelectedHotId = -1;
    return -1;
}

bool TMyLinkPoint::IsDrawingFinished(TMouseButton button, const TPoint& p)
{
    (void)button;
    (void)p;
    return GetPointsCount() >= 4;
}

// ---- The junction dot.

TMyLineLinkLine::TMyLineLinkLine(TShapeOwner* owner) : TMyLinkPoint(owner) {}

String TMyLineLinkLine::ClassName() const { return u"TMyLineLinkLine"_s; }

void TMyLineLinkLine::AddPointByMouse(const TPoint& p)
{
    TMyLinkPoint::AddPointByMouse(p);
    if (GetPointsCount() == 4) LinkPoints = {GetCenterPoint()};
}

void TMyLineLinkLine::Draw(TCanvas& canvas)
{
    if (ThePoints.size() < 4) return;
    SetDrawShapeMode(*this, canvas);
    canvas.Brush().SetColor(FPen.Color());
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    const TPoint a = MyPtToPt(GetPointInZoom(0));
    const TPoint b = MyPtToPt(GetPointInZoom(2));
    canvas.Ellipse(a.X, a.Y, b.X, b.Y);
}

void TMyLineLinkLine::DrawHot(TCanvas& canvas)
{
    if (ThePoints.size() < 4) return;
    SetDrawShapeMode(*this, canvas);
    canvas.Brush().SetColor(kJunctionHotColor);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Pen().SetColor(clBlack);
    const TPoint a = MyPtToPt(GetPointInZoom(0));
    const TPoint b = MyPtToPt(GetPointInZoom(2));
    canvas.Ellipse(a.X, a.Y, b.X, b.Y);
}

void TMyLineLinkLine::Drawed(const TPoint& from, TPoint& to)
{
    TMyShape::Drawed(from, to);
    TConnectorOwner* owner = ConnectorOwnerOf(FOwner);
    if (!owner || ThePoints.size() < 4) return;
    TMyPoint c = GetCenterPoint();
    TMyLinkLine* other = nullptr;
    const int32_t j = owner->IsBreakLineByAPoint(c, other, nullptr);
    if (j < 0 || !other) return;
    owner->BreakLineByAPoint(c, *other, j, *this);
    // The dot moves onto the segment it split.
    ThePoints.clear();
    AddPointByMouse(MyPtToPt(ZoomedValuePt(c)));
    TMyShape::Drawed(from, to);
}

bool TMyLineLinkLine::PickedFirst() const { return true; }

void TMyLineLinkLine::TakePointsByCode(const TArrMyPoint& zoomed, const String& info)
{
    (void)info;
    ThePoints.clear();
    LinkPoints.clear();
    if (!zoomed.empty()) AddPointByMouse(MyPtToPt(zoomed.front()));
}

void TMyLinkPoint::Assign(const TMyShape& source)
{
    TMyRectangle::Assign(source);
    if (const auto* point = dynamic_cast<const TMyLinkPoint*>(&source); point && point != this) FSize = point->FSize;
}

} // namespace mycad
