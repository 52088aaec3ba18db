#pragma once

// The decimal-digit engine behind the number routines of Tool.h, and the character classes
// they share; internal to the core library.

#include <QChar>
#include <QString>
#include <QStringView>

#include <array>
#include <cmath>

#include <cstdint>
#include <string>

namespace NumberDigits {

// The powers of ten a double holds exactly: 10^0 to 10^22.
inline constexpr std::array<double, 23> ExactPowersOfTen{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// A number as decimal digits: value = 0.d1d2d3... x 10^pointPos, digits without leading or
// trailing zeros (empty for zero). Rounding and formatting work on these digits so that a
// decimal half is decided on the decimal text, never on the nearest binary value.
struct DecimalDigits
{
    bool negative = false;
    std::string digits;
    int pointPos = 0;

    bool IsZero() const { return digits.empty(); }
};

void Trim(DecimalDigits &number);
// The shortest decimal text that reads back as the same double.
DecimalDigits ShortestDigits(double value);
// The value with `precision` significant digits, correctly rounded.
DecimalDigits PrecisionDigits(double value, int precision);
// Half-up on the absolute value at `decimals` fraction digits (negative: tens, hundreds...).
void RoundDigitsHalfUp(DecimalDigits &number, int decimals);
QString FixedText(const DecimalDigits &number, int decimals, QChar separator);
double ToDouble(const DecimalDigits &number);

// The short way for the common case. |value| x 10^decimals rounded half up to an integer,
// decided on the binary value where that cannot differ from rounding a decimal form of value
// that lies within relativeError of it (the shortest form, or one of some significant
// digits). False when it could differ (too close to a half) or does not fit: the caller
// takes the digit engine then.
inline bool ScaledHalfUp(double value, int decimals, double relativeError, std::uint64_t &scaled)
{
    // Below 2^52, y keeps its integer and fraction parts exact.
    if (decimals < 0 || decimals >= static_cast<int>(ExactPowersOfTen.size()) || !std::isfinite(value))
        return false;
    const double y = std::fabs(value) * ExactPowersOfTen[static_cast<std::size_t>(decimals)];
    if (!(y < 4.0e15))
        return false;
    // y is below 2^63: the (signed, so single-instruction) conversion truncates, which for
    // y >= 0 is the floor.
    const auto truncated = static_cast<std::int64_t>(y);
    const auto whole = static_cast<double>(truncated);
    const double fraction = y - whole;
    // The decimal form lies within relativeError of value; the product adds half an ulp.
    const double tolerance = (relativeError + 4.0e-16) * y;
    if (std::fabs(fraction - 0.5) <= tolerance)
        return false;
    scaled = static_cast<std::uint64_t>(truncated + (fraction > 0.5 ? 1 : 0));
    return true;
}
// scaled / 10^decimals as the double nearest that decimal value (decimals 0 to 22).
inline double ScaledToDouble(bool negative, std::uint64_t scaled, int decimals)
{
    // Both operands are exact (scaled is below 2^53), so the quotient is the double nearest
    // the decimal value.
    const double magnitude = static_cast<double>(static_cast<std::int64_t>(scaled)) /
                             ExactPowersOfTen[static_cast<std::size_t>(decimals)];
    return negative ? -magnitude : magnitude;
}
// scaled / 10^decimals in fixed notation, as FixedText writes it (decimals 0 to 22), in a
// caller's buffer or as a text.
using TScaledChars = std::array<char16_t, 64>;
QStringView WriteScaled(TScaledChars &buffer, bool negative, std::uint64_t scaled, int decimals,
                        QChar separator);
QString ScaledText(bool negative, std::uint64_t scaled, int decimals, QChar separator);
// "NAN", "INF" or "-INF".
QString NonFiniteText(double value);

inline bool IsAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The blanks around a number: every character up to 0x20. The number reader trims them and
// the rounding on the digits drops them, so that a stray control character beside a number
// can never count as a digit position.
inline bool IsBlank(QChar c)
{
    return c.unicode() <= 0x20;
}

} // namespace NumberDigits
