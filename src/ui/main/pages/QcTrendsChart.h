#pragma once

#include "QcTrendsModel.h"

#include <QChartView>
#include <QColor>
#include <QScatterSeries>

#include <array>
#include <optional>

class QLineSeries;
class QValueAxis;

// How a kind of run is marked: shape and colour both differ, so that colour alone never tells.
struct TTrendMarkStyle
{
    QScatterSeries::MarkerShape Shape;
    QRgb Color;
    qreal Size;
};
const TTrendMarkStyle &TrendMarkStyleOf(TTrendMark mark);
// The ring around the run loaded in the window, and its row's background in the list.
inline constexpr QRgb CurrentRunColor = 0x6A1B9A;
inline constexpr QRgb CurrentRunBackground = 0xFFF2A8;

// A Levey-Jennings chart (qcTrendsChart): the runs as points in their order (x = 1, 2, ...)
// joined by a thin line, in one series per mark, the current run ringed, and the baseline's
// mean and +-1, 2, 3 SD as horizontal lines. No lines while the baseline has a problem.
class TQcTrendsChart : public QChartView
{
    Q_OBJECT

public:
    explicit TQcTrendsChart(QWidget *parent = nullptr);

    void SetTrend(const TTrendEvaluation &evaluation, std::optional<int> current);
    void Clear();
    // Legend names and axis titles in the current language; the y axis is titled by the metric.
    void Retranslate(const QString &metricName);
    void UpdateNumberFormat();

    QScatterSeries *MarkSeries(TTrendMark mark) const { return mMarks.at(static_cast<std::size_t>(mark)); }
    QScatterSeries *CurrentSeries() const { return mCurrent; }
    // The mean, then +1, -1, +2, -2, +3, -3 SD.
    const std::array<QLineSeries *, 7> &LimitSeries() const { return mLimits; }
    QValueAxis *AxisX() const { return mAxisX; }
    QValueAxis *AxisY() const { return mAxisY; }

Q_SIGNALS:
    // The mouse came onto (or left) the point of run `index` (0 = the first).
    void pointHovered(int index, bool entered);

private:
    void SetRanges(const TTrendEvaluation &evaluation, bool withLimits);
    void FitAxisTitle();

    static constexpr int kSmallestAxisTitlePointSize = 6;

    QLineSeries *mPath;
    std::array<QScatterSeries *, 3> mMarks{};
    QScatterSeries *mCurrent;
    std::array<QLineSeries *, 7> mLimits{};
    QValueAxis *mAxisX;
    QValueAxis *mAxisY;
    int mAxisTitlePointSize = 0;
};
