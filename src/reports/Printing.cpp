#include "Printing.h"

#include "PrintManager.h"
#include "PrintObj.h"
#include "ReportSource.h"
#include "core/Annotations.h"
#include "core/Exceptions.h"
#include "core/FontManager.h"
#include "core/SoftwareInfoManager.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "plate/TextGrid.h"
#include "platform/Logo.h"
#include "run/MarnovelRdData.h"

#include <QGuiApplication>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Subjects in one results table; more go into a second table beside it.
constexpr int kSubjectsPerTable = 40;
// The standards grid's columns that are printed; the pass flag after them is not.
constexpr int kPrintedStandardsColumns = 5;
const QColor kGridSilver(192, 192, 192);

int RoundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

// Puts the usage's size in force and returns its line height.
int UseFont(MarnovelCanvas &canvas, FONTUSAGE usage)
{
    canvas.setFontSize(CurrentFontSize(usage));
    return canvas.LineHeight();
}

int Mm(const MarnovelCanvas &canvas, int mm)
{
    return canvas.convertMmToPixelValueX(mm);
}

bool IsNumberText(const QString &text)
{
    double value = 0.0;
    return TryTextToFloat(StripMarkup(text), value);
}

const OWCellBlockBase *Subject(const IReportSource &source, int number)
{
    return source.RunData().RawData().getCellInteger(number - 1);
}

} // namespace

int DrawRunReport(QPaintDevice &surface, const IReportSource &source, bool withCurvePage, QPrinter *printer,
                  bool grouped, int start, int end)
{
    QPainter painter(&surface);
    return DrawRunReport(painter, source, withCurvePage, printer, grouped, start, end);
}

int DrawRunReport(QPainter &painter, const IReportSource &source, bool withCurvePage, QPrinter *printer,
                  bool grouped, int start, int end)
{
    painter.save();
    MarnovelCanvas canvas(painter);
    canvas.SetMarginMmX(source.RunData().printMarginWidth());
    TReportPageContext context{canvas, source, printer, withCurvePage ? 3 : 2};

    QString subjectId;
    if (!grouped && end - start < 2) {
        if (const OWCellBlockBase *subject = Subject(source, end))
            subjectId = subject->id();
    }

    // Page 1: header and results.
    const int top1 = BeginReportPage(context, 0, 1);
    int logoRight = DrawLogoAndVersion(context, top1);
    int y =
        DrawReportHeader(context, subjectId, logoRight, true, top1 + 3 * UseFont(canvas, PRINT_TEXTNORMAL));
    y += UseFont(canvas, PRINT_TEXTNORMAL);
    if (end - start <= kSubjectsPerTable) {
        y = DrawResultsTable(context, y, end, 0, start, end);
    } else {
        // The footnotes under the left table explain the marks of both: no mark without its note.
        const int lastLeft = start + kSubjectsPerTable - 1;
        const int left = DrawResultsTable(context, y, end, 0, start, lastLeft);
        const int right = DrawResultsTable(context, y, 0, Mm(canvas, 80), lastLeft + 1, end);
        y = std::max(left, right);
    }
    y = DrawSignatureLine(context, y + canvas.LineHeight());

    // Page 2: standards and raw data.
    const int top2 = BeginReportPage(context, y + canvas.LineHeight(), 2);
    logoRight = DrawLogoAndVersion(context, top2);
    y = DrawReportHeader(context, subjectId, logoRight, false, top2 + 3 * UseFont(canvas, PRINT_TEXTNORMAL));
    y = DrawStandardsTable(context, y + UseFont(canvas, PRINT_TEXTSMALL));
    y = DrawRawDataTable(context, y + UseFont(canvas, PRINT_TEXTSMALL), grouped, start, end);
    const int pageEnd = y + UseFont(canvas, PRINT_TEXTSMALL) + canvas.LineHeight();
    if (!withCurvePage) {
        painter.restore();
        return pageEnd;
    }

    // Page 3: the pictures.
    const int top3 = BeginReportPage(context, pageEnd, 3);
    logoRight = DrawLogoAndVersion(context, top3);
    y = DrawReportHeader(context, subjectId, logoRight, false, top3 + 3 * UseFont(canvas, PRINT_TEXTNORMAL));
    y = DrawPicture(context, source.ChartPicture(), Mm(canvas, 12), y + UseFont(canvas, PRINT_TEXTSMALL));
    y = DrawPicture(context, source.PlatePicture(), Mm(canvas, 12), y + UseFont(canvas, PRINT_TEXTNORMAL));
    painter.restore();
    return y;
}

int BeginReportPage(TReportPageContext &context, int y, int page)
{
    MarnovelCanvas &canvas = context.Canvas;
    TPrintManager &manager = GetPrintManager();
    UseFont(canvas, PRINT_TEXTSMALL);
    if (page == 1) {
        if (manager.FilePrintGet())
            manager.PageEndClearAllItems();
    } else if (manager.FilePrintGet()) {
        manager.PageEndAddItem(y);
    } else if (context.Printer) {
        if (!context.Printer->newPage())
            throw MarnovelException(u"Printer is not currently printing"_s);
        y = 0;
    } else {
        canvas.setFontStyle(false);
        canvas.doTextOut(QString(u"- "_s).repeated(40) + u"New Page"_s + QString(u" -"_s).repeated(40),
                         Mm(canvas, 80), y, PA_CENTER, false);
    }
    const int line = UseFont(canvas, PRINT_TEXTNORMAL);
    UseFont(canvas, PRINT_TEXTSMALL);
    canvas.setFontStyle(false);
    canvas.doTextOut(PageOfText(QString::number(page), QString::number(context.Pages)), Mm(canvas, 80),
                     y + line, PA_CENTER, false);
    return y;
}

int DrawLogoAndVersion(TReportPageContext &context, int y)
{
    MarnovelCanvas &canvas = context.Canvas;
    const int left = Mm(canvas, 5);
    const int right = Mm(canvas, 35);
    const QRect logo(QPoint(left, y + Mm(canvas, 3)), QPoint(right - 1, y + Mm(canvas, 33) - 1));
    if (canvas.IsVisible(logo)) {
        QPainter &painter = canvas.canvas();
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        PaintLogo(painter, QRectF(logo.left(), logo.top(), right - left, logo.height()));
        painter.restore();
    }
    UseFont(canvas, PRINT_TEXTSMALL);
    canvas.setFontStyle(false);
    // Absolute X, so the margin is taken off again.
    const int centre = left + RoundEven(Mm(canvas, 30) / 2.0) - canvas.MarginPixelX();
    canvas.doTextOut(UiText(TextId::Version) + u' ' + GetSoftwareInfoManager().GetVersNumberStr(), centre,
                     y + Mm(canvas, 33), PA_CENTER, false);
    return right;
}

int DrawReportHeader(TReportPageContext &context, const QString &subjectId, int logoRight, bool full, int y)
{
    MarnovelCanvas &canvas = context.Canvas;
    const IReportSource &source = context.Source;
    if (!subjectId.isEmpty()) {
        const int line = UseFont(canvas, PRINT_TEXTNORMAL);
        canvas.setFontStyle(false);
        canvas.doTextOut(subjectId, Mm(canvas, 170), y, PA_RIGHT, false);
        y += line;
    }
    const int headerLine = UseFont(canvas, PRINT_HEADER);
    canvas.setFontStyle(true);
    canvas.doTextOut(source.RunData().GetPrintHeadingResultString(), logoRight - canvas.MarginPixelX(), y,
                     PA_LEFT, false);
    y += headerLine;
    y += UseFont(canvas, PRINT_TEXTNORMAL);

    const TRunDetails details = source.RunDetails();
    const std::pair<int, QString> rows[] = {
        {23, FormatDate(LongDateFormatPattern(), details.RunDate)},
        {46, details.OperatorName},
        {44, details.RunNumber},
        {45, details.KitBatchNumber},
    };
    const int infoLine = UseFont(canvas, PRINT_INFO);
    for (const auto &[label, value] : rows) {
        canvas.setFontStyle(true);
        canvas.doTextOut(UiText(label) + u':', Mm(canvas, 60), y, PA_RIGHT, false);
        canvas.setFontStyle(false);
        canvas.doTextOut(value, Mm(canvas, 65), y, PA_LEFT, false);
        y += infoLine;
    }
    y += UseFont(canvas, PRINT_TEXTNORMAL);

    UseFont(canvas, PRINT_INFO);
    canvas.setFontStyle(true);
    y = canvas.wrapLine(UiText(source.PassedCriteria() ? 87 : 88), 0, Mm(canvas, 170), y, true);
    if (full && source.ShouldShowPlateWashingStr()) {
        canvas.setFontStyle(true);
        y = canvas.wrapLine(UiText(TextId::PlateWashingNote), 0, Mm(canvas, 170), y, true);
    }
    return y;
}

int DrawResultsTable(TReportPageContext &context, int y, int footnotesThrough, int xShift, int start, int end)
{
    MarnovelCanvas &canvas = context.Canvas;
    const IReportSource &source = context.Source;
    const TMarnovelRdData &data = source.RunData();
    const ITextGrid &grid = source.ResultGrid();
    const int base = Mm(canvas, 4);
    const int x0 = xShift - base;

    int line = UseFont(canvas, PRINT_TEXTBIG);
    canvas.setFontStyle(true);
    canvas.doTextOut(UiText(TextId::Results), x0, y, PA_LEFT, false);
    const int boxTop = RoundEven(y - 0.5 * line);
    y += RoundEven(1.2 * line);

    // Headings and column edges.
    const int headingLine = UseFont(canvas, PRINT_TEXTSMALL);
    canvas.setFontStyle(false);
    const bool identifiers = source.GetIdentifierCount() > 0;
    const int columns = std::max(1, grid.ColCount());
    const int lastColumn = columns - 1;
    std::vector<int> lefts(columns);
    std::vector<int> rights(columns);
    qsizetype tallest = 0;
    int x = x0;
    for (int k = 0; k < columns; ++k) {
        const QString heading = grid.Cell(k, 0);
        const QStringList lines = k == 0 && !identifiers ? QStringList() : SplitHeading(heading);
        int width = 0;
        if (k < lastColumn) {
            width = source.getResultCellWidth(k, canvas.canvas(), heading);
        } else {
            for (int row = 0; row < grid.RowCount(); ++row)
                width = std::max(
                    width, source.getResultCellWidth(k, canvas.canvas(), StripMarkup(grid.Cell(k, row))));
        }
        lefts[k] = x;
        rights[k] = x + width;
        const bool leftAligned = k == 0 || k == lastColumn;
        for (qsizetype i = 0; i < lines.size(); ++i)
            canvas.doTextOut(lines.at(i), leftAligned ? x : x + RoundEven(width / 2.0),
                             y + int(i) * headingLine, leftAligned ? PA_LEFT : PA_CENTER, false);
        tallest = std::max(tallest, lines.size());
        x = rights[k] + canvas.PenWidth() + 2 * Mm(canvas, 1) + 1;
    }
    y += RoundEven(1.2 * headingLine * double(std::max<qsizetype>(tallest - 1, 0)));

    // One row per subject.
    line = UseFont(canvas, PRINT_DATA);
    int headerRule = y;
    std::vector<int> rowRules;
    const int results = data.ResultGridCount().X;
    for (int s = start; s <= end; ++s) {
        canvas.setFontStyle(false);
        y += RoundEven(1.2 * line);
        if (s == start)
            headerRule = y - RoundEven(0.25 * line);
        const OWCellBlockBase *subject = Subject(source, s);
        if (!subject)
            continue;
        if (identifiers) {
            canvas.doTextOut(subject->id(), lefts[0], y, PA_LEFT, false);
            rowRules.push_back(y - RoundEven(0.25 * line));
        }
        for (int p = 0; p < results && p + 1 < columns; ++p) {
            const int column = p + 1;
            const QString text = subject->getResult(p);
            // Remembered, so that a mark after the value lands beside it on this row.
            if (column != lastColumn && IsNumberText(text))
                canvas.doTextOut(text, rights[column] - Mm(canvas, 1), y, PA_RIGHT, true);
            else
                canvas.doTextOut(text, lefts[column], y, PA_LEFT, true);
        }
    }
    const int bottomRule = y + RoundEven(0.95 * line);
    y += RoundEven(1.3 * line);

    const int rightmost = rights[lastColumn];
    if (footnotesThrough > 0) {
        UseFont(canvas, PRINT_TEXTSMALL);
        canvas.setFontStyle(false);
        const int limit = rightmost + base - 9;
        for (const TAnnotationInfo &annotation : FootnotedAnnotations()) {
            if (data.AnnotationExists(annotation.Type, start, footnotesThrough))
                y = canvas.wrapLine(AnnotationMark(annotation) + u' ' + UiText(annotation.FootnoteText), 0,
                                    limit, y, true);
        }
        canvas.setFontStyle(false);
    }

    // Frame, two outlines 1 mm apart.
    const int frameLeft = lefts[0] - base + 7;
    const int frameRight = rightmost + base - 7;
    const int frameBottom = y + RoundEven(0.5 * canvas.LineHeight());
    const int mm1 = Mm(canvas, 1);
    canvas.SetPenColor(Qt::black);
    canvas.drawRectangleOutline(frameLeft, boxTop, frameRight, frameBottom);
    canvas.drawRectangleOutline(frameLeft - mm1, boxTop - mm1, frameRight + mm1, frameBottom + mm1);

    // Rules.
    canvas.drawLine(lefts[0], headerRule + 1, rightmost, headerRule + 1);
    canvas.SetPenColor(kGridSilver);
    for (const int rule : rowRules)
        canvas.drawLine(lefts[0], rule, rightmost, rule);
    canvas.drawLine(lefts[0], bottomRule, rightmost, bottomRule);
    const int ruleTop = headerRule - RoundEven(1.2 * headingLine * double(tallest));
    for (int k = 0; k < lastColumn; ++k) {
        canvas.SetPenColor(data.printValidResultGridLine(k) ? QColor(Qt::black) : kGridSilver);
        const int ruleX = rights[k] + mm1 + 1;
        canvas.drawLine(ruleX, ruleTop, ruleX, bottomRule);
    }
    canvas.SetPenColor(Qt::black);
    return std::max(frameBottom + mm1, y);
}

int DrawSignatureLine(TReportPageContext &context, int y)
{
    if (GetPrintManager().FilePrintGet())
        return y;
    MarnovelCanvas &canvas = context.Canvas;
    y += 3 * canvas.LineHeight();
    const int line = UseFont(canvas, PRINT_TEXTSMALL);
    canvas.setFontStyle(false);
    canvas.doTextOut(UiText(TextId::Signature) + u' ' + QString(29, u'_') + QString(32, u' ') +
                         UiText(TextId::Date) + u' ' + QString(23, u'_'),
                     0, y, PA_LEFT, false);
    return y + line;
}

int DrawStandardsTable(TReportPageContext &context, int y)
{
    MarnovelCanvas &canvas = context.Canvas;
    const IReportSource &source = context.Source;
    int line = UseFont(canvas, PRINT_TEXTNORMAL);
    canvas.setFontStyle(true);
    canvas.doTextOut(UiText(TextId::StandardsResults), -5, y, PA_LEFT, false);
    y += line;

    line = UseFont(canvas, PRINT_TEXTSMALL);
    const ITextGrid &standards = source.StandardsGrid();
    const ITextGrid &concentrations = source.StdConcGrid();
    const int columns = std::min(standards.ColCount(), kPrintedStandardsColumns);
    for (int row = 0; row < standards.RowCount(); ++row) {
        canvas.setFontStyle(row == 0);
        int x = -5;
        for (int col = 0; col < columns; ++col) {
            x += Mm(canvas, col == 0 ? 12 : 24);
            QString text;
            if (col == 1)
                text = row == 0 ? UiText(TextId::ConcHeading) : concentrations.Cell(1, row - 1);
            else
                text = standards.Cell(col, row);
            canvas.doTextOut(text, x, y, PA_LEFT, false);
        }
        y += line;
    }
    const QString blanks(5, u' ');
    canvas.doTextOut(UiText(TextId::Intercept) + u": "_s + FormatFixed(source.Intercept(), 4) + blanks +
                         UiText(TextId::Slope) + u": "_s + FormatFixed(source.Slope(), 4) + blanks +
                         UiText(TextId::CorrelationCoefficient) + u": "_s +
                         FormatTwoDecimals(source.CorrCoeff()) + u" ("_s + source.RegressResultCaption() +
                         u')',
                     -5 + Mm(canvas, 12), y, PA_LEFT, false);
    return y + 2 * line;
}

int DrawRawDataTable(TReportPageContext &context, int y, bool grouped, int start, int end)
{
    MarnovelCanvas &canvas = context.Canvas;
    const IReportSource &source = context.Source;
    const TMarnovelRdData &data = source.RunData();
    const ITextGrid &grid = source.RawDataGrid();
    int line = UseFont(canvas, PRINT_TEXTNORMAL);
    canvas.setFontStyle(true);
    canvas.doTextOut(UiText(TextId::RawDataOd), -5, y, PA_LEFT, false);
    y += line;
    line = UseFont(canvas, PRINT_DATA);
    const int spacing = Mm(canvas, 12);

    const auto setCellStyle = [&](int col, int row) {
        if (data.StdBlocks().getCellPoint(QPoint(col, row)))
            canvas.setFontStyle(true, true);
        else
            canvas.setFontStyle(row == 0 || col == 0);
    };
    const OWCells &subjects = data.RawData();

    if (subjects.GetCount() == 0) {
        const TResultGridCount count = data.ResultGridCount();
        int last = y;
        for (int row = 0; row < count.Y; ++row) {
            last = y + row * line;
            for (int col = 0; col < count.X; ++col) {
                setCellStyle(col, row);
                canvas.doTextOut(grid.Cell(col, row), -5 + col * spacing, last, PA_LEFT, false);
            }
        }
        canvas.setFontStyle(false);
        return last;
    }

    if (grouped) {
        qsizetype deepest = 0;
        for (int col = 0; col < grid.ColCount(); ++col) {
            const QStringList lines = SplitHeading(grid.Cell(col, 0));
            setCellStyle(col, 0);
            for (qsizetype i = 0; i < lines.size(); ++i)
                canvas.doTextOut(lines.at(i), -5 + (col + 1) * spacing, y + int(i) * line, PA_LEFT, false);
            deepest = std::max(deepest, lines.size() - 1);
        }
        int last = y;
        for (int row = 1; row < grid.RowCount(); ++row) {
            last = y + (row + int(deepest)) * line;
            for (int col = 0; col < grid.ColCount(); ++col) {
                setCellStyle(col, row);
                canvas.doTextOut(grid.Cell(col, row), -5 + (col + 1) * spacing, last, PA_LEFT, false);
            }
        }
        canvas.setFontStyle(false);
        return last;
    }

    // Individual: the wells of each subject in a row, under the well type headings.
    const OWCellBlockBase *first = subjects.getCellInteger(start - 1);
    const int wells = first ? std::min(first->Count(), first->ValueCount()) : 0;
    qsizetype headingLines = 0;
    for (int m = 0; m < wells; ++m) {
        const QStringList lines = SplitHeading(data.GetRawDataTypeString(m));
        for (qsizetype i = 0; i < lines.size(); ++i)
            canvas.doTextOut(lines.at(i), -5 + m * spacing, y + int(i) * line, PA_LEFT, false);
        headingLines = std::max(headingLines, lines.size());
    }
    y += int(headingLines) * line;
    int last = y;
    canvas.setFontStyle(false);
    for (int s = start, j = 0; s <= end; ++s, ++j) {
        const OWCellBlockBase *subject = subjects.getCellInteger(s - 1);
        if (!subject)
            break;
        last = y + j * line;
        const int count = std::min(subject->Count(), subject->ValueCount());
        for (int m = 0; m < count; ++m) {
            QString text = subject->getRawValue(m);
            double value = 0.0;
            if (TryTextToFloat(text, value))
                text = FormatFixed(subject->getValue(m), 3);
            canvas.doTextOut(text, -5 + m * spacing, last, PA_LEFT, false);
        }
    }
    return last;
}

int DrawPicture(TReportPageContext &context, const QImage &picture, int absoluteX, int y)
{
    if (picture.isNull())
        return y;
    MarnovelCanvas &canvas = context.Canvas;
    // A picture painted finer than its size on screen keeps that size.
    int width = qRound(picture.deviceIndependentSize().width());
    int height = qRound(picture.deviceIndependentSize().height());
    int pageWidth = 0;
    int pageHeight = 0;
    if (context.Printer) {
        // Screen pixels to printer pixels.
        const QScreen *screen = QGuiApplication::primaryScreen();
        const double screenDpiX = screen ? screen->logicalDotsPerInchX() : 96.0;
        const double screenDpiY = screen ? screen->logicalDotsPerInchY() : 96.0;
        width = RoundEven(width * canvas.PixelsPerInchX() / screenDpiX);
        height = RoundEven(height * canvas.PixelsPerInchY() / screenDpiY);
        pageWidth = context.Printer->width();
        pageHeight = context.Printer->height();
    } else if (GetPrintManager().FilePrintGet()) {
        // A PDF page is A4: a wider picture would be cut at its edge.
        pageWidth = RoundEven(210 * canvas.PixelsPerInchX() / 25.4);
    }
    const int room = pageWidth - 2 * absoluteX;
    if (pageWidth > 0 && room > 0 && width > room) {
        height = RoundEven(double(height) * room / width);
        width = room;
    }
    // Paper is not cut into bands as a PDF is: the whole picture stands on what is left of the
    // page, as the PDF shows it whole.
    const int roomBelow = pageHeight - y;
    if (pageHeight > 0 && roomBelow > 0 && height > roomBelow) {
        width = RoundEven(double(width) * roomBelow / height);
        height = roomBelow;
    }
    const QRect target(absoluteX, y, width, height);
    if (canvas.IsVisible(target)) {
        QPainter &painter = canvas.canvas();
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, picture);
        painter.restore();
    }
    return y + height;
}
