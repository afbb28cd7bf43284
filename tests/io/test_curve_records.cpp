// Bezier chains, B-splines and rule lines in documents: they come back from
// a saved document byte for byte, and from documents of every layout, whose
// rule-line fields follow the line's in all of them.
#include "DocumentEncoder.h"
#include "IoTestSupport.h"
#include "cad/io/ShapeRecords.h"
#include "cad/shapes/BLine.h"
#include "cad/shapes/PolyBezier.h"
#include "cad/shapes/RuleLine.h"

using namespace mycad;
using namespace iotest;

TEST(CurveRecords, CurvesAndRuleLinesComeBackFromADocument)
{
    TMyCAD original;
    const TArrMyPoint chain{{10, 10}, {20, 40}, {50, 40}, {60, 10}, {70, -20}, {90, -20}, {100, 10}};
    ASSERT_GE(original.AddShapeByCode(&original, TDrawTool::SpPolyBezier, QStringLiteral("Chain"), chain, 6, 0.0, String()), 0);
    ASSERT_GE(original.AddShapeByCode(&original, TDrawTool::SpBLine, QStringLiteral("Spline"),
                                      {{0, 100}, {40, 60}, {80, 100}, {120, 60}}, 3, 0.0, String()),
              0);
    ASSERT_GE(original.AddShapeByCode(&original, TDrawTool::SpRuleLine, QStringLiteral("Gauge"), {{0, 200}, {150, 200}},
                                      1, 0.0, String()),
              0);
    auto* rule = dynamic_cast<TMyRuleLine*>(original.GetShapeByNo(2));
    ASSERT_NE(rule, nullptr);
    rule->SetShowUserInfo(true);
    rule->SetTickStyle(TTickStyle::tsNone);
    rule->SetUserInfo(QStringLiteral("Gap"));
    const std::vector<uint8_t> bytes = SavedBytes(original);

    TMyCAD loaded;
    ASSERT_TRUE(LoadBytes(loaded, bytes));
    ASSERT_EQ(loaded.GetShapesCount(), 3);
    EXPECT_NE(dynamic_cast<TMyPolyBezier*>(loaded.GetShapeByNo(0)), nullptr);
    EXPECT_NE(dynamic_cast<TMyBLine*>(loaded.GetShapeByNo(1)), nullptr);
    for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(loaded.GetShapeByNo(i)->ThePoints, original.GetShapeByNo(i)->ThePoints);
    const auto* back = dynamic_cast<TMyRuleLine*>(loaded.GetShapeByNo(2));
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->ShowUserInfo());
    EXPECT_EQ(back->TickStyle(), TTickStyle::tsNone);
    EXPECT_EQ(back->UserInfo(), QStringLiteral("Gap"));
    EXPECT_EQ(back->ArrowStyle(), TArrowStyle::ADouble);
    EXPECT_EQ(SavedBytes(loaded), bytes);

    // The rule line's record closes with its three fields.
    TMemoryStream record;
    ASSERT_TRUE(SaveShapeToStream(*rule, record));
    const std::vector<uint8_t> r = record.Bytes();
    const std::vector<uint8_t> tail{1, 1, 3, 0, 0, 0, 'G', 0, 'a', 0, 'p', 0};
    ASSERT_GE(r.size(), tail.size());
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), r.end() - static_cast<std::ptrdiff_t>(tail.size())));
    // A tick style past the last one is refused.
    std::vector<uint8_t> damaged = r;
    damaged[damaged.size() - tail.size() + 1] = 2;
    TMemoryStream in = StreamOf(damaged);
    TMyRuleLine target(&loaded);
    EXPECT_FALSE(LoadShapeFromStream(target, in, loaded.DiskFileVersion()));
}

TEST(CurveRecords, EveryLayoutHoldsTheCurvesAndTheRuleLinesFields)
{
    for (const std::string& version : docenc::kVersions) {
        SCOPED_TRACE(version);
        docenc::Document doc;
        doc.Version = version;
        docenc::Shape chain;
        chain.Class = "TMyPolyBezier";
        chain.Name = u"Chain";
        chain.Points = {{0, 0}, {10, 20}, {30, 20}, {40, 0}};
        docenc::Shape spline = chain;
        spline.Class = "TMyBLine";
        spline.Name = u"Spline";
        spline.Id = 1;
        spline.No = 1;
        docenc::Shape rule = chain;
        rule.Class = "TMyRuleLine";
        rule.Name = u"Gauge";
        rule.Id = 2;
        rule.No = 2;
        rule.Points = {{0, 50}, {100, 50}};
        rule.ArrowStyle = 3;
        rule.ArrowLength = 20;
        rule.ShowUserInfo = true;
        rule.TickStyle = 1;
        rule.UserInfo = u"Span";
        doc.Shapes = {chain, spline, rule};

        TMyCAD cad;
        ASSERT_TRUE(LoadBytes(cad, docenc::EncodeDocument(doc)));
        ASSERT_EQ(cad.GetShapesCount(), 3);
        EXPECT_EQ(cad.GetShapeByNo(0)->ClassName(), QStringLiteral("TMyPolyBezier"));
        EXPECT_EQ(cad.GetShapeByNo(1)->ClassName(), QStringLiteral("TMyBLine"));
        EXPECT_EQ(cad.GetShapeByNo(1)->Name(), QStringLiteral("Spline"));
        const auto* r = dynamic_cast<TMyRuleLine*>(cad.GetShapeByNo(2));
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->Name(), QStringLiteral("Gauge"));
        EXPECT_EQ(r->ArrowLength(), 20);
        EXPECT_TRUE(r->ShowUserInfo());
        EXPECT_EQ(r->TickStyle(), TTickStyle::tsNone);
        EXPECT_EQ(r->UserInfo(), QStringLiteral("Span"));
        if (docenc::VersionIndex(version) >= docenc::VersionIndex("XP.3")) {
            EXPECT_EQ(cad.GetShapeByNo(0)->ThePoints[2], (TMyPoint{30, 20}));
            EXPECT_EQ(r->ThePoints[1], (TMyPoint{100, 50}));
        }
    }
}
