// Selecting, dragging, sizing and rotating with the mouse on the real widget.
#include "canvas/CanvasDrawing.h"
#include "support/ShapeState.h"
#include "canvas/MouseDriver.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace mycad;
using test::MouseDriver;

namespace {

TMyShape* Box(TMyCAD& cad, float x, float y, float w, float h)
{
    return cad.GetShapeByID(test::BoxByCode(cad, x, y, w, h));
}

TMyRect BoxOf(TMyCAD& cad, const TMyShape* s) { return cad.GetShapesLTRB({const_cast<TMyShape*>(s)}); }

} // namespace

TEST(MouseSelect, ClicksShiftClicksAndTheRubberBand)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    cad.SetShapeTool(TDrawTool::SpSelecting);
    TMyShape* a = Box(cad, 20, 20, 40, 30);
    TMyShape* b = Box(cad, 100, 20, 40, 30);
    TMyShape* c = Box(cad, 200, 150, 40, 30);
    cad.DeSelectedAllShapesByCode();
    std::vector<std::pair<TMyShape*, TMyShape*>> selected;
    cad.OnShapeSelected = [&](TMyShape* first, TMyShape* s) { selected.emplace_back(first, s); };
    int32_t clicks = 0;
    b->OnClick = [&](TShapeOwner* sender) { clicks += sender == &cad ? 1 : 0; };

    m.Click({40, 35});
    EXPECT_EQ(cad.GetSelectedShape(), a);
    m.Click({120, 35}, Qt::ShiftModifier);
    EXPECT_EQ(cad.GetSelectedShapesCount(), 2);
    EXPECT_EQ(selected.back(), (std::pair<TMyShape*, TMyShape*>{nullptr, b}));
    m.Click({40, 35}, Qt::ShiftModifier);
    EXPECT_EQ(cad.GetSelectedShape(), b) << "Shift-clicking a selected shape removes it";
    EXPECT_EQ(clicks, 0) << "adding with Shift is no click on the shape";
    m.Click({120, 35});
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(cad.GetSelectedShape(), b);

    // Empty space clears the selection and says what was selected first.
    selected.clear();
    m.Click({330, 100});
    EXPECT_EQ(cad.GetSelectedShapesCount(), 0);
    ASSERT_FALSE(selected.empty());
    EXPECT_EQ(selected.front(), (std::pair<TMyShape*, TMyShape*>{b, nullptr}));

    // A rubber band around a and b selects both, not c; b's right edge is
    // on the band's, which is still inside. The band leaves no trace.
    m.Drag({10, 10}, {140, 70});
    EXPECT_EQ(cad.GetSelectedShapesCount(), 2);
    EXPECT_GE(cad.IsInWorkingShape(a), 0);
    EXPECT_GE(cad.IsInWorkingShape(b), 0);
    EXPECT_EQ(cad.IsInWorkingShape(c), -1);
    EXPECT_EQ(cad.UndoRedoShapes.size(), 3u) << "selecting records nothing";
}

TEST(MouseSelect, DragModesTraceAndLockedBounds)
{
    for (const auto mode : {TDragMode::dgVert, TDragMode::dgHorz}) {
        MouseDriver m;
        TMyCAD& cad = m.cad;
        cad.SetZoom(2.0);
        cad.SetShapeTool(TDrawTool::SpSelecting);
        TMyShape* a = Box(cad, 20, 20, 20, 20);
        cad.ClearAllUndoStuff();
        cad.SetDragMode(mode);
        m.Drag({60, 60}, {90, 60});
        if (mode == TDragMode::dgVert) {
            EXPECT_EQ(BoxOf(cad, a).Left, 20.0f);
            EXPECT_EQ(cad.GetUndoStepsCount(), 0) << "no movement, nothing recorded";
        } else {
            EXPECT_EQ(BoxOf(cad, a).Left, 35.0f); // 30 device pixels at zoom 2
            EXPECT_EQ(cad.GetUndoStepsCount(), 1);
        }
    }

    // Without a trace nothing is drawn while dragging; the drop still moves.
    MouseDriver m;
    TMyCAD& cad = m.cad;
    cad.SetShapeTool(TDrawTool::SpSelecting);
    TMyShape* a = Box(cad, 20, 100, 40, 40);
    m.Settle();
    cad.SetDragTrace(false);
    m.Press({40, 120});
    m.Settle();
    const QImage before = cad.Surface().copy();
    m.Move({60, 130});
    m.Move({80, 140});
    EXPECT_EQ(cad.Surface(), before);
    m.Release({80, 140});
    EXPECT_EQ(BoxOf(cad, a).Left, 60.0f);

    // With LockBound the box, 20 pixels from the left edge, goes at most 20
    // pixels left however far the mouse goes.
    cad.SetLockBound(true);
    cad.SetDragTrace(true);
    a->ThePoints = {{20, 100}, {60, 100}, {60, 140}, {20, 140}};
    a->CenterPoint = a->ComputeCenterPoint(4);
    m.Drag({40, 120}, {-30, 120});
    EXPECT_EQ(BoxOf(cad, a).Left, 0.0f);
    // Into the top-left corner and beyond: the box stops in the corner.
    m.Drag({20, 120}, {-50, -80});
    EXPECT_EQ(BoxOf(cad, a).Left, 0.0f);
    EXPECT_EQ(BoxOf(cad, a).Top, 0.0f);
    // And into the bottom-right one of the 400 x 300 control, whose last
    // column and row are 399 and 299: the outline stays on them.
    m.Drag({20, 20}, {500, 450});
    EXPECT_EQ(BoxOf(cad, a).Right, 399.0f);
    EXPECT_EQ(BoxOf(cad, a).Bottom, 299.0f);
}

TEST(MouseSelect, SizingWithShiftAndRotatingWithAConstraint)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    cad.SetShapeTool(TDrawTool::SpSelecting);
    TMyShape* r = Box(cad, 100, 100, 80, 40);
    // Handle 2 (right-bottom) pulled with Shift: square on the opposite corner.
    int32_t resized = 0;
    cad.OnShapeMouseResizeFinished = [&](TMyShape*, const TPoint&, TPoint&) { ++resized; };
    m.Drag({180, 140}, {250, 160}, Qt::ShiftModifier);
    EXPECT_EQ(resized, 1);
    TMyRect box = BoxOf(cad, r);
    EXPECT_EQ(box.Left, 100.0f);
    EXPECT_EQ(box.Top, 100.0f);
    EXPECT_EQ(box.Right - box.Left, box.Bottom - box.Top);
    EXPECT_EQ(cad.UndoRedoShapes.back().SavedAction, ACT_CHANGE);

    // A turned rectangle stays square in its own frame.
    cad.DeleteAllShapes();
    TMyShape* turned = Box(cad, 150, 100, 60, 60);
    cad.Rotate(turned, static_cast<float>(std::numbers::pi / 6));
    const TPoint corner = MyPtToPt(turned->GetPointInZoom(2));
    m.Drag(corner, {corner.X + 20, corner.Y + 40}, Qt::ShiftModifier);
    // In the shape's frame the pull is about 37 across and 25 down: the
    // square takes the smaller, 60 + 25.
    EXPECT_NEAR(turned->GetMyWidth(), turned->GetMyHeight(), 1.5);
    EXPECT_NEAR(turned->GetMyWidth(), 84.6, 1.5);
    EXPECT_NEAR(turned->Angle(), std::numbers::pi / 6, 1e-5);

    // Rotating by a handle with a 15-degree step: a pull of about 50 degrees
    // turns by 45.
    cad.DeleteAllShapes();
    cad.SetRotateConstraintDegree(15);
    TMyShape* s = Box(cad, 150, 100, 100, 100); // centre (200, 150)
    cad.SetShapeTool(TDrawTool::SpRotateSelecting);
    cad.SelectShapeByCode(s->ShapeId, true);
    const double a0 = std::atan2(100.0 - 150.0, 250.0 - 200.0);
    const double a1 = a0 + 50.0 * std::numbers::pi / 180.0;
    const double radius = std::hypot(50.0, 50.0);
    const TPoint to{RoundToInt(200 + radius * std::cos(a1)), RoundToInt(150 + radius * std::sin(a1))};
    m.Drag({250, 100}, to);
    EXPECT_EQ(cad.ActionTool(), TActionTools::dtRotateSelecting);
    const TMyPoint p1 = s->ThePoints[1];
    const double turnedBy = std::atan2(p1.Y - 150.0, p1.X - 200.0) - a0;
    EXPECT_NEAR(turnedBy, std::numbers::pi / 4, 1e-4);
}

// Each of a box's eight handles, pulled with the mouse, moves its own corner
// or side and leaves the opposite ones in place; a side moves only across
// itself, and a pull past the opposite side is refused.
TEST(MouseSelect, EveryHandleOfABoxSizesItsOwnCornerOrSide)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    cad.SetShapeTool(TDrawTool::SpSelecting);
    TMyShape* r = Box(cad, 100, 100, 80, 40);
    const struct {
        int32_t Hot;
        TPoint To;
        TMyRect Box;
    } cases[] = {
        {0, {90, 90}, {90, 90, 180, 140}},   {1, {190, 90}, {100, 90, 190, 140}},
        {2, {190, 150}, {100, 100, 190, 150}}, {3, {90, 150}, {90, 100, 180, 150}},
        {4, {147, 90}, {100, 90, 180, 140}},  {5, {190, 127}, {100, 100, 190, 140}},
        {6, {147, 150}, {100, 100, 180, 150}}, {7, {90, 127}, {90, 100, 180, 140}},
        {2, {100, 140}, {100, 100, 100, 140}}, // onto the opposite column: allowed
        {2, {95, 150}, {100, 100, 180, 140}},  // past it: refused
        {5, {190, 150}, {100, 100, 180, 140}}, // a side pulled below the bottom: refused
    };
    for (const auto& c : cases) {
        r->ThePoints = {{100, 100}, {180, 100}, {180, 140}, {100, 140}};
        r->CenterPoint = r->ComputeCenterPoint(4);
        cad.Invalidate();
        const TPoint handle = MyPtToPt(r->GetPointInZoom(c.Hot));
        m.Drag(handle, c.To);
        const TMyRect box = BoxOf(cad, r);
        EXPECT_EQ((std::vector<float>{box.Left, box.Top, box.Right, box.Bottom}),
                  (std::vector<float>{c.Box.Left, c.Box.Top, c.Box.Right, c.Box.Bottom}))
            << "handle " << c.Hot << " to " << c.To.X << "," << c.To.Y;
    }
}

TEST(MouseSelect, SmallShapesGroupMembersTextAnchorsAndBrowsing)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    cad.SetShapeTool(TDrawTool::SpSelecting);
    TMyShape* big = Box(cad, 50, 50, 200, 150);
    TMyShape* small = Box(cad, 60, 60, 20, 20);
    // Send the small one below the big one so a plain click finds the big one.
    cad.SendToBack(small, false);
    cad.SelectShapeByCode(big->ShapeId, true);
    m.Click({70, 70});
    EXPECT_EQ(cad.GetSelectedShape(), small) << "a click without movement picks the small shape";
    cad.SelectShapeByCode(big->ShapeId, true);
    m.Drag({70, 70}, {90, 80});
    EXPECT_EQ(cad.GetSelectedShape(), big);
    EXPECT_EQ(BoxOf(cad, big).Left, 70.0f);
    EXPECT_EQ(BoxOf(cad, small).Left, 60.0f);

    // A group member clicked inside the selected group.
    cad.DeleteAllShapes();
    TMyShape* m1 = Box(cad, 20, 20, 40, 40);
    TMyShape* m2 = Box(cad, 100, 20, 40, 40);
    const int32_t groupId = cad.GroupShapes({m1, m2}, false);
    bool offered = false;
    cad.OnChildShapeSelected = [&](TMyShape* child, bool& accept) {
        offered = child == m2;
        accept = true;
    };
    m.Click({120, 40});
    EXPECT_TRUE(offered);
    EXPECT_EQ(cad.ChildWorkingShape, m2);
    EXPECT_EQ(cad.GetSelectedShape(), cad.GetShapeByID(groupId));

    // Dragging a text anchor moves only the anchor, without an undo step.
    cad.DeleteAllShapes();
    TMyShape* labelled = Box(cad, 100, 100, 60, 40);
    labelled->SetInfo(QStringLiteral("note"));
    const TPoint anchor = MyPtToPt(labelled->TextOutPoint);
    const size_t steps = cad.UndoRedoShapes.size();
    m.Drag(anchor, {anchor.X + 40, anchor.Y + 20});
    EXPECT_EQ(labelled->TextOutPoint, (TMyPoint{float(anchor.X + 40), float(anchor.Y + 20)}));
    EXPECT_EQ(BoxOf(cad, labelled).Left, 100.0f);
    EXPECT_EQ(cad.UndoRedoShapes.size(), steps);

    // Browsing selects and reports but never moves anything.
    cad.DeleteAllShapes();
    TMyShape* x = Box(cad, 20, 20, 40, 40);
    cad.DeSelectedAllShapesByCode();
    cad.SetShapeTool(TDrawTool::SpBrowse);
    int32_t reports = 0;
    cad.OnShapeSelected = [&](TMyShape*, TMyShape* s) { reports += s == x ? 1 : 0; };
    m.Drag({40, 40}, {120, 100});
    EXPECT_EQ(cad.GetSelectedShape(), x);
    EXPECT_EQ(BoxOf(cad, x).Left, 20.0f);
    EXPECT_EQ(cad.ActionTool(), TActionTools::dtBrowse);
    EXPECT_GE(reports, 1);
}

TEST(MouseSelect, HostCoordinatesSteerTheDropAndTheWholeDrawingMoves)
{
    MouseDriver m;
    TMyCAD& cad = m.cad;
    cad.SetShapeTool(TDrawTool::SpSelecting);
    cad.SetXYMode(TXYMode::Mode1);
    TMyShape* a = Box(cad, 100, 100, 40, 40); // given in the host's system: y up
    const float top = BoxOf(cad, a).Top;
    TPoint from;
    cad.OnShapeMouseDragged = [&](TMyShape*, const TPoint& f, TPoint& to) {
        from = f;
        to.Y -= 10; // lower in the host's system is further down on the control
    };
    const TPoint inside{120, RoundToInt(top) + 20};
    m.Drag(inside, {inside.X + 30, inside.Y});
    EXPECT_EQ(from, (TPoint{inside.X, cad.Height() - inside.Y}));
    EXPECT_EQ(BoxOf(cad, a).Left, 130.0f);
    EXPECT_EQ(BoxOf(cad, a).Top, top + 10.0f);

    // The whole drawing moves with the drag-whole tool, as one undo step.
    cad.SetXYMode(TXYMode::Mode0);
    TMyShape* b = Box(cad, 300, 20, 10, 10);
    int32_t wholeDragged = 0;
    cad.OnWholeDragged = [&] { ++wholeDragged; };
    const int32_t steps = cad.GetUndoStepsCount();
    cad.Global_Changed = false;
    cad.SetShapeTool(TDrawTool::SpDragWhole);
    m.Drag({10, 290}, {10, 290}); // a click moves nothing and changes nothing
    EXPECT_FALSE(cad.Global_Changed);
    m.Drag({10, 290}, {0, 280});
    EXPECT_EQ(BoxOf(cad, a).Left, 120.0f);
    EXPECT_EQ(BoxOf(cad, b).Top, 10.0f);
    EXPECT_EQ(wholeDragged, 1);
    EXPECT_EQ(cad.GetUndoStepsCount(), steps + 1);
    EXPECT_EQ(cad.ActionTool(), TActionTools::dtDragWhole);
    cad.PopFromUndoRedoShapeList();
    EXPECT_EQ(BoxOf(cad, cad.GetShapeByID(a->ShapeId)).Left, 130.0f);
    EXPECT_EQ(BoxOf(cad, cad.GetShapeByID(b->ShapeId)).Top, 20.0f);
}
