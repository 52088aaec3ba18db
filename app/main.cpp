#include "CommandLine.h"
#include "ReportCommand.h"
#include "Startup.h"

#include "core/Messages.h"
#include "core/ToolConsole.h"
#include "platform/DialogPresenter.h"

#include <QApplication>
#include <QCoreApplication>

#include <csignal>
#include <optional>

namespace {

// The usage and the version need neither a display nor the toolkit's windows.
int WriteProgramText(int argc, char *argv[], TProgramRequest request)
{
    // A reader that goes away (a closed pipe) is a write error with a reason, not a silent end.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication application(argc, argv);
    const QString text = request == TProgramRequest::Help ? ProgramUsageText() : ProgramVersionLine() + u'\n';
    return WriteToolOutput(QStringLiteral("velomyra"), text.toUtf8()) ? 0 : ExitNoDisplay;
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const TProgramRequest request = ProgramRequestOf(arguments);
    if (request == TProgramRequest::Help || request == TProgramRequest::Version)
        return WriteProgramText(argc, argv, request);

    // The report command shows no window: it draws on the offscreen platform, also where no
    // display is available.
    const bool report = request == TProgramRequest::Report;
    if (report)
        qputenv("QT_QPA_PLATFORM", "offscreen");

    std::optional<QApplication> application;
    {
        const TDisplayStartGuard guard(NeedsDisplayText());
        application.emplace(argc, argv);
    }
    // No display name: the window system would append it to every caption.
    QApplication::setApplicationName(QStringLiteral("Velomyra"));
    QApplication::setApplicationVersion(QStringLiteral(VELOMYRA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("com.parvenox.Velomyra"));
    if (report)
        return RunReportCommand(QApplication::arguments().mid(2));

    TDialogPresenter presenter;
    SetPresenter(&presenter);
    int status = 1;
    {
        TApplicationStartup startup(QApplication::arguments().mid(1));
        status = startup.Run();
    }
    SetPresenter(nullptr);
    return status;
}
