// The tool reads a plate the same way whatever the language, the regional separators in the
// settings store, and whether the plate comes from a plate file or a saved run.

#include "support/LanguageGuard.h"
#include "support/TestSupport.h"

#include "core/MarnovelUtils.h"
#include "core/RegionalGuard.h"
#include "core/Registry.h"
#include "core/UiTextManager.h"

#include "CliTestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QJsonObject CalcJson(const QStringList &arguments)
{
    const CliRun run = RunCli(QStringList{u"calc"_s} << arguments << u"--json"_s);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    return QJsonDocument::fromJson(run.out).object();
}

QStringList PlateArguments(const QString &plateFile)
{
    return {u"--plate"_s,    plateFile,      u"--format"_s, Example("layout-8point.vff"),
            u"--run-date"_s, u"2026-12-09"_s};
}

// Each result's value (or none) and marks: what must not depend on the language or on the
// way numbers are written.
QStringList ValuesAndMarks(const QJsonObject &root)
{
    QStringList lines;
    for (const QJsonValue &entry : root.value(u"results"_s).toArray()) {
        const QJsonObject result = entry.toObject();
        const QJsonValue value = result.value(u"value"_s);
        QStringList marks;
        for (const QJsonValue &mark : result.value(u"marks"_s).toArray())
            marks << mark.toString();
        lines << result.value(u"id"_s).toString() + u" "_s +
                     (value.isDouble() ? QString::number(value.toDouble(), 'g', 17) : u"none"_s) + u" "_s +
                     marks.join(QString());
    }
    return lines;
}

// The standards' mean ODs, written with a decimal point.
QStringList StandardMeans(const QJsonObject &root)
{
    QStringList means;
    for (const QJsonValue &entry : root.value(u"standards"_s).toArray())
        means << entry.toObject().value(u"mean"_s).toString().replace(u',', u'.');
    return means;
}

QStringList ResultTexts(const QJsonObject &root)
{
    QStringList texts;
    for (const QJsonValue &entry : root.value(u"results"_s).toArray())
        texts << entry.toObject().value(u"result"_s).toString();
    return texts;
}

class CalcPlateText : public ::testing::Test
{
protected:
    QString Write(const QString &name, const QByteArray &bytes) const
    {
        const QString path = folder.filePath(name);
        WriteFileAtomically(path, bytes);
        return path;
    }

    QTemporaryDir folder;
};

} // namespace

TEST_F(CalcPlateText, GermanStored_ExamplePlatesNotSpecifiedWellsStayNotSpecified)
{
    const RegionalGuard separators(RegionalGuard::Separators(".", ","));
    const QStringList english = ValuesAndMarks(CalcJson(PlateArguments(Example("plate-8point.txt"))));

    WriteRegistryText(u"Locale"_s, u"LOCALE_GERMAN"_s);
    const QJsonObject german = CalcJson(PlateArguments(Example("plate-8point.txt")));
    WriteRegistryText(u"Locale"_s, u"LOCALE_ENGLISH"_s);
    QString germanMarker;
    {
        const TestSupport::LanguageGuard language(u"LOCALE_GERMAN"_s);
        germanMarker = UiText(64);
    }

    EXPECT_EQ(ValuesAndMarks(german), english);
    EXPECT_EQ(ResultTexts(german).count(germanMarker), 2);
}

TEST_F(CalcPlateText, DecimalCommaWithoutThousandsInStore_ReadsTheSameOds)
{
    QJsonObject baseline;
    {
        const RegionalGuard separators(RegionalGuard::Separators(".", ","));
        baseline = CalcJson(PlateArguments(Example("plate-8point.txt")));
    }
    const QString commaPlate =
        Write(u"comma-plate.txt"_s, ReadWholeFile(Example("plate-8point.txt")).replace('.', ','));
    const RegionalGuard separators({{u"sDecimal"_s, u","_s}, {u"sThousand"_s, std::nullopt}});
    const QJsonObject comma = CalcJson(PlateArguments(commaPlate));
    // The curve does not change when every OD is 1000 times too large; the means do.
    EXPECT_EQ(StandardMeans(comma), StandardMeans(baseline));
    EXPECT_EQ(StandardMeans(comma).first(), u"2.400"_s);
    EXPECT_EQ(ValuesAndMarks(comma), ValuesAndMarks(baseline));
}

TEST_F(CalcPlateText, PlateWithMarkersAndControlCharacters_SameResultsFromTheSavedRun)
{
    const RegionalGuard separators(RegionalGuard::Separators(".", ","));
    QByteArray plate = ReadWholeFile(Example("plate-8point.txt"));
    // Wells H11 and H12 hold "N/S": other languages' markers there, and control characters
    // beside the ODs of A12 and B12.
    plate.replace("0.134\tN/S\r\n", "0.134\tN.C.\r\n");
    plate.replace("0.166\tN/S\r\n", "0.166\tAusente\r\n");
    plate.replace("1.089\r\n", "1.089\x1a\r\n");
    plate.replace("\t0.593\r\n", "\t\f0.593\r\n");
    const QString plateFile = Write(u"plate.txt"_s, plate);
    const QString runFile = folder.filePath(u"run.vdf"_s);

    const QJsonObject first = CalcJson(PlateArguments(plateFile) << u"--save"_s << runFile);
    const QJsonObject reloaded = CalcJson({runFile});
    const QJsonObject example = CalcJson(PlateArguments(Example("plate-8point.txt")));

    EXPECT_EQ(ResultTexts(reloaded), ResultTexts(first));
    EXPECT_EQ(ValuesAndMarks(first), ValuesAndMarks(example));
    EXPECT_EQ(ResultTexts(first).count(u"N/S"_s), 2);
}

// Plate readers write UTF-8 without a byte-order mark: read so, "Néant" is the French
// not-specified marker, not a text that is no number.
TEST_F(CalcPlateText, Utf8PlateWithoutByteOrderMark_ReadAsUtf8)
{
    const RegionalGuard separators(RegionalGuard::Separators(".", ","));
    QByteArray plate = ReadWholeFile(Example("plate-8point.txt"));
    ASSERT_TRUE(plate.contains("0.134\tN/S\r\n"));
    plate.replace("0.134\tN/S\r\n", "0.134\tN\xC3\xA9"
                                    "ant\r\n");
    const QJsonObject root = CalcJson(PlateArguments(Write(u"plate.txt"_s, plate)));
    EXPECT_EQ(ResultTexts(root).count(u"N/S"_s), 2);
    EXPECT_EQ(ValuesAndMarks(root), ValuesAndMarks(CalcJson(PlateArguments(Example("plate-8point.txt")))));
}

// A separator that cannot separate numbers (sDecimal=1 turned the ODs into 21412) is ignored:
// the numbers are the C locale's, the JSON's values are right, and one line says why.
TEST_F(CalcPlateText, UnusableRegionalSeparators_IgnoredWithOneWarningSameNumbers)
{
    QJsonObject baseline;
    {
        const RegionalGuard separators(RegionalGuard::Separators(".", ","));
        baseline = CalcJson(PlateArguments(Example("plate-8point.txt")));
    }
    const struct
    {
        const char *name, *value;
        bool decimal;
    } cases[] = {
        {"digit decimal", "1", true},         {"tab decimal", "\t", true},
        {"control decimal", "\x01", true},    {"empty decimal", "", true},
        {"digit thousands", "0", false},      {"tab thousands", "\t", false},
        {"control thousands", "\x1f", false}, {"empty thousands", "", false},
    };
    for (const auto &c : cases) {
        const QString value = QString::fromLatin1(c.value);
        const RegionalGuard separators({{u"sDecimal"_s, c.decimal ? std::optional(value) : std::nullopt},
                                        {u"sThousand"_s, c.decimal ? std::nullopt : std::optional(value)}});
        const CliRun run =
            RunCli(QStringList{u"calc"_s} << PlateArguments(Example("plate-8point.txt")) << u"--json"_s);
        ASSERT_EQ(run.status, 0) << c.name << ": " << run.err.toStdString();
        const QJsonObject json = QJsonDocument::fromJson(run.out).object();
        EXPECT_EQ(ValuesAndMarks(json), ValuesAndMarks(baseline)) << c.name;
        EXPECT_EQ(StandardMeans(json), StandardMeans(baseline)) << c.name;
        const QStringList lines = run.err.split(u'\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 1) << c.name << ": " << run.err.toStdString();
        EXPECT_TRUE(lines[0].startsWith(c.decimal ? u"velomyra-cli: The regional decimal separator "_s
                                                  : u"velomyra-cli: The regional thousands separator "_s))
            << lines[0].toStdString();
    }
}

namespace {

// The tool refuses the plate the window refuses: an OD too large to round to 3 decimals is
// never kept unrounded in a result or an export.
TEST_F(CalcPlateText, OdTooLargeToRound_RefusedNamingThePlate)
{
    QFile example(Example("plate-8point.txt"));
    ASSERT_TRUE(example.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(example.readAll());
    const qsizetype firstTab = text.indexOf(u'\t');
    text.replace(0, firstTab, u"3000000.1234"_s);
    // Written with the separator the tool reads in this variant.
    const QString plate = Write(u"big.txt"_s, TestSupport::Dec(text).toUtf8());

    const CliRun run = RunCli(QStringList{u"calc"_s} << PlateArguments(plate));
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.isEmpty());
    const QString &error = run.err;
    EXPECT_TRUE(error.contains(plate)) << error.toStdString();
    EXPECT_TRUE(error.contains(u"Invalid data on Clipboard. Data not pasted."_s)) << error.toStdString();
}

} // namespace
