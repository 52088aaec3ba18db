#include "plate/CellColl.h"

#include "core/Exceptions.h"
#include "core/Tool.h"

#include <algorithm>

OWCells::~OWCells() = default;

int OWCells::add(std::unique_ptr<OWCellBlockBase> pBlock)
{
    if (!pBlock)
        throw EListError(BuildExceptionMessage(QStringLiteral("OWCells.add"), QString(),
                                               QStringLiteral("No block passed in.")));
    pBlock->mSortOrder = GetCount() + fDeleteCount;
    mCells.push_back(std::move(pBlock));
    return GetCount() - 1;
}

bool OWCells::remove(OWCellBlockBase *pBlock)
{
    const auto found =
        std::find_if(mCells.begin(), mCells.end(),
                     [&](const std::unique_ptr<OWCellBlockBase> &b) { return b.get() == pBlock; });
    if (pBlock == nullptr || found == mCells.end())
        return false;
    mCells.erase(found);
    ++fDeleteCount;
    return true;
}

void OWCells::clear(bool pFreeMemory)
{
    if (!pFreeMemory) {
        for (std::unique_ptr<OWCellBlockBase> &block : mCells)
            mForgotten.push_back(std::move(block));
    }
    mCells.clear();
    fDeleteCount = 0;
}

OWCellBlockBase *OWCells::getCellPoint(QPoint pPoint) const
{
    for (const std::unique_ptr<OWCellBlockBase> &block : mCells) {
        if (block->contains(pPoint))
            return block.get();
    }
    return nullptr;
}
