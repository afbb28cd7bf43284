// TMyCAD: shapes added by the host from point lists. The points are device
// pixels in the host's coordinate system (XYMode); the shapes store document
// units. Each addition is announced, recorded for undo and selected.
#include "cad/canvas/MyCAD.h"

#include "cad/canvas/ShapeCatalogue.h"

#include <cmath>
#include <numbers>

namespace mycad {

namespace {

/// The point at a whole-degree angle on the circle of radius r about c, y
/// downward; the quarter turns are exact.
TMyPoint OnCircle(const TMyPoint& c, int32_t r, int32_t degrees)
{
    if (degrees == 90 || degrees == -270) return {c.X, static_cast<float>(double(c.Y) + r)};
    if (degrees == -90 || degrees == 270) return {c.X, static_cast<float>(double(c.Y) - r)};
    const double t = std::tan(degrees * std::numbers::pi / 180.0);
    const bool back = (degrees >= 91 && degrees <= 269) || (degrees >= -269 && degrees <= -91);
    const double x = double(c.X) + (back ? -1.0 : 1.0) * std::sqrt(double(r) * r / (t * t + 1.0));
    const double y = double(c.Y) + (x - c.X) * t;
    return {static_cast<float>(x), static_cast<float>(y)};
}

} // namespace

int32_t TMyCAD::AddShapeByCode(TShapeOwner* owner, TDrawTool tool, const String& name, const TArrMyPoint& points,
                               int32_t high, double angle, const String& info)
{
    return AddByCode(owner, tool, name, points, high, angle, info, true);
}

int32_t TMyCAD::AddShapeByCodeWithoutRepaint(TShapeOwner* owner, TDrawTool tool, const String& name,
                                             const TArrMyPoint& points, int32_t high, double angle,
                                             const String& info)
{
    return AddByCode(owner, tool, name, points, high, angle, info, false);
}

int32_t TMyCAD::AddShapeByCode2(TShapeOwner* owner, TDrawTool tool, const String& name, const TMyPoint& centre,
                                int32_t radius, int32_t startAngle, int32_t endAngle, double angle,
                                const String& info)
{
    // The angle and info arguments are accepted for the caller's symmetry
    // with AddShapeByCode; the arc is added upright and without text.
    (void)angle;
    (void)info;
    const TArrMyPoint points{OnCircle(centre, radius, startAngle), OnCircle(centre, radius, startAngle - 180),
                             OnCircle(centre, radius, endAngle)};
    return AddShapeByCode(owner, tool, name, points, 2, 0.0, String());
}

int32_t TMyCAD::AddByCode(TShapeOwner* owner, TDrawTool tool, const String& name, const TArrMyPoint& points,
                          int32_t high, double angle, const String& info, bool repaint)
{
    if (high < -1 || static_cast<int64_t>(high) + 1 > static_cast<int64_t>(points.size())) return -1;
    const int32_t count = high + 1;
    const TShapeClassRow* row = FindShapeClassByTool(tool);
    if (!row || !row->ByCodePoints.Accepts(count)) return -1;
    std::unique_ptr<TMyShape> shape = CreateShapeBySpTool(tool, owner);
    if (!shape) return -1;

    // The host's coordinate system mirrors the control's; mirroring twice
    // is no mirroring, so the same mapping takes points back.
    TArrMyPoint device;
    device.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) device.push_back(GetMyPointByMode(points[static_cast<size_t>(i)]));
    shape->TakePointsByCode(device, info);

    shape->SetName(name);
    shape->ShapeId = NextShapeId;
    shape->ShapeNo = GetShapesCount();
    // Shapes that keep their centre as a field would otherwise turn about
    // wherever that field was left (the origin for a new shape).
    shape->CenterPoint = shape->ComputeCenterPoint(4);
    shape->SetAngle(static_cast<float>(angle));
    shape->CenterPoint = shape->ComputeCenterPoint(4);
    shape->TextOutPoint = {shape->CenterPoint.X, shape->GetRightBottom().Y + 10.0f};

    TMyShape* added = shape.get();
    if (!AddShape(shape, false, false)) return -1;
    WorkingShape = added;
    if (OnShapeAdded) OnShapeAdded(WorkingShape, GetShapesCount());
    PushtoUndoRedoShapeList({added}, ACT_ADD);
    RemoveAllWorkingShapes();
    WorkingShapes.push_back(added);
    WorkingShape = added;
    if (repaint) Invalidate();
    return added->ShapeId;
}

} // namespace mycad
