#include "PlateModel.h"

#include "files/RunSession.h"
#include "plate/CellBlock.h"
#include "plate/MarnovelTypes.h"
#include "run/MarnovelRdData.h"
#include "ui/main/grids/OwnDrawnGrid.h"

#include <algorithm>

TPlateModel::TPlateModel(const TRunSession *session, QObject *parent)
    : QAbstractTableModel(parent), mSession(session)
{
    Refresh();
}

const TMarnovelData *TPlateModel::Data() const
{
    return mSession ? &mSession->Data() : nullptr;
}

int TPlateModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mRows;
}

int TPlateModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mColumns;
}

QVariant TPlateModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const QString text = Cell(index.column(), index.row());
    if (role == Qt::AccessibleTextRole) {
        const TMarnovelData *plate = Data();
        const OWCellBlockBase *block = plate && index.row() > 0 && index.column() > 0
                                           ? plate->cellAtPoint(QPoint(index.column(), index.row()))
                                           : nullptr;
        if (!block)
            return text;
        return text.isEmpty() ? block->id() : block->id() + u", " + text;
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return text;
}

QVariant TPlateModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return HeadingCellText(*this, section, orientation, role);
}

bool TPlateModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.row() < 1 || index.column() < 1)
        return false;
    SetCell(index.column(), index.row(), value.toString());
    return true;
}

Qt::ItemFlags TPlateModel::flags(const QModelIndex &index) const
{
    // Headings can never become current, be selected or be edited.
    if (!index.isValid() || index.row() < 1 || index.column() < 1)
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

void TPlateModel::Refresh()
{
    const TMarnovelData *plate = Data();
    // A plate without text keeps the grid's full size and headings.
    const bool empty = !plate || !plate->ExtentsValid() || (plate->XExtent() == 0 && plate->YExtent() == 0);
    beginResetModel();
    mColumns = empty ? PlateGridColumnCount : plate->XExtent();
    mRows = empty ? PlateGridRowCount : plate->YExtent();
    mTyped.clear();
    endResetModel();
}

void TPlateModel::Clear()
{
    SetColCount(PlateGridColumnCount);
    SetRowCount(PlateGridRowCount);
    for (int col = 1; col < mColumns; ++col) {
        for (int row = 1; row < mRows; ++row)
            SetCell(col, row, QString());
    }
}

void TPlateModel::SetColCount(int count)
{
    count = std::max(0, count);
    if (count > mColumns) {
        beginInsertColumns({}, mColumns, count - 1);
        mColumns = count;
        endInsertColumns();
    } else if (count < mColumns) {
        beginRemoveColumns({}, count, mColumns - 1);
        mColumns = count;
        DropTypedOutside();
        endRemoveColumns();
    }
}

void TPlateModel::SetRowCount(int count)
{
    count = std::max(0, count);
    if (count > mRows) {
        beginInsertRows({}, mRows, count - 1);
        mRows = count;
        endInsertRows();
    } else if (count < mRows) {
        beginRemoveRows({}, count, mRows - 1);
        mRows = count;
        DropTypedOutside();
        endRemoveRows();
    }
}

QString TPlateModel::Cell(int col, int row) const
{
    if (col < 0 || col >= mColumns || row < 0 || row >= mRows)
        return {};
    if (col == 0 || row == 0)
        return Heading(col, row);
    if (const auto typed = mTyped.find({col, row}); typed != mTyped.end())
        return typed->second;
    return SessionCell(col, row);
}

void TPlateModel::SetCell(int col, int row, const QString &text)
{
    if (col < 1 || col >= mColumns || row < 1 || row >= mRows || text == Cell(col, row))
        return;
    // Typed back to the session's text is nothing typed.
    if (text == SessionCell(col, row))
        mTyped.erase({col, row});
    else
        mTyped[{col, row}] = text;
    const QModelIndex changed = index(row, col);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

QString TPlateModel::SessionCell(int col, int row) const
{
    // Cells beyond the plate's extents show nothing, whatever the run data keeps there.
    const TMarnovelData *plate = Data();
    if (!plate || !plate->ExtentsValid() || col >= plate->XExtent() || row >= plate->YExtent())
        return {};
    return plate->PlateText(col - 1, row - 1);
}

QString TPlateModel::Heading(int col, int row) const
{
    if (row == 0)
        return col == 0 ? QString() : QString::number(col);
    const TMarnovelData *plate = Data();
    return plate ? plate->rawDataRowheading(row - 1) : QString(RowHeadingLetter(row));
}

void TPlateModel::DropTypedOutside()
{
    std::erase_if(mTyped, [this](const auto &typed) {
        return typed.first.first >= mColumns || typed.first.second >= mRows;
    });
}
