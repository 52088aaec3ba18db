#include "DecimalDigits.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace NumberDigits {

namespace {

// Parses the output of std::to_chars in scientific form ("1.2345e+03").
DecimalDigits FromScientific(std::string_view text, bool negative)
{
    DecimalDigits number;
    number.negative = negative;
    const auto e = text.find('e');
    for (const char c : text.substr(0, e))
        if (c >= '0' && c <= '9')
            number.digits += c;
    int exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view expText = text.substr(e + 1);
        if (!expText.empty() && expText.front() == '+')
            expText.remove_prefix(1);
        std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
    }
    number.pointPos = exponent + 1;
    Trim(number);
    return number;
}

} // namespace

void Trim(DecimalDigits &number)
{
    const auto last = number.digits.find_last_not_of('0');
    if (last == std::string::npos) {
        number.digits.clear();
        number.pointPos = 0;
        return;
    }
    number.digits.resize(last + 1);
    const auto first = number.digits.find_first_not_of('0');
    number.digits.erase(0, first);
    number.pointPos -= static_cast<int>(first);
}

DecimalDigits ShortestDigits(double value)
{
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                      std::chars_format::scientific);
    return FromScientific(std::string_view(buffer.data(), result.ptr - buffer.data()), std::signbit(value));
}

DecimalDigits PrecisionDigits(double value, int precision)
{
    std::array<char, 128> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                      std::chars_format::scientific, std::clamp(precision, 1, 40) - 1);
    return FromScientific(std::string_view(buffer.data(), result.ptr - buffer.data()), std::signbit(value));
}

void RoundDigitsHalfUp(DecimalDigits &number, int decimals)
{
    if (number.IsZero())
        return;
    const long long keepLong = static_cast<long long>(number.pointPos) + decimals;
    if (keepLong >= static_cast<long long>(number.digits.size()))
        return;
    if (keepLong < 0) {
        number.digits.clear();
        Trim(number);
        return;
    }
    const auto keep = static_cast<std::size_t>(keepLong);
    const bool up = number.digits[keep] >= '5';
    number.digits.resize(keep);
    if (up) {
        std::size_t i = keep;
        while (i > 0 && number.digits[i - 1] == '9') {
            number.digits[i - 1] = '0';
            --i;
        }
        if (i == 0) {
            number.digits.insert(number.digits.begin(), '1');
            ++number.pointPos;
        } else {
            ++number.digits[i - 1];
        }
    }
    Trim(number);
}

QString FixedText(const DecimalDigits &number, int decimals, QChar separator)
{
    const long long n = static_cast<long long>(number.digits.size());
    const bool minus = number.negative && !number.IsZero();
    const long long integerLength = number.pointPos > 0 ? number.pointPos : 1;
    QString text(static_cast<qsizetype>(minus + integerLength + (decimals > 0 ? 1 + decimals : 0)),
                 Qt::Uninitialized);
    QChar *out = text.data();
    const auto digitAt = [&](long long position) {
        return position >= 0 && position < n ? QLatin1Char(number.digits[static_cast<std::size_t>(position)])
                                             : QLatin1Char('0');
    };
    if (minus)
        *out++ = QLatin1Char('-');
    if (number.pointPos <= 0) {
        *out++ = QLatin1Char('0');
    } else {
        for (long long i = 0; i < number.pointPos; ++i)
            *out++ = digitAt(i);
    }
    if (decimals > 0) {
        *out++ = separator;
        for (int i = 0; i < decimals; ++i)
            *out++ = digitAt(static_cast<long long>(number.pointPos) + i);
    }
    return text;
}

QStringView WriteScaled(TScaledChars &buffer, bool negative, std::uint64_t scaled, int decimals,
                        QChar separator)
{
    // Written backwards from the last digit: the fraction, the separator, the integer part
    // (at least one digit), the sign; two digits a division where the count allows.
    static constexpr char Pairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char16_t *const end = buffer.data() + buffer.size();
    char16_t *out = end;
    const bool minus = negative && scaled != 0;
    const auto writeDigits = [&out](std::uint64_t &rest, int count) {
        for (; count >= 2; count -= 2) {
            const std::uint64_t quotient = rest / 100;
            const auto pair = static_cast<std::size_t>(rest - quotient * 100) * 2;
            *--out = static_cast<char16_t>(Pairs[pair + 1]);
            *--out = static_cast<char16_t>(Pairs[pair]);
            rest = quotient;
        }
        if (count == 1) {
            const std::uint64_t quotient = rest / 10;
            *--out = static_cast<char16_t>(u'0' + (rest - quotient * 10));
            rest = quotient;
        }
    };
    if (decimals > 0) {
        writeDigits(scaled, decimals);
        *--out = separator.unicode();
    }
    do
        writeDigits(scaled, 1);
    while (scaled != 0);
    if (minus)
        *--out = u'-';
    return QStringView(out, end - out);
}

QString ScaledText(bool negative, std::uint64_t scaled, int decimals, QChar separator)
{
    TScaledChars buffer; // uninitialised: only the written end is read
    return WriteScaled(buffer, negative, scaled, decimals, separator).toString();
}

double ToDouble(const DecimalDigits &number)
{
    if (number.IsZero())
        return 0.0;
    std::string text = number.digits;
    text += 'e';
    text += std::to_string(number.pointPos - static_cast<int>(number.digits.size()));
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return number.negative ? -value : value;
}

QString NonFiniteText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

} // namespace NumberDigits
