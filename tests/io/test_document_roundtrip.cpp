// Saving and loading give back the same drawing and the same bytes.
#include "DocumentSamples.h"

using namespace mycad;
using namespace iotest;

TEST(DocumentRoundTrip, EveryFieldOfEveryClassComesBackAndSavesToTheSameBytes)
{
    for (uint32_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        TMyCAD original;
        BuildSampleDrawing(original, seed);
        const std::vector<uint8_t> bytes = SavedBytes(original);

        TMyCAD loaded;
        ASSERT_TRUE(LoadBytes(loaded, bytes));
        ExpectSameDocument(original, loaded);
        EXPECT_EQ(loaded.NextShapeId, original.MyShapes.back()->ShapeId + 1);
        EXPECT_EQ(loaded.NextLayerId, 3);
        EXPECT_EQ(loaded.DiskFileVersion(), QStringLiteral("XP.j"));
        EXPECT_FALSE(loaded.IsLoading());
        for (int32_t i = 0; i < loaded.GetShapesCount(); ++i) {
            EXPECT_EQ(loaded.MyShapes[size_t(i)]->ShapeNo, i);
            EXPECT_EQ(loaded.MyShapes[size_t(i)]->Owner(), &loaded);
            EXPECT_EQ(loaded.GetShapeByID(loaded.MyShapes[size_t(i)]->ShapeId), loaded.MyShapes[size_t(i)].get());
        }
        EXPECT_EQ(SavedBytes(loaded), bytes);
    }
}

TEST(DocumentRoundTrip, LoadingReplacesTheWholeDocumentAndItsHousekeeping)
{
    TMyCAD source;
    BuildSampleDrawing(source, 7, 4);
    const std::vector<uint8_t> bytes = SavedBytes(source);

    TMyCAD cad;
    BuildSampleDrawing(cad, 8, 9);
    cad.NewLayer(QStringLiteral("Extra"), true);
    cad.SetZoom(2.5);
    cad.WorkingShapes = {cad.MyShapes[0].get()};
    cad.PushtoUndoRedoShapeList({cad.MyShapes[1].get()}, QStringLiteral("ACT_CHANGE"));
    cad.MemShapes.push_back(cad.CreateShapeByName(QStringLiteral("TMyLine")));
    cad.UserData().ClearAll();
    cad.UserData().AddKeyandValue(QStringLiteral("author"), QStringLiteral("kept"));
    cad.UserData().AddKeyandValue(QStringLiteral("mine"), QStringLiteral("1"));
    ASSERT_GT(cad.GetUndoStepsCount(), 0);

    ASSERT_TRUE(LoadBytes(cad, bytes));
    EXPECT_EQ(cad.GetShapesCount(), 4);
    EXPECT_EQ(cad.GetLayersCount(), 3);
    EXPECT_EQ(cad.Zoom(), 1.0);
    EXPECT_TRUE(cad.WorkingShapes.empty());
    EXPECT_EQ(cad.GetUndoStepsCount(), 0);
    EXPECT_EQ(cad.GetMemShapesCount(), 0);
    // The document's pairs join those the canvas has; a key it has keeps its value.
    const TArrUserDataRec expected{{QStringLiteral("author"), QStringLiteral("kept")},
                                   {QStringLiteral("mine"), QStringLiteral("1")},
                                   {QStringLiteral("empty"), String()}};
    EXPECT_EQ(cad.UserData().UserDataRecord(), expected);
    cad.UserData().Assign(source.UserData());
    ExpectSameDocument(source, cad);
}

TEST(DocumentRoundTrip, DrawingWithoutLayersOrShapesComesBack)
{
    TMyCAD cad;
    ASSERT_TRUE(cad.DeleteAllLayers());
    ASSERT_EQ(cad.CurrentLayerId(), -1);
    const std::vector<uint8_t> bytes = SavedBytes(cad);

    TMyCAD loaded;
    ASSERT_TRUE(LoadBytes(loaded, bytes));
    EXPECT_EQ(loaded.GetLayersCount(), 0);
    EXPECT_EQ(loaded.CurrentLayerId(), -1);
    EXPECT_EQ(loaded.NextLayerId, 1);
    EXPECT_EQ(loaded.NextShapeId, 1);
    EXPECT_EQ(SavedBytes(loaded), bytes);
}
