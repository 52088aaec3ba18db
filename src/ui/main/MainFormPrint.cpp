// The Print button and what the report pages read from this window.
#include "MainFormCombinedRd.h"
#include "ui/main/grids/RawDataGrid.h"
#include "ui/main/grids/ResultsViews.h"
#include "ui/main/grids/StdConcGrid.h"
#include "ui/main/pages/RunDetailsPage.h"
#include "ui/main/pages/StandardsResultsPage.h"
#include "ui/main/pages/SubjectResultsPage.h"

#include "files/ExportTexts.h"
#include "plate/CellBlock.h"
#include "plate/TextGrid.h"
#include "platform/ReportPictures.h"
#include "reports/PrintScreen.h"
#include "reports/ReportSource.h"
#include "run/MarnovelRdData.h"

#include <QLabel>

namespace {

// A grid of the window read as text cells; the report never writes to it.
template <typename Grid> class TShownGrid : public ITextGrid
{
public:
    explicit TShownGrid(const Grid &grid) : mGrid(grid) {}
    int ColCount() const override { return mGrid.columnCount(); }
    int RowCount() const override { return mGrid.rowCount(); }
    void SetColCount(int) override {}
    void SetRowCount(int) override {}
    QString Cell(int pCol, int pRow) const override { return mGrid.Cell(pCol, pRow); }
    void SetCell(int, int, const QString &) override {}

private:
    const Grid &mGrid;
};

} // namespace

// The run as this window shows it: its grids, its curve details and run detail edits, and the
// pictures taken after the last load and calculation.
class TMainWindowReportSource : public IReportSource
{
public:
    explicit TMainWindowReportSource(const TfrmMainCombinedRd &window)
        : mWindow(window), mResults(*window.mSubjectsPage->ResultGrid()),
          mStandards(*window.mStandardsPage->StandardsGrid()),
          mStdConc(*window.mRunDetailsPage->StdConcGrid())
    {
    }

    const TMarnovelRdData &RunData() const override { return mWindow.mSession->Data(); }
    TRunDetails RunDetails() const override { return mWindow.RunDetailsShown(); }
    const ITextGrid &ResultGrid() const override { return mResults; }
    const ITextGrid &StandardsGrid() const override { return mStandards; }
    const ITextGrid &StdConcGrid() const override { return mStdConc; }
    const ITextGrid &RawDataGrid() const override { return *mWindow.rawDataGd; }
    double Intercept() const override { return mWindow.Intercept(); }
    double Slope() const override { return mWindow.Slope(); }
    double CorrCoeff() const override { return mWindow.CorrCoeff(); }
    bool PassedCriteria() const override { return mWindow.PassedCriteria(); }
    QString RegressResultCaption() const override { return mWindow.mStandardsPage->RegressResultCaption(); }
    bool ShouldShowPlateWashingStr() const override { return mWindow.ShouldShowPlateWashingStr(); }
    int GetIdentifierCount() const override { return OWCellBlockBase::GetIdentifierCount(); }
    QImage ChartPicture() const override { return GetReportPictures().GetChartBMP().toImage(); }
    QImage PlatePicture() const override { return GetReportPictures().GetPlateBMP().toImage(); }
    int RawDataGridWidth() const override { return mWindow.rawDataGd->width(); }

private:
    const TfrmMainCombinedRd &mWindow;
    TShownGrid<TResultGrid> mResults;
    TShownGrid<TStandardsGrid> mStandards;
    TShownGrid<TStdConcGrid> mStdConc;
};

const IReportSource &TfrmMainCombinedRd::ReportSource()
{
    if (!mReportSource)
        mReportSource = std::make_shared<TMainWindowReportSource>(*this);
    return *mReportSource;
}

void TfrmMainCombinedRd::printPbClick()
{
    if (mPrintWindow)
        mPrintWindow->ShowPrintWindow(ReportSource(), TScreenPrintFormCombinedTorvinTandem::DefaultGapMm,
                                      OWCellBlockBase::GetIdentifierCount() > 0);
}
