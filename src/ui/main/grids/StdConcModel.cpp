#include "StdConcModel.h"

#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "files/RunSession.h"
#include "run/MarnovelRdData.h"

namespace {

constexpr int kDecimals = 3;
constexpr float kNoValue = -1.0f;

} // namespace

TStdConcModel::TStdConcModel(const TRunSession *session, QObject *parent)
    : QAbstractTableModel(parent), mSession(session)
{
    Refresh();
}

int TStdConcModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mRows;
}

int TStdConcModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant TStdConcModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return Cell(index.column(), index.row());
}

bool TStdConcModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.column() != 1)
        return false;
    SetCell(index.column(), index.row(), value.toString());
    return true;
}

QVariant TStdConcModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::AccessibleTextRole)
        return {};
    if (orientation == Qt::Vertical)
        return Cell(0, section);
    return section == 1 ? UiText(360) : QString();
}

Qt::ItemFlags TStdConcModel::flags(const QModelIndex &index) const
{
    const int row = index.row();
    const bool editable =
        index.isValid() && index.column() == 1 && row < mRows - 1 && (row == 0 || !mDefaultValues);
    return editable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable : Qt::NoItemFlags;
}

void TStdConcModel::SetDefaultValues(bool defaultValues)
{
    if (defaultValues == mDefaultValues)
        return;
    mDefaultValues = defaultValues;
    if (mRows > 0)
        Q_EMIT dataChanged(index(0, 0), index(mRows - 1, 1));
}

void TStdConcModel::Refresh()
{
    beginResetModel();
    mRows = mSession ? static_cast<int>(mSession->Data().StdConcSize()) : 0;
    mTyped.clear();
    endResetModel();
}

void TStdConcModel::FollowSession()
{
    if (!mSession || static_cast<int>(mSession->Data().StdConcSize()) != mRows) {
        Refresh();
        return;
    }
    const auto &values = mSession->Data().StdConc();
    for (auto typed = mTyped.begin(); typed != mTyped.end();) {
        double number = 0.0;
        const int row = typed->first;
        // The run keeps single precision: "3" still says 3.0f.
        const bool same = TryTextToFloat(typed->second, number) &&
                          static_cast<float>(number) == values.value(row, kNoValue);
        const bool shownAlike = typed->second == SessionValue(row);
        if (same && !shownAlike) {
            ++typed;
            continue;
        }
        typed = mTyped.erase(typed);
        if (!shownAlike)
            Q_EMIT dataChanged(index(row, 1), index(row, 1));
    }
}

QString TStdConcModel::Cell(int col, int row) const
{
    if (row < 0 || row >= mRows || col < 0 || col > 1)
        return {};
    if (col == 0)
        return QStringLiteral("S") + QString::number(row + 1);
    const auto typed = mTyped.find(row);
    return typed != mTyped.end() ? typed->second : SessionValue(row);
}

void TStdConcModel::SetCell(int col, int row, const QString &text)
{
    if (col != 1 || row < 0 || row >= mRows || text == Cell(col, row))
        return;
    if (text == SessionValue(row))
        mTyped.erase(row);
    else
        mTyped[row] = text;
    Q_EMIT dataChanged(index(row, 1), index(row, 1), {Qt::DisplayRole, Qt::EditRole});
}

QString TStdConcModel::SessionValue(int row) const
{
    const float value = mSession ? mSession->Data().StdConc().value(row, kNoValue) : kNoValue;
    return value == kNoValue ? QString() : FormatFixed(value, kDecimals);
}
