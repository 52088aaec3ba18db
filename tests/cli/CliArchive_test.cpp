// The archive commands as a laboratory uses them: runs recorded once, re-recorded with their
// history kept, listed, checked against their files and followed as trends.
#include "CliTestSupport.h"

#include "core/MarnovelUtils.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class CliArchiveTest : public CliTest
{
public:
    QString Archive() const { return Path(u"a.sqlite"_s); }
    CliRun Run(const QString &command, const QStringList &arguments) const
    {
        return RunCli(QStringList{u"archive"_s, command, u"--archive"_s, Archive()} << arguments);
    }
    // The example run with other bytes: the same run, a line break more at the end.
    QString ChangedCopy() const
    {
        return Write(u"changed.vdf"_s, ReadWholeFile(Example("run-8point.vdf")) + "\r\n");
    }
    // Another run of the example plate, saved as a run file and not recorded.
    QString OtherRun() const
    {
        QStringList arguments = PlateArguments();
        arguments[arguments.indexOf(u"--run-number"_s) + 1] = u"2"_s;
        const CliRun run = RunCli(arguments << u"--save"_s << Path(u"other.vdf"_s));
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        return Path(u"other.vdf"_s);
    }
};

QStringList Lines(const QByteArray &out)
{
    return QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

TEST_F(CliArchiveTest, Add_RecordsThenUnchangedThenReplaced_ListShowsHistory)
{
    const QString example = Example("run-8point.vdf");
    const QString changed = ChangedCopy();
    const struct
    {
        QString file;
        QString outcome;
    } steps[] = {{example, u"recorded"_s}, {example, u"unchanged"_s}, {changed, u"replaced"_s}};
    for (const auto &step : steps) {
        const CliRun run = Run(u"add"_s, {step.file});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(QString::fromUtf8(run.out), u"\"%1\": %2\n"_s.arg(step.file, step.outcome));
    }

    const CliRun list = Run(u"list"_s, {});
    ASSERT_EQ(list.status, 0) << list.err.toStdString();
    const QStringList current = Lines(list.out);
    ASSERT_EQ(current.size(), 1) << list.out.toStdString();
    EXPECT_TRUE(current.first().startsWith(u"2026-12-09  1  K0001  A. Smith  8-point  valid  "_s))
        << current.first().toStdString();
    EXPECT_FALSE(current.first().contains(u"replaced"_s));

    const QStringList history = Lines(Run(u"list"_s, {u"--history"_s}).out);
    ASSERT_EQ(history.size(), 2);
    EXPECT_TRUE(history.at(0).endsWith(u"  replaced"_s)) << history.at(0).toStdString();
    EXPECT_FALSE(history.at(1).contains(u"replaced"_s));

    const CliRun json = Run(u"list"_s, {u"--history"_s, u"--json"_s});
    ASSERT_EQ(json.status, 0);
    const QJsonArray records = QJsonDocument::fromJson(json.out).array();
    ASSERT_EQ(records.size(), 2) << json.out.toStdString();
    for (int i = 0; i < 2; ++i) {
        const QJsonObject record = records.at(i).toObject();
        EXPECT_EQ(record.value(u"runDate"_s).toString(), u"2026-12-09"_s);
        EXPECT_EQ(record.value(u"runNumber"_s).toString(), u"1"_s);
        EXPECT_EQ(record.value(u"kitBatch"_s).toString(), u"K0001"_s);
        EXPECT_EQ(record.value(u"operator"_s).toString(), u"A. Smith"_s);
        EXPECT_EQ(record.value(u"curveType"_s).toInt(), 8);
        EXPECT_TRUE(record.value(u"valid"_s).toBool());
        EXPECT_TRUE(QDateTime::fromString(record.value(u"recordedAt"_s).toString(), Qt::ISODate).isValid());
        EXPECT_EQ(record.value(u"replaced"_s).toBool(), i == 0);
    }
}

TEST_F(CliArchiveTest, Verify_EachFileAgainstItsRecord)
{
    ASSERT_EQ(Run(u"add"_s, {Example("run-8point.vdf")}).status, 0);
    const QString unchanged = Example("run-8point.vdf");
    const QString changed = ChangedCopy();
    const QString other = OtherRun();
    const struct
    {
        QStringList files;
        int status;
        QStringList lines;
    } cases[] = {
        {{unchanged}, 0, {u"\"%1\": recorded and unchanged"_s.arg(unchanged)}},
        {{changed}, 1, {u"\"%1\": changed since it was recorded"_s.arg(changed)}},
        {{other}, 1, {u"\"%1\": not recorded"_s.arg(other)}},
        {{unchanged, other},
         1,
         {u"\"%1\": recorded and unchanged"_s.arg(unchanged), u"\"%1\": not recorded"_s.arg(other)}},
    };
    for (const auto &c : cases) {
        const CliRun run = Run(u"verify"_s, c.files);
        EXPECT_EQ(run.status, c.status) << c.files.join(u' ').toStdString() << run.err.toStdString();
        EXPECT_EQ(Lines(run.out), c.lines);
    }
}

TEST_F(CliArchiveTest, Trends_RecordedRuns_JsonMatchesTheSchemaAndTextNamesTheBaseline)
{
    // Runs that differ in their concentrations, so that the curve has a spread.
    const QStringList scales{u"1"_s, u"1.1"_s, u"1.2"_s, u"0.9"_s};
    for (int i = 0; i < scales.size(); ++i) {
        QStringList conc;
        for (const double c : {8.0, 4.0, 2.0, 1.0, 0.5, 0.25, 0.125})
            conc << QString::number(c * scales.at(i).toDouble(), 'g', 6);
        QStringList arguments = PlateArguments();
        arguments[arguments.indexOf(u"--run-number"_s) + 1] = QString::number(i + 1);
        const CliRun run = RunCli(arguments << u"--std-conc"_s << conc.join(u',') << u"--record"_s
                                            << u"--archive"_s << Archive());
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
    }

    const CliRun json = Run(u"trends"_s, {u"--json"_s, u"--baseline"_s, u"3"_s});
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    const QString document = Write(u"trends.json"_s, json.out);
    const auto [status, report] =
        ValidateJson(QStringLiteral(VELOMYRA_SOURCE_DIR "/cli/velomyra-cli-trends.schema.json"), {document});
    EXPECT_EQ(status, 0) << report.toStdString();
    const QJsonObject root = QJsonDocument::fromJson(json.out).object();
    EXPECT_EQ(root.value(u"curveType"_s).toInt(), 8);
    const QJsonArray metrics = root.value(u"metrics"_s).toArray();
    ASSERT_EQ(metrics.size(), 5);
    const QJsonObject slope = metrics.at(2).toObject();
    EXPECT_EQ(slope.value(u"metric"_s).toString(), u"slope"_s);
    EXPECT_EQ(slope.value(u"baseline"_s).toObject().value(u"runs"_s).toInt(), 3);
    const QJsonArray points = slope.value(u"points"_s).toArray();
    ASSERT_EQ(points.size(), 4);
    EXPECT_EQ(points.at(3).toObject().value(u"runNumber"_s).toString(), u"4"_s);
    EXPECT_TRUE(points.at(3).toObject().value(u"z"_s).isDouble());
    // The plate is the same every time: the top standard's OD has no spread (or, where the
    // plate's numbers are not the regional ones, no value), and the baseline says why.
    const QJsonObject topBaseline = metrics.at(0).toObject().value(u"baseline"_s).toObject();
    EXPECT_FALSE(topBaseline.value(u"code"_s).toString().isEmpty());
    EXPECT_FALSE(topBaseline.contains(u"mean"_s));

    const CliRun text = Run(u"trends"_s, {u"--metric"_s, u"slope"_s, u"--from"_s, u"2026-12-01"_s});
    ASSERT_EQ(text.status, 0) << text.err.toStdString();
    const QStringList lines = Lines(text.out);
    ASSERT_EQ(lines.size(), 3 + 4) << text.out.toStdString();
    EXPECT_EQ(lines.at(0), u"slope (8-point curve, 4 runs)"_s);
    EXPECT_TRUE(lines.at(1).startsWith(u"baseline: 4 runs, mean "_s)) << lines.at(1).toStdString();
    EXPECT_TRUE(lines.at(6).startsWith(u"2026-12-09  4  "_s)) << lines.at(6).toStdString();

    // A selection without runs says so and prints nothing.
    const CliRun none = Run(u"trends"_s, {u"--kit-batch"_s, u"K9999"_s});
    EXPECT_EQ(none.status, 0);
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_TRUE(none.err.contains(u"no recorded run matches"_s)) << none.err.toStdString();
}

TEST_F(CliArchiveTest, RefusedFilesAndUnusableArchive_GiveTheirStatus)
{
    const QString junk = Write(u"junk.vdf"_s, "not a run\r\n");
    const CliRun refused = Run(u"add"_s, {Example("run-8point.vdf"), junk});
    EXPECT_EQ(refused.status, 2);
    const QStringList lines = Lines(refused.out);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.at(0), u"\"%1\": recorded"_s.arg(Example("run-8point.vdf")));
    EXPECT_TRUE(lines.at(1).startsWith(u"\"%1\": not recorded: "_s.arg(junk))) << lines.at(1).toStdString();

    // A folder below a plain file can never be created.
    const QString unusable = junk + u"/a.sqlite"_s;
    for (const QString &command : {u"add"_s, u"list"_s, u"trends"_s, u"verify"_s}) {
        QStringList arguments{u"archive"_s, command, u"--archive"_s, unusable};
        if (command == u"add" || command == u"verify")
            arguments << Example("run-8point.vdf");
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.status, 2) << command.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << command.toStdString();
        EXPECT_TRUE(run.err.contains(unusable)) << run.err.toStdString();
    }
}

TEST_F(CliArchiveTest, CalcRecord_OutputUnchangedAndRunRecorded_FailureKeepsTheOutput)
{
    const QString example = Example("run-8point.vdf");
    const CliRun plain = RunCli({u"calc"_s, example});
    const CliRun recorded = RunCli({u"calc"_s, example, u"--record"_s, u"--archive"_s, Archive()});
    ASSERT_EQ(recorded.status, 0) << recorded.err.toStdString();
    EXPECT_EQ(recorded.out, plain.out);
    EXPECT_EQ(Lines(Run(u"verify"_s, {example}).out),
              QStringList{u"\"%1\": recorded and unchanged"_s.arg(example)});

    const QString unusable = Write(u"file"_s, "x") + u"/a.sqlite"_s;
    const CliRun failed = RunCli({u"calc"_s, example, u"--record"_s, u"--archive"_s, unusable});
    EXPECT_EQ(failed.status, 2);
    EXPECT_EQ(failed.out, plain.out);
    EXPECT_TRUE(failed.err.contains(u"not recorded"_s)) << failed.err.toStdString();
    EXPECT_TRUE(failed.err.contains(unusable)) << failed.err.toStdString();
}

TEST_F(CliArchiveTest, BadArguments_AreUsageErrors)
{
    const QList<QStringList> cases{
        {u"archive"_s},
        {u"archive"_s, u"remove"_s},
        {u"archive"_s, u"add"_s},
        {u"archive"_s, u"verify"_s, u"--history"_s, u"x.vdf"_s},
        {u"archive"_s, u"list"_s, u"x.vdf"_s},
        {u"archive"_s, u"trends"_s, u"--metric"_s, u"height"_s},
        {u"archive"_s, u"trends"_s, u"--baseline"_s, u"1"_s},
        {u"archive"_s, u"trends"_s, u"--baseline"_s, u"many"_s},
        {u"archive"_s, u"trends"_s, u"--from"_s, u"2026-13-01"_s},
        {u"archive"_s, u"trends"_s, u"--from"_s, u"2026-12-09"_s, u"--to"_s, u"2026-12-01"_s},
        {u"archive"_s, u"trends"_s, u"--archive"_s},
        {u"calc"_s, Example("run-8point.vdf"), u"--archive"_s, u"a.sqlite"_s},
    };
    for (const QStringList &arguments : cases) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << arguments.join(u' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << arguments.join(u' ').toStdString();
    }
    const CliRun help = RunCli({u"--help"_s});
    for (const char *text : {"archive add", "archive list", "archive trends", "archive verify", "--record",
                             "--baseline N", "--valid-only"})
        EXPECT_TRUE(help.out.contains(text)) << text;
}
