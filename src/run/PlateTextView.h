#pragma once

#include "core/Exceptions.h"
#include "plate/TextGrid.h"
#include "run/MarnovelData.h"

// The plate text as copyDataToStringgrid would copy it into a grid, read in place.
class TPlateTextView : public ITextGrid
{
public:
    explicit TPlateTextView(const TMarnovelData &data) : mData(data)
    {
        if (!data.ExtentsValid())
            throw TCustomInvalidExtentsException(QStringLiteral("Invalid Extents"));
    }
    int ColCount() const override { return mData.XExtent(); }
    int RowCount() const override { return mData.YExtent(); }
    void SetColCount(int) override {}
    void SetRowCount(int) override {}
    QString Cell(int pCol, int pRow) const override
    {
        const QString *text = StoredCell(pCol, pRow);
        return text != nullptr ? *text : QString();
    }
    void SetCell(int, int, const QString &) override {}
    const QString *StoredCell(int pCol, int pRow) const override
    {
        const bool copied = pCol >= 1 && pCol < mData.XExtent() && pRow >= 1 && pRow < mData.YExtent();
        return copied ? mData.StoredPlateText(pCol - 1, pRow - 1) : nullptr;
    }

private:
    const TMarnovelData &mData;
};
