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

QByteArray rules() {
    return crlf({"[TaskForces]",
                 "0=TF-A",
                 "",
                 "[TF-A]",
                 "Name=Rhinos",
                 "0=3,HTNK",
                 "Group=-1",
                 "",
                 "[ScriptTypes]",
                 "0=SC-A",
                 "1=SC-B",
                 "2=SC-C",
                 "",
                 "[SC-A]",
                 "Name=Go",
                 "0=53,0",
                 "1=47,2",
                 "",
                 "[SC-B]",
                 "Name=" + gbk(QStringLiteral("建造")),
                 "0=46,5",
                 "[SC-C]",
                 "Name=c",
                 "0=5",
                 "1=0,0"});
}

struct ScriptFrame : ::testing::Test {
    Editor e{false};
    QString path;
    Window& w = *e.w;

    void SetUp() override {
        writePanelDataFiles(e.dir);
        path = e.dir.write(QStringLiteral("aimd.ini"), rules());
        e.open(path);
    }
    QByteArray file() const { return readBytes(path); }
    QList<QStringList> rows() const {
        QList<QStringList> out;
        for (int i = 0; i < rowCount(w.LvwScr); ++i)
            out << row(w.LvwScr, i);
        return out;
    }
};

const ShownMessage kSaved = plain(QStringLiteral("脚本已保存！"));

} // namespace

TEST_F(ScriptFrame, SelectingShowsTheScriptAndTheBuildingRule) {
    w.main.kit().focus().selectRowQuietly(w.LstSpe, 0);
    w.TxtScrUnitE->setText(QStringLiteral("GAPOWR"));
    clickRow(w.LstScr, 0);
    EXPECT_TRUE(e.dialogs.messages.empty());
    EXPECT_EQ(w.TxtScr->text(), "SC-A");
    EXPECT_EQ(w.TxtName->text(), "SC-A");
    EXPECT_EQ(w.TxtScrName->text(), "Go");
    EXPECT_EQ(rows(), (QList<QStringList>{{"0", "53", "0"}, {"1", "47", "2"}}));
    EXPECT_EQ(w.TxtScrID->text(), "0");
    EXPECT_EQ(w.TxtAct->text(), "53");
    EXPECT_EQ(w.TxtNumber->text(), "0");
    EXPECT_TRUE(selectedRows(w.LstSpe).isEmpty());
    // Action 53 is no building action.
    EXPECT_EQ(w.TxtScrUnitE->text(), "");

    w.TxtScrUnitE->setText(QStringLiteral("GAPOWR"));
    clickRow(w.LvwScr, 1);
    EXPECT_EQ(w.TxtAct->text(), "47");
    EXPECT_EQ(w.TxtNumber->text(), "2");
    EXPECT_EQ(w.TxtScrUnitE->text(), "GAPOWR");
    clickRow(w.LvwScr, 0);
    EXPECT_EQ(w.TxtScrUnitE->text(), "");

    clickRow(w.LstScr, 1);
    EXPECT_EQ(w.TxtScrName->text(), QStringLiteral("建造"));
}

TEST_F(ScriptFrame, SavingKeepsUnchangedScriptsByteForByte) {
    for (int i = 0; i < 3; ++i) {
        clickRow(w.LstScr, i);
        click(w.CmdSaveScr);
    }
    EXPECT_EQ(e.dialogs.messages, (std::vector<ShownMessage>{kSaved, kSaved, kSaved}));
    EXPECT_EQ(file(), rules());

    w.TxtScrName->setText(QStringLiteral("新名"));
    e.dialogs.clear();
    click(w.CmdSaveScr);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{kSaved});
    EXPECT_TRUE(
        file().endsWith(crlf({"[SC-C]", "Name=" + gbk(QStringLiteral("新名")), "0=5", "1=0,0"})));
}

TEST_F(ScriptFrame, AddModeAndNumberingCheck) {
    clickRow(w.LstScr, 0);
    click(w.CmdScrTypeAdd);
    EXPECT_EQ(w.CmdScrTypeAdd->text(), QStringLiteral("写入"));
    EXPECT_FALSE(w.LvwScr->isEnabled());
    EXPECT_EQ(w.TxtScrID->text() + w.TxtAct->text() + w.TxtNumber->text(), "2"); // the next number
    replaceText(w.TxtScrID, "0");
    replaceText(w.TxtAct, "49");
    replaceText(w.TxtNumber, "0");
    click(w.CmdScrTypeAdd);
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{plain(QStringLiteral("ID重复，请重新输入！"))});
    replaceText(w.TxtScrID, "3");
    click(w.CmdScrTypeAdd);
    EXPECT_TRUE(w.LvwScr->isEnabled());
    EXPECT_EQ(row(w.LvwScr, 2), (QStringList{"3", "49", "0"}));
    // Rows 0, 1, 3: the last number does not fit.
    e.dialogs.clear();
    click(w.CmdSaveScr);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{plain(QStringLiteral("输入不合法！"))});
    EXPECT_EQ(file(), rules());

    e.dialogs.clear();
    e.dialogs.answers.push_back(MsgAnswer::Yes);
    clickRow(w.LvwScr, 2);
    click(w.CmdScrTypeKill);
    click(w.CmdScrTypeAdd); // the fields still hold the removed row: add mode starts
    replaceText(w.TxtScrID, "2");
    replaceText(w.TxtAct, "49");
    replaceText(w.TxtNumber, "0");
    click(w.CmdScrTypeAdd);
    click(w.CmdSaveScr);
    EXPECT_EQ(e.dialogs.texts(), (QStringList{QStringLiteral("确定删除吗？注意正确选定删除项"),
                                              QStringLiteral("脚本已保存！")}));
    EXPECT_TRUE(
        file().contains(crlf({"[SC-A]", "Name=Go", "0=53,0", "1=47,2", "2=49,0", "", "[SC-B]"})));
}

TEST_F(ScriptFrame, AddingAndDeletingScriptsLeavesTheTaskForceRegistry) {
    e.dialogs.promptAnswers.push_back(QStringLiteral("SC-D"));
    click(w.CmdScrAdd);
    ASSERT_EQ(e.dialogs.prompts.size(), 1u);
    EXPECT_EQ(e.dialogs.prompts[0].text, QStringLiteral("输入脚本名称（英文）"));
    EXPECT_EQ(w.ScriptTypeCount(), 4);
    EXPECT_TRUE(file().contains(crlf({"2=SC-C", "3=SC-D", "", "[SC-D]", "Name=", "", "[SC-A]"})));

    e.dialogs.promptAnswers.push_back(QStringLiteral("SC-A"));
    click(w.CmdScrAdd);
    EXPECT_EQ(e.dialogs.texts(), QStringList{QStringLiteral("小队名称重复，请重新输入！")});

    clickRow(w.LstScr, 0);
    e.dialogs.clear();
    e.dialogs.answers.push_back(MsgAnswer::Yes);
    click(w.CmdScrKill);
    EXPECT_EQ(items(w.LstScr), (QStringList{"SC-B", "SC-C", "SC-D"}));
    EXPECT_EQ(w.ScriptTypeCount(), 3);
    const QByteArray now = file();
    EXPECT_TRUE(now.startsWith(crlf({"[TaskForces]", "0=TF-A", "", "[TF-A]"})));
    EXPECT_TRUE(now.contains(crlf({"[ScriptTypes]", "0=SC-B", "1=SC-C", "2=SC-D", ""})));
    EXPECT_FALSE(now.contains("[SC-A]"));
    EXPECT_FALSE(now.contains("Name=Go"));

    // A later save under the deleted ID changes nothing and says so.
    e.dialogs.clear();
    click(w.CmdSaveScr);
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{
                  info(QStringLiteral("文件中没有这个脚本，未保存！"), QStringLiteral("错误"))});
    EXPECT_EQ(file(), now);
}

TEST_F(ScriptFrame, TheTeamTypesScriptListAndCopy) {
    w.main.kit().focus().selectRowQuietly(w.LstSpe, 0);
    w.LstScrAdd->item(0)->setText("SC-B");
    clickRow(w.LstScrAdd, 0);
    EXPECT_EQ(w.TxtScr->text(), "SC-B");
    EXPECT_EQ(w.TxtAct->text(), "46");
    EXPECT_EQ(selectedRows(w.LstSpe).size(), 1);
    click(w.CmdScrCopy);
    EXPECT_EQ(e.dialogs.clipboard, QStringList{"SC-B"});
}

TEST(NewTaskForceAndScript, AreBuiltInAnEmptyFileAndComeBackAfterReopening) {
    Editor e(false);
    writePanelDataFiles(e.dir);
    Window& w = *e.w;
    const QByteArray empty =
        crlf({"[AITriggerTypes]", "", "[TeamTypes]", "", "[TaskForces]", "", "[ScriptTypes]"});
    const QString path = e.dir.write(QStringLiteral("aimd.ini"), empty);
    e.open(path);
    e.dialogs.promptAnswers = {QStringLiteral("TF-NEW"), QStringLiteral("SC-NEW")};
    click(w.CmdSpeAdd);
    click(w.CmdScrAdd);

    // One row for each, typed through add mode: the fields are filled once, the first
    // click enters add mode, the second writes the row.
    using Fields = std::vector<std::pair<QWidget*, QString>>;
    auto addRow = [&](QPushButton* button, const Fields& fields) {
        for (const auto& [f, text] : fields)
            replaceText(f, text);
        click(button);
        for (const auto& [f, text] : fields)
            replaceText(f, text);
        click(button);
    };
    clickRow(w.LstSpe, 0);
    w.TxtSpeName->setText(QStringLiteral("新小队"));
    addRow(w.CmdSpeTypeAdd, Fields{{w.TxtID, "0"}, {w.TxtSpeNum, "2"}, {w.CboSpeE, "HTNK"}});
    click(w.CmdSaveSpe);
    clickRow(w.LstScr, 0);
    w.TxtScrName->setText(QStringLiteral("新脚本"));
    addRow(w.CmdScrTypeAdd, Fields{{w.TxtScrID, "0"}, {w.TxtAct, "53"}, {w.TxtNumber, "0"}});
    click(w.CmdSaveScr);
    EXPECT_EQ(e.dialogs.texts(),
              (QStringList{QStringLiteral("特遣小队已保存！"), QStringLiteral("脚本已保存！")}));
    EXPECT_EQ(
        readBytes(path),
        crlf({"[AITriggerTypes]", "", "[TeamTypes]", "", "[TaskForces]", "0=TF-NEW", "", "[TF-NEW]",
              "Name=" + gbk(QStringLiteral("新小队")), "0=2,HTNK", "Group=-1", "", "[ScriptTypes]",
              "0=SC-NEW", "", "[SC-NEW]", "Name=" + gbk(QStringLiteral("新脚本")), "0=53,0"}));

    Editor again(false);
    writePanelDataFiles(again.dir);
    again.open(path);
    clickRow(again.w->LstSpe, 0);
    clickRow(again.w->LstScr, 0);
    EXPECT_EQ(again.w->TxtSpeName->text(), QStringLiteral("新小队"));
    EXPECT_EQ(row(again.w->LvwSpe, 0), (QStringList{"0", "2", "HTNK"}));
    EXPECT_EQ(again.w->TxtScrName->text(), QStringLiteral("新脚本"));
    EXPECT_EQ(row(again.w->LvwScr, 0), (QStringList{"0", "53", "0"}));
}

TEST(ShippedSampleSections, SavingEveryTaskForceAndScriptUnchangedKeepsTheFile) {
    Editor e;
    Window& w = *e.w;
    const QString path = e.dir.write(QStringLiteral("aimd.ini"),
                                     readBytes(shippedDataDir() + QStringLiteral("/aimd.ini")));
    e.open(path);
    const QByteArray before = readBytes(path);
    ASSERT_GT(rowCount(w.LstSpe), 0);
    ASSERT_GT(rowCount(w.LstScr), 0);
    QStringList expected;
    for (int i = 0; i < rowCount(w.LstSpe); ++i) {
        clickRow(w.LstSpe, i);
        ASSERT_GT(rowCount(w.LvwSpe), 0) << i;
        click(w.CmdSaveSpe);
        expected << QStringLiteral("特遣小队已保存！");
    }
    for (int i = 0; i < rowCount(w.LstScr); ++i) {
        clickRow(w.LstScr, i);
        ASSERT_GT(rowCount(w.LvwScr), 0) << i;
        click(w.CmdSaveScr);
        expected << QStringLiteral("脚本已保存！");
    }
    EXPECT_EQ(e.dialogs.texts(), expected);
    EXPECT_EQ(readBytes(path), before);
}

// Ctrl+C and Ctrl+V in the step list copy rows between scripts through the dialogs'
// clipboard; in a text box they stay the box's own.
TEST_F(ScriptFrame, RowsAreCopiedAndPastedBetweenScriptsThroughTheClipboard) {
    clickRow(w.LstScr, 0);
    clickRow(w.LvwScr, 0);
    QTest::mouseClick(w.LvwScr->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      w.LvwScr->visualRect(w.LvwScr->model()->index(1, 0)).center());
    QTest::keyClick(w.LvwScr, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(e.dialogs.clipboard, QStringList{"53,0\n47,2"});

    clickRow(w.LstScr, 1);
    QTest::keyClick(w.TxtScrName, Qt::Key_V, Qt::ControlModifier); // the box's own paste
    QTest::keyClick(w.LvwScr, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(rows(), (QList<QStringList>{{"0", "46", "5"}, {"1", "53", "0"}, {"2", "47", "2"}}));
    EXPECT_EQ(w.TxtAct->text(), "47"); // the last pasted row on show
    EXPECT_TRUE(w.FraScr->title().endsWith(" *"));

    e.dialogs.clipboard << "0,1\n3,E1";
    QTest::keyClick(w.LvwScr, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(e.dialogs.texts(), QStringList{"剪贴板第 2 行不是脚本的行（动作,参数）：3,E1"});
    EXPECT_EQ(rowCount(w.LvwScr), 3);

    e.dialogs.answers = {MsgAnswer::Yes}; // 删除 takes every selected row: the pasted two
    click(w.CmdScrTypeKill);
    EXPECT_EQ(rows(), (QList<QStringList>{{"0", "46", "5"}}));
}
