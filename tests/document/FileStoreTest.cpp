#include "document/FileStore.h"
#include "document/Pool.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <atomic>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {

// Replaces "B=b,2" wherever it stands; every other byte must come back as it was.
QByteArray replaceB(const QByteArray& content) {
    return QByteArray(content).replace("B=b,2", "B=b,9");
}

struct RestorePermissions {
    QString path;
    QFile::Permissions perms;
    ~RestorePermissions() { QFile::setPermissions(path, perms); }
};

class FileStoreTest : public ::testing::Test {
  protected:
    TempDir rulesDir;
    TempDir programDir;
    QString scratch() const { return programDir.file(QStringLiteral("File.ini")); }
};

} // namespace

TEST_F(FileStoreTest, RewriteKeepsUntouchedBytesAndLeavesTheOldContentInTheScratchCopy) {
    const QString cases[] = {QStringLiteral("gbk"), QStringLiteral("utf8"),
                             QStringLiteral("invalid"), QStringLiteral("nolastend"),
                             QStringLiteral("lf")};
    const QByteArray contents[] = {
        crlf({"[AITriggerTypes]", gbk(QStringLiteral("A=进攻,1")), "B=b,2",
              gbk(QStringLiteral(";注释"))}),
        QByteArray("\xEF\xBB\xBF") +
            crlf({"[AITriggerTypes]", utf8(QStringLiteral("A=进攻,1")), "B=b,2"}),
        crlf({"[AITriggerTypes]", QByteArray("A=\xFF\xFE\x80,1"), "B=b,2", QByteArray("\x81")}),
        QByteArray("[AITriggerTypes]\r\nA=a,1\r\nB=b,2"),
        QByteArray("[AITriggerTypes]\nA=a,1\nB=b,2\nlast\n"),
    };
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(cases[i].toStdString());
        const QString path = rulesDir.write(QStringLiteral("ai.ini"), contents[i]);
        ASSERT_EQ(filestore::rewrite(path, scratch(), replaceB), filestore::Result::Ok);
        // The file holds exactly what the transform gave, whatever its encoding and line ends.
        ASSERT_NE(replaceB(contents[i]), contents[i]);
        EXPECT_EQ(readBytes(path), replaceB(contents[i]));
        EXPECT_EQ(readBytes(scratch()), contents[i]);
    }
}

TEST_F(FileStoreTest, RewriteKeepsTheFilePermissions) {
    const QString path = rulesDir.write(QStringLiteral("ai.ini"), crlf({"B=b,2"}));
    const auto perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path, perms));
    ASSERT_EQ(filestore::rewrite(path, scratch(), replaceB), filestore::Result::Ok);
    const auto mask = QFile::Permissions(0x7077); // owner, group, others
    EXPECT_EQ(QFile::permissions(path) & mask, perms & mask);
}

TEST_F(FileStoreTest, ReadOnlyRulesFileIsLeftExactlyAsItWas) {
    const QByteArray content = crlf({"[AITriggerTypes]", "B=b,2"});
    const QString path = rulesDir.write(QStringLiteral("ai.ini"), content);
    RestorePermissions restore{path, QFile::permissions(path)};
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    EXPECT_EQ(filestore::rewrite(path, scratch(), replaceB), filestore::Result::ReadOnlyFile);
    EXPECT_EQ(readBytes(path), content);
    EXPECT_EQ(readBytes(scratch()), content); // the scratch copy was made first
}

TEST_F(FileStoreTest, ReadOnlyFolderOfTheRulesFileIsLeftAlone) {
    const QByteArray content = crlf({"[AITriggerTypes]", "B=b,2"});
    const QString path = rulesDir.write(QStringLiteral("sub/ai.ini"), content);
    const QString sub = rulesDir.file(QStringLiteral("sub"));
    RestorePermissions restore{sub, QFile::permissions(sub)};
    ASSERT_TRUE(QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_EQ(filestore::rewrite(path, scratch(), replaceB), filestore::Result::ReadOnlyFolder);
    EXPECT_EQ(readBytes(path), content);
    EXPECT_EQ(QDir(sub).entryList(QDir::Files), QStringList{QStringLiteral("ai.ini")});
}

TEST_F(FileStoreTest, UnwritableProgramFolderStopsBeforeAnythingIsWritten) {
    const QByteArray content = crlf({"[AITriggerTypes]", "B=b,2"});
    const QString path = rulesDir.write(QStringLiteral("ai.ini"), content);
    RestorePermissions restore{programDir.path(), QFile::permissions(programDir.path())};
    ASSERT_TRUE(QFile::setPermissions(programDir.path(), QFile::ReadOwner | QFile::ExeOwner));
    bool transformed = false;
    EXPECT_EQ(filestore::rewrite(path, scratch(),
                                 [&](const QByteArray& c) {
                                     transformed = true;
                                     return replaceB(c);
                                 }),
              filestore::Result::BackupFailed);
    EXPECT_FALSE(transformed);
    EXPECT_EQ(readBytes(path), content);
}

TEST_F(FileStoreTest, MissingFileOrFolderCannotBeRead) {
    EXPECT_FALSE(filestore::read(rulesDir.file(QStringLiteral("none.ini"))));
    EXPECT_FALSE(filestore::read(rulesDir.path()));
    EXPECT_FALSE(filestore::read(QString()));
    EXPECT_EQ(filestore::rewrite(rulesDir.file(QStringLiteral("none.ini")), scratch(), replaceB),
              filestore::Result::ReadFailed);
    EXPECT_FALSE(QFile::exists(scratch()));
}

TEST_F(FileStoreTest, ScratchCopyThatIsAFolderCountsAsAFailedCopy) {
    const QByteArray content = crlf({"[AITriggerTypes]", "B=b,2"});
    const QString path = rulesDir.write(QStringLiteral("ai.ini"), content);
    ASSERT_TRUE(QDir(programDir.path()).mkdir(QStringLiteral("File.ini")));
    EXPECT_EQ(filestore::rewrite(path, scratch(), replaceB), filestore::Result::BackupFailed);
    EXPECT_EQ(readBytes(path), content);
}

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>

TEST_F(FileStoreTest, PipesAndDevicesAreNeverOpenedAndRewritesKeepOwnerAndGroup) {
    const QString fifo = rulesDir.file(QStringLiteral("pipe")),
                  path = rulesDir.write(QStringLiteral("ai.ini"), "B=b,2");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    for (const QString& p : {fifo, QStringLiteral("/dev/null")})
        EXPECT_FALSE(filestore::read(p) || filestore::exists(p)) << p.toStdString();
    ASSERT_EQ(
        ::link(QFile::encodeName(path).constData(), QFile::encodeName(fifo + "2").constData()), 0);
    EXPECT_EQ(filestore::facts(path).links, 2u);
    if (filestore::facts(path).owner != 0)
        GTEST_SKIP() << "only root gives a file away";
    ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 12345, 12345), 0);
    ASSERT_EQ(filestore::rewrite(path, scratch(), replaceB), filestore::Result::Ok);
    const filestore::FileFacts f = filestore::facts(path);
    EXPECT_EQ(std::tuple(f.links, f.owner, f.group), std::tuple(1ull, 12345u, 12345u));
}
#endif

// A large file is read in two halves at once; what comes back is the whole file.
TEST_F(FileStoreTest, ALargeFileReadsWhole) {
    QByteArray content(5 << 20, '\0');
    for (qsizetype i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i * 131 % 251);
    EXPECT_EQ(filestore::read(rulesDir.write(QStringLiteral("large.ini"), content)), content);
}

// A task's work may use what its caller owns: the last copy of the task waits for it, as
// when an exception takes the caller away before it took the answer.
TEST(Pool, ATaskWaitsForItsWorkWhenItsLastCopyGoes) {
    std::atomic<bool> done = false;
    {
        const pool::Task<bool> task = pool::run([&done] {
            QThread::msleep(50);
            return done = true;
        });
        const pool::Task<bool> copy = task;
    }
    EXPECT_TRUE(done);
}
