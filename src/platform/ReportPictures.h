#pragma once

#include <QPixmap>

class QChartView;
class QWidget;

// The plate and chart pictures that the report pages print: taken by the main window after
// each run-data load and each calculation, kept until replaced.
class TReportPictures
{
public:
    const QPixmap &GetPlateBMP() const { return fPlateBMP; }
    const QPixmap &GetChartBMP() const { return fChartBMP; }

    // A picture of the raw-data grid.
    void TakePlateBMP(QWidget *grid);
    // A picture of the chart on a white background; the chart's own background comes back
    // afterwards, also when taking the picture fails.
    void TakeChartBMP(QChartView *chart);
    void Clear();

private:
    QPixmap fPlateBMP;
    QPixmap fChartBMP;
};

// Created on first use, alive until the process ends.
TReportPictures &GetReportPictures();
