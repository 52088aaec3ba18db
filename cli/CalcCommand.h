#pragma once

#include "CliOptions.h"

#include "archive/ArchiveRecord.h"
#include "core/MarnovelUtils.h"
#include "files/RunSession.h"

#include <QByteArray>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

// Exit statuses of velomyra-cli.
enum TCliExitStatus
{
    EXIT_CALCULATED = 0,
    EXIT_USAGE_OR_LOAD = 2,
    EXIT_NOT_CALCULABLE = 3
};

// The outcome of `calc`: what goes to standard output and standard error, the status, and
// the output files, complete in their temporary files but not yet renamed over their
// targets. Dropped, they leave the targets as they were.
struct TCalcOutcome
{
    int status = EXIT_CALCULATED;
    QByteArray standardOutput;
    QString errorMessage; // one line (or a few) for standard error; empty on success
    std::vector<std::unique_ptr<TSafeFileWriter>> pendingFiles;
    std::optional<TArchiveRecord> record; // calc --record: what to record once the outputs are written
};

// A refused step of a run: its status (EXIT_NOT_CALCULABLE for data that cannot be
// calculated) and its line for standard error, naming the file it is about.
int StepFailureStatus(const TRunStepResult &step);
QString StepFailureText(const TRunStepResult &step);

// Columns padded to their widest text, two blanks apart, one line per row.
QString TableText(const QList<QStringList> &rows);

TCalcOutcome RunCalcCommand(const TCliOptions &options);
// Renames the pending files over their targets, once standard output has been written.
// Empty when all were renamed; otherwise the lines for standard error: the file that
// failed and why, and which outputs had been written before it (the rest are left alone).
QStringList CommitCalcOutputs(TCalcOutcome &outcome, bool standardOutputWritten);
