#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tarvok::catalogue {

// Readers over the decoded lines of the script action catalogue (Scr.WQ) and the two
// building tables (ID.WQ by ID, ID2.WQ by name). They hold no state: the window reads
// the file afresh on every call, so a user's edit of a data file counts at once.

// Spaces and tabs removed at both ends.
QString trimBlanks(QStringView text);

// The choices of an action's block in Scr.WQ, in file order; nothing when the file has
// no block for the action. A block is the run of lines with a comma directly after a
// header line "[" + action name + "]" (blanks around it allowed); the first line
// without a comma ends it and is never itself taken for a header, so a header glued to
// the entries above it is not seen. Of a repeated header the later block counts.
std::optional<QStringList> actionChoices(const QStringList& scrLines, QStringView actionName);

// The choice text of one catalogue entry: before the first comma, after the first point.
QString choiceText(QStringView entry);

// The building names of ID.WQ: the first line of every record of three lines.
QStringList buildingNames(const QStringList& idLines);

// The text after the first comma of the last line whose text before its first comma is
// key exactly; empty when there is none. Lines without a comma never match.
QString lastValueOf(const QStringList& lines, QStringView key);

// The text before the first comma of the last line whose text after its first comma is
// value exactly; empty when there is none.
QString lastKeyOf(const QStringList& lines, QStringView value);

} // namespace tarvok::catalogue
