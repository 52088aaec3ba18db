#include "run/RunCalculation.h"

#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "plate/TextGrid.h"
#include "run/MarnovelData.h"
#include "run/linear_regression.h"

#include <array>
#include <cmath>

namespace {

constexpr int StdConcDecimals = 3;

class TPointCollector : public ICurvePointSink
{
public:
    explicit TPointCollector(std::vector<TRunCurvePoint> &points) : mPoints(points) {}
    void AddPoint(double x, double y, TColor color) override { mPoints.push_back({x, y, color}); }

private:
    std::vector<TRunCurvePoint> &mPoints;
};

// Slope and intercept are shown with 4 decimals of at most 9 significant digits.
QString CurveValueText(double value)
{
    const double significant = QString::number(value, 'g', 9).toDouble();
    return FormatFixed(significant, 4);
}

struct TMarkInfo
{
    TAnnotationType type;
    QString sign;
    int footnoteText;
};

const std::array<TMarkInfo, 3> &Marks()
{
    static const std::array<TMarkInfo, 3> marks{{
        {AT_INVALIDVALUE, QStringLiteral("#"), 285},
        {AT_EXCEEDMAXVALUE, QStringLiteral("¶"), 286},
        {AT_POTENTIALTUBEMIXUP, QStringLiteral("*"), 305},
    }};
    return marks;
}

} // namespace

TStringGridData BuildStandardsTable(const TMarnovelData &data)
{
    const int n = data.StdConcSize();
    TStringGridData table(6, QStringList(n + 1));
    table[0][0] = UiText(74);
    table[1][0] = UiText(75);
    table[2][0] = UiText(76);
    table[3][0] = UiText(77);
    table[4][0] = UiText(78);
    for (int i = 0; i < n; ++i) {
        table[0][i + 1] = data.StandardName(i);
        table[1][i + 1] = FormatFixed(data.StdConc().at(i), StdConcDecimals);
    }
    return table;
}

TQcCheck CheckPlateWashing(const QString &zeroStandardMeanText)
{
    double mean = 0.0;
    if (!TryTextToFloat(zeroStandardMeanText, mean))
        return TQcCheck{QcRule::PlateWashing, std::nullopt, true};
    return CheckQcRule(QcRule::PlateWashing, mean);
}

bool ShouldShowPlateWashing(const QString &zeroStandardMeanText)
{
    return !CheckPlateWashing(zeroStandardMeanText).Passed;
}

int LastColumnWithData(const TMarnovelData &data)
{
    for (int col = PlateColumnCount - 1; col >= 0; --col) {
        for (int row = 0; row < PlateRowCount; ++row) {
            if (!data.PlateText(col, row).trimmed().isEmpty())
                return col + 1;
        }
    }
    return -1;
}

void CheckPlateFitsLayout(const TMarnovelData &data)
{
    const int lastColumn = LastColumnWithData(data);
    if (lastColumn < 0)
        throw ERunNotCalculable(QStringLiteral("The plate text holds no data: every well is empty."));
    if (lastColumn < data.IndexColOfLastFormatStrip())
        throw ERunNotCalculable(UiText(182));
}

TRunCalculationResult CalculateRun(TMarnovelData &data, const ITextGrid *source)
{
    if (!data.doCanCalc())
        throw ERunNotCalculable(QStringLiteral(
            "The run cannot be calculated yet: it needs at least two standard blocks and one sample block."));
    if (!data.canCalc())
        throw ERunNotCalculable(
            QStringLiteral("The run cannot be calculated: a standard concentration is below 0."));

    if (source != nullptr) {
        data.SetValues(*source);
    } else {
        TTextGrid plate;
        data.copyDataToStringgrid(plate);
        data.SetValues(plate);
    }

    TRunCalculationResult result;
    TStringGridData table = BuildStandardsTable(data);
    TPointCollector collector(result.CurvePoints);
    TLinearRegression reg;
    result.Valid = data.calc(&collector, reg, table, &result.Qc);
    result.StandardsTable = std::move(table);

    result.Intercept = reg.Intercept();
    result.Slope = reg.Slope();
    result.Correlation = reg.Correlation();
    result.InterceptText = CurveValueText(result.Intercept);
    result.SlopeText = CurveValueText(result.Slope);
    result.CorrelationText = FormatFixed(RoundAwayToDecimals(2, result.Correlation), 2);
    result.CorrelationPass = TMarnovelData::IsValidCoefficient(result.Correlation);
    result.VerdictText = UiText(result.Valid ? 87 : 364);

    const int n = data.StdConcSize();
    if (n > 0) {
        result.Qc.Run.push_back(CheckPlateWashing(result.StandardsTable.at(2).at(n)));
        result.PlateWashNote = !result.Qc.Run.back().Passed;
    }

    const OWCells &subjects = data.RawData();
    for (int b = 0; b < subjects.GetCount(); ++b) {
        const OWCellBlockBase *block = subjects.getCellInteger(b);
        if (block == nullptr)
            break;
        TRunSubjectResult subject;
        subject.Id = block->id();
        subject.ResultText = block->getResult(0);
        for (const TMarkInfo &mark : Marks())
            if (block->getAnnotationExists(mark.type))
                subject.Marks.append(mark.sign);
        if (block->Count() > 0 && block->ValueCount() > 0 && block->getValidityValue(0) == ValidValue)
            subject.Value = block->getResultLn(0);
        result.Subjects.push_back(std::move(subject));
    }
    for (const TMarkInfo &mark : Marks())
        if (data.AnnotationExists(mark.type, 0, 0))
            result.FootnoteLines.append(mark.sign + QLatin1Char(' ') + UiText(mark.footnoteText));
    return result;
}
