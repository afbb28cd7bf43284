// Picture shapes added and changed by the host, beside the canvas's other
// shapes-by-code operations.
#pragma once

#include "cad/canvas/MyCAD.h"

namespace mycad {

/// Adds a picture shape with its first corner at the device point (whatever
/// XYMode says), sized to the bitmap (converted to 24 bits in place).
/// Announced (OnShapeAdded), recorded ("ACT_ADD"), selected and repainted
/// like every shape added by code. Returns the id the shape was given, also
/// when the canvas refused it (no layer).
int32_t AddImageShapeByCode(TMyCAD& cad, const String& name, const TPoint& point, TBitmap* bitmap);

/// Hands the bitmap to the picture shape with that id, which sizes itself
/// to it, and repaints; false when no picture shape has the id.
bool SetMyImage(TMyCAD& cad, int32_t id, TBitmap* bitmap);

} // namespace mycad
