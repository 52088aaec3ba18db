#include "ModalDialogs.h"

#include <QDialog>

namespace {

TModalRunner &Runner()
{
    static TModalRunner runner;
    return runner;
}

} // namespace

int ExecModal(QDialog &dialog)
{
    if (const TModalRunner &runner = Runner())
        return runner(dialog);
    return dialog.exec();
}

void SetModalRunner(TModalRunner runner)
{
    Runner() = std::move(runner);
}
