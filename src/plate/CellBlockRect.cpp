#include "plate/CellBlockRect.h"

#include "plate/MarnovelPanels.h"
#include "plate/TextGrid.h"

#include <algorithm>

OWCellBlockRect::OWCellBlockRect(int pSlotCount) : mBlock(static_cast<std::size_t>(std::max(0, pSlotCount)))
{
}

int OWCellBlockRectCombined::Count() const
{
    return static_cast<int>(mBlock.size());
}

bool OWCellBlockRectCombined::add(QPoint pPoint)
{
    mBlock.emplace_back(pPoint);
    return true;
}

bool OWCellBlockRectCombined::addWithID(QPoint pPoint, TBaseSelectBlockPanel *pPanel)
{
    if (!add(pPoint))
        return false;
    if (pPanel) {
        mBlock.back().fID = pPanel->ID();
        mBlock.back().fCellPanel = pPanel;
    }
    return true;
}

int OWCellBlockRectCombined::GetBlockCellIndex(QPoint pPoint) const
{
    const auto found = std::find_if(mBlock.begin(), mBlock.end(),
                                    [&](const OWCellBlockElm &e) { return e.mCell == pPoint; });
    return found == mBlock.end() ? -1 : static_cast<int>(found - mBlock.begin());
}

bool OWCellBlockRectCombined::contains(QPoint pPoint) const
{
    return GetBlockCellIndex(pPoint) >= 0;
}

bool OWCellBlockRectCombined::idCell(QPoint pPoint) const
{
    return Count() > 0 && contains(pPoint);
}

bool OWCellBlockRectCombined::setValues(const ITextGrid &pGrid)
{
    const int count = Count();
    SetValueCount(count);
    bool allNumeric = true;
    for (int i = 0; i < count; ++i) {
        const QPoint cell = mBlock[static_cast<std::size_t>(i)].mCell;
        // Every well is read, also after a non-numeric one.
        const QString *stored = pGrid.StoredCell(cell.x(), cell.y());
        if (!(stored != nullptr ? setValueFromText(i, *stored)
                                : setValueFromText(i, pGrid.Cell(cell.x(), cell.y()))))
            allNumeric = false;
    }
    return allNumeric;
}

int OWCellBlockRectCombined::ContainsID(int pId) const
{
    const auto found = std::find_if(mBlock.begin(), mBlock.end(), [&](const OWCellBlockElm &e) {
        return e.fCellPanel && e.fCellPanel->ID() == pId;
    });
    return found == mBlock.end() ? -1 : static_cast<int>(found - mBlock.begin());
}

TColor OWCellBlockRectCombined::GetBlockCellColor(QPoint pPoint)
{
    if (mIsStandard) {
        const int index = GetBlockCellIndex(pPoint);
        if (index >= 0) {
            if (const TBaseSelectBlockPanel *panel = mBlock[static_cast<std::size_t>(index)].fCellPanel)
                return panel->StdColor();
        }
    }
    return color();
}

QString OWCellBlockRectCombined::CellRawDataID(QPoint pPoint) const
{
    const int index = GetBlockCellIndex(pPoint);
    if (index < 0)
        return QString();
    const TBaseSelectBlockPanel *panel = mBlock[static_cast<std::size_t>(index)].fCellPanel;
    const QString label = panel ? panel->StdText() : QString();
    if (mIsStandard)
        return label;
    return QString::number(fFixedID) + label;
}
