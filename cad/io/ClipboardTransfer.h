// Copied shapes on the system clipboard as a document of their own, read
// back like any file that may come from anywhere: bounded, checked, and all
// or nothing.
#pragma once

#include "cad/canvas/ShapeTransfer.h"

#include <cstdint>
#include <vector>

namespace mycad {

/// The shapes of a copy memory as a document: one layer, the shapes in
/// memory order, every relation renumbered to positions in it (relations to
/// shapes that were not copied are cut). Empty when they cannot be written.
std::vector<uint8_t> EncodeCopiedShapes(TMyCAD& cad, const TArrMyShape& shapes);

/// Reads what EncodeCopiedShapes wrote into copies owned by cad. False, with
/// shapes empty, for bytes that are not such a document.
bool DecodeCopiedShapes(TMyCAD& cad, const std::vector<uint8_t>& bytes, TArrMyShape& shapes);

/// Installs the two as the process's transfer, so that Copy puts the shapes
/// themselves on the system clipboard and Paste takes them from there.
/// Applications that link the file layer call it once at start.
void InstallShapeTransfer();

} // namespace mycad
