#pragma once

class IReportSource;
class MarnovelCanvas;
class QImage;
class QPaintDevice;
class QPainter;
class QPrinter;
class QString;

// The run report: page 1 the run header and the subject results, page 2 the standards and
// the raw data, page 3 (withCurvePage) the curve and plate pictures. The same drawing
// serves the preview, the printer (printer given: a new printer page for every later page)
// and the PDF page image (FilePrintGet: no signature line, page starts recorded). Subjects
// start ... end, 1-based. Returns the Y below what was drawn. A printer's error propagates.
int DrawRunReport(QPaintDevice &surface, const IReportSource &source, bool withCurvePage, QPrinter *printer,
                  bool grouped, int start, int end);
// The same through a painter that is already drawing on the surface (its state is kept).
int DrawRunReport(QPainter &painter, const IReportSource &source, bool withCurvePage, QPrinter *printer,
                  bool grouped, int start, int end);

// The section steps, in page order; each takes a Y and returns the Y below what it drew.
struct TReportPageContext
{
    MarnovelCanvas &Canvas;
    const IReportSource &Source;
    QPrinter *Printer = nullptr;
    int Pages = 2;
};

// The page number (and the preview's separator or the printer's new page for a later
// page); returns the page's top Y.
int BeginReportPage(TReportPageContext &context, int y, int page);
// The logo and the version; returns the logo's right edge (absolute X).
int DrawLogoAndVersion(TReportPageContext &context, int y);
int DrawReportHeader(TReportPageContext &context, const QString &subjectId, int logoRight, bool full, int y);
// Subjects start ... end; footnotesThrough > 0 puts the footnotes of the marks among subjects
// start ... footnotesThrough under the table (a second table beside it has none of its own).
int DrawResultsTable(TReportPageContext &context, int y, int footnotesThrough, int xShift, int start,
                     int end);
int DrawSignatureLine(TReportPageContext &context, int y);
int DrawStandardsTable(TReportPageContext &context, int y);
int DrawRawDataTable(TReportPageContext &context, int y, bool grouped, int start, int end);
int DrawPicture(TReportPageContext &context, const QImage &picture, int absoluteX, int y);
