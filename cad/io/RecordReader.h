// Reading stored records safely. Every count is checked against the bytes the
// stream still holds before anything is allocated, numbers that cannot be
// true of a saved drawing (an ordinal past its enumeration, a coordinate that
// is not finite) are refused, and every refusal raises EReadError, which the
// operation that started the read turns into false.
#pragma once

#include "cad/io/FileVersion.h"
#include "platform/Streams.h"
#include "platform/Types.h"

#include <cstdint>

namespace mycad {

/// The value of an 80-bit extended-precision float (sign, 15-bit exponent,
/// 64-bit significand with its integer bit), stored little-endian in 10
/// bytes, rounded to double.
double DecodeExtended(const uint8_t bytes[10]);

class TRecordReader {
public:
    /// uncoveredBudget bounds the items that counts may create without bytes
    /// behind them (points of layouts that store no coordinates), over the
    /// whole read.
    TRecordReader(TStream& stream, TFileVersion version, int64_t uncoveredBudget);

    TStream& Stream() { return FStream; }
    TFileVersion Version() const { return FVersion; }
    /// Whether the layout being read stores a field kept by first..last.
    bool Has(TFileVersion first, TFileVersion last = kNewestFileVersion) const
    {
        return InVersions(FVersion, first, last);
    }

    int32_t Int32();
    uint32_t UInt32();
    uint8_t Byte();
    bool Bool();
    TColor Color();
    double Double();
    /// A float32 that must be finite.
    float Float();
    /// A coordinate or angle: 10 bytes in the widest layouts, float32
    /// otherwise; refused unless it is finite as a float.
    float Real(bool tenBytes);
    String CountedString();
    void Skip(int64_t bytes);

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

private:
    TStream& FStream;
    TFileVersion FVersion;
    int64_t FUncoveredBudget;
};

} // namespace mycad
