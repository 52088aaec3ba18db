// Calculate and the results tabs: the standards grid, curve details, verdict, plate-washing
// note, chart, subject results and footnote, through real clicks on the main window.

#include "MainWindowTestSupport.h"

#include "core/MarnovelUtils.h"
#include "core/Tool.h"
#include "reports/ReportSource.h"
#include "run/MarnovelData.h"
#include "support/GuiApplication.h"
#include "ui/main/CurveChart.h"
#include "ui/main/grids/RawDataGrid.h"
#include "ui/main/grids/ResultsViews.h"

#include <QAccessible>
#include <QChart>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLegend>
#include <QPainter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStringEncoder>
#include <QToolButton>
#include <QToolTip>
#include <QValueAxis>
#include <QWheelEvent>

#include <cmath>
#include <functional>

using namespace Qt::StringLiterals;
using TestSupport::Dec;
using TestSupport::Presenter;

namespace {

const QString kExampleRun = QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf");
// A 4-point run: five subjects, one non-numerical, one above the range.
const QString kSmallRun = QStringLiteral(VELOMYRA_SOURCE_DIR "/tests/files/data/small-run.vdf");

// The two replicates of a standard in the example run, by well: "Point<i>=<col>|<row>|..".
QString Replicate(int block, int standard, const char *value)
{
    return u"Point%1=%2|%3|%3|%4"_s.arg(standard - 1).arg(block).arg(standard).arg(QString::fromUtf8(value));
}

struct Edit
{
    QString from, to;
};

class ResultsTest : public MainWindowTest
{
protected:
    // The example run with texts replaced, written as the program writes run files.
    static QString ChangedExample(const QString &name, const QList<Edit> &edits)
    {
        QString text = DecodeText(ReadWholeFile(kExampleRun));
        for (const Edit &edit : edits) {
            EXPECT_TRUE(text.contains(edit.from)) << edit.from.toStdString();
            text.replace(edit.from, edit.to);
        }
        const QString path = TestSupport::HomeDir() + u'/' + name;
        QFile::remove(path);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        file.write(encoder.encode(text));
        return path;
    }
    // Standard `standard` (1-based) of both series set to the values.
    static QList<Edit> Standard(int standard, const char *first, const char *second)
    {
        static const char *const example[8][2] = {{"2.412", "2.388"}, {"1.348", "1.362"}, {"0.721", "0.716"},
                                                  {"0.382", "0.378"}, {"0.201", "0.198"}, {"0.112", "0.108"},
                                                  {"0.071", "0.069"}, {"0.046", "0.044"}};
        return {{Replicate(1, standard, example[standard - 1][0]), Replicate(1, standard, first)},
                {Replicate(2, standard, example[standard - 1][1]), Replicate(2, standard, second)}};
    }

    void LoadAndClickCalculate(const QString &file) const
    {
        Presenter().fileNames.push_back(file);
        Click(Button(u"loadPb"_s));
        ASSERT_TRUE(Button(u"calcCurvePb"_s)->isEnabled()) << Messages();
        Presenter().Clear();
        Click(Button(u"calcCurvePb"_s));
    }

    TStandardsGrid *Standards() const { return Child<TStandardsGrid>(u"concGd"_s); }
    TResultGrid *Results() const { return Child<TResultGrid>(u"resultGd"_s); }
    TCurveChart *Chart() const { return Child<TCurveChart>(u"StandardsResultDiagram"_s); }
    QLabel *Label(const QString &name) const { return Child<QLabel>(name); }
    QString EditText(const QString &name) const { return Child<QLineEdit>(name)->text(); }
    static QColor TextColor(const QWidget *widget) { return widget->palette().color(QPalette::WindowText); }
    QStringList StandardsRow(int row) const
    {
        QStringList cells;
        for (int col = 0; col < 5; ++col)
            cells << Standards()->Cell(col, row);
        return cells;
    }
    bool ResultCommandsEnabled() const
    {
        return Button(u"saveAsPb"_s)->isEnabled() && Button(u"printPb"_s)->isEnabled() &&
               Button(u"resultsExportPb"_s)->isEnabled() && Button(u"rawDataExportPb"_s)->isEnabled();
    }
};

// Texts for a grid shown alone, as a model over a run would give them.
class TextTable : public QStandardItemModel
{
public:
    TextTable(int columns, int rows) : QStandardItemModel(rows, columns) {}
    void Set(int col, int row, const QString &text) { setItem(row, col, new QStandardItem(text)); }
};

const QColor kGreen(0x00, 0x80, 0x00);
const QColor kRed(0xFF, 0x00, 0x00);
const QColor kBlue(0x00, 0x00, 0xFF);

} // namespace

// ---- Calculate -----------------------------------------------------------------------------

TEST_F(ResultsTest, Calculate_ValidRun_StandardsCurveAndGreenVerdict)
{
    LoadAndClickCalculate(kExampleRun);
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();

    EXPECT_EQ(StandardsRow(0), (QStringList{u"Std"_s, u"Conc"_s, u"Mean"_s, u"% CV"_s, u"QC Result"_s}));
    EXPECT_EQ(StandardsRow(1), (QStringList{u"S1"_s, Dec("8.000"), Dec("2.400"), Dec("0.7"), u"PASS"_s}));
    EXPECT_EQ(StandardsRow(8), (QStringList{u"S8"_s, Dec("0.000"), Dec("0.045"), u"N/A"_s, u"PASS"_s}));
    for (int row = 1; row <= 8; ++row) {
        EXPECT_EQ(Standards()->Passed(row), true) << row;
        EXPECT_EQ(Standards()->QcColor(row), kGreen) << row;
    }
    EXPECT_EQ(Standards()->columnCount(), 5); // the pass flags are the calculation's, not a column

    EXPECT_EQ(EditText(u"interceptEd"_s), Dec("-0.9425"));
    EXPECT_EQ(EditText(u"slopeEd"_s), Dec("0.8712"));
    EXPECT_EQ(EditText(u"corrCoefEd"_s), Dec("1.00"));
    EXPECT_EQ(Label(u"regressResultLa"_s)->text(), u"PASS"_s);
    EXPECT_EQ(TextColor(Label(u"regressResultLa"_s)), kGreen);
    EXPECT_NEAR(window->Slope(), 0.8712, 5e-5);

    QLabel *verdict = Label(u"qaResultsLa"_s);
    EXPECT_EQ(verdict->text(), u"Valid ELISA test run."_s);
    EXPECT_EQ(TextColor(verdict), kGreen);
    EXPECT_FALSE(verdict->font().bold());
    EXPECT_FALSE(Label(u"lblInvestigateWashCriteria"_s)->isVisible()); // zero standard 0.045
    EXPECT_TRUE(window->PassedCriteria());

    // The Standards Results tab, the results unsaved, calculate done, the results commands on,
    // the focus on the right arrow; the plate and chart pictures kept for the reports.
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::ResultsPage);
    EXPECT_FALSE(window->DataSaved());
    EXPECT_FALSE(Button(u"calcCurvePb"_s)->isEnabled());
    EXPECT_TRUE(ResultCommandsEnabled());
    EXPECT_TRUE(Child<QToolButton>(u"btnPageRight"_s)->hasFocus());
    EXPECT_FALSE(window->ReportSource().PlatePicture().isNull());
    EXPECT_FALSE(window->ReportSource().ChartPicture().isNull());
}

TEST_F(ResultsTest, Calculate_FailedStandard_RedFailBoldRedVerdictAndWashingNote)
{
    // S1 below its 1.200 minimum; the zero standard's mean 0.159 asks for the washing note.
    QList<Edit> edits = Standard(1, "1.100", "1.110");
    edits << Standard(8, "0.160", "0.158");
    LoadAndClickCalculate(ChangedExample(u"failed.vdf"_s, edits));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();

    EXPECT_EQ(StandardsRow(1), (QStringList{u"S1"_s, Dec("8.000"), Dec("1.105"), Dec("0.6"), u"FAIL"_s}));
    EXPECT_EQ(Standards()->Passed(1), false);
    EXPECT_EQ(Standards()->QcColor(1), kRed);
    EXPECT_EQ(Standards()->QcColor(2), kGreen);

    QLabel *verdict = Label(u"qaResultsLa"_s);
    EXPECT_EQ(verdict->text(),
              u"WARNING: ELISA test run invalid. Quality Control criteria for ELISA not met. "
              u"ELISA must be repeated."_s);
    EXPECT_EQ(TextColor(verdict), kRed);
    EXPECT_TRUE(verdict->font().bold());
    EXPECT_FALSE(window->PassedCriteria());

    QLabel *note = Label(u"lblInvestigateWashCriteria"_s);
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->text(),
              u"NOTE: The mean OD value for the Zero Standard should be \u2264\u00A00.150. Plate "
              u"washing procedures should be investigated."_s);
    EXPECT_EQ(TextColor(note), kBlue);
    EXPECT_TRUE(note->font().bold());
    // The results box holds the note below the verdict, both whole.
    EXPECT_GE(note->y(), verdict->geometry().bottom());
    EXPECT_GE(note->height(), note->heightForWidth(note->width()));
    EXPECT_LE(note->geometry().bottom(), Child<QGroupBox>(u"calcResultsGb"_s)->contentsRect().bottom());
}

TEST_F(ResultsTest, Calculate_CorrelationBelowLimit_RedFailBesideTheCoefficient)
{
    // S2 far off the line of the others.
    LoadAndClickCalculate(ChangedExample(u"scattered.vdf"_s, Standard(2, "0.500", "0.510")));
    EXPECT_EQ(EditText(u"corrCoefEd"_s), Dec("0.96"));
    EXPECT_EQ(Label(u"regressResultLa"_s)->text(), u"FAIL"_s);
    EXPECT_EQ(TextColor(Label(u"regressResultLa"_s)), kRed);
    EXPECT_EQ(TextColor(Label(u"qaResultsLa"_s)), kRed);
}

TEST_F(ResultsTest, Calculate_DataCannotBeCalculated_Text185AndCalculateStaysUsable)
{
    // S2 without any value: its %CV divides 0 by 0.
    LoadAndClickCalculate(
        ChangedExample(u"empty-s2.vdf"_s, Standard(2, "VALUE_NOT_SPECIFIED", "VALUE_NOT_SPECIFIED")));
    EXPECT_EQ(Presenter().Texts(),
              QStringList{u"The data provided cannot be calculated. Please review values entered."_s});
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RawDataPage);
    EXPECT_TRUE(Button(u"calcCurvePb"_s)->isEnabled());
    EXPECT_FALSE(Button(u"saveAsPb"_s)->isEnabled());
    EXPECT_FALSE(Button(u"resultsExportPb"_s)->isEnabled());
    EXPECT_EQ(StandardsRow(2), (QStringList{u"S2"_s, Dec("4.000"), QString(), QString(), QString()}));
    EXPECT_EQ(window->LastResult(), nullptr);
    EXPECT_EQ(Chart()->Series1()->count(), 0);

    // At once again: the same answer, nothing else.
    Presenter().Clear();
    Click(Button(u"calcCurvePb"_s));
    EXPECT_EQ(Presenter().Texts().size(), 1);
    EXPECT_TRUE(Button(u"calcCurvePb"_s)->isEnabled());
}

TEST_F(ResultsTest, Calculate_FailsAfterAValidRun_NothingOfTheValidRunStays)
{
    LoadAndClickCalculate(kExampleRun);
    ASSERT_TRUE(window->PassedCriteria());
    // The plate pasted again with S2 not specified in either series.
    QString plate =
        QString::fromUtf8(ReadWholeFile(QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/plate-8point.txt")));
    plate.replace(u"1.348\t1.362\t"_s, u"N/S\tN/S\t"_s);
    QGuiApplication::clipboard()->setText(plate);
    window->SetActivePage(TfrmMainCombinedRd::RawDataPage);
    Presenter().answers.push_back(TModalResult::mrNo); // the unsaved results are not saved
    Click(Button(u"pastePb"_s));
    ASSERT_EQ(Presenter().Texts(), QStringList{UiText(105)});
    Presenter().Clear();
    ASSERT_TRUE(Button(u"calcCurvePb"_s)->isEnabled());
    Click(Button(u"calcCurvePb"_s));

    EXPECT_EQ(Presenter().Texts(), QStringList{UiText(185)});
    EXPECT_FALSE(window->PassedCriteria());
    EXPECT_EQ(window->LastResult(), nullptr);
    for (const QString &edit : {u"interceptEd"_s, u"slopeEd"_s, u"corrCoefEd"_s})
        EXPECT_TRUE(EditText(edit).isEmpty()) << edit.toStdString();
    for (const QString &label : {u"regressResultLa"_s, u"qaResultsLa"_s, u"lblResultGridFootnote"_s})
        EXPECT_TRUE(Label(label)->text().isEmpty()) << label.toStdString();
    EXPECT_TRUE(Label(u"qaResultsLa"_s)->toolTip().isEmpty());
    EXPECT_EQ(StandardsRow(1), (QStringList{u"S1"_s, Dec("8.000"), QString(), QString(), QString()}));
    EXPECT_TRUE(Results()->Cell(1, 1).isEmpty());
    EXPECT_FALSE(Button(u"resultsExportPb"_s)->isEnabled());
    EXPECT_TRUE(Button(u"calcCurvePb"_s)->isEnabled());
}

TEST_F(ResultsTest, PlateWashingNote_ShownOnlyAboveZeroPoint150)
{
    const struct
    {
        const char *first, *second;
        bool shown;
    } cases[] = {{"0.150", "0.150", false}, {"0.151", "0.151", true}};
    for (const auto &c : cases) {
        window.reset();
        SetUp();
        LoadAndClickCalculate(ChangedExample(u"zero.vdf"_s, Standard(8, c.first, c.second)));
        EXPECT_EQ(Label(u"lblInvestigateWashCriteria"_s)->isVisible(), c.shown) << c.first;
        EXPECT_EQ(window->ShouldShowPlateWashingStr(), c.shown) << c.first;
    }
}

// ---- subject results ---------------------------------------------------------------------------

TEST_F(ResultsTest, SubjectResults_MarksAfterTheValueAndTwoLineFootnote)
{
    LoadAndClickCalculate(kExampleRun);
    TResultGrid *grid = Results();
    ASSERT_EQ(grid->columnCount(), 2);
    ASSERT_EQ(grid->rowCount(), 81);
    EXPECT_EQ(grid->Cell(0, 0), UiText(72));
    EXPECT_EQ(grid->Cell(0, 1), u"ID 1"_s);
    EXPECT_EQ(grid->Cell(1, 1), Dec("0.39"));
    EXPECT_EQ(grid->Cell(1, 36), u"> 10<B>#</B>"_s);
    EXPECT_EQ(grid->Cell(1, 62), u"> 10<B>\u00B6</B>"_s);
    EXPECT_EQ(grid->Cell(1, 80), u"N/S"_s);
    // A screen reader gets what is seen, without the tags.
    const auto spoken = [grid](int col, int row) {
        QAccessibleInterface *table = QAccessible::queryAccessibleInterface(grid);
        QAccessibleInterface *cell =
            table && table->tableInterface() ? table->tableInterface()->cellAt(row, col) : nullptr;
        return cell ? cell->text(QAccessible::Name) : u"(no cell)"_s;
    };
    EXPECT_EQ(spoken(1, 36), u"> 10#"_s);
    EXPECT_EQ(spoken(1, 62), u"> 10\u00B6"_s);
    EXPECT_EQ(spoken(1, 1), Dec("0.39"));
    EXPECT_EQ(spoken(0, 36), u"ID 36"_s);

    // "#" first, then the pilcrow; the panel shows both lines.
    EXPECT_EQ(Label(u"lblResultGridFootnote"_s)->text(),
              u"# Non-numerical OD value entered. An OD of 4.000 has been assigned for the calculation.\n"
              u"\u00B6 OD resulted in IU/mL outside the linear range of the ELISA "_s);
    Click(Child<QToolButton>(u"btnPageRight"_s));
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::SamplesPage);
    EXPECT_TRUE(Child<QWidget>(u"Panel2"_s)->isVisible());
    EXPECT_GE(Label(u"lblResultGridFootnote"_s)->height(),
              2 * Label(u"lblResultGridFootnote"_s)->fontMetrics().height());
}

TEST_F(ResultsTest, SubjectResults_NoMarks_NoFootnote)
{
    LoadAndClickCalculate(
        ChangedExample(u"plain.vdf"_s, {{u"Point0=7|4|1|OVER"_s, u"Point0=7|4|1|0.500"_s},
                                        {u"Point0=10|6|1|3.127"_s, u"Point0=10|6|1|0.400"_s}}));
    Click(Child<QToolButton>(u"btnPageRight"_s));
    EXPECT_FALSE(Child<QWidget>(u"Panel2"_s)->isVisible());
    EXPECT_TRUE(Label(u"lblResultGridFootnote"_s)->text().isEmpty());
}

TEST_F(ResultsTest, ResultHeading_TwoLinesInARowHighEnough)
{
    TResultGrid *grid = Results();
    EXPECT_EQ(grid->HeadingLines(0), QStringList{UiText(72)}); // the identifier heading stays whole
    EXPECT_EQ(grid->HeadingLines(1), (QStringList{u"Result"_s, u"(IU/mL)"_s}));
    const QFontMetrics metrics(grid->HeadingFont());
    EXPECT_GE(grid->rowHeight(0), 2 * metrics.height() + 2 * grid->frameWidth() + 2);
}

TEST_F(ResultsTest, ResultGrid_HeadingsStayWhileSubjectsScroll_WheelNotchMovesWholeRows)
{
    LoadAndClickCalculate(kExampleRun);
    Click(Child<QToolButton>(u"btnPageRight"_s));
    TResultGrid *grid = Results();
    const auto headingStrip = [grid] {
        return grid
            ->grab(QRect(grid->viewport()->pos(), QSize(grid->viewport()->width(), grid->rowHeight(0))))
            .toImage();
    };
    const QImage before = headingStrip();
    const QImage subjectsBefore = grid->viewport()->grab().toImage();

    QScrollBar *bar = grid->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    const QPoint inside = grid->viewport()->rect().center();
    QWheelEvent notch(inside, grid->viewport()->mapToGlobal(inside), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &notch);
    EXPECT_EQ(bar->value(), QApplication::wheelScrollLines() * grid->rowHeight(1));

    bar->setValue(bar->maximum());
    EXPECT_EQ(headingStrip(), before);
    EXPECT_NE(grid->viewport()->grab().toImage(), subjectsBefore);
    // The last subject is wholly in view below the headings (its grid line below it).
    const QRect last = grid->visualRect(grid->model()->index(80, 0));
    EXPECT_EQ(last.bottom() + 1 + TResultGrid::GridLineWidth, grid->viewport()->height());
    EXPECT_GE(last.top(), grid->rowHeight(0));
}

TEST_F(ResultsTest, ResultHeading_WiderThanItsColumn_WidenedFromTheLastColumn)
{
    TextTable texts(4, 2);
    TResultGrid grid;
    grid.setModel(&texts);
    grid.resize(700, 300);
    texts.Set(0, 0, u"Subject ID"_s);
    texts.Set(1, 0, u"Concentration-Response Measurement"_s);
    texts.Set(2, 0, u"A"_s);
    texts.Set(3, 0, u"Last"_s);
    grid.LayoutColumns();
    const int available =
        grid.width() - 2 * grid.frameWidth() - grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int unit = available / 8;
    const int needed = QFontMetrics(grid.HeadingFont()).horizontalAdvance(u"Concentration-"_s) +
                       2 * TResultGrid::CellMargin + 2 * grid.frameWidth() + 2;
    ASSERT_GT(needed, static_cast<int>(std::nearbyint(1.1 * unit)));
    EXPECT_EQ(grid.columnWidth(0), 3 * unit);
    EXPECT_EQ(grid.columnWidth(1), needed);
    EXPECT_EQ(grid.columnWidth(2), static_cast<int>(std::nearbyint(1.1 * unit)));
    EXPECT_EQ(grid.MinLastColWidth(), static_cast<int>(std::nearbyint(1.1 * unit)));
    const int sum = grid.columnWidth(0) + grid.columnWidth(1) + grid.columnWidth(2) + grid.columnWidth(3);
    EXPECT_EQ(sum, available - 3);

    // Never at the cost of the last column below its least width.
    grid.resize(260, 300);
    grid.LayoutColumns();
    EXPECT_EQ(grid.columnWidth(1), grid.MinLastColWidth());
}

TEST_F(ResultsTest, ResultCellWidth_FifteenMForIdentifiers_SampleValueOrWidestHeadingLine)
{
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter canvas(&image);
    QFont font = canvas.font();
    font.setPointSize(9);
    canvas.setFont(font);
    const QFontMetrics metrics = canvas.fontMetrics();
    const int sample = metrics.horizontalAdvance(u"-999.99\u00B6"_s);
    EXPECT_EQ(window->getResultCellWidth(0, canvas, UiText(72)),
              metrics.horizontalAdvance(QString(15, u'M')));
    EXPECT_EQ(window->getResultCellWidth(1, canvas, UiText(94)), sample); // "(IU/mL)" is narrower
    EXPECT_EQ(window->getResultCellWidth(1, canvas, QString()), sample);
    // Lines "Concentration-" and "  Response x": the heading is measured by its widest line.
    const int heading = std::max(metrics.horizontalAdvance(u"Concentration-"_s),
                                 metrics.horizontalAdvance(u"  Response x"_s));
    ASSERT_GT(heading, sample);
    EXPECT_EQ(window->getResultCellWidth(2, canvas, u"Concentration-Response x"_s), heading);
}

TEST_F(ResultsTest, StandardsGrid_OnlyTheNamesCanBeSelected)
{
    LoadAndClickCalculate(kExampleRun);
    TStandardsGrid *grid = Standards();
    const auto selected = [grid] { return grid->selectionModel()->selectedIndexes(); };
    EXPECT_TRUE(selected().isEmpty());
    const auto clickCell = [grid](int row, int col) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(row, col)).center());
    };
    clickCell(2, TStandardsGrid::QcColumn);
    EXPECT_TRUE(selected().isEmpty());
    clickCell(2, 0);
    ASSERT_EQ(selected().size(), 1);
    EXPECT_EQ(selected().first().data().toString(), u"S2"_s);
}

TEST_F(ResultsTest, ResultCell_BoldMarkDrawnAfterThePlainValue)
{
    TextTable texts(2, 3);
    TResultGrid grid;
    grid.setModel(&texts);
    texts.Set(1, 1, u"12.34<B>\u00B6</B>"_s);
    texts.Set(1, 2, u"12.34\u00B6"_s);
    EXPECT_EQ(TResultGrid::PlainPart(grid.Cell(1, 1)), u"12.34"_s);
    EXPECT_EQ(TResultGrid::BoldPart(grid.Cell(1, 1)), u"\u00B6"_s);
    EXPECT_EQ(TResultGrid::BoldPart(u"0.35"_s), QString());

    // Drawn: the same characters, but the mark bold (more ink) and apart from the value.
    const auto draw = [&grid](int row) {
        QImage image(200, 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        grid.resultGdDrawCell(painter, image.rect(), 1, row);
        painter.end();
        int ink = 0, right = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    ++ink;
                    right = std::max(right, x);
                }
        return std::pair{ink, right};
    };
    const auto [markedInk, markedRight] = draw(1);
    const auto [plainInk, plainRight] = draw(2);
    EXPECT_GT(markedInk, plainInk);
    EXPECT_GT(markedRight, plainRight);
}

TEST_F(ResultsTest, LongCellTexts_EachCellDrawsInsideItsOwnRectangle)
{
    TextTable standardTexts(5, 2);
    TStandardsGrid standards;
    standards.setModel(&standardTexts);
    TextTable resultTexts(2, 2);
    TResultGrid results;
    results.setModel(&resultTexts);
    const QString huge(200000, u'1');
    const QRect cell(60, 5, 50, 20);
    const struct
    {
        const char *name;
        std::function<void(QPainter &)> draw;
    } cases[] = {
        {"standards number",
         [&](QPainter &p) {
             standardTexts.Set(2, 1, Dec("12345678.500"));
             standards.concGdDrawCell(p, cell, 2, 1, false);
         }},
        {"standards QC text",
         [&](QPainter &p) {
             standardTexts.Set(4, 1, huge);
             standards.concGdDrawCell(p, cell, 4, 1, false);
         }},
        {"standards heading",
         [&](QPainter &p) {
             standardTexts.Set(1, 0, huge);
             standards.concGdDrawCell(p, cell, 1, 0, false);
         }},
        {"result with a mark",
         [&](QPainter &p) {
             resultTexts.Set(1, 1, huge + u"<B>\u00B6</B>"_s);
             results.resultGdDrawCell(p, cell, 1, 1);
         }},
        {"result heading",
         [&](QPainter &p) {
             resultTexts.Set(1, 0, huge);
             results.resultGdDrawCell(p, cell, 1, 0);
         }},
        {"subject identifier",
         [&](QPainter &p) {
             resultTexts.Set(0, 1, huge);
             results.resultGdDrawCell(p, cell, 0, 1);
         }},
    };
    for (const auto &c : cases) {
        QImage image(200, 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        c.draw(painter);
        painter.fillRect(cell, Qt::white);
        painter.end();
        QImage white(image.size(), QImage::Format_RGB32);
        white.fill(Qt::white);
        EXPECT_TRUE(image == white) << c.name;
    }
}

// ---- chart -------------------------------------------------------------------------------------

TEST_F(ResultsTest, Chart_BluePointsOfTheCurveAndTheFittedLineFromFirstToLast)
{
    LoadAndClickCalculate(kExampleRun);
    const TRunCalculationResult &result = *window->LastResult();
    TCurveChart *chart = Chart();
    QScatterSeries *series = chart->Series1();
    EXPECT_EQ(series->objectName(), u"Series1"_s);
    ASSERT_EQ(series->count(), 7); // S8 has no concentration
    const double concentrations[7] = {8.0, 4.0, 2.0, 1.0, 0.5, 0.25, 0.125};
    for (int i = 0; i < 7; ++i) {
        // Ascending x: the lowest concentration first.
        const QPointF point = series->at(i);
        EXPECT_NEAR(point.x(), std::log(concentrations[6 - i]), 1e-12) << i;
        EXPECT_NEAR(point.y(), result.CurvePoints[static_cast<size_t>(6 - i)].Y, 1e-12) << i;
    }
    EXPECT_NEAR(series->at(0).y(), std::log(0.070), 1e-9); // S7's mean of 0.071 and 0.069
    EXPECT_EQ(series->color(), kBlue);
    EXPECT_FALSE(chart->chart()->legend()->isVisible());
    EXPECT_EQ(Label(u"lblChartTitle"_s)->text(), u"Calculated Plots"_s);
    EXPECT_EQ(TextColor(Label(u"lblChartTitle"_s)), kBlue);

    // The fitted line runs from the first point's x to the last point's x.
    const std::optional<QLineF> line = chart->FittedLine();
    ASSERT_TRUE(line);
    EXPECT_DOUBLE_EQ(line->x1(), series->at(0).x());
    EXPECT_DOUBLE_EQ(line->x2(), series->at(6).x());
    EXPECT_NEAR(line->y1(), result.Slope * line->x1() + result.Intercept, 1e-12);
    const QRectF plot = chart->chart()->plotArea();
    const std::optional<QLineF> onScreen = chart->FittedLineOnScreen();
    ASSERT_TRUE(onScreen);
    const QRectF plotOnScreen(chart->mapFromScene(chart->chart()->mapToScene(plot.topLeft())),
                              chart->mapFromScene(chart->chart()->mapToScene(plot.bottomRight())));
    EXPECT_TRUE(plotOnScreen.adjusted(-1, -1, 1, 1).contains(onScreen->p1()));
    EXPECT_TRUE(plotOnScreen.adjusted(-1, -1, 1, 1).contains(onScreen->p2()));
    EXPECT_LT(onScreen->y2(), onScreen->y1()); // rising to the right

    // The line is drawn: a quarter along it, between two points, the pixel is blue ink.
    const QImage image = chart->viewport()->grab().toImage();
    const QPoint quarter = (onScreen->pointAt(0.25) * image.devicePixelRatio()).toPoint();
    int reddest = 255;
    for (int dy = -2; dy <= 2; ++dy)
        reddest = std::min(reddest, image.pixelColor(quarter + QPoint(0, dy)).red());
    EXPECT_LT(reddest, 100) << "no ink on the line at " << quarter.x() << "," << quarter.y();
}

TEST(ClipFittedLine, EndsOutsideTheValueRangeMoveAlongTheLineToItsEdge)
{
    const struct
    {
        double x0, x1, slope, intercept;
        QLineF expected;
    } cases[] = {
        // Inside: unchanged.
        {-1.0, 1.0, 1.0, 0.0, QLineF(-1.0, -1.0, 1.0, 1.0)},
        // The first end below the bottom (-2), the last above the top (2).
        {-3.0, 3.0, 1.0, 0.0, QLineF(-2.0, -2.0, 2.0, 2.0)},
        // Falling: the first end above the top, x = (2 - 1) / -1.
        {-2.0, 0.5, -1.0, 1.0, QLineF(-1.0, 2.0, 0.5, 0.5)},
        // A flat line is not clipped, not even outside.
        {-1.0, 1.0, 0.0, 3.0, QLineF(-1.0, 3.0, 1.0, 3.0)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ClipFittedLine(c.x0, c.x1, c.slope, c.intercept, -2.0, 2.0), c.expected)
            << c.x0 << " " << c.slope;
}

// The axes follow the points alone: the same curve gets the same axes whatever was drawn
// before it (the nice numbers once started from the tick count the last curve left).
TEST(CurveChart, SameCurve_SameAxesWhateverWasDrawnBefore)
{
    const auto curve = [](double x0, double y0, double x1, double y1) {
        std::vector<TRunCurvePoint> points;
        for (int i = 0; i < 8; ++i) {
            const double t = i / 7.0;
            points.push_back(TRunCurvePoint{x0 + t * (x1 - x0), y0 + t * (y1 - y0), 0x00FF0000});
        }
        return points;
    };
    const auto axes = [](const TCurveChart &chart) {
        return std::vector<double>{
            chart.AxisX()->min(), chart.AxisX()->max(), double(chart.AxisX()->tickCount()),
            chart.AxisY()->min(), chart.AxisY()->max(), double(chart.AxisY()->tickCount())};
    };
    const std::vector<TRunCurvePoint> run = curve(-2.08, -3.1, 2.08, 0.88);
    TCurveChart fresh;
    fresh.SetCurve(run, 0.95, -1.1);
    const std::vector<double> expected = axes(fresh);

    const std::vector<TRunCurvePoint> others[] = {curve(-0.7, -2.4, 1.4, 0.9), curve(-3.5, -4.2, 3.0, 1.7),
                                                  curve(0.1, 0.2, 0.3, 0.4), curve(-10.0, -8.0, 12.0, 9.0),
                                                  curve(-2.08, -2.0, 2.08, 2.0)};
    for (const auto &other : others) {
        TCurveChart chart;
        chart.SetCurve(other, 1.0, 0.0);
        chart.SetCurve(run, 0.95, -1.1);
        EXPECT_EQ(axes(chart), expected) << other.front().X << " " << other.back().X;
    }
}

TEST_F(ResultsTest, Chart_FirstEndAboveThePlot_LineStopsAtTheTopEdge)
{
    TCurveChart chart;
    chart.resize(400, 300);
    chart.show();
    // The line's first end (y = 5) lies far above the points' range.
    chart.SetCurve({{0.0, 0.0, TMarnovelData::CurvePointColor},
                    {1.0, 1.0, TMarnovelData::CurvePointColor},
                    {2.0, 0.5, TMarnovelData::CurvePointColor}},
                   -2.0, 5.0);
    const double top = chart.AxisY()->max();
    ASSERT_LT(top, 5.0);
    const std::optional<QLineF> line = chart.FittedLine();
    ASSERT_TRUE(line);
    EXPECT_DOUBLE_EQ(line->y1(), top);
    EXPECT_DOUBLE_EQ(line->x1(), (top - 5.0) / -2.0);
    EXPECT_DOUBLE_EQ(line->x2(), 2.0); // y = 1 there, inside the plot
    EXPECT_DOUBLE_EQ(line->y2(), 1.0);

    chart.ClearCurve();
    EXPECT_FALSE(chart.FittedLine());
}

// ---- the window and the tool -------------------------------------------------------------------

TEST_F(ResultsTest, ExampleRun_WindowShowsTheToolsTextsTextForText)
{
    QProcess tool;
    tool.start(QStringLiteral(VELOMYRA_CLI_PATH), {u"calc"_s, kExampleRun});
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n');
    const QRegularExpression columns(u" {2,}"_s);

    LoadAndClickCalculate(kExampleRun);
    qsizetype at = lines.indexOf(QRegularExpression(u"Std .*"_s));
    ASSERT_GE(at, 0) << lines.join(u'\n').toStdString();
    for (int row = 0; row <= 8; ++row)
        EXPECT_EQ(lines.at(at + row).split(columns), StandardsRow(row)) << row;

    at = lines.indexOf(QRegularExpression(u"Intercept:.*"_s));
    ASSERT_GE(at, 0);
    EXPECT_EQ(lines.at(at).split(columns), (QStringList{u"Intercept:"_s, EditText(u"interceptEd"_s)}));
    EXPECT_EQ(lines.at(at + 1).split(columns), (QStringList{u"Slope:"_s, EditText(u"slopeEd"_s)}));
    EXPECT_EQ(lines.at(at + 2).split(columns),
              (QStringList{u"Correlation Coefficient:"_s, EditText(u"corrCoefEd"_s),
                           Label(u"regressResultLa"_s)->text()}));
    EXPECT_EQ(lines.at(at + 4), Label(u"qaResultsLa"_s)->text());

    at = lines.indexOf(QRegularExpression(u"Subject.*"_s));
    ASSERT_GE(at, 0);
    TResultGrid *grid = Results();
    for (int row = 1; row < grid->rowCount(); ++row)
        EXPECT_EQ(lines.at(at + row).split(columns),
                  (QStringList{grid->Cell(0, row), StripMarkup(grid->Cell(1, row))}))
            << row;
    const QString footnote = lines.mid(at + grid->rowCount() + 1, 2).join(u'\n') + u' ';
    EXPECT_EQ(footnote, Label(u"lblResultGridFootnote"_s)->text());
}

// ---- geometry and repaints -------------------------------------------------------------------

TEST_F(ResultsTest, ResultsPanel_EditsInSevenths_GapsByCurve_BoxesBelowTheGrid)
{
    for (const bool eightPoint : {true, false}) {
        window.reset();
        SetUp();
        LoadAndClickCalculate(eightPoint ? kExampleRun : kSmallRun);
        auto *details = Child<QGroupBox>(u"curveDetailsGb"_s);
        auto *results = Child<QGroupBox>(u"calcResultsGb"_s);
        auto *intercept = Child<QLineEdit>(u"interceptEd"_s);
        auto *slope = Child<QLineEdit>(u"slopeEd"_s);
        auto *correlation = Child<QLineEdit>(u"corrCoefEd"_s);
        const QMargins margins = details->contentsMargins();
        const int unit =
            static_cast<int>(std::lround((details->width() - margins.left() - margins.right()) / 7.0));
        const int edit = intercept->height();
        const int gap = eightPoint ? static_cast<int>(std::lround(edit / 2.0)) : edit;
        EXPECT_EQ(intercept->x(), margins.left() + 2 * unit) << eightPoint;
        EXPECT_EQ(correlation->x(), margins.left() + 2 * unit) << eightPoint;
        EXPECT_EQ(slope->x(), margins.left() + 5 * unit) << eightPoint;
        EXPECT_EQ(intercept->y(), margins.top() + gap) << eightPoint;
        EXPECT_EQ(slope->y(), intercept->y()) << eightPoint;
        EXPECT_EQ(correlation->y(), intercept->y() + edit + gap) << eightPoint;
        EXPECT_EQ(details->height(), margins.top() + 3 * gap + 2 * edit + margins.bottom()) << eightPoint;
        for (const auto &[caption, captionEdit] : {std::pair{u"interceptLa"_s, intercept},
                                                   {u"slopeLa"_s, slope},
                                                   {u"corrCoeffLa"_s, correlation}}) {
            const QLabel *label = Label(caption);
            EXPECT_EQ(label->geometry().right() + 1, captionEdit->x() - 8) << caption.toStdString();
            EXPECT_LE(std::abs(label->geometry().center().y() - captionEdit->geometry().center().y()), 1)
                << caption.toStdString();
        }
        const QLabel *pass = Label(u"regressResultLa"_s);
        EXPECT_EQ(pass->x(), slope->x());
        EXPECT_EQ(pass->y(), Label(u"corrCoeffLa"_s)->y());

        // Top to bottom: the grid takes the rest, each box 1 px below.
        const TStandardsGrid *grid = Standards();
        EXPECT_EQ(grid->y(), 0);
        EXPECT_EQ(details->y(), grid->geometry().bottom() + 2);
        EXPECT_EQ(results->y(), details->geometry().bottom() + 2);
        EXPECT_EQ(results->geometry().bottom() + 1, grid->parentWidget()->height());
        // The 4-point box keeps room for the note below the verdict.
        const QLabel *verdict = Label(u"qaResultsLa"_s);
        const int room = results->contentsRect().height() - verdict->height();
        if (eightPoint)
            EXPECT_LT(room, verdict->height());
        else
            EXPECT_GE(room, verdict->height());
    }
}

TEST_F(ResultsTest, CurveCaptions_LongWordsOfAnotherLanguage_AllThreeSmallerNoneClipped)
{
    LoadAndClickCalculate(kExampleRun);
    window->ChangeLanguage(u"LOCALE_GERMAN"_s);
    const QStringList names{u"interceptLa"_s, u"slopeLa"_s, u"corrCoeffLa"_s};
    const int pointSize = Label(names.first())->font().pointSize();
    for (const QString &name : names) {
        const QLabel *caption = Label(name);
        EXPECT_EQ(caption->font().pointSize(), pointSize) << name.toStdString();
        for (const QString &word : caption->text().split(u' ', Qt::SkipEmptyParts))
            EXPECT_LE(QFontMetrics(caption->font()).horizontalAdvance(word), caption->width())
                << name.toStdString() << " " << word.toStdString();
    }
}

TEST_F(ResultsTest, Repaint_ShowsTheCalculationKept_NeverRecalculates)
{
    LoadAndClickCalculate(kExampleRun);
    const QStringList before = StandardsRow(1);
    // The plate changes underneath; painting the results must not pick it up.
    Child<TRawDataGrid>(u"rawDataGd"_s)->SetCell(1, 1, Dec("0.100"));
    window->RunData().SetValues(*Child<TRawDataGrid>(u"rawDataGd"_s));
    for (const int page : {TfrmMainCombinedRd::ResultsPage, TfrmMainCombinedRd::SamplesPage}) {
        window->SetActivePage(page);
        window->repaint();
    }
    EXPECT_EQ(StandardsRow(1), before);
    EXPECT_EQ(Results()->Cell(1, 1), Dec("0.39"));
    EXPECT_FALSE(Button(u"calcCurvePb"_s)->isEnabled());
}

TEST_F(ResultsTest, LanguageSwitch_ResultsShownSpeakTheNewLanguage)
{
    LoadAndClickCalculate(kExampleRun);
    // The cells that show a text instead of a number.
    const auto cellsShowing = [](const auto *grid, const QString &text) {
        QList<QPoint> cells;
        for (int col = 1; col < grid->columnCount(); ++col)
            for (int row = 1; row < grid->rowCount(); ++row)
                if (grid->Cell(col, row) == text)
                    cells << QPoint(col, row);
        return cells;
    };
    const QList<QPoint> notApplicable = cellsShowing(Standards(), UiText(81));
    ASSERT_FALSE(notApplicable.isEmpty());
    window->ChangeLanguage(u"LOCALE_GERMAN"_s);
    EXPECT_NE(UiText(81), u"N/A"_s);
    EXPECT_EQ(cellsShowing(Standards(), UiText(81)), notApplicable);
    EXPECT_EQ(Standards()->Cell(TStandardsGrid::QcColumn, 1), UiText(79));
    EXPECT_EQ(Standards()->Cell(0, 0), UiText(74));
    EXPECT_EQ(Label(u"qaResultsLa"_s)->text(), UiText(87));
    EXPECT_TRUE(Label(u"lblResultGridFootnote"_s)->text().startsWith(u"# "_s + UiText(285)));
    EXPECT_NE(UiText(87), u"Valid ELISA test run."_s);
}

// ---- the rules behind the verdict ----------------------------------------------------------

namespace {

// The rows of a QC tool tip as cell texts; a pass or fail cell is followed by its colour.
QList<QStringList> ToolTipRows(const QString &toolTip)
{
    QList<QStringList> rows;
    const QRegularExpression tag(u"<[^>]*>"_s);
    const QRegularExpression color(u"color:(#[0-9a-f]{6})"_s);
    for (const QString &row : toolTip.split(u"</tr>"_s, Qt::SkipEmptyParts)) {
        QStringList cells;
        for (const QString &cell : row.split(u"</td>"_s, Qt::SkipEmptyParts)) {
            const QString text = QString(cell).remove(tag).replace(u"&nbsp;"_s, u" "_s);
            if (text.isEmpty())
                continue;
            cells << text;
            if (const QRegularExpressionMatch match = color.match(cell); match.hasMatch())
                cells << match.captured(1);
        }
        if (!cells.isEmpty())
            rows << cells;
    }
    return rows;
}

// The tool tip a widget shows when the pointer rests at `pos`.
QString Hover(QWidget *widget, const QPoint &pos)
{
    QHelpEvent event(QEvent::ToolTip, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

} // namespace

TEST_F(ResultsTest, QcExplanations_HoverShowsEveryRuleAsASentenceWithThresholdMeasuredAndResult)
{
    LoadAndClickCalculate(kExampleRun);
    TStandardsGrid *grid = Standards();
    const auto hoverQc = [&](int row) {
        return ToolTipRows(
            Hover(grid->viewport(),
                  grid->visualRect(grid->model()->index(row, TStandardsGrid::QcColumn)).center()));
    };
    const QString green = u"#008000"_s;
    // S1: complete, its mean above the 8-point minimum, then its %CV. A rule that counts what
    // is wrong says that nothing was.
    EXPECT_EQ(hoverQc(1), (QList<QStringList>{
                              {u"Every replicate holds a numerical OD: PASS"_s, green},
                              {u"Mean OD of the top standard "_s + Dec("2.400") + u" \u2265 "_s +
                                   Dec("1.200") + u": PASS"_s,
                               green},
                              {u"% CV "_s + Dec("0.7") + u" \u2264 "_s + Dec("15.0") + u": PASS"_s, green}}));
    // S6, a low standard: the replicates' largest distance from the mean (0.112 and 0.108).
    EXPECT_EQ(hoverQc(6).value(1), (QStringList{u"Largest deviation of a replicate from the mean OD "_s +
                                                    Dec("0.002") + u" \u2264 "_s + Dec("0.040") + u": PASS"_s,
                                                green}));

    QLabel *correlation = Label(u"regressResultLa"_s);
    EXPECT_EQ(ToolTipRows(Hover(correlation, correlation->rect().center())),
              (QList<QStringList>{
                  {u"Correlation coefficient "_s + Dec("1.00") + u" \u2265 "_s + Dec("0.98") + u": PASS"_s,
                   green}}));

    QLabel *verdict = Label(u"qaResultsLa"_s);
    EXPECT_EQ(
        ToolTipRows(Hover(verdict, verdict->rect().center())),
        (QList<QStringList>{
            {u"Every standard meets its QC criteria: PASS"_s, green},
            {u"Correlation coefficient "_s + Dec("1.00") + u" \u2265 "_s + Dec("0.98") + u": PASS"_s, green},
            {u"Every standard well holds a numerical OD: PASS"_s, green},
            {u"Mean OD of the zero standard "_s + Dec("0.045") + u" \u2264 "_s + Dec("0.150") + u": PASS"_s,
             green}}));
}

TEST_F(ResultsTest, QcExplanations_FailedRun_VerdictNamesTheFailingStandardsRuleInTheCurrentLanguage)
{
    LoadAndClickCalculate(ChangedExample(u"failed.vdf"_s, Standard(1, "1.100", "1.110")));
    QLabel *verdict = Label(u"qaResultsLa"_s);
    const QString red = u"#ff0000"_s;
    const struct
    {
        const char *language;
        QStringList first, last; // the run's standards rule, the failing S1 rule
    } cases[] = {
        {"LOCALE_ENGLISH",
         {u"Standards not meeting their QC criteria (1): FAIL"_s, red},
         {u"S1"_s,
          u"Mean OD of the top standard "_s + Dec("1.105") + u" \u2265 "_s + Dec("1.200") + u": FAIL"_s,
          red}},
        {"LOCALE_GERMAN",
         {u"Standards, die ihre QC-Kriterien nicht erf\u00fcllen (1): NICHT BESTANDEN"_s, red},
         {u"S1"_s,
          u"Mittlere OD des h\u00f6chsten Standards "_s + Dec("1.105") + u" \u2265 "_s + Dec("1.200") +
              u": NICHT BESTANDEN"_s,
          red}},
        {"LOCALE_GREEK",
         {u"\u03a0\u03c1\u03cc\u03c4\u03c5\u03c0\u03b1 \u03c0\u03bf\u03c5 \u03b4\u03b5\u03bd "
          u"\u03c0\u03bb\u03b7\u03c1\u03bf\u03cd\u03bd \u03c4\u03b1 "
          u"\u03ba\u03c1\u03b9\u03c4\u03ae\u03c1\u03b9\u03b1 "
          u"\u03c0\u03bf\u03b9\u03bf\u03c4\u03b9\u03ba\u03bf\u03cd "
          u"\u03b5\u03bb\u03ad\u03b3\u03c7\u03bf\u03c5 "
          u"\u03c4\u03bf\u03c5\u03c2 (1): \u0391\u03a0\u039f\u03a4\u03a5\u03a7\u0399\u0391"_s,
          red},
         {}},
    };
    for (const auto &c : cases) {
        window->ChangeLanguage(QString::fromLatin1(c.language));
        const QList<QStringList> rows = ToolTipRows(Hover(verdict, verdict->rect().center()));
        ASSERT_FALSE(rows.isEmpty()) << c.language;
        EXPECT_EQ(rows.first(), c.first) << c.language;
        if (!c.last.isEmpty()) {
            EXPECT_EQ(rows.last(), c.last) << c.language;
        }
        // The stable identifiers stay in the JSON, never on screen.
        for (const char *identifier : {"standardsPass", "topStandardMeanOd", "correlation", "plateWashing"})
            EXPECT_FALSE(verdict->toolTip().contains(QLatin1StringView(identifier))) << c.language;
    }
}
