// Basic value types of the platform layer: device points and rectangles,
// colours, strings, shift states, mouse buttons and cursors.
#pragma once

#include <QString>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace mycad {

/// The framework's UTF-16 string. Document files store its code units as they are.
using String = QString;
/// One UTF-16 code unit of a String.
using WideChar = QChar;

/// String literals: u"text"_s is a String whose text is made at compile time.
using namespace Qt::Literals::StringLiterals;

/// The String of count UTF-16 code units.
inline String StringFromUtf16(const char16_t* units, int64_t count)
{
    return String(reinterpret_cast<const QChar*>(units), count);
}

/// Rounds to the nearest integer with ties to even (2.5 -> 2, 3.5 -> 4), the
/// rule for every conversion from float to whole pixels. Values beyond
/// +-2^29 (a damaged file's coordinate, zoomed) stay at that bound, so that
/// sums and differences of a few pixel positions still fit in 32 bits; NaN
/// gives 0.
inline int32_t RoundToInt(double v)
{
    constexpr double kLimit = 536870912.0;
    const double r = std::nearbyint(v);
    if (r >= -kLimit && r <= kLimit) return static_cast<int32_t>(r);
    if (r > kLimit) return static_cast<int32_t>(kLimit);
    if (r < -kLimit) return -static_cast<int32_t>(kLimit);
    return 0;
}

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

/// Device-space polylines and the vertex kinds of a path.
using TArrPoint = std::vector<TPoint>;
using TArrByte = std::vector<uint8_t>;

inline TPoint Point(int32_t x, int32_t y) { return {x, y}; }
inline TRect Rect(int32_t l, int32_t t, int32_t r, int32_t b) { return {l, t, r, b}; }
inline TRect Bounds(int32_t l, int32_t t, int32_t w, int32_t h) { return {l, t, l + w, t + h}; }

/// Grows (negative: shrinks) a rectangle by dx on the left and right and dy on the top and bottom.
inline void InflateRect(TRect& r, int32_t dx, int32_t dy)
{
    r.Left -= dx;
    r.Top -= dy;
    r.Right += dx;
    r.Bottom += dy;
}
inline void OffsetRect(TRect& r, int32_t dx, int32_t dy)
{
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}
/// Left and top edges are inside, right and bottom edges are not.
inline bool PtInRect(const TRect& r, const TPoint& p)
{
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}
/// The common part of two rectangles; false (and an empty result) when they do not meet.
bool IntersectRect(TRect& out, const TRect& a, const TRect& b);
/// The smallest rectangle holding both; an empty rectangle does not count.
TRect UnionRect(const TRect& a, const TRect& b);

/// 0x00BBGGRR for plain colours; 0x80xxxxxx are system colours; clDefault and
/// clNone are special values resolved by ColorToRGB.
using TColor = uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// System colours: 0x80000000 | index.
inline constexpr TColor clScrollBar = 0x80000000;
inline constexpr TColor clBackground = 0x80000001;
inline constexpr TColor clActiveCaption = 0x80000002;
inline constexpr TColor clInactiveCaption = 0x80000003;
inline constexpr TColor clMenu = 0x80000004;
inline constexpr TColor clWindow = 0x80000005;
inline constexpr TColor clWindowFrame = 0x80000006;
inline constexpr TColor clMenuText = 0x80000007;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clCaptionText = 0x80000009;
inline constexpr TColor clActiveBorder = 0x8000000A;
inline constexpr TColor clInactiveBorder = 0x8000000B;
inline constexpr TColor clAppWorkSpace = 0x8000000C;
inline constexpr TColor clHighlight = 0x8000000D;
inline constexpr TColor clHighlightText = 0x8000000E;
inline constexpr TColor clBtnFace = 0x8000000F;
inline constexpr TColor clBtnShadow = 0x80000010;
inline constexpr TColor clGrayText = 0x80000011;
inline constexpr TColor clBtnText = 0x80000012;
inline constexpr TColor clInactiveCaptionText = 0x80000013;
inline constexpr TColor clBtnHighlight = 0x80000014;
inline constexpr TColor cl3DDkShadow = 0x80000015;
inline constexpr TColor cl3DLight = 0x80000016;
inline constexpr TColor clInfoText = 0x80000017;
inline constexpr TColor clInfoBk = 0x80000018;

/// Resolves system colours and clDefault through a fixed table (the classic
/// light desktop scheme, so results do not depend on the machine), and masks
/// plain colours to 0x00BBGGRR.
TColor ColorToRGB(TColor c);
inline uint8_t GetRValue(TColor c) { return static_cast<uint8_t>(c & 0xFF); }
inline uint8_t GetGValue(TColor c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
inline uint8_t GetBValue(TColor c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }
inline TColor RGB(uint8_t r, uint8_t g, uint8_t b)
{
    return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}

/// A small typed bit set over an enumeration with ordinals below 32.
template <typename E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items)
    {
        for (E e : items) bits_ |= Bit(e);
    }
    constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
    constexpr TSet& Include(E e) { bits_ |= Bit(e); return *this; }
    constexpr TSet& Exclude(E e) { bits_ &= ~Bit(e); return *this; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr uint32_t Bits() const { return bits_; }
    static constexpr TSet FromBits(uint32_t b) { TSet s; s.bits_ = b; return s; }
    friend constexpr bool operator==(TSet a, TSet b) { return a.bits_ == b.bits_; }
    friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.bits_ | b.bits_); }
    friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.bits_ & ~b.bits_); }
    friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.bits_ & b.bits_); }

private:
    static constexpr uint32_t Bit(E e) { return 1u << static_cast<uint32_t>(e); }
    uint32_t bits_ = 0;
};

enum class TShiftStateItem : uint8_t { ssShift = 0, ssAlt = 1, ssCtrl = 2, ssLeft = 3, ssRight = 4, ssMiddle = 5, ssDouble = 6 };
using TShiftState = TSet<TShiftStateItem>;

enum class TMouseButton : uint8_t { mbLeft = 0, mbRight = 1, mbMiddle = 2 };

/// Cursor shapes, with the framework's ordinals.
enum class TCursor : int16_t {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crDrag = -12,
    crNoDrop = -13,
    crHSplit = -14,
    crVSplit = -15,
    crMultiDrag = -16,
    crSQLWait = -17,
    crNo = -18,
    crAppStart = -19,
    crHelp = -20,
    crHandPoint = -21,
    crSizeAll = -22,
};

} // namespace mycad
