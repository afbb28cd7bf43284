// Blocks: a saved drawing added to the current one instead of replacing it
// (a title block, a standard detail). The block's shapes are read into the
// copy memory and pasted in place as one undo step.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "platform/Streams.h"
#include "platform/Types.h"

#include <cstdint>

namespace mycad {

/// How a block's layers are treated.
enum class TBlockLayerMode : uint8_t {
    /// Every block shape goes onto the canvas's current layer.
    Merge = 0,
    /// Block shapes keep their layer by position; layers beyond the canvas's
    /// count are created, named "Block" + the block layer's name.
    Import = 1,
};

/// Reads a document stream into the copy memory, not into the document: the
/// zoom becomes 1, nothing stays selected, the block's background colour,
/// unit, background bitmap and its mode, ratio and (newer files) tag replace
/// the canvas's own, its user data pairs with new keys are added, the control
/// only grows to the block's size, the layers are arranged by mode, and the
/// undo list is emptied. Every shape gets a fresh id and no name.
///
/// False when the stream is short, damaged or hostile, or (merging) when the
/// canvas has no current layer: then the canvas, its memory and its undo list
/// are exactly as they were.
bool LoadFromStreamforBlock(TMyCAD& cad, TStream& stream, TBlockLayerMode mode);

/// Adds the document file as a block: LoadFromStreamforBlock, PasteforBlock
/// and an empty memory afterwards. The block's top-level shapes end up
/// selected and the undo list holds their one "ACT_ADD" step; the document
/// is marked changed. False, changing nothing, for a file that is no
/// document or does not read.
bool AddBlockfromZEDAFile(TMyCAD& cad, const String& fileName, TBlockLayerMode mode);

} // namespace mycad
