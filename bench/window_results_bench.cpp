// Calculate of a full plate through the main window, offscreen: what the operator waits for
// after clicking Calculate, every results view painted; and painting the results again, which
// only draws what the calculation left.

#include "ui/main/MainFormCombinedRd.h"

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

namespace {

const QString ExampleRun = ExampleRunFile();

// The Standards Results tab on the screen (grid, curve details, verdict, chart) and the
// subject results, a tab the window does not show.
void PaintEveryResultsView(TfrmMainCombinedRd &window, QPixmap &canvas)
{
    window.repaint();
    window.findChild<QTableView *>(QStringLiteral("resultGd"))->render(&canvas);
}

// The example plate: 80 subjects, two 8-point standard series. Each Calculate also takes the
// plate and chart pictures for the reports.
void BM_MainWindow_CalculateFullPlate(benchmark::State &state)
{
    TfrmMainCombinedRd window;
    ShowLaidOut(window);
    window.OpenRunFile(ExampleRun);
    QPixmap canvas(window.size());
    auto *calculate = window.findChild<QPushButton *>(QStringLiteral("calcCurvePb"));
    for (auto _ : state) {
        calculate->setEnabled(true); // a calculation disables it
        calculate->click();
        PaintEveryResultsView(window, canvas);
    }
    if (!window.LastResult())
        state.SkipWithError("the run was not calculated");
}
BENCHMARK(BM_MainWindow_CalculateFullPlate)->Unit(benchmark::kMillisecond);

void BM_MainWindow_RepaintResults(benchmark::State &state)
{
    TfrmMainCombinedRd window;
    ShowLaidOut(window);
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
    return RunWindowBenchmarks(argc, argv);
}
