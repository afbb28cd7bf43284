// The registry of record parts: every class the canvas creates can be stored,
// and a class added later appends its fields after its parent's.
#include "IoTestSupport.h"

#include "cad/geometry/StreamEncoding.h"
#include "cad/io/ShapeRecords.h"

using namespace mycad;
using namespace iotest;

namespace {

/// A later shape class with a field of its own.
class TTestBadge : public TMyRectangle {
public:
    using TMyRectangle::TMyRectangle;
    String ClassName() const override { return QStringLiteral("TTestBadge"); }
    int32_t Level = 0;
    String Motto;
};

void SaveBadge(const TTestBadge& badge, TStream& s)
{
    WriteInt32(s, badge.Level);
    WriteCountedString(s, badge.Motto);
}

void LoadBadge(TTestBadge& badge, TRecordReader& r)
{
    badge.Level = r.Int32();
    if (r.Has(TFileVersion::XP_h)) badge.Motto = r.CountedString();
}

} // namespace

TEST(ShapeRecords, ALaterClassAppendsItsFieldsAfterItsParents)
{
    EXPECT_FALSE(RegisterShapeRecord(MakeShapeRecordClass<TTestBadge>(
        QStringLiteral("TTestBadge"), QStringLiteral("TMyNotYet"), &SaveBadge, &LoadBadge)));
    EXPECT_FALSE(HasShapeRecord(QStringLiteral("TTestBadge")));
    ASSERT_TRUE(RegisterShapeRecord(MakeShapeRecordClass<TTestBadge>(
        QStringLiteral("TTestBadge"), QStringLiteral("TMyRectangle"), &SaveBadge, &LoadBadge)));

    TMyCAD cad;
    TTestBadge badge(&cad);
    SetBox(badge, 1, 2, 3, 4);
    badge.Font().SetName(String());
    badge.Level = 7;
    badge.Motto = QStringLiteral("go");
    TMemoryStream s;
    ASSERT_TRUE(SaveShapeToStream(badge, s));
    ASSERT_EQ(s.Size(), 182 + 4 + 4 + 4);
    s.SetPosition(182);
    EXPECT_EQ(ReadInt32(s), 7);

    TTestBadge back(&cad);
    s.SetPosition(0);
    ASSERT_TRUE(LoadShapeFromStream(back, s, QStringLiteral("XP.j")));
    EXPECT_EQ(back.Level, 7);
    EXPECT_EQ(back.Motto, QStringLiteral("go"));
    EXPECT_EQ(back.ThePoints, badge.ThePoints);

    // A shape that says it is a badge but is none is refused, not misread.
    class TImpostor : public TMyRectangle {
    public:
        using TMyRectangle::TMyRectangle;
        String ClassName() const override { return QStringLiteral("TTestBadge"); }
    } impostor(&cad);
    TMemoryStream t;
    EXPECT_FALSE(SaveShapeToStream(impostor, t));
    s.SetPosition(0);
    EXPECT_FALSE(LoadShapeFromStream(impostor, s, QStringLiteral("XP.j")));
}
