// The bytes the writer produces and the encodings the reader takes apart;
// documents of every layout, written by an independent encoder: the
// encoded-* seeds of fuzz/corpus/load_document, with the values the encoder
// meant for each field in tests/io/data/encoded-documents.json (see the
// README there). Each reads back with the fields its layout stores, and a
// field it does not store keeps the value a new shape has.
#include "DocumentEncoder.h"
#include "IoTestSupport.h"
#include "support/ShapeFields.h"

#include "cad/geometry/StreamEncoding.h"
#include "cad/io/ShapeRecords.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

using namespace mycad;
using namespace iotest;

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
        int32_t width = 0;
        int32_t height = 0;
        std::memcpy(&width, bytes.data() + 440, 4);
        std::memcpy(&height, bytes.data() + 444, 4);
        EXPECT_EQ(width, c.StoredWidth);
        EXPECT_EQ(height, c.StoredHeight);

        TMyCAD other;
        other.SetZoom(3.0);
        ASSERT_TRUE(LoadBytes(other, bytes));
        EXPECT_EQ(other.Zoom(), 1.0);
        EXPECT_EQ(other.Width(), c.StoredWidth);
        EXPECT_EQ(other.Height(), c.StoredHeight);
    }
}

TEST(DocumentBytes, StoredCountsAreTakenModulo256)
{
    // A count of 300 is followed by 44 characters, and the reader takes
    // exactly those: the fields after it still line up.
    docenc::Document doc;
    docenc::Shape rect;
    rect.Points = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    rect.Caption = std::u16string(44, u'q');
    doc.Shapes = {rect};
    std::vector<uint8_t> bytes = docenc::EncodeDocument(doc);
    docenc::Encoder caption;
    caption.Counted(rect.Caption, 300);
    // Patch the stored count of the caption: 300 instead of 44.
    docenc::Encoder plain;
    plain.Counted(rect.Caption);
    const auto at = std::search(bytes.begin(), bytes.end(), plain.Bytes.begin(), plain.Bytes.end());
    ASSERT_NE(at, bytes.end());
    std::copy(caption.Bytes.begin(), caption.Bytes.end(), at);

    TMyCAD cad;
    ASSERT_TRUE(LoadBytes(cad, bytes));
    ASSERT_EQ(cad.GetShapesCount(), 1);
    EXPECT_EQ(cad.MyShapes[0]->Caption(), Q(rect.Caption));
    EXPECT_EQ(cad.MyShapes[0]->Font().Name(), QStringLiteral("DejaVu Sans"));
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

    // And they are written back as 1 and 0.
    const std::vector<uint8_t> bytes = SavedBytes(cad);
    docenc::Encoder rows;
    for (const auto& [name, id, visible] : std::vector<docenc::Layer>{{u"two", 2, 0}, {u"minus", 3, 0}}) {
        rows.Counted(name);
        rows.I32(id);
        rows.I32(visible);
    }
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), rows.Bytes.begin(), rows.Bytes.end()), bytes.end());
}

namespace {

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
