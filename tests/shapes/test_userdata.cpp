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

TEST(UserData, KeysAreUniqueOnAddCompareExactlyAndDuplicatesResolveToTheFirst)
{
    TUserData u;
    EXPECT_TRUE(u.AddKeyandValue("a", "1"));
    EXPECT_FALSE(u.AddKeyandValue("a", "2"));
    EXPECT_EQ(u.GetValueByKey("A"), String());
    EXPECT_EQ(u.GetValueByKey(" a"), String());
    EXPECT_TRUE(u.AddKeyandValue("A", "upper"));
    EXPECT_TRUE(u.AddKeyandValue(String::fromUtf8("\xC3\xA9"), ""));  // an empty value is still a pair
    EXPECT_EQ(u.GetCount(), 3);
    EXPECT_TRUE(u.ChangeValueByKey("A", "changed"));
    EXPECT_FALSE(u.ChangeValueByKey("missing", "x"));
    EXPECT_EQ(u.UserDataRecord(), Pairs({{"a", "1"}, {"A", "changed"}, {"\xC3\xA9", ""}}));

    // A key renamed onto another one: lookups, changes and deletions act on
    // the first match only.
    u = TUserData();
    u.AddKeyandValue("a", "first");
    u.AddKeyandValue("b", "second");
    EXPECT_TRUE(u.ReNameKey("a", "b"));
    EXPECT_FALSE(u.ReNameKey("zz", "y"));
    EXPECT_EQ(u.GetKeyByNo(0), String("b"));
    EXPECT_EQ(u.GetValueByKey("b"), String("first"));
    EXPECT_EQ(u.GetValueByKey("a"), String());
    EXPECT_TRUE(u.ChangeValueByKey("b", "one"));
    EXPECT_EQ(u.UserDataRecord(), Pairs({{"b", "one"}, {"b", "second"}}));
    EXPECT_TRUE(u.DeleteRecordByKey("b"));
    EXPECT_EQ(u.UserDataRecord(), Pairs({{"b", "second"}}));
    EXPECT_FALSE(u.AddKeyandValue("b", "again"));
}
