// Processing of raster bitmaps for the image shape and the shape base: grey
// scale, brightness, contrast, mirroring, rotation, and loading a picture file
// of several formats into a bitmap.
//
// The pixel operations work on 24-bit scan lines (blue, green, red). A bitmap
// of another pixel format is converted to 24 bits first, so a bitmap file
// loaded in its own format can be processed directly.
#pragma once

#include "platform/Graphics.h"

#include <memory>
#include <stdexcept>

namespace mycad {

/// Raised by LoadGraphicsFile for a file name whose ending is none of the
/// picture formats it knows. The message is the one the user is shown.
class EAssertionFailed : public std::runtime_error {
public:
    EAssertionFailed() : std::runtime_error("Assertion failure (cad, line 3511)") {}
};

/// Raised by LoadGraphicsFile when a picture file exists but cannot be decoded
/// (a damaged or truncated file, or one whose contents are not its format).
class EInvalidGraphic : public std::runtime_error {
public:
    explicit EInvalidGraphic(const String& fileName);
};

/// When on, every pixel becomes the grey (red + green + blue) div 3.
void GrayScaleBitmap(TBitmap& bitmap, bool on);

/// Adds amount to every byte, clamped to 0..255; 0 leaves the bitmap alone.
void AdjustBrightBitmap(TBitmap& bitmap, int32_t amount);

/// Moves every byte v away from the middle (toward it for a negative amount)
/// by |127 - v| * amount / 255, truncated toward zero and clamped to 0..255;
/// 0 leaves the bitmap alone.
void AdjustContrastBitmap(TBitmap& bitmap, int32_t amount);

/// Mirrors the pixels left to right and/or top to bottom. The bitmap keeps its
/// size and its transparency settings.
void FlipBitmap(TBitmap& bitmap, bool horizontal, bool vertical);

/// Scales bitmap to width x height and turns it by angle radians about the
/// pivot (the centre of the scaled picture moved by pivotDx, pivotDy), on a
/// new bitmap large enough for the turned rectangle; pixels outside the
/// picture are white. The picture appears turned by -angle on the screen.
/// The result carries the source's transparency flag and transparent colour,
/// in tmFixed mode (the mode is kept as it was when angle is 0). The source
/// is left as it was. A non-finite angle is taken as no turn.
std::unique_ptr<TBitmap> RotateBitmap(TBitmap& bitmap, double angle, int32_t width, int32_t height,
                                      int32_t pivotDx, int32_t pivotDy);

/// Loads a BMP, ICO, PNG, JPG/JPEG, WMF or EMF file into a new bitmap, chosen
/// by the last three characters of the name in any case. A bitmap file keeps
/// its own pixel format; the others are drawn on a 24-bit bitmap of their size.
/// A file that does not exist gives a 32 x 32 placeholder with a red cross,
/// and so do metafiles, which cannot be read yet.
/// Throws EAssertionFailed for any other ending and EInvalidGraphic for a file
/// that cannot be decoded.
std::unique_ptr<TBitmap> LoadGraphicsFile(const String& fileName);

} // namespace mycad
