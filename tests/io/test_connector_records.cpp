// Connector records: the ends and the draw style after the line's fields,
// the size of link points and junction dots, and loads that mend
// attachments naming nothing.
#include "support/LinkedBoxes.h"
#include "IoTestSupport.h"

#include "cad/connectors/LinkLine.h"
#include "cad/connectors/LinkPoint.h"
#include "cad/geometry/StreamEncoding.h"
#include "cad/io/ShapeRecords.h"

using namespace mycad;
using namespace iotest;

namespace {

constexpr auto Box = &test::LinkedBox;

} // namespace

TEST(ConnectorRecords, EndsAndStyleFollowTheLinesFieldsAndComeBack)
{
    TMyCAD cad;
    TMyLinkLine line(&cad);
    line.ThePoints = {{1, 2}, {3, 4}};
    line.SetStartSpNo(5);
    line.SetStartSpPtId(1);
    line.SetEndSpNo(7);
    line.SetEndSpPtId(2);
    line.SetStoredLinkLineDrawStyle(TLinkLineDrawStyle::lldsFree);
    TMemoryStream s;
    ASSERT_TRUE(SaveShapeToStream(line, s));
    const std::vector<uint8_t> bytes = s.Bytes();
    ASSERT_GE(bytes.size(), 17u);
    EXPECT_EQ(bytes.back(), 1) << "the style byte ends the record";
    s.SetPosition(static_cast<int64_t>(bytes.size()) - 17);
    EXPECT_EQ(ReadInt32(s), 5);
    EXPECT_EQ(ReadInt32(s), 1);
    EXPECT_EQ(ReadInt32(s), 7);
    EXPECT_EQ(ReadInt32(s), 2);

    TMyLinkLine back(&cad);
    s.SetPosition(0);
    ASSERT_TRUE(LoadShapeFromStream(back, s, QStringLiteral("XP.j")));
    EXPECT_EQ(back.StartSpNo(), 5);
    EXPECT_EQ(back.EndSpPtId(), 2);
    EXPECT_EQ(back.LinkLineDrawStyle(), TLinkLineDrawStyle::lldsFree);
    EXPECT_EQ(s.Position(), s.Size());

    // Link points and junction dots store their size.
    TMyLineLinkLine dot(&cad);
    dot.SetSize(12);
    dot.AddPointByMouse({50, 50});
    TMemoryStream d;
    ASSERT_TRUE(SaveShapeToStream(dot, d));
    EXPECT_EQ(d.Bytes().back(), 12);
    TMyLineLinkLine dotBack(&cad);
    d.SetPosition(0);
    ASSERT_TRUE(LoadShapeFromStream(dotBack, d, QStringLiteral("XP.j")));
    EXPECT_EQ(dotBack.Size(), 12);
    EXPECT_EQ(dotBack.LinkPoints, (TArrMyPoint{{50, 50}}));
}

TEST(ConnectorRecords, ADrawingOfConnectorsComesBackAttached)
{
    TMyCAD cad;
    TMyShape* a = Box(cad, 0, 0, 100, 50);
    TMyShape* b = Box(cad, 300, 0, 400, 50);
    cad.CreateLink(QStringLiteral("ab"), a, 1, b, 3);
    TMyCAD loaded;
    ASSERT_TRUE(LoadBytes(loaded, SavedBytes(cad)));
    EXPECT_EQ(SavedBytes(loaded), SavedBytes(cad));
    auto* line = dynamic_cast<TMyLinkLine*>(loaded.GetShapeByName(QStringLiteral("ab")));
    ASSERT_NE(line, nullptr);
    loaded.Move(loaded.GetShapeByNo(1), 0, 40);
    EXPECT_EQ(line->ThePoints.back(), (TMyPoint{300, 65}));
}

TEST(ConnectorRecords, ALoadMendsAttachmentsThatNameNothing)
{
    TMyCAD cad;
    TMyShape* a = Box(cad, 0, 0, 100, 50);
    TMyShape* b = Box(cad, 300, 0, 400, 50);
    auto* line = dynamic_cast<TMyLinkLine*>(cad.GetShapeByID(cad.CreateLink(QStringLiteral("L"), a, 1, b, 3)));
    line->SetEndSpPtId(9);
    a->LinkShapesNo.push_back(static_cast<uint32_t>(b->ShapeNo));
    TMemoryStream bytes;
    ASSERT_TRUE(SaveToStream(cad, bytes));
    bytes.SetPosition(0);
    TMyCAD loaded;
    ASSERT_TRUE(LoadFromStream(loaded, bytes));
    auto* back = dynamic_cast<TMyLinkLine*>(loaded.GetShapeByNo(line->ShapeNo));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->EndSpNo(), -1);
    EXPECT_EQ(back->EndSpPtId(), -1);
    EXPECT_EQ(back->StartSpNo(), 0);
    EXPECT_EQ(loaded.GetShapeByNo(0)->LinkShapesNo, (TMyShapeNo{static_cast<uint32_t>(line->ShapeNo)}));
    EXPECT_TRUE(loaded.GetShapeByNo(1)->LinkShapesNo.empty());
}
