#include "ReportCommand.h"
#include "Startup.h"

#include "core/Messages.h"
#include "platform/DialogPresenter.h"

#include <QApplication>

#include <cstring>

int main(int argc, char *argv[])
{
    // The report command shows no window: it draws on the offscreen platform, also where no
    // display is available.
    const bool report = argc > 1 && std::strcmp(argv[1], "report") == 0;
    if (report)
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velomyra"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velomyra"));
    QApplication::setApplicationVersion(QStringLiteral(VELOMYRA_VERSION));
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
