#include "Trends.h"

#include "core/Tool.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

struct TMetricName
{
    TTrendMetric Metric;
    const char16_t *Name;
};
constexpr TMetricName MetricNames[] = {
    {TTrendMetric::TopStandardMeanOd, u"topStandardMeanOd"},
    {TTrendMetric::ZeroStandardMeanOd, u"zeroStandardMeanOd"},
    {TTrendMetric::Slope, u"slope"},
    {TTrendMetric::Intercept, u"intercept"},
    {TTrendMetric::Correlation, u"correlation"},
};

// Consecutive runs, ending at the current one, on one side of a limit.
struct TStreak
{
    int Above = 0;
    int Below = 0;
    void Next(double z, double limit)
    {
        Above = z > limit ? Above + 1 : 0;
        Below = z < -limit ? Below + 1 : 0;
    }
    bool Reaches(int runs) const { return Above >= runs || Below >= runs; }
};

} // namespace

QString TrendMetricName(TTrendMetric metric)
{
    for (const TMetricName &entry : MetricNames)
        if (entry.Metric == metric)
            return QString::fromUtf16(entry.Name);
    return QString();
}

std::optional<TTrendMetric> TrendMetricFromName(QStringView name)
{
    for (const TMetricName &entry : MetricNames)
        if (name == QStringView(entry.Name))
            return entry.Metric;
    return std::nullopt;
}

QString WestgardRuleName(TWestgardRule rule)
{
    switch (rule) {
    case TWestgardRule::OneTwoS:
        return u"1-2s"_s;
    case TWestgardRule::OneThreeS:
        return u"1-3s"_s;
    case TWestgardRule::TwoTwoS:
        return u"2-2s"_s;
    case TWestgardRule::RFourS:
        return u"R-4s"_s;
    case TWestgardRule::FourOneS:
        return u"4-1s"_s;
    case TWestgardRule::TenX:
        return u"10x"_s;
    }
    return QString();
}

bool IsWarningRule(TWestgardRule rule)
{
    return rule == TWestgardRule::OneTwoS;
}

std::vector<TWestgardRule> TWestgardRules::List() const
{
    std::vector<TWestgardRule> rules;
    for (const TWestgardRule rule : AllWestgardRules)
        if (Contains(rule))
            rules.push_back(rule);
    return rules;
}

QString BaselineProblemCode(TBaselineProblem problem)
{
    switch (problem) {
    case TBaselineProblem::TooFewRuns:
        return u"tooFewRuns"_s;
    case TBaselineProblem::NoSpread:
        return u"noSpread"_s;
    case TBaselineProblem::None:
        break;
    }
    return QString();
}

QString BaselineProblemText(TBaselineProblem problem, int runs)
{
    switch (problem) {
    case TBaselineProblem::TooFewRuns:
        return u"The baseline needs at least 2 runs and has %1: no rule was evaluated."_s.arg(runs);
    case TBaselineProblem::NoSpread:
        return u"The %1 baseline runs all have the same value, so their standard deviation is 0: no rule was evaluated."_s
            .arg(runs);
    case TBaselineProblem::None:
        break;
    }
    return QString();
}

TTrendBaseline TrendBaseline(std::span<const TTrendPoint> points, int baselineRuns)
{
    TTrendBaseline baseline;
    baseline.Runs = static_cast<int>(
        std::min<std::size_t>(points.size(), static_cast<std::size_t>(std::max(baselineRuns, 0))));
    if (baseline.Runs < 2) {
        baseline.Problem = TBaselineProblem::TooFewRuns;
        return baseline;
    }
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(baseline.Runs));
    for (const TTrendPoint &point : points.first(static_cast<std::size_t>(baseline.Runs)))
        values.push_back(point.Value);
    MeanAndSampleDeviation(values, baseline.Mean, baseline.Sd);
    // A deviation that is no positive number gives no z at all.
    if (!(baseline.Sd > 0.0))
        baseline.Problem = TBaselineProblem::NoSpread;
    return baseline;
}

TTrendEvaluation EvaluateTrend(TTrendMetric metric, std::vector<TTrendPoint> points, int baselineRuns)
{
    TTrendEvaluation evaluation;
    evaluation.Metric = metric;
    evaluation.Baseline = TrendBaseline(points, baselineRuns);
    evaluation.Results.resize(points.size());
    evaluation.Points = std::move(points);
    if (evaluation.Baseline.Problem != TBaselineProblem::None)
        return evaluation;

    const double mean = evaluation.Baseline.Mean;
    const double sd = evaluation.Baseline.Sd;
    TStreak twoSd;
    TStreak oneSd;
    TStreak zero;
    for (std::size_t i = 0; i < evaluation.Points.size(); ++i) {
        const double z = (evaluation.Points[i].Value - mean) / sd;
        const TStreak previousTwoSd = twoSd;
        twoSd.Next(z, 2.0);
        oneSd.Next(z, 1.0);
        zero.Next(z, 0.0);
        TTrendPointResult &result = evaluation.Results[i];
        result.Z = z;
        if (std::abs(z) > 2.0)
            result.Rules.Add(TWestgardRule::OneTwoS);
        if (std::abs(z) > 3.0)
            result.Rules.Add(TWestgardRule::OneThreeS);
        if (twoSd.Reaches(2))
            result.Rules.Add(TWestgardRule::TwoTwoS);
        if ((twoSd.Above > 0 && previousTwoSd.Below > 0) || (twoSd.Below > 0 && previousTwoSd.Above > 0))
            result.Rules.Add(TWestgardRule::RFourS);
        if (oneSd.Reaches(4))
            result.Rules.Add(TWestgardRule::FourOneS);
        if (zero.Reaches(10))
            result.Rules.Add(TWestgardRule::TenX);
    }
    return evaluation;
}

namespace {

// The answer can hold tens of thousands of runs: it is written straight as text, which is many
// times faster than building a QJsonDocument of it.
class TJsonWriter
{
public:
    explicit TJsonWriter(qsizetype reserve) { mText.reserve(reserve); }
    TJsonWriter &Raw(const char *text)
    {
        mText.append(text);
        return *this;
    }
    TJsonWriter &Key(const char *key)
    {
        mText.append('"').append(key).append("\": ");
        return *this;
    }
    TJsonWriter &Number(std::optional<double> value)
    {
        // The shortest text that reads back as the same double; null for what JSON cannot hold.
        if (value && std::isfinite(*value))
            mText.append(QByteArray::number(*value, 'g', QLocale::FloatingPointShortest));
        else
            mText.append("null");
        return *this;
    }
    TJsonWriter &Integer(int value)
    {
        mText.append(QByteArray::number(value));
        return *this;
    }
    TJsonWriter &String(QStringView text)
    {
        mText.append('"');
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            if (c == u'"' || c == u'\\') {
                mText.append('\\').append(static_cast<char>(c));
            } else if (c < 0x20) {
                static constexpr char hex[] = "0123456789abcdef";
                mText.append("\\u00").append(hex[c >> 4]).append(hex[c & 0xF]);
            } else if (c < 0x80) {
                mText.append(static_cast<char>(c));
            } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                mText.append(text.mid(i, 2).toUtf8());
                ++i;
            } else if (QChar::isSurrogate(c)) {
                mText.append("\xEF\xBF\xBD"); // a lone surrogate has no UTF-8 form
            } else {
                mText.append(QStringView(text.data() + i, 1).toUtf8());
            }
        }
        mText.append('"');
        return *this;
    }
    QByteArray Text() && { return std::move(mText); }

private:
    QByteArray mText;
};

void WriteBaseline(TJsonWriter &json, const TTrendBaseline &baseline)
{
    json.Raw("{").Key("runs").Integer(baseline.Runs);
    if (baseline.Problem != TBaselineProblem::None) {
        json.Raw(", ").Key("code").String(BaselineProblemCode(baseline.Problem));
        json.Raw(", ").Key("reason").String(BaselineProblemText(baseline.Problem, baseline.Runs));
    } else {
        json.Raw(", ").Key("mean").Number(baseline.Mean).Raw(", ").Key("sd").Number(baseline.Sd);
    }
    json.Raw("}");
}

void WritePoints(TJsonWriter &json, const TTrendEvaluation &evaluation)
{
    json.Raw("[");
    for (std::size_t i = 0; i < evaluation.Points.size(); ++i) {
        const TTrendPoint &point = evaluation.Points[i];
        const TTrendPointResult &result = evaluation.Results[i];
        json.Raw(i == 0 ? "\n                {" : ",\n                {");
        json.Key("runDate").String(point.RunDate.toString(Qt::ISODate));
        json.Raw(", ").Key("runNumber").String(point.RunNumber);
        json.Raw(", ").Key("kitBatch").String(point.KitBatch);
        json.Raw(", ").Key("operator").String(point.Operator);
        json.Raw(", ").Key("value").Number(point.Value);
        json.Raw(", ").Key("z").Number(result.Z);
        json.Raw(", ").Key("rules").Raw("[");
        bool first = true;
        for (const TWestgardRule rule : AllWestgardRules) {
            if (!result.Rules.Contains(rule))
                continue;
            json.Raw(first ? "" : ", ").String(WestgardRuleName(rule));
            first = false;
        }
        json.Raw("]}");
    }
    json.Raw(evaluation.Points.empty() ? "]" : "\n            ]");
}

} // namespace

QByteArray TrendsJsonText(int curveType, std::span<const TTrendEvaluation> metrics)
{
    std::size_t points = 0;
    for (const TTrendEvaluation &evaluation : metrics)
        points += evaluation.Points.size();
    TJsonWriter json(static_cast<qsizetype>(points * 200 + 256));
    json.Raw("{\n    ").Key("schemaVersion").Integer(TrendsJsonSchemaVersion);
    json.Raw(",\n    ").Key("curveType").Integer(curveType);
    json.Raw(",\n    ").Key("metrics").Raw("[");
    for (std::size_t m = 0; m < metrics.size(); ++m) {
        const TTrendEvaluation &evaluation = metrics[m];
        json.Raw(m == 0 ? "\n        {\n            " : ",\n        {\n            ");
        json.Key("metric").String(TrendMetricName(evaluation.Metric));
        json.Raw(",\n            ").Key("baseline");
        WriteBaseline(json, evaluation.Baseline);
        json.Raw(",\n            ").Key("points");
        WritePoints(json, evaluation);
        json.Raw("\n        }");
    }
    json.Raw(metrics.empty() ? "]\n}\n" : "\n    ]\n}\n");
    return std::move(json).Text();
}
