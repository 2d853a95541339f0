#include "records/References.h"

#include "document/Lines.h"
#include "document/RulesIndex.h"
#include "records/TriggerLine.h"

#include <algorithm>

namespace tarvok::references {
namespace {

// Field n of a comma-separated value (the value's first field is 0), trimmed.
QByteArrayView field(QByteArrayView value, int n) {
    for (int i = 0; i < n; ++i) {
        const qsizetype comma = value.indexOf(',');
        if (comma < 0)
            return {};
        value = value.sliced(comma + 1);
    }
    const qsizetype comma = value.indexOf(',');
    return lines::trimBlanks(comma < 0 ? value : value.first(comma));
}

} // namespace

RecordReferences::RecordReferences(const RulesIndex& index) : index_(index) {
    const IniText& text = index.text();
    // The task force and script of every section that names one (later lines win), then
    // those of the listed team types.
    ByName<Team> named;
    bool map = false;
    for (const IniText::Section& s : text.sections()) {
        map = map || s.name == "Map" || s.name == "Basic";
        const bool triggers = s.name == "AITriggerTypes";
        Team team{s.name, {}, {}};
        for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i) {
            if (text.kind(i) != IniText::Kind::Key)
                continue;
            if (triggers) {
                const QByteArrayView value = text.value(i);
                triggers_.push_back({text.key(i), {}, field(value, 1), field(value, 14)});
            } else if (text.key(i) == "TaskForce") {
                team.taskForce = text.value(i);
            } else if (text.key(i) == "Script") {
                team.script = text.value(i);
            }
        }
        if (!team.taskForce.isEmpty() || !team.script.isEmpty()) {
            Team& t = named[stdView(s.name)];
            t.id = s.name;
            if (!team.taskForce.isEmpty())
                t.taskForce = team.taskForce;
            if (!team.script.isEmpty())
                t.script = team.script;
        }
    }
    const std::vector<QByteArrayView>& entries = index.scan().triggerKeys;
    for (size_t i = 0; i < triggers_.size() && i < entries.size(); ++i)
        triggers_[i].entry = entries[i];
    for (QByteArrayView id : index.scan().teamTypes) {
        const auto it = named.find(stdView(id));
        teams_.push_back(it == named.end() ? Team{id, {}, {}} : it->second);
    }
    if (map)
        readMapUses();
    buildLookUps();
}

void RecordReferences::buildLookUps() {
    triggersByKey_.build(triggers_.size(), [this](size_t i) { return triggers_[i].key; });
    triggersByTeam_.build(2 * triggers_.size(), [this](size_t slot) {
        const Trigger& t = triggers_[slot / 2];
        return slot % 2 ? t.team2 : t.team1;
    });
    teamsById_.build(teams_.size(), [this](size_t i) { return teams_[i].id; });
    teamsByTaskForce_.build(teams_.size(), [this](size_t i) { return teams_[i].taskForce; });
    teamsByScript_.build(teams_.size(), [this](size_t i) { return teams_[i].script; });
    const RulesScan& scan = index_.scan();
    const std::vector<QByteArrayView>* lists[] = {&scan.teamTypes, &scan.taskForces,
                                                  &scan.scriptTypes};
    for (size_t k = 0; k < 3; ++k)
        listed_[k].build(lists[k]->size(), [list = lists[k]](size_t i) { return (*list)[i]; });
}

void RecordReferences::readMapUses() {
    const IniText& text = index_.text();
    const RulesScan& scan = index_.scan();
    ByName<bool> notOwn; // the registries, the triggers and the records' own sections
    for (const char* section : {"AITriggerTypes", "TeamTypes", "TaskForces", "ScriptTypes"})
        notOwn.emplace(section, true);
    for (const auto* list : {&scan.teamTypes, &scan.taskForces, &scan.scriptTypes})
        for (QByteArrayView id : *list) {
            notOwn.emplace(stdView(id), true);
            mapUses_.try_emplace(stdView(id));
        }
    for (const IniText::Section& s : text.sections()) {
        if (notOwn.count(stdView(s.name)))
            continue;
        for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i) {
            if (text.kind(i) != IniText::Kind::Key)
                continue;
            QByteArrayView rest = text.value(i);
            for (bool more = true; more;) {
                const qsizetype comma = rest.indexOf(',');
                more = comma >= 0;
                const auto it =
                    mapUses_.find(stdView(lines::trimBlanks(more ? rest.first(comma) : rest)));
                if (more)
                    rest = rest.sliced(comma + 1);
                if (it != mapUses_.end() && (it->second.empty() || it->second.back().line != i))
                    it->second.push_back({s.name, i});
            }
        }
    }
}

std::vector<MapUse> RecordReferences::mapUses(QByteArrayView id) const {
    std::vector<MapUse> out;
    const auto it = mapUses_.find(stdView(id));
    if (it == mapUses_.end())
        return out;
    const IniText& text = index_.text();
    for (const Use& use : it->second)
        out.push_back({use.section.toByteArray(), text.key(use.line).toByteArray(), use.line});
    return out;
}

bool RecordReferences::listed(Kind kind, QByteArrayView id) const {
    const size_t k = kind == Kind::TeamType ? 0 : kind == Kind::TaskForce ? 1 : 2;
    return listed_[k].contains(id);
}

Reference RecordReferences::named(Kind kind, QByteArrayView id) const {
    return {id.toByteArray(), id.toByteArray(), kind, !listed(kind, id), true};
}

std::vector<Reference> RecordReferences::of(Kind kind, QByteArrayView id) const {
    std::vector<Reference> out;
    const auto add = [&out](Reference r) {
        if (std::find(out.begin(), out.end(), r) == out.end())
            out.push_back(std::move(r));
    };
    if (id.isEmpty())
        return out;
    switch (kind) {
    case Kind::Trigger:
        triggersByKey_.forEach(id, [&](size_t i) {
            for (QByteArrayView team : {triggers_[i].team1, triggers_[i].team2})
                if (trigger::namesTeam(team))
                    add(named(Kind::TeamType, team));
        });
        break;
    case Kind::TeamType:
        teamsById_.forEach(id, [&](size_t i) {
            if (!teams_[i].taskForce.isEmpty())
                add(named(Kind::TaskForce, teams_[i].taskForce));
            if (!teams_[i].script.isEmpty())
                add(named(Kind::Script, teams_[i].script));
        });
        triggersByTeam_.forEach(id, [&](size_t slot) {
            const Trigger& t = triggers_[slot / 2];
            add({t.key.toByteArray(), t.entry.toByteArray(), Kind::Trigger});
        });
        break;
    case Kind::TaskForce:
    case Kind::Script:
        (kind == Kind::TaskForce ? teamsByTaskForce_ : teamsByScript_).forEach(id, [&](size_t i) {
            add({teams_[i].id.toByteArray(), teams_[i].id.toByteArray(), Kind::TeamType});
        });
        break;
    }
    return out;
}

int RecordReferences::users(Kind kind, QByteArrayView id) const {
    const std::vector<Reference> refs = of(kind, id);
    const auto inMap = kind == Kind::Trigger ? mapUses_.end() : mapUses_.find(stdView(id));
    return static_cast<int>(
        std::count_if(refs.begin(), refs.end(), [](const Reference& r) { return !r.own; }) +
        (inMap == mapUses_.end() ? 0 : inMap->second.size()));
}

} // namespace tarvok::references
