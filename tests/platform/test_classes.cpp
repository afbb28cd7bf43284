#include "platform/Classes.h"

#include <gtest/gtest.h>

using namespace mycad;

TEST(StringList, TextRoundTripsAndSplitsEveryLineBreak)
{
    TStringList list;
    EXPECT_EQ(list.Add("first"), 0);
    EXPECT_EQ(list.Add(""), 1);
    EXPECT_EQ(list.Add(QStringLiteral("dritte \u00c4nderung")), 2);
    EXPECT_EQ(list.Text(), QStringLiteral("first\r\n\r\ndritte \u00c4nderung\r\n"));

    TStringList back;
    back.Add("stale");
    back.SetText(list.Text());
    EXPECT_EQ(back, list);

    // CR LF, LF and CR each end a line; a trailing break adds no empty line;
    // LF CR is two breaks.
    back.SetText("a\r\nb\nc\rd");
    ASSERT_EQ(back.Count(), 4);
    EXPECT_EQ(back[3], String("d"));
    back.SetText("a\n\rb\r\n");
    ASSERT_EQ(back.Count(), 3);
    EXPECT_EQ(back[1], String());
    EXPECT_EQ(back[2], String("b"));
    back.SetText("\r\n");
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back[0], String());
    back.SetText("");
    EXPECT_EQ(back.Count(), 0);

    TStringList copy;
    copy.Assign(list);
    EXPECT_EQ(copy, list);
}

TEST(StringList, EditingLooksUpCaseInsensitivelyAndIgnoresBadIndexes)
{
    TStringList list;
    list.Add("Alpha");
    list.Add("beta");
    list.Add("ALPHA");
    EXPECT_EQ(list.IndexOf("alpha"), 0);
    EXPECT_EQ(list.IndexOf("gamma"), -1);

    list.Insert(1, "mid");
    list.Insert(99, "end");
    list.Insert(-5, "start");
    EXPECT_EQ(list.Text(), String("start\r\nAlpha\r\nmid\r\nbeta\r\nALPHA\r\nend\r\n"));

    list.Delete(0);
    list.Delete(-1);
    list.Delete(list.Count());
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list[0], String("Alpha"));
    list.SetStrings(1, "MID");
    list.SetStrings(7, "ignored");
    EXPECT_EQ(list.Strings(1), String("MID"));
    EXPECT_EQ(list.Strings(7), String());
    EXPECT_EQ(list.Strings(-1), String());
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}
