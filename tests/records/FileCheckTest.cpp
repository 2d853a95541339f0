#include "records/FileCheck.h"

#include "catalogues/UnitNameTable.h"
#include "records/Registry.h"
#include "records/TeamTypeSection.h"
#include "records/TriggerList.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::filecheck;
using tarvok::test::crlf;

namespace {

const TextCodec kUtf8(Encoding::Utf8);

std::vector<Problem> check(const QByteArray& content, const QStringList& units = {"E1"}) {
    const TextCodec codec(detectEncoding(content));
    return checkRules(IniText(content), codec, CheckCatalogues{units});
}

// A trigger line with the given teams, condition block and unit, otherwise as the editor
// writes.
QByteArray triggerLine(const QByteArray& key, const QByteArray& team1, const QByteArray& team2,
                       const QByteArray& block = QByteArray(64, '0'),
                       const QByteArray& unit = "<none>") {
    return key + "," + team1 + ",<all>,1,0," + unit + "," + block +
           ",70.000000,10.000000,70.000000,1,0,1,0," + team2 + ",1,1,1";
}

} // namespace

// One of each problem, found at its line, with its record so that the window can show it.
TEST(FileCheck, FindsEachProblemOnceAtItsLine) {
    const QByteArray content = crlf({
        "; each problem once",                                            // 1
        "[AITriggerTypes]",                                               // 2
        triggerLine("T1=Good", "TM-1", "<none>"),                         // 3
        "T2=Short,TM-1,<all>",                                            // 4 field count
        triggerLine("T3=Block", "TM-1", "", "00G" + QByteArray(61, '0')), // 5 block, no team 2
        triggerLine("T4=Ref", "TM-1", "TM-NONE"),                         // 6 missing team
        triggerLine("T1=Again", "TM-1", "<none>"),                        // 7 trigger ID twice
        "",
        "[TeamTypes]", // 9
        "0=TM-1",
        "1=TM-2", // 11 no section
        "1=TM-3", // 12 number twice
        "3=",     // 13 no ID
        "4=TM-1", // 14 registered twice
        "",
        "[TaskForces]",
        "0=TF-1",
        "1=TF-2",
        "2=TF-3",
        "",
        "[ScriptTypes]",
        "0=SC-1",
        "1=TF-1", // 23 in two registries
        "",
        "[TM-1]",
        "Name=One",
        "TaskForce=TF-1",
        "Script=SC-GONE", // 28 missing script
        "[TM-3]",
        "Name=Three",
        "TaskForce=TF-1",
        "[TM-3]", // 32 section twice
        "Script=SC-1",
        "[TF-1]",
        "Name=Units",
        "0=2,e1",     // 36 unit in another letter case
        "1=1,MYUNIT", // 37 unit not in the table
        "Group=-1",
        "[TF-2]",
        "Name=Wrong",
        "Priority=5", // 41 a team type's key
        "[TF-3]",
        "Name=Gap",
        "0=1,E1", // 44 numbering a save refuses
        "2=1,e1",
        "Group=-1",
        "[SC-1]",
        "Name=Go",
        "0=53,0",
        "1=99,0",   // 50 unknown action
        "[OLD-TF]", // 51 a task force in no registry
        "Name=Old",
        "0=1,E1",
        "Group=-1",
    });
    const std::vector<Problem> found = check(content);

    struct Expected {
        Level level;
        const char* kind;
        RecordKind recordKind;
        const char* record;
        qsizetype line;
    };
    using enum Level;
    using enum RecordKind;
    const Expected expected[] = {
        {Error, "字段数", Trigger, "T2", 4},       {Error, "条件块", Trigger, "T3", 5},
        {Hint, "空小队", Trigger, "T3", 5},        {Error, "引用缺失", Trigger, "T4", 6},
        {Error, "ID 重复", Trigger, "T1", 7},      {Error, "缺少节", TeamType, "TM-2", 11},
        {Error, "编号重复", TeamType, "TM-3", 12}, {Error, "注册项为空", None, "", 13},
        {Error, "ID 重复", TeamType, "TM-1", 14},  {Error, "ID 重复", Script, "TF-1", 23},
        {Error, "引用缺失", TeamType, "TM-1", 28}, {Error, "节重复", TeamType, "TM-3", 32},
        {Hint, "未知单位", TaskForce, "TF-1", 36}, {Hint, "未知单位", TaskForce, "TF-1", 37},
        {Error, "节格式", TaskForce, "TF-2", 41},  {Error, "行编号", TaskForce, "TF-3", 44},
        {Hint, "未知动作", Script, "SC-1", 50},    {Hint, "未登记", None, "OLD-TF", 51},
    };
    ASSERT_EQ(found.size(), std::size(expected));
    for (size_t i = 0; i < found.size(); ++i) {
        SCOPED_TRACE(found[i].text.toStdString());
        EXPECT_EQ(found[i].level, expected[i].level);
        EXPECT_EQ(found[i].kind, QString::fromUtf8(expected[i].kind));
        EXPECT_EQ(found[i].recordKind, expected[i].recordKind);
        EXPECT_EQ(found[i].record, QString::fromUtf8(expected[i].record));
        EXPECT_EQ(found[i].line, expected[i].line);
    }
    // Values used many times are told once, with their count and a near miss in the table.
    EXPECT_EQ(found[12].text,
              QStringLiteral("单位 e1 不在单位名称表中（表中有大小写不同的 E1），共使用 2 次"));
    EXPECT_EQ(found[13].text, QStringLiteral("单位 MYUNIT 不在单位名称表中，共使用 1 次"));
    EXPECT_EQ(found[2].text, QStringLiteral("触发 T3 的小队2 为空，应写作 <none>"));
    EXPECT_EQ(found[6].text,
              QStringLiteral("[TeamTypes] 中编号 1 已用于第 11 行，重复的编号会使其中一项被覆盖"));
}

// No false alarm: the shipped sample, and a file made by the editor's own adds with what
// modders write on purpose (comments, indentation, a registry from 1 with gaps, empty
// slots, a section the editor does not know).
TEST(FileCheck, CleanFilesGiveNoProblem) {
    const QByteArray sample = test::readBytes(test::shippedDataDir() + QStringLiteral("/aimd.ini"));
    ASSERT_FALSE(sample.isEmpty());
    const QStringList units =
        unitnames::choiceLists(
            decodeLines(test::readBytes(test::shippedDataDir() + "/NameTable.WQ")))
            .ids;
    // Only that three of its teams' scripts never report success.
    for (const Problem& p : check(sample, units))
        EXPECT_EQ(p.kind, QStringLiteral("脚本")) << p.text.toStdString();
    EXPECT_EQ(check(sample, units).size(), 3u);

    QByteArray content = crlf({"; made by hand, then by the editor",
                               "[AITriggerTypes]",
                               "",
                               "[TeamTypes]",
                               "  1 = TM-0 ; the first",
                               "",
                               "[TaskForces]",
                               "5=TF-0",
                               "",
                               "[ScriptTypes]",
                               "",
                               "[TM-0]",
                               "Name=Zero",
                               "TaskForce=TF-0",
                               "Script=<none>",
                               "",
                               "[TF-0]",
                               "0=1,E1 ; one",
                               "Name=Late name",
                               "Group=-1",
                               "",
                               "[Digest]",
                               "1=abc"});
    content = *addTriggerEntry(content, "T-NEW=新的");
    content =
        addRegistryEntry(content, "TeamTypes", "TM-NEW", 1, teamtype::defaultBlock())->content;
    content = addRegistryEntry(content, "TaskForces", "TF-NEW", 1, {"Name=", "Group=-1"})->content;
    content = addRegistryEntry(content, "ScriptTypes", "SC-NEW", 0, {"Name="})->content;
    // A new trigger is on no difficulty until the user ticks one: that alone is said.
    const std::vector<Problem> found = check(content);
    for (const Problem& p : found)
        if (p.kind != QStringLiteral("难度") || p.record != QStringLiteral("T-NEW"))
            ADD_FAILURE() << p.line << " " << p.text.toStdString();
}

// With the mod's types: what the mod does not define is an error at each use, a unit name
// table hint is no longer given, and the mod's own units and buildings raise nothing.
TEST(FileCheck, ComparesWithTheModInUse) {
    const QByteArray block(64, '0');
    const QByteArray content = crlf({
        "[AITriggerTypes]",
        triggerLine("T1=Mod", "TM-1", "<none>", block, "MYDOG"), // 2 the mod's unit
        triggerLine("T2=Gone", "TM-1", "<none>", block, "GONE"), // 3
        "[TeamTypes]\r\n0=TM-1\r\n[TaskForces]\r\n0=TF-1\r\n[ScriptTypes]\r\n0=SC-1", // 4-9
        "[TM-1]\r\nName=a\r\nTaskForce=TF-1\r\nScript=SC-1\r\n[TF-1]\r\nName=b",      // 10-15
        "0=1, MYDOG", "1=2,MYBASE",
        "2=1,NOTMINE", // 18
        "[SC-1]\r\nName=c",
        "0=46,131073", // building 1 of 2
        "1=58,2",      // 22 past the list
        "2=47,abc",    // no number: nothing to say
        "3=53,9",      // not a building action
    });
    CheckCatalogues catalogues{{"E1"}, ModTypes{{"MYDOG", "MYBASE", "GAPOWR"}, 2}};
    const std::vector<Problem> found =
        checkRules(IniText(content), TextCodec(Encoding::Utf8), catalogues);
    std::vector<std::pair<qsizetype, QString>> seen;
    for (const Problem& p : found)
        seen.emplace_back(p.line, levelText(p.level) + p.text);
    const QString noSuccess =
        QStringLiteral("提示小队1 的脚本没有动作 49：每次出兵都会算作失败，分量会降到下限");
    const std::vector<std::pair<qsizetype, QString>> expected{
        {2, noSuccess},
        {3, "错误单位 GONE 未在规则文件中定义"},
        {3, noSuccess},
        {18, "错误单位 NOTMINE 未在规则文件中定义"},
        {22, "错误建筑编号 2 超出规则文件的建筑列表（共 2 个）"},
    };
    EXPECT_EQ(seen, expected);
}

// What keeps a trigger from being used, and slips against the mod's countries, sides and
// types; the first two need no rules file.
TEST(FileCheck, TellsWhatKeepsATriggerFromBeingUsed) {
    const auto trigger = [](const QByteArray& id, const QByteArray& house, const QByteArray& min,
                            const QByteArray& side, const QByteArray& levels) {
        return id + "=x,<none>," + house + ",1,0,<none>," + QByteArray(64, '0') + ",70.000000," +
               min + ",70.000000,1,0," + side + ",0,<none>," + levels;
    };
    const QByteArray zeros(64, '0');
    const QByteArray content = crlf({
        "[AITriggerTypes]",
        trigger("T1", "Germans", "10.000000", "1", "1,1,1"),  // 2 no such country
        trigger("T2", "russians", "10.000000", "2", "1,0,0"), // other letter case
        trigger("T3", "<all>", "10.000000", "3", "0,0,1"),    // 4 no such side
        trigger("T4", "<all>", "10.000000", "0", "0,0,0"),    // 5 no difficulty
        trigger("T5", "<all>", "80.000000", "x", "1,1,1"),    // 6 weights, side not a number
        trigger("T6", "<all>", "70.000000", "-1", "00,0,1"),  // 7 side below 0
        trigger("T7", "<NONE>", "10", "0", "1,1,1"),          // 8 never used
        "T8=x,<none>,<all>,1,0,<none>," + zeros + ",70,10,70,0,0,0,0,<none>,1,1,1",     // 9
        "T9=x,<none>,<all>,1,0,<none>," + zeros + ",0.5,0,0.5,1,0,0,0,<none>,1,1,1",    // 10
        "T10=x,<none>,<all>,1,0,<none>," + zeros + ",5000,0,5000,1,0,0,0,<none>,1,1,1", // 11
        "T11=x,<none>,<all>,1,9,<none>," + zeros + ",70,0,70,1,0,0,0,<none>,1,1,1",     // 12
        "T12=x,<none>,<all>,1,1,MTNK,0000000007000000" + QByteArray(48, '0') +
            ",70,0,70,1,0,0,0,<none>,1,1,1",                      // 13 comparison 7
        trigger("T13", "Russians", "10", "1", "1,1,1"),           // 14 not of side 1
        "[TeamTypes]\r\n[TaskForces]\r\n0=TF-1\r\n[ScriptTypes]", // 15-18
        "[TF-1]\r\nName=f\r\n0=1,mtnk\r\n1=1,MTNK\r\n2=1,GONE",   // 19-23
    });
    buildrule::World world;
    world.countries = {"Americans", "Russians"};
    world.sides = {{"Americans"}, {"Russians"}};
    const ModTypes mod{{"MTNK"}, 0, &world};
    const auto seen = [&](std::optional<ModTypes> types) {
        QStringList out;
        for (const Problem& p :
             checkRules(IniText(content), kUtf8, CheckCatalogues{{}, std::move(types)}))
            out << QStringLiteral("%1 %2 %3: %4")
                       .arg(p.line)
                       .arg(levelText(p.level), p.kind, p.text);
        return out.join('\n').toStdString();
    };
    const QStringList withoutRules{
        "5 提示 难度: 三个难度都未启用，电脑不会使用此触发",
        "6 提示 分量: 分量下限大于上限",
        "8 提示 国家: 国家为 <none>，电脑永远不会使用此触发",
        "9 提示 遭遇战: 遭遇战开关（字段 10）不是 1，遭遇战中不会使用此触发",
        "10 提示 分量: 分量上限小于 1，电脑不会选中此触发",
        "11 提示 分量: 可选时其他触发都不会被选中",
        "12 提示 条件: 游戏没有条件类型 9，电脑不会使用此触发",
        "13 提示 条件: 条件的比较方式 7 不在 0 到 5 之间，电脑不会使用此触发",
    };
    EXPECT_EQ(seen(std::nullopt), withoutRules.join('\n').toStdString());
    QStringList withRules;
    // No trigger of the file defends: with [General] as the game has it by default, the
    // computer never attacks.
    for (const char* country : {"Americans", "Russians"})
        for (int level = 1; level <= 3; ++level)
            withRules
                << QStringLiteral(
                       "1 提示 防守触发: 国家 %1 在第 %2 档没有防守触发：电脑永远不会出兵进攻")
                       .arg(country)
                       .arg(level);
    withRules << "2 错误 未定义国家: 国家 Germans 未在规则文件中定义"
              << "4 提示 所属方: 所属方 3 不在 0 到 2 之间（规则文件的 [Sides] 共 2 项）"
              << withoutRules[0] << withoutRules[1]
              << "6 提示 所属方: 所属方 x 不在 0 到 2 之间（规则文件的 [Sides] 共 2 项）"
              << "7 提示 所属方: 所属方 -1 不在 0 到 2 之间（规则文件的 [Sides] 共 2 项）"
              << withoutRules.mid(2)
              << "14 提示 阵营: 国家 Russians 不属于阵营 1，电脑不会使用此触发"
              << "21 错误 未定义单位: 单位 mtnk 未在规则文件中定义（规则文件中有 MTNK）"
              << "23 错误 未定义单位: 单位 GONE 未在规则文件中定义";
    EXPECT_EQ(seen(mod), withRules.join('\n').toStdString());
    world.general.insert("UseMinDefenseRule", "no");
    EXPECT_EQ(seen(mod).find("防守触发"), std::string::npos);
    // A rules file that lists no countries says nothing of them.
    world.countries.clear();
    EXPECT_EQ(seen(mod).find("所属方"), std::string::npos);
    EXPECT_EQ(seen(mod).find("未定义国家"), std::string::npos);
}
