// The print window's preview of a full plate: every paint draws the whole report again (no
// drawing is cached), so one paint is what scrolling and choosing a report type cost.

#include "plate/CellBlock.h"
#include "ui/main/MainFormCombinedRd.h"
#include "ui/print/PrintScreen.h"

#include <QApplication>
#include <QCheckBox>

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

namespace {

const QString ExampleRun = ExampleRunFile();

// The example plate: 80 subjects (two results tables), two 8-point standard series; with
// range(0) the page of the curve and plate pictures too.
void BM_PrintWindow_RedrawFullPlatePreview(benchmark::State &state)
{
    TfrmMainCombinedRd window;
    ShowLaidOut(window);
    window.OpenRunFile(ExampleRun);
    window.calcCurvePbClick();
    TScreenPrintFormCombinedTorvinTandem print(&window);
    print.PreparePreview(window.ReportSource(), TScreenPrintFormCombinedTorvinTandem::DefaultGapMm,
                         OWCellBlockBase::GetIdentifierCount() > 0);
    print.ChooseReport(state.range(0) != 0, TScreenPrintFormCombinedTorvinTandem::TReportKind::Grouped, 1);
    print.show();
    QCoreApplication::processEvents();
    QWidget *preview = print.findChild<QWidget *>(QStringLiteral("PaintBox1"));
    for (auto _ : state)
        preview->repaint();
    if (!window.LastResult())
        state.SkipWithError("the run was not calculated");
}
BENCHMARK(BM_PrintWindow_RedrawFullPlatePreview)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunWindowBenchmarks(argc, argv);
}
