// What each kind of write tells the window through the document's one change signal: a
// save names its record only, an add or delete its record and its list, a write the
// operation says nothing about counts as everything, and an opening or undo as everything.
#include "records/RecordOps.h"
#include "support/TestFiles.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;
using Cause = DocumentChange::Cause;

TEST(DocumentChange, EachWriteSaysWhatItChanged) {
    TempDir dir;
    const QString path = dir.write(QStringLiteral("ai.ini"),
                                   crlf({"[TaskForces]", "0=TF-A", "[TF-A]", "Name=A", "0=1,E1"}));
    RulesDocument doc(dir.file(QStringLiteral("File.ini")), dir.file(QStringLiteral("history")));
    QSignalSpy changes(&doc, &RulesDocument::changed);
    ASSERT_TRUE(doc.open(path));
    const auto last = [&] { return changes.takeLast().at(0).value<DocumentChange>(); };
    DocumentChange c = last();
    EXPECT_TRUE(c.cause == Cause::Opened && c.everything);

    records::SectionFields loaded{QStringLiteral("A"), {{"0", "1", "E1"}}};
    records::SectionFields now = loaded;
    now.name = QStringLiteral("B");
    ASSERT_TRUE(records::SaveTaskForce(doc, QStringLiteral("TF-A"), loaded, now).write.ok());
    c = last();
    EXPECT_TRUE(c.cause == Cause::Written && !c.everything);
    EXPECT_EQ(c.records, QStringList{"TF-A"});
    EXPECT_TRUE(c.lists.isEmpty());
    // Nothing to write: nothing is said.
    ASSERT_TRUE(records::SaveTaskForce(doc, QStringLiteral("TF-A"), now, now).write.ok());
    EXPECT_TRUE(changes.isEmpty());

    for (bool add : {true, false}) {
        ASSERT_TRUE(add ? records::AddTaskForce(doc, QStringLiteral("TF-B"), {"TF-A"}).write.ok()
                        : records::DeleteTaskForce(doc, QStringLiteral("TF-B")).write.ok());
        c = last();
        EXPECT_TRUE(!c.everything && c.records == QStringList{"TF-B"}) << add;
        EXPECT_EQ(c.lists, QList<QByteArray>{"TaskForces"}) << add;
    }

    ASSERT_TRUE(
        doc.rewrite([](const QByteArray& b, const TextCodec&) { return b + "; x\r\n"; }).ok());
    EXPECT_TRUE(last().everything);
    ASSERT_EQ(doc.restore(History::Stack::Undo).outcome, RulesDocument::Restored::Done);
    c = last();
    EXPECT_TRUE(c.cause == Cause::Restored && c.everything);
}
