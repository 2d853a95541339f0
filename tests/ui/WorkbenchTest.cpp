// Finding records: names beside the IDs, the filters above the lists, the action names
// beside the script steps. Filtering hides entries and never reaches the operations.
#include "records/ScriptExplain.h"
#include "support/WidgetDriver.h"
#include "ui/RegistryListModel.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {

QStringList shown(const QAbstractItemView* list) {
    QStringList out;
    for (int i = 0; i < rowCount(list); ++i)
        if (!isRowHidden(list, i))
            out << cell(list, i).toString();
    return out;
}

} // namespace

TEST(Workbench, FiltersFindByIdOrNameAndHideWithoutRemoving) {
    Editor e;
    const QString path =
        e.dir.write(QStringLiteral("aimd.ini"),
                    crlf({"[TeamTypes]", "0=TM-1", "1=TM-2", "2=TM-3", "", "[TM-1]",
                          "Name=" + utf8(QStringLiteral("坦克突袭")), "[TM-2]", "Name=Rocket", "",
                          "[ScriptTypes]", "0=SC-1", "[SC-1]", "Name=Go", "0=53,0"}));
    e.open(path);
    Window& w = *e.w;
    EXPECT_EQ(items(w.LstFig), (QStringList{"TM-1", "TM-2", "TM-3"})); // an entry's text is its ID

    w.SSTab->setCurrentIndex(1);
    QTest::keyClick(&w.main, Qt::Key_F, Qt::ControlModifier);
    QLineEdit* filter = w.main.findChild<QLineEdit*>(QStringLiteral("TxtFindFig"));
    ASSERT_NE(filter, nullptr);
    EXPECT_TRUE(filter->hasFocus());
    EXPECT_EQ(filter->placeholderText(), QStringLiteral("筛选 ID、名称或所用单位"));
    filter->setText(QStringLiteral("突袭")); // by name
    EXPECT_EQ(shown(w.LstFig), QStringList{"TM-1"});
    filter->setText(QStringLiteral("ｒｏｃｋ")); // full width, other case
    EXPECT_EQ(shown(w.LstFig), QStringList{"TM-2"});

    // Hidden entries still count: the duplicate check sees TM-1, the counter all three.
    e.dialogs.promptAnswers = {QStringLiteral("TM-1")};
    click(w.CmdTeamAdd);
    EXPECT_EQ(e.dialogs.texts(), QStringList{QStringLiteral("作战小队名称重复，请重新输入！")});
    EXPECT_EQ(w.TeamTypeCount(), 3);
    clickRow(w.LstFig, 1);
    EXPECT_EQ(w.TxtTeam->text(), "TM-2");
    EXPECT_EQ(w.TxtTeamName->text(), "Rocket");

    focusOn(filter);
    QTest::keyClick(filter, Qt::Key_Escape);
    EXPECT_EQ(filter->text(), QString());
    EXPECT_EQ(shown(w.LstFig), (QStringList{"TM-1", "TM-2", "TM-3"}));

    // A step shows its action's name beside the number the save writes.
    w.SSTab->setCurrentIndex(3);
    clickRow(w.LstScr, 0);
    ASSERT_EQ(rowCount(w.LvwScr), 1);
    EXPECT_EQ(cell(w.LvwScr, 0, 1).toString(), "53");
    EXPECT_EQ(cell(w.LvwScr, 0, 3).toString(),
              QString::fromUtf8(scripts::actionByNumber(53)->name));
}

// The check window: enabled with a file, F7, a problem's record selected by a double
// click (its hidden entry shown again), a clean file's single line.
TEST(Workbench, CheckFileListsProblemsAndDoubleClickSelectsTheRecord) {
    Editor e;
    Window& w = *e.w;
    EXPECT_FALSE(w.mCheck->isEnabled());
    EXPECT_EQ(w.mCheck->text(), QStringLiteral("检查文件"));
    EXPECT_EQ(w.mCheck->shortcut(), QKeySequence(Qt::Key_F7));
    const auto file = [](const QByteArray& taskForce) {
        return crlf({"[TeamTypes]", "0=TM-0", "1=TM-1", "", "[TaskForces]", "0=TF-1", "", "[TM-0]",
                     "Name=Zero", "[TM-1]", "Name=One", "TaskForce=" + taskForce, "", "[TF-1]",
                     "Name=Units", "0=1,E1", "Group=-1"});
    };
    const QString path = e.dir.write(QStringLiteral("aimd.ini"), file("TF-GONE"));
    e.open(path);
    EXPECT_TRUE(w.mCheck->isEnabled());
    w.main.findChild<QLineEdit*>(QStringLiteral("TxtFindFig"))->setText(QStringLiteral("Zero"));

    QTest::keyClick(&w.main, Qt::Key_F7);
    const CheckControls check(&w.main);
    ASSERT_NE(check.LvwCheck, nullptr);
    EXPECT_TRUE(check.FrmCheck->isVisible());
    EXPECT_EQ(check.FrmCheck->windowTitle(), QStringLiteral("检查文件"));
    ASSERT_EQ(check.LvwCheck->topLevelItemCount(), 1);
    EXPECT_EQ(check.LvwCheck->headerItem()->text(3), QStringLiteral("行"));
    QTreeWidgetItem* item = check.LvwCheck->topLevelItem(0);
    EXPECT_EQ(row(check.LvwCheck, 0),
              (QStringList{QStringLiteral("错误"), QStringLiteral("引用缺失"), "TM-1"}));
    EXPECT_EQ(item->text(3), "12");
    clickRow(check.LvwCheck, 0); // a double click: a click, then the second press
    QTest::mouseDClick(check.LvwCheck->viewport(), Qt::LeftButton, Qt::NoModifier,
                       check.LvwCheck->visualItemRect(item).center());
    EXPECT_EQ(w.SSTab->currentIndex(), 1);
    EXPECT_FALSE(isRowHidden(w.LstFig, 1));
    EXPECT_TRUE(isRowSelected(w.LstFig, 1));
    EXPECT_EQ(w.TxtTeam->text(), "TM-1");
    EXPECT_EQ(w.TxtTeamName->text(), "One");

    test::writeBytes(path, file("TF-1"));
    w.mCheck->trigger();
    ASSERT_EQ(check.LvwCheck->topLevelItemCount(), 1);
    EXPECT_EQ(check.LvwCheck->topLevelItem(0)->text(0), QStringLiteral("未发现问题"));
    EXPECT_TRUE(e.dialogs.texts().isEmpty());
}

// The 引用 lists follow the records on show; a double-click selects the named record
// (showing it again when a filter hid it); another program's change is read again.
TEST(Workbench, ReferencesFollowTheRecordsOnShowAndLeadToThem) {
    Editor e;
    Window& w = *e.w;
    const QByteArray block(64, '0');
    const QString path = e.dir.write(
        QStringLiteral("aimd.ini"),
        crlf({"[AITriggerTypes]",
              "T1=first,TM-1,<all>,1,0,<none>," + block + ",50,30,50,1,0,1,0,TM-GONE,1,1,1",
              "[TeamTypes]",
              "0=TM-1",
              "1=TM-2",
              "[TM-1]",
              "Name=One",
              "TaskForce=TF-1",
              "Script=SC-1",
              "[TM-2]",
              "Name=Two",
              "TaskForce=TF-1",
              "[TaskForces]",
              "0=TF-1",
              "[TF-1]",
              "Name=Units",
              "0=1,E1",
              "[ScriptTypes]",
              "0=SC-1",
              "[SC-1]",
              "Name=Go",
              "0=0,0"}));
    e.open(path);
    clickRow(w.LstRoot, 0);
    QApplication::processEvents();
    EXPECT_EQ(items(w.LstRefRoot), (QStringList{QStringLiteral("TM-1 (作战小队) ← 所用"),
                                                QStringLiteral("TM-GONE (缺失)")}));
    EXPECT_EQ(w.LstRefRoot->item(1)->foreground().color(), QColor(Qt::red));
    EXPECT_EQ(items(w.LstRefFig),
              (QStringList{QStringLiteral("TF-1 (特遣小队) ← 所用"),
                           QStringLiteral("SC-1 (脚本) ← 所用"), QStringLiteral("T1 (触发)")}));

    w.main.findChild<QLineEdit*>(QStringLiteral("TxtFindSpe"))->setText(QStringLiteral("zzz"));
    w.SSTab->setCurrentIndex(1); // the team type's references stand under its list
    QListWidgetItem* taskForce = w.LstRefFig->item(0);
    clickRow(w.LstRefFig, 0); // a double click: a click, then the second press
    QTest::mouseDClick(w.LstRefFig->viewport(), Qt::LeftButton, Qt::NoModifier,
                       w.LstRefFig->visualItemRect(taskForce).center());
    QApplication::processEvents();
    EXPECT_EQ(w.SSTab->currentIndex(), 2);
    EXPECT_FALSE(isRowHidden(w.LstSpe, 0));
    EXPECT_EQ(w.TxtSpe->text(), "TF-1");
    EXPECT_EQ(items(w.LstRefSpe),
              (QStringList{QStringLiteral("TM-1 (作战小队)"), QStringLiteral("TM-2 (作战小队)")}));

    // Another program adds a team type: the next look at the file reads it again.
    test::writeBytes(path,
                     test::readBytes(path) +
                         "\r\n[TeamTypes]\r\n2=TM-3\r\n[TM-3]\r\nName=Three\r\nTaskForce=TF-1\r\n");
    clickRow(w.LstSpe, 0);
    QApplication::processEvents();
    EXPECT_EQ(items(w.LstFig), (QStringList{"TM-1", "TM-2", "TM-3"}));
    EXPECT_EQ(w.TeamTypeCount(), 3);
    EXPECT_EQ(w.main.statusBar()->currentMessage(),
              QStringLiteral("文件已被其他程序修改，已重新读取"));
    EXPECT_EQ(w.LstRefSpe->count(), 3);
    EXPECT_TRUE(isRowSelected(w.LstSpe, 0));

    // While the window sits idle, the watch on the file reads it again; a panel in the
    // middle of an edit keeps it.
    w.main.statusBar()->clearMessage();
    replaceText(w.TxtSpeName, QStringLiteral("editing"));
    test::writeBytes(path, test::readBytes(path) + "\r\n[TeamTypes]\r\n3=TM-4\r\n");
    for (int waited = 0; rowCount(w.LstFig) != 4 && waited < 5000; waited += 20)
        QTest::qWait(20);
    EXPECT_EQ(rowCount(w.LstFig), 4);
    EXPECT_EQ(w.TxtSpeName->text(), QStringLiteral("editing"));
    EXPECT_TRUE(w.FraSpe->title().endsWith(QStringLiteral(" *")));
}

// Undo and redo through the window, against the file's bytes: a save, an add and a
// delete taken back one by one, the last undo redone, the history kept across a restart,
// and refused once another program changed the file.
TEST(Workbench, UndoAndRedoPutBackEachVersionOfTheFile) {
    Editor e;
    Window& w = *e.w;
    const QString path = e.dir.file(QStringLiteral("aimd.ini")); // the shipped sample
    e.open(path);
    std::vector<QByteArray> versions{test::readBytes(path)};
    clickRow(w.LstFig, 0);
    replaceText(w.TxtTeamName, QStringLiteral("Renamed"));
    click(w.CmdSaveFig);
    EXPECT_EQ(cell(w.LstFig, 0, 0, RegistryListModel::NameRole).toString(),
              "Renamed"); // beside its ID
    versions.push_back(test::readBytes(path));
    e.dialogs.promptAnswers = {QStringLiteral("TF-NEW")};
    click(w.CmdSpeAdd);
    versions.push_back(test::readBytes(path));
    e.dialogs.answers = {MsgAnswer::Yes};
    click(w.CmdTeamKill);
    versions.push_back(test::readBytes(path));
    ASSERT_EQ(versions.size(), 4u);
    ASSERT_NE(versions[2], versions[3]);
    e.dialogs.clear();

    const QRegularExpression restored(QStringLiteral("^已恢复到 \\d\\d:\\d\\d:\\d\\d 的版本$"));
    for (int back = 2; back >= 0; --back) {
        w.mUndo->trigger();
        ASSERT_EQ(test::readBytes(path), versions[back]) << back;
        EXPECT_TRUE(restored.match(w.main.statusBar()->currentMessage()).hasMatch());
        EXPECT_TRUE(w.TxtTeam->text().isEmpty());
    }
    EXPECT_EQ(items(w.LstSpe).contains("TF-NEW"), false);
    w.mRedo->trigger();
    EXPECT_EQ(test::readBytes(path), versions[1]);
    EXPECT_TRUE(e.dialogs.texts().isEmpty())
        << e.dialogs.texts().join(QLatin1Char('|')).toStdString();

    // A restart finds the same history.
    e.restart();
    Window& w2 = *e.w;
    e.dialogs.files.push_back(path);
    w2.CmdOpen_Click();
    w2.mRedo->trigger();
    EXPECT_EQ(test::readBytes(path), versions[2]);
    w2.mUndo->trigger();
    EXPECT_EQ(test::readBytes(path), versions[1]);

    // Another program's change: nothing is undone, and the stacks stay.
    test::writeBytes(path, versions[1] + "; edited elsewhere\r\n");
    w2.mUndo->trigger();
    EXPECT_EQ(e.dialogs.texts(), QStringList{QStringLiteral("文件已被其他程序修改，无法撤销")});
    EXPECT_EQ(test::readBytes(path), versions[1] + "; edited elsewhere\r\n");
    w2.mUndo->trigger(); // read again, it is still not what the editor wrote
    EXPECT_EQ(e.dialogs.texts().size(), 2);
    EXPECT_EQ(test::readBytes(path), versions[1] + "; edited elsewhere\r\n");
}
