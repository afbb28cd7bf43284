#include "shapes/FakeOwner.h"

#include <gtest/gtest.h>

using namespace mycad;
using mycad::test::FakeOwner;

TEST(ShapeProperties, NewShapeTakesTheOwnersDefaults)
{
    FakeOwner owner;
    owner.pen.SetColor(clRed);
    owner.pen.SetWidth(3);
    owner.brush.SetColor(clYellow);
    owner.brush.SetStyle(TBrushStyle::bsCross);
    owner.font.SetName(QStringLiteral("DejaVu Serif"));
    owner.dragEnable = false;
    owner.hotShow = false;
    owner.rotateEnable = false;
    owner.joinType = TPenStyleJoinType::psjtMITER;
    owner.endCapType = TPenStyleEndCapType::psectFLAT;
    TMyShape s(&owner);
    EXPECT_EQ(s.Pen().Color(), clRed);
    EXPECT_EQ(s.Pen().Width(), 3);
    EXPECT_EQ(s.Brush().Color(), clYellow);
    EXPECT_EQ(s.Brush().Style(), TBrushStyle::bsCross);
    EXPECT_EQ(s.Font().Name(), QStringLiteral("DejaVu Serif"));
    EXPECT_FALSE(s.DragEnable());
    EXPECT_FALSE(s.HotShow());
    EXPECT_FALSE(s.RotateEnable());
    EXPECT_TRUE(s.ResizeEnable());
    EXPECT_EQ(s.PenStyleJoinType(), TPenStyleJoinType::psjtMITER);
    EXPECT_EQ(s.PenStyleEndCapType(), TPenStyleEndCapType::psectFLAT);
    EXPECT_EQ(s.Owner(), &owner);
    // The shape's objects are its own: changing the canvas's later does not reach it.
    owner.pen.SetColor(clBlue);
    EXPECT_EQ(s.Pen().Color(), clRed);
}

TEST(ShapeProperties, NamesFollowTheIdentifierRule)
{
    FakeOwner owner;
    TMyShape s(&owner);
    s.SetName(QStringLiteral("Shape0"));
    EXPECT_EQ(s.Name(), QStringLiteral("Shape0"));
    EXPECT_EQ(s.Caption(), QStringLiteral("Shape0")); // an empty caption takes the name
    s.SetName(QStringLiteral("_next1"));
    EXPECT_EQ(s.Name(), QStringLiteral("_next1"));
    EXPECT_EQ(s.Caption(), QStringLiteral("Shape0")); // a caption stays once set
    for (const char* bad : {"1abc", "a b", "a-b", "a.b", " "}) {
        s.SetName(QString::fromLatin1(bad));
        EXPECT_EQ(s.Name(), QStringLiteral("_next1")) << bad;
    }
    s.SetName(String());
    EXPECT_TRUE(s.Name().isEmpty());
    EXPECT_TRUE(TMyShape::IsValidName(QStringLiteral("Straße2")));
    EXPECT_FALSE(TMyShape::IsValidName(QStringLiteral("9")));
}

TEST(ShapeProperties, GradientSettingsRebuildThePatternAndRepaint)
{
    FakeOwner owner;
    TMyShape s(&owner);
    s.SetGradientStyle(TGradientStyle::gsLinearV);
    ASSERT_EQ(s.GradBmp.Width(), 256);
    ASSERT_EQ(s.GradBmp.Height(), 1);
    EXPECT_EQ(s.GradBmp.Canvas().Pixel(0, 0), clWhite);
    EXPECT_EQ(s.GradBmp.Canvas().Pixel(255, 0), clBlack);
    const int32_t repaints = owner.invalidated;
    s.SetColorEnd(clBlack); // unchanged: nothing happens
    EXPECT_EQ(owner.invalidated, repaints);
    s.SetColorEnd(clRed);
    EXPECT_EQ(owner.invalidated, repaints + 1);
    EXPECT_EQ(s.GradBmp.Canvas().Pixel(255, 0), clRed);

    // A mirrored shape gets a mirrored pattern when its style is written.
    TMyShape m(&owner);
    m.ThePoints = {{0, 0}, {10, 10}};
    m.SetIsFlipHorz(true);
    m.SetGradientStyle(TGradientStyle::gsLinearV);
    EXPECT_EQ(m.GradBmp.Canvas().Pixel(0, 0), clBlack);
    EXPECT_EQ(m.GradBmp.Canvas().Pixel(255, 0), clWhite);

    s.SetGradientStyle(TGradientStyle::gsNone);
    EXPECT_TRUE(s.GradBmp.Empty());
}

TEST(ShapeProperties, SettingsPassOnToMembers)
{
    FakeOwner owner;
    TMyShape group(&owner);
    TMyShape inner(&owner);
    TMyShape leaf(&owner);
    owner.Add(group);
    owner.Add(inner);
    owner.Add(leaf);
    group.ChildShapesNo = {1, 17}; // 17 names no shape and is skipped
    inner.ChildShapesNo = {2};
    inner.ParentShapeNo = 0;
    leaf.ParentShapeNo = 1;

    group.Pen().SetColor(clFuchsia);
    group.Brush().SetColor(clAqua);
    group.SetColorBegin(clNavy);
    group.SetGradientStyle(TGradientStyle::gsDiamond);
    for (TMyShape* s : {&inner, &leaf}) {
        EXPECT_EQ(s->Pen().Color(), clFuchsia);
        EXPECT_EQ(s->Brush().Color(), clAqua);
        EXPECT_EQ(s->ColorBegin(), clNavy);
        EXPECT_EQ(s->GradientStyle(), TGradientStyle::gsDiamond);
        EXPECT_EQ(s->GradBmp.Width(), 256);
    }
    TFont font;
    font.SetName(QStringLiteral("DejaVu Sans Mono"));
    group.SetFont(font);
    EXPECT_EQ(leaf.Font().Name(), QStringLiteral("DejaVu Sans Mono"));

    // While a document is read nothing is passed on.
    owner.loading = true;
    group.Pen().SetColor(clGreen);
    EXPECT_EQ(leaf.Pen().Color(), clFuchsia);
    owner.loading = false;

    // Member lists that loop (damaged relations) end instead of recursing forever.
    leaf.ChildShapesNo = {0};
    group.Pen().SetColor(clOlive);
    EXPECT_EQ(leaf.Pen().Color(), clOlive);
    EXPECT_EQ(group.Pen().Color(), clOlive);
    group.SetLocked(true);
    EXPECT_TRUE(inner.Locked());
    EXPECT_TRUE(leaf.Locked());
    leaf.ChildShapesNo.clear();

    const int32_t repaints = owner.invalidated;
    group.SetLocked(true);
    EXPECT_EQ(owner.invalidated, repaints); // unchanged value: nothing happens
    group.SetLocked(false);
    EXPECT_FALSE(inner.Locked());
    EXPECT_FALSE(leaf.Locked());
    EXPECT_GT(owner.invalidated, repaints);
}

TEST(ShapeProperties, AssignCopiesTheDocumentedData)
{
    FakeOwner ownerA;
    FakeOwner ownerB;
    TMyShape src(&ownerA);
    src.SetName(QStringLiteral("Box7"));
    src.SetTag(12);
    src.SetCaption(QStringLiteral("caption"));
    src.ShapeId = 7;
    src.LayerId = 3;
    src.SelectedHotId = 2;
    src.SetColorBegin(clRed);
    src.SetColorEnd(clBlue);
    src.SetGradientStyle(TGradientStyle::gsLinearH);
    src.SetInfo(QStringLiteral("info"));
    src.Pen().SetWidth(5);
    src.Brush().SetColor(clTeal);
    src.Font().SetName(QStringLiteral("DejaVu Serif"));
    src.ThePoints = {{0, 0}, {10, 20}};
    src.LinkPoints = {{5, 5}};
    src.ShapeNo = 4;
    src.ChildShapesNo = {1, 2};
    src.LinkShapesNo = {9};
    src.ParentShapeNo = 6;
    src.CenterPoint = {99, 99}; // recomputed by the copy
    src.TextOutPoint = {5, 30};
    src.UserData().AddKeyandValue(QStringLiteral("k"), QStringLiteral("v"));
    TStringList lines;
    lines.Add(QStringLiteral("one"));
    src.SetMultiInfo(lines);
    src.SetMultiInfoAlignment(TAlignment::taCenter);
    src.SetLocked(true);
    // Not copied:
    src.SetCaptionShow(false);
    src.SetDragEnable(false);
    src.SetResizeEnable(false);
    src.SetRotateEnable(false);
    src.SetHotShow(false);
    src.SetVisible(false);
    src.SetLogUse(true);
    src.SetLogWidth(77);
    src.SetLogHeight(88);
    src.SetPenStyleJoinType(TPenStyleJoinType::psjtBEVEL);
    src.SetPenStyleEndCapType(TPenStyleEndCapType::psectSQUARE);
    bool clicked = false;
    src.OnClick = [&clicked](TShapeOwner*) { clicked = true; };

    TMyShape copy(&ownerB);
    copy.Assign(src);
    EXPECT_EQ(copy.Name(), QStringLiteral("Box7"));
    EXPECT_EQ(copy.Tag(), 12);
    EXPECT_EQ(copy.Caption(), QStringLiteral("caption"));
    EXPECT_EQ(copy.ShapeId, 7);
    EXPECT_EQ(copy.LayerId, 3);
    EXPECT_EQ(copy.SelectedHotId, -1);
    EXPECT_EQ(copy.ColorBegin(), clRed);
    EXPECT_EQ(copy.ColorEnd(), clBlue);
    EXPECT_EQ(copy.GradientStyle(), TGradientStyle::gsLinearH);
    EXPECT_EQ(copy.GradBmp.Height(), 256);
    EXPECT_EQ(copy.GradBmp.Canvas().Pixel(0, 0), clRed);
    EXPECT_TRUE(copy.Locked());
    EXPECT_EQ(copy.Info(), QStringLiteral("info"));
    EXPECT_EQ(copy.Pen().Width(), 5);
    EXPECT_EQ(copy.Brush().Color(), clTeal);
    EXPECT_EQ(copy.Font().Name(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(copy.ThePoints, src.ThePoints);
    EXPECT_EQ(copy.LinkPoints, src.LinkPoints);
    EXPECT_EQ(copy.ShapeNo, 4);
    EXPECT_EQ(copy.ChildShapesNo, (TMyShapeNo{1, 2}));
    EXPECT_EQ(copy.LinkShapesNo, (TMyShapeNo{9}));
    EXPECT_EQ(copy.ParentShapeNo, 6);
    EXPECT_EQ(copy.CenterPoint, (TMyPoint{5, 10}));
    EXPECT_EQ(copy.TextOutPoint, (TMyPoint{5, 30}));
    EXPECT_EQ(copy.UserData().GetValueByKey(QStringLiteral("k")), QStringLiteral("v"));
    EXPECT_EQ(copy.MultiInfo(), lines);
    EXPECT_EQ(copy.MultiInfoAlignment(), TAlignment::taCenter);
    EXPECT_EQ(copy.Owner(), &ownerB);
    EXPECT_TRUE(copy.CaptionShow());
    EXPECT_TRUE(copy.DragEnable());
    EXPECT_TRUE(copy.ResizeEnable());
    EXPECT_TRUE(copy.RotateEnable());
    EXPECT_TRUE(copy.HotShow());
    EXPECT_TRUE(copy.Visible());
    EXPECT_FALSE(copy.LogUse());
    EXPECT_EQ(copy.LogWidth(), 10);
    EXPECT_EQ(copy.LogHeight(), 10);
    EXPECT_EQ(copy.PenStyleJoinType(), TPenStyleJoinType::psjtROUND);
    EXPECT_EQ(copy.PenStyleEndCapType(), TPenStyleEndCapType::psectROUND);
    EXPECT_FALSE(copy.OnClick);
    EXPECT_FALSE(clicked);

    TMyShape loose(&ownerB);
    loose.SetName(QStringLiteral("Mine"));
    loose.ShapeNo = 1;
    loose.AssignWithoutRelation(src);
    EXPECT_EQ(loose.Name(), QStringLiteral("Mine"));
    EXPECT_EQ(loose.ShapeNo, 1);
    EXPECT_TRUE(loose.ChildShapesNo.empty());
    EXPECT_TRUE(loose.LinkShapesNo.empty());
    EXPECT_EQ(loose.ParentShapeNo, -1);
    EXPECT_EQ(loose.MultiInfo().Count(), 0);
    EXPECT_EQ(loose.MultiInfoAlignment(), TAlignment::taLeftJustify);
    EXPECT_EQ(loose.ShapeId, 7);
    EXPECT_EQ(loose.ThePoints, src.ThePoints);

    // Assigning a shape to itself changes nothing.
    copy.SelectedHotId = 3;
    copy.Assign(copy);
    EXPECT_EQ(copy.SelectedHotId, 3);
}
