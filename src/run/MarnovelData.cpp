#include "run/MarnovelData.h"

#include "core/MarnovelUtils.h"
#include "core/Messages.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "plate/TextGrid.h"
#include "run/MathChecks.h"
#include "run/ResultTexts.h"
#include "run/linear_regression.h"

#include <QMimeData>

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <limits>
#include <span>
#include <vector>

namespace {

constexpr int StandardsTableCols = ResultTexts::StandardsColumnCount;

[[noreturn]] void RaiseMath(const QString &where, const QString &reason)
{
    throw EMathError(BuildExceptionMessage(where, QString(), reason));
}

// A well that has not read its value yet counts as missing.
TValidityType ValidityOf(const OWCellBlockBase &block, int index)
{
    if (index < 0 || index >= block.ValueCount())
        return ValueNotSpecified;
    return block.getValidityValue(index);
}

} // namespace

TMarnovelData::TMarnovelData()
    : mStdBlocks(std::make_unique<OWCells>()), mRawData(std::make_unique<OWCells>())
{
    // The curve type is chosen by the edition's constructor: a virtual call here would
    // not reach it.
}

TMarnovelData::~TMarnovelData()
{
    clear();
}

TQcCheck TMarnovelData::CheckCv(int /*index*/, double cv) const
{
    return CheckQcRule(QcRule::Cv, cv);
}

QString TMarnovelData::QcResultText(const QString &text, int /*index*/) const
{
    return text;
}

// ---- plate text ----------------------------------------------------------------------

QString PlateTextProblemText(TPlateTextProblem problem)
{
    switch (problem) {
    case TPlateTextProblem::None:
        break;
    case TPlateTextProblem::NoDataObject:
        return QStringLiteral("dataObj = nil");
    case TPlateTextProblem::NoText:
    case TPlateTextProblem::UnroundableNumber:
        return UiText(TextId::InvalidClipboardData);
    case TPlateTextProblem::WrongLineCount:
        return UiText(TextId::BadArraySize);
    }
    return QString();
}

namespace {

bool ShowPlateTextProblem(TPlateTextProblem problem)
{
    if (problem == TPlateTextProblem::None)
        return true;
    ShowErrorMessage(PlateTextProblemText(problem));
    return false;
}

} // namespace

bool TMarnovelData::loadDataObject(const QMimeData *dataObj)
{
    return ShowPlateTextProblem(ParseDataObject(dataObj));
}

bool TMarnovelData::loadDataObject(const TStringGridData &data)
{
    return ShowPlateTextProblem(ParseDataObject(data));
}

TPlateTextProblem TMarnovelData::ParseDataObject(const QMimeData *dataObj)
{
    ClearMData();
    mLastPasteGood = false;
    if (dataObj == nullptr)
        return TPlateTextProblem::NoDataObject;
    if (!dataObj->hasText())
        return TPlateTextProblem::NoText;
    const TPlateTextProblem problem = ParsePlateLines(SplitLines(dataObj->text()));
    mLastPasteGood = problem == TPlateTextProblem::None;
    return problem;
}

TPlateTextProblem TMarnovelData::ParseDataObject(const TStringGridData &data)
{
    ClearMData();
    // Refuse oversized grids before building their lines.
    const bool tooWide =
        std::any_of(data.begin(), data.end(), [](const QStringList &row) { return row.size() > DataCols; });
    if (data.size() > DataRows || tooWide) {
        mLastPasteGood = false;
        throw EPlateTextOverflow(BuildExceptionMessage(
            QStringLiteral("TMarnovelData.loadDataObject"),
            QStringLiteral("rows=") + QString::number(data.size()),
            QStringLiteral("The plate text holds more than 9 lines or more than 13 values on a line")));
    }
    const QString notSpecified = UiText(TextId::NotSpecified);
    QStringList lines;
    lines.reserve(data.size());
    for (const QStringList &row : data) {
        QStringList cells;
        cells.reserve(row.size());
        for (const QString &cell : row) {
            QString text = RemoveChar(cell, PlateTextSeparator);
            if (IsNotSpecifiedMarker(text))
                text = notSpecified;
            cells.append(text);
        }
        lines.append(cells.join(PlateTextSeparator));
    }
    mLastPasteGood = false;
    const TPlateTextProblem problem = ParsePlateLines(lines);
    mLastPasteGood = problem == TPlateTextProblem::None;
    return problem;
}

TPlateTextProblem TMarnovelData::ParsePlateLines(const QStringList &lines)
{
    if (lines.isEmpty())
        return TPlateTextProblem::None;

    // Checked up front so that nothing at all is stored from text that does not fit.
    qsizetype widest = 0;
    bool fits = lines.size() <= DataRows;
    for (qsizetype j = 0; fits && j < lines.size(); ++j) {
        const qsizetype tokens = lines.at(j).count(PlateTextSeparator) + 1;
        fits = tokens <= DataCols;
        widest = std::max(widest, tokens);
    }
    if (!fits) {
        mLastPasteGood = false;
        throw EPlateTextOverflow(BuildExceptionMessage(
            QStringLiteral("TMarnovelData.ParsePlateLines"),
            QStringLiteral("lines=") + QString::number(lines.size()),
            QStringLiteral("The plate text holds more than 9 lines or more than 13 values on a line")));
    }

    for (int j = 0; j < lines.size(); ++j) {
        const QList<QStringView> tokens = QStringView(lines.at(j)).split(PlateTextSeparator);
        for (int i = 0; i < tokens.size(); ++i) {
            const QStringView token = tokens.at(i);
            double value = 0.0;
            QString stored;
            if (TryTextToFloat(token, value)) {
                try {
                    stored = RoundWideString(token, 3);
                } catch (const MarnovelException &) {
                    // Too large to round on its digits: an OD the run cannot keep at 3 decimals.
                    mLastPasteGood = false;
                    return TPlateTextProblem::UnroundableNumber;
                }
            } else {
                stored = NormaliseNonNumeric(token.toString());
            }
            mData[i][j] = std::move(stored);
        }
    }

    if (lines.size() != PlateRowCount)
        return TPlateTextProblem::WrongLineCount;
    mXExtent = static_cast<int>(widest) + 1;
    mYExtent = PlateRowCount + 1;
    return TPlateTextProblem::None;
}

QString TMarnovelData::PlateText(int col, int row) const
{
    const QString *text = StoredPlateText(col, row);
    return text != nullptr ? *text : QString();
}

void TMarnovelData::copyDataToStringgrid(ITextGrid &dest) const
{
    if (!ExtentsValid())
        throw TCustomInvalidExtentsException(QStringLiteral("Invalid Extents"));
    dest.SetColCount(mXExtent);
    dest.SetRowCount(mYExtent);
    for (int c = 0; c <= mXExtent - 2; ++c)
        for (int r = 0; r <= mYExtent - 2; ++r)
            dest.SetCell(c + 1, r + 1, mData[c][r]);
}

bool TMarnovelData::ExtentsValid() const
{
    // The copy reads matrix row mYExtent - 2, so 10 rows are still inside the matrix.
    return mXExtent >= 0 && mYExtent >= 0 && mXExtent <= DataCols && mYExtent <= DataRows + 1;
}

// ---- clearing ----------------------------------------------------------------------------

void TMarnovelData::clear()
{
    ClearStdBlocks();
    ClearRawData();
}

void TMarnovelData::ClearStdBlocks()
{
    mStdBlocks->clear(true);
}

void TMarnovelData::ClearRawData()
{
    mRawData->clear(true);
}

void TMarnovelData::ClearMData()
{
    for (auto &column : mData)
        for (QString &text : column)
            text.clear();
    mXExtent = 0;
    mYExtent = 0;
    mLastPasteGood = true;
}

// ---- queries -------------------------------------------------------------------------------

int TMarnovelData::StdConcSize() const
{
    return static_cast<int>(StdConc().size());
}

bool TMarnovelData::HasNegativeODValues() const
{
    const int cols = std::min(mXExtent - 1, DataCols);
    const int rows = std::min(mYExtent - 1, DataRows);
    for (int c = 0; c < cols; ++c) {
        for (int r = 0; r < rows; ++r) {
            double value = 0.0;
            if (TryTextToFloat(mData[c][r], value) && value < 0.0)
                return true;
        }
    }
    return false;
}

bool TMarnovelData::DoesCriteriaHaveData(TCriteriaType /*criteria*/) const
{
    return mRawData->GetCount() > 0;
}

TCriteriaTypes TMarnovelData::GetAllowedCriteriaTypes() const
{
    return TCriteriaTypes{fCriteriaType};
}

bool TMarnovelData::CriteriaHasMinimumNoStrips(TCriteriaType /*criteria*/) const
{
    return mXExtent - 1 >= fMinimumStrips;
}

int TMarnovelData::IndexColOfLastFormatStrip() const
{
    return std::max(IndexColOfLastFormatStrip(*mRawData), IndexColOfLastFormatStrip(*mStdBlocks));
}

int TMarnovelData::IndexColOfLastFormatStrip(const OWCells &pWells) const
{
    int last = -1;
    for (int b = 0; b < pWells.GetCount(); ++b) {
        const OWCellBlockBase *block = pWells.getCellInteger(b);
        if (block == nullptr)
            continue;
        for (int w = 0; w < block->Count(); ++w)
            last = std::max(last, block->block()[w].mCell.x());
    }
    return last;
}

void TMarnovelData::SetValues(const ITextGrid &pSourceGrid)
{
    for (int b = 0; b < mRawData->GetCount(); ++b)
        mRawData->getCellInteger(b)->setValues(pSourceGrid);
    for (int b = 0; b < mStdBlocks->GetCount(); ++b)
        mStdBlocks->getCellInteger(b)->setValues(pSourceGrid);
}

bool TMarnovelData::IsValidCoefficient(double pCoefficient)
{
    return CheckQcRule(QcRule::Correlation, pCoefficient).Passed;
}

OWCellBlockBase *TMarnovelData::cellAtPoint(QPoint p) const
{
    if (OWCellBlockBase *block = mStdBlocks->getCellPoint(p))
        return block;
    return mRawData->getCellPoint(p);
}

bool TMarnovelData::canCalc() const
{
    if (!doCanCalc())
        return false;
    const TStdConcData &conc = StdConc();
    // Written as "not >= 0" so that a NaN concentration is refused too.
    return std::none_of(conc.begin(), conc.end(), [](float c) { return !(c >= 0.0f); });
}

bool TMarnovelData::AnnotationExists(TAnnotationType pAnnotationType, int pStartItem, int pEndItem) const
{
    const int count = mRawData->GetCount();
    const int first = pStartItem == 0 ? 1 : std::max(pStartItem, 1);
    const int last = pEndItem == 0 ? count : std::min(pEndItem, count);
    for (int item = first; item <= last; ++item) {
        const OWCellBlockBase *block = mRawData->getCellInteger(item - 1);
        if (block != nullptr && block->getAnnotationExists(pAnnotationType))
            return true;
    }
    return false;
}

// ---- calculation -------------------------------------------------------------------------

namespace {

// The steps of calc, in the order the calculation takes them.

// The caller's table, copied so that a failed calculation leaves it untouched, with room
// for n standards.
TStringGridData SizedStandardsTable(const TStringGridData &concGd, int n)
{
    TStringGridData table = concGd;
    if (table.size() < StandardsTableCols)
        table.resize(StandardsTableCols);
    for (QStringList &column : table)
        if (column.size() < n + 1)
            column.resize(n + 1);
    return table;
}

// Standard i of every standard block that has a well i, in collection order: a number is
// a value, a non-numerical text the value 4.0, a missing value none; both of the latter
// make the standard incomplete. ERangeError for a 22nd value.
struct TReplicates
{
    std::array<double, TMarnovelData::MaxStandardSeries> Values{};
    std::size_t Count = 0;
    int Incomplete = 0; // missing or non-numerical wells
};

TReplicates CollectReplicates(const OWCells &stds, int i, const QString &where)
{
    TReplicates replicates;
    for (int b = 0; b < stds.GetCount(); ++b) {
        const OWCellBlockBase *block = stds.getCellInteger(b);
        if (block == nullptr || block->Count() <= i)
            continue;
        const TValidityType validity = ValidityOf(*block, i);
        if (validity == ValueNotSpecified) {
            ++replicates.Incomplete;
            continue;
        }
        if (replicates.Count >= replicates.Values.size())
            throw ERangeError(BuildExceptionMessage(where, QStringLiteral("index=") + QString::number(i),
                                                    QStringLiteral("More than 21 replicates of a standard")));
        if (validity == ValueNotNumerical)
            ++replicates.Incomplete;
        replicates.Values[replicates.Count++] = validity == ValueNotNumerical ? 4.0 : block->getValue(i);
    }
    return replicates;
}

struct TStandardStatistics
{
    double Mean = 0.0;
    double Deviation = 0.0;
};

TStandardStatistics Statistics(const TMarnovelData &data, int i, const TReplicates &replicates,
                               const QString &where)
{
    TStandardStatistics statistics;
    MeanAndSampleDeviation(std::span<const double>(replicates.Values.data(), replicates.Count),
                           statistics.Mean, statistics.Deviation);
    CheckFinite(statistics.Mean, where,
                [&] { return QString(QStringLiteral("The mean of ") + data.StandardName(i)); });
    CheckFinite(statistics.Deviation, where,
                [&] { return QString(QStringLiteral("The deviation of ") + data.StandardName(i)); });
    return statistics;
}

// The point (ln concentration, ln mean) of standard i, when it has one, goes to the
// regression and the chart.
void AddCurvePoint(const TMarnovelData &data, int i, double mean, TLinearRegression &reg,
                   std::vector<double> &distinctX, ICurvePointSink *series1, const QString &where)
{
    double x = 0.0;
    double y = 0.0;
    if (!data.GetRegressionPoint(i, x, mean, y))
        return;
    CheckFinite(x, where, [&] {
        return QString(QStringLiteral("The logarithm of the concentration of ") + data.StandardName(i));
    });
    CheckFinite(y, where, [&] {
        return QString(QStringLiteral("The logarithm of the mean of ") + data.StandardName(i));
    });
    reg.Add(x, y);
    if (std::find(distinctX.begin(), distinctX.end(), x) == distinctX.end())
        distinctX.push_back(x);
    if (series1 != nullptr)
        series1->AddPoint(x, y, TMarnovelData::CurvePointColor, i);
}

// The QC rules of standard i after its completeness: replicate agreement for a low
// standard, else the S1 mean and the %CV. Records each rule applied in qc and returns the
// %CV (none for a low standard).
std::optional<double> CheckStandard(const TMarnovelData &data, int i, int n,
                                    const TStandardStatistics &statistics, TStandardQc &qc,
                                    const QString &where)
{
    const OWCells &stds = data.StdBlocks();
    // The mean of these rules is reduced to single precision first.
    const double singleMean = static_cast<double>(static_cast<float>(statistics.Mean));
    if (data.IsLowStandard(i, n)) {
        // The first failing replicate ends the check; the record keeps the largest
        // deviation examined, which is the failing one when there is one.
        std::optional<TQcCheck> agreement;
        const int examined = std::min(stds.GetCount(), n);
        for (int b = 0; b < examined; ++b) {
            const OWCellBlockBase *block = stds.getCellInteger(b);
            if (block == nullptr || block->Count() <= i || ValidityOf(*block, i) != ValidValue)
                continue;
            const TQcCheck replicate =
                data.CheckStandardReplicate(b, i, stds, singleMean, statistics.Deviation);
            if (!agreement || !replicate.Passed || replicate.Measured > agreement->Measured)
                agreement = replicate;
            if (!replicate.Passed)
                break;
        }
        if (agreement)
            qc.Checks.push_back(*agreement);
        return std::nullopt;
    }
    const double cv = statistics.Deviation / statistics.Mean * 100.0;
    CheckFinite(cv, where, [&] { return QString(QStringLiteral("The %CV of ") + data.StandardName(i)); });
    bool ok = true;
    if (i == 0) {
        qc.Checks.push_back(data.CheckStandardReplicate(-1, i, stds, singleMean, statistics.Deviation));
        ok = qc.Checks.back().Passed;
    }
    if (ok)
        qc.Checks.push_back(data.CheckCv(i, cv));
    return cv;
}

// Raises EMathError unless the fitted line can be used: points at two concentrations at
// least, a finite slope, intercept and correlation.
double CheckedCorrelation(const TLinearRegression &reg, std::size_t distinctConcentrations,
                          const QString &where)
{
    if (distinctConcentrations < 2)
        RaiseMath(where, QStringLiteral("The standard curve needs points at two different concentrations"));
    CheckFinite(reg.Slope(), where, [&] { return QString(QStringLiteral("The slope")); });
    CheckFinite(reg.Intercept(), where, [&] { return QString(QStringLiteral("The intercept")); });
    const double correlation = reg.Correlation();
    CheckFinite(correlation, where, [&] { return QString(QStringLiteral("The correlation")); });
    return correlation;
}

// The run's rules: every standard passed, the correlation, and, while the run is still
// valid, every well of the first n standard blocks holds a number. Returns the verdict.
bool CheckRun(const OWCells &stds, int n, int failedStandards, double correlation, TRunQc &qc)
{
    qc.Run.push_back(CheckQcRule(QcRule::StandardsPass, failedStandards));
    qc.Run.push_back(CheckQcRule(QcRule::Correlation, correlation));
    if (!qc.Run[0].Passed || !qc.Run[1].Passed)
        return false;
    int notNumbers = 0;
    const int examined = std::min(stds.GetCount(), n);
    for (int b = 0; b < examined; ++b) {
        const OWCellBlockBase *block = stds.getCellInteger(b);
        for (int w = 0; block != nullptr && w < block->Count(); ++w)
            if (ValidityOf(*block, w) != ValidValue)
                ++notNumbers;
    }
    qc.Run.push_back(CheckQcRule(QcRule::StandardsComplete, notNumbers));
    return qc.Run.back().Passed;
}

} // namespace

bool TMarnovelData::calc(ICurvePointSink *series1, TLinearRegression &reg, TStringGridData &concGd,
                         TRunQc *qc)
{
    static const QString where = QStringLiteral("TMarnovelData.calc");
    const int n = StdConcSize();
    TStringGridData table = SizedStandardsTable(concGd, n);
    TRunQc runQc;
    runQc.Standards.reserve(static_cast<std::size_t>(n));
    int failedStandards = 0;
    std::vector<double> distinctX;
    distinctX.reserve(static_cast<std::size_t>(n));

    for (int i = 0; i < n; ++i) {
        TStandardQc standardQc;
        standardQc.Name = StandardName(i);
        standardQc.Checks.reserve(3);
        const TReplicates replicates = CollectReplicates(*mStdBlocks, i, where);
        standardQc.Checks.push_back(CheckQcRule(QcRule::ReplicatesComplete, replicates.Incomplete));
        const bool complete = standardQc.Checks.back().Passed;
        const TStandardStatistics statistics = Statistics(*this, i, replicates, where);
        AddCurvePoint(*this, i, statistics.Mean, reg, distinctX, series1, where);
        standardQc.Concentration = StdConc().value(i);
        if (complete)
            standardQc.Mean = statistics.Mean;
        standardQc.Cv = CheckStandard(*this, i, n, statistics, standardQc, where);

        standardQc.Passed = std::all_of(standardQc.Checks.begin(), standardQc.Checks.end(),
                                        [](const TQcCheck &check) { return check.Passed; });
        failedStandards += standardQc.Passed ? 0 : 1;
        runQc.Standards.push_back(std::move(standardQc));
    }

    ResultTexts::FillStandardCells(table, runQc.Standards, 2);
    for (int i = 0; i < n; ++i)
        table[ResultTexts::StandardsQcColumn][i + 1] =
            QcResultText(table[ResultTexts::StandardsQcColumn][i + 1], i);

    const double correlation = CheckedCorrelation(reg, distinctX.size(), where);
    const bool valid = CheckRun(*mStdBlocks, n, failedStandards, correlation, runQc);
    // The subject results, whatever the verdict.
    CalcResults(reg, *mRawData);

    concGd = std::move(table);
    if (qc != nullptr)
        *qc = std::move(runQc);
    return valid;
}
