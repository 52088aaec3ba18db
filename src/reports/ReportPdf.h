#pragma once

#include "files/RunSession.h"

class IReportSource;

// Writes one report as a PDF file: the report is drawn as a page image (FilePrint on), cut
// into bands at the recorded page starts, and each band put on its own A4 page at (0, 0).
// imageWidth and imageHeight are the page image's size in screen pixels (96 per inch); a
// height of 0 takes the report's own height. The file appears under its name only when it
// is complete; a failure says why and leaves any earlier file of that name as it was.
TRunStepResult WriteReportPdf(const IReportSource &source, bool withCurvePage, bool grouped, int start,
                              int end, int imageWidth, int imageHeight, const QString &path);

// The PDF file's bytes, as WriteReportPdf writes them.
QByteArray ReportPdfBytes(const IReportSource &source, bool withCurvePage, bool grouped, int start, int end,
                          int imageWidth, int imageHeight);

// The bottom of the report drawn for subjects start ... end on a surface of the given
// resolution (pixels per inch), as the print window measures its preview.
int MeasureRunReport(const IReportSource &source, bool withCurvePage, bool grouped, int start, int end,
                     int dpiX, int dpiY);

// The name of a report's PDF in folder: run date "ddmmmyy", "_", the subject's identifier
// (subject > 0) or the run number; the first free name there.
QString ReportPdfFileName(const IReportSource &source, const QString &folder, int subject);
