// Timings of reading a mod beside an AI file: a generated game rules file of about 1.7 MB
// (thousands of types, each with its in-game name's label) and 0.5 MB of string tables
// naming them, as a large mod has them.
#include "RulesGenerator.h"

#include "catalogues/ModWorld.h"
#include "catalogues/ProgramFiles.h"
#include "catalogues/UnitNameTable.h"
#include "document/IniText.h"
#include "document/TextEncoding.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace tarvok;

namespace {

constexpr qsizetype kRulesBytes = 1700 * 1024;
constexpr qsizetype kTableBytes = 512 * 1024;

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

GeneratedMod generateRules() {
    static const char* const kLists[] = {"InfantryTypes", "VehicleTypes", "AircraftTypes",
                                         "BuildingTypes"};
    GeneratedMod mod;
    QByteArray lists[4];
    QByteArray sections;
    for (int n = 0; sections.size() < kRulesBytes; ++n) {
        const int kind = n % 7 < 3 ? 0 : n % 7 < 5 ? 3 : n % 7 == 5 ? 1 : 2;
        const QByteArray id = "MOD" + QByteArray::number(n);
        mod.ids << QString::fromLatin1(id);
        lists[kind] += QByteArray::number(n) + "=" + id + "\r\n";
        sections += "[" + id + "]\r\nUIName=Name:" + id + "\r\nName=Mod type " +
                    QByteArray::number(n) + "\r\n";
        // What a real type's section holds beside its names.
        for (int k = 0; k < 16; ++k)
            sections +=
                "Key" + QByteArray::number(k) + "=" + QByteArray::number(n * k) + " ; tuned\r\n";
    }
    mod.rules = "; generated mod rules\r\n";
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

struct Fixture {
    QTemporaryDir dir;
    QString aiPath;
    QStringList unitTable;
    qsizetype tableBytes = 0;
};

Fixture& fixture() {
    static std::unique_ptr<Fixture> f;
    if (!f) {
        f = std::make_unique<Fixture>();
        const GeneratedMod mod = generateRules();
        writeFile(f->dir.filePath(QStringLiteral("rulesmd.ini")), mod.rules);
        // Two tables, the second naming half the types again.
        const QByteArray first = generateTable(mod.ids, kTableBytes * 2 / 3);
        const QByteArray second =
            generateTable(mod.ids.mid(0, mod.ids.size() / 2), kTableBytes / 3);
        writeFile(f->dir.filePath(QStringLiteral("ra2md.csf")), first);
        writeFile(f->dir.filePath(QStringLiteral("zz_mod.csf")), second);
        f->tableBytes = first.size() + second.size();
        f->aiPath = f->dir.filePath(QStringLiteral("aimd.ini"));
        writeFile(f->aiPath, "[AITriggerTypes]\r\n");
        f->unitTable = ProgramFiles(QStringLiteral(TARVOK_DATA_DIR))
                           .lines(unitnames::kTableFile)
                           .value_or(QStringList());
    }
    return *f;
}

const QByteArray kAiContent("[AITriggerTypes]\r\n");

// Opening an AI file of the mod: the files found, read, and every choice list made.
void BM_ModFirstRead(benchmark::State& state) {
    Fixture& f = fixture();
    const IniText ai(kAiContent);
    const TextCodec codec;
    int units = 0;
    for (auto _ : state) {
        ModWorld world(f.unitTable);
        world.update(f.aiPath, ai, codec, {});
        units = static_cast<int>(world.unitIds().size() + world.buildingIds().size());
        benchmark::DoNotOptimize(units);
    }
    state.counters["types"] = units;
    state.counters["rules_MB"] = static_cast<double>(kRulesBytes) / (1024 * 1024);
    state.counters["tables_MB"] = static_cast<double>(f.tableBytes) / (1024 * 1024);
}

// Opening it again, or another AI file of the same mod, when nothing changed.
void BM_ModLookAgain(benchmark::State& state) {
    Fixture& f = fixture();
    const IniText ai(kAiContent);
    const TextCodec codec;
    ModWorld world(f.unitTable);
    world.update(f.aiPath, ai, codec, {});
    for (auto _ : state) {
        const bool changed = world.update(f.aiPath, ai, codec, {});
        benchmark::DoNotOptimize(changed);
    }
}

// What the 20 MB generated AI file pays with no rules file beside it, and with one (its
// own type lists are looked for).
void BM_ModBesideLargeAiFile(benchmark::State& state) {
    Fixture& f = fixture();
    static const QByteArray large = bench::generateRules(20 * 1024 * 1024).content;
    const IniText ai(large);
    const TextCodec codec(detectEncoding(large));
    const QTemporaryDir alone;
    const QString path = state.range(0) ? f.aiPath : alone.filePath(QStringLiteral("ai/aimd.ini"));
    ModWorld world(f.unitTable);
    world.update(path, ai, codec, {});
    for (auto _ : state) {
        const bool changed = world.update(path, ai, codec, {});
        benchmark::DoNotOptimize(changed);
    }
    state.counters["in_use"] = world.inUse();
}

} // namespace

BENCHMARK(BM_ModFirstRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModLookAgain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ModBesideLargeAiFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
