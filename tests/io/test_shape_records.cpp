// Shape records class by class: each class's own fields close its record
// after its parent's and come back, values no saved drawing holds are
// refused, shapes made by code come back to the same bytes, and a class
// added later appends its fields. Then the shape catalogue, walked row by
// row: every class is made by its tool and by its name, copied, stored and
// read back, drawn, and its rubber bands erase themselves. A class gets
// these checks by getting its row.
#include "support/LinkedBoxes.h"
#include "IoTestSupport.h"
#include "shapes/Surface.h"

#include "cad/canvas/ImageByCode.h"
#include "cad/canvas/ShapeCatalogue.h"
#include "cad/connectors/LinkLine.h"
#include "cad/connectors/LinkPoint.h"
#include "cad/geometry/StreamEncoding.h"
#include "cad/io/DxfExport.h"
#include "cad/io/ShapeRecords.h"
#include "cad/shapes/Ellipse.h"
#include "cad/shapes/Image.h"
#include "cad/shapes/PolyLine.h"
#include "cad/shapes/RuleLine.h"
#include "cad/shapes/ShapeDraw.h"
#include "cad/shapes/Text.h"

#include <functional>

using namespace mycad;
using namespace iotest;
using mycad::test::Surface;

namespace {

template <typename T>
std::function<void(TMyShape&)> Set(std::function<void(T&)> set)
{
    return [set](TMyShape& s) { set(dynamic_cast<T&>(s)); };
}

/// A class's own fields given values other than a new shape's, the bytes
/// that then end its record, and values placed at a distance from the end
/// that no saved drawing holds.
struct OwnFields {
    const char* Class;
    std::function<void(TMyShape&)> Change;
    std::vector<uint8_t> Tail;
    std::vector<std::pair<size_t, std::vector<uint8_t>>> Refused;
};

const std::vector<OwnFields>& Catalogue()
{
    static const std::vector<OwnFields> rows = {
        {"TMyLine", Set<TMyLine>([](TMyLine& l) {
             l.SetArrowAngle(45);
             l.SetArrowLength(20);
             l.SetArrowOffset(5);
             l.SetArrowStyle(TArrowStyle::ALeft);
         }),
         {45, 0, 0, 0, 20, 5, 1}, {{1, {4}}}},
        {"TMyPolyLine", Set<TMyPolyLine>([](TMyPolyLine& l) { l.SetArrowStyle(TArrowStyle::ARight); }), {2}, {}},
        {"TMyRuleLine", Set<TMyRuleLine>([](TMyRuleLine& r) {
             r.SetShowUserInfo(true);
             r.SetTickStyle(TTickStyle::tsNone);
             r.SetUserInfo(QStringLiteral("Gap"));
         }),
         {1, 1, 3, 0, 0, 0, 'G', 0, 'a', 0, 'p', 0}, {{11, {2}}}},
        {"TMyElliArc", Set<TMyElliArc>([](TMyElliArc& a) { a.SetArcStyle(TArcStyle::asSector); }), {0, 2}, {{1, {3}}}},
        {"TMyLinkLine", Set<TMyLinkLine>([](TMyLinkLine& l) {
             l.SetStartSpNo(5);
             l.SetStartSpPtId(1);
             l.SetEndSpNo(7);
             l.SetEndSpPtId(2);
             l.SetStoredLinkLineDrawStyle(TLinkLineDrawStyle::lldsFree);
         }),
         {5, 0, 0, 0, 1, 0, 0, 0, 7, 0, 0, 0, 2, 0, 0, 0, 1}, {{1, {2}}}},
        {"TMyLinkPoint", Set<TMyLinkPoint>([](TMyLinkPoint& p) { p.SetSize(17); }), {17}, {}},
        {"TMyLineLinkLine", Set<TMyLineLinkLine>([](TMyLineLinkLine& p) { p.SetSize(12); }), {12}, {}},
        {"TMyText", Set<TMyText>([](TMyText& t) {
             t.SetIsBorder(true);
             t.SetIsSolid(false);
             t.Lines().Add(QStringLiteral("one"));
             t.SetVAlignment(TVAlignment::vaTop);
             t.SetHAlignment(TAlignment::taLeftJustify);
             t.SetWordWrap(true);
         }),
         {1, 0, 1, 0, 0, 0, 3, 0, 0, 0, 'o', 0, 'n', 0, 'e', 0, 0, 0, 1},
         {{17, {0, 0, 0, 0x40}}, {2, {3}}}}, // more lines than bytes; a fourth alignment
        {"TMyImage", Set<TMyImage>([](TMyImage& i) {
             i.SetBrightness(-12);
             i.SetContrast(80);
             i.SetTransparent(true);
             i.SetBorder(true);
             i.SetGrayScale(true);
             i.SetTransparentColor(clRed);
         }),
         {0xF4, 0xFF, 0xFF, 0xFF, 80, 0, 0, 0, 1, 1, 1, 0xFF, 0, 0, 0, 1, 0, 0, 0},
         {{19, {0x2C, 1, 0, 0}}, {15, {0, 1, 0, 0}}, {4, {2}}}}, // adjustments past 255; a third mode
    };
    return rows;
}

/// A shape of the row's class with points: added by code where its tool
/// takes points so, otherwise given the corners of a box.
TMyShape* SampleShape(TMyCAD& cad, const TShapeClassRow& row)
{
    const TArrMyPoint corners{{30, 30}, {140, 40}, {130, 120}, {40, 110}, {90, 150}, {150, 150}, {60, 170}};
    if (row.Tool) {
        // Four points where the tool takes them, a box's or a quadrilateral's.
        for (int32_t n : {4, 3, 2, 1, 5, 6, 7}) {
            if (!row.ByCodePoints.Accepts(n)) continue;
            const int32_t id = cad.AddShapeByCode(&cad, *row.Tool, QStringLiteral("Sample"), corners, n - 1, 0.0,
                                                  QStringLiteral("info"));
            if (id >= 0) return cad.GetShapeByID(id);
        }
    }
    std::unique_ptr<TMyShape> made = cad.CreateShapeByName(row.ClassName);
    if (!made) return nullptr;
    for (size_t i = 0; i < 4; ++i) made->ThePoints.push_back(corners[i]);
    made->CenterPoint = made->ComputeCenterPoint(4);
    TMyShape* shape = made.get();
    return cad.AddShape(made, false, false) ? shape : nullptr;
}

/// A later shape class with a field of its own.
class TTestBadge : public TMyRectangle {
public:
    using TMyRectangle::TMyRectangle;
    String ClassName() const override { return QStringLiteral("TTestBadge"); }
    int32_t Level = 0;
    String Motto;
};

void SaveBadge(const TTestBadge& badge, TStream& s)
{
    WriteInt32(s, badge.Level);
    WriteCountedString(s, badge.Motto);
}

void LoadBadge(TTestBadge& badge, TRecordReader& r)
{
    badge.Level = r.Int32();
    if (r.Has(TFileVersion::XP_h)) badge.Motto = r.CountedString();
}

} // namespace

TEST(ShapeRecords, EachClassesOwnFieldsEndItsRecordAndComeBack)
{
    for (const OwnFields& row : Catalogue()) {
        SCOPED_TRACE(row.Class);
        TMyCAD cad;
        std::unique_ptr<TMyShape> shape = cad.CreateShapeByName(QString::fromLatin1(row.Class));
        ASSERT_TRUE(shape);
        SetBox(*shape, 10, 20, 110, 70);
        const std::vector<uint8_t> plain = RecordOf(*shape);
        row.Change(*shape);
        const std::vector<uint8_t> record = RecordOf(*shape);
        ASSERT_GE(record.size(), row.Tail.size());
        EXPECT_EQ(std::vector<uint8_t>(record.end() - std::ptrdiff_t(row.Tail.size()), record.end()), row.Tail);

        std::unique_ptr<TMyShape> read = cad.CreateShapeByName(QString::fromLatin1(row.Class));
        TMemoryStream in = StreamOf(record);
        ASSERT_TRUE(LoadShapeFromStream(*read, in, QStringLiteral("XP.j")));
        EXPECT_EQ(in.Position(), in.Size());
        EXPECT_EQ(RecordOf(*read), record);
        EXPECT_NE(RecordOf(*read), plain);

        for (const auto& [fromEnd, value] : row.Refused) {
            std::vector<uint8_t> damaged = record;
            std::copy(value.begin(), value.end(), damaged.end() - std::ptrdiff_t(fromEnd));
            TMemoryStream bad = StreamOf(damaged);
            std::unique_ptr<TMyShape> target = cad.CreateShapeByName(QString::fromLatin1(row.Class));
            EXPECT_FALSE(LoadShapeFromStream(*target, bad, QStringLiteral("XP.j"))) << fromEnd;
        }
    }
}

TEST(ShapeRecords, ShapesMadeByCodeComeBackToTheSameBytes)
{
    // Every class's own record on its own is read back by the shape
    // catalogue's test below; here a text box, a conic arc and a picture
    // added by code, with their own fields changed, go through a whole
    // document.
    TMyCAD original;
    const TArrMyPoint corners{{10, 10}, {210, 10}, {210, 90}, {10, 90}};
    ASSERT_GE(original.AddShapeByCode(&original, TDrawTool::SpText, QStringLiteral("S"), corners, 3, 0.25, QStringLiteral("by code")), 0);
    original.SetArcMode(TArcMode::amEllipse);
    ASSERT_GE(original.AddShapeByCode(&original, TDrawTool::SpElliArc, QStringLiteral("Conic"), corners, 2, 0.0, String()), 0);
    TBitmap picture(3, 2, TPixelFormat::pf24bit);
    picture.Canvas().Brush().SetColor(clBlue);
    picture.Canvas().FillRect({0, 0, 3, 2});
    picture.Canvas().SetPixel(0, 1, clRed);
    const int32_t imageId = AddImageShapeByCode(original, QStringLiteral("Logo"), {30, 40}, &picture);
    auto* image = dynamic_cast<TMyImage*>(original.GetShapeByID(imageId));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->ThePoints, (TArrMyPoint{{30, 40}, {33, 40}, {33, 42}, {30, 42}}));
    for (const OwnFields& row : Catalogue()) {
        for (auto& s : original.MyShapes) {
            if (s->ClassName() == QLatin1String(row.Class)) row.Change(*s);
        }
    }
    auto* text = dynamic_cast<TMyText*>(original.GetShapeByNo(0));
    ASSERT_NE(text, nullptr);
    text->SetCharacterSpace(4);
    const std::vector<uint8_t> bytes = SavedBytes(original);

    TMyCAD loaded;
    ASSERT_TRUE(LoadBytes(loaded, bytes));
    EXPECT_EQ(SavedBytes(loaded), bytes);
    // A text box takes the info given; its character spacing is not stored.
    EXPECT_EQ(loaded.GetShapeByNo(0)->Info(), QStringLiteral("by code"));
    EXPECT_EQ(dynamic_cast<const TMyText*>(loaded.GetShapeByNo(0))->CharacterSpace(), 0);
    EXPECT_EQ(dynamic_cast<const TMyElliArc*>(loaded.GetShapeByNo(1))->ArcMode(), TArcMode::amEllipse);
    EXPECT_EQ(dynamic_cast<const TMyImage*>(loaded.GetShapeByNo(2))->Bitmap().ScanLine(1)[2], 255);

    // SetMyImage takes pictures only.
    TBitmap wide(40, 8, TPixelFormat::pf24bit);
    EXPECT_FALSE(SetMyImage(original, text->ShapeId, &wide));
    EXPECT_FALSE(SetMyImage(original, 12345, &wide));
    EXPECT_TRUE(SetMyImage(original, imageId, &wide));
    EXPECT_EQ(image->ThePoints[2], (TMyPoint{70, 48}));
}

TEST(ShapeRecords, ADrawingOfConnectorsComesBackAttachedAndMended)
{
    TMyCAD cad;
    TMyShape* a = test::LinkedBox(cad, 0, 0, 100, 50);
    TMyShape* b = test::LinkedBox(cad, 300, 0, 400, 50);
    cad.CreateLink(QStringLiteral("ab"), a, 1, b, 3);
    TMyCAD loaded;
    ASSERT_TRUE(LoadBytes(loaded, SavedBytes(cad)));
    EXPECT_EQ(SavedBytes(loaded), SavedBytes(cad));
    auto* line = dynamic_cast<TMyLinkLine*>(loaded.GetShapeByName(QStringLiteral("ab")));
    ASSERT_NE(line, nullptr);
    loaded.Move(loaded.GetShapeByNo(1), 0, 40);
    EXPECT_EQ(line->ThePoints.back(), (TMyPoint{300, 65}));

    // An end naming a link point the box lacks, and a box listing another
    // box as its connector: the load lets go of both.
    auto* saved = dynamic_cast<TMyLinkLine*>(cad.GetShapeByName(QStringLiteral("ab")));
    saved->SetEndSpPtId(9);
    a->LinkShapesNo.push_back(static_cast<uint32_t>(b->ShapeNo));
    ASSERT_TRUE(LoadBytes(loaded, SavedBytes(cad)));
    auto* back = dynamic_cast<TMyLinkLine*>(loaded.GetShapeByNo(saved->ShapeNo));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->EndSpNo(), -1);
    EXPECT_EQ(back->EndSpPtId(), -1);
    EXPECT_EQ(back->StartSpNo(), 0);
    EXPECT_EQ(loaded.GetShapeByNo(0)->LinkShapesNo, (TMyShapeNo{static_cast<uint32_t>(saved->ShapeNo)}));
    EXPECT_TRUE(loaded.GetShapeByNo(1)->LinkShapesNo.empty());
}

TEST(ShapeRecords, ALaterClassAppendsItsFieldsAfterItsParents)
{
    EXPECT_FALSE(RegisterShapeRecord(MakeShapeRecordClass<TTestBadge>(
        QStringLiteral("TTestBadge"), QStringLiteral("TMyNotYet"), &SaveBadge, &LoadBadge)));
    EXPECT_FALSE(HasShapeRecord(QStringLiteral("TTestBadge")));
    ASSERT_TRUE(RegisterShapeRecord(MakeShapeRecordClass<TTestBadge>(
        QStringLiteral("TTestBadge"), QStringLiteral("TMyRectangle"), &SaveBadge, &LoadBadge)));

    TMyCAD cad;
    TTestBadge badge(&cad);
    SetBox(badge, 1, 2, 3, 4);
    badge.Font().SetName(String());
    badge.Level = 7;
    badge.Motto = QStringLiteral("go");
    TMemoryStream s;
    ASSERT_TRUE(SaveShapeToStream(badge, s));
    ASSERT_EQ(s.Size(), 182 + 4 + 4 + 4);
    s.SetPosition(182);
    EXPECT_EQ(ReadInt32(s), 7);

    TTestBadge back(&cad);
    s.SetPosition(0);
    ASSERT_TRUE(LoadShapeFromStream(back, s, QStringLiteral("XP.j")));
    EXPECT_EQ(back.Level, 7);
    EXPECT_EQ(back.Motto, QStringLiteral("go"));
    EXPECT_EQ(back.ThePoints, badge.ThePoints);

    // A shape that says it is a badge but is none is refused, not misread.
    class TImpostor : public TMyRectangle {
    public:
        using TMyRectangle::TMyRectangle;
        String ClassName() const override { return QStringLiteral("TTestBadge"); }
    } impostor(&cad);
    TMemoryStream t;
    EXPECT_FALSE(SaveShapeToStream(impostor, t));
    s.SetPosition(0);
    EXPECT_FALSE(LoadShapeFromStream(impostor, s, QStringLiteral("XP.j")));
}

TEST(ShapeCatalogue, EveryClassIsMadeCopiedStoredDrawnAndBanded)
{
    std::vector<String> seen{QStringLiteral("TMyShape")};
    TMyCAD empty;
    const std::string frame = DxfDocument(empty, false);
    for (const TShapeClassRow& row : ShapeCatalogue()) {
        SCOPED_TRACE(row.ClassName.toStdString());
        // Parents come first, so records and stored lists can rely on them.
        EXPECT_NE(std::find(seen.begin(), seen.end(), row.ParentClassName), seen.end());
        seen.push_back(row.ClassName);
        EXPECT_EQ(FindShapeClass(row.ClassName), &row);

        TMyCAD cad;
        std::unique_ptr<TMyShape> byName = cad.CreateShapeByName(row.ClassName);
        ASSERT_TRUE(byName);
        EXPECT_EQ(byName->ClassName(), row.ClassName);
        if (row.Tool) {
            std::unique_ptr<TMyShape> byTool = cad.CreateShapeBySpTool(*row.Tool);
            ASSERT_TRUE(byTool);
            EXPECT_EQ(byTool->ClassName(), row.ClassName);
            EXPECT_EQ(FindShapeClassByTool(*row.Tool), &row);
            EXPECT_NE(row.Gesture, TDrawGesture::None);
        }

        TMyShape* shape = SampleShape(cad, row);
        ASSERT_TRUE(shape);
        // DXF files carry the class's entities or leave it out on purpose.
        EXPECT_NE(HasDxfClass(row.ClassName), DxfLeavesOut(row.ClassName));
        const bool onlyFrame = DxfDocument(cad, false) == frame;
        EXPECT_EQ(onlyFrame, DxfLeavesOut(row.ClassName));
        shape->SetInfo(QStringLiteral("info"));
        shape->Pen().SetColor(clRed);
        shape->UserData().AddKeyandValue(QStringLiteral("k"), QStringLiteral("v"));

        // The record reads back into a fresh shape that writes the same bytes.
        ASSERT_TRUE(HasShapeRecord(row.ClassName));
        const std::vector<uint8_t> record = RecordOf(*shape);
        std::unique_ptr<TMyShape> read = cad.CreateShapeByName(row.ClassName);
        TMemoryStream in = StreamOf(record);
        ASSERT_TRUE(LoadShapeFromStream(*read, in, QStringLiteral("XP.j")));
        EXPECT_EQ(in.Position(), in.Size());
        EXPECT_EQ(RecordOf(*read), record);

        // A copy holds everything the record holds.
        std::unique_ptr<TMyShape> copy = cad.CreateShapeByName(row.ClassName);
        copy->Assign(*shape);
        EXPECT_EQ(RecordOf(*copy), record);

        Surface surface;
        TCanvas& c = surface.Canvas();
        shape->Draw(c);
        EXPECT_GT(surface.CountNot(clWhite), 0);

        // Rubber bands on a half dark surface: each erases itself when drawn
        // again, and none moves a point.
        surface.Clear();
        c.Brush().SetColor(clNavy);
        c.FillRect({0, 0, 100, 200});
        SetDragResizeRotateShapeMode(c);
        const TArrMyPoint points = shape->ThePoints;
        EXPECT_GT(surface.DrawnAndErased([&] { shape->Draging(c, {0, 0}, {9, 7}); }), 0);
        EXPECT_GT(surface.DrawnAndErased([&] { shape->Rotating(c, shape->GetCenterPointInZoom(), 0.4); }), 0);
        shape->SelectedHotId = 1;
        const TPoint handle = MyPtToPt(shape->GetPointInZoom(shape->HandlePointNo(1)));
        // A junction dot has no size to pull: its band is empty, but clean.
        const int32_t sized = surface.DrawnAndErased([&] { shape->Sizing(c, handle, {handle.X + 12, handle.Y + 9}); });
        EXPECT_GE(sized, 0);
        if (row.ClassName != QLatin1String("TMyLineLinkLine")) {
            EXPECT_GT(sized, 0);
        }
        // While placing, a shape drawn in one gesture or vertex by vertex shows
        // only a band; press by press shapes also mark their placed points,
        // and a freehand line lays ink down. A connector's band is its route
        // between the link points under the mouse, which only a gesture on
        // the canvas has (the connector tests draw it so).
        const bool connector = row.ClassName == QLatin1String("TMyLinkLine");
        if (!connector && (row.Gesture == TDrawGesture::OneGesture || row.Gesture == TDrawGesture::VertexByVertex)) {
            EXPECT_GT(surface.DrawnAndErased([&] { shape->Drawing(c, {20, 20}, {90, 150}); }), 0);
        }
        EXPECT_EQ(shape->ThePoints, points);
    }
    // Neither the base nor an unknown name is a class the canvas makes or stores.
    TMyCAD cad;
    EXPECT_FALSE(cad.CreateShapeByName(QStringLiteral("TMySquare")));
    EXPECT_FALSE(HasShapeRecord(QStringLiteral("TMyShape")));
    EXPECT_FALSE(HasShapeRecord(QStringLiteral("TMySquare")));
}
