#include "records/Forecast.h"

#include "document/Lines.h"
#include "records/FieldRules.h"
#include "records/RecordLines.h"
#include "records/TriggerLine.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tarvok::forecast {

// ---- words of the rules files

namespace {

char foldByte(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string foldBytes(QByteArrayView bytes) {
    std::string out(static_cast<size_t>(bytes.size()), '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[static_cast<size_t>(i)] = foldByte(bytes[i]);
    return out;
}

} // namespace

bool sameName(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (foldByte(a[i]) != foldByte(b[i]))
            return false;
    return true;
}

QString foldName(const QString& name) {
    const auto upper = [](QChar c) { return c >= u'A' && c <= u'Z'; };
    if (std::none_of(name.cbegin(), name.cend(), upper))
        return name; // shared, not copied
    QString out = name;
    for (QChar& c : out)
        if (upper(c))
            c = QChar(c.unicode() - u'A' + u'a');
    return out;
}

std::optional<double> decimal(QStringView text) {
    return fieldrules::decimalNumber(text);
}

std::optional<long long> number(QStringView text) {
    const std::optional<double> value = fieldrules::decimalNumber(text);
    if (!value)
        return std::nullopt;
    constexpr double kLimit = 9.0e18;
    return static_cast<long long>(std::clamp(std::trunc(*value), -kLimit, kLimit));
}

bool yes(QStringView value) {
    if (value.isEmpty())
        return false;
    const QChar c = value.front().toLower();
    return c == u'y' || c == u't' || c == u'1';
}

namespace {

bool listsCountry(const std::optional<QString>& list, const QString& countryFolded) {
    if (!list)
        return false;
    for (const QString& item : list->split(QLatin1Char(',')))
        if (foldName(item.trimmed()) == countryFolded)
            return true;
    return false;
}

bool listsAny(const std::optional<QString>& list) {
    if (!list)
        return false;
    for (const QString& item : list->split(QLatin1Char(',')))
        if (!item.trimmed().isEmpty())
            return true;
    return false;
}

} // namespace

QString buildRefusal(const buildrule::TypeRule& rule, const QString& country, long long techLevel) {
    const QString folded = foldName(country);
    const std::optional<long long> tech = rule.techLevel ? number(*rule.techLevel) : std::nullopt;
    if (!tech)
        return QStringLiteral("未设 TechLevel");
    if (*tech < 0 || *tech > techLevel)
        return QStringLiteral("TechLevel 为 %1（上限 %2）").arg(*tech).arg(techLevel);
    if (!listsCountry(rule.owner, folded))
        return QStringLiteral("Owner 中没有 %1").arg(country);
    if (listsAny(rule.requiredHouses) && !listsCountry(rule.requiredHouses, folded))
        return QStringLiteral("RequiredHouses 中没有 %1").arg(country);
    if (listsCountry(rule.forbiddenHouses, folded))
        return QStringLiteral("ForbiddenHouses 中有 %1").arg(country);
    return {};
}

// ---- the state as JSON

namespace {

constexpr std::array<const char*, 3> kPowerWords{"normal", "low", "out"};

std::optional<long long> wholeNumber(const QJsonValue& v) {
    if (!v.isDouble())
        return std::nullopt;
    const double d = v.toDouble();
    if (d != std::trunc(d) || std::abs(d) > 9.0e15)
        return std::nullopt;
    return static_cast<long long>(d);
}

QString badValue(const QString& key) {
    return QStringLiteral("状态中 %1 的值无效").arg(key);
}

// Reads counts by type ID; false (error set) on a value that is no whole number from 0.
bool readCounts(const QJsonObject& parent, const char* key, const QString& path,
                QMap<QString, long long>& into, QString& error) {
    const QJsonValue v = parent.value(QLatin1String(key));
    if (v.isUndefined())
        return true;
    if (!v.isObject()) {
        error = badValue(path);
        return false;
    }
    const QJsonObject counts = v.toObject();
    for (auto it = counts.begin(); it != counts.end(); ++it) {
        const std::optional<long long> n = wholeNumber(it.value());
        if (!n || *n < 0) {
            error = badValue(path + QLatin1Char('.') + it.key());
            return false;
        }
        into.insert(it.key(), *n);
    }
    return true;
}

QJsonObject countsJson(const QMap<QString, long long>& counts) {
    QJsonObject out;
    for (auto it = counts.begin(); it != counts.end(); ++it)
        out.insert(it.key(), static_cast<double>(it.value()));
    return out;
}

} // namespace

StateRead readState(const QByteArray& json) {
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject())
        return {std::nullopt, QStringLiteral("状态不是一个 JSON 对象")};
    const QJsonObject o = doc.object();
    State s;
    QString error;
    const auto fail = [](const QString& text) { return StateRead{std::nullopt, text}; };

    const QJsonValue country = o.value(QLatin1String("country"));
    if (country.isUndefined())
        return fail(QStringLiteral("状态缺少 country"));
    if (!country.isString())
        return fail(badValue(QStringLiteral("country")));
    s.country = country.toString();
    const QJsonValue level = o.value(QLatin1String("level"));
    if (level.isUndefined())
        return fail(QStringLiteral("状态缺少 level"));
    const std::optional<long long> l = wholeNumber(level);
    if (!l || *l < 1 || *l > 3)
        return fail(badValue(QStringLiteral("level")));
    s.level = static_cast<int>(*l);

    if (const QJsonValue v = o.value(QLatin1String("skirmish")); !v.isUndefined()) {
        if (!v.isBool())
            return fail(badValue(QStringLiteral("skirmish")));
        s.skirmish = v.toBool();
    }
    if (const QJsonValue v = o.value(QLatin1String("techLevel")); !v.isUndefined()) {
        if (!wholeNumber(v))
            return fail(badValue(QStringLiteral("techLevel")));
        s.techLevel = wholeNumber(v);
    }
    if (const QJsonValue v = o.value(QLatin1String("enemy")); !v.isUndefined() && !v.isNull()) {
        if (!v.isObject())
            return fail(badValue(QStringLiteral("enemy")));
        const QJsonObject e = v.toObject();
        Enemy enemy;
        if (const QJsonValue c = e.value(QLatin1String("country")); !c.isUndefined()) {
            if (!c.isString())
                return fail(badValue(QStringLiteral("enemy.country")));
            enemy.country = c.toString();
        }
        if (const QJsonValue c = e.value(QLatin1String("credits")); !c.isUndefined()) {
            if (!wholeNumber(c))
                return fail(badValue(QStringLiteral("enemy.credits")));
            enemy.credits = *wholeNumber(c);
        }
        if (const QJsonValue p = e.value(QLatin1String("power")); !p.isUndefined()) {
            const auto word = std::find_if(kPowerWords.begin(), kPowerWords.end(),
                                           [&](const char* w) { return p.toString() == w; });
            if (!p.isString() || word == kPowerWords.end())
                return fail(badValue(QStringLiteral("enemy.power")));
            enemy.power = static_cast<Power>(word - kPowerWords.begin());
        }
        if (!readCounts(e, "owns", QStringLiteral("enemy.owns"), enemy.owns, error))
            return fail(error);
        s.enemy = enemy;
    }
    if (!readCounts(o, "owns", QStringLiteral("owns"), s.owns, error) ||
        !readCounts(o, "neutral", QStringLiteral("neutral"), s.neutral, error) ||
        !readCounts(o, "teams", QStringLiteral("teams"), s.teams, error))
        return fail(error);
    if (const QJsonValue v = o.value(QLatin1String("superWeaponsReady")); !v.isUndefined()) {
        if (!v.isArray())
            return fail(badValue(QStringLiteral("superWeaponsReady")));
        for (const QJsonValue item : v.toArray()) {
            if (!wholeNumber(item))
                return fail(badValue(QStringLiteral("superWeaponsReady")));
            s.superWeaponsReady << *wholeNumber(item);
        }
    }
    if (const QJsonValue v = o.value(QLatin1String("weights")); !v.isUndefined()) {
        if (!v.isObject())
            return fail(badValue(QStringLiteral("weights")));
        const QJsonObject w = v.toObject();
        for (auto it = w.begin(); it != w.end(); ++it) {
            if (!it.value().isDouble())
                return fail(badValue(QStringLiteral("weights.") + it.key()));
            s.weights.insert(it.key(), it.value().toDouble());
        }
    }
    return {s, {}};
}

QByteArray writeState(const State& s) {
    QJsonObject o;
    o.insert(QLatin1String("country"), s.country);
    o.insert(QLatin1String("level"), s.level);
    o.insert(QLatin1String("skirmish"), s.skirmish);
    if (s.techLevel)
        o.insert(QLatin1String("techLevel"), static_cast<double>(*s.techLevel));
    if (s.enemy) {
        QJsonObject e;
        e.insert(QLatin1String("country"), s.enemy->country);
        e.insert(QLatin1String("credits"), static_cast<double>(s.enemy->credits));
        e.insert(QLatin1String("power"),
                 QLatin1String(kPowerWords[static_cast<size_t>(s.enemy->power)]));
        e.insert(QLatin1String("owns"), countsJson(s.enemy->owns));
        o.insert(QLatin1String("enemy"), e);
    } else {
        o.insert(QLatin1String("enemy"), QJsonValue::Null);
    }
    o.insert(QLatin1String("owns"), countsJson(s.owns));
    o.insert(QLatin1String("neutral"), countsJson(s.neutral));
    QJsonArray ready;
    for (const long long n : s.superWeaponsReady)
        ready.append(static_cast<double>(n));
    o.insert(QLatin1String("superWeaponsReady"), ready);
    o.insert(QLatin1String("teams"), countsJson(s.teams));
    QJsonObject weights;
    for (auto it = s.weights.begin(); it != s.weights.end(); ++it)
        weights.insert(it.key(), it.value());
    o.insert(QLatin1String("weights"), weights);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

StateRead loadState(const QString& path) {
    const std::optional<QByteArray> bytes = filestore::read(path);
    if (!bytes)
        return {std::nullopt, QStringLiteral("无法读取状态文件 %1").arg(path)};
    return readState(*bytes);
}

filestore::WriteResult saveState(const QString& path, const State& state) {
    return filestore::replace(path, writeState(state));
}

QString gateName(Gate gate) {
    static const std::array<const char*, kGateCount> names{
        "",      "pass", "team1", "defence",   "skirmish", "difficulty",
        "house", "side", "tech",  "condition", "build",    "max"};
    return QLatin1String(names[static_cast<size_t>(gate)]);
}

// ---- the AI file, read once

namespace {

using FoldedHash = std::unordered_map<QString, long long, buildrule::TextHash>;

struct Team {
    QString id;
    bool listed = false; // in [TeamTypes]
    bool defence = false;
    std::optional<long long> max;
    std::vector<QString> units; // folded, each once, in row order
    std::vector<QString> shownUnits;
    long long tech = 0; // the highest TechLevel of 0 or more among its listed units
};

struct Trigger {
    QString id, name, folded;
    qsizetype line = 0;
    QString team1, team2; // as written, trimmed
    int team1Index = -1;  // into teams, when the slot names a listed team type
    int team2Index = -1;  // the same; -1 also for an empty slot
    QString house;        // trimmed
    long long tech = 0;   // E: the field and the units' TechLevel
    std::optional<long long> conditionType;
    QString conditionText;    // field 4 as written
    QString unit, unitFolded; // field 5
    bool blockValid = false;
    qint32 amount = 0, op = 0;
    double weight = 0, minWeight = 0, maxWeight = 0;
    bool skirmishOn = false;
    std::array<bool, 3> levels{};
    long long side = 0;
    bool tooShort = false; // fewer than 18 fields: not forecast
    bool defensive = false;
};

qint32 littleEndian(QByteArrayView hex) {
    quint32 value = 0;
    for (int b = 3; b >= 0; --b)
        value = (value << 8) |
                static_cast<quint32>(hex.sliced(b * 2, 2).toByteArray().toUInt(nullptr, 16));
    return static_cast<qint32>(value);
}

// A team slot that names a team: not empty and not "<none>".
bool namesTeam(const QString& slot) {
    return !slot.isEmpty() && foldName(slot) != QLatin1String("<none>");
}

bool allHex(QByteArrayView text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    });
}

} // namespace

std::optional<Condition> readBlock(QByteArrayView block) {
    block = lines::trimBlanks(block);
    if (block.size() < 16 || !allHex(block))
        return std::nullopt;
    return Condition{littleEndian(block.sliced(0, 8)), littleEndian(block.sliced(8, 8))};
}

struct Forecaster::Data {
    const buildrule::World& world;
    std::vector<Trigger> triggers;
    std::vector<Team> teams;
    int shortLines = 0;
    // The rules file's types by folded ID (the first listed), and countries folded.
    std::unordered_map<QString, std::pair<QString, const buildrule::TypeRule*>, buildrule::TextHash>
        types;
    std::unordered_map<QString, QString, buildrule::TextHash> countries;  // folded -> as written
    std::unordered_map<QString, int, buildrule::TextHash> teamTypeListed; // folded IDs
    // [General]
    std::array<long long, 3> teamCap{}, minDefence{}, maxDefence{};
    bool useMinDefence = true;
    double successDelta = 20, failureDelta = -50;

    explicit Data(const buildrule::World& w) : world(w) {}
};

namespace {

// Item d of a per-level list, or fallback.
long long levelItem(const QHash<QString, QString>& general, const char* key, int d,
                    long long fallback) {
    const auto it = general.constFind(QLatin1String(key));
    if (it == general.cend())
        return fallback;
    QStringList items;
    for (const QString& item : it->split(QLatin1Char(',')))
        if (!item.trimmed().isEmpty())
            items << item.trimmed();
    if (d >= items.size())
        return fallback;
    return number(items[d]).value_or(fallback);
}

double delta(const QHash<QString, QString>& general, const char* key, double fallback) {
    const auto it = general.constFind(QLatin1String(key));
    return it == general.cend() ? fallback : decimal(*it).value_or(fallback);
}

// The sections of a file by folded name.
class FoldedSections {
  public:
    explicit FoldedSections(const IniText& text) {
        map_.reserve(text.sections().size());
        for (const IniText::Section& s : text.sections())
            map_[foldBytes(s.name)].push_back(&s);
    }
    const std::vector<const IniText::Section*>& operator[](QByteArrayView name) const {
        static const std::vector<const IniText::Section*> none;
        const auto it = map_.find(foldBytes(name));
        return it == map_.end() ? none : it->second;
    }

  private:
    std::unordered_map<std::string, std::vector<const IniText::Section*>> map_;
};

} // namespace

Forecaster::Forecaster(const IniText& text, const TextCodec& codec, const buildrule::World& world)
    : d_(std::make_unique<Data>(world)) {
    Data& d = *d_;
    const auto decode = [&codec](QByteArrayView bytes) { return codec.decode(bytes); };
    for (const auto& [id, rule] : world.types)
        d.types.try_emplace(foldName(id), id, &rule);
    for (const QString& country : world.countries)
        d.countries.try_emplace(foldName(country), country);
    for (int level = 0; level < 3; ++level) {
        d.teamCap[level] = levelItem(world.general, "TotalAITeamCap", level, 30);
        d.minDefence[level] = levelItem(world.general, "MinimumAIDefensiveTeams", level, 1);
        d.maxDefence[level] = levelItem(world.general, "MaximumAIDefensiveTeams", level, 2);
    }
    if (const auto it = world.general.constFind(QStringLiteral("UseMinDefenseRule"));
        it != world.general.cend())
        d.useMinDefence = yes(it->trimmed());
    d.successDelta = delta(world.general, "AITriggerSuccessWeightDelta", 20);
    d.failureDelta = delta(world.general, "AITriggerFailureWeightDelta", -50);

    const FoldedSections sections(text);
    for (const IniText::Section* s : sections["TeamTypes"])
        for (qsizetype i = s->bodyBegin; i < s->bodyEnd; ++i)
            if (text.kind(i) == IniText::Kind::Key && !text.value(i).isEmpty())
                d.teamTypeListed.try_emplace(foldName(decode(text.value(i))), -1);

    // A listed team type read once; -1 for a slot that names none.
    const auto teamIndex = [&](const QString& id) -> int {
        const auto listed = d.teamTypeListed.find(foldName(id));
        if (!namesTeam(id) || listed == d.teamTypeListed.end())
            return -1;
        if (listed->second >= 0)
            return listed->second;
        Team team;
        team.id = id;
        team.listed = true;
        QByteArrayView taskForce;
        std::optional<QByteArrayView> max;
        const QByteArray key = codec.encode(id);
        for (const IniText::Section* s : sections[key])
            for (qsizetype i = s->bodyBegin; i < s->bodyEnd; ++i) {
                if (text.kind(i) != IniText::Kind::Key)
                    continue;
                if (sameName(text.key(i), "IsBaseDefense"))
                    team.defence = yes(decode(text.value(i)));
                else if (sameName(text.key(i), "TaskForce"))
                    taskForce = text.value(i);
                else if (sameName(text.key(i), "Max"))
                    max = text.value(i);
            }
        if (max)
            team.max = number(decode(*max));
        if (!taskForce.isEmpty())
            for (const IniText::Section* s : sections[taskForce])
                for (qsizetype i = s->bodyBegin; i < s->bodyEnd; ++i) {
                    if (text.kind(i) != IniText::Kind::Key)
                        continue;
                    const QByteArrayView k = text.key(i);
                    const QByteArrayView v = text.value(i);
                    if (k.isEmpty() || !v.contains(',') ||
                        !std::all_of(k.begin(), k.end(),
                                     [](char c) { return c >= '0' && c <= '9'; }))
                        continue;
                    const QString unit = decode(lines::trimBlanks(lines::after(v, ',')));
                    const QString folded = foldName(unit);
                    if (std::find(team.units.begin(), team.units.end(), folded) ==
                        team.units.end()) {
                        team.units.push_back(folded);
                        team.shownUnits.push_back(unit);
                    }
                }
        for (const QString& unit : team.units)
            if (const auto type = d.types.find(unit); type != d.types.end())
                if (const std::optional<QString>& level = type->second.second->techLevel)
                    if (const std::optional<long long> n = number(*level); n && *n >= 0)
                        team.tech = std::max(team.tech, *n);
        d.teams.push_back(std::move(team));
        listed->second = static_cast<int>(d.teams.size() - 1);
        return listed->second;
    };

    // Every listed team type, in file order.
    std::vector<QString> listedIds;
    for (const IniText::Section* s : sections["TeamTypes"])
        for (qsizetype i = s->bodyBegin; i < s->bodyEnd; ++i)
            if (text.kind(i) == IniText::Kind::Key && !text.value(i).isEmpty())
                listedIds.push_back(decode(text.value(i)));

    for (const QString& id : listedIds)
        teamIndex(id);

    std::unordered_map<QString, size_t, buildrule::TextHash> byId;
    qsizetype keyLines = 0;
    for (const IniText::Section* s : sections["AITriggerTypes"])
        keyLines += s->bodyEnd - s->bodyBegin;
    d.triggers.reserve(static_cast<size_t>(keyLines));
    for (const IniText::Section* s : sections["AITriggerTypes"])
        for (qsizetype i = s->bodyBegin; i < s->bodyEnd; ++i) {
            if (text.kind(i) != IniText::Kind::Key)
                continue;
            const QByteArray line = recordlines::triggerLine(text, i);
            const std::vector<QByteArrayView> fields = trigger::splitFields(line);
            Trigger t;
            t.id = decode(text.key(i));
            t.folded = foldName(t.id);
            t.line = i;
            t.tooShort = fields.size() < static_cast<size_t>(trigger::kFieldCount);
            if (!t.tooShort) {
                const auto field = [&](int f) { return decode(lines::trimBlanks(fields[f])); };
                t.name = decode(lines::after(fields[0], '='));
                t.team1 = field(1);
                t.team2 = field(14);
                t.team1Index = teamIndex(t.team1);
                t.team2Index = teamIndex(t.team2);
                t.house = field(2);
                t.conditionText = field(4);
                t.conditionType = number(t.conditionText);
                t.unit = field(5);
                t.unitFolded = foldName(t.unit);
                if (const std::optional<Condition> c = readBlock(fields[6])) {
                    t.blockValid = true;
                    t.amount = c->amount;
                    t.op = c->op;
                }
                t.weight = decimal(field(7)).value_or(0);
                t.minWeight = decimal(field(8)).value_or(0);
                t.maxWeight = decimal(field(9)).value_or(0);
                t.skirmishOn = field(10) == QLatin1String("1");
                for (int l = 0; l < 3; ++l)
                    t.levels[l] = field(15 + l) == QLatin1String("1");
                t.side = number(field(12)).value_or(0);
                long long tech = number(field(3)).value_or(0);
                for (const int team : {t.team1Index, t.team2Index}) {
                    if (team < 0)
                        continue;
                    const Team& tt = d.teams[static_cast<size_t>(team)];
                    t.defensive = t.defensive || tt.defence;
                    tech = std::max(tech, tt.tech);
                }
                t.tech = tech;
            }
            if (const auto [it, added] = byId.try_emplace(t.folded, d.triggers.size()); added) {
                d.triggers.push_back(std::move(t));
            } else {
                t.line = d.triggers[it->second].line;
                d.triggers[it->second] = std::move(t);
            }
        }
    for (const Trigger& t : d.triggers)
        d.shortLines += t.tooShort ? 1 : 0;
}

Forecaster::~Forecaster() = default;

QStringList Forecaster::teamTypes() const {
    QStringList out;
    for (const Team& team : d_->teams)
        out << team.id;
    return out;
}

namespace {

const char* opSign(qint32 op) {
    static const char* signs[] = {"<", "≤", "=", "≥", ">", "≠"};
    return signs[op];
}

bool compare(long long value, qint32 op, long long amount) {
    switch (op) {
    case 0:
        return value < amount;
    case 1:
        return value <= amount;
    case 2:
        return value == amount;
    case 3:
        return value >= amount;
    case 4:
        return value > amount;
    default:
        return value != amount;
    }
}

FoldedHash folded(const QMap<QString, long long>& counts) {
    FoldedHash out;
    for (auto it = counts.begin(); it != counts.end(); ++it)
        out[foldName(it.key())] += it.value();
    return out;
}

long long countOf(const FoldedHash& counts, const QString& foldedId) {
    const auto it = counts.find(foldedId);
    return it == counts.end() ? 0 : it->second;
}

// What a forecast knows of the state, folded for look-ups.
struct Moment {
    int d = 0;
    bool skirmish = true;
    QString country, countryFolded;
    long long side = 0;
    long long techLevel = 10;
    const Enemy* enemy = nullptr;
    FoldedHash owns, neutral, enemyOwns, teams;
    bool sw1 = false, sw3 = false;
};

// Gates 4 to 7, which depend only on the computer's country, side and level.
Gate setupGate(const Trigger& t, const Moment& m,
               const std::unordered_map<QString, QString, buildrule::TextHash>& countries,
               QString& why) {
    if (m.skirmish && !t.skirmishOn) {
        why = QStringLiteral("遭遇战中不使用");
        return Gate::Skirmish;
    }
    if (!t.levels[static_cast<size_t>(m.d)]) {
        why = QStringLiteral("第 %1 档未启用").arg(m.d + 1);
        return Gate::Difficulty;
    }
    const QString house = foldName(t.house);
    if (house != QLatin1String("<all>")) {
        if (house == QLatin1String("<none>")) {
            why = QStringLiteral("国家为 <none>，永远不会使用");
            return Gate::House;
        }
        if (!countries.count(house)) {
            why = QStringLiteral("国家 %1 未定义").arg(t.house);
            return Gate::House;
        }
        if (house != m.countryFolded) {
            why = QStringLiteral("只给国家 %1 使用").arg(t.house);
            return Gate::House;
        }
    }
    if (t.side != 0 && t.side != m.side) {
        why = QStringLiteral("只给阵营 %1 使用").arg(t.side);
        return Gate::Side;
    }
    return Gate::None;
}

long long sideOf(const buildrule::World& world, const QString& countryFolded) {
    for (qsizetype s = 0; s < world.sides.size(); ++s)
        for (const QString& c : world.sides[s])
            if (foldName(c) == countryFolded)
                return s + 1;
    return 0;
}

// Why the trigger's condition does not hold; empty when it does.
QString conditionWhy(const Trigger& t, const Moment& m) {
    const QString no = QStringLiteral("条件不成立：");
    if (!t.blockValid)
        return no + QStringLiteral("条件块不是至少 16 位十六进制数字");
    const std::optional<long long> type = t.conditionType;
    if (!type || *type < -1 || *type > 7)
        return QStringLiteral("游戏没有条件类型 %1").arg(t.conditionText);
    const bool readsOp = *type == 0 || *type == 1 || *type == 4 || *type == 7;
    if (readsOp && (t.op < 0 || t.op > 5))
        return no + QStringLiteral("比较方式 %1 无效").arg(t.op);
    const bool needsEnemy = *type == -1 || *type == 0 || *type == 2 || *type == 3 || *type == 4;
    if (needsEnemy && !m.enemy)
        return QStringLiteral("尚未选定敌人");
    const auto counted = [&](const char* whose, long long value, const QString& what) {
        if (compare(value, t.op, t.amount))
            return QString();
        return no + QStringLiteral("%1的 %2 为 %3，需要 %4 %5")
                        .arg(QString::fromUtf8(whose), what)
                        .arg(value)
                        .arg(QString::fromUtf8(opSign(t.op)))
                        .arg(t.amount);
    };
    switch (*type) {
    case -1:
        return QString();
    case 0:
        return counted("敌人", countOf(m.enemyOwns, t.unitFolded), t.unit);
    case 1:
        return counted("己方", countOf(m.owns, t.unitFolded), t.unit);
    case 2:
        return m.enemy->power != Power::Normal ? QString() : no + QStringLiteral("敌人电力正常");
    case 3:
        return m.enemy->power == Power::Out ? QString() : no + QStringLiteral("敌人没有断电");
    case 4:
        return compare(m.enemy->credits, t.op, t.amount)
                   ? QString()
                   : no + QStringLiteral("敌人的资金为 %1，需要 %2 %3")
                              .arg(m.enemy->credits)
                              .arg(QString::fromUtf8(opSign(t.op)))
                              .arg(t.amount);
    case 5:
        return m.sw1 ? QString() : no + QStringLiteral("超级武器第 1 项未就绪");
    case 6:
        return m.sw3 ? QString() : no + QStringLiteral("超级武器第 3 项未就绪");
    default:
        return counted("中立方", countOf(m.neutral, t.unitFolded), t.unit);
    }
}

const std::array<const char*, 4> kKinds{"InfantryType", "UnitType", "AircraftType", "BuildingType"};
} // namespace

Result Forecaster::run(const State& state) const {
    const Data& d = *d_;
    Moment m;
    m.d = std::clamp(state.level, 1, 3) - 1;
    m.skirmish = state.skirmish;
    m.country = state.country;
    m.countryFolded = foldName(state.country);
    m.side = sideOf(d.world, m.countryFolded);
    m.techLevel = state.techLevel.value_or(d.world.maxTechLevel);
    m.enemy = state.enemy ? &*state.enemy : nullptr;
    m.owns = folded(state.owns);
    m.neutral = folded(state.neutral);
    m.teams = folded(state.teams);
    if (m.enemy)
        m.enemyOwns = folded(m.enemy->owns);
    m.sw1 = state.superWeaponsReady.contains(1);
    m.sw3 = state.superWeaponsReady.contains(3);

    // The pass as a whole.
    const long long cap = d.teamCap[static_cast<size_t>(m.d)];
    const long long minDefence = d.minDefence[static_cast<size_t>(m.d)];
    const long long maxDefence = d.maxDefence[static_cast<size_t>(m.d)];
    long long total = 0;
    long long defence = 0;
    for (const auto& [team, count] : m.teams) {
        total += count;
        if (const auto listed = d.teamTypeListed.find(team);
            listed != d.teamTypeListed.end() && listed->second >= 0 &&
            d.teams[static_cast<size_t>(listed->second)].defence)
            defence += count;
    }
    bool skip = false;
    bool skipFromCap = false;
    if (total >= cap && defence >= total / 2) {
        --total;
        --defence;
        skip = skipFromCap = true;
    } else {
        skip = defence > maxDefence;
    }
    const bool noEnemy = m.enemy == nullptr;
    const bool restricted = noEnemy || (d.useMinDefence && defence < minDefence);

    // What the computer can make, per unit, found once per forecast.
    std::unordered_map<QString, QString, buildrule::TextHash> buildable; // unit -> why not
    std::array<bool, 4> factories{}; // by kind; vehicles: [1] land
    bool navalYard = false;
    for (const auto& [type, count] : m.owns) {
        if (count < 1)
            continue;
        const auto it = d.types.find(type);
        if (it == d.types.end() || it->second.second->list != 3 || !it->second.second->factory)
            continue;
        const QString factory = foldName(it->second.second->factory->trimmed());
        for (size_t k = 0; k < kKinds.size(); ++k)
            if (factory == foldName(QLatin1String(kKinds[k]))) {
                if (k == 1 && yes(it->second.second->naval.value_or(QString()).trimmed()))
                    navalYard = true;
                else
                    factories[k] = true;
            }
    }
    const auto buildWhy = [&](const QString& unit, const QString& shown) -> QString {
        if (const auto known = buildable.find(unit); known != buildable.end())
            return known->second;
        QString why;
        const auto it = d.types.find(unit);
        if (it == d.types.end()) {
            why = QStringLiteral("单位 %1 未定义").arg(shown);
        } else {
            const buildrule::TypeRule& rule = *it->second.second;
            const QString& id = it->second.first;
            const QString cannot = buildRefusal(rule, m.country, m.techLevel);
            if (!cannot.isEmpty()) {
                why = QStringLiteral("无法建造 %1（%2）").arg(id, cannot);
            } else {
                const auto kind = static_cast<size_t>(rule.list);
                const bool naval = yes(rule.naval.value_or(QString()).trimmed());
                const bool hasFactory =
                    kind == 1 ? (naval ? navalYard : factories[1]) : factories[kind];
                if (!hasFactory)
                    why = QStringLiteral("没有建造 %1 的工厂").arg(id);
            }
        }
        buildable.emplace(unit, why);
        return why;
    };

    std::unordered_map<QString, double, buildrule::TextHash> weights; // by folded ID
    for (auto it = state.weights.begin(); it != state.weights.end(); ++it)
        weights[foldName(it.key())] = it.value();

    Result result;
    result.shortLines = d.shortLines;
    result.triggers.reserve(d.triggers.size());
    for (const Trigger& t : d.triggers) {
        if (t.tooShort)
            continue;
        TriggerResult r;
        r.id = t.id;
        r.name = t.name;
        r.line = t.line;
        r.team1 = t.team1;
        r.team2 = namesTeam(t.team2) ? t.team2 : QString();
        const auto given = weights.find(t.folded);
        const double w = given != weights.end() ? given->second : t.weight;
        r.weight = static_cast<long long>(std::floor(w));
        r.afterSuccess = std::min(std::max(w + d.successDelta, t.minWeight), t.maxWeight);
        r.afterFailure = std::min(std::max(w + d.failureDelta, t.minWeight), t.maxWeight);

        QString why;
        Gate gate = Gate::None;
        const Team* team1 =
            t.team1Index >= 0 ? &d.teams[static_cast<size_t>(t.team1Index)] : nullptr;
        const Team* team2 =
            t.team2Index >= 0 ? &d.teams[static_cast<size_t>(t.team2Index)] : nullptr;
        if (total >= cap) {
            gate = Gate::Pass;
            why = QStringLiteral("电脑的小队已达上限（%1/%2）").arg(total).arg(cap);
        } else if (!team1) {
            gate = Gate::Team1;
            why = QStringLiteral("小队1 未定义");
        } else if ((restricted && !t.defensive) || (t.defensive && skip)) {
            gate = Gate::Defence;
            if (!t.defensive)
                why = noEnemy ? QStringLiteral("尚未选定敌人，只选防守触发")
                              : QStringLiteral("防守小队不足（%1/%2），只选防守触发")
                                    .arg(defence)
                                    .arg(minDefence);
            else
                why = skipFromCap ? QStringLiteral("小队已达上限，本轮先解散一个防守小队")
                                  : QStringLiteral("防守小队已超过上限（%1/%2）")
                                        .arg(defence)
                                        .arg(maxDefence);
        } else if (gate = setupGate(t, m, d.countries, why); gate != Gate::None) {
        } else if (t.tech > m.techLevel) {
            gate = Gate::Tech;
            why = QStringLiteral("科技等级 %1 高于 %2").arg(t.tech).arg(m.techLevel);
        } else if (why = conditionWhy(t, m); !why.isEmpty()) {
            gate = Gate::Condition;
        } else {
            // Team 1's units, then team 2's (one it shares gives the same answer again).
            for (const Team* team : {team1, team2})
                for (size_t u = 0; team && u < team->units.size() && why.isEmpty(); ++u)
                    why = buildWhy(team->units[u], team->shownUnits[u]);
            if (!why.isEmpty()) {
                gate = Gate::Build;
            } else {
                for (const Team* team : {team1, team2}) {
                    if (!team || !team->max)
                        continue;
                    const long long alive = countOf(m.teams, foldName(team->id));
                    if (alive >= *team->max) {
                        gate = Gate::Max;
                        why = QStringLiteral("小队 %1 已有 %2 个（Max=%3）")
                                  .arg(team->id)
                                  .arg(alive)
                                  .arg(*team->max);
                        break;
                    }
                }
            }
        }
        r.gate = gate;
        r.reason = gate != Gate::None ? why
                   : r.weight < 1     ? QStringLiteral("可选（分量小于 1）")
                                      : QStringLiteral("可选");
        result.triggers.push_back(std::move(r));
    }

    // The draw.
    bool only5000 = false;
    for (const TriggerResult& r : result.triggers)
        if (r.gate == Gate::None && r.weight == 5000)
            only5000 = true;
    double sum = 0;
    const auto shares = [only5000](const TriggerResult& r) {
        return r.gate == Gate::None && r.weight >= 1 && (!only5000 || r.weight == 5000);
    };
    for (const TriggerResult& r : result.triggers)
        if (r.gate == Gate::None && r.weight >= 1)
            ++result.pickable;
    for (const TriggerResult& r : result.triggers)
        if (shares(r))
            sum += static_cast<double>(r.weight);
    for (TriggerResult& r : result.triggers)
        if (shares(r))
            r.chance = static_cast<double>(r.weight) / sum;

    QStringList summary{QStringLiteral("%1 个触发可选").arg(result.pickable)};
    if (total >= cap)
        summary << QStringLiteral("电脑的小队已达上限（%1/%2）").arg(total).arg(cap);
    else if (skipFromCap)
        summary << QStringLiteral("小队已达上限，本轮先解散一个防守小队");
    if (noEnemy)
        summary << QStringLiteral("尚未选定敌人，只选防守触发");
    else if (restricted)
        summary
            << QStringLiteral("防守小队不足（%1/%2），只选防守触发").arg(defence).arg(minDefence);
    if (only5000)
        summary << QStringLiteral("只在分量为 5000 的触发中抽选");
    if (result.shortLines > 0)
        summary << QStringLiteral("%1 行触发不足 18 个字段，未推演").arg(result.shortLines);
    result.summary = summary.join(QStringLiteral("；"));
    return result;
}

std::vector<Undefended> Forecaster::undefended() const {
    const Data& d = *d_;
    std::vector<Undefended> out;
    if (!d.useMinDefence)
        return out;
    QStringList seen;
    for (const QString& country : d.world.countries) {
        const QString folded = foldName(country);
        Moment m;
        m.countryFolded = folded;
        m.side = sideOf(d.world, folded);
        if (m.side == 0 || seen.contains(folded))
            continue;
        seen << folded;
        for (int level = 0; level < 3; ++level) {
            if (d.minDefence[static_cast<size_t>(level)] < 1)
                continue;
            m.d = level;
            QString why;
            if (std::none_of(d.triggers.begin(), d.triggers.end(), [&](const Trigger& t) {
                    return !t.tooShort && t.defensive &&
                           setupGate(t, m, d.countries, why) == Gate::None;
                }))
                out.push_back({country, level + 1});
        }
    }
    return out;
}

QJsonObject toJson(const Result& result) {
    QJsonArray triggers;
    for (const TriggerResult& r : result.triggers) {
        QJsonObject o;
        o.insert(QLatin1String("id"), r.id);
        o.insert(QLatin1String("name"), r.name);
        o.insert(QLatin1String("gate"), r.gate == Gate::None ? QJsonValue(QJsonValue::Null)
                                                             : QJsonValue(gateName(r.gate)));
        o.insert(QLatin1String("reason"), r.reason);
        o.insert(QLatin1String("weight"), static_cast<double>(r.weight));
        o.insert(QLatin1String("chance"), r.chance);
        o.insert(QLatin1String("afterSuccess"), r.afterSuccess);
        o.insert(QLatin1String("afterFailure"), r.afterFailure);
        o.insert(QLatin1String("team1"), r.team1);
        o.insert(QLatin1String("team2"),
                 r.team2.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(r.team2));
        triggers.append(o);
    }
    return QJsonObject{{QLatin1String("triggers"), triggers}};
}

} // namespace tarvok::forecast
