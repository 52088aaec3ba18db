// The QC Trends tab drawing 1,000 runs: the archive read, the trend evaluated, the chart and
// the list built and the tab painted, offscreen. The floor is the same reading and evaluation
// without any widget; the counter "ratio" of the first benchmark is its time over the floor's.

#include "archive/Archive.h"
#include "archive/TrendSelection.h"
#include "archive/Trends.h"
#include "ui/main/pages/QcTrendsModel.h"
#include "ui/main/pages/QcTrendsPage.h"

#include <QApplication>

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int RunCount = 1000;
QString gLocation;

// A slow drift with scatter, so that the later runs complete rules of every kind.
void FillArchive(const QString &location)
{
    TArchive archive;
    if (const QString error = archive.Open(location); !error.isEmpty())
        qFatal("%s", qPrintable(error));
    QList<TArchiveRecord> records;
    for (int i = 0; i < RunCount; ++i) {
        TArchiveRecord record;
        record.RunDate = QDate(2022, 1, 3).addDays(i);
        record.KitBatch = u"K%1"_s.arg(i / 100);
        record.RunNumber = QString::number(i + 1);
        record.Operator = u"operator %1"_s.arg(i % 5);
        record.CurveType = 1;
        record.Valid = true;
        record.Intercept = -0.9;
        record.Slope = 0.87;
        record.Correlation = 0.999;
        const double top = 2.0 + 0.0004 * i + 0.03 * std::sin(i * 1.3);
        record.Standards = {{u"S1"_s, 100.0, {{u"A1"_s, top}}, top, 1.0, true, {}},
                            {u"S8"_s, 0.0, {{u"H1"_s, 0.05}}, 0.05, 1.0, true, {}}};
        record.Sha256 = Sha256Hex(QByteArray::number(i));
        records.append(record);
    }
    const QList<TArchiveResult> results = archive.Record(records);
    if (results.isEmpty() || !results.first().Ok())
        qFatal("%s", qPrintable(results.value(0).Reason));
}

// What the tab reads and evaluates, without widgets.
double FloorSeconds()
{
    const auto start = std::chrono::steady_clock::now();
    TArchive archive;
    archive.Open(gLocation);
    const QList<TArchiveMetrics> all = archive.Metrics();
    TArchiveFilter filter;
    filter.CurveType = NewestCurveType(all);
    const TTrendEvaluation trend =
        EvaluateTrend(TTrendMetric::TopStandardMeanOd,
                      TrendPoints(archive.Metrics(filter), TTrendMetric::TopStandardMeanOd));
    benchmark::DoNotOptimize(trend.Results.data());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_TrendsTab_ReadEvaluateDrawPaint1000Runs(benchmark::State &state)
{
    TQcTrendsPage page;
    page.SetArchiveLocation(gLocation);
    page.resize(1180, 700);
    page.show();
    QCoreApplication::processEvents();
    if (page.Model()->rowCount() != RunCount)
        state.SkipWithError("the tab does not show every run");
    double seconds = 0.0;
    double floorSeconds = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        page.ArchiveChanged(); // shown: read at once
        // The chart lays its items out from the event loop, then everything is painted.
        QCoreApplication::processEvents();
        page.repaint();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        floorSeconds += FloorSeconds();
        state.ResumeTiming();
    }
    state.counters["ratio"] = floorSeconds > 0.0 ? seconds / floorSeconds : 0.0;
}
BENCHMARK(BM_TrendsTab_ReadEvaluateDrawPaint1000Runs)->Unit(benchmark::kMillisecond);

void BM_Floor_ReadAndEvaluate1000Runs(benchmark::State &state)
{
    for (auto _ : state)
        FloorSeconds();
}
BENCHMARK(BM_Floor_ReadAndEvaluate1000Runs)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunWindowBenchmarks(argc, argv, [](const QString &home) {
        gLocation = home + u"/trends.sqlite"_s;
        FillArchive(gLocation);
    });
}
