// Cut, copy, paste and duplicate in Studio, drawings inserted as blocks from
// the File menu, and `mycad block`; the page commands: Page Setup, the vector
// and DXF exports, printing the selection and Copy as Picture.
#include "StudioTestSupport.h"
#include "io/RealReaders.h"

#include "apps/studio/ClipboardCommands.h"
#include "apps/studio/DxfExportDialog.h"
#include "apps/studio/PageCommands.h"
#include "cad/io/DocumentFile.h"
#include "cad/io/DxfExport.h"

#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>

using namespace mycad;
using namespace mycad::appstest;
using StudioClipboard = StudioTest;
using StudioPages = StudioTest;

namespace {

QString SaveDrawing(const QTemporaryDir& dir, const char* name, const std::function<void(TMyCAD&)>& fill)
{
    TMyCAD cad;
    fill(cad);
    const QString path = dir.filePath(QString::fromLatin1(name));
    EXPECT_TRUE(SaveToFile(cad, path));
    return path;
}

} // namespace

TEST_F(StudioClipboard, KeysMenusAndASecondWindow)
{
    TMyShape* box = AddBox(cad, 100, 100, 200, 160, clRed);
    s.Settle();
    EXPECT_FALSE(s.window.Action("editCopy")->isEnabled()) << "nothing selected";
    s.Select(box);

    QTest::keyClick(&cad, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&cad, Qt::Key_V, Qt::ControlModifier);
    s.Settle();
    ASSERT_EQ(cad.GetShapesCount(), 2);
    EXPECT_EQ(cad.GetShapesLTRB({Last(cad)}), (TMyRect{104, 104, 204, 164}));
    EXPECT_TRUE(s.window.IsModified());

    // Duplicate: one step that Undo takes back whole.
    const int32_t steps = cad.GetUndoStepsCount();
    QTest::keyClick(&cad, Qt::Key_D, Qt::ControlModifier);
    s.Settle();
    ASSERT_EQ(cad.GetShapesCount(), 3);
    EXPECT_EQ(cad.GetShapesLTRB({Last(cad)}), (TMyRect{108, 108, 208, 168}));
    EXPECT_EQ(cad.GetUndoStepsCount(), steps + 1);
    s.Trigger("Edit", "editUndo");
    EXPECT_EQ(cad.GetShapesCount(), 2);

    // Cut in this window, paste in another: the shapes themselves travel.
    ASSERT_TRUE(cad.SelectShapeByCode(box->ShapeId, true));
    s.Trigger("Edit", "editCut");
    EXPECT_EQ(cad.GetShapesCount(), 1);
    Studio other;
    other.Trigger("Edit", "editPaste");
    TMyCAD& second = other.window.Cad();
    ASSERT_EQ(second.GetShapesCount(), 1);
    EXPECT_EQ(second.GetShapesLTRB({Last(second)}), (TMyRect{104, 104, 204, 164}));
    EXPECT_EQ(Last(second)->Brush().Color(), clRed);
}

TEST_F(StudioClipboard, InsertDrawingAsBlockAndMycadBlock)
{
    QTemporaryDir dir;
    const QString block = SaveDrawing(dir, "block.zed", [](TMyCAD& cad) {
        cad.NewLayer(QStringLiteral("Frame"), true);
        AddBox(cad, 10, 10, 50, 30, clBlue);
    });
    const QString drawing = SaveDrawing(dir, "drawing.zed", [](TMyCAD& cad) { AddBox(cad, 100, 100, 120, 120, clRed); });
    const QString junk = dir.filePath(QStringLiteral("junk.zed"));
    ASSERT_TRUE(WriteBytes(junk, {'n', 'o'}));

    ASSERT_TRUE(s.window.OpenFile(drawing));
    QString asked = block;
    s.window.AskOpenFileName = [&](const QString&, const QString&) { return asked; };
    studio::AskBlockLayerMode = [](QWidget*) { return std::optional<TBlockLayerMode>(TBlockLayerMode::Import); };
    s.Trigger("File", "fileInsertBlock");
    ASSERT_EQ(cad.GetShapesCount(), 2);
    EXPECT_EQ(cad.GetLayersCount(), 2);
    EXPECT_EQ(cad.GetLayerNameByID(Last(cad)->LayerId), QStringLiteral("BlockFrame"));
    EXPECT_EQ(cad.GetSelectedShape(), Last(cad));
    EXPECT_TRUE(s.window.IsModified());
    EXPECT_EQ(cad.GetUndoStepsCount(), 1);

    // A file that is no drawing: told, nothing inserted.
    asked = junk;
    s.Trigger("File", "fileInsertBlock");
    EXPECT_EQ(cad.GetShapesCount(), 2);
    ASSERT_FALSE(s.messages.Messages().empty());
    EXPECT_TRUE(s.messages.Messages().back().contains(QStringLiteral("not a MyCAD drawing")));
    studio::AskBlockLayerMode = nullptr;

    // The command: merge by default, layers with --import, status 1 for a bad block.
    const QString out = dir.filePath(QStringLiteral("out.zed"));
    for (const bool import : {false, true}) {
        QStringList args{QStringLiteral("block"), drawing, block, out};
        if (import) args << QStringLiteral("--import");
        const TRun run = Mycad(args);
        ASSERT_EQ(run.code, cli::kExitOk) << run.err.toStdString();
        TMyCAD result;
        ASSERT_TRUE(LoadFromFile(result, out));
        ASSERT_EQ(result.GetShapesCount(), 2);
        EXPECT_EQ(result.GetLayersCount(), import ? 2 : 1);
        EXPECT_EQ(result.GetShapeByNo(1)->Brush().Color(), clBlue);
    }
    const QString notWritten = dir.filePath(QStringLiteral("never.zed"));
    const TRun bad = Mycad({QStringLiteral("block"), drawing, junk, notWritten});
    EXPECT_EQ(bad.code, cli::kExitFileError);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("not a MyCAD drawing")));
    EXPECT_FALSE(QFileInfo::exists(notWritten));
    EXPECT_EQ(Mycad({QStringLiteral("block"), drawing, block}).code, cli::kExitUsage);
}

TEST_F(StudioPages, PageSetupExportsPrintingCopyAsPictureAndDxf)
{
    studio::TPageSetupDialog setup(cad);
    setup.findChild<QComboBox*>(QStringLiteral("pageSize"))->setCurrentIndex(int(TPageStyle::A5));
    setup.findChild<QComboBox*>(QStringLiteral("pageOrientation"))->setCurrentIndex(1);
    setup.findChild<QLineEdit*>(QStringLiteral("headText"))->setText(QStringLiteral("Plan B"));
    setup.findChild<QGroupBox*>(QStringLiteral("pageBorder"))->setChecked(true);
    setup.Apply();
    EXPECT_EQ(cad.PageStyle(), TPageStyle::A5);
    EXPECT_EQ(cad.PageWidth(), 210u); // landscape
    EXPECT_EQ(cad.PageHead(), QStringLiteral("Plan B"));
    EXPECT_TRUE(cad.PrintABorder());

    TMyShape* chosen = AddBox(cad, 100, 100, 200, 200, clRed);
    AddBox(cad, 300, 100, 400, 200, clBlue);
    cad.AddWorkingShapes(chosen);

    s.saveAs = s.Path("page.svg");
    s.Trigger("File", "fileExportSvg");
    EXPECT_GT(QFileInfo(s.saveAs).size(), 100);

    // The selection alone on the paper the dialog left in the printer.
    const QString pdf = s.Path("selection.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    ASSERT_TRUE(studio::PrintDrawing(cad, printer, studio::TPrintRange::Selection, {}));
    const QImage page = iotest::RasterisePdf(pdf);
    EXPECT_EQ(page.size(), QSize(794, 1123));
    EXPECT_EQ(page.pixel(150, 150) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(page.pixel(350, 150) & 0xFFFFFF, 0xFFFFFFu);

    s.Trigger("Edit", "editCopyPicture");
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(QStringLiteral("image/x-wmf")));
    EXPECT_TRUE(data->hasFormat(QStringLiteral("image/svg+xml")));
    EXPECT_TRUE(data->hasImage());
    // The selection at the window's zoom.
    const int side = RoundToInt(100 * cad.Zoom());
    EXPECT_EQ(qvariant_cast<QImage>(data->imageData()).size(), QSize(side, side));

    // DXF: a name without extension gets ".dxf"; text and outlines both write
    // the export's file; a cancelled choice writes nothing.
    AddTextBox(cad, 10, 80, 110, 100, QStringLiteral("Valve"));
    int asked = 0;
    std::optional<bool> choice;
    const auto previous = studio::AskDxfTextOutlines;
    studio::AskDxfTextOutlines = [&](QWidget*) {
        ++asked;
        return choice;
    };
    s.saveAs = s.Path("plan");
    const QString written = s.saveAs + QStringLiteral(".dxf");
    for (const std::optional<bool> c : {std::optional<bool>(false), std::optional<bool>(true), std::optional<bool>()}) {
        QFile::remove(written);
        choice = c;
        s.Trigger("File", "fileExportDxf");
        const std::vector<uint8_t> bytes = ReadBytes(written);
        const std::string text(bytes.begin(), bytes.end());
        EXPECT_EQ(text, c ? DxfDocument(cad, *c) : std::string());
        EXPECT_EQ(text.find("Valve") != std::string::npos, c == false);
    }
    EXPECT_EQ(asked, 3);
    // No file chosen: nothing is asked.
    s.saveAs.clear();
    s.Trigger("File", "fileExportDxf");
    EXPECT_EQ(asked, 3);
    EXPECT_TRUE(s.messages.Messages().empty());

    EXPECT_FALSE(studio::ExportDxf(s.window, s.Path("no/dir/x.dxf"), false));
    ASSERT_EQ(s.messages.Messages().size(), 1u);
    EXPECT_TRUE(s.messages.Messages()[0].contains(QStringLiteral("could not be written")));
    studio::AskDxfTextOutlines = previous;
}
