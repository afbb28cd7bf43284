// Documents of every layout, written by an independent encoder: the
// encoded-* seeds of fuzz/corpus/load_document, with the values the encoder
// meant for each field in tests/io/data/encoded-documents.json (see the
// README there). Each reads back with the fields its layout stores, and a
// field it does not store keeps the value a new shape has.
#include "DocumentEncoder.h"
#include "ShapeFields.h"

#include "cad/geometry/StreamEncoding.h"
#include "cad/io/ShapeRecords.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

using namespace mycad;
using namespace iotest;

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

TEST(DocumentVersions, EveryEncodedSeedReadsBackWithTheFieldsItsLayoutStores)
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
}

TEST(DocumentVersionRules, ARecordReadWithAnOlderTagStopsWhereThatLayoutEnds)
{
    TMyCAD cad;
    std::unique_ptr<TMyShape> rect = cad.CreateShapeByName(QStringLiteral("TMyRectangle"));
    SetBox(*rect, 1, 2, 3, 4);
    TMemoryStream s;
    ASSERT_TRUE(SaveShapeToStream(*rect, s));
    // Older layouts end before the newest five bytes, the log fields, the
    // multi-info count and alignment, the flips and visibility, and the user
    // data count, in turn.
    const std::pair<const char*, int64_t> layouts[] = {
        {"XP.j", 0}, {"XP.i", 5}, {"XP.h", 5}, {"XP.e", 15}, {"XP.a", 20}, {"XP.8", 23}, {"XP.6", 27},
    };
    for (const auto& [tag, shorter] : layouts) {
        std::unique_ptr<TMyShape> read = cad.CreateShapeByName(QStringLiteral("TMyRectangle"));
        s.SetPosition(0);
        ASSERT_TRUE(LoadShapeFromStream(*read, s, QString::fromLatin1(tag))) << tag;
        EXPECT_EQ(s.Position(), s.Size() - shorter) << tag;
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
