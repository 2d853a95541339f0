#include "records/TeamTypeSection.h"

namespace tarvok::teamtype {
namespace {

constexpr KeyKind F = KeyKind::Flag;
constexpr KeyKind T = KeyKind::Text;
constexpr KeyKind X = KeyKind::Fixed;

QByteArrayView toView(std::string_view s) {
    return QByteArrayView(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

const std::array<Key, kKeyCount> kKeys{{
    {"Name", T, ""},
    {"VeteranLevel", X, "1"},
    {"MindControlDecision", T, "0"},
    {"Loadable", F, "no"},
    {"Full", F, "no"},
    {"Annoyance", F, "no"},
    {"GuardSlower", F, "no"},
    {"House", X, "<none>"},
    {"Recruiter", F, "no"},
    {"Autocreate", F, "yes"},
    {"Prebuild", F, "no"},
    {"Reinforce", F, "no"},
    {"Droppod", F, "no"},
    {"UseTransportOrigin", F, "no"},
    {"Whiner", F, "yes"},
    {"LooseRecruit", F, "no"},
    {"Aggressive", F, "no"},
    {"Suicide", F, "yes"},
    {"Priority", T, "5"},
    {"Max", T, "1"},
    {"TechLevel", T, "0"},
    {"Group", X, "-1"},
    {"OnTransOnly", F, "no"},
    {"AvoidThreats", F, "yes"},
    {"IonImmune", F, "no"},
    {"TransportsReturnOnUnload", F, "yes"},
    {"AreTeamMembersRecruitable", F, "no"},
    {"IsBaseDefense", F, "no"},
    {"OnlyTargetHouseEnemy", F, "no"},
    {"Script", T, ""},
    {"TaskForce", T, ""},
}};

int keyIndex(QByteArrayView name) {
    for (int i = 0; i < kKeyCount; ++i) {
        if (toView(kKeys[i].name) == name)
            return i;
    }
    return -1;
}

Values defaultValues() {
    Values v;
    for (int i = 0; i < kKeyCount; ++i)
        v[i] = toView(kKeys[i].defaultValue).toByteArray();
    return v;
}

std::vector<QByteArray> buildBlock(const Values& values) {
    std::vector<QByteArray> out;
    out.reserve(kKeyCount);
    for (int i = 0; i < kKeyCount; ++i) {
        QByteArray line = toView(kKeys[i].name).toByteArray();
        line += '=';
        line += kKeys[i].kind == KeyKind::Fixed ? toView(kKeys[i].defaultValue)
                                                : QByteArrayView(values[i]);
        out.push_back(std::move(line));
    }
    return out;
}

std::vector<QByteArray> defaultBlock() {
    return buildBlock(defaultValues());
}

bool techLevelAccepted(const QString& text) {
    if (text.isEmpty())
        return true;
    // The number at the start of the text, as a plain reading of it gives: blanks,
    // a sign, digits and a fraction; no number reads as 0.
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    double value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        value = value * 10 + (text[i].unicode() - '0');
        if (value > 1e9)
            return false; // far above any tech level
    }
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9');
             ++i, scale /= 10)
            value += (text[i].unicode() - '0') * scale;
    }
    if (negative)
        value = -value;
    return value >= 0 && value <= 10;
}

bool mindControlAccepted(const QString& text) {
    if (text.isEmpty())
        return true;
    return text.size() == 1 && text[0] >= QLatin1Char('0') && text[0] <= QLatin1Char('5');
}

std::optional<QString> mindControlDescription(const QString& text) {
    static const QString kDescriptions[] = {
        QStringLiteral("自动"),           QStringLiteral("加入控制者作战小队"),
        QStringLiteral("送入部队回收厂"), QStringLiteral("送入生化反应炉"),
        QStringLiteral("搜索敌人"),       QStringLiteral("什么也不做"),
    };
    if (text.size() != 1 || text[0] < QLatin1Char('0') || text[0] > QLatin1Char('5'))
        return std::nullopt;
    return kDescriptions[text[0].unicode() - '0'];
}

} // namespace tarvok::teamtype
