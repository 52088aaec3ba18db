// The run archive with 10,000 runs: the trend select and the list of current records.
#include "BenchSupport.h"

#include "archive/Archive.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int RunCount = 10000;
QString gFolder;

// One archive filled once for every benchmark of the process (a PostgreSQL one when
// VELOMYRA_BENCH_ARCHIVE names it); left open until the process ends.
TArchive &FilledArchive()
{
    static TArchive &archive = *new TArchive;
    if (archive.IsOpen())
        return archive;
    const QString location = qEnvironmentVariable("VELOMYRA_BENCH_ARCHIVE", gFolder + u"/bench.sqlite"_s);
    if (const QString error = archive.Open(location); !error.isEmpty())
        qFatal("%s", qPrintable(error));
    QList<TArchiveRecord> records;
    for (int i = 0; i < RunCount; ++i) {
        TArchiveRecord record;
        record.RunDate = QDate(2020, 1, 1).addDays(i / 4);
        record.KitBatch = u"K%1"_s.arg(i % 20);
        record.RunNumber = QString::number(i);
        record.Operator = u"operator %1"_s.arg(i % 7);
        record.CurveType = i % 2;
        record.Valid = i % 10 != 0;
        record.Intercept = 0.01 * (i % 100);
        record.Slope = -0.5 + 0.001 * (i % 50);
        record.Correlation = 0.97 + 0.0001 * (i % 300);
        record.Standards = {
            {u"S1"_s, 100.0, {{u"A1"_s, 1.4}, {u"A2"_s, 1.5}}, 1.45, 3.1, true, {}},
            {u"S0"_s, 0.0, {{u"H1"_s, 0.04}, {u"H2"_s, 0.05}}, 0.045, std::nullopt, true, {}}};
        record.Sha256 = Sha256Hex(QByteArray::number(i));
        records.append(record);
    }
    const QList<TArchiveResult> results = archive.Record(records);
    if (results.isEmpty() || !results.first().Ok())
        qFatal("%s", qPrintable(results.value(0).Reason));
    return archive;
}

void BM_ArchiveTrend(benchmark::State &state)
{
    TArchive &archive = FilledArchive();
    TArchiveFilter filter;
    filter.ValidOnly = true;
    for (auto _ : state)
        benchmark::DoNotOptimize(archive.Metrics(filter));
}
BENCHMARK(BM_ArchiveTrend)->Unit(benchmark::kMillisecond);

void BM_ArchiveTrendOneKitBatch(benchmark::State &state)
{
    TArchive &archive = FilledArchive();
    TArchiveFilter filter;
    filter.KitBatch = u"K3"_s;
    for (auto _ : state)
        benchmark::DoNotOptimize(archive.Metrics(filter));
}
BENCHMARK(BM_ArchiveTrendOneKitBatch)->Unit(benchmark::kMillisecond);

void BM_ArchiveList(benchmark::State &state)
{
    TArchive &archive = FilledArchive();
    for (auto _ : state)
        benchmark::DoNotOptimize(archive.Records());
}
BENCHMARK(BM_ArchiveList)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunBenchmarksInTemporaryHome(argc, argv, [](const QString &folder) { gFolder = folder; });
}
