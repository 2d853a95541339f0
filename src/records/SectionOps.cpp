// Loading and saving a task force or a script: its Name and its numbered rows.
#include "document/Logging.h"
#include "records/FieldRules.h"
#include "records/RecordLines.h"
#include "records/RecordOps.h"

namespace tarvok::records {
namespace {

SectionRecord loadSection(const RulesIndex& index, SectionKind kind, const QString& id) {
    const TextCodec& codec = index.codec();
    const IniText& text = index.text();
    const std::optional<recordlines::SectionLines> found =
        id.isEmpty()
            ? std::nullopt
            : recordlines::readSection(text, index.sections(codec.encode(id)), codec, kind);
    // A record the file does not have (or not as a task force or script) shows as a new,
    // empty one: no name, no rows.
    SectionRecord r;
    if (!found)
        return r;
    r.found = true;
    for (qsizetype line : found->lines)
        r.decodes = r.decodes && codec.roundTrips(text.text(line));
    r.fields = {found->name, found->rows};
    return r;
}

RecordSave saveSection(RulesDocument& doc, SectionKind kind, const QString& id,
                       const SectionFields& loaded, const SectionFields& now) {
    RecordSave r;
    QStringList numbers;
    for (const SectionRow& row : now.rows)
        numbers << row.number;
    if (!fieldrules::rowNumberingFits(numbers)) {
        r.refused = true;
        qCDebug(lcRecords) << "save refused:" << id;
        return r;
    }
    r.write = doc.edit(
        [&](const QByteArray& content, const TextCodec& codec) {
            return mergeSection(content, codec, kind, id, loaded, now, &r.found);
        },
        RulesDocument::Change::of({id}));
    return r;
}

} // namespace

SectionRecord LoadTaskForce(const RulesIndex& index, const QString& id) {
    return loadSection(index, SectionKind::TaskForce, id);
}

SectionRecord LoadScriptType(const RulesIndex& index, const QString& id) {
    return loadSection(index, SectionKind::Script, id);
}

std::optional<QByteArray> mergeSection(QByteArrayView content, const TextCodec& codec,
                                       SectionKind kind, const QString& id,
                                       const SectionFields& loaded, const SectionFields& now,
                                       bool* found) {
    const QByteArray section = codec.encode(id);
    const recordlines::SectionSlice slice(content, section);
    const std::optional<recordlines::SectionLines> old =
        recordlines::readSection(slice.text(), section, codec, kind);
    *found = old.has_value();
    if (!old)
        return std::nullopt;
    IniEdits edits;
    recordlines::editSection(slice.text(), *old, loaded.name, loaded.rows, now.name, now.rows,
                             codec, edits);
    if (edits.isEmpty())
        return std::nullopt;
    return slice.apply(content, edits);
}

RecordSave SaveTaskForce(RulesDocument& doc, const QString& id, const SectionFields& loaded,
                         const SectionFields& now) {
    return saveSection(doc, SectionKind::TaskForce, id, loaded, now);
}

RecordSave SaveScriptType(RulesDocument& doc, const QString& id, const SectionFields& loaded,
                          const SectionFields& now) {
    return saveSection(doc, SectionKind::Script, id, loaded, now);
}

RecordAdd AddTaskForce(RulesDocument& doc, const QString& id, const QStringList& listed) {
    return addRecord(doc, RegistryKind::TaskForces, id, listed, {"Name=", "Group=-1"});
}

RecordAdd AddScriptType(RulesDocument& doc, const QString& id, const QStringList& listed) {
    return addRecord(doc, RegistryKind::ScriptTypes, id, listed, {"Name="});
}

RecordRemoval DeleteTaskForce(RulesDocument& doc, const QString& id) {
    return removeRegistryRecord(doc, RegistryKind::TaskForces, id);
}

RecordRemoval DeleteScriptType(RulesDocument& doc, const QString& id) {
    return removeRegistryRecord(doc, RegistryKind::ScriptTypes, id);
}

} // namespace tarvok::records
