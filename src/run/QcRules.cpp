#include "run/QcRules.h"

#include "core/Tool.h"

#include <cmath>

namespace {

// The decimal comparisons work on 32-bit integers; a value whose scaled form leaves that
// range is far from any threshold, so a plain comparison gives the same answer.
bool Scalable(int decimals, double x)
{
    return std::fabs(x * std::pow(10.0, decimals)) < 2.0e9;
}

bool Holds(TQcBound bound, double measured, double threshold)
{
    return bound == TQcBound::AtMost ? measured <= threshold : measured >= threshold;
}

} // namespace

const TQcRule &QcRule::TopStandardMeanOd(TCurveType curveType)
{
    return curveType == CURVE_4POINT ? TopStandardMeanOd4Point : TopStandardMeanOd8Point;
}

TQcCheck CheckQcRule(const TQcRule &rule, double value)
{
    TQcCheck check{rule, std::nullopt, false};
    if (!std::isfinite(value))
        return check;
    if (!rule.Decimals || !Scalable(*rule.Decimals, value) || !Scalable(*rule.Decimals, rule.Threshold)) {
        check.Measured = value;
        check.Passed = Holds(rule.Bound, value, rule.Threshold);
        return check;
    }
    const double scale = RoundHalfUp(std::pow(10.0, *rule.Decimals));
    const int measured = RoundHalfUp(scale * value);
    const int threshold = RoundHalfUp(scale * rule.Threshold);
    check.Measured = measured / scale;
    check.Passed = Holds(rule.Bound, measured, threshold);
    return check;
}

double RoundedAtDecimalsInRange(int decimals, double value)
{
    return Scalable(decimals, value) ? RoundToDecimals(decimals, value) : value;
}
