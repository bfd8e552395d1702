// Text utilities on the longest lists they may be handed: a stored colour
// list of 32,766 commas should split in well under a millisecond per
// thousand fields, not in seconds.
#include "support/StrUtils.h"

#include <benchmark/benchmark.h>

namespace {

void BM_SplitLongList(benchmark::State& state) {
    const QString text(32766, QLatin1Char(','));
    for (auto _ : state) benchmark::DoNotOptimize(support::SplitString(text, QStringLiteral(",")));
}
BENCHMARK(BM_SplitLongList)->Unit(benchmark::kMillisecond);

// A replacement that keeps forming what it replaces, up to where the
// rescanning gives up.
void BM_ReplaceAllWithoutEnd(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(support::ReplaceAll(QStringLiteral("aab"), QStringLiteral("ab"), QStringLiteral("bbaa")));
}
BENCHMARK(BM_ReplaceAllWithoutEnd)->Unit(benchmark::kMillisecond);

}  // namespace
