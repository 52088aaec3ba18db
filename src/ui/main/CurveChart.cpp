#include "CurveChart.h"

#include "UiColors.h"
#include "core/RegionalSettings.h"
#include "run/MarnovelData.h"

#include <QChart>
#include <QLocale>
#include <QPainter>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

// Ticks the nice numbers start from. The axis keeps the count they chose last and would
// start the next run's from it: the same run would get other axes after another run.
constexpr int kAxisTickCount = 5;

// Room around a single value, so that one point still gets an axis with a length.
void SetAxisRange(QValueAxis *axis, double low, double high)
{
    if (high - low < 1e-9) {
        low -= 0.5;
        high += 0.5;
    }
    axis->setTickCount(kAxisTickCount);
    axis->setRange(low, high);
    axis->applyNiceNumbers();
}

} // namespace

TCurveChart::TCurveChart(QWidget *parent) : QChartView(parent)
{
    auto *chart = new QChart;
    chart->legend()->hide();
    chart->setBackgroundRoundness(0);
    mSeries = new QScatterSeries(chart);
    mSeries->setObjectName(QStringLiteral("Series1"));
    mSeries->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    mSeries->setMarkerSize(PointSize);
    const QColor blue = ToQColor(TMarnovelData::CurvePointColor);
    mSeries->setColor(blue);
    mSeries->setBorderColor(blue);
    chart->addSeries(mSeries);
    mAxisX = new QValueAxis(chart);
    mAxisY = new QValueAxis(chart);
    for (QValueAxis *axis : {mAxisX, mAxisY}) {
        axis->setLabelFormat(QStringLiteral("%.1f"));
        axis->setRange(0.0, 1.0);
    }
    chart->addAxis(mAxisX, Qt::AlignBottom);
    chart->addAxis(mAxisY, Qt::AlignLeft);
    mSeries->attachAxis(mAxisX);
    mSeries->attachAxis(mAxisY);
    setChart(chart);
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::NoRubberBand);
    setInteractive(false);
    UpdateNumberFormat();
}

void UseRegionalNumbers(QChart *chart)
{
    // The chart writes numbers with a locale's separator; any locale with the program's
    // decimal separator will do, the labels have no thousands.
    const bool comma = GetRegionalDecimalSeparator() == QLatin1Char(',');
    chart->setLocale(comma ? QLocale(QLocale::German) : QLocale::c());
    chart->setLocalizeNumbers(true);
}

void TCurveChart::UpdateNumberFormat()
{
    UseRegionalNumbers(chart());
}

void TCurveChart::SetCurve(const std::vector<TRunCurvePoint> &points, double slope, double intercept)
{
    QList<QPointF> values;
    values.reserve(static_cast<qsizetype>(points.size()));
    for (const TRunCurvePoint &point : points)
        values.append({point.X, point.Y});
    std::stable_sort(values.begin(), values.end(),
                     [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
    mSlope = slope;
    mIntercept = intercept;
    mSeries->replace(values);
    if (!values.isEmpty()) {
        const auto [lowY, highY] = std::minmax_element(
            values.cbegin(), values.cend(), [](const QPointF &a, const QPointF &b) { return a.y() < b.y(); });
        SetAxisRange(mAxisX, values.first().x(), values.last().x());
        SetAxisRange(mAxisY, lowY->y(), highY->y());
        mSeries->setColor(ToQColor(points.front().Color));
        mSeries->setBorderColor(mSeries->color());
    }
    viewport()->update();
}

void TCurveChart::ClearCurve()
{
    mSeries->clear();
    mSlope = 0.0;
    mIntercept = 0.0;
    viewport()->update();
}

std::optional<QLineF> TCurveChart::FittedLine() const
{
    if (mSeries->count() == 0 || !std::isfinite(mSlope) || !std::isfinite(mIntercept))
        return std::nullopt;
    return ClipFittedLine(mSeries->at(0).x(), mSeries->at(mSeries->count() - 1).x(), mSlope, mIntercept,
                          mAxisY->min(), mAxisY->max());
}

std::optional<QLineF> TCurveChart::FittedLineOnScreen() const
{
    const std::optional<QLineF> line = FittedLine();
    if (!line)
        return std::nullopt;
    const auto onScreen = [this](const QPointF &value) {
        return QPointF(mapFromScene(chart()->mapToScene(chart()->mapToPosition(value, mSeries))));
    };
    return QLineF(onScreen(line->p1()), onScreen(line->p2()));
}

void TCurveChart::drawForeground(QPainter *painter, const QRectF &rect)
{
    QChartView::drawForeground(painter, rect);
    const std::optional<QLineF> line = FittedLine();
    if (!line)
        return;
    const auto inScene = [this](const QPointF &value) {
        return chart()->mapToScene(chart()->mapToPosition(value, mSeries));
    };
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setClipRect(chart()->mapRectToScene(chart()->plotArea()));
    painter->setPen(QPen(mSeries->color(), 1.5));
    painter->drawLine(QLineF(inScene(line->p1()), inScene(line->p2())));
    painter->restore();
}
