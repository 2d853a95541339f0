#pragma once

#include "document/IniText.h"
#include "document/TextEncoding.h"
#include "records/BuildRule.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The whole-file check: what in a rules file, read as the game reads it (IniText), breaks
// it for the game or for the editor (errors), and what may be a slip but may as well be
// meant (hints). It reads and changes nothing else.
namespace tarvok::filecheck {

enum class Level { Error, Hint };

// The list a problem's record stands in, so that the window can show it.
enum class RecordKind { None, Trigger, TeamType, TaskForce, Script };

struct Problem {
    Level level = Level::Error;
    QString kind; // a short type text, e.g. "引用缺失"
    RecordKind recordKind = RecordKind::None;
    QString record;     // the record's ID (a trigger's ID without its name); may be empty
    qsizetype line = 0; // from 1, in its file
    QString text;
    QString file; // the included file that holds the line; empty for the file opened
    bool operator==(const Problem&) const = default;
};

// "错误" or "提示".
QString levelText(Level level);

// The types the game's rules file in use defines (its unit and building lists), how many
// buildings it lists, and its countries, sides and who may build each type.
struct ModTypes {
    QSet<QString> ids;
    qsizetype buildingCount = 0;
    const buildrule::World* world = nullptr; // outlives the check
};

// What the check compares the file with: the unit IDs of the unit name table (no unit is
// looked at when it is empty), and the mod's types when a rules file is in use. Script
// actions are compared with the editor's own list.
struct CheckCatalogues {
    QStringList unitIds;
    std::optional<ModTypes> mod = std::nullopt;
};

// Every problem of the file, sorted by line (problems of one line in the order found).
// Errors:
//   - a registry entry without ID, or without a section [ID];
//   - a trigger's first or second team, a team type's TaskForce or Script, that names no
//     entry of its registry (empty values and "<none>" name nothing);
//   - an ID listed twice in the registries, or a trigger ID twice in [AITriggerTypes];
//   - a registered ID whose section stands in the file more than once;
//   - a number used twice in one registry;
//   - a trigger line without 18 fields, or whose condition block is not 64 hexadecimal
//     characters;
//   - a task force or script whose rows a save would refuse (see
//     fieldrules::rowNumberingFits), or whose section holds keys other than Name, row
//     numbers (and Group): the editor cannot read it (the game needs no Name);
//   - with the mod's types: a task force's unit or a trigger's condition unit the mod
//     does not define (noting one that differs only in letter case), a building parameter
//     of actions 46, 47, 56 and 58 past the mod's building list, and, when the mod lists
//     countries, a trigger's country that is neither "<all>" nor one of them.
// Hints:
//   - a trigger's team field left empty, where the game's files write "<none>";
// and one per distinct value with its count of uses:
//   - without the mod's types, a task force's unit not in the unit name table (noting one
//     that differs only in letter case);
//   - a script action the editor does not know;
//   - a section that looks like a team type, task force or script but is in no registry;
//   - a trigger enabled on none of the three difficulties, or whose minimum weight is above
//     its maximum;
//   - when the mod lists countries: a trigger's side outside 0 to the number of its sides,
//     and each unit its teams' task forces hold that none of the trigger's countries can
//     build (see unbuildableUnits).
std::vector<Problem> checkRules(const IniText& text, const TextCodec& codec,
                                const CheckCatalogues& catalogues);

// The hints of the build rule alone, in the order of the trigger lines: for each trigger
// whose country is known, each of its teams (a team named twice counts once), that team
// type's task force and each distinct unit of its rows that the mod defines, one hint when
// none of the trigger's countries (buildrule::countriesOf) can build the unit, with the
// reason the first country cannot. Nothing without the mod's countries.
std::vector<Problem> unbuildableUnits(const IniText& text, const TextCodec& codec,
                                      const ModTypes& mod);

} // namespace tarvok::filecheck
