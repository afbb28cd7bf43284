// Points, rectangles and angles of the drawing; the little-endian stream
// encoding its files are made of.
#include "cad/geometry/Geometry.h"
#include "cad/geometry/StreamEncoding.h"
#include "platform/Messages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <limits>
#include <numbers>
#include <utility>

using namespace mycad;

namespace {

constexpr double kPi = std::numbers::pi;

TMemoryStream StreamOf(const std::vector<uint8_t>& bytes)
{
    TMemoryStream s;
    if (!bytes.empty()) s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    return s;
}

// Restores the 8-bit switch whatever a test does with it.
struct OldFileMode {
    explicit OldFileMode(bool on) : saved(ReadOldZEDAFile) { ReadOldZEDAFile = on; }
    ~OldFileMode() { ReadOldZEDAFile = saved; }
    bool saved;
};

} // namespace

TEST(Geometry, ConversionsRoundTiesToEvenAndNormalise)
{
    EXPECT_EQ(MyPtToPt(MyPoint(2.5f, 3.5f)), Point(2, 4));
    EXPECT_EQ(MyPtToPt(MyPoint(-2.5f, -0.5f)), Point(-2, 0));
    EXPECT_EQ(MyPtToPt(MyPoint(1.49f, -1.51f)), Point(1, -2));
    EXPECT_EQ(myRecttoRect(TMyRect{0.5f, 1.5f, 2.5f, -3.5f}), Rect(0, 2, 2, -4));
    EXPECT_EQ(PtToMyPt(Point(-7, 16777217)), MyPoint(-7.0f, 16777216.0f));

    EXPECT_EQ(PtToARect(Point(10, -3), Point(-2, 8)), Rect(-2, -3, 10, 8));
    EXPECT_EQ(ExpandRect(Rect(0, 0, 10, 10), 2), Rect(-2, -2, 12, 12));
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(ExpandRect(Rect(kMin, 0, kMax, 0), 1), Rect(kMax, -1, kMin, 1));  // wraps instead of overflowing

    // The sum is made in double and rounded once into the float field.
    TMyRect r{0.1f, 1.0f, 2.0f, 3.0f};
    OffsetMyRect(r, 0.2, -1.0);
    EXPECT_EQ(r.Left, static_cast<float>(double(0.1f) + 0.2));
    EXPECT_EQ(r.Top, 0.0f);

    EXPECT_EQ(GetPointsLTRB({MyPoint(3, -1)}), (TMyRect{3, -1, 3, -1}));
    EXPECT_EQ(GetPointsLTRB({MyPoint(3, -1), MyPoint(-2, 5), MyPoint(0, 7)}), (TMyRect{-2, -1, 3, 7}));
    EXPECT_EQ(GetPointsLTRB({}), TMyRect{});

    float fdx = 0, fdy = 0;
    GetDxDy(MyPoint(1.5f, 2), MyPoint(-1, 4.25f), fdx, fdy);
    EXPECT_EQ(fdx, -2.5f);
    EXPECT_EQ(fdy, 2.25f);
    int32_t idx = 0, idy = 0;
    GetDxDy(Point(3, 4), Point(-1, 10), idx, idy);
    EXPECT_EQ(idx, -4);
    EXPECT_EQ(idy, 6);
    GetDxDy(Point(std::numeric_limits<int32_t>::min(), 0), Point(std::numeric_limits<int32_t>::max(), 0), idx, idy);
    EXPECT_EQ(idx, -1); // wraps instead of overflowing

    EXPECT_EQ(AppendSpace("ab", 5), String("ab   "));
    EXPECT_EQ(AppendSpace("abcdef", 5), String("abcdef"));
    EXPECT_EQ(AppendSpace("abc", -1), String("abc"));
}

TEST(Geometry, RadiansFoldNearWholeTurns)
{
    const double twoPi = 2 * kPi;
    const float nearest = float(twoPi);                  // slightly above 2*pi
    const float below = std::nextafter(nearest, 0.0f);  // slightly below 2*pi
    const float andAHalf = float(twoPi + 0.5);
    // An angle, and the range its fold must end in (equal bounds: exactly).
    const struct {
        float In;
        double Low, High;
    } cases[] = {
        {nearest, 1e-12, 1e-6},
        {-nearest, -1e-6, -1e-12},
        {below, below, below},
        {-below, -below, -below},
        {7.0f, 7 - twoPi - 1e-6, 7 - twoPi + 1e-6},
        {float(3 * twoPi + 1.0), 1 - 1e-5, 1 + 1e-5},
        {float(-2 * twoPi - 0.5), -0.5 - 1e-5, -0.5 + 1e-5},
        {1.0f, 1.0, 1.0},
        {float(4 * kPi), 0, 1e-5}, // two turns, each rounded back into the float
        {float(-4 * kPi), -1e-5, 0},
        {andAHalf, float(double(andAHalf) - twoPi), float(double(andAHalf) - twoPi)},
        // Where one turn no longer changes the float, and at infinity, the
        // fold ends inside the range instead of looping for ever.
        {1e10f, -twoPi, twoPi},
        {-1e10f, -twoPi, twoPi},
        {3.0e38f, -twoPi, twoPi},
        {std::numeric_limits<float>::infinity(), 0, 0},
    };
    for (const auto& c : cases) {
        float a = c.In;
        RecaclinRad(a);
        EXPECT_GE(a, c.Low) << c.In;
        EXPECT_LE(a, c.High) << c.In;
    }
}

TEST(Geometry, DegreesFoldIntoOpenRange)
{
    const std::pair<int32_t, int32_t> cases[] = {
        {360, 360}, {-360, -360}, {361, 1}, {-361, -1}, {720, 0}, {-720, 0}, {-400, -40}, {45, 45},
        {std::numeric_limits<int32_t>::max(), 127}, {std::numeric_limits<int32_t>::min(), -128},
    };
    for (const auto& [in, out] : cases) {
        int32_t d = in;
        RecaclinDeg(d);
        EXPECT_EQ(d, out) << in;
    }
}

TEST(Geometry, IntersectionPairsFirstWithThirdAndSecondWithFourth)
{
    TMessageCapture capture;
    // Vertical line 1 through (0,0),(0,10); horizontal line 2 through (-5,5),(5,5).
    EXPECT_EQ(Getintersection(MyPoint(0, 0), MyPoint(-5, 5), MyPoint(0, 10), MyPoint(5, 5)), MyPoint(0, 5));
    // Only line 1 vertical, line 2 sloped: x = 2 meets y = 2x at (2, 4).
    EXPECT_EQ(Getintersection(MyPoint(2, 0), MyPoint(0, 0), MyPoint(2, 9), MyPoint(4, 8)), MyPoint(2, 4));
    // Only line 2 vertical.
    EXPECT_EQ(Getintersection(MyPoint(0, 0), MyPoint(3, -10), MyPoint(10, 10), MyPoint(3, 10)), MyPoint(3, 3));
    // Two sloped lines: y = x and y = -x + 4 meet at (2, 2).
    const TMyPoint sloped = Getintersection(MyPoint(0, 0), MyPoint(0, 4), MyPoint(4, 4), MyPoint(4, 0));
    EXPECT_NEAR(sloped.X, 2, 1e-5);
    EXPECT_NEAR(sloped.Y, 2, 1e-5);
    // Two vertical and two horizontal lines have their own fixed answers and no message.
    EXPECT_EQ(Getintersection(MyPoint(2, 4), MyPoint(7, 0), MyPoint(2, 10), MyPoint(7, 1)), MyPoint(2, 3));
    EXPECT_EQ(Getintersection(MyPoint(2, 4), MyPoint(0, 7), MyPoint(10, 4), MyPoint(1, 7)), MyPoint(4, 4));
    EXPECT_TRUE(capture.Messages().empty());

    // Parallel sloped lines: "error", and the midpoint of the first two points.
    EXPECT_EQ(Getintersection(MyPoint(0, 0), MyPoint(0, 2), MyPoint(1, 1), MyPoint(1, 3)), MyPoint(0, 1));
    ASSERT_EQ(capture.Messages().size(), 1u);
    EXPECT_EQ(capture.Messages()[0], String("error"));
}

TEST(Geometry, PointArraysIgnoreIndexesOutsideTheArray)
{
    TArrMyPoint pts;
    EXPECT_FALSE(InsertAPointBeforeId(MyPoint(1, 1), 0, pts)); // never into an empty array
    EXPECT_FALSE(IsExistPt(0, pts));

    EXPECT_TRUE(AppendAPoint(MyPoint(1, 1), pts));
    EXPECT_TRUE(InsertAPointBeforeId(MyPoint(0, 0), 0, pts));
    EXPECT_TRUE(AppendAPoint(MyPoint(3, 3), pts));
    EXPECT_FALSE(InsertAPointBeforeId(MyPoint(9, 9), 3, pts)); // High + 1
    EXPECT_FALSE(InsertAPointBeforeId(MyPoint(9, 9), -1, pts));
    EXPECT_TRUE(InsertAPointBeforeId(MyPoint(2, 2), 2, pts)); // High
    EXPECT_EQ(pts, (TArrMyPoint{MyPoint(0, 0), MyPoint(1, 1), MyPoint(2, 2), MyPoint(3, 3)}));

    EXPECT_TRUE(IsExistPt(3, pts));
    EXPECT_FALSE(IsExistPt(4, pts));
    EXPECT_FALSE(IsExistPt(-1, pts));
    RemovePoint(-1, pts);
    RemovePoint(4, pts);
    RemovePoint(3, pts); // High
    RemovePoint(0, pts);
    EXPECT_EQ(pts, (TArrMyPoint{MyPoint(1, 1), MyPoint(2, 2)}));

    TArrPoint ipts{Point(0, 0), Point(2, 2)};
    EXPECT_FALSE(InsertAPointBeforeId1(Point(5, 5), 2, ipts));
    EXPECT_TRUE(InsertAPointBeforeId1(Point(1, 1), 1, ipts));
    EXPECT_EQ(ipts, (TArrPoint{Point(0, 0), Point(1, 1), Point(2, 2)}));
    EXPECT_TRUE(IsExistPt1(2, ipts));
    EXPECT_FALSE(IsExistPt1(3, ipts));
}

TEST(StreamEncoding, NumbersAreLittleEndianAndShortReadsRaise)
{
    TMemoryStream s;
    WriteInt32(s, 0x01020304);
    WriteInt64(s, -2);
    WriteByte(s, 0xAB);
    WriteBool(s, true);
    WriteFloat(s, 1.5f);
    WriteDouble(s, -0.25);
    const std::vector<uint8_t> expectStart = {0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xAB, 0x01};
    ASSERT_EQ(s.Size(), 4 + 8 + 1 + 1 + 4 + 8);
    EXPECT_TRUE(std::equal(expectStart.begin(), expectStart.end(), s.Bytes().begin()));
    s.SetPosition(0);
    EXPECT_EQ(ReadInt32(s), 0x01020304);
    EXPECT_EQ(ReadInt64(s), -2);
    EXPECT_EQ(ReadByte(s), 0xAB);
    EXPECT_TRUE(ReadBool(s));
    EXPECT_EQ(ReadFloat(s), 1.5f);
    EXPECT_EQ(ReadDouble(s), -0.25);
    EXPECT_THROW(ReadByte(s), EReadError);

    TMemoryStream three = StreamOf({1, 2, 3});
    EXPECT_THROW(ReadInt32(three), EReadError);
}

TEST(StreamEncoding, CountedStringsOf0_255And300Characters)
{
    const String s255(255, QChar(u'q'));
    const String s300 = String(255, QChar(u'a')) + String(45, QChar(u'b'));
    TMemoryStream s;
    WriteCountedString(s, String());
    WriteCountedString(s, s255);
    WriteCountedString(s, s300);
    // 4 + 0, 4 + 510, and the long text capped at its first 255 units.
    ASSERT_EQ(s.Size(), 4 + 4 + 510 + 4 + 510);
    s.SetPosition(4 + 4 + 510);
    EXPECT_EQ(ReadInt32(s), 255);
    s.SetPosition(0);
    EXPECT_EQ(ReadCountedString(s), String());
    EXPECT_EQ(ReadCountedString(s), s255);
    EXPECT_EQ(ReadCountedString(s), s300.left(255));

    // A stored count of 300 is followed by 300 mod 256 = 44 units, and the
    // reader takes exactly those, leaving the next field in place.
    TMemoryStream old;
    WriteInt32(old, 300);
    WriteStreamString(old, String(44, QChar(u'z')), 44);
    WriteInt32(old, 77);
    old.SetPosition(0);
    EXPECT_EQ(ReadCountedString(old), String(44, QChar(u'z')));
    EXPECT_EQ(ReadInt32(old), 77);

    // A count promising more than the stream holds fails instead of allocating.
    TMemoryStream lying;
    WriteInt32(lying, 255);
    WriteStreamString(lying, QStringLiteral("ab"), 2);
    lying.SetPosition(0);
    EXPECT_THROW(ReadCountedString(lying), EReadError);

    // Fixed-width fields are trimmed of blanks and control characters at
    // both ends only.
    EXPECT_EQ(TrimControl(QString::fromUtf16(u"\t\x01 a b\r\n\x1f")), QStringLiteral("a b"));
    EXPECT_EQ(TrimControl(QStringLiteral("   ")), QString());
}

TEST(StreamEncoding, OldFileModeReadsOneBytePerCharacterInCodePage1252)
{
    TMemoryStream s = StreamOf({'A', 0x80, 0xE9, 0x9F, 0x81, 'z'});
    {
        OldFileMode on(true);
        EXPECT_EQ(ReadStreamString(s, 6), QString::fromUtf16(u"A\u20AC\u00E9\u0178\u0081z"));
    }
    EXPECT_FALSE(ReadOldZEDAFile);
    // The ANSI reader is 8-bit whatever the switch says; the wide one is UTF-16.
    s.SetPosition(0);
    EXPECT_EQ(ReadStreamAnsiString(s, 1), QStringLiteral("A"));
    TMemoryStream wide = StreamOf({'h', 0, 'i', 0});
    EXPECT_EQ(ReadStreamString(wide, 2), QStringLiteral("hi"));
    // Writers are not affected by the switch.
    OldFileMode on(true);
    TMemoryStream out;
    WriteStreamString(out, QStringLiteral("hi"), 3);
    EXPECT_EQ(out.Bytes(), (std::vector<uint8_t>{'h', 0, 'i', 0, ' ', 0}));
}
