#pragma once

#include "run/RunCalculation.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLineF>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

class ITextGrid;
class QPainter;
class TMarnovelData;

// The pictures of the report's curve page, painted from the calculation and the plate as the
// Standards Results tab's chart and the Raw Data tab's grid show them.

// An axis from low to high widened to round numbers: the step is 1, 2 or 5 times a power of
// ten, about four steps; a single value gets one unit of room.
struct TAxisScale
{
    double Min = 0.0;
    double Max = 1.0;
    int Ticks = 2; // including both ends
};
TAxisScale NiceAxisScale(double low, double high);

// The ends of the fitted line y = slope * x + intercept between x0 and x1, in values: an end
// below yMin is moved up to yMin, one above yMax down to yMax, its x then read back from the
// line. A flat line (slope 0) is not clipped.
QLineF ClipFittedLine(double x0, double x1, double slope, double intercept, double yMin, double yMax);

// The standard curve: the points as small squares in their colour, the fitted line from the
// first to the last point clipped to the plot, the axes with one decimal in the regional
// separator. No points: the empty axes.
QImage PaintCurveChart(const std::vector<TRunCurvePoint> &points, double slope, double intercept, QSize size);

// One cell of the plate grid: headings on headingColour, wells in their block's colour with
// the identifier in red, numbers right-aligned in black, other texts grey and left-aligned,
// standards bold and underlined. font is the grid's font (its size is set here).
void PaintPlateCell(QPainter &painter, const QRect &rect, const TMarnovelData *data, int col, int row,
                    const QString &text, const QFont &font, const QColor &headingColour);

// The plate grid, 13 x 9 cells of texts (row 0 and column 0 the headings), filling size.
QImage PaintPlate(const TMarnovelData &data, const ITextGrid &texts, QSize size);
