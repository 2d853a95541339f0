#include "document/FileStore.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tarvok::filestore {
namespace {

constexpr QFileDevice::Permissions kAnyWrite =
    QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;

// Permission bits, not access(): a rules file or folder the user marked read-only stays
// untouched even when the editor runs with rights that would let it write anyway.
bool markedWritable(const QFileInfo& info) { return (info.permissions() & kAnyWrite) != 0; }

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
    const QFileInfo info(path);
    if (info.isDir())
        return false;
    if (info.exists() && !markedWritable(info))
        return false;
    const QFileInfo dir(info.absolutePath());
    if (!dir.isDir() || !markedWritable(dir))
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

Result rewrite(const QString& path, const QString& scratchPath,
               const std::function<QByteArray(const QByteArray&)>& transform) {
    const std::optional<QByteArray> old = read(path);
    if (!old)
        return Result::ReadFailed;
    if (!replace(scratchPath, *old))
        return Result::BackupFailed;
    const QByteArray updated = transform(*old);
    if (!replace(path, updated))
        return Result::WriteFailed;
    return Result::Ok;
}

} // namespace tarvok::filestore
