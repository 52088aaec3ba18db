// Loading and saving a full-plate run data file (two 8-point standard series, 80 samples).

#include "core/UiTextManager.h"
#include "files/BlockIO.h"
#include "files/CombinedFileHandler.h"
#include "plate/CellBlock.h"
#include "run/MarnovelRdData.h"

#include <QTemporaryDir>

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
    // Never touch the real user's settings: a throw-away home for the whole run.
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    const QByteArray homePath = home.path().toUtf8();
    qputenv("HOME", homePath);
    qputenv("XDG_CONFIG_HOME", homePath + "/.config");
    qputenv("XDG_DATA_HOME", homePath + "/.local/share");
    gFolder = home.path();
    GetTranslationManager().LoadResource(QStringLiteral("LOCALE_ENGLISH"));

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
