// The run archive with 10,000 runs: the trend select and the list of current records, and the
// tool's `archive trends --json` and `archive list --json` on it as the operator runs them
// (the whole process); `archive add` of 1,000 run files.
#include "BenchSupport.h"

#include "archive/Archive.h"
#include "core/MarnovelUtils.h"
#include "files/RunSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringDecoder>
#include <QStringEncoder>

using namespace Qt::StringLiterals;

namespace {

constexpr int RunCount = 10000;
constexpr int AddedFiles = 1000;
QString gFolder;

QString ExampleRun()
{
    return QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf");
}

QString Location()
{
    return qEnvironmentVariable("VELOMYRA_BENCH_ARCHIVE", gFolder + u"/bench.sqlite"_s);
}

// One archive filled once for every benchmark of the process (a PostgreSQL one when
// VELOMYRA_BENCH_ARCHIVE names it); left open until the process ends. Every record is the
// example run's, details and all, under its own run and with its own figures.
TArchive &FilledArchive()
{
    static TArchive &archive = *new TArchive;
    if (archive.IsOpen())
        return archive;
    if (const QString error = archive.Open(Location()); !error.isEmpty())
        qFatal("%s", qPrintable(error));
    TRunSession session;
    if (!session.LoadRun(ExampleRun()).Ok() || !session.Calculate().Ok())
        qFatal("the example run cannot be calculated");
    const TArchiveRecord example = TArchiveRecord::FromRun(session, ReadWholeFile(ExampleRun()));
    QList<TArchiveRecord> records;
    for (int i = 0; i < RunCount; ++i) {
        TArchiveRecord record = example;
        record.RunDate = QDate(2020, 1, 1).addDays(i / 4);
        record.KitBatch = u"K%1"_s.arg(i % 20);
        record.RunNumber = QString::number(i);
        record.Operator = u"operator %1"_s.arg(i % 7);
        record.CurveType = i % 2;
        record.Valid = i % 10 != 0;
        record.Intercept = 0.01 * (i % 100);
        record.Slope = -0.5 + 0.001 * (i % 50);
        record.Correlation = 0.97 + 0.0001 * (i % 300);
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

// velomyra-cli as a process; false (and the benchmark skipped) unless it exits 0.
bool RunTool(benchmark::State &state, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess tool;
    tool.start(QStringLiteral(VELOMYRA_CLI_PATH), arguments);
    const bool finished = tool.waitForFinished(600000);
    const QByteArray out = tool.readAllStandardOutput();
    if (!finished || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        const QByteArray why = "velomyra-cli " + arguments.mid(0, 2).join(u' ').toUtf8() + " exited with " +
                               QByteArray::number(tool.exitCode()) + ": " +
                               tool.readAllStandardError().left(300) + out.right(300);
        state.SkipWithError(why.constData());
        return false;
    }
    if (output)
        *output = out;
    return true;
}

// The whole command, its bound in the name: 200 ms for trends, 300 ms for the list.
void BM_Tool_TrendsJson(benchmark::State &state)
{
    FilledArchive();
    for (auto _ : state) {
        QByteArray json;
        if (!RunTool(state, {u"archive"_s, u"trends"_s, u"--archive"_s, Location(), u"--json"_s}, &json))
            return;
        benchmark::DoNotOptimize(json);
    }
}
BENCHMARK(BM_Tool_TrendsJson)->Unit(benchmark::kMillisecond);

void BM_Tool_ListJson(benchmark::State &state)
{
    FilledArchive();
    for (auto _ : state) {
        QByteArray json;
        if (!RunTool(state, {u"archive"_s, u"list"_s, u"--archive"_s, Location(), u"--json"_s}, &json))
            return;
        benchmark::DoNotOptimize(json);
    }
}
BENCHMARK(BM_Tool_ListJson)->Unit(benchmark::kMillisecond);

// 1,000 run files: the example under run numbers and dates of their own, written as the
// program writes run files.
QStringList RunFiles()
{
    static QStringList files;
    if (!files.isEmpty())
        return files;
    const QString example = QStringDecoder(QStringDecoder::Utf16LE)(ReadWholeFile(ExampleRun()));
    for (int i = 0; i < AddedFiles; ++i) {
        QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom); // a mark in each
        QString text = example;
        text.replace(u"RunNumber=1\r\n"_s, u"RunNumber=%1\r\n"_s.arg(i + 1));
        text.replace(u"RunDateI18n=2026-12-09"_s,
                     u"RunDateI18n="_s + QDate(2024, 1, 1).addDays(i / 3).toString(Qt::ISODate));
        const QString name = gFolder + u"/runs/run%1.vdf"_s.arg(i + 1, 4, 10, QLatin1Char('0'));
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly) || file.write(encoder.encode(text)) < 0)
            qFatal("cannot write %s", qPrintable(name));
        files << name;
    }
    return files;
}

// `archive add` of 1,000 files into a new archive: each one loaded, calculated and recorded.
// Bound: 10 s.
void BM_Tool_Add1000Files(benchmark::State &state)
{
    const QStringList files = RunFiles();
    int round = 0;
    for (auto _ : state) {
        const QString archive = gFolder + u"/added%1.sqlite"_s.arg(++round);
        QByteArray lines;
        if (!RunTool(state, QStringList{u"archive"_s, u"add"_s, u"--archive"_s, archive} + files, &lines))
            return;
        if (lines.count("recorded\n") != AddedFiles) {
            state.SkipWithError("not every file was recorded");
            return;
        }
    }
}
BENCHMARK(BM_Tool_Add1000Files)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    return RunBenchmarksInTemporaryHome(argc, argv, [](const QString &folder) {
        gFolder = folder;
        QDir(folder).mkpath(u"runs"_s);
    });
}
