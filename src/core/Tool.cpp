#include "Tool.h"

#include "Exceptions.h"
#include "RegionalSettings.h"
#include "UiTextManager.h"

#include <QTime>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// ---- decimal digit arithmetic ---------------------------------------------------------
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

// The shortest decimal text that reads back as the same double.
DecimalDigits ShortestDigits(double value)
{
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                      std::chars_format::scientific);
    return FromScientific(std::string_view(buffer.data(), result.ptr - buffer.data()), std::signbit(value));
}

// The value with `precision` significant digits, correctly rounded.
DecimalDigits PrecisionDigits(double value, int precision)
{
    std::array<char, 128> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                      std::chars_format::scientific, std::clamp(precision, 1, 40) - 1);
    return FromScientific(std::string_view(buffer.data(), result.ptr - buffer.data()), std::signbit(value));
}

// Half-up on the absolute value at `decimals` fraction digits (negative: tens, hundreds...).
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
    QString text;
    const int n = static_cast<int>(number.digits.size());
    const auto digitAt = [&](long long position) {
        return position >= 0 && position < n ? QLatin1Char(number.digits[static_cast<std::size_t>(position)])
                                             : QLatin1Char('0');
    };
    if (number.negative && !number.IsZero())
        text += QLatin1Char('-');
    if (number.pointPos <= 0) {
        text += QLatin1Char('0');
    } else {
        for (int i = 0; i < number.pointPos; ++i)
            text += digitAt(i);
    }
    if (decimals > 0) {
        text += separator;
        for (int i = 0; i < decimals; ++i)
            text += digitAt(static_cast<long long>(number.pointPos) + i);
    }
    return text;
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

// Fixed notation after rounding to `precision` significant digits, then half-up to `decimals`.
QString FormatFixedPrecision(double value, int precision, int decimals)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    decimals = std::clamp(decimals, 0, 100);
    DecimalDigits number = PrecisionDigits(value, precision);
    RoundDigitsHalfUp(number, decimals);
    return FixedText(number, decimals, GetRegionalDecimalSeparator());
}

bool IsAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The blanks around a number: every character up to 0x20. The number reader trims them and
// the rounding on the digits drops them, so that a stray control character beside a number
// can never count as a digit position.
bool IsBlank(QChar c)
{
    return c.unicode() <= 0x20;
}

// ---- dates ---------------------------------------------------------------------------------
QString Padded(int value, int width)
{
    return QString::number(value).rightJustified(width, QLatin1Char('0'));
}

void AppendFormatted(QString &out, const QString &pattern, const QDateTime &value, int depth)
{
    const QDate date = value.date();
    const QTime time = value.time();
    const TFormatSettings &regional = GetRegionalFormatSettings();
    const qsizetype n = pattern.size();
    bool lastWasHour = false;
    qsizetype i = 0;
    while (i < n) {
        const QChar c = pattern.at(i);
        const QChar lower = c.toLower();
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            qsizetype j = i + 1;
            while (j < n && pattern.at(j) != c)
                ++j;
            out += pattern.mid(i + 1, j - i - 1);
            i = j < n ? j + 1 : n;
            continue;
        }
        if (c == QLatin1Char('/')) {
            if (!regional.DateSeparator.isNull())
                out += regional.DateSeparator;
            ++i;
            continue;
        }
        if (c == QLatin1Char(':')) {
            if (!regional.TimeSeparator.isNull())
                out += regional.TimeSeparator;
            ++i;
            continue;
        }
        qsizetype count = 1;
        while (i + count < n && pattern.at(i + count).toLower() == lower)
            ++count;
        const int month = date.month();
        const int dayOfWeek = date.dayOfWeek();
        if (lower == QLatin1Char('d')) {
            if (count == 1)
                out += QString::number(date.day());
            else if (count == 2)
                out += Padded(date.day(), 2);
            else if (count == 3)
                out += regional.ShortDayNames[static_cast<std::size_t>(dayOfWeek - 1)];
            else if (count == 4)
                out += regional.LongDayNames[static_cast<std::size_t>(dayOfWeek - 1)];
            else if (depth == 0) // a regional pattern that names itself must not recurse for ever
                AppendFormatted(out, count == 5 ? regional.ShortDateFormat : regional.LongDateFormat, value,
                                1);
            lastWasHour = false;
        } else if (lower == QLatin1Char('m')) {
            if (lastWasHour && count <= 2)
                out += count == 1 ? QString::number(time.minute()) : Padded(time.minute(), 2);
            else if (count == 1)
                out += QString::number(month);
            else if (count == 2)
                out += Padded(month, 2);
            else if (count == 3)
                out += regional.ShortMonthNames[static_cast<std::size_t>(month - 1)];
            else
                out += regional.LongMonthNames[static_cast<std::size_t>(month - 1)];
            lastWasHour = false;
        } else if (lower == QLatin1Char('y')) {
            const int year = date.year();
            out += count <= 2 ? Padded(std::abs(year) % 100, 2) : Padded(year, 4);
            lastWasHour = false;
        } else if (lower == QLatin1Char('h')) {
            out += count == 1 ? QString::number(time.hour()) : Padded(time.hour(), 2);
            lastWasHour = true;
        } else if (lower == QLatin1Char('n')) {
            out += count == 1 ? QString::number(time.minute()) : Padded(time.minute(), 2);
            lastWasHour = false;
        } else if (lower == QLatin1Char('s')) {
            out += count == 1 ? QString::number(time.second()) : Padded(time.second(), 2);
            lastWasHour = false;
        } else if (lower == QLatin1Char('z')) {
            out += count >= 3 ? Padded(time.msec(), 3) : QString::number(time.msec());
            lastWasHour = false;
        } else {
            out += pattern.mid(i, count);
        }
        i += count;
    }
}

enum class DateOrder
{
    DMY,
    MDY,
    YMD
};

DateOrder ShortDateOrder()
{
    const QString format = GetRegionalShortDateFormat().toLower();
    const qsizetype d = format.indexOf(QLatin1Char('d'));
    const qsizetype m = format.indexOf(QLatin1Char('m'));
    const qsizetype y = format.indexOf(QLatin1Char('y'));
    if (y >= 0 && (d < 0 || y < d) && (m < 0 || y < m))
        return DateOrder::YMD;
    if (m >= 0 && (d < 0 || m < d))
        return DateOrder::MDY;
    return DateOrder::DMY;
}

// Reads a two-digit year into the century window of fifty years around the current year.
int ExpandYear(int year, int digitCount)
{
    if (digitCount > 2)
        return year;
    const int currentYear = QDate::currentDate().year();
    const int windowStart = currentYear - 50;
    year += windowStart / 100 * 100;
    if (year < windowStart)
        year += 100;
    return year;
}

class Scanner
{
public:
    explicit Scanner(const QString &text) : mText(text) {}
    void SkipBlanks()
    {
        while (mPos < mText.size() && IsBlank(mText.at(mPos)))
            ++mPos;
    }
    bool Char(QChar c)
    {
        SkipBlanks();
        if (c.isNull() || mPos >= mText.size() || mText.at(mPos) != c)
            return false;
        ++mPos;
        return true;
    }
    // Up to 9 digits; the count of digits read goes to `digits`.
    bool Number(int &value, int &digits)
    {
        SkipBlanks();
        value = 0;
        digits = 0;
        while (mPos < mText.size() && IsAsciiDigit(mText.at(mPos))) {
            if (digits == 9)
                return false;
            value = value * 10 + (mText.at(mPos).unicode() - '0');
            ++digits;
            ++mPos;
        }
        return digits > 0;
    }
    bool AtEnd()
    {
        SkipBlanks();
        return mPos >= mText.size();
    }

private:
    const QString &mText;
    qsizetype mPos = 0;
};

QString DateNotValidMessage(const QString &text)
{
    return QStringLiteral("'") + text + QStringLiteral("' is not a valid date");
}

} // namespace

// ---- exception messages ---------------------------------------------------------
QString BuildExceptionMessage(const QString &where, const QString &parameters, const QString &reason)
{
    QString message = QStringLiteral("Exception occured in: ") + where + CrLf;
    if (!parameters.isEmpty())
        message += QStringLiteral("With parameters: ") + parameters + CrLf;
    message += QStringLiteral("Reason: ") + reason;
    return message;
}

// ---- numbers ----------------------------------------------------------------------
namespace {

// An optional sign and more digits than an int holds.
bool IsLongExponent(const QString &text)
{
    qsizetype i = 0;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        ++i;
    if (i >= text.size())
        return false;
    for (; i < text.size(); ++i)
        if (!IsAsciiDigit(text.at(i)))
            return false;
    return true;
}

} // namespace

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
        const QString expText = s.mid(pe);
        int e = 0;
        bool isExponent = TryTextToInt(expText, e);
        if (!isExponent && IsLongExponent(expText)) {
            // Beyond int: far below any double's magnitude reads as zero, far above is no number.
            isExponent = true;
            e = expText.startsWith(QLatin1Char('-')) ? -4000 : 4001;
        }
        // An exponent too large for any double would only build enormous texts.
        if (isExponent && std::abs(static_cast<long long>(e)) <= 4000) {
            h += e;
            f -= e;
        } else if (isExponent) {
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

int RoundHalfUp(double x)
{
    constexpr double upper = 2147483648.0;  // 2^31
    constexpr double lower = -2147483649.0; // truncation still fits above this
    if (std::isnan(x) || x >= upper || x <= lower)
        throw ERangeError(BuildExceptionMessage(QStringLiteral("Tool.RoundHalfUp"),
                                                QStringLiteral("x=") + FormatGeneral(x),
                                                QStringLiteral("The value is outside the integer range")));
    const double truncated = std::trunc(x);
    long long result = static_cast<long long>(truncated);
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
    const double f = std::round(std::pow(10.0, d));
    const int t = RoundHalfUp(f * x);
    return t / f;
}

bool IsLessAtDecimals(int d, double x, double y)
{
    const double f = RoundHalfUp(std::pow(10.0, d));
    return RoundHalfUp(f * x) < RoundHalfUp(f * y);
}

bool IsLessOrEqualAtDecimals(int d, double x, double y)
{
    const double f = RoundHalfUp(std::pow(10.0, d));
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
    DecimalDigits number = ShortestDigits(x);
    RoundDigitsHalfUp(number, d);
    const double result = ToDouble(number);
    return result == 0.0 ? 0.0 : result;
}

QString FormatTwoDecimals(double x)
{
    return FormatFixedPrecision(RoundAwayToDecimals(2, x), 9, 2);
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

double ConcentrationFromOD(double od, double intercept, double slope)
{
    return RoundAwayToDecimals(2, std::exp((std::log(od) - intercept) / slope));
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

// ---- texts ------------------------------------------------------------------------
QStringList SplitText(const QString &text, const QString &sep)
{
    if (sep.isEmpty())
        return {text};
    return text.split(sep, Qt::KeepEmptyParts, Qt::CaseSensitive);
}

int CountSeparators(const QString &text, const QString &sep)
{
    return static_cast<int>(SplitText(text, sep).size()) - 1;
}

QString RemoveChar(const QString &text, QChar c)
{
    QString result = text;
    result.remove(c);
    return result;
}

QString RemoveAllOf(const QString &text, const QString &s)
{
    QString result = text;
    if (s.isEmpty())
        return result;
    for (qsizetype at = result.indexOf(s); at >= 0; at = result.indexOf(s))
        result.remove(at, 1);
    return result;
}

QString DeleteFromTo(const QString &text, const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return text;
    const qsizetype from = text.indexOf(a);
    if (from < 0)
        return text;
    const qsizetype to = text.indexOf(b, from);
    if (to < 0)
        return text;
    QString result = text;
    result.remove(from, to + b.size() - from);
    return result;
}

QString TextBetween(const QString &text, const QString &a, const QString &b)
{
    if (a.isEmpty())
        return QString();
    const qsizetype at = text.indexOf(a);
    if (at < 0)
        return QString();
    const qsizetype start = at + a.size();
    const qsizetype end = b.isEmpty() ? -1 : text.indexOf(b, start);
    return end < 0 ? text.mid(start) : text.mid(start, end - start);
}

QString TextBefore(const QString &text, const QString &sep)
{
    const qsizetype at = sep.isEmpty() ? -1 : text.indexOf(sep);
    return at < 0 ? QString() : text.left(at);
}

QString TextAfter(const QString &text, const QString &sep)
{
    const qsizetype at = sep.isEmpty() ? -1 : text.indexOf(sep);
    return at < 0 ? QString() : text.mid(at + sep.size());
}

bool IsInList(const QString &text, const QStringList &list)
{
    return list.contains(text, Qt::CaseSensitive);
}

QString TrimSpaceAndBlanks(const QString &text)
{
    const auto blank = [](QChar c) { return IsBlank(c) || c.isSpace(); };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && blank(text.at(begin)))
        ++begin;
    while (end > begin && blank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString RepeatChar(QChar c, int n)
{
    return n > 0 ? QString(n, c) : QString();
}

QString StripMarkup(const QString &text)
{
    static const std::array<std::pair<const char16_t *, const char16_t *>, 6> pairs = {{
        {u"<B>", u"</B>"},
        {u"<I>", u"</I>"},
        {u"<BI>", u"</BI>"},
        {u"<U>", u"</U>"},
        {u"<BU>", u"</BU>"},
        {u"<SUPERSCRIPT>", u"</SUPERSCRIPT>"},
    }};
    QString result = text;
    for (const auto &[openTag, closeTag] : pairs) {
        const QString open = QString::fromUtf16(openTag);
        const QString close = QString::fromUtf16(closeTag);
        for (qsizetype at = result.indexOf(open); at >= 0; at = result.indexOf(open)) {
            result.remove(at, open.size());
            const qsizetype closeAt = result.indexOf(close);
            if (closeAt >= 0)
                result.remove(closeAt, close.size());
        }
    }
    result.remove(QStringLiteral("<ColSPANNED>"));
    result.remove(QStringLiteral("<ROWSPANNED>"));
    for (const QString &tag : {QStringLiteral("<COLSPAN="), QStringLiteral("<ROWSPAN=")}) {
        for (qsizetype at = result.indexOf(tag); at >= 0; at = result.indexOf(tag)) {
            const qsizetype end = result.indexOf(QLatin1Char('>'), at + tag.size());
            // An unterminated tag loses only its own text.
            result.remove(at, end < 0 ? tag.size() : end + 1 - at);
        }
    }
    return result;
}

namespace {
const QString InvalidChars = QStringLiteral("\\/:*?\"<>|");
}

bool ContainsNoInvalidChar(const QString &text)
{
    for (const QChar c : InvalidChars)
        if (text.contains(c))
            return false;
    return true;
}

QString ReplaceControlChars(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        const char16_t code = c.unicode();
        if (code < 0x20 || (code >= 0x7F && code <= 0x9F))
            c = QLatin1Char(' ');
    }
    return result;
}

QString RemoveInvalidChars(const QString &text)
{
    QString result = text;
    for (const QChar c : InvalidChars)
        result.remove(c);
    return result;
}

QString InvalidCharList()
{
    QStringList parts;
    for (const QChar c : InvalidChars)
        parts << QString(c);
    return parts.join(QLatin1Char(' '));
}

QString InvalidCharMessage()
{
    return QStringLiteral("The characters \" ") + InvalidCharList() + QStringLiteral(" \" cannot be used.");
}

QString PageOfText(const QString &a, const QString &b)
{
    return a + QLatin1Char(' ') + UiText(194) + QLatin1Char(' ') + b;
}

QString ProductNameText()
{
    return QStringLiteral("Velomyra R&D");
}

QString ToolbarPromptText()
{
    return QStringLiteral("Please select a standard from the format toolbar before proceeding.");
}

QString FilesSavedText(const QString &folder)
{
    return QStringLiteral("All files saved to ") + folder;
}

QString MakerFooterText()
{
    return QStringLiteral("A Parvenox Company");
}

QString InvalidValueMark()
{
    return QStringLiteral("<B>#</B>");
}

QString ExceedMaxValueMark()
{
    return QStringLiteral("<B>\u00B6</B>");
}

QString TubeMixupMark()
{
    return QStringLiteral("<B>*</B>");
}

QString LongDateFormatPattern()
{
    return QStringLiteral("dddddd");
}

QString ShortFileDateFormatPattern()
{
    return QStringLiteral("ddmmmyy");
}

QString ResultsCopiedText() { return UiText(149); }
QString StandardConcentrationsText() { return UiText(21); }
QString OneBlockPerCellText() { return UiText(150); }
QString TorvinLayoutText() { return UiText(162); }
QString TubeMixupWarningText() { return UiText(305); }
QString ResearchUseText() { return UiText(310); }
QString ResearchUseAndContactText() { return UiText(310) + QStringLiteral("\r\n\r\n") + UiText(363); }
QString ResearchUseFooterText() { return QString() + UiText(310); }
QString NilText() { return UiText(53); }
QString MitogenText() { return UiText(56); }
QString TbAgText() { return UiText(187); }
QString Esat6Text() { return UiText(54); }
QString Cfp10Text() { return UiText(55); }

// ---- dates ------------------------------------------------------------------------
QString FormatDateTime(const QString &pattern, const QDateTime &value)
{
    if (!value.date().isValid())
        return QString();
    QString out;
    AppendFormatted(out, pattern, value, 0);
    return out;
}

QString FormatDate(const QString &pattern, const QDate &value)
{
    return FormatDateTime(pattern, QDateTime(value, QTime(0, 0)));
}

QString DateTimeToText(const QDateTime &value)
{
    QString text = FormatDateTime(QStringLiteral("ddddd"), value);
    if (value.time().isValid() && value.time() != QTime(0, 0))
        text += QLatin1Char(' ') + FormatDateTime(QStringLiteral("hh:nn:ss"), value);
    return text;
}

bool TryTextToDateTime(const QString &text, QDateTime &value)
{
    const TFormatSettings &regional = GetRegionalFormatSettings();
    Scanner scanner(text);
    std::array<int, 3> numbers{};
    std::array<int, 3> digits{};
    int count = 0;
    if (!scanner.Number(numbers[0], digits[0]))
        return false;
    count = 1;
    while (count < 3 && scanner.Char(regional.DateSeparator)) {
        if (!scanner.Number(numbers[static_cast<std::size_t>(count)],
                            digits[static_cast<std::size_t>(count)]))
            return false;
        ++count;
    }
    if (count < 2)
        return false;

    int year = 0;
    int month = 0;
    int day = 0;
    int yearDigits = 4;
    const DateOrder order = ShortDateOrder();
    if (count == 2) {
        year = QDate::currentDate().year();
        if (order == DateOrder::MDY || order == DateOrder::YMD) {
            month = numbers[0];
            day = numbers[1];
        } else {
            day = numbers[0];
            month = numbers[1];
        }
    } else if (order == DateOrder::YMD) {
        year = numbers[0];
        yearDigits = digits[0];
        month = numbers[1];
        day = numbers[2];
    } else {
        year = numbers[2];
        yearDigits = digits[2];
        month = order == DateOrder::MDY ? numbers[0] : numbers[1];
        day = order == DateOrder::MDY ? numbers[1] : numbers[0];
    }
    year = ExpandYear(year, yearDigits);
    if (year < 1 || year > 9999)
        return false;
    const QDate date(year, month, day);
    if (!date.isValid())
        return false;

    QTime time(0, 0);
    if (!scanner.AtEnd()) {
        int hour = 0;
        int minute = 0;
        int second = 0;
        int unused = 0;
        if (!scanner.Number(hour, unused) || !scanner.Char(regional.TimeSeparator) ||
            !scanner.Number(minute, unused))
            return false;
        if (scanner.Char(regional.TimeSeparator) && !scanner.Number(second, unused))
            return false;
        if (!scanner.AtEnd() || hour > 23 || minute > 59 || second > 59)
            return false;
        time = QTime(hour, minute, second);
    }
    value = QDateTime(date, time);
    return true;
}

TDateConvertResult ConvertDate(const QString &text, QChar sep, QDate &date)
{
    QString replaced = text;
    replaced.replace(sep, GetRegionalDateSeparator());
    QDateTime value;
    if (TryTextToDateTime(replaced, value)) {
        date = value.date();
        return DCR_OK;
    }
    date = QDate::currentDate();
    return DCR_CONVERTERROR;
}

TDateConvertResult ConvertDate(const QString &text, QChar sep, QString &dateText)
{
    QString replaced = text;
    replaced.replace(sep, GetRegionalDateSeparator());
    QDateTime value;
    if (TryTextToDateTime(replaced, value)) {
        dateText = DateTimeToText(value);
        return DCR_OK;
    }
    dateText = DateTimeToText(QDateTime(QDate::currentDate(), QTime(0, 0)));
    return DCR_CONVERTERROR;
}

QDate DateFromIsoParts(const QString &text)
{
    const QStringList parts = SplitText(text, QStringLiteral("-"));
    if (parts.size() < 3)
        throw EConvertError(DateNotValidMessage(text));
    std::array<int, 3> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = TextToInt(parts.at(static_cast<qsizetype>(i)));
        if (values[i] < 0 || values[i] > 65535)
            throw EConvertError(DateNotValidMessage(text));
    }
    const QDate date(values[0], values[1], values[2]);
    if (values[0] < 1 || values[0] > 9999 || !date.isValid())
        throw EConvertError(DateNotValidMessage(text));
    return date;
}

QString DateTextFromIsoParts(const QString &text)
{
    return DateTimeToText(QDateTime(DateFromIsoParts(text), QTime(0, 0)));
}

QString IsoDateText(const QDate &date)
{
    return FormatDate(QStringLiteral("yyyy\"-\"mm\"-\"dd"), date);
}

QString IsoDateText(const QString &text)
{
    QDateTime value;
    if (!TryTextToDateTime(text, value))
        throw EConvertError(DateNotValidMessage(text));
    return IsoDateText(value.date());
}
