#pragma once

#include "document/RulesIndex.h"
#include "records/References.h"

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <span>
#include <vector>

// Two AI files compared as the game reads them, record by record and value by value:
// triggers matched by their ID, team types, task forces and scripts by their registry ID,
// each exactly as written. Comments, spacing, line ends, the order of sections and of
// registry lines, and which included file holds a record are never differences.
namespace tarvok::compare {

using Kind = references::Kind;

// A value of a record as one side reads it. A trigger's keys are "name" (field 0, the
// text after "ID=") and its field numbers "1", "2", ...; a section's keys are its keys as
// written, one per key in any letter case, the later line's value winning.
struct RawValue {
    QByteArrayView key; // empty for a trigger's fields: their key is their place
    QByteArrayView value;
};

// One record of one side.
struct Record {
    Kind kind = Kind::Trigger;
    QByteArrayView id;
    qsizetype line = -1; // a trigger's line (the later one of an ID written twice)
    // A trigger's fields in order; a section's key lines of every section of its name
    // found without letter case, in file order, as written (not yet one per key).
    std::span<const RawValue> lines; // held by the Side
    bool hasSection = false;         // a team type, task force or script has a section
};

// The records of one reading, by kind, in file order: a trigger ID on several lines once,
// at its first line's place with its last line's fields; an ID registered twice once.
class Side {
  public:
    explicit Side(const RulesIndex& index);
    Side(const Side&) = delete;
    Side& operator=(const Side&) = delete;
    const RulesIndex& index() const { return index_; }
    const std::vector<Record>& records(Kind kind) const { return records_[int(kind)]; }
    // The record of that kind and ID, exactly as written; null when the side has none.
    const Record* find(Kind kind, QByteArrayView id) const;
    // A section record's values, one per key (keys without letter case, the later line
    // winning), in the order the keys first appear.
    static std::vector<RawValue> values(const Record& record);
    // A record's name: a trigger's field 0, a section's Name value.
    static QByteArrayView name(const Record& record);

  private:
    const RulesIndex& index_;
    std::vector<Record> records_[4];
    std::vector<RawValue> values_; // every record's lines, one after another
    ByName<size_t> byId_[4];
};

enum class Change { Added, Removed, Changed, Same };

// One differing value of a changed record. Nothing on a side that lacks the key.
struct Value {
    QString key;
    std::optional<QString> old, now;
};

struct Difference {
    Kind kind = Kind::Trigger;
    QString id;
    QString name; // the newer side's, else the older side's
    Change change = Change::Same;
    std::vector<Value> values; // of a changed record, in file order
};

// The records of old and now, by kind (triggers, team types, task forces, scripts): within
// a kind those of now in its order, then those only old has. Unchanged records are listed
// only withSame.
std::vector<Difference> compare(const Side& old, const Side& now, bool withSame = false);

// The differing values of one record on two sides (old of oldSide, now of nowSide).
std::vector<Value> differences(const Side& oldSide, const Record& old, const Side& nowSide,
                               const Record& now);

// Two values are the same when their trimmed texts are, or when both read whole as decimal
// numbers of equal value (500 and 500.000000). caseless: letter case does not count.
bool sameValue(QStringView a, QStringView b, bool caseless = false);

// A version the history keeps of a content joined from several files leaves out the files
// its step did not replace: they are taken as current has them. Nothing when the version's
// files are not current's.
std::optional<QByteArray> versionWithFilesNow(const QByteArray& version, const QByteArray& current);

struct Counts {
    int added = 0, removed = 0, changed = 0;
    bool operator==(const Counts&) const = default;
};
Counts countsOf(const std::vector<Difference>& differences);

// What the user reads: a kind ("触发", "作战小队", "特遣小队", "脚本"), a change ("新增",
// "删除", "修改"), and a key under the panel's label for it, else the key itself.
QString kindText(Kind kind);
QString changeText(Change change);
QString label(Kind kind, const QString& key);
// "基础分量：500 → 250", a side that lacks the key as "（无）".
QString valueText(Kind kind, const Value& value);

} // namespace tarvok::compare
