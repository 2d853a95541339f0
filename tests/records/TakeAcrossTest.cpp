#include "records/TakeAcross.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::take;
using namespace tarvok::test;

namespace {

const QByteArray kBlock = "0000000000000000000000000000000000000000000000000000000000000000";

// The open file: IDs of eight hexadecimal digits and "-G".
const QByteArray kMine = "[TeamTypes]\n0=00000001-G\n\n[TaskForces]\n0=00000002-G\n\n"
                         "[ScriptTypes]\n0=00000003-G\n\n[AITriggerTypes]\n"
                         "00000004-G=mine,00000001-G,<all>,0,0,<none>," +
                         kBlock +
                         ",500,0,500,1,0,1,0,<none>,1,1,1\n\n"
                         "[00000001-G]\nName=my team\nPriority=5\nMax=1\nTaskForce=00000002-G\n"
                         "Script=00000003-G\n\n[00000002-G]\nName=my tf\n0=1,E1\nGroup=-1\n\n"
                         "[00000003-G]\nName=my script\n0=0,0\n";

// Another mod's: a chain whose team type's ID is the open file's task force's, whose
// task force's ID is free and whose script's ID the open file has; and the open file's
// team type with other values.
const QByteArray kOther = "[TeamTypes]\n0=00000002-G\n1=00000001-G\n[TaskForces]\n0=00000005-G\n"
                          "[ScriptTypes]\n0=00000003-G\n[AITriggerTypes]\n"
                          "00000009-G=theirs,00000002-G,<all>,0,0,<none>," +
                          kBlock +
                          ",250,0,500,1,0,1,0,<none>,1,1,1\n"
                          "[00000002-G]\nName=their team\nTaskForce=00000005-G\n"
                          "Script=00000003-G\n[00000005-G]\nName=their tf\n0=2,HTNK\nGroup=-1\n"
                          "[00000003-G]\nName=their script\n0=1,1\n"
                          "[00000001-G]\nName=my team\nPriority=7.0\nTaskForce=00000002-G\n"
                          "Script=00000003-G\n";

} // namespace

TEST(TakeAcross, RecordsAndChainsTakenIntoTheOpenFile) {
    struct Case {
        const char* what;
        std::vector<Pick> picks;
        bool chain;
        QByteArray expected; // the content written
        Counts counts;
    };
    // Each new section after its registry, as an add puts it.
    const QByteArray chainAdded =
        "[TeamTypes]\n0=00000001-G\n1=00000006-G\n\n[00000006-G]\nName=their team\n"
        "TaskForce=00000005-G\nScript=00000003-G\n\n[TaskForces]\n0=00000002-G\n1=00000005-G\n\n"
        "[00000005-G]\nName=their tf\n0=2,HTNK\nGroup=-1\n\n[ScriptTypes]\n0=00000003-G\n\n"
        "[AITriggerTypes]\n00000009-G=theirs,00000006-G,<all>,0,0,<none>," +
        kBlock + ",250,0,500,1,0,1,0,<none>,1,1,1\n" +
        kMine.sliced(kMine.indexOf("00000004-G=mine"));
    const std::vector<Case> cases{
        {"a chain: an ID taken renumbered in the file's style, references rewired, the open "
         "file's script kept",
         {{Kind::Trigger, "00000009-G"}},
         true,
         chainAdded,
         {3, 0, 0}},
        {"without the chain the trigger alone",
         {{Kind::Trigger, "00000009-G"}},
         false,
         QByteArray(kMine).replace("[AITriggerTypes]\n",
                                   "[AITriggerTypes]\n00000009-G=theirs,00000002-G,<all>,0,0,"
                                   "<none>," +
                                       kBlock + ",250,0,500,1,0,1,0,<none>,1,1,1\n"),
         {1, 0, 0}},
        {"a changed record: only the values that differ, a key the other side lacks removed",
         {{Kind::TeamType, "00000001-G"}},
         true,
         QByteArray(kMine).replace("Priority=5\nMax=1\n", "Priority=7.0\n"),
         {0, 1, 0}},
        {"a record only the open file has is deleted with its registry line",
         {{Kind::Trigger, "00000004-G"}},
         true,
         QByteArray(kMine).replace("00000004-G=mine,00000001-G,<all>,0,0,<none>," + kBlock +
                                       ",500,0,500,1,0,1,0,<none>,1,1,1\n",
                                   ""),
         {0, 0, 1}},
    };
    const RulesIndex mine(kMine), other(kOther);
    for (const Case& c : cases) {
        const Result r = takeInto(mine, other, c.picks, c.chain, {1, 1, 1});
        EXPECT_EQ(r.content.value_or("(nothing)"), c.expected) << c.what;
        EXPECT_EQ(r.counts, c.counts) << c.what;
    }
    EXPECT_EQ(
        plan(mine, other, {{Kind::Trigger, "00000009-G"}, {Kind::Trigger, "00000004-G"}}, true)
            .types,
        QStringList{"HTNK"});
}

TEST(TakeAcross, OneWriteAndOneUndoGivesTheFileBack) {
    TempDir dir;
    const QString path = dir.write(QStringLiteral("ai.ini"), kMine);
    RulesDocument doc(dir.file(QStringLiteral("File.ini")), dir.file(QStringLiteral("history")));
    ASSERT_TRUE(doc.open(path));
    const RulesIndex other(kOther);
    const Taken t = TakeAcross(doc, other, {{Kind::Trigger, "00000009-G"}}, true);
    ASSERT_TRUE(t.write.ok() && t.wrote);
    EXPECT_EQ(takenText(t.counts), QStringLiteral("已采用：新增 3 个，修改 0 个，删除 0 个"));
    EXPECT_EQ(doc.count(RegistryKind::TeamTypes), 2);
    EXPECT_EQ(doc.history()->size(History::Stack::Undo), 1);
    ASSERT_EQ(doc.restore(History::Stack::Undo).outcome, RulesDocument::Restored::Done);
    EXPECT_EQ(readBytes(path), kMine);
}
