#include "cad/io/RecordReader.h"

#include "cad/geometry/StreamEncoding.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>

namespace mycad {

double DecodeExtended(const uint8_t bytes[10])
{
    uint64_t significand = 0;
    std::memcpy(&significand, bytes, 8);
    const uint16_t top = static_cast<uint16_t>(bytes[8] | (bytes[9] << 8));
    const bool negative = (top & 0x8000u) != 0;
    const int exponent = top & 0x7FFF;
    double value = 0.0;
    if (exponent == 0x7FFF) {
        // Infinities have a bare integer bit; everything else there is a NaN.
        value = (significand << 1) == 0 ? HUGE_VAL : std::nan("");
    } else {
        // Denormals (exponent 0) use the smallest exponent, as the hardware does.
        const int unbiased = (exponent == 0 ? 1 : exponent) - 16383 - 63;
        value = std::ldexp(static_cast<double>(significand), unbiased);
    }
    return negative ? -value : value;
}

TRecordReader::TRecordReader(TStream& stream, TFileVersion version, int64_t uncoveredBudget)
    : FStream(stream), FVersion(version), FUncoveredBudget(uncoveredBudget)
{
}

void TRecordReader::Fail(const char* why)
{
    throw EReadError(std::string("Invalid stream format: ") + why);
}

int32_t TRecordReader::Int32() { return ReadInt32(FStream); }
uint32_t TRecordReader::UInt32() { return ReadUInt32(FStream); }
uint8_t TRecordReader::Byte() { return ReadByte(FStream); }
bool TRecordReader::Bool() { return ReadBool(FStream); }
TColor TRecordReader::Color() { return static_cast<TColor>(ReadInt32(FStream)); }
double TRecordReader::Double() { return ReadDouble(FStream); }

float TRecordReader::Float()
{
    const float v = ReadFloat(FStream);
    if (!std::isfinite(v)) Fail("number is not finite");
    return v;
}

float TRecordReader::Real(bool tenBytes)
{
    if (!tenBytes) return Float();
    uint8_t bytes[10];
    FStream.ReadBuffer(bytes, sizeof bytes);
    const double v = DecodeExtended(bytes);
    // Narrowing a double beyond the float range is undefined, not infinity.
    if (!std::isfinite(v) || std::fabs(v) > double(FLT_MAX)) Fail("number out of range");
    return static_cast<float>(v);
}

String TRecordReader::CountedString() { return ReadCountedString(FStream); }

void TRecordReader::Skip(int64_t bytes)
{
    RequireBytes(FStream, bytes);
    FStream.Seek(bytes, TSeekOrigin::soCurrent);
}

int32_t TRecordReader::Count(int64_t itemBytes)
{
    const int32_t n = ReadInt32(FStream);
    if (n < 0) Fail("negative count");
    if (itemBytes > 0 && n > FStream.Remaining() / itemBytes) Fail("count exceeds the stream");
    return n;
}

int32_t TRecordReader::UncoveredCount()
{
    const int32_t n = ReadInt32(FStream);
    if (n < 0) Fail("negative count");
    if (n > FUncoveredBudget) Fail("count exceeds the stream");
    FUncoveredBudget -= n;
    return n;
}

} // namespace mycad
