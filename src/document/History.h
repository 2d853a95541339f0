#pragma once

#include "document/FileStore.h"

#include <QDateTime>
#include <QHash>
#include <QLockFile>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace tarvok {

// How much a history keeps.
struct HistoryLimits {
    int versions = 20;                // of each file's undo stack
    qint64 bytes = qint64(256) << 20; // of the whole folder, every file's versions
};

// The versions one rules file had before the editor changed it, kept as files in a folder
// of their own so that they outlive the editor: an undo stack and a redo stack. Rules
// files are told apart by their full path. A version is a second name of the old file
// where the file system allows and the file has no other names, a copy otherwise; the
// editor never writes one in place. The folder and every version are the user's alone.
//
// Beside the stacks the folder keeps the fingerprint of what the editor last wrote to the
// file (or put back), so that nothing is put back over content the editor did not write,
// also after a restart; and the lock of the running copy of the editor that keeps the
// versions: another copy keeps none and puts none back. Each version's name holds the
// fingerprint of the content its step wrote: that step is undone only over that content.
//
// What the folder holds is input, never instructions: no folder of it that is a symbolic
// link is followed, names in its notes are taken only as plain names of its own files, and
// a note, the journal or the lock that is no regular file is never opened.
//
// A change of the file and its version are one step: the version is kept under a name no
// stack counts (pending), the step is noted just before the new content replaces the file,
// and the version joins its stack once it has. Opening the history of a file after the
// editor was killed in the middle finishes the step when the file holds the new content,
// and takes it back otherwise.
class History {
  public:
    enum class Stack { Undo, Redo };
    enum class Step { Write, Undo, Redo };
    using Limits = HistoryLimits;

    // folder holds the versions of every rules file.
    History(const QString& folder, const QString& rulesPath, Limits limits = {});
    ~History();

    struct Fingerprint {
        qint64 size = -1;
        quint64 hash = 0;
        // Of an earlier editor, whose hash differed from build to build: its size alone
        // still tells something.
        bool earlier = false;
        bool operator==(const Fingerprint&) const = default;
    };
    // Size and XXH3-64 hash, the same in every build.
    static Fingerprint fingerprintOf(QByteArrayView content);
    static constexpr const char* kHashName = "xxh3-64";

    struct Version {
        QString file;
        QDateTime time; // when that content was written
        // What the step that kept the version wrote: the content it may be put back over.
        // Nothing for a version an earlier editor kept.
        std::optional<Fingerprint> wrote;
    };
    int size(Stack stack) const;
    // The newest version; nothing when the stack is empty.
    std::optional<Version> top(Stack stack) const;
    // Every version of the stack, newest first.
    std::vector<Version> all(Stack stack) const;
    // A version's content, read only when it is a regular file of this history's own
    // folder (no link, nothing planted elsewhere); nothing otherwise.
    std::optional<QByteArray> read(const Version& version) const;

    // What the editor last wrote to the file or put back; nothing when it is not known.
    // An earlier editor's note says so (earlier).
    std::optional<Fingerprint> fingerprint() const;

    // Takes the lock of this file's versions unless this copy of the editor holds it:
    // Locked, with the lock file's path, when another running copy does (then this one
    // keeps no versions and puts none back), another failure when the folder cannot be
    // written. A lock file that is empty or unreadable and older than kStaleEmptyLockMs
    // was left by a copy killed while it made it, and goes; so does a lock that is no
    // regular file.
    static constexpr qint64 kStaleEmptyLockMs = 5000;
    filestore::WriteResult claim();

    // A version on its way into a stack.
    struct Pending {
        QString file; // empty when nothing was kept
        Stack stack = Stack::Undo;
        filestore::WriteResult why; // why nothing was kept
        bool kept() const { return !file.isEmpty(); }
    };
    // Keeps the rules file's content as it is now (current: its facts) as a pending
    // version of stack. Nothing is kept, and why says why, when the folder cannot be
    // written, another copy of the editor holds the lock, the version would not fit the
    // folder's bound or would leave the disk less free room than twice its size. With
    // Room::NotForALink a second name of the file, which takes no room, is kept whatever
    // the disk's room.
    enum class Room { ForEvery, NotForALink };
    Pending keep(Stack stack, const filestore::FileFacts& current, Room room = Room::ForEvery);
    // The same for the content of several files joined (see fileset), of which the files a
    // step does not replace may be left out, given in pieces: kept as a copy.
    Pending keepContent(Stack stack, const QByteArrayList& content);
    // Notes the step, just before the new content (newFile: its facts) replaces the file;
    // noted again for each new content of the same step. A restore may go without a
    // version (pending kept nothing); a write may not.
    bool begin(const Pending& pending, Step step, const filestore::FileFacts& newFile);
    // A step that replaces several files (each new file: its name relative to the rules
    // file's folder, and its facts), noted once every new file is complete; wrote is the
    // fingerprint of their joined content. Opening the history after a kill finishes the
    // step when every file holds its new content, and otherwise puts the pending version's
    // content back into those that do: every file is wholly old or wholly new.
    struct Made {
        QString name;
        filestore::FileFacts facts;
    };
    bool beginMany(const Pending& pending, Step step, const std::vector<Made>& made,
                   const Fingerprint& wrote);
    // The new content (now: its fingerprint) replaced the file: the pending version joins
    // its stack, a write empties the redo stack, a restore drops the version it put back,
    // and the oldest versions go beyond the bounds. False when the version or the
    // fingerprint could not be kept: this change cannot be undone.
    bool finish(const Pending& pending, Step step, const Fingerprint& now);
    // The file was not replaced: the pending version goes.
    void drop(const Pending& pending);
    // The files a step of several files left with their new content, which the start could
    // not put back (its version is kept for the next start); empty when none.
    const QStringList& unfinished() const { return unfinished_; }
    // Why the last begin or finish that said false failed.
    const filestore::WriteResult& failure() const { return failure_; }

  private:
    struct Entry {
        QString name;
        qint64 sequence = 0;
    };
    QString folderOf(Stack stack) const;
    // None of the folders is a symbolic link.
    bool unlinked() const;
    QString lockPath() const;
    void clearDeadLock();
    bool roomFor(const filestore::FileFacts& current) const;
    QString pendingName(Stack stack) const;
    // The journal's first lines: the step, its pending version and the version it drops.
    QByteArray stepNote(const Pending& pending, Step step) const;
    std::vector<Entry> versions(Stack stack) const; // oldest first
    bool ensureFolders();
    void recover();
    void removeLeftTemporary(const QString& file, const QByteArray& device,
                             const QByteArray& inode);
    // The end of a step of several files; note is the journal's lines. False when a file
    // that holds the new content could not be given its old content back.
    bool recoverMany(const QList<QByteArray>& files, const QString& part, Stack stack, Step kind,
                     const QString& dropped, const QHash<QByteArray, QByteArray>& note);
    // A file beside the rules file that a journal names: a relative name inside its folder,
    // or one reaching above it that names a file the rules file includes now (included:
    // those files, looked up at the first such name).
    std::optional<QString> fileNamed(const QString& name, QStringList& included) const;
    bool finishNamed(const QString& part, Stack stack, Step step, const QString& dropped,
                     const Fingerprint& now);
    bool writeNote(const QString& name, const QByteArray& text);
    bool failed(filestore::WriteResult why) {
        failure_ = std::move(why);
        return false;
    }
    bool setFingerprint(const Fingerprint& f);
    void applyBounds(const QString& keep);

    QString root_;   // every file's histories
    QString folder_; // this file's
    QString rulesPath_;
    Limits limits_;
    std::unique_ptr<QLockFile> lock_;
    filestore::WriteResult failure_; // of the last step that failed
    QStringList unfinished_;
};

} // namespace tarvok
