#include "records/References.h"
#include "document/RulesIndex.h"

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::references;

namespace {

// What a list shows of the references: "ID kind", own ones marked, missing ones as such.
std::vector<std::string> shown(const std::vector<Reference>& refs) {
    static const char* const kKinds[] = {"trigger", "team", "taskforce", "script"};
    std::vector<std::string> out;
    for (const Reference& r : refs)
        out.push_back(r.entry.toStdString() + " " + kKinds[static_cast<int>(r.kind)] +
                      (r.own ? " own" : "") + (r.missing ? " missing" : ""));
    return out;
}

} // namespace

// The references of each kind of record, read as the game reads the file: blanks, comments,
// a second section of one name, "<none>" and a team type named twice by one trigger.
TEST(References, WhatNamesEachRecordAndWhatItNames) {
    const RulesIndex index(
        "[AITriggerTypes]\n"
        "T1=first, TM-A "
        ",<all>,1,0,<none>,0000000000000000000000000000000000000000000000000000000000000000,50,30,"
        "50,1,0,1,0,TM-GONE,1,1,1\n"
        "T2=second,TM-A,<all>,1,0,<none>,"
        "0000000000000000000000000000000000000000000000000000000000000000,50,30,50,1,0,1,0,TM-A,1,"
        "1,1 ; both teams\n"
        "T3=third,<none>,<all>\n"
        "[TeamTypes]\n0=TM-A\n1=TM-B\n"
        "[TM-A]\nName=a\nTaskForce=TF-1\nScript=SC-GONE\n"
        "[TM-B]\nTaskForce=TF-OLD ; replaced below\n"
        "[TaskForces]\n0=TF-1\n"
        "[TF-1]\nName=x\n0=1,E1\n"
        "[TM-B]\nTaskForce = TF-1\nScript=SC-1\n"
        "[ScriptTypes]\n0=SC-1\n"
        "[SC-1]\n0=0,0\n");
    const RecordReferences refs(index);
    const struct {
        Kind kind;
        const char* id;
        std::vector<std::string> expected;
        int users;
    } cases[] = {
        {Kind::Trigger, "T1", {"TM-A team own", "TM-GONE team own missing"}, 0},
        {Kind::Trigger, "T2", {"TM-A team own"}, 0},
        {Kind::Trigger, "T3", {}, 0},
        {Kind::TeamType,
         "TM-A",
         {"TF-1 taskforce own", "SC-GONE script own missing", "T1=first trigger",
          "T2=second trigger"},
         2},
        {Kind::TeamType, "TM-B", {"TF-1 taskforce own", "SC-1 script own"}, 0},
        {Kind::TaskForce, "TF-1", {"TM-A team", "TM-B team"}, 2},
        {Kind::TaskForce, "TF-OLD", {}, 0},
        {Kind::Script, "SC-1", {"TM-B team"}, 1},
        {Kind::Script, "SC-GONE", {"TM-A team"}, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shown(refs.of(c.kind, c.id)), c.expected) << c.id;
        EXPECT_EQ(refs.users(c.kind, c.id), c.users) << c.id;
    }
}

// A map's own sections (its triggers, actions, anything else) name records by whole value
// or comma field; the records' own sections and an AI file's other sections do not count.
TEST(References, AMapsOwnSectionsUseRecords) {
    const QByteArray records = "[TeamTypes]\n0=TM-A\n[TaskForces]\n0=TF-1\n[ScriptTypes]\n0=SC-1\n"
                               "[TM-A]\nName=a\nTaskForce=TF-1\nScript=SC-1\n"
                               "[TF-1]\nName=x\n0=1,E1\n[SC-1]\nName=s\n0=0,0\n";
    const QByteArray own = "[Actions]\n01=2,4,0,TM-A,0,0, SC-1 ,TM-A\n02=1,80,1,TF-1\n"
                           "[Events]\nE=TM-AB,TM\n[Digest]\n1=TM-A\n";
    const RulesIndex aiFile(records + own);
    const RulesIndex mapFile("[Map]\nSize=0,0,10,10\n" + records + own);
    const RecordReferences ai(aiFile);
    const RecordReferences map(mapFile);

    EXPECT_TRUE(ai.mapUses("TM-A").empty());
    EXPECT_EQ(ai.users(Kind::TaskForce, "TF-1"), 1);
    EXPECT_EQ(map.mapUses("TM-A"),
              (std::vector<MapUse>{{"Actions", "01", 19}, {"Digest", "1", 24}}));
    EXPECT_EQ(map.mapUses("SC-1"), (std::vector<MapUse>{{"Actions", "01", 19}}));
    EXPECT_EQ(map.users(Kind::TeamType, "TM-A"), 2);
    EXPECT_EQ(map.users(Kind::TaskForce, "TF-1"), 2); // its team type and action 02
    EXPECT_EQ(shown(map.of(Kind::TaskForce, "TF-1")), shown(ai.of(Kind::TaskForce, "TF-1")));
}
