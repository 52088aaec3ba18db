// The texts of a calculation are made from its figures when shown: the same figures give the
// texts of whichever language is loaded then.

#include "RunTestHelpers.h"

#include "core/TextIds.h"
#include "core/UiTextManager.h"
#include "run/ResultTexts.h"
#include "run/RunCalculation.h"
#include "run/linear_regression.h"

#include <gtest/gtest.h>

using namespace RunTest;
using namespace Qt::StringLiterals;

namespace {

class ResultTextsTest : public ::testing::Test
{
protected:
    void TearDown() override { GetTranslationManager().LoadResource(u"LOCALE_ENGLISH"_s); }

    // An 8-point curve and samples with a value, none, a non-numerical one and one above range.
    TRunCalculationResult Calculate()
    {
        data.SetCurveType(CURVE_8POINT);
        AddStandardColumn(data, 1);
        AddStandardColumn(data, 2);
        SetColumn(
            grid, 1,
            {u"2.400"_s, u"1.350"_s, u"0.720"_s, u"0.380"_s, u"0.200"_s, u"0.110"_s, u"0.070"_s, u"0.045"_s});
        SetColumn(
            grid, 2,
            {u"2.300"_s, u"1.300"_s, u"0.700"_s, u"0.370"_s, u"0.210"_s, u"0.116"_s, u"0.072"_s, u"0.047"_s});
        const QStringList samples{u"0.500"_s, u"N/S"_s, u"OVER"_s, u"2.900"_s};
        for (int i = 0; i < samples.size(); ++i)
            AddSample(data, QPoint(3, 1 + i));
        SetColumn(grid, 3, samples);
        return CalculateRun(data, &grid);
    }

    TMarnovelRdData data;
    TTextGrid grid = PlateGrid();
};

} // namespace

// The table the plate's own calculation fills agrees with the one made from the figures.
TEST_F(ResultTextsTest, CalculationLanguage_TextsAreTheResultsOwn)
{
    const TRunCalculationResult result = Calculate();
    TStringGridData table = BuildStandardsTable(data);
    TLinearRegression regression;
    data.calc(nullptr, regression, table);
    EXPECT_EQ(ResultTexts::StandardsTable(result.Qc.Standards), table);
    ASSERT_EQ(result.Subjects.size(), 4u);
    for (const TRunSubjectResult &subject : result.Subjects)
        EXPECT_EQ(ResultTexts::SubjectResult(subject), subject.ResultText) << subject.Id.toStdString();
}

TEST_F(ResultTextsTest, AnotherLanguageLoaded_SameFiguresInItsTexts)
{
    const TRunCalculationResult result = Calculate();
    const TStringGridData english = ResultTexts::StandardsTable(result.Qc.Standards);
    const QStringList englishFootnote = ResultTexts::FootnoteLines(result);
    GetTranslationManager().LoadResource(u"LOCALE_GERMAN"_s);
    ASSERT_NE(UiText(TextId::NotApplicable), u"N/A"_s);

    const TStringGridData table = ResultTexts::StandardsTable(result.Qc.Standards);
    EXPECT_EQ(table.at(0).at(0), UiText(TextId::StdHeading));
    EXPECT_EQ(table.at(4).at(1), UiText(TextId::Pass));
    EXPECT_EQ(table.at(3).at(8), UiText(TextId::NotApplicable)); // the zero standard has no %CV
    for (int col : {0, 1, 2})
        EXPECT_EQ(table.at(col).at(1), english.at(col).at(1)) << col;
    EXPECT_EQ(ResultTexts::Verdict(result), UiText(TextId::ValidRun));
    EXPECT_EQ(ResultTexts::SubjectResult(result.Subjects[1]), UiText(TextId::NotSpecified));
    EXPECT_EQ(ResultTexts::SubjectResult(result.Subjects[2]),
              result.Subjects[2].ResultText); // "> 10" and its mark
    const QStringList footnote = ResultTexts::FootnoteLines(result);
    ASSERT_EQ(footnote.size(), 2);
    EXPECT_NE(footnote, englishFootnote);
    EXPECT_TRUE(footnote.first().startsWith(u"# "_s));
}

TEST(ResultTexts, Figures_ShownWithTheirDecimalsOrNotApplicable)
{
    const struct
    {
        QString shown, expected;
    } cases[] = {
        {ResultTexts::Concentration(0.125), Dec("0.125")},
        {ResultTexts::Mean(2.4004), Dec("2.400")},
        {ResultTexts::Mean(std::nullopt), UiText(TextId::NotApplicable)},
        {ResultTexts::Cv(0.6512), Dec("0.7")},
        {ResultTexts::Cv(std::nullopt), UiText(TextId::NotApplicable)},
        {ResultTexts::PassFail(false), UiText(TextId::Fail)},
        {ResultTexts::Correlation(0.996), Dec("1.00")},
        {ResultTexts::CurveValue(-0.94246), Dec("-0.9425")},
        {ResultTexts::StandardsHeading(5), QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.shown, c.expected) << c.expected.toStdString();
}
