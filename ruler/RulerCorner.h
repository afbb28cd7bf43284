// TRsRulerCorner: the square where two rulers meet. It continues the label
// bands of both rulers and shows the abbreviation of their unit, with the
// unit's full name as its hint (shown when the host turns ShowHint on).
#pragma once

#include "ruler/BaseRuler.h"

namespace mycad {

class TRsRulerCorner : public TRsBaseRuler {
public:
    /// A 24 x 24 left-top corner showing "cm".
    explicit TRsRulerCorner(TWinControl* parent = nullptr);

    TCornerPos Position() const { return fPosition; }
    void SetPosition(TCornerPos value);
    /// Stores the unit and shows its abbreviation and name.
    void SetUnit(TRulerUnit value) override;
    /// The abbreviation shown: "km", "m", "cm", "mm", "in", "px", or nothing.
    String UnitText() const { return fUStr; }

    /// The abbreviation and the full name of a unit.
    static String UnitAbbreviation(TRulerUnit unit);
    static String UnitName(TRulerUnit unit);

protected:
    void Paint() override;

private:
    TCornerPos fPosition = TCornerPos::cpLeftTop;
    String fUStr;
};

} // namespace mycad
