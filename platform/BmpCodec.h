// Internal to the platform's graphics: the Windows BMP file format, written
// and read by our own code so that the bytes documents embed never change.
#pragma once

#include "platform/Graphics.h"

namespace mycad {

/// The image format a bitmap of this pixel format keeps its pixels in.
QImage::Format StorageFormat(TPixelFormat pf);

/// Writes img (in the storage format of pf) as a BMP file: 1, 4 or 8 bits
/// with a full colour table, 32 bits for pf32bit, 24 bits for the others.
void WriteBmp(TStream& stream, const QImage& img, TPixelFormat pf);

/// Reads a BMP file of 1, 4, 8, 16, 24 or 32 bits (uncompressed or bit
/// fields) at the stream's position and leaves the position after its pixels.
/// Raises EReadError for anything else, before allocating more than the
/// stream can fill.
QImage ReadBmp(TStream& stream, TPixelFormat& pf);

} // namespace mycad
