// The data files shipped in data/: they must parse under the editor's own rules and
// agree with the facts of the game's types and with each other.
#include "catalogues/UnitNameTable.h"
#include "document/Lines.h"
#include "document/TextEncoding.h"
#include "records/ScriptActions.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSet>

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

namespace {

QByteArray shipped(const QString& name) {
    return readBytes(QDir(shippedDataDir()).filePath(name));
}

// Every line ends with CR LF, and there is no lone CR or LF.
bool allLinesCrLf(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return true;
    if (!bytes.endsWith("\r\n"))
        return false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            return false;
        if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))
            return false;
    }
    return true;
}

QStringList gbkLines(const QByteArray& bytes) {
    const TextCodec codec(Encoding::Gbk);
    QStringList out;
    for (LineCursor in(bytes); !in.atEnd();)
        out << codec.decode(in.next());
    return out;
}

struct ReferenceType {
    QString kind, id, english, chinese;
};

// The reference table of the game's types, beside the source tree.
std::vector<ReferenceType> referenceTypes() {
    QFile f(referenceFile(QStringLiteral("game-objects.tsv")));
    std::vector<ReferenceType> out;
    if (!f.open(QIODevice::ReadOnly))
        return out;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('#')) || line.trimmed().isEmpty())
            continue;
        const QStringList c = line.split(QLatin1Char('\t'));
        if (c.size() >= 5)
            out.push_back({c[0], c[2], c[3], c[4].trimmed()});
    }
    return out;
}

// The sample rules file as sections: header name -> the run of lines after the
// header that contain the run character.
struct Rules {
    QMap<QString, QStringList> sections;
    QStringList order;
};

Rules sections(const QStringList& lines) {
    Rules r;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString t = lines[i].trimmed();
        if (!t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']')))
            continue;
        const QString name = t.mid(1, t.size() - 2);
        const QChar runChar =
            name == QStringLiteral("AITriggerTypes") ? QLatin1Char(',') : QLatin1Char('=');
        QStringList body;
        for (qsizetype j = i + 1; j < lines.size() && lines[j].contains(runChar); ++j)
            body << lines[j];
        EXPECT_FALSE(r.sections.contains(name)) << "section twice: " << name.toStdString();
        r.sections.insert(name, body);
        r.order << name;
    }
    return r;
}

// A registry's IDs, checked to be numbered 0, 1, 2 ... without gaps.
QStringList registryIds(const Rules& r, const QString& name) {
    QStringList ids;
    const QStringList body = r.sections.value(name);
    for (qsizetype i = 0; i < body.size(); ++i) {
        EXPECT_EQ(body[i].section(QLatin1Char('='), 0, 0), QString::number(i))
            << body[i].toStdString();
        ids << body[i].section(QLatin1Char('='), 1);
    }
    return ids;
}

const QStringList kTeamKeys{"Name",
                            "VeteranLevel",
                            "MindControlDecision",
                            "Loadable",
                            "Full",
                            "Annoyance",
                            "GuardSlower",
                            "House",
                            "Recruiter",
                            "Autocreate",
                            "Prebuild",
                            "Reinforce",
                            "Droppod",
                            "UseTransportOrigin",
                            "Whiner",
                            "LooseRecruit",
                            "Aggressive",
                            "Suicide",
                            "Priority",
                            "Max",
                            "TechLevel",
                            "Group",
                            "OnTransOnly",
                            "AvoidThreats",
                            "IonImmune",
                            "TransportsReturnOnUnload",
                            "AreTeamMembersRecruitable",
                            "IsBaseDefense",
                            "OnlyTargetHouseEnemy",
                            "Script",
                            "TaskForce"};

} // namespace

TEST(ShippedData, FilesAreGbkWithCrLfLineEnds) {
    for (const QString& name : {QStringLiteral("NameTable.WQ"), QStringLiteral("Name.WQ"),
                                QStringLiteral("Tarvok使用说明.txt"), QStringLiteral("aimd.ini")}) {
        ASSERT_TRUE(QFile::exists(QDir(shippedDataDir()).filePath(name))) << name.toStdString();
        const QByteArray bytes = shipped(name);
        EXPECT_TRUE(allLinesCrLf(bytes)) << name.toStdString();
        EXPECT_FALSE(bytes.startsWith(kUtf8Bom)) << name.toStdString();
        EXPECT_EQ(detectEncoding(bytes), Encoding::Gbk) << name.toStdString();
        // Decoding and encoding again gives the same bytes: no character is lost.
        const TextCodec codec(Encoding::Gbk);
        EXPECT_EQ(codec.encode(codec.decode(bytes)), bytes) << name.toStdString();
    }
    // The editor never creates the notes file, so it ships present and empty.
    EXPECT_TRUE(shipped(QStringLiteral("Name.WQ")).isEmpty());
}

TEST(ShippedData, NameTableListsEveryReferenceTypeWithItsChineseName) {
    const QStringList table = gbkLines(shipped(QStringLiteral("NameTable.WQ")));
    ASSERT_FALSE(table.isEmpty());
    QSet<QString> ids;
    QSet<QString> names;
    for (const QString& line : table) {
        const auto parsed = unitnames::parseLine(line);
        ASSERT_TRUE(parsed && parsed->name) << line.toStdString();
        EXPECT_FALSE(parsed->id.isEmpty()) << line.toStdString();
        EXPECT_FALSE(parsed->name->isEmpty()) << line.toStdString();
        EXPECT_EQ(parsed->id, parsed->id.trimmed()) << line.toStdString();
        // Unique both ways, so each lookup has exactly one answer.
        EXPECT_FALSE(ids.contains(parsed->id)) << line.toStdString();
        EXPECT_FALSE(names.contains(*parsed->name)) << line.toStdString();
        ids << parsed->id;
        names << *parsed->name;
    }

    const std::vector<ReferenceType> reference = referenceTypes();
    if (reference.empty())
        GTEST_SKIP() << "the reference table of the game's types is not beside the source tree";
    EXPECT_EQ(static_cast<size_t>(table.size()), reference.size());
    for (const ReferenceType& t : reference) {
        EXPECT_EQ(unitnames::nameOf(table, t.id), t.chinese) << t.id.toStdString();
        EXPECT_EQ(unitnames::idOf(table, t.chinese), t.id) << t.id.toStdString();
        EXPECT_TRUE(
            table.contains(t.id + QLatin1Char(',') + t.chinese + QLatin1Char(',') + t.english))
            << t.id.toStdString();
    }
}

TEST(ShippedData, SampleRulesFileIsWellFormedAndConsistent) {
    const QStringList lines = gbkLines(shipped(QStringLiteral("aimd.ini")));
    const QStringList table = gbkLines(shipped(QStringLiteral("NameTable.WQ")));
    const Rules r = sections(lines);
    for (const QString& registry : {QStringLiteral("AITriggerTypes"), QStringLiteral("TeamTypes"),
                                    QStringLiteral("TaskForces"), QStringLiteral("ScriptTypes")})
        ASSERT_FALSE(r.sections.value(registry).isEmpty()) << registry.toStdString();

    const QStringList teams = registryIds(r, QStringLiteral("TeamTypes"));
    const QStringList forces = registryIds(r, QStringLiteral("TaskForces"));
    const QStringList scripts = registryIds(r, QStringLiteral("ScriptTypes"));
    EXPECT_EQ(r.order.size(), 4 + teams.size() + forces.size() + scripts.size());
    QSet<QString> usedTeams, usedForces, usedScripts;

    for (const QString& trigger : r.sections.value(QStringLiteral("AITriggerTypes"))) {
        const QStringList f = trigger.split(QLatin1Char(','));
        ASSERT_EQ(f.size(), 18) << trigger.toStdString();
        EXPECT_TRUE(f[0].contains(QLatin1Char('=')));
        for (int team : {1, 14}) {
            if (f[team] != QStringLiteral("<none>")) {
                EXPECT_TRUE(teams.contains(f[team])) << trigger.toStdString();
                usedTeams << f[team];
            }
        }
        EXPECT_TRUE(f[5] == QStringLiteral("<none>") || !unitnames::nameOf(table, f[5]).isEmpty())
            << trigger.toStdString();
        EXPECT_EQ(f[6].size(), 64);
        EXPECT_EQ(f[6].mid(2, 7), QStringLiteral("0000000"));
        EXPECT_EQ(f[6].mid(10), QString(54, QLatin1Char('0')));
        for (int weight : {7, 8, 9})
            EXPECT_TRUE(f[weight].endsWith(QStringLiteral(".000000"))) << trigger.toStdString();
        EXPECT_EQ(f[10] + f[11] + f[13], QStringLiteral("100"));
    }

    for (const QString& id : teams) {
        const QStringList body = r.sections.value(id);
        ASSERT_EQ(body.size(), kTeamKeys.size()) << id.toStdString();
        for (qsizetype i = 0; i < body.size(); ++i)
            EXPECT_EQ(body[i].section(QLatin1Char('='), 0, 0), kTeamKeys[i]) << id.toStdString();
        const QString script = body[29].section(QLatin1Char('='), 1);
        const QString force = body[30].section(QLatin1Char('='), 1);
        EXPECT_TRUE(scripts.contains(script)) << id.toStdString();
        EXPECT_TRUE(forces.contains(force)) << id.toStdString();
        usedScripts << script;
        usedForces << force;
    }

    for (const QString& id : forces) {
        const QStringList body = r.sections.value(id);
        ASSERT_GE(body.size(), 3) << id.toStdString();
        EXPECT_TRUE(body.first().startsWith(QStringLiteral("Name=")));
        EXPECT_EQ(body.last(), QStringLiteral("Group=-1"));
        for (qsizetype i = 1; i + 1 < body.size(); ++i) {
            EXPECT_EQ(body[i].section(QLatin1Char('='), 0, 0), QString::number(i - 1));
            const QString entry = body[i].section(QLatin1Char('='), 1);
            EXPECT_GT(entry.section(QLatin1Char(','), 0, 0).toInt(), 0) << body[i].toStdString();
            EXPECT_FALSE(unitnames::nameOf(table, entry.section(QLatin1Char(','), 1)).isEmpty())
                << body[i].toStdString();
        }
    }

    for (const QString& id : scripts) {
        const QStringList body = r.sections.value(id);
        ASSERT_GE(body.size(), 2) << id.toStdString();
        EXPECT_TRUE(body.first().startsWith(QStringLiteral("Name=")));
        for (qsizetype i = 1; i < body.size(); ++i) {
            EXPECT_EQ(body[i].section(QLatin1Char('='), 0, 0), QString::number(i - 1));
            const QString step = body[i].section(QLatin1Char('='), 1);
            bool numeric = false;
            const int action = step.section(QLatin1Char(','), 0, 0).toInt(&numeric);
            EXPECT_TRUE(numeric) << body[i].toStdString();
            EXPECT_TRUE(std::any_of(kScriptActions.begin(), kScriptActions.end(),
                                    [&](const ScriptAction& a) { return a.number == action; }))
                << body[i].toStdString();
            step.section(QLatin1Char(','), 1).toInt(&numeric);
            EXPECT_TRUE(numeric) << body[i].toStdString();
        }
    }

    // Everything registered is used, so the sample shows how the records hang together.
    EXPECT_EQ(usedTeams, QSet<QString>(teams.begin(), teams.end()));
    EXPECT_EQ(usedForces, QSet<QString>(forces.begin(), forces.end()));
    EXPECT_EQ(usedScripts, QSet<QString>(scripts.begin(), scripts.end()));
    // Comments teach the format, and Chinese names show that the file is GBK.
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [](const QString& l) { return l.startsWith(QLatin1Char(';')); }));
    EXPECT_TRUE(lines.join(QString()).contains(QStringLiteral("盟军")));
}

TEST(ShippedData, UsageGuideExplainsTheEditorAndItsFiles) {
    const QString guide =
        gbkLines(shipped(QStringLiteral("Tarvok使用说明.txt"))).join(QLatin1Char('\n'));
    for (const QString& topic :
         {QStringLiteral("ai.ini"), QStringLiteral("aimd.ini"), QStringLiteral("File.ini"),
          QStringLiteral("NameTable.WQ"), QStringLiteral("Name.WQ"), QStringLiteral("NameData.WQ"),
          QStringLiteral("Scr.WQ"), QStringLiteral("自动保存"), QStringLiteral("锁定"),
          QStringLiteral("颜色"), QStringLiteral("备注"), QStringLiteral("备份")})
        EXPECT_TRUE(guide.contains(topic)) << topic.toStdString();
}
