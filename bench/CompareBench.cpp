// Two generated AI files of 20 MB that differ in 1 000 triggers, compared record by record.
#include "RulesGenerator.h"

#include "document/RulesIndex.h"
#include "records/Compare.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace tarvok;

namespace {

constexpr qsizetype kLarge = 20 * 1024 * 1024;
constexpr int kChanged = 1000;

struct Pair {
    QByteArray old, now;
};

// The file, and a copy whose every n-th trigger has another last field.
const Pair& pair() {
    static const Pair p = [] {
        Pair made;
        made.old = bench::generateRules(kLarge).content;
        const RulesIndex index(made.old);
        const IniText& text = index.text();
        std::vector<qsizetype> lines;
        for (const IniText::Section& s : text.sections())
            if (s.name == QByteArrayView("AITriggerTypes"))
                for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i)
                    if (text.kind(i) == IniText::Kind::Key)
                        lines.push_back(i);
        IniEdits edits;
        const size_t step = lines.size() / kChanged;
        for (int k = 0; k < kChanged; ++k) {
            const qsizetype line = lines[size_t(k) * step];
            edits.replaceInLine(line, text.valueRange(line), text.value(line).toByteArray() + "0");
        }
        made.now = *applyEdits(text, edits);
        return made;
    }();
    return p;
}

// Arg 0: the two readings exist (the open file's and the other one's); 1: both read too.
void BM_CompareFiles(benchmark::State& state) {
    const Pair& p = pair();
    const bool read = state.range(0) == 1;
    std::unique_ptr<RulesIndex> a(read ? nullptr : new RulesIndex(p.old));
    std::unique_ptr<RulesIndex> b(read ? nullptr : new RulesIndex(p.now));
    size_t found = 0;
    for (auto _ : state) {
        if (read) {
            a = std::make_unique<RulesIndex>(p.old);
            b = std::make_unique<RulesIndex>(p.now);
        }
        found = compare::compare(compare::Side(*a), compare::Side(*b)).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["records_differing"] = static_cast<double>(found);
}

} // namespace

BENCHMARK(BM_CompareFiles)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
