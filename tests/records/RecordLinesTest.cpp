#include "records/RecordLines.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <random>

using namespace tarvok;
using namespace tarvok::recordlines;

namespace {

const TextCodec kUtf8(Encoding::Utf8);

// The lines of a content that are not key lines: comments, blank lines, headers.
QList<QByteArray> otherLines(const QByteArray& content) {
    const IniText text(content);
    QList<QByteArray> out;
    for (qsizetype i = 0; i < text.lineCount(); ++i)
        if (text.kind(i) != IniText::Kind::Key)
            out << text.text(i).toByteArray() + text.lineEnd(i).toByteArray();
    return out;
}

} // namespace

// Random edits of hand-written task forces: after each, the section reads back exactly
// as intended, and every line that is not one of its key lines keeps its bytes.
TEST(RecordLines, EditsOfHandWrittenSectionsReadBackAsIntendedAndKeepEveryOtherLine) {
    std::mt19937 rng(20261207);
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 200; ++round) {
        const QByteArray end = pick(2) ? "\r\n" : "\n";
        const QByteArray indent = QList<QByteArray>{"", "  ", "\t"}[pick(3)];
        QByteArray content = "; header comment" + end + "[TF-X] ; the force" + end;
        const int rowCount = pick(5);
        const int namePosition = pick(rowCount + 1);
        for (int r = 0; r <= rowCount; ++r) {
            if (r == namePosition)
                content += indent + "Name = 部队" + QByteArray::number(round) + " ; name" + end;
            if (r < rowCount)
                content += indent + QByteArray::number(r) + "=" + QByteArray::number(pick(9)) +
                           ",E" + QByteArray::number(r) + (pick(2) ? " ; unit" : "") + end;
            if (pick(3) == 0)
                content += (pick(2) ? ";" : "") + end;
        }
        content += "Group=-1" + end + end + "[Next]" + end + "k=v" + (pick(2) ? end : "");

        const IniText text(content);
        const std::optional<SectionLines> old =
            readSection(text, "TF-X", kUtf8, SectionKind::TaskForce);
        ASSERT_TRUE(old) << content.toStdString();
        ASSERT_EQ(old->rows.size(), static_cast<size_t>(rowCount));
        std::vector<SectionRow> rows = old->rows;
        QString name = old->name;
        switch (pick(4)) {
        case 0:
            name = QStringLiteral("新名") + QString::number(round);
            break;
        case 1:
            rows.push_back(
                {QString::number(rows.size()), QStringLiteral("3"), QStringLiteral("HTNK")});
            break;
        case 2:
            if (!rows.empty())
                rows.pop_back();
            break;
        case 3:
            if (!rows.empty())
                rows[pick(static_cast<int>(rows.size()))].second = QStringLiteral("MTNK");
            break;
        }
        IniEdits edits;
        editSection(text, *old, old->name, old->rows, name, rows, kUtf8, edits);
        const std::optional<QByteArray> after = applyEdits(text, edits);
        ASSERT_TRUE(after);
        const IniText now(*after);
        const std::optional<SectionLines> read =
            readSection(now, "TF-X", kUtf8, SectionKind::TaskForce);
        ASSERT_TRUE(read) << after->toStdString();
        EXPECT_EQ(read->name, name);
        EXPECT_EQ(read->rows, rows) << after->toStdString();
        EXPECT_EQ(otherLines(*after), otherLines(content)) << after->toStdString();
        if (rows == old->rows && name == old->name) {
            EXPECT_TRUE(edits.isEmpty());
        }
    }
}

// What a section shows: rows with one number all show the last one's values; a key
// that is no row number (a task force's Group aside) makes the section none; the last
// section of the ID that loads wins; the ID is compared exactly.
TEST(RecordLines, SectionReads) {
    const struct {
        const char* content;
        SectionKind kind;
        std::optional<QStringList> rows; // "number|first|second"
    } cases[] = {
        {"[S]\nName=x\n0=1,A\n0=2,B\n1=3\n", SectionKind::Script,
         QStringList{"0|2|B", "0|2|B", "1|3|"}},
        {"[S]\nName=x\n0=53,0\nGroup=-1\n", SectionKind::Script, std::nullopt},
        {"[S]\nName=x\n0=53,0\nGroup=-1\n", SectionKind::TaskForce, QStringList{"0|53|0"}},
        {"[S]\nName=x\nLoadable=no\n", SectionKind::TaskForce, std::nullopt},
        {"[S]\n0=1,A\n", SectionKind::Script, QStringList{"0|1|A"}}, // no Name: the game needs none
        {"[S]\nName=a\n0=1,A\n[S]\nName=b\n0=2,B\n[S]\nMax=1\n", SectionKind::Script,
         QStringList{"0|2|B"}},
        {"[s]\nName=a\n0=1,A\n", SectionKind::Script, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<SectionLines> read =
            readSection(IniText(c.content), "S", kUtf8, c.kind);
        std::optional<QStringList> rows;
        if (read) {
            rows.emplace();
            for (const SectionRow& r : read->rows)
                rows->append(r.number + "|" + r.first + "|" + r.second);
        }
        EXPECT_EQ(rows, c.rows) << c.content;
    }
}

// A trigger matches on its whole ID and name; a team key only in its exact case.
TEST(RecordLines, TriggerEditsReplaceOnlyTheChangedFieldsAndTeamKeysGoAfterTheLastKey) {
    const QByteArray content =
        "[AITriggerTypes]\n  T1 = Raid , TM-1,<all>,5 ; note\nT10=Raid,x\nT1=Raider,x\n"
        "[TM-1]\n\tName=A\n\tpriority=9\n\t; end\n";
    const IniText text(content);
    const std::optional<qsizetype> line = findTrigger(text, QByteArrayView("T1=Raid"));
    ASSERT_TRUE(line);
    EXPECT_EQ(triggerLine(text, *line), "T1=Raid , TM-1,<all>,5");
    IniEdits edits;
    editTrigger(text, *line, "T1=Raid , TM-1,Russians,5", edits);
    const TeamLines team = readTeam(text, "TM-1");
    ASSERT_TRUE(team.found);
    editTeamKey(text, team, teamtype::Priority, "7", edits);
    editTeamKey(text, team, teamtype::Name, "B", edits);
    EXPECT_EQ(applyEdits(text, edits),
              "[AITriggerTypes]\n  T1 = Raid , TM-1,Russians,5 ; note\nT10=Raid,x\nT1=Raider,x\n"
              "[TM-1]\n\tName=B\n\tpriority=9\n\tPriority=7\n\t; end\n");
    EXPECT_TRUE(flagIsOn("Yes") && flagIsOn("true") && flagIsOn("1") && !flagIsOn("no") &&
                !flagIsOn(""));
}
