#include "ui/print/PrintScreen.h"

#include "core/MarnovelConfigManager.h"
#include "core/MarnovelUtils.h"
#include "core/Registry.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "files/RunSession.h"
#include "platform/ModalDialogs.h"
#include "reports/PrintManager.h"
#include "reports/Printing.h"
#include "reports/SessionReportSource.h"
#include "support/GuiApplication.h"
#include "support/LanguageGuard.h"
#include "support/ReportRun.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

using namespace Qt::StringLiterals;
using TestSupport::PdfInfo;
using TestSupport::PdfPageCount;
using TestSupport::Presenter;

namespace {

// A printer whose pages tell the test when they begin (where a person could press Escape).
class TestPrinter : public QPrinter
{
public:
    std::function<void()> pageHook;
    bool newPage() override
    {
        if (pageHook)
            pageHook();
        return QPrinter::newPage();
    }
};

// The print window opened on a calculated run of three subjects (ID 12, ID 13, ID 14, run 7
// of 8 December 2026). Its modal opening returns at once with the window shown.
class PrintWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        SetModalRunner([](QDialog &dialog) {
            dialog.show();
            return int(QDialog::Accepted);
        });
        const TRunStepResult loaded = session.LoadRun(TestSupport::WriteReportRun(folder.path(), 3));
        ASSERT_TRUE(loaded.Ok()) << loaded.Reason.toStdString();
        ASSERT_TRUE(session.Calculate().Ok());
        source = std::make_unique<TSessionReportSource>(session);
        QDir(PdfFolder()).removeRecursively();
        QDir().mkpath(PdfFolder());
        window = std::make_unique<TScreenPrintFormCombinedTorvinTandem>();
        Open(true);
        Presenter().Clear();
    }
    void TearDown() override
    {
        window.reset();
        SetModalRunner({});
        SetReportPrinterFactory({});
    }

    void Open(bool enable)
    {
        window->ShowPrintWindow(*source, TScreenPrintFormCombinedTorvinTandem::DefaultGapMm, enable);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    template <typename Widget = QWidget> Widget *Child(const QString &name) const
    {
        auto *widget = window->findChild<Widget *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QPushButton *Button(const QString &name) const { return Child<QPushButton>(name); }
    QRadioButton *Radio(const QString &name) const { return Child<QRadioButton>(name); }
    QWidget *PaintBox() const { return Child(u"PaintBox1"_s); }
    QScrollArea *ScrollBox() const { return Child<QScrollArea>(u"ScrollBox1"_s); }
    static void Click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    static QString PdfFolder() { return GetConfigManager().GetDirPDFFiles(); }
    static QString InPdfFolder(const QString &name) { return QDir(PdfFolder()).filePath(name); }
    static std::string Messages() { return Presenter().Texts().join(u'|').toStdString(); }

    // Every job gets a printer writing jobN.pdf in the test folder; job failAt one whose
    // folder does not exist. Records the Print button's caption as each job is made.
    void UsePdfPrinters(int failAt = 0, std::function<void()> pageHook = {})
    {
        SetReportPrinterFactory([this, failAt, pageHook]() -> std::unique_ptr<QPrinter> {
            ++printersMade;
            captionsWhilePrinting << Button(u"printPb"_s)->text();
            auto printer = std::make_unique<TestPrinter>();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(printersMade == failAt ? folder.filePath(u"missing/job.pdf"_s)
                                                              : JobFile(printersMade));
            printer->pageHook = pageHook;
            return printer;
        });
    }
    QString JobFile(int job) const { return folder.filePath(u"job%1.pdf"_s.arg(job)); }

    QTemporaryDir folder;
    TRunSession session;
    std::unique_ptr<TSessionReportSource> source;
    std::unique_ptr<TScreenPrintFormCombinedTorvinTandem> window;
    int printersMade = 0;
    QStringList captionsWhilePrinting;
};

TEST_F(PrintWindowTest, Opening_ListsSubjectsAndPreviewsGroupedReport)
{
    auto *list = Child<QComboBox>(u"singleSubjCbox"_s);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(0), u"ID 12"_s);
    EXPECT_EQ(list->itemText(2), u"ID 14"_s);
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_TRUE(Radio(u"assayRb"_s)->isChecked());
    EXPECT_FALSE(list->isEnabled());
    EXPECT_EQ(ScrollBox()->verticalScrollBar()->value(), 0);
    EXPECT_GT(PaintBox()->height(), 500) << "the preview is as tall as the report";
    EXPECT_TRUE(Button(u"printPb"_s)->hasFocus());
    EXPECT_TRUE(Messages().empty()) << Messages();
}

TEST_F(PrintWindowTest, Opening_WithoutIdentifiers_DisablesReportTypesOnly)
{
    for (const bool enable : {false, true}) {
        Open(enable);
        for (const QString &name : {u"assayRb"_s, u"allSubjRb"_s, u"singleSubjRb"_s})
            EXPECT_EQ(Radio(name)->isEnabled(), enable) << name.toStdString();
        EXPECT_TRUE(Radio(u"assayRb"_s)->isChecked());
        EXPECT_TRUE(Button(u"printPb"_s)->isEnabled());
        EXPECT_TRUE(Button(u"btnSaveToFile"_s)->isEnabled());
    }
}

TEST_F(PrintWindowTest, Preview_ShowsTheReportAsDrawnOnWhitePaper)
{
    // Paper stays black on white whatever the colours of the window around it.
    QPalette dark = window->palette();
    dark.setColor(QPalette::WindowText, Qt::yellow);
    dark.setColor(QPalette::Window, Qt::darkBlue);
    window->setPalette(dark);
    QWidget *preview = PaintBox();
    const QPixmap shown = preview->grab();
    if (shown.devicePixelRatio() != 1.0)
        GTEST_SKIP() << "compared pixel for pixel at one device pixel per pixel";
    QImage paper(preview->size(), QImage::Format_RGB32);
    paper.fill(Qt::white);
    paper.setDotsPerMeterX(qRound(preview->logicalDpiX() / 0.0254));
    paper.setDotsPerMeterY(qRound(preview->logicalDpiY() / 0.0254));
    DrawRunReport(paper, *source, false, nullptr, true, 1, 3);
    EXPECT_TRUE(shown.toImage().convertToFormat(QImage::Format_RGB32) == paper);
}

TEST_F(PrintWindowTest, ReportType_SubjectListOnlyForSingleSubject)
{
    auto *list = Child<QComboBox>(u"singleSubjCbox"_s);
    const struct
    {
        const char16_t *radio;
        bool listEnabled;
    } cases[] = {
        {u"singleSubjRb", true}, {u"allSubjRb", false}, {u"singleSubjRb", true}, {u"assayRb", false}};
    for (const auto &c : cases) {
        Click(Radio(QString::fromUtf16(c.radio)));
        EXPECT_TRUE(Radio(QString::fromUtf16(c.radio))->isChecked());
        EXPECT_EQ(list->isEnabled(), c.listEnabled) << QString::fromUtf16(c.radio).toStdString();
    }
    EXPECT_TRUE(Messages().empty()) << Messages();
}

TEST_F(PrintWindowTest, CurvePage_WidensPreviewToPlatePictureAndScrollsSideways)
{
    const int ppi = PaintBox()->logicalDpiX();
    const int a4 = static_cast<int>(std::nearbyint(210 * ppi / 25.4)) + 20;
    EXPECT_EQ(PaintBox()->width(), a4);
    // Sideways only where the screen is too narrow for the page.
    EXPECT_EQ(ScrollBox()->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    const int twoPages = PaintBox()->height();

    Click(Child<QCheckBox>(u"cbPrintStdCurveAndPlateFormat"_s));
    const int margin = static_cast<int>(std::nearbyint(20 * ppi / 25.4));
    EXPECT_EQ(PaintBox()->width(), margin + source->RawDataGridWidth() + 20);
    EXPECT_EQ(ScrollBox()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_GT(PaintBox()->height(), twoPages);
    EXPECT_GE(window->width(), ScrollBox()->minimumWidth());
    EXPECT_LE(window->width(), window->screen()->availableGeometry().width())
        << "never wider than the screen";

    Click(Child<QCheckBox>(u"cbPrintStdCurveAndPlateFormat"_s));
    EXPECT_EQ(PaintBox()->width(), a4);
    EXPECT_EQ(PaintBox()->height(), twoPages);
}

TEST_F(PrintWindowTest, MouseWheel_ScrollsPreviewByWheelLines)
{
    window->resize(window->width(), 400);
    Click(Child<QCheckBox>(u"cbPrintStdCurveAndPlateFormat"_s));
    QScrollBar *vertical = ScrollBox()->verticalScrollBar();
    QScrollBar *horizontal = ScrollBox()->horizontalScrollBar();
    const int step = QApplication::wheelScrollLines();
    const QPoint overPreview = ScrollBox()->viewport()->rect().center();
    const QPoint overPanel = Child(u"Panel1"_s)->rect().center();
    const struct
    {
        const char *name;
        QWidget *target;
        QPoint at;
        int delta;
        Qt::KeyboardModifiers modifiers;
        int down, right; // in lines
    } cases[] = {
        {"down", ScrollBox()->viewport(), overPreview, -120, {}, 1, 0},
        {"down again", ScrollBox()->viewport(), overPreview, -120, {}, 2, 0},
        {"up", ScrollBox()->viewport(), overPreview, 120, {}, 1, 0},
        {"right with shift", ScrollBox()->viewport(), overPreview, -120, Qt::ShiftModifier, 1, 1},
        {"left with shift", ScrollBox()->viewport(), overPreview, 120, Qt::ShiftModifier, 1, 0},
        {"over the top panel", Child(u"Panel1"_s), overPanel, -120, {}, 1, 0},
    };
    for (const auto &c : cases) {
        QWheelEvent wheel(c.at, c.target->mapToGlobal(c.at), QPoint(), QPoint(0, c.delta), Qt::NoButton,
                          c.modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(c.target, &wheel);
        EXPECT_EQ(vertical->value(), c.down * step * vertical->singleStep()) << c.name;
        // The window is widened to hold the preview, so there may be nothing to scroll sideways.
        EXPECT_EQ(horizontal->value(),
                  std::min(c.right * step * horizontal->singleStep(), horizontal->maximum()))
            << c.name;
    }
}

TEST_F(PrintWindowTest, ArrangeWindow_ButtonsShareWidestCaptionAtTheRight)
{
    for (const QString &language : {u"LOCALE_ENGLISH"_s, u"LOCALE_GERMAN"_s, u"LOCALE_GREEK"_s}) {
        TestSupport::LanguageGuard guard(language);
        window->InitializeText();
        EXPECT_EQ(Radio(u"assayRb"_s)->text(), UiText(99));
        int widest = 0;
        for (const QString &name : {u"printPb"_s, u"btnSaveToFile"_s, u"btnCloseWindow"_s}) {
            QString caption = Button(name)->text();
            caption.remove(u'&');
            widest = std::max(widest, Button(name)->fontMetrics().horizontalAdvance(caption) + 15);
        }
        const QWidget *panel = Child(u"Panel1"_s);
        for (const QString &name : {u"printPb"_s, u"btnSaveToFile"_s, u"btnCloseWindow"_s}) {
            const QRect place = Button(name)->geometry();
            EXPECT_EQ(place.width(), std::max(widest, Button(name)->minimumSizeHint().width()))
                << name.toStdString();
            EXPECT_EQ(place.right(), panel->width() - 9) << name.toStdString();
        }
        // Nothing of the choices runs under the buttons.
        const QRect list = Child(u"singleSubjCbox"_s)->geometry();
        EXPECT_LT(list.right(), Button(u"printPb"_s)->geometry().left()) << language.toStdString();
        EXPECT_GT(list.left(), Radio(u"singleSubjRb"_s)->geometry().right());
        EXPECT_LT(Child(u"cbPrintStdCurveAndPlateFormat"_s)->geometry().right(),
                  Button(u"printPb"_s)->geometry().left());
    }
}

TEST_F(PrintWindowTest, SubjectBound_OutOfRange_BackToFirstSubjectWithMessage)
{
    Click(Radio(u"singleSubjRb"_s));
    window->SetSingleSubjIndex(-1);
    EXPECT_EQ(window->GetSubjectBound(true), 1);
    EXPECT_EQ(Child<QComboBox>(u"singleSubjCbox"_s)->currentIndex(), 0);
    EXPECT_EQ(Presenter().Texts(),
              QStringList{
                  u"The Subject Number must be a number between \r\none and the Number of Test Subjects."_s});
}

// ---- PDF files ----------------------------------------------------------------------------------

TEST_F(PrintWindowTest, SaveGroupedPdf_ProposesUniqueNamesInPdfFolder)
{
    const struct
    {
        bool curvePage;
        const char16_t *proposed;
        int pages;
    } cases[] = {{false, u"08Dec26_7a.pdf", 2}, {false, u"08Dec26_7b.pdf", 2}, {true, u"08Dec26_7c.pdf", 3}};
    for (const auto &c : cases) {
        if (c.curvePage)
            Click(Child<QCheckBox>(u"cbPrintStdCurveAndPlateFormat"_s));
        Presenter().Clear();
        const QString proposed = QString::fromUtf16(c.proposed);
        Presenter().fileNames.push_back(InPdfFolder(proposed));
        Click(Button(u"btnSaveToFile"_s));
        ASSERT_EQ(Presenter().fileRequests.size(), 1u);
        EXPECT_EQ(Presenter().fileRequests.front().proposedName, proposed);
        EXPECT_EQ(PdfPageCount(InPdfFolder(proposed)), c.pages) << proposed.toStdString();
        EXPECT_TRUE(Messages().empty()) << Messages();
    }
}

TEST_F(PrintWindowTest, SavePdf_DialogCancelled_WritesNothing)
{
    Click(Radio(u"singleSubjRb"_s));
    Click(Button(u"btnSaveToFile"_s)); // no file name queued: the dialog is cancelled
    ASSERT_EQ(Presenter().fileRequests.size(), 1u);
    EXPECT_EQ(Presenter().fileRequests.front().proposedName, u"08Dec26_7a.pdf"_s);
    EXPECT_TRUE(QDir(PdfFolder()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(Messages().empty()) << Messages();
}

TEST_F(PrintWindowTest, SaveIndividualPdfs_OneFilePerSubjectWithoutDialogs)
{
    Click(Radio(u"allSubjRb"_s));
    Click(Button(u"btnSaveToFile"_s));
    EXPECT_TRUE(Presenter().fileRequests.empty());
    EXPECT_EQ(Presenter().Texts(), QStringList{FilesSavedText(PdfFolder())});
    const QStringList expected{u"08Dec26_ID 12a.pdf"_s, u"08Dec26_ID 13a.pdf"_s, u"08Dec26_ID 14a.pdf"_s};
    EXPECT_EQ(QDir(PdfFolder()).entryList(QDir::Files, QDir::Name), expected);
    for (const QString &name : expected)
        EXPECT_EQ(PdfPageCount(InPdfFolder(name)), 2) << name.toStdString();
    EXPECT_TRUE(window->isEnabled());
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_TRUE(std::none_of(windows.begin(), windows.end(), [](const QWidget *w) {
        return w->isVisible() && w->objectName() == u"frmPdfProgress"_s;
    })) << "the please-wait window has closed";
}

TEST_F(PrintWindowTest, SaveIndividualPdfs_UnwritableFolder_StopsWithReasonAndNoSuccessMessage)
{
    Click(Radio(u"allSubjRb"_s));
    QDir(PdfFolder()).removeRecursively();
    WriteFileAtomically(QDir(PdfFolder()).absolutePath(), "a file where the folder should be");
    Click(Button(u"btnSaveToFile"_s));
    ASSERT_EQ(Presenter().messages.size(), 1u) << Messages();
    EXPECT_NE(Presenter().messages.front().text, FilesSavedText(PdfFolder()));
    EXPECT_TRUE(window->isEnabled());
    QFile::remove(QDir(PdfFolder()).absolutePath());
}

TEST_F(PrintWindowTest, SaveIndividualPdfs_HostileIdentifiers_EveryFileInThePdfFolder)
{
    const QStringList identifiers = TestSupport::HostileIdentifiers(300); // 1.5 MB: ReportCommand_test
    const TRunStepResult loaded =
        session.LoadRun(TestSupport::WriteReportRun(folder.path(), identifiers.size(), true, identifiers));
    ASSERT_TRUE(loaded.Ok()) << loaded.Reason.toStdString();
    ASSERT_TRUE(session.Calculate().Ok());
    source = std::make_unique<TSessionReportSource>(session);
    Open(true);
    Presenter().Clear();
    // The PDF folder three levels down, so that "../../../" would leave the test folder.
    const QString pdfFolder = folder.filePath(u"a/b/pdf"_s);
    ASSERT_TRUE(QDir().mkpath(pdfFolder));
    struct StoredPdfFolder
    {
        const QString saved = PdfFolder();
        ~StoredPdfFolder() { WriteRegistryText(u"DirPdfFiles"_s, saved); }
    } restore;
    WriteRegistryText(u"DirPdfFiles"_s, pdfFolder);

    Click(Radio(u"allSubjRb"_s));
    Click(Button(u"btnSaveToFile"_s));
    EXPECT_EQ(Presenter().Texts(), QStringList{FilesSavedText(pdfFolder)});
    const QStringList written = QDir(pdfFolder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    EXPECT_EQ(written.size(), identifiers.size()) << written.join(u'|').toStdString();
    EXPECT_TRUE(written.contains(u"08Dec26__________pwna.pdf"_s));
    EXPECT_TRUE(written.contains(u"08Dec26_"_s + QString(MaxFileNamePartBytes - 8, u'Z') + u"a.pdf"_s));
    for (const QString &name : written)
        EXPECT_EQ(PdfPageCount(QDir(pdfFolder).filePath(name)), 2) << name.toStdString();
    // Nothing beside the folder or above it.
    const QStringList above =
        QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_EQ(above, (QStringList{u"a"_s, u"report-run.vdf"_s}));
    EXPECT_EQ(QDir(folder.filePath(u"a/b"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{u"pdf"_s});
}

TEST_F(PrintWindowTest, SavePdf_NameWithoutExtension_AskedAboutThePdfBeforeReplacingIt)
{
    const QString typed = InPdfFolder(u"report"_s);
    WriteFileAtomically(typed + u".pdf"_s, "old report");
    Presenter().fileNames = {typed};
    Presenter().answers = {TModalResult::mrNo}; // then the dialog is cancelled
    Click(Button(u"btnSaveToFile"_s));
    EXPECT_EQ(Presenter().Texts(),
              QStringList{UiText(1000).arg(QDir::toNativeSeparators(typed + u".pdf"_s))});
    EXPECT_EQ(ReadWholeFile(typed + u".pdf"_s), QByteArray("old report"));

    Presenter().Clear();
    Presenter().fileNames = {typed};
    Presenter().answers = {TModalResult::mrYes};
    Click(Button(u"btnSaveToFile"_s));
    EXPECT_EQ(PdfPageCount(typed + u".pdf"_s), 2);
    EXPECT_EQ(QDir(PdfFolder()).entryList(QDir::Files), QStringList{u"report.pdf"_s});
}

// ---- printing ------------------------------------------------------------------------------------

TEST_F(PrintWindowTest, PrintIndividual_OneJobPerSubjectTitledWithIdentifier)
{
    UsePdfPrinters();
    Click(Radio(u"allSubjRb"_s));
    Click(Button(u"printPb"_s));
    EXPECT_TRUE(Messages().empty()) << Messages();
    ASSERT_EQ(printersMade, 3);
    for (int job = 1; job <= 3; ++job) {
        EXPECT_EQ(PdfInfo(JobFile(job), u"Title"_s), u"Marnovel Patient Data ID:: ID %1."_s.arg(11 + job));
        EXPECT_EQ(PdfPageCount(JobFile(job)), 2);
    }
    EXPECT_EQ(captionsWhilePrinting, QStringList(3, UiText(128)));
    EXPECT_EQ(Button(u"printPb"_s)->text(), UiText(102));
    EXPECT_FALSE(GetPrintManager().PrinterPrintingGet());
}

TEST_F(PrintWindowTest, PrintGroupedAndSingle_JobTitles)
{
    UsePdfPrinters();
    Click(Button(u"printPb"_s));
    Click(Radio(u"singleSubjRb"_s));
    auto *list = Child<QComboBox>(u"singleSubjCbox"_s);
    list->setCurrentIndex(1);
    Click(Button(u"printPb"_s));
    ASSERT_EQ(printersMade, 2);
    EXPECT_EQ(PdfInfo(JobFile(1), u"Title"_s), u"Marnovel Grouped Data Run Number:7."_s);
    EXPECT_EQ(PdfInfo(JobFile(2), u"Title"_s), u"Marnovel Patient Data ID:: ID 13"_s);
    EXPECT_TRUE(Messages().empty()) << Messages();
}

TEST_F(PrintWindowTest, PrintIndividual_FailedJob_StopsTheOthers)
{
    UsePdfPrinters(2);
    Click(Radio(u"allSubjRb"_s));
    Click(Button(u"printPb"_s));
    EXPECT_EQ(printersMade, 2);
    EXPECT_EQ(Presenter().Texts(), QStringList{UiText(202)});
    EXPECT_EQ(Button(u"printPb"_s)->text(), UiText(102));
    EXPECT_FALSE(GetPrintManager().PrinterPrintingGet());
}

TEST_F(PrintWindowTest, EscapeWhilePrinting_AsksAndAbortsUnlessNo)
{
    const struct
    {
        TModalResult answer;
        int jobs;
        QStringList messages;
    } cases[] = {
        {TModalResult::mrYes, 1, {u"Cancel Printing?"_s, UiText(192)}},
        {TModalResult::mrNo, 3, {u"Cancel Printing?"_s, u"Cancel Printing?"_s, u"Cancel Printing?"_s}},
    };
    Click(Radio(u"allSubjRb"_s));
    for (const auto &c : cases) {
        Presenter().Clear();
        printersMade = 0;
        UsePdfPrinters(0, [this, answer = c.answer] {
            Presenter().answers.push_back(answer);
            QTest::keyClick(window.get(), Qt::Key_Escape);
        });
        Click(Button(u"printPb"_s));
        EXPECT_EQ(printersMade, c.jobs);
        EXPECT_EQ(Presenter().Texts(), c.messages);
        EXPECT_TRUE(window->isVisible()) << "Escape while printing never closes the window";
    }
}

TEST_F(PrintWindowTest, PrintWithoutDefaultPrinter_OneClearMessage)
{
    SetReportPrinterFactory([] { return std::unique_ptr<QPrinter>(); });
    for (const QString &radio : {u"assayRb"_s, u"allSubjRb"_s}) {
        Presenter().Clear();
        Click(Radio(radio));
        Click(Button(u"printPb"_s));
        EXPECT_EQ(Presenter().Texts(), QStringList{NoDefaultPrinterText()}) << radio.toStdString();
        EXPECT_EQ(Button(u"printPb"_s)->text(), UiText(102));
    }
}

TEST(DefaultReportPrinter, NoPrinterSetUp_GivesNone)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "this machine has a default printer";
    EXPECT_EQ(DefaultReportPrinter(), nullptr);
}

} // namespace
