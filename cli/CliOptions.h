#pragma once

#include "archive/Trends.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The command line of velomyra-cli, checked but not yet acted on.
struct TCliOptions
{
    enum class TAction
    {
        Help,
        Version,
        Calc,
        Archive,
        Summary
    };
    TAction action = TAction::Help;

    // archive add|list|trends|verify
    enum class TArchiveAction
    {
        Add,
        List,
        Trends,
        Verify
    };
    TArchiveAction archiveAction = TArchiveAction::List;
    QString archiveLocation;  // --archive; empty: the settings store's, else the default
    QStringList archiveFiles; // add, verify
    bool history = false;     // list --history
    bool record = false;      // calc --record
    // trends; the kit batch and operator filters are kitBatchNumber and operatorName
    std::optional<TTrendMetric> metric;
    std::optional<QDate> from;
    std::optional<QDate> to;
    bool validOnly = false;
    int baselineRuns = DefaultBaselineRuns;

    // --language CODE of calc and summary: the catalogue it names ("LOCALE_GERMAN"); empty,
    // the stored language as the desktop program last had it, else English.
    QString language;

    // summary RUN.vdf... [--json | --csv FILE | --xlsx FILE]
    QStringList summaryFiles;
    QString csvFile; // "-": standard output

    // calc RUN.vdf
    QString runFile;
    // calc --plate PLATE.txt --format LAYOUT.vff ...
    QString plateFile;
    QString formatFile;
    std::optional<QDate> runDate;
    QString runNumber;
    QString kitBatchNumber;
    QString operatorName;
    std::optional<int> curvePoints;       // 4 or 8
    std::optional<QList<double>> stdConc; // S1 ... the standard before the zero standard

    // Output options; "-" means standard output.
    QString resultsExportFile;
    QString dataExportFile;
    QString saveFile;
    QString workbookFile; // --xlsx, calc and summary; never standard output
    bool json = false;

    bool PlateMode() const { return !plateFile.isEmpty(); }
    // True when some output other than the summary goes to standard output.
    bool StdoutTaken() const { return json || resultsExportFile == u"-" || dataExportFile == u"-"; }
};

// Parses the arguments after the program name. On a usage error returns nothing and sets
// error to one line that says what is wrong.
std::optional<TCliOptions> ParseCliArguments(const QStringList &arguments, QString &error);

// Checks a --std-conc list against the curve (n standards: n - 1 values, each a number
// written with "." and not negative). Returns the message of the first problem, or nothing.
std::optional<QString> CheckStdConc(const QList<double> &values, int curvePoints);

QString CliUsageText();
