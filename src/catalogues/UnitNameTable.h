#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tarvok {

// The unit name table pairs each unit type's ID, as rules files write it, with the
// name the user knows it by. A line reads "ID,display name,rest"; the rest (the
// English name in the shipped table) is never read. Fields are not trimmed and are
// compared exactly, so a display name cannot itself hold a comma.
namespace unitnames {

// The table's file in the program directory.
inline const QString kTableFile = QStringLiteral("NameTable.WQ");

struct UnitNameLine {
    QString id;
    std::optional<QString> name; // absent when the line has only one comma
};

// Nothing for a line without a comma.
std::optional<UnitNameLine> parseLine(const QString& line);

// The start-up choice lists, in the table's order. A line with one comma gives an ID
// but no name, so the ID list can be the longer one.
struct ChoiceLists {
    QStringList ids;
    QStringList names;
    QStringList namedIds; // the ID of each name, line by line
};
ChoiceLists choiceLists(const QStringList& tableLines);

// The display name of the last line whose ID equals id; empty when none does.
QString nameOf(const QStringList& tableLines, const QString& id);
// The ID of the last line whose display name equals name; empty when none does.
QString idOf(const QStringList& tableLines, const QString& name);

} // namespace unitnames
} // namespace tarvok
