// A canvas on screen (the offscreen platform) and whole mouse gestures on it
// through QTest, as a user makes them: press, a few moves, release.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "platform/Messages.h"

#include <QTest>

#include <string>

namespace mycad::test {

struct MouseDriver {
    /// A 400 x 300 page. Snapping is off unless asked for, so that
    /// positions are those the gestures name.
    explicit MouseDriver(bool noSnap = true)
    {
        cad.SetPageStyle(TPageStyle::CustomerPage);
        cad.SetBounds(0, 0, 400, 300);
        if (noSnap) cad.SetSnap(false);
        cad.show();
        (void)QTest::qWaitForWindowExposed(&cad);
        cad.Update();
    }
    ~MouseDriver()
    {
        // A confinement left behind would clamp the next test's positions.
        ClipCursor(nullptr);
    }
    MouseDriver(const MouseDriver&) = delete;
    MouseDriver& operator=(const MouseDriver&) = delete;

    void Press(TPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mousePress(&cad, b, mods, QPoint(p.X, p.Y));
    }
    void Move(TPoint p) { QTest::mouseMove(&cad, QPoint(p.X, p.Y)); }
    void Release(TPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseRelease(&cad, b, mods, QPoint(p.X, p.Y));
    }
    /// Press at a, three moves along the way to b, release at b.
    void Drag(TPoint a, TPoint b, Qt::KeyboardModifiers mods = Qt::NoModifier, Qt::MouseButton button = Qt::LeftButton)
    {
        Press(a, mods, button);
        for (int k = 1; k <= 3; ++k) Move({a.X + (b.X - a.X) * k / 3, a.Y + (b.Y - a.Y) * k / 3});
        Release(b, mods, button);
    }
    void Click(TPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        Press(p, mods);
        Release(p, mods);
    }
    /// A double click as the window system delivers it: a click, then the
    /// second press as a double-click event, then its release.
    void DoubleClick(TPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        Click(p, mods);
        QTest::mouseDClick(&cad, Qt::LeftButton, mods, QPoint(p.X, p.Y));
        Release(p, mods);
    }
    /// Runs the paint the last gesture asked for.
    void Settle() { cad.Update(); }
    TColor Pixel(int32_t x, int32_t y) { return cad.Canvas().Pixel(x, y); }
    /// Dark pixels of the control in the square of half side `half` around p:
    /// outlines, text and rubber bands (white exclusive-or'ed onto the page),
    /// not the silver grid.
    int32_t Ink(TPoint p, int32_t half)
    {
        int32_t ink = 0;
        for (int32_t y = p.Y - half; y <= p.Y + half; ++y) {
            for (int32_t x = p.X - half; x <= p.X + half; ++x) {
                const TColor c = Pixel(x, y);
                ink += GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 150 ? 1 : 0;
            }
        }
        return ink;
    }

    TMessageCapture messages;
    TMyCAD cad;
};

} // namespace mycad::test
