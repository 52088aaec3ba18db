#include "files/RunJson.h"

#include "core/Tool.h"
#include "files/RunSession.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "run/CurveDiagnostics.h"
#include "run/MarnovelRdData.h"
#include "run/ResultTexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString TableCell(const TStringGridData &table, int col, int row)
{
    if (col < 0 || col >= table.size() || row < 0 || row >= table.at(col).size())
        return QString();
    return table.at(col).at(row);
}

QJsonValue Number(std::optional<double> value)
{
    return value && std::isfinite(*value) ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

// The number a text shows, read with the regional settings it was written with: exactly
// the value a lab user reads. Null for a text that is no number ("N/A").
QJsonValue ShownNumber(const QString &text)
{
    double value = 0.0;
    return TryTextToFloat(text, value) ? Number(value) : QJsonValue(QJsonValue::Null);
}

QString WellName(const OWCellBlockElm &well)
{
    return QString(RowHeadingLetter(well.mCell.y())) + QString::number(well.mCell.x());
}

// A well with its OD; null when the well holds no number.
QJsonObject Well(const OWCellBlockBase &block, int index)
{
    const bool numeric = index < block.ValueCount() && block.getValidityValue(index) == ValidValue;
    return {{u"well"_s, WellName(block.block()[static_cast<std::size_t>(index)])},
            {u"od"_s, numeric ? Number(block.getValue(index)) : QJsonValue(QJsonValue::Null)}};
}

QJsonArray Rules(const std::vector<TQcCheck> &checks)
{
    QJsonArray rules;
    for (const TQcCheck &check : checks) {
        const TQcRule &rule = check.Rule;
        rules.append(QJsonObject{
            {u"rule"_s, QString(rule.Name)},
            {u"threshold"_s, rule.Threshold},
            {u"bound"_s, rule.Bound == TQcBound::AtMost ? u"atMost"_s : u"atLeast"_s},
            {u"decimals"_s, rule.Decimals ? QJsonValue(*rule.Decimals) : QJsonValue(QJsonValue::Null)},
            {u"measured"_s, Number(check.Measured)},
            {u"pass"_s, check.Passed},
            {u"advisory"_s, rule.Advisory},
        });
    }
    return rules;
}

QJsonArray Standards(const TMarnovelRdData &data, const TRunCalculationResult &result)
{
    QJsonArray standards;
    const TStringGridData table = ResultTexts::StandardsTable(result.Qc.Standards);
    const int rows = table.isEmpty() ? 0 : static_cast<int>(table.first().size());
    for (int row = 1; row < rows; ++row) {
        const int index = row - 1;
        QJsonArray wells;
        for (const auto &block : data.StdBlocks().Blocks())
            if (index < block->Count())
                wells.append(Well(*block, index));
        const std::size_t qcIndex = static_cast<std::size_t>(index);
        const TStandardQc *qc =
            qcIndex < result.Qc.Standards.size() ? &result.Qc.Standards.at(qcIndex) : nullptr;
        standards.append(QJsonObject{
            {u"name"_s, TableCell(table, 0, row)},
            {u"conc"_s, TableCell(table, 1, row)},
            {u"mean"_s, TableCell(table, 2, row)},
            {u"cv"_s, TableCell(table, 3, row)},
            {u"qc"_s, TableCell(table, 4, row)},
            {u"pass"_s, qc && qc->Passed},
            {u"concValue"_s, ShownNumber(TableCell(table, 1, row))},
            {u"meanValue"_s, ShownNumber(TableCell(table, 2, row))},
            {u"cvValue"_s, ShownNumber(TableCell(table, 3, row))},
            {u"meanExact"_s, qc ? Number(qc->Mean) : QJsonValue(QJsonValue::Null)},
            {u"cvExact"_s, qc ? Number(qc->Cv) : QJsonValue(QJsonValue::Null)},
            {u"wells"_s, wells},
            {u"qcRules"_s, qc ? Rules(qc->Checks) : QJsonArray()},
        });
    }
    return standards;
}

QJsonValue Interval(const std::optional<TPredictionInterval> &interval)
{
    if (!interval || !std::isfinite(interval->Low) || !std::isfinite(interval->High))
        return QJsonValue(QJsonValue::Null);
    return QJsonArray{interval->Low, interval->High};
}

QJsonArray Results(const TMarnovelRdData &data, const TRunCalculationResult &result,
                   const TCurveDiagnostics &diagnostics)
{
    QJsonArray results;
    for (std::size_t k = 0; k < result.Subjects.size(); ++k) {
        const TRunSubjectResult &subject = result.Subjects.at(k);
        const OWCellBlockBase &block = *data.RawData().getCellInteger(static_cast<int>(k));
        QJsonArray wells;
        for (int i = 0; i < block.Count(); ++i)
            wells.append(Well(block, i));
        const bool notSpecified = block.ValueCount() > 0 && block.getValidityValue(0) == ValueNotSpecified;
        const TSubjectDiagnostics &subjectDiagnostics = diagnostics.Subjects.at(k);
        results.append(QJsonObject{
            {u"id"_s, subject.Id},
            {u"result"_s, StripMarkup(subject.ResultText)},
            {u"marks"_s, QJsonArray::fromStringList(subject.Marks)},
            {u"value"_s, Number(subject.Value)},
            {u"valueExact"_s, subject.Value ? Number(data.UnroundedResult(static_cast<int>(k)))
                                            : QJsonValue(QJsonValue::Null)},
            {u"wells"_s, wells},
            {u"aboveRange"_s, block.getAnnotationExists(AT_EXCEEDMAXVALUE)},
            {u"nonNumericalOd"_s, block.getAnnotationExists(AT_INVALIDVALUE)},
            {u"notSpecified"_s, notSpecified},
            {u"predictionInterval95"_s, Interval(subjectDiagnostics.Interval95)},
            {u"belowLowestStandard"_s, subjectDiagnostics.BelowLowestStandard},
            {u"aboveHighestStandard"_s, subjectDiagnostics.AboveHighestStandard},
        });
    }
    return results;
}

QJsonObject Diagnostics(const TCurveDiagnostics &diagnostics)
{
    QJsonArray standards;
    for (const TStandardDiagnostics &standard : diagnostics.Standards) {
        standards.append(QJsonObject{
            {u"name"_s, standard.Name},
            {u"nominal"_s, Number(standard.Nominal)},
            {u"backCalculated"_s, Number(standard.BackCalculated)},
            {u"recoveryPercent"_s, Number(standard.RecoveryPercent)},
            {u"residual"_s, Number(standard.Residual)},
        });
    }
    return {
        {u"fitStandardError"_s, Number(diagnostics.FitStandardError)},
        {u"standards"_s, standards},
        {u"standardsInOrder"_s, diagnostics.StandardsInOrder()},
        {u"outOfOrder"_s, QJsonArray::fromStringList(diagnostics.OutOfOrder)},
    };
}

} // namespace

QJsonArray RunResultsJson(const TRunSession &session)
{
    const TRunCalculationResult &result = *session.LastResult();
    return Results(session.Data(), result, DiagnoseCurve(result));
}

QJsonObject RunJsonObject(const TRunSession &session)
{
    const TMarnovelRdData &data = session.Data();
    const TRunCalculationResult &result = *session.LastResult();
    const TRunDetails &details = session.Details();
    const TCurveDiagnostics diagnostics = DiagnoseCurve(result);

    const QJsonObject runDetails{
        {u"runDate"_s, details.RunDate.toString(Qt::ISODate)},
        {u"runNumber"_s, details.RunNumber},
        {u"kitBatchNumber"_s, details.KitBatchNumber},
        {u"operator"_s, details.OperatorName},
    };
    const QJsonObject curve{
        {u"intercept"_s, ResultTexts::CurveValue(result.Intercept)},
        {u"slope"_s, ResultTexts::CurveValue(result.Slope)},
        {u"correlation"_s, ResultTexts::Correlation(result.Correlation)},
        {u"correlationPass"_s, result.CorrelationPass},
        {u"interceptValue"_s, ShownNumber(ResultTexts::CurveValue(result.Intercept))},
        {u"slopeValue"_s, ShownNumber(ResultTexts::CurveValue(result.Slope))},
        {u"correlationValue"_s, ShownNumber(ResultTexts::Correlation(result.Correlation))},
        {u"interceptExact"_s, Number(result.Intercept)},
        {u"slopeExact"_s, Number(result.Slope)},
        {u"correlationExact"_s, Number(result.Correlation)},
    };
    return {
        {u"schemaVersion"_s, RunJsonSchemaVersion},
        {u"runDetails"_s, runDetails},
        {u"curveType"_s, StandardCountOfCurveType(data.GetCurveType())},
        {u"standards"_s, Standards(data, result)},
        {u"curve"_s, curve},
        {u"valid"_s, result.Valid},
        {u"verdict"_s, ResultTexts::Verdict(result)},
        {u"plateWashNote"_s, result.PlateWashNote},
        {u"qcRules"_s, Rules(result.Qc.Run)},
        {u"results"_s, Results(data, result, diagnostics)},
        {u"diagnostics"_s, Diagnostics(diagnostics)},
        {u"footnotes"_s, QJsonArray::fromStringList(ResultTexts::FootnoteLines(result))},
    };
}

QByteArray RunJsonText(const TRunSession &session)
{
    return QJsonDocument(RunJsonObject(session)).toJson(QJsonDocument::Indented);
}
