#pragma once

#include "files/RunSession.h"
#include "plate/MarnovelTypes.h"

#include <QDropEvent>
#include <QPoint>
#include <QStringList>
#include <QWidget>

#include "core/TextIds.h"
#include <functional>
#include <memory>

struct TRunCalculationResult;
struct TRunDetails;

class QLineEdit;
class QPainter;
class QPushButton;
class QToolButton;
class IReportSource;
class TAboutBox;
class TMarnovelData;
class TPageControl;
class TRawDataPage;
class TRunDatePicker;
class TRunSessionNotifier;
class TSavedRunRecorder;
class TRunDetailsPage;
class TStandardsResultsPage;
class TSubjectResultsPage;
class TQcTrendsPage;
class TCurveDiagnosticsView;
class TScreenPrintFormCombinedTorvinTandem;

// The main window of the research edition (frmMainCombinedRd): the command bar, the four
// workflow tabs (Run Details, Raw Data, Standards Results, Subject Results) with the
// navigation bar, the QC Trends tab beside them, and the run data object of the whole
// program run.
//
// The four tabs are page classes (pages/) on the run session and its notifier; the window
// coordinates them. Its own code: MainForm.cpp (the frame, file commands, the results clear),
// MainFormResults.cpp (Calculate and the exports), MainFormCombined.cpp (navigation and its
// gates, command bar layout, language, format files, drops) and MainFormPrint.cpp (Print and
// what the report reads).
class TfrmMainCombinedRd : public QWidget
{

public:
    enum TPage
    {
        RunDetailsPage = 0,
        RawDataPage = 1,
        ResultsPage = 2,
        SamplesPage = 3,
        // Outside the workflow: open at any time, never gated.
        TrendsPage = 4
    };

    // Heights of the decorative bars and their stripes.
    static constexpr int BarHeight = 52;
    static constexpr int StripeHeights[3] = {25, 2, 25};
    static constexpr int CommandButtonGap = 3;
    static constexpr int ArrowEdgeGap = 9;

    explicit TfrmMainCombinedRd(QWidget *parent = nullptr);
    ~TfrmMainCombinedRd() override;

    // ---- read by exports, reports and the print window --------------------------------
    TMarnovelData &RunData() const { return *mData; }
    bool DataSaved() const { return !mSession->HasUnsavedResults(); }
    // The session's last calculation: its verdict and curve (false and 0 without one).
    bool PassedCriteria() const { return LastResult() && LastResult()->Valid; }
    double Intercept() const { return LastResult() ? LastResult()->Intercept : 0.0; }
    double Slope() const { return LastResult() ? LastResult()->Slope : 0.0; }
    double CorrCoeff() const { return LastResult() ? LastResult()->Correlation : 0.0; }
    QLineEdit *GetOperatorEd() const;
    QLineEdit *GetKitBatchNoEd() const;
    QLineEdit *GetRunNoEd() const;
    TRunDatePicker *GetRunDateDt() const;
    QString GetRunInfoText() const;
    int StdConcDivider() const;
    // "ddmmmyy" + "_" + run number + ".vdf"
    QString GetSaveFileNameDefault() const;
    // The last calculation while its results are shown; nullptr otherwise.
    const TRunCalculationResult *LastResult() const { return mSession->LastResult(); }
    // The narrowest the last result column may be squeezed to.
    int MinLastColWidth() const;
    TRunDetailsPage &RunDetails() const { return *mRunDetailsPage; }
    TRawDataPage &RawData() const { return *mRawDataPage; }
    TStandardsResultsPage &StandardsResults() const { return *mStandardsPage; }
    TSubjectResultsPage &SubjectResults() const { return *mSubjectsPage; }
    TQcTrendsPage &QcTrends() const { return *mTrendsPage; }
    // The last calculation's zero standard mean above 0.150 (the plate-washing note).
    bool ShouldShowPlateWashingStr() const;
    // Room a result column needs on the canvas: 15 "M" for the identifiers, else the wider
    // of "-999.99¶" and the heading's widest line.
    int getResultCellWidth(int column, const QPainter &canvas, const QString &heading) const;

    // ---- operations of the other windows ----------------------------------------------
    // The about window shown by About and re-texted on a language change (not owned).
    void SetAboutBox(TAboutBox *aboutBox) { mAboutBox = aboutBox; }
    // The print window opened by Print and re-texted on a language change (not owned).
    void SetPrintWindow(TScreenPrintFormCombinedTorvinTandem *printWindow) { mPrintWindow = printWindow; }
    void SetCurveType(TCurveType curveType);
    // Opens a run data file as Load does after its dialog (a file named at start).
    void OpenRunFile(const QString &fileName);
    // Records every calculated run Save File writes; its archiveChanged() follows each new
    // or replaced record.
    TSavedRunRecorder &ArchiveRecorder() const { return *mArchiveRecorder; }

    // ---- state ----------------------------------------------------------------------
    int ActivePage() const;
    void SetActivePage(int index);
    // Switches the catalogue, stores it as the language of the next start and puts every
    // text of this window and its tool windows again.
    void ChangeLanguage(const QString &resourceName);
    // Silent: true when the run details are complete or another workflow tab is active.
    bool ValidateRunDetails(bool withMessage);

    // Commands of the command bar, as the buttons run them.
    void closepbClick();
    void newTestPbClick();
    void loadPbClick();
    void saveAsPbClick();
    void btnLoadFormatClick();
    void btnSaveFormatClick();
    void aboutPbClick();
    // Opens the print window on this window's run (MainFormPrint.cpp).
    void printPbClick();
    // The report of the run: the session with the run details shown, made anew on each call
    // (the last one stays alive for the print window).
    const IReportSource &ReportSource();
    void calcCurvePbClick();
    void resultsExportPbClick();
    void rawDataExportPbClick();

    // Puts every window geometry rule into effect for the current size.
    void ArrangeLayout();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    // The language keys, wherever the focus is in this window.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // ---- layer 1: the frame ---------------------------------------------------------
    void BuildCommandBar();
    void BuildPages();
    void ConnectHandlers();
    void SetWindowCaption();
    void InitializeText();
    // The one question before unsaved results go: Yes saves them first (a failed save keeps
    // them), No lets them go, Cancel keeps them. A cancelled Save As lets them go, except when
    // the window is closing: then it keeps the window open.
    bool ConfirmDiscardUnsaved(bool closing = false);
    void ClearResults(bool keepConcentrations, bool clearAll);
    // The run details as the Run Details tab shows them.
    TRunDetails RunDetailsShown() const;
    QString ExportText(QString (TRunSession::*text)() const);
    std::function<QByteArray()> RunWorkbookSource(); // the export dialog's workbook
    void SetResultCommandsEnabled(bool enabled);
    void RestoreWindowPosition();
    void StoreWindowPosition();
    // Save As with the default name.
    enum class TSaveOutcome
    {
        Cancelled,
        Saved,
        Failed // the reason shown
    };
    TSaveOutcome SaveRunAs();
    // A calculated run is also recorded in the archive; a save never fails because of it.
    bool SaveData(const QString &fileName);
    void LoadRunFile(const QString &fileName);
    void LoadData(const QString &fileName);
    [[noreturn]] void LoadOldFileFormat(const QString &fileName);
    // The views follow the run: each signal of the notifier repaints what it concerns.
    void ConnectSessionViews();

    // ---- layer 2: navigation, header, layout, language --------------------------------
    void UpdateNavigation();
    // The active tab, or on the trends tab the workflow tab it was opened from: the gates
    // judge a change from there.
    int WorkflowPage() const;
    void btnPageLeftClick();
    void btnPageRightClick();
    bool PageControl1Changing(int toIndex);
    void PageControl1Change();
    void RunDetailsTextChange();
    void LayoutCommandBar();
    void LayoutNavigationBar();
    void CreateLanguageShortcuts();

    // ---- run data and state ---------------------------------------------------------
    // The run and its workflow steps, shared with the headless tool; mData is its run data.
    std::unique_ptr<TRunSession> mSession;
    TMarnovelData *mData = nullptr;
    TRunSessionNotifier *mNotifier = nullptr;
    TSavedRunRecorder *mArchiveRecorder = nullptr;
    bool mPositioned = false;
    TAboutBox *mAboutBox = nullptr;
    TScreenPrintFormCombinedTorvinTandem *mPrintWindow = nullptr;
    // What the report pages read from this window; made on the first Print.
    std::shared_ptr<IReportSource> mReportSource;

    // ---- controls (object names as the controls are known) ------------------------------
    QWidget *Panel1;
    QWidget *pnlTopLine1, *pnlTopLine2, *pnlTopLine3;
    QPushButton *closepb, *newTestPb, *loadPb, *saveAsPb, *btnLoadFormat, *btnSaveFormat, *printPb,
        *resultsExportPb, *rawDataExportPb, *aboutPb;
    TPageControl *PageControl1;
    QWidget *runDetailsSheet, *rawDataSheet, *resultsSheet, *samplesSheet;
    QWidget *pnlNavigation;
    QWidget *pnlBottomLine1, *pnlBottomLine2, *pnlBottomLine3;
    QToolButton *btnPageLeft, *btnPageRight;

    TRunDetailsPage *mRunDetailsPage;

    TRawDataPage *mRawDataPage;
    TStandardsResultsPage *mStandardsPage;
    TSubjectResultsPage *mSubjectsPage;
    TQcTrendsPage *mTrendsPage;
    TCurveDiagnosticsView *mDiagnosticsView;
    int mWorkflowPage = RunDetailsPage;
};
