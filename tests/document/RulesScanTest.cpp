#include "document/RulesScan.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

using namespace tarvok;
using tarvok::test::crlf;

namespace {
QList<QByteArray> texts(const std::vector<QByteArrayView>& v) {
    QList<QByteArray> out;
    for (QByteArrayView b : v)
        out << b.toByteArray();
    return out;
}
} // namespace

TEST(ScanRules, RunsEndAtTheFirstLineWithoutTheirCharacter) {
    const QByteArray content = crlf({"[TaskForces]", "0=A", "1= B", "", "2=C", "[ScriptTypes]",
                                     "0=S", "; comment", "[TeamTypes]", "0=T"});
    const RulesScan s = scanRules(content);
    EXPECT_EQ(texts(s.taskForces), (QList<QByteArray>{"A", " B"})); // entries are not trimmed
    EXPECT_EQ(texts(s.scriptTypes), (QList<QByteArray>{"S"}));
    EXPECT_EQ(texts(s.teamTypes), (QList<QByteArray>{"T"}));
}

TEST(ScanRules, AHeaderEndingARunIsFoundOnlyWhenItsTestComesLater) {
    const QByteArray found = crlf({"[TaskForces]", "0=A", "[AITriggerTypes]", "X=x,1"});
    EXPECT_EQ(texts(scanRules(found).triggerKeys), (QList<QByteArray>{"X=x"}));
    const QByteArray missed = crlf({"[TeamTypes]", "0=T", "[TaskForces]", "0=A"});
    EXPECT_TRUE(scanRules(missed).taskForces.empty());
    // The trigger run ends at "[ScriptTypes]", which test 3 then sees.
    const QByteArray chain = crlf({"[AITriggerTypes]", "X=x,1", "[ScriptTypes]", "0=S",
                                   "[TeamTypes]", "0=T"});
    const RulesScan s = scanRules(chain);
    EXPECT_EQ(texts(s.scriptTypes), (QList<QByteArray>{"S"}));
    EXPECT_EQ(texts(s.teamTypes), (QList<QByteArray>{"T"}));
}

TEST(ScanRules, HeaderTestTrimsSpacesOnly) {
    EXPECT_EQ(scanRules(crlf({"  [TeamTypes] ", "0=T"})).teamTypes.size(), 1u);
    EXPECT_TRUE(scanRules(crlf({"[teamtypes]", "0=T"})).teamTypes.empty());
    EXPECT_TRUE(scanRules(crlf({"[TeamTypes]\t", "0=T"})).teamTypes.empty());
}

TEST(ScanRules, TriggerKeyIsTheTextBeforeTheFirstComma) {
    const QByteArray content = crlf({"[AITriggerTypes]", "A1=Rush,TM,<all>", "noequals,1", "x,y=z,2"});
    const RulesScan s = scanRules(content); // views into content
    EXPECT_EQ(texts(s.triggerKeys), (QList<QByteArray>{"A1=Rush", "noequals", "x"}));
}

TEST(ScanRules, RunsReachingTheEndOfTheFileKeepWhatWasRead) {
    EXPECT_EQ(scanRules("[ScriptTypes]\r\n0=A\r\n1=B").scriptTypes.size(), 2u);
    EXPECT_EQ(scanRules("\xEF\xBB\xBF[ScriptTypes]\n0=A\n").scriptTypes.size(), 1u);
    EXPECT_TRUE(scanRules("").triggerKeys.empty());
}
