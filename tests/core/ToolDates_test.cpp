#include "RegionalGuard.h"
#include "core/Exceptions.h"
#include "core/Tool.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

QString Q(const char *text)
{
    return QString::fromUtf8(text);
}

const QDate May31(2017, 5, 31);

// The test environment's date settings: "/" and day-month-year.
RegionalGuard::Values DayMonthYear(const char *separator = "/")
{
    return {{Q("sDate"), Q(separator)},
            {Q("sShortDate"), Q("dd") + Q(separator) + Q("MM") + Q(separator) + Q("yyyy")},
            {Q("sLongDate"), Q("dddd, d MMMM yyyy")}};
}

} // namespace

TEST(FormatDate, ProgramPatterns_EnglishLocale_UseItsNamesAndRegionalParts)
{
    const RegionalGuard guard(DayMonthYear());
    const struct
    {
        const char *pattern;
        QDate date;
        const char *expected;
    } cases[] = {
        {"ddmmmyy", May31, "31May17"},
        {"dd/mmm/yyyy", May31, "31/May/2017"},
        {"ddddd", May31, "31/05/2017"},
        {"dddddd", May31, "Wednesday, 31 May 2017"},
        {"d/m/yy", QDate(2009, 1, 5), "5/1/09"},
        {"ddd mmmm", May31, "Wed May"},
        {"DDMMMYY", QDate(2020, 12, 1), "01Dec20"},
        {"\"d\"dd'm'", May31, "d31m"},
        {"yyyy-mm-dd", QDate(987, 3, 4), "0987-03-04"},
        {"mmmm", QDate(2017, 9, 1), "September"},
        {"dddd", QDate(2017, 6, 4), "Sunday"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatDate(Q(c.pattern), c.date), Q(c.expected)) << c.pattern;
    EXPECT_EQ(FormatDate(Q("dd/mm/yyyy"), QDate()), Q(""));
}

// Month and day names are the regional settings' (the system locale's): exports, proposed
// file names and the long date show them. Abbreviations drop a closing period.
TEST(FormatDate, NamedParts_UseTheMonthAndDayNamesOfTheLocale)
{
    const RegionalGuard guard(DayMonthYear());
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale french(QLocale::French, QLocale::France);
    const struct
    {
        QLocale locale;
        const char *pattern;
        QDate date;
        const char *expected;
    } cases[] = {
        {QLocale::c(), "ddmmmyy", QDate(2027, 3, 1), "01Mar27"},
        {QLocale::c(), "dd/mmm/yyyy", QDate(2026, 12, 8), "08/Dec/2026"},
        {QLocale::c(), "dddddd", May31, "Wednesday, 31 May 2017"},
        {QLocale(QLocale::English, QLocale::UnitedStates), "ddmmmyy", QDate(2026, 12, 8), "08Dec26"},
        {german, "ddmmmyy", QDate(2027, 3, 1), "01M\u00E4rz27"},
        {german, "dd/mmm/yyyy", QDate(2026, 12, 8), "08/Dez/2026"},
        {german, "dddddd", May31, "Mittwoch, 31 Mai 2017"},
        {german, "ddd", May31, "Mi"},
        {french, "dd/mmm/yyyy", QDate(2026, 12, 8), "08/d\u00E9c/2026"},
        {french, "dddd d mmmm", May31, "mercredi 31 mai"},
        {QLocale(QLocale::Russian, QLocale::Russia), "d mmmm yyyy", May31, "31 \u043C\u0430\u044F 2017"},
    };
    for (const auto &c : cases) {
        const LocaleGuard locale(c.locale);
        EXPECT_EQ(FormatDate(Q(c.pattern), c.date), Q(c.expected))
            << c.locale.name().toStdString() << " " << c.pattern;
    }
}

TEST(FormatDateTime, TimeParts_UseTimeSeparatorAndMinutesAfterHours)
{
    const QDateTime value(May31, QTime(9, 5, 7));
    EXPECT_EQ(FormatDateTime(Q("hh:nn:ss"), value), Q("09:05:07"));
    EXPECT_EQ(FormatDateTime(Q("h:n:s"), value), Q("9:5:7"));
    EXPECT_EQ(FormatDateTime(Q("hh:mm"), value), Q("09:05"));
    EXPECT_EQ(FormatDateTime(Q("mm hh"), value), Q("05 09"));
}

TEST(FormatDate, OtherDateSeparator_ReplacesSlash)
{
    const RegionalGuard guard(DayMonthYear("."));
    EXPECT_EQ(FormatDate(Q("dd/mmm/yyyy"), May31), Q("31.May.2017"));
    EXPECT_EQ(FormatDate(Q("ddddd"), May31), Q("31.05.2017"));
}

TEST(FormatDate, RegionalPatternNamingItself_DoesNotRecurse)
{
    const RegionalGuard guard({{Q("sShortDate"), Q("ddddd")}, {Q("sLongDate"), Q("dddddd d")}});
    EXPECT_EQ(FormatDate(Q("ddddd"), May31), Q(""));
    EXPECT_EQ(FormatDate(Q("dddddd"), May31), Q(" 31"));
}

TEST(DateTimeToText, MidnightAndOtherTimes_AddTimeOnlyWhenNotMidnight)
{
    const RegionalGuard guard(DayMonthYear());
    EXPECT_EQ(DateTimeToText(QDateTime(May31, QTime(0, 0))), Q("31/05/2017"));
    EXPECT_EQ(DateTimeToText(QDateTime(May31, QTime(10, 30, 5))), Q("31/05/2017 10:30:05"));
}

TEST(TryTextToDateTime, DayMonthYearTexts_ReadOrRefuse)
{
    const RegionalGuard guard(DayMonthYear());
    const int thisYear = QDate::currentDate().year();
    const struct
    {
        QString text;
        QDateTime expected; // invalid: refused
    } cases[] = {
        {Q("31/05/2017"), QDateTime(May31, QTime(0, 0))},
        {Q(" 31 / 5 / 2017 "), QDateTime(May31, QTime(0, 0))},
        {Q("31/05/17"), QDateTime(May31, QTime(0, 0))},
        {Q("31/05/2017 10:30"), QDateTime(May31, QTime(10, 30))},
        {Q("31/05/2017 10:30:59"), QDateTime(May31, QTime(10, 30, 59))},
        {Q("31/05"), QDateTime(QDate(thisYear, 5, 31), QTime(0, 0))},
        {Q("1/1/") + QString::number((thisYear + 49) % 100).rightJustified(2, QLatin1Char('0')),
         QDateTime(QDate(thisYear + 49, 1, 1), QTime(0, 0))},
        {Q("1/1/") + QString::number((thisYear + 50) % 100).rightJustified(2, QLatin1Char('0')),
         QDateTime(QDate(thisYear - 50, 1, 1), QTime(0, 0))},
        {Q("31/02/2017"), {}},
        {Q("2017-05-31"), {}},
        {Q(""), {}},
        {Q("31"), {}},
        {Q("31//2017"), {}},
        {Q("31/05/2017/1"), {}},
        {Q("31/05/2017 24:00"), {}},
        {Q("31/05/2017 10:60"), {}},
        {Q("31/05/2017 10"), {}},
        {Q("31/05/2017 x"), {}},
        {Q("1234567890/1/1"), {}},
        {Q("31/05/10000"), {}},
        {Q("31/May/2017"), {}},
    };
    for (const auto &c : cases) {
        QDateTime value;
        EXPECT_EQ(TryTextToDateTime(c.text, value), c.expected.isValid()) << c.text.toStdString();
        if (c.expected.isValid()) {
            EXPECT_EQ(value, c.expected) << c.text.toStdString();
        }
    }
}

TEST(TryTextToDateTime, OtherShortDateOrders_FollowTheRegionalPattern)
{
    {
        const RegionalGuard guard({{Q("sDate"), Q("-")}, {Q("sShortDate"), Q("yyyy-MM-dd")}});
        QDateTime value;
        ASSERT_TRUE(TryTextToDateTime(Q("2017-05-31"), value));
        EXPECT_EQ(value.date(), May31);
    }
    {
        const RegionalGuard guard({{Q("sDate"), Q("/")}, {Q("sShortDate"), Q("M/d/yyyy")}});
        QDateTime value;
        ASSERT_TRUE(TryTextToDateTime(Q("5/31/2017"), value));
        EXPECT_EQ(value.date(), May31);
        EXPECT_FALSE(TryTextToDateTime(Q("31/5/2017"), value));
        EXPECT_EQ(DateTimeToText(QDateTime(May31, QTime(0, 0))), Q("5/31/2017"));
    }
}

TEST(ConvertDate, FileSeparator_ReadsOrFallsBackToToday)
{
    const RegionalGuard guard(DayMonthYear());
    QString text;
    EXPECT_EQ(ConvertDate(Q("31.05.2017"), QLatin1Char('.'), text), DCR_OK);
    EXPECT_EQ(text, Q("31/05/2017"));
    EXPECT_EQ(ConvertDate(Q("31-05-2017 08:15"), QLatin1Char('-'), text), DCR_OK);
    EXPECT_EQ(text, Q("31/05/2017 08:15:00"));
    EXPECT_EQ(ConvertDate(Q("garbage"), QLatin1Char('.'), text), DCR_CONVERTERROR);
    EXPECT_EQ(text, FormatDate(Q("dd/mm/yyyy"), QDate::currentDate()));
}

TEST(DateTextFromIsoParts, Parts_GiveRegionalDateOrRaise)
{
    const RegionalGuard guard(DayMonthYear());
    EXPECT_EQ(DateTextFromIsoParts(Q("2017-05-31")), Q("31/05/2017"));
    EXPECT_EQ(DateTextFromIsoParts(Q("2017-5-3")), Q("03/05/2017"));
    for (const char *bad : {"2017-05", "", "2017-xx-31", "2017-02-30", "70000-1-1", "2017-13-01", "2017--31",
                            "-2017-05-31", "2017-05-99999999999"})
        EXPECT_THROW((void)DateTextFromIsoParts(Q(bad)), EConvertError) << bad;
}

TEST(IsoDateText, RegionalDate_GivesYearMonthDay)
{
    const RegionalGuard guard(DayMonthYear());
    EXPECT_EQ(IsoDateText(Q("31/05/2017")), Q("2017-05-31"));
    EXPECT_EQ(IsoDateText(Q("01/02/0033")), Q("0033-02-01"));
    EXPECT_THROW((void)IsoDateText(Q("rubbish")), EConvertError);
}

TEST(IsoDateText, Date_GivesYearMonthDayWhateverTheShortDate)
{
    const RegionalGuard guard({{Q("sDate"), Q("-")}, {Q("sShortDate"), Q("yy-MMM-d")}});
    EXPECT_EQ(IsoDateText(QDate(1950, 6, 15)), Q("1950-06-15"));
    EXPECT_EQ(IsoDateText(QDate(33, 2, 1)), Q("0033-02-01"));
    EXPECT_EQ(IsoDateText(QDate()), Q(""));
    EXPECT_EQ(DateFromIsoParts(Q("1950-6-15")), QDate(1950, 6, 15));
}
