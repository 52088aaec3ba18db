// The curve diagnostics beside the QC trends and the range tool tip of the subject results:
// the figures the model computes, shown as the window formats numbers, following the session.

#include "MainWindowTestSupport.h"

#include "core/TextIds.h"
#include "core/Tool.h"
#include "run/CurveDiagnostics.h"
#include "run/ResultTexts.h"
#include "run/RunCalculation.h"
#include "support/GuiApplication.h"
#include "ui/main/grids/ResultsViews.h"
#include "ui/main/pages/SubjectResultsPage.h"

#include <QHelpEvent>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace {

class CurveDiagnosticsViewTest : public MainWindowTest
{
protected:
    QTableView *Table(const QString &name) const { return Child<QTableView>(name); }
    static QString Text(const QTableView *table, int row, int col)
    {
        return table->model()->index(row, col).data().toString();
    }
    static QString Heading(const QTableView *table, int col)
    {
        return table->model()->headerData(col, Qt::Horizontal).toString();
    }
};

TEST_F(CurveDiagnosticsViewTest, Calculated_ShowsTheModelsFigures)
{
    ClickTab(TfrmMainCombinedRd::TrendsPage);
    auto *views = Child<QTabWidget>(u"qcTrendsViewsTc"_s);
    ASSERT_EQ(views->count(), 2);
    EXPECT_EQ(views->tabText(0), UiText(TextId::QcTrends));
    EXPECT_EQ(views->tabText(1), UiText(TextId::CurveDiagnostics));
    views->setCurrentIndex(1);
    EXPECT_EQ(Child<QLabel>(u"curveDiagnosticsMessageLa"_s)->text(), UiText(TextId::NoCalculatedRun));

    LoadAndCalculate();
    const TRunCalculationResult &result = *window->LastResult();
    const TCurveDiagnostics expected = DiagnoseCurve(result);
    EXPECT_TRUE(Child<QLabel>(u"curveDiagnosticsMessageLa"_s)->isHidden());

    const QTableView *standards = Table(u"curveDiagnosticsStandardsGd"_s);
    ASSERT_EQ(standards->model()->rowCount(), static_cast<int>(expected.Standards.size()));
    ASSERT_GE(expected.Standards.size(), 3u);
    for (int row = 0; row < standards->model()->rowCount(); ++row) {
        const TStandardDiagnostics &standard = expected.Standards[static_cast<std::size_t>(row)];
        SCOPED_TRACE(standard.Name.toStdString());
        EXPECT_EQ(Text(standards, row, 0), standard.Name);
        EXPECT_EQ(Text(standards, row, 1), ResultTexts::Concentration(standard.Nominal));
        EXPECT_EQ(Text(standards, row, 2), ResultTexts::Concentration(standard.BackCalculated));
        EXPECT_EQ(Text(standards, row, 3), FormatFixed(standard.RecoveryPercent, 1));
        EXPECT_EQ(Text(standards, row, 4), FormatFixed(standard.Residual, 4));
    }
    ASSERT_TRUE(expected.FitStandardError.has_value());
    EXPECT_EQ(Child<QLabel>(u"curveDiagnosticsFitErrorLa"_s)->text(),
              UiText(TextId::FitStandardError).arg(FormatFixed(*expected.FitStandardError, 4)));
    ASSERT_TRUE(expected.StandardsInOrder());
    EXPECT_EQ(Child<QLabel>(u"curveDiagnosticsOrderLa"_s)->text(), UiText(TextId::StandardsInOrder));

    const QTableView *subjects = Table(u"curveDiagnosticsSubjectsGd"_s);
    ASSERT_EQ(subjects->model()->rowCount(), static_cast<int>(result.Subjects.size()));
    for (int row = 0; row < subjects->model()->rowCount(); ++row) {
        const TSubjectDiagnostics &subject = expected.Subjects[static_cast<std::size_t>(row)];
        EXPECT_EQ(Text(subjects, row, 0), result.Subjects[static_cast<std::size_t>(row)].Id);
        EXPECT_EQ(Text(subjects, row, 1),
                  subject.Interval95 ? ResultTexts::Concentration(subject.Interval95->Low) + u" \u2013 "_s +
                                           ResultTexts::Concentration(subject.Interval95->High)
                                     : u"\u2013"_s);
        const int range = subject.BelowLowestStandard    ? TextId::BelowLowestStandard
                          : subject.AboveHighestStandard ? TextId::AboveHighestStandard
                                                         : TextId::WithinStandards;
        EXPECT_EQ(Text(subjects, row, 2), UiText(range)) << row;
    }
}

TEST_F(CurveDiagnosticsViewTest, OutOfRangeSubject_HasTheToolTip_TextsUnchanged)
{
    LoadAndCalculate();
    ClickTab(TfrmMainCombinedRd::SamplesPage);
    const TRunCalculationResult &result = *window->LastResult();
    const TCurveDiagnostics diagnostics = DiagnoseCurve(result);
    TResultGrid *grid = window->SubjectResults().ResultGrid();
    int above = -1;
    int within = -1;
    for (std::size_t k = 0; k < diagnostics.Subjects.size(); ++k) {
        const TSubjectDiagnostics &subject = diagnostics.Subjects[k];
        if (subject.AboveHighestStandard && above < 0)
            above = static_cast<int>(k);
        if (!subject.AboveHighestStandard && !subject.BelowLowestStandard && within < 0)
            within = static_cast<int>(k);
    }
    ASSERT_GE(above, 0) << "the example run has a result above the highest standard";
    ASSERT_GE(within, 0);

    // The tool tip as the operator sees it on hovering the result cell.
    const auto hover = [grid](int subject) {
        QToolTip::hideText();
        const QPoint at = grid->visualRect(grid->model()->index(subject + 1, 1)).center();
        QHelpEvent help(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(hover(within), QString());
    EXPECT_EQ(hover(above), UiText(TextId::AboveHighestStandardTip));
    for (int k = 0; k < static_cast<int>(result.Subjects.size()); ++k)
        EXPECT_EQ(grid->Cell(1, k + 1),
                  ResultTexts::SubjectResult(result.Subjects[static_cast<std::size_t>(k)]));
}

TEST_F(CurveDiagnosticsViewTest, DiscardedResults_EmptyTheSection)
{
    LoadAndCalculate();
    ASSERT_GT(Table(u"curveDiagnosticsStandardsGd"_s)->model()->rowCount(), 0);
    TypeConcentration(0, u"9"_s);
    ASSERT_EQ(window->LastResult(), nullptr) << Messages();

    EXPECT_EQ(Table(u"curveDiagnosticsStandardsGd"_s)->model()->rowCount(), 0);
    EXPECT_EQ(Table(u"curveDiagnosticsSubjectsGd"_s)->model()->rowCount(), 0);
    EXPECT_FALSE(Child<QLabel>(u"curveDiagnosticsMessageLa"_s)->isHidden());
    EXPECT_TRUE(Child<QLabel>(u"curveDiagnosticsFitErrorLa"_s)->isHidden());
    EXPECT_TRUE(Child<QLabel>(u"curveDiagnosticsOrderLa"_s)->isHidden());
}

TEST_F(CurveDiagnosticsViewTest, LanguageSwitch_RetextsTheSection)
{
    LoadAndCalculate();
    const QString english = UiText(TextId::CurveDiagnostics);
    for (const auto key : {Qt::Key_G, Qt::Key_9, Qt::Key_E}) {
        QTest::keyClick(window->GetKitBatchNoEd(), key, Qt::ControlModifier);
        SCOPED_TRACE(UiText(TextId::CurveDiagnostics).toStdString());
        EXPECT_EQ(UiText(TextId::CurveDiagnostics) == english, key == Qt::Key_E);
        EXPECT_EQ(Child<QTabWidget>(u"qcTrendsViewsTc"_s)->tabText(1), UiText(TextId::CurveDiagnostics));
        const QTableView *standards = Table(u"curveDiagnosticsStandardsGd"_s);
        EXPECT_EQ(Heading(standards, 3), UiText(TextId::DiagRecovery));
        EXPECT_EQ(Heading(Table(u"curveDiagnosticsSubjectsGd"_s), 1), UiText(TextId::DiagInterval95));
        EXPECT_EQ(Text(standards, 0, 0), u"S1"_s);
        EXPECT_EQ(Child<QLabel>(u"curveDiagnosticsOrderLa"_s)->text(), UiText(TextId::StandardsInOrder));
    }
}

} // namespace
