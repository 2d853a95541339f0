// The models behind the registry lists and the row lists, without a view: names from the
// reading and renames, the filter in any letter case or width, adds and removes while a
// filter is in force. Qt's model tester checks every signal the models send.
#include "document/RulesIndex.h"
#include "support/TestFiles.h"
#include "ui/RegistryFilter.h"
#include "ui/RegistryListModel.h"
#include "ui/SectionRowsModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {

std::shared_ptr<const RulesIndex> reading() {
    return std::make_shared<const RulesIndex>(
        crlf({"[TeamTypes]", "0=TM-1", "1=TM-2", "2=TM-3", "", "[TM-1]",
              "Name=" + gbk(QStringLiteral("坦克突袭")), "[TM-2]", "Name=Rocket Rush", "[TM-3]"}));
}

QStringList shown(const RegistryFilter& filter) {
    QStringList out;
    for (int row = 0; row < filter.rowCount(); ++row)
        out << filter.index(row, 0).data().toString();
    return out;
}

} // namespace

TEST(RegistryListModel, ShowsTheReadingsNamesAndARenameAtOnce) {
    RegistryListModel entries(references::Kind::TeamType);
    QAbstractItemModelTester tester(&entries,
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    entries.setIndex(reading());
    EXPECT_EQ(entries.texts(), (QStringList{"TM-1", "TM-2", "TM-3"}));
    EXPECT_EQ(entries.index(0).data(RegistryListModel::NameRole).toString(),
              QStringLiteral("坦克突袭"));
    EXPECT_EQ(entries.name(2), QString());
    entries.insertEntry(3, QStringLiteral("TM-1")); // added since: named as its record is

    QSignalSpy changed(&entries, &QAbstractItemModel::dataChanged);
    entries.setName(QStringLiteral("TM-1"), QStringLiteral("Tank Raid"));
    ASSERT_EQ(changed.size(), 2);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 0);
    EXPECT_EQ(changed[1][0].toModelIndex().row(), 3);
    EXPECT_EQ(entries.name(3), QStringLiteral("Tank Raid"));
    EXPECT_EQ(entries.searchKey(0), QStringLiteral("tm-1 tank raid"));

    entries.setIndex(reading()); // a new reading forgets the renames
    EXPECT_EQ(entries.name(0), QStringLiteral("坦克突袭"));
}

TEST(RegistryFilter, ShowsTheEntriesWhoseIdOrNameHoldsTheTextInAnyCaseOrWidth) {
    RegistryListModel entries(references::Kind::TeamType);
    RegistryFilter filter(&entries);
    QAbstractItemModelTester tester(&filter, QAbstractItemModelTester::FailureReportingMode::Fatal);
    entries.setIndex(reading());
    const struct {
        const char* text;
        QStringList shown;
    } cases[] = {
        {"突袭", {"TM-1"}},
        {"ｒｏｃｋｅｔ", {"TM-2"}},
        {"tm-", {"TM-1", "TM-2", "TM-3"}},
        {"TM-3", {"TM-3"}},
        {"rush tm", {}},
        {"", {"TM-1", "TM-2", "TM-3"}},
        {"M-2 ROCKET", {"TM-2"}},
    };
    for (const auto& c : cases) {
        filter.setFilterText(QString::fromUtf8(c.text));
        EXPECT_EQ(shown(filter), c.shown) << c.text;
    }

    // A row the user holds keeps its place while it shows, and is gone while it does not.
    filter.setFilterText(QString());
    const QPersistentModelIndex held = filter.index(1, 0);
    filter.setFilterText(QStringLiteral("rock"));
    EXPECT_EQ(held.row(), 0);
    EXPECT_EQ(held.data().toString(), "TM-2");
    filter.setFilterText(QStringLiteral("坦克"));
    EXPECT_FALSE(held.isValid());
    entries.setName(QStringLiteral("TM-3"), QStringLiteral("坦克"));
    filter.setFilterText(QStringLiteral("坦"));
    EXPECT_EQ(shown(filter), (QStringList{"TM-1", "TM-3"})); // the new name counts
}

TEST(RegistryFilter, AddsShowUntilTheTextChangesAndRemovesFollowTheirEntries) {
    RegistryListModel entries(references::Kind::TeamType);
    RegistryFilter filter(&entries);
    QAbstractItemModelTester tester(&filter, QAbstractItemModelTester::FailureReportingMode::Fatal);
    entries.setIndex(reading());
    filter.setFilterText(QStringLiteral("tm-2"));

    entries.insertEntry(0, QStringLiteral("TM-NEW"));
    entries.insertEntry(entries.rowCount(), QStringLiteral("TM-LAST"));
    EXPECT_EQ(shown(filter), (QStringList{"TM-NEW", "TM-2", "TM-LAST"}));
    entries.removeEntry(1); // TM-1, hidden
    EXPECT_EQ(shown(filter), (QStringList{"TM-NEW", "TM-2", "TM-LAST"}));
    entries.removeEntry(1); // TM-2
    EXPECT_EQ(shown(filter), (QStringList{"TM-NEW", "TM-LAST"}));
    filter.setFilterText(QStringLiteral("TM-"));
    EXPECT_EQ(shown(filter), (QStringList{"TM-NEW", "TM-3", "TM-LAST"}));

    entries.setIndex(reading()); // a new reading, under the text in force
    EXPECT_EQ(shown(filter), (QStringList{"TM-1", "TM-2", "TM-3"}));
}

TEST(SectionRowsModel, ANoteFollowsItsRowsValuesAndIsNeverARowValue) {
    SectionRowsModel rows({"ID", "A", "B", "N"},
                          [](const SectionRow& r) { return "#" + r.first + "/" + r.second; });
    QAbstractItemModelTester tester(&rows, QAbstractItemModelTester::FailureReportingMode::Fatal);
    rows.setRows({{"0", "53", "0"}});
    QSignalSpy changed(&rows, &QAbstractItemModel::dataChanged);
    EXPECT_TRUE(rows.setData(rows.index(0, 1), "49"));
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][1].toModelIndex().column(), 3);
    EXPECT_EQ(rows.index(0, 3).data(Qt::ToolTipRole).toString(), "#49/0");
    EXPECT_TRUE(rows.setData(rows.index(0, 2), "E1")); // a task force's unit
    ASSERT_EQ(changed.size(), 2);
    EXPECT_EQ(changed[1][1].toModelIndex().column(), 3);
    EXPECT_FALSE(rows.setData(rows.index(0, 3), "x"));
    EXPECT_EQ(rows.rows(), (std::vector<SectionRow>{{"0", "49", "E1"}}));
}
