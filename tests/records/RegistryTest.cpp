#include "records/Registry.h"
#include "document/IniText.h"
#include "records/RecordIds.h"
#include "records/TriggerLine.h"
#include "records/TriggerList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

using namespace tarvok;

// Every line with its line end.
static std::vector<QByteArray> linesOf(const QByteArray& content) {
    const IniText t(content);
    std::vector<QByteArray> out;
    for (qsizetype i = 0; i < t.lineCount(); ++i)
        out.push_back(t.text(i).toByteArray() + t.lineEnd(i).toByteArray());
    return out;
}

// Random adds and deletes on registries with comments, blank lines, indentation and LF line ends
// keep every line but the record's registry line and section (renumbered keys aside).
TEST(Registry, AddsAndDeletesKeepEntriesAndEveryOtherLine) {
    std::mt19937 random(7);
    const char* notes[] = {"", ";note", ";9=OLD-ID", "", "junk"};
    for (const std::vector<int>& start :
         {std::vector{0, 1, 2, 3}, {1, 2, 3, 4}, {1000, 1001, 1004, 1009}})
        for (int round = 0; round < 40; ++round) {
            std::vector<QByteArray> model;
            QByteArray registry = "[TeamTypes] ;r\r\n", sections;
            for (int n : start) {
                const QByteArray id = model.emplace_back("ID" + QByteArray::number(n));
                registry += (random() % 3 ? "" : "\t") + QByteArray::number(n) +
                            (random() % 2 ? "=" : " = ") + id + (random() % 3 ? "" : " ;c") +
                            (random() % 2 ? "\n" : "\r\n") + notes[random() % 5] + "\n";
                sections += "[" + id + "]\r\nName=" + id + "\r\n; after " + id + "\r\n\r\n";
            }
            QByteArray content = random() % 2 ? "[General]\r\n" + registry + sections
                                              : sections + registry.chopped(random() % 2);
            for (int step = 0; step < 20; ++step) {
                const int count = int(model.size()),
                          gone = !count || random() % 2 ? -1 : int(random() % count);
                const IniText before(content);
                std::vector<QByteArray> old = linesOf(content);
                if (gone < 0) {
                    const QByteArray id = model.emplace_back("N" + QByteArray::number(step));
                    const RegistryAddition r =
                        addRegistryEntry(content, "TeamTypes", id, count, {"Name=" + id}).value();
                    content = r.content;
                    if (!old.back().endsWith(
                            '\n')) // a last line gets the line end of the line above first
                        old.back() +=
                            old.size() > 1 && old[old.size() - 2].endsWith("\r\n") ? "\r\n" : "\n";
                    std::vector<QByteArray> added; // the lines not found in old, in order
                    size_t i = 0;
                    for (const QByteArray& l : linesOf(content))
                        i < old.size() && l == old[i] ? void(++i) : added.push_back(l.trimmed());
                    ASSERT_EQ(i, old.size()) << content.toStdString();
                    std::sort(added.begin(), added.end());
                    ASSERT_EQ(added,
                              (std::vector<QByteArray>{"", QByteArray::number(r.number) + "=" + id,
                                                       "Name=" + id, "[" + id + "]"}));
                } else {
                    const QByteArray id = model[gone];
                    model.erase(model.begin() + gone);
                    const RegistryRemoval r = removeRegistryEntry(content, "TeamTypes", id);
                    EXPECT_EQ(r.entriesRemoved + r.sectionsRemoved, 2);
                    // Gone: the registry line and the section's header and key line.
                    const qsizetype header = before.sections(id).at(0).header;
                    for (qsizetype i = before.lineCount() - 1; i >= 0; --i)
                        if (i == header || i == header + 1 ||
                            (before.value(i) == id && before.key(i) != "Name"))
                            old.erase(old.begin() + i);
                    content = r.content; // before reads the old content: replaced only now
                    const std::vector<QByteArray> now = linesOf(content);
                    ASSERT_EQ(now.size(), old.size()) << content.toStdString();
                    for (size_t i = 0; i < now.size();
                         ++i) { // or a renumbered entry: its key one lower alone
                        const QByteArray key = IniText(old[i]).key(0).toByteArray(),
                                         lower = QByteArray::number(key.toLongLong() - 1);
                        EXPECT_TRUE(now[i] == old[i] ||
                                    now[i] ==
                                        old[i].replace(old[i].indexOf(key), key.size(), lower));
                    }
                }
                const IniText after(content); // the model's IDs in order under unique numbers
                std::vector<QByteArray> ids;
                std::set<long long> numbers;
                const IniText::Section reg = after.sections("TeamTypes").at(0);
                for (qsizetype i = reg.bodyBegin; i < reg.bodyEnd; ++i)
                    if (after.kind(i) == IniText::Kind::Key)
                        ids.push_back(after.value(i).toByteArray()),
                            numbers.insert(after.key(i).toLongLong());
                ASSERT_EQ(ids, model) << content.toStdString();
                ASSERT_EQ(numbers.size(), ids.size()) << content.toStdString();
                ASSERT_TRUE(start[0] || ids.empty() || *numbers.rbegin() == long(ids.size()) - 1);
            }
        }
}

// Where adds and deletes put and take lines ('a' adds id with count 2, 'd' deletes it; 't'
// adds the trigger id, 'k' deletes the trigger the list shows as id).
TEST(Registry, PlacementOfAddedAndDeletedLines) {
    const struct {
        char op;
        QByteArray id, content, expected;
    } cases[] = {
        // As the editor writes them: as ever, but the line ends stay.
        {'a', "N", "[TeamTypes]\r\n0=A\r\n1=B\r\n\r\n[A]\n",
         "[TeamTypes]\r\n0=A\r\n1=B\r\n2=N\r\n\r\n[N]\r\nName=\r\n\r\n[A]\n"},
        // Comments, commented-out entries and a taken number; the next section's comment.
        {'a', "N", "[TeamTypes] ;r\n0=A\n;1=B\n\t2 = C ;c\n;about A\n[A]\n",
         "[TeamTypes] ;r\n0=A\n;1=B\n\t2 = C ;c\n\t3=N\n;about A\n\n[N]\nName=\n[A]\n"},
        // At the end without a final line end; empty; named twice; no registry.
        {'a', "N", "[A]\r\n[TeamTypes]\r\n  0=A",
         "[A]\r\n[TeamTypes]\r\n  0=A\r\n  2=N\r\n\r\n[N]\r\nName=\r\n"},
        {'a', "N", "[TeamTypes]\n\n[A]", "[TeamTypes]\n2=N\n\n[N]\nName=\n\n[A]"},
        {'a', "N", "[TeamTypes]\n2=A\n[TeamTypes]\n7=B\n",
         "[TeamTypes]\n2=A\n[TeamTypes]\n7=B\n8=N\n\n[N]\nName=\n"},
        {'a', "N", "[A]\nk=v", "[A]\nk=v\n[TeamTypes]\n2=N\n\n[N]\nName=\n"},
        // The unbroken sequence after the entry moves down, key alone; every line of the ID and
        // every section up to its last key go.
        {'d', "A",
         "[TeamTypes]\n0=B\n1=A\n\t2 = C ;c\n;x\n3=D\n5=E\n6=A\n7=F\n[A]\nk=v\n;c\nj=w\n; about "
         "B\n\n[B]\n[A]\n",
         "[TeamTypes]\n0=B\n\t1 = C ;c\n;x\n2=D\n5=E\n6=F\n; about B\n\n[B]\n"},
        {'d', "", "[TeamTypes]\n0=\n[]\n", "[TeamTypes]\n0=\n[]\n"},
        {'t', "N=n", "[X]\n[AITriggerTypes]\nA=a\n[AITriggerTypes]\n",
         "[X]\n[AITriggerTypes]\n" + trigger::newTriggerLine("N=n") + "\nA=a\n[AITriggerTypes]\n"},
        // A file without [AITriggerTypes] gets it at its end, in its own line ends.
        {'t', "N=n", "[A]\r\nk=v\r\n",
         "[A]\r\nk=v\r\n\r\n[AITriggerTypes]\r\n" + trigger::newTriggerLine("N=n") + "\r\n"},
        {'t', "N=n", "[A]\nk=v\n\n",
         "[A]\nk=v\n\n[AITriggerTypes]\n" + trigger::newTriggerLine("N=n") + "\n"},
        {'t', "N=n", "[A]\nk=v",
         "[A]\nk=v\n\n[AITriggerTypes]\n" + trigger::newTriggerLine("N=n") + "\n"},
        {'k', "T1=One",
         "[AITriggerTypes]\n T1 = One "
         ",x\nT1=Two,x\nT10=One\n[X]\nT1=One\n[AITriggerTypes]\nT1=One\n",
         "[AITriggerTypes]\nT1=Two,x\nT10=One\n[X]\nT1=One\n[AITriggerTypes]\n"},
        {'k', "=One", "[AITriggerTypes]\n=One\n", "[AITriggerTypes]\n=One\n"},
    };
    for (const auto& c : cases) {
        const QByteArray out =
            c.op == 'a'
                ? addRegistryEntry(c.content, "TeamTypes", c.id, 2, {"Name="}).value().content
            : c.op == 'd' ? removeRegistryEntry(c.content, "TeamTypes", c.id).content
            : c.op == 't' ? addTriggerEntry(c.content, c.id).value()
                          : removeTriggerEntry(c.content, c.id).content;
        EXPECT_EQ(out, c.expected) << c.content.toStdString();
    }
    EXPECT_EQ(removeRegistryEntry("[TeamTypes]\n0=A\n1=A\n", "TeamTypes", "A").entriesRemoved, 2);
}

TEST(RecordIdInUse, SectionNamesAndRegistryEntriesAreTaken) {
    const QByteArray content = "X=[Before]\n[General] ;c\n \t[Sec1]\t\nX=[Value]\n[TeamTypes]\n0= "
                               "TM1\t;c\n[TaskForces]\n0=TF1\n"
                               "\n;1=Gone\n1=Late\n[ScriptTypes]\n0=SC1\n[Other]\n0=Other1\n";
    for (const char* id : {"General", "Sec1", "TM1", "TF1", "SC1", "Late"})
        EXPECT_TRUE(recordIdInUse(content, id)) << id;
    for (const char* id : {"Value", "Before", "Gone", "Other1", "TM", "general", "0"})
        EXPECT_FALSE(recordIdInUse(content, id)) << id;
}
