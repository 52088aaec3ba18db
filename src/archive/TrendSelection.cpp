#include "TrendSelection.h"

#include <algorithm>

std::optional<double> TrendMetricValue(const TArchiveMetrics &run, TTrendMetric metric)
{
    switch (metric) {
    case TTrendMetric::TopStandardMeanOd:
        return run.TopStandardMean;
    case TTrendMetric::ZeroStandardMeanOd:
        return run.ZeroStandardMean;
    case TTrendMetric::Slope:
        return run.Slope;
    case TTrendMetric::Intercept:
        return run.Intercept;
    case TTrendMetric::Correlation:
        return run.Correlation;
    }
    return std::nullopt;
}

std::vector<TTrendPoint> TrendPoints(const QList<TArchiveMetrics> &runs, TTrendMetric metric)
{
    std::vector<TTrendPoint> points;
    points.reserve(static_cast<std::size_t>(runs.size()));
    for (const TArchiveMetrics &run : runs) {
        if (const std::optional<double> value = TrendMetricValue(run, metric))
            points.push_back({run.RunDate, run.RunNumber, run.KitBatch, run.Operator, *value});
    }
    return points;
}

std::optional<int> NewestCurveType(const QList<TArchiveMetrics> &runs)
{
    if (runs.isEmpty())
        return std::nullopt;
    const auto newest = std::max_element(runs.cbegin(), runs.cend(), [](const auto &a, const auto &b) {
        return a.FirstRecordedAt < b.FirstRecordedAt;
    });
    return newest->CurveType;
}
