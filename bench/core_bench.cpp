// Speed of the text rounding used for every plate value and of a catalogue lookup.

#include "core/Tool.h"
#include "core/UiTextManager.h"

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

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
    // The catalogue and the regional settings read the per-user store: never the real user's.
    const auto home =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/velomyra-bench-XXXXXX"));
    const QByteArray path = home->path().toUtf8();
    qputenv("HOME", path);
    qputenv("XDG_CONFIG_HOME", path + "/.config");
    GetTranslationManager().LoadResource(QStringLiteral("LOCALE_ENGLISH"));

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
