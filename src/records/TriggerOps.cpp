// Loading and saving an AI trigger: one key line of [AITriggerTypes].
#include "document/Lines.h"
#include "document/Logging.h"
#include "records/FieldRules.h"
#include "records/RecordLines.h"
#include "records/RecordOps.h"

namespace tarvok::records {
namespace {

constexpr QByteArrayView kTriggerSection("AITriggerTypes");

// The line of the trigger listed as key. A key whose bytes did not decode is looked for as
// the text the list shows.
std::optional<qsizetype> lineOf(const IniText& text, const TextCodec& codec, const QString& key) {
    std::optional<qsizetype> line = recordlines::findTrigger(text, codec.encode(key));
    if (!line && key.contains(QChar::ReplacementCharacter))
        line = recordlines::findTrigger(text, key, codec);
    return line;
}

// The fields of a line over what is there already: a field the line lacks leaves it.
void overlay(TriggerFields& f, const trigger::TriggerView& v, const TextCodec& codec) {
    const auto set = [&codec](QString& field, const std::optional<QByteArray>& value) {
        if (value)
            field = codec.decode(*value);
    };
    const auto setFlag = [](bool& field, std::optional<bool> value) {
        if (value)
            field = *value;
    };
    f.teams.clear();
    for (const QByteArray& team : v.teams)
        f.teams << codec.decode(team);
    set(f.country, v.country);
    set(f.tech, v.tech);
    set(f.condition, v.condition);
    set(f.unit, v.unit);
    set(f.amount, v.amount);
    set(f.way, v.way);
    set(f.base, v.base);
    set(f.min, v.min);
    set(f.max, v.max);
    set(f.owner, v.owner);
    setFlag(f.low, v.low);
    setFlag(f.mid, v.mid);
    setFlag(f.high, v.high);
}

// The values as a save writes them, in codec; a slot without a team writes "<none>".
trigger::TriggerEdit encoded(const QString& key, const TriggerFields& f, const TextCodec& codec) {
    const auto e = [&codec](const QString& s) { return codec.encode(s); };
    trigger::TriggerEdit out;
    out.key = e(key);
    const auto team = [&](qsizetype i) {
        return f.teams.size() > i && !f.teams[i].isEmpty() ? e(f.teams[i])
                                                           : QByteArray(trigger::kNoTeam);
    };
    out.team1 = team(0);
    out.team2 = team(1);
    out.country = e(f.country);
    out.tech = e(f.tech);
    out.condition = e(f.condition);
    out.unit = e(f.unit);
    out.amount = e(f.amount);
    out.way = e(f.way);
    out.base = e(f.base);
    out.min = e(f.min);
    out.max = e(f.max);
    out.owner = e(f.owner);
    out.low = f.low;
    out.mid = f.mid;
    out.high = f.high;
    return out;
}

const TextCodec& utf8() {
    static const TextCodec codec(Encoding::Utf8);
    return codec;
}

} // namespace

TriggerRecord LoadTrigger(const RulesIndex& index, const QString& key) {
    return LoadTrigger(index, key, index.codec());
}

TriggerRecord LoadTrigger(const RulesIndex& index, const QString& key, const TextCodec& codec) {
    // What a new trigger has, first: a line too short to hold a field, or no line at all,
    // never leaves another trigger's value on show.
    static const TriggerFields kNew = [] {
        TriggerFields f;
        overlay(f, trigger::readTriggerLine(trigger::newTriggerLine("x")), utf8());
        return f;
    }();
    TriggerRecord r;
    r.fields = kNew;
    const IniText& text = index.text();
    const QByteArray entry = codec.encode(key);
    std::optional<qsizetype> line =
        recordlines::findTrigger(text, index.triggerLines(lines::before(entry, '=')), entry);
    if (!line && key.contains(QChar::ReplacementCharacter))
        line = lineOf(text, codec, key);
    if (line) {
        r.found = true;
        r.decodes = codec.roundTrips(text.text(*line));
        overlay(r.fields, trigger::readTriggerLine(recordlines::triggerLine(text, *line)), codec);
    }
    return r;
}

std::optional<QByteArray> mergeTrigger(QByteArrayView content, const TextCodec& codec,
                                       const QString& key, const TriggerFields& loaded,
                                       const TriggerFields& now, bool* found) {
    const recordlines::SectionSlice slice(content, kTriggerSection);
    const IniText& text = slice.text();
    const std::optional<qsizetype> line = lineOf(text, codec, key);
    *found = line.has_value();
    if (!line)
        return std::nullopt;
    IniEdits edits;
    editTriggerFields(text, *line, codec, key, loaded, now, edits);
    if (edits.isEmpty())
        return std::nullopt;
    return slice.apply(content, edits);
}

bool editTriggerFields(const IniText& text, qsizetype line, const TextCodec& codec,
                       const QString& key, const TriggerFields& loaded, const TriggerFields& now,
                       IniEdits& edits) {
    // The check looks at commas, digits and empty fields only, which every encoding
    // writes alike.
    const trigger::TriggerEdit loadedEdit = encoded({}, loaded, utf8());
    if (trigger::checkEdit(encoded(key, now, utf8()), &loadedEdit) != trigger::EditProblem::None)
        return false;
    // Only the fields whose values changed since the load are written; every other byte of
    // the line (spacing, comment, the exact text of the other fields) stays. Which changed
    // is told the same in every encoding.
    const trigger::ChangedFields changed =
        trigger::changedFields(encoded({}, now, utf8()), loadedEdit);
    const QByteArray newLine = trigger::buildChangedTriggerLine(
        encoded(key, now, codec), changed, recordlines::triggerLine(text, line));
    recordlines::editTrigger(text, line, newLine, edits);
    return true;
}

RecordSave SaveTrigger(RulesDocument& doc, const QString& key, const TriggerFields& loaded,
                       const TriggerFields& now) {
    RecordSave r;
    // A line that cannot be written whole is not written at all. The check looks at
    // commas, digits and empty fields only, which every encoding writes alike.
    const trigger::TriggerEdit loadedEdit = encoded({}, loaded, utf8());
    if (trigger::checkEdit(encoded(key, now, utf8()), &loadedEdit) != trigger::EditProblem::None) {
        r.refused = true;
        qCDebug(lcRecords) << "save refused:" << key;
        return r;
    }
    r.write = doc.edit(
        [&](const QByteArray& content, const TextCodec& codec) {
            return mergeTrigger(content, codec, key, loaded, now, &r.found);
        },
        RulesDocument::Change::of({key}));
    return r;
}

RecordAdd AddTrigger(RulesDocument& doc, const QString& key, const QStringList& listed) {
    return addChecked(doc, fieldrules::checkNewTriggerKey(key, listed),
                      [&] { return addTriggerRecord(doc, key); });
}

RecordRemoval DeleteTrigger(RulesDocument& doc, const QString& key) {
    return removeTriggerRecord(doc, key);
}

} // namespace tarvok::records
