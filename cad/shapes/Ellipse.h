// TMyEllipse: the ellipse inscribed in a rectangle's box, turned with it.
// TMyElliArc: an arc given by three points (start, through or control point,
// end), open or closed as a chord or a sector.
#pragma once

#include "cad/shapes/Rectangle.h"

namespace mycad {

class TMyEllipse : public TMyRectangle {
public:
    explicit TMyEllipse(TShapeOwner* owner);

    String ClassName() const override;

    /// The canvas's ellipse in the box from..to.
    void Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    /// The outline moved by to - from, stroked and filled with the canvas's
    /// current pen and brush.
    void Draging(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    void Draw(TCanvas& canvas) override;
    /// "Area=" and the area of the ellipse in the owner's unit; also stored into Info.
    String GetInfo() override;

    /// The closed outline in device pixels, moved by (dx, dy): 73 points
    /// every 5 degrees, the first and last at the end of the vertical axis.
    TArrPoint Outline(int32_t dx = 0, int32_t dy = 0) const;
};

class TMyElliArc : public TMyShape {
public:
    /// The arc mode comes from the owner, the style is an open arc.
    explicit TMyElliArc(TShapeOwner* owner);

    String ClassName() const override;

    void Draging(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    /// Placing state: handles at the points so far and, with two, the arc
    /// through them and to.
    void Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    void DrawHot(TCanvas& canvas) override;
    /// Drops a second point on the first or a third on the second; true once
    /// the third point stands apart from the second.
    bool IsDrawingFinished(TMouseButton button, const TPoint& p) override;
    void Rotating(TCanvas& canvas, const TMyPoint& centre, double angle) override;
    /// Moves the grabbed point by to - from (zoomed).
    void SizeChangeValue(const TMyPoint& from, const TMyPoint& to) override;
    void Sizing(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    void Assign(const TMyShape& source) override;
    void Draw(TCanvas& canvas) override;
    /// Mirrors, then exchanges the first and last point so the arc keeps its sense.
    void FlipHoriz() override;
    void FlipVert() override;
    /// Circle mode: the centre of the circle through the three points (the
    /// middle of their box when they lie on one line). Ellipse mode: CenterPoint.
    TMyPoint GetCenterPoint() const override;
    int32_t InWhichHot(const TPoint& p) override;
    /// Inside the triangle of the points, or within 10 pixels of a vertex of
    /// the drawn outline.
    bool IsClickedMe(TCanvas& canvas, const TPoint& p) override;
    /// Not known: the arc is drawn in every paint.
    TPaintArea PaintArea(double penWidth, double zoom) const override;

    /// The vertices that DrawArc issues for three points in hundredths of a
    /// device pixel; closed (chord, sector) tells whether they bound an area
    /// to fill. Empty when the points give no circle.
    static TArrPoint CircleArcPoints(const TArrPoint& centi, TArcStyle style, bool& closed);
    /// The vertices that DrawElliArc issues for such points.
    static TArrPoint ConicArcPoints(const TArrPoint& centi);
    /// The circle-mode arc through the points (hundredths of a pixel), its
    /// chord or sector filled with the shape's brush when fill is true.
    void DrawArc(TCanvas& canvas, const TArrPoint& centi, bool fill);
    /// The ellipse-mode arc from the first to the third point.
    void DrawElliArc(TCanvas& canvas, const TArrPoint& centi);

    TArcMode ArcMode() const { return FArcMode; }
    void SetArcMode(TArcMode value) { FArcMode = value; }
    TArcStyle ArcStyle() const { return FArcStyle; }
    void SetArcStyle(TArcStyle value) { FArcStyle = value; }

protected:
    TArcMode FArcMode = TArcMode::amCircle;
    TArcStyle FArcStyle = TArcStyle::asArc;

private:
    /// Zoomed device points to hundredths of a pixel, three of them: a
    /// missing third point repeats the second, a lone point all three.
    static TArrPoint Centi(const TArrMyPoint& zoomed);
    /// The arc of the current mode, not filled.
    void DrawOutline(TCanvas& canvas, const TArrMyPoint& zoomed);
};

} // namespace mycad
