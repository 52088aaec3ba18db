#include "MainWindowTestSupport.h"

#include "core/Tool.h"
#include "plate/CellBlock.h"
#include "run/MarnovelData.h"
#include "support/GuiApplication.h"
#include "ui/main/UiColors.h"
#include "ui/main/grids/RawDataGrid.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

using namespace Qt::StringLiterals;
using TestSupport::Presenter;

namespace {

TEST(RawDataGridGeometry, RowsAndColumnsShareTheGrid)
{
    // Overhead O = 2 x bevel + 10 x grid line + 1; rows 1-8 round((H - O) / 9), row 0 the
    // rest; columns 1-12 W div 13, column 0 the rest less the lines.
    const struct
    {
        int height, bevel, dataRow, headingRow;
    } rows[] = {
        {300, 1, 32, 31}, // (300 - 13) / 9 = 31.9
        {300, 2, 32, 29}, // (300 - 15) / 9 = 31.67
        {274, 1, 29, 29}, // (274 - 13) / 9 = 29 exactly
        {238, 1, 25, 25}, // (238 - 13) / 9 = 25 exactly
        {242, 1, 25, 29}, // 25.44
        {257, 1, 27, 28}, // 27.11
        {44, 1, 3, 7},    // 3.44
    };
    for (const auto &r : rows) {
        EXPECT_EQ(TRawDataGrid::DataRowHeight(r.height, r.bevel, 1), r.dataRow) << r.height;
        EXPECT_EQ(TRawDataGrid::HeadingRowHeight(r.height, r.bevel, 1), r.headingRow) << r.height;
    }
    const struct
    {
        int width, bevel, dataColumn, headingColumn;
    } columns[] = {{650, 1, 50, 650 - 600 - 14 - 2 - 1},
                   {700, 2, 53, 700 - 636 - 14 - 4 - 1},
                   {129, 1, 9, 129 - 108 - 17}};
    for (const auto &c : columns) {
        EXPECT_EQ(TRawDataGrid::DataColumnWidth(c.width), c.dataColumn) << c.width;
        EXPECT_EQ(TRawDataGrid::HeadingColumnWidth(c.width, c.bevel, 1), c.headingColumn) << c.width;
    }
}

TEST(RawDataGridGeometry, GridAppliesTheRuleWithItsGridLines)
{
    TRawDataGrid grid;
    grid.resize(650, 300);
    grid.ResetRawDataGrid();
    grid.adjustRawDataGdColWidth(13);
    const int bevel = grid.frameWidth();
    // Qt draws each cell's grid line inside the cell.
    EXPECT_EQ(grid.rowHeight(0), TRawDataGrid::HeadingRowHeight(300, bevel, 1) + 1);
    for (int row = 1; row <= 8; ++row)
        EXPECT_EQ(grid.rowHeight(row), TRawDataGrid::DataRowHeight(300, bevel, 1) + 1) << row;
    EXPECT_EQ(grid.columnWidth(0), TRawDataGrid::HeadingColumnWidth(650, bevel, 1) + 1);
    for (int col = 1; col <= 12; ++col)
        EXPECT_EQ(grid.columnWidth(col), 650 / 13 + 1) << col;
    // Everything fits: no scrolling.
    int height = 0, width = 0;
    for (int row = 0; row < grid.rowCount(); ++row)
        height += grid.rowHeight(row);
    for (int col = 0; col < grid.columnCount(); ++col)
        width += grid.columnWidth(col);
    EXPECT_LE(height, grid.height() - 2 * bevel);
    EXPECT_LE(width, grid.width() - 2 * bevel);
    // Headings: columns "1".."12", rows "A".."H", the corner empty; data cells empty.
    EXPECT_EQ(grid.Cell(0, 0), QString());
    EXPECT_EQ(grid.Cell(12, 0), u"12"_s);
    EXPECT_EQ(grid.Cell(0, 8), u"H"_s);
    EXPECT_EQ(grid.Cell(5, 5), QString());
}

class RawDataDrawingTest : public MainWindowTest
{
protected:
    TRawDataGrid *Grid() const { return Child<TRawDataGrid>(u"rawDataGd"_s); }

    // The grid as drawn, and the rectangle of one cell in it.
    QImage Picture() const { return Grid()->viewport()->grab().toImage(); }
    QRect CellRect(int col, int row) const { return Grid()->visualRect(Grid()->model()->index(row, col)); }
    // Logical rectangles in the picture's device pixels (a high-density screen has more).
    static QRect Device(const QImage &image, const QRect &area)
    {
        const qreal scale = image.devicePixelRatio();
        return QRectF(QPointF(area.topLeft()) * scale, QSizeF(area.size()) * scale).toRect();
    }
    // Top-right corner of a cell: background, whatever text it holds.
    static QColor Background(const QImage &image, const QRect &cell)
    {
        const QRect area = Device(image, cell);
        return image.pixelColor(area.right() - 2, area.top() + 2);
    }
    static int CountPixels(const QImage &image, const QRect &logical, const std::function<bool(QColor)> &test)
    {
        const QRect area = Device(image, logical);
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                count += test(image.pixelColor(x, y)) ? 1 : 0;
        }
        return count;
    }
};

TEST_F(RawDataDrawingTest, LoadedRun_BlocksShowTheirColoursAndIdentifiers)
{
    LoadExampleRun();
    ASSERT_TRUE(Presenter().messages.empty()) << Messages();
    const QImage image = Picture();
    TMarnovelData &data = window->RunData();

    const auto isRed = [](QColor color) {
        return color.red() > 180 && color.green() < 90 && color.blue() < 90;
    };

    int standards = 0, subjects = 0;
    for (int col = 1; col <= 12; ++col) {
        for (int row = 1; row <= 8; ++row) {
            OWCellBlockBase *block = data.cellAtPoint(QPoint(col, row));
            ASSERT_NE(block, nullptr) << col << ',' << row;
            const QRect cell = CellRect(col, row);
            // The block's colour for that well: the standard's grey, or the subject's colour.
            const TColor expected = block->GetBlockCellColor(QPoint(col, row));
            EXPECT_EQ(Background(image, cell), ToQColor(expected)) << col << ',' << row;
            const bool subjectColour =
                std::find(SubjectColours.begin(), SubjectColours.end(), expected) != SubjectColours.end();
            EXPECT_EQ(subjectColour, !block->getIsStandard()) << col << ',' << row;
            ++(block->getIsStandard() ? standards : subjects);
            // The identifier well shows its identifier in red at the top left; no other does.
            const QRect topLeft(cell.topLeft(), QSize(cell.width() / 2, cell.height() / 2));
            EXPECT_EQ(CountPixels(image, topLeft, isRed) > 0, block->idCell(QPoint(col, row)))
                << col << ',' << row;
        }
    }
    EXPECT_EQ(standards, 16);
    EXPECT_EQ(subjects, 80);
    // Neighbouring subjects differ.
    EXPECT_NE(Background(image, CellRect(3, 1)), Background(image, CellRect(3, 2)));
    // Headings on the button face, their text in the complement.
    EXPECT_EQ(Background(image, CellRect(0, 3)), Grid()->palette().color(QPalette::Button));
}

TEST_F(RawDataDrawingTest, NumbersRightInBlackTextLeftInGrey)
{
    LoadExampleRun();
    TRawDataGrid *grid = Grid();
    // A number cell and the over-range mark, whatever their blocks.
    QPoint number(-1, -1), text(-1, -1);
    for (int col = 1; col <= 12; ++col) {
        for (int row = 1; row <= 8; ++row) {
            double value = 0;
            if (TryTextToFloat(grid->Cell(col, row), value) && number.x() < 0)
                number = QPoint(col, row);
            if (grid->Cell(col, row) == u"OVER"_s)
                text = QPoint(col, row);
        }
    }
    ASSERT_GE(number.x(), 0);
    ASSERT_GE(text.x(), 0);
    const QImage image = Picture();
    const auto isBlack = [](QColor c) { return c.red() < 60 && c.green() < 60 && c.blue() < 60; };
    const auto isGrey = [](QColor c) {
        return c.red() > 90 && c.red() < 160 && std::abs(c.red() - c.green()) < 12 &&
               std::abs(c.red() - c.blue()) < 12;
    };
    const auto halves = [](const QRect &cell) {
        const QRect bottom(cell.left(), cell.center().y(), cell.width(), cell.height() / 2);
        return std::pair{QRect(bottom.left(), bottom.top(), bottom.width() / 2, bottom.height()),
                         QRect(bottom.center().x() + 1, bottom.top(), bottom.width() / 2, bottom.height())};
    };
    const auto [numberLeft, numberRight] = halves(CellRect(number.x(), number.y()));
    EXPECT_GT(CountPixels(image, numberRight, isBlack), 0);
    const auto [textLeft, textRight] = halves(CellRect(text.x(), text.y()));
    EXPECT_GT(CountPixels(image, textLeft, isGrey), 0);
    EXPECT_EQ(CountPixels(image, textRight, isBlack), 0);
}

TEST_F(RawDataDrawingTest, LongTexts_EachCellDrawsInsideItsOwnRectangle)
{
    LoadExampleRun();
    TRawDataGrid *grid = Grid();
    const QPoint cell(3, 1);
    const QRect inside = CellRect(cell.x(), cell.y());
    const QImage before = Picture();
    // Whatever a cell holds, every pixel outside it stays as it was.
    const QString texts[] = {TestSupport::Dec("12345678.500"), QString(200000, u'1'),
                             u"N/S N/S N/S N/S N/S"_s};
    for (const QString &text : texts) {
        grid->SetCell(cell.x(), cell.y(), text);
        QImage after = Picture();
        QImage expected = before;
        QPainter painter(&after);
        QPainter painterExpected(&expected);
        // The painters draw in logical pixels, as the grid does.
        painter.fillRect(inside, Qt::magenta);
        painterExpected.fillRect(inside, Qt::magenta);
        painter.end();
        painterExpected.end();
        EXPECT_TRUE(after == expected) << text.left(20).toStdString();
    }
}

} // namespace
