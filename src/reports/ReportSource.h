#pragma once

#include "files/ExportTexts.h"

#include <QImage>
#include <QString>

class ITextGrid;
class QPainter;
class TMarnovelRdData;

// Everything a run report reads, whoever holds the run: the main window or a run session.
// The grids are the texts as the results views show them, addressed (column, row).
class IReportSource
{
public:
    virtual ~IReportSource() = default;

    // The run data: margin, heading, result grid size, grid lines, annotations, subject
    // blocks, raw data type texts.
    virtual const TMarnovelRdData &RunData() const = 0;
    virtual TRunDetails RunDetails() const = 0;

    // resultGd: row 0 the headings, column 0 the identifiers, one row per subject.
    virtual const ITextGrid &ResultGrid() const = 0;
    // concGd: row 0 the headings, row i + 1 standard i.
    virtual const ITextGrid &StandardsGrid() const = 0;
    // stdConcGd: column 1 holds the concentrations, row i standard i + 1.
    virtual const ITextGrid &StdConcGrid() const = 0;
    // rawDataGd: the plate with its headings in row 0 and column 0.
    virtual const ITextGrid &RawDataGrid() const = 0;

    // Room a result column needs with the canvas font (ReportResultCellWidth unless the
    // holder measures its own way).
    virtual int getResultCellWidth(int column, const QPainter &canvas, const QString &heading) const;

    virtual double Intercept() const = 0;
    virtual double Slope() const = 0;
    virtual double CorrCoeff() const = 0;
    virtual bool PassedCriteria() const = 0;
    // The caption of the correlation's QC result label (regressResultLa).
    virtual QString RegressResultCaption() const = 0;
    virtual bool ShouldShowPlateWashingStr() const = 0;
    // Greater than 0 when the subjects carry identifiers.
    virtual int GetIdentifierCount() const = 0;

    // The pictures of page 3; a null image draws nothing.
    virtual QImage ChartPicture() const = 0;
    virtual QImage PlatePicture() const = 0;
    // Width in screen pixels of the raw data grid as shown (the preview's width with page 3).
    virtual int RawDataGridWidth() const = 0;
};

// A result column's width on a canvas: 15 "M" for the identifiers (column 0), else the
// wider of "-999.99¶" and the heading's widest line (SplitHeading).
int ReportResultCellWidth(int column, const QPainter &canvas, const QString &heading);
