// Enumerations shared by the shapes and the canvas. Their ordinals are
// stored in document files, so they never change.
#pragma once

#include <cstdint>

namespace mycad {

/// Drawing tools of the canvas.
enum class TDrawTool : uint8_t {
    SpLinkLine = 0,
    SpSelecting = 1,
    SpRotateSelecting = 2,
    SpLine = 3,
    SpRuleLine = 4,
    SpPolyLine = 5,
    SpRectangle = 6,
    SpLinkPoint = 7,
    SpLineLinkLine = 8,
    SpEllipse = 9,
    SpText = 10,
    SpImage = 11,
    SpPolygon = 12,
    SpPolyBezier = 13,
    SpElliArc = 14,
    SpClose = 15,
    SpPolylinePolygonPointRemoving = 16,
    SpPolylinePolygonPointAdding = 17,
    SpDragWhole = 18,
    SpBrowse = 19,
    SpFreeLine = 20,
    SpBLine = 21,
};

/// Interaction states of the canvas's mouse state machine.
enum class TActionTools : uint8_t {
    dtClose = 0,
    dtDrawing = 1,
    dtSelecting = 2,
    dtRotateSelecting = 3,
    dtResizing = 4,
    dtDragging = 5,
    dtDraggingTextoutPoint = 6,
    dtRotating = 7,
    dtPolylinePolygonPointRemoving = 8,
    dtPolylinePolygonPointAdding = 9,
    dtDragWhole = 10,
    dtBrowse = 11,
};

/// Unit of measurement texts.
enum class TUnits : uint8_t { pixel = 0, mm = 1, cm = 2, dm = 3, m = 4, inch = 5 };

/// How device points are reported to the host: the origin corner and y direction.
enum class TXYMode : uint8_t { Mode0 = 0, Mode1 = 1, Mode2 = 2, Mode3 = 3 };

/// Which ends of a line carry an arrow head.
enum class TArrowStyle : uint8_t { ANone = 0, ALeft = 1, ARight = 2, ADouble = 3 };

enum class TPenStyleJoinType : uint8_t { psjtROUND = 0, psjtBEVEL = 1, psjtMITER = 2 };
enum class TPenStyleEndCapType : uint8_t { psectROUND = 0, psectSQUARE = 1, psectFLAT = 2 };

/// Arc construction: circular arc through three points, or a conic arc with a control point.
enum class TArcMode : uint8_t { amCircle = 0, amEllipse = 1 };
/// Arc outline: open, closed by its chord, or closed through the circle's centre.
enum class TArcStyle : uint8_t { asArc = 0, asChord = 1, asSector = 2 };

/// The marks across a rule line's ends: short ticks, or none.
enum class TTickStyle : uint8_t { tsLine = 0, tsNone = 1 };

enum class TLinkLineDrawStyle : uint8_t { lldsHV = 0, lldsFree = 1 };

enum class TBkBitmapMode : uint8_t { Tiled = 0, Stretch = 1, Center = 2, LeftTop = 3 };

/// Directions in which a drag may move the selection.
enum class TDragMode : uint8_t { dgBoth = 0, dgHorz = 1, dgVert = 2 };

enum class TPageStyle : uint8_t { A0 = 0, A1 = 1, A2 = 2, A3 = 3, A4 = 4, A5 = 5, B3 = 6, B4 = 7, B5 = 8, CustomerPage = 9 };
enum class TPageOrientation : uint8_t { poPortrait = 0, poLandscape = 1 };

/// Horizontal alignment of texts.
enum class TAlignment : uint8_t { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

} // namespace mycad
