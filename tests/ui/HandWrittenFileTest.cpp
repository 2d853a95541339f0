// An AI file as modders keep it by hand: UTF-8, comments before and between registry
// entries, blank lines inside sections, indented keys, trailing comments, Name lines
// standing later in their sections, weights without decimals, CR LF or LF line ends.
// Every record opens, saves unchanged without changing a byte, and an edit changes
// exactly the lines of the values edited.
#include "support/WidgetDriver.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

using namespace tarvok;
using namespace tarvok::test;

namespace {

constexpr int kRecords = 120;

QByteArray n(int i) {
    return QByteArray::number(i);
}

QByteArray handWrittenFile(const QByteArray& end) {
    QList<QByteArray> l{"; 手写的 AI 文件", ""};
    l << "[AITriggerTypes] ; 触发";
    for (int i = 0; i < kRecords; ++i) {
        if (i % 10 == 0)
            l << ""
              << "; 第 " + n(i / 10) + " 组";
        l << "  T" + n(i) + " = 触发" + n(i) + ",TM-" + n(i) + ",<all>,10,0,<none>," +
                 QByteArray(64, '0') + ",5000,10,70.5,1,0,1,0,<none>,1,1,1   ; 备注";
    }
    l << ""
      << "[TeamTypes]"
      << "\t; 作战小队";
    for (int i = 0; i < kRecords; ++i)
        l << (i % 7 == 3 ? ";" + n(i) + "=TM-OLD" + n(i)
                         : "\t" + n(i + 1) + "=TM-" + n(i) + " ; 小队");
    l << "";
    for (int i = 0; i < kRecords; ++i)
        l << "[TM-" + n(i) + "]"
          << "  Name=小队" + n(i) << ""
          << "  Priority=" + n(i % 50) + " ; 优先"
          << "\tSuicide=Yes"
          << "  TaskForce=TF-" + n(i) << "  Script=SC-" + n(i) << "";
    l << "[TaskForces]";
    for (int i = 0; i < kRecords; ++i)
        l << "; 特遣" << n(i) + " = TF-" + n(i);
    l << "";
    for (int i = 0; i < kRecords; ++i)
        l << "[TF-" + n(i) + "]"
          << "0=2,E1 ; 大兵"
          << ""
          << "1=1,HTNK"
          << "Name=特遣" + n(i) << "Group=-1"
          << "";
    l << "[ScriptTypes]";
    for (int i = 0; i < kRecords; ++i)
        l << "  " + n(i) + "=SC-" + n(i);
    l << "";
    for (int i = 0; i < kRecords; ++i)
        l << "[SC-" + n(i) + "]"
          << "\t0=0,0"
          << "\tName=脚本" + n(i) << "\t1=53,0 ; 攻击"
          << "";
    return l.join(end) + end;
}

// The lines of content that differ from before's, by number (1-based).
QList<int> changedLines(const QByteArray& before, const QByteArray& after) {
    const QList<QByteArray> a = before.split('\n');
    const QList<QByteArray> b = after.split('\n');
    QList<int> out;
    for (int i = 0; i < std::max(a.size(), b.size()); ++i)
        if (a.value(i) != b.value(i))
            out << i + 1;
    return out;
}

void selectAndSaveEach(Editor& e, QAbstractItemView* list, QPushButton* save) {
    e.w->SSTab->setCurrentWidget(list->parentWidget());
    for (int row = 0; row < rowCount(list); ++row) {
        clickRow(list, row);
        click(save);
    }
}

class HandWrittenFile : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST_P(HandWrittenFile, OpensWhollySavesUnchangedAndChangesOnlyWhatWasEdited) {
    Editor e;
    const QByteArray content = handWrittenFile(GetParam());
    const QString path = e.dir.write(QStringLiteral("aimd.ini"), content);
    e.open(path);
    Window& w = *e.w;
    EXPECT_EQ(rowCount(w.LstRoot), kRecords);
    EXPECT_EQ(cell(w.LstRoot, 5).toString(), QStringLiteral("T5=触发5"));
    int teamEntries = 0; // the commented-out entries are none
    for (int i = 0; i < kRecords; ++i)
        teamEntries += i % 7 == 3 ? 0 : 1;
    EXPECT_EQ(rowCount(w.LstFig), teamEntries);
    EXPECT_EQ(rowCount(w.LstSpe), kRecords);
    EXPECT_EQ(rowCount(w.LstScr), kRecords);
    EXPECT_EQ(w.main.statusBar()->currentMessage(), QString());

    selectAndSaveEach(e, w.LstRoot, w.CmdSaveRoot);
    selectAndSaveEach(e, w.LstFig, w.CmdSaveFig);
    selectAndSaveEach(e, w.LstSpe, w.CmdSaveSpe);
    selectAndSaveEach(e, w.LstScr, w.CmdSaveScr);
    EXPECT_FALSE(e.dialogs.texts().contains(QStringLiteral("输入不合法！")));
    ASSERT_EQ(readBytes(path), content);

    // One value of each kind of record: only its own line changes.
    const auto edit = [&](QAbstractItemView* list, int row, const std::function<void()>& change,
                          QPushButton* save, const QByteArray& lineAfter) {
        w.SSTab->setCurrentWidget(list->parentWidget());
        clickRow(list, row);
        const QByteArray before = readBytes(path);
        change();
        click(save);
        const QByteArray after = readBytes(path);
        const QList<int> changed = changedLines(before, after);
        ASSERT_EQ(changed.size(), 1) << list->objectName().toStdString();
        EXPECT_EQ(after.split('\n')[changed[0] - 1], lineAfter);
    };
    const QByteArray cr = QByteArray(GetParam()) == "\r\n" ? "\r" : "";
    edit(
        w.LstRoot, 7, [&] { w.CboOwner->setEditText(QStringLiteral("3")); }, w.CmdSaveRoot,
        "  T7 = 触发7,TM-7,<all>,10,0,<none>," + QByteArray(64, '0') +
            ",5000,10,70.5,1,0,3,0,<none>,1,1,1   ; 备注" + cr);
    edit(
        w.LstFig, 8, [&] { replaceText(w.TxtPriority, QStringLiteral("44")); }, w.CmdSaveFig,
        "  Priority=44 ; 优先" + cr);
    edit(
        w.LstSpe, 9,
        [&] {
            clickRow(w.LvwSpe, 0);
            replaceText(w.TxtSpeNum, QStringLiteral("5"));
        },
        w.CmdSaveSpe, "0=5,E1 ; 大兵" + cr);
    edit(
        w.LstScr, 10, [&] { w.TxtScrName->setText(QStringLiteral("新脚本")); }, w.CmdSaveScr,
        "\tName=新脚本" + cr);
}

INSTANTIATE_TEST_SUITE_P(LineEnds, HandWrittenFile, ::testing::Values("\r\n", "\n"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(QByteArray(info.param) == "\n" ? "LF" : "CRLF");
                         });
