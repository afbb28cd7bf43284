#include "shapes/FakeOwner.h"
#include "io/DocumentSamples.h"
#include "support/ShapeState.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <set>
#include <string>

using namespace mycad;
using namespace mycad::test;

TEST(ShapeProperties, NamesFollowTheIdentifierRule)
{
    FakeOwner owner;
    TMyShape s(&owner);
    s.SetName(QStringLiteral("_next1"));
    for (const char* bad : {"1abc", "a b", "a-b", "a.b", " "}) {
        s.SetName(QString::fromLatin1(bad));
        EXPECT_EQ(s.Name(), QStringLiteral("_next1")) << bad;
    }
    s.SetName(String());
    EXPECT_TRUE(s.Name().isEmpty());
    EXPECT_TRUE(TMyShape::IsValidName(QStringLiteral("Straße2")));
}

TEST(ShapeProperties, GradientSettingsRebuildThePatternAndRepaint)
{
    FakeOwner owner;
    TMyShape s(&owner);
    s.SetGradientStyle(TGradientStyle::gsLinearV);
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

namespace {

using Names = std::set<QString>;

// A copy holds the source's value of every field, except the fields it
// leaves alone, which keep the value they had before.
void ExpectCopy(const TMyShape& copy, const TMyShape& source, const TMyShape& before, const Names& leftAlone)
{
    for (const iotest::FieldMap* fields : {&iotest::StoredFields(), &iotest::DerivedFields()}) {
        for (const auto& [name, get] : *fields) {
            if (name == QStringLiteral("Center")) continue; // worked out again from the points
            const TMyShape& want = leftAlone.count(name) ? before : source;
            EXPECT_EQ(iotest::Text(get(copy)), iotest::Text(get(want))) << name.toStdString();
        }
    }
}

// How a shape is shown and handled belongs to the canvas it is on.
const Names kNeverCopied{"Visible", "LogUse", "LogWidth", "LogHeight", "Join", "EndCap", "HotShow", "ResizeEnable",
                         "RotateEnable"};
// What ties a shape to the others; a copy without relations keeps its own.
const Names kRelations{"Name", "ShapeNo", "Children", "Links", "Parent", "MultiInfo", "MultiInfoAlignment"};

struct CopyCase {
    const char* Class;
    std::function<std::unique_ptr<TMyShape>(TShapeOwner*)> Make;
    std::function<void(TMyShape&)> Fill; // values a new shape of the class does not have
    Names AlsoLeftAlone;
};

template <typename T>
std::unique_ptr<TMyShape> Make(TShapeOwner* owner)
{
    return std::make_unique<T>(owner);
}

// Every stored field as the document samples fill it, then the relations
// and the settings a copy leaves alone.
void FillShape(TMyShape& s)
{
    std::mt19937 rng(32); // a seed that leaves no copied field at its default
    iotest::FillShape(s, rng, 4);
    s.ShapeNo = 4;
    s.ChildShapesNo = {1, 2};
    s.LinkShapesNo = {9};
    s.ParentShapeNo = 6;
    s.SelectedHotId = 2;
    s.CenterPoint = {99, 99};
    s.SetCaptionShow(false);
    s.SetDragEnable(false);
}

const CopyCase kCopyCases[] = {
    {"TMyShape", Make<TMyShape>, FillShape, {}},
    {"TMyLine", Make<TMyLine>,
     [](TMyShape& s) {
         FillShape(s);
         auto& line = dynamic_cast<TMyLine&>(s);
         line.SetArrowAngle(45);
         line.SetArrowLength(12);
         line.SetArrowStyle(TArrowStyle::ADouble);
         line.SetArrowOffset(3);
         line.endMergeShapeId = 9;
     },
     {"ArrowOffset"}},
    {"TMyRuleLine", Make<TMyRuleLine>,
     [](TMyShape& s) {
         auto& rule = dynamic_cast<TMyRuleLine&>(s);
         rule.SetShowUserInfo(true);
         rule.SetTickStyle(TTickStyle::tsNone);
         rule.SetUserInfo(QStringLiteral("gap"));
     },
     {}},
    {"TMyElliArc", Make<TMyElliArc>,
     [](TMyShape& s) {
         auto& arc = dynamic_cast<TMyElliArc&>(s);
         arc.ThePoints = {{20, 100}, {43, 43}, {100, 20}};
         arc.SetArcStyle(TArcStyle::asSector);
         arc.SetArcMode(TArcMode::amEllipse);
     },
     {}},
    {"TMyText", Make<TMyText>,
     [](TMyShape& s) {
         auto& text = dynamic_cast<TMyText&>(s);
         text.ThePoints = {{1, 2}, {30, 2}, {30, 40}, {1, 40}};
         text.SetInfo(QStringLiteral("info"));
         TStringList lines;
         lines.Add(QStringLiteral("one"));
         lines.Add(QStringLiteral("two"));
         text.SetLines(lines);
         text.SetCharacterSpace(-3);
         text.SetHAlignment(TAlignment::taRightJustify);
         text.SetVAlignment(TVAlignment::vaBottom);
         text.SetIsBorder(true);
         text.SetIsSolid(false);
         text.SetWordWrap(true);
     },
     {}},
};

} // namespace

TEST(ShapeProperties, CopiesTakeEveryStoredFieldOfTheirClass)
{
    FakeOwner ownerA;
    FakeOwner ownerB;
    for (const CopyCase& c : kCopyCases) {
        SCOPED_TRACE(c.Class);
        std::unique_ptr<TMyShape> source = c.Make(&ownerA);
        c.Fill(*source);
        bool clicked = false;
        source->OnClick = [&clicked](TShapeOwner*) { clicked = true; };
        Names leftAlone = kNeverCopied;
        leftAlone.insert(c.AlsoLeftAlone.begin(), c.AlsoLeftAlone.end());

        const std::unique_ptr<TMyShape> fresh = c.Make(&ownerB);
        std::unique_ptr<TMyShape> copy = c.Make(&ownerB);
        copy->Assign(*source);
        ExpectCopy(*copy, *source, *fresh, leftAlone);
        EXPECT_EQ(copy->CenterPoint, copy->ComputeCenterPoint(4)); // not the source's stale one
        EXPECT_EQ(copy->GradBmp.Canvas().Pixel(0, 0), source->GradBmp.Canvas().Pixel(0, 0));
        EXPECT_EQ(copy->SelectedHotId, -1);
        EXPECT_EQ(copy->Owner(), &ownerB);
        EXPECT_TRUE(copy->CaptionShow());
        EXPECT_TRUE(copy->DragEnable());
        EXPECT_FALSE(copy->OnClick);
        EXPECT_FALSE(clicked);
        if (auto* line = dynamic_cast<TMyLine*>(copy.get())) {
            EXPECT_EQ(line->endMergeShapeId, -1);
        }
        if (auto* text = dynamic_cast<TMyText*>(copy.get())) {
            EXPECT_EQ(text->CharacterSpace(), -3);
            EXPECT_EQ(text->GetInfo(), QStringLiteral("info")); // no area text replaces it
        }

        // Undo restores through the copy without relations.
        std::unique_ptr<TMyShape> mine = c.Make(&ownerB);
        mine->SetName(QStringLiteral("Mine"));
        mine->ShapeNo = 1;
        std::unique_ptr<TMyShape> loose = c.Make(&ownerB);
        loose->SetName(QStringLiteral("Mine"));
        loose->ShapeNo = 1;
        loose->AssignWithoutRelation(*source);
        leftAlone.insert(kRelations.begin(), kRelations.end());
        ExpectCopy(*loose, *source, *mine, leftAlone);

        // Assigning a shape to itself changes nothing.
        copy->SelectedHotId = 3;
        const std::string before = ShapeState(*copy);
        copy->Assign(*copy);
        EXPECT_EQ(ShapeState(*copy), before);
        EXPECT_EQ(copy->SelectedHotId, 3);
    }

    // From a shape of another class only the base data is copied.
    FakeOwner arrows;
    arrows.arrowLength = 12;
    TMyLine line(&arrows);
    TMyShape plain(&ownerA);
    plain.ThePoints = {{7, 7}};
    line.Assign(plain);
    EXPECT_EQ(line.ThePoints, plain.ThePoints);
    EXPECT_EQ(line.ArrowLength(), 12);
}
