#include "records/TeamTypeSection.h"

#include "document/Lines.h"
#include "document/TextEncoding.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace tarvok::teamtype {
namespace {

constexpr KeyKind F = KeyKind::Flag;
constexpr KeyKind T = KeyKind::Text;
constexpr KeyKind X = KeyKind::Fixed;

QByteArrayView toView(std::string_view s) {
    return QByteArrayView(s.data(), static_cast<qsizetype>(s.size()));
}

bool equalsIgnoringAsciiCase(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// "yes" in any letter case, anywhere in the value.
bool containsYes(QByteArrayView value) {
    for (qsizetype i = 0; i + 3 <= value.size(); ++i) {
        if (equalsIgnoringAsciiCase(value.sliced(i, 3), "yes"))
            return true;
    }
    return false;
}

// One line of the content starting at pos: its bytes without the line end (LF or
// CR LF; a lone CR stays), and where the next line starts.
QByteArrayView lineFrom(QByteArrayView content, qsizetype pos, qsizetype* next) {
    const qsizetype nl = content.indexOf('\n', pos);
    if (nl < 0) {
        *next = content.size();
        return content.sliced(pos);
    }
    *next = nl + 1;
    qsizetype end = nl;
    if (end > pos && content[end - 1] == '\r')
        --end;
    return content.sliced(pos, end - pos);
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

bool isKnownKeyAnyCase(QByteArrayView name) {
    for (const Key& k : kKeys) {
        if (equalsIgnoringAsciiCase(toView(k.name), name))
            return true;
    }
    return false;
}

QByteArrayView lineKey(QByteArrayView line) {
    return lines::trimBlanks(lines::before(line, '='));
}

std::optional<Assignment> parseLine(QByteArrayView line) {
    if (!lines::hasEquals(line))
        return std::nullopt;
    const int k = keyIndex(lineKey(line));
    if (k < 0 || kKeys[k].kind == KeyKind::Fixed)
        return std::nullopt;
    Assignment a;
    a.key = k;
    const QByteArrayView value = lines::after(line, '=');
    if (kKeys[k].kind == KeyKind::Flag)
        a.on = containsYes(value);
    else
        a.value = value.toByteArray();
    return a;
}

std::vector<Assignment> parseBody(const std::vector<QByteArrayView>& body) {
    std::vector<Assignment> out;
    for (QByteArrayView line : body) {
        if (std::optional<Assignment> a = parseLine(line))
            out.push_back(std::move(*a));
    }
    return out;
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

std::vector<QByteArray> defaultBlock() { return buildBlock(defaultValues()); }

std::vector<QByteArray> buildBody(const Values& values, const std::vector<QByteArrayView>& oldBody) {
    std::vector<QByteArray> out = buildBlock(values);
    for (QByteArrayView line : oldBody) {
        if (!isKnownKeyAnyCase(lineKey(line)))
            out.push_back(line.toByteArray());
    }
    return out;
}

namespace {

// A section of the ID: its body lines and the bytes they take, from the start of the
// first body line to the start of the line that ended the body (or the end).
struct SectionSpan {
    std::vector<QByteArrayView> body;
    qsizetype bodyBegin = 0;
    qsizetype bodyEnd = 0;
};

std::vector<SectionSpan> findSections(QByteArrayView content, QByteArrayView id) {
    std::vector<SectionSpan> sections;
    QByteArray header = "[";
    header += id;
    header += ']';
    // A skip-table search: the file has a header "[" at every section, so a search
    // keyed on the first byte would stop at each of them.
    const std::boyer_moore_horspool_searcher searcher(header.cbegin(), header.cend());
    // The first line starts after a byte-order mark, as the line reader sees it.
    const qsizetype firstLine = content.startsWith(kUtf8Bom) ? kUtf8Bom.size() : 0;
    // Lines before this position have been seen (a body, or the line that ended it)
    // and are not taken as headers.
    qsizetype searchFrom = firstLine;
    while (searchFrom < content.size()) {
        const char* found = std::search(content.data() + searchFrom,
                                        content.data() + content.size(), searcher);
        if (found == content.data() + content.size())
            break;
        const qsizetype hit = found - content.data();
        // searchFrom always stands at the start of a line.
        qsizetype lineStart = hit;
        while (lineStart > searchFrom && content[lineStart - 1] != '\n')
            --lineStart;
        qsizetype next = 0;
        const QByteArrayView line = lineFrom(content, lineStart, &next);
        if (lines::trimSpaces(line) != QByteArrayView(header)) {
            searchFrom = next;
            continue;
        }
        SectionSpan section;
        section.bodyBegin = next;
        qsizetype pos = next;
        section.bodyEnd = pos;
        while (pos < content.size()) {
            const QByteArrayView l = lineFrom(content, pos, &next);
            pos = next;
            if (!lines::hasEquals(l))
                break; // the line that ends the body is passed over
            section.body.push_back(l);
            section.bodyEnd = pos;
        }
        sections.push_back(std::move(section));
        searchFrom = pos;
    }
    return sections;
}

} // namespace

std::vector<std::vector<QByteArrayView>> findSectionBodies(QByteArrayView content, QByteArrayView id) {
    std::vector<std::vector<QByteArrayView>> bodies;
    for (SectionSpan& s : findSections(content, id))
        bodies.push_back(std::move(s.body));
    return bodies;
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
        QStringLiteral("自动"),         QStringLiteral("加入控制者作战小队"),
        QStringLiteral("送入部队回收厂"), QStringLiteral("送入生化反应炉"),
        QStringLiteral("搜索敌人"),     QStringLiteral("什么也不做"),
    };
    if (text.size() != 1 || text[0] < QLatin1Char('0') || text[0] > QLatin1Char('5'))
        return std::nullopt;
    return kDescriptions[text[0].unicode() - '0'];
}

} // namespace tarvok::teamtype
