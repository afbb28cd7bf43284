#include "cad/shapes/UserData.h"

#include <gtest/gtest.h>

using namespace mycad;

namespace {

TArrUserDataRec Pairs(std::initializer_list<std::pair<const char*, const char*>> items)
{
    TArrUserDataRec r;
    for (const auto& [k, v] : items) r.push_back({String(k), String(v)});
    return r;
}

} // namespace

TEST(UserData, KeysAreUniqueOnAddAndCompareExactly)
{
    TUserData u;
    EXPECT_EQ(u.GetCount(), 0);
    EXPECT_TRUE(u.AddKeyandValue("a", "1"));
    EXPECT_FALSE(u.AddKeyandValue("a", "2"));
    EXPECT_EQ(u.GetValueByKey("a"), String("1"));
    EXPECT_EQ(u.GetCount(), 1);
    EXPECT_EQ(u.GetValueByKey("A"), String());
    EXPECT_EQ(u.GetValueByKey(" a"), String());
    EXPECT_TRUE(u.AddKeyandValue("A", "upper"));
    EXPECT_TRUE(u.AddKeyandValue(String::fromUtf8("\xC3\xA9"), ""));  // an empty value is still a pair
    EXPECT_EQ(u.GetCount(), 3);
    EXPECT_EQ(u.GetKeyByNo(2), String::fromUtf8("\xC3\xA9"));

    EXPECT_TRUE(u.ChangeValueByKey("A", "changed"));
    EXPECT_FALSE(u.ChangeValueByKey("missing", "x"));
    EXPECT_EQ(u.GetValueByKey("A"), String("changed"));
    EXPECT_EQ(u.UserDataRecord(), Pairs({{"a", "1"}, {"A", "changed"}, {"\xC3\xA9", ""}}));
}

TEST(UserData, RenamedDuplicatesResolveToTheFirstPair)
{
    TUserData u;
    u.AddKeyandValue("a", "first");
    u.AddKeyandValue("b", "second");
    EXPECT_TRUE(u.ReNameKey("a", "b"));
    EXPECT_FALSE(u.ReNameKey("zz", "y"));
    EXPECT_EQ(u.GetKeyByNo(0), String("b"));
    EXPECT_EQ(u.GetKeyByNo(1), String("b"));
    EXPECT_EQ(u.GetValueByKey("b"), String("first"));
    EXPECT_EQ(u.GetValueByKey("a"), String());

    // Changing and deleting also act on the first match only.
    EXPECT_TRUE(u.ChangeValueByKey("b", "one"));
    EXPECT_EQ(u.UserDataRecord(), Pairs({{"b", "one"}, {"b", "second"}}));
    EXPECT_TRUE(u.DeleteRecordByKey("b"));
    EXPECT_EQ(u.UserDataRecord(), Pairs({{"b", "second"}}));
    EXPECT_FALSE(u.AddKeyandValue("b", "again"));
}

TEST(UserData, DeleteKeepsOrderAndIndexesOutsideGiveEmpty)
{
    TUserData u;
    u.AddKeyandValue("k1", "v1");
    u.AddKeyandValue("k2", "v2");
    u.AddKeyandValue("k3", "v3");
    EXPECT_EQ(u.GetKeyByNo(2), String("k3"));
    EXPECT_TRUE(u.DeleteRecordByKey("k1"));
    EXPECT_FALSE(u.DeleteRecordByKey("k1"));
    EXPECT_EQ(u.GetCount(), 2);
    EXPECT_EQ(u.GetKeyByNo(0), String("k2"));
    EXPECT_EQ(u.GetKeyByNo(1), String("k3"));
    EXPECT_EQ(u.GetKeyByNo(2), String());
    EXPECT_EQ(u.GetKeyByNo(-1), String());
    EXPECT_EQ(u.GetValueByKey("k3"), String("v3"));
    u.ClearAll();
    EXPECT_EQ(u.GetCount(), 0);
    EXPECT_EQ(u.GetKeyByNo(0), String());
}

TEST(UserData, AssignAndSetRecordsCopyWholeLists)
{
    TUserData src;
    src.AddKeyandValue("x", "1");
    src.AddKeyandValue("y", "2");
    TUserData dst;
    dst.AddKeyandValue("old", "gone");
    dst.Assign(src);
    EXPECT_EQ(dst.UserDataRecord(), src.UserDataRecord());
    // A copy, not a share: changing the source leaves the copy as it was.
    src.ChangeValueByKey("x", "changed");
    EXPECT_EQ(dst.GetValueByKey("x"), String("1"));
    EXPECT_EQ(dst.GetValueByKey("old"), String());

    dst.Assign(dst);
    EXPECT_EQ(dst.UserDataRecord(), Pairs({{"x", "1"}, {"y", "2"}}));

    // Set takes duplicates as they come; the look-up finds the first.
    dst.SetUserDataRecord(Pairs({{"d", "a"}, {"d", "b"}, {"e", "c"}}));
    EXPECT_EQ(dst.GetCount(), 3);
    EXPECT_EQ(dst.GetValueByKey("d"), String("a"));
    dst.SetUserDataRecord({});
    EXPECT_EQ(dst.GetCount(), 0);
}
