#include "cad/geometry/StreamEncoding.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace mycad;

namespace {

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
