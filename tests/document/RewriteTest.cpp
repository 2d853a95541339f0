#include "document/Rewrite.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

using namespace tarvok;
using tarvok::test::crlf;

namespace {

QByteArray run(const QByteArray& content, const RewriteRule& rule) {
    return rewriteLines(content, rule);
}

const QByteArray kTriggers = crlf({"T1=Attack,before", "[AITriggerTypes]", "T1=Attack,TM1,<all>",
                                   "XT1=Attack,TM2,<all>", "AB=x,a", "CAB=x,b", "", "[Other]",
                                   "Name=T1=Attack,q", " [AITriggerTypes]", "T1=Attack,y", "\t[X] ", "T1=Attack,z"});

} // namespace

TEST(RemoveTriggerLines, DropsOnlyLinesWhoseWholeKeyMatches) {
    const QByteArray out = run(kTriggers, RemoveTriggerLines("T1=Attack"));
    EXPECT_EQ(out, crlf({"T1=Attack,before", "[AITriggerTypes]", "XT1=Attack,TM2,<all>", "AB=x,a",
                         "CAB=x,b", "", "[Other]", "Name=T1=Attack,q", " [AITriggerTypes]", "\t[X] ", "T1=Attack,z"}));
}

TEST(RemoveTriggerLines, EmptyKeyChangesNothing) {
    const QByteArray content = crlf({"[AITriggerTypes]", ",starts with a comma", "A=b,c"});
    EXPECT_EQ(run(content, RemoveTriggerLines("")), content);
}

TEST(InsertAfterHeader, InsertsAfterEveryHeaderKeepingItsSpaces) {
    const QByteArray content = crlf({"  [AITriggerTypes]  ", "A=a,1", "[AITriggerTypes]"});
    EXPECT_EQ(run(content, InsertAfterHeader("AITriggerTypes", "N=new,x")),
              crlf({"  [AITriggerTypes]  ", "N=new,x", "A=a,1", "[AITriggerTypes]", "N=new,x"}));
}

TEST(InsertAfterHeader, LowerCaseOrTabbedHeaderIsNotAHeader) {
    const QByteArray content = crlf({"[aitriggertypes]", "[AITriggerTypes]\t"});
    EXPECT_EQ(run(content, InsertAfterHeader("AITriggerTypes", "N=new,x")), content);
}

TEST(ReplaceTriggerLine, ReplacesEveryDuplicateAndOnlyInsideTheSection) {
    const QByteArray content =
        crlf({"AB=x,outside", "[AITriggerTypes]", "AB=x,1", "CAB=x,2", "AB=x,3", "", "AB=x,after"});
    EXPECT_EQ(run(content, ReplaceTriggerLine("AB=x", QByteArray("AB=x,new"))),
              crlf({"AB=x,outside", "[AITriggerTypes]", "AB=x,new", "CAB=x,2", "AB=x,new", "",
                    "AB=x,after"}));
}

TEST(ReplaceTriggerLine, LastSectionWithoutLineEndIsNotRepeated) {
    const QByteArray content = "[AITriggerTypes]\r\nA=a,1\r\nB=b,2";
    EXPECT_EQ(run(content, ReplaceTriggerLine("B=b", QByteArray("B=b,9"))),
              crlf({"[AITriggerTypes]", "A=a,1", "B=b,9"}));
}

TEST(ReplaceTriggerLine, MakerSeesEachOldLine) {
    const QByteArray content = crlf({"[AITriggerTypes]", "A=a,1", "A=a,2"});
    const QByteArray out = run(content, ReplaceTriggerLine("A=a", [](QByteArrayView old) {
                                   return old.toByteArray() + ",kept";
                               }));
    EXPECT_EQ(out, crlf({"[AITriggerTypes]", "A=a,1,kept", "A=a,2,kept"}));
}

TEST(ReplaceSectionBody, ReplacesOnlyKeyLinesBeforeABlankLine) {
    const QByteArray content =
        crlf({"[A1]", "Name=old", "X=1", "", "Y=2", "[B]", "Name=b"});
    EXPECT_EQ(run(content, ReplaceSectionBody("A1", std::vector<QByteArray>{"Name=new", "Z=3"})),
              crlf({"[A1]", "Name=new", "Z=3", "", "Y=2", "[B]", "Name=b"}));
}

TEST(ReplaceSectionBody, SectionAtEndOfFileAndMissingSection) {
    const QByteArray content = crlf({"[B]", "Name=b", " [A1] ", "Name=old"});
    EXPECT_EQ(run(content, ReplaceSectionBody("A1", std::vector<QByteArray>{"Name=new"})),
              crlf({"[B]", "Name=b", " [A1] ", "Name=new"}));
    EXPECT_EQ(run(content, ReplaceSectionBody("a1", std::vector<QByteArray>{"Name=new"})), content);
}

TEST(RewriteLines, UntouchedLinesKeepTheirBytesAndGetCrLf) {
    QByteArray content("\xEF\xBB\xBF[A]\nName=\xD6\xD0\xCE\xC4\n\xFF\xFE invalid\r\nlone\rcr\nlast");
    const QByteArray out = run(content, [](QByteArrayView l, LineCursor&, LineSink& o) { o.write(l); });
    EXPECT_EQ(out, QByteArray("\xEF\xBB\xBF[A]\r\nName=\xD6\xD0\xCE\xC4\r\n\xFF\xFE invalid\r\n"
                              "lone\rcr\r\nlast\r\n"));
}

TEST(RewriteLines, ByteOrderMarkDoesNotHideTheFirstHeader) {
    const QByteArray content = QByteArray("\xEF\xBB\xBF") + crlf({"[AITriggerTypes]", "A=a,1"});
    EXPECT_EQ(run(content, InsertAfterHeader("AITriggerTypes", "N=n,1")),
              QByteArray("\xEF\xBB\xBF") + crlf({"[AITriggerTypes]", "N=n,1", "A=a,1"}));
}
