// Making and dissolving groups, and how deletion treats nested containers.
#include "support/ShapeState.h"
#include "canvas/test_paint_helpers.h"
#include "cad/shapes/Group.h"

#include <gtest/gtest.h>

using namespace mycad;

namespace {

TMyShape* Rect(TMyCAD& cad, float x, float y) { return test::AddBox(cad, x, y, x + 10, y + 10, clWhite); }

} // namespace

TEST(Groups, GroupingFramesSortsAndSelects)
{
    TMyCAD cad;
    cad.SetZoom(2.0);
    for (int i = 0; i < 8; ++i) Rect(cad, float(i * 20), float(i * 5));
    TMyShape* s5 = cad.GetShapeByNo(5);
    TMyShape* s2 = cad.GetShapeByNo(2);
    TMyShape* s7 = cad.GetShapeByNo(7);
    const int32_t nextId = cad.NextShapeId;

    const int32_t id = cad.GroupShapes({s5, s2, s7}, true);
    ASSERT_EQ(id, nextId);
    TMyShape* g = cad.GetShapeByID(id);
    ASSERT_NE(dynamic_cast<TMyGroup*>(g), nullptr);
    EXPECT_EQ(g->ShapeNo, 8);
    EXPECT_EQ(g->Name(), QStringLiteral("Shape") + QString::number(id));
    EXPECT_EQ(g->ChildShapesNo, (TMyShapeNo{2, 5, 7}));
    for (TMyShape* m : {s2, s5, s7}) EXPECT_EQ(m->ParentShapeNo, 8);
    // The frame is the members' box in document units, whatever the zoom.
    EXPECT_EQ(g->ThePoints, (TArrMyPoint{{40, 10}, {150, 10}, {150, 45}, {40, 45}}));
    EXPECT_EQ(g->TextOutPoint, (TMyPoint{95, 55}));
    EXPECT_EQ(cad.GetSelectedShape(), g);
    EXPECT_EQ(cad.WorkingShape, g);
    ASSERT_EQ(cad.UndoRedoShapes.size(), 1u);
    EXPECT_EQ(cad.UndoRedoShapes[0].SavedAction, ACT_GROUP);

    // Refused: another layer, a hidden shape, a member of a group, nothing.
    TMyShape* s0 = cad.GetShapeByNo(0);
    TMyShape* s1 = cad.GetShapeByNo(1);
    s1->LayerId = 7;
    EXPECT_EQ(cad.GroupShapes({s0, s1}, true), -1);
    s1->LayerId = s0->LayerId;
    s1->SetVisible(false);
    EXPECT_EQ(cad.GroupShapes({s0, s1}, true), -1);
    EXPECT_EQ(cad.GroupShapes({s0, s2}, true), -1);
    EXPECT_EQ(cad.GroupShapes({}, true), -1);
    EXPECT_EQ(cad.GetShapesCount(), 9);
    EXPECT_EQ(cad.UndoRedoShapes.size(), 1u);
}

TEST(Groups, UngroupingAndDeletingNestedContainers)
{
    // outer = {inner = {r0, r1}, line}
    auto build = [](TMyCAD& cad) {
        TMyShape* r0 = Rect(cad, 0, 0);
        TMyShape* r1 = Rect(cad, 30, 0);
        const int32_t inner = cad.GroupShapes({r0, r1}, false);
        TMyShape* line = cad.CreateAddShapeByName(QStringLiteral("TMyLine"));
        line->ThePoints = {{0, 50}, {40, 60}};
        return cad.GroupShapes({cad.GetShapeByID(inner), line}, false);
    };

    TMyCAD cad;
    Rect(cad, 100, 100); // a bystander below
    const int32_t outer = build(cad);
    ASSERT_EQ(cad.GetShapesCount(), 6);
    std::vector<TMyShape*> deleted;
    cad.OnShapeDeleted = [&](TMyShape* s) { deleted.push_back(s); };
    EXPECT_TRUE(cad.DeleteShapeById(outer, false));
    EXPECT_EQ(cad.GetShapesCount(), 1);
    EXPECT_EQ(deleted.size(), 1u) << "once per deleted top shape";

    TMyCAD other;
    Rect(other, 100, 100);
    const int32_t outer2 = build(other);
    TMyShape* innerGroup = other.GetShapeByNo(3);
    TMyShape* line = other.GetShapeByNo(4);
    other.UnGroupShape(other.GetShapeByID(outer2), true);
    ASSERT_EQ(other.GetShapesCount(), 5);
    EXPECT_EQ(other.GetShapeByID(outer2), nullptr);
    EXPECT_EQ(innerGroup->ParentShapeNo, -1);
    EXPECT_EQ(line->ParentShapeNo, -1);
    EXPECT_EQ(innerGroup->ChildShapesNo, (TMyShapeNo{1, 2}));
    EXPECT_EQ(other.GetShapeByNo(1)->ParentShapeNo, 3);
    EXPECT_TRUE(other.WorkingShapes.empty());
    ASSERT_FALSE(other.UndoRedoShapes.empty());
    EXPECT_EQ(other.UndoRedoShapes.front().SavedAction, ACT_UNGROUP);
    EXPECT_EQ(other.UndoRedoShapes.size(), 3u); // the group and its two direct members

    // Only a top-level container can be dissolved.
    const auto before = test::DocumentState(other);
    other.UnGroupShape(other.GetShapeByNo(1), true);
    other.UnGroupShape(nullptr, true);
    EXPECT_EQ(test::DocumentState(other), before);
}

TEST(Groups, ContainersDrawOnlyTheirInformationText)
{
    TMyCAD cad;
    TMyShape* a = Rect(cad, 10, 10);
    TMyShape* b = Rect(cad, 40, 10);
    TMyShape* g = cad.GetShapeByID(cad.GroupShapes({a, b}, false));
    TBitmap bmp(80, 60);
    TCanvas& c = bmp.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect({0, 0, 80, 60});
    g->Pen().SetColor(clRed);
    g->Draw(c);
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 80; ++x) ASSERT_EQ(c.Pixel(x, y), clWhite) << x << "," << y;
    g->SetInfo(QStringLiteral("Group"));
    g->Draw(c);
    int32_t inked = 0;
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 80; ++x) inked += c.Pixel(x, y) != clWhite ? 1 : 0;
    EXPECT_GT(inked, 10);
}
