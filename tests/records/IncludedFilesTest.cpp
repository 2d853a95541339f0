// A mod whose AI file names further files in [#include]: read as the game reads it, and
// every write going into the file that holds the line it changes, no byte of the others.
#include "document/FileSet.h"
#include "records/FileCheck.h"
#include "records/RecordOps.h"
#include "support/TestFiles.h"

#include <QDir>

#include <gtest/gtest.h>

#include <map>

using namespace tarvok;
using namespace tarvok::records;
using namespace tarvok::test;

namespace {

using Files = std::map<QString, QByteArray>;

struct Mod {
    TempDir dir;
    std::unique_ptr<RulesDocument> doc;
    explicit Mod(const Files& files) {
        for (const auto& [name, bytes] : files) {
            QDir().mkpath(QFileInfo(dir.file(name)).absolutePath());
            dir.write(name, bytes);
        }
        doc = std::make_unique<RulesDocument>(dir.file(QStringLiteral("File.ini")),
                                              dir.file(QStringLiteral("history")));
        doc->open(dir.file(QStringLiteral("aimd.ini")));
    }
    QStringList names() const {
        QStringList out;
        for (const QString& f : doc->files())
            out << QDir(dir.path()).relativeFilePath(f);
        return out;
    }
    QByteArray read(const QString& name) const { return readBytes(dir.file(name)); }
};

QStringList decoded(const std::vector<QByteArrayView>& entries) {
    QStringList out;
    for (QByteArrayView e : entries)
        out << QString::fromUtf8(e);
    return out;
}

} // namespace

TEST(IncludedFiles, JoinAndSplitGiveEveryFileBackByteForByte) {
    const std::vector<fileset::Part> parts = {
        {"aimd.ini", "[A]\r\nx=1"},              // no line end at its end, CR LF
        {"sub/b.ini", "\xEF\xBB\xBF[B]\ny=2\n"}, // a byte-order mark
        {"c d%.ini", ""},                        // empty, a name to escape
        {"e.ini", "[A]\nx=3"}};
    const QByteArray joined = fileset::join(parts);
    EXPECT_EQ(fileset::split(joined, "aimd.ini"), parts);
    EXPECT_TRUE(fileset::joinsTo(parts, joined));
    // Read back, a line end the join did not add, or a name it did not escape, joins otherwise.
    for (const QByteArray& other : {QByteArray(joined).replace("x=1\r\n", "x=1\n"),
                                    QByteArray(joined).replace("c%20d", "c d")})
        EXPECT_FALSE(fileset::joinsTo(*fileset::split(other, "aimd.ini"), other));
    const IniText text(joined);
    const fileset::Origins origins(text);
    ASSERT_EQ(origins.partCount(), 4);
    EXPECT_EQ(text.sections(QByteArrayView("A")).size(), 2u); // one file, one section each
    EXPECT_EQ(origins.describe(text.sections(QByteArrayView("B"))[0].header + 1),
              QStringLiteral("sub/b.ini 第 2 行"));
    EXPECT_EQ(origins.describe(1), QStringLiteral("第 2 行"));
    EXPECT_EQ(fileset::split("[A]\nx=1\n", "a.ini")->size(), 1u);
    // An undo version leaves out the files its step kept: they are taken as they are.
    std::vector<fileset::Part> version = parts;
    for (size_t i : {0, 2})
        version[i] = {version[i].name, {}, true};
    std::optional<std::vector<fileset::Part>> back =
        fileset::split(fileset::join(version), "aimd.ini");
    ASSERT_EQ(back, version);
    ASSERT_TRUE(fileset::fill(*back, parts));
    EXPECT_EQ(back, parts);
    back = fileset::split(fileset::join(version), "aimd.ini");
    EXPECT_FALSE(fileset::fill(*back, {parts[0], parts[1], parts[3]})); // c d%.ini is gone
    // The places of a version's lines name its files, those left out before them too.
    const QByteArray keptBytes = fileset::join(version); // the reading views these bytes
    const IniText kept(keptBytes);
    const fileset::Origins keptOrigins(kept);
    EXPECT_EQ(keptOrigins.name(1), QStringLiteral("sub/b.ini"));
    EXPECT_EQ(keptOrigins.name(2), QStringLiteral("c d%.ini"));
}

TEST(IncludedFiles, ReadInTheGamesOrderEachFileOnce) {
    struct Row {
        const char* what;
        Files files;
        QStringList order;
        QStringList problems;
        QStringList teams;
    };
    const QByteArray team = "[TeamTypes]\n";
    const Row rows[] = {
        {"depth first, each after the whole of the file naming it",
         {{"aimd.ini", "[#include]\n1=b.ini\n2=c.ini\n" + team + "0=A\n"},
          {"b.ini", "[#include]\n1=d.ini\n" + team + "1=B\n"},
          {"c.ini", team + "2=C\n"},
          {"d.ini", team + "+=D\n"}},
         {"aimd.ini", "b.ini", "d.ini", "c.ini"},
         {},
         {"A", "B", "D", "C"}},
        {"a second mention and a circle are not followed; letter case and \\ do not matter",
         {{"aimd.ini", "[#include]\n1=SUB\\B.INI\n2=sub/b.ini\n" + team + "0=A\n"},
          {"sub/b.ini", "[#include]\n1=aimd.ini\n" + team + "+=B\n+=C\n"}},
         {"aimd.ini", "sub/b.ini"},
         {},
         {"A", "B", "C"}},
        {"a missing file is named and the rest opens",
         {{"aimd.ini", "[#include]\n1=gone.ini\n2=c.ini\n" + team + "0=A\n"},
          {"c.ini", team + "1=C\n"}},
         {"aimd.ini", "c.ini"},
         {"包含的文件 gone.ini 不存在"},
         {"A", "C"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Mod mod(row.files);
        EXPECT_EQ(mod.names(), row.order);
        EXPECT_EQ(mod.doc->includeProblems(), row.problems);
        EXPECT_EQ(decoded(mod.doc->index()->scan().teamTypes), row.teams);
    }
}

TEST(IncludedFiles, EachWriteChangesOnlyTheFileThatHoldsItsLines) {
    const Files mod = {
        {"aimd.ini", "[#include]\r\n1=ai_trigger.ini\r\n\r\n[TeamTypes]\r\n0=T1\r\n\r\n[T1]\r\n"
                     "Name=one\r\nMax=5\r\n\r\n[TaskForces]\r\n0=F1\r\n\r\n[F1]\r\nName=f\r\n"
                     "0=1,E1\r\n\r\n[ScriptTypes]\r\n0=S1\r\n\r\n[S1]\r\nName=s\r\n0=0,0\r\n"},
        {"ai_trigger.ini", "[AITriggerTypes]\nA1=a," + QByteArray("T1,<all>,1,0,<none>,") +
                               QByteArray(64, '0') +
                               ",50.000000,10.000000,90.000000,1,0,1,0,<none>,1,1,1\n"
                               "[T1]\nPriority=3\n[TeamTypes]\n+=T2\n[T2]\nName=two\n"
                               "[TaskForces]\n1=F9\n[F9]\nName=g\n0=1,E1\n"}};
    struct Row {
        const char* what;
        std::function<bool(RulesDocument&)> op;
        QStringList changed; // the files that must change
        std::function<bool(const Mod&)> holds;
        int steps = 1;
    };
    const auto has = [](const char* file, const char* text) {
        return [=](const Mod& m) { return m.read(file).contains(text); };
    };
    const Row rows[] = {
        {"a trigger of the included file",
         [](RulesDocument& d) {
             TriggerRecord t = LoadTrigger(*d.index(), "A1=a");
             TriggerFields now = t.fields;
             now.max = "80";
             return SaveTrigger(d, "A1=a", t.fields, now).write.ok();
         },
         {"ai_trigger.ini"},
         has("ai_trigger.ini", ",80.000000,")},
        {"a key the included file sets again, and a new key into the first file's section",
         [](RulesDocument& d) {
             TeamTypeRecord t = LoadTeamType(*d.index(), "T1");
             TeamFields now = t.fields;
             now[teamtype::keyIndex("Priority")] = "4";
             now[teamtype::keyIndex("Script")] = "S1";
             return SaveTeamType(d, "T1", t.fields, now).write.ok();
         },
         {"aimd.ini", "ai_trigger.ini"},
         [](const Mod& m) {
             return m.read("ai_trigger.ini").contains("Priority=4") &&
                    m.read("aimd.ini").contains("Max=5\r\nScript=S1\r\n");
         }},
        {"a new trigger and a team type go where their registries were read last",
         [](RulesDocument& d) {
             return AddTrigger(d, "A2=b", {}).outcome == RecordAdd::Added &&
                    AddTeamType(d, "T-3", {}).outcome == RecordAdd::Added;
         },
         {"ai_trigger.ini"},
         [](const Mod& m) {
             const QByteArray t = m.read("ai_trigger.ini");
             return t.contains("[AITriggerTypes]\nA2=b,") && t.contains("+=T2\n+=T-3\n") &&
                    t.contains("[T-3]\n");
         },
         2},
        {"a task force numbered after every file's entries",
         [](RulesDocument& d) { return AddTaskForce(d, "F-2", {}).outcome == RecordAdd::Added; },
         {"ai_trigger.ini"},
         has("ai_trigger.ini", "1=F9\n2=F-2\n")},
        {"a delete that spans both files",
         [](RulesDocument& d) { return DeleteTeamType(d, "T1").write.ok(); },
         {"aimd.ini", "ai_trigger.ini"},
         [](const Mod& m) {
             return !m.read("aimd.ini").contains("T1") &&
                    !m.read("ai_trigger.ini").contains("[T1]");
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Mod m(mod);
        ASSERT_TRUE(row.op(*m.doc));
        for (const auto& [name, before] : mod)
            EXPECT_EQ(m.read(name) != before, row.changed.contains(name)) << name.toStdString();
        EXPECT_TRUE(row.holds(m)) << testing::PrintToString(m.read("aimd.ini"))
                                  << testing::PrintToString(m.read("ai_trigger.ini"));
        // One step each: an undo per operation gives every file back.
        for (int i = 0; i < row.steps; ++i)
            ASSERT_EQ(m.doc->restore(History::Stack::Undo).outcome, RulesDocument::Restored::Done);
        for (const auto& [name, before] : mod)
            EXPECT_EQ(m.read(name), before) << name.toStdString();
    }
}

TEST(IncludedFiles, TheCheckNamesTheFileOfEachPlace) {
    const Mod m({{"aimd.ini", "[#include]\n1=b.ini\n[TeamTypes]\n0=T1\n[T1]\nMax=5\n"},
                 {"b.ini", "[TeamTypes]\n0=T2\n[T2]\nName=x\n[T1]\nMax=6\n"}});
    const std::shared_ptr<const RulesIndex> index = m.doc->index();
    const std::vector<filecheck::Problem> found =
        filecheck::checkRules(index->text(), index->codec(), {});
    const auto problem = [&](const QString& kind) {
        for (const filecheck::Problem& p : found)
            if (p.kind == kind)
                return p;
        return filecheck::Problem{};
    };
    EXPECT_EQ(problem(QStringLiteral("编号重复")).file, QStringLiteral("b.ini"));
    EXPECT_EQ(problem(QStringLiteral("编号重复")).line, 2);
    EXPECT_TRUE(problem(QStringLiteral("编号重复")).text.contains(QStringLiteral("已用于第 4 行")));
    EXPECT_EQ(problem(QStringLiteral("覆盖")).text,
              QStringLiteral("[T1] 的 Max 在第 6 行写过，这里又写了一次，游戏使用这里的值"));
    EXPECT_EQ(problem(QStringLiteral("节重复")).kind, QString()); // one section across files
}
