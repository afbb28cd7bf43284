// Studio's gestures at several zooms: each one, made with the mouse and the
// keyboard on the real window, must leave the document exactly as the same
// edit made by code on a canvas at zoom 1 (where device pixels are document
// units), and panning must leave it alone.
#include "StudioTestSupport.h"

#include <QScrollBar>

#include <algorithm>
#include <numbers>

using namespace mycad;
using namespace mycad::appstest;

namespace {

void ExpectSameShape(const TMyShape& live, const TMyShape& expected, const char* step)
{
    SCOPED_TRACE(step);
    ASSERT_EQ(live.ThePoints.size(), expected.ThePoints.size());
    for (size_t i = 0; i < live.ThePoints.size(); ++i) {
        EXPECT_NEAR(live.ThePoints[i].X, expected.ThePoints[i].X, 1e-3) << "point " << i;
        EXPECT_NEAR(live.ThePoints[i].Y, expected.ThePoints[i].Y, 1e-3) << "point " << i;
    }
    EXPECT_NEAR(live.Angle(), expected.Angle(), 1e-5);
}

int Clamped(const QScrollBar* bar, int value) { return std::clamp(value, bar->minimum(), bar->maximum()); }

class StudioAtZoom : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(StudioAtZoom, GesturesEndAsTheSameEditsByCode)
{
    Studio s;
    studio::TStudioCanvas& cad = s.window.Cad();
    s.window.Area().SetZoomPercent(GetParam());
    if (cad.Snap()) s.Trigger("View", "viewSnapGrid");
    ASSERT_EQ(s.window.Area().ZoomPercent(), GetParam());
    const double z = cad.Zoom();
    const auto D = [z](double x, double y) { return QPoint(RoundToInt(x * z), RoundToInt(y * z)); };
    TMyCAD ref; // the same edits by code
    std::vector<TArrMyPoint> history;
    TMyShape* expected = nullptr;
    // The live shape matches the reference after each step, which undo and
    // redo later walk through.
    const auto stepDone = [&](const char* step) {
        ExpectSameShape(*Last(cad), *expected, step);
        history.push_back(expected->ThePoints);
    };

    // Draw a box with the rectangle tool.
    s.window.SetTool(TDrawTool::SpRectangle);
    s.Drag(D(100, 100), D(200, 160));
    ASSERT_EQ(cad.GetShapesCount(), 1);
    expected = AddBox(ref, 100, 100, 200, 160, clWhite);
    stepDone("draw");

    // Clicks select and clear; they change nothing.
    ASSERT_TRUE(s.window.SaveFile(s.Path("gestures.zed")));
    const int32_t steps = cad.GetUndoStepsCount();
    s.Click(D(500, 500));
    EXPECT_TRUE(cad.WorkingShapes.empty());
    s.Click(D(150, 130));
    ASSERT_EQ(cad.GetSelectedShape(), Last(cad));
    EXPECT_FALSE(s.window.isWindowModified());
    EXPECT_EQ(cad.GetUndoStepsCount(), steps);

    // Move by the body.
    s.Drag(D(150, 130), D(190, 150));
    ref.DragChangeValueDxDyforShapes(expected, 40, 20);
    stepDone("move");

    // Size by the bottom-right corner, then by the right side's handle.
    s.Drag(D(240, 180), D(280, 220));
    expected->SelectedHotId = 2;
    ref.SizeChangeValueforShapes(expected, {240, 180}, {280, 220});
    stepDone("corner");
    EXPECT_EQ(cad.GetShapesLTRB({Last(cad)}), (TMyRect{140, 120, 280, 220}));
    s.Drag(D(280, 170), D(320, 170));
    expected->SelectedHotId = 5;
    ref.SizeChangeValueforShapes(expected, {280, 120}, {320, 170});
    stepDone("side");
    EXPECT_EQ(cad.GetShapesLTRB({Last(cad)}), (TMyRect{140, 120, 320, 220}));

    // Turn a quarter clockwise by a corner with the rotate tool.
    s.window.SetTool(TDrawTool::SpRotateSelecting);
    s.Drag(D(320, 220), D(180, 260));
    const TMyPoint centre{230, 170};
    ref.RotateChangeValueforShapes(expected, centre, expected->GetRotatedAngle({320, 220}, {180, 260}, centre, true));
    stepDone("turn");
    EXPECT_NEAR(Last(cad)->Angle(), std::numbers::pi / 2, 1e-4);
    s.window.SetTool(TDrawTool::SpSelecting);

    // Nudge with the arrow keys: one undo step for the burst.
    cad.setFocus();
    const int32_t beforeNudge = cad.GetUndoStepsCount();
    for (int i = 0; i < 3; ++i) QTest::keyClick(&cad, Qt::Key_Right);
    QTest::keyClick(&cad, Qt::Key_Down, Qt::ShiftModifier);
    ref.DragChangeValueDxDyforShapes(expected, 3, 10);
    stepDone("nudge");
    EXPECT_EQ(cad.GetUndoStepsCount(), beforeNudge + 1);

    // Pan with the middle button, with Space and a drag over the shape, with
    // the hand tool and with the wheel: the view moves, the drawing does not.
    QScrollBar* across = s.window.Area().ScrollArea().horizontalScrollBar();
    QScrollBar* down = s.window.Area().ScrollArea().verticalScrollBar();
    const auto pan = [&](Qt::MouseButton button, QPoint from, QPoint by) {
        const int h0 = across->value();
        const int v0 = down->value();
        QTest::mousePress(&cad, button, Qt::NoModifier, from);
        QTest::mouseMove(&cad, from + by);
        QTest::mouseRelease(&cad, button, Qt::NoModifier, from + by);
        s.Settle();
        EXPECT_EQ(across->value(), Clamped(across, h0 - by.x()));
        EXPECT_EQ(down->value(), Clamped(down, v0 - by.y()));
    };
    down->setValue(down->maximum() / 2);
    s.Settle();
    pan(Qt::MiddleButton, D(400, 400), QPoint(-30, -40));
    QTest::keyPress(&cad, Qt::Key_Space);
    pan(Qt::LeftButton, D(200, 170), QPoint(20, 30));
    QTest::keyRelease(&cad, Qt::Key_Space);
    s.window.SetTool(TDrawTool::SpBrowse);
    pan(Qt::LeftButton, D(200, 170), QPoint(10, -25));
    s.window.SetTool(TDrawTool::SpSelecting);
    for (const auto& [mods, bar] : {std::pair{Qt::KeyboardModifiers(), down}, {Qt::ShiftModifier, across}}) {
        const int before = bar->value();
        s.Wheel(D(300, 300), -120, mods);
        EXPECT_EQ(bar->value(), Clamped(bar, before + 60));
    }
    ExpectSameShape(*Last(cad), *expected, "pan");
    EXPECT_EQ(cad.GetUndoStepsCount(), beforeNudge + 1);

    // Move Drawing moves every shape as one step that Undo takes back.
    s.window.SetTool(TDrawTool::SpRectangle);
    s.Drag(D(400, 400), D(460, 440));
    ASSERT_EQ(cad.GetShapesCount(), 2);
    TMyShape* second = AddBox(ref, 400, 400, 460, 440, clWhite);
    s.window.SetTool(TDrawTool::SpDragWhole);
    s.Drag(D(300, 300), D(320, 310));
    for (TMyShape* shape : {expected, second}) ref.DragChangeValueDxDyforShapes(shape, 20, 10);
    ExpectSameShape(*cad.GetShapeByNo(0), *expected, "move drawing");
    ExpectSameShape(*cad.GetShapeByNo(1), *second, "move drawing");
    s.Trigger("Edit", "editUndo");
    ASSERT_EQ(cad.GetShapesCount(), 2);
    EXPECT_EQ(cad.GetShapeByNo(0)->ThePoints, history.back());
    EXPECT_EQ(cad.GetShapeByNo(1)->ThePoints, (TArrMyPoint{{400, 400}, {460, 400}, {460, 440}, {400, 440}}));
    s.Trigger("Edit", "editUndo");
    ASSERT_EQ(cad.GetShapesCount(), 1);
    s.window.SetTool(TDrawTool::SpSelecting);

    // Undo every step back to the drawn box, then redo them all.
    for (size_t k = history.size() - 1; k-- > 0;) {
        s.Trigger("Edit", "editUndo");
        EXPECT_EQ(Last(cad)->ThePoints, history[k]) << "undo to step " << k;
    }
    for (size_t k = 1; k < history.size(); ++k) {
        s.Trigger("Edit", "editRedo");
        EXPECT_EQ(Last(cad)->ThePoints, history[k]) << "redo of step " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Zooms, StudioAtZoom, ::testing::Values(80, 100, 150),
                         [](const ::testing::TestParamInfo<int>& info) { return "Percent" + std::to_string(info.param); });
