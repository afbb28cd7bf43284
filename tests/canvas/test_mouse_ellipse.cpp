// Ellipses and arcs made on the real widget: an ellipse in one gesture like a
// box, an arc with three presses, and an arc made by code from a circle.
#include "canvas/MouseDriver.h"
#include "cad/shapes/Ellipse.h"

#include <gtest/gtest.h>

using namespace mycad;
using test::MouseDriver;

TEST(MouseEllipse, AnEllipseIsDrawnLikeABoxAndShiftMakesACircle)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    cad.SetShapeTool(TDrawTool::SpEllipse);
    m.Drag({50, 40}, {150, 100});
    ASSERT_EQ(cad.GetShapesCount(), 1);
    auto* e = dynamic_cast<TMyEllipse*>(cad.GetShapeByNo(0));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->ThePoints, (TArrMyPoint{{50, 40}, {150, 40}, {150, 100}, {50, 100}}));
    EXPECT_EQ(e->CenterPoint, (TMyPoint{100, 70}));
    EXPECT_EQ(cad.ShapeTool(), TDrawTool::SpSelecting);
    m.Settle();
    // The outline runs inside the box, away from its corners (the handles
    // of the selected ellipse cover the corners and the middles of the sides).
    EXPECT_EQ(m.Pixel(125, 96), clBlack); // 30 degrees from the bottom
    EXPECT_GT(m.Ink({57, 55}, 1), 0);
    EXPECT_NE(m.Pixel(56, 46), clBlack);
    EXPECT_NE(m.Pixel(144, 94), clBlack);
    // A press inside the box selects it.
    cad.DeSelectedAllShapesByCode();
    m.Click({100, 70});
    EXPECT_EQ(cad.GetSelectedShape(), e);

    cad.SetShapeTool(TDrawTool::SpEllipse);
    m.Drag({200, 50}, {280, 90}, Qt::ShiftModifier);
    ASSERT_EQ(cad.GetShapesCount(), 2);
    TMyShape* circle = cad.GetShapeByNo(1);
    EXPECT_EQ(circle->GetMyWidth(), circle->GetMyHeight());
    EXPECT_EQ(circle->ThePoints[0], (TMyPoint{200, 50}));
}

TEST(MouseEllipse, AnArcTakesThreePressesAndIgnoresRepeatedOnes)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    cad.SetArcMode(TArcMode::amCircle);
    cad.SetShapeTool(TDrawTool::SpElliArc);
    m.Click({20, 150});
    m.Move({60, 100});
    m.Click({20, 150}); // on the first point: ignored
    EXPECT_EQ(cad.GetShapesCount(), 0);
    m.Click({100, 70});
    m.Move({150, 120});
    m.Click({100, 70}); // on the second point: ignored
    EXPECT_EQ(cad.GetShapesCount(), 0);
    m.Click({180, 150});
    ASSERT_EQ(cad.GetShapesCount(), 1);
    auto* arc = dynamic_cast<TMyElliArc*>(cad.GetShapeByNo(0));
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(arc->ThePoints, (TArrMyPoint{{20, 150}, {100, 70}, {180, 150}}));
    EXPECT_EQ(arc->ArcMode(), TArcMode::amCircle);
    EXPECT_EQ(arc->GetCenterPoint(), (TMyPoint{100, 150}));
    m.Settle();
    // Over the top of the circle about (100, 150), and no rubber band left behind.
    EXPECT_GT(m.Ink({140, 81}, 1), 0);
    EXPECT_GT(m.Ink({60, 81}, 1), 0);
    EXPECT_EQ(m.Ink({100, 230}, 1), 0);
    EXPECT_EQ(m.Ink({140, 219}, 1), 0);

    // A new arc takes the canvas's mode; a third point in the second one's
    // column is enough to finish.
    cad.SetArcMode(TArcMode::amEllipse);
    cad.SetShapeTool(TDrawTool::SpElliArc);
    m.Click({220, 40});
    m.Click({300, 40});
    m.Click({300, 120});
    ASSERT_EQ(cad.GetShapesCount(), 2);
    EXPECT_EQ(dynamic_cast<TMyElliArc*>(cad.GetShapeByNo(1))->ArcMode(), TArcMode::amEllipse);
    EXPECT_EQ(cad.GetShapeByNo(1)->ThePoints, (TArrMyPoint{{220, 40}, {300, 40}, {300, 120}}));
}

TEST(MouseEllipse, AnArcByCodeFromACircle)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    const int32_t id =
        cad.AddShapeByCode2(&cad, TDrawTool::SpElliArc, QStringLiteral("Arc1"), {100, 100}, 50, 0, 90, 0.0, String());
    ASSERT_GE(id, 0);
    TMyShape* arc = cad.GetShapeByNo(0);
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(arc->ThePoints, (TArrMyPoint{{150, 100}, {50, 100}, {100, 150}}));
    EXPECT_EQ(arc->GetCenterPoint(), (TMyPoint{100, 100}));
    m.Settle();
    // From 0 degrees through 180 to 90: three quarters, leaving out the lower right.
    EXPECT_GT(m.Ink({100, 50}, 1), 0);
    EXPECT_GT(m.Ink({65, 65}, 1), 0);
    EXPECT_GT(m.Ink({65, 135}, 1), 0);
    EXPECT_EQ(m.Ink({135, 135}, 1), 0);
}
