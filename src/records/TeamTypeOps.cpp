// Loading and saving a team type: the 31 keys of its section.
#include "records/FieldRules.h"
#include "records/RecordLines.h"
#include "records/RecordOps.h"

namespace tarvok::records {
namespace {

namespace tt = teamtype;

bool isFixed(int key) {
    return tt::kKeys[key].kind == tt::KeyKind::Fixed;
}

} // namespace

TeamFields newTeamFields() {
    const tt::Values defaults = tt::defaultValues();
    TeamFields f;
    for (int k = 0; k < tt::kKeyCount; ++k)
        if (!isFixed(k)) // the defaults are plain ASCII
            f[k] = QString::fromLatin1(defaults[k]);
    return f;
}

TeamTypeRecord LoadTeamType(const RulesIndex& index, const QString& id) {
    // A key the section lacks, or a team type the file does not have, shows what a new
    // team type has, never the value of the team type shown before.
    TeamTypeRecord r;
    r.fields = newTeamFields();
    const TextCodec& codec = index.codec();
    const IniText& text = index.text();
    const recordlines::TeamLines team =
        recordlines::readTeam(text, index.sections(codec.encode(id)));
    r.found = team.found;
    for (qsizetype line : team.lines)
        r.decodes = r.decodes && codec.roundTrips(text.text(line));
    for (const tt::Assignment& a : team.assignments) {
        if (tt::kKeys[a.key].kind == tt::KeyKind::Flag)
            r.fields[a.key] = a.on ? QStringLiteral("yes") : QStringLiteral("no");
        else
            r.fields[a.key] = codec.decode(a.value);
    }
    return r;
}

std::optional<QByteArray> mergeTeamType(QByteArrayView content, const TextCodec& codec,
                                        const QString& id, const TeamFields& loaded,
                                        const TeamFields& now, bool* found) {
    const QByteArray section = codec.encode(id);
    const recordlines::SectionSlice slice(content, section);
    const recordlines::TeamLines team = recordlines::readTeam(slice.text(), section);
    *found = team.found;
    if (!team.found)
        return std::nullopt;
    // Only the keys whose values changed since the load are written: a changed value
    // replaces its own text; a key the section lacks gets a line after its last key.
    // Unknown keys and the fixed ones are never touched.
    IniEdits edits;
    for (int k = 0; k < tt::kKeyCount; ++k)
        if (!isFixed(k) && now[k] != loaded[k])
            recordlines::editTeamKey(slice.text(), team, k, codec.encode(now[k]), edits);
    if (edits.isEmpty())
        return std::nullopt;
    return slice.apply(content, edits);
}

RecordSave SaveTeamType(RulesDocument& doc, const QString& id, const TeamFields& loaded,
                        const TeamFields& now) {
    RecordSave r;
    r.write = doc.edit(
        [&](const QByteArray& content, const TextCodec& codec) {
            return mergeTeamType(content, codec, id, loaded, now, &r.found);
        },
        RulesDocument::Change::of({id}));
    return r;
}

RecordAdd AddTeamType(RulesDocument& doc, const QString& id, const QStringList& listed) {
    return addRecord(doc, RegistryKind::TeamTypes, id, listed, tt::defaultBlock());
}

RecordRemoval DeleteTeamType(RulesDocument& doc, const QString& id) {
    return removeRegistryRecord(doc, RegistryKind::TeamTypes, id);
}

} // namespace tarvok::records
