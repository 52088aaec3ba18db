// Speed of the text rounding used for every plate value and of a catalogue lookup.

#include "core/Tool.h"
#include "core/UiTextManager.h"

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void BM_RoundWideString(benchmark::State &state, const char *input, int decimals)
{
    const QString text = QString::fromLatin1(input);
    for (auto _ : state)
        benchmark::DoNotOptimize(RoundWideString(text, decimals));
}
BENCHMARK_CAPTURE(BM_RoundWideString, plate_od, "0.5124", 3);
BENCHMARK_CAPTURE(BM_RoundWideString, exponent, "1.5E-3", 2);
BENCHMARK_CAPTURE(BM_RoundWideString, carry, "99999.99995", 4);
BENCHMARK_CAPTURE(BM_RoundWideString, integer, "7", 3);

void BM_CatalogueLookup(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(UiText(87));
}
BENCHMARK(BM_CatalogueLookup);

} // namespace

int main(int argc, char **argv)
{
    return RunBenchmarksInTemporaryHome(argc, argv);
}
