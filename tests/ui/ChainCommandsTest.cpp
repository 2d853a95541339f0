// 复制整套 and 新建整套 through the window: the dialog they open, what it refuses, and that
// the chain it writes is on show afterwards and goes with one undo.
#include "support/WidgetDriver.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {

const QByteArray kAttack = crlf({
    "[AITriggerTypes]",
    "T1=Rush,TM-1,<all>,10,0,<none>," + QByteArray(64, '0') +
        ",70.000000,10.000000,70.000000,1,0,1,0,<none>,1,1,1",
    "",
    "[TeamTypes]",
    "0=TM-1",
    "",
    "[TM-1]",
    "Name=Rushers",
    "TaskForce=TF-1",
    "Script=SC-1",
    "",
    "[TaskForces]",
    "0=TF-1",
    "",
    "[TF-1]",
    "Name=Tanks",
    "0=3,HTNK",
    "Group=-1",
    "",
    "[ScriptTypes]",
    "0=SC-1",
    "",
    "[SC-1]",
    "Name=Go",
    "0=53,0",
});

struct ChainWindow : ::testing::Test {
    Editor e;
    Window& w = *e.w;
    QString path;

    void SetUp() override {
        path = e.dir.write(QStringLiteral("mod/aimd.ini"), kAttack);
        e.open(path);
        e.dialogs.clear();
    }
    QDialog* dialog() const { return e.main->findChild<QDialog*>(QStringLiteral("FrmChain")); }
    QTreeWidget* table() const { return dialog()->findChild<QTreeWidget*>("LvwChain"); }
    QLineEdit* naming() const { return dialog()->findChild<QLineEdit*>("TxtChainName"); }
    void ok() const { click(dialog()->findChild<QPushButton*>("CmdChainOK")); }
};

} // namespace

TEST_F(ChainWindow, CopyOfTheTriggerOnShowRefusesATakenIdThenWritesOnceAndUndoesAtOnce) {
    EXPECT_FALSE(w.mClone->isEnabled()); // nothing on show
    clickRow(w.LstRoot, 0);
    EXPECT_TRUE(w.mClone->isEnabled());
    w.SSTab->setCurrentIndex(2); // the task force tab: nothing there to copy a chain from
    EXPECT_FALSE(w.mClone->isEnabled());
    w.SSTab->setCurrentIndex(0);

    click(w.CmdRootClone);
    ASSERT_TRUE(dialog() && dialog()->isVisible());
    EXPECT_EQ(dialog()->windowTitle(), QStringLiteral("复制整套"));
    EXPECT_EQ(dialog()->windowModality(), Qt::WindowModal);
    ASSERT_EQ(table()->topLevelItemCount(), 4); // trigger, team type, task force, script
    EXPECT_EQ(table()->topLevelItem(0)->text(2), "T1-2");
    EXPECT_EQ(naming()->text(), " 2");
    EXPECT_EQ(table()->topLevelItem(2)->text(3), "Tanks 2");
    table()->topLevelItem(2)->setText(3, "Heavy"); // named by the user: the suffix leaves it
    naming()->setText(" B,");
    ok();
    naming()->setText(" B");

    table()->topLevelItem(1)->setText(2, "TF-1"); // the team type's copy under a taken ID
    ok();
    EXPECT_EQ(e.dialogs.messages,
              (std::vector<ShownMessage>{
                  info(QStringLiteral("名称后缀不可含“,”或“;”，请重新输入！"), "错误"),
                  info(QStringLiteral("第 2 行的新 ID 不可用：文件中已有此 ID"), "错误")}));
    EXPECT_TRUE(dialog()->isVisible());
    EXPECT_EQ(readBytes(path), kAttack);

    table()->topLevelItem(1)->setText(2, "TM-2");
    table()->topLevelItem(3)->setCheckState(4, Qt::Unchecked); // the copy keeps SC-1
    QPointer<QDialog> shown = dialog();
    ok();
    QApplication::processEvents();
    EXPECT_TRUE(!shown || !shown->isVisible());
    const QByteArray copied = readBytes(path);
    EXPECT_TRUE(copied.contains("T1-2=Rush B,TM-2,")) << copied.constData();
    EXPECT_TRUE(copied.contains("[TM-2]\r\nName=Rushers B\r\nTaskForce=TF-1-2\r\nScript=SC-1\r\n"))
        << copied.constData();
    EXPECT_TRUE(copied.contains("[TF-1-2]\r\nName=Heavy\r\n")) << copied.constData();
    EXPECT_FALSE(copied.contains("SC-1-2"));
    // The copy is on show with its chain.
    EXPECT_TRUE(w.TxtRoot->text().startsWith("T1-2")) << w.TxtRoot->text().toStdString();
    EXPECT_EQ(w.TxtTeam->text(), "TM-2");
    EXPECT_EQ(w.TxtSpe->text(), "TF-1-2");

    w.mUndo->trigger();
    EXPECT_EQ(readBytes(path), kAttack);
}

TEST_F(ChainWindow, NewChainMakesFourRecordsNamedOnceThatNameEachOtherAndFireAndShowsThem) {
    EXPECT_TRUE(w.mNewChain->isEnabled());
    clickRow(w.LstRoot, 0);
    replaceText(w.TxtSpeName, "Edited"); // an edit the user declines to save: asked once
    e.dialogs.answers = {MsgAnswer::No};
    w.mNewChain->trigger();
    EXPECT_EQ(e.dialogs.texts(), QStringList{QStringLiteral("当前记录已修改，是否保存？")});
    e.dialogs.clear();
    ASSERT_TRUE(dialog());
    EXPECT_EQ(dialog()->windowTitle(), QStringLiteral("新建整套"));
    ASSERT_EQ(table()->topLevelItemCount(), 4);
    EXPECT_EQ(dialog()->focusWidget(), naming()); // the name is typed first
    table()->topLevelItem(1)->setText(3, "Own");
    naming()->setText("Flank;");
    ok();
    EXPECT_EQ(e.dialogs.texts(), QStringList{QStringLiteral("名称不可含“,”或“;”，请重新输入！")});
    naming()->setText("Flank");
    ok();
    EXPECT_EQ(e.dialogs.texts().size(), 1); // the declined edit is not asked about again
    const QByteArray made = readBytes(path);
    EXPECT_TRUE(made.contains("NEWTRIGGER-2=Flank,NEWTEAM-2,<all>,10,-1,<none>,"))
        << made.constData();
    EXPECT_TRUE(made.contains(",<none>,1,1,1\r\n")) << made.constData();
    EXPECT_TRUE(made.contains("[NEWTEAM-2]\r\nName=Own\r\n")) << made.constData();
    EXPECT_EQ(made.count("Name=Flank\r\n"), 2) << made.constData();
    EXPECT_TRUE(made.contains("TaskForce=NEWTASKFORCE-2")) << made.constData();
    EXPECT_EQ(w.TxtTeam->text(), "NEWTEAM-2");
    EXPECT_EQ(w.TxtSpe->text(), "NEWTASKFORCE-2");
    EXPECT_EQ(w.TxtScr->text(), "NEWSCRIPT-2");
    w.mUndo->trigger();
    EXPECT_EQ(readBytes(path), kAttack);
}
