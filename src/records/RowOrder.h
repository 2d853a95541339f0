#pragma once

#include "records/ScriptSection.h"

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

} // namespace tarvok
