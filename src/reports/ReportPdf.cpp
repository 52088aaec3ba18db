#include "ReportPdf.h"

#include <QByteArray>

QByteArray ReportPdfBytes(const IReportSource &, bool, bool, int, int, int, int)
{
    return {};
}

TRunStepResult WriteReportPdf(const IReportSource &, bool, bool, int, int, int, int, const QString &)
{
    return {TRunStepResult::Refused, 0, QStringLiteral("not yet"), QString()};
}
