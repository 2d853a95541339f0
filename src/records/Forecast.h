#pragma once

#include "document/FileStore.h"
#include "document/IniText.h"
#include "document/TextEncoding.h"
#include "records/BuildRule.h"

#include <QByteArrayView>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

// The forecast of the computer's next choice of team: for a described moment of a game (a
// State), which triggers of an AI file can be picked, the first gate that stops each other
// one, and the chance of each. The computer makes one pass every few seconds: each trigger
// goes through the gates below, then one of those that passed is drawn at random, in
// proportion to their weights.
namespace tarvok::forecast {

// ---- words of the rules files

// Names compared as the game compares them: only the letters A-Z fold.
bool sameName(QByteArrayView a, QByteArrayView b);
QString foldName(const QString& name);
// A number: the trimmed text read whole, as an integer with an optional sign or as a decimal
// number (optional sign, digits, at most one point, optional exponent) cut toward zero.
// Nothing for any other text.
std::optional<long long> number(QStringView text);
// The same, not cut.
std::optional<double> decimal(QStringView text);
// A yes: a value whose first character is y, t or 1, in any letter case.
bool yes(QStringView value);

// The amount and comparison of a trigger's condition block: its digits 1-8 and 9-16, each a
// signed 32-bit little-endian number in hexadecimal. Nothing when the block (trimmed) is not
// hexadecimal digits only, at least 16 of them.
struct Condition {
    qint32 amount = 0;
    qint32 op = 0;
};
std::optional<Condition> readBlock(QByteArrayView block);

// Why country cannot build a type by its rule (its TechLevel a number from 0 to techLevel,
// its Owner listing the country, its RequiredHouses, when they list any, listing it, its
// ForbiddenHouses not); empty when it can.
QString buildRefusal(const buildrule::TypeRule& rule, const QString& country, long long techLevel);

// ---- the moment of a game

enum class Power { Normal, Low, Out };

struct Enemy {
    QString country; // shown only
    long long credits = 0;
    Power power = Power::Normal;
    QMap<QString, long long> owns;
    bool operator==(const Enemy&) const = default;
};

struct State {
    QString country;
    int level = 1; // 1, 2 or 3
    bool skirmish = true;
    std::optional<long long> techLevel; // absent: the rules file's
    std::optional<Enemy> enemy;         // absent: no enemy chosen yet
    QMap<QString, long long> owns, neutral, teams;
    QList<long long> superWeaponsReady;
    QMap<QString, double> weights;
    bool operator==(const State&) const = default;
};

// A state read from JSON, or why it is refused (naming the key).
struct StateRead {
    std::optional<State> state;
    QString error;
};
StateRead readState(const QByteArray& json);
QByteArray writeState(const State& state);
// The state file at path, read as readState reads it; "无法读取状态文件 PATH" when it cannot
// be read.
StateRead loadState(const QString& path);
// Writes the state to path, replacing the file safely.
filestore::WriteResult saveState(const QString& path, const State& state);

// ---- the forecast

enum class Gate {
    None,
    Pass,
    Team1,
    Defence,
    Skirmish,
    Difficulty,
    House,
    Side,
    Tech,
    Condition,
    Build,
    Max,
};
inline constexpr int kGateCount = 12;
// "pass", "team1", ... as the JSON output names them; empty for None.
QString gateName(Gate gate);

struct TriggerResult {
    QString id, name;
    qsizetype line = 0; // of its key in the AI file, from 0
    Gate gate = Gate::None;
    QString reason;       // "可选", or why the gate stopped it
    long long weight = 0; // the current weight, rounded down
    double chance = 0;    // from 0 to 1
    double afterSuccess = 0, afterFailure = 0;
    QString team1, team2; // team2 empty for an empty slot
};

struct Result {
    std::vector<TriggerResult> triggers; // in file order
    int shortLines = 0;                  // trigger lines with fewer than 18 fields
    int pickable = 0;
    QString summary; // "N 个触发可选" and the state of the pass
};

// A country that stands in a [Sides] list but has no defensive trigger that may be used on
// a level (see Forecaster::undefended).
struct Undefended {
    QString country;
    int level = 1;
};

// An AI file read for forecasts against one mod's rules. Reading the file is done once;
// each forecast then costs a pass over the triggers.
class Forecaster {
  public:
    // world must outlive the forecaster, as must text's content.
    Forecaster(const IniText& text, const TextCodec& codec, const buildrule::World& world);
    ~Forecaster();
    Forecaster(const Forecaster&) = delete;
    Forecaster& operator=(const Forecaster&) = delete;

    Result run(const State& state) const;
    // The team types of [TeamTypes], in file order, each once.
    QStringList teamTypes() const;

    // For each country of [Countries] that a [Sides] list holds and each level on which
    // UseMinDefenseRule is yes and MinimumAIDefensiveTeams is 1 or more: the pairs for
    // which no defensive trigger passes the skirmish, difficulty, house and side gates in
    // a skirmish.
    std::vector<Undefended> undefended() const;

  private:
    struct Data;
    std::unique_ptr<Data> d_;
};

// The forecast as the command line's JSON: {"triggers": [...]}.
QJsonObject toJson(const Result& result);

} // namespace tarvok::forecast
