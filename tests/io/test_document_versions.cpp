// Documents of every layout the readers know, written by the independent
// encoder: each reads back with the fields its layout stores, and the fields
// it does not store keep the values a new shape has.
#include "DocumentEncoder.h"
#include "IoTestSupport.h"

#include "cad/geometry/StreamEncoding.h"
#include "cad/io/RecordReader.h"
#include "cad/io/ShapeRecords.h"

#include <cmath>

using namespace mycad;
using namespace iotest;

namespace {

// A rectangle and a line with a distinct value in every field.
docenc::Document SampleDocument(const std::string& version)
{
    docenc::Document doc;
    doc.Version = version;
    doc.Background = 0x123456;
    doc.Width = 640;
    doc.Height = 480;
    doc.Unit = 5;
    doc.BkBitmapMode = 0x0301; // only the low byte counts
    doc.Ratio = 2.5;
    doc.Tag = -77;
    doc.UserData = {{u"doc", u"one"}, {u"doc", u"dropped"}, {u"k2", u"v2"}};
    doc.Layers = {{u"Base", 3, 1}, {u"Notes", 7, 0}};
    doc.CurrentLayer = 7;

    docenc::Shape rect;
    rect.Name = u"Box1";
    rect.Id = 4;
    rect.No = 0;
    rect.Layer = 3;
    rect.Points = {{10.5, 20.25}, {110.5, 20.25}, {110.5, 70.75}, {10.5, 70.75}};
    rect.LinkPoints = {{60.5, 20.25}};
    rect.Links = {1};
    rect.TextX = 60.5;
    rect.TextY = -80.125;
    rect.Tag = 99;
    rect.Angle = -0.75;
    rect.BrushColor = 0x00FF00;
    rect.BrushStyle = 2;
    rect.Caption = u"Caption";
    rect.ColorBegin = 0x0000FF;
    rect.ColorEnd = 0xFF0000;
    rect.FontName = u"DejaVu Serif";
    rect.Charset = 0;
    rect.FontColor = 0x00AA00;
    rect.FontHeight = -40;
    rect.FontSize = 12;
    rect.Pitch = 2;
    rect.FontStyle = 0x05; // bold and underline
    rect.Gradient = 9;
    rect.Info = u"info";
    rect.PenColor = 0x0A0B0C;
    rect.PenMode = 14;
    rect.PenStyle = 2;
    rect.PenWidth = 3;
    rect.UserData = {{u"a", u"1"}, {u"b", u"2"}};
    rect.FlipHorz = true;
    rect.Visible = false;
    rect.MultiInfo = {u"first", u"second"};
    rect.MultiInfoAlignment = 2;
    rect.LogHeight = 33;
    rect.LogUse = true;
    rect.LogWidth = 44;
    rect.Locked = true;
    rect.EndCap = 2;
    rect.Join = 1;
    rect.HotShow = false;
    rect.ResizeEnable = false;
    rect.RotateEnable = false;

    docenc::Shape line;
    line.Class = "TMyLine";
    line.Name = u"Line2";
    line.Id = 9;
    line.No = 1;
    line.Layer = 7;
    line.Points = {{-5, -6}, {300, 400}, {1e-3, 7}};
    line.TextX = 1;
    line.TextY = 2;
    line.ArrowAngle = 45;
    line.ArrowLength = 20;
    line.ArrowOffset = 5;
    line.ArrowStyle = 3;
    doc.Shapes = {rect, line};
    return doc;
}

bool In(const std::string& version, const char* first)
{
    return docenc::VersionIndex(version) >= docenc::VersionIndex(first);
}

class DocumentVersions : public ::testing::TestWithParam<std::string> {};

} // namespace

TEST_P(DocumentVersions, ReadBackWithTheFieldsTheirLayoutStores)
{
    const std::string version = GetParam();
    const docenc::Document doc = SampleDocument(version);
    TMyCAD cad;
    ASSERT_TRUE(LoadBytes(cad, docenc::EncodeDocument(doc)));
    TMyCAD fresh;
    std::unique_ptr<TMyShape> newRect = fresh.CreateShapeByName(QStringLiteral("TMyRectangle"));

    EXPECT_EQ(cad.DiskFileVersion(), String::fromStdString(version));
    EXPECT_EQ(cad.ColorOfBackGround(), TColor(0x123456));
    EXPECT_EQ(cad.Width(), 640);
    EXPECT_EQ(cad.Height(), 480);
    EXPECT_EQ(cad.TheUNIT(), TUnits::inch);
    EXPECT_EQ(cad.BkBitmapMode(), TBkBitmapMode::Stretch);
    EXPECT_EQ(cad.Ratio(), 2.5);
    const bool hasDocumentData = In(version, "XP.h");
    EXPECT_EQ(cad.Tag(), hasDocumentData ? -77 : 0);
    EXPECT_EQ(cad.UserData().GetCount(), hasDocumentData ? 2 : 0);
    EXPECT_EQ(cad.UserData().GetValueByKey(QStringLiteral("doc")), hasDocumentData ? QStringLiteral("one") : String());
    ASSERT_EQ(cad.GetLayersCount(), 2);
    EXPECT_EQ(cad.MyLayers[1], (LayerRec{QStringLiteral("Notes"), 7, false}));
    EXPECT_EQ(cad.CurrentLayerId(), 7);
    EXPECT_EQ(cad.NextLayerId, 8);
    EXPECT_EQ(cad.NextShapeId, 10);
    EXPECT_EQ(cad.Zoom(), 1.0);

    ASSERT_EQ(cad.GetShapesCount(), 2);
    auto* rect = dynamic_cast<TMyRectangle*>(cad.MyShapes[0].get());
    auto* line = dynamic_cast<TMyLine*>(cad.MyShapes[1].get());
    ASSERT_TRUE(rect && line);

    // Always stored.
    EXPECT_EQ(rect->Name(), QStringLiteral("Box1"));
    EXPECT_EQ(rect->ShapeId, 4);
    EXPECT_EQ(rect->LayerId, 3);
    // Stored as a connector of the box, but shape 1 is a plain line: the
    // load drops the entry rather than keep a number that names no connector.
    EXPECT_TRUE(rect->LinkShapesNo.empty());
    EXPECT_EQ(rect->TextOutPoint, (TMyPoint{60.5f, -80.125f}));
    EXPECT_EQ(rect->Brush().Color(), TColor(0x00FF00));
    EXPECT_EQ(rect->Brush().Style(), TBrushStyle::bsHorizontal);
    EXPECT_EQ(rect->Caption(), QStringLiteral("Caption"));
    EXPECT_EQ(rect->ColorBegin(), TColor(0x0000FF));
    EXPECT_EQ(rect->GradientStyle(), TGradientStyle::gsLinearH);
    EXPECT_FALSE(rect->GradBmp.Empty()); // rebuilt on reading
    EXPECT_EQ(rect->Font().Name(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(rect->Font().Size(), 12); // the size decides over the height
    EXPECT_EQ(rect->Font().Pitch(), TFontPitch::fpFixed);
    EXPECT_TRUE(rect->Font().Style().Contains(TFontStyle::fsUnderline));
    EXPECT_FALSE(rect->Font().Style().Contains(TFontStyle::fsItalic));
    EXPECT_EQ(rect->Info(), QStringLiteral("info"));
    EXPECT_EQ(rect->Pen().Mode(), TPenMode::pmXor);
    EXPECT_EQ(rect->Pen().Width(), 3);
    EXPECT_EQ(line->ArrowAngle(), 45);
    EXPECT_EQ(line->ArrowOffset(), 5);
    EXPECT_EQ(line->ArrowStyle(), TArrowStyle::ADouble);

    // Coordinates: none in the oldest layout, 10 bytes wide up to "XP.5".
    ASSERT_EQ(rect->GetPointsCount(), 4);
    ASSERT_EQ(rect->GetLinkPointsCount(), 1);
    ASSERT_EQ(line->GetPointsCount(), 3);
    if (In(version, "XP.3")) {
        EXPECT_EQ(rect->ThePoints[2], (TMyPoint{110.5f, 70.75f}));
        EXPECT_EQ(rect->LinkPoints[0], (TMyPoint{60.5f, 20.25f}));
        EXPECT_EQ(line->ThePoints[2], (TMyPoint{1e-3f, 7.0f}));
        EXPECT_EQ(rect->Tag(), 99);
        EXPECT_EQ(rect->Angle(), -0.75f);
        EXPECT_EQ(rect->CenterPoint, (TMyPoint{60.5f, 45.5f}));
    } else {
        EXPECT_EQ(rect->ThePoints[2], (TMyPoint{0, 0}));
        EXPECT_EQ(line->ThePoints[0], (TMyPoint{0, 0}));
        EXPECT_EQ(rect->Tag(), 0);
        EXPECT_EQ(rect->Angle(), 0.0f);
    }
    if (In(version, "XP.8")) {
        EXPECT_EQ(rect->UserData().GetValueByKey(QStringLiteral("b")), QStringLiteral("2"));
    } else {
        EXPECT_EQ(rect->UserData().GetCount(), 0);
    }
    if (In(version, "XP.9")) {
        EXPECT_TRUE(rect->IsFlipHorz());
        EXPECT_FALSE(rect->IsFlipVert());
        EXPECT_FALSE(rect->Visible());
    } else {
        EXPECT_FALSE(rect->IsFlipHorz());
        EXPECT_TRUE(rect->Visible());
    }
    if (In(version, "XP.e")) {
        EXPECT_EQ(rect->MultiInfo().Count(), 2);
        EXPECT_EQ(rect->MultiInfo().Strings(1), QStringLiteral("second"));
        EXPECT_EQ(rect->MultiInfoAlignment(), TAlignment::taCenter);
    } else {
        EXPECT_EQ(rect->MultiInfo().Count(), 0);
        EXPECT_EQ(rect->MultiInfoAlignment(), newRect->MultiInfoAlignment());
    }
    if (In(version, "XP.h")) {
        EXPECT_EQ(rect->LogHeight(), 33);
        EXPECT_TRUE(rect->LogUse());
        EXPECT_EQ(rect->LogWidth(), 44);
        EXPECT_TRUE(rect->Locked());
    } else {
        EXPECT_EQ(rect->LogHeight(), newRect->LogHeight());
        EXPECT_FALSE(rect->Locked());
    }
    if (In(version, "XP.j")) {
        EXPECT_EQ(rect->PenStyleEndCapType(), TPenStyleEndCapType::psectFLAT);
        EXPECT_EQ(rect->PenStyleJoinType(), TPenStyleJoinType::psjtBEVEL);
        EXPECT_FALSE(rect->HotShow());
        EXPECT_FALSE(rect->ResizeEnable());
        EXPECT_FALSE(rect->RotateEnable());
    } else {
        EXPECT_EQ(rect->PenStyleEndCapType(), newRect->PenStyleEndCapType());
        EXPECT_TRUE(rect->HotShow());
        EXPECT_TRUE(rect->RotateEnable());
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, DocumentVersions,
                         ::testing::Values("XP.2", "XP.3", "XP.5", "XP.6", "XP.7", "XP.8", "XP.9", "XP.e", "XP.h",
                                           "XP.i", "XP.j"),
                         [](const auto& info) {
                             std::string name = info.param;
                             name.erase(std::remove(name.begin(), name.end(), '.'), name.end());
                             return name;
                         });

TEST(DocumentVersionRules, ARecordReadWithAnOlderTagStopsWhereThatLayoutEnds)
{
    TMyCAD cad;
    std::unique_ptr<TMyShape> rect = cad.CreateShapeByName(QStringLiteral("TMyRectangle"));
    SetBox(*rect, 1, 2, 3, 4);
    TMemoryStream s;
    ASSERT_TRUE(SaveShapeToStream(*rect, s));
    const int64_t size = s.Size();

    std::unique_ptr<TMyShape> readJ = cad.CreateShapeByName(QStringLiteral("TMyRectangle"));
    s.SetPosition(0);
    ASSERT_TRUE(LoadShapeFromStream(*readJ, s, QStringLiteral("XP.j")));
    EXPECT_EQ(s.Position(), size);

    std::unique_ptr<TMyShape> readI = cad.CreateShapeByName(QStringLiteral("TMyRectangle"));
    s.SetPosition(0);
    ASSERT_TRUE(LoadShapeFromStream(*readI, s, QStringLiteral("XP.i")));
    EXPECT_EQ(s.Position(), size - 5);

    // An unknown tag reads only what every layout stores: no coordinates, no
    // tag or angle, no reserved pair and nothing after the pen.
    docenc::Shape shared;
    shared.Points = {{5, 6}, {7, 8}};
    docenc::Encoder e;
    docenc::EncodeShape(e, shared, "XP.z");
    docenc::Encoder newest;
    docenc::EncodeShape(newest, shared, "XP.j");
    // Coordinates, tag, angle, reserved pair, user data count, flips and
    // visibility, multi-info count and alignment, log fields, the newest five.
    EXPECT_EQ(e.Bytes.size() + 16 + 4 + 4 + 8 + 4 + 3 + 5 + 10 + 5, newest.Bytes.size());
    TMemoryStream old = StreamOf(e.Bytes);
    std::unique_ptr<TMyShape> readUnknown = cad.CreateShapeByName(QStringLiteral("TMyRectangle"));
    ASSERT_TRUE(LoadShapeFromStream(*readUnknown, old, QStringLiteral("XP.z")));
    EXPECT_EQ(old.Position(), old.Size());
    ASSERT_EQ(readUnknown->GetPointsCount(), 2);
    EXPECT_EQ(readUnknown->ThePoints[1], (TMyPoint{0, 0}));
}

TEST(DocumentVersionRules, UnknownTagDocumentsUseOnlyTheSharedFields)
{
    docenc::Document doc = SampleDocument("XP.q");
    TMyCAD cad;
    ASSERT_TRUE(LoadBytes(cad, docenc::EncodeDocument(doc)));
    ASSERT_EQ(cad.GetShapesCount(), 2);
    EXPECT_EQ(cad.DiskFileVersion(), QStringLiteral("XP.q"));
    EXPECT_EQ(cad.MyShapes[0]->Caption(), QStringLiteral("Caption"));
    EXPECT_EQ(cad.MyShapes[0]->ThePoints[0], (TMyPoint{0, 0}));
    EXPECT_EQ(dynamic_cast<TMyLine*>(cad.MyShapes[1].get())->ArrowLength(), 20);
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

TEST(DocumentVersionRules, EightBitDocumentsReadInOldFileMode)
{
    struct OldFileMode {
        OldFileMode() { ReadOldZEDAFile = true; }
        ~OldFileMode() { ReadOldZEDAFile = false; }
    } mode;
    docenc::Document doc = SampleDocument("XP.j");
    doc.Shapes[0].Caption = u"caf\u00e9 \u00a3";
    const std::vector<uint8_t> bytes = docenc::EncodeDocument(doc, true);
    TMyCAD cad;
    ASSERT_TRUE(LoadBytes(cad, bytes));
    ASSERT_EQ(cad.GetShapesCount(), 2);
    EXPECT_EQ(cad.MyShapes[0]->Caption(), Q(u"caf\u00e9 \u00a3"));
    EXPECT_EQ(cad.MyLayers[0].LayerName, QStringLiteral("Base"));
}
