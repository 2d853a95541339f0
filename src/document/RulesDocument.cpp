#include "document/RulesDocument.h"

#include "document/IniText.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace tarvok {

QByteArray registrySection(RegistryKind kind) {
    switch (kind) {
    case RegistryKind::TeamTypes: return QByteArrayLiteral("TeamTypes");
    case RegistryKind::TaskForces: return QByteArrayLiteral("TaskForces");
    case RegistryKind::ScriptTypes: return QByteArrayLiteral("ScriptTypes");
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

std::optional<RulesDocument::Opened> RulesDocument::open(const QString& path) {
    if (sameFile(path, scratchPath_))
        return std::nullopt;
    std::optional<QByteArray> bytes = filestore::read(path);
    if (!bytes)
        return std::nullopt;
    shared_.reset();
    path_ = path;
    Opened opened{Content{std::move(*bytes), TextCodec(Encoding::Gbk)}, {}, 1, {}};
    opened.hardLinks = static_cast<int>(filestore::facts(path).links);
    opened.content.codec = TextCodec(detectEncoding(opened.content.bytes));
    const IniText text(opened.content.bytes);
    opened.scan = scanRules(text);
    for (const IniText::Section& section : text.sections())
        for (qsizetype i = section.bodyBegin; i < section.bodyEnd; ++i)
            if (text.kind(i) == IniText::Kind::Key && text.key(i) == "Name")
                opened.names.insert(section.name, text.value(i));
    setCount(RegistryKind::TeamTypes, static_cast<long long>(opened.scan.teamTypes.size()));
    setCount(RegistryKind::TaskForces, static_cast<long long>(opened.scan.taskForces.size()));
    setCount(RegistryKind::ScriptTypes, static_cast<long long>(opened.scan.scriptTypes.size()));
    return opened;
}

std::optional<RulesDocument::Content> RulesDocument::read() const {
    if (path_.isEmpty())
        return std::nullopt;
    if (sharedDepth_ > 0 && shared_)
        return shared_; // shares the bytes, no copy
    std::optional<QByteArray> bytes = filestore::read(path_);
    if (!bytes)
        return std::nullopt;
    const Encoding e = detectEncoding(*bytes);
    Content content{std::move(*bytes), TextCodec(e)};
    if (sharedDepth_ > 0)
        shared_ = content;
    return content;
}

filestore::WriteResult RulesDocument::rewrite(const Transform& transform) {
    if (path_.isEmpty())
        return {filestore::Result::ReadFailed, {}};
    shared_.reset(); // the file is about to change
    return filestore::rewrite(path_, scratchPath_, [&](const QByteArray& content) {
        const TextCodec codec(detectEncoding(content));
        return transform(content, codec);
    });
}

filestore::WriteResult RulesDocument::edit(const Edit& edit) {
    if (path_.isEmpty())
        return {filestore::Result::ReadFailed, {}};
    shared_.reset(); // the file may change
    return filestore::rewriteIf(path_, scratchPath_, [&](const QByteArray& content) {
        const TextCodec codec(detectEncoding(content));
        return edit(content, codec);
    });
}

void RulesDocument::setCount(RegistryKind kind, long long n) {
    constexpr long long kMax = std::numeric_limits<qint16>::max();
    counts_[static_cast<int>(kind)] = static_cast<qint16>(std::clamp(n, 0LL, kMax));
}

} // namespace tarvok
