// What `mycad info` tells about a drawing: a short summary for people, or
// every stored value as one JSON object for scripts.
#pragma once

#include "cad/canvas/MyCAD.h"

#include <QString>

#include <string>

namespace mycad::cli {

class TJsonWriter;

/// The JSON object of a loaded drawing. Enumerations and sets are their
/// ordinals and bits, colours their stored numbers, floats the shortest text
/// that reads back as the same value.
std::string DrawingJson(const TMyCAD& cad);

/// One shape as the JSON object `info --json` lists it with.
void WriteShapeJson(TJsonWriter& j, const TMyShape& shape);
/// A few lines for people: version, page, layers and shape counts by class.
QString DrawingSummary(const TMyCAD& cad, const QString& fileName);

} // namespace mycad::cli
