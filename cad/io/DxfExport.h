// DXF export: the drawing as a minimal ASCII DXF file in millimetres, for CAD
// programs and cutting machines. The file holds one ENTITIES section and
// nothing else; every shape in list order adds the entities of its class
// (lines, closed polylines, circles, arcs, texts). Classes the table does not
// name, subclasses included, write nothing; members of groups are shapes of
// the list and write themselves.
//
// y runs upwards from the bottom edge of the control as it is at zoom 1, so
// the file is the same whatever the view's zoom.
//
// Each class's entities are written in one place: a TDxfClass registered by
// the class name the shape reports, as the record parts are (ShapeRecords.h).
// Text is laid out at zoom 1 as well, so neither its lines nor its outlines
// move with the view.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "cad/io/DxfWriter.h"
#include "cad/shapes/Shape.h"
#include "platform/Types.h"

#include <functional>
#include <string>

namespace mycad {

/// What a class's writer works with: the file being composed, whether text
/// goes out as glyph outlines, and the canvas the shapes belong to (to
/// measure and lay out text).
struct TDxfOutput {
    TDxfWriter& Writer;
    bool TextOutlines;
    TMyCAD& Cad;
};

struct TDxfClass {
    /// The exact class name the shape reports, e.g. "TMyLine".
    String ClassName;
    /// Appends the shape's entities. The shape is not changed; it is not
    /// const because laying out text uses the canvas's drawing path.
    std::function<void(TMyShape& shape, TDxfOutput& out)> Write;
};

/// A class entry whose writer takes the class T itself; the table calls it
/// only for shapes that really are a T.
template <typename T>
TDxfClass MakeDxfClass(const String& className, void (*write)(T&, TDxfOutput&))
{
    return TDxfClass{className, [write](TMyShape& shape, TDxfOutput& out) {
                         if (T* typed = dynamic_cast<T*>(&shape)) write(*typed, out);
                     }};
}

/// Adds a class's writer, or replaces the one of that name. False for an
/// empty name or no writer.
bool RegisterDxfClass(const TDxfClass& dxfClass);
/// Whether shapes of exactly that class name write entities.
bool HasDxfClass(const String& className);
/// Whether the file leaves shapes of exactly that class name out on
/// purpose. Every catalogued class is either this or has a writer.
bool DxfLeavesOut(const String& className);

/// Composes the whole file piece by piece into sink: text shapes as TEXT
/// entities, or with textOutlines as the closed outlines of their glyphs.
/// False when the sink refused a piece.
bool WriteDxf(TMyCAD& cad, bool textOutlines, const TDxfSink& sink);
/// The whole file as one string (for small drawings and tests).
std::string DxfDocument(TMyCAD& cad, bool textOutlines);

/// Writes the file with text as TEXT entities. An existing file is replaced
/// only once the new one is complete; false (leaving it as it was) when the
/// file cannot be written.
bool SaveToDxf(TMyCAD& cad, const String& fileName);
/// The same with every text shape written as the outlines of its glyphs;
/// everything else is byte for byte what SaveToDxf writes.
bool SaveToDxf1(TMyCAD& cad, const String& fileName);

} // namespace mycad
