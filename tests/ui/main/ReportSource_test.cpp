// The session's report source reads what the main window shows for the same run, so that the
// tool's report and the window's report are the same.

#include "MainWindowTestSupport.h"
#include "files/RunSession.h"
#include "plate/TextGrid.h"
#include "reports/SessionReportSource.h"
#include "support/GuiApplication.h"
#include "ui/main/RunDatePicker.h"
#include "ui/main/grids/RawDataGrid.h"
#include "ui/main/grids/ResultsViews.h"

#include <QLabel>

using namespace Qt::StringLiterals;

namespace {

class SessionReportSourceTest : public MainWindowTest
{
protected:
    // Every cell of a window grid against the source's grid of the same name.
    template <typename Grid> void ExpectSameCells(const Grid &shown, const ITextGrid &grid, const char *name)
    {
        EXPECT_EQ(grid.ColCount(), shown.columnCount()) << name;
        EXPECT_EQ(grid.RowCount(), shown.rowCount()) << name;
        for (int col = 0; col < shown.columnCount(); ++col)
            for (int row = 0; row < shown.rowCount(); ++row)
                EXPECT_EQ(grid.Cell(col, row), shown.Cell(col, row))
                    << name << " (" << col << ", " << row << ")";
    }
};

} // namespace

TEST_F(SessionReportSourceTest, ExampleRun_SameTextsAsTheWindow)
{
    LoadAndCalculate();
    TRunSession session;
    ASSERT_TRUE(session.LoadRun(QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf")).Ok());
    ASSERT_TRUE(session.Calculate().Ok());
    const TSessionReportSource source(session);

    ExpectSameCells(*Child<TResultGrid>(u"resultGd"_s), source.ResultGrid(), "resultGd");
    ExpectSameCells(*Child<TStandardsGrid>(u"concGd"_s), source.StandardsGrid(), "concGd");
    ExpectSameCells(*StdConc(), source.StdConcGrid(), "stdConcGd");
    ExpectSameCells(*Child<TRawDataGrid>(u"rawDataGd"_s), source.RawDataGrid(), "rawDataGd");

    EXPECT_EQ(source.RegressResultCaption(), Child<QLabel>(u"regressResultLa"_s)->text());
    EXPECT_EQ(source.PassedCriteria(), window->PassedCriteria());
    EXPECT_EQ(source.ShouldShowPlateWashingStr(), window->ShouldShowPlateWashingStr());
    EXPECT_EQ(source.Intercept(), window->Intercept());
    EXPECT_EQ(source.Slope(), window->Slope());
    EXPECT_EQ(source.CorrCoeff(), window->CorrCoeff());

    const TRunDetails details = source.RunDetails();
    EXPECT_EQ(details.RunDate, window->GetRunDateDt()->date());
    EXPECT_EQ(details.RunNumber, window->GetRunNoEd()->text());
    EXPECT_EQ(details.KitBatchNumber, window->GetKitBatchNoEd()->text());
    EXPECT_EQ(details.OperatorName, window->GetOperatorEd()->text());
}
