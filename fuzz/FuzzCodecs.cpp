// Feeds arbitrary bytes to every record codec and catalogue reader. The first byte of
// the input picks the codec; the rest is split at its first LF into a key (an ID, a
// trigger key, an action name) and a content (a rules file, a data file, or the fields
// of an edit, one a line). Checks the properties the codecs promise:
// - a trigger line built from an edit reads back as that edit, and rebuilding a line
//   from itself gives the same line;
// - the trigger lines the load finds are exactly those the save replaces;
// - a team body keeps every line of a key it does not know, the block reads back as
//   the values it was built from, and the one-pass section rewrite gives the same bytes
//   as the line-by-line one;
// - a script or task force section rebuilt from itself keeps every line;
// - the catalogue and note readers never fail, and a note put on top is found again.
#include "catalogues/ActionCatalogue.h"
#include "catalogues/IdNotes.h"
#include "catalogues/UnitNameTable.h"
#include "document/Lines.h"
#include "document/Rewrite.h"
#include "document/TextEncoding.h"
#include "records/ScriptExplain.h"
#include "records/ScriptSection.h"
#include "records/TaskForceSection.h"
#include "records/TeamTypeSection.h"
#include "records/TriggerLine.h"

#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <set>

using namespace tarvok;

namespace {

// A broken promise: names the check before aborting, so a crash report says which.
#define check(ok)                                                                        \
    do {                                                                                 \
        if (!(ok)) {                                                                     \
            std::fprintf(stderr, "check failed at line %d: %s\n", __LINE__, #ok);        \
            std::abort();                                                                \
        }                                                                                \
    } while (false)

// Lines split at LF, a CR before it dropped, as the editor reads them.
std::vector<QByteArrayView> linesOf(QByteArrayView content) { return splitLines(content); }

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

// The load finds exactly the lines the save replaces, in order.
void fuzzTriggerSearch(QByteArrayView key, QByteArrayView content) {
    const std::vector<QByteArrayView> found = trigger::findTriggerLines(content, key);
    std::vector<QByteArray> replaced;
    (void)rewriteLines(content, ReplaceTriggerLine(key.toByteArray(), [&replaced](QByteArrayView old) {
                           replaced.push_back(old.toByteArray());
                           return old.toByteArray();
                       }));
    check(found.size() == replaced.size());
    for (size_t i = 0; i < found.size(); ++i) {
        check(found[i] == replaced[i]);
        check(lines::before(found[i], ',') == key);
    }
}

// ---------------------------------------------------------------- team types

void fuzzTeam(QByteArrayView key, QByteArrayView content) {
    const std::vector<QByteArrayView> body = linesOf(content);
    (void)teamtype::parseBody(body);
    (void)teamtype::lineKey(key);
    (void)teamtype::keyIndex(key);
    (void)teamtype::techLevelAccepted(QString::fromUtf8(key));
    (void)teamtype::mindControlAccepted(QString::fromUtf8(key));
    (void)teamtype::mindControlDescription(QString::fromUtf8(key));

    // Values from the body's lines: texts without line ends, flags yes or no.
    teamtype::Values values = teamtype::defaultValues();
    for (int i = 0; i < teamtype::kKeyCount && i < static_cast<int>(body.size()); ++i) {
        const QByteArray v = body[static_cast<size_t>(i)].toByteArray();
        if (v.contains('\n') || v.contains('\r'))
            return;
        if (teamtype::kKeys[i].kind == teamtype::KeyKind::Flag)
            values[i] = v.isEmpty() ? "no" : "yes";
        else if (teamtype::kKeys[i].kind == teamtype::KeyKind::Text)
            values[i] = v;
    }
    const std::vector<QByteArray> block = teamtype::buildBlock(values);
    check(block.size() == static_cast<size_t>(teamtype::kKeyCount));
    std::vector<QByteArrayView> blockViews(block.begin(), block.end());
    for (const teamtype::Assignment& a : teamtype::parseBody(blockViews)) {
        check(a.key >= 0 && a.key < teamtype::kKeyCount);
        if (teamtype::kKeys[a.key].kind == teamtype::KeyKind::Flag)
            check(a.on == (values[a.key] == "yes"));
        else
            check(a.value == values[a.key]);
    }

    // The save's body: the block, then every line of an unknown key, in order.
    const std::vector<QByteArray> saved = teamtype::buildBody(values, body);
    check(saved.size() >= block.size());
    check(std::equal(block.begin(), block.end(), saved.begin()));
    size_t next = block.size();
    for (QByteArrayView l : body) {
        if (teamtype::isKnownKeyAnyCase(teamtype::lineKey(l)))
            continue;
        check(next < saved.size() && saved[next] == l);
        ++next;
    }
    check(next == saved.size());
}

// The section bodies found are the bodies the line rewrite hands over.
void fuzzTeamSections(QByteArrayView key, QByteArrayView content) {
    std::vector<std::vector<QByteArray>> seen;
    const auto makeBody = [&seen](const std::vector<QByteArrayView>& old) {
        std::vector<QByteArray> copy;
        for (QByteArrayView l : old)
            copy.push_back(l.toByteArray());
        seen.push_back(copy);
        copy.push_back("Added=1");
        return copy;
    };
    (void)rewriteLines(content, ReplaceSectionBody(key.toByteArray(), makeBody));

    const std::vector<std::vector<QByteArrayView>> found = teamtype::findSectionBodies(content, key);
    check(found.size() == seen.size());
    for (size_t i = 0; i < found.size(); ++i) {
        check(found[i].size() == seen[i].size());
        for (size_t j = 0; j < found[i].size(); ++j)
            check(found[i][j] == seen[i][j]);
    }
}

// ---------------------------------------------------------------- task forces, scripts

// The key lines right after the only header [id], when "[id]" occurs once in the file.
std::optional<std::vector<QByteArrayView>> onlyBody(QByteArrayView content, QByteArrayView id) {
    if (content.count(QByteArray("[" + id.toByteArray() + "]")) != 1)
        return std::nullopt;
    const std::vector<std::vector<QByteArrayView>> bodies = teamtype::findSectionBodies(content, id);
    if (bodies.size() != 1)
        return std::nullopt;
    return bodies.front();
}

void fuzzNumberedSection(QByteArrayView key, QByteArrayView content, SectionKind kind) {
    for (Encoding enc : {Encoding::Gbk, Encoding::Utf8}) {
        const TextCodec codec(enc);
        (void)splitSectionRow(content, codec);
        const std::optional<SectionRecord> r =
            kind == SectionKind::Script ? readScriptSection(content, key, codec)
                                        : readTaskForceSection(content, key, codec);
        if (!r)
            continue;
        // Every row reads back as itself once joined.
        std::set<QString> numbers;
        bool distinct = true;
        const auto survives = [&codec](const QString& t) { return codec.decode(codec.encode(t)) == t; };
        for (const SectionRow& row : r->rows) {
            const QByteArray joined = joinSectionRow(row, codec);
            // A row whose texts the encoding cannot write (bytes that decoded to
            // replacement characters, taken over from a duplicate) cannot read back.
            if (survives(row.number) && survives(row.first) && survives(row.second) &&
                !row.first.contains(QLatin1Char(',')) && !row.number.contains(QLatin1Char('=')))
                check(splitSectionRow(joined, codec) == row);
            distinct = numbers.insert(row.number).second && distinct;
        }
        const std::vector<QByteArray> block =
            kind == SectionKind::Script ? scriptBlock(*r, codec) : taskForceBlock(*r, codec);
        check(block.size() == r->rows.size() + (kind == SectionKind::Script ? 1 : 2));

        // A body rebuilt from itself keeps every line: with one section whose rows have
        // distinct numbers, the block is the body (a task force's Group lines gathered
        // into the one closing line).
        const std::optional<std::vector<QByteArrayView>> body = onlyBody(content, key);
        if (!distinct || !body || body->empty() || !body->front().contains("Name"))
            continue;
        std::vector<QByteArray> expected;
        bool hasGroup = false;
        for (size_t i = 0; i < body->size(); ++i) {
            const QByteArrayView l = (*body)[i];
            if (kind == SectionKind::TaskForce && i > 0 && isGroupLine(l)) {
                hasGroup = true;
                continue;
            }
            expected.push_back(l.toByteArray());
        }
        if (kind == SectionKind::TaskForce) {
            if (!hasGroup)
                continue; // a task force without its closing line gains one
            expected.push_back("Group=-1");
        }
        check(block == expected);
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
    const QByteArrayView all(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));
    const qsizetype nl = all.indexOf('\n');
    const QByteArrayView key = nl < 0 ? all : all.first(nl);
    const QByteArrayView content = nl < 0 ? QByteArrayView() : all.sliced(nl + 1);
    switch (data[0] % 8) {
    case 0: fuzzTrigger(key, content); break;
    case 1: fuzzTriggerSearch(key, content); break;
    case 2: fuzzTeam(key, content); break;
    case 3: fuzzTeamSections(key, content); break;
    case 4: fuzzNumberedSection(key, content, SectionKind::Script); break;
    case 5: fuzzNumberedSection(key, content, SectionKind::TaskForce); break;
    case 6: fuzzCatalogues(key, content); break;
    default: fuzzNotes(key, content); break;
    }
    return 0;
}
