#pragma once

#include <QChar>
#include <QString>

#include <array>

// Regional number and date settings, read once per run from the settings store's group
// "Control Panel/International" (sDecimal, sThousand, sDate, sShortDate, sLongDate),
// each missing value taken from the system locale. The decimal and the thousands separator
// are never equal (the thousands separator may be empty). Month and day names always come
// from the locale (QLocale(), which is the system locale unless a test pins another).
struct TFormatSettings
{
    QChar DecimalSeparator;
    QChar ThousandSeparator;
    QChar DateSeparator;
    QChar TimeSeparator;
    QString ShortDateFormat; // program pattern, e.g. "dd/mm/yyyy"
    QString LongDateFormat;  // program pattern, e.g. "dddd, d mmmm yyyy"
    // Month names (January first) and day names (Monday first) of the regional settings.
    std::array<QString, 12> ShortMonthNames;
    std::array<QString, 12> LongMonthNames;
    std::array<QString, 7> ShortDayNames;
    std::array<QString, 7> LongDayNames;
};

const TFormatSettings &GetRegionalFormatSettings();
QChar GetRegionalDecimalSeparator();
QChar GetRegionalThousandSeparator();
QChar GetRegionalDateSeparator();
QString GetRegionalShortDateFormat();
// Drops the cache so the next call reads the store again (tests, module unload).
void ReleaseRegionalSettings();
