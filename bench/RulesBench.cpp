// Timings of the operations a user waits for, on generated rules files of about 200 KB
// (the size of a shipped rules file) and 20 MB. Each save is measured beside a plain
// copy of the same file, its floor.
#include "RulesGenerator.h"

#include "catalogues/ProgramFiles.h"
#include "catalogues/UnitNameTable.h"
#include "document/FileStore.h"
#include "document/IniText.h"
#include "document/RulesDocument.h"
#include "document/RulesIndex.h"
#include "document/RulesScan.h"
#include "document/TextEncoding.h"
#include "records/FileCheck.h"
#include "records/RecordChain.h"
#include "records/RecordLines.h"
#include "records/RecordOps.h"
#include "records/References.h"
#include "records/UnitUses.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

using namespace tarvok;
using tarvok::bench::GeneratedRules;

namespace {

// The reading of a write arrives through the event loop.
void waitForReading(RulesDocument& doc) {
    while (doc.readingInProgress())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

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

// The same file as a mod of two: its triggers in ai_trigger.ini, which the rules file names
// in [#include] (the rest, and the trigger section's place, as generated).
struct SplitFixture {
    QTemporaryDir dir;
    QString path;
    QString scratch;
};

SplitFixture& splitFixture(qsizetype size) {
    static std::map<qsizetype, std::unique_ptr<SplitFixture>> fixtures;
    auto& f = fixtures[size];
    if (!f) {
        const QByteArray& content = fixture(size).rules.content;
        const IniText::Range span = sectionSpan(content, "AITriggerTypes");
        f = std::make_unique<SplitFixture>();
        f->path = f->dir.filePath(QStringLiteral("aimd.ini"));
        f->scratch = f->dir.filePath(QStringLiteral("File.ini"));
        filestore::replace(f->path, "[#include]\r\n1=ai_trigger.ini\r\n" +
                                        content.first(span.begin) +
                                        content.sliced(span.begin + span.length));
        filestore::replace(f->dir.filePath(QStringLiteral("ai_trigger.ini")),
                           content.sliced(span.begin, span.length));
        // The same content as one file, in the order the game reads the two.
        filestore::replace(f->dir.filePath(QStringLiteral("joined.ini")),
                           content.first(span.begin) + content.sliced(span.begin + span.length) +
                               content.sliced(span.begin, span.length));
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

// The whole index of a file read: encoding, line model, the four lists, every name.
void BM_BuildIndex(benchmark::State& state) {
    Fixture& f = fixture(state.range(0));
    for (auto _ : state) {
        RulesIndex index(f.rules.content);
        benchmark::DoNotOptimize(index);
    }
    setBytes(state, f.rules.content.size());
    state.counters["sections"] =
        static_cast<double>(RulesIndex(f.rules.content).text().sections().size());
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

// A trigger saved as the panel saves it: the trigger sections read as lines, the tech
// level edited in place (a different value each time), the file written back through the
// open document. With versions, each save also keeps the content it replaces for undo.
void saveTriggerEdits(benchmark::State& state, bool versions, bool split = false) {
    Fixture& f = fixture(state.range(0));
    QTemporaryDir history; // outlives the document, whose lock is in it
    RulesDocument doc(split ? splitFixture(state.range(0)).scratch : f.scratch);
    if (versions)
        doc.setHistoryFolder(history.filePath(QStringLiteral("history")));
    if (!doc.open(split ? splitFixture(state.range(0)).path : f.path) ||
        doc.files().size() != (split ? 2 : 1)) {
        state.SkipWithError("the file cannot be opened");
        return;
    }
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        waitForReading(doc); // the previous write's, done long before a person's next save
        state.ResumeTiming();
        const QByteArray tech = QByteArray::number(++round % 10);
        bool found = false;
        doc.edit(
            [&](const QByteArray& content, const TextCodec& codec) -> std::optional<QByteArray> {
                const QByteArray entry = codec.encode(f.rules.middleTriggerKey);
                const recordlines::SectionSlice slice(content, "AITriggerTypes");
                const std::optional<qsizetype> line = recordlines::findTrigger(slice.text(), entry);
                if (!line)
                    return std::nullopt;
                found = true;
                const QByteArray old = recordlines::triggerLine(slice.text(), *line);
                std::vector<QByteArrayView> fields = trigger::splitFields(old);
                fields.at(3) = tech;
                QByteArray newLine;
                for (QByteArrayView field : fields)
                    newLine += (newLine.isEmpty() ? "" : ",") + field.toByteArray();
                IniEdits edits;
                recordlines::editTrigger(slice.text(), *line, newLine, edits);
                return slice.apply(content, edits);
            });
        if (!found) {
            state.SkipWithError("the trigger is missing");
            break;
        }
    }
    setBytes(state, f.rules.content.size());
}

void BM_SaveTriggerEdit(benchmark::State& state) {
    saveTriggerEdits(state, false);
}
void BM_SaveTriggerEditWithVersions(benchmark::State& state) {
    saveTriggerEdits(state, true);
}
// The same trigger, of a mod whose triggers are in an included file.
void BM_SaveTriggerEditIncluded(benchmark::State& state) {
    saveTriggerEdits(state, true, true);
}

// Opening the rules file (read, index). Arg 1: 0 the generated file, 1 its content as a
// mod of two files, 2 the same content as one file in the order the game reads the two
// (the index of a file whose triggers come last costs more than of one whose triggers
// stand in the middle).
void BM_OpenMod(benchmark::State& state) {
    const bool split = state.range(1) == 1;
    const QString path =
        state.range(1) == 2
            ? splitFixture(state.range(0)).dir.filePath(QStringLiteral("joined.ini"))
        : split ? splitFixture(state.range(0)).path
                : fixture(state.range(0)).path;
    for (auto _ : state) {
        auto doc = std::make_unique<RulesDocument>(fixture(state.range(0)).scratch);
        if (!doc->open(path) || doc->files().size() != (split ? 2 : 1)) {
            state.SkipWithError("the mod cannot be opened");
            break;
        }
        benchmark::DoNotOptimize(doc->index());
        // Closing is not opening: letting go of a file's watch waits for the system (about
        // a millisecond a file here), and of the index's memory.
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    setBytes(state, fixture(state.range(0)).rules.content.size());
}

// What names what: read once for each reading of the file, at the first 引用 list.
void BM_ReferencesTable(benchmark::State& state) {
    Fixture& f = fixture(state.range(0));
    const RulesIndex index(f.rules.content);
    for (auto _ : state) {
        references::RecordReferences refs(index);
        benchmark::DoNotOptimize(refs);
    }
    setBytes(state, f.rules.content.size());
}

// What the lists' filters read once per reading: the units and buildings each record uses.
void BM_UnitUsesRead(benchmark::State& state) {
    Fixture& f = fixture(state.range(0));
    const RulesIndex index(f.rules.content);
    for (auto _ : state) {
        unituses::UnitUses uses(index);
        benchmark::DoNotOptimize(uses);
    }
    setBytes(state, f.rules.content.size());
}

// The four 引用 lists of a selection (trigger, team type, task force, script), from the table.
void BM_ReferencesOfRecords(benchmark::State& state) {
    Fixture& f = fixture(state.range(0));
    const RulesIndex index(f.rules.content);
    const references::RecordReferences refs(index);
    const QByteArray trigger = f.rules.middleTriggerKey.section(QLatin1Char('='), 0, 0).toUtf8();
    size_t found = 0;
    for (auto _ : state) {
        found = refs.of(references::Kind::Trigger, trigger).size() +
                refs.of(references::Kind::TeamType, f.rules.middleTeamType.toUtf8()).size() +
                refs.of(references::Kind::TaskForce, f.rules.middleTaskForce.toUtf8()).size() +
                refs.of(references::Kind::Script, f.rules.middleScript.toUtf8()).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["references"] = static_cast<double>(found);
}

// The whole-file check as the check window runs it: the file read as lines, then every
// registry, trigger, record and reference looked at, against the shipped unit table.
void BM_CheckFile(benchmark::State& state) {
    Fixture& f = fixture(state.range(0));
    const std::optional<QStringList> table =
        ProgramFiles(QStringLiteral(TARVOK_DATA_DIR)).lines(unitnames::kTableFile);
    const filecheck::CheckCatalogues catalogues{table ? unitnames::choiceLists(*table).ids
                                                      : QStringList()};
    const TextCodec codec(detectEncoding(f.rules.content));
    size_t problems = 0;
    for (auto _ : state) {
        const IniText text(f.rules.content);
        problems = filecheck::checkRules(text, codec, catalogues).size();
        benchmark::DoNotOptimize(problems);
    }
    setBytes(state, f.rules.content.size());
    state.counters["problems"] = static_cast<double>(problems);
}

// A trigger's chain of four records (trigger, team type, task force, script) copied as the
// dialog's OK computes it: the new IDs checked against every ID of the file, the copies and
// registry lines placed, the new content made. From the file's bytes (read as lines first),
// and from a reading kept of them (the document's index has one). The write is the save's.
void copyChain(benchmark::State& state, bool fromBytes) {
    Fixture& f = fixture(state.range(0));
    const TextCodec codec(detectEncoding(f.rules.content));
    const IniText reading(f.rules.content);
    const std::vector<chain::ChainRow> rows =
        chain::triggerChain(reading, codec, f.rules.middleTriggerKey);
    const chain::RegistryCounts counts{f.rules.teamTypes, f.rules.taskForces, f.rules.scripts};
    qsizetype grown = 0;
    for (auto _ : state) {
        const chain::ChainWrite w = fromBytes
                                        ? chain::copyChain(f.rules.content, codec, rows, counts)
                                        : chain::copyChain(reading, codec, rows, counts);
        grown = w.content.size() - f.rules.content.size();
        benchmark::DoNotOptimize(w);
    }
    setBytes(state, f.rules.content.size());
    state.counters["records"] = static_cast<double>(rows.size());
    state.counters["bytes_added"] = static_cast<double>(grown);
}
void BM_CopyChain(benchmark::State& state) {
    copyChain(state, true);
}
void BM_CopyChainFromReading(benchmark::State& state) {
    copyChain(state, false);
}

// The same written as a save writes (scratch copy, then the file replaced), beside
// BM_SaveTriggerEdit. Each round copies the chain into the file as generated.
void BM_CopyChainWritten(benchmark::State& state) {
    Fixture& f = fixture(state.range(0));
    const TextCodec codec(detectEncoding(f.rules.content));
    const std::vector<chain::ChainRow> rows =
        chain::triggerChain(IniText(f.rules.content), codec, f.rules.middleTriggerKey);
    const chain::RegistryCounts counts{f.rules.teamTypes, f.rules.taskForces, f.rules.scripts};
    for (auto _ : state)
        filestore::rewrite(f.path, f.scratch, [&](const QByteArray&) {
            return chain::copyChain(f.rules.content, codec, rows, counts).content;
        });
    filestore::replace(f.path, f.rules.content); // as generated, for what runs after
    setBytes(state, f.rules.content.size());
}

// A chain copied as 确定 copies it: one write through the open document, with its undo
// version, beside BM_SaveTriggerEditWithVersions. The rows are made afresh for each round
// (as opening the dialog makes them), outside the time.
void BM_CopyChainOneWrite(benchmark::State& state) {
    Fixture& f = fixture(state.range(0));
    QTemporaryDir history; // outlives the document, whose lock is in it
    RulesDocument doc(f.scratch);
    doc.setHistoryFolder(history.filePath(QStringLiteral("history")));
    if (!doc.open(f.path)) {
        state.SkipWithError("the file cannot be opened");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        waitForReading(doc);
        const std::shared_ptr<const RulesIndex> index = doc.index();
        const std::vector<chain::ChainRow> rows =
            chain::triggerChain(index->text(), index->codec(), f.rules.middleTriggerKey);
        state.ResumeTiming();
        const records::ChainCopy done = records::CopyChain(doc, rows);
        if (done.refused || !done.write.ok()) {
            state.SkipWithError("the copy was refused");
            break;
        }
    }
    filestore::replace(f.path, f.rules.content); // as generated, for what runs after
    setBytes(state, f.rules.content.size());
}

} // namespace

#define SIZES ->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond)
// Writes run long enough to pass the first saves, whose disk times wander the most here.
#define WRITES SIZES->MinTime(1)
BENCHMARK(BM_OpenScan) SIZES;
BENCHMARK(BM_LineModel) SIZES;
BENCHMARK(BM_BuildIndex) SIZES;
BENCHMARK(BM_EncodingDetection) SIZES;
BENCHMARK(BM_PlainCopy) WRITES;
BENCHMARK(BM_SafeCopy) WRITES;
BENCHMARK(BM_SaveTriggerEdit) WRITES;
BENCHMARK(BM_SaveTriggerEditWithVersions) WRITES;
BENCHMARK(BM_SaveTriggerEditIncluded) WRITES;
BENCHMARK(BM_OpenMod)
    ->ArgsProduct({{kSmall, kLarge}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1);
BENCHMARK(BM_CheckFile) SIZES;
BENCHMARK(BM_ReferencesTable) SIZES;
BENCHMARK(BM_ReferencesOfRecords) SIZES;
BENCHMARK(BM_UnitUsesRead) SIZES;
BENCHMARK(BM_CopyChain) SIZES;
BENCHMARK(BM_CopyChainFromReading) SIZES;
BENCHMARK(BM_CopyChainWritten) SIZES;
BENCHMARK(BM_CopyChainOneWrite) WRITES;
