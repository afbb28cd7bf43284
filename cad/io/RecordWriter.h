// Composing a record's fields in memory before they reach the stream: one
// stream write per record instead of one per field, which is what makes
// saving a large drawing fast.
#pragma once

#include "platform/Streams.h"
#include "platform/Types.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace mycad {

class TRecordWriter {
public:
    void Int32(int32_t v) { Raw(v); }
    void Int64(int64_t v) { Raw(v); }
    void UInt32(uint32_t v) { Raw(v); }
    void Byte(uint8_t v) { Raw(v); }
    void Bool(bool v) { Raw(static_cast<uint8_t>(v ? 1 : 0)); }
    void Float(float v) { Raw(v); }
    void Double(double v) { Raw(v); }
    /// A counted string: the length, at most 255, and that many code units
    /// (the same bytes as WriteCountedString).
    void CountedString(const String& text)
    {
        const int32_t n = std::min<int32_t>(255, static_cast<int32_t>(text.size()));
        Int32(n);
        Append(text.constData(), static_cast<size_t>(n) * 2);
    }
    /// A fixed-width field: the text cut or padded with spaces to n characters.
    void FixedString(const String& text, int32_t n)
    {
        const int32_t m = std::min<int32_t>(n, static_cast<int32_t>(text.size()));
        Append(text.constData(), static_cast<size_t>(m) * 2);
        for (int32_t i = m; i < n; ++i) Raw(static_cast<uint16_t>(u' '));
    }
    /// Drops what was composed and not handed on (after a failed write).
    void Reset() { FUsed = 0; }
    /// Hands what was composed to the stream and starts empty again.
    void FlushTo(TStream& stream)
    {
        stream.WriteBuffer(FBytes.data(), static_cast<int64_t>(FUsed));
        FUsed = 0;
    }

private:
    template <typename T>
    void Raw(T v)
    {
        Append(&v, sizeof v);
    }
    void Append(const void* data, size_t n)
    {
        if (FUsed + n > FBytes.size()) FBytes.resize(std::max(FBytes.size() * 2, FUsed + n + 256));
        std::memcpy(FBytes.data() + FUsed, data, n);
        FUsed += n;
    }

    std::vector<uint8_t> FBytes;
    size_t FUsed = 0;
};

} // namespace mycad
