// Polylines, polygons and freehand lines saved and loaded again.
#include "DocumentSamples.h"

#include "cad/shapes/PolyLine.h"

using namespace mycad;
using namespace iotest;

TEST(PolyLineFile, TheManyPointLinesComeBackAsTheirOwnClasses)
{
    TMyCAD cad;
    const TArrMyPoint corners{{10, 10}, {90, 15}, {60, 80}, {20, 70}};
    ASSERT_GE(cad.AddShapeByCode(&cad, TDrawTool::SpPolyLine, QStringLiteral("open"), corners, 3, 0.0, String()), 0);
    ASSERT_GE(cad.AddShapeByCode(&cad, TDrawTool::SpPolygon, QStringLiteral("closed"), corners, 3, 0.0, String()), 0);
    std::unique_ptr<TMyShape> free = cad.CreateShapeBySpTool(TDrawTool::SpFreeLine);
    ASSERT_NE(free, nullptr);
    free->ThePoints = {{100.5f, 20.25f}, {101, 22}, {104, 27}, {110, 30}};
    free->SetName(QStringLiteral("free"));
    // As drawing with the mouse leaves it.
    free->ShapeNo = cad.GetShapesCount();
    free->CenterPoint = free->ComputeCenterPoint(4);
    ASSERT_TRUE(cad.AddShape(free, false, false));
    // An arrow style set on a polyline after it was made is kept.
    auto* open = dynamic_cast<TMyPolyLine*>(cad.GetShapeByNo(0));
    ASSERT_NE(open, nullptr);
    open->SetArrowStyle(TArrowStyle::ARight);
    ASSERT_NE(dynamic_cast<TMyPolygon*>(cad.GetShapeByNo(1)), nullptr);
    cad.GetShapeByNo(1)->GetInfo();

    const std::vector<uint8_t> bytes = SavedBytes(cad);
    TMyCAD loaded;
    ASSERT_TRUE(LoadBytes(loaded, bytes));
    ASSERT_EQ(loaded.GetShapesCount(), 3);
    for (int32_t i = 0; i < 3; ++i) ExpectSameShape(*cad.GetShapeByNo(i), *loaded.GetShapeByNo(i), i);
    auto* openBack = dynamic_cast<TMyPolyLine*>(loaded.GetShapeByNo(0));
    ASSERT_NE(openBack, nullptr);
    EXPECT_EQ(openBack->ArrowStyle(), TArrowStyle::ARight);
    auto* polygonBack = dynamic_cast<TMyPolygon*>(loaded.GetShapeByNo(1));
    ASSERT_NE(polygonBack, nullptr);
    EXPECT_EQ(polygonBack->ThePoints.size(), 5u);
    EXPECT_EQ(polygonBack->ThePoints.front(), polygonBack->ThePoints.back());
    EXPECT_EQ(polygonBack->Info(), cad.GetShapeByNo(1)->Info());
    EXPECT_FALSE(polygonBack->Info().isEmpty());
    EXPECT_NE(dynamic_cast<TMyFreeLine*>(loaded.GetShapeByNo(2)), nullptr);
    EXPECT_EQ(SavedBytes(loaded), bytes);
}
