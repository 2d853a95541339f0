// The editor as a user meets it: selections that bring four records onto their panels,
// the auto-save before a selection and on closing, save-all, the trigger's team list,
// a complete new trigger built in an empty file, and one whole session from the
// welcome window to closing the editor on the shipped sample file.

#include "support/WidgetDriver.h"
#include "ui/Frm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>

using namespace tarvok;
using namespace tarvok::test;

namespace {

const QString kTriggerSaved = QStringLiteral("触发已保存！");
const QString kTeamSaved = QStringLiteral("作战小队已保存！");
const QString kTaskForceSaved = QStringLiteral("特遣小队已保存！");
const QString kScriptSaved = QStringLiteral("脚本已保存！");
const QString kHint = QStringLiteral("提示");

const std::vector<ShownMessage> kFourSaves{plain(kTriggerSaved), plain(kTeamSaved),
                                           plain(kTaskForceSaved), plain(kScriptSaved)};

ShownMessage autoSaveQuestion() {
    return question(QStringLiteral("确定开启自动保存？"), kHint);
}

std::string shown(const ScriptedDialogs& d) {
    return d.texts().join(QLatin1Char('|')).toStdString();
}

QByteArray blockWithAmount(QByteArrayView amount, char way) {
    QByteArray b(64, '0');
    b[0] = amount[0];
    b[1] = amount[1];
    b[9] = way;
    return b;
}

// The 31 lines of a team block with the given values changed from the defaults.
const QByteArray kA1 = "A1=Alpha,TM-A,<all>,5,1,E1," + blockWithAmount("0A", '2') +
                       ",70.000000,10.000000,70.000000,1,0,2,0,<none>,1,1,1";
const QByteArray kB1 = "B1=Beta,TM-B,Russians,3,0,<none>," + blockWithAmount("00", '0') +
                       ",50.000000,10.000000,500.000000,1,0,1,0,TM-A,0,1,1";

// Two triggers, each with its team types, task forces and scripts.
QList<QByteArray> twoTriggers() {
    QList<QByteArray> l{"[AITriggerTypes]",
                        kA1,
                        kB1,
                        "",
                        "[TeamTypes]",
                        "0=TM-A",
                        "1=TM-B",
                        "",
                        "[TaskForces]",
                        "0=TF-A",
                        "1=TF-B",
                        "",
                        "[ScriptTypes]",
                        "0=SC-A",
                        "1=SC-B",
                        "",
                        "[TM-A]"};
    l << newTeamBlock({{"Name", "Alpha team"}, {"Script", "SC-A"}, {"TaskForce", "TF-A"}});
    l << ""
      << "[TM-B]";
    l << newTeamBlock(
        {{"Name", "Beta team"}, {"Priority", "12"}, {"Script", "SC-B"}, {"TaskForce", "TF-B"}});
    l << ""
      << "[TF-A]"
      << "Name=Alpha force"
      << "0=2,E1"
      << "1=3,E2"
      << "Group=-1"
      << ""
      << "[TF-B]"
      << "Name=Beta force"
      << "0=4,HTNK"
      << "Group=-1"
      << ""
      << "[SC-A]"
      << "Name=Alpha script"
      << "0=0,0"
      << "1=53,0"
      << ""
      << "[SC-B]"
      << "Name=Beta script"
      << "0=46,14"
      << "1=0,2";
    return l;
}

// Replaces the one line equal to from.
void replaceLine(QList<QByteArray>& lines, const QByteArray& from, const QByteArray& to) {
    ASSERT_EQ(lines.count(from), 1) << from.toStdString();
    lines[lines.indexOf(from)] = to;
}
void replaceLineAfter(QList<QByteArray>& lines, const QByteArray& header, const QByteArray& from,
                      const QByteArray& to) {
    const int h = lines.indexOf(header);
    ASSERT_GE(h, 0) << header.toStdString();
    const int at = lines.indexOf(from, h);
    ASSERT_GE(at, 0) << from.toStdString();
    lines[at] = to;
}

struct TwoTriggerEditor : Editor {
    TwoTriggerEditor() : Editor(true) {
        dir.write(QStringLiteral("Name.WQ"),
                  crlf({gbk(QStringLiteral("B1=Beta,苏军主力，先防守")), "TM-A,first team"}));
        path = dir.write(QStringLiteral("aimd.ini"), crlf(twoTriggers()));
        open(path);
    }
    QByteArray bytes() const { return readBytes(path); }
    QString path;
};

// Shows trigger A1 with its team type, task force and script, and changes one field of
// each: the amount, the priority, the count of the first unit, the script's name.
void showAndEditTheFirstTrigger(Window& w) {
    clickRow(w.LstRoot, 0);
    ASSERT_EQ(w.TxtRoot->text(), "A1=Alpha");
    ASSERT_EQ(w.TxtSpe->text(), "TF-A");
    ASSERT_EQ(w.TxtScr->text(), "SC-A");
    replaceText(w.TxtKeyNum, "12");
    replaceText(w.TxtPriority, "9");
    replaceText(w.TxtSpeNum, "7");
    replaceText(w.TxtScrName, "Alpha script 2");
}

QList<QByteArray> withTheFirstTriggersEdits() {
    QList<QByteArray> l = twoTriggers();
    replaceLine(l, kA1,
                QByteArray(kA1).replace(blockWithAmount("0A", '2'), blockWithAmount("0C", '2')));
    replaceLineAfter(l, "[TM-A]", "Priority=5", "Priority=9");
    replaceLine(l, "0=2,E1", "0=7,E1");
    replaceLine(l, "Name=Alpha script", "Name=Alpha script 2");
    return l;
}

} // namespace

TEST(TriggerSelection, WithAutoSaveSavesTheFourRecordsOnShowInOrderThenShowsTheNewTrigger) {
    TwoTriggerEditor e;
    Window& w = *e.w;
    showAndEditTheFirstTrigger(w);
    ASSERT_TRUE(e.dialogs.messages.empty()) << shown(e.dialogs);
    e.dialogs.answers = {MsgAnswer::Yes};
    w.mYes->trigger();

    clickRow(w.LstRoot, 1);
    std::vector<ShownMessage> expected{autoSaveQuestion()};
    expected.insert(expected.end(), kFourSaves.begin(), kFourSaves.end());
    EXPECT_EQ(e.dialogs.messages, expected) << shown(e.dialogs);
    // Saved under the keys on show before the click, from the controls as they were.
    EXPECT_EQ(e.bytes(), crlf(withTheFirstTriggersEdits()));

    // The new trigger with its first team type, that team type's task force and script.
    EXPECT_EQ(w.TxtRoot->text(), "B1=Beta");
    EXPECT_EQ(w.CboCountry->currentText(), "Russians");
    EXPECT_EQ(w.TxtName->text(), "B1=Beta");
    EXPECT_EQ(w.TxtNote->text(), QStringLiteral("苏军主力，先防守"));
    EXPECT_EQ(items(w.LstTeam), (QStringList{"TM-B", "TM-A"}));
    EXPECT_EQ(w.LstTeam->currentRow(), 0);
    EXPECT_EQ(w.TxtTeam->text(), "TM-B");
    EXPECT_EQ(w.TxtTeamName->text(), "Beta team");
    EXPECT_EQ(w.TxtPriority->text(), "12");
    EXPECT_EQ(items(w.LstSpeAdd), QStringList{"TF-B"});
    EXPECT_EQ(items(w.LstScrAdd), QStringList{"SC-B"});
    EXPECT_EQ(w.TxtSpe->text(), "TF-B");
    EXPECT_EQ(w.TxtScr->text(), "SC-B");
    EXPECT_EQ(w.TxtSpeName->text(), "Beta force");
    ASSERT_EQ(rowCount(w.LvwSpe), 1);
    EXPECT_EQ(row(w.LvwSpe, 0), (QStringList{"0", "4", "HTNK"}));
    EXPECT_EQ(w.TxtID->text(), "0");
    EXPECT_EQ(w.TxtSpeNum->text(), "4");
    EXPECT_EQ(w.CboSpeE->currentText(), "HTNK");
    EXPECT_FALSE(w.CboSpeC->currentText().isEmpty());
    EXPECT_EQ(w.TxtScrName->text(), "Beta script");
    ASSERT_EQ(rowCount(w.LvwScr), 2);
    EXPECT_EQ(w.TxtScrID->text(), "0");
    EXPECT_EQ(w.TxtAct->text(), "46");
    EXPECT_EQ(w.TxtNumber->text(), "14");
    // A building action: the building's name stays.
    EXPECT_FALSE(w.TxtScrUnitE->text().isEmpty());
    // The other registry lists lost their selection.
    EXPECT_EQ(currentRow(w.LstRoot), 1);
    EXPECT_TRUE(selectedRows(w.LstFig).isEmpty());
    EXPECT_TRUE(selectedRows(w.LstSpe).isEmpty());
    EXPECT_TRUE(selectedRows(w.LstScr).isEmpty());

    // Back to the first trigger: the second is saved unchanged; its script's first step
    // is no building, so the building box is emptied.
    e.dialogs.clear();
    clickRow(w.LstRoot, 0);
    EXPECT_EQ(e.dialogs.messages, kFourSaves) << shown(e.dialogs);
    EXPECT_EQ(e.bytes(), crlf(withTheFirstTriggersEdits()));
    EXPECT_EQ(w.TxtAct->text(), "0");
    EXPECT_TRUE(w.TxtScrUnitE->text().isEmpty());
    EXPECT_EQ(w.TxtNote->text(), QString());
    EXPECT_EQ(w.TxtKeyNum->text(), "12");
}

// With auto-save off, the edited panels are marked, and leaving them asks once: Yes
// saves all four in order, No drops the edits, Cancel stays on them.
TEST(TriggerSelection, WithAutoSaveOffAsksOnceBeforeEditsAreLeft) {
    const struct {
        MsgAnswer answer;
        bool leaves; // the other trigger is shown
        bool saves;
    } cases[] = {{MsgAnswer::Yes, true, true},
                 {MsgAnswer::No, true, false},
                 {MsgAnswer::Cancel, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        TwoTriggerEditor e;
        Window& w = *e.w;
        showAndEditTheFirstTrigger(w);
        for (QGroupBox* frame : {w.FraRoot, w.FraTeam, w.FraSpe, w.FraScr})
            EXPECT_TRUE(frame->title().endsWith(QStringLiteral(" *")))
                << frame->objectName().toStdString();
        EXPECT_EQ(w.FraFig1->title(), QStringLiteral("作战小队(作用不明)"));

        e.dialogs.answers = {c.answer};
        clickRow(w.LstRoot, 1);
        std::vector<ShownMessage> expected{{QStringLiteral("当前记录已修改，是否保存？"), kHint,
                                            MsgIcon::Question, MsgButtons::YesNoCancel}};
        if (c.saves)
            expected.insert(expected.end(), kFourSaves.begin(), kFourSaves.end());
        EXPECT_EQ(e.dialogs.messages, expected) << shown(e.dialogs);
        EXPECT_EQ(e.bytes(), crlf(c.saves ? withTheFirstTriggersEdits() : twoTriggers()));
        EXPECT_EQ(currentRow(w.LstRoot), c.leaves ? 1 : 0);
        EXPECT_EQ(w.TxtKeyNum->text(), c.leaves ? "00" : "12");
        EXPECT_EQ(w.FraRoot->title().endsWith(QStringLiteral(" *")), !c.leaves);
        if (!c.leaves) { // closing asks too, and Cancel keeps the window
            e.dialogs.answers = {MsgAnswer::Cancel};
            EXPECT_FALSE(w.main.close());
            EXPECT_EQ(e.dialogs.messages.size(), 2u);
            continue;
        }
        // Back on the first trigger: what the file holds, without a question.
        e.dialogs.clear();
        clickRow(w.LstRoot, 0);
        EXPECT_TRUE(e.dialogs.messages.empty()) << shown(e.dialogs);
        EXPECT_EQ(w.TxtKeyNum->text(), c.saves ? "12" : "10");
        EXPECT_EQ(w.TxtPriority->text(), c.saves ? "9" : "5");
    }
}

TEST(EnterKey, ChecksTheFieldThenSavesItsPanelOrWritesTheNewRow) {
    TwoTriggerEditor e;
    Window& w = *e.w;
    clickRow(w.LstRoot, 0);
    replaceText(w.TxtKeyNum, "12");
    QTest::keyClick(w.TxtKeyNum, Qt::Key_Return);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{plain(kTriggerSaved)})
        << shown(e.dialogs);
    EXPECT_TRUE(e.bytes().contains(blockWithAmount("0C", '2')));

    // The weight's leave check empties a weight the game cannot read, says so once, and
    // nothing is saved after it.
    e.dialogs.clear();
    replaceText(w.CboBase, "1000000");
    QTest::keyClick(w.CboBase->lineEdit(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(e.dialogs.texts(), QStringList{QStringLiteral("输入不合法！")});
    EXPECT_EQ(e.dialogs.messages[0].title, QStringLiteral("错误"));

    // In add mode Enter writes the new row; nothing is saved.
    e.dialogs.clear();
    click(w.CmdSpeTypeAdd);
    replaceText(w.TxtID, "5");
    replaceText(w.TxtSpeNum, "1");
    replaceText(w.CboSpeE, "E2");
    QTest::keyClick(w.TxtSpeNum, Qt::Key_Return);
    EXPECT_EQ(rowCount(w.LvwSpe), 3);
    EXPECT_EQ(w.CmdSpeTypeAdd->text(), QStringLiteral("添加"));
    EXPECT_TRUE(e.dialogs.messages.empty()) << shown(e.dialogs);
}

TEST(SaveAll, WithAllFourOnShowSavesEachWithItsConfirmationInOrder) {
    TwoTriggerEditor e;
    Window& w = *e.w;
    showAndEditTheFirstTrigger(w);
    const QGroupBox* const frames[] = {w.FraRoot, w.FraTeam, w.FraSpe, w.FraScr};
    std::vector<int> marked; // frames still marked as each confirmation shows
    e.dialogs.onMessage = [&] {
        marked.push_back(static_cast<int>(
            std::count_if(std::begin(frames), std::end(frames), [](const QGroupBox* f) {
                return f->title().endsWith(QStringLiteral(" *"));
            })));
    };
    click(w.CmdSaveAll);
    EXPECT_EQ(e.dialogs.messages, kFourSaves) << shown(e.dialogs);
    EXPECT_EQ(marked, (std::vector<int>{3, 2, 1, 0})); // each record told saved once it is
    EXPECT_EQ(e.bytes(), crlf(withTheFirstTriggersEdits()));
    for (QGroupBox* frame : {w.FraRoot, w.FraTeam, w.FraSpe, w.FraScr}) // saved: no longer marked
        EXPECT_FALSE(frame->title().endsWith(QStringLiteral(" *")))
            << frame->objectName().toStdString();
    // Unchanged records saved again leave the file as it is.
    e.dialogs.clear();
    click(w.CmdSaveAll);
    EXPECT_EQ(e.dialogs.messages, kFourSaves);
    EXPECT_EQ(e.bytes(), crlf(withTheFirstTriggersEdits()));
}

TEST(TriggerTeamList, HoldsTwoAtMostAndNoneAfterASave) {
    TwoTriggerEditor e;
    Window& w = *e.w;
    clickRow(w.LstRoot, 1);
    ASSERT_EQ(items(w.LstTeam), (QStringList{"TM-B", "TM-A"}));
    // Full: adding does nothing.
    clickRow(w.LstFig, 0);
    click(w.CmdTeam);
    EXPECT_EQ(items(w.LstTeam), (QStringList{"TM-B", "TM-A"}));

    // Removing the second asks first; No keeps it.
    clickRow(w.LstTeam, 1);
    EXPECT_EQ(w.TxtTeam->text(), "TM-A");
    const ShownMessage ask{QStringLiteral("确定删除？"), kHint, MsgIcon::Information,
                           MsgButtons::YesNo};
    e.dialogs.answers = {MsgAnswer::No, MsgAnswer::Yes};
    click(w.CmdTeamDelete);
    EXPECT_EQ(items(w.LstTeam), (QStringList{"TM-B", "TM-A"}));
    click(w.CmdTeamDelete);
    EXPECT_EQ(items(w.LstTeam), QStringList{"TM-B"});
    EXPECT_EQ(e.bytes(), crlf(twoTriggers())); // the list alone changes nothing in the file

    click(w.CmdSaveRoot);
    EXPECT_EQ(e.dialogs.messages, (std::vector<ShownMessage>{ask, ask, plain(kTriggerSaved)}));
    QList<QByteArray> expected = twoTriggers();
    replaceLine(expected, kB1, QByteArray(kB1).replace(",TM-A,0,1,1", ",<none>,0,1,1"));
    EXPECT_EQ(e.bytes(), crlf(expected));
    // The save padded the list with "<none>", an empty slot. Selecting it shows no team
    // type: no field keeps the previous team type's.
    EXPECT_EQ(items(w.LstTeam), (QStringList{"TM-B", "<none>"}));
    clickRow(w.LstTeam, 1);
    EXPECT_EQ(w.TxtTeam->text(), "");
    EXPECT_EQ(w.TxtTeamName->text(), "");
    EXPECT_EQ(w.FraTeam->title(), QStringLiteral("作战小队（无）"));
    // 添加小队 fills the empty slot.
    clickRow(w.LstFig, 0);
    click(w.CmdTeam);
    EXPECT_EQ(items(w.LstTeam), (QStringList{"TM-B", "TM-A"}));
    click(w.CmdTeam);
    EXPECT_EQ(items(w.LstTeam), (QStringList{"TM-B", "TM-A"}));
    clickRow(w.LstTeam, 1);

    // Remove TM-A, add it twice: the second add finds the list full.
    e.dialogs.clear();
    e.dialogs.answers = {MsgAnswer::Yes};
    click(w.CmdTeamDelete);
    clickRow(w.LstFig, 0);
    click(w.CmdTeam);
    click(w.CmdTeam);
    EXPECT_EQ(items(w.LstTeam), (QStringList{"TM-B", "TM-A"}));
    click(w.CmdSaveRoot);
    EXPECT_EQ(e.bytes(), crlf(twoTriggers()));
    EXPECT_EQ(e.dialogs.messages, (std::vector<ShownMessage>{ask, plain(kTriggerSaved)}));
}

TEST(NewTrigger, IsBuiltCompleteInAFileOfFourHeadersAndComesBackAfterReopening) {
    Editor e(true);
    e.dir.write(QStringLiteral("Name.WQ"), QByteArray());
    Window& w = *e.w;
    const QString path =
        e.dir.write(QStringLiteral("aimd.ini"),
                    crlf({"[AITriggerTypes]", "[TeamTypes]", "[TaskForces]", "[ScriptTypes]"}));
    e.open(path);

    // The four records, added in the order a user would: the trigger, its task force and
    // script, then the team type that joins them.
    e.dialogs.promptAnswers = {QStringLiteral("N1=新触发"), QStringLiteral("TF-NEW"),
                               QStringLiteral("SC-NEW"), QStringLiteral("TM-NEW")};
    w.SSTab->setCurrentIndex(0);
    click(w.CmdAdd);
    w.SSTab->setCurrentIndex(2);
    click(w.CmdSpeAdd);
    w.SSTab->setCurrentIndex(3);
    click(w.CmdScrAdd);
    w.SSTab->setCurrentIndex(1);
    click(w.CmdTeamAdd);
    EXPECT_EQ(items(w.LstRoot), QStringList{QStringLiteral("N1=新触发")});
    EXPECT_EQ(items(w.LstFig), QStringList{"TM-NEW"});
    EXPECT_EQ(items(w.LstSpe), QStringList{"TF-NEW"});
    EXPECT_EQ(items(w.LstScr), QStringList{"SC-NEW"});
    EXPECT_TRUE(e.dialogs.messages.empty()) << shown(e.dialogs);

    auto addRow = [](QPushButton* add, std::initializer_list<std::pair<QWidget*, QString>> fields) {
        for (const auto& [f, text] : fields) // any text, so that add mode can start
            replaceText(f, text);
        click(add);
        for (const auto& [f, text] : fields)
            replaceText(f, text);
        click(add);
    };

    // The task force: a name and two units.
    w.SSTab->setCurrentIndex(2);
    clickRow(w.LstSpe, 0);
    w.TxtSpeName->setText(QStringLiteral("新特遣小队"));
    addRow(w.CmdSpeTypeAdd, {{w.TxtID, "0"}, {w.TxtSpeNum, "3"}, {w.CboSpeE, "E1"}});
    addRow(w.CmdSpeTypeAdd, {{w.TxtID, "1"}, {w.TxtSpeNum, "1"}, {w.CboSpeE, "ENGINEER"}});
    click(w.CmdSaveSpe);

    // The script: a name and two steps. The editor has no explanation of parameter 0 of
    // these actions and asks whether to keep it as the focus leaves the field; the user
    // goes on.
    e.dialogs.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    w.SSTab->setCurrentIndex(3);
    clickRow(w.LstScr, 0);
    w.TxtScrName->setText(QStringLiteral("新脚本"));
    addRow(w.CmdScrTypeAdd, {{w.TxtScrID, "0"}, {w.TxtAct, "53"}, {w.TxtNumber, "0"}});
    addRow(w.CmdScrTypeAdd, {{w.TxtScrID, "1"}, {w.TxtAct, "0"}, {w.TxtNumber, "0"}});
    click(w.CmdSaveScr);

    // The team type: a name, a priority, a flag, and the task force and script above.
    w.SSTab->setCurrentIndex(1);
    clickRow(w.LstFig, 0);
    w.TxtTeamName->setText(QStringLiteral("新作战小队"));
    replaceText(w.TxtPriority, "8");
    click(w.ChkAggressive);
    w.SSTab->setCurrentIndex(2);
    clickRow(w.LstSpe, 0);
    click(w.CmdFigChange);
    w.SSTab->setCurrentIndex(3);
    clickRow(w.LstScr, 0);
    click(w.CmdBaseChange);
    EXPECT_EQ(items(w.LstSpeAdd), QStringList{"TF-NEW"});
    EXPECT_EQ(items(w.LstScrAdd), QStringList{"SC-NEW"});
    click(w.CmdSaveFig);

    // The trigger: its team type, the country, the condition.
    w.SSTab->setCurrentIndex(0);
    clickRow(w.LstRoot, 0);
    EXPECT_EQ(w.LstTeam->count(), 0);
    w.SSTab->setCurrentIndex(1);
    clickRow(w.LstFig, 0);
    click(w.CmdTeam);
    chooseItem(w.CboCountry, 9); // Americans
    replaceText(w.TxtKeyNum, "3");
    click(w.ChkLow);
    click(w.CmdSaveRoot);

    const ShownMessage keepParameter{QStringLiteral("未找到相应解释，是否继续？"),
                                     QStringLiteral("错误"), MsgIcon::Information,
                                     MsgButtons::YesNo};
    EXPECT_EQ(
        e.dialogs.messages,
        (std::vector<ShownMessage>{plain(kTaskForceSaved), keepParameter, keepParameter,
                                   plain(kScriptSaved), plain(kTeamSaved), plain(kTriggerSaved)}))
        << shown(e.dialogs);
    QList<QByteArray> expected{"[AITriggerTypes]",
                               gbk(QStringLiteral("N1=新触发")) + ",TM-NEW,Americans,10,0,<none>," +
                                   blockWithAmount("03", '0') +
                                   ",70.000000,10.000000,70.000000,1,0,1,0,<none>,1,0,0",
                               "[TeamTypes]",
                               "0=TM-NEW",
                               "",
                               "[TM-NEW]"};
    expected << newTeamBlock({{"Name", gbk(QStringLiteral("新作战小队"))},
                              {"Priority", "8"},
                              {"Aggressive", "yes"},
                              {"Script", "SC-NEW"},
                              {"TaskForce", "TF-NEW"}});
    expected << "[TaskForces]"
             << "0=TF-NEW"
             << ""
             << "[TF-NEW]"
             << "Name=" + gbk(QStringLiteral("新特遣小队")) << "0=3,E1"
             << "1=1,ENGINEER"
             << "Group=-1"
             << "[ScriptTypes]"
             << "0=SC-NEW"
             << ""
             << "[SC-NEW]"
             << "Name=" + gbk(QStringLiteral("新脚本")) << "0=53,0"
             << "1=0,0";
    EXPECT_EQ(readBytes(path), crlf(expected));

    // A new window on the same file shows it all back from one selection.
    Editor again(true);
    again.dir.write(QStringLiteral("Name.WQ"), QByteArray());
    again.open(path);
    Window& v = *again.w;
    EXPECT_EQ(items(v.LstRoot), QStringList{QStringLiteral("N1=新触发")});
    clickRow(v.LstRoot, 0);
    EXPECT_TRUE(again.dialogs.messages.empty()) << shown(again.dialogs);
    EXPECT_EQ(v.CboCountry->currentText(), "Americans");
    EXPECT_EQ(v.TxtKeyNum->text(), "03");
    EXPECT_TRUE(v.ChkLow->isChecked());
    EXPECT_FALSE(v.ChkMid->isChecked());
    EXPECT_EQ(items(v.LstTeam), QStringList{"TM-NEW"});
    EXPECT_EQ(v.TxtTeam->text(), "TM-NEW");
    EXPECT_EQ(v.TxtTeamName->text(), QStringLiteral("新作战小队"));
    EXPECT_EQ(v.TxtPriority->text(), "8");
    EXPECT_TRUE(v.ChkAggressive->isChecked());
    EXPECT_EQ(v.TxtSpe->text(), "TF-NEW");
    EXPECT_EQ(v.TxtSpeName->text(), QStringLiteral("新特遣小队"));
    ASSERT_EQ(rowCount(v.LvwSpe), 2);
    EXPECT_EQ(row(v.LvwSpe, 1), (QStringList{"1", "1", "ENGINEER"}));
    EXPECT_EQ(v.CboSpeE->currentText(), "E1");
    EXPECT_EQ(v.TxtScr->text(), "SC-NEW");
    EXPECT_EQ(v.TxtScrName->text(), QStringLiteral("新脚本"));
    ASSERT_EQ(rowCount(v.LvwScr), 2);
    EXPECT_EQ(v.TxtAct->text(), "53");
    EXPECT_EQ(readBytes(path), crlf(expected));
}

TEST(ClosingTheEditor, WithAutoSaveOnSavesTheFourInOrderThenBothWindowsAreGone) {
    TempDir dir;
    dir.copyShippedData();
    dir.write(QStringLiteral("Name.WQ"), QByteArray());
    const QString path = dir.write(QStringLiteral("aimd.ini"), crlf(twoTriggers()));
    ScriptedDialogs dialogs;
    RulesDocument document(dir.file(QStringLiteral("File.ini")));
    Frm frm(dialogs, ProgramFiles(dir.path(), dir.file(QStringLiteral("user"))), document);
    frm.show();
    QApplication::setActiveWindow(&frm);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frm));
    click(frm.Chk);
    click(frm.CmdOpen);
    ASSERT_NE(frm.mainWindow(), nullptr);
    Window w(*frm.mainWindow());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.main));
    dialogs.files.push_back(path);
    click(w.CmdOpen);
    showAndEditTheFirstTrigger(w);
    dialogs.clear();
    dialogs.answers = {MsgAnswer::Yes};
    w.mYes->trigger();

    w.main.close();
    std::vector<ShownMessage> expected{autoSaveQuestion()};
    expected.insert(expected.end(), kFourSaves.begin(), kFourSaves.end());
    EXPECT_EQ(dialogs.messages, expected) << shown(dialogs);
    EXPECT_EQ(readBytes(path), crlf(withTheFirstTriggersEdits()));
    EXPECT_FALSE(w.main.isVisible());
    EXPECT_FALSE(frm.isVisible());
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_FALSE(top->isVisible()) << top->metaObject()->className();
}

TEST(EditorSession, FromTheWelcomeWindowToClosingOnTheShippedSample) {
    TempDir dir;
    dir.copyShippedData();
    const QString path = dir.file(QStringLiteral("aimd.ini"));
    const QByteArray original = readBytes(path);
    ASSERT_TRUE(original.endsWith("\r\n"));
    QList<QByteArray> lines = original.split('\n');
    lines.removeLast();
    for (QByteArray& l : lines) {
        ASSERT_TRUE(l.endsWith('\r'));
        l.chop(1);
    }
    ASSERT_EQ(crlf(lines), original);
    QList<QByteArray> expected = lines;
    ScriptedDialogs dialogs;
    auto g = [](const char* utf8Text) { return gbk(QString::fromUtf8(utf8Text)); };

    // The welcome window: the guide, the box, the button.
    RulesDocument document(dir.file(QStringLiteral("File.ini")));
    Frm frm(dialogs, ProgramFiles(dir.path(), dir.file(QStringLiteral("user"))), document);
    frm.show();
    QApplication::setActiveWindow(&frm);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frm));
    EXPECT_FALSE(frm.TxtE->toPlainText().isEmpty());
    EXPECT_FALSE(frm.CmdOpen->isEnabled());
    click(frm.Chk);
    click(frm.CmdOpen);
    ASSERT_NE(frm.mainWindow(), nullptr);
    Window w(*frm.mainWindow());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.main));
    EXPECT_FALSE(frm.isVisible());
    EXPECT_TRUE(dialogs.messages.empty()) << shown(dialogs);

    // Opening the sample.
    dialogs.files.push_back(path);
    click(w.CmdOpen);
    ASSERT_EQ(rowCount(w.LstRoot), 4);
    EXPECT_EQ(items(w.LstFig),
              (QStringList{"01000001-G", "01000002-G", "01000003-G", "01000004-G"}));

    // A trigger with its team type, task force and script; a field of each kind edited
    // on each panel: a picked item, a typed number, a ticked box, a live row edit, a
    // new script step.
    clickRow(w.LstRoot, 1);
    ASSERT_EQ(w.TxtRoot->text(), QStringLiteral("04000002-G=盟军坦克反击"));
    ASSERT_EQ(w.TxtTeam->text(), "01000002-G");
    ASSERT_EQ(w.TxtSpe->text(), "03000002-G");
    ASSERT_EQ(w.TxtScr->text(), "02000002-G");
    chooseItem(w.CboCountry, 6); // British
    replaceText(w.TxtKeyNum, "4");
    click(w.ChkLow);
    replaceText(w.TxtPriority, "15");
    click(w.ChkSuicide);
    clickRow(w.LvwSpe, 1);
    EXPECT_EQ(w.CboSpeE->currentText(), "FV");
    replaceText(w.TxtSpeNum, "3");
    EXPECT_EQ(row(w.LvwSpe, 1), (QStringList{"1", "3", "FV"}));
    click(w.CmdScrTypeAdd); // the fields hold the first step: add mode starts at once
    EXPECT_EQ(w.CmdScrTypeAdd->text(), QStringLiteral("写入"));
    replaceText(w.TxtScrID, "2");
    replaceText(w.TxtAct, "49");
    replaceText(w.TxtNumber, "0");
    click(w.CmdScrTypeAdd);
    EXPECT_EQ(row(w.LvwScr, 2), (QStringList{"2", "49", "0"}));
    EXPECT_TRUE(dialogs.messages.empty()) << shown(dialogs);
    click(w.CmdSaveAll);
    EXPECT_EQ(dialogs.messages, kFourSaves) << shown(dialogs);
    replaceLine(expected,
                g("04000002-G=盟军坦克反击,01000002-G,Americans,3,1,HTNK,"
                  "0200000003000000000000000000000000000000000000000000000000000000,70.000000,"
                  "10.000000,70.000000,1,0,2,0,01000001-G,0,1,1"),
                g("04000002-G=盟军坦克反击,01000002-G,British,3,1,HTNK,"
                  "0400000003000000000000000000000000000000000000000000000000000000,70.000000,"
                  "10.000000,70.000000,1,0,2,0,01000001-G,1,1,1"));
    replaceLineAfter(expected, "[01000002-G]", "Priority=8", "Priority=15");
    replaceLineAfter(expected, "[01000002-G]", "Suicide=yes", "Suicide=no");
    replaceLine(expected, "1=2,FV", "1=3,FV");
    {
        const int at = expected.indexOf("[02000002-G]");
        ASSERT_EQ(expected[at + 3], "1=0,2");
        expected.insert(at + 4, "2=49,0");
    }
    EXPECT_EQ(readBytes(path), crlf(expected));

    // A note on the trigger.
    dialogs.clear();
    focusOn(w.TxtNote);
    w.TxtNote->setText(QStringLiteral("先造坦克，再反击"));
    click(w.CmdNew);
    EXPECT_EQ(readBytes(dir.file(QStringLiteral("Name.WQ"))),
              crlf({g("04000002-G=盟军坦克反击,先造坦克，再反击")}));

    // A new trigger and a new team type; a script deleted.
    dialogs.promptAnswers = {QStringLiteral("04000005-G=尤里突袭"), QStringLiteral("01000005-G")};
    w.SSTab->setCurrentIndex(0);
    click(w.CmdAdd);
    w.SSTab->setCurrentIndex(1);
    click(w.CmdTeamAdd);
    w.SSTab->setCurrentIndex(3);
    clickRow(w.LstScr, 2);
    ASSERT_EQ(w.TxtScr->text(), "02000003-G");
    dialogs.answers = {MsgAnswer::Yes};
    click(w.CmdScrKill);
    EXPECT_EQ(dialogs.messages,
              std::vector<ShownMessage>{
                  question(QStringLiteral("有 1 个作战小队使用此脚本，确定删除？"), kHint)})
        << shown(dialogs);
    EXPECT_EQ(items(w.LstScr), (QStringList{"02000001-G", "02000002-G", "02000004-G"}));
    EXPECT_EQ(items(w.LstRoot).first(), QStringLiteral("04000005-G=尤里突袭"));
    EXPECT_EQ(items(w.LstFig).last(), "01000005-G");
    expected.insert(expected.indexOf("[AITriggerTypes]") + 1,
                    g("04000005-G=尤里突袭,<none>,<all>,10,0,<none>,") + QByteArray(64, '0') +
                        ",70.000000,10.000000,70.000000,1,0,1,0,<none>,0,0,0");
    {
        int at = expected.indexOf("3=01000004-G") + 1;
        expected.insert(at++, "4=01000005-G");
        expected.insert(at++, "");
        expected.insert(at++, "[01000005-G]");
        for (const QByteArray& l : newTeamBlock({}))
            expected.insert(at++, l);
    }
    replaceLine(expected, "3=02000004-G", "2=02000004-G");
    replaceLine(expected, "2=02000003-G", "DROP");
    expected.removeAll("DROP");
    {
        const int at = expected.indexOf("[02000003-G]");
        ASSERT_EQ(expected[at + 5], "");
        expected.remove(at, 5); // the header, the name and three steps; the blank stays
    }
    EXPECT_EQ(readBytes(path), crlf(expected));

    // Auto-save on; the new trigger gets the new team type and another owner, and the
    // new team type a name. Every selection first saves what is on show; the deleted
    // script is no longer in the file and is passed over.
    dialogs.clear();
    dialogs.answers = {MsgAnswer::Yes};
    w.mYes->trigger();
    w.SSTab->setCurrentIndex(0);
    clickRow(w.LstRoot, 0);
    EXPECT_EQ(w.TxtRoot->text(), QStringLiteral("04000005-G=尤里突袭"));
    EXPECT_EQ(w.LstTeam->count(), 0);
    EXPECT_EQ(w.TxtTeam->text(), ""); // no team type: its panels show nothing
    std::vector<ShownMessage> said{autoSaveQuestion()};
    said.insert(said.end(), kFourSaves.begin(), kFourSaves.end() - 1);
    EXPECT_EQ(dialogs.messages, said) << shown(dialogs);
    chooseItem(w.CboOwner, 3);
    w.SSTab->setCurrentIndex(1);
    clickRow(w.LstFig, 4);
    EXPECT_EQ(w.TxtTeam->text(), "01000005-G");
    EXPECT_EQ(dialogs.messages, said) << shown(dialogs); // nothing else was on show
    // The new team type names no task force and no script: none is on show any more.
    EXPECT_EQ(w.TxtSpe->text(), QString());
    EXPECT_EQ(w.TxtScr->text(), QString());
    click(w.CmdTeam);
    EXPECT_EQ(items(w.LstTeam), QStringList{"01000005-G"});
    w.TxtTeamName->setText(QStringLiteral("尤里小队"));
    EXPECT_EQ(readBytes(path), crlf(expected)); // the auto-saves wrote what was there

    w.main.close();
    EXPECT_FALSE(w.main.isVisible());
    EXPECT_FALSE(frm.isVisible());
    replaceLine(expected,
                g("04000005-G=尤里突袭,<none>,<all>,10,0,<none>,") + QByteArray(64, '0') +
                    ",70.000000,10.000000,70.000000,1,0,1,0,<none>,0,0,0",
                g("04000005-G=尤里突袭,01000005-G,<all>,10,0,<none>,") + QByteArray(64, '0') +
                    ",70.000000,10.000000,70.000000,1,0,3,0,<none>,0,0,0");
    replaceLineAfter(expected, "[01000005-G]", "Name=", g("Name=尤里小队"));
    EXPECT_EQ(readBytes(path), crlf(expected));
    // Closing saved the trigger and the team type; no task force or script was on show.
    said.push_back(plain(kTriggerSaved));
    said.push_back(plain(kTeamSaved));
    EXPECT_EQ(dialogs.messages, said) << shown(dialogs);
}
