// Connectors on the canvas: attaching by code and by the mouse, routes that
// follow their shapes, ends freed by moves and deletions, junctions that
// split connectors, undo and redo. Hops are painted in the avoiding-router
// tests.
#include "support/LinkedBoxes.h"
#include "canvas/MouseDriver.h"

#include "cad/connectors/LinkLine.h"
#include "cad/connectors/LinkPoint.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace mycad;

namespace {

constexpr auto Box = &test::LinkedBox;

constexpr auto Link = &test::LinkBoxes;

bool Lists(const TMyShape& s, const TMyShape& line)
{
    return std::count(s.LinkShapesNo.begin(), s.LinkShapesNo.end(), static_cast<uint32_t>(line.ShapeNo)) == 1;
}

/// Every segment horizontal or vertical, from link point to link point.
void ExpectRoutedBetween(const TMyLinkLine& line, const TMyPoint& from, const TMyPoint& to)
{
    const TArrMyPoint& p = line.ThePoints;
    ASSERT_GE(p.size(), 2u);
    EXPECT_EQ(p.front(), from);
    EXPECT_EQ(p.back(), to);
    for (size_t i = 0; i + 1 < p.size(); ++i) EXPECT_TRUE(p[i].X == p[i + 1].X || p[i].Y == p[i + 1].Y) << i;
}

} // namespace

TEST(Connectors, CreateLinkAttachesBothSidesAndIsLinkedFindsTheFirst)
{
    TMyCAD cad;
    TMyShape* a = Box(cad, 0, 0, 100, 50);
    TMyShape* b = Box(cad, 200, 100, 300, 160);
    const int32_t count = cad.GetShapesCount();
    EXPECT_EQ(cad.CreateLink(QStringLiteral("x"), a, 4, b, 0), -1);
    EXPECT_EQ(cad.CreateLink(QStringLiteral("x"), nullptr, 0, b, 0), -1);
    EXPECT_EQ(cad.GetShapesCount(), count);

    TMyLinkLine* first = Link(cad, a, 1, b, 3);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->StartSpNo(), a->ShapeNo);
    EXPECT_EQ(first->EndSpPtId(), 3);
    EXPECT_TRUE(Lists(*a, *first) && Lists(*b, *first));
    ExpectRoutedBetween(*first, {100, 25}, {200, 130});
    EXPECT_EQ(first->ThePoints[1], (TMyPoint{125, 25})) << "leaves 25 outside the box";
    EXPECT_EQ(cad.GetSelectedShape(), first);
    EXPECT_EQ(cad.UndoRedoShapes.back().SavedAction, ACT_ADD);

    TMyLinkLine* second = Link(cad, b, 0, a, 2);
    EXPECT_EQ(cad.IsLinked(a, b), first->ShapeId);
    EXPECT_EQ(cad.IsLinked(b, a), first->ShapeId);
    std::swap(a->LinkShapesNo[0], a->LinkShapesNo[1]);
    EXPECT_EQ(cad.IsLinked(a, b), second->ShapeId) << "the order of the first shape's list decides";
    EXPECT_EQ(cad.IsLinked(a, Box(cad, 0, 300, 10, 310)), -1);
}

TEST(Connectors, RoutesFollowMovedShapesAndUserShapedRoutesKeepTheirMiddle)
{
    TMyCAD cad;
    TMyShape* a = Box(cad, 0, 0, 100, 50);
    TMyShape* b = Box(cad, 300, 200, 400, 260);
    TMyLinkLine* line = Link(cad, a, 1, b, 3);
    cad.Move(b, 0, 100);
    ExpectRoutedBetween(*line, {100, 25}, {300, 330});

    // A drag of the middle segment, in any direction, makes the route the user's.
    const int32_t count = line->GetPointsCount();
    line->SelectedHotId = count + count / 2 - 1;
    line->SizeChangeValue({0, 0}, {-12, -9});
    EXPECT_FALSE(line->IsAutoMode);
    const TArrMyPoint shaped = line->ThePoints;
    ASSERT_GE(shaped.size(), 5u);
    cad.Move(a, 0, 30);
    const TArrMyPoint& now = line->ThePoints;
    EXPECT_EQ(now.front(), (TMyPoint{100, 55}));
    ASSERT_GE(now.size(), shaped.size() - 3);
    EXPECT_TRUE(std::equal(shaped.begin() + 3, shaped.end(), now.end() - static_cast<std::ptrdiff_t>(shaped.size() - 3)))
        << "the points from index 3 on stay as they were";
}

TEST(Connectors, AConnectorDraggedAloneLetsGoAndDraggedWithItsShapesHoldsOn)
{
    TMyCAD cad;
    TMyShape* a = Box(cad, 0, 0, 100, 50);
    TMyShape* b = Box(cad, 300, 0, 400, 50);
    TMyLinkLine* line = Link(cad, a, 1, b, 3);
    cad.SelectAllShapes();
    for (TMyShape* s : TArrMyShapeRef(cad.WorkingShapes)) cad.DragChangeValueDxDyforShapes(s, 40, 10);
    for (TMyShape* s : TArrMyShapeRef(cad.WorkingShapes)) cad.ChangeLinkShapes(s);
    EXPECT_TRUE(line->IsStartAttached() && line->IsEndAttached());
    ExpectRoutedBetween(*line, {140, 35}, {340, 35});

    cad.SelectShapeByCode(line->ShapeId, true);
    cad.DragChangeValueDxDyforShapes(line, 0, 80);
    EXPECT_EQ(line->StartSpNo(), -1);
    EXPECT_EQ(line->EndSpPtId(), -1);
    EXPECT_TRUE(a->LinkShapesNo.empty() && b->LinkShapesNo.empty());
}

TEST(Connectors, HandlesOfARouteAndTheSegmentHandleWinning)
{
    TMyCAD cad;
    auto line = std::make_unique<TMyLinkLine>(&cad);
    line->ThePoints = {{0, 0}, {6, 0}, {6, 100}};
    EXPECT_EQ(line->InWhichHot({3, 0}), 3) << "segment 0's centre beats both of its ends";
    EXPECT_EQ(line->InWhichHot({6, 99}), 2);
    EXPECT_EQ(line->InWhichHot({6, 50}), 4);
    EXPECT_EQ(line->InWhichHot({50, 50}), -1);
    EXPECT_EQ(line->GetMouseCursor(6, 50), TCursor::crSizeWE);
    EXPECT_EQ(line->GetMouseCursor(6, 99), TCursor::crSizeAll);
    cad.SetShapeTool(TDrawTool::SpRotateSelecting);
    EXPECT_EQ(line->InWhichHot({6, 50}), -1);
}

TEST(Connectors, FinishingOnAConnectorMakesAJunctionOfThree)
{
    test::MouseDriver m;
    TMyCAD& cad = m.cad;
    TMyShape* a = Box(cad, 20, 20, 80, 60);
    TMyShape* b = Box(cad, 300, 20, 360, 60);
    TMyShape* c = Box(cad, 160, 200, 220, 240);
    TMyLinkLine* ab = Link(cad, a, 1, b, 3);
    ab->MergePoints();
    ASSERT_EQ(ab->GetPointsCount(), 4) << ::testing::PrintToString(ab->ThePoints);
    cad.DeSelectedAllShapesByCode();

    // From c's top to the middle of ab's horizontal run, 3 pixels off it.
    cad.SetShapeTool(TDrawTool::SpLinkLine);
    m.Drag({190, 200}, {200, 43});
    TMyShape* dot = nullptr;
    for (const auto& s : cad.MyShapes) {
        if (dynamic_cast<TMyLineLinkLine*>(s.get())) dot = s.get();
    }
    ASSERT_NE(dot, nullptr);
    EXPECT_EQ(dot->LinkShapesNo.size(), 3u);
    EXPECT_EQ(dot->GetLinkPoint(0), (TMyPoint{200, 40})) << "snapped onto the segment";
    EXPECT_EQ(ab->EndSpNo(), dot->ShapeNo);
    EXPECT_EQ(ab->ThePoints.back(), (TMyPoint{200, 40}));
    int32_t toB = 0;
    for (uint32_t no : dot->LinkShapesNo) {
        auto* l = dynamic_cast<TMyLinkLine*>(cad.GetShapeByNo(static_cast<int32_t>(no)));
        ASSERT_NE(l, nullptr);
        if (l->EndSpNo() == b->ShapeNo) ++toB;
    }
    EXPECT_EQ(toB, 1) << "the second half took over the attachment to b";
    EXPECT_EQ(c->LinkShapesNo.size(), 1u);

    // Moving the dot moves the three ends with it.
    cad.Move(dot, 0, 20);
    EXPECT_EQ(ab->ThePoints.back(), (TMyPoint{200, 60}));
}

TEST(Connectors, EveryEditThatMovesShapesTakesTheirConnectorsAlongOnceAtItsEnd)
{
    TMyCAD cad;
    TMyShape* a = Box(cad, 0, 0, 40, 40);
    TMyShape* b = Box(cad, 100, 200, 140, 240);
    TMyShape* c = Box(cad, 300, 0, 340, 40);
    TMyLinkLine* ab = Link(cad, a, 2, b, 0);
    TMyLinkLine* bc = Link(cad, b, 1, c, 2);

    // Spacing moves the middle box; both of its connectors follow it.
    cad.Move(b, 40, 0);
    cad.AverageWidth({a, b, c});
    const float middle = b->GetLeftTop().X;
    EXPECT_NE(middle, 140.0f) << "the middle box moved";
    ExpectRoutedBetween(*ab, {20, 40}, {middle + 20, 200});
    ExpectRoutedBetween(*bc, {middle + 40, 220}, {320, 40});

    // Inside an open edit the routes wait for its end, then follow every
    // move once.
    const TArrMyPoint before = ab->ThePoints;
    {
        TEditScope edit(cad);
        cad.DragChangeValueDxDyforShapes(a, 0, 10);
        cad.DragChangeValueDxDyforShapes(b, 5, 0);
        EXPECT_EQ(ab->ThePoints, before);
    }
    ExpectRoutedBetween(*ab, {20, 50}, {middle + 25, 200});
    ExpectRoutedBetween(*bc, {middle + 45, 220}, {320, 40});
}

TEST(Connectors, AHostJoinsUnjoinsBreaksAndRoutesConnectorsByCode)
{
    test::MouseDriver m;
    TMyCAD& cad = m.cad;
    TMyShape* a = Box(cad, 0, 0, 100, 50);
    TMyShape* b = Box(cad, 300, 200, 400, 260);
    TMyLinkLine* line = Link(cad, a, 1, b, 3);
    line->RemoveAllLink();
    EXPECT_FALSE(line->CreateSrcLink(9999, 0) || line->CreateSrcLink(line->ShapeId, 0) ||
                 line->CreateDestLink(a->ShapeId, 4)) << "unknown shape, itself, no link point";
    EXPECT_FALSE(line->IsStartAttached() || line->IsEndAttached());
    ASSERT_TRUE(line->CreateSrcLink(b->ShapeId, 0) && line->CreateDestLink(a->ShapeId, 2));
    ExpectRoutedBetween(*line, {350, 200}, {50, 50});
    EXPECT_TRUE(Lists(*a, *line) && Lists(*b, *line));
    EXPECT_TRUE(cad.IsinHotLink(b, {352, 198}) == 0 && cad.IsinHotLink(b, {340, 230}) == -1);

    // A free connector keeps its two ends; back to square routing it is routed anew.
    line->SetLinkLineDrawStyle(TLinkLineDrawStyle::lldsFree);
    EXPECT_EQ(line->ThePoints, (TArrMyPoint{{350, 200}, {50, 50}}));
    line->SetLinkLineDrawStyle(TLinkLineDrawStyle::lldsHV);
    ExpectRoutedBetween(*line, {350, 200}, {50, 50});
    cad.GetPath(nullptr, *line, a, {100, 25}, b, {300, 230}, Tdirections::dNone);
    ExpectRoutedBetween(*line, {100, 25}, {300, 230});

    TMyShape* c = Box(cad, 500, 0, 600, 50);
    TMyLinkLine* ac = Link(cad, a, 1, c, 3);
    const int32_t count = cad.GetShapesCount();
    cad.SetShapeTool(TDrawTool::SpLineLinkLine);
    m.Drag({300, 27}, {302, 29});
    auto* second = dynamic_cast<TMyLinkLine*>(cad.GetShapeByNo(count + 1));
    ASSERT_TRUE(cad.GetShapesCount() == count + 2 && second);
    EXPECT_TRUE(ac->EndSpNo() == count && second->StartSpNo() == count && second->EndSpNo() == c->ShapeNo &&
                second->ThePoints.back() == (TMyPoint{500, 25})) << "a dot drawn on it splits it in two";

    // The older pixel-walking router turns once, on the leg the style asks for first.
    const struct { TLinkLineStyle Style; TLinkLineDrawStyle Draw; TArrMyPoint Points; } cases[] = {
        {TLinkLineStyle::llsHorz, TLinkLineDrawStyle::lldsHV, {{10, 10}, {40, 10}, {40, 30}}},
        {TLinkLineStyle::llsVert, TLinkLineDrawStyle::lldsHV, {{10, 10}, {10, 30}, {40, 30}}},
        {TLinkLineStyle::llsFree, TLinkLineDrawStyle::lldsHV, {{10, 10}, {10, 30}, {40, 30}}},
        {TLinkLineStyle::llsHorz, TLinkLineDrawStyle::lldsFree, {{10, 10}, {40, 30}}},
    };
    for (const auto& t : cases) {
        TMyLinkLine walked(&cad);
        walked.SetLinkLineDrawStyle(t.Draw);
        TBitmap bmp(50, 50);
        cad.DrawNiceLine_SAV(bmp.Canvas(), walked, nullptr, {10, 10}, nullptr, {40, 30}, t.Style);
        EXPECT_EQ(walked.ThePoints, t.Points);
        // Dots along the first leg of a square route; nothing drawn for a free one.
        const int32_t dx = t.Points[1].X > 10, dy = t.Points[1].Y > 10;
        int32_t inked = 0;
        for (int32_t k = 1; k < 20; ++k) inked += bmp.Canvas().Pixel(10 + k * dx, 10 + k * dy) != clWhite;
        EXPECT_EQ(inked > 5, t.Points.size() == 3) << inked;
    }
}
