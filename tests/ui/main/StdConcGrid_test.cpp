#include "MainWindowTestSupport.h"

#include "run/MarnovelData.h"
#include "support/GuiApplication.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

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
        EXPECT_TRUE(StdConc()->selectedItems().isEmpty()) << c.curve;
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
                          grid->visualItemRect(grid->item(row, 1)).center());
        EXPECT_NE(grid->currentRow(), row);
    }
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(0, 1)).center());
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
    for (const QString &typed : {u"-1"_s, u"abc"_s}) {
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
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(1, 1)).center());
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

TEST_F(StdConcGridTest, AcceptedConcentration_ClearsTheResults)
{
    LoadAndCalculate();
    ClickTab(TfrmMainCombinedRd::RunDetailsPage);
    ASSERT_EQ(window->ActivePage(), TfrmMainCombinedRd::RunDetailsPage);
    ASSERT_TRUE(Button(u"saveAsPb"_s)->isEnabled());
    TypeConcentration(0, u"6"_s, Qt::Key_Tab);
    EXPECT_FALSE(Button(u"saveAsPb"_s)->isEnabled());
    EXPECT_TRUE(Child<QTableWidget>(u"concGd"_s)->item(1, 2)->text().isEmpty());
    EXPECT_EQ(Child<QTableWidget>(u"concGd"_s)->item(1, 1)->text(), Dec("6.000"));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
}

} // namespace

namespace {

TEST_F(StdConcGridTest, StandardsOnThePlate_FixTheCurveTypeAfterATabChange)
{
    LoadExampleRun(); // 8-point standards on the plate
    ClickTab(TfrmMainCombinedRd::RunDetailsPage);
    EXPECT_TRUE(Child<QRadioButton>(u"rb8PointCurve"_s)->isEnabled());
    EXPECT_FALSE(Child<QRadioButton>(u"rb4PointCurve"_s)->isEnabled());

    window->ClearStandardsAndSamples();
    EXPECT_FALSE(Button(u"calcCurvePb"_s)->isEnabled());
    ClickTab(TfrmMainCombinedRd::RawDataPage);
    ClickTab(TfrmMainCombinedRd::RunDetailsPage);
    EXPECT_TRUE(Child<QRadioButton>(u"rb4PointCurve"_s)->isEnabled());
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
}

} // namespace
