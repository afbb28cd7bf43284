// TMyGroup and TMyCombine: containers of other shapes of the same canvas.
// A container is an ordinary entry of the shape list with a rectangular
// frame (left-top, right-top, right-bottom, left-bottom); its members stay
// entries of the list too, named by ChildShapesNo. The canvas walks the
// members for painting, hit testing, transforms, deletion and z-order, so a
// container itself only draws its information text: the members are drawn
// before it and the text lands above them.
//
// TMyCombine is what placing a library entry of several shapes makes; it
// also carries the entry's link points and user data.
#pragma once

#include "cad/shapes/Rectangle.h"

namespace mycad {

class TMyGroup : public TMyRectangle {
public:
    explicit TMyGroup(TShapeOwner* owner);

    String ClassName() const override;
    /// Only the information text: a container has no outline, fill or
    /// caption of its own.
    void Draw(TCanvas& canvas) override;
    /// Not known: a container is drawn in every paint.
    TPaintArea PaintArea(double penWidth, double zoom) const override;
    bool IsContainer() const override;
};

class TMyCombine : public TMyGroup {
public:
    explicit TMyCombine(TShapeOwner* owner);

    String ClassName() const override;
};

} // namespace mycad
