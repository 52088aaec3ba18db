// The desktop program's start-up to a painted main window, and loading a full-plate run
// through the window, offscreen. Cold start (the catalogue and version read the first
// time) is the first repetition's first iteration; the singletons stay loaded afterwards.

#include "Startup.h"
#include "core/Messages.h"
#include "ui/main/MainFormCombinedRd.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTableWidget>

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

// Paints the results as the operator sees them: the Standards Results tab on the screen (grid,
// curve details, verdict, chart) and the subject results, a tab the window does not show.
void PaintEveryResultsView(TfrmMainCombinedRd &window, QPixmap &canvas)
{
    window.repaint();
    auto *subjects = window.findChild<QTableWidget *>(QStringLiteral("resultGd"));
    subjects->render(&canvas);
}

// Calculate on the full example plate (80 subjects, two 8-point standard series) with the
// plate and chart pictures for the reports, then every results view painted.
void BM_MainWindow_CalculateFullPlate(benchmark::State &state)
{
    TfrmMainCombinedRd window;
    window.show();
    QCoreApplication::processEvents();
    window.OpenRunFile(ExampleRun);
    QPixmap canvas(window.size());
    for (auto _ : state) {
        window.calcCurvePbClick();
        PaintEveryResultsView(window, canvas);
    }
}
BENCHMARK(BM_MainWindow_CalculateFullPlate)->Unit(benchmark::kMillisecond);

// Painting the results again only draws what the calculation left.
void BM_MainWindow_RepaintResults(benchmark::State &state)
{
    TfrmMainCombinedRd window;
    window.show();
    QCoreApplication::processEvents();
    window.OpenRunFile(ExampleRun);
    window.calcCurvePbClick();
    QPixmap canvas(window.size());
    for (auto _ : state)
        PaintEveryResultsView(window, canvas);
}
BENCHMARK(BM_MainWindow_RepaintResults)->Unit(benchmark::kMillisecond);

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
