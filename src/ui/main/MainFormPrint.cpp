// The Print button and the report of the window's run.
#include "MainFormCombinedRd.h"
#include "ui/main/grids/RawDataGrid.h"
#include "ui/main/pages/RawDataPage.h"

#include "files/RunSession.h"
#include "plate/CellBlock.h"
#include "reports/SessionReportSource.h"
#include "ui/print/PrintScreen.h"

// The report reads the session with the run details as shown, and the window's raw data grid
// width for the preview of the curve page.
const IReportSource &TfrmMainCombinedRd::ReportSource()
{
    mSession->SetDetails(RunDetailsShown());
    mReportSource = std::make_shared<TSessionReportSource>(*mSession, TSessionReportSource::TPictureMaker(),
                                                           TSessionReportSource::TPictureMaker(),
                                                           mRawDataPage->Grid()->width());
    return *mReportSource;
}

void TfrmMainCombinedRd::printPbClick()
{
    if (mPrintWindow)
        mPrintWindow->ShowPrintWindow(ReportSource(), TScreenPrintFormCombinedTorvinTandem::DefaultGapMm,
                                      OWCellBlockBase::GetIdentifierCount() > 0);
}
