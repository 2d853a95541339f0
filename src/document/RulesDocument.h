#pragma once

#include "document/FileSet.h"
#include "document/FileStore.h"
#include "document/History.h"
#include "document/RulesIndex.h"
#include "document/RulesScan.h"
#include "document/TextEncoding.h"

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QFutureWatcher>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tarvok {

// The three registries whose entries are numbered and counted.
enum class RegistryKind { TeamTypes, TaskForces, ScriptTypes };

// The section name of a registry: "TeamTypes", "TaskForces" or "ScriptTypes".
QByteArray registrySection(RegistryKind kind);

// What changed in the open file, as the window follows it.
struct DocumentChange {
    enum class Cause { Opened, Reloaded, Written, Restored };
    Cause cause = Cause::Written;
    // Any part of the file may differ: an opening, another program's change, an undo or
    // redo, or a write that says nothing narrower.
    bool everything = true;
    // Otherwise the records written, as their operation names them (a section's name, a
    // trigger's list entry "ID=name"),
    QStringList records;
    // and the lists it added entries to or removed entries from, by their sections'
    // names ("AITriggerTypes" for the triggers').
    QList<QByteArray> lists;

    // A write of these records only, adding to or removing from these lists.
    static DocumentChange of(QStringList records, QList<QByteArray> lists = {}) {
        return {Cause::Written, false, std::move(records), std::move(lists)};
    }
};

// The open rules file, the one object that owns it for the window: its path, its index
// (one reading of it, kept between operations), every write of it through the scratch copy
// and the history, undo and redo, and the registry counters. It says what happened
// through its signals.
//
// refresh() looks at the file: when its size, time or identity changed since the editor
// last read or wrote it (or its content, when it was written too recently for its time to
// tell), another program changed it, and the index is read again and reloaded() said. The
// window refreshes before each use; a watch on the file refreshes while the window sits
// idle, at most once every kWatchPauseMs.
//
// The index of a large file the editor just wrote (kReadInPoolFrom) is read by a task of Qt's
// thread pool while the window goes on: readingInProgress() is true until it arrives. Every signal
// is said once the index of the content it speaks of is in place, so written() (and a signal said
// after it) comes when that reading arrives; a listener finds index() ready and never waits.
class RulesDocument : public QObject {
    Q_OBJECT

  public:
    // scratchPath is the scratch copy File.ini that every rewrite leaves the old content in.
    explicit RulesDocument(QString scratchPath, QObject* parent = nullptr);
    // The same, keeping the versions before each change in historyFolder.
    RulesDocument(QString scratchPath, const QString& historyFolder, QObject* parent = nullptr)
        : RulesDocument(std::move(scratchPath), parent) {
        setHistoryFolder(historyFolder);
    }
    ~RulesDocument() override;

    static constexpr int kWatchPauseMs = 500;
    // Content of at least this many bytes is read by the pool after a write (2 ms of work).
    static constexpr qsizetype kReadInPoolFrom = qsizetype(1) << 20;
    // Nanoseconds since 1970: when facts were taken, against the file's time. Tests set a
    // clock of their own; the system's by default.
    using Clock = std::function<qint64()>;
    void setClock(Clock clock) { clock_ = std::move(clock); }

    struct Content {
        QByteArray bytes;
        TextCodec codec;
    };

    // What opening finds.
    struct Opened {
        std::shared_ptr<const RulesIndex> index;
        int hardLinks = 1;           // names the file has; a save replaces this one only
        QStringList includeProblems; // see includeProblems()
        QString includer;            // of a file opened alone: see includer()
        // Files a step of several files, cut short, left with their new content, which the
        // opening could not give back their old one (its version is kept for the next).
        QStringList unfinished;
    };

    // Makes path the rules file when it can be read, with the registry counters of its
    // scan. Nothing changes when it cannot, or when path is the scratch copy itself
    // (the first rewrite would replace the file it reads from). A file that is merely a
    // second name of the scratch copy's content opens; the scratch name goes.
    std::optional<Opened> open(const QString& path);

    // True when the file at path can be read and is an AI file by its content (see
    // holdsAiSections), whatever its name.
    static bool holdsAiSections(const QString& path);

    bool isOpen() const { return !path_.isEmpty(); }
    const QString& path() const { return path_; }

    // A rules file names further files in its section [#include]; the game reads them with
    // it (includes::readingOrder), and so does the document: its index is their contents
    // joined (see fileset), every write goes into the files whose lines it changes, as one
    // step of the history, and another program's change to any of them reads them all again.
    // The files read, in reading order, the opened file first.
    QStringList files() const;
    // Why a file named by [#include] was not read ("包含的文件 X 不存在"), one text each.
    const QStringList& includeProblems() const { return includeProblems_; }
    // The name of a file in the opened file's folder that includes it; empty when none does.
    // Files larger than kIncluderBytes are not looked at.
    static constexpr qint64 kIncluderBytes = qint64(8) << 20;
    static QString includer(const QString& path);
    // The file at path with the files it includes, joined as the document reads them, and
    // why any of those could not be read; nothing when path cannot be read.
    struct Joined {
        QByteArray bytes;
        QStringList problems;   // of each file not read, missing or not
        QStringList unreadable; // of those that are there and could not be read
    };
    static std::optional<Joined> readJoined(const QString& path);

    // The file as the editor last read or wrote it; null while no file is open. It never
    // looks at the disk: refresh() does. Asked while the reading of the last write is in
    // progress (before written() is said), it is made here from the bytes rather than
    // waited for; the window asks only once it arrived.
    std::shared_ptr<const RulesIndex> index();
    // The file's bytes and the codec of its texts, as the editor last read or wrote it.
    std::optional<Content> read() const;
    // True from a write until the reading of what it wrote arrives.
    bool readingInProgress() const { return building_ != nullptr; }
    // Looks at the file and reads it again when another program changed it (reloaded() is
    // said). True when it did.
    bool refresh();

    // What changed in the file (below the class): every opening, reading again, write and
    // restore is said once through changed(), after the signal of its own.
    using Change = DocumentChange;

    using Transform = std::function<QByteArray(const QByteArray& content, const TextCodec& codec)>;
    // Computes the new content from the file as it is when written: nothing when there
    // is nothing to write (the record is gone, or nothing changed).
    using Edit =
        std::function<std::optional<QByteArray>(const QByteArray& content, const TextCodec& codec)>;

    // Rewrites the rules file: the new content is computed from the file as it is; then
    // the content it replaces is kept as the newest undo version and as the scratch copy,
    // and the new content replaces the file once complete. Just before that the file is
    // looked at once more: when another program changed it meanwhile, the new content is
    // computed again from what it holds now, at most kRetries times, and then the write is
    // refused as Busy. On failure the file is unchanged and the result says why; a write
    // that went ahead without its undo version says why in its version fields. Without an
    // open file nothing is written and the result is ReadFailed.
    static constexpr int kRetries = 3;
    // What says which records it changes tells changed() so; everything otherwise.
    filestore::WriteResult rewrite(const Transform& transform, Change change = {});
    // The same for an edit that may decline: then the file is not replaced.
    filestore::WriteResult edit(const Edit& edit, Change change = {});

    // The 16-bit registry counters: the number of entries found at opening, kept up to
    // date by the editor's adds and deletes. They saturate instead of wrapping.
    qint16 count(RegistryKind kind) const { return counts_[static_cast<int>(kind)]; }
    void setCount(RegistryKind kind, long long n);

    const QString& scratchPath() const { return scratchPath_; }

  signals:
    // A file was opened.
    void opened();
    // The index was read again because another program changed the file (the registry
    // counters are those of the new reading).
    void reloaded();
    // The editor wrote the file (a save, an add, a delete).
    void written();
    // A version was put back by undo or redo.
    void restored();
    // Any of the four above, with what it changed: the one signal the window follows.
    void changed(const tarvok::DocumentChange& change);
    // A reading of the editor's last write started (true) or arrived (false), the latter
    // just before the signals that waited for it.
    void readingInProgressChanged(bool inProgress);

  public:
    // Where the versions before each change are kept (no history without one). Every
    // write of the editor pushes the content before it onto the file's undo stack and
    // empties its redo stack.
    void setHistoryFolder(const QString& folder) { historyFolder_ = folder; }
    // The open file's history; null while no file is open or without a folder.
    const History* history() const { return history_.get(); }

    struct Restored {
        enum Outcome {
            Done,
            Nothing,         // the stack is empty
            ChangedOutside,  // the file is not what the editor last wrote; it was read again
            LockedElsewhere, // another running copy of the editor keeps this file's versions
            Failed,          // the version could not be read or the file not written
            // The disk has no room for the version of the content on show: asked again
            // withoutVersion, the restore goes ahead without it.
            NoRoomForVersion,
        } outcome = Nothing;
        QDateTime time; // of the version put back
        filestore::WriteResult write;
    };
    // Puts the newest version of one stack back (through the same safe replace) and keeps
    // the content it replaces as the newest of the other: undo takes from the undo stack,
    // redo from the redo stack. Only over the content that the version's own step wrote
    // (its fingerprint, in the version's name): anything else is refused. The index is then
    // that of the version.
    Restored restore(History::Stack from, bool withoutVersion = false);

  private:
    // What the file looked like when the editor last read or wrote it.
    struct Stamp {
        filestore::FileFacts facts;
        qint64 takenNs = 0; // when the facts were taken
    };
    Stamp stampOf(const QString& path) const;
    static qint16 saturated(long long n);
    // The file as another program left it: its stamp, and its content (nothing when it
    // cannot be read).
    // The opened file and the files it includes, as read.
    struct Member {
        QString path;
        QString name; // relative to the opened file's folder
        Stamp stamp;
        // The file's own encoding, when its text stands in the joined content in the opened
        // file's (a UTF-8 file included by a GBK one, say); nothing when its bytes do.
        std::optional<Encoding> recoded;
    };
    struct SetReading {
        std::vector<Member> files;
        std::vector<QByteArray> bytes;
        QStringList problems; // of includes that could not be read
        QStringList absent;   // where the missing ones would be
        QByteArray joined;
        // Included files that are there but cannot be read (no right to, a folder, a pipe):
        // only their stamps are looked at, until they change.
        std::vector<Member> unreadable;
    };
    // The file at root and every file it includes; nothing when root cannot be read.
    // Without parts, the reading has no bytes of each file (a write needs them, an opening
    // not): the opened file's buffer then becomes the joined content without a copy.
    enum class Parts { Keep, Drop };
    static std::optional<SetReading> readSet(const QString& root, const Clock& clock, Parts parts);
    std::optional<SetReading> readSet(const QString& root, Parts parts = Parts::Keep) const {
        return readSet(root, clock_, parts);
    }
    bool joined() const { return files_.size() > 1; }
    struct Reading {
        Stamp stamp;
        std::optional<QByteArray> bytes;
        std::optional<SetReading> set; // when read with its includes
    };
    // Nothing while the file still holds what the editor last read or wrote.
    std::optional<Reading> changedOutside();
    // Makes the reading the index and says reloaded(); false when it has no content.
    bool adopt(Reading reading);
    void reload(QByteArray bytes);
    // Makes a reading of the files the one on show, without a word to the listeners.
    void take(SetReading set);
    using Signal = void (RulesDocument::*)();
    // Says signal now, or once the reading in progress arrived, after those said before it.
    void say(std::function<void()> signal);
    void sayUnsaid();
    // The reading of known_ by a task of the pool; a reading in progress is dropped (its task
    // ends on its own, and what it read is let go).
    void startReading();
    void stopReading();
    void readingArrived();
    void countFromScan();
    void watch();
    using Compute = std::function<std::optional<QByteArray>(const QByteArray&)>;
    filestore::WriteResult write(const Compute& compute, Change change);
    // Says the signal of the change's cause (opened, reloaded, written, restored), then
    // changed(change).
    void tell(Change change);
    void tell(Change::Cause cause) {
        Change change;
        change.cause = cause;
        tell(std::move(change));
    }
    // The content an edit is computed from, and the file's facts when it was read.
    struct Basis {
        filestore::FileFacts facts;
        QByteArray content;
    };
    // Nothing when the file is gone or changed while it was read.
    std::optional<Basis> readBasis();
    void adoptBasis(const Basis& basis, bool& outside);
    // One attempt of a write, of bytes computed from the basis; attempt counts the tries,
    // also those made after the rename, when another program wrote into the content
    // replaced (seen through the scratch copy, a second name of it) after the last look.
    filestore::WriteResult commit(const Basis& first, const QByteArray& bytes,
                                  const Compute& compute, int& attempt, bool& outside);
    // Puts the content replaced, with another program's lines, back under the file's name,
    // followed by tail and every line it added after put (what the editor last put there),
    // keeps no version, and says Busy. A file another program wrote otherwise stays.
    filestore::WriteResult giveUp(History::Pending& pending, QByteArray put, QByteArray tail,
                                  bool& outside);
    // The file (current, with the facts now) holds what the version's step wrote.
    bool wroteLast(const History::Version& version, const QByteArray& current,
                   const filestore::FileFacts& now) const;
    // The scratch copy as the content about to be replaced: a second name of its version
    // (or of the file itself), a copy where that cannot be.
    bool makeScratch(const History::Pending& pending, const filestore::FileFacts& read);
    // After a write that did not happen the scratch copy must not be a name of the file.
    void unlinkScratch();
    // The file's content as the editor wrote or put it back.
    void wrote(QByteArray bytes);

    // Writes and restores of several files.
    struct Target {
        QString path;
        QString name;
        QByteArray bytes; // the new content
        QByteArray old;   // the content replaced
        filestore::FileFacts before;
    };
    // The files that parts (a split content) change in the set.
    static std::optional<std::vector<Target>> targetsOf(const SetReading& set,
                                                        const std::vector<fileset::Part>& parts);
    // The undo version of a step of several files: the old content of those it replaces,
    // the others left out (they stay as they are when it is put back).
    static QByteArrayList versionOf(const SetReading& set, const std::vector<Target>& targets);
    filestore::WriteResult writeMany(const Compute& compute, Change change);
    // What a write of several files is computed from: the contents the editor knows while
    // no file changed since, else every file read again.
    std::optional<SetReading> basisSet() const;
    Restored restoreMany(History::Stack from, bool withoutVersion, const History::Version& version,
                         const QByteArray& bytes);
    // Replaces every target's file, all of them or none: each new file is made first, then
    // the step noted with all of them, then the files replaced one by one; a failure on the
    // way puts back the ones already replaced. A write whose version could not be noted
    // goes ahead without it (versionNote says why).
    filestore::WriteResult replaceAll(const std::vector<Target>& targets, History::Pending& pending,
                                      History::Step step, const History::Fingerprint& wrote,
                                      filestore::WriteResult& versionNote);
    // A restore whose replace failed: changed outside (read again) or failed.
    Restored notRestored(const filestore::WriteResult& result);
    // A restore that replaced the file: its step finished, done saying when its version
    // could not be kept.
    filestore::WriteResult finishRestore(const History::Pending& pending, History::Step step,
                                         const History::Fingerprint& print,
                                         filestore::WriteResult done);
    // Parts of a joined content in each file's own encoding; false when one cannot hold
    // what its part holds.
    static bool toFiles(std::vector<fileset::Part>& parts, const std::vector<Member>& files);
    // The joined content of the files' own bytes, each text in the joined content's encoding.
    static QByteArray joinedOf(std::vector<fileset::Part> parts, const std::vector<Member>& files);
    // The scratch copy as the content of the first file replaced.
    bool scratchOf(const std::vector<Target>& targets);
    // New stamps for the files a step replaced, and for no other: another program's change
    // to a file the step never wrote, made while it ran, is still seen by the next look.
    void stampReplaced(const std::vector<Target>& targets);
    // Why a step of several files that could not keep its version (pending) is refused;
    // nothing when it goes on.
    std::optional<filestore::WriteResult> refusedWithoutVersion(const History::Pending& pending,
                                                                const std::vector<Target>& targets);

    QString scratchPath_;
    QString path_;
    std::vector<Member> files_; // the opened file first
    QStringList includeProblems_;
    QStringList absent_;             // included files that were not there
    std::vector<Member> unreadable_; // included files there that could not be read
    qint16 counts_[3] = {0, 0, 0};
    Stamp stamp_;
    // The content last read or written, and its index: after a write, null until the reading
    // by the pool (building_) arrives.
    QByteArray known_;
    std::shared_ptr<const RulesIndex> index_;
    QFutureWatcher<std::shared_ptr<const RulesIndex>>* building_ = nullptr;
    std::vector<std::function<void()>> unsaid_; // waiting for the reading in progress
    QString historyFolder_;
    std::unique_ptr<History> history_;
    Clock clock_;
    QFileSystemWatcher* watcher_;
    QTimer* watchPause_;
};

} // namespace tarvok
