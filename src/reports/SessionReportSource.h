#pragma once

#include "ReportSource.h"
#include "plate/TextGrid.h"

#include <functional>

class TRunSession;

// The report of a run session and its last calculation, with the texts the main window
// shows for it. The pictures of page 3 are painted from the calculation and the plate
// (ReportPictures.h) when first asked for, unless the caller gives its own.
class TSessionReportSource : public IReportSource
{
public:
    using TPictureMaker = std::function<QImage()>;
    // Width of the main window's raw data grid at its usual size, for a caller without one.
    static constexpr int DefaultRawDataGridWidth = 640;
    // The painted pictures' sizes in screen pixels, the same whoever asks: the window's report
    // and the tool's show the same pages.
    static constexpr int ChartPictureWidth = 600;
    static constexpr int ChartPictureHeight = 400;
    static constexpr int PlatePictureWidth = DefaultRawDataGridWidth;
    static constexpr int PlatePictureHeight = 420;

    // The session must outlive the source; its state is read when the source is made.
    explicit TSessionReportSource(const TRunSession &session, TPictureMaker chart = {},
                                  TPictureMaker plate = {}, int rawDataGridWidth = DefaultRawDataGridWidth);

    const TMarnovelRdData &RunData() const override;
    TRunDetails RunDetails() const override;
    const ITextGrid &ResultGrid() const override { return mResultGrid; }
    const ITextGrid &StandardsGrid() const override { return mStandardsGrid; }
    const ITextGrid &StdConcGrid() const override { return mStdConcGrid; }
    const ITextGrid &RawDataGrid() const override { return mRawDataGrid; }
    double Intercept() const override;
    double Slope() const override;
    double CorrCoeff() const override;
    bool PassedCriteria() const override;
    QString RegressResultCaption() const override;
    bool ShouldShowPlateWashingStr() const override;
    int GetIdentifierCount() const override;
    QImage ChartPicture() const override;
    QImage PlatePicture() const override;
    int RawDataGridWidth() const override { return mRawDataGridWidth; }

private:
    const TRunSession &mSession;
    TPictureMaker mChart;
    TPictureMaker mPlate;
    int mRawDataGridWidth;
    // Painted once, on first use.
    mutable QImage mChartPicture;
    mutable QImage mPlatePicture;
    TTextGrid mResultGrid;
    TTextGrid mStandardsGrid;
    TTextGrid mStdConcGrid;
    TTextGrid mRawDataGrid;
};
