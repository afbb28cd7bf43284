// Reading and writing single pixels of 24-bit test bitmaps through their scan
// lines, in the blue, green, red byte order the bitmap code works in.
#pragma once

#include "platform/Graphics.h"

#include <cstdint>
#include <ostream>

namespace mycad::test {

struct Bgr {
    uint8_t b = 0;
    uint8_t g = 0;
    uint8_t r = 0;
    friend bool operator==(const Bgr&, const Bgr&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Bgr& p)
    {
        return os << "(b " << int(p.b) << ", g " << int(p.g) << ", r " << int(p.r) << ")";
    }
};

inline Bgr PixelAt(const TBitmap& bmp, int32_t x, int32_t y)
{
    const uint8_t* p = bmp.ScanLine(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

inline void SetPixelAt(TBitmap& bmp, int32_t x, int32_t y, Bgr c)
{
    uint8_t* p = bmp.ScanLine(y) + 3 * x;
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
}

inline constexpr Bgr kWhite{255, 255, 255};

} // namespace mycad::test
