// The scratch copy, the history and the notes through the window: where they live, what a
// save leaves behind, and what the user is told when undo cannot be had.
#include "support/WidgetDriver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStatusBar>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {

struct RestorePermissions {
    QString path;
    QFile::Permissions perms = QFile::permissions(path);
    ~RestorePermissions() { QFile::setPermissions(path, perms); }
};

QString statusOf(Editor& e) {
    return e.main->statusBar()->currentMessage();
}

} // namespace

// A save that writes nothing leaves no second name of the file: after a restart the same
// file opens. A file that an earlier editor left as a second name of File.ini opens too.
TEST(SafetyNet, UnchangedSavesLeaveNothingThatStopsTheFileFromOpening) {
    Editor e;
    const QString path = e.dir.file(QStringLiteral("aimd.ini")); // the shipped sample
    e.open(path);
    clickRow(e.w->LstRoot, 0);
    click(e.w->CmdSaveRoot);
    EXPECT_EQ(e.dialogs.texts(), QStringList{QStringLiteral("触发已保存！")});
    e.restart();
    e.open(path);
    EXPECT_GT(rowCount(e.w->LstRoot), 0);

    const QString scratch = e.dir.file(QStringLiteral("File.ini"));
    QFile::remove(scratch);
    ASSERT_TRUE(filestore::link(path, scratch).ok());
    e.restart();
    e.open(path);
    EXPECT_TRUE(e.dialogs.texts().isEmpty());
    EXPECT_FALSE(QFile::exists(scratch));
}

// A program folder the user cannot write (a system-wide install): File.ini, the history and
// the notes go to the user's data folder, the notes copied there first, and saving works.
// A history that cannot be written still lets the save go ahead, and says so.
TEST(SafetyNet, UnwritableFoldersMoveTheEditorsFilesOrAreNamedAtTheSave) {
    Editor e;
    const QString path = e.dir.write(QStringLiteral("mod/aimd.ini"),
                                     readBytes(e.dir.file(QStringLiteral("aimd.ini"))));
    e.dir.write(QStringLiteral("Name.WQ"), gbk(QStringLiteral("TM-OLD,旧备注\r\n")));
    const RestorePermissions program{e.dir.path()};
    ASSERT_TRUE(QFile::setPermissions(e.dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    e.restart();
    e.open(path);
    clickRow(e.w->LstFig, 0);
    replaceText(e.w->TxtTeamName, QStringLiteral("Renamed"));
    click(e.w->CmdSaveFig);
    EXPECT_EQ(e.dialogs.texts(), QStringList{QStringLiteral("作战小队已保存！")});
    const QDir user(e.dir.file(QStringLiteral("user")));
    EXPECT_TRUE(user.exists(QStringLiteral("File.ini")));
    EXPECT_FALSE(user.isEmpty(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot));
    EXPECT_EQ(QDir(user.filePath(QStringLiteral("history")))
                  .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                  .size(),
              1);
    replaceText(e.w->TxtName, QStringLiteral("TM-NEW"));
    e.w->TxtNote->setText(QStringLiteral("新备注"));
    click(e.w->CmdNew);
    EXPECT_EQ(readBytes(user.filePath(QStringLiteral("Name.WQ"))),
              gbk(QStringLiteral("TM-NEW,新备注\r\nTM-OLD,旧备注\r\n")));
    e.dialogs.clear();

    // The history folder is a file: nothing can be kept, yet the save goes ahead.
    e.w.reset();
    e.main.reset();
    e.document.reset(); // the program ends, and its lock with it
    QDir(user.filePath(QStringLiteral("history"))).removeRecursively();
    e.dir.write(QStringLiteral("user/history"), "not a folder");
    e.restart();
    e.open(path);
    clickRow(e.w->LstFig, 0);
    replaceText(e.w->TxtTeamName, QStringLiteral("Again"));
    click(e.w->CmdSaveFig);
    EXPECT_EQ(e.dialogs.texts(), QStringList{QStringLiteral("作战小队已保存！")});
    EXPECT_TRUE(statusOf(e).startsWith(QStringLiteral("未能保留撤销版本（原因：")));
    EXPECT_TRUE(statusOf(e).endsWith(QStringLiteral("），本次修改无法撤销")));
}

// Two running copies on one file: the first to write keeps the versions; the other keeps
// none, says so at its save, and refuses undo.
TEST(SafetyNet, OneRunningCopyOwnsAFilesVersions) {
    Editor first;
    Editor second(first);
    const QString path = first.dir.file(QStringLiteral("aimd.ini"));
    first.open(path);
    clickRow(first.w->LstFig, 0);
    replaceText(first.w->TxtTeamName, QStringLiteral("First"));
    click(first.w->CmdSaveFig);
    second.open(path);
    clickRow(second.w->LstFig, 0);
    replaceText(second.w->TxtTeamName, QStringLiteral("Second"));
    click(second.w->CmdSaveFig);
    // The lock file is named: the way out when no other window is left.
    const QString locked =
        QStringLiteral("该文件正在另一个窗口中编辑（锁文件：%1）")
            .arg(QDir::toNativeSeparators(QDir::cleanPath(
                QFileInfo(first.document->history()->top(History::Stack::Undo)->file)
                    .absoluteDir()
                    .absoluteFilePath(QStringLiteral("../lock")))));
    EXPECT_EQ(statusOf(second),
              QStringLiteral("未能保留撤销版本（原因：%1），本次修改无法撤销").arg(locked));
    second.dialogs.clear();
    second.w->mUndo->trigger();
    EXPECT_EQ(second.dialogs.messages,
              std::vector<ShownMessage>{info(QStringLiteral("该文件正在另一个窗口中编辑，无法撤销"),
                                             QStringLiteral("错误"))});
    EXPECT_EQ(statusOf(second), locked);
}
