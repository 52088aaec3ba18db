// The report of the example run (80 subjects): the print window's preview draws it on every
// paint, and Save As PDF of the individual reports writes one PDF per subject.

#include "reports/Printing.h"
#include "reports/ReportPdf.h"
#include "support/ExampleReport.h"

#include <QImage>
#include <QTemporaryDir>

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

namespace {

// The grouped report with page 3 on a preview-sized surface.
void BM_Report_PreviewFullPlate(benchmark::State &state)
{
    TExampleReport report;
    if (!report.Load()) {
        state.SkipWithError("the example run was not calculated");
        return;
    }
    QImage surface(900, 4200, QImage::Format_RGB32);
    for (auto _ : state) {
        surface.fill(Qt::white);
        benchmark::DoNotOptimize(
            DrawRunReport(surface, *report.source, true, nullptr, true, 1, report.Subjects()));
    }
}
BENCHMARK(BM_Report_PreviewFullPlate)->Unit(benchmark::kMillisecond);

// All Subjects (Individual) saved as PDF: one file per subject.
void BM_Report_IndividualPdfsFullPlate(benchmark::State &state)
{
    TExampleReport report;
    QTemporaryDir folder;
    if (!report.Load() || !folder.isValid()) {
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
    return RunWindowBenchmarks(argc, argv);
}
