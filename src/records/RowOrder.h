#pragma once

#include "records/ScriptSection.h"

#include <QStringView>

#include <optional>
#include <vector>

namespace tarvok {

// The rows of a task force or script after one of them moved.
struct MovedRows {
    std::vector<SectionRow> rows;
    qsizetype index = 0; // where the moved row now stands
};

// The row at index moved one place up (towards the first row) or down, and every row
// numbered 0, 1, 2 ... in its new order, so that the numbering check passes whatever the
// numbers were. Nothing when the row cannot move that way: the first row up, the last
// down, or an index outside the rows.
std::optional<MovedRows> moveRow(std::vector<SectionRow> rows, qsizetype index, bool up);

// ---- rows copied from one task force or script and pasted into another

// The rows as the clipboard takes them: one line each, its two values without its number
// ("3,E1", "46,14"), lines joined by "\n".
QString copiedRows(const std::vector<SectionRow>& rows);
// What the clipboard carries beside a copy's text, naming the kind of its rows, so that a
// paste knows them for what they are: "taskforce" or "script".
QString rowsKindName(SectionKind kind);

struct PastedRows {
    std::vector<SectionRow> rows; // the record's rows, then the pasted ones numbered on
    qsizetype added = 0;
    qsizetype badLine = 0;   // from 1: the first line that is no row of the kind; 0 for none
    QString badText;         // that line, as pasted
    bool unsaveable = false; // the rows would fail the save's numbering check
    bool otherKind = false;  // the copy names rows of the other kind: nothing is read
};

// Reads text as rows of the kind and puts them after rows, numbered on from the last row's
// number. Each line is a row's two values, "count,unit" for a task force (a count of
// decimal digits, a unit ID without blanks or any of , ; = [ ]) or "action,parameter" for
// a script (both decimal digits); blanks around the values and blank lines are passed
// over, and a leading "number=", as the file writes a row, is dropped. On a bad line or
// unsaveable rows, rows come back as they were. copiedKind is what the clipboard names
// beside the text (see rowsKindName): rows named of the other kind are refused whatever
// they read as; without a name (text from another program) the text alone is judged.
PastedRows pasteRows(std::vector<SectionRow> rows, QStringView text, SectionKind kind,
                     QStringView copiedKind = {});

} // namespace tarvok
