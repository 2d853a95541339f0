#include "records/BuildRule.h"

namespace tarvok::buildrule {
namespace {

// A number as the game reads one: blanks, an optional sign, the digits that follow.
long long gameNumber(QStringView text) {
    text = text.trimmed();
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    long long n = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9' || n > 1'000'000'000)
            break;
        n = n * 10 + (c.unicode() - u'0');
    }
    return negative ? -n : n;
}

} // namespace

std::optional<int> sideNumber(const QString& side) {
    bool ok = false;
    const int n = side.trimmed().toInt(&ok);
    return ok ? std::optional(n) : std::nullopt;
}

Countries countriesOf(const World& world, const QString& house, const QString& side) {
    if (house != QLatin1String("<all>"))
        return {{house}, house};
    const std::optional<int> n = sideNumber(side);
    if (n && *n >= 1 && *n <= world.sides.size())
        return {world.sides[*n - 1], QStringLiteral("阵营 %1 的国家").arg(*n)};
    return {world.countries, QStringLiteral("所有国家")};
}

bool names(const QString& list, const QString& country) {
    for (const QStringView item : QStringView(list).split(u','))
        if (item.trimmed().compare(country, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString refusal(const TypeRule& rule, const QString& country, int maxTechLevel) {
    if (!rule.techLevel || rule.techLevel->trimmed().isEmpty())
        return QStringLiteral("未设 TechLevel");
    const long long tech = gameNumber(*rule.techLevel);
    if (tech == -1 || tech > maxTechLevel)
        return QStringLiteral("TechLevel 为 %1（上限 %2）").arg(tech).arg(maxTechLevel);
    if (!names(rule.owner.value_or(QString()), country))
        return QStringLiteral("Owner 中没有 %1").arg(country);
    if (const QString required = rule.requiredHouses.value_or(QString());
        !required.trimmed().isEmpty() && !names(required, country))
        return QStringLiteral("RequiredHouses 中没有 %1").arg(country);
    if (names(rule.forbiddenHouses.value_or(QString()), country))
        return QStringLiteral("ForbiddenHouses 中有 %1").arg(country);
    return {};
}

} // namespace tarvok::buildrule
