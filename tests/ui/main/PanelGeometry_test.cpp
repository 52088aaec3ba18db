// The geometry rules of the results tabs and the command bar, with numbers.

#include "support/GuiApplication.h"
#include "ui/main/PanelGeometry.h"

#include <gtest/gtest.h>

#include <numeric>

TEST(PanelGeometry, StandardsColumns_EighthFifthsAndTheRestLessLinesAndFrame)
{
    const struct
    {
        int width, lines, frame;
        std::array<int, 5> expected;
    } cases[] = {
        {400, 1, 1, {50, 80, 80, 80, 400 - 290 - 4 - 2 - 2}},
        {403, 0, 2, {50, 80, 80, 80, 403 - 290 - 4 - 2}},
        {10, 1, 1, {1, 2, 2, 2, 1}}, // never below 1 px
    };
    for (const auto &c : cases)
        EXPECT_EQ(StandardsColumnWidths(c.width, c.lines, c.frame), c.expected) << c.width;
}

TEST(PanelGeometry, ResultColumns_IdentifierThreeUnitsResultsOnePointOneLastTheRest)
{
    const struct
    {
        int available, columns;
        QList<int> expected;
    } cases[] = {
        {600, 2, {300, 600 - 300 - 3}}, // unit 100
        {800, 4, {300, 110, 110, 800 - 520 - 3}},
        {805, 4, {300, 110, 110, 805 - 520 - 3}}, // unit 100 still
        {100, 1, {60}},
        {100, 0, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ResultColumnWidths(c.available, c.columns), c.expected) << c.available << " " << c.columns;
}

TEST(PanelGeometry, WidenedForHeadings_OnlyWhileTheLastColumnKeepsItsLeastWidth)
{
    const struct
    {
        QList<int> widths, needed;
        int minLast;
        QList<int> expected;
    } cases[] = {
        {{300, 110, 200}, {100, 150, 500}, 110, {300, 150, 160}}, // the last column's own need is ignored
        {{300, 110, 200}, {100, 210, 0}, 110, {300, 110, 200}},   // 100 more would leave 100 < 110
        {{300, 110, 110, 200}, {350, 130, 0, 0}, 160, {300, 130, 110, 180}}, // the first: too much
        {{300}, {400}, 0, {300}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(WidenedForHeadings(c.widths, c.needed, c.minLast), c.expected);
}

TEST(PanelGeometry, FittingPointSize_LargestThatFitsNeverBelowTheSmallest)
{
    const auto fitsFrom = [](int largest) { return [largest](int size) { return size <= largest; }; };
    EXPECT_EQ(FittingPointSize(10, 7, fitsFrom(12)), 10);
    EXPECT_EQ(FittingPointSize(10, 7, fitsFrom(8)), 8);
    EXPECT_EQ(FittingPointSize(10, 7, fitsFrom(3)), 7);
    EXPECT_EQ(FittingPointSize(6, 7, fitsFrom(3)), 7);
}

TEST(PanelGeometry, ResultsPanel_EditsInSeventhsGapsByCurveBoxesBelowTheGrid)
{
    for (const bool eightPoint : {true, false}) {
        for (const bool note : {false, true}) {
            TResultsPanelInput input;
            input.Width = 710;
            input.Height = 600;
            input.EightPoint = eightPoint;
            input.DetailsMargins = QMargins(5, 20, 5, 5);
            input.EditHeight = 21;
            input.ResultsMargins = QMargins(6, 18, 6, 4);
            input.VerdictHeight = [](int width) { return width > 600 ? 16 : 32; };
            input.NoteHeight = [](int) { return 48; };
            input.NoteShown = note;
            const TResultsPanelGeometry g = ResultsPanelGeometry(input);
            SCOPED_TRACE(std::to_string(eightPoint) + " " + std::to_string(note));

            const int gap = eightPoint ? 11 : 21; // half the edit's height, rounded, on the 8-point curve
            const int unit = 100;                 // (710 - 10) / 7
            EXPECT_EQ(g.Gap, gap);
            EXPECT_EQ(g.Intercept, QRect(5 + 2 * unit, 20 + gap, 150, 21));
            EXPECT_EQ(g.Slope, QRect(5 + 5 * unit, 20 + gap, 150, 21));
            EXPECT_EQ(g.Correlation, QRect(5 + 2 * unit, 20 + 2 * gap + 21, 150, 21));
            EXPECT_EQ(g.Details.height(), 20 + 3 * gap + 2 * 21 + 5);

            // The verdict at the box's text width (710 - 12 - 8); the note below it, with room
            // kept for it on a 4-point curve.
            EXPECT_EQ(g.Verdict, QRect(10, 22, 690, 16));
            const int noteHeight = note ? 48 : (eightPoint ? 0 : 16);
            EXPECT_EQ(g.Note, QRect(10, 38, 690, noteHeight));
            EXPECT_EQ(g.Results.height(), 22 + 16 + noteHeight + 4 + 4);

            EXPECT_EQ(g.Grid.topLeft(), QPoint(0, 0));
            EXPECT_EQ(g.Details.top(), g.Grid.bottom() + 2);
            EXPECT_EQ(g.Results.top(), g.Details.bottom() + 2);
            EXPECT_EQ(g.Results.bottom() + 1, input.Height);
        }
    }
}
