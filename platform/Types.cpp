#include "platform/Types.h"

#include <algorithm>

namespace mycad {

bool IntersectRect(TRect& out, const TRect& a, const TRect& b)
{
    out = {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
           std::min(a.Bottom, b.Bottom)};
    if (out.IsEmpty()) {
        out = {};
        return false;
    }
    return true;
}

TRect UnionRect(const TRect& a, const TRect& b)
{
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

TColor ColorToRGB(TColor c)
{
    // The classic light desktop scheme, fixed so that drawings render the same
    // on every machine.
    static constexpr TColor kSystem[] = {
        0xC8C8C8, // scroll bar
        0x000000, // background (desktop)
        0xD1B499, // active caption
        0xDBCDBF, // inactive caption
        0xF0F0F0, // menu
        0xFFFFFF, // window
        0x646464, // window frame
        0x000000, // menu text
        0x000000, // window text
        0x000000, // caption text
        0xB4B4B4, // active border
        0xFCF7F4, // inactive border
        0xABABAB, // application work space
        0xD77800, // highlight
        0xFFFFFF, // highlight text
        0xF0F0F0, // button face
        0xA0A0A0, // button shadow
        0x6D6D6D, // grey text
        0x000000, // button text
        0x000000, // inactive caption text
        0xFFFFFF, // button highlight
        0x696969, // 3D dark shadow
        0xE3E3E3, // 3D light
        0x000000, // info text
        0xE1FFFF, // info background
    };
    if (c == clDefault) return clBlack;
    if (c == clNone) return clWhite;
    if ((c & 0xFF000000u) == 0x80000000u) {
        const uint32_t index = c & 0xFFu;
        return index < std::size(kSystem) ? kSystem[index] : clBlack;
    }
    return c & 0x00FFFFFFu;
}

} // namespace mycad
