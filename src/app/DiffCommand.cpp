#include "app/DiffCommand.h"

#include "document/RulesDocument.h"
#include "document/RulesIndex.h"
#include "records/Compare.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace tarvok::cli {
namespace {

using compare::Change;
using compare::Kind;

// The file with the files it includes, as the window reads it; a device such as /dev/null
// is read as it is. Nothing, with the reason on err, when it cannot be read.
std::optional<QByteArray> readSide(const QString& path, QTextStream& err) {
    const QFileInfo info(path);
    if (info.isDir()) {
        err << QStringLiteral("tarvok: 无法读取文件 %1：这是一个文件夹").arg(path) << '\n';
        return std::nullopt;
    }
    if (std::optional<RulesDocument::Joined> joined = RulesDocument::readJoined(path)) {
        for (const QString& problem : joined->problems)
            err << path << ": " << problem << '\n';
        return std::move(joined->bytes);
    }
    QFile file(path);
    if (info.exists() && !info.isFile() && file.open(QIODevice::ReadOnly))
        return file.readAll();
    err << QStringLiteral("tarvok: 无法读取文件 %1：%2")
               .arg(path,
                    info.exists() ? QStringLiteral("没有读取权限") : QStringLiteral("文件不存在"))
        << '\n';
    return std::nullopt;
}

QString kindKey(Kind kind) {
    switch (kind) {
    case Kind::Trigger:
        return QStringLiteral("trigger");
    case Kind::TeamType:
        return QStringLiteral("teamtype");
    case Kind::TaskForce:
        return QStringLiteral("taskforce");
    case Kind::Script:
        return QStringLiteral("script");
    }
    return {};
}

QString changeKey(Change change) {
    return change == Change::Added     ? QStringLiteral("added")
           : change == Change::Removed ? QStringLiteral("removed")
                                       : QStringLiteral("changed");
}

QString recordText(const compare::Difference& d) {
    QString s = compare::kindText(d.kind) + QLatin1Char(' ') + d.id;
    if (!d.name.isEmpty())
        s += QLatin1Char(' ') + d.name;
    return s;
}

void printText(const std::vector<compare::Difference>& differences, QTextStream& out) {
    const QString none = QStringLiteral("（无）");
    for (const compare::Difference& d : differences) {
        if (d.change != Change::Changed) {
            out << compare::changeText(d.change) << ' ' << recordText(d) << '\n';
            continue;
        }
        for (const compare::Value& v : d.values)
            out << recordText(d) << QStringLiteral("：") << compare::label(d.kind, v.key) << ' '
                << v.old.value_or(none) << QStringLiteral(" → ") << v.now.value_or(none) << '\n';
    }
}

void printJson(const std::vector<compare::Difference>& differences, QTextStream& out) {
    QJsonArray array;
    const auto side = [](const std::optional<QString>& v) {
        return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
    };
    for (const compare::Difference& d : differences) {
        QJsonArray values;
        for (const compare::Value& v : d.values)
            values.append(QJsonObject{{QStringLiteral("key"), v.key},
                                      {QStringLiteral("label"), compare::label(d.kind, v.key)},
                                      {QStringLiteral("old"), side(v.old)},
                                      {QStringLiteral("new"), side(v.now)}});
        array.append(QJsonObject{{QStringLiteral("kind"), kindKey(d.kind)},
                                 {QStringLiteral("id"), d.id},
                                 {QStringLiteral("name"), d.name},
                                 {QStringLiteral("change"), changeKey(d.change)},
                                 {QStringLiteral("values"), values}});
    }
    out << (array.isEmpty() ? QByteArray("[]\n") : QJsonDocument(array).toJson());
}

} // namespace

int runDiff(const QString& oldPath, const QString& newPath, DiffFormat format, QTextStream& out,
            QTextStream& err) {
    std::optional<QByteArray> oldBytes = readSide(oldPath, err);
    std::optional<QByteArray> newBytes = readSide(newPath, err);
    if (!oldBytes || !newBytes)
        return 2;
    const RulesIndex oldIndex(std::move(*oldBytes)), newIndex(std::move(*newBytes));
    const std::vector<compare::Difference> differences =
        compare::compare(compare::Side(oldIndex), compare::Side(newIndex));
    if (format == DiffFormat::Json)
        printJson(differences, out);
    else
        printText(differences, out);
    out.flush();
    return differences.empty() ? 0 : 1;
}

} // namespace tarvok::cli
