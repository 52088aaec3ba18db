#include "PanelGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

// Inside the ELISA results box, above and below its texts.
constexpr int kResultsPadding = 4;

int Rounded(double value)
{
    return static_cast<int>(std::lround(value));
}

} // namespace

int FittingPointSize(int pointSize, int smallest, const std::function<bool(int pointSize)> &fits)
{
    while (pointSize > smallest && !fits(pointSize))
        --pointSize;
    return std::max(pointSize, smallest);
}

std::array<int, 5> StandardsColumnWidths(int width, int gridLineWidth, int frameWidth)
{
    std::array<int, 5> widths{width / 8, width / 5, width / 5, width / 5, 0};
    const int used = widths[0] + widths[1] + widths[2] + widths[3];
    widths[4] = std::max(1, width - used - 4 * gridLineWidth - 2 * frameWidth - 2);
    return widths;
}

QList<int> ResultColumnWidths(int available, int columns)
{
    QList<int> widths;
    if (columns <= 0)
        return widths;
    const int unit = available / (columns + 4);
    widths << 3 * unit;
    int taken = 3 * unit;
    for (int col = 1; col < columns - 1; ++col) {
        widths << static_cast<int>(std::nearbyint(1.1 * unit));
        taken += widths.back();
    }
    if (columns > 1)
        widths << std::max(1, available - taken - 3);
    return widths;
}

QList<int> WidenedForHeadings(QList<int> widths, const QList<int> &needed, int minLastWidth)
{
    const qsizetype last = widths.size() - 1;
    for (qsizetype col = 0; col < last && col < needed.size(); ++col) {
        const int extra = needed.at(col) - widths.at(col);
        if (extra > 0 && widths.at(last) - extra >= minLastWidth) {
            widths[col] = needed.at(col);
            widths[last] -= extra;
        }
    }
    return widths;
}

TResultsPanelGeometry ResultsPanelGeometry(const TResultsPanelInput &input)
{
    TResultsPanelGeometry geometry;
    const int width = input.Width;

    // Curve details: intercept and slope on the first row, the correlation on the second, a
    // gap before, between and after them; columns in sevenths of the box.
    const QMargins &details = input.DetailsMargins;
    const int edit = input.EditHeight;
    geometry.Gap = input.EightPoint ? Rounded(edit / 2.0) : edit;
    const int gap = geometry.Gap;
    const int detailsHeight = details.top() + 3 * gap + 2 * edit + details.bottom();
    const int client = std::max(0, width - details.left() - details.right());
    const int unit = Rounded(client / 7.0);
    const int editWidth = Rounded(1.5 * unit);
    const int firstRow = details.top() + gap;
    const int secondRow = firstRow + edit + gap;
    geometry.Intercept = QRect(details.left() + 2 * unit, firstRow, editWidth, edit);
    geometry.Slope = QRect(details.left() + 5 * unit, firstRow, editWidth, edit);
    geometry.Correlation = QRect(details.left() + 2 * unit, secondRow, editWidth, edit);

    // ELISA results: the verdict, and below it the plate-washing note when it is shown or the
    // curve is 4-point.
    const QMargins &results = input.ResultsMargins;
    const int textWidth = std::max(1, width - results.left() - results.right() - 2 * kResultsPadding);
    const int verdictHeight = input.VerdictHeight ? input.VerdictHeight(textWidth) : 0;
    int noteHeight = 0;
    if (input.NoteShown || !input.EightPoint)
        noteHeight =
            std::max(verdictHeight, input.NoteShown && input.NoteHeight ? input.NoteHeight(textWidth) : 0);
    const int top = results.top() + kResultsPadding;
    geometry.Verdict = QRect(results.left() + kResultsPadding, top, textWidth, verdictHeight);
    geometry.Note = QRect(results.left() + kResultsPadding, top + verdictHeight, textWidth, noteHeight);
    const int resultsHeight = top + verdictHeight + noteHeight + kResultsPadding + results.bottom();

    // The grid takes what the boxes leave.
    const int gridHeight = std::max(0, input.Height - detailsHeight - resultsHeight - 2);
    geometry.Grid = QRect(0, 0, width, gridHeight);
    geometry.Details = QRect(0, gridHeight + 1, width, detailsHeight);
    geometry.Results = QRect(0, gridHeight + 1 + detailsHeight + 1, width, resultsHeight);
    return geometry;
}
