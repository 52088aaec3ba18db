#include "archive/TrendSelection.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TArchiveMetrics Metrics(int day, int curveType, std::optional<double> top, int recordedSecond)
{
    TArchiveMetrics run;
    run.RunDate = QDate(2026, 1, 1).addDays(day);
    run.RunNumber = QString::number(day);
    run.KitBatch = u"K"_s;
    run.Operator = u"ann"_s;
    run.CurveType = curveType;
    run.Intercept = -0.9;
    run.Slope = 0.8;
    run.Correlation = 0.99;
    run.TopStandardMean = top;
    run.ZeroStandardMean = 0.05;
    run.FirstRecordedAt = QDateTime(QDate(2026, 2, 1), QTime(0, 0, recordedSecond), Qt::UTC);
    return run;
}

TEST(TrendSelection, Points_EachMetricsValue_RunsWithoutOneLeftOut)
{
    const QList<TArchiveMetrics> runs{Metrics(0, 1, 1.5, 0), Metrics(1, 1, std::nullopt, 1),
                                      Metrics(2, 1, 1.7, 2)};
    const struct
    {
        TTrendMetric metric;
        std::vector<double> values;
    } cases[] = {
        {TTrendMetric::TopStandardMeanOd, {1.5, 1.7}},
        {TTrendMetric::ZeroStandardMeanOd, {0.05, 0.05, 0.05}},
        {TTrendMetric::Slope, {0.8, 0.8, 0.8}},
        {TTrendMetric::Intercept, {-0.9, -0.9, -0.9}},
        {TTrendMetric::Correlation, {0.99, 0.99, 0.99}},
    };
    for (const auto &c : cases) {
        std::vector<double> values;
        for (const TTrendPoint &point : TrendPoints(runs, c.metric))
            values.push_back(point.Value);
        EXPECT_EQ(values, c.values) << TrendMetricName(c.metric).toStdString();
    }
    const std::vector<TTrendPoint> top = TrendPoints(runs, TTrendMetric::TopStandardMeanOd);
    EXPECT_EQ(top.at(1).RunNumber, u"2"_s);
    EXPECT_EQ(top.at(1).RunDate, QDate(2026, 1, 3));
}

TEST(TrendSelection, NewestCurveType_OfTheRunRecordedFirstMostRecently)
{
    EXPECT_EQ(NewestCurveType({}), std::nullopt);
    // The latest run date is not what counts: the latest first recording is.
    EXPECT_EQ(NewestCurveType({Metrics(5, 1, 1.0, 0), Metrics(1, 0, 1.0, 9), Metrics(3, 1, 1.0, 4)}), 0);
}

} // namespace
