#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace tarvok {

class RulesIndex;

// Which records name which: a trigger its first and second team type, a team type its
// task force and script. Read once from a reading of the file; every question after
// that looks through the registries' records only.
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

class RecordReferences {
  public:
    explicit RecordReferences(const RulesIndex& index);

    // For a trigger (by its key), its team types; for a team type, its own task force
    // and script, then the triggers that name it; for a task force or script, the team types
    // that name it. Each record once, in file order.
    std::vector<Reference> of(Kind kind, QByteArrayView id) const;
    // How many records name it: what a delete asks about.
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

    const RulesIndex& index_;
    std::vector<Trigger> triggers_;
    std::vector<Team> teams_;
};

} // namespace references
} // namespace tarvok
