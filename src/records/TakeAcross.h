#pragma once

#include "document/RulesDocument.h"
#include "document/RulesIndex.h"
#include "records/Compare.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

#include <vector>

// Records taken from another reading (another AI file, or a version the history keeps)
// into the open file, in one write: a changed record gets the other side's differing
// values, a record only the other side has is added (under a new ID in the file's style
// when its own is taken), and one only the open file has is deleted.
namespace tarvok::take {

using compare::Kind;

// A record of the comparison, by kind and ID as the tree shows it.
struct Pick {
    Kind kind = Kind::Trigger;
    QString id;
    bool operator==(const Pick&) const = default;
};

// What a take will bring, worked out from both readings before it is asked about.
struct Plan {
    std::vector<Pick> removals; // the picks only the open file has
    // The units, buildings and countries the records taken name (a trigger's country and
    // condition unit, a task force's units), each once, in order.
    QStringList types;
};
// withChain: the team types, task forces and scripts the taken records name, that the
// open file lacks and other has, come with them.
Plan plan(const RulesIndex& current, const RulesIndex& other, const std::vector<Pick>& picks,
          bool withChain);

struct Counts {
    int added = 0, changed = 0, removed = 0;
    bool operator==(const Counts&) const = default;
};

// The content of current with the picks taken from other; nothing when it writes nothing.
// counts says what it did; counters (team types, task forces, scripts) go up and down by
// the registry entries added and removed.
struct Result {
    std::optional<QByteArray> content;
    Counts counts;
    long long registryChange[3] = {0, 0, 0};
};
Result takeInto(const RulesIndex& current, const RulesIndex& other, const std::vector<Pick>& picks,
                bool withChain, const std::array<long long, 3>& counters);

// The same as one write of the open file, so one undo step; the registry counters follow.
struct Taken {
    Counts counts;
    filestore::WriteResult write;
    bool wrote = false; // false: nothing to write
};
Taken TakeAcross(RulesDocument& doc, const RulesIndex& other, const std::vector<Pick>& picks,
                 bool withChain);

// "已采用：新增 N 个，修改 M 个，删除 K 个"
QString takenText(const Counts& counts);

} // namespace tarvok::take
