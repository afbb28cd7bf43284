// Enumerations of the ruler controls. The ordinals are those hosts store in
// their settings and must not change.
#pragma once

#include <cstdint>

namespace mycad {

/// The unit a ruler counts in.
enum class TRulerUnit : uint8_t {
    ruKilo = 0,
    ruMeter = 1,
    ruCenti = 2,
    ruMilli = 3,
    ruInch = 4,
    ruPixel = 5,
    ruNone = 6,
};

/// The side of the drawing area at which a ruler sits; its ticks point
/// toward the drawing.
enum class TRulerDir : uint8_t { rdTop = 0, rdLeft = 1, rdRight = 2, rdBottom = 3 };

/// rsdReverse: the numbers grow from the far end of the ruler.
enum class TRulerScaleDir : uint8_t { rsdNormal = 0, rsdReverse = 1 };

/// hlsLine: a one-pixel line at the position; hlsRect: a band from the start
/// of the scale to the position.
enum class THairLineStyle : uint8_t { hlsLine = 0, hlsRect = 1 };

/// Which corner of the drawing area a ruler corner sits at.
enum class TCornerPos : uint8_t { cpLeftTop = 0, cpRightTop = 1, cpLeftBottom = 2, cpRightBottom = 3 };

} // namespace mycad
