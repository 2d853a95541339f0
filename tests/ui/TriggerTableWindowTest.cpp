// The window 触发总表 through its controls: the wiring to the table's rules, the one write
// and the question before its edits are left.
#include "support/WidgetDriver.h"
#include "ui/FrmTable.h"
#include "ui/Messages.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {

QByteArray triggerLine(const char* key, const char* side, const char* base) {
    return QByteArray(key) + ",<none>,<all>,10,0,<none>," + QByteArray(64, '0') + "," + base +
           ".000000,10.000000,70.000000,1,0," + side + ",0,<none>,1,1,0";
}

} // namespace

TEST(TriggerTableWindow, SetsSavesFollowsAndAsksBeforeLeaving) {
    Editor e;
    const QByteArray original =
        crlf({"[AITriggerTypes]", triggerLine("T1=A", "1", "70"), triggerLine("T2=B", "2", "9"),
              triggerLine("T3=C", "1", "500")});
    const QString path = e.dir.write(QStringLiteral("aimd.ini"), original);
    e.open(path);
    e.dialogs.clear();
    e.main->findChild<QAction*>(QStringLiteral("mTriggerTable"))->trigger();
    auto* frm = e.main->findChild<FrmTable*>(QStringLiteral("FrmTable"));
    ASSERT_TRUE(frm && frm->isVisible());
    auto* view = frm->findChild<QTableView*>(QStringLiteral("TblTriggers"));
    const auto child = [frm](const char* name) { return frm->findChild<QWidget*>(name); };
    EXPECT_EQ(rowCount(view), 3);
    EXPECT_EQ(cell(view, 0, triggertable::Id), "T1"); // file order until a header is clicked

    view->sortByColumn(triggertable::Base, Qt::AscendingOrder);
    EXPECT_EQ(cell(view, 0, triggertable::Id), "T2");
    static_cast<QLineEdit*>(child("TxtTableFind"))->setText(QStringLiteral("盟军"));
    ASSERT_EQ(rowCount(view), 2);
    view->selectAll();
    chooseItem(static_cast<QComboBox*>(child("CboTableField")), 0);
    replaceText(child("TxtTableValue"), QStringLiteral("x0.5"));
    click(child("CmdTableSet"));
    chooseItem(static_cast<QComboBox*>(child("CboTableField")), 5);
    replaceText(child("TxtTableValue"), QStringLiteral("1"));
    click(child("CmdTableSet"));
    EXPECT_EQ(cell(view, 0, triggertable::Base), "35");
    EXPECT_EQ(cell(view, 1, triggertable::Hard, Qt::CheckStateRole), Qt::Checked);
    EXPECT_EQ(frm->windowTitle(), "触发总表 *");
    replaceText(child("TxtTableValue"), QStringLiteral("abc"));
    click(child("CmdTableSet"));
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{info(messages::kBadInput, messages::kErrorTitle)});

    click(child("CmdTableSave"));
    EXPECT_EQ(frm->windowTitle(), "触发总表");
    QByteArray saved = original;
    saved.replace(triggerLine("T1=A", "1", "70"), triggerLine("T1=A", "1", "35"));
    saved.replace(triggerLine("T3=C", "1", "500"), triggerLine("T3=C", "1", "250"));
    saved.replace("250.000000,10.000000,70.000000,1,0,1,0,<none>,1,1,0",
                  "250.000000,10.000000,70.000000,1,0,1,0,<none>,1,1,1");
    saved.replace("35.000000,10.000000,70.000000,1,0,1,0,<none>,1,1,0",
                  "35.000000,10.000000,70.000000,1,0,1,0,<none>,1,1,1");
    EXPECT_EQ(readBytes(path), saved);

    // One undo puts the file back, and the table follows it.
    e.main->findChild<QAction*>(QStringLiteral("mUndo"))->trigger();
    EXPECT_EQ(readBytes(path), original);
    EXPECT_EQ(cell(view, 0, triggertable::Base), "70");

    // Edits ask before the window closes: Cancel stays, No drops them.
    setCell(view, 0, triggertable::Base, QStringLiteral("60"));
    e.dialogs.clear();
    e.dialogs.answers = {MsgAnswer::Cancel, MsgAnswer::No};
    frm->close();
    EXPECT_TRUE(frm->isVisible());
    frm->close();
    EXPECT_FALSE(frm->isVisible());
    ASSERT_EQ(e.dialogs.messages.size(), 2u);
    EXPECT_EQ(e.dialogs.messages[0].text, "当前记录已修改，是否保存？");
    EXPECT_EQ(readBytes(path), original);
}
