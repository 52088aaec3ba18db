#include "ReportCommand.h"

#include "core/MarnovelUtils.h"
#include "core/TextIds.h"
#include "core/UiTextManager.h"
#include "platform/ModalDialogs.h"
#include "support/GuiApplication.h"
#include "support/LanguageGuard.h"
#include "support/ReportRun.h"
#include "support/TestSupport.h"
#include "ui/main/MainFormCombinedRd.h"
#include "ui/print/PrintScreen.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using TestSupport::PdfPageCount;

namespace {

// A calculated run of three subjects (ID 12, ID 13, ID 14, run 7 of 8 December 2026).
class ReportCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        run = TestSupport::WriteReportRun(folder.path(), 3);
    }
    QString Path(const QString &name) const { return folder.filePath(name); }

    // The pages as pictures, for comparing two PDF files by what they show.
    QList<QImage> Pages(const QString &pdf) const
    {
        const QString prefix = Path(QFileInfo(pdf).completeBaseName() + u"-page"_s);
        QProcess render;
        render.start(u"pdftoppm"_s, {u"-r"_s, u"40"_s, u"-png"_s, pdf, prefix});
        EXPECT_TRUE(render.waitForFinished(30000));
        QList<QImage> pages;
        for (int page = 1; QFileInfo::exists(prefix + u"-%1.png"_s.arg(page)); ++page)
            pages << QImage(prefix + u"-%1.png"_s.arg(page));
        return pages;
    }

    QTemporaryDir folder;
    QString run;
};

TEST_F(ReportCommandTest, Report_WritesTheChosenReports)
{
    const struct
    {
        const char *name;
        QStringList options;
        QStringList files; // in the test folder, each with its page count
        int pages;
    } cases[] = {
        {"grouped", {u"--pdf"_s, u"g.pdf"_s}, {u"g.pdf"_s}, 2},
        {"grouped with curve page", {u"--pdf"_s, u"c.pdf"_s, u"--curve-page"_s}, {u"c.pdf"_s}, 3},
        {"single subject", {u"--pdf"_s, u"s.pdf"_s, u"--subject"_s, u"ID 13"_s}, {u"s.pdf"_s}, 2},
        {"individual",
         {u"--individual"_s, u"each"_s},
         {u"each/08Dec26_ID 12a.pdf"_s, u"each/08Dec26_ID 13a.pdf"_s, u"each/08Dec26_ID 14a.pdf"_s},
         2},
    };
    for (const auto &c : cases) {
        QStringList arguments{run};
        for (const QString &option : c.options)
            arguments << (option.endsWith(u".pdf"_s) || option == u"each" ? Path(option) : option);
        EXPECT_EQ(RunReportCommand(arguments), 0) << c.name;
        for (const QString &file : c.files)
            EXPECT_EQ(PdfPageCount(Path(file)), c.pages) << c.name << " " << file.toStdString();
    }
    EXPECT_EQ(QDir(Path(u"each"_s)).entryList(QDir::Files).size(), 3);
}

// Counts the events of every widget the application sees while it lives.
class TWidgetEventCounter : public QObject
{
public:
    TWidgetEventCounter() { QCoreApplication::instance()->installEventFilter(this); }
    ~TWidgetEventCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *) override
    {
        count += watched->isWidgetType() ? 1 : 0;
        return false;
    }
};

TEST_F(ReportCommandTest, Report_DrawsWithoutAWindow)
{
    TWidgetEventCounter widgets;
    ASSERT_EQ(RunReportCommand({run, u"--pdf"_s, Path(u"c.pdf"_s), u"--curve-page"_s}), 0);
    EXPECT_EQ(PdfPageCount(Path(u"c.pdf"_s)), 3);
    EXPECT_EQ(widgets.count, 0);
}

TEST_F(ReportCommandTest, Report_Refused_StatusAndNothingWritten)
{
    QDir().mkpath(Path(u"bad"_s));
    const QString notCalculable = TestSupport::WriteReportRun(Path(u"bad"_s), 3, false);
    const struct
    {
        const char *name;
        QStringList arguments;
        int status;
    } cases[] = {
        {"no run file", {u"--pdf"_s, Path(u"out.pdf"_s)}, 2},
        {"no output", {run}, 2},
        {"both outputs", {run, u"--pdf"_s, Path(u"out.pdf"_s), u"--individual"_s, Path(u"out"_s)}, 2},
        {"subject without --pdf", {run, u"--individual"_s, Path(u"out"_s), u"--subject"_s, u"ID 12"_s}, 2},
        {"unknown option", {run, u"--pdf"_s, Path(u"out.pdf"_s), u"--fast"_s}, 2},
        {"unknown subject", {run, u"--pdf"_s, Path(u"out.pdf"_s), u"--subject"_s, u"ID 99"_s}, 2},
        {"missing run file", {Path(u"none.vdf"_s), u"--pdf"_s, Path(u"out.pdf"_s)}, 2},
        {"pdf over the run file", {run, u"--pdf"_s, run}, 2},
        {"not calculable", {notCalculable, u"--pdf"_s, Path(u"out.pdf"_s)}, 3},
        {"unknown language", {run, u"--pdf"_s, Path(u"out.pdf"_s), u"--language"_s, u"gr"_s}, 2},
        {"language without code", {run, u"--pdf"_s, Path(u"out.pdf"_s), u"--language"_s}, 2},
    };
    const QByteArray runBytes = ReadWholeFile(run);
    for (const auto &c : cases) {
        EXPECT_EQ(RunReportCommand(c.arguments), c.status) << c.name;
        EXPECT_FALSE(QFileInfo::exists(Path(u"out.pdf"_s))) << c.name;
        EXPECT_FALSE(QFileInfo::exists(Path(u"out"_s))) << c.name;
    }
    EXPECT_EQ(ReadWholeFile(run), runBytes);
}

TEST_F(ReportCommandTest, Individual_HostileIdentifiers_EveryFileInTheChosenFolder)
{
    const QStringList identifiers = TestSupport::HostileIdentifiers();
    ASSERT_TRUE(QDir().mkpath(Path(u"runs"_s)));
    const QString hostile =
        TestSupport::WriteReportRun(Path(u"runs"_s), identifiers.size(), true, identifiers);
    // Three levels down, so that "../../../" would leave the test folder.
    const QString out = Path(u"x/y/out"_s);
    ASSERT_EQ(RunReportCommand({hostile, u"--individual"_s, out}), 0);

    const QStringList written = QDir(out).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    EXPECT_EQ(written.size(), identifiers.size()) << written.join(u'|').toStdString();
    EXPECT_TRUE(written.contains(u"08Dec26__________pwna.pdf"_s));
    EXPECT_TRUE(written.contains(u"08Dec26_"_s + QString(MaxFileNamePartBytes - 8, u'Z') + u"a.pdf"_s));
    for (const QString &name : written)
        EXPECT_EQ(PdfPageCount(QDir(out).filePath(name)), 2) << name.toStdString();
    const auto entries = [](const QString &path) {
        return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    };
    EXPECT_EQ(entries(folder.path()), (QStringList{u"report-run.vdf"_s, u"runs"_s, u"x"_s}));
    EXPECT_EQ(entries(Path(u"runs"_s)), QStringList{u"report-run.vdf"_s});
    EXPECT_EQ(entries(Path(u"x"_s)), QStringList{u"y"_s});
    EXPECT_EQ(entries(Path(u"x/y"_s)), QStringList{u"out"_s});
}

TEST_F(ReportCommandTest, Report_ShowsWhatSaveAsPdfOfTheWindowShows)
{
    // In the window's language the command was given, German switched to as the window does.
    for (const auto &[code, catalogue] :
         {std::pair{u"en"_s, u"LOCALE_ENGLISH"_s}, {u"de"_s, u"LOCALE_GERMAN"_s}}) {
        const QString tool = Path(code + u"-tool.pdf"_s);
        const QString saved = Path(code + u"-window.pdf"_s);
        ASSERT_EQ(RunReportCommand({run, u"--pdf"_s, tool, u"--curve-page"_s, u"--language"_s, code}), 0);

        // The same run through the windows: load, calculate, Print, tick the curve page, Save As PDF.
        TfrmMainCombinedRd window;
        TScreenPrintFormCombinedTorvinTandem printWindow(&window);
        window.SetPrintWindow(&printWindow);
        window.ChangeLanguage(catalogue);
        window.show();
        window.OpenRunFile(run);
        window.calcCurvePbClick();
        SetModalRunner([&](QDialog &dialog) {
            dialog.show();
            QTest::mouseClick(dialog.findChild<QWidget *>(u"cbPrintStdCurveAndPlateFormat"_s),
                              Qt::LeftButton);
            TestSupport::Presenter().fileNames.push_back(saved);
            QTest::mouseClick(dialog.findChild<QPushButton *>(u"btnSaveToFile"_s), Qt::LeftButton);
            dialog.close();
            return int(QDialog::Accepted);
        });
        window.findChild<QPushButton *>(u"printPb"_s)->click();
        SetModalRunner({});

        const QList<QImage> toolPages = Pages(tool);
        const QList<QImage> shown = Pages(saved);
        ASSERT_EQ(toolPages.size(), 3) << code.toStdString();
        ASSERT_EQ(shown.size(), toolPages.size()) << code.toStdString();
        for (qsizetype page = 0; page < toolPages.size(); ++page)
            EXPECT_TRUE(toolPages.at(page) == shown.at(page)) << code.toStdString() << " page " << page + 1;
    }
}

} // namespace

namespace {

// pdftotext -layout of a PDF, or a null string when poppler is not installed.
QString LayoutText(const QString &pdf)
{
    QProcess process;
    process.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The example run's reports as text, pinned when the reports were still drawn through the window:
// drawing them another way must not move a word.
TEST_F(ReportCommandTest, Example_ReportsKeepTheirText)
{
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    const QString example = QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf");
    const QString data = QStringLiteral(VELOMYRA_SOURCE_DIR "/tests/app/data/");
    const struct
    {
        const char *fixture;
        QStringList options;
        QString pdf; // in the test folder
    } cases[] = {
        {"example-grouped.txt", {u"--pdf"_s, Path(u"g.pdf"_s)}, u"g.pdf"_s},
        {"example-grouped-curve.txt", {u"--pdf"_s, Path(u"c.pdf"_s), u"--curve-page"_s}, u"c.pdf"_s},
        {"example-individual-ID36.txt", {u"--individual"_s, Path(u"each"_s)}, u"each/09Dec26_ID 36a.pdf"_s},
        {"example-individual-ID36-curve.txt",
         {u"--individual"_s, Path(u"eachc"_s), u"--curve-page"_s},
         u"eachc/09Dec26_ID 36a.pdf"_s},
    };
    for (const auto &c : cases) {
        ASSERT_EQ(RunReportCommand(QStringList{example} + c.options), 0) << c.fixture;
        const QString expected = QString::fromUtf8(ReadWholeFile(data + QString::fromLatin1(c.fixture)));
        ASSERT_FALSE(expected.isEmpty()) << c.fixture;
        EXPECT_EQ(LayoutText(Path(c.pdf)).toStdString(), expected.toStdString()) << c.fixture;
    }
}

// --language: the example's grouped report with its curve page carries the report's texts in
// each language (compared without white space, which the text extraction lays out its own way),
// and every language but English reads differently from the English report. The window's own
// report in another language is compared picture by picture above.
TEST_F(ReportCommandTest, ReportLanguage_EveryCode_TheReportsTextsInThatLanguage)
{
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    const QString example = QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf");
    // Catalogue texts hold no-break spaces where the extracted text has plain ones.
    const auto compact = [](QString text) { return text.remove(QRegularExpression(u"[\\s\\x{00a0}]"_s)); };
    const struct
    {
        const char *code;
        const char *catalogue;
    } languages[] = {
        {"en", "LOCALE_ENGLISH"},    {"de", "LOCALE_GERMAN"},  {"fr", "LOCALE_FRENCH"},
        {"es", "LOCALE_SPANISH"},    {"it", "LOCALE_ITALIAN"}, {"el", "LOCALE_GREEK"},
        {"pt", "LOCALE_PORTUGUESE"}, {"pl", "LOCALE_POLISH"},
    };
    QString english;
    for (const auto &language : languages) {
        const QString pdf = Path(QString::fromUtf8(language.code) + u".pdf"_s);
        ASSERT_EQ(RunReportCommand({example, u"--pdf"_s, pdf, u"--curve-page"_s, u"--language"_s,
                                    QString::fromUtf8(language.code)}),
                  0)
            << language.code;
        const QString text = compact(LayoutText(pdf));
        const TestSupport::LanguageGuard shown(QString::fromUtf8(language.catalogue));
        for (const int id : {TextId::RunDate, TextId::Operator, TextId::Version, TextId::Results,
                             TextId::SubjectId, TextId::StandardsResults, TextId::Intercept, TextId::Slope,
                             TextId::CorrelationCoefficient, TextId::RawDataOd})
            EXPECT_TRUE(text.contains(compact(UiText(id))))
                << language.code << " " << id << " " << UiText(id).toStdString();
        if (english.isEmpty())
            english = text;
        else
            EXPECT_NE(text, english) << language.code;
    }
}

} // namespace
