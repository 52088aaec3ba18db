#include "ExceptionBoundary.h"

#include "core/Exceptions.h"
#include "core/Messages.h"
#include "core/TextIds.h"
#include "core/UiTextManager.h"

#include <QString>

#include <cstdio>
#include <exception>

namespace {

// Set while the boundary's box is open: a handler that fails again while the box
// runs its own event loop (a repaint, a timer) must not stack boxes on top of it.
bool gShowing = false;

void WriteToStandardError(const QString &text)
{
    const QByteArray line = text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
}

void Report(const QString &text)
{
    if (gShowing) {
        WriteToStandardError(text);
        return;
    }
    gShowing = true;
    // Captioned with the program's name, as every error the operator is shown.
    QString caption;
    try {
        caption = UiText(TextId::ProgramName);
    } catch (...) {
    }
    try {
        ShowCaptionedMessage(text, TMsgDlgType::mtError, TMsgDlgBtn::mbOK, caption);
    } catch (...) {
        WriteToStandardError(text); // the presenter failed as well; the text is not lost
    }
    gShowing = false;
}

// Runs handler; what it raised goes to report.
bool RunReporting(const std::function<void()> &handler, void (*report)(const QString &))
{
    try {
        handler();
        return true;
    } catch (const MarnovelException &error) {
        report(error.Message());
    } catch (const std::exception &error) {
        report(QString::fromUtf8(error.what()));
    } catch (...) {
        report(QStringLiteral("Unknown exception."));
    }
    return false;
}

} // namespace

bool RunGuarded(const std::function<void()> &handler)
{
    return RunReporting(handler, Report);
}

bool RunQuietly(const std::function<void()> &handler)
{
    return RunReporting(handler, WriteToStandardError);
}
