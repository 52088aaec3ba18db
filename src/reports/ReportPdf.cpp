#include "ReportPdf.h"

#include "PrintManager.h"
#include "Printing.h"
#include "ReportSource.h"
#include "core/Exceptions.h"
#include "core/MarnovelUtils.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "plate/TextGrid.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The reason of a PDF the writer cannot make.
constexpr int kTextPdfCannotBeMade = 1133;
// The page image is laid out at the resolution of a screen.
constexpr int kImageDpi = 96;
// A band is placed on its page at this scale: one image pixel is 0.65 points.
constexpr double kBandScale = 0.65;
constexpr double kPointsPerInch = 72.0;

} // namespace

QByteArray ReportPdfBytes(const IReportSource &source, bool withCurvePage, bool grouped, int start, int end,
                          int imageWidth, int imageHeight)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        // The writer works in pixels of the page image, so the report is laid out exactly as on
        // the image; the text stays text and is sharp at any print resolution.
        QPdfWriter writer(&buffer);
        writer.setResolution(kImageDpi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        writer.setCreator(ProductNameText());
        const QRect page = writer.pageLayout().fullRectPixels(kImageDpi);

        QPainter painter;
        if (!painter.begin(&writer))
            throw EInOutError(UiText(kTextPdfCannotBeMade), UiText(kTextPdfCannotBeMade));
        TFilePrintScope filePrint;

        // Drawn once with nothing shown, for the page starts and the image's height.
        painter.save();
        painter.setClipRect(QRect(0, 0, 0, 0));
        const int bottom = DrawRunReport(painter, source, withCurvePage, nullptr, grouped, start, end);
        painter.restore();
        const QList<int> starts = GetPrintManager().PageEnds();
        const int height = imageHeight > 0 ? imageHeight : bottom + 50;

        const double scale = kBandScale * kImageDpi / kPointsPerInch;
        const int width = imageWidth > 0 ? imageWidth : static_cast<int>(page.width() / scale);
        for (qsizetype i = 0; i <= starts.size(); ++i) {
            const int top = i == 0 ? 0 : starts.at(i - 1);
            const int bandBottom = i < starts.size() ? starts.at(i) : std::max(height, top);
            // A band taller than the page is made smaller, so that nothing is cut off. Only
            // what is drawn counts: blank paper below the report's bottom needs no room.
            const int drawnBottom = std::min(bandBottom, std::max(bottom, top));
            const double bandScale = std::min(scale, double(page.height()) / std::max(1, drawnBottom - top));
            if (i > 0 && !writer.newPage())
                throw EInOutError(UiText(kTextPdfCannotBeMade), UiText(kTextPdfCannotBeMade));
            painter.save();
            painter.scale(bandScale, bandScale);
            painter.translate(0, -top);
            painter.setClipRect(QRect(0, top, width, bandBottom - top));
            DrawRunReport(painter, source, withCurvePage, nullptr, grouped, start, end);
            painter.restore();
        }
        if (!painter.end())
            throw EInOutError(UiText(kTextPdfCannotBeMade), UiText(kTextPdfCannotBeMade));
    }
    return buffer.data();
}

TRunStepResult WriteReportPdf(const IReportSource &source, bool withCurvePage, bool grouped, int start,
                              int end, int imageWidth, int imageHeight, const QString &path)
{
    try {
        WriteFileAtomically(
            path, ReportPdfBytes(source, withCurvePage, grouped, start, end, imageWidth, imageHeight));
    } catch (const MarnovelException &error) {
        const QString reason = error.Reason().isEmpty() ? error.Message() : error.Reason();
        return {TRunStepResult::Refused, 0, WriteFailureText(path, reason), path};
    }
    return {};
}

int MeasureRunReport(const IReportSource &source, bool withCurvePage, bool grouped, int start, int end,
                     int dpiX, int dpiY)
{
    // A one-pixel image at that resolution: the report is laid out exactly as on the larger
    // surface, and only its bottom is kept.
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(qRound(dpiX / 0.0254));
    probe.setDotsPerMeterY(qRound(dpiY / 0.0254));
    return DrawRunReport(probe, source, withCurvePage, nullptr, grouped, start, end);
}

QString ReportPdfFileName(const IReportSource &source, const QString &folder, int subject)
{
    QString name = FormatDate(ShortFileDateFormatPattern(), source.RunDetails().RunDate) + u'_';
    if (subject > 0)
        name += source.ResultGrid().Cell(0, subject);
    else
        name += source.RunDetails().RunNumber;
    return UniqueFileName(folder, name, u"pdf"_s);
}
