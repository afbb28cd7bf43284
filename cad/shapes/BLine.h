// TMyBLine: an interpolating uniform cubic B-spline. The curve passes
// through every clicked point: before each use the points are copied (in
// zoom) into a work area of vertices, the B-spline control points that make
// the curve pass through them are solved for, and the curve is drawn from
// 601 samples.
//
// The work area has a fixed block of kMaxBLinePoints + 2 slots: slot 0 and
// the slot after the last vertex hold phantom points that make the curve
// start and end on the first and last vertex. A B-spline therefore holds at
// most kMaxBLinePoints points; a click past that finishes it.
#pragma once

#include "cad/shapes/Shape.h"

#include <array>

namespace mycad {

inline constexpr int32_t kMaxBLinePoints = 100;

/// The vertex work area: phantom, up to kMaxBLinePoints vertices, phantom.
using TSplineRow = std::array<TMyPoint, kMaxBLinePoints + 2>;

class TMyBLine : public TMyShape {
public:
    using TMyShape::TMyShape;

    String ClassName() const override;

    /// The curve through the points moved by the whole-pixel distance to - from.
    void Draging(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    /// Handles at every point and the text anchor's diamond.
    void DrawHot(TCanvas& canvas) override;
    /// Rubber band: the curve through the points and the mouse point `to`
    /// (which replaces the last point while IsPath is set), with handles at
    /// the clicked points. Nothing while the mouse shares a row or a column
    /// with the last fixed point.
    void Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    /// A double click (the last two of more than three points equal,
    /// zoomed) drops the duplicate and ends the curve; so does a click that
    /// finds the curve full.
    bool IsDrawingFinished(TMouseButton button, const TPoint& p) override;
    void Rotating(TCanvas& canvas, const TMyPoint& centre, double angle) override;
    /// Moves the grabbed point by to - from (zoomed).
    void SizeChangeValue(const TMyPoint& from, const TMyPoint& to) override;
    void Sizing(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    /// Appends the point; once the curve holds kMaxBLinePoints points, a
    /// further point is not taken and the next IsDrawingFinished ends it.
    void AddPointByMouse(const TPoint& p) override;
    /// The curve, never filled, and the info text.
    void Draw(TCanvas& canvas) override;
    /// The last point whose handle holds p, or -1.
    int32_t InWhichHot(const TPoint& p) override;
    /// Within 10 device pixels of the flattened curve.
    bool IsClickedMe(TCanvas& canvas, const TPoint& p) override;

    /// Appends a vertex (nothing once the work area is full) and renews the phantoms.
    void AddVertex(const TMyPoint& p);
    /// Slot 0 and slot NoPoints + 1 continue the first and last vertex
    /// straight on, so the curve ends on them.
    void PhantomPoints();
    /// Replaces the vertices Q by the control points C that make the curve
    /// pass through them, (C[i-1] + 4 C[i] + C[i+1]) / 6 = Q[i], with the
    /// ends held. Runs of coincident vertices stay fixed. A system whose
    /// elimination meets a vanishing pivot leaves the vertices as they are.
    void Interpolate();
    /// The curve at t in [0, 1] from the vertices in the work area.
    TMyPoint GetVPoint(float t) const;
    /// 601 samples from t = 0 to 1, joined by lines.
    void DrawBLine(TCanvas& canvas);
    /// Where a click inserts a point: index is the first point that the
    /// curve reaches after passing the click, -1 when the click is not on
    /// the curve or lies after the last point. False when the curve could
    /// not be read back from the control's canvas.
    bool IsClickedMeBeforeWhichPoint(int32_t& index, const TPoint& p) const override;
    /// Single points are added and removed; the curve stays open.
    TVertexEditing VertexEditing() const override;

    /// Refills the work area from zoomed points (at most kMaxBLinePoints of
    /// them) and interpolates.
    void LoadVertices(const TArrMyPoint& zoomed);

    TSplineRow VertexList{};
    int32_t NoPoints = 0;
    /// While set, the rubber band moves the last point instead of a new one.
    bool IsPath = false;

private:
    /// The flattened curve as drawn on the canvas at the current points.
    TArrPoint FlattenedCurve(TCanvas& canvas);
    /// The curve through zoomed points, for the rubber bands.
    void DrawThrough(TCanvas& canvas, const TArrMyPoint& zoomed);
    bool FFull = false;
    /// The samples Draw last joined, without repeats, and the zoomed points
    /// they were taken through: a repaint of an unchanged curve walks them
    /// again instead of solving and sampling the curve anew.
    TArrMyPoint FSampledThrough;
    TArrPoint FSamples;
};

} // namespace mycad
