#pragma once

// Plate wells by their names in tests: "H12" is column 12, row 8 of the plate grid.

#include "plate/CellBlock.h"

#include <QPoint>
#include <QString>

#include <initializer_list>
#include <vector>

namespace TestSupport {

inline QPoint Well(const char *name)
{
    const QString text = QString::fromLatin1(name);
    return QPoint(text.mid(1).toInt(), text.at(0).unicode() - u'A' + 1);
}

inline std::vector<QPoint> Wells(std::initializer_list<const char *> names)
{
    std::vector<QPoint> wells;
    for (const char *name : names)
        wells.push_back(Well(name));
    return wells;
}

// The wells of a block in its order.
inline std::vector<QPoint> WellsOf(const OWCellBlockBase &block)
{
    std::vector<QPoint> wells;
    for (const OWCellBlockElm &elm : block.block())
        wells.push_back(elm.mCell);
    return wells;
}

} // namespace TestSupport
