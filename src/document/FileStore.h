#pragma once

#include <QByteArray>
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
    DiskFull,       // the new content did not fit on the disk; the file is unchanged
    WriteFailed,    // any other failure to replace the file; it is unchanged
};

// What a write did, and why it failed: the system's own words for a failure that has no
// reason of its own here.
struct WriteResult {
    Result result = Result::Ok;
    QString systemError;

    bool ok() const { return result == Result::Ok; }
    friend bool operator==(const WriteResult& r, Result e) { return r.result == e; }
};

// What the system says of a path (a symbolic link is followed). All zero for a path that
// does not exist. Where the system knows no owners, links or inodes, they are 0 (links 1).
struct FileFacts {
    bool exists = false;
    bool isRegular = false; // a plain file: no folder, pipe, device or socket
    uint owner = 0;         // user ID
    uint group = 0;         // group ID
    quint64 links = 0;      // hard links: names of the same file
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0; // modification time, nanoseconds since 1970
};

FileFacts facts(const QString& path);

// The whole content of a regular, readable file; nothing for a missing file, a folder,
// a pipe, a device or a file that cannot be read. Only a regular file is ever opened:
// opening a pipe waits for a writer that may never come.
std::optional<QByteArray> read(const QString& path);

// True for a regular file.
bool exists(const QString& path);

// Writes bytes to path through a temporary file that replaces it only when complete.
// A file or directory marked read-only is refused, also for a user who could
// override the marking. The new file keeps the owner and group of the file it replaces
// where the system lets the editor give them (a normal user cannot give a file away).
WriteResult replace(const QString& path, QByteArrayView bytes);

// Copies a file over another (a scratch copy: no temporary file, no flush to disk;
// the copy is whole or the call fails). Refused like replace() for read-only targets.
bool copy(const QString& from, const QString& to);

// Gives the file from a second name to (a copy where the file system has no hard links
// or the names lie on different file systems). Either way to then holds from's content
// and is never written in place by the editor.
bool linkOrCopy(const QString& from, const QString& to);

// Copies path to scratchPath, then replaces path with transform(its content). The
// scratch copy is made before anything else is written; a failed copy stops it.
WriteResult rewrite(const QString& path, const QString& scratchPath,
                    const std::function<QByteArray(const QByteArray&)>& transform);
// The same, but transform may decline (return nothing): then the file is not written.
WriteResult rewriteIf(const QString& path, const QString& scratchPath,
                      const std::function<std::optional<QByteArray>(const QByteArray&)>& transform);

} // namespace filestore
} // namespace tarvok
