// Feeds arbitrary bytes to every record codec and catalogue reader. The first byte of
// the input picks the codec; the rest is split at its first LF into a key (an ID, a
// trigger key, an action name) and a content (a rules file, a data file, or the fields
// of an edit, one a line). Checks the properties the codecs promise:
// - a trigger line built from an edit reads back as that edit, and rebuilding a line
//   from itself gives the same line;
// - a record (trigger, team type, script, task force) saved unchanged writes nothing,
//   and what a save writes reads back;
// - the catalogue and note readers never fail, and a note put on top is found again.
#include "catalogues/ActionCatalogue.h"
#include "catalogues/IdNotes.h"
#include "catalogues/UnitNameTable.h"
#include "document/IniText.h"
#include "document/Lines.h"
#include "document/TextEncoding.h"
#include "records/RecordLines.h"
#include "records/ScriptExplain.h"

#include <QStringList>

#include <algorithm>

// Last: its macro would clash with names that Qt's headers use.
#include "FuzzCheck.h"

using namespace tarvok;

namespace {

// Lines split at LF, a CR before it dropped, as the editor reads them.
std::vector<QByteArrayView> linesOf(QByteArrayView content) {
    std::vector<QByteArrayView> out;
    LineCursor cursor(content);
    while (!cursor.atEnd())
        out.push_back(cursor.next());
    return out;
}

QByteArray field(const std::vector<QByteArrayView>& fields, size_t i) {
    return i < fields.size() ? fields[i].toByteArray() : QByteArray();
}

bool hasCommaOrLineEnd(QByteArrayView v) {
    return v.contains(',') || v.contains('\n') || v.contains('\r');
}

long long decimal(QByteArrayView digits) {
    long long v = 0;
    for (char c : digits)
        v = v * 10 + (c - '0');
    return v;
}

// ---------------------------------------------------------------- triggers

void fuzzTrigger(QByteArrayView key, QByteArrayView content) {
    // Any line: the reader copes with every shape.
    (void)trigger::readTriggerLine(content);
    (void)trigger::splitFields(content);
    (void)trigger::amountFromBlock(content);
    (void)trigger::amountToHex(key);

    // An edit from the content's lines; the old line is the key line itself.
    const std::vector<QByteArrayView> f = linesOf(content);
    trigger::TriggerEdit e;
    e.key = key.toByteArray();
    e.team1 = field(f, 0);
    e.team2 = field(f, 1);
    e.country = field(f, 2);
    e.tech = field(f, 3);
    e.condition = field(f, 4);
    e.unit = field(f, 5);
    e.amount = field(f, 6);
    e.way = field(f, 7);
    e.base = field(f, 8);
    e.min = field(f, 9);
    e.max = field(f, 10);
    e.owner = field(f, 11);
    const QByteArray flags = field(f, 12);
    e.low = flags.contains('l');
    e.mid = flags.contains('m');
    e.high = flags.contains('h');
    const QByteArray oldLine = field(f, 13);
    if (trigger::checkEdit(e) != trigger::EditProblem::None)
        return;
    for (const QByteArray* v : {&e.key, &e.team1, &e.team2, &e.country, &e.tech, &e.condition,
                                &e.unit, &e.amount, &e.way, &e.base, &e.min, &e.max, &e.owner})
        if (hasCommaOrLineEnd(*v))
            return; // no line can hold these; the window never offers them
    if (e.team1.isEmpty() || e.team2.isEmpty())
        return; // the save puts "<none>" there

    const QByteArray line = trigger::buildTriggerLine(e, oldLine);
    const std::vector<QByteArrayView> fields = trigger::splitFields(line);
    check(fields.size() >= static_cast<size_t>(trigger::kFieldCount));
    check(fields[0] == e.key);
    check(fields[6].size() == trigger::kBlockLength);

    const trigger::TriggerView v = trigger::readTriggerLine(line);
    check(v.country == e.country && v.tech == e.tech && v.condition == e.condition &&
          v.unit == e.unit && v.owner == e.owner && v.way == e.way);
    check(v.low == e.low && v.mid == e.mid && v.high == e.high);
    check(v.amount.has_value());
    check(decimal(*v.amount) == (e.amount.isEmpty() ? 0 : decimal(e.amount)));
    for (const QByteArray* w : {&e.base, &e.min, &e.max})
        if (w->contains('.'))
            return;
    check(v.base == e.base && v.min == e.min && v.max == e.max);
    std::vector<QByteArray> teams;
    for (const QByteArray& t : {e.team1, e.team2})
        if (t != "<none>")
            teams.push_back(t);
    check(v.teams == teams);

    // What the panel does not show is taken from the line being replaced: a line
    // rebuilt from itself is that line.
    check(trigger::buildTriggerLine(e, line) == line);
}

// A trigger saved unchanged writes nothing; a saved field reads back.
void fuzzTriggerEdit(QByteArrayView key, QByteArrayView content) {
    const IniText text(content);
    const std::optional<qsizetype> line = recordlines::findTrigger(text, key);
    if (!line)
        return;
    if (text.key(*line).contains(','))
        return; // the fields would not start at the value
    const QByteArray old = recordlines::triggerLine(text, *line);
    IniEdits unchanged;
    recordlines::editTrigger(text, *line, old, unchanged);
    check(unchanged.isEmpty());

    // The tech level (field 3) changed, or the value replaced whole on a short line.
    std::vector<QByteArrayView> fields = trigger::splitFields(old);
    const QByteArray tech = field(fields, 3) == "7" ? "8" : "7";
    QByteArray changed;
    if (fields.size() > 3) {
        for (size_t i = 0; i < fields.size(); ++i)
            changed += (i ? "," : "") + (i == 3 ? tech : fields[i].toByteArray());
    } else {
        changed = old + ",x,y," + tech;
    }
    IniEdits edits;
    recordlines::editTrigger(text, *line, changed, edits);
    const std::optional<QByteArray> after = applyEdits(text, edits);
    check(after.has_value());
    const IniText now(*after);
    check(now.lineCount() == text.lineCount());
    check(recordlines::triggerLine(now, *line) == changed);
    for (qsizetype i = 0; i < text.lineCount(); ++i)
        check(i == *line || (now.text(i) == text.text(i) && now.lineEnd(i) == text.lineEnd(i)));
}

// ---------------------------------------------------------------- team types

void fuzzTeam(QByteArrayView key, QByteArrayView content) {
    (void)teamtype::keyIndex(key);
    (void)teamtype::techLevelAccepted(QString::fromUtf8(key));
    (void)teamtype::mindControlAccepted(QString::fromUtf8(key));
    (void)teamtype::mindControlDescription(QString::fromUtf8(key));

    // Values from the content's lines, as a control holds them: texts without line ends
    // or comments and with no blanks around them, flags yes or no.
    const std::vector<QByteArrayView> given = linesOf(content);
    teamtype::Values values = teamtype::defaultValues();
    for (int i = 0; i < teamtype::kKeyCount && i < static_cast<int>(given.size()); ++i) {
        const QByteArray v = given[static_cast<size_t>(i)].toByteArray();
        if (v.contains('\n') || v.contains('\r') || v.contains(';') || v.trimmed() != v ||
            v.contains('\t') || v.contains('\v') || v.contains('\f'))
            return;
        if (teamtype::kKeys[i].kind == teamtype::KeyKind::Flag)
            values[i] = v.isEmpty() ? "no" : "yes";
        else if (teamtype::kKeys[i].kind == teamtype::KeyKind::Text)
            values[i] = v;
    }
    // The block of a new team type reads back as the values it was built from.
    const std::vector<QByteArray> block = teamtype::buildBlock(values);
    check(block.size() == static_cast<size_t>(teamtype::kKeyCount));
    QByteArray section = "[T]\r\n";
    for (const QByteArray& l : block)
        section += l + "\r\n";
    const recordlines::TeamLines team = recordlines::readTeam(IniText(section), "T");
    check(team.found);
    for (const teamtype::Assignment& a : team.assignments) {
        check(a.key >= 0 && a.key < teamtype::kKeyCount);
        if (teamtype::kKeys[a.key].kind == teamtype::KeyKind::Flag)
            check(a.on == (values[a.key] == "yes"));
        else
            check(a.value == values[a.key]);
    }
}

// Every key of a team type saved with the value it holds writes nothing; a saved key
// reads back, whether its line was there or is added.
void fuzzTeamEdit(QByteArrayView key, QByteArrayView content) {
    const IniText text(content);
    const recordlines::TeamLines team = recordlines::readTeam(text, key);
    if (!team.found)
        return;
    IniEdits same;
    for (int k = 0; k < teamtype::kKeyCount; ++k)
        if (const qsizetype line = team.lineOfKey[k]; line >= 0)
            recordlines::editTeamKey(text, team, k, text.value(line), same);
    check(applyEdits(text, same) == content.toByteArray());

    for (const int k : {int(teamtype::Priority), int(teamtype::Suicide)}) {
        IniEdits edits;
        const bool flag = teamtype::kKeys[k].kind == teamtype::KeyKind::Flag;
        recordlines::editTeamKey(text, team, k, flag ? "yes" : "42", edits);
        const std::optional<QByteArray> after = applyEdits(text, edits);
        check(after.has_value());
        const recordlines::TeamLines now = recordlines::readTeam(IniText(*after), key);
        check(now.found && !now.assignments.empty());
        const auto last = std::find_if(now.assignments.rbegin(), now.assignments.rend(),
                                       [k](const teamtype::Assignment& a) { return a.key == k; });
        check(last != now.assignments.rend());
        check(flag ? last->on : last->value == "42");
    }
}

// ---------------------------------------------------------------- task forces, scripts

// A section saved unchanged writes nothing; a new name and an added row read back, and
// every line that is no key line of the section keeps its bytes.
void fuzzNumberedSection(QByteArrayView key, QByteArrayView content, SectionKind kind) {
    const IniText text(content);
    for (Encoding enc : {Encoding::Gbk, Encoding::Utf8}) {
        const TextCodec codec(enc);
        const std::optional<recordlines::SectionLines> old =
            recordlines::readSection(text, key, codec, kind);
        if (!old)
            continue;
        check(old->rows.size() == old->rowLine.size());
        IniEdits unchanged;
        recordlines::editSection(text, *old, old->name, old->rows, old->name, old->rows, codec,
                                 unchanged);
        check(unchanged.isEmpty());

        std::vector<SectionRow> rows = old->rows;
        const QString number = QStringLiteral("9999");
        if (std::any_of(rows.begin(), rows.end(),
                        [&](const SectionRow& r) { return r.number == number; }))
            continue;
        rows.push_back({number, QStringLiteral("1"), QStringLiteral("E1")});
        const QString name =
            old->name == QStringLiteral("N") ? QStringLiteral("M") : QStringLiteral("N");
        IniEdits edits;
        recordlines::editSection(text, *old, old->name, old->rows, name, rows, codec, edits);
        const std::optional<QByteArray> after = applyEdits(text, edits);
        check(after.has_value());
        const std::optional<recordlines::SectionLines> now =
            recordlines::readSection(IniText(*after), key, codec, kind);
        check(now.has_value());
        check(now->name == name);
        check(now->rows == rows);
    }
}

// ---------------------------------------------------------------- catalogues

QStringList decodedLines(QByteArrayView content) {
    const QString text = TextCodec(detectEncoding(content)).decode(content);
    return text.split(QLatin1Char('\n'));
}

void fuzzCatalogues(QByteArrayView key, QByteArrayView content) {
    const QStringList ls = decodedLines(content);
    const QString k = QString::fromUtf8(key);
    (void)catalogue::trimBlanks(k);
    (void)catalogue::actionChoices(ls, k);
    for (const QString& l : ls)
        (void)catalogue::choiceText(l);
    (void)catalogue::buildingNames(ls);
    (void)catalogue::lastValueOf(ls, k);
    (void)catalogue::lastKeyOf(ls, k);

    const unitnames::ChoiceLists lists = unitnames::choiceLists(ls);
    check(lists.ids.size() >= lists.names.size());
    for (const QString& l : ls)
        (void)unitnames::parseLine(l);
    (void)unitnames::idOf(ls, unitnames::nameOf(ls, k));
    (void)unitnames::idOf(ls, k);

    (void)idnotes::noteOf(ls, k);
    (void)idnotes::hasNote(ls, k);
    (void)scripts::numericValue(k);
    (void)scripts::explainParameter(k, ls.value(0));
    (void)scripts::chooseParameter(k, ls.value(0));
    (void)scripts::actionByName(k);
    (void)scripts::actionByNumber(scripts::numericValue(k));
}

void fuzzNotes(QByteArrayView key, QByteArrayView content) {
    if (key.contains(',') || key.contains('\n') || key.contains('\r'))
        return;
    // An ID that starts with the bytes of a byte-order mark turns into one at the top
    // of a file that has none; only a typed U+FEFF makes such an ID.
    if (key.startsWith(kUtf8Bom))
        return;
    const QByteArray note = key.toByteArray() + ",note";
    const QByteArray top = idnotes::withLineOnTop(content, note);
    const qsizetype start = content.startsWith(kUtf8Bom) ? kUtf8Bom.size() : 0;
    check(top.sliced(start).startsWith(note + "\r\n"));
    const idnotes::Removal removed = idnotes::withoutNotesOf(top, key);
    check(removed.dropped >= 1);
    // Dropping the notes of an ID never touches a line of another. (Bytes of a
    // byte-order mark inside the file, as two joined files have, count as one once the
    // lines above them are gone.)
    if (top.indexOf(kUtf8Bom, 1) >= 0)
        return;
    const idnotes::Removal again = idnotes::withoutNotesOf(removed.content, key);
    check(again.dropped == 0 && again.content == removed.content);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const QByteArrayView all(reinterpret_cast<const char*>(data) + 1,
                             static_cast<qsizetype>(size - 1));
    const qsizetype nl = all.indexOf('\n');
    const QByteArrayView key = nl < 0 ? all : all.first(nl);
    const QByteArrayView content = nl < 0 ? QByteArrayView() : all.sliced(nl + 1);
    switch (data[0] % 8) {
    case 0:
        fuzzTrigger(key, content);
        break;
    case 1:
        fuzzTriggerEdit(key, content);
        break;
    case 2:
        fuzzTeam(key, content);
        break;
    case 3:
        fuzzTeamEdit(key, content);
        break;
    case 4:
        fuzzNumberedSection(key, content, SectionKind::Script);
        break;
    case 5:
        fuzzNumberedSection(key, content, SectionKind::TaskForce);
        break;
    case 6:
        fuzzCatalogues(key, content);
        break;
    default:
        fuzzNotes(key, content);
        break;
    }
    return 0;
}
