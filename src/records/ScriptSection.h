#pragma once

#include <QString>

namespace tarvok {

// Script sections and task force sections share one shape: a header "[ID]", a Name key
// and numbered rows "number=first,second" (action and parameter of a script step; count
// and unit of a task force entry). A task force adds its closing "Group=-1" line.

// One numbered row as the list views show it.
struct SectionRow {
    QString number; // the row's key
    QString first;  // its value up to the first ","
    QString second; // after that ",", to the end of the value (may hold further commas)
    bool operator==(const SectionRow&) const = default;
};

// Which key lines of a section body are rows: all of them for a script; a task force's
// Group line is not one of its entries.
enum class SectionKind { Script, TaskForce };

} // namespace tarvok
