// Documents of every layout, written by an independent encoder: the
// encoded-* seeds of fuzz/corpus/load_document, with the values the encoder
// meant for each field in tests/io/data/encoded-documents.json (see the
// README there). Each reads back with the fields its layout stores, and a
// field it does not store keeps the value a new shape has.
#include "DocumentEncoder.h"
#include "IoTestSupport.h"

#include "cad/geometry/StreamEncoding.h"
#include "cad/io/ShapeRecords.h"
#include "cad/shapes/Ellipse.h"
#include "cad/shapes/Image.h"
#include "cad/shapes/RuleLine.h"
#include "cad/shapes/Text.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <functional>

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

std::string Text(const QJsonValue& v) { return QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact).toStdString(); }

QJsonArray Json(const TMyPoint& p) { return {p.X, p.Y}; }

QJsonArray Json(const TArrMyPoint& points)
{
    QJsonArray a;
    for (const TMyPoint& p : points) a.append(Json(p));
    return a;
}

QJsonArray Json(const TUserData& data)
{
    QJsonArray a;
    for (const TUserDataRec& r : data.UserDataRecord()) a.append(QJsonArray{r.Key, r.Value});
    return a;
}

QJsonArray Json(const TStringList& lines)
{
    QJsonArray a;
    for (int32_t i = 0; i < lines.Count(); ++i) a.append(lines[i]);
    return a;
}

template <typename E>
int Int(E v)
{
    return static_cast<int>(v);
}

/// A field of a class's own: null for shapes of other classes.
template <typename T>
std::function<QJsonValue(const TMyShape&)> Own(std::function<QJsonValue(const T&)> get)
{
    return [get](const TMyShape& s) { return dynamic_cast<const T*>(&s) ? get(dynamic_cast<const T&>(s)) : QJsonValue(); };
}

/// Every stored field by the name the table gives it.
const std::map<QString, std::function<QJsonValue(const TMyShape&)>>& Fields()
{
    using S = const TMyShape&;
    static const std::map<QString, std::function<QJsonValue(const TMyShape&)>> fields = {
        {"Class", [](S s) { return s.ClassName(); }},
        {"Name", [](S s) { return s.Name(); }},
        {"Id", [](S s) { return s.ShapeId; }},
        {"Layer", [](S s) { return s.LayerId; }},
        {"Parent", [](S s) { return s.ParentShapeNo; }},
        {"Children", [](S s) {
             QJsonArray a;
             for (uint32_t n : s.ChildShapesNo) a.append(static_cast<qint64>(n));
             return a;
         }},
        {"Points", [](S s) { return Json(s.ThePoints); }},
        {"LinkPoints", [](S s) { return Json(s.LinkPoints); }},
        {"TextOut", [](S s) { return Json(s.TextOutPoint); }},
        {"Tag", [](S s) { return s.Tag(); }},
        {"Angle", [](S s) { return s.Angle(); }},
        {"BrushColor", [](S s) { return Int(s.Brush().Color()); }},
        {"BrushStyle", [](S s) { return Int(s.Brush().Style()); }},
        {"Caption", [](S s) { return s.Caption(); }},
        {"ColorBegin", [](S s) { return Int(s.ColorBegin()); }},
        {"ColorEnd", [](S s) { return Int(s.ColorEnd()); }},
        {"FontName", [](S s) { return s.Font().Name(); }},
        {"Charset", [](S s) { return s.Font().Charset(); }},
        {"FontColor", [](S s) { return Int(s.Font().Color()); }},
        {"FontSize", [](S s) { return s.Font().Size(); }},
        {"Pitch", [](S s) { return Int(s.Font().Pitch()); }},
        {"FontStyle", [](S s) { return Int(s.Font().Style().Bits()); }},
        {"Gradient", [](S s) { return Int(s.GradientStyle()); }},
        {"Info", [](S s) { return s.Info(); }},
        {"PenColor", [](S s) { return Int(s.Pen().Color()); }},
        {"PenMode", [](S s) { return Int(s.Pen().Mode()); }},
        {"PenStyle", [](S s) { return Int(s.Pen().Style()); }},
        {"PenWidth", [](S s) { return s.Pen().Width(); }},
        {"UserData", [](S s) { return Json(s.UserData()); }},
        {"FlipHorz", [](S s) { return s.IsFlipHorz(); }},
        {"FlipVert", [](S s) { return s.IsFlipVert(); }},
        {"Visible", [](S s) { return s.Visible(); }},
        {"MultiInfo", [](S s) { return Json(s.MultiInfo()); }},
        {"MultiInfoAlignment", [](S s) { return Int(s.MultiInfoAlignment()); }},
        {"LogHeight", [](S s) { return s.LogHeight(); }},
        {"LogUse", [](S s) { return s.LogUse(); }},
        {"LogWidth", [](S s) { return s.LogWidth(); }},
        {"Locked", [](S s) { return s.Locked(); }},
        {"EndCap", [](S s) { return Int(s.PenStyleEndCapType()); }},
        {"Join", [](S s) { return Int(s.PenStyleJoinType()); }},
        {"HotShow", [](S s) { return s.HotShow(); }},
        {"ResizeEnable", [](S s) { return s.ResizeEnable(); }},
        {"RotateEnable", [](S s) { return s.RotateEnable(); }},
        {"ArrowAngle", Own<TMyLine>([](const TMyLine& l) { return l.ArrowAngle(); })},
        {"ArrowLength", Own<TMyLine>([](const TMyLine& l) { return l.ArrowLength(); })},
        {"ArrowOffset", Own<TMyLine>([](const TMyLine& l) { return l.ArrowOffset(); })},
        {"ArrowStyle", Own<TMyLine>([](const TMyLine& l) { return Int(l.ArrowStyle()); })},
        {"ShowUserInfo", Own<TMyRuleLine>([](const TMyRuleLine& r) { return r.ShowUserInfo(); })},
        {"TickStyle", Own<TMyRuleLine>([](const TMyRuleLine& r) { return Int(r.TickStyle()); })},
        {"UserInfo", Own<TMyRuleLine>([](const TMyRuleLine& r) { return r.UserInfo(); })},
        {"ArcMode", Own<TMyElliArc>([](const TMyElliArc& a) { return Int(a.ArcMode()); })},
        {"ArcStyle", Own<TMyElliArc>([](const TMyElliArc& a) { return Int(a.ArcStyle()); })},
        {"Border", Own<TMyText>([](const TMyText& t) { return t.IsBorder(); })},
        {"Solid", Own<TMyText>([](const TMyText& t) { return t.IsSolid(); })},
        {"Lines", Own<TMyText>([](const TMyText& t) { return Json(t.Lines()); })},
        {"VAlignment", Own<TMyText>([](const TMyText& t) { return Int(t.VAlignment()); })},
        {"HAlignment", Own<TMyText>([](const TMyText& t) { return Int(t.HAlignment()); })},
        {"WordWrap", Own<TMyText>([](const TMyText& t) { return t.WordWrap(); })},
        {"PictureWidth", Own<TMyImage>([](const TMyImage& i) { return i.Bitmap().Width(); })},
        {"Brightness", Own<TMyImage>([](const TMyImage& i) { return i.Brightness(); })},
        {"Contrast", Own<TMyImage>([](const TMyImage& i) { return i.Contrast(); })},
        {"GrayScale", Own<TMyImage>([](const TMyImage& i) { return i.GrayScale(); })},
        {"PictureBorder", Own<TMyImage>([](const TMyImage& i) { return i.Border(); })},
        {"Transparent", Own<TMyImage>([](const TMyImage& i) { return i.Transparent(); })},
        {"TransparentColor", Own<TMyImage>([](const TMyImage& i) { return Int(i.StoredTransparentColor()); })},
        {"TransparentMode", Own<TMyImage>([](const TMyImage& i) { return Int(i.TransparentMode()); })},
    };
    return fields;
}

void ExpectShape(const TMyShape& shape, const QJsonObject& expected)
{
    SCOPED_TRACE(shape.Name().toStdString());
    for (const QString& key : expected.keys()) EXPECT_TRUE(Fields().count(key)) << "no field " << key.toStdString();
    TMyCAD fresh;
    const std::unique_ptr<TMyShape> newShape = fresh.CreateShapeByName(shape.ClassName());
    ASSERT_TRUE(newShape);
    for (const auto& [name, get] : Fields()) {
        const QJsonValue want = expected.contains(name) ? expected[name] : get(*newShape);
        EXPECT_EQ(Text(get(shape)), Text(want)) << name.toStdString() << (expected.contains(name) ? "" : " (not stored)");
    }
}

} // namespace

TEST(DocumentVersions, EveryEncodedSeedReadsBackWithTheFieldsItsLayoutStores)
{
    const QJsonObject table = ExpectedValues();
    ASSERT_GE(table.size(), 15);
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
        EXPECT_EQ(Int(cad.ColorOfBackGround()), doc["Background"].toInt());
        EXPECT_EQ(cad.Width(), doc["Width"].toInt());
        EXPECT_EQ(cad.Height(), doc["Height"].toInt());
        EXPECT_EQ(Int(cad.TheUNIT()), doc["Unit"].toInt());
        EXPECT_EQ(Int(cad.BkBitmapMode()), doc["BkBitmapMode"].toInt());
        EXPECT_EQ(cad.Ratio(), doc["Ratio"].toDouble());
        EXPECT_EQ(cad.Tag(), doc["Tag"].toInt());
        EXPECT_EQ(Json(cad.UserData()), doc["UserData"].toArray());
        QJsonArray layers;
        for (const LayerRec& l : cad.MyLayers) layers.append(QJsonArray{l.LayerName, l.LayerId, l.Visible});
        EXPECT_EQ(layers, doc["Layers"].toArray());
        EXPECT_EQ(cad.CurrentLayerId(), doc["CurrentLayer"].toInt());
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
