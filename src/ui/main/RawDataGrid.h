#pragma once

#include "plate/TextGrid.h"

#include <QTableWidget>

class QPainter;
class TMarnovelData;

// The plate grid of the Raw Data tab: 13 columns x 9 rows of text cells, row 0 and column
// 0 the headings, cell (c, r) the well of plate column c and row letter r. It is the
// plate's text as the window shows it (the blocks read their values from it) and draws
// every cell itself from the run data's blocks.
class TRawDataGrid : public QTableWidget, public ITextGrid
{
public:
    explicit TRawDataGrid(QWidget *parent = nullptr);

    // The run data whose blocks colour the cells (not owned; may be null).
    void SetRunData(TMarnovelData *data) { mData = data; }

    // ---- ITextGrid -----------------------------------------------------------------
    int ColCount() const override { return columnCount(); }
    int RowCount() const override { return rowCount(); }
    void SetColCount(int count) override;
    void SetRowCount(int count) override;
    QString Cell(int col, int row) const override;
    void SetCell(int col, int row, const QString &text) override;

    // Back to 13 x 9 with the headings (rows "A"... from the run data) and every data
    // cell empty; row heights and the font as at construction.
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

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QTableWidgetItem *ItemAt(int col, int row);
    void SetHeadings();

    TMarnovelData *mData = nullptr;
    int mColumnExtent = 13; // the extent the column widths were last computed for
};
