#include "ReportSource.h"

#include "core/Tool.h"
#include "platform/CanvasText.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

using namespace Qt::StringLiterals;

int IReportSource::getResultCellWidth(int column, const QPainter &canvas, const QString &heading) const
{
    return ReportResultCellWidth(column, canvas, heading);
}

int ReportResultCellWidth(int column, const QPainter &canvas, const QString &heading)
{
    const QFontMetrics metrics = canvas.fontMetrics();
    if (column == 0)
        return metrics.horizontalAdvance(QString(15, u'M'));
    const int sample = metrics.horizontalAdvance(u"-999.99\u00B6"_s);
    return std::max(sample, std::max(1, MaxTextWidth(metrics, SplitHeading(heading))));
}
