#include "records/FieldRules.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "document/Lines.h"

namespace tarvok::fieldrules {
namespace {

// The description of a one-digit value from first to first + texts.size() - 1.
QString digitDescription(const QString& value, char first, const QStringList& texts) {
    if (value.size() != 1)
        return {};
    const int i = value[0].unicode() - first;
    return i >= 0 && i < texts.size() ? texts[i] : QString();
}

// One digit from low to high; an empty text passes.
bool digitInRange(const QString& text, char low, char high) {
    if (text.isEmpty())
        return true;
    const ushort c = text.at(0).unicode();
    return text.size() == 1 && c >= static_cast<ushort>(low) && c <= static_cast<ushort>(high);
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

std::optional<NonDigit> firstNonDigit(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isDigit(c))
            continue;
        // One character is one user-visible character, also outside the BMP.
        return NonDigit{i, (c.isHighSurrogate() && i + 1 < text.size()) ? 2 : 1};
    }
    return std::nullopt;
}

QString conditionDescription(const QString& value) {
    static const QStringList texts{QStringLiteral("目标敌方单位满足条件"),
                                   QStringLiteral("本方单位满足条件"),
                                   QStringLiteral("敌方电力黄"),
                                   QStringLiteral("敌方电力红"),
                                   QStringLiteral("目标敌方金钱大于或等于"),
                                   QStringLiteral("本方铁幕装置就绪"),
                                   QStringLiteral("本方超时空传送就绪"),
                                   QStringLiteral("平民单位满足条件")};
    if (value == QStringLiteral("-1"))
        return QStringLiteral("无");
    return digitDescription(value, '0', texts);
}

QString comparisonDescription(const QString& value) {
    static const QStringList texts{QStringLiteral("小于"), QStringLiteral("小于或等于"),
                                   QStringLiteral("等于"), QStringLiteral("大于或等于"),
                                   QStringLiteral("大于"), QStringLiteral("不等于")};
    return digitDescription(value, '0', texts);
}

QString sideDescription(const QString& value) {
    // 0 is any side: real files use it for triggers every side may fire.
    static const QStringList texts{QStringLiteral("所有阵营"), QStringLiteral("盟军"),
                                   QStringLiteral("苏联"),     QStringLiteral("尤里"),
                                   QStringLiteral("第四阵营"), QStringLiteral("第五阵营"),
                                   QStringLiteral("第六阵营")};
    return digitDescription(value, '0', texts);
}

bool comparisonAccepted(const QString& text) {
    return digitInRange(text, '0', '5');
}
bool sideAccepted(const QString& text) {
    return digitInRange(text, '0', '6');
}

bool weightAccepted(const QString& text) {
    return !text.isEmpty() && text.size() <= 6 &&
           std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

bool triggerTechAccepted(const QString& text) {
    // The game's own triggers use 0; letters are refused.
    if (text.isEmpty())
        return true;
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    const bool hasNumber = i < text.size() && isDigit(text[i]);
    return text.size() <= 2 && hasNumber && lines::leadingNumber(text.toUtf8()) <= 10;
}

bool amountTooLarge(const QString& text) {
    bool allDigits = !text.isEmpty();
    for (QChar c : text)
        allDigits = allDigits && isDigit(c);
    return text.size() > 3 || (allDigits && text.toInt() > 255);
}

QString amountKept(const QString& text) {
    const QString three = text.left(3);
    return amountTooLarge(three) ? text.left(2) : three;
}

QString trimBlanks(const QString& text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (from < to && blank(text[from]))
        ++from;
    while (to > from && blank(text[to - 1]))
        --to;
    return text.sliced(from, to - from);
}

IdCheck checkNewRecordId(const QString& id, const QStringList& existing) {
    // A comma would break every trigger or team line that names the record.
    if (!id.contains(QLatin1Char('-')) || id.contains(QLatin1Char(',')))
        return IdCheck::Invalid;
    return existing.contains(id) ? IdCheck::Duplicate : IdCheck::Ok;
}

QString triggerId(const QString& key) {
    const qsizetype eq = key.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : key.left(eq);
}

IdCheck checkNewTriggerKey(const QString& key, const QStringList& existingKeys) {
    // A comma would split the new trigger line.
    if (!key.contains(QLatin1Char('=')) || key.contains(QLatin1Char(',')))
        return IdCheck::Invalid;
    const QString id = triggerId(key);
    for (const QString& entry : existingKeys) {
        // An entry without "=" has no ID and equals none.
        if (entry.contains(QLatin1Char('=')) && triggerId(entry) == id)
            return IdCheck::Duplicate;
    }
    return IdCheck::Ok;
}

bool rowNumberingFits(const QStringList& rowNumbers) {
    // An empty list is saved as the Name line alone (and the Group line).
    if (rowNumbers.isEmpty())
        return true;
    return lines::leadingNumber(rowNumbers.last().toUtf8()) + 1 == rowNumbers.size();
}

std::optional<RowRefusal> refusedTaskForceRow(const std::vector<SectionRow>& loaded,
                                              const std::vector<SectionRow>& now,
                                              const QStringList& knownUnits) {
    QHash<std::pair<QString, QString>, qsizetype> asLoaded; // count and unit -> rows of them
    for (const SectionRow& row : loaded)
        ++asLoaded[{row.first, row.second}];
    QSet<QString> known;
    for (const QString& id : knownUnits)
        known.insert(id.toCaseFolded());
    for (qsizetype i = 0; i < static_cast<qsizetype>(now.size()); ++i) {
        const SectionRow& row = now[static_cast<size_t>(i)];
        if (const auto same = asLoaded.find({row.first, row.second});
            same != asLoaded.end() && *same > 0) {
            --*same;
            continue;
        }
        const QString& count = row.first;
        if (count.isEmpty() || !std::all_of(count.begin(), count.end(), isDigit) ||
            std::all_of(count.begin(), count.end(), [](QChar c) { return c == u'0'; }))
            return RowRefusal{i, RowRefusal::Reason::Count};
        if (!known.isEmpty() && !known.contains(row.second.toCaseFolded()))
            return RowRefusal{i, RowRefusal::Reason::Unit};
    }
    return std::nullopt;
}

bool isBuildingAction(const QString& action) {
    return action == QLatin1String("46") || action == QLatin1String("47") ||
           action == QLatin1String("56") || action == QLatin1String("58");
}

std::optional<double> decimalNumber(QStringView text) {
    text = text.trimmed();
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto digit = [&](qsizetype at) { return at < n && text[at] >= u'0' && text[at] <= u'9'; };
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    int digits = 0;
    while (digit(i))
        ++i, ++digits;
    if (i < n && text[i] == u'.') {
        ++i;
        while (digit(i))
            ++i, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        if (!digit(i))
            return std::nullopt;
        while (digit(i))
            ++i;
    }
    if (i != n)
        return std::nullopt;
    // Only ASCII is left: the standard library reads it without a locale.
    std::string ascii(static_cast<size_t>(n), '\0');
    for (qsizetype k = 0; k < n; ++k)
        ascii[static_cast<size_t>(k)] = static_cast<char>(text[k].unicode());
    const char* first = ascii.data() + (ascii.front() == '+' ? 1 : 0);
    double value = 0;
    const auto [end, error] = std::from_chars(first, ascii.data() + ascii.size(), value);
    return error == std::errc() && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

QString searchKey(const QString& text) {
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

bool isRulesFileName(const QString& path) {
    const QString lower = path.toLower();
    return lower.contains(QStringLiteral("aimd.ini")) || lower.contains(QStringLiteral("ai.ini"));
}

bool mayBeOriginalAi(const QString& path) {
    return path.toLower().contains(QStringLiteral("ai.ini"));
}

} // namespace tarvok::fieldrules
