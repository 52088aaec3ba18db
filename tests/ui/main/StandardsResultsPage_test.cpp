// The Standards Results page alone against a session and its notifier.

#include "PageTestSupport.h"

#include "core/UiTextManager.h"
#include "support/LanguageGuard.h"
#include "ui/main/CurveChart.h"
#include "ui/main/grids/ResultsViews.h"
#include "ui/main/pages/StandardsResultsPage.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScatterSeries>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using TestSupport::Dec;

namespace {

class StandardsResultsPageTest : public PageTest<TStandardsResultsPage, QLabel>
{
protected:
    QString Edit(const QString &name) const { return Child<QLineEdit>(name)->text(); }
};

TEST_F(StandardsResultsPageTest, Calculated_ShowsTableCurveDetailsVerdictAndChart_DiscardedClearsThem)
{
    LoadAndCalculate();
    const TStandardsGrid *grid = page.StandardsGrid();
    EXPECT_EQ(grid->rowCount(), 9);
    EXPECT_EQ(grid->Cell(0, 1), u"S1"_s);
    EXPECT_EQ(grid->Cell(2, 1), Dec("2.400"));
    EXPECT_EQ(Edit(u"interceptEd"_s), Dec("-0.9425"));
    EXPECT_EQ(Edit(u"slopeEd"_s), Dec("0.8712"));
    EXPECT_EQ(Edit(u"corrCoefEd"_s), Dec("1.00"));
    EXPECT_EQ(page.RegressResultCaption(), u"PASS"_s);
    EXPECT_EQ(Child(u"qaResultsLa"_s)->text(), u"Valid ELISA test run."_s);
    EXPECT_FALSE(Child(u"qaResultsLa"_s)->toolTip().isEmpty());
    EXPECT_EQ(page.Chart()->Series1()->count(), static_cast<int>(session.LastResult()->CurvePoints.size()));
    EXPECT_GT(page.Chart()->Series1()->count(), 0);

    // A new plate ends the calculation: nothing of it stays on the page.
    ASSERT_TRUE(notifier.LoadRun(ExampleRun()).Ok());
    for (const QString &edit : {u"interceptEd"_s, u"slopeEd"_s, u"corrCoefEd"_s})
        EXPECT_TRUE(Edit(edit).isEmpty()) << edit.toStdString();
    EXPECT_TRUE(page.RegressResultCaption().isEmpty());
    EXPECT_TRUE(Child(u"qaResultsLa"_s)->text().isEmpty());
    EXPECT_TRUE(Child(u"qaResultsLa"_s)->toolTip().isEmpty());
    EXPECT_EQ(page.Chart()->Series1()->count(), 0);
    EXPECT_TRUE(grid->Cell(2, 1).isEmpty());
}

TEST_F(StandardsResultsPageTest, CurveType_TableRowsAndScrollBarFollowTheCurve)
{
    const struct
    {
        TCurveType curve;
        int rows; // the heading and every standard
        Qt::ScrollBarPolicy scrollBar;
    } cases[] = {{CURVE_8POINT, 9, Qt::ScrollBarAlwaysOn}, {CURVE_4POINT, 5, Qt::ScrollBarAlwaysOff}};
    for (const auto &c : cases) {
        ASSERT_TRUE(notifier.SetCurveType(c.curve).Ok());
        EXPECT_EQ(page.StandardsGrid()->rowCount(), c.rows) << c.curve;
        EXPECT_EQ(page.StandardsGrid()->verticalScrollBarPolicy(), c.scrollBar) << c.curve;
    }
}

TEST_F(StandardsResultsPageTest, Retranslate_EveryTextAgainInTheNewLanguage)
{
    LoadAndCalculate();
    const TestSupport::LanguageGuard german(u"LOCALE_GERMAN"_s);
    ASSERT_NE(UiText(87), u"Valid ELISA test run."_s);
    page.Retranslate();
    EXPECT_EQ(Child(u"qaResultsLa"_s)->text(), UiText(87));
    EXPECT_EQ(Child<QGroupBox>(u"curveDetailsGb"_s)->title(), UiText(82));
    EXPECT_EQ(Child(u"interceptLa"_s)->text(), UiText(83));
    EXPECT_EQ(page.RegressResultCaption(), UiText(79));
    EXPECT_EQ(page.StandardsGrid()->Cell(TStandardsGrid::QcColumn, 1), UiText(79));
    EXPECT_EQ(page.StandardsGrid()->Cell(0, 0), UiText(74));
}

} // namespace
