// Pointer services shared by the controls: the Qt shape of each cursor, and
// the emulated cursor confinement.
#pragma once

#include "platform/Types.h"

#include <QtCore/qnamespace.h>

namespace mycad {

/// The Qt shape that shows c; custom and unknown cursors show the arrow.
Qt::CursorShape CursorShapeOf(TCursor c);

/// A screen point moved inside the current confinement; unchanged while the
/// pointer is free.
TPoint ConfineToClip(const TPoint& screen);

/// True where the platform lets a program move the real pointer. Elsewhere
/// (Wayland, headless) confinement is only applied to delivered positions.
bool CanMovePointer();

} // namespace mycad
