// Drawing services that every shape class shares: the pen and brush modes of
// shapes, handles and rubber bands, the marks of handles and link points, and
// the measurement texts. The filling, text and hit-test methods of TMyShape
// that build on them are implemented beside these (ShapeDraw.cpp).
#pragma once

#include "cad/geometry/Geometry.h"
#include "cad/shapes/ShapeTypes.h"
#include "platform/Graphics.h"
#include "platform/Types.h"

#include <cstdint>

namespace mycad {

class TMyShape;

/// Fill colour of handles, one for the whole process: lime until first set.
TColor GetHotColor();
void SetHotColor(TColor color);

/// Handles: black 1-pixel solid pen, solid brush in the hot colour.
void SetDrawHotMode(TCanvas& canvas);
/// Handles of a locked shape: black 1-pixel solid pen, solid grey brush.
void SetDrawLockedHotMode(TCanvas& canvas);
/// Rubber bands: white dotted 1-pixel pen in XOR mode, no fill, so drawing
/// the same figure twice erases it.
void SetDragResizeRotateShapeMode(TCanvas& canvas);
/// The shape's pen and brush. On the printer's canvas of a black-and-white
/// printer the colours become greys.
void SetDrawShapeMode(const TMyShape& shape, TCanvas& canvas);
/// Arrow heads: the shape's pen, a solid brush in the pen colour, the shape's font.
void SetDrawTriangleMode(const TMyShape& shape, TCanvas& canvas);

/// The selection handle at the zoomed point p: a square HotSize pixels to
/// each side (half that for a member of a group), grey when locked, round
/// while the user rotates.
void DrawSquare(const TMyShape& shape, TCanvas& canvas, const TMyPoint& p);
/// The info-text anchor: a diamond HotSize pixels to each side of p, with
/// the canvas's current pen and brush, for shapes that have an info text.
/// The colour is accepted and not used.
void DrawDiamond(const TMyShape& shape, TCanvas& canvas, const TMyPoint& p, TColor color);
/// A link-point mark: a blue X of 5 pixels.
void DrawLinkSquare(TCanvas& canvas, const TMyPoint& p);
/// Link-point marks at every link point, when the owner shows them.
void DrawLinkHot(const TMyShape& shape, TCanvas& canvas);
/// A segment between two zoomed points with the canvas's current pen.
void LineDraw(const TMyShape& shape, TCanvas& canvas, const TMyPoint& a, const TMyPoint& b);

/// Screen pixels per inch, the base of every measurement text.
int32_t MeasurePixelsPerInch();
/// A device length in a unit, scaled by ratio / zoom.
double DeviceLengthInUnit(double pixels, TUnits unit, double ratio, double zoom);
/// The unit's name as measurement texts append it (" mm", " pixel(s)", ...).
String UnitSuffix(TUnits unit);
/// value in a field 9 characters wide, right-aligned, with the given number
/// of decimals and the user's decimal separator.
String FormatMeasure(double value, int32_t decimals);
/// "Area=" and an area of square device pixels in the owner's unit (scaled
/// by its ratio), as the area infos of closed shapes show it.
String AreaText(const TMyShape& shape, double area);

/// The end of a double click: when the shape has more than `fewest` points
/// and its last two coincide (zoomed), the second press's copy is dropped.
/// True when it was.
bool DropDoubleClickCopy(TMyShape& shape, int32_t fewest);

/// The shape's points times the zoom, in order.
TArrMyPoint ZoomedPointsOf(const TMyShape& shape);

/// Ends the canvas's open path, flattens it and hands back its points in
/// device pixels; the path is consumed. Curves hit-test what they draw so.
TArrPoint TakeFlattenedPath(TCanvas& canvas);

/// Handles on every point of a point-list shape, then the text anchor's
/// diamond; nothing while the owner hides handles.
void DrawPointHandles(TMyShape& shape, TCanvas& canvas);
/// The last point whose handle hit area holds p, or -1; also stored in
/// the shape's SelectedHotId.
int32_t PointHandleAt(TMyShape& shape, const TPoint& p);

} // namespace mycad
