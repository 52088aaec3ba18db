// Numbers written as texts: fixed and general notation with the regional decimal
// separator, rounded on the decimal digits.

#include "Tool.h"

#include "DecimalDigits.h"
#include "RegionalSettings.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

using namespace NumberDigits;

namespace {

// The `precision` significant digits of a value lie within half a unit of their last place:
// 0.5 x 10^(1 - precision) relative to it. Made at compile time (a few ulps off, which the
// margin of ScaledHalfUp covers), so that no call can see the table before it is filled.
constexpr std::array<double, 41> HalfLastPlace = [] {
    std::array<double, 41> errors{};
    double error = 0.5;
    for (std::size_t p = 1; p < errors.size(); ++p, error /= 10.0)
        errors[p] = error;
    return errors;
}();

// The short way of fixed notation after rounding to `precision` significant digits, then
// half-up to `decimals`: the text in buffer, or none where the digit engine must decide.
std::optional<QStringView> QuickFixed(TScaledChars &buffer, double value, int precision, int decimals)
{
    std::uint64_t scaled = 0;
    if (!ScaledHalfUp(value, decimals, HalfLastPlace[static_cast<std::size_t>(std::clamp(precision, 1, 40))],
                      scaled))
        return std::nullopt;
    return WriteScaled(buffer, std::signbit(value), scaled, decimals, GetRegionalDecimalSeparator());
}

// Fixed notation after rounding to `precision` significant digits, then half-up to `decimals`.
QString FormatFixedPrecision(double value, int precision, int decimals)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    decimals = std::clamp(decimals, 0, 100);
    precision = std::clamp(precision, 1, 40);
    TScaledChars buffer; // uninitialised: only the written end is read
    if (const std::optional<QStringView> quick = QuickFixed(buffer, value, precision, decimals))
        return quick->toString();
    DecimalDigits number = PrecisionDigits(value, precision);
    RoundDigitsHalfUp(number, decimals);
    return FixedText(number, decimals, GetRegionalDecimalSeparator());
}

} // namespace

QString FormatFixed(double value, int decimals)
{
    return FormatFixedPrecision(value, 15, decimals);
}

QStringView FormatFixed(double value, int decimals, TNumberTextBuffer &buffer)
{
    const std::optional<QStringView> quick =
        std::isfinite(value) ? QuickFixed(buffer.Chars, value, 15, std::clamp(decimals, 0, 100))
                             : std::nullopt;
    if (quick)
        return *quick;
    buffer.Long = FormatFixed(value, decimals);
    return buffer.Long;
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
