#include "support/WidgetDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {

const QString kSaved = QStringLiteral("作战小队已保存！");
const QString kError = QStringLiteral("错误");

QList<QByteArray> registryAndSections() {
    return {"[AITriggerTypes]",
            "T1=One,TM-A,<all>",
            "",
            "[TeamTypes]",
            "0=TM-A",
            "1=TM-B",
            "2=TM-C",
            "",
            "[TM-A]",
            "Name=Alpha Max",
            "Priority=a5",
            "Loadable=YES",
            "Max=2",
            "TechLevel=3",
            "MindControlDecision=4",
            "Custom=keep",
            "loadable=no",
            "AreTeamMembersRecruitabl=no",
            "Script=SC-1",
            "TaskForce=TF-1",
            "",
            "[TM-B]",
            "Name=Bravo",
            "Priority=7",
            "",
            "[TaskForces]",
            "0=TF-1",
            "",
            "[ScriptTypes]",
            "0=SC-1"};
}

// The editor with a rules file open. An empty notes file keeps the note search of a
// selection quiet.
struct TeamEditor : Editor {
    explicit TeamEditor(const QList<QByteArray>& lines = registryAndSections()) : Editor(false) {
        dir.write(QStringLiteral("Name.WQ"), QByteArray());
        path = dir.write(QStringLiteral("aimd.ini"), crlf(lines));
        open(path);
    }
    QByteArray bytes() const { return readBytes(path); }
    int figRow(const QString& id) const { return items(w->LstFig).indexOf(id); }
    QString path;
};

std::vector<QByteArray>
blockWith(std::initializer_list<std::pair<QByteArray, QByteArray>> changes) {
    const QList<QByteArray> block = newTeamBlock(changes);
    return {block.begin(), block.end()};
}

QList<QByteArray> replaceLines(QList<QByteArray> lines, qsizetype from, qsizetype count,
                               const std::vector<QByteArray>& with) {
    lines.remove(from, count);
    for (auto it = with.rbegin(); it != with.rend(); ++it)
        lines.insert(from, *it);
    return lines;
}

} // namespace

TEST(TeamPanel, StartValuesAndCaptions) {
    Editor e(false);
    Window& w = *e.w;
    EXPECT_EQ(w.TxtPriority->text(), "5");
    EXPECT_EQ(w.TxtTeamCount->text(), "1");
    EXPECT_EQ(w.CboAction->currentText(), "0");
    EXPECT_EQ(w.TxtAction->text(), QStringLiteral("自动"));
    EXPECT_EQ(w.CboTeamTech->currentText(), "0");
    EXPECT_TRUE(w.TxtTeam->text().isEmpty());
    EXPECT_FALSE(w.TxtTeam->isEnabled());
    EXPECT_EQ(items(w.LstSpeAdd), QStringList{QString()});
    EXPECT_EQ(items(w.LstScrAdd), QStringList{QString()});
    for (QCheckBox* box : w.main.findChildren<QCheckBox*>()) {
        if (box->parentWidget() != w.FraTeam && box->parentWidget() != w.FraFig1)
            continue;
        const bool on = box == w.ChkAutocreate || box == w.ChkAvoidThreats ||
                        box == w.ChkTransportsReturnOnUnload || box == w.ChkWhiner;
        EXPECT_EQ(box->isChecked(), on) << box->objectName().toStdString();
    }
    EXPECT_FALSE(w.ChkAble->isChecked());
    EXPECT_FALSE(w.FraFig1->isEnabled());
    EXPECT_EQ(w.CboTeamTech->count(), 10);
    EXPECT_EQ(w.CboAction->count(), 6);
    EXPECT_EQ(w.CmdSaveFig->text(), QStringLiteral("保存作战小队"));
    EXPECT_EQ(w.ChkGuardSlower->text(), QStringLiteral("降低反应速度"));
    EXPECT_EQ(w.FraFig1->findChildren<QCheckBox*>().size(), 13);
    EXPECT_EQ(w.FraTeam->findChildren<QCheckBox*>().size(), 9);
}

TEST(TeamPanel, SelectingLoadsWithChecksAndNeverInheritsThePreviousTeamType) {
    TeamEditor e;
    Window& w = *e.w;
    clickRow(w.LstFig, e.figRow("TM-A"));
    // The priority "a5" meets its check during the load.
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{info(QStringLiteral("优先级输入不合法！"), kError)});
    EXPECT_EQ(w.TxtTeam->text(), "TM-A");
    EXPECT_EQ(w.TxtName->text(), "TM-A");
    EXPECT_EQ(w.TxtTeamName->text(), "Alpha Max"); // sets nothing but the name
    EXPECT_EQ(w.TxtPriority->text(), "5");
    EXPECT_EQ(w.TxtTeamCount->text(), "2");
    EXPECT_EQ(w.CboTeamTech->currentText(), "3");
    EXPECT_EQ(w.CboAction->currentText(), "4");
    EXPECT_EQ(w.TxtAction->text(), QStringLiteral("搜索敌人"));
    EXPECT_TRUE(w.ChkLoadable->isChecked()); // "loadable=no" is another key
    EXPECT_EQ(items(w.LstScrAdd), QStringList{"SC-1"});
    EXPECT_EQ(items(w.LstSpeAdd), QStringList{"TF-1"});
    EXPECT_EQ(w.TxtSpe->text(), "TF-1");
    EXPECT_EQ(w.TxtScr->text(), "SC-1");
    EXPECT_EQ(w.LstSpeAdd->currentRow(), 0);
    EXPECT_EQ(w.LstScrAdd->currentRow(), 0);

    e.dialogs.clear();
    clickRow(w.LstFig, e.figRow("TM-B"));
    EXPECT_TRUE(e.dialogs.messages.empty());
    EXPECT_EQ(w.TxtTeamName->text(), "Bravo");
    EXPECT_EQ(w.TxtPriority->text(), "7");
    EXPECT_EQ(w.TxtTeamCount->text(), "1");
    EXPECT_EQ(w.CboTeamTech->currentText(), "0");
    EXPECT_EQ(w.CboAction->currentText(), "0");
    EXPECT_EQ(w.TxtAction->text(), QStringLiteral("自动"));
    EXPECT_FALSE(w.ChkLoadable->isChecked());
    EXPECT_TRUE(w.ChkSuicide->isChecked());
    EXPECT_EQ(items(w.LstScrAdd), QStringList{QString()});
    EXPECT_EQ(items(w.LstSpeAdd), QStringList{QString()});

    // A registry entry without a section shows a new team type's values.
    w.TxtTeamName->setText(QStringLiteral("kept"));
    clickRow(w.LstFig, e.figRow("TM-C"));
    EXPECT_EQ(w.TxtTeam->text(), "TM-C");
    EXPECT_EQ(w.TxtTeamName->text(), QString());
    EXPECT_EQ(w.TxtPriority->text(), "5");
}

TEST(TeamPanel, SelectionClearsTheOtherRegistryLists) {
    TeamEditor e;
    Window& w = *e.w;
    setCurrentRow(w.LstRoot, 0);
    setCurrentRow(w.LstSpe, 0);
    setCurrentRow(w.LstScr, 0);
    clickRow(w.LstFig, e.figRow("TM-B"));
    EXPECT_TRUE(selectedRows(w.LstRoot).isEmpty());
    EXPECT_TRUE(selectedRows(w.LstSpe).isEmpty());
    EXPECT_TRUE(selectedRows(w.LstScr).isEmpty());
}

TEST(TeamPanel, SaveWritesWhatChangedKeepsEverythingElseAndConfirms) {
    TeamEditor e;
    Window& w = *e.w;
    clickRow(w.LstFig, e.figRow("TM-A"));
    e.dialogs.clear();
    w.ChkAble->setChecked(true);
    click(w.ChkGuardSlower);
    replaceText(w.TxtTeamName, QStringLiteral("Alpha 2"));
    click(w.CmdSaveFig);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{plain(kSaved)});

    // The name's text is replaced; the flag the section lacks follows its last key; the
    // values the user did not change ("a5", "YES") and unknown keys keep their bytes.
    QList<QByteArray> expected = registryAndSections();
    expected[9] = "Name=Alpha 2";
    expected.insert(20, "GuardSlower=yes");
    EXPECT_EQ(e.bytes(), crlf(expected));

    // Unchecking ChkAble disables the frame but the save still writes its boxes.
    w.ChkAble->setChecked(false);
    EXPECT_FALSE(w.CboTeamTech->isEnabled());
    EXPECT_FALSE(w.ChkGuardSlower->isEnabled());
    EXPECT_TRUE(w.ChkGuardSlower->isChecked());
    const QByteArray before = e.bytes();
    click(w.CmdSaveFig);
    EXPECT_EQ(e.bytes(), before);
}

TEST(TeamPanel, LoadingAndSavingEveryTeamTypeLeavesAWrittenFileAsItWas) {
    // Team types as the editor writes them, each with its own values, some with keys
    // of their own after the block, next to each other with and without blank lines.
    const std::vector<QByteArray> base = blockWith({});
    QList<QByteArray> lines{"[TeamTypes]"};
    const int n = 24;
    for (int i = 0; i < n; ++i)
        lines << QByteArray::number(i) + "=TM-" + QByteArray::number(i);
    lines << "";
    quint32 seed = 12345;
    auto next = [&seed](quint32 range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % range;
    };
    for (int i = 0; i < n; ++i) {
        lines << "[TM-" + QByteArray::number(i) + "]";
        for (QByteArray line : base) {
            const QByteArray key = line.left(line.indexOf('='));
            if (line.endsWith("=yes") || line.endsWith("=no"))
                line = key + (next(2) ? "=yes" : "=no");
            else if (key == "Name")
                line = "Name=Team " + QByteArray::number(i) + (next(2) ? " Max Script" : "");
            else if (key == "MindControlDecision")
                line = key + "=" + QByteArray::number(next(6));
            else if (key == "Priority" || key == "Max")
                line = key + "=" + QByteArray::number(next(60));
            else if (key == "TechLevel")
                line = key + "=" + QByteArray::number(next(11));
            else if (key == "Script" || key == "TaskForce")
                line = key + (next(3) ? "=ID-" + QByteArray::number(next(99)) : "=");
            lines << line;
        }
        if (i % 3 == 0)
            lines << "Extension" + QByteArray::number(i) + "=on";
        if (i % 4 != 1)
            lines << "";
    }
    TeamEditor e(lines);
    Window& w = *e.w;
    const QByteArray original = e.bytes();
    for (int i = 0; i < n; ++i) {
        clickRow(w.LstFig, i);
        click(w.CmdSaveFig);
    }
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>(n, plain(kSaved)));
    EXPECT_EQ(e.bytes(), original);
}

TEST(TeamPanel, DuplicateSectionsLoadInOrderAndTheLastLineOfAKeyIsEdited) {
    const QList<QByteArray> lines{"[TeamTypes]", "0=TM-D", "",     " [TM-D] ", "Name=first",
                                  "Max=3",       "",       "K=v",  "[TM-D]",   "Name=second",
                                  "Priority=8",  "",       "[End]"};
    TeamEditor e(lines);
    Window& w = *e.w;
    clickRow(w.LstFig, 0);
    EXPECT_EQ(w.TxtTeamName->text(), "second");
    EXPECT_EQ(w.TxtTeamCount->text(), "3"); // the later section is applied over the first
    EXPECT_EQ(w.TxtPriority->text(), "8");
    replaceText(w.TxtTeamCount, QStringLiteral("4"));
    replaceText(w.TxtPriority, QStringLiteral("9"));
    w.CmdSaveFig_Click();
    QList<QByteArray> expected = lines;
    expected[5] = "Max=4";
    expected[10] = "Priority=9";
    EXPECT_EQ(e.bytes(), crlf(expected));
}

TEST(TeamPanel, SaveOfAMissingSectionIsRefusedAndChangesNothing) {
    TeamEditor e;
    Window& w = *e.w;
    const QByteArray before = e.bytes();
    clickRow(w.LstFig, e.figRow("TM-C"));
    click(w.CmdSaveFig);
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{info(QStringLiteral("文件中没有这个作战小队，未保存！"),
                                             QStringLiteral("错误"))});
    EXPECT_EQ(e.bytes(), before);
}

TEST(TeamPanel, NothingIsSavedWithoutAnIdOrWithoutARulesFile) {
    Editor e(false);
    Window& w = *e.w;
    click(w.CmdSaveFig);
    w.TxtTeam->setText(QStringLiteral("TM-A"));
    click(w.CmdSaveFig);
    w.CmdSaveAll_Click();
    EXPECT_TRUE(e.dialogs.messages.empty());
}

// A name in the file's own encoding is shown decoded and written back encoded; the
// lines the editor does not know keep their bytes.
static void roundTripOfANonAsciiName(QByteArray (*encode)(const QString&)) {
    TeamEditor e({"[TeamTypes]", "0=TM-G", "", "[TM-G]",
                  "Name=" + encode(QStringLiteral("苏军坦克")),
                  "ExtraFlag=" + encode(QStringLiteral("保留")), "", "[Other]", "a=b"});
    Window& w = *e.w;
    clickRow(w.LstFig, 0);
    EXPECT_EQ(w.TxtTeamName->text(), QStringLiteral("苏军坦克"));
    w.TxtTeamName->setText(QStringLiteral("盟军 坦克"));
    w.CmdSaveFig_Click();
    EXPECT_EQ(
        e.bytes(),
        crlf({"[TeamTypes]", "0=TM-G", "", "[TM-G]", "Name=" + encode(QStringLiteral("盟军 坦克")),
              "ExtraFlag=" + encode(QStringLiteral("保留")), "", "[Other]", "a=b"}));
}

TEST(TeamPanel, SaveOfAFileWithBareLineFeedsKeepsThem) {
    TeamEditor e;
    writeBytes(e.path, "[TeamTypes]\n0=TM-A\n\n[TM-A]\nName=a\nX=1\n\n[Next]\nk=v");
    clickRow(e.w->LstFig, 0);
    replaceText(e.w->TxtTeamName, QStringLiteral("b"));
    e.w->CmdSaveFig_Click();
    EXPECT_EQ(e.bytes(), "[TeamTypes]\n0=TM-A\n\n[TM-A]\nName=b\nX=1\n\n[Next]\nk=v");
}

TEST(TeamPanel, Utf8NameRoundTrip) {
    roundTripOfANonAsciiName(utf8);
}

TEST(TeamPanel, GbkNameRoundTrip) {
    roundTripOfANonAsciiName(gbk);
}

TEST(TeamFields, DigitFiltersRemoveEachBadCharacterWithItsMessage) {
    Editor e(false);
    Window& w = *e.w;
    replaceText(w.TxtPriority, QString());
    typeText(w.TxtPriority, QStringLiteral("1a2"));
    EXPECT_EQ(w.TxtPriority->text(), "12");
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{info(QStringLiteral("优先级输入不合法！"), kError)});

    e.dialogs.clear();
    w.TxtTeamCount->setText(QStringLiteral("a b")); // as a paste sets it
    EXPECT_EQ(w.TxtTeamCount->text(), QString());
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>(3, info(QStringLiteral("小队个数输入不合法！"), kError)));

    e.dialogs.clear();
    w.TxtTeamCount->setText(QStringLiteral("3五"));
    EXPECT_EQ(w.TxtTeamCount->text(), "3");
    EXPECT_EQ(e.dialogs.messages.size(), 1u);
}

TEST(TeamFields, TechLevelAcceptsZeroToTenAndEmptiesOtherNumbers) {
    Editor e(false);
    Window& w = *e.w;
    w.ChkAble->setChecked(true);
    for (const char* ok : {"10", "0", "abc", "5.5"}) {
        replaceText(w.CboTeamTech, QString::fromLatin1(ok));
        EXPECT_EQ(w.CboTeamTech->currentText(), QString::fromLatin1(ok));
    }
    EXPECT_TRUE(e.dialogs.messages.empty());
    for (const char* bad : {"11", "-1"}) {
        e.dialogs.clear();
        replaceText(w.CboTeamTech, QString::fromLatin1(bad));
        EXPECT_EQ(w.CboTeamTech->currentText(), QString()) << bad;
        EXPECT_EQ(e.dialogs.messages,
                  std::vector<ShownMessage>{info(QStringLiteral("科技等级输入不合法！"), kError)})
            << bad;
    }
}

TEST(TeamFields, MindControlDecisionShowsItsDescriptionAndRefusesOthers) {
    Editor e(false);
    Window& w = *e.w;
    chooseItem(w.CboAction, 5);
    EXPECT_EQ(w.TxtAction->text(), QStringLiteral("什么也不做"));
    EXPECT_TRUE(e.dialogs.messages.empty());

    const ShownMessage refused = info(QStringLiteral("动作输入不合法！"), kError);
    replaceText(w.CboAction, QStringLiteral("6"));
    EXPECT_EQ(w.CboAction->currentText(), QString());
    EXPECT_EQ(w.TxtAction->text(), QStringLiteral("什么也不做"));
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{refused});

    e.dialogs.clear();
    typeText(w.CboAction, QStringLiteral("2"));
    EXPECT_EQ(w.TxtAction->text(), QStringLiteral("送入部队回收厂"));
    typeText(w.CboAction, QStringLiteral("5")); // "25"
    EXPECT_EQ(w.CboAction->currentText(), QString());
    EXPECT_EQ(w.TxtAction->text(), QStringLiteral("送入部队回收厂"));
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{refused});

    e.dialogs.clear();
    typeText(w.CboAction, QStringLiteral("1"));
    replaceText(w.CboAction, QString()); // emptied by hand
    EXPECT_EQ(w.TxtAction->text(), QStringLiteral("加入控制者作战小队"));
    EXPECT_TRUE(e.dialogs.messages.empty());
}

TEST(TeamFields, HintsOfFlagsAndFieldsAndTheFrameSwitch) {
    Editor e(false);
    Window& w = *e.w;
    click(w.ChkAggressive);
    EXPECT_EQ(w.LblMsg->text(),
              QStringLiteral("侵略性的，电脑在防御达到一定数量之后再开始建造该小队"));
    click(w.ChkTransportsReturnOnUnload);
    EXPECT_EQ(w.LblMsg->text(), QStringLiteral("运载工具卸载后返回基地"));
    EXPECT_FALSE(w.ChkTransportsReturnOnUnload->isChecked());
    focusOn(w.TxtTeamCount);
    EXPECT_EQ(w.LblMsg->text(),
              QStringLiteral("同一作战方至多允许同时存在的该类型小队个数.填写数值，建议不大于3"));
    focusOn(w.CboAction);
    EXPECT_TRUE(w.LblMsg->text().startsWith(QStringLiteral("遭心灵控制后的动作，0=自动")));
    click(w.ChkAble);
    EXPECT_TRUE(w.FraFig1->isEnabled());
    focusOn(w.CboTeamTech);
    EXPECT_EQ(w.LblMsg->text(), QStringLiteral("科技等级，疑似无效"));
    click(w.ChkWhiner);
    EXPECT_EQ(w.LblMsg->text(), QStringLiteral("哀叫效果，作用不明"));
    click(w.ChkAble);
    EXPECT_FALSE(w.FraFig1->isEnabled());
    EXPECT_FALSE(w.ChkWhiner->isChecked());
}

TEST(TeamList, AddWritesRegistryLineAndDefaultSectionAfterTheRegistry) {
    TeamEditor e;
    Window& w = *e.w;
    e.dialogs.promptAnswers = {QStringLiteral("tm-a")};
    click(w.CmdTeamAdd);
    ASSERT_EQ(e.dialogs.prompts.size(), 1u);
    EXPECT_EQ(e.dialogs.prompts[0].text, QStringLiteral("输入新增作战小队名称（英文）"));
    EXPECT_EQ(e.dialogs.prompts[0].title, QStringLiteral("新增"));
    EXPECT_TRUE(e.dialogs.messages.empty());
    EXPECT_EQ(items(w.LstFig).last(), "tm-a"); // letter case makes it another ID
    EXPECT_EQ(w.TeamTypeCount(), 4);
    std::vector<QByteArray> added{"3=tm-a", "", "[tm-a]"};
    for (const QByteArray& l : blockWith({}))
        added.push_back(l);
    EXPECT_EQ(e.bytes(), crlf(replaceLines(registryAndSections(), 7, 0, added)));
    EXPECT_EQ(currentRow(w.LstFig), -1); // neither selected nor loaded
}

TEST(TeamList, AddRefusesDuplicatesAnswersWithoutDashAndCommas) {
    TeamEditor e;
    Window& w = *e.w;
    const QByteArray before = e.bytes();
    e.dialogs.promptAnswers = {QStringLiteral("TM-A"), QStringLiteral("TMX"),
                               QStringLiteral("TM-X,Y"), QString()};
    for (int i = 0; i < 4; ++i)
        click(w.CmdTeamAdd);
    const std::vector<ShownMessage> expected{
        info(QStringLiteral("作战小队名称重复，请重新输入！"), kError),
        plain(QStringLiteral("输入不合法"), kError),
        plain(QStringLiteral("输入不合法"), kError),
    };
    EXPECT_EQ(e.dialogs.messages, expected);
    EXPECT_EQ(items(w.LstFig), (QStringList{"TM-A", "TM-B", "TM-C"}));
    EXPECT_EQ(w.TeamTypeCount(), 3);
    EXPECT_EQ(e.bytes(), before);
}

TEST(TeamList, AddWithoutARulesFileOnlyListsTheId) {
    Editor e(false);
    e.dialogs.promptAnswers = {QStringLiteral("TM-N")};
    click(e.w->CmdTeamAdd);
    EXPECT_EQ(items(e.w->LstFig), QStringList{"TM-N"});
    EXPECT_EQ(e.w->TeamTypeCount(), 0);
}

TEST(TeamList, DeleteRenumbersTheRegistryAndRemovesTheSection) {
    TeamEditor e;
    Window& w = *e.w;
    clickRow(w.LstFig, e.figRow("TM-A"));
    e.dialogs.clear();
    const QByteArray before = e.bytes();
    e.dialogs.answers = {MsgAnswer::No};
    click(w.CmdTeamKill);
    EXPECT_EQ(e.bytes(), before);
    EXPECT_EQ(items(w.LstFig).size(), 3);

    e.dialogs.answers = {MsgAnswer::Yes};
    click(w.CmdTeamKill);
    // A team type that a trigger uses says so.
    const ShownMessage ask =
        question(QStringLiteral("有 1 个触发使用此作战小队，确定删除？"), QStringLiteral("提示"));
    EXPECT_EQ(e.dialogs.messages, (std::vector<ShownMessage>{ask, ask}));
    EXPECT_EQ(items(w.LstFig), (QStringList{"TM-B", "TM-C"}));
    EXPECT_EQ(w.TeamTypeCount(), 2);
    EXPECT_EQ(w.TxtTeam->text(), "TM-A"); // still names the deleted team type
    QList<QByteArray> expected = registryAndSections();
    expected.remove(8, 12); // the section with its key lines; its blank line stays
    expected.replace(4, "0=TM-B");
    expected.replace(5, "1=TM-C");
    expected.remove(6);
    EXPECT_EQ(e.bytes(), crlf(expected));

    // The next add takes the freed number; its section goes before the next header.
    e.dialogs.promptAnswers = {QStringLiteral("TM-D")};
    click(w.CmdTeamAdd);
    EXPECT_TRUE(e.bytes().contains("1=TM-C\r\n2=TM-D\r\n\r\n\r\n[TM-D]\r\n"))
        << e.bytes().toStdString();
    EXPECT_TRUE(e.bytes().contains("TaskForce=\r\n\r\n[TM-B]\r\n"));
}

TEST(TeamList, DeletingAnIdOutsideTheRegistryStillRemovesItsSection) {
    TeamEditor e({"[TeamTypes]", "0=TM-A", "", "[TM-Z]", "Name=z", "", "[TM-A]", "Name=a"});
    Window& w = *e.w;
    EXPECT_TRUE(w.DeleteTeamType(QStringLiteral("TM-Z")));
    EXPECT_EQ(w.TeamTypeCount(), 1);
    EXPECT_EQ(e.bytes(), crlf({"[TeamTypes]", "0=TM-A", "", "", "[TM-A]", "Name=a"}));
    // An empty ID deletes nothing.
    EXPECT_FALSE(w.DeleteTeamType(QString()));
    EXPECT_EQ(e.bytes(), crlf({"[TeamTypes]", "0=TM-A", "", "", "[TM-A]", "Name=a"}));
}

TEST(TeamList, TriggerTeamListTakesTwoEntriesAndAsksBeforeRemoving) {
    TeamEditor e;
    Window& w = *e.w;
    click(w.CmdTeam); // nothing selected in LstFig
    EXPECT_EQ(w.LstTeam->count(), 0);
    clickRow(w.LstFig, e.figRow("TM-B"));
    for (int i = 0; i < 3; ++i)
        click(w.CmdTeam);
    EXPECT_EQ(items(w.LstTeam), (QStringList{"TM-B", "TM-B"}));

    e.dialogs.clear();
    click(w.CmdTeamDelete); // nothing selected in LstTeam
    EXPECT_TRUE(e.dialogs.messages.empty());
    clickRow(w.LstTeam, 1);
    e.dialogs.clear();
    e.dialogs.answers = {MsgAnswer::No, MsgAnswer::Yes};
    click(w.CmdTeamDelete);
    EXPECT_EQ(w.LstTeam->count(), 2);
    click(w.CmdTeamDelete);
    EXPECT_EQ(items(w.LstTeam), QStringList{"TM-B"});
    const ShownMessage ask{QStringLiteral("确定删除？"), QStringLiteral("提示"),
                           MsgIcon::Information, MsgButtons::YesNo};
    EXPECT_EQ(e.dialogs.messages, (std::vector<ShownMessage>{ask, ask}));
}

TEST(TeamList, SelectingATriggerTeamLoadsItAndNoneShowsNoTeamType) {
    TeamEditor e;
    Window& w = *e.w;
    w.LstTeam->addItems({QStringLiteral("TM-B"), QStringLiteral("<none>")});
    w.TxtNote->setText(QStringLiteral("note"));
    clickRow(w.LstTeam, 0);
    EXPECT_EQ(w.TxtTeam->text(), "TM-B");
    EXPECT_EQ(w.TxtTeamName->text(), "Bravo");
    EXPECT_EQ(w.TxtNote->text(), QStringLiteral("note")); // the note panel stays
    clickRow(w.LstTeam, 1);
    EXPECT_EQ(w.TxtTeam->text(), "");
    EXPECT_EQ(w.TxtTeamName->text(), "");
    EXPECT_TRUE(e.dialogs.messages.empty());
}

TEST(TeamList, AutoSaveSavesTheTeamOnShowBeforeTheNextIsLoaded) {
    TeamEditor e;
    Window& w = *e.w;
    clickRow(w.LstFig, e.figRow("TM-B"));
    replaceText(w.TxtPriority, QStringLiteral("9"));
    e.dialogs.answers = {MsgAnswer::Yes};
    w.mYes_Click();
    ASSERT_EQ(w.AutoSave(), -1);
    e.dialogs.clear();
    w.LstTeam->addItem(QStringLiteral("TM-A"));
    clickRow(w.LstTeam, 0);
    // The save of TM-B comes first; then TM-A's load meets its priority check.
    const std::vector<ShownMessage> expected{plain(kSaved),
                                             info(QStringLiteral("优先级输入不合法！"), kError)};
    EXPECT_EQ(e.dialogs.messages, expected);
    EXPECT_TRUE(e.bytes().contains("[TM-B]\r\nName=Bravo\r\n"));
    EXPECT_TRUE(e.bytes().contains("\r\nPriority=9\r\n"));
    EXPECT_EQ(w.TxtTeam->text(), "TM-A");
}

TEST(TeamList, CopyAndChangingTaskForceAndScript) {
    TeamEditor e;
    Window& w = *e.w;
    clickRow(w.LstFig, e.figRow("TM-B"));
    click(w.CmdTeamCopy);
    EXPECT_EQ(e.dialogs.clipboard, QStringList{"TM-B"});

    click(w.CmdFigChange); // no task force selected
    click(w.CmdBaseChange);
    EXPECT_EQ(items(w.LstSpeAdd), QStringList{QString()});
    EXPECT_EQ(items(w.LstScrAdd), QStringList{QString()});
    // Selecting a script clears the task force selection, so each change follows its
    // own selection.
    w.SSTab->setCurrentIndex(2);
    clickRow(w.LstSpe, 0);
    click(w.CmdFigChange);
    w.SSTab->setCurrentIndex(3);
    clickRow(w.LstScr, 0);
    click(w.CmdFigChange); // no task force selected any more: nothing changes
    click(w.CmdBaseChange);
    EXPECT_EQ(items(w.LstSpeAdd), QStringList{"TF-1"});
    EXPECT_EQ(items(w.LstScrAdd), QStringList{"SC-1"});
    e.dialogs.clear();
    w.CmdSaveFig_Click();
    EXPECT_TRUE(e.bytes().contains("Script=SC-1\r\nTaskForce=TF-1\r\n\r\n[TaskForces]"));
}
