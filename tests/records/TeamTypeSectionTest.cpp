#include "document/Lines.h"
#include "document/Rewrite.h"
#include "records/TeamTypeSection.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

using namespace tarvok;
using tarvok::test::newTeamBlock;
namespace tt = tarvok::teamtype;

namespace {

std::vector<QByteArrayView> views(const std::vector<QByteArray>& lines) {
    return {lines.begin(), lines.end()};
}

std::vector<QByteArray> owned(const std::vector<QByteArrayView>& lines) {
    std::vector<QByteArray> out;
    for (QByteArrayView l : lines)
        out.push_back(l.toByteArray());
    return out;
}

} // namespace

TEST(TeamTypeBlock, DefaultBlockIsTheNewTeamTypeInKeyOrder) {
    const QList<QByteArray> block = newTeamBlock();
    const std::vector<QByteArray> expected(block.begin(), block.end());
    EXPECT_EQ(tt::defaultBlock(), expected);
}

TEST(TeamTypeBlock, FixedKeysIgnoreTheirValuesAndTextsAreWrittenAsHeld) {
    tt::Values v = tt::defaultValues();
    v[tt::VeteranLevel] = "3";
    v[tt::House] = "Americans";
    v[tt::Group] = "7";
    v[tt::Priority] = "";
    v[tt::Name] = " spaced name ";
    const std::vector<QByteArray> block = tt::buildBlock(v);
    ASSERT_EQ(block.size(), 31u);
    EXPECT_EQ(block[tt::VeteranLevel], "VeteranLevel=1");
    EXPECT_EQ(block[tt::House], "House=<none>");
    EXPECT_EQ(block[tt::Group], "Group=-1");
    EXPECT_EQ(block[tt::Priority], "Priority=");
    EXPECT_EQ(block[tt::Name], "Name= spaced name ");
}

TEST(TeamTypeBlock, SaveKeepsUnknownKeysAfterTheBlockAndDropsKnownKeysInOtherCase) {
    const std::vector<QByteArray> old{
        "Name=Old",        "AreTeamMembersRecruitabl=no", "loadable=yes", "PRIORITY=9",
        "\tExtraKey = 4",  "Max=2",                       "=orphan",      "Script=SC-1"};
    const std::vector<QByteArray> body = tt::buildBody(tt::defaultValues(), views(old));
    ASSERT_EQ(body.size(), 34u);
    EXPECT_EQ(body[0], "Name=");
    EXPECT_EQ(body[30], "TaskForce=");
    EXPECT_EQ(body[31], "AreTeamMembersRecruitabl=no");
    EXPECT_EQ(body[32], "\tExtraKey = 4");
    EXPECT_EQ(body[33], "=orphan");
}

TEST(TeamTypeParse, WholeKeysOnlyAndValuesUntrimmed) {
    // A name that mentions other keys sets only the name.
    const std::vector<QByteArray> body{"Name=Max Priority Script TaskForce", "  Max =  3 ",
                                       "\tPriority\t=a5", "MaxLevel=9", "Scripts=SC-X",
                                       "VeteranLevel=4", "House=Russians", "Group=2",
                                       "priority=7", "TaskForce=TF-1"};
    const std::vector<tt::Assignment> a = tt::parseBody(views(body));
    const std::vector<tt::Assignment> expected{
        {tt::Name, "Max Priority Script TaskForce", false},
        {tt::Max, "  3 ", false},
        {tt::Priority, "a5", false},
        {tt::TaskForce, "TF-1", false},
    };
    EXPECT_EQ(a, expected);
}

TEST(TeamTypeParse, FlagIsOnWhenItsValueHoldsYesInAnyCase) {
    auto on = [](QByteArrayView line) {
        const std::optional<tt::Assignment> a = tt::parseLine(line);
        EXPECT_TRUE(a.has_value()) << line.toByteArray().constData();
        return a && a->on;
    };
    EXPECT_TRUE(on("Loadable=yes"));
    EXPECT_TRUE(on("Loadable=YES"));
    EXPECT_TRUE(on("Loadable= Yes ;comment"));
    EXPECT_FALSE(on("Loadable=1"));
    EXPECT_FALSE(on("Loadable=true"));
    EXPECT_FALSE(on("Loadable="));
    EXPECT_FALSE(on("Loadable=no"));
    // The key is no part of the value: a flag key holding "yes" in its name is not on.
    EXPECT_FALSE(tt::parseLine("Suicide=ye s")->on);
    EXPECT_FALSE(tt::parseLine("Loadable").has_value());
}

TEST(TeamTypeSections, FindsHeadersWithSpacesCaseSensitiveAndEveryDuplicate) {
    const QByteArray content = "[TeamTypes]\r\n0=TM-A\r\n\r\n  [TM-A]  \r\nName=one\r\nMax=2\r\n"
                               "\r\nPriority=9\r\n[tm-a]\r\nName=lower\r\n[TM-AB]\r\nName=x\r\n"
                               "X=[TM-A]\r\n[TM-A]\nName=two";
    const auto bodies = tt::findSectionBodies(content, "TM-A");
    ASSERT_EQ(bodies.size(), 2u);
    EXPECT_EQ(owned(bodies[0]), (std::vector<QByteArray>{"Name=one", "Max=2"}));
    // The last section has no line after its last key.
    EXPECT_EQ(owned(bodies[1]), (std::vector<QByteArray>{"Name=two"}));
    EXPECT_TRUE(tt::findSectionBodies(content, "TM-a").empty());
}

TEST(TeamTypeSections, LineThatEndsABodyIsNotTakenAsAHeader) {
    // Two sections of the same ID directly after each other: the second header ends the
    // first body and is passed over, as the rewrite passes over it.
    const QByteArray content = "[T-1]\r\nName=a\r\n[T-1]\r\nName=b\r\n";
    const auto bodies = tt::findSectionBodies(content, "T-1");
    ASSERT_EQ(bodies.size(), 1u);
    EXPECT_EQ(owned(bodies[0]), std::vector<QByteArray>{"Name=a"});
    // The same holds for the save: only the first body is replaced.
    const QByteArray saved = rewriteLines(content, ReplaceSectionBody("T-1", {"Name=new"}));
    EXPECT_EQ(saved, "[T-1]\r\nName=new\r\n[T-1]\r\nName=b\r\n");
}

TEST(TeamTypeSections, HeaderOnTheFirstLineAfterAByteOrderMarkAndALoneCr) {
    const QByteArray content = "\xEF\xBB\xBF[T-1]\nName=a\rb\nMax=3";
    const auto bodies = tt::findSectionBodies(content, "T-1");
    ASSERT_EQ(bodies.size(), 1u);
    EXPECT_EQ(owned(bodies[0]), (std::vector<QByteArray>{"Name=a\rb", "Max=3"}));
    EXPECT_TRUE(tt::findSectionBodies("[T-1", "T-1").empty());
    EXPECT_EQ(tt::findSectionBodies("[T-1]", "T-1").size(), 1u);
}

TEST(TeamTypeChecks, TechLevelReadsTheLeadingNumber) {
    for (const char* ok : {"", "0", "10", "5.5", "abc", "3x", " 7", "-0", "10.0"})
        EXPECT_TRUE(tt::techLevelAccepted(QString::fromLatin1(ok))) << ok;
    for (const char* bad : {"11", "-1", "10.5", "99999999999999999999", "+11"})
        EXPECT_FALSE(tt::techLevelAccepted(QString::fromLatin1(bad))) << bad;
}

TEST(TeamTypeChecks, MindControlIsOneDigitFromZeroToFive) {
    EXPECT_TRUE(tt::mindControlAccepted(QString()));
    EXPECT_TRUE(tt::mindControlAccepted(QStringLiteral("0")));
    EXPECT_TRUE(tt::mindControlAccepted(QStringLiteral("5")));
    for (const QString& bad : {QStringLiteral("6"), QStringLiteral("05"), QStringLiteral("a"),
                              QStringLiteral("自"), QStringLiteral("/")})
        EXPECT_FALSE(tt::mindControlAccepted(bad)) << bad.toStdString();
    EXPECT_EQ(tt::mindControlDescription(QStringLiteral("0")), QStringLiteral("自动"));
    EXPECT_EQ(tt::mindControlDescription(QStringLiteral("1")), QStringLiteral("加入控制者作战小队"));
    EXPECT_EQ(tt::mindControlDescription(QStringLiteral("2")), QStringLiteral("送入部队回收厂"));
    EXPECT_EQ(tt::mindControlDescription(QStringLiteral("3")), QStringLiteral("送入生化反应炉"));
    EXPECT_EQ(tt::mindControlDescription(QStringLiteral("4")), QStringLiteral("搜索敌人"));
    EXPECT_EQ(tt::mindControlDescription(QStringLiteral("5")), QStringLiteral("什么也不做"));
    EXPECT_FALSE(tt::mindControlDescription(QString()).has_value());
}
