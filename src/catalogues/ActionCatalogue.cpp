#include "catalogues/ActionCatalogue.h"

namespace tarvok::catalogue {

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// A line that opens a block: an action name in square brackets (already trimmed).
bool isHeaderLine(const QString& trimmed) {
    return trimmed.size() >= 2 && trimmed.startsWith(QLatin1Char('[')) &&
           trimmed.endsWith(QLatin1Char(']'));
}

} // namespace

QString trimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

QString choiceText(QStringView entry) {
    const qsizetype comma = entry.indexOf(QLatin1Char(','));
    const QStringView part = comma < 0 ? entry : entry.left(comma);
    const qsizetype point = part.indexOf(QLatin1Char('.'));
    return (point < 0 ? part : part.mid(point + 1)).toString();
}

std::optional<QStringList> actionChoices(const QStringList& scrLines, QStringView actionName) {
    const QString header = QLatin1Char('[') + actionName.toString() + QLatin1Char(']');
    std::optional<QStringList> found;
    qsizetype i = 0;
    const qsizetype n = scrLines.size();
    while (i < n) {
        const QString line = trimBlanks(scrLines[i++]);
        if (!isHeaderLine(line))
            continue;
        // Every block is read through, whichever action it belongs to: the line that
        // ends it belongs to it, so a header glued to the last entry above it is never
        // taken for one, whichever action is looked for.
        const bool wanted = line == header;
        if (wanted)
            found.emplace(); // a later block for the same action replaces the earlier one
        while (i < n && scrLines[i].contains(QLatin1Char(','))) {
            if (wanted)
                found->append(choiceText(scrLines[i]));
            ++i;
        }
        if (i < n)
            ++i;
    }
    return found;
}

QStringList buildingNames(const QStringList& idLines) {
    QStringList names;
    for (qsizetype i = 0; i < idLines.size(); i += 3) {
        const QString& line = idLines[i];
        const qsizetype comma = line.indexOf(QLatin1Char(','));
        names << trimBlanks(comma < 0 ? QStringView(line) : QStringView(line).mid(comma + 1));
    }
    return names;
}

QString lastValueOf(const QStringList& lines, QStringView key) {
    QString answer;
    for (const QString& line : lines) {
        const qsizetype comma = line.indexOf(QLatin1Char(','));
        if (comma >= 0 && QStringView(line).left(comma) == key)
            answer = line.mid(comma + 1);
    }
    return answer;
}

QString lastKeyOf(const QStringList& lines, QStringView value) {
    QString answer;
    for (const QString& line : lines) {
        const qsizetype comma = line.indexOf(QLatin1Char(','));
        if (comma >= 0 && QStringView(line).mid(comma + 1) == value)
            answer = line.left(comma);
    }
    return answer;
}

} // namespace tarvok::catalogue
