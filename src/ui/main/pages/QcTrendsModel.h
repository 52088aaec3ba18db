#pragma once

#include "archive/Trends.h"

#include <QAbstractTableModel>

#include <optional>

// How a run stands in its trend: warnings are 1-2s alone, rejections any other rule.
enum class TTrendMark
{
    InControl,
    Warning,
    Rejection
};
TTrendMark TrendMarkOf(const TTrendPointResult &result);

// The values of a metric as the trends tab writes them (regional decimal separator).
QString TrendValueText(TTrendMetric metric, double value);

// The runs of a trend below its chart, one row each in the trend's order: index, run date,
// run number, kit batch, operator, value, z, rules. Texts are made when asked for, in the
// current language; the current run's row has the highlight's background, and each row's tool tip is the one
// its point in the chart shows.
class TQcTrendsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum TColumn
    {
        IndexColumn,
        RunDateColumn,
        RunNumberColumn,
        KitBatchColumn,
        OperatorColumn,
        ValueColumn,
        ZColumn,
        RulesColumn,
        ColumnCount
    };

    explicit TQcTrendsModel(QObject *parent = nullptr);

    // The trend shown, and the row of the run loaded in the window if it is one of them.
    void SetTrend(TTrendEvaluation evaluation, std::optional<int> current);
    // The language changed: every text again.
    void Retext();

    const TTrendEvaluation &Trend() const { return mTrend; }
    std::optional<int> CurrentRow() const { return mCurrent; }
    // What the row's point tells: run date, run number, kit batch, operator, value, z, rules.
    QString ToolTip(int row) const;
    QString RulesText(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString Text(int row, int column) const;

    TTrendEvaluation mTrend;
    std::optional<int> mCurrent;
};
