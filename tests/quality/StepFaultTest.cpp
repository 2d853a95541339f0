// A save, an undo and a redo, each broken at every step that reaches the disk: the step
// fails (as a full disk or a failing disk would answer) or the editor is killed there. After
// a restart the file is wholly the old or wholly the new content, and the stacks and the
// fingerprint match it, as if the operation had not begun or had completed.
#include "quality/StepModel.h"
#include "support/TestFiles.h"

#include <QDateTime>
#include <QDirIterator>
#include <QProcess>

#include <gtest/gtest.h>

#include <cerrno>

using namespace tarvok;
using namespace tarvok::test;
using namespace tarvok::test::steps;

namespace {

const QString kChild = QStringLiteral(TARVOK_CRASH_CHILD);

int calls = 0;
int failAt = 0;
int failWith = 0;
int countingHook(const char*) {
    return ++calls == failAt ? failWith : 0;
}

// What the disk holds, by the numbers of the contents: the file, each stack's size and
// newest version, the fingerprint.
struct State {
    int file, undo, undoTop, redo, redoTop, fingerprint;
    bool operator==(const State&) const = default;
};

std::ostream& operator<<(std::ostream& os, const State& s) {
    return os << "file " << s.file << ", undo " << s.undo << " (top " << s.undoTop << "), redo "
              << s.redo << " (top " << s.redoTop << "), fingerprint " << s.fingerprint;
}

int numberOf(const std::optional<QByteArray>& bytes) {
    for (int n = 0; n < 4; ++n)
        if (bytes == content(n))
            return n;
    return -1;
}

// The state a restarted editor finds, once it has opened the file.
State restart(const QString& dir) {
    const std::unique_ptr<RulesDocument> doc = openDocument(dir);
    const History& h = *doc->history();
    State s{numberOf(filestore::read(rulesPath(dir))),
            h.size(History::Stack::Undo),
            -1,
            h.size(History::Stack::Redo),
            -1,
            -1};
    if (const auto top = h.top(History::Stack::Undo))
        s.undoTop = numberOf(h.read(*top));
    if (const auto top = h.top(History::Stack::Redo))
        s.redoTop = numberOf(h.read(*top));
    for (int n = 0; n < 4; ++n)
        if (h.fingerprint() == History::fingerprintOf(content(n)))
            s.fingerprint = n;
    return s;
}

State before(Op op) {
    return op == Op::Redo ? State{1, 1, 0, 1, 2, 1} : State{2, 2, 1, 0, -1, 2};
}

State after(Op op) {
    switch (op) {
    case Op::Save:
        return {3, 3, 2, 0, -1, 3};
    case Op::Undo:
        return {1, 1, 0, 1, 2, 1};
    case Op::Redo:
        return {2, 2, 1, 0, -1, 2};
    }
    return {};
}

// Nothing of a step is left behind: no pending version, no scratch copy naming the file,
// no file but the rules file in its folder.
void expectNothingLeft(const QString& dir) {
    QDirIterator it(dir, {QStringLiteral("*.part")}, QDir::Files, QDirIterator::Subdirectories);
    EXPECT_FALSE(it.hasNext()) << it.next().toStdString();
    EXPECT_NE(filestore::facts(rulesPath(dir)).inode,
              filestore::facts(QDir(dir).filePath(QStringLiteral("File.ini"))).inode);
}

int stepsOf(Op op) {
    TempDir dir;
    prepare(dir.path(), op);
    calls = 0;
    failAt = 0;
    filestore::setStepHook(countingHook);
    run(dir.path(), op);
    filestore::setStepHook(nullptr);
    return calls;
}

} // namespace

TEST(StepFaults, EveryStepOfASaveAnUndoAndARedoFailsOrEndsWithoutLoss) {
    for (Op op : {Op::Save, Op::Undo, Op::Redo}) {
        const int steps = stepsOf(op);
        ASSERT_GE(steps, 6) << static_cast<int>(op);
        for (int k = 1; k <= steps; ++k) {
            for (int err : {ENOSPC, EIO, 0}) { // 0: the editor is killed at the step
                SCOPED_TRACE(testing::Message() << "operation " << static_cast<int>(op) << ", step "
                                                << k << ", " << (err ? "fails" : "killed"));
                TempDir dir;
                prepare(dir.path(), op);
                Report reported;
                if (err) {
                    calls = 0;
                    failAt = k;
                    failWith = err;
                    filestore::setStepHook(countingHook);
                    reported = run(dir.path(), op);
                    filestore::setStepHook(nullptr);
                } else {
                    QProcess child;
                    child.start(kChild,
                                {QStringLiteral("step"), dir.path(),
                                 QString::number(static_cast<int>(op)), QString::number(k)});
                    ASSERT_TRUE(child.waitForFinished(20000));
                    ASSERT_EQ(child.exitCode(), 0) << "the child never reached the step";
                }
                const State found = restart(dir.path());
                if (err == ENOSPC && reported.outcome != Outcome::Done) { // the cause is named
                    EXPECT_EQ(reported.why.result, filestore::Result::DiskFull);
                }
                if (reported.outcome == Outcome::DoneWithoutVersion) // said so: the file counts
                    EXPECT_EQ(found.file, after(op).file) << found;
                else
                    EXPECT_TRUE(found == before(op) || found == after(op)) << found;
                if (reported.outcome == Outcome::Done) {
                    EXPECT_EQ(found, after(op));
                }
                expectNothingLeft(dir.path());
            }
        }
    }
}

namespace {

// The folder of the file's versions: the one folder in the history.
QString versionFolder(const QString& dir) {
    const QDir history(QDir(dir).filePath(QStringLiteral("history")));
    return history.filePath(history.entryList(QDir::Dirs | QDir::NoDotAndDotDot).value(0));
}

// Another program rewrites the file in place, as a shell's ">" does: cut to nothing, then
// written; what the file holds in between is text, lines missing.
void rewriteInPlace(const QString& path, const QByteArray& bytes) {
    ASSERT_EQ(QProcess::execute(QStringLiteral("/bin/sh"),
                                {QStringLiteral("-c"), QStringLiteral("printf %s \"$1\" > \"$2\""),
                                 QStringLiteral("sh"), QString::fromUtf8(bytes), path}),
              0);
}

} // namespace

// A kill while the lock was made leaves it empty: once it is older than a live copy's
// lock can stay empty, it holds nothing back, and each operation keeps its version.
TEST(StepFaults, ALockLeftEmptyByAKillIsStaleOnceOld) {
    for (Op op : {Op::Save, Op::Undo, Op::Redo}) {
        for (const bool old : {true, false}) {
            SCOPED_TRACE(testing::Message() << "operation " << static_cast<int>(op) << ", "
                                            << (old ? "old" : "new") << " empty lock");
            TempDir dir;
            prepare(dir.path(), op);
            const QString lock = QDir(versionFolder(dir.path())).filePath(QStringLiteral("lock"));
            QFile f(lock);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            if (old)
                f.setFileTime(QDateTime::currentDateTime().addSecs(-10),
                              QFileDevice::FileModificationTime);
            f.close();
            const Report reported = run(dir.path(), op);
            if (old) {
                EXPECT_EQ(reported.outcome, Outcome::Done);
                EXPECT_EQ(restart(dir.path()), after(op));
            } else {
                EXPECT_EQ(reported.why.result, filestore::Result::Locked);
                EXPECT_EQ(reported.why.systemError, QDir::toNativeSeparators(lock));
            }
        }
    }
}

// Another program rewrites the file in place while the edit is computed on it: the editor
// keeps running (the content was read, not mapped), and the save is made on the content
// as rewritten, or refused as the file being changed, never for a record it lacked only
// while it was half written.
TEST(StepFaults, AFileRewrittenInPlaceDuringASaveIsSavedOnItsNewContent) {
    const QByteArray theirs = "[TeamTypes]\r\n0=TM-X\r\n";
    struct Row {
        const char* what;
        QByteArray before; // the file when the save starts
        int rewrites;      // computes that find the file rewritten
        filestore::Result result;
    };
    const Row rows[] = {
        // Pages of the old file that a mapping would lose.
        {"cut short once", content(2) + QByteArray(1 << 16, ';') + "\r\n", 1,
         filestore::Result::Ok},
        {"half written when read", theirs.left(8), 1, filestore::Result::Ok},
        {"rewritten at every try", {}, 99, filestore::Result::Busy},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TempDir dir;
        prepare(dir.path(), Op::Save);
        const std::unique_ptr<RulesDocument> doc = openDocument(dir.path());
        const QString path = rulesPath(dir.path());
        if (!row.before.isNull())
            rewriteInPlace(path, row.before);
        int computed = 0;
        const filestore::WriteResult r = doc->edit(
            [&](const QByteArray& content, const TextCodec&) -> std::optional<QByteArray> {
                if (computed++ < row.rewrites)
                    rewriteInPlace(path,
                                   theirs + "; again " + QByteArray::number(computed) + "\r\n");
                if (!content.contains("[TeamTypes]\r\n0="))
                    return std::nullopt; // the record is not there
                return QByteArray(content).replace("0=TM-", "0=TM-Y");
            });
        EXPECT_EQ(r.result, row.result);
        const QByteArray now = filestore::read(path).value_or("");
        if (row.result == filestore::Result::Ok)
            EXPECT_TRUE(now.startsWith("[TeamTypes]\r\n0=TM-YX\r\n; again ")) << now.toStdString();
        else
            EXPECT_FALSE(now.contains("TM-Y")) << now.toStdString();
        expectNothingLeft(dir.path());
    }
}

// A step that changes two files, killed at each of its steps: after a restart both files are
// old or both new, and an undo of a completed step gives both back.
TEST(StepFaults, AStepOfTwoFilesLeavesBothOldOrBothNew) {
    for (Op op : {Op::Save, Op::Undo}) {
        TempDir counted;
        prepare(counted.path(), op, true);
        calls = 0;
        failAt = 0;
        filestore::setStepHook(countingHook);
        run(counted.path(), op);
        filestore::setStepHook(nullptr);
        const int steps = calls;
        ASSERT_GE(steps, 6);
        const Case c = caseOf(op);
        for (int k = 1; k <= steps; ++k) {
            SCOPED_TRACE(testing::Message()
                         << "operation " << static_cast<int>(op) << ", killed at " << k);
            TempDir dir;
            prepare(dir.path(), op, true);
            QProcess child;
            child.start(kChild, {QStringLiteral("step"), dir.path(),
                                 QString::number(static_cast<int>(op)), QString::number(k)});
            ASSERT_TRUE(child.waitForFinished(20000));
            ASSERT_EQ(child.exitCode(), 0) << "the child never reached the step";
            const std::unique_ptr<RulesDocument> doc = openDocument(dir.path());
            const auto state = [&] {
                return std::pair(readBytes(rulesPath(dir.path())), readBytes(partPath(dir.path())));
            };
            const auto contents = [](int n) { return std::pair(mainContent(n), partContent(n)); };
            ASSERT_TRUE(state() == contents(c.before) || state() == contents(c.after));
            if (state() == contents(c.after) && op == Op::Save) {
                ASSERT_EQ(doc->restore(History::Stack::Undo).outcome,
                          RulesDocument::Restored::Done);
                EXPECT_TRUE(state() == contents(c.before));
            }
            QDirIterator parts(dir.path(), {QStringLiteral("*.part")}, QDir::Files,
                               QDirIterator::Subdirectories);
            EXPECT_FALSE(parts.hasNext());
        }
    }
}
