#include "ArchiveCommand.h"

#include "archive/Archive.h"
#include "archive/TrendSelection.h"
#include "archive/Trends.h"
#include "core/Exceptions.h"
#include "core/MarnovelUtils.h"
#include "files/RunSession.h"
#include "plate/MarnovelTypes.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

enum TVerifyStatus
{
    EXIT_NOT_ALL_UNCHANGED = 1
};

QString Quoted(const QString &fileName)
{
    return u'"' + fileName + u'"';
}

// --archive, else the one the window records into.
QString ArchiveLocation(const TCliOptions &options)
{
    return options.archiveLocation.isEmpty() ? ConfiguredArchiveLocation() : options.archiveLocation;
}

QString OpenArchive(const TCliOptions &options, TArchive &archive)
{
    return archive.Open(ArchiveLocation(options));
}

// The archive keeps the curve type as the program does; the tool names its points.
int CurvePoints(int curveType)
{
    return StandardCountOfCurveType(static_cast<TCurveType>(curveType));
}

QString CurveName(int curveType)
{
    return u"%1-point"_s.arg(CurvePoints(curveType));
}

QString Validity(bool valid)
{
    return valid ? u"valid"_s : u"invalid"_s;
}

QString RecordedAtText(const QDateTime &recordedAt)
{
    return recordedAt.toUTC().toString(Qt::ISODate);
}

// Calculates one file and records it; the line for it and its status.
std::pair<QString, int> AddFile(TArchive &archive, const QString &fileName)
{
    TRunSession session;
    TRunStepResult step = session.LoadRun(fileName);
    if (step.Ok())
        step = session.Calculate();
    if (!step.Ok())
        return {Quoted(fileName) + u": not recorded: "_s + step.Reason,
                step.Status == TRunStepResult::NotCalculable ? EXIT_NOT_CALCULABLE : EXIT_USAGE_OR_LOAD};
    QByteArray bytes;
    try {
        bytes = ReadWholeFile(fileName);
    } catch (const MarnovelException &error) {
        return {Quoted(fileName) + u": not recorded: "_s +
                    (error.Reason().isEmpty() ? error.Message() : error.Reason()),
                EXIT_USAGE_OR_LOAD};
    }
    const TArchiveResult result = archive.Record(TArchiveRecord::FromRun(session, bytes));
    switch (result.Status) {
    case TArchiveResult::Recorded:
        return {Quoted(fileName) + u": recorded"_s, EXIT_CALCULATED};
    case TArchiveResult::Replaced:
        return {Quoted(fileName) + u": replaced"_s, EXIT_CALCULATED};
    case TArchiveResult::Unchanged:
        return {Quoted(fileName) + u": unchanged"_s, EXIT_CALCULATED};
    case TArchiveResult::Refused:
        break;
    }
    return {Quoted(fileName) + u": not recorded: "_s + result.Reason, EXIT_USAGE_OR_LOAD};
}

void Add(const TCliOptions &options, TArchive &archive, TCalcOutcome &outcome)
{
    for (const QString &fileName : options.archiveFiles) {
        const auto [line, status] = AddFile(archive, fileName);
        outcome.standardOutput += (line + u'\n').toUtf8();
        outcome.status = std::max(outcome.status, status);
    }
}

void List(const TCliOptions &options, const TArchive &archive, TCalcOutcome &outcome)
{
    QString error;
    const QList<TArchiveRecord> records = archive.Records(options.history, &error, TArchiveContent::Summary);
    if (!error.isEmpty()) {
        outcome.status = EXIT_USAGE_OR_LOAD;
        outcome.errorMessage = error;
        return;
    }
    // The records of a run come in the order they were recorded: the last is the current one.
    QHash<QString, qsizetype> current;
    const auto key = [](const TArchiveRecord &record) -> QString {
        return record.RunDate.toString(Qt::ISODate) + u'\x1f' + record.KitBatch + u'\x1f' + record.RunNumber;
    };
    for (qsizetype i = 0; i < records.size(); ++i)
        current.insert(key(records.at(i)), i);
    QJsonArray array;
    QList<QStringList> rows;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const TArchiveRecord &record = records.at(i);
        const bool replaced = current.value(key(record)) != i;
        if (options.json) {
            array.append(QJsonObject{{u"runDate"_s, record.RunDate.toString(Qt::ISODate)},
                                     {u"runNumber"_s, record.RunNumber},
                                     {u"kitBatch"_s, record.KitBatch},
                                     {u"operator"_s, record.Operator},
                                     {u"curveType"_s, CurvePoints(record.CurveType)},
                                     {u"valid"_s, record.Valid},
                                     {u"recordedAt"_s, RecordedAtText(record.RecordedAt)},
                                     {u"replaced"_s, replaced}});
            continue;
        }
        QStringList row{record.RunDate.toString(Qt::ISODate),
                        record.RunNumber,
                        record.KitBatch,
                        record.Operator,
                        CurveName(record.CurveType),
                        Validity(record.Valid),
                        RecordedAtText(record.RecordedAt)};
        if (replaced)
            row << u"replaced"_s;
        rows << row;
    }
    if (options.json)
        outcome.standardOutput = QJsonDocument(array).toJson(QJsonDocument::Indented);
    else
        outcome.standardOutput = TableText(rows).toUtf8();
}

QString TrendText(int curveType, const std::vector<TTrendEvaluation> &evaluations)
{
    QString text;
    for (const TTrendEvaluation &evaluation : evaluations) {
        if (!text.isEmpty())
            text += u'\n';
        const TTrendBaseline &baseline = evaluation.Baseline;
        text += u"%1 (%2 curve, %3 runs)\n"_s.arg(TrendMetricName(evaluation.Metric), CurveName(curveType))
                    .arg(evaluation.Points.size());
        if (baseline.Problem == TBaselineProblem::None)
            text += u"baseline: %1 runs, mean %2, sd %3\n"_s.arg(baseline.Runs)
                        .arg(baseline.Mean, 0, 'g', 6)
                        .arg(baseline.Sd, 0, 'g', 6);
        else
            text += u"baseline: "_s + BaselineProblemText(baseline.Problem, baseline.Runs) + u'\n';
        QList<QStringList> rows{{u"run date"_s, u"run"_s, u"value"_s, u"z"_s, u"rules"_s}};
        for (std::size_t i = 0; i < evaluation.Points.size(); ++i) {
            const TTrendPoint &point = evaluation.Points.at(i);
            const TTrendPointResult &result = evaluation.Results.at(i);
            QStringList rules;
            for (const TWestgardRule rule : result.Rules.List())
                rules << WestgardRuleName(rule);
            rows << QStringList{point.RunDate.toString(Qt::ISODate), point.RunNumber,
                                QString::number(point.Value, 'g', 6),
                                result.Z ? QString::number(*result.Z, 'f', 2) : u"-"_s, rules.join(u", "_s)};
        }
        text += TableText(rows);
    }
    return text;
}

void Trends(const TCliOptions &options, const TArchive &archive, TCalcOutcome &outcome)
{
    TArchiveFilter filter;
    filter.KitBatch = options.kitBatchNumber;
    filter.Operator = options.operatorName;
    filter.From = options.from.value_or(QDate());
    filter.To = options.to.value_or(QDate());
    filter.ValidOnly = options.validOnly;
    QString error;
    QList<TArchiveMetrics> runs = archive.Metrics(filter, &error);
    if (!error.isEmpty()) {
        outcome.status = EXIT_USAGE_OR_LOAD;
        outcome.errorMessage = error;
        return;
    }
    if (runs.isEmpty()) {
        outcome.errorMessage = u"no recorded run matches the selection in %1"_s.arg(archive.LocationText());
        return;
    }
    // One curve type per trend: the newest recorded run's.
    const int curveType = *NewestCurveType(runs);
    runs.removeIf([curveType](const TArchiveMetrics &run) { return run.CurveType != curveType; });

    std::vector<TTrendEvaluation> evaluations;
    for (const TTrendMetric metric : AllTrendMetrics) {
        if (options.metric && *options.metric != metric)
            continue;
        evaluations.push_back(EvaluateTrend(metric, TrendPoints(runs, metric), options.baselineRuns));
    }
    outcome.standardOutput = options.json ? TrendsJsonText(CurvePoints(curveType), evaluations)
                                          : TrendText(curveType, evaluations).toUtf8();
}

void Verify(const TCliOptions &options, const TArchive &archive, TCalcOutcome &outcome)
{
    for (const QString &fileName : options.archiveFiles) {
        QString error;
        const TArchiveVerification verification = archive.VerifyFile(fileName, &error);
        QString line;
        int status = EXIT_CALCULATED;
        if (!error.isEmpty()) {
            line = error.startsWith(fileName) ? error : Quoted(fileName) + u": "_s + error;
            status = EXIT_USAGE_OR_LOAD;
        } else if (verification == TArchiveVerification::Unchanged) {
            line = Quoted(fileName) + u": recorded and unchanged"_s;
        } else {
            line = Quoted(fileName) + (verification == TArchiveVerification::Changed
                                           ? u": changed since it was recorded"_s
                                           : u": not recorded"_s);
            status = EXIT_NOT_ALL_UNCHANGED;
        }
        outcome.standardOutput += (line + u'\n').toUtf8();
        outcome.status = std::max(outcome.status, status);
    }
}

} // namespace

TCalcOutcome RunArchiveCommand(const TCliOptions &options)
{
    TCalcOutcome outcome;
    TArchive archive;
    if (const QString reason = OpenArchive(options, archive); !reason.isEmpty()) {
        outcome.status = EXIT_USAGE_OR_LOAD;
        outcome.errorMessage = reason;
        return outcome;
    }
    switch (options.archiveAction) {
    case TCliOptions::TArchiveAction::Add:
        Add(options, archive, outcome);
        break;
    case TCliOptions::TArchiveAction::List:
        List(options, archive, outcome);
        break;
    case TCliOptions::TArchiveAction::Trends:
        Trends(options, archive, outcome);
        break;
    case TCliOptions::TArchiveAction::Verify:
        Verify(options, archive, outcome);
        break;
    }
    return outcome;
}

QString RecordCalculatedRun(const TCliOptions &options, const TArchiveRecord &record)
{
    TArchive archive;
    if (QString reason = OpenArchive(options, archive); !reason.isEmpty())
        return u"the run was not recorded: "_s + reason;
    const TArchiveResult result = archive.Record(record);
    return result.Ok() ? QString() : u"the run was not recorded: "_s + result.Reason;
}
