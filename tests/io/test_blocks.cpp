// Drawings inserted as blocks: their layers, size and undo step, and the
// attachments a load would mend.
#include "IoTestSupport.h"

#include "cad/canvas/UndoList.h"
#include "cad/io/BlockFile.h"

#include <QTemporaryDir>

#include <algorithm>

#include <gtest/gtest.h>

using namespace iotest;

namespace {

// Three layers: a box on the first, one on the second, and two grouped on the third.
std::vector<uint8_t> ThreeLayerBlock()
{
    TMyCAD block;
    block.SetPageStyle(TPageStyle::A5);
    block.SetColorOfBackGround(0x00FF00);
    block.SetTag(77);
    block.UserData().AddKeyandValue(QStringLiteral("title"), QStringLiteral("detail"));
    block.NewLayer(QStringLiteral("Walls"), true);
    block.NewLayer(QStringLiteral("Doors"), true);
    for (int32_t n = 0; n < 4; ++n) {
        block.SetCurrentLayerId(block.GetLayerIdByNo(std::min(n, 2)));
        SetBox(*AddShape<TMyRectangle>(block, "TMyRectangle"), 10.0f * n, 0, 10.0f * n + 8, 8);
    }
    EXPECT_GE(block.GroupShapes({block.GetShapeByNo(2), block.GetShapeByNo(3)}, false), 0);
    return SavedBytes(block);
}

} // namespace

TEST(Blocks, ImportAndMergeArrangeLayersSizeAndUndo)
{
    QTemporaryDir dir;
    const String path = dir.filePath(QStringLiteral("block.zeda"));
    WriteBytes(path, ThreeLayerBlock());

    TMyCAD cad;
    cad.SetZoom(2.0);
    SetBox(*AddShape<TMyRectangle>(cad, "TMyRectangle"), 100, 100, 120, 120);
    cad.PushtoUndoRedoShapeList({cad.GetShapeByNo(0)}, ACT_CHANGE);
    cad.UserData().AddKeyandValue(QStringLiteral("title"), QStringLiteral("mine"));
    cad.SetPageStyle(TPageStyle::A3); // larger than the block's A5

    ASSERT_TRUE(AddBlockfromZEDAFile(cad, path, TBlockLayerMode::Import));
    ASSERT_EQ(cad.GetLayersCount(), 3);
    EXPECT_EQ(cad.MyLayers[1].LayerName, QStringLiteral("BlockWalls"));
    EXPECT_EQ(cad.MyLayers[2].LayerName, QStringLiteral("BlockDoors"));
    ASSERT_EQ(cad.GetShapesCount(), 6);
    // In memory order and in place; each on the canvas layer at its block layer's position.
    for (int32_t n = 0; n < 4; ++n) {
        EXPECT_EQ(cad.GetShapeByNo(1 + n)->ThePoints[0], (TMyPoint{10.0f * n, 0}));
        EXPECT_EQ(cad.GetShapeByNo(1 + n)->LayerId, cad.GetLayerIdByNo(std::min(n, 2)));
        EXPECT_EQ(cad.GetShapeByNo(1 + n)->Name(), QStringLiteral("Shape") + QString::number(1 + n));
    }
    EXPECT_EQ(cad.GetShapeByNo(5)->ChildShapesNo, (TMyShapeNo{3, 4}));
    // Exactly one step, the block's top-level shapes, which are selected.
    ASSERT_EQ(cad.GetUndoStepsCount(), 1);
    EXPECT_EQ(cad.UndoRedoShapes.back().SavedAction, ACT_ADD);
    EXPECT_EQ(cad.WorkingShapes, (TArrMyShapeRef{cad.GetShapeByNo(1), cad.GetShapeByNo(2), cad.GetShapeByNo(5)}));
    // The block's settings, the control only growing, its new user data keys.
    EXPECT_EQ(cad.Zoom(), 1.0);
    TMyCAD a3;
    a3.SetPageStyle(TPageStyle::A3);
    EXPECT_EQ(cad.Width(), a3.Width());
    EXPECT_EQ(cad.Height(), a3.Height());
    EXPECT_EQ(cad.ColorOfBackGround(), TColor(0x00FF00));
    EXPECT_EQ(cad.Tag(), 77);
    EXPECT_EQ(cad.UserData().GetValueByKey(QStringLiteral("title")), QStringLiteral("mine"));
    EXPECT_TRUE(cad.Global_Changed);
    cad.PopFromUndoRedoShapeList();
    EXPECT_EQ(cad.GetShapesCount(), 1);

    // Merge: everything on the current layer; a smaller canvas grows.
    TMyCAD small;
    small.SetWidth(100);
    small.SetHeight(100);
    ASSERT_TRUE(AddBlockfromZEDAFile(small, path, TBlockLayerMode::Merge));
    EXPECT_EQ(small.GetLayersCount(), 1);
    for (const auto& s : small.MyShapes) EXPECT_EQ(s->LayerId, small.CurrentLayerId());
    TMyCAD a5;
    a5.SetPageStyle(TPageStyle::A5);
    EXPECT_EQ(small.Width(), a5.Width());
    EXPECT_EQ(small.Height(), a5.Height());
}

TEST(Blocks, AttachmentsABlockGetsWrongAreMendedAsALoadMendsThem)
{
    // A box that lists a plain line as an attached connector (an old file's
    // way, or a hostile one's): the load of a whole drawing drops the entry,
    // and a block must too, or the pasted drawing would not load back as it
    // was saved.
    TMyCAD source;
    TMyShape* box = AddShape<TMyRectangle>(source, "TMyRectangle");
    SetBox(*box, 0, 0, 20, 20);
    TMyShape* line = source.CreateAddShapeByName(QStringLiteral("TMyLine"));
    line->ThePoints = {{30, 0}, {60, 0}};
    box->LinkShapesNo = {1};
    const std::vector<uint8_t> block = SavedBytes(source);

    TMyCAD cad;
    SetBox(*AddShape<TMyRectangle>(cad, "TMyRectangle"), 100, 100, 120, 120);
    TMemoryStream in = StreamOf(block);
    ASSERT_TRUE(LoadFromStreamforBlock(cad, in, TBlockLayerMode::Merge));
    cad.PasteforBlock();
    ASSERT_EQ(cad.GetShapesCount(), 3);
    EXPECT_TRUE(cad.GetShapeByNo(1)->LinkShapesNo.empty());
    const std::vector<uint8_t> saved = SavedBytes(cad);
    TMyCAD again;
    ASSERT_TRUE(LoadBytes(again, saved));
    EXPECT_EQ(SavedBytes(again), saved);
}
