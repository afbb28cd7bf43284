#include "cad/io/DxfWriter.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <new>

namespace mycad {

namespace {

constexpr std::string_view kEol = "\r\n";
/// Big enough that handing it on costs little against composing it.
constexpr size_t kBufferSize = size_t(1) << 20;
/// Whole pixels from -kMemoReach up to kMemoReach have their text memoised;
/// the first kMemoCopy characters are copied at once.
constexpr int32_t kMemoReach = 16384;
constexpr size_t kMemoCopy = 24;

__extension__ typedef unsigned __int128 TUInt128;

constexpr std::array<uint64_t, 20> kPowersOfTen = [] {
    std::array<uint64_t, 20> p{};
    p[0] = 1;
    for (size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
    return p;
}();

char* PutInt(char* out, int64_t value) { return std::to_chars(out, out + 24, value).ptr; }

/// A group's code and its line end, at out; returns where its value goes.
char* PutCode(char* out, std::string_view code)
{
    for (const char c : code) *out++ = c;
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

static_assert(std::endian::native == std::endian::little,
              "the digits below are laid out in registers in memory order");

/// The eight decimal digits of v < 10^8, one per byte in memory order (the
/// first digit in the lowest byte), as values 0-9: split into halves, then
/// quarters, then single digits, every lane at once.
inline uint64_t EightDigits(uint32_t v)
{
    uint64_t x = (v / 10000) | (uint64_t(v % 10000) << 32);              // 4 + 4
    const uint64_t hundreds = ((x * 10486) >> 20) & 0x0000007F0000007FULL; // lane / 100
    x = hundreds | ((x - hundreds * 100) << 16);                           // 2 + 2 + 2 + 2
    const uint64_t tens = ((x * 103) >> 10) & 0x000F000F000F000FULL;       // lane / 10
    return tens | ((x - tens * 10) << 8);
}

/// The 15 significant digits of a real as a whole number 10^14 <= Whole <
/// 10^15, and the power of ten of the first.
struct TDigits {
    uint64_t Whole = 0;
    int32_t Exponent = 0;
};

/// Lays out the digits as general format does, with no trailing zeros. The
/// digits stay in registers: they are stored 16 at a time and the end moved
/// back, so out needs room for 34 characters.
char* PutGeneral(char* out, bool negative, const TDigits& d)
{
    // Sixteen digits (the last always 0), the first in the lowest byte.
    const uint64_t sixteen = d.Whole * 10;
    const uint64_t high = EightDigits(static_cast<uint32_t>(sixteen / 100000000));
    const uint64_t low = EightDigits(static_cast<uint32_t>(sixteen % 100000000));
    // Trailing zero digits are the zero bytes at the top; the first digit is
    // never 0, so high is never 0.
    const int32_t count = low != 0 ? 16 - std::countl_zero(low) / 8 : 8 - std::countl_zero(high) / 8;
    constexpr uint64_t kZeros = 0x3030303030303030ULL;
    const TUInt128 digits = (TUInt128(low + kZeros) << 64) | (high + kZeros);

    const int32_t exponent = d.Exponent;
    if (negative) *out++ = '-';
    if (exponent < -5 || exponent >= 15) {
        *out++ = static_cast<char>(digits);
        if (count > 1) {
            *out++ = '.';
            const TUInt128 rest = digits >> 8;
            std::memcpy(out, &rest, 16);
            out += count - 1;
        }
        *out++ = 'E';
        return PutInt(out, exponent);
    }
    if (exponent < 0) {
        std::memcpy(out, "0.00000", 8);
        out += 1 - exponent;
        std::memcpy(out, &digits, 16);
        return out + count;
    }
    const int32_t whole = exponent + 1;
    std::memcpy(out, &digits, 16);
    if (count <= whole) return out + whole; // the zeros after the digits
    out[whole] = '.';
    const TUInt128 rest = digits >> (8 * whole);
    std::memcpy(out + whole + 1, &rest, 16);
    return out + count + 1;
}

/// The digits of value > 0, correctly rounded, from the library's exact
/// conversion: any magnitude, any tie.
void DigitsExactly(double value, TDigits& d)
{
    std::array<char, 40> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::scientific, 14);
    const char* p = buf.data();
    d.Whole = 0;
    for (; p < res.ptr && *p != 'e'; ++p) {
        if (*p != '.') d.Whole = d.Whole * 10 + static_cast<uint64_t>(*p - '0');
    }
    d.Exponent = static_cast<int32_t>(std::strtol(p + 1, nullptr, 10));
}

/// The same in integer arithmetic, for values that print as plain digits
/// (1e-5 up to 1e15), which are nearly all a drawing holds: value is m * 2^E
/// exactly, so value * 10^(14 - exponent) splits exactly into its whole
/// part (the digits) and the rest (which says how to round). False for
/// other magnitudes and for exact ties, which DigitsExactly settles.
bool DigitsFast(double value, TDigits& d)
{
    const auto bits = std::bit_cast<uint64_t>(value);
    const auto biased = static_cast<int32_t>((bits >> 52) & 0x7FF);
    if (biased == 0) return false; // subnormal: far below the plain range
    const uint64_t mantissa = (bits & ((uint64_t(1) << 52) - 1)) | (uint64_t(1) << 52);
    // value = mantissa * 2^(b - 53) and lies in [2^(b-1), 2^b).
    const int32_t binaryExponent = biased - 1022;
    const int32_t shift = 53 - binaryExponent;
    // floor((b - 1) * log10(2)), exact for the exponents of doubles; the
    // decimal exponent is this or one more.
    int32_t e = ((binaryExponent - 1) * 78913) >> 18;
    constexpr uint64_t kLow = 100000000000000ULL; // 10^14
    constexpr uint64_t kHigh = 10 * kLow;
    for (int32_t attempt = 0; attempt < 2; ++attempt, ++e) {
        if (e < -5 || e > 14 || shift <= 0 || shift >= 120) return false;
        const TUInt128 scaled = TUInt128(mantissa) * kPowersOfTen[static_cast<size_t>(14 - e)];
        uint64_t whole = static_cast<uint64_t>(scaled >> shift);
        if (whole >= kHigh) continue;
        if (whole < kLow) return false;
        const TUInt128 rest = scaled & ((TUInt128(1) << shift) - 1);
        const TUInt128 half = TUInt128(1) << (shift - 1);
        if (rest == half) return false;
        if (rest > half && ++whole == kHigh) return false;
        d.Whole = whole;
        d.Exponent = e;
        return true;
    }
    return false;
}

} // namespace

TDxfWriter::TDxfWriter(double pageHeight, TDxfSink sink)
    : FSink(std::move(sink)), FBuffer(new char[kBufferSize]), FPos(FBuffer.get()), FEnd(FBuffer.get() + kBufferSize),
      FPageHeight(pageHeight),
      // Zeroed by the system and touched only where a coordinate lands, so
      // a small file costs none of it.
      FMemo(static_cast<TMemoText*>(std::calloc(4 * size_t(kMemoReach), sizeof(TMemoText))))
{
    if (!FMemo) throw std::bad_alloc();
}

TDxfWriter::~TDxfWriter() = default;

void TDxfWriter::TFreeMemo::operator()(TMemoText* p) const { std::free(p); }

// Most coordinates of a drawing are whole pixels (the sampled curves round
// every vertex), and a page holds a few thousand of them per axis, while
// formatting a real is the bulk of composing a file. Each axis therefore
// keeps the text of every whole pixel it has formatted; the text is the
// one FormatReal gives for the very same quotient, so the file is the same.
template <class TValue>
void TDxfWriter::Coordinate(std::string_view code, double pixels, size_t axis, TValue value)
{
    TMemoText* memo = nullptr;
    if (pixels > -kMemoReach && pixels < kMemoReach && pixels == std::trunc(pixels)) {
        memo = &FMemo.get()[axis * 2 * size_t(kMemoReach) + size_t(static_cast<int32_t>(pixels) + kMemoReach)];
        if (memo->Size == 0) {
            std::array<char, kMaxRealChars> text{};
            const auto size = static_cast<size_t>(FormatReal(text.data(), value()) - text.data());
            // Longer than the copy below (a page's pixels never come near): not kept.
            if (size <= kMemoCopy) {
                std::memcpy(memo->Text, text.data(), kMemoCopy);
                memo->Size = static_cast<uint8_t>(size);
            }
        }
    }
    if (!memo || memo->Size == 0) {
        Real(code, value());
        return;
    }
    char* p = PutCode(Room(code.size() + kMemoCopy + 2 * kEol.size()), code);
    std::memcpy(p, memo->Text, kMemoCopy);
    p += memo->Size;
    *p++ = '\r';
    *p++ = '\n';
    FPos = p;
}

void TDxfWriter::X(std::string_view code, double x)
{
    Coordinate(code, x, 0, [x] { return x / kDxfPixelsPerMillimetre; });
}

void TDxfWriter::Y(std::string_view code, double y)
{
    Coordinate(code, y, 1, [this, y] { return (FPageHeight - y) / kDxfPixelsPerMillimetre; });
}

char* TDxfWriter::FormatReal(char* out, double value)
{
    // Nothing the writer computes is infinite; should it ever be, a number a
    // reader can parse keeps the file readable.
    if (value == 0.0 || !std::isfinite(value)) {
        *out++ = '0';
        return out;
    }
    const bool negative = value < 0.0;
    const double magnitude = std::fabs(value);
    TDigits d;
    if (!DigitsFast(magnitude, d)) DigitsExactly(magnitude, d);
    return PutGeneral(out, negative, d);
}

void TDxfWriter::AppendReal(std::string& out, double value)
{
    std::array<char, kMaxRealChars> buf{};
    out.append(buf.data(), FormatReal(buf.data(), value));
}

bool TDxfWriter::Flush()
{
    const char* start = FBuffer.get();
    if (FPos != start && !FFailed) FFailed = !FSink(std::string_view(start, static_cast<size_t>(FPos - start)));
    FPos = FBuffer.get();
    return !FFailed;
}

void TDxfWriter::PutSlow(std::string_view bytes)
{
    Flush();
    if (bytes.size() <= kBufferSize) {
        std::memcpy(FPos, bytes.data(), bytes.size());
        FPos += bytes.size();
    } else if (!FFailed) {
        FFailed = !FSink(bytes);
    }
}

void TDxfWriter::Line(std::string_view text)
{
    Put(text);
    Put(kEol);
}

void TDxfWriter::Group(std::string_view code, std::string_view value)
{
    // Codes and the literal values are a few characters: copied in place,
    // without a call per piece.
    constexpr size_t kShort = 64;
    if (value.size() > kShort) {
        Line(code);
        Line(value);
        return;
    }
    char* p = PutCode(Room(code.size() + kShort + 2 * kEol.size()), code);
    for (const char c : value) *p++ = c;
    *p++ = '\r';
    *p++ = '\n';
    FPos = p;
}

void TDxfWriter::Real(std::string_view code, double value)
{
    char* p = FormatReal(PutCode(Room(code.size() + kMaxRealChars + 2 * kEol.size()), code), value);
    *p++ = '\r';
    *p++ = '\n';
    FPos = p;
}

void TDxfWriter::BeginEntities()
{
    Group("0", "SECTION");
    Group("2", "ENTITIES");
}

void TDxfWriter::EndEntities()
{
    Group("0", "ENDSEC");
    Group("0", "EOF");
}

void TDxfWriter::Handle()
{
    char* p = Room(32);
    p = std::copy_n("5\r\n", 3, p);
    p = PutInt(p, FHandle++);
    FPos = std::copy(kEol.begin(), kEol.end(), p);
}

void TDxfWriter::Entity(std::string_view name)
{
    Group("0", name);
    Handle();
    Group("8", "0");
}

void TDxfWriter::Line(const TMyPoint& a, const TMyPoint& b)
{
    Entity("LINE");
    X("10", a.X);
    Y("20", a.Y);
    Group("30", "0.0");
    X("11", b.X);
    Y("21", b.Y);
    Group("31", "0.0");
}

void TDxfWriter::ClosedPolyline()
{
    Entity("POLYLINE");
    Group("66", "1");
    Group("10", "0.0");
    Group("20", "0.0");
    Group("30", "0.0");
    Group("70", "1");
}

void TDxfWriter::Vertex(double x, double y)
{
    Entity("VERTEX");
    X("10", x);
    Y("20", y);
    Group("30", "0.0");
}

void TDxfWriter::SeqEnd() { Entity("SEQEND"); }

void TDxfWriter::Polyline3D(double x, double y)
{
    Entity("POLYLINE");
    X("10", x);
    Y("20", y);
    Group("30", "0.0");
    Group("66", "1");
    Group("70", "8");
}

void TDxfWriter::Vertex3D(double x, double y)
{
    Group("0", "VERTEX");
    Group("8", "0");
    Handle();
    X("10", x);
    Y("20", y);
    Group("30", "0.0");
    Group("70", "32");
}

void TDxfWriter::Circle(double cx, double cy, double radius)
{
    Entity("CIRCLE");
    X("10", cx);
    Y("20", cy);
    Group("30", "0.0");
    Length("40", radius);
}

void TDxfWriter::Arc(double cx, double cy, double radius, double startAngle, double endAngle)
{
    Entity("ARC");
    X("10", cx);
    Y("20", cy);
    Group("30", "0.0");
    Length("40", radius);
    Real("50", startAngle);
    Real("51", endAngle);
}

void TDxfWriter::Text(double x, double y, double height, double angle, const String& text)
{
    TextAtFlippedY(x, FPageHeight - y, height, angle, text);
}

void TDxfWriter::TextAtFlippedY(double x, double flippedY, double height, double angle, const String& text)
{
    Entity("TEXT");
    X("10", x);
    Real("20", flippedY / kDxfPixelsPerMillimetre);
    Group("30", "0.0");
    Length("40", height);
    Real("50", angle);
    // A file without a header is read in the readers' default ANSI code
    // page, so text beyond ASCII goes out as the escapes \U+XXXX (UTF-16
    // units) that every reader decodes, and the file stays ASCII. A line
    // break inside the value would end it and shift every later line out of
    // its group, so breaks become spaces.
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string value;
    for (const char16_t c : text.toStdU16String()) {
        if (c == u'\r' || c == u'\n') {
            value += ' ';
        } else if (c < 0x80) {
            value += static_cast<char>(c);
        } else {
            value += "\\U+";
            for (int shift = 12; shift >= 0; shift -= 4) value += kHex[(c >> shift) & 0xF];
        }
    }
    Group("1", value);
}

} // namespace mycad
