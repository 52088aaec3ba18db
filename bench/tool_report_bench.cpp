// "velomyra report" as the operator runs it: the example run (80 subjects) loaded, calculated
// and written as one PDF per subject.

#include "ReportCommand.h"

#include <QTemporaryDir>

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ReportCommand_IndividualPdfsFullPlate(benchmark::State &state)
{
    for (auto _ : state) {
        QTemporaryDir folder;
        if (!folder.isValid() ||
            RunReportCommand({ExampleRunFile(), QStringLiteral("--individual"), folder.path()}) != 0) {
            state.SkipWithError("the reports were not written");
            return;
        }
    }
}
BENCHMARK(BM_ReportCommand_IndividualPdfsFullPlate)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char **argv)
{
    return RunWindowBenchmarks(argc, argv);
}
