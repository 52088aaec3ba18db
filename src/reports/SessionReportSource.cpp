#include "SessionReportSource.h"

#include "files/RunSession.h"
#include "run/MarnovelRdData.h"

TSessionReportSource::TSessionReportSource(const TRunSession &session, TPictureMaker chart,
                                           TPictureMaker plate, int rawDataGridWidth)
    : mSession(session), mChart(std::move(chart)), mPlate(std::move(plate)),
      mRawDataGridWidth(rawDataGridWidth)
{
}

const TMarnovelRdData &TSessionReportSource::RunData() const
{
    return mSession.Data();
}

TRunDetails TSessionReportSource::RunDetails() const
{
    return mSession.Details();
}

double TSessionReportSource::Intercept() const
{
    return 0;
}
double TSessionReportSource::Slope() const
{
    return 0;
}
double TSessionReportSource::CorrCoeff() const
{
    return 0;
}
bool TSessionReportSource::PassedCriteria() const
{
    return false;
}
QString TSessionReportSource::RegressResultCaption() const
{
    return {};
}
bool TSessionReportSource::ShouldShowPlateWashingStr() const
{
    return false;
}
int TSessionReportSource::GetIdentifierCount() const
{
    return 0;
}
QImage TSessionReportSource::ChartPicture() const
{
    return mChart ? mChart() : QImage();
}
QImage TSessionReportSource::PlatePicture() const
{
    return mPlate ? mPlate() : QImage();
}
