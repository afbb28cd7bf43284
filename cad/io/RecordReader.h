// Reading stored records safely. Every count is checked against the bytes the
// stream still holds before anything is allocated, numbers that cannot be
// true of a saved drawing (an ordinal past its enumeration, a coordinate that
// is not finite) are refused, and every refusal raises EReadError, which the
// operation that started the read turns into false.
//
// A memory stream is read in place, without a stream call per field; its
// position is brought up to date when the reader is done with it.
#pragma once

#include "cad/io/FileVersion.h"
#include "platform/Graphics.h"
#include "platform/Streams.h"
#include "platform/Types.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

namespace mycad {

/// The value of an 80-bit extended-precision float (sign, 15-bit exponent,
/// 64-bit significand with its integer bit), stored little-endian in 10
/// bytes, rounded to double.
double DecodeExtended(const uint8_t bytes[10]);

class TRecordReader {
public:
    /// uncoveredBudget bounds the items that counts may create without bytes
    /// behind them (points of layouts that store no coordinates), over the
    /// whole read. The reader reads from the stream's position.
    TRecordReader(TStream& stream, TFileVersion version, int64_t uncoveredBudget);
    /// Leaves the stream's position after the last byte read.
    ~TRecordReader();
    TRecordReader(const TRecordReader&) = delete;
    TRecordReader& operator=(const TRecordReader&) = delete;

    TFileVersion Version() const { return FVersion; }
    /// Documents name their layout in their header, which is read first.
    void SetVersion(TFileVersion version) { FVersion = version; }
    /// Whether the layout being read stores a field kept by first..last.
    bool Has(TFileVersion first, TFileVersion last = kNewestFileVersion) const
    {
        return InVersions(FVersion, first, last);
    }

    int32_t Int32() { return Raw<int32_t>(); }
    uint32_t UInt32() { return Raw<uint32_t>(); }
    uint8_t Byte() { return Raw<uint8_t>(); }
    /// Any non-zero byte is true.
    bool Bool() { return Raw<uint8_t>() != 0; }
    TColor Color() { return static_cast<TColor>(Raw<int32_t>()); }
    double Double() { return Raw<double>(); }
    /// A float32 that must be finite.
    float Float();
    /// A coordinate or angle: 10 bytes in the widest layouts, float32
    /// otherwise; refused unless it is finite as a float.
    float Real(bool tenBytes);
    /// A counted string: int32 L, then L mod 256 characters.
    String CountedString();
    /// A fixed-width string of n characters; trimmed drops leading and
    /// trailing code units up to U+0020.
    String FixedString(int32_t n, bool trimmed);
    /// A bitmap buffer; nullptr when it holds none.
    std::unique_ptr<TBitmap> BitmapBuffer();
    void Skip(int64_t bytes);
    int64_t Remaining() const;

    /// A stored count of items that follow, each at least itemBytes long;
    /// refused when negative or larger than the stream's remaining bytes allow.
    int32_t Count(int64_t itemBytes);
    /// A stored count of items that have no bytes in this layout; refused when
    /// negative or past what is left of the budget.
    int32_t UncoveredCount();

    /// A byte holding the ordinal of an enumeration whose last value is last.
    template <typename E>
    E Ordinal(E last)
    {
        const uint8_t v = Byte();
        if (v > static_cast<uint8_t>(last)) Fail("ordinal out of range");
        return static_cast<E>(v);
    }

    [[noreturn]] static void Fail(const char* why);
    [[noreturn]] static void ShortRead();

private:
    template <typename T>
    T Raw()
    {
        T v;
        Read(&v, sizeof v);
        return v;
    }
    void Read(void* buffer, int64_t n)
    {
        if (FData) {
            if (n > FSize - FPos) ShortRead();
            std::memcpy(buffer, FData + FPos, static_cast<size_t>(n));
            FPos += n;
        } else {
            FStream.ReadBuffer(buffer, n);
        }
    }
    /// n characters: UTF-16, or one byte each in old-file mode.
    String Characters(int32_t n);
    /// Hands the position to the stream before it is used directly, and takes it back after.
    void SyncOut();
    void SyncIn();

    TStream& FStream;
    TMemoryStream* FMemory = nullptr;
    const uint8_t* FData = nullptr;
    int64_t FSize = 0;
    int64_t FPos = 0;
    TFileVersion FVersion;
    int64_t FUncoveredBudget;
    /// Texts recently read (class and font names, captions repeat from shape
    /// to shape); a repeat shares the earlier string instead of a new copy.
    std::array<String, 64> FRecent;
};

} // namespace mycad
