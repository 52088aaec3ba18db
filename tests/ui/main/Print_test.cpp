#include "RawDataTestSupport.h"

#include "plate/CellBlock.h"
#include "reports/ReportSource.h"
#include "support/GuiApplication.h"
#include "support/LanguageGuard.h"
#include "ui/main/grids/ResultsViews.h"
#include "ui/print/PrintScreen.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {

// The main window with the standing print window, as start-up joins them.
class PrintButtonTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        printWindow = std::make_unique<TScreenPrintFormCombinedTorvinTandem>(window.get());
        window->SetPrintWindow(printWindow.get());
    }
    void TearDown() override
    {
        printWindow.reset();
        MainWindowTest::TearDown();
    }
    template <typename Widget = QWidget> Widget *PrintChild(const QString &name) const
    {
        auto *widget = printWindow->findChild<Widget *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }

    std::unique_ptr<TScreenPrintFormCombinedTorvinTandem> printWindow;
};

TEST_F(PrintButtonTest, Print_OpensPrintWindowOnTheShownResults)
{
    LoadAndCalculate();
    ScriptedModals modals;
    QStringList subjects;
    modals.Push([&](QDialog &dialog) {
        EXPECT_EQ(&dialog, printWindow.get());
        auto *list = PrintChild<QComboBox>(u"singleSubjCbox"_s);
        for (int i = 0; i < list->count(); ++i)
            subjects << list->itemText(i);
        EXPECT_TRUE(PrintChild<QRadioButton>(u"assayRb"_s)->isEnabled());
        EXPECT_TRUE(PrintChild<QRadioButton>(u"assayRb"_s)->isChecked());
    });
    Click(Button(u"printPb"_s));
    EXPECT_EQ(modals.shown, 1);
    const auto *results = Child<TResultGrid>(u"resultGd"_s);
    ASSERT_EQ(subjects.size(), results->rowCount() - 1);
    for (int row = 1; row < results->rowCount(); ++row)
        EXPECT_EQ(subjects.at(row - 1), results->Cell(0, row));
    EXPECT_TRUE(Messages().empty()) << Messages();
}

TEST_F(PrintButtonTest, ReportSource_ReadsTheWindowAsShown)
{
    LoadAndCalculate();
    const IReportSource &source = window->ReportSource();
    const auto *results = Child<TResultGrid>(u"resultGd"_s);
    EXPECT_EQ(source.ResultGrid().RowCount(), results->rowCount());
    EXPECT_EQ(source.ResultGrid().Cell(1, 2), results->Cell(1, 2));
    EXPECT_EQ(source.StandardsGrid().Cell(2, 1), Child<TStandardsGrid>(u"concGd"_s)->Cell(2, 1));
    EXPECT_EQ(source.RunDetails().RunNumber, window->GetRunNoEd()->text());
    EXPECT_EQ(source.RegressResultCaption(), Child<QLabel>(u"regressResultLa"_s)->text());
    EXPECT_EQ(source.RawDataGridWidth(), Child(u"rawDataGd"_s)->width());
    EXPECT_FALSE(source.PlatePicture().isNull());
    EXPECT_FALSE(source.ChartPicture().isNull());
}

TEST_F(PrintButtonTest, LanguageSwitch_RetextsPrintWindow)
{
    TestSupport::LanguageGuard english(u"LOCALE_ENGLISH"_s);
    window->ChangeLanguage(u"LOCALE_GERMAN"_s);
    EXPECT_EQ(PrintChild<QRadioButton>(u"singleSubjRb"_s)->text(), UiText(101));
    EXPECT_EQ(printWindow->windowTitle(), UiText(102));
    window->ChangeLanguage(u"LOCALE_ENGLISH"_s);
}

} // namespace
