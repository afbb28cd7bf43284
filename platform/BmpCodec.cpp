// The Windows BMP file format. Written by hand rather than by Qt's writer so
// that the bytes are fixed: a 14-byte file header, a 40-byte info header
// (resolution 3780 pixels per metre, i.e. 96 per inch; biSizeImage the padded
// size), a full colour table for 1, 4 and 8 bits, none for 24 and 32, and
// bottom-up rows padded to 4 bytes with zeros.
#include "platform/BmpCodec.h"
#include "platform/Streams.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <vector>

namespace mycad {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelsPerMetre = 3780;
constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t BI_ALPHABITFIELDS = 6;

void Put16(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t Get16(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8);
}

uint32_t Get32(const uint8_t* p)
{
    return Get16(p) | (Get16(p + 2) << 16);
}

[[noreturn]] void Fail(const char* why)
{
    throw EReadError(std::string("invalid bitmap: ") + why);
}

int BitsFor(TPixelFormat pf)
{
    switch (pf) {
    case TPixelFormat::pf1bit: return 1;
    case TPixelFormat::pf4bit: return 4;
    case TPixelFormat::pf8bit: return 8;
    case TPixelFormat::pf32bit: return 32;
    default: return 24;
    }
}

int64_t Stride(int64_t width, int bits)
{
    return (width * bits + 31) / 32 * 4;
}

// One colour channel described by a bit mask, scaled to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;
    explicit Channel(uint32_t m) : mask(m)
    {
        if (m != 0) {
            shift = std::countr_zero(m);
            max = m >> shift;
        }
    }
    int Value(uint32_t v) const
    {
        if (max == 0) return 0;
        return static_cast<int>((static_cast<uint64_t>((v & mask) >> shift) * 255 + max / 2) / max);
    }
};

QImage DecodeMasked(const std::vector<uint8_t>& data, int w, int h, int64_t stride, bool topDown, int bits,
                    const uint32_t masks[3])
{
    QImage img(w, h, QImage::Format_RGB32);
    if (img.isNull()) Fail("too large");
    const Channel r(masks[0]), g(masks[1]), b(masks[2]);
    const int bytes = bits / 8;
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = data.data() + stride * (topDown ? y : h - 1 - y);
        auto* dst = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const uint32_t v = bytes == 2 ? Get16(src + 2 * x) : Get32(src + 4 * x);
            dst[x] = qRgb(r.Value(v), g.Value(v), b.Value(v));
        }
    }
    return img;
}

} // namespace

QImage::Format StorageFormat(TPixelFormat pf)
{
    switch (pf) {
    case TPixelFormat::pf1bit: return QImage::Format_Mono;
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit: return QImage::Format_Indexed8;
    case TPixelFormat::pf15bit: return QImage::Format_RGB555;
    case TPixelFormat::pf16bit: return QImage::Format_RGB16;
    case TPixelFormat::pf24bit: return QImage::Format_BGR888;
    default: return QImage::Format_RGB32;
    }
}

void WriteBmp(TStream& stream, const QImage& src, TPixelFormat pf)
{
    const int bits = BitsFor(pf);
    QImage img = src;
    const QImage::Format want = bits == 1 ? QImage::Format_Mono
                                : bits <= 8 ? QImage::Format_Indexed8
                                : bits == 32 ? QImage::Format_RGB32
                                             : QImage::Format_BGR888;
    if (!img.isNull() && img.format() != want) img = img.convertToFormat(want);
    const int w = img.isNull() ? 0 : img.width();
    const int h = img.isNull() ? 0 : img.height();
    const int64_t stride = Stride(w, bits);
    const uint32_t entries = bits <= 8 ? 1u << bits : 0u;
    const uint32_t offBits = kFileHeaderSize + kInfoHeaderSize + 4 * entries;
    const int64_t imageSize = stride * h;
    const int64_t fileSize = offBits + imageSize;
    if (fileSize > std::numeric_limits<uint32_t>::max()) throw EWriteError("bitmap too large for a BMP file");

    std::vector<uint8_t> out(static_cast<size_t>(fileSize), 0);
    uint8_t* p = out.data();
    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, static_cast<uint32_t>(fileSize));
    Put32(p + 10, offBits);
    uint8_t* info = p + kFileHeaderSize;
    Put32(info + 0, kInfoHeaderSize);
    Put32(info + 4, static_cast<uint32_t>(w));
    Put32(info + 8, static_cast<uint32_t>(h));
    Put16(info + 12, 1);
    Put16(info + 14, static_cast<uint32_t>(bits));
    Put32(info + 16, BI_RGB);
    Put32(info + 20, static_cast<uint32_t>(imageSize));
    Put32(info + 24, kPixelsPerMetre);
    Put32(info + 28, kPixelsPerMetre);
    // biClrUsed and biClrImportant stay 0: the table is always full.

    const QList<QRgb> table = img.isNull() ? QList<QRgb>() : img.colorTable();
    uint8_t* t = info + kInfoHeaderSize;
    for (uint32_t i = 0; i < entries && i < static_cast<uint32_t>(table.size()); ++i) {
        t[4 * i + 0] = static_cast<uint8_t>(qBlue(table[i]));
        t[4 * i + 1] = static_cast<uint8_t>(qGreen(table[i]));
        t[4 * i + 2] = static_cast<uint8_t>(qRed(table[i]));
    }

    for (int row = 0; row < h; ++row) {
        const uint8_t* line = img.constScanLine(h - 1 - row);
        uint8_t* dst = p + offBits + stride * row;
        switch (bits) {
        case 1: {
            const int full = w / 8;
            std::memcpy(dst, line, static_cast<size_t>(full));
            // Bits past the width are zero, whatever the image holds there.
            if (w % 8 != 0) dst[full] = static_cast<uint8_t>(line[full] & (0xFF00 >> (w % 8)));
            break;
        }
        case 4:
            for (int x = 0; x < w; ++x) {
                const uint8_t index = std::min<uint8_t>(line[x], 15);
                dst[x / 2] |= static_cast<uint8_t>(x % 2 == 0 ? index << 4 : index);
            }
            break;
        case 8: std::memcpy(dst, line, static_cast<size_t>(w)); break;
        case 24: std::memcpy(dst, line, static_cast<size_t>(w) * 3); break;
        default: {
            const auto* px = reinterpret_cast<const QRgb*>(line);
            for (int x = 0; x < w; ++x) {
                dst[4 * x + 0] = static_cast<uint8_t>(qBlue(px[x]));
                dst[4 * x + 1] = static_cast<uint8_t>(qGreen(px[x]));
                dst[4 * x + 2] = static_cast<uint8_t>(qRed(px[x]));
            }
            break;
        }
        }
    }
    stream.WriteBuffer(out.data(), fileSize);
}

QImage ReadBmp(TStream& stream, TPixelFormat& pf)
{
    const int64_t start = stream.Position();
    uint8_t fileHeader[kFileHeaderSize];
    stream.ReadBuffer(fileHeader, kFileHeaderSize);
    if (fileHeader[0] != 'B' || fileHeader[1] != 'M') Fail("no BM signature");
    const uint32_t offBits = Get32(fileHeader + 10);

    uint8_t sizeField[4];
    stream.ReadBuffer(sizeField, 4);
    const uint32_t headerSize = Get32(sizeField);
    int64_t width = 0;
    int64_t height = 0;
    uint32_t planes = 0;
    int bits = 0;
    uint32_t compression = BI_RGB;
    uint32_t colorsUsed = 0;
    uint32_t masks[3] = {0, 0, 0};
    int entrySize = 4;
    if (headerSize == 12) {
        uint8_t core[8];
        stream.ReadBuffer(core, 8);
        width = Get16(core);
        height = Get16(core + 2);
        planes = Get16(core + 4);
        bits = static_cast<int>(Get16(core + 6));
        entrySize = 3;
    } else if (headerSize >= kInfoHeaderSize && headerSize <= 4096) {
        std::vector<uint8_t> info(headerSize - 4);
        stream.ReadBuffer(info.data(), static_cast<int64_t>(info.size()));
        width = static_cast<int32_t>(Get32(info.data()));
        height = static_cast<int32_t>(Get32(info.data() + 4));
        planes = Get16(info.data() + 8);
        bits = static_cast<int>(Get16(info.data() + 10));
        compression = Get32(info.data() + 12);
        colorsUsed = Get32(info.data() + 28);
        if (headerSize >= 52) {
            for (int i = 0; i < 3; ++i) masks[i] = Get32(info.data() + 36 + 4 * i);
        } else if (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) {
            uint8_t m[16];
            stream.ReadBuffer(m, compression == BI_BITFIELDS ? 12 : 16);
            for (int i = 0; i < 3; ++i) masks[i] = Get32(m + 4 * i);
        }
    } else {
        Fail("unknown header");
    }

    if (planes != 1) Fail("planes");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) Fail("bit count");
    const bool masked = compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS;
    if (compression != BI_RGB && !(masked && (bits == 16 || bits == 32))) Fail("compression");
    if (compression == BI_RGB && bits == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else if (compression == BI_RGB && bits == 32) {
        masks[0] = 0xFF0000;
        masks[1] = 0x00FF00;
        masks[2] = 0x0000FF;
    }
    if (width < 0) Fail("width");
    const bool topDown = height < 0;
    height = topDown ? -height : height;

    QList<QRgb> table;
    if (bits <= 8) {
        const uint32_t full = 1u << bits;
        const uint32_t count = colorsUsed == 0 ? full : colorsUsed;
        if (count > full) Fail("colour table");
        std::vector<uint8_t> raw(static_cast<size_t>(count) * entrySize);
        stream.ReadBuffer(raw.data(), static_cast<int64_t>(raw.size()));
        // Indexes past a short table show black rather than reading beyond it.
        table.resize(full, qRgb(0, 0, 0));
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = raw.data() + static_cast<size_t>(i) * entrySize;
            table[i] = qRgb(e[2], e[1], e[0]);
        }
    }

    const int64_t headerEnd = stream.Position() - start;
    if (offBits != 0) {
        if (offBits < headerEnd) Fail("pixel offset inside the header");
        if (start + offBits > stream.Size()) Fail("pixel offset past the end");
        stream.SetPosition(start + offBits);
    }
    const int64_t stride = Stride(width, bits);
    // Never allocate more than the stream can fill.
    if (height > 0 && stride > stream.Remaining() / height) Fail("truncated pixels");
    const int64_t need = stride * height;
    std::vector<uint8_t> data(static_cast<size_t>(need));
    stream.ReadBuffer(data.data(), need);

    pf = bits == 1 ? TPixelFormat::pf1bit
         : bits == 4 ? TPixelFormat::pf4bit
         : bits == 8 ? TPixelFormat::pf8bit
         : bits == 32 ? TPixelFormat::pf32bit
                      : TPixelFormat::pf24bit;
    if (bits == 16) {
        if (masks[0] == 0x7C00 && masks[1] == 0x03E0 && masks[2] == 0x001F) pf = TPixelFormat::pf15bit;
        if (masks[0] == 0xF800 && masks[1] == 0x07E0 && masks[2] == 0x001F) pf = TPixelFormat::pf16bit;
    }
    if (width == 0 || height == 0) return QImage();
    if (width > std::numeric_limits<int>::max() || height > std::numeric_limits<int>::max()) Fail("too large");
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);

    if (bits >= 16 && bits != 24) {
        const QImage img = DecodeMasked(data, w, h, stride, topDown, bits, masks);
        return pf == TPixelFormat::pf32bit ? img : img.convertToFormat(StorageFormat(pf));
    }
    QImage img(w, h, StorageFormat(pf));
    if (img.isNull()) Fail("too large");
    if (bits <= 8) img.setColorTable(bits == 4 ? table.mid(0, 16) : table);
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = data.data() + stride * (topDown ? y : h - 1 - y);
        uint8_t* dst = img.scanLine(y);
        switch (bits) {
        case 1: std::memcpy(dst, src, static_cast<size_t>((w + 7) / 8)); break;
        case 4:
            for (int x = 0; x < w; ++x) dst[x] = static_cast<uint8_t>(x % 2 == 0 ? src[x / 2] >> 4 : src[x / 2] & 0x0F);
            break;
        case 8: std::memcpy(dst, src, static_cast<size_t>(w)); break;
        default: std::memcpy(dst, src, static_cast<size_t>(w) * 3); break;
        }
    }
    img.setDotsPerMeterX(static_cast<int>(kPixelsPerMetre));
    img.setDotsPerMeterY(static_cast<int>(kPixelsPerMetre));
    return img;
}

} // namespace mycad
