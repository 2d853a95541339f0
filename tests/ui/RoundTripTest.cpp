// Loading every record of a realistic rules file through the lists and saving it
// unchanged must give back the file the user had, byte for byte; a changed value
// changes only its own text.

#include "support/WidgetDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>

#include <gtest/gtest.h>

#include <functional>

using namespace tarvok;
using namespace tarvok::test;

namespace {

const QString kTriggerSaved = QStringLiteral("触发已保存！");
const QString kTeamSaved = QStringLiteral("作战小队已保存！");
const QString kTaskForceSaved = QStringLiteral("特遣小队已保存！");
const QString kScriptSaved = QStringLiteral("脚本已保存！");

QByteArray num(int n) {
    return QByteArray::number(n);
}
QByteArray pad(int n, int width) {
    return QByteArray::number(n).rightJustified(width, '0');
}

// The rules file as written and as the saves leave it.
struct Fixture {
    QList<QByteArray> lines;    // the file as the user has it
    QList<QByteArray> expected; // the file after every record was loaded and saved unchanged
    int triggers = 0, teams = 0, taskForces = 0, scripts = 0;

    void both(const QByteArray& line) {
        lines << line;
        expected << line;
    }
    void both(const QList<QByteArray>& ls) {
        for (const QByteArray& l : ls)
            both(l);
    }
};

const char* const kCountries[] = {"<all>",   "Russians",    "Confederation", "Africans",
                                  "Arabs",   "YuriCountry", "British",       "French",
                                  "Germans", "Americans",   "Alliance"};
const char* const kUnits[] = {"E1", "E2",     "SHK", "ENGINEER", "HTNK", "MTNK",
                              "FV", "GAWEAP", "DOG", "HTK",      "ZEP"};
const char* const kWeights[] = {"500.000000", "70.000000", "50.000000",  "40.000000",
                                "20.000000",  "10.000000", "5000.000000"};
// Script steps a real file holds: action, parameter.
const char* const kSteps[][2] = {{"0", "0"},  {"53", "0"}, {"46", "14"}, {"54", "0"},
                                 {"5", "30"}, {"6", "1"},  {"49", "0"},  {"46", "131079"},
                                 {"11", "2"}, {"8", "3"},  {"3", "0"},   {"21", "0"}};

QByteArray teamId(int i) {
    return "0100" + pad(i, 4) + "-G";
}
QByteArray taskForceId(int i) {
    return "0300" + pad(i, 4) + "-G";
}
QByteArray scriptId(int i) {
    return "0200" + pad(i, 4) + "-G";
}

// A condition block: the amount as two hexadecimal digits, the comparison in position
// 10, and what the editor does not show in the other positions.
QByteArray conditionBlock(int i) {
    QByteArray b(64, '0');
    const QByteArray amount = QByteArray::number(i * 7 % 256, 16).toUpper().rightJustified(2, '0');
    b[0] = amount[0];
    b[1] = amount[1];
    b[9] = char('0' + i % 6);
    if (i % 5 == 0)
        b[4] = '3'; // positions 3-9: hidden, kept
    if (i % 7 == 0)
        b.replace(20, 8, "01000000"); // positions 11-64: hidden, kept
    return b;
}

QByteArray triggerLine(int i, const QByteArray& hidden10 = "1", const QByteArray& hidden13 = "0") {
    const QByteArray key = "0400" + pad(i, 4) + "-G=" + gbk(QStringLiteral("触发%1号").arg(i));
    const QByteArray team1 = i % 9 == 4 ? QByteArray("<none>") : teamId(i % 130);
    const QByteArray team2 = i % 3 == 0 ? teamId((i + 17) % 130) : QByteArray("<none>");
    const QByteArray unit = i % 4 == 0 ? QByteArray("<none>") : QByteArray(kUnits[i % 11]);
    return key + "," + team1 + "," + kCountries[i % 11] + "," + num(1 + i % 10) + "," + num(i % 8) +
           "," + unit + "," + conditionBlock(i) + "," + kWeights[i % 7] + "," +
           kWeights[(i + 3) % 7] + "," + kWeights[(i + 5) % 7] + "," + hidden10 + ",0," +
           num(1 + i % 6) + "," + hidden13 + "," + team2 + "," + num(i % 2) + "," +
           num((i / 2) % 2) + ",1";
}

const char* yesNo(bool on) {
    return on ? "yes" : "no";
}

// A team block in table order with its fixed values, so a save writes it back as it is.
QList<QByteArray> teamBlock(int i) {
    const int tf = i % 120, sc = (i * 7) % 120;
    return {"Name=" + gbk(QStringLiteral("作战小队%1 Max Priority").arg(i)),
            "VeteranLevel=1",
            "MindControlDecision=" + num(i % 6),
            QByteArray("Loadable=") + yesNo(i % 2),
            QByteArray("Full=") + yesNo(i % 3 == 0),
            QByteArray("Annoyance=") + yesNo(i % 5 == 0),
            QByteArray("GuardSlower=") + yesNo(i % 7 == 0),
            "House=<none>",
            QByteArray("Recruiter=") + yesNo(i % 4 == 1),
            QByteArray("Autocreate=") + yesNo(i % 3 != 2),
            QByteArray("Prebuild=") + yesNo(i % 11 == 0),
            QByteArray("Reinforce=") + yesNo(i % 13 == 0),
            QByteArray("Droppod=") + yesNo(i % 17 == 0),
            QByteArray("UseTransportOrigin=") + yesNo(i % 6 == 1),
            QByteArray("Whiner=") + yesNo(i % 2 == 0),
            QByteArray("LooseRecruit=") + yesNo(i % 9 == 0),
            QByteArray("Aggressive=") + yesNo(i % 4 == 0),
            QByteArray("Suicide=") + yesNo(i % 5 != 0),
            "Priority=" + num(i % 40),
            "Max=" + num(1 + i % 12),
            "TechLevel=" + num(i % 11),
            "Group=-1",
            QByteArray("OnTransOnly=") + yesNo(i % 8 == 0),
            QByteArray("AvoidThreats=") + yesNo(i % 3 == 1),
            QByteArray("IonImmune=") + yesNo(i % 10 == 0),
            QByteArray("TransportsReturnOnUnload=") + yesNo(i % 2 == 1),
            QByteArray("AreTeamMembersRecruitable=") + yesNo(i % 4 == 2),
            QByteArray("IsBaseDefense=") + yesNo(i % 15 == 0),
            QByteArray("OnlyTargetHouseEnemy=") + yesNo(i % 6 == 0),
            "Script=" + scriptId(sc),
            "TaskForce=" + taskForceId(tf)};
}

QList<QByteArray> taskForceEntries(int i) {
    QList<QByteArray> out;
    const int n = i % 5; // 0 to 4 entries; some task forces are empty
    for (int k = 0; k < n; ++k) {
        QByteArray line = num(k) + "=" + num(1 + (i + k) % 9) + "," + kUnits[(i + k * 3) % 11];
        if (i % 8 == 3 && k == 1)
            line = "  " + line; // an indented entry stays as it is
        out << line;
    }
    return out;
}

QList<QByteArray> scriptSteps(int i) {
    QList<QByteArray> out;
    const int n = 1 + i % 4;
    for (int k = 0; k < n; ++k) {
        const auto& s = kSteps[(i + k * 5) % 12];
        QByteArray line = num(k) + "=" + s[0] + "," + s[1];
        if (i % 10 == 7 && k == 1)
            line = "  " + line; // not the first step: that one is shown in the fields
        out << line;
    }
    return out;
}

// Hundreds of records with GBK names; the registries out of order, numbered from 0 and
// from 1000; sections interleaved, some directly after another with no blank line;
// duplicated trigger lines, registry entries and sections; entries after "Group=-1".
Fixture realisticFixture() {
    Fixture f;
    f.triggers = 150;
    f.teams = 130;
    f.taskForces = 120;
    f.scripts = 120;
    f.both({gbk(QStringLiteral("; 往返测试规则文件：几百条记录")), ";", ""});

    f.both("[AITriggerTypes]");
    for (int i = 0; i < f.triggers; ++i) {
        f.both(triggerLine(i));
        if (i == 40) // the same trigger twice; what the panel does not show differs
            f.both(triggerLine(i, "0", "1"));
    }
    f.both(gbk(QStringLiteral("; 脚本注册表在前")));

    // Task forces numbered from 1000, directly followed by the scripts' registry.
    f.both("[TaskForces]");
    for (int i = 0; i < f.taskForces; ++i)
        f.both(num(1000 + i) + "=" + taskForceId(i));
    f.both(num(1000 + f.taskForces) + "=" + taskForceId(33)); // listed twice
    f.both("[ScriptTypes]");
    for (int i = 0; i < f.scripts; ++i)
        f.both(num(i) + "=" + scriptId(i));
    f.both("");
    f.both("[TeamTypes]");
    for (int i = 0; i < f.teams; ++i)
        f.both(num(i) + "=" + teamId(i));
    f.both("");

    // Sections in reverse or shuffled order, mixed kinds.
    for (int i = f.teams - 1; i >= 0; --i) {
        f.both("[" + teamId(i) + "]");
        f.both(teamBlock(i));
        if (i % 10 == 0) // keys this editor does not know come back as they were
            f.both({"AreTeamMembersRecruitabl=no", "  TransportWaypoint=B"});
        if (i % 4 != 0) // sections directly after each other
            f.both("");

        const int tf = (i * 37) % f.taskForces;
        if (i < f.taskForces) {
            const QList<QByteArray> entries = taskForceEntries(tf);
            f.both("[" + taskForceId(tf) + "]");
            f.both("Name=" + gbk(QStringLiteral("特遣小队%1").arg(tf)));
            if (tf % 20 == 7 && entries.size() >= 2) {
                // Units after "Group=-1": kept, and written before it.
                f.lines << entries.first() << "Group=-1" << entries.mid(1);
                f.expected << entries << "Group=-1";
            } else {
                f.both(entries);
                f.both("Group=-1");
            }
            if (tf % 3 != 0)
                f.both("");
        }
        const int sc = (i * 53) % f.scripts;
        if (i < f.scripts) {
            f.both("[" + scriptId(sc) + "]");
            f.both("Name=" + gbk(QStringLiteral("脚本%1").arg(sc)));
            f.both(scriptSteps(sc));
            if (sc % 2)
                f.both("");
        }
    }
    // A team type and a task force defined twice: both copies are written alike.
    f.both("");
    f.both("[" + teamId(5) + "]");
    f.both(teamBlock(5));
    f.both("Extension=kept");
    f.both("");
    f.both("[" + taskForceId(33) + "]");
    f.both("Name=" + gbk(QStringLiteral("特遣小队%1").arg(33)));
    f.both(taskForceEntries(33));
    f.both("Group=-1");
    return f;
}

struct RoundTripEditor : Editor {
    explicit RoundTripEditor(const QByteArray& content) : Editor(true) {
        dir.write(QStringLiteral("Name.WQ"), QByteArray());
        path = dir.write(QStringLiteral("aimd.ini"), content);
        open(path);
    }
    // Selects every entry of the list in turn and presses the panel's save button.
    void selectAndSaveEach(QAbstractItemView* list, QPushButton* save, int expectedCount) {
        ASSERT_EQ(rowCount(list), expectedCount) << list->objectName().toStdString();
        for (int r = 0; r < rowCount(list); ++r) {
            clickRow(list, r);
            click(save);
        }
    }
    QString path;
};

// The message texts, readable in a failure report.
std::string shown(const ScriptedDialogs& d) {
    return d.texts().join(QLatin1Char('|')).toStdString();
}

QStringList repeated(const QString& text, int n) {
    QStringList out;
    for (int i = 0; i < n; ++i)
        out << text;
    return out;
}

} // namespace

TEST(RoundTrip, TheFixtureHoldsWhatRealFilesHold) {
    const Fixture f = realisticFixture();
    int adjacent = 0, indented = 0, afterGroup = 0;
    for (qsizetype i = 1; i < f.lines.size(); ++i) {
        const QByteArray& l = f.lines[i];
        if (l.startsWith('[') && f.lines[i - 1].contains('=') && !f.lines[i - 1].startsWith('['))
            ++adjacent;
        if ((l.startsWith(' ') || l.startsWith('\t')) && l.contains('='))
            ++indented;
        if (f.lines[i - 1] == "Group=-1" && !l.isEmpty() && !l.startsWith('['))
            ++afterGroup;
    }
    EXPECT_GT(adjacent, 50);
    EXPECT_GT(indented, 20);
    EXPECT_GT(afterGroup, 3);
    EXPECT_TRUE(f.lines.contains("1000=" + taskForceId(0)));
    EXPECT_TRUE(f.lines.contains("0=" + scriptId(0)));
    EXPECT_TRUE(f.lines.contains("0=" + teamId(0)));
    EXPECT_GT(f.lines.size(), 5000);
}

TEST(RoundTrip, EveryRecordOfARealisticFileLoadedAndSavedLeavesItsBytes) {
    const Fixture f = realisticFixture();
    RoundTripEditor e(crlf(f.lines));
    Window& w = *e.w;
    EXPECT_EQ(w.TeamTypeCount(), f.teams);
    EXPECT_EQ(w.TaskForceCount(), f.taskForces + 1);
    EXPECT_EQ(w.ScriptTypeCount(), f.scripts);

    e.selectAndSaveEach(w.LstRoot, w.CmdSaveRoot, f.triggers + 1);
    // Every trigger shows no refusal while it loads and is confirmed once.
    EXPECT_EQ(e.dialogs.texts(), repeated(kTriggerSaved, f.triggers + 1)) << shown(e.dialogs);
    EXPECT_EQ(readBytes(e.path), crlf(f.lines)) << "trigger saves changed the file";

    e.dialogs.clear();
    e.selectAndSaveEach(w.LstFig, w.CmdSaveFig, f.teams);
    EXPECT_EQ(e.dialogs.texts(), repeated(kTeamSaved, f.teams)) << shown(e.dialogs);
    EXPECT_EQ(readBytes(e.path), crlf(f.lines)) << "team saves changed the file";

    e.dialogs.clear();
    e.selectAndSaveEach(w.LstSpe, w.CmdSaveSpe, f.taskForces + 1);
    EXPECT_EQ(e.dialogs.texts(), repeated(kTaskForceSaved, f.taskForces + 1)) << shown(e.dialogs);

    e.dialogs.clear();
    e.selectAndSaveEach(w.LstScr, w.CmdSaveScr, f.scripts);
    EXPECT_EQ(e.dialogs.texts(), repeated(kScriptSaved, f.scripts)) << shown(e.dialogs);

    EXPECT_EQ(readBytes(e.path), crlf(f.lines));
}

TEST(RoundTrip, OfADuplicatedTriggerOnlyTheLineOnShowIsEdited) {
    const Fixture f = realisticFixture();
    RoundTripEditor e(crlf(f.lines));
    Window& w = *e.w;
    const QString key = QStringLiteral("04000040-G=触发40号");
    const int r = items(w.LstRoot).indexOf(key);
    ASSERT_GE(r, 0);
    clickRow(w.LstRoot, r);
    replaceText(w.TxtKeyNum, "12");
    click(w.CmdSaveRoot);
    EXPECT_EQ(e.dialogs.texts(), QStringList{kTriggerSaved});
    QList<QByteArray> expected = f.lines;
    auto withAmount = [](QByteArray line) {
        const int at = line.indexOf(',', line.indexOf("-G=")) + 1;
        int field = 0, pos = at;
        while (field < 5)
            pos = line.indexOf(',', pos) + 1, ++field;
        line[pos] = '0';
        line[pos + 1] = 'C';
        return line;
    };
    const int first = expected.indexOf(triggerLine(40));
    const int second = expected.indexOf(triggerLine(40, "0", "1"));
    ASSERT_GE(first, 0);
    ASSERT_EQ(second, first + 1);
    expected[second] = withAmount(expected[second]); // the last one is on show
    EXPECT_EQ(readBytes(e.path), crlf(expected));
}

TEST(RoundTrip, HandWrittenTeamBlocksKeepTheirFormAndChangeOnlyWhatChanged) {
    // Bare line feeds and no line end after the last line; team blocks as other tools
    // and hands leave them: keys shuffled or missing, fixed keys with other values, an
    // indented key, a key in another letter case, flags in capitals, unknown keys.
    const QByteArray content = "[AITriggerTypes]\n"
                               "T1=" +
                               gbk(QStringLiteral("乱序")) + ",TM-A,<all>,1,0,<none>," +
                               QByteArray(64, '0') +
                               ",70.000000,10.000000,70.000000,1,0,1,0,<none>,1,1,1\n"
                               "\n"
                               "[TeamTypes]\n"
                               "0=TM-A\n"
                               "1=TM-B\n"
                               "[TM-A]\n"
                               "TaskForce=TF-1\n"
                               "Name=" +
                               gbk(QStringLiteral("乱序小队")) +
                               "\n"
                               "Priority=12\n"
                               "priority=99\n"
                               "VeteranLevel=3\n"
                               "AreTeamMembersRecruitabl=yes\n"
                               "House=Americans\n"
                               "  Aggressive=yes\n"
                               "Full=Yes\n"
                               "IonImmune=true\n"
                               "Group=4\n"
                               "Script=SC-1\n"
                               "Max=4\n"
                               "Tag=abc\n"
                               "\n"
                               "[TM-B]\n"
                               "Name=Bravo\n"
                               "TechLevel=7\n"
                               "Suicide=NO\n"
                               "Whiner=no";
    RoundTripEditor e(content);
    Window& w = *e.w;
    e.selectAndSaveEach(w.LstFig, w.CmdSaveFig, 2);
    EXPECT_EQ(e.dialogs.texts(), repeated(kTeamSaved, 2));
    EXPECT_EQ(readBytes(e.path), content);

    // A changed value replaces its own text; a key the section lacks gets a line after
    // its last key (the last line, which had none, gets the line end the others have).
    clickRow(w.LstFig, 0);
    replaceText(w.TxtPriority, QStringLiteral("13"));
    click(w.CmdSaveFig);
    clickRow(w.LstFig, 1);
    replaceText(w.TxtTeamCount, QStringLiteral("3"));
    click(w.CmdSaveFig);
    QByteArray expected = content;
    expected.replace("Priority=12\n", "Priority=13\n");
    expected += "\nMax=3\n";
    EXPECT_EQ(readBytes(e.path), expected);
}

TEST(RoundTrip, IdsInAnyLetterCaseAndSideZeroComeBackAsTheFileHasThem) {
    // The game matches IDs and countries without letter case, and its own files write
    // some of them in lower case; side 0 is any side. Saving such records unchanged
    // writes nothing, and none of them is refused or questioned while it loads.
    const QByteArray block = "0300000002000000" + QByteArray(48, '0');
    const QByteArray content = "[AITriggerTypes]\r\n"
                               "0400a001-g=lower,0100a001-g,russians,1,1,natech," +
                               block +
                               ",500.000000,50.000000,500.000000,1,0,0,0,0100A002-G,1,1,1\r\n"
                               "0400a002-g=odd side,0100A001-G,<ALL>,0,0,gapile," +
                               block +
                               ",70.000000,10.000000,70.000000,1,0,7,0,<NONE>,1,0,1\r\n"
                               "\r\n"
                               "[TeamTypes]\r\n"
                               "0=0100a001-g\r\n"
                               "1=0100A002-G\r\n"
                               "[0100a001-g]\r\n"
                               "Name=lower team\r\n"
                               "TaskForce=0300a001-g\r\n"
                               "Script=0200a001-g\r\n"
                               "House=americans\r\n"
                               "Max=2\r\n"
                               "[0100A002-G]\r\n"
                               "Name=upper team\r\n"
                               "TaskForce=0300A001-G\r\n"
                               "Script=<none>\r\n"
                               "House=<NONE>\r\n"
                               "\r\n"
                               "[TaskForces]\r\n"
                               "0=0300a001-g\r\n"
                               "[0300a001-g]\r\n"
                               "Name=lower tf\r\n"
                               "0=3,e1\r\n"
                               "1=1,gaweap\r\n"
                               "Group=-1\r\n"
                               "\r\n"
                               "[ScriptTypes]\r\n"
                               "0=0200a001-g\r\n"
                               "[0200a001-g]\r\n"
                               "Name=lower script\r\n"
                               "0=46,14\r\n"
                               "1=49,0\r\n";
    RoundTripEditor e(content);
    Window& w = *e.w;
    clickRow(w.LstRoot, 0);
    EXPECT_EQ(w.TxtOwner->text(), QStringLiteral("所有阵营"));
    clickRow(w.LstRoot, 1); // a side the box cannot describe stays, and is named
    EXPECT_EQ(w.CboOwner->currentText(), QStringLiteral("7"));
    EXPECT_EQ(w.TxtOwner->text(), QString());
    EXPECT_TRUE(w.ChkHigh->isChecked());
    EXPECT_EQ(w.main.statusBar()->currentMessage(),
              QStringLiteral("触发 0400a002-g 的所属方 7 不在 0 到 6 之间"));
    e.selectAndSaveEach(w.LstRoot, w.CmdSaveRoot, 2);
    EXPECT_EQ(e.dialogs.texts(), repeated(kTriggerSaved, 2)) << shown(e.dialogs);
    e.dialogs.clear();
    e.selectAndSaveEach(w.LstFig, w.CmdSaveFig, 2);
    e.selectAndSaveEach(w.LstSpe, w.CmdSaveSpe, 1);
    e.selectAndSaveEach(w.LstScr, w.CmdSaveScr, 1);
    EXPECT_EQ(e.dialogs.texts(),
              QStringList({kTeamSaved, kTeamSaved, kTaskForceSaved, kScriptSaved}))
        << shown(e.dialogs);
    EXPECT_EQ(readBytes(e.path), content);
}
