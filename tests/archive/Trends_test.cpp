// The Levey-Jennings baseline and the Westgard rules over a sequence of runs, and the trends
// answer as JSON checked against the schema shipped in the repository.
#include "archive/Trends.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using enum TWestgardRule;

std::vector<TTrendPoint> Points(const std::vector<double> &values)
{
    std::vector<TTrendPoint> points;
    for (std::size_t i = 0; i < values.size(); ++i)
        points.push_back({QDate(2026, 1, 5).addDays(static_cast<qint64>(i)), QString::number(i + 1), u"K-7"_s,
                          u"A. Smith"_s, values[i]});
    return points;
}

TWestgardRules Rules(std::initializer_list<TWestgardRule> rules)
{
    TWestgardRules set;
    for (const TWestgardRule rule : rules)
        set.Add(rule);
    return set;
}

std::string Names(const TWestgardRules &rules)
{
    QStringList names;
    for (const TWestgardRule rule : rules.List())
        names << WestgardRuleName(rule);
    return u"{"_s.append(names.join(u", "_s)).append(u'}').toStdString();
}

// Mean 10 and sample standard deviation 1, both exact in binary: a value v has z = v - 10
// exactly, so the rules' edges can be hit on the dot. The last run's z is 0, so no streak
// reaches past the baseline.
const std::vector<double> ExactBaseline{9, 11, 9, 11, 10};

struct RuleCase
{
    const char *name;
    std::vector<double> tail; // after ExactBaseline
    TWestgardRules lastRules; // what the last run completes
};

} // namespace

TEST(Trends, Rules_AtAndAcrossTheirEdges_FireOnlyBeyond)
{
    const RuleCase cases[] = {
        {"z exactly 2", {12}, {}},
        {"z exactly -2", {8}, {}},
        {"z above 2", {12.5}, Rules({OneTwoS})},
        {"z exactly 3", {13}, Rules({OneTwoS})},
        {"z exactly -3", {7}, Rules({OneTwoS})},
        {"z above 3", {13.5}, Rules({OneTwoS, OneThreeS})},
        {"z below -3", {6.5}, Rules({OneTwoS, OneThreeS})},
        {"2-2s above", {12.5, 12.5}, Rules({OneTwoS, TwoTwoS})},
        {"2-2s below", {7.5, 7.5}, Rules({OneTwoS, TwoTwoS})},
        {"2-2s previous exactly 2", {12, 12.5}, Rules({OneTwoS})},
        {"2-2s across sides is R-4s", {12.5, 7.5}, Rules({OneTwoS, RFourS})},
        {"R-4s low then high", {7.5, 12.5}, Rules({OneTwoS, RFourS})},
        {"R-4s previous exactly -2", {8, 12.5}, Rules({OneTwoS})},
        {"R-4s with a run between", {12.5, 10, 7.5}, Rules({OneTwoS})},
        {"4-1s above", {11.5, 11.5, 11.5, 11.5}, Rules({FourOneS})},
        {"4-1s below", {8.5, 8.5, 8.5, 8.5}, Rules({FourOneS})},
        {"4-1s with one at exactly 1", {11.5, 11, 11.5, 11.5}, {}},
        {"4-1s with one at exactly -1", {8.5, 8.5, 9, 8.5}, {}},
        {"4-1s three only", {11.5, 11.5, 11.5}, {}},
        {"10x above", std::vector<double>(10, 10.5), Rules({TenX})},
        {"10x below", std::vector<double>(10, 9.5), Rules({TenX})},
        {"10x with a zero in between", {10.5, 10.5, 10.5, 10.5, 10, 10.5, 10.5, 10.5, 10.5, 10.5}, {}},
        {"10x nine only", std::vector<double>(9, 10.5), {}},
        {"10x across sides", {9.5, 10.5, 10.5, 10.5, 10.5, 10.5, 10.5, 10.5, 10.5, 10.5}, {}},
        {"every rule at once",
         {12.5, 12.5, 12.5, 12.5, 12.5, 12.5, 12.5, 12.5, 12.5, 13.5},
         Rules({OneTwoS, OneThreeS, TwoTwoS, FourOneS, TenX})},
    };
    for (const RuleCase &c : cases) {
        std::vector<double> values = ExactBaseline;
        values.insert(values.end(), c.tail.begin(), c.tail.end());
        const TTrendEvaluation trend = EvaluateTrend(TTrendMetric::Slope, Points(values), 5);
        ASSERT_EQ(trend.Baseline.Problem, TBaselineProblem::None) << c.name;
        ASSERT_EQ(trend.Baseline.Mean, 10.0) << c.name;
        ASSERT_EQ(trend.Baseline.Sd, 1.0) << c.name;
        EXPECT_EQ(trend.Results.back().Z, values.back() - 10.0) << c.name;
        EXPECT_EQ(Names(trend.Results.back().Rules), Names(c.lastRules)) << c.name;
    }
}

TEST(Trends, Rules_FireAtTheRunThatCompletesThem_BaselineRunsIncluded)
{
    // Baseline of 5 as above; then 2-2s builds over two runs and goes away.
    const TTrendEvaluation trend =
        EvaluateTrend(TTrendMetric::Intercept, Points({9, 11, 9, 11, 10, 12.5, 12.5, 10}), 5);
    const std::vector<TWestgardRules> expected{
        {}, {}, {}, {}, {}, Rules({OneTwoS}), Rules({OneTwoS, TwoTwoS}), {}};
    ASSERT_EQ(trend.Results.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(Names(trend.Results[i].Rules), Names(expected[i])) << "run " << i + 1;

    // A baseline run far off is judged as every other run: 19 zeros and a 1, default baseline.
    // python3 -c "import statistics as s; b=[0]*19+[1]; m=s.mean(b); d=s.stdev(b); print(m, d, (1-m)/d)"
    //   0.05 0.22360679774997896 4.2485291572496005
    std::vector<double> values(19, 0.0);
    values.push_back(1.0);
    const TTrendEvaluation outlier = EvaluateTrend(TTrendMetric::Correlation, Points(values));
    EXPECT_EQ(outlier.Baseline.Runs, 20);
    EXPECT_NEAR(outlier.Baseline.Mean, 0.05, 1e-15);
    EXPECT_NEAR(outlier.Baseline.Sd, 0.22360679774997896, 1e-15);
    EXPECT_NEAR(*outlier.Results.back().Z, 4.2485291572496005, 1e-13);
    EXPECT_EQ(Names(outlier.Results.back().Rules), Names(Rules({OneTwoS, OneThreeS})));
    EXPECT_TRUE(outlier.Results.back().Rules.Rejects());
    EXPECT_FALSE(Rules({OneTwoS}).Rejects());
}

TEST(Trends, BaselineAndZ_MatchAnIndependentComputation)
{
    // S1 mean ODs of 25 runs; the baseline is the first 20.
    const std::vector<double> values{2.412, 2.398, 2.405, 2.421, 2.389, 2.401, 2.417, 2.395, 2.408,
                                     2.392, 2.414, 2.403, 2.386, 2.410, 2.399, 2.420, 2.393, 2.407,
                                     2.402, 2.396, 2.37,  2.441, 2.452, 2.35,  2.404};
    const TTrendEvaluation trend = EvaluateTrend(TTrendMetric::TopStandardMeanOd, Points(values));
    // python3 -c "import statistics as s; v=[...]; b=v[:20]; m=s.mean(b); d=s.stdev(b);
    //             print(repr(m), repr(d), [(x-m)/d for x in v[20:]])"
    //   2.4034 0.010174270955389583
    //   [-3.2827904963851, 3.695596486948496, 4.776755033662167, -5.248533308591756, 0.05897228436619313]
    EXPECT_EQ(trend.Baseline.Runs, 20);
    EXPECT_NEAR(trend.Baseline.Mean, 2.4034, 1e-14);
    EXPECT_NEAR(trend.Baseline.Sd, 0.010174270955389583, 1e-15);
    const struct
    {
        double z;
        TWestgardRules rules;
    } expected[] = {
        {-3.2827904963851, Rules({OneTwoS, OneThreeS})},
        {3.695596486948496, Rules({OneTwoS, OneThreeS, RFourS})},
        {4.776755033662167, Rules({OneTwoS, OneThreeS, TwoTwoS})},
        {-5.248533308591756, Rules({OneTwoS, OneThreeS, RFourS})},
        {0.05897228436619313, {}},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const TTrendPointResult &result = trend.Results[20 + i];
        EXPECT_NEAR(*result.Z, expected[i].z, 1e-11) << "run " << 21 + i;
        EXPECT_EQ(Names(result.Rules), Names(expected[i].rules)) << "run " << 21 + i;
    }
}

TEST(Trends, Baseline_TooFewRunsOrNoSpread_EvaluatesNoRuleAndSaysWhy)
{
    const struct
    {
        const char *name;
        std::vector<double> values;
        int baselineRuns;
        TBaselineProblem problem;
        int runs;
    } cases[] = {
        {"no runs", {}, 20, TBaselineProblem::TooFewRuns, 0},
        {"one run", {2.4}, 20, TBaselineProblem::TooFewRuns, 1},
        {"baseline of one", {2.4, 2.5, 9.0}, 1, TBaselineProblem::TooFewRuns, 1},
        {"all the same", {2.4, 2.4, 2.4, 9.0}, 3, TBaselineProblem::NoSpread, 3},
    };
    for (const auto &c : cases) {
        const TTrendEvaluation trend =
            EvaluateTrend(TTrendMetric::ZeroStandardMeanOd, Points(c.values), c.baselineRuns);
        EXPECT_EQ(trend.Baseline.Problem, c.problem) << c.name;
        EXPECT_EQ(trend.Baseline.Runs, c.runs) << c.name;
        ASSERT_EQ(trend.Results.size(), c.values.size()) << c.name;
        for (const TTrendPointResult &result : trend.Results) {
            EXPECT_FALSE(result.Z) << c.name;
            EXPECT_TRUE(result.Rules.IsEmpty()) << c.name;
        }
    }
    EXPECT_EQ(BaselineProblemText(TBaselineProblem::TooFewRuns, 1),
              u"The baseline needs at least 2 runs and has 1: no rule was evaluated."_s);
    EXPECT_EQ(
        BaselineProblemText(TBaselineProblem::NoSpread, 3),
        u"The 3 baseline runs all have the same value, so their standard deviation is 0: no rule was evaluated."_s);
}

TEST(Trends, Names_MetricsAndRules_RoundTripAndRuleKinds)
{
    const std::pair<TTrendMetric, const char16_t *> metrics[] = {
        {TTrendMetric::TopStandardMeanOd, u"topStandardMeanOd"},
        {TTrendMetric::ZeroStandardMeanOd, u"zeroStandardMeanOd"},
        {TTrendMetric::Slope, u"slope"},
        {TTrendMetric::Intercept, u"intercept"},
        {TTrendMetric::Correlation, u"correlation"},
    };
    for (const auto &[metric, name] : metrics) {
        EXPECT_EQ(TrendMetricName(metric), QString::fromUtf16(name));
        EXPECT_EQ(TrendMetricFromName(QString::fromUtf16(name)), metric);
    }
    EXPECT_FALSE(TrendMetricFromName(u"Slope"));
    EXPECT_FALSE(TrendMetricFromName(u""));

    QStringList names;
    for (const TWestgardRule rule : AllWestgardRules) {
        names << WestgardRuleName(rule);
        EXPECT_EQ(IsWarningRule(rule), rule == OneTwoS);
    }
    EXPECT_EQ(names, QStringList({u"1-2s"_s, u"1-3s"_s, u"2-2s"_s, u"R-4s"_s, u"4-1s"_s, u"10x"_s}));
}

TEST(Trends, Json_MatchesTheSchemaWithFullPrecision)
{
    // Names as operators type them, and what no text should hold but an archive may.
    const QString operators[] = {u"O'Brien \"Bob\" \\ 2"_s, u"Καλλιόπη 🧪"_s, u"tab\there\u0001"_s,
                                 u"lone "_s + QChar(0xD800) + u" surrogate"_s};
    const QString readBack[] = {operators[0], operators[1], operators[2], u"lone \uFFFD surrogate"_s};
    std::vector<TTrendPoint> slopes = Points({-0.9, -0.95, -0.91, -0.7});
    for (std::size_t i = 0; i < slopes.size(); ++i)
        slopes[i].Operator = operators[i];
    std::vector<TTrendEvaluation> metrics;
    metrics.push_back(EvaluateTrend(TTrendMetric::Slope, slopes, 3));
    metrics.push_back(EvaluateTrend(TTrendMetric::Correlation, Points({0.9998}), 20));
    metrics.push_back(EvaluateTrend(TTrendMetric::Intercept, Points({1.5, 1.5, 1.5}), 20));
    const QByteArray json = TrendsJsonText(8, metrics);

    const QJsonObject root = QJsonDocument::fromJson(json).object();
    EXPECT_EQ(root.value(u"schemaVersion"_s).toInt(), TrendsJsonSchemaVersion);
    EXPECT_EQ(root.value(u"curveType"_s).toInt(), 8);
    const QJsonArray metricsJson = root.value(u"metrics"_s).toArray();
    ASSERT_EQ(metricsJson.size(), 3);
    const QJsonObject slope = metricsJson.at(0).toObject();
    EXPECT_EQ(slope.value(u"metric"_s).toString(), u"slope"_s);
    // Exact doubles: the text keeps every digit the value needs to be read back unchanged.
    EXPECT_EQ(slope.value(u"baseline"_s).toObject().value(u"sd"_s).toDouble(), metrics[0].Baseline.Sd);
    for (std::size_t i = 0; i < std::size(readBack); ++i)
        EXPECT_EQ(
            slope.value(u"points"_s).toArray().at(static_cast<qsizetype>(i)).toObject().value(u"operator"_s),
            readBack[i])
            << i;
    const QJsonObject last = slope.value(u"points"_s).toArray().at(3).toObject();
    EXPECT_EQ(last.value(u"z"_s).toDouble(), *metrics[0].Results[3].Z);
    EXPECT_EQ(last.value(u"runDate"_s).toString(), u"2026-01-08"_s);
    EXPECT_EQ(last.value(u"rules"_s).toArray(), QJsonArray({u"1-2s"_s, u"1-3s"_s}));
    const QJsonObject tooFew = metricsJson.at(1).toObject().value(u"baseline"_s).toObject();
    EXPECT_EQ(tooFew.value(u"code"_s).toString(), u"tooFewRuns"_s);
    EXPECT_TRUE(
        metricsJson.at(1).toObject().value(u"points"_s).toArray().at(0).toObject().value(u"z"_s).isNull());
    EXPECT_EQ(metricsJson.at(2).toObject().value(u"baseline"_s).toObject().value(u"code"_s).toString(),
              u"noSpread"_s);

    const QString python = QStringLiteral(VELOMYRA_PYTHON3);
    ASSERT_FALSE(python.isEmpty())
        << "no python3 found: scripts/ensure-deps.sh installs it with python3-jsonschema";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto validate = [&](const QByteArray &document) {
        QFile file(dir.filePath(u"trends.json"_s));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(document);
        file.close();
        QProcess process;
        process.start(python, {QStringLiteral(VELOMYRA_SOURCE_DIR "/tests/cli/validate-json.py"),
                               QStringLiteral(VELOMYRA_SOURCE_DIR "/cli/velomyra-cli-trends.schema.json"),
                               file.fileName()});
        EXPECT_TRUE(process.waitForFinished(60000));
        return std::pair(process.exitCode(),
                         QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError()));
    };
    const auto [status, report] = validate(json);
    EXPECT_EQ(status, 0) << report.toStdString();
    // The validator does check: an unknown rule name is refused.
    QByteArray broken = json;
    ASSERT_TRUE(broken.contains("\"1-3s\""));
    broken.replace("\"1-3s\"", "\"1-4s\"");
    EXPECT_EQ(validate(broken).first, 1);
}
