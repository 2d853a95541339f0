#include "records/RecordChain.h"
#include "records/Registry.h"
#include "records/TriggerList.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::chain;

namespace {

const TextCodec kUtf8(Encoding::Utf8);

// A trigger naming two team types that share a task force; the second has no Name and
// no Script. Comments, an unknown key, indentation, a registry numbered from 1, a
// section whose lines end differently, and a last line without line end.
const QByteArray kFile = "[TeamTypes]\n1=TM-A\n2=TM-B\n\n[TaskForces]\n0=TF-1\n"
                         "[ScriptTypes]\n0=SC-1\n[AITriggerTypes]\n"
                         "T1=rush,TM-A,0,0,0,0,0,0,0,0,0,0,0,0, TM-B ;c\nT2=two,TM-GONE\n"
                         "[TM-A]\nName=a ;n\n  Odd=1\nTaskForce=TF-1\nScript=SC-1\n; about B\n"
                         "[TM-B]\nTaskForce = TF-1\r\n"
                         "[TF-1]\nName=tf\n0=1,E1\nGroup=-1\n[SC-1]\n0=0,0";

ChainRow row(Kind kind, const QString& newId, const QString& newName = {}, bool copy = true) {
    ChainRow r;
    r.kind = kind;
    r.newId = newId;
    r.newName = newName;
    r.copy = copy;
    return r;
}

// The lines of after that before does not have, in order.
std::vector<QByteArray> addedLines(const QByteArray& before, const QByteArray& after) {
    const QList<QByteArray> old = before.split('\n');
    std::vector<QByteArray> added;
    qsizetype i = 0;
    for (const QByteArray& line : after.split('\n'))
        i < old.size() && line == old[i] ? void(++i)
                                         : added.push_back(line.chopped(line.endsWith('\r')));
    return added;
}

} // namespace

TEST(RecordChain, RowsOfATriggerOrTeamTypeWithFreeIds) {
    const IniText text(kFile);
    const auto shown = [](const std::vector<ChainRow>& rows) {
        std::vector<QString> out;
        for (const ChainRow& r : rows)
            out.push_back(QString::number(int(r.kind)) + QString::number(int(r.from)) + ' ' + r.id +
                          ' ' + r.newId + ' ' + r.newName + (r.copy ? "" : " unticked"));
        return out;
    };
    EXPECT_EQ(shown(triggerChain(text, kUtf8, "T1=rush")),
              (std::vector<QString>{"00 T1 T1-2 rush", "11 TM-A TM-A-2 a", "21 TF-1 TF-1-2 tf",
                                    "31 SC-1 SC-1-2 ", "12 TM-B TM-B-2 "}));
    EXPECT_EQ(shown(triggerChain(text, kUtf8, "T2=two")), (std::vector<QString>{"00 T2 T2-2 two"}));
    EXPECT_EQ(shown(teamTypeChain(text, kUtf8, "TM-B")),
              (std::vector<QString>{"10 TM-B TM-B-2 ", "20 TF-1 TF-1-2 tf"}));
    EXPECT_TRUE(triggerChain(text, kUtf8, "T1=other").empty());
    EXPECT_TRUE(teamTypeChain(text, kUtf8, "TM-GONE").empty());
}

TEST(RecordChain, FreeIdsFollowTheFilesStyle) {
    std::vector<ChainRow> rows{row(Kind::TeamType, {}), row(Kind::TeamType, {}),
                               row(Kind::TaskForce, {})};
    rows[0].id = "TM-A";
    rows[1].id = rows[2].id = "X";
    const struct {
        QByteArray file;
        std::vector<QString> expected;
    } cases[] = {
        // More than half are eight digits and -G: past the largest, skipping one taken in
        // another letter case.
        {"[TeamTypes]\n0=0000000A-G\n1=0000000f-G\n2=TM-A\n[AITriggerTypes]\n00000001-G=x\n"
         "[00000011-g]\n",
         {"00000010-G", "00000012-G", "00000013-G"}},
        // Half is not more than half; past the last eight-digit number.
        {"[TeamTypes]\n0=0000000A-G\n1=TM-A\n[tm-a-2]\n", {"TM-A-3", "X-2", "X-3"}},
        // FFFFFFFF-G taken: on from the largest below it; past FFFFFFFF, the other style.
        {"[TeamTypes]\n0=FFFFFFFF-G\n1=FAFFFFFF-G\n[fb000001-g]\n",
         {"FB000000-G", "FB000002-G", "FB000003-G"}},
        {"[TeamTypes]\n0=FFFFFFFF-G\n1=FFFFFFFE-G\n", {"TM-A-2", "X-2", "X-3"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(freeIds(IniText(c.file), kUtf8, rows), c.expected) << c.file.toStdString();
    EXPECT_EQ(newChain(IniText(kFile), kUtf8)[3].newId, "NEWSCRIPT-2");
}

TEST(RecordChain, TheFirstProblemOfTheTickedRowsIsRefused) {
    const IniText text("[TeamTypes]\n0=TM-A\n[AITriggerTypes]\nT1=x,TM-A\n[X-1]\n");
    const Kind T = Kind::Trigger, M = Kind::TeamType, F = Kind::TaskForce;
    const struct {
        std::vector<ChainRow> rows;
        QString expected; // empty: accepted
    } cases[] = {
        {{row(T, "T2", "a;b"), row(M, "")}, "第 1 行的名称不可含 , 或 ;"},
        {{row(T, "T2", "n"), row(M, "", {}, false), row(M, "TM-C", "a,b")}, ""},
        {{row(M, "TM-C"), row(F, "")}, "第 2 行的新 ID 不可用：为空"},
        {{row(T, "T 2")}, "第 1 行的新 ID 不可用：不可含空格或 [ ] = , ;"},
        {{row(M, "TM=C")}, "第 1 行的新 ID 不可用：不可含空格或 [ ] = , ;"},
        {{row(M, "TMC")}, "第 1 行的新 ID 不可用：须含 -"},
        {{row(T, "t1")}, "第 1 行的新 ID 不可用：文件中已有此 ID"},
        {{row(M, "tm-a")}, "第 1 行的新 ID 不可用：文件中已有此 ID"},
        {{row(F, "x-1")}, "第 1 行的新 ID 不可用：文件中已有此 ID"},
        {{row(M, "TM-B"), row(T, "T2"), row(F, "tm-b")}, "第 3 行的新 ID 不可用：与第 1 行相同"},
        {{row(M, "TM-C", "a\nb")}, "第 1 行的名称不可含换行"},
    };
    for (const auto& c : cases) {
        const std::optional<Refusal> refused = checkRows(text, kUtf8, c.rows);
        EXPECT_EQ(refused ? refusalText(*refused) : QString(), c.expected);
    }
}

TEST(RecordChain, CopiesTheTickedRecordsOnceNamingTheCopies) {
    std::vector<ChainRow> rows = triggerChain(IniText(kFile), kUtf8, "T1=rush");
    ASSERT_EQ(rows.size(), 5u);
    for (auto [i, id, name] : {std::tuple{0, "T9", "x"},
                               {1, "A-9", "a"},
                               {2, "F-9", "tf2"},
                               {3, "S-9", "s"},
                               {4, "B-9", ""}})
        rows[i].newId = id, rows[i].newName = name;
    const ChainWrite all = copyChain(kFile, kUtf8, rows, {2, 1, 1});
    EXPECT_EQ(all.content,
              "[TeamTypes]\n1=TM-A\n2=TM-B\n3=A-9\n4=B-9\n\n[TaskForces]\n0=TF-1\n1=F-9\n"
              "[ScriptTypes]\n0=SC-1\n1=S-9\n[AITriggerTypes]\n"
              "T1=rush,TM-A,0,0,0,0,0,0,0,0,0,0,0,0, TM-B ;c\n"
              "T9=x,A-9,0,0,0,0,0,0,0,0,0,0,0,0, B-9 ;c\nT2=two,TM-GONE\n"
              "[TM-A]\nName=a ;n\n  Odd=1\nTaskForce=TF-1\nScript=SC-1\n"
              "\n[A-9]\nName=a ;n\n  Odd=1\nTaskForce=F-9\nScript=S-9\n; about B\n"
              "[TM-B]\nTaskForce = TF-1\r\n\r\n[B-9]\nTaskForce = F-9\r\n"
              "[TF-1]\nName=tf\n0=1,E1\nGroup=-1\n\n[F-9]\nName=tf2\n0=1,E1\nGroup=-1\n"
              "[SC-1]\n0=0,0\n\n[S-9]\nName=s\n0=0,0\n");
    EXPECT_EQ(all.added, (RegistryCounts{2, 1, 1}));

    // Unticked rows stay named by the copies; a new name gives a section its Name line.
    rows[1].copy = rows[3].copy = false;
    rows[4].newName = "b";
    const ChainWrite some = copyChain(kFile, kUtf8, rows, {2, 1, 1});
    EXPECT_EQ(addedLines(kFile, some.content),
              (std::vector<QByteArray>{
                  "3=B-9", "1=F-9", "T9=x,TM-A,0,0,0,0,0,0,0,0,0,0,0,0, B-9 ;c", "", "[B-9]",
                  "Name=b", "TaskForce = F-9", "", "[F-9]", "Name=tf2", "0=1,E1", "Group=-1"}));
    EXPECT_EQ(some.added, (RegistryCounts{1, 1, 0}));

    rows[4].newId = "tf-1";
    const ChainWrite refused = copyChain(kFile, kUtf8, rows, {2, 1, 1});
    EXPECT_EQ(refused.refused, (Refusal{5, Reason::Taken}));
    EXPECT_EQ(refused.content, kFile);
    // Nothing to write is said, never passed over as a copy made.
    for (ChainRow& r : rows)
        r.copy = false;
    EXPECT_EQ(copyChain(kFile, kUtf8, rows, {2, 1, 1}).refused,
              (Refusal{0, Reason::NothingToCopy}));

    // A copy's empty team slot is written as the game writes it.
    const QByteArray empty = "[AITriggerTypes]\nT1=x,,0,0,0,0,0,0,0,0,0,0,0,0,\n";
    std::vector<ChainRow> one = triggerChain(IniText(empty), kUtf8, "T1=x");
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(addedLines(empty, copyChain(empty, kUtf8, one, {}).content),
              std::vector<QByteArray>{"T1-2=x,<none>,0,0,0,0,0,0,0,0,0,0,0,0,<none>"});
}

// A new chain is the four adds made one after the other, in one change, its trigger set to
// fire.
TEST(RecordChain, NewChainAddsWhatTheFourAddsWould) {
    for (const QByteArray& file : {QByteArray("[TeamTypes]\n0=TM-A\n\n[TaskForces]\n[ScriptTypes]\n"
                                              "0=S-1\n[AITriggerTypes]\nT1=a,b\n"),
                                   QByteArray("; no registries\n[AITriggerTypes]"), QByteArray()}) {
        std::vector<ChainRow> rows = newChain(IniText(file), kUtf8);
        for (auto [i, id, name] :
             {std::tuple{0, "N", "名"}, {1, "N-T", "t"}, {2, "N-F", "f"}, {3, "N-S", ""}})
            rows[i].newId = id, rows[i].newName = name;
        const ChainWrite w = createChain(file, kUtf8, rows, {5, 1, 0});
        // Who may use it, as the dialog chose: only those fields differ.
        const ChainWrite chosen = createChain(file, kUtf8, rows, {5, 1, 0}, {"Russians", "2", "0"});

        const QList<QByteArray> team =
            test::newTeamBlock({{"Name", "t"}, {"TaskForce", "N-F"}, {"Script", "N-S"}});
        const QByteArray key = "N=" + test::utf8("名");
        QByteArray expected = addTriggerEntry(file, key).value();
        // The new chain's trigger fires: condition -1, any side, enabled on every difficulty.
        expected.replace(key + ",<none>,<all>,10,0,", key + ",N-T,<all>,10,-1,");
        expected.replace(",1,0,1,0,<none>,0,0,0", ",1,0,0,0,<none>,1,1,1");
        expected =
            addRegistryEntry(expected, "TaskForces", "N-F", 1, {"Name=f", "Group=-1"})->content;
        expected = addRegistryEntry(expected, "ScriptTypes", "N-S", 0, {"Name="})->content;
        expected =
            addRegistryEntry(expected, "TeamTypes", "N-T", 5, {team.begin(), team.end()})->content;
        EXPECT_EQ(w.content, expected);
        EXPECT_EQ(w.added, (RegistryCounts{1, 1, 1}));
        expected.replace(key + ",N-T,<all>,10,-1,", key + ",N-T,Russians,10,0,");
        expected.replace(",1,0,0,0,<none>,1,1,1", ",1,0,2,0,<none>,1,1,1");
        EXPECT_EQ(chosen.content, expected);
    }
}
