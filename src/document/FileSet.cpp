#include "document/FileSet.h"

#include <QUrl>

#include <algorithm>

namespace tarvok::fileset {
namespace {

constexpr QByteArrayView kMarkerStart("[\x7F\x7F"
                                      "file ");
constexpr QByteArrayView kBom("\xEF\xBB\xBF");

// Flags of a marker: what the part before it lost (a line end added after its last line:
// 'n' LF, 'r' CR LF; 'p': the part was left out, said of the first part only) and what its
// own part had ('b': a byte-order mark; 'x': the part was left out).
// A marker that says a part is left out starts its flags after a second space: an earlier
// editor, which knew no such parts, takes the content for broken instead of misreading it.
QByteArray marker(const QByteArray& flags, const QString& name) {
    const bool leftOut = flags.contains('x') || flags.contains('p');
    return kMarkerStart.toByteArray() + (leftOut ? " " : "") +
           (flags.isEmpty() ? QByteArray("-") : flags) + ' ' + QUrl::toPercentEncoding(name, "/") +
           "]\n";
}

struct Marker {
    qsizetype begin = 0; // of its line
    qsizetype end = 0;   // after its line end
    QByteArray flags;
    QString name;
};

// The flags and name of a marker line (without its line end).
std::optional<Marker> parseMarker(QByteArrayView line) {
    if (!line.startsWith(kMarkerStart) || !line.endsWith(']'))
        return std::nullopt;
    line = line.sliced(kMarkerStart.size(), line.size() - kMarkerStart.size() - 1);
    const bool spaced = line.startsWith(' ');
    if (spaced)
        line = line.sliced(1);
    const qsizetype space = line.indexOf(' ');
    if (space <= 0)
        return std::nullopt;
    Marker m{0, 0, line.first(space).toByteArray(), {}};
    if (spaced != (m.flags.contains('x') || m.flags.contains('p')))
        return std::nullopt;
    m.name = QUrl::fromPercentEncoding(line.sliced(space + 1).toByteArray());
    if (m.name.isEmpty())
        return std::nullopt;
    return m;
}

std::optional<Marker> readMarker(QByteArrayView content, qsizetype begin) {
    const qsizetype nl = content.indexOf('\n', begin);
    if (nl < 0)
        return std::nullopt;
    std::optional<Marker> m = parseMarker(content.sliced(begin, nl - begin));
    if (m) {
        m->begin = begin;
        m->end = nl + 1;
    }
    return m;
}

} // namespace

bool isMarker(QByteArrayView sectionName) {
    return sectionName.startsWith(kMarkerStart.sliced(1));
}

bool isJoined(QByteArrayView content) {
    for (qsizetype at = findBytes(content, kMarkerStart, 0); at >= 0;
         at = findBytes(content, kMarkerStart, at + 1))
        if (at == 0 || content[at - 1] == '\n')
            return true;
    return false;
}

QByteArrayList pieces(const std::vector<Part>& parts) {
    QByteArrayList out;
    QByteArray added; // the line end added after the part before
    for (size_t i = 0; i < parts.size(); ++i) {
        QByteArray bytes = parts[i].omitted ? QByteArray() : parts[i].bytes;
        if (i > 0) {
            QByteArray flags = added;
            if (i == 1 && parts[0].omitted)
                flags += 'p';
            if (parts[i].omitted)
                flags += 'x';
            else if (bytes.startsWith(kBom)) {
                flags += 'b';
                bytes = bytes.sliced(kBom.size());
            }
            out << marker(flags, parts[i].name);
        }
        added.clear();
        if (bytes.isEmpty())
            continue;
        const bool lineEnd = i + 1 < parts.size() && !bytes.endsWith('\n');
        const bool crlf = lineEnd && bytes.contains("\r\n");
        out << std::move(bytes);
        if (lineEnd) {
            out << QByteArray(crlf ? "\r\n" : "\n");
            added = crlf ? "r" : "n";
        }
    }
    return out;
}

QByteArray join(const std::vector<Part>& parts) {
    return join(std::vector<Part>(parts));
}

bool joinsTo(const std::vector<Part>& parts, QByteArrayView joined) {
    qsizetype at = 0;
    for (const QByteArray& piece : pieces(parts)) {
        if (joined.size() - at < piece.size() || joined.sliced(at, piece.size()) != piece)
            return false;
        at += piece.size();
    }
    return at == joined.size();
}

QByteArray join(std::vector<Part>&& parts) {
    if (parts.size() == 1 && !parts[0].omitted)
        return std::move(parts[0].bytes);
    QByteArrayList list = pieces(parts);
    qsizetype size = 0;
    for (const QByteArray& p : list)
        size += p.size();
    // The first part's buffer grows in place (a large one is moved by the system, not copied)
    // once no one else holds it.
    QByteArray out;
    qsizetype from = 0;
    if (!parts.empty() && !parts[0].omitted && !parts[0].bytes.isEmpty()) {
        parts[0].bytes = QByteArray();
        out = std::move(list[0]);
        from = 1;
    }
    out.reserve(size);
    for (qsizetype i = from; i < list.size(); ++i)
        out += list[i];
    return out;
}

std::optional<std::vector<Part>> split(QByteArrayView joined, const QString& firstName,
                                       const std::vector<QByteArray>& known) {
    std::vector<Marker> markers;
    for (qsizetype at = findBytes(joined, kMarkerStart, 0); at >= 0;
         at = findBytes(joined, kMarkerStart, at + 1)) {
        if (at > 0 && joined[at - 1] != '\n')
            continue;
        std::optional<Marker> m = readMarker(joined, at);
        if (!m)
            return std::nullopt;
        markers.push_back(std::move(*m));
    }
    std::vector<Part> parts;
    parts.reserve(markers.size() + 1);
    qsizetype from = 0;
    QString name = firstName;
    bool bom = false;
    for (size_t i = 0; i <= markers.size(); ++i) {
        const qsizetype to = i < markers.size() ? markers[i].begin : joined.size();
        QByteArrayView body = joined.sliced(from, to - from);
        const QByteArray flags = i < markers.size() ? markers[i].flags : QByteArray();
        // The line end the join added after this part's last line goes again.
        if (flags.contains('r') && body.endsWith("\r\n"))
            body.chop(2);
        else if (flags.contains('n') && body.endsWith('\n'))
            body.chop(1);
        const bool omitted =
            (i == 0 && flags.contains('p')) || (i > 0 && markers[i - 1].flags.contains('x'));
        if (omitted && !body.isEmpty())
            return std::nullopt;
        Part part{name, {}, omitted};
        const QByteArrayView head = bom ? kBom : QByteArrayView();
        if (i < known.size() && known[i].size() == head.size() + body.size() &&
            known[i].startsWith(head) && QByteArrayView(known[i]).sliced(head.size()) == body)
            part.bytes = known[i];
        else
            part.bytes = head.toByteArray() + body.toByteArray();
        parts.push_back(std::move(part));
        if (i < markers.size()) {
            bom = flags.contains('b');
            name = markers[i].name;
            from = markers[i].end;
        }
    }
    return parts;
}

bool fill(std::vector<Part>& parts, const std::vector<Part>& given) {
    if (given.empty())
        return std::none_of(parts.begin(), parts.end(), [](const Part& p) { return p.omitted; });
    for (size_t p = 0; p < parts.size(); ++p) {
        if (!parts[p].omitted)
            continue;
        const auto same = p == 0 ? given.begin()
                                 : std::find_if(given.begin() + 1, given.end(), [&](const Part& g) {
                                       return g.name == parts[p].name;
                                   });
        if (same == given.end())
            return false;
        parts[p].bytes = same->bytes;
        parts[p].omitted = false;
    }
    return true;
}

qsizetype firstFileLast(const IniText& text) {
    for (const IniText::Section& s : text.sections())
        if (isMarker(s.name))
            return s.header - 1;
    return text.lineCount() - 1;
}

Origins::Origins(const IniText& text) {
    for (const IniText::Section& s : text.sections()) {
        if (!isMarker(s.name))
            continue;
        const std::optional<Marker> m = parseMarker(text.text(s.header));
        names_ << (m ? m->name : QString());
        starts_.push_back(s.header + 1);
    }
}

Place Origins::place(qsizetype line) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), line);
    const auto part = static_cast<int>(after - starts_.begin()) - 1;
    return {part, line - starts_[static_cast<size_t>(part)] + 1};
}

QString Origins::describe(qsizetype line) const {
    const Place p = place(line);
    const QString where = QStringLiteral("第 %1 行").arg(p.line);
    return p.part == 0 ? where : name(p.part) + QLatin1Char(' ') + where;
}

} // namespace tarvok::fileset
