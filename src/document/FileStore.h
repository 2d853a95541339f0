#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <functional>
#include <optional>

namespace tarvok {

// The one place where the editor's files are read and replaced. A file is replaced
// only once its new content is completely written beside it, so a failure at any
// point leaves the old file exactly as it was.
namespace filestore {

enum class Result {
    Ok,
    ReadFailed,     // the file is gone or could not be opened or read
    BackupFailed,   // the scratch copy could not be written; nothing was changed
    ReadOnlyFile,   // the file is marked read-only; it is unchanged
    ReadOnlyFolder, // its folder is marked read-only; it is unchanged
    DiskFull,       // the disk (or the user's quota) ran out of room; the file is unchanged
    WriteFailed,    // any other failure to replace the file; it is unchanged
    Busy,           // another program kept changing the file while it was written; unchanged
    Locked,         // another running copy of the editor keeps this file's versions
    TooLarge,       // a version of this size does not fit the history's room
    // A step of several files that cannot keep its undo version: refused, nothing changed.
    NoRoomForVersion,
    // A step of several files failed after replacing some of them, and putting those back
    // failed too: systemError names them. The journal and the version stay, so that the
    // next opening of the file puts their old content back.
    PartlyWritten,
    // What is to be written holds a character the encoding of its file cannot hold.
    Unencodable,
};

// What a write did, and why it failed: the system's own words for a failure that has no
// reason of its own here.
struct WriteResult {
    WriteResult() = default;
    WriteResult(Result r, QString error = {}) : result(r), systemError(std::move(error)) {}

    Result result = Result::Ok;
    QString systemError;
    // A write that went ahead without keeping the replaced content for undo, and why
    // (Ok when it was kept, or when the writer keeps no versions at all).
    Result versionResult = Result::Ok;
    QString versionError;

    bool ok() const { return result == Result::Ok; }
    bool versionKept() const { return versionResult == Result::Ok; }
    WriteResult versionFailure() const { return {versionResult, versionError}; }
    friend bool operator==(const WriteResult& r, Result e) { return r.result == e; }
};

// What the system says of a path (a symbolic link is followed, unless asked otherwise).
// All zero for a path that does not exist. Where the system knows no owners, links or
// inodes, they are 0 (links 1).
struct FileFacts {
    bool exists = false;
    bool isRegular = false; // a plain file: no folder, pipe, device or socket
    bool isLink = false;    // the name itself is a symbolic link (asked without following)
    uint owner = 0;         // user ID
    uint group = 0;         // group ID
    quint64 links = 0;      // hard links: names of the same file
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0; // modification time, nanoseconds since 1970
    qint64 statusNs = 0;   // when its name, rights or content last changed (0: unknown)

    // The same file, unchanged as far as the system tells: size, time and identity.
    bool sameAs(const FileFacts& o) const {
        return exists == o.exists && size == o.size && modifiedNs == o.modifiedNs &&
               device == o.device && inode == o.inode;
    }
};

enum class Links { Follow, DoNotFollow };
FileFacts facts(const QString& path, Links links = Links::Follow);

// The whole content of a regular, readable file; nothing for a missing file, a folder,
// a pipe, a device or a file that cannot be read. Only a regular file is ever opened:
// opening a pipe waits for a writer that may never come. A large file's bytes have room
// for spare more after them.
std::optional<QByteArray> read(const QString& path, qsizetype spare = 0);
// The same for a file that must be the name itself: a symbolic link is never followed,
// also when one is put in its place between the look and the read, and a pipe put there
// is refused without waiting for a writer.
std::optional<QByteArray> readNoFollow(const QString& path);

// What look says of the content of a file read() would read; false for a file read()
// refuses. The file is read a piece at a time, and look is asked of its whole lines read so
// far, until it says true or the file ends: it must say true of the whole when it does of
// its first lines.
bool peek(const QString& path, const std::function<bool(QByteArrayView content)>& look);

// True for a regular file.
bool exists(const QString& path);

// A folder the editor may write in: it exists, is not marked read-only and the user may
// create files in it.
bool writableFolder(const QString& dir);
// Bytes free for the user on the disk that holds path; -1 when the system does not say.
qint64 freeBytes(const QString& path);
// Readable by the user only: a folder (0700, made with its parents when missing) and a
// file (0600). False when that cannot be done.
bool makePrivateFolder(const QString& dir);
bool makePrivate(const QString& file);

// Called just before a replacement takes the place of the file, with the facts of the new
// file; anything but Ok leaves the file as it is and the write fails with that result.
using BeforeCommit = std::function<WriteResult(const FileFacts& newFile)>;

// Writes bytes to path through a temporary file that replaces it only when complete and
// on the disk. A file or directory marked read-only is refused, also for a user who could
// override the marking. The new file keeps the permissions, owner and group of the file it
// replaces where the system lets the editor give them (a normal user cannot give a file
// away).
WriteResult replace(const QString& path, QByteArrayView bytes, const BeforeCommit& check = {});

// Copies a file over another (a scratch copy: no temporary file, no flush to disk;
// the copy is whole or the call fails). Refused like replace() for read-only targets.
// The copy is readable by its owner only.
WriteResult copy(const QString& from, const QString& to);

// Gives the file from a second name to. Fails where the file system has no hard links,
// across file systems, or where the system protects links to other users' files.
WriteResult link(const QString& from, const QString& to);
// A second name where the file system allows, a copy otherwise. Either way to then holds
// from's content and is never written in place by the editor.
WriteResult linkOrCopy(const QString& from, const QString& to);

// Puts what was written to an open file on the disk: 0, or the system's error number.
int sync(QFileDevice& file);

// Renames a file over another, which it replaces in one step.
WriteResult rename(const QString& from, const QString& to);

// Copies path to scratchPath, then replaces path with transform(its content). The
// scratch copy is made before anything else is written; a failed copy stops it.
WriteResult rewrite(const QString& path, const QString& scratchPath,
                    const std::function<QByteArray(const QByteArray&)>& transform);

// Test seam: called before each step of the editor's writes that reaches the disk, with
// the step's name, and before each read() of a file, as "read <path>". A non-zero answer makes the
// step fail as if the system had answered with that error number (ENOSPC, say); a test may also end
// its process there. No hook in the program.
using StepHook = int (*)(const char* step);
void setStepHook(StepHook hook);
// The hook's answer for a step: 0 (go on) without a hook.
int fault(const char* step);
// What a failed step with the system's error number err says, for a target file.
WriteResult failure(int err, Result otherwise = Result::WriteFailed);
// The same for a failed write of file, in the file's own words unless the disk was full.
WriteResult failure(const QFileDevice& file, int err);

} // namespace filestore
} // namespace tarvok
