// Standard curve, quality control and the whole-run calculation. Expected numbers were
// worked out independently (running-mean regression, half-up rounding at decimals,
// single-precision means for the S1 and low-standard rules).

#include "RunTestHelpers.h"

#include "core/RegionalGuard.h"
#include "core/UiTextManager.h"
#include "run/ResultTexts.h"
#include "run/RunCalculation.h"
#include "run/linear_regression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

using namespace RunTest;
using namespace Qt::StringLiterals;

namespace {

const QStringList Std8A{u"2.400"_s, u"1.350"_s, u"0.720"_s, u"0.380"_s,
                        u"0.200"_s, u"0.110"_s, u"0.070"_s, u"0.045"_s};
const QStringList Std8B{u"2.300"_s, u"1.300"_s, u"0.700"_s, u"0.370"_s,
                        u"0.210"_s, u"0.116"_s, u"0.072"_s, u"0.047"_s};
const QStringList Std4A{u"1.500"_s, u"0.450"_s, u"0.140"_s, u"0.040"_s};
const QStringList Std4B{u"1.400"_s, u"0.430"_s, u"0.150"_s, u"0.050"_s};

QStringList With(QStringList texts, int index, const QString &text)
{
    texts[index] = text;
    return texts;
}

// Two replicate series in grid columns 1 and 2 and research samples down column 3.
class RunCalc : public ::testing::Test
{
protected:
    void Layout(TCurveType curve, const QStringList &seriesA, const QStringList &seriesB,
                const QStringList &samples = {QStringLiteral("0.500")})
    {
        data.SetCurveType(curve);
        AddStandardColumn(data, 1);
        AddStandardColumn(data, 2);
        SetColumn(grid, 1, seriesA);
        SetColumn(grid, 2, seriesB);
        for (int i = 0; i < samples.size(); ++i)
            AddSample(data, QPoint(3, 1 + i));
        SetColumn(grid, 3, samples);
    }

    TRunCalculationResult Calculate() { return CalculateRun(data, &grid); }

    TMarnovelRdData data;
    TTextGrid grid = PlateGrid();
};

QString Cell(const TRunCalculationResult &result, int col, int row)
{
    return ResultTexts::StandardsTable(result.Qc.Standards).at(col).at(row);
}

} // namespace

TEST_F(RunCalc, CalculateRun_ValidEightPointPlateFromPaste_FillsTableCurveAndResults)
{
    // Plate text pasted as a reader gives it; the blocks read it through the plate grid.
    const QStringList samples{u"1.000"_s, u"0.500"_s, u"0.100"_s, u"2.000"_s,
                              u"2.900"_s, u"N/S"_s,   u"OVER"_s,  u"0.000"_s};
    Layout(CURVE_8POINT, Std8A, Std8B, samples);
    QStringList lines;
    for (int r = 1; r <= 8; ++r) {
        QStringList cells;
        for (int c = 1; c <= 12; ++c)
            cells.append(grid.Cell(c, r));
        lines.append(cells.join(QLatin1Char('\t')));
    }
    ASSERT_TRUE(Paste(data, Lines(lines)));

    const TRunCalculationResult result = CalculateRun(data);

    const QStringList headings{UiText(74), UiText(75), UiText(76), UiText(77), UiText(78)};
    ASSERT_EQ(ResultTexts::StandardsTable(result.Qc.Standards).size(), headings.size());
    for (int c = 0; c < headings.size(); ++c)
        EXPECT_EQ(Cell(result, c, 0), headings.at(c));
    const QStringList names{u"S1"_s, u"S2"_s, u"S3"_s, u"S4"_s, u"S5"_s, u"S6"_s, u"S7"_s, u"S8"_s};
    const QStringList conc{u"8.000"_s, u"4.000"_s, u"2.000"_s, u"1.000"_s,
                           u"0.500"_s, u"0.250"_s, u"0.125"_s, u"0.000"_s};
    const QStringList means{u"2.350"_s, u"1.325"_s, u"0.710"_s, u"0.375"_s,
                            u"0.205"_s, u"0.113"_s, u"0.071"_s, u"0.046"_s};
    const QStringList cvs{u"3.0"_s, u"2.7"_s, u"2.0"_s, u"1.9"_s, u"3.4"_s, u"N/A"_s, u"N/A"_s, u"N/A"_s};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(names.at(i).toStdString());
        EXPECT_EQ(Cell(result, 0, i + 1), names.at(i));
        EXPECT_EQ(Cell(result, 1, i + 1), Dec(conc.at(i)));
        EXPECT_EQ(Cell(result, 2, i + 1), Dec(means.at(i)));
        EXPECT_EQ(Cell(result, 3, i + 1), Dec(cvs.at(i)));
        EXPECT_EQ(Cell(result, 4, i + 1), QStringLiteral("PASS"));
        EXPECT_TRUE(result.Qc.Standards.at(static_cast<std::size_t>(i)).Passed);
    }

    // The zero standard is never a curve point.
    ASSERT_EQ(result.CurvePoints.size(), 7u);
    EXPECT_DOUBLE_EQ(result.CurvePoints.front().X, std::log(8.0));
    EXPECT_NEAR(result.CurvePoints.front().Y, std::log(2.35), 1e-12);
    EXPECT_EQ(result.CurvePoints.front().Color, 0x00FF0000u);
    EXPECT_EQ(ResultTexts::CurveValue(result.Intercept), Dec("-0.9425"));
    EXPECT_EQ(ResultTexts::CurveValue(result.Slope), Dec("0.8586"));
    EXPECT_EQ(ResultTexts::Correlation(result.Correlation), Dec("1.00"));
    EXPECT_TRUE(result.CorrelationPass);
    EXPECT_TRUE(result.Valid);
    EXPECT_EQ(ResultTexts::Verdict(result), UiText(87));
    EXPECT_FALSE(result.PlateWashNote);

    struct Expected
    {
        const char *text;
        QStringList marks;
        std::optional<double> value;
    };
    const std::vector<Expected> expected{
        {"3.00", {}, 3.00},
        {"1.34", {}, 1.34},
        {"0.21", {}, 0.21},
        {"6.72", {}, 6.72},
        {"> 10<B>¶</B>", {QStringLiteral("¶")}, 10.36},
        {"N/S", {}, std::nullopt},
        {"> 10<B>#</B>", {QStringLiteral("#")}, std::nullopt},
        {"0.00", {}, 0.0},
    };
    ASSERT_EQ(result.Subjects.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(result.Subjects[i].Id, QStringLiteral("ID ") + QString::number(i + 1));
        EXPECT_EQ(result.Subjects[i].ResultText, Dec(expected[i].text));
        EXPECT_EQ(result.Subjects[i].Marks, expected[i].marks);
        ASSERT_EQ(result.Subjects[i].Value.has_value(), expected[i].value.has_value());
        if (expected[i].value) {
            EXPECT_NEAR(*result.Subjects[i].Value, *expected[i].value, 1e-9);
        }
    }
    EXPECT_EQ(ResultTexts::FootnoteLines(result),
              QStringList({QStringLiteral("# ") + UiText(285), QStringLiteral("¶ ") + UiText(286)}));
}

TEST_F(RunCalc, CalculateRun_ValidFourPointRun_PassesWithThreeCurvePoints)
{
    Layout(CURVE_4POINT, Std4A, Std4B, {u"1.000"_s, u"0.300"_s, u"0.100"_s, u"2.000"_s});

    const TRunCalculationResult result = Calculate();

    ASSERT_EQ(ResultTexts::StandardsTable(result.Qc.Standards).at(0).size(), 5);
    const QStringList means{u"1.450"_s, u"0.440"_s, u"0.145"_s, u"0.045"_s};
    const QStringList cvs{u"4.9"_s, u"3.2"_s, u"N/A"_s, u"N/A"_s};
    const QStringList conc{u"4.000"_s, u"1.000"_s, u"0.250"_s, u"0.000"_s};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Cell(result, 1, i + 1), Dec(conc.at(i)));
        EXPECT_EQ(Cell(result, 2, i + 1), Dec(means.at(i)));
        EXPECT_EQ(Cell(result, 3, i + 1), Dec(cvs.at(i)));
        EXPECT_EQ(Cell(result, 4, i + 1), QStringLiteral("PASS"));
    }
    EXPECT_EQ(result.CurvePoints.size(), 3u);
    EXPECT_EQ(ResultTexts::CurveValue(result.Intercept), Dec("-0.7935"));
    EXPECT_EQ(ResultTexts::CurveValue(result.Slope), Dec("0.8305"));
    EXPECT_TRUE(result.Valid);
    const QStringList texts{u"2.60"_s, u"0.61"_s, u"0.16"_s, u"5.99"_s};
    ASSERT_EQ(result.Subjects.size(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(result.Subjects[i].ResultText, Dec(texts.at(i)));
    EXPECT_TRUE(ResultTexts::FootnoteLines(result).isEmpty());
}

// One standard row checked per case; the rest of the plate is the valid 8-point run.
struct QcCase
{
    QString name;
    TCurveType curve;
    QStringList seriesA, seriesB;
    int standard;
    QString mean, cv, qc;
    bool valid;
};

class QcRules : public RunCalc, public ::testing::WithParamInterface<QcCase>
{
};

TEST_P(QcRules, CalculateRun_StandardRow_GetsExpectedTextsAndVerdict)
{
    const QcCase &c = GetParam();
    Layout(c.curve, c.seriesA, c.seriesB);

    const TRunCalculationResult result = Calculate();

    const int row = c.standard + 1;
    EXPECT_EQ(Cell(result, 2, row), Dec(c.mean));
    EXPECT_EQ(Cell(result, 3, row), Dec(c.cv));
    EXPECT_EQ(Cell(result, 4, row), c.qc);
    EXPECT_EQ(result.Qc.Standards.at(static_cast<std::size_t>(c.standard)).Passed,
              c.qc == QStringLiteral("PASS"));
    EXPECT_EQ(result.Valid, c.valid);
    EXPECT_EQ(ResultTexts::Verdict(result), UiText(c.valid ? 87 : 364));
}

INSTANTIATE_TEST_SUITE_P(
    Standards, QcRules,
    ::testing::Values(QcCase{u"AllValid"_s, CURVE_8POINT, Std8A, Std8B, 0, u"2.350"_s, u"3.0"_s, u"PASS"_s,
                             true},
                      QcCase{u"CvTooHigh"_s, CURVE_8POINT, With(Std8A, 1, u"1.000"_s),
                             With(Std8B, 1, u"1.500"_s), 1, u"1.250"_s, u"28.3"_s, u"FAIL"_s, false},
                      QcCase{u"Cv1504Passes"_s, CURVE_8POINT, With(Std8A, 1, u"1.4382535179"_s),
                             With(Std8B, 1, u"1.1617464821"_s), 1, u"1.300"_s, u"15.0"_s, u"PASS"_s, true},
                      QcCase{u"Cv1506Fails"_s, CURVE_8POINT, With(Std8A, 1, u"1.4384373656"_s),
                             With(Std8B, 1, u"1.1615626344"_s), 1, u"1.300"_s, u"15.1"_s, u"FAIL"_s, false},
                      QcCase{u"LowStandardWithin40"_s, CURVE_8POINT, With(Std8A, 5, u"0.100"_s),
                             With(Std8B, 5, u"0.170"_s), 5, u"0.135"_s, u"N/A"_s, u"PASS"_s, true},
                      QcCase{u"LowStandardBeyond40"_s, CURVE_8POINT, With(Std8A, 5, u"0.100"_s),
                             With(Std8B, 5, u"0.190"_s), 5, u"0.145"_s, u"N/A"_s, u"FAIL"_s, false},
                      QcCase{u"S1Mean11996Passes"_s, CURVE_8POINT, With(Std8A, 0, u"1.1996"_s),
                             With(Std8B, 0, u"1.1996"_s), 0, u"1.200"_s, u"0.0"_s, u"PASS"_s, true},
                      QcCase{u"S1Mean11994Fails"_s, CURVE_8POINT, With(Std8A, 0, u"1.1994"_s),
                             With(Std8B, 0, u"1.1994"_s), 0, u"1.199"_s, u"0.0"_s, u"FAIL"_s, false},
                      QcCase{u"FourPointS1Mean05996Passes"_s, CURVE_4POINT, With(Std4A, 0, u"0.5996"_s),
                             With(Std4B, 0, u"0.5996"_s), 0, u"0.600"_s, u"0.0"_s, u"PASS"_s, false},
                      QcCase{u"FourPointS1Mean05994Fails"_s, CURVE_4POINT, With(Std4A, 0, u"0.5994"_s),
                             With(Std4B, 0, u"0.5994"_s), 0, u"0.599"_s, u"0.0"_s, u"FAIL"_s, false},
                      QcCase{u"NotSpecifiedReplicate"_s, CURVE_8POINT, Std8A, With(Std8B, 1, u"N/S"_s), 1,
                             u"N/A"_s, u"0.0"_s, u"FAIL"_s, false},
                      QcCase{u"NonNumericReplicateCountsAsFour"_s, CURVE_8POINT, Std8A,
                             With(Std8B, 1, u"OVER"_s), 1, u"N/A"_s, u"70.0"_s, u"FAIL"_s, false},
                      QcCase{u"LowStandardAllNotSpecified"_s, CURVE_8POINT, With(Std8A, 5, u"N/S"_s),
                             With(Std8B, 5, u"N/S"_s), 5, u"N/A"_s, u"N/A"_s, u"FAIL"_s, false},
                      QcCase{u"ZeroStandardNotSpecified"_s, CURVE_8POINT, Std8A, With(Std8B, 7, u"N/S"_s), 7,
                             u"N/A"_s, u"N/A"_s, u"FAIL"_s, false}),
    [](const ::testing::TestParamInfo<QcCase> &info) { return info.param.name.toStdString(); });

// ---- the QC records: every rule the calculation applied, with its threshold and the
// value at the precision it compares ----

struct RuleRecord
{
    const char *name;
    double threshold;
    std::optional<double> measured;
    bool passed;
};

void ExpectRecords(const std::vector<TQcCheck> &checks, const std::vector<RuleRecord> &expected)
{
    ASSERT_EQ(checks.size(), expected.size());
    for (std::size_t i = 0; i < checks.size(); ++i) {
        const TQcCheck &check = checks[i];
        const RuleRecord &want = expected[i];
        SCOPED_TRACE(want.name);
        EXPECT_EQ(check.Rule.Name, QLatin1StringView(want.name));
        EXPECT_DOUBLE_EQ(check.Rule.Threshold, want.threshold);
        ASSERT_EQ(check.Measured.has_value(), want.measured.has_value());
        if (want.measured) {
            EXPECT_DOUBLE_EQ(*check.Measured, *want.measured);
        }
        EXPECT_EQ(check.Passed, want.passed);
    }
}

struct QcRecordCase
{
    QString name;
    TCurveType curve;
    QStringList seriesA, seriesB;
    int standard;
    std::vector<RuleRecord> checks;
    bool passed;
};

class QcRecords : public RunCalc, public ::testing::WithParamInterface<QcRecordCase>
{
};

TEST_P(QcRecords, CalculateRun_Standard_RecordsEveryRuleApplied)
{
    const QcRecordCase &c = GetParam();
    Layout(c.curve, c.seriesA, c.seriesB);

    const TRunCalculationResult result = Calculate();

    ASSERT_EQ(result.Qc.Standards.size(),
              static_cast<std::size_t>(ResultTexts::StandardsTable(result.Qc.Standards).at(0).size() - 1));
    const TStandardQc &standard = result.Qc.Standards.at(static_cast<std::size_t>(c.standard));
    EXPECT_EQ(standard.Name, Cell(result, 0, c.standard + 1));
    ExpectRecords(standard.Checks, c.checks);
    EXPECT_EQ(standard.Passed, c.passed);
    // The records agree with the table and the verdict they explain.
    int failed = 0;
    for (std::size_t i = 0; i < result.Qc.Standards.size(); ++i) {
        const TStandardQc &each = result.Qc.Standards[i];
        EXPECT_EQ(Cell(result, 4, static_cast<int>(i) + 1), UiText(each.Passed ? 79 : 80))
            << each.Name.toStdString();
        failed += each.Passed ? 0 : 1;
    }
    ASSERT_FALSE(result.Qc.Run.empty());
    ExpectRecords({result.Qc.Run.front()}, {{"standardsPass", 0.0, failed, failed == 0}});
    bool valid = true;
    for (const TQcCheck &check : result.Qc.Run)
        valid = valid && (check.Passed || check.Rule.Advisory);
    EXPECT_EQ(valid, result.Valid);
}

INSTANTIATE_TEST_SUITE_P(
    Standards, QcRecords,
    ::testing::Values(QcRecordCase{u"TopStandard"_s,
                                   CURVE_8POINT,
                                   Std8A,
                                   Std8B,
                                   0,
                                   {{"replicatesComplete", 0.0, 0.0, true},
                                    {"topStandardMeanOd", 1.2, 2.35, true},
                                    {"cv", 15.0, 3.0, true}},
                                   true},
                      QcRecordCase{u"MiddleStandard"_s,
                                   CURVE_8POINT,
                                   Std8A,
                                   Std8B,
                                   1,
                                   {{"replicatesComplete", 0.0, 0.0, true}, {"cv", 15.0, 2.7, true}},
                                   true},
                      QcRecordCase{u"CvTooHigh"_s,
                                   CURVE_8POINT,
                                   With(Std8A, 1, u"1.000"_s),
                                   With(Std8B, 1, u"1.500"_s),
                                   1,
                                   {{"replicatesComplete", 0.0, 0.0, true}, {"cv", 15.0, 28.3, false}},
                                   false},
                      QcRecordCase{u"Cv1504ComparedAs150"_s,
                                   CURVE_8POINT,
                                   With(Std8A, 1, u"1.4382535179"_s),
                                   With(Std8B, 1, u"1.1617464821"_s),
                                   1,
                                   {{"replicatesComplete", 0.0, 0.0, true}, {"cv", 15.0, 15.0, true}},
                                   true},
                      QcRecordCase{u"Cv1506ComparedAs151"_s,
                                   CURVE_8POINT,
                                   With(Std8A, 1, u"1.4384373656"_s),
                                   With(Std8B, 1, u"1.1615626344"_s),
                                   1,
                                   {{"replicatesComplete", 0.0, 0.0, true}, {"cv", 15.0, 15.1, false}},
                                   false},
                      // Single-precision mean 0.13500000536: both deviations compare as 0.035.
                      QcRecordCase{u"LowStandardWithin40"_s,
                                   CURVE_8POINT,
                                   With(Std8A, 5, u"0.100"_s),
                                   With(Std8B, 5, u"0.170"_s),
                                   5,
                                   {{"replicatesComplete", 0.0, 0.0, true},
                                    {"lowStandardReplicateAgreement", 0.04, 0.035, true}},
                                   true},
                      QcRecordCase{u"LowStandardBeyond40"_s,
                                   CURVE_8POINT,
                                   With(Std8A, 5, u"0.100"_s),
                                   With(Std8B, 5, u"0.190"_s),
                                   5,
                                   {{"replicatesComplete", 0.0, 0.0, true},
                                    {"lowStandardReplicateAgreement", 0.04, 0.045, false}},
                                   false},
                      // The %CV rule is not applied once the S1 mean has failed.
                      QcRecordCase{
                          u"S1Mean11994Fails"_s,
                          CURVE_8POINT,
                          With(Std8A, 0, u"1.1994"_s),
                          With(Std8B, 0, u"1.1994"_s),
                          0,
                          {{"replicatesComplete", 0.0, 0.0, true}, {"topStandardMeanOd", 1.2, 1.199, false}},
                          false},
                      QcRecordCase{u"FourPointS1Mean05996Passes"_s,
                                   CURVE_4POINT,
                                   With(Std4A, 0, u"0.5996"_s),
                                   With(Std4B, 0, u"0.5996"_s),
                                   0,
                                   {{"replicatesComplete", 0.0, 0.0, true},
                                    {"topStandardMeanOd", 0.6, 0.6, true},
                                    {"cv", 15.0, 0.0, true}},
                                   true},
                      QcRecordCase{u"NotSpecifiedReplicate"_s,
                                   CURVE_8POINT,
                                   Std8A,
                                   With(Std8B, 1, u"N/S"_s),
                                   1,
                                   {{"replicatesComplete", 0.0, 1.0, false}, {"cv", 15.0, 0.0, true}},
                                   false},
                      QcRecordCase{u"NonNumericReplicate"_s,
                                   CURVE_8POINT,
                                   Std8A,
                                   With(Std8B, 1, u"OVER"_s),
                                   1,
                                   {{"replicatesComplete", 0.0, 1.0, false}, {"cv", 15.0, 70.0, false}},
                                   false},
                      // No replicate to compare: the agreement rule is not applied.
                      QcRecordCase{u"LowStandardAllNotSpecified"_s,
                                   CURVE_8POINT,
                                   With(Std8A, 5, u"N/S"_s),
                                   With(Std8B, 5, u"N/S"_s),
                                   5,
                                   {{"replicatesComplete", 0.0, 2.0, false}},
                                   false}),
    [](const ::testing::TestParamInfo<QcRecordCase> &info) { return info.param.name.toStdString(); });

// Three series: the record keeps the largest deviation, wherever its replicate lies (the
// verdict alone would not show a record of another one).
TEST_F(RunCalc, CalculateRun_ThreeSeriesLowStandard_RecordsLargestDeviation)
{
    Layout(CURVE_8POINT, With(Std8A, 5, u"0.110"_s), With(Std8B, 5, u"0.121"_s));
    AddStandardColumn(data, 4);
    SetColumn(grid, 4, With(Std8A, 5, u"0.113"_s));

    const TRunCalculationResult result = Calculate();

    // Mean 0.11467: deviations 0.005, 0.006 and 0.002 at the rule's precision.
    ASSERT_EQ(result.Qc.Standards.size(), 8u);
    ExpectRecords(result.Qc.Standards[5].Checks, {{"replicatesComplete", 0.0, 0.0, true},
                                                  {"lowStandardReplicateAgreement", 0.04, 0.006, true}});
    EXPECT_TRUE(result.Qc.Standards[5].Passed);
}

TEST_F(RunCalc, CalculateRun_RunRules_RecordedInOrderWithPlateWashingLast)
{
    const struct
    {
        const char *name;
        QStringList seriesA, seriesB;
        std::vector<RuleRecord> run;
        bool valid;
    } cases[] = {
        {"valid run",
         Std8A,
         Std8B,
         {{"standardsPass", 0.0, 0.0, true},
          {"correlation", 0.98, 1.0, true},
          {"standardsComplete", 0.0, 0.0, true},
          {"plateWashing", 0.15, 0.046, true}},
         true},
        // The plate-washing note does not decide the verdict.
        {"zero standard above 0.150",
         With(Std8A, 7, u"0.150"_s),
         With(Std8B, 7, u"0.152"_s),
         {{"standardsPass", 0.0, 0.0, true},
          {"correlation", 0.98, 1.0, true},
          {"standardsComplete", 0.0, 0.0, true},
          {"plateWashing", 0.15, 0.151, false}},
         true},
        // The completeness of the standard wells is checked only while the run is still valid.
        {"poor correlation",
         {u"2.400"_s, u"0.300"_s, u"2.200"_s, u"0.380"_s, u"0.900"_s, u"0.110"_s, u"0.070"_s, u"0.045"_s},
         {u"2.300"_s, u"0.310"_s, u"2.100"_s, u"0.370"_s, u"0.910"_s, u"0.116"_s, u"0.072"_s, u"0.047"_s},
         {{"standardsPass", 0.0, 0.0, true},
          {"correlation", 0.98, 0.75, false},
          {"plateWashing", 0.15, 0.046, true}},
         false},
        // A zero standard without a mean gives no value to compare and no note.
        {"zero standard not specified",
         Std8A,
         With(Std8B, 7, u"N/S"_s),
         {{"standardsPass", 0.0, 1.0, false},
          {"correlation", 0.98, 1.0, true},
          {"plateWashing", 0.15, std::nullopt, true}},
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        data.clear();
        grid = PlateGrid();
        Layout(CURVE_8POINT, c.seriesA, c.seriesB);
        const TRunCalculationResult result = Calculate();
        ExpectRecords(result.Qc.Run, c.run);
        EXPECT_EQ(result.Valid, c.valid);
        EXPECT_TRUE(result.Qc.Run.back().Rule.Advisory);
        EXPECT_EQ(result.PlateWashNote, !result.Qc.Run.back().Passed);
    }
}

TEST_F(RunCalc, Calc_MathError_LeavesCallersQcRecordsUnchanged)
{
    Layout(CURVE_8POINT, With(Std8A, 1, u"N/S"_s), With(Std8B, 1, u"N/S"_s));
    data.SetValues(grid);
    TStringGridData table = BuildStandardsTable(data);
    TRunQc qc;
    qc.Run.push_back(TQcCheck{QcRule::Correlation, 0.5, false});
    TLinearRegression reg;
    EXPECT_THROW(data.calc(nullptr, reg, table, &qc), EMathError);
    EXPECT_TRUE(qc.Standards.empty());
    ASSERT_EQ(qc.Run.size(), 1u);
    EXPECT_EQ(qc.Run.front().Measured.value_or(-1.0), 0.5);
}

TEST(QcRuleCheck, CheckQcRule_ComparesAtTheRulesPrecision)
{
    const struct
    {
        const char *what;
        TQcRule rule;
        double value;
        std::optional<double> measured;
        bool passed;
    } cases[] = {
        {"r 0.9751 counts as 0.98", QcRule::Correlation, 0.9751, 0.98, true},
        {"r 0.9749 counts as 0.97", QcRule::Correlation, 0.9749, 0.97, false},
        // Half up on the integer part: towards zero for a negative value.
        {"negative r", QcRule::Correlation, -0.985, -0.98, false},
        {"not a number", QcRule::Correlation, NAN, std::nullopt, false},
        {"infinite mean", QcRule::TopStandardMeanOd8Point, INFINITY, std::nullopt, false},
        // Scaled beyond 32 bits: compared as it is, never an overflow.
        {"huge %CV", QcRule::Cv, 3.0e9, 3.0e9, false},
        {"huge mean", QcRule::TopStandardMeanOd4Point, 5.0e6, 5.0e6, true},
        {"huge negative mean", QcRule::TopStandardMeanOd4Point, -5.0e6, -5.0e6, false},
        {"deviation 0.0404", QcRule::LowStandardReplicateAgreement, 0.0404, 0.04, true},
        {"deviation 0.0405", QcRule::LowStandardReplicateAgreement, 0.0405, 0.041, false},
        // Without decimals the value is compared as it is: 0.1504 is above 0.150.
        {"zero standard 0.1504", QcRule::PlateWashing, 0.1504, 0.1504, false},
        {"zero standard 0.150", QcRule::PlateWashing, 0.150, 0.150, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const TQcCheck check = CheckQcRule(c.rule, c.value);
        EXPECT_EQ(check.Rule.Name, c.rule.Name);
        EXPECT_EQ(check.Passed, c.passed);
        ASSERT_EQ(check.Measured.has_value(), c.measured.has_value());
        if (c.measured) {
            EXPECT_DOUBLE_EQ(*check.Measured, *c.measured);
        }
    }
    EXPECT_EQ(&QcRule::TopStandardMeanOd(CURVE_4POINT), &QcRule::TopStandardMeanOd4Point);
    EXPECT_EQ(&QcRule::TopStandardMeanOd(CURVE_8POINT), &QcRule::TopStandardMeanOd8Point);
}

TEST(QcRules, Sentence_WhatWasMeasuredItsBoundAndTheResultInTheOperatorsWords)
{
    const struct
    {
        TQcRule rule;
        double value;
        QString sentence;
    } cases[] = {
        {QcRule::Correlation, 0.9990,
         u"Correlation coefficient "_s + Dec("1.00") + u" \u2265 "_s + Dec("0.98") + u": PASS"_s},
        {QcRule::Cv, 17.04, u"% CV "_s + Dec("17.0") + u" \u2264 "_s + Dec("15.0") + u": FAIL"_s},
        {QcRule::PlateWashing, 0.151,
         u"Mean OD of the zero standard "_s + Dec("0.151") + u" \u2264 "_s + Dec("0.150") + u": FAIL"_s},
        {QcRule::TopStandardMeanOd4Point, NAN,
         u"Mean OD of the top standard \u2013 \u2265 "_s + Dec("0.600") + u": FAIL"_s},
        // Rules that count what is wrong compare nothing worth showing: "0 <= 0" is no sentence.
        {QcRule::ReplicatesComplete, 0, u"Every replicate holds a numerical OD: PASS"_s},
        {QcRule::ReplicatesComplete, 2, u"Replicates missing or not numerical (2): FAIL"_s},
        {QcRule::StandardsPass, 0, u"Every standard meets its QC criteria: PASS"_s},
        {QcRule::StandardsPass, 3, u"Standards not meeting their QC criteria (3): FAIL"_s},
        {QcRule::StandardsComplete, 0, u"Every standard well holds a numerical OD: PASS"_s},
        {QcRule::StandardsComplete, 1, u"Standard wells without a numerical OD (1): FAIL"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sentence.toStdString());
        EXPECT_EQ(QcCheckSentence(CheckQcRule(c.rule, c.value)), c.sentence);
    }
}

TEST_F(RunCalc, CalculateRun_PoorCorrelation_StandardsPassButRunInvalid)
{
    Layout(CURVE_8POINT,
           {u"2.400"_s, u"0.300"_s, u"2.200"_s, u"0.380"_s, u"0.900"_s, u"0.110"_s, u"0.070"_s, u"0.045"_s},
           {u"2.300"_s, u"0.310"_s, u"2.100"_s, u"0.370"_s, u"0.910"_s, u"0.116"_s, u"0.072"_s, u"0.047"_s});

    const TRunCalculationResult result = Calculate();

    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(Cell(result, 4, i), QStringLiteral("PASS"));
    EXPECT_EQ(ResultTexts::Correlation(result.Correlation), Dec("0.75"));
    EXPECT_FALSE(result.CorrelationPass);
    EXPECT_FALSE(result.Valid);
    EXPECT_EQ(ResultTexts::Verdict(result), UiText(364));
}

TEST(RunCalcCoefficient, IsValidCoefficient_RoundsToTwoDecimalsBeforeComparing)
{
    const struct
    {
        double r;
        bool valid;
    } cases[] = {{0.98, true}, {0.9751, true}, {0.9749, false}, {1.0, true}, {-0.99, false}, {NAN, false}};
    for (const auto &c : cases)
        EXPECT_EQ(TMarnovelData::IsValidCoefficient(c.r), c.valid) << c.r;
}

TEST_F(RunCalc, CalculateRun_ZeroStandardMean_PlateWashNoteOnlyAbove0150)
{
    const struct
    {
        const char *a, *b;
        bool note;
    } cases[] = {{"0.150", "0.150", false}, {"0.150", "0.152", true}, {"N/S", "0.300", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.b);
        data.clear();
        grid = PlateGrid();
        Layout(CURVE_8POINT, With(Std8A, 7, QString::fromUtf8(c.a)), With(Std8B, 7, QString::fromUtf8(c.b)));
        EXPECT_EQ(Calculate().PlateWashNote, c.note);
    }
}

TEST(RunCalcPlateWash, ShouldShowPlateWashing_ReadsMeanText)
{
    EXPECT_FALSE(ShouldShowPlateWashing(Dec("0.150")));
    EXPECT_TRUE(ShouldShowPlateWashing(Dec("0.151")));
    EXPECT_FALSE(ShouldShowPlateWashing(QStringLiteral("N/A")));
    EXPECT_FALSE(ShouldShowPlateWashing(QString()));
}

// Data that cannot be calculated: one distinct error, whatever the cause.
struct MathCase
{
    QString name;
    TCurveType curve;
    QStringList seriesA, seriesB, samples;
    QList<double> ownConcentrations; // empty: the defaults
};

class CannotCalculate : public RunCalc, public ::testing::WithParamInterface<MathCase>
{
};

TEST_P(CannotCalculate, CalculateRun_RaisesMathError)
{
    const MathCase &c = GetParam();
    Layout(c.curve, c.seriesA, c.seriesB, c.samples);
    if (!c.ownConcentrations.isEmpty())
        data.SetCurveType(c.curve, c.ownConcentrations);
    EXPECT_THROW(Calculate(), EMathError);
}

const QStringList Flat8(8, u"1.500"_s);

INSTANTIATE_TEST_SUITE_P(
    Runs, CannotCalculate,
    ::testing::Values(
        // 0 / 0 for the %CV of a standard that is not a low one
        MathCase{u"NonLowStandardAllNotSpecified"_s,
                 CURVE_8POINT,
                 With(Std8A, 1, u"N/S"_s),
                 With(Std8B, 1, u"N/S"_s),
                 {u"0.500"_s},
                 {}},
        MathCase{u"NegativeStandardMean"_s,
                 CURVE_8POINT,
                 With(Std8A, 2, u"-0.100"_s),
                 With(Std8B, 2, u"-0.100"_s),
                 {u"0.500"_s},
                 {}},
        MathCase{u"NegativeLowStandardMean"_s,
                 CURVE_8POINT,
                 With(Std8A, 5, u"-0.100"_s),
                 With(Std8B, 5, u"-0.100"_s),
                 {u"0.500"_s},
                 {}},
        MathCase{u"StandardMeanOverflows"_s,
                 CURVE_8POINT,
                 With(Std8A, 0, u"1e308"_s),
                 With(Std8B, 0, u"1e308"_s),
                 {u"0.500"_s},
                 {}},
        MathCase{u"NegativeSampleOD"_s, CURVE_8POINT, Std8A, Std8B, {u"0.500"_s, u"-0.500"_s}, {}},
        // fewer than two distinct x: slope and intercept divide by zero
        MathCase{u"AllConcentrationsEqual"_s, CURVE_4POINT, Std4A, Std4B, {u"0.500"_s}, {1.0, 1.0, 1.0, 0.0}},
        MathCase{u"OnlyOneCurvePoint"_s, CURVE_4POINT, Std4A, Std4B, {u"0.500"_s}, {4.0, 0.0, 0.0, 0.0}},
        // slope 0: every sample OD divides by zero
        MathCase{u"FlatCurve"_s, CURVE_8POINT, Flat8, Flat8, {u"0.500"_s}, {}}),
    [](const ::testing::TestParamInfo<MathCase> &info) { return info.param.name.toStdString(); });

TEST_F(RunCalc, Calc_MathError_LeavesCallersTableUnchanged)
{
    Layout(CURVE_8POINT, With(Std8A, 1, u"N/S"_s), With(Std8B, 1, u"N/S"_s));
    data.SetValues(grid);
    TStringGridData table = BuildStandardsTable(data);
    const TStringGridData before = table;
    TLinearRegression reg;
    EXPECT_THROW(data.calc(nullptr, reg, table), EMathError);
    EXPECT_EQ(table, before);
}

// More series than a calculation takes: a one-line refusal of the run, before the
// calculation's own limit would raise.
TEST_F(RunCalc, CalculateRun_TwentyTwoStandardSeries_NotCalculable)
{
    // 4-well standard blocks, two per column: 22 replicates need 11 columns.
    data.SetCurveType(CURVE_4POINT);
    for (int c = 1; c <= 11; ++c) {
        SetColumn(grid, c, Std4A + Std4A);
        AddStandardColumn(data, c, 1);
        AddStandardColumn(data, c, 5);
    }
    AddSample(data, QPoint(12, 1));
    try {
        (void)Calculate();
        ADD_FAILURE() << "the run was calculated";
    } catch (const ERunNotCalculable &error) {
        EXPECT_EQ(error.Message(), u"22 standard series are laid out; a calculation takes at most 21."_s);
    }
    data.SetValues(grid);
    TStringGridData table = BuildStandardsTable(data);
    TLinearRegression reg;
    EXPECT_THROW(data.calc(nullptr, reg, table), ERangeError);

    data.StdBlocks().remove(data.StdBlocks().getCellInteger(21));
    const TRunCalculationResult result = Calculate();
    EXPECT_TRUE(result.Valid);
    EXPECT_EQ(Cell(result, 2, 1), Dec("1.500"));
}

TEST_F(RunCalc, CalculateRun_NotReadyRuns_RaiseNotCalculable)
{
    data.SetCurveType(CURVE_8POINT);
    AddStandardColumn(data, 1);
    AddSample(data, QPoint(3, 1));
    EXPECT_THROW(Calculate(), ERunNotCalculable); // one standard block

    AddStandardColumn(data, 2);
    data.StdConc()[2] = -1.0f;
    EXPECT_THROW(Calculate(), ERunNotCalculable); // negative concentration

    data.ClearRawData();
    data.init(false);
    EXPECT_THROW(Calculate(), ERunNotCalculable); // no sample
}

TEST_F(RunCalc, CalculateRun_CorrectedValue_DropsEarlierMarkAndFootnote)
{
    Layout(CURVE_8POINT, Std8A, Std8B, {u"OVER"_s});
    ASSERT_EQ(ResultTexts::FootnoteLines(Calculate()).size(), 1);

    SetColumn(grid, 3, {u"0.500"_s});
    const TRunCalculationResult result = Calculate();
    EXPECT_TRUE(ResultTexts::FootnoteLines(result).isEmpty());
    EXPECT_TRUE(result.Subjects.at(0).Marks.isEmpty());
    EXPECT_FALSE(data.AnnotationExists(AT_INVALIDVALUE, 0, 0));
}

// Calculating again keeps what did not change, but must read every changed well and every
// well whose separator changed, and write every changed result.
TEST_F(RunCalc, CalculateRun_Again_ReadsChangedTextsAndSeparator)
{
    const RegionalGuard point(RegionalGuard::Separators(".", ","));
    Layout(CURVE_8POINT, Std8A, Std8B, {u"0.500"_s, u"0.700"_s});
    const TRunCalculationResult first = Calculate();
    ASSERT_EQ(Calculate().Subjects.at(0).ResultText, first.Subjects.at(0).ResultText);

    grid.SetCell(3, 1, u"0.600"_s);
    const TRunCalculationResult changed = Calculate();
    // The same plate calculated by blocks that never read it.
    TMarnovelRdData fresh;
    fresh.SetCurveType(CURVE_8POINT);
    AddStandardColumn(fresh, 1);
    AddStandardColumn(fresh, 2);
    AddSample(fresh, QPoint(3, 1));
    AddSample(fresh, QPoint(3, 2));
    const TRunCalculationResult expected = CalculateRun(fresh, &grid);
    ASSERT_EQ(changed.Subjects.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(changed.Subjects[i].ResultText, expected.Subjects[i].ResultText) << i;
        EXPECT_EQ(changed.Subjects[i].Value, expected.Subjects[i].Value) << i;
    }
    EXPECT_NE(changed.Subjects[0].ResultText, first.Subjects[0].ResultText);

    // The very same texts read with "," as the separator are no numbers any more.
    const RegionalGuard comma(RegionalGuard::Separators(",", "."));
    const TRunCalculationResult reread = Calculate();
    EXPECT_FALSE(reread.Valid);
    for (const TRunSubjectResult &subject : reread.Subjects)
        EXPECT_EQ(subject.ResultText, u"> 10<B>#</B>"_s);
}

// ---- research results on a line with intercept 0 and slope 1: concentration = OD ----

class ResearchResults : public ::testing::Test
{
protected:
    void SetUp() override
    {
        reg.Add(0.0, 0.0);
        reg.Add(1.0, 1.0);
    }

    OWCellBlockBase &Sample(const QStringList &texts)
    {
        auto block = std::make_unique<OWCellBlockRectCombined>();
        for (int i = 0; i < texts.size(); ++i)
            block->add(QPoint(1, 1 + i));
        block->SetValueCount(static_cast<int>(texts.size()));
        for (int i = 0; i < texts.size(); ++i)
            block->setValueFromText(i, Dec(texts.at(i)));
        block->setResultLn(0, 99.0);
        OWCellBlockBase &ref = *block;
        cells.add(std::move(block));
        return ref;
    }

    TMarnovelRdData data;
    TLinearRegression reg;
    OWCells cells;
};

TEST_F(ResearchResults, CalcResults_SampleTexts_GiveResultTextFlagsAndValue)
{
    const struct
    {
        const char *od;
        const char *text;
        bool invalidFlag, exceedFlag;
        double value; // 99: left as it was
    } cases[] = {
        {"N/S", "N/S", false, false, 99.0},      {"OVER", "> 10<B>#</B>", true, false, 99.0},
        {"0", "0.00", false, false, 0.0},        {"2.0", "2.00", false, false, 2.0},
        {"0.35", "0.35", false, false, 0.35},    {"12", "> 10<B>¶</B>", false, true, 12.0},
        {"10.004", "10.00", false, false, 10.0}, {"10.006", "> 10<B>¶</B>", false, true, 10.01},
    };
    for (const auto &c : cases)
        Sample({QString::fromUtf8(c.od)});

    data.CalcResults(reg, cells);

    for (int i = 0; i < cells.GetCount(); ++i) {
        const auto &c = cases[i];
        SCOPED_TRACE(c.od);
        const OWCellBlockBase &block = *cells.getCellInteger(i);
        EXPECT_EQ(block.getResult(0), Dec(c.text));
        EXPECT_EQ(block.getAnnotationExists(AT_INVALIDVALUE), c.invalidFlag);
        EXPECT_EQ(block.getAnnotationExists(AT_EXCEEDMAXVALUE), c.exceedFlag);
        EXPECT_NEAR(block.getResultLn(0), c.value, 1e-9);
    }
}

TEST_F(ResearchResults, CalcResults_TwoWellBlock_CalculatesFirstWellOnly)
{
    OWCellBlockBase &block = Sample({u"2.0"_s, u"3.0"_s});
    OWCellBlockBase &empty = *cells.getCellInteger(cells.add(std::make_unique<OWCellBlockRectCombined>()));

    data.CalcResults(reg, cells);

    EXPECT_EQ(block.getResult(0), Dec("2.00"));
    EXPECT_EQ(block.getResult(1), QString());
    EXPECT_EQ(empty.getResult(0), UiText(81));
}

TEST_F(ResearchResults, CalcResults_NegativeOD_RaisesMathErrorNamingTheWell)
{
    Sample({u"0.5"_s});
    auto block = std::make_unique<OWCellBlockRectCombined>();
    block->add(QPoint(7, 3));
    block->SetValueCount(1);
    block->setValueFromText(0, Dec("-0.5"));
    cells.add(std::move(block));
    try {
        data.CalcResults(reg, cells);
        ADD_FAILURE() << "the OD was converted";
    } catch (const EWellNotCalculable &error) {
        EXPECT_EQ(error.Well(), QPoint(7, 3));
    }
}

// The plate checks of the window's Calculate button, against a layout that reaches column 12.
TEST_F(RunCalc, CheckPlateFitsLayout_PlateAgainstLayout_RefusesNoDataAndNarrowData)
{
    const struct
    {
        const char *name;
        QString plate;
        int lastColumn;          // LastColumnWithData
        const char *refusalText; // nullptr: accepted; "" no data; else text 182
    } cases[] = {
        {"full plate", Repeated(u"0.5"_s, 12, 8), 12, nullptr},
        {"eleven columns", Repeated(u"0.5"_s, 11, 8), 11, "182"},
        // Blank wells of a paste read as "N/S", as the window's grid shows them.
        {"blanks only", Repeated(u" "_s, 12, 8), 12, nullptr},
        {"empty text", QString(), -1, ""},
        {"one well in column 12", Lines({u"\t\t\t\t\t\t\t\t\t\t\tX"_s, {}, {}, {}, {}, {}, {}, {}}), 12,
         nullptr},
    };
    data.SetCurveType(CURVE_8POINT);
    AddStandardColumn(data, 1);
    AddStandardColumn(data, 2);
    AddSample(data, QPoint(12, 8));
    for (const auto &c : cases) {
        Paste(data, c.plate);
        EXPECT_EQ(LastColumnWithData(data), c.lastColumn) << c.name;
        try {
            CheckPlateFitsLayout(data);
            EXPECT_EQ(c.refusalText, nullptr) << c.name;
        } catch (const ERunNotCalculable &error) {
            ASSERT_NE(c.refusalText, nullptr) << c.name;
            if (*c.refusalText)
                EXPECT_EQ(error.Message(), UiText(182)) << c.name;
            else
                EXPECT_TRUE(error.Message().contains(u"no data"_s)) << c.name;
        }
    }
}
