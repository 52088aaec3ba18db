#pragma once

#include <QChar>
#include <QString>

// Regional number and date settings, read once per run from the settings store's group
// "Control Panel/International" (sDecimal, sThousand, sDate, sShortDate, sLongDate),
// each missing value taken from the system locale. The decimal and the thousands separator
// are never equal (the thousands separator may be empty).
struct TFormatSettings
{
    QChar DecimalSeparator;
    QChar ThousandSeparator;
    QChar DateSeparator;
    QChar TimeSeparator;
    QString ShortDateFormat; // program pattern, e.g. "dd/mm/yyyy"
    QString LongDateFormat;  // program pattern, e.g. "dddd, d mmmm yyyy"
};

const TFormatSettings &GetRegionalFormatSettings();
QChar GetRegionalDecimalSeparator();
QChar GetRegionalThousandSeparator();
QChar GetRegionalDateSeparator();
QString GetRegionalShortDateFormat();
// Drops the cache so the next call reads the store again (tests, module unload).
void ReleaseRegionalSettings();
