// The JSON of `calc --json` as a laboratory system reads it: it matches the schema shipped in
// the repository (checked by a real validator), its machine fields are the same whatever the
// language and the regional settings, and its verdict explains itself.
#include "CliTestSupport.h"

#include "core/RegionalGuard.h"
#include "core/Registry.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

QByteArray CalcJson(const JsonRun &run)
{
    const StoredLanguage language(run.locale, run.regional);
    const CliRun result = RunCli(QStringList(run.arguments) << u"--json"_s);
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

} // namespace

TEST_F(CliTest, Json_ExamplesFailedInvalidAndGermanRuns_MatchTheSchema)
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
    };
    QStringList documents;
    for (const JsonRun &run : runs) {
        const QByteArray json = CalcJson(run);
        // A lone surrogate would be written as an escape that no UTF-8 reader accepts.
        EXPECT_FALSE(json.contains("\\ud")) << run.name.toStdString();
        ExpectVerdictExplained(run.name, Parsed(json));
        documents << Write(run.name + u".json"_s, json);
    }
    const QJsonObject failed = Parsed(ReadWholeFile(documents.at(2)));
    EXPECT_FALSE(failed.value(u"valid"_s).toBool());
    EXPECT_TRUE(failed.value(u"standards"_s).toArray().at(0).toObject().value(u"meanValue"_s).isNull());
    const QJsonObject invalid = Parsed(ReadWholeFile(documents.at(3)));
    EXPECT_FALSE(invalid.value(u"curve"_s).toObject().value(u"correlationPass"_s).toBool());
    EXPECT_TRUE(invalid.value(u"plateWashNote"_s).toBool());
    EXPECT_EQ(Parsed(ReadWholeFile(documents.at(5))).value(u"runDetails"_s).toObject().value(u"operator"_s),
              u"A. Sm\uFFFDith"_s);

    const auto [status, report] = Validate(documents);
    EXPECT_EQ(status, 0) << report.toStdString();

    // The validator does check: a number written as text is refused.
    QByteArray broken = ReadWholeFile(documents.first());
    ASSERT_TRUE(broken.contains("\"meanValue\": 2.4,"));
    broken.replace("\"meanValue\": 2.4,", "\"meanValue\": \"2.4\",");
    EXPECT_EQ(Validate({Write(u"broken.json"_s, broken)}).first, 1);
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
