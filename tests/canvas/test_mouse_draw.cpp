// Drawing with the mouse on the real widget: whole gestures from QTest, then
// the document, the events and the undo list.
#include "canvas/MouseDriver.h"
#include "cad/shapes/Text.h"
#include "platform/TextInput.h"

#include <gtest/gtest.h>

using namespace mycad;
using test::MouseDriver;

TEST(MouseDraw, ARectangleInOneGestureReturnsToSelecting)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    std::vector<int32_t> counts;
    int32_t backToSelecting = 0;
    cad.OnShapeAdded = [&](TMyShape*&, int32_t count) { counts.push_back(count); };
    cad.OnActionToolToSelecting = [&] { ++backToSelecting; };
    cad.SetShapeTool(TDrawTool::SpRectangle);
    ASSERT_EQ(cad.ActionTool(), TActionTools::dtDrawing);

    m.Drag({50, 40}, {130, 90});
    ASSERT_EQ(cad.GetShapesCount(), 1);
    TMyShape* r = cad.GetShapeByNo(0);
    EXPECT_EQ(r->ThePoints, (TArrMyPoint{{50, 40}, {130, 40}, {130, 90}, {50, 90}}));
    EXPECT_EQ(r->CenterPoint, (TMyPoint{90, 65}));
    EXPECT_EQ(cad.GetSelectedShape(), r);
    EXPECT_EQ(counts, (std::vector<int32_t>{1}));
    ASSERT_EQ(cad.UndoRedoShapes.size(), 1u);
    EXPECT_EQ(cad.UndoRedoShapes[0].SavedAction, ACT_ADD);
    EXPECT_EQ(cad.ActionTool(), TActionTools::dtSelecting);
    EXPECT_EQ(backToSelecting, 1);
    EXPECT_TRUE(cad.Global_Changed);
    // The rubber bands were erased: after the repaint the control shows the
    // rectangle's outline and nothing else.
    m.Settle();
    EXPECT_EQ(m.Pixel(50, 60), clBlack);
    EXPECT_EQ(m.Pixel(135, 95), clWhite); // off the grid lines, just beyond the corner
}

TEST(MouseDraw, ShiftKeepsLinesStraightAndBoxesSquare)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    cad.SetShapeTool(TDrawTool::SpLine);
    m.Drag({100, 100}, {180, 130}, Qt::ShiftModifier);
    cad.SetShapeTool(TDrawTool::SpLine);
    m.Drag({100, 100}, {120, 170}, Qt::ShiftModifier);
    ASSERT_EQ(cad.GetShapesCount(), 2);
    EXPECT_EQ(cad.GetShapeByNo(0)->ThePoints, (TArrMyPoint{{100, 100}, {180, 100}}));
    EXPECT_EQ(cad.GetShapeByNo(1)->ThePoints, (TArrMyPoint{{100, 100}, {100, 170}}));
    // Drawing a line downward sets its angle to a quarter turn.
    m.Settle();
    EXPECT_NEAR(cad.GetShapeByNo(1)->Angle(), std::numbers::pi / 2, 1e-6);

    cad.SetShapeTool(TDrawTool::SpRectangle);
    m.Drag({10, 10}, {50, 30}, Qt::ShiftModifier);
    ASSERT_EQ(cad.GetShapesCount(), 3);
    EXPECT_EQ(cad.GetShapeByNo(2)->ThePoints[2], (TMyPoint{30, 30}));
    // A Shift release on the press point makes a one-pixel square.
    cad.SetShapeTool(TDrawTool::SpRectangle);
    m.Click({200, 200}, Qt::ShiftModifier);
    ASSERT_EQ(cad.GetShapesCount(), 4);
    EXPECT_EQ(cad.GetShapeByNo(3)->ThePoints[2], (TMyPoint{201, 201}));
}

TEST(MouseDraw, AddShapeRefusedWithoutLayers)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    cad.DeleteAllLayers();
    int32_t events = 0;
    cad.OnShapeAdded = [&](TMyShape*&, int32_t) { ++events; };
    cad.SetShapeTool(TDrawTool::SpRectangle);
    m.Drag({10, 10}, {60, 40});
    EXPECT_EQ(cad.GetShapesCount(), 0);
    EXPECT_EQ(events, 0);
    EXPECT_TRUE(cad.UndoRedoShapes.empty());
    EXPECT_EQ(m.messages.Messages().size(), 1u);
}

TEST(MouseDraw, ADrawnTextBoxTakesTheEnteredLines)
{
    int32_t asked = 0;
    struct Entry {
        TTextInputHandler previous;
        ~Entry() { SetTextInputHandler(previous); }
    } entry{SetTextInputHandler([&](TStringList& lines) {
        ++asked;
        lines.Add(QStringLiteral("typed"));
        return asked == 1; // the second entry is cancelled
    })};
    MouseDriver m;
    TMyCAD& cad = m.cad;
    cad.SetReturnToSelecting(false);
    cad.SetShapeTool(TDrawTool::SpText);
    m.Drag({130, 90}, {50, 40}); // from the right-bottom corner
    ASSERT_EQ(cad.GetShapesCount(), 1);
    auto* text = dynamic_cast<TMyText*>(cad.GetShapeByNo(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->ThePoints, (TArrMyPoint{{50, 40}, {130, 40}, {130, 90}, {50, 90}}));
    EXPECT_EQ(text->Lines().Count(), 1);
    ASSERT_EQ(cad.UndoRedoShapes.size(), 1u); // the text came with the box

    m.Drag({150, 40}, {200, 90});
    ASSERT_EQ(cad.GetShapesCount(), 2);
    EXPECT_EQ(dynamic_cast<TMyText*>(cad.GetShapeByNo(1))->Lines().Count(), 0);
    cad.SetDisableTextInput(true);
    m.Drag({250, 40}, {300, 90});
    EXPECT_EQ(asked, 2);
}
