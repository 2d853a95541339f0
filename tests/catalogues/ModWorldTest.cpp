#include "catalogues/ModWorld.h"

#include "document/IniText.h"
#include "document/TextEncoding.h"
#include "records/ScriptActions.h"
#include "support/TestFiles.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace tarvok;
using tarvok::test::crlf;
using tarvok::test::csfHeader;
using tarvok::test::csfLabel;
using Mode = ModWorld::Choice::Mode;

namespace {

// A mod's rules file as modders write them: comments, a list written in two sections,
// a key given again, an ID listed twice, types named every way and not at all.
const QByteArray kRules = "; the mod's rules\r\n"
                          "[InfantryTypes]\r\n0=E1\r\n1=MYINF ; replaced below\r\n2=E1\r\n"
                          "[VehicleTypes]\r\n0 = MYTANK\r\n"
                          "[BuildingTypes]\r\n0=GAPOWR\r\n1=MYBASE\r\n2=GAPOWR\r\n3=MYFACT\r\n"
                          "[E1]\r\nUIName=Name:E1\r\n"
                          "[MYINF2]\r\nUIName=Name:NotInTables\r\nName=Spy Dog\r\n"
                          "[MYTANK]\r\nUIName=name:mytank\r\n"
                          "[MYBASE]\r\nName=Old\r\n"
                          "[InfantryTypes]\r\n1=MYINF2\r\n"
                          "[MYBASE]\r\nName=基地\r\n";

const QStringList kShipped{"E1,美国大兵,GI", "GAPOWR,盟军发电厂,Power Plant"};

} // namespace

TEST(ModWorld, ReadsTheModBesideTheAiFileAndItsMap) {
    const test::TempDir dir;
    dir.write("Rulesmd.ini", kRules);
    dir.write("a.csf",
              csfHeader(2) + csfLabel("Name:E1", {"旧名"}) + csfLabel("Name:MyTank", {"我的坦克"}));
    dir.write("B.csf", csfHeader(2) + csfLabel("NAME:E1", {"海豹部队"}));
    QDir(dir.path()).mkdir("ai");
    const QString ai = dir.file("ai/aimd.ini");
    const QByteArray map = crlf({"[Map]", "[InfantryTypes]", "0=MAPDOG", "[MAPDOG]", "Name=狗"});
    const TextCodec codec(Encoding::Utf8);

    ModWorld world(kShipped);
    ASSERT_TRUE(world.update(ai, IniText(map), codec, {}));
    EXPECT_EQ(world.unitIds(), QStringList({"E1", "MYINF2", "MAPDOG", "MYTANK"}));
    EXPECT_EQ(world.unitNames(), QStringList({"海豹部队", "Spy Dog", "狗", "我的坦克"}));
    EXPECT_EQ(world.buildingIds(), QStringList({"GAPOWR", "MYBASE", "MYFACT"}));
    EXPECT_EQ(world.buildingNames(), QStringList({"盟军发电厂", "基地", ""}));
    EXPECT_EQ(world.idOf("基地"), "MYBASE");
    EXPECT_EQ(world.nameOf("MTNK"), ""); // the mod does not list it
    EXPECT_EQ(world.statusText(), "游戏规则：Rulesmd.ini（步兵 3、车辆 1、飞行器 0、建筑 3）；"
                                  "字符串表：a.csf、B.csf；字符串表 B.csf 第 2 个标签起无法读取");

    // The building a parameter names, its high bits kept when another is chosen.
    EXPECT_EQ(buildingParameter(world.buildingIds().indexOf("MYFACT"), 131073), 131074);
    EXPECT_EQ(world.buildingIds().value(buildingIndex(131074)), "MYFACT");
    EXPECT_FALSE(buildingParameter(65536, 0));

    // Unchanged files are not read again; a changed one is.
    EXPECT_FALSE(world.update(ai, IniText(map), codec, {}));
    dir.write("B.csf", csfHeader(1) + csfLabel("Name:E1", {"谭雅"}));
    EXPECT_TRUE(world.update(ai, IniText(map), codec, {}));
    EXPECT_EQ(world.nameOf("E1"), "谭雅");

    EXPECT_TRUE(world.update(ai, IniText(map), codec, {Mode::None, {}}));
    EXPECT_TRUE(world.unitIds().isEmpty());
    EXPECT_EQ(world.statusText(), "未找到游戏规则文件，使用内置单位表");
}

// rulesmd.ini before rules.ini, the AI file's folder before the one above, any letter case.
TEST(ModWorld, FindsTheGameRulesNearestTheAiFile) {
    const test::TempDir dir;
    QDir(dir.path()).mkpath("mod/ai");
    EXPECT_EQ(findGameRules(dir.file("mod/ai/ai.ini")), "");
    dir.write("RULESMD.INI", "");
    EXPECT_EQ(findGameRules(dir.file("mod/ai/ai.ini")), ""); // two folders up
    dir.write("mod/rules.ini", "");
    EXPECT_EQ(findGameRules(dir.file("mod/ai/ai.ini")), dir.file("mod/rules.ini"));
    dir.write("mod/ai/Rules.ini", "");
    EXPECT_EQ(findGameRules(dir.file("mod/ai/ai.ini")), dir.file("mod/ai/Rules.ini"));
    EXPECT_EQ(findGameRules(dir.file("ai.ini")), dir.file("RULESMD.INI"));
}
