#include "document/Lines.h"

#include <gtest/gtest.h>

using namespace tarvok;

TEST(LineTests, LeadingNumberSkipsBlanksAndSaturates) {
    EXPECT_EQ(lines::leadingNumber("12=TF-1"), 12);
    EXPECT_EQ(lines::leadingNumber(" \t7=x"), 7); // an indented key line counts as written
    EXPECT_EQ(lines::leadingNumber("x1"), 0);
    EXPECT_EQ(lines::leadingNumber(""), 0);
    EXPECT_EQ(lines::leadingNumber("-3"), 0);
    EXPECT_GT(lines::leadingNumber("99999999999999999999999999"), 1000000000000LL);
}

TEST(LineTests, HeaderTestAndFieldSplits) {
    EXPECT_TRUE(lines::isHeader("  [A-1] ", "A-1"));
    EXPECT_FALSE(lines::isHeader("\t[A-1]", "A-1"));
    EXPECT_FALSE(lines::isHeader("[A-1", "A-1"));
    EXPECT_FALSE(lines::isHeader("[]", "A"));
    EXPECT_TRUE(lines::isHeader("[]", ""));
    EXPECT_EQ(lines::before("a=b=c", '='), "a");
    EXPECT_EQ(lines::after("a=b=c", '='), "b=c");
    EXPECT_EQ(lines::before("abc", '='), "abc");
    EXPECT_TRUE(lines::after("abc", '=').isEmpty());
    EXPECT_EQ(lines::trimBlanks(" \tKey \t"), "Key");
    EXPECT_EQ(lines::trimSpaces(" \tKey \t"), "\tKey \t");
}

TEST(LineCursor, SplitsAtLfAndCrLfOnly) {
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

TEST(LineSink, BlockCopiesGiveTheSameBytesAsLineByLine) {
    const QByteArray source = "a\r\nb\nc\r\nd\r\n";
    LineSink sink(0, source);
    LineCursor in(source);
    std::vector<QByteArrayView> all;
    while (!in.atEnd())
        all.push_back(in.next());
    sink.write(all[0]);
    sink.write(all[0]);      // written twice
    sink.write(all[2]);      // "b" skipped
    sink.write("new");
    sink.write(all[1]);      // out of order, and its line end was LF
    sink.write(all[3]);
    EXPECT_EQ(sink.take(), "a\r\na\r\nc\r\nnew\r\nb\r\nd\r\n");
}
