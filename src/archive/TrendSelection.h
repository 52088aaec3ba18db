#pragma once

#include "archive/Archive.h"
#include "archive/Trends.h"

#include <QList>

#include <optional>
#include <vector>

// From the archive's selected runs to a trend: what the tool and the window's trends tab share.

// The run's value of the metric; none when the standard it follows has no mean.
std::optional<double> TrendMetricValue(const TArchiveMetrics &run, TTrendMetric metric);

// The points of one metric in the runs' order, leaving out the runs without a value.
std::vector<TTrendPoint> TrendPoints(const QList<TArchiveMetrics> &runs, TTrendMetric metric);

// The curve type of the run recorded first most recently: the one a trend shows by default.
// None without runs.
std::optional<int> NewestCurveType(const QList<TArchiveMetrics> &runs);
