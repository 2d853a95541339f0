// Hostile rules files: each is generated here from a fixed seed, opened through the
// open button, browsed by clicking the first, middle and last entry of every list, and
// saved through every save button. The editor must neither crash nor stall, and every
// line no save owns must come back byte for byte, in order.
#include "document/TextEncoding.h"
#include "support/WidgetDriver.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace tarvok;
using namespace tarvok::test;

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

// ---------------------------------------------------------------- building files

QByteArray triggerLine(const QByteArray& key, const QByteArray& team) {
    return key + "," + team + ",<all>,10,0,<none>," + QByteArray(64, '0') +
           ",70.000000,10.000000,70.000000,1,0,1,0,<none>,0,0,0";
}

// The parts of a plausible rules file; the generators below spoil them.
struct Rules {
    QList<QByteArray> head{"; rules", "[General]", "Name=test"};
    QList<QByteArray> triggers;  // lines of [AITriggerTypes]
    QList<QByteArray> teamReg;   // lines of [TeamTypes]
    QList<QByteArray> forceReg;  // lines of [TaskForces]
    QList<QByteArray> scriptReg; // lines of [ScriptTypes]
    QList<QByteArray> sections;  // the record sections, blank lines included

    QList<QByteArray> lines() const {
        QList<QByteArray> out = head;
        out << "[AITriggerTypes]" << triggers << "";
        out << "[TeamTypes]" << teamReg << "";
        out << "[TaskForces]" << forceReg << "";
        out << "[ScriptTypes]" << scriptReg << "";
        out << sections;
        return out;
    }
};

// n records of each kind, tied together: trigger i uses team i, which uses task force i
// and script i. name(i) is the text used for names (in the file's encoding).
Rules plausible(int n, const std::function<QByteArray(int)>& name) {
    Rules r;
    for (int i = 0; i < n; ++i) {
        const QByteArray k = QByteArray::number(i);
        r.triggers << triggerLine("T" + k + "=" + name(i), "TM-" + k);
        r.teamReg << k + "=TM-" + k;
        r.forceReg << k + "=TF-" + k;
        r.scriptReg << k + "=SC-" + k;
        r.sections << "[TM-" + k + "]"
                   << "Name=" + name(i) << "Max=5"
                   << "Priority=5"
                   << "TaskForce=TF-" + k << "Script=SC-" + k << "Loadable=no"
                   << "  Whiner=yes"
                   << "";
        r.sections << "[TF-" + k + "]"
                   << "Name=" + name(i) << "0=2,E1"
                   << "1=1,HTNK"
                   << "Group=-1"
                   << "2=3,MTNK"
                   << "";
        r.sections << "[SC-" + k + "]"
                   << "Name=" + name(i) << "0=0,2"
                   << "1=11,3"
                   << "";
    }
    return r;
}

QByteArray gbkName(int i) {
    return gbk(QStringLiteral("进攻%1").arg(i));
}
QByteArray asciiName(int i) {
    return "Attack" + QByteArray::number(i);
}

QByteArray join(const QList<QByteArray>& lines, const QByteArray& end) {
    QByteArray out;
    for (const QByteArray& l : lines)
        out += l + end;
    return out;
}

// Inserts bytes at a seeded position in every step-th line (headers left whole unless
// headersToo).
QList<QByteArray> sprinkle(QList<QByteArray> lines, const QByteArray& bytes, int step, quint32 seed,
                           bool headersToo) {
    QRandomGenerator rng(seed);
    for (qsizetype i = 0; i < lines.size(); i += step) {
        QByteArray& l = lines[i];
        if (!headersToo && l.startsWith('['))
            continue;
        l.insert(rng.bounded(static_cast<int>(l.size()) + 1), bytes);
    }
    return lines;
}

QByteArray randomBytes(qsizetype size, quint32 seed) {
    QRandomGenerator rng(seed);
    QByteArray out(size, Qt::Uninitialized);
    for (char& c : out)
        c = static_cast<char>(rng.bounded(256));
    return out;
}

// Lines drawn at random from the shapes rules files are made of, with random line
// ends, some of them broken: what a damaged or half-edited file looks like.
QByteArray structuredNoise(int lineCount, quint32 seed) {
    QRandomGenerator rng(seed);
    const QList<QByteArray> headers{"[AITriggerTypes]",
                                    "[TeamTypes]",
                                    "[TaskForces]",
                                    "[ScriptTypes]",
                                    "[TM-1]",
                                    "[TF-1]",
                                    "[SC-1]",
                                    " [TM-2] ",
                                    "[]",
                                    "[",
                                    "]"};
    const QList<QByteArray> ends{"\r\n", "\n", "\r", "\r\r\n", ""};
    auto id = [&rng]() {
        static const QList<QByteArray> kinds{"TM-", "TF-", "SC-", "", "-"};
        return kinds[rng.bounded(kinds.size())] + QByteArray::number(rng.bounded(4));
    };
    QByteArray out;
    for (int i = 0; i < lineCount; ++i) {
        QByteArray line;
        switch (rng.bounded(8)) {
        case 0:
            line = headers[rng.bounded(headers.size())];
            break;
        case 1:
            line = QByteArray::number(rng.bounded(-3, 6)) + "=" + id();
            break;
        case 2:
            line = triggerLine("T" + QByteArray::number(rng.bounded(5)) + "=x", id());
            break;
        case 3: {
            QByteArray t = triggerLine("T" + QByteArray::number(rng.bounded(5)) + "=y", id());
            line = t.first(rng.bounded(static_cast<int>(t.size()))); // cut short
            break;
        }
        case 4: {
            static const QList<QByteArray> keys{
                "Name", "TaskForce", "Script", "Max", "Group", "0", "1", "Priority", "  Script "};
            line = keys[rng.bounded(keys.size())] + "=" + id();
            break;
        }
        case 5:
            line = randomBytes(rng.bounded(40), rng.generate());
            break;
        case 6:
            line = "0=" + QByteArray::number(rng.bounded(-5, 70)) + "," + id();
            break;
        default:
            break; // an empty line
        }
        out += line + ends[rng.bounded(ends.size())];
    }
    return out;
}

// ---------------------------------------------------------------- checking files

// The lines of a file as the editor reads them: split at LF, one CR before it dropped.
QList<QByteArray> readLines(QByteArrayView content) {
    if (content.startsWith(kBom))
        content = content.sliced(kBom.size());
    QList<QByteArray> out;
    qsizetype pos = 0;
    while (pos < content.size()) {
        qsizetype nl = content.indexOf('\n', pos);
        qsizetype end = nl < 0 ? content.size() : nl;
        qsizetype len = end - pos;
        if (nl >= 0 && len > 0 && content[end - 1] == '\r')
            --len;
        out.append(content.sliced(pos, len).toByteArray());
        pos = nl < 0 ? content.size() : nl + 1;
    }
    return out;
}

// What the saves were asked to write: trigger keys and section IDs, in the file's bytes.
struct Saved {
    std::set<QByteArray> triggerKeys;
    std::set<QByteArray> sectionIds;
};

// True for every line a save may have replaced: a trigger line of a saved key, and the
// key lines right after a header of a saved section.
std::vector<bool> ownedLines(const QList<QByteArray>& lines, const Saved& saved) {
    std::vector<bool> owned(lines.size(), false);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& l = lines[i];
        const qsizetype comma = l.indexOf(',');
        if (comma >= 0 && saved.triggerKeys.count(l.first(comma)))
            owned[i] = true;
        const QByteArray t = l.trimmed();
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']' &&
            saved.sectionIds.count(t.sliced(1, t.size() - 2))) {
            for (qsizetype j = i + 1; j < lines.size() && lines[j].contains('='); ++j)
                owned[j] = true;
        }
    }
    return owned;
}

// Every line of before that no save owns appears in after, in the same order.
::testing::AssertionResult untouchedLinesKept(const QByteArray& before, const QByteArray& after,
                                              const Saved& saved) {
    if (before == after)
        return ::testing::AssertionSuccess();
    if (before.startsWith(kBom) != after.startsWith(kBom))
        return ::testing::AssertionFailure() << "the byte-order mark changed";
    const QList<QByteArray> old = readLines(before);
    const QList<QByteArray> now = readLines(after);
    const std::vector<bool> owned = ownedLines(old, saved);
    qsizetype j = 0;
    for (qsizetype i = 0; i < old.size(); ++i) {
        if (owned[i])
            continue;
        while (j < now.size() && now[j] != old[i])
            ++j;
        if (j == now.size())
            return ::testing::AssertionFailure()
                   << "line " << i + 1 << " (" << old[i].left(80).toPercentEncoding().toStdString()
                   << ") is missing or out of order";
        ++j;
    }
    return ::testing::AssertionSuccess();
}

// ---------------------------------------------------------------- driving the editor

struct Browse {
    Saved saved;
    qint64 slowestClickMs = 0;
};

// Remembers, in the file's bytes, the records the four save buttons would write now.
void noteSavedKeys(const Window& w, const TextCodec& codec, Saved& saved) {
    if (!w.TxtRoot->text().isEmpty())
        saved.triggerKeys.insert(codec.encode(w.TxtRoot->text()));
    for (QLineEdit* box : {w.TxtTeam, w.TxtSpe, w.TxtScr})
        if (!box->text().isEmpty())
            saved.sectionIds.insert(codec.encode(box->text()));
}

// Clicks the first, middle and last entry of each list, saving that kind after each
// list, then saves everything through the save-all button and each save button.
void browseAndSave(Editor& e, const TextCodec& codec, Browse& b) {
    Window& w = *e.w;
    const std::pair<QAbstractItemView*, QPushButton*> kinds[] = {{w.LstRoot, w.CmdSaveRoot},
                                                                 {w.LstFig, w.CmdSaveFig},
                                                                 {w.LstSpe, w.CmdSaveSpe},
                                                                 {w.LstScr, w.CmdSaveScr}};
    for (auto [list, save] : kinds) {
        const int n = rowCount(list);
        if (n == 0)
            continue;
        for (int row : std::set<int>{0, n / 2, n - 1}) {
            QElapsedTimer t;
            t.start();
            clickRow(list, row);
            b.slowestClickMs = std::max(b.slowestClickMs, t.elapsed());
        }
        noteSavedKeys(w, codec, b.saved);
        click(save);
    }
    noteSavedKeys(w, codec, b.saved);
    click(w.CmdSaveAll);
    for (auto [list, save] : kinds)
        click(save);
}

struct Outcome {
    QByteArray before, after;
    Saved saved;
    qint64 ms = 0;
    qint64 slowestClickMs = 0;
    int filledLists = 0; // lists with at least one entry after the open
};

// Opens content as a rules file, browses and saves it.
Outcome runThrough(Editor& e, const QByteArray& content) {
    QElapsedTimer timer;
    timer.start();
    Outcome o;
    o.before = content;
    const QString path = e.dir.write(QStringLiteral("aimd.ini"), content);
    e.dialogs.files.push_back(path);
    e.w->CmdOpen_Click();
    EXPECT_EQ(e.w->RulesFilePath(), path);
    for (QAbstractItemView* list : {e.w->LstRoot, e.w->LstFig, e.w->LstSpe, e.w->LstScr})
        o.filledLists += rowCount(list) > 0 ? 1 : 0;
    Browse b;
    browseAndSave(e, TextCodec(detectEncoding(content)), b);
    o.saved = b.saved;
    o.slowestClickMs = b.slowestClickMs;
    o.after = readBytes(path);
    o.ms = timer.elapsed();
    return o;
}

struct HostileFile {
    const char* name;
    std::function<QByteArray()> make;
    qint64 budgetMs = 20000;
    // How many of the four lists the open fills (-1: not predictable). A file built to be
    // browsed must fill all four, or the selections and saves test nothing.
    int filledLists = 4;
};
constexpr qint64 kBudget = 20000;

// Sanitizer builds run the editor's own code several times slower.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr qint64 kSlowdown = 5;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr qint64 kSlowdown = 5;
#else
constexpr qint64 kSlowdown = 1;
#endif
#else
constexpr qint64 kSlowdown = 1;
#endif

const std::vector<HostileFile>& corpus() {
    static const std::vector<HostileFile> files{
        {"RandomBytes", [] { return randomBytes(256 * 1024, 1); }, kBudget, 0},
        {"RandomBytesAfterValidStart",
         [] { return join(plausible(3, gbkName).lines(), "\r\n") + randomBytes(64 * 1024, 2); }},
        {"StructuredNoise", [] { return structuredNoise(20000, 3); }},
        {"NulBytesInKeysAndValues",
         [] {
             return join(sprinkle(plausible(12, gbkName).lines(), QByteArray(1, '\0'), 2, 4, false),
                         "\r\n");
         }},
        {"NulBytesEverywhere",
         [] {
             return join(sprinkle(plausible(12, gbkName).lines(), QByteArray(3, '\0'), 3, 5, true),
                         "\r\n");
         },
         kBudget, -1},
        {"OneLineOfTenMegabytes",
         [] {
             Rules r = plausible(3, asciiName);
             // A trigger whose name is the long line, and a long value in a team.
             r.triggers << triggerLine("BIG=" + QByteArray(10 * 1024 * 1024, 'x'), "TM-1");
             r.sections << "[TM-9]"
                        << "Name=" + QByteArray(1024 * 1024, 'y') << "";
             return join(r.lines(), "\r\n");
         }},
        {"OneLineWithoutLineEnds", [] { return QByteArray(10 * 1024 * 1024, 'z'); }, kBudget, 0},
        {"CarriageReturnLineEnds", [] { return join(plausible(20, gbkName).lines(), "\r"); },
         kBudget, 0},
        {"MixedLineEnds",
         [] {
             QByteArray out;
             const QList<QByteArray> ends{"\r\n", "\n", "\r", "\r\r\n", "\n\r"};
             const QList<QByteArray> ls = plausible(20, gbkName).lines();
             for (qsizetype i = 0; i < ls.size(); ++i)
                 out += ls[i] + ends[i % ends.size()];
             return out;
         },
         kBudget, -1},
        {"MillionEmptyLines",
         [] {
             Rules r = plausible(5, gbkName);
             QList<QByteArray> ls = r.head;
             for (int i = 0; i < 500000; ++i)
                 ls << "";
             ls << r.lines().mid(r.head.size());
             for (int i = 0; i < 500000; ++i)
                 ls << "";
             return join(ls, "\r\n");
         }},
        {"InvalidGbk",
         [] {
             // Lone lead bytes, a lead byte before ASCII, 0x80 and 0xFF in IDs, names
             // and values.
             const QList<QByteArray> bad{"\x81", "\x81\x20", "\x80", "\xFF", "\xFE\xFE", "\xA1"};
             Rules r = plausible(8, [&bad](int i) { return gbkName(i) + bad[i % bad.size()]; });
             r.teamReg << "8=TM-\xFF"
                          "8";
             r.triggers << triggerLine("T\x81=\xFF", "TM-\xFF"
                                                     "8");
             r.sections << "[TM-\xFF"
                           "8]"
                        << "Name=\x81"
                        << "Max=\xFE\xFE"
                        << "TaskForce=TF-\x80"
                        << "Script=SC-\xA1"
                        << "";
             r.forceReg << "8=TF-\x80";
             r.sections << "[TF-\x80]"
                        << "Name=\xFF"
                        << "0=2,E\x81"
                        << "Group=-1"
                        << "";
             r.scriptReg << "8=SC-\xA1";
             r.sections << "[SC-\xA1]"
                        << "Name=\xFE"
                        << "0=0,\x81"
                        << "";
             return join(r.lines(), "\r\n");
         }},
        {"InvalidUtf8AfterByteOrderMark",
         [] {
             const QList<QByteArray> bad{"\xC3\x28", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                                         "\x80",     "\xE4\xBD",     "\xC0\xAF"};
             Rules r = plausible(8, [&bad](int i) {
                 return utf8(QStringLiteral("进攻%1").arg(i)) + bad[i % bad.size()];
             });
             r.teamReg << "8=TM-\xC3\x28";
             r.triggers << triggerLine("T\xED\xA0\x80=\x80", "TM-\xC3\x28");
             r.sections << "[TM-\xC3\x28]"
                        << "Name=\xF4\x90\x80\x80"
                        << "TaskForce=TF-\xE4\xBD"
                        << "Script=SC-\x80"
                        << "";
             r.forceReg << "8=TF-\xE4\xBD";
             r.sections << "[TF-\xE4\xBD]"
                        << "Name=\xC0\xAF"
                        << "0=2,E1"
                        << "Group=-1"
                        << "";
             r.scriptReg << "8=SC-\x80";
             r.sections << "[SC-\x80]"
                        << "0=0,2"
                        << "";
             return kBom + join(r.lines(), "\r\n");
         }},
        {"HundredThousandTriggersWithOneKey",
         [] {
             Rules r = plausible(3, gbkName);
             for (int i = 0; i < 100000; ++i)
                 r.triggers << triggerLine("SAME=" + gbkName(i % 7),
                                           "TM-" + QByteArray::number(i % 3));
             return join(r.lines(), "\r\n");
         }},
        {"HundredThousandRefusedDuplicates",
         [] {
             // Every duplicate holds values the panel's checks refuse: a tech level of
             // letters and a condition amount that is not a number.
             Rules r = plausible(2, gbkName);
             for (int i = 0; i < 100000; ++i)
                 r.triggers << "SAME=x,TM-0,<all>,xy,0,<none>,ZZ" + QByteArray(62, '0') +
                                   ",70.000000,10.000000,70.000000,1,0,1,0,<none>,0,0,0";
             return join(r.lines(), "\r\n");
         }},
        {"HeadersWithoutSections",
         [] {
             // Registries and triggers name records whose sections are missing.
             Rules r;
             for (int i = 0; i < 30; ++i) {
                 const QByteArray k = QByteArray::number(i);
                 r.triggers << triggerLine("T" + k + "=" + gbkName(i), "TM-" + k);
                 r.teamReg << k + "=TM-" + k;
                 r.forceReg << k + "=TF-" + k;
                 r.scriptReg << k + "=SC-" + k;
             }
             return join(r.lines(), "\r\n");
         }},
        {"SectionsWithoutHeaders",
         [] {
             // The record sections are there, the registries are empty or missing.
             Rules r = plausible(10, gbkName);
             QList<QByteArray> ls = r.head;
             ls << "[AITriggerTypes]" << r.triggers << ""
                << "[TeamTypes]"
                << "" << r.sections;
             return join(ls, "\r\n");
         },
         kBudget, 1},
        {"RegistryNumbersBeyondSixteenBits",
         [] {
             Rules r = plausible(4, gbkName);
             const QList<QByteArray> numbers{
                 "70000", "99999999999999999999", "-5", "-99999999999999999999", "32768",
                 "65536", " 4294967296",          "1e9"};
             for (qsizetype i = 0; i < numbers.size(); ++i) {
                 const QByteArray k = QByteArray::number(i + 10);
                 r.teamReg << numbers[i] + "=TM-" + k;
                 r.forceReg << numbers[i] + "=TF-" + k;
                 r.scriptReg << numbers[i] + "=SC-" + k;
             }
             return join(r.lines(), "\r\n");
         }},
        {"FortyThousandEntryRegistries",
         [] {
             Rules r = plausible(3, gbkName);
             for (int i = 3; i < 40000; ++i) {
                 const QByteArray k = QByteArray::number(i);
                 r.teamReg << k + "=TM-" + k;
                 r.forceReg << k + "=TF-" + k;
                 r.scriptReg << k + "=SC-" + k;
             }
             return join(r.lines(), "\r\n");
         }},
        {"OneMegabyteMap",
         [] {
             // A map: its own sections (packed terrain, triggers and actions naming the
             // records, its own unit list) around the four lists.
             Rules r = plausible(40, asciiName);
             r.head = {"[Basic]", "Name=Map", "[Map]", "Size=0,0,100,100", "[IsoMapPack5]"};
             QRandomGenerator rng(5);
             for (int i = 1; i < 13000; ++i) {
                 QByteArray packed(70, Qt::Uninitialized);
                 for (char& c : packed)
                     c = static_cast<char>('A' + rng.bounded(26));
                 r.head << QByteArray::number(i) + "=" + packed;
             }
             r.head << "[Actions]"
                    << "01000000=1,4,0,TM-3,0,0,0,0,A"
                    << "[Triggers]"
                    << "01000000=Americans,<none>,A,0,1,1,1,0"
                    << "[InfantryTypes]"
                    << "0=MAPDOG";
             return join(r.lines(), "\r\n");
         }},
        {"DuplicateAndNestedHeaders",
         [] {
             Rules r = plausible(4, gbkName);
             QList<QByteArray> ls = r.lines();
             // Every header twice in a row, and a section inside a registry run.
             QList<QByteArray> out;
             for (const QByteArray& l : ls) {
                 out << l;
                 if (l.startsWith('['))
                     out << l;
             }
             out << "[TeamTypes]"
                 << "0=TM-0"
                 << "[TM-0]"
                 << "Name=again"
                 << "1=TM-1";
             return join(out, "\r\n");
         },
         kBudget, 4},
    };
    return files;
}

class HostileInput : public ::testing::TestWithParam<size_t> {};

TEST_P(HostileInput, OpensBrowsesAndSavesKeepingEveryUntouchedLine) {
    const HostileFile& f = corpus()[GetParam()];
    Editor e;
    const Outcome o = runThrough(e, f.make());
    EXPECT_TRUE(untouchedLinesKept(o.before, o.after, o.saved));
    if (f.filledLists >= 0) {
        EXPECT_EQ(o.filledLists, f.filledLists);
    }
    // Far below any time-out: a stall on one of these files is a fault of its own.
    EXPECT_LT(o.ms, f.budgetMs * kSlowdown) << f.name;
    std::printf("%s: %d lists filled, %lld ms (slowest selection %lld ms), %zu trigger keys and "
                "%zu sections "
                "saved, %zu messages\n",
                f.name, o.filledLists, static_cast<long long>(o.ms),
                static_cast<long long>(o.slowestClickMs), o.saved.triggerKeys.size(),
                o.saved.sectionIds.size(), e.dialogs.messages.size());
}

INSTANTIATE_TEST_SUITE_P(Corpus, HostileInput, ::testing::Range<size_t>(0, corpus().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             return std::string(corpus()[info.param].name);
                         });

// ---------------------------------------------------------------- the 16-bit counters

QByteArray registries(int entries, const QList<QByteArray>& extra = {}) {
    Rules r = plausible(2, asciiName);
    r.teamReg.clear();
    r.forceReg.clear();
    r.scriptReg.clear();
    for (int i = 0; i < entries; ++i) {
        const QByteArray k = QByteArray::number(i);
        r.teamReg << k + "=TM-" + k;
        r.forceReg << k + "=TF-" + k;
        r.scriptReg << k + "=SC-" + k;
    }
    r.teamReg << extra;
    r.forceReg << extra;
    r.scriptReg << extra;
    return join(r.lines(), "\r\n");
}

struct AddButton {
    QPushButton* Controls::*button;
    QAbstractItemView* Controls::*list;
    int (Window::*counter)() const;
    const char* id;
    QByteArray registry;
};

const AddButton kAddButtons[] = {
    {&Controls::CmdTeamAdd, &Controls::LstFig, &Window::TeamTypeCount, "TM-NEW", "[TeamTypes]"},
    {&Controls::CmdSpeAdd, &Controls::LstSpe, &Window::TaskForceCount, "TF-NEW", "[TaskForces]"},
    {&Controls::CmdScrAdd, &Controls::LstScr, &Window::ScriptTypeCount, "SC-NEW", "[ScriptTypes]"},
};

// The registry line of id in content ("number=id" inside the given registry's run).
QByteArray registryLineOf(const QByteArray& content, const QByteArray& registry,
                          const QByteArray& id) {
    const QList<QByteArray> ls = readLines(content);
    bool inRun = false;
    for (const QByteArray& l : ls) {
        if (l == registry) {
            inRun = true;
            continue;
        }
        if (!l.contains('='))
            inRun = false;
        if (inRun && l.endsWith("=" + id))
            return l;
    }
    return {};
}

const ShownMessage kFull =
    info(QStringLiteral("注册数量已达上限，无法新增！"), QStringLiteral("错误"));

TEST(SixteenBitCounters, RegistriesBeyondTheLimitSaturateAndRefuseEveryAdd) {
    Editor e;
    const QByteArray content = registries(40000);
    e.open(e.dir.write(QStringLiteral("aimd.ini"), content));
    for (const AddButton& b : kAddButtons) {
        Window& w = *e.w;
        EXPECT_EQ(rowCount(w.*b.list), 40000);
        EXPECT_EQ((w.*b.counter)(), 32767);
        e.dialogs.clear();
        e.dialogs.promptAnswers.push_back(QString::fromLatin1(b.id));
        click(w.*b.button);
        EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{kFull}) << b.id;
        EXPECT_EQ(rowCount(w.*b.list), 40000);
        EXPECT_EQ((w.*b.counter)(), 32767);
    }
    EXPECT_EQ(readBytes(e.w->RulesFilePath()), content);
}

TEST(SixteenBitCounters, TheLastFreeNumberIsWrittenThenAddsAreRefused) {
    Editor e;
    e.open(e.dir.write(QStringLiteral("aimd.ini"), registries(32766)));
    for (const AddButton& b : kAddButtons) {
        Window& w = *e.w;
        ASSERT_EQ((w.*b.counter)(), 32766);
        e.dialogs.clear();
        e.dialogs.promptAnswers.push_back(QString::fromLatin1(b.id));
        click(w.*b.button);
        EXPECT_TRUE(e.dialogs.messages.empty()) << b.id;
        EXPECT_EQ((w.*b.counter)(), 32767);
        const QByteArray added = readBytes(w.RulesFilePath());
        EXPECT_EQ(registryLineOf(added, b.registry, b.id), "32766=" + QByteArray(b.id));
        // The list shows the add once the reading of the large file's write arrives.
        EXPECT_TRUE(QTest::qWaitFor([&] { return rowCount(w.*b.list) == 32767; }));

        e.dialogs.promptAnswers.push_back(QString::fromLatin1(b.id) + "2");
        click(w.*b.button);
        EXPECT_EQ(e.dialogs.messages, std::vector<ShownMessage>{kFull}) << b.id;
        EXPECT_EQ(readBytes(w.RulesFilePath()), added);
        EXPECT_EQ(rowCount(w.*b.list), 32767);
        EXPECT_FALSE(added.contains("\n-")) << "a negative registry number was written";
    }
}

TEST(SixteenBitCounters, NumbersBeyondSixteenBitsInTheFileNeverLeadToANegativeOrTakenNumber) {
    Editor e;
    // Six entries, and the number the counter gives (6) is taken by a later line, so the
    // add writes one more than the largest: the 20-digit number, saturated.
    const QByteArray content =
        registries(2, {"99999999999999999999=X-1", "-5=X-2", "6=X-3", "70000=X-4"});
    e.open(e.dir.write(QStringLiteral("aimd.ini"), content));
    for (const AddButton& b : kAddButtons) {
        Window& w = *e.w;
        EXPECT_EQ((w.*b.counter)(), 6);
        e.dialogs.clear();
        e.dialogs.promptAnswers.push_back(QString::fromLatin1(b.id));
        click(w.*b.button);
        EXPECT_TRUE(e.dialogs.messages.empty()) << b.id;
        const QByteArray line = registryLineOf(readBytes(w.RulesFilePath()), b.registry, b.id);
        const QByteArray number = line.first(std::max<qsizetype>(0, line.indexOf('=')));
        bool ok = false;
        const qulonglong value = number.toULongLong(&ok);
        EXPECT_TRUE(ok) << line.toStdString();          // digits only: never negative
        EXPECT_GT(value, 70000u) << line.toStdString(); // above every number of the run
    }
}

// The numbers of a registry's run, in order.
std::vector<long long> registryNumbers(const QByteArray& content, const QByteArray& registry) {
    std::vector<long long> out;
    bool inRun = false;
    for (const QByteArray& l : readLines(content)) {
        if (l == registry) {
            inRun = true;
            continue;
        }
        if (!l.contains('='))
            inRun = false;
        if (inRun)
            out.push_back(l.first(l.indexOf('=')).toLongLong());
    }
    return out;
}

// A delete renumbers the entries after the deleted one. With more entries than the
// counter can hold, the counter no longer says how many follow: every one of them is
// renumbered, so the run keeps its numbers 0, 1, 2, ... without a gap.
TEST(SixteenBitCounters, DeletingFromAFullRegistryRenumbersEveryLaterEntry) {
    const struct {
        QPushButton* Controls::*kill;
        QAbstractItemView* Controls::*list;
        QByteArray registry;
    } kinds[] = {{&Controls::CmdTeamKill, &Controls::LstFig, "[TeamTypes]"},
                 {&Controls::CmdSpeKill, &Controls::LstSpe, "[TaskForces]"},
                 {&Controls::CmdScrKill, &Controls::LstScr, "[ScriptTypes]"}};
    Editor e;
    e.open(e.dir.write(QStringLiteral("aimd.ini"), registries(40000)));
    for (const auto& k : kinds) {
        Window& w = *e.w;
        clickRow(w.*k.list, 1);
        e.dialogs.answers.push_back(MsgAnswer::Yes);
        click(w.*k.kill);
        const std::vector<long long> numbers =
            registryNumbers(readBytes(w.RulesFilePath()), k.registry);
        ASSERT_EQ(numbers.size(), 39999u) << k.registry.toStdString();
        for (size_t i = 0; i < numbers.size(); ++i)
            ASSERT_EQ(numbers[i], static_cast<long long>(i)) << k.registry.toStdString();
    }
}

} // namespace
