#include "document/IniText.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>

using namespace tarvok;

TEST(IniText, SectionsOfANameInFileOrder) {
    const IniText t("[A]\r\n;c\nk=v\r[B]\n[A]\nx");
    const std::vector<IniText::Section> a = t.sections("A");
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ((std::vector{a[0].header, a[0].bodyBegin, a[0].bodyEnd, a[1].header, a[1].bodyEnd}),
              (std::vector<qsizetype>{0, 1, 3, 3, 5}));
}

TEST(IniEdits, KeepEveryByteTheyDoNotChange) {
    // 'r' replaces line, 'v' its value, 'g' the range, 'd' deletes it, 'i' inserts after it.
    struct Edit {
        char op;
        qsizetype line;
        QByteArray text = {};
        IniText::Range range = {};
    };
    struct Case {
        QByteArray content;
        std::vector<Edit> edits;
        std::optional<QByteArray> expected;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF a = 1\r\n\r\nb\rc\n;x", {}, "\xEF\xBB\xBF a = 1\r\n\r\nb\rc\n;x"},
        {"\xEF\xBB\xBF\tk = 1 ;c\r\nb\n", {{'v', 0, "22"}}, "\xEF\xBB\xBF\tk = 22 ;c\r\nb\n"},
        {"k=  ;c\n", {{'v', 0, "v"}}, "k=v  ;c\n"},
        {"k = v ; c", {{'v', 0, "w"}, {'g', 0, "key", {0, 1}}}, "key = w ; c"},
        {"a\r\nb\nc", {{'r', 1, "B"}, {'r', 2, "C"}}, "a\r\nB\nC"},
        {"a\r\nb\nc\r\nd", {{'d', 1}, {'d', 3}}, "a\r\nc\r\n"},
        // New lines end like the line above; those after one line keep their order.
        {"a\nb\r\n", {{'i', 0, "x"}, {'i', 1, "z"}, {'i', 0, "y"}}, "a\nx\ny\nb\r\nz\r\n"},
        {"a\nb\n", {{'i', 0, "x"}, {'d', 0}}, "x\nb\n"},
        {"a\nb", {{'i', 1, "c"}}, "a\nb\nc\n"},
        {"a\nb\r", {{'i', 1, "c"}}, "a\nb\r\r\nc\n"},
        {"a", {{'i', 0, "b"}}, "a\r\nb\r\n"},
        // Or with their own ('n': LF); a last line without one still ends like the line above.
        {"a\r\nb", {{'n', 0, "x"}, {'n', 1, "y"}}, "a\r\nx\nb\r\ny\n"},
        {"\xEF\xBB\xBF"
         "a\n",
         {{'i', -1, "x"}},
         "\xEF\xBB\xBFx\r\na\n"},
        {"", {{'i', -1, "x"}}, "x\r\n"},
        // Edits that cannot be made.
        {"a\n", {{'d', 1}}, std::nullopt},
        {"ab\r\n", {{'g', 0, "", {1, 2}}}, std::nullopt},
        {"abc", {{'g', 0, "", {0, 2}}, {'g', 0, "", {1, 1}}}, std::nullopt},
        {"a\n", {{'g', 0, "x", {0, 0}}, {'d', 0}}, std::nullopt},
        {"a\n", {{'i', 0, "b\nc"}}, std::nullopt},
    };
    for (const Case& c : cases) {
        const IniText text(c.content);
        IniEdits edits;
        for (const Edit& e : c.edits) {
            if (e.op == 'r')
                edits.replaceLine(e.line, e.text);
            else if (e.op == 'v' || e.op == 'g')
                edits.replaceInLine(e.line, e.op == 'v' ? text.valueRange(e.line) : e.range,
                                    e.text);
            else if (e.op == 'd')
                edits.deleteLine(e.line);
            else if (e.op == 'n')
                edits.insertAfter(e.line, e.text, "\n");
            else
                edits.insertAfter(e.line, e.text);
        }
        EXPECT_EQ(applyEdits(text, edits), c.expected) << c.content.toStdString();
    }
}

// Reading with a second thread gives the same lines and sections as reading alone,
// wherever the halves meet: in a section, on a header, at a blank line, at the end.
TEST(IniText, ASharedReadingReadsAsOneThreadDoes) {
    std::mt19937 rng(11);
    const QByteArray pieces[] = {"[A]", " [ B ] ",      "k = v ; c", "x",  "",
                                 ";",   "\xEF\xBB\xBF", "n=1,2",     "[A]"};
    const QByteArray ends[] = {"\n", "\r\n", "\r"};
    for (int round = 0; round < 300; ++round) {
        QByteArray content;
        for (int n = static_cast<int>(rng() % 12); n > 0; --n)
            content += pieces[rng() % std::size(pieces)] + ends[rng() % std::size(ends)];
        if (rng() % 2)
            content.chop(1);
        const IniText alone(content);
        const IniText shared = IniText::readShared(content, 0);
        ASSERT_EQ(shared.lineCount(), alone.lineCount()) << content.toStdString();
        ASSERT_EQ(shared.hasBom(), alone.hasBom());
        for (qsizetype i = 0; i < alone.lineCount(); ++i) {
            ASSERT_EQ(shared.kind(i), alone.kind(i)) << i;
            ASSERT_EQ(shared.text(i), alone.text(i)) << i;
            ASSERT_EQ(shared.lineEnd(i), alone.lineEnd(i)) << i;
            ASSERT_EQ(shared.key(i), alone.key(i)) << i;
            ASSERT_EQ(shared.value(i), alone.value(i)) << i;
        }
        ASSERT_EQ(shared.sections().size(), alone.sections().size());
        for (size_t s = 0; s < alone.sections().size(); ++s) {
            const IniText::Section &a = alone.sections()[s], &b = shared.sections()[s];
            ASSERT_EQ((std::vector{b.header, b.bodyBegin, b.bodyEnd}),
                      (std::vector{a.header, a.bodyBegin, a.bodyEnd}));
            ASSERT_EQ(b.name, a.name);
        }
    }
}
