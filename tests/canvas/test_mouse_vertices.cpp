// Shapes placed vertex by vertex with the mouse on the real widget, and
// vertices removed and inserted by clicks.
#include "canvas/MouseDriver.h"

#include "cad/shapes/PolyLine.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace mycad;
using test::MouseDriver;

namespace {

struct NodeEvents {
    std::vector<std::pair<TMyShape*, int32_t>> deleted;
    std::vector<std::pair<TMyShape*, int32_t>> added;
    explicit NodeEvents(TMyCAD& cad)
    {
        cad.OnNodeDeleted = [this](TMyShape*& s, int32_t k) { deleted.emplace_back(s, k); };
        cad.OnNodeAdded = [this](TMyShape*& s, int32_t k) { added.emplace_back(s, k); };
    }
};

/// A polygon added by code through the given corners; it is left selected.
TMyShape* AddPolygon(TMyCAD& cad, const TArrMyPoint& corners)
{
    const int32_t id = cad.AddShapeByCode(&cad, TDrawTool::SpPolygon, QStringLiteral("P"), corners,
                                          static_cast<int32_t>(corners.size()) - 1, 0.0, String());
    return id < 0 ? nullptr : cad.GetShapeByID(id);
}

const TArrMyPoint kPentagon{{100, 40}, {180, 100}, {150, 190}, {50, 190}, {20, 100}};

} // namespace

TEST(MouseVertices, APolylineClickByClickEndsOnADoubleClick)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    int32_t added = 0;
    cad.OnShapeAdded = [&](TMyShape*&, int32_t) { ++added; };
    cad.SetShapeTool(TDrawTool::SpPolyLine);
    m.Click({20, 20});
    m.Move({70, 20});
    m.Click({70, 20});
    m.Move({70, 70});
    EXPECT_EQ(cad.GetShapesCount(), 0); // still being drawn
    m.DoubleClick({70, 70});
    ASSERT_EQ(cad.GetShapesCount(), 1);
    EXPECT_EQ(added, 1);
    TMyShape* line = cad.GetShapeByNo(0);
    EXPECT_EQ(line->ThePoints, (TArrMyPoint{{20, 20}, {70, 20}, {70, 70}}));
    EXPECT_EQ(dynamic_cast<TMyLine*>(line)->ArrowStyle(), TArrowStyle::ANone);
    EXPECT_EQ(cad.ShapeTool(), TDrawTool::SpSelecting);
    m.Settle();
    EXPECT_EQ(m.Pixel(45, 20), clBlack);
    EXPECT_EQ(m.Pixel(70, 45), clBlack);

    // The Shift key keeps each new segment level or upright from the last vertex.
    cad.SetShapeTool(TDrawTool::SpPolyLine);
    m.Click({100, 100});
    m.Click({150, 104}, Qt::ShiftModifier); // level: (150, 100)
    m.DoubleClick({150, 160}, Qt::ShiftModifier);
    ASSERT_EQ(cad.GetShapesCount(), 2);
    EXPECT_EQ(cad.GetShapeByNo(1)->ThePoints, (TArrMyPoint{{100, 100}, {150, 100}, {150, 160}}));
}

TEST(MouseVertices, APolygonClosesOnItsFirstPoint)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    cad.SetShapeTool(TDrawTool::SpPolygon);
    for (const TPoint p : {TPoint{40, 40}, TPoint{140, 40}, TPoint{140, 140}, TPoint{40, 140}}) m.Click(p);
    EXPECT_EQ(cad.GetShapesCount(), 0);
    m.Click({42, 42}); // within HotSize of the first corner
    ASSERT_EQ(cad.GetShapesCount(), 1);
    TMyShape* polygon = cad.GetShapeByNo(0);
    EXPECT_EQ(polygon->ThePoints, (TArrMyPoint{{40, 40}, {140, 40}, {140, 140}, {40, 140}, {40, 40}}));

    // Dragging its first corner moves the closing point with it.
    m.Drag({40, 40}, {50, 50});
    EXPECT_EQ(polygon->ThePoints.front(), (TMyPoint{50, 50}));
    EXPECT_EQ(polygon->ThePoints.back(), (TMyPoint{50, 50}));

    // ClosePolygon ends one by code after three corners.
    cad.SetShapeTool(TDrawTool::SpPolygon);
    for (const TPoint p : {TPoint{200, 40}, TPoint{300, 40}, TPoint{300, 140}}) m.Click(p);
    cad.ClosePolygon();
    ASSERT_EQ(cad.GetShapesCount(), 2);
    EXPECT_EQ(cad.GetShapeByNo(1)->ThePoints, (TArrMyPoint{{200, 40}, {300, 40}, {300, 140}, {200, 40}}));
    // With nothing being drawn it does nothing.
    cad.ClosePolygon();
    EXPECT_EQ(cad.GetShapesCount(), 2);
}

TEST(MouseVertices, AFreehandLineTakesAPointPerMove)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    cad.SetShapeTool(TDrawTool::SpFreeLine);
    m.Move({30, 30}); // no point while the button is up
    m.Press({30, 30});
    m.Move({40, 35});
    m.Move({55, 50});
    m.Move({70, 52});
    m.Move({90, 80});
    m.Release({90, 80});
    ASSERT_EQ(cad.GetShapesCount(), 1);
    TMyShape* line = cad.GetShapeByNo(0);
    EXPECT_EQ(line->ThePoints, (TArrMyPoint{{30, 30}, {40, 35}, {55, 50}, {70, 52}, {90, 80}}));
    // Anywhere in its box hits it.
    EXPECT_TRUE(line->IsClickedMe(cad.Canvas(), {85, 35}));
    EXPECT_FALSE(line->IsClickedMe(cad.Canvas(), {95, 35}));
}

TEST(MouseVertices, RemovingVerticesRefusesTooFewCornersAndTheClosingPoint)
{
    MouseDriver m;
    NodeEvents events(m.cad);
    TMyShape* pentagon = AddPolygon(m.cad, kPentagon);
    ASSERT_NE(pentagon, nullptr);
    const int32_t before = m.cad.GetUndoStepsCount();
    m.cad.SetShapeTool(TDrawTool::SpPolylinePolygonPointRemoving);
    // The first corner is found as the closing point, which cannot go.
    m.Click({101, 41});
    ASSERT_EQ(events.deleted.size(), 1u);
    EXPECT_EQ(events.deleted[0], std::make_pair(pentagon, -7));
    events.deleted.clear();
    EXPECT_EQ(pentagon->GetPointsCount(), 6);

    // A click off every corner is no hit and fires nothing.
    m.Click({100, 120});
    EXPECT_TRUE(events.deleted.empty());

    m.Click({150, 190});
    ASSERT_EQ(events.deleted.size(), 1u);
    EXPECT_EQ(events.deleted[0], std::make_pair(pentagon, 2));
    EXPECT_EQ(pentagon->ThePoints, (TArrMyPoint{{100, 40}, {180, 100}, {50, 190}, {20, 100}, {100, 40}}));
    EXPECT_EQ(m.cad.GetUndoStepsCount(), before + 1);
    EXPECT_EQ(m.cad.UndoRedoShapes.back().SavedAction, ACT_CHANGE);

    // Down to a triangle nothing more may go.
    m.Click({50, 190});
    ASSERT_EQ(events.deleted.size(), 2u);
    EXPECT_EQ(events.deleted[1].second, 2);
    m.Click({20, 100});
    ASSERT_EQ(events.deleted.size(), 3u);
    EXPECT_EQ(events.deleted[2].second, -8);
    EXPECT_EQ(pentagon->ThePoints, (TArrMyPoint{{100, 40}, {180, 100}, {20, 100}, {100, 40}}));
    EXPECT_EQ(m.cad.GetUndoStepsCount(), before + 2) << "a refused removal records nothing";
}

TEST(MouseVertices, RemovingFromAPolylineKeepsTwoPoints)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    NodeEvents events(cad);
    const TArrMyPoint open{{10, 100}, {60, 120}, {110, 100}};
    const int32_t id = cad.AddShapeByCode(&cad, TDrawTool::SpPolyLine, QStringLiteral("L"), open, 2, 0.0, String());
    TMyShape* line = cad.GetShapeByID(id);
    ASSERT_NE(line, nullptr);
    cad.SetShapeTool(TDrawTool::SpPolylinePolygonPointRemoving);
    m.Click({10, 100});
    m.Click({60, 120});
    ASSERT_EQ(events.deleted.size(), 2u);
    EXPECT_EQ(events.deleted[0].second, 0);
    EXPECT_EQ(events.deleted[1].second, -8);
    EXPECT_EQ(line->ThePoints, (TArrMyPoint{{60, 120}, {110, 100}}));
}

TEST(MouseVertices, InsertingAVertexOnAnEdgeIsOneUndoStep)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    NodeEvents events(cad);
    TMyShape* square = AddPolygon(cad, {{40, 40}, {140, 40}, {140, 140}, {40, 140}});
    ASSERT_NE(square, nullptr);
    const TArrMyPoint original = square->ThePoints;
    const int32_t steps = cad.GetUndoStepsCount();
    cad.SetShapeTool(TDrawTool::SpPolylinePolygonPointAdding);
    m.Click({140, 90});
    ASSERT_EQ(events.added.size(), 1u);
    EXPECT_EQ(events.added[0], std::make_pair(square, 2));
    EXPECT_EQ(square->ThePoints, (TArrMyPoint{{40, 40}, {140, 40}, {140, 90}, {140, 140}, {40, 140}, {40, 40}}));
    EXPECT_EQ(cad.GetUndoStepsCount(), steps + 1);
    EXPECT_EQ(cad.UndoRedoShapes.back().SavedAction, ACT_CHANGE);

    // Undoing the step gives the square back.
    cad.PopFromUndoRedoShapeList();
    EXPECT_EQ(cad.GetShapeByNo(0)->ThePoints, original);

    // At zoom 2 the inserted point is stored in document units.
    cad.SetZoom(2.0);
    cad.SelectShapeByCode(cad.GetShapeByNo(0)->ShapeId, true);
    cad.SetShapeTool(TDrawTool::SpPolylinePolygonPointAdding);
    m.Click({200, 80});
    EXPECT_EQ(cad.GetShapeByNo(0)->ThePoints[1], (TMyPoint{100, 40}));
}
