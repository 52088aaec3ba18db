// Laying out the plate by hand, offscreen: a click on the plate grid with the manual format
// toolbar open, as the operator waits for it, the repaint of the grid and the toolbar included.

#include "plate/CellColl.h"
#include "run/MarnovelData.h"
#include "ui/format/ManualFormatToolbarForm.h"
#include "ui/main/MainFormCombinedRd.h"
#include "ui/main/grids/RawDataGrid.h"
#include "ui/main/pages/RawDataPage.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

namespace {

const QString ExamplePlate = QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/plate-8point.txt");

void SendMouse(QWidget *target, QEvent::Type type, QPoint pos)
{
    QMouseEvent event(type, pos, target->mapToGlobal(pos), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// One vertical block of standards (or one sample) placed on the pasted example plate by a
// click on A1; the block is taken away again outside the measured time.
void BM_ManualFormat_PlaceBlockByClick(benchmark::State &state)
{
    const bool samples = state.range(0) != 0;
    TfrmMainCombinedRd window;
    ShowLaidOut(window);
    QFile plate(ExamplePlate);
    if (!plate.open(QIODevice::ReadOnly)) {
        state.SkipWithError("the example plate cannot be read");
        return;
    }
    QGuiApplication::clipboard()->setText(QString::fromUtf8(plate.readAll()));
    window.findChild<QPushButton *>(QStringLiteral("pastePb"))->click();
    window.findChild<QPushButton *>(QStringLiteral("btnManualFormat"))->click();
    TfrmManualFormatToolbar *toolbar = window.RawData().ManualFormatToolbar();
    if (samples)
        toolbar->findChild<QRadioButton *>(QStringLiteral("rbSubjectSamples"))->click();
    QCoreApplication::processEvents();
    auto *grid = window.findChild<TRawDataGrid *>(QStringLiteral("rawDataGd"));
    const QPoint a1 = grid->visualRect(grid->model()->index(1, 1)).center();
    OWCells &blocks = samples ? window.RunData().RawData() : window.RunData().StdBlocks();

    for (auto _ : state) {
        SendMouse(grid->viewport(), QEvent::MouseButtonPress, a1);
        SendMouse(grid->viewport(), QEvent::MouseButtonRelease, a1);
        grid->viewport()->repaint();
        toolbar->repaint();
        state.PauseTiming();
        if (blocks.GetCount() != 1)
            state.SkipWithError("no block was placed");
        blocks.remove(blocks.getCellInteger(0));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ManualFormat_PlaceBlockByClick)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("samples")
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunWindowBenchmarks(argc, argv);
}
