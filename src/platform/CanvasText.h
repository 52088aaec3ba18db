#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

class QFontMetrics;
class QPainter;

// Text on a canvas, for the windows and the report pages alike.

// Alignments: vertical 0 top, 1 bottom, 2 centred; horizontal 0 left, 1 right, 2 centred.
// Rectangles are taken with an exclusive right and bottom edge (left + width, top + height).

// The top-left corner of each line: the lines are lineHeight apart; widths are the lines'
// text widths.
std::vector<QPoint> TextLinePositions(const QRect &rect, int lineHeight, const std::vector<int> &widths,
                                      int verticalMargin, int horizontalMargin, int verticalAlignment,
                                      int horizontalAlignment);
// Draws the lines at those positions with the canvas font and pen, inside the rect only;
// with fill, the rect is first filled with the canvas brush and the first line is drawn opaque.
void DrawTextLines(QPainter &canvas, const QRect &rect, const QStringList &lines, bool fill,
                   int verticalMargin, int horizontalMargin, int verticalAlignment, int horizontalAlignment);
void DrawTextInRect(QPainter &canvas, const QRect &rect, const QString &text, bool fill, int verticalMargin,
                    int horizontalMargin, int verticalAlignment, int horizontalAlignment);
// The widest line in pixels; 0 for none.
int MaxTextWidth(const QPainter &canvas, const QStringList &lines);
int MaxTextWidth(const QFontMetrics &metrics, const QStringList &lines);
int PixelsPerInchX(const QPainter &canvas);
int PixelsPerInchY(const QPainter &canvas);
