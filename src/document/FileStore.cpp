#include "document/FileStore.h"

#include "document/Pool.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tarvok::filestore {

// The system calls of the file layer, and the fallback where there are none.
namespace {

#ifdef Q_OS_UNIX

FileFacts factsOf(const struct stat& st) {
#ifdef Q_OS_DARWIN
    const timespec modified = st.st_mtimespec;
    const timespec status = st.st_ctimespec;
#else
    const timespec modified = st.st_mtim;
    const timespec status = st.st_ctim;
#endif
    FileFacts f;
    f.exists = true;
    f.isRegular = S_ISREG(st.st_mode);
    f.isLink = S_ISLNK(st.st_mode);
    f.owner = static_cast<uint>(st.st_uid);
    f.group = static_cast<uint>(st.st_gid);
    f.links = static_cast<quint64>(st.st_nlink);
    f.device = static_cast<quint64>(st.st_dev);
    f.inode = static_cast<quint64>(st.st_ino);
    f.size = static_cast<qint64>(st.st_size);
    f.modifiedNs = static_cast<qint64>(modified.tv_sec) * 1000000000 + modified.tv_nsec;
    f.statusNs = static_cast<qint64>(status.tv_sec) * 1000000000 + status.tv_nsec;
    return f;
}

FileFacts systemFacts(const QString& path, Links links) {
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    const int r =
        links == Links::Follow ? ::stat(name.constData(), &st) : ::lstat(name.constData(), &st);
    return path.isEmpty() || r != 0 ? FileFacts{} : factsOf(st);
}

// The facts of an open file, by its handle.
FileFacts handleFacts(int handle) {
    struct stat st {};
    return handle >= 0 && ::fstat(handle, &st) == 0 ? factsOf(st) : FileFacts{};
}

// The file's data on the disk; the error number when the system says no.
int syncToDisk(int handle) {
    // Data and metadata both, so that the commit's own flush finds nothing left to do and
    // the file is replaced right after the last look at it.
    return ::fsync(handle) == 0 ? 0 : errno;
}

// Opens the name itself, never what a link in its place points at; -1 when it cannot.
constexpr bool kOpensNoFollow = true;
int openNoFollow(const QString& path) {
    // Without blocking: a pipe put in the file's place is opened at once, and refused then.
    return ::open(QFile::encodeName(path).constData(),
                  O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
}

// Gives path the owner and group; false when the system refuses.
bool setOwner(const QString& path, uint owner, uint group) {
    return ::chown(QFile::encodeName(path).constData(), static_cast<uid_t>(owner),
                   static_cast<gid_t>(group)) == 0;
}

#else

FileFacts systemFacts(const QString& path, Links links) {
    const QFileInfo info(path);
    if (path.isEmpty() || !(info.exists() || info.isSymLink()))
        return {};
    FileFacts f;
    f.exists = true;
    f.isLink = links == Links::DoNotFollow && info.isSymLink();
    f.isRegular = !f.isLink && info.isFile();
    f.links = 1;
    f.size = info.size();
    f.modifiedNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
    f.statusNs = info.metadataChangeTime().toMSecsSinceEpoch() * 1000000;
    return f;
}

FileFacts handleFacts(int) {
    return {};
}
int syncToDisk(int) {
    return 0;
} // the commit of QSaveFile flushes
constexpr bool kOpensNoFollow = false;
int openNoFollow(const QString&) {
    return -1;
}
bool setOwner(const QString&, uint, uint) {
    return false;
}

#endif

StepHook stepHook = nullptr;

constexpr QFileDevice::Permissions kAnyWrite =
    QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

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

// A failed write of need more bytes beside path: the error number when the system kept it,
// else a disk with less room than that, else what the file says.
WriteResult failedWith(const QFileDevice& file, int err, const QString& path, qint64 need) {
    if (const WriteResult r = failure(err); r.result == Result::DiskFull)
        return r;
    const qint64 free = freeBytes(QFileInfo(path).absolutePath());
    if (file.error() == QFileDevice::ResourceError || (free >= 0 && free < need))
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

} // namespace

void setStepHook(StepHook hook) {
    stepHook = hook;
}

int fault(const char* step) {
    return stepHook ? stepHook(step) : 0;
}

WriteResult failure(int err, Result otherwise) {
    const bool noRoom = err == ENOSPC
#ifdef EDQUOT
                        || err == EDQUOT
#endif
        ;
    if (noRoom)
        return {Result::DiskFull, qt_error_string(err)};
    return {otherwise, err ? qt_error_string(err) : QString()};
}

WriteResult failure(const QFileDevice& file, int err) {
    if (const WriteResult r = failure(err); r.result == Result::DiskFull)
        return r;
    return {Result::WriteFailed, file.errorString()};
}

FileFacts facts(const QString& path, Links links) {
    return systemFacts(path, links);
}

std::optional<QByteArray> read(const QString& path, qsizetype spare) {
    if (!exists(path))
        return std::nullopt;
    // A file the system refuses to let the editor read, for tests run with every right.
    if (stepHook && fault(("read " + QFile::encodeName(path)).constData()))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 size = file.size();
    constexpr qint64 kShared = qint64(4) << 20;
    if (size < kShared) {
        QByteArray bytes = file.readAll();
        return file.error() == QFileDevice::NoError ? std::optional(bytes) : std::nullopt;
    }
    // A large file is read in two halves at once: most of the time goes to the memory the
    // bytes land in, which two cores fill faster than one.
    QByteArray bytes;
    bytes.reserve(size + std::max<qsizetype>(spare, 0));
    bytes.resize(size);
    const qint64 half = size / 2;
    char* const out = bytes.data();
    // The second half by a task of the pool, into its own part of the bytes.
    pool::Task<bool> second = pool::run([path, out, half, size] {
        QFile other(path);
        return other.open(QIODevice::ReadOnly) && other.seek(half) &&
               other.read(out + half, size - half) == size - half;
    });
    const bool first = file.read(out, half) == half;
    if (!second.take() || !first)
        return std::nullopt; // shrunk meanwhile: the caller reads again
    // Grown meanwhile: what is there now, read whole. A byte past the end read at first
    // tells, where the file's size could still be the one of the look above.
    char past = 0;
    if (file.size() != size || (file.seek(size) && file.read(&past, 1) > 0)) {
        file.seek(0);
        bytes = file.readAll();
    }
    return file.error() == QFileDevice::NoError ? std::optional(bytes) : std::nullopt;
}

std::optional<QByteArray> readNoFollow(const QString& path) {
    const FileFacts named = facts(path, Links::DoNotFollow);
    if (!named.isRegular)
        return std::nullopt;
    const int handle = openNoFollow(path);
    if (handle < 0) // where the system has no such open, the look above has to do
        return kOpensNoFollow ? std::nullopt : read(path);
    QFile file;
    if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
#ifdef Q_OS_UNIX
        ::close(handle);
#endif
        return std::nullopt;
    }
    // What was opened must be what was looked at: a regular file, the same one.
    const FileFacts opened = handleFacts(handle);
    if (!opened.isRegular || opened.inode != named.inode || opened.device != named.device)
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool peek(const QString& path, const std::function<bool(QByteArrayView content)>& look) {
    if (!exists(path))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Read, never mapped: another program that cuts the file short meanwhile would take
    // mapped pages away under the look. The first megabyte, then twice as much each time,
    // each byte read once.
    QByteArray bytes;
    for (qint64 piece = qint64(1) << 20;; piece *= 2) {
        const QByteArray more = file.read(piece);
        if (file.error() != QFileDevice::NoError)
            return false;
        bytes += more;
        const bool end = more.size() < piece;
        const qsizetype whole = end ? bytes.size() : bytes.lastIndexOf('\n') + 1;
        if (look(QByteArrayView(bytes).first(whole)))
            return true;
        if (end)
            return false;
    }
}

bool exists(const QString& path) {
    return facts(path).isRegular;
}

bool writableFolder(const QString& dir) {
    const QFileInfo info(dir);
    return info.isDir() && markedWritable(info) && info.isWritable();
}

qint64 freeBytes(const QString& path) {
    const QStorageInfo storage(path);
    return storage.isValid() ? storage.bytesAvailable() : -1;
}

bool makePrivateFolder(const QString& dir) {
    constexpr QFileDevice::Permissions kPerms = kOwnerOnly | QFileDevice::ExeOwner;
    // Made private as it is made, so that no other user can look in for a moment.
    if (!QFileInfo(dir).isDir() && QDir().mkpath(QFileInfo(dir).absolutePath()) &&
        QDir().mkdir(dir, kPerms))
        return true;
    return QFileInfo(dir).isDir() && QFile::setPermissions(dir, kPerms);
}

bool makePrivate(const QString& file) {
    return QFile::setPermissions(file, kOwnerOnly);
}

WriteResult replace(const QString& path, QByteArrayView bytes, const BeforeCommit& check) {
    if (const Result blocked = writeBlocker(path); blocked != Result::Ok)
        return {blocked, {}};
    const FileFacts old = facts(path);
    QSaveFile file(path);
    if (const int err = fault("replace.open"))
        return failure(err);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return failedWith(file, errno, path, bytes.size());
    const auto fail = [&](int err) {
        const WriteResult failed = failedWith(file, err, path, bytes.size());
        file.cancelWriting();
        return failed;
    };
    if (const int err = fault("replace.write")) {
        file.cancelWriting();
        return failure(err);
    }
    errno = 0;
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush())
        return fail(errno);
    // On the disk before anything is decided, so that the commit below is only the rename.
    if (const int err = fault("replace.sync")) {
        file.cancelWriting();
        return failure(err);
    }
    if (const int err = syncToDisk(file.handle()))
        return fail(err);
    if (check) {
        if (WriteResult checked = check(handleFacts(file.handle())); !checked.ok()) {
            file.cancelWriting();
            return checked;
        }
    }
    if (const int err = fault("replace.commit")) {
        file.cancelWriting();
        return failure(err);
    }
    errno = 0;
    if (!file.commit())
        return failedWith(file, errno, path, bytes.size());
    if (old.exists) {
        const FileFacts now = facts(path);
        if (now.owner != old.owner || now.group != old.group)
            setOwner(path, old.owner, old.group); // a refusal leaves the editor's own user
    }
    return {};
}

WriteResult copy(const QString& from, const QString& to) {
    if (const Result blocked = writeBlocker(to); blocked != Result::Ok)
        return {blocked, {}};
    if (const int err = fault("copy"))
        return failure(err);
    if (QFileInfo::exists(to) && !QFile::remove(to))
        return {Result::WriteFailed, {}};
    QFile source(from);
    // QFile::copy writes through a temporary file of its own and renames it, so the
    // target is complete or absent.
    errno = 0;
    if (!source.copy(to))
        return failedWith(source, errno, to, facts(from).size);
    // The copy is the editor's own file: readable by the user only, and never read-only,
    // or the next copy could not replace it. It takes the time of the content it holds,
    // as a second name does.
    makePrivate(to);
    QFile target(to);
    if (target.open(QIODevice::ReadWrite))
        target.setFileTime(QFileInfo(from).lastModified(), QFileDevice::FileModificationTime);
    return {};
}

WriteResult link(const QString& from, const QString& to) {
    if (const Result blocked = writeBlocker(to); blocked != Result::Ok)
        return {blocked, {}};
    if (const int err = fault("link"))
        return failure(err);
    if (QFileInfo::exists(to) && !QFile::remove(to))
        return {Result::WriteFailed, {}};
    std::error_code ec;
    const std::filesystem::path target = std::filesystem::canonical(nativePath(from), ec);
    if (!ec)
        std::filesystem::create_hard_link(target, nativePath(to), ec);
    return ec ? failure(ec.value()) : WriteResult{};
}

WriteResult linkOrCopy(const QString& from, const QString& to) {
    if (link(from, to).ok())
        return {};
    return copy(from, to);
}

int sync(QFileDevice& file) {
    if (!file.flush())
        return errno ? errno : EIO;
    return syncToDisk(file.handle());
}

WriteResult rename(const QString& from, const QString& to) {
    if (const int err = fault("rename"))
        return failure(err);
    std::error_code ec;
    std::filesystem::rename(nativePath(from), nativePath(to), ec);
    return ec ? failure(ec.value()) : WriteResult{};
}

WriteResult rewrite(const QString& path, const QString& scratchPath,
                    const std::function<QByteArray(const QByteArray&)>& transform) {
    if (!exists(path))
        return {Result::ReadFailed, {}};
    // The scratch copy first, as a second name of the content where the file system
    // allows: the new file then replaces the old one under its name only.
    const bool linked = facts(path).links == 1 && link(path, scratchPath).ok();
    if (!linked && !copy(path, scratchPath).ok())
        return {Result::BackupFailed, {}};
    const std::optional<QByteArray> old = read(path);
    if (!old)
        return {Result::ReadFailed, {}};
    const WriteResult written = replace(path, transform(*old));
    if (!linked)
        return written;
    if (written.ok()) {
        makePrivate(scratchPath); // the old content is the scratch copy's alone now
    } else {
        // The file was not replaced: the scratch name must not stay a second name of
        // it, or writing to one would change the other.
        QFile::remove(scratchPath);
        copy(path, scratchPath);
    }
    return written;
}

} // namespace tarvok::filestore
