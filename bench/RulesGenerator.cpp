#include "RulesGenerator.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QStringList>

#include <array>

namespace tarvok::bench {
namespace {

QByteArray gbk(const QString& s) {
    QStringEncoder enc("GBK");
    return enc.encode(s);
}

// A small deterministic generator, so that every run measures the same file.
struct Rng {
    quint32 state;
    quint32 next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<quint32>(n)); }
};

const std::array<const char*, 8> kUnits{"E1", "E2", "HTNK", "MTNK", "FV", "APOC", "SREF", "ZEP"};
const std::array<const char*, 6> kHouses{"<all>",       "Russians", "Americans",
                                         "YuriCountry", "Germans",  "British"};
const std::array<const char*, 6> kNames{"苏军进攻", "盟军空袭", "尤里偷袭",
                                        "基地防御", "矿车骚扰", "工程师占领"};

QByteArray id(const char* prefix, int n) {
    return QByteArray(prefix) + QByteArray::number(n).rightJustified(6, '0') + "-G";
}

} // namespace

GeneratedRules generateRules(qsizetype targetBytes) {
    GeneratedRules g;
    // About 1.2 KB per team type with its task force, script and three triggers.
    const int teams = std::max<int>(4, static_cast<int>(targetBytes / 1200));
    g.teamTypes = g.taskForces = g.scripts = teams;
    g.triggers = teams * 3;
    Rng rng{0x2545F491u};
    QByteArray out;
    out.reserve(targetBytes + targetBytes / 8);
    const auto line = [&out](const QByteArray& l) { out += l + "\r\n"; };

    line("; AI rules generated for benchmarks");
    line("");
    for (const auto& [header, prefix] : std::array<std::pair<const char*, const char*>, 3>{
             {{"[TeamTypes]", "TM"}, {"[TaskForces]", "TF"}, {"[ScriptTypes]", "SC"}}}) {
        line(header);
        for (int i = 0; i < teams; ++i)
            line(QByteArray::number(i) + "=" + id(prefix, i));
        line("");
    }

    line("[AITriggerTypes]");
    for (int t = 0; t < g.triggers; ++t) {
        const int team = t / 3;
        QByteArray block =
            QByteArray::number(rng.below(16) + 1, 16).toUpper().rightJustified(2, '0');
        block += "0000000" + QByteArray::number(rng.below(6)) + QByteArray(54, '0');
        line(id("AT", t) + "=" + gbk(QString::fromUtf8(kNames[t % kNames.size()])) + "," +
             id("TM", team) + "," + kHouses[rng.below(6)] + "," +
             QByteArray::number(rng.below(10) + 1) + "," + QByteArray::number(rng.below(8)) + "," +
             kUnits[rng.below(8)] + "," + block + ",70.000000,10.000000,500.000000,1,0," +
             QByteArray::number(rng.below(3) + 1) + ",0," +
             (t % 4 == 0 ? id("TM", (team + 1) % teams) : QByteArray("<none>")) + ",1,1,1");
    }
    line("");

    for (int i = 0; i < teams; ++i) {
        line("[" + id("TM", i) + "]");
        line("Name=" + gbk(QString::fromUtf8(kNames[i % kNames.size()])) + " " +
             QByteArray::number(i));
        line("VeteranLevel=1");
        line("MindControlDecision=0");
        for (const char* flag : {"Loadable", "Full", "Annoyance", "GuardSlower"})
            line(QByteArray(flag) + "=no");
        line("House=<none>");
        for (const char* flag :
             {"Recruiter", "Autocreate", "Prebuild", "Reinforce", "Droppod", "UseTransportOrigin",
              "Whiner", "LooseRecruit", "Aggressive", "Suicide"})
            line(QByteArray(flag) + (rng.below(2) ? "=yes" : "=no"));
        line("Priority=" + QByteArray::number(rng.below(50)));
        line("Max=" + QByteArray::number(rng.below(3) + 1));
        line("TechLevel=0");
        line("Group=-1");
        for (const char* flag :
             {"OnTransOnly", "AvoidThreats", "IonImmune", "TransportsReturnOnUnload",
              "AreTeamMembersRecruitable", "IsBaseDefense", "OnlyTargetHouseEnemy"})
            line(QByteArray(flag) + (rng.below(2) ? "=yes" : "=no"));
        line("Script=" + id("SC", i));
        line("TaskForce=" + id("TF", i));
        line("");

        line("[" + id("TF", i) + "]");
        line("Name=" + gbk(QStringLiteral("特遣 ")) + QByteArray::number(i));
        const int entries = rng.below(4) + 1;
        for (int e = 0; e < entries; ++e)
            line(QByteArray::number(e) + "=" + QByteArray::number(rng.below(5) + 1) + "," +
                 kUnits[rng.below(8)]);
        line("Group=-1");
        line("");

        line("[" + id("SC", i) + "]");
        line("Name=" + gbk(QStringLiteral("脚本 ")) + QByteArray::number(i));
        line("0=53,0");
        line("1=0," + QByteArray::number(rng.below(11) + 1));
        line("2=49,0");
        line("");
    }

    const int mid = teams / 2;
    g.middleTriggerKey = QString::fromLatin1(id("AT", mid * 3)) + QLatin1Char('=') +
                         QString::fromUtf8(kNames[(mid * 3) % kNames.size()]);
    g.middleTeamType = QString::fromLatin1(id("TM", mid));
    g.middleTaskForce = QString::fromLatin1(id("TF", mid));
    g.middleScript = QString::fromLatin1(id("SC", mid));
    g.content = std::move(out);
    return g;
}

// ---------------------------------------------------------------- a mod beside the AI file

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(bytes);
}

// The generated types: their IDs, kind by kind, until the rules file is big enough.
struct GeneratedMod {
    QByteArray rules;
    QStringList ids;
};

// Who may build what, as a large mod says it: countries, sides and the highest tech
// level, and the units the generated AI files use, several of them for one side only.
const QByteArray kModWorld = "[Countries]\r\n0=Americans\r\n1=Alliance\r\n2=French\r\n"
                             "3=Germans\r\n4=British\r\n5=Africans\r\n6=Arabs\r\n"
                             "7=Russians\r\n8=Confederation\r\n9=YuriCountry\r\n\r\n"
                             "[Sides]\r\nGDI=Americans,Alliance,French,Germans,British\r\n"
                             "Nod=Africans,Arabs,Russians,Confederation\r\n"
                             "ThirdSide=YuriCountry\r\n\r\n"
                             "[MultiplayerDialogSettings]\r\nTechLevel=10\r\n\r\n";
const std::array<std::pair<const char*, const char*>, 8> kUnitOwners{{
    {"E1", "TechLevel=1\r\nOwner=Americans,Alliance,French,Germans,British,Africans,Arabs,"
           "Russians,Confederation,YuriCountry"},
    {"E2", "TechLevel=1\r\nOwner=Africans,Arabs,Russians,Confederation"},
    {"HTNK", "TechLevel=5\r\nOwner=Russians,Confederation,Africans,Arabs"},
    {"MTNK", "TechLevel=2\r\nOwner=Americans,Alliance,French,Germans,British"},
    {"FV", "TechLevel=4\r\nOwner=Americans,Alliance,French,Germans,British"},
    {"APOC", "TechLevel=10\r\nOwner=Russians,Confederation\r\nForbiddenHouses=Arabs"},
    {"SREF", "TechLevel=9\r\nOwner=Americans,Alliance,French,Germans,British\r\n"
             "RequiredHouses=Germans"},
    {"ZEP", "TechLevel=11\r\nOwner=YuriCountry"},
}};

GeneratedMod generateRules() {
    static const char* const kLists[] = {"InfantryTypes", "VehicleTypes", "AircraftTypes",
                                         "BuildingTypes"};
    GeneratedMod mod;
    QByteArray lists[4];
    QByteArray sections;
    for (int u = 0; u < int(kUnitOwners.size()); ++u) {
        const QByteArray id = kUnitOwners[u].first;
        mod.ids << QString::fromLatin1(id);
        lists[u < 2 ? 0 : u < 7 ? 1 : 2] += "+=" + id + "\r\n";
        sections += "[" + id + "]\r\nUIName=Name:" + id + "\r\n" + kUnitOwners[u].second + "\r\n";
    }
    for (int n = 0; sections.size() < kModRulesBytes; ++n) {
        const int kind = n % 7 < 3 ? 0 : n % 7 < 5 ? 3 : n % 7 == 5 ? 1 : 2;
        const QByteArray id = "MOD" + QByteArray::number(n);
        mod.ids << QString::fromLatin1(id);
        lists[kind] += QByteArray::number(n) + "=" + id + "\r\n";
        sections += "[" + id + "]\r\nUIName=Name:" + id + "\r\nName=Mod type " +
                    QByteArray::number(n) + "\r\nTechLevel=" + QByteArray::number(n % 12 - 1) +
                    "\r\nOwner=" + (n % 2 ? "Americans,Alliance,French" : "Russians,Arabs") +
                    "\r\n";
        // What a real type's section holds beside its names.
        for (int k = 0; k < 14; ++k)
            sections +=
                "Key" + QByteArray::number(k) + "=" + QByteArray::number(n * k) + " ; tuned\r\n";
    }
    mod.rules = "; generated mod rules\r\n" + kModWorld;
    for (int l = 0; l < 4; ++l)
        mod.rules += "[" + QByteArray(kLists[l]) + "]\r\n" + lists[l] + "\r\n";
    mod.rules += sections;
    return mod;
}

// A string table with a label for each ID, as long as it takes to reach about bytes.
QByteArray generateTable(const QStringList& ids, qsizetype bytes) {
    const QString text = QStringLiteral("模组单位的中文名称，带有一段较长的说明文字");
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    const auto tag = [&stream](const char* t) { stream.writeRawData(t, 4); };
    tag(" FSC");
    stream << quint32(3) << quint32(ids.size()) << quint32(ids.size()) << quint32(0) << quint32(0);
    const qsizetype repeat = std::max<qsizetype>(1, bytes / ids.size() / (text.size() * 2));
    for (const QString& id : ids) {
        const QByteArray name = "Name:" + id.toLatin1();
        tag(" LBL");
        stream << quint32(1) << quint32(name.size());
        stream.writeRawData(name.data(), name.size());
        tag(" RTS");
        const QString value = text.repeated(repeat);
        stream << quint32(value.size());
        for (QChar c : value)
            stream << quint16(~c.unicode());
    }
    return out;
}

} // namespace

qsizetype writeMod(const QString& folder) {
    const QDir dir(folder);
    const GeneratedMod mod = generateRules();
    writeFile(dir.filePath(QStringLiteral("rulesmd.ini")), mod.rules);
    // Two tables, the second naming half the types again.
    const QByteArray first = generateTable(mod.ids, kModTableBytes * 2 / 3);
    const QByteArray second = generateTable(mod.ids.mid(0, mod.ids.size() / 2), kModTableBytes / 3);
    writeFile(dir.filePath(QStringLiteral("stringtable01.csf")), first);
    writeFile(dir.filePath(QStringLiteral("zz_mod.csf")), second);
    return first.size() + second.size();
}

} // namespace tarvok::bench
