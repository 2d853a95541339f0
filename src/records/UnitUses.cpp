#include "records/UnitUses.h"

#include "document/Lines.h"
#include "document/RulesIndex.h"
#include "records/FieldRules.h"
#include "records/TriggerLine.h"

#include <algorithm>

namespace tarvok::unituses {
namespace {

// Fields first and second of a comma-separated value, trimmed.
std::pair<QByteArrayView, QByteArrayView> firstFields(QByteArrayView value) {
    const qsizetype comma = value.indexOf(',');
    if (comma < 0)
        return {lines::trimBlanks(value), {}};
    QByteArrayView rest = value.sliced(comma + 1);
    const qsizetype next = rest.indexOf(',');
    return {lines::trimBlanks(value.first(comma)),
            lines::trimBlanks(next < 0 ? rest : rest.first(next))};
}

bool isRowKey(QByteArrayView key) {
    return !key.isEmpty() &&
           std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isBuildingAction(QByteArrayView action) {
    return action == "46" || action == "47" || action == "56" || action == "58";
}

// Names, each given one ordinal in the order first met.
class Ordinals {
  public:
    quint32 of(QByteArrayView name) {
        const auto [it, added] = byName_.try_emplace(stdView(name), names_.size());
        if (added)
            names_.push_back(name);
        return static_cast<quint32>(it->second);
    }
    const std::vector<QByteArrayView>& names() const { return names_; }

  private:
    ByName<size_t> byName_;
    std::vector<QByteArrayView> names_;
};

bool absent(QByteArrayView team) {
    return team.isEmpty() || team == "<none>";
}

} // namespace

UnitUses::UnitUses(const RulesIndex& index) : index_(index) {
    const RulesScan& scan = index.scan();
    ByName<qint32> taskForces, teams, scripts;
    for (size_t i = scan.taskForces.size(); i-- > 0;) // the first entry of an ID counts
        taskForces[stdView(scan.taskForces[i])] = static_cast<qint32>(i);
    for (size_t i = scan.teamTypes.size(); i-- > 0;)
        teams[stdView(scan.teamTypes[i])] = static_cast<qint32>(i);
    for (size_t i = scan.scriptTypes.size(); i-- > 0;)
        scripts[stdView(scan.scriptTypes[i])] = static_cast<qint32>(i);
    taskForceUnits_.resize(scan.taskForces.size());
    scriptBuildings_.resize(scan.scriptTypes.size());
    std::vector<QByteArrayView> teamTaskForces(scan.teamTypes.size());
    struct TriggerNames {
        QByteArrayView team1, team2, unit;
    };
    std::vector<TriggerNames> triggerNames;
    Ordinals units, buildings;

    // One pass over the file, as the game reads it: a second section of a name adds its
    // rows, and a team type's later TaskForce line wins.
    const IniText& text = index.text();
    for (const IniText::Section& s : text.sections()) {
        const bool triggers = s.name == "AITriggerTypes";
        const auto taskForce = taskForces.find(stdView(s.name));
        const auto team = teams.find(stdView(s.name));
        const auto script = scripts.find(stdView(s.name));
        if (!triggers && taskForce == taskForces.end() && team == teams.end() &&
            script == scripts.end())
            continue;
        for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i) {
            if (text.kind(i) != IniText::Kind::Key)
                continue;
            const QByteArrayView key = text.key(i);
            const QByteArrayView value = text.value(i);
            if (triggers) {
                const std::vector<QByteArrayView> f = trigger::splitFields(value);
                auto at = [&f](size_t n) {
                    return n < f.size() ? lines::trimBlanks(f[n]) : QByteArrayView();
                };
                triggerNames.push_back({at(1), at(14), at(5)});
                continue;
            }
            if (team != teams.end() && key == "TaskForce")
                teamTaskForces[static_cast<size_t>(team->second)] = lines::trimBlanks(value);
            if (!isRowKey(key))
                continue;
            const auto [first, second] = firstFields(value);
            if (taskForce != taskForces.end() && !second.isEmpty())
                taskForceUnits_[static_cast<size_t>(taskForce->second)].push_back(units.of(second));
            if (script != scripts.end() && isBuildingAction(first) && !second.isEmpty())
                scriptBuildings_[static_cast<size_t>(script->second)].push_back(
                    buildings.of(second));
        }
    }

    teamTaskForce_.reserve(teamTaskForces.size());
    for (QByteArrayView id : teamTaskForces) {
        const auto it = id.isEmpty() ? taskForces.end() : taskForces.find(stdView(id));
        teamTaskForce_.push_back(it == taskForces.end() ? -1 : it->second);
    }
    auto teamOf = [&teams](QByteArrayView id) {
        const auto it = absent(id) ? teams.end() : teams.find(stdView(id));
        return it == teams.end() ? -1 : it->second;
    };
    triggers_.reserve(triggerNames.size());
    for (const TriggerNames& t : triggerNames)
        triggers_.push_back({teamOf(t.team1), teamOf(t.team2),
                             absent(t.unit) ? -1 : static_cast<qint32>(units.of(t.unit))});

    unitBytes_ = units.names();
    parameterBytes_ = buildings.names();
    units_.assign(unitBytes_.size(), {});
    buildings_.assign(parameterBytes_.size(), {});
}

const QStringList& UnitUses::unitIds() const {
    if (!unitIds_)
        unitIds_ = index_.codec().decodeAll(unitBytes_);
    return *unitIds_;
}

const QStringList& UnitUses::buildingParameters() const {
    if (!buildingParameters_)
        buildingParameters_ = index_.codec().decodeAll(parameterBytes_);
    return *buildingParameters_;
}

void UnitUses::name(const QStringList& unitNames, const std::vector<Unit>& buildings) {
    const QStringList& ids = unitIds();
    units_.clear();
    units_.reserve(static_cast<size_t>(ids.size()));
    for (qsizetype i = 0; i < ids.size(); ++i)
        units_.push_back({fieldrules::searchKey(ids[i]),
                          i < unitNames.size() ? fieldrules::searchKey(unitNames[i]) : QString()});
    buildings_.clear();
    buildings_.reserve(parameterBytes_.size());
    for (size_t i = 0; i < parameterBytes_.size(); ++i) {
        if (i < buildings.size() && !buildings[i].id.isEmpty())
            buildings_.push_back(
                {fieldrules::searchKey(buildings[i].id), fieldrules::searchKey(buildings[i].name)});
        else
            buildings_.push_back({}); // names nothing the filter can find
    }
}

std::vector<bool> UnitUses::found(const std::vector<Known>& known, const QString& key) {
    std::vector<bool> hits(known.size());
    for (size_t i = 0; i < known.size(); ++i)
        hits[i] = !known[i].id.isEmpty() && (known[i].id == key || known[i].name.contains(key));
    return hits;
}

bool UnitUses::anyOf(const std::vector<quint32>& ordinals, const std::vector<bool>& hits) {
    return std::any_of(ordinals.begin(), ordinals.end(), [&hits](quint32 o) { return hits[o]; });
}

std::vector<bool> UnitUses::usersOf(Kind kind, const QString& text) const {
    const QString key = fieldrules::searchKey(text);
    if (key.isEmpty()) {
        const size_t sizes[] = {triggers_.size(), teamTaskForce_.size(), taskForceUnits_.size(),
                                scriptBuildings_.size()};
        return std::vector<bool>(sizes[static_cast<size_t>(kind)]);
    }
    if (kind == Kind::Script) {
        const std::vector<bool> hits = found(buildings_, key);
        std::vector<bool> out(scriptBuildings_.size());
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = anyOf(scriptBuildings_[i], hits);
        return out;
    }
    const std::vector<bool> unitHits = found(units_, key);
    std::vector<bool> taskForces(taskForceUnits_.size());
    for (size_t i = 0; i < taskForces.size(); ++i)
        taskForces[i] = anyOf(taskForceUnits_[i], unitHits);
    if (kind == Kind::TaskForce)
        return taskForces;
    std::vector<bool> teams(teamTaskForce_.size());
    for (size_t i = 0; i < teams.size(); ++i)
        teams[i] = teamTaskForce_[i] >= 0 && taskForces[static_cast<size_t>(teamTaskForce_[i])];
    if (kind == Kind::TeamType)
        return teams;
    auto teamUses = [&teams](qint32 t) { return t >= 0 && teams[static_cast<size_t>(t)]; };
    std::vector<bool> out(triggers_.size());
    for (size_t i = 0; i < out.size(); ++i) {
        const Trigger& t = triggers_[i];
        out[i] = teamUses(t.team1) || teamUses(t.team2) ||
                 (t.unit >= 0 && unitHits[static_cast<size_t>(t.unit)]);
    }
    return out;
}

} // namespace tarvok::unituses
