// The record on show is the record that gets written: through the real window, each
// group of ways a save, delete or selection could touch a record the user did not pick.
#include "document/IniText.h"
#include "support/WidgetDriver.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>
#include <QStatusBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

using namespace tarvok;
using namespace tarvok::test;

namespace {

const QByteArray kBlock(64, '0');
QByteArray triggerLine(const QByteArray& key, const QByteArray& team) {
    return key + "," + team + ",<all>,10,0,<none>," + kBlock +
           ",70.000000,10.000000,70.000000,1,0,1,0,<none>,1,1,1";
}

// A file with the traits that used to mislead the panels: task forces and scripts whose
// Name line stands later in the section, a task force entry whose section holds team
// keys, registries numbered from 1, entries without a section or with a trailing space.
QList<QByteArray> awkwardFile() {
    QList<QByteArray> l{"[AITriggerTypes]",
                        triggerLine("T1=First", "TM-A"),
                        triggerLine("T2=Second", "TM-B"),
                        "",
                        "[TeamTypes]",
                        "1=TM-A",
                        "2=TM-B",
                        "3=TM-NOSEC",
                        "4=TM-C ",
                        "",
                        "[TM-A]"};
    l << newTeamBlock({{"Name", "Alpha"}, {"TaskForce", "TF-A"}, {"Script", "SC-A"}}) << ""
      << "[TM-B]"
      << newTeamBlock({{"Name", "Beta"}, {"TaskForce", "TF-LATE"}, {"Script", "SC-LATE"}}) << ""
      << "[TM-C]" << newTeamBlock({{"Name", "Gamma"}}) << "";
    l << "[TaskForces]"
      << "1=TF-A"
      << "2=TF-LATE"
      << "3=TF-KEYS"
      << ""
      << "[TF-A]"
      << "Name=Alpha force"
      << "0=2,E1"
      << "1=1,HTNK"
      << "Group=-1"
      << ""
      << "[TF-LATE]"
      << "0=1,E1"
      << "Name=Late force"
      << "Group=-1"
      << ""
      << "[TF-KEYS]"
      << "Name=Odd"
      << "VeteranLevel=1"
      << "Loadable=no"
      << "Priority=x"
      << "";
    l << "[ScriptTypes]"
      << "1=SC-A"
      << "2=SC-LATE"
      << ""
      << "[SC-A]"
      << "Name=Alpha script"
      << "0=0,0"
      << ""
      << "[SC-LATE]"
      << "0=49,0"
      << "Name=Late script";
    return l;
}

void browseEveryEntry(Editor& e) {
    for (QAbstractItemView* list : {e.w->LstRoot, e.w->LstFig, e.w->LstSpe, e.w->LstScr}) {
        e.w->SSTab->setCurrentWidget(list->parentWidget());
        for (int row = 0; row < rowCount(list); ++row)
            clickRow(list, row);
    }
}

} // namespace

TEST(Integrity, BrowsingEveryRecordWithAutoSaveAndSavingAllChangesNoLine) {
    Editor e;
    const QByteArray content = crlf(awkwardFile());
    const QString path = e.dir.write(QStringLiteral("aimd.ini"), content);
    e.open(path);
    e.dialogs.answers.push_back(MsgAnswer::Yes);
    e.w->mYes->trigger();
    browseEveryEntry(e);
    e.w->CmdSaveAll_Click();
    EXPECT_EQ(readBytes(path), content);
    // The task force made of team keys shows no rows, and raises no digit-filter boxes.
    EXPECT_FALSE(e.dialogs.texts().contains(QStringLiteral("特遣小队ID输入不合法！")));
}

TEST(Integrity, ARecordTheFileDoesNotHaveShowsAsNewAndIsNeverWritten) {
    Editor e;
    const QString path = e.dir.write(QStringLiteral("aimd.ini"), crlf(awkwardFile()));
    e.open(path);
    const QByteArray before = readBytes(path);
    clickRow(e.w->LstFig, 0); // TM-A, with its task force's rows
    clickRow(e.w->LstFig, 2); // TM-NOSEC: no section
    EXPECT_EQ(e.w->TxtTeamName->text(), QString());
    EXPECT_EQ(e.w->TxtPriority->text(), QStringLiteral("5"));
    clickRow(e.w->LstSpe, 2); // TF-KEYS: team keys, no rows
    EXPECT_EQ(rowCount(e.w->LvwSpe), 0);
    EXPECT_EQ(e.w->TxtSpeName->text(), QString());
    e.dialogs.clear();
    e.w->CmdSaveAll_Click();
    EXPECT_EQ(
        e.dialogs.messages,
        (std::vector<ShownMessage>{
            info(QStringLiteral("文件中没有这个作战小队，未保存！"), QStringLiteral("错误")),
            info(QStringLiteral("文件中没有这个特遣小队，未保存！"), QStringLiteral("错误"))}));
    EXPECT_EQ(readBytes(path), before);
}

TEST(Integrity, ARefusedAutoSaveKeepsTheUserOnTheRecordAndItsEdits) {
    Editor e;
    const QString path = e.dir.write(QStringLiteral("aimd.ini"), crlf(awkwardFile()));
    e.open(path);
    const QByteArray before = readBytes(path);
    clickRow(e.w->LstRoot, 0);
    e.dialogs.answers.push_back(MsgAnswer::Yes);
    e.w->mYes->trigger();
    e.w->CboBase->setEditText(QString()); // an empty weight is no line to write
    e.dialogs.clear();
    clickRow(e.w->LstRoot, 1);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{plain(QStringLiteral("输入不合法！"))});
    EXPECT_EQ(currentRow(e.w->LstRoot), 0);
    EXPECT_EQ(selectedRows(e.w->LstRoot).value(0, -1), 0);
    EXPECT_EQ(e.w->TxtRoot->text(), QStringLiteral("T1=First"));
    EXPECT_EQ(e.w->CboBase->currentText(), QString());
    e.dialogs.files.push_back(path);
    e.w->CmdOpen_Click(); // opening another file is held back as well
    EXPECT_EQ(e.w->TxtRoot->text(), QStringLiteral("T1=First"));
    EXPECT_EQ(readBytes(path), before);
}

TEST(Integrity, AfterADeleteNothingIsSelectedAndNoRowFollowsTheFields) {
    Editor e;
    const QString path = e.dir.write(QStringLiteral("aimd.ini"), crlf(awkwardFile()));
    e.open(path);
    e.w->SSTab->setCurrentIndex(2);
    clickRow(e.w->LstSpe, 0);
    clickRow(e.w->LvwSpe, 0);
    e.dialogs.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    click(e.w->CmdSpeTypeKill);
    replaceText(e.w->TxtSpeNum, QStringLiteral("9"));
    EXPECT_EQ(row(e.w->LvwSpe, 0), (QStringList{"1", "1", "HTNK"}));
    click(e.w->CmdSpeKill);
    EXPECT_EQ(items(e.w->LstSpe), (QStringList{"TF-LATE", "TF-KEYS"}));
    EXPECT_TRUE(selectedRows(e.w->LstSpe).isEmpty());
    EXPECT_EQ(currentRow(e.w->LstSpe), -1);
    e.dialogs.clear();
    const QByteArray afterDelete = readBytes(path);
    click(e.w->CmdSpeKill);  // nothing picked: nothing asked, nothing removed
    e.w->CmdSaveSpe_Click(); // the deleted task force is never written back
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{info(QStringLiteral("文件中没有这个特遣小队，未保存！"),
                                             QStringLiteral("错误"))});
    EXPECT_EQ(readBytes(path), afterDelete);
}

TEST(Integrity, AddsTrimTheirAnswerAndNeverTakeAnotherRecordsSection) {
    Editor e;
    const QString path = e.dir.write(QStringLiteral("aimd.ini"), crlf(awkwardFile()));
    e.open(path);
    const QByteArray before = readBytes(path);
    e.dialogs.promptAnswers = {QStringLiteral("SC-A"), QStringLiteral(" \tTF-NEW \t")};
    click(e.w->CmdSpeAdd);
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{
                  info(QStringLiteral("小队名称重复，请重新输入！"), QStringLiteral("错误"))});
    EXPECT_EQ(readBytes(path), before);
    click(e.w->CmdSpeAdd);
    EXPECT_EQ(items(e.w->LstSpe).last(), QStringLiteral("TF-NEW"));
    EXPECT_TRUE(readBytes(path).contains("\r\n[TF-NEW]\r\n"));
}

TEST(Integrity, WhatTheFileSaysOfItselfIsHeeded) {
    Editor e;
    // A line whose bytes do not decode (a UTF-8 name in a GBK file) is shown, never
    // written back.
    const QByteArray content = crlf({"[AITriggerTypes]", triggerLine("T1=\xE8\xBF\x9B", "<none>"),
                                     gbk(QStringLiteral(";进攻部队"))});
    const QString path = e.dir.write(QStringLiteral("aimd.ini"), content);
    e.open(path);
    clickRow(e.w->LstRoot, 0);
    e.dialogs.clear();
    e.w->CmdSaveRoot_Click();
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{info(QStringLiteral("该记录含有无法识别的字符，未保存！"),
                                             QStringLiteral("错误"))});
    EXPECT_EQ(readBytes(path), content);
    // A second name of the file is told at opening.
    std::error_code ec;
    std::filesystem::create_hard_link(
        QFile::encodeName(path).toStdString(),
        QFile::encodeName(e.dir.file(QStringLiteral("twin.ini"))).toStdString(), ec);
    ASSERT_FALSE(ec);
    e.open(path);
    EXPECT_EQ(e.w->main.statusBar()->currentMessage(),
              QStringLiteral("该文件还有其他硬链接，保存后它们不会随之更新"));
}

TEST(Integrity, ARegistryNumberedFromOneNeverGetsADuplicateNumber) {
    Editor e;
    const QString path = e.dir.write(QStringLiteral("aimd.ini"), crlf(awkwardFile()));
    e.open(path);
    const auto deleteFirst = [&] {
        clickRow(e.w->LstFig, 0);
        e.dialogs.answers.push_back(MsgAnswer::Yes);
        click(e.w->CmdTeamKill);
    };
    deleteFirst();
    e.dialogs.promptAnswers = {QStringLiteral("TM-NEW")};
    click(e.w->CmdTeamAdd);
    deleteFirst();
    const QByteArray after = readBytes(path); // the line model views it
    const IniText text(after);
    QList<QByteArrayView> numbers;
    for (const IniText::Section& s : text.sections("TeamTypes"))
        for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i)
            if (text.kind(i) == IniText::Kind::Key)
                numbers << text.key(i);
    EXPECT_EQ(numbers.size(), 3);
    EXPECT_EQ(QSet<QByteArrayView>(numbers.begin(), numbers.end()).size(), numbers.size());
    EXPECT_EQ(items(e.w->LstFig), (QStringList{"TM-NOSEC", "TM-C", "TM-NEW"}));
}
