#pragma once

#include "document/FileStore.h"
#include "document/RulesScan.h"
#include "document/TextEncoding.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>
#include <optional>

namespace tarvok {

// The three registries whose entries are numbered and counted.
enum class RegistryKind { TeamTypes, TaskForces, ScriptTypes };

// The section name of a registry: "TeamTypes", "TaskForces" or "ScriptTypes".
QByteArray registrySection(RegistryKind kind);

// The open rules file: its path, how its text is read, every rewrite of it through the
// scratch copy, and the registry counters. Nothing of the file's content is kept between
// operations except, within one user selection, the one reading its loads share.
class RulesDocument {
public:
    // scratchPath is the scratch copy File.ini that every rewrite leaves the old content in.
    explicit RulesDocument(QString scratchPath);

    struct Content {
        QByteArray bytes;
        TextCodec codec;
    };

    // What opening finds: the content and the scan of it (views into content.bytes).
    struct Opened {
        Content content;
        RulesScan scan;
        int hardLinks = 1; // names the file has; a save replaces this one only
        // The value of the Name key of every section that has one (the last one read),
        // by section name; views into content.bytes.
        QHash<QByteArrayView, QByteArrayView> names;
    };

    // Makes path the rules file when it can be read, with the registry counters of its
    // scan. Nothing changes when it cannot, or when path is the scratch copy itself
    // (the first rewrite would replace the file it reads from).
    std::optional<Opened> open(const QString& path);

    bool isOpen() const { return !path_.isEmpty(); }
    const QString& path() const { return path_; }

    // The file's bytes and the codec of its texts; nothing while no file is open or when
    // it cannot be read.
    std::optional<Content> read() const;

    // While one lives, the reads share one reading of the file (a selection loads up to
    // four records). Any rewrite drops the shared reading.
    class SharedRead {
    public:
        explicit SharedRead(const RulesDocument& doc) : doc_(doc) { ++doc_.sharedDepth_; }
        ~SharedRead() {
            if (--doc_.sharedDepth_ == 0)
                doc_.shared_.reset();
        }
        SharedRead(const SharedRead&) = delete;
        SharedRead& operator=(const SharedRead&) = delete;

    private:
        const RulesDocument& doc_;
    };

    using Transform = std::function<QByteArray(const QByteArray& content, const TextCodec& codec)>;
    // Computes the new content from the file as it is when written: nothing when there
    // is nothing to write (the record is gone, or nothing changed).
    using Edit = std::function<std::optional<QByteArray>(const QByteArray& content, const TextCodec& codec)>;

    // Rewrites the rules file: the scratch copy first, then the new content replaces the
    // file once complete. On failure the file is unchanged and the result says why.
    // Without an open file nothing is written and the result is ReadFailed.
    filestore::WriteResult rewrite(const Transform& transform);
    // The same for an edit that may decline: then the file is not replaced.
    filestore::WriteResult edit(const Edit& edit);

    // The 16-bit registry counters: the number of entries found at opening, kept up to
    // date by the editor's adds and deletes. They saturate instead of wrapping.
    qint16 count(RegistryKind kind) const { return counts_[static_cast<int>(kind)]; }
    void setCount(RegistryKind kind, long long n);

    const QString& scratchPath() const { return scratchPath_; }

private:
    QString scratchPath_;
    QString path_;
    qint16 counts_[3] = {0, 0, 0};
    mutable int sharedDepth_ = 0;
    mutable std::optional<Content> shared_;
};

} // namespace tarvok
