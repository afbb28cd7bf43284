// Documents: saving and loading give back the same drawing and the same
// bytes; files on disk are recognised, only what is a document loads, and a
// failed save never costs the file that was there. Drawings inserted as
// blocks: their layers, size and undo step, and the attachments a load would
// mend. Then the bytes the writer produces and the encodings the reader
// takes apart; documents of every layout, written by an independent encoder:
// the encoded-* seeds of fuzz/corpus/load_document, with the values the
// encoder meant for each field in tests/io/data/encoded-documents.json (see
// the README there). Each reads back with the fields its layout stores, and
// a field it does not store keeps the value a new shape has.
#include "DocumentEncoder.h"
#include "DocumentSamples.h"

#include "cad/canvas/UndoList.h"
#include "cad/geometry/StreamEncoding.h"
#include "cad/io/BlockFile.h"
#include "cad/io/ShapeRecords.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

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

/// The control's size for a page of the style.
std::pair<int32_t, int32_t> PageSize(TPageStyle style)
{
    TMyCAD page;
    page.SetPageStyle(style);
    return {page.Width(), page.Height()};
}

// Three layers: a box on the first, one on the second, and two grouped on the third.
std::vector<uint8_t> ThreeLayerBlock()
{
    TMyCAD block;
    block.SetPageStyle(TPageStyle::A5);
    block.SetColorOfBackGround(0x00FF00);
    block.SetTag(77);
    block.UserData().AddKeyandValue(QStringLiteral("title"), QStringLiteral("detail"));
    block.NewLayer(QStringLiteral("Walls"), true);
    block.NewLayer(QStringLiteral("Doors"), true);
    for (int32_t n = 0; n < 4; ++n) {
        block.SetCurrentLayerId(block.GetLayerIdByNo(std::min(n, 2)));
        SetBox(*AddShape<TMyRectangle>(block, "TMyRectangle"), 10.0f * n, 0, 10.0f * n + 8, 8);
    }
    EXPECT_GE(block.GroupShapes({block.GetShapeByNo(2), block.GetShapeByNo(3)}, false), 0);
    return SavedBytes(block);
}

const QString kSeeds = QStringLiteral(MYCAD_SOURCE_DIR "/fuzz/corpus/load_document/");

QJsonObject ExpectedValues()
{
    QFile f(QStringLiteral(MYCAD_SOURCE_DIR "/tests/io/data/encoded-documents.json"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QJsonDocument::fromJson(f.readAll()).object();
}

void ExpectShape(const TMyShape& shape, const QJsonObject& expected)
{
    SCOPED_TRACE(shape.Name().toStdString());
    for (const QString& key : expected.keys()) EXPECT_TRUE(StoredFields().count(key)) << "no field " << key.toStdString();
    TMyCAD fresh;
    const std::unique_ptr<TMyShape> newShape = fresh.CreateShapeByName(shape.ClassName());
    ASSERT_TRUE(newShape);
    for (const auto& [name, get] : StoredFields()) {
        const QJsonValue want = expected.contains(name) ? expected[name] : get(*newShape);
        EXPECT_EQ(Text(get(shape)), Text(want)) << name.toStdString() << (expected.contains(name) ? "" : " (not stored)");
    }
}

} // namespace

TEST_F(DocumentFiles, SavedFilesLoadThroughTheFileStreamItself)
{
    TMyCAD cad;
    BuildSampleDrawing(cad, 11);
    cad.Global_Changed = true;
    const String name = Path("drawing.zd");
    ASSERT_TRUE(SaveToFile(cad, name));
    EXPECT_FALSE(cad.Global_Changed);
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

TEST_F(DocumentFiles, SavingOverAFileKeepsItsPermissionsAndLinksAndAFailedSaveKeepsTheFile)
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
    const std::vector<uint8_t> saved = FileBytes(target);
    EXPECT_EQ(saved, SavedBytes(cad));
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // A shape whose class has no record makes the writer fail midway: the
    // file stays as it was and no temporary file is left beside it.
    std::unique_ptr<TMyShape> odd = std::make_unique<TUnstorableShape>(&cad);
    SetBox(*odd, 0, 0, 5, 5);
    cad.MyShapes.push_back(std::move(odd));
    cad.ShapeListChanged();
    cad.Global_Changed = true;
    TMemoryStream partial;
    EXPECT_FALSE(SaveToStream(cad, partial));
    EXPECT_GT(partial.Size(), 436);
    EXPECT_FALSE(SaveToFile(cad, link));
    EXPECT_TRUE(cad.Global_Changed);
    EXPECT_EQ(FileBytes(target), saved);
    EXPECT_EQ(Entries(), (QStringList{QStringLiteral("link.zd"), QStringLiteral("target.zd")}));

    // A folder that does not exist.
    EXPECT_FALSE(SaveToFile(cad, Path("no/such/folder.zd")));
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

TEST(Blocks, ImportAndMergeArrangeLayersSizeAndUndo)
{
    QTemporaryDir dir;
    const String path = dir.filePath(QStringLiteral("block.zeda"));
    WriteBytes(path, ThreeLayerBlock());

    TMyCAD cad;
    cad.SetZoom(2.0);
    SetBox(*AddShape<TMyRectangle>(cad, "TMyRectangle"), 100, 100, 120, 120);
    cad.PushtoUndoRedoShapeList({cad.GetShapeByNo(0)}, ACT_CHANGE);
    cad.UserData().AddKeyandValue(QStringLiteral("title"), QStringLiteral("mine"));
    cad.SetPageStyle(TPageStyle::A3); // larger than the block's A5

    ASSERT_TRUE(AddBlockfromZEDAFile(cad, path, TBlockLayerMode::Import));
    ASSERT_EQ(cad.GetLayersCount(), 3);
    EXPECT_EQ(cad.MyLayers[1].LayerName, QStringLiteral("BlockWalls"));
    EXPECT_EQ(cad.MyLayers[2].LayerName, QStringLiteral("BlockDoors"));
    ASSERT_EQ(cad.GetShapesCount(), 6);
    // In memory order and in place; each on the canvas layer at its block layer's position.
    for (int32_t n = 0; n < 4; ++n) {
        EXPECT_EQ(cad.GetShapeByNo(1 + n)->ThePoints[0], (TMyPoint{10.0f * n, 0}));
        EXPECT_EQ(cad.GetShapeByNo(1 + n)->LayerId, cad.GetLayerIdByNo(std::min(n, 2)));
        EXPECT_EQ(cad.GetShapeByNo(1 + n)->Name(), QStringLiteral("Shape") + QString::number(1 + n));
    }
    EXPECT_EQ(cad.GetShapeByNo(5)->ChildShapesNo, (TMyShapeNo{3, 4}));
    // Exactly one step, the block's top-level shapes, which are selected.
    ASSERT_EQ(cad.GetUndoStepsCount(), 1);
    EXPECT_EQ(cad.UndoRedoShapes.back().SavedAction, ACT_ADD);
    EXPECT_EQ(cad.WorkingShapes, (TArrMyShapeRef{cad.GetShapeByNo(1), cad.GetShapeByNo(2), cad.GetShapeByNo(5)}));
    // The block's settings, the control only growing, its new user data keys.
    EXPECT_EQ(cad.Zoom(), 1.0);
    EXPECT_EQ(std::pair(cad.Width(), cad.Height()), PageSize(TPageStyle::A3));
    EXPECT_EQ(cad.ColorOfBackGround(), TColor(0x00FF00));
    EXPECT_EQ(cad.Tag(), 77);
    EXPECT_EQ(cad.UserData().GetValueByKey(QStringLiteral("title")), QStringLiteral("mine"));
    EXPECT_TRUE(cad.Global_Changed);
    cad.PopFromUndoRedoShapeList();
    EXPECT_EQ(cad.GetShapesCount(), 1);

    // Merge: everything on the current layer; a smaller canvas grows.
    TMyCAD small;
    small.SetWidth(100);
    small.SetHeight(100);
    ASSERT_TRUE(AddBlockfromZEDAFile(small, path, TBlockLayerMode::Merge));
    EXPECT_EQ(small.GetLayersCount(), 1);
    for (const auto& s : small.MyShapes) EXPECT_EQ(s->LayerId, small.CurrentLayerId());
    EXPECT_EQ(std::pair(small.Width(), small.Height()), PageSize(TPageStyle::A5));
}

TEST(Blocks, AttachmentsABlockGetsWrongAreMendedAsALoadMendsThem)
{
    // A box that lists a plain line as an attached connector (an old file's
    // way, or a hostile one's): the load of a whole drawing drops the entry,
    // and a block must too, or the pasted drawing would not load back as it
    // was saved.
    TMyCAD source;
    TMyShape* box = AddShape<TMyRectangle>(source, "TMyRectangle");
    SetBox(*box, 0, 0, 20, 20);
    TMyShape* line = source.CreateAddShapeByName(QStringLiteral("TMyLine"));
    line->ThePoints = {{30, 0}, {60, 0}};
    box->LinkShapesNo = {1};
    const std::vector<uint8_t> block = SavedBytes(source);

    TMyCAD cad;
    SetBox(*AddShape<TMyRectangle>(cad, "TMyRectangle"), 100, 100, 120, 120);
    TMemoryStream in = StreamOf(block);
    ASSERT_TRUE(LoadFromStreamforBlock(cad, in, TBlockLayerMode::Merge));
    cad.PasteforBlock();
    ASSERT_EQ(cad.GetShapesCount(), 3);
    EXPECT_TRUE(cad.GetShapeByNo(1)->LinkShapesNo.empty());
    const std::vector<uint8_t> saved = SavedBytes(cad);
    TMyCAD again;
    ASSERT_TRUE(LoadBytes(again, saved));
    EXPECT_EQ(SavedBytes(again), saved);
}

TEST(DocumentBytes, SizeIsStoredRoundedAtZoomOneAndLoadsAtZoomOne)
{
    // Halves round to even; other fractions to the nearest. The size loaded
    // depends on the stored size alone, not on the canvas's own.
    const struct {
        double Zoom;
        int32_t Width, Height, StoredWidth, StoredHeight;
    } cases[] = {
        {2.0, 1000, 701, 500, 350},
        {2.0, 1003, 703, 502, 352},
        {4.0, 1003, 1001, 251, 250},
        // 793 pixels is A4's width in millimetres; with the old height of an
        // A4 page it would snap the control to A4 before the new height arrives.
        {1.0, 793, 600, 793, 600},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Width << " x " << c.Height << " at zoom " << c.Zoom);
        TMyCAD cad;
        cad.SetZoom(c.Zoom);
        cad.SetHeight(c.Height);
        cad.SetWidth(c.Width);
        const std::vector<uint8_t> bytes = SavedBytes(cad);
        TMemoryStream stored = StreamOf(bytes);
        stored.SetPosition(440);
        EXPECT_EQ(ReadInt32(stored), c.StoredWidth);
        EXPECT_EQ(ReadInt32(stored), c.StoredHeight);

        TMyCAD other;
        other.SetZoom(3.0);
        ASSERT_TRUE(LoadBytes(other, bytes));
        EXPECT_EQ(other.Zoom(), 1.0);
        EXPECT_EQ(other.Width(), c.StoredWidth);
        EXPECT_EQ(other.Height(), c.StoredHeight);
    }
}

TEST(DocumentBytes, LayerIsVisibleOnlyWhenStoredAsExactlyOne)
{
    docenc::Document doc;
    doc.Layers = {{u"one", 0, 1}, {u"zero", 1, 0}, {u"two", 2, 2}, {u"minus", 3, -1}, {u"high", 4, 0x101}};
    TMyCAD cad;
    ASSERT_TRUE(LoadBytes(cad, docenc::EncodeDocument(doc)));
    ASSERT_EQ(cad.GetLayersCount(), 5);
    EXPECT_TRUE(cad.MyLayers[0].Visible);
    for (int i = 1; i < 5; ++i) EXPECT_FALSE(cad.MyLayers[static_cast<size_t>(i)].Visible) << i;
}

TEST(DocumentVersions, EverySeedLoadsAndEachEncodedOneReadsBackTheFieldsItsLayoutStores)
{
    const QJsonObject table = ExpectedValues();
    ASSERT_GE(table.size(), 15);
    const TMyCAD fresh;
    for (const QString& file : table.keys()) {
        SCOPED_TRACE(file.toStdString());
        const QJsonObject doc = table[file].toObject();
        struct OldFileMode {
            explicit OldFileMode(bool on) { ReadOldZEDAFile = on; }
            ~OldFileMode() { ReadOldZEDAFile = false; }
        } mode(doc["EightBit"].toBool());
        TMyCAD cad;
        ASSERT_TRUE(LoadFromFile(cad, kSeeds + file));

        EXPECT_EQ(cad.DiskFileVersion(), doc["Version"].toString());
        for (const auto& [name, get] : DocumentFields()) {
            EXPECT_EQ(Text(get(cad)), Text(doc.contains(name) ? doc[name] : get(fresh))) << name.toStdString();
        }
        EXPECT_EQ(cad.NextLayerId, doc["NextLayerId"].toInt());
        EXPECT_EQ(cad.NextShapeId, doc["NextShapeId"].toInt());
        EXPECT_EQ(cad.Zoom(), 1.0);

        const QJsonArray shapes = doc["Shapes"].toArray();
        ASSERT_EQ(cad.GetShapesCount(), shapes.size());
        for (int32_t i = 0; i < cad.GetShapesCount(); ++i) ExpectShape(*cad.GetShapeByNo(i), shapes[i].toObject());
        // Gradients are not stored but rebuilt from their colours.
        EXPECT_FALSE(cad.GetShapeByNo(0)->GradBmp.Empty());
    }
    // The fuzzer starts from every committed seed, the others too; a seed
    // the readers refuse would start it from nothing.
    for (const QString& file : QDir(kSeeds).entryList(QDir::Files)) {
        if (table.contains(file)) continue;
        TMyCAD cad;
        EXPECT_TRUE(LoadFromFile(cad, kSeeds + file)) << file.toStdString();
        EXPECT_EQ(cad.GetShapesCount(), file == QStringLiteral("saved-drawing") ? 2 : 0) << file.toStdString();
    }
}

TEST(DocumentVersionRules, TenByteValuesAreExtendedPrecisionFloats)
{
    auto decode = [](double v) {
        docenc::Encoder e;
        e.Ext(v);
        return DecodeExtended(e.Bytes.data());
    };
    for (double v : {0.0, 1.0, -1.0, 0.1, -2.5, 1e-300, 123456.789, 3.0e38, -7.25e-20}) EXPECT_EQ(decode(v), v) << v;
    // Hand-made: 1.0 is the integer bit alone with the bias as exponent.
    const uint8_t one[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
    EXPECT_EQ(DecodeExtended(one), 1.0);
    const uint8_t negativeInfinity[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF};
    EXPECT_EQ(DecodeExtended(negativeInfinity), -HUGE_VAL);
    const uint8_t nan[10] = {1, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F};
    EXPECT_TRUE(std::isnan(DecodeExtended(nan)));
    // The smallest denormal is 2^-16445, far below any double: zero.
    const uint8_t tiny[10] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(DecodeExtended(tiny), 0.0);
}
