#pragma once

#include "records/References.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tarvok {

class RulesIndex;

// Which units and buildings the records of a reading use, for the lists' filters: a task
// force the units of its rows, a team type those of its task force, a trigger those of
// its two teams and its condition unit, a script the buildings its building actions
// (46, 47, 56, 58) name. Read once per reading of the file, which must outlive it (the
// reading may be on another thread; texts are decoded on the thread that asks for them);
// each filter text then costs one look at every unit and building named, and one at every
// record.
namespace unituses {

using Kind = references::Kind;

// A unit or building as the user knows it: its type ID and its in-game name (empty when
// it has none).
struct Unit {
    QString id;
    QString name;
};

class UnitUses {
  public:
    explicit UnitUses(const RulesIndex& index);

    // Every unit ID the task forces and trigger conditions name, once each, as written.
    const QStringList& unitIds() const;
    // Every parameter of a building action, once each, as written.
    const QStringList& buildingParameters() const;

    // What the names above stand for: the in-game name of each unit ID, and the building
    // each parameter names. Until named, the filter finds nothing.
    void name(const QStringList& unitNames, const std::vector<Unit>& buildings);

    // For each entry of kind's list in the reading's order (the registry's, for triggers
    // the keys of [AITriggerTypes]), whether its record uses a unit or building that the
    // filter text finds: one whose ID is the text, or whose name contains it, both without
    // regard to letter case or full-width forms. All false for an empty text.
    std::vector<bool> usersOf(Kind kind, const QString& text) const;

  private:
    struct Known {
        QString id;   // folded
        QString name; // folded; empty: none
    };
    // Which of known the folded text finds.
    static std::vector<bool> found(const std::vector<Known>& known, const QString& key);
    static bool anyOf(const std::vector<quint32>& ordinals, const std::vector<bool>& hits);

    const RulesIndex& index_;
    std::vector<QByteArrayView> unitBytes_, parameterBytes_;
    mutable std::optional<QStringList> unitIds_, buildingParameters_; // decoded when asked

    std::vector<Known> units_, buildings_;
    std::vector<std::vector<quint32>> taskForceUnits_; // ordinals of unitIds_
    std::vector<qint32> teamTaskForce_;                // -1: none listed
    struct Trigger {
        qint32 team1 = -1, team2 = -1, unit = -1; // team types; ordinal of unitIds_
    };
    std::vector<Trigger> triggers_;
    std::vector<std::vector<quint32>> scriptBuildings_; // ordinals of buildingParameters_
};

} // namespace unituses
} // namespace tarvok
