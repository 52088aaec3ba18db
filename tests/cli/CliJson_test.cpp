// The JSON of `calc --json` as a laboratory system reads it: it matches the schema shipped in
// the repository (checked by a real validator), its machine fields are the same whatever the
// language and the regional settings, and its verdict explains itself.
#include "CliTestSupport.h"

#include "core/RegionalGuard.h"
#include "core/Registry.h"
#include "core/Tool.h"
#include "files/ExportTexts.h"
#include "files/RunSession.h"
#include "run/ResultTexts.h"
#include "run/RunCalculation.h"
#include "support/LanguageGuard.h"
#include "support/TestSupport.h"
#include "workbook/RunWorkbook.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QStringEncoder>

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString Schema = QStringLiteral(VELOMYRA_SOURCE_DIR "/cli/velomyra-cli.schema.json");

// The example plate, with some wells replaced (row, column from 1), in the regional form.
QString ExamplePlate(const QList<std::tuple<int, int, const char *>> &changes = {})
{
    QStringList lines = DecodeText(ReadWholeFile(Example("plate-8point.txt"))).split(u"\r\n"_s);
    for (const auto &[row, col, text] : changes) {
        QStringList tokens = lines[row - 1].split(u'\t');
        tokens[col - 1] = QString::fromUtf8(text);
        lines[row - 1] = tokens.join(u'\t');
    }
    return TestSupport::Dec(lines.join(u"\r\n"_s));
}

// The language and separators stored for one run of the tool.
class StoredLanguage
{
public:
    StoredLanguage(const QString &locale, const RegionalGuard::Values &regional) : mRegional(regional)
    {
        WriteRegistryText(u"Locale"_s, locale);
    }
    ~StoredLanguage() { WriteRegistryText(u"Locale"_s, u"LOCALE_ENGLISH"_s); }
    StoredLanguage(const StoredLanguage &) = delete;
    StoredLanguage &operator=(const StoredLanguage &) = delete;

private:
    RegionalGuard mRegional;
};

struct JsonRun
{
    QString name;
    QStringList arguments;
    QString locale = u"LOCALE_ENGLISH"_s;
    RegionalGuard::Values regional = {};
};

// With a workbook path, the same call also writes the run's workbook there.
QByteArray CalcJson(const JsonRun &run, const QString &workbook = QString())
{
    const StoredLanguage language(run.locale, run.regional);
    QStringList arguments = QStringList(run.arguments) << u"--json"_s;
    if (!workbook.isEmpty())
        arguments << u"--xlsx"_s << workbook;
    const CliRun result = RunCli(arguments);
    EXPECT_EQ(result.status, 0) << run.name.toStdString() << ": " << result.err.toStdString();
    return result.out;
}

QJsonObject Parsed(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

// The document without the texts the program shows: what must not depend on the language
// or the regional settings.
QJsonObject MachineFields(QJsonObject root)
{
    const auto strip = [](QJsonObject object, std::initializer_list<const char16_t *> keys) {
        for (const char16_t *key : keys)
            object.remove(QString::fromUtf16(key));
        return object;
    };
    QJsonArray standards;
    for (const QJsonValue &standard : root.value(u"standards"_s).toArray())
        standards.append(strip(standard.toObject(), {u"conc", u"mean", u"cv", u"qc"}));
    QJsonArray results;
    for (const QJsonValue &result : root.value(u"results"_s).toArray())
        results.append(strip(result.toObject(), {u"result"}));
    root.insert(u"standards"_s, standards);
    root.insert(u"results"_s, results);
    root.insert(u"curve"_s,
                strip(root.value(u"curve"_s).toObject(), {u"intercept", u"slope", u"correlation"}));
    return strip(root, {u"verdict", u"footnotes"});
}

// Every rule applied passes exactly when its verdict says so.
void ExpectVerdictExplained(const QString &name, const QJsonObject &root)
{
    const auto allPass = [](const QJsonArray &rules, bool advisory) {
        bool pass = true;
        for (const QJsonValue &rule : rules)
            if (rule.toObject().value(u"advisory"_s).toBool() == advisory)
                pass = pass && rule.toObject().value(u"pass"_s).toBool();
        return pass;
    };
    const QJsonArray runRules = root.value(u"qcRules"_s).toArray();
    EXPECT_EQ(root.value(u"valid"_s).toBool(), allPass(runRules, false)) << name.toStdString();
    EXPECT_EQ(root.value(u"plateWashNote"_s).toBool(), !allPass(runRules, true)) << name.toStdString();
    for (const QJsonValue &value : root.value(u"standards"_s).toArray()) {
        const QJsonObject standard = value.toObject();
        EXPECT_EQ(standard.value(u"pass"_s).toBool(), allPass(standard.value(u"qcRules"_s).toArray(), false))
            << name.toStdString() << " " << standard.value(u"name"_s).toString().toStdString();
    }
}

std::pair<int, QString> Validate(const QStringList &documents)
{
    return ValidateJson(Schema, documents);
}

// A 4-point run: two standard series down column 1 (rows A-D and E-H) and samples in F12,
// G12 and H12 (ID 1 to 3), the middle one below the lowest standard, the last above the
// highest.
QByteArray FourPointRun()
{
    const char *series[2][4] = {{"1.500", "0.450", "0.140", "0.040"}, {"1.400", "0.430", "0.150", "0.050"}};
    const char *samples[3] = {"1.000", "0.060", "2.500"};
    QString text = u"[GeneralInfo]\r\nCurveType=0\r\nRunDateI18n=2026-12-09\r\nDataRows=9\r\nDataCols=13\r\n"
                   u"DecimalSeperator=.\r\nStdConc=4.000|1.000|0.250|0.000\r\n\r\n"_s;
    int cell = 0;
    for (int k = 0; k < 3; ++k)
        text +=
            u"[Cell%1]\r\nPoint0=12|%2|1|%3\r\nCriteriaType=90\r\nFixedID=%4\r\nID=ID %4\r\nBlockType=0\r\n"_s
                .arg(cell++)
                .arg(6 + k)
                .arg(QString::fromUtf8(samples[k]))
                .arg(k + 1);
    for (int n = 0; n < 2; ++n) {
        text += u"[Cell%1]\r\n"_s.arg(cell++);
        for (int i = 0; i < 4; ++i)
            text += u"Point%1=1|%2|%3|%4\r\n"_s.arg(i)
                        .arg(1 + n * 4 + i)
                        .arg(i + 1)
                        .arg(QString::fromUtf8(series[n][i]));
        text += u"ID=Std %1\r\nBlockType=1\r\n"_s.arg(n + 1);
    }
    QStringEncoder utf16(QStringConverter::Utf16LE);
    return QByteArray("\xFF\xFE", 2) + QByteArray(utf16(text));
}

QJsonObject ResultOf(const QJsonObject &root, const QString &id)
{
    for (const QJsonValue &value : root.value(u"results"_s).toArray())
        if (value.toObject().value(u"id"_s) == id)
            return value.toObject();
    ADD_FAILURE() << "no result " << id.toStdString();
    return {};
}

} // namespace

// The workbook of each run is written by the same call and read back with openpyxl.
TEST_F(CliTest, JsonAndWorkbook_ExamplesFailedInvalidFourPointAndGermanRuns_SchemaAndReadBack)
{
    const QStringList plateArguments = PlateArguments();
    const auto withPlate = [&](const QString &name, const QString &plate) {
        QStringList arguments = plateArguments;
        arguments[2] = Write(name + u".txt"_s, plate.toUtf8());
        return arguments;
    };
    QString lone = DecodeText(ReadWholeFile(Example("run-8point.vdf")));
    lone.replace(u"Operator=A. Smith"_s, u"Operator=A. Sm"_s + QChar(0xDC00) + u"ith"_s);
    QStringEncoder utf16(QStringConverter::Utf16LE);
    const QString loneRun = Write(u"lone.vdf"_s, QByteArray("\xFF\xFE", 2) + QByteArray(utf16(lone)));

    const QList<JsonRun> runs{
        {u"example-run"_s, {u"calc"_s, Example("run-8point.vdf")}},
        {u"example-plate"_s, plateArguments},
        // S1 with a non-numerical replicate: no mean, the standard and the run fail.
        {u"failed"_s, withPlate(u"failed"_s, ExamplePlate({{1, 1, "OVER"}}))},
        // The zero standard's replicates 0.300 and 0.044: they disagree and the plate
        // washing is to be investigated; S3 and S5 swapped: the curve's correlation fails.
        {u"invalid"_s,
         withPlate(
             u"invalid"_s,
             ExamplePlate(
                 {{8, 1, "0.300"}, {3, 1, "0.201"}, {3, 2, "0.198"}, {5, 1, "0.721"}, {5, 2, "0.716"}}))},
        {u"german"_s,
         {u"calc"_s, Example("run-8point.vdf")},
         u"LOCALE_GERMAN"_s,
         RegionalGuard::Separators(",", ".")},
        {u"lone-surrogate"_s, {u"calc"_s, loneRun}},
        {u"four-point"_s, {u"calc"_s, Write(u"four.vdf"_s, FourPointRun())}},
    };
    QStringList documents;
    QStringList workbookPairs;
    for (const JsonRun &run : runs) {
        const QString workbook = Path(run.name + u".xlsx"_s);
        const QByteArray json = CalcJson(run, workbook);
        // A lone surrogate would be written as an escape that no UTF-8 reader accepts.
        EXPECT_FALSE(json.contains("\\ud")) << run.name.toStdString();
        ExpectVerdictExplained(run.name, Parsed(json));
        documents << Write(run.name + u".json"_s, json);
        workbookPairs << documents.last() << workbook;
    }
    const QJsonObject failed = Parsed(ReadWholeFile(documents.at(2)));
    EXPECT_FALSE(failed.value(u"valid"_s).toBool());
    EXPECT_TRUE(failed.value(u"standards"_s).toArray().at(0).toObject().value(u"meanValue"_s).isNull());
    const QJsonObject invalid = Parsed(ReadWholeFile(documents.at(3)));
    EXPECT_FALSE(invalid.value(u"curve"_s).toObject().value(u"correlationPass"_s).toBool());
    EXPECT_TRUE(invalid.value(u"plateWashNote"_s).toBool());
    // Means 2.4, 1.355, 0.1995, 0.38, 0.7185, 0.11, 0.07, 0.172: each rise is named.
    const QJsonObject invalidDiagnostics = invalid.value(u"diagnostics"_s).toObject();
    EXPECT_FALSE(invalidDiagnostics.value(u"standardsInOrder"_s).toBool());
    EXPECT_EQ(invalidDiagnostics.value(u"outOfOrder"_s).toArray(), QJsonArray({u"S4"_s, u"S5"_s, u"S8"_s}));
    EXPECT_EQ(Parsed(ReadWholeFile(documents.at(5))).value(u"runDetails"_s).toObject().value(u"operator"_s),
              u"A. Sm\uFFFDith"_s);

    const auto [status, report] = Validate(documents);
    EXPECT_EQ(status, 0) << report.toStdString();
    const auto [readBack, differences] = CompareWorkbooks(u"run"_s, workbookPairs);
    EXPECT_EQ(readBack, 0) << differences.toStdString();
    // The comparison does compare: another run's workbook differs.
    EXPECT_EQ(CompareWorkbooks(u"run"_s, {documents.at(0), workbookPairs.at(5)}).first, 1);

    // The validator does check: a number written as text is refused.
    QByteArray broken = ReadWholeFile(documents.first());
    ASSERT_TRUE(broken.contains("\"meanValue\": 2.4,"));
    broken.replace("\"meanValue\": 2.4,", "\"meanValue\": \"2.4\",");
    EXPECT_EQ(Validate({Write(u"broken.json"_s, broken)}).first, 1);
}

// Where LibreOffice is installed, it opens the workbook and reads the first sheet's numbers as
// numbers: its CSV writes them without the quotes it gives texts.
TEST_F(CliTest, Workbook_OpensInLibreOffice)
{
    const QString soffice = QStandardPaths::findExecutable(u"soffice"_s);
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    const QString workbook = Path(u"run.xlsx"_s);
    ASSERT_EQ(RunCli({u"calc"_s, Example("run-8point.vdf"), u"--xlsx"_s, workbook}).status, 0);
    QProcess office;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"HOME"_s, folder.path()); // a profile of its own
    office.setProcessEnvironment(environment);
    office.start(soffice,
                 {u"--headless"_s, u"--convert-to"_s, u"csv:Text - txt - csv (StarCalc):44,34,76,1,,0,true"_s,
                  u"--outdir"_s, folder.path(), workbook});
    ASSERT_TRUE(office.waitForFinished(180000));
    const QStringList lines = QString::fromUtf8(ReadWholeFile(Path(u"run.csv"_s))).split(u'\n');
    ASSERT_GT(lines.size(), 81);
    EXPECT_TRUE(lines.at(1).startsWith(u"\"ID 1\",\"A3\",0.171,0.39,"_s)) << lines.at(1).toStdString();
}

TEST_F(CliTest, Json_MachineFields_SameInEveryLanguageAndWithEitherSeparator)
{
    const QStringList arguments{u"calc"_s, Example("run-8point.vdf")};
    const QJsonObject english =
        Parsed(CalcJson({u"english"_s, arguments, u"LOCALE_ENGLISH"_s, RegionalGuard::Separators(".", ",")}));
    for (const char *locale : {"LOCALE_GERMAN", "LOCALE_GREEK", "LOCALE_POLISH"}) {
        const QJsonObject other =
            Parsed(CalcJson({QString::fromUtf8(locale), arguments, QString::fromUtf8(locale),
                             RegionalGuard::Separators(",", ".")}));
        EXPECT_NE(other.value(u"verdict"_s), english.value(u"verdict"_s)) << locale;
        EXPECT_EQ(MachineFields(other), MachineFields(english)) << locale;
    }
    EXPECT_EQ(english.value(u"standards"_s).toArray().at(0).toObject().value(u"meanValue"_s).toDouble(), 2.4);
}

// --language wins over the stored language: every text of the example run's outputs is the one
// the window makes with that catalogue loaded, and the machine fields are the English run's.
TEST_F(CliTest, CalcLanguage_EveryCode_TextsAsTheWindowsInThatLanguage)
{
    const struct
    {
        const char *code;
        const char *catalogue;
    } languages[] = {
        {"en", "LOCALE_ENGLISH"},    {"de", "LOCALE_GERMAN"},  {"fr", "LOCALE_FRENCH"},
        {"es", "LOCALE_SPANISH"},    {"it", "LOCALE_ITALIAN"}, {"el", "LOCALE_GREEK"},
        {"pt", "LOCALE_PORTUGUESE"}, {"pl", "LOCALE_POLISH"},
    };
    const StoredLanguage stored(u"LOCALE_POLISH"_s, {});
    const QString example = Example("run-8point.vdf");
    QJsonObject english;
    for (const auto &language : languages) {
        const QString code = QString::fromUtf8(language.code);
        const QString results = Path(code + u"-results.txt"_s);
        const QString data = Path(code + u"-data.txt"_s);
        const QString workbook = Path(code + u".xlsx"_s);
        const CliRun run =
            RunCli({u"calc"_s, example, u"--language"_s, code, u"--json"_s, u"--results-export"_s, results,
                    u"--data-export"_s, data, u"--xlsx"_s, workbook});
        ASSERT_EQ(run.status, 0) << language.code << ": " << run.err.toStdString();
        const QJsonObject root = Parsed(run.out);
        const CliRun summary = RunCli({u"summary"_s, example, u"--json"_s, u"--language"_s, code});
        ASSERT_EQ(summary.status, 0) << language.code << ": " << summary.err.toStdString();

        const TestSupport::LanguageGuard shown(QString::fromUtf8(language.catalogue));
        TRunSession session;
        ASSERT_TRUE(session.LoadRun(example).Ok());
        ASSERT_TRUE(session.Calculate().Ok());
        const TRunCalculationResult &result = *session.LastResult();
        EXPECT_EQ(ReadWholeFile(results), ExportFileBytes(session.ResultsExportText())) << language.code;
        EXPECT_EQ(ReadWholeFile(data), ExportFileBytes(session.RawDataExportText())) << language.code;
        // The workbook's cells, read back: headings and texts as the export dialog's workbook has them.
        const QString shownWorkbook = Write(code + u"-shown.xlsx"_s, RunWorkbookBytes(session));
        const auto cells = [](const QString &path) {
            return RunPythonCheck("compare-workbook.py", {u"dump"_s, path}).second.toStdString();
        };
        EXPECT_EQ(cells(workbook), cells(shownWorkbook)) << language.code;
        EXPECT_EQ(root.value(u"verdict"_s).toString(), ResultTexts::Verdict(result)) << language.code;
        EXPECT_EQ(root.value(u"footnotes"_s).toVariant().toStringList(), ResultTexts::FootnoteLines(result))
            << language.code;
        const TStringGridData table = ResultTexts::StandardsTable(result.Qc.Standards);
        QStringList qc;
        for (const QJsonValue &standard : root.value(u"standards"_s).toArray())
            qc << standard[u"qc"_s].toString();
        EXPECT_EQ(qc, table.at(ResultTexts::StandardsQcColumn).mid(1)) << language.code;
        QStringList subjects;
        QStringList summaryRows;
        QStringList shownSubjects;
        for (const QJsonValue &subject : root.value(u"results"_s).toArray())
            subjects << subject[u"result"_s].toString();
        for (const QJsonValue &row : Parsed(summary.out).value(u"rows"_s).toArray())
            summaryRows << row[u"result"_s].toString();
        for (const TRunSubjectResult &subject : result.Subjects)
            shownSubjects << StripMarkup(subject.ResultText);
        EXPECT_EQ(subjects, shownSubjects) << language.code;
        EXPECT_EQ(summaryRows, shownSubjects) << language.code;

        if (english.isEmpty())
            english = root;
        else
            EXPECT_EQ(MachineFields(root), MachineFields(english)) << language.code;
    }
}

TEST_F(CliTest, Json_ExactValues_RoundToTheShownOnesAndMatchAnIndependentFit)
{
    const QByteArray json = CalcJson({u"example-run"_s, {u"calc"_s, Example("run-8point.vdf")}});
    const QJsonObject root = Parsed(json);
    const QJsonObject curve = root.value(u"curve"_s).toObject();
    const QJsonArray standards = root.value(u"standards"_s).toArray();
    QJsonObject firstSample;
    QJsonObject aboveRange;
    for (const QJsonValue &value : root.value(u"results"_s).toArray()) {
        const QJsonObject result = value.toObject();
        if (result.value(u"id"_s) == u"ID 1"_s)
            firstSample = result;
        if (result.value(u"id"_s) == u"ID 62"_s)
            aboveRange = result;
    }
    ASSERT_TRUE(aboveRange.value(u"aboveRange"_s).toBool());

    // Each exact value is null exactly where its shown twin is, and rounds to it.
    const auto expectRoundsTo = [](const QString &where, const QJsonValue &exact, const QJsonValue &shown,
                                   int decimals) {
        ASSERT_EQ(exact.isNull(), shown.isNull()) << where.toStdString();
        if (shown.isNull())
            return;
        EXPECT_LE(std::abs(exact.toDouble() - shown.toDouble()), 0.5 * std::pow(10.0, -decimals) + 1e-12)
            << where.toStdString();
    };
    for (const QJsonValue &value : standards) {
        const QJsonObject standard = value.toObject();
        const QString name = standard.value(u"name"_s).toString();
        expectRoundsTo(name, standard.value(u"meanExact"_s), standard.value(u"meanValue"_s), 3);
        expectRoundsTo(name, standard.value(u"cvExact"_s), standard.value(u"cvValue"_s), 1);
    }
    for (const char16_t *field : {u"intercept", u"slope"})
        expectRoundsTo(QString::fromUtf16(field), curve.value(QString::fromUtf16(field) + u"Exact"_s),
                       curve.value(QString::fromUtf16(field) + u"Value"_s), 4);
    expectRoundsTo(u"correlation"_s, curve.value(u"correlationExact"_s), curve.value(u"correlationValue"_s),
                   2);
    for (const QJsonValue &value : root.value(u"results"_s).toArray()) {
        const QJsonObject result = value.toObject();
        expectRoundsTo(result.value(u"id"_s).toString(), result.value(u"valueExact"_s),
                       result.value(u"value"_s), 2);
    }

    // Python, from the example plate (columns 1 and 2), two ways:
    // - the calculation's own operations in doubles, so the same bits are expected:
    //     m = (a + b) / 2; cv = sqrt(((a - m) * (a - m) + (b - m) * (b - m)) / 1) / m * 100.0
    // - the statistics module's fit, equal within a few units in the last place:
    //     x, y = ln(conc), ln(mean) for conc > 0; slope, intercept = linear_regression(x, y);
    //     r = correlation(x, y); sample = exp((ln(od) - intercept) / slope)
    // A number written with fewer than 17 significant digits would miss the first kind.
    const struct
    {
        const char *name;
        QJsonValue actual;
        double expected;
        double relativeTolerance;
    } figures[] = {
        {"S1 mean (2.412, 2.388)", standards.at(0).toObject().value(u"meanExact"_s), 2.4, 0.0},
        {"S3 mean (0.721, 0.716)", standards.at(2).toObject().value(u"meanExact"_s), 0.7184999999999999, 0.0},
        {"S1 %CV", standards.at(0).toObject().value(u"cvExact"_s), 0.7071067811865482, 0.0},
        {"S3 %CV", standards.at(2).toObject().value(u"cvExact"_s), 0.49207152483406275, 0.0},
        {"S4 %CV (0.382, 0.378)", standards.at(3).toObject().value(u"cvExact"_s), 0.7443229275647876, 0.0},
        {"intercept", curve.value(u"interceptExact"_s), -0.9424827715448452, 1e-13},
        {"slope", curve.value(u"slopeExact"_s), 0.871165759868603, 1e-13},
        {"correlation", curve.value(u"correlationExact"_s), 0.999082021053373, 1e-13},
        {"ID 1 (A3, OD 0.171)", firstSample.value(u"valueExact"_s), 0.3885201870105001, 1e-13},
        {"ID 62 (F10, OD 3.127, above the range)", aboveRange.value(u"valueExact"_s), 10.919392010256804,
         1e-13},
    };
    for (const auto &figure : figures) {
        ASSERT_TRUE(figure.actual.isDouble()) << figure.name;
        EXPECT_NEAR(figure.actual.toDouble(), figure.expected,
                    figure.relativeTolerance * std::abs(figure.expected))
            << figure.name;
    }
    // The sample's value is the curve's conversion of its OD, bit for bit.
    const double intercept = curve.value(u"interceptExact"_s).toDouble();
    const double slope = curve.value(u"slopeExact"_s).toDouble();
    EXPECT_EQ(firstSample.value(u"valueExact"_s).toDouble(), std::exp((std::log(0.171) - intercept) / slope));
    // A low standard has no %CV, a sample without a numerical OD no value.
    EXPECT_TRUE(standards.at(7).toObject().value(u"cvExact"_s).isNull());
    EXPECT_EQ(curve.value(u"correlationValue"_s).toDouble(), 1.0);
}

TEST_F(CliTest, Json_Diagnostics_MatchAnIndependentFit)
{
    const QJsonObject example = Parsed(CalcJson({u"example-run"_s, {u"calc"_s, Example("run-8point.vdf")}}));
    const QJsonObject four =
        Parsed(CalcJson({u"four-point"_s, {u"calc"_s, Write(u"four.vdf"_s, FourPointRun())}}));
    const QJsonObject diagnostics = example.value(u"diagnostics"_s).toObject();
    const QJsonArray standards = diagnostics.value(u"standards"_s).toArray();
    ASSERT_EQ(standards.size(), 7);
    EXPECT_EQ(standards.at(6).toObject().value(u"name"_s), u"S7"_s);
    EXPECT_EQ(standards.at(6).toObject().value(u"nominal"_s).toDouble(), 0.125);
    EXPECT_TRUE(diagnostics.value(u"standardsInOrder"_s).toBool());
    EXPECT_TRUE(diagnostics.value(u"outOfOrder"_s).toArray().isEmpty());
    const QJsonValue firstInterval = ResultOf(example, u"ID 1"_s).value(u"predictionInterval95"_s);
    const QJsonValue aboveInterval = ResultOf(example, u"ID 62"_s).value(u"predictionInterval95"_s);
    const QJsonValue fourInterval = ResultOf(four, u"ID 3"_s).value(u"predictionInterval95"_s);

    // R, as tests/run/CurveDiagnostics_test.cpp gives diag() (the same plates):
    //   diag(c8, c(2.412, 1.348, 0.721, 0.382, 0.201, 0.112, 0.071, 0.046),
    //        c(2.388, 1.362, 0.716, 0.378, 0.198, 0.108, 0.069, 0.044), c(0.171, 3.127))
    //   diag(c4, c(1.500, 0.450, 0.140, 0.040), c(1.400, 0.430, 0.150, 0.050), c(1.000, 0.060, 2.500))
    const struct
    {
        const char *name;
        QJsonValue actual;
        double expected;
    } figures[] = {
        {"s", diagnostics.value(u"fitStandardError"_s), 0.061270411292154596},
        {"S1 back-calculated", standards.at(0).toObject().value(u"backCalculated"_s), 8.0591107001904234},
        {"S7 recovery", standards.at(6).toObject().value(u"recoveryPercent"_s), 111.49114028464902},
        {"S5 residual", standards.at(4).toObject().value(u"residual"_s), -0.065612180854089347},
        {"ID 1 low", firstInterval.toArray().at(0), 0.31847075685540766},
        {"ID 1 high", firstInterval.toArray().at(1), 0.47397738242951892},
        {"ID 62 low", aboveInterval.toArray().at(0), 8.7074291452779846},
        {"ID 62 high", aboveInterval.toArray().at(1), 13.693263520647758},
        {"4-point s", four.value(u"diagnostics"_s).toObject().value(u"fitStandardError"_s),
         0.033681759335247641},
        {"4-point ID 3 high", fourInterval.toArray().at(1), 17.515440511781499},
    };
    for (const auto &figure : figures) {
        ASSERT_TRUE(figure.actual.isDouble()) << figure.name;
        EXPECT_NEAR(figure.actual.toDouble(), figure.expected, 1e-9 * std::abs(figure.expected))
            << figure.name;
    }

    // The range flags, and no interval without a numerical OD.
    const struct
    {
        const QJsonObject &root;
        const char16_t *id;
        bool hasInterval;
        bool below;
        bool above;
    } samples[] = {
        {example, u"ID 1", true, false, false},   {example, u"ID 62", true, false, true},
        {example, u"ID 36", false, false, false}, // OVER
        {example, u"ID 79", false, false, false}, // N/S
        {four, u"ID 2", true, true, false},       {four, u"ID 3", true, false, true},
    };
    for (const auto &sample : samples) {
        const QJsonObject result = ResultOf(sample.root, QString::fromUtf16(sample.id));
        SCOPED_TRACE(QString::fromUtf16(sample.id).toStdString());
        EXPECT_EQ(result.value(u"predictionInterval95"_s).isArray(), sample.hasInterval);
        EXPECT_EQ(result.value(u"belowLowestStandard"_s).toBool(), sample.below);
        EXPECT_EQ(result.value(u"aboveHighestStandard"_s).toBool(), sample.above);
    }
}
