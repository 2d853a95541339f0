// Finding records: names beside the IDs, the filters above the lists, the action names
// beside the script steps. Filtering hides entries and never reaches the operations.
#include "records/ScriptExplain.h"
#include "support/WidgetDriver.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {

QStringList shown(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        if (!list->item(i)->isHidden())
            out << list->item(i)->text();
    return out;
}

} // namespace

TEST(Workbench, FiltersFindByIdOrNameAndHideWithoutRemoving) {
    Editor e;
    const QString path = e.dir.write(
        QStringLiteral("aimd.ini"),
        crlf({"[TeamTypes]", "0=TM-1", "1=TM-2", "2=TM-3", "", "[TM-1]", "Name=" + utf8(QStringLiteral("坦克突袭")),
              "[TM-2]", "Name=Rocket", "", "[ScriptTypes]", "0=SC-1", "[SC-1]", "Name=Go", "0=53,0"}));
    e.open(path);
    Window& w = *e.w;
    EXPECT_EQ(items(w.LstFig), (QStringList{"TM-1", "TM-2", "TM-3"})); // an entry's text is its ID

    w.SSTab->setCurrentIndex(1);
    QTest::keyClick(&w.main, Qt::Key_F, Qt::ControlModifier);
    QLineEdit* filter = w.main.findChild<QLineEdit*>(QStringLiteral("TxtFindFig"));
    ASSERT_NE(filter, nullptr);
    EXPECT_TRUE(filter->hasFocus());
    EXPECT_EQ(filter->placeholderText(), QStringLiteral("筛选 ID 或名称"));
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
    ASSERT_EQ(w.LvwScr->topLevelItemCount(), 1);
    EXPECT_EQ(w.LvwScr->topLevelItem(0)->text(1), "53");
    EXPECT_EQ(w.LvwScr->topLevelItem(0)->text(3), QString::fromUtf8(scripts::actionByNumber(53)->name));
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
    EXPECT_EQ(row(check.LvwCheck, 0), (QStringList{QStringLiteral("错误"), QStringLiteral("引用缺失"), "TM-1"}));
    EXPECT_EQ(item->text(3), "12");
    clickRow(check.LvwCheck, 0); // a double click: a click, then the second press
    QTest::mouseDClick(check.LvwCheck->viewport(), Qt::LeftButton, Qt::NoModifier,
                       check.LvwCheck->visualItemRect(item).center());
    EXPECT_EQ(w.SSTab->currentIndex(), 1);
    EXPECT_FALSE(w.LstFig->item(1)->isHidden());
    EXPECT_TRUE(w.LstFig->item(1)->isSelected());
    EXPECT_EQ(w.TxtTeam->text(), "TM-1");
    EXPECT_EQ(w.TxtTeamName->text(), "One");

    test::writeBytes(path, file("TF-1"));
    w.mCheck->trigger();
    ASSERT_EQ(check.LvwCheck->topLevelItemCount(), 1);
    EXPECT_EQ(check.LvwCheck->topLevelItem(0)->text(0), QStringLiteral("未发现问题"));
    EXPECT_TRUE(e.dialogs.texts().isEmpty());
}
