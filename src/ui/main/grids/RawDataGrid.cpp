#include "RawDataGrid.h"

#include "OwnDrawnGrid.h"
#include "PlateModel.h"

#include "core/Exceptions.h"
#include "core/FontManager.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "plate/CellBlock.h"
#include "platform/ExceptionBoundary.h"
#include "platform/WindowTools.h"
#include "reports/ReportPictures.h"
#include "ui/main/UiColors.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>

// Every cell is drawn by the grid; the delegate hands the painting over and lets the grid
// see the keys typed in the cell editor first.
class TRawDataDelegate : public QStyledItemDelegate
{
public:
    explicit TRawDataDelegate(TRawDataGrid *grid) : QStyledItemDelegate(grid), mGrid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        PaintCellQuietly(*painter, [&] {
            mGrid->rawDataGdDrawCell(*painter, option.rect, index.column(), index.row());
            // The keyboard's well: a frame that shows on every block colour, dark and light.
            if (option.state.testFlag(QStyle::State_HasFocus)) {
                painter->setBrush(Qt::NoBrush);
                painter->setPen(QPen(Qt::black, 2));
                painter->drawRect(option.rect.adjusted(2, 2, -2, -2));
                painter->setPen(QPen(Qt::white, 1));
                painter->drawRect(option.rect.adjusted(4, 4, -5, -5));
            }
        });
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        mGrid->mEditor = editor;
        return editor;
    }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            bool taken = false;
            RunGuarded([&] { taken = mGrid->EditorKeyPress(static_cast<QKeyEvent *>(event)->key()); });
            if (taken)
                return true;
        } else if (event->type() == QEvent::KeyRelease) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            RunGuarded([&] { Q_EMIT mGrid->keyUp(key); });
            return true;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    TRawDataGrid *mGrid;
};

TRawDataGrid::TRawDataGrid(const TRunSession *session, QWidget *parent)
    : QTableView(parent), mModel(new TPlateModel(session, this))
{
    setModel(mModel);
    setItemDelegate(new TRawDataDelegate(this));
    SetUpOwnDrawnGrid(*this);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A new plate may come with other extents: every row and column gets its size again.
    connect(mModel, &QAbstractItemModel::modelReset, this, [this] {
        AdjustRowHeights();
        adjustRawDataGdColWidth(std::max(ColCount(), PlateGridColumnCount));
    });
    ResetRawDataGrid();
}

int TRawDataGrid::ColCount() const
{
    return mModel->ColCount();
}

int TRawDataGrid::RowCount() const
{
    return mModel->RowCount();
}

void TRawDataGrid::SetColCount(int count)
{
    const int before = ColCount();
    mModel->SetColCount(count);
    const int data = std::max(1, DataColumnWidth(width())) + GridLineWidth;
    for (int col = std::max(before, 1); col < ColCount(); ++col)
        setColumnWidth(col, data);
}

void TRawDataGrid::SetRowCount(int count)
{
    const int before = RowCount();
    mModel->SetRowCount(count);
    if (RowCount() > before)
        AdjustRowHeights();
}

QString TRawDataGrid::Cell(int col, int row) const
{
    return mModel->Cell(col, row);
}

void TRawDataGrid::SetCell(int col, int row, const QString &text)
{
    mModel->SetCell(col, row, text);
}

void TRawDataGrid::ResetRawDataGrid()
{
    mModel->Clear();
    QFont numbers = font();
    numbers.setPointSize(CurrentFontSize(GRID_RAWDATA_NUMBER));
    setFont(numbers);
    AdjustRowHeights();
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
    QTableView::resizeEvent(event);
    AdjustRowHeights();
    adjustRawDataGdColWidth(std::max(mColumnExtent, PlateGridColumnCount));
}

void TRawDataGrid::rawDataGdDrawCell(QPainter &painter, const QRect &rect, int col, int row)
{
    // The report's plate picture is painted by the same code.
    PaintPlateCell(painter, rect, mModel->Data(), col, row, Cell(col, row), font(),
                   palette().color(QPalette::Button));
    const QPoint well(col, row);
    if (well == mPendingPress) {
        painter.setPen(QColor(Qt::black));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

// ---- cells and editing ---------------------------------------------------------------------

QPoint TRawDataGrid::CurrentCell() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? QPoint(current.column(), current.row()) : QPoint(-1, -1);
}

void TRawDataGrid::SetCurrentCell(int col, int row)
{
    if (col < 1 || col >= columnCount() || row < 1 || row >= rowCount())
        return;
    setCurrentIndex(mModel->index(row, col));
}

QPoint TRawDataGrid::CellAt(QPoint viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    return index.isValid() ? QPoint(index.column(), index.row()) : QPoint(-1, -1);
}

void TRawDataGrid::RoundNumberTexts()
{
    for (int col = 1; col < columnCount(); ++col) {
        for (int row = 1; row < rowCount(); ++row) {
            const QString text = Cell(col, row);
            double value = 0.0;
            if (!TryTextToFloat(text, value))
                continue;
            QString rounded;
            try {
                rounded = RoundWideString(text, 3);
            } catch (const MarnovelException &) {
                continue; // too large to round on its digits: kept as written
            }
            if (rounded != text)
                SetCell(col, row, rounded);
        }
    }
}

void TRawDataGrid::SetEditing(bool on)
{
    if (!on)
        CloseEditor();
    mEditing = on;
    setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked
                       : QAbstractItemView::NoEditTriggers);
}

void TRawDataGrid::OpenEditor()
{
    if (!mEditing)
        return;
    const QPoint cell = CurrentCell();
    if (cell.x() < 1 || cell.y() < 1) {
        SetCurrentCell(1, 1); // opens the editor there
        return;
    }
    if (!mEditor)
        edit(currentIndex());
}

void TRawDataGrid::CloseEditor()
{
    if (QWidget *editor = mEditor) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    mEditor = nullptr;
}

void TRawDataGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == mEditor)
        mEditor = nullptr;
    QTableView::closeEditor(editor, hint);
}

void TRawDataGrid::SetPendingPressCell(QPoint cell)
{
    if (cell == mPendingPress)
        return;
    const QPoint before = mPendingPress;
    mPendingPress = cell;
    for (const QPoint &changed : {before, cell}) {
        if (changed.x() >= 0 && changed.y() >= 0)
            viewport()->update(visualRect(model()->index(changed.y(), changed.x())));
    }
}

void TRawDataGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    // The base commits and closes the editor of the previous cell first.
    QTableView::currentChanged(current, previous);
    RunGuarded([&] {
        RoundNumberTexts();
        if (mEditing && current.isValid() && isVisible() && !mEditor)
            edit(current);
    });
}

QModelIndex TRawDataGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex next = QTableView::moveCursor(cursorAction, modifiers);
    if (next.isValid() && (next.row() < 1 || next.column() < 1))
        return currentIndex();
    return next;
}

bool TRawDataGrid::EditorKeyPress(int key)
{
    switch (key) {
    case Qt::Key_Enter:
    case Qt::Key_Return:
        Q_EMIT keyPress(key);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        MoveByArrow(key);
        return true;
    default:
        return false;
    }
}

void TRawDataGrid::MoveByArrow(int key)
{
    const QModelIndex next = moveCursor(key == Qt::Key_Up ? MoveUp : MoveDown, Qt::NoModifier);
    if (next.isValid() && next != currentIndex())
        setCurrentIndex(next);
}

void TRawDataGrid::keyPressEvent(QKeyEvent *event)
{
    // Space as well outside editing: it places a block from the keyboard.
    if (event->key() == Qt::Key_Enter || event->key() == Qt::Key_Return ||
        (event->key() == Qt::Key_Space && !mEditing)) {
        event->accept();
        Q_EMIT keyPress(event->key());
        return;
    }
    QTableView::keyPressEvent(event);
}

void TRawDataGrid::keyReleaseEvent(QKeyEvent *event)
{
    QTableView::keyReleaseEvent(event);
    event->accept();
    if (!event->isAutoRepeat())
        Q_EMIT keyUp(event->key());
}

void TRawDataGrid::mousePressEvent(QMouseEvent *event)
{
    // Only the left button selects, as in the grid the plate was laid out with first.
    if (event->button() == Qt::LeftButton)
        QTableView::mousePressEvent(event);
    Q_EMIT mouseDown(event->button(), CellAt(event->position().toPoint()), event->globalPosition().toPoint());
}

void TRawDataGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click is a press as well.
    if (event->button() == Qt::LeftButton)
        QTableView::mouseDoubleClickEvent(event);
    Q_EMIT mouseDown(event->button(), CellAt(event->position().toPoint()), event->globalPosition().toPoint());
}

void TRawDataGrid::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    Q_EMIT cellsDrawn();
}

void TRawDataGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    // A click takes the focus from an open editor, which then closes; with editing on the
    // clicked cell has its editor again.
    RunGuarded([this] {
        if (mEditing && !mEditor && currentIndex().isValid())
            edit(currentIndex());
    });
    Q_EMIT mouseUp(event->button(), CellAt(event->position().toPoint()));
}
