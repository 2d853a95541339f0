// Feeds a hostile folder of files to the reading of a rules file with the files it includes.
// The input is up to eight files, separated by NUL bytes: the first is the rules file ai.ini,
// the others f1.ini, f2.ini, ... beside it. A file whose text starts with "L " is a symbolic
// link to the name after it, one that is "D" a folder. The texts name each other, folders
// above ("..\"), themselves and each other in circles in their [#include] sections. Checks
// that every file is read once, in the order of includes::filesOf, and that the joined content
// splits back into exactly those files.
#include "document/FileSet.h"
#include "document/Includes.h"
#include "document/RulesDocument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "FuzzCheck.h"

using namespace tarvok;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> texts = input.split('\0').mid(0, 8);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 0;
    const QDir folder(dir.path());
    folder.mkdir(QStringLiteral("mod"));
    const QDir mod(folder.filePath(QStringLiteral("mod")));
    for (qsizetype i = 0; i < texts.size(); ++i) {
        // The first file sits in mod/, the others beside it or, for odd ones, a folder above.
        const QString name = i == 0 ? QStringLiteral("ai.ini") : QStringLiteral("f%1.ini").arg(i);
        const QString path = i % 2 == 1 ? folder.filePath(name) : mod.filePath(name);
        const QByteArray& text = texts[i];
        if (text.startsWith("L ")) {
            QFile::link(QString::fromUtf8(text.mid(2)), path);
        } else if (text == "D") {
            QDir().mkdir(path);
        } else {
            QFile f(path);
            if (f.open(QIODevice::WriteOnly))
                f.write(text);
        }
    }
    const QString root = mod.filePath(QStringLiteral("ai.ini"));
    const std::optional<RulesDocument::Joined> joined = RulesDocument::readJoined(root);
    const QStringList files = includes::filesOf(root);
    check(joined.has_value() == !files.isEmpty());
    if (!joined)
        return 0;
    const std::optional<std::vector<fileset::Part>> parts =
        fileset::split(joined->bytes, QStringLiteral("ai.ini"));
    check(parts && static_cast<qsizetype>(parts->size()) == files.size());
    return 0;
}
