// The catalogue of shape classes: one row per class the canvas can create.
// The factory (by tool and by stored class name), the mouse (how a tool
// draws), shapes added by code (how many points a tool takes) and the record
// registry (which class's fields come before a class's own) all read these
// rows, so a new class is its own files, one row in ShapeCatalogue.cpp and,
// when it stores fields of its own, its record part in cad/io.
//
// Behaviour that differs between classes is not described here: it is a
// virtual of TMyShape that the class overrides.
#pragma once

#include "cad/shapes/Shape.h"
#include "cad/shapes/ShapeTypes.h"
#include "platform/Types.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace mycad {

/// How the mouse draws a new shape of a class.
enum class TDrawGesture : uint8_t {
    /// Not drawn with the mouse (containers).
    None,
    /// Press, drag and release; or a click for the first point and another
    /// for the second.
    OneGesture,
    /// Point by point, each press placing one; the shape says when it is done.
    PressByPress,
    /// As PressByPress, with the rubber band running from the last vertex
    /// and the Shift constraint taken from it.
    VertexByVertex,
    /// One point per mouse move while the button is held.
    PerMove,
};

/// How many points a shape added by code takes: at least Min, at most Max
/// (no limit when Max is negative), and Min plus a multiple of Step.
struct TPointCountRule {
    int32_t Min = 0;
    int32_t Max = 0;
    int32_t Step = 1;

    bool Accepts(int32_t count) const
    {
        if (count < Min || (Max >= 0 && count > Max)) return false;
        return Step <= 1 || (count - Min) % Step == 0;
    }
};

using TShapeMaker = std::unique_ptr<TMyShape> (*)(TShapeOwner* owner);

/// One shape class.
struct TShapeClassRow {
    /// The name the class reports (ClassName) and stored formats carry.
    String ClassName;
    /// The catalogued class it derives from; "TMyShape" for a direct subclass
    /// of the base. Records store the parent's fields first.
    String ParentClassName;
    /// The drawing tool that creates it, if any.
    std::optional<TDrawTool> Tool;
    TShapeMaker Make = nullptr;
    TDrawGesture Gesture = TDrawGesture::None;
    /// Shapes added by code with Tool; never met when Tool is empty.
    TPointCountRule ByCodePoints;
    /// The record part that appends this class's own fields, registered under
    /// this name by the document layer; empty when the class stores nothing
    /// beyond its parent's fields.
    String RecordPart;
};

/// Every catalogued class, each after its parent.
std::span<const TShapeClassRow> ShapeCatalogue();
/// The row of a class name, or nullptr.
const TShapeClassRow* FindShapeClass(const String& className);
/// The row of the class a drawing tool creates, or nullptr (selecting and
/// the other tools that create nothing, and tools whose class is not written).
const TShapeClassRow* FindShapeClassByTool(TDrawTool tool);
/// How the mouse draws a shape of that class; None for nullptr and for
/// classes outside the catalogue.
TDrawGesture DrawGestureOf(const TMyShape* shape);

} // namespace mycad
