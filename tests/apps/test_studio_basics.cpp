// What users reach for first in Studio: the read-outs of the status bar,
// the first view of the page, Escape, the context menus, moving shapes
// between layers and page sizes; and the gestures at several zooms: each
// one, made with the mouse and the keyboard on the real window, must leave
// the document exactly as the same edit made by code on a canvas at zoom 1
// (where device pixels are document units), and panning must leave it alone.
#include "StudioTestSupport.h"

#include "cad/io/DocumentFile.h"

#include <QLabel>
#include <QMenu>
#include <QScrollBar>

#include <algorithm>
#include <numbers>

using namespace mycad;
using namespace mycad::appstest;
using StudioBasics = StudioTest;

namespace {

/// The two numbers of a position read-out such as "X 296.9  Y 209.8 mm".
std::pair<double, double> ReadPosition(const QString& text)
{
    const QStringList parts = text.split(u' ', Qt::SkipEmptyParts);
    if (parts.size() < 4) return {-1, -1};
    return {parts.at(1).toDouble(), parts.at(3).toDouble()};
}

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

TEST_F(StudioBasics, TheFirstViewFitsThePageAndTheRulersAndStatusBarFollowZoomScrollingAndTheMouse)
{
    studio::TCanvasArea& area = s.window.Area();
    // Started without a file, the page is fitted to the view as New does.
    const QSize view = area.ScrollArea().viewport()->size();
    EXPECT_GT(area.ZoomPercent(), 25);
    EXPECT_LE(cad.Height(), view.height());
    const int fitted = area.ZoomPercent();
    s.window.NewDrawing();
    EXPECT_EQ(area.ZoomPercent(), fitted);

    // The pointer's position is on the page, in the rulers' unit, at any
    // zoom: the bottom-right pixel reads the page's size.
    for (const int zoom : {fitted, 100, 150}) {
        area.SetZoomPercent(zoom);
        s.Settle();
        s.Hover(QPoint(cad.Width() - 1, cad.Height() - 1));
        const auto [x, y] = ReadPosition(s.window.findChild<QLabel*>(QStringLiteral("labelXY"))->text());
        const double pixel = 25.4 / 96 / cad.Zoom();
        EXPECT_NEAR(x, 210.0 - pixel, pixel) << zoom;
        EXPECT_NEAR(y, 297.0 - pixel, pixel) << zoom;
    }

    // Sizing shows the new size, labelled, while the mouse moves.
    area.SetZoomPercent(80);
    s.Trigger("View", "viewSnapGrid");
    TMyShape* box = AddBox(cad, 100, 100, 200, 160, clRed);
    s.Select(box);
    QTest::mousePress(&cad, Qt::LeftButton, Qt::NoModifier, QPoint(160, 128)); // corner (200, 160)
    QTest::mouseMove(&cad, QPoint(200, 160));
    EXPECT_EQ(s.window.findChild<QLabel*>(QStringLiteral("labelValue"))->text(),
              QStringLiteral("W 39.69 mm \u00d7 H 26.46 mm")); // 150 x 100 document pixels
    // Escape calls the gesture off: the box keeps its size and no step is made.
    const int32_t steps = cad.GetUndoStepsCount();
    QTest::keyClick(&s.window, Qt::Key_Escape);
    QTest::mouseRelease(&cad, Qt::LeftButton, Qt::NoModifier, QPoint(200, 160));
    s.Settle();
    EXPECT_EQ(cad.GetShapesLTRB({box}), (TMyRect{100, 100, 200, 160}));
    EXPECT_EQ(cad.GetUndoStepsCount(), steps);
    // A second Escape clears the selection; so does a press beside the page.
    QTest::keyClick(&s.window, Qt::Key_Escape);
    EXPECT_TRUE(cad.WorkingShapes.empty());
    ASSERT_TRUE(cad.SelectShapeByCode(box->ShapeId, true));
    QWidget* desk = cad.parentWidget();
    QTest::mouseClick(desk, Qt::LeftButton, Qt::NoModifier, cad.pos() - QPoint(10, 10));
    EXPECT_TRUE(cad.WorkingShapes.empty());

    // Ctrl+= zooms in as Ctrl++ does.
    const int before = area.ZoomPercent();
    QTest::keyClick(&s.window, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_GT(area.ZoomPercent(), before);

    // The rulers read 0 at the page's edge and count millimetres at every zoom.
    s.Trigger("View", "viewZoom100");
    TRsRuler& top = area.TopRuler();
    TRsRuler& left = area.LeftRuler();
    const auto pageEdgeOnRuler = [&](TRsRuler& r, bool horizontal) {
        const QPoint o = area.CanvasOriginInView();
        return horizontal ? o.x() - r.x() : o.y() - r.y();
    };
    EXPECT_NEAR(top.Pos2Unit(pageEdgeOnRuler(top, true) + 378), 100.0, 0.3);

    // The hair lines and the pointer read-out follow the mouse.
    s.Hover({189, 95});
    EXPECT_NEAR(top.Pos2Unit(top.HairLinePos()), 50.0, 0.3);
    EXPECT_NEAR(left.Pos2Unit(left.HairLinePos()), 25.1, 0.3);
    EXPECT_EQ(s.window.findChild<QLabel*>(QStringLiteral("labelXY"))->text(), QStringLiteral("X 50.0  Y 25.1 mm"));

    // Zoom: the scale follows, and so does the page edge.
    s.Trigger("View", "viewZoomIn");
    EXPECT_EQ(area.ZoomPercent(), 125);
    s.Trigger("View", "viewZoomIn");
    EXPECT_EQ(area.ZoomPercent(), 150);
    EXPECT_NEAR(top.Pos2Unit(pageEdgeOnRuler(top, true)), 0.0, 0.3);
    EXPECT_NEAR(top.Pos2Unit(pageEdgeOnRuler(top, true) + 567), 100.0, 0.3);

    // Scrolling moves the scale with the page.
    area.ScrollArea().horizontalScrollBar()->setValue(300);
    area.ScrollArea().verticalScrollBar()->setValue(200);
    s.Settle();
    EXPECT_LT(area.CanvasOriginInView().x(), 0);
    EXPECT_NEAR(top.Pos2Unit(pageEdgeOnRuler(top, true)), 0.0, 0.3);
    EXPECT_NEAR(left.Pos2Unit(pageEdgeOnRuler(left, false)), 0.0, 0.3);

    // Another unit: the rulers, the corner and the canvas's measurements.
    s.Trigger("View", "unitInch");
    EXPECT_EQ(top.Units(), TRulerUnit::ruInch);
    EXPECT_EQ(area.Corner().UnitText(), QStringLiteral("in"));
    EXPECT_EQ(cad.TheUNIT(), TUnits::inch);
    EXPECT_NEAR(top.Pos2Unit(pageEdgeOnRuler(top, true) + 144), 1.0, 0.02);

    // Ctrl with the wheel zooms by steps; the wheel alone does not zoom.
    const int beforeWheel = area.ZoomPercent();
    s.Wheel({50, 50}, -120, Qt::ControlModifier);
    EXPECT_EQ(area.ZoomPercent(), 125);
    s.Wheel({50, 50}, 120, Qt::ControlModifier);
    EXPECT_EQ(area.ZoomPercent(), beforeWheel);
    s.Wheel({50, 50}, 120);
    EXPECT_EQ(area.ZoomPercent(), beforeWheel);

    // A click on the corner steps to the next unit.
    QTest::mouseClick(&area.Corner(), Qt::LeftButton);
    EXPECT_EQ(top.Units(), TRulerUnit::ruPixel);
    EXPECT_EQ(area.Corner().UnitText(), QStringLiteral("px"));
    EXPECT_TRUE(s.window.Action("unitPixel")->isChecked());

    // Fit page shows the whole page.
    s.Trigger("View", "viewZoomFit");
    EXPECT_LE(cad.Width(), area.ScrollArea().viewport()->width());
    EXPECT_LE(cad.Height(), area.ScrollArea().viewport()->height());
    EXPECT_EQ(top.Scale(), area.ZoomPercent());

    // An opened drawing brings its unit to the rulers and stays unchanged.
    TMyCAD decimetres;
    decimetres.SetTheUNIT(TUnits::dm);
    const QString file = s.dir.filePath(QStringLiteral("dm.zed"));
    ASSERT_TRUE(SaveToFile(decimetres, file));
    s.window.Cad().Global_Changed = false;
    ASSERT_TRUE(s.window.OpenFile(file));
    s.Settle();
    EXPECT_EQ(top.Units(), TRulerUnit::ruCenti);
    EXPECT_TRUE(s.window.Action("unitCm")->isChecked());
    EXPECT_EQ(cad.TheUNIT(), TUnits::dm);
    EXPECT_FALSE(s.window.isWindowModified());
}

TEST_F(StudioBasics, ContextMenusMoveShapesBetweenLayers)
{
    s.window.Area().SetZoomPercent(100);
    TMyShape* box = AddBox(cad, 100, 100, 200, 160, clRed);
    // A new layer is named in the style of the ones there are.
    QString offered;
    s.window.Layers().AskText = [&](const QString&, const QString&, const QString& text) {
        offered = text;
        return text;
    };
    s.window.Layers().ContextMenu(0)->actions().front()->trigger();
    EXPECT_EQ(offered, QStringLiteral("Layer1"));
    const int32_t layer1 = cad.GetLayerIdByName(QStringLiteral("Layer1"));
    ASSERT_GE(layer1, 0);
    EXPECT_EQ(s.window.Layers().NewLayerName(), QStringLiteral("Layer2"));

    // The canvas's menu selects the shape under the pointer and moves it.
    s.Settle();
    QMenu* menu = s.window.CanvasMenu(150, 130);
    EXPECT_EQ(cad.GetSelectedShape(), box);
    // The clipboard's four commands first.
    QStringList names;
    for (QAction* a : menu->actions()) names << a->objectName();
    EXPECT_EQ(names.mid(0, 4), (QStringList{"editCut", "editCopy", "editPaste", "editDuplicate"}));
    QAction* move = menu->findChild<QAction*>(QStringLiteral("moveToLayer%1").arg(layer1));
    ASSERT_NE(move, nullptr);
    move->trigger();
    delete menu;
    EXPECT_EQ(box->LayerId, layer1);
    s.Trigger("Edit", "editUndo");
    EXPECT_EQ(cad.GetShapeByID(box->ShapeId)->LayerId, 0);

    // The Layers panel's menu moves the selection there too.
    s.Select(box);
    QMenu* layers = s.window.Layers().ContextMenu(cad.GetLayerNoById(layer1));
    QAction* here = layers->findChild<QAction*>(QStringLiteral("layerMoveSelection"));
    ASSERT_NE(here, nullptr);
    here->trigger();
    delete layers;
    EXPECT_EQ(cad.GetShapeByID(box->ShapeId)->LayerId, layer1);

    // With snapping on a nudge is one grid step, with Shift or without.
    ASSERT_TRUE(cad.Snap());
    cad.setFocus();
    const float left = cad.GetShapesLTRB({box}).Left;
    QTest::keyClick(&cad, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(cad.GetShapesLTRB({box}).Left, left + 20);
}

TEST_F(StudioBasics, PageSizesAndOrientationsComeFromTheViewMenu)
{
    s.window.Area().SetZoomPercent(100);
    // Pixels at zoom 1; the orientation stays when the size changes.
    const struct {
        const char* action;
        TPageStyle style;
        int32_t w, h;
    } pages[] = {{"pageA5", TPageStyle::A5, 559, 794},
                 {"pageLandscape", TPageStyle::A5, 794, 559},
                 {"pagePortrait", TPageStyle::A5, 559, 794},
                 {"pageLetter", TPageStyle::CustomerPage, 816, 1054}};
    for (const auto& p : pages) {
        s.Trigger("View", p.action);
        EXPECT_EQ(cad.PageStyle(), p.style) << p.action;
        EXPECT_EQ(cad.Width(), p.w) << p.action;
        EXPECT_EQ(cad.Height(), p.h) << p.action;
        EXPECT_TRUE(s.window.Action(p.action)->isChecked()) << p.action;
    }
    s.Trigger("View", "pageLandscape");
    EXPECT_EQ(cad.Width(), 1054);
    s.window.SetPageSize(100, 150);
    s.Settle();
    EXPECT_EQ(cad.Width(), 567);
    EXPECT_EQ(cad.Height(), 378);
    EXPECT_TRUE(s.window.Action("pageCustom")->isChecked());
    // The custom page survives a zoom and a save.
    s.window.Area().SetZoomPercent(50);
    const QString file = s.Path("custom.zed");
    ASSERT_TRUE(s.window.SaveFile(file));
    TMyCAD back;
    ASSERT_TRUE(LoadFromFile(back, file));
    EXPECT_EQ(back.PageWidth(), 150u);
    EXPECT_EQ(back.PageHeight(), 100u);
    s.Trigger("View", "pageA4");
    EXPECT_EQ(cad.PageStyle(), TPageStyle::A4);
}

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
