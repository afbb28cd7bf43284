// Cut, copy, paste and duplicate in Studio, drawings inserted as blocks from
// the File menu, and `mycad block`.
#include "StudioTestSupport.h"

#include "apps/studio/ClipboardCommands.h"
#include "cad/io/DocumentFile.h"

using namespace mycad;
using namespace mycad::appstest;
using StudioClipboard = StudioTest;

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
