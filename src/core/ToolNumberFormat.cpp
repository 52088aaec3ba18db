// Numbers written as texts: fixed and general notation with the regional decimal
// separator, rounded on the decimal digits.

#include "Tool.h"

#include "DecimalDigits.h"
#include "RegionalSettings.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

using namespace NumberDigits;

namespace {

// Fixed notation after rounding to `precision` significant digits, then half-up to `decimals`.
QString FormatFixedPrecision(double value, int precision, int decimals)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    decimals = std::clamp(decimals, 0, 100);
    precision = std::clamp(precision, 1, 40);
    const QChar separator = GetRegionalDecimalSeparator();
    // The `precision` digits lie within half a unit of their last place of value:
    // 0.5 x 10^(1 - precision) relative to it.
    static const std::array<double, 41> HalfLastPlace = [] {
        std::array<double, 41> errors{};
        for (std::size_t p = 1; p < errors.size(); ++p)
            errors[p] = 0.5 * std::pow(10.0, 1.0 - static_cast<double>(p));
        return errors;
    }();
    std::uint64_t scaled = 0;
    if (ScaledHalfUp(value, decimals, HalfLastPlace[static_cast<std::size_t>(precision)], scaled))
        return ScaledText(std::signbit(value), scaled, decimals, separator);
    DecimalDigits number = PrecisionDigits(value, precision);
    RoundDigitsHalfUp(number, decimals);
    return FixedText(number, decimals, separator);
}

} // namespace

QString FormatFixed(double value, int decimals)
{
    return FormatFixedPrecision(value, 15, decimals);
}

QString FormatGeneral(double value, int precision)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    precision = std::clamp(precision, 1, 17);
    const DecimalDigits number = PrecisionDigits(value, precision);
    if (number.IsZero())
        return QStringLiteral("0");
    const QChar sep = GetRegionalDecimalSeparator();
    const int exponent = number.pointPos;
    if (exponent > precision || exponent < -3) {
        QString text;
        if (number.negative)
            text += QLatin1Char('-');
        text += QLatin1Char(number.digits.front());
        if (number.digits.size() > 1) {
            text += sep;
            text += QString::fromLatin1(number.digits.data() + 1,
                                        static_cast<qsizetype>(number.digits.size() - 1));
        }
        text += QLatin1Char('E');
        text += QString::number(exponent - 1);
        return text;
    }
    const int decimals = std::max(0, static_cast<int>(number.digits.size()) - exponent);
    return FixedText(number, decimals, sep);
}

QString FormatTwoDecimals(double x)
{
    return FormatFixedPrecision(RoundAwayToDecimals(2, x), 9, 2);
}
