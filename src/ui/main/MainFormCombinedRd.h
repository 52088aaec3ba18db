#pragma once

#include "files/RunSession.h"
#include "plate/MarnovelTypes.h"
#include "ui/format/ManualFormatToolbarForm.h"
#include "ui/main/dialogs/ManualDataEntryForm.h"

#include <QDropEvent>
#include <QPoint>
#include <QStringList>
#include <QWidget>

#include "core/TextIds.h"
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
class TRawDataGrid;
class TRunDatePicker;
class TRunSessionNotifier;
class TRunDetailsPage;
class TStandardsResultsPage;
class TSubjectResultsPage;
class TScreenPrintFormCombinedTorvinTandem;

// The main window of the research edition (frmMainCombinedRd): the command bar, the four
// tabs (Run Details, Raw Data, Standards Results, Subject Results) with the navigation
// bar, and the run data object of the whole program run.
//
// The Run Details, Standards Results and Subject Results tabs are page classes (pages/) on the
// run session and its notifier; the window coordinates them. Its own code, after the layers
// of the window: MainForm.cpp (the frame, file commands, the results clear),
// MainFormResults.cpp (Calculate and the exports), MainFormCombined.cpp (navigation and its
// gates, command bar layout, language, format files), MainFormRawData.cpp and
// MainFormManualFormat.cpp (the Raw Data tab: paste, drop, manual data entry, the grid's
// mouse, manual formatting) and MainFormPrint.cpp (Print and what the report reads).
class TfrmMainCombinedRd : public QWidget
{

public:
    enum TPage
    {
        RunDetailsPage = 0,
        RawDataPage = 1,
        ResultsPage = 2,
        SamplesPage = 3
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
    TStandardsResultsPage &StandardsResults() const { return *mStandardsPage; }
    TSubjectResultsPage &SubjectResults() const { return *mSubjectsPage; }
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
    void ClearStandardsAndSamples();
    void SetCurveType(TCurveType curveType);
    // The run data's plate text and blocks shown in the raw data grid.
    void ShowRunDataInGrid();
    // Opens a run data file as Load does after its dialog (a file named at start).
    void OpenRunFile(const QString &fileName);

    // ---- state ----------------------------------------------------------------------
    bool CanCalculate() const;
    bool RawDataHasData() const;
    int LastColumnWithData() const;
    int ActivePage() const;
    void SetActivePage(int index);
    // Switches the catalogue, stores it as the language of the next start and puts every
    // text of this window and its tool windows again.
    void ChangeLanguage(const QString &resourceName);
    // Silent: true when the run details are complete or another tab is active.
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

    // ---- raw data in: paste, drop, manual data entry, the grid's mouse ----------------------
    void pastePbClick();
    void btnManualDataEntryClick();
    bool GetIsManualEditMode() const { return mManualDataEntryMode; }
    void SetIsManualEditMode(bool on);
    // A dropped data object, taken as a paste takes the clipboard's.
    void DropDataObject(const QMimeData *data);

    // ---- manual formatting (MainFormManualFormat.cpp) --------------------------------------
    TfrmManualFormatToolbar *ManualFormatToolbar() const { return fManualFormatToolbar.get(); }
    // Opens the toolbar; the run cannot be calculated while it is open.
    void btnManualFormatClick();
    // Takes away the block being placed label by label.
    void RemoveRandomBlockBeingAdded();

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
    void BuildRawDataPage();
    void ConnectHandlers();
    void SetWindowCaption();
    void InitializeText();
    // The one question before unsaved results go: Yes saves them first (a failed save keeps
    // them), No lets them go, Cancel keeps them. A cancelled Save As lets them go, except when
    // the window is closing: then it keeps the window open.
    bool ConfirmDiscardUnsaved(bool withCancel, bool closing = false);
    void ClearResults(bool keepConcentrations, bool clearAll);
    // The run details as the Run Details tab shows them.
    TRunDetails RunDetailsShown() const;
    QString ExportText(QString (TRunSession::*text)() const);
    void SetCalculateButtonState();
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
    bool SaveData(const QString &fileName);
    void LoadRunFile(const QString &fileName);
    void LoadData(const QString &fileName);
    [[noreturn]] void LoadOldFileFormat(const QString &fileName);
    // The views follow the run: each signal of the notifier repaints what it concerns.
    void ConnectSessionViews();
    void ShowLayout();

    // ---- layer 2: navigation, header, layout, language --------------------------------
    void UpdateNavigation();
    void btnPageLeftClick();
    void btnPageRightClick();
    bool PageControl1Changing(int toIndex);
    void PageControl1Change();
    void RunDetailsTextChange();
    void LayoutCommandBar();
    void LayoutNavigationBar();
    void CreateLanguageShortcuts();
    // The plate as typed into the grid, into the run; false, with text 126 shown, when refused.
    bool TakeTypedPlate();

    // ---- raw data in (MainFormRawData.cpp) ---------------------------------------------
    void ConnectRawDataHandlers();
    // A pasted or dropped plate into the run data and the grid, after the question about
    // unsaved results; false, with the reason shown (texts 118, 126, 182), when refused, which
    // changes nothing.
    bool TakePlateDataObject(const QMimeData *data);
    void AfterDataPasted(bool pasted);
    // The run data's plate text into the grid; an empty plate text leaves an empty grid.
    void CopyRunDataToGrid();
    // Columns 1-12 of rows 1-8 of the grid, as the snapshot keeps them.
    QList<QStringList> GridPlateColumns() const;
    void SnapshotRawDataGrid();
    // Manual data entry off and its window hidden, with nothing put back (New Test).
    void EndManualDataEntry();
    void RestoreRawDataGrid();
    void MoveManualEntryCell(int key);
    void rawDataGdKeyPress(int key);
    void rawDataGdKeyUp(int key);
    void rawDataGdMouseDown(Qt::MouseButton button, QPoint cell, QPoint globalPos);
    void rawDataGdMouseUp(Qt::MouseButton button, QPoint cell);
    void RunBlockMenu(QPoint cell, QPoint globalPos);
    void RenameBlockAt(QPoint cell);
    // The manual data entry window closing after Complete or Cancel; false keeps it open.
    bool ManualDataEntryClosing(bool completePressed);
    void ManualDataEntryClearAll();

    // ---- manual formatting (MainFormManualFormat.cpp) --------------------------------------
    void CreateManualFormatToolbar();
    bool ManualFormatToolbarVisible() const;
    bool ManualFormatRandomInProgress() const;
    // The toolbar places a sample on every free well with a value at the next release.
    bool ManualFormatPlacesAllSamples() const;
    // The toolbar open or a block being placed: nothing to calculate yet.
    bool ManualFormatBlocksCalculation() const;
    // A left press or release on the grid while the toolbar is open; true when taken.
    bool ManualFormatMouseDown(Qt::MouseButton button, QPoint cell);
    bool ManualFormatMouseUp(Qt::MouseButton button, QPoint cell);
    // False: the toolbar stays open.
    bool ManualFormatCancel();
    bool ManualFormatCloseQuery();
    void ManualFormatClearAll();
    void ManualFormatCurveTypeChanged();
    // Every block is gone: none of them is one for Cancel to take away or to finish.
    void ManualFormatLayoutCleared();
    void HideManualFormatToolbar();
    void BringManualFormatToolbarToFront();

    // Forgets the last calculation (and with it the unsaved results: a prompt never offers to
    // save what Save File cannot) and shows the results tabs without it.
    void ClearResultsDisplay();

    // ---- run data and state ---------------------------------------------------------
    // The run and its workflow steps, shared with the headless tool; mData is its run data.
    std::unique_ptr<TRunSession> mSession;
    TMarnovelData *mData = nullptr;
    TRunSessionNotifier *mNotifier = nullptr;
    bool mManualDataEntryMode = false;
    QPoint fManualEntryLastCell{-1, -1};
    QList<QStringList> fSnapShotRawDataGrid; // columns 1-12 of rows 1-8
    QPoint fPointToMove{-1, -1};
    bool fDraggingCell = false;
    int fManualFormatStandardsCount = 0;
    int fManualFormatSamplesCount = 0;
    TfrmManualDataEntryForm *ffrmManualDataEntryForm = nullptr;
    bool mPositioned = false;
    TAboutBox *mAboutBox = nullptr;
    // The last press with the toolbar open was refused with text 150: should its release
    // reach the grid, it places nothing. The next press or hiding the toolbar forgets it.
    bool mManualFormatPressRefused = false;
    bool mManualFormatToolbarPlaced = false;
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

    TRawDataGrid *rawDataGd;
    QWidget *Panel3;
    QPushButton *pastePb, *btnManualDataEntry, *btnManualFormat, *calcCurvePb;

    TStandardsResultsPage *mStandardsPage;
    TSubjectResultsPage *mSubjectsPage;

    // Declared last, so that it goes first, while the run data it shows still exists.
    std::unique_ptr<TfrmManualFormatToolbar> fManualFormatToolbar;
};
