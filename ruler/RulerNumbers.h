// Numbers of the ruler controls: how many of a unit make a millimetre, and
// the text of a scale label.
#pragma once

#include "platform/Types.h"
#include "ruler/RulerTypes.h"

#include <cstdint>

namespace mycad {

/// Units per millimetre: 1e-6 km, 0.001 m, 0.1 cm, 1 mm, 1/25.4 in, ppi/25.4
/// px; ruNone counts like millimetres.
double UnitsPerMillimetre(TRulerUnit unit, int32_t pixelsPerInch);

/// v with at most two decimals and no trailing zeros ("3", "0.5", "-1.25").
/// The decimals are rounded half away from zero on the number's 15-digit
/// decimal form, so 0.1 * 3 reads "0.3" and 1.005 reads "1.01"; a value that
/// rounds to zero is "0", never "-0". Not-a-number is "NAN", infinities "INF"
/// and "-INF".
String FormatHundredths(double v);

} // namespace mycad
