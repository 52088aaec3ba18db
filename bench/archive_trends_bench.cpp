// Speed of the QC trends: the baseline, z and Westgard rules of 10,000 runs for each of the
// five metrics, beside a plain loop that computes only the same mean, deviation and z (the
// floor any evaluation pays). The counter "ratio" of the first is its time over the floor's.

#include "archive/Trends.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <vector>

namespace {

constexpr int Runs = 10000;

// A slowly drifting series with some scatter, different for each metric.
std::vector<TTrendPoint> Series(int metric)
{
    std::vector<TTrendPoint> points(static_cast<std::size_t>(Runs));
    for (int i = 0; i < Runs; ++i) {
        TTrendPoint &point = points[static_cast<std::size_t>(i)];
        point.RunDate = QDate(2020, 1, 1).addDays(i / 4);
        point.RunNumber = QString::number(i % 4 + 1);
        point.KitBatch = QStringLiteral("K-%1").arg(i / 500);
        point.Operator = QStringLiteral("Operator %1").arg(i % 3);
        point.Value = 2.0 + 0.1 * metric + 0.00001 * i + 0.02 * std::sin(i * 0.7 + metric);
    }
    return points;
}

std::vector<std::vector<TTrendPoint>> AllSeries()
{
    std::vector<std::vector<TTrendPoint>> series;
    for (std::size_t m = 0; m < AllTrendMetrics.size(); ++m)
        series.push_back(Series(static_cast<int>(m)));
    return series;
}

double FloorSeconds(const std::vector<std::vector<TTrendPoint>> &series, std::vector<double> &z)
{
    const auto start = std::chrono::steady_clock::now();
    for (const std::vector<TTrendPoint> &points : series) {
        double sum = 0.0;
        for (int i = 0; i < DefaultBaselineRuns; ++i)
            sum += points[static_cast<std::size_t>(i)].Value;
        const double mean = sum / DefaultBaselineRuns;
        double squares = 0.0;
        for (int i = 0; i < DefaultBaselineRuns; ++i)
            squares += (points[static_cast<std::size_t>(i)].Value - mean) *
                       (points[static_cast<std::size_t>(i)].Value - mean);
        const double sd = std::sqrt(squares / (DefaultBaselineRuns - 1));
        for (std::size_t i = 0; i < points.size(); ++i)
            z[i] = (points[i].Value - mean) / sd;
        benchmark::DoNotOptimize(z.data());
        benchmark::ClobberMemory();
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The evaluation as the tool will call it: the archive's points handed over (copied outside the
// timing, as the archive builds them), evaluated, kept.
void BM_EvaluateFiveMetrics(benchmark::State &state)
{
    const std::vector<std::vector<TTrendPoint>> series = AllSeries();
    double seconds = 0.0;
    double floorSeconds = 0.0;
    std::vector<double> z(static_cast<std::size_t>(Runs));
    std::vector<TTrendEvaluation> kept;
    kept.reserve(AllTrendMetrics.size());
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::vector<TTrendPoint>> copies = series;
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        for (std::size_t m = 0; m < AllTrendMetrics.size(); ++m)
            kept.push_back(EvaluateTrend(AllTrendMetrics[m], std::move(copies[m])));
        benchmark::DoNotOptimize(kept.data());
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        // Freeing the runs' texts is the caller's, not the evaluation's.
        kept.clear();
        copies.clear();
        floorSeconds += FloorSeconds(series, z);
        state.ResumeTiming();
    }
    state.counters["ratio"] = floorSeconds > 0.0 ? seconds / floorSeconds : 0.0;
}
BENCHMARK(BM_EvaluateFiveMetrics)->Unit(benchmark::kMicrosecond);

void BM_FloorMeanSdZ(benchmark::State &state)
{
    const std::vector<std::vector<TTrendPoint>> series = AllSeries();
    std::vector<double> z(static_cast<std::size_t>(Runs));
    for (auto _ : state)
        FloorSeconds(series, z);
}
BENCHMARK(BM_FloorMeanSdZ)->Unit(benchmark::kMicrosecond);

// The whole answer: evaluation and the JSON text.
void BM_TrendsJsonFiveMetrics(benchmark::State &state)
{
    const std::vector<std::vector<TTrendPoint>> series = AllSeries();
    for (auto _ : state) {
        std::vector<TTrendEvaluation> metrics;
        for (std::size_t m = 0; m < AllTrendMetrics.size(); ++m)
            metrics.push_back(EvaluateTrend(AllTrendMetrics[m], series[m]));
        benchmark::DoNotOptimize(TrendsJsonText(8, metrics));
    }
}
BENCHMARK(BM_TrendsJsonFiveMetrics)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunBenchmarksInTemporaryHome(argc, argv);
}
