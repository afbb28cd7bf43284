// Studio's Shapes panel: stencils dragged onto the canvas, joined by
// connectors, and libraries edited and upgraded from the panel; the avoiding
// router switched from the View menu and the Properties panel, and the
// connector's context menu resetting a route the user shaped.
#include "StudioTestSupport.h"
#include "io/LibrarySamples.h"
#include "support/LinkedBoxes.h"

#include "cad/connectors/LinkLine.h"
#include "cad/connectors/RouteStats.h"
#include "cad/io/LibManager.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QSettings>

using namespace mycad;
using namespace mycad::appstest;
using StudioShapes = StudioTest;
using StudioRouting = StudioTest;

namespace {

/// A drop of the tile's drag data on the canvas at the device point, as a
/// drag from the panel ends.
bool DropTile(Studio& s, const QString& name, QPoint at)
{
    studio::TStencilList& tiles = s.window.Shapes().Tiles();
    const QList<QListWidgetItem*> found = tiles.findItems(name, Qt::MatchExactly);
    if (found.isEmpty()) return false;
    std::unique_ptr<QMimeData> data(tiles.mimeData({found.front()}));
    QWidget& canvas = s.window.Cad();
    QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&canvas, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&canvas, &drop);
    s.Settle();
    return drop.isAccepted();
}

TEST_F(StudioShapes, StencilsDraggedOntoTheCanvasAreJoinedAndTheSelectionBecomesAStencil)
{
    studio::TShapesPanel& panel = s.window.Shapes();
    // The shipped libraries open the first time, the flowchart set first.
    ASSERT_EQ(panel.LibraryFiles().size(), 2);
    panel.SetCurrentLibrary(0);
    EXPECT_EQ(panel.Tiles().count(), 9);
    EXPECT_FALSE(panel.Tiles().item(0)->icon().isNull());
    s.Trigger("View", "viewZoom100");

    ASSERT_TRUE(DropTile(s, QStringLiteral("Process"), {200, 200}));
    TMyShape* first = cad.GetSelectedShape();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->ClassName(), QStringLiteral("TMyCombine"));
    EXPECT_EQ(first->ThePoints[0], (TMyPoint{140, 170}));
    EXPECT_TRUE(s.window.IsModified());
    ASSERT_TRUE(DropTile(s, QStringLiteral("Process"), {500, 200}));
    TMyShape* second = cad.GetSelectedShape();
    ASSERT_NE(second, first);

    // From the right side of the first to the left side of the second.
    s.Trigger("Tools", "toolConnector");
    s.Drag({260, 200}, {440, 200});
    auto* line = dynamic_cast<TMyLinkLine*>(Last(cad));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->GetStartShape(), first);
    EXPECT_EQ(line->GetEndShape(), second);
    // Moving a stencil takes the connector along.
    s.Trigger("Tools", "toolSelect");
    s.Drag({500, 190}, {500, 290});
    EXPECT_EQ(line->ThePoints.back(), (TMyPoint{440, 300}));

    // Activating a tile places it in the middle of the view; one undo takes it back.
    const int32_t count = cad.GetShapesCount();
    emit panel.Tiles().itemActivated(panel.Tiles().item(1));
    s.Settle();
    EXPECT_EQ(cad.GetShapesCount(), count + 2);
    s.Trigger("Edit", "editUndo");
    EXPECT_EQ(cad.GetShapesCount(), count);

    // An older library is upgraded as it opens, and the selection becomes
    // one of its stencils.
    const QString file = s.dir.filePath(QStringLiteral("old.zlb"));
    libenc::Entry entry{u"Box", 80, 40, {}, {libenc::Box("TMyRectangle", 0, 0, 1, 1)}};
    ASSERT_TRUE(WriteBytes(file, libenc::EncodeLibrary("ZEDALIBX.8", {entry})));
    QStringList asked;
    panel.AskUpgrade = [&asked](const QString& question) {
        asked.push_back(question);
        return true;
    };
    ASSERT_TRUE(panel.OpenLibrary(file));
    EXPECT_EQ(asked.size(), 1);
    EXPECT_EQ(panel.Current()->LibTag(), kNewestLibTag);
    EXPECT_EQ(panel.LibraryFiles().size(), 3);

    AddBox(cad, 100, 100, 160, 130, clRed);
    cad.SelectAllShapes();
    ASSERT_TRUE(panel.AddSelection(QStringLiteral("Red")));
    ASSERT_TRUE(panel.RenameEntry(QStringLiteral("Red"), QStringLiteral("Red box")));
    ASSERT_TRUE(panel.MoveEntry(QStringLiteral("Red box"), true));
    TLibManager reread;
    ASSERT_TRUE(reread.LoadFromFile(file));
    EXPECT_EQ(reread.GetCmbShapesNames(), (std::vector<String>{u"Red box"_s, u"Box"_s}));
    ASSERT_TRUE(panel.DeleteEntry(QStringLiteral("Box")));
    EXPECT_EQ(panel.Tiles().count(), 1);

    // The libraries open now are the ones a new panel opens.
    QSettings settings(s.dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    TMyCAD other;
    studio::TShapesPanel next(other, settings);
    next.OpenRemembered({});
    EXPECT_EQ(next.LibraryFiles(), panel.LibraryFiles());
}

TEST_F(StudioRouting, TheViewMenuAndPropertiesSwitchTheRouterAndTheContextMenuResetsARoute)
{
    s.window.Area().SetZoomPercent(100);
    TMyShape* a = test::LinkedBox(cad, 40, 100, 100, 140);
    TMyShape* b = test::LinkedBox(cad, 440, 100, 500, 140);
    TMyShape* wall = test::LinkedBox(cad, 240, 20, 280, 260);
    TMyLinkLine* line = test::LinkBoxes(cad, a, 1, b, 3);
    ASSERT_NE(line, nullptr);
    ASSERT_GT(test::RouteHits(*line, *wall), 0);
    s.Settle();
    EXPECT_TRUE(s.Menu("View", "viewRoutingClassic")->isChecked());
    EXPECT_FALSE(s.Menu("View", "viewTidyRoutes")->isEnabled());

    s.Trigger("View", "viewRoutingAvoid");
    EXPECT_EQ(cad.LinkRouter(), TLinkRouter::lrAvoiding);
    EXPECT_EQ(test::RouteHits(*line, *wall), 0);
    s.Trigger("View", "viewTidyRoutes");
    EXPECT_EQ(test::RouteHits(*line, *wall), 0);

    // The user moves a segment; the connector's menu offers the reset.
    line->SelectedHotId = line->GetPointsCount() + 1;
    line->SizeChangeValue({0, 0}, {0, 60});
    ASSERT_TRUE(line->Pin.has_value());
    s.Select(line);
    const TMyPoint grip = line->GetPointInZoom(0);
    QMenu* menu = s.window.CanvasMenu(int32_t(grip.X) + 3, int32_t(grip.Y));
    QAction* reset = nullptr;
    for (QAction* act : menu->actions()) {
        if (act->objectName() == QStringLiteral("connectorResetRoute")) reset = act;
    }
    ASSERT_NE(reset, nullptr);
    ASSERT_TRUE(reset->isEnabled());
    reset->trigger();
    delete menu;
    EXPECT_FALSE(line->Pin.has_value());
    EXPECT_TRUE(line->IsAutoMode);
    EXPECT_EQ(test::RouteHits(*line, *wall), 0);

    // The Properties panel shows and switches the router of the canvas.
    auto* router = s.window.Properties().findChild<QComboBox*>(QStringLiteral("linkRouter"));
    ASSERT_NE(router, nullptr);
    s.Settle();
    EXPECT_EQ(router->currentData().toInt(), int(TLinkRouter::lrAvoiding));
    router->setCurrentIndex(router->findData(int(TLinkRouter::lrClassic)));
    emit router->activated(router->currentIndex());
    EXPECT_EQ(cad.LinkRouter(), TLinkRouter::lrClassic);
}

} // namespace
