#include "records/TriggerTable.h"
#include "support/TestFiles.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::triggertable;
using namespace tarvok::test;

// A weight is typed as the weight boxes take it, or as a factor of the value: rounded half
// up, never below 0, refused past what a weight box takes. A tick takes 1/0 or 是/否.
TEST(TriggerTable, ValuesTypedForManyRows) {
    const struct {
        const char *current, *typed;
        std::optional<QString> weight;
    } weights[] = {
        {"70", "35", "35"},    {"70", " 0 ", "0"},   {"75", "×0.5", "38"},  {"75", "x1.5", "113"},
        {"75", "*1.5", "113"}, {"75", "X 2", "150"}, {"75", "＊2", "150"},  {"70", "×0.001", "0"},
        {"70", "×-3", "0"},    {"999999", "×2", {}}, {"70", "1000000", {}}, {"70", "-5", {}},
        {"70", "7.5", {}},     {"70", "×", {}},      {"70", "×abc", {}},    {"70", "/2", {}},
        {"", "×2", {}},        {"70", "×inf", {}},
    };
    for (const auto& w : weights)
        EXPECT_EQ(weightValue(QString::fromUtf8(w.current), QString::fromUtf8(w.typed)), w.weight)
            << w.current << " " << w.typed;
    const struct {
        const char* typed;
        std::optional<bool> tick;
    } ticks[] = {{"1", true}, {"是", true}, {"0", false}, {" 否", false}, {"2", {}}, {"", {}}};
    for (const auto& t : ticks)
        EXPECT_EQ(tickValue(QString::fromUtf8(t.typed)), t.tick) << t.typed;
}

TEST(TriggerTable, TextsCompareWithTheirNumbersAsNumbers) {
    const struct {
        const char *a, *b;
        int order;
    } cases[] = {{"T2", "T10", -1}, {"T10", "T2", 1},
                 {"a07", "a7", 0},  {"9", "10", -1},
                 {"ab", "abc", -1}, {"b1", "a2", 1},
                 {"", "", 0},       {"x9y", "x9z", -1},
                 {"100", "99", 1},  {"0100003A", "0100003B", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(naturalCompare(QString::fromUtf8(c.a), QString::fromUtf8(c.b)), c.order)
            << c.a << " " << c.b;
}

namespace {

QByteArray line(const char* key, const char* team, const char* side, const char* weights,
                const char* ticks) {
    return QByteArray(key) + "," + team + ",<all>,10,1,GAPOWR," + "0200000003" +
           QByteArray(54, '0') + "," + weights + ",1,0," + side + ",0,<none>," + ticks;
}

} // namespace

// The table over a real file: its rows and cells, sorting and filtering, edits that stay
// across readings, and the save: one write, only the edited fields of the edited lines,
// the table's value kept over a change made meanwhile, undone byte for byte.
TEST(TriggerTable, ReadsSortsFiltersAndSavesInOneWrite) {
    TempDir dir;
    const QByteArray original = crlf({
        "[TeamTypes]",
        "0=TM-A",
        "[TM-A]",
        "Name=Rush",
        "[AITriggerTypes]",
        line("T1=Allied ten", "TM-A", "1", "75.500000,10.000000,500.000000", "1,1,0") + " ; keep",
        line("T2=Soviet", "<none>", "2", "9.000000,9.000000,9.000000", "0,0,0"),
        "  " + line("T10=Allied nine", "TM-A", "1", "500.000000,1.000000,500.000000", "1,1,1"),
    });
    const QString path = dir.write(QStringLiteral("ai.ini"), original);
    RulesDocument doc(dir.file(QStringLiteral("File.ini")), dir.file(QStringLiteral("history")));
    ASSERT_TRUE(doc.open(path));
    Table table;
    const UnitName names = [](const QString& id) {
        return id == QStringLiteral("GAPOWR") ? QStringLiteral("发电厂") : QString();
    };
    EXPECT_EQ(table.read(*doc.index(), names, path), 0);
    ASSERT_EQ(table.size(), 3);
    const QStringList first = {
        "T1", "Allied ten", "<all>", "1 盟军", "本方单位满足条件：发电厂 大于或等于 02",
        "75", "10",         "500",   "1",      "1",
        "0",  "TM-A Rush",  "",      "ai.ini"};
    for (int c = 0; c < ColumnCount; ++c)
        EXPECT_EQ(table.text(0, c), first[c]) << header(c).toStdString();
    EXPECT_EQ(table.rows()[0].file, path);

    const auto keys = [&](const std::vector<int>& order) {
        QStringList out;
        for (int row : order)
            out << table.rows()[row].id;
        return out.join(' ');
    };
    EXPECT_EQ(keys(table.order(Base, true)), "T2 T1 T10");
    EXPECT_EQ(keys(table.order(Base, false)), "T10 T1 T2");
    EXPECT_EQ(keys(table.order(Id, true)), "T1 T2 T10");
    EXPECT_EQ(keys(table.order(Max, true)), "T2 T1 T10"); // equal rows keep file order
    const auto matching = [&](const QString& text) {
        QStringList out;
        for (int row = 0; row < table.size(); ++row)
            if (table.matches(row, fieldrules::searchKey(text)))
                out << table.rows()[row].id;
        return out.join(' ');
    };
    EXPECT_EQ(matching(QStringLiteral("盟军")), "T1 T10");
    EXPECT_EQ(matching(QStringLiteral("rush")), "T1 T10"); // the team's name
    EXPECT_EQ(matching(QStringLiteral("Ｔ2")), "T2");

    // Halve the allied triggers' base weight, tick 冷酷; a refused value changes nothing.
    for (int row : {0, 2}) {
        EXPECT_TRUE(table.set(row, Base, QStringLiteral("×0.5")));
        EXPECT_TRUE(table.set(row, Hard, QStringLiteral("1")));
    }
    EXPECT_FALSE(table.set(1, Base, QStringLiteral("abc")));
    EXPECT_FALSE(table.set(1, Name, QStringLiteral("1")));
    EXPECT_EQ(table.text(0, Base), "38");
    EXPECT_TRUE(table.isEdited(0, Base));
    EXPECT_FALSE(table.isEdited(2, Hard)); // it was ticked already
    EXPECT_EQ(table.editedRows(), 2);
    EXPECT_EQ(keys(table.order(Base, true)), "T2 T1 T10"); // the edited values sort

    // Another program sets T1's base weight and drops T2 meanwhile; T2's edit goes.
    EXPECT_TRUE(table.set(1, Min, QStringLiteral("5")));
    QByteArray outside = original;
    outside.replace("75.500000", "80.000000");
    outside.replace(
        line("T2=Soviet", "<none>", "2", "9.000000,9.000000,9.000000", "0,0,0") + "\r\n", "");
    writeBytes(path, outside);
    ASSERT_TRUE(doc.refresh());
    EXPECT_EQ(table.read(*doc.index(), names, path), 1);
    EXPECT_EQ(table.editedRows(), 2);
    EXPECT_EQ(table.text(0, Base), "38");

    QSignalSpy writes(&doc, &RulesDocument::written);
    const TableSave saved = table.save(doc);
    ASSERT_TRUE(saved.write.ok());
    EXPECT_EQ(writes.count(), 1);
    EXPECT_EQ(saved.written, 2);
    ASSERT_EQ(saved.overwritten.size(), 1u);
    EXPECT_EQ(saved.overwritten[0].id, "T1");
    EXPECT_EQ(saved.overwritten[0].field, "基础分量");
    EXPECT_EQ(saved.overwritten[0].value, "38");
    EXPECT_EQ(table.editedRows(), 0);
    QByteArray expected = outside;
    expected.replace("80.000000,10.000000,500.000000,1,0,1,0,<none>,1,1,0",
                     "38.000000,10.000000,500.000000,1,0,1,0,<none>,1,1,1");
    expected.replace("500.000000,1.000000,500.000000", "250.000000,1.000000,500.000000");
    EXPECT_EQ(readBytes(path), expected);
    EXPECT_EQ(table.save(doc).write.ok(), true); // nothing edited: nothing written
    EXPECT_EQ(writes.count(), 1);

    // A panel then saves T10's base weight: the panel's value is told, once.
    table.read(*doc.index(), names, path);
    EXPECT_TRUE(table.takeLaterSaves().empty());
    records::TriggerFields loaded = table.rows()[1].fields, now = loaded;
    now.base = QStringLiteral("77");
    ASSERT_TRUE(records::SaveTrigger(doc, table.rows()[1].key, loaded, now).write.ok());
    table.read(*doc.index(), names, path);
    const std::vector<Overwritten> later = table.takeLaterSaves();
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(later[0].id + later[0].field + later[0].value, "T10基础分量77");
    EXPECT_TRUE(table.takeLaterSaves().empty());
    EXPECT_EQ(doc.restore(History::Stack::Undo).outcome, RulesDocument::Restored::Done);

    EXPECT_EQ(doc.restore(History::Stack::Undo).outcome, RulesDocument::Restored::Done);
    EXPECT_EQ(readBytes(path), outside);
}
