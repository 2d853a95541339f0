#include "document/RulesDocument.h"
#include "support/TestFiles.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <random>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

// The scratch copy is replaced by every rewrite: opened as the rules file, the first
// save would take away the content it was read from.
TEST(RulesDocument, NeverOpensItsOwnScratchCopy) {
    TempDir dir;
    const QByteArray content = "[TeamTypes]\r\n0=TM-A\r\n";
    const QString scratch = dir.write(QStringLiteral("File.ini"), content);
    ASSERT_TRUE(QFile::link(scratch, dir.file(QStringLiteral("ai.ini"))));
    RulesDocument doc(scratch);
    EXPECT_FALSE(doc.open(scratch));
    EXPECT_FALSE(doc.open(dir.file(QStringLiteral("ai.ini")))); // the same file by another name
    EXPECT_FALSE(doc.isOpen());
    const std::optional<RulesDocument::Opened> opened =
        doc.open(dir.write(QStringLiteral("aimd.ini"), content));
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->hardLinks, 1);
    EXPECT_EQ(doc.count(RegistryKind::TeamTypes), 1);
}

namespace {

// What a fresh reading of the file gives: the four lists and every entry's name.
std::vector<QByteArray> listsAndNames(const RulesIndex& index) {
    std::vector<QByteArray> out;
    const RulesScan& s = index.scan();
    for (const auto* list : {&s.triggerKeys, &s.teamTypes, &s.taskForces, &s.scriptTypes})
        for (QByteArrayView entry : *list)
            out.push_back(entry.toByteArray() + '|' + index.name(entry).toByteArray());
    return out;
}

void overwriteInPlace(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite | QIODevice::Truncate));
    f.write(bytes);
}

void setTime(const QString& path, const QDateTime& time) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite) &&
                f.setFileTime(time, QFileDevice::FileModificationTime));
}

} // namespace

// The index kept between operations always reads as the file does now: after the editor's
// own writes (without a second reading) and after other programs' writes, also those
// that keep the file's size and come within the file system's time step, in place.
TEST(RulesDocument, IndexFollowsTheFileThroughOwnAndOtherWrites) {
    TempDir dir;
    std::mt19937 rng(7);
    const QString path =
        dir.write(QStringLiteral("ai.ini"),
                  "[TeamTypes]\n0=A\n[A]\nName=alpha\n[TaskForces]\n0=B\n[B]\nName=beta\n");
    RulesDocument doc(dir.file(QStringLiteral("File.ini")));
    int reloads = 0;
    doc.setReloadListener([&] { ++reloads; });
    ASSERT_TRUE(doc.open(path));
    for (int step = 0; step < 60; ++step) {
        const QByteArray before = *filestore::read(path);
        const int kind = static_cast<int>(rng() % 3);
        const QByteArray id = "R" + QByteArray::number(step);
        if (kind == 0) { // the editor adds a team type
            ASSERT_TRUE(
                doc.edit([&](const QByteArray& c, const TextCodec&) -> std::optional<QByteArray> {
                       QByteArray out = c;
                       out.replace("[TeamTypes]\n", "[TeamTypes]\n" + QByteArray::number(step + 1) +
                                                        "=" + id + "\n");
                       return out + "[" + id + "]\nName=n" + id + "\n";
                   })
                    .ok());
        } else if (kind == 1) { // another program renames a record, keeping the size
            QByteArray changed = before;
            const qsizetype at = changed.lastIndexOf("Name=") + 5;
            changed[at] = changed[at] == 'x' ? 'y' : 'x';
            // First only touched (nothing to read again), then written in place within the
            // same step of the file system's clock: size, time and identity stay.
            const QDateTime time = QDateTime::currentDateTime();
            setTime(path, time);
            ASSERT_EQ(doc.index()->bytes(), before);
            overwriteInPlace(path, changed);
            setTime(path, time);
        } else { // another program adds a task force
            overwriteInPlace(path, before + "[TaskForces]\n" + id + "=" + id + "\n");
        }
        const int reloadsBefore = reloads;
        const std::shared_ptr<const RulesIndex> index = doc.index();
        ASSERT_TRUE(index);
        const QByteArray now = *filestore::read(path);
        ASSERT_EQ(index->bytes(), now) << "step " << step;
        ASSERT_EQ(listsAndNames(*index), listsAndNames(RulesIndex(now))) << "step " << step;
        ASSERT_EQ(reloads - reloadsBefore, kind == 0 ? 0 : 1) << "step " << step;
        ASSERT_EQ(doc.count(RegistryKind::TaskForces),
                  static_cast<qint16>(index->scan().taskForces.size()));
        ASSERT_EQ(doc.index(), index) << "a second look reads nothing again";
    }
}
