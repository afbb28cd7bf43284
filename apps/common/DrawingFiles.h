// Opening drawings the way both programs do: documents of every version,
// including the oldest ones that store their texts in 8-bit characters, with
// one clear sentence for each way a file can fail.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "cad/io/BlockFile.h"

#include <QString>
#include <mycad/Version.h>

namespace mycad::app {

/// The version both programs report (--version).
inline constexpr const char* kVersion = MYCAD_VERSION_STRING;

enum class TOpenResult {
    Opened,
    /// No file of that name.
    Missing,
    /// The file does not start like a drawing (or is a folder).
    NotADrawing,
    /// It starts like a drawing but could not be read to its end.
    Damaged,
};

/// Replaces the canvas's drawing by the file's. A file whose texts are 8-bit
/// characters is read as such. On any failure the canvas is unchanged.
TOpenResult OpenDrawing(TMyCAD& cad, const QString& fileName);

/// Adds the file's drawing to the canvas's as a block (AddBlockfromZEDAFile),
/// 8-bit files included. On any failure the canvas is unchanged.
TOpenResult InsertDrawingAsBlock(TMyCAD& cad, const QString& fileName, TBlockLayerMode mode);

/// One sentence for the user, naming the file; empty for Opened.
QString OpenErrorText(TOpenResult result, const QString& fileName);

/// The output formats of picture exports, by file name extension.
enum class TImageFormat { Unknown, Png, Jpeg, Bmp };
TImageFormat ImageFormatOf(const QString& fileName);

} // namespace mycad::app
