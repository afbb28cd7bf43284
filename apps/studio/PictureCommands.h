// Putting pictures into the drawing: from a picture file or from the system
// clipboard, each as one picture shape centred on a point of the canvas,
// added as the canvas adds shapes by code (announced, one undo step,
// selected).
#pragma once

#include "cad/canvas/MyCAD.h"

#include <QString>

namespace mycad::studio {

/// The file filter of the picture formats Insert > Picture reads.
QString PictureFileFilter();

/// Adds the picture of a PNG, JPEG, BMP or ICO file centred on the device
/// point; its id, or -1 with the reason in error.
int32_t InsertPictureFile(TMyCAD& cad, const QString& fileName, const TPoint& centre, QString& error);

/// Adds the picture the system clipboard holds, centred on the device point;
/// its id, or -1 with the reason in error when the clipboard holds none.
int32_t PastePicture(TMyCAD& cad, const TPoint& centre, QString& error);

} // namespace mycad::studio
