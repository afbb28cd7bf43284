// TMyLinkPoint: a small square marker the user places on a drawing; library
// entries turn such markers into the link points of the shapes they make.
// TMyLineLinkLine: a junction dot where connectors meet, with a single link
// point at its centre. Placed on a connector it splits that connector so
// that both halves and the connectors drawn to the dot follow it.
#pragma once

#include "cad/shapes/Rectangle.h"

namespace mycad {

class TMyLinkPoint : public TMyRectangle {
public:
    explicit TMyLinkPoint(TShapeOwner* owner);

    String ClassName() const override;
    /// The rubber band: a circle of Size pixels from the press point.
    void Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to) override;
    /// The first press places the whole square, Size zoomed pixels wide,
    /// centred on p: left-top, right-top, right-bottom, left-bottom.
    void AddPointByMouse(const TPoint& p) override;
    /// The square's two diagonals.
    void Draw(TCanvas& canvas) override;
    /// No handles: a link point is not sized.
    int32_t InWhichHot(const TPoint& p) override;
    bool IsDrawingFinished(TMouseButton button, const TPoint& p) override;

    /// The box's copy plus the size of the mark.
    void Assign(const TMyShape& source) override;

    uint8_t Size() const { return FSize; }
    void SetSize(uint8_t value) { FSize = value; }

protected:
    uint8_t FSize = 8;
};

class TMyLineLinkLine : public TMyLinkPoint {
public:
    explicit TMyLineLinkLine(TShapeOwner* owner);

    String ClassName() const override;
    /// Placed on a connector, splits it there and moves onto the segment.
    void Drawed(const TPoint& from, TPoint& to) override;
    /// Handles: the dot in the hot colour.
    void DrawHot(TCanvas& canvas) override;
    /// As the link point; with the square complete its one link point is the centre.
    void AddPointByMouse(const TPoint& p) override;
    /// A filled dot.
    void Draw(TCanvas& canvas) override;
    /// A click on a junction picks it before the connectors that meet there.
    bool PickedFirst() const override;
    /// Its square round the first point, with the one link point connectors
    /// attach to; the other points only place it.
    void TakePointsByCode(const TArrMyPoint& zoomed, const String& info) override;
};

} // namespace mycad
