#include "records/RowOrder.h"

#include <gtest/gtest.h>

using namespace tarvok;

TEST(RowOrder, MovesOneRowAndNumbersAllRowsInTheirNewOrder) {
    const std::vector<SectionRow> rows{{"5", "a", "1"}, {"1", "b", "2"}, {"7", "c", "3"}};
    const struct {
        qsizetype index;
        bool up;
        QString order; // the rows' first columns after the move; empty: it cannot move
        qsizetype now = -1;
    } cases[] = {
        {1, true, "bac", 0}, {0, false, "bac", 1}, {2, true, "acb", 1}, {1, false, "acb", 2},
        {0, true, ""},       {2, false, ""},       {3, true, ""},       {-1, false, ""},
    };
    for (const auto& c : cases) {
        const std::optional<MovedRows> moved = moveRow(rows, c.index, c.up);
        ASSERT_EQ(moved.has_value(), !c.order.isEmpty()) << c.index;
        if (!moved)
            continue;
        EXPECT_EQ(moved->index, c.now);
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(moved->rows[i].number, QString::number(i));
            EXPECT_EQ(moved->rows[i].first, c.order.at(qsizetype(i)));
            EXPECT_EQ(moved->rows[i].second.toInt(), c.order.at(qsizetype(i)).unicode() - 'a' + 1);
        }
    }
}
