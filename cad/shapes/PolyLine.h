// The many-point members of the line family. A polyline is placed click by
// click and ended by a double click; a polygon is a closed, filled chain whose
// last point repeats its first; a freehand line is recorded from mouse
// movement and handled as a whole box. They keep the line's segments, arrow
// heads, per-point handles and sizing except where declared here.
#pragma once

#include "cad/shapes/Line.h"

namespace mycad {

class TMyPolyLine : public TMyLine {
public:
    /// Starts without arrow heads, whatever the owner's arrow style.
    explicit TMyPolyLine(TShapeOwner* owner);

    String ClassName() const override;

    /// More than two points whose last two coincide (zoomed): the second
    /// click of a double click lands on the first, so the duplicate is
    /// dropped and the polyline is finished.
    bool IsDrawingFinished(TMouseButton button, const TPoint& p) override;

    /// Pulling a vertex is not constrained; placing one is.
    TShiftConstraint ShiftConstraint(bool sizing) const override;
    TVertexEditing VertexEditing() const override;
    bool JoinsLines() const override;
    /// No measurement: empty, and Info is left as it is.
    String GetInfo() override;

    /// Appends a device point given in the host's coordinate system (the
    /// owner's XYMode): the inverse of GetPointInZoomWithMode.
    void AppendPoint(const TPoint& p);
};

class TMyPolygon : public TMyPolyLine {
public:
    using TMyPolyLine::TMyPolyLine;

    String ClassName() const override;

    /// With more than three points: a release strictly within HotSize of the
    /// first point, or of the next-to-last one (a double click), closes the
    /// polygon by making its last point equal to its first.
    bool IsDrawingFinished(TMouseButton button, const TPoint& p) override;
    /// The filled outline and the info text, without arrow heads.
    void Draw(TCanvas& canvas) override;
    /// A handle at every corner; the closing duplicate has none of its own.
    void DrawHot(TCanvas& canvas) override;
    /// Inside the outline only (alternate rule), with no band along the edges.
    bool IsClickedMe(TCanvas& canvas, const TPoint& p) override;
    /// Moving the first or the closing point moves both, so the polygon
    /// stays closed.
    void SizeChangeValue(const TMyPoint& from, const TMyPoint& to) override;
    void Sizing(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    /// "Area=" and the covered area in the owner's unit; also stored into Info.
    String GetInfo() override;
    /// Not known: the polygon is drawn in every paint.
    TPaintArea PaintArea(double penWidth, double zoom) const override;
    TVertexEditing VertexEditing() const override;
    bool OffersLineEnds() const override;
    /// The left-top of the polygon's own unrotated box, turned with it.
    TMyPoint GradientOrigin() const override;
    /// The points, closed by the first one again.
    void TakePointsByCode(const TArrMyPoint& zoomed, const String& info) override;

    /// The number of document-unit pixels that the filled polygon and its
    /// 1-pixel outline cover inside its bounding box.
    double MeasureArea() const;
};

class TMyFreeLine : public TMyPolyLine {
public:
    using TMyPolyLine::TMyPolyLine;

    String ClassName() const override;

    /// Finished from the second point on.
    bool IsDrawingFinished(TMouseButton button, const TPoint& p) override;
    /// Paints the new piece with the shape's own pen: the line is laid down
    /// as the mouse moves, not shown as a rubber band.
    void Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    /// A red rectangle around the zoomed bounding box; no point handles.
    void DrawHot(TCanvas& canvas) override;
    /// Anywhere inside the zoomed bounding box.
    bool IsClickedMe(TCanvas& canvas, const TPoint& p) override;
    /// The bounding box's outline moved by to - from.
    void Draging(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    bool OffersLineEnds() const override;
    bool OffersHandles() const override;

    /// The zoomed bounding box, rounded to device pixels.
    TRect ZoomedBox() const;
};

} // namespace mycad
