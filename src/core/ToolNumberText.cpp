// Numbers read from texts: the program's number format, and the rounding done on the
// digits of a number text.

#include "Tool.h"

#include "DecimalDigits.h"
#include "Exceptions.h"
#include "RegionalSettings.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

using namespace NumberDigits;

QString NormalizeNumberText(const QString &input)
{
    const QChar d = GetRegionalDecimalSeparator();
    const QChar k = GetRegionalThousandSeparator();
    QString s;
    s.reserve(input.size());
    for (const QChar c : input) {
        if (IsBlank(c) || c == QLatin1Char('+') || (!k.isNull() && c == k))
            continue;
        s += c;
    }
    s = s.toUpper();
    const qsizetype len = s.size();
    // 1-based positions, 0 when absent
    const qsizetype pd = d.isNull() ? 0 : s.indexOf(d) + 1;
    const bool neg = s.startsWith(QLatin1Char('-'));
    qsizetype pe = s.indexOf(QLatin1Char('E')) + 1;
    if (pe <= 1)
        pe = 0;

    long long h = pd > 0 ? pd - 1 : (pe > 0 ? pe - 1 : len);
    if (neg)
        --h;
    long long f = 0;
    if (pd > 0)
        f = pe > 0 ? pe - pd - 1 : len - pd;

    if (pe > 0) {
        int e = 0;
        // An exponent too large for any double would only build enormous texts.
        if (TryTextToInt(s.mid(pe), e) && std::abs(static_cast<long long>(e)) <= 4000) {
            h += e;
            f -= e;
        } else if (TryTextToInt(s.mid(pe), e)) {
            throw EConvertError(QStringLiteral("'") + input +
                                QStringLiteral("' is not a valid floating point value"));
        } else {
            pe = 0;
        }
    }

    QString digits;
    const QString digitSource = pe > 0 ? s.left(pe - 1) : s;
    for (const QChar c : digitSource)
        if (IsAsciiDigit(c))
            digits += c;
    const long long count = digits.size();

    QString r;
    if (h > 0) {
        r += digits.left(static_cast<qsizetype>(std::min(h, count)));
        if (h > count)
            r += QString(static_cast<qsizetype>(h - count), QLatin1Char('0'));
        r += d;
    } else {
        r += QLatin1Char('0');
        r += d;
        r += QString(static_cast<qsizetype>(-h), QLatin1Char('0'));
    }
    if (f <= 0) {
        r += QLatin1Char('0');
    } else {
        if (h >= 0 && f > count)
            r += QString(static_cast<qsizetype>(f - count), QLatin1Char('0'));
        r += digits.right(static_cast<qsizetype>(std::min(f, count)));
    }

    qsizetype p1 = 0;
    for (qsizetype i = 0; i < r.size(); ++i) {
        if (r.at(i) >= QLatin1Char('1') && r.at(i) <= QLatin1Char('9')) {
            p1 = i + 1;
            break;
        }
    }
    const qsizetype pr = r.indexOf(d) + 1;
    if (p1 < pr)
        r = r.mid(p1 > 0 ? p1 - 1 : 0);
    else
        r = QLatin1Char('0') + r.mid(pr - 1);
    if (neg)
        r.prepend(QLatin1Char('-'));
    return r;
}

QString RoundWideString(const QString &input, int decimals)
{
    const QString where = QStringLiteral("Tool.RoundWideString");
    const QString parameters =
        QStringLiteral("pInput=") + input + QStringLiteral(", pDecimals=") + QString::number(decimals);
    if (decimals <= 0)
        throw MarnovelException(
            BuildExceptionMessage(where, parameters, QStringLiteral("pDecimals must be > 0")));
    // A huge count would only allocate a text of zeros.
    if (decimals > 100)
        throw ERangeError(
            BuildExceptionMessage(where, parameters, QStringLiteral("pDecimals must be <= 100")));

    const QChar d = GetRegionalDecimalSeparator();
    const QString n = NormalizeNumberText(input);
    qsizetype p = 0;
    while (p < n.size() && !IsAsciiDigit(n.at(p)))
        ++p;
    const QString prefix = n.left(p);
    const QString m = n.mid(p);
    const qsizetype pd = m.indexOf(d) + 1; // 1-based, 0 when absent
    const qsizetype length = m.size();

    QString result;
    if (pd == 0) {
        result = m + d + QString(decimals, QLatin1Char('0'));
    } else if (pd + decimals < length) {
        // Integer digits followed by the first `decimals` fraction digits, as one integer.
        const QString scaled = m.left(pd - 1) + m.mid(pd, decimals);
        long long v = 0;
        for (const QChar c : scaled) {
            if (!IsAsciiDigit(c))
                continue;
            v = v * 10 + (c.unicode() - '0');
            if (v > std::numeric_limits<std::int32_t>::max())
                break;
        }
        if (m.at(pd + decimals) >= QLatin1Char('5') && m.at(pd + decimals) <= QLatin1Char('9'))
            ++v;
        if (v > std::numeric_limits<std::int32_t>::max())
            throw EIntOverflow(BuildExceptionMessage(
                where, parameters, QStringLiteral("The rounded value exceeds the integer range")));
        const QString r = QString::number(v);
        if (r.size() <= decimals)
            result = QStringLiteral("0") + d + QString(decimals - r.size(), QLatin1Char('0')) + r;
        else
            result = r.left(r.size() - decimals) + d + r.right(decimals);
    } else {
        const qsizetype fractionDigits = length - pd;
        result = m + QString(decimals - fractionDigits, QLatin1Char('0'));
    }
    return prefix + result;
}

bool TryTextToFloat(const QString &text, double &value)
{
    const QChar sep = GetRegionalDecimalSeparator();
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text.at(begin)))
        ++begin;
    while (end > begin && IsBlank(text.at(end - 1)))
        --end;

    std::string mantissa;
    qsizetype i = begin;
    bool negative = false;
    if (i < end && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    int digitCount = 0;
    int integerDigits = 0;
    bool inFraction = false;
    for (; i < end; ++i) {
        const QChar c = text.at(i);
        if (IsAsciiDigit(c)) {
            mantissa += static_cast<char>(c.unicode());
            ++digitCount;
            if (!inFraction)
                ++integerDigits;
        } else if (!inFraction && !sep.isNull() && c == sep) {
            inFraction = true;
            mantissa += '.';
        } else {
            break;
        }
    }
    if (digitCount == 0)
        return false;

    long long exponent = 0;
    if (i < end && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        ++i;
        bool expNegative = false;
        if (i < end && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
            expNegative = text.at(i) == QLatin1Char('-');
            ++i;
        }
        int expDigits = 0;
        for (; i < end && IsAsciiDigit(text.at(i)); ++i) {
            ++expDigits;
            if (exponent < 1000000000)
                exponent = exponent * 10 + (text.at(i).unicode() - '0');
        }
        if (expDigits == 0)
            return false;
        if (expNegative)
            exponent = -exponent;
    }
    if (i != end)
        return false;

    // Magnitude of the leading non-zero digit, to tell underflow (0) from overflow (error).
    long long leading = 0;
    bool allZero = true;
    {
        long long position = integerDigits;
        for (const char c : mantissa) {
            if (c == '.')
                continue;
            if (c != '0') {
                allZero = false;
                leading = position + exponent;
                break;
            }
            --position;
        }
    }
    if (allZero) {
        value = negative ? -0.0 : 0.0;
        return true;
    }
    if (leading > 400)
        return false;
    if (leading < -400) {
        value = negative ? -0.0 : 0.0;
        return true;
    }
    std::string number = mantissa;
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
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    if (i >= text.size())
        return false;
    long long result = 0;
    for (; i < text.size(); ++i) {
        if (!IsAsciiDigit(text.at(i)))
            return false;
        result = result * 10 + (text.at(i).unicode() - '0');
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
