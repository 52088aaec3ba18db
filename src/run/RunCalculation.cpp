#include "run/RunCalculation.h"

#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "plate/TextGrid.h"
#include "run/MarnovelData.h"
#include "run/linear_regression.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace {

constexpr int StdConcDecimals = 3;

// The plate text as copyDataToStringgrid would copy it into a grid, read in place.
class TPlateTextView : public ITextGrid
{
public:
    explicit TPlateTextView(const TMarnovelData &data) : mData(data)
    {
        if (!data.ExtentsValid())
            throw TCustomInvalidExtentsException(QStringLiteral("Invalid Extents"));
    }
    int ColCount() const override { return mData.XExtent(); }
    int RowCount() const override { return mData.YExtent(); }
    void SetColCount(int) override {}
    void SetRowCount(int) override {}
    QString Cell(int pCol, int pRow) const override
    {
        const QString *text = StoredCell(pCol, pRow);
        return text != nullptr ? *text : QString();
    }
    void SetCell(int, int, const QString &) override {}
    const QString *StoredCell(int pCol, int pRow) const override
    {
        const bool copied = pCol >= 1 && pCol < mData.XExtent() && pRow >= 1 && pRow < mData.YExtent();
        return copied ? mData.StoredPlateText(pCol - 1, pRow - 1) : nullptr;
    }

private:
    const TMarnovelData &mData;
};

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
    // 9 significant digits as Qt writes them: correctly rounded, an exact half up. The
    // standard writer rounds an exact half to even; only a value whose shortest form has 10
    // digits ending in 5 can be such a half, and it takes Qt's way.
    std::array<char, 64> shortest{};
    const auto endShortest = std::to_chars(shortest.data(), shortest.data() + shortest.size(), value,
                                           std::chars_format::scientific)
                                 .ptr;
    const std::string_view mantissa(
        shortest.data(),
        static_cast<std::size_t>(std::find(shortest.data(), endShortest, 'e') - shortest.data()));
    const auto digits =
        std::count_if(mantissa.begin(), mantissa.end(), [](char c) { return c >= '0' && c <= '9'; });
    const bool mayBeHalf = digits == 10 && mantissa.back() == '5';
    double significant = 0.0;
    if (!std::isfinite(value) || mayBeHalf) {
        significant = QString::number(value, 'g', 9).toDouble();
    } else {
        std::array<char, 64> nine{};
        const auto end9 =
            std::to_chars(nine.data(), nine.data() + nine.size(), value, std::chars_format::scientific, 8)
                .ptr;
        std::from_chars(nine.data(), end9, significant);
    }
    return FormatFixed(significant, 4);
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
        data.SetValues(TPlateTextView(data));
    }

    TRunCalculationResult result;
    result.CurvePoints.reserve(static_cast<std::size_t>(data.StdConcSize()));
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
        if (block->Count() > 0 && block->ValueCount() > 0 && block->getValidityValue(0) == ValidValue)
            subject.Value = block->getResultLn(0);
    }
    for (std::size_t a = 0; a < annotations.size(); ++a) {
        if ((present & (1u << a)) != 0) {
            result.FootnoteAnnotations.push_back(annotations[a].Type);
            result.FootnoteLines.append(FootnoteLine(annotations[a]));
        }
    }
    return result;
}
