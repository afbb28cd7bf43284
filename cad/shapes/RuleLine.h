// TMyRuleLine: a measuring line. A two-point line with arrow heads at both
// ends, a short tick across each end and, above the line, either its
// measured length in the owner's unit or a text of the user's own. The text
// runs along the line and is turned so that it never stands upside down.
#pragma once

#include "cad/shapes/Line.h"

namespace mycad {

class TMyRuleLine : public TMyLine {
public:
    /// A line with heads at both ends (20 pixels long, 10 degrees wide), an
    /// 8-point font and ticks; the arrow offset stays the owner's.
    explicit TMyRuleLine(TShapeOwner* owner);

    String ClassName() const override;

    /// Moves the grabbed end, then refreshes the angle (of the segment, in
    /// (-pi/2, pi/2]) and the measured length in Info.
    void SizeChangeValue(const TMyPoint& from, const TMyPoint& to) override;
    /// The line copy plus the user's text, whether it is shown, and the tick style.
    void Assign(const TMyShape& source) override;
    /// Segment, heads, ticks 20 device pixels across the ends at any zoom,
    /// and the text 3 pixels above the line. Sets the angle to the line's
    /// direction and, unless the user's text is shown, Info to the length.
    /// The info texts of other shapes are not drawn.
    void Draw(TCanvas& canvas) override;
    /// Not known: the ticks and the text reach past the points.
    TPaintArea PaintArea(double penWidth, double zoom) const override;
    /// A dimension stays on its own: it neither joins lines nor offers its ends.
    bool JoinsLines() const override;
    bool OffersLineEnds() const override;

    bool ShowUserInfo() const { return FShowUserInfo; }
    void SetShowUserInfo(bool value) { FShowUserInfo = value; }
    TTickStyle TickStyle() const { return FTickStyle; }
    void SetTickStyle(TTickStyle value) { FTickStyle = value; }
    String UserInfo() const { return FUserInfo; }
    void SetUserInfo(const String& value) { FUserInfo = value; }

protected:
    bool FShowUserInfo = false;
    TTickStyle FTickStyle = TTickStyle::tsLine;
    String FUserInfo;

private:
    /// Ticks and text of the first segment.
    void DrawMeasure(TCanvas& canvas);
};

} // namespace mycad
