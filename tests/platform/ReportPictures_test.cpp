#include "platform/ReportPictures.h"

#include "support/GuiApplication.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

TEST(ReportPicturesTest, TakePlateBMP_PicturesTheGrid)
{
    QTableWidget grid(9, 13);
    grid.resize(400, 220);
    grid.show();
    TReportPictures pictures;
    pictures.TakePlateBMP(&grid);
    EXPECT_EQ(pictures.GetPlateBMP().deviceIndependentSize().toSize(), QSize(400, 220));
    pictures.Clear();
    EXPECT_TRUE(pictures.GetPlateBMP().isNull());
}

TEST(ReportPicturesTest, TakeChartBMP_WhiteBackgroundThenTheOwnOneAgain)
{
    QChartView view;
    auto *series = new QLineSeries;
    series->append(0, 0);
    series->append(1, 1);
    view.chart()->addSeries(series);
    view.chart()->setBackgroundBrush(QColor(0, 0, 160));
    view.resize(300, 200);
    view.show();

    TReportPictures pictures;
    pictures.TakeChartBMP(&view);
    const QImage picture = pictures.GetChartBMP().toImage();
    ASSERT_FALSE(picture.isNull());
    const qreal ratio = pictures.GetChartBMP().devicePixelRatio();
    EXPECT_EQ(picture.pixelColor(QPoint(12, 12) * ratio), QColor(Qt::white));
    // White to the edge: no frame and no band of the view's own background around the chart.
    for (int x = 0; x < picture.width(); ++x)
        for (const int y : {0, 1, picture.height() - 2, picture.height() - 1})
            ASSERT_EQ(picture.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
    for (int y = 0; y < picture.height(); ++y)
        for (const int x : {0, 1, picture.width() - 2, picture.width() - 1})
            ASSERT_EQ(picture.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
    EXPECT_EQ(view.chart()->backgroundBrush().color(), QColor(0, 0, 160));
    EXPECT_EQ(view.grab().toImage().pixelColor(QPoint(12, 12) * ratio), QColor(0, 0, 160));

    pictures.TakeChartBMP(nullptr);
    EXPECT_TRUE(pictures.GetChartBMP().isNull());
}

TEST(ReportPicturesTest, GetReportPictures_IsOneObject)
{
    EXPECT_EQ(&GetReportPictures(), &GetReportPictures());
}

} // namespace
