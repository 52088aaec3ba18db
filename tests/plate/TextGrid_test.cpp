#include "plate/TextGrid.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QPoint>

#include <climits>

using namespace Qt::StringLiterals;

namespace {

TEST(TextGrid, CellsOutsideTheGrid_ReadEmptyAndIgnoreWrites)
{
    TTextGrid grid(3, 2);
    grid.SetCell(2, 1, u"x"_s);
    EXPECT_EQ(grid.Cell(2, 1), u"x"_s);
    const QPoint outside[] = {{3, 0}, {0, 2}, {-1, 0}, {0, -1}, {INT_MAX, INT_MAX}, {INT_MIN, 1}};
    for (QPoint p : outside) {
        SCOPED_TRACE(p.x());
        grid.SetCell(p.x(), p.y(), u"y"_s);
        EXPECT_TRUE(grid.Cell(p.x(), p.y()).isNull());
    }
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(grid.RowCount(), 2);
}

TEST(TextGrid, Resizing_KeepsTextsThatStillFit)
{
    TTextGrid grid(2, 2);
    grid.SetCell(0, 0, u"a"_s);
    grid.SetCell(1, 1, u"b"_s);
    grid.SetRowCount(1);
    grid.SetColCount(4);
    EXPECT_EQ(grid.Cell(0, 0), u"a"_s);
    EXPECT_TRUE(grid.Cell(1, 1).isEmpty());
    grid.SetRowCount(3);
    EXPECT_TRUE(grid.Cell(1, 1).isEmpty()); // a shrunk-away text does not come back
    grid.SetCell(3, 2, u"c"_s);
    EXPECT_EQ(grid.Cell(3, 2), u"c"_s);

    grid.SetColCount(-5);
    grid.SetRowCount(-1);
    EXPECT_EQ(grid.ColCount(), 0);
    EXPECT_EQ(grid.RowCount(), 0);
    EXPECT_TRUE(grid.Cell(0, 0).isEmpty());
}

} // namespace
