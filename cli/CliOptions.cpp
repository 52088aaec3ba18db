#include "CliOptions.h"

#include "core/ToolConsole.h"
#include "plate/MarnovelTypes.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

bool HasControlCharacter(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

// An option's value: not empty, and no line break or other control character.
bool ValueAllowed(const QString &option, const QString &value, QString &error)
{
    if (value.isEmpty()) {
        error = u"option %1 needs a value"_s.arg(option);
        return false;
    }
    if (HasControlCharacter(value)) {
        error =
            u"option %1: the value must not contain line breaks or other control characters"_s.arg(option);
        return false;
    }
    return true;
}

// "1,0.5,0.25": numbers in the C notation, never the regional one, because "," separates.
bool ParseNumberList(const QString &text, QList<double> &values, QString &error)
{
    values.clear();
    const QStringList parts = text.split(u',');
    for (const QString &part : parts) {
        bool ok = false;
        const double value = part.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(value)) {
            error =
                u"--std-conc: \"%1\" is not a number; only numerical non-negative values are allowed as standard concentration values"_s
                    .arg(part);
            return false;
        }
        if (!FitsSinglePrecision(value)) {
            error =
                u"--std-conc: \"%1\" is out of range; a concentration other than 0 lies between %2 and %3"_s
                    .arg(part)
                    .arg(double(std::numeric_limits<float>::min()), 0, 'g', 2)
                    .arg(double(std::numeric_limits<float>::max()), 0, 'g', 2);
            return false;
        }
        values.append(value);
    }
    return true;
}

std::optional<QDate> ParseIsoDate(const QString &text)
{
    static const QRegularExpression pattern(u"^(\\d{4})-(\\d{2})-(\\d{2})$"_s);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

// archive add|list|trends|verify [OPTIONS] [RUN.vdf...]
// The value of the option at `i` ("--name=value" or "--name value", then i stands on the
// value), with the option's name left in `option`; false with the reason for an unknown option
// (`unknownText`, %1 the option), a missing value or an option given twice.
bool TakeOptionValue(const QStringList &arguments, int &i, const QStringList &valueOptions, QStringList &seen,
                     QString &option, QString &value, QString &error, const QString &unknownText)
{
    bool hasValue = false;
    const qsizetype equals = option.indexOf(u'=');
    if (equals > 0) {
        value = option.mid(equals + 1);
        option.truncate(equals);
        hasValue = true;
    }
    if (!valueOptions.contains(option)) {
        error = unknownText.arg(option);
        return false;
    }
    if (!hasValue) {
        if (i + 1 >= arguments.size()) {
            error = u"option %1 needs a value"_s.arg(option);
            return false;
        }
        value = arguments.at(++i);
        // "--operator --json": the value is missing, not "--json".
        if (value.startsWith(u"--")) {
            error = u"option %1 needs a value, not the option \"%2\""_s.arg(option, value);
            return false;
        }
    }
    if (seen.contains(option)) {
        error = u"option %1 given twice"_s.arg(option);
        return false;
    }
    seen.append(option);
    return true;
}

std::optional<TCliOptions> ParseArchiveArguments(const QStringList &arguments, QString &error)
{
    using TArchiveAction = TCliOptions::TArchiveAction;
    TCliOptions options;
    options.action = TCliOptions::TAction::Archive;
    const QString command = arguments.value(1);
    if (command == u"add")
        options.archiveAction = TArchiveAction::Add;
    else if (command == u"list")
        options.archiveAction = TArchiveAction::List;
    else if (command == u"trends")
        options.archiveAction = TArchiveAction::Trends;
    else if (command == u"verify")
        options.archiveAction = TArchiveAction::Verify;
    else if (command == u"--help" || command == u"-h") {
        options.action = TCliOptions::TAction::Help;
        return options;
    } else {
        error = command.isEmpty() ? u"archive needs a command: add, list, trends or verify"_s
                                  : u"unknown archive command \"%1\""_s.arg(command);
        return std::nullopt;
    }
    const bool takesFiles =
        options.archiveAction == TArchiveAction::Add || options.archiveAction == TArchiveAction::Verify;
    QStringList flags;
    QStringList valueOptions{u"--archive"_s};
    if (options.archiveAction == TArchiveAction::List)
        flags = {u"--history"_s, u"--json"_s};
    if (options.archiveAction == TArchiveAction::Trends) {
        flags = {u"--valid-only"_s, u"--json"_s};
        valueOptions << u"--metric"_s << u"--kit-batch"_s << u"--operator"_s << u"--from"_s << u"--to"_s
                     << u"--baseline"_s;
    }

    QStringList seen;
    bool optionsEnded = false;
    for (int i = 2; i < arguments.size(); ++i) {
        QString argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith(u"--")) {
            if (!takesFiles) {
                error = u"archive %1 takes no file, not \"%2\""_s.arg(command, argument);
                return std::nullopt;
            }
            options.archiveFiles.append(argument);
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
            continue;
        }
        if (argument == u"--help" || argument == u"-h") {
            options.action = TCliOptions::TAction::Help;
            return options;
        }
        if (flags.contains(argument)) {
            options.history |= argument == u"--history";
            options.json |= argument == u"--json";
            options.validOnly |= argument == u"--valid-only";
            continue;
        }
        QString value;
        if (!TakeOptionValue(arguments, i, valueOptions, seen, argument, value, error,
                             u"unknown option %1 for archive "_s + command))
            return std::nullopt;
        if (!ValueAllowed(argument, value, error))
            return std::nullopt;
        if (argument == u"--archive")
            options.archiveLocation = value;
        else if (argument == u"--kit-batch")
            options.kitBatchNumber = value;
        else if (argument == u"--operator")
            options.operatorName = value;
        else if (argument == u"--metric") {
            options.metric = TrendMetricFromName(value);
            if (!options.metric) {
                QStringList names;
                for (const TTrendMetric metric : AllTrendMetrics)
                    names << TrendMetricName(metric);
                error = u"--metric must be one of %1, not \"%2\""_s.arg(names.join(u", "_s), value);
                return std::nullopt;
            }
        } else if (argument == u"--from" || argument == u"--to") {
            std::optional<QDate> &date = argument == u"--from" ? options.from : options.to;
            date = ParseIsoDate(value);
            if (!date) {
                error = u"%1 \"%2\" is not a date written YYYY-MM-DD"_s.arg(argument, value);
                return std::nullopt;
            }
        } else if (argument == u"--baseline") {
            bool ok = false;
            options.baselineRuns = value.toInt(&ok);
            if (!ok || options.baselineRuns < 2) {
                error = u"--baseline must be a whole number of runs, at least 2, not \"%1\""_s.arg(value);
                return std::nullopt;
            }
        }
    }
    if (takesFiles && options.archiveFiles.isEmpty()) {
        error = u"archive %1 needs at least one run data file"_s.arg(command);
        return std::nullopt;
    }
    if (options.from && options.to && *options.from > *options.to) {
        error = u"--from is later than --to"_s;
        return std::nullopt;
    }
    return options;
}

// summary RUN.vdf... [--json | --csv FILE | --xlsx FILE]
std::optional<TCliOptions> ParseSummaryArguments(const QStringList &arguments, QString &error)
{
    TCliOptions options;
    options.action = TCliOptions::TAction::Summary;
    QStringList seen;
    bool optionsEnded = false;
    for (int i = 1; i < arguments.size(); ++i) {
        QString argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith(u"--")) {
            options.summaryFiles.append(argument);
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
            continue;
        }
        if (argument == u"--help" || argument == u"-h") {
            options.action = TCliOptions::TAction::Help;
            return options;
        }
        if (argument == u"--json") {
            options.json = true;
            continue;
        }
        QString value;
        if (!TakeOptionValue(arguments, i, {u"--csv"_s, u"--xlsx"_s, u"--language"_s}, seen, argument, value,
                             error, u"unknown option %1 for summary"_s))
            return std::nullopt;
        if (!ValueAllowed(argument, value, error))
            return std::nullopt;
        if (argument == u"--language") {
            const std::optional<QString> catalogue = ToolLanguageCatalogue(value, error);
            if (!catalogue)
                return std::nullopt;
            options.language = *catalogue;
        } else
            (argument == u"--csv" ? options.csvFile : options.workbookFile) = value;
    }
    if (options.summaryFiles.isEmpty()) {
        error = u"summary needs at least one run data file"_s;
        return std::nullopt;
    }
    if (options.summaryFiles.contains(QString())) {
        error = u"a run data file name is empty"_s;
        return std::nullopt;
    }
    if (int(options.json) + int(!options.csvFile.isEmpty()) + int(!options.workbookFile.isEmpty()) > 1) {
        error = u"give only one of --json, --csv and --xlsx"_s;
        return std::nullopt;
    }
    if (options.workbookFile == u"-") {
        error = u"--xlsx needs a file name"_s;
        return std::nullopt;
    }
    return options;
}

} // namespace

QString CliUsageText()
{
    return uR"(Usage:
  velomyra-cli calc RUN.vdf [OUTPUT OPTIONS]
  velomyra-cli calc --plate PLATE.txt --format LAYOUT.vff [RUN OPTIONS] [OUTPUT OPTIONS]
  velomyra-cli archive add [--archive LOC] RUN.vdf...
  velomyra-cli archive list [--archive LOC] [--history] [--json]
  velomyra-cli archive trends [--archive LOC] [TREND OPTIONS] [--json]
  velomyra-cli archive verify [--archive LOC] RUN.vdf...
  velomyra-cli summary RUN.vdf... [--language CODE] [--json | --csv FILE | --xlsx FILE]
  velomyra-cli --help | --version

Calculates an ELISA run without the desktop program: either a stored run data file,
or the plate reader's tab-separated output laid out by a format file. An option's value
never starts with "--"; after "--" every argument is a file name.

Run options (with --plate only):
  --run-date YYYY-MM-DD   run date (default: today)
  --run-number TEXT       run number
  --kit-batch TEXT        kit batch number
  --operator TEXT         operator
  --curve 4|8             standard curve type (default: the format file's)
  --std-conc C1,C2,...    concentrations of the standards before the zero standard,
                          in IU/mL, "." as decimal point (3 values for a 4-point curve,
                          7 for an 8-point curve; the zero standard is always 0)

Output options:
  --results-export FILE   write the results export text ("-": standard output)
  --data-export FILE      write the raw data export text ("-": standard output)
  --save RUN.vdf          write a run data file of the run
  --xlsx FILE             write a spreadsheet workbook of the run: sheets Results,
                          Standards, Plate and Run, numbers as numbers
  --json                  print the results as one JSON object instead of the summary
                          (described by cli/velomyra-cli.schema.json)
  --record                record the calculated run in the archive after the output
  --archive LOC           the archive for --record
  --language CODE         the language of every text the outputs show (the summary, the
                          exports, the JSON's texts, the workbook's headings and texts):
                          en English, de German, fr French, es Spanish, it Italian, el Greek,
                          pt Portuguese, pl Polish (default: the language the desktop program
                          last had in the settings store, else English). The decimal
                          separator and the month names still follow the regional settings,
                          and the JSON's machine fields (names, numbers, flags) never change

The run archive keeps calculated runs; a run is identified by run date, kit batch and
run number, and recording it again keeps the earlier record as history.
  --archive LOC           an SQLite file or postgresql://user@host:port/dbname (default:
                          the settings store's Archive/Location, else archive.sqlite in
                          the data folder); passwords come from ~/.pgpass or PGPASSWORD
  archive add             calculate each file as calc does and record it
  archive list            one line per recorded run; --history adds the replaced records,
                          --json prints an array of objects
  archive trends          z of each run against the baseline and the Westgard rules it
                          completes, per metric; --json as cli/velomyra-cli-trends.schema.json
  archive verify          whether each file's bytes are the ones recorded for its run

Trend options (the runs of the newest recorded run's curve type):
  --metric NAME           topStandardMeanOd, zeroStandardMeanOd, slope, intercept or
                          correlation (default: all five)
  --kit-batch TEXT        only runs of this kit batch
  --operator TEXT         only runs of this operator
  --from YYYY-MM-DD       only runs on or after this date
  --to YYYY-MM-DD         only runs on or before this date
  --valid-only            only valid runs
  --baseline N            the first N runs are the baseline (default: 20)

A summary calculates each run data file as calc does and gives one row per sample per run,
the runs in run-date order (then run number, then file name): file, run date, run number,
kit batch, operator, run valid, subject ID, wells, ODs, concentration (unrounded IU/mL),
result as shown, flags (the result's marks, aboveRange, nonNumericalOd, notSpecified,
belowLowestStandard, aboveHighestStandard). A file that cannot be read or calculated is
named on standard error and the others go on.
  --json                  one JSON object with the rows (cli/velomyra-cli-summary.schema.json)
  --csv FILE              comma-separated values, UTF-8, with a header line ("-": standard
                          output)
  --xlsx FILE             a spreadsheet workbook with the rows on its sheet Summary: the
                          run date a date, ODs and concentration numbers, the ODs last
  --language CODE         the language of the results shown, as for calc; the column
                          names and flags stay as they are

PDF reports of a run are written by the desktop program without a window:
  velomyra report RUN.vdf (--pdf FILE [--subject ID] | --individual DIR) [--curve-page]
                 [--language CODE]
(see 'velomyra report --help').

Examples:
  velomyra-cli calc run.vdf --language de --results-export results.txt --xlsx run.xlsx
  velomyra-cli calc run.vdf --language el --json > run.json
  velomyra-cli summary runs/*.vdf --language fr --csv summary.csv

Exit status:
  0  calculated, whatever the verdict
  2  wrong usage; an input file that cannot be read or is not a run data, format or plate
     file; a run that cannot be calculated yet (no plate data, a layout wider than the
     data, too few standard or sample blocks); an output file or standard output that
     cannot be written; an output that names an input or another output
  3  data that cannot be calculated

  archive add: 0 when every file was recorded, replaced or unchanged; 2 when a file or
     the archive was refused; 3 when a file could not be calculated
  archive verify: 0 when every file is recorded and unchanged; 1 when one is changed or
     not recorded; 2 when a file cannot be read or the archive cannot be opened
  calc --record: 2 when the run could not be recorded (the outputs are written)
  summary: 2 when a file was refused, 3 when a file could not be calculated (the other
     files' rows are written)
)"_s;
}

std::optional<QString> CheckStdConc(const QList<double> &values, int curvePoints)
{
    const int wanted = curvePoints - 1;
    if (values.size() != wanted)
        return u"--std-conc needs %1 values for the %2-point curve (S1 to S%1; the zero standard is 0), not %3."_s
            .arg(wanted)
            .arg(curvePoints)
            .arg(values.size());
    for (const double value : values) {
        if (value < 0 || !std::isfinite(value))
            return u"--std-conc: only numerical non-negative values are allowed as standard concentration values."_s;
    }
    return std::nullopt;
}

std::optional<TCliOptions> ParseCliArguments(const QStringList &arguments, QString &error)
{
    TCliOptions options;
    if (arguments.isEmpty()) {
        error = u"no command given"_s;
        return std::nullopt;
    }
    const QString &first = arguments.first();
    if (first == u"--help" || first == u"-h" || first == u"help") {
        options.action = TCliOptions::TAction::Help;
        return options;
    }
    if (first == u"--version" || first == u"-V") {
        options.action = TCliOptions::TAction::Version;
        return options;
    }
    if (first == u"report") {
        // The report pages need the drawing libraries, which this tool never links.
        error =
            u"report is a command of the desktop program, which draws the report pages: velomyra report RUN.vdf (--pdf FILE [--subject ID] | --individual DIR) [--curve-page] [--language CODE]"_s;
        return std::nullopt;
    }
    if (first == u"archive")
        return ParseArchiveArguments(arguments, error);
    if (first == u"summary")
        return ParseSummaryArguments(arguments, error);
    if (first != u"calc") {
        error = u"unknown command \"%1\""_s.arg(first);
        return std::nullopt;
    }
    options.action = TCliOptions::TAction::Calc;

    static const QStringList valueOptions = {
        u"--plate"_s,    u"--format"_s,  u"--run-date"_s, u"--run-number"_s,     u"--kit-batch"_s,
        u"--operator"_s, u"--curve"_s,   u"--std-conc"_s, u"--results-export"_s, u"--data-export"_s,
        u"--save"_s,     u"--archive"_s, u"--xlsx"_s,     u"--language"_s,
    };
    QStringList seen;
    QStringList positional;
    bool optionsEnded = false;
    for (int i = 1; i < arguments.size(); ++i) {
        QString argument = arguments.at(i);
        // After "--" every argument is a file name, even one that starts with "-".
        if (optionsEnded) {
            positional.append(argument);
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
            continue;
        }
        if (argument == u"--help" || argument == u"-h") {
            options.action = TCliOptions::TAction::Help;
            return options;
        }
        if (argument == u"--json") {
            options.json = true;
            continue;
        }
        if (argument == u"--record") {
            options.record = true;
            continue;
        }
        if (!argument.startsWith(u"--")) {
            positional.append(argument);
            continue;
        }
        QString value;
        if (!TakeOptionValue(arguments, i, valueOptions, seen, argument, value, error,
                             u"unknown option %1"_s))
            return std::nullopt;
        if (argument == u"--plate")
            options.plateFile = value;
        else if (argument == u"--format")
            options.formatFile = value;
        else if (argument == u"--run-date") {
            options.runDate = ParseIsoDate(value);
            if (!options.runDate) {
                error = u"--run-date \"%1\" is not a date written YYYY-MM-DD"_s.arg(value);
                return std::nullopt;
            }
        } else if (argument == u"--run-number")
            options.runNumber = value;
        else if (argument == u"--kit-batch")
            options.kitBatchNumber = value;
        else if (argument == u"--operator")
            options.operatorName = value;
        else if (argument == u"--curve") {
            if (value != u"4" && value != u"8") {
                error = u"--curve must be 4 or 8, not \"%1\""_s.arg(value);
                return std::nullopt;
            }
            options.curvePoints = value.toInt();
        } else if (argument == u"--std-conc") {
            QList<double> values;
            if (!ParseNumberList(value, values, error))
                return std::nullopt;
            options.stdConc = values;
        } else if (argument == u"--results-export")
            options.resultsExportFile = value;
        else if (argument == u"--data-export")
            options.dataExportFile = value;
        else if (argument == u"--save")
            options.saveFile = value;
        else if (argument == u"--xlsx")
            options.workbookFile = value;
        else if (argument == u"--archive")
            options.archiveLocation = value;
        else if (argument == u"--language") {
            const std::optional<QString> catalogue = ToolLanguageCatalogue(value, error);
            if (!catalogue)
                return std::nullopt;
            options.language = *catalogue;
        }
        if (!ValueAllowed(argument, value, error))
            return std::nullopt;
    }

    const bool plateMode = !options.plateFile.isEmpty() || !options.formatFile.isEmpty();
    static const QStringList plateOnly = {u"--run-date"_s, u"--run-number"_s, u"--kit-batch"_s,
                                          u"--operator"_s, u"--curve"_s,      u"--std-conc"_s};
    if (plateMode) {
        if (!positional.isEmpty()) {
            error = u"give either a run data file or --plate and --format, not both"_s;
            return std::nullopt;
        }
        if (options.plateFile.isEmpty() || options.formatFile.isEmpty()) {
            error = u"--plate and --format go together"_s;
            return std::nullopt;
        }
    } else {
        if (positional.size() != 1) {
            error = positional.isEmpty() ? u"calc needs a run data file, or --plate and --format"_s
                                         : u"calc takes one run data file, not %1"_s.arg(positional.size());
            return std::nullopt;
        }
        options.runFile = positional.first();
        if (options.runFile.isEmpty()) {
            error = u"the run data file name is empty"_s;
            return std::nullopt;
        }
        for (const QString &option : plateOnly) {
            if (seen.contains(option)) {
                error = u"%1 applies only with --plate and --format"_s.arg(option);
                return std::nullopt;
            }
        }
    }
    const int toStdout =
        int(options.json) + int(options.resultsExportFile == u"-") + int(options.dataExportFile == u"-");
    if (toStdout > 1) {
        error = u"only one of --json, --results-export - and --data-export - can write to standard output"_s;
        return std::nullopt;
    }
    for (const auto &[option, file] :
         {std::pair{u"--save"_s, options.saveFile}, std::pair{u"--xlsx"_s, options.workbookFile}}) {
        if (file == u"-") {
            error = u"%1 needs a file name"_s.arg(option);
            return std::nullopt;
        }
    }
    if (seen.contains(u"--archive"_s) && !options.record) {
        error = u"--archive applies only with --record"_s;
        return std::nullopt;
    }
    if (options.stdConc && options.curvePoints) {
        if (const auto problem = CheckStdConc(*options.stdConc, *options.curvePoints)) {
            error = *problem;
            return std::nullopt;
        }
    }
    return options;
}
