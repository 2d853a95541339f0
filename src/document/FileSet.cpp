#include "document/FileSet.h"

#include <QUrl>

#include <algorithm>

namespace tarvok::fileset {
namespace {

constexpr QByteArrayView kMarkerStart("[\x7F\x7F"
                                      "file ");
constexpr QByteArrayView kBom("\xEF\xBB\xBF");

// Flags of a marker: what the part before it lost (a line end added after its last line:
// 'n' LF, 'r' CR LF) and what its own part had ('b': a byte-order mark).
QByteArray marker(const QByteArray& flags, const QString& name) {
    return kMarkerStart.toByteArray() + (flags.isEmpty() ? QByteArray("-") : flags) + ' ' +
           QUrl::toPercentEncoding(name, "/") + "]\n";
}

struct Marker {
    qsizetype begin = 0; // of its line
    qsizetype end = 0;   // after its line end
    QByteArray flags;
    QString name;
};

std::optional<Marker> readMarker(QByteArrayView content, qsizetype begin) {
    const qsizetype nl = content.indexOf('\n', begin);
    if (nl < 0)
        return std::nullopt;
    QByteArrayView line = content.sliced(begin, nl - begin);
    if (!line.endsWith(']'))
        return std::nullopt;
    line = line.sliced(kMarkerStart.size(), line.size() - kMarkerStart.size() - 1);
    const qsizetype space = line.indexOf(' ');
    if (space <= 0)
        return std::nullopt;
    Marker m{begin, nl + 1, line.first(space).toByteArray(), {}};
    m.name = QUrl::fromPercentEncoding(line.sliced(space + 1).toByteArray());
    if (m.name.isEmpty())
        return std::nullopt;
    return m;
}

} // namespace

bool isMarker(QByteArrayView sectionName) {
    return sectionName.startsWith(kMarkerStart.sliced(1));
}

bool isJoined(QByteArrayView content) {
    for (qsizetype at = content.indexOf(kMarkerStart); at >= 0;
         at = content.indexOf(kMarkerStart, at + 1))
        if (at == 0 || content[at - 1] == '\n')
            return true;
    return false;
}

QByteArray join(const std::vector<Part>& parts) {
    return join(std::vector<Part>(parts));
}

QByteArray join(std::vector<Part>&& parts) {
    if (parts.empty())
        return {};
    if (parts.size() == 1)
        return std::move(parts[0].bytes);
    qsizetype size = 0;
    for (const Part& p : parts)
        size += p.bytes.size() + p.name.size() * 3 + 32;
    // The first part's buffer grows in place (a large one is moved by the system, not copied).
    QByteArray out = std::move(parts[0].bytes);
    out.reserve(size);
    QByteArray added; // the line end added after the part before
    for (size_t i = 0; i < parts.size(); ++i) {
        // The first part is out itself, looked at before anything is added to it.
        QByteArrayView bytes = i == 0 ? QByteArrayView(out) : QByteArrayView(parts[i].bytes);
        if (i > 0) {
            QByteArray flags = added;
            if (bytes.startsWith(kBom)) {
                flags += 'b';
                bytes = bytes.sliced(kBom.size());
            }
            out += marker(flags, parts[i].name);
        }
        if (i > 0)
            out += bytes;
        added.clear();
        if (i + 1 < parts.size() && !bytes.isEmpty() && !bytes.endsWith('\n')) {
            const bool crlf = bytes.contains("\r\n");
            out += crlf ? "\r\n" : "\n";
            added = crlf ? "r" : "n";
        }
    }
    return out;
}

std::optional<std::vector<Part>> split(QByteArrayView joined, const QString& firstName) {
    std::vector<Marker> markers;
    for (qsizetype at = joined.indexOf(kMarkerStart); at >= 0;
         at = joined.indexOf(kMarkerStart, at + 1)) {
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
    QByteArray bom;
    for (size_t i = 0; i <= markers.size(); ++i) {
        const qsizetype to = i < markers.size() ? markers[i].begin : joined.size();
        QByteArray bytes = bom + joined.sliced(from, to - from).toByteArray();
        if (i < markers.size()) {
            const QByteArray& flags = markers[i].flags;
            // The line end the join added after this part's last line goes again.
            if (flags.contains('r') && bytes.endsWith("\r\n"))
                bytes.chop(2);
            else if (flags.contains('n') && bytes.endsWith('\n'))
                bytes.chop(1);
            bom = flags.contains('b') ? kBom.toByteArray() : QByteArray();
            parts.push_back({name, std::move(bytes)});
            name = markers[i].name;
            from = markers[i].end;
        } else {
            parts.push_back({name, std::move(bytes)});
        }
    }
    return parts;
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
        const QByteArrayView line = text.text(s.header);
        const qsizetype space = line.indexOf(' ', kMarkerStart.size());
        names_ << QUrl::fromPercentEncoding(
            line.sliced(space + 1, line.size() - space - 2).toByteArray());
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
