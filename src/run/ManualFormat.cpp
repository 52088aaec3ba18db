#include "run/ManualFormat.h"

#include "core/Exceptions.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "plate/CellBlockRect.h"
#include "plate/CellColl.h"
#include "plate/MarnovelPanels.h"
#include "plate/TextGrid.h"
#include "run/MarnovelData.h"

#include <algorithm>
#include <memory>

// ---- TManualFormatState ----------------------------------------------------------------------

void TManualFormatState::Changed() const
{
    if (OnChanged)
        OnChanged();
}

void TManualFormatState::SetItem(TFormatItem pItem)
{
    mItem = pItem;
}

void TManualFormatState::SetAllSamples(bool pAllSamples)
{
    mAllSamples = pAllSamples;
}

void TManualFormatState::SetOrientation(TBlockOrientation pOrientation)
{
    mOrientation = pOrientation;
}

void TManualFormatState::SetCurrentIDForSample(const QString &pId)
{
    if (pId == mSampleId)
        return;
    mSampleId = pId;
    Changed();
}

TCBBlockPanelList &TManualFormatState::SelectedBlockPanelList() const
{
    if (StandardsSelected())
        return TStdPanel::GetBlockList();
    return TCBBlockPanelList::GetListForCriteriaType(CT_RESEARCH_SAMPLE);
}

int TManualFormatState::NumberOfStandards() const
{
    return TStdPanel::GetBlockList().Count();
}

int TManualFormatState::NumberOfSamples() const
{
    return TCBBlockPanelList::GetListForCriteriaType(CT_RESEARCH_SAMPLE).Count();
}

void TManualFormatState::SetIsRandomOrientationStarted(bool pStarted)
{
    if (mOrientation != TBlockOrientation::Random) {
        mOrientation = TBlockOrientation::Random;
        ApplyOrientation();
    }
    fIsRandomOrientationStarted = pStarted;
    Changed();
}

void TManualFormatState::ApplyOrientation()
{
    TCBBlockPanelList &list = SelectedBlockPanelList();
    if (list.Count() > 0) {
        if (mOrientation == TBlockOrientation::Random) {
            TBaseSelectBlockPanel *first = list.GetItem(0);
            first->SetSelected(false);
            OnBlockClick(first);
            first->SetSelected(true);
        } else {
            // One click places the whole block.
            fSelectedBlock = nullptr;
            list.SelectAll(true);
        }
        list.EnableClicking(false);
    }
    Changed();
}

void TManualFormatState::OnBlockClick(TBaseSelectBlockPanel *pSender)
{
    if (mOrientation != TBlockOrientation::Random || pSender == nullptr)
        return;
    fSelectedBlock = pSender->Selected() ? nullptr : pSender;
    const TCBBlockPanelList &list = SelectedBlockPanelList();
    for (int i = 0; i < list.Count(); ++i) {
        TBaseSelectBlockPanel *panel = list.GetItem(i);
        if (panel->ID() != pSender->ID() && panel->Selected())
            panel->SetSelected(false);
    }
}

bool TManualFormatState::IsValidStandardSelection(QString &pErrorMsg) const
{
    pErrorMsg.clear();
    if (mOrientation != TBlockOrientation::Random || fSelectedBlock != nullptr)
        return true;
    pErrorMsg = ToolbarPromptText();
    return false;
}

bool TManualFormatState::MoveToNextSelectableBlock(const OWCellBlockBase *pCurrBlock)
{
    const TCBBlockPanelList &list = SelectedBlockPanelList();
    if (list.Count() == 0)
        return false;
    TBaseSelectBlockPanel *next = nullptr;
    if (pCurrBlock == nullptr) {
        next = list.GetItem(0);
        // Starting again: the first label is the one the next click places, whatever was
        // pressed before.
        next->SetSelected(false);
    } else {
        for (int i = 0; i < list.Count() && next == nullptr; ++i) {
            if (pCurrBlock->ContainsID(list.GetItem(i)->ID()) == -1)
                next = list.GetItem(i);
        }
        if (next == nullptr)
            return false;
    }
    OnBlockClick(next);
    next->SetSelected(true);
    Changed();
    return true;
}

// ---- cells ---------------------------------------------------------------------------------------

namespace {

QPoint NextWalkCell(QPoint pCell, TBlockOrientation pOrientation)
{
    int col = pCell.x();
    int row = pCell.y();
    if (pOrientation == TBlockOrientation::Horizontal) {
        if (++col > PlateColumnCount) {
            col = 1;
            if (++row > PlateRowCount)
                row = 1;
        }
    } else {
        if (++row > PlateRowCount) {
            row = 1;
            if (++col > PlateColumnCount)
                col = 1;
        }
    }
    return QPoint(col, row);
}

} // namespace

bool IsPlateDataCell(QPoint pCell)
{
    return pCell.x() >= 1 && pCell.x() <= PlateColumnCount && pCell.y() >= 1 && pCell.y() <= PlateRowCount;
}

int FreeDataCellCount(const TMarnovelData &pData)
{
    int free = 0;
    for (int col = 1; col <= PlateColumnCount; ++col) {
        for (int row = 1; row <= PlateRowCount; ++row) {
            if (pData.cellAtPoint(QPoint(col, row)) == nullptr)
                ++free;
        }
    }
    return free;
}

std::vector<QPoint> BlockWalkCells(const TMarnovelData &pData, QPoint pStart, int pCount,
                                   TBlockOrientation pOrientation)
{
    if (pCount < 1 || !IsPlateDataCell(pStart))
        return {};
    std::vector<QPoint> cells{pStart};
    QPoint at = pStart;
    for (int examined = 0; static_cast<int>(cells.size()) < pCount; ++examined) {
        at = NextWalkCell(at, pOrientation);
        // Back at a cell of this block: once round the plate without room for it.
        if (examined >= PlateColumnCount * PlateRowCount ||
            std::find(cells.begin(), cells.end(), at) != cells.end())
            return {};
        if (pData.cellAtPoint(at) == nullptr)
            cells.push_back(at);
    }
    return cells;
}

std::vector<QPoint> AllSamplesCells(const TMarnovelData &pData, const ITextGrid &pGrid)
{
    std::vector<QPoint> cells;
    for (int col = 1; col <= PlateColumnCount; ++col) {
        for (int row = 1; row <= PlateRowCount; ++row) {
            const QPoint cell(col, row);
            // An empty well is no marker: a layout can be made before the data exists.
            if (pData.cellAtPoint(cell) == nullptr && !IsNotSpecifiedText(pGrid.Cell(col, row)))
                cells.push_back(cell);
        }
    }
    return cells;
}

// ---- placement -----------------------------------------------------------------------------------

namespace {

OWCells &BlocksOf(TMarnovelData &pData, bool pStandards)
{
    return pStandards ? pData.StdBlocks() : pData.RawData();
}

std::unique_ptr<OWCellBlockRectCombined> NewBlock(const TManualFormatState &pState,
                                                  const TCBBlockPanelList &pLabels)
{
    auto block = std::make_unique<OWCellBlockRectCombined>();
    block->SetCriteriaType(pLabels.CriteriaType());
    if (pState.StandardsSelected()) {
        block->setId(OWCellBlockBase::GetCurrentStandardIdStr(), true);
    } else {
        block->setId(pState.CurrentIDForSample(), false);
        block->SetFixedID(OWCellBlockBase::GetCurrentSubjectIdNumber());
    }
    return block;
}

// The identifiers move on once a block is complete.
void CountCompleted(const TManualFormatState &pState, TPlacementResult &pResult)
{
    if (pState.StandardsSelected()) {
        OWCellBlockBase::SetNextStandardId();
        ++pResult.StandardBlocks;
    } else {
        OWCellBlockBase::SetNextSubjectId();
        ++pResult.SampleBlocks;
    }
}

TPlacementResult PlaceWalkedBlock(TMarnovelData &pData, TManualFormatState &pState, const ITextGrid &pGrid,
                                  QPoint pCell, TBlockOrientation pOrientation)
{
    TCBBlockPanelList &labels = pState.SelectedBlockPanelList();
    const std::vector<QPoint> cells = BlockWalkCells(pData, pCell, labels.Count(), pOrientation);
    if (cells.empty())
        return {UiText(TextId::InsufficientCells)};
    std::unique_ptr<OWCellBlockRectCombined> block = NewBlock(pState, labels);
    for (int i = 0; i < labels.Count(); ++i)
        block->addWithID(cells[static_cast<std::size_t>(i)], labels.GetItem(i));
    OWCellBlockBase &added = *block;
    BlocksOf(pData, pState.StandardsSelected()).add(std::move(block));
    TPlacementResult result;
    CountCompleted(pState, result);
    added.setValues(pGrid);
    return result;
}

TPlacementResult PlaceRandomLabel(TMarnovelData &pData, TManualFormatState &pState, const ITextGrid &pGrid,
                                  QPoint pCell)
{
    TCBBlockPanelList &labels = pState.SelectedBlockPanelList();
    OWCells &blocks = BlocksOf(pData, pState.StandardsSelected());
    // A block in progress whose wells were taken away with the plate's layout is gone.
    const bool inProgress = pState.IsRandomOrientationStarted() && blocks.GetCount() > 0;
    if (!inProgress && FreeDataCellCount(pData) < labels.Count())
        return {UiText(TextId::InsufficientCells)};
    TBaseSelectBlockPanel *label = pState.SelectedBlock();
    if (label == nullptr)
        return {ToolbarPromptText()};

    OWCellBlockBase *block = nullptr;
    bool added = false;
    if (inProgress) {
        block = blocks.getCellInteger(blocks.GetCount() - 1);
        block->addWithID(pCell, label);
    } else {
        std::unique_ptr<OWCellBlockRectCombined> created = NewBlock(pState, labels);
        created->SetSubjectColor(OWCellBlockBase::GetCurrentSubjectColor());
        created->addWithID(pCell, label);
        block = created.get();
        blocks.add(std::move(created));
        added = true;
    }
    pState.SetIsRandomOrientationStarted(true);

    TPlacementResult result;
    if (!pState.MoveToNextSelectableBlock(block)) {
        pState.SetIsRandomOrientationStarted(false);
        block->setValues(pGrid);
        CountCompleted(pState, result);
        if (pState.SamplesSelected())
            OWCellBlockBase::SetAndGetNextSubjectColor();
        pState.ApplyOrientation();
    }
    if (added)
        block->setValues(pGrid);
    return result;
}

} // namespace

TPlacementResult PlaceBlock(TMarnovelData &pData, TManualFormatState &pState, const ITextGrid &pGrid,
                            QPoint pCell)
{
    if (!IsPlateDataCell(pCell) || pData.cellAtPoint(pCell) != nullptr)
        return {OneBlockPerCellText()};
    if (pState.StandardsSelected()) {
        QString message;
        if (!pState.IsValidStandardSelection(message))
            return {message};
    }
    TPlacementResult result = pState.IsRandomBlockOrientation()
                                  ? PlaceRandomLabel(pData, pState, pGrid, pCell)
                                  : PlaceWalkedBlock(pData, pState, pGrid, pCell, pState.Orientation());
    if (pState.SamplesSelected() && result.Placed())
        pState.SetCurrentIDForSample(OWCellBlockBase::GetCurrentSubjectIdStr());
    return result;
}

TPlacementResult PlaceAllSamples(TMarnovelData &pData, TManualFormatState &pState, const ITextGrid &pGrid)
{
    TPlacementResult all;
    for (const QPoint &cell : AllSamplesCells(pData, pGrid)) {
        // A cell taken by the walk of a sample of several labels is no longer free.
        if (pData.cellAtPoint(cell) != nullptr)
            continue;
        const TPlacementResult one =
            PlaceWalkedBlock(pData, pState, pGrid, cell, TBlockOrientation::Vertical);
        if (!one.Placed())
            return {one.Error, all.StandardBlocks, all.SampleBlocks};
        all.SampleBlocks += one.SampleBlocks;
        pState.SetCurrentIDForSample(OWCellBlockBase::GetCurrentSubjectIdStr());
    }
    return all;
}

void RemoveRandomBlockBeingAdded(TMarnovelData &pData, TManualFormatState &pState)
{
    pState.SetIsRandomOrientationStarted(false);
    OWCells *blocks = nullptr;
    if (pState.StandardsSelected())
        blocks = &pData.StdBlocks();
    else if (pState.SamplesSelected())
        blocks = &pData.RawData();
    else
        throw MarnovelException(
            QStringLiteral("TfrmMainCombined.RemoveRandomBlockBeingAdded(): Invalid selection."));
    blocks->remove(blocks->getCellInteger(blocks->GetCount() - 1));
    pState.MoveToNextSelectableBlock(nullptr);
}

void RemoveNewestBlocks(TMarnovelData &pData, int pStandards, int pSamples)
{
    const auto removeNewest = [](OWCells &blocks, int count) {
        for (int i = 0; i < count && blocks.GetCount() > 0; ++i)
            blocks.remove(blocks.getCellInteger(blocks.GetCount() - 1));
    };
    removeNewest(pData.StdBlocks(), pStandards);
    removeNewest(pData.RawData(), pSamples);
}

bool IsAmongNewestBlocks(const OWCells &pBlocks, const OWCellBlockBase *pBlock, int pCount)
{
    const int count = pBlocks.GetCount();
    for (int i = std::max(0, count - pCount); i < count; ++i) {
        if (pBlocks.getCellInteger(i) == pBlock)
            return true;
    }
    return false;
}
