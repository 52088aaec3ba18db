// The desktop program's start-up to a painted main window, and loading a full-plate run
// through the window, offscreen. Cold start (the catalogue and version read the first
// time) is the first repetition's first iteration; the singletons stay loaded afterwards.

#include "Startup.h"
#include "core/Messages.h"
#include "ui/main/MainFormCombinedRd.h"

#include <QApplication>
#include <QElapsedTimer>

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

const QString ExampleRun = QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf");

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
    window.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        window.OpenRunFile(ExampleRun);
        window.repaint();
    }
}
BENCHMARK(BM_MainWindow_LoadFullPlateRun)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // Messages would wait for a click; the console presenter answers at once and shows
    // any that come.
    SetPresenter(nullptr);
    // The first start-up, cold, once: what the operator waits for when the program starts.
    return RunBenchmarksInTemporaryHome(argc, argv, [](const QString &) {
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
