#include "QcTrendsModel.h"

#include "QcTrendsChart.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"

#include <QBrush>

#include <utility>

using namespace Qt::StringLiterals;

TTrendMark TrendMarkOf(const TTrendPointResult &result)
{
    if (result.Rules.Rejects())
        return TTrendMark::Rejection;
    return result.Rules.IsEmpty() ? TTrendMark::InControl : TTrendMark::Warning;
}

QString TrendValueText(TTrendMetric metric, double value)
{
    // A correlation drifts in its fourth and fifth decimal.
    return FormatFixed(value, metric == TTrendMetric::Correlation ? 5 : 4);
}

TQcTrendsModel::TQcTrendsModel(QObject *parent) : QAbstractTableModel(parent) {}

void TQcTrendsModel::SetTrend(TTrendEvaluation evaluation, std::optional<int> current)
{
    beginResetModel();
    mTrend = std::move(evaluation);
    mCurrent = current;
    endResetModel();
}

void TQcTrendsModel::Retext()
{
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int TQcTrendsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(mTrend.Points.size());
}

int TQcTrendsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString TQcTrendsModel::RulesText(int row) const
{
    QStringList names;
    for (const TWestgardRule rule : mTrend.Results.at(static_cast<std::size_t>(row)).Rules.List())
        names << WestgardRuleName(rule);
    return names.join(u", "_s);
}

QString TQcTrendsModel::Text(int row, int column) const
{
    const TTrendPoint &point = mTrend.Points.at(static_cast<std::size_t>(row));
    const std::optional<double> z = mTrend.Results.at(static_cast<std::size_t>(row)).Z;
    switch (column) {
    case IndexColumn:
        return QString::number(row + 1);
    case RunDateColumn:
        return DateTimeToText(point.RunDate.startOfDay());
    case RunNumberColumn:
        return point.RunNumber;
    case KitBatchColumn:
        return point.KitBatch;
    case OperatorColumn:
        return point.Operator;
    case ValueColumn:
        return TrendValueText(mTrend.Metric, point.Value);
    case ZColumn:
        return z ? FormatFixed(*z, 2) : u"-"_s;
    case RulesColumn:
        return RulesText(row);
    default:
        return QString();
    }
}

QString TQcTrendsModel::ToolTip(int row) const
{
    if (row < 0 || row >= rowCount())
        return QString();
    const struct
    {
        int id;
        int column;
    } lines[] = {{TextId::RunDate, RunDateColumn},         {TextId::RunNumber, RunNumberColumn},
                 {TextId::KitBatchNumber, KitBatchColumn}, {TextId::Operator, OperatorColumn},
                 {TextId::TrendValue, ValueColumn},        {TextId::TrendZ, ZColumn},
                 {TextId::TrendRules, RulesColumn}};
    QStringList text;
    for (const auto &line : lines) {
        const QString value = Text(row, line.column);
        text << UiText(line.id) + u": "_s + (value.isEmpty() ? u"-"_s : value);
    }
    return text.join(u'\n');
}

QVariant TQcTrendsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return Text(index.row(), index.column());
    case Qt::ToolTipRole:
        return ToolTip(index.row());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(index.column() == IndexColumn || index.column() >= ValueColumn
                                       ? Qt::AlignRight | Qt::AlignVCenter
                                       : Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole: {
        const TTrendMark mark = TrendMarkOf(mTrend.Results.at(static_cast<std::size_t>(index.row())));
        if (index.column() != RulesColumn || mark == TTrendMark::InControl)
            return {};
        return QBrush(QColor(TrendMarkStyleOf(mark).Color));
    }
    case Qt::BackgroundRole:
        return mCurrent == index.row() ? QVariant(QBrush(QColor(CurrentRunBackground))) : QVariant();
    default:
        return {};
    }
}

QVariant TQcTrendsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static constexpr int headings[ColumnCount] = {
        TextId::TrendRunIndex, TextId::RunDate,    TextId::RunNumber, TextId::KitBatchNumber,
        TextId::Operator,      TextId::TrendValue, TextId::TrendZ,    TextId::TrendRules};
    return section >= 0 && section < ColumnCount ? UiText(headings[section]) : QString();
}
