// Shapes added by the host from point lists.
#include "canvas/CanvasDrawing.h"

#include <gtest/gtest.h>

using namespace mycad;

TEST(ByCode, PointCountsZoomNamesEventsAndUndo)
{
    TMyCAD cad;
    cad.SetZoom(2.0);
    const TArrMyPoint four{{10, 10}, {110, 10}, {110, 60}, {10, 60}};
    int32_t events = 0;
    cad.OnShapeAdded = [&](TMyShape*& shape, int32_t count) {
        ++events;
        EXPECT_EQ(count, cad.GetShapesCount());
        EXPECT_EQ(shape, cad.GetShapeByNo(count - 1));
    };
    EXPECT_EQ(cad.AddShapeByCode(&cad, TDrawTool::SpRectangle, QString(), four, 2, 0.0, QString()), -1);
    EXPECT_EQ(cad.AddShapeByCode(&cad, TDrawTool::SpRectangle, QString(), four, 4, 0.0, QString()), -1)
        << "high beyond the array";
    EXPECT_EQ(cad.AddShapeByCode(&cad, TDrawTool::SpSelecting, QString(), four, 3, 0.0, QString()), -1);
    EXPECT_EQ(cad.GetShapesCount(), 0);
    EXPECT_EQ(events, 0);
    EXPECT_TRUE(cad.UndoRedoShapes.empty());

    const int32_t id = cad.AddShapeByCode(&cad, TDrawTool::SpRectangle, QStringLiteral("Frame"), four, 3, 0.0,
                                          QStringLiteral("ignored"));
    ASSERT_EQ(id, 0);
    TMyShape* box = cad.GetShapeByID(id);
    EXPECT_EQ(box->ThePoints, (TArrMyPoint{{5, 5}, {55, 5}, {55, 30}, {5, 30}}));
    EXPECT_EQ(box->Name(), QStringLiteral("Frame"));
    EXPECT_EQ(cad.GetShapeByName(QStringLiteral("Shape0")), nullptr);
    EXPECT_TRUE(box->Info().isEmpty()) << "only text shapes take the info argument";
    EXPECT_EQ(box->CenterPoint, (TMyPoint{30, 17.5f}));
    EXPECT_EQ(box->TextOutPoint, (TMyPoint{30, 40}));
    EXPECT_EQ(cad.NextShapeId, 1);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(cad.GetSelectedShape(), box);
    EXPECT_EQ(cad.WorkingShape, box);
    ASSERT_EQ(cad.UndoRedoShapes.size(), 1u);
    EXPECT_EQ(cad.UndoRedoShapes[0].SavedAction, ACT_ADD);

    // Added turned: the angle is applied about the shape's centre.
    const int32_t turned = cad.AddShapeByCode(&cad, TDrawTool::SpLine, QStringLiteral("Axis"),
                                              {{0, 0}, {200, 0}}, 1, std::numbers::pi / 2, QString());
    TMyShape* axis = cad.GetShapeByName(QStringLiteral("Axis"));
    ASSERT_NE(axis, nullptr);
    EXPECT_EQ(axis->ShapeId, turned);
    EXPECT_NEAR(axis->ThePoints[0].X, 50.0, 1e-4);
    EXPECT_NEAR(axis->ThePoints[0].Y, -50.0, 1e-4);
    EXPECT_NEAR(axis->ThePoints[1].Y, 50.0, 1e-4);
}

TEST(ByCode, HostCoordinateSystemsMirrorTheControl)
{
    TMyCAD cad;
    cad.SetPageStyle(TPageStyle::CustomerPage);
    cad.SetBounds(0, 0, 300, 400);
    ASSERT_EQ(cad.Height(), 400);
    cad.SetXYMode(TXYMode::Mode1);
    cad.AddShapeByCode(&cad, TDrawTool::SpLine, QString(), {{0, 0}, {100, 0}}, 1, 0.0, QString());
    EXPECT_EQ(cad.GetShapeByNo(0)->ThePoints, (TArrMyPoint{{0, 400}, {100, 400}}));
    cad.SetXYMode(TXYMode::Mode2);
    cad.AddShapeByCode(&cad, TDrawTool::SpLine, QString(), {{0, 0}, {100, 10}}, 1, 0.0, QString());
    EXPECT_EQ(cad.GetShapeByNo(1)->ThePoints, (TArrMyPoint{{300, 400}, {200, 390}}));
    cad.SetXYMode(TXYMode::Mode3);
    cad.AddShapeByCodeWithoutRepaint(&cad, TDrawTool::SpLine, QString(), {{0, 0}, {100, 10}}, 1, 0.0, QString());
    EXPECT_EQ(cad.GetShapeByNo(2)->ThePoints, (TArrMyPoint{{300, 0}, {200, 10}}));

    // Without a layer nothing is added, announced or recorded.
    cad.DeleteAllLayers();
    int32_t events = 0;
    cad.OnShapeAdded = [&](TMyShape*&, int32_t) { ++events; };
    const size_t steps = cad.UndoRedoShapes.size();
    EXPECT_EQ(cad.AddShapeByCode(&cad, TDrawTool::SpLine, QString(), {{0, 0}, {1, 1}}, 1, 0.0, QString()), -1);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(cad.UndoRedoShapes.size(), steps);
}
