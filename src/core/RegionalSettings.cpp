#include "RegionalSettings.h"

#include "Messages.h"
#include "SettingsStore.h"
#include "UiTextManager.h"

#include <QLocale>
#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

namespace {

// "The regional decimal (thousands) separator %1 cannot be used in numbers; ..."
constexpr int kTextDecimalSeparatorIgnored = 1066;
constexpr int kTextThousandSeparatorIgnored = 1067;

// A separator the store sets that cannot be used, and the locale's that stands in for it.
struct TIgnoredSeparator
{
    int textId;
    QString stored;
    QChar used;
};

std::optional<TFormatSettings> gCache;
std::vector<TIgnoredSeparator> gIgnored;
bool gIgnoredReported = false;

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

// A number separator must not read as part of a number (a digit, a letter such as the
// exponent's "E", a sign) nor vanish in a plate's text (a tab, a line break, any control or
// invisible character). Blanks may group thousands but never separate decimals.
bool IsUsableNumberSeparator(QChar c, bool decimal)
{
    if (c.isNull() || c.isLetterOrNumber() || c == QLatin1Char('+') || c == QLatin1Char('-'))
        return false;
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    case QChar::Separator_Space:
        return !decimal;
    default:
        return true;
    }
}

// The store's value as the warning shows it: quoted when it can be read, as code points
// when it holds characters nobody sees.
QString ShownSeparator(const QString &value)
{
    for (const QChar c : value) {
        if (!c.isPrint() || c.isSpace()) {
            QStringList codes;
            for (const QChar d : value)
                codes << QStringLiteral("U+%1").arg(d.unicode(), 4, 16, QLatin1Char('0')).toUpper();
            return codes.join(QLatin1Char(' '));
        }
    }
    return QLatin1Char('"') + value + QLatin1Char('"');
}

bool HasNamedField(const QString &pattern)
{
    return pattern.contains(QStringLiteral("MMM")) || pattern.contains(QStringLiteral("ddd"));
}

// Abbreviations as the lab's computer lists them, without the closing period some
// languages add ("Dez.", "janv."): they go into file names and between date separators.
QString Abbreviation(QString name)
{
    while (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name;
}

void LoadNames(TFormatSettings &settings)
{
    const QLocale locale;
    for (int month = 1; month <= 12; ++month) {
        const auto index = static_cast<std::size_t>(month - 1);
        settings.ShortMonthNames[index] = Abbreviation(locale.monthName(month, QLocale::ShortFormat));
        settings.LongMonthNames[index] = locale.monthName(month, QLocale::LongFormat);
    }
    for (int day = 1; day <= 7; ++day) {
        const auto index = static_cast<std::size_t>(day - 1);
        settings.ShortDayNames[index] = Abbreviation(locale.dayName(day, QLocale::ShortFormat));
        settings.LongDayNames[index] = locale.dayName(day, QLocale::LongFormat);
    }
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
            // A number separator that cannot be one is ignored: the locale's stands in.
            const auto numberSeparator = [&](const QString &name, QChar fallbackChar, bool decimal,
                                             int textId, bool &fromStore) {
                const std::optional<QString> text = ReadStoreText(*store, name);
                if (!text)
                    return fallbackChar;
                if (!text->isEmpty() && IsUsableNumberSeparator(text->front(), decimal)) {
                    fromStore = true;
                    return text->front();
                }
                gIgnored.push_back({textId, *text, fallbackChar});
                return fallbackChar;
            };
            settings.DecimalSeparator = numberSeparator(QStringLiteral("sDecimal"), fallback.DecimalSeparator,
                                                        true, kTextDecimalSeparatorIgnored, decimalFromStore);
            settings.ThousandSeparator =
                numberSeparator(QStringLiteral("sThousand"), fallback.ThousandSeparator, false,
                                kTextThousandSeparatorIgnored, thousandFromStore);
            settings.DateSeparator = firstChar(QStringLiteral("sDate"), fallback.DateSeparator);
            settings.TimeSeparator = firstChar(QStringLiteral("sTime"), fallback.TimeSeparator);
            storeShort = ReadStoreText(*store, QStringLiteral("sShortDate"));
            storeLong = ReadStoreText(*store, QStringLiteral("sLongDate"));
            store->endGroup();
        }
    }
    SeparateNumberSeparators(settings, decimalFromStore, thousandFromStore);
    // The stand-in named in a warning is the one really used.
    for (TIgnoredSeparator &ignored : gIgnored) {
        ignored.used = ignored.textId == kTextDecimalSeparatorIgnored ? settings.DecimalSeparator
                                                                      : settings.ThousandSeparator;
    }
    // Store patterns are written with the store's separator, locale patterns with the locale's.
    settings.ShortDateFormat = storeShort ? ToProgramPattern(*storeShort, settings.DateSeparator)
                                          : ToProgramPattern(shortDate, fallback.DateSeparator);
    settings.LongDateFormat = storeLong ? ToProgramPattern(*storeLong, settings.DateSeparator)
                                        : ToProgramPattern(longDate, fallback.DateSeparator);
    LoadNames(settings);
    return settings;
}

} // namespace

const TFormatSettings &GetRegionalFormatSettings()
{
    if (!gCache) {
        gIgnored.clear();
        gCache = LoadSettings();
    }
    return *gCache;
}

QStringList RegionalSettingsWarnings()
{
    GetRegionalFormatSettings();
    QStringList warnings;
    for (const TIgnoredSeparator &ignored : gIgnored)
        warnings << UiText(ignored.textId)
                        .arg(ShownSeparator(ignored.stored), ShownSeparator(QString(ignored.used)));
    return warnings;
}

void ReportRegionalSettingsWarnings()
{
    const QStringList warnings = RegionalSettingsWarnings();
    if (gIgnoredReported || warnings.isEmpty())
        return;
    gIgnoredReported = true;
    ShowMessageDialog(warnings.join(QStringLiteral("\r\n")), TMsgDlgType::mtWarning, TMsgDlgBtn::mbOK, 0);
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
    gIgnored.clear();
    gIgnoredReported = false;
}
