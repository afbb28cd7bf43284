// Connector routing as plain geometry: the orthogonal legs between two
// points, the walk that builds a route around combined shapes, the tidying
// of a route, the hops over crossing connectors, the editing of a route by
// its handles and the search for the segment a point breaks. Nothing here
// knows shapes or canvases; the link line and the canvas hand in points and
// boxes and take points back.
//
// Routes are built in device pixels (document points times the zoom); the
// tidying works on document points, as the connector stores them.
#pragma once

#include "cad/geometry/Geometry.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace mycad {

/// Directions of a route's legs; the ordinals are those of the stored enum.
enum class Tdirections : uint8_t { dLeft = 0, dbottom = 1, dRight = 2, dTop = 3, dNone = 4 };

/// One leg: move in Dir until Apoint.
struct TDirAndPoint {
    Tdirections Dir = Tdirections::dNone;
    TMyPoint Apoint;
    friend bool operator==(const TDirAndPoint&, const TDirAndPoint&) = default;
};
using TArrDirAndPoints = std::vector<TDirAndPoint>;

/// First direction of the older pixel-walking router.
enum class TLinkLineStyle : uint8_t { llsFree = 0, llsHorz = 1, llsVert = 2 };

/// The two ends of a connector.
enum class TLinkLineEndPoint : uint8_t { llStart = 0, llEnd = 1 };

/// 2 when the segment a-b is vertical (|dy| > |dx|), else 1: a tie and a
/// point count as horizontal.
int32_t IsLineHV(const TMyPoint& a, const TMyPoint& b);
/// The middle of a-b along its orientation (the other coordinate stays
/// a's); returns the orientation.
int32_t SplitALine(const TMyPoint& a, const TMyPoint& b, TMyPoint& mid);
/// The one or two orthogonal legs from a to b. After a vertical move (dTop,
/// dbottom) or none the first leg is horizontal; after a horizontal one it is
/// vertical. Coordinates compare exactly; equal points give no leg.
void GetDirSteps(const TMyPoint& a, const TMyPoint& b, Tdirections dir, TArrDirAndPoints& steps);

/// What the walk of a route needs to know about one end.
struct TRouteEnd {
    TMyPoint Point;
    /// The end sits on a shape.
    bool OnShape = false;
    /// The shape is a junction dot: the route meets it without an exit point.
    bool Junction = false;
    /// The exit point 25 zoomed units outside the shape (used when OnShape
    /// and not Junction).
    TMyPoint Exit;
};

/// Combined shapes in the way, in list order: their zoomed boxes.
struct TRouteObstacles {
    std::vector<TMyRect> Boxes;
    /// The first box that, rounded and inflated by 10, holds the rounded point;
    /// -1 for none. Left and top edges hold, right and bottom do not.
    int32_t At(const TMyPoint& p) const;
};

/// The orthogonal route from start to end in device pixels: start, the
/// start's exit point, the corners of the legs and of detours around
/// obstacles, the end's exit point, end. dir is the move before the first
/// leg. With aroundShapes false a route that meets an obstacle turns where it
/// met it instead of going round.
TArrMyPoint RouteOrthogonal(const TRouteEnd& start, const TRouteEnd& end, Tdirections dir,
                            const TRouteObstacles& obstacles, bool aroundShapes);

/// The three-segment route between two attached ends: horizontal first when
/// the ends are further apart across than down, vertical first otherwise
/// (a tie included). Document points.
TArrMyPoint ZRoute(const TMyPoint& s, const TMyPoint& e);

/// Tidies a route in document points: exact duplicates go; middle points
/// within 10 units of the line through their neighbours go, except on a
/// route of up to 4 points between two attached ends; and a two-point route
/// between attached ends that do not sit on their link points s and e
/// becomes the Z route. Returns true when points changed.
bool MergeRoutePoints(TArrMyPoint& points, bool startAttached, bool endAttached, const TMyPoint& s,
                      const TMyPoint& e);

/// What drawing one horizontal segment with hops consists of: straight pieces
/// and half circles centred on the hops.
struct THopPlan {
    std::vector<std::pair<TMyPoint, TMyPoint>> Pieces;
    std::vector<TMyPoint> Hops;
};
/// Plans the segment a-b (horizontal) over crossings at the given x values on
/// its line (any order) with hops of radius r pixels. A crossing that leaves
/// no room for a hop (closer than r to the segment's end, its start or the
/// hop before) is passed without one.
THopPlan PlanHops(const TMyPoint& a, const TMyPoint& b, std::vector<float> crossings, int32_t r);

/// The route editing of a handle drag in device pixels: h is a vertex
/// (0..count-1) or a segment (count + i); (dx, dy) the drag. An attached
/// end's neighbouring segment keeps its direction: the vertex or segment next
/// to it gets a zero-length jog first. Points of a free style move alone.
void EditRouteByHandle(TArrMyPoint& pts, int32_t h, double dx, double dy, bool startAttached, bool endAttached);

/// The segment j of the route that p breaks: strictly inside it along its
/// run and within tolerance across it. p is snapped onto the segment.
/// -1 when none; segment ends and corners never break.
int32_t BreakableSegment(const TArrMyPoint& points, TMyPoint& p, double tolerance);

} // namespace mycad
