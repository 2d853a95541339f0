// The window 比较文件 through its controls: a kept version and another file compared with the
// open file, and checked records taken across.
#include "support/WidgetDriver.h"
#include "ui/FrmCompare.h"
#include "ui/FrmMain.h"
#include "ui/RegistryTabs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {

// Every row of the tree that is on show, indented by its depth; a checked record "[x]".
QStringList shownRows(QTreeWidget* tree) {
    QStringList out;
    std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int depth) {
        if (item->isHidden())
            return;
        out << QString(depth * 2, ' ') + item->text(0) +
                   (item->checkState(0) == Qt::Checked ? " [x]" : "");
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i), depth + 1);
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        walk(tree->topLevelItem(i), 0);
    return out;
}

} // namespace

TEST(CompareWindow, VersionAndFileComparedAndTakenAcross) {
    Editor e;
    const QByteArray original = "[TaskForces]\n0=TF-A\n[TF-A]\nName=A\n0=1,E1\nGroup=-1\n";
    const QString path = e.dir.write(QStringLiteral("ai.ini"), original);
    e.open(path);
    ASSERT_TRUE(e.document
                    ->edit([](const QByteArray& c, const TextCodec&) {
                        return std::optional<QByteArray>(QByteArray(c).replace("1,E1", "2,E1"));
                    })
                    .ok());
    e.dialogs.clear();
    e.main->findChild<QAction*>(QStringLiteral("mCompare"))->trigger();
    auto* frm = e.main->findChild<FrmCompare*>(QStringLiteral("FrmCompare"));
    ASSERT_TRUE(frm && frm->isVisible());
    auto* tree = frm->findChild<QTreeWidget*>(QStringLiteral("TvwCompare"));
    auto* versions = frm->findChild<QComboBox*>(QStringLiteral("CboCompareVersion"));
    ASSERT_EQ(versions->count(), 1);
    EXPECT_TRUE(versions->itemText(0).endsWith(QStringLiteral(" 的版本")));
    // From the version to the open file.
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("比较：0 处新增，0 处删除，1 处修改"));
    EXPECT_EQ(shownRows(tree), (QStringList{"特遣小队", "  TF-A A（修改）", "    0：1,E1 → 2,E1"}));
    frm->findChild<QCheckBox*>(QStringLiteral("ChkCompareSame"))->setChecked(true);
    EXPECT_EQ(shownRows(tree).size(), 3);

    // Taking the record puts the version's content back, in one write.
    tree->topLevelItem(0)->child(0)->setCheckState(0, Qt::Checked);
    click(frm->findChild<QPushButton*>(QStringLiteral("CmdCompareTake")));
    EXPECT_EQ(readBytes(path), original);
    EXPECT_TRUE(e.main->statusBar()->currentMessage().endsWith(
        QStringLiteral("已采用：新增 0 个，修改 1 个，删除 0 个")))
        << e.main->statusBar()->currentMessage().toStdString();
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("比较：0 处新增，0 处删除，0 处修改"));

    // Another file: its own record reads 删除 (only there), and is added when taken.
    e.dialogs.files.push_back(
        e.dir.write(QStringLiteral("other.ini"),
                    original + "[TaskForces]\n1=TF-B\n[TF-B]\nName=B\n0=1,HTNK\n"));
    click(frm->findChild<QPushButton*>(QStringLiteral("CmdCompareFile")));
    EXPECT_EQ(shownRows(tree), (QStringList{"特遣小队", "  TF-A A", "  TF-B B（删除）"}));
    auto* find = frm->findChild<QLineEdit*>(QStringLiteral("TxtCompareFind"));
    find->setText(QStringLiteral("htnk"));
    EXPECT_EQ(shownRows(tree), (QStringList{"特遣小队", "  TF-B B（删除）"}));
    find->clear();
    tree->topLevelItem(0)->child(1)->setCheckState(0, Qt::Checked);
    click(frm->findChild<QPushButton*>(QStringLiteral("CmdCompareTake")));
    EXPECT_TRUE(readBytes(path).contains("[TF-B]\nName=B\n0=1,HTNK\n"));
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("比较：0 处新增，0 处删除，0 处修改"));
    // A double-click selects the record in the main window.
    emit tree->itemDoubleClicked(tree->topLevelItem(0)->child(1), 0);
    EXPECT_EQ(e.main->tabs().selected(RegistryTabs::Kind::TaskForce), QStringLiteral("TF-B"));
    EXPECT_TRUE(e.dialogs.messages.empty());
}
