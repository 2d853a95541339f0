#include "catalogues/ActionCatalogue.h"

#include "support/WidgetDriver.h"

#include <QLineEdit>
#include <QListWidget>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::catalogue;
using namespace tarvok::test;

namespace {

const QString kUnload = QStringLiteral("运载工具卸载");

} // namespace

TEST(ActionCatalogue, BlockEntriesTakeTheTextBetweenFirstPointAndFirstComma) {
    const QStringList lines{
        QStringLiteral("[运载工具卸载]"),
        QStringLiteral("1.运载工具和卸出单位都是小队成员,rest, more"),
        QStringLiteral("2.a.b,ignored"), // two points: from the first point on
        QStringLiteral("无点,x.y"),      // no point before the comma: the whole part
        QStringLiteral(".,"),            // a point and nothing else: empty choice
        QStringLiteral(""),
        QStringLiteral("9.after the block,"),
    };
    const auto choices = actionChoices(lines, kUnload);
    ASSERT_TRUE(choices);
    EXPECT_EQ(*choices, (QStringList{QStringLiteral("运载工具和卸出单位都是小队成员"),
                                     QStringLiteral("a.b"), QStringLiteral("无点"), QString()}));
}

TEST(ActionCatalogue, HeaderRecognitionFollowsTheReadingOrder) {
    // Blanks around the header are trimmed; the name itself is compared exactly.
    EXPECT_EQ(actionChoices({QStringLiteral(" \t[部署]  "), QStringLiteral("0.x,")},
                            QStringLiteral("部署")),
              QStringList{QStringLiteral("x")});
    EXPECT_FALSE(
        actionChoices({QStringLiteral("[ 部署]"), QStringLiteral("0.x,")}, QStringLiteral("部署")));

    // A header directly under the last entry of a block ends that block and is lost.
    const QStringList glued{QStringLiteral("[A]"), QStringLiteral("1.a,"), QStringLiteral("[B]"),
                            QStringLiteral("2.b,"), QStringLiteral("")};
    EXPECT_FALSE(actionChoices(glued, QStringLiteral("B")));
    EXPECT_EQ(actionChoices(glued, QStringLiteral("A")), QStringList{QStringLiteral("a")});

    // A header as a block's first line (no entries) is the terminator of an empty block.
    const QStringList emptyThenHeader{QStringLiteral("[A]"), QStringLiteral("[B]"),
                                      QStringLiteral("1.b,")};
    EXPECT_EQ(actionChoices(emptyThenHeader, QStringLiteral("A")), QStringList{});
    EXPECT_FALSE(actionChoices(emptyThenHeader, QStringLiteral("B")));

    // Lines outside blocks, commas included, are ignored; the end of the file ends a
    // block, keeping its last entry.
    const QStringList loose{QStringLiteral("1.stray,"), QStringLiteral("; note"),
                            QStringLiteral("[A]"), QStringLiteral("1.a,"), QStringLiteral("2.b,")};
    EXPECT_EQ(actionChoices(loose, QStringLiteral("A")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(actionChoices({QStringLiteral("[A]")}, QStringLiteral("A")), QStringList{});
}

TEST(ActionCatalogue, RepeatedHeaderTheLaterBlockWins) {
    const QStringList lines{
        QStringLiteral("[A]"), QStringLiteral("1.first,"),  QStringLiteral(""),
        QStringLiteral("[B]"), QStringLiteral("1.other,"),  QStringLiteral(""),
        QStringLiteral("[A]"), QStringLiteral("2.second,"), QStringLiteral("3.third,")};
    EXPECT_EQ(actionChoices(lines, QStringLiteral("A")),
              (QStringList{QStringLiteral("second"), QStringLiteral("third")}));
    // A later empty block empties the choices too.
    EXPECT_EQ(actionChoices(lines + QStringList{QString(), QStringLiteral("[B]"), QString()},
                            QStringLiteral("B")),
              QStringList{});
}

TEST(BuildingTables, ListTakesTheFirstLineOfEveryThree) {
    const QStringList lines{QStringLiteral("0, GAPOWR "),    QStringLiteral("131072,GAPOWR"),
                            QStringLiteral("196608,GAPOWR"), QStringLiteral("1,GAREFN"),
                            QStringLiteral("x,skip"),        QStringLiteral("y,skip"),
                            QStringLiteral("  NOCOMMA "),    QStringLiteral("z,skip")};
    EXPECT_EQ(buildingNames(lines), (QStringList{QStringLiteral("GAPOWR"), QStringLiteral("GAREFN"),
                                                 QStringLiteral("NOCOMMA")}));
    // 7 lines: the names of lines 1, 4 and 7.
    EXPECT_EQ(buildingNames(lines.mid(0, 7)).size(), 3);
}

TEST(BuildingTables, LookupsTakeTheLastExactMatch) {
    const QStringList byId{QStringLiteral("12,FIRST"), QStringLiteral("120,LONGER"),
                           QStringLiteral("12,SECOND,extra"), QStringLiteral("12"),
                           QStringLiteral("7,GAPILE")};
    EXPECT_EQ(lastValueOf(byId, u"12"), QStringLiteral("SECOND,extra"));
    EXPECT_EQ(lastValueOf(byId, u"1"), QString()); // a key that merely begins with it
    EXPECT_EQ(lastValueOf(byId, u"120"), QStringLiteral("LONGER"));
    EXPECT_EQ(lastValueOf(byId, u"99"), QString());

    const QStringList byName{QStringLiteral("3,GAPILE"), QStringLiteral("4,GAPILE "),
                             QStringLiteral("5,GAPILE"), QStringLiteral("GAPILE")};
    EXPECT_EQ(lastKeyOf(byName, u"GAPILE"), QStringLiteral("5"));
    EXPECT_EQ(lastKeyOf(byName, u"GAPILE "), QStringLiteral("4"));
    EXPECT_EQ(lastKeyOf(byName, u"NAWEAP"), QString());
}

// ---- the window's readers over the program directory

namespace {

QByteArray scrFile() {
    return crlf({gbk(QStringLiteral("[运载工具卸载]")), gbk(QStringLiteral("1.甲,")),
                 gbk(QStringLiteral("2.乙,")), "", gbk(QStringLiteral("[攻击敌方建筑]")),
                 gbk(QStringLiteral("0.自选,")), ""});
}

const ShownMessage kMissing = info(QStringLiteral("无法找到文件"), QStringLiteral("错误"));

} // namespace

TEST(ActionCatalogueFiles, ReadersWorkOnTheProgramDirectoryFiles) {
    Editor e(false);
    e.dir.write(QStringLiteral("Scr.WQ"), scrFile());
    e.dir.write(QStringLiteral("ID.WQ"), crlf({"3,GAPILE", "131075,GAPILE", "196611,GAPILE",
                                               "5,NAPOWR", "131077,NAPOWR", "196613,NAPOWR"}));
    e.dir.write(QStringLiteral("ID2.WQ"), crlf({"3,GAPILE", "5,NAPOWR"}));
    Window& w = *e.w;

    w.LstScrNumber->addItem(QStringLiteral("old"));
    w.LoadActionParameters(kUnload);
    EXPECT_EQ(items(w.LstScrNumber), (QStringList{QStringLiteral("甲"), QStringLiteral("乙")}));
    // An action without a block keeps the list as it was.
    w.LoadActionParameters(QStringLiteral("部署"));
    EXPECT_EQ(items(w.LstScrNumber), (QStringList{QStringLiteral("甲"), QStringLiteral("乙")}));
    // Building names are appended below, not instead.
    w.ListBuildingNames();
    EXPECT_EQ(items(w.LstScrNumber),
              (QStringList{QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("GAPILE"),
                           QStringLiteral("NAPOWR")}));
    EXPECT_EQ(w.LookupBuildingName(QStringLiteral("131077")), QStringLiteral("NAPOWR"));
    EXPECT_EQ(w.LookupBuildingId(QStringLiteral("GAPILE")), QStringLiteral("3"));
    EXPECT_EQ(w.LookupBuildingId(QStringLiteral("GAWEAP")), QString());
    EXPECT_TRUE(e.dialogs.messages.empty());

    // Edits of a data file count at the next call: nothing is cached.
    e.dir.write(QStringLiteral("ID2.WQ"), crlf({"3,GAPILE", "8,GAPILE"}));
    EXPECT_EQ(w.LookupBuildingId(QStringLiteral("GAPILE")), QStringLiteral("8"));
}

TEST(ActionCatalogueFiles, DataFilesSavedAsUtf8AreReadToo) {
    Editor e(false);
    e.dir.write(QStringLiteral("Scr.WQ"),
                QByteArray("\xEF\xBB\xBF") +
                    crlf({QStringLiteral("[运载工具卸载]").toUtf8(),
                          QStringLiteral("1.运载工具成为新兵,").toUtf8()}));
    e.w->LoadActionParameters(kUnload);
    EXPECT_EQ(items(e.w->LstScrNumber), QStringList{QStringLiteral("运载工具成为新兵")});
}

TEST(ActionCatalogueFiles, EachMissingFileIsReportedOncePerCallAndChangesNothing) {
    Editor e(false);
    Window& w = *e.w;
    w.LstScrNumber->addItems({QStringLiteral("keep"), QStringLiteral("me")});

    w.LoadActionParameters(kUnload);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{kMissing});
    w.ListBuildingNames();
    EXPECT_EQ(e.dialogs.messages.size(), 2u);
    EXPECT_EQ(items(w.LstScrNumber), (QStringList{QStringLiteral("keep"), QStringLiteral("me")}));

    EXPECT_EQ(w.LookupBuildingName(QStringLiteral("3")), QString());
    EXPECT_EQ(w.LookupBuildingId(QStringLiteral("GAPILE")), QString());
    EXPECT_EQ(e.dialogs.messages, (std::vector<ShownMessage>(4, kMissing)));

    // ID.WQ present does not stand in for a missing ID2.WQ.
    e.dialogs.clear();
    e.dir.write(QStringLiteral("ID.WQ"), crlf({"3,GAPILE", "131075,GAPILE", "196611,GAPILE"}));
    EXPECT_EQ(w.LookupBuildingName(QStringLiteral("3")), QStringLiteral("GAPILE"));
    EXPECT_EQ(w.LookupBuildingId(QStringLiteral("GAPILE")), QString());
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{kMissing});
}
