// TMyCAD: aligning, spacing, moving, turning, sizing and locking shapes.
// Every operation walks a container's members (ChildShapesNo) and leaves
// locked shapes alone; the mouse gestures use the same per-shape steps.
#include "cad/canvas/MyCAD.h"

#include "cad/canvas/TreeWalk.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace mycad {

namespace {

float LeftX(const TMyShape& s) { return std::min(s.GetLeftTop().X, s.GetLeftBottom().X); }
float RightX(const TMyShape& s) { return std::max(s.GetRightTop().X, s.GetRightBottom().X); }
float TopY(const TMyShape& s) { return std::min(s.GetLeftTop().Y, s.GetRightTop().Y); }
float BottomY(const TMyShape& s) { return std::max(s.GetLeftBottom().Y, s.GetRightBottom().Y); }

} // namespace

// ---- Alignment.

template <typename Delta>
void TMyCAD::AlignSelection(Delta delta)
{
    if (WorkingShapes.size() == 1) return;
    TEditScope edit(*this);
    const TArrMyShapeRef selection = WorkingShapes;
    edit.Record(selection, ACT_CHANGE);
    const TMyRect all = GetShapesLTRB(selection);
    for (TMyShape* s : selection) {
        const TMyPoint d = delta(all, GetShapesLTRB({s}), s->GetCenterPoint());
        DragChangeValueDxDyforShapes(s, double(d.X) * FZoom, double(d.Y) * FZoom);
    }
    edit.Repaint();
}

void TMyCAD::AlignLeft()
{
    AlignSelection([](const TMyRect& all, const TMyRect& b, const TMyPoint&) {
        return TMyPoint{all.Left - b.Left, 0.0f};
    });
}

void TMyCAD::AlignRight()
{
    AlignSelection([](const TMyRect& all, const TMyRect& b, const TMyPoint&) {
        return TMyPoint{all.Right - b.Right, 0.0f};
    });
}

void TMyCAD::AlignTop()
{
    AlignSelection([](const TMyRect& all, const TMyRect& b, const TMyPoint&) {
        return TMyPoint{0.0f, all.Top - b.Top};
    });
}

void TMyCAD::AlignBottom()
{
    AlignSelection([](const TMyRect& all, const TMyRect& b, const TMyPoint&) {
        return TMyPoint{0.0f, all.Bottom - b.Bottom};
    });
}

void TMyCAD::AlignHorizontalCenter()
{
    AlignSelection([](const TMyRect& all, const TMyRect&, const TMyPoint& c) {
        // The middle is held as a float before the difference, as stored
        // coordinates are.
        const auto middle = static_cast<float>((double(all.Right) - all.Left) / 2.0 + all.Left);
        return TMyPoint{static_cast<float>(double(middle) - c.X), 0.0f};
    });
}

void TMyCAD::AlignVerticalCenter()
{
    AlignSelection([](const TMyRect& all, const TMyRect&, const TMyPoint& c) {
        const auto middle = static_cast<float>((double(all.Bottom) - all.Top) / 2.0 + all.Top);
        return TMyPoint{0.0f, static_cast<float>(double(middle) - c.Y)};
    });
}

// ---- Equal spacing.

void TMyCAD::SpaceEvenly(const TArrMyShapeRef& input, bool alongX)
{
    TArrMyShapeRef shapes;
    for (TMyShape* s : input) {
        if (s) shapes.push_back(s);
    }
    if (shapes.size() < 3) return;
    TEditScope edit(*this);
    // Along y the top corners play the left corners' part and the bottom
    // corners the right ones'.
    auto low = [alongX](const TMyShape& s) { return alongX ? LeftX(s) : TopY(s); };
    auto high = [alongX](const TMyShape& s) { return alongX ? RightX(s) : BottomY(s); };
    auto lowOfHighSide = [alongX](const TMyShape& s) {
        return alongX ? std::min(s.GetRightTop().X, s.GetRightBottom().X)
                      : std::min(s.GetLeftBottom().Y, s.GetRightBottom().Y);
    };
    auto orderKey = [alongX](const TMyShape& s) {
        if (alongX) return s.GetLeftBottom().X > s.GetLeftTop().X ? s.GetRightTop().X : s.GetRightBottom().X;
        return s.GetRightTop().Y > s.GetLeftTop().Y ? s.GetLeftBottom().Y : s.GetRightBottom().Y;
    };

    size_t a = 0;
    size_t b = 0;
    for (size_t i = 1; i < shapes.size(); ++i) {
        if (low(*shapes[i]) < low(*shapes[a])) a = i;
        if (lowOfHighSide(*shapes[i]) > lowOfHighSide(*shapes[b])) b = i;
    }
    const double aHigh = high(*shapes[a]);
    const double bLow = low(*shapes[b]);
    TArrMyShapeRef middle;
    for (size_t i = 0; i < shapes.size(); ++i) {
        if (i != a && i != b) middle.push_back(shapes[i]);
    }
    std::stable_sort(middle.begin(), middle.end(),
                     [&](const TMyShape* l, const TMyShape* r) { return orderKey(*l) < orderKey(*r); });
    double extent = 0.0;
    for (const TMyShape* m : middle) extent += alongX ? m->GetWidth() : m->GetHeight();
    const double gap = (bLow - aHigh - extent) / double(middle.size() + 1);

    double previousHigh = aHigh;
    for (TMyShape* m : middle) {
        const double current = RoundToInt(low(*m));
        const double target = RoundToInt(previousHigh + gap);
        const double d = (target - current) * FZoom;
        DragChangeValueDxDyforShapes(m, alongX ? d : 0.0, alongX ? 0.0 : d);
        previousHigh = high(*m);
    }
    edit.Repaint();
}

void TMyCAD::AverageWidth(const TArrMyShapeRef& shapes) { SpaceEvenly(shapes, true); }

void TMyCAD::AverageHeight(const TArrMyShapeRef& shapes) { SpaceEvenly(shapes, false); }

// ---- Single-shape transforms by code.

void TMyCAD::Move(TMyShape* shape, double dx, double dy)
{
    if (!shape) return;
    if (OnShapeCodeDragging) OnShapeCodeDragging(shape, static_cast<float>(dx), static_cast<float>(dy));
    TEditScope edit(*this);
    DragChangeValueDxDyforShapes(shape, dx, dy);
    edit.Repaint();
}

void TMyCAD::Rotate(TMyShape* shape, float angle)
{
    if (!shape) return;
    if (OnShapeCodeRotating) OnShapeCodeRotating(shape, angle);
    TEditScope edit(*this);
    shape->SetAngle(angle);
    edit.Moved(shape);
    edit.Repaint();
}

float TMyCAD::Tilt(TMyShape* shape, const TMyPoint& centre, const TMyPoint& fromPoint, const TMyPoint& toPoint,
                   bool constrain)
{
    if (!shape) return 0.0f;
    const auto alpha = static_cast<float>(shape->GetRotatedAngle(fromPoint, toPoint, centre, constrain));
    RotateChangeValueforShapes(shape, centre, alpha);
    return alpha;
}

void TMyCAD::SizeShape(TMyShape* shape, int32_t hotId, const TMyPoint& point)
{
    if (!shape || hotId < 0) return;
    shape->SelectedHotId = hotId;
    // The side handles of a box are pulled from the corner they follow.
    const int32_t index = shape->HandlePointNo(hotId);
    const TMyPoint from = shape->ZoomedValuePt(shape->GetPoint(index));
    SizeChangeValueforShapes(shape, from, point);
    Invalidate();
}

void TMyCAD::LockUnLockforShapes(TMyShape* shape, bool locked)
{
    if (!shape) return;
    WalkShapeTree(*this, *shape, TTreeOrder::MembersFirst, [locked](TMyShape& s) { s.SetLocked(locked); });
}

// ---- The per-shape steps of gestures and of the operations above.

void TMyCAD::DraggingforShapes(TCanvas& canvas, TMyShape* shape, const TPoint& from, const TPoint& to)
{
    if (shape && !shape->Locked()) shape->Draging(canvas, from, to);
}

void TMyCAD::DragChangeValueDxDyforShapes(TMyShape* shape, double dx, double dy)
{
    if (!shape) return;
    TEditScope edit(*this);
    edit.Moved(shape);
    // A locked group's members still move; only the locked frame stays.
    WalkShapeTree(*this, *shape, TTreeOrder::MembersFirst, [dx, dy](TMyShape& s) {
        if (!s.Locked()) s.DragChangeValuedxdy(dx, dy);
    });
}

void TMyCAD::RotatingforShapes(TCanvas& canvas, TMyShape* shape, const TMyPoint& centre, double angle)
{
    if (!shape) return;
    // A container has no outline of its own while turning: its members show it.
    WalkShapeTree(*this, *shape, TTreeOrder::ShapeFirst, [&](TMyShape& s) {
        if (!s.HasChildShapes() && !s.Locked()) s.Rotating(canvas, centre, angle);
    });
}

void TMyCAD::SizeChangeValueforShapes(TMyShape* shape, const TMyPoint& from, const TMyPoint& to)
{
    if (!shape || shape->Locked() || !shape->ResizeEnable()) return;
    TEditScope edit(*this);
    edit.Moved(shape);
    const float theta = shape->Angle();

    if (!shape->IsContainer()) {
        shape->SetAngle(-theta);
        const TMyPoint c0 = shape->GetCenterPoint();
        const double w0 = shape->GetMyWidth();
        const double h0 = shape->GetMyHeight();
        const TMyRect r0 = GetShapesLTRB({shape});
        shape->SetAngle(theta);

        shape->SizeChangeValue(from, to);

        const TMyPoint c1 = shape->GetCenterPoint();
        shape->SetAngle(-theta);
        TMyRect r1 = GetShapesLTRB({shape});
        if (theta != 0.0f) OffsetMyRect(r1, double(c1.X) - c0.X, double(c1.Y) - c0.Y);
        // The side that did not move stays where it was; the text anchor
        // keeps its place relative to it.
        const double kx = r0.Right == r1.Right ? r0.Right : r0.Left;
        const double ky = r0.Bottom == r1.Bottom ? r0.Bottom : r0.Top;
        shape->SetAngle(theta);
        const double w1 = shape->GetMyWidth();
        const double h1 = shape->GetMyHeight();

        TMyPoint t = RotateAPoint(shape->TextOutPoint, c0, -theta);
        if (w0 != 0.0) t.X = static_cast<float>(kx + (double(t.X) - kx) * w1 / w0);
        if (h0 != 0.0) t.Y = static_cast<float>(ky + (double(t.Y) - ky) * h1 / h0);
        shape->TextOutPoint = RotateAPoint(t, c0, theta);
        return;
    }

    // A container scales its members by the frame's change about the corner
    // opposite the grabbed handle.
    static constexpr int32_t kOpposite[8] = {2, 3, 0, 1, 2, 3, 0, 1};
    const int32_t hot = shape->SelectedHotId;
    const int32_t fixed = hot >= 0 && hot < 8 ? kOpposite[hot] : 2;
    shape->SetAngle(-theta);
    const TMyPoint p = shape->GetPoint(fixed);
    shape->SetAngle(theta);
    auto nonZero = [](double v) { return v == 0.0 ? 1.0 : v; };
    const TMyPoint c0 = shape->GetCenterPoint();
    const double w0 = nonZero(shape->GetMyWidth());
    const double h0 = nonZero(shape->GetMyHeight());

    // The frame is sized once to learn the new size, then put back as it
    // was. Putting it back from a copy, rather than by sizing in the other
    // direction, keeps the frame intact when the sizing was refused.
    const TArrMyPoint points = shape->ThePoints;
    const TMyPoint centre = shape->CenterPoint;
    const TMyPoint text = shape->TextOutPoint;
    shape->SizeChangeValue(from, to);
    const TMyPoint c1 = shape->GetCenterPoint();
    const double w1 = nonZero(shape->GetMyWidth());
    const double h1 = nonZero(shape->GetMyHeight());
    shape->ThePoints = points;
    shape->CenterPoint = centre;
    shape->TextOutPoint = text;

    const double sx = w1 / w0;
    const double sy = h1 / h0;
    WalkShapeTree(*this, *shape, TTreeOrder::MembersFirst, [&](TMyShape& s) {
        if (!s.Locked() && s.ResizeEnable()) s.SizeChangeValueByScale(sx, sy, p, c0, c1);
    });
}

} // namespace mycad
