#include "ArchiveRecord.h"

#include "core/Tool.h"
#include "files/RunSession.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "run/MarnovelRdData.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

std::optional<double> Finite(std::optional<double> value)
{
    return value && std::isfinite(*value) ? value : std::nullopt;
}

QList<TArchiveWell> Wells(const OWCellBlockBase &block, int first, int step)
{
    QList<TArchiveWell> wells;
    for (int i = first; i < block.Count(); i += step) {
        const OWCellBlockElm &elm = block.block()[static_cast<std::size_t>(i)];
        const bool numeric = i < block.ValueCount() && block.getValidityValue(i) == ValidValue;
        wells.append({QString(RowHeadingLetter(elm.mCell.y())) + QString::number(elm.mCell.x()),
                      numeric ? Finite(block.getValue(i)) : std::nullopt});
    }
    return wells;
}

QList<TArchiveRuleOutcome> Outcomes(const std::vector<TQcCheck> &checks)
{
    QList<TArchiveRuleOutcome> outcomes;
    for (const TQcCheck &check : checks)
        outcomes.append({QString(check.Rule.Name), check.Rule.Threshold, Finite(check.Measured), check.Passed,
                         check.Rule.Advisory});
    return outcomes;
}

// JSON has no NaN: a missing value is null.
QJsonValue Json(std::optional<double> value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

std::optional<double> Optional(const QJsonValue &value)
{
    return value.isDouble() ? std::optional<double>(value.toDouble()) : std::nullopt;
}

QJsonArray Json(const QList<TArchiveWell> &wells)
{
    QJsonArray array;
    for (const TArchiveWell &well : wells)
        array.append(QJsonObject{{u"well"_s, well.Well}, {u"od"_s, Json(well.Od)}});
    return array;
}

QList<TArchiveWell> WellsFrom(const QJsonArray &array)
{
    QList<TArchiveWell> wells;
    for (const QJsonValue &value : array)
        wells.append({value[u"well"_s].toString(), Optional(value[u"od"_s])});
    return wells;
}

QJsonArray Json(const QList<TArchiveRuleOutcome> &rules)
{
    QJsonArray array;
    for (const TArchiveRuleOutcome &rule : rules)
        array.append(QJsonObject{{u"rule"_s, rule.Rule},
                                 {u"threshold"_s, rule.Threshold},
                                 {u"measured"_s, Json(rule.Measured)},
                                 {u"pass"_s, rule.Passed},
                                 {u"advisory"_s, rule.Advisory}});
    return array;
}

QList<TArchiveRuleOutcome> RulesFrom(const QJsonArray &array)
{
    QList<TArchiveRuleOutcome> rules;
    for (const QJsonValue &value : array)
        rules.append({value[u"rule"_s].toString(), value[u"threshold"_s].toDouble(),
                      Optional(value[u"measured"_s]), value[u"pass"_s].toBool(),
                      value[u"advisory"_s].toBool()});
    return rules;
}

} // namespace

QByteArray Sha256Hex(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

std::optional<double> TArchiveRecord::TopStandardMean() const
{
    return Standards.isEmpty() ? std::nullopt : Standards.first().Mean;
}

std::optional<double> TArchiveRecord::ZeroStandardMean() const
{
    return Standards.isEmpty() ? std::nullopt : Standards.last().Mean;
}

TArchiveRecord TArchiveRecord::FromRun(const TRunSession &session, const QByteArray &runFileBytes,
                                       const QString &programVersion)
{
    const TMarnovelRdData &data = session.Data();
    const TRunCalculationResult &result = *session.LastResult();
    const TRunDetails &details = session.Details();

    TArchiveRecord record;
    record.RunDate = details.RunDate;
    record.RunNumber = details.RunNumber;
    record.KitBatch = details.KitBatchNumber;
    record.Operator = details.OperatorName;
    record.CurveType = static_cast<int>(session.CurveType());
    const auto &stdBlocks = data.StdBlocks().Blocks();
    for (std::size_t i = 0; i < result.Qc.Standards.size(); ++i) {
        const TStandardQc &qc = result.Qc.Standards.at(i);
        TArchiveStandard standard{qc.Name,   qc.Concentration,   {}, Finite(qc.Mean), Finite(qc.Cv),
                                  qc.Passed, Outcomes(qc.Checks)};
        // Standard i is the i-th well of every standard block: its replicates.
        for (const auto &block : stdBlocks)
            standard.Replicates.append(Wells(*block, static_cast<int>(i), block->Count()));
        record.Concentrations.append(qc.Concentration);
        record.Standards.append(standard);
    }
    record.Intercept = result.Intercept;
    record.Slope = result.Slope;
    record.Correlation = result.Correlation;
    record.Valid = result.Valid;
    record.RunRules = Outcomes(result.Qc.Run);
    record.PlateWashNote = result.PlateWashNote;
    for (std::size_t k = 0; k < result.Subjects.size(); ++k) {
        const TRunSubjectResult &subject = result.Subjects.at(k);
        const OWCellBlockBase &block = *data.RawData().getCellInteger(static_cast<int>(k));
        record.Subjects.append({subject.Id, Wells(block, 0, 1), Finite(subject.Value),
                                StripMarkup(subject.ResultText), subject.Marks,
                                block.getAnnotationExists(AT_EXCEEDMAXVALUE),
                                block.getAnnotationExists(AT_INVALIDVALUE),
                                block.ValueCount() > 0 && block.getValidityValue(0) == ValueNotSpecified});
    }
    record.ProgramVersion =
        programVersion.isEmpty() ? QCoreApplication::applicationVersion() : programVersion;
    record.Sha256 = Sha256Hex(runFileBytes);
    return record;
}

QByteArray TArchiveRecord::DetailsJson() const
{
    QJsonArray concentrations;
    for (double value : Concentrations)
        concentrations.append(value);
    QJsonArray standards;
    for (const TArchiveStandard &standard : Standards)
        standards.append(QJsonObject{{u"name"_s, standard.Name},
                                     {u"conc"_s, standard.Concentration},
                                     {u"replicates"_s, Json(standard.Replicates)},
                                     {u"mean"_s, Json(standard.Mean)},
                                     {u"cv"_s, Json(standard.Cv)},
                                     {u"pass"_s, standard.Passed},
                                     {u"rules"_s, Json(standard.Rules)}});
    QJsonArray subjects;
    for (const TArchiveSubject &subject : Subjects)
        subjects.append(QJsonObject{{u"id"_s, subject.Id},
                                    {u"wells"_s, Json(subject.Wells)},
                                    {u"conc"_s, Json(subject.Concentration)},
                                    {u"result"_s, subject.Result},
                                    {u"marks"_s, QJsonArray::fromStringList(subject.Marks)},
                                    {u"aboveRange"_s, subject.AboveRange},
                                    {u"nonNumericalOd"_s, subject.NonNumericalOd},
                                    {u"notSpecified"_s, subject.NotSpecified}});
    return QJsonDocument(QJsonObject{{u"concentrations"_s, concentrations},
                                     {u"standards"_s, standards},
                                     {u"runRules"_s, Json(RunRules)},
                                     {u"subjects"_s, subjects}})
        .toJson(QJsonDocument::Compact);
}

bool TArchiveRecord::SetDetailsJson(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject root = document.object();
    Concentrations.clear();
    for (const QJsonValue &value : root[u"concentrations"_s].toArray())
        Concentrations.append(value.toDouble());
    Standards.clear();
    for (const QJsonValue &value : root[u"standards"_s].toArray())
        Standards.append({value[u"name"_s].toString(), value[u"conc"_s].toDouble(),
                          WellsFrom(value[u"replicates"_s].toArray()), Optional(value[u"mean"_s]),
                          Optional(value[u"cv"_s]), value[u"pass"_s].toBool(),
                          RulesFrom(value[u"rules"_s].toArray())});
    RunRules = RulesFrom(root[u"runRules"_s].toArray());
    Subjects.clear();
    for (const QJsonValue &value : root[u"subjects"_s].toArray()) {
        QStringList marks;
        for (const QJsonValue &mark : value[u"marks"_s].toArray())
            marks.append(mark.toString());
        Subjects.append({value[u"id"_s].toString(), WellsFrom(value[u"wells"_s].toArray()),
                         Optional(value[u"conc"_s]), value[u"result"_s].toString(), marks,
                         value[u"aboveRange"_s].toBool(), value[u"nonNumericalOd"_s].toBool(),
                         value[u"notSpecified"_s].toBool()});
    }
    return true;
}
