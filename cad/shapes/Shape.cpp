#include "cad/shapes/Shape.h"

#include "cad/geometry/BitmapUtils.h"
#include "cad/shapes/ShapeOwner.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <typeinfo>

namespace mycad {

namespace {

constexpr double kPi = std::numbers::pi;

float ToFloat(double v) { return static_cast<float>(v); }

bool IsIndexOf(int32_t index, const TArrMyPoint& points)
{
    return index >= 0 && static_cast<size_t>(index) < points.size();
}

// Direction of p seen from c in [0, 2*pi); a point on the centre has the
// direction 0 (where the slope would call it pi/2), so a ray through the
// centre itself never turns.
double DirectionFromCentre(const TMyPoint& p, const TMyPoint& c)
{
    if (p == c) return 0.0;
    return std::fabs(GetSlopeAngle(p, c));
}

} // namespace

TMyShape::TMyShape(TShapeOwner* owner) : FOwner(owner)
{
    if (FOwner) {
        FBrush.Assign(FOwner->DefaultBrush());
        FPen.Assign(FOwner->DefaultPen());
        FFont.Assign(FOwner->DefaultFont());
        FDragEnable = FOwner->DragEnable();
        FHotShow = FOwner->HotShow();
        FResizeEnable = FOwner->ResizeEnable();
        FRotateEnable = FOwner->RotateEnable();
        FPenStyleJoinType = FOwner->PenStyleJoinType();
        FPenStyleEndCapType = FOwner->PenStyleEndCapType();
    }
    FPen.OnChange = [this] { DoPenBrushChange(this); };
    FBrush.OnChange = [this] { DoPenBrushChange(this); };
    FFont.OnChange = [this] { DoFontChange(this); };
}

TMyShape::~TMyShape()
{
    // No notification may reach a shape that is half destroyed.
    FPen.OnChange = nullptr;
    FBrush.OnChange = nullptr;
    FFont.OnChange = nullptr;
}

String TMyShape::ClassName() const { return u"TMyShape"_s; }

double TMyShape::Zoom() const { return FOwner ? FOwner->Zoom() : 1.0; }

TPoint TMyShape::ZoomedRounded(const TMyPoint& documentPoint) const
{
    return MyPtToPt(ZoomedValuePt(documentPoint));
}

TMyShape* TMyShape::MemberShape(uint32_t no) const
{
    if (!FOwner || no > static_cast<uint32_t>(INT32_MAX)) return nullptr;
    TMyShape* member = FOwner->GetShapeByNo(static_cast<int32_t>(no));
    return member == this ? nullptr : member;
}

// ---- Moving, finishing, turning, mirroring.

void TMyShape::DragChangeValue(const TPoint& from, const TPoint& to)
{
    DragChangeValuedxdy(double(to.X) - double(from.X), double(to.Y) - double(from.Y));
}

void TMyShape::DragChangeValuedxdy(double dx, double dy)
{
    if (dx == 0.0 && dy == 0.0) return;
    const double zx = dx / Zoom();
    const double zy = dy / Zoom();
    auto move = [zx, zy](TMyPoint& p) {
        p.X = ToFloat(double(p.X) + zx);
        p.Y = ToFloat(double(p.Y) + zy);
    };
    for (TMyPoint& p : ThePoints) move(p);
    for (TMyPoint& p : LinkPoints) move(p);
    move(CenterPoint);
    move(TextOutPoint);
}

void TMyShape::Drawed(const TPoint& from, TPoint& to)
{
    (void)from;
    (void)to;
    CenterPoint = ComputeCenterPoint(4);
    TextOutPoint = {CenterPoint.X, ToFloat(double(GetLeftBottom().Y) + 10.0)};
}

void TMyShape::RotateChangeValueByAngle(const TMyPoint& centre, double angle)
{
    if (ThePoints.empty()) return;
    const float a = ToFloat(angle);
    for (TMyPoint& p : ThePoints) p = RotateAPoint(p, centre, a);
    for (TMyPoint& p : LinkPoints) p = RotateAPoint(p, centre, a);
    TextOutPoint = RotateAPoint(TextOutPoint, centre, a);
    CenterPoint = RotateAPoint(CenterPoint, centre, a);
    FAngle = ToFloat(double(FAngle) + angle);
    RecaclinRad(FAngle);
}

TMyShape* TMyShape::GetRootShape() const
{
    const TMyShape* root = this;
    if (!FOwner) return const_cast<TMyShape*>(root);
    // A chain longer than the list can only be a loop in damaged relations.
    for (int32_t steps = FOwner->GetShapesCount(); steps > 0 && root->ParentShapeNo > -1; --steps) {
        TMyShape* parent = FOwner->GetShapeByNo(root->ParentShapeNo);
        if (!parent || parent == root) break;
        root = parent;
    }
    return const_cast<TMyShape*>(root);
}

void TMyShape::FlipHoriz()
{
    const double cx = GetRootShape()->GetCenterPoint().X;
    auto mirror = [cx](TMyPoint& p) { p.X = ToFloat(2.0 * cx - double(p.X)); };
    for (TMyPoint& p : ThePoints) mirror(p);
    for (TMyPoint& p : LinkPoints) mirror(p);
    mirror(CenterPoint);
    mirror(TextOutPoint);
    if (FAngle != 0.0f) FAngle = ToFloat(kPi - double(FAngle));
    FIsFlipHorz = !FIsFlipHorz;
    if (FOwner) FOwner->Invalidate();
}

void TMyShape::FlipVert()
{
    const double cy = GetRootShape()->GetCenterPoint().Y;
    auto mirror = [cy](TMyPoint& p) { p.Y = ToFloat(2.0 * cy - double(p.Y)); };
    for (TMyPoint& p : ThePoints) mirror(p);
    for (TMyPoint& p : LinkPoints) mirror(p);
    mirror(CenterPoint);
    mirror(TextOutPoint);
    if (FAngle != 0.0f) FAngle = -FAngle;
    FIsFlipVert = !FIsFlipVert;
    if (FOwner) FOwner->Invalidate();
}

TMyPoint TMyShape::GetCenterPoint() const { return CenterPoint; }

TMyPoint TMyShape::GetCenterPointInZoom() const { return ZoomedValuePt(GetCenterPoint()); }

String TMyShape::GetInfo() { return String(); }

TMyPoint TMyShape::GetPoint(int32_t index) const
{
    return IsIndexOf(index, ThePoints) ? ThePoints[static_cast<size_t>(index)] : TMyPoint{};
}

void TMyShape::AddPointByMouse(const TPoint& p) { AddPoint(PtToMyPt(p)); }

bool TMyShape::IsDrawingFinished(TMouseButton button, const TPoint& p)
{
    (void)button;
    (void)p;
    return false;
}

void TMyShape::SizeChangeValue(const TMyPoint& from, const TMyPoint& to)
{
    (void)from;
    (void)to;
}

std::vector<int32_t*> TMyShape::ConnectorEndRefs() { return {}; }

TPaintArea TMyShape::PaintArea(double penWidth, double zoom) const
{
    (void)penWidth;
    (void)zoom;
    // The base draws nothing of its own; a subclass that does not say what
    // it draws (a host's own class) is drawn in every paint.
    if (typeid(*this) != typeid(TMyShape)) return {};
    return {true, false, 0.0};
}

TShiftConstraint TMyShape::ShiftConstraint(bool sizing) const
{
    (void)sizing;
    return TShiftConstraint::None;
}

TVertexEditing TMyShape::VertexEditing() const { return TVertexEditing::None; }

bool TMyShape::IsClickedMeBeforeWhichPoint(int32_t& index, const TPoint& p) const
{
    (void)p;
    index = -1;
    return false;
}

bool TMyShape::JoinsLines() const { return false; }
bool TMyShape::OffersLineEnds() const { return false; }
int32_t TMyShape::HandlePointNo(int32_t hotId) const { return hotId; }

bool TMyShape::HandleSizesOneSide(int32_t hotId) const
{
    (void)hotId;
    return false;
}

bool TMyShape::ResizesToHandlerPoint() const { return false; }
bool TMyShape::OffersHandles() const { return true; }
bool TMyShape::PickedFirst() const { return false; }
bool TMyShape::IsContainer() const { return false; }
bool TMyShape::ShowsInfoCaption() const { return true; }
TMyPoint TMyShape::GradientOrigin() const { return GetLeftTop(); }

void TMyShape::TakePointsByCode(const TArrMyPoint& zoomed, const String& info)
{
    (void)info;
    for (const TMyPoint& p : zoomed) AddPoint(p);
    LinkPoints.clear();
}

// ---- Copying.

void TMyShape::Assign(const TMyShape& source)
{
    if (&source == this) return;
    CopyFrom(source);
}

void TMyShape::AssignWithoutRelation(const TMyShape& source)
{
    if (&source == this) return;
    // A full copy, so that every class's own fields come along (undo of a
    // changed arrow, text or picture restores it), keeping what places this
    // shape among the others: its name, its list numbers, the connectors it
    // lists and, for a connector, the shapes at its ends.
    const String name = FName;
    const int32_t shapeNo = ShapeNo;
    const TMyShapeNo children = ChildShapesNo;
    const TMyShapeNo links = LinkShapesNo;
    const int32_t parent = ParentShapeNo;
    std::vector<int32_t> ends;
    for (const int32_t* end : ConnectorEndRefs()) ends.push_back(end ? *end : -1);
    TStringList multiInfo;
    multiInfo.Assign(FMultiInfo);
    const auto multiInfoAlignment = FMultiInfoAlignment;

    Assign(source);

    FName = name;
    ShapeNo = shapeNo;
    ChildShapesNo = children;
    LinkShapesNo = links;
    ParentShapeNo = parent;
    const std::vector<int32_t*> refs = ConnectorEndRefs();
    for (size_t i = 0; i < refs.size() && i < ends.size(); ++i) {
        if (refs[i]) *refs[i] = ends[i];
    }
    FMultiInfo.Assign(multiInfo);
    FMultiInfoAlignment = multiInfoAlignment;
}

// The order matters: the pen, brush and font are copied while this shape
// still has its own member list, so a shape that gets a copy's settings passes
// them on to its own members, exactly as a user's change would.
void TMyShape::CopyFrom(const TMyShape& source)
{
    SetName(source.Name());
    FTag = source.FTag;
    FCaption = source.FCaption;
    ShapeId = source.ShapeId;
    LayerId = source.LayerId;
    SelectedHotId = -1;
    GradBmp.Assign(source.GradBmp);
    FColorBegin = source.FColorBegin;
    FColorEnd = source.FColorEnd;
    FGradientStyle = source.FGradientStyle;
    FIsFlipHorz = source.FIsFlipHorz;
    FIsFlipVert = source.FIsFlipVert;
    FLocked = source.FLocked;
    FInfo = source.FInfo;
    FPen.Assign(source.FPen);
    FBrush.Assign(source.FBrush);
    FFont.Assign(source.FFont);
    ThePoints = source.ThePoints;
    LinkPoints = source.LinkPoints;
    ShapeNo = source.ShapeNo;
    ChildShapesNo = source.ChildShapesNo;
    LinkShapesNo = source.LinkShapesNo;
    ParentShapeNo = source.ParentShapeNo;
    FAngle = source.FAngle;
    CenterPoint = ComputeCenterPoint(4);
    TextOutPoint = source.TextOutPoint;
    FUserData.Assign(source.FUserData);
    FMultiInfo.Assign(source.FMultiInfo);
    FMultiInfoAlignment = source.FMultiInfoAlignment;
}

// ---- Point access.

void TMyShape::AddPoint(const TMyPoint& p)
{
    ThePoints.push_back({ToFloat(double(p.X) / Zoom()), ToFloat(double(p.Y) / Zoom())});
}

void TMyShape::AddLinkPoint(const TMyPoint& p)
{
    LinkPoints.push_back({ToFloat(double(p.X) / Zoom()), ToFloat(double(p.Y) / Zoom())});
}

void TMyShape::SetPoint(int32_t index, const TMyPoint& p)
{
    if (IsIndexOf(index, ThePoints)) ThePoints[static_cast<size_t>(index)] = p;
}

void TMyShape::SetPointX(int32_t index, float x)
{
    if (IsIndexOf(index, ThePoints)) ThePoints[static_cast<size_t>(index)].X = x;
}

void TMyShape::SetPointY(int32_t index, float y)
{
    if (IsIndexOf(index, ThePoints)) ThePoints[static_cast<size_t>(index)].Y = y;
}

void TMyShape::SetPointInZoom(int32_t index, const TMyPoint& p)
{
    SetPoint(index, {ToFloat(double(p.X) / Zoom()), ToFloat(double(p.Y) / Zoom())});
}

void TMyShape::SetPointXInZoom(int32_t index, float x) { SetPointX(index, ToFloat(double(x) / Zoom())); }

void TMyShape::SetPointYInZoom(int32_t index, float y) { SetPointY(index, ToFloat(double(y) / Zoom())); }

void TMyShape::PointAddX(int32_t index, double dx) { PointAddXY(index, dx, 0.0); }

void TMyShape::PointAddY(int32_t index, double dy) { PointAddXY(index, 0.0, dy); }

void TMyShape::PointAddXY(int32_t index, double dx, double dy)
{
    if (!IsIndexOf(index, ThePoints)) return;
    TMyPoint& p = ThePoints[static_cast<size_t>(index)];
    p.X = ToFloat(double(p.X) + dx / Zoom());
    p.Y = ToFloat(double(p.Y) + dy / Zoom());
}

TMyPoint TMyShape::GetPointInZoom(int32_t index) const { return ZoomedValuePt(GetPoint(index)); }

TMyPoint TMyShape::ZoomedValuePt(const TMyPoint& p) const
{
    return {ToFloat(double(p.X) * Zoom()), ToFloat(double(p.Y) * Zoom())};
}

TPoint TMyShape::GetPointInZoomWithMode(int32_t index) const
{
    if (index < 0 || index > GetPointsCount() - 1) return {};
    const TPoint p = MyPtToPt(GetPointInZoom(index));
    if (!FOwner) return p;
    const int32_t w = FOwner->ControlWidth();
    const int32_t h = FOwner->ControlHeight();
    switch (FOwner->XYMode()) {
    case TXYMode::Mode0: return p;
    case TXYMode::Mode1: return {p.X, h - p.Y};
    case TXYMode::Mode2: return {w - p.X, h - p.Y};
    case TXYMode::Mode3: return {w - p.X, p.Y};
    }
    return p;
}

TMyPoint TMyShape::GetLinkPoint(int32_t index) const
{
    return IsIndexOf(index, LinkPoints) ? LinkPoints[static_cast<size_t>(index)] : TMyPoint{};
}

TMyPoint TMyShape::GetLinkPointInZoom(int32_t index) const { return ZoomedValuePt(GetLinkPoint(index)); }

void TMyShape::SetLinkPoint(int32_t index, const TMyPoint& p)
{
    if (IsIndexOf(index, LinkPoints)) LinkPoints[static_cast<size_t>(index)] = p;
}

void TMyShape::SetLinkPointX(int32_t index, float x)
{
    if (IsIndexOf(index, LinkPoints)) LinkPoints[static_cast<size_t>(index)].X = x;
}

void TMyShape::SetLinkPointY(int32_t index, float y)
{
    if (IsIndexOf(index, LinkPoints)) LinkPoints[static_cast<size_t>(index)].Y = y;
}

void TMyShape::LinkPointAddXY(int32_t index, double dx, double dy)
{
    if (!IsIndexOf(index, LinkPoints)) return;
    TMyPoint& p = LinkPoints[static_cast<size_t>(index)];
    p.X = ToFloat(double(p.X) + dx / Zoom());
    p.Y = ToFloat(double(p.Y) + dy / Zoom());
}

// ---- Geometry queries.

TMyPoint TMyShape::GetLeftTop() const
{
    const TMyRect r = GetPointsLTRB(ThePoints);
    return {r.Left, r.Top};
}

TMyPoint TMyShape::GetRightTop() const
{
    const TMyRect r = GetPointsLTRB(ThePoints);
    return {r.Right, r.Top};
}

TMyPoint TMyShape::GetRightBottom() const
{
    const TMyRect r = GetPointsLTRB(ThePoints);
    return {r.Right, r.Bottom};
}

TMyPoint TMyShape::GetLeftBottom() const
{
    const TMyRect r = GetPointsLTRB(ThePoints);
    return {r.Left, r.Bottom};
}

float TMyShape::GetWidth() const { return ToFloat(std::fabs(GetPointsLTRB(ThePoints).Width())); }

float TMyShape::GetHeight() const { return ToFloat(std::fabs(GetPointsLTRB(ThePoints).Height())); }

TMyPoint TMyShape::ComputeCenterPoint(int32_t mode) const
{
    const TMyRect r = GetPointsLTRB(ThePoints);
    switch (mode) {
    case 0: return {r.Left, r.Top};
    case 1: return {r.Right, r.Top};
    case 2: return {r.Right, r.Bottom};
    case 3: return {r.Left, r.Bottom};
    default: return {ToFloat(double(r.Left) + r.Width() / 2.0), ToFloat(double(r.Top) + r.Height() / 2.0)};
    }
}

float TMyShape::GetMyWidth() const
{
    TArrMyPoint turned;
    turned.reserve(ThePoints.size());
    for (const TMyPoint& p : ThePoints) turned.push_back(RotateAPoint(p, CenterPoint, -FAngle));
    return ToFloat(GetPointsLTRB(turned).Width());
}

float TMyShape::GetMyHeight() const
{
    TArrMyPoint turned;
    turned.reserve(ThePoints.size());
    for (const TMyPoint& p : ThePoints) turned.push_back(RotateAPoint(p, CenterPoint, -FAngle));
    return ToFloat(GetPointsLTRB(turned).Height());
}

double TMyShape::GetRotatedAngle(const TMyPoint& p1, const TMyPoint& p2, const TMyPoint& c, bool snap) const
{
    double d = DirectionFromCentre(p2, c) - DirectionFromCentre(p1, c);
    const int32_t k = FOwner ? FOwner->RotateConstraintDegree() : 0;
    if (snap && k > 0) {
        const double degrees = d * 180.0 / kPi;
        d = std::nearbyint(degrees / k) * k * kPi / 180.0;
    }
    return d;
}

TMyPoint TMyShape::GetMagicPoint(TMyShape* aShape, const TMyPoint& p) const
{
    if (!FOwner || !aShape) return p;
    const TRect box = myRecttoRect(FOwner->GetShapesLTRBinZoom(aShape));
    const double g = 25.0 * Zoom();
    const double left = double(p.X) - box.Left;
    const double right = box.Right - double(p.X);
    const double top = double(p.Y) - box.Top;
    const double bottom = box.Bottom - double(p.Y);
    const double m = std::min({left, right, top, bottom});
    // Later sides win ties: bottom over top over right over left.
    TMyPoint result = p;
    if (left == m) result = {ToFloat(box.Left - g), p.Y};
    if (right == m) result = {ToFloat(box.Right + g), p.Y};
    if (top == m) result = {p.X, ToFloat(box.Top - g)};
    if (bottom == m) result = {p.X, ToFloat(box.Bottom + g)};
    return result;
}

void TMyShape::SizeChangeValueByScale(double sx, double sy, const TMyPoint& o, const TMyPoint& c,
                                      const TMyPoint& unused)
{
    (void)unused;
    float a = FAngle;
    if (FAngle != 0.0f && HasParentShape()) {
        const TMyShape* root = GetRootShape();
        if (root != this && root->FAngle != FAngle) a = root->FAngle;
    }
    auto scale = [&](const TMyPoint& p) {
        const TMyPoint q = RotateAPoint(p, c, -a);
        const TMyPoint s{ToFloat(double(o.X) + (double(q.X) - double(o.X)) * sx),
                         ToFloat(double(o.Y) + (double(q.Y) - double(o.Y)) * sy)};
        return RotateAPoint(s, c, a);
    };
    for (TMyPoint& p : LinkPoints) p = scale(p);
    for (TMyPoint& p : ThePoints) p = scale(p);
    TextOutPoint = scale(TextOutPoint);
    CenterPoint = ComputeCenterPoint(4);
}

// ---- Passing settings on to members.

void TMyShape::DoPenBrushChange(TMyShape* sender)
{
    (void)sender;
    PassOnToMembers(false);
}

void TMyShape::DoFontChange(TMyShape* sender)
{
    (void)sender;
    PassOnToMembers(true);
}

void TMyShape::PassOnToMembers(bool fontOnly)
{
    if (FPassingOn || (FOwner && FOwner->IsLoading())) return;
    FPassingOn = true;
    for (uint32_t no : ChildShapesNo) {
        TMyShape* member = MemberShape(no);
        // A member already passing settings on is an ancestor: the member
        // list runs in a loop, which only damaged relations can make.
        if (!member || member->FPassingOn) continue;
        // The member's own notifications stay quiet while it takes the
        // settings; it then passes them on once, which keeps deep nesting
        // linear instead of one pass per changed setting.
        member->FPassingOn = true;
        member->FFont.Assign(FFont);
        if (!fontOnly) {
            member->FPen.Assign(FPen);
            member->FBrush.Assign(FBrush);
            member->SetColorBegin(FColorBegin);
            member->SetColorEnd(FColorEnd);
            member->SetGradientStyle(FGradientStyle);
        }
        member->FPassingOn = false;
        member->PassOnToMembers(fontOnly);
    }
    FPassingOn = false;
}

// ---- Published properties.

void TMyShape::SetAngle(float value)
{
    if (ThePoints.empty() || !FOwner) {
        FAngle = value;
        return;
    }
    FOwner->RotateShapeWithMembers(this, value);
}

void TMyShape::SetBrush(const TBrush& value) { FBrush.Assign(value); }

void TMyShape::SetPen(const TPen& value) { FPen.Assign(value); }

void TMyShape::SetFont(const TFont& value) { FFont.Assign(value); }

void TMyShape::SetColorBegin(TColor value)
{
    if (value == FColorBegin) return;
    FColorBegin = value;
    DrawGradient();
    DoPenBrushChange(this);
    if (FOwner) FOwner->Invalidate();
}

void TMyShape::SetColorEnd(TColor value)
{
    if (value == FColorEnd) return;
    FColorEnd = value;
    DrawGradient();
    DoPenBrushChange(this);
    if (FOwner) FOwner->Invalidate();
}

void TMyShape::SetGradientStyle(TGradientStyle value)
{
    if (value == FGradientStyle) return;
    FGradientStyle = value;
    DoPenBrushChange(this);
    DrawGradient();
    if (!GradBmp.Empty()) FlipBitmap(GradBmp, FIsFlipHorz, FIsFlipVert);
    if (FOwner) FOwner->Invalidate();
}

void TMyShape::SetIsFlipHorz(bool value)
{
    (void)value;
    if (FOwner) {
        FOwner->FlipHoriz(this);
    } else {
        FlipHoriz();
    }
    DrawGradient();
    if (!GradBmp.Empty()) FlipBitmap(GradBmp, FIsFlipHorz, FIsFlipVert);
}

void TMyShape::SetIsFlipVert(bool value)
{
    (void)value;
    if (FOwner) {
        FOwner->FlipVert(this);
    } else {
        FlipVert();
    }
    DrawGradient();
    if (!GradBmp.Empty()) FlipBitmap(GradBmp, FIsFlipHorz, FIsFlipVert);
}

void TMyShape::SetLocked(bool value)
{
    if (value == FLocked) return;
    SetLockedTree(value, 0);
    if (FOwner) FOwner->Invalidate();
}

void TMyShape::SetLockedTree(bool value, int32_t depth)
{
    FLocked = value;
    // Nesting deeper than the list is long can only be a loop.
    if (!FOwner || depth >= FOwner->GetShapesCount()) return;
    for (uint32_t no : ChildShapesNo) {
        if (TMyShape* member = MemberShape(no)) member->SetLockedTree(value, depth + 1);
    }
}

void TMyShape::SetMultiInfo(const TStringList& value)
{
    FMultiInfo.Assign(value);
    if (FOwner) FOwner->Invalidate();
}

bool TMyShape::IsValidName(const String& value)
{
    for (int64_t i = 0; i < value.size(); ++i) {
        const WideChar ch = value.at(i);
        const bool ok = ch == u'_' || ch.isLetter() || (i > 0 && ch.isDigit());
        if (!ok) return false;
    }
    return true;
}

void TMyShape::SetName(const String& value)
{
    if (!IsValidName(value)) return;
    FName = value;
    if (FCaption.isEmpty()) FCaption = value;
}

// ---- Connectors attached to a shape.

int32_t AddLinklineShape(TMyShape& shape, uint32_t number)
{
    TMyShapeNo& list = shape.LinkShapesNo;
    const auto it = std::find(list.begin(), list.end(), number);
    if (it != list.end()) return static_cast<int32_t>(it - list.begin());
    list.push_back(number);
    return static_cast<int32_t>(list.size()) - 1;
}

void RemoveLinklineShape(TMyShape& shape, uint32_t number)
{
    TMyShapeNo& list = shape.LinkShapesNo;
    const auto it = std::find(list.rbegin(), list.rend(), number);
    if (it != list.rend()) list.erase(std::next(it).base());
}

void OffsetAllPoints(TMyShape& shape, double dx, double dy)
{
    auto offset = [dx, dy](TMyPoint& p) {
        p.X = static_cast<float>(double(p.X) + dx);
        p.Y = static_cast<float>(double(p.Y) + dy);
    };
    for (TMyPoint& p : shape.ThePoints) offset(p);
    for (TMyPoint& p : shape.LinkPoints) offset(p);
    offset(shape.TextOutPoint);
}

void RemoveAllPoints(TMyShape& shape) { shape.ThePoints.clear(); }

} // namespace mycad
