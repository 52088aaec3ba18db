// Calculate, what the window reads of the results tabs, and the two exports. The pages show
// what the last calculation gave; painting them never calculates.

#include "MainFormCombinedRd.h"

#include "CurveChart.h"
#include "RunDatePicker.h"
#include "RunSessionNotifier.h"
#include "core/Messages.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "files/ExportTexts.h"
#include "platform/WindowTools.h"
#include "reports/ReportSource.h"
#include "run/MarnovelData.h"
#include "run/RunCalculation.h"
#include "ui/main/dialogs/ExportSelectionForm.h"
#include "ui/main/grids/RawDataGrid.h"
#include "ui/main/grids/ResultsViews.h"
#include "ui/main/pages/RawDataPage.h"
#include "ui/main/pages/StandardsResultsPage.h"
#include "ui/main/pages/SubjectResultsPage.h"
#include "workbook/RunWorkbook.h"

#include <QPushButton>
#include <QToolButton>

using namespace Qt::StringLiterals;

// ---- the results as the session has them ----------------------------------------------------

int TfrmMainCombinedRd::MinLastColWidth() const
{
    return mSubjectsPage->MinLastColWidth();
}

bool TfrmMainCombinedRd::ShouldShowPlateWashingStr() const
{
    const TRunCalculationResult *result = mSession->LastResult();
    return result && result->PlateWashNote;
}

int TfrmMainCombinedRd::getResultCellWidth(int column, const QPainter &canvas, const QString &heading) const
{
    return ReportResultCellWidth(column, canvas, heading);
}

// ---- Calculate --------------------------------------------------------------------------------

void TfrmMainCombinedRd::calcCurvePbClick()
{
    if (mRawDataPage->IsManualEditMode())
        mRawDataPage->TakeTypedPlate();
    // The same calculation as the tool's, so that both show the same texts. A refused one
    // (text 185) leaves nothing of an earlier calculation on the results tabs: the step
    // discards it and the pages repaint.
    if (!mNotifier->Calculate().Ok())
        return;
    mRawDataPage->CalculateButton()->setEnabled(false);
    SetActivePage(ResultsPage);
    UpdateNavigation();
    mStandardsPage->ArrangeLayout();
    mStandardsPage->StandardsGrid()->clearSelection();
    SetFocusIfEnabled(btnPageRight);
}

// ---- exports ------------------------------------------------------------------------------------

// The exports are the tool's: the run workflow builds them with the run details shown.
QString TfrmMainCombinedRd::ExportText(QString (TRunSession::*text)() const)
{
    mNotifier->SetDetails(RunDetailsShown());
    return (mSession.get()->*text)();
}

// The run's workbook as the details stand when it is chosen; the dialog is window-modal, so
// they are the ones the export text was made with.
std::function<QByteArray()> TfrmMainCombinedRd::RunWorkbookSource()
{
    return [this] {
        mNotifier->SetDetails(RunDetailsShown());
        return RunWorkbookBytes(*mSession);
    };
}

void TfrmMainCombinedRd::resultsExportPbClick()
{
    const QString text = ExportText(&TRunSession::ResultsExportText);
    if (text.isEmpty())
        return; // nothing calculated
    RunExportSelection(this, text, u"ResultExp"_s, GetRunDateDt()->date(), RunWorkbookSource(),
                       [](TExportSelectionType type) {
                           if (type == EXP_CLIPBOARD)
                               ShowNotice(UiText(TextId::ResultsCopied));
                       });
}

void TfrmMainCombinedRd::rawDataExportPbClick()
{
    const QString text = ExportText(&TRunSession::RawDataExportText);
    if (text.isEmpty())
        return;
    RunExportSelection(this, text, u"DataExp"_s, GetRunDateDt()->date(), RunWorkbookSource(),
                       [](TExportSelectionType type) {
                           if (type == EXP_CLIPBOARD)
                               ShowNotice(UiText(TextId::RawDataCopied));
                       });
}
