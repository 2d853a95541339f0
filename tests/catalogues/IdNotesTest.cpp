#include "catalogues/IdNotes.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

TEST(IdNoteFind, ComparesTheWholeIdBeforeTheFirstComma) {
    const QStringList notes{QStringLiteral("A10,ten"), QStringLiteral("A1,one, with, commas"),
                            QStringLiteral("XA1,mentions A1"), QStringLiteral("A1"),
                            QStringLiteral("a1,lower")};
    EXPECT_EQ(idnotes::noteOf(notes, QStringLiteral("A1")), QStringLiteral("one, with, commas"));
    EXPECT_EQ(idnotes::noteOf(notes, QStringLiteral("A10")), QStringLiteral("ten"));
    EXPECT_FALSE(idnotes::noteOf(notes, QStringLiteral("A")));
    EXPECT_FALSE(idnotes::noteOf(notes, QStringLiteral("a10")));
    EXPECT_TRUE(idnotes::hasNote(notes, QStringLiteral("A1")));
    EXPECT_FALSE(idnotes::hasNote(notes, QStringLiteral("A")));
    // A line without a comma is nobody's note, not even of its whole text.
    EXPECT_FALSE(idnotes::hasNote({QStringLiteral("LONE")}, QStringLiteral("LONE")));
    EXPECT_FALSE(idnotes::noteOf({QStringLiteral("LONE")}, QStringLiteral("LONE")));
}

TEST(IdNoteFind, AnEmptyNoteCountsAndTheLastLineWins) {
    const QStringList notes{QStringLiteral("T-1,old"), QStringLiteral("T-2,"),
                            QStringLiteral("T-1,new")};
    EXPECT_EQ(idnotes::noteOf(notes, QStringLiteral("T-1")), QStringLiteral("new"));
    EXPECT_EQ(idnotes::noteOf(notes, QStringLiteral("T-2")), QString());
    EXPECT_TRUE(idnotes::hasNote(notes, QStringLiteral("T-2")));
}

TEST(IdNoteRewrite, NewLineGoesOnTopAndOtherLinesStayByteForByte) {
    // A lone CR and bytes that are no valid text stay as they are.
    const QByteArray old = QByteArray("B,second\r\nodd\rline\r\n\xff\xfe,raw\nlast");
    EXPECT_EQ(idnotes::withLineOnTop(old, gbk(QStringLiteral("A,第一"))),
              gbk(QStringLiteral("A,第一\r\n")) +
                  "B,second\r\nodd\rline\r\n\xff\xfe,raw\r\nlast\r\n");
    EXPECT_EQ(idnotes::withLineOnTop(QByteArray(), "A,x"), QByteArray("A,x\r\n"));
    const QByteArray bom("\xEF\xBB\xBF"
                         "B,b\r\n");
    EXPECT_EQ(idnotes::withLineOnTop(bom, "A,a"), QByteArray("\xEF\xBB\xBF"
                                                             "A,a\r\nB,b\r\n"));
}

TEST(IdNoteRewrite, RemovalDropsExactlyTheLinesOfTheId) {
    const QByteArray old =
        crlf({"A10,ten", "A1,one", "X,mentions A1", "A1", "A1,again", "a1,lower"});
    const idnotes::Removal r = idnotes::withoutNotesOf(old, "A1");
    EXPECT_EQ(r.dropped, 2);
    EXPECT_EQ(r.content, crlf({"A10,ten", "X,mentions A1", "A1", "a1,lower"}));

    const idnotes::Removal none = idnotes::withoutNotesOf(old, "B");
    EXPECT_EQ(none.dropped, 0);
    EXPECT_EQ(none.content, old);

    const QByteArray chinese = gbk(QStringLiteral("作战,甲\r\n作战小队,乙\r\n"));
    const idnotes::Removal c = idnotes::withoutNotesOf(chinese, gbk(QStringLiteral("作战")));
    EXPECT_EQ(c.dropped, 1);
    EXPECT_EQ(c.content, gbk(QStringLiteral("作战小队,乙\r\n")));

    const QByteArray bom("\xEF\xBB\xBF"
                         "A,a\nB,b");
    EXPECT_EQ(idnotes::withoutNotesOf(bom, "A").content, QByteArray("\xEF\xBB\xBF"
                                                                    "B,b\r\n"));
}
