#pragma once

#include "files/RunSession.h"

class IReportSource;

// Writes one report as a PDF file: the report is drawn as a page image (FilePrint on), cut
// into bands at the recorded page starts, and each band put on its own A4 page at (0, 0).
// imageWidth and imageHeight are the page image's size in screen pixels (96 per inch); a
// height of 0 takes the report's own height. The file appears under its name only when it
// is complete; a failure says why and leaves any earlier file of that name as it was.
TRunStepResult WriteReportPdf(const IReportSource &source, bool withCurvePage, bool grouped, int end,
                              int start, int imageWidth, int imageHeight, const QString &path);

// The PDF file's bytes, as WriteReportPdf writes them.
QByteArray ReportPdfBytes(const IReportSource &source, bool withCurvePage, bool grouped, int end, int start,
                          int imageWidth, int imageHeight);
