// Shapes added by the host from point lists.
#include "canvas/CanvasDrawing.h"
#include "canvas/test_paint_helpers.h"
#include "support/ShapeGestures.h"

#include <functional>
#include <numbers>

#include <gtest/gtest.h>

using namespace mycad;

TEST(ByCode, HostCoordinateSystemsMirrorTheControl)
{
    TMyCAD cad;
    cad.SetPageStyle(TPageStyle::CustomerPage);
    cad.SetBounds(0, 0, 300, 400);
    cad.SetXYMode(TXYMode::Mode1);
    cad.AddShapeByCode(&cad, TDrawTool::SpLine, QString(), {{0, 0}, {100, 0}}, 1, 0.0, QString());
    EXPECT_EQ(cad.GetShapeByNo(0)->ThePoints, (TArrMyPoint{{0, 400}, {100, 400}}));
    cad.SetXYMode(TXYMode::Mode2);
    cad.AddShapeByCode(&cad, TDrawTool::SpLine, QString(), {{0, 0}, {100, 10}}, 1, 0.0, QString());
    EXPECT_EQ(cad.GetShapeByNo(1)->ThePoints, (TArrMyPoint{{300, 400}, {200, 390}}));
    cad.SetXYMode(TXYMode::Mode3);
    cad.AddShapeByCodeWithoutRepaint(&cad, TDrawTool::SpLine, QString(), {{0, 0}, {100, 10}}, 1, 0.0, QString());
    EXPECT_EQ(cad.GetShapeByNo(2)->ThePoints, (TArrMyPoint{{300, 0}, {200, 10}}));

    // Too few points for the class, a count beyond the list and a tool that
    // draws nothing are all refused.
    const TArrMyPoint four{{10, 10}, {110, 10}, {110, 60}, {10, 60}};
    for (const auto& [tool, high] : {std::pair{TDrawTool::SpRectangle, 2}, {TDrawTool::SpRectangle, 4},
                                     {TDrawTool::SpSelecting, 3}}) {
        EXPECT_EQ(cad.AddShapeByCode(&cad, tool, QString(), four, high, 0.0, QString()), -1);
    }
    EXPECT_EQ(cad.GetShapesCount(), 3);

    // Added turned: the angle is applied about the shape's centre.
    cad.SetXYMode(TXYMode::Mode0);
    const int32_t turned =
        cad.AddShapeByCode(&cad, TDrawTool::SpLine, QString(), {{0, 0}, {200, 0}}, 1, std::numbers::pi / 2, QString());
    const TArrMyPoint& axis = cad.GetShapeByID(turned)->ThePoints;
    test::ExpectNear(axis[0], 100.0, -100.0, 1e-4);
    test::ExpectNear(axis[1], 100.0, 100.0, 1e-4);

    // Without a layer nothing is added, announced or recorded.
    cad.DeleteAllLayers();
    int32_t events = 0;
    cad.OnShapeAdded = [&](TMyShape*&, int32_t) { ++events; };
    const size_t steps = cad.UndoRedoShapes.size();
    EXPECT_EQ(cad.AddShapeByCode(&cad, TDrawTool::SpLine, QString(), {{0, 0}, {1, 1}}, 1, 0.0, QString()), -1);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(cad.UndoRedoShapes.size(), steps);
}

// An edit made by code ends in a repaint: the next paint shows every shape
// where the edit left it, and nothing where it was before.
TEST(ByCode, EditsRepaintWhatTheyChange)
{
    using Edit = std::function<void(TMyCAD&, TMyShape*, TMyShape*)>;
    const struct {
        const char* Name;
        Edit Run;
        TPoint Now;  // red after the edit
        TPoint Gone; // red on the painted control before the edit's last step, white after it
    } edits[] = {
        {"move", [](TMyCAD& cad, TMyShape* a, TMyShape*) { cad.Move(a, 60, 0); }, {100, 30}, {25, 30}},
        {"rotate", [](TMyCAD& cad, TMyShape* a, TMyShape*) { cad.Rotate(a, float(std::numbers::pi / 2)); },
         {40, 15}, {25, 30}},
        {"align",
         [](TMyCAD& cad, TMyShape* a, TMyShape* b) {
             cad.SelectShapeByCode(a->ShapeId, true);
             cad.SelectShapeByCode(b->ShapeId, false);
             cad.AlignRight();
         },
         {145, 30}, {25, 30}},
        {"undo",
         [](TMyCAD& cad, TMyShape* a, TMyShape*) {
             cad.SelectShapeByCode(a->ShapeId, true);
             cad.FlipHoriz(a);
             cad.Move(a, 0, 60);
             cad.Update();
             cad.PopFromUndoRedoShapeList(); // the flip, undone: the box back where it started
         },
         {25, 30}, {25, 90}},
    };
    for (const auto& e : edits) {
        SCOPED_TRACE(e.Name);
        TMyCAD cad;
        test::PlainCanvas(cad, 200, 150);
        TMyShape* a = test::AddBox(cad, 20, 20, 60, 40, clRed);
        TMyShape* b = test::AddBox(cad, 120, 100, 160, 120, clBlue);
        cad.Repaint();
        e.Run(cad, a, b);
        cad.Update();
        test::ExpectSurface(cad, {{e.Now.X, e.Now.Y, clRed}, {e.Gone.X, e.Gone.Y, clWhite}});
    }
}
