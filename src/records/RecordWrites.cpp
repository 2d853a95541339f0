#include "records/RecordWrites.h"

#include "document/Lines.h"
#include "document/RulesScan.h"
#include "records/RecordIds.h"
#include "records/Registry.h"
#include "records/TriggerLine.h"

namespace tarvok {
namespace {

bool hasSection(QByteArrayView content, QByteArrayView id) {
    LineCursor in(content);
    while (!in.atEnd())
        if (lines::isHeader(in.next(), id))
            return true;
    return false;
}

bool hasRegistryEntry(QByteArrayView content, RegistryKind kind, QByteArrayView id) {
    const RulesScan scan = scanRules(content);
    const std::vector<QByteArrayView>& entries = kind == RegistryKind::TeamTypes ? scan.teamTypes
                                                 : kind == RegistryKind::TaskForces
                                                     ? scan.taskForces
                                                     : scan.scriptTypes;
    for (QByteArrayView e : entries)
        if (e == id)
            return true;
    return false;
}

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
    RegistryAddition result;
    const filestore::WriteResult written =
        doc.rewrite([&](const QByteArray& content, const TextCodec& codec) {
            return rewriteLines(content, AddRegistryEntry(registrySection(kind), codec.encode(id),
                                                          doc.count(kind), block, &result));
        });
    if (written.ok())
        doc.setCount(kind, result.count);
    return written;
}

RecordRemoval removeRegistryRecord(RulesDocument& doc, RegistryKind kind, const QString& id) {
    const std::optional<RulesDocument::Content> rules = doc.read();
    if (id.isEmpty() || !rules)
        return {};
    const QByteArray key = rules->codec.encode(id);
    if (!hasRegistryEntry(rules->bytes, kind, key) && !hasSection(rules->bytes, key))
        return {};
    RegistryDeletion result;
    const filestore::WriteResult written =
        doc.rewrite([&](const QByteArray& content, const TextCodec& codec) {
            return rewriteLines(content, DeleteRegistryEntry(registrySection(kind), codec.encode(id),
                                                             doc.count(kind), &result));
        });
    if (written.ok())
        doc.setCount(kind, result.count);
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
