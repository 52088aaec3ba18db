#pragma once

#include "CliOptions.h"

#include <QByteArray>

// Exit statuses of velomyra-cli.
enum TCliExitStatus
{
    EXIT_CALCULATED = 0,
    EXIT_USAGE_OR_LOAD = 2,
    EXIT_NOT_CALCULABLE = 3
};

// The outcome of `calc`: what goes to standard output and standard error, and the status.
// Files are written by RunCalcCommand itself, and only once everything else succeeded.
struct TCalcOutcome
{
    int status = EXIT_CALCULATED;
    QByteArray standardOutput;
    QString errorMessage; // one line (or a few) for standard error; empty on success
};

TCalcOutcome RunCalcCommand(const TCliOptions &options);
