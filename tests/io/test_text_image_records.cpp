// Text boxes and pictures in documents: today's records round trip, records
// of every layout read back with the fields that layout stores, and values a
// saved drawing cannot hold are refused.
#include "DocumentEncoder.h"
#include "IoTestSupport.h"

#include "cad/canvas/ImageByCode.h"
#include "cad/io/ShapeRecords.h"
#include "cad/shapes/Image.h"
#include "cad/shapes/Text.h"

using namespace mycad;
using namespace iotest;

namespace {

TBitmap Picture()
{
    TBitmap b(3, 2, TPixelFormat::pf24bit);
    b.Canvas().Brush().SetColor(clBlue);
    b.Canvas().FillRect({0, 0, 3, 2});
    b.Canvas().SetPixel(0, 1, clRed);
    return b;
}

std::vector<uint8_t> BmpBytes(const TBitmap& b)
{
    TMemoryStream s;
    b.SaveToStream(s);
    return s.Bytes();
}

// The text box's and the picture's own fields as each layout stores them.
std::vector<uint8_t> TextTail(const std::string& version)
{
    docenc::Encoder e;
    e.U8(1); // border
    e.U8(0); // hollow
    if (docenc::VersionIndex(version) >= docenc::VersionIndex("XP.a")) {
        e.I32(2);
        e.Counted(u"first");
        e.Counted(u"second");
        e.U8(2); // vaBottom
        e.U8(1); // taRightJustify
        e.U8(1); // wrapped
    }
    return e.Bytes;
}

std::vector<uint8_t> ImageTail(const std::string& version)
{
    docenc::Encoder e;
    e.Bitmap(BmpBytes(Picture()));
    if (docenc::VersionIndex(version) >= docenc::VersionIndex("XP.9")) {
        e.I32(-40);
        e.I32(255);
        e.U8(1);
        e.U8(1);
        e.U8(1);
    }
    if (docenc::VersionIndex(version) >= docenc::VersionIndex("XP.i")) {
        e.I32(0x00FF00);
        e.I32(0x0101); // the mode is the low byte: tmFixed
    }
    return e.Bytes;
}

// A document of one shape of the class, whose own fields end the file.
std::vector<uint8_t> Document(const std::string& version, const char* className, const std::vector<uint8_t>& tail)
{
    docenc::Document doc;
    doc.Version = version;
    docenc::Shape shape;
    shape.Class = className;
    shape.Name = u"Shape0";
    shape.Points = {{10, 10}, {110, 10}, {110, 60}, {10, 60}};
    shape.Info = u"info";
    doc.Shapes = {shape};
    std::vector<uint8_t> bytes = docenc::EncodeDocument(doc);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

} // namespace

TEST(TextImageRecords, TextBoxesAndPicturesComeBackFromADocument)
{
    TMyCAD original;
    ASSERT_GE(original.AddShapeByCode(&original, TDrawTool::SpText, QStringLiteral("Note"),
                                      {{10, 10}, {210, 10}, {210, 90}, {10, 90}}, 3, 0.25, QStringLiteral("by code")),
              0);
    auto* text = dynamic_cast<TMyText*>(original.MyShapes.back().get());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Info(), QStringLiteral("by code"));
    text->Lines().Add(QStringLiteral("one"));
    text->Lines().Add(QStringLiteral("two \u00e9"));
    text->SetHAlignment(TAlignment::taLeftJustify);
    text->SetVAlignment(TVAlignment::vaTop);
    text->SetWordWrap(true);
    text->SetIsBorder(true);
    text->SetIsSolid(false);
    text->SetCharacterSpace(4);
    TBitmap picture = Picture();
    const int32_t imageId = AddImageShapeByCode(original, QStringLiteral("Logo"), {30, 40}, &picture);
    auto* image = dynamic_cast<TMyImage*>(original.GetShapeByID(imageId));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->ThePoints, (TArrMyPoint{{30, 40}, {33, 40}, {33, 42}, {30, 42}}));
    image->SetBrightness(-12);
    image->SetContrast(80);
    image->SetGrayScale(true);
    image->SetBorder(true);
    image->SetTransparent(true);
    image->SetTransparentColor(clRed);
    const std::vector<uint8_t> bytes = SavedBytes(original);

    TMyCAD loaded;
    ASSERT_TRUE(LoadBytes(loaded, bytes));
    ASSERT_EQ(loaded.GetShapesCount(), 2);
    const auto* t = dynamic_cast<const TMyText*>(loaded.GetShapeByNo(0));
    const auto* i = dynamic_cast<const TMyImage*>(loaded.GetShapeByNo(1));
    ASSERT_TRUE(t && i);
    EXPECT_EQ(t->ThePoints, text->ThePoints);
    EXPECT_EQ(t->Angle(), text->Angle());
    EXPECT_EQ(t->Info(), QStringLiteral("by code"));
    EXPECT_EQ(t->Lines(), text->Lines());
    EXPECT_EQ(t->HAlignment(), TAlignment::taLeftJustify);
    EXPECT_EQ(t->VAlignment(), TVAlignment::vaTop);
    EXPECT_TRUE(t->WordWrap());
    EXPECT_TRUE(t->IsBorder());
    EXPECT_FALSE(t->IsSolid());
    EXPECT_EQ(t->CharacterSpace(), 0); // not stored
    EXPECT_EQ(i->Bitmap().Width(), 3);
    EXPECT_EQ(i->Bitmap().ScanLine(1)[2], 255); // the red pixel
    EXPECT_EQ(i->Brightness(), -12);
    EXPECT_EQ(i->Contrast(), 80);
    EXPECT_TRUE(i->GrayScale());
    EXPECT_TRUE(i->Border());
    EXPECT_TRUE(i->Transparent());
    EXPECT_EQ(i->StoredTransparentColor(), clRed);
    EXPECT_EQ(i->TransparentMode(), TTransparentMode::tmFixed);
    EXPECT_EQ(SavedBytes(loaded), bytes);

    // SetMyImage takes pictures only.
    TBitmap wide(40, 8, TPixelFormat::pf24bit);
    EXPECT_FALSE(SetMyImage(original, text->ShapeId, &wide));
    EXPECT_FALSE(SetMyImage(original, 12345, &wide));
    EXPECT_TRUE(SetMyImage(original, imageId, &wide));
    EXPECT_EQ(image->ThePoints[2], (TMyPoint{70, 48}));
}

TEST(TextImageRecords, EveryLayoutReadsTheFieldsItStores)
{
    for (const std::string version : {"XP.2", "XP.6", "XP.9", "XP.a", "XP.h", "XP.i", "XP.j"}) {
        SCOPED_TRACE(version);
        TMyCAD texts;
        TMyCAD images;
        ASSERT_TRUE(LoadBytes(texts, Document(version, "TMyText", TextTail(version))));
        ASSERT_TRUE(LoadBytes(images, Document(version, "TMyImage", ImageTail(version))));
        const auto* t = dynamic_cast<const TMyText*>(texts.GetShapeByNo(0));
        const auto* i = dynamic_cast<const TMyImage*>(images.GetShapeByNo(0));
        ASSERT_TRUE(t && i);
        EXPECT_TRUE(t->IsBorder());
        EXPECT_FALSE(t->IsSolid());
        EXPECT_EQ(i->Bitmap().Width(), 3);
        const int v = docenc::VersionIndex(version);
        const bool lines = v >= docenc::VersionIndex("XP.a");
        EXPECT_EQ(t->Lines().Count(), lines ? 2 : 0);
        EXPECT_EQ(t->VAlignment(), lines ? TVAlignment::vaBottom : TVAlignment::vaMiddle);
        EXPECT_EQ(t->HAlignment(), lines ? TAlignment::taRightJustify : TAlignment::taCenter);
        EXPECT_EQ(t->WordWrap(), lines);
        const bool adjusted = v >= docenc::VersionIndex("XP.9");
        EXPECT_EQ(i->Brightness(), adjusted ? -40 : 0);
        EXPECT_EQ(i->Contrast(), adjusted ? 255 : 0);
        EXPECT_EQ(i->GrayScale(), adjusted);
        const bool transparency = v >= docenc::VersionIndex("XP.i");
        EXPECT_EQ(i->StoredTransparentColor(), transparency ? TColor(0x00FF00) : clDefault);
        EXPECT_EQ(i->TransparentMode(), transparency ? TTransparentMode::tmFixed : TTransparentMode::tmAuto);
    }
}

TEST(TextImageRecords, ValuesNoDrawingHoldsAreRefused)
{
    const auto imageWith = [](int32_t brightness, int32_t mode) {
        docenc::Encoder e;
        e.Bitmap({});
        e.I32(brightness);
        e.I32(0);
        e.U8(0);
        e.U8(0);
        e.U8(0);
        e.I32(0);
        e.I32(mode);
        return e.Bytes;
    };
    docenc::Encoder lines;
    lines.U8(0);
    lines.U8(1);
    lines.I32(1 << 30); // more lines than bytes
    const struct {
        const char* Class;
        std::vector<uint8_t> Tail;
    } cases[] = {
        {"TMyImage", imageWith(300, 0)},
        {"TMyImage", imageWith(0, 2)},
        {"TMyText", lines.Bytes},
    };
    for (const auto& c : cases) {
        TMyCAD cad;
        EXPECT_FALSE(LoadBytes(cad, Document("XP.j", c.Class, c.Tail)));
        EXPECT_EQ(cad.GetShapesCount(), 0);
    }
    // The same bytes with allowed values are read.
    TMyCAD cad;
    EXPECT_TRUE(LoadBytes(cad, Document("XP.j", "TMyImage", imageWith(255, 0x100))));
}
