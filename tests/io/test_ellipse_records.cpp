// Ellipses and arcs in documents: class, points and the arc's own fields
// come back, and the arc's fields are refused when out of range.
#include "IoTestSupport.h"
#include "cad/io/ShapeRecords.h"
#include "cad/shapes/Ellipse.h"

using namespace mycad;
using namespace iotest;

TEST(EllipseRecords, EllipsesAndArcsComeBackFromADocument)
{
    TMyCAD original;
    original.AddShapeByCode(&original, TDrawTool::SpEllipse, QStringLiteral("Oval"),
                            {{10, 20}, {110, 20}, {110, 70}, {10, 70}}, 3, 0.0, String());
    original.AddShapeByCode(&original, TDrawTool::SpElliArc, QStringLiteral("Arc"), {{0, 100}, {100, 0}, {200, 100}}, 2,
                            0.0, String());
    original.SetArcMode(TArcMode::amEllipse);
    original.AddShapeByCode(&original, TDrawTool::SpElliArc, QStringLiteral("Conic"),
                            {{0, 0}, {100, 0}, {100, 100}}, 2, 0.0, String());
    ASSERT_EQ(original.GetShapesCount(), 3);
    auto* arc = dynamic_cast<TMyElliArc*>(original.GetShapeByNo(1));
    ASSERT_NE(arc, nullptr);
    arc->SetArcStyle(TArcStyle::asSector);
    const std::vector<uint8_t> bytes = SavedBytes(original);

    TMyCAD loaded;
    ASSERT_TRUE(LoadBytes(loaded, bytes));
    ASSERT_EQ(loaded.GetShapesCount(), 3);
    EXPECT_EQ(loaded.GetShapeByNo(0)->ClassName(), QStringLiteral("TMyEllipse"));
    EXPECT_NE(dynamic_cast<TMyEllipse*>(loaded.GetShapeByNo(0)), nullptr);
    EXPECT_EQ(loaded.GetShapeByNo(0)->ThePoints, original.GetShapeByNo(0)->ThePoints);
    for (int32_t i : {1, 2}) {
        const auto* a = dynamic_cast<TMyElliArc*>(original.GetShapeByNo(i));
        const auto* b = dynamic_cast<TMyElliArc*>(loaded.GetShapeByNo(i));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->Name(), a->Name());
        EXPECT_EQ(b->ThePoints, a->ThePoints);
        EXPECT_EQ(b->ArcMode(), a->ArcMode());
        EXPECT_EQ(b->ArcStyle(), a->ArcStyle());
    }
    EXPECT_EQ(dynamic_cast<TMyElliArc*>(loaded.GetShapeByNo(1))->ArcStyle(), TArcStyle::asSector);
    EXPECT_EQ(dynamic_cast<TMyElliArc*>(loaded.GetShapeByNo(2))->ArcMode(), TArcMode::amEllipse);
    EXPECT_EQ(SavedBytes(loaded), bytes);

    // The arc's two bytes close its record: a style past the sector is refused
    // and the document is left as it was.
    TMemoryStream record;
    ASSERT_TRUE(SaveShapeToStream(*arc, record));
    std::vector<uint8_t> damaged = record.Bytes();
    ASSERT_GE(damaged.size(), 2u);
    EXPECT_EQ(damaged[damaged.size() - 2], static_cast<uint8_t>(TArcMode::amCircle));
    EXPECT_EQ(damaged.back(), static_cast<uint8_t>(TArcStyle::asSector));
    damaged.back() = 3;
    TMemoryStream in = StreamOf(damaged);
    TMyElliArc target(&loaded);
    EXPECT_FALSE(LoadShapeFromStream(target, in, loaded.DiskFileVersion()));
}
