#include "records/TriggerLine.h"

#include <QList>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::trigger;

namespace {

const QByteArray kExample =
    "AT01=Early "
    "rush,TM01,<all>,5,1,E1,0500000002000000000000000000000000000000000000000000000000000000,"
    "70.000000,10.000000,500.000000,1,0,2,0,<none>,1,1,0";

TriggerEdit exampleEdit() {
    TriggerEdit e;
    e.key = "AT01=Early rush";
    e.team1 = "TM01";
    e.team2 = "<none>";
    e.country = "<all>";
    e.tech = "5";
    e.condition = "1";
    e.unit = "E1";
    e.amount = "05";
    e.way = "2";
    e.base = "70";
    e.min = "10";
    e.max = "500";
    e.owner = "2";
    e.low = true;
    e.mid = true;
    e.high = false;
    return e;
}

QByteArray block(QByteArrayView first2, char way, char fill = '0') {
    QByteArray b(kBlockLength, fill);
    b[0] = first2[0];
    b[1] = first2[1];
    b[9] = way;
    return b;
}

} // namespace

TEST(TriggerLine, WorkedExampleBuildsAndReadsBack) {
    const TriggerEdit e = exampleEdit();
    ASSERT_EQ(checkEdit(e), EditProblem::None);
    EXPECT_EQ(buildTriggerLine(e, {}), kExample);
    // Replacing the line it came from gives the same line again.
    EXPECT_EQ(buildTriggerLine(e, kExample), kExample);

    const TriggerView v = readTriggerLine(kExample);
    EXPECT_EQ(v.teams, std::vector<QByteArray>{"TM01"}); // "<none>" is skipped
    EXPECT_EQ(v.country, "<all>");
    EXPECT_EQ(v.tech, "5");
    EXPECT_EQ(v.condition, "1");
    EXPECT_EQ(v.unit, "E1");
    EXPECT_EQ(v.amount, "05");
    EXPECT_EQ(v.way, "2");
    EXPECT_EQ(v.base, "70");
    EXPECT_EQ(v.min, "10");
    EXPECT_EQ(v.max, "500");
    EXPECT_EQ(v.owner, "2");
    EXPECT_EQ(v.low, true);
    EXPECT_EQ(v.mid, true);
    EXPECT_EQ(v.high, false);
}

TEST(TriggerLine, NewTriggerLineHasTheDefaultsAndReadsAsThePanelsStartValues) {
    EXPECT_EQ(newTriggerLine("A1=New"),
              "A1=New,<none>,<all>,10,0,<none>,"
              "0000000000000000000000000000000000000000000000000000000000000000,"
              "70.000000,10.000000,70.000000,1,0,1,0,<none>,0,0,0");
    const TriggerView v = readTriggerLine(newTriggerLine("A1=New"));
    EXPECT_TRUE(v.teams.empty());
    EXPECT_EQ(v.country, "<all>");
    EXPECT_EQ(v.tech, "10");
    EXPECT_EQ(v.condition, "0");
    EXPECT_EQ(v.unit, "<none>");
    EXPECT_EQ(v.amount, "00");
    EXPECT_EQ(v.way, "0");
    EXPECT_EQ(v.base, "70");
    EXPECT_EQ(v.min, "10");
    EXPECT_EQ(v.max, "70");
    EXPECT_EQ(v.owner, "1");
    EXPECT_EQ(v.low, false);
    EXPECT_EQ(v.mid, false);
    EXPECT_EQ(v.high, false);
}

TEST(TriggerLine, AmountIsAHexadecimalByteBothWays) {
    EXPECT_EQ(amountFromBlock(block("0A", '0')), "10");
    EXPECT_EQ(amountFromBlock(block("0c", '0')), "12");
    EXPECT_EQ(amountFromBlock(block("25", '0')), "37");
    EXPECT_EQ(amountFromBlock(block("FF", '0')), "255");
    EXPECT_EQ(amountFromBlock(block("00", '0')), "00");
    // Not a hexadecimal byte: the characters as they stand.
    EXPECT_EQ(amountFromBlock(block("0G", '0')), "0G");
    EXPECT_EQ(amountFromBlock("7"), "7");
    EXPECT_EQ(amountFromBlock(""), "");

    EXPECT_EQ(amountToHex(""), QByteArray("00"));
    EXPECT_EQ(amountToHex("5"), QByteArray("05"));
    EXPECT_EQ(amountToHex("05"), QByteArray("05"));
    EXPECT_EQ(amountToHex("12"), QByteArray("0C"));
    EXPECT_EQ(amountToHex("255"), QByteArray("FF"));
    EXPECT_EQ(amountToHex("0255"), std::nullopt);
    EXPECT_EQ(amountToHex("256"), std::nullopt);
    EXPECT_EQ(amountToHex("1a"), std::nullopt);
    EXPECT_EQ(amountToHex("-1"), std::nullopt);

    // Every byte survives a load and a save unchanged.
    for (int b = 0; b < 256; ++b) {
        const QByteArray hex = QByteArray::number(b, 16).toUpper().rightJustified(2, '0');
        EXPECT_EQ(amountToHex(amountFromBlock(hex)), hex) << b;
    }
}

TEST(TriggerLine, SaveKeepsWhatThePanelDoesNotShow) {
    // Fields 10, 11, 13, block positions 3-9 and 11-64 and extra fields are the file's.
    QByteArray oldBlock = block("0A", '3', '7');
    oldBlock[2] = 'X';
    oldBlock[63] = 'Z';
    const QByteArray old = "K=x,T1,<all>,5,1,E1," + oldBlock +
                           ",70.000000,10.000000,500.000000,0,2,2,9,<none>,1,1,0,extra,more";
    TriggerEdit e = exampleEdit();
    e.key = "K=x";
    e.team1 = "T1";
    e.amount = "12";
    e.way = "4";
    QByteArray expectBlock = oldBlock;
    expectBlock[0] = '0';
    expectBlock[1] = 'C';
    expectBlock[9] = '4';
    EXPECT_EQ(buildTriggerLine(e, old),
              "K=x,T1,<all>,5,1,E1," + expectBlock +
                  ",70.000000,10.000000,500.000000,0,2,2,9,<none>,1,1,0,extra,more");
}

// The game's files write "<none>" for a slot without a team: so does every line written,
// while a line with nothing changed is not written at all.
TEST(TriggerLine, AWrittenLineFillsItsEmptyTeamSlots) {
    const QByteArray tail = ",70.000000,10.000000,500.000000,1,0,2,0,";
    const QByteArray old = "K=x,,<all>,5,1,E1," + block("05", '2') + tail + " ,1,1,0";
    TriggerEdit e = exampleEdit();
    e.key = "K=x";
    e.team1 = e.team2 = "<none>";
    EXPECT_EQ(buildChangedTriggerLine(e, ChangedFields{}, old), old);
    ChangedFields tech{};
    tech[3] = true;
    e.tech = "7";
    EXPECT_EQ(buildChangedTriggerLine(e, tech, old),
              "K=x,<none>,<all>,7,1,E1," + block("05", '2') + tail + "<none>,1,1,0");
}

TEST(TriggerLine, SaveOverAShortLineFillsTheDefaults) {
    TriggerEdit e = exampleEdit();
    e.key = "K=x";
    // A block of 12 characters keeps what it has; the rest becomes "0".
    const QByteArray old = "K=x,T1,<all>,5,1,E1,0A7777777199";
    QByteArray expectBlock(kBlockLength, '0');
    expectBlock.replace(0, 12, "057777777299");
    EXPECT_EQ(buildTriggerLine(e, old), "K=x,TM01,<all>,5,1,E1," + expectBlock +
                                            ",70.000000,10.000000,500.000000,1,0,2,0,<none>,1,1,0");
    EXPECT_EQ(buildTriggerLine(e, "K=x"), buildTriggerLine(e, {}));
}

TEST(TriggerLine, ShortAndOddLinesShowWhatTheyHold) {
    const TriggerView shortLine = readTriggerLine("K=x,T1,Russians");
    EXPECT_EQ(shortLine.teams, std::vector<QByteArray>{"T1"});
    EXPECT_EQ(shortLine.country, "Russians");
    EXPECT_FALSE(shortLine.tech);
    EXPECT_FALSE(shortLine.amount);
    EXPECT_FALSE(shortLine.way);
    EXPECT_FALSE(shortLine.owner);
    EXPECT_FALSE(shortLine.low);

    // A block too short for a comparison shows none; weights lose their decimals
    // (a weight without "." is shown whole); only 0 and 1 say anything of a box.
    const TriggerView odd =
        readTriggerLine("K=x,,<all>,0,-1,<none>,05,75.500000,600,.5,1,0,3,0,T2,2,1,");
    EXPECT_EQ(odd.teams, std::vector<QByteArray>{"T2"});
    EXPECT_EQ(odd.tech, "0");
    EXPECT_EQ(odd.condition, "-1");
    EXPECT_EQ(odd.amount, "05");
    EXPECT_EQ(odd.way, "");
    EXPECT_EQ(odd.base, "75");
    EXPECT_EQ(odd.min, "600");
    EXPECT_EQ(odd.max, "");
    EXPECT_EQ(odd.owner, "3");
    EXPECT_FALSE(odd.low);
    EXPECT_EQ(odd.mid, true);
    EXPECT_FALSE(odd.high);
}

TEST(TriggerLine, CheckRefusesValuesThatWouldBreakTheLine) {
    TriggerEdit e = exampleEdit();
    EXPECT_EQ(checkEdit(e), EditProblem::None);
    e.amount = "";
    EXPECT_EQ(checkEdit(e), EditProblem::None); // an empty amount is 0
    e.way = "";
    EXPECT_EQ(checkEdit(e), EditProblem::EmptyWay);
    for (const char* way : {"6", "12", "a", "-"}) {
        e.way = way;
        EXPECT_EQ(checkEdit(e), EditProblem::BadWay) << way;
    }
    e.way = "5";
    e.amount = "300";
    EXPECT_EQ(checkEdit(e), EditProblem::BadAmount);
    e.amount = "30";
    e.country = "Russians,Arabs";
    EXPECT_EQ(checkEdit(e), EditProblem::Comma);
    e.country = "<all>";
    e.team2 = "A,B";
    EXPECT_EQ(checkEdit(e), EditProblem::Comma);
}
