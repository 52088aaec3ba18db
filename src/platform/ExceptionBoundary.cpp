#include "ExceptionBoundary.h"

#include "core/Exceptions.h"
#include "core/Messages.h"
#include "core/UiTextManager.h"

#include <QString>

#include <cstdio>
#include <exception>

namespace {

// Set while the boundary's box is open: a handler that fails again while the box
// runs its own event loop (a repaint, a timer) must not stack boxes on top of it.
bool gShowing = false;

void Report(const QString &text)
{
    if (gShowing) {
        const QByteArray line = text.toUtf8() + '\n';
        std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
        return;
    }
    gShowing = true;
    // Captioned with the program's name, as every error the operator is shown.
    QString caption;
    try {
        caption = UiText(131);
    } catch (...) {
    }
    try {
        ShowCaptionedMessage(text, TMsgDlgType::mtError, TMsgDlgBtn::mbOK, caption);
    } catch (...) {
        // The presenter failed as well; the text is not lost.
        const QByteArray line = text.toUtf8() + '\n';
        std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    }
    gShowing = false;
}

} // namespace

bool RunGuarded(const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const MarnovelException &error) {
        Report(error.Message());
    } catch (const std::exception &error) {
        Report(QString::fromUtf8(error.what()));
    } catch (...) {
        Report(QStringLiteral("Unknown exception."));
    }
    return false;
}
