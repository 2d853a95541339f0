#include "records/RowOrder.h"

#include <utility>

namespace tarvok {

std::optional<MovedRows> moveRow(std::vector<SectionRow> rows, qsizetype index, bool up) {
    const qsizetype to = up ? index - 1 : index + 1;
    const auto count = static_cast<qsizetype>(rows.size());
    if (index < 0 || index >= count || to < 0 || to >= count)
        return std::nullopt;
    std::swap(rows[index], rows[to]);
    for (qsizetype i = 0; i < count; ++i)
        rows[i].number = QString::number(i);
    return MovedRows{std::move(rows), to};
}

} // namespace tarvok
