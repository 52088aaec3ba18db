// The report of the example run (80 subjects): the print window's preview draws it on every
// paint, and Save As PDF of the individual reports writes one PDF per subject.

#include "core/Messages.h"
#include "files/RunSession.h"
#include "plate/CellColl.h"
#include "reports/Printing.h"
#include "reports/ReportPdf.h"
#include "reports/SessionReportSource.h"
#include "run/MarnovelRdData.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QString ExampleRun = QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf");

struct TExampleReport
{
    TExampleReport()
    {
        if (!session.LoadRun(ExampleRun).Ok() || !session.Calculate().Ok())
            return;
        chart = QImage(600, 400, QImage::Format_RGB32);
        chart.fill(Qt::white);
        plate = QImage(640, 300, QImage::Format_RGB32);
        plate.fill(Qt::white);
        source = std::make_unique<TSessionReportSource>(
            session, [this] { return chart; }, [this] { return plate; });
    }
    int Subjects() const { return session.Data().RawData().GetCount(); }

    TRunSession session;
    QImage chart;
    QImage plate;
    std::unique_ptr<TSessionReportSource> source;
};

// The grouped report with page 3 on a preview-sized surface.
void BM_Report_PreviewFullPlate(benchmark::State &state)
{
    TExampleReport report;
    if (!report.source) {
        state.SkipWithError("the example run was not calculated");
        return;
    }
    QImage surface(900, 4200, QImage::Format_RGB32);
    for (auto _ : state) {
        surface.fill(Qt::white);
        benchmark::DoNotOptimize(
            DrawRunReport(surface, *report.source, true, nullptr, true, report.Subjects(), 1));
    }
}
BENCHMARK(BM_Report_PreviewFullPlate)->Unit(benchmark::kMillisecond);

// All Subjects (Individual) saved as PDF: one file per subject.
void BM_Report_IndividualPdfsFullPlate(benchmark::State &state)
{
    TExampleReport report;
    QTemporaryDir folder;
    if (!report.source || !folder.isValid()) {
        state.SkipWithError("the example run was not calculated");
        return;
    }
    for (auto _ : state) {
        for (int subject = 1; subject <= report.Subjects(); ++subject) {
            const TRunStepResult result =
                WriteReportPdf(*report.source, false, false, subject, subject, 1280, 0,
                               folder.filePath(QStringLiteral("ID %1.pdf").arg(subject)));
            if (!result.Ok()) {
                state.SkipWithError("a PDF was not written");
                return;
            }
        }
    }
}
BENCHMARK(BM_Report_IndividualPdfsFullPlate)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    SetPresenter(nullptr);
    return RunBenchmarksInTemporaryHome(argc, argv);
}
