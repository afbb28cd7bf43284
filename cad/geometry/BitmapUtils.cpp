#include "cad/geometry/BitmapUtils.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace mycad {

namespace {

constexpr int32_t kBytesPerPixel = 3;

void EnsureTrueColor(TBitmap& bitmap)
{
    if (bitmap.PixelFormat() != TPixelFormat::pf24bit) bitmap.SetPixelFormat(TPixelFormat::pf24bit);
}

uint8_t ClampByte(int64_t v) { return static_cast<uint8_t>(std::clamp<int64_t>(v, 0, 255)); }

// Applies f to every byte of every 24-bit scan line.
template <typename F>
void ForEachByte(TBitmap& bitmap, F f)
{
    EnsureTrueColor(bitmap);
    const int32_t rowBytes = bitmap.Width() * kBytesPerPixel;
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int32_t i = 0; i < rowBytes; ++i) row[i] = f(row[i]);
    }
}

// Nearest integer with ties to even, like RoundToInt, but in 64 bits (pivots
// far outside the picture must not overflow) and without a library call: the
// conversion instruction rounds in the current mode, nearest-even by default.
inline int64_t RoundHalfEven64(double v)
{
#if defined(__x86_64__)
    return _mm_cvtsd_si64(_mm_set_sd(v));
#else
    return static_cast<int64_t>(std::nearbyint(v));
#endif
}

// Division of the half-pixel source coordinate back to whole pixels truncates
// toward zero, as the integer division the pixel mapping is defined with.
inline int64_t HalfToWhole(int64_t halfUnits) { return (halfUnits - 1) / 2; }

// The source drawn opaque on a 24-bit w x h bitmap filled with the canvas's
// brush, so its transparent colour survives in the pixels and the turned
// result can be drawn transparent with that colour fixed.
std::unique_ptr<TBitmap> ScaledOpaque(TBitmap& bitmap, int32_t w, int32_t h)
{
    auto scaled = std::make_unique<TBitmap>(w, h, TPixelFormat::pf24bit);
    const bool transparent = bitmap.Transparent();
    bitmap.SetTransparent(false);
    scaled->Canvas().FillRect(Rect(0, 0, w, h));
    scaled->Canvas().StretchDraw(Rect(0, 0, w, h), bitmap);
    // Left as the caller had it: a source that stayed opaque would make every
    // later rotation of it opaque too.
    bitmap.SetTransparent(transparent);
    return scaled;
}

struct TurnMapping {
    double c = 1.0;
    double s = 0.0;
    int64_t cx = 0, cy = 0;  // the pivot in the source
    int64_t ox = 0, oy = 0;  // the pivot in the result
};

// Each destination pixel centre (a, b), in half pixels from the pivot, is
// turned back onto the source: sa = a*c - b*s, sb = a*s + b*c, rounded, then
// halved back to whole pixels. The column products a*c and a*s are the same
// for every row and the row products b*s and b*c for every column, so each is
// computed once; every product and sum is the same double a direct evaluation
// gives, so the rounding (and every pixel) is identical. The result is filled
// in tiles so the slanted runs of source pixels that neighbouring rows read
// stay in the cache.
void TurnPixels(const TBitmap& source, TBitmap& result, const TurnMapping& t)
{
    constexpr int32_t kTileRows = 64;
    constexpr int32_t kTileColumns = 128;
    const int32_t srcW = source.Width();
    const int32_t srcH = source.Height();
    const int32_t newW = result.Width();
    const int32_t newH = result.Height();

    std::vector<double> colCos(newW);
    std::vector<double> colSin(newW);
    for (int32_t x = 0; x < newW; ++x) {
        const double a = double(2 * (x - t.ox) + 1);
        colCos[x] = a * t.c;
        colSin[x] = a * t.s;
    }
    std::vector<const uint8_t*> sourceRows(srcH);
    for (int32_t y = 0; y < srcH; ++y) sourceRows[y] = source.ScanLine(y);
    std::vector<uint8_t*> resultRows(newH);
    for (int32_t y = 0; y < newH; ++y) resultRows[y] = result.ScanLine(y);

    for (int32_t top = 0; top < newH; top += kTileRows) {
        const int32_t bottom = std::min(newH, top + kTileRows);
        for (int32_t left = 0; left < newW; left += kTileColumns) {
            const int32_t right = std::min(newW, left + kTileColumns);
            for (int32_t y = top; y < bottom; ++y) {
                const double b = double(2 * (y - t.oy) + 1);
                const double rowSin = b * t.s;
                const double rowCos = b * t.c;
                uint8_t* out = resultRows[y] + left * kBytesPerPixel;
                for (int32_t x = left; x < right; ++x, out += kBytesPerPixel) {
                    const int64_t sx = HalfToWhole(RoundHalfEven64(colCos[x] - rowSin)) + t.cx;
                    const int64_t sy = HalfToWhole(RoundHalfEven64(colSin[x] + rowCos)) + t.cy;
                    if (uint64_t(sx) < uint64_t(srcW) && uint64_t(sy) < uint64_t(srcH)) {
                        const uint8_t* p = sourceRows[sy] + sx * kBytesPerPixel;
                        out[0] = p[0];
                        out[1] = p[1];
                        out[2] = p[2];
                    } else {
                        out[0] = out[1] = out[2] = 255;
                    }
                }
            }
        }
    }
}

bool FileExists(const String& fileName)
{
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(fileName.toStdU16String()), error);
}

std::unique_ptr<TBitmap> RedCrossPlaceholder()
{
    auto result = std::make_unique<TBitmap>(32, 32, TPixelFormat::pf24bit);
    TCanvas& canvas = result->Canvas();
    canvas.Pen().SetColor(clRed);
    canvas.Pen().SetWidth(3);
    canvas.MoveTo(2, 2);
    canvas.LineTo(29, 29);
    canvas.MoveTo(2, 29);
    canvas.LineTo(29, 2);
    return result;
}

} // namespace

EInvalidGraphic::EInvalidGraphic(const String& fileName)
    : std::runtime_error("Cannot read the picture in " + fileName.toStdString())
{
}

void GrayScaleBitmap(TBitmap& bitmap, bool on)
{
    if (!on) return;
    EnsureTrueColor(bitmap);
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        uint8_t* p = bitmap.ScanLine(y);
        for (int32_t x = 0; x < bitmap.Width(); ++x, p += kBytesPerPixel) {
            const uint8_t g = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
            p[0] = p[1] = p[2] = g;
        }
    }
}

void AdjustBrightBitmap(TBitmap& bitmap, int32_t amount)
{
    if (amount == 0) return;
    // Any amount beyond a byte's range saturates every byte alike.
    const int32_t step = std::clamp(amount, -255, 255);
    std::array<uint8_t, 256> map{};
    for (int32_t v = 0; v < 256; ++v) map[v] = ClampByte(v + step);
    ForEachByte(bitmap, [&map](uint8_t v) { return map[v]; });
}

void AdjustContrastBitmap(TBitmap& bitmap, int32_t amount)
{
    if (amount == 0) return;
    std::array<uint8_t, 256> map{};
    for (int32_t v = 0; v < 256; ++v) {
        // In 64 bits: the product overflows 32 bits for amounts past 2^24.
        const int64_t d = (int64_t(std::abs(127 - v)) * amount) / 255;
        map[v] = ClampByte(v < 128 ? v - d : v + d);
    }
    ForEachByte(bitmap, [&map](uint8_t v) { return map[v]; });
}

void FlipBitmap(TBitmap& bitmap, bool horizontal, bool vertical)
{
    if (!horizontal && !vertical) return;
    EnsureTrueColor(bitmap);
    // Mirrored in place: the pixels end where a mirrored copy would put them,
    // and the bitmap keeps its transparency flag, mode and colour.
    const int32_t w = bitmap.Width();
    const int32_t h = bitmap.Height();
    auto mirrorRow = [w](uint8_t* row) {
        for (int32_t l = 0, r = w - 1; l < r; ++l, --r)
            std::swap_ranges(row + l * kBytesPerPixel, row + (l + 1) * kBytesPerPixel, row + r * kBytesPerPixel);
    };
    if (vertical) {
        for (int32_t top = 0, bottom = h - 1; top < bottom; ++top, --bottom)
            std::swap_ranges(bitmap.ScanLine(top), bitmap.ScanLine(top) + w * kBytesPerPixel, bitmap.ScanLine(bottom));
    }
    if (horizontal) {
        for (int32_t y = 0; y < h; ++y) mirrorRow(bitmap.ScanLine(y));
    }
}

std::unique_ptr<TBitmap> RotateBitmap(TBitmap& bitmap, double angle, int32_t width, int32_t height,
                                      int32_t pivotDx, int32_t pivotDy)
{
    const TColor transparentColor = bitmap.TransparentColor();
    const TTransparentMode transparentMode = bitmap.TransparentMode();
    const bool transparent = bitmap.Transparent();
    const int32_t w = std::max(width, 0);
    const int32_t h = std::max(height, 0);
    // A picture with no area has nothing to turn; the 24-bit empty result
    // keeps the source's transparency settings like every other result.
    if (w == 0 || h == 0) {
        auto empty = std::make_unique<TBitmap>(0, 0, TPixelFormat::pf24bit);
        empty->SetTransparentColor(transparentColor);
        empty->SetTransparentMode(transparentMode);
        empty->SetTransparent(transparent);
        return empty;
    }

    // A 24-bit source of the target size is its own scaled picture.
    std::unique_ptr<TBitmap> scaled;
    if (bitmap.PixelFormat() != TPixelFormat::pf24bit || bitmap.Width() != w || bitmap.Height() != h)
        scaled = ScaledOpaque(bitmap, w, h);

    if (angle == 0.0 || !std::isfinite(angle)) {
        std::unique_ptr<TBitmap> copy = scaled ? std::move(scaled) : std::make_unique<TBitmap>(bitmap);
        copy->SetTransparent(transparent);
        copy->SetTransparentColor(transparentColor);
        copy->SetTransparentMode(transparentMode);
        return copy;
    }

    const TBitmap& source = scaled ? *scaled : bitmap;
    TurnMapping turn;
    turn.c = std::cos(angle);
    turn.s = std::sin(angle);
    const int32_t srcW = source.Width();
    const int32_t srcH = source.Height();
    const int32_t newW = RoundToInt(std::fabs(srcH * turn.s) + std::fabs(srcW * turn.c));
    const int32_t newH = RoundToInt(std::fabs(srcW * turn.s) + std::fabs(srcH * turn.c));
    auto result = std::make_unique<TBitmap>(newW, newH, TPixelFormat::pf24bit);

    // 64-bit pivot arithmetic: pivot offsets anywhere in the 32-bit range
    // only move the picture out of sight.
    turn.cx = int64_t(width / 2) + pivotDx;
    turn.cy = int64_t(height / 2) + pivotDy;
    turn.ox = (int64_t(newW) - srcW) / 2 + turn.cx;
    turn.oy = (int64_t(newH) - srcH) / 2 + turn.cy;
    TurnPixels(source, *result, turn);

    result->SetTransparentColor(transparentColor);
    result->SetTransparentMode(TTransparentMode::tmFixed);
    result->SetTransparent(transparent);
    return result;
}

std::unique_ptr<TBitmap> LoadGraphicsFile(const String& fileName)
{
    if (!FileExists(fileName)) return RedCrossPlaceholder();

    const String ext = fileName.right(3).toUpper();
    // "PEG" is the end of ".jpeg".
    static const std::array<const char*, 7> known{"BMP", "EMF", "ICO", "JPG", "PEG", "WMF", "PNG"};
    if (std::none_of(known.begin(), known.end(), [&ext](const char* k) { return ext == String(k); }))
        throw EAssertionFailed();

    if (ext == String("BMP")) {
        auto result = std::make_unique<TBitmap>();
        result->SetPixelFormat(TPixelFormat::pf24bit);
        if (!result->LoadFromFile(fileName)) throw EInvalidGraphic(fileName);
        return result;
    }
    // There is no metafile reader yet; a metafile shows as the placeholder,
    // like a picture whose file is missing.
    if (ext == String("WMF") || ext == String("EMF")) return RedCrossPlaceholder();

    TPicture picture;
    if (!picture.LoadFromFile(fileName)) throw EInvalidGraphic(fileName);
    auto result = std::make_unique<TBitmap>();
    result->SetSize(picture.Width(), picture.Height());
    result->SetPixelFormat(TPixelFormat::pf24bit);
    picture.Draw(result->Canvas(), 0, 0);
    return result;
}

} // namespace mycad
