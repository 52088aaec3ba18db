#include "ReportFixture.h"
#include "plate/CellBlock.h"
#include "platform/ModelColor.h"
#include "reports/ReportPictures.h"
#include "run/MarnovelRdData.h"
#include "support/GuiApplication.h"

#include <QImage>

namespace {

int PixelsOf(const QImage &image, const QRect &area, const QColor &colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y) == colour ? 1 : 0;
    return count;
}

TEST(NiceAxisScale, RoundEndsAndAboutFourSteps)
{
    const struct
    {
        double low, high;
        TAxisScale expected;
    } cases[] = {
        {0.0, 8.0, {0.0, 8.0, 5}},
        {-3.1, 1.0, {-4.0, 1.0, 6}},
        {-0.3, 0.92, {-0.5, 1.0, 4}},
        {2.0, 2.0, {1.4, 2.6, 7}}, // one value: one unit of room
    };
    for (const auto &c : cases) {
        const TAxisScale scale = NiceAxisScale(c.low, c.high);
        EXPECT_NEAR(scale.Min, c.expected.Min, 1e-9) << c.low << " " << c.high;
        EXPECT_NEAR(scale.Max, c.expected.Max, 1e-9) << c.low << " " << c.high;
        EXPECT_EQ(scale.Ticks, c.expected.Ticks) << c.low << " " << c.high;
    }
}

TEST(PaintCurveChart, PointsAndLineInTheirColourOnlyWithPoints)
{
    const TColor blue = 0xFF0000; // 0x00BBGGRR
    const std::vector<TRunCurvePoint> points{{0.0, -1.0, blue}, {1.0, 0.0, blue}, {2.0, 1.0, blue}};
    const QImage chart = PaintCurveChart(points, 1.0, -1.0, QSize(300, 200));
    ASSERT_EQ(chart.size(), QSize(300, 200));
    // Three 7 x 7 squares (their edges smoothed) and the line between them.
    EXPECT_GT(PixelsOf(chart, chart.rect(), ToQColor(blue)), 3 * 20);

    const QImage empty = PaintCurveChart({}, 1.0, -1.0, QSize(300, 200));
    EXPECT_EQ(empty.size(), QSize(300, 200));
    EXPECT_EQ(PixelsOf(empty, empty.rect(), ToQColor(blue)), 0);
}

class PlatePictureTest : public ExampleReportTest
{
};

TEST_F(PlatePictureTest, SessionPictures_WellsInTheirBlockColoursAndTheCurve)
{
    const TSessionReportSource painted(session);
    const QImage plate = painted.PlatePicture();
    // Its size on the page; it is painted finer.
    ASSERT_EQ(plate.deviceIndependentSize().toSize(),
              QSize(TSessionReportSource::PlatePictureWidth, TSessionReportSource::PlatePictureHeight));
    EXPECT_GT(plate.width(), TSessionReportSource::PlatePictureWidth);
    // Twelve data columns of a thirteenth of the width, eight rows of a ninth of the height, the
    // headings the rest.
    const int width = plate.width() / 13, height = plate.height() / 9;
    const int left = plate.width() - 12 * width, top = plate.height() - 8 * height;
    int coloured = 0;
    for (int col = 1; col <= 12; ++col) {
        for (int row = 1; row <= 8; ++row) {
            OWCellBlockBase *block = session.Data().cellAtPoint(QPoint(col, row));
            if (!block)
                continue;
            const QRect cell(left + (col - 1) * width, top + (row - 1) * height, width - 1, height - 1);
            const QColor colour = ToQColor(block->GetBlockCellColor(QPoint(col, row)));
            EXPECT_GT(PixelsOf(plate, cell, colour), cell.width() * cell.height() / 3) << col << " " << row;
            ++coloured;
        }
    }
    EXPECT_GT(coloured, 80);

    const QImage chart = painted.ChartPicture();
    ASSERT_FALSE(chart.isNull());
    const TRunCalculationResult *result = session.LastResult();
    ASSERT_TRUE(result && !result->CurvePoints.empty());
    EXPECT_GT(PixelsOf(chart, chart.rect(), ToQColor(result->CurvePoints.front().Color)), 8 * 20);
}

} // namespace
