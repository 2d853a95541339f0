#include "document/RulesDocument.h"

#include "document/IniText.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <future>
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

// Two names of one file: the same path, or the same file reached through a link.
bool sameFile(const QString& a, const QString& b) {
    const filestore::FileFacts fa = filestore::facts(a);
    const filestore::FileFacts fb = filestore::facts(b);
    return fa.exists && fb.exists && fa.device == fb.device && fa.inode == fb.inode &&
           (fa.inode != 0 || QFileInfo(a).canonicalFilePath() == QFileInfo(b).canonicalFilePath());
}

} // namespace

RulesDocument::RulesDocument(QString scratchPath) : scratchPath_(std::move(scratchPath)) {}
RulesDocument::~RulesDocument() = default;

namespace {

// A file written this recently (in nanoseconds) may be written again without its time
// changing: file systems keep times in steps of up to a few milliseconds.
constexpr qint64 kTimeStepNs = 100'000'000;

qint64 nowNs() {
    return QDateTime::currentMSecsSinceEpoch() * 1'000'000;
}

bool sameFacts(const filestore::FileFacts& a, const filestore::FileFacts& b) {
    return a.exists == b.exists && a.size == b.size && a.modifiedNs == b.modifiedNs &&
           a.device == b.device && a.inode == b.inode;
}

} // namespace

RulesDocument::Stamp RulesDocument::stampOf(const QString& path) {
    const qint64 taken = nowNs();
    return {filestore::facts(path), taken};
}

std::optional<RulesDocument::Opened> RulesDocument::open(const QString& path) {
    if (sameFile(path, scratchPath_))
        return std::nullopt;
    const Stamp stamp = stampOf(path);
    std::optional<QByteArray> bytes = filestore::read(path);
    if (!bytes)
        return std::nullopt;
    path_ = path;
    stamp_ = stamp;
    building_ = {};
    known_ = std::move(*bytes);
    history_ = historyFolder_.isEmpty() ? nullptr : std::make_unique<History>(historyFolder_, path);
    index_ = std::make_shared<const RulesIndex>(known_);
    countFromScan();
    return Opened{index_, static_cast<int>(std::max<quint64>(stamp.facts.links, 1))};
}

void RulesDocument::countFromScan() const {
    const RulesScan& scan = index_->scan();
    for (const auto& [kind, list] : {std::pair{RegistryKind::TeamTypes, &scan.teamTypes},
                                     {RegistryKind::TaskForces, &scan.taskForces},
                                     {RegistryKind::ScriptTypes, &scan.scriptTypes}})
        counts_[static_cast<int>(kind)] = saturated(static_cast<long long>(list->size()));
}

std::optional<RulesDocument::Reading> RulesDocument::changedOutside() const {
    const filestore::FileFacts now = filestore::facts(path_);
    // Written within one step of the file system's clock before the facts were taken, a
    // second write in the same step could leave them unchanged: the content tells then.
    if (sameFacts(now, stamp_.facts) && now.modifiedNs + kTimeStepNs < stamp_.takenNs)
        return std::nullopt;
    Reading reading{stampOf(path_), filestore::read(path_)};
    if (reading.bytes && *reading.bytes == known_) {
        stamp_ = reading.stamp; // touched, or saved unchanged: nothing to read again
        return std::nullopt;
    }
    return reading;
}

bool RulesDocument::adopt(Reading reading) const {
    if (!reading.bytes)
        return false; // gone or unreadable: nothing to show, the stamp stays
    stamp_ = reading.stamp;
    reload(std::move(*reading.bytes));
    if (reloaded_)
        reloaded_();
    return true;
}

void RulesDocument::reload(QByteArray bytes) const {
    building_ = {}; // of content that is no longer the file's
    known_ = std::move(bytes);
    index_ = std::make_shared<const RulesIndex>(known_);
    countFromScan();
}

std::shared_ptr<const RulesIndex> RulesDocument::index() const {
    if (path_.isEmpty())
        return nullptr;
    if (std::optional<Reading> now = changedOutside())
        return adopt(std::move(*now)) ? index_ : nullptr;
    if (!index_)
        index_ = building_.valid() ? building_.get() : std::make_shared<const RulesIndex>(known_);
    building_ = {};
    return index_;
}

std::optional<RulesDocument::Content> RulesDocument::read() const {
    const std::shared_ptr<const RulesIndex> index = this->index();
    if (!index)
        return std::nullopt;
    return Content{index->bytes(), index->codec()};
}

filestore::WriteResult
RulesDocument::write(const std::function<std::optional<QByteArray>(const QByteArray&)>& compute) {
    if (path_.isEmpty())
        return {filestore::Result::ReadFailed, {}};
    bool outside = false;
    QByteArray before;
    std::optional<QByteArray> written;
    const filestore::WriteResult result =
        filestore::rewriteIf(path_, scratchPath_, [&](const QByteArray& content) {
            outside = content != known_;
            if (outside) // the content may be a view of the file mapped: a copy of its own
                before = QByteArray(content.constData(), content.size());
            written = compute(content);
            return written;
        });
    // Another program's content is what the edit was made on: the lists and counters
    // are those of that content, which the edit then changes as it does any other.
    if (outside) {
        stamp_ = stampOf(path_);
        reload(std::move(before));
    }
    if (result.ok() && written) {
        stamp_ = stampOf(path_);
        known_ = std::move(*written);
        // Read again on a second core while the user goes on; the first use waits for it.
        index_.reset();
        building_ =
            std::async(std::launch::async, [bytes = known_] {
                return std::shared_ptr<const RulesIndex>(std::make_shared<const RulesIndex>(bytes));
            }).share();
        // The scratch copy holds the content before the change now.
        if (history_ && history_->push(History::Stack::Undo, scratchPath_))
            history_->clear(History::Stack::Redo);
    }
    if (outside && reloaded_)
        reloaded_();
    return result;
}

RulesDocument::Restored RulesDocument::restore(History::Stack from) {
    const std::optional<History::Version> version = history_ ? history_->top(from) : std::nullopt;
    if (!version)
        return {};
    if (std::optional<Reading> now = changedOutside()) {
        adopt(std::move(*now)); // read again, and the listener told
        return {Restored::ChangedOutside, {}, {}};
    }
    std::optional<QByteArray> bytes = filestore::read(version->file);
    if (!bytes)
        return {Restored::Failed, {}, {filestore::Result::ReadFailed, {}}};
    const filestore::WriteResult result = filestore::rewriteIf(
        path_, scratchPath_, [&](const QByteArray&) { return std::optional<QByteArray>(*bytes); });
    if (!result.ok())
        return {Restored::Failed, {}, result};
    const History::Stack to =
        from == History::Stack::Undo ? History::Stack::Redo : History::Stack::Undo;
    history_->push(to, scratchPath_);
    history_->pop(from);
    stamp_ = stampOf(path_);
    reload(std::move(*bytes));
    return {Restored::Done, version->time, result};
}

filestore::WriteResult RulesDocument::rewrite(const Transform& transform) {
    return write([&](const QByteArray& content) -> std::optional<QByteArray> {
        return transform(content, TextCodec(detectEncoding(content)));
    });
}

filestore::WriteResult RulesDocument::edit(const Edit& edit) {
    return write([&](const QByteArray& content) {
        return edit(content, TextCodec(detectEncoding(content)));
    });
}

qint16 RulesDocument::saturated(long long n) {
    constexpr long long kMax = std::numeric_limits<qint16>::max();
    return static_cast<qint16>(std::clamp(n, 0LL, kMax));
}

void RulesDocument::setCount(RegistryKind kind, long long n) {
    counts_[static_cast<int>(kind)] = saturated(n);
}

} // namespace tarvok
