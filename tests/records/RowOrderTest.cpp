#include "records/RowOrder.h"

#include <QStringList>

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

// What a paste makes of text, for each kind of row: rows numbered on after the last, or the
// first line that is no row of the kind (the rows kept as they were), or rows a save refuses.
TEST(RowOrder, PastedTextBecomesRowsNumberedOnOrIsRefused) {
    using K = SectionKind;
    const std::vector<SectionRow> two{{"0", "3", "E1"}, {"1", "1", "HTNK"}};
    const struct {
        K kind;
        QString text;
        QString added; // the added rows as "number=first,second;..."
        qsizetype badLine = 0;
    } cases[] = {
        {K::TaskForce, " 2 , FV \r\n\r\n\n9=4,E1\r\n", "2=2,FV;3=4,E1"}, // blanks, a file row
        {K::Script, "46,14", "2=46,14"},
        {K::TaskForce, "", ""},
        {K::TaskForce, "2,FV\nFV,2", "", 2},    // a unit where the count goes
        {K::TaskForce, "2,FV\n\n1,A B", "", 3}, // a blank inside a unit
        {K::TaskForce, "2,FV,1", "", 1},        // a comma in the unit
        {K::TaskForce, "[TF]", "", 1},          // no comma
        {K::Script, "46,1x", "", 1},            // a parameter that is no number
        {K::Script, "-1,0", "", 1},             // nor an action
    };
    for (const auto& c : cases) {
        const PastedRows p = pasteRows(two, c.text, c.kind);
        QStringList added;
        for (size_t i = two.size(); i < p.rows.size(); ++i)
            added << p.rows[i].number + "=" + p.rows[i].first + "," + p.rows[i].second;
        EXPECT_EQ(added.join(';'), c.added) << c.text.toStdString();
        EXPECT_EQ(p.badLine, c.badLine) << c.text.toStdString();
        EXPECT_TRUE(std::equal(two.begin(), two.end(), p.rows.begin()));
    }
    EXPECT_TRUE(pasteRows({{"0", "1", "E1"}, {"2", "1", "E2"}}, u"1,E3", K::TaskForce).unsaveable);
    // Rows named of the other kind are refused; named of the kind, or unnamed, they are read.
    EXPECT_TRUE(pasteRows(two, u"54,2", K::TaskForce, rowsKindName(K::Script)).otherKind);
    EXPECT_TRUE(pasteRows(two, u"54,2", K::Script, rowsKindName(K::TaskForce)).otherKind);
    EXPECT_EQ(pasteRows(two, u"54,2", K::TaskForce, rowsKindName(K::TaskForce)).added, 1);
    // What a copy puts on the clipboard pastes back as the same rows.
    EXPECT_EQ(copiedRows(two), "3,E1\n1,HTNK");
    EXPECT_EQ(pasteRows({}, copiedRows(two), K::TaskForce).rows, two);
}
