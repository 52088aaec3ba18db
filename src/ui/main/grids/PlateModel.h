#pragma once

#include "plate/TextGrid.h"

#include <QAbstractTableModel>

#include <map>
#include <utility>

class TMarnovelData;
class TRunSession;

// The plate of the Raw Data tab read from the run session: row 0 and column 0 the headings
// (plate columns 1.., row letters from the run), cell (c, r) the text of plate column c and
// row r. Values typed into the grid are held here, over the session's text, until the page
// hands them to the session as a step; the session's next plate drops them.
class TPlateModel : public QAbstractTableModel, public ITextGrid
{
    Q_OBJECT

public:
    // Without a session the plate is empty.
    explicit TPlateModel(const TRunSession *session, QObject *parent = nullptr);

    // The run data whose blocks colour the cells; null without a session.
    const TMarnovelData *Data() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    // For a screen reader a well in a block starts with the block's identifier, which the
    // grid shows only by colour outside its first well.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // A data cell's text typed (Qt::EditRole); headings take nothing.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The session's plate again: its extents (13 x 9 for a plate without text) and its texts,
    // with nothing typed.
    void Refresh();
    // Every data cell typed empty, at 13 x 9.
    void Clear();
    // Cells typed that differ from the session's plate.
    bool HasTyped() const { return !mTyped.empty(); }

    // ---- ITextGrid: the cells as shown, typed over the session's ------------------------------
    int ColCount() const override { return mColumns; }
    int RowCount() const override { return mRows; }
    // New columns and rows are empty; typed values outside the grid go.
    void SetColCount(int count) override;
    void SetRowCount(int count) override;
    QString Cell(int col, int row) const override;
    // Types a data cell; ignored for headings and outside the grid.
    void SetCell(int col, int row, const QString &text) override;

private:
    using TCellKey = std::pair<int, int>; // (column, row)
    QString SessionCell(int col, int row) const;
    QString Heading(int col, int row) const;
    void DropTypedOutside();

    const TRunSession *mSession;
    int mColumns = 0;
    int mRows = 0;
    std::map<TCellKey, QString> mTyped;
};
