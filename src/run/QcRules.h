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

// Catalogue texts that explain the rules to the operator.
namespace QcText {
inline constexpr int TopStandardMeanOd = 1140;
inline constexpr int ReplicateDeviation = 1141;
inline constexpr int Cv = 77; // "% CV", as the standards table heads it
inline constexpr int Correlation = 1142;
inline constexpr int ZeroStandardMeanOd = 1143;
inline constexpr int ReplicatesComplete = 1144;
inline constexpr int ReplicatesIncomplete = 1145;
inline constexpr int StandardsPass = 1146;
inline constexpr int StandardsFailed = 1147;
inline constexpr int StandardsComplete = 1148;
inline constexpr int StandardWellsNotNumbers = 1149;
} // namespace QcText

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
    // What the rule measures, in the operator's words. A rule that counts what is wrong
    // (at most 0) names what it counts and has a sentence of its own for none (HeldTextId).
    int TextId = 0;
    int HeldTextId = 0;

    bool Counts() const { return HeldTextId != 0; }
};

namespace QcRule {

// Mean OD of the top standard (S1), by curve type.
inline constexpr TQcRule TopStandardMeanOd4Point{.Name = QLatin1StringView("topStandardMeanOd"),
                                                 .Threshold = 0.600,
                                                 .Decimals = 3,
                                                 .Bound = TQcBound::AtLeast,
                                                 .TextId = QcText::TopStandardMeanOd};
inline constexpr TQcRule TopStandardMeanOd8Point{.Name = QLatin1StringView("topStandardMeanOd"),
                                                 .Threshold = 1.200,
                                                 .Decimals = 3,
                                                 .Bound = TQcBound::AtLeast,
                                                 .TextId = QcText::TopStandardMeanOd};
// |mean - replicate| of a low standard; the largest deviation examined is recorded.
inline constexpr TQcRule LowStandardReplicateAgreement{.Name =
                                                           QLatin1StringView("lowStandardReplicateAgreement"),
                                                       .Threshold = 0.040,
                                                       .Decimals = 3,
                                                       .Bound = TQcBound::AtMost,
                                                       .TextId = QcText::ReplicateDeviation};
// %CV of a standard that is not a low one.
inline constexpr TQcRule Cv{.Name = QLatin1StringView("cv"),
                            .Threshold = 15.0,
                            .Decimals = 1,
                            .Bound = TQcBound::AtMost,
                            .TextId = QcText::Cv};
// Correlation coefficient of the standard curve.
inline constexpr TQcRule Correlation{.Name = QLatin1StringView("correlation"),
                                     .Threshold = 0.98,
                                     .Decimals = 2,
                                     .Bound = TQcBound::AtLeast,
                                     .TextId = QcText::Correlation};
// Replicates of one standard that are missing or not numerical.
inline constexpr TQcRule ReplicatesComplete{.Name = QLatin1StringView("replicatesComplete"),
                                            .Threshold = 0.0,
                                            .Decimals = 0,
                                            .Bound = TQcBound::AtMost,
                                            .TextId = QcText::ReplicatesIncomplete,
                                            .HeldTextId = QcText::ReplicatesComplete};
// Standards that failed their own rules.
inline constexpr TQcRule StandardsPass{.Name = QLatin1StringView("standardsPass"),
                                       .Threshold = 0.0,
                                       .Decimals = 0,
                                       .Bound = TQcBound::AtMost,
                                       .TextId = QcText::StandardsFailed,
                                       .HeldTextId = QcText::StandardsPass};
// Wells of the first n standard blocks that do not hold a number (n standards).
inline constexpr TQcRule StandardsComplete{.Name = QLatin1StringView("standardsComplete"),
                                           .Threshold = 0.0,
                                           .Decimals = 0,
                                           .Bound = TQcBound::AtMost,
                                           .TextId = QcText::StandardWellsNotNumbers,
                                           .HeldTextId = QcText::StandardsComplete};
// Mean OD of the zero standard, read back from its 3-decimal text; above it the plate
// washing should be investigated.
inline constexpr TQcRule PlateWashing{.Name = QLatin1StringView("plateWashing"),
                                      .Threshold = 0.150,
                                      .Decimals = std::nullopt,
                                      .Bound = TQcBound::AtMost,
                                      .Advisory = true,
                                      .TextId = QcText::ZeroStandardMeanOd};

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

// A check as the operator reads it, in the current language: what was measured, its value
// at the precision compared, the bound and threshold ("Correlation coefficient 1.00 ≥ 0.98").
// A counting rule says that nothing was wrong, or what was and how many ("... (2)").
QString QcCheckStatement(const TQcCheck &check);
// The statement and its result: "Correlation coefficient 1.00 ≥ 0.98: PASS".
QString QcCheckSentence(const TQcCheck &check);

struct TStandardQc
{
    QString Name;                 // "S1", ...
    std::vector<TQcCheck> Checks; // in the order applied
    bool Passed = false;
    // The figures of the standards table; none where it shows text 81 (N/A): the mean of an
    // incomplete standard, the %CV of a low one.
    double Concentration = 0.0;
    std::optional<double> Mean;
    std::optional<double> Cv;
};

struct TRunQc
{
    std::vector<TStandardQc> Standards; // S1 first
    // standardsPass, correlation, standardsComplete (reached only while the run is still
    // valid), plateWashing.
    std::vector<TQcCheck> Run;
};
