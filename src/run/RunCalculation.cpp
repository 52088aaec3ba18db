#include "run/RunCalculation.h"

#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "plate/TextGrid.h"
#include "run/MarnovelData.h"
#include "run/PlateTextView.h"
#include "run/ResultTexts.h"
#include "run/linear_regression.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

class TPointCollector : public ICurvePointSink
{
public:
    explicit TPointCollector(std::vector<TRunCurvePoint> &points) : mPoints(points) {}
    void AddPoint(double x, double y, TColor color, int standard) override
    {
        mPoints.push_back({x, y, color, standard});
    }

private:
    std::vector<TRunCurvePoint> &mPoints;
};

} // namespace

TStringGridData BuildStandardsTable(const TMarnovelData &data)
{
    const int n = data.StdConcSize();
    TStringGridData table(ResultTexts::StandardsColumnCount, QStringList(n + 1));
    for (int col = 0; col < ResultTexts::StandardsColumnCount; ++col)
        table[col][0] = ResultTexts::StandardsHeading(col);
    for (int i = 0; i < n; ++i) {
        table[0][i + 1] = data.StandardName(i);
        table[1][i + 1] = ResultTexts::Concentration(data.StdConc().at(i));
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

int SubjectResultTextId(const OWCellBlockBase &block)
{
    if (block.Count() == 0 || block.ValueCount() == 0)
        return TextId::NotApplicable;
    return block.getValidityValue(0) == ValueNotSpecified ? TextId::NotSpecified : 0;
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
        throw ERunNotCalculable(UiText(TextId::MoreStripsThanData));
}

QString StandardSeriesProblem(int seriesCount)
{
    if (seriesCount <= TMarnovelData::MaxStandardSeries)
        return QString();
    return UiText(TextId::TooManyStandardSeries).arg(seriesCount).arg(TMarnovelData::MaxStandardSeries);
}

TRunCalculationResult CalculateRun(TMarnovelData &data, const ITextGrid *source)
{
    if (!data.doCanCalc())
        throw ERunNotCalculable(QStringLiteral(
            "The run cannot be calculated yet: it needs at least two standard blocks and one sample block."));
    if (const QString problem = StandardSeriesProblem(data.StdBlocks().GetCount()); !problem.isEmpty())
        throw ERunNotCalculable(problem);
    if (!data.canCalc())
        throw ERunNotCalculable(
            QStringLiteral("The run cannot be calculated: a standard concentration is below 0."));

    if (source != nullptr) {
        data.SetValues(*source);
    } else {
        data.SetValues(TPlateTextView(data));
    }

    TRunCalculationResult result;
    result.CurvePoints.reserve(static_cast<std::size_t>(data.StdConcSize()));
    TStringGridData table = BuildStandardsTable(data);
    TPointCollector collector(result.CurvePoints);
    TLinearRegression reg;
    result.Valid = data.calc(&collector, reg, table, &result.Qc);

    result.Intercept = reg.Intercept();
    result.Slope = reg.Slope();
    result.Correlation = reg.Correlation();
    result.CorrelationPass = TMarnovelData::IsValidCoefficient(result.Correlation);

    const int n = data.StdConcSize();
    if (n > 0) {
        result.Qc.Run.push_back(CheckPlateWashing(table.at(2).at(n)));
        result.PlateWashNote = !result.Qc.Run.back().Passed;
    }

    const OWCells &subjects = data.RawData();
    result.Subjects.reserve(static_cast<std::size_t>(subjects.GetCount()));
    const std::span<const TAnnotationInfo> annotations = FootnotedAnnotations();
    std::uint32_t present = 0; // bit a: annotation a in any subject block
    for (const auto &block : subjects.Blocks()) {
        TRunSubjectResult &subject = result.Subjects.emplace_back();
        subject.Id = block->id();
        subject.ResultText = block->getResult(0);
        for (std::size_t a = 0; a < annotations.size(); ++a) {
            if (block->getAnnotationExists(annotations[a].Type)) {
                subject.Marks.append(AnnotationSign(annotations[a]));
                present |= 1u << a;
            }
        }
        if (block->Count() > 0 && block->ValueCount() > 0 && block->getValidityValue(0) == ValidValue) {
            subject.Od = block->getValue(0);
            subject.Value = block->getResultLn(0);
        } else
            subject.TextId = SubjectResultTextId(*block);
    }
    for (std::size_t a = 0; a < annotations.size(); ++a) {
        if ((present & (1u << a)) != 0) {
            result.FootnoteAnnotations.push_back(annotations[a].Type);
        }
    }
    return result;
}
