// Rounding, comparisons at a number of decimals and the small statistics of a run.

#include "Tool.h"

#include "DecimalDigits.h"
#include "Exceptions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

using namespace NumberDigits;

double PowerOfTen(int exponent)
{
    if (exponent >= 0 && exponent < static_cast<int>(ExactPowersOfTen.size()))
        return ExactPowersOfTen[static_cast<std::size_t>(exponent)];
    return std::pow(10.0, exponent);
}

int RoundHalfUp(double x)
{
    constexpr double upper = 2147483648.0;  // 2^31
    constexpr double lower = -2147483649.0; // truncation still fits above this
    if (std::isnan(x) || x >= upper || x <= lower)
        throw ERangeError(BuildExceptionMessage(QStringLiteral("Tool.RoundHalfUp"),
                                                QStringLiteral("x=") + FormatGeneral(x),
                                                QStringLiteral("The value is outside the integer range")));
    // In range, the conversion truncates towards zero.
    long long result = static_cast<long long>(x);
    const auto truncated = static_cast<double>(result);
    if (x - truncated >= 0.5)
        ++result;
    if (result > std::numeric_limits<std::int32_t>::max())
        throw ERangeError(BuildExceptionMessage(QStringLiteral("Tool.RoundHalfUp"),
                                                QStringLiteral("x=") + FormatGeneral(x),
                                                QStringLiteral("The value is outside the integer range")));
    return static_cast<int>(result);
}

double RoundToDecimals(int d, double x)
{
    // 10^d rounded to an integer is 0 for negative d, which would divide by zero.
    if (d < 0)
        throw ERangeError(BuildExceptionMessage(QStringLiteral("Tool.RoundToDecimals"),
                                                QStringLiteral("d=") + QString::number(d),
                                                QStringLiteral("d must be >= 0")));
    const double f = std::round(PowerOfTen(d));
    const int t = RoundHalfUp(f * x);
    return t / f;
}

bool IsLessAtDecimals(int d, double x, double y)
{
    const double f = RoundHalfUp(PowerOfTen(d));
    return RoundHalfUp(f * x) < RoundHalfUp(f * y);
}

bool IsLessOrEqualAtDecimals(int d, double x, double y)
{
    const double f = RoundHalfUp(PowerOfTen(d));
    return RoundHalfUp(f * x) <= RoundHalfUp(f * y);
}

bool IsGreaterOrEqualAtDecimals(int d, double x, double y)
{
    return !IsLessAtDecimals(d, x, y);
}

// Rounds the shortest decimal text that reads back as x, not x's exact binary value: a lab
// that types 1.005 or 2.675 expects 1.01 and 2.68, which scaling by 100 in binary would miss.
double RoundAwayToDecimals(int d, double x)
{
    if (d < -37 || d > 37)
        throw ERangeError(BuildExceptionMessage(QStringLiteral("Tool.RoundAwayToDecimals"),
                                                QStringLiteral("d=") + QString::number(d),
                                                QStringLiteral("d must be from -37 to 37")));
    if (!std::isfinite(x) || x == 0.0)
        return x == 0.0 ? 0.0 : x;
    // The shortest form lies within half an ulp of x.
    std::uint64_t scaled = 0;
    if (ScaledHalfUp(x, d, 2.3e-16, scaled)) {
        const double result = ScaledToDouble(std::signbit(x), scaled, d);
        return result == 0.0 ? 0.0 : result;
    }
    DecimalDigits number = ShortestDigits(x);
    RoundDigitsHalfUp(number, d);
    const double result = ToDouble(number);
    return result == 0.0 ? 0.0 : result;
}

void MeanAndSampleDeviation(std::span<const double> values, double &mean, double &deviation)
{
    const std::size_t n = values.size();
    mean = 0.0;
    deviation = 0.0;
    if (n == 0)
        return;
    double sum = 0.0;
    for (const double v : values)
        sum += v;
    mean = sum / static_cast<double>(n);
    if (n == 1)
        return;
    double squares = 0.0;
    for (const double v : values)
        squares += (v - mean) * (v - mean);
    deviation = std::sqrt(squares / static_cast<double>(n - 1));
}

int MaxDictValue(const QMap<int, int> &map)
{
    int result = std::numeric_limits<int>::min();
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        result = std::max(result, it.value());
    return result;
}

double ConcentrationFromOD(double od, double intercept, double slope)
{
    return RoundAwayToDecimals(2, std::exp((std::log(od) - intercept) / slope));
}
