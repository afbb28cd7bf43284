#include "canvas/CanvasDrawing.h"
#include "cad/shapes/ShapeDraw.h"
#include "platform/Control.h"

#include <gtest/gtest.h>

using namespace mycad;
using namespace mycad::test;

TEST(CanvasProperties, ANewCanvasStartsWithThePublishedValues)
{
    TMyCAD cad;
    // The constructor leaves every setting at the start value its header
    // gives; what is not a setting is checked here.
    EXPECT_EQ(cad.Settings(), TCanvasSettings{});
    EXPECT_EQ(cad.Pen().Join(), TPenJoin::pjRound);
    EXPECT_EQ(cad.Pen().EndCap(), TPenEndCap::pecRound);
    EXPECT_EQ(cad.Version(), QStringLiteral("2013"));
    EXPECT_EQ(cad.DiskFileVersion(), QStringLiteral("XP.j"));
    EXPECT_EQ(cad.Cursor(), TCursor::crCross);
    // One layer, current and shown; the layer tests take it from there.
    EXPECT_EQ(cad.GetLayersCount(), 1);
    EXPECT_TRUE(cad.IsVisibleLayerByID(0));
    // The tool is stored without its interaction state until it is next set.
    EXPECT_EQ(cad.ActionTool(), TActionTools::dtClose);
    cad.SetShapeTool(TDrawTool::SpSelecting);
    EXPECT_EQ(cad.ActionTool(), TActionTools::dtSelecting);
}

TEST(CanvasProperties, RangedSettingsIgnoreValuesOutsideTheirRange)
{
    TMyCAD cad;
    cad.SetArrowAngle(359);
    EXPECT_EQ(cad.ArrowAngle(), 359);
    cad.SetArrowAngle(0);
    EXPECT_EQ(cad.ArrowAngle(), 0);
    cad.SetArrowAngle(360);
    cad.SetArrowAngle(-1);
    EXPECT_EQ(cad.ArrowAngle(), 0);

    cad.SetArrowLength(10);
    EXPECT_EQ(cad.ArrowLength(), 10);
    cad.SetArrowLength(80);
    EXPECT_EQ(cad.ArrowLength(), 80);
    cad.SetArrowLength(9);
    cad.SetArrowLength(81);
    cad.SetArrowLength(255);
    EXPECT_EQ(cad.ArrowLength(), 80);

    // New lines take the canvas's arrow settings.
    cad.SetArrowOffset(3);
    std::unique_ptr<TMyShape> shape = cad.CreateShapeBySpTool(TDrawTool::SpLine);
    auto* line = dynamic_cast<TMyLine*>(shape.get());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->ArrowLength(), 80);
    EXPECT_EQ(line->ArrowOffset(), 3);
}

TEST(CanvasProperties, SettersThatRepaintOrDeselect)
{
    TMyCAD cad;
    ASSERT_NE(AddRect(cad), nullptr);
    RepaintRequested(cad);

    cad.SetColorOfBackGround(clWhite); // unchanged
    EXPECT_FALSE(RepaintRequested(cad));
    cad.SetColorOfBackGround(clNavy);
    EXPECT_TRUE(RepaintRequested(cad));
    cad.SetRatio(2.5);
    EXPECT_TRUE(RepaintRequested(cad));
    cad.SetTheUNIT(TUnits::inch);
    EXPECT_TRUE(RepaintRequested(cad));
    cad.SetBkBitmapMode(TBkBitmapMode::Tiled);
    EXPECT_TRUE(RepaintRequested(cad));

    // OperateAllLayer deselects only when it changes.
    cad.WorkingShapes = {cad.GetShapeByNo(0)};
    cad.SetOperateAllLayer(true);
    EXPECT_EQ(cad.GetWorkingShapesCount(), 1);
    cad.SetOperateAllLayer(false);
    EXPECT_EQ(cad.GetWorkingShapesCount(), 0);

    // The handle colour is shared by every canvas of the process.
    const TColor before = GetHotColor();
    cad.SetColorOfHot(clRed);
    EXPECT_EQ(GetHotColor(), clRed);
    SetHotColor(before);
}

TEST(CanvasProperties, ObjectSettingsAreCopiedNotShared)
{
    TMyCAD cad;
    TBitmap picture(8, 4, TPixelFormat::pf32bit);
    cad.SetBkBitmap(picture);
    EXPECT_EQ(cad.BkBitmap().Width(), 8);
    EXPECT_EQ(cad.BkBitmap().PixelFormat(), TPixelFormat::pf24bit);
    picture.SetSize(2, 2);
    EXPECT_EQ(cad.BkBitmap().Width(), 8);

    TPen pen;
    pen.SetColor(clGreen);
    pen.SetWidth(4);
    cad.SetPen(pen);
    pen.SetColor(clBlue);
    EXPECT_EQ(cad.Pen().Color(), clGreen);
    TBrush brush;
    brush.SetColor(clMaroon);
    cad.SetBrush(brush);
    TFont font;
    font.SetName(QStringLiteral("DejaVu Serif"));
    cad.SetFont(font);

    TUserData data;
    data.AddKeyandValue(QStringLiteral("author"), QStringLiteral("me"));
    cad.SetUserData(data);
    data.ClearAll();
    EXPECT_EQ(cad.UserData().GetValueByKey(QStringLiteral("author")), QStringLiteral("me"));

    TGridObject grid;
    grid.SetGridWidth(12);
    grid.SetGridType(TGridType::gPixel);
    grid.SetGridInZoom(true);
    cad.SetGridOperation(grid);
    EXPECT_EQ(cad.GridOperation().GridWidth(), 12.0);
    EXPECT_EQ(cad.GridOperation().GridType(), TGridType::gPixel);
    EXPECT_FALSE(cad.GridOperation().GridInZoom());

    // A new shape takes the canvas's pen, brush and font as its own copies.
    TMyShape* s = AddRect(cad);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Brush().Color(), clMaroon);
    EXPECT_EQ(s->Font().Name(), QStringLiteral("DejaVu Serif"));
    cad.Pen().SetColor(clBlack);
    EXPECT_EQ(s->Pen().Color(), clGreen);
}
