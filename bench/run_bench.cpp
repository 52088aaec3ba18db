// Whole-run calculation of a full plate and parsing of a pasted plate, each reported as the
// median (with mean and spread) of repeated runs: both should stay under 10 µs. Absolute
// times differ from one machine to the next; the calculation's ratio to the plain libm floor
// (its log and exp calls in a bare loop, measured in the same binary) should not. The curve
// diagnostics of the same plate are reported with their ratio to the calculation they follow.

#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "plate/CellBlockRect.h"
#include "plate/CellColl.h"
#include "plate/MarnovelPanels.h"
#include "run/CurveDiagnostics.h"
#include "run/MarnovelRdData.h"
#include "run/RunCalculation.h"

#include <QMimeData>
#include <QTemporaryDir>

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

// A plate as a reader gives it: two 8-point standard series in columns 1 and 2, samples
// in columns 3-12.
QString FullPlateText()
{
    const double standards[8] = {2.400, 1.350, 0.720, 0.380, 0.200, 0.110, 0.070, 0.045};
    QStringList lines;
    for (int r = 0; r < 8; ++r) {
        QStringList cells;
        cells.append(FormatFixed(standards[r], 3));
        cells.append(FormatFixed(standards[r] * 0.97, 3));
        for (int c = 2; c < 12; ++c)
            cells.append(FormatFixed(0.05 + 0.03 * (r * 10 + c), 3));
        lines.append(cells.join(QLatin1Char('\t')));
    }
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

void LayOut(TMarnovelRdData &data)
{
    TCBBlockPanelList &standards = TStdPanel::GetBlockList();
    for (int col = 1; col <= 2; ++col) {
        auto block = std::make_unique<OWCellBlockRectCombined>();
        for (int i = 0; i < standards.Count(); ++i)
            block->addWithID(QPoint(col, 1 + i), standards.GetItem(i));
        block->setId(QStringLiteral("Std ") + QString::number(col), true);
        data.StdBlocks().add(std::move(block));
    }
    TBaseSelectBlockPanel *sample = TCBBlockPanelList::GetListForCriteriaType(CT_RESEARCH_SAMPLE).GetItem(0);
    for (int col = 3; col <= 12; ++col) {
        for (int row = 1; row <= 8; ++row) {
            auto block = std::make_unique<OWCellBlockRectCombined>();
            block->addWithID(QPoint(col, row), sample);
            block->setId(QStringLiteral("ID ") + QString::number(data.RawData().GetCount() + 1), false);
            data.RawData().add(std::move(block));
        }
    }
}

// As many log and exp calls as the full-plate calculation makes, on values like its own.
double LibmFloor()
{
    double sum = 0.0;
    for (int i = 0; i < 139; ++i)
        sum += std::log(0.05 + 0.013 * i);
    for (int i = 0; i < 118; ++i)
        sum += std::exp(-3.0 + 0.02 * i);
    return sum;
}

// Seconds one LibmFloor() takes, the best of several batches.
double LibmFloorSeconds()
{
    constexpr int Batch = 2000;
    double best = 1.0;
    for (int round = 0; round < 15; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < Batch; ++i)
            benchmark::DoNotOptimize(LibmFloor());
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count() / Batch);
    }
    return best;
}

void BM_LibmFloor(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(LibmFloor());
}
BENCHMARK(BM_LibmFloor)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The plate pasted and laid out, ready to calculate.
void LoadFullPlate(TMarnovelRdData &data)
{
    QMimeData mime;
    mime.setText(FullPlateText());
    data.loadDataObject(&mime);
    LayOut(data);
}

// Seconds one whole-run calculation of the plate takes, the best of several batches.
double CalculationSeconds(TMarnovelRdData &data)
{
    constexpr int Batch = 500;
    double best = 1.0;
    for (int round = 0; round < 9; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < Batch; ++i)
            benchmark::DoNotOptimize(CalculateRun(data));
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count() / Batch);
    }
    return best;
}

void BM_CalculateRun_FullPlate(benchmark::State &state)
{
    TMarnovelRdData data;
    LoadFullPlate(data);
    const double floor = LibmFloorSeconds();
    for (auto _ : state) {
        TRunCalculationResult result = CalculateRun(data);
        benchmark::DoNotOptimize(result);
    }
    // Time per calculation over the floor's time: a rate of the floor's total, inverted.
    state.counters["ratio_to_libm_floor"] =
        benchmark::Counter(floor * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CalculateRun_FullPlate)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_CurveDiagnostics_FullPlate(benchmark::State &state)
{
    TMarnovelRdData data;
    LoadFullPlate(data);
    const TRunCalculationResult result = CalculateRun(data);
    const double calculation = CalculationSeconds(data);
    for (auto _ : state) {
        TCurveDiagnostics diagnostics = DiagnoseCurve(result);
        benchmark::DoNotOptimize(diagnostics);
    }
    state.counters["ratio_to_calculation"] =
        benchmark::Counter(calculation * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CurveDiagnostics_FullPlate)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_ParsePastedPlate(benchmark::State &state)
{
    TMarnovelRdData data;
    QMimeData mime;
    mime.setText(FullPlateText());
    for (auto _ : state) {
        bool good = data.loadDataObject(&mime);
        benchmark::DoNotOptimize(good);
    }
}
BENCHMARK(BM_ParsePastedPlate)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    return RunBenchmarksInTemporaryHome(argc, argv);
}
