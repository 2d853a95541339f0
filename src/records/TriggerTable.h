#pragma once

#include "document/RulesDocument.h"
#include "document/RulesIndex.h"
#include "records/RecordOps.h"

#include <QHash>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

// Every trigger of the open file in one table, for balancing: what each column shows, how
// rows sort and filter, the edits of the three weights and three difficulty ticks, and
// the one write that saves them. The window shows and collects; the rules are here.
//
// Each row names its file: the column 文件 shows it when the editor reads several files
// (an AI file and the files it includes).
namespace tarvok::triggertable {

enum Column : int {
    Id,
    Name,
    Country,
    Side,
    Condition,
    Base,
    Min,
    Max,
    Easy,
    Medium,
    Hard,
    Team1,
    Team2,
    File,
    ColumnCount
};

QString header(int column);
bool isWeight(int column);
bool isTick(int column);
inline bool isEditable(int column) {
    return isWeight(column) || isTick(column);
}

// The six fields the table edits, in column order from Base.
inline constexpr int kEditable = 6;
inline int editSlot(int column) {
    return column - Base;
}

// A value typed for a weight: a whole number as the weight boxes take it, or a factor of
// the current value ("×1.5", "x1.5", "*1.5"), rounded half up and at least 0. Nothing when
// the text is neither, or the result is past what a weight box takes.
std::optional<QString> weightValue(const QString& current, const QString& typed);
// A value typed for a tick: "1"/"0", "是"/"否", "√"/"×" in any width. Nothing otherwise.
std::optional<bool> tickValue(const QString& typed);

// One field the table changed: its value when the edit was made, and the value now.
struct FieldEdit {
    QString before, now;
};

struct Row {
    QString file; // the file the trigger is read from
    QString key;  // "ID=name" as the trigger list shows it
    QString id, name;
    records::TriggerFields fields; // as read from the file
    QString side, team1, team2;
    std::array<std::optional<FieldEdit>, kEditable> edits;
    QString search; // what the filter looks in, as fieldrules::searchKey makes it
    bool isEdited() const;
};

// What a unit ID is called where the user sees it.
using UnitName = std::function<QString(const QString& unitId)>;

// One field of a save where the file had changed it too: the table's value was written.
struct Overwritten {
    QString id;
    QString field; // the column's header
    QString value;
};

// What a save of the table did.
struct TableSave {
    int written = 0;     // triggers whose line changed
    QStringList missing; // edited triggers the file no longer holds
    QStringList refused; // edited triggers whose line a save could not build
    std::vector<Overwritten> overwritten;
    filestore::WriteResult write;
};

class Table {
  public:
    // Reads every trigger of the reading. The edits of triggers still there stay (over the
    // new values); the number of edited triggers that are gone is returned.
    int read(const RulesIndex& index, const UnitName& unitName, const QString& file = {});

    const std::vector<Row>& rows() const { return rows_; }
    int size() const { return static_cast<int>(rows_.size()); }
    // What a cell shows: a tick as "1" or "0"; a weight with its edit.
    QString text(int row, int column) const;
    bool isEdited(int row, int column) const;
    int editedRows() const;

    // Sets a weight (as weightValue reads typed) or a tick of a row; false when refused.
    bool set(int row, int column, const QString& typed);
    // What set would make the cell hold; nothing when it would refuse.
    std::optional<QString> valueFor(int row, int column, const QString& typed) const;
    void revert();

    // The rows in the order of column: numbers as numbers, texts with their digit runs
    // as numbers; equal rows keep file order.
    std::vector<int> order(int column, bool ascending) const;
    // Whether the row's ID, name, country, side, or a team's ID or name holds the text
    // (already made a fieldrules::searchKey).
    bool matches(int row, const QString& key) const { return rows_[row].search.contains(key); }

    // Writes every edited trigger in one write: only its edited fields, the way a trigger
    // save does; the table's value wins over another change of the same field since.
    // The edits written are dropped; those of a trigger whose line could not be built stay.
    TableSave save(RulesDocument& doc);

    // After a read that followed another write (a panel's save): the fields this table
    // saved last that the file now holds otherwise; the later save won. Each is told once.
    std::vector<Overwritten> takeLaterSaves();
    // Forgets what this table saved (another file, an undo, another program's change).
    void forgetSaves() { saved_.clear(); }

  private:
    std::vector<Row> rows_;
    // The values this table wrote, by trigger key, for takeLaterSaves.
    QHash<QString, std::array<std::optional<QString>, kEditable>> saved_;
    UnitName unitName_;
    mutable QHash<QString, QString> unitNames_; // what unitName_ said of each unit
};

// Texts compared with their runs of digits as numbers ("T2" before "T10").
int naturalCompare(QStringView a, QStringView b);

} // namespace tarvok::triggertable
