// velomyra-cli: calculates a run without the desktop program.
#include "ArchiveCommand.h"
#include "CalcCommand.h"
#include "CliOptions.h"
#include "SummaryCommand.h"

#include "core/Exceptions.h"
#include "core/MarnovelUtils.h"
#include "core/Messages.h"
#include "core/RegionalSettings.h"
#include "core/Registry.h"
#include "core/SoftwareInfoManager.h"
#include "core/ToolConsole.h"
#include "core/UiTextManager.h"

#include <QCoreApplication>

#include <csignal>
#include <exception>

using namespace Qt::StringLiterals;

namespace {

const QString kTool = u"velomyra-cli"_s;

void WriteError(const QString &text)
{
    WriteToolError(kTool, text);
}

// The catalogue --language named; without it the program's language when the stored "Locale"
// names one of its catalogues, else English.
void LoadCatalogue(const QString &chosen)
{
    if (!chosen.isEmpty()) {
        GetTranslationManager().LoadResource(chosen);
        return;
    }
    const QString english = u"LOCALE_ENGLISH"_s;
    QString locale;
    try {
        locale = OpenRegistry()->value(u"Locale"_s).toString();
    } catch (const std::exception &) {
    }
    TTranslationManager &manager = GetTranslationManager();
    bool known = false;
    for (int i = 0; i < 8 && !known; ++i) {
        try {
            known = manager.ResourceIdOfIndex(i) == locale;
        } catch (const MarnovelException &) {
        }
    }
    if (known) {
        try {
            manager.LoadResource(locale);
            return;
        } catch (const MarnovelException &) {
        }
    }
    manager.LoadResource(english);
}

// Every byte must have reached standard output; otherwise the reason is reported and the
// command fails.
int WriteOut(const QByteArray &bytes, int status)
{
    return WriteToolOutput(kTool, bytes) ? status : EXIT_USAGE_OR_LOAD;
}

} // namespace

int main(int argc, char *argv[])
{
    // A reader that goes away (a closed pipe) is a write error with a reason, not a silent end.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"velomyra-cli"_s);
    // Model messages (for example a plate text of the wrong size) go to standard error.
    TToolErrorPresenter presenter(kTool);
    SetPresenter(&presenter);

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    QString usageError;
    const std::optional<TCliOptions> options = ParseCliArguments(arguments, usageError);
    if (!options) {
        WriteToolUsageError(kTool, usageError);
        return EXIT_USAGE_OR_LOAD;
    }

    try {
        switch (options->action) {
        case TCliOptions::TAction::Help:
            return WriteOut(CliUsageText().toUtf8(), EXIT_CALCULATED);
        case TCliOptions::TAction::Version: {
            const TSoftwareInfoManager &info = GetSoftwareInfoManager();
            return WriteOut(
                (u"velomyra-cli "_s + info.GetVersNumberStr() + u' ' + info.GetBuildNo() + u'\n').toUtf8(),
                EXIT_CALCULATED);
        }
        case TCliOptions::TAction::Calc:
        case TCliOptions::TAction::Archive:
        case TCliOptions::TAction::Summary:
            break;
        }
        LoadCatalogue(options->language);
        ReportRegionalSettingsWarnings();
        TCalcOutcome outcome;
        if (options->action == TCliOptions::TAction::Archive)
            outcome = RunArchiveCommand(*options);
        else if (options->action == TCliOptions::TAction::Summary)
            // Streams its rows: what goes to standard output is written as it comes.
            outcome = RunSummaryCommand(
                *options, [](const QByteArray &bytes) { return WriteToolOutput(kTool, bytes); }, WriteError);
        else
            outcome = RunCalcCommand(*options);
        if (!outcome.errorMessage.isEmpty())
            WriteError(outcome.errorMessage);
        // Standard output before the files are renamed: when it cannot be written, no file is.
        const int status = WriteOut(outcome.standardOutput, outcome.status);
        if (status != outcome.status)
            return status;
        const QStringList failure = CommitCalcOutputs(outcome, !outcome.standardOutput.isEmpty());
        for (const QString &line : failure)
            WriteError(line);
        if (!failure.isEmpty())
            return EXIT_USAGE_OR_LOAD;
        // Recorded after the outputs: a failure to record leaves them as written.
        if (outcome.record) {
            if (const QString reason = RecordCalculatedRun(*options, *outcome.record); !reason.isEmpty()) {
                WriteError(reason);
                return EXIT_USAGE_OR_LOAD;
            }
        }
        return status;
    } catch (const MarnovelException &error) {
        WriteError(error.Message());
    } catch (const std::exception &error) {
        WriteError(QString::fromLocal8Bit(error.what()));
    }
    return EXIT_USAGE_OR_LOAD;
}
