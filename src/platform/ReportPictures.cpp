#include "ReportPictures.h"

#include "WindowTools.h"

#include <QChart>
#include <QChartView>

namespace {

// Puts the chart's and the view's backgrounds back when the picture is done, whatever happened.
class BackgroundRestorer
{
public:
    explicit BackgroundRestorer(QChartView *view)
        : mView(view), mChartBrush(view->chart()->backgroundBrush()), mViewBrush(view->backgroundBrush())
    {
    }
    ~BackgroundRestorer()
    {
        mView->chart()->setBackgroundBrush(mChartBrush);
        mView->setBackgroundBrush(mViewBrush);
    }
    BackgroundRestorer(const BackgroundRestorer &) = delete;
    BackgroundRestorer &operator=(const BackgroundRestorer &) = delete;

private:
    QChartView *mView;
    QBrush mChartBrush;
    QBrush mViewBrush;
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
    // White to the picture's edge: the view's background shows in the chart's margins, and the
    // view's frame is not part of the chart.
    BackgroundRestorer restorer(chart);
    chart->chart()->setBackgroundBrush(Qt::white);
    chart->setBackgroundBrush(Qt::white);
    fChartBMP = GetScreenShotForWindowArea(chart->viewport());
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
