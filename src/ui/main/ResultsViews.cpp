#include "ResultsViews.h"

#include "UiColors.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "platform/ExceptionBoundary.h"
#include "platform/WindowTools.h"
#include "run/QcRules.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>
#include <type_traits>

using namespace Qt::StringLiterals;

namespace {

constexpr int kVerticalCentre = 2;
constexpr int kHorizontalLeft = 0, kHorizontalRight = 1, kHorizontalCentre = 2;

const QString BoldOpen = u"<B>"_s;
const QString BoldClose = u"</B>"_s;

bool ReadsAsNumber(const QString &text)
{
    double value = 0.0;
    return TryTextToFloat(text, value);
}

// Both grids draw every cell themselves; the delegate hands the painting over. Tool tips
// (Qt::ToolTipRole) stay the delegate's.
template <typename Grid> class TCellPainter : public QStyledItemDelegate
{
public:
    explicit TCellPainter(Grid *grid) : QStyledItemDelegate(grid), mGrid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        RunGuarded([&] {
            painter->save();
            if constexpr (std::is_same_v<Grid, TStandardsGrid>)
                mGrid->concGdDrawCell(*painter, option.rect, index.column(), index.row(),
                                      option.state.testFlag(QStyle::State_Selected));
            else
                mGrid->resultGdDrawCell(*painter, option.rect, index.column(), index.row());
            painter->restore();
        });
    }

private:
    Grid *mGrid;
};

template <typename Grid> void SetUpTextGrid(Grid *grid)
{
    grid->setItemDelegate(new TCellPainter<Grid>(grid));
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setMinimumSectionSize(1);
    grid->verticalHeader()->setMinimumSectionSize(1);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QTableWidgetItem *CellItem(QTableWidget *grid, int col, int row)
{
    if (col < 0 || col >= grid->columnCount() || row < 0 || row >= grid->rowCount())
        return nullptr;
    QTableWidgetItem *cell = grid->item(row, col);
    if (!cell) {
        cell = new QTableWidgetItem;
        grid->setItem(row, col, cell);
    }
    return cell;
}

QString CellText(const QTableWidget *grid, int col, int row)
{
    const QTableWidgetItem *cell = grid->item(row, col);
    return cell ? cell->text() : QString();
}

// Rows at least as high as a line of the font with the grid lines and frame around it.
void EnsureRowHeight(QTableWidget *grid, const QFontMetrics &metrics, int gridLineWidth)
{
    const int needed = metrics.height() + 2 * grid->frameWidth() + 2 * gridLineWidth;
    if (grid->verticalHeader()->defaultSectionSize() < needed)
        grid->verticalHeader()->setDefaultSectionSize(needed);
}

} // namespace

// ---- QC explanations ---------------------------------------------------------------------

QString QcToolTipRows(const std::vector<TQcCheck> &checks, const QString &owner)
{
    // Cells never wrap: the tool tip is as wide as its widest row.
    const auto cell = [](const QString &html) -> QString {
        return u"<td style=\"white-space:pre\">"_s + html + u"</td>"_s;
    };
    QString rows;
    for (const TQcCheck &check : checks) {
        const QString color = QColor(check.Passed ? PassGreen : FailRed).name();
        const QString sentence =
            QcCheckStatement(check).toHtmlEscaped() + u": <span style=\"color:"_s + color + u"\">"_s +
            UiText(check.Passed ? TextId::Pass : TextId::Fail).toHtmlEscaped() + u"</span>"_s;
        rows += u"<tr>"_s + (owner.isEmpty() ? QString() : cell(owner.toHtmlEscaped())) + cell(sentence) +
                u"</tr>"_s;
    }
    return rows;
}

QString QcToolTip(const QString &rows)
{
    return rows.isEmpty() ? QString() : u"<table cellspacing=\"6\">"_s + rows + u"</table>"_s;
}

// ---- standards grid ---------------------------------------------------------------------

TStandardsGrid::TStandardsGrid(QWidget *parent) : QTableWidget(parent)
{
    SetUpTextGrid(this);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setColumnCount(ColumnCount);
    setColumnHidden(FlagColumn, true);
}

QTableWidgetItem *TStandardsGrid::ItemAt(int col, int row)
{
    QTableWidgetItem *cell = CellItem(this, col, row);
    if (cell && col != 0)
        cell->setFlags(cell->flags() & ~Qt::ItemIsSelectable);
    return cell;
}

QString TStandardsGrid::Cell(int col, int row) const
{
    return CellText(this, col, row);
}

void TStandardsGrid::SetCell(int col, int row, const QString &text)
{
    if (QTableWidgetItem *cell = ItemAt(col, row))
        cell->setText(text);
}

void TStandardsGrid::SetCellToolTip(int col, int row, const QString &toolTip)
{
    if (QTableWidgetItem *cell = ItemAt(col, row))
        cell->setToolTip(toolTip);
}

std::optional<bool> TStandardsGrid::Passed(int row) const
{
    int flag = 0;
    if (!TryTextToInt(Cell(FlagColumn, row), flag))
        return std::nullopt;
    return flag != 0;
}

std::optional<QColor> TStandardsGrid::QcColor(int row) const
{
    const std::optional<bool> pass = Passed(row);
    if (!pass)
        return std::nullopt;
    return QColor(*pass ? PassGreen : FailRed);
}

void TStandardsGrid::LayoutColumns()
{
    const int lines = showGrid() ? GridLineWidth : 0;
    // With the 8-point curve's scroll bar the columns share what it leaves.
    const int width = this->width() - (verticalScrollBar()->isVisible() ? verticalScrollBar()->width() : 0);
    int used = 0;
    for (int col = 0; col < QcColumn; ++col) {
        const int columnWidth = col == 0 ? width / 8 : width / 5;
        setColumnWidth(col, columnWidth);
        used += columnWidth;
    }
    setColumnWidth(QcColumn, std::max(1, width - used - 4 * lines - 2 * frameWidth() - 2));
    EnsureRowHeight(this, fontMetrics(), GridLineWidth);
}

void TStandardsGrid::resizeEvent(QResizeEvent *event)
{
    QTableWidget::resizeEvent(event);
    LayoutColumns();
}

void TStandardsGrid::concGdDrawCell(QPainter &painter, const QRect &rect, int col, int row,
                                    bool selected) const
{
    const QString text = Cell(col, row);
    painter.setFont(font());
    if (row == 0) {
        painter.setBrush(palette().color(QPalette::Button));
        painter.setPen(palette().color(QPalette::ButtonText));
        DrawTextInRect(painter, rect, text, true, 0, CellMargin, kVerticalCentre, kHorizontalCentre);
        return;
    }
    painter.setBrush(palette().color(selected ? QPalette::Highlight : QPalette::Base));
    QColor pen = palette().color(selected ? QPalette::HighlightedText : QPalette::Text);
    if (col == QcColumn)
        pen = QcColor(row).value_or(pen);
    painter.setPen(pen);
    DrawTextInRect(painter, rect, text, true, 0, CellMargin, kVerticalCentre,
                   ReadsAsNumber(text) ? kHorizontalRight : kHorizontalLeft);
}

// ---- subject result grid -------------------------------------------------------------------

TResultGrid::TResultGrid(QWidget *parent)
    : QTableWidget(parent), mHeadingFont(font()), mHeadingRow(new QTableView(this))
{
    SetUpTextGrid(this);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    horizontalHeader()->setDefaultSectionSize(DefaultColumnWidth);
    // Rows glide under the heading row; a wheel notch still moves whole rows.
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);

    mHeadingRow->setObjectName(u"resultGdHeadingRow"_s);
    mHeadingRow->setModel(model());
    mHeadingRow->setItemDelegate(itemDelegate());
    mHeadingRow->horizontalHeader()->hide();
    mHeadingRow->verticalHeader()->hide();
    mHeadingRow->horizontalHeader()->setMinimumSectionSize(1);
    mHeadingRow->verticalHeader()->setMinimumSectionSize(1);
    mHeadingRow->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mHeadingRow->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mHeadingRow->setSelectionMode(QAbstractItemView::NoSelection);
    mHeadingRow->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mHeadingRow->setFocusPolicy(Qt::NoFocus);
    mHeadingRow->setFrameShape(QFrame::NoFrame);
    // The wheel over the headings scrolls the subjects.
    mHeadingRow->setAttribute(Qt::WA_TransparentForMouseEvents);
    viewport()->stackUnder(mHeadingRow);
    connect(horizontalHeader(), &QHeaderView::sectionResized, mHeadingRow,
            [this](int col, int, int size) { mHeadingRow->setColumnWidth(col, size); });
    connect(verticalHeader(), &QHeaderView::sectionResized, mHeadingRow, [this](int row, int, int size) {
        if (row == 0) {
            mHeadingRow->setRowHeight(0, size);
            PlaceHeadingRow();
        }
    });
}

void TResultGrid::PlaceHeadingRow()
{
    const QRect area = viewport()->geometry();
    mHeadingRow->setGeometry(area.x(), area.y(), area.width(), rowCount() > 0 ? rowHeight(0) : 0);
    if (rowCount() > 0)
        mHeadingRow->setRowHeight(0, rowHeight(0));
    for (int col = 0; col < columnCount(); ++col)
        mHeadingRow->setColumnWidth(col, columnWidth(col));
    mHeadingRow->setVisible(rowCount() > 0);
}

void TResultGrid::updateGeometries()
{
    QTableWidget::updateGeometries();
    verticalScrollBar()->setSingleStep(verticalHeader()->defaultSectionSize());
    PlaceHeadingRow();
}

QTableWidgetItem *TResultGrid::ItemAt(int col, int row)
{
    return CellItem(this, col, row);
}

QString TResultGrid::Cell(int col, int row) const
{
    return CellText(this, col, row);
}

void TResultGrid::SetCell(int col, int row, const QString &text)
{
    QTableWidgetItem *cell = ItemAt(col, row);
    if (!cell)
        return;
    cell->setText(text);
    // A screen reader reads the result as it is seen, without the bold tags.
    cell->setData(Qt::AccessibleTextRole, StripMarkup(text));
    if (row == 0) {
        if (mHeadingLines.size() <= col)
            mHeadingLines.resize(col + 1);
        mHeadingLines[col] = col == 0 ? QStringList{text} : SplitHeading(text);
    }
}

QStringList TResultGrid::HeadingLines(int col) const
{
    return col >= 0 && col < mHeadingLines.size() ? mHeadingLines.at(col) : QStringList{QString()};
}

QString TResultGrid::PlainPart(const QString &text)
{
    return DeleteFromTo(text, BoldOpen, BoldClose);
}

QString TResultGrid::BoldPart(const QString &text)
{
    return text.contains(BoldClose) ? TextBetween(text, BoldOpen, BoldClose) : QString();
}

void TResultGrid::SetFontSizes(int dataPointSize, int headingPointSize)
{
    QFont data = font();
    data.setPointSize(dataPointSize);
    setFont(data);
    mHeadingFont = data;
    mHeadingFont.setPointSize(headingPointSize);
}

void TResultGrid::LayoutColumns()
{
    const int columns = columnCount();
    if (columns == 0)
        return;
    const int available = width() - 2 * frameWidth() - style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int unit = available / (columns + 4);
    int taken = 3 * unit;
    setColumnWidth(0, 3 * unit);
    for (int col = 1; col < columns - 1; ++col) {
        const int columnWidth = static_cast<int>(std::nearbyint(1.1 * unit));
        setColumnWidth(col, columnWidth);
        taken += columnWidth;
    }
    if (columns > 1)
        setColumnWidth(columns - 1, std::max(1, available - taken - 3));
    mMinLastColWidth = columns > 1 ? columnWidth(1) : 0;
    EnsureRowHeight(this, fontMetrics(), GridLineWidth);
    FitHeadings();
}

void TResultGrid::FitHeadings()
{
    if (rowCount() == 0)
        return;
    const QFontMetrics metrics(mHeadingFont);
    const int border = 2 * frameWidth() + 2 * GridLineWidth;
    int lineCount = 1;
    const int last = columnCount() - 1;
    for (int col = 0; col <= last; ++col) {
        const QStringList lines = HeadingLines(col);
        lineCount = std::max(lineCount, static_cast<int>(lines.size()));
        if (col == last)
            continue;
        // The lines are drawn with the cell margin on either side.
        const int needed = MaxTextWidth(metrics, lines) + 2 * CellMargin + border;
        const int extra = needed - columnWidth(col);
        if (extra > 0 && columnWidth(last) - extra >= mMinLastColWidth) {
            setColumnWidth(col, needed);
            setColumnWidth(last, columnWidth(last) - extra);
        }
    }
    const int headingHeight = metrics.height() * lineCount + border;
    if (rowHeight(0) < headingHeight)
        setRowHeight(0, headingHeight);
}

void TResultGrid::resizeEvent(QResizeEvent *event)
{
    QTableWidget::resizeEvent(event);
    LayoutColumns();
}

void TResultGrid::resultGdDrawCell(QPainter &painter, const QRect &rect, int col, int row) const
{
    const bool heading = row == 0 || col == 0;
    painter.setBrush(heading ? palette().color(QPalette::Button) : QColor(Qt::white));
    painter.setPen(palette().color(heading ? QPalette::ButtonText : QPalette::Text));
    if (row == 0) {
        painter.setFont(mHeadingFont);
        DrawTextLines(painter, rect, HeadingLines(col), true, 0, CellMargin, kVerticalCentre,
                      kHorizontalCentre);
        return;
    }
    const QString text = Cell(col, row);
    const QString plain = PlainPart(text);
    const int alignment = col >= 1 && ReadsAsNumber(text) ? kHorizontalRight : kHorizontalLeft;
    painter.setFont(font());
    DrawTextInRect(painter, rect, plain, true, 0, CellMargin, kVerticalCentre, alignment);
    const QString bold = BoldPart(text);
    if (bold.isEmpty())
        return;
    const int plainWidth = painter.fontMetrics().horizontalAdvance(plain);
    QFont boldFont = font();
    boldFont.setBold(true);
    painter.setFont(boldFont);
    DrawTextInRect(painter, rect.adjusted(plainWidth + CellMargin, 0, 0, 0), bold, false, 0, CellMargin,
                   kVerticalCentre, alignment);
}
