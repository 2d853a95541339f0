#include "catalogues/UnitNameTable.h"

namespace tarvok::unitnames {

std::optional<UnitNameLine> parseLine(const QString& line) {
    const qsizetype first = line.indexOf(QLatin1Char(','));
    if (first < 0)
        return std::nullopt;
    UnitNameLine out;
    out.id = line.left(first);
    const qsizetype second = line.indexOf(QLatin1Char(','), first + 1);
    if (second >= 0)
        out.name = line.mid(first + 1, second - first - 1);
    return out;
}

ChoiceLists choiceLists(const QStringList& tableLines) {
    ChoiceLists lists;
    for (const QString& line : tableLines) {
        std::optional<UnitNameLine> parsed = parseLine(line);
        if (!parsed)
            continue;
        lists.ids << parsed->id;
        if (parsed->name) {
            lists.names << *parsed->name;
            lists.namedIds << parsed->id;
        }
    }
    return lists;
}

// Lines with fewer than two commas hold no pair and are passed over by both lookups.
QString nameOf(const QStringList& tableLines, const QString& id) {
    QString found;
    for (const QString& line : tableLines) {
        const std::optional<UnitNameLine> parsed = parseLine(line);
        if (parsed && parsed->name && parsed->id == id)
            found = *parsed->name;
    }
    return found;
}

QString idOf(const QStringList& tableLines, const QString& name) {
    QString found;
    for (const QString& line : tableLines) {
        const std::optional<UnitNameLine> parsed = parseLine(line);
        if (parsed && parsed->name && *parsed->name == name)
            found = parsed->id;
    }
    return found;
}

} // namespace tarvok::unitnames
