// Laying out the plate by hand: the manual format toolbar's owner side. The toolbar says what
// the next click places; the grid's clicks place it in the run data (run/ManualFormat.h), and
// Clear All, Cancel and closing the toolbar are answered here.

#include "MainFormCombinedRd.h"

#include "RunSessionNotifier.h"
#include "core/Messages.h"
#include "core/TextIds.h"
#include "core/UiTextManager.h"
#include "plate/CellBlock.h"
#include "platform/ExceptionBoundary.h"
#include "run/ManualFormat.h"
#include "run/MarnovelData.h"
#include "ui/main/dialogs/ManualDataEntryForm.h"
#include "ui/main/grids/RawDataGrid.h"

#include <QGuiApplication>
#include <QPushButton>

#include <utility>

void TfrmMainCombinedRd::CreateManualFormatToolbar()
{
    if (fManualFormatToolbar)
        return;
    fManualFormatToolbar = std::make_unique<TfrmManualFormatToolbar>(this);
    TfrmManualFormatToolbar &toolbar = *fManualFormatToolbar;
    connect(&toolbar, &TfrmManualFormatToolbar::clearAllClicked, this,
            Guarded(this, &TfrmMainCombinedRd::ManualFormatClearAll));
    connect(&toolbar, &TfrmManualFormatToolbar::cancelClicked, this, [this] {
        RunGuarded([this] {
            if (!ManualFormatCancel())
                fManualFormatToolbar->KeepOpen();
        });
    });
    connect(&toolbar, &TfrmManualFormatToolbar::closeRequested, this, [this] {
        RunGuarded([this] {
            if (!ManualFormatCloseQuery())
                fManualFormatToolbar->KeepOpen();
        });
    });
    connect(&toolbar, &TfrmManualFormatToolbar::hidden, this, [this] {
        RunGuarded([this] {
            mManualFormatPressRefused = false;
            rawDataGd->setEnabled(true);
            SetCalculateButtonState();
        });
    });
    connect(btnManualFormat, &QPushButton::clicked, this,
            Guarded(this, &TfrmMainCombinedRd::btnManualFormatClick));
    // The sample panels show the colour the next subject gets, which drawing a new block takes.
    connect(rawDataGd, &TRawDataGrid::cellsDrawn, this, [this] {
        if (ManualFormatToolbarVisible())
            RunGuarded([this] { fManualFormatToolbar->RefreshPanels(); });
    });
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            BringManualFormatToolbarToFront();
    });
}

bool TfrmMainCombinedRd::ManualFormatToolbarVisible() const
{
    return fManualFormatToolbar && fManualFormatToolbar->isVisible();
}

bool TfrmMainCombinedRd::ManualFormatRandomInProgress() const
{
    return fManualFormatToolbar && fManualFormatToolbar->IsRandomOrientationStarted();
}

bool TfrmMainCombinedRd::ManualFormatPlacesAllSamples() const
{
    if (!ManualFormatToolbarVisible())
        return false;
    const TManualFormatState &state = fManualFormatToolbar->State();
    return state.SamplesSelected() && state.SamplesSelectedAllSamples();
}

bool TfrmMainCombinedRd::ManualFormatBlocksCalculation() const
{
    return ManualFormatToolbarVisible() || ManualFormatRandomInProgress();
}

void TfrmMainCombinedRd::BringManualFormatToolbarToFront()
{
    if (ManualFormatToolbarVisible())
        fManualFormatToolbar->raise();
}

void TfrmMainCombinedRd::btnManualFormatClick()
{
    TfrmManualFormatToolbar &toolbar = *fManualFormatToolbar;
    // Blocks placed now change the layout results were calculated from: asked about unsaved
    // results first, and no result of the old layout stays beside the new one.
    if (!toolbar.isVisible() && LastResult()) {
        if (!ConfirmDiscardUnsaved(true))
            return;
        ClearResultsDisplay();
    }
    if (!toolbar.isVisible()) {
        fManualFormatStandardsCount = 0;
        fManualFormatSamplesCount = 0;
    }
    rawDataGd->setEnabled(true);
    toolbar.show();
    if (!mManualFormatToolbarPlaced) {
        // At the main window's top-right corner the first time; where the operator left it after.
        mManualFormatToolbarPlaced = true;
        toolbar.move(
            TfrmManualDataEntryForm::CornerPosition(frameGeometry(), toolbar.frameGeometry().size()));
    }
    toolbar.raise();
    calcCurvePb->setEnabled(false);
}

void TfrmMainCombinedRd::HideManualFormatToolbar()
{
    if (!ManualFormatToolbarVisible())
        return;
    // A half-placed block would stay behind with no way to finish it.
    if (ManualFormatRandomInProgress())
        RemoveRandomBlockBeingAdded();
    fManualFormatToolbar->hide();
}

void TfrmMainCombinedRd::RemoveRandomBlockBeingAdded()
{
    mNotifier->RemoveRandomBlockBeingAdded(fManualFormatToolbar->State());
}

bool TfrmMainCombinedRd::ManualFormatMouseDown(Qt::MouseButton button, QPoint cell)
{
    if (!ManualFormatToolbarVisible() || button != Qt::LeftButton)
        return false;
    // Every press decides anew: the release of a refused press usually goes to the message
    // box, so nothing may stay waiting for it.
    mManualFormatPressRefused = false;
    if (ManualFormatPlacesAllSamples())
        return true; // the release places them all
    if (mData->cellAtPoint(cell) != nullptr) {
        mManualFormatPressRefused = true;
        ShowErrorMessage(OneBlockPerCellText());
        BringManualFormatToolbarToFront();
    }
    return true;
}

bool TfrmMainCombinedRd::ManualFormatMouseUp(Qt::MouseButton button, QPoint cell)
{
    if (!ManualFormatToolbarVisible() || button != Qt::LeftButton)
        return false;
    // Its press has been refused already: one message per click.
    if (std::exchange(mManualFormatPressRefused, false))
        return true;
    TManualFormatState &state = fManualFormatToolbar->State();
    const TPlacementResult result =
        mNotifier->PlaceBlock(state, ManualFormatPlacesAllSamples() ? std::nullopt : std::optional(cell));
    fManualFormatStandardsCount += result.StandardBlocks;
    fManualFormatSamplesCount += result.SampleBlocks;
    if (!result.Placed())
        ShowErrorMessage(result.Error);
    return true;
}

bool TfrmMainCombinedRd::ManualFormatCancel()
{
    const TMsgDlgButtons yesNo = TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo;
    if (ManualFormatRandomInProgress()) {
        if (ShowMessageDialog(UiText(TextId::CancelRandomBlock), TMsgDlgType::mtConfirmation, yesNo, 0) !=
            TModalResult::mrYes)
            return false;
        RemoveRandomBlockBeingAdded();
    }
    if (fManualFormatStandardsCount > 0 || fManualFormatSamplesCount > 0) {
        if (ShowMessageDialog(UiText(TextId::CancelSessionBlocks), TMsgDlgType::mtConfirmation, yesNo, 0) !=
            TModalResult::mrYes)
            return false;
        mNotifier->RemoveNewestBlocks(fManualFormatStandardsCount, fManualFormatSamplesCount);
        fManualFormatStandardsCount = 0;
        fManualFormatSamplesCount = 0;
    }
    fManualFormatToolbar->Reset();
    return true;
}

bool TfrmMainCombinedRd::ManualFormatCloseQuery()
{
    rawDataGd->setEnabled(true);
    if (!ManualFormatRandomInProgress())
        return true;
    if (ShowMessageDialog(UiText(TextId::CancelRandomBlock), TMsgDlgType::mtConfirmation,
                          TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo, 0) != TModalResult::mrYes)
        return false;
    RemoveRandomBlockBeingAdded();
    return true;
}

void TfrmMainCombinedRd::ManualFormatClearAll()
{
    if (fManualFormatToolbar->StandardsSelected()) {
        mNotifier->ClearLayout(TRunSession::TBlocks::Standards);
        fManualFormatStandardsCount = 0;
    } else {
        mNotifier->ClearLayout(TRunSession::TBlocks::Samples);
        fManualFormatToolbar->SetCurrentIDForSample(OWCellBlockBase::GetCurrentSubjectIdStr());
        fManualFormatSamplesCount = 0;
    }
}

void TfrmMainCombinedRd::ManualFormatCurveTypeChanged()
{
    if (!fManualFormatToolbar)
        return;
    fManualFormatToolbar->CreateAndDrawStandardBoxes();
    fManualFormatToolbar->ArrangeLayout();
}

void TfrmMainCombinedRd::ManualFormatLayoutCleared()
{
    fManualFormatStandardsCount = 0;
    fManualFormatSamplesCount = 0;
    if (!ManualFormatRandomInProgress())
        return;
    TManualFormatState &state = fManualFormatToolbar->State();
    state.SetIsRandomOrientationStarted(false);
    state.MoveToNextSelectableBlock(nullptr);
}
