// The desktop program's start-up to a painted main window, and loading a full-plate run
// through the window, offscreen. Cold start (the catalogue and version read the first
// time) is the first repetition's first iteration; the singletons stay loaded afterwards.

#include "Startup.h"
#include "core/Messages.h"
#include "core/Registry.h"
#include "files/RunSession.h"
#include "plate/CellColl.h"
#include "run/MarnovelData.h"
#include "ui/main/MainFormCombinedRd.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

const QString ExampleRun = ExampleRunFile();
const QString ExampleLayout = QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/layout-8point.vff");

// The real start-up, ending with the main window shown and painted instead of the loop.
class TPaintedStartup : public TApplicationStartup
{
protected:
    int RunEventLoop() override
    {
        MainWindow()->show();
        QCoreApplication::processEvents();
        MainWindow()->repaint();
        return 0;
    }
};

void BM_StartupToPaintedMainWindow(benchmark::State &state)
{
    for (auto _ : state) {
        TPaintedStartup startup;
        benchmark::DoNotOptimize(startup.Run());
        state.PauseTiming(); // closing and destroying is not what the operator waits for
        startup.MainWindow()->hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToPaintedMainWindow)->Unit(benchmark::kMillisecond);

void BM_MainWindow_ConstructAndShow(benchmark::State &state)
{
    for (auto _ : state) {
        TfrmMainCombinedRd window;
        window.show();
        QCoreApplication::processEvents();
        window.repaint();
    }
}
BENCHMARK(BM_MainWindow_ConstructAndShow)->Unit(benchmark::kMillisecond);

void BM_MainWindow_LoadFullPlateRun(benchmark::State &state)
{
    TfrmMainCombinedRd window;
    ShowLaidOut(window);
    for (auto _ : state) {
        window.OpenRunFile(ExampleRun);
        window.repaint();
    }
}
BENCHMARK(BM_MainWindow_LoadFullPlateRun)->Unit(benchmark::kMillisecond);

// Answers every file dialog with one file, as an operator choosing it again and again.
class TChosenFile : public IPresenter
{
public:
    explicit TChosenFile(const QString &fileName) : mFileName(fileName) { SetPresenter(this); }
    ~TChosenFile() override { SetPresenter(nullptr); }
    TChosenFile(const TChosenFile &) = delete;
    TChosenFile &operator=(const TChosenFile &) = delete;

    TModalResult ShowMessage(const QString &, TMsgDlgType, TMsgDlgButtons, const QString &) override
    {
        ++messages;
        return TModalResult::mrOk;
    }
    bool AskFileName(TFileDialogKind, const QString &, const QString &, const QString &,
                     QString &fileName) override
    {
        fileName = mFileName;
        return true;
    }

    int messages = 0;

private:
    QString mFileName;
};

// Save File of a calculated full plate, the written file checked and renamed into place.
void BM_MainWindow_SaveFullPlateRun(benchmark::State &state)
{
    TfrmMainCombinedRd window;
    ShowLaidOut(window);
    window.OpenRunFile(ExampleRun);
    window.calcCurvePbClick();
    QTemporaryDir folder;
    const QString fileName = folder.filePath(QStringLiteral("run.vdf"));
    TChosenFile chosen(fileName);
    for (auto _ : state) {
        // A new file each time: an existing one would first ask whether to replace it.
        state.PauseTiming();
        QFile::remove(fileName);
        state.ResumeTiming();
        window.saveAsPbClick();
    }
    if (chosen.messages != 0 || !window.DataSaved())
        state.SkipWithError("the run was not saved");
}
BENCHMARK(BM_MainWindow_SaveFullPlateRun)->Unit(benchmark::kMillisecond);

// Save File recording the run in an archive against the plain save of the same run by its
// session, in one loop. Each save records a new run (another run number), so the insert is
// timed, not the check that finds a run unchanged. Arg 0: the window's later saves, its
// archive open; arg 1: a window's first save, which opens the archive. Counters: the plain
// and the recorded save, the time recording adds (bound: 20 ms) and their ratio.
void BM_MainWindow_SaveRecordedAgainstPlain(benchmark::State &state)
{
    using Clock = std::chrono::steady_clock;
    const bool firstSave = state.range(0) != 0;
    QTemporaryDir folder;
    WriteRegistryText(QStringLiteral("Archive/Location"), folder.filePath(QStringLiteral("archive.sqlite")));
    TRunSession plain;
    if (!plain.LoadRun(ExampleRun).Ok() || !plain.Calculate().Ok()) {
        state.SkipWithError("the example run cannot be calculated");
        return;
    }
    const auto calculatedWindow = [] {
        auto window = std::make_unique<TfrmMainCombinedRd>();
        ShowLaidOut(*window);
        window->OpenRunFile(ExampleRun);
        window->calcCurvePbClick();
        return window;
    };
    std::unique_ptr<TfrmMainCombinedRd> window = calculatedWindow();
    TChosenFile chosen(folder.filePath(QStringLiteral("run.vdf")));
    if (!firstSave)
        window->saveAsPbClick();
    Clock::duration plainTime{}, recordedTime{};
    int run = 1;
    for (auto _ : state) {
        state.PauseTiming();
        if (firstSave)
            window = calculatedWindow();
        window->GetRunNoEd()->setText(QString::number(++run));
        // A new file each time: the question about replacing one would be answered No.
        QFile::remove(folder.filePath(QStringLiteral("run.vdf")));
        state.ResumeTiming();
        const Clock::time_point start = Clock::now();
        benchmark::DoNotOptimize(plain.SaveRun(folder.filePath(QStringLiteral("plain.vdf"))));
        const Clock::time_point plainEnd = Clock::now();
        window->saveAsPbClick();
        recordedTime += Clock::now() - plainEnd;
        plainTime += plainEnd - start;
    }
    WriteRegistryText(QStringLiteral("Archive/Location"), QString());
    if (chosen.messages != 0 || !window->DataSaved()) {
        state.SkipWithError("the run was not saved and recorded");
        return;
    }
    const double iterations = static_cast<double>(state.iterations());
    const double plainMs = std::chrono::duration<double, std::milli>(plainTime).count() / iterations;
    const double recordedMs = std::chrono::duration<double, std::milli>(recordedTime).count() / iterations;
    state.counters["plainMs"] = plainMs;
    state.counters["recordedMs"] = recordedMs;
    state.counters["addedMs"] = recordedMs - plainMs;
    state.counters["ratio"] = recordedMs / plainMs;
}
// Saves wait on the disk, not the processor: a fixed count, timed on the clock.
BENCHMARK(BM_MainWindow_SaveRecordedAgainstPlain)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

// Load Format onto a full plate: the layout read, the wells of every block read, the grid
// repainted.
void BM_MainWindow_LoadFormatOntoFullPlate(benchmark::State &state)
{
    TfrmMainCombinedRd window;
    ShowLaidOut(window);
    window.OpenRunFile(ExampleRun);
    TChosenFile chosen(ExampleLayout);
    for (auto _ : state) {
        window.btnLoadFormatClick();
        window.repaint();
    }
    if (chosen.messages != 0 || window.RunData().RawData().GetCount() == 0)
        state.SkipWithError("the format was not loaded");
}
BENCHMARK(BM_MainWindow_LoadFormatOntoFullPlate)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // The first start-up, cold, once: what the operator waits for when the program starts.
    return RunWindowBenchmarks(argc, argv, [](const QString &) {
        QElapsedTimer timer;
        timer.start();
        {
            TPaintedStartup startup;
            startup.Run();
            std::printf("Cold start-up to a painted main window: %lld ms\n",
                        static_cast<long long>(timer.elapsed()));
        }
    });
}
