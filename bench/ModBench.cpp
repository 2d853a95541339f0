// Timings of reading a mod beside an AI file: a generated game rules file of about 1.7 MB
// (thousands of types, each with its in-game name's label) and 0.5 MB of string tables
// naming them, as a large mod has them; and of checking an AI file of a published mod's
// size (0.3 MB) against it, in the window and as the command line.
#include "RulesGenerator.h"

#include "catalogues/Catalogues.h"
#include "catalogues/ModWorld.h"
#include "catalogues/ProgramFiles.h"
#include "catalogues/UnitNameTable.h"
#include "document/IniText.h"
#include "document/RulesIndex.h"
#include "document/TextEncoding.h"
#include "records/FileCheck.h"
#include "records/Forecast.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
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
    bench::GeneratedRules published; // an AI file of the mod, of a published mod's size
    QString publishedPath;
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
        f->published = bench::generateRules(300 * 1024);
        f->publishedPath = f->dir.filePath(QStringLiteral("published.ini"));
        QFile published(f->publishedPath);
        published.open(QIODevice::WriteOnly);
        published.write(f->published.content);
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

// The whole check of the published-size AI file against the mod (检查文件 on the file open
// in the window: the file and the mod are read at its opening).
void BM_CheckPublishedMod(benchmark::State& state) {
    Fixture& f = fixture();
    const RulesIndex index(f.published.content);
    Catalogues catalogues{ProgramFiles(QStringLiteral(TARVOK_DATA_DIR))};
    catalogues.updateMod(f.publishedPath, index, {});
    size_t problems = 0;
    for (auto _ : state) {
        problems = catalogues.checkFile(index).size();
        benchmark::DoNotOptimize(problems);
    }
    state.counters["problems"] = static_cast<double>(problems);
    state.counters["triggers"] = f.published.triggers;
    state.counters["ai_MB"] = static_cast<double>(f.published.content.size()) / (1024 * 1024);
}

// The build rule alone on the same file: which team waits for a unit its countries cannot
// build (with the registries it needs read again).
void BM_BuildRulePublishedMod(benchmark::State& state) {
    Fixture& f = fixture();
    const RulesIndex index(f.published.content);
    ModWorld world(f.unitTable);
    world.update(f.publishedPath, index.text(), index.codec(), {});
    const filecheck::ModTypes mod{world.definedIds(), world.buildingIds().size(), &world.world()};
    size_t entries = 0;
    for (auto _ : state) {
        entries = filecheck::unbuildableUnits(index.text(), index.codec(), mod).size();
        benchmark::DoNotOptimize(entries);
    }
    state.counters["entries"] = static_cast<double>(entries);
}

// tarvok --check on the published-size AI file, as a whole process from its start to its
// exit: the program loaded, the file and the mod read, the check, its lines printed.
void BM_CheckCommand(benchmark::State& state) {
    Fixture& f = fixture();
    int status = -1;
    for (auto _ : state) {
        QProcess p;
        p.start(QStringLiteral(TARVOK_PROGRAM), {QStringLiteral("--check"), f.publishedPath});
        p.waitForFinished(-1);
        status = p.exitCode();
        benchmark::DoNotOptimize(p.readAllStandardOutput());
    }
    state.counters["exit_status"] = status;
}

// A moment of a game for the forecasts: the mod's first country, an enemy, one of each
// building, a few teams alive.
forecast::State forecastState(const ModWorld& world) {
    forecast::State s;
    s.country = world.world().countries.value(0);
    s.enemy = forecast::Enemy{};
    for (const QString& id : world.buildingIds())
        s.owns[id] = 1;
    s.teams[QStringLiteral("TM-1")] = 2;
    return s;
}

// tarvok --predict on the published-size AI file and the mod beside it, as a whole process
// (program loaded, file, mod and state read, forecast, lines printed).
void BM_PredictCommand(benchmark::State& state) {
    Fixture& f = fixture();
    const QString statePath = f.dir.filePath(QStringLiteral("state.json"));
    if (!QFile::exists(statePath)) {
        const RulesIndex index(f.published.content);
        ModWorld world(f.unitTable);
        world.update(f.publishedPath, index.text(), index.codec(), {});
        QFile out(statePath);
        out.open(QIODevice::WriteOnly);
        out.write(forecast::writeState(forecastState(world)));
    }
    int status = -1;
    for (auto _ : state) {
        QProcess p;
        p.start(QStringLiteral(TARVOK_PROGRAM), {QStringLiteral("--predict"), f.publishedPath,
                                                 QStringLiteral("--state"), statePath});
        p.waitForFinished(-1);
        status = p.exitCode();
        benchmark::DoNotOptimize(p.readAllStandardOutput());
    }
    state.counters["exit_status"] = status;
}

// A forecast on the published-size AI file against the mod, the file read for it once (as
// the window holds it between edits of the state); with Arg(1), the file read for it too.
void BM_ForecastPublishedMod(benchmark::State& state) {
    Fixture& f = fixture();
    const RulesIndex index(f.published.content);
    ModWorld world(f.unitTable);
    world.update(f.publishedPath, index.text(), index.codec(), {});
    const forecast::State moment = forecastState(world);
    const forecast::Forecaster once(index.text(), index.codec(), world.world());
    int pickable = 0;
    for (auto _ : state) {
        if (state.range(0)) {
            const forecast::Forecaster forecaster(index.text(), index.codec(), world.world());
            pickable = forecaster.run(moment).pickable;
        } else {
            pickable = once.run(moment).pickable;
        }
        benchmark::DoNotOptimize(pickable);
    }
    state.counters["pickable"] = pickable;
    state.counters["triggers"] = f.published.triggers;
}

// A forecast on the 20 MB generated AI file against the mod, the file read for it once;
// with Arg(1), the file read for it too.
void BM_ForecastLargeFile(benchmark::State& state) {
    Fixture& f = fixture();
    static const QByteArray large = bench::generateRules(20 * 1024 * 1024).content;
    const RulesIndex index(large);
    ModWorld world(f.unitTable);
    world.update(f.aiPath, index.text(), index.codec(), {});
    const forecast::State moment = forecastState(world);
    const forecast::Forecaster once(index.text(), index.codec(), world.world());
    size_t triggers = 0;
    for (auto _ : state) {
        if (state.range(0)) {
            const forecast::Forecaster forecaster(index.text(), index.codec(), world.world());
            triggers = forecaster.run(moment).triggers.size();
        } else {
            triggers = once.run(moment).triggers.size();
        }
        benchmark::DoNotOptimize(triggers);
    }
    state.counters["triggers"] = static_cast<double>(triggers);
}

} // namespace

BENCHMARK(BM_ForecastPublishedMod)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ForecastLargeFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckPublishedMod)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildRulePublishedMod)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckCommand)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PredictCommand)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ModFirstRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModLookAgain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ModBesideLargeAiFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
