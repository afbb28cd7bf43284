// Document files: a drawing as one stream of bytes. A text header names the
// maker, the program and the version tag; the canvas settings, the canvas's
// user data and the layer table follow, then one entry per shape in list
// order: the class name and the shape's record (ShapeRecords.h).
//
// These are the canvas's own operations, written as functions of this layer
// that take the canvas: the format needs the record of every shape class,
// which lies above the canvas, so TMyCAD cannot carry them as members without
// its library reaching up into this one.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "platform/Streams.h"
#include "platform/Types.h"

namespace mycad {

/// The first header field of every document, which IsZEDAFile looks for.
extern const String kDocumentMaker;

/// Writes the document at the stream's position in the newest layout ("XP.j").
/// False when the stream fails; what was written so far stays in it.
bool SaveToStream(const TMyCAD& cad, TStream& stream);
/// Writes the document to a file, replacing it only once the whole document
/// is on disk, so a failed save leaves an existing file as it was. Clears
/// Global_Changed on success.
bool SaveToFile(TMyCAD& cad, const String& fileName);

/// Replaces the whole document by the one in the stream, read from its
/// start, in the layout its version tag names; afterwards the zoom is 1,
/// nothing is selected, the undo list and the copy memory are empty, and
/// DiskFileVersion is the file's tag. The document's user data pairs are
/// added to those the canvas holds.
///
/// False when the stream is short, damaged or names a relation to no shape;
/// then the canvas is exactly as it was. A drawing is taken over only when
/// all of it was read, and reading allocates no more than a small multiple
/// of the stream's size.
bool LoadFromStream(TMyCAD& cad, TStream& stream);
/// False, changing nothing, for a file that is no document (IsZEDAFile) or
/// cannot be read; otherwise LoadFromStream of its bytes.
bool LoadFromFile(TMyCAD& cad, const String& fileName);

/// Whether the file starts with the maker field of a document (in 8-bit
/// characters while ReadOldZEDAFile is set). False for a file that cannot be
/// opened or is too short.
bool IsZEDAFile(const String& fileName);
/// The same test on the first 64 bytes read as 8-bit characters.
bool IsZEDAFile_old(const String& fileName);

} // namespace mycad
