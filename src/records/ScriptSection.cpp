#include "records/ScriptSection.h"

#include "document/Lines.h"
#include "records/TaskForceSection.h"

namespace tarvok {
namespace {

// The line starting at pos, without its line end (LF or CR LF; a lone CR stays in the
// line, as everywhere else), and the position of the line after it.
QByteArrayView lineAt(QByteArrayView content, qsizetype pos, qsizetype* next) {
    const qsizetype lf = content.indexOf('\n', pos);
    if (lf < 0) {
        *next = content.size();
        return content.sliced(pos);
    }
    *next = lf + 1;
    qsizetype end = lf;
    if (end > pos && content[end - 1] == '\r')
        --end;
    return content.sliced(pos, end - pos);
}

qsizetype lineStartOf(QByteArrayView content, qsizetype at, qsizetype firstLine) {
    qsizetype s = at;
    while (s > firstLine && content[s - 1] != '\n')
        --s;
    return s;
}

// A row's key: a decimal number, spaces and tabs around it allowed.
bool isRowKey(QByteArrayView key) {
    const QByteArrayView k = lines::trimBlanks(key);
    if (k.isEmpty())
        return false;
    for (char c : k)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// Every row whose number equals the new row's takes the new row's values; then the new
// row is appended.
void appendRow(std::vector<SectionRow>& rows, SectionRow row) {
    for (SectionRow& r : rows) {
        if (r.number == row.number) {
            r.first = row.first;
            r.second = row.second;
        }
    }
    rows.push_back(std::move(row));
}

} // namespace

SectionRow splitSectionRow(QByteArrayView line, const TextCodec& codec) {
    SectionRow row;
    row.number = codec.decode(lines::before(line, '='));
    const QByteArrayView rest = lines::after(line, '=');
    if (lines::hasComma(rest)) {
        row.first = codec.decode(lines::before(rest, ','));
        row.second = codec.decode(lines::after(rest, ','));
    } else {
        row.first = codec.decode(rest);
    }
    row.raw = line.toByteArray();
    return row;
}

QByteArray joinSectionRow(const SectionRow& row, const TextCodec& codec) {
    if (!row.raw.isEmpty() && splitSectionRow(row.raw, codec) == row)
        return row.raw;
    QByteArray line = codec.encode(row.number);
    line += '=';
    line += codec.encode(row.first);
    line += ',';
    line += codec.encode(row.second);
    return line;
}

QByteArray sectionNameLine(const SectionRecord& record, const TextCodec& codec) {
    if (lines::hasEquals(record.nameLine) &&
        codec.decode(lines::after(record.nameLine, '=')) == record.name)
        return record.nameLine;
    return "Name=" + codec.encode(record.name);
}

std::optional<SectionRecord> readNumberedSection(QByteArrayView content, QByteArrayView id,
                                                 const TextCodec& codec, SectionKind kind) {
    if (id.isEmpty())
        return std::nullopt;
    const QByteArray needle = "[" + id.toByteArray() + "]";
    const qsizetype firstLine = content.startsWith(kUtf8Bom) ? kUtf8Bom.size() : 0;
    std::optional<SectionRecord> found;
    // Only the header candidates are looked at: a search for "[id]" over the raw bytes is
    // what keeps a load instant on a file of tens of thousands of lines. Lines a section
    // read has consumed (its Name line, its rows and the line that ended them) are not
    // examined as headers again.
    qsizetype consumed = firstLine;
    qsizetype from = firstLine;
    while (from < content.size()) {
        const qsizetype at = content.indexOf(needle, from);
        if (at < 0)
            break;
        from = at + 1;
        const qsizetype start = lineStartOf(content, at, firstLine);
        if (start < consumed)
            continue;
        qsizetype pos = 0;
        if (!lines::isHeader(lineAt(content, start, &pos), id))
            continue;
        if (pos >= content.size())
            break; // the header is the last line
        const QByteArrayView nameLine = lineAt(content, pos, &pos);
        consumed = from = pos;
        // "Name" is tested on the decoded line: its letters can be the second byte of a
        // GBK character.
        const QString decodedName = codec.decode(nameLine);
        if (!decodedName.contains(QLatin1String("Name")))
            continue;
        SectionRecord record;
        record.name =
            lines::hasEquals(nameLine) ? codec.decode(lines::after(nameLine, '=')) : decodedName;
        record.nameLine = nameLine.toByteArray();
        bool rowsOnly = true;
        while (pos < content.size()) {
            const QByteArrayView l = lineAt(content, pos, &pos);
            if (!lines::hasEquals(l))
                break;
            if (kind == SectionKind::TaskForce && isGroupLine(l))
                continue;
            rowsOnly = rowsOnly && isRowKey(lines::before(l, '='));
            appendRow(record.rows, splitSectionRow(l, codec));
        }
        consumed = from = pos;
        // A section whose keys are not numbered rows (a team type's keys, say) is no
        // task force or script: its lines must never be shown or written as rows.
        found = rowsOnly ? std::optional<SectionRecord>(std::move(record)) : std::nullopt;
    }
    return found;
}

std::optional<SectionRecord> readScriptSection(QByteArrayView content, QByteArrayView id,
                                               const TextCodec& codec) {
    return readNumberedSection(content, id, codec, SectionKind::Script);
}

std::vector<QByteArray> scriptBlock(const SectionRecord& record, const TextCodec& codec) {
    std::vector<QByteArray> block;
    block.reserve(record.rows.size() + 1);
    block.push_back(sectionNameLine(record, codec));
    for (const SectionRow& row : record.rows)
        block.push_back(joinSectionRow(row, codec));
    return block;
}

} // namespace tarvok
