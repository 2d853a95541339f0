#include "records/ScriptSection.h"
#include "records/TaskForceSection.h"
#include "document/Rewrite.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

using namespace tarvok;
using tarvok::test::crlf;
using tarvok::test::gbk;

namespace {

const TextCodec kGbk(Encoding::Gbk);

QStringList rowsOf(const SectionRecord& r) {
    QStringList out;
    for (const SectionRow& row : r.rows)
        out << row.number + "|" + row.first + "|" + row.second;
    return out;
}

QByteArray roundTrip(const QByteArray& content, const QByteArray& id) {
    const std::optional<SectionRecord> r = readScriptSection(content, id, kGbk);
    EXPECT_TRUE(r.has_value());
    return rewriteLines(content,
                        ReplaceSectionBody(id, scriptBlock(r.value_or(SectionRecord{}), kGbk)));
}

} // namespace

TEST(ScriptSection, ReadsStepsAndAnUnchangedSaveKeepsTheFile) {
    const QByteArray content = crlf({"[ScriptTypes]", "0=SC-A", "", "[SC-A]", "Name=Attack",
                                     "0=53,0", "1=49,0", "", "[SC-B]", "Name=b"});
    const std::optional<SectionRecord> r = readScriptSection(content, "SC-A", kGbk);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->name, "Attack");
    EXPECT_EQ(rowsOf(*r), (QStringList{"0|53|0", "1|49|0"}));
    EXPECT_EQ(roundTrip(content, "SC-A"), content);
}

TEST(ScriptSection, StepsRunningIntoTheNextHeaderOrTheEndOfTheFile) {
    const QByteArray adjacent = crlf({"[SC-A]", "Name=a", "0=53,0", "[SC-B]", "Name=b", "0=1,2"});
    EXPECT_EQ(rowsOf(*readScriptSection(adjacent, "SC-A", kGbk)), QStringList{"0|53|0"});
    EXPECT_EQ(rowsOf(*readScriptSection(adjacent, "SC-B", kGbk)), QStringList{"0|1|2"});
    EXPECT_EQ(roundTrip(adjacent, "SC-A"), adjacent);
    EXPECT_EQ(roundTrip(adjacent, "SC-B"), adjacent);
}

TEST(ScriptSection, ASectionWithKeysThatAreNoStepsIsNoScript) {
    // A script has no closing key: a Group line (or a team type's keys) makes the
    // section something else, which is never shown or written as steps.
    EXPECT_FALSE(readScriptSection(crlf({"[SC-A]", "Name=a", "0=53,0", "Group=-1"}), "SC-A", kGbk));
    EXPECT_FALSE(readTaskForceSection(crlf({"[TF-A]", "Name=a", "Loadable=no", "Group=-1"}), "TF-A", kGbk));
    EXPECT_TRUE(readTaskForceSection(crlf({"[TF-A]", "Name=a", " 0 =1,E1", "Group=-1"}), "TF-A", kGbk));
}

TEST(ScriptSection, ALineWithoutCommaIsKeptAsItWasUntilEdited) {
    const QByteArray content = crlf({"[SC-A]", "Name=a", "0=53", "1=49,0,extra"});
    const std::optional<SectionRecord> r = readScriptSection(content, "SC-A", kGbk);
    ASSERT_TRUE(r);
    EXPECT_EQ(rowsOf(*r), (QStringList{"0|53|", "1|49|0,extra"}));
    EXPECT_EQ(roundTrip(content, "SC-A"), content);
    SectionRecord edited = *r;
    edited.rows.at(0).second = "3";
    EXPECT_EQ(scriptBlock(edited, kGbk),
              (std::vector<QByteArray>{"Name=a", "0=53,3", "1=49,0,extra"}));
}

TEST(ScriptSection, NameLineFormsAndSectionsThatDoNotLoad) {
    EXPECT_FALSE(readScriptSection(crlf({"[SC-A]", "0=53,0", "Name=a"}), "SC-A", kGbk));
    EXPECT_FALSE(readScriptSection(crlf({"[sc-a]", "Name=a"}), "SC-A", kGbk));
    // A Name line without "=" gives the whole line as the name.
    const auto whole = readScriptSection(crlf({"[SC-A]", "MyName", "0=1,2"}), "SC-A", kGbk);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->name, "MyName");
    // The name is everything after the first "=", untrimmed; an odd Name line that still
    // gives the same name is written back as it was.
    const QByteArray odd = crlf({"[SC-A]", " Name = a=b ", "0=1,2"});
    const auto r = readScriptSection(odd, "SC-A", kGbk);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->name, " a=b ");
    EXPECT_EQ(roundTrip(odd, "SC-A"), odd);
    SectionRecord cleared = *r;
    cleared.name.clear();
    EXPECT_EQ(scriptBlock(cleared, kGbk).at(0), "Name=");
}

TEST(ScriptSection, GbkTextRoundTrip) {
    const QByteArray content =
        crlf({"[SC-A]", "Name=" + gbk(QStringLiteral("进攻基地")), "0=53,0"});
    const auto r = readScriptSection(content, "SC-A", kGbk);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->name, QStringLiteral("进攻基地"));
    EXPECT_EQ(roundTrip(content, "SC-A"), content);
}
