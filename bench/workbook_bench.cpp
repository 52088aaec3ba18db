// The workbook of a full-plate run (two 8-point standard series, 80 samples) against its floor:
// the JSON of the same run, which holds every number the workbook holds.

#include "files/RunJson.h"
#include "files/RunSession.h"
#include "workbook/RunWorkbook.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

namespace {

const QString ExampleRun = QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf");

bool Calculated(TRunSession &session, benchmark::State &state)
{
    if (session.LoadRun(ExampleRun).Ok() && session.Calculate().Ok())
        return true;
    state.SkipWithError("the example run does not calculate");
    return false;
}

void BM_RunJson_FullPlate(benchmark::State &state)
{
    TRunSession session;
    if (!Calculated(session, state))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(RunJsonText(session));
}
BENCHMARK(BM_RunJson_FullPlate)->Unit(benchmark::kMillisecond);

void BM_RunWorkbook_FullPlate(benchmark::State &state)
{
    TRunSession session;
    if (!Calculated(session, state))
        return;
    qint64 bytes = 0;
    for (auto _ : state)
        bytes = RunWorkbookBytes(session).size();
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RunWorkbook_FullPlate)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunBenchmarksInTemporaryHome(argc, argv, [](const QString &) {});
}
