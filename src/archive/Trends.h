#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// QC trends across recorded runs: a Levey-Jennings baseline per metric and the Westgard
// rules each run completes. Pure arithmetic on values the archive selected and ordered.

// What is followed from run to run, each the calculation's unrounded value.
enum class TTrendMetric : std::uint8_t
{
    TopStandardMeanOd,  // S1's mean OD
    ZeroStandardMeanOd, // the last standard's mean OD
    Slope,
    Intercept,
    Correlation,
};
inline constexpr std::array<TTrendMetric, 5> AllTrendMetrics{
    TTrendMetric::TopStandardMeanOd, TTrendMetric::ZeroStandardMeanOd, TTrendMetric::Slope,
    TTrendMetric::Intercept, TTrendMetric::Correlation};

// "topStandardMeanOd", ... as the tool's options and JSON name them.
QString TrendMetricName(TTrendMetric metric);
std::optional<TTrendMetric> TrendMetricFromName(QStringView name);

enum class TWestgardRule : std::uint8_t
{
    OneTwoS,   // 1-2s: |z| > 2
    OneThreeS, // 1-3s: |z| > 3
    TwoTwoS,   // 2-2s: this and the previous run both z > 2, or both z < -2
    RFourS,    // R-4s: of this and the previous run one z > 2, the other z < -2
    FourOneS,  // 4-1s: this and the three previous all z > 1, or all z < -1
    TenX,      // 10x: this and the nine previous all z > 0, or all z < 0
};
inline constexpr std::array<TWestgardRule, 6> AllWestgardRules{
    TWestgardRule::OneTwoS, TWestgardRule::OneThreeS, TWestgardRule::TwoTwoS,
    TWestgardRule::RFourS,  TWestgardRule::FourOneS,  TWestgardRule::TenX};

// "1-2s", "1-3s", "2-2s", "R-4s", "4-1s", "10x".
QString WestgardRuleName(TWestgardRule rule);
// Only 1-2s warns; every other rule rejects the run.
bool IsWarningRule(TWestgardRule rule);

// The rules one run completed, as a set.
class TWestgardRules
{
public:
    void Add(TWestgardRule rule) { mBits |= Bit(rule); }
    bool Contains(TWestgardRule rule) const { return (mBits & Bit(rule)) != 0; }
    bool IsEmpty() const { return mBits == 0; }
    // Any rule that rejects (anything but 1-2s) fired.
    bool Rejects() const { return (mBits & ~Bit(TWestgardRule::OneTwoS)) != 0; }
    // In the order of AllWestgardRules.
    std::vector<TWestgardRule> List() const;
    bool operator==(const TWestgardRules &) const = default;

private:
    static std::uint8_t Bit(TWestgardRule rule)
    {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(rule));
    }
    std::uint8_t mBits = 0;
};

// One selected run, as the archive fills it, in the order of the trend. The archive leaves out
// runs without a value for the metric (a standard without a mean).
struct TTrendPoint
{
    QDate RunDate;
    QString RunNumber;
    QString KitBatch;
    QString Operator;
    double Value = 0.0;
};

inline constexpr int DefaultBaselineRuns = 20;

// Why no rule was evaluated.
enum class TBaselineProblem : std::uint8_t
{
    None,
    TooFewRuns, // fewer than 2 runs in the baseline
    NoSpread,   // the baseline's standard deviation is 0
};
// "tooFewRuns", "noSpread"; empty for None.
QString BaselineProblemCode(TBaselineProblem problem);
// An English sentence for the tool's output.
QString BaselineProblemText(TBaselineProblem problem, int runs);

struct TTrendBaseline
{
    int Runs = 0; // the first Runs points
    double Mean = 0.0;
    double Sd = 0.0; // sample standard deviation
    TBaselineProblem Problem = TBaselineProblem::None;
};

struct TTrendPointResult
{
    std::optional<double> Z; // none when the baseline has a problem
    TWestgardRules Rules;
};

struct TTrendEvaluation
{
    TTrendMetric Metric = TTrendMetric::TopStandardMeanOd;
    TTrendBaseline Baseline;
    std::vector<TTrendPoint> Points;
    std::vector<TTrendPointResult> Results; // one per point
};

// The baseline of the first baselineRuns points (all of them when there are fewer).
TTrendBaseline TrendBaseline(std::span<const TTrendPoint> points, int baselineRuns = DefaultBaselineRuns);

// z of every point against the baseline and the rules it completes, over the whole sequence,
// the baseline's own points included.
TTrendEvaluation EvaluateTrend(TTrendMetric metric, std::vector<TTrendPoint> points,
                               int baselineRuns = DefaultBaselineRuns);

// What `archive trends --json` promises; cli/velomyra-cli-trends.schema.json describes it.
inline constexpr int TrendsJsonSchemaVersion = 1;

// The trends answer for runs of one curve type (4 or 8 points).
QByteArray TrendsJsonText(int curveType, std::span<const TTrendEvaluation> metrics);
