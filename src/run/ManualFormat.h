#pragma once

#include <QPoint>
#include <QString>

#include <functional>
#include <vector>

class ITextGrid;
class OWCellBlockBase;
class OWCells;
class TBaseSelectBlockPanel;
class TCBBlockPanelList;
class TMarnovelData;

// Laying out the plate by hand: what the next click on a plate cell places, and the
// placement itself. The toolbar window shows this state and changes it; the main window
// hands the clicks to the placement.

enum class TFormatItem
{
    Standards,
    Samples
};

enum class TBlockOrientation
{
    Vertical,
    Horizontal,
    Random
};

// The item, sample type, orientation and subject ID the next click takes, and the progress
// of a block placed label by label (random orientation). The labels are the shared panel
// lists: the pressed panel is the label the next random click places.
class TManualFormatState
{
public:
    TFormatItem Item() const { return mItem; }
    void SetItem(TFormatItem pItem);
    bool StandardsSelected() const { return mItem == TFormatItem::Standards; }
    bool SamplesSelected() const { return mItem == TFormatItem::Samples; }
    bool SamplesSelectedAllSamples() const { return mAllSamples; }
    void SetAllSamples(bool pAllSamples);
    TBlockOrientation Orientation() const { return mOrientation; }
    // Stores the orientation; ApplyOrientation shows it on the labels.
    void SetOrientation(TBlockOrientation pOrientation);
    bool IsRandomBlockOrientation() const { return mOrientation == TBlockOrientation::Random; }

    QString CurrentIDForSample() const { return mSampleId; }
    void SetCurrentIDForSample(const QString &pId);

    // The standards list while standards are chosen, else the research sample list.
    TCBBlockPanelList &SelectedBlockPanelList() const;
    int NumberOfStandards() const;
    int NumberOfSamples() const;
    // Random orientation: the label the next click places; nullptr otherwise.
    TBaseSelectBlockPanel *SelectedBlock() const { return fSelectedBlock; }

    bool IsRandomOrientationStarted() const { return fIsRandomOrientationStarted; }
    // Switches to random orientation first when another one is chosen.
    void SetIsRandomOrientationStarted(bool pStarted);
    // Forgets a block in progress without showing anything (a reset).
    void ForgetRandomProgress() { fIsRandomOrientationStarted = false; }

    // Vertical or horizontal: every label pressed; random: the first one pressed and
    // selected. Labels are never clickable by the operator.
    void ApplyOrientation();
    // Click handler of every label: random orientation only; sees the state before the
    // panel toggles itself.
    void OnBlockClick(TBaseSelectBlockPanel *pSender);
    // False, with the message, for random standards with no label pressed.
    bool IsValidStandardSelection(QString &pErrorMsg) const;
    // The next label (list order) that the block does not hold yet becomes pressed; false when
    // the block holds them all. nullptr: the first label.
    bool MoveToNextSelectableBlock(const OWCellBlockBase *pCurrBlock);
    // The label panels may be rebuilt (curve type change): no label stays remembered.
    void ForgetSelectedBlock() { fSelectedBlock = nullptr; }

    // Called after every change the toolbar shows (selection, progress, subject ID).
    std::function<void()> OnChanged;

private:
    void Changed() const;

    TFormatItem mItem = TFormatItem::Standards;
    bool mAllSamples = false;
    TBlockOrientation mOrientation = TBlockOrientation::Vertical;
    QString mSampleId;
    TBaseSelectBlockPanel *fSelectedBlock = nullptr;
    bool fIsRandomOrientationStarted = false;
};

// What one click placed. Error is the message to show when nothing was placed.
struct TPlacementResult
{
    QString Error;
    int StandardBlocks = 0; // completed standards blocks
    int SampleBlocks = 0;   // completed sample blocks

    bool Placed() const { return Error.isEmpty(); }
};

// A data cell: columns 1-12, rows 1-8 of the plate grid.
bool IsPlateDataCell(QPoint pCell);
int FreeDataCellCount(const TMarnovelData &pData);
// The cells a vertical or horizontal block of pCount labels takes with its first label on
// pStart: down the column (vertical) or along the row (horizontal), wrapping at the plate's
// edges, skipping cells of other blocks. Empty when the plate has too few free cells.
std::vector<QPoint> BlockWalkCells(const TMarnovelData &pData, QPoint pStart, int pCount,
                                   TBlockOrientation pOrientation);
// The free cells the All Samples layout fills, column by column: every one whose text is not
// a not-specified marker (an empty cell included).
std::vector<QPoint> AllSamplesCells(const TMarnovelData &pData, const ITextGrid &pGrid);

// A click on a plate cell with the toolbar open: the block pState describes, its first
// label on pCell. Refused with text 150 outside the data cells or on a cell of a block, with
// text 181 when the plate has too few free cells, and with the toolbar prompt for random
// standards without a label. The block reads its values from pGrid.
TPlacementResult PlaceBlock(TMarnovelData &pData, TManualFormatState &pState, const ITextGrid &pGrid,
                            QPoint pCell);
// All Samples: one subject on every cell of AllSamplesCells, each with the next ID.
TPlacementResult PlaceAllSamples(TMarnovelData &pData, TManualFormatState &pState, const ITextGrid &pGrid);
// Takes away the block being placed label by label and presses the first label again.
// Raises MarnovelException when neither item is chosen.
void RemoveRandomBlockBeingAdded(TMarnovelData &pData, TManualFormatState &pState);
// Removes the last pStandards standards blocks and the last pSamples sample blocks, newest
// first (all of them when there are fewer).
void RemoveNewestBlocks(TMarnovelData &pData, int pStandards, int pSamples);
// Whether the block is one of the last pCount blocks of the collection: the blocks placed
// since the toolbar was opened, when pCount counts them.
bool IsAmongNewestBlocks(const OWCells &pBlocks, const OWCellBlockBase *pBlock, int pCount);
