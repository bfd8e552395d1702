#include "support/StrUtils.h"

#include <gtest/gtest.h>

namespace {

using support::FindLast;
using support::GetField;
using support::ReplaceAll;
using support::SplitString;

TEST(StrUtils, FindLast) {
    EXPECT_EQ(FindLast("a.b.c", "."), 4);
    EXPECT_EQ(FindLast("abc", "."), 0);
    EXPECT_EQ(FindLast("", "."), 0);
    EXPECT_EQ(FindLast("aaa", "aa"), 2);
    EXPECT_EQ(FindLast("abc", ""), 3);
}

TEST(StrUtils, ReplaceAllRescansFromTheStart) {
    EXPECT_EQ(ReplaceAll("Zelvano (*.pzl)|*.pzl", "|", QString(QChar(0))),
              QString("Zelvano (*.pzl)") + QChar(0) + "*.pzl");
    EXPECT_EQ(ReplaceAll("", "|", "x"), "");
    EXPECT_EQ(ReplaceAll("aabb", "ab", ""), "");
    EXPECT_EQ(ReplaceAll("a,b,,c", ",", ""), "abc");
    EXPECT_EQ(ReplaceAll("aaabbb", "ab", "ba"), "bbbaaa");
    EXPECT_EQ(ReplaceAll("abbb", "ab", "a"), "a");
}

TEST(StrUtils, ReplaceAllEndsOnArgumentsThatWouldRescanForever) {
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAll("a-b", "-", "--"), "a--b");
    EXPECT_EQ(ReplaceAll("aab", "ab", "bbaa"), "abbaa");
}

TEST(StrUtils, GetFieldFramesTheCallersText) {
    QString text = ",a,,b,";
    EXPECT_EQ(GetField(text, ",", 1), "a");
    EXPECT_EQ(GetField(text, ",", 2), "");
    EXPECT_EQ(GetField(text, ",", 3), "b");
    EXPECT_EQ(GetField(text, ",", 0), "");
    EXPECT_EQ(GetField(text, ",", 9), "");
    QString single = "a";
    GetField(single, ",", 1);
    EXPECT_EQ(single, ",a,");
}

TEST(StrUtils, SplitString) {
    EXPECT_EQ(SplitString("1,2,3", ","), QStringList({"1", "2", "3"}));
    EXPECT_EQ(SplitString("", ","), QStringList());
    EXPECT_EQ(SplitString(",a", ","), QStringList({"a"}));
    EXPECT_EQ(SplitString("a,,b", ","), QStringList({"a", "", "b"}));
    EXPECT_EQ(SplitString("a,b,", ","), QStringList({"a", "b", ""}));
    EXPECT_EQ(SplitString("a,/#(!a53x,b", ","), QStringList({"a"}));
    EXPECT_EQ(SplitString("x!y", "!"), QStringList({"x", "y"}));
    EXPECT_EQ(SplitString("x", ""), QStringList({"x"}));
}

TEST(StrUtils, SplitStringOnAnyDelimiter) {
    const struct {
        QString Text, Delimiter;
        QStringList Fields;
    } cases[] = {
        {"a::b::", "::", {"a", "b", ""}},
        {"::a", "::", {"a"}},
        {"xa", "aa", {"xa"}},
        {"a", "aa", {"a"}},
        {"aaaaa", "aa", {"", "a"}},
        {"1xx2", "xx", {"1", "2"}},
        {"1/#(!a53x2", "/#(!a53x", {"1", "2"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitString(c.Text, c.Delimiter), c.Fields) << c.Text.toStdString();
    EXPECT_EQ(SplitString(QString(40000, ','), ",").size(), 40000);
}

}  // namespace
