// TMyCAD: turning a drawing tool or a stored class name into a shape object,
// through the shape catalogue.
#include "cad/canvas/MyCAD.h"

#include "cad/canvas/ShapeCatalogue.h"

namespace mycad {

std::unique_ptr<TMyShape> TMyCAD::CreateShapeBySpTool(TDrawTool tool, TShapeOwner* owner)
{
    // New shapes always belong to this canvas, whatever the caller passes.
    (void)owner;
    const TShapeClassRow* row = FindShapeClassByTool(tool);
    return row ? row->Make(this) : nullptr;
}

std::unique_ptr<TMyShape> TMyCAD::CreateShapeByName(const String& className, TShapeOwner* canvas)
{
    const TShapeClassRow* row = FindShapeClass(className);
    return row ? row->Make(canvas ? canvas : this) : nullptr;
}

} // namespace mycad
