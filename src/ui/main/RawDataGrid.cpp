#include "RawDataGrid.h"

#include "UiColors.h"
#include "core/FontManager.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "plate/CellBlock.h"
#include "platform/ExceptionBoundary.h"
#include "platform/WindowTools.h"
#include "run/MarnovelData.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kVerticalTop = 0, kVerticalBottom = 1, kVerticalCentre = 2;
constexpr int kHorizontalLeft = 0, kHorizontalRight = 1, kHorizontalCentre = 2;
constexpr QRgb kNonNumericGrey = 0x808080;
constexpr QRgb kIdentifierRed = 0xFF0000;

int CurrentFontSize(FONTUSAGE usage)
{
    return GetFontManager().DetermineFontSize(GetTranslationManager().DetermineCharset(), usage);
}

// Every cell is drawn by the grid; the delegate only hands the painting over.
class TRawDataDelegate : public QStyledItemDelegate
{
public:
    explicit TRawDataDelegate(TRawDataGrid *grid) : QStyledItemDelegate(grid), mGrid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        RunGuarded([&] {
            painter->save();
            mGrid->rawDataGdDrawCell(*painter, option.rect, index.column(), index.row());
            painter->restore();
        });
    }

private:
    TRawDataGrid *mGrid;
};

} // namespace

TRawDataGrid::TRawDataGrid(QWidget *parent) : QTableWidget(parent)
{
    setItemDelegate(new TRawDataDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    ResetRawDataGrid();
}

void TRawDataGrid::SetColCount(int count)
{
    setColumnCount(std::max(0, count));
}

void TRawDataGrid::SetRowCount(int count)
{
    setRowCount(std::max(0, count));
}

QString TRawDataGrid::Cell(int col, int row) const
{
    const QTableWidgetItem *cell = item(row, col);
    return cell ? cell->text() : QString();
}

void TRawDataGrid::SetCell(int col, int row, const QString &text)
{
    if (QTableWidgetItem *cell = ItemAt(col, row))
        cell->setText(text);
}

QTableWidgetItem *TRawDataGrid::ItemAt(int col, int row)
{
    if (col < 0 || col >= columnCount() || row < 0 || row >= rowCount())
        return nullptr;
    QTableWidgetItem *cell = item(row, col);
    if (!cell) {
        cell = new QTableWidgetItem;
        setItem(row, col, cell);
    }
    return cell;
}

void TRawDataGrid::SetHeadings()
{
    SetCell(0, 0, QString());
    for (int col = 1; col < columnCount(); ++col)
        SetCell(col, 0, QString::number(col));
    for (int row = 1; row < rowCount(); ++row)
        SetCell(0, row, mData ? mData->rawDataRowheading(row - 1) : QString(RowHeadingLetter(row)));
}

void TRawDataGrid::ResetRawDataGrid()
{
    setColumnCount(PlateGridColumnCount);
    setRowCount(PlateGridRowCount);
    QFont numbers = font();
    numbers.setPointSize(CurrentFontSize(GRID_RAWDATA_NUMBER));
    setFont(numbers);
    AdjustRowHeights();
    SetHeadings();
    for (int col = 1; col < columnCount(); ++col) {
        for (int row = 1; row < rowCount(); ++row)
            SetCell(col, row, QString());
    }
}

int TRawDataGrid::DataRowHeight(int gridHeight, int bevelWidth, int gridLineWidth)
{
    const int overhead = 2 * bevelWidth + 10 * gridLineWidth + 1;
    return static_cast<int>(std::nearbyint((gridHeight - overhead) / 9.0));
}

int TRawDataGrid::HeadingRowHeight(int gridHeight, int bevelWidth, int gridLineWidth)
{
    const int overhead = 2 * bevelWidth + 10 * gridLineWidth + 1;
    return gridHeight - overhead - 8 * DataRowHeight(gridHeight, bevelWidth, gridLineWidth);
}

int TRawDataGrid::DataColumnWidth(int gridWidth)
{
    return gridWidth / 13;
}

int TRawDataGrid::HeadingColumnWidth(int gridWidth, int bevelWidth, int gridLineWidth)
{
    return gridWidth - 12 * DataColumnWidth(gridWidth) - 14 * gridLineWidth - 2 * bevelWidth - 1;
}

void TRawDataGrid::AdjustRowHeights()
{
    const int bevel = frameWidth();
    const int data = std::max(1, DataRowHeight(height(), bevel, GridLineWidth));
    const int heading = std::max(1, HeadingRowHeight(height(), bevel, GridLineWidth));
    if (rowCount() > 0)
        setRowHeight(0, heading + GridLineWidth);
    for (int row = 1; row < rowCount(); ++row)
        setRowHeight(row, data + GridLineWidth);
}

void TRawDataGrid::adjustRawDataGdColWidth(int toColumn)
{
    mColumnExtent = toColumn;
    const int bevel = frameWidth();
    const int data = std::max(1, DataColumnWidth(width()));
    for (int col = 1; col < std::min(toColumn, columnCount()); ++col)
        setColumnWidth(col, data + GridLineWidth);
    if (columnCount() > 0)
        setColumnWidth(0, std::max(1, HeadingColumnWidth(width(), bevel, GridLineWidth)) + GridLineWidth);
}

void TRawDataGrid::resizeEvent(QResizeEvent *event)
{
    QTableWidget::resizeEvent(event);
    AdjustRowHeights();
    adjustRawDataGdColWidth(std::max(mColumnExtent, PlateGridColumnCount));
}

void TRawDataGrid::rawDataGdDrawCell(QPainter &painter, const QRect &rect, int col, int row)
{
    const QPoint well(col, row);
    OWCellBlockBase *block = mData ? mData->cellAtPoint(well) : nullptr;
    const bool heading = row == 0 || col == 0;

    QFont font = this->font();
    font.setPointSize(CurrentFontSize(GRID_RAWDATA_NUMBER));
    painter.setFont(font);

    QColor background = Qt::white;
    if (heading)
        background = palette().color(QPalette::Button);
    else if (block)
        background = ToQColor(block->GetBlockCellColor(well));
    painter.setBrush(background);

    bool filled = false;
    if (block && block->idCell(well)) {
        QFont idFont = font;
        idFont.setBold(true);
        idFont.setPointSize(CurrentFontSize(GRID_RAWDATA_ID));
        painter.setFont(idFont);
        painter.setPen(QColor(kIdentifierRed));
        DrawTextInRect(painter, rect, block->CellRawDataID(well), true, 0, 2, kVerticalTop, kHorizontalLeft);
        filled = true;
    }

    const QString text = Cell(col, row);
    if (!heading) {
        double value = 0.0;
        const bool number = TryTextToFloat(text, value);
        QFont dataFont = font;
        dataFont.setPointSize(CurrentFontSize(number ? GRID_RAWDATA_NUMBER : GRID_RAWDATA_NS));
        const bool standard = block && block->getIsStandard();
        dataFont.setBold(standard);
        dataFont.setUnderline(standard);
        painter.setFont(dataFont);
        painter.setPen(number ? QColor(Qt::black) : QColor(kNonNumericGrey));
        DrawTextInRect(painter, rect, text, !filled, 2, 2, kVerticalBottom,
                       number ? kHorizontalRight : kHorizontalLeft);
    } else {
        // The complement of the background is always readable on it.
        painter.setPen(QColor(255 - background.red(), 255 - background.green(), 255 - background.blue()));
        DrawTextInRect(painter, rect, text, true, 2, 2, kVerticalCentre, kHorizontalCentre);
    }
}
