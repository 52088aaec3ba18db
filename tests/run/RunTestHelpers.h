#pragma once

// Small builders shared by the run-data tests: plates of text, standard and sample
// blocks placed the way the formatting toolbar places them.

#include "support/TestSupport.h"

#include "plate/CellBlockRect.h"
#include "plate/CellColl.h"
#include "plate/MarnovelPanels.h"
#include "plate/TextGrid.h"
#include "run/MarnovelRdData.h"

#include <QMimeData>
#include <QPoint>
#include <QStringList>

#include <memory>

namespace RunTest {

using TestSupport::Dec;

// A standard block in grid column `col`, S1 at `firstRow`, going down.
inline OWCellBlockBase &AddStandardColumn(TMarnovelData &data, int col, int firstRow = 1)
{
    auto block = std::make_unique<OWCellBlockRectCombined>();
    TCBBlockPanelList &labels = TStdPanel::GetBlockList();
    for (int i = 0; i < labels.Count(); ++i)
        block->addWithID(QPoint(col, firstRow + i), labels.GetItem(i));
    block->setId(QStringLiteral("Std ") + QString::number(data.StdBlocks().GetCount() + 1), true);
    block->SetCriteriaType(CT_STANDARDS);
    OWCellBlockBase &ref = *block;
    data.StdBlocks().add(std::move(block));
    return ref;
}

// A one-well research sample block at the well.
inline OWCellBlockBase &AddSample(TMarnovelData &data, QPoint well, const QString &id = QString())
{
    auto block = std::make_unique<OWCellBlockRectCombined>();
    block->addWithID(well, TCBBlockPanelList::GetListForCriteriaType(CT_RESEARCH_SAMPLE).GetItem(0));
    block->setId(id.isEmpty() ? QStringLiteral("ID ") + QString::number(data.RawData().GetCount() + 1) : id,
                 false);
    block->SetCriteriaType(CT_RESEARCH_SAMPLE);
    OWCellBlockBase &ref = *block;
    data.RawData().add(std::move(block));
    return ref;
}

// A full 13 x 9 grid (headings empty) whose data cells hold "0.100" unless set.
inline TTextGrid PlateGrid()
{
    TTextGrid grid(PlateGridColumnCount, PlateGridRowCount);
    for (int c = 1; c < PlateGridColumnCount; ++c)
        for (int r = 1; r < PlateGridRowCount; ++r)
            grid.SetCell(c, r, Dec("0.100"));
    return grid;
}

// Writes the texts down grid column `col` from row `firstRow`. Numbers are given with "."
// and turned into the regional form; other texts are kept.
inline void SetColumn(TTextGrid &grid, int col, const QStringList &texts, int firstRow = 1)
{
    for (int i = 0; i < texts.size(); ++i)
        grid.SetCell(col, firstRow + i, TestSupport::Dec(texts.at(i)));
}

// Lines joined by CR LF.
inline QString Lines(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

// `count` lines of `perLine` tab-separated copies of `token`.
inline QString Repeated(const QString &token, int perLine, int count)
{
    QStringList line;
    for (int i = 0; i < perLine; ++i)
        line.append(token);
    QStringList lines;
    for (int j = 0; j < count; ++j)
        lines.append(line.join(QLatin1Char('\t')));
    return Lines(lines);
}

inline bool Paste(TMarnovelData &data, const QString &text)
{
    QMimeData mime;
    mime.setText(text);
    return data.loadDataObject(&mime);
}

} // namespace RunTest
