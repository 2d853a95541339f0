#include "catalogues/UnitNameTable.h"
#include "catalogues/UnitChoices.h"

#include <gtest/gtest.h>

using namespace tarvok;

namespace {

const QStringList kTable{
    QStringLiteral("A,Name1,x"), QStringLiteral("B,Name2,y"),
    QStringLiteral("C,灰熊坦克,Grizzly, Battle Tank"), // the unread rest may hold commas
};

} // namespace

TEST(UnitNameLine, FieldsEndAtTheFirstAndSecondComma) {
    const auto full = unitnames::parseLine(QStringLiteral(" MTNK ,灰熊坦克 ,Grizzly,Tank"));
    ASSERT_TRUE(full);
    EXPECT_EQ(full->id, QStringLiteral(" MTNK ")); // not trimmed
    EXPECT_EQ(full->name, QStringLiteral("灰熊坦克 "));

    const auto oneComma = unitnames::parseLine(QStringLiteral("HTNK,犀牛坦克"));
    ASSERT_TRUE(oneComma);
    EXPECT_EQ(oneComma->id, QStringLiteral("HTNK"));
    EXPECT_FALSE(oneComma->name);

    const auto emptyFields = unitnames::parseLine(QStringLiteral(",,"));
    ASSERT_TRUE(emptyFields);
    EXPECT_EQ(emptyFields->id, QString());
    EXPECT_EQ(emptyFields->name, QString());

    EXPECT_FALSE(unitnames::parseLine(QStringLiteral("no comma here")));
    EXPECT_FALSE(unitnames::parseLine(QString()));
}

TEST(UnitNameLookup, FindsBothWaysExactlyAndCaseSensitively) {
    EXPECT_EQ(unitnames::nameOf(kTable, QStringLiteral("A")), QStringLiteral("Name1"));
    EXPECT_EQ(unitnames::idOf(kTable, QStringLiteral("Name2")), QStringLiteral("B"));
    EXPECT_EQ(unitnames::nameOf(kTable, QStringLiteral("C")), QStringLiteral("灰熊坦克"));
    EXPECT_EQ(unitnames::idOf(kTable, QStringLiteral("灰熊坦克")), QStringLiteral("C"));

    EXPECT_EQ(unitnames::nameOf(kTable, QStringLiteral("a")), QString());
    EXPECT_EQ(unitnames::nameOf(kTable, QStringLiteral("A ")), QString());
    EXPECT_EQ(unitnames::idOf(kTable, QStringLiteral("name1")), QString());
    // The rest is never a name, and a name is never an ID.
    EXPECT_EQ(unitnames::idOf(kTable, QStringLiteral("x")), QString());
    EXPECT_EQ(unitnames::nameOf(kTable, QStringLiteral("Name1")), QString());
    // An empty argument finds nothing unless a field is empty.
    EXPECT_EQ(unitnames::nameOf(kTable, QString()), QString());
    EXPECT_EQ(unitnames::idOf(kTable, QString()), QString());
    EXPECT_EQ(unitnames::nameOf({QStringLiteral(",Nameless,z")}, QString()),
              QStringLiteral("Nameless"));
    EXPECT_EQ(unitnames::idOf({QStringLiteral("ID0,,z")}, QString()), QStringLiteral("ID0"));
}

TEST(UnitNameLookup, TheLastMatchingLineWins) {
    const QStringList table{QStringLiteral("A,First,x"), QStringLiteral("B,Same,y"),
                            QStringLiteral("A,Second,x"), QStringLiteral("C,Same,z"),
                            QStringLiteral("D,Other,w")};
    EXPECT_EQ(unitnames::nameOf(table, QStringLiteral("A")), QStringLiteral("Second"));
    EXPECT_EQ(unitnames::idOf(table, QStringLiteral("Same")), QStringLiteral("C"));
}

TEST(UnitNameLookup, LinesWithoutTwoCommasArePassedOver) {
    const QStringList table{QStringLiteral("A,Good,x"), QStringLiteral("A,Bad"),
                            QStringLiteral("A"), QStringLiteral("Good")};
    EXPECT_EQ(unitnames::nameOf(table, QStringLiteral("A")), QStringLiteral("Good"));
    EXPECT_EQ(unitnames::idOf(table, QStringLiteral("Bad")), QString());
    EXPECT_EQ(unitnames::idOf(table, QStringLiteral("Good")), QStringLiteral("A"));
}

TEST(UnitChoiceLists, KeepTheTableOrderAndSkipMalformedLines) {
    const QStringList table{QStringLiteral("E1,美国大兵,GI"),
                            QStringLiteral("; a comment"),
                            QString(),
                            QStringLiteral("ONLY,一个逗号"),
                            QStringLiteral("E2,动员兵,Conscript"),
                            QStringLiteral("E1,重复,GI")};
    const unitnames::ChoiceLists lists = unitnames::choiceLists(table);
    EXPECT_EQ(lists.ids, (QStringList{"E1", "ONLY", "E2", "E1"}));
    EXPECT_EQ(lists.names, (QStringList{QStringLiteral("美国大兵"), QStringLiteral("动员兵"),
                                        QStringLiteral("重复")}));
}

// The entries of a unit or building choice box: a name several types share shows each
// type's ID, and typed text is an ID first (any letter case), then a label, then a name.
TEST(UnitChoices, SharedNamesShowTheirIdsAndTypedTextFindsExactlyOneType) {
    const UnitChoices c({"WFA", "POWR", "WFB", "ENG1", "WFC", "ENG2"},
                        {"War Factory", "", "War Factory", "Engineer", "War Factory", "Engineer"});
    EXPECT_EQ(
        c.labels(),
        (QStringList{QStringLiteral("War Factory（WFA）"), "POWR",
                     QStringLiteral("War Factory（WFB）"), QStringLiteral("Engineer（ENG1）"),
                     QStringLiteral("War Factory（WFC）"), QStringLiteral("Engineer（ENG2）")}));
    const struct {
        const char* typed;
        const char* id; // empty: none
        qsizetype sharing;
    } cases[] = {
        {"wfb", "WFB", 0},     {"War Factory（WFC）", "WFC", 0},
        {" POWR ", "POWR", 0}, {"War Factory", "", 3},
        {"Engineer", "", 2},   {"Barracks", "", 0},
        {"", "", 0},
    };
    for (const auto& t : cases) {
        const UnitChoices::Match m = c.match(QString::fromUtf8(t.typed));
        EXPECT_EQ(m.id, QString::fromUtf8(t.id)) << t.typed;
        EXPECT_EQ(m.sharing, t.sharing) << t.typed;
    }
    EXPECT_EQ(c.labelOf("wfc"), QStringLiteral("War Factory（WFC）"));
    EXPECT_EQ(c.labelOf("GONE"), QString());
    // A name one type has stays as it is.
    EXPECT_EQ(UnitChoices({"E1"}, {"GI"}).labels(), QStringList{"GI"});
}
