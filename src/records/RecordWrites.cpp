#include "records/RecordWrites.h"

#include "records/Registry.h"
#include "records/TriggerLine.h"

namespace tarvok {

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

filestore::WriteResult removeRegistryRecord(RulesDocument& doc, RegistryKind kind,
                                            const QString& id) {
    if (id.isEmpty())
        return {}; // no ID, nothing to delete
    RegistryDeletion result;
    const filestore::WriteResult written =
        doc.rewrite([&](const QByteArray& content, const TextCodec& codec) {
            return rewriteLines(content, DeleteRegistryEntry(registrySection(kind), codec.encode(id),
                                                             doc.count(kind), &result));
        });
    if (written.ok())
        doc.setCount(kind, result.count);
    return written;
}

filestore::WriteResult addTriggerRecord(RulesDocument& doc, const QString& key) {
    return doc.rewrite([&key](const QByteArray& content, const TextCodec& codec) {
        return rewriteLines(content,
                            InsertAfterHeader("AITriggerTypes", trigger::newTriggerLine(codec.encode(key))));
    });
}

filestore::WriteResult removeTriggerRecord(RulesDocument& doc, const QString& key) {
    return doc.rewrite([&key](const QByteArray& content, const TextCodec& codec) {
        return rewriteLines(content, RemoveTriggerLines(codec.encode(key)));
    });
}

} // namespace tarvok
