#include "ReportPictures.h"

#include "core/FontManager.h"
#include "core/RegionalSettings.h"
#include "core/Tool.h"
#include "plate/CellBlock.h"
#include "plate/TextGrid.h"
#include "platform/CanvasText.h"
#include "platform/ModelColor.h"
#include "run/MarnovelData.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int kVerticalTop = 0, kVerticalBottom = 1, kVerticalCentre = 2;
constexpr int kHorizontalLeft = 0, kHorizontalRight = 1, kHorizontalCentre = 2;
constexpr QRgb kNonNumericGrey = 0x808080;
constexpr QRgb kIdentifierRed = 0xFF0000;
constexpr QRgb kGridLineGrey = 0xD0D0D0;
constexpr QRgb kAxisGrey = 0x808080;
constexpr double kPointSize = 7.0;
constexpr int kChartMargin = 12;

// 1, 2, 5 or 10 times the power of ten below x: the nearest one, or the next above (ceiling).
double NiceNumber(double x, bool ceiling)
{
    const double power = std::pow(10.0, std::floor(std::log10(x)));
    const double fraction = x / power;
    double nice = 10.0;
    if (ceiling)
        nice = fraction <= 1.0 ? 1.0 : fraction <= 2.0 ? 2.0 : fraction <= 5.0 ? 5.0 : 10.0;
    else
        nice = fraction < 1.5 ? 1.0 : fraction < 3.0 ? 2.0 : fraction < 7.0 ? 5.0 : 10.0;
    return nice * power;
}

QString AxisLabel(double value)
{
    QString text = QString::number(value, 'f', 1);
    if (text == u"-0.0")
        text = u"0.0"_s;
    return text.replace(u'.', GetRegionalDecimalSeparator());
}

// An end outside [yMin, yMax] moves along the line to the edge it crossed.
QPointF ClipEnd(double x, double slope, double intercept, double yMin, double yMax)
{
    const double y = slope * x + intercept;
    if (slope == 0.0)
        return {x, y};
    if (y < yMin)
        return {(yMin - intercept) / slope, yMin};
    if (y > yMax)
        return {(yMax - intercept) / slope, yMax};
    return {x, y};
}

QImage WhiteImage(QSize size)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

} // namespace

TAxisScale NiceAxisScale(double low, double high)
{
    if (!std::isfinite(low) || !std::isfinite(high))
        return {};
    if (high - low < 1e-9) {
        low -= 0.5;
        high += 0.5;
    }
    constexpr int kTicks = 5;
    const double range = NiceNumber(high - low, true);
    const double step = NiceNumber(range / (kTicks - 1), false);
    const double first = std::floor(low / step);
    const double last = std::ceil(high / step);
    return {first * step, last * step, static_cast<int>(last - first) + 1};
}

QLineF ClipFittedLine(double x0, double x1, double slope, double intercept, double yMin, double yMax)
{
    return {ClipEnd(x0, slope, intercept, yMin, yMax), ClipEnd(x1, slope, intercept, yMin, yMax)};
}

QImage PaintCurveChart(const std::vector<TRunCurvePoint> &points, double slope, double intercept, QSize size)
{
    QImage image = WhiteImage(size);
    std::vector<QPointF> values;
    values.reserve(points.size());
    for (const TRunCurvePoint &point : points)
        values.emplace_back(point.X, point.Y);
    std::stable_sort(values.begin(), values.end(),
                     [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
    TAxisScale xAxis{0.0, 1.0, 2};
    TAxisScale yAxis{0.0, 1.0, 2};
    if (!values.empty()) {
        const auto [lowY, highY] = std::minmax_element(
            values.cbegin(), values.cend(), [](const QPointF &a, const QPointF &b) { return a.y() < b.y(); });
        xAxis = NiceAxisScale(values.front().x(), values.back().x());
        yAxis = NiceAxisScale(lowY->y(), highY->y());
    }

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(QGuiApplication::font());
    const QFontMetrics metrics = painter.fontMetrics();
    const auto tick = [](const TAxisScale &axis, int i) {
        return axis.Min + (axis.Max - axis.Min) * i / std::max(1, axis.Ticks - 1);
    };
    int labelWidth = 0;
    for (int i = 0; i < yAxis.Ticks; ++i)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(AxisLabel(tick(yAxis, i))));
    const QRectF plot = QRectF(image.rect())
                            .adjusted(kChartMargin + labelWidth + 6, kChartMargin, -kChartMargin,
                                      -(kChartMargin + metrics.height() + 6));
    if (plot.width() <= 0 || plot.height() <= 0)
        return image;
    const auto toPixel = [&](const QPointF &value) {
        return QPointF(plot.left() + (value.x() - xAxis.Min) / (xAxis.Max - xAxis.Min) * plot.width(),
                       plot.bottom() - (value.y() - yAxis.Min) / (yAxis.Max - yAxis.Min) * plot.height());
    };

    // Grid lines and labels at every tick, then the axes.
    painter.setPen(QPen(QColor(kGridLineGrey), 1));
    for (int i = 0; i < xAxis.Ticks; ++i) {
        const double value = tick(xAxis, i);
        const double x = toPixel({value, yAxis.Min}).x();
        painter.setPen(QPen(QColor(kGridLineGrey), 1));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(Qt::black);
        const QString label = AxisLabel(value);
        painter.drawText(
            QPointF(x - metrics.horizontalAdvance(label) / 2.0, plot.bottom() + 4 + metrics.ascent()), label);
    }
    for (int i = 0; i < yAxis.Ticks; ++i) {
        const double value = tick(yAxis, i);
        const double y = toPixel({xAxis.Min, value}).y();
        painter.setPen(QPen(QColor(kGridLineGrey), 1));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        const QString label = AxisLabel(value);
        painter.drawText(QPointF(plot.left() - 4 - metrics.horizontalAdvance(label),
                                 y - metrics.height() / 2.0 + metrics.ascent()),
                         label);
    }
    painter.setPen(QPen(QColor(kAxisGrey), 1));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    if (values.empty())
        return image;

    const QColor colour = ToQColor(points.front().Color);
    painter.setPen(colour);
    painter.setBrush(colour);
    for (const QPointF &value : values) {
        const QPointF centre = toPixel(value);
        painter.drawRect(
            QRectF(centre.x() - kPointSize / 2, centre.y() - kPointSize / 2, kPointSize, kPointSize));
    }
    if (std::isfinite(slope) && std::isfinite(intercept)) {
        const QLineF line =
            ClipFittedLine(values.front().x(), values.back().x(), slope, intercept, yAxis.Min, yAxis.Max);
        painter.setClipRect(plot);
        painter.setPen(QPen(colour, 1.5));
        painter.drawLine(QLineF(toPixel(line.p1()), toPixel(line.p2())));
    }
    return image;
}

void PaintPlateCell(QPainter &painter, const QRect &rect, const TMarnovelData *data, int col, int row,
                    const QString &text, const QFont &font, const QColor &headingColour)
{
    const QPoint well(col, row);
    OWCellBlockBase *block = data ? data->cellAtPoint(well) : nullptr;
    const bool heading = row == 0 || col == 0;

    QFont cellFont = font;
    cellFont.setPointSize(CurrentFontSize(GRID_RAWDATA_NUMBER));
    painter.setFont(cellFont);

    QColor background = Qt::white;
    if (heading)
        background = headingColour;
    else if (block)
        background = ToQColor(block->GetBlockCellColor(well));
    painter.setBrush(background);

    bool filled = false;
    if (block && block->idCell(well)) {
        QFont idFont = cellFont;
        idFont.setBold(true);
        idFont.setPointSize(CurrentFontSize(GRID_RAWDATA_ID));
        painter.setFont(idFont);
        painter.setPen(QColor(kIdentifierRed));
        DrawTextInRect(painter, rect, block->CellRawDataID(well), true, 0, 2, kVerticalTop, kHorizontalLeft);
        filled = true;
    }

    if (!heading) {
        double value = 0.0;
        const bool number = TryTextToFloat(text, value);
        QFont dataFont = cellFont;
        dataFont.setPointSize(CurrentFontSize(number ? GRID_RAWDATA_NUMBER : GRID_RAWDATA_NS));
        const bool standard = block && block->getIsStandard();
        dataFont.setBold(standard);
        dataFont.setUnderline(standard);
        painter.setFont(dataFont);
        painter.setPen(number ? QColor(Qt::black) : QColor(kNonNumericGrey));
        DrawTextInRect(painter, rect, text, !filled, 2, 2, kVerticalBottom,
                       number ? kHorizontalRight : kHorizontalLeft);
    } else {
        // The complement of the background is always readable on it.
        painter.setPen(QColor(255 - background.red(), 255 - background.green(), 255 - background.blue()));
        DrawTextInRect(painter, rect, text, true, 2, 2, kVerticalCentre, kHorizontalCentre);
    }
}

QImage PaintPlate(const TMarnovelData &data, const ITextGrid &texts, QSize size)
{
    QImage image = WhiteImage(size);
    QPainter painter(&image);
    // As the grid: twelve equal data columns and eight equal data rows, the headings the rest;
    // a one-pixel grid line right of and below every cell.
    const int dataWidth = std::max(2, image.width() / PlateGridColumnCount);
    const int dataHeight = std::max(2, image.height() / PlateGridRowCount);
    const int headingWidth = std::max(2, image.width() - PlateColumnCount * dataWidth);
    const int headingHeight = std::max(2, image.height() - PlateRowCount * dataHeight);
    const QColor headingColour = QGuiApplication::palette().color(QPalette::Button);
    const QFont font = QGuiApplication::font();
    for (int row = 0; row < PlateGridRowCount; ++row) {
        const int top = row == 0 ? 0 : headingHeight + (row - 1) * dataHeight;
        const int height = row == 0 ? headingHeight : dataHeight;
        for (int col = 0; col < PlateGridColumnCount; ++col) {
            const int left = col == 0 ? 0 : headingWidth + (col - 1) * dataWidth;
            const int width = col == 0 ? headingWidth : dataWidth;
            const QRect cell(left, top, width - 1, height - 1);
            const QString text =
                col < texts.ColCount() && row < texts.RowCount() ? texts.Cell(col, row) : QString();
            painter.save();
            PaintPlateCell(painter, cell, &data, col, row, text, font, headingColour);
            painter.restore();
        }
    }
    painter.setPen(QColor(kGridLineGrey));
    for (int col = 0; col < PlateGridColumnCount; ++col) {
        const int right = headingWidth + col * dataWidth - 1;
        painter.drawLine(right, 0, right, image.height() - 1);
    }
    for (int row = 0; row < PlateGridRowCount; ++row) {
        const int bottom = headingHeight + row * dataHeight - 1;
        painter.drawLine(0, bottom, image.width() - 1, bottom);
    }
    return image;
}
