#pragma once

#include "document/IniText.h"

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace tarvok {

class RulesIndex;

// Which records name which: a trigger its first and second team type, a team type its
// task force and script. Read once from a reading of the file; every question after
// that looks through the registries' records only.
//
// A map (a file with a [Map] or [Basic] section, which AI files never have) also names
// team types, task forces and scripts in its own sections (its triggers, actions and
// events): there any value, or comma-separated field of a value, that equals a
// registered ID is a use of it. Other files pay nothing for this.
namespace references {

enum class Kind { Trigger, TeamType, TaskForce, Script };

struct Reference {
    QByteArray id;    // the record's ID; for a trigger its key
    QByteArray entry; // how its registry list shows it: the ID, or a trigger's "ID=name"
    Kind kind;
    bool missing = false; // named, but listed in no registry of its kind
    bool own = false;     // named by the record asked about (not a record that names it)
    bool operator==(const Reference&) const = default;
};

// A use of a record in one of a map's own sections.
struct MapUse {
    QByteArray section;
    QByteArray key;
    qsizetype line = 0; // index in the reading's lines
    bool operator==(const MapUse&) const = default;
};

class RecordReferences {
  public:
    explicit RecordReferences(const RulesIndex& index);

    // For a trigger (by its key), its team types; for a team type, its own task force
    // and script, then the triggers that name it; for a task force or script, the team types
    // that name it. Each record once, in file order.
    std::vector<Reference> of(Kind kind, QByteArrayView id) const;
    // The uses of a registered team type, task force or script in a map's own sections
    // (other than the registries, [AITriggerTypes] and the records' sections), each line
    // once, in file order. None in a file that is not a map.
    std::vector<MapUse> mapUses(QByteArrayView id) const;
    // How many records, and lines of a map's own sections, name it: what a delete asks
    // about.
    int users(Kind kind, QByteArrayView id) const;

  private:
    struct Trigger {
        QByteArrayView key, entry, team1, team2;
    };
    struct Team {
        QByteArrayView id, taskForce, script;
    };
    bool listed(Kind kind, QByteArrayView id) const;
    Reference named(Kind kind, QByteArrayView id) const;

    void readMapUses();
    // Look-ups of the lists above, so that a question costs the same in any file.
    void buildLookUps();

    const RulesIndex& index_;
    std::vector<Trigger> triggers_;
    std::vector<Team> teams_;
    RowsByName triggersByKey_;
    RowsByName
        triggersByTeam_; // of the team slots: 2i the first team of trigger i, 2i+1 the second
    RowsByName teamsById_, teamsByTaskForce_, teamsByScript_;
    RowsByName listed_[3]; // the registries' entries: team types, task forces, scripts
    struct Use {
        QByteArrayView section;
        qsizetype line;
    };
    ByName<std::vector<Use>> mapUses_; // registered ID -> the map's lines that name it
};

} // namespace references
} // namespace tarvok
