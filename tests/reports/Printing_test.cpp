#include "RecordingDevice.h"
#include "ReportFixture.h"
#include "core/UiTextManager.h"
#include "reports/PrintManager.h"
#include "reports/Printing.h"
#include "support/GuiApplication.h"

#include "reports/PrintObj.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QTemporaryDir>

#include <algorithm>

using namespace Qt::StringLiterals;
using ReportTest::TDrawnText;
using ReportTest::TRecordingDevice;

namespace {

// 96 pixels per inch: 4 pixels per millimetre, the 20 mm margin is 80 pixels.
constexpr int kDpi = 96;
constexpr int kMargin = 80;
int Mm(int mm)
{
    return 4 * mm;
}

class ReportTest_ : public ExampleReportTest
{
protected:
    void TearDown() override
    {
        GetPrintManager().FilePrintSet(false);
        GetPrintManager().PageEndClearAllItems();
    }
    int Draw(TRecordingDevice &device, bool withCurve, bool grouped, int start, int end)
    {
        return DrawRunReport(device, *source, withCurve, nullptr, grouped, start, end);
    }
    static int Left(const TDrawnText &text) { return qRound(text.Baseline.x()); }
    static int Right(const TDrawnText &text) { return qRound(text.Baseline.x() + text.Width); }
    static int CountStarting(const TRecordingDevice &device, const QString &text)
    {
        return static_cast<int>(device.FindStarting(text).size());
    }
};

} // namespace

using DrawRunReportTest = ReportTest_;

TEST_F(DrawRunReportTest, PageNumbersAndPreviewSeparators_FollowTheCurvePageOption)
{
    for (const bool withCurve : {false, true}) {
        const int pages = withCurve ? 3 : 2;
        TRecordingDevice device(kDpi);
        const int bottom = Draw(device, withCurve, true, 1, Subjects());
        for (int page = 1; page <= pages; ++page)
            EXPECT_EQ(device.Find(u"%1 of %2"_s.arg(page).arg(pages)).size(), 1u) << page << " of " << pages;
        EXPECT_EQ(CountStarting(device, u"- - - "_s), pages - 1) << pages;
        // The pages follow each other down the surface.
        const auto second = device.Find(u"2 of %1"_s.arg(pages));
        ASSERT_EQ(second.size(), 1u);
        EXPECT_GT(bottom, second.front().Baseline.y());
        EXPECT_EQ(GetPrintManager().PageEndGetCount(), 0) << "a preview records no page starts";
    }
}

TEST_F(DrawRunReportTest, FileImage_RecordsPageStartsAndHasNoSignatureOrSeparator)
{
    const QString signature = UiText(116) + u" ____"_s;
    for (const bool withCurve : {false, true}) {
        TRecordingDevice preview(kDpi);
        Draw(preview, withCurve, true, 1, Subjects());
        EXPECT_EQ(CountStarting(preview, signature), 1);

        TRecordingDevice image(kDpi);
        GetPrintManager().FilePrintSet(true);
        Draw(image, withCurve, true, 1, Subjects());
        GetPrintManager().FilePrintSet(false);
        EXPECT_EQ(CountStarting(image, signature), 0);
        EXPECT_EQ(CountStarting(image, u"- - - "_s), 0);

        const int pages = withCurve ? 3 : 2;
        ASSERT_EQ(GetPrintManager().PageEndGetCount(), pages - 1);
        // Each later page's number stands one line below its recorded start.
        for (int page = 2; page <= pages; ++page) {
            const int start = GetPrintManager().PageEndGetItem(page - 2);
            const auto number = image.Find(u"%1 of %2"_s.arg(page).arg(pages));
            ASSERT_EQ(number.size(), 1u);
            EXPECT_GT(number.front().Baseline.y(), start);
            EXPECT_LT(number.front().Baseline.y(), start + 60);
        }
    }
}

TEST_F(DrawRunReportTest, SignatureLine_FourLinesBelowTheResultsFrame)
{
    TRecordingDevice device(kDpi);
    Draw(device, false, true, 1, 5);
    const auto signature = device.FindStarting(UiText(116) + u' ');
    ASSERT_EQ(signature.size(), 1u);
    // The lowest frame line of page 1 lies above it.
    double frameBottom = 0;
    for (const auto &line : device.Lines())
        if (line.Line.y1() < signature.front().Baseline.y())
            frameBottom = std::max(frameBottom, line.Line.y1());
    EXPECT_GT(signature.front().Baseline.y() - frameBottom, 3 * 10);
}

TEST_F(DrawRunReportTest, ResultsTables_OneUpTo41SubjectsTwoFrom42)
{
    struct Case
    {
        int subjects;
        std::size_t tables;
    };
    for (const Case c : {Case{41, 1}, Case{42, 2}, Case{80, 2}}) {
        TRecordingDevice device(kDpi);
        Draw(device, false, true, 1, c.subjects);
        const auto titles = device.Find(UiText(95));
        ASSERT_EQ(titles.size(), c.tables) << c.subjects;
        if (c.tables == 2) {
            EXPECT_EQ(Left(titles[1]) - Left(titles[0]), Mm(80));
            EXPECT_EQ(titles[1].Baseline.y(), titles[0].Baseline.y());
            // Subject 41 opens the right table.
            const auto first = device.Find(u"ID 41"_s);
            ASSERT_EQ(first.size(), 1u);
            EXPECT_EQ(Left(first.front()), Left(device.Find(u"ID 1"_s).front()) + Mm(80));
        }
        EXPECT_EQ(device.Find(u"ID %1"_s.arg(c.subjects)).size(), 1u);
    }
}

TEST_F(DrawRunReportTest, Footnotes_DecidedByEverySubjectOnThePage)
{
    // In the example run subject 36 carries "#" and subject 62 "¶".
    const auto starting = [](const TRecordingDevice &device, int textId) {
        return device.FindStarting(UiText(textId).left(12)).size();
    };
    TRecordingDevice all(kDpi);
    Draw(all, false, true, 1, Subjects());
    EXPECT_EQ(starting(all, 285), 1u);
    EXPECT_EQ(starting(all, 286), 1u) << "a mark in the right table gets its footnote under the left one";
    const auto note = all.FindStarting(UiText(286).left(12));
    ASSERT_EQ(note.size(), 1u);
    EXPECT_LT(note.front().Baseline.x(), all.Find(u"ID 41"_s).front().Baseline.x());

    TRecordingDevice left(kDpi);
    Draw(left, false, true, 1, 40);
    EXPECT_EQ(starting(left, 286), 0u) << "no note for a mark that is not on the page";

    TRecordingDevice right(kDpi);
    Draw(right, false, true, 62, 62);
    EXPECT_EQ(starting(right, 286), 1u);
    EXPECT_EQ(starting(right, 285), 0u);
}

TEST_F(DrawRunReportTest, Identifier_RightAlignedAt170MmOnIndividualReportsOnly)
{
    const int at170 = kMargin + Mm(170);
    const auto rightAligned = [&](const TRecordingDevice &device) {
        const auto found = device.Find(u"ID 5"_s);
        return std::count_if(found.begin(), found.end(),
                             [&](const TDrawnText &text) { return std::abs(Right(text) - at170) <= 1; });
    };
    TRecordingDevice individual(kDpi);
    Draw(individual, false, false, 5, 5);
    EXPECT_EQ(rightAligned(individual), 2) << "above the heading of both pages";

    TRecordingDevice grouped(kDpi);
    Draw(grouped, false, true, 1, 5);
    EXPECT_EQ(rightAligned(grouped), 0);
}

TEST_F(DrawRunReportTest, StandardsTable_EightPointCurveGivesNineRowsThenTheCurveFigures)
{
    TRecordingDevice device(kDpi);
    Draw(device, false, true, 1, Subjects());
    const int column0 = kMargin - 5 + Mm(12);
    const auto rawDataTitle = device.Find(UiText(122));
    ASSERT_EQ(rawDataTitle.size(), 1u);
    std::vector<QString> texts;
    for (const TDrawnText &text : device.Texts())
        if (Left(text) == column0 && text.Baseline.y() < rawDataTitle.front().Baseline.y())
            texts.push_back(text.Text);
    ASSERT_EQ(texts.size(), 10u);
    EXPECT_EQ(texts[0], UiText(74));
    EXPECT_EQ(texts[8], u"S8"_s);
    EXPECT_TRUE(texts[9].startsWith(UiText(83) + u": "_s)) << texts[9].toStdString();
    EXPECT_TRUE(texts[9].endsWith(u" ("_s + UiText(79) + u')')) << texts[9].toStdString();
}

TEST_F(DrawRunReportTest, RawData_StandardsBoldUnderlinedHeadingsBold)
{
    TRecordingDevice device(kDpi);
    Draw(device, false, true, 1, Subjects());
    // Column 1 rows A and B hold the first standard; "A" is a row heading.
    const auto headingA = device.Find(u"A"_s);
    ASSERT_FALSE(headingA.empty());
    EXPECT_TRUE(headingA.back().Bold);
    const QString s1 = source->RawDataGrid().Cell(1, 1);
    const auto standard = device.Find(s1);
    ASSERT_FALSE(standard.empty());
    EXPECT_TRUE(standard.back().Bold && standard.back().Underline);
    const auto sample = device.Find(source->RawDataGrid().Cell(3, 1));
    ASSERT_FALSE(sample.empty());
    EXPECT_FALSE(sample.back().Bold);
}

TEST_F(DrawRunReportTest, CurvePage_PicturesAtTheirPixelSizeOneBelowTheOther)
{
    TRecordingDevice device(kDpi);
    const int bottom = Draw(device, true, true, 1, Subjects());
    const auto &images = device.Engine().Images;
    ASSERT_GE(images.size(), 2u);
    const QRectF chartRect = images[images.size() - 2];
    const QRectF plateRect = images.back();
    EXPECT_EQ(chartRect.size(), QSizeF(chart.size()));
    EXPECT_EQ(chartRect.left(), Mm(12));
    EXPECT_GT(plateRect.top(), chartRect.bottom());
    EXPECT_EQ(bottom, qRound(plateRect.bottom()));
}

TEST_F(DrawRunReportTest, PictureOnPaper_WholePictureOnWhatIsLeftOfThePage)
{
    QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath(u"paper.pdf"_s));
    QPainter painter(&printer);
    MarnovelCanvas canvas(painter);
    TReportPageContext context{canvas, *source, &printer, 3};
    const double scale = printer.logicalDpiY() / QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    // A plate picture that fits stays at its size; one that reaches below the paper is made
    // smaller until its last row stands on the page.
    const QImage small(100, 50, QImage::Format_RGB32);
    const int top = printer.height() / 2;
    EXPECT_EQ(DrawPicture(context, small, 0, top), top + qRound(50 * scale));
    const QImage tall(100, qRound(printer.height() / scale), QImage::Format_RGB32);
    EXPECT_EQ(DrawPicture(context, tall, 0, top), printer.height());
}

namespace {

// The example run as a run that failed its quality control and whose zero standard is high.
class TFailedRunSource : public TSessionReportSource
{
public:
    using TSessionReportSource::TSessionReportSource;
    bool PassedCriteria() const override { return false; }
    bool ShouldShowPlateWashingStr() const override { return true; }
};

} // namespace

TEST_F(DrawRunReportTest, Header_FailedRun_WarningOnEveryPageAndPlateWashingNoteOnPageOneOnly)
{
    const TFailedRunSource failed(
        session, [this] { return chart; }, [this] { return plate; });
    TRecordingDevice device(kDpi);
    DrawRunReport(device, failed, true, nullptr, true, 1, 5);

    const auto warnings = device.Find(u"WARNING: "_s);
    const auto secondLines = device.FindStarting(u"ELISA is invalid"_s);
    ASSERT_EQ(warnings.size(), 3u) << "one verdict per page";
    ASSERT_EQ(secondLines.size(), 3u);
    for (std::size_t page = 0; page < 3; ++page) {
        EXPECT_TRUE(warnings[page].Bold);
        EXPECT_EQ(Left(warnings[page]), kMargin);
        // The catalogue's second line hangs past the label, one line lower.
        EXPECT_GT(Left(secondLines[page]), Right(warnings[page]));
        EXPECT_GT(secondLines[page].Baseline.y(), warnings[page].Baseline.y());
        EXPECT_TRUE(secondLines[page].Bold);
    }
    EXPECT_TRUE(device.Find(u"Valid "_s).empty());
    EXPECT_EQ(device.Find(u"NOTE: "_s).size(), 1u);
}
