#include "canvas/CanvasDrawing.h"

#include <gtest/gtest.h>

using namespace mycad;
using namespace mycad::test;

namespace {

struct LayerEvent {
    int32_t Id;
    String Name;
    bool Visible;
    bool operator==(const LayerEvent&) const = default;
};

std::ostream& operator<<(std::ostream& os, const LayerEvent& e)
{
    return os << e.Id << ' ' << e.Name.toStdString() << (e.Visible ? " visible" : " hidden");
}

} // namespace

TEST(CanvasLayers, NewLayersBecomeCurrentAndNamesAreUnique)
{
    TMyCAD cad;
    std::vector<LayerEvent> added;
    cad.OnNewLayer = [&](int32_t id, const String& name, bool visible) {
        // Fired once the record is in the table and current.
        EXPECT_EQ(cad.GetLayerNameByID(id), name);
        EXPECT_EQ(cad.CurrentLayerId(), id);
        added.push_back({id, name, visible});
    };

    EXPECT_EQ(cad.NewLayer(QStringLiteral("Walls"), false), 1);
    EXPECT_EQ(cad.NewLayer(QStringLiteral("Doors"), true), 2);
    // A name in use is refused; names compare exactly.
    EXPECT_EQ(cad.NewLayer(QStringLiteral("Walls"), true), -1);
    EXPECT_EQ(cad.NewLayer(QStringLiteral("Layer0"), true), -1);
    EXPECT_EQ(cad.CurrentLayerId(), 2);
    EXPECT_EQ(cad.NewLayer(QStringLiteral("walls"), true), 3);
    EXPECT_EQ(added, (std::vector<LayerEvent>{{1, QStringLiteral("Walls"), false},
                                              {2, QStringLiteral("Doors"), true},
                                              {3, QStringLiteral("walls"), true}}));

    EXPECT_EQ(cad.GetLayerIdByNo(1), 1);
    EXPECT_EQ(cad.GetLayerIdByNo(4), -1);
    EXPECT_EQ(cad.GetLayerIdByName(QStringLiteral("doors")), -1);
    EXPECT_EQ(cad.GetLayerNoById(7), -1);
    EXPECT_FALSE(cad.IsVisibleLayerByID(1));
    EXPECT_FALSE(cad.IsVisibleLayerByID(7));

    // Renaming checks nothing: two records may then share a name, and
    // look-ups by name answer with the last of them.
    cad.SetLayerNameByID(QStringLiteral("Doors"), 0);
    EXPECT_EQ(cad.GetLayerIdByName(QStringLiteral("Doors")), 2);
    EXPECT_EQ(cad.GetLayerNoByName(QStringLiteral("Doors")), 2);
    cad.SetLayerNameByName(QStringLiteral("Frames"), QStringLiteral("Doors"));
    EXPECT_EQ(cad.GetLayerNameByID(0), QStringLiteral("Frames"));
    EXPECT_EQ(cad.GetLayerNameByID(2), QStringLiteral("Frames"));
    EXPECT_EQ(cad.NewLayer(QStringLiteral("Frames"), true), -1);

    // The current layer is one that exists; choosing it clears the selection.
    TMyShape* s = AddRect(cad);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->LayerId, 3);
    cad.WorkingShapes = {s};
    cad.SetCurrentLayerId(9);
    EXPECT_EQ(cad.CurrentLayerId(), 3);
    EXPECT_EQ(cad.GetWorkingShapesCount(), 1);
    cad.SetCurrentLayerId(1);
    EXPECT_EQ(cad.CurrentLayerId(), 1);
    EXPECT_EQ(cad.GetWorkingShapesCount(), 0);
    TMyShape* t = AddRect(cad);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->LayerId, 1);
}

TEST(CanvasLayers, VisibilityChangesEveryMatchingRecordAndRepaints)
{
    TMyCAD cad;
    ASSERT_EQ(cad.NewLayer(QStringLiteral("A"), true), 1);
    ASSERT_EQ(cad.NewLayer(QStringLiteral("B"), false), 2);
    RepaintRequested(cad);

    cad.InVisibleLayerByID(0);
    EXPECT_TRUE(RepaintRequested(cad));
    EXPECT_FALSE(cad.IsVisibleLayerByID(0));
    cad.VisibleLayerByName(QStringLiteral("B"));
    EXPECT_TRUE(RepaintRequested(cad));
    EXPECT_TRUE(cad.IsVisibleLayerByID(2));
    cad.InVisibleLayerByName(QStringLiteral("A"));
    EXPECT_FALSE(cad.IsVisibleLayerByID(1));
    cad.VisibleLayerByID(0);
    EXPECT_TRUE(cad.IsVisibleLayerByID(0));

    // Renamed to one name, both records follow a change by name.
    cad.SetLayerNameByID(QStringLiteral("B"), 1);
    cad.InVisibleLayerByName(QStringLiteral("B"));
    EXPECT_FALSE(cad.IsVisibleLayerByID(1));
    EXPECT_FALSE(cad.IsVisibleLayerByID(2));
    cad.VisibleAllLayer();
    EXPECT_TRUE(RepaintRequested(cad));
    for (int32_t id : {0, 1, 2}) EXPECT_TRUE(cad.IsVisibleLayerByID(id)) << id;
}

TEST(CanvasLayers, DeletingALayerDeletesItsShapesAndMovesTheCurrentLayer)
{
    // Declared before the canvas: its destructor still reports layers.
    std::vector<int32_t> deletedShapes;
    std::vector<LayerEvent> deletedLayers;
    TMyCAD cad;
    ASSERT_NE(AddRect(cad), nullptr); // id 0, layer 0
    ASSERT_EQ(cad.NewLayer(QStringLiteral("Top"), true), 1);
    for (int k = 0; k < 4; ++k) ASSERT_NE(AddRect(cad), nullptr); // ids 1..4, layer 1
    MakeGroup(cad, 3, {1, 2});
    cad.GetShapeByNo(3)->SetLocked(true); // locked group with locked members
    ASSERT_NE(AddConnector(cad, 0, 4), nullptr); // id 5, layer 1, from layer 0 to layer 1
    cad.SetCurrentLayerId(0);
    ASSERT_NE(AddRect(cad), nullptr); // id 6, layer 0
    ASSERT_EQ(cad.NewLayer(QStringLiteral("Spare"), false), 2);

    cad.OnShapeDeleted = [&](TMyShape* s) { deletedShapes.push_back(s->ShapeId); };
    cad.OnDeleteLayer = [&](int32_t id, const String& name, bool visible) {
        EXPECT_EQ(cad.GetLayerNoById(id), -1); // the record is gone
        deletedLayers.push_back({id, name, visible});
    };

    // An unknown layer: false, no repaint, but the selection is cleared.
    cad.WorkingShapes = {cad.GetShapeByNo(0)};
    cad.WorkingShape = cad.GetShapeByNo(0);
    RepaintRequested(cad);
    EXPECT_FALSE(cad.DeleteLayerByID(9));
    EXPECT_FALSE(RepaintRequested(cad));
    EXPECT_EQ(cad.GetWorkingShapesCount(), 0);
    EXPECT_TRUE(deletedLayers.empty());

    // Layer 1: its top shapes go, the locked group too (unlocked first),
    // each with its own undo step; the shapes of layer 0 stay.
    ASSERT_TRUE(cad.DeleteLayerByName(QStringLiteral("Top")));
    EXPECT_TRUE(RepaintRequested(cad));
    EXPECT_EQ(deletedShapes, (std::vector<int32_t>{3, 4, 5}));
    EXPECT_EQ(deletedLayers, (std::vector<LayerEvent>{{1, QStringLiteral("Top"), true}}));
    EXPECT_EQ(UndoActions(cad), (std::vector<String>(3, ACT_DELETE)));
    EXPECT_EQ(Ids(cad), (std::vector<int32_t>{0, 6}));
    EXPECT_TRUE(cad.GetShapeByNo(0)->LinkShapesNo.empty());
    // The current layer was 2; it becomes the first remaining record.
    EXPECT_EQ(cad.CurrentLayerId(), 0);

    // Deleting the current layer makes the first remaining one current.
    ASSERT_TRUE(cad.DeleteLayerByID(0));
    EXPECT_EQ(cad.CurrentLayerId(), 2);
    EXPECT_EQ(deletedShapes, (std::vector<int32_t>{3, 4, 5, 0, 6}));

    // Deleting the last leaves no current layer.
    ASSERT_TRUE(cad.DeleteLayerByID(2));
    EXPECT_EQ(cad.CurrentLayerId(), -1);
    EXPECT_EQ(cad.GetMaxLayerId(), -1);
    EXPECT_EQ(deletedLayers.back(), (LayerEvent{2, QStringLiteral("Spare"), false}));
    EXPECT_EQ(cad.NextLayerId, 3); // only deleting all layers restarts the ids
}

TEST(CanvasLayers, MergingMovesTheShapesAndDeletesTheOtherLayer)
{
    // Declared before the canvas: its destructor still reports layers.
    int32_t deletedShapes = 0;
    std::vector<LayerEvent> deletedLayers;
    TMyCAD cad;
    ASSERT_EQ(cad.NewLayer(QStringLiteral("One"), true), 1);
    ASSERT_NE(AddRect(cad), nullptr); // id 0 on layer 1
    ASSERT_EQ(cad.NewLayer(QStringLiteral("Two"), true), 2);
    for (int k = 0; k < 3; ++k) ASSERT_NE(AddRect(cad), nullptr); // ids 1..3 on layer 2
    MakeGroup(cad, 3, {1, 2});
    cad.OnShapeDeleted = [&](TMyShape*) { ++deletedShapes; };
    cad.OnDeleteLayer = [&](int32_t id, const String& name, bool visible) { deletedLayers.push_back({id, name, visible}); };

    EXPECT_FALSE(cad.MergeLayers(0, 0));
    EXPECT_FALSE(cad.MergeLayers(9, 1));
    EXPECT_EQ(cad.GetLayersCount(), 3);

    ASSERT_TRUE(cad.MergeLayers(1, 2));
    EXPECT_EQ(deletedLayers, (std::vector<LayerEvent>{{2, QStringLiteral("Two"), true}}));
    EXPECT_EQ(deletedShapes, 0);
    EXPECT_EQ(cad.GetShapesCountInALayer(1), 4);
    EXPECT_EQ(cad.GetUndoStepsCount(), 0);
    EXPECT_EQ(cad.GetShapesByLayerId(1), (TArrMyShapeRef{cad.GetShapeByNo(0), cad.GetShapeByNo(3)}));
    // Deleting the merged layer leaves the first record current.
    EXPECT_EQ(cad.CurrentLayerId(), 0);
    EXPECT_EQ(cad.GetLayersCount(), 2);
}
