// Timings of reading a mod beside an AI file: a generated game rules file of about 1.7 MB
// (thousands of types, each with its in-game name's label) and 0.5 MB of string tables
// naming them, as a large mod has them.
#include "RulesGenerator.h"

#include "catalogues/ModWorld.h"
#include "catalogues/ProgramFiles.h"
#include "catalogues/UnitNameTable.h"
#include "document/IniText.h"
#include "document/TextEncoding.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace tarvok;

namespace {

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
        f->tableBytes = bench::writeMod(f->dir.path());
        f->aiPath = f->dir.filePath(QStringLiteral("aimd.ini"));
        QFile ai(f->aiPath);
        ai.open(QIODevice::WriteOnly);
        ai.write("[AITriggerTypes]\r\n");
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
    state.counters["rules_MB"] = static_cast<double>(bench::kModRulesBytes) / (1024 * 1024);
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
