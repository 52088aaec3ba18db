#pragma once

#include "plate/TextGrid.h"

#include <QPointer>
#include <QTableView>

class QPainter;
class TPlateModel;
class TRunSession;

// The plate grid of the Raw Data tab: a view of the session's plate (TPlateModel), row 0 and
// column 0 the headings, cell (c, r) the well of plate column c and row letter r. It draws
// every cell itself from the run data's blocks; what is typed into it waits in the model.
//
// Only data cells can become current. Selecting a cell first gives every number in the
// grid exactly three decimals and, with editing on (manual data entry), opens the cell
// editor there. Mouse presses and releases, Enter and every key release, typed in the grid
// or in its editor, are handed to the page with the cell they concern ((-1, -1) outside
// the cells); Up and Down in the editor move the current cell as in the grid.
class TRawDataGrid : public QTableView, public ITextGrid
{
    Q_OBJECT

public:
    // Without a session the grid shows an empty plate.
    explicit TRawDataGrid(const TRunSession *session = nullptr, QWidget *parent = nullptr);

    TPlateModel &PlateModel() const { return *mModel; }

    // ---- ITextGrid: the model's cells ------------------------------------------------
    int ColCount() const override;
    int RowCount() const override;
    // New columns and rows get the grid's sizes.
    void SetColCount(int count) override;
    void SetRowCount(int count) override;
    QString Cell(int col, int row) const override;
    // Types a data cell.
    void SetCell(int col, int row, const QString &text) override;
    int columnCount() const { return ColCount(); }
    int rowCount() const { return RowCount(); }

    // Back to 13 x 9 with the headings (rows "A"... from the run data) and every data
    // cell typed empty; row heights and the font as at construction.
    void ResetRawDataGrid();
    // Columns 1 .. toColumn - 1 share the width evenly, column 0 takes the rest.
    void adjustRawDataGdColWidth(int toColumn);
    // Row heights for the current height: rows 1-8 equal, row 0 the rest.
    void AdjustRowHeights();

    // The pixel rules, open for tests. Qt draws a cell's grid line inside the cell, so the
    // widths and heights set are one pixel more than the text areas computed here.
    static int DataRowHeight(int gridHeight, int bevelWidth, int gridLineWidth);
    static int HeadingRowHeight(int gridHeight, int bevelWidth, int gridLineWidth);
    static int DataColumnWidth(int gridWidth);
    static int HeadingColumnWidth(int gridWidth, int bevelWidth, int gridLineWidth);
    static constexpr int GridLineWidth = 1;

    // Draws one cell as the grid shows it.
    void rawDataGdDrawCell(QPainter &painter, const QRect &rect, int col, int row);

    // ---- cells and editing --------------------------------------------------------------
    // (column, row) of the current cell; (-1, -1) when there is none.
    QPoint CurrentCell() const;
    // Makes a data cell current, as a click would (the selection rules run).
    void SetCurrentCell(int col, int row);
    // The cell under a point of the viewport; (-1, -1) outside the cells.
    QPoint CellAt(QPoint viewportPos) const;
    // Every data cell whose text is a number gets exactly three decimals ("1.5" -> "1.500").
    void RoundNumberTexts();
    void SetEditing(bool on);
    bool Editing() const { return mEditing; }
    // With editing on: the editor on the current cell (the first data cell when none is).
    void OpenEditor();
    // Closes an open editor; its text goes into the cell.
    void CloseEditor();
    bool EditorOpen() const { return !mEditor.isNull(); }
    QWidget *Editor() const { return mEditor; }
    // The cell drawn with a black frame while a press on it is pending; (-1, -1): none.
    void SetPendingPressCell(QPoint cell);
    QPoint PendingPressCell() const { return mPendingPress; }

Q_SIGNALS:
    void mouseDown(Qt::MouseButton button, QPoint cell, QPoint globalPos);
    void mouseUp(Qt::MouseButton button, QPoint cell);
    // Enter or Return pressed; Space too with editing off.
    void keyPress(int key);
    void keyUp(int key);
    // The cells have been drawn (their blocks may have taken their colours).
    void cellsDrawn();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    friend class TRawDataDelegate;
    // A key typed in the cell editor; true when the grid took it.
    bool EditorKeyPress(int key);
    void MoveByArrow(int key);

    TPlateModel *mModel;
    int mColumnExtent = 13; // the extent the column widths were last computed for
    bool mEditing = false;
    QPointer<QWidget> mEditor;
    QPoint mPendingPress{-1, -1};
};
