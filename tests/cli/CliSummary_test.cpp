// `summary` over several run files as a lab collects them: runs in run-date order whatever
// order the files come in, a bad file named while the others are written, CSV a spreadsheet
// takes as data (never as a formula), and JSON that matches its schema and calc --json.
#include "CliTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString SummarySchema = QStringLiteral(VELOMYRA_SOURCE_DIR "/cli/velomyra-cli-summary.schema.json");

QString Dated(const char *isoDate)
{
    return u"RunDateI18n=2026-12-09"_s.replace(u"2026-12-09"_s, QString::fromUtf8(isoDate));
}

QString Numbered(const char *number)
{
    return u"RunNumber="_s + QString::fromUtf8(number);
}

// Each run file's name (without its folder) in the order its rows first appear.
QStringList FileOrder(const QStringList &fileCells, const QString &folder)
{
    QStringList order;
    for (QString file : fileCells) {
        file.remove(folder + u'/');
        if (order.isEmpty() || order.last() != file)
            order << file;
    }
    return order;
}

QStringList CsvLines(const QByteArray &bytes)
{
    QStringList lines = QString::fromUtf8(bytes).split(u"\r\n"_s);
    EXPECT_EQ(lines.takeLast(), QString()) << "the last line ends in CR LF";
    return lines;
}

// The fields of one CSV line as RFC 4180 reads them.
QStringList CsvFields(const QString &line)
{
    QStringList fields{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted && c == u'"' && i + 1 < line.size() && line.at(i + 1) == u'"')
            fields.last() += line.at(++i);
        else if (c == u'"')
            quoted = !quoted;
        else if (c == u',' && !quoted)
            fields << QString();
        else
            fields.last() += c;
    }
    return fields;
}

QJsonArray JsonRows(const QByteArray &bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object().value(u"rows"_s).toArray();
}

} // namespace

TEST_F(CliTest, Summary_FilesOutOfOrder_RunsByDateThenRunNumberThenFileName)
{
    const QStringList files{
        WriteExampleRunVariant(Path(u"a.vdf"_s), {{Dated("2026-12-09"), Dated("2026-12-09")}}), // run 1
        WriteExampleRunVariant(Path(u"b.vdf"_s), {{Numbered("1"), Numbered("10")}}),
        WriteExampleRunVariant(Path(u"c.vdf"_s), {{Dated("2026-12-09"), Dated("2025-01-31")}}),
        WriteExampleRunVariant(Path(u"d.vdf"_s), {{Numbered("1"), Numbered("2")}}),
        WriteExampleRunVariant(Path(u"e.vdf"_s), {{Dated("2026-12-09"), Dated("2025-01-31")}}),
    };
    const QStringList given{files.at(3), files.at(4), files.at(1), files.at(0), files.at(2)};
    const QStringList expected{u"c.vdf"_s, u"e.vdf"_s, u"a.vdf"_s, u"d.vdf"_s, u"b.vdf"_s};

    struct Format
    {
        const char *name;
        QStringList options;
        std::function<QStringList(const QByteArray &)> fileCells;
    };
    const QList<Format> formats{
        {"table",
         {},
         [&](const QByteArray &out) {
             QStringList cells;
             for (const QString &line : QString::fromUtf8(out).split(u'\n'))
                 if (line.startsWith(folder.path()))
                     cells << line.section(u' ', 0, 0);
             return cells;
         }},
        {"csv",
         {u"--csv"_s, u"-"_s},
         [](const QByteArray &out) {
             QStringList cells;
             for (const QString &line : CsvLines(out).mid(1))
                 cells << line.section(u',', 0, 0);
             return cells;
         }},
        {"json",
         {u"--json"_s},
         [](const QByteArray &out) {
             QStringList cells;
             for (const QJsonValue &row : JsonRows(out))
                 cells << row[u"file"_s].toString();
             return cells;
         }},
    };
    for (const Format &format : formats) {
        const CliRun run = RunCli(QStringList{u"summary"_s} << given << format.options);
        ASSERT_EQ(run.status, 0) << format.name << run.err.toStdString();
        EXPECT_EQ(run.err, QString()) << format.name;
        const QStringList cells = format.fileCells(run.out);
        EXPECT_EQ(cells.size(), 5 * 80) << format.name;
        EXPECT_EQ(FileOrder(cells, folder.path()), expected) << format.name;
    }
}

TEST_F(CliTest, Summary_BadFileAmongGood_NamedOnStandardErrorOthersWrittenWithCalcsStatus)
{
    const QString good1 = WriteExampleRunVariant(Path(u"good1.vdf"_s), {{Numbered("1"), Numbered("1")}});
    const QString good2 = WriteExampleRunVariant(Path(u"good2.vdf"_s), {{Numbered("1"), Numbered("2")}});
    const QString missing = Path(u"missing.vdf"_s);
    const QString notARun = Write(u"not-a-run.vdf"_s, "plain text\n");
    // A negative OD of the first sample: data that cannot be calculated.
    const QString negative = WriteExampleRunVariant(Path(u"negative.vdf"_s),
                                                    {{u"Point0=3|1|1|0.171"_s, u"Point0=3|1|1|-0.171"_s}});
    struct Case
    {
        const char *name;
        QStringList bad;
        int status;
    };
    const QList<Case> cases{
        {"MissingFile", {missing}, 2},
        {"NotARunFile", {notARun}, 2},
        {"NotCalculable", {negative}, 3},
        {"RefusedAndNotCalculable", {negative, notARun}, 3},
    };
    for (const Case &c : cases) {
        const QString csv = Path(u"summary.csv"_s);
        const CliRun run = RunCli(QStringList{u"summary"_s, good1} << c.bad << good2 << u"--csv"_s << csv);
        EXPECT_EQ(run.status, c.status) << c.name;
        EXPECT_EQ(run.out, QByteArray()) << c.name;
        const QStringList errors = run.err.trimmed().split(u'\n');
        ASSERT_EQ(errors.size(), c.bad.size()) << c.name << run.err.toStdString();
        for (const QString &bad : c.bad)
            EXPECT_TRUE(run.err.contains(u"velomyra-cli: \""_s + bad + u"\": "_s))
                << c.name << run.err.toStdString();
        const QStringList lines = CsvLines(ReadWholeFile(csv));
        ASSERT_EQ(lines.size(), 1 + 2 * 80) << c.name;
        EXPECT_EQ(FileOrder(QStringList{lines.at(1).section(u',', 0, 0), lines.last().section(u',', 0, 0)},
                            folder.path()),
                  (QStringList{u"good1.vdf"_s, u"good2.vdf"_s}))
            << c.name;
    }
}

// Texts that a spreadsheet would run as formulas are led by an apostrophe and quoted as RFC
// 4180 asks; numbers stay numbers, a negative run number too. Every concentration is the
// unrounded number calc --json gives for the same file.
TEST_F(CliTest, SummaryCsv_FormulaLikeTextsGuardedNumbersKeptAndEqualToCalcJson)
{
    const QString run = WriteExampleRunVariant(Path(u"lab, \"north\".vdf"_s),
                                               {{Numbered("1"), Numbered("-5")},
                                                {u"KitBatchNumber=K0001"_s, u"KitBatchNumber=@K\"1\",2"_s},
                                                {u"Operator=A. Smith"_s, u"Operator=-A+B"_s},
                                                {u"ID=ID 1\r"_s, u"ID==1+2\r"_s}});
    const QString csv = Path(u"out.csv"_s);
    const CliRun summary = RunCli({u"summary"_s, run, u"--csv"_s, csv});
    ASSERT_EQ(summary.status, 0) << summary.err.toStdString();
    const QByteArray bytes = ReadWholeFile(csv);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "a byte-order mark, as the text exports have";
    const QStringList lines = CsvLines(bytes.mid(3));
    ASSERT_EQ(lines.size(), 1 + 80);
    EXPECT_EQ(lines.at(0), u"file,run date,run number,kit batch,operator,run valid,subject ID,wells,ODs,"
                           u"concentration,result,flags"_s);

    const CliRun calc = RunCli({u"calc"_s, run, u"--json"_s});
    ASSERT_EQ(calc.status, 0) << calc.err.toStdString();
    const QJsonArray results = QJsonDocument::fromJson(calc.out).object().value(u"results"_s).toArray();
    ASSERT_EQ(results.size(), 80);
    const auto number = [](const QJsonValue &value) {
        return value.isDouble() ? QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest)
                                : QString();
    };
    const QString runCells = u"\""_s + QString(run).replace(u"\""_s, u"\"\""_s) +
                             u"\",2026-12-09,-5,\"'@K\"\"1\"\",2\",\"'-A+B\",valid,"_s;
    EXPECT_TRUE(lines.at(1).startsWith(runCells + u"\"'=1+2\",A3,0.171,"_s +
                                       number(results.at(0)[u"valueExact"_s]) + u','))
        << lines.at(1).toStdString();
    for (qsizetype i = 0; i < results.size(); ++i) {
        const QJsonObject result = results.at(i).toObject();
        const QStringList cells = CsvFields(lines.at(1 + i));
        ASSERT_EQ(cells.size(), 12) << lines.at(1 + i).toStdString();
        EXPECT_EQ(cells.mid(0, 6),
                  (QStringList{run, u"2026-12-09"_s, u"-5"_s, u"'@K\"1\",2"_s, u"'-A+B"_s, u"valid"_s}));
        EXPECT_EQ(cells.at(9), number(result[u"valueExact"_s])) << i;
        EXPECT_EQ(cells.at(10), result[u"result"_s].toString()) << i;
    }
}

// Every row is the run's details beside one object of calc --json's results, field for
// field; a summary with no row left is still a document of the schema.
TEST_F(CliTest, SummaryJson_ValidAgainstItsSchemaAndRowsAreCalcJsonResults)
{
    const QString nonNumerical = WriteExampleRunVariant(
        Path(u"x.vdf"_s), {{u"Point0=3|1|1|0.171"_s, u"Point0=3|1|1|x"_s}, {Numbered("1"), Numbered("2")}});
    const QString notARun = Write(u"not-a-run.vdf"_s, "plain text\n");
    const CliRun summary = RunCli({u"summary"_s, Example("run-8point.vdf"), nonNumerical, u"--json"_s});
    ASSERT_EQ(summary.status, 0) << summary.err.toStdString();
    const CliRun empty = RunCli({u"summary"_s, notARun, u"--json"_s});
    EXPECT_EQ(empty.status, 2);
    EXPECT_EQ(JsonRows(empty.out), QJsonArray());
    const auto [status, report] = ValidateJson(
        SummarySchema, {Write(u"summary.json"_s, summary.out), Write(u"empty.json"_s, empty.out)});
    EXPECT_EQ(status, 0) << report.toStdString();

    const QJsonArray rows = JsonRows(summary.out);
    ASSERT_EQ(rows.size(), 2 * 80);
    const auto calcJson = [](const QString &file) {
        return QJsonDocument::fromJson(RunCli({u"calc"_s, file, u"--json"_s}).out).object();
    };
    const QJsonArray first = calcJson(Example("run-8point.vdf")).value(u"results"_s).toArray();
    const QJsonObject calc = calcJson(nonNumerical);
    const QJsonArray second = calc.value(u"results"_s).toArray();
    ASSERT_EQ(first.size() + second.size(), rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QJsonObject row = rows.at(i).toObject();
        const bool firstRun = i < first.size();
        EXPECT_EQ(row.take(u"file"_s).toString(), firstRun ? Example("run-8point.vdf") : nonNumerical);
        EXPECT_EQ(row.take(u"runDate"_s).toString(), u"2026-12-09"_s);
        EXPECT_EQ(row.take(u"runNumber"_s).toString(), firstRun ? u"1"_s : u"2"_s);
        EXPECT_EQ(row.take(u"kitBatchNumber"_s).toString(), u"K0001"_s);
        EXPECT_EQ(row.take(u"operator"_s).toString(), u"A. Smith"_s);
        EXPECT_EQ(row.take(u"valid"_s), firstRun ? QJsonValue(true) : calc.value(u"valid"_s));
        EXPECT_EQ(row, (firstRun ? first.at(i) : second.at(i - first.size())).toObject()) << i;
    }
    const QJsonObject marked = rows.at(80).toObject();
    EXPECT_TRUE(marked[u"nonNumericalOd"_s].toBool());
    EXPECT_TRUE(marked[u"wells"_s][0][u"od"_s].isNull());
}

// The workbook holds the rows the JSON has: dates as dates, numbers as numbers, a
// formula-like ID as text; a summary without rows is still a workbook.
TEST_F(CliTest, SummaryWorkbook_ReadsBackAsTheJsonRows)
{
    const QString nonNumerical =
        WriteExampleRunVariant(Path(u"x.vdf"_s), {{u"Point0=3|1|1|0.171"_s, u"Point0=3|1|1|x"_s},
                                                  {Numbered("1"), Numbered("2")},
                                                  {u"ID=ID 1\r"_s, u"ID==1+2\r"_s}});
    const QStringList runs{nonNumerical, Example("run-8point.vdf")};
    const CliRun json = RunCli(QStringList{u"summary"_s} << runs << u"--json"_s);
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    const QString workbook = Path(u"summary.xlsx"_s);
    const CliRun xlsx = RunCli(QStringList{u"summary"_s} << runs << u"--xlsx"_s << workbook);
    ASSERT_EQ(xlsx.status, 0) << xlsx.err.toStdString();
    EXPECT_EQ(xlsx.out, QByteArray());

    const CliRun emptyJson = RunCli({u"summary"_s, Write(u"not-a-run.vdf"_s, "plain text\n"), u"--json"_s});
    const QString emptyWorkbook = Path(u"empty.xlsx"_s);
    const CliRun empty = RunCli({u"summary"_s, Path(u"not-a-run.vdf"_s), u"--xlsx"_s, emptyWorkbook});
    EXPECT_EQ(empty.status, 2);
    const auto [status, differences] =
        CompareWorkbooks(u"summary"_s, {Write(u"summary.json"_s, json.out), workbook,
                                        Write(u"empty.json"_s, emptyJson.out), emptyWorkbook});
    EXPECT_EQ(status, 0) << differences.toStdString();
}

TEST_F(CliTest, Summary_WrongUsageOrUnwritableOutput_Status2WithTheReason)
{
    const QString run = Example("run-8point.vdf");
    const struct
    {
        QStringList arguments;
        QString message;
    } cases[] = {
        {{u"summary"_s}, u"summary needs at least one run data file"_s},
        {{u"summary"_s, run, u"--json"_s, u"--csv"_s, u"-"_s},
         u"give only one of --json, --csv and --xlsx"_s},
        {{u"summary"_s, run, u"--csv"_s, u"-"_s, u"--xlsx"_s, Path(u"s.xlsx"_s)},
         u"give only one of --json, --csv and --xlsx"_s},
        {{u"summary"_s, run, u"--xlsx"_s, u"-"_s}, u"--xlsx needs a file name"_s},
        {{u"summary"_s, run, u"--xlsx"_s, run},
         u"\""_s + run + u"\": --xlsx names a run data file being read"_s},
        {{u"summary"_s, run, u"--xml"_s}, u"unknown option --xml for summary"_s},
        {{u"summary"_s, run, u"--csv"_s}, u"option --csv needs a value"_s},
        {{u"summary"_s, run, u"--csv"_s, run},
         u"\""_s + run + u"\": --csv names a run data file being read"_s},
        {{u"summary"_s, run, u"--csv"_s, Path(u"no/such/folder.csv"_s)},
         u"no/such/folder.csv\" cannot be written"_s},
        {{u"summary"_s, run, u"--xlsx"_s, Path(u"no/such/folder.xlsx"_s)},
         u"no/such/folder.xlsx\" cannot be written"_s},
    };
    for (const auto &c : cases) {
        const CliRun result = RunCli(c.arguments);
        EXPECT_EQ(result.status, 2) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.err.contains(c.message)) << result.err.toStdString();
        EXPECT_EQ(result.out, QByteArray());
    }
}
