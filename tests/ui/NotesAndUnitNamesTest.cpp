// The notes on IDs and the unit name table, driven through the real controls.
#include "support/WidgetDriver.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {

const QString kNotes = QStringLiteral("Name.WQ");
const QString kScratch = QStringLiteral("NameData.WQ");

// Chinese text arrives as the key event of an input method: one event with the text.
// (The test library's key clicks only know ASCII.)
void enter(QWidget* w, const QString& text) {
    replaceText(w, QString());
    QWidget* target = w;
    if (auto* combo = qobject_cast<QComboBox*>(w))
        target = combo->lineEdit();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
}

QStringList comboItems(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

ShownMessage missingFile() {
    return info(QStringLiteral("无法找到文件"), QStringLiteral("错误"));
}
ShownMessage readOnly() {
    return info(QStringLiteral("文件写入失败，原文件未改动\n原因：文件为只读"),
                QStringLiteral("错误"));
}

// An editor whose program directory holds the given notes file (and no other data).
struct NotesEditor : Editor {
    explicit NotesEditor(const QByteArray& notes) : Editor(false) { dir.write(kNotes, notes); }
    QByteArray notes() const { return readBytes(dir.file(kNotes)); }
    void addNote(const QString& id, const QString& note) {
        enter(w->TxtName, id);
        enter(w->TxtNote, note);
        click(w->CmdNew);
    }
};

// A small unit name table with a duplicate ID, a line with one comma and a line
// without any, as hand-edited tables have them.
QByteArray unitTable() {
    return crlf({gbk(QStringLiteral("E1,美国大兵,GI")),
                 gbk(QStringLiteral("GAWEAP,盟军战车工厂,Allied War Factory")), "; no comma",
                 gbk(QStringLiteral("ONLY,一个逗号")), gbk(QStringLiteral("E2,动员兵,Conscript")),
                 gbk(QStringLiteral("E1,盟军大兵,GI (renamed)"))});
}

} // namespace

TEST(IdNotesUi, NewNotesGoOnTopAndTheScratchCopyHoldsThePreviousFile) {
    NotesEditor e(gbk(QStringLiteral("OLD-1,旧的备注\r\n")));
    e.addNote(QStringLiteral("B-1"), QStringLiteral("第二个"));
    e.addNote(QStringLiteral("A-1"), QStringLiteral("注意, 这里有逗号, 两个"));
    EXPECT_TRUE(e.dialogs.messages.empty()) << e.dialogs.texts().join('|').toStdString();
    EXPECT_EQ(e.notes(),
              crlf({gbk(QStringLiteral("A-1,注意, 这里有逗号, 两个")),
                    gbk(QStringLiteral("B-1,第二个")), gbk(QStringLiteral("OLD-1,旧的备注"))}));
    EXPECT_EQ(readBytes(e.dir.file(kScratch)),
              crlf({gbk(QStringLiteral("B-1,第二个")), gbk(QStringLiteral("OLD-1,旧的备注"))}));
    // The boxes keep what the user typed.
    EXPECT_EQ(e.w->TxtName->text(), QStringLiteral("A-1"));
    EXPECT_EQ(e.w->TxtNote->text(), QStringLiteral("注意, 这里有逗号, 两个"));

    // Found again whole, commas and all.
    replaceText(e.w->TxtNote, QString());
    click(e.w->CmdFind);
    EXPECT_EQ(e.w->TxtNote->text(), QStringLiteral("注意, 这里有逗号, 两个"));
}

TEST(IdNotesUi, RefusedAddsLeaveTheFileAlone) {
    const QByteArray old = crlf({"A-1,first", "A-10,tenth"});
    NotesEditor e(old);

    // The placeholder counts as no note; so do an empty note and an empty ID.
    replaceText(e.w->TxtName, QStringLiteral("X-1"));
    e.w->TxtNote->setText(QStringLiteral("备注"));
    click(e.w->CmdNew);
    e.addNote(QStringLiteral("X-1"), QString());
    e.addNote(QString(), QStringLiteral("note"));
    // An ID with a comma would be stored under another ID.
    e.addNote(QStringLiteral("X,1"), QStringLiteral("note"));
    const ShownMessage refused = info(QStringLiteral("添加失败"), QStringLiteral("错误"));
    EXPECT_EQ(e.dialogs.messages, (std::vector<ShownMessage>{refused, refused, refused, refused}));

    // A duplicate is asked about; either answer ends the add.
    e.dialogs.clear();
    e.dialogs.answers = {MsgAnswer::Yes};
    e.addNote(QStringLiteral("A-1"), QStringLiteral("again"));
    e.addNote(QStringLiteral("A-1"), QStringLiteral("again"));
    const ShownMessage dup =
        question(QStringLiteral("字段重复,请重新输入！"), QStringLiteral("提示"));
    EXPECT_EQ(e.dialogs.messages, (std::vector<ShownMessage>{dup, dup}));

    EXPECT_EQ(e.notes(), old);
    EXPECT_FALSE(QFile::exists(e.dir.file(kScratch)));

    // "A-" is the start of an existing ID, not an ID with a note.
    e.dialogs.clear();
    e.addNote(QStringLiteral("A-"), QStringLiteral("prefix"));
    EXPECT_TRUE(e.dialogs.messages.empty());
    EXPECT_EQ(e.notes(), crlf({"A-,prefix", "A-1,first", "A-10,tenth"}));
}

TEST(IdNotesUi, PlaceholderIsClearedOnFocusOnly) {
    NotesEditor e{QByteArray()};
    EXPECT_EQ(e.w->TxtNote->text(), QStringLiteral("备注"));
    focusOn(e.w->TxtNote);
    EXPECT_EQ(e.w->TxtNote->text(), QString());
    enter(e.w->TxtNote, QStringLiteral("备注 A"));
    leave(e.w->TxtNote);
    focusOn(e.w->TxtNote);
    EXPECT_EQ(e.w->TxtNote->text(), QStringLiteral("备注 A"));
    EXPECT_TRUE(e.dialogs.messages.empty());
}

TEST(IdNotesUi, FindShowsTheLastNoteOfTheExactIdOrKeepsTheText) {
    NotesEditor e(crlf({"A1,one", "A10,ten", "A1", "X,about A1", "A1,later one", "a1,lower"}));
    replaceText(e.w->TxtName, QStringLiteral("A1"));
    click(e.w->CmdFind);
    EXPECT_EQ(e.w->TxtNote->text(), QStringLiteral("later one"));

    e.w->TxtNote->setText(QStringLiteral("kept"));
    replaceText(e.w->TxtName, QStringLiteral("A"));
    click(e.w->CmdFind);
    EXPECT_EQ(e.w->TxtNote->text(), QStringLiteral("kept"));
    EXPECT_TRUE(e.dialogs.messages.empty());
}

TEST(IdNotesUi, DeleteDropsOnlyTheExactIdAndReports) {
    NotesEditor e(crlf({"A10,ten", "A1,one", "X,mentions A1", "A1,twice", "LONE"}));
    replaceText(e.w->TxtName, QStringLiteral("A1"));
    e.w->TxtNote->setText(QStringLiteral("one"));
    click(e.w->CmdDelete);
    EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{plain(QStringLiteral("删除成功！"))});
    EXPECT_EQ(e.w->TxtNote->text(), QString());
    EXPECT_EQ(e.notes(), crlf({"A10,ten", "X,mentions A1", "LONE"}));
    EXPECT_EQ(readBytes(e.dir.file(kScratch)),
              crlf({"A10,ten", "A1,one", "X,mentions A1", "A1,twice", "LONE"}));

    // Nothing left to delete: reported, the lines stay the same.
    e.dialogs.clear();
    e.w->TxtNote->setText(QStringLiteral("still here"));
    click(e.w->CmdDelete);
    replaceText(e.w->TxtName, QStringLiteral("LONE")); // a line without a comma is no note
    click(e.w->CmdDelete);
    const ShownMessage failed = plain(QStringLiteral("删除失败！！！"));
    EXPECT_EQ(e.dialogs.messages, (std::vector<ShownMessage>{failed, failed}));
    EXPECT_EQ(e.w->TxtNote->text(), QStringLiteral("still here"));
    EXPECT_EQ(e.notes(), crlf({"A10,ten", "X,mentions A1", "LONE"}));
}

TEST(IdNotesUi, DeleteWithoutAnIdRewritesNothing) {
    const QByteArray old = QByteArray(",a note without ID\nA,b"); // LF only, no final line end
    NotesEditor e(old);
    e.w->TxtName->clear();
    click(e.w->CmdDelete);
    EXPECT_EQ(e.dialogs.messages,
              std::vector<ShownMessage>{plain(QStringLiteral("删除失败！！！"))});
    EXPECT_EQ(e.notes(), old);
    EXPECT_FALSE(QFile::exists(e.dir.file(kScratch)));
}

TEST(IdNotesUi, EveryOperationNeedsTheNotesFile) {
    Editor e(false);
    replaceText(e.w->TxtName, QStringLiteral("A-1"));
    replaceText(e.w->TxtNote, QStringLiteral("note"));
    click(e.w->CmdFind);
    click(e.w->CmdNew);
    click(e.w->CmdDelete);
    EXPECT_EQ(e.dialogs.messages,
              (std::vector<ShownMessage>{missingFile(), missingFile(), missingFile()}));
    EXPECT_EQ(e.w->TxtNote->text(), QStringLiteral("note"));
    // The editor never creates the file.
    EXPECT_FALSE(QFile::exists(e.dir.file(kNotes)));
    EXPECT_FALSE(QFile::exists(e.dir.file(kScratch)));
}

TEST(IdNotesUi, AFailedRewriteKeepsTheOldNotes) {
    const QByteArray old = crlf({"A-1,first", "B-1,second"});
    NotesEditor e(old);
    QFile::setPermissions(e.dir.file(kNotes),
                          QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);

    e.addNote(QStringLiteral("C-1"), QStringLiteral("third"));
    replaceText(e.w->TxtName, QStringLiteral("A-1"));
    e.w->TxtNote->setText(QStringLiteral("first"));
    click(e.w->CmdDelete);

    // No success message after the failure, and the note box keeps its text.
    EXPECT_EQ(e.dialogs.messages, (std::vector<ShownMessage>{readOnly(), readOnly()}));
    EXPECT_EQ(e.w->TxtNote->text(), QStringLiteral("first"));
    EXPECT_EQ(e.notes(), old);
    // The scratch copy was made first and holds the old notes.
    EXPECT_EQ(readBytes(e.dir.file(kScratch)), old);
    QFile::setPermissions(e.dir.file(kNotes), QFile::ReadOwner | QFile::WriteOwner);
}

TEST(IdNotesUi, NotesAreWrittenInTheFilesOwnEncoding) {
    const QByteArray bom("\xEF\xBB\xBF");
    NotesEditor e(bom + utf8(QStringLiteral("甲-1,第一条\r\n")));
    e.addNote(QStringLiteral("乙-1"), QStringLiteral("第二条"));
    EXPECT_EQ(e.notes(), bom + utf8(QStringLiteral("乙-1,第二条\r\n甲-1,第一条\r\n")));
    enter(e.w->TxtName, QStringLiteral("甲-1"));
    click(e.w->CmdFind);
    EXPECT_EQ(e.w->TxtNote->text(), QStringLiteral("第一条"));
    click(e.w->CmdDelete);
    EXPECT_EQ(e.notes(), bom + utf8(QStringLiteral("乙-1,第二条\r\n")));

    // A note the GBK file cannot hold is refused rather than stored as question marks.
    NotesEditor g(gbk(QStringLiteral("甲-1,第一条\r\n")));
    g.addNote(QStringLiteral("丙-1"), QStringLiteral("第三条 😀"));
    EXPECT_EQ(g.dialogs.messages,
              std::vector<ShownMessage>{info(QStringLiteral("添加失败"), QStringLiteral("错误"))});
    EXPECT_EQ(g.notes(), gbk(QStringLiteral("甲-1,第一条\r\n")));
    g.dialogs.clear();
    g.addNote(QStringLiteral("丙-1"), QStringLiteral("第三条"));
    EXPECT_EQ(g.notes(), gbk(QStringLiteral("丙-1,第三条\r\n甲-1,第一条\r\n")));
    enter(g.w->TxtName, QStringLiteral("甲-1"));
    click(g.w->CmdFind);
    EXPECT_EQ(g.w->TxtNote->text(), QStringLiteral("第一条"));
    EXPECT_TRUE(g.dialogs.messages.empty());
}

TEST(UnitNamesUi, StartUpFillsTheFiveListsInTableOrderAndKeepsTheirTexts) {
    TempDir dir;
    dir.write(QStringLiteral("NameTable.WQ"), unitTable());
    ScriptedDialogs dialogs;
    const ProgramFiles files(dir.path(), dir.file(QStringLiteral("user")));
    RulesDocument document(files.scratchCopy());
    FrmMain window(dialogs, files, document);
    Window w(window);
    EXPECT_TRUE(dialogs.messages.empty());
    const QStringList ids{"E1", "GAWEAP", "ONLY", "E2", "E1"};
    const QStringList names{QStringLiteral("美国大兵"), QStringLiteral("盟军战车工厂"),
                            QStringLiteral("动员兵"), QStringLiteral("盟军大兵")};
    EXPECT_EQ(comboItems(w.CboUnit), ids);
    EXPECT_EQ(comboItems(w.CboSpeE), ids);
    EXPECT_EQ(comboItems(w.CboUnitC), names);
    EXPECT_EQ(comboItems(w.CboSpeC), names);
    EXPECT_EQ(comboItems(w.TxtScrUnitC), names);
    // Filling keeps the start-up texts (CboUnit's "<none>"): they match a window
    // whose table is missing and whose lists stay empty.
    TempDir emptyDir;
    FrmMain bareWindow(dialogs, ProgramFiles(emptyDir.path()), document);
    Window bare(bareWindow);
    for (auto [filled, empty] :
         {std::pair{w.CboUnit, bare.CboUnit}, std::pair{w.CboSpeE, bare.CboSpeE},
          std::pair{w.CboUnitC, bare.CboUnitC}, std::pair{w.CboSpeC, bare.CboSpeC},
          std::pair{w.TxtScrUnitC, bare.TxtScrUnitC}}) {
        EXPECT_EQ(empty->count(), 0);
        EXPECT_EQ(filled->currentText(), empty->currentText())
            << filled->objectName().toStdString();
    }
}

TEST(UnitNamesUi, LookupsGoBothWaysAndTakeTheLastLine) {
    Editor e(false);
    e.dir.write(QStringLiteral("NameTable.WQ"), unitTable());
    EXPECT_EQ(e.w->LookupUnitName(QStringLiteral("E1")), QStringLiteral("盟军大兵"));
    EXPECT_EQ(e.w->LookupUnitName(QStringLiteral("e1")), QString());
    EXPECT_EQ(e.w->LookupUnitName(QStringLiteral("ONLY")), QString());
    EXPECT_EQ(e.w->LookupUnitId(QStringLiteral("盟军战车工厂")), QStringLiteral("GAWEAP"));
    EXPECT_EQ(e.w->LookupUnitId(QStringLiteral("Allied War Factory")), QString());
    EXPECT_TRUE(e.dialogs.messages.empty());
}

TEST(UnitNamesUi, BuildingBoxShowsTheNameAfterEveryKeystroke) {
    Editor e(false);
    e.dir.write(QStringLiteral("NameTable.WQ"), unitTable());
    typeText(e.w->TxtScrUnitE, QStringLiteral("E"));
    EXPECT_EQ(e.w->TxtScrUnitC->currentText(), QString());
    typeText(e.w->TxtScrUnitE, QStringLiteral("2"));
    EXPECT_EQ(e.w->TxtScrUnitC->currentText(), QStringLiteral("动员兵"));
    typeText(e.w->TxtScrUnitE, QStringLiteral("x"));
    EXPECT_EQ(e.w->TxtScrUnitC->currentText(), QString());
    // Set by code, as the script line editor does.
    e.w->TxtScrUnitE->setText(QStringLiteral("GAWEAP"));
    EXPECT_EQ(e.w->TxtScrUnitC->currentText(), QStringLiteral("盟军战车工厂"));
    EXPECT_TRUE(e.dialogs.messages.empty());
}

TEST(UnitNamesUi, BackButtonTurnsTheChosenNameIntoItsId) {
    Editor e; // the shipped table, so that the building tables are there too
    const int grizzlyFactory = e.w->TxtScrUnitC->findText(QStringLiteral("盟军战车工厂"));
    ASSERT_GE(grizzlyFactory, 0);
    chooseItem(e.w->TxtScrUnitC, grizzlyFactory);
    click(e.w->Command1);
    EXPECT_EQ(e.w->TxtScrUnitE->text(), QStringLiteral("GAWEAP"));
    EXPECT_EQ(e.w->TxtScrUnitC->currentText(), QStringLiteral("盟军战车工厂"));

    // Pressed again with the same name: nothing changes.
    click(e.w->Command1);
    EXPECT_EQ(e.w->TxtScrUnitE->text(), QStringLiteral("GAWEAP"));
    EXPECT_EQ(e.w->TxtScrUnitC->currentText(), QStringLiteral("盟军战车工厂"));

    // A name the table does not list empties both boxes, also when pressed twice.
    enter(e.w->TxtScrUnitC, QStringLiteral("不存在的建筑"));
    click(e.w->Command1);
    EXPECT_EQ(e.w->TxtScrUnitE->text(), QString());
    EXPECT_EQ(e.w->TxtScrUnitC->currentText(), QString());
    enter(e.w->TxtScrUnitC, QStringLiteral("不存在的建筑"));
    click(e.w->Command1);
    EXPECT_EQ(e.w->TxtScrUnitE->text(), QString());
    EXPECT_EQ(e.w->TxtScrUnitC->currentText(), QString());
    EXPECT_TRUE(e.dialogs.messages.empty()) << e.dialogs.texts().join('|').toStdString();
}

TEST(UnitNamesUi, AMissingTableIsReportedAtEveryLookup) {
    Editor e(false);
    typeText(e.w->TxtScrUnitE, QStringLiteral("E1"));
    EXPECT_EQ(e.dialogs.messages, (std::vector<ShownMessage>{missingFile(), missingFile()}));
    EXPECT_EQ(e.w->TxtScrUnitC->currentText(), QString());

    // "<": one message for the failed lookup, one more for the emptied building box, and
    // one for the building table, which is missing too.
    e.dialogs.clear();
    e.w->TxtScrUnitC->setEditText(QStringLiteral("美国大兵"));
    click(e.w->Command1);
    EXPECT_EQ(e.dialogs.messages,
              (std::vector<ShownMessage>{missingFile(), missingFile(), missingFile()}));
    EXPECT_EQ(e.w->TxtScrUnitE->text(), QString());
    EXPECT_EQ(e.w->LookupUnitId(QStringLiteral("美国大兵")), QString());
}

TEST(ShippedSample, OpensWithItsFourRegistriesListed) {
    Editor e; // the shipped files, the sample rules file among them
    e.open(e.dir.file(QStringLiteral("aimd.ini")));
    EXPECT_EQ(items(e.w->LstRoot).size(), 4);
    EXPECT_EQ(items(e.w->LstRoot).first(), QStringLiteral("04000001-G=盟军早期突袭"));
    EXPECT_EQ(items(e.w->LstFig),
              (QStringList{"01000001-G", "01000002-G", "01000003-G", "01000004-G"}));
    EXPECT_EQ(items(e.w->LstSpe),
              (QStringList{"03000001-G", "03000002-G", "03000003-G", "03000004-G"}));
    EXPECT_EQ(items(e.w->LstScr),
              (QStringList{"02000001-G", "02000002-G", "02000003-G", "02000004-G"}));
    EXPECT_EQ(e.w->TeamTypeCount(), 4);
    EXPECT_EQ(e.w->TaskForceCount(), 4);
    EXPECT_EQ(e.w->ScriptTypeCount(), 4);
}
