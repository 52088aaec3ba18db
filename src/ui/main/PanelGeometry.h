#pragma once

#include <QList>
#include <QMargins>
#include <QRect>

#include <array>
#include <functional>

// Geometry rules of the results tabs and the command bar, as pure functions: numbers in,
// numbers out, so that tests can check them without a window.

// The largest point size from `pointSize` down to `smallest` at which `fits` holds; `smallest`
// when none does.
int FittingPointSize(int pointSize, int smallest, const std::function<bool(int pointSize)> &fits);

// Standards grid (name, concentration, mean, %CV, QC result) in `width` pixels: an eighth
// for the names, a fifth for each number, the rest for the QC result.
std::array<int, 5> StandardsColumnWidths(int width, int gridLineWidth, int frameWidth);

// Subject result grid of `columns` columns in `available` pixels: the identifier three units,
// every result 1.1 units, the last the rest; a unit is a (columns + 4)th.
QList<int> ResultColumnWidths(int available, int columns);
// Columns widened to what their headings need (`needed`, per column), each at the cost of
// the last column, never below `minLastWidth`; the last column's own need is ignored.
QList<int> WidenedForHeadings(QList<int> widths, const QList<int> &needed, int minLastWidth);

// The Standards Results tab's left side: the grid on top, the curve details box and the
// ELISA results box below it, each 1 px below the control above.
struct TResultsPanelInput
{
    int Width = 0;
    int Height = 0;
    bool EightPoint = false;
    QMargins DetailsMargins;
    int EditHeight = 0;
    QMargins ResultsMargins;
    // Heights of the verdict and of the plate-washing note at a text width; the note's is
    // asked only when it is shown.
    std::function<int(int textWidth)> VerdictHeight;
    std::function<int(int textWidth)> NoteHeight;
    bool NoteShown = false;
};

struct TResultsPanelGeometry
{
    QRect Grid, Details, Results;
    // In the details box: the intercept, slope and correlation edits.
    QRect Intercept, Slope, Correlation;
    // In the results box: the verdict, and the note below it (room kept on a 4-point curve).
    QRect Verdict, Note;
    // Below each edit's row a gap; captions may take the edit's height and two gaps.
    int Gap = 0;
};

TResultsPanelGeometry ResultsPanelGeometry(const TResultsPanelInput &input);
