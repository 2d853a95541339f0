#include "records/Forecast.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::forecast;

namespace {

const TextCodec kUtf8(Encoding::Utf8);

// The condition block: amount and comparison as little-endian 32-bit numbers.
QByteArray block(quint8 amount, quint8 op) {
    return QByteArray::number(amount, 16).rightJustified(2, '0') + "000000" +
           QByteArray::number(op, 16).rightJustified(2, '0') + "000000" + QByteArray(48, '0');
}

// ID=name, team 1, house, tech, condition, unit, block, weights, skirmish, side, team 2, levels.
QByteArray trig(const QByteArray& id, const QByteArray& team1, const QByteArray& house,
                const QByteArray& tech, const QByteArray& condition, const QByteArray& unit,
                const QByteArray& blk, const QByteArray& weights, const QByteArray& skirmish,
                const QByteArray& side, const QByteArray& levels) {
    return id + "=" + id.toLower() + "," + team1 + "," + house + "," + tech + "," + condition +
           "," + unit + "," + blk + "," + weights + "," + skirmish + ",0," + side + ",0,<none>," +
           levels;
}

const QByteArray kAiFile = [] {
    const QByteArray always = block(0, 3);
    return QByteArrayList{
        "[AITriggerTypes]",
        trig("DEF", "TDEF", "<all>", "0", "1", "NAHAND", always, "50,10,100", "1", "0", "1,1,0"),
        trig("ATK", "tatk", "russians", "0", "0", "GAPILE", block(2, 3), "70,25,80", "1", "2",
             "1,1,1"),
        trig("NOSK", "TATK", "<all>", "0", "-1", "<none>", always, "50,0,100", "0", "0", "1,1,1"),
        trig("NOTEAM", "<none>", "<all>", "0", "-1", "<none>", always, "50,0,100", "1", "0",
             "1,1,1"),
        trig("AMERICA", "TATK", "Americans", "0", "-1", "<none>", always, "50,0,100", "1", "0",
             "1,1,1"),
        trig("NOHOUSE", "TATK", "<none>", "0", "-1", "<none>", always, "50,0,100", "1", "0",
             "1,1,1"),
        trig("ALIEN", "TATK", "Aliens", "0", "-1", "<none>", always, "50,0,100", "1", "0", "1,1,1"),
        trig("SIDE1", "TATK", "<all>", "0", "-1", "<none>", always, "50,0,100", "1", "1", "1,1,1"),
        trig("TECH", "TATK", "<all>", "12", "-1", "<none>", always, "50,0,100", "1", "0", "1,1,1"),
        trig("COND9", "TATK", "<all>", "0", "9", "<none>", always, "50,0,100", "1", "0", "1,1,1"),
        trig("SUBS", "TSUB", "<all>", "0", "-1", "<none>", always, "50,0,100", "1", "0", "1,1,1"),
        trig("MAXT", "TMAX", "<all>", "0", "-1", "<none>", always, "30.7,0,100", "1", "0", "1,1,1"),
        trig("SMALL", "TATK", "<all>", "0", "-1", "<none>", always, "0.5,0,100", "1", "0", "1,1,1"),
        "SHORT=short,TATK,<all>",
        "[TeamTypes]",
        "0=TDEF",
        "1=TATK",
        "2=TSUB",
        "3=TMAX",
        "[TDEF]",
        "IsBaseDefense=yes",
        "TaskForce=FDEF",
        "[TATK]",
        "TaskForce=FATK",
        "[TSUB]",
        "TaskForce=FSUB",
        "[tmax]",
        "Max=1",
        "TaskForce=FATK",
        "[FDEF]",
        "0=2,E1",
        "[FATK]",
        "Name=attack",
        "0=1,HTNK",
        "1=4,E1",
        "[FSUB]",
        "0=1,SUB",
    }
        .join('\n');
}();

buildrule::World world() {
    buildrule::World w;
    w.countries = {"Americans", "Russians"};
    w.sides = {{"Americans"}, {"Russians"}};
    const auto type = [&w](const char* id, int list, const char* tech, const char* owner,
                           std::optional<QString> factory = {}, std::optional<QString> naval = {}) {
        w.types[QString::fromLatin1(id)] = {
            QString::fromLatin1(tech), QString::fromLatin1(owner), {}, {}, factory, naval, list};
    };
    type("E1", 0, "1", "Americans,Russians");
    type("HTNK", 1, "5", "Russians");
    type("SUB", 1, "1", "Russians", {}, QStringLiteral("yes"));
    type("NAHAND", 3, "1", "Russians", QStringLiteral("InfantryType"));
    type("NAWEAP", 3, "1", "Russians", QStringLiteral("UnitType"));
    type("NAYARD", 3, "1", "Russians", QStringLiteral("UnitType"), QStringLiteral("true"));
    return w;
}

// The base state, with JSON keys replaced or added.
State state(const QByteArray& changes = "{}") {
    QJsonObject o = QJsonDocument::fromJson(R"({"country": "Russians", "level": 1,
        "enemy": {"country": "Americans", "credits": 5000, "owns": {"GAPILE": 2}},
        "owns": {"NAHAND": 1, "NAWEAP": 1}, "teams": {"TDEF": 1}})")
                        .object();
    const QJsonObject more = QJsonDocument::fromJson(changes).object();
    for (auto it = more.begin(); it != more.end(); ++it)
        o.insert(it.key(), it.value());
    const StateRead read = readState(QJsonDocument(o).toJson());
    EXPECT_TRUE(read.state) << read.error.toStdString();
    return read.state.value_or(State{});
}

const TriggerResult& find(const Result& r, const QString& id) {
    for (const TriggerResult& t : r.triggers)
        if (t.id == id)
            return t;
    static const TriggerResult none;
    ADD_FAILURE() << "no trigger " << id.toStdString();
    return none;
}

} // namespace

TEST(Forecast, ReadsNumbersAsTheGameDoes) {
    EXPECT_EQ(number(u" 30.9 "), 30);
    EXPECT_EQ(number(u"-1.5"), -1);
    EXPECT_EQ(number(u"+2e2"), 200);
    EXPECT_EQ(number(u"1.2.3"), std::nullopt);
    EXPECT_EQ(number(u"7x"), std::nullopt);
    EXPECT_EQ(number(u""), std::nullopt);
    EXPECT_TRUE(yes(u"True") && yes(u"1") && yes(u"yes") && !yes(u"no") && !yes(u""));
}

// Each row stops one trigger at one gate, with the text the window shows.
TEST(Forecast, EachGateStopsItsTrigger) {
    const IniText text(kAiFile);
    const buildrule::World w = world();
    const Forecaster forecaster(text, kUtf8, w);
    struct Row {
        QByteArray changes;
        const char* trigger;
        Gate gate;
        const char* reason;
    };
    const Row rows[] = {
        {"{}", "ATK", Gate::None, "可选"},
        {"{}", "SMALL", Gate::None, "可选（分量小于 1）"},
        {R"({"teams": {"TATK": 29, "TDEF": 1}})", "ATK", Gate::Pass, "电脑的小队已达上限（30/30）"},
        {"{}", "NOTEAM", Gate::Team1, "小队1 未定义"},
        {R"({"enemy": null})", "ATK", Gate::Defence, "尚未选定敌人，只选防守触发"},
        {R"({"teams": {}})", "ATK", Gate::Defence, "防守小队不足（0/1），只选防守触发"},
        {R"({"teams": {"tdef": 3}})", "DEF", Gate::Defence, "防守小队已超过上限（3/2）"},
        {R"({"teams": {"TDEF": 30}})", "DEF", Gate::Defence,
         "小队已达上限，本轮先解散一个防守小队"},
        {"{}", "NOSK", Gate::Skirmish, "遭遇战中不使用"},
        {R"({"skirmish": false})", "NOSK", Gate::None, "可选"},
        {R"({"level": 3})", "DEF", Gate::Difficulty, "第 3 档未启用"},
        {"{}", "AMERICA", Gate::House, "只给国家 Americans 使用"},
        {"{}", "NOHOUSE", Gate::House, "国家为 <none>，永远不会使用"},
        {"{}", "ALIEN", Gate::House, "国家 Aliens 未定义"},
        {"{}", "SIDE1", Gate::Side, "只给阵营 1 使用"},
        {"{}", "TECH", Gate::Tech, "科技等级 12 高于 10"},
        {R"({"techLevel": 4})", "ATK", Gate::Tech, "科技等级 5 高于 4"},
        {R"({"enemy": {"owns": {"GAPILE": 1}}})", "ATK", Gate::Condition,
         "条件不成立：敌人的 GAPILE 为 1，需要 ≥ 2"},
        {"{}", "COND9", Gate::Condition, "游戏没有条件类型 9"},
        {"{}", "SUBS", Gate::Build, "没有建造 SUB 的工厂"},
        {R"({"owns": {"NAYARD": 1}})", "SUBS", Gate::None, "可选"},
        {R"({"owns": {"NAHAND": 1}})", "ATK", Gate::Build, "没有建造 HTNK 的工厂"},
        {R"({"country": "Americans", "owns": {"NAWEAP": 1}})", "DEF", Gate::Build,
         "没有建造 E1 的工厂"},
        {R"({"country": "Americans", "skirmish": false})", "NOSK", Gate::Build,
         "无法建造 HTNK（Owner 中没有 Americans）"},
        {R"({"teams": {"TDEF": 1, "TMAX": 1}})", "MAXT", Gate::Max, "小队 TMAX 已有 1 个（Max=1）"},
    };
    for (const Row& row : rows) {
        const Result r = forecaster.run(state(row.changes));
        const TriggerResult& t = find(r, QString::fromLatin1(row.trigger));
        EXPECT_EQ(t.gate, row.gate) << row.changes.toStdString() << " " << row.trigger;
        EXPECT_EQ(t.reason, QString::fromUtf8(row.reason)) << row.changes.toStdString();
    }
}

TEST(Forecast, DrawsByWeightAndWorksOutTheWeightsAfter) {
    const IniText text(kAiFile);
    const buildrule::World w = world();
    const Forecaster forecaster(text, kUtf8, w);

    const Result r = forecaster.run(state());
    EXPECT_EQ(r.shortLines, 1);
    ASSERT_EQ(r.triggers.size(), 13u); // in file order, the short line left out
    EXPECT_EQ(r.triggers.front().id, "DEF");
    // DEF 50, ATK 70, MAXT 30 (30.7 rounded down); SMALL passes with weight 0.
    EXPECT_EQ(r.pickable, 3);
    EXPECT_DOUBLE_EQ(find(r, "ATK").chance, 70.0 / 150);
    EXPECT_EQ(find(r, "MAXT").weight, 30);
    EXPECT_EQ(find(r, "SMALL").chance, 0);
    EXPECT_EQ(r.summary, "3 个触发可选；1 行触发不足 18 个字段，未推演");
    // Success +20, failure -50, held inside the line's own bounds.
    EXPECT_EQ(find(r, "ATK").afterSuccess, 80);
    EXPECT_EQ(find(r, "ATK").afterFailure, 25);
    EXPECT_EQ(find(r, "DEF").afterSuccess, 70);
    EXPECT_EQ(find(r, "DEF").afterFailure, 10);

    // A weight of exactly 5000 takes the whole draw; the current weights come from the state.
    const Result big = forecaster.run(state(R"({"weights": {"maxt": 5000.9, "DEF": -2.5}})"));
    EXPECT_EQ(find(big, "MAXT").chance, 1);
    EXPECT_EQ(find(big, "ATK").chance, 0);
    EXPECT_EQ(find(big, "DEF").weight, -3);
    EXPECT_EQ(find(big, "DEF").reason, "可选（分量小于 1）");
    EXPECT_TRUE(big.summary.contains("只在分量为 5000 的触发中抽选"));

    // The rules file's [General] changes the cap and the deltas.
    buildrule::World tight = world();
    tight.general = {{"TotalAITeamCap", "5,,2"},
                     {"AITriggerSuccessWeightDelta", "5.5"},
                     {"UseMinDefenseRule", ""}};
    const Forecaster capped(text, kUtf8, tight);
    const Result level2 = capped.run(state(R"({"level": 2, "teams": {"TATK": 2}})"));
    EXPECT_EQ(find(level2, "ATK").gate, Gate::Pass);
    EXPECT_EQ(find(level2, "DEF").afterSuccess, 55.5);
    EXPECT_EQ(find(capped.run(state(R"({"teams": {}})")), "ATK").gate, Gate::None);
}

TEST(Forecast, RefusesABadStateNamingTheKey) {
    const std::pair<const char*, const char*> rows[] = {
        {"[]", "状态不是一个 JSON 对象"},
        {R"({"level": 1})", "状态缺少 country"},
        {R"({"country": "R", "level": 4})", "状态中 level 的值无效"},
        {R"({"country": "R", "level": 1, "skirmish": 1})", "状态中 skirmish 的值无效"},
        {R"({"country": "R", "level": 1, "owns": {"E1": -1}})", "状态中 owns.E1 的值无效"},
        {R"({"country": "R", "level": 1, "enemy": {"power": "LOW"}})",
         "状态中 enemy.power 的值无效"},
        {R"({"country": "R", "level": 1, "techLevel": 2.5})", "状态中 techLevel 的值无效"},
        {R"({"country": "R", "level": 1, "weights": {"A": "1"}})", "状态中 weights.A 的值无效"},
    };
    for (const auto& [json, error] : rows) {
        const StateRead read = readState(json);
        EXPECT_FALSE(read.state) << json;
        EXPECT_EQ(read.error, QString::fromUtf8(error)) << json;
    }
    const State s = state(R"({"superWeaponsReady": [1, 3], "neutral": {"X": 2}})");
    EXPECT_EQ(readState(writeState(s)).state, s);
}

TEST(Forecast, FindsCountriesWithoutADefensiveTrigger) {
    const IniText text(kAiFile);
    const buildrule::World w = world();
    const Forecaster forecaster(text, kUtf8, w);
    // DEF serves every country on levels 1 and 2.
    const std::vector<Undefended> missing = forecaster.undefended();
    ASSERT_EQ(missing.size(), 2u);
    EXPECT_EQ(missing[0].country, "Americans");
    EXPECT_EQ(missing[0].level, 3);
    EXPECT_EQ(missing[1].country, "Russians");
}
