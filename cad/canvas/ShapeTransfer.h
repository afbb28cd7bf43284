// Copied shapes on the system clipboard in the drawing's own format, so that
// a paste in another canvas, window or program gets the shapes themselves.
// Writing and reading shape records belongs to the file layer above the
// canvas; it installs the transfer (InstallShapeTransfer in
// cad/io/ClipboardTransfer.h). Without one, Copy offers pictures only and
// Paste takes the canvas's own copy memory.
#pragma once

#include "cad/canvas/MyCAD.h"

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

namespace mycad {

/// The MIME type of copied shapes.
inline const String kShapesMimeType = u"application/x-mycad-shapes"_s;
/// Clipboard data larger than this is not read at all.
inline constexpr size_t kMaxShapesClipboardBytes = size_t{256} << 20;

struct TShapeTransfer {
    /// The shapes of a copy memory as bytes; empty when they cannot be written.
    std::function<std::vector<uint8_t>(TMyCAD& cad, const TArrMyShape& shapes)> Encode;
    /// Reads bytes that may come from anywhere into copies owned by cad,
    /// numbered 0..n-1 with every relation naming one of them. False, with
    /// shapes left empty, for anything that is not sound.
    std::function<bool(TMyCAD& cad, const std::vector<uint8_t>& bytes, TArrMyShape& shapes)> Decode;
};

/// Installs the process's transfer and returns the one it replaces.
TShapeTransfer SetShapeTransfer(TShapeTransfer transfer);
const TShapeTransfer& ShapeTransfer();

/// Old list numbers of copied shapes to the numbers they take elsewhere.
using TCopyNumbers = std::unordered_map<int64_t, int32_t>;

/// Rewrites the relations of a copy through numbers. A relation to a shape
/// that was not copied names nothing afterwards: no parent, no member, no
/// attached connector, a free connector end. So a copy never names an
/// unrelated shape of the drawing it lands in.
void MapCopiedRelations(TMyShape& shape, const TCopyNumbers& numbers);

} // namespace mycad
