// Arcs made on the real widget with three presses, and an arc made by code
// from a circle.
#include "canvas/MouseDriver.h"
#include "cad/shapes/Ellipse.h"

#include <gtest/gtest.h>

using namespace mycad;
using test::MouseDriver;

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
