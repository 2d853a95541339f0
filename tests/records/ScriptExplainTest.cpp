#include "records/ScriptExplain.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tarvok;
using namespace tarvok::scripts;

TEST(ScriptExplain, NumericValueIsTheLeadingNumberAndNeverWraps) {
    EXPECT_EQ(numericValue(u""), 0);
    EXPECT_EQ(numericValue(u"046"), 46);
    EXPECT_EQ(numericValue(u"12x3"), 12);
    EXPECT_EQ(numericValue(u"99999999999999999999999"), std::numeric_limits<long long>::max());
    // 2^32 + 46 and 2^64 + 46 are not action 46.
    EXPECT_EQ(actionByNumber(numericValue(u"4294967342")), nullptr);
    EXPECT_EQ(actionByNumber(numericValue(u"18446744073709551662")), nullptr);
    ASSERT_NE(actionByNumber(numericValue(u"064")), nullptr);
    EXPECT_EQ(actionByNumber(64)->number, 64);
    EXPECT_EQ(actionByNumber(7), nullptr);
}

TEST(ScriptExplain, TypedParametersByAction) {
    // Target categories: only 1 to 11, the warning only for 8.
    EXPECT_EQ(explainParameter(u"", u"11").other, QStringLiteral("可以占领的平民科技建筑物"));
    EXPECT_EQ(explainParameter(u"57", u"1").other, QStringLiteral("可攻击的任何"));
    EXPECT_EQ(explainParameter(u"0", u"0").other, QString());
    EXPECT_EQ(explainParameter(u"0", u"12").other, QString());
    EXPECT_EQ(explainParameter(u"0", u"7").hint, QString());
    EXPECT_NE(explainParameter(u"0", u"8").hint, QString());

    // 5 and 6 explain any parameter as the action itself.
    EXPECT_EQ(explainParameter(u"6", u"123").other, QStringLiteral("转到行"));

    EXPECT_EQ(explainParameter(u"8", u"1").other, QStringLiteral("运载工具和卸出单位都是小队成员"));
    EXPECT_EQ(explainParameter(u"8", u"0").other, QString());

    // The typed column of the states, not the chosen one.
    EXPECT_EQ(explainParameter(u"11", u"11").other, QStringLiteral("采矿"));
    EXPECT_EQ(explainParameter(u"11", u"6").other, QString());

    EXPECT_EQ(explainParameter(u"63", u"0").other, QStringLiteral("进入战斗碉堡"));
    EXPECT_EQ(explainParameter(u"63", u"00").other, QString());
    EXPECT_EQ(explainParameter(u"63", u"").other, QString());

    // Building actions: looked up by name elsewhere; the box is emptied only for the
    // exact spelling.
    const ParameterExplanation building = explainParameter(u"58", u"3");
    EXPECT_TRUE(building.building);
    EXPECT_EQ(building.other, QString());
    EXPECT_FALSE(explainParameter(u"058", u"3").other.has_value());
    EXPECT_FALSE(explainParameter(u"4294967342", u"3").building);

    // An action outside the table explains nothing and leaves the hint as it is.
    const ParameterExplanation unknown = explainParameter(u"7", u"1");
    EXPECT_EQ(unknown.other, QString());
    EXPECT_FALSE(unknown.hint.has_value());
    EXPECT_FALSE(unknown.building);
}

TEST(ScriptExplain, ChoicesByAction) {
    EXPECT_EQ(chooseParameter(u"请求超时空传送至敌方目标", u"基地威胁").number,
              QStringLiteral("8"));
    const ChosenParameter other = chooseParameter(u"攻击最接近的敌方目标", u"GAPILE");
    EXPECT_EQ(other.kind, ChosenParameter::Kind::Number);
    EXPECT_EQ(other.number, QString());
    EXPECT_EQ(other.hint, QString());

    EXPECT_EQ(chooseParameter(u"进入状态", u"原地永久驻扎").number, QStringLiteral("6"));
    EXPECT_EQ(chooseParameter(u"进入状态", u"基地威胁").number, QString());
    EXPECT_EQ(chooseParameter(u"运载工具卸载", u"运载工具成为新兵").number, QStringLiteral("3"));

    EXPECT_EQ(chooseParameter(u"原地待命", u"原地待命").kind, ChosenParameter::Kind::Typed);
    EXPECT_EQ(chooseParameter(u"转到行", u"x").kind, ChosenParameter::Kind::Typed);
    const ChosenParameter building = chooseParameter(u"请求超时空传送至敌方建筑物", u"GAPILE");
    EXPECT_EQ(building.kind, ChosenParameter::Kind::Building);
    EXPECT_FALSE(building.hint.has_value());

    // The parameter-0 actions take 0 whatever was chosen.
    const ChosenParameter zero = chooseParameter(u"该小队任务完成", u"anything");
    EXPECT_EQ(zero.number, QStringLiteral("0"));
    EXPECT_EQ(zero.hint,
              QStringLiteral("每个AI触发脚本都应该包含这个动作，否则可能导致AI触发分量处理不正确"));
    EXPECT_EQ(chooseParameter(u"部署", u"").hint, QString());

    EXPECT_EQ(chooseParameter(u"不存在的动作", u"x").kind, ChosenParameter::Kind::Typed);
}
