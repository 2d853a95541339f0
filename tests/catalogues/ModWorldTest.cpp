#include "catalogues/ModWorld.h"

#include "document/IniText.h"
#include "document/TextEncoding.h"
#include "records/FileCheck.h"
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
    QDir(dir.path()).mkdir("ai/rulesmd.ini"); // there and unreadable, so not missing
    EXPECT_TRUE(world.update(ai, IniText(map), codec, {}));
    EXPECT_EQ(world.statusText(),
              "无法读取游戏规则文件 " + QDir::toNativeSeparators(dir.file("ai/rulesmd.ini")));
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

// The build rule over a rules file with the files it includes: one trigger per row, owned
// by a country, a side or every country, whose team (named twice) asks for one unit. The
// included files are read depth first after the whole of the file naming them, each once:
// root, sub/a.ini, c.ini, B.ini; so B.ini's Owner of INCTANK wins, a.ini raises the tech
// level to 11, and B.ini's "+=" adds NEWTANK.
TEST(ModWorld, BuildRuleFollowsTheRulesFileAndItsIncludes) {
    const test::TempDir dir;
    dir.write("rulesmd.ini", crlf({"[Countries]",
                                   "0=Americans",
                                   "1=Russians",
                                   "2=Confed",
                                   "[Sides]",
                                   "Allies=Americans",
                                   "Soviet=Russians,Confed",
                                   "[MultiplayerDialogSettings]",
                                   "TechLevel=10",
                                   "[VehicleTypes]",
                                   "0=NOTECH",
                                   "1=MINUS1",
                                   "2=MINUS2",
                                   "3=HIGH",
                                   "4=RAISED",
                                   "5=CASED",
                                   "6=REQ",
                                   "7=FORB",
                                   "8=SOVTANK",
                                   "9=NOBODY",
                                   "10=INCTANK",
                                   "[NOTECH]\r\nOwner=Americans",
                                   "[MINUS1]\r\nTechLevel=-1\r\nOwner=Americans",
                                   "[MINUS2]\r\nTechLevel=-2\r\nOwner=Americans",
                                   "[HIGH]\r\nTechLevel=12\r\nOwner=Americans",
                                   "[RAISED]\r\nTechLevel=11\r\nOwner=Americans",
                                   "[CASED]\r\nTechLevel=1\r\nOwner=AMERICANS",
                                   "[REQ]\r\nTechLevel=1\r\nOwner=Americans,Russians",
                                   "RequiredHouses=Russians",
                                   "[FORB]\r\nTechLevel=1\r\nOwner=Americans,Russians",
                                   "ForbiddenHouses=americans",
                                   "[SOVTANK]\r\nTechLevel=1\r\nOwner=Russians, Confed",
                                   "[NOBODY]\r\nTechLevel=1\r\nOwner=",
                                   "[INCTANK]\r\nTechLevel=1\r\nOwner=Americans",
                                   "[#include]",
                                   "0=Sub\\A.ini",
                                   "1=b.INI"}));
    dir.write("sub/a.ini", crlf({"[MultiplayerDialogSettings]", "TechLevel=11", "[#include]",
                                 "0=c.ini", "1=rulesmd.ini"}));
    dir.write("c.ini", crlf({"[INCTANK]", "Owner=Russians", "[#include]", "0=sub/A.ini"}));
    dir.write("B.ini", crlf({"[INCTANK]", "Owner=Confed", "[VehicleTypes]", "+=NEWTANK",
                             "[NEWTANK]", "TechLevel=1", "Owner=Americans"}));

    struct Row {
        const char* house;
        const char* side;
        const char* unit;
        const char* who; // nullptr: no entry
        const char* why;
    };
    const Row rows[] = {
        {"Americans", "1", "NOTECH", "Americans", "未设 TechLevel"},
        {"Americans", "1", "MINUS1", "Americans", "TechLevel 为 -1（上限 11）"},
        {"Americans", "1", "MINUS2", nullptr, nullptr},
        {"Americans", "1", "HIGH", "Americans", "TechLevel 为 12（上限 11）"},
        {"Americans", "1", "RAISED", nullptr, nullptr},
        {"Americans", "1", "CASED", nullptr, nullptr},
        {"Americans", "1", "REQ", "Americans", "RequiredHouses 中没有 Americans"},
        {"Russians", "1", "REQ", nullptr, nullptr},
        {"Americans", "1", "FORB", "Americans", "ForbiddenHouses 中有 Americans"},
        {"<all>", "1", "SOVTANK", "阵营 1 的国家", "Owner 中没有 Americans"},
        {"<all>", "2", "SOVTANK", nullptr, nullptr},
        {"<all>", "7", "SOVTANK", nullptr, nullptr}, // no such side: every country
        {"<all>", "0", "NOBODY", "所有国家", "Owner 中没有 Americans"},
        {"Russians", "1", "INCTANK", "Russians", "Owner 中没有 Russians"},
        {"Confed", "1", "INCTANK", nullptr, nullptr},
        {"Russians", "1", "NEWTANK", "Russians", "Owner 中没有 Russians"},
        {"Russians", "1", "GHOST", nullptr, nullptr}, // not defined: told elsewhere
    };
    QList<QByteArray> ai{"[AITriggerTypes]"};
    QList<QByteArray> records{"[TeamTypes]"};
    QList<QByteArray> taskForces{"[TaskForces]"};
    QList<QByteArray> sections;
    QStringList expected;
    for (int n = 0; n < int(std::size(rows)); ++n) {
        const Row& r = rows[n];
        const QByteArray i = QByteArray::number(n);
        ai << "T" + i + "=x,TM" + i + "," + r.house + ",1,0,<none>," + QByteArray(64, '0') +
                  ",70.000000,10.000000,70.000000,1,0," + r.side + ",0,TM" + i + ",1,1,1";
        records << i + "=TM" + i;
        taskForces << i + "=TF" + i;
        sections << "[TM" + i + "]\r\nName=t\r\nTaskForce=TF" + i << "[TF" + i + "]\r\nName=f"
                 << "0=1," + QByteArray(r.unit) << "1=2," + QByteArray(r.unit);
        if (r.who)
            expected << QStringLiteral(
                            "%1: 触发 T%2 的作战小队 TM%2 需要单位 %3，但%4都无法建造它（%5）")
                            .arg(n + 2)
                            .arg(n)
                            .arg(r.unit, QString::fromUtf8(r.who), QString::fromUtf8(r.why));
    }
    const QByteArray content = crlf(ai + records + taskForces + sections);
    const IniText text(content);
    const TextCodec codec(Encoding::Utf8);
    ModWorld world;
    const auto entries = [&] {
        world.update(dir.file("aimd.ini"), text, codec, {});
        QStringList seen;
        const filecheck::ModTypes mod{world.definedIds(), 0, &world.world()};
        for (const filecheck::Problem& p : filecheck::unbuildableUnits(text, codec, mod)) {
            EXPECT_EQ(p.level, filecheck::Level::Hint);
            EXPECT_EQ(p.kind, "无法建造");
            EXPECT_EQ(p.record, QStringLiteral("T%1").arg(p.line - 2));
            seen << QString::number(p.line) + ": " + p.text;
        }
        return seen.join('\n').toStdString();
    };
    EXPECT_EQ(entries(), expected.join('\n').toStdString());
    EXPECT_EQ(world.includedFiles(),
              QStringList({dir.file("sub/a.ini"), dir.file("c.ini"), dir.file("B.ini")}));

    // An included file changed is read again: INCTANK is now the Russians' only, and
    // NEWTANK is gone.
    dir.write("B.ini", crlf({"[INCTANK]", "Owner=Russians"}));
    expected.removeLast();
    expected.removeLast();
    expected << "16: 触发 T14 的作战小队 TM14 需要单位 INCTANK，但Confed都无法建造它（Owner 中没有 "
                "Confed）";
    EXPECT_EQ(entries(), expected.join('\n').toStdString());
}

// What the forecast of the computer's choice reads of a rules file: section and key names in
// any letter case, [General] as written, a super weapon's name, each type's first list.
TEST(ModWorld, ReadsWhatTheForecastOfTheComputersChoiceNeeds) {
    const QByteArray content = crlf({"[general]",
                                     "TotalAITeamCap=5,10, 15",
                                     "usemindefenserule=",
                                     "[General]",
                                     "AITriggerSuccessWeightDelta=7.5",
                                     "[multiplayerdialogsettings]",
                                     "techlevel=7.9",
                                     "[SuperWeaponTypes]",
                                     "0=LIGHT",
                                     "1=BOMB",
                                     "[BOMB]",
                                     "Name=Bomb",
                                     "[BuildingTypes]",
                                     "0=YARD",
                                     "1=E1",
                                     "[InfantryTypes]",
                                     "0=E1",
                                     "[YARD]",
                                     "factory=UnitType",
                                     "NAVAL=yes"});
    const IniText text(content);
    const modrules::DeclaredTypes types = modrules::readTypes(text, TextCodec(Encoding::Utf8));
    const buildrule::World& world = types.world;
    EXPECT_EQ(world.maxTechLevel, 7);
    EXPECT_EQ(world.general.value("TotalAITeamCap"), "5,10, 15");
    EXPECT_EQ(world.general.value("UseMinDefenseRule", "absent"), "");
    EXPECT_EQ(world.general.value("AITriggerSuccessWeightDelta"), "7.5");
    EXPECT_EQ(world.superWeapons, QStringList({"LIGHT", "BOMB"}));
    EXPECT_EQ(types.names.value("BOMB").name, "Bomb");
    EXPECT_FALSE(world.types.count("BOMB")); // not a type of the four lists
    EXPECT_EQ(world.types.at("YARD").factory, "UnitType");
    EXPECT_EQ(world.types.at("YARD").naval, "yes");
    EXPECT_EQ(world.types.at("E1").list, modrules::Infantry);
}
