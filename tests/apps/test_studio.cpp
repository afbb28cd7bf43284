// MyCAD Studio on the offscreen platform: whole sessions through its menus,
// tools and panels, as a user works, and what ends up in the files.
#include "StudioTestSupport.h"
#include "support/LinkedBoxes.h"

#include "apps/common/SampleDrawing.h"
#include "apps/studio/InPlaceEditor.h"
#include "apps/studio/ShapeStyleGroups.h"
#include "cad/canvas/ImageByCode.h"
#include "cad/connectors/LinkLine.h"
#include "cad/io/DocumentFile.h"
#include "cad/shapes/BLine.h"
#include "cad/shapes/Image.h"
#include "cad/shapes/Line.h"
#include "cad/shapes/RuleLine.h"
#include "cad/shapes/Text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QSpinBox>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolButton>

using namespace mycad;
using namespace mycad::appstest;
using StudioPanels = StudioTest;
using StudioSession = StudioTest;
using StudioText = StudioTest;
using StudioTools = StudioTest;

TEST_F(StudioSession, OpenDrawChangeSaveReopen)
{
    ASSERT_TRUE(s.window.OpenFile(QStringLiteral(MYCAD_SAMPLE_FILE)));
    s.Settle();
    const int32_t sampleShapes = cad.GetShapesCount();
    EXPECT_EQ(s.window.Layers().List().count(), 2);
    EXPECT_FALSE(s.window.isWindowModified());

    // Draw a rectangle with the tool at 100 % in the empty lower left; it
    // gets link points on its sides.
    s.Trigger("View", "viewZoom100");
    ASSERT_DOUBLE_EQ(cad.Zoom(), 1.0);
    s.Trigger("Tools", "toolRectangle");
    s.Drag({100, 660}, {300, 760});
    ASSERT_EQ(cad.GetShapesCount(), sampleShapes + 1);
    TMyShape* drawn = Last(cad);
    EXPECT_EQ(drawn->ThePoints, (TArrMyPoint{{100, 660}, {300, 660}, {300, 760}, {100, 760}}));
    EXPECT_EQ(drawn->GetLinkPointsCount(), 4);
    // Back to selecting, with the new shape selected and shown in the panel.
    EXPECT_TRUE(s.window.Action("toolSelect")->isChecked());
    EXPECT_EQ(cad.GetSelectedShape(), drawn);
    EXPECT_TRUE(s.window.Properties().Title().text().contains(drawn->Name()));
    EXPECT_TRUE(s.window.isWindowModified());
    const TArrMyPoint drawnPoints = drawn->ThePoints;

    // Change properties through the panel's widgets; each is one undo step
    // (the reopened file below shows all three).
    s.Select(drawn);
    s.window.Properties().PenColorButton().AskColor = [](TColor) { return std::optional<TColor>(clPurple); };
    QTest::mouseClick(&s.window.Properties().PenColorButton().Button(), Qt::LeftButton);
    s.window.Properties().PenWidthBox().setValue(6);
    s.window.Properties().SetBrushColor(clAqua);
    s.Trigger("Edit", "editUndo");
    drawn = Last(cad);
    EXPECT_NE(drawn->Brush().Color(), clAqua);
    EXPECT_EQ(drawn->Pen().Width(), 6);
    s.Trigger("Edit", "editRedo");
    drawn = Last(cad);
    EXPECT_EQ(drawn->Brush().Color(), clAqua);
    EXPECT_EQ(drawn->Pen().Color(), clPurple);

    // Save, then open what was saved in a new window.
    const QString saved = s.dir.filePath(QStringLiteral("edited.zed"));
    ASSERT_TRUE(s.window.SaveFile(saved));
    s.Settle();
    EXPECT_FALSE(s.window.isWindowModified());
    EXPECT_TRUE(s.window.windowTitle().startsWith(QStringLiteral("edited.zed")));
    EXPECT_EQ(s.window.RecentFiles().front(), QFileInfo(saved).absoluteFilePath());
    EXPECT_EQ(s.window.RecentFiles().at(1), QFileInfo(QStringLiteral(MYCAD_SAMPLE_FILE)).absoluteFilePath());

    Studio again;
    ASSERT_TRUE(again.window.OpenFile(saved));
    TMyCAD& reopened = again.window.Cad();
    ASSERT_EQ(reopened.GetShapesCount(), sampleShapes + 1);
    TMyShape* back = reopened.GetShapeByNo(sampleShapes);
    EXPECT_EQ(back->ThePoints, drawnPoints);
    EXPECT_EQ(back->Pen().Color(), clPurple);
    EXPECT_EQ(back->Pen().Width(), 6);
    EXPECT_EQ(back->Brush().Color(), clAqua);
    EXPECT_EQ(reopened.MyLayers, cad.MyLayers);
    // Nothing else moved: saving the reopened drawing gives the same bytes,
    // also at another zoom (the page is stored at zoom 1 whatever the view).
    again.Trigger("View", "viewZoomOut");
    again.Trigger("View", "viewZoomOut");
    ASSERT_NE(again.window.Area().ZoomPercent(), 100);
    const int zoomBefore = again.window.Area().ZoomPercent();
    const QString resaved = s.dir.filePath(QStringLiteral("resaved.zed"));
    ASSERT_TRUE(again.window.SaveFile(resaved));
    EXPECT_EQ(again.window.Area().ZoomPercent(), zoomBefore);
    EXPECT_EQ(ReadBytes(resaved), ReadBytes(saved));
    EXPECT_TRUE(s.messages.Messages().empty());
}

TEST_F(StudioSession, ArrangeCommandsChangeTheSelectionAndUndoInOneStep)
{
    TMyShape* a = AddBox(cad, 10, 10, 50, 40, clRed);
    AddBox(cad, 100, 30, 160, 90, clGreen);
    TMyShape* c = AddBox(cad, 300, 20, 320, 60, clBlue);
    cad.SelectAllShapes();
    s.Settle();
    EXPECT_FALSE(s.window.Action("arrangeUngroup")->isEnabled());

    s.Trigger("Arrange", "alignTop");
    EXPECT_EQ(c->GetLeftTop().Y, 10.0f);

    cad.SelectAllShapes();
    s.Trigger("Arrange", "spaceHorizontal");
    // Gaps between 50 and 300 shared by the 60-wide middle box: 95 each.
    EXPECT_EQ(cad.GetShapeByNo(1)->GetLeftTop().X, 145.0f);
    s.Trigger("Edit", "editUndo");
    EXPECT_EQ(cad.GetShapeByNo(1)->GetLeftTop().X, 100.0f);

    ASSERT_TRUE(cad.SelectShapeByCode(cad.GetShapeByNo(0)->ShapeId, true));
    s.Trigger("Arrange", "rotateClockwise");
    EXPECT_NEAR(cad.GetShapeByNo(0)->Angle(), 1.5707964f, 1e-5);
    s.Trigger("Arrange", "arrangeLock");
    // A locked shape cannot be deleted; the user is told so.
    s.Trigger("Edit", "editDelete");
    EXPECT_EQ(cad.GetShapesCount(), 3);
    ASSERT_EQ(s.messages.Messages().size(), 1u);
    EXPECT_TRUE(s.messages.Messages().front().contains(QStringLiteral("Locked")));
    s.Trigger("Arrange", "arrangeUnlock");
    // Unlocked, it goes; Undo brings back a copy in its place.
    const int32_t aId = a->ShapeId;
    s.Trigger("Edit", "editDelete");
    EXPECT_EQ(cad.GetShapesCount(), 2);
    s.Trigger("Edit", "editUndo");
    ASSERT_EQ(cad.GetShapesCount(), 3);
    ASSERT_TRUE(cad.SelectShapeByCode(aId, true));
    s.Trigger("Arrange", "arrangeFront");
    EXPECT_EQ(cad.GetShapeByNo(2)->ShapeId, aId);

    cad.SelectAllShapes();
    s.Trigger("Arrange", "arrangeGroup");
    ASSERT_EQ(cad.GetShapesCount(), 4);
    EXPECT_TRUE(Last(cad)->HasChildShapes());
    s.Trigger("Arrange", "arrangeUngroup");
    EXPECT_EQ(cad.GetShapesCount(), 3);
    s.Trigger("Edit", "editSelectAll");
    EXPECT_EQ(cad.GetSelectedShapesCount(), 3);
    EXPECT_TRUE(s.window.isWindowModified());
}

TEST_F(StudioSession, MenuCommandsShowOnTheDrawingAndFilesAndArrangingUndoesInOneStep)
{
    const int32_t a = AddBox(cad, 10, 10, 50, 40, clRed)->ShapeId, b = AddBox(cad, 100, 30, 160, 90, clGreen)->ShapeId,
                  c = AddBox(cad, 300, 20, 320, 60, clBlue)->ShapeId;
    TMyShape* line = cad.CreateAddShapeByName(QStringLiteral("TMyLine"));
    line->ThePoints = {{0, 100}, {96, 148}};
    const auto box = [&](int32_t id) { return cad.GetShapesLTRB({cad.GetShapeByID(id)}); };
    const auto at = [&](int no) { return cad.GetShapeByNo(no)->ShapeId; };
    const auto end = [&, d = line->ShapeId](int i) { return cad.GetShapeByID(d)->ThePoints[size_t(i)]; };
    const std::tuple<std::vector<int32_t>, const char*, std::function<bool()>> rows[] = {
        {{a, b, c}, "alignLeft", [&] { return box(b).Left == 10 && box(c).Left == 10; }},
        {{a, b, c}, "alignRight", [&] { return box(a).Right == 320 && box(b).Right == 320; }},
        {{a, b, c}, "alignBottom", [&] { return box(a).Bottom == 90 && box(c).Bottom == 90; }},
        {{a, b, c}, "alignHCenter", [&] { return box(a).Left + box(a).Right == box(c).Left + box(c).Right; }},
        {{a, b, c}, "alignVCenter", [&] { return box(a).Top + box(a).Bottom == box(b).Top + box(b).Bottom; }},
        {{a, b, c}, "spaceVertical", [&] { return box(c).Top - box(a).Bottom == box(b).Top - box(c).Bottom; }},
        {{a}, "arrangeForward", [&] { return at(1) == a; }},
        {{c}, "arrangeBackward", [&] { return at(1) == c; }},
        {{c}, "arrangeBack", [&] { return at(0) == c; }},
        {{line->ShapeId}, "flipHorizontal", [&] { return end(0).X > end(1).X; }},
        {{line->ShapeId}, "flipVertical", [&] { return end(0).Y > end(1).Y; }},
        {{a}, "rotateCounterClockwise", [&] { return std::abs(std::sin(cad.GetShapeByID(a)->Angle()) + 1) < 1e-5; }},
    };
    for (const auto& [selection, action, shows] : rows) {
        for (int32_t id : selection) ASSERT_TRUE(cad.SelectShapeByCode(id, id == selection.front()));
        EXPECT_FALSE(shows()) << action;
        s.Trigger("Arrange", QString::fromLatin1(action));
        EXPECT_TRUE(shows()) << action;
        s.Trigger("Edit", "editUndo");
        EXPECT_FALSE(shows()) << action;
    }

    s.saveAs = s.Path("menu.zed");
    s.Trigger("File", "fileSave");
    s.saveAs = s.Path("menu");
    for (const char* kind : {"Png", "Jpeg", "Bmp"}) s.Trigger("File", QStringLiteral("fileExport") + QLatin1String(kind));
    for (const char* file : {"menu.png", "menu.jpg", "menu.bmp"}) EXPECT_FALSE(QImage(s.Path(file)).isNull()) << file;
    s.Trigger("File", "fileNew");
    EXPECT_EQ(cad.GetShapesCount(), 0);
    s.window.AskOpenFileName = [this](const QString&, const QString&) { return s.Path("menu.zed"); };
    s.Trigger("File", "fileOpen");
    EXPECT_EQ(cad.GetShapesCount(), 4);
    s.saveAs = s.Path("copy.zed");
    s.Trigger("File", "fileSaveAs");
    EXPECT_TRUE(QFileInfo::exists(s.Path("copy.zed")) && s.window.FileName() == s.Path("copy.zed"));
    s.Trigger("File", "fileQuit");
    EXPECT_FALSE(s.window.isVisible());
}

TEST_F(StudioSession, UnsavedWorkIsAskedAboutAndKeptForTheNextStart)
{
    s.window.SetTool(TDrawTool::SpRectangle);
    s.Drag({40, 40}, {120, 100});
    ASSERT_EQ(cad.GetShapesCount(), 1);
    ASSERT_TRUE(cad.Global_Changed);

    s.answer = TStudioWindow::TSaveAnswer::Cancel;
    EXPECT_FALSE(s.window.close());
    EXPECT_FALSE(s.window.OpenFile(QStringLiteral(MYCAD_SAMPLE_FILE)));
    EXPECT_EQ(cad.GetShapesCount(), 1);
    EXPECT_EQ(s.questions, 2);

    // Saving from the question asks for a name, then closes.
    s.answer = TStudioWindow::TSaveAnswer::Save;
    s.saveAs = s.dir.filePath(QStringLiteral("kept"));
    EXPECT_TRUE(s.window.close());
    EXPECT_EQ(s.questions, 3);
    TMyCAD check;
    ASSERT_TRUE(LoadFromFile(check, s.dir.filePath(QStringLiteral("kept.zed"))));
    EXPECT_EQ(check.GetShapesCount(), 1);

    // The next window opens where this one was closed, with its panels.
    {
        TStudioWindow next(s.dir.filePath(QStringLiteral("settings.ini")));
        EXPECT_EQ(next.size(), s.window.size());
    }

    // Nothing is asked once the drawing is saved; discarding drops changes.
    Studio t;
    t.answer = TStudioWindow::TSaveAnswer::Discard;
    EXPECT_TRUE(t.window.NewDrawing());
    EXPECT_EQ(t.questions, 0);
    t.window.MarkChanged();
    EXPECT_TRUE(t.window.OpenFile(QStringLiteral(MYCAD_SAMPLE_FILE)));
    EXPECT_EQ(t.questions, 1);
    EXPECT_TRUE(t.window.NewDrawing());
    EXPECT_EQ(t.window.Cad().GetShapesCount(), 0);
    EXPECT_TRUE(t.window.FileName().isEmpty());

    // Unsaved work is kept in a recovery copy for the next start.
    EXPECT_FALSE(t.window.SaveRecovery()); // nothing unsaved
    AddBox(t.window.Cad(), 10, 10, 50, 40, clRed);
    t.window.MarkChanged();
    ASSERT_TRUE(t.window.SaveRecovery());
    ASSERT_TRUE(QFileInfo::exists(t.window.RecoveryFile()));
    EXPECT_TRUE(t.window.IsModified()); // the copy is no save
    {
        // The next start in the same settings offers it.
        TStudioWindow next(t.dir.filePath(QStringLiteral("settings.ini")));
        int asked = 0;
        next.AskRestore = [&] {
            ++asked;
            return true;
        };
        ASSERT_TRUE(next.OfferRecovery());
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(next.Cad().GetShapesCount(), 1);
        EXPECT_TRUE(next.IsModified());
        EXPECT_FALSE(QFileInfo::exists(next.RecoveryFile()));
        next.AskSaveChanges = [](const QString&) { return TStudioWindow::TSaveAnswer::Discard; };
    }
    // A save removes the copy.
    ASSERT_TRUE(t.window.SaveRecovery());
    ASSERT_TRUE(t.window.SaveFile(t.dir.filePath(QStringLiteral("kept.zed"))));
    EXPECT_FALSE(QFileInfo::exists(t.window.RecoveryFile()));
}

TEST_F(StudioSession, FilesThatCannotBeOpenedOrWrittenAreReportedNotFatal)
{
    const QString text = s.dir.filePath(QStringLiteral("notes.txt"));
    ASSERT_TRUE(WriteBytes(text, std::vector<uint8_t>(700, 'a')));
    EXPECT_FALSE(s.window.OpenFile(s.dir.filePath(QStringLiteral("gone.zed"))));
    EXPECT_FALSE(s.window.OpenFile(text));
    EXPECT_FALSE(s.window.SaveFile(s.dir.filePath(QStringLiteral("no/dir/x.zed"))));
    EXPECT_FALSE(s.window.ExportPicture(s.dir.filePath(QStringLiteral("x.gif"))));
    const auto& m = s.messages.Messages();
    ASSERT_EQ(m.size(), 4u);
    for (size_t i = 0; i < m.size(); ++i) {
        const char* says[] = {"no such file", "not a MyCAD drawing", "could not be saved", ".png"};
        EXPECT_TRUE(m[i].contains(QLatin1String(says[i]))) << m[i].toStdString();
    }
    EXPECT_TRUE(s.window.RecentFiles().isEmpty());

    // Export writes the picture the file name asks for.
    ASSERT_TRUE(s.window.OpenFile(QStringLiteral(MYCAD_SAMPLE_FILE)));
    const QString png = s.dir.filePath(QStringLiteral("sample.png"));
    ASSERT_TRUE(s.window.ExportPicture(png));
    // Inside the "Open file" box of the sample.
    ExpectPicture(png, 0, 0, {{135, 240, RGB(76, 175, 80)}, {20, 20, clWhite}});

    // A drawing opened after another carries only its own key/value pairs;
    // a file that cannot be read leaves the current ones alone.
    cad.UserData().AddKeyandValue(QStringLiteral("only"), QStringLiteral("here"));
    const QString other = s.dir.filePath(QStringLiteral("other.zed"));
    ASSERT_TRUE(s.window.SaveFile(other));
    cad.UserData().ClearAll();
    cad.UserData().AddKeyandValue(QStringLiteral("stale"), QStringLiteral("pair"));
    EXPECT_FALSE(s.window.OpenFile(text));
    EXPECT_EQ(cad.UserData().GetValueByKey(QStringLiteral("stale")), QStringLiteral("pair"));
    ASSERT_TRUE(s.window.OpenFile(other));
    EXPECT_EQ(cad.UserData().GetValueByKey(QStringLiteral("only")), QStringLiteral("here"));
    EXPECT_TRUE(cad.UserData().GetValueByKey(QStringLiteral("stale")).isEmpty());
}

TEST_F(StudioPanels, LayersPanelKeepsTheLayerTable)
{
    studio::TLayersPanel& layers = s.window.Layers();
    AddBox(cad, 10, 10, 40, 40, clRed);
    const int32_t sketch = layers.AddLayer(QStringLiteral("Sketch"));
    ASSERT_GE(sketch, 0);
    EXPECT_EQ(cad.CurrentLayerId(), sketch);
    EXPECT_EQ(layers.AddLayer(QStringLiteral("Sketch")), -1); // names are unique
    EXPECT_EQ(s.messages.Messages().size(), 1u);
    AddBox(cad, 60, 10, 90, 40, clBlue);
    EXPECT_EQ(layers.List().count(), 2);
    EXPECT_TRUE(layers.List().item(1)->text().startsWith(QStringLiteral("Sketch")));

    // Visibility through the check box of the list.
    layers.List().item(1)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(cad.IsVisibleLayerByID(sketch));
    layers.List().item(1)->setCheckState(Qt::Checked);
    EXPECT_TRUE(cad.IsVisibleLayerByID(sketch));

    // The current layer follows the list's selection.
    layers.List().setCurrentRow(0);
    s.Settle();
    EXPECT_EQ(cad.CurrentLayerId(), 0);

    EXPECT_TRUE(layers.RenameLayer(sketch, QStringLiteral("Draft")));
    EXPECT_EQ(cad.GetLayerNameByID(sketch), QStringLiteral("Draft"));
    EXPECT_FALSE(layers.RenameLayer(sketch, QStringLiteral("Layer0")));

    // Through the buttons, with the questions answered.
    layers.AskText = [](const QString&, const QString&, const QString&) { return QStringLiteral("Extra"); };
    layers.findChild<QToolButton*>(QStringLiteral("layeradd"))->click();
    const int32_t extra = cad.GetLayerIdByName(QStringLiteral("Extra"));
    ASSERT_GE(extra, 0);
    layers.AskLayer = [sketch](const QString&, const QString&, const QList<int32_t>& ids) {
        return ids.contains(sketch) ? sketch : -1;
    };
    layers.List().setCurrentRow(0);
    s.Settle();
    layers.findChild<QToolButton*>(QStringLiteral("layermerge"))->click(); // Layer0 into Draft
    EXPECT_EQ(cad.GetLayerNoById(0), -1);
    EXPECT_EQ(cad.GetShapesCountInALayer(sketch), 2);

    layers.Confirm = [](const QString&) { return true; };
    layers.List().setCurrentRow(cad.GetLayerNoById(sketch));
    s.Settle();
    layers.findChild<QToolButton*>(QStringLiteral("layerdelete"))->click();
    EXPECT_EQ(cad.GetShapesCount(), 0);
    EXPECT_EQ(cad.GetLayersCount(), 1);
    EXPECT_FALSE(layers.DeleteLayer(extra)); // the last layer stays

    // Undo brings the shapes back, and with them their layer.
    s.Trigger("Edit", "editUndo");
    EXPECT_EQ(cad.GetShapesCount(), 1);
    ASSERT_EQ(cad.GetLayersCount(), 2);
    EXPECT_EQ(cad.GetLayerNameByID(sketch), QStringLiteral("Draft"));
    EXPECT_EQ(layers.List().count(), 2);
    s.Trigger("Edit", "editUndo");
    EXPECT_EQ(cad.GetShapesCount(), 2);
    EXPECT_EQ(cad.GetShapesCountInALayer(sketch), 2);
}

TEST_F(StudioTools, TheToolBarOffersTheToolsWhoseShapesExist)
{
    const QList<QAction*> actions = s.window.findChildren<QAction*>();
    for (int t = 0; t <= static_cast<int>(TDrawTool::SpBLine); ++t) {
        const auto tool = static_cast<TDrawTool>(t);
        QAction* offered = nullptr;
        for (QAction* a : actions) {
            if (a->objectName().startsWith(QStringLiteral("tool")) && a->data().toInt() == t) offered = a;
        }
        const bool actionTool = tool == TDrawTool::SpSelecting || tool == TDrawTool::SpRotateSelecting ||
                                tool == TDrawTool::SpBrowse || tool == TDrawTool::SpDragWhole ||
                                tool == TDrawTool::SpPolylinePolygonPointAdding ||
                                tool == TDrawTool::SpPolylinePolygonPointRemoving;
        const bool exists = cad.CreateShapeBySpTool(tool) != nullptr;
        SCOPED_TRACE(t);
        EXPECT_EQ(offered != nullptr, actionTool || exists);
        if (!offered) continue;
        EXPECT_FALSE(offered->icon().isNull());
        offered->trigger();
        EXPECT_EQ(cad.ShapeTool(), tool);
        EXPECT_TRUE(offered->isChecked());
    }

    // The grid and snapping switches reach the canvas.
    s.Trigger("View", "viewGrid");
    EXPECT_FALSE(cad.GridOperation().GridShow());
    s.window.Action("viewGridDots")->trigger();
    EXPECT_EQ(cad.GridOperation().GridType(), TGridType::gPixel);
    EXPECT_TRUE(cad.GridOperation().GridShow());
    s.Trigger("View", "viewSnapGrid");
    EXPECT_FALSE(cad.Snap());
    s.Trigger("View", "viewSnapShapes");
    EXPECT_TRUE(cad.SnapShape());
}

TEST(StudioRender, TheSampleShipsAsTheGeneratorWritesItAndRendersHeadless)
{
    // The committed sample is exactly what the generator makes today.
    TMyCAD generated;
    app::BuildSampleDrawing(generated);
    TMemoryStream bytes;
    ASSERT_TRUE(SaveToStream(generated, bytes));
    const std::vector<uint8_t> expected(bytes.Memory(), bytes.Memory() + bytes.Size());
    EXPECT_EQ(ReadBytes(QStringLiteral(MYCAD_SAMPLE_FILE)), expected)
        << "examples/sample.zed is out of date: run mycad-make-sample examples/sample.zed";

    // The run command's headless path: no display, a PNG of the page.
    QTemporaryDir dir;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    const QString png = dir.filePath(QStringLiteral("sample.png"));
    // The same order as `mycad render FILE OUT`.
    p.start(QStringLiteral(MYCAD_STUDIO_BINARY), {QStringLiteral("--render"), QStringLiteral(MYCAD_SAMPLE_FILE), png});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    // Inside the boxes "Open file" and "Export PNG", and beside them.
    ExpectPicture(png, 1123, 794, {{135, 240, RGB(76, 175, 80)}, {975, 200, RGB(156, 39, 176)}, {560, 750, clWhite}});

    p.start(QStringLiteral(MYCAD_STUDIO_BINARY), {QStringLiteral("--version")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(p.readAllStandardOutput().startsWith("mycad-studio 0."));

    QString error;
    EXPECT_EQ(studio::RenderDrawingFile(dir.filePath(QStringLiteral("none.zed")), png, error), 1);
    EXPECT_TRUE(error.contains(QStringLiteral("no such file")));
}

TEST_F(StudioPanels, PropertiesPanelShowsAndChangesTheSelectionOneUndoStepEachAndSplinesSayWhyTheyEnd)
{
    studio::TPropertiesPanel& panel = s.window.Properties();
    TMyShape* box = AddBox(cad, 96, 48, 192, 144, clRed); // one inch = 96 pixels
    auto* line = dynamic_cast<TMyLine*>(cad.CreateAddShapeByName(QStringLiteral("TMyLine")));
    line->ThePoints = {{0, 0}, {96, 0}};
    s.Trigger("View", "unitInch");
    EXPECT_EQ(panel.Title().text(), QStringLiteral("Nothing selected"));
    EXPECT_FALSE(panel.InfoEdit().isEnabled());

    s.Select(box);
    EXPECT_TRUE(panel.InfoEdit().isEnabled());
    const int32_t steps = cad.GetUndoStepsCount();

    // A gradient shows through a clear brush, so choosing one clears it.
    auto* gradient = panel.findChild<QComboBox*>(QStringLiteral("gradientStyle"));
    const int diamond = gradient->findData(int(TGradientStyle::gsDiamond));
    ASSERT_GE(diamond, 0);
    gradient->setCurrentIndex(diamond);
    emit gradient->activated(diamond);
    EXPECT_EQ(box->GradientStyle(), TGradientStyle::gsDiamond);
    EXPECT_EQ(box->Brush().Style(), TBrushStyle::bsClear);

    panel.InfoEdit().setText(QStringLiteral("Label"));
    emit panel.InfoEdit().editingFinished();
    EXPECT_EQ(box->Info(), QStringLiteral("Label"));
    // The same text again is no change and no step.
    emit panel.InfoEdit().editingFinished();

    panel.SetAngleDegrees(30.0);
    EXPECT_NEAR(box->Angle(), 0.5235988f, 1e-5);
    panel.SetLocked(true);
    EXPECT_TRUE(box->Locked());
    EXPECT_EQ(cad.GetUndoStepsCount(), steps + 4);
    // Visibility is not held by the undo snapshots: no step for it.
    panel.SetShapeVisible(false);
    EXPECT_FALSE(box->Visible());
    EXPECT_EQ(cad.GetUndoStepsCount(), steps + 4);
    panel.SetShapeVisible(true);

    // The panel shows what the shape now is.
    s.Settle();
    panel.Refresh();
    EXPECT_EQ(panel.InfoEdit().text(), QStringLiteral("Label"));
    EXPECT_EQ(panel.findChild<QDoubleSpinBox*>(QStringLiteral("angle"))->value(), 30.0);

    // Each step comes back off in turn.
    for (int i = 0; i < 4; ++i) s.Trigger("Edit", "editUndo");
    box = cad.GetShapeByID(box->ShapeId);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GradientStyle(), TGradientStyle::gsNone);
    EXPECT_EQ(box->Brush().Style(), TBrushStyle::bsSolid);
    EXPECT_TRUE(box->Info().isEmpty());
    EXPECT_EQ(box->Angle(), 0.0f);
    EXPECT_FALSE(box->Locked());

    // Position and size in the rulers' unit; typed values move and size the
    // shape, one undo step each.
    s.Select(box);
    EXPECT_TRUE(panel.Title().text().startsWith(QStringLiteral("Rectangle")));
    EXPECT_DOUBLE_EQ(panel.Field('x').value(), 1.0);
    EXPECT_DOUBLE_EQ(panel.Field('y').value(), 0.5);
    EXPECT_DOUBLE_EQ(panel.Field('w').value(), 1.0);
    EXPECT_TRUE(panel.Section(QStringLiteral("fill")).isVisibleTo(&panel));
    const int32_t fieldSteps = cad.GetUndoStepsCount();
    panel.Field('x').setValue(2.0);
    panel.Field('h').setValue(2.0);
    EXPECT_EQ(cad.GetShapesLTRB({box}), (TMyRect{192, 48, 288, 240}));
    EXPECT_EQ(cad.GetUndoStepsCount(), fieldSteps + 2);
    s.Trigger("Edit", "editUndo");
    box = cad.GetShapeByID(box->ShapeId);
    EXPECT_EQ(cad.GetShapesLTRB({box}), (TMyRect{192, 48, 288, 144}));

    // Lines have arrow heads to choose and no fill; boxes do not.
    s.Select(line);
    EXPECT_TRUE(panel.Title().text().startsWith(QStringLiteral("Line")));
    EXPECT_FALSE(panel.Section(QStringLiteral("fill")).isVisibleTo(&panel));
    EXPECT_TRUE(panel.Section(QStringLiteral("line")).isVisibleTo(&panel));
    panel.SetArrowStyle(TArrowStyle::ADouble);
    EXPECT_EQ(dynamic_cast<TMyLine*>(cad.GetShapeByID(line->ShapeId))->ArrowStyle(), TArrowStyle::ADouble);

    // Two shapes show only what they share, and a change reaches both.
    cad.SelectAllShapes();
    s.Settle();
    EXPECT_TRUE(panel.Title().text().startsWith(QStringLiteral("2 shapes")));
    EXPECT_FALSE(panel.Section(QStringLiteral("fill")).isVisibleTo(&panel));
    EXPECT_FALSE(panel.Section(QStringLiteral("line")).isVisibleTo(&panel));
    EXPECT_EQ(panel.PenColorButton().Button().text(), QStringLiteral("Mixed"));
    panel.SetPenColor(clTeal);
    for (const auto& shape : cad.MyShapes) EXPECT_EQ(shape->Pen().Color(), clTeal);

    // Dimension lines offer their text and tick style, one step each; other
    // shapes do not.
    auto* ticks = panel.findChild<QComboBox*>(QStringLiteral("tickStyle"));
    ASSERT_NE(ticks, nullptr);
    const int32_t id =
        cad.AddShapeByCode(&cad, TDrawTool::SpRuleLine, QStringLiteral("Gauge"), {{50, 50}, {250, 50}}, 1, 0.0, String());
    ASSERT_GE(id, 0);
    s.Settle();
    EXPECT_TRUE(ticks->isVisibleTo(&panel));
    const int32_t ruleSteps = cad.GetUndoStepsCount();
    panel.SetShowUserInfo(true);
    panel.SetUserInfo(QStringLiteral("Span"));
    panel.SetTickStyle(TTickStyle::tsNone);
    auto* rule = dynamic_cast<TMyRuleLine*>(cad.GetShapeByID(id));
    ASSERT_NE(rule, nullptr);
    EXPECT_TRUE(rule->ShowUserInfo());
    EXPECT_EQ(rule->UserInfo(), QStringLiteral("Span"));
    EXPECT_EQ(rule->TickStyle(), TTickStyle::tsNone);
    EXPECT_EQ(cad.GetUndoStepsCount(), ruleSteps + 3);
    s.Select(box);
    EXPECT_FALSE(ticks->isVisibleTo(&panel));

    // Enter in a field gives the keyboard back to the drawing.
    panel.InfoEdit().setFocus();
    QTest::keyClick(&panel.InfoEdit(), Qt::Key_Return);
    EXPECT_TRUE(cad.hasFocus());

    // The click past a spline's last point ends it, and the status bar says so.
    s.window.SetTool(TDrawTool::SpBLine);
    for (int32_t i = 0; i <= kMaxBLinePoints; ++i) {
        cad.MouseDown(TMouseButton::mbLeft, TShiftState{}, 5 + 3 * i, 300 + i % 2 * 30);
        cad.MouseUp(TMouseButton::mbLeft, TShiftState{}, 5 + 3 * i, 300 + i % 2 * 30);
    }
    auto* spline = dynamic_cast<TMyBLine*>(Last(cad));
    ASSERT_NE(spline, nullptr);
    EXPECT_EQ(spline->GetPointsCount(), kMaxBLinePoints);
    EXPECT_TRUE(s.window.statusBar()->currentMessage().contains(QStringLiteral("at most 100 points")));
}

TEST_F(StudioPanels, EachStyleControlShowsOnItsShapeAndUndoesInOneStep)
{
    studio::TPropertiesPanel& panel = s.window.Properties();
    TMyShape* box = test::LinkedBox(cad, 20, 20, 120, 80);
    const TMyLinkLine* link = test::LinkBoxes(cad, box, 1, test::LinkedBox(cad, 300, 20, 400, 80), 3);
    TBitmap picture(40, 30);
    const int32_t p = AddImageShapeByCode(cad, "P", {300, 200}, &picture);
    const int32_t t = cad.AddShapeByCode(&cad, TDrawTool::SpText, String(), {{20, 200}, {120, 200}, {120, 260}, {20, 260}}, 3, 0, String());
    ASSERT_TRUE(link && cad.GetShapeByID(t) && cad.GetShapeByID(p));
    const auto choose = [&](const char* name, int value) {
        auto* list = panel.findChild<QComboBox*>(QString::fromLatin1(name));
        list->setCurrentIndex(list->findData(value));
        emit list->activated(list->currentIndex());
    };
    const auto tick = [](QWidget& g, const char* text) {
        for (auto* c : g.findChildren<QCheckBox*>()) c->text() == QLatin1String(text) ? c->click() : void();
    };
    const auto pick = [](auto* b, TColor c) { b->AskColor = [c](TColor) { return std::optional(c); }; b->Button().click(); };
    const auto T = [](auto& s) -> TMyText& { return dynamic_cast<TMyText&>(s); };
    const auto P = [](auto& s) -> TMyImage& { return dynamic_cast<TMyImage&>(s); };
    QWidget &fonts = panel.FontGroup(), &texts = panel.TextGroup(), &pictures = panel.PictureGroup();
    const auto ends = panel.findChild<QComboBox*>("gradientStyle")->parentWidget()->findChildren<studio::TColorButton*>();
    QLineEdit* caption = panel.InfoEdit().parentWidget()->findChildren<QLineEdit*>().last();
    const std::tuple<int32_t, std::function<void()>, std::function<bool(TMyShape&)>> rows[] = {
        {box->ShapeId, [&] { choose("penStyle", int(TPenStyle::psDash)); }, [](auto& s) { return s.Pen().Style() == TPenStyle::psDash; }},
        {box->ShapeId, [&] { choose("brushStyle", int(TBrushStyle::bsCross)); }, [](auto& s) { return s.Brush().Style() == TBrushStyle::bsCross; }},
        {box->ShapeId, [&] { pick(ends.at(0), clLime); }, [](auto& s) { return s.ColorBegin() == clLime; }},
        {box->ShapeId, [&] { pick(ends.at(1), clNavy); }, [](auto& s) { return s.ColorEnd() == clNavy; }},
        {box->ShapeId, [&] { caption->setText(QStringLiteral("Go")); emit caption->editingFinished(); }, [](auto& s) { return s.Caption() == QStringLiteral("Go"); }},
        {link->ShapeId, [&] { choose("linkLineDrawStyle", int(TLinkLineDrawStyle::lldsFree)); }, [](auto& s) { return dynamic_cast<TMyLinkLine&>(s).LinkLineDrawStyle() == TLinkLineDrawStyle::lldsFree; }},
        {t, [&] { fonts.findChild<QSpinBox*>()->setValue(31); }, [](auto& s) { return s.Font().Size() == 31; }},
        {t, [&] { pick(fonts.findChild<studio::TColorButton*>(), clTeal); }, [](auto& s) { return s.Font().Color() == clTeal; }},
        {t, [&] { tick(fonts, "Bold"); }, [](auto& s) { return s.Font().Style().Contains(TFontStyle::fsBold); }},
        {t, [&] { tick(fonts, "Italic"); }, [](auto& s) { return s.Font().Style().Contains(TFontStyle::fsItalic); }},
        {t, [&] { tick(fonts, "Underline"); }, [](auto& s) { return s.Font().Style().Contains(TFontStyle::fsUnderline); }},
        {t, [&] { choose("textHAlignment", int(TAlignment::taRightJustify)); }, [&](auto& s) { return T(s).HAlignment() == TAlignment::taRightJustify; }},
        {t, [&] { choose("textVAlignment", int(TVAlignment::vaBottom)); }, [&](auto& s) { return T(s).VAlignment() == TVAlignment::vaBottom; }},
        {t, [&] { texts.findChild<QSpinBox*>()->setValue(7); }, [&](auto& s) { return T(s).CharacterSpace() == 7; }},
        {t, [&] { tick(texts, "Wrap"); }, [&](auto& s) { return T(s).WordWrap(); }},
        {t, [&] { tick(texts, "Border"); }, [&](auto& s) { return T(s).IsBorder(); }},
        {t, [&] { tick(texts, "Solid letters"); }, [&](auto& s) { return !T(s).IsSolid(); }},
        {p, [&] { pictures.findChild<QSpinBox*>(QStringLiteral("pictureContrast"))->setValue(40); }, [&](auto& s) { return P(s).Contrast() == 40; }},
        {p, [&] { tick(pictures, "Grey"); }, [&](auto& s) { return P(s).GrayScale(); }},
        {p, [&] { tick(pictures, "Transparent"); }, [&](auto& s) { return P(s).Transparent(); }},
        {p, [&] { tick(pictures, "Border"); }, [&](auto& s) { return P(s).Border(); }},
    };
    for (const auto& [id, act, shows] : rows) {
        s.Select(cad.GetShapeByID(id));
        const int32_t steps = cad.GetUndoStepsCount();
        EXPECT_FALSE(shows(*cad.GetShapeByID(id))) << id;
        act();
        EXPECT_TRUE(shows(*cad.GetShapeByID(id)) && cad.GetUndoStepsCount() == steps + 1) << id;
        s.Trigger("Edit", "editUndo");
        EXPECT_FALSE(shows(*cad.GetShapeByID(id))) << id;
    }
    panel.findChild<QCheckBox*>(QStringLiteral("crossLine"))->click();
    EXPECT_TRUE(cad.CrossLine());
}

TEST_F(StudioText, ATextBoxIsTypedInPlaceUndoneAndRedone)
{
    s.Trigger("View", "viewZoom100");
    s.Trigger("Tools", "toolText");
    s.Drag({300, 180}, {100, 100}); // from the bottom-right corner
    ASSERT_EQ(cad.GetShapesCount(), 1);
    auto* text = dynamic_cast<TMyText*>(Last(cad));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->ThePoints, (TArrMyPoint{{100, 100}, {300, 100}, {300, 180}, {100, 180}}));

    // The editor lies over the box, in the box's font at the zoom.
    QTextEdit* editor = s.window.InPlace().Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(editor->geometry().topLeft(), QPoint(100, 100));
    EXPECT_EQ(editor->font().pixelSize(), text->Font().Size());
    QTest::keyClicks(editor, QStringLiteral("First line"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, QStringLiteral("Second"));
    EXPECT_EQ(text->Lines().Count(), 0); // taken when the edit ends
    QTest::keyClick(editor, Qt::Key_Escape);
    s.Settle();
    EXPECT_EQ(s.window.InPlace().Editor(), nullptr);
    ASSERT_EQ(text->Lines().Count(), 2);
    EXPECT_EQ(text->Lines()[0], QStringLiteral("First line"));
    EXPECT_EQ(text->Lines()[1], QStringLiteral("Second"));
    cad.Repaint();
    int ink = 0;
    for (int y = 100; y < 180; ++y)
        for (int x = 100; x < 300; ++x) ink += cad.Canvas().Pixel(x, y) != clWhite ? 1 : 0;
    EXPECT_GT(ink, 100);
    EXPECT_TRUE(s.window.isWindowModified());

    // Typing was one step: undo takes the lines, then the box; redo brings both.
    s.Trigger("Edit", "editUndo");
    ASSERT_EQ(cad.GetShapesCount(), 1);
    EXPECT_EQ(dynamic_cast<TMyText*>(Last(cad))->Lines().Count(), 0);
    s.Trigger("Edit", "editUndo");
    EXPECT_EQ(cad.GetShapesCount(), 0);
    s.Trigger("Edit", "editRedo");
    s.Trigger("Edit", "editRedo");
    text = dynamic_cast<TMyText*>(Last(cad));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Lines().Count(), 2);

    // A double click on another shape edits its info text; a click
    // elsewhere ends the edit.
    TMyShape* box = AddBox(cad, 400, 100, 500, 160, clYellow);
    s.Settle();
    QTest::mouseDClick(&cad, Qt::LeftButton, Qt::NoModifier, QPoint(450, 130));
    s.Settle();
    editor = s.window.InPlace().Editor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("Label"));
    QTest::mouseClick(&cad, Qt::LeftButton, Qt::NoModifier, QPoint(600, 400));
    s.Settle();
    EXPECT_EQ(s.window.InPlace().Editor(), nullptr);
    EXPECT_EQ(box->Info(), QStringLiteral("Label"));

    // Pictures come from files and the clipboard, and their settings from
    // the panel.
    QImage png(40, 30, QImage::Format_RGB32);
    png.fill(Qt::red);
    const QString file = s.dir.filePath(QStringLiteral("red.png"));
    ASSERT_TRUE(png.save(file));
    s.window.AskOpenFileName = [file](const QString&, const QString&) { return file; };
    s.Trigger("Insert", "insertPicture");
    auto* picture = dynamic_cast<TMyImage*>(Last(cad));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetWidth(), 40.0f);
    EXPECT_EQ(cad.GetSelectedShape(), picture);
    QGuiApplication::clipboard()->setImage(png.scaled(20, 10));
    s.Trigger("Insert", "insertPastePicture");
    ASSERT_EQ(cad.GetShapesCount(), 4);
    EXPECT_EQ(Last(cad)->GetHeight(), 10.0f);
    s.window.Properties().PictureGroup().SetBrightness(-100);
    EXPECT_EQ(dynamic_cast<TMyImage*>(Last(cad))->Brightness(), -100);
    EXPECT_TRUE(s.messages.Messages().empty());
}
