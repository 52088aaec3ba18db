// The tool's files: what it refuses to read or to overwrite, how it reports that in one
// line, and how it writes (never a partial file, never a lost one).

#include "CliTestSupport.h"

#include "support/TestSupport.h"

#include "core/MarnovelUtils.h"
#include "core/UiTextManager.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <memory>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString UsageHint = u"velomyra-cli: try 'velomyra-cli --help'\n"_s;

QString Quoted(const QString &path)
{
    return u'"' + path + u'"';
}

// The example run file cut after `bytes` bytes, as an interrupted copy leaves it.
QByteArray TruncatedRun(qsizetype bytes)
{
    return ReadWholeFile(Example("run-8point.vdf")).left(bytes);
}

QByteArray PlateOfColumns(int columns)
{
    QStringList lines;
    for (const QString &line : DecodeText(ReadWholeFile(Example("plate-8point.txt"))).split(u"\r\n"_s)) {
        if (!line.isEmpty())
            lines << line.split(u'\t').mid(0, columns).join(u'\t');
    }
    return (lines.join(u"\r\n"_s) + u"\r\n"_s).toUtf8();
}

QStringList WithPlate(const QString &plate)
{
    QStringList arguments = PlateArguments();
    arguments[2] = plate;
    return arguments;
}

QByteArray Utf16File(const QString &text)
{
    QStringEncoder encoder(QStringConverter::Utf16LE);
    return QByteArray("\xFF\xFE", 2) + QByteArray(encoder(text));
}

// An example file with one edit, written into the test's folder under the same name.
QString EditedExample(CliTest &test, const char *name, const QString &from, const QString &to)
{
    QString text = DecodeText(ReadWholeFile(Example(name)));
    EXPECT_TRUE(text.contains(from)) << name;
    return test.Write(QString::fromUtf8(name), Utf16File(text.replace(from, to)));
}

// A 4-point run of `series` standard series down columns 1 to 11 and one sample in H12.
QString FourPointRun(CliTest &test, int series)
{
    QString text =
        u"[GeneralInfo]\r\nCurveType=0\r\nRunDateI18n=2026-12-09\r\nDataRows=9\r\nDataCols=13\r\n"
        u"DecimalSeperator=.\r\nStdConc=4.000|1.000|0.250|0.000\r\n\r\n"
        u"[Cell0]\r\nPoint0=12|8|1|0.5\r\nCriteriaType=90\r\nFixedID=1\r\nID=ID 1\r\nBlockType=0\r\n"_s;
    for (int n = 0; n < series; ++n) {
        text += u"[Cell%1]\r\n"_s.arg(n + 1);
        for (int i = 0; i < 4; ++i)
            text += u"Point%1=%2|%3|%4|0.5\r\n"_s.arg(i).arg(1 + n / 2).arg(1 + (n % 2) * 4 + i).arg(i + 1);
        text += u"ID=Std %1\r\nBlockType=1\r\n"_s.arg(n + 1);
    }
    return test.Write(u"run.vdf"_s, Utf16File(text));
}

QStringList FolderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// A refused command: its arguments, the one message expected on standard error (a usage
// error adds the hint to --help), and nothing written or changed in the test's folder.
struct Refusal
{
    QStringList arguments;
    QString message;
    bool usage = false;
};

struct RefusalCase
{
    const char *name;
    std::function<Refusal(CliTest &)> make;
};

class CliRefusalTest : public CliTest, public ::testing::WithParamInterface<RefusalCase>
{
};

} // namespace

TEST_P(CliRefusalTest, Calc_Refused_OneLineNamingTheFileAndNothingWritten)
{
    const Refusal refusal = GetParam().make(*this);
    QList<QByteArray> before;
    const QStringList entries = FolderEntries(folder.path());
    for (const QString &entry : entries)
        before << (QFileInfo(Path(entry)).isFile() ? ReadWholeFile(Path(entry)) : QByteArray());

    const CliRun run = RunCli(refusal.arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              u"velomyra-cli: "_s + refusal.message + u'\n' + (refusal.usage ? UsageHint : QString()));
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    ASSERT_EQ(FolderEntries(folder.path()), entries);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (QFileInfo(Path(entries.at(i))).isFile()) {
            EXPECT_EQ(ReadWholeFile(Path(entries.at(i))), before.at(i)) << entries.at(i).toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CliRefusalTest,
    ::testing::Values(
        // Inputs that are no run data file.
        RefusalCase{"RunFileIsAFolder",
                    [](CliTest &test) {
                        QDir(test.folder.path()).mkdir(u"run.vdf"_s);
                        return Refusal{{u"calc"_s, test.Path(u"run.vdf"_s)},
                                       Quoted(test.Path(u"run.vdf"_s)) +
                                           u": this is a folder, not a file."_s};
                    }},
        RefusalCase{"RunFileIsAPipe",
                    [](CliTest &test) {
                        mkfifo(QFile::encodeName(test.Path(u"run.vdf"_s)).constData(), 0600);
                        return Refusal{{u"calc"_s, test.Path(u"run.vdf"_s)},
                                       Quoted(test.Path(u"run.vdf"_s)) +
                                           u": this is not a regular file (a device, a pipe or a socket)."_s};
                    }},
        RefusalCase{"RunFileIsDevNull",
                    [](CliTest &) {
                        return Refusal{
                            {u"calc"_s, u"/dev/null"_s},
                            u"\"/dev/null\": this is not a regular file (a device, a pipe or a socket)."_s};
                    }},
        RefusalCase{"RunFileMissing",
                    [](CliTest &test) {
                        return Refusal{{u"calc"_s, test.Path(u"none.vdf"_s)},
                                       Quoted(test.Path(u"none.vdf"_s)) + u": the file does not exist."_s};
                    }},
        RefusalCase{"RunFileNameEmpty",
                    [](CliTest &) {
                        return Refusal{{u"calc"_s, QString()}, u"the run data file name is empty"_s, true};
                    }},
        RefusalCase{
            "RunFileIsAFormatFile",
            [](CliTest &) {
                return Refusal{
                    {u"calc"_s, Example("layout-8point.vff")},
                    Quoted(Example("layout-8point.vff")) +
                        u": The file is not a run data file: its header holds no run date (a format file?)."_s};
            }},
        RefusalCase{"RunFileEmpty",
                    [](CliTest &test) {
                        const QString path = test.Write(u"run.vdf"_s, QByteArray());
                        return Refusal{{u"calc"_s, path}, Quoted(path) + u": The file is empty."_s};
                    }},
        RefusalCase{
            "RunFileUtf16WithoutByteOrderMark",
            [](CliTest &test) {
                const QString path =
                    test.Write(u"run.vdf"_s, ReadWholeFile(Example("run-8point.vdf")).mid(2));
                return Refusal{
                    {u"calc"_s, path},
                    Quoted(path) +
                        u": The file is not a text file of this program (UTF-16 text needs its byte-order mark)."_s};
            }},
        RefusalCase{
            "RunFileTruncated",
            [](CliTest &test) {
                const QString path = test.Write(u"run.vdf"_s, TruncatedRun(3000));
                return Refusal{
                    {u"calc"_s, path},
                    Quoted(path) +
                        u": The run cannot be calculated yet: it needs at least two standard blocks and one sample block."_s};
            }},
        RefusalCase{
            "RunFileValueNotANumber",
            [](CliTest &test) {
                const QString path = test.Write(
                    u"run.vdf"_s, QByteArray("[GeneralInfo]\r\nRunDateI18n=2026-12-09\r\nDataRows=many\r\n"));
                return Refusal{
                    {u"calc"_s, path},
                    Quoted(path) +
                        u": 'many' is not a valid integer value (key DataRows of section [GeneralInfo])."_s};
            }},
        // Layouts the window forbids, and files that do not agree with themselves.
        RefusalCase{
            "RunFileWithTwoBlocksOnOneWell",
            [](CliTest &test) {
                const QString path =
                    EditedExample(test, "run-8point.vdf", u"Point0=3|1|1|"_s, u"Point0=1|1|1|"_s);
                return Refusal{
                    {u"calc"_s, path},
                    Quoted(path) +
                        u": The well A1 is claimed twice in the file; a well belongs to one block only."_s};
            }},
        RefusalCase{
            "FormatFileWithTwoBlocksOnOneWell",
            [](CliTest &test) {
                const QString path =
                    EditedExample(test, "layout-8point.vff", u"Point1=2|2|2|"_s, u"Point1=1|2|2|"_s);
                QStringList arguments = PlateArguments();
                arguments[4] = path;
                return Refusal{
                    arguments,
                    Quoted(path) +
                        u": The well B1 is claimed twice in the file; a well belongs to one block only."_s};
            }},
        RefusalCase{"RunFileTwentyTwoStandardSeries",
                    [](CliTest &test) {
                        const QString path = FourPointRun(test, 22);
                        return Refusal{
                            {u"calc"_s, path},
                            Quoted(path) +
                                u": 22 standard series are laid out; a calculation takes at most 21."_s};
                    }},
        RefusalCase{"RunFileFourPointCurveWithEightConcentrations",
                    [](CliTest &test) {
                        const QString path =
                            EditedExample(test, "run-8point.vdf", u"CurveType=1"_s, u"CurveType=0"_s);
                        return Refusal{{u"calc"_s, path},
                                       Quoted(path) +
                                           u": The file's curve type has 4 standards, but the file "
                                           u"gives 8 standard concentrations."_s};
                    }},
        RefusalCase{"RunFileConcentrationBelowSinglePrecision",
                    [](CliTest &test) {
                        const QString path =
                            EditedExample(test, "run-8point.vdf", u"StdConc=8.000"_s, u"StdConc=1e-46"_s);
                        return Refusal{{u"calc"_s, path},
                                       Quoted(path) + u": A standard concentration other than 0 must lie "
                                                      u"between 1.2e-38 and 3.4e+38."_s};
                    }},
        RefusalCase{"RunFileRunDateWithTrailingPart",
                    [](CliTest &test) {
                        const QString path =
                            EditedExample(test, "run-8point.vdf", u"RunDateI18n=2026-12-09"_s,
                                          u"RunDateI18n=2026-12-09-01"_s);
                        return Refusal{
                            {u"calc"_s, path},
                            Quoted(path) +
                                u": RunDateI18n '2026-12-09-01' is not a date written yyyy-mm-dd."_s};
                    }},
        RefusalCase{"RunFileUtf16WithNulAfterByteOrderMark",
                    [](CliTest &test) {
                        const QString path = EditedExample(test, "run-8point.vdf", u"A. Smith"_s,
                                                           u"A. Sm"_s + QChar(0) + u"ith"_s);
                        return Refusal{{u"calc"_s, path},
                                       Quoted(path) +
                                           u": The file holds a NUL character: it is not a text file "
                                           u"of this program."_s};
                    }},
        // Plates the main window refuses.
        RefusalCase{"PlateFileEmpty",
                    [](CliTest &test) {
                        const QString path = test.Write(u"plate.txt"_s, QByteArray());
                        return Refusal{WithPlate(path),
                                       Quoted(path) +
                                           u": The plate text holds no data: every well is empty."_s};
                    }},
        RefusalCase{"PlateNarrowerThanLayout",
                    [](CliTest &test) {
                        const QString path = test.Write(u"plate.txt"_s, PlateOfColumns(11));
                        return Refusal{WithPlate(path), Quoted(path) + u": "_s + UiText(182)};
                    }},
        RefusalCase{"PlateFileIsAFolder",
                    [](CliTest &test) {
                        return Refusal{WithPlate(test.folder.path()),
                                       Quoted(test.folder.path()) + u": this is a folder, not a file."_s};
                    }},
        // Outputs that would destroy an input or each other.
        RefusalCase{
            "ResultsExportOntoThePlate",
            [](CliTest &test) {
                const QString plate = test.Write(u"plate.txt"_s, ReadWholeFile(Example("plate-8point.txt")));
                return Refusal{
                    WithPlate(plate) << u"--results-export"_s << plate,
                    Quoted(plate) +
                        u": --results-export names the file given to --plate; an output must not overwrite an input."_s};
            }},
        RefusalCase{
            "SaveOntoTheFormatFile",
            [](CliTest &test) {
                const QString layout =
                    test.Write(u"layout.vff"_s, ReadWholeFile(Example("layout-8point.vff")));
                QStringList arguments = PlateArguments();
                arguments[4] = layout;
                const QString other = test.folder.path() + u"/./layout.vff"_s;
                return Refusal{
                    arguments << u"--save"_s << other,
                    Quoted(other) +
                        u": --save names the file given to --format; an output must not overwrite an input."_s};
            }},
        RefusalCase{
            "SaveOntoTheRunBeingReadThroughALink",
            [](CliTest &test) {
                const QString run = test.Write(u"run.vdf"_s, ReadWholeFile(Example("run-8point.vdf")));
                QFile::link(run, test.Path(u"link.vdf"_s));
                return Refusal{
                    {u"calc"_s, test.Path(u"link.vdf"_s), u"--save"_s, run},
                    Quoted(run) +
                        u": --save names the run data file being read; an output must not overwrite an input."_s};
            }},
        RefusalCase{"WorkbookOntoTheRunBeingRead",
                    [](CliTest &test) {
                        const QString run =
                            test.Write(u"run.vdf"_s, ReadWholeFile(Example("run-8point.vdf")));
                        return Refusal{{u"calc"_s, run, u"--xlsx"_s, run},
                                       Quoted(run) +
                                           u": --xlsx names the run data file being read; an output "
                                           u"must not overwrite an input."_s};
                    }},
        RefusalCase{"WorkbookToStandardOutput",
                    [](CliTest &) {
                        return Refusal{{u"calc"_s, Example("run-8point.vdf"), u"--xlsx"_s, u"-"_s},
                                       u"--xlsx needs a file name"_s,
                                       true};
                    }},
        RefusalCase{"SaveAndResultsExportOntoOneFile",
                    [](CliTest &test) {
                        return Refusal{{u"calc"_s, Example("run-8point.vdf"), u"--save"_s, test.Path(u"x"_s),
                                        u"--results-export"_s, test.folder.path() + u"/sub/../x"_s},
                                       Quoted(test.Path(u"x"_s)) +
                                           u": --save and --results-export name the same file."_s};
                    }},
        RefusalCase{"OutputFolderMissing",
                    [](CliTest &test) {
                        const QString path = test.Path(u"no/run.vdf"_s);
                        return Refusal{{u"calc"_s, Example("run-8point.vdf"), u"--save"_s, path},
                                       u"The file "_s + Quoted(path) +
                                           u" cannot be written: the folder does not exist."_s};
                    }},
        // Replacing the loop's link would break it and save nothing anyone can open.
        RefusalCase{
            "SaveOntoALoopOfLinks",
            [](CliTest &test) {
                QFile::link(test.Path(u"a.vdf"_s), test.Path(u"b.vdf"_s));
                QFile::link(test.Path(u"b.vdf"_s), test.Path(u"a.vdf"_s));
                return Refusal{
                    {u"calc"_s, Example("run-8point.vdf"), u"--save"_s, test.Path(u"a.vdf"_s)},
                    u"The file "_s + Quoted(test.Path(u"a.vdf"_s)) +
                        u" cannot be written: the name is a symbolic link that leads round in a loop."_s};
            }},
        // Usage errors: one message, one hint to --help.
        RefusalCase{"NoArguments",
                    [](CliTest &) {
                        return Refusal{{}, u"no command given"_s, true};
                    }},
        RefusalCase{"UnknownCommand",
                    [](CliTest &) {
                        return Refusal{{u"run"_s}, u"unknown command \"run\""_s, true};
                    }},
        RefusalCase{"OptionValueIsAnOption",
                    [](CliTest &) {
                        QStringList arguments = PlateArguments();
                        arguments.removeLast(); // the operator's name
                        return Refusal{arguments << u"--json"_s,
                                       u"option --operator needs a value, not the option \"--json\""_s, true};
                    }},
        RefusalCase{"LanguageUnknown",
                    [](CliTest &) {
                        return Refusal{
                            {u"calc"_s, Example("run-8point.vdf"), u"--language"_s, u"english"_s},
                            u"--language must be one of en, de, fr, es, it, el, pt, pl, not \"english\""_s,
                            true};
                    }},
        RefusalCase{"SummaryLanguageInCapitals",
                    [](CliTest &) {
                        return Refusal{
                            {u"summary"_s, Example("run-8point.vdf"), u"--language=DE"_s},
                            u"--language must be one of en, de, fr, es, it, el, pt, pl, not \"DE\""_s,
                            true};
                    }},
        RefusalCase{
            "StdConcAboveSinglePrecision",
            [](CliTest &) {
                return Refusal{
                    PlateArguments() << u"--std-conc"_s << u"1e39,4,2,1,0.5,0.25,0.125"_s,
                    u"--std-conc: \"1e39\" is out of range; a concentration other than 0 lies between 1.2e-38 and 3.4e+38"_s,
                    true};
            }},
        RefusalCase{
            "StdConcBelowSinglePrecision",
            [](CliTest &) {
                return Refusal{
                    PlateArguments() << u"--std-conc"_s << u"8,4,2,1,0.5,0.25,1e-50"_s,
                    u"--std-conc: \"1e-50\" is out of range; a concentration other than 0 lies between 1.2e-38 and 3.4e+38"_s,
                    true};
            }}),
    [](const ::testing::TestParamInfo<RefusalCase> &info) { return std::string(info.param.name); });

// A full disk, provoked with a file size limit on the tool: the exports fit, the run file
// does not. Nothing is replaced, no temporary file remains, and the system says why.
TEST_F(CliTest, CalcSave_FileSizeLimitReached_NoTargetChangedAndReasonGiven)
{
    const QString results = Write(u"results.txt"_s, "keep me");
    const QString saved = Write(u"run.vdf"_s, "keep me too");
    const CliRun run =
        RunCli({u"calc"_s, Example("run-8point.vdf"), u"--results-export"_s, results, u"--save"_s, saved},
               [](QProcess &process) {
                   process.setChildProcessModifier([] {
                       signal(SIGXFSZ, SIG_IGN);
                       const rlimit limit{8192, 8192};
                       setrlimit(RLIMIT_FSIZE, &limit);
                   });
               });
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, u"velomyra-cli: The file "_s + Quoted(saved) +
                           u" cannot be written: the file is too large.\n"_s);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(ReadWholeFile(results), QByteArray("keep me"));
    EXPECT_EQ(ReadWholeFile(saved), QByteArray("keep me too"));
    EXPECT_EQ(FolderEntries(folder.path()), QStringList({u"results.txt"_s, u"run.vdf"_s}));
}

TEST_F(CliTest, Calc_StandardOutputFull_ExitsTwoWithReason)
{
    if (!QFileInfo::exists(u"/dev/full"_s))
        GTEST_SKIP() << "no /dev/full here";
    for (const QStringList &arguments :
         {QStringList{u"calc"_s, Example("run-8point.vdf"), u"--json"_s}, QStringList{u"--help"_s}}) {
        const CliRun run =
            RunCli(arguments, [](QProcess &process) { process.setStandardOutputFile(u"/dev/full"_s); });
        EXPECT_EQ(run.status, 2) << arguments.join(u' ').toStdString();
        EXPECT_EQ(run.err, u"velomyra-cli: Standard output cannot be written: the disk is full.\n"_s);
    }
}

namespace {

// Outputs of one command in a folder of the test, each holding an old content first.
struct TOutputs
{
    explicit TOutputs(CliTest &test)
        : save(test.Write(u"x.vdf"_s, "old run")), results(test.Write(u"a.txt"_s, "old results")),
          data(test.Write(u"b.txt"_s, "old data"))
    {
    }
    QStringList Arguments(bool json) const
    {
        QStringList arguments{u"calc"_s, Example("run-8point.vdf"), u"--save"_s, save, u"--results-export"_s,
                              results,   u"--data-export"_s,        data};
        if (json)
            arguments << u"--json"_s;
        return arguments;
    }
    QList<bool> Replaced() const
    {
        return {ReadWholeFile(save) != "old run", ReadWholeFile(results) != "old results",
                ReadWholeFile(data) != "old data"};
    }
    QString save, results, data;
};

} // namespace

// Standard output is part of what the command writes: when it cannot be written, no file
// is replaced either.
TEST_F(CliTest, CalcOutputs_StandardOutputFull_NoFileReplaced)
{
    if (!QFileInfo::exists(u"/dev/full"_s))
        GTEST_SKIP() << "no /dev/full here";
    const TOutputs outputs(*this);
    const CliRun run = RunCli(outputs.Arguments(true),
                              [](QProcess &process) { process.setStandardOutputFile(u"/dev/full"_s); });
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, u"velomyra-cli: Standard output cannot be written: the disk is full.\n"_s);
    EXPECT_EQ(outputs.Replaced(), QList<bool>({false, false, false}));
    EXPECT_EQ(FolderEntries(folder.path()), QStringList({u"a.txt"_s, u"b.txt"_s, u"x.vdf"_s}));
}

// A failure that shows only when a file is synced or renamed (fsync and rename fail in a
// build of the tool). The run file is renamed first, so that a file that cannot be replaced
// there changes no other file; a later failure names what was already written. Standard
// output (the summary or the JSON) has been written by then.
TEST_F(CliTest, CalcOutputs_SyncOrRenameFails_NamesTheFileAndWhatWasWritten)
{
    const struct
    {
        const char *variable;
        const char *value;
        bool json;
        const char *failed; // the file named in the message
        int error;
        const char *written; // the second line, if any
        QList<bool> replaced;
    } cases[] = {
        {"VELOMYRA_FAIL_FSYNC", "1", true, "x.vdf", EIO, nullptr, {false, false, false}},
        {"VELOMYRA_FAIL_RENAME",
         "x.vdf",
         false,
         "x.vdf",
         EPERM,
         "written before this failure: standard output; every other output was left as it was.",
         {false, false, false}},
        {"VELOMYRA_FAIL_RENAME",
         "a.txt",
         true,
         "a.txt",
         EPERM,
         "written before this failure: standard output, \"%1/x.vdf\"; every other output was left as it was.",
         {true, false, false}},
        {"VELOMYRA_FAIL_RENAME",
         "b.txt",
         false,
         "b.txt",
         EPERM,
         "written before this failure: standard output, \"%1/x.vdf\", \"%1/a.txt\"; every other output was "
         "left as it was.",
         {true, true, false}},
    };
    for (const auto &c : cases) {
        const TOutputs outputs(*this);
        const CliRun run = RunCli(
            outputs.Arguments(c.json),
            [&c](QProcess &process) {
                QProcessEnvironment environment = process.processEnvironment();
                environment.insert(QString::fromUtf8(c.variable), QString::fromUtf8(c.value));
                process.setProcessEnvironment(environment);
            },
            QStringLiteral(VELOMYRA_CLI_FAULTS_PATH));
        const QString reason = c.error == EIO ? u"input/output error"_s : u"access is denied"_s;
        QString expected = u"velomyra-cli: The file "_s + Quoted(Path(QString::fromUtf8(c.failed))) +
                           u" cannot be written: "_s + reason + u".\n"_s;
        if (c.written)
            expected += u"velomyra-cli: "_s + QString::fromUtf8(c.written).arg(folder.path()) + u'\n';
        EXPECT_EQ(run.status, 2) << c.value;
        EXPECT_EQ(run.err.toStdString(), expected.toStdString());
        EXPECT_EQ(run.out.isEmpty(), c.written == nullptr) << c.value;
        EXPECT_EQ(outputs.Replaced(), c.replaced) << c.value;
        EXPECT_EQ(FolderEntries(folder.path()), QStringList({u"a.txt"_s, u"b.txt"_s, u"x.vdf"_s})) << c.value;
    }
}

// Saves of one file at once, as a script run in parallel makes them: each leaves the
// others' temporary files alone, every one succeeds, and one complete file remains.
TEST_F(CliTest, CalcSave_ManyAtOnceOntoOneFile_EverySaveSucceedsAndOneCompleteFileRemains)
{
    const CliRun reference =
        RunCli({u"calc"_s, Example("run-8point.vdf"), u"--save"_s, Path(u"reference.vdf"_s)});
    ASSERT_EQ(reference.status, 0) << reference.err.toStdString();
    const QString target = Path(u"same.vdf"_s);
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < 24; ++i) {
        processes.push_back(std::make_unique<QProcess>());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"LC_ALL"_s, u"C"_s);
        processes.back()->setProcessEnvironment(environment);
        processes.back()->start(QStringLiteral(VELOMYRA_CLI_PATH),
                                {u"calc"_s, Example("run-8point.vdf"), u"--save"_s, target});
    }
    for (const std::unique_ptr<QProcess> &process : processes) {
        ASSERT_TRUE(process->waitForFinished(120000));
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
    }
    EXPECT_EQ(ReadWholeFile(target), ReadWholeFile(Path(u"reference.vdf"_s)));
    EXPECT_EQ(FolderEntries(folder.path()), QStringList({u"reference.vdf"_s, u"same.vdf"_s}));
}

// A reader that has gone (a pipe closed before the tool writes) is a write error like a
// full disk, not a death by SIGPIPE.
TEST_F(CliTest, Calc_StandardOutputPipeClosed_ExitsTwoWithReason)
{
    for (const QStringList &arguments :
         {QStringList{u"calc"_s, Example("run-8point.vdf"), u"--json"_s}, QStringList{u"--help"_s}}) {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        ::close(ends[0]); // nobody will read
        const int writeEnd = ends[1];
        const CliRun run = RunCli(arguments, [writeEnd](QProcess &process) {
            process.setChildProcessModifier([writeEnd] {
                // The default disposition, whatever this test process does with SIGPIPE.
                std::signal(SIGPIPE, SIG_DFL);
                ::dup2(writeEnd, STDOUT_FILENO);
            });
        });
        ::close(writeEnd);
        EXPECT_EQ(run.status, 2) << arguments.join(u' ').toStdString();
        EXPECT_EQ(run.err, u"velomyra-cli: Standard output cannot be written: broken pipe.\n"_s);
    }
}

// "--" ends the options: a run data file whose name starts with "--" can be given.
TEST_F(CliTest, Calc_DoubleDash_NextArgumentIsTheRunFile)
{
    Write(u"--run.vdf"_s, ReadWholeFile(Example("run-8point.vdf")));
    const CliRun plain = RunCli({u"calc"_s, Example("run-8point.vdf"), u"--json"_s});
    const CliRun dashed = RunCli({u"calc"_s, u"--json"_s, u"--"_s, u"--run.vdf"_s},
                                 [this](QProcess &process) { process.setWorkingDirectory(folder.path()); });
    ASSERT_EQ(dashed.status, 0) << dashed.err.toStdString();
    EXPECT_EQ(dashed.out, plain.out);
}

// Empty run details leave no padding behind in the summary.
TEST_F(CliTest, CalcSummary_EmptyRunDetails_NoLineEndsInBlanks)
{
    const QStringList arguments{u"calc"_s, u"--plate"_s, Example("plate-8point.txt"), u"--format"_s,
                                Example("layout-8point.vff")};
    const CliRun run = RunCli(arguments);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList lines = QString::fromUtf8(run.out).split(u'\n');
    EXPECT_GT(lines.size(), 80);
    for (const QString &line : lines)
        EXPECT_FALSE(line.endsWith(u' ')) << '"' << line.toStdString() << '"';
}

// The README states the exit statuses with the very words of --help.
TEST_F(CliTest, Help_ExitStatusSection_SameInTheReadme)
{
    const CliRun help = RunCli({u"--help"_s});
    const QString text = QString::fromUtf8(help.out);
    const qsizetype start = text.indexOf(u"Exit status:"_s);
    ASSERT_GE(start, 0) << text.toStdString();
    const QString section = text.mid(start);
    EXPECT_GT(section.count(u'\n'), 2);
    const QString readme = DecodeText(ReadWholeFile(QStringLiteral(VELOMYRA_SOURCE_DIR "/README.md")));
    EXPECT_TRUE(readme.contains(section)) << section.toStdString();
}

// The example notes name the wells the layout file gives IDs 1 and 80.
TEST_F(CliTest, ExamplesReadme_NamesTheWellsOfTheLayout)
{
    const QString notes = DecodeText(ReadWholeFile(Example("README.md")));
    const QString layout = DecodeText(ReadWholeFile(Example("layout-8point.vff")));
    for (const int id : {1, 80}) {
        const QRegularExpressionMatch noted =
            QRegularExpression(u"ID %1 = ([A-H])(\\d+)"_s.arg(id)).match(notes);
        ASSERT_TRUE(noted.hasMatch()) << id;
        const QRegularExpressionMatch laid =
            QRegularExpression(
                u"Point0=(\\d+)\\|(\\d+)\\|1\\|\\r\\nCriteriaType=90\\r\\nFixedID=\\d+\\r\\nID=ID %1\\r\\n"_s
                    .arg(id))
                .match(layout);
        ASSERT_TRUE(laid.hasMatch()) << id;
        EXPECT_EQ(noted.captured(2), laid.captured(1)) << id;
        EXPECT_EQ(noted.captured(1).at(0).unicode() - u'A' + 1, laid.captured(2).toInt()) << id;
    }
}
