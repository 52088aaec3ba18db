#pragma once

// Running the built velomyra-cli from a test, and the example files it is tried on.

#include "core/MarnovelUtils.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringEncoder>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

struct CliRun
{
    int status = -1;
    QByteArray out;
    QString err;
};

// The tool takes month names, and the number separators the settings store does not hold,
// from the system locale. It runs under the C locale unless a test names another, and so
// does this process, whose expected texts (TestSupport::Dec) must follow the same separators.
inline const bool CliTestLocalePinned = qputenv("LC_ALL", "C");

// A setup that runs the tool under another locale.
inline std::function<void(QProcess &)> UnderLocale(const QString &locale)
{
    return [locale](QProcess &process) {
        QProcessEnvironment environment = process.processEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), locale);
        process.setProcessEnvironment(environment);
    };
}

// `setup` adjusts the process before it starts (working folder, standard output, limits).
// `program` may be the tool's build whose fsync and rename fail on request
// (VELOMYRA_CLI_FAULTS_PATH, see support/SystemCallFaults.h).
inline CliRun RunCli(const QStringList &arguments, const std::function<void(QProcess &)> &setup = {},
                     const QString &program = QStringLiteral(VELOMYRA_CLI_PATH))
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    if (setup)
        setup(process);
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << arguments.join(u' ').toStdString();
    CliRun run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

inline QString Example(const char *name)
{
    return QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/") + QString::fromUtf8(name);
}

// The example run with some of its text replaced (run date, run number, an OD, ...), written
// as the program writes run files: UTF-16LE with a byte-order mark.
inline QString WriteExampleRunVariant(const QString &path,
                                      const QList<std::pair<QString, QString>> &replacements)
{
    QString text = DecodeText(ReadWholeFile(Example("run-8point.vdf")));
    for (const auto &[before, after] : replacements) {
        EXPECT_TRUE(text.contains(before)) << before.toStdString();
        text.replace(before, after);
    }
    QStringEncoder encoder(QStringConverter::Utf16LE);
    WriteFileAtomically(path, QByteArray("\xFF\xFE", 2) + QByteArray(encoder(text)));
    return path;
}

inline QStringList PlateArguments()
{
    return {QStringLiteral("calc"),        QStringLiteral("--plate"),      Example("plate-8point.txt"),
            QStringLiteral("--format"),    Example("layout-8point.vff"),   QStringLiteral("--run-date"),
            QStringLiteral("2026-12-09"),  QStringLiteral("--run-number"), QStringLiteral("1"),
            QStringLiteral("--kit-batch"), QStringLiteral("K0001"),        QStringLiteral("--operator"),
            QStringLiteral("A. Smith")};
}

// The schema validator of the Python jsonschema package: its exit status and its report.
// Runs one of the checking scripts beside the tests with Debian's python3; status -1 when it
// cannot run.
inline std::pair<int, QString> RunPythonCheck(const char *script, const QStringList &arguments)
{
    const QString python = QStringLiteral(VELOMYRA_PYTHON3);
    if (python.isEmpty())
        return {-1, QStringLiteral("no python3 found: scripts/ensure-deps.sh installs it")};
    QProcess process;
    process.start(python,
                  QStringList{QStringLiteral(VELOMYRA_SOURCE_DIR "/tests/cli/") + QString::fromUtf8(script)}
                      << arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, QStringLiteral("the check did not finish")};
    return {process.exitCode(),
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())};
}

inline std::pair<int, QString> ValidateJson(const QString &schema, const QStringList &documents)
{
    return RunPythonCheck("validate-json.py", QStringList{schema} << documents);
}

// Reads workbooks back with openpyxl and compares every number with the JSON beside them:
// `kind` "run" (calc) or "summary", `pairs` JSON file, workbook, JSON file, workbook, ...
inline std::pair<int, QString> CompareWorkbooks(const QString &kind, const QStringList &pairs)
{
    return RunPythonCheck("compare-workbook.py", QStringList{kind} << pairs);
}

class CliTest : public ::testing::Test
{
public:
    QString Path(const QString &name) const { return folder.filePath(name); }
    QString Write(const QString &name, const QByteArray &bytes) const
    {
        WriteFileAtomically(Path(name), bytes);
        return Path(name);
    }

    QTemporaryDir folder;
};
