#pragma once

#include <QList>
#include <QPoint>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class QMimeData;
class QPushButton;
class TfrmManualDataEntryForm;
class TfrmManualFormatToolbar;
class TMarnovelData;
class TRawDataGrid;
class TRunSession;
class TRunSessionNotifier;

// The Raw Data tab (rawDataSheet): the plate grid and the paste, manual data entry, manual format
// and Calculate buttons, with the manual data entry window and the manual format toolbar. The
// plate comes in as notifier steps (paste, drop, typed values, blocks placed or removed); the
// grid repaints when the plate or the layout changes. Calculate is the window's command: the
// page only says when it may run.
class TRawDataPage : public QWidget
{
    Q_OBJECT

public:
    TRawDataPage(TRunSession &session, TRunSessionNotifier &notifier, QWidget *parent = nullptr);
    ~TRawDataPage() override;

    // Asked before a change that ends unsaved results; false keeps things as they are. Alone,
    // a page asks nothing.
    void SetDiscardQuery(std::function<bool()> query) { mDiscardQuery = std::move(query); }

    TRawDataGrid *Grid() const { return rawDataGd; }
    QPushButton *PasteButton() const { return pastePb; }
    QPushButton *ManualFormatButton() const { return btnManualFormat; }
    QPushButton *CalculateButton() const { return calcCurvePb; }
    TfrmManualFormatToolbar *ManualFormatToolbar() const { return fManualFormatToolbar.get(); }

    bool CanCalculate() const;
    bool RawDataHasData() const;
    int LastColumnWithData() const;
    // Calculate enabled as CanCalculate says.
    void UpdateCalculateButton();
    // The plate as typed into the grid, into the run; false, with text 126 shown, when refused.
    bool TakeTypedPlate();
    // A dropped data object, taken as a paste takes the clipboard's.
    void DropDataObject(const QMimeData *data);
    // The grid's columns as wide as the run's plate needs.
    void FitColumns();

    // ---- manual data entry ----------------------------------------------------------------
    bool IsManualEditMode() const { return mManualDataEntryMode; }
    void SetManualEditMode(bool on);
    // Manual data entry off and its window hidden, with nothing put back (New Test).
    void EndManualDataEntry();

    // ---- the layout -------------------------------------------------------------------------
    // Every block goes, and every result shown with them.
    void ClearStandardsAndSamples();
    // Every block is gone: none of them is one for Cancel to take away or to finish.
    void LayoutCleared();
    // Takes away the block being placed label by label.
    void RemoveRandomBlockBeingAdded();

    // Fonts and texts again in the current language, the tool windows' as well.
    void Retranslate();

private:
    void BuildControls();
    void ConnectHandlers();
    void CreateManualFormatToolbar();
    bool ConfirmDiscard() const { return !mDiscardQuery || mDiscardQuery(); }
    const TMarnovelData &Data() const;

    // ---- the plate shown -------------------------------------------------------------------
    void ShowRunDataInGrid();
    void ShowLayout();

    // ---- raw data in -------------------------------------------------------------------------
    void pastePbClick();
    // A pasted or dropped plate into the run, after the question about unsaved results; false,
    // with the reason shown (texts 118, 126, 182), when refused, which changes nothing.
    bool TakePlateDataObject(const QMimeData *data);
    // Columns 1-12 of rows 1-8 of the grid, as the snapshot keeps them.
    QList<QStringList> GridPlateColumns() const;
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

    // ---- manual formatting -------------------------------------------------------------------
    void btnManualFormatClick();
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
    void HideManualFormatToolbar();
    void BringManualFormatToolbarToFront();

    const TRunSession &mSession;
    TRunSessionNotifier &mNotifier;
    std::function<bool()> mDiscardQuery;
    bool mManualDataEntryMode = false;
    QPoint fManualEntryLastCell{-1, -1};
    QList<QStringList> fSnapShotRawDataGrid; // columns 1-12 of rows 1-8
    QPoint fPointToMove{-1, -1};
    bool fDraggingCell = false;
    int fManualFormatStandardsCount = 0;
    int fManualFormatSamplesCount = 0;
    // The last press with the toolbar open was refused with text 150: should its release
    // reach the grid, it places nothing. The next press or hiding the toolbar forgets it.
    bool mManualFormatPressRefused = false;
    bool mManualFormatToolbarPlaced = false;

    TRawDataGrid *rawDataGd;
    QWidget *Panel3;
    QPushButton *pastePb, *btnManualDataEntry, *btnManualFormat, *calcCurvePb;
    TfrmManualDataEntryForm *ffrmManualDataEntryForm = nullptr;
    std::unique_ptr<TfrmManualFormatToolbar> fManualFormatToolbar;
};
