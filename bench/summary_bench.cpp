// `velomyra-cli summary` over a lab's worth of runs: 100 and 1,000 variants of the example run
// (other dates, run numbers and one OD) summarised to CSV and to a workbook by the built tool,
// as a process.
// Budget: 1,000 files in under 5 s, and the tool's peak memory (its own maxrss) no higher
// for 1,000 files than for 100. The floor is the same files loaded and calculated in this
// process, without any output.

#include "BenchSupport.h"

#include "core/MarnovelUtils.h"
#include "files/RunSession.h"

#include <QDate>
#include <QElapsedTimer>
#include <QStringEncoder>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <vector>

extern char **environ;

namespace {

QString gFolder;

// n run files, dated out of order so that the summary has to sort them.
QStringList RunFiles(int n)
{
    static QTemporaryDir folder(gFolder + QStringLiteral("/runs"));
    static QStringList files;
    if (files.size() >= n)
        return files.mid(0, n);
    const QString text =
        DecodeText(ReadWholeFile(QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf")));
    QStringEncoder encoder(QStringConverter::Utf16LE);
    for (int i = static_cast<int>(files.size()); i < n; ++i) {
        const QDate date = QDate(2020, 1, 1).addDays((i * 7919) % 1500);
        QString variant = text;
        variant.replace(QStringLiteral("RunDateI18n=2026-12-09"),
                        QStringLiteral("RunDateI18n=") + date.toString(Qt::ISODate));
        variant.replace(QStringLiteral("RunNumber=1\r"), QStringLiteral("RunNumber=%1\r").arg(i % 7 + 1));
        variant.replace(QStringLiteral("|0.171\r"), QStringLiteral("|0.%1\r").arg(100 + i % 800));
        const QString path = folder.filePath(QStringLiteral("run-%1.vdf").arg(i, 4, 10, QLatin1Char('0')));
        WriteFileAtomically(path, QByteArray("\xFF\xFE", 2) + QByteArray(encoder(variant)));
        files << path;
    }
    return files;
}

struct TChildRun
{
    bool ok = false;
    long maxRssKiB = 0;
};

// The tool as its own process, its output on /dev/null; wait4 gives this child's own peak memory.
TChildRun RunTool(const QStringList &arguments)
{
    std::vector<QByteArray> encoded{QByteArray(VELOMYRA_CLI_PATH)};
    for (const QString &argument : arguments)
        encoded.push_back(argument.toUtf8());
    std::vector<char *> argv;
    for (QByteArray &argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv.front(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    TChildRun run;
    if (spawned != 0)
        return run;
    int status = 0;
    struct rusage usage = {};
    if (wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.maxRssKiB = usage.ru_maxrss;
    return run;
}

double FloorMs(const QStringList &files)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString &file : files) {
        TRunSession session;
        if (!session.LoadRun(file).Ok() || !session.Calculate().Ok())
            return -1;
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// `option` --csv or --xlsx, into `output` in the benchmark's folder.
void SummaryOfManyRuns(benchmark::State &state, const QString &option, const QString &output)
{
    const QStringList files = RunFiles(static_cast<int>(state.range(0)));
    const QString target = gFolder + u'/' + output;
    long maxRss = 0;
    QElapsedTimer timer;
    double totalMs = 0;
    for (auto _ : state) {
        timer.start();
        const TChildRun run = RunTool(QStringList{QStringLiteral("summary")} << files << option << target);
        totalMs += static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (!run.ok) {
            state.SkipWithError("the summary failed");
            return;
        }
        maxRss = std::max(maxRss, run.maxRssKiB);
    }
    const double floorMs = FloorMs(files);
    const double ms = totalMs / static_cast<double>(state.iterations());
    state.counters["files"] = static_cast<double>(files.size());
    state.counters["peakRssKiB"] = static_cast<double>(maxRss);
    state.counters["floorMs"] = floorMs;
    state.counters["ratioToFloor"] = floorMs > 0 ? ms / floorMs : 0;
    state.counters["withinBudget"] = files.size() < 1000 || ms < 5000 ? 1 : 0;
}

void BM_Summary_CsvOfManyRuns(benchmark::State &state)
{
    SummaryOfManyRuns(state, QStringLiteral("--csv"), QStringLiteral("summary.csv"));
}
BENCHMARK(BM_Summary_CsvOfManyRuns)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

void BM_Summary_WorkbookOfManyRuns(benchmark::State &state)
{
    SummaryOfManyRuns(state, QStringLiteral("--xlsx"), QStringLiteral("summary.xlsx"));
}
BENCHMARK(BM_Summary_WorkbookOfManyRuns)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return RunBenchmarksInTemporaryHome(argc, argv, [](const QString &folder) { gFolder = folder; });
}
