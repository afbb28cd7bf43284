// TMyLinkLine: a connector. A chain of points whose two ends may sit on link
// points of other shapes, named by the shape's list number and the link
// point's index; the attached shape lists the connector in its LinkShapesNo.
// In the orthogonal style the route runs in horizontal and vertical legs and
// is re-computed when the shapes at its ends move; in the free style it is
// one straight segment. Where connectors cross, horizontal segments hop over
// vertical ones.
#pragma once

#include "cad/connectors/AvoidRouter.h"
#include "cad/connectors/Routing.h"
#include "cad/shapes/Line.h"

namespace mycad {

/// The application's own cursor: over the middle of a connector that the
/// connector being drawn or sized would join.
inline constexpr TCursor crBreakLine = static_cast<TCursor>(1);

class TMyLinkLine : public TMyLine {
public:
    /// Both ends free, automatic routing, the owner's draw style.
    explicit TMyLinkLine(TShapeOwner* owner);

    String ClassName() const override;

    /// Moves the points; moved alone (not with other shapes) both ends are
    /// attached again where they now lie, or freed.
    void DragChangeValuedxdy(double dx, double dy) override;
    /// Attaches the end where the mouse was released, routes between the
    /// attached ends, and joins a free end onto the middle of another
    /// connector.
    void Drawed(const TPoint& from, TPoint& to) override;
    /// End handles, corner diamonds and segment centres (orthogonal style);
    /// end handles at every point (free style).
    void DrawHot(TCanvas& canvas) override;
    /// The route from the start (or its link point) to `to`.
    void Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    TCursor GetMouseCursor(int32_t x, int32_t y) override;
    bool IsDrawingFinished(TMouseButton button, const TPoint& p) override;
    /// Route editing: an end handle moves (and attaches or frees) its end; a
    /// corner or segment handle reshapes the route, which then stops being
    /// routed automatically.
    void SizeChangeValue(const TMyPoint& from, const TMyPoint& to) override;
    void Sizing(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    /// The line's copy plus both ends and the draw style.
    void Assign(const TMyShape& source) override;
    /// Tidies the route, then draws it with hops, arrow heads and info text.
    void Draw(TCanvas& canvas) override;
    /// Vertices 0..count-1, segments count + i; a segment wins over a vertex.
    int32_t InWhichHot(const TPoint& p) override;
    std::vector<int32_t*> ConnectorEndRefs() override;
    /// The line's area grown by the hops above its horizontal segments.
    TPaintArea PaintArea(double penWidth, double zoom) const override;
    /// Pulling a route handle is not constrained; placing an end is.
    TShiftConstraint ShiftConstraint(bool sizing) const override;
    /// A connector neither joins lines nor offers its ends to them.
    bool JoinsLines() const override;
    bool OffersLineEnds() const override;
    /// No measurement: empty, and Info is left as it is.
    String GetInfo() override;

    // ---- Attachment. Ends are named by list number and link point index;
    // -1 and -1 is a free end.

    /// Attach the start (end) to link point k of the shape with that id and
    /// re-route. False, changing nothing, for an unknown shape or index.
    bool CreateSrcLink(int32_t shapeId, int32_t k);
    bool CreateDestLink(int32_t shapeId, int32_t k);
    /// Free the start, the end or both; the shapes' lists are not touched.
    void RemoveSrcLink();
    void RemoveDestLink();
    void RemoveAllLink();
    void SetStartSpNo(int32_t value) { FStartSpNo = value; }
    void SetStartSpPtId(int32_t value) { FStartSpPtId = value; }
    void SetEndSpNo(int32_t value) { FEndSpNo = value; }
    void SetEndSpPtId(int32_t value) { FEndSpPtId = value; }
    int32_t StartSpNo() const { return FStartSpNo; }
    int32_t StartSpPtId() const { return FStartSpPtId; }
    int32_t EndSpNo() const { return FEndSpNo; }
    int32_t EndSpPtId() const { return FEndSpPtId; }
    /// The shape at the start (end), nullptr when free or when the number
    /// names no shape.
    TMyShape* GetStartShape() const;
    TMyShape* GetEndShape() const;
    /// The end sits on an existing link point of an existing shape.
    bool IsStartAttached() const;
    bool IsEndAttached() const;
    /// Zoomed: the attached link point, else the first (last) point.
    TMyPoint GetStartPoint() const;
    TMyPoint GetEndPoint() const;

    // ---- Routing.

    TLinkLineDrawStyle LinkLineDrawStyle() const { return FLinkLineDrawStyle; }
    /// To the free style: one straight segment. To the orthogonal style:
    /// automatic routing again, and a route between the ends.
    void SetLinkLineDrawStyle(TLinkLineDrawStyle value);
    /// Stores the style as a document holds it, without re-routing.
    void SetStoredLinkLineDrawStyle(TLinkLineDrawStyle value) { FLinkLineDrawStyle = value; }
    /// Computes and stores the route between zoomed points, each on a shape
    /// or not; dir is the move before the first leg. With a preview canvas
    /// the old route is erased and the new one drawn in the rubber-band mode.
    void Route(TMyShape* startShape, const TMyPoint& start, TMyShape* endShape, const TMyPoint& end,
               Tdirections dir, TCanvas* preview);
    /// Routes between the current ends (attached link points or end points).
    void RouteBetweenEnds(TCanvas* preview = nullptr);
    /// Tidies the route (see MergeRoutePoints).
    void MergePoints();
    int32_t IsLineHV(const TMyPoint& a, const TMyPoint& b) const { return mycad::IsLineHV(a, b); }
    int32_t SplitALine(const TMyPoint& a, const TMyPoint& b, TMyPoint& mid) const { return mycad::SplitALine(a, b, mid); }

    // ---- Handle painters (zoomed points).

    void DrawStartEnd(TCanvas& canvas, const TMyPoint& p);
    void DrawCorner(TCanvas& canvas, const TMyPoint& p);
    void DrawCenter(TCanvas& canvas, const TMyPoint& p);
    /// The hop: the upper half circle of radius R x zoom centred on p.
    void DrawHalfCircle(TCanvas& canvas, const TMyPoint& p);

    /// True while the route is computed automatically; false once the user
    /// reshaped its middle.
    bool IsAutoMode = true;
    /// The segment the user placed, in document units, which the avoiding
    /// router keeps while it routes the rest; none while automatic.
    std::optional<TRoutePin> Pin;
    /// The avoiding router found no route clear of the shapes: the route is
    /// a fallback, drawn dashed.
    bool Unroutable = false;
    /// Back to automatic routing: forgets the placed segment and routes
    /// again between the ends.
    void ResetRoute();
    /// Radius of a hop in document units.
    int32_t R = 8;

private:
    bool CreateLinkAt(bool start, int32_t shapeId, int32_t k);
    /// The route in zoomed points with handle h dragged by (dx, dy).
    TArrMyPoint EditedRoute(int32_t h, double dx, double dy) const;
    void SetZoomedPoints(const TArrMyPoint& pts);
    void HandleMode(TCanvas& canvas) const;

    int32_t FEndSpNo = -1;
    int32_t FEndSpPtId = -1;
    TLinkLineDrawStyle FLinkLineDrawStyle = TLinkLineDrawStyle::lldsHV;
    int32_t FStartSpNo = -1;
    int32_t FStartSpPtId = -1;
};

/// Frees the start (startEnd) or the end of any connector: a connector line
/// forgets the shape and the link point; other connectors the shape number.
/// Nothing for a shape that is no connector.
void FreeConnectorEnd(TMyShape& connector, bool startEnd);

} // namespace mycad
