// Opening shape libraries the way both programs do: libraries of every
// tagged layout, older ones brought to the newest layout in memory, 8-bit
// libraries converted, with one clear sentence for each way a file can fail.
#pragma once

#include "cad/io/LibManager.h"

#include <QString>

namespace mycad::app {

enum class TLibOpenResult {
    Opened,
    /// No file of that name, or it cannot be read.
    Missing,
    /// The file does not start with a library tag.
    NotALibrary,
    /// The 8-bit library layout before the tags, which is only recognised.
    Unsupported,
    /// It starts like a library but its entries do not all read.
    Damaged,
};

/// Replaces the library's content by the file's. A library of an older
/// layout, or of 8-bit characters, is brought to the newest layout (upgraded
/// is then set); the file itself is not touched. On any failure the library
/// is empty.
TLibOpenResult OpenLibrary(TLibManager& lib, const QString& fileName, bool& upgraded);

/// One sentence for the user, naming the file; empty for Opened.
QString LibOpenErrorText(TLibOpenResult result, const QString& fileName);

/// Adds the shapes as an entry, or in place of the entry of that name, at
/// the size of their box (link-point markers left out). False when a shape
/// cannot be stored or the name is longer than 255 characters.
bool StoreEntry(TLibManager& lib, const QString& name, const TArrMyShapeRef& shapes, const TUserData& userData);

} // namespace mycad::app
