#include "document/FileStore.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <filesystem>
#include <system_error>

namespace tarvok::filestore {
namespace {

constexpr QFileDevice::Permissions kAnyWrite =
    QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;

// Permission bits, not access(): a rules file or folder the user marked read-only stays
// untouched even when the editor runs with rights that would let it write anyway.
bool markedWritable(const QFileInfo& info) { return (info.permissions() & kAnyWrite) != 0; }

// A target that is no folder, not marked read-only, in a folder not marked read-only.
bool mayWrite(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir())
        return false;
    if (info.exists() && !markedWritable(info))
        return false;
    const QFileInfo dir(info.absolutePath());
    return dir.isDir() && markedWritable(dir);
}

std::filesystem::path nativePath(const QString& path) {
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// The scratch copy as a second name of the rules file's current content. The rewrite
// then replaces the rules file by a new file, so the scratch name keeps the old content
// without one byte being copied. Fails where the file system has no hard links, across
// file systems, or where the system protects links to other users' files.
bool linkScratch(const QString& path, const QString& scratchPath) {
    if (!mayWrite(scratchPath))
        return false;
    if (QFileInfo::exists(scratchPath) && !QFile::remove(scratchPath))
        return false;
    std::error_code ec;
    const std::filesystem::path target = std::filesystem::canonical(nativePath(path), ec);
    if (ec)
        return false;
    std::filesystem::create_hard_link(target, nativePath(scratchPath), ec);
    return !ec;
}

} // namespace

std::optional<QByteArray> read(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isDir())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool exists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool replace(const QString& path, QByteArrayView bytes) {
    if (!mayWrite(path))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool copy(const QString& from, const QString& to) {
    if (!mayWrite(to))
        return false;
    if (QFileInfo::exists(to) && !QFile::remove(to))
        return false;
    QFile source(from);
    // QFile::copy writes through a temporary file of its own and renames it, so the
    // target is complete or absent.
    return source.copy(to);
}

Result rewrite(const QString& path, const QString& scratchPath,
               const std::function<QByteArray(const QByteArray&)>& transform) {
    if (!exists(path))
        return Result::ReadFailed;
    const bool linked = linkScratch(path, scratchPath);
    if (!linked && !copy(path, scratchPath))
        return Result::BackupFailed;
    // The old content is mapped rather than copied into memory where the system allows:
    // the new file replaces the old one under its name, and the mapping stays valid.
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly))
        return Result::ReadFailed;
    QByteArray updated;
    const qint64 size = source.size();
    uchar* mapped = size > 0 ? source.map(0, size) : nullptr;
    if (mapped) {
        // A view of the mapping: the transform reads it and builds new bytes.
        updated = transform(QByteArray::fromRawData(reinterpret_cast<const char*>(mapped),
                                                    static_cast<qsizetype>(size)));
    } else {
        const std::optional<QByteArray> old = read(path);
        if (!old)
            return Result::ReadFailed;
        updated = transform(*old);
    }
    // Nothing of the new content may point into the mapping, which goes now: a file
    // that is open or mapped cannot be replaced on every system.
    updated.detach();
    if (mapped)
        source.unmap(mapped);
    source.close();
    if (!replace(path, updated)) {
        // The rules file was not replaced: the scratch name must not stay a second name
        // of it, or writing to one would change the other.
        if (linked)
            copy(path, scratchPath);
        return Result::WriteFailed;
    }
    return Result::Ok;
}

} // namespace tarvok::filestore
