#pragma once

#include "catalogues/ModWorld.h"
#include "catalogues/ProgramFiles.h"
#include "catalogues/UnitChoices.h"
#include "records/FileCheck.h"
#include "records/UnitUses.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tarvok {

class RulesIndex;

// The look-ups the panels make in the editor's own data files: the unit name table
// NameTable.WQ, the action catalogue Scr.WQ and the building tables ID.WQ and ID2.WQ. Each
// look reads its file anew, so that a user's edit of a data file counts at once; a file
// that is missing gives nothing (the caller says so), a value the file lacks an empty text.
//
// When the open file's mod has a game rules file in use, its units, buildings and their
// display names come first: a unit the mod names is called as its players see it, and a
// building parameter counts in the mod's building list.
class Catalogues {
  public:
    explicit Catalogues(ProgramFiles files);

    const ProgramFiles& files() const { return files_; }
    std::optional<QStringList> lines(const QString& name) const { return files_.lines(name); }

    // The mod of the file read as index, found by choice; true when its answers changed.
    bool updateMod(const QString& aiPath, const RulesIndex& index, const ModWorld::Choice& choice);
    const ModWorld& mod() const { return mod_; }

    // Every problem of the file read as index (filecheck::checkRules), compared with the
    // mod in use, else with the unit name table: what the check window lists and the
    // command line prints. Each of unreadIncludes (why a file the rules file includes was not
    // read) comes first, as a hint.
    std::vector<filecheck::Problem> checkFile(const RulesIndex& index,
                                              const QStringList& unreadIncludes = {}) const;

    std::optional<QString> unitName(const QString& unitId) const;
    std::optional<QString> unitId(const QString& displayName) const;
    // The building a building action's parameter names: from the mod's building list by
    // the parameter's low bits, else the shipped table ID.WQ.
    std::optional<QString> buildingName(const QString& parameter) const;
    // The parameter naming buildingId: its place in the mod's list with the high bits of
    // oldParameter, else the shipped table ID2.WQ; empty for a building not listed.
    std::optional<QString> buildingParameter(const QString& buildingId,
                                             const QString& oldParameter) const;
    // The building choices of a building action.
    std::optional<QStringList> buildingNames() const;
    // The choices of an action's block in Scr.WQ; an empty optional inside when the file
    // has no block for the action.
    std::optional<std::optional<QStringList>> actionChoices(const QString& actionName) const;

    // Unit IDs and their display names, two parallel lists: a task force's units, and the
    // units and buildings a trigger's condition may count. Nothing without the mod and the
    // shipped table.
    struct Choices {
        QStringList ids, names;
        QStringList namedIds; // the ID of each name (the shipped table names some IDs only)
        // The name box's entries: each name with its own type's ID.
        UnitChoices nameEntries() const { return UnitChoices(namedIds, names); }
    };
    std::optional<Choices> unitChoices(bool withBuildings) const;
    // The buildings a building action's parameter counts in, in that list's order.
    std::optional<Choices> buildingChoices() const;
    // The display name of a unit for a list's column: the mod's, else the shipped table's
    // as last read by unitChoices.
    QString displayName(const QString& unitId) const;
    // The units and buildings uses names, as the lists' filters find them: each unit under
    // its display name, each building parameter as the building it counts to.
    void nameUses(unituses::UnitUses& uses) const;

  private:
    // The building of the mod's list that a building action's parameter names; empty for
    // none.
    QString modBuilding(const QString& parameter) const;

    ProgramFiles files_;
    ModWorld mod_;
    mutable QHash<QString, QString> shippedNames_;
};

} // namespace tarvok
