#include "ReportPictures.h"

#include "WindowTools.h"

#include <QChart>
#include <QChartView>

namespace {

// Puts the chart's background back when the picture is done, whatever happened.
class BackgroundRestorer
{
public:
    explicit BackgroundRestorer(QChart *chart) : mChart(chart), mBrush(chart->backgroundBrush()) {}
    ~BackgroundRestorer() { mChart->setBackgroundBrush(mBrush); }
    BackgroundRestorer(const BackgroundRestorer &) = delete;
    BackgroundRestorer &operator=(const BackgroundRestorer &) = delete;

private:
    QChart *mChart;
    QBrush mBrush;
};

} // namespace

void TReportPictures::TakePlateBMP(QWidget *grid)
{
    fPlateBMP = GetScreenShotForWindowArea(grid);
}

void TReportPictures::TakeChartBMP(QChartView *chart)
{
    if (!chart || !chart->chart()) {
        fChartBMP = GetScreenShotForWindowArea(chart);
        return;
    }
    BackgroundRestorer restorer(chart->chart());
    chart->chart()->setBackgroundBrush(Qt::white);
    fChartBMP = GetScreenShotForWindowArea(chart);
}

void TReportPictures::Clear()
{
    fPlateBMP = QPixmap();
    fChartBMP = QPixmap();
}

TReportPictures &GetReportPictures()
{
    static TReportPictures pictures;
    return pictures;
}
