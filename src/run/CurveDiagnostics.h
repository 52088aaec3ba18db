#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

struct TRunCalculationResult;

// How well the run's standard curve describes its standards and how certain a sample's
// IU/mL is: information beside the verdict, which stays the kit's fixed rules. Everything
// comes from the unrounded fit ln(mean OD) = a + b · ln(concentration) through its points
// (the standards with a non-zero concentration and a non-zero mean); n points, x̄ the mean
// of their x, Sxx = Σ(x − x̄)². A figure that is not a finite number (a flat curve) stays
// as it is; the caller decides how to show it.

struct TStandardDiagnostics
{
    QString Name;                 // "S1", ...
    double Nominal = 0.0;         // its concentration, IU/mL
    double BackCalculated = 0.0;  // exp((y − a) / b): the concentration the curve reads for its mean
    double RecoveryPercent = 0.0; // 100 · BackCalculated / Nominal
    double Residual = 0.0;        // y − (a + b · x)
};

struct TPredictionInterval
{
    double Low = 0.0;
    double High = 0.0;
};

struct TSubjectDiagnostics
{
    // exp(x0 ± t · (s / |b|) · √(1 + 1/n + (x0 − x̄)² / Sxx)), x0 = (ln OD − a) / b and t the
    // 0.975 quantile of Student's t with n − 2 degrees of freedom. None when n ≤ 2 or the
    // subject has no numerical OD (not specified, not a number), or for an OD of 0.
    std::optional<TPredictionInterval> Interval95;
    // exp(x0) below the lowest, or above the highest, non-zero standard concentration;
    // both false without a numerical OD. An OD of 0 reads as concentration 0: below.
    bool BelowLowestStandard = false;
    bool AboveHighestStandard = false;
};

struct TCurveDiagnostics
{
    std::vector<TStandardDiagnostics> Standards; // the fitted standards, S1 first
    // s = √(Σ residual² / (n − 2)); none when n ≤ 2.
    std::optional<double> FitStandardError;
    // The means must fall strictly from S1 to the zero standard. Out of order is each
    // standard whose mean is not strictly below the mean of the standard before it; a
    // standard without a mean (a replicate missing or not a number) is passed over, and
    // the next one is compared with the last mean before it. A high-dose hook names the
    // standard whose mean rose: S1 1.2, S2 1.5, S3 0.9 names S2.
    QStringList OutOfOrder;
    // One per subject of the calculation, in its order.
    std::vector<TSubjectDiagnostics> Subjects;

    bool StandardsInOrder() const { return OutOfOrder.isEmpty(); }
};

// The decimals the diagnostics are shown with, wherever they are shown; back-calculated
// concentrations and interval limits are shown as concentrations.
inline constexpr int RecoveryDecimals = 1;
inline constexpr int ResidualDecimals = 4; // also the standard error of the fit

// The diagnostics of a calculated run (CalculateRun's result).
TCurveDiagnostics DiagnoseCurve(const TRunCalculationResult &result);

// The p quantile of Student's t distribution with df ≥ 1 degrees of freedom, 0 < p < 1:
// exact for df 1 and 2, else solved on the distribution function to a few units in the
// last place.
double StudentTQuantile(double p, int df);
