#include "records/RowOrder.h"

#include "document/Lines.h"
#include "records/FieldRules.h"

#include <QStringList>

#include <algorithm>
#include <utility>

namespace tarvok {
namespace {

bool allDigits(QStringView s) {
    return !s.isEmpty() &&
           std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The row a pasted line holds (its number left empty), or nothing.
std::optional<SectionRow> readRow(QStringView line, SectionKind kind) {
    if (const qsizetype equals = line.indexOf(u'=');
        equals >= 0 && allDigits(line.first(equals).trimmed()))
        line = line.sliced(equals + 1);
    const qsizetype comma = line.indexOf(u',');
    if (comma < 0)
        return std::nullopt;
    const QStringView first = line.first(comma).trimmed();
    const QStringView second = line.sliced(comma + 1).trimmed();
    const bool fits =
        allDigits(first) &&
        (kind == SectionKind::Script
             ? allDigits(second)
             : !second.isEmpty() && std::none_of(second.begin(), second.end(), [](QChar c) {
                   return c.isSpace() || QStringView(u",;=[]").contains(c);
               }));
    if (!fits)
        return std::nullopt;
    return SectionRow{QString(), first.toString(), second.toString()};
}

} // namespace

std::optional<MovedRows> moveRow(std::vector<SectionRow> rows, qsizetype index, bool up) {
    const qsizetype to = up ? index - 1 : index + 1;
    const auto count = static_cast<qsizetype>(rows.size());
    if (index < 0 || index >= count || to < 0 || to >= count)
        return std::nullopt;
    std::swap(rows[index], rows[to]);
    for (qsizetype i = 0; i < count; ++i)
        rows[i].number = QString::number(i);
    return MovedRows{std::move(rows), to};
}

QString copiedRows(const std::vector<SectionRow>& rows) {
    QStringList lines;
    for (const SectionRow& row : rows)
        lines << row.first + QLatin1Char(',') + row.second;
    return lines.join(QLatin1Char('\n'));
}

QString rowsKindName(SectionKind kind) {
    return kind == SectionKind::TaskForce ? QStringLiteral("taskforce") : QStringLiteral("script");
}

PastedRows pasteRows(std::vector<SectionRow> rows, QStringView text, SectionKind kind,
                     QStringView copiedKind) {
    PastedRows out;
    const SectionKind other =
        kind == SectionKind::TaskForce ? SectionKind::Script : SectionKind::TaskForce;
    if (copiedKind == rowsKindName(other)) {
        out.otherKind = true;
        out.rows = std::move(rows);
        return out;
    }
    std::vector<SectionRow> pasted;
    qsizetype n = 0;
    for (const QStringView line : text.split(u'\n')) {
        ++n;
        if (line.trimmed().isEmpty())
            continue;
        std::optional<SectionRow> row = readRow(line, kind);
        if (!row) {
            out.rows = std::move(rows);
            out.badLine = n;
            out.badText = line.trimmed().toString();
            return out;
        }
        pasted.push_back(std::move(*row));
    }
    long long next = rows.empty() ? 0 : lines::leadingNumber(rows.back().number.toUtf8()) + 1;
    QStringList numbers;
    for (const SectionRow& row : rows)
        numbers << row.number;
    for (SectionRow& row : pasted)
        numbers << (row.number = QString::number(next++));
    out.unsaveable = !pasted.empty() && !fieldrules::rowNumberingFits(numbers);
    if (!out.unsaveable) {
        out.added = static_cast<qsizetype>(pasted.size());
        rows.insert(rows.end(), pasted.begin(), pasted.end());
    }
    out.rows = std::move(rows);
    return out;
}

} // namespace tarvok
