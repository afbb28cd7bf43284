#include "cad/canvas/ImageByCode.h"

#include "cad/shapes/Image.h"

namespace mycad {

int32_t AddImageShapeByCode(TMyCAD& cad, const String& name, const TPoint& point, TBitmap* bitmap)
{
    auto image = std::make_unique<TMyImage>(&cad);
    const double zoom = cad.Zoom();
    const TMyPoint first{static_cast<float>(point.X / zoom), static_cast<float>(point.Y / zoom)};
    image->ThePoints.assign(4, first);
    image->SetBitmap(bitmap);
    image->SetName(name);
    image->ShapeId = cad.NextShapeId;
    image->ShapeNo = cad.GetShapesCount();
    // Centre and anchor as for every shape added by code, so the picture
    // turns about its middle and shows its info text below itself.
    image->CenterPoint = image->ComputeCenterPoint(4);
    image->TextOutPoint = {image->CenterPoint.X, image->GetRightBottom().Y + 10.0f};
    const int32_t id = image->ShapeId;
    TMyShape* added = image.get();
    std::unique_ptr<TMyShape> shape = std::move(image);
    if (!cad.AddShape(shape, false, false)) return id;
    cad.WorkingShape = added;
    if (cad.OnShapeAdded) cad.OnShapeAdded(cad.WorkingShape, cad.GetShapesCount());
    cad.PushtoUndoRedoShapeList({added}, ACT_ADD);
    cad.RemoveAllWorkingShapes();
    cad.WorkingShapes.push_back(added);
    cad.WorkingShape = added;
    cad.Invalidate();
    return id;
}

bool SetMyImage(TMyCAD& cad, int32_t id, TBitmap* bitmap)
{
    auto* image = dynamic_cast<TMyImage*>(cad.GetShapeByID(id));
    if (!image) return false;
    image->SetBitmap(bitmap);
    image->CenterPoint = image->ComputeCenterPoint(4);
    cad.Invalidate();
    return true;
}

} // namespace mycad
