// What the Qt property faces of the controls share: colours between TColor
// and QColor, and enumerations between the controls' scoped enums and the
// Q_ENUM copies that Qt Designer lists.
#pragma once

#include "platform/Types.h"

#include <QColor>

namespace mycad {

/// The colour a TColor stands for; system colours resolve as the controls
/// paint them.
inline QColor ToQColor(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

/// A plain TColor (0x00BBGGRR) of a QColor; alpha is dropped.
inline TColor FromQColor(const QColor& c)
{
    return RGB(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()), static_cast<uint8_t>(c.blue()));
}

/// One enumeration's value as the same ordinal of another.
template <typename To, typename From>
To EnumAs(From value)
{
    return static_cast<To>(static_cast<int>(value));
}

} // namespace mycad

/// Stops the build when a Q_ENUM copy (Class::value) and the control's
/// enumeration (Enum::value) give a value different ordinals.
#define MYCAD_SAME_ORDINAL(Class, Enum, value) \
    static_assert(static_cast<int>(Class::value) == static_cast<int>(Enum::value))
