// Pictures on the system clipboard in several formats at once, so that each
// program takes the one it reads best.
#pragma once

#include "platform/Graphics.h"

#include <cstdint>
#include <vector>

namespace mycad {

/// The MIME type under which a Windows metafile travels.
inline constexpr const char* kWmfMimeType = "image/x-wmf";

/// Replaces the clipboard's contents with one picture as a placeable
/// metafile (image/x-wmf), as SVG (image/svg+xml) and as a bitmap (offered
/// as PNG and the platform's other image types). Empty parts are left out;
/// false when there is no clipboard.
bool SetClipboardPictures(const std::vector<uint8_t>& wmf, const std::vector<uint8_t>& svg, const TBitmap& bitmap);

} // namespace mycad
