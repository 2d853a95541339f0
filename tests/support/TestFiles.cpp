#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QtEndian>

#include <gtest/gtest.h>

namespace tarvok::test {

QByteArray crlf(const QList<QByteArray>& lines) {
    QByteArray out;
    for (const QByteArray& l : lines)
        out += l + "\r\n";
    return out;
}

QByteArray gbk(const QString& text) {
    QStringEncoder enc("GBK");
    return enc.encode(text);
}

QByteArray utf8(const QString& text) {
    return text.toUtf8();
}

namespace {

QByteArray le32(quint32 n) {
    const quint32 le = qToLittleEndian(n);
    return QByteArray(reinterpret_cast<const char*>(&le), 4);
}

} // namespace

QByteArray csfHeader(quint32 labelCount) {
    return " FSC" + le32(3) + le32(labelCount) + le32(labelCount) + le32(0) + le32(0);
}

QByteArray csfLabel(const QByteArray& name, const QStringList& texts, bool wide) {
    QByteArray out = " LBL" + le32(texts.size()) + le32(name.size()) + name;
    for (const QString& text : texts) {
        out += (wide ? "WRTS" : " RTS") + le32(text.size());
        for (QChar c : text)
            out.append(static_cast<char>(~c.unicode() & 0xFF))
                .append(static_cast<char>(~(c.unicode() >> 8) & 0xFF));
        if (wide)
            out += le32(5) + "sound";
    }
    return out;
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QList<QByteArray> newTeamBlock(std::initializer_list<std::pair<QByteArray, QByteArray>> changes) {
    QList<QByteArray> block{"Name=",
                            "VeteranLevel=1",
                            "MindControlDecision=0",
                            "Loadable=no",
                            "Full=no",
                            "Annoyance=no",
                            "GuardSlower=no",
                            "House=<none>",
                            "Recruiter=no",
                            "Autocreate=yes",
                            "Prebuild=no",
                            "Reinforce=no",
                            "Droppod=no",
                            "UseTransportOrigin=no",
                            "Whiner=yes",
                            "LooseRecruit=no",
                            "Aggressive=no",
                            "Suicide=yes",
                            "Priority=5",
                            "Max=1",
                            "TechLevel=0",
                            "Group=-1",
                            "OnTransOnly=no",
                            "AvoidThreats=yes",
                            "IonImmune=no",
                            "TransportsReturnOnUnload=yes",
                            "AreTeamMembersRecruitable=no",
                            "IsBaseDefense=no",
                            "OnlyTargetHouseEnemy=no",
                            "Script=",
                            "TaskForce="};
    for (const auto& [key, value] : changes) {
        bool found = false;
        for (QByteArray& line : block) {
            if (line.startsWith(key + "=")) {
                line = key + "=" + value;
                found = true;
            }
        }
        EXPECT_TRUE(found) << key.toStdString();
    }
    return block;
}

void writePanelDataFiles(const TempDir& dir) {
    dir.write(QStringLiteral("NameTable.WQ"),
              crlf({"HTNK," + gbk(QStringLiteral("犀牛坦克")) + ",",
                    "MTNK," + gbk(QStringLiteral("灰熊坦克")) + ","}));
    dir.write(QStringLiteral("Name.WQ"), {});
    dir.write(QStringLiteral("Scr.WQ"), {});
    dir.write(QStringLiteral("ID.WQ"), crlf({"2,GAPOWR", "2,GAPOWR", "2,GAPOWR"}));
    dir.write(QStringLiteral("ID2.WQ"), crlf({"2,GAPOWR"}));
}

TempDir::TempDir() {
    EXPECT_TRUE(dir_.isValid());
}

QString TempDir::write(const QString& name, const QByteArray& bytes) const {
    const QString p = file(name);
    QDir().mkpath(QFileInfo(p).absolutePath());
    writeBytes(p, bytes);
    return p;
}

QString sourceDir() {
    return QString::fromUtf8(TARVOK_SOURCE_DIR);
}

QString shippedDataDir() {
    return sourceDir() + QStringLiteral("/data");
}

QString referenceFile(const QString& name) {
    return QDir::cleanPath(sourceDir() + QStringLiteral("/../shared/reference/") + name);
}

void TempDir::copyShippedData() const {
    const QDir data(shippedDataDir());
    ASSERT_TRUE(data.exists()) << data.path().toStdString();
    for (const QString& name : data.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(data.filePath(name), file(name))) << name.toStdString();
}

} // namespace tarvok::test
