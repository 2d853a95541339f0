#include "document/History.h"
#include "document/FileStore.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace tarvok;
using namespace tarvok::test;

namespace {

// A write as the editor makes it: the old content kept, the step noted, the file replaced,
// the version put on its stack.
void write(History& h, const QString& path, const QByteArray& bytes) {
    History::Pending p = h.keep(History::Stack::Undo, filestore::facts(path));
    ASSERT_TRUE(filestore::replace(path, bytes, [&](const filestore::FileFacts& f) {
                    h.begin(p, History::Step::Write, f);
                    return filestore::WriteResult{};
                }).ok());
    h.finish(p, History::Step::Write, History::fingerprintOf(bytes));
}

QByteArray topOf(const History& h, History::Stack s = History::Stack::Undo) {
    const std::optional<History::Version> v = h.top(s);
    return v ? h.read(*v).value_or("<unreadable>") : QByteArray("<none>");
}

} // namespace

// Each rules file (by its full path) has its own stacks; the undo stack keeps the newest
// versions only, the whole folder no more than its bytes (the oldest of any file going
// first); versions and the fingerprint survive a new History of the same file (a restart).
TEST(History, KeepsTheNewestVersionsOfEachFileWithinItsBounds) {
    TempDir dir;
    const QString folder = dir.file(QStringLiteral("history"));
    const QString a = dir.write(QStringLiteral("a/ai.ini"), "a0");
    const QString b = dir.write(QStringLiteral("b/ai.ini"), QByteArray(57, 'b'));
    const History::Limits limits{3, 60};
    {
        History ha(folder, a, limits);
        for (int i = 1; i <= 5; ++i)
            write(ha, a, "a" + QByteArray::number(i));
    }
    History again(folder, a, limits);
    EXPECT_EQ(again.size(History::Stack::Undo), 3);
    EXPECT_EQ(topOf(again), "a4");
    EXPECT_EQ(again.fingerprint(), History::fingerprintOf("a5"));

    History hb(folder, b, limits);
    write(hb, b, "b1"); // 6 bytes of a's and 57 of b's: a's two oldest go, b's stays
    EXPECT_EQ(topOf(hb), QByteArray(57, 'b'));
    EXPECT_EQ(History(folder, a, limits).size(History::Stack::Undo), 1);
    EXPECT_EQ(topOf(History(folder, a, limits)), "a4");
}

// The folder and every version are the user's alone; a version of a file with other names
// is a copy, never a name of content that changes with them; a link planted in a stack is
// never read; a second running copy keeps nothing.
TEST(History, VersionsArePrivateUnsharedAndOwnedByOneRunningCopy) {
    TempDir dir;
    const QString folder = dir.file(QStringLiteral("history"));
    const QString path = dir.write(QStringLiteral("ai.ini"), "one");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                    QFile::ReadOther);
    const QString other = dir.file(QStringLiteral("other.ini"));
    ASSERT_TRUE(filestore::link(path, other).ok());
    History h(folder, path);
    write(h, path, "two");
    const QString version = h.top(History::Stack::Undo)->file;
    EXPECT_NE(filestore::facts(version).inode, filestore::facts(other).inode);
    QFile f(other);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.write("ONE");
    f.close();
    EXPECT_EQ(topOf(h), "one");
#ifdef Q_OS_UNIX
    const QFile::Permissions file = QFile::ReadOwner | QFile::WriteOwner;
    const QFile::Permissions folderMode = file | QFile::ExeOwner;
    const auto mode = [](const QString& p) {
        return QFileInfo(p).permissions() & QFile::Permissions(0x7077); // owner, group, others
    };
    EXPECT_EQ(mode(folder), folderMode);
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo e(it.next());
        EXPECT_EQ(mode(e.filePath()), e.isDir() ? folderMode : file) << e.filePath().toStdString();
    }
    const QString secret = dir.write(QStringLiteral("secret.txt"), "secret");
    const QString planted = QFileInfo(version).absolutePath() + QStringLiteral("/9999999999.ini");
    ASSERT_TRUE(QFile::link(secret, planted));
    EXPECT_EQ(h.top(History::Stack::Undo)->file, planted);
    EXPECT_FALSE(h.read(*h.top(History::Stack::Undo)));
    QFile::remove(planted);
#endif
    History second(folder, path);
    EXPECT_EQ(second.keep(History::Stack::Undo, filestore::facts(path)).why.result,
              filestore::Result::Locked);
    EXPECT_EQ(second.claim().result, filestore::Result::Locked);
}

#ifdef Q_OS_UNIX
// What the history folder holds is input: a journal naming files elsewhere, links in place
// of its folders, pipes in place of its notes and its lock, an earlier editor's notes, a
// new file left beside the rules file by a kill. Nothing outside the history is touched,
// nothing waits, and the history goes on where it can.
TEST(History, WhatItsFolderHoldsIsInputNotInstructions) {
    struct Row {
        const char* what;
        std::function<void(const QString& files, const QString& outside, const QString& rules)>
            plant;
        bool keeps; // a write after it keeps its version
    };
    const auto journal = [](const QString& files, const QString& rules, const QString& part,
                            const QString& drop) {
        const filestore::FileFacts f = filestore::facts(rules);
        writeBytes(files + QStringLiteral("/step.txt"),
                   "step undo\npart " + part.toUtf8() + "\ndrop " + drop.toUtf8() + "\ndevice " +
                       QByteArray::number(f.device) + "\ninode " + QByteArray::number(f.inode) +
                       "\nsize " + QByteArray::number(f.size) + "\n");
    };
    const auto linkTo = [](const QString& name, const QString& target) {
        QDir(name).removeRecursively();
        ASSERT_TRUE(QFile::link(target, name));
    };
    const auto fifo = [](const QString& path) {
        QFile::remove(path);
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    };
    const Row rows[] = {
        {"journal names reaching out",
         [&](const QString& f, const QString& /*out*/, const QString& r) {
             journal(f, r, QStringLiteral("../../../outside/0000000001.part"),
                     QStringLiteral("../../../outside/victim.txt"));
         },
         true},
        {"journal names absolute",
         [&](const QString& f, const QString& out, const QString& r) {
             journal(f, r, out + QStringLiteral("/0000000001.ini"),
                     out + QStringLiteral("/victim.txt"));
         },
         true},
        {"undo folder linked",
         [&](const QString& f, const QString& out, const QString&) {
             linkTo(f + QStringLiteral("/undo"), out);
         },
         false},
        {"file's folder linked",
         [&](const QString& f, const QString& out, const QString&) { linkTo(f, out); }, false},
        {"journal a pipe",
         [&](const QString& f, const QString&, const QString&) {
             fifo(f + QStringLiteral("/step.txt"));
         },
         true},
        {"fingerprint a pipe",
         [&](const QString& f, const QString&, const QString&) {
             fifo(f + QStringLiteral("/fingerprint.txt"));
         },
         true},
        {"lock a pipe",
         [&](const QString& f, const QString&, const QString&) {
             fifo(f + QStringLiteral("/lock"));
         },
         true},
        {"new file left beside the rules file",
         [&](const QString& f, const QString&, const QString& r) {
             const QString left = r + QStringLiteral(".Ab12Cd");
             writeBytes(left, "unsaved");
             writeBytes(r + QStringLiteral(".Zz99Zz"), "someone else's");
             const filestore::FileFacts n = filestore::facts(left);
             writeBytes(f + QStringLiteral("/step.txt"),
                        "step write\npart 0000000009-1.part\ndevice " +
                            QByteArray::number(n.device) + "\ninode " +
                            QByteArray::number(n.inode) + "\nsize 7\n");
         },
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TempDir dir;
        const QString folder = dir.file(QStringLiteral("history"));
        const QString path = dir.write(QStringLiteral("ai.ini"), "zero");
        const QString outside = dir.file(QStringLiteral("outside"));
        for (int i = 1; i <= 25; ++i)
            dir.write(QStringLiteral("outside/%1.ini").arg(i, 10, 10, QLatin1Char('0')), "theirs");
        dir.write(QStringLiteral("outside/victim.txt"), "theirs");
        QString files;
        {
            History h(folder, path, {3, 1 << 20});
            write(h, path, "one");
            files = QFileInfo(h.top(History::Stack::Undo)->file).absolutePath() + "/..";
            files = QFileInfo(files).canonicalFilePath();
        }
        row.plant(files, outside, path);
        History h(folder, path, {3, 1 << 20});
        for (int i = 0; i < 5; ++i)
            write(h, path, "two" + QByteArray::number(i));
        EXPECT_EQ(h.size(History::Stack::Undo) > 0, row.keeps);
        EXPECT_EQ(QDir(outside).entryList(QDir::Files).size(), 26);
        EXPECT_EQ(*filestore::read(outside + QStringLiteral("/victim.txt")), "theirs");
        const QStringList beside =
            QDir(dir.path()).entryList({QStringLiteral("ai.ini.*")}, QDir::Files);
        EXPECT_EQ(beside, QString(row.what).startsWith(QLatin1String("new"))
                              ? QStringList{QStringLiteral("ai.ini.Zz99Zz")}
                              : QStringList{});
    }
}
#endif
