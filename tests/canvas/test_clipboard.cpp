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
