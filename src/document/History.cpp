#include "document/History.h"

#include "document/FileSet.h"
#include "document/Includes.h"
#include "document/Logging.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <string_view>

#include <xxhash.h>

namespace tarvok {
namespace {

using filestore::Result;

const QString kVersionSuffix = QStringLiteral(".ini");
const QString kPendingSuffix = QStringLiteral(".part");
const QString kStepNote = QStringLiteral("step.txt");
const QString kFingerprintNote = QStringLiteral("fingerprint.txt");

QString folderName(History::Stack stack) {
    return stack == History::Stack::Undo ? QStringLiteral("undo") : QStringLiteral("redo");
}

QString stepName(History::Step step) {
    switch (step) {
    case History::Step::Write:
        return QStringLiteral("write");
    case History::Step::Undo:
        return QStringLiteral("undo");
    case History::Step::Redo:
        return QStringLiteral("redo");
    }
    return {};
}

// Version names: the sequence number in its stack (ten digits, so that the newest sorts
// last), when it was kept, in milliseconds, and the fingerprint of what its step wrote:
// "0000000012-1765100000000-xxh3-64-20971520-00ff00ff00ff00ff.ini". Versions an earlier
// editor kept are named without the fingerprint, or by the sequence number alone.
qint64 sequenceOf(const QString& name) {
    return QStringView(name).left(10).toLongLong();
}

qint64 keptMsOf(const QFileInfo& file) {
    const QStringList parts = file.completeBaseName().split(QLatin1Char('-'));
    bool ok = false;
    const qint64 ms = parts.size() > 1 ? parts[1].toLongLong(&ok) : 0;
    return ok ? ms : file.lastModified().toMSecsSinceEpoch();
}

QString fingerprintName(const History::Fingerprint& f) {
    return QStringLiteral("-%1-%2-%3")
        .arg(QLatin1String(History::kHashName))
        .arg(f.size)
        .arg(f.hash, 16, 16, QLatin1Char('0'));
}

std::optional<History::Fingerprint> wroteOf(const QString& name) {
    const QStringList parts = QFileInfo(name).completeBaseName().split(QLatin1Char('-'));
    if (parts.size() != 6 ||
        parts[2] + QLatin1Char('-') + parts[3] != QLatin1String(History::kHashName))
        return std::nullopt;
    bool sizeOk = false;
    bool hashOk = false;
    const History::Fingerprint f{parts[4].toLongLong(&sizeOk), parts[5].toULongLong(&hashOk, 16)};
    return sizeOk && hashOk ? std::optional(f) : std::nullopt;
}

// A name the journal may give: a plain name of a file in a stack folder, nothing that
// reaches elsewhere.
bool plainName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QLatin1Char(':')) && !QDir::isAbsolutePath(name);
}

// A note of the folder, read only when it is a regular file (no link, no pipe).
QByteArray readNote(const QString& path) {
    return filestore::readNoFollow(path).value_or(QByteArray());
}

// The stack a restore takes its version from, and the one it keeps the replaced content on.
History::Stack sourceOf(History::Step step) {
    return step == History::Step::Redo ? History::Stack::Redo : History::Stack::Undo;
}

} // namespace

History::History(const QString& folder, const QString& rulesPath, Limits limits)
    : root_(folder), rulesPath_(QFileInfo(rulesPath).absoluteFilePath()), limits_(limits) {
    const QByteArray key =
        QCryptographicHash::hash(rulesPath_.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    folder_ = QDir(folder).filePath(QString::fromLatin1(key));
    recover();
}

History::~History() = default;

QString History::folderOf(Stack stack) const {
    return QDir(folder_).filePath(folderName(stack));
}

std::vector<History::Entry> History::versions(Stack stack) const {
    std::vector<Entry> out;
    if (!unlinked()) // what lies beyond a link is not the history's
        return out;
    const QStringList names = QDir(folderOf(stack))
                                  .entryList({QLatin1Char('*') + kVersionSuffix},
                                             QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
    for (const QString& name : names)
        out.push_back({name, sequenceOf(name)});
    std::stable_sort(out.begin(), out.end(),
                     [](const Entry& a, const Entry& b) { return a.sequence < b.sequence; });
    return out;
}

int History::size(Stack stack) const {
    return static_cast<int>(versions(stack).size());
}

std::optional<History::Version> History::top(Stack stack) const {
    const std::vector<Entry> all = versions(stack);
    if (all.empty())
        return std::nullopt;
    const QString file = QDir(folderOf(stack)).filePath(all.back().name);
    return Version{file, QFileInfo(file).fileTime(QFileDevice::FileModificationTime),
                   wroteOf(file)};
}

std::vector<History::Version> History::all(Stack stack) const {
    std::vector<Version> out;
    const std::vector<Entry> entries = versions(stack);
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        const QString file = QDir(folderOf(stack)).filePath(it->name);
        out.push_back(
            {file, QFileInfo(file).fileTime(QFileDevice::FileModificationTime), wroteOf(file)});
    }
    return out;
}

std::optional<QByteArray> History::read(const Version& version) const {
    // Only a file of this history's own stacks: no folder on the way may be a link.
    const QString dir = QFileInfo(version.file).absolutePath();
    if (dir != folderOf(Stack::Undo) && dir != folderOf(Stack::Redo))
        return std::nullopt;
    for (const QString& d : {folder_, dir})
        if (filestore::facts(d, filestore::Links::DoNotFollow).isLink)
            return std::nullopt;
    return filestore::readNoFollow(version.file);
}

History::Fingerprint History::fingerprintOf(QByteArrayView content) {
    // A hash of the whole content that is cheap enough for every save of a large file.
    return {content.size(),
            static_cast<quint64>(XXH3_64bits(content.data(), static_cast<size_t>(content.size())))};
}

std::optional<History::Fingerprint> History::fingerprint() const {
    // "xxh3-64 size hash"; an earlier editor wrote "size hash", its hash its build's own.
    QList<QByteArray> parts =
        readNote(QDir(folder_).filePath(kFingerprintNote)).trimmed().split(' ');
    Fingerprint f;
    if (parts.size() == 3 && parts[0] == kHashName)
        parts.removeFirst();
    else
        f.earlier = true;
    bool sizeOk = false;
    bool hashOk = false;
    if (parts.size() == 2) {
        f.size = parts[0].toLongLong(&sizeOk);
        f.hash = parts[1].toULongLong(&hashOk, 16);
    }
    return sizeOk && hashOk ? std::optional(f) : std::nullopt;
}

bool History::setFingerprint(const Fingerprint& f) {
    return writeNote(kFingerprintNote, QByteArray(kHashName) + ' ' + QByteArray::number(f.size) +
                                           ' ' + QByteArray::number(f.hash, 16) + '\n');
}

// A small note of the folder, replaced in one step.
bool History::writeNote(const QString& name, const QByteArray& text) {
    if (const int err = filestore::fault("history.note"))
        return failed(filestore::failure(err));
    const QString target = QDir(folder_).filePath(name);
    const QString next = target + QStringLiteral(".new");
    // Made afresh: whatever had the name (a link, a pipe) is not written through.
    QFile::remove(next);
    QFile f(next);
    errno = 0;
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly) || f.write(text) != text.size() ||
        !f.flush())
        return failed(filestore::failure(f, errno));
    f.close();
    filestore::makePrivate(next);
    filestore::WriteResult renamed = filestore::rename(next, target);
    return renamed.ok() || failed(std::move(renamed));
}

bool History::unlinked() const {
    for (const QString& dir : {root_, folder_, folderOf(Stack::Undo), folderOf(Stack::Redo)})
        if (filestore::facts(dir, filestore::Links::DoNotFollow).isLink)
            return false;
    return true;
}

QString History::lockPath() const {
    return QDir(folder_).filePath(QStringLiteral("lock"));
}

void History::clearDeadLock() {
    const QString path = lockPath();
    const filestore::FileFacts lock = filestore::facts(path, filestore::Links::DoNotFollow);
    if (!lock.exists)
        return;
    if (!lock.isRegular) { // a link or a pipe in its place is no lock, and never opened
        QFile::remove(path);
        return;
    }
    // A running copy writes its number first thing; an empty or unreadable lock that stays
    // so was left by a copy killed while it made it.
    const std::optional<QByteArray> text = filestore::readNoFollow(path);
    bool numbered = false;
    if (text)
        text->split('\n').value(0).trimmed().toLongLong(&numbered);
    const qint64 ageMs = QDateTime::currentMSecsSinceEpoch() - lock.modifiedNs / 1000000;
    if (!numbered && ageMs > kStaleEmptyLockMs)
        QFile::remove(path);
}

bool History::ensureFolders() {
    if (!unlinked())
        return false;
    if (!filestore::makePrivateFolder(root_) || !filestore::makePrivateFolder(folder_) ||
        !filestore::makePrivateFolder(folderOf(Stack::Undo)) ||
        !filestore::makePrivateFolder(folderOf(Stack::Redo)) || !unlinked())
        return false;
    // Which file these versions are of, for whoever looks into the folder.
    if (const QString note = QDir(folder_).filePath(QStringLiteral("path.txt"));
        !QFileInfo::exists(note))
        writeNote(QStringLiteral("path.txt"), rulesPath_.toUtf8() + '\n');
    return true;
}

filestore::WriteResult History::claim() {
    if (lock_ && lock_->isLocked())
        return {};
    if (!ensureFolders()) {
        const QString parent = QFileInfo(root_).absolutePath();
        return {filestore::writableFolder(parent) || QFileInfo(root_).isDir()
                    ? Result::WriteFailed
                    : Result::ReadOnlyFolder,
                QStringLiteral("无法创建历史文件夹 %1").arg(QDir::toNativeSeparators(root_))};
    }
    if (!lock_) {
        lock_ = std::make_unique<QLockFile>(lockPath());
        lock_->setStaleLockTime(0); // held as long as its copy of the editor runs, however long
    }
    clearDeadLock();
    if (lock_->tryLock(0)) {
        filestore::makePrivate(lockPath());
        return {};
    }
    if (lock_->error() == QLockFile::LockFailedError)
        return {Result::Locked, QDir::toNativeSeparators(lockPath())};
    return {Result::WriteFailed, QStringLiteral("无法锁定历史文件夹")};
}

History::Pending History::keep(Stack stack, const filestore::FileFacts& current, Room room) {
    Pending p;
    p.stack = stack;
    if (p.why = claim(); !p.why.ok())
        return p;
    if (current.size > limits_.bytes) {
        p.why = {Result::TooLarge, {}};
        return p;
    }
    const QString file = pendingName(stack);
    // A second name of a file that has other names would change when they are written to
    // in place: such a file is copied.
    const bool linked = current.links == 1 && (room == Room::NotForALink || roomFor(current)) &&
                        filestore::link(rulesPath_, file).ok();
    if (!linked) {
        if (!roomFor(current)) {
            p.why = {Result::DiskFull, {}};
            return p;
        }
        if (p.why = filestore::copy(rulesPath_, file); !p.why.ok())
            return p;
    }
    p.file = file;
    return p;
}

QString History::pendingName(Stack stack) const {
    qint64 next = 1;
    const QStringList taken =
        QDir(folderOf(stack))
            .entryList({QLatin1Char('*') + kVersionSuffix, QLatin1Char('*') + kPendingSuffix},
                       QDir::Files | QDir::System);
    for (const QString& name : taken)
        next = std::max(next, sequenceOf(name) + 1);
    return QDir(folderOf(stack))
        .filePath(QStringLiteral("%1-%2")
                      .arg(next, 10, 10, QLatin1Char('0'))
                      .arg(QDateTime::currentMSecsSinceEpoch(), 13, 10, QLatin1Char('0')) +
                  kPendingSuffix);
}

History::Pending History::keepContent(Stack stack, const QByteArrayList& content) {
    Pending p;
    p.stack = stack;
    if (p.why = claim(); !p.why.ok())
        return p;
    filestore::FileFacts size;
    size.size = 0;
    for (const QByteArray& piece : content)
        size.size += piece.size();
    if (size.size > limits_.bytes) {
        p.why = {Result::TooLarge, {}};
        return p;
    }
    if (!roomFor(size)) {
        p.why = {Result::DiskFull, {}};
        return p;
    }
    const QString file = pendingName(stack);
    if (const int err = filestore::fault("history.keep")) {
        p.why = filestore::failure(err);
        return p;
    }
    QFile f(file);
    errno = 0;
    bool written = f.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    for (const QByteArray& piece : content)
        written = written && f.write(piece) == piece.size();
    // On the disk before the step that needs it is noted: a crash of the system after the
    // renames must not leave a version of empty parts to put back.
    int synced = 0;
    if (written)
        synced = filestore::fault("history.sync");
    if (written && !synced)
        synced = filestore::sync(f);
    if (!written || !f.flush() || synced) {
        p.why = synced ? filestore::failure(synced) : filestore::failure(f, errno);
        f.close();
        QFile::remove(file);
        return p;
    }
    f.close();
    filestore::makePrivate(file);
    p.file = file;
    return p;
}

bool History::roomFor(const filestore::FileFacts& current) const {
    if (filestore::fault("history.room")) // a disk short of room, for tests
        return false;
    const qint64 free = filestore::freeBytes(folder_);
    return free < 0 || free >= 3 * current.size; // it, and then twice its size left
}

QByteArray History::stepNote(const Pending& pending, Step step) const {
    QByteArray note = "step " + stepName(step).toLatin1() + "\n";
    if (pending.kept())
        note += "part " + QFileInfo(pending.file).fileName().toUtf8() + "\n";
    if (step != Step::Write)
        if (const std::optional<Version> from = top(sourceOf(step)))
            note += "drop " + QFileInfo(from->file).fileName().toUtf8() + "\n";
    return note;
}

bool History::begin(const Pending& pending, Step step, const filestore::FileFacts& newFile) {
    if (!pending.kept() && step == Step::Write)
        return false;
    QByteArray note = stepNote(pending, step);
    note += "device " + QByteArray::number(newFile.device) + "\ninode " +
            QByteArray::number(newFile.inode) + "\nsize " + QByteArray::number(newFile.size) + "\n";
    return writeNote(kStepNote, note);
}

bool History::beginMany(const Pending& pending, Step step, const std::vector<Made>& made,
                        const Fingerprint& wrote) {
    if (!pending.kept() && step == Step::Write)
        return false;
    QByteArray note = stepNote(pending, step);
    note +=
        "wrote " + QByteArray::number(wrote.size) + ' ' + QByteArray::number(wrote.hash, 16) + "\n";
    for (const Made& m : made)
        note += "file " + QByteArray::number(m.facts.device) + ' ' +
                QByteArray::number(m.facts.inode) + ' ' + QByteArray::number(m.facts.size) + ' ' +
                QUrl::toPercentEncoding(m.name, "/") + "\n";
    return writeNote(kStepNote, note);
}

bool History::finish(const Pending& pending, Step step, const Fingerprint& now) {
    if (!claim().ok())
        return false; // another copy's history: not this copy's to change
    QString dropped;
    if (step != Step::Write)
        if (const std::optional<Version> from = top(sourceOf(step)))
            dropped = QFileInfo(from->file).fileName();
    return finishNamed(pending.kept() ? QFileInfo(pending.file).fileName() : QString(),
                       pending.stack, step, dropped, now) &&
           pending.kept();
}

bool History::finishNamed(const QString& part, Stack stack, Step step, const QString& dropped,
                          const Fingerprint& now) {
    QString kept;
    if (!part.isEmpty()) {
        const QString from = QDir(folderOf(stack)).filePath(part);
        kept = from.chopped(kPendingSuffix.size()) + fingerprintName(now) + kVersionSuffix;
        // A finish after a kill may find the version moved already.
        const filestore::WriteResult moved =
            QFileInfo::exists(from) ? filestore::rename(from, kept) : filestore::WriteResult{};
        if (moved.ok()) {
            filestore::makePrivate(kept); // the old content is the history's alone now
        } else {
            failed(moved);
            QFile::remove(from);
            kept.clear();
        }
    }
    if (step == Step::Write) {
        for (const Entry& e : versions(Stack::Redo))
            QFile::remove(QDir(folderOf(Stack::Redo)).filePath(e.name));
    } else if (!dropped.isEmpty()) {
        QFile::remove(QDir(folderOf(sourceOf(step))).filePath(dropped));
    }
    const bool noted = setFingerprint(now);
    applyBounds(kept);
    QFile::remove(QDir(folder_).filePath(kStepNote));
    return noted && (part.isEmpty() || !kept.isEmpty());
}

void History::drop(const Pending& pending) {
    if (pending.kept())
        QFile::remove(pending.file);
    QFile::remove(QDir(folder_).filePath(kStepNote));
}

void History::applyBounds(const QString& keep) {
    if (!unlinked())
        return;
    std::vector<Entry> undo = versions(Stack::Undo);
    for (size_t i = 0; i + static_cast<size_t>(limits_.versions) < undo.size(); ++i)
        QFile::remove(QDir(folderOf(Stack::Undo)).filePath(undo[i].name));
    // The whole folder, every file's versions: the oldest kept go first.
    struct Kept {
        QString path;
        qint64 keptMs;
        qint64 size;
    };
    std::vector<Kept> all;
    qint64 total = 0;
    // No link is followed: what lies beyond one is not the history's.
    for (const QFileInfo& file :
         QDir(root_).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        for (const QString& stack : {QStringLiteral("undo"), QStringLiteral("redo")}) {
            const QString path = QDir(file.filePath()).filePath(stack);
            if (filestore::facts(path, filestore::Links::DoNotFollow).isLink)
                continue;
            for (const QFileInfo& v : QDir(path).entryInfoList({QLatin1Char('*') + kVersionSuffix},
                                                               QDir::Files | QDir::NoSymLinks)) {
                all.push_back({v.filePath(), keptMsOf(v), v.size()});
                total += v.size();
            }
        }
    }
    std::sort(all.begin(), all.end(),
              [](const Kept& a, const Kept& b) { return a.keptMs < b.keptMs; });
    for (const Kept& v : all) {
        if (total <= limits_.bytes)
            break;
        if (v.path == keep)
            continue;
        if (QFile::remove(v.path))
            total -= v.size;
    }
}

void History::recover() {
    const QString stepFile = QDir(folder_).filePath(kStepNote);
    bool parts = false;
    for (Stack s : {Stack::Undo, Stack::Redo})
        parts = parts || !QDir(folderOf(s))
                              .entryList({QLatin1Char('*') + kPendingSuffix}, QDir::Files)
                              .isEmpty();
    if (!filestore::facts(stepFile, filestore::Links::DoNotFollow).exists && !parts)
        return;
    // Only the copy of the editor that may change these versions finishes a step; one
    // that runs still may be in the middle of it. No folder that is a link is looked in.
    if (!claim().ok())
        return;
    QHash<QByteArray, QByteArray> note;
    QList<QByteArray> files; // of a step of several files
    for (const QByteArray& line : readNote(stepFile).split('\n'))
        if (const qsizetype space = line.indexOf(' '); space > 0) {
            if (line.left(space) == "file")
                files << line.mid(space + 1);
            else
                note.insert(line.left(space), line.mid(space + 1));
        }
    const QString part = QString::fromUtf8(note.value("part"));
    const QString dropped = QString::fromUtf8(note.value("drop"));
    if ((!part.isEmpty() && !plainName(part)) || (!dropped.isEmpty() && !plainName(dropped))) {
        // A journal that names files elsewhere is no journal of this editor: set aside,
        // and nothing it names is touched.
        filestore::rename(stepFile, stepFile + QStringLiteral(".rejected"));
        note.clear();
        files.clear();
    }
    const filestore::FileFacts now = filestore::facts(rulesPath_);
    const QByteArray step = note.value("step");
    const Step kind = step == "undo" ? Step::Undo : step == "redo" ? Step::Redo : Step::Write;
    const Stack stack = kind == Step::Undo ? Stack::Redo : Stack::Undo;
    const bool replaced = !note.isEmpty() && now.exists &&
                          QByteArray::number(now.device) == note.value("device") &&
                          QByteArray::number(now.inode) == note.value("inode") &&
                          QByteArray::number(now.size) == note.value("size");
    if (!files.isEmpty()) {
        if (!recoverMany(files, part, stack, kind, dropped, note)) {
            // The version is the only copy of the old content of files still new: the
            // journal and it stay, for the next start to finish.
            lock_->unlock();
            return;
        }
    } else if (replaced) {
        if (const std::optional<QByteArray> content = filestore::read(rulesPath_))
            finishNamed(part, stack, kind, dropped, fingerprintOf(*content));
    } else if (!note.isEmpty()) {
        removeLeftTemporary(rulesPath_, note.value("device"), note.value("inode"));
    }
    // Whatever is still pending was never part of a finished step.
    for (Stack s : {Stack::Undo, Stack::Redo})
        for (const QString& name :
             QDir(folderOf(s)).entryList({QLatin1Char('*') + kPendingSuffix}, QDir::Files))
            QFile::remove(QDir(folderOf(s)).filePath(name));
    QFile::remove(stepFile);
    lock_->unlock(); // taken again by the first change of this run
}

// A kill between the new content's first name and its rename leaves it beside the rules
// file as "<name>.XXXXXX": that file, by the identity the journal noted, goes; nothing else.
void History::removeLeftTemporary(const QString& file, const QByteArray& device,
                                  const QByteArray& inode) {
    const QFileInfo rules(file);
    const QDir dir = rules.absoluteDir();
    const QString pattern = rules.fileName() + QStringLiteral(".??????");
    for (const QString& name :
         dir.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System)) {
        if (name.size() != rules.fileName().size() + 7)
            continue;
        const filestore::FileFacts left =
            filestore::facts(dir.filePath(name), filestore::Links::DoNotFollow);
        if (left.isRegular && left.inode != 0 && QByteArray::number(left.device) == device &&
            QByteArray::number(left.inode) == inode)
            QFile::remove(dir.filePath(name));
    }
}

std::optional<QString> History::fileNamed(const QString& name, QStringList& included) const {
    const QString folder = QFileInfo(rulesPath_).absolutePath();
    if (name.isEmpty() || QDir::isAbsolutePath(name) || name.contains(QLatin1Char('\\')) ||
        name.contains(QLatin1Char(':')))
        return std::nullopt;
    const QString path = QDir::cleanPath(QDir(folder).filePath(name));
    if (!name.split(QLatin1Char('/')).contains(QStringLiteral("..")))
        return path.startsWith(folder + QLatin1Char('/')) ? std::optional(path) : std::nullopt;
    // A file above the rules file's folder only when the rules file includes it now.
    if (included.isEmpty())
        included = includes::filesOf(rulesPath_);
    if (!included.contains(path) || path == QDir::cleanPath(rulesPath_))
        return std::nullopt;
    return path;
}

bool History::recoverMany(const QList<QByteArray>& files, const QString& part, Stack stack,
                          Step kind, const QString& dropped,
                          const QHash<QByteArray, QByteArray>& note) {
    struct Noted {
        QString name;
        QString path;
        QByteArray device, inode;
        bool replaced = false;
    };
    std::vector<Noted> noted;
    QStringList included; // the files the rules file includes now, looked up once if needed
    for (const QByteArray& line : files) {
        const QList<QByteArray> f = line.split(' ');
        const QString name = f.size() == 4 ? QUrl::fromPercentEncoding(f[3]) : QString();
        const std::optional<QString> path = fileNamed(name, included);
        if (!path) { // names a file the rules file has no business with: no journal of this
                     // editor, and nothing it names is touched
            qCInfo(lcDocument) << "journal set aside: it names" << name;
            const QString stepFile = QDir(folder_).filePath(kStepNote);
            filestore::rename(stepFile, stepFile + QStringLiteral(".rejected"));
            return true;
        }
        const filestore::FileFacts now = filestore::facts(*path, filestore::Links::DoNotFollow);
        noted.push_back({name, *path, f[0], f[1],
                         now.isRegular && QByteArray::number(now.device) == f[0] &&
                             QByteArray::number(now.inode) == f[1] &&
                             QByteArray::number(now.size) == f[2]});
    }
    const QList<QByteArray> wrote = note.value("wrote").split(' ');
    bool sizeOk = false, hashOk = false;
    const Fingerprint print{wrote.value(0).toLongLong(&sizeOk),
                            wrote.value(1).toULongLong(&hashOk, 16)};
    const bool all =
        std::all_of(noted.begin(), noted.end(), [](const Noted& n) { return n.replaced; });
    if (all && sizeOk && hashOk) {
        qCDebug(lcDocument) << "recovery: step of" << noted.size() << "files finished";
        finishNamed(part, stack, kind, dropped, print);
        return true;
    }
    // Some files are new, some old: the new ones get their old content back from the
    // version the step kept of the files it replaced.
    std::optional<std::vector<fileset::Part>> old;
    if (!part.isEmpty())
        if (const std::optional<QByteArray> kept =
                filestore::readNoFollow(QDir(folderOf(stack)).filePath(part)))
            old = fileset::split(*kept, QFileInfo(rulesPath_).fileName());
    for (const Noted& n : noted) {
        if (!n.replaced) {
            removeLeftTemporary(n.path, n.device, n.inode);
            continue;
        }
        bool back = false;
        for (const fileset::Part& p : old ? *old : std::vector<fileset::Part>())
            if (p.name == n.name && !p.omitted) {
                back = filestore::replace(n.path, p.bytes).ok();
                qCDebug(lcDocument) << "recovery: old content put back into" << n.path << back;
            }
        if (!back) // still new: the version stays for the next try
            unfinished_ << QDir::toNativeSeparators(n.name);
    }
    if (!unfinished_.isEmpty())
        qCInfo(lcDocument) << "recovery could not put back" << unfinished_;
    return unfinished_.isEmpty();
}

} // namespace tarvok
