#include "RegionalSettings.h"

#include "SettingsStore.h"

#include <QLocale>
#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace {

std::optional<TFormatSettings> gCache;

// A value that holds commas comes back from a hand-written INI file as a list.
std::optional<QString> ReadStoreText(QSettings &store, const QString &name)
{
    if (!store.contains(name))
        return std::nullopt;
    const QVariant value = store.value(name);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

// The first character between two fields of a date or time pattern.
QChar FirstSeparatorOf(const QString &pattern, QChar fallback)
{
    bool seenField = false;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
            return fallback;
        if (c.isLetter())
            seenField = true;
        else if (seenField)
            return c;
    }
    return fallback;
}

// A pattern in the store's or the locale's notation (d, M, y, quoted literals) turned into
// the program's notation: lower-case letters and "/" standing for the date separator.
QString ToProgramPattern(const QString &pattern, QChar dateSeparator)
{
    QString result;
    result.reserve(pattern.size());
    QChar quote;
    for (const QChar c : pattern) {
        if (!quote.isNull()) {
            result += c;
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            result += c;
        } else if (c == QLatin1Char('/')) {
            // A literal slash that is not the separator must stay a slash.
            result += dateSeparator == QLatin1Char('/') ? QStringLiteral("/") : QStringLiteral("\"/\"");
        } else if (!dateSeparator.isNull() && c == dateSeparator) {
            result += QLatin1Char('/');
        } else if (c == QLatin1Char('M') || c == QLatin1Char('D') || c == QLatin1Char('Y')) {
            result += c.toLower();
        } else if (c == QLatin1Char('g')) {
            // era marks are not supported
        } else {
            result += c;
        }
    }
    return result;
}

// The separator a reader of "1,000.5" or "1.000,5" would expect beside c.
QChar OtherNumberSeparator(QChar c)
{
    return c == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
}

// A thousands separator equal to the decimal separator would drop every decimal separator
// while a number is read. A value taken from the locale gives way to the one the store
// sets; a pair the store sets equal has no thousands separator.
void SeparateNumberSeparators(TFormatSettings &settings, bool decimalFromStore, bool thousandFromStore)
{
    if (settings.DecimalSeparator != settings.ThousandSeparator)
        return;
    if (!thousandFromStore)
        settings.ThousandSeparator = OtherNumberSeparator(settings.DecimalSeparator);
    else if (!decimalFromStore)
        settings.DecimalSeparator = OtherNumberSeparator(settings.ThousandSeparator);
    else
        settings.ThousandSeparator = QChar();
}

bool HasNamedField(const QString &pattern)
{
    return pattern.contains(QStringLiteral("MMM")) || pattern.contains(QStringLiteral("ddd"));
}

TFormatSettings LoadSettings()
{
    const QLocale system = QLocale::system();
    TFormatSettings fallback;
    const QString decimalPoint = system.decimalPoint();
    fallback.DecimalSeparator = decimalPoint.isEmpty() ? QLatin1Char('.') : decimalPoint.front();
    const QString group = system.groupSeparator();
    fallback.ThousandSeparator = group.isEmpty() ? QLatin1Char(',') : group.front();
    QString shortDate = system.dateFormat(QLocale::ShortFormat);
    if (HasNamedField(shortDate)) {
        // Short dates must be numeric so that they read back.
        shortDate = QStringLiteral("dd/MM/yyyy");
    }
    fallback.DateSeparator = FirstSeparatorOf(shortDate, QLatin1Char('/'));
    fallback.TimeSeparator = FirstSeparatorOf(system.timeFormat(QLocale::ShortFormat), QLatin1Char(':'));
    const QString longDate = system.dateFormat(QLocale::LongFormat);

    TFormatSettings settings = fallback;
    std::optional<QString> storeShort;
    std::optional<QString> storeLong;
    bool decimalFromStore = false;
    bool thousandFromStore = false;
    {
        auto store = SettingsStore::Open();
        if (store && store->status() == QSettings::NoError) {
            store->beginGroup(QString::fromLatin1(SettingsStore::InternationalGroup));
            const auto firstChar = [&](const QString &name, QChar fallbackChar) {
                const std::optional<QString> text = ReadStoreText(*store, name);
                return text && !text->isEmpty() ? text->front() : fallbackChar;
            };
            settings.DecimalSeparator = firstChar(QStringLiteral("sDecimal"), fallback.DecimalSeparator);
            settings.ThousandSeparator = firstChar(QStringLiteral("sThousand"), fallback.ThousandSeparator);
            decimalFromStore = firstChar(QStringLiteral("sDecimal"), QChar()) != QChar();
            thousandFromStore = firstChar(QStringLiteral("sThousand"), QChar()) != QChar();
            settings.DateSeparator = firstChar(QStringLiteral("sDate"), fallback.DateSeparator);
            settings.TimeSeparator = firstChar(QStringLiteral("sTime"), fallback.TimeSeparator);
            storeShort = ReadStoreText(*store, QStringLiteral("sShortDate"));
            storeLong = ReadStoreText(*store, QStringLiteral("sLongDate"));
            store->endGroup();
        }
    }
    SeparateNumberSeparators(settings, decimalFromStore, thousandFromStore);
    // Store patterns are written with the store's separator, locale patterns with the locale's.
    settings.ShortDateFormat = storeShort ? ToProgramPattern(*storeShort, settings.DateSeparator)
                                          : ToProgramPattern(shortDate, fallback.DateSeparator);
    settings.LongDateFormat = storeLong ? ToProgramPattern(*storeLong, settings.DateSeparator)
                                        : ToProgramPattern(longDate, fallback.DateSeparator);
    return settings;
}

} // namespace

const TFormatSettings &GetRegionalFormatSettings()
{
    if (!gCache)
        gCache = LoadSettings();
    return *gCache;
}

QChar GetRegionalDecimalSeparator()
{
    return GetRegionalFormatSettings().DecimalSeparator;
}

QChar GetRegionalThousandSeparator()
{
    return GetRegionalFormatSettings().ThousandSeparator;
}

QChar GetRegionalDateSeparator()
{
    return GetRegionalFormatSettings().DateSeparator;
}

QString GetRegionalShortDateFormat()
{
    return GetRegionalFormatSettings().ShortDateFormat;
}

void ReleaseRegionalSettings()
{
    gCache.reset();
}
