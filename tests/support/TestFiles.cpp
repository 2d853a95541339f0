#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

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

QByteArray utf8(const QString& text) { return text.toUtf8(); }

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

TempDir::TempDir() { EXPECT_TRUE(dir_.isValid()); }

QString TempDir::write(const QString& name, const QByteArray& bytes) const {
    const QString p = file(name);
    QDir().mkpath(QFileInfo(p).absolutePath());
    writeBytes(p, bytes);
    return p;
}

QString sourceDir() { return QString::fromUtf8(TARVOK_SOURCE_DIR); }

QString shippedDataDir() { return sourceDir() + QStringLiteral("/data"); }

void TempDir::copyShippedData() const {
    const QDir data(shippedDataDir());
    ASSERT_TRUE(data.exists()) << data.path().toStdString();
    for (const QString& name : data.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(data.filePath(name), file(name))) << name.toStdString();
}

} // namespace tarvok::test
