// The entities of each shape class that DXF files carry, one writer per
// class. Points are taken from ThePoints as stored (document pixels); the
// writer converts them. A shape without the points its class needs writes
// nothing, so a damaged drawing cannot make the export read past its points.
#include "cad/io/DxfShapes.h"

#include "cad/connectors/LinkLine.h"
#include "cad/connectors/LinkPoint.h"
#include "cad/shapes/Ellipse.h"
#include "cad/shapes/Line.h"
#include "cad/shapes/PolyBezier.h"
#include "cad/shapes/PolyLine.h"
#include "cad/shapes/Rectangle.h"
#include "cad/shapes/Text.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace mycad {

namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

bool HasPoints(const TMyShape& shape, size_t n) { return shape.ThePoints.size() >= n; }

/// One LINE per pair of consecutive points.
void WriteSegments(const TMyShape& shape, TDxfOutput& out)
{
    for (size_t i = 0; i + 1 < shape.ThePoints.size(); ++i) {
        out.Writer.Line(shape.ThePoints[i], shape.ThePoints[i + 1]);
    }
}

/// A closed polyline through every point in order.
void WriteClosedPolyline(const TMyShape& shape, TDxfOutput& out)
{
    if (shape.ThePoints.empty()) return;
    TDxfWriter& w = out.Writer;
    w.ClosedPolyline();
    for (const TMyPoint& p : shape.ThePoints) w.Vertex(p.X, p.Y);
    w.SeqEnd();
}

/// The conic from P0 to P2 shaped by P1, sampled at t = (k + 1) / n for
/// k = 0..n, each vertex rounded to whole pixels, as one closed polyline.
void WriteSampledConic(const TMyShape& shape, TDxfOutput& out)
{
    if (!HasPoints(shape, 3)) return;
    const TMyPoint& p0 = shape.ThePoints[0];
    const TMyPoint& p1 = shape.ThePoints[1];
    const TMyPoint& p2 = shape.ThePoints[2];
    const double ax = double(p0.X) - 2.0 * p1.X + 2.0 * p2.X;
    const double ay = double(p0.Y) - 2.0 * p1.Y + 2.0 * p2.Y;
    const double bx = 2.0 * (double(p1.X) - p0.X);
    const double by = 2.0 * (double(p1.Y) - p0.Y);
    const double n = std::nearbyint(std::sqrt(100.0 * std::hypot(ax, ay)));
    TDxfWriter& w = out.Writer;
    w.ClosedPolyline();
    if (n == 0.0) {
        // No step to sample with: the conic has shrunk to its first point.
        w.Vertex(std::nearbyint(p0.X), std::nearbyint(p0.Y));
    } else {
        const double step = 1.0 / n;
        for (double k = 0; k <= n; ++k) {
            const double t = (k + 1.0) * step;
            const double d = 1.0 + t * t;
            w.Vertex(std::nearbyint((ax * t * t + bx * t + p0.X) / d), std::nearbyint((ay * t * t + by * t + p0.Y) / d));
        }
    }
    w.SeqEnd();
}

/// The direction of q seen from c in degrees, both in the file's y-up frame:
/// atan of the slope, turned by 180 degrees on the left; straight up or down
/// 90 or 270; a point on the centre has the direction 0.
double DirectionDegrees(double cx, double cy, double qx, double qy)
{
    const double dx = qx - cx;
    const double dy = qy - cy;
    if (dx > 0.0) return std::atan(dy / dx) * kDegreesPerRadian;
    if (dx < 0.0) return std::atan(dy / dx) * kDegreesPerRadian + 180.0;
    if (dy > 0.0) return 90.0;
    if (dy < 0.0) return 270.0;
    return 0.0;
}

/// How far angle lies counter-clockwise from start, in [0, 360).
double SweepFrom(double start, double angle)
{
    const double a = std::fmod(angle - start, 360.0);
    return a < 0.0 ? a + 360.0 : a;
}

void WriteLine(TMyLine& line, TDxfOutput& out)
{
    if (!HasPoints(line, 2)) return;
    out.Writer.Line(line.ThePoints[0], line.ThePoints[1]);
}

void WritePolyLine(TMyPolyLine& line, TDxfOutput& out) { WriteSegments(line, out); }

/// A connector is its route, segment by segment; its arrow heads and hops
/// are drawing decoration the file does not carry.
void WriteLinkLine(TMyLinkLine& line, TDxfOutput& out) { WriteSegments(line, out); }

/// A junction dot: a circle as wide as its box, and one of half that radius.
void WriteJunction(TMyLineLinkLine& dot, TDxfOutput& out)
{
    if (!HasPoints(dot, 2)) return;
    const TMyPoint c = dot.GetCenterPoint();
    const double r = std::fabs(double(dot.ThePoints[1].X) - dot.ThePoints[0].X) / 2.0;
    out.Writer.Circle(c.X, c.Y, r);
    out.Writer.Circle(c.X, c.Y, r / 2.0);
}

/// A Bezier chain goes out as the same sampled conic through its first
/// three points as an elliptic arc.
void WritePolyBezier(TMyPolyBezier& curve, TDxfOutput& out) { WriteSampledConic(curve, out); }

/// The glyphs as the canvas would outline them at zoom 1: each figure of
/// the flattened path is one closed polyline. The figure's first point and
/// its last (the line-to that carries the close flag) are corners of the
/// glyph like the rest, so both are vertices too.
void WriteGlyphOutlines(TMyText& text, TDxfOutput& out)
{
    TArrPoint points;
    TArrByte types;
    text.GetPathPoints(out.Cad.Canvas(), points, types);
    TDxfWriter& w = out.Writer;
    bool open = false;
    for (size_t i = 0; i < points.size() && i < types.size(); ++i) {
        const int32_t type = types[i] & ~PT_CLOSEFIGURE;
        if (type == PT_MOVETO) {
            if (open) w.SeqEnd();
            w.ClosedPolyline();
            open = true;
        } else if (type != PT_LINETO || !open) {
            continue;
        }
        w.Vertex(points[i].X, points[i].Y);
    }
    if (open) w.SeqEnd();
}

/// TEXT entities on the box's bottom-left corner: its Info as one, or each
/// of its lines, the last on the corner and each earlier one a line height
/// above the next, so the lines read top to bottom as on the canvas. The
/// line height is measured at zoom 1 and the lines stack along the box's
/// own up direction, so neither the view nor a turn changes the layout.
void WriteText(TMyText& text, TDxfOutput& out)
{
    if (!HasPoints(text, 4)) return;
    if (out.TextOutlines) {
        WriteGlyphOutlines(text, out);
        return;
    }
    TDxfWriter& w = out.Writer;
    const TMyPoint& corner = text.ThePoints[3];
    const double height = std::fabs(double(text.Font().Height()));
    // Shapes turn clockwise on the screen for a positive angle; so does the
    // text in the file's y-up frame, where angles count counter-clockwise.
    const double turn = text.Angle();
    const double angle = -turn * kDegreesPerRadian;
    const String info = text.GetInfo();
    if (!info.isEmpty()) {
        w.Text(corner.X, corner.Y, height, angle, info);
        return;
    }
    const TStringList& lines = text.Lines();
    const int32_t n = lines.Count();
    if (n == 0) return;
    const double h = text.GetTextWidthHeight(out.Cad.Canvas(), lines[0], text.Font(), turn, 1.0).cy;
    const double flippedY = w.PageHeight() - corner.Y;
    for (int32_t k = 0; k < n; ++k) {
        const double rise = double(n - 1 - k) * h;
        w.TextAtFlippedY(corner.X + std::sin(turn) * rise, flippedY + std::cos(turn) * rise, height, angle, lines[k]);
    }
}

void WriteRectangle(TMyRectangle& rect, TDxfOutput& out) { WriteClosedPolyline(rect, out); }

void WritePolygon(TMyPolygon& polygon, TDxfOutput& out) { WriteClosedPolyline(polygon, out); }

void WriteElliArc(TMyElliArc& arc, TDxfOutput& out)
{
    if (arc.ArcMode() == TArcMode::amEllipse) {
        WriteSampledConic(arc, out);
        return;
    }
    if (!HasPoints(arc, 3)) return;
    const TMyPoint& p0 = arc.ThePoints[0];
    const TMyPoint& p1 = arc.ThePoints[1];
    const TMyPoint& p2 = arc.ThePoints[2];
    TDxfWriter& w = out.Writer;
    // Three points on one line bound no circle; the canvas draws them as the
    // segment from the first to the last, and so does the file.
    const double d = (double(p0.X) - p1.X) * (double(p2.Y) - p1.Y) - (double(p1.X) - p2.X) * (double(p1.Y) - p0.Y);
    if (d == 0.0) {
        w.Line(p0, p2);
        return;
    }
    const TMyPoint c = arc.GetCenterPoint();
    const double h = w.PageHeight();
    const double cy = h - c.Y;
    const double radius = std::hypot(double(p2.X) - c.X, (h - p2.Y) - cy);
    double start = DirectionDegrees(c.X, cy, p0.X, h - p0.Y);
    double end = DirectionDegrees(c.X, cy, p2.X, h - p2.Y);
    // An ARC runs counter-clockwise from its start to its end angle. The
    // canvas draws the side of the circle that passes the through point;
    // when that is the other side, the angles change places.
    if (SweepFrom(start, DirectionDegrees(c.X, cy, p1.X, h - p1.Y)) > SweepFrom(start, end)) std::swap(start, end);
    w.Arc(c.X, c.Y, radius, start, end);
}

void WriteEllipse(TMyEllipse& ellipse, TDxfOutput& out)
{
    if (!HasPoints(ellipse, 4)) return;
    const TArrMyPoint& p = ellipse.ThePoints;
    const TMyPoint c = ellipse.GetCenterPoint();
    const double cx = c.X;
    const double cy = c.Y;
    // Which corner p0 is, from the first edge: 1 and 3 run along x, 2 and 4
    // along y; the step of x below follows the same edge order.
    int32_t orientation = 4;
    if (p[0].Y == p[1].Y) {
        orientation = p[1].X > p[0].X ? 1 : 3;
    } else if (p[0].Y > p[1].Y) {
        orientation = 2;
    }
    const bool alongX = orientation == 1 || orientation == 3;
    const double rx = std::fabs(double(alongX ? p[1].X : p[3].X) - p[0].X) / 2.0;
    const double ry = std::fabs(double(alongX ? p[3].Y : p[1].Y) - p[0].Y) / 2.0;
    TDxfWriter& w = out.Writer;
    if (std::fabs(rx - ry) < 0.5) {
        w.Circle(cx, cy, rx);
        return;
    }
    double d = 0.0;
    switch (orientation) {
    case 1: d = double(p[1].X) - p[0].X; break;
    case 2: d = double(p[2].X) - p[1].X; break;
    case 3: d = double(p[3].X) - p[2].X; break;
    default: d = double(p[0].X) - p[3].X; break;
    }
    w.Polyline3D(cx - rx, cy);
    // x walks across and back by repeated steps; the rounding of those steps
    // can carry it a hair past the ends, hence the magnitude under the root.
    // A box without width keeps x on the centre line.
    const auto offset = [&](double x) {
        const double u = rx == 0.0 ? 0.0 : (x - cx) * (x - cx) / (rx * rx);
        return std::sqrt(std::fabs(ry * ry * (1.0 - u)));
    };
    double x = cx - rx;
    w.Vertex3D(x, cy);
    for (int32_t i = 0; i < 90; ++i) {
        x += d / 90.0;
        w.Vertex3D(x, cy + offset(x));
    }
    for (int32_t i = 0; i < 90; ++i) {
        x -= d / 90.0;
        w.Vertex3D(x, cy - offset(x));
    }
    w.SeqEnd();
}

} // namespace

std::vector<TDxfClass> BuiltInDxfClasses()
{
    return {
        MakeDxfClass<TMyLine>(u"TMyLine"_s, &WriteLine),
        MakeDxfClass<TMyPolyLine>(u"TMyPolyLine"_s, &WritePolyLine),
        MakeDxfClass<TMyRectangle>(u"TMyRectangle"_s, &WriteRectangle),
        MakeDxfClass<TMyPolygon>(u"TMyPolygon"_s, &WritePolygon),
        MakeDxfClass<TMyElliArc>(u"TMyElliArc"_s, &WriteElliArc),
        MakeDxfClass<TMyEllipse>(u"TMyEllipse"_s, &WriteEllipse),
        MakeDxfClass<TMyLinkLine>(u"TMyLinkLine"_s, &WriteLinkLine),
        MakeDxfClass<TMyLineLinkLine>(u"TMyLineLinkLine"_s, &WriteJunction),
        MakeDxfClass<TMyPolyBezier>(u"TMyPolyBezier"_s, &WritePolyBezier),
        MakeDxfClass<TMyText>(u"TMyText"_s, &WriteText),
    };
}

std::vector<String> ClassesWithoutDxfEntities()
{
    // Free-hand lines, rule lines and B-splines, pictures, link points and
    // the containers (whose members write themselves) have no entities.
    return {u"TMyFreeLine"_s, u"TMyRuleLine"_s, u"TMyBLine"_s,   u"TMyImage"_s,
            u"TMyLinkPoint"_s, u"TMyGroup"_s,   u"TMyCombine"_s};
}

} // namespace mycad
