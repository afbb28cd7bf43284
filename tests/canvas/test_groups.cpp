// Making groups.
#include "canvas/CanvasDrawing.h"
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
    EXPECT_EQ(g->ChildShapesNo, (TMyShapeNo{2, 5, 7}));
    for (TMyShape* m : {s2, s5, s7}) EXPECT_EQ(m->ParentShapeNo, 8);
    // The frame is the members' box in document units, whatever the zoom.
    EXPECT_EQ(g->ThePoints, (TArrMyPoint{{40, 10}, {150, 10}, {150, 45}, {40, 45}}));
    EXPECT_EQ(cad.GetSelectedShape(), g);
    EXPECT_EQ(test::UndoActions(cad), std::vector<String>{ACT_GROUP});

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
    EXPECT_EQ(cad.GetUndoStepsCount(), 1);
}
