// TMyText: a text box. A rectangle (turned with its box) that shows its
// Lines aligned within the box, optionally wrapped, or, without lines, its
// Info centred in the box with extra space between the characters. Text is
// drawn at the canvas zoom, turned by the box's angle, filled or as hollow
// glyph outlines in the pen colour.
#pragma once

#include "cad/shapes/Rectangle.h"
#include "platform/Classes.h"

namespace mycad {

/// Vertical alignment of the lines of a text box (stored in documents).
enum class TVAlignment : uint8_t { vaTop = 0, vaMiddle = 1, vaBottom = 2 };

class TMyText : public TMyRectangle {
public:
    explicit TMyText(TShapeOwner* owner);

    String ClassName() const override;

    /// The rectangle's copy, then every field of a text box: borders, fill,
    /// lines, both alignments, the wrap switch and the character spacing, so
    /// undo snapshots and pasted copies look exactly like their source.
    void Assign(const TMyShape& source) override;
    void Draw(TCanvas& canvas) override;
    /// Mirrors as every shape does, then puts the corners back in the order
    /// left-top, right-top, right-bottom, left-bottom; a turned box turns by
    /// half a turn more.
    void FlipHoriz() override;
    void FlipVert() override;
    /// The Info text itself (no measurement replaces it).
    String GetInfo() override;
    /// Not known: the text may reach past a box turned or too small for it.
    TPaintArea PaintArea(double penWidth, double zoom) const override;
    /// The text is the box's content, not a caption beside it.
    bool ShowsInfoCaption() const override;
    /// The box's corners, and the text it shows.
    void TakePointsByCode(const TArrMyPoint& zoomed, const String& info) override;

    /// Sizes the box to the Info text at zoom 1, keeping point 0 and the angle.
    void reCaclpoints(TCanvas& canvas);
    /// As reCaclpoints, measuring and turning by angle instead of Angle.
    void reCaclpoints3(TCanvas& canvas, double angle);
    /// The laid-out text as a flattened outline: device points and their
    /// path point types (PT_MOVETO, PT_LINETO, with PT_CLOSEFIGURE), two
    /// arrays of equal length. The Info text is taken without mirroring and
    /// without character spacing.
    void GetPathPoints(TCanvas& canvas, TArrPoint& points, TArrByte& types);

    /// The lines as the box shows them in width device pixels: Lines as
    /// they are, or with WordWrap each line wider than the box broken
    /// between characters (a character wider than the box gets a line of
    /// its own after an empty one). Measured with the shape's font at the
    /// angle and zoom.
    TStringList ShownLines(TCanvas& canvas, int32_t width, double zoom) const;

    int16_t CharacterSpace() const { return FCharacterSpace; }
    void SetCharacterSpace(int16_t value) { FCharacterSpace = value; }
    TAlignment HAlignment() const { return FHAlignment; }
    void SetHAlignment(TAlignment value) { FHAlignment = value; }
    bool IsBorder() const { return FIsBorder; }
    void SetIsBorder(bool value) { FIsBorder = value; }
    bool IsSolid() const { return FIsSolid; }
    void SetIsSolid(bool value) { FIsSolid = value; }
    TStringList& Lines() { return FLines; }
    const TStringList& Lines() const { return FLines; }
    void SetLines(const TStringList& value) { FLines.Assign(value); }
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment value) { FVAlignment = value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value) { FWordWrap = value; }

private:
    void CopyTextFields(const TMyShape& source);
    /// Writes the laid-out text on the canvas (into its path when one is
    /// open); plain leaves out the mirroring and the character spacing.
    void OutputText(TCanvas& canvas, bool plain);
    /// Writes Info at the device point p (the top-left of its unturned box of
    /// size w x h), through a mirroring world transform when the box is flipped.
    void OutputMirroredInfo(TCanvas& canvas, const TMyPoint& p, const TSize& size);
    void ResizeToInfo(TCanvas& canvas, double angle);

    int16_t FCharacterSpace = 0;
    TAlignment FHAlignment = TAlignment::taCenter;
    bool FIsBorder = false;
    bool FIsSolid = true;
    TStringList FLines;
    TVAlignment FVAlignment = TVAlignment::vaMiddle;
    bool FWordWrap = false;
};

} // namespace mycad
