// Timings of the operations a user waits for, on generated rules files of about 200 KB
// (the size of a shipped rules file) and 20 MB. Each save is measured beside a plain
// copy of the same file, its floor.
#include "RulesGenerator.h"

#include "document/FileStore.h"
#include "document/IniText.h"
#include "document/Rewrite.h"
#include "document/RulesScan.h"
#include "document/TextEncoding.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

using namespace tarvok;
using tarvok::bench::GeneratedRules;

namespace {

constexpr qsizetype kSmall = 200 * 1024;
constexpr qsizetype kLarge = 20 * 1024 * 1024;

struct Fixture {
    QTemporaryDir dir;
    GeneratedRules rules;
    QString path;    // the rules file the operations work on
    QString scratch; // File.ini
};

// One generated file per size for the whole run.
Fixture& fixture(qsizetype size) {
    static std::map<qsizetype, std::unique_ptr<Fixture>> fixtures;
    auto& f = fixtures[size];
    if (!f) {
        f = std::make_unique<Fixture>();
        f->rules = tarvok::bench::generateRules(size);
        f->path = f->dir.filePath(QStringLiteral("aimd.ini"));
        f->scratch = f->dir.filePath(QStringLiteral("File.ini"));
        QFile out(f->path);
        out.open(QIODevice::WriteOnly);
        out.write(f->rules.content);
    }
    return *f;
}

void setBytes(benchmark::State& state, qsizetype bytes) {
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["file_MB"] = static_cast<double>(bytes) / (1024 * 1024);
}

void BM_OpenScan(benchmark::State& state) {
    Fixture& f = fixture(state.range(0));
    for (auto _ : state) {
        RulesScan scan = scanRules(f.rules.content);
        benchmark::DoNotOptimize(scan);
    }
    setBytes(state, f.rules.content.size());
}

// The line model alone: every line split and read, every section found.
void BM_LineModel(benchmark::State& state) {
    Fixture& f = fixture(state.range(0));
    for (auto _ : state) {
        IniText text(f.rules.content);
        benchmark::DoNotOptimize(text);
    }
    setBytes(state, f.rules.content.size());
    state.counters["lines"] = static_cast<double>(IniText(f.rules.content).lineCount());
}

void BM_EncodingDetection(benchmark::State& state) {
    Fixture& f = fixture(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(detectEncoding(f.rules.content));
    setBytes(state, f.rules.content.size());
}

// The I/O floor: the file copied by the system.
void BM_PlainCopy(benchmark::State& state) {
    Fixture& f = fixture(state.range(0));
    const QString target = f.dir.filePath(QStringLiteral("copy.ini"));
    for (auto _ : state) {
        QFile::remove(target);
        QFile::copy(f.path, target);
    }
    setBytes(state, f.rules.content.size());
}

// The floor of a safe save: read the file, write it whole beside the target, replace.
void BM_SafeCopy(benchmark::State& state) {
    Fixture& f = fixture(state.range(0));
    const QString target = f.dir.filePath(QStringLiteral("copy.ini"));
    for (auto _ : state) {
        const std::optional<QByteArray> bytes = filestore::read(f.path);
        filestore::replace(target, *bytes);
    }
    setBytes(state, f.rules.content.size());
}

void BM_RewriteReplaceTriggerLine(benchmark::State& state) {
    Fixture& f = fixture(state.range(0));
    const TextCodec codec(Encoding::Gbk);
    const QByteArray key = codec.encode(f.rules.middleTriggerKey);
    const QByteArray line = key + ",TM000000-G,<all>,10,0,<none>," + QByteArray(64, '0') +
                            ",70.000000,10.000000,70.000000,1,0,1,0,<none>,0,0,0";
    for (auto _ : state) {
        filestore::rewrite(f.path, f.scratch, [&](const QByteArray& content) {
            return rewriteLines(content, ReplaceTriggerLine(key, line));
        });
    }
    setBytes(state, f.rules.content.size());
}

} // namespace

#define SIZES ->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_OpenScan) SIZES;
BENCHMARK(BM_LineModel) SIZES;
BENCHMARK(BM_EncodingDetection) SIZES;
BENCHMARK(BM_PlainCopy) SIZES;
BENCHMARK(BM_SafeCopy) SIZES;
BENCHMARK(BM_RewriteReplaceTriggerLine) SIZES;
