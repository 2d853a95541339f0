#include "records/UnitUses.h"
#include "document/RulesIndex.h"

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::unituses;

// Which records a filter text keeps for the units and buildings they use: a unit by its ID
// in any case or width (not by part of it), or by part of its name; a team type through its
// task force (the later TaskForce line of a second section), a trigger through either team
// or its condition unit, a script through its building actions only.
TEST(UnitUses, WhichRecordsUseAUnitTheTextFinds) {
    const QByteArray block(64, '0');
    const RulesIndex index("[AITriggerTypes]\n"
                           "T1=a,TM-A,<all>,1,0,<none>," +
                           block +
                           ",50,30,50,1,0,1,0,<none>,1,1,1\n"
                           "T2=b,<none>,<all>,1,0,GAPOWR," +
                           block +
                           ",50,30,50,1,0,1,0,<none>,1,1,1\n"
                           "T3=c,TM-C,<all>,1,0,<none>," +
                           block +
                           ",50,30,50,1,0,1,0, TM-B ,1,1,1\n"
                           "[TeamTypes]\n0=TM-A\n1=TM-B\n2=TM-C\n"
                           "[TM-A]\nTaskForce=TF-1\n"
                           "[TM-B]\nTaskForce=TF-1\n"
                           "[TM-C]\nTaskForce=TF-GONE\n"
                           "[TaskForces]\n0=TF-1\n1=TF-2\n"
                           "[TF-1]\nName=x\n0=3,SREF\n1=1, E1 ; comment\n"
                           "[TF-2]\n0=2,E10\n"
                           "[TM-B]\nTaskForce=TF-2\n"
                           "[ScriptTypes]\n0=SC-1\n1=SC-2\n2=SC-3\n"
                           "[SC-1]\n0=46,1\n"
                           "[SC-2]\n0=3,1\n1=58,7\n"
                           "[SC-3]\n0=56,65537\n");
    UnitUses uses(index);
    ASSERT_EQ(uses.unitIds(), QStringList({"SREF", "E1", "E10", "GAPOWR"}));
    ASSERT_EQ(uses.buildingParameters(), QStringList({"1", "7", "65537"}));
    uses.name({QStringLiteral("光棱坦克"), QStringLiteral("美国大兵"),
               QStringLiteral("Ｅｌｉｔｅ 大兵"), QStringLiteral("发电厂")},
              {{"GAPOWR", QStringLiteral("发电厂")}, {}, {"GAPOWR", QStringLiteral("发电厂")}});

    const RulesScan& scan = index.scan();
    const std::vector<QByteArrayView>* lists[] = {&scan.triggerKeys, &scan.teamTypes,
                                                  &scan.taskForces, &scan.scriptTypes};
    const struct {
        Kind kind;
        const char* text;
        QStringList kept;
    } cases[] = {
        {Kind::TaskForce, "sref", {"TF-1"}},
        {Kind::TaskForce, "ＳＲＥＦ", {"TF-1"}},
        {Kind::TaskForce, "E1", {"TF-1"}}, // not TF-2's E10
        {Kind::TaskForce, "SRE", {}},      // part of an ID finds nothing
        {Kind::TaskForce, "坦克", {"TF-1"}},
        {Kind::TaskForce, "elite", {"TF-2"}},
        {Kind::TaskForce, "大兵", {"TF-1", "TF-2"}},
        {Kind::TaskForce, "", {}},
        {Kind::TeamType, "坦克", {"TM-A"}},
        {Kind::TeamType, "e10", {"TM-B"}},
        {Kind::Trigger, "坦克", {"T1=a"}},
        {Kind::Trigger, "ELITE", {"T3=c"}},
        {Kind::Trigger, "gapowr", {"T2=b"}},
        {Kind::Script, "发电", {"SC-1", "SC-3"}},
        {Kind::Script, "GAPOWR", {"SC-1", "SC-3"}},
        {Kind::Script, "7", {}}, // a parameter naming no building
    };
    for (const auto& c : cases) {
        const std::vector<bool> users = uses.usersOf(c.kind, QString::fromUtf8(c.text));
        const std::vector<QByteArrayView>& list = *lists[static_cast<int>(c.kind)];
        ASSERT_EQ(users.size(), list.size()) << c.text;
        QStringList kept;
        for (size_t i = 0; i < users.size(); ++i)
            if (users[i])
                kept << QString::fromUtf8(list[i]);
        EXPECT_EQ(kept, c.kept) << c.text;
    }
}
