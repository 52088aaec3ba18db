#include "CanvasText.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

std::vector<QPoint> TextLinePositions(const QRect &rect, int lineHeight, const std::vector<int> &widths,
                                      int verticalMargin, int horizontalMargin, int verticalAlignment,
                                      int horizontalAlignment)
{
    const int count = static_cast<int>(widths.size());
    const int right = rect.left() + rect.width();
    const int bottom = rect.top() + rect.height();
    int top = 0;
    if (verticalAlignment == 2)
        // Pixel positions round halves to even.
        top = rect.top() + static_cast<int>(std::lrint(rect.height() / 2.0 - lineHeight * count / 2.0));
    else if (verticalAlignment == 1)
        top = bottom - verticalMargin - lineHeight * count;
    else
        top = rect.top() + verticalMargin;

    std::vector<QPoint> positions;
    positions.reserve(widths.size());
    for (int i = 0; i < count; ++i) {
        const int width = widths[static_cast<size_t>(i)];
        int left = 0;
        if (horizontalAlignment == 1)
            left = right - width - horizontalMargin;
        else if (horizontalAlignment == 2)
            left = rect.left() + (rect.width() - width) / 2;
        else
            left = rect.left() + horizontalMargin;
        positions.emplace_back(left, top + lineHeight * i);
    }
    return positions;
}

void DrawTextLines(QPainter &canvas, const QRect &rect, const QStringList &lines, bool fill,
                   int verticalMargin, int horizontalMargin, int verticalAlignment, int horizontalAlignment)
{
    const QFontMetrics metrics = canvas.fontMetrics();
    std::vector<int> widths;
    widths.reserve(static_cast<size_t>(lines.size()));
    for (const QString &line : lines)
        widths.push_back(metrics.horizontalAdvance(line));
    const std::vector<QPoint> positions =
        TextLinePositions(rect, metrics.height(), widths, verticalMargin, horizontalMargin, verticalAlignment,
                          horizontalAlignment);
    canvas.save();
    // A text wider than its cell is cut at the cell's edges, never drawn over its neighbours.
    canvas.setClipRect(rect, Qt::IntersectClip);
    if (fill)
        canvas.fillRect(rect, canvas.brush());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (fill && i == 0) {
            canvas.setBackground(canvas.brush());
            canvas.setBackgroundMode(Qt::OpaqueMode);
        } else {
            canvas.setBackgroundMode(Qt::TransparentMode);
        }
        const QPoint &topLeft = positions[static_cast<size_t>(i)];
        canvas.drawText(topLeft.x(), topLeft.y() + metrics.ascent(), lines.at(i));
    }
    canvas.restore();
}

void DrawTextInRect(QPainter &canvas, const QRect &rect, const QString &text, bool fill, int verticalMargin,
                    int horizontalMargin, int verticalAlignment, int horizontalAlignment)
{
    DrawTextLines(canvas, rect, QStringList{text}, fill, verticalMargin, horizontalMargin, verticalAlignment,
                  horizontalAlignment);
}

int MaxTextWidth(const QFontMetrics &metrics, const QStringList &lines)
{
    int widest = 0;
    for (const QString &line : lines)
        widest = qMax(widest, metrics.horizontalAdvance(line));
    return widest;
}

int MaxTextWidth(const QPainter &canvas, const QStringList &lines)
{
    return MaxTextWidth(canvas.fontMetrics(), lines);
}

int PixelsPerInchX(const QPainter &canvas)
{
    return canvas.device() ? canvas.device()->logicalDpiX() : 96;
}

int PixelsPerInchY(const QPainter &canvas)
{
    return canvas.device() ? canvas.device()->logicalDpiY() : 96;
}
