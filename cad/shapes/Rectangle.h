// TMyRectangle: the rectangle, and the base of every box-like shape. Its four
// points go round the box from the press point: p1 shares p0's row, p3 its
// column. It may be turned by any angle; handles and sizing work in its own
// unrotated frame and turn the result back.
#pragma once

#include "cad/shapes/Shape.h"

namespace mycad {

class TMyRectangle : public TMyShape {
public:
    explicit TMyRectangle(TShapeOwner* owner);

    String ClassName() const override;

    void Draging(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    void DrawHot(TCanvas& canvas) override;
    void Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    /// "m=" width, a carriage return, "n=" height of the box from..to.
    String GetLengthByUnit(const TPoint& from, const TPoint& to) override;
    /// A sizing cursor for the handle under (x, y); the cross elsewhere.
    TCursor GetMouseCursor(int32_t x, int32_t y) override;
    bool IsDrawingFinished(TMouseButton button, const TPoint& p) override;
    void Rotating(TCanvas& canvas, const TMyPoint& centre, double angle) override;
    /// Moves the grabbed handle toward the zoomed target; a corner cannot
    /// cross the opposite corner's row or column (the target is then refused).
    void SizeChangeValue(const TMyPoint& from, const TMyPoint& to) override;
    void Sizing(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    /// The first press gives p0; the second point completes the box unless it
    /// lies on p0's row or column.
    void AddPointByMouse(const TPoint& p) override;
    void Draw(TCanvas& canvas) override;
    /// Always the centre of the bounding box of the four points.
    TMyPoint GetCenterPoint() const override;
    /// "Area=" and the area in the owner's unit; also stored into Info.
    String GetInfo() override;
    /// 0..3 the corners, 4..7 the middles of the edges p0-p1, p1-p2, p2-p3, p3-p0.
    TMyPoint GetPoint(int32_t index) const override;
    int32_t InWhichHot(const TPoint& p) override;
    /// Inside the outline, whatever the brush.
    bool IsClickedMe(TCanvas& canvas, const TPoint& p) override;

    /// The four points grown by twice the pen.
    TPaintArea PaintArea(double penWidth, double zoom) const override;
    /// A square, placing the box and pulling a handle.
    TShiftConstraint ShiftConstraint(bool sizing) const override;
    /// A side handle pulls from the corner before it.
    int32_t HandlePointNo(int32_t hotId) const override;
    /// Side handles, unless AssociateSideResizing.
    bool HandleSizesOneSide(int32_t hotId) const override;
    bool ResizesToHandlerPoint() const override;

    /// The closed outline pts[0] .. pts[3], pts[0] with the canvas's pen.
    static void DrawRectangle(TCanvas& canvas, const TArrPoint& pts);

    bool AssociateSideResizing() const { return FAssociateSideResizing; }
    void SetAssociateSideResizing(bool value) { FAssociateSideResizing = value; }
    bool ShowSideHot() const { return FShowSideHot; }
    void SetShowSideHot(bool value) { FShowSideHot = value; }
    bool ShowHorizontalSideHot() const { return FShowHorizontalSideHot; }
    void SetShowHorizontalSideHot(bool value) { FShowHorizontalSideHot = value; }
    bool ShowVerticalSideHot() const { return FShowVerticalSideHot; }
    void SetShowVerticalSideHot(bool value) { FShowVerticalSideHot = value; }

protected:
    /// "Area=" and an area given in document pixels, in the owner's unit and
    /// ratio; also stored into Info.
    String AreaInfo(double area);

    bool FAssociateSideResizing = false;
    bool FShowSideHot = true;
    bool FShowHorizontalSideHot = true;
    bool FShowVerticalSideHot = true;

private:
    /// The handles that exist now: the corners, then the side handles the
    /// switches and the current tool allow.
    std::vector<int32_t> ExistingHandles() const;
    /// The four points after moving handle hot to the document target; false
    /// when the target is refused.
    bool SizedPoints(int32_t hot, const TMyPoint& target, TArrMyPoint& result) const;
    /// The four points zoomed and rounded, closed by p0 again when closed is true.
    TArrPoint ZoomedCorners(bool closed) const;
};

} // namespace mycad
