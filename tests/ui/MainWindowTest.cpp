#include "support/WidgetDriver.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {
QStringList comboItems(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}
QStringList headers(const QAbstractItemView* view) {
    QStringList out;
    for (int i = 0; i < view->model()->columnCount(); ++i)
        out << view->model()->headerData(i, Qt::Horizontal).toString();
    return out;
}
} // namespace

TEST(MainWindowStart, MenusListsAndColumnsAreAsTheUserFirstSeesThem) {
    Editor e(false);
    Window& w = *e.w;
    EXPECT_EQ(w.main.windowTitle(), QStringLiteral("Tarvok"));
    const QList<QAction*> bar = w.main.menuBar()->actions();
    ASSERT_EQ(bar.size(), 5);
    EXPECT_EQ(bar[0]->text(), QStringLiteral("自动保存（&A）"));
    EXPECT_EQ(bar[1]->text(), QStringLiteral("锁定/解锁（&R）"));
    EXPECT_EQ(bar[2]->text(), QStringLiteral("文字前景色（&C）"));
    EXPECT_EQ(bar[3]->text(), QStringLiteral("编辑（&E）"));
    EXPECT_EQ(bar[4]->text(), QStringLiteral("工具（&T）"));
    EXPECT_EQ(w.mYes->text(), QStringLiteral("是"));
    EXPECT_EQ(w.mNo->text(), QStringLiteral("否(选中)"));
    EXPECT_EQ(w.mYes->shortcut(), QKeySequence(QStringLiteral("Ctrl+Y")));
    EXPECT_EQ(w.mNo->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(w.mSuo->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(w.mJie->shortcut(), QKeySequence(QStringLiteral("Ctrl+J")));
    EXPECT_FALSE(w.mSuo->isChecked());
    EXPECT_FALSE(w.mJie->isChecked());
    EXPECT_EQ(w.AutoSave(), 0);
    w.CmdOpen_Click(); // cancelled: the filter is what the file dialog was given
    EXPECT_EQ(e.dialogs.fileFilters,
              QStringList{QStringLiteral(
                  "规则文件(*.ini)|*.ini|地图文件(*.map *.mpr)|*.map;*.mpr|所有文件(*)|*")});
    e.dialogs.clear();

    ASSERT_EQ(w.SSTab->count(), 4);
    EXPECT_EQ(w.SSTab->tabText(0), QStringLiteral("AI触发"));
    EXPECT_EQ(w.SSTab->tabText(1), QStringLiteral("作战小队"));
    EXPECT_EQ(w.SSTab->tabText(2), QStringLiteral("特遣小队"));
    EXPECT_EQ(w.SSTab->tabText(3), QStringLiteral("脚本"));

    EXPECT_EQ(items(w.LstSpeAdd), QStringList{QString()});
    EXPECT_EQ(items(w.LstScrAdd), QStringList{QString()});
    ASSERT_EQ(w.LstScrAct->count(), 23);
    EXPECT_EQ(w.LstScrAct->item(0)->text(), QString());
    EXPECT_EQ(w.LstScrAct->item(1)->text(), QStringLiteral("攻击最接近的敌方目标"));
    EXPECT_EQ(w.LstScrAct->item(22)->text(), QStringLiteral("驻守最接近的平民建筑"));
    EXPECT_EQ(headers(w.LvwSpe),
              (QStringList{"ID", QStringLiteral("数量"), QStringLiteral("单位类型"),
                           QStringLiteral("单位名称")}));
    EXPECT_EQ(headers(w.LvwScr), (QStringList{"ID", QStringLiteral("动作"), QStringLiteral("参数"),
                                              QStringLiteral("动作名称")}));

    EXPECT_EQ(comboItems(w.CboCountry).size(), 11);
    EXPECT_EQ(comboItems(w.CboCountry).last(), QStringLiteral("Alliance"));
    EXPECT_EQ(comboItems(w.CboTech),
              (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(comboItems(w.CboTeamTech), comboItems(w.CboTech));
    EXPECT_EQ(comboItems(w.CboKey), (QStringList{"-1", "0", "1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(comboItems(w.CboWay), (QStringList{"0", "1", "2", "3", "4", "5"}));
    EXPECT_EQ(comboItems(w.CboAction), comboItems(w.CboWay));
    EXPECT_EQ(comboItems(w.CboOwner), (QStringList{"0", "1", "2", "3", "4", "5", "6"}));
    const QStringList weights{"5000", "500", "70", "50", "40", "20", "10"};
    EXPECT_EQ(comboItems(w.CboBase), weights);
    EXPECT_EQ(comboItems(w.CboMin), weights);
    EXPECT_EQ(comboItems(w.CboMax), weights);
}

TEST(MainWindowStart, MissingUnitTableIsReportedOnceAndTheWindowStillOpens) {
    TempDir dir;
    ScriptedDialogs dialogs;
    const ProgramFiles files(dir.path(), dir.file(QStringLiteral("user")));
    RulesDocument document(files.scratchCopy());
    FrmMain window(dialogs, files, document);
    Window w(window);
    EXPECT_EQ(dialogs.messages, std::vector<ShownMessage>{plain(QStringLiteral("找不到文件！"))});
    EXPECT_EQ(w.CboUnit->count(), 0);
}

TEST(AutoSaveMenu, IsTurnedOnOnlyAfterAYes) {
    Editor e(false);
    Window& w = *e.w;
    e.dialogs.answers = {MsgAnswer::No, MsgAnswer::Yes, MsgAnswer::Yes, MsgAnswer::No};
    w.mYes->trigger();
    EXPECT_EQ(w.AutoSave(), 0);
    EXPECT_EQ(w.mYes->text(), QStringLiteral("是"));
    w.mYes->trigger();
    w.mYes->trigger();
    w.mYes->trigger(); // 否 while it is on leaves it on
    EXPECT_EQ(w.AutoSave(), -1);
    EXPECT_EQ(w.mYes->text(), QStringLiteral("是(选中)"));
    EXPECT_EQ(w.mNo->text(), QStringLiteral("否"));
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>(
                  4, question(QStringLiteral("确定开启自动保存？"), QStringLiteral("提示"))));
    w.mNo->trigger();
    EXPECT_EQ(w.AutoSave(), 0);
    EXPECT_EQ(w.mNo->text(), QStringLiteral("否(选中)"));
    EXPECT_EQ(w.mYes->text(), QStringLiteral("是"));
    w.mNo->trigger(); // already off: nothing visible changes, no question
    EXPECT_EQ(w.mNo->text(), QStringLiteral("否(选中)"));
    EXPECT_EQ(e.dialogs.messages.size(), 4u);
}

TEST(LockMenu, DisablesOnlyTheRegistryTabs) {
    Editor e(false);
    Window& w = *e.w;
    w.mSuo->trigger();
    EXPECT_FALSE(w.SSTab->isEnabled());
    EXPECT_FALSE(w.LstRoot->isEnabled());
    EXPECT_TRUE(w.FraRoot->isEnabled());
    EXPECT_TRUE(w.CmdSaveRoot->isEnabled());
    EXPECT_TRUE(w.mSuo->isChecked());
    EXPECT_FALSE(w.mJie->isChecked());
    w.mJie->trigger();
    EXPECT_TRUE(w.SSTab->isEnabled());
    EXPECT_TRUE(w.mJie->isChecked());
    EXPECT_FALSE(w.mSuo->isChecked());
}

// The reading of a large file's write comes from the pool: meanwhile the registry lists,
// whose selections load records from it, take no click, and the focus one of them had
// comes back with it, as the lock does not.
TEST(LockMenu, ListsWaitForTheReadingOfALargeFilesWrite) {
    Editor e(false);
    Window& w = *e.w;
    const QByteArray padding = QByteArray(";" + QByteArray(98, 'x') + "\n")
                                   .repeated(RulesDocument::kReadInPoolFrom / 100 + 1);
    e.open(e.dir.write("aimd.ini",
                       "[TaskForces]\n0=TF-1\n[TF-1]\nName=a\n0=1,E1\nGroup=-1\n" + padding));
    clickRow(w.LstSpe, 0);
    replaceText(w.TxtSpeName, "b");
    w.LstSpe->setFocus();
    w.CmdSaveSpe_Click();
    EXPECT_TRUE(w.main.document().readingInProgress());
    EXPECT_FALSE(w.LstSpe->isEnabled());
    EXPECT_FALSE(w.LstRoot->isEnabled());
    EXPECT_TRUE(w.SSTab->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.LstSpe->isEnabled(); }));
    EXPECT_TRUE(w.LstRoot->isEnabled());
    EXPECT_TRUE(w.LstSpe->hasFocus());
    EXPECT_EQ(w.main.document().index()->name("TF-1"), "b");
}

TEST(ColourMenu,
     CancelOrAnUnreadableColourChangeNothingAndAColourBlackIncludedReachesExactlyTheEightLists) {
    Editor e(false);
    Window& w = *e.w;
    const QColor before = w.LstRoot->palette().color(QPalette::Text);
    e.dialogs.colors = {std::nullopt, w.LstRoot->palette().color(QPalette::Base).rgb() & 0xFFFFFFu,
                        0x3366CC, 0x000000};
    w.mColor->trigger();
    w.mColor->trigger();
    EXPECT_EQ(w.LstRoot->palette().color(QPalette::Text), before);
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{
                  info(QStringLiteral("所选颜色与背景过于接近，文字将难以辨认，请另选颜色。"),
                       QStringLiteral("错误"))});
    w.mColor->trigger();
    EXPECT_EQ(e.dialogs.colorDialogs, 3);
    for (QWidget* list :
         std::initializer_list<QWidget*>{w.LstRoot, w.LstFig, w.LstSpe, w.LstScr, w.LvwSpe,
                                         w.LvwScr, w.LstScrAct, w.LstScrNumber})
        EXPECT_EQ(list->palette().color(QPalette::Text), QColor(0x33, 0x66, 0xCC))
            << list->objectName().toStdString();
    EXPECT_NE(w.LstTeam->palette().color(QPalette::Text), QColor(0x33, 0x66, 0xCC));
    w.mColor->trigger();
    EXPECT_EQ(w.LstScr->palette().color(QPalette::Text), QColor(Qt::black));
}

TEST(SaveAll, WithNothingOnShowSaysAndWritesNothing) {
    Editor e(false);
    const QByteArray content = crlf({"[AITriggerTypes]", "A=a,1", "", "[TeamTypes]", "0=T-1"});
    const QString path = e.dir.write(QStringLiteral("aimd.ini"), content);
    e.open(path);
    e.w->CmdSaveAll_Click();
    EXPECT_TRUE(e.dialogs.messages.empty());
    EXPECT_EQ(readBytes(path), content);
    EXPECT_FALSE(QFile::exists(e.dir.file(QStringLiteral("File.ini"))));
}

// Tab follows the window as it reads: the file, the lists, the trigger, the two team
// frames, the task force, the script, the notes, then save-all; each frame row by row.
TEST(TabChain, FollowsTheWindowAsItReads) {
    Editor e(false);
    const QStringList reading = {"CmdOpen",       "LstRoot",
                                 "CmdAdd",        "CmdKill",
                                 "LstFig",        "LstScr",
                                 "CmdScrKill",    "CmdRootCopy",
                                 "CmdSaveRoot",   "CboCountry",
                                 "CboTech",       "CboKey",
                                 "CboUnit",       "CmdCE",
                                 "CboUnitC",      "TxtKeyNum",
                                 "CboWay",        "CboBase",
                                 "CboMin",        "CboMax",
                                 "CboOwner",      "ChkRnd",
                                 "ChkLow",        "ChkMid",
                                 "ChkHigh",       "LstTeam",
                                 "CmdTeam",       "CmdTeamDelete",
                                 "CmdTeamCopy",   "TxtTeamName",
                                 "TxtPriority",   "TxtTeamCount",
                                 "CboAction",     "LstSpeAdd",
                                 "CmdFigChange",  "LstScrAdd",
                                 "CmdBaseChange", "ChkIsBaseDefense",
                                 "ChkRecruiter",  "ChkAble",
                                 "CboTeamTech",   "ChkOnlyTargetHouseEnemy",
                                 "ChkAnnoyance",  "CmdSaveFig",
                                 "CmdSpeCopy",    "TxtSpeName",
                                 "LvwSpe",        "TxtID",
                                 "TxtSpeNum",     "CboSpeE",
                                 "CboSpeC",       "CmdSpeTypeAdd",
                                 "CmdSaveSpe",    "CmdScrCopy",
                                 "TxtScrName",    "LvwScr",
                                 "LstScrAct",     "LstScrNumber",
                                 "TxtScrID",      "TxtAct",
                                 "TxtNumber",     "TxtScrAct",
                                 "TxtScrUnitE",   "Command1",
                                 "TxtScrUnitC",   "TxtScrOther",
                                 "CmdScrTypeAdd", "CmdSaveScr",
                                 "TxtName",       "TxtNote",
                                 "CmdNew",        "CmdFind",
                                 "CmdDelete",     "CmdSaveAll"};
    QStringList chain;
    QWidget* start = e.w->CmdOpen;
    for (QWidget* w = start->nextInFocusChain(); w != start; w = w->nextInFocusChain()) {
        if (reading.contains(w->objectName()) && !chain.contains(w->objectName()))
            chain << w->objectName();
    }
    chain.prepend(start->objectName());
    EXPECT_EQ(chain, reading);
}
