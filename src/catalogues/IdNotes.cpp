#include "catalogues/IdNotes.h"

#include "document/Lines.h"
#include "document/TextEncoding.h"

namespace tarvok::idnotes {
namespace {

bool isNoteOf(QStringView line, QStringView id) {
    const qsizetype comma = line.indexOf(QLatin1Char(','));
    return comma >= 0 && line.left(comma) == id;
}

} // namespace

std::optional<QString> noteOf(const QStringList& noteLines, const QString& id) {
    std::optional<QString> found;
    for (const QString& line : noteLines) {
        if (isNoteOf(line, id))
            found = line.mid(line.indexOf(QLatin1Char(',')) + 1);
    }
    return found;
}

bool hasNote(const QStringList& noteLines, const QString& id) {
    for (const QString& line : noteLines) {
        if (isNoteOf(line, id))
            return true;
    }
    return false;
}

QByteArray withLineOnTop(QByteArrayView content, QByteArrayView newLine) {
    LineCursor in(content);
    LineSink out(content.size() + newLine.size() + 8);
    if (in.hadBom())
        out.writeRaw(kUtf8Bom);
    out.write(newLine);
    while (!in.atEnd())
        out.write(in.next());
    return out.take();
}

Removal withoutNotesOf(QByteArrayView content, QByteArrayView id) {
    LineCursor in(content);
    LineSink out(content.size() + 8);
    if (in.hadBom())
        out.writeRaw(kUtf8Bom);
    Removal r;
    while (!in.atEnd()) {
        const QByteArrayView line = in.next();
        // ',' never occurs inside a GBK or UTF-8 multi-byte character, so the ID's
        // bytes end exactly at the first comma byte.
        if (lines::hasComma(line) && lines::before(line, ',') == id) {
            ++r.dropped;
            continue;
        }
        out.write(line);
    }
    r.content = out.take();
    return r;
}

} // namespace tarvok::idnotes
