#pragma once

#include "plate/CellBlock.h"

#include <vector>

// A block that keeps its wells in an array of well elements.
class OWCellBlockRect : public OWCellBlockBase
{
public:
    // Creates pSlotCount empty well elements (none for the well-list block).
    explicit OWCellBlockRect(int pSlotCount = 0);

    std::span<const OWCellBlockElm> block() const override { return mBlock; }

protected:
    std::vector<OWCellBlockElm> mBlock;
};

// The block of this program: an ordered list of wells, each tied to the well label
// (block panel) that placed it. Well index i is the i-th well added.
class OWCellBlockRectCombined : public OWCellBlockRect
{
public:
    OWCellBlockRectCombined() = default;

    int Count() const override;
    // Appends a well; always succeeds, with no duplicate check.
    bool add(QPoint pPoint) override;
    // add(pPoint), then the new well takes the panel and its ID (none for a null panel).
    bool addWithID(QPoint pPoint, TBaseSelectBlockPanel *pPanel) override;
    // Index of the first well at the point, or -1.
    int GetBlockCellIndex(QPoint pPoint) const override;
    bool contains(QPoint pPoint) const override;
    // Every well of a well-list block is an identifier well.
    bool idCell(QPoint pPoint) const override;
    // Resizes the input values to Count and reads well i from its grid cell.
    bool setValues(const ITextGrid &pGrid) override;
    // Index of the first well whose panel has that ID, or -1.
    int ContainsID(int pId) const override;
    // Subject: the block colour; standard: the colour of the well's label panel.
    TColor GetBlockCellColor(QPoint pPoint) override;
    // Standard: the panel's short label ("S3"); subject: the fixed ID followed by the
    // untrimmed short label ("12N", "7" for a research sample). Empty text for a point
    // that is not a well of the block.
    QString CellRawDataID(QPoint pPoint) const override;
};
