#include "SessionReportSource.h"

#include "ReportPictures.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "files/RunSession.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "run/MarnovelRdData.h"
#include "run/ResultTexts.h"
#include "run/RunCalculation.h"

#include <algorithm>

namespace {

// Decimals of the concentrations in the standard concentration grid.
constexpr int kStdConcDecimals = 3;

void FillGrid(TTextGrid &grid, const TStringGridData &columns)
{
    int rows = 0;
    for (const QStringList &column : columns)
        rows = std::max(rows, static_cast<int>(column.size()));
    grid.SetColCount(static_cast<int>(columns.size()));
    grid.SetRowCount(rows);
    for (int col = 0; col < columns.size(); ++col)
        for (int row = 0; row < columns.at(col).size(); ++row)
            grid.SetCell(col, row, columns.at(col).at(row));
}

} // namespace

TSessionReportSource::TSessionReportSource(const TRunSession &session, TPictureMaker chart,
                                           TPictureMaker plate, int rawDataGridWidth)
    : mSession(session), mChart(std::move(chart)), mPlate(std::move(plate)),
      mRawDataGridWidth(rawDataGridWidth)
{
    const TMarnovelRdData &data = session.Data();
    const TRunCalculationResult *result = session.LastResult();

    // As the results views fill their grids after a calculation.
    const TResultGridCount count = data.ResultGridCount();
    const OWCells &subjects = data.RawData();
    mResultGrid.SetColCount(count.X + 1);
    mResultGrid.SetRowCount(std::max(result ? subjects.GetCount() + 1 : count.Y, 2));
    mResultGrid.SetCell(0, 0, UiText(TextId::SubjectId));
    for (int col = 1; col < mResultGrid.ColCount(); ++col)
        mResultGrid.SetCell(col, 0, data.resultGridColHeading(col - 1));
    if (result) {
        const int lastColumn = std::min(mResultGrid.ColCount() - 1, OWCellBlockBase::ResultSlotCount);
        for (int k = 0; k < subjects.GetCount(); ++k) {
            const OWCellBlockBase *block = subjects.getCellInteger(k);
            mResultGrid.SetCell(0, k + 1, block->id());
            for (int col = 1; col <= lastColumn; ++col)
                mResultGrid.SetCell(col, k + 1, block->getResult(col - 1));
        }
    }

    FillGrid(mStandardsGrid,
             result ? ResultTexts::StandardsTable(result->Qc.Standards) : BuildStandardsTable(data));

    const int standards = data.StdConcSize();
    mStdConcGrid.SetColCount(2);
    mStdConcGrid.SetRowCount(standards);
    for (int i = 0; i < standards; ++i) {
        mStdConcGrid.SetCell(0, i, data.StandardName(i));
        mStdConcGrid.SetCell(1, i, FormatFixed(data.StdConc().value(i), kStdConcDecimals));
    }

    if (data.ExtentsValid())
        FillRawDataGrid(data, mRawDataGrid);
}

const TMarnovelRdData &TSessionReportSource::RunData() const
{
    return mSession.Data();
}

TRunDetails TSessionReportSource::RunDetails() const
{
    return mSession.Details();
}

double TSessionReportSource::Intercept() const
{
    const TRunCalculationResult *result = mSession.LastResult();
    return result ? result->Intercept : 0.0;
}

double TSessionReportSource::Slope() const
{
    const TRunCalculationResult *result = mSession.LastResult();
    return result ? result->Slope : 0.0;
}

double TSessionReportSource::CorrCoeff() const
{
    const TRunCalculationResult *result = mSession.LastResult();
    return result ? result->Correlation : 0.0;
}

bool TSessionReportSource::PassedCriteria() const
{
    const TRunCalculationResult *result = mSession.LastResult();
    return result && result->Valid;
}

QString TSessionReportSource::RegressResultCaption() const
{
    const TRunCalculationResult *result = mSession.LastResult();
    if (!result)
        return QString();
    return UiText(result->CorrelationPass ? 79 : 80);
}

bool TSessionReportSource::ShouldShowPlateWashingStr() const
{
    // The zero standard's mean, the last standard row.
    return ShouldShowPlateWashing(mStandardsGrid.Cell(2, mSession.Data().StdConcSize()));
}

int TSessionReportSource::GetIdentifierCount() const
{
    return OWCellBlockBase::GetIdentifierCount();
}

QImage TSessionReportSource::ChartPicture() const
{
    if (mChart)
        return mChart();
    if (mChartPicture.isNull()) {
        const TRunCalculationResult *result = mSession.LastResult();
        mChartPicture = PaintCurveChart(result ? result->CurvePoints : std::vector<TRunCurvePoint>(), Slope(),
                                        Intercept(), QSize(ChartPictureWidth, ChartPictureHeight));
    }
    return mChartPicture;
}

QImage TSessionReportSource::PlatePicture() const
{
    if (mPlate)
        return mPlate();
    if (mPlatePicture.isNull()) {
        // Painted as the grid of a full-size window shows the plate, then shown at the
        // picture's size: the values keep their room in the cells.
        constexpr double scale = 1.5;
        mPlatePicture =
            PaintPlate(mSession.Data(), mRawDataGrid,
                       QSize(qRound(PlatePictureWidth * scale), qRound(PlatePictureHeight * scale)));
        mPlatePicture.setDevicePixelRatio(scale);
    }
    return mPlatePicture;
}
