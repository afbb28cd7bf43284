#include "canvas/CanvasDrawing.h"
#include "cad/shapes/Group.h"
#include "platform/Messages.h"
#include "shapes/FakeOwner.h"

#include <QApplication>
#include <QEnterEvent>
#include <gtest/gtest.h>

using namespace mycad;
using namespace mycad::test;

TEST(CanvasDocument, FactoryCreatesByToolAndByExactClassName)
{
    TMyCAD cad;
    FakeOwner other;
    cad.SetDragEnable(false);
    cad.SetHotShow(false);
    cad.SetRotateEnable(false);
    cad.SetResizeEnable(false);
    cad.SetPenStyleJoinType(TPenStyleJoinType::psjtMITER);
    cad.SetPenStyleEndCapType(TPenStyleEndCapType::psectFLAT);

    // Tools: the shape always belongs to this canvas and takes its handling
    // settings (its pen, brush and font: see the canvas settings test).
    std::unique_ptr<TMyShape> line = cad.CreateShapeBySpTool(TDrawTool::SpLine, &other);
    ASSERT_NE(dynamic_cast<TMyLine*>(line.get()), nullptr);
    EXPECT_EQ(line->Owner(), static_cast<TShapeOwner*>(&cad));
    EXPECT_FALSE(line->DragEnable());
    EXPECT_FALSE(line->HotShow());
    EXPECT_FALSE(line->RotateEnable());
    EXPECT_FALSE(line->ResizeEnable());
    EXPECT_EQ(line->PenStyleJoinType(), TPenStyleJoinType::psjtMITER);
    EXPECT_EQ(line->PenStyleEndCapType(), TPenStyleEndCapType::psectFLAT);
    for (TDrawTool tool : {TDrawTool::SpSelecting, TDrawTool::SpRotateSelecting, TDrawTool::SpClose,
                           TDrawTool::SpPolylinePolygonPointRemoving, TDrawTool::SpPolylinePolygonPointAdding,
                           TDrawTool::SpDragWhole, TDrawTool::SpBrowse}) {
        EXPECT_EQ(cad.CreateShapeBySpTool(tool), nullptr) << static_cast<int>(tool);
    }

    // Class names: the given owner, or this canvas without one.
    std::unique_ptr<TMyShape> byName = cad.CreateShapeByName(QStringLiteral("TMyLine"), &other);
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName->Owner(), static_cast<TShapeOwner*>(&other));
    byName = cad.CreateShapeByName(QStringLiteral("TMyRectangle"));
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName->Owner(), static_cast<TShapeOwner*>(&cad));
    // Containers come from the factory too; the class tree is what class
    // tests of the canvas rely on.
    EXPECT_NE(dynamic_cast<TMyRectangle*>(cad.CreateShapeByName(QStringLiteral("TMyGroup")).get()), nullptr);
    EXPECT_NE(dynamic_cast<TMyGroup*>(cad.CreateShapeByName(QStringLiteral("TMyCombine"), nullptr).get()), nullptr);
    for (const char* name : {"Rectangle", "tmyrectangle", "TMyRectangle ", "TMyShape", "", "TMyLineX"}) {
        EXPECT_EQ(cad.CreateShapeByName(QString::fromLatin1(name)), nullptr) << name;
        EXPECT_EQ(cad.CreateAddShapeByName(QString::fromLatin1(name)), nullptr) << name;
    }
    // Nothing the factory makes is listed.
    EXPECT_EQ(cad.GetShapesCount(), 0);
    EXPECT_EQ(cad.NextShapeId, 0);
}

TEST(CanvasDocument, IdLookUpsAreFirstMatchesBelowTheCounter)
{
    TMyCAD cad;
    for (int k = 0; k < 4; ++k) ASSERT_NE(AddRect(cad), nullptr);
    ASSERT_EQ(cad.NextShapeId, 4);

    // A caller that bypasses the counter: an id at or above NextShapeId is
    // not found by GetShapeByID, though GetShapeNoById sees it. The look-up
    // before the change has the index built, so the new id is found only if
    // ShapeListChanged makes the index forget what it learnt.
    EXPECT_EQ(cad.GetShapeNoById(3), 3);
    cad.GetShapeByNo(3)->ShapeId = 5;
    cad.ShapeListChanged();
    EXPECT_EQ(cad.GetShapeByID(5), nullptr);
    EXPECT_EQ(cad.GetShapeNoById(5), 3);
    cad.NextShapeId = 5;
    EXPECT_EQ(cad.GetShapeByID(5), nullptr);
    cad.NextShapeId = 6;
    EXPECT_EQ(cad.GetShapeByID(5), cad.GetShapeByNo(3));

    // A drawing that holds an id twice answers with the first in list order,
    // also after the two change places.
    TMyShape* first = cad.GetShapeByNo(0);
    TMyShape* second = cad.GetShapeByNo(2);
    second->ShapeId = first->ShapeId;
    cad.ShapeListChanged();
    EXPECT_EQ(cad.GetShapeByID(0), first);
    cad.SwapShape(first, second);
    EXPECT_EQ(cad.GetShapeByID(0), second);
    EXPECT_EQ(cad.GetShapeNoById(0), 0);
    // Deleting by that id takes the first match, then the other.
    ASSERT_TRUE(cad.DeleteShapeById(0, false));
    EXPECT_EQ(cad.GetShapeByID(0), first);
    EXPECT_EQ(cad.GetShapeNoById(0), 1);
    ASSERT_TRUE(cad.DeleteShapeById(0, false));
    EXPECT_FALSE(cad.DeleteShapeById(0, false));
    EXPECT_EQ(Ids(cad), (std::vector<int32_t>{1, 5}));
}

TEST(CanvasDocument, RenamingNeedsAFreeValidNewName)
{
    TMyCAD cad;
    TMyShape* a = AddRect(cad);
    TMyShape* b = AddRect(cad);
    ASSERT_TRUE(a && b);

    cad.RenameShapeName(QStringLiteral("Shape0"), QStringLiteral("Door"));
    EXPECT_EQ(a->Name(), QStringLiteral("Door"));
    EXPECT_EQ(a->Caption(), QStringLiteral("Shape0")); // a caption that is set stays
    EXPECT_EQ(cad.GetShapeByName(QStringLiteral("Door")), a);

    cad.RenameShapeName(QStringLiteral("Door"), QStringLiteral("Shape1")); // taken by b
    EXPECT_EQ(a->Name(), QStringLiteral("Door"));
    cad.RenameShapeName(QStringLiteral("Door"), QStringLiteral("2nd door")); // no identifier
    EXPECT_EQ(a->Name(), QStringLiteral("Door"));
    // Names compare exactly.
    cad.RenameShapeName(QStringLiteral("shape1"), QStringLiteral("Window"));
    EXPECT_EQ(b->Name(), QStringLiteral("Shape1"));
    cad.RenameShapeName(QStringLiteral("Shape1"), QStringLiteral("door"));
    EXPECT_EQ(b->Name(), QStringLiteral("door"));

    // An empty caption takes the new name.
    b->SetCaption(String());
    cad.RenameShapeName(QStringLiteral("door"), QStringLiteral("Window"));
    EXPECT_EQ(b->Caption(), QStringLiteral("Window"));
}

TEST(CanvasDocument, AddingWithoutAnyLayerReportsAndRefusesWithoutEnding)
{
    TMyCAD cad;
    ASSERT_NE(AddRect(cad), nullptr);
    ASSERT_TRUE(cad.DeleteAllLayers());
    const int32_t nextId = cad.NextShapeId;

    TMessageCapture capture;
    int32_t terminateRequests = 0;
    cad.OnTerminateRequest = [&] { ++terminateRequests; };
    EXPECT_EQ(AddRect(cad), nullptr);
    ASSERT_EQ(capture.Messages().size(), 1u);
    EXPECT_EQ(capture.Messages()[0], QStringLiteral("Error!There is no Layer!"));
    EXPECT_EQ(terminateRequests, 1);

    // The caller keeps a shape that could not be added.
    std::unique_ptr<TMyShape> shape = cad.CreateShapeByName(QStringLiteral("TMyLine"));
    TMyShape* raw = shape.get();
    EXPECT_FALSE(cad.AddShape(shape, false, false));
    EXPECT_EQ(shape.get(), raw);
    cad.MyShapes.resize(1);
    cad.ShapeListChanged();
    EXPECT_FALSE(cad.AddShapeforLoadfromStream(0, shape, false));
    EXPECT_EQ(shape.get(), raw);
    cad.MyShapes.clear();
    EXPECT_EQ(capture.Messages().size(), 3u);
    EXPECT_EQ(terminateRequests, 3);
    EXPECT_EQ(cad.NextShapeId, nextId);

    // Without a handler the add fails the same way and the program goes on.
    cad.OnTerminateRequest = nullptr;
    EXPECT_FALSE(cad.AddShape(shape, true, true));
    EXPECT_EQ(capture.Messages().size(), 4u);

    // A new layer makes adding possible again; it is layer 0 once more.
    EXPECT_EQ(cad.NewLayer(QStringLiteral("Again"), true), 0);
    ASSERT_TRUE(cad.AddShape(shape, false, false));
    EXPECT_EQ(cad.NextShapeId, nextId + 1);
}

TEST(CanvasDocument, ReaderFillsSlotsOfASizedListOnce)
{
    TMyCAD cad;
    cad.MyShapes.resize(2);
    std::unique_ptr<TMyShape> top = cad.CreateShapeByName(QStringLiteral("TMyLine"));
    top->ShapeId = 7;
    TMyShape* topRaw = top.get();
    ASSERT_TRUE(cad.AddShapeforLoadfromStream(1, top, true));
    EXPECT_EQ(topRaw->ShapeNo, 1);
    EXPECT_EQ(cad.NextShapeId, 0);

    // A damaged document naming a filled slot or one outside the list loses nothing.
    std::unique_ptr<TMyShape> again = cad.CreateShapeByName(QStringLiteral("TMyRectangle"));
    again->ShapeId = 3;
    EXPECT_FALSE(cad.AddShapeforLoadfromStream(1, again, false));
    EXPECT_FALSE(cad.AddShapeforLoadfromStream(2, again, false));
    EXPECT_FALSE(cad.AddShapeforLoadfromStream(-1, again, false));
    ASSERT_NE(again, nullptr);
    ASSERT_TRUE(cad.AddShapeforLoadfromStream(0, again, false));
    EXPECT_EQ(cad.NextShapeId, 1);

    cad.NextShapeId = 8;
    EXPECT_EQ(cad.GetShapeByID(7), topRaw);
    EXPECT_EQ(Ids(cad), (std::vector<int32_t>{3, 7}));
}

TEST(CanvasDocument, FamilyLookUpsFollowParentsAndSkipMembers)
{
    TMyCAD cad;
    for (int k = 0; k < 6; ++k) ASSERT_NE(AddRect(cad), nullptr);
    // 0 single, 1 and 2 members of the group 3, which is a member of 4; 5 single.
    MakeGroup(cad, 3, {1, 2});
    MakeGroup(cad, 4, {3});
    TMyShape* s[6];
    for (int k = 0; k < 6; ++k) s[k] = cad.GetShapeByNo(k);

    EXPECT_EQ(cad.GetRootParentShape(s[1]), s[4]);
    EXPECT_EQ(cad.GetRootParentShape(s[0]), s[0]);
    EXPECT_TRUE(cad.areTheyBrother(s[1], s[2]));
    EXPECT_FALSE(cad.areTheyBrother(s[1], s[3]));
    EXPECT_FALSE(cad.areTheyBrother(s[0], s[5])); // no parent at all

    EXPECT_EQ(cad.GetNextSingleorRootShape(0), s[4]);
    EXPECT_EQ(cad.GetNextSingleorRootShape(-1), s[0]);
    EXPECT_EQ(cad.GetNextSingleorRootShape(5), nullptr);
    EXPECT_EQ(cad.GetPrevSingleorRootShape(4), s[0]);
    EXPECT_EQ(cad.GetPrevSingleorRootShape(6), s[5]);

    EXPECT_EQ(cad.GetShapesCountInALayer(0), 6);
    EXPECT_EQ(cad.GetShapesByLayerId(0), (TArrMyShapeRef{s[0], s[4], s[5]}));
}

TEST(CanvasDocument, MouseEnteringAndLeavingTheControlReportTheCanvas)
{
    TMyCAD cad;
    std::vector<std::pair<char, TMyCAD*>> events;
    cad.OnMouseEnter = [&](TMyCAD* sender) { events.push_back({'E', sender}); };
    cad.OnMouseLeave = [&](TMyCAD* sender) { events.push_back({'L', sender}); };
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&cad, &enter);
    QApplication::sendEvent(&cad, &leave);
    EXPECT_EQ(events, (std::vector<std::pair<char, TMyCAD*>>{{'E', &cad}, {'L', &cad}}));
}
