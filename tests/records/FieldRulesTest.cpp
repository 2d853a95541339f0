#include "records/FieldRules.h"

#include <gtest/gtest.h>

using namespace tarvok::fieldrules;

namespace {

QString u(const char* s) {
    return QString::fromUtf8(s);
}

} // namespace

TEST(FieldRules, OneDigitBoxesAcceptTheirRangeAndDescribeIt) {
    const struct {
        const char* text;
        bool comparison, side;
        const char *comparisonText, *sideText, *conditionText;
    } cases[] = {
        {"", true, true, "", "", ""},
        {"0", true, true, "小于", "所有阵营", "目标敌方单位满足条件"},
        {"1", true, true, "小于或等于", "盟军", "本方单位满足条件"},
        {"5", true, true, "不等于", "第五阵营", "本方铁幕装置就绪"},
        {"6", false, true, "", "第六阵营", "本方超时空传送就绪"},
        {"7", false, false, "", "", "平民单位满足条件"},
        {"8", false, false, "", "", ""},
        {"-1", false, false, "", "", "无"},
        {"12", false, false, "", "", ""},
        {"a", false, false, "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const QString t = u(c.text);
        EXPECT_EQ(comparisonAccepted(t), c.comparison);
        EXPECT_EQ(sideAccepted(t), c.side);
        EXPECT_EQ(comparisonDescription(t), u(c.comparisonText));
        EXPECT_EQ(sideDescription(t), u(c.sideText));
        EXPECT_EQ(conditionDescription(t), u(c.conditionText));
    }
}

TEST(FieldRules, NumbersOfTheTriggerLine) {
    for (const char* w : {"5000", "0", "60", "600", "999999"})
        EXPECT_TRUE(weightAccepted(u(w))) << w;
    for (const char* w : {"", "1000000", "70.0", " 70", "-1", "７０", "x"})
        EXPECT_FALSE(weightAccepted(u(w))) << w;

    for (const char* t : {"", "0", "7", "10", " 9"})
        EXPECT_TRUE(triggerTechAccepted(u(t))) << t;
    for (const char* t : {"11", "99", "a", "1a0", "100", "  1"})
        EXPECT_FALSE(triggerTechAccepted(u(t))) << t;

    for (const char* a : {"", "0", "99", "255", "ab"})
        EXPECT_FALSE(amountTooLarge(u(a))) << a;
    for (const char* a : {"256", "999", "1234", "abcd"})
        EXPECT_TRUE(amountTooLarge(u(a))) << a;
    EXPECT_EQ(amountKept(u("1234")), u("123"));
    EXPECT_EQ(amountKept(u("2560")), u("25"));
    EXPECT_EQ(amountKept(u("999")), u("99"));
}

TEST(FieldRules, NewIdsAreCheckedForTheirFormAndAgainstTheList) {
    const QStringList teams{"TM-1", "TM-2"};
    EXPECT_EQ(checkNewRecordId("TM-3", teams), IdCheck::Ok);
    EXPECT_EQ(checkNewRecordId("TM-2", teams), IdCheck::Duplicate);
    EXPECT_EQ(checkNewRecordId("TM3", teams), IdCheck::Invalid);
    EXPECT_EQ(checkNewRecordId("TM-3,x", teams), IdCheck::Invalid);

    const QStringList keys{"A1=Raid", "B2=Defend", "nokey"};
    EXPECT_EQ(checkNewTriggerKey("C3=New", keys), IdCheck::Ok);
    EXPECT_EQ(checkNewTriggerKey("A1=Other name", keys), IdCheck::Duplicate);
    EXPECT_EQ(checkNewTriggerKey("nokey=x", keys), IdCheck::Ok); // an entry without "=" has no ID
    EXPECT_EQ(checkNewTriggerKey("C3", keys), IdCheck::Invalid);
    EXPECT_EQ(checkNewTriggerKey("C3=a,b", keys), IdCheck::Invalid);
}

TEST(FieldRules, RowNumberingDigitFilterAndFileNames) {
    EXPECT_TRUE(rowNumberingFits({}));
    EXPECT_TRUE(rowNumberingFits({"0", "1", "2"}));
    EXPECT_TRUE(rowNumberingFits({"5", "9", "2"})); // only the last row counts
    EXPECT_TRUE(rowNumberingFits({"0", "\t1"}));
    EXPECT_FALSE(rowNumberingFits({"0", "2"}));
    EXPECT_FALSE(rowNumberingFits({"1"}));

    EXPECT_FALSE(firstNonDigit(QString()));
    EXPECT_FALSE(firstNonDigit(u("0123")));
    const auto bad = firstNonDigit(u("12x4"));
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->index, 2);
    EXPECT_EQ(bad->length, 1);
    const auto wide = firstNonDigit(u("1\xF0\x9F\x98\x80"));
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->length, 2);

    EXPECT_EQ(trimBlanks(u(" \tC-3 \t")), u("C-3"));
    EXPECT_EQ(trimBlanks(u("C 3")), u("C 3"));
    EXPECT_EQ(trimBlanks(u("\nC-3")), u("\nC-3")); // only spaces and tabs

    EXPECT_EQ(searchKey(u("ＴＭ－１ Raid")), searchKey(u("tm-1 raid")));
    EXPECT_NE(searchKey(u("TM-1")), searchKey(u("TM-2")));

    EXPECT_TRUE(isRulesFileName(u("/mods/AIMD.INI")));
    EXPECT_TRUE(isRulesFileName(u("C:/game/ai.ini")));
    EXPECT_FALSE(isRulesFileName(u("/mods/rules.ini")));
    EXPECT_TRUE(mayBeOriginalAi(u("/x/Ai.ini")));
    EXPECT_FALSE(mayBeOriginalAi(u("/x/aimd.ini")));
}

// Which task force rows a save refuses: only rows not as loaded, by count and by unit.
TEST(FieldRules, ASaveRefusesNewOrChangedTaskForceRowsWithABadCountOrUnit) {
    using R = RowRefusal::Reason;
    const std::vector<tarvok::SectionRow> loaded{{"0", "0", "54"}, {"1", "3", "E1"}};
    const struct {
        std::vector<tarvok::SectionRow> now;
        std::optional<RowRefusal> refused;
        QStringList known = {"E1", "HTNK"};
    } cases[] = {
        {{{"0", "3", "E1"}, {"1", "0", "54"}, {"2", "007", "htnk"}}, {}}, // moved; letter case
        {{{"0", "0", "54"}, {"1", "0", "54"}}, RowRefusal{1, R::Count}},  // one loaded, one new
        {{{"0", "-1", "E1"}}, RowRefusal{0, R::Count}},
        {{{"0", "1", "E1 "}}, RowRefusal{0, R::Unit}},
        {{{"0", "1", "54"}}, {}, {}}, // nothing known: units pass
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(refusedTaskForceRow(loaded, cases[i].now, cases[i].known), cases[i].refused) << i;
}
