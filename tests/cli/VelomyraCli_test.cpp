#include "CliTestSupport.h"

#include "support/LanguageGuard.h"
#include "support/TestSupport.h"

#include "core/MarnovelUtils.h"
#include "core/Registry.h"
#include "core/UiTextManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// A plate of the example's size with the given ODs in the standard columns 1 and 2.
QString PlateWithStandards(const QStringList &series1, const QStringList &series2)
{
    QStringList lines;
    for (int row = 0; row < 8; ++row) {
        QStringList tokens{TestSupport::Dec(series1.at(row)), TestSupport::Dec(series2.at(row))};
        for (int col = 3; col <= 12; ++col)
            tokens << TestSupport::Dec("0.5");
        lines << tokens.join(u'\t');
    }
    return lines.join(u"\r\n"_s) + u"\r\n"_s;
}

} // namespace

TEST_F(CliTest, Calc_ExampleRunFile_PrintsValidSummary)
{
    const CliRun run = RunCli({u"calc"_s, Example("run-8point.vdf")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QString out = QString::fromUtf8(run.out);
    EXPECT_TRUE(out.contains(UiText(87))) << out.toStdString();
    EXPECT_TRUE(out.contains(u"K0001"_s));
    EXPECT_TRUE(out.contains(u"09/Dec/2026"_s));
    EXPECT_TRUE(out.contains(u"ID 80"_s));
    EXPECT_TRUE(out.contains(u"# "_s + UiText(285)));
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

TEST_F(CliTest, CalcJson_ExampleRunFile_HasDocumentedShape)
{
    const CliRun run = RunCli({u"calc"_s, Example("run-8point.vdf"), u"--json"_s});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(run.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();

    const QJsonObject details = root.value(u"runDetails"_s).toObject();
    EXPECT_EQ(details.value(u"runDate"_s).toString(), u"2026-12-09"_s);
    EXPECT_EQ(details.value(u"runNumber"_s).toString(), u"1"_s);
    EXPECT_EQ(details.value(u"kitBatchNumber"_s).toString(), u"K0001"_s);
    EXPECT_EQ(details.value(u"operator"_s).toString(), u"A. Smith"_s);
    EXPECT_EQ(root.value(u"curveType"_s).toInt(), 8);

    const QJsonArray standards = root.value(u"standards"_s).toArray();
    ASSERT_EQ(standards.size(), 8);
    const QJsonObject s1 = standards.at(0).toObject();
    EXPECT_EQ(s1.value(u"name"_s).toString(), u"S1"_s);
    EXPECT_EQ(s1.value(u"conc"_s).toString(), TestSupport::Dec("8.000"));
    EXPECT_EQ(s1.value(u"mean"_s).toString(), TestSupport::Dec("2.400"));
    EXPECT_EQ(s1.value(u"qc"_s).toString(), UiText(79));
    EXPECT_TRUE(s1.value(u"pass"_s).isBool());
    EXPECT_EQ(standards.at(7).toObject().value(u"cv"_s).toString(), UiText(81));

    const QJsonObject curve = root.value(u"curve"_s).toObject();
    EXPECT_EQ(curve.value(u"intercept"_s).toString(), TestSupport::Dec("-0.9425"));
    EXPECT_EQ(curve.value(u"slope"_s).toString(), TestSupport::Dec("0.8712"));
    EXPECT_EQ(curve.value(u"correlation"_s).toString(), TestSupport::Dec("1.00"));
    EXPECT_TRUE(curve.value(u"correlationPass"_s).toBool());
    EXPECT_TRUE(root.value(u"valid"_s).toBool());
    EXPECT_EQ(root.value(u"verdict"_s).toString(), UiText(87));
    EXPECT_TRUE(root.value(u"plateWashNote"_s).isBool());
    EXPECT_FALSE(root.value(u"plateWashNote"_s).toBool());

    const QJsonArray results = root.value(u"results"_s).toArray();
    ASSERT_EQ(results.size(), 80);
    const QJsonObject first = results.at(0).toObject();
    EXPECT_EQ(first.value(u"id"_s).toString(), u"ID 1"_s);
    EXPECT_TRUE(first.value(u"value"_s).isDouble());
    EXPECT_TRUE(first.value(u"marks"_s).toArray().isEmpty());
    int over = 0, invalid = 0, missing = 0;
    for (const QJsonValue &value : results) {
        const QJsonObject result = value.toObject();
        const QJsonArray marks = result.value(u"marks"_s).toArray();
        if (marks.contains(u"\u00B6"_s)) {
            ++over;
            EXPECT_EQ(result.value(u"result"_s).toString(), u"> 10\u00B6"_s);
            EXPECT_GT(result.value(u"value"_s).toDouble(), 10.0);
        }
        if (marks.contains(u"#"_s)) {
            ++invalid;
            EXPECT_TRUE(result.value(u"value"_s).isNull());
        }
        if (result.value(u"result"_s).toString() == u"N/S"_s) {
            ++missing;
            EXPECT_TRUE(result.value(u"value"_s).isNull());
        }
    }
    EXPECT_EQ(over, 1);
    EXPECT_EQ(invalid, 1);
    EXPECT_EQ(missing, 2);
    EXPECT_EQ(root.value(u"footnotes"_s).toArray().size(), 2);
}

TEST_F(CliTest, Calc_PlateAndFormat_SameResultsAsSavedRun)
{
    const CliRun fromPlate = RunCli(PlateArguments() << u"--json"_s << u"--save"_s << Path(u"run.vdf"_s));
    ASSERT_EQ(fromPlate.status, 0) << fromPlate.err.toStdString();
    const CliRun fromSaved = RunCli({u"calc"_s, Path(u"run.vdf"_s), u"--json"_s});
    ASSERT_EQ(fromSaved.status, 0) << fromSaved.err.toStdString();
    EXPECT_EQ(fromPlate.out, fromSaved.out);
    // The reader's text is read like a paste, with the regional separator: the example
    // plate is written with ".", the stored run converts its own separator.
    if (!TestSupport::CommaVariant()) {
        const CliRun fromExample = RunCli({u"calc"_s, Example("run-8point.vdf"), u"--json"_s});
        EXPECT_EQ(fromPlate.out, fromExample.out);
    }
}

TEST_F(CliTest, Calc_ExportsToFilesAndStandardOutput_WrittenAsTheDialogWrites)
{
    const CliRun toFiles = RunCli({u"calc"_s, Example("run-8point.vdf"), u"--results-export"_s,
                                   Path(u"r.txt"_s), u"--data-export"_s, Path(u"d.txt"_s)});
    ASSERT_EQ(toFiles.status, 0) << toFiles.err.toStdString();
    const QByteArray results = ReadWholeFile(Path(u"r.txt"_s));
    const QByteArray raw = ReadWholeFile(Path(u"d.txt"_s));
    ASSERT_TRUE(results.startsWith("\xEF\xBB\xBF"));
    ASSERT_TRUE(raw.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(results.contains("\r\nID 1\t1\t09/Dec/2026\tYes\t"));
    EXPECT_EQ(raw.count("\r\n"), 3 + 1 + 8);

    const CliRun toStdout = RunCli({u"calc"_s, Example("run-8point.vdf"), u"--results-export"_s, u"-"_s});
    ASSERT_EQ(toStdout.status, 0) << toStdout.err.toStdString();
    EXPECT_EQ(toStdout.out, results.mid(3));
}

TEST_F(CliTest, Calc_StoredLocale_SelectsCatalogueElseEnglish)
{
    const struct
    {
        const char *locale;
        const char *catalogue;
    } cases[] = {
        {"LOCALE_GERMAN", "LOCALE_GERMAN"}, {"LOCALE_KLINGON", "LOCALE_ENGLISH"}, {"", "LOCALE_ENGLISH"}};
    for (const auto &entry : cases) {
        WriteRegistryText(u"Locale"_s, QString::fromUtf8(entry.locale));
        const CliRun run = RunCli({u"calc"_s, Example("run-8point.vdf"), u"--json"_s});
        QString expected;
        {
            const TestSupport::LanguageGuard language(QString::fromUtf8(entry.catalogue));
            expected = UiText(87);
        }
        ASSERT_EQ(run.status, 0) << entry.locale << run.err.toStdString();
        EXPECT_EQ(QJsonDocument::fromJson(run.out).object().value(u"verdict"_s).toString(), expected)
            << entry.locale;
    }
    WriteRegistryText(u"Locale"_s, u"LOCALE_ENGLISH"_s);
}

// Every label of the summary's run details is the catalogue's, the curve type's too.
TEST_F(CliTest, CalcSummary_StoredLocale_RunDetailLabelsInThatLanguage)
{
    for (const char *locale : {"LOCALE_ENGLISH", "LOCALE_GERMAN", "LOCALE_GREEK"}) {
        WriteRegistryText(u"Locale"_s, QString::fromUtf8(locale));
        const CliRun run = RunCli({u"calc"_s, Example("run-8point.vdf")});
        ASSERT_EQ(run.status, 0) << locale << run.err.toStdString();
        const QStringList lines = QString::fromUtf8(run.out).split(u'\n');
        ASSERT_GE(lines.size(), 5) << locale;
        const TestSupport::LanguageGuard language(QString::fromUtf8(locale));
        const int labels[] = {23, 44, 45, 46, 354};
        for (int line = 0; line < 5; ++line)
            EXPECT_TRUE(lines.at(line).startsWith(UiText(labels[line]) + u':')) << locale << " " << line;
        EXPECT_TRUE(lines.at(4).endsWith(u"  "_s + UiText(355))) << lines.at(4).toStdString();
    }
    WriteRegistryText(u"Locale"_s, u"LOCALE_ENGLISH"_s);
}

TEST_F(CliTest, HelpAndVersion_ExitZero)
{
    const CliRun version = RunCli({u"--version"_s});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.contains("5.3.0 Build 08")) << version.out.toStdString();
    const CliRun help = RunCli({u"--help"_s});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("--std-conc"));
    EXPECT_TRUE(help.out.contains("velomyra report RUN.vdf"));
}

TEST_F(CliTest, Calc_StdConcGiven_UsedForStandardsBeforeTheZeroStandard)
{
    const CliRun run = RunCli(PlateArguments() << u"--json"_s << u"--std-conc"_s << u"16,8,4,2,1,0.5,0.25"_s);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonArray standards = QJsonDocument::fromJson(run.out).object().value(u"standards"_s).toArray();
    ASSERT_EQ(standards.size(), 8);
    EXPECT_EQ(standards.at(0).toObject().value(u"conc"_s).toString(), TestSupport::Dec("16.000"));
    EXPECT_EQ(standards.at(6).toObject().value(u"conc"_s).toString(), TestSupport::Dec("0.250"));
    EXPECT_EQ(standards.at(7).toObject().value(u"conc"_s).toString(), TestSupport::Dec("0.000"));
}

// Every failure: the status, one message on standard error, nothing on standard output,
// and no output file created or changed.
struct FailureCase
{
    const char *name;
    int status;
    std::function<QStringList(CliTest &)> arguments;
};

class CliFailureTest : public CliTest, public ::testing::WithParamInterface<FailureCase>
{
};

TEST_P(CliFailureTest, Calc_Failure_ReportsAndWritesNothing)
{
    const QString existing = Write(u"existing.txt"_s, "keep me");
    QStringList arguments = GetParam().arguments(*this);
    const bool calc = !arguments.isEmpty() && arguments.first() == u"calc";
    if (calc) {
        if (!arguments.contains(u"--save"_s))
            arguments << u"--save"_s << Path(u"new.vdf"_s);
        arguments << u"--results-export"_s << existing << u"--data-export"_s << Path(u"d.txt"_s)
                  << u"--xlsx"_s << Path(u"w.xlsx"_s);
    }
    const CliRun run = RunCli(arguments);
    EXPECT_EQ(run.status, GetParam().status) << run.err.toStdString();
    EXPECT_FALSE(run.err.trimmed().isEmpty());
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Path(u"new.vdf"_s)));
    EXPECT_FALSE(QFileInfo::exists(Path(u"d.txt"_s)));
    EXPECT_FALSE(QFileInfo::exists(Path(u"w.xlsx"_s)));
    EXPECT_EQ(ReadWholeFile(existing), QByteArray("keep me"));
}

namespace {

QStringList WithPlate(CliTest &test, const QString &plateText)
{
    QStringList arguments = PlateArguments();
    const QString plate = test.folder.filePath(u"plate.txt"_s);
    WriteFileAtomically(plate, plateText.toUtf8());
    arguments[2] = plate;
    return arguments;
}

const QStringList Series1{u"2.412"_s, u"1.348"_s, u"0.721"_s, u"0.382"_s,
                          u"0.201"_s, u"0.112"_s, u"0.071"_s, u"0.046"_s};
const QStringList Series2{u"2.388"_s, u"1.362"_s, u"0.716"_s, u"0.378"_s,
                          u"0.198"_s, u"0.108"_s, u"0.069"_s, u"0.044"_s};

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Cli, CliFailureTest,
    ::testing::Values(
        FailureCase{"NoArguments", 2, [](CliTest &) { return QStringList(); }},
        // The report pages are drawn by the desktop program, never by this tool.
        FailureCase{"ReportCommand", 2,
                    [](CliTest &test) {
                        return QStringList{u"report"_s, Example("run-8point.vdf"), u"--pdf"_s,
                                           test.folder.filePath(u"new.pdf"_s)};
                    }},
        FailureCase{"UnknownOption", 2,
                    [](CliTest &) {
                        return QStringList{u"calc"_s, Example("run-8point.vdf"), u"--fast"_s};
                    }},
        FailureCase{"RunFileMissing", 2,
                    [](CliTest &test) {
                        return QStringList{u"calc"_s, test.folder.filePath(u"none.vdf"_s)};
                    }},
        FailureCase{"RunFileGarbage", 2,
                    [](CliTest &test) {
                        const QString path = test.folder.filePath(u"bad.vdf"_s);
                        WriteFileAtomically(
                            path, QByteArray("[GeneralInfo]\r\nRunDateI18n=2026-12-09\r\nDataRows=many\r\n"));
                        return QStringList{u"calc"_s, path};
                    }},
        FailureCase{"FormatMissing", 2,
                    [](CliTest &test) {
                        QStringList arguments = PlateArguments();
                        arguments[4] = test.folder.filePath(u"none.vff"_s);
                        return arguments;
                    }},
        FailureCase{"PlateOfSevenLines", 2,
                    [](CliTest &test) {
                        return WithPlate(test, PlateWithStandards(Series1, Series2).section(u"\r\n"_s, 1));
                    }},
        FailureCase{"PlateLineOfFourteenValues", 2,
                    [](CliTest &test) {
                        return WithPlate(
                            test, PlateWithStandards(Series1, Series2).replace(u"\r\n"_s, u"\t1\t1\r\n"_s));
                    }},
        FailureCase{"StdConcWrongCount", 2,
                    [](CliTest &) { return PlateArguments() << u"--std-conc"_s << u"8,4,2"_s; }},
        FailureCase{
            "StdConcNegative", 2,
            [](CliTest &) { return PlateArguments() << u"--std-conc"_s << u"8,4,2,1,0.5,-0.25,0.125"_s; }},
        FailureCase{
            "StdConcNotANumber", 2,
            [](CliTest &) { return PlateArguments() << u"--std-conc"_s << u"8,4,two,1,0.5,0.25,0.125"_s; }},
        FailureCase{"OutputFolderMissing", 2,
                    [](CliTest &test) {
                        return QStringList{u"calc"_s, Example("run-8point.vdf"), u"--json"_s, u"--save"_s,
                                           test.folder.filePath(u"no/such/folder/run.vdf"_s)};
                    }},
        FailureCase{"CurveNotMatchingFormat", 2,
                    [](CliTest &) { return PlateArguments() << u"--curve"_s << u"4"_s; }},
        FailureCase{"RunDateInvalid", 2,
                    [](CliTest &) {
                        QStringList arguments = PlateArguments();
                        arguments[6] = u"2026-02-30"_s;
                        return arguments;
                    }},
        FailureCase{"OneStandardBlock_NotCalculableYet", 2,
                    [](CliTest &test) {
                        QString layout = DecodeText(ReadWholeFile(Example("layout-8point.vff")));
                        layout.truncate(layout.indexOf(u"[Cell81]"_s));
                        const QString path = test.folder.filePath(u"one-series.vff"_s);
                        WriteFileAtomically(path,
                                            QByteArray("\xFF\xFE", 2) +
                                                QByteArray(reinterpret_cast<const char *>(layout.utf16()),
                                                           layout.size() * 2));
                        QStringList arguments = PlateArguments();
                        arguments[4] = path;
                        return arguments;
                    }},
        FailureCase{"TopStandardsZero_CannotBeCalculated", 3,
                    [](CliTest &test) {
                        QStringList zero1 = Series1, zero2 = Series2;
                        zero1[0] = zero2[0] = u"0"_s;
                        return WithPlate(test, PlateWithStandards(zero1, zero2));
                    }}),
    [](const ::testing::TestParamInfo<FailureCase> &info) { return std::string(info.param.name); });

TEST_F(CliTest, Calc_ZeroStandardMeanAbove0150_ShowsPlateWashingNote)
{
    QStringList high1 = Series1, high2 = Series2;
    high1[7] = u"0.150"_s;
    high2[7] = u"0.154"_s; // mean 0.152
    const QStringList arguments = WithPlate(*this, PlateWithStandards(high1, high2));
    const CliRun summary = RunCli(arguments);
    ASSERT_EQ(summary.status, 0) << summary.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(summary.out).contains(UiText(258)));
    const CliRun json = RunCli(QStringList(arguments) << u"--json"_s);
    EXPECT_TRUE(QJsonDocument::fromJson(json.out).object().value(u"plateWashNote"_s).toBool());

    high2[7] = u"0.150"_s; // mean 0.150: no note
    const CliRun atLimit = RunCli(WithPlate(*this, PlateWithStandards(high1, high2)) << u"--json"_s);
    EXPECT_FALSE(QJsonDocument::fromJson(atLimit.out).object().value(u"plateWashNote"_s).toBool());
}

// Text 185 about the plate's file, and the well where one value is the cause.
TEST_F(CliTest, CalcFailure_NotCalculable_NamesTheFileAndTheWell)
{
    QStringList zero1 = Series1, zero2 = Series2;
    zero1[0] = zero2[0] = u"0"_s;
    const QStringList zeroStandards = WithPlate(*this, PlateWithStandards(zero1, zero2));
    const CliRun run = RunCli(zeroStandards);
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, u"velomyra-cli: \""_s + zeroStandards.at(2) + u"\": "_s + UiText(185) + u'\n');

    // The sample in A3 (the first of the layout) with a negative OD.
    QString plate = PlateWithStandards(Series1, Series2);
    plate.replace(plate.indexOf(TestSupport::Dec("0.5")), TestSupport::Dec("0.5").size(),
                  TestSupport::Dec("-0.5"));
    const QStringList negativeSample = WithPlate(*this, plate);
    const CliRun negative = RunCli(negativeSample);
    EXPECT_EQ(negative.status, 3);
    EXPECT_EQ(negative.err, u"velomyra-cli: \""_s + negativeSample.at(2) + u"\": "_s + UiText(185) +
                                u" The value in well A3 cannot be calculated.\n"_s);
}
