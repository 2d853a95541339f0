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
#include <functional>
#include <string_view>
#include <utility>

using namespace tarvok;
using namespace tarvok::test;
using namespace tarvok::test::steps;

namespace {

const QString kChild = QStringLiteral(TARVOK_CRASH_CHILD);

int calls = 0;
int failAt = 0;
int failWith = 0;
int countingHook(const char* step) {
    if (std::string_view(step).starts_with("read ")) // reads are no steps of a write
        return 0;
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
// old or both new, and an undo of a completed step gives both back; also where the rules file
// names the other through "..", which a journal may name only for a file included now.
TEST(StepFaults, AStepOfTwoFilesLeavesBothOldOrBothNew) {
    for (const auto& [op, above] :
         {std::pair{Op::Save, false}, {Op::Undo, false}, {Op::Save, true}, {Op::Undo, true}}) {
        TempDir counted;
        prepare(counted.path(), op, true, above);
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
                         << "operation " << static_cast<int>(op) << ", killed at " << k
                         << (above ? ", through .." : ""));
            TempDir dir;
            prepare(dir.path(), op, true, above);
            QProcess child;
            child.start(kChild, {QStringLiteral("step"), dir.path(),
                                 QString::number(static_cast<int>(op)), QString::number(k)});
            ASSERT_TRUE(child.waitForFinished(20000));
            ASSERT_EQ(child.exitCode(), 0) << "the child never reached the step";
            const std::unique_ptr<RulesDocument> doc = openDocument(dir.path());
            const auto state = [&] {
                return std::pair(readBytes(rulesPath(dir.path())), readBytes(partPath(dir.path())));
            };
            const auto contents = [&](int n) {
                return std::pair(mainContent(n, above), partContent(n));
            };
            ASSERT_TRUE(state() == contents(c.before) || state() == contents(c.after));
            if (state() == contents(c.after) && op == Op::Save) {
                ASSERT_EQ(doc->restore(History::Stack::Undo).outcome,
                          RulesDocument::Restored::Done);
                EXPECT_TRUE(state() == contents(c.before));
            }
            QDirIterator parts(dir.path(), {QStringLiteral("*.part"), QStringLiteral("*.rejected")},
                               QDir::Files, QDirIterator::Subdirectories);
            EXPECT_FALSE(parts.hasNext());
        }
    }
}

namespace {

// What another program, or the disk, does at a step of a write, for the table below.
std::function<int(std::string_view step)> attack;
int attackHook(const char* step) {
    return attack ? attack(step) : 0;
}

} // namespace

// A mod of two files, attacked at a step of a write: another program changes the file the
// step leaves alone or appends to one it replaces, a put-back fails, the version has no room or
// cannot be synced. Nothing is lost, and every file ends wholly old or wholly new.
TEST(StepFaults, AttacksOnAModOfTwoFilesLoseNothing) {
    using Doc = std::unique_ptr<RulesDocument>;
    const auto rename = [](RulesDocument& doc, const char* from, const char* to) {
        return doc.edit([=](const QByteArray& c, const TextCodec&) {
            return std::optional(QByteArray(c).replace(from, to));
        });
    };
    const auto expectOld = [](const QString& dir) {
        EXPECT_EQ(readBytes(rulesPath(dir)), mainContent(2));
        EXPECT_EQ(readBytes(partPath(dir)), partContent(2));
    };
    const std::pair<const char*, std::function<void(const QString&, Doc&)>> rows[] = {
        {"the file a step leaves alone changes while it runs",
         [&](const QString& dir, Doc& doc) {
             // The step ends long after the change: no look may take it for the editor's.
             doc->setClock([] { return (QDateTime::currentMSecsSinceEpoch() + 1000) * 1000000; });
             attack = [dir](std::string_view step) {
                 QFile part(partPath(dir));
                 if (step == "replace.commit" && part.open(QIODevice::WriteOnly))
                     part.write("[TaskForces]\r\n0=TF-theirs\r\n");
                 return 0;
             };
             ASSERT_TRUE(rename(*doc, "TM-2", "TM-9").ok()); // the rules file only
             attack = nullptr;
             ASSERT_TRUE(rename(*doc, "0=TF-", "0=TF-x").ok());
             EXPECT_EQ(readBytes(partPath(dir)), "[TaskForces]\r\n0=TF-xtheirs\r\n");
         }},
        {"another program appends to a file after the last look, before its rename",
         [&](const QString& dir, Doc& doc) {
             attack = [dir, done = false](std::string_view step) mutable {
                 QFile part(partPath(dir));
                 if (step == "replace.commit" && !std::exchange(done, true) &&
                     part.open(QIODevice::Append))
                     part.write("; theirs\r\n");
                 return 0;
             };
             ASSERT_TRUE(save(*doc, 3).ok());
             attack = nullptr;
             EXPECT_EQ(readBytes(partPath(dir)), partContent(3) + "; theirs\r\n");
             ASSERT_EQ(doc->restore(History::Stack::Undo).outcome, RulesDocument::Restored::Done);
             EXPECT_EQ(readBytes(partPath(dir)), partContent(2) + "; theirs\r\n");
         }},
        {"the second rename fails and so does the put-back of the first",
         [&](const QString& dir, Doc& doc) {
             attack = [commits = 0](std::string_view step) mutable {
                 commits += step == "replace.commit";
                 return commits == 2 && step == "replace.commit"  ? EBUSY
                        : commits >= 2 && step == "replace.write" ? ENOSPC
                                                                  : 0;
             };
             const filestore::WriteResult r = save(*doc, 3);
             EXPECT_EQ(r.result, filestore::Result::PartlyWritten); // not "unchanged"
             EXPECT_EQ(r.systemError, QStringLiteral("part.ini"));
             attack = nullptr;
             doc.reset();
             doc = openDocument(dir); // the next opening puts the old content back
             expectOld(dir);
         }},
        {"no room for the version of a step or its undo, or it cannot be synced",
         [&](const QString& dir, Doc& doc) {
             attack = [](std::string_view step) { return step == "history.room" ? ENOSPC : 0; };
             EXPECT_EQ(save(*doc, 3).result, filestore::Result::NoRoomForVersion);
             for (const bool without : {false, true})
                 EXPECT_EQ(doc->restore(History::Stack::Undo, without).write.result,
                           filestore::Result::NoRoomForVersion);
             attack = [](std::string_view step) { return step == "history.sync" ? EIO : 0; };
             EXPECT_FALSE(save(*doc, 3).ok());
             expectOld(dir);
         }},
    };
    for (const auto& [what, play] : rows) {
        SCOPED_TRACE(what);
        TempDir dir;
        prepare(dir.path(), Op::Save, true);
        Doc doc = openDocument(dir.path());
        filestore::setStepHook(attackHook);
        play(dir.path(), doc);
        filestore::setStepHook(nullptr);
        attack = nullptr;
        doc.reset();
        expectNothingLeft(dir.path());
    }
}
