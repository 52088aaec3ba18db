// Numbers read from texts: the program's number format, and the rounding done on the
// digits of a number text.

#include "Tool.h"

#include "DecimalDigits.h"
#include "Exceptions.h"
#include "RegionalSettings.h"

#include <QStringView>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

using namespace NumberDigits;

namespace {

// Optional sign, decimal digits, 32 bits: TryTextToInt on a part of a text.
bool ReadInt(QStringView text, int &value)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i >= text.size())
        return false;
    long long result = 0;
    for (; i < text.size(); ++i) {
        if (!IsAsciiDigit(text[i]))
            return false;
        result = result * 10 + (text[i].unicode() - '0');
        if (result > 2147483648LL)
            return false;
    }
    if (negative)
        result = -result;
    if (result > std::numeric_limits<std::int32_t>::max() ||
        result < std::numeric_limits<std::int32_t>::min())
        return false;
    value = static_cast<int>(result);
    return true;
}

// An optional sign and more digits than an int holds.
bool IsLongExponent(QStringView text)
{
    qsizetype i = 0;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    if (i >= text.size())
        return false;
    for (; i < text.size(); ++i)
        if (!IsAsciiDigit(text[i]))
            return false;
    return true;
}

[[noreturn]] void RaiseNotAFloat(const QString &text)
{
    throw EConvertError(QStringLiteral("'") + text + QStringLiteral("' is not a valid floating point value"));
}

// A number text as the digit rules lay it out. Blanks, "+" and thousands separators are
// dropped and letters read in upper case. The characters before the first decimal separator
// (before the exponent without one; all of them without either) are integer positions, the
// characters after it up to the exponent fraction positions; a leading "-" is the sign and
// takes no position, and the exponent moves the point. The text's digits fill the integer
// positions from the left and the fraction positions from the right; positions without a
// digit are zeros. For a number that is just its integer and fraction digits. A text that is
// no number still gets a layout: an "E" in first place or without an integer after it is no
// exponent, and every other character takes a position.
struct TNumberLayout
{
    bool Negative = false;
    // At least one digit each. The integer digits lose their leading zeros, unless every
    // digit of the number is 0; then they keep one for each position.
    std::string Integer;
    std::string Fraction;
};

TNumberLayout LayOutNumberText(QStringView input, QChar separator)
{
    const QChar thousands = GetRegionalThousandSeparator();
    QVarLengthArray<QChar, 64> s;
    bool ascii = true;
    for (const QChar c : input) {
        if (IsBlank(c) || c == QLatin1Char('+') || (!thousands.isNull() && c == thousands))
            continue;
        s.append(c);
        ascii = ascii && c.unicode() < 0x80;
    }
    if (ascii) {
        for (QChar &c : s)
            if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
                c = QChar(c.unicode() - 0x20);
    } else {
        // Upper case may change the length of the text, and so the positions.
        const QString upper = QString(s.constData(), s.size()).toUpper();
        s.clear();
        s.append(upper.constData(), upper.size());
    }

    const qsizetype length = s.size();
    const auto find = [&](QChar c) {
        const auto at = std::find(s.cbegin(), s.cend(), c);
        return at == s.cend() ? qsizetype(-1) : qsizetype(at - s.cbegin());
    };
    const qsizetype point = separator.isNull() ? -1 : find(separator);
    qsizetype exponentAt = find(QLatin1Char('E'));
    if (exponentAt <= 0)
        exponentAt = -1;

    TNumberLayout layout;
    layout.Negative = length > 0 && s[0] == QLatin1Char('-');
    long long integerPositions = point >= 0 ? point : (exponentAt >= 0 ? exponentAt : length);
    if (layout.Negative)
        --integerPositions;
    long long fractionPositions = 0;
    if (point >= 0)
        fractionPositions = (exponentAt >= 0 ? exponentAt : length) - point - 1;
    if (exponentAt >= 0) {
        const QStringView exponentText(s.constData() + exponentAt + 1, length - exponentAt - 1);
        int exponent = 0;
        bool isExponent = ReadInt(exponentText, exponent);
        if (!isExponent && IsLongExponent(exponentText)) {
            // Beyond int: far below any double's magnitude reads as zero, far above is no number.
            isExponent = true;
            exponent = exponentText.startsWith(QLatin1Char('-')) ? -4000 : 4001;
        }
        if (isExponent) {
            // An exponent too large for any double would only build enormous texts.
            if (std::abs(static_cast<long long>(exponent)) > 4000)
                RaiseNotAFloat(input.toString());
            integerPositions += exponent;
            fractionPositions -= exponent;
        } else {
            exponentAt = -1;
        }
    }

    std::string digits;
    for (qsizetype i = 0, end = exponentAt >= 0 ? exponentAt : length; i < end; ++i)
        if (IsAsciiDigit(s[i]))
            digits += static_cast<char>(s[i].unicode());
    const auto count = static_cast<long long>(digits.size());

    if (integerPositions > 0) {
        layout.Integer = digits.substr(0, static_cast<std::size_t>(std::min(integerPositions, count)));
        if (integerPositions > count)
            layout.Integer.append(static_cast<std::size_t>(integerPositions - count), '0');
    } else {
        layout.Integer = "0";
        layout.Fraction.append(static_cast<std::size_t>(-integerPositions), '0');
    }
    if (fractionPositions <= 0) {
        layout.Fraction += '0';
    } else {
        if (integerPositions >= 0 && fractionPositions > count)
            layout.Fraction.append(static_cast<std::size_t>(fractionPositions - count), '0');
        layout.Fraction +=
            digits.substr(static_cast<std::size_t>(count - std::min(fractionPositions, count)));
    }

    const auto nonZero = [](const std::string &part) { return part.find_first_of("123456789"); };
    if (const auto first = nonZero(layout.Integer); first != std::string::npos)
        layout.Integer.erase(0, first);
    else if (nonZero(layout.Fraction) != std::string::npos)
        layout.Integer = "0";
    return layout;
}

// The sign, the integer digits, the separator, the fraction digits and `zeros` more zeros.
QString LayoutText(const TNumberLayout &layout, QChar separator, qsizetype zeros = 0)
{
    const auto integer = static_cast<qsizetype>(layout.Integer.size());
    const auto fraction = static_cast<qsizetype>(layout.Fraction.size());
    QString text(layout.Negative + integer + 1 + fraction + zeros, Qt::Uninitialized);
    QChar *out = text.data();
    if (layout.Negative)
        *out++ = QLatin1Char('-');
    for (const char c : layout.Integer)
        *out++ = QLatin1Char(c);
    *out++ = separator;
    for (const char c : layout.Fraction)
        *out++ = QLatin1Char(c);
    for (qsizetype i = 0; i < zeros; ++i)
        *out++ = QLatin1Char('0');
    return text;
}

// Whether number x 10^decimals, an integer after rounding at decimals, exceeds 32 bits.
bool ScaledBeyondInt32(const DecimalDigits &number, int decimals)
{
    if (number.IsZero())
        return false;
    const long long positions = static_cast<long long>(number.pointPos) + decimals;
    if (positions > 10)
        return true;
    long long scaled = 0;
    for (long long i = 0; i < positions; ++i) {
        const auto at = static_cast<std::size_t>(i);
        scaled = scaled * 10 + (at < number.digits.size() ? number.digits[at] - '0' : 0);
    }
    return scaled > std::numeric_limits<std::int32_t>::max();
}

// The short way of RoundWideString for the plain texts a plate reader writes ("0.512",
// "-1.2", "7"): a sign, digits and at most one decimal separator, blanks only around them.
// The text the digit rules would give, built straight from the text; none for any other
// text, and for a value the rounding on 32 bits refuses.
std::optional<QString> RoundPlainNumber(QStringView input, int decimals, QChar separator)
{
    qsizetype begin = 0;
    qsizetype end = input.size();
    while (begin < end && IsBlank(input[begin]))
        ++begin;
    while (end > begin && IsBlank(input[end - 1]))
        --end;
    const bool negative = begin < end && input[begin] == QLatin1Char('-');
    if (negative)
        ++begin;
    qsizetype point = -1;
    for (qsizetype i = begin; i < end; ++i) {
        if (IsAsciiDigit(input[i]))
            continue;
        if (point >= 0 || separator.isNull() || input[i] != separator)
            return std::nullopt;
        point = i;
    }
    QStringView integer = input.sliced(begin, (point >= 0 ? point : end) - begin);
    QStringView fraction = point >= 0 ? input.sliced(point + 1, end - point - 1) : QStringView();
    if (integer.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    const auto firstNonZero = [](QStringView digits) {
        for (qsizetype i = 0; i < digits.size(); ++i)
            if (digits[i] != QLatin1Char('0'))
                return i;
        return qsizetype(-1);
    };
    static const QString zero = QStringLiteral("0");
    if (const qsizetype first = firstNonZero(integer); first >= 0)
        integer = integer.sliced(first);
    else if (integer.isEmpty() || firstNonZero(fraction) >= 0)
        integer = zero;
    if (fraction.isEmpty())
        fraction = zero;

    QString text;
    if (fraction.size() <= decimals) {
        text.resize(negative + integer.size() + 1 + decimals);
        QChar *out = text.data();
        if (negative)
            *out++ = QLatin1Char('-');
        out = std::copy(integer.begin(), integer.end(), out);
        *out++ = separator;
        out = std::copy(fraction.begin(), fraction.end(), out);
        std::fill(out, text.data() + text.size(), QLatin1Char('0'));
        return text;
    }
    if (integer.size() + decimals > 10)
        return std::nullopt;
    std::uint64_t scaled = 0;
    for (const QChar c : integer)
        scaled = scaled * 10 + (c.unicode() - '0');
    for (qsizetype i = 0; i < decimals; ++i)
        scaled = scaled * 10 + (fraction[i].unicode() - '0');
    if (fraction[decimals] >= QLatin1Char('5'))
        ++scaled;
    if (scaled > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    const QString rounded = ScaledText(false, scaled, decimals, separator);
    return negative ? QLatin1Char('-') + rounded : rounded;
}

} // namespace

QString NormalizeNumberText(const QString &input)
{
    const QChar separator = GetRegionalDecimalSeparator();
    return LayoutText(LayOutNumberText(input, separator), separator);
}

QString RoundWideString(QStringView input, int decimals)
{
    const auto raise = [&](auto exception, const char *reason) {
        throw decltype(exception)(BuildExceptionMessage(QStringLiteral("Tool.RoundWideString"),
                                                        QStringLiteral("pInput=") + input.toString() +
                                                            QStringLiteral(", pDecimals=") +
                                                            QString::number(decimals),
                                                        QString::fromLatin1(reason)));
    };
    if (decimals <= 0)
        raise(MarnovelException(QString()), "pDecimals must be > 0");
    // A huge count would only allocate a text of zeros.
    if (decimals > 100)
        raise(ERangeError(QString()), "pDecimals must be <= 100");

    const QChar separator = GetRegionalDecimalSeparator();
    if (std::optional<QString> quick = RoundPlainNumber(input, decimals, separator))
        return *std::move(quick);
    const TNumberLayout layout = LayOutNumberText(input, separator);
    const auto fractionDigits = static_cast<int>(layout.Fraction.size());
    if (fractionDigits <= decimals)
        return LayoutText(layout, separator, decimals - fractionDigits);

    DecimalDigits number{false, layout.Integer + layout.Fraction, static_cast<int>(layout.Integer.size())};
    Trim(number);
    RoundDigitsHalfUp(number, decimals);
    // The rounding is done on 32-bit integers of the scaled value.
    if (ScaledBeyondInt32(number, decimals))
        raise(EIntOverflow(QString()), "The rounded value exceeds the integer range");
    const QString rounded = FixedText(number, decimals, separator);
    return layout.Negative ? QLatin1Char('-') + rounded : rounded;
}

bool TryTextToFloat(QStringView text, double &value)
{
    const QChar sep = GetRegionalDecimalSeparator();
    {
        // The short way for the plain texts of a plate ("0.512", "-1.25", "7"): digits, at
        // most one separator and a leading "-", nothing else. The same value as below.
        const QChar *at = text.data();
        const QChar *const end = at + text.size();
        const bool negative = at != end && *at == QLatin1Char('-');
        if (negative)
            ++at;
        std::uint64_t mantissa = 0;
        int digits = 0;
        int fractionDigits = -1; // -1 before the separator
        for (; at != end; ++at) {
            const auto digit = static_cast<unsigned>(at->unicode()) - u'0';
            if (digit < 10u) {
                if (++digits > 19)
                    break;
                mantissa = mantissa * 10 + digit;
                if (fractionDigits >= 0)
                    ++fractionDigits;
            } else if (*at == sep && fractionDigits < 0 && !sep.isNull()) {
                fractionDigits = 0;
            } else {
                break;
            }
        }
        const int scale = fractionDigits < 0 ? 0 : fractionDigits;
        if (at == end && digits > 0 && mantissa <= (std::uint64_t(1) << 53) &&
            scale < static_cast<int>(ExactPowersOfTen.size())) {
            const double parsed = static_cast<double>(static_cast<std::int64_t>(mantissa)) /
                                  ExactPowersOfTen[static_cast<std::size_t>(scale)];
            value = negative ? -parsed : parsed;
            return true;
        }
    }
    const QChar *chars = text.constData();
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(chars[begin]))
        ++begin;
    while (end > begin && IsBlank(chars[end - 1]))
        --end;

    qsizetype i = begin;
    bool negative = false;
    if (i < end && (chars[i] == QLatin1Char('+') || chars[i] == QLatin1Char('-'))) {
        negative = chars[i] == QLatin1Char('-');
        ++i;
    }
    // The digits from the first non-zero one, as an integer while they fit 19 digits.
    std::uint64_t mantissa = 0;
    int significant = 0;
    int digitCount = 0;
    int integerDigits = 0;
    bool inFraction = false;
    const qsizetype mantissaBegin = i;
    for (; i < end; ++i) {
        const QChar c = chars[i];
        if (IsAsciiDigit(c)) {
            ++digitCount;
            if (!inFraction)
                ++integerDigits;
            if (significant > 0 || c != QLatin1Char('0')) {
                if (significant < 19)
                    mantissa = mantissa * 10 + (c.unicode() - '0');
                ++significant;
            }
        } else if (!inFraction && !sep.isNull() && c == sep) {
            inFraction = true;
        } else {
            break;
        }
    }
    const qsizetype mantissaEnd = i;
    if (digitCount == 0)
        return false;

    long long exponent = 0;
    if (i < end && (chars[i] == QLatin1Char('e') || chars[i] == QLatin1Char('E'))) {
        ++i;
        bool expNegative = false;
        if (i < end && (chars[i] == QLatin1Char('+') || chars[i] == QLatin1Char('-'))) {
            expNegative = chars[i] == QLatin1Char('-');
            ++i;
        }
        int expDigits = 0;
        for (; i < end && IsAsciiDigit(chars[i]); ++i) {
            ++expDigits;
            if (exponent < 1000000000)
                exponent = exponent * 10 + (chars[i].unicode() - '0');
        }
        if (expDigits == 0)
            return false;
        if (expNegative)
            exponent = -exponent;
    }
    if (i != end)
        return false;

    if (significant == 0) {
        value = negative ? -0.0 : 0.0;
        return true;
    }
    // The short way: an exact integer times or divided by an exact power of ten is
    // rounded once, as the long way rounds the decimal text.
    const long long scale = exponent - (digitCount - integerDigits);
    if (significant <= 19 && mantissa <= (std::uint64_t(1) << 53) && scale >= -22 && scale <= 22) {
        const auto magnitude = static_cast<double>(static_cast<std::int64_t>(mantissa)); // below 2^53
        const double power = ExactPowersOfTen[static_cast<std::size_t>(std::abs(scale))];
        const double parsed = scale < 0 ? magnitude / power : magnitude * power;
        value = negative ? -parsed : parsed;
        return true;
    }

    // The long way: the digits through the standard reader, checking the range first.
    std::string number;
    number.reserve(static_cast<std::size_t>(mantissaEnd - mantissaBegin) + 16);
    for (qsizetype k = mantissaBegin; k < mantissaEnd; ++k)
        number += IsAsciiDigit(chars[k]) ? static_cast<char>(chars[k].unicode()) : '.';
    // Magnitude of the leading non-zero digit, to tell underflow (0) from overflow (error).
    long long leading = 0;
    {
        long long position = integerDigits;
        for (const char c : number) {
            if (c == '.')
                continue;
            if (c != '0') {
                leading = position + exponent;
                break;
            }
            --position;
        }
    }
    if (leading > 400)
        return false;
    if (leading < -400) {
        value = negative ? -0.0 : 0.0;
        return true;
    }
    if (number.back() == '.')
        number.pop_back();
    if (number.front() == '.')
        number.insert(number.begin(), '0');
    number += 'e';
    number += std::to_string(exponent);
    double parsed = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), parsed);
    if (result.ec == std::errc::result_out_of_range) {
        if (leading > 0)
            return false;
        parsed = 0.0;
    } else if (result.ec != std::errc() || result.ptr != number.data() + number.size() ||
               !std::isfinite(parsed)) {
        return false;
    }
    value = negative ? -parsed : parsed;
    return true;
}

double TextToFloat(const QString &text)
{
    double value = 0.0;
    if (!TryTextToFloat(text, value))
        throw EConvertError(QStringLiteral("'") + text +
                            QStringLiteral("' is not a valid floating point value"));
    return value;
}

bool TryTextToInt(const QString &text, int &value)
{
    return ReadInt(text, value);
}

int TextToInt(const QString &text)
{
    int value = 0;
    if (!TryTextToInt(text, value))
        throw EConvertError(QStringLiteral("'") + text + QStringLiteral("' is not a valid integer value"));
    return value;
}

QString ReplaceDecimalSeparator(const QString &text, QChar sep)
{
    QString replaced = text;
    replaced.replace(sep, GetRegionalDecimalSeparator());
    double value = 0.0;
    return TryTextToFloat(replaced, value) ? replaced : text;
}

std::vector<double> TextsToDoubles(const QStringList &texts, QChar sep)
{
    std::vector<double> result(static_cast<std::size_t>(texts.size()), 0.0);
    for (qsizetype i = 0; i + 1 < texts.size(); ++i)
        result[static_cast<std::size_t>(i)] = TextToFloat(ReplaceDecimalSeparator(texts.at(i), sep));
    return result;
}
