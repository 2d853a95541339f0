#include "records/TeamTypeSection.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

using namespace tarvok;
using tarvok::test::newTeamBlock;
namespace tt = tarvok::teamtype;

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
    EXPECT_EQ(tt::mindControlDescription(QStringLiteral("1")),
              QStringLiteral("加入控制者作战小队"));
    EXPECT_EQ(tt::mindControlDescription(QStringLiteral("2")), QStringLiteral("送入部队回收厂"));
    EXPECT_EQ(tt::mindControlDescription(QStringLiteral("3")), QStringLiteral("送入生化反应炉"));
    EXPECT_EQ(tt::mindControlDescription(QStringLiteral("4")), QStringLiteral("搜索敌人"));
    EXPECT_EQ(tt::mindControlDescription(QStringLiteral("5")), QStringLiteral("什么也不做"));
    EXPECT_FALSE(tt::mindControlDescription(QString()).has_value());
}
