// What the canvas does with a shape while the mouse places it, done directly
// on the shape, and a tolerant point comparison for turned shapes.
#pragma once

#include "cad/shapes/Shape.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace mycad::test {

/// A shape drawn in one gesture from a to b: the press, the release, and
/// the finishing step the canvas runs after it.
inline void DrawWithMouse(TMyShape& shape, TPoint a, TPoint b)
{
    shape.AddPointByMouse(a);
    EXPECT_FALSE(shape.IsDrawingFinished(TMouseButton::mbLeft, a));
    shape.AddPointByMouse(b);
    EXPECT_TRUE(shape.IsDrawingFinished(TMouseButton::mbLeft, b));
    shape.Drawed(a, b);
}

/// A press and its release at the same point: whether it ended the shape.
inline bool Click(TMyShape& shape, TPoint p)
{
    shape.AddPointByMouse(p);
    return shape.IsDrawingFinished(TMouseButton::mbLeft, p);
}

inline void ExpectNear(const TMyPoint& p, double x, double y, double tol = 1e-3)
{
    EXPECT_NEAR(p.X, x, tol);
    EXPECT_NEAR(p.Y, y, tol);
}

/// A click at a point and whether it should hit the shape.
struct Hit {
    TPoint At;
    bool Hits;
};

inline void ExpectHits(TMyShape& shape, TCanvas& canvas, std::initializer_list<Hit> hits)
{
    for (const Hit& h : hits) {
        EXPECT_EQ(shape.IsClickedMe(canvas, h.At), h.Hits) << "click at " << h.At.X << "," << h.At.Y;
    }
}

/// A press at a point and the handle it should find (-1: none).
struct HandleAt {
    TPoint At;
    int32_t Handle;
};

inline void ExpectHandles(TMyShape& shape, std::initializer_list<HandleAt> presses)
{
    for (const HandleAt& h : presses) {
        EXPECT_EQ(shape.InWhichHot(h.At), h.Handle) << "press at " << h.At.X << "," << h.At.Y;
    }
}

} // namespace mycad::test
