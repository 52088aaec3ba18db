#include "run/CurveDiagnostics.h"

#include "run/RunCalculation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

// The continued fraction of the regularized incomplete beta function (modified Lentz),
// converging for x below (a + 1) / (a + b + 2).
double BetaContinuedFraction(double a, double b, double x)
{
    constexpr double Tiny = 1e-300;
    constexpr double Epsilon = 1e-16;
    const auto guarded = [](double value) { return std::fabs(value) < Tiny ? Tiny : value; };
    double c = 1.0;
    double d = 1.0 / guarded(1.0 - (a + b) * x / (a + 1.0));
    double h = d;
    for (int m = 1; m <= 1000; ++m) {
        const double m2 = 2.0 * m;
        double aa = m * (b - m) * x / ((a - 1.0 + m2) * (a + m2));
        d = 1.0 / guarded(1.0 + aa * d);
        c = guarded(1.0 + aa / c);
        h *= d * c;
        aa = -(a + m) * (a + b + m) * x / ((a + m2) * (a + 1.0 + m2));
        d = 1.0 / guarded(1.0 + aa * d);
        c = guarded(1.0 + aa / c);
        const double step = d * c;
        h *= step;
        if (std::fabs(step - 1.0) < Epsilon)
            break;
    }
    return h;
}

// I_x(a, b), with y = 1 − x given separately so that neither loses digits to cancellation.
double RegularizedBeta(double a, double b, double x, double y)
{
    if (x <= 0.0)
        return 0.0;
    if (y <= 0.0)
        return 1.0;
    const double front =
        std::exp(std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log(y));
    if (x < (a + 1.0) / (a + b + 2.0))
        return front * BetaContinuedFraction(a, b, x) / a;
    return 1.0 - front * BetaContinuedFraction(b, a, y) / b;
}

// P(T > t) for t ≥ 0.
double UpperTail(double t, double df)
{
    const double denominator = df + t * t;
    return 0.5 * RegularizedBeta(0.5 * df, 0.5, df / denominator, t * t / denominator);
}

double Density(double t, double df)
{
    const double logNorm =
        std::lgamma(0.5 * (df + 1.0)) - std::lgamma(0.5 * df) - 0.5 * std::log(df * std::numbers::pi);
    return std::exp(logNorm - 0.5 * (df + 1.0) * std::log1p(t * t / df));
}

// The t > 0 whose upper tail is `tail` (< 0.5): Newton's steps kept inside a bracket that
// bisection narrows whenever a step would leave it.
double UpperQuantile(double tail, double df)
{
    double low = 0.0;
    double high = 1.0;
    while (UpperTail(high, df) > tail)
        high *= 2.0;
    double t = 0.5 * high;
    for (int iteration = 0; iteration < 200; ++iteration) {
        const double excess = UpperTail(t, df) - tail; // falls as t grows
        if (excess > 0.0)
            low = t;
        else
            high = t;
        double next = t + excess / Density(t, df);
        if (!(next > low && next < high))
            next = 0.5 * (low + high);
        if (std::fabs(next - t) <= 4.0 * std::numeric_limits<double>::epsilon() * t)
            return next;
        t = next;
    }
    return t;
}

double MeanOfX(const std::vector<TRunCurvePoint> &points)
{
    double sum = 0.0;
    for (const TRunCurvePoint &point : points)
        sum += point.X;
    return sum / static_cast<double>(points.size());
}

QStringList StandardsOutOfOrder(const TRunCalculationResult &result)
{
    QStringList outOfOrder;
    std::optional<double> previous;
    for (const TStandardQc &standard : result.Qc.Standards) {
        if (!standard.Mean)
            continue;
        if (previous && !(*standard.Mean < *previous))
            outOfOrder.append(standard.Name);
        previous = standard.Mean;
    }
    return outOfOrder;
}

} // namespace

double StudentTQuantile(double p, int df)
{
    if (!(p > 0.0 && p < 1.0) || df < 1)
        return std::numeric_limits<double>::quiet_NaN();
    if (p == 0.5)
        return 0.0;
    if (df == 1)
        return std::tan(std::numbers::pi * (p - 0.5));
    if (df == 2)
        return (2.0 * p - 1.0) / std::sqrt(2.0 * p * (1.0 - p));
    return p > 0.5 ? UpperQuantile(1.0 - p, df) : -UpperQuantile(p, df);
}

TCurveDiagnostics DiagnoseCurve(const TRunCalculationResult &result)
{
    TCurveDiagnostics diagnostics;
    diagnostics.OutOfOrder = StandardsOutOfOrder(result);
    diagnostics.Subjects.resize(result.Subjects.size());

    const std::vector<TRunCurvePoint> &points = result.CurvePoints;
    const double a = result.Intercept;
    const double b = result.Slope;
    const std::size_t n = points.size();
    if (n == 0)
        return diagnostics;

    double sumOfSquares = 0.0;
    for (const TRunCurvePoint &point : points) {
        const auto index = static_cast<std::size_t>(point.Standard);
        const bool known = point.Standard >= 0 && index < result.Qc.Standards.size();
        TStandardDiagnostics &standard = diagnostics.Standards.emplace_back();
        standard.Name = known ? result.Qc.Standards[index].Name : QString();
        standard.Nominal = known ? result.Qc.Standards[index].Concentration : std::exp(point.X);
        standard.BackCalculated = std::exp((point.Y - a) / b);
        standard.RecoveryPercent = 100.0 * standard.BackCalculated / standard.Nominal;
        standard.Residual = point.Y - (a + b * point.X);
        sumOfSquares += standard.Residual * standard.Residual;
    }

    const double meanX = MeanOfX(points);
    double sxx = 0.0;
    for (const TRunCurvePoint &point : points)
        sxx += (point.X - meanX) * (point.X - meanX);
    std::optional<double> t;
    if (n > 2) {
        diagnostics.FitStandardError = std::sqrt(sumOfSquares / static_cast<double>(n - 2));
        t = StudentTQuantile(0.975, static_cast<int>(n - 2));
    }

    double lowest = std::numeric_limits<double>::infinity();
    double highest = 0.0;
    for (const TStandardQc &standard : result.Qc.Standards) {
        if (standard.Concentration > 0.0) {
            lowest = std::min(lowest, standard.Concentration);
            highest = std::max(highest, standard.Concentration);
        }
    }

    for (std::size_t k = 0; k < result.Subjects.size(); ++k) {
        const std::optional<double> &od = result.Subjects[k].Od;
        if (!od)
            continue;
        TSubjectDiagnostics &subject = diagnostics.Subjects[k];
        const double x0 = (std::log(*od) - a) / b;
        const double concentration = std::exp(x0);
        subject.BelowLowestStandard = concentration < lowest;
        subject.AboveHighestStandard = concentration > highest;
        if (!t || !std::isfinite(x0))
            continue;
        const double halfWidth =
            *t * (*diagnostics.FitStandardError / std::fabs(b)) *
            std::sqrt(1.0 + 1.0 / static_cast<double>(n) + (x0 - meanX) * (x0 - meanX) / sxx);
        subject.Interval95 = TPredictionInterval{std::exp(x0 - halfWidth), std::exp(x0 + halfWidth)};
    }
    return diagnostics;
}
