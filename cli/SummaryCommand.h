#pragma once

#include "CalcCommand.h"
#include "CliOptions.h"

#include <QByteArray>
#include <QString>

#include <functional>

// What the summary writes JSON rows as; cli/velomyra-cli-summary.schema.json describes it.
inline constexpr int SummaryJsonSchemaVersion = 1;

// `summary`: every run data file calculated as calc does, one row per sample per run, the
// runs in run-date order (then run number, then file name). A first pass reads each file's
// run details only to order them; the second calculates and writes one run at a time, so
// that the memory taken does not grow with the number of files. Rows for standard output go
// to writeOut as each run is done (false: it cannot be written, the command ends); a --csv
// file is left in the outcome's pendingFiles, complete but not yet renamed. A file that
// cannot be read or calculated goes to writeError and the others go on; the status is then
// the highest that calc gives for them.
TCalcOutcome RunSummaryCommand(const TCliOptions &options,
                               const std::function<bool(const QByteArray &)> &writeOut,
                               const std::function<void(const QString &)> &writeError);

// One CSV field as RFC 4180 writes it. A text that a spreadsheet would take for a formula
// (it starts with =, +, -, @, a tab or a carriage return) is led by an apostrophe; a number,
// negative ones too, stays a number.
QString CsvField(const QString &text);
