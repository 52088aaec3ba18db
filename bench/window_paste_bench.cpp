// Pasting a full plate through the main window, offscreen: what the operator waits for after
// clicking Paste Raw Data, the repaint of every cell included.

#include "ui/main/MainFormCombinedRd.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QPushButton>

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

namespace {

const QString ExampleRun = ExampleRunFile();
const QString ExamplePlate = QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/plate-8point.txt");

// Onto the example run's layout, so that every block reads its wells: the button clicked with
// the plate reader's text on the clipboard, and the window repainted.
void BM_MainWindow_PasteFullPlate(benchmark::State &state)
{
    TfrmMainCombinedRd window;
    ShowLaidOut(window);
    window.OpenRunFile(ExampleRun);
    QFile plate(ExamplePlate);
    if (!plate.open(QIODevice::ReadOnly)) {
        state.SkipWithError("the example plate cannot be read");
        return;
    }
    QGuiApplication::clipboard()->setText(QString::fromUtf8(plate.readAll()));
    auto *paste = window.findChild<QPushButton *>(QStringLiteral("pastePb"));
    for (auto _ : state) {
        paste->click();
        window.repaint();
    }
}
BENCHMARK(BM_MainWindow_PasteFullPlate)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunWindowBenchmarks(argc, argv);
}
