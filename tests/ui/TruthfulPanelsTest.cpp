// Whatever the user opens or selects, every value on screen belongs to the record whose ID
// stands beside it: panels empty themselves when they have no record, records without Name
// edit like any other, files open by what they hold, and the wheel edits nothing unasked.
#include "support/WidgetDriver.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {

// Every value the record panels and the notes show, by control.
QStringList shownValues(Window& w) {
    QStringList out;
    for (QGroupBox* frame : {w.FraRoot, w.FraTeam, w.FraFig1, w.FraSpe, w.FraScr}) {
        out << frame->title();
        for (QLineEdit* e : frame->findChildren<QLineEdit*>())
            if (!qobject_cast<QComboBox*>(e->parentWidget()))
                out << e->objectName() + '=' + e->text();
        for (QComboBox* c : frame->findChildren<QComboBox*>())
            out << c->objectName() + '=' + c->currentText();
        for (QCheckBox* c : frame->findChildren<QCheckBox*>())
            out << c->objectName() + (c->isChecked() ? "+" : "-");
        for (QListWidget* l : frame->findChildren<QListWidget*>())
            out << l->objectName() + '=' + items(l).join('|');
    }
    out << QString::number(rowCount(w.LvwSpe)) << QString::number(rowCount(w.LvwScr))
        << w.CmdSpeTypeAdd->text() << w.TxtName->text() << w.TxtNote->text() << w.LblMsg->text()
        << items(w.LstRefRoot).join('|') << items(w.LstRefFig).join('|');
    return out;
}

const QByteArray kChains = crlf({
    "[AITriggerTypes]",
    "T1=Lone,<none>,<all>,10,0,<none>," + QByteArray(64, '0') +
        ",70.000000,10.000000,70.000000,1,0,1,0,<none>,1,1,1",
    "T2=Chain,TM-X,<all>,10,0,<none>," + QByteArray(64, '0') +
        ",70.000000,10.000000,70.000000,1,0,1,0,<none>,1,1,1",
    "",
    "[TeamTypes]",
    "0=TM-X",
    "",
    "[TM-X]",
    "Name=Xray",
    "TaskForce=TF-GONE",
    "Script=",
    "",
    "[ScriptTypes]",
    "0=SC-NN",
    "",
    "[SC-NN] ; a script the way the game takes it: no Name",
    "0=53,0",
    "1=49,0",
});

} // namespace

// Opening a file empties every panel, the notes and the hint, back to what a new window
// shows; the panels of the file before never stay on show.
TEST(TruthfulPanels, OpeningAFileEmptiesEveryPanel) {
    Editor e;
    const QStringList atStart = shownValues(*e.w);
    const QString sample = e.dir.file(QStringLiteral("aimd.ini"));
    e.open(sample);
    clickRow(e.w->LstRoot, 0);
    ASSERT_FALSE(e.w->TxtTeam->text().isEmpty());
    replaceText(e.w->TxtTeamName, QStringLiteral("half typed"));
    e.open(e.dir.write(QStringLiteral("other/aimd.ini"), readBytes(sample)));
    EXPECT_EQ(shownValues(*e.w), atStart);
}

// A panel with no record shows none, and its frame says why: a trigger without team
// types, a team type whose task force the file lacks (its ID kept, a save refused) or
// whose script it does not name.
TEST(TruthfulPanels, APanelWithoutItsRecordIsEmptyAndSaysWhy) {
    Editor e;
    e.open(e.dir.write(QStringLiteral("aimd.ini"), kChains));
    clickRow(e.w->LstRoot, 1);
    EXPECT_EQ(e.w->TxtTeamName->text(), QStringLiteral("Xray"));
    EXPECT_EQ(e.w->FraSpe->title(), QStringLiteral("特遣小队（文件中没有）"));
    EXPECT_EQ(e.w->TxtSpe->text(), QStringLiteral("TF-GONE"));
    EXPECT_EQ(e.w->FraScr->title(), QStringLiteral("脚本（无）"));
    EXPECT_EQ(e.w->TxtScr->text(), QString());
    click(e.w->CmdSaveSpe);
    EXPECT_EQ(e.dialogs.texts(), QStringList{QStringLiteral("文件中没有这个特遣小队，未保存！")});

    clickRow(e.w->LstRoot, 0);
    EXPECT_EQ(e.w->FraTeam->title(), QStringLiteral("作战小队（无）"));
    EXPECT_EQ(e.w->TxtTeamName->text(), QString());
    EXPECT_EQ(e.w->FraSpe->title(), QStringLiteral("特遣小队（无）"));
    EXPECT_EQ(e.w->TxtSpe->text(), QString());
}

// A script without Name loads with its rows, saves unchanged writing nothing, and a changed
// step writes its own line only.
TEST(TruthfulPanels, ARecordWithoutNameEditsLikeAnyOther) {
    Editor e;
    const QString path = e.dir.write(QStringLiteral("aimd.ini"), kChains);
    e.open(path);
    e.w->SSTab->setCurrentIndex(3);
    clickRow(e.w->LstScr, 0);
    EXPECT_EQ(rowCount(e.w->LvwScr), 2);
    EXPECT_EQ(e.w->TxtScrName->text(), QString());
    click(e.w->CmdSaveScr);
    EXPECT_EQ(readBytes(path), kChains);
    clickRow(e.w->LvwScr, 1);
    replaceText(e.w->TxtNumber, QStringLiteral("3"));
    e.dialogs.answers = {MsgAnswer::Yes}; // a parameter the catalogue does not explain
    click(e.w->CmdSaveScr);
    EXPECT_EQ(readBytes(path), QByteArray(kChains).replace("1=49,0", "1=49,3"));
    EXPECT_EQ(e.dialogs.texts().last(), QStringLiteral("脚本已保存！"));
}

// What a file holds decides: an AI file under its mod's own name opens (with no warning
// meant for the game's own AI), a game rules file without AI sections is refused.
TEST(TruthfulPanels, FilesOpenByWhatTheyHold) {
    Editor e;
    const QString mod = e.dir.write(QStringLiteral("mod/aimo.ini"), kChains);
    e.open(mod);
    EXPECT_EQ(items(e.w->LstRoot), (QStringList{"T1=Lone", "T2=Chain"}));
    e.dialogs.files.push_back(e.dir.write(QStringLiteral("mod/rules.ini"), "[General]\r\n"));
    e.w->CmdOpen_Click();
    EXPECT_EQ(e.dialogs.texts(), QStringList{QStringLiteral("请正确选择文件！")});
    EXPECT_EQ(e.w->RulesFilePath(), mod);
}

// The wheel over a combo box the user has not clicked into leaves its value.
TEST(TruthfulPanels, TheWheelChangesNoFieldWithoutTheFocus) {
    Editor e;
    focusOn(e.w->TxtTeamName);
    const QString before = e.w->CboAction->currentText();
    QWheelEvent wheel(QPointF(5, 5), e.w->CboAction->mapToGlobal(QPointF(5, 5)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(e.w->CboAction, &wheel);
    EXPECT_EQ(e.w->CboAction->currentText(), before);
    focusOn(e.w->CboAction);
    QApplication::sendEvent(e.w->CboAction, &wheel);
    EXPECT_NE(e.w->CboAction->currentText(), before);
}
