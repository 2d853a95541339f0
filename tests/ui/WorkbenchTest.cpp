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
