// Loading and saving a full-plate run data file (two 8-point standard series, 80 samples).

#include "core/UiTextManager.h"
#include "files/BlockIO.h"
#include "files/CombinedFileHandler.h"
#include "plate/CellBlock.h"
#include "run/MarnovelRdData.h"

#include <QTemporaryDir>

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

const QString ExampleRun = QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf");

QString gFolder;

void BM_LoadRunDataFile_FullPlate(benchmark::State &state)
{
    TMarnovelRdData data;
    TSystemInfo info;
    TCombinedFileHandler handler;
    handler.SetRunData(&data);
    handler.SetSystemInfo(&info);
    for (auto _ : state) {
        OWCellBlockBase::Reset();
        TFileLoadResult result = handler.LoadDataAndFormat(ExampleRun);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_LoadRunDataFile_FullPlate)->Unit(benchmark::kMicrosecond);

void BM_SaveRunDataFile_FullPlate(benchmark::State &state)
{
    TMarnovelRdData data;
    TSystemInfo info;
    TCombinedFileHandler handler;
    handler.SetRunData(&data);
    handler.SetSystemInfo(&info);
    if (handler.LoadDataAndFormat(ExampleRun) != FL_OK) {
        state.SkipWithError("the example run does not load");
        return;
    }
    info.mData = &data;
    const QString target = gFolder + QStringLiteral("/saved.vdf");
    for (auto _ : state)
        handler.SaveDataAndFormat(target);
}
BENCHMARK(BM_SaveRunDataFile_FullPlate)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return RunBenchmarksInTemporaryHome(argc, argv, [](const QString &folder) { gFolder = folder; });
}
