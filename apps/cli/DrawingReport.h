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

/// A point as [x, y]; a list of them as an array of those.
void WritePoint(TJsonWriter& j, const TMyPoint& p);
void WritePoints(TJsonWriter& j, const TArrMyPoint& points);
/// User data as an array of [key, value] pairs.
void WriteUserData(TJsonWriter& j, const TUserData& data);
/// One shape as the JSON object `info --json` lists it with.
void WriteShapeJson(TJsonWriter& j, const TMyShape& shape);
/// A few lines for people: version, page, layers and shape counts by class.
QString DrawingSummary(const TMyCAD& cad, const QString& fileName);

} // namespace mycad::cli
