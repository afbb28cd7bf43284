// Pictures and data on the system clipboard in several formats at once, so
// that each program takes the one it reads best.
#pragma once

#include "platform/Graphics.h"
#include "platform/Types.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace mycad {

/// The MIME type under which a Windows metafile travels.
inline constexpr const char* kWmfMimeType = "image/x-wmf";
inline const String kSvgMimeType = u"image/svg+xml"_s;

/// Bytes offered under one MIME type: Bytes, or what Produce makes of them
/// when a program first asks (once; an empty result offers nothing).
struct TClipboardFormat {
    String MimeType;
    std::vector<uint8_t> Bytes;
    std::function<std::vector<uint8_t>()> Produce;
};

/// Replaces the clipboard's contents with every format and, when there is
/// one, the bitmap as an image (offered as PNG and the platform's other image
/// types). False when there is no clipboard.
bool SetClipboardFormats(const std::vector<TClipboardFormat>& formats, const TBitmap& bitmap);
/// The same with an image made by produceImage when a program first asks
/// for it: large pictures cost nothing until someone pastes them.
bool SetClipboardFormats(const std::vector<TClipboardFormat>& formats,
                         const std::function<std::unique_ptr<TBitmap>()>& produceImage);

/// One picture as a placeable metafile (image/x-wmf), as SVG (image/svg+xml)
/// and as a bitmap; empty parts are left out.
bool SetClipboardPictures(const std::vector<uint8_t>& wmf, const std::vector<uint8_t>& svg, const TBitmap& bitmap);

/// What the clipboard holds under the MIME type: empty when it holds nothing
/// there, when there is no clipboard, and when the data is larger than
/// maxBytes (another program may put anything there).
std::vector<uint8_t> ClipboardFormatBytes(const String& mimeType, size_t maxBytes);

} // namespace mycad
