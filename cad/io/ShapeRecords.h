// Shape records: the bytes of one shape wherever shapes are stored (documents,
// blocks, libraries). A record starts with the fields every shape has; each
// class then appends its own fields after those of its parent class. A record
// carries neither class name nor length: the container stores the class name
// in front and creates the right class before the record is read.
//
// Each class plugs its part in here as a TShapeRecordClass, named by the
// class name the shape reports (ClassName) and by its parent's. A class that
// stores nothing of its own still registers, with no functions, so that a
// shape whose layout is not known is refused instead of being written short.
// The shape classes live in a lower layer and know nothing of records.
#pragma once

#include "cad/io/FileVersion.h"
#include "cad/io/RecordReader.h"
#include "cad/shapes/Shape.h"
#include "platform/Streams.h"
#include "platform/Types.h"

#include <functional>
#include <vector>

namespace mycad {

struct TShapeRecordClass {
    /// The class name the shape reports and documents store, e.g. "TMyLine".
    String ClassName;
    /// The class whose fields come before this class's; empty only for the base.
    String ParentClassName;
    /// Appends this class's own fields (not its parent's); empty when it stores none.
    std::function<void(const TMyShape& shape, TStream& stream)> Save;
    /// Reads this class's own fields with the reader's layout; empty when it stores none.
    std::function<void(TMyShape& shape, TRecordReader& reader)> Load;
};

/// A record part whose functions take the class T itself. The registry calls
/// them only for shapes whose class name is registered, and checks that the
/// shape really is a T before it does.
template <typename T>
TShapeRecordClass MakeShapeRecordClass(const String& className, const String& parentClassName,
                                       void (*save)(const T&, TStream&), void (*load)(T&, TRecordReader&))
{
    TShapeRecordClass c{className, parentClassName, {}, {}};
    if (save) {
        c.Save = [save](const TMyShape& shape, TStream& stream) {
            const T* typed = dynamic_cast<const T*>(&shape);
            if (!typed) throw EWriteError("shape record of the wrong class");
            save(*typed, stream);
        };
    }
    if (load) {
        c.Load = [load](TMyShape& shape, TRecordReader& reader) {
            T* typed = dynamic_cast<T*>(&shape);
            if (!typed) TRecordReader::Fail("shape record of the wrong class");
            load(*typed, reader);
        };
    }
    return c;
}

/// Adds a class's record part, or replaces the part of that name. False when
/// the parent is not registered (the base "TMyShape" always is).
bool RegisterShapeRecord(const TShapeRecordClass& recordClass);
/// Whether shapes of that class name can be written and read.
bool HasShapeRecord(const String& className);

/// Writes the shape's record in the newest layout. Raises EWriteError when
/// the stream fails or the shape's class has no registered record.
void WriteShapeRecord(const TMyShape& shape, TStream& stream);
/// Reads a record into a freshly created shape of the right class, in the
/// reader's layout. Raises EReadError on a short or damaged record and for a
/// class without a registered record.
void ReadShapeRecord(TMyShape& shape, TRecordReader& reader);

/// The same, reporting instead of raising: true when written.
bool SaveShapeToStream(const TMyShape& shape, TStream& stream);
/// Reads one record in the layout of versionTag (e.g. the DiskFileVersion of
/// the canvas that reads a library). True when read; after false the shape
/// holds part of the record and the stream's position is undefined.
bool LoadShapeFromStream(TMyShape& shape, TStream& stream, const String& versionTag);

} // namespace mycad
