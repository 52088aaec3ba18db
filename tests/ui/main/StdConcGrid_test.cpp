#include "MainWindowTestSupport.h"

#include "run/MarnovelData.h"
#include "support/GuiApplication.h"
#include "ui/main/grids/ResultsViews.h"

#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;
using TestSupport::Dec;
using TestSupport::Presenter;

namespace {

class StdConcGridTest : public MainWindowTest
{
protected:
    QStringList Concentrations() const
    {
        QStringList texts;
        for (int row = 0; row < StdConc()->rowCount(); ++row)
            texts << Concentration(row);
        return texts;
    }
    static QStringList Decimals(std::initializer_list<const char *> texts)
    {
        QStringList result;
        for (const char *text : texts)
            result << Dec(text);
        return result;
    }
    void ChooseManualValues() const { Click(Child<QRadioButton>(u"rbStdConcValueTypeManual"_s)); }
};

TEST_F(StdConcGridTest, DefaultValues_S1DerivesTheSeriesWithTheDivider)
{
    const struct
    {
        const char *curve;
        QStringList expected;
        int divider;
    } cases[] = {
        {"rb4PointCurve", Decimals({"8", "2.000", "0.500", "0.000"}), 4},
        {"rb8PointCurve", Decimals({"8", "4.000", "2.000", "1.000", "0.500", "0.250", "0.125", "0.000"}), 2},
    };
    for (const auto &c : cases) {
        Click(Child<QRadioButton>(QString::fromLatin1(c.curve)));
        EXPECT_EQ(window->StdConcDivider(), c.divider);
        TypeConcentration(0, u"8"_s);
        EXPECT_EQ(Concentrations(), c.expected) << c.curve;
        // Enter in default mode ends the entry: nothing stays selected.
        EXPECT_EQ(StdConc()->currentRow(), -1) << c.curve;
        EXPECT_TRUE(StdConc()->selectionModel()->selectedIndexes().isEmpty()) << c.curve;
        const TStdConcData &data = window->RunData().StdConc();
        ASSERT_EQ(data.size(), c.expected.size());
        EXPECT_FLOAT_EQ(data[1], 8.0f / static_cast<float>(c.divider));
        EXPECT_FLOAT_EQ(data.last(), 0.0f);
    }
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
}

TEST_F(StdConcGridTest, DefaultValues_OnlyS1CanBeChosen)
{
    TStdConcGrid *grid = StdConc();
    for (int row = 1; row < grid->rowCount(); ++row) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(row, 1)).center());
        EXPECT_NE(grid->currentRow(), row);
    }
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(0, 1)).center());
    EXPECT_EQ(grid->currentRow(), 0);
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(grid->currentRow(), 0); // the derived rows are not on the walk
}

TEST_F(StdConcGridTest, ManualValues_TabWalksTheTypedRowsInACycle)
{
    ChooseManualValues();
    TStdConcGrid *grid = StdConc();
    // 4-point curve: S1, S2, S3 are typed; S4 is the zero standard.
    TypeConcentration(2, Dec("0.7"), Qt::Key_Tab);
    EXPECT_EQ(grid->currentRow(), 0);
    EXPECT_EQ(Concentration(2), Dec("0.7"));
    QTest::keyClick(grid, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(grid->currentRow(), 2);
    QTest::keyClick(grid, Qt::Key_Backtab);
    EXPECT_EQ(grid->currentRow(), 1);
    QTest::keyClick(grid, Qt::Key_Return); // Enter moves down while values are typed
    EXPECT_EQ(grid->currentRow(), 2);
    TypeConcentration(1, u"3"_s, Qt::Key_Tab);
    EXPECT_EQ(grid->currentRow(), 2);
    EXPECT_EQ(Concentrations(), (QStringList{Dec("4.000"), u"3"_s, Dec("0.7"), Dec("0.000")}));
    // Typed values stay as typed; the run data gets their numbers.
    EXPECT_FLOAT_EQ(window->RunData().StdConc()[1], 3.0f);
    EXPECT_FLOAT_EQ(window->RunData().StdConc()[2], 0.7f);
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
}

TEST_F(StdConcGridTest, NegativeOrNonNumericValue_ShowsText372AndRestoresThePreviousText)
{
    ChooseManualValues();
    TypeConcentration(1, u"2"_s, Qt::Key_Tab);
    // Beyond single precision, in which the run keeps its concentrations, too.
    for (const QString &typed : {u"-1"_s, u"abc"_s, u"1e40"_s, Dec("1e-40"), u"-0.001"_s}) {
        Presenter().Clear();
        TypeConcentration(1, typed, Qt::Key_Tab);
        EXPECT_EQ(Presenter().Texts(),
                  QStringList{
                      u"Only numerical non-negative values are allowed as standard concentration values."_s});
        EXPECT_EQ(Concentration(1), u"2"_s) << typed.toStdString();
        EXPECT_EQ(StdConc()->currentRow(), 1) << typed.toStdString(); // the cell stays current
        EXPECT_FLOAT_EQ(window->RunData().StdConc()[1], 2.0f);
    }
}

TEST_F(StdConcGridTest, DefaultValuesAgain_PutTheCurveDefaultsBack)
{
    Click(Child<QRadioButton>(u"rb8PointCurve"_s));
    ChooseManualValues();
    TypeConcentration(0, u"20"_s, Qt::Key_Tab);
    TypeConcentration(1, u"9"_s, Qt::Key_Tab);
    Click(Child<QRadioButton>(u"rbStdConcValueTypeDefault"_s));
    EXPECT_EQ(Concentrations(),
              Decimals({"8.000", "4.000", "2.000", "1.000", "0.500", "0.250", "0.125", "0.000"}));
    EXPECT_FLOAT_EQ(window->RunData().StdConc()[0], 8.0f);
    EXPECT_FLOAT_EQ(window->RunData().StdConc()[1], 4.0f);
}

TEST_F(StdConcGridTest, LeavingTheGrid_ChecksTheValueBeingTyped)
{
    ChooseManualValues();
    TStdConcGrid *grid = StdConc();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(1, 1)).center());
    QTest::keyClick(grid, Qt::Key_F2);
    QWidget *editor = QApplication::focusWidget();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, u"x"_s);
    window->GetOperatorEd()->setFocus(); // the operator clicks elsewhere
    QApplication::processEvents();
    EXPECT_EQ(
        Presenter().Texts(),
        QStringList{u"Only numerical non-negative values are allowed as standard concentration values."_s});
    EXPECT_EQ(Concentration(1), Dec("1.000"));
    EXPECT_EQ(grid->currentRow(), -1);
}

// A new concentration throws the unsaved results away: asked first. No clears them, and then
// nothing offers to save them; Cancel keeps both the results and the old concentration.
TEST_F(StdConcGridTest, ChangedConcentrationAfterCalculation_AskedFirst)
{
    for (const TModalResult answer : {TModalResult::mrNo, TModalResult::mrCancel}) {
        SetUp();
        LoadAndCalculate();
        ClickTab(TfrmMainCombinedRd::RunDetailsPage);
        ASSERT_EQ(window->ActivePage(), TfrmMainCombinedRd::RunDetailsPage);
        ASSERT_TRUE(Button(u"saveAsPb"_s)->isEnabled());
        const QString s1 = Concentration(0);
        Presenter().answers.push_back(answer);
        TypeConcentration(0, u"6"_s, Qt::Key_Tab);
        EXPECT_EQ(Presenter().Texts(), QStringList{UiText(105)});
        const bool cleared = answer == TModalResult::mrNo;
        EXPECT_EQ(Button(u"saveAsPb"_s)->isEnabled(), !cleared);
        EXPECT_EQ(Child<TStandardsGrid>(u"concGd"_s)->Cell(2, 1).isEmpty(), cleared);
        EXPECT_EQ(Child<TStandardsGrid>(u"concGd"_s)->Cell(1, 1), cleared ? Dec("6.000") : s1);
        EXPECT_EQ(Concentration(0), cleared ? u"6"_s : s1);
        EXPECT_EQ(window->DataSaved(), cleared);

        // The same number again changes nothing and asks nothing.
        Presenter().Clear();
        TypeConcentration(0, cleared ? Dec("6.0") : s1, Qt::Key_Tab);
        EXPECT_TRUE(Presenter().messages.empty()) << Messages();
        EXPECT_EQ(Button(u"saveAsPb"_s)->isEnabled(), !cleared);

        // New Test asks only while Save File has something to save.
        Presenter().answers.push_back(TModalResult::mrCancel);
        Click(Button(u"newTestPb"_s));
        EXPECT_EQ(Presenter().Texts(), cleared ? QStringList() : QStringList{UiText(105)});
    }
}

// A tab clicked while the concentration being typed is refused: text 372, and the tab strip
// stays on Run Details with its page.
TEST_F(StdConcGridTest, TabClickedWithAnInvalidConcentration_TabStripAndPageStay)
{
    FillRunDetails();
    ChooseManualValues();
    for (const QString &typed : {u"x"_s, u"1e40"_s}) {
        Presenter().Clear();
        TStdConcGrid *grid = StdConc();
        grid->Deselect(); // a click on the current cell would open its editor later
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(1, 1)).center());
        QTest::keyClick(grid, Qt::Key_F2);
        QWidget *editor = QApplication::focusWidget();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, typed);
        ClickTab(TfrmMainCombinedRd::RawDataPage);
        QApplication::processEvents();

        EXPECT_EQ(Presenter().Texts(), QStringList{UiText(372)}) << typed.toStdString();
        EXPECT_EQ(Tabs()->currentIndex(), TfrmMainCombinedRd::RunDetailsPage);
        EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RunDetailsPage);
        EXPECT_EQ(Concentration(1), Dec("1.000"));
    }
    // A valid one goes with the tab.
    Presenter().Clear();
    StdConc()->Deselect();
    TypeConcentration(1, Dec("0.9"), Qt::Key_Tab);
    ClickTab(TfrmMainCombinedRd::RawDataPage);
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RawDataPage);
    EXPECT_FLOAT_EQ(window->RunData().StdConc()[1], 0.9f);
}

} // namespace

namespace {

TEST_F(StdConcGridTest, StandardsOnThePlate_FixTheCurveTypeAfterATabChange)
{
    LoadExampleRun(); // 8-point standards on the plate
    ClickTab(TfrmMainCombinedRd::RunDetailsPage);
    EXPECT_TRUE(Child<QRadioButton>(u"rb8PointCurve"_s)->isEnabled());
    EXPECT_FALSE(Child<QRadioButton>(u"rb4PointCurve"_s)->isEnabled());

    window->RawData().ClearStandardsAndSamples();
    EXPECT_FALSE(Button(u"calcCurvePb"_s)->isEnabled());
    ClickTab(TfrmMainCombinedRd::RawDataPage);
    ClickTab(TfrmMainCombinedRd::RunDetailsPage);
    EXPECT_TRUE(Child<QRadioButton>(u"rb4PointCurve"_s)->isEnabled());
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
}

} // namespace
