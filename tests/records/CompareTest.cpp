#include "records/Compare.h"
#include "document/FileSet.h"

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::compare;

namespace {

// One line per record: kind, ID, change (+ - ~ =), name; then "key old>new" per value,
// "-" for a side that lacks the key.
std::vector<QString> shown(const QByteArray& old, const QByteArray& now, bool withSame = false) {
    const RulesIndex a(old), b(now);
    std::vector<QString> out;
    for (const Difference& d : compare::compare(Side(a), Side(b), withSame)) {
        out.push_back(QStringLiteral("%1 %2 %3 %4")
                          .arg(int(d.kind))
                          .arg(d.id, QString("+-~="[int(d.change)]), d.name));
        for (const Value& v : d.values)
            out.push_back(
                QStringLiteral("  %1 %2>%3").arg(v.key, v.old.value_or("-"), v.now.value_or("-")));
    }
    return out;
}

const QByteArray kBase = "[TeamTypes]\n0=TM-A\n[TaskForces]\n0=TF-1\n[ScriptTypes]\n0=SC-1\n"
                         "[AITriggerTypes]\nT1=rush,TM-A,<all>,0,0,<none>,"
                         "0000000000000000000000000000000000000000000000000000000000000000,"
                         "500,0,1000,1,0,1,0,<none>,1,1,1\n"
                         "[TM-A]\nName=team\nPriority=5\nTaskForce=TF-1\nScript=SC-1\n"
                         "[TF-1]\nName=tf\n0=3,E1\nGroup=-1\n[SC-1]\nName=sc\n0=0,0\n";

QByteArray replaced(QByteArray s, const char* from, const char* to) {
    return s.replace(from, to);
}

} // namespace

TEST(Compare, RecordsAndValuesAsTheGameReadsThem) {
    struct Case {
        const char* what;
        QByteArray old, now;
        std::vector<QString> expected;
        bool withSame = false;
    };
    // The same records in another order, with comments, spacing, CR LF and the registries
    // listed the other way round.
    const QByteArray reordered =
        "; notes\r\n[SC-1]\r\n  Name = sc ; s\r\n0=0,0\r\n[TF-1]\r\n0= "
        "3,E1\r\nName=tf\r\nGroup=-1\r\n"
        "[AITriggerTypes]\r\nT1= rush,TM-A,<all>,0,0,<none>,"
        "0000000000000000000000000000000000000000000000000000000000000000,"
        "500,0,1000,1,0,1,0,<none>,1,1,1 ;x\r\n[ScriptTypes]\r\n5=SC-1\r\n[TaskForces]\r\n"
        "3=TF-1\r\n[TeamTypes]\r\n7=TM-A\r\n[tm-a]\r\nname=team\r\nPriority=5\r\nTaskForce=TF-1\r\n"
        "Script=SC-1\r\n";
    const std::vector<Case> cases{
        {"moved, commented, other case of section and key", kBase, reordered, {}},
        {"numbers written differently",
         kBase,
         replaced(replaced(kBase, "500,0,1000", "500.000000,0.0,1e3"), "Priority=5",
                  "Priority=+5."),
         {}},
        {"a row is text, a weight a number, the block without letter case",
         replaced(replaced(kBase, "0=3,E1", "0=3,e1"), ",0000", ",aaaa"),
         replaced(replaced(replaced(kBase, "500,0", "250,0"), "0=3,E1", "0=3.0,E1"), ",0000",
                  ",AAAA"),
         {"0 T1 ~ rush", "  7 500>250", "2 TF-1 ~ tf", "  0 3,e1>3.0,E1"}},
        {"rows added and removed, a trigger's name and last field",
         kBase,
         replaced(replaced(replaced(kBase, "0=3,E1", "0=3,E1\n1=2,HTNK"), "0=0,0\n", "\n"),
                  "T1=rush", "T1=push"),
         {"0 T1 ~ push", "  name rush>push", "2 TF-1 ~ tf", "  1 ->2,HTNK", "3 SC-1 ~ sc",
          "  0 0,0>-"}},
        {"a registry entry without a section, records added and removed",
         kBase,
         replaced(replaced(kBase, "[SC-1]\nName=sc\n0=0,0\n", ""), "[TaskForces]\n0=TF-1",
                  "[TaskForces]\n0=TF-2"),
         {"2 TF-2 + ", "2 TF-1 - tf", "3 SC-1 ~ sc", "  Name sc>-", "  0 0,0>-"}},
        {"a trigger ID on two lines at the first's place with the later line; an ID registered "
         "twice",
         kBase + "[AITriggerTypes]\nT0=zero,<none>\n",
         replaced(kBase, "[AITriggerTypes]\n", "[AITriggerTypes]\nT0=old,<none>\nT1=first\n") +
             "[AITriggerTypes]\nT0=zero,<none>\n[TeamTypes]\n9=TM-A\n",
         {"0 T0 = zero", "0 T1 = rush", "1 TM-A = team", "2 TF-1 = tf", "3 SC-1 = sc"},
         true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shown(c.old, c.now, c.withSame), c.expected) << c.what;

    // Records across included files read as one: the sections in another file change nothing.
    const QByteArray split = fileset::join(
        {{"ai.ini", "[TeamTypes]\n0=TM-A\n[TaskForces]\n0=TF-1\n[ScriptTypes]\n0=SC-1\n"
                    "[AITriggerTypes]\nT1=rush,TM-A,<all>,0,0,<none>,"
                    "0000000000000000000000000000000000000000000000000000000000000000,"
                    "500,0,1000,1,0,1,0,<none>,1,1,1\n[#include]\n0=more.ini\n"},
         {"more.ini", "[TM-A]\nName=team\nPriority=5\nTaskForce=TF-1\nScript=SC-1\n"
                      "[TF-1]\nName=tf\n0=3,E1\nGroup=-1\n[SC-1]\nName=sc\n0=0,0\n"}});
    EXPECT_EQ(shown(kBase, split), std::vector<QString>{});
}

TEST(Compare, SameValuesAndWhatTheUserReads) {
    EXPECT_TRUE(sameValue(u" 500 ", u"500.000000"));
    EXPECT_TRUE(sameValue(u"-1", u"-1.0e0"));
    EXPECT_FALSE(sameValue(u"1.2.3", u"1.2.30"));
    EXPECT_FALSE(sameValue(u"abc", u"ABC"));
    EXPECT_TRUE(sameValue(u"abc", u"ABC", true));
    EXPECT_EQ(valueText(Kind::Trigger, {"7", "500", "250"}), QStringLiteral("基础分量：500 → 250"));
    EXPECT_EQ(valueText(Kind::TeamType, {"priority", std::nullopt, "5"}),
              QStringLiteral("优先级：（无） → 5"));
    EXPECT_EQ(valueText(Kind::TaskForce, {"0", "3,E1", std::nullopt}),
              QStringLiteral("0：3,E1 → （无）"));
}
