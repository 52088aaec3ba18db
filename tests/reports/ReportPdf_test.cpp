#include "ReportFixture.h"
#include "core/UiTextManager.h"
#include "reports/PrintManager.h"
#include "reports/Printing.h"
#include "reports/ReportPdf.h"
#include "support/GuiApplication.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// Output of a poppler tool (installed by the set-up scripts).
QString Poppler(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << tool.toStdString() << " failed: " << process.readAllStandardError().toStdString();
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

int PageCount(const QString &path)
{
    const QRegularExpressionMatch match =
        QRegularExpression(u"Pages:\\s+(\\d+)"_s).match(Poppler(u"pdfinfo"_s, {path}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The box (in points) of the first word on a page that reads word.
QRectF WordBox(const QString &path, int page, const QString &word)
{
    const QString boxes = Poppler(u"pdftotext"_s, {u"-bbox"_s, u"-f"_s, QString::number(page), u"-l"_s,
                                                   QString::number(page), path, u"-"_s});
    const QRegularExpression pattern(
        uR"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">)re"_s +
        QRegularExpression::escape(word) + u"</word>"_s);
    const QRegularExpressionMatch match = pattern.match(boxes);
    if (!match.hasMatch())
        return QRectF();
    return QRectF(QPointF(match.captured(1).toDouble(), match.captured(2).toDouble()),
                  QPointF(match.captured(3).toDouble(), match.captured(4).toDouble()));
}

class ReportPdfTest : public ExampleReportTest
{
protected:
    QString Path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(ReportPdfTest, WriteReportPdf_OnePagePerBandOnA4)
{
    struct Case
    {
        const char *name;
        bool grouped;
        bool withCurve;
        int start, end;
        int pages;
    };
    const Case cases[] = {
        {"grouped", true, false, 1, 80, 2},
        {"grouped with curve page", true, true, 1, 80, 3},
        {"individual", false, false, 5, 5, 2},
        {"individual with curve page", false, true, 5, 5, 3},
    };
    for (const Case &c : cases) {
        const QString path = Path(QString::fromUtf8(c.name) + u".pdf"_s);
        const TRunStepResult result =
            WriteReportPdf(*source, c.withCurve, c.grouped, c.start, c.end, 1280, 0, path);
        ASSERT_TRUE(result.Ok()) << c.name << ": " << result.Reason.toStdString();
        EXPECT_EQ(PageCount(path), c.pages) << c.name;
        EXPECT_TRUE(Poppler(u"pdfinfo"_s, {path}).contains(u"595 x 842 pts (A4)"_s)) << c.name;
        EXPECT_FALSE(GetPrintManager().FilePrintGet()) << c.name;
    }
}

TEST_F(ReportPdfTest, WriteReportPdf_EveryTextOnceAndInsideItsPage)
{
    const QString path = Path(u"report.pdf"_s);
    ASSERT_TRUE(WriteReportPdf(*source, true, true, 1, Subjects(), 1280, 0, path).Ok());

    // Each word's box as pdftotext sees it: the pages hold only their own band.
    const QString boxes = Poppler(u"pdftotext"_s, {u"-bbox"_s, path, u"-"_s});
    const QRegularExpression word(
        uR"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"_s);
    int words = 0;
    for (auto it = word.globalMatch(boxes); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        ++words;
        EXPECT_GE(match.captured(1).toDouble(), 0.0) << match.captured(5).toStdString();
        EXPECT_LE(match.captured(3).toDouble(), 595.0) << match.captured(5).toStdString();
        EXPECT_LE(match.captured(4).toDouble(), 842.0) << match.captured(5).toStdString();
    }
    EXPECT_GT(words, 100);
    const QString text = Poppler(u"pdftotext"_s, {path, u"-"_s});
    for (int page = 1; page <= 3; ++page)
        EXPECT_EQ(text.count(u"%1 %2 3"_s.arg(page).arg(UiText(194))), 1) << page;
    // Searchable as typed: no ligature stands for its letters ("Coefficient", not "Coeﬃcient").
    EXPECT_TRUE(text.contains(UiText(85) + u':')) << text.toStdString();
    for (const char16_t ligature : {u'\uFB00', u'\uFB01', u'\uFB02', u'\uFB03', u'\uFB04'})
        EXPECT_FALSE(text.contains(QChar(ligature))) << int(ligature);
}

TEST_F(ReportPdfTest, WriteReportPdf_BandTallerThanAPage_ShrunkToFit)
{
    // A curve picture taller than a page: page 3 is made smaller and still holds everything.
    chart = QImage(600, 3000, QImage::Format_RGB32);
    chart.fill(Qt::white);
    const QString path = Path(u"tall.pdf"_s);
    ASSERT_TRUE(WriteReportPdf(*source, true, true, 1, Subjects(), 1280, 0, path).Ok());
    ASSERT_EQ(PageCount(path), 3);
    const QRectF second = WordBox(path, 2, UiText(194));
    const QRectF third = WordBox(path, 3, UiText(194));
    ASSERT_FALSE(second.isEmpty());
    ASSERT_FALSE(third.isEmpty());
    EXPECT_LT(third.width(), 0.6 * second.width());
}

TEST_F(ReportPdfTest, WriteReportPdf_BlankPaperBelowTheReport_LastPageAtTheScaleOfTheOthers)
{
    // The page image is as tall as the preview, which may reach far below the report (the
    // preview has a signature line and pictures of full width): blank paper is not shrunk to fit.
    struct Case
    {
        bool withCurve;
        int page;
    };
    for (const Case c : {Case{false, 2}, Case{true, 3}}) {
        const QString fitted = Path(u"fitted.pdf"_s);
        const QString tall = Path(u"tall.pdf"_s);
        ASSERT_TRUE(WriteReportPdf(*source, c.withCurve, true, 1, Subjects(), 1280, 0, fitted).Ok());
        ASSERT_TRUE(WriteReportPdf(*source, c.withCurve, true, 1, Subjects(), 1280, 6000, tall).Ok());
        EXPECT_EQ(PageCount(tall), c.page);
        const QRectF expected = WordBox(fitted, c.page, UiText(194));
        const QRectF drawn = WordBox(tall, c.page, UiText(194));
        ASSERT_FALSE(expected.isEmpty()) << c.page;
        EXPECT_NEAR(drawn.width(), expected.width(), 0.1) << c.page;
        EXPECT_NEAR(drawn.top(), expected.top(), 0.1) << c.page;
    }
}

TEST_F(ReportPdfTest, WriteReportPdf_CannotWrite_SaysWhyAndLeavesNoFile)
{
    QFile blocker(Path(u"not-a-folder"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = Path(u"not-a-folder/report.pdf"_s);

    const TRunStepResult result = WriteReportPdf(*source, false, true, 1, Subjects(), 1280, 0, path);
    EXPECT_FALSE(result.Ok());
    EXPECT_EQ(result.Text(), u"The file \""_s + path + u"\" cannot be written: the folder does not exist."_s);
    EXPECT_EQ(result.FileName, path);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"not-a-folder"_s});
}

TEST_F(ReportPdfTest, WriteReportPdf_ExistingFile_ReplacedWhole)
{
    const QString path = Path(u"again.pdf"_s);
    ASSERT_TRUE(WriteReportPdf(*source, true, true, 1, Subjects(), 1280, 0, path).Ok());
    ASSERT_TRUE(WriteReportPdf(*source, false, true, 1, Subjects(), 1280, 0, path).Ok());
    EXPECT_EQ(PageCount(path), 2);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"again.pdf"_s});
}

TEST_F(ReportPdfTest, DrawRunReport_OnAPrinter_NewPrinterPageForEveryLaterPage)
{
    for (const bool withCurve : {false, true}) {
        const QString path = Path(u"printer-%1.pdf"_s.arg(withCurve));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        {
            TPrinterPrintingScope printing;
            DrawRunReport(printer, *source, withCurve, &printer, true, 1, Subjects());
        }
        EXPECT_EQ(PageCount(path), withCurve ? 3 : 2);
        // The paper report carries the signature line.
        EXPECT_TRUE(Poppler(u"pdftotext"_s, {path, u"-"_s}).contains(UiText(116))) << withCurve;
    }
}
