// The results tables read from a run session alone, without a window: before a calculation,
// after one, after a language switch and after the results are discarded.

#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "files/RunSession.h"
#include "run/MarnovelRdData.h"
#include "run/ResultTexts.h"
#include "support/GuiApplication.h"
#include "ui/main/grids/ResultsViews.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kExampleRun = QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf");

QString Text(const QAbstractItemModel &model, int col, int row, int role = Qt::DisplayRole)
{
    return model.index(row, col).data(role).toString();
}

class ResultsModelsTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(session.LoadRun(kExampleRun).Ok()); }
    void TearDown() override { GetTranslationManager().LoadResource(u"LOCALE_ENGLISH"_s); }

    TRunSession session;
    TStandardsResultsModel standards{session};
    TSubjectResultsModel subjects{session};
};

} // namespace

TEST_F(ResultsModelsTest, BeforeACalculation_NamesAndConcentrationsOnly)
{
    standards.Refresh();
    subjects.Refresh();
    ASSERT_EQ(standards.rowCount(), 9);
    ASSERT_EQ(standards.columnCount(), 5);
    EXPECT_EQ(Text(standards, 0, 0), UiText(TextId::StdHeading));
    EXPECT_EQ(Text(standards, 0, 1), u"S1"_s);
    EXPECT_EQ(Text(standards, 1, 8), FormatFixed(0.0, 3));
    EXPECT_TRUE(Text(standards, 2, 1).isEmpty());
    EXPECT_FALSE(standards.index(1, 4).data(TStandardsResultsModel::PassRole).isValid());
    EXPECT_EQ(Text(subjects, 0, 0), UiText(TextId::SubjectId));
    EXPECT_TRUE(Text(subjects, 1, 1).isEmpty());
}

TEST_F(ResultsModelsTest, Calculated_TheCalculationsTextsFlagsAndRules)
{
    ASSERT_TRUE(session.Calculate().Ok());
    standards.Refresh();
    subjects.Refresh();
    const TRunCalculationResult &result = *session.LastResult();
    for (int col = 0; col < 5; ++col)
        for (int row = 0; row < standards.rowCount(); ++row)
            EXPECT_EQ(Text(standards, col, row),
                      ResultTexts::StandardsTable(result.Qc.Standards).at(col).at(row))
                << col << " " << row;
    EXPECT_TRUE(standards.index(1, 4).data(TStandardsResultsModel::PassRole).toBool());
    EXPECT_TRUE(Text(standards, 4, 1, Qt::ToolTipRole).contains(u"<table"_s));
    // Only the names can be selected.
    EXPECT_TRUE(standards.flags(standards.index(1, 0)).testFlag(Qt::ItemIsSelectable));
    EXPECT_FALSE(standards.flags(standards.index(1, 4)).testFlag(Qt::ItemIsSelectable));

    ASSERT_EQ(subjects.rowCount(), static_cast<int>(result.Subjects.size()) + 1);
    EXPECT_EQ(Text(subjects, 0, 36), u"ID 36"_s);
    EXPECT_EQ(Text(subjects, 1, 36), u"> 10<B>#</B>"_s);
    EXPECT_EQ(Text(subjects, 1, 36, Qt::AccessibleTextRole), u"> 10#"_s);
}

TEST_F(ResultsModelsTest, LanguageSwitched_RetextGivesTheNewLanguagesTexts)
{
    ASSERT_TRUE(session.Calculate().Ok());
    standards.Refresh();
    subjects.Refresh();
    QSignalSpy changed(&standards, &QAbstractItemModel::dataChanged);
    GetTranslationManager().LoadResource(u"LOCALE_GERMAN"_s);
    standards.Retext();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(Text(standards, 4, 1), UiText(TextId::Pass));
    EXPECT_EQ(Text(standards, 3, 8), UiText(TextId::NotApplicable));
    EXPECT_EQ(Text(subjects, 1, 80), UiText(TextId::NotSpecified));
    EXPECT_NE(UiText(TextId::NotApplicable), u"N/A"_s);
}

TEST_F(ResultsModelsTest, ResultsDiscarded_RefreshRemovesTheSubjectRows)
{
    ASSERT_TRUE(session.Calculate().Ok());
    subjects.Refresh();
    const int calculatedRows = subjects.rowCount();
    session.DiscardResults();
    QSignalSpy removed(&subjects, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&subjects, &QAbstractItemModel::modelReset);
    subjects.Refresh();
    EXPECT_EQ(subjects.rowCount(), std::max(session.Data().ResultGridCount().Y, 2));
    EXPECT_EQ(removed.count(), subjects.rowCount() < calculatedRows ? 1 : 0);
    EXPECT_EQ(reset.count(), 0); // rows that stay keep their heights in the view
    EXPECT_TRUE(Text(subjects, 1, 1).isEmpty());
    EXPECT_EQ(Text(subjects, 0, 0), UiText(TextId::SubjectId));
}
