#include "document/FileStore.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tarvok::filestore {

// The system calls of the file layer, and the fallback where there are none.
#ifdef Q_OS_UNIX

FileFacts facts(const QString& path) {
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
#ifdef Q_OS_DARWIN
    const timespec modified = st.st_mtimespec;
#else
    const timespec modified = st.st_mtim;
#endif
    return {true,
            S_ISREG(st.st_mode),
            static_cast<uint>(st.st_uid),
            static_cast<uint>(st.st_gid),
            static_cast<quint64>(st.st_nlink),
            static_cast<quint64>(st.st_dev),
            static_cast<quint64>(st.st_ino),
            static_cast<qint64>(st.st_size),
            static_cast<qint64>(modified.tv_sec) * 1000000000 + modified.tv_nsec};
}

namespace {
// Gives path the owner and group; false when the system refuses.
bool setOwner(const QString& path, uint owner, uint group) {
    return ::chown(QFile::encodeName(path).constData(), static_cast<uid_t>(owner),
                   static_cast<gid_t>(group)) == 0;
}
} // namespace

#else

FileFacts facts(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return {};
    FileFacts f;
    f.exists = true;
    f.isRegular = info.isFile();
    f.links = 1;
    f.size = info.size();
    f.modifiedNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
    return f;
}

namespace {
bool setOwner(const QString&, uint, uint) {
    return false;
}
} // namespace

#endif

namespace {

constexpr QFileDevice::Permissions kAnyWrite =
    QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;

// Permission bits, not access(): a rules file or folder the user marked read-only stays
// untouched even when the editor runs with rights that would let it write anyway.
bool markedWritable(const QFileInfo& info) {
    return (info.permissions() & kAnyWrite) != 0;
}

// Why a target may not be written: it is a folder or marked read-only, or its folder is
// missing or marked read-only. Ok when it may.
Result writeBlocker(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir())
        return Result::WriteFailed;
    if (info.exists() && !markedWritable(info))
        return Result::ReadOnlyFile;
    const QFileInfo dir(info.absolutePath());
    if (!dir.isDir())
        return Result::ReadFailed;
    return markedWritable(dir) ? Result::Ok : Result::ReadOnlyFolder;
}

bool mayWrite(const QString& path) {
    return writeBlocker(path) == Result::Ok;
}

WriteResult failedWith(const QFileDevice& file) {
    if (file.error() == QFileDevice::ResourceError)
        return {Result::DiskFull, file.errorString()};
    return {Result::WriteFailed, file.errorString()};
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
bool link(const QString& path, const QString& scratchPath) {
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
    if (!exists(path))
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
    return facts(path).isRegular;
}

WriteResult replace(const QString& path, QByteArrayView bytes) {
    if (const Result blocked = writeBlocker(path); blocked != Result::Ok)
        return {blocked, {}};
    const FileFacts old = facts(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failedWith(file);
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        const WriteResult failure = failedWith(file);
        file.cancelWriting();
        return failure;
    }
    if (!file.commit())
        return failedWith(file);
    if (old.exists) {
        const FileFacts now = facts(path);
        if (now.owner != old.owner || now.group != old.group)
            setOwner(path, old.owner, old.group); // a refusal leaves the editor's own user
    }
    return {};
}

bool copy(const QString& from, const QString& to) {
    if (!mayWrite(to))
        return false;
    if (QFileInfo::exists(to) && !QFile::remove(to))
        return false;
    QFile source(from);
    // QFile::copy writes through a temporary file of its own and renames it, so the
    // target is complete or absent.
    if (!source.copy(to))
        return false;
    // The copy is the editor's own file: a read-only original must not make it
    // read-only, or the next scratch copy could not replace it.
    QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::WriteOwner);
    return true;
}

bool linkOrCopy(const QString& from, const QString& to) {
    return link(from, to) || copy(from, to);
}

WriteResult rewrite(const QString& path, const QString& scratchPath,
                    const std::function<QByteArray(const QByteArray&)>& transform) {
    return rewriteIf(path, scratchPath, [&](const QByteArray& content) {
        return std::optional<QByteArray>(transform(content));
    });
}

WriteResult
rewriteIf(const QString& path, const QString& scratchPath,
          const std::function<std::optional<QByteArray>(const QByteArray&)>& transform) {
    if (!exists(path))
        return {Result::ReadFailed, {}};
    const bool linked = link(path, scratchPath);
    if (!linked && !copy(path, scratchPath))
        return {Result::BackupFailed, {}};
    // The old content is mapped rather than copied into memory where the system allows:
    // the new file replaces the old one under its name, and the mapping stays valid.
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly))
        return {Result::ReadFailed, source.errorString()};
    std::optional<QByteArray> updated;
    const qint64 size = source.size();
    uchar* mapped = size > 0 ? source.map(0, size) : nullptr;
    if (mapped) {
        // A view of the mapping: the transform reads it and builds new bytes.
        updated = transform(QByteArray::fromRawData(reinterpret_cast<const char*>(mapped),
                                                    static_cast<qsizetype>(size)));
    } else {
        const std::optional<QByteArray> old = read(path);
        if (!old)
            return {Result::ReadFailed, {}};
        updated = transform(*old);
    }
    // Nothing of the new content may point into the mapping, which goes now: a file
    // that is open or mapped cannot be replaced on every system.
    if (updated)
        updated->detach();
    if (mapped)
        source.unmap(mapped);
    source.close();
    if (!updated)
        return {}; // nothing to write: the file stays as it is
    const WriteResult written = replace(path, *updated);
    if (!written.ok()) {
        // The rules file was not replaced: the scratch name must not stay a second name
        // of it, or writing to one would change the other.
        if (linked) {
            QFile::remove(scratchPath);
            copy(path, scratchPath);
        }
    }
    return written;
}

} // namespace tarvok::filestore
