// Bringing the optical densities in: paste, drop and manual data entry; and what the mouse
// does on the plate grid outside the manual format toolbar (renaming a block, the block
// menu).

#include "MainFormCombinedRd.h"

#include "BlockMenu.h"
#include "RunSessionNotifier.h"
#include "core/DataObjectText.h"
#include "core/Exceptions.h"
#include "core/Messages.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "platform/ExceptionBoundary.h"
#include "platform/WindowTools.h"
#include "run/ManualFormat.h"
#include "run/MarnovelData.h"
#include "ui/main/dialogs/ManualDataEntryForm.h"
#include "ui/main/dialogs/SubjectNameForm.h"
#include "ui/main/grids/RawDataGrid.h"

#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QPoint kNoCell(-1, -1);

bool IsEnter(int key)
{
    return key == Qt::Key_Enter || key == Qt::Key_Return;
}

} // namespace

void TfrmMainCombinedRd::ConnectRawDataHandlers()
{
    ffrmManualDataEntryForm = new TfrmManualDataEntryForm(this);
    connect(ffrmManualDataEntryForm, &TfrmManualDataEntryForm::clearAllClicked, this,
            Guarded(this, &TfrmMainCombinedRd::ManualDataEntryClearAll));
    connect(ffrmManualDataEntryForm, &TfrmManualDataEntryForm::closeRequested, this,
            [this](bool completePressed) {
                RunGuarded([&] {
                    if (!ManualDataEntryClosing(completePressed))
                        ffrmManualDataEntryForm->KeepOpen();
                });
            });

    connect(pastePb, &QPushButton::clicked, this, Guarded(this, &TfrmMainCombinedRd::pastePbClick));
    connect(btnManualDataEntry, &QPushButton::clicked, this,
            Guarded(this, &TfrmMainCombinedRd::btnManualDataEntryClick));
    connect(rawDataGd, &TRawDataGrid::keyPress, this, Guarded(this, &TfrmMainCombinedRd::rawDataGdKeyPress));
    connect(rawDataGd, &TRawDataGrid::keyUp, this, Guarded(this, &TfrmMainCombinedRd::rawDataGdKeyUp));
    connect(rawDataGd, &TRawDataGrid::mouseDown, this,
            Guarded(this, &TfrmMainCombinedRd::rawDataGdMouseDown));
    connect(rawDataGd, &TRawDataGrid::mouseUp, this, Guarded(this, &TfrmMainCombinedRd::rawDataGdMouseUp));
    setAcceptDrops(true);
    CreateManualFormatToolbar();
}

// ---- paste and drop ---------------------------------------------------------------------------

void TfrmMainCombinedRd::pastePbClick()
{
    const std::unique_ptr<QMimeData> data = PlainTextDataObject(QGuiApplication::clipboard()->mimeData());
    if (TakePlateDataObject(data.get()))
        AfterDataPasted(true);
    if (pastePb->isEnabled())
        btnManualDataEntry->setEnabled(true);
}

bool TfrmMainCombinedRd::TakePlateDataObject(const QMimeData *data)
{
    // A refused plate changes nothing: grid, layout, results and run details stay.
    if (const TRunStepResult check = mSession->CheckPlateDataObject(data); !check.Ok()) {
        ShowErrorMessage(check.Text());
        return false;
    }
    // The plate replaces the one unsaved results were calculated from: asked first, with the
    // old plate in place for Save As.
    if (mSession->HasUnsavedResults() && !ConfirmDiscardUnsaved(true))
        return false;
    return mNotifier->SetPlateDataObject(data).Ok();
}

void TfrmMainCombinedRd::AfterDataPasted(bool pasted)
{
    if (!pasted)
        return;
    SetCalculateButtonState();
    SetFocusIfEnabled(btnManualFormat);
}

void TfrmMainCombinedRd::CopyRunDataToGrid()
{
    // An empty text is a plate of no columns and rows; the grid keeps its headings.
    if (mData->XExtent() == 0 && mData->YExtent() == 0) {
        rawDataGd->ResetRawDataGrid();
        return;
    }
    mData->copyDataToStringgrid(*rawDataGd);
}

void TfrmMainCombinedRd::DropDataObject(const QMimeData *data)
{
    const std::unique_ptr<QMimeData> plain = PlainTextDataObject(data);
    TakePlateDataObject(plain.get());
}

void TfrmMainCombinedRd::dragEnterEvent(QDragEnterEvent *event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TfrmMainCombinedRd::dragMoveEvent(QDragMoveEvent *event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TfrmMainCombinedRd::dropEvent(QDropEvent *event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // The data is taken now; it is read after the drop has ended, so that a message about it
    // never holds up the program the data came from.
    std::shared_ptr<QMimeData> data = PlainTextDataObject(event->mimeData());
    QMetaObject::invokeMethod(
        this, [this, data] { RunGuarded([&] { DropDataObject(data.get()); }); }, Qt::QueuedConnection);
}

// ---- manual data entry ------------------------------------------------------------------------

void TfrmMainCombinedRd::btnManualDataEntryClick()
{
    SetIsManualEditMode(true);
}

void TfrmMainCombinedRd::SetIsManualEditMode(bool on)
{
    if (!on) {
        rawDataGd->CloseEditor();
        rawDataGd->SetEditing(false);
        btnManualFormat->setEnabled(true);
        pastePb->setEnabled(true);
        mManualDataEntryMode = false;
        return;
    }
    // Started again while on, the first snapshot stays what Cancel goes back to.
    const bool starting = !mManualDataEntryMode;
    if (starting) {
        SnapshotRawDataGrid();
        ffrmManualDataEntryForm->ResetCompletePressed();
    }
    mManualDataEntryMode = true;
    HideManualFormatToolbar();
    btnManualFormat->setEnabled(false);
    pastePb->setEnabled(false);
    rawDataGd->SetColCount(PlateGridColumnCount);
    rawDataGd->SetRowCount(PlateGridRowCount);
    rawDataGd->SetEditing(true);
    if (starting) {
        // Typing starts at A1, wherever the grid's current cell was left, with no key
        // release of an earlier entry remembered.
        rawDataGd->SetCurrentCell(1, 1);
        fManualEntryLastCell = QPoint(-1, -1);
    }
    // No calculation from half-typed data.
    SetCalculateButtonState();
    rawDataGd->setFocus();
    rawDataGd->OpenEditor();
    ffrmManualDataEntryForm->show();
    ffrmManualDataEntryForm->raise();
}

QList<QStringList> TfrmMainCombinedRd::GridPlateColumns() const
{
    QList<QStringList> columns;
    for (int col = 1; col <= PlateColumnCount; ++col) {
        QStringList column;
        for (int row = 1; row <= PlateRowCount; ++row)
            column << rawDataGd->Cell(col, row);
        columns << column;
    }
    return columns;
}

void TfrmMainCombinedRd::SnapshotRawDataGrid()
{
    fSnapShotRawDataGrid = GridPlateColumns();
}

void TfrmMainCombinedRd::EndManualDataEntry()
{
    if (!mManualDataEntryMode)
        return;
    SetIsManualEditMode(false);
    fSnapShotRawDataGrid.clear();
    ffrmManualDataEntryForm->hide();
}

void TfrmMainCombinedRd::RestoreRawDataGrid()
{
    for (int col = 1; col <= PlateColumnCount; ++col) {
        for (int row = 1; row <= PlateRowCount; ++row) {
            const QStringList column = fSnapShotRawDataGrid.value(col - 1);
            rawDataGd->SetCell(col, row, column.value(row - 1));
        }
    }
}

void TfrmMainCombinedRd::MoveManualEntryCell(int key)
{
    const QPoint current = rawDataGd->CurrentCell();
    if (current.x() < 1 || current.y() < 1) {
        rawDataGd->SetCurrentCell(1, 1);
        return;
    }
    const int lastCol = rawDataGd->ColCount() - 1;
    const int lastRow = rawDataGd->RowCount() - 1;
    int col = current.x();
    int row = current.y();
    if (IsEnter(key) || key == Qt::Key_Down) {
        if (row < lastRow) {
            ++row;
        } else {
            row = 1;
            col = col < lastCol ? col + 1 : 1;
        }
    } else if (key == Qt::Key_Up) {
        if (row > 1) {
            --row;
        } else {
            row = lastRow;
            col = col > 1 ? col - 1 : lastCol;
        }
    }
    rawDataGd->SetCurrentCell(col, row);
}

void TfrmMainCombinedRd::rawDataGdKeyPress(int key)
{
    if (IsEnter(key))
        MoveManualEntryCell(key);
}

void TfrmMainCombinedRd::rawDataGdKeyUp(int key)
{
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        // Still on the cell of the last release: the grid stood at its edge.
        if (rawDataGd->CurrentCell() == fManualEntryLastCell)
            MoveManualEntryCell(key);
        rawDataGd->CloseEditor();
        rawDataGd->setFocus();
        rawDataGd->OpenEditor();
    }
    fManualEntryLastCell = rawDataGd->CurrentCell();
}

bool TfrmMainCombinedRd::ManualDataEntryClosing(bool completePressed)
{
    if (!mManualDataEntryMode)
        return true;
    // What is typed in the open editor belongs to the grid before anything is decided.
    rawDataGd->CloseEditor();
    const auto keepOpen = [this] {
        rawDataGd->setFocus();
        rawDataGd->OpenEditor();
        return false;
    };
    if (completePressed) {
        if (LastColumnWithData() < mData->IndexColOfLastFormatStrip()) {
            ShowErrorMessage(UiText(TextId::MoreStripsThanData));
            return keepOpen();
        }
        // Typed values replace the plate of unsaved results: asked first (Cancel: typing goes on).
        const bool edited = fSnapShotRawDataGrid != GridPlateColumns();
        if (edited && !ConfirmDiscardUnsaved(true))
            return keepOpen();
        if (!TakeTypedPlate())
            return keepOpen();
    } else {
        pastePb->setEnabled(true);
        RestoreRawDataGrid();
        TakeTypedPlate();
    }
    SetIsManualEditMode(false);
    SetCalculateButtonState();
    rawDataGd->viewport()->update();
    return true;
}

void TfrmMainCombinedRd::ManualDataEntryClearAll()
{
    rawDataGd->CloseEditor();
    rawDataGd->setEnabled(false);
    rawDataGd->ResetRawDataGrid();
    rawDataGd->setEnabled(true);
    rawDataGd->setFocus();
    rawDataGd->OpenEditor();
}

// ---- the mouse on the grid --------------------------------------------------------------------

void TfrmMainCombinedRd::rawDataGdMouseDown(Qt::MouseButton button, QPoint cell, QPoint globalPos)
{
    if (ManualFormatMouseDown(button, cell))
        return;
    OWCellBlockBase *block = cell == kNoCell ? nullptr : mData->cellAtPoint(cell);
    if (block == nullptr)
        return;
    if (button == Qt::RightButton) {
        RunBlockMenu(cell, globalPos);
    } else if (button == Qt::LeftButton && !mManualDataEntryMode) {
        fPointToMove = cell;
        fDraggingCell = true;
        rawDataGd->SetPendingPressCell(cell);
    }
}

void TfrmMainCombinedRd::rawDataGdMouseUp(Qt::MouseButton button, QPoint cell)
{
    // A release on a heading leaves a press pending; All Samples takes a release anywhere.
    if ((cell.x() == 0 || cell.y() == 0) && !ManualFormatPlacesAllSamples())
        return;
    if (fDraggingCell) {
        fDraggingCell = false;
        rawDataGd->SetPendingPressCell(kNoCell);
        if (cell == kNoCell)
            ShowErrorMessage(OneBlockPerCellText());
        else
            RenameBlockAt(fPointToMove);
    } else {
        ManualFormatMouseUp(button, cell);
    }
    rawDataGd->viewport()->update();
    BringManualFormatToolbarToFront();
    SetCalculateButtonState();
}

void TfrmMainCombinedRd::RenameBlockAt(QPoint cell)
{
    OWCellBlockBase *block = mData->cellAtPoint(cell);
    if (block == nullptr)
        return;
    QString identifier = block->id();
    if (!ShowSubjectNameDialog(this, identifier, rawDataGd->Cell(cell.x(), cell.y()), true))
        return;
    (void)mNotifier->RenameBlock(cell, identifier);
}

void TfrmMainCombinedRd::RunBlockMenu(QPoint cell, QPoint globalPos)
{
    OWCellBlockBase *block = mData->cellAtPoint(cell);
    if (block == nullptr)
        return;
    const bool standard = block->getIsStandard();
    const TBlockClickAction action = ShowBlockMenu(this, *block, globalPos);
    if (action == BlockActionCancel)
        return;
    // The layout of unsaved results changes: asked first.
    if (!ConfirmDiscardUnsaved(true))
        return;
    if (ManualFormatRandomInProgress()) {
        RemoveRandomBlockBeingAdded();
        block = mData->cellAtPoint(cell); // none when it was the block being placed
    }
    int &placedCount = standard ? fManualFormatStandardsCount : fManualFormatSamplesCount;
    // Only a block placed since the toolbar was opened is one less for its Cancel.
    const bool placedNow =
        block != nullptr &&
        IsAmongNewestBlocks(standard ? mData->StdBlocks() : mData->RawData(), block, placedCount);
    if (action == BlockActionClearFormat)
        ClearStandardsAndSamples(); // every block is gone, this one with them
    else if (block != nullptr && mNotifier->RemoveBlock(cell).Ok() && placedNow)
        --placedCount; // the notifier's signals clear the results of the layout before
    rawDataGd->viewport()->update();
    BringManualFormatToolbarToFront();
}
