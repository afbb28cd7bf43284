// Internal to the platform's graphics: building a canvas's current path from
// the primitives drawn while it is open, and turning it into a Qt path.
#pragma once

#include "platform/Graphics.h"

#include <QPainterPath>

namespace mycad {

/// The pixels of the polygon region made from count points when they are
/// an upright box (four corners, or five with the first repeated, on two
/// rows and two columns); false for any other polygon.
bool UprightBoxPixels(const TPoint* points, size_t count, TRect& pixels);

class TCanvasPath {
public:
    /// Ends the current figure; the next segment starts a new one at the pen position.
    static void EndFigure(TCanvas& c);
    /// Starts a new figure at p.
    static void StartFigure(TCanvas& c, const QPointF& p);
    /// A line from the current point (the pen position when no figure is open).
    static void LineTo(TCanvas& c, const QPointF& p);
    static void BezierTo(TCanvas& c, const QPointF& c1, const QPointF& c2, const QPointF& end);
    /// Marks the current figure closed.
    static void CloseFigure(TCanvas& c);
    /// Adds every subpath of path as figures of their own; closed marks them all closed.
    static void AddPainterPath(TCanvas& c, const QPainterPath& path, bool closed);
    /// Adds the closed polygon through points as AddPainterPath adds the
    /// closed painter path of the same points.
    static void AddPolygon(TCanvas& c, const TArrPoint& points);
    /// The current path with the canvas's fill mode.
    static QPainterPath ToPainterPath(const TCanvas& c);
    static void Clear(TCanvas& c);

private:
    /// Ends the current figure of an added painter path, closed or not.
    static void FinishAddedFigure(TCanvas& c, bool closed);
};

} // namespace mycad
