#pragma once

#include "CalcCommand.h"
#include "CliOptions.h"

#include "archive/ArchiveRecord.h"

// `archive add|list|trends|verify`: what goes to standard output and standard error, and
// the status; no output files.
TCalcOutcome RunArchiveCommand(const TCliOptions &options);

// Records a run `calc --record` calculated. Empty when recorded (or unchanged), else the reason.
QString RecordCalculatedRun(const TCliOptions &options, const TArchiveRecord &record);
