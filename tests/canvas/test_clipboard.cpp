// Copy, cut, paste and duplicate through the canvas's copy memory, and the
// picture a copy leaves on the system clipboard.
#include "cad/canvas/MyCAD.h"
#include "cad/canvas/UndoList.h"
#include "cad/connectors/LinkLine.h"
#include "cad/shapes/Group.h"
#include "canvas/test_paint_helpers.h"
#include "support/LinkedBoxes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

using namespace mycad;
using mycad::test::LinkedBox;

namespace {

/// A 10 x 10 box added the ordinary way: not selected, no undo step.
TMyShape* Box(TMyCAD& cad, float l, float t) { return test::AddBox(cad, l, t, l + 10, t + 10, clWhite); }

} // namespace

TEST(Clipboard, GroupPastesRenumberedAndOnlyTheGroupSelected)
{
    TMyCAD cad;
    Box(cad, 200, 200); // a bystander, not copied
    TMyShape* a = Box(cad, 0, 0);
    TMyShape* b = Box(cad, 30, 0);
    const int32_t groupId = cad.GroupShapes({a, b}, false);
    cad.DeSelectedAllShapesByCode();
    cad.AddWorkingShapes(cad.GetShapeByID(groupId));
    cad.Copy();
    ASSERT_EQ(cad.GetMemShapesCount(), 3) << "the group, then its members";

    std::vector<int32_t> reported;
    cad.OnShapeAdded = [&](TMyShape*& s, int32_t count) {
        reported.push_back(count);
        EXPECT_EQ(cad.GetShapeByNo(count - 1), s);
    };
    const int32_t idBefore = cad.NextShapeId;
    cad.Paste();
    cad.Paste();
    ASSERT_EQ(cad.GetShapesCount(), 10);
    EXPECT_EQ(reported, (std::vector<int32_t>{5, 6, 7, 8, 9, 10}));

    // Memory last to first: second member, first member, group.
    for (int set = 0; set < 2; ++set) {
        const int32_t base = 4 + 3 * set;
        TMyShape* m1 = cad.GetShapeByNo(base);
        TMyShape* m0 = cad.GetShapeByNo(base + 1);
        TMyShape* g = cad.GetShapeByNo(base + 2);
        EXPECT_EQ(g->ChildShapesNo, (TMyShapeNo{uint32_t(base + 1), uint32_t(base)}));
        EXPECT_EQ(m1->ParentShapeNo, base + 2);
        // Both sets land 4 units right of and below the copied shapes.
        EXPECT_EQ(m0->ThePoints[0], (TMyPoint{4, 4}));
        EXPECT_EQ(m0->CenterPoint, (TMyPoint{9, 9}));
        for (TMyShape* s : {m1, m0, g}) {
            EXPECT_EQ(s->ShapeId, idBefore + (s->ShapeNo - 4));
            EXPECT_EQ(s->Name(), QStringLiteral("Shape") + QString::number(s->ShapeId));
        }
    }
    EXPECT_EQ(cad.WorkingShapes, (TArrMyShapeRef{cad.GetShapeByNo(9)}));
    EXPECT_EQ(cad.GetUndoStepsCount(), 2);
}

TEST(Clipboard, ConnectorsKeepTheirEndsOnlyAmongCopiedShapes)
{
    TMyCAD cad;
    TMyShape* left = LinkedBox(cad, 0, 0, 40, 40);
    TMyShape* right = LinkedBox(cad, 100, 0, 140, 40);
    const int32_t linkId = cad.CreateLink(String(), left, 1, right, 3);
    ASSERT_GE(linkId, 0);

    // Alone: both ends come free, in the paste and in the memory itself.
    cad.DeSelectedAllShapesByCode();
    cad.AddWorkingShapes(cad.GetShapeByID(linkId));
    cad.Copy();
    cad.Paste();
    auto* pasted = dynamic_cast<TMyLinkLine*>(cad.GetShapeByNo(3));
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->StartSpNo(), -1);
    EXPECT_EQ(pasted->EndSpNo(), -1);
    auto* memory = dynamic_cast<TMyLinkLine*>(cad.MemShapes[0].get());
    EXPECT_EQ(memory->EndSpNo(), -1);
    EXPECT_TRUE(left->LinkShapesNo == TMyShapeNo{2}) << "the original stays attached";

    // With its shapes: attached to the new boxes, which list it.
    cad.DeSelectedAllShapesByCode();
    for (TMyShape* s : {left, right, cad.GetShapeByID(linkId)}) cad.AddWorkingShapes(s);
    cad.Copy();
    cad.Paste();
    ASSERT_EQ(cad.GetShapesCount(), 7);
    // Memory {left, right, link} pastes last to first: link 4, right 5, left 6.
    auto* link2 = dynamic_cast<TMyLinkLine*>(cad.GetShapeByNo(4));
    ASSERT_NE(link2, nullptr);
    EXPECT_EQ(link2->StartSpNo(), 6);
    EXPECT_EQ(link2->StartSpPtId(), 1);
    EXPECT_EQ(link2->EndSpNo(), 5);
    EXPECT_EQ(cad.GetShapeByNo(6)->LinkShapesNo, (TMyShapeNo{4}));
    EXPECT_EQ(cad.GetShapeByNo(5)->LinkShapesNo, (TMyShapeNo{4}));
    EXPECT_EQ(cad.GetSelectedShapesCount(), 3);
}

TEST(Clipboard, CopyCutDuplicateAndEmptyCases)
{
    TMyCAD cad;
    TMyShape* a = Box(cad, 10, 10);
    // Nothing selected: neither the memory nor the clipboard changes.
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    cad.DeSelectedAllShapesByCode();
    cad.Copy();
    EXPECT_EQ(cad.GetMemShapesCount(), 0);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    // Empty memory: the paste only clears the selection.
    cad.AddWorkingShapes(a);
    cad.Paste();
    EXPECT_EQ(cad.GetShapesCount(), 1);
    EXPECT_EQ(cad.GetSelectedShapesCount(), 0);
    EXPECT_EQ(cad.GetUndoStepsCount(), 0);

    // The copy's picture: the selection's box at the zoom with 2 pixels to
    // spare on each side, the shape drawn, the rest white.
    cad.SetZoom(2.0);
    cad.AddWorkingShapes(a);
    cad.Copy();
    const QImage picture = QGuiApplication::clipboard()->image();
    ASSERT_EQ(picture.size(), QSize(24, 24));
    EXPECT_EQ(picture.pixelColor(2, 12), QColor(Qt::black)) << "the left edge";
    EXPECT_EQ(picture.pixelColor(12, 12), QColor(Qt::white));
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("image/svg+xml")));

    // Duplicate: one step, the memory and the clipboard untouched.
    TMyShape* b = Box(cad, 50, 50);
    cad.DeSelectedAllShapesByCode();
    cad.AddWorkingShapes(b);
    const TMyShape* memory = cad.MemShapes[0].get();
    cad.Duplicate();
    ASSERT_EQ(cad.GetShapesCount(), 3);
    EXPECT_EQ(cad.GetShapeByNo(2)->ThePoints[0], (TMyPoint{54, 54}));
    EXPECT_EQ(cad.GetSelectedShape(), cad.GetShapeByNo(2));
    EXPECT_EQ(cad.MemShapes[0].get(), memory);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(24, 24));
    EXPECT_EQ(cad.GetUndoStepsCount(), 1);

    // Cut: copied, deleted as one step, and pasted back.
    cad.DeSelectedAllShapesByCode();
    cad.AddWorkingShapes(b);
    cad.Cut();
    EXPECT_EQ(cad.GetShapesCount(), 2);
    EXPECT_EQ(cad.UndoRedoShapes.back().SavedAction, ACT_DELETE);
    cad.Paste();
    EXPECT_EQ(cad.GetShapeByNo(2)->ThePoints[0], (TMyPoint{54, 54}));

    // Another canvas's memory.
    TMyCAD other;
    other.PasteFromMyCAD(&cad);
    ASSERT_EQ(other.GetShapesCount(), 1);
    EXPECT_EQ(other.GetShapeByNo(0)->ThePoints[0], (TMyPoint{54, 54}));
    EXPECT_EQ(other.GetShapeByNo(0)->Owner(), &other);
}
