#include "RawDataPage.h"

#include "core/DataObjectText.h"
#include "core/Messages.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "files/RunSession.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "platform/ExceptionBoundary.h"
#include "platform/WindowTools.h"
#include "run/ManualFormat.h"
#include "run/MarnovelData.h"
#include "run/MarnovelRdData.h"
#include "ui/format/ManualFormatToolbarForm.h"
#include "ui/main/BlockMenu.h"
#include "ui/main/RunSessionNotifier.h"
#include "ui/main/dialogs/ManualDataEntryForm.h"
#include "ui/main/dialogs/SubjectNameForm.h"
#include "ui/main/grids/PlateModel.h"
#include "ui/main/grids/RawDataGrid.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QPoint kNoCell(-1, -1);
// The buttons keep the command bar's distance from the window's edges.
constexpr int kButtonEdgeGap = 3;

bool IsEnter(int key)
{
    return key == Qt::Key_Enter || key == Qt::Key_Return;
}

} // namespace

TRawDataPage::TRawDataPage(TRunSession &session, TRunSessionNotifier &notifier, QWidget *parent)
    : QWidget(parent), mSession(session), mNotifier(notifier)
{
    setObjectName(u"rawDataSheet"_s);
    BuildControls();
    // The tool windows belong to the window the page is shown in: they stand at its corner and
    // follow it when it is minimised.
    ffrmManualDataEntryForm = new TfrmManualDataEntryForm(window());
    ConnectHandlers();
    CreateManualFormatToolbar();
    Retranslate();
}

// Here, where the toolbar is a complete type.
TRawDataPage::~TRawDataPage() = default;

const TMarnovelData &TRawDataPage::Data() const
{
    return mSession.Data();
}

void TRawDataPage::BuildControls()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    rawDataGd = Named(new TRawDataGrid(&mSession, this), u"rawDataGd"_s);
    layout->addWidget(rawDataGd, 1);

    Panel3 = Named(new QWidget(this), u"Panel3"_s);
    auto *buttons = new QHBoxLayout(Panel3);
    buttons->setContentsMargins(kButtonEdgeGap, 6, kButtonEdgeGap, 6);
    buttons->setSpacing(12);
    pastePb = Named(new QPushButton(Panel3), u"pastePb"_s);
    btnManualDataEntry = Named(new QPushButton(Panel3), u"btnManualDataEntry"_s);
    btnManualFormat = Named(new QPushButton(Panel3), u"btnManualFormat"_s);
    calcCurvePb = Named(new QPushButton(Panel3), u"calcCurvePb"_s);
    for (QPushButton *button : {pastePb, btnManualDataEntry, btnManualFormat, calcCurvePb}) {
        button->setAutoDefault(false);
        button->setMinimumHeight(34);
        buttons->addWidget(button, 1);
    }
    layout->addWidget(Panel3);
}

void TRawDataPage::ConnectHandlers()
{
    connect(ffrmManualDataEntryForm, &TfrmManualDataEntryForm::clearAllClicked, this,
            Guarded(this, &TRawDataPage::ManualDataEntryClearAll));
    connect(ffrmManualDataEntryForm, &TfrmManualDataEntryForm::closeRequested, this,
            [this](bool completePressed) {
                RunGuarded([&] {
                    if (!ManualDataEntryClosing(completePressed))
                        ffrmManualDataEntryForm->KeepOpen();
                });
            });

    connect(pastePb, &QPushButton::clicked, this, Guarded(this, &TRawDataPage::pastePbClick));
    connect(btnManualDataEntry, &QPushButton::clicked, this,
            [this] { RunGuarded([this] { SetManualEditMode(true); }); });
    connect(rawDataGd, &TRawDataGrid::keyPress, this, Guarded(this, &TRawDataPage::rawDataGdKeyPress));
    // F6 moves between the plate and the manual format toolbar: its choices by keyboard.
    auto *toToolbar = new QShortcut(QKeySequence(Qt::Key_F6), this);
    connect(toToolbar, &QShortcut::activated, this, [this] {
        if (ManualFormatToolbarVisible())
            fManualFormatToolbar->TakeKeyboard();
    });
    connect(rawDataGd, &TRawDataGrid::keyUp, this, Guarded(this, &TRawDataPage::rawDataGdKeyUp));
    connect(rawDataGd, &TRawDataGrid::mouseDown, this, Guarded(this, &TRawDataPage::rawDataGdMouseDown));
    connect(rawDataGd, &TRawDataGrid::mouseUp, this, Guarded(this, &TRawDataPage::rawDataGdMouseUp));

    // The grid follows the run: the plate and the layout repaint it.
    connect(&mNotifier, &TRunSessionNotifier::plateChanged, this,
            Guarded(this, &TRawDataPage::ShowRunDataInGrid));
    connect(&mNotifier, &TRunSessionNotifier::layoutChanged, this, Guarded(this, &TRawDataPage::ShowLayout));
    connect(&mNotifier, &TRunSessionNotifier::curveTypeChanged, this,
            Guarded(this, &TRawDataPage::ManualFormatCurveTypeChanged));
}

void TRawDataPage::Retranslate()
{
    const struct
    {
        QWidget *control;
        int id;
    } texts[] = {{pastePb, 59}, {btnManualDataEntry, 157}, {btnManualFormat, 158}, {calcCurvePb, 63}};
    for (const auto &text : texts)
        SetControlText(text.control, text.id, true);
    // A grid has no caption of its own: a screen reader names it after its page.
    rawDataGd->setAccessibleName(UiText(18));
    ffrmManualDataEntryForm->InitializeText();
    fManualFormatToolbar->RefreshLayout();
}

// ---- the plate shown ------------------------------------------------------------------------

void TRawDataPage::ShowRunDataInGrid()
{
    rawDataGd->PlateModel().Refresh();
    FitColumns();
    ShowLayout();
}

void TRawDataPage::ShowLayout()
{
    rawDataGd->viewport()->update();
    UpdateCalculateButton();
}

void TRawDataPage::FitColumns()
{
    rawDataGd->adjustRawDataGdColWidth(Data().XExtent());
}

int TRawDataPage::LastColumnWithData() const
{
    for (int col = PlateColumnCount; col >= 1; --col) {
        for (int row = 1; row <= PlateRowCount; ++row) {
            if (!rawDataGd->Cell(col, row).trimmed().isEmpty())
                return col;
        }
    }
    return -1;
}

bool TRawDataPage::RawDataHasData() const
{
    return LastColumnWithData() != -1;
}

bool TRawDataPage::CanCalculate() const
{
    return Data().canCalc() && !mManualDataEntryMode && !ManualFormatBlocksCalculation() && RawDataHasData();
}

void TRawDataPage::UpdateCalculateButton()
{
    calcCurvePb->setEnabled(CanCalculate());
}

bool TRawDataPage::TakeTypedPlate()
{
    // Typing that changed nothing is no step: it would discard the results.
    const TPlateModel &plate = rawDataGd->PlateModel();
    if (!plate.HasTyped())
        return true;
    const int last = LastColumnWithData();
    TStringGridData rows;
    for (int row = 1; row <= PlateRowCount && last != -1; ++row) {
        QStringList texts;
        for (int col = 1; col <= last; ++col)
            texts << plate.Cell(col, row);
        rows << texts;
    }
    // A typed number too large to round is refused with text 126; the model keeps it.
    return mNotifier.SetTypedPlate(rows).Ok();
}

// ---- paste and drop ---------------------------------------------------------------------------

void TRawDataPage::pastePbClick()
{
    const std::unique_ptr<QMimeData> data = PlainTextDataObject(QGuiApplication::clipboard()->mimeData());
    if (TakePlateDataObject(data.get())) {
        UpdateCalculateButton();
        SetFocusIfEnabled(btnManualFormat);
    }
    if (pastePb->isEnabled())
        btnManualDataEntry->setEnabled(true);
}

bool TRawDataPage::TakePlateDataObject(const QMimeData *data)
{
    // A refused plate changes nothing: grid, layout, results and run details stay.
    if (const TRunStepResult check = mNotifier.Session().CheckPlateDataObject(data); !check.Ok()) {
        ShowErrorMessage(check.Text());
        return false;
    }
    // The plate replaces the one unsaved results were calculated from: asked first, with the
    // old plate in place for Save As.
    if (mSession.HasUnsavedResults() && !ConfirmDiscard())
        return false;
    return mNotifier.SetPlateDataObject(data).Ok();
}

void TRawDataPage::DropDataObject(const QMimeData *data)
{
    const std::unique_ptr<QMimeData> plain = PlainTextDataObject(data);
    TakePlateDataObject(plain.get());
}

// ---- manual data entry ------------------------------------------------------------------------

void TRawDataPage::SetManualEditMode(bool on)
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
        fSnapShotRawDataGrid = GridPlateColumns();
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
        fManualEntryLastCell = kNoCell;
    }
    // No calculation from half-typed data.
    UpdateCalculateButton();
    rawDataGd->setFocus();
    rawDataGd->OpenEditor();
    ffrmManualDataEntryForm->show();
    ffrmManualDataEntryForm->raise();
}

QList<QStringList> TRawDataPage::GridPlateColumns() const
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

void TRawDataPage::EndManualDataEntry()
{
    if (!mManualDataEntryMode)
        return;
    SetManualEditMode(false);
    fSnapShotRawDataGrid.clear();
    ffrmManualDataEntryForm->hide();
}

void TRawDataPage::RestoreRawDataGrid()
{
    for (int col = 1; col <= PlateColumnCount; ++col) {
        for (int row = 1; row <= PlateRowCount; ++row) {
            const QStringList column = fSnapShotRawDataGrid.value(col - 1);
            rawDataGd->SetCell(col, row, column.value(row - 1));
        }
    }
}

void TRawDataPage::MoveManualEntryCell(int key)
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

void TRawDataPage::rawDataGdKeyPress(int key)
{
    if (!mManualDataEntryMode && ManualFormatToolbarVisible()) {
        // Enter or Space on a well is the keyboard's click: the toolbar's item goes there.
        const QPoint cell = rawDataGd->CurrentCell();
        if (cell.x() >= 1 && cell.y() >= 1) {
            rawDataGdMouseDown(Qt::LeftButton, cell, QPoint());
            rawDataGdMouseUp(Qt::LeftButton, cell);
        }
        return;
    }
    if (IsEnter(key))
        MoveManualEntryCell(key);
}

void TRawDataPage::rawDataGdKeyUp(int key)
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

bool TRawDataPage::ManualDataEntryClosing(bool completePressed)
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
        if (LastColumnWithData() < Data().IndexColOfLastFormatStrip()) {
            ShowErrorMessage(UiText(TextId::MoreStripsThanData));
            return keepOpen();
        }
        // Typed values replace the plate of unsaved results: asked first (Cancel: typing goes on).
        const bool edited = fSnapShotRawDataGrid != GridPlateColumns();
        if (edited && !ConfirmDiscard())
            return keepOpen();
        if (!TakeTypedPlate())
            return keepOpen();
    } else {
        pastePb->setEnabled(true);
        RestoreRawDataGrid();
        TakeTypedPlate();
    }
    SetManualEditMode(false);
    UpdateCalculateButton();
    rawDataGd->viewport()->update();
    return true;
}

void TRawDataPage::ManualDataEntryClearAll()
{
    rawDataGd->CloseEditor();
    rawDataGd->setEnabled(false);
    rawDataGd->ResetRawDataGrid();
    rawDataGd->setEnabled(true);
    rawDataGd->setFocus();
    rawDataGd->OpenEditor();
}

// ---- the mouse on the grid --------------------------------------------------------------------

void TRawDataPage::rawDataGdMouseDown(Qt::MouseButton button, QPoint cell, QPoint globalPos)
{
    if (ManualFormatMouseDown(button, cell))
        return;
    const OWCellBlockBase *block = cell == kNoCell ? nullptr : Data().cellAtPoint(cell);
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

void TRawDataPage::rawDataGdMouseUp(Qt::MouseButton button, QPoint cell)
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
    UpdateCalculateButton();
}

void TRawDataPage::RenameBlockAt(QPoint cell)
{
    const OWCellBlockBase *block = Data().cellAtPoint(cell);
    if (block == nullptr)
        return;
    QString identifier = block->id();
    if (!ShowSubjectNameDialog(window(), identifier, rawDataGd->Cell(cell.x(), cell.y()), true))
        return;
    (void)mNotifier.RenameBlock(cell, identifier);
}

void TRawDataPage::RunBlockMenu(QPoint cell, QPoint globalPos)
{
    const OWCellBlockBase *block = Data().cellAtPoint(cell);
    if (block == nullptr)
        return;
    const bool standard = block->getIsStandard();
    const TBlockClickAction action = ShowBlockMenu(window(), *block, globalPos);
    if (action == BlockActionCancel)
        return;
    // The layout of unsaved results changes: asked first.
    if (!ConfirmDiscard())
        return;
    if (ManualFormatRandomInProgress()) {
        RemoveRandomBlockBeingAdded();
        block = Data().cellAtPoint(cell); // none when it was the block being placed
    }
    int &placedCount = standard ? fManualFormatStandardsCount : fManualFormatSamplesCount;
    // Only a block placed since the toolbar was opened is one less for its Cancel.
    const bool placedNow =
        block != nullptr &&
        IsAmongNewestBlocks(standard ? Data().StdBlocks() : Data().RawData(), block, placedCount);
    if (action == BlockActionClearFormat)
        ClearStandardsAndSamples(); // every block is gone, this one with them
    else if (block != nullptr && mNotifier.RemoveBlock(cell).Ok() && placedNow)
        --placedCount; // the notifier's signals clear the results of the layout before
    rawDataGd->viewport()->update();
    BringManualFormatToolbarToFront();
}

// ---- the layout -------------------------------------------------------------------------------

void TRawDataPage::ClearStandardsAndSamples()
{
    mNotifier.ClearLayout();
    fManualFormatStandardsCount = 0;
    fManualFormatToolbar->SetCurrentIDForSample(OWCellBlockBase::GetCurrentSubjectIdStr());
    fManualFormatSamplesCount = 0;
    // Every result shown came from the layout that is gone: chart, curve details and verdict
    // go with the standards table.
    mNotifier.DiscardResults();
    rawDataGd->viewport()->update();
    UpdateCalculateButton();
}

void TRawDataPage::LayoutCleared()
{
    fManualFormatStandardsCount = 0;
    fManualFormatSamplesCount = 0;
    if (!ManualFormatRandomInProgress())
        return;
    TManualFormatState &state = fManualFormatToolbar->State();
    state.SetIsRandomOrientationStarted(false);
    state.MoveToNextSelectableBlock(nullptr);
}

// ---- manual formatting: the toolbar says what the next click places; the grid's clicks place it
// in the run as notifier steps, and Clear All, Cancel and closing the toolbar are answered here.

void TRawDataPage::CreateManualFormatToolbar()
{
    fManualFormatToolbar = std::make_unique<TfrmManualFormatToolbar>(window());
    TfrmManualFormatToolbar &toolbar = *fManualFormatToolbar;
    connect(&toolbar, &TfrmManualFormatToolbar::clearAllClicked, this,
            Guarded(this, &TRawDataPage::ManualFormatClearAll));
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
            UpdateCalculateButton();
        });
    });
    connect(btnManualFormat, &QPushButton::clicked, this, Guarded(this, &TRawDataPage::btnManualFormatClick));
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

bool TRawDataPage::ManualFormatToolbarVisible() const
{
    return fManualFormatToolbar && fManualFormatToolbar->isVisible();
}

bool TRawDataPage::ManualFormatRandomInProgress() const
{
    return fManualFormatToolbar && fManualFormatToolbar->IsRandomOrientationStarted();
}

bool TRawDataPage::ManualFormatPlacesAllSamples() const
{
    if (!ManualFormatToolbarVisible())
        return false;
    const TManualFormatState &state = fManualFormatToolbar->State();
    return state.SamplesSelected() && state.SamplesSelectedAllSamples();
}

bool TRawDataPage::ManualFormatBlocksCalculation() const
{
    return ManualFormatToolbarVisible() || ManualFormatRandomInProgress();
}

void TRawDataPage::BringManualFormatToolbarToFront()
{
    if (ManualFormatToolbarVisible())
        fManualFormatToolbar->raise();
}

void TRawDataPage::btnManualFormatClick()
{
    TfrmManualFormatToolbar &toolbar = *fManualFormatToolbar;
    // Blocks placed now change the layout results were calculated from: asked about unsaved
    // results first, and no result of the old layout stays beside the new one.
    if (!toolbar.isVisible() && mSession.LastResult()) {
        if (!ConfirmDiscard())
            return;
        mNotifier.DiscardResults();
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
        toolbar.move(TfrmManualDataEntryForm::CornerPosition(window()->frameGeometry(),
                                                             toolbar.frameGeometry().size()));
    }
    toolbar.raise();
    calcCurvePb->setEnabled(false);
}

void TRawDataPage::HideManualFormatToolbar()
{
    if (!ManualFormatToolbarVisible())
        return;
    // A half-placed block would stay behind with no way to finish it.
    if (ManualFormatRandomInProgress())
        RemoveRandomBlockBeingAdded();
    fManualFormatToolbar->hide();
}

void TRawDataPage::RemoveRandomBlockBeingAdded()
{
    mNotifier.RemoveRandomBlockBeingAdded(fManualFormatToolbar->State());
}

bool TRawDataPage::ManualFormatMouseDown(Qt::MouseButton button, QPoint cell)
{
    if (!ManualFormatToolbarVisible() || button != Qt::LeftButton)
        return false;
    // Every press decides anew: the release of a refused press usually goes to the message
    // box, so nothing may stay waiting for it.
    mManualFormatPressRefused = false;
    if (ManualFormatPlacesAllSamples())
        return true; // the release places them all
    if (Data().cellAtPoint(cell) != nullptr) {
        mManualFormatPressRefused = true;
        ShowErrorMessage(OneBlockPerCellText());
        BringManualFormatToolbarToFront();
    }
    return true;
}

bool TRawDataPage::ManualFormatMouseUp(Qt::MouseButton button, QPoint cell)
{
    if (!ManualFormatToolbarVisible() || button != Qt::LeftButton)
        return false;
    // Its press has been refused already: one message per click.
    if (std::exchange(mManualFormatPressRefused, false))
        return true;
    TManualFormatState &state = fManualFormatToolbar->State();
    const TPlacementResult result =
        mNotifier.PlaceBlock(state, ManualFormatPlacesAllSamples() ? std::nullopt : std::optional(cell));
    fManualFormatStandardsCount += result.StandardBlocks;
    fManualFormatSamplesCount += result.SampleBlocks;
    if (!result.Placed())
        ShowErrorMessage(result.Error);
    return true;
}

bool TRawDataPage::ManualFormatCancel()
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
        mNotifier.RemoveNewestBlocks(fManualFormatStandardsCount, fManualFormatSamplesCount);
        fManualFormatStandardsCount = 0;
        fManualFormatSamplesCount = 0;
    }
    fManualFormatToolbar->Reset();
    return true;
}

bool TRawDataPage::ManualFormatCloseQuery()
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

void TRawDataPage::ManualFormatClearAll()
{
    if (fManualFormatToolbar->StandardsSelected()) {
        mNotifier.ClearLayout(TRunSession::TBlocks::Standards);
        fManualFormatStandardsCount = 0;
    } else {
        mNotifier.ClearLayout(TRunSession::TBlocks::Samples);
        fManualFormatToolbar->SetCurrentIDForSample(OWCellBlockBase::GetCurrentSubjectIdStr());
        fManualFormatSamplesCount = 0;
    }
}

void TRawDataPage::ManualFormatCurveTypeChanged()
{
    fManualFormatToolbar->CreateAndDrawStandardBoxes();
    fManualFormatToolbar->ArrangeLayout();
}
