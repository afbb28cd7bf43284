// Value types of document geometry and the plane geometry that shapes, the
// connector router and the canvas share.
//
// Document coordinates are 32-bit floats: one unit is one device pixel at
// zoom 1, x grows to the right and y downward. Every function computes in
// double and rounds its result to float only when it stores it, so results
// agree to the last bit wherever they are computed. Angles are radians from
// +x toward +y; because y grows downward a positive angle turns clockwise on
// the screen. Conversions to whole pixels use RoundToInt (ties to even).
#pragma once

#include "platform/Types.h"

#include <cstdint>
#include <vector>

namespace mycad {

/// A point in document coordinates.
struct TMyPoint {
    float X = 0.0f;
    float Y = 0.0f;

    friend bool operator==(const TMyPoint&, const TMyPoint&) = default;
    friend TMyPoint operator+(const TMyPoint& a, const TMyPoint& b)
    {
        return {static_cast<float>(double(a.X) + double(b.X)), static_cast<float>(double(a.Y) + double(b.Y))};
    }
    friend TMyPoint operator-(const TMyPoint& a, const TMyPoint& b)
    {
        return {static_cast<float>(double(a.X) - double(b.X)), static_cast<float>(double(a.Y) - double(b.Y))};
    }
};

/// An axis-aligned rectangle in document coordinates. Fields are in the order
/// the record formats store them.
struct TMyRect {
    float Left = 0.0f;
    float Top = 0.0f;
    float Right = 0.0f;
    float Bottom = 0.0f;

    double Width() const { return double(Right) - double(Left); }
    double Height() const { return double(Bottom) - double(Top); }
    friend bool operator==(const TMyRect&, const TMyRect&) = default;
};

/// A pair of points: the two wing points of an arrow head.
struct TwoPoint {
    TMyPoint m;
    TMyPoint n;
    friend bool operator==(const TwoPoint&, const TwoPoint&) = default;
};

/// An integer displacement.
struct TDxDy {
    int32_t dx = 0;
    int32_t dy = 0;
    friend bool operator==(const TDxDy&, const TDxDy&) = default;
};

/// An integer displacement; the same layout as TDxDy, kept as its own type
/// because the two are used in different roles.
struct MyXy {
    int32_t dx = 0;
    int32_t dy = 0;
    friend bool operator==(const MyXy&, const MyXy&) = default;
};

/// Point lists of shapes (ThePoints, LinkPoints).
using TArrMyPoint = std::vector<TMyPoint>;
/// List numbers of shapes: positions in the canvas's shape list.
using TMyShapeNo = std::vector<uint32_t>;

// Construction and conversion.

TMyPoint MyPoint(float x, float y);
TMyPoint PtToMyPt(const TPoint& p);
/// Each coordinate rounded to the nearest integer, ties to even.
TPoint MyPtToPt(const TMyPoint& p);
/// Each field rounded to the nearest integer, ties to even.
TRect myRecttoRect(const TMyRect& r);
/// The normalised box of two corners.
TRect PtToARect(const TPoint& a, const TPoint& b);
/// r grown by n on every side; a negative n shrinks it.
TRect ExpandRect(const TRect& r, int32_t n);
void OffsetMyRect(TMyRect& r, double dx, double dy);
/// The bounding box of the points. An empty array gives the empty rectangle
/// at the origin.
TMyRect GetPointsLTRB(const TArrMyPoint& points);
/// dx = b.X - a.X, dy = b.Y - a.Y.
void GetDxDy(const TMyPoint& a, const TMyPoint& b, float& dx, float& dy);
void GetDxDy(const TPoint& a, const TPoint& b, int32_t& dx, int32_t& dy);
/// s padded on the right with blanks to n characters; unchanged when it is
/// already that long.
String AppendSpace(const String& s, int32_t n);

// Distances, angles and rotation.

float GetLengthinPixel(const TMyPoint& a, const TMyPoint& b);
/// The distance from p to the nearest point of the segment a-b.
double DistanceToSegment(const TPoint& p, const TPoint& a, const TPoint& b);
/// The first i for which the segment from points[i] to points[i + 1] (the
/// lone point, when there is one) passes closer than reach to p; -1 when
/// none does.
int32_t FirstSegmentWithin(const TArrPoint& points, const TPoint& p, double reach);
/// The direction of the vector from b to a, in [0, 2*pi). Equal points give pi/2.
double GetSlopeAngle(const TMyPoint& a, const TMyPoint& b);
/// +1 when b lies to the right of a, else -1 (level counts as -1).
int32_t PointInQuadrantX(const TMyPoint& a, const TMyPoint& b);
/// +1 when b lies below a, else -1 (level counts as -1).
int32_t PointInQuadrantY(const TMyPoint& a, const TMyPoint& b);
/// b lies left of and above a, or level with it.
bool IsAtLeftTop(const TMyPoint& a, const TMyPoint& b);
bool IsAtRightTop(const TMyPoint& a, const TMyPoint& b);
bool IsAtLeftBottom(const TMyPoint& a, const TMyPoint& b);
bool IsAtRightBottom(const TMyPoint& a, const TMyPoint& b);
/// p turned about c by angle radians (clockwise on the screen for a positive angle).
TMyPoint RotateAPoint(const TMyPoint& p, const TMyPoint& c, float angle);
/// Folds an angle in radians into (-2*pi, 2*pi) by whole turns; exactly +-2*pi
/// (in double) are left alone. Angles too large for a turn to change their
/// float value are folded by remainder, and an infinite angle becomes 0.
void RecaclinRad(float& angle);
/// Folds an angle in degrees into (-360, 360); 360 and -360 are left alone.
void RecaclinDeg(int32_t& angle);
/// The crossing of the line a-c with the line b-d (first with third, second
/// with fourth). Two vertical lines give (a.X, (c.Y - a.Y) / 2) and two
/// horizontal lines ((c.X - a.X) / 2, a.Y). Other parallel lines show "error"
/// and give the midpoint of a and b, a point between the two lines.
TMyPoint Getintersection(const TMyPoint& a, const TMyPoint& b, const TMyPoint& c, const TMyPoint& d);
/// The two wing points of an arrow head at tip whose shaft runs toward tail;
/// each wing is len long and makes angle radians with the shaft.
TwoPoint GetTriangle(const TMyPoint& tip, const TMyPoint& tail, float angle, uint8_t len);
/// The point at distance d from a toward b, in both m and n.
TwoPoint SplitLine(const TMyPoint& a, const TMyPoint& b, int32_t d);

// Point arrays. Indexes outside 0..size-1 leave the array unchanged.

/// Stores p last; false only when the array cannot grow.
bool AppendAPoint(const TMyPoint& p, TArrMyPoint& points);
/// Inserts p before element id; false (and no change) when id is not an
/// element, so it never appends and never inserts into an empty array.
bool InsertAPointBeforeId(const TMyPoint& p, int32_t id, TArrMyPoint& points);
bool InsertAPointBeforeId1(const TPoint& p, int32_t id, TArrPoint& points);
void RemovePoint(int32_t id, TArrMyPoint& points);
bool IsExistPt(int32_t id, const TArrMyPoint& points);
bool IsExistPt1(int32_t id, const TArrPoint& points);

} // namespace mycad
