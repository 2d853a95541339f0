#include "records/RecordLines.h"

#include "document/Lines.h"

namespace tarvok::recordlines {
namespace {

constexpr QByteArrayView kTriggers("AITriggerTypes");

QByteArrayView firstField(QByteArrayView value) {
    return lines::trimBlanks(lines::before(value, ','));
}

// The blanks a line starts with.
QByteArrayView indentation(QByteArrayView line) {
    qsizetype n = 0;
    while (n < line.size() && (line[n] == ' ' || line[n] == '\t'))
        ++n;
    return line.first(n);
}

std::optional<qsizetype>
lastTrigger(const IniText& text,
            const std::function<bool(QByteArrayView key, QByteArrayView name)>& matches) {
    std::optional<qsizetype> found;
    for (const IniText::Section& s : text.sections()) {
        if (s.name != kTriggers)
            continue;
        for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i)
            if (text.kind(i) == IniText::Kind::Key &&
                matches(text.key(i), firstField(text.value(i))))
                found = i;
    }
    return found;
}

bool isRowKey(QByteArrayView key) {
    if (key.isEmpty())
        return false;
    for (char c : key)
        if (c < '0' || c > '9')
            return false;
    return true;
}

QByteArray rowText(const SectionRow& row, const TextCodec& codec) {
    return codec.encode(row.number) + '=' + codec.encode(row.first) + ',' +
           codec.encode(row.second);
}

// A row's line from its key to the end of its value: what a changed row rewrites.
IniText::Range rowRange(const IniText& text, qsizetype line) {
    const qsizetype begin = indentation(text.text(line)).size();
    const IniText::Range value = text.valueRange(line);
    return {begin, value.begin + value.length - begin};
}

} // namespace

// ---------------------------------------------------------------- a part of the file

SectionSlice::SectionSlice(QByteArrayView content, QByteArrayView name)
    : span_(sectionSpan(content, name)), text_(content.sliced(span_.begin, span_.length)) {}

std::optional<QByteArray> SectionSlice::apply(QByteArrayView content, const IniEdits& edits) const {
    const std::optional<QByteArray> part = applyEdits(text_, edits);
    if (!part)
        return std::nullopt;
    QByteArray out;
    out.reserve(content.size() - span_.length + part->size());
    out += content.first(span_.begin);
    out += *part;
    out += content.sliced(span_.begin + span_.length);
    return out;
}

// ---------------------------------------------------------------- triggers

std::optional<qsizetype> findTrigger(const IniText& text, QByteArrayView entry) {
    const QByteArrayView id = lines::before(entry, '=');
    const QByteArrayView name = lines::after(entry, '=');
    return lastTrigger(text,
                       [&](QByteArrayView k, QByteArrayView n) { return k == id && n == name; });
}

std::optional<qsizetype> findTrigger(const IniText& text, const std::vector<qsizetype>& lines,
                                     QByteArrayView entry) {
    const QByteArrayView name = lines::after(entry, '=');
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        if (firstField(text.value(*it)) == name)
            return *it;
    return std::nullopt;
}

std::optional<qsizetype> findTrigger(const IniText& text, const QString& entry,
                                     const TextCodec& codec) {
    return lastTrigger(text, [&](QByteArrayView k, QByteArrayView n) {
        return codec.decode(k) + QLatin1Char('=') + codec.decode(n) == entry;
    });
}

std::vector<IniText::Range> valueFields(const IniText& text, qsizetype line) {
    const IniText::Range value = text.valueRange(line);
    const QByteArrayView v = text.text(line).sliced(value.begin, value.length);
    std::vector<IniText::Range> out;
    qsizetype from = 0;
    for (;;) {
        const qsizetype comma = v.indexOf(',', from);
        const qsizetype end = comma < 0 ? v.size() : comma;
        out.push_back({value.begin + from, end - from});
        if (comma < 0)
            return out;
        from = comma + 1;
    }
}

QByteArray triggerLine(const IniText& text, qsizetype line) {
    return text.key(line).toByteArray() + '=' + text.value(line).toByteArray();
}

void editTrigger(const IniText& text, qsizetype line, QByteArrayView newLine, IniEdits& edits) {
    const QByteArray old = triggerLine(text, line);
    const std::vector<QByteArrayView> was = trigger::splitFields(old);
    const std::vector<QByteArrayView> now = trigger::splitFields(newLine);
    const std::vector<IniText::Range> fields = valueFields(text, line);
    if (was.size() != now.size() || fields.size() != was.size()) {
        edits.replaceInLine(line, text.valueRange(line), lines::after(newLine, '=').toByteArray());
        return;
    }
    // Field 0 is "ID=name": the key is never edited, the name is value field 0.
    for (size_t i = 1; i < now.size(); ++i)
        if (was[i] != now[i])
            edits.replaceInLine(line, fields[i], now[i].toByteArray());
}

// ---------------------------------------------------------------- team types

bool flagIsOn(QByteArrayView value) {
    return !value.isEmpty() && QByteArrayView("yYtT1").contains(value.front());
}

TeamLines readTeam(const IniText& text, QByteArrayView id) {
    return readTeam(text, text.sections(id));
}

TeamLines readTeam(const IniText& text, const std::vector<IniText::Section>& sections) {
    TeamLines team;
    team.lineOfKey.fill(-1);
    for (const IniText::Section& s : sections) {
        // A missing key goes into the first section read, where the record starts (with
        // several files, the one that holds its header first).
        const bool first = !team.found;
        team.found = true;
        if (first)
            team.header = s.header;
        for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i) {
            if (text.kind(i) != IniText::Kind::Key)
                continue;
            team.lines.push_back(i);
            if (first)
                team.lastKeyLine = i;
            const int k = teamtype::keyIndex(text.key(i));
            if (k < 0 || teamtype::kKeys[k].kind == teamtype::KeyKind::Fixed)
                continue;
            team.lineOfKey[k] = i;
            teamtype::Assignment a;
            a.key = k;
            if (teamtype::kKeys[k].kind == teamtype::KeyKind::Flag)
                a.on = flagIsOn(text.value(i));
            else
                a.value = text.value(i).toByteArray();
            team.assignments.push_back(std::move(a));
        }
    }
    return team;
}

void editTeamKey(const IniText& text, const TeamLines& team, int key, QByteArrayView value,
                 IniEdits& edits) {
    if (const qsizetype line = team.lineOfKey[key]; line >= 0) {
        edits.replaceInLine(line, text.valueRange(line), value.toByteArray());
        return;
    }
    const qsizetype after = team.lastKeyLine >= 0 ? team.lastKeyLine : team.header;
    const QByteArrayView indent =
        team.lastKeyLine >= 0 ? indentation(text.text(team.lastKeyLine)) : QByteArrayView();
    edits.insertAfter(
        after, indent.toByteArray() +
                   QByteArray(teamtype::kKeys[key].name.data(), teamtype::kKeys[key].name.size()) +
                   '=' + value.toByteArray());
}

// ---------------------------------------------------------------- task forces and scripts

SectionLines readSectionAt(const IniText& text, const IniText::Section& s, const TextCodec& codec,
                           SectionKind kind) {
    SectionLines section;
    section.header = s.header;
    for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i) {
        if (text.kind(i) != IniText::Kind::Key)
            continue;
        section.lines.push_back(i);
        const QByteArrayView key = text.key(i);
        if (key == "Name") {
            section.name = codec.decode(text.value(i));
            section.nameLine = i;
        } else if (kind == SectionKind::TaskForce && key == "Group") {
            continue;
        } else if (isRowKey(key)) {
            const QByteArrayView value = text.value(i);
            SectionRow row{codec.decode(key), codec.decode(lines::before(value, ',')),
                           lines::hasComma(value) ? codec.decode(lines::after(value, ','))
                                                  : QString()};
            // Rows with one number all show the values of the last of them.
            for (SectionRow& r : section.rows)
                if (r.number == row.number) {
                    r.first = row.first;
                    r.second = row.second;
                }
            section.rows.push_back(std::move(row));
            section.rowLine.push_back(i);
        } else {
            section.strayKey = i; // a team type's keys, say: no task force or script
            break;
        }
    }
    section.anchor = !section.rowLine.empty() ? section.rowLine.back()
                     : section.nameLine >= 0  ? section.nameLine
                                              : section.header;
    return section;
}

std::optional<SectionLines> readSection(const IniText& text, QByteArrayView id,
                                        const TextCodec& codec, SectionKind kind) {
    return readSection(text, text.sections(id), codec, kind);
}

std::optional<SectionLines> readSection(const IniText& text,
                                        const std::vector<IniText::Section>& sections,
                                        const TextCodec& codec, SectionKind kind) {
    std::optional<SectionLines> found;
    for (const IniText::Section& s : sections) {
        SectionLines section = readSectionAt(text, s, codec, kind);
        if (section.strayKey < 0) // the game needs no Name
            found = std::move(section);
    }
    return found;
}

void editSection(const IniText& text, const SectionLines& old, const QString& loadedName,
                 const std::vector<SectionRow>& loadedRows, const QString& name,
                 const std::vector<SectionRow>& rows, const TextCodec& codec, IniEdits& edits) {
    if (name != loadedName && old.nameLine >= 0)
        edits.replaceInLine(old.nameLine, text.valueRange(old.nameLine), codec.encode(name));
    else if (name != loadedName && !name.isEmpty()) // a section without Name gets one first
        edits.insertAfter(old.header, "Name=" + codec.encode(name));
    // What the rows are compared with: the panel's rows as loaded, while the file still
    // has as many.
    const std::vector<SectionRow>& before =
        loadedRows.size() == old.rows.size() ? loadedRows : old.rows;
    const size_t shared = std::min(rows.size(), old.rows.size());
    for (size_t i = 0; i < shared; ++i)
        if (!(rows[i] == before[i]))
            edits.replaceInLine(old.rowLine[i], rowRange(text, old.rowLine[i]),
                                rowText(rows[i], codec));
    for (size_t i = shared; i < old.rows.size(); ++i)
        edits.deleteLine(old.rowLine[i]);
    const QByteArrayView indent =
        old.rowLine.empty() ? QByteArrayView() : indentation(text.text(old.rowLine.back()));
    for (size_t i = shared; i < rows.size(); ++i)
        edits.insertAfter(old.anchor, indent.toByteArray() + rowText(rows[i], codec));
}

} // namespace tarvok::recordlines
