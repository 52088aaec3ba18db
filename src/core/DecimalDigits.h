#pragma once

// The decimal-digit engine behind the number routines of Tool.h, and the character classes
// they share; internal to the core library.

#include <QChar>
#include <QString>

#include <cstdint>
#include <string>

namespace NumberDigits {

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
bool ScaledHalfUp(double value, int decimals, double relativeError, std::uint64_t &scaled);
// scaled / 10^decimals as the double nearest that decimal value (decimals 0 to 22).
double ScaledToDouble(bool negative, std::uint64_t scaled, int decimals);
// scaled / 10^decimals in fixed notation, as FixedText writes it.
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
