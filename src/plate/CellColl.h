#pragma once

#include "plate/CellBlock.h"

#include <QPoint>

#include <memory>
#include <vector>

// An ordered collection of blocks that owns them. Sort orders grow with every addition,
// across removals, and start again at 0 after clear.
class OWCells
{
public:
    OWCells() = default;
    ~OWCells();
    OWCells(const OWCells &) = delete;
    OWCells &operator=(const OWCells &) = delete;

    // Takes the block, appends it and gives it sort order (blocks before + fDeleteCount).
    // Returns its index. A null block raises EListError and changes nothing.
    int add(std::unique_ptr<OWCellBlockBase> pBlock);
    // Destroys the block when it is in the collection; false (and no change) otherwise.
    bool remove(OWCellBlockBase *pBlock);
    // Empties the collection and restarts the numbering. With pFreeMemory false the
    // blocks are only taken out of the collection: they stay alive (so pointers held
    // elsewhere remain valid) and are destroyed with the collection.
    void clear(bool pFreeMemory = true);

    // The first block, in collection order, holding the well; nullptr when none does.
    OWCellBlockBase *getCellPoint(QPoint pPoint) const;
    // nullptr for an index outside 0 .. GetCount() - 1.
    OWCellBlockBase *getCellInteger(int pIndex) const
    {
        if (pIndex < 0 || pIndex >= GetCount())
            return nullptr;
        return mCells[static_cast<std::size_t>(pIndex)].get();
    }
    int GetCount() const { return static_cast<int>(mCells.size()); }
    // Blocks removed since the collection was last cleared.
    int DeleteCount() const { return fDeleteCount; }

    const std::vector<std::unique_ptr<OWCellBlockBase>> &Blocks() const { return mCells; }

private:
    std::vector<std::unique_ptr<OWCellBlockBase>> mCells;
    std::vector<std::unique_ptr<OWCellBlockBase>> mForgotten; // taken out by clear(false)
    int fDeleteCount = 0;
};
