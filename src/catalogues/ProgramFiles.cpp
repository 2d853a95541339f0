#include "catalogues/ProgramFiles.h"

#include "document/FileStore.h"
#include "document/TextEncoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace tarvok {

ProgramFiles::ProgramFiles(QString dir, QString userDir)
    : dir_(std::move(dir)), userDir_(std::move(userDir)) {}

QString ProgramFiles::defaultUserDir() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

bool ProgramFiles::has(const QString& name) const {
    return filestore::exists(path(name));
}

std::optional<QStringList> ProgramFiles::lines(const QString& name) const {
    const QString file = name == kNotes ? notesFile() : path(name);
    if (!filestore::exists(file))
        return std::nullopt;
    const std::optional<QByteArray> bytes = filestore::read(file);
    return bytes ? decodeLines(*bytes) : QStringList();
}

QString ProgramFiles::writablePath(const QString& name) const {
    const QString inUserDir = QDir(userDir_).filePath(name);
    if (userDir_.isEmpty() || (!QFileInfo::exists(inUserDir) && filestore::writableFolder(dir_)))
        return path(name);
    QDir().mkpath(userDir_);
    return inUserDir;
}

QString ProgramFiles::notesFile() const {
    const QString file = writablePath(kNotes);
    if (file != path(kNotes) && !QFileInfo::exists(file) && has(kNotes))
        QFile::copy(path(kNotes), file);
    return file;
}

QString ProgramFiles::notesScratch() const {
    return QFileInfo(notesFile()).dir().filePath(kNotesScratch);
}

} // namespace tarvok
