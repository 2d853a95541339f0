#include "support/WidgetDriver.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {

const QList<QByteArray> kRules{"[TaskForces]",
                               "0=TF-A",
                               "1=TF-B",
                               "2=TF-C",
                               "3=TF-D",
                               "",
                               "[TF-A]",
                               "Name=Rhinos",
                               "0=3,HTNK",
                               "1=1,A,B",
                               "Group=-1",
                               "",
                               "[TF-B]",
                               "Name=Dogs",
                               "0=2,ADOG",
                               "Group=-1",
                               "1=1,MTNK",
                               "",
                               "[TF-C]",
                               "Name=Empty",
                               "Group=-1",
                               "",
                               "[TF-D]",
                               "Name=Bad",
                               "0=2x,E1",
                               "Group=-1",
                               "",
                               "[ScriptTypes]",
                               "0=SC-A",
                               "",
                               "[SC-A]",
                               "Name=Go",
                               "0=53,0",
                               "",
                               "[AITriggerTypes]",
                               "T1=One,TM-1,<all>",
                               "",
                               "[TeamTypes]",
                               "0=TM-1",
                               "",
                               "[TM-1]",
                               "Name=Team"};

struct TaskForceFrame : ::testing::Test {
    Editor e{false};
    QString path;
    Window& w = *e.w;

    void SetUp() override {
        writePanelDataFiles(e.dir);
        path = e.dir.write(QStringLiteral("aimd.ini"), crlf(kRules));
        e.open(path);
    }
    QByteArray file() const { return readBytes(path); }
    // The fixture with some lines replaced (index in kRules → new lines).
    static QByteArray rulesWith(std::initializer_list<std::pair<int, QList<QByteArray>>> edits) {
        QList<QByteArray> lines;
        for (int i = 0; i < kRules.size(); ++i) {
            bool replaced = false;
            for (const auto& [at, with] : edits) {
                if (at == i) {
                    lines << with;
                    replaced = true;
                }
            }
            if (!replaced)
                lines << kRules[i];
        }
        return crlf(lines);
    }
    QList<QStringList> rows() const {
        QList<QStringList> out;
        for (int i = 0; i < rowCount(w.LvwSpe); ++i)
            out << row(w.LvwSpe, i);
        return out;
    }
};

const ShownMessage kSaved = plain(QStringLiteral("特遣小队已保存！"));
const ShownMessage kBadNumbering = plain(QStringLiteral("输入不合法！"));

} // namespace

TEST_F(TaskForceFrame, SelectingShowsTheTaskForceAndItsFirstRow) {
    w.main.kit().focus().selectRowQuietly(w.LstRoot, 0);
    w.main.kit().focus().selectRowQuietly(w.LstFig, 0);
    w.main.kit().focus().selectRowQuietly(w.LstScr, 0);
    clickRow(w.LstSpe, 0);
    EXPECT_TRUE(e.dialogs.messages.empty());
    EXPECT_EQ(w.TxtSpe->text(), "TF-A");
    EXPECT_EQ(w.TxtName->text(), "TF-A");
    EXPECT_EQ(w.TxtNote->text(), "");
    EXPECT_EQ(w.TxtSpeName->text(), "Rhinos");
    EXPECT_EQ(rows(), (QList<QStringList>{{"0", "3", "HTNK"}, {"1", "1", "A,B"}}));
    EXPECT_EQ(w.TxtID->text(), "0");
    EXPECT_EQ(w.TxtSpeNum->text(), "3");
    EXPECT_EQ(w.CboSpeE->currentText(), "HTNK");
    for (QAbstractItemView* other : {w.LstRoot, w.LstFig, w.LstScr})
        EXPECT_TRUE(selectedRows(other).isEmpty()) << other->objectName().toStdString();

    clickRow(w.LvwSpe, 1);
    EXPECT_EQ(w.TxtID->text(), "1");
    EXPECT_EQ(w.TxtSpeNum->text(), "1");
    EXPECT_EQ(w.CboSpeE->currentText(), "A,B");

    // A task force without rows has no row to show in the entry fields.
    clickRow(w.LstSpe, 2);
    EXPECT_EQ(w.TxtSpeName->text(), "Empty");
    EXPECT_TRUE(rows().isEmpty());
    for (const QString& field : {w.TxtID->text(), w.TxtSpeNum->text(), w.CboSpeE->currentText()})
        EXPECT_EQ(field, "");
}

// A value typed where no row takes it is refused by the save, never dropped as saved.
TEST_F(TaskForceFrame, AValueNoRowTakesIsRefusedBySaveNotDropped) {
    clickRow(w.LstSpe, 2); // no rows
    const QByteArray before = file();
    replaceText(w.TxtSpeNum, "5");
    click(w.CmdSaveSpe);
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{
                  info(QStringLiteral("“数量”中的值没有对应的行，请先选择或添加一行"), "错误")});
    EXPECT_EQ(file(), before);
}

TEST_F(TaskForceFrame, SavingUnchangedKeepsTheFileAndConfirms) {
    const QByteArray before = file();
    clickRow(w.LstSpe, 0);
    click(w.CmdSaveSpe);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{kSaved});
    EXPECT_EQ(file(), before);

    // Nothing on show: nothing happens.
    w.TxtSpe->clear();
    e.dialogs.clear();
    click(w.CmdSaveSpe);
    EXPECT_TRUE(e.dialogs.messages.empty());
}

TEST_F(TaskForceFrame, EntriesAfterTheGroupLineAreRowsAndStayWhereTheyStand) {
    clickRow(w.LstSpe, 1);
    EXPECT_EQ(rows(), (QList<QStringList>{{"0", "2", "ADOG"}, {"1", "1", "MTNK"}}));
    click(w.CmdSaveSpe);
    EXPECT_EQ(file(), crlf(kRules));
    clickRow(w.LvwSpe, 1);
    replaceText(w.TxtSpeNum, "4");
    click(w.CmdSaveSpe);
    EXPECT_EQ(file(), rulesWith({{16, {"1=4,MTNK"}}}));
}

TEST_F(TaskForceFrame, CountAndUnitFollowTheFieldsIntoTheSelectedRow) {
    w.CboSpeE->addItems({"HTNK", "MTNK"});
    clickRow(w.LstSpe, 0);
    clickRow(w.LvwSpe, 1);
    replaceText(w.TxtSpeNum, QStringLiteral("1x"));
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{info(QStringLiteral("数量输入不合法！"), "错误")});
    EXPECT_EQ(w.TxtSpeNum->text(), "1");
    replaceText(w.TxtSpeNum, QStringLiteral("4"));
    chooseItem(w.CboSpeE, 1);
    EXPECT_EQ(w.CboSpeC->currentText(), QStringLiteral("灰熊坦克"));
    EXPECT_EQ(rows(), (QList<QStringList>{{"0", "3", "HTNK"}, {"1", "4", "MTNK"}}));
    // The file follows only with the save.
    EXPECT_EQ(file(), crlf(kRules));
    e.dialogs.clear();
    click(w.CmdSaveSpe);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{kSaved});
    EXPECT_EQ(file(), rulesWith({{9, {"1=4,MTNK"}}}));

    // The number field filters digits but the rows do not follow it.
    e.dialogs.clear();
    replaceText(w.TxtID, QStringLiteral("7-"));
    EXPECT_EQ(e.dialogs.texts(), QStringList{QStringLiteral("特遣小队ID输入不合法！")});
    EXPECT_EQ(w.TxtID->text(), "7");
    EXPECT_EQ(row(w.LvwSpe, 1).at(0), "1");
}

TEST_F(TaskForceFrame, ACountThatIsNoNumberIsShortenedWhenTheRowIsShown) {
    clickRow(w.LstSpe, 3);
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{info(QStringLiteral("数量输入不合法！"), "错误")});
    EXPECT_EQ(rows(), (QList<QStringList>{{"0", "2", "E1"}}));
}

TEST_F(TaskForceFrame, NumberingCheckAndRowRemoval) {
    clickRow(w.LstSpe, 0);
    clickRow(w.LvwSpe, 0);
    // Answering No keeps the row.
    click(w.CmdSpeTypeKill);
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{question(QStringLiteral("确定删除吗？注意正确选定删除项"),
                                                 QStringLiteral("提示"))});
    EXPECT_EQ(rows().size(), 2);
    // Removing row 0 leaves row 1 as the last row of one: the save is refused.
    e.dialogs.clear();
    e.dialogs.answers.push_back(MsgAnswer::Yes);
    click(w.CmdSpeTypeKill);
    EXPECT_EQ(rows(), (QList<QStringList>{{"1", "1", "A,B"}}));
    click(w.CmdSaveSpe);
    EXPECT_EQ(e.dialogs.messages.back(), kBadNumbering);
    EXPECT_EQ(file(), crlf(kRules));

    // With no rows the task force is saved as its Name and Group lines.
    e.dialogs.clear();
    e.dialogs.answers.push_back(MsgAnswer::Yes);
    clickRow(w.LvwSpe, 0);
    click(w.CmdSpeTypeKill);
    EXPECT_TRUE(rows().isEmpty());
    click(w.CmdSpeTypeKill); // nothing left: no question
    click(w.CmdSaveSpe);
    EXPECT_EQ(e.dialogs.texts(), (QStringList{QStringLiteral("确定删除吗？注意正确选定删除项"),
                                              QStringLiteral("特遣小队已保存！")}));
    EXPECT_EQ(file(), rulesWith({{8, {}}, {9, {}}}));
}

TEST_F(TaskForceFrame, AddModeAppendsARowAndRefusesADuplicateNumber) {
    clickRow(w.LstSpe, 0);
    w.TxtID->clear();
    click(w.CmdSpeTypeAdd); // add mode, the fields emptied and the next number offered
    EXPECT_EQ(w.CmdSpeTypeAdd->text(), QStringLiteral("写入"));
    EXPECT_FALSE(w.LvwSpe->isEnabled());
    EXPECT_EQ(w.TxtID->text(), "2");
    EXPECT_EQ(w.TxtID->selectedText(), "2");
    EXPECT_EQ(w.TxtSpeNum->text(), "");
    EXPECT_EQ(w.CboSpeE->currentText(), "");
    // Clearing the fields did not clear the selected row.
    EXPECT_EQ(row(w.LvwSpe, 0), (QStringList{"0", "3", "HTNK"}));
    click(w.CmdSpeTypeAdd); // an empty field: nothing is written
    EXPECT_EQ(w.CmdSpeTypeAdd->text(), QStringLiteral("写入"));
    EXPECT_EQ(rows().size(), 2);

    replaceText(w.TxtID, "1");
    replaceText(w.TxtSpeNum, "5");
    replaceText(w.CboSpeE, "MTNK");
    EXPECT_EQ(row(w.LvwSpe, 0), (QStringList{"0", "3", "HTNK"})); // add mode: no live edit
    click(w.CmdSpeTypeAdd);
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{plain(QStringLiteral("ID重复，请重新输入！"))});
    EXPECT_EQ(w.CmdSpeTypeAdd->text(), QStringLiteral("写入"));
    EXPECT_EQ(rows().size(), 2);

    replaceText(w.TxtID, "2");
    click(w.CmdSpeTypeAdd);
    EXPECT_EQ(w.CmdSpeTypeAdd->text(), QStringLiteral("添加"));
    EXPECT_TRUE(w.LvwSpe->isEnabled());
    EXPECT_EQ(row(w.LvwSpe, 2), (QStringList{"2", "5", "MTNK"}));
    e.dialogs.clear();
    click(w.CmdSaveSpe);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{kSaved});
    EXPECT_EQ(file(), rulesWith({{9, {"1=1,A,B", "2=5,MTNK"}}}));
}

// 上移 and 下移 move the selected row and number the rows again in their new order, as
// an edit of the panel; the ends stay put.
TEST_F(TaskForceFrame, RowsMoveUpAndDownAsAnEditAndTheSaveWritesTheNewOrder) {
    clickRow(w.LstSpe, 0);
    clickRow(w.LvwSpe, 0);
    click(w.CmdSpeUp); // the first row cannot go up
    EXPECT_EQ(rows(), (QList<QStringList>{{"0", "3", "HTNK"}, {"1", "1", "A,B"}}));
    EXPECT_FALSE(w.FraSpe->title().endsWith(" *"));
    click(w.CmdSpeDown);
    EXPECT_EQ(rows(), (QList<QStringList>{{"0", "1", "A,B"}, {"1", "3", "HTNK"}}));
    EXPECT_EQ(selectedRows(w.LvwSpe), QList<int>{1});
    EXPECT_EQ(w.TxtID->text(), "1");
    EXPECT_TRUE(w.FraSpe->title().endsWith(" *"));
    click(w.CmdSpeDown); // the last row cannot go down
    EXPECT_EQ(selectedRows(w.LvwSpe), QList<int>{1});
    click(w.CmdSaveSpe);
    EXPECT_EQ(file(), rulesWith({{8, {"0=1,A,B"}}, {9, {"1=3,HTNK"}}}));
}

TEST_F(TaskForceFrame, AddingTaskForces) {
    auto add = [&](const QString& answer) {
        e.dialogs.clear();
        e.dialogs.promptAnswers.push_back(answer);
        click(w.CmdSpeAdd);
    };
    add(QStringLiteral("NODASH"));
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{
                                      plain(QStringLiteral("输入不合法"), QStringLiteral("错误"))});
    ASSERT_EQ(e.dialogs.prompts.size(), 1u);
    EXPECT_EQ(e.dialogs.prompts[0].text, QStringLiteral("输入新增特遣小队名称（英文）"));
    EXPECT_EQ(e.dialogs.prompts[0].title, QStringLiteral("新增"));
    add(QStringLiteral("A-1,B"));
    EXPECT_EQ(e.dialogs.texts(), QStringList{QStringLiteral("输入不合法")});
    add(QStringLiteral("TF-B"));
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{
                                      info(QStringLiteral("小队名称重复，请重新输入！"), "错误")});
    add(QString()); // cancelled
    EXPECT_TRUE(e.dialogs.messages.empty());
    EXPECT_EQ(file(), crlf(kRules));

    add(QStringLiteral("tf-b"));
    EXPECT_TRUE(e.dialogs.messages.empty());
    EXPECT_EQ(items(w.LstSpe), (QStringList{"TF-A", "TF-B", "TF-C", "TF-D", "tf-b"}));
    EXPECT_EQ(w.TaskForceCount(), 5);
    EXPECT_EQ(file(), rulesWith({{4, {"3=TF-D", "4=tf-b", "", "[tf-b]", "Name=", "Group=-1"}}}));
    EXPECT_EQ(w.TxtSpe->text(), ""); // the new one is not shown
}

TEST_F(TaskForceFrame, DeletingRenumbersAndRemovesTheSection) {
    clickRow(w.LstSpe, 1);
    e.dialogs.clear();
    click(w.CmdSpeKill); // answered No
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{question(QStringLiteral("确定删除？"),
                                                                     QStringLiteral("提示"))});
    EXPECT_EQ(file(), crlf(kRules));

    e.dialogs.answers.push_back(MsgAnswer::Yes);
    click(w.CmdSpeKill);
    EXPECT_EQ(items(w.LstSpe), (QStringList{"TF-A", "TF-C", "TF-D"}));
    EXPECT_EQ(w.TaskForceCount(), 3);
    EXPECT_EQ(w.TxtSpe->text(), "TF-B"); // left as it was
    EXPECT_EQ(file(), rulesWith({{2, {}},
                                 {3, {"1=TF-C"}},
                                 {4, {"2=TF-D"}},
                                 {12, {}},
                                 {13, {}},
                                 {14, {}},
                                 {15, {}},
                                 {16, {}}}));
    // The script registry is untouched, and the next add takes number 3.
    e.dialogs.promptAnswers.push_back(QStringLiteral("TF-E"));
    click(w.CmdSpeAdd);
    EXPECT_TRUE(
        file().contains("2=TF-D\r\n3=TF-E\r\n\r\n[TF-E]\r\nName=\r\nGroup=-1\r\n\r\n[TF-A]"));
    EXPECT_TRUE(file().contains("[ScriptTypes]\r\n0=SC-A\r\n"));
}

TEST_F(TaskForceFrame, AutoSaveSavesTheTaskForceOnShowFirst) {
    e.dialogs.answers.push_back(MsgAnswer::Yes);
    w.mYes_Click();
    clickRow(w.LstSpe, 0);
    e.dialogs.clear();
    clickRow(w.LvwSpe, 0);
    replaceText(w.TxtSpeNum, "9");
    clickRow(w.LstSpe, 2);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{kSaved});
    EXPECT_EQ(file(), rulesWith({{8, {"0=9,HTNK"}}}));
    EXPECT_EQ(w.TxtSpeName->text(), "Empty");

    // Rows that fail the numbering check are reported, and the user stays with them.
    clickRow(w.LstSpe, 0);
    setCell(w.LvwSpe, 1, 0, "5");
    e.dialogs.clear();
    clickRow(w.LstSpe, 1);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{kBadNumbering});
    EXPECT_EQ(w.TxtSpeName->text(), "Rhinos");
    EXPECT_EQ(currentRow(w.LstSpe), 0);
}

TEST_F(TaskForceFrame, TheTeamTypesTaskForceListShowsEntryZero) {
    w.main.kit().focus().selectRowQuietly(w.LstRoot, 0);
    w.LstSpeAdd->item(0)->setText("TF-B");
    clickRow(w.LstSpeAdd, 0);
    EXPECT_EQ(w.TxtSpe->text(), "TF-B");
    EXPECT_EQ(w.TxtSpeName->text(), "Dogs");
    EXPECT_EQ(w.TxtSpeNum->text(), "2");
    EXPECT_EQ(selectedRows(w.LstRoot).size(), 1); // other lists keep their selection
    EXPECT_EQ(w.TxtName->text(), "");

    // An empty entry empties the ID and shows no task force; a save then does nothing.
    w.LstSpeAdd->item(0)->setText(QString());
    clickRow(w.LstSpeAdd, 0);
    EXPECT_EQ(w.TxtSpe->text(), "");
    EXPECT_EQ(w.TxtSpeName->text(), "");
    EXPECT_EQ(rows().size(), 0);
    click(w.CmdSaveSpe);
    EXPECT_TRUE(e.dialogs.messages.empty());
    EXPECT_EQ(file(), crlf(kRules));
}

TEST_F(TaskForceFrame, CopyPutsTheIdOnTheClipboard) {
    clickRow(w.LstSpe, 2);
    click(w.CmdSpeCopy);
    EXPECT_EQ(e.dialogs.clipboard, QStringList{"TF-C"});
    click(w.CmdCE2); // does nothing
    EXPECT_TRUE(e.dialogs.messages.empty());
}

// Script steps are not pasted into a task force; a bad new row is named by the save.
TEST_F(TaskForceFrame, RowsOfAScriptAreNotPastedAndBadNewRowsAreNotSaved) {
    clickRow(w.LstScr, 0);
    QTest::keyClick(w.LvwScr, Qt::Key_C, Qt::ControlModifier);
    clickRow(w.LstSpe, 0);
    QTest::keyClick(w.LvwSpe, Qt::Key_V, Qt::ControlModifier);
    e.dialogs.clipboardKind.clear(); // the same text from another program
    e.dialogs.clipboard << "2,mtnk\n53,0";
    QTest::keyClick(w.LvwSpe, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(rows().size(), 4);
    click(w.CmdSaveSpe);
    EXPECT_EQ(e.dialogs.messages, (std::vector<ShownMessage>{
                                      info("剪贴板中是脚本的行，不能粘贴到特遣小队", "错误"),
                                      info("第 4 行（ID 3）的单位 0 不在单位名称表中", "错误")}));
    EXPECT_EQ(file(), crlf(kRules));
}

TEST(TaskForcePanelWithoutFile, AddOnlyFillsTheListAndRowsStillWork) {
    Editor e(false);
    writePanelDataFiles(e.dir);
    e.dialogs.promptAnswers.push_back(QStringLiteral("TF-X"));
    click(e.w->CmdSpeAdd);
    EXPECT_EQ(items(e.w->LstSpe), QStringList{"TF-X"});
    EXPECT_EQ(e.w->TaskForceCount(), 0);
    clickRow(e.w->LstSpe, 0);
    EXPECT_EQ(e.w->TxtSpe->text(), "TF-X");
    click(e.w->CmdSaveSpe); // no file: no message
    EXPECT_TRUE(e.dialogs.messages.empty());
}

TEST_F(TaskForceFrame, DeletingWithAnEmptyIdChangesNothing) {
    EXPECT_FALSE(w.DeleteTaskForce(QString()));
    EXPECT_FALSE(w.DeleteScriptType(QString()));
    EXPECT_EQ(file(), crlf(kRules));
    EXPECT_EQ(w.TaskForceCount(), 4);
    EXPECT_EQ(w.ScriptTypeCount(), 1);
}
