#include "run/QcRules.h"

#include "core/Tool.h"
#include "core/UiTextManager.h"

#include <cmath>

namespace {

// The decimal comparisons work on 32-bit integers; a value whose scaled form leaves that
// range is far from any threshold, so a plain comparison gives the same answer.
bool Scalable(double scaled)
{
    return std::fabs(scaled) < 2.0e9;
}

// RoundHalfUp for a value Scalable keeps inside the 32-bit range: the integer part, one more
// from a fraction of a half.
int HalfUp(double scaled)
{
    const auto truncated = static_cast<int>(scaled);
    return scaled - static_cast<double>(truncated) >= 0.5 ? truncated + 1 : truncated;
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
    const double scale = rule.Decimals ? PowerOfTen(*rule.Decimals) : 1.0;
    const double scaledValue = value * scale;
    const double scaledThreshold = rule.Threshold * scale;
    if (!rule.Decimals || !Scalable(scaledValue) || !Scalable(scaledThreshold)) {
        check.Measured = value;
        check.Passed = Holds(rule.Bound, value, rule.Threshold);
        return check;
    }
    const int measured = HalfUp(scaledValue);
    check.Measured = measured / scale;
    check.Passed = Holds(rule.Bound, measured, HalfUp(scaledThreshold));
    return check;
}
double RoundedAtDecimalsInRange(int decimals, double value)
{
    return Scalable(value * PowerOfTen(decimals)) ? RoundToDecimals(decimals, value) : value;
}

QString QcCheckStatement(const TQcCheck &check)
{
    const TQcRule &rule = check.Rule;
    // The plate-washing rule compares the mean as its text shows it, with 3 decimals.
    const int decimals = rule.Decimals.value_or(3);
    const QString measured =
        check.Measured ? FormatFixed(*check.Measured, decimals) : QStringLiteral("\u2013");
    if (rule.Counts()) {
        if (check.Passed)
            return UiText(rule.HeldTextId);
        return UiText(rule.TextId) + QStringLiteral(" (") + measured + QLatin1Char(')');
    }
    const QString bound =
        rule.Bound == TQcBound::AtMost ? QStringLiteral("\u2264") : QStringLiteral("\u2265");
    return UiText(rule.TextId) + QLatin1Char(' ') + measured + QLatin1Char(' ') + bound + QLatin1Char(' ') +
           FormatFixed(rule.Threshold, decimals);
}

QString QcCheckSentence(const TQcCheck &check)
{
    return QcCheckStatement(check) + QStringLiteral(": ") + UiText(check.Passed ? 79 : 80);
}
