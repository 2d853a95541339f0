#include "records/RecordWrites.h"

#include "document/Lines.h"
#include "document/Rewrite.h"
#include "records/RecordIds.h"
#include "records/Registry.h"
#include "records/TriggerLine.h"

namespace tarvok {
namespace {

// A line keyed key in an [AITriggerTypes] section, from its header to the next header:
// what the delete removes.
bool hasTriggerLine(QByteArrayView content, QByteArrayView key) {
    LineCursor in(content);
    bool inSection = false;
    while (!in.atEnd()) {
        const QByteArrayView l = in.next();
        if (lines::isAnyHeader(l)) {
            inSection = lines::isHeader(l, "AITriggerTypes");
            continue;
        }
        if (inSection && lines::hasComma(l) && lines::before(l, ',') == key)
            return true;
    }
    return false;
}

} // namespace

filestore::WriteResult addRegistryRecord(RulesDocument& doc, RegistryKind kind, const QString& id,
                                         const std::vector<QByteArray>& block) {
    bool added = false;
    const filestore::WriteResult written =
        doc.rewrite([&](const QByteArray& content, const TextCodec& codec) {
            const std::optional<RegistryAddition> a = addRegistryEntry(
                content, registrySection(kind), codec.encode(id), doc.count(kind), block);
            added = a.has_value();
            return a ? a->content : content;
        });
    if (!written.ok())
        return written;
    if (!added)
        return {filestore::Result::WriteFailed, {}};
    doc.setCount(kind, doc.count(kind) + 1LL);
    return written;
}

RecordRemoval removeRegistryRecord(RulesDocument& doc, RegistryKind kind, const QString& id) {
    const std::optional<RulesDocument::Content> rules = doc.read();
    if (id.isEmpty() || !rules ||
        !removeRegistryEntry(rules->bytes, registrySection(kind), rules->codec.encode(id)).found())
        return {};
    int removed = 0;
    const filestore::WriteResult written =
        doc.rewrite([&](const QByteArray& content, const TextCodec& codec) {
            RegistryRemoval r = removeRegistryEntry(content, registrySection(kind), codec.encode(id));
            removed = r.entriesRemoved;
            return std::move(r.content);
        });
    if (written.ok())
        doc.setCount(kind, doc.count(kind) - static_cast<long long>(removed));
    return {true, written};
}

filestore::WriteResult addTriggerRecord(RulesDocument& doc, const QString& key) {
    return doc.rewrite([&key](const QByteArray& content, const TextCodec& codec) {
        return rewriteLines(content,
                            InsertAfterHeader("AITriggerTypes", trigger::newTriggerLine(codec.encode(key))));
    });
}

RecordRemoval removeTriggerRecord(RulesDocument& doc, const QString& key) {
    const std::optional<RulesDocument::Content> rules = doc.read();
    if (key.isEmpty() || !rules || !hasTriggerLine(rules->bytes, rules->codec.encode(key)))
        return {};
    return {true, doc.rewrite([&key](const QByteArray& content, const TextCodec& codec) {
                return rewriteLines(content, RemoveTriggerLines(codec.encode(key)));
            })};
}

bool recordIdInUse(const RulesDocument& doc, const QString& id) {
    const std::optional<RulesDocument::Content> rules = doc.read();
    return rules && recordIdInUse(rules->bytes, rules->codec.encode(id));
}

} // namespace tarvok
