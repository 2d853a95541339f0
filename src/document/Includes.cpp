#include "document/Includes.h"

#include "document/FileStore.h"
#include "document/IniText.h"
#include "document/TextEncoding.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace tarvok::includes {

QStringList readingOrder(const QString& root,
                         const std::function<QStringList(const QString& file)>& namedBy) {
    QStringList order;
    QSet<QString> seen;
    // Files still to read, the next one last: each file's names go on in reverse, so that
    // they come off in their own order, before the names of the files that named it.
    QStringList pending{root};
    while (!pending.isEmpty()) {
        const QString file = pending.takeLast();
        if (seen.contains(file))
            continue;
        seen.insert(file);
        order << file;
        const QStringList named = namedBy(file);
        for (auto it = named.crbegin(); it != named.crend(); ++it)
            if (!seen.contains(*it))
                pending << *it;
    }
    return order;
}

QStringList namesIn(const IniText& text, const TextCodec& codec) {
    ListValues<QByteArrayView> list;
    for (const IniText::Section& s : text.sections()) {
        if (s.name != QByteArrayView("#include"))
            continue;
        for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i)
            if (text.kind(i) == IniText::Kind::Key)
                list.read(text.key(i), text.value(i));
    }
    QStringList names;
    for (const QByteArrayView value : list.values())
        if (!value.isEmpty())
            names << codec.decode(value);
    return names;
}

QStringList namedIn(QByteArrayView bytes) {
    const IniText::Range span = sectionSpan(bytes, "#include");
    if (span.length == 0)
        return {};
    const QByteArrayView part = bytes.sliced(span.begin, span.length);
    return namesIn(IniText(part), TextCodec(detectEncoding(part)));
}

QStringList filesOf(const QString& root) {
    const QString clean = QDir::cleanPath(QFileInfo(root).absoluteFilePath());
    const QString folder = QFileInfo(clean).absolutePath();
    QStringList read;
    readingOrder(clean, [&](const QString& file) {
        const std::optional<QByteArray> bytes = filestore::read(file);
        if (!bytes)
            return QStringList();
        read << file;
        QStringList named;
        for (const QString& name : namedIn(*bytes))
            named << locate(folder, name);
        return named;
    });
    return read;
}

QString locate(const QString& folder, const QString& name, bool* found) {
    static const QRegularExpression kSeparators(QStringLiteral("[\\\\/]+"));
    const QStringList parts = name.trimmed().split(kSeparators, Qt::SkipEmptyParts);
    QDir dir(folder);
    QString path = QDir::cleanPath(folder);
    bool matched = !parts.isEmpty();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        QString actual;
        if (parts[i] == QLatin1String(".") || parts[i] == QLatin1String("..")) {
            actual = parts[i];
        } else if (matched) {
            // Listed rather than filtered by name: a name may hold wildcard characters.
            const QStringList entries =
                dir.entryList((last ? QDir::Files : QDir::Dirs) | QDir::NoDotAndDotDot |
                              QDir::Hidden | QDir::System);
            if (entries.contains(parts[i])) // the exact name first, where case matters
                actual = parts[i];
            else
                for (const QString& entry : entries)
                    if (entry.compare(parts[i], Qt::CaseInsensitive) == 0) {
                        actual = entry;
                        break;
                    }
        }
        if (actual.isEmpty()) {
            matched = false;
            actual = parts[i];
        }
        path += QLatin1Char('/') + actual;
        if (matched && !last)
            matched = dir.cd(actual);
    }
    if (found)
        *found = matched;
    return QDir::cleanPath(path);
}

} // namespace tarvok::includes
