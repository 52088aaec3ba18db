#include "Startup.h"

#include "core/Messages.h"
#include "platform/DialogPresenter.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velomyra"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velomyra"));
    QApplication::setApplicationVersion(QStringLiteral(VELOMYRA_VERSION));

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
