// The common base of the ruler and its corner: the control's colour and font,
// the colours of the label band and the ticks, the unit, a flat or raised look,
// and the three fonts labels are written in (upright, and turned a quarter
// either way for rulers at the left and right of a drawing).
#pragma once

#include "platform/Control.h"
#include "platform/Graphics.h"
#include "platform/Types.h"
#include "ruler/RulerTypes.h"

#include <optional>

namespace mycad {

class TRsBaseRuler : public TGraphicControl {
public:
    explicit TRsBaseRuler(TWinControl* parent = nullptr);
    ~TRsBaseRuler() override;
    TRsBaseRuler(const TRsBaseRuler&) = delete;
    TRsBaseRuler& operator=(const TRsBaseRuler&) = delete;

    /// The background of the control outside the label band; clBtnFace at start.
    TColor Color() const { return fColor; }
    void SetColor(TColor value);
    /// The font of the labels and of the corner's unit. Any change to it
    /// recreates the label fonts and repaints.
    TFont& Font() { return fFont; }
    const TFont& Font() const { return fFont; }
    void SetFont(const TFont& value) { fFont.Assign(value); }

    /// No raised edge around the control; false at start.
    bool Flat() const { return fFlat; }
    void SetFlat(bool value);
    /// The colour of the label band; the system window colour at start.
    TColor ScaleColor() const { return fScaleColor; }
    void SetScaleColor(TColor value);
    /// The colour of the ticks; the system window-text colour at start.
    TColor TickColor() const { return fTickColor; }
    void SetTickColor(TColor value);
    /// The unit the scale counts in; ruCenti at start.
    TRulerUnit Units() const { return fUnits; }
    virtual void SetUnit(TRulerUnit value);
    String VersionInfo() const { return fVersionInfo; }
    void SetVersionInfo(const String& value);

    /// While set (a host restoring saved settings), changes that would adjust
    /// the control's size leave it as it is.
    bool IsLoading() const { return fIsLoading; }
    void SetIsLoading(bool value) { fIsLoading = value; }

protected:
    /// Rebuilds the three label fonts from Font and gives the canvas Font's
    /// colour for text.
    void ChangeFonts();
    void DeleteFonts();
    /// Font was changed: new label fonts and a repaint.
    void FontChange();
    /// Fills the control with Color; the first paint creates the label fonts.
    void Paint() override;
    /// A size change moves everything on a ruler, even the start of a
    /// reversed scale: paint it all again.
    void Resize() override;

    /// Selects one of the label fonts on the canvas (creating them first when
    /// needed); RestoreOldFont returns the canvas to its own font.
    void SelectNormFont() { SelectFont(NormFont); }
    void SelectLeftSideFont() { SelectFont(LeftSideFont); }
    void SelectRightSideFont() { SelectFont(RightSideFont); }
    void RestoreOldFont();
    /// The height of "0" in the upright label font.
    int32_t NormTextHeight();

    /// The two-pixel raised edge around the client rectangle.
    void DrawRaisedEdge();
    /// The width of the edge: 1 when flat, else 2.
    int32_t BorderWidth() const { return fFlat ? 1 : 2; }
    /// Inverts every bit of the pixels in r (either corner first); doing it
    /// twice restores them.
    void InvertRect(const TRect& r);

    bool fFlat = false;
    TColor fScaleColor = clWindow;
    TColor fTickColor = clWindowText;
    TRulerUnit fUnits = TRulerUnit::ruCenti;
    String fVersionInfo;
    /// Descriptions of the turned and upright label fonts.
    TLogFont LeftSideLF;
    TLogFont RightSideLF;
    TLogFont NormLF;
    /// The fonts made from them; empty until first needed and after DeleteFonts.
    std::optional<TLogFont> NormFont;
    std::optional<TLogFont> LeftSideFont;
    std::optional<TLogFont> RightSideFont;
    bool FirstTime = true;

private:
    void SelectFont(const std::optional<TLogFont>& font);

    TColor fColor = clBtnFace;
    TFont fFont;
    bool fIsLoading = false;
};

} // namespace mycad
