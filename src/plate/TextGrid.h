#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>

// A grid of text cells addressed (column, row), as the raw-data grid shows the plate.
// Blocks read their wells through it; the window's plate model and the headless tool both
// implement it.
class ITextGrid
{
public:
    virtual ~ITextGrid() = default;
    virtual int ColCount() const = 0;
    virtual int RowCount() const = 0;
    virtual void SetColCount(int pCount) = 0; // negative counts are taken as 0
    virtual void SetRowCount(int pCount) = 0;
    virtual QString Cell(int pCol, int pRow) const = 0;                 // empty text outside the grid
    virtual void SetCell(int pCol, int pRow, const QString &pText) = 0; // ignored outside the grid
    // The text the grid stores for a cell, to be read in place without a copy; nullptr
    // outside the grid or for a grid that makes its texts (Cell then gives them).
    virtual const QString *StoredCell(int /*pCol*/, int /*pRow*/) const { return nullptr; }
};

// Plain in-memory grid (headless tool, tests). Resizing keeps the texts that still fit.
class TTextGrid : public ITextGrid
{
public:
    TTextGrid() = default;
    TTextGrid(int pColCount, int pRowCount)
    {
        SetColCount(pColCount);
        SetRowCount(pRowCount);
    }

    int ColCount() const override { return mColCount; }
    int RowCount() const override { return mRowCount; }
    void SetColCount(int pCount) override
    {
        mColCount = std::max(0, pCount);
        mColumns.resize(mColCount);
        for (QStringList &column : mColumns)
            column.resize(mRowCount);
    }
    void SetRowCount(int pCount) override
    {
        mRowCount = std::max(0, pCount);
        for (QStringList &column : mColumns)
            column.resize(mRowCount);
    }
    QString Cell(int pCol, int pRow) const override
    {
        return Inside(pCol, pRow) ? mColumns.at(pCol).at(pRow) : QString();
    }
    void SetCell(int pCol, int pRow, const QString &pText) override
    {
        if (Inside(pCol, pRow))
            mColumns[pCol][pRow] = pText;
    }
    const QString *StoredCell(int pCol, int pRow) const override
    {
        return Inside(pCol, pRow) ? &mColumns.at(pCol).at(pRow) : nullptr;
    }

private:
    bool Inside(int pCol, int pRow) const
    {
        return pCol >= 0 && pCol < mColCount && pRow >= 0 && pRow < mRowCount;
    }

    int mColCount = 0;
    int mRowCount = 0;
    QList<QStringList> mColumns; // [column][row]
};
