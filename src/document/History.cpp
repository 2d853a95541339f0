#include "document/History.h"

#include "document/FileStore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tarvok {
namespace {

QString folderName(History::Stack stack) {
    return stack == History::Stack::Undo ? QStringLiteral("undo") : QStringLiteral("redo");
}

} // namespace

History::History(const QString& folder, const QString& rulesPath) {
    const QString full = QFileInfo(rulesPath).absoluteFilePath();
    const QByteArray key =
        QCryptographicHash::hash(full.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    folder_ = QDir(folder).filePath(QString::fromLatin1(key));
    // Which file these versions are of, for whoever looks into the folder.
    const QString note = QDir(folder_).filePath(QStringLiteral("path.txt"));
    if (!QFileInfo::exists(note) && QDir().mkpath(folder_)) {
        QFile f(note);
        if (f.open(QIODevice::WriteOnly))
            f.write(full.toUtf8() + '\n');
    }
}

QString History::folderOf(Stack stack) const {
    return QDir(folder_).filePath(folderName(stack));
}

QStringList History::versions(Stack stack) const {
    return QDir(folderOf(stack)).entryList({QStringLiteral("*.ini")}, QDir::Files, QDir::Name);
}

int History::size(Stack stack) const {
    return static_cast<int>(versions(stack).size());
}

std::optional<History::Version> History::top(Stack stack) const {
    const QStringList all = versions(stack);
    if (all.isEmpty())
        return std::nullopt;
    const QString file = QDir(folderOf(stack)).filePath(all.last());
    return Version{file, QFileInfo(file).fileTime(QFileDevice::FileModificationTime)};
}

bool History::push(Stack stack, const QString& from) {
    const QDir dir(folderOf(stack));
    if (!QDir().mkpath(dir.path()))
        return false;
    const QStringList all = versions(stack);
    // Names count up, ten digits wide, so that the newest sorts last.
    const qint64 next = all.isEmpty() ? 1 : QFileInfo(all.last()).baseName().toLongLong() + 1;
    const QString name = QStringLiteral("%1.ini").arg(next, 10, 10, QLatin1Char('0'));
    const QString file = dir.filePath(name);
    if (!filestore::linkOrCopy(from, file))
        return false;
    // A copy takes the time of the content it holds, as a second name does.
    const QDateTime written = QFileInfo(from).fileTime(QFileDevice::FileModificationTime);
    if (QFileInfo(file).fileTime(QFileDevice::FileModificationTime) != written) {
        QFile f(file);
        if (f.open(QIODevice::ReadWrite))
            f.setFileTime(written, QFileDevice::FileModificationTime);
    }
    if (stack == Stack::Undo)
        for (qsizetype i = 0; i + kMaxVersions < all.size() + 1; ++i)
            QFile::remove(dir.filePath(all[i]));
    return true;
}

void History::pop(Stack stack) {
    if (const std::optional<Version> v = top(stack))
        QFile::remove(v->file);
}

void History::clear(Stack stack) {
    for (const QString& name : versions(stack))
        QFile::remove(QDir(folderOf(stack)).filePath(name));
}

} // namespace tarvok
