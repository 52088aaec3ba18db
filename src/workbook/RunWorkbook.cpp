#include "workbook/RunWorkbook.h"

#include "core/MarnovelUtils.h"
#include "core/SoftwareInfoManager.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "files/RunJson.h"
#include "files/RunSession.h"
#include "run/CurveDiagnostics.h"
#include "run/MarnovelRdData.h"
#include "run/PlateTextView.h"
#include "run/ResultTexts.h"
#include "workbook/Workbook.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int kConcentrationDecimals = 3; // as ResultTexts::Concentration shows them
constexpr int kResultDecimals = 2;        // as a sample's result is shown

// A capped result ("> 10") does not show its number's decimals; the number keeps a result's.
std::optional<int> ResultDecimals(const QString &shown)
{
    const QString text = shown.trimmed();
    if (text.startsWith(u'>') || text.startsWith(u'<'))
        return kResultDecimals;
    return ShownDecimals(text).value_or(kResultDecimals);
}

std::optional<double> NumberOf(const QJsonValue &value)
{
    return value.isDouble() ? std::optional<double>(value.toDouble()) : std::nullopt;
}

QString OneLine(QString text)
{
    return text.replace(u'\n', u' ');
}

// Each well's text as the plate holds it ("A1" -> "0.171").
QHash<QString, QString> PlateTexts(const TRunSession &session)
{
    QHash<QString, QString> texts;
    const TPlateTextView plate(session.Data());
    for (int row = 1; row < plate.RowCount(); ++row)
        for (int col = 1; col < plate.ColCount(); ++col)
            texts.insert(QString(RowHeadingLetter(row)) + QString::number(col), plate.Cell(col, row));
    return texts;
}

// Room for a heading in characters, and for the 16 digits of an unrounded number.
double HeadingWidth(const QString &heading)
{
    return std::clamp(static_cast<double>(heading.size()) + 2.0, 11.0, 40.0);
}

// Headings in row 0, each column as wide as its heading.
void Headings(TWorksheet &sheet, const QStringList &headings)
{
    for (int col = 0; col < headings.size(); ++col) {
        sheet.Heading(0, col, headings.at(col));
        sheet.ColumnWidth(col, HeadingWidth(headings.at(col)));
    }
    sheet.FreezeRows(1);
}

int MostWells(const QJsonArray &rows)
{
    qsizetype most = 0;
    for (const QJsonValue &row : rows)
        most = std::max(most, row[u"wells"_s].toArray().size());
    return static_cast<int>(most);
}

QStringList OdHeadings(int count)
{
    QStringList headings;
    for (int i = 1; i <= count; ++i)
        headings << UiText(TextId::WbOdNumber).arg(i);
    return headings;
}

// The wells joined ("A1; A2") in `col`, their ODs from `odCol` on, with the plate's decimals.
void Wells(TWorksheet &sheet, int row, int col, int odCol, const QJsonArray &wells,
           const QHash<QString, QString> &plate)
{
    QStringList names;
    for (qsizetype i = 0; i < wells.size(); ++i) {
        const QString well = wells.at(i)[u"well"_s].toString();
        names << well;
        sheet.Number(row, odCol + static_cast<int>(i), NumberOf(wells.at(i)[u"od"_s]),
                     ShownDecimals(plate.value(well)));
    }
    sheet.Text(row, col, names.join(u"; "_s));
}

void ResultsSheet(TWorkbook &workbook, const QJsonObject &run, const QHash<QString, QString> &plate)
{
    TWorksheet sheet = workbook.AddSheet(u"Results"_s);
    const QJsonArray results = run[u"results"_s].toArray();
    const int ods = MostWells(results);
    constexpr int odCol = 2;
    const int next = odCol + ods;
    Headings(sheet, QStringList{UiText(TextId::SubjectId), UiText(TextId::WbWells)}
                        << OdHeadings(ods)
                        << QStringList{UiText(TextId::ConcentrationIuPerMl), UiText(TextId::WbUnrounded),
                                       UiText(TextId::ResultIuPerMl), UiText(TextId::WbMarks),
                                       UiText(TextId::WbAboveRange), UiText(TextId::WbOdNotNumber),
                                       UiText(TextId::WbNotSpecified), UiText(TextId::WbBelowLowest),
                                       UiText(TextId::WbAboveHighest), UiText(TextId::WbIntervalLow),
                                       UiText(TextId::WbIntervalHigh)});
    sheet.ColumnWidth(next + 1, 20);
    for (qsizetype k = 0; k < results.size(); ++k) {
        const QJsonObject result = results.at(k).toObject();
        const int row = static_cast<int>(k) + 1;
        const QString shown = result[u"result"_s].toString();
        sheet.Text(row, 0, result[u"id"_s].toString());
        Wells(sheet, row, 1, odCol, result[u"wells"_s].toArray(), plate);
        sheet.Number(row, next, NumberOf(result[u"value"_s]), ResultDecimals(shown));
        sheet.Number(row, next + 1, NumberOf(result[u"valueExact"_s]));
        sheet.Text(row, next + 2, shown);
        QStringList marks;
        for (const QJsonValue &mark : result[u"marks"_s].toArray())
            marks << mark.toString();
        sheet.Text(row, next + 3, marks.join(u' '));
        int col = next + 4;
        for (const QString &flag : {u"aboveRange"_s, u"nonNumericalOd"_s, u"notSpecified"_s,
                                    u"belowLowestStandard"_s, u"aboveHighestStandard"_s})
            sheet.Boolean(row, col++, result[flag].toBool());
        const QJsonArray interval = result[u"predictionInterval95"_s].toArray();
        if (interval.size() == 2) {
            sheet.Number(row, col, NumberOf(interval.at(0)), kConcentrationDecimals);
            sheet.Number(row, col + 1, NumberOf(interval.at(1)), kConcentrationDecimals);
        }
    }
}

void StandardsSheet(TWorkbook &workbook, const QJsonObject &run, const QHash<QString, QString> &plate)
{
    TWorksheet sheet = workbook.AddSheet(u"Standards"_s);
    const QJsonArray standards = run[u"standards"_s].toArray();
    QHash<QString, QJsonObject> fitted;
    for (const QJsonValue &standard : run[u"diagnostics"_s][u"standards"_s].toArray())
        fitted.insert(standard[u"name"_s].toString(), standard.toObject());
    const int ods = MostWells(standards);
    constexpr int odCol = 3;
    const int next = odCol + ods;
    Headings(sheet,
             QStringList{OneLine(ResultTexts::StandardsHeading(0)), OneLine(ResultTexts::StandardsHeading(1)),
                         UiText(TextId::WbWells)}
                 << OdHeadings(ods)
                 << QStringList{OneLine(ResultTexts::StandardsHeading(2)),
                                OneLine(ResultTexts::StandardsHeading(3)),
                                OneLine(ResultTexts::StandardsHeading(4)), UiText(TextId::DiagBackCalculated),
                                UiText(TextId::DiagRecovery), UiText(TextId::DiagResidual)});
    for (qsizetype k = 0; k < standards.size(); ++k) {
        const QJsonObject standard = standards.at(k).toObject();
        const int row = static_cast<int>(k) + 1;
        const QString name = standard[u"name"_s].toString();
        sheet.Text(row, 0, name);
        sheet.Number(row, 1, NumberOf(standard[u"concValue"_s]),
                     ShownDecimals(standard[u"conc"_s].toString()));
        Wells(sheet, row, 2, odCol, standard[u"wells"_s].toArray(), plate);
        sheet.Number(row, next, NumberOf(standard[u"meanValue"_s]),
                     ShownDecimals(standard[u"mean"_s].toString()));
        sheet.Number(row, next + 1, NumberOf(standard[u"cvValue"_s]),
                     ShownDecimals(standard[u"cv"_s].toString()));
        sheet.Text(row, next + 2, standard[u"qc"_s].toString());
        if (const auto found = fitted.constFind(name); found != fitted.constEnd()) {
            sheet.Number(row, next + 3, NumberOf((*found)[u"backCalculated"_s]), kConcentrationDecimals);
            sheet.Number(row, next + 4, NumberOf((*found)[u"recoveryPercent"_s]), RecoveryDecimals);
            sheet.Number(row, next + 5, NumberOf((*found)[u"residual"_s]), ResidualDecimals);
        }
    }
}

// The plate in rows 1 to 9 under its title, the layout below it; the well headings as the
// raw data grid has them.
void PlateSheet(TWorkbook &workbook, const TRunSession &session, const QJsonObject &run,
                const QHash<QString, QString> &plate)
{
    TWorksheet sheet = workbook.AddSheet(u"Plate"_s);
    QHash<QString, QString> layout;
    for (const QJsonValue &standard : run[u"standards"_s].toArray())
        for (const QJsonValue &well : standard[u"wells"_s].toArray())
            layout.insert(well[u"well"_s].toString(), standard[u"name"_s].toString());
    for (const QJsonValue &result : run[u"results"_s].toArray())
        for (const QJsonValue &well : result[u"wells"_s].toArray())
            layout.insert(well[u"well"_s].toString(), result[u"id"_s].toString());

    const TPlateTextView view(session.Data());
    const int rows = view.RowCount() - 1;
    const int cols = view.ColCount() - 1;
    const auto block = [&](int top, const QString &title, const auto &fill) {
        sheet.Heading(top, 0, title);
        for (int col = 1; col <= cols; ++col)
            sheet.Heading(top + 1, col, QString::number(col));
        for (int row = 1; row <= rows; ++row) {
            sheet.Heading(top + 1 + row, 0, QString(RowHeadingLetter(row)));
            for (int col = 1; col <= cols; ++col)
                fill(top + 1 + row, col, QString(RowHeadingLetter(row)) + QString::number(col));
        }
    };
    block(0, UiText(TextId::WbOpticalDensities), [&](int row, int col, const QString &well) {
        const QString text = plate.value(well);
        double value = 0.0;
        if (TryTextToFloat(text, value))
            sheet.Number(row, col, value, ShownDecimals(text));
        else
            sheet.Text(row, col, text);
    });
    block(rows + 3, UiText(TextId::PlateLayout),
          [&](int row, int col, const QString &well) { sheet.Text(row, col, layout.value(well)); });
    sheet.ColumnWidth(0, 20);
    for (int col = 1; col <= cols; ++col)
        sheet.ColumnWidth(col, 9);
}

// One QC rule's row: its words, what it applies to, bound and threshold, measured, outcome.
void RuleRow(TWorksheet &sheet, int row, const TQcCheck &check, const QString &appliesTo)
{
    const TQcRule &rule = check.Rule;
    sheet.Text(row, 0, UiText(rule.TextId));
    sheet.Text(row, 1, appliesTo);
    sheet.Text(row, 2, rule.Bound == TQcBound::AtMost ? u"\u2264"_s : u"\u2265"_s);
    sheet.Number(row, 3, rule.Threshold, rule.Decimals);
    sheet.Number(row, 4, check.Measured, rule.Decimals);
    sheet.Text(row, 5, ResultTexts::PassFail(check.Passed));
    sheet.Boolean(row, 6, rule.Advisory);
}

void RunSheet(TWorkbook &workbook, const TRunSession &session, const QJsonObject &run)
{
    TWorksheet sheet = workbook.AddSheet(u"Run"_s);
    const QJsonObject details = run[u"runDetails"_s].toObject();
    const QJsonObject curve = run[u"curve"_s].toObject();
    const QJsonObject diagnostics = run[u"diagnostics"_s].toObject();
    int row = 0;
    const auto label = [&](int textId) { sheet.Heading(row, 0, OneLine(UiText(textId))); };
    label(TextId::SoftwareVersion);
    sheet.Text(row++, 1, GetSoftwareInfoManager().GetVersNumberStr());
    label(TextId::RunDate);
    sheet.Date(row++, 1, session.Details().RunDate);
    label(TextId::RunNumber);
    sheet.Text(row++, 1, details[u"runNumber"_s].toString());
    label(TextId::KitBatchNumber);
    sheet.Text(row++, 1, details[u"kitBatchNumber"_s].toString());
    label(TextId::Operator);
    sheet.Text(row++, 1, details[u"operator"_s].toString());
    label(TextId::CurveType);
    sheet.Number(row++, 1, NumberOf(run[u"curveType"_s]), 0);
    for (const auto &[textId, key] :
         {std::pair{TextId::Intercept, u"intercept"_s}, std::pair{TextId::Slope, u"slope"_s},
          std::pair{TextId::CorrelationCoefficient, u"correlation"_s}}) {
        label(textId);
        sheet.Number(row++, 1, NumberOf(curve[key + u"Value"_s]), ShownDecimals(curve[key].toString()));
    }
    label(TextId::WbFitStandardError);
    sheet.Number(row++, 1, NumberOf(diagnostics[u"fitStandardError"_s]), ResidualDecimals);
    label(TextId::WbStandardsInOrder);
    sheet.Boolean(row++, 1, diagnostics[u"standardsInOrder"_s].toBool());
    QStringList outOfOrder;
    for (const QJsonValue &name : diagnostics[u"outOfOrder"_s].toArray())
        outOfOrder << name.toString();
    label(TextId::WbOutOfOrder);
    sheet.Text(row++, 1, outOfOrder.join(u", "_s));
    label(TextId::WbRunValid);
    sheet.Boolean(row++, 1, run[u"valid"_s].toBool());
    label(TextId::WbVerdict);
    sheet.Text(row++, 1, run[u"verdict"_s].toString());
    const QJsonArray footnotes = run[u"footnotes"_s].toArray();
    if (!footnotes.isEmpty())
        label(TextId::WbFootnotes);
    for (const QJsonValue &footnote : footnotes)
        sheet.Text(row++, 1, footnote.toString());

    ++row;
    const QStringList ruleHeadings{
        UiText(TextId::WbRule),      UiText(TextId::WbAppliesTo), QString(),
        UiText(TextId::WbThreshold), UiText(TextId::WbMeasured),  OneLine(UiText(TextId::QcResultHeading)),
        UiText(TextId::WbAdvisory)};
    for (int col = 0; col < ruleHeadings.size(); ++col)
        sheet.Heading(row, col, ruleHeadings.at(col));
    ++row;
    const TRunCalculationResult &result = *session.LastResult();
    for (const TQcCheck &check : result.Qc.Run)
        RuleRow(sheet, row++, check, UiText(TextId::WbRun));
    const QJsonArray standards = run[u"standards"_s].toArray();
    for (std::size_t i = 0; i < result.Qc.Standards.size(); ++i) {
        const QString name = static_cast<qsizetype>(i) < standards.size()
                                 ? standards.at(static_cast<qsizetype>(i))[u"name"_s].toString()
                                 : QString();
        for (const TQcCheck &check : result.Qc.Standards[i].Checks)
            RuleRow(sheet, row++, check, name);
    }
    sheet.ColumnWidth(0, 56); // the longest rule's words
    sheet.ColumnWidth(1, 28);
    sheet.ColumnWidth(2, 4);
    for (int col = 3; col < ruleHeadings.size(); ++col)
        sheet.ColumnWidth(col, HeadingWidth(ruleHeadings.at(col)));
}

void FillRunWorkbook(TWorkbook &workbook, const TRunSession &session)
{
    const QJsonObject run = RunJsonObject(session);
    const QHash<QString, QString> plate = PlateTexts(session);
    ResultsSheet(workbook, run, plate);
    StandardsSheet(workbook, run, plate);
    PlateSheet(workbook, session, run, plate);
    RunSheet(workbook, session, run);
}

} // namespace

std::optional<int> ShownDecimals(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && !text.at(end - 1).isDigit())
        --end;
    if (end == 0)
        return std::nullopt;
    qsizetype start = end;
    while (start > 0 && text.at(start - 1).isDigit())
        --start;
    const bool fraction = start > 1 && (text.at(start - 1) == u'.' || text.at(start - 1) == u',') &&
                          text.at(start - 2).isDigit();
    return fraction ? static_cast<int>(end - start) : 0;
}

QByteArray RunWorkbookBytes(const TRunSession &session)
{
    TWorkbook workbook;
    FillRunWorkbook(workbook, session);
    return workbook.Bytes();
}

void WriteRunWorkbook(const TRunSession &session, TSafeFileWriter &file)
{
    TWorkbook workbook;
    FillRunWorkbook(workbook, session);
    workbook.WriteTo(file);
}
