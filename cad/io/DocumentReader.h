// The document reader and writer behind whole documents, blocks and copied
// shapes on the clipboard: one layout, one set of checks.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "platform/Graphics.h"
#include "platform/Streams.h"
#include "platform/Types.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace mycad {

/// A document as read, before any of it reaches a canvas.
struct TStagedDocument {
    String VersionTag;
    TColor Background = clWhite;
    int32_t Width = 0;
    int32_t Height = 0;
    TUnits Unit = TUnits::mm;
    std::unique_ptr<TBitmap> BkBitmap;
    TBkBitmapMode BkBitmapMode = TBkBitmapMode::Center;
    double Ratio = 1.0;
    bool HasTag = false;
    int32_t Tag = 0;
    TArrUserDataRec UserData;
    TArrLayerRec Layers;
    int32_t CurrentLayerId = -1;
    /// Owned by the canvas given to ReadDocument, numbered by position.
    TArrMyShape Shapes;
    int32_t NextShapeId = 0;
    int32_t NextLayerId = 0;
};

/// Reads the whole stream from its start into doc, in the layout its version
/// tag names, with shapes created for cad. Raises EReadError (or
/// std::bad_alloc) for a short, damaged or hostile stream, including one
/// whose relations name no shape or run in loops; the canvas is not touched.
void ReadDocument(TMyCAD& cad, TStream& s, TStagedDocument& doc);

/// Reads the stream with ReadDocument while cad is loading (shapes being
/// read then pass no settings on to members that are not theirs yet) and
/// hands the result to take. True when both ran through; false after a read
/// error (take may raise one too) or exhausted memory. IsLoading is as it was
/// afterwards.
bool ReadStagedDocument(TMyCAD& cad, TStream& s, const std::function<void(TStagedDocument& doc)>& take);

/// Writes cad's settings and user data with the given layer table and shapes
/// in the newest layout; raises EWriteError when the stream fails.
void WriteDocument(const TMyCAD& cad, TStream& s, const TArrLayerRec& layers, int32_t currentLayerId,
                   const TArrMyShape& shapes);

} // namespace mycad
