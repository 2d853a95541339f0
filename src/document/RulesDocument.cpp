#include "document/RulesDocument.h"

#include "document/Includes.h"
#include "document/IniText.h"
#include "document/Logging.h"
#include "document/Pool.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <limits>

namespace tarvok {

QByteArray registrySection(RegistryKind kind) {
    switch (kind) {
    case RegistryKind::TeamTypes:
        return QByteArrayLiteral("TeamTypes");
    case RegistryKind::TaskForces:
        return QByteArrayLiteral("TaskForces");
    case RegistryKind::ScriptTypes:
        return QByteArrayLiteral("ScriptTypes");
    }
    return {};
}

namespace {

// Two names of one file: the same file reached through a hard link.
bool sameFile(const QString& a, const QString& b) {
    const filestore::FileFacts fa = filestore::facts(a);
    const filestore::FileFacts fb = filestore::facts(b);
    return fa.exists && fb.exists && fa.device == fb.device && fa.inode == fb.inode &&
           fa.inode != 0;
}

// One path: the same names once links in them are followed.
bool samePath(const QString& a, const QString& b) {
    const QFileInfo ia(a), ib(b);
    if (ia.absoluteFilePath() == ib.absoluteFilePath())
        return true;
    const QString ca = ia.canonicalFilePath();
    return !ca.isEmpty() && ca == ib.canonicalFilePath();
}

// A step of several files cut short, whose files could not all be given their old content
// back: a history's start tries again (its journal and version stay until it succeeds). Until
// then nothing is written over that journal: the files still new, or nothing.
QStringList unsettled(std::unique_ptr<History>& history, const QString& folder,
                      const QString& path) {
    if (!history)
        return {};
    history.reset(); // its lock let go first
    history = std::make_unique<History>(folder, path);
    return history->unfinished();
}

} // namespace

RulesDocument::RulesDocument(QString scratchPath, QObject* parent)
    : QObject(parent), scratchPath_(std::move(scratchPath)), watcher_(new QFileSystemWatcher(this)),
      watchPause_(new QTimer(this)) {
    // Another program's change is noticed while the window sits idle; a burst of changes
    // is read once.
    watchPause_->setSingleShot(true);
    watchPause_->setInterval(kWatchPauseMs);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] {
        if (!watchPause_->isActive())
            watchPause_->start();
    });
    connect(watchPause_, &QTimer::timeout, this, [this] {
        refresh();
        watch(); // a file replaced under its name is watched anew
    });
}

RulesDocument::~RulesDocument() = default;

namespace {

// A file written this recently (in nanoseconds) may be written again without its time
// changing: file systems keep times in steps of up to a few milliseconds.
constexpr qint64 kTimeStepNs = 100'000'000;

qint64 systemNowNs() {
    return QDateTime::currentMSecsSinceEpoch() * 1'000'000;
}

} // namespace

RulesDocument::Stamp RulesDocument::stampOf(const QString& path) const {
    const qint64 taken = clock_ ? clock_() : systemNowNs();
    return {filestore::facts(path), taken};
}

void RulesDocument::watch() {
    if (!watcher_->files().isEmpty())
        watcher_->removePaths(watcher_->files());
    for (const Member& m : files_)
        if (QFileInfo::exists(m.path))
            watcher_->addPath(m.path);
    for (const Member& m : unreadable_) // a change of its rights too
        if (filestore::facts(m.path).isRegular)
            watcher_->addPath(m.path);
}

QStringList RulesDocument::files() const {
    QStringList out;
    for (const Member& m : files_)
        out << m.path;
    return out;
}

namespace {

// An included file that could not be read is looked at again only when the system says
// something of it changed: its content, its rights, or what it is.
bool stillUnreadable(const filestore::FileFacts& now, const filestore::FileFacts& then) {
    return now.sameAs(then) && now.isRegular == then.isRegular && now.statusNs == then.statusNs;
}

QStringList includedNames(const QByteArray& bytes) {
    return includes::namedIn(bytes);
}

// Room for the files a rules file names in [#include], when that section stands in the
// file's first piece (at its top, as it mostly does): the joined content then grows without
// a copy. Nothing when it does not.
qsizetype roomForIncludes(const QString& path, const QString& folder) {
    constexpr qsizetype kLook = 64 * 1024;
    QFile file(path);
    if (!filestore::facts(path).isRegular || !file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray head = file.read(kLook);
    const IniText::Range span = sectionSpan(head, "#include");
    if (span.length == 0 || (head.size() == kLook && span.begin + span.length >= head.size()))
        return 0;
    qsizetype room = 0;
    for (const QString& name : includedNames(head))
        room += std::max<qint64>(filestore::facts(includes::locate(folder, name)).size, 0) +
                name.size() * 3 + 64;
    return room;
}

} // namespace

std::optional<RulesDocument::Joined> RulesDocument::readJoined(const QString& path) {
    std::optional<SetReading> set = readSet(path, {}, Parts::Drop);
    if (!set)
        return std::nullopt;
    QStringList unreadable;
    for (const Member& m : set->unreadable)
        unreadable << QStringLiteral("包含的文件 %1 无法读取").arg(m.name);
    return Joined{std::move(set->joined), std::move(set->problems), std::move(unreadable)};
}

std::optional<RulesDocument::SetReading> RulesDocument::readSet(const QString& path,
                                                                const Clock& clock, Parts keep) {
    // As the files it names are found: a file naming the opened one names no other file.
    const QString root = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const auto stampOf = [&clock](const QString& path) {
        return Stamp{filestore::facts(path), clock ? clock() : systemNowNs()};
    };
    const QString folder = QFileInfo(root).absolutePath();
    SetReading set;
    bool first = false;
    const Stamp rootStamp = stampOf(root);
    QHash<QString, QByteArray> read;
    QHash<QString, Stamp> stamps;
    QHash<QString, QString> includerOf; // the file that first names a file
    const QStringList order = includes::readingOrder(root, [&](const QString& file) {
        QByteArray bytes;
        if (file == root) {
            std::optional<QByteArray> got = filestore::read(root, roomForIncludes(root, folder));
            if (!got)
                return QStringList();
            first = true;
            bytes = std::move(*got);
        } else {
            const Stamp stamp = stampOf(file);
            std::optional<QByteArray> got = filestore::read(file);
            if (!got) {
                const QString name = QDir(folder).relativeFilePath(file);
                if (stamp.facts.exists) {
                    set.problems << QStringLiteral("无法读取 %1，其中的记录未列出")
                                        .arg(QDir::toNativeSeparators(name));
                    set.unreadable.push_back({file, name, stamp, {}});
                } else {
                    set.problems << QStringLiteral("包含的文件 %1 不存在").arg(name);
                    set.absent << file;
                }
                return QStringList();
            }
            bytes = std::move(*got);
            stamps.insert(file, stamp);
        }
        QStringList named;
        for (const QString& name : includedNames(bytes)) {
            named << includes::locate(folder, name);
            if (!includerOf.contains(named.back()))
                includerOf.insert(named.back(), file);
        }
        read.insert(file, std::move(bytes));
        return named;
    });
    if (!first)
        return std::nullopt;
    std::vector<fileset::Part> parts;
    // Each file's text in its own encoding, found as the opened file's is; the joined
    // content holds every text in the opened file's, where it comes back byte for byte.
    QHash<QString, Encoding> encodings;
    Encoding joinedIn = Encoding::Gbk;
    for (const QString& file : order) {
        if (!read.contains(file))
            continue;
        const bool isRoot = file == root;
        const QString name =
            isRoot ? QFileInfo(root).fileName() : QDir(folder).relativeFilePath(file);
        set.files.push_back(
            {isRoot ? path : file, name, isRoot ? rootStamp : stamps.value(file), {}});
        parts.push_back({name, read.take(file)});
        if (keep == Parts::Keep)
            set.bytes.push_back(parts.back().bytes);
        const Encoding own =
            encodingOf(parts.back().bytes, encodings.value(includerOf.value(file), Encoding::Gbk));
        encodings.insert(file, own);
        if (isRoot) {
            joinedIn = own;
        } else if (own != joinedIn) {
            if (std::optional<QByteArray> recoded = transcode(parts.back().bytes, own, joinedIn)) {
                parts.back().bytes = std::move(*recoded);
                set.files.back().recoded = own;
            }
        }
    }
    set.joined = fileset::join(std::move(parts));
    return set;
}

QString RulesDocument::includer(const QString& path) {
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    const QString self = QDir::cleanPath(info.absoluteFilePath());
    const QFileInfoList others = QDir(folder).entryInfoList(
        {QStringLiteral("*.ini")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo& other : others) {
        // An AI file that names others is a few megabytes at most: larger files (a game
        // rules file, a copy of this one) are not read for it.
        if (other.size() > kIncluderBytes || QDir::cleanPath(other.absoluteFilePath()) == self)
            continue;
        const std::optional<QByteArray> bytes = filestore::read(other.absoluteFilePath());
        if (!bytes || !bytes->contains("[#include]"))
            continue;
        for (const QString& n : includedNames(*bytes))
            if (QDir::cleanPath(includes::locate(folder, n)) == self)
                return other.fileName();
    }
    return {};
}

bool RulesDocument::holdsAiSections(const QString& path) {
    // Looked at in place: the opening that follows reads the file.
    return filestore::peek(path,
                           [](QByteArrayView content) { return tarvok::holdsAiSections(content); });
}

std::optional<RulesDocument::Opened> RulesDocument::open(const QString& path) {
    if (samePath(path, scratchPath_))
        return std::nullopt;
    // An earlier editor could leave the scratch copy as a second name of the file it last
    // wrote to nothing: that name goes, the file stays.
    if (sameFile(path, scratchPath_))
        QFile::remove(scratchPath_);
    std::optional<SetReading> set = readSet(path, Parts::Drop);
    if (!set)
        return std::nullopt;
    const Stamp stamp = set->files[0].stamp;
    path_ = path;
    stamp_ = stamp;
    files_ = std::move(set->files);
    includeProblems_ = std::move(set->problems);
    absent_ = std::move(set->absent);
    unreadable_ = std::move(set->unreadable);
    unsaid_.clear(); // of the file open before
    known_ = std::move(set->joined);
    // The history before goes first: its lock let go, a step it left unfinished (a file of
    // several that could not be put back) is finished by the opening's own.
    history_.reset();
    history_ = historyFolder_.isEmpty() ? nullptr : std::make_unique<History>(historyFolder_, path);
    letGo(index_);
    index_ = std::make_shared<const RulesIndex>(known_);
    countFromScan();
    stopReading(); // of the file open before, once this one is in place
    watch();
    qCDebug(lcDocument) << "opened" << path << known_.size() << "bytes";
    tell(Change::Cause::Opened);
    return Opened{index_, static_cast<int>(std::max<quint64>(stamp.facts.links, 1)),
                  includeProblems_, joined() ? QString() : includer(path),
                  history_ ? history_->unfinished() : QStringList()};
}

void RulesDocument::countFromScan() {
    const RulesScan& scan = index_->scan();
    for (const auto& [kind, list] : {std::pair{RegistryKind::TeamTypes, &scan.teamTypes},
                                     {RegistryKind::TaskForces, &scan.taskForces},
                                     {RegistryKind::ScriptTypes, &scan.scriptTypes}})
        counts_[static_cast<int>(kind)] = saturated(static_cast<long long>(list->size()));
}

std::optional<RulesDocument::Reading> RulesDocument::changedOutside() {
    // Written within one step of the file system's clock before the facts were taken, a
    // second write in the same step could leave them unchanged: the content tells then.
    const auto unchanged = [](const filestore::FileFacts& now, const Stamp& stamp) {
        return now.sameAs(stamp.facts) && now.modifiedNs + kTimeStepNs < stamp.takenNs;
    };
    bool changed = !unchanged(filestore::facts(path_), stamp_);
    for (size_t i = 1; i < files_.size() && !changed; ++i)
        changed = !unchanged(filestore::facts(files_[i].path), files_[i].stamp);
    for (const QString& file : absent_) // an included file that appeared
        changed = changed || filestore::facts(file).exists;
    for (const Member& m : unreadable_)
        changed = changed || !stillUnreadable(filestore::facts(m.path), m.stamp.facts);
    if (!changed)
        return std::nullopt;
    std::optional<SetReading> set = readSet(path_, Parts::Drop);
    if (!set)
        return Reading{stampOf(path_), std::nullopt, std::nullopt};
    if (set->joined == known_) {
        // touched, or saved unchanged: nothing to read again
        stamp_ = set->files[0].stamp;
        files_ = std::move(set->files);
        absent_ = std::move(set->absent);
        unreadable_ = std::move(set->unreadable);
        return std::nullopt;
    }
    Reading reading{set->files[0].stamp, set->joined, std::nullopt};
    reading.set = std::move(set);
    return reading;
}

bool RulesDocument::adopt(Reading reading) {
    if (!reading.bytes)
        return false; // gone or unreadable: nothing to show, the stamp stays
    qCDebug(lcDocument) << "changed outside, read again:" << reading.bytes->size() << "bytes";
    if (reading.set) {
        take(std::move(*reading.set));
    } else {
        stamp_ = reading.stamp;
        reload(std::move(*reading.bytes));
    }
    tell(Change::Cause::Reloaded);
    return true;
}

void RulesDocument::take(SetReading set) {
    stamp_ = set.files[0].stamp;
    const auto paths = [](const std::vector<Member>& members) {
        QStringList out;
        for (const Member& m : members)
            out << m.path;
        return out;
    };
    const bool sameFiles =
        paths(files_) == paths(set.files) && paths(unreadable_) == paths(set.unreadable);
    files_ = std::move(set.files);
    includeProblems_ = std::move(set.problems);
    absent_ = std::move(set.absent);
    unreadable_ = std::move(set.unreadable);
    if (!sameFiles)
        watch();
    reload(std::move(set.joined));
}

void RulesDocument::reload(QByteArray bytes) {
    known_ = std::move(bytes);
    letGo(index_);
    index_ = std::make_shared<const RulesIndex>(known_);
    countFromScan();
    stopReading(); // of content that is no longer the file's; said once the new is in place
}

void RulesDocument::say(std::function<void()> signal) {
    unsaid_.push_back(std::move(signal));
    sayUnsaid();
}

void RulesDocument::sayUnsaid() {
    if (building_)
        return;
    // In the order they happened; a listener's own write says its signals after these.
    const std::vector<std::function<void()>> now = std::exchange(unsaid_, {});
    for (const std::function<void()>& s : now)
        s();
}

void RulesDocument::startReading() {
    const bool started = !building_;
    // The task holds its own copy of the bytes: it may outlive this document, never the
    // application.
    pool::Task<std::shared_ptr<const RulesIndex>> task = pool::run([bytes = known_] {
        return std::shared_ptr<const RulesIndex>(std::make_shared<const RulesIndex>(bytes));
    });
    auto* watcher = new QFutureWatcher<std::shared_ptr<const RulesIndex>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, task] {
        watcher->deleteLater();
        if (watcher != building_)
            return;  // overtaken
        if (!index_) // unless it was made already, asked for before it arrived
            index_ = task.result();
        readingArrived();
    });
    watcher->setFuture(task.future());
    building_ = watcher;
    if (started)
        emit readingInProgressChanged(true);
}

void RulesDocument::stopReading() {
    if (!building_)
        return;
    building_ = nullptr; // its task ends on its own; what it read is dropped
    emit readingInProgressChanged(false);
}

void RulesDocument::readingArrived() {
    stopReading();
    sayUnsaid();
}

std::shared_ptr<const RulesIndex> RulesDocument::index() {
    if (path_.isEmpty())
        return nullptr;
    if (!index_) // the reading of the last write is not here yet: made from its bytes
        index_ = std::make_shared<const RulesIndex>(known_);
    return index_;
}

bool RulesDocument::refresh() {
    if (path_.isEmpty())
        return false;
    std::optional<Reading> now = changedOutside();
    return now && adopt(std::move(*now));
}

std::optional<RulesDocument::Content> RulesDocument::read() const {
    if (path_.isEmpty())
        return std::nullopt;
    if (!index_) // the reading of the last write is in progress
        return Content{known_, TextCodec(detectEncoding(known_))};
    return Content{index_->bytes(), index_->codec()};
}

std::optional<RulesDocument::Basis> RulesDocument::readBasis() {
    const Stamp before = stampOf(path_);
    if (!before.facts.isRegular)
        return std::nullopt;
    // Unchanged since the editor last read or wrote it, and not written within the last
    // moment: the content it knows.
    if (before.facts.sameAs(stamp_.facts) && before.facts.modifiedNs + kTimeStepNs < stamp_.takenNs)
        return Basis{before.facts, known_};
    // Read into memory, never mapped: another program that cuts the file short meanwhile
    // would take mapped pages away under the edit. A file that changed while it was read
    // is no basis.
    std::optional<QByteArray> bytes = filestore::read(path_);
    if (!bytes || bytes->size() != before.facts.size ||
        !filestore::facts(path_).sameAs(before.facts))
        return std::nullopt;
    if (*bytes == known_)
        stamp_ = before;
    return Basis{before.facts, std::move(*bytes)};
}

void RulesDocument::adoptBasis(const Basis& basis, bool& outside) {
    // Another program's content is what the edit is made on: the lists and counters are
    // those of that content, which the edit then changes as it does any other.
    if (basis.content == known_)
        return;
    outside = true;
    stamp_ = stampOf(path_);
    reload(basis.content);
}

void RulesDocument::tell(Change change) {
    // The cause's own signal first, then what changed.
    Signal signal = &RulesDocument::written;
    switch (change.cause) {
    case Change::Cause::Opened:
        signal = &RulesDocument::opened;
        break;
    case Change::Cause::Reloaded:
        signal = &RulesDocument::reloaded;
        break;
    case Change::Cause::Restored:
        signal = &RulesDocument::restored;
        break;
    case Change::Cause::Written:
        break;
    }
    say([this, signal] { (this->*signal)(); });
    say([this, change] { emit changed(change); });
}

filestore::WriteResult RulesDocument::write(const Compute& compute, Change change) {
    if (path_.isEmpty())
        return {filestore::Result::ReadFailed, {}};
    if (history_ && !history_->unfinished().isEmpty())
        if (const QStringList stuck = unsettled(history_, historyFolder_, path_); !stuck.isEmpty())
            return {filestore::Result::PartlyWritten, stuck.join(QStringLiteral("、"))};
    if (joined())
        return writeMany(compute, std::move(change));
    bool outside = false;
    const auto told = [&](filestore::WriteResult result) {
        qCDebug(lcDocument) << "write:" << static_cast<int>(result.result) << result.systemError
                            << (outside ? "over another program's change" : "");
        if (outside) {
            tell(Change::Cause::Reloaded);
        }
        return result;
    };
    for (int attempt = 0; attempt <= kRetries; ++attempt) {
        if (attempt > 0) // changed meanwhile: again after a moment of a length no other
                         // program's rhythm can fall in step with
            QThread::usleep(500 + QRandomGenerator::global()->bounded(2500));
        const std::optional<Basis> basis = readBasis();
        if (!basis) {
            if (!filestore::exists(path_))
                return told({filestore::Result::ReadFailed, {}});
            continue; // changing while it was read
        }
        adoptBasis(*basis, outside);
        const std::optional<QByteArray> written = compute(basis->content);
        if (!written) {
            // A record missing from a file that another program was writing is no reason
            // to refuse: the edit is made again on what it holds once written.
            if (!filestore::facts(path_).sameAs(basis->facts))
                continue;
            return told({}); // nothing to write: nothing is kept, linked or replaced
        }
        const filestore::WriteResult result = commit(*basis, *written, compute, attempt, outside);
        if (result.ok()) {
            // Over another program's change, any part of the file may differ.
            change.cause = Change::Cause::Written;
            change.everything = change.everything || outside;
            tell(change);
        }
        if (result.result == filestore::Result::Busy && attempt < kRetries) {
            // The scratch name goes with the try: left as a second name of the file, it
            // would make the next try keep copies, and look at nothing after the rename.
            if (sameFile(path_, scratchPath_))
                QFile::remove(scratchPath_);
            continue;
        }
        if (!result.ok())
            unlinkScratch();
        return told(result);
    }
    return told({filestore::Result::Busy, {}});
}

bool RulesDocument::makeScratch(const History::Pending& pending, const filestore::FileFacts& read) {
    if (pending.kept())
        return filestore::linkOrCopy(pending.file, scratchPath_).ok();
    // A second name of a file with other names would change with them.
    if (read.links == 1 && filestore::link(path_, scratchPath_).ok())
        return true;
    return filestore::copy(path_, scratchPath_).ok();
}

void RulesDocument::unlinkScratch() {
    if (sameFile(path_, scratchPath_)) {
        QFile::remove(scratchPath_);
        filestore::copy(path_, scratchPath_);
    }
}

filestore::WriteResult RulesDocument::commit(const Basis& first, const QByteArray& bytes,
                                             const Compute& compute, int& attempt, bool& outside) {
    History::Pending pending;
    if (history_)
        pending = history_->keep(History::Stack::Undo, first.facts);
    filestore::WriteResult versionNote = history_ ? pending.why : filestore::WriteResult{};
    if (!makeScratch(pending, first.facts)) {
        if (history_)
            history_->drop(pending);
        return {filestore::Result::BackupFailed, {}};
    }
    const auto dropVersion = [&] {
        if (history_)
            history_->drop(pending);
        pending = {};
    };
    // Where the scratch copy is a second name of the content replaced, what another program
    // writes into that content after the last look still shows there once it is replaced.
    // A write again after that replaces the editor's own content, which a name of its own
    // (beside the scratch copy) shows the same way.
    const bool looksAfter = sameFile(path_, scratchPath_);
    const QString own = scratchPath_ + QStringLiteral(".last");
    filestore::FileFacts expected = first.facts; // what the file must be at the last look
    filestore::FileFacts basis = first.facts;    // the content the new one is computed from
    QByteArray out = bytes;
    QByteArray put;  // what is under the file's name after the last round
    QByteArray tail; // lines another program added after the editor's own content so far
    // Lines added to put (with their facts); false when put was changed otherwise.
    const auto addedTo = [&](const QString& name, filestore::FileFacts& now) {
        now = filestore::facts(name);
        const std::optional<QByteArray> there = filestore::read(name);
        if (!there || !there->startsWith(put) || !filestore::facts(name).sameAs(now))
            return false;
        tail += there->mid(put.size());
        put = *there;
        return true;
    };
    for (bool again = false;; again = true) {
        const bool named = again && filestore::link(path_, own).ok() && sameFile(path_, own);
        filestore::FileFacts newFile;
        const filestore::WriteResult result =
            filestore::replace(path_, out, [&](const filestore::FileFacts& made) {
                newFile = made;
                if (pending.kept() && !history_->begin(pending, History::Step::Write, made)) {
                    // A version that a kill could part from its write is no version.
                    dropVersion();
                    versionNote = history_->failure();
                }
                // The last look, right before the file is replaced: another program's
                // change since the content was read would be lost.
                if (!filestore::facts(path_).sameAs(expected))
                    return filestore::WriteResult{filestore::Result::Busy, {}};
                return filestore::WriteResult{};
            });
        filestore::FileFacts now;
        if (result.ok()) {
            const bool intoOld = looksAfter && !filestore::facts(scratchPath_).sameAs(basis);
            const bool intoOwn = named && !filestore::facts(own).sameAs(expected);
            if (!intoOld && !intoOwn)
                break;
            // Another program wrote into the replaced content between the last look and the
            // rename: the edit is made again on that content, as part of the same step.
            if (intoOwn && !addedTo(own, now)) {
                QFile::remove(own);
                return giveUp(pending, out, tail, outside);
            }
            expected = newFile;
            put = out;
        } else if (!again) {
            dropVersion();
            return result;
        } else if (result.result != filestore::Result::Busy || !addedTo(path_, now)) {
            QFile::remove(own);
            return giveUp(pending, put, tail, outside);
        } else {
            expected = now; // lines added to the editor's own content before the last look
        }
        if (named)
            QFile::remove(own);
        const filestore::FileFacts old = filestore::facts(scratchPath_);
        std::optional<QByteArray> content = filestore::read(scratchPath_);
        if (++attempt > kRetries || !content || content->size() != old.size ||
            !filestore::facts(scratchPath_).sameAs(old))
            return giveUp(pending, put, tail, outside);
        content->append(tail);
        adoptBasis({old, *content}, outside);
        std::optional<QByteArray> redone = compute(*content);
        if (!redone)
            return giveUp(pending, put, tail, outside);
        out = std::move(*redone);
        basis = old;
    }
    QFile::remove(own);
    if (history_ && versionNote.result != filestore::Result::Locked &&
        !history_->finish(pending, History::Step::Write, History::fingerprintOf(out)) &&
        versionNote.ok())
        versionNote = history_->failure();
    if (pending.kept() || first.facts.links == 1)
        filestore::makePrivate(scratchPath_); // the old content is the editor's alone now
    wrote(out);
    filestore::WriteResult done;
    done.versionResult = versionNote.result;
    done.versionError = versionNote.systemError;
    return done;
}

filestore::WriteResult RulesDocument::giveUp(History::Pending& pending, QByteArray put,
                                             QByteArray tail, bool& outside) {
    // The replaced content with the other program's lines goes back under the file's name,
    // followed by the lines it added after the editor's own content (put), for as long as
    // it only adds lines there; a content it wrote otherwise stays.
    const QString own = scratchPath_ + QStringLiteral(".last");
    const std::optional<QByteArray> old = filestore::read(scratchPath_);
    for (int i = 0; old && i <= kRetries; ++i) {
        const filestore::FileFacts now = filestore::facts(path_);
        const std::optional<QByteArray> there = filestore::read(path_);
        if (!there || !there->startsWith(put) || !filestore::facts(path_).sameAs(now))
            break;
        tail += there->mid(put.size());
        put = *old + tail;
        const bool named = filestore::link(path_, own).ok() && sameFile(path_, own);
        const filestore::WriteResult back =
            filestore::replace(path_, put, [&](const filestore::FileFacts&) {
                return filestore::facts(path_).sameAs(now)
                           ? filestore::WriteResult{}
                           : filestore::WriteResult{filestore::Result::Busy, {}};
            });
        const filestore::FileFacts left = filestore::facts(own);
        const std::optional<QByteArray> late =
            back.ok() && named && !left.sameAs(now) ? filestore::read(own) : std::nullopt;
        QFile::remove(own);
        if (!back.ok()) {
            put = *there; // changed before the last look: looked at again
            continue;
        }
        // Lines added to what was there after the last look: put back once more with them.
        if (!late || !late->startsWith(*there))
            break;
        tail += late->mid(there->size());
        if (late->size() == there->size())
            break;
    }
    if (history_)
        history_->drop(pending);
    pending = {};
    if (std::optional<Reading> now = changedOutside(); now && now->bytes) {
        stamp_ = now->stamp;
        reload(std::move(*now->bytes));
        outside = true;
    }
    return {filestore::Result::Busy, {}};
}

void RulesDocument::wrote(QByteArray bytes) {
    if (!joined()) { // a step of several files stamps the files it replaced (stampReplaced)
        stamp_ = stampOf(path_);
        files_[0].stamp = stamp_;
    }
    known_ = std::move(bytes);
    // A large file is read again by the pool while the user goes on, and written() said once
    // that reading arrives; a small one is read at once, in less time than a hand-over takes.
    letGo(index_);
    if (known_.size() >= kReadInPoolFrom) {
        startReading();
        return;
    }
    index_ = std::make_shared<const RulesIndex>(known_);
    stopReading(); // a reading in progress is overtaken once this one is in place
}

bool RulesDocument::wroteLast(const History::Version& version, const QByteArray& current,
                              const filestore::FileFacts& now) const {
    const History::Fingerprint found = History::fingerprintOf(current);
    if (version.wrote) // what the version's own step wrote
        return found == *version.wrote;
    // A version an earlier editor kept: what the editor last wrote, by the note beside the
    // stacks; an earlier editor's note, whose hash was its build's own, by the file as this
    // run last read it (size, time and identity), and the note's size.
    const std::optional<History::Fingerprint> known = history_->fingerprint();
    if (known && !known->earlier)
        return found == *known;
    return now.sameAs(stamp_.facts) && (!known || known->size == found.size);
}

RulesDocument::Restored RulesDocument::restore(History::Stack from, bool withoutVersion) {
    if (!history_)
        return {};
    if (!history_->unfinished().isEmpty())
        if (const QStringList stuck = unsettled(history_, historyFolder_, path_); !stuck.isEmpty())
            return {Restored::Failed,
                    {},
                    {filestore::Result::PartlyWritten, stuck.join(QStringLiteral("、"))}};
    if (const filestore::WriteResult claimed = history_->claim(); !claimed.ok())
        return {claimed.result == filestore::Result::Locked ? Restored::LockedElsewhere
                                                            : Restored::Failed,
                {},
                claimed};
    const std::optional<History::Version> version = history_->top(from);
    if (!version)
        return {};
    if (joined()) {
        const std::optional<QByteArray> bytes = history_->read(*version);
        if (!bytes) {
            QFile::remove(version->file);
            return {Restored::Failed,
                    {},
                    {filestore::Result::ReadFailed, QStringLiteral("历史版本已损坏")}};
        }
        return restoreMany(from, withoutVersion, *version, *bytes);
    }
    // Only over the content the version's step wrote, also after a restart.
    const filestore::FileFacts read = filestore::facts(path_);
    const std::optional<QByteArray> current = filestore::read(path_);
    if (!current || !wroteLast(*version, *current, read)) {
        if (current && *current != known_)
            adopt({stampOf(path_), current, std::nullopt}); // read again, and the listener told
        return {Restored::ChangedOutside, {}, {}};
    }
    const std::optional<QByteArray> bytes = history_->read(*version);
    if (!bytes) {
        // Not a version the editor kept (a link put in its place, say): it goes.
        QFile::remove(version->file);
        return {Restored::Failed,
                {},
                {filestore::Result::ReadFailed, QStringLiteral("历史版本已损坏")}};
    }
    if (fileset::isJoined(*bytes)) // of files this one included then
        return restoreMany(from, withoutVersion, *version, *bytes);
    const bool undo = from == History::Stack::Undo;
    const History::Step step = undo ? History::Step::Undo : History::Step::Redo;
    // The content on show would be lost without its version: no version, no restore, unless
    // the user lets it go for want of room. A second name of it takes no room.
    History::Pending pending;
    if (!withoutVersion) {
        pending = history_->keep(undo ? History::Stack::Redo : History::Stack::Undo, read,
                                 History::Room::NotForALink);
        if (!pending.kept())
            return {pending.why.result == filestore::Result::DiskFull ? Restored::NoRoomForVersion
                                                                      : Restored::Failed,
                    {},
                    pending.why};
    }
    if (!makeScratch(pending, read)) {
        history_->drop(pending);
        return {Restored::Failed, {}, {filestore::Result::BackupFailed, {}}};
    }
    const filestore::WriteResult result =
        filestore::replace(path_, *bytes, [&](const filestore::FileFacts& newFile) {
            if (!history_->begin(pending, step, newFile))
                return history_->failure();
            if (!filestore::facts(path_).sameAs(read))
                return filestore::WriteResult{filestore::Result::Busy, {}};
            return filestore::WriteResult{};
        });
    if (!result.ok()) {
        history_->drop(pending);
        unlinkScratch();
        return notRestored(result);
    }
    const filestore::WriteResult done =
        finishRestore(pending, step, History::fingerprintOf(*bytes), result);
    filestore::makePrivate(scratchPath_);
    stamp_ = stampOf(path_);
    reload(*bytes);
    tell(Change::Cause::Restored);
    return {Restored::Done, version->time, done};
}

std::optional<RulesDocument::SetReading> RulesDocument::basisSet() const {
    // Every file as the editor last read or wrote it, and not written within the last
    // moment: the contents it knows.
    for (const Member& m : files_) {
        const filestore::FileFacts now = filestore::facts(m.path);
        if (!now.sameAs(m.stamp.facts) || now.modifiedNs + kTimeStepNs >= m.stamp.takenNs)
            return readSet(path_);
    }
    for (const QString& file : absent_)
        if (filestore::facts(file).exists)
            return readSet(path_);
    for (const Member& m : unreadable_)
        if (!stillUnreadable(filestore::facts(m.path), m.stamp.facts))
            return readSet(path_);
    std::optional<std::vector<fileset::Part>> parts = fileset::split(known_, files_[0].name);
    if (!parts || parts->size() != files_.size() || !toFiles(*parts, files_))
        return readSet(path_);
    SetReading set{files_, {}, includeProblems_, absent_, known_, unreadable_};
    for (fileset::Part& p : *parts)
        set.bytes.push_back(std::move(p.bytes));
    return set;
}

bool RulesDocument::toFiles(std::vector<fileset::Part>& parts, const std::vector<Member>& files) {
    const Encoding joinedIn = detectEncoding(parts.empty() ? QByteArray() : parts[0].bytes);
    for (fileset::Part& p : parts) {
        const auto m = std::find_if(files.begin(), files.end(),
                                    [&](const Member& f) { return f.name == p.name; });
        if (m == files.end() || !m->recoded || p.omitted)
            continue;
        std::optional<QByteArray> own = transcode(p.bytes, joinedIn, *m->recoded);
        if (!own)
            return false;
        p.bytes = std::move(*own);
    }
    return true;
}

QByteArray RulesDocument::joinedOf(std::vector<fileset::Part> parts,
                                   const std::vector<Member>& files) {
    const Encoding joinedIn = detectEncoding(parts.empty() ? QByteArray() : parts[0].bytes);
    for (fileset::Part& p : parts) {
        const auto m = std::find_if(files.begin(), files.end(),
                                    [&](const Member& f) { return f.name == p.name; });
        if (m != files.end() && m->recoded)
            p.bytes = transcode(p.bytes, *m->recoded, joinedIn).value_or(p.bytes);
    }
    return fileset::join(std::move(parts));
}

std::optional<std::vector<RulesDocument::Target>>
RulesDocument::targetsOf(const SetReading& set, const std::vector<fileset::Part>& parts) {
    std::vector<Target> out;
    for (size_t p = 0; p < parts.size(); ++p) {
        // The first part is the opened file, whatever its name was; the others by name.
        size_t i = 0;
        while (p > 0 && i < set.files.size() && set.files[i].name != parts[p].name)
            ++i;
        if (i == set.files.size() || (p > 0 && i == 0))
            return std::nullopt;
        const bool shared = set.bytes[i].constData() == parts[p].bytes.constData() &&
                            set.bytes[i].size() == parts[p].bytes.size();
        if (!shared && set.bytes[i] != parts[p].bytes)
            out.push_back({set.files[i].path, set.files[i].name, parts[p].bytes, set.bytes[i],
                           set.files[i].stamp.facts});
    }
    return out;
}

QByteArrayList RulesDocument::versionOf(const SetReading& set, const std::vector<Target>& targets) {
    std::vector<fileset::Part> parts;
    for (size_t i = 0; i < set.files.size(); ++i) {
        const bool replaced = std::any_of(targets.begin(), targets.end(), [&](const Target& t) {
            return t.path == set.files[i].path;
        });
        parts.push_back({set.files[i].name, replaced ? set.bytes[i] : QByteArray(), !replaced});
    }
    return fileset::pieces(parts);
}

bool RulesDocument::scratchOf(const std::vector<Target>& targets) {
    if (targets.empty())
        return false;
    // A second name of the file about to be replaced, as for one file; a copy of its
    // content where that cannot be (it has other names, or no links here).
    const Target& first = targets.front();
    QFile::remove(scratchPath_);
    if (first.before.links == 1 && filestore::link(first.path, scratchPath_).ok() &&
        filestore::facts(scratchPath_).sameAs(first.before))
        return true;
    QFile::remove(scratchPath_);
    if (!filestore::replace(scratchPath_, first.old).ok())
        return false;
    filestore::makePrivate(scratchPath_);
    return true;
}

std::optional<filestore::WriteResult>
RulesDocument::refusedWithoutVersion(const History::Pending& pending,
                                     const std::vector<Target>& targets) {
    // A kill between the renames of several files is mended only from the version: such a
    // step without one is refused (another running copy that keeps the versions aside).
    if (!history_ || pending.kept() || targets.size() < 2 ||
        pending.why.result == filestore::Result::Locked)
        return std::nullopt;
    qCDebug(lcDocument) << "step of" << targets.size() << "files refused without its version:"
                        << static_cast<int>(pending.why.result) << pending.why.systemError;
    if (pending.why.result == filestore::Result::DiskFull)
        return filestore::WriteResult{filestore::Result::NoRoomForVersion};
    return pending.why;
}

void RulesDocument::stampReplaced(const std::vector<Target>& targets) {
    for (Member& m : files_)
        if (std::any_of(targets.begin(), targets.end(),
                        [&](const Target& t) { return t.path == m.path; }))
            m.stamp = stampOf(m.path);
    stamp_ = files_[0].stamp;
}

filestore::WriteResult RulesDocument::replaceAll(const std::vector<Target>& targets,
                                                 History::Pending& pending, History::Step step,
                                                 const History::Fingerprint& wrote,
                                                 filestore::WriteResult& versionNote) {
    std::vector<History::Made> made(targets.size());
    std::vector<bool> replaced(targets.size(), false);
    // Each file's new content is made inside the last look of the one before: the step is
    // noted once every new file is complete, and the files are replaced from the last back.
    std::function<filestore::WriteResult(size_t)> stage = [&](size_t k) {
        if (k == targets.size()) {
            if (pending.kept() || step != History::Step::Write) {
                if (history_ && !history_->beginMany(pending, step, made, wrote)) {
                    // Without its journal, a kill between the renames would leave files of
                    // both contents: a step of several files does not go on.
                    if (step != History::Step::Write || targets.size() > 1)
                        return history_->failure();
                    history_->drop(pending); // a version a kill could part from its write
                    pending = {};
                    versionNote = history_->failure();
                }
            }
            for (const Target& t : targets)
                if (!filestore::facts(t.path).sameAs(t.before))
                    return filestore::WriteResult{filestore::Result::Busy, {}};
            return filestore::WriteResult{};
        }
        const filestore::WriteResult result = filestore::replace(
            targets[k].path, targets[k].bytes, [&](const filestore::FileFacts& newFile) {
                made[k] = {targets[k].name, newFile};
                return stage(k + 1);
            });
        replaced[k] = result.ok();
        return result;
    };
    const filestore::WriteResult result = stage(0);
    if (!result.ok()) {
        QStringList stuck; // files that hold the new content still
        for (size_t k = 0; k < targets.size(); ++k) {
            if (!replaced[k])
                continue;
            const filestore::WriteResult back = filestore::replace(targets[k].path, targets[k].old);
            qCInfo(lcDocument) << "put back" << targets[k].path
                               << "after a failed step:" << static_cast<int>(back.result)
                               << back.systemError;
            if (!back.ok())
                stuck << QDir::toNativeSeparators(targets[k].name);
        }
        // The journal and the version are then the only record of the old content: they
        // stay, for the history's recovery to put it back.
        if (history_ && stuck.isEmpty())
            history_->drop(pending);
        pending = {};
        // The scratch copy must not stay a second name of a file the editor may write.
        if (!targets.empty() && sameFile(targets.front().path, scratchPath_)) {
            QFile::remove(scratchPath_);
            filestore::copy(targets.front().path, scratchPath_);
        }
        if (!stuck.isEmpty() && history_) // its recovery tries at once
            stuck = unsettled(history_, historyFolder_, path_);
        if (!stuck.isEmpty())
            return {filestore::Result::PartlyWritten, stuck.join(QStringLiteral("、"))};
    } else {
        filestore::makePrivate(scratchPath_); // the old content is the editor's alone now
    }
    return result;
}

filestore::WriteResult RulesDocument::writeMany(const Compute& compute, Change change) {
    bool outside = false;
    const auto told = [&](filestore::WriteResult result) {
        qCDebug(lcDocument) << "write of" << files_.size()
                            << "files:" << static_cast<int>(result.result) << result.systemError;
        if (outside) {
            tell(Change::Cause::Reloaded);
        }
        return result;
    };
    for (int attempt = 0; attempt <= kRetries; ++attempt) {
        if (attempt > 0)
            QThread::usleep(500 + QRandomGenerator::global()->bounded(2500));
        std::optional<SetReading> set = basisSet();
        if (!set) {
            if (!filestore::exists(path_))
                return told({filestore::Result::ReadFailed, {}});
            continue;
        }
        if (set->joined != known_) {
            outside = true;
            take(*set);
        }
        const std::optional<QByteArray> out = compute(set->joined);
        if (!out)
            return told({});
        std::optional<std::vector<fileset::Part>> parts =
            fileset::split(*out, files_[0].name, set->bytes);
        // What the files will read as: mostly the computed content itself.
        const QByteArray joinedOut =
            parts ? (fileset::joinsTo(*parts, *out) ? *out : fileset::join(*parts)) : QByteArray();
        if (parts && !toFiles(*parts, set->files))
            return told({filestore::Result::Unencodable, {}});
        std::optional<std::vector<Target>> targets =
            parts && parts->size() == set->files.size() ? targetsOf(*set, *parts) : std::nullopt;
        if (!targets)
            return told(
                {filestore::Result::WriteFailed, QStringLiteral("修改跨越了文件之间的边界")});
        if (targets->empty())
            return told({});
        History::Pending pending;
        if (history_)
            pending = history_->keepContent(History::Stack::Undo, versionOf(*set, *targets));
        filestore::WriteResult versionNote = history_ ? pending.why : filestore::WriteResult{};
        if (const std::optional<filestore::WriteResult> refused =
                refusedWithoutVersion(pending, *targets))
            return told(*refused);
        if (!scratchOf(*targets)) {
            if (history_)
                history_->drop(pending);
            return told({filestore::Result::BackupFailed, {}});
        }
        // Second names of the contents about to be replaced: what another program appends to
        // one after the last look, before its rename, shows there (as through the scratch
        // copy of one file).
        struct Olds {
            std::vector<QString> names;
            ~Olds() {
                for (const QString& n : names)
                    QFile::remove(n);
            }
        } olds;
        for (size_t k = 0; k < targets->size(); ++k) {
            olds.names.push_back(scratchPath_ + QLatin1Char('.') + QString::number(k));
            if (!filestore::link((*targets)[k].path, olds.names[k]).ok() ||
                !filestore::facts(olds.names[k]).sameAs((*targets)[k].before))
                QFile::remove(olds.names[k]);
        }
        History::Fingerprint print = History::fingerprintOf(joinedOut);
        filestore::WriteResult result =
            replaceAll(*targets, pending, History::Step::Write, print, versionNote);
        if (result.result == filestore::Result::Busy && attempt < kRetries)
            continue;
        if (!result.ok())
            return told(result);
        // Lines appended to a replaced content meanwhile go after the editor's own, in one
        // more round of the step, whose version holds them too.
        QByteArray joinedNow = joinedOut;
        SetReading withTails = *set;
        std::vector<Target> again;
        for (size_t k = 0; k < targets->size(); ++k) {
            const Target& t = (*targets)[k];
            if (filestore::facts(olds.names[k]).sameAs(t.before))
                continue;
            const std::optional<QByteArray> grown = filestore::read(olds.names[k]);
            if (!grown || grown->size() <= t.old.size() || !grown->startsWith(t.old))
                continue;
            for (size_t i = 0; i < withTails.files.size(); ++i)
                if (withTails.files[i].path == t.path)
                    withTails.bytes[i] = *grown;
            for (fileset::Part& p : *parts)
                if (p.name == t.name)
                    p.bytes = t.bytes + grown->mid(t.old.size());
            again.push_back({t.path, t.name, t.bytes + grown->mid(t.old.size()), t.bytes,
                             filestore::facts(t.path)});
        }
        if (!again.empty()) {
            qCDebug(lcDocument) << "lines appended meanwhile to" << again.size() << "files";
            joinedNow = joinedOf(*parts, set->files);
            History::Pending second;
            if (history_)
                second =
                    history_->keepContent(History::Stack::Undo, versionOf(withTails, *targets));
            if (!history_ || second.kept()) {
                if (history_)
                    history_->drop(pending);
                pending = second;
                filestore::WriteResult note;
                const History::Fingerprint printNow = History::fingerprintOf(joinedNow);
                result = replaceAll(again, pending, History::Step::Write, printNow, note);
                if (result.ok())
                    print = printNow;
                else
                    versionNote = result; // the files hold the editor's content, without them
            }
            if (!result.ok() || (history_ && !second.kept()))
                joinedNow = joinedOut;
        }
        if (history_ && versionNote.result != filestore::Result::Locked &&
            !history_->finish(pending, History::Step::Write, print) && versionNote.ok())
            versionNote = history_->failure();
        stampReplaced(*targets);
        wrote(joinedNow);
        change.cause = Change::Cause::Written;
        change.everything = change.everything || outside;
        tell(change);
        filestore::WriteResult done;
        done.versionResult = versionNote.result;
        done.versionError = versionNote.systemError;
        return told(done);
    }
    return told({filestore::Result::Busy, {}});
}

RulesDocument::Restored RulesDocument::restoreMany(History::Stack from, bool withoutVersion,
                                                   const History::Version& version,
                                                   const QByteArray& bytes) {
    std::optional<SetReading> set = readSet(path_);
    if (!set || !wroteLast(version, set->joined, filestore::facts(path_))) {
        if (set && set->joined != known_)
            adopt({set->files[0].stamp, set->joined, *set});
        return {Restored::ChangedOutside, {}, {}};
    }
    // A version leaves out the files its step did not replace: they are put back as they are.
    std::optional<std::vector<fileset::Part>> parts = fileset::split(bytes, files_[0].name);
    std::vector<fileset::Part> now;
    for (size_t i = 0; i < set->files.size(); ++i)
        now.push_back({set->files[i].name, set->bytes[i]});
    if (parts && !fileset::fill(*parts, now))
        parts.reset();
    const std::optional<std::vector<Target>> targets =
        parts ? targetsOf(*set, *parts) : std::nullopt;
    if (!targets)
        return {Restored::Failed,
                {},
                {filestore::Result::ReadFailed, QStringLiteral("历史版本所含的文件已不再被包含")}};
    const bool undo = from == History::Stack::Undo;
    const History::Step step = undo ? History::Step::Undo : History::Step::Redo;
    History::Pending pending;
    if (withoutVersion && targets->size() > 1)
        return {Restored::Failed, {}, {filestore::Result::NoRoomForVersion}};
    if (!withoutVersion) {
        pending = history_->keepContent(undo ? History::Stack::Redo : History::Stack::Undo,
                                        versionOf(*set, *targets));
        if (const std::optional<filestore::WriteResult> refused =
                refusedWithoutVersion(pending, *targets))
            return {Restored::Failed, {}, *refused};
        if (!pending.kept())
            return {pending.why.result == filestore::Result::DiskFull ? Restored::NoRoomForVersion
                                                                      : Restored::Failed,
                    {},
                    pending.why};
    }
    if (!targets->empty() && !scratchOf(*targets)) {
        history_->drop(pending);
        return {Restored::Failed, {}, {filestore::Result::BackupFailed, {}}};
    }
    const QByteArray restored = joinedOf(*parts, set->files);
    const History::Fingerprint print = History::fingerprintOf(restored);
    filestore::WriteResult note;
    const filestore::WriteResult result = replaceAll(*targets, pending, step, print, note);
    if (!result.ok())
        return notRestored(result);
    const filestore::WriteResult done = finishRestore(pending, step, print, result);
    stampReplaced(*targets);
    reload(restored);
    tell(Change::Cause::Restored);
    return {Restored::Done, version.time, done};
}

RulesDocument::Restored RulesDocument::notRestored(const filestore::WriteResult& result) {
    if (result.result != filestore::Result::Busy)
        return {Restored::Failed, {}, result};
    if (std::optional<Reading> now = changedOutside())
        adopt(std::move(*now));
    return {Restored::ChangedOutside, {}, {}};
}

filestore::WriteResult RulesDocument::finishRestore(const History::Pending& pending,
                                                    History::Step step,
                                                    const History::Fingerprint& print,
                                                    filestore::WriteResult done) {
    if (!history_->finish(pending, step, print) && pending.kept()) {
        done.versionResult = history_->failure().result;
        done.versionError = history_->failure().systemError;
    }
    return done;
}

filestore::WriteResult RulesDocument::rewrite(const Transform& transform, Change change) {
    return write(
        [&](const QByteArray& content) -> std::optional<QByteArray> {
            return transform(content, TextCodec(detectEncoding(content)));
        },
        std::move(change));
}

filestore::WriteResult RulesDocument::edit(const Edit& edit, Change change) {
    return write(
        [&](const QByteArray& content) {
            return edit(content, TextCodec(detectEncoding(content)));
        },
        std::move(change));
}

qint16 RulesDocument::saturated(long long n) {
    constexpr long long kMax = std::numeric_limits<qint16>::max();
    return static_cast<qint16>(std::clamp(n, 0LL, kMax));
}

void RulesDocument::setCount(RegistryKind kind, long long n) {
    counts_[static_cast<int>(kind)] = saturated(n);
}

} // namespace tarvok
