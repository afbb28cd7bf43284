// TMyLine: a chain of points joined by segments, with optional filled arrow
// heads at its first and last point. Drawn with the line tool it has two
// points; its subclasses reuse the segments, heads, per-point handles, the
// segment hit test and the per-point sizing for any number of points.
#pragma once

#include "cad/shapes/Shape.h"

namespace mycad {

class TMyLine : public TMyShape {
public:
    /// The arrow settings are copied from the owner.
    explicit TMyLine(TShapeOwner* owner);

    String ClassName() const override;

    void Draging(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    /// Also records the line or polyline end point that `to` finishes on,
    /// while the owner merges lines (a line of class TMyLine only).
    void Drawed(const TPoint& from, TPoint& to) override;
    void DrawHot(TCanvas& canvas) override;
    void Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    bool IsDrawingFinished(TMouseButton button, const TPoint& p) override;
    void Rotating(TCanvas& canvas, const TMyPoint& centre, double angle) override;
    /// Moves the grabbed point by to - from (zoomed).
    void SizeChangeValue(const TMyPoint& from, const TMyPoint& to) override;
    void Sizing(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    /// The base copy plus the arrow length, angle and style of a line source.
    void Assign(const TMyShape& source) override;
    /// Segments, arrow heads and info text. Sets the angle to the direction
    /// of the first segment.
    void Draw(TCanvas& canvas) override;
    /// The length of the first segment in the owner's unit, also stored into
    /// Info. Subclasses of many points measure otherwise or not at all.
    String GetInfo() override;
    int32_t InWhichHot(const TPoint& p) override;
    /// Within 8 device pixels of a segment, at every zoom.
    bool IsClickedMe(TCanvas& canvas, const TPoint& p) override;

    /// The points grown by twice the pen and the arrow heads' reach.
    TPaintArea PaintArea(double penWidth, double zoom) const override;
    /// Horizontal or vertical, placing and pulling an end.
    TShiftConstraint ShiftConstraint(bool sizing) const override;
    /// The segment hit test; on the first segment i that is hit, index is
    /// i + 1, the place where a new point would be inserted; otherwise -1.
    bool IsClickedMeBeforeWhichPoint(int32_t& index, const TPoint& p) const override;
    /// A two-point line joins the lines it is drawn between; subclasses do not.
    bool JoinsLines() const override;
    bool OffersLineEnds() const override;

    /// One arrow head whose point is set back from tip toward next by
    /// ArrowOffset device pixels; zoomed points.
    void DrawTriangle(TCanvas& canvas, const TMyPoint& tip, const TMyPoint& next);
    /// The first line or polyline (other than this one) whose first or last
    /// point has the device point p in its handle hit area: its id and the
    /// point's number; -1 and -1 when there is none.
    void FindMergePoint(const TPoint& p, int32_t& shapeId, int32_t& pointNo) const;

    int32_t ArrowAngle() const { return FArrowAngle; }
    void SetArrowAngle(int32_t value) { FArrowAngle = value; }
    uint8_t ArrowLength() const { return FArrowLength; }
    void SetArrowLength(uint8_t value) { FArrowLength = value; }
    uint8_t ArrowOffset() const { return FArrowOffset; }
    void SetArrowOffset(uint8_t value) { FArrowOffset = value; }
    TArrowStyle ArrowStyle() const { return FArrowStyle; }
    void SetArrowStyle(TArrowStyle value) { FArrowStyle = value; }

    int32_t startMergeShapeId = -1;
    int32_t startMergeShapePointNo = -1;
    int32_t endMergeShapeId = -1;
    int32_t endMergeShapePointNo = -1;

protected:
    /// The heads the arrow style asks for, with the canvas's current pen and brush.
    void DrawArrowHeads(TCanvas& canvas);
    /// Whether the device point lies within the hit band of the segment a-b.
    static bool SegmentHit(const TPoint& a, const TPoint& b, const TPoint& p);

    int32_t FArrowAngle = 30;
    uint8_t FArrowLength = 10;
    uint8_t FArrowOffset = 0;
    TArrowStyle FArrowStyle = TArrowStyle::ANone;
};

} // namespace mycad
