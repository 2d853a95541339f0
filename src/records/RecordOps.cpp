// The operations every kind shares: adding a registry's record, and whole chains.
#include "records/RecordOps.h"

#include "records/FieldRules.h"

#include <limits>

namespace tarvok::records {

RecordAdd addChecked(RulesDocument& doc, fieldrules::IdCheck check,
                     const std::function<filestore::WriteResult()>& write) {
    switch (check) {
    case fieldrules::IdCheck::Invalid:
        return {RecordAdd::Invalid, {}};
    case fieldrules::IdCheck::Duplicate:
        return {RecordAdd::Duplicate, {}};
    case fieldrules::IdCheck::Ok:
        break;
    }
    if (!doc.isOpen())
        return {};
    const filestore::WriteResult written = write();
    return {written.ok() ? RecordAdd::Added : RecordAdd::Failed, written};
}

RecordAdd addRecord(RulesDocument& doc, RegistryKind kind, const QString& id,
                    const QStringList& listed, const std::vector<QByteArray>& block) {
    // A new record never shares a section with an old one, of whatever kind.
    fieldrules::IdCheck check = fieldrules::checkNewRecordId(id, listed);
    if (check == fieldrules::IdCheck::Ok && recordIdInUse(doc, id))
        check = fieldrules::IdCheck::Duplicate;
    // The registry counters are 16-bit: a full registry takes no more entries rather
    // than writing a negative number into the file.
    if (check == fieldrules::IdCheck::Ok && doc.count(kind) == std::numeric_limits<qint16>::max())
        return {RecordAdd::Full, {}};
    return addChecked(doc, check, [&] { return addRegistryRecord(doc, kind, id, block); });
}

namespace {

chain::RegistryCounts countsOf(const RulesDocument& doc) {
    return {doc.count(RegistryKind::TeamTypes), doc.count(RegistryKind::TaskForces),
            doc.count(RegistryKind::ScriptTypes)};
}

// One write of a chain: the content read as lines once (the document's own reading when
// the file holds what it read), the counters raised by what was added.
ChainCopy writeChain(RulesDocument& doc,
                     const std::function<chain::ChainWrite(const IniText&, const TextCodec&,
                                                           const chain::RegistryCounts&)>& make) {
    ChainCopy r;
    chain::RegistryCounts added;
    r.write = doc.edit([&](const QByteArray& content,
                           const TextCodec& codec) -> std::optional<QByteArray> {
        const std::shared_ptr<const RulesIndex> known = doc.index();
        const bool same = known && known->bytes() == content;
        const std::optional<IniText> fresh = same ? std::nullopt : std::optional<IniText>(content);
        chain::ChainWrite w = make(same ? known->text() : *fresh, codec, countsOf(doc));
        r.refused = w.refused;
        added = w.added;
        if (w.refused || w.content == content) // nothing ticked writes nothing
            return std::nullopt;
        return std::move(w.content);
    });
    if (r.write.ok() && !r.refused) {
        doc.setCount(RegistryKind::TeamTypes, doc.count(RegistryKind::TeamTypes) + added.teamTypes);
        doc.setCount(RegistryKind::TaskForces,
                     doc.count(RegistryKind::TaskForces) + added.taskForces);
        doc.setCount(RegistryKind::ScriptTypes,
                     doc.count(RegistryKind::ScriptTypes) + added.scriptTypes);
    }
    return r;
}

} // namespace

ChainCopy CopyChain(RulesDocument& doc, const std::vector<chain::ChainRow>& rows) {
    return writeChain(
        doc, [&](const IniText& text, const TextCodec& codec, const chain::RegistryCounts& counts) {
            return chain::copyChain(text, codec, rows, counts);
        });
}

ChainCopy NewChain(RulesDocument& doc, const std::vector<chain::ChainRow>& rows,
                   const trigger::FiringTrigger& firing) {
    return writeChain(
        doc, [&](const IniText& text, const TextCodec& codec, const chain::RegistryCounts& counts) {
            return chain::createChain(text, codec, rows, counts, firing);
        });
}

} // namespace tarvok::records
