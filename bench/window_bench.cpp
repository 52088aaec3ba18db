// The desktop program's start-up to a painted main window, and loading a full-plate run
// through the window, offscreen. Cold start (the catalogue and version read the first
// time) is the first repetition's first iteration; the singletons stay loaded afterwards.

#include "Startup.h"
#include "core/Messages.h"
#include "plate/CellColl.h"
#include "run/MarnovelData.h"
#include "ui/main/MainFormCombinedRd.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cstdio>

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
    TChosenFile chosen(folder.filePath(QStringLiteral("run.vdf")));
    for (auto _ : state)
        window.saveAsPbClick();
    if (chosen.messages != 0 || !window.DataSaved())
        state.SkipWithError("the run was not saved");
}
BENCHMARK(BM_MainWindow_SaveFullPlateRun)->Unit(benchmark::kMillisecond);

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
