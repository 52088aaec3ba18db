// The built program started as a person or a script starts it: its own command line, with and
// without a display, and what a window manager is told about its main window.
#include "CommandLine.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct ProgramRun
{
    int status = -1; // -1: ended by a signal
    QString out;
    QString err;
};

// The test's home and settings store, and nothing that names a display or a platform.
QProcessEnvironment CleanEnvironment()
{
    const QProcessEnvironment inherited = QProcessEnvironment::systemEnvironment();
    QProcessEnvironment environment;
    for (const QString &name : {u"HOME"_s, u"XDG_CONFIG_HOME"_s, u"XDG_DATA_HOME"_s, u"XDG_CACHE_HOME"_s,
                                u"XDG_DOCUMENTS_DIR"_s, u"PATH"_s})
        environment.insert(name, inherited.value(name));
    environment.insert(u"LC_ALL"_s, u"C"_s);
    return environment;
}

ProgramRun RunProgram(const QStringList &arguments, const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VELOMYRA_PROGRAM_PATH), arguments);
    const bool finished = process.waitForFinished(60000);
    EXPECT_TRUE(finished) << arguments.join(u' ').toStdString();
    if (!finished)
        process.kill();
    ProgramRun run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString Example(const char *name)
{
    return QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/") + QString::fromUtf8(name);
}

TEST(Program, HelpAndVersion_WithoutADisplay_PrintedAndExitZero)
{
    const struct
    {
        QStringList arguments;
        const char *expected; // in standard output
    } cases[] = {
        {{u"--help"_s}, "WriteControlsToFile=FILE"},
        {{u"-h"_s}, "velomyra report RUN.vdf --pdf FILE"},
        {{Example("run-8point.vdf"), u"--help"_s}, "RUN.vdf"},
        {{u"--version"_s}, "velomyra 5.3.0 Build 08\n"},
        {{u"report"_s, u"--help"_s}, "--individual DIR"},
    };
    for (const auto &c : cases) {
        const ProgramRun run = RunProgram(c.arguments, CleanEnvironment());
        const std::string label = c.arguments.join(u' ').toStdString();
        EXPECT_EQ(run.status, 0) << label << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(c.expected))) << label << run.out.toStdString();
        // The report command starts the toolkit first, which may remark on the environment.
        if (c.arguments.first() != u"report") {
            EXPECT_EQ(run.err.toStdString(), "") << label;
        }
    }
    EXPECT_EQ(RunProgram({u"--version"_s}, CleanEnvironment()).out.toStdString(),
              "velomyra 5.3.0 Build 08\n");
}

// Without a display the window cannot come up: one line that says so and names the tools
// that need none, instead of the toolkit's abort.
TEST(Program, WindowWithoutADisplay_OneLineAndExitTwo)
{
    QProcessEnvironment deadDisplay = CleanEnvironment();
    deadDisplay.insert(u"DISPLAY"_s, u":4077"_s); // no server answers there
    QProcessEnvironment xcbAsked = CleanEnvironment();
    xcbAsked.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    const struct
    {
        const char *name;
        QStringList arguments;
        QProcessEnvironment environment;
    } cases[] = {
        {"no display", {}, CleanEnvironment()},
        {"no display, a run file", {Example("run-8point.vdf")}, CleanEnvironment()},
        {"a display nobody answers", {}, deadDisplay},
        {"the X platform asked for, no display", {}, xcbAsked},
    };
    const QString expected = u"velomyra: "_s + NeedsDisplayText() + u'\n';
    EXPECT_TRUE(expected.contains(u"velomyra-cli"_s) && expected.contains(u"velomyra report"_s));
    for (const auto &c : cases) {
        const ProgramRun run = RunProgram(c.arguments, c.environment);
        EXPECT_EQ(run.status, ExitNoDisplay) << c.name;
        EXPECT_EQ(run.err.toStdString(), expected.toStdString()) << c.name;
        EXPECT_EQ(run.out.toStdString(), "") << c.name;
    }
}

TEST(Program, ReportWithoutADisplay_Written)
{
    QTemporaryDir folder;
    const QString pdf = folder.filePath(u"grouped.pdf"_s);
    const ProgramRun run =
        RunProgram({u"report"_s, Example("run-8point.vdf"), u"--pdf"_s, pdf}, CleanEnvironment());
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_GT(QFileInfo(pdf).size(), 0);
}

// ---- under a private X server -------------------------------------------------------------

QString Tool(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}

QString RunTool(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(Tool(tool), arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// What the window manager reads from the main window: its caption as the program sets it,
// nothing appended, and the program's icon.
TEST(Program, UnderX_MainWindowCaptionExactAndIconSet)
{
    for (const QString &tool : {u"Xvfb"_s, u"xwininfo"_s, u"xprop"_s}) {
        if (Tool(tool).isEmpty())
            GTEST_SKIP() << tool.toStdString() << " is not installed (scripts/ensure-deps.sh installs it)";
    }
    QProcess server;
    // The server picks a free display and writes its number on standard output when ready.
    server.start(Tool(u"Xvfb"_s), {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1280x1024x24"_s,
                                   u"-nolisten"_s, u"tcp"_s});
    ASSERT_TRUE(server.waitForReadyRead(20000)) << "Xvfb did not start";
    const QString display = u":"_s + QString::fromUtf8(server.readAllStandardOutput()).trimmed();

    QProcessEnvironment environment = CleanEnvironment();
    environment.insert(u"DISPLAY"_s, display);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VELOMYRA_PROGRAM_PATH), QStringList());

    const QString caption = u"Velomyra R&D (Version 5.3.0)"_s;
    QString window;
    for (int attempt = 0; attempt < 100 && window.isEmpty(); ++attempt) {
        QThread::msleep(200);
        const QString tree = RunTool(u"xwininfo"_s, {u"-display"_s, display, u"-root"_s, u"-tree"_s});
        const QRegularExpressionMatch match =
            QRegularExpression(u"^\\s*(0x[0-9a-f]+) \"Velomyra R&D"_s, QRegularExpression::MultilineOption)
                .match(tree);
        if (match.hasMatch())
            window = match.captured(1);
    }
    QString name;
    QString icon;
    if (!window.isEmpty()) {
        name = RunTool(u"xprop"_s, {u"-display"_s, display, u"-id"_s, window, u"_NET_WM_NAME"_s}).trimmed();
        icon = RunTool(u"xprop"_s, {u"-display"_s, display, u"-id"_s, window, u"_NET_WM_ICON"_s});
    }
    program.kill();
    program.waitForFinished(10000);
    server.kill();
    server.waitForFinished(10000);

    ASSERT_FALSE(window.isEmpty()) << "no main window appeared on " << display.toStdString();
    EXPECT_EQ(name.toStdString(),
              QString(u"_NET_WM_NAME(UTF8_STRING) = \""_s + caption + u'"').toStdString());
    // xprop draws each size of the icon, "Icon (16 x 16):" first; "not found." without one.
    EXPECT_TRUE(icon.startsWith(u"_NET_WM_ICON(CARDINAL) = \tIcon ("_s)) << icon.left(200).toStdString();
}

} // namespace
