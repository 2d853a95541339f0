#include "records/ScriptExplain.h"

#include <limits>

namespace tarvok::scripts {

namespace {

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

template <typename Table>
std::optional<QString> nameOfNumber(const Table& table, long long number) {
    for (const auto& entry : table)
        if (entry.number == number)
            return u8(entry.name);
    return std::nullopt;
}

template <typename Table> std::optional<int> numberOfName(const Table& table, QStringView name) {
    for (const auto& entry : table)
        if (name == u8(entry.name))
            return entry.number;
    return std::nullopt;
}

const ZeroParameterAction* zeroParameterAction(long long number) {
    for (const ZeroParameterAction& a : kZeroParameterActions)
        if (a.number == number)
            return &a;
    return nullptr;
}

QString numberText(std::optional<int> n) {
    return n ? QString::number(*n) : QString();
}

} // namespace

long long numericValue(QStringView text) {
    constexpr long long kMax = std::numeric_limits<long long>::max();
    long long value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        const int digit = c.unicode() - '0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return value;
}

const ScriptAction* actionByNumber(long long number) {
    for (const ScriptAction& a : kScriptActions)
        if (a.number == number)
            return &a;
    return nullptr;
}

const ScriptAction* actionByName(QStringView name) {
    for (const ScriptAction& a : kScriptActions)
        if (name == u8(a.name))
            return &a;
    return nullptr;
}

ParameterExplanation explainParameter(QStringView actionText, QStringView parameterText) {
    const long long a = numericValue(actionText);
    const long long p = numericValue(parameterText);
    ParameterExplanation ex;
    switch (a) {
    case 0:
    case 57:
        ex.other = nameOfNumber(kTargetCategories, p).value_or(QString());
        ex.hint = p == kBaseThreatCategory ? u8(kBaseThreatWarningTyped) : QString();
        break;
    case 5:
    case 6:
        ex.other = u8(actionByNumber(a)->name);
        ex.hint = u8(actionByNumber(a)->hint);
        break;
    case 8:
        ex.other = nameOfNumber(kUnloadModes, p).value_or(QString());
        ex.hint = QString();
        break;
    case 11:
        ex.other = QString();
        for (const ScriptState& s : kScriptStates)
            if (s.typedNumber == p)
                ex.other = u8(s.name);
        ex.hint = QString();
        break;
    default:
        if (a == 46 || a == 47 || a == 56 || a == 58) {
            ex.building = true;
            ex.hint = u8(kBuildingHintB);
        } else if (const ZeroParameterAction* z = zeroParameterAction(a)) {
            // Only the plain "0" is the parameter these actions take; "00" is not.
            ex.other = parameterText == u"0" ? u8(z->explanation) : QString();
            ex.hint = QString();
        } else {
            ex.other = QString(); // the hint of an unknown action stays as it was
        }
    }
    // The building explanation is the building's name beside it, never this box; a
    // spelling such as "046" keeps whatever the box held.
    if (actionText == u"46" || actionText == u"47" || actionText == u"56" || actionText == u"58")
        ex.other = QString();
    return ex;
}

ChosenParameter chooseParameter(QStringView actionName, QStringView choice) {
    ChosenParameter chosen;
    const ScriptAction* action = actionByName(actionName);
    if (!action)
        return chosen;
    const int a = action->number;
    if (a == 5 || a == 6)
        return chosen;
    if (isBuildingAction(a)) {
        chosen.kind = ChosenParameter::Kind::Building;
        return chosen;
    }
    chosen.kind = ChosenParameter::Kind::Number;
    switch (a) {
    case 0:
    case 57: {
        const std::optional<int> n = numberOfName(kTargetCategories, choice);
        chosen.number = numberText(n);
        chosen.hint = n == kBaseThreatCategory ? u8(kBaseThreatWarningChosen) : QString();
        break;
    }
    case 8:
        chosen.number = numberText(numberOfName(kUnloadModes, choice));
        chosen.hint = QString();
        break;
    case 11:
        chosen.number.clear();
        for (const ScriptState& s : kScriptStates)
            if (choice == u8(s.name))
                chosen.number = QString::number(s.chosenNumber);
        chosen.hint = QString();
        break;
    default: {
        // The remaining actions take 0, whatever was chosen.
        const ZeroParameterAction* z = zeroParameterAction(a);
        chosen.number = QStringLiteral("0");
        chosen.hint = z ? u8(z->hint) : QString();
    }
    }
    return chosen;
}

} // namespace tarvok::scripts
