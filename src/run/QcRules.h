#pragma once

#include "plate/MarnovelTypes.h"

#include <QLatin1StringView>
#include <QString>

#include <optional>
#include <vector>

// The quality-control rules of a run in one table: each rule's machine name, threshold and
// the precision it compares at. The calculation, the exports, the results view and the
// report pages all read these; the records below are what a calculation keeps of every
// rule it applied, so that a verdict can be explained without deriving it again.

enum class TQcBound
{
    AtMost,
    AtLeast
};

struct TQcRule
{
    QLatin1StringView Name; // stable, never translated: machine readers key on it
    double Threshold = 0.0;
    // Value and threshold are compared as integers after scaling by 10^Decimals and
    // rounding half up; none: compared as they are.
    std::optional<int> Decimals;
    TQcBound Bound = TQcBound::AtMost;
    // A note only: the run's verdict does not depend on it.
    bool Advisory = false;
};

namespace QcRule {

// Mean OD of the top standard (S1), by curve type.
inline constexpr TQcRule TopStandardMeanOd4Point{QLatin1StringView("topStandardMeanOd"), 0.600, 3,
                                                 TQcBound::AtLeast};
inline constexpr TQcRule TopStandardMeanOd8Point{QLatin1StringView("topStandardMeanOd"), 1.200, 3,
                                                 TQcBound::AtLeast};
// |mean - replicate| of a low standard; the largest deviation examined is recorded.
inline constexpr TQcRule LowStandardReplicateAgreement{QLatin1StringView("lowStandardReplicateAgreement"),
                                                       0.040, 3, TQcBound::AtMost};
// %CV of a standard that is not a low one.
inline constexpr TQcRule Cv{QLatin1StringView("cv"), 15.0, 1, TQcBound::AtMost};
// Correlation coefficient of the standard curve.
inline constexpr TQcRule Correlation{QLatin1StringView("correlation"), 0.98, 2, TQcBound::AtLeast};
// Replicates of one standard that are missing or not numerical.
inline constexpr TQcRule ReplicatesComplete{QLatin1StringView("replicatesComplete"), 0.0, 0,
                                            TQcBound::AtMost};
// Standards that failed their own rules.
inline constexpr TQcRule StandardsPass{QLatin1StringView("standardsPass"), 0.0, 0, TQcBound::AtMost};
// Wells of the first n standard blocks that do not hold a number (n standards).
inline constexpr TQcRule StandardsComplete{QLatin1StringView("standardsComplete"), 0.0, 0, TQcBound::AtMost};
// Mean OD of the zero standard, read back from its 3-decimal text; above it the plate
// washing should be investigated.
inline constexpr TQcRule PlateWashing{QLatin1StringView("plateWashing"), 0.150, std::nullopt,
                                      TQcBound::AtMost, true};

// The S1 rule of the curve type (the 8-point threshold for any type but 4-point).
const TQcRule &TopStandardMeanOd(TCurveType curveType);

} // namespace QcRule

// One rule as a calculation applied it.
struct TQcCheck
{
    TQcRule Rule;
    // The value at the precision the rule compares; none when it is not a number.
    std::optional<double> Measured;
    bool Passed = false;
};

// Applies the rule to a value. A value that is not finite fails; one whose scaled form
// leaves the 32-bit range is far from any threshold and is compared as it is.
TQcCheck CheckQcRule(const TQcRule &rule, double value);

// `value` rounded half up at `decimals` when its scaled form fits 32 bits, else as it is.
double RoundedAtDecimalsInRange(int decimals, double value);

struct TStandardQc
{
    QString Name;                 // "S1", ...
    std::vector<TQcCheck> Checks; // in the order applied
    bool Passed = false;
};

struct TRunQc
{
    std::vector<TStandardQc> Standards; // S1 first
    // standardsPass, correlation, standardsComplete (reached only while the run is still
    // valid), plateWashing.
    std::vector<TQcCheck> Run;
};
