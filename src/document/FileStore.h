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
    ReadFailed,   // the file could not be opened or read
    BackupFailed, // the scratch copy could not be written; nothing was changed
    WriteFailed,  // the new content could not replace the file; it is unchanged
};

// The whole content of a regular, readable file; nothing for a missing file,
// a directory or a file that cannot be read.
std::optional<QByteArray> read(const QString& path);

bool exists(const QString& path);

// Writes bytes to path through a temporary file that replaces it only when complete.
// A file or directory marked read-only is refused, also for a user who could
// override the marking.
bool replace(const QString& path, QByteArrayView bytes);

// Copies a file over another (a scratch copy: no temporary file, no flush to disk;
// the copy is whole or the call fails). Refused like replace() for read-only targets.
bool copy(const QString& from, const QString& to);

// Copies path to scratchPath, then replaces path with transform(its content). The
// scratch copy is made before anything else is written; a failed copy stops it.
Result rewrite(const QString& path, const QString& scratchPath,
               const std::function<QByteArray(const QByteArray&)>& transform);

} // namespace filestore
} // namespace tarvok
