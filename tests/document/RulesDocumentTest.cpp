#include "document/RulesDocument.h"
#include "support/TestFiles.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <random>
#include <string_view>

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
    QObject::connect(&doc, &RulesDocument::reloaded, [&] { ++reloads; });
    // Every look comes right after the file's last write, however slow the run: its
    // time cannot tell a second write in the same step, and the content is compared.
    doc.setClock(
        [&] { return QFileInfo(path).lastModified().toMSecsSinceEpoch() * 1'000'000 + 1'000'000; });
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
            ASSERT_FALSE(doc.refresh());
            ASSERT_EQ(doc.index()->bytes(), before);
            overwriteInPlace(path, changed);
            setTime(path, time);
        } else { // another program adds a task force
            overwriteInPlace(path, before + "[TaskForces]\n" + id + "=" + id + "\n");
        }
        const int reloadsBefore = reloads;
        ASSERT_EQ(doc.refresh(), kind != 0);
        const std::shared_ptr<const RulesIndex> index = doc.index();
        ASSERT_TRUE(index);
        const QByteArray now = *filestore::read(path);
        ASSERT_EQ(index->bytes(), now) << "step " << step;
        ASSERT_EQ(listsAndNames(*index), listsAndNames(RulesIndex(now))) << "step " << step;
        ASSERT_EQ(reloads - reloadsBefore, kind == 0 ? 0 : 1) << "step " << step;
        ASSERT_EQ(doc.count(RegistryKind::TaskForces),
                  static_cast<qint16>(index->scan().taskForces.size()));
        ASSERT_FALSE(doc.refresh()) << "a second look reads nothing again";
        ASSERT_EQ(doc.index(), index);
    }
}

namespace {

// Another program's hand in the middle of a save: just before the new content would take
// the file's place, a line is appended, as often as `appends` says.
QString appendingTo;
int appends = 0;
int appendBeforeTheCheck(const char* step) {
    if (std::string_view(step) == "replace.sync" && appends != 0) {
        --appends;
        QFile f(appendingTo);
        if (f.open(QIODevice::Append))
            f.write("; added elsewhere\r\n");
    }
    return 0;
}

} // namespace

// Undo never puts a version back over content the editor did not write: not after another
// program changed the file between two runs, nor after a rewrite in place that keeps its
// size and time. A change made while the editor writes is not lost: the edit is made again
// on the new content, and after kRetries more tries the write is refused.
TEST(RulesDocument, NeitherUndoNorASaveGoesOverAnotherProgramsChange) {
    TempDir dir;
    const QString path = dir.write(QStringLiteral("ai.ini"), "[TeamTypes]\r\n0=A\r\n");
    const auto open = [&] {
        auto doc = std::make_unique<RulesDocument>(dir.file(QStringLiteral("File.ini")));
        doc->setHistoryFolder(dir.file(QStringLiteral("history")));
        EXPECT_TRUE(doc->open(path));
        return doc;
    };
    const auto addB = [](const QByteArray& c, const TextCodec&) {
        return std::optional<QByteArray>(c + "1=B\r\n");
    };
    ASSERT_TRUE(open()->edit(addB).ok());
    const QByteArray saved = *filestore::read(path);

    test::writeBytes(path, saved + "; between two runs\r\n");
    EXPECT_EQ(open()->restore(History::Stack::Undo).outcome,
              RulesDocument::Restored::ChangedOutside);
    EXPECT_EQ(*filestore::read(path), saved + "; between two runs\r\n");

    std::unique_ptr<RulesDocument> doc = open();
    ASSERT_TRUE(doc->edit(addB).ok()); // the editor's own again: undo may go back over it
    const QByteArray same = QByteArray(*filestore::read(path)).replace("1=B", "1=C");
    const QDateTime time = QFileInfo(path).lastModified();
    overwriteInPlace(path, same);
    setTime(path, time);
    EXPECT_EQ(doc->restore(History::Stack::Undo).outcome, RulesDocument::Restored::ChangedOutside);
    EXPECT_EQ(*filestore::read(path), same);
    EXPECT_EQ(doc->history()->size(History::Stack::Undo), 2);

    appendingTo = path;
    filestore::setStepHook(appendBeforeTheCheck);
    appends = RulesDocument::kRetries;
    EXPECT_TRUE(doc->edit(addB).ok());
    EXPECT_TRUE(filestore::read(path)->endsWith(
        QByteArray("; added elsewhere\r\n").repeated(RulesDocument::kRetries) + "1=B\r\n"));
    appends = -1; // every time
    EXPECT_EQ(doc->edit(addB).result, filestore::Result::Busy);
    filestore::setStepHook(nullptr);
    EXPECT_TRUE(filestore::read(path)->endsWith("; added elsewhere\r\n"));
}
