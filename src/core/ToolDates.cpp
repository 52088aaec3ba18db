// Dates in the program's patterns and the regional settings.

#include "Tool.h"

#include "DecimalDigits.h"
#include "Exceptions.h"
#include "RegionalSettings.h"

#include <QTime>

#include <array>
#include <cstdlib>

using NumberDigits::IsAsciiDigit;
using NumberDigits::IsBlank;

namespace {

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
