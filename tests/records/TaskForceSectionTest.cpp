#include "records/TaskForceSection.h"
#include "document/Rewrite.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

using namespace tarvok;
using tarvok::test::crlf;
using tarvok::test::gbk;

namespace {

const TextCodec kGbk(Encoding::Gbk);

struct Row {
    QString number, count, unit;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Row& r) {
    return os << r.number.toStdString() << "=" << r.count.toStdString() << ","
              << r.unit.toStdString();
}

std::vector<Row> rowsOf(const SectionRecord& r) {
    std::vector<Row> out;
    for (const SectionRow& row : r.rows)
        out.push_back({row.number, row.first, row.second});
    return out;
}

SectionRecord load(const QByteArray& content, const QByteArray& id) {
    std::optional<SectionRecord> r = readTaskForceSection(content, id, kGbk);
    EXPECT_TRUE(r.has_value()) << "no section " << id.toStdString();
    return r.value_or(SectionRecord{});
}

// Loads the section and saves it back unchanged, as a selection and a save do.
QByteArray roundTrip(const QByteArray& content, const QByteArray& id) {
    const SectionRecord r = load(content, id);
    return rewriteLines(content, ReplaceSectionBody(id, taskForceBlock(r, kGbk)));
}

} // namespace

TEST(TaskForceSection, ReadsNameAndEntriesAndWritesThemBackUnchanged) {
    const QByteArray content = crlf({"[TaskForces]", "0=TF-A", "", "[TF-A]", "Name=Rhinos",
                                     "0=3,HTNK", "1=1,A,B", "Group=-1", "", "[Next]", "X=1"});
    const SectionRecord r = load(content, "TF-A");
    EXPECT_EQ(r.name, "Rhinos");
    EXPECT_EQ(rowsOf(r), (std::vector<Row>{{"0", "3", "HTNK"}, {"1", "1", "A,B"}}));
    EXPECT_EQ(roundTrip(content, "TF-A"), content);
}

TEST(TaskForceSection, EmptySectionAndEmptyName) {
    const QByteArray content = crlf({"[TF-A]", "Name=", "Group=-1"});
    const SectionRecord r = load(content, "TF-A");
    EXPECT_EQ(r.name, "");
    EXPECT_TRUE(r.rows.empty());
    EXPECT_EQ(taskForceBlock(r, kGbk), (std::vector<QByteArray>{"Name=", "Group=-1"}));
}

TEST(TaskForceSection, EntriesAfterTheGroupLineAreKeptAndWrittenBeforeIt) {
    // Real files hold entries below "Group=-1": a save must not lose those units.
    const QByteArray content = crlf({"[TF-A]", "Name=x", "0=1,E1", " Group = -1 ", "1=2,E2",
                                     "2=1,E3", "[TF-B]", "Name=y", "0=9,NOT-MINE", "Group=-1"});
    const SectionRecord r = load(content, "TF-A");
    EXPECT_EQ(rowsOf(r), (std::vector<Row>{{"0", "1", "E1"}, {"1", "2", "E2"}, {"2", "1", "E3"}}));
    EXPECT_EQ(roundTrip(content, "TF-A"),
              crlf({"[TF-A]", "Name=x", "0=1,E1", "1=2,E2", "2=1,E3", "Group=-1", "[TF-B]",
                    "Name=y", "0=9,NOT-MINE", "Group=-1"}));
}

TEST(TaskForceSection, EntriesEndAtTheFirstLineWithoutEqualsNotAtGroupWithASpace) {
    const QByteArray content =
        crlf({"[TF-A]", "Name=x", "0=1,E1", "Group=-1 ", "; comment", "1=5,LATER"});
    const SectionRecord r = load(content, "TF-A");
    EXPECT_EQ(rowsOf(r), (std::vector<Row>{{"0", "1", "E1"}}));
    // The comment and what follows it are not part of the body: they stay below it.
    EXPECT_EQ(roundTrip(content, "TF-A"),
              crlf({"[TF-A]", "Name=x", "0=1,E1", "Group=-1", "; comment", "1=5,LATER"}));
}

TEST(TaskForceSection, SameNumberTwiceShowsTheLaterValuesInBothRows) {
    const QByteArray content = crlf({"[TF-A]", "Name=x", "0=1,A", "0=2,B", "Group=-1"});
    const SectionRecord r = load(content, "TF-A");
    EXPECT_EQ(rowsOf(r), (std::vector<Row>{{"0", "2", "B"}, {"0", "2", "B"}}));
    EXPECT_EQ(taskForceBlock(r, kGbk),
              (std::vector<QByteArray>{"Name=x", "0=2,B", "0=2,B", "Group=-1"}));
}

TEST(TaskForceSection, SectionsThatDoNotLoad) {
    const QByteArray content =
        crlf({"[TF-A]", "0=1,A", "Name=x", "Group=-1", "[tf-b]", "Name=y", "Group=-1", "[TF-C]"});
    // The Name line must come first; the ID is compared case-sensitively; a header at
    // the end of the file has no Name line; an empty ID names no section.
    EXPECT_FALSE(readTaskForceSection(content, "TF-A", kGbk));
    EXPECT_FALSE(readTaskForceSection(content, "TF-B", kGbk));
    EXPECT_FALSE(readTaskForceSection(content, "TF-C", kGbk));
    EXPECT_FALSE(readTaskForceSection(content, "", kGbk));
    EXPECT_FALSE(readTaskForceSection(content, "Name=x", kGbk));
}

TEST(TaskForceSection, HeaderWithSpacesIsFoundAndADuplicateLoadsOverTheFirst) {
    const QByteArray content = crlf({"  [TF-A] ", "Name=first", "0=1,A", "Group=-1", "", "[TF-A]",
                                     "Name=second", "0=7,B", "Group=-1"});
    const SectionRecord r = load(content, "TF-A");
    EXPECT_EQ(r.name, "second");
    EXPECT_EQ(rowsOf(r), (std::vector<Row>{{"0", "7", "B"}}));
    // A mention of the header inside another line is no header.
    EXPECT_FALSE(readTaskForceSection(crlf({"; [TF-A]", "Name=x"}), "TF-A", kGbk));
}

TEST(TaskForceSection, TheLineThatEndsASectionIsNotReadAsItsHeader) {
    // The entries of TF-A run straight into a second [TF-A] header whose Name line is
    // missing: that header is consumed as the end of the first section.
    const QByteArray content =
        crlf({"[TF-A]", "Name=x", "0=1,A", "Group=-1", "[TF-A]", "Name=y", "0=2,B"});
    const SectionRecord r = load(content, "TF-A");
    EXPECT_EQ(r.name, "x");
    EXPECT_EQ(rowsOf(r), (std::vector<Row>{{"0", "1", "A"}}));
}

TEST(TaskForceSection, LastSectionOfTheFileAndLineEnds) {
    const QByteArray content = QByteArray("\xEF\xBB\xBF[TF-A]\nName=x\r\n0=1,A\nGroup=-1");
    const SectionRecord r = load(content, "TF-A");
    EXPECT_EQ(rowsOf(r), (std::vector<Row>{{"0", "1", "A"}}));
    EXPECT_EQ(roundTrip(content, "TF-A"),
              QByteArray("\xEF\xBB\xBF") + crlf({"[TF-A]", "Name=x", "0=1,A", "Group=-1"}));
}

TEST(TaskForceSection, GbkNamesAndUntouchedBytesSurviveASave) {
    const QByteArray name = gbk(QStringLiteral("犀牛坦克"));
    const QByteArray content =
        crlf({"[TF-A]", "Name=" + name, " 0 =3, HTNK ", "1=2,\xFF\xFE", "Group=-1"});
    const SectionRecord r = load(content, "TF-A");
    EXPECT_EQ(r.name, QStringLiteral("犀牛坦克"));
    EXPECT_EQ(r.rows.at(0).number, " 0 ");
    EXPECT_EQ(r.rows.at(0).second, " HTNK ");
    EXPECT_EQ(roundTrip(content, "TF-A"), content);

    SectionRecord changed = r;
    changed.name = QStringLiteral("天启");
    changed.rows.at(1).first = QStringLiteral("4");
    const std::vector<QByteArray> block = taskForceBlock(changed, kGbk);
    EXPECT_EQ(block.at(0), "Name=" + gbk(QStringLiteral("天启")));
    EXPECT_EQ(block.at(1), " 0 =3, HTNK ");
    EXPECT_TRUE(block.at(2).startsWith("1=4,"));

    // "Name" is looked for in the decoded line: 癗 is 0xB0 0x4E in GBK, whose second
    // byte is the letter N, so the bytes of "癗ame=x" hold "Name" but its text does not.
    const QByteArray noName = crlf({"[TF-A]", gbk(QStringLiteral("癗ame=x")), "0=1,A"});
    ASSERT_TRUE(noName.contains("Name"));
    EXPECT_FALSE(readTaskForceSection(noName, "TF-A", kGbk));
}

TEST(TaskForceSection, AddedRowsAreWrittenFromTheirTexts) {
    SectionRecord r;
    r.name = "new";
    r.rows.push_back({"0", "5", "E1", {}});
    r.rows.push_back({"1", "", "", {}});
    EXPECT_EQ(taskForceBlock(r, kGbk),
              (std::vector<QByteArray>{"Name=new", "0=5,E1", "1=,", "Group=-1"}));
}

namespace {

// A rules file with many task forces and scripts in the shapes real files have: GBK
// names, indented key lines, sections directly adjacent, entries after the Group line,
// a duplicated section and comments. normalised gives the file as an unchanged save of
// every record leaves it: the entries below a Group line move above it.
QByteArray manyRecords(bool normalised) {
    QList<QByteArray> lines{"; header comment", "[TaskForces]"};
    constexpr int kCount = 300;
    for (int i = 0; i < kCount; ++i)
        lines << QByteArray::number(i) + "=TF-" + QByteArray::number(i);
    lines << ""
          << "[ScriptTypes]";
    for (int i = 0; i < kCount; ++i)
        lines << QByteArray::number(1000 + i) + "=SC-" + QByteArray::number(i);
    lines << "";
    for (int i = 0; i < kCount; ++i) {
        const QByteArray n = QByteArray::number(i);
        lines << (i % 7 == 0 ? "  [TF-" + n + "] " : "[TF-" + n + "]");
        lines << "Name=" + gbk(QStringLiteral("特遣%1号 犀牛").arg(i));
        const int entries = i % 4;
        for (int k = 0; k < entries; ++k)
            lines << (i % 5 == 0 ? " " : "") + QByteArray::number(k) + "=" +
                         QByteArray::number(k + 1) + ",UNIT" + n;
        const bool late = i % 6 == 0;
        if (late && normalised)
            lines << QByteArray::number(entries) + "=1,LATE";
        lines << "Group=-1";
        if (late && !normalised)
            lines << QByteArray::number(entries) + "=1,LATE";
        if (i % 3 != 0)
            lines << ""; // every third section runs straight into the next header
    }
    lines << "; scripts follow";
    for (int i = 0; i < kCount; ++i) {
        const QByteArray n = QByteArray::number(i);
        lines << "[SC-" + n + "]"
              << "Name=" + gbk(QStringLiteral("脚本%1").arg(i));
        for (int k = 0; k < i % 5; ++k)
            lines << QByteArray::number(k) + "=" + QByteArray::number(46 + k) + "," + n;
        if (i % 4 != 0)
            lines << "";
    }
    return crlf(lines);
}

} // namespace

TEST(SectionRoundTrip, SavingEveryRecordUnchangedKeepsARealisticFile) {
    const TextCodec codec(detectEncoding(manyRecords(false)));
    ASSERT_EQ(codec.encoding(), Encoding::Gbk);
    QByteArray content = manyRecords(false);
    for (int i = 0; i < 300; ++i) {
        const QByteArray tf = "TF-" + QByteArray::number(i);
        const std::optional<SectionRecord> t = readTaskForceSection(content, tf, codec);
        ASSERT_TRUE(t) << tf.toStdString();
        EXPECT_EQ(t->name, QStringLiteral("特遣%1号 犀牛").arg(i));
        EXPECT_EQ(t->rows.size(), static_cast<size_t>(i % 4 + (i % 6 == 0 ? 1 : 0)));
        content = rewriteLines(content, ReplaceSectionBody(tf, taskForceBlock(*t, codec)));

        const QByteArray sc = "SC-" + QByteArray::number(i);
        const std::optional<SectionRecord> s = readScriptSection(content, sc, codec);
        ASSERT_TRUE(s) << sc.toStdString();
        EXPECT_EQ(s->rows.size(), static_cast<size_t>(i % 5));
        content = rewriteLines(content, ReplaceSectionBody(sc, scriptBlock(*s, codec)));
    }
    EXPECT_EQ(content, manyRecords(true));
}
