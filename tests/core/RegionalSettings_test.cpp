#include "RegionalGuard.h"
#include "core/RegionalSettings.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "support/TestSupport.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <optional>

namespace {

QString Q(const char *text)
{
    return QString::fromUtf8(text);
}

QChar SystemDecimal()
{
    return QLocale::system().decimalPoint().front();
}

QChar SystemThousand()
{
    return QLocale::system().groupSeparator().front();
}

} // namespace

TEST(RegionalSettings, StoreValues_FirstCharacterIsTaken)
{
    const RegionalGuard guard({{Q("sDecimal"), Q(";x")}, {Q("sThousand"), Q("'")}, {Q("sDate"), Q("-")}});
    EXPECT_EQ(GetRegionalDecimalSeparator(), QLatin1Char(';'));
    EXPECT_EQ(GetRegionalThousandSeparator(), QLatin1Char('\''));
    EXPECT_EQ(GetRegionalDateSeparator(), QLatin1Char('-'));
}

TEST(RegionalSettings, EmptyOrMissingSeparators_FallBackToSystemLocale)
{
    for (const std::optional<QString> &value :
         {std::optional<QString>(QString()), std::optional<QString>()}) {
        const RegionalGuard guard({{Q("sDecimal"), value}, {Q("sThousand"), value}});
        EXPECT_EQ(GetRegionalDecimalSeparator(), SystemDecimal());
        EXPECT_EQ(GetRegionalThousandSeparator(), SystemThousand());
    }
}

TEST(RegionalSettings, SeparatorsThatWouldBeEqual_NeverAre)
{
    // A locale value that would equal the store's gives way to the other of "." and ",".
    const QChar point = QLatin1Char('.');
    const QChar comma = QLatin1Char(',');
    const QChar thousandBesidePoint = SystemThousand() == point ? comma : SystemThousand();
    const QChar decimalBesideComma = SystemDecimal() == comma ? point : SystemDecimal();
    const struct
    {
        std::optional<QString> decimal, thousand;
        QChar expectedDecimal, expectedThousand;
    } cases[] = {
        {Q(","), std::nullopt, comma, point},
        {Q(","), Q(""), comma, point},
        {Q("."), std::nullopt, point, thousandBesidePoint},
        {std::nullopt, Q("."), comma, point},
        {std::nullopt, Q(","), decimalBesideComma, comma},
        {SystemThousand(), std::nullopt, SystemThousand(), SystemThousand() == comma ? point : comma},
        {Q(","), Q(","), comma, QChar()},
        {Q("."), Q(".x"), point, QChar()},
    };
    for (const auto &c : cases) {
        const RegionalGuard guard({{Q("sDecimal"), c.decimal}, {Q("sThousand"), c.thousand}});
        const std::string name = c.decimal.value_or(Q("(none)")).toStdString() + " / " +
                                 c.thousand.value_or(Q("(none)")).toStdString();
        EXPECT_EQ(GetRegionalDecimalSeparator(), c.expectedDecimal) << name;
        EXPECT_EQ(GetRegionalThousandSeparator(), c.expectedThousand) << name;
        EXPECT_NE(GetRegionalDecimalSeparator(), GetRegionalThousandSeparator()) << name;
    }
}

TEST(RegionalSettings, DecimalCommaWithoutThousands_ReadsAndRoundsOdsAsWritten)
{
    const RegionalGuard guard({{Q("sDecimal"), Q(",")}, {Q("sThousand"), std::nullopt}});
    EXPECT_DOUBLE_EQ(TextToFloat(Q("1,089")), 1.089);
    EXPECT_EQ(RoundWideString(Q("1,089"), 3), Q("1,089"));
    EXPECT_EQ(RoundWideString(Q("0,5"), 3), Q("0,500"));
    EXPECT_EQ(NormalizeNumberText(Q("1.000,25")), Q("1000,25"));
}

TEST(RegionalSettings, EqualSeparatorsInStore_NoThousandsSeparatorRemoved)
{
    const RegionalGuard guard(RegionalGuard::Separators(",", ","));
    EXPECT_EQ(RoundWideString(Q("1,089"), 3), Q("1,089"));
    EXPECT_EQ(RoundWideString(Q("12,3456"), 2), Q("12,35"));
}

TEST(RegionalSettings, EmptyShortDate_StaysEmptyWhileMissingFallsBack)
{
    {
        const RegionalGuard guard(RegionalGuard::Values{{Q("sShortDate"), QString()}});
        EXPECT_EQ(GetRegionalShortDateFormat(), Q(""));
    }
    {
        const RegionalGuard guard({{Q("sShortDate"), std::nullopt}, {Q("sDate"), std::nullopt}});
        EXPECT_FALSE(GetRegionalShortDateFormat().isEmpty());
    }
}

TEST(RegionalSettings, MissingDateSettings_GiveNumericShortDateThatReadsBack)
{
    // Also run under the C locale, whose own short date names the month.
    const RegionalGuard guard({{Q("sShortDate"), std::nullopt}, {Q("sDate"), std::nullopt}});
    const QString pattern = GetRegionalShortDateFormat();
    EXPECT_FALSE(pattern.contains(Q("mmm"))) << pattern.toStdString();
    EXPECT_FALSE(GetRegionalDateSeparator().isNull());
    const QDateTime value(QDate(2017, 5, 31), QTime(0, 0));
    QDateTime back;
    ASSERT_TRUE(TryTextToDateTime(DateTimeToText(value), back)) << DateTimeToText(value).toStdString();
    EXPECT_EQ(back, value);
}

TEST(RegionalSettings, StorePatterns_BecomeProgramPatterns)
{
    const struct
    {
        const char *separator, *shortDate, *longDate, *expectedShort, *expectedText;
    } cases[] = {
        {"/", "dd/MM/yyyy", "dddd, d MMMM yyyy", "dd/mm/yyyy", "31/05/2017 Wednesday, 31 May 2017"},
        {".", "dd.MM.yyyy", "dddd, d. MMMM yyyy", "dd/mm/yyyy", "31.05.2017 Wednesday, 31. May 2017"},
        {"-", "yyyy-MM-dd", "d MMMM yyyy", "yyyy/mm/dd", "2017-05-31 31 May 2017"},
        {"-", "yyyy/MM/dd", "'Day' d", "yyyy\"/\"mm\"/\"dd", "2017/05/31 Day 31"},
        {".", "d.M.yy", "MMMM d'.' yyyy", "d/m/yy", "31.5.17 May 31. 2017"},
    };
    for (const auto &c : cases) {
        const RegionalGuard guard({{Q("sDate"), Q(c.separator)},
                                   {Q("sShortDate"), Q(c.shortDate)},
                                   {Q("sLongDate"), Q(c.longDate)}});
        EXPECT_EQ(GetRegionalShortDateFormat(), Q(c.expectedShort)) << c.shortDate;
        EXPECT_EQ(FormatDate(Q("ddddd dddddd"), QDate(2017, 5, 31)), Q(c.expectedText)) << c.shortDate;
    }
}

TEST(RegionalSettings, StoreChange_SeenOnlyAfterRelease)
{
    const QChar before = GetRegionalDecimalSeparator();
    const QChar other = before == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
    auto store = SettingsStore::Open();
    store->beginGroup(QString::fromLatin1(SettingsStore::InternationalGroup));
    const QVariant saved = store->value(Q("sDecimal"));
    store->setValue(Q("sDecimal"), QString(other));
    store->sync();
    EXPECT_EQ(GetRegionalDecimalSeparator(), before);
    ReleaseRegionalSettings();
    EXPECT_EQ(GetRegionalDecimalSeparator(), other);
    if (saved.isValid())
        store->setValue(Q("sDecimal"), saved);
    else
        store->remove(Q("sDecimal"));
    store->sync();
    ReleaseRegionalSettings();
    EXPECT_EQ(GetRegionalDecimalSeparator(), before);
}

TEST(RegionalSettings, CommaVariant_UsesCommaDecimalAndPointThousands)
{
    if (!TestSupport::CommaVariant())
        GTEST_SKIP() << "comma variant only";
    EXPECT_EQ(GetRegionalDecimalSeparator(), QLatin1Char(','));
    EXPECT_EQ(GetRegionalThousandSeparator(), QLatin1Char('.'));
    EXPECT_EQ(FormatFixed(0.5, 3), Q("0,500"));
    EXPECT_DOUBLE_EQ(TextToFloat(Q("0,512")), 0.512);
}

// A separator that cannot separate numbers would turn an OD of 2.1412 into 21412: it is
// ignored, the system's is used, and one warning says so.
TEST(RegionalSettings, UnusableNumberSeparators_IgnoredWithAWarning)
{
    const QChar decimal = SystemDecimal();
    const QString quotedDecimal = u'"' + QString(decimal) + u'"';
    const QString quotedThousand = u'"' + QString(SystemThousand()) + u'"';
    const struct
    {
        const char *name;
        std::optional<QString> decimal, thousand;
        QString warning; // empty: none
    } cases[] = {
        {"digit decimal", Q("1"), std::nullopt, UiText(1066).arg(Q("\"1\""), quotedDecimal)},
        {"tab decimal", Q("\t"), std::nullopt, UiText(1066).arg(Q("U+0009"), quotedDecimal)},
        {"control decimal", Q("\x01"), std::nullopt, UiText(1066).arg(Q("U+0001"), quotedDecimal)},
        {"empty decimal", Q(""), std::nullopt, UiText(1066).arg(Q("\"\""), quotedDecimal)},
        {"blank decimal", Q(" "), std::nullopt, UiText(1066).arg(Q("U+0020"), quotedDecimal)},
        {"exponent letter decimal", Q("E"), std::nullopt, UiText(1066).arg(Q("\"E\""), quotedDecimal)},
        {"sign decimal", Q("-"), std::nullopt, UiText(1066).arg(Q("\"-\""), quotedDecimal)},
        {"digit thousands", std::nullopt, Q("7"), UiText(1067).arg(Q("\"7\""), quotedThousand)},
        {"tab thousands", std::nullopt, Q("\t"), UiText(1067).arg(Q("U+0009"), quotedThousand)},
        {"control thousands", std::nullopt, Q("\x02"), UiText(1067).arg(Q("U+0002"), quotedThousand)},
        {"empty thousands", std::nullopt, Q(""), UiText(1067).arg(Q("\"\""), quotedThousand)},
        // Usable ones stay, without a word.
        {"blank thousands", std::nullopt, Q(" "), QString()},
        {"no-break space thousands", std::nullopt, Q("\u00A0"), QString()},
        {"apostrophe thousands", std::nullopt, Q("'"), QString()},
        {"semicolon decimal", Q(";"), std::nullopt, QString()},
    };
    for (const auto &c : cases) {
        const RegionalGuard guard({{Q("sDecimal"), c.decimal}, {Q("sThousand"), c.thousand}});
        const QChar usedDecimal = GetRegionalDecimalSeparator();
        EXPECT_EQ(usedDecimal, c.decimal && c.warning.isEmpty() ? c.decimal->front() : decimal) << c.name;
        if (c.thousand) {
            EXPECT_EQ(GetRegionalThousandSeparator(),
                      c.warning.isEmpty() ? c.thousand->front() : SystemThousand())
                << c.name;
        }
        EXPECT_EQ(RegionalSettingsWarnings(), c.warning.isEmpty() ? QStringList() : QStringList{c.warning})
            << c.name;
        // ODs read as written.
        const QString od = Q("2") + usedDecimal + Q("1412");
        EXPECT_DOUBLE_EQ(TextToFloat(od), 2.1412) << c.name;
        EXPECT_EQ(RoundWideString(od, 3), Q("2") + usedDecimal + Q("141")) << c.name;
    }
}

TEST(RegionalSettings, UnusableSeparators_ReportedOnceAsOneWarningInTheCurrentLanguage)
{
    GetTranslationManager().LoadResource(Q("LOCALE_GREEK"));
    const RegionalGuard guard({{Q("sDecimal"), Q("1")}, {Q("sThousand"), Q("\t")}});
    const QStringList warnings = RegionalSettingsWarnings();
    ASSERT_EQ(warnings.size(), 2);
    EXPECT_TRUE(warnings[0].startsWith(Q("Το διαχωριστικό δεκαδικών"))) << warnings[0].toStdString();
    ReportRegionalSettingsWarnings();
    ReportRegionalSettingsWarnings();
    const auto &messages = TestSupport::Presenter().messages;
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, warnings.join(Q("\r\n")));
    EXPECT_EQ(messages[0].kind, TMsgDlgType::mtWarning);
    EXPECT_EQ(messages[0].buttons, TMsgDlgButtons(TMsgDlgBtn::mbOK));
}

TEST(RegionalSettings, UsableSeparators_NoWarning)
{
    const RegionalGuard guard(RegionalGuard::Separators(",", "."));
    EXPECT_TRUE(RegionalSettingsWarnings().isEmpty());
    ReportRegionalSettingsWarnings();
    EXPECT_TRUE(TestSupport::Presenter().messages.empty());
}
