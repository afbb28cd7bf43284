// Documents: saving and loading give back the same drawing and the same
// bytes; files on disk are recognised, only what is a document loads, and a
// failed save never costs the file that was there.
#include "DocumentSamples.h"

#include "cad/geometry/StreamEncoding.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

using namespace mycad;
using namespace iotest;

namespace {

/// A rectangle that reports a class no record is registered for.
class TUnstorableShape : public TMyRectangle {
public:
    using TMyRectangle::TMyRectangle;
    String ClassName() const override { return QStringLiteral("TMyUnstorable"); }
};

class DocumentFiles : public ::testing::Test {
protected:
    String Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QStringList Entries() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(DocumentFiles, SavedFilesLoadThroughTheFileStreamItself)
{
    TMyCAD cad;
    BuildSampleDrawing(cad, 11);
    cad.Global_Changed = true;
    const String name = Path("drawing.zd");
    ASSERT_TRUE(SaveToFile(cad, name));
    EXPECT_FALSE(cad.Global_Changed);
    EXPECT_EQ(FileBytes(name), SavedBytes(cad));
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("drawing.zd")});
    // Other streams than memory streams take the general road, field by field.
    {
        TFileStream file(name, TFileMode::fmOpenRead);
        file.SetPosition(100); // loading starts at the beginning all the same
        TMyCAD streamed;
        ASSERT_TRUE(LoadFromStream(streamed, file));
        ExpectSameDocument(cad, streamed);
    }
    std::vector<uint8_t> bytes = FileBytes(name);
    for (size_t cut : {bytes.size() - 1, bytes.size() / 2, size_t(500)}) {
        WriteBytes(Path("part.zd"), std::vector<uint8_t>(bytes.begin(), bytes.begin() + std::ptrdiff_t(cut)));
        TFileStream file(Path("part.zd"), TFileMode::fmOpenRead);
        const CanvasSnapshot before(cad);
        EXPECT_FALSE(LoadFromStream(cad, file)) << cut;
        EXPECT_TRUE(CanvasSnapshot(cad) == before);
    }
}

TEST_F(DocumentFiles, AFailedSaveLeavesTheExistingFileAndNoTemporaryFile)
{
    TMyCAD cad;
    BuildSampleDrawing(cad, 14);
    const String name = Path("keep.zd");
    ASSERT_TRUE(SaveToFile(cad, name));
    const std::vector<uint8_t> saved = FileBytes(name);

    // A shape whose class has no record makes the writer fail midway.
    std::unique_ptr<TMyShape> odd = std::make_unique<TUnstorableShape>(&cad);
    SetBox(*odd, 0, 0, 5, 5);
    cad.MyShapes.push_back(std::move(odd));
    cad.ShapeListChanged();
    cad.Global_Changed = true;
    TMemoryStream partial;
    EXPECT_FALSE(SaveToStream(cad, partial));
    EXPECT_GT(partial.Size(), 436);
    EXPECT_FALSE(SaveToFile(cad, name));
    EXPECT_TRUE(cad.Global_Changed);
    EXPECT_EQ(FileBytes(name), saved);
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("keep.zd")});

    // A folder that does not exist.
    EXPECT_FALSE(SaveToFile(cad, Path("no/such/folder.zd")));
}

TEST_F(DocumentFiles, SavingOverAFileKeepsItsPermissionsAndLinks)
{
    TMyCAD cad;
    const String target = Path("target.zd");
    ASSERT_TRUE(SaveToFile(cad, target));
    ASSERT_EQ(chmod(QFile::encodeName(target).constData(), 0640), 0);
    const String link = Path("link.zd");
    ASSERT_TRUE(QFile::link(target, link));

    BuildSampleDrawing(cad, 15);
    ASSERT_TRUE(SaveToFile(cad, link));
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);
    EXPECT_EQ(FileBytes(target), SavedBytes(cad));
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Entries().size(), 2);
}

TEST(DocumentRoundTrip, EveryFieldOfEveryClassComesBackAndSavesToTheSameBytes)
{
    for (uint32_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        TMyCAD original;
        BuildSampleDrawing(original, seed);
        const std::vector<uint8_t> bytes = SavedBytes(original);

        TMyCAD loaded;
        ASSERT_TRUE(LoadBytes(loaded, bytes));
        ExpectSameDocument(original, loaded);
        EXPECT_EQ(loaded.NextShapeId, original.MyShapes.back()->ShapeId + 1);
        EXPECT_EQ(loaded.NextLayerId, 3);
        EXPECT_EQ(loaded.DiskFileVersion(), QStringLiteral("XP.j"));
        EXPECT_FALSE(loaded.IsLoading());
        for (int32_t i = 0; i < loaded.GetShapesCount(); ++i) {
            EXPECT_EQ(loaded.MyShapes[size_t(i)]->Owner(), &loaded);
            EXPECT_EQ(loaded.GetShapeByID(loaded.MyShapes[size_t(i)]->ShapeId), loaded.MyShapes[size_t(i)].get());
        }
        EXPECT_EQ(SavedBytes(loaded), bytes);
    }
}

TEST(DocumentRoundTrip, LoadingReplacesTheWholeDocumentAndItsHousekeeping)
{
    TMyCAD source;
    BuildSampleDrawing(source, 7, 4);
    const std::vector<uint8_t> bytes = SavedBytes(source);

    TMyCAD cad;
    BuildSampleDrawing(cad, 8, 9);
    cad.NewLayer(QStringLiteral("Extra"), true);
    cad.SetZoom(2.5);
    cad.WorkingShapes = {cad.MyShapes[0].get()};
    cad.PushtoUndoRedoShapeList({cad.MyShapes[1].get()}, QStringLiteral("ACT_CHANGE"));
    cad.MemShapes.push_back(cad.CreateShapeByName(QStringLiteral("TMyLine")));
    cad.UserData().ClearAll();
    cad.UserData().AddKeyandValue(QStringLiteral("author"), QStringLiteral("kept"));
    cad.UserData().AddKeyandValue(QStringLiteral("mine"), QStringLiteral("1"));
    ASSERT_GT(cad.GetUndoStepsCount(), 0);

    ASSERT_TRUE(LoadBytes(cad, bytes));
    EXPECT_EQ(cad.GetShapesCount(), 4);
    EXPECT_EQ(cad.GetLayersCount(), 3);
    EXPECT_EQ(cad.Zoom(), 1.0);
    EXPECT_TRUE(cad.WorkingShapes.empty());
    EXPECT_EQ(cad.GetUndoStepsCount(), 0);
    EXPECT_EQ(cad.GetMemShapesCount(), 0);
    // The document's pairs join those the canvas has; a key it has keeps its value.
    const TArrUserDataRec expected{{QStringLiteral("author"), QStringLiteral("kept")},
                                   {QStringLiteral("mine"), QStringLiteral("1")},
                                   {QStringLiteral("empty"), String()}};
    EXPECT_EQ(cad.UserData().UserDataRecord(), expected);
    cad.UserData().Assign(source.UserData());
    ExpectSameDocument(source, cad);
}

