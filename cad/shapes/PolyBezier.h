// TMyPolyBezier: a chain of cubic Bezier segments. Its points are P0, then
// groups of two control points and an end point, so a complete chain has
// 3n + 1 points and every third point (P0, P3, P6, ...) lies on the curve.
//
// The user clicks control points only: whenever a click completes a
// segment, the clicked point becomes the first control point of the next
// segment and the joint between the two is placed halfway between the
// control points on either side of it, so the chain is smooth at every
// joint. Moving a control point by its handle turns its opposite number
// about the joint, which keeps the joint smooth.
#pragma once

#include "cad/shapes/Shape.h"

namespace mycad {

class TMyPolyBezier : public TMyShape {
public:
    using TMyShape::TMyShape;

    String ClassName() const override;

    /// All points moved by the whole-pixel distance to - from.
    void Draging(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    /// Handles at every point, the grey tangent through each joint and the
    /// text anchor's diamond.
    void DrawHot(TCanvas& canvas) override;
    /// Rubber band: the points so far, then copies of the mouse point `to`
    /// up to the end of the next segment.
    void Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    /// A double click (the last two points equal, zoomed) ends a chain of
    /// at least four points; the duplicate is dropped and an unfinished last
    /// segment is completed with copies of p.
    bool IsDrawingFinished(TMouseButton button, const TPoint& p) override;
    void Rotating(TCanvas& canvas, const TMyPoint& centre, double angle) override;
    /// Moves the grabbed point by to - from (zoomed). A joint takes both its
    /// control points along; a control point next to an inner joint turns
    /// the control point on the joint's other side by the same angle.
    void SizeChangeValue(const TMyPoint& from, const TMyPoint& to) override;
    void Sizing(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    /// Appends the point; when it completes a segment, it is moved on to
    /// start the next one and the joint is placed (see above).
    void AddPointByMouse(const TPoint& p) override;
    /// The curve, filled unless the brush is clear, and the info text.
    void Draw(TCanvas& canvas) override;
    /// The last point whose handle holds p, or -1.
    int32_t InWhichHot(const TPoint& p) override;
    /// Within 10 device pixels of the flattened curve.
    bool IsClickedMe(TCanvas& canvas, const TPoint& p) override;
    /// The curve stays inside the box of its control points, grown by the pen.
    TPaintArea PaintArea(double penWidth, double zoom) const override;

    /// a + (b - a) / 2.
    static TMyPoint LineCenterPoint(const TMyPoint& a, const TMyPoint& b);
    /// The hit test without a device path: the curve is rendered in black
    /// into a bitmap of its zoomed bounding box, and the click hits when a
    /// black pixel lies within 10 pixels of it.
    bool IsClickedMeforNET(TCanvas& canvas, const TPoint& p);

private:
    /// The zoomed points as they would stand after SizeChangeValue(from, to).
    TArrMyPoint SizedPoints(const TMyPoint& from, const TMyPoint& to) const;
};

} // namespace mycad
