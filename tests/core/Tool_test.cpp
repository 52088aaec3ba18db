#include "RegionalGuard.h"
#include "core/Annotations.h"
#include "core/Exceptions.h"
#include "core/RegionalSettings.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

using TestSupport::Dec;

namespace {

QString Q(const char *text)
{
    return QString::fromUtf8(text);
}

// The decimal separator this run does not use.
QChar ForeignSeparator()
{
    return GetRegionalDecimalSeparator() == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
}

} // namespace

// ---- exception messages -------------------------------------------------------------

TEST(BuildExceptionMessage, WithAndWithoutParameters_BuildsTwoOrThreeLines)
{
    EXPECT_EQ(BuildExceptionMessage(Q("Tool.X"), QString(), Q("bad")),
              Q("Exception occured in: Tool.X\r\nReason: bad"));
    EXPECT_EQ(BuildExceptionMessage(Q("Tool.X"), Q("a=1, b=2"), Q("bad")),
              Q("Exception occured in: Tool.X\r\nWith parameters: a=1, b=2\r\nReason: bad"));
}

// ---- NormalizeNumberText ------------------------------------------------------------

TEST(NormalizeNumberText, PointAndCommaThousands_GivesPlainDecimalForm)
{
    const RegionalGuard guard(RegionalGuard::Separators(".", ","));
    const struct
    {
        const char *input, *expected;
    } cases[] = {
        {"1,234.50", "1234.50"}, {"+ 7", "7.0"},      {"1.5E-3", "0.0015"},  {"2E3", "2000.0"},
        {"-0.25", "-0.25"},      {"1,000", "1000.0"}, {"00012.5", "12.5"},   {"00.5", "0.5"},
        {"0.0", "0.0"},          {"12.5e-1", "1.25"}, {"123E-5", "0.00123"}, {"1.5E5", "150000.0"},
        {".5", "0.5"},           {"7.", "7.0"},       {"-1E-1", "-0.1"},     {"1E+2", "100.0"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NormalizeNumberText(Q(c.input)), Q(c.expected)) << c.input;
}

TEST(NormalizeNumberText, CommaDecimalPointThousands_UsesRegionalCharacters)
{
    const RegionalGuard guard(RegionalGuard::Separators(",", "."));
    EXPECT_EQ(NormalizeNumberText(Q("1.234,50")), Q("1234,50"));
    EXPECT_EQ(NormalizeNumberText(Q("1,5E-3")), Q("0,0015"));
    EXPECT_EQ(NormalizeNumberText(Q("1.000")), Q("1000,0"));
}

// What the digit rules make of texts that are no numbers: an "E" in first place or without
// an integer after it is no exponent, only the first decimal separator counts, and without
// a digit 1-9 the leading zeros stay (one for each other character).
TEST(NormalizeNumberText, TextsThatAreNoNumbers_GiveWhatTheDigitRulesMake)
{
    const RegionalGuard guard(RegionalGuard::Separators(".", ","));
    const struct
    {
        const char *input, *expected;
    } cases[] = {
        {"", "0.0"},     {"-", "-0.0"},      {"E5", "50.0"},     {"abc", "000.0"},
        {"E", "0.0"},    {"--", "-0.0"},     {"1E", "1.0"},      {"1E-", "1.0"},
        {"-E-", "-0.0"}, {"1.2.3", "1.123"}, {"1E5.3", "153.0"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NormalizeNumberText(Q(c.input)), Q(c.expected)) << c.input;
}

TEST(NormalizeNumberText, ExponentBeyondAnyDouble_RaisesInsteadOfBuildingAHugeText)
{
    const RegionalGuard guard(RegionalGuard::Separators(".", ","));
    for (const char *input : {"1E99999999", "1E-99999999", "-2.5E4001", "1E99992222222222222222"}) {
        try {
            (void)NormalizeNumberText(Q(input));
            ADD_FAILURE() << "no exception for " << input;
        } catch (const EConvertError &e) {
            EXPECT_EQ(e.Message(), Q("'") + Q(input) + Q("' is not a valid floating point value"));
        }
    }
}

// ---- RoundWideString ----------------------------------------------------------------

TEST(RoundWideString, Examples_RoundHalfUpOnTheDigits)
{
    const struct
    {
        const char *input;
        int decimals;
        const char *expected;
    } cases[] = {
        {"2.345", 2, "2.35"},
        {"-2.345", 2, "-2.35"},
        {"0.005", 2, "0.01"},
        {"2.3449", 2, "2.34"},
        {"7", 3, "7.000"},
        {"1.5E-3", 2, "0.00"},
        {"99999.9999", 4, "99999.9999"},
        {"0.1234", 3, "0.123"},
        {"0.9995", 3, "1.000"},
        {"9.9999", 3, "10.000"},
        {"1.2", 3, "1.200"},
        {"0.0004", 3, "0.000"},
        {"2147483.6474", 3, "2147483.647"},
        {" 1.2345 ", 3, "1.235"},
        {"1.5e1", 1, "15.0"},
        // An exponent beyond int still counts as the exponent, never as digits.
        {"+1E-99992222222222222222", 3, "0.000"},
        {"1.5E-2147483649", 2, "0.00"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RoundWideString(Dec(c.input), c.decimals), Dec(c.expected))
            << c.input << " at " << c.decimals;
}

TEST(RoundWideString, ZeroOrNegativeDecimals_RaisesWithParameters)
{
    for (const int decimals : {0, -2}) {
        try {
            (void)RoundWideString(Dec("1.5"), decimals);
            FAIL() << "no exception for " << decimals;
        } catch (const EIntOverflow &) {
            FAIL() << "wrong exception type";
        } catch (const MarnovelException &e) {
            EXPECT_EQ(e.Message(), BuildExceptionMessage(Q("Tool.RoundWideString"),
                                                         Q("pInput=") + Dec("1.5") + Q(", pDecimals=") +
                                                             QString::number(decimals),
                                                         Q("pDecimals must be > 0")));
        }
    }
}

TEST(RoundWideString, ScaledValueBeyond32Bits_RaisesIntOverflow)
{
    EXPECT_THROW((void)RoundWideString(Dec("1E99992222222222222222"), 3), EConvertError);
    EXPECT_THROW((void)RoundWideString(Dec("999999.99999"), 4), EIntOverflow);
    EXPECT_THROW((void)RoundWideString(Dec("2147483.6475"), 3), EIntOverflow);
    EXPECT_THROW((void)RoundWideString(Dec("123456789012345678901234567890.12"), 1), EIntOverflow);
    try {
        (void)RoundWideString(Dec("999999.99999"), 4);
    } catch (const EIntOverflow &e) {
        EXPECT_TRUE(e.Message().startsWith(Q("Exception occured in: Tool.RoundWideString\r\n")));
        EXPECT_TRUE(e.Message().contains(Q("pDecimals=4")));
    }
}

TEST(RoundWideString, TextsThatAreNoNumbers_DoNotCrash)
{
    for (const char *input : {"", "-", "E5", "abc", "+", "1E", "E", "-.-", "1E5.3"})
        EXPECT_NO_THROW((void)RoundWideString(Q(input), 2)) << input;
    EXPECT_EQ(RoundWideString(Q(""), 2), Dec("0.00"));
}

TEST(RoundWideString, ControlCharacterBesideNumber_KeepsTheNumber)
{
    const struct
    {
        QString input;
        const char *expected;
    } cases[] = {
        {Dec("1.089") + QChar(0x1A), "1.089"},  {Dec("0.5") + QChar(0x0C), "0.500"},
        {QChar(0x0C) + Dec("0.5"), "0.500"},    {QChar(0x00) + Dec("0.25"), "0.250"},
        {Dec("2.5") + Q("\r\n"), "2.500"},      {Q("\v") + Dec("-0.1234") + Q("\t"), "-0.123"},
        {Dec("1.5E-1") + QChar(0x1F), "0.150"}, {QChar(0x1B) + Dec("12") + QChar(0x07), "12.000"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RoundWideString(c.input, 3), Dec(c.expected)) << c.input.toStdString();
}

// Every short text the number reader accepts rounds to that same number: the reader and the
// rounding on the digits must agree on which characters belong to the number.
TEST(RoundWideString, EveryTextTheReaderAccepts_RoundsToTheNumberRead)
{
    const QString alphabet =
        Q("059E-+ ") + GetRegionalDecimalSeparator() + QChar(0x00) + QChar(0x0C) + QChar(0x1A);
    const qsizetype n = alphabet.size();
    int accepted = 0;
    for (int length = 1; length <= 5; ++length) {
        qsizetype combinations = 1;
        for (int i = 0; i < length; ++i)
            combinations *= n;
        for (qsizetype code = 0; code < combinations; ++code) {
            QString text;
            for (qsizetype rest = code, i = 0; i < length; ++i, rest /= n)
                text += alphabet.at(rest % n);
            double value = 0.0;
            if (!TryTextToFloat(text, value))
                continue;
            ++accepted;
            QString rounded;
            try {
                rounded = RoundWideString(text, 3);
            } catch (const EIntOverflow &) {
                continue; // too large to round on the digits; the plate keeps such a text
            }
            double back = 0.0;
            ASSERT_TRUE(TryTextToFloat(rounded, back))
                << text.toStdString() << " -> " << rounded.toStdString();
            ASSERT_NEAR(back, value, 0.0005 + 1e-9 * std::fabs(value))
                << text.toStdString() << " -> " << rounded.toStdString();
        }
    }
    EXPECT_GT(accepted, 1000); // the alphabet really produces numbers
}

// Zeros and signs stay as the text writes them while there is nothing to round; once
// digits are cut, the rounded value is written in its plain form.
TEST(RoundWideString, ZerosAndSigns_KeepTheWrittenFormUntilRounded)
{
    const struct
    {
        const char *input;
        int decimals;
        const char *expected;
    } cases[] = {
        {"000", 3, "000.000"},    {"0.0000", 3, "0.000"},  {"000.0000", 3, "0.000"}, {"00.5", 3, "0.500"},
        {"-0.0004", 3, "-0.000"}, {"-0", 2, "-0.00"},      {"5E-4", 3, "0.001"},     {"1E2", 3, "100.000"},
        {"0.50", 3, "0.500"},     {"1.25000", 3, "1.250"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RoundWideString(Dec(c.input), c.decimals), Dec(c.expected))
            << c.input << " at " << c.decimals;
}

// ---- integer rounding and comparisons -----------------------------------------------------

TEST(RoundHalfUp, Values_TruncateAndRaisePositiveHalves)
{
    const struct
    {
        double x;
        int expected;
    } cases[] = {
        {2.5, 3},
        {2.4999, 2},
        {0.5, 1},
        {-0.5, 0},
        {-2.7, -2},
        {-2.5, -2},
        {0.0, 0},
        {2147483647.4, 2147483647},
        {-2147483648.9, -2147483647 - 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RoundHalfUp(c.x), c.expected) << c.x;
}

TEST(RoundHalfUp, OutsideIntegerRangeOrNaN_RaisesRangeError)
{
    for (const double x : {2147483647.5, 2147483648.0, -2147483649.0, 1e300, -1e300,
                           std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
        EXPECT_THROW((void)RoundHalfUp(x), ERangeError) << x;
}

TEST(RoundToDecimals, Values_RoundAtTheGivenDecimals)
{
    EXPECT_DOUBLE_EQ(RoundToDecimals(2, 1.2361), 1.24);
    EXPECT_DOUBLE_EQ(RoundToDecimals(0, 7.5), 8.0);
    EXPECT_DOUBLE_EQ(RoundToDecimals(3, -1.2346), -1.234); // negative values are truncated
    EXPECT_THROW((void)RoundToDecimals(-1, 15.0), ERangeError);
    EXPECT_THROW((void)RoundToDecimals(2, 1e9), ERangeError);
}

TEST(CompareAtDecimals, ValuesEqualAfterRounding_CompareEqual)
{
    EXPECT_FALSE(IsLessAtDecimals(2, 0.9951, 1.0));
    EXPECT_TRUE(IsLessOrEqualAtDecimals(2, 0.9951, 1.0));
    EXPECT_TRUE(IsGreaterOrEqualAtDecimals(2, 0.9951, 1.0));
    EXPECT_TRUE(IsLessAtDecimals(2, 0.994, 1.0));
    EXPECT_FALSE(IsGreaterOrEqualAtDecimals(2, 0.994, 1.0));
    EXPECT_FALSE(IsLessOrEqualAtDecimals(1, 1.06, 1.0));
    EXPECT_THROW((void)IsLessAtDecimals(2, 3e7, 1.0), ERangeError);
}

TEST(RoundAwayToDecimals, LabValues_RoundHalvesAwayFromZero)
{
    const struct
    {
        int d;
        double x, expected;
    } cases[] = {
        {2, 1.234, 1.23},   {2, 1.237, 1.24}, {2, 10.004, 10.0},  {2, 10.006, 10.01},   {2, 0.125, 0.13},
        {2, -0.125, -0.13}, {2, 2.675, 2.68}, {2, 1.005, 1.01},   {2, 1.0049, 1.0},     {0, 2.5, 3.0},
        {0, -2.5, -3.0},    {-1, 15.0, 20.0}, {-1, -15.0, -20.0}, {-2, 1234.5, 1200.0}, {3, 0.0, 0.0},
        {2, 0.004, 0.0},    {2, 9.995, 10.0}, {2, 1e-30, 0.0},    {37, 1.5, 1.5},       {-37, 1e40, 1e40},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(RoundAwayToDecimals(c.d, c.x), c.expected) << c.x << " at " << c.d;
    EXPECT_FALSE(std::signbit(RoundAwayToDecimals(2, -0.001)));
}

TEST(RoundAwayToDecimals, DecimalsOutsideRangeOrNonFinite_RaisesOrPassesThrough)
{
    EXPECT_THROW((void)RoundAwayToDecimals(38, 1.0), ERangeError);
    EXPECT_THROW((void)RoundAwayToDecimals(-38, 1.0), ERangeError);
    EXPECT_TRUE(std::isnan(RoundAwayToDecimals(2, std::numeric_limits<double>::quiet_NaN())));
    EXPECT_TRUE(std::isinf(RoundAwayToDecimals(2, std::numeric_limits<double>::infinity())));
}

// ---- formatting ---------------------------------------------------------------------

TEST(FormatFixed, Values_WriteExactDecimalsWithRegionalSeparator)
{
    const struct
    {
        double value;
        int decimals;
        const char *expected;
    } cases[] = {
        {0.125, 2, "0.13"},    {-0.125, 2, "-0.13"},        {2.675, 2, "2.68"},
        {1234.5, 0, "1235"},   {2.5, 3, "2.500"},           {-0.004, 2, "0.00"},
        {-0.0, 3, "0.000"},    {0.0005, 3, "0.001"},        {8.0, 3, "8.000"},
        {0.999, 2, "1.00"},    {123456.789, 1, "123456.8"}, {1e20, 1, "100000000000000000000.0"},
        {1.5e-10, 3, "0.000"}, {-7.25, 1, "-7.3"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.decimals), Dec(c.expected)) << c.value << " at " << c.decimals;
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 2), Q("NAN"));
    EXPECT_EQ(FormatFixed(-std::numeric_limits<double>::infinity(), 2), Q("-INF"));
}

// Beyond 15 significant digits a fixed text shows zeros, and a value whose 15 digits end on
// a half rounds up although its binary value lies just below the half.
TEST(FormatFixed, DigitsBeyondFifteen_AreZerosAndDecideHalves)
{
    const struct
    {
        double value;
        int decimals;
        const char *expected;
    } cases[] = {
        {2.0 / 3.0, 17, "0.66666666666666700"},
        {1.0 / 3.0, 16, "0.3333333333333330"},
        {1.005, 2, "1.01"},
        {1.0049999999999, 2, "1.00"},
        {0.1245, 3, "0.125"},
        {123456789012.345, 2, "123456789012.35"},
        {4503599627370495.5, 1, "4503599627370500.0"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.decimals), Dec(c.expected)) << c.value << " at " << c.decimals;
}

TEST(FormatTwoDecimals, Values_RoundAwayAndWriteTwoDecimals)
{
    const struct
    {
        double value;
        const char *expected;
    } cases[] = {
        {2.675, "2.68"}, {0.0, "0.00"},     {-0.001, "0.00"},
        {1.5, "1.50"},   {-1.005, "-1.01"}, {1000.0, "1000.00"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatTwoDecimals(c.value), Dec(c.expected)) << c.value;
}

TEST(FormatGeneral, Values_ShortestFormExponentOnlyAtExtremes)
{
    const struct
    {
        double value;
        const char *expected;
    } cases[] = {
        {0.1, "0.1"},
        {0.1 + 0.2, "0.3"},
        {1e-7, "1E-7"},
        {0.0001, "0.0001"},
        {1e-5, "1E-5"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1.5e20, "1.5E20"},
        {-2.5, "-2.5"},
        {0.0, "0"},
        {-0.0, "0"},
        {100.0, "100"},
        {-0.000123, "-0.000123"},
        {2.0 / 3.0, "0.666666666666667"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatGeneral(c.value), Dec(c.expected)) << c.value;
    EXPECT_EQ(FormatGeneral(2.0 / 3.0, 3), Dec("0.667"));
}

// ---- reading numbers ----------------------------------------------------------------

TEST(TryTextToFloat, ValidTexts_ReadTheValue)
{
    const struct
    {
        const char *text;
        double expected;
    } cases[] = {
        {" 1.5 ", 1.5},
        {"-.5", -0.5},
        {"5.", 5.0},
        {"+3", 3.0},
        {"1E3", 1000.0},
        {"1e-3", 0.001},
        {"2.5E+2", 250.0},
        {"0", 0.0},
        {"\t0.512", 0.512},
        {"1E-999", 0.0},
        {"1.7976931348623157E308", 1.7976931348623157e308},
        {"000123.4500", 123.45},
    };
    for (const auto &c : cases) {
        double value = -1.0;
        EXPECT_TRUE(TryTextToFloat(Dec(c.text), value)) << c.text;
        EXPECT_DOUBLE_EQ(value, c.expected) << c.text;
    }
}

// The nearest double, also where an integer of the digits would not be exact: beyond 2^53,
// beyond 19 digits or beyond the powers of ten a double holds.
TEST(TryTextToFloat, ManyDigitsOrLargeExponents_ReadTheNearestDouble)
{
    const struct
    {
        const char *text;
        double expected;
    } cases[] = {
        {"9007199254740993", 9007199254740992.0},
        {"9007199254740993.0000000001", 9007199254740994.0},
        {"0.1000000000000000055511151231257827", 0.1},
        {"1E23", 1e23},
        {"0.000000000000000000000001", 1e-24},
        {"4.35", 4.35},
        {"-0", -0.0},
    };
    for (const auto &c : cases) {
        double value = -1.0;
        EXPECT_TRUE(TryTextToFloat(Dec(c.text), value)) << c.text;
        EXPECT_EQ(value, c.expected) << c.text;
        EXPECT_EQ(std::signbit(value), std::signbit(c.expected)) << c.text;
    }
}

TEST(TryTextToFloat, InvalidTexts_ReturnFalse)
{
    const QString thousands = Q("1") + GetRegionalThousandSeparator() + Q("000");
    const QString foreign = Q("1") + ForeignSeparator() + Q("5");
    for (const QString &text :
         {Q(""),        Q(" "),   Dec("."),   Dec("1.2.3"), Q("INF"),  Q("NAN"), Q("-INF"),
          Q("0x10"),    Q("1E"),  Q("1E+"),   Q("E5"),      Q("- 5"),  Q("1 5"), Q("1E999"),
          Q("1.8E308"), Q("--1"), Q("1e5e5"), Q("١"),       thousands, foreign}) {
        double value = 42.0;
        EXPECT_FALSE(TryTextToFloat(text, value)) << text.toStdString();
        EXPECT_EQ(value, 42.0);
    }
}

TEST(TextToFloat, InvalidText_RaisesConvertErrorWithText)
{
    EXPECT_DOUBLE_EQ(TextToFloat(Dec("0.512")), 0.512);
    try {
        (void)TextToFloat(Q("OVER"));
        FAIL();
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), Q("'OVER' is not a valid floating point value"));
    }
}

TEST(TryTextToInt, Texts_ReadSignedDecimal32Bit)
{
    const struct
    {
        const char *text;
        std::optional<int> expected;
    } cases[] = {
        {"0", 0},
        {"-5", -5},
        {"+7", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"007", 7},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"", std::nullopt},
        {"+", std::nullopt},
        {"1.0", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"0x1F", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"1e3", std::nullopt},
    };
    for (const auto &c : cases) {
        int value = 42;
        EXPECT_EQ(TryTextToInt(Q(c.text), value), c.expected.has_value()) << c.text;
        EXPECT_EQ(value, c.expected.value_or(42)) << c.text;
    }
}

TEST(TextToInt, InvalidText_RaisesConvertErrorWithText)
{
    EXPECT_EQ(TextToInt(Q("-12")), -12);
    try {
        (void)TextToInt(Q("12a"));
        FAIL();
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), Q("'12a' is not a valid integer value"));
    }
}

// ---- statistics and lists -----------------------------------------------------------

TEST(MeanAndSampleDeviation, Counts_GiveZeroSingleOrSampleDeviation)
{
    double mean = -1.0;
    double deviation = -1.0;
    MeanAndSampleDeviation({}, mean, deviation);
    EXPECT_EQ(mean, 0.0);
    EXPECT_EQ(deviation, 0.0);
    const double one[] = {5.0};
    MeanAndSampleDeviation(one, mean, deviation);
    EXPECT_EQ(mean, 5.0);
    EXPECT_EQ(deviation, 0.0);
    const double several[] = {2, 4, 4, 4, 5, 5, 7, 9};
    MeanAndSampleDeviation(several, mean, deviation);
    EXPECT_DOUBLE_EQ(mean, 5.0);
    EXPECT_NEAR(deviation, std::sqrt(32.0 / 7.0), 1e-12);
}

TEST(MaxDictValue, Maps_GiveLargestOrSmallestInteger)
{
    EXPECT_EQ(MaxDictValue({}), std::numeric_limits<int>::min());
    EXPECT_EQ(MaxDictValue({{1, 3}, {2, -1}, {5, 7}}), 7);
    EXPECT_EQ(MaxDictValue({{1, -9}, {2, -4}}), -4);
}

TEST(ReplaceDecimalSeparator, Texts_ReplaceOnlyWhenTheResultIsANumber)
{
    const QString foreign(ForeignSeparator());
    EXPECT_EQ(ReplaceDecimalSeparator(Q("0") + foreign + Q("512"), ForeignSeparator()), Dec("0.512"));
    EXPECT_EQ(ReplaceDecimalSeparator(Q("OVER"), ForeignSeparator()), Q("OVER"));
    const QString twoSeparators = Q("1") + foreign + Q("2") + foreign + Q("3");
    EXPECT_EQ(ReplaceDecimalSeparator(twoSeparators, ForeignSeparator()), twoSeparators);
}

TEST(TextsToDoubles, Lists_ReadAllButTheLast)
{
    const QChar f = ForeignSeparator();
    const std::vector<double> values =
        TextsToDoubles({Q("8") + f + Q("000"), Q("0") + f + Q("125"), Q("not read")}, f);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_DOUBLE_EQ(values[0], 8.0);
    EXPECT_DOUBLE_EQ(values[1], 0.125);
    EXPECT_EQ(values[2], 0.0);
    EXPECT_TRUE(TextsToDoubles({}, f).empty());
    EXPECT_EQ(TextsToDoubles({Q("x")}, f), std::vector<double>{0.0});
    EXPECT_THROW((void)TextsToDoubles({Q("4"), Q("abc"), Q("0")}, f), EConvertError);
}

TEST(ConcentrationFromOD, FittedCurve_GivesTwoDecimals)
{
    EXPECT_DOUBLE_EQ(ConcentrationFromOD(2.0, 0.0, 1.0), 2.0);
    EXPECT_DOUBLE_EQ(ConcentrationFromOD(0.5, -0.5, 0.8), 0.79);
    EXPECT_DOUBLE_EQ(ConcentrationFromOD(std::exp(0.2 + 0.9 * std::log(1.234)), 0.2, 0.9), 1.23);
}

// ---- texts ------------------------------------------------------------------------

TEST(SplitText, Separators_GiveOneMorePartAndKeepEmptyParts)
{
    EXPECT_EQ(SplitText(Q("a||b"), Q("|")), QStringList({Q("a"), Q(""), Q("b")}));
    EXPECT_EQ(SplitText(Q(""), Q("|")), QStringList({Q("")}));
    EXPECT_EQ(SplitText(Q("a|"), Q("|")), QStringList({Q("a"), Q("")}));
    EXPECT_EQ(SplitText(Q("a--b"), Q("--")), QStringList({Q("a"), Q("b")}));
    EXPECT_EQ(SplitText(Q("abc"), Q("")), QStringList({Q("abc")}));
    EXPECT_EQ(CountSeparators(Q("8|4|2|0"), Q("|")), 3);
    EXPECT_EQ(CountSeparators(Q(""), Q("|")), 0);
}

TEST(TextRoutines, Cases_GiveTheDocumentedParts)
{
    EXPECT_EQ(RemoveChar(Q("a-b-c"), QLatin1Char('-')), Q("abc"));
    EXPECT_EQ(RemoveAllOf(Q("aaab"), Q("ab")), Q("b"));
    EXPECT_EQ(RemoveAllOf(Q("x  y"), Q("  ")), Q("x y"));
    EXPECT_EQ(RemoveAllOf(Q("abc"), Q("")), Q("abc"));
    EXPECT_EQ(DeleteFromTo(Q("a<X=1>b>c"), Q("<X="), Q(">")), Q("ab>c"));
    EXPECT_EQ(DeleteFromTo(Q("abc"), Q("<"), Q(">")), Q("abc"));
    EXPECT_EQ(DeleteFromTo(Q("a<bc"), Q("<"), Q(">")), Q("a<bc"));
    EXPECT_EQ(TextBetween(Q("key=[v]rest]"), Q("["), Q("]")), Q("v"));
    EXPECT_EQ(TextBetween(Q("abc"), Q("["), Q("]")), Q(""));
    EXPECT_EQ(TextBefore(Q("Run=5=6"), Q("=")), Q("Run"));
    EXPECT_EQ(TextAfter(Q("Run=5=6"), Q("=")), Q("5=6"));
    EXPECT_EQ(TextBefore(Q("Run"), Q("=")), Q(""));
    EXPECT_EQ(TextAfter(Q("Run"), Q("=")), Q(""));
    EXPECT_TRUE(IsInList(Q("S1"), {Q("S1"), Q("S2")}));
    EXPECT_FALSE(IsInList(Q("s1"), {Q("S1"), Q("S2")}));
    EXPECT_EQ(RepeatChar(QLatin1Char('-'), 3), Q("---"));
    EXPECT_EQ(RepeatChar(QLatin1Char('-'), 0), Q(""));
    EXPECT_EQ(RepeatChar(QLatin1Char('-'), -4), Q(""));
}

TEST(StripMarkup, TaggedTexts_KeepOnlyTheEnclosedText)
{
    const struct
    {
        const char *text, *expected;
    } cases[] = {
        {"<B>1.23</B><B>#</B>", "1.23#"},
        {"<BI>x</BI> <BU>y</BU> <U>z</U> <I>w</I>", "x y z w"},
        {"<B>open", "open"},
        {"</B>a<B>b", "ab"},
        {"<COLSPAN=2>Head<ColSPANNED>", "Head"},
        {"<ROWSPAN=3>A<ROWSPANNED>B", "AB"},
        {"IU/mL<SUPERSCRIPT>2</SUPERSCRIPT>", "IU/mL2"},
        {"a<COLSPAN=", "a"},
        {"<colspan=2>x", "<colspan=2>x"},
        {"a < b > c", "a < b > c"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(StripMarkup(Q(c.text)), Q(c.expected)) << c.text;
}

TEST(InvalidChars, AllNine_AreListedDetectedAndRemoved)
{
    EXPECT_EQ(InvalidCharList(), Q("\\ / : * ? \" < > |"));
    EXPECT_EQ(InvalidCharMessage(), Q("The characters \" \\ / : * ? \" < > | \" cannot be used."));
    for (const QChar c : Q("\\/:*?\"<>|"))
        EXPECT_FALSE(ContainsNoInvalidChar(Q("ab") + c + Q("c"))) << QString(c).toStdString();
    EXPECT_TRUE(ContainsNoInvalidChar(Q("Run 12_a.b-c")));
    EXPECT_EQ(RemoveInvalidChars(Q("a\\b/c:d*e?f\"g<h>i|j")), Q("abcdefghij"));
}

TEST(ReplaceControlChars, ControlAndBidirectionalCharacters_BecomeBlanksOthersStay)
{
    const struct
    {
        char16_t character;
        bool control;
    } cases[] = {{0x00, true},
                 {0x09, true},
                 {0x0A, true},
                 {0x1B, true},
                 {0x1F, true},
                 {0x20, false},
                 {0x7E, false},
                 {0x7F, true},
                 {0x80, true},
                 {0x9F, true},
                 {0xA0, false},
                 {0xE4, false},
                 {0x2028, false},
                 {0xFFFD, false},
                 // Bidirectional controls reorder what is shown around them.
                 {0x061B, false},
                 {0x061C, true},
                 {0x200D, false},
                 {0x200E, true},
                 {0x200F, true},
                 {0x2029, false},
                 {0x202A, true},
                 {0x202E, true},
                 {0x202F, false},
                 {0x2065, false},
                 {0x2066, true},
                 {0x2069, true},
                 {0x206A, false}};
    for (const auto &c : cases) {
        const QString text = Q("a") + QChar(c.character) + Q("b");
        EXPECT_EQ(ReplaceControlChars(text), c.control ? Q("a b") : text) << int(c.character);
    }
}

TEST(FixedTexts, Getters_ReturnTheProgramsTexts)
{
    EXPECT_EQ(PageOfText(Q("1"), Q("3")), Q("1 of 3"));
    EXPECT_EQ(ProductNameText(), Q("Velomyra R&D"));
    EXPECT_EQ(ToolbarPromptText(), Q("Please select a standard from the format toolbar before proceeding."));
    EXPECT_EQ(FilesSavedText(Q("/tmp/x")), Q("All files saved to /tmp/x"));
    EXPECT_EQ(MakerFooterText(), Q("A Parvenox Company"));
    EXPECT_EQ(InvalidValueMark(), Q("<B>#</B>"));
    EXPECT_EQ(ExceedMaxValueMark(), Q("<B>¶</B>"));
    EXPECT_EQ(TubeMixupMark(), Q("<B>*</B>"));
    EXPECT_EQ(LongDateFormatPattern(), Q("dddddd"));
    EXPECT_EQ(ShortFileDateFormatPattern(), Q("ddmmmyy"));
    EXPECT_EQ(StripMarkup(Q("1.23") + ExceedMaxValueMark()), Q("1.23¶"));
}
