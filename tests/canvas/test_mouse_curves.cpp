// Bezier chains, B-splines and rule lines made on the real widget, and a
// point inserted into a B-spline where the user clicks on it.
#include "canvas/MouseDriver.h"
#include "cad/shapes/BLine.h"
#include "cad/shapes/PolyBezier.h"
#include "cad/shapes/RuleLine.h"

#include <gtest/gtest.h>

using namespace mycad;
using test::MouseDriver;

TEST(MouseCurves, ABezierChainPlacesItsJointAndEndsOnADoubleClick)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    cad.SetShapeTool(TDrawTool::SpPolyBezier);
    for (const TPoint p : {TPoint{20, 150}, TPoint{40, 60}, TPoint{100, 60}, TPoint{140, 150}}) {
        m.Move(p);
        m.Click(p);
    }
    EXPECT_EQ(cad.GetShapesCount(), 0);
    m.Move({200, 240});
    m.DoubleClick({200, 240});
    ASSERT_EQ(cad.GetShapesCount(), 1);
    auto* chain = dynamic_cast<TMyPolyBezier*>(cad.GetShapeByNo(0));
    ASSERT_NE(chain, nullptr);
    // Two segments joined halfway between the third and fourth clicks; the
    // double click ends the second one.
    EXPECT_EQ(chain->ThePoints, (TArrMyPoint{{20, 150}, {40, 60}, {100, 60}, {120, 105}, {140, 150}, {200, 240},
                                             {200, 240}}));
    cad.DeSelectedAllShapesByCode();
    m.Settle();
    // The curve at the middle of the first segment, a pixel off at most.
    EXPECT_GT(m.Ink({70, 77}, 1), 0);
    EXPECT_EQ(m.Ink({70, 20}, 5), 0);
}

TEST(MouseCurves, ABSplinePassesThroughItsClicksAndLeavesNoTrail)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    cad.SetShapeTool(TDrawTool::SpBLine);
    m.Move({20, 200});
    m.Click({20, 200});
    m.Move({100, 60});
    m.Click({100, 60});
    m.Move({180, 200});
    // The straight band of the first two points went when the second was
    // placed: only the arch through the mouse point is up now.
    EXPECT_EQ(m.Ink({60, 130}, 2), 0);
    TMyBLine arch(&cad);
    arch.LoadVertices({{20, 200}, {100, 60}, {180, 200}});
    EXPECT_GT(m.Ink(MyPtToPt(arch.GetVPoint(0.75f)), 2), 0);
    m.Click({180, 200});
    m.Move({260, 60});
    m.DoubleClick({260, 60});
    ASSERT_EQ(cad.GetShapesCount(), 1);
    auto* spline = dynamic_cast<TMyBLine*>(cad.GetShapeByNo(0));
    ASSERT_NE(spline, nullptr);
    EXPECT_EQ(spline->ThePoints, (TArrMyPoint{{20, 200}, {100, 60}, {180, 200}, {260, 60}}));
    cad.DeSelectedAllShapesByCode();
    m.Settle();
    for (const TPoint p : {TPoint{20, 200}, TPoint{100, 60}, TPoint{180, 200}, TPoint{260, 60}}) {
        EXPECT_GT(m.Ink(p, 1), 0) << p.X;
    }

    // A click on the curve between the second and third points inserts one there.
    cad.SelectShapeByCode(spline->ShapeId, true);
    cad.SetShapeTool(TDrawTool::SpPolylinePolygonPointAdding);
    spline->LoadVertices(spline->ThePoints);
    const TPoint on = MyPtToPt(spline->GetVPoint(0.5f));
    m.Click(on);
    ASSERT_EQ(spline->GetPointsCount(), 5);
    EXPECT_EQ(spline->ThePoints[2], PtToMyPt(on));
    EXPECT_EQ(cad.UndoRedoShapes.back().SavedAction, ACT_CHANGE);
}

TEST(MouseCurves, ARuleLineIsDraggedAndMeasures)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    cad.SetTheUNIT(TUnits::mm);
    cad.SetShapeTool(TDrawTool::SpRuleLine);
    m.Drag({50, 150}, {250, 154}, Qt::ShiftModifier);
    ASSERT_EQ(cad.GetShapesCount(), 1);
    auto* rule = dynamic_cast<TMyRuleLine*>(cad.GetShapeByNo(0));
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->ThePoints, (TArrMyPoint{{50, 150}, {250, 150}}));
    cad.DeSelectedAllShapesByCode();
    m.Settle();
    EXPECT_EQ(rule->Info(), QStringLiteral("    52.92 mm"));
    EXPECT_EQ(m.Pixel(50, 141), clBlack); // the tick across the start
    EXPECT_GT(m.Ink({150, 140}, 4), 0); // the text above the middle
}
