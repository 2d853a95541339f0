#include "document/RulesDocument.h"
#include "support/TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <cerrno>
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

// The reading of a large file's write is made by the pool. Until it arrives the signals
// wait, to be said in the order things happened, and index() and read() still give the
// content written; a reading overtaken by an opening says nothing.
TEST(RulesDocument, ALargeWritesReadingArrivesWithTheSignalsThatWaitedForIt) {
    TempDir dir;
    const QByteArray padding = QByteArray(";" + QByteArray(98, 'x') + "\n")
                                   .repeated(RulesDocument::kReadInPoolFrom / 100 + 1);
    const QString path = dir.write(QStringLiteral("ai.ini"), "[TF]\nName=a\n" + padding);
    RulesDocument doc(dir.file(QStringLiteral("File.ini")));
    QStringList said;
    for (const auto& [signal, name] : {std::pair{&RulesDocument::opened, "opened"},
                                       {&RulesDocument::reloaded, "reloaded"},
                                       {&RulesDocument::written, "written"},
                                       {&RulesDocument::restored, "restored"}})
        QObject::connect(&doc, signal, [&said, name = QString::fromLatin1(name)] { said << name; });
    // Said once the content that ends the reading is in place, whatever ended it.
    QObject::connect(&doc, &RulesDocument::readingInProgressChanged, [&](bool on) {
        said << (on ? QStringLiteral("reading")
                    : "read " + QString::fromLatin1(doc.index()->name("TF").toByteArray()));
    });
    const auto rename = [&](char from, char to) {
        return doc.edit([&](const QByteArray& c, const TextCodec&) {
            return QByteArray(c).replace(QByteArray("Name=") + from, QByteArray("Name=") + to);
        });
    };
    const auto arrived = [&] { return QTest::qWaitFor([&] { return !doc.readingInProgress(); }); };
    ASSERT_TRUE(doc.open(path));
    ASSERT_TRUE(rename('a', 'b').ok());
    EXPECT_TRUE(doc.readingInProgress());
    EXPECT_EQ(doc.read()->bytes, *filestore::read(path));
    ASSERT_TRUE(rename('b', 'c').ok());
    EXPECT_EQ(said, QStringList({"opened", "reading"}));
    ASSERT_TRUE(arrived());
    EXPECT_EQ(said, QStringList({"opened", "reading", "read c", "written", "written"}));
    EXPECT_EQ(doc.index()->name("TF"), "c");
    // Another program's change found by a write: read again, then written, in that order.
    said.clear();
    overwriteInPlace(path, "[TF]\nName=c\n[X]\n" + padding);
    ASSERT_TRUE(rename('c', 'd').ok());
    const std::shared_ptr<const RulesIndex> asked = doc.index(); // before it arrived
    EXPECT_EQ(asked->name("TF"), "d");
    ASSERT_TRUE(arrived());
    EXPECT_EQ(said, QStringList({"reading", "read d", "written", "reloaded"}));
    EXPECT_EQ(doc.index(), asked);
    // An opening overtakes the reading in progress, and only its own signal is said.
    said.clear();
    ASSERT_TRUE(rename('d', 'e').ok());
    ASSERT_TRUE(doc.open(dir.write(QStringLiteral("other.ini"), "[TF]\nName=o\n")));
    QTest::qWait(50);
    EXPECT_EQ(said, QStringList({"reading", "read o", "opened"}));
    EXPECT_EQ(doc.index()->name("TF"), "o");
}

namespace {

// Another program's hand in the middle of a save: just before the new content would take
// the file's place, a line is appended, as often as `appends` says.
QString appendingTo;
int appends = 0;
bool noRoom = false; // the history's disk too full for a copy
int appendBeforeTheCheck(const char* step) {
    if (noRoom && std::string_view(step) == "history.room")
        return ENOSPC;
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

namespace {

struct Copies {
    TempDir dir;
    QString path = dir.write(QStringLiteral("aimd.ini"), "[TeamTypes]\r\n0=A\r\n");
    std::unique_ptr<RulesDocument> open(const QString& scratch = QStringLiteral("File.ini")) {
        auto doc = std::make_unique<RulesDocument>(dir.file(scratch));
        doc->setHistoryFolder(dir.file(QStringLiteral("history")));
        EXPECT_TRUE(doc->open(path));
        return doc;
    }
};

filestore::WriteResult saveAs(RulesDocument& doc, const QByteArray& line) {
    return doc.edit([&](const QByteArray& c, const TextCodec&) { return std::optional(c + line); });
}

} // namespace

// Two copies on one file: B saves between A's saves. A's undo takes back A's own last step
// and stops at B's: the step before was undone over content it did not write.
TEST(RulesDocument, UndoesAStepOnlyOverTheContentThatStepWrote) {
    Copies c;
    std::unique_ptr<RulesDocument> a = c.open();
    std::unique_ptr<RulesDocument> b = c.open(QStringLiteral("File2.ini"));
    ASSERT_TRUE(saveAs(*a, "1=A1\r\n").ok());
    const filestore::WriteResult bSaved = saveAs(*b, "2=B\r\n");
    ASSERT_TRUE(bSaved.ok());
    EXPECT_EQ(bSaved.versionResult, filestore::Result::Locked);
    ASSERT_TRUE(saveAs(*a, "3=A2\r\n").ok());
    const QByteArray withB = "[TeamTypes]\r\n0=A\r\n1=A1\r\n2=B\r\n";
    EXPECT_EQ(a->restore(History::Stack::Undo).outcome, RulesDocument::Restored::Done);
    EXPECT_EQ(*filestore::read(c.path), withB);
    EXPECT_EQ(a->restore(History::Stack::Undo).outcome, RulesDocument::Restored::ChangedOutside);
    EXPECT_EQ(*filestore::read(c.path), withB);
}

// Versions and notes of an earlier editor, whose hash was its build's own: the first undo
// goes by the file as this run read it; later ones by the fingerprint it wrote.
TEST(RulesDocument, UndoesAnEarlierEditorsHistory) {
    Copies c;
    {
        std::unique_ptr<RulesDocument> doc = c.open();
        ASSERT_TRUE(saveAs(*doc, "1=B\r\n").ok());
        ASSERT_TRUE(saveAs(*doc, "2=C\r\n").ok());
        const QString versions = QFileInfo(doc->history()->top(History::Stack::Undo)->file).path();
        for (const QString& name : QDir(versions).entryList(QDir::Files)) // "seq-ms.ini"
            QFile::rename(QDir(versions).filePath(name),
                          QDir(versions).filePath(name.left(24) + QStringLiteral(".ini")));
        test::writeBytes(QDir(versions).filePath(QStringLiteral("../fingerprint.txt")),
                         QByteArray::number(filestore::facts(c.path).size) + " 5eed\n");
    }
    std::unique_ptr<RulesDocument> doc = c.open();
    EXPECT_FALSE(doc->history()->top(History::Stack::Undo)->wrote);
    EXPECT_EQ(doc->restore(History::Stack::Undo).outcome, RulesDocument::Restored::Done);
    EXPECT_EQ(doc->restore(History::Stack::Undo).outcome, RulesDocument::Restored::Done);
    EXPECT_EQ(*filestore::read(c.path), "[TeamTypes]\r\n0=A\r\n");
}

// A disk too full for a copy: the redo version of a file with one name is a second name
// of it and is kept; a file with other names needs a copy, and the undo goes ahead without
// it only when asked to.
TEST(RulesDocument, UndoesOnADiskTooFullForTheRedoVersion) {
    for (const bool otherName : {false, true}) {
        SCOPED_TRACE(otherName ? "a file with another name" : "a file with one name");
        Copies c;
        std::unique_ptr<RulesDocument> doc = c.open();
        ASSERT_TRUE(saveAs(*doc, "1=B\r\n").ok());
        if (otherName) {
            ASSERT_TRUE(filestore::link(c.path, c.dir.file(QStringLiteral("other.ini"))).ok());
        }
        const QByteArray saved = *filestore::read(c.path);
        noRoom = true;
        filestore::setStepHook(appendBeforeTheCheck);
        RulesDocument::Restored r = doc->restore(History::Stack::Undo);
        if (otherName) {
            EXPECT_EQ(r.outcome, RulesDocument::Restored::NoRoomForVersion);
            EXPECT_EQ(*filestore::read(c.path), saved);
            r = doc->restore(History::Stack::Undo, true);
        }
        filestore::setStepHook(nullptr);
        noRoom = false;
        EXPECT_EQ(r.outcome, RulesDocument::Restored::Done);
        EXPECT_EQ(*filestore::read(c.path), "[TeamTypes]\r\n0=A\r\n");
        EXPECT_EQ(doc->history()->size(History::Stack::Redo), otherName ? 0 : 1);
    }
}

namespace {

QString refusedRead; // a file the system will not let the editor read
int refuseRead(const char* step) {
    return QString::fromUtf8(step) == "read " + refusedRead ? EACCES : 0;
}

} // namespace

// An included file that is there but cannot be read (no right to, a folder) is named
// and left out, and looked at without reading the mod again until the system says it changed.
TEST(RulesDocument, AnUnreadableIncludedFileIsLookedAtNotReadAgain) {
    TempDir dir;
    const QString path =
        dir.write(QStringLiteral("ai.ini"), "[#include]\n1=locked.ini\n2=folder.ini\n");
    const QString locked = dir.write(QStringLiteral("locked.ini"), "[TaskForces]\n0=B\n");
    QDir(dir.path()).mkdir(QStringLiteral("folder.ini"));
    RulesDocument doc(dir.file(QStringLiteral("File.ini")));
    int reads = 0; // a reading takes the time once for each file it reads
    doc.setClock([&] {
        ++reads;
        return (QDateTime::currentMSecsSinceEpoch() + 1000) * 1'000'000;
    });
    refusedRead = QDir::cleanPath(locked);
    filestore::setStepHook(refuseRead);
    const std::optional<RulesDocument::Opened> opened = doc.open(path);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->includeProblems.first(),
              QStringLiteral("无法读取 locked.ini，其中的记录未列出"));
    EXPECT_EQ(opened->includeProblems.size(), 2);
    reads = 0;
    for (int key = 0; key < 20; ++key)
        EXPECT_FALSE(doc.refresh());
    EXPECT_EQ(reads, 0);
    filestore::setStepHook(nullptr); // made readable: its rights change
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_TRUE(doc.refresh());
    EXPECT_TRUE(doc.index()->bytes().contains("0=B"));
}

// Each file of a mod keeps its own encoding: names show rightly whichever file holds them,
// a name is saved in its file's encoding, and one it cannot hold is refused.
TEST(RulesDocument, EachIncludedFileKeepsItsOwnEncoding) {
    const TextCodec gbk(Encoding::Gbk), utf8(Encoding::Utf8);
    for (const auto& [opened, included, bom] : {std::tuple{&gbk, &utf8, QByteArray()},
                                                {&gbk, &utf8, QByteArray("\xEF\xBB\xBF")},
                                                {&utf8, &gbk, QByteArray()}}) {
        TempDir dir;
        const QString path =
            dir.write(QStringLiteral("ai.ini"),
                      "[#include]\n1=sub.ini\n[A]\nName=" + opened->encode(u"进攻") + "\n");
        const auto sub = [&](QStringView name) {
            return bom + "[B]\nName=" + included->encode(name) + "\n";
        };
        dir.write(QStringLiteral("sub.ini"), sub(u"空降突击"));
        RulesDocument doc(dir.file(QStringLiteral("File.ini")));
        ASSERT_TRUE(doc.open(path));
        EXPECT_EQ(doc.index()->codec().decode(doc.index()->name("B")), QStringLiteral("空降突击"));
        const auto rename = [&](QStringView to) {
            return doc.edit([&](const QByteArray& c, const TextCodec& codec) {
                return std::optional(c.left(c.lastIndexOf("Name=") + 5) + codec.encode(to) + "\n");
            });
        };
        for (const QStringView name : {u"第一", u"第二"}) {
            ASSERT_TRUE(rename(name).ok());
            EXPECT_EQ(readBytes(dir.file(QStringLiteral("sub.ini"))), sub(name));
        }
        if (included == &gbk) {
            EXPECT_EQ(rename(u"\U0001F680").result, filestore::Result::Unencodable);
        }
    }
}
