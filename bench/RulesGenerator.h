#pragma once

#include <QByteArray>
#include <QString>

namespace tarvok::bench {

// What a generated rules file holds, so that benchmarks can pick records from it.
struct GeneratedRules {
    QByteArray content;
    int triggers = 0;
    int teamTypes = 0;
    int taskForces = 0;
    int scripts = 0;
    // IDs of records in the middle of the file.
    QString middleTriggerKey;
    QString middleTeamType;
    QString middleTaskForce;
    QString middleScript;
};

// A realistic rules file of about targetBytes: registries at the top, triggers that name
// team types, 31-key team sections, task forces and scripts with GBK names, comments and
// blank lines, as shipped and modded files have them. Deterministic for a given size.
GeneratedRules generateRules(qsizetype targetBytes);

// A large mod: a game rules file of about kModRulesBytes (countries and sides, thousands of
// types, each with its in-game name's label, tech level and owners, among them the units
// generateRules uses) and string tables of about kModTableBytes naming them, written into
// folder as rulesmd.ini, stringtable01.csf and zz_mod.csf. Returns the tables' size.
constexpr qsizetype kModRulesBytes = 1700 * 1024;
constexpr qsizetype kModTableBytes = 512 * 1024;
qsizetype writeMod(const QString& folder);

} // namespace tarvok::bench
