#pragma once

#include "reports/ReportPictures.h"
#include "run/RunCalculation.h"

#include <QChartView>
#include <QLineF>

#include <optional>
#include <vector>

class QChart;
class QScatterSeries;
class QValueAxis;

// The chart's axis numbers in the regional decimal separator.
void UseRegionalNumbers(QChart *chart);

// The standard curve of the Standards Results tab (StandardsResultDiagram): the curve points
// ln(concentration) against ln(mean OD) as small squares (series Series1), and the fitted line
// drawn over them from the first to the last point, clipped to the plot area. No legend, no
// zoom, no panning; the axes follow the points.
class TCurveChart : public QChartView
{
    Q_OBJECT

public:
    explicit TCurveChart(QWidget *parent = nullptr);

    QScatterSeries *Series1() const { return mSeries; }
    QValueAxis *AxisX() const { return mAxisX; }
    QValueAxis *AxisY() const { return mAxisY; }

    // Shows the points (in ascending x order) and the line through them.
    void SetCurve(const std::vector<TRunCurvePoint> &points, double slope, double intercept);
    // No points, no line.
    void ClearCurve();
    // The axis numbers in the regional decimal separator.
    void UpdateNumberFormat();

    // The fitted line as drawn, in values (FittedLine) and in viewport pixels (FittedLineOnScreen);
    // none without points.
    std::optional<QLineF> FittedLine() const;
    std::optional<QLineF> FittedLineOnScreen() const;

    static constexpr qreal PointSize = 7.0;

protected:
    // The fitted line is drawn over the chart after every drawing of it.
    void drawForeground(QPainter *painter, const QRectF &rect) override;

private:
    QScatterSeries *mSeries;
    QValueAxis *mAxisX;
    QValueAxis *mAxisY;
    double mSlope = 0.0;
    double mIntercept = 0.0;
};
