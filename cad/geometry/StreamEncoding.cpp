#include "cad/geometry/StreamEncoding.h"

#include <bit>
#include <cstring>
#include <vector>

namespace mycad {

static_assert(std::endian::native == std::endian::little,
              "stored formats are little-endian; a big-endian port must swap bytes here");

bool ReadOldZEDAFile = false;

namespace {

template <typename T>
void WriteRaw(TStream& s, T v)
{
    s.WriteBuffer(&v, sizeof v);
}

template <typename T>
T ReadRaw(TStream& s)
{
    T v{};
    s.ReadBuffer(&v, sizeof v);
    return v;
}

// Code page 1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned
// bytes keep their own value, as the system's converter does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t WidenCp1252(uint8_t b)
{
    return (b >= 0x80 && b <= 0x9F) ? kCp1252High[b - 0x80] : char16_t(b);
}

} // namespace

void RequireBytes(TStream& s, int64_t bytes)
{
    if (bytes < 0 || bytes > s.Remaining()) throw EReadError("Stream read error");
}

void WriteInt32(TStream& s, int32_t v) { WriteRaw(s, v); }
void WriteUInt32(TStream& s, uint32_t v) { WriteRaw(s, v); }
void WriteInt64(TStream& s, int64_t v) { WriteRaw(s, v); }
void WriteByte(TStream& s, uint8_t v) { WriteRaw(s, v); }
void WriteBool(TStream& s, bool v) { WriteRaw<uint8_t>(s, v ? 1 : 0); }
void WriteFloat(TStream& s, float v) { WriteRaw(s, v); }
void WriteDouble(TStream& s, double v) { WriteRaw(s, v); }
int32_t ReadInt32(TStream& s) { return ReadRaw<int32_t>(s); }
uint32_t ReadUInt32(TStream& s) { return ReadRaw<uint32_t>(s); }
int64_t ReadInt64(TStream& s) { return ReadRaw<int64_t>(s); }
uint8_t ReadByte(TStream& s) { return ReadRaw<uint8_t>(s); }
bool ReadBool(TStream& s) { return ReadRaw<uint8_t>(s) != 0; }
float ReadFloat(TStream& s) { return ReadRaw<float>(s); }
double ReadDouble(TStream& s) { return ReadRaw<double>(s); }

void WriteStreamString(TStream& s, const String& text, uint8_t count)
{
    std::vector<char16_t> units(count, u' ');
    const int32_t n = std::min<int32_t>(count, static_cast<int32_t>(text.size()));
    for (int32_t i = 0; i < n; ++i) units[static_cast<size_t>(i)] = text[i].unicode();
    s.WriteBuffer(units.data(), static_cast<int64_t>(units.size()) * 2);
}

String ReadStreamAnsiString(TStream& s, int32_t count)
{
    if (count <= 0) return String();
    RequireBytes(s, count);
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    s.ReadBuffer(bytes.data(), count);
    String out;
    out.resize(count);
    for (int32_t i = 0; i < count; ++i) out[i] = WideChar(WidenCp1252(bytes[static_cast<size_t>(i)]));
    return out;
}

String ReadStreamString(TStream& s, int32_t count)
{
    if (ReadOldZEDAFile) return ReadStreamAnsiString(s, count);
    if (count <= 0) return String();
    RequireBytes(s, int64_t(count) * 2);
    std::vector<char16_t> units(static_cast<size_t>(count));
    s.ReadBuffer(units.data(), int64_t(count) * 2);
    return StringFromUtf16(units.data(), count);
}

void WriteFixedString(TStream& s, const String& text, int32_t n)
{
    if (n <= 0) return;
    std::vector<char16_t> units(static_cast<size_t>(n), u' ');
    const int32_t m = std::min<int32_t>(n, static_cast<int32_t>(text.size()));
    for (int32_t i = 0; i < m; ++i) units[static_cast<size_t>(i)] = text[i].unicode();
    s.WriteBuffer(units.data(), int64_t(n) * 2);
}

String TrimControl(const String& text)
{
    int32_t b = 0;
    int32_t e = static_cast<int32_t>(text.size());
    while (b < e && text[b].unicode() <= 0x20) ++b;
    while (e > b && text[e - 1].unicode() <= 0x20) --e;
    return text.mid(b, e - b);
}

String ReadFixedString(TStream& s, int32_t n, bool trimmed)
{
    const String raw = ReadStreamString(s, n);
    return trimmed ? TrimControl(raw) : raw;
}

void WriteCountedString(TStream& s, const String& text)
{
    const int32_t len = std::min<int32_t>(255, static_cast<int32_t>(text.size()));
    WriteInt32(s, len);
    WriteStreamString(s, text, static_cast<uint8_t>(len));
}

String ReadCountedString(TStream& s)
{
    // Only the low eight bits of the stored count say how many units follow.
    const int32_t len = ReadInt32(s);
    return ReadStreamString(s, static_cast<int32_t>(static_cast<uint32_t>(len) & 0xFFu));
}

} // namespace mycad
