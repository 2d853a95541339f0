#include "records/RecordWrites.h"

#include "records/RecordIds.h"
#include "records/Registry.h"
#include "records/TriggerList.h"

namespace tarvok {

namespace {

// An add whose edit does not fit the file's lines writes nothing and says so.
filestore::WriteResult unapplied() {
    return {filestore::Result::WriteFailed,
            QStringLiteral("无法在文件的现有内容上完成此修改，文件未改动")};
}

} // namespace

filestore::WriteResult addRegistryRecord(RulesDocument& doc, RegistryKind kind, const QString& id,
                                         const std::vector<QByteArray>& block) {
    bool added = false;
    const filestore::WriteResult written = doc.edit(
        [&](const QByteArray& content, const TextCodec& codec) -> std::optional<QByteArray> {
            std::optional<RegistryAddition> a = addRegistryEntry(
                content, registrySection(kind), codec.encode(id), doc.count(kind), block);
            added = a.has_value();
            return a ? std::optional(std::move(a->content)) : std::nullopt;
        },
        RulesDocument::Change::of({id}, {registrySection(kind)}));
    if (!written.ok())
        return written;
    if (!added)
        return unapplied();
    doc.setCount(kind, doc.count(kind) + 1LL);
    return written;
}

RecordRemoval removeRegistryRecord(RulesDocument& doc, RegistryKind kind, const QString& id) {
    const std::optional<RulesDocument::Content> rules = doc.read();
    if (id.isEmpty() || !rules ||
        !removeRegistryEntry(rules->bytes, registrySection(kind), rules->codec.encode(id)).found())
        return {};
    int removed = 0;
    const filestore::WriteResult written = doc.rewrite(
        [&](const QByteArray& content, const TextCodec& codec) {
            RegistryRemoval r =
                removeRegistryEntry(content, registrySection(kind), codec.encode(id));
            removed = r.entriesRemoved;
            return std::move(r.content);
        },
        RulesDocument::Change::of({id}, {registrySection(kind)}));
    if (written.ok())
        doc.setCount(kind, doc.count(kind) - static_cast<long long>(removed));
    return {true, written};
}

filestore::WriteResult addTriggerRecord(RulesDocument& doc, const QString& key) {
    bool added = false;
    const filestore::WriteResult written = doc.edit(
        [&](const QByteArray& content, const TextCodec& codec) {
            std::optional<QByteArray> out = addTriggerEntry(content, codec.encode(key));
            added = out.has_value();
            return out;
        },
        RulesDocument::Change::of({key}, {QByteArrayLiteral("AITriggerTypes")}));
    return written.ok() && !added ? unapplied() : written;
}

RecordRemoval removeTriggerRecord(RulesDocument& doc, const QString& key) {
    const std::optional<RulesDocument::Content> rules = doc.read();
    if (!rules || !removeTriggerEntry(rules->bytes, rules->codec.encode(key)).linesRemoved)
        return {};
    return {true, doc.rewrite(
                      [&key](const QByteArray& content, const TextCodec& codec) {
                          return removeTriggerEntry(content, codec.encode(key)).content;
                      },
                      RulesDocument::Change::of({key}, {QByteArrayLiteral("AITriggerTypes")}))};
}

bool recordIdInUse(const RulesDocument& doc, const QString& id) {
    const std::optional<RulesDocument::Content> rules = doc.read();
    return rules && recordIdInUse(rules->bytes, rules->codec.encode(id));
}

} // namespace tarvok
