#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include <array>

// Regional number and date settings, read once per run from the settings store's group
// "Control Panel/International" (sDecimal, sThousand, sDate, sShortDate, sLongDate),
// each missing value taken from the system locale. A number separator that cannot be one (a
// digit, a letter, a sign, a tab or other control character, a blank decimal separator, an
// empty value) is ignored with a warning and the locale's is used. The decimal and the
// thousands separator are never equal (the thousands separator may be empty). Month and day names always come
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
// One line for each number separator of the store that was ignored, in the current language;
// empty when there is none.
QStringList RegionalSettingsWarnings();
// Shows those lines once per run as one warning (the program at start, the tools before their
// command); nothing when there are none.
void ReportRegionalSettingsWarnings();
// Drops the cache and the warnings so the next call reads the store again (tests, module unload).
void ReleaseRegionalSettings();
