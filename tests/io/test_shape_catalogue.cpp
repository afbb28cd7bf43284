// The shape catalogue, walked row by row: every class is made by its tool and
// by its name, copied, stored and read back, drawn, and its rubber bands
// erase themselves. A class gets these checks by getting its row.
#include "DxfSamples.h"
#include "IoTestSupport.h"

#include "cad/canvas/ShapeCatalogue.h"
#include "cad/connectors/LinkPoint.h"
#include "cad/io/ShapeRecords.h"
#include "cad/shapes/Ellipse.h"
#include "cad/shapes/RuleLine.h"
#include "cad/shapes/Text.h"
#include "cad/shapes/ShapeDraw.h"
#include "shapes/Surface.h"

using namespace mycad;
using namespace iotest;
using mycad::test::Surface;

namespace {

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

} // namespace

TEST(ShapeCatalogue, EveryClassIsMadeCopiedStoredDrawnAndBanded)
{
    std::vector<String> seen{QStringLiteral("TMyShape")};
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
        EXPECT_EQ(byName->Owner(), &cad);
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
        const bool onlyFrame = DxfLines(DxfDocument(cad, false)).size() == 8;
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
