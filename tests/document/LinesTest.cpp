#include "document/Lines.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tarvok;

TEST(LineTests, LeadingNumberSkipsBlanksAndSaturates) {
    EXPECT_EQ(lines::leadingNumber("12=TF-1"), 12);
    EXPECT_EQ(lines::leadingNumber(" \t7=x"), 7); // an indented key line counts as written
    EXPECT_EQ(lines::leadingNumber("x1"), 0);
    EXPECT_EQ(lines::leadingNumber(""), 0);
    EXPECT_EQ(lines::leadingNumber("-3"), 0);
    EXPECT_GT(lines::leadingNumber("99999999999999999999999999"), 1000000000000LL);
}

TEST(LineTests, FieldSplits) {
    EXPECT_EQ(lines::before("a=b=c", '='), "a");
    EXPECT_EQ(lines::after("a=b=c", '='), "b=c");
    EXPECT_EQ(lines::before("abc", '='), "abc");
    EXPECT_TRUE(lines::after("abc", '=').isEmpty());
    EXPECT_EQ(lines::trimBlanks(" \tKey \t"), "Key");
}

TEST(LineCursor, SplitsAtLfAndCrLfOnly) {
    const auto splitLines = [](QByteArrayView content) {
        std::vector<QByteArrayView> out;
        for (LineCursor in(content); !in.atEnd();)
            out.push_back(in.next());
        return out;
    };
    const auto lines = splitLines("a\r\nb\rc\n\nlast");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(lines[1], "b\rc");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "last");
    EXPECT_TRUE(splitLines("").empty());
    EXPECT_EQ(splitLines("\xEF\xBB\xBF").size(), 0u);
    EXPECT_EQ(splitLines("\n").size(), 1u);
}
