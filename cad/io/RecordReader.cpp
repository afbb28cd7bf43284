#include "cad/io/RecordReader.h"

#include "cad/geometry/StreamEncoding.h"

#include <cfloat>
#include <cmath>
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
    FMemory = dynamic_cast<TMemoryStream*>(&stream);
    if (FMemory) {
        FData = FMemory->Memory();
        FSize = FMemory->Size();
        // A position before the start or past the end reads nothing.
        FPos = std::clamp<int64_t>(FMemory->Position(), 0, FSize);
    }
}

TRecordReader::~TRecordReader() { SyncOut(); }

void TRecordReader::SyncOut()
{
    if (FMemory) FMemory->SetPosition(FPos);
}

void TRecordReader::SyncIn()
{
    if (FMemory) FPos = std::clamp<int64_t>(FMemory->Position(), 0, FSize);
}

void TRecordReader::Fail(const char* why)
{
    throw EReadError(std::string("Invalid stream format: ") + why);
}

void TRecordReader::ShortRead() { throw EReadError("Stream read error"); }

int64_t TRecordReader::Remaining() const { return FData ? FSize - FPos : FStream.Remaining(); }

float TRecordReader::Float()
{
    const float v = Raw<float>();
    if (!std::isfinite(v)) Fail("number is not finite");
    return v;
}

float TRecordReader::Real(bool tenBytes)
{
    if (!tenBytes) return Float();
    uint8_t bytes[10];
    Read(bytes, sizeof bytes);
    const double v = DecodeExtended(bytes);
    // Narrowing a double beyond the float range is undefined, not infinity.
    if (!std::isfinite(v) || std::fabs(v) > double(FLT_MAX)) Fail("number out of range");
    return static_cast<float>(v);
}

String TRecordReader::Characters(int32_t n)
{
    if (n <= 0) return String();
    if (ReadOldZEDAFile) {
        SyncOut();
        String text = ReadStreamAnsiString(FStream, n);
        SyncIn();
        return text;
    }
    if (int64_t(n) * 2 > Remaining()) ShortRead();
    char16_t units[256];
    char16_t* p = n <= 256 ? units : nullptr;
    std::u16string large;
    if (!p) {
        large.resize(static_cast<size_t>(n));
        p = large.data();
    }
    Read(p, int64_t(n) * 2);
    // A repeat of a recent text shares it.
    uint32_t hash = static_cast<uint32_t>(n);
    for (int32_t i = 0; i < n; ++i) hash = hash * 31u + p[i];
    String& recent = FRecent[hash % FRecent.size()];
    if (recent.size() == n && std::memcmp(recent.constData(), p, size_t(n) * 2) == 0) return recent;
    recent = StringFromUtf16(p, n);
    return recent;
}

String TRecordReader::CountedString()
{
    // Only the low eight bits of the stored count say how many units follow.
    const int32_t stored = Int32();
    return Characters(static_cast<int32_t>(static_cast<uint32_t>(stored) & 0xFFu));
}

String TRecordReader::FixedString(int32_t n, bool trimmed)
{
    const String raw = Characters(n);
    if (!trimmed) return raw;
    const String text = TrimControl(raw);
    return text.size() == raw.size() ? raw : text;
}

std::unique_ptr<TBitmap> TRecordReader::BitmapBuffer()
{
    if (FData) {
        // The common case, no bitmap, without a round trip through the stream.
        int64_t n = 0;
        if (Remaining() >= 8) std::memcpy(&n, FData + FPos, 8);
        if (Remaining() >= 8 && n == 0) {
            FPos += 8;
            return nullptr;
        }
    }
    SyncOut();
    std::unique_ptr<TBitmap> bitmap = ReadBitmapBufferOrThrow(FStream);
    SyncIn();
    return bitmap;
}

void TRecordReader::Skip(int64_t bytes)
{
    if (bytes < 0 || bytes > Remaining()) ShortRead();
    if (FData) {
        FPos += bytes;
    } else {
        FStream.Seek(bytes, TSeekOrigin::soCurrent);
    }
}

int32_t TRecordReader::Count(int64_t itemBytes)
{
    const int32_t n = Int32();
    if (n < 0) Fail("negative count");
    if (itemBytes > 0 && n > Remaining() / itemBytes) Fail("count exceeds the stream");
    return n;
}

int32_t TRecordReader::UncoveredCount()
{
    const int32_t n = Int32();
    if (n < 0) Fail("negative count");
    if (n > FUncoveredBudget) Fail("count exceeds the stream");
    FUncoveredBudget -= n;
    return n;
}

} // namespace mycad
